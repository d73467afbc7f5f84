#include "viewer/qt/dm_main_out.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>

#include "editor/qt/shared/grid_dialog.h"
#include "viewer/qt/calc_desks.h"
#include "platform/qt/cursors.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"
#include "viewer/qt/calc_status.h"
#include "viewer/qt/rs_output.h"
#include "viewer/qt/view_dialogs.h"
#include "viewer/view_export.h"
#include "viewer/viewer_commands.h"

namespace tavir {

namespace {

using DM = TDM_OutMain;

// Restores the command states however a computation ends.
class BusyScope {
 public:
  explicit BusyScope(std::function<void(bool)> set) : set_(std::move(set)) { set_(true); }
  ~BusyScope() { set_(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  std::function<void(bool)> set_;
};

}  // namespace

DM::TDM_OutMain(MessageService& messages, QObject* parent) : QObject(parent), messages_(messages) {
  setObjectName("DM_OutMain");
  BuildActions();
  BuildMenus();
  LoadCursors();
  UpdateCommandStates();
}

DM::~TDM_OutMain() = default;

void DM::BuildActions() {
  registry_.SetMessages(&messages_);
  for (const ViewerCommand& c : kViewerCommands.Rows()) {
    const QString name = ToQString(c.Name);
    ActionRegistry::Handler handler;
    if (c.Handler) handler = [this, &c] { Guarded(c); };
    // The grid commands and the frame selection toggle their own check mark.
    const bool checkable = c.Rules.Checkable;
    QAction* a = registry_.Add(name, ToQString(c.Caption), handler, checkable, checkable);
    if (!c.Shortcut.empty()) {
      a->setShortcut(QKeySequence(ToQString(c.Shortcut)));
      // Also from a result window, which is a window of its own.
      a->setShortcutContext(Qt::ApplicationShortcut);
    }
    // Short button texts where the caption is long (the menus keep the caption).
    if (!c.IconText.empty()) a->setIconText(ToQString(c.IconText));
    const QString tip = ToQString(c.Caption).remove('&');
    a->setToolTip(tip);
    a->setStatusTip(tip);
  }
  // The four grid styles are grouped: one is down at a time, and choosing the one
  // that is down raises it again (each still toggles its own mark).
  auto* styles = new QActionGroup(this);
  styles->setObjectName("GridStyles");
  styles->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (const std::string_view n : kGridStyleCommands) styles->addAction(&registry_.Get(ToQString(n)));
  // The clipboard commands act on the text box that has the focus.
  auto clip = [this](const char* name, const std::function<void(QLineEdit*)>& op) {
    registry_.SetHandler(name, [op] {
      if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) op(e);
    });
  };
  clip("acEditCut", [](QLineEdit* e) { e->cut(); });
  clip("acEditCopy", [](QLineEdit* e) { e->copy(); });
  clip("acEditPaste", [](QLineEdit* e) { e->paste(); });
}

void DM::BuildMenus() {
  auto menu = [this](const char* name) {
    auto m = std::make_unique<QMenu>();
    m->setObjectName(name);
    QMenu* raw = m.get();
    menus_[name] = raw;
    ownedMenus_.push_back(std::move(m));
    return raw;
  };
  auto fill = [this](QMenu* m, std::initializer_list<const char*> names) {
    for (const char* n : names) {
      if (n == nullptr)
        m->addSeparator();
      else
        m->addAction(&registry_.Get(n));
    }
  };
  QMenu* file = menu("PupMenu_File");
  fill(file, {"acFileOpen", "acFileSave", "acFileSaveAs"});
  // A second item bound to the same command (a menu holds an action once).
  QAction* saveAs = &registry_.Get("acFileSaveAs");
  QAction* second = file->addAction(saveAs->text());
  second->setObjectName("acFileSaveAs");
  connect(second, &QAction::triggered, this, [this] { Run("acFileSaveAs"); });
  connect(saveAs, &QAction::changed, second, [saveAs, second] { second->setEnabled(saveAs->isEnabled()); });
  fill(file, {nullptr, "acFilePreview", "acFilePrint", nullptr, "acFileExport", "acFileImport", nullptr, "acFileExit"});
  QMenu* edit = menu("PupMenu_Edit");
  fill(edit, {"acEditUndo", "acEditRedo", nullptr, "acEditCopy", "acEditCut", "acEditPaste", nullptr});
  QMenu* select = edit->addMenu("Вы&делить");
  fill(select, {"AcEdit_SelectAll", "AcEdit_SelectAllElems", "AcEdit_SelectAllKnots"});
  fill(edit, {"AcEdit_ClearSelection", "AcEdit_SelectFrame"});
  QMenu* grid = menu("PupMenu_View")->addMenu("Сетка");
  fill(grid, {"AcGrid_Dot", "AcGrid_Line", "AcGrid_Cross", "AcGrid_Other", nullptr, "AcGrid_Show",
              "AcGrid_SnapToGrid", nullptr, "AcGrid_Params"});
  fill(menu("PupMenu_Calculate"), {"AcSolve_StaticCalculate", "AcSolv_Adaptation"});
  QMenu* service = menu("PupMenu_Service");
  QMenu* iso = service->addMenu("Изолинии");
  fill(iso, {"Ac_IsoLineUx", "Ac_IsoLineVy", "Ac_IsoLineWz", "Ac_IsoLineRx", "Ac_IsoLineRy", "Ac_IsoLineSx",
             "Ac_IsoLineSy", "Ac_IsoLineTxy"});
  fill(service, {"AcService_Create3D", "AcService_DrawModes", "AcService_Section", "AcService_InfoShell"});
  fill(menu("PupMenu_Window"), {"acWinNew", "acWinNext", "acWinPred", "acWinMain", nullptr, "acWinList"});
  fill(menu("PupMenu_Help"), {"acHelpProjectInfo", "acHelpAbout"});
}

void DM::LoadCursors() {
  cursors_ = std::make_unique<CursorTable>();
  cursors_->Load(kViewerCursorSlots, &messages_);
}

QCursor DM::Cursor(int slot) const { return cursors_ ? cursors_->Cursor(slot) : QCursor(Qt::ArrowCursor); }

void DM::Attach(const CalcContext& context) {
  ctx_ = context;
  if (ctx_.Desks != nullptr) {
    connect(ctx_.Desks, &CalcDesks::DeskActivated, this, [this](TDeskForm*) { UpdateCommandStates(); });
    // The view commands follow whether a shown window is left to act on.
    connect(ctx_.Desks, &CalcDesks::DeskClosed, this, [this](TDeskForm*) { UpdateCommandStates(); });
  }
  UpdateCommandStates();
}

void DM::Detach() {
  if (ctx_.Desks != nullptr) disconnect(ctx_.Desks, nullptr, this, nullptr);
  ctx_ = CalcContext{};
  UpdateCommandStates();
}

QAction* DM::Action(const QString& name) const { return registry_.Find(name); }

QStringList DM::ActionNames() const {
  QStringList names;
  for (const ViewerCommand& c : kViewerCommands.Rows()) names << ToQString(c.Name);
  return names;
}

bool DM::HasHandler(const QString& name) const { return kViewerCommands.HasHandler(name.toStdString()); }

QMenu* DM::PopupMenu(const QString& name) const {
  auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

bool DM::Run(const QString& name) {
  if (!registry_.Contains(name)) return false;
  registry_.Run(name);  // the handlers are guarded: nothing is thrown
  return true;
}

void DM::Guarded(const ViewerCommand& command) {
  // A command runs only when no computation is running (a pump may deliver a
  // click or a shortcut), nor while a dialog waits for its answer (the shortcuts
  // reach every window); the view mode is the computation's own.
  if (!command.Rules.WhileBusy && (busy_ || QApplication::activeModalWidget() != nullptr)) return;
  try {
    command.Handler(*this, command.Name);
  } catch (const std::exception& e) {
    CloseTransientWindows();
    messages_.Error(e.what());
  } catch (...) {
    CloseTransientWindows();
    messages_.Error("Неизвестная ошибка.");
  }
  UpdateCommandStates();
}

void DM::CloseTransientWindows() {
  // A status window or progress box left by a failed command goes with it.
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && (qobject_cast<TStatusForm*>(w) != nullptr || w->objectName() == "InfoDlgForm")) w->hide();
}

void DM::SetBusy(bool busy) {
  // The commands are switched off by the registry's BusyGuard; this keeps handlers
  // run by name and the desks' gestures out as well.
  busy_ = busy;
  if (ctx_.Desks != nullptr) {
    ctx_.Desks->SetInputEnabled(!busy);
    ctx_.Desks->SetRepaintsDeferred(busy);
  }
}

void DM::UpdateCommandStates() {
  ViewerCommandStatus state;
  if (ctx_.Project != nullptr && ctx_.Windows != nullptr) state = ViewerCommandState(*ctx_.Project, *ctx_.Windows);
  state.Busy = state.Busy || busy_;
  const bool attached = ctx_.Project != nullptr;
  for (QAction* action : registry_.Actions()) {
    const QString name = action->objectName();
    // Without the project (before the main form, after it) no handler can act.
    action->setEnabled(!busy_ && (attached || !HasHandler(name)) && ViewerCommandEnabled(name.toStdString(), state));
  }
}

void DM::SyncGridActions(const TGrid& grid) {
  const GridActionFlags c = GridActionChecks(grid);
  registry_.SetChecked("AcGrid_Show", c.Show);
  registry_.SetChecked("AcGrid_SnapToGrid", c.Snap);
  if (c.Styles)
    for (std::size_t i = 0; i < kGridStyleCommands.size(); ++i)
      registry_.SetChecked(ToQString(kGridStyleCommands[i]), (*c.Styles)[i]);
}

QWidget* DM::DialogParent() const { return ctx_.MainForm; }

// ---- file ----

void DM::acFileOpenExecute() {
  if (ctx_.Project == nullptr) return;
  struct CaptionOnExit {
    TRSFormOut* form;
    ~CaptionOnExit() {
      if (form != nullptr) form->UpdateCaption();
    }
  } caption{ctx_.MainForm};
  QFileDialog dialog(DialogParent(), "Открыть");
  dialog.setObjectName("OpenDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // The filter text is "caption|patterns|caption|patterns...": Qt shows the captions.
  const QStringList parts = QString::fromUtf8(kOpenDialogFilter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(kOpenFilterIndex - 1));
  dialog.setDefaultSuffix(kOpenDefaultExtension);
  if (DialogRunner::Run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenCommand(*ctx_.Project, dialog.selectedFiles().front().toStdString(), messages_);
}

void DM::acFileExportExecute() {
  if (ctx_.Windows == nullptr || ctx_.Windows->CurrentWindow() == nullptr || ctx_.Scene == nullptr) return;
  QFileDialog dialog(DialogParent(), kExportDialogTitle);
  dialog.setObjectName("ExportDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({"Метафайл (*.wmf)", "All Files (*.*)"});
  dialog.setDefaultSuffix(kExportDefaultExtension);
  if (DialogRunner::Run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  ExportCurrentView(dialog.selectedFiles().front().toStdString(), *ctx_.Windows, *ctx_.Scene, messages_);
}

// ---- computations ----

void DM::AcSolve_StaticCalculateExecute() {
  if (ctx_.Project == nullptr || ctx_.Project->IsBusy()) return;
  const BusyGuard commandsOff(registry_);
  BusyScope busy([this](bool b) { SetBusy(b); });
  ctx_.Project->SetBreakFlag(false);
  CalcStatusWindow status(*ctx_.Project, BreakMode::Anywhere, DialogParent(), &statusSeam_);
  ctx_.Project->StaticCalculate(status);
}

void DM::AcSolv_AdaptationExecute() {
  if (ctx_.Project == nullptr || ctx_.Project->IsBusy()) return;
  const BusyGuard commandsOff(registry_);
  BusyScope busy([this](bool b) { SetBusy(b); });
  ctx_.Project->SetBreakFlag(false);
  AdaptParamsByDialog dialog(messages_, DialogParent());
  CalcStatusWindow status(*ctx_.Project, BreakMode::AfterIteration, DialogParent(), &statusSeam_);
  ctx_.Project->Adaptation(dialog, status);
}

// ---- isolines ----

void DM::Isolines(const char* action) {
  if (ctx_.Project == nullptr || ctx_.Windows == nullptr) return;
  const auto kind = IsoKindOfAction(action);
  if (!kind) return;
  IsoParamsByDialog isoDialog(DialogParent());
  StressPosByDialog stressDialog(DialogParent());
  IsoLinesCommand(*ctx_.Project, *ctx_.Windows, *kind, isoDialog, stressDialog);
}

void DM::Ac_IsoLineUxExecute() { Isolines("Ac_IsoLineUx"); }
void DM::Ac_IsoLineVyExecute() { Isolines("Ac_IsoLineVy"); }
void DM::Ac_IsoLineWzExecute() { Isolines("Ac_IsoLineWz"); }
void DM::Ac_IsoLineRxExecute() { Isolines("Ac_IsoLineRx"); }
void DM::Ac_IsoLineRyExecute() { Isolines("Ac_IsoLineRy"); }
void DM::Ac_IsoLineSxExecute() { Isolines("Ac_IsoLineSx"); }
void DM::Ac_IsoLineSyExecute() { Isolines("Ac_IsoLineSy"); }
void DM::Ac_IsoLineTxyExecute() { Isolines("Ac_IsoLineTxy"); }

// ---- service ----

void DM::AcService_DrawModesExecute() {
  if (ctx_.Project == nullptr || ctx_.Windows == nullptr) return;
  DrawModesByDialog dialog(DialogParent());
  DrawModesCommand(*ctx_.Project, *ctx_.Windows, dialog);
}

void DM::AcService_SectionExecute() {
  if (ctx_.Project == nullptr || ctx_.Windows == nullptr) return;
  MouseModeCommand(*ctx_.Project, *ctx_.Windows, MouseMode::SectionLine);
}

void DM::acWinNewExecute() {
  if (ctx_.Project == nullptr || ctx_.Windows == nullptr) return;
  MouseModeCommand(*ctx_.Project, *ctx_.Windows, MouseMode::NewWindow);
}

void DM::AcVMode_ViewerExecute() {
  if (ctx_.Project == nullptr || ctx_.Windows == nullptr) return;
  MouseModeCommand(*ctx_.Project, *ctx_.Windows, MouseMode::View);
}

void DM::AcService_Create3DExecute() {
  if (ctx_.Windows == nullptr) return;
  Create3DViewCommand(*ctx_.Windows);
}

void DM::AcService_InfoShellExecute() {
  if (ctx_.Project == nullptr) return;
  if (const auto text = ShellInfoText(ctx_.Project->ShellsFuncs()))
    messages_.Show(MsgKind::Plain, kCalcAppTitle, *text, MsgButtons::Ok);
}

// ---- grid ----

namespace {

class GridParamsByDialog : public GridParamsDialog {
 public:
  GridParamsByDialog(MessageService& messages, QWidget* parent) : messages_(messages), parent_(parent) {}
  bool Execute(TGrid& grid, const TFloatPoint3D& minPoint, const TFloatPoint3D& maxPoint,
               Projection projection) override {
    return EditGrid(grid, minPoint, maxPoint, projection, messages_, parent_);
  }

 private:
  MessageService& messages_;
  QWidget* parent_;
};

class ScaleByDialog : public ScaleDialog {
 public:
  ScaleByDialog(MessageService& messages, QWidget* parent) : messages_(messages), parent_(parent) {}
  std::optional<Extended> Execute() override {
    TScaleForm form(messages_, parent_);
    if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
    return form.Value();
  }

 private:
  MessageService& messages_;
  QWidget* parent_;
};

}  // namespace

void DM::AcGrid_ParamsExecute() {
  if (ctx_.Windows == nullptr) return;
  GridParamsByDialog dialog(messages_, DialogParent());
  GridParamsCommand(*ctx_.Windows, dialog);
}

void DM::AcGrid_DotExecute() { GridStyle(0); }
void DM::AcGrid_CrossExecute() { GridStyle(1); }
void DM::AcGrid_LineExecute() { GridStyle(2); }
void DM::AcGrid_OtherExecute() { GridStyle(3); }

void DM::GridStyle(std::uint8_t style) {
  if (ctx_.Windows != nullptr) GridStyleCommand(*ctx_.Windows, style);
}

void DM::AcGrid_ShowExecute() {
  if (ctx_.Windows != nullptr) GridShowCommand(*ctx_.Windows, registry_.IsChecked("AcGrid_Show"));
}

void DM::AcGrid_SnapToGridExecute() {
  if (ctx_.Windows != nullptr) GridSnapCommand(*ctx_.Windows, registry_.IsChecked("AcGrid_SnapToGrid"));
}

// ---- scaling ----

void DM::acViewZoomInExecute() {
  if (ctx_.Windows != nullptr) ZoomCommand(*ctx_.Windows, 2);
}

void DM::acViewZoomOutExecute() {
  if (ctx_.Windows != nullptr) ZoomCommand(*ctx_.Windows, -2);
}

void DM::acViewScaleExecute() {
  if (ctx_.Windows == nullptr) return;
  ScaleByDialog dialog(messages_, DialogParent());
  ScaleCommand(*ctx_.Windows, dialog);
}

void DM::acViewActualExecute() {
  if (ctx_.Windows != nullptr) ActualSizeCommand(*ctx_.Windows);
}

}  // namespace tavir
