#pragma once
// TRSForm, the editor's main form: a strip across the top of the screen as high
// as its tool bars (control bar CtrlBar_Main with the eleven bars), holding the
// supervisor and the model for the whole run. The editing windows are top-level
// forms of their own.
#include <QMainWindow>
#include <array>
#include <memory>

#include "editor/command_set.h"
#include "model/project.h"
#include "model/supervisor.h"

class QMenu;
class QToolBar;
class QToolButton;

namespace tavir {

class CursorTable;
class MessageService;
class TDM_Main;
class TDM_Menu;

inline constexpr const char* kEditorMainCaption = "Программный комплекс \"Тавир\" - редактор";

class TRSForm : public QMainWindow {
  Q_OBJECT
 public:
  // FormCreate: the supervisor with default options and task, the model, then the
  // five cursors (one that does not load gives its warning and start-up goes on).
  explicit TRSForm(MessageService& messages, QWidget* parent = nullptr);
  // FormDestroy: the supervisor, then the model.
  ~TRSForm() override;

  TEditSupervisor& Supervisor() { return *supervisor_; }
  TVelEditorProject& Project() { return *project_; }
  const CursorTable& Cursors() const { return *cursors_; }

  // The control bar's eleven bars and the menu buttons, bound to the command
  // module's actions and the menus.
  void BuildStrip(TDM_Main& commands, TDM_Menu& menus);
  QToolBar* Bar(int index) const { return bars_.at(static_cast<std::size_t>(index)); }
  QToolButton* MenuButton(const QString& name) const;
  QToolButton* RestButton() const { return restButton_; }
  // The bars, menu buttons and the panels menu as the command set has them.
  void ApplyState(const CommandSetState& state, QAction* restAction);
  // The right-click menu of the control bar, or nullptr while it does not open.
  QMenu* PanelsMenu() const;

  // FormShow: shown as the strip across the top of the screen; the state without a
  // project follows.
  void ShowAsStrip();
  // FormResize: the form's height is the tool-bar area's.
  void FitToBars();
  // The visible bars in rows no wider than the form.
  void ArrangeRows();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  QMenu* createPopupMenu() override;

 private:
  MessageService& messages_;
  std::unique_ptr<TEditSupervisor> supervisor_;
  std::unique_ptr<TVelEditorProject> project_;
  std::unique_ptr<CursorTable> cursors_;
  std::array<QToolBar*, kEditorBarCount> bars_{};
  std::map<QString, QToolButton*> menuButtons_;
  QToolButton* restButton_ = nullptr;
  QMenu* panelsMenu_ = nullptr;
  bool panelsOpen_ = true;
  unsigned arrangedMask_ = ~0u;
  int arrangedWidth_ = -1;
  TDM_Main* commands_ = nullptr;
};

// TDM_Menu: the pop-up menus of the main-menu bar and of the support button, built
// from the command module's actions.
class TDM_Menu {
 public:
  explicit TDM_Menu(TDM_Main& commands);
  ~TDM_Menu();
  QMenu* Menu(const QString& name) const;

 private:
  std::map<QString, std::unique_ptr<QMenu>> menus_;
};

}  // namespace tavir
