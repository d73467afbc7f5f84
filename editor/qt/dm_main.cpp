#include "editor/qt/dm_main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <filesystem>

#include "editor/qt/edit_desk_form.h"
#include "editor/qt/editor_forms.h"
#include "editor/qt/rs_main.h"
#include "editor/qt/shared/grid_dialog.h"
#include "model/symbols.h"
#include "platform/qt/cursors.h"
#include "platform/qt/desk_picture.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/info_dlg.h"
#include "platform/qt/qt_canvas.h"

namespace tavir {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

// Tool tip and status text of the commands whose hint says more than the caption.
const std::map<std::string_view, const char*> kHints = {
    {"acFileNew", "Новый|Создать новый файл"},
    {"acFileOpen", "Открыть|Открыть существующий файл"},
    {"acFileSave", "Сохранить|Сохранить текущий файл"},
    {"acFileSaveAs", "Сохранить как|Сохранить файл под новым именем"},
    {"acFilePrint", "Печать|Напечатать изображение текущего окна"},
    {"acFileExit", "Выход|Завершить работу программы"},
    {"acEditDelete", "Удалить|Удалить выделенные элементы"},
    {"acModeEdit", "Редактирование|Выбор и редактирование элементов"},
    {"acModeKnot", "По узлам|Ввод элементов по узлам"},
    {"acModeNet", "По сетке|Ввод элементов по сетке"},
    {"acModeFrame", "Рамкой|Разбиение области рамкой на элементы"},
    {"acInput_Rest", "Опоры|Установка опор в узлах"},
    {"acForceConcentrate", "Сосредоточенная нагрузка|Задать нагрузку в узлах"},
    {"acForceDispersion", "Распределенная нагрузка|Задать нагрузку на элементы"},
    {"acServiceOptimize", "Оптимизация|Оптимизация ширины ленты"},
    {"acWinNew", "Новое окно|Выделить рамкой область нового окна"},
};

std::string Plain(std::string_view caption) {
  std::string s;
  for (char c : caption)
    if (c != '&') s += c;
  return s;
}

// The two-bar progress box of a long operation.
class ProgressBox : public TwoBarProgress {
 public:
  explicit ProgressBox(QWidget* parent) : box_(parent) {
    box_.setObjectName("InfoDlgForm");
    box_.ShowModeless();
  }
  ~ProgressBox() override { box_.hide(); }
  void SetCurrentLabel(const std::string& text) override { box_.SetCurrentCaption(QString::fromStdString(text)); }
  void SetTotalLabel(const std::string& text) override { box_.SetTotalCaption(QString::fromStdString(text)); }
  void SetRanges(int currentMax, int totalMax) override {
    current_ = 0, total_ = 0, currentMax_ = currentMax, totalMax_ = totalMax;
    box_.SetBar(0, currentMax);
    box_.SetBar2(0, totalMax);
  }
  void StepCurrent() override { box_.SetBar(++current_, currentMax_); }
  void ResetCurrent() override { box_.SetBar(current_ = 0, currentMax_); }
  void StepTotal() override { box_.SetBar2(++total_, totalMax_); }

 private:
  TInfoDlgForm box_;
  long long current_ = 0, total_ = 0, currentMax_ = 100, totalMax_ = 100;
};

}  // namespace

TDM_Main::TDM_Main(TRSForm& mainForm, ModelDialogs& modelDialogs, EditorDialogs& editorDialogs,
                   MessageService& messages, const ImageProvider* images, QObject* parent)
    : QObject(parent),
      main_(mainForm),
      modelDialogs_(modelDialogs),
      editorDialogs_(editorDialogs),
      messages_(messages),
      registry_(this) {
  setObjectName("DM_Main");
  ExitProgram = [] { QCoreApplication::exit(0); };
  registry_.SetMessages(&messages_);
  const CursorTable* cursors = &mainForm.Cursors();
  images_ = images;
  desks_ = std::make_unique<EditDesks>(*this, images, [cursors](int slot) { return cursors->Cursor(slot); });
  desks_->SetMainForm(&mainForm);
  PixelSize screen{1024, 768};
  if (const QScreen* s = QGuiApplication::primaryScreen()) screen = PixelSize{s->size().width(), s->size().height()};
  commands_ = std::make_unique<EditorCommands>(mainForm.Supervisor(), mainForm.Project(), *this, *desks_,
                                                modelDialogs_, messages_, screen);
  desks_->Attach(commands_.get());
  BuildActions();
  autoSaveTimer_.setObjectName("AutoSaveTimer");
  connect(&autoSaveTimer_, &QTimer::timeout, this, &TDM_Main::AutoSaveTick);
}

TDM_Main::~TDM_Main() {
  // The window collection goes first, then the desks it leaves.
  if (forcesForm_) delete forcesForm_.data();
  commands_.reset();
  desks_.reset();
}

void TDM_Main::BuildActions() {
  for (const ActionInfo& info : EditorActions()) {
    const QString name = Q(info.Name);
    const auto* command = EditorCommands::Table().Find(info.Name);
    const bool checkable = command != nullptr && command->Rules.Checkable;
    ActionRegistry::Handler handler;
    if (info.Kind == ActionKind::Handler)
      handler = [this, name] { RunGuarded(name); };
    else if (info.Kind == ActionKind::Clipboard)
      handler = [this, name] { Clipboard(name); };
    QAction* a = registry_.Add(name, Q(info.Caption), handler, checkable, false);
    if (!info.Shortcut.empty()) {
      a->setShortcut(QKeySequence(Q(info.Shortcut)));
      // The desks are windows of their own: a key pressed on any of them counts.
      a->setShortcutContext(Qt::ApplicationShortcut);
    }
    const auto hint = kHints.find(info.Name);
    const QString text = hint != kHints.end() ? QString::fromUtf8(hint->second)
                                              : Q(Plain(info.Caption)) + "|" + Q(Plain(info.Caption));
    a->setToolTip(text.section('|', 0, 0));
    a->setStatusTip(text.section('|', 1));
  }
}

QMenu* TDM_Main::PopupMenu(const QString& name) const {
  const auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

QWidget* TDM_Main::DialogParent() const {
  if (TMainDesk* d = CurrentDesk(); d != nullptr && d->isVisible()) return d;
  return &main_;
}

TMainDesk* TDM_Main::DeskOf(int windowIndex) const {
  const TEditorWindow* w = commands_->Windows().Find(windowIndex);
  return w != nullptr ? desks_->Desk(w->WorkDesk()) : nullptr;
}

TMainDesk* TDM_Main::CurrentDesk() const { return DeskOf(main_.Supervisor().CurrentWindow); }

bool TDM_Main::Run(const QString& name) {
  const ActionInfo* info = FindEditorAction(name.toStdString());
  if (info == nullptr) return false;
  registry_.Run(name);
  return true;
}

void TDM_Main::AsCommand(const std::function<void()>& body) {
  ++commandDepth_;
  try {
    body();
  } catch (const std::exception& e) {
    messages_.Error(e.what());
  }
  --commandDepth_;
  ApplyState();
}

void TDM_Main::RunGuarded(const QString& name) {
  AsCommand([&] { commands_->Run(name.toStdString()); });
  SyncAutoSave();
}

bool TDM_Main::ConfirmClose() {
  bool allowed = false;
  AsCommand([&] { allowed = commands_->ConfirmDropProject(); });
  return allowed;
}

// ---- autosave ----

namespace {
// A tick that finds the user busy tries again after this part of a minute.
constexpr int kAutoSaveRetryParts = 12;
}  // namespace

void TDM_Main::SetAutoSaveMinute(std::chrono::milliseconds minute) {
  autoSaveMinute_ = std::max(minute, std::chrono::milliseconds(1));
  autoSaveInterval_ = std::chrono::milliseconds(0);
  SyncAutoSave();
}

void TDM_Main::SyncAutoSave() {
  const TBCDataEditor& options = main_.Supervisor().Options;
  if (options.AutoSave == 0) {
    autoSaveTimer_.stop();
    autoSaveInterval_ = std::chrono::milliseconds(0);
    return;
  }
  const std::chrono::milliseconds interval = autoSaveMinute_ * std::max<std::int32_t>(1, options.AutoSaveInterval);
  if (interval == autoSaveInterval_ && autoSaveTimer_.isActive()) return;
  autoSaveInterval_ = interval;
  autoSaveTimer_.start(interval);
}

bool TDM_Main::AutoSaveBlocked() const {
  if (commandDepth_ > 0 || DialogRunner::Running() > 0 || QApplication::activeModalWidget() != nullptr) return true;
  for (TMainDesk* desk : desks_->All())
    if (desk->Logic().ActiveMode() != nullptr) return true;
  return false;
}

void TDM_Main::AutoSaveTick() {
  if (AutoSaveBlocked()) {
    autoSaveTimer_.start(std::max(std::chrono::milliseconds(1), autoSaveMinute_ / kAutoSaveRetryParts));
    return;
  }
  if (autoSaveInterval_.count() > 0 && autoSaveTimer_.intervalAsDuration() != autoSaveInterval_)
    autoSaveTimer_.start(autoSaveInterval_);
  std::string failure;
  AutoSaveResult result = AutoSaveResult::Nothing;
  try {
    result = commands_->AutoSave(failure);
  } catch (const std::exception& e) {
    result = AutoSaveResult::Failed;
    failure = e.what();
  }
  if (result == AutoSaveResult::Failed) {
    // Not a box every few minutes: the status bars say it once.
    if (!autoSaveFailureShown_) ShowAutoSaveNotice(QString::fromStdString(failure));
    autoSaveFailureShown_ = true;
    return;
  }
  if (autoSaveFailureShown_) ShowAutoSaveNotice(QString());
  autoSaveFailureShown_ = false;
}

void TDM_Main::ShowAutoSaveNotice(const QString& text) {
  for (TMainDesk* desk : desks_->All()) desk->SetNotice(text);
}

void TDM_Main::ApplyState() {
  const CommandSetState& state = commands_->State();
  for (const auto& [name, s] : state.Actions()) {
    QAction* a = registry_.Find(QString::fromStdString(name));
    if (a == nullptr) continue;
    if (a->isEnabled() != s.Enabled) a->setEnabled(s.Enabled);
    if (s.Checked && !a->isCheckable()) a->setCheckable(true);
    if (a->isCheckable() && a->isChecked() != s.Checked) a->setChecked(s.Checked);
  }
  main_.ApplyState(state, registry_.Find(QString::fromStdString(commands_->RestButtonAction())));
}

// ---- the forms' side of the commands ----

void TDM_Main::SetMainCaption(const std::string& caption) { main_.setWindowTitle(QString::fromStdString(caption)); }

std::optional<NewTaskAnswer> TDM_Main::NewTaskDialog(const TBCTask& task, const TFloatPoint3D& first,
                                                     const TFloatPoint3D& second) {
  return RunNewTaskDialog(task, first, second, messages_, &main_);
}

namespace {
const QStringList kProjectFilters = {"All Files (*.*)", "Файл проекта \"Тавир\" (*.tps)"};

std::optional<std::string> RunFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilters(kProjectFilters);
  dialog.selectNameFilter(kProjectFilters[1]);
  dialog.setDefaultSuffix("tps");
  if (DialogRunner::Run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}
}  // namespace

std::optional<std::string> TDM_Main::AskOpenFileName() {
  QFileDialog dialog(&main_, "Открыть");
  dialog.setObjectName("OpenDialog");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunFileDialog(dialog);
}

std::optional<std::string> TDM_Main::AskSaveFileName() {
  QFileDialog dialog(&main_, "Сохранить как");
  dialog.setObjectName("SaveDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The replace question is the command's own.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  return RunFileDialog(dialog);
}

bool TDM_Main::FileExists(const std::string& fileName) {
  std::error_code ec;
  return std::filesystem::exists(fileName, ec);
}

Canvas* TDM_Main::WindowCanvas(int index) {
  TMainDesk* desk = DeskOf(index);
  return desk != nullptr ? &desk->DrawingCanvas() : nullptr;
}

void TDM_Main::RepaintWindow(int index) {
  if (TMainDesk* desk = DeskOf(index)) desk->Repaint();
}

bool TDM_Main::LoadDialogOpen() const { return !forcesForm_.isNull(); }

void TDM_Main::ShowLoadDialog(const TForceRecord& force) {
  if (!forcesForm_) {
    forcesForm_ = new TForcesForm(&main_);
    forcesForm_->setAttribute(Qt::WA_DeleteOnClose, false);
    forcesForm_->Apply = [this](const TForceRecord& f) {
      try {
        commands_->LoadDialogApplied(f);
      } catch (const std::exception& e) {
        messages_.Error(e.what());
      }
      ApplyState();
    };
  }
  forcesForm_->SetForce(force);
  forcesForm_->show();
  forcesForm_->raise();
}

void TDM_Main::CloseLoadDialog() {
  if (!forcesForm_) return;
  TForcesForm* form = forcesForm_.data();
  forcesForm_.clear();
  form->hide();
  // Freed once its own handlers (an Apply in progress) have returned.
  form->deleteLater();
}

void TDM_Main::EnableLoadDialogButtons(bool enabled) {
  if (forcesForm_) forcesForm_->EnableApply(enabled);
}

std::optional<SupportAnswer> TDM_Main::SupportDialog(const TFixation& fixation, std::int32_t direction) {
  return RunSupportDialog(fixation, direction, DialogParent());
}

std::unique_ptr<TwoBarProgress> TDM_Main::OpenProgressBox() { return std::make_unique<ProgressBox>(&main_); }

bool TDM_Main::CloseProgram() { return main_.close(); }

// ---- handlers ----

std::optional<SettingsAnswer> TDM_Main::SettingsDialog(const TBCDataEditor& options, const TBCTask& task) {
  // The settings command runs the chosen level's preset itself once the dialog has
  // returned OK.
  return editorDialogs_.ProgramSettings(options, task, nullptr);
}

std::optional<TGrid> TDM_Main::GridDialog(const TGrid& grid, const TFloatPoint3D& minCorner,
                                          const TFloatPoint3D& maxCorner, Projection projection) {
  TGrid edited;
  edited.Assign(grid);
  if (!EditGrid(edited, minCorner, maxCorner, projection, messages_, DialogParent())) return std::nullopt;
  return edited;
}

std::optional<std::array<bool, kEditorBarCount>> TDM_Main::PanelsDialog(
    const std::array<bool, kEditorBarCount>& visible) {
  TPDlg_ToolBox dlg(visible, &main_);
  if (DialogRunner::Run(dlg) != QDialog::Accepted) return std::nullopt;
  std::array<bool, kEditorBarCount> stored{};
  for (int i = 0; i < kEditorBarCount; ++i) stored[static_cast<std::size_t>(i)] = dlg.GetPanelVisible(i);
  return stored;
}

bool TDM_Main::ToggleStatusBar(int index) {
  TMainDesk* desk = DeskOf(index);
  if (desk == nullptr) return false;
  const bool visible = desk->StatusBar()->isHidden();
  desk->StatusBar()->setVisible(visible);
  return visible;
}

bool TDM_Main::StatusBarVisible(int index) const {
  const TMainDesk* desk = DeskOf(index);
  return desk != nullptr && !desk->StatusBar()->isHidden();
}

void TDM_Main::ShowProjectInfo(const ProjectInfo& info) {
  TInfoForm form(&main_);
  form.Lbl_NumNodes->setText(QString::number(info.Knots));
  form.Lbl_NumElems->setText(QString::number(info.Elements));
  form.Lbl_ProjFileName->setText(QString::fromStdString(info.FileName));
  form.ShowTask(main_.Supervisor().Task);
  DialogRunner::Run(form);
}

void TDM_Main::ShowDialog(std::string_view action) {
  if (action == "acHelpAbout") {
    TAboutBox box(&main_);
    DialogRunner::Run(box);
  } else if (action == "acWinList") {
    editorDialogs_.WindowList(*commands_);
  } else if (action == "acFilePrint") {
    PrintCurrentWindow();
  }
}

void TDM_Main::PrintCurrentWindow() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, &main_);
  dialog.setObjectName("PrintDialogMain");
  if (DialogRunner::Run(dialog) != QDialog::Accepted) return;
  const int index = main_.Supervisor().CurrentWindow;
  TMainDesk* desk = DeskOf(index);
  const TEditorWindow* window = commands_->Windows().Find(index);
  if (desk == nullptr || window == nullptr) return;
  // The whole picture of the window, drawn as the desk draws it, tile by tile: the
  // picture can be far larger than any buffer we may allocate.
  const QSize picture(std::max(1, window->WorkWindow.Width), std::max(1, window->WorkWindow.Height));
  constexpr int kPrintTile = 1024;
  BuiltInImageCanvas canvas(QSize(1, 1), images_, &DrawBuiltInSymbol);
  // A picture that cannot be drawn prints nothing (no printer job is begun).
  if (const std::optional<std::string> failure = desk->Logic().Repaint(canvas)) {
    messages_.Error(*failure);
    return;
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    messages_.Error("Не удалось начать печать");
    return;
  }
  const QRect page = painter.viewport();
  QSize size = picture;
  size.scale(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(page.x(), page.y(), size.width(), size.height());
  painter.setWindow(QRect(QPoint(0, 0), picture));
  for (const QRect& tile : PictureTiles(picture, kPrintTile)) {
    canvas.Resize(tile.size());
    canvas.SetOrigin({tile.x(), tile.y()});
    if (const std::optional<std::string> failure = desk->Logic().Repaint(canvas)) {
      painter.end();
      messages_.Error(*failure);
      return;
    }
    painter.drawImage(tile.topLeft(), canvas.Image());
  }
  painter.end();
}

void TDM_Main::Clipboard(const QString& name) {
  QWidget* w = QApplication::focusWidget();
  auto act = [&name](auto* edit) {
    if (name == "acEditCut") edit->cut();
    else if (name == "acEditCopy") edit->copy();
    else edit->paste();
  };
  if (auto* line = qobject_cast<QLineEdit*>(w)) act(line);
  else if (auto* text = qobject_cast<QTextEdit*>(w)) act(text);
  else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) act(plain);
}

// ---- desks ----

void TDM_Main::DeskActivated(TMainDesk& /*desk*/) { ApplyState(); }

void TDM_Main::DeskFailure(const std::string& text) { messages_.Error(text); }

}  // namespace tavir
