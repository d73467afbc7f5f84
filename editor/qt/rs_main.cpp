// The cursor slots first: the editor declares a function of the same name.
#include "platform/qt/cursors.h"
// (keep above)
#include "editor/qt/rs_main.h"

#include <QCloseEvent>
#include <QLayout>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <initializer_list>

#include "editor/qt/dm_main.h"

namespace tavir {

namespace {

// The buttons of the bars 1..10 (nullptr: a separator).
using Buttons = std::initializer_list<const char*>;

const Buttons kBarButtons[kEditorBarCount] = {
    {},
    {"acFileNew", "acFileOpen", "acFileSave", nullptr, "acFilePrint", "acFilePreview", nullptr, "acEditCut",
     "acEditCopy", "acEditPaste", nullptr, "acEditUndo", "acEditRedo", nullptr, "acEditDelete",
     "acForceConcentrate", "acForceDispersion", "acDisplacement"},
    {"acModeEdit", "AcEdit_SelectFrame", "acModeKnot", "acModeNet", "acModeFrame", "acInput_Rest",
     "acEditor_SetSurface"},
    {"acNetDot", "acNetCross", "acNetLine", "acNetOther", "acModeShowGrid", "acModeSnapGrid"},
    {"ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod"},
    {"ac3DCube", "ac3DTetra", "ac3DRod", "acPlaneTriangle", "acPlaneRectangle", "acPlaneRod"},
    {"acInsertBookmark", "acInsertLine", "acInsertPicture", "acInsertPattern", "acInsertRegion", "acEditorCreate",
     "acEditorEdit", "acEditorSnap", "acEditor_SetSurface"},
    {"acTempLine", "acTempTriangle", "acTempCircle", "acTempEllipse", "acTempPie", "acTempRectangle", "acTempSin",
     "acTempCos"},
    {"acViewScale", "acViewZoomIn", "acViewZoomOut", "acViewActual", "acViewDetails", "acViewElements",
     "acViewForce", "acViewRest"},
    {"acFileExport", "acFileImport"},
    {"acServiceClear", "acServiceOptimize", "acServiceCondence", "acServiceFill", "acServiceParam"},
};

struct MenuButtonSpec {
  const char* Name;
  const char* Caption;
  const char* Menu;
};
const MenuButtonSpec kMenuButtons[] = {
    {"ToolBtn_MenuFile", "Файл", "PupMenu_File"},          {"ToolBtn_MenuEdit", "Правка", "PupMenu_Edit"},
    {"ToolBtn_MenuView", "Вид", "PupMenu_View"},           {"ToolBtn_MenuInput", "Ввод", "PupMenu_Input"},
    {"ToolBtn_MenuInsert", "Вставка", "PupMenu_Insert"},   {"ToolBtn_MenuFormat", "Формат", "PupMenu_Format"},
    {"ToolBtn_MenuService", "Сервис", "PupMenu_Service"}, {"ToolBtn_MenuWindow", "Окно", "PupMenu_Window"},
    {"ToolBtn_MenuHelp", "Справка", "PupMenu_Help"},
};

}  // namespace

TRSForm::TRSForm(MessageService& messages, QWidget* parent) : QMainWindow(parent), messages_(messages) {
  setObjectName("RSForm");
  setWindowTitle(kEditorMainCaption);
  supervisor_ = std::make_unique<TEditSupervisor>();
  supervisor_->Options.SetDefaults();
  supervisor_->Task.SetDefaults();
  project_ = std::make_unique<TVelEditorProject>();
  cursors_ = std::make_unique<CursorTable>();
  cursors_->Load(kEditorCursorSlots, &messages_);
}

TRSForm::~TRSForm() {
  supervisor_.reset();
  project_.reset();
}

void TRSForm::BuildStrip(TDM_Main& commands, TDM_Menu& menus) {
  commands_ = &commands;
  setContextMenuPolicy(Qt::DefaultContextMenu);
  // Nothing below the bars: the strip ends where they end.
  auto* empty = new QWidget(this);
  empty->setObjectName("StripBottom");
  empty->setFixedHeight(0);
  setCentralWidget(empty);
  for (int i = 0; i < kEditorBarCount; ++i) {
    const EditorBarInfo& info = EditorBars()[static_cast<std::size_t>(i)];
    auto* bar = new QToolBar(QString::fromUtf8(info.Caption.data(), static_cast<int>(info.Caption.size())), this);
    bar->setObjectName(QString::fromUtf8(info.Name.data(), static_cast<int>(info.Name.size())));
    bar->setMovable(true);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The bar's own close would bypass the switches: only the switches hide it.
    bar->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, bar);
    bars_[static_cast<std::size_t>(i)] = bar;
    for (const char* name : kBarButtons[i]) {
      if (name == nullptr)
        bar->addSeparator();
      else
        bar->addAction(commands.Action(name));
    }
  }
  // The support button: the preset chosen last, dropping down the presets.
  restButton_ = new QToolButton(bars_[kBarStandart]);
  restButton_->setObjectName("ToolBtn_Rest_Set");
  restButton_->setMenu(menus.Menu("PupMenu_Rests"));
  restButton_->setPopupMode(QToolButton::MenuButtonPopup);
  restButton_->setDefaultAction(commands.Action("acRests_ChoiceRest"));
  bars_[kBarStandart]->addWidget(restButton_);
  // The main-menu bar: nine text buttons each dropping down its menu.
  for (const MenuButtonSpec& m : kMenuButtons) {
    auto* b = new QToolButton(bars_[kBarMainMenu]);
    b->setObjectName(m.Name);
    b->setText(QString::fromUtf8(m.Caption));
    b->setMenu(menus.Menu(m.Menu));
    b->setPopupMode(QToolButton::InstantPopup);
    bars_[kBarMainMenu]->addWidget(b);
    menuButtons_[m.Name] = b;
  }
  panelsMenu_ = menus.Menu("PM_Panels");
}

QToolButton* TRSForm::MenuButton(const QString& name) const {
  const auto it = menuButtons_.find(name);
  return it == menuButtons_.end() ? nullptr : it->second;
}

void TRSForm::ApplyState(const TCommandSetState& state, QAction* restAction) {
  for (int i = 0; i < kEditorBarCount; ++i) {
    QToolBar* bar = bars_[static_cast<std::size_t>(i)];
    if (bar == nullptr) continue;
    const BarState& s = state.Bar(i);
    bar->setEnabled(s.Enabled);
    if (bar->isHidden() == s.Visible) bar->setVisible(s.Visible);
  }
  for (const auto& [name, button] : menuButtons_)
    button->setEnabled(state.MenuButtonEnabled(name.toStdString()));
  panelsOpen_ = state.PanelsMenuOpens();
  if (restButton_ != nullptr && restAction != nullptr && restButton_->defaultAction() != restAction)
    restButton_->setDefaultAction(restAction);
  ArrangeRows();
  FitToBars();
}

QMenu* TRSForm::PanelsMenu() const { return panelsOpen_ ? panelsMenu_ : nullptr; }

QMenu* TRSForm::createPopupMenu() {
  // The caller owns what it gets: a menu of the same switch actions.
  QMenu* shown = PanelsMenu();
  if (shown == nullptr) return nullptr;
  auto* menu = new QMenu(this);
  menu->addActions(shown->actions());
  return menu;
}

void TRSForm::ShowAsStrip() {
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect r = s->availableGeometry();
    setGeometry(r.x(), r.y(), r.width(), std::max(1, height()));
  }
  ArrangeRows();
  show();
  FitToBars();
}

void TRSForm::ArrangeRows() {
  // Like the control bar's bands: a bar that does not fit the row starts the next.
  const int available = width() > 0 ? width() : 800;
  int used = 0;
  for (QToolBar* bar : bars_) {
    if (bar == nullptr) continue;
    removeToolBarBreak(bar);
    if (bar->isHidden()) continue;
    const int w = bar->sizeHint().width();
    if (used > 0 && used + w > available) {
      insertToolBarBreak(bar);
      used = 0;
    }
    used += w;
  }
}

void TRSForm::FitToBars() {
  // The main window is exactly its strip of tool bars.
  if (layout() != nullptr) layout()->activate();
  int bottom = 0;
  for (QToolBar* bar : bars_)
    if (bar != nullptr && !bar->isHidden()) bottom = std::max(bottom, bar->geometry().bottom() + 1);
  if (bottom <= 0) {
    for (QToolBar* bar : bars_)
      if (bar != nullptr && !bar->isHidden()) bottom = std::max(bottom, bar->sizeHint().height());
  }
  if (bottom > 0 && height() != bottom) {
    setMinimumHeight(0);
    resize(width(), bottom);
  }
}

void TRSForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FitToBars();
}

void TRSForm::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (commands_ != nullptr) {
    commands_->Desks().HideAll();
    if (commands_->ExitProgram) commands_->ExitProgram();
  } else {
    QCoreApplication::exit(0);
  }
}

// ---- menus ----

namespace {

// One menu: action names, nullptr a separator, "[caption" opens a sub-menu, "]" closes it.
using Items = std::initializer_list<const char*>;

struct MenuSpec {
  const char* Name;
  Items Entries;
};

const MenuSpec kMenus[] = {
    {"PupMenu_File",
     {"acFileNew", "acFileOpen", "acFileSave", "acFileSaveAs", nullptr, "acFilePrint", "acFilePreview", nullptr,
      "acFileExport", "acFileImport", nullptr, "acFileExit"}},
    {"PupMenu_Edit",
     {"acEditUndo", "acEditRedo", nullptr, "acEditCut", "acEditCopy", "acEditPaste", "acEditSpecPaste",
      "acEditDelete", nullptr, "[Выделить", "AcEdit_SelectFrame", "AcEdit_SelectAllElems", "AcEdit_SelectAllKnots",
      "AcEdit_SelectAll", "]", "AcEdit_ClearSelection", nullptr, "acEditChange", "acEditFind", "acEditGoTo"}},
    {"PupMenu_View",
     {"acViewPanels", "acViewStatusBar", "acViewColontitul", nullptr, "[&Просмотр", "acViewDetails",
      "acViewElements", "acViewForce", "acViewRest", "]", nullptr, "[&Сетка", "acNetDot", "acNetCross", "acNetLine",
      "acNetOther", nullptr, "acModeShowGrid", "acModeSnapGrid", nullptr, "acNetParametr", "]", nullptr,
      "acViewZoomIn", "acViewZoomOut", "acViewActual", "acViewScale"}},
    {"PupMenu_Input",
     {"[&Элемент", "[&Двумерный", "ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod", "]", "[&Объемный",
      "ac3DTetra", "ac3DCube", "ac3DRod", "]", "[&Пластины и оболочки", "acPlaneTriangle", "acPlaneRectangle",
      "acPlaneRod", "]", "]", "[&Нагрузка", "acForceConcentrate", "acForceDispersion", "acDisplacement", "]",
      "[&Режим ввода", "acModeKnot", "acModeNet", "acModeFrame", nullptr, "acModeEdit", "]", "acInput_Rest",
      nullptr, "[Ре&дактор областей", "acEditorCreate", "acEditorEdit", "acEditorSnap", "]"}},
    {"PupMenu_Insert",
     {"acInsertRegion", "[&Шаблоны", "acTempLine", "acTempTriangle", "acTempCircle", "acTempPie", "acTempEllipse",
      "acTempRectangle", "acTempSin", "acTempCos", "acInsertPattern", "]", "acInsertBookmark", "acInsertLine",
      "acInsertPicture"}},
    {"PupMenu_Format",
     {"acFormatCharacteristic", "acFormatTask", "acFormatDinamics", "acFormatElement", "acFormatDiagram",
      "AcFormat_Shells"}},
    {"PupMenu_Service",
     {"acServiceClear", "acServiceOptimize", "acServiceCondence", "acServiceFill", nullptr, "acServiceParam"}},
    {"PupMenu_Window",
     {"acWinNew", "acWinMain", "acWinNext", "acWinPred", "acWinList", nullptr, "acWinDel", "acWinDelAll"}},
    {"PupMenu_Help", {"acHelpAbout", "acHelpProjectInfo"}},
    {"PupMenu_Rests",
     {"AcRests_NoRest", "AcRests_RestX", "AcRests_RestY", "AcRests_RestZ", "AcRests_RestXYZ", "AcRests_RestFixed",
      nullptr, "acRests_ChoiceRest"}},
    {"PM_Panels",
     {"acPanelMainMenu", "acPanelStandart", "acPanelInputMode", "acPanelGrid", "acPanel2dElement",
      "acPanel3DElement", "acPanelInsert", "acPanelTemps", "acPanelScale", "acPanelData", "acPanelService"}},
    {"PM_ReopenFiles", {"!File", nullptr}},
};

}  // namespace

TDM_Menu::TDM_Menu(TDM_Main& commands) {
  for (const MenuSpec& spec : kMenus) {
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(spec.Name);
    std::vector<QMenu*> stack{menu.get()};
    for (const char* entry : spec.Entries) {
      QMenu* current = stack.back();
      if (entry == nullptr) {
        current->addSeparator();
      } else if (entry[0] == '[') {
        stack.push_back(current->addMenu(QString::fromUtf8(entry + 1)));
      } else if (entry[0] == ']') {
        stack.pop_back();
      } else if (entry[0] == '!') {
        current->addAction(QString::fromUtf8(entry + 1));  // a placeholder nothing fills
      } else {
        current->addAction(commands.Action(entry));
      }
    }
    menus_[spec.Name] = std::move(menu);
  }
}

TDM_Menu::~TDM_Menu() = default;

QMenu* TDM_Menu::Menu(const QString& name) const {
  const auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second.get();
}

}  // namespace tavir
