#include "viewer/qt/rs_output.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "platform/qt/info_dlg.h"
#include "platform/qt/window_place.h"
#include "viewer/qt/calc_desks.h"
#include "viewer/qt/dm_main_out.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_links.h"

namespace tavir {

// What the analysis project asks of the program: the views' part is the plain
// code's, running commands by name and the grid check marks the command module's.
class CalcHooks : public ResultViewsHooks {
 public:
  CalcHooks(TGraphWindows& windows, ViewerScene& scene, TDM_OutMain& commands)
      : ResultViewsHooks(windows, scene), commands_(commands) {}
  void RunAction(const std::string& name) override { commands_.Run(QString::fromStdString(name)); }
  void WindowLoaded(const AnalysisWindowData& window) override {
    ResultViewsHooks::WindowLoaded(window);
    // View 0 is the current view now: the grid commands show its grid at once,
    // not only when its window is activated.
    if (const TGraphWindow* view = Windows().CurrentWindow()) commands_.SyncGridActions(view->Grid());
    commands_.UpdateCommandStates();
  }
  void SyncGridActions(const TGrid& grid) override { commands_.SyncGridActions(grid); }

 private:
  TDM_OutMain& commands_;
};

// The two-bar box of one preparation: the program's box while it lives, or a box
// of its own.
class CalcProgressBoxes : public ProgressBoxOpener {
 public:
  std::unique_ptr<ProgressObserver> OpenProgressBox() override {
    if (global_ != nullptr) return std::make_unique<Lease>(*global_);
    auto box = std::make_unique<TInfoDlgForm>();
    box->setObjectName("InfoDlgForm");
    box->ShowModeless(true);
    return box;
  }
  TInfoDlgForm* global_ = nullptr;

 private:
  // Forwards to the shared box and hides it at the end.
  class Lease : public ProgressObserver {
   public:
    explicit Lease(TInfoDlgForm& box) : box_(box) { box_.ShowModeless(true); }
    ~Lease() override { box_.hide(); }
    void SetBar(long long p, long long m) override { box_.SetBar(p, m); }
    void SetLabel(const std::string& t) override { box_.SetLabel(t); }
    void SetBar2(long long p, long long m) override { box_.SetBar2(p, m); }
    void SetLabel2(const std::string& t) override { box_.SetLabel2(t); }
    void Pump() override { box_.Pump(); }

   private:
    TInfoDlgForm& box_;
  };
};

namespace {

PixelSize ScreenSize() {
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QSize z = s->size();
    return PixelSize{z.width(), z.height()};
  }
  return PixelSize{1024, 768};
}

}  // namespace

TRSFormOut::TRSFormOut(TDM_OutMain& commands, MessageService& messages, const ImageProvider* images, QWidget* parent)
    : QMainWindow(parent), commands_(commands), messages_(messages) {
  setObjectName("RSFormOut");
  setWindowTitle(kCalcMainCaption);
  desks_ = std::make_unique<CalcDesks>(messages, images, [&commands](int slot) { return commands.Cursor(slot); });
  desks_->SetMainForm(this);
  windows_ = std::make_unique<TGraphWindows>(ScreenSize(), desks_.get());
  project_ = std::make_unique<TViewerProject>(messages);
  scene_ = std::make_unique<ViewerScene>(*project_, *windows_, [&commands] { commands.Run(kViewerModeAction); });
  hooks_ = std::make_unique<CalcHooks>(*windows_, *scene_, commands);
  project_->SetHooks(hooks_.get());
  boxes_ = std::make_unique<CalcProgressBoxes>();
  project_->SetProgressBoxes(boxes_.get());
  desks_->Attach(*windows_, *scene_, *scene_);
  BuildToolBars();
  commands_.Attach(CalcContext{project_.get(), windows_.get(), scene_.get(), desks_.get(), this});
}

TRSFormOut::~TRSFormOut() {
  commands_.Detach();
  desks_->HideAll();
  project_.reset();
  windows_.reset();
  hooks_.reset();
  scene_.reset();
  desks_.reset();
}

QToolBar* TRSFormOut::AddBar(const char* name, const char* caption) {
  auto* bar = new QToolBar(QString::fromUtf8(caption), this);
  bar->setObjectName(name);
  bar->setMovable(true);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  addToolBar(Qt::TopToolBarArea, bar);
  return bar;
}

void TRSFormOut::BuildToolBars() {
  auto add = [this](QToolBar* bar, std::initializer_list<const char*> names) {
    for (const char* n : names) {
      if (n == nullptr) {
        bar->addSeparator();
        continue;
      }
      bar->addAction(commands_.Action(n));
    }
  };
  add(AddBar("ToolBar_Standard", "Стандартная"),
      {"acFileOpen", "acFileSave", "acFilePrint", nullptr, "acEditCopy", "acEditCut", "acEditPaste", nullptr,
       "acFileExport"});
  QToolBar* menus = AddBar("ToolBar_MainMenu", "Главное меню");
  const std::pair<const char*, const char*> buttons[] = {
      {"Файл", "PupMenu_File"},        {"Правка", "PupMenu_Edit"},   {"Вид", "PupMenu_View"},
      {"Расчет", "PupMenu_Calculate"}, {"Сервис", "PupMenu_Service"}, {"Окно", "PupMenu_Window"},
      {"Справка", "PupMenu_Help"}};
  for (const auto& [caption, menu] : buttons) {
    auto* b = new QToolButton(menus);
    b->setObjectName(QString("ToolButton_") + QString(menu).mid(8));
    b->setText(QString::fromUtf8(caption));
    b->setMenu(commands_.PopupMenu(menu));
    b->setPopupMode(QToolButton::InstantPopup);
    menus->addWidget(b);
  }
  // Text buttons are wide: the strip holds the bars in two rows.
  addToolBarBreak(Qt::TopToolBarArea);
  add(AddBar("ToolBar_Solving", "Расчет проекта"), {"AcSolve_StaticCalculate", "AcSolv_Adaptation"});
  add(AddBar("ToolBar_Grid", "Сетка"),
      {"AcGrid_Dot", "AcGrid_Cross", "AcGrid_Line", "AcGrid_Other", nullptr, "AcGrid_Show", "AcGrid_SnapToGrid"});
  add(AddBar("ToolBar_IsoLines", "Изолинии"),
      {"Ac_IsoLineUx", "Ac_IsoLineVy", "Ac_IsoLineWz", "Ac_IsoLineSx", "Ac_IsoLineSy", "Ac_IsoLineTxy", nullptr,
       "AcService_Section", "AcService_Create3D"});
  add(AddBar("ToolBar_Scaling", "Масштабирование"),
      {"acViewZoomIn", "acViewZoomOut", "acViewActual", "acViewScale"});
}

void TRSFormOut::SetInfoDlg(TInfoDlgForm* box) { boxes_->global_ = box; }

void TRSFormOut::UpdateCaption() {
  setWindowTitle(QString::fromStdString(MainFormCaption(project_->FileName())));
}

void TRSFormOut::ShowAsStrip() {
  FramePlacement::Place(*this, StandAsTopStrip);
  show();
  FitToBars();
}

void TRSFormOut::FitToBars() {
  // The main window is exactly its strip of tool bars.
  int bottom = 0;
  for (QToolBar* bar : findChildren<QToolBar*>())
    if (bar->isVisible()) bottom = std::max(bottom, bar->geometry().bottom() + 1);
  if (bottom > 0 && height() != bottom) resize(width(), bottom);
}

void TRSFormOut::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FitToBars();
}

void TRSFormOut::closeEvent(QCloseEvent* event) {
  // While a computation runs, closing the program asks it to stop first.
  if (project_->IsBusy() || commands_.Busy()) {
    project_->SetBreakFlag(true);
    event->ignore();
    return;
  }
  desks_->HideAll();
  QMainWindow::closeEvent(event);
}

}  // namespace tavir
