// The cursor slots first: the editor declares a function of the same name.
#include "platform/qt/cursors.h"
// (keep above)
#include "editor/qt/rs_main.h"

#include <QCloseEvent>
#include <QLayout>
#include <QCoreApplication>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <string_view>

#include "editor/qt/dm_main.h"
#include "platform/qt/window_place.h"

namespace tavir {

namespace {

QString Q(std::string_view v) { return QString::fromUtf8(v.data(), static_cast<int>(v.size())); }

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
    if (i == kBarMainMenu) continue;
    for (std::string_view name : EditorBarButtons(i)) {
      if (name == "-") {
        bar->addSeparator();
      } else if (name == "ToolBtn_Rest_Set") {
        // The support button: the preset chosen last, dropping down the presets.
        restButton_ = new QToolButton(bar);
        restButton_->setObjectName("ToolBtn_Rest_Set");
        restButton_->setMenu(menus.Menu("PupMenu_Rests"));
        restButton_->setPopupMode(QToolButton::MenuButtonPopup);
        restButton_->setDefaultAction(commands.Action("acRests_ChoiceRest"));
        bar->addWidget(restButton_);
      } else {
        QAction* a = commands.Action(Q(name));
        bar->addAction(a);
        if (name == "acFileOpen") {
          // Its drop-down of files opened before (nothing fills it).
          if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
            b->setMenu(menus.Menu("PM_ReopenFiles"));
            b->setPopupMode(QToolButton::MenuButtonPopup);
          }
        }
      }
    }
  }
  // The main-menu bar: the text buttons, each dropping down its menu.
  for (const EditorMenuInfo& m : EditorMenus()) {
    if (m.Button.empty()) continue;
    auto* b = new QToolButton(bars_[kBarMainMenu]);
    b->setObjectName(Q(m.Button));
    b->setText(Q(m.Caption));
    b->setMenu(menus.Menu(Q(m.Name)));
    b->setPopupMode(QToolButton::InstantPopup);
    bars_[kBarMainMenu]->addWidget(b);
    menuButtons_[Q(m.Button)] = b;
  }
  panelsMenu_ = menus.Menu("PM_Panels");
}

QToolButton* TRSForm::MenuButton(const QString& name) const {
  const auto it = menuButtons_.find(name);
  return it == menuButtons_.end() ? nullptr : it->second;
}

void TRSForm::ApplyState(const CommandSetState& state, QAction* restAction) {
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
  FramePlacement::Place(*this, StandAsTopStrip);
  ArrangeRows();
  show();
  FitToBars();
}

void TRSForm::ArrangeRows() {
  // Like the control bar's bands: a bar that does not fit the row starts the next.
  const int available = width() > 0 ? width() : 800;
  // Only a change of the visible bars or of the width moves them.
  unsigned mask = 0;
  for (int i = 0; i < kEditorBarCount; ++i)
    if (bars_[static_cast<std::size_t>(i)] != nullptr && !bars_[static_cast<std::size_t>(i)]->isHidden())
      mask |= 1u << i;
  if (mask == arrangedMask_ && available == arrangedWidth_) return;
  arrangedMask_ = mask;
  arrangedWidth_ = available;
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
  ArrangeRows();
  FitToBars();
}

void TRSForm::closeEvent(QCloseEvent* event) {
  // Whichever way the program is left, a changed project is not dropped unasked.
  if (commands_ != nullptr && !commands_->ConfirmClose()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
  if (commands_ != nullptr) {
    commands_->Desks().HideAll();
    if (commands_->ExitProgram) commands_->ExitProgram();
  } else {
    QCoreApplication::exit(0);
  }
}

// ---- menus ----

TDM_Menu::TDM_Menu(TDM_Main& commands) {
  auto build = [&commands](QMenu& menu, const std::vector<std::string_view>& items) {
    std::vector<QMenu*> stack{&menu};
    for (std::string_view item : items) {
      QMenu* current = stack.back();
      if (item == "-")
        current->addSeparator();
      else if (item.front() == '>')
        stack.push_back(current->addMenu(Q(item.substr(1))));
      else if (item == "<")
        stack.pop_back();
      else
        current->addAction(commands.Action(Q(item)));
    }
  };
  for (const EditorMenuInfo& m : EditorMenus()) {
    auto menu = std::make_unique<QMenu>();
    menu->setObjectName(Q(m.Name));
    build(*menu, m.Items);
    menus_[Q(m.Name)] = std::move(menu);
  }
  // The files opened before: a placeholder item nothing fills.
  auto reopen = std::make_unique<QMenu>();
  reopen->setObjectName("PM_ReopenFiles");
  reopen->addAction("File");
  reopen->addSeparator();
  menus_["PM_ReopenFiles"] = std::move(reopen);
}

TDM_Menu::~TDM_Menu() = default;

QMenu* TDM_Menu::Menu(const QString& name) const {
  const auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second.get();
}

}  // namespace tavir
