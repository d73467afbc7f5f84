#pragma once
// TDM_Main, the editor's command module: every command as a QAction named as the
// command (objectName), the pop-up menus of the main strip, the open, save and
// print dialogs, the load dialog and the desks of the editing windows.
//
// The commands themselves are plain code (EditorCommands): a command runs there
// by name and the command set's state it leaves (enabled, checked, visible bars)
// is then shown on the actions and the strip. The dialogs of the commands are the
// forms' side (EditorCommandsUi here; the model's dialogs through ModelDialogs and
// the editor's own through EditorDialogs, so that the real forms plug in).
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "editor/editor_commands.h"
#include "editor/qt/edit_desks.h"
#include "editor/qt/editor_forms.h"
#include "platform/qt/action_registry.h"

class QMenu;
class QWidget;

namespace tavir {

class CursorTable;
class ImageProvider;
class TRSForm;

// The editor's own dialogs that are not the model's: the program settings and the
// window list. Each returns after its modal run.
class EditorDialogs {
 public:
  virtual ~EditorDialogs() = default;
  // "Параметры" on copies of the options and the task: true on OK (the caller
  // takes both back). The dialog's OK runs the preset of the level chosen in it.
  virtual std::optional<SettingsAnswer> ProgramSettings(const TBCDataEditor& options, const TBCTask& task,
                                                        const std::function<void(int userLevel)>& runPreset) = 0;
  // "Список окон": may make another window current and show it.
  virtual void WindowList(EditorCommands& commands) = 0;
};

class TDM_Main : public QObject, public EditorCommandsUi, public DeskEvents {
  Q_OBJECT
 public:
  // DataModuleCreate: the window collection (inside the plain command module), the
  // actions and the menus. The main form exists already (created first).
  TDM_Main(TRSForm& mainForm, ModelDialogs& modelDialogs, EditorDialogs& editorDialogs, MessageService& messages,
           const ImageProvider* images = nullptr, QObject* parent = nullptr);
  // DataModuleDestroy: the window collection goes first.
  ~TDM_Main() override;

  EditorCommands& Commands() { return *commands_; }
  EditDesks& Desks() { return *desks_; }
  ActionRegistry& Registry() { return registry_; }
  QAction* Action(const QString& name) const { return registry_.Find(name); }
  QMenu* PopupMenu(const QString& name) const;
  TForcesForm* ForcesForm() const { return forcesForm_.data(); }
  TMainDesk* CurrentDesk() const;
  TMainDesk* DeskOf(int windowIndex) const;

  // Runs a command by name as code runs it (whatever its enabled state), then shows
  // the command set's state. False for a name the editor does not have.
  bool Run(const QString& name);
  // Shows the command set's state on the actions, the bars and the menu buttons.
  void ApplyState();

  // How the program ends (the main form closes); QCoreApplication::exit(0) unless
  // replaced.
  std::function<void()> ExitProgram;
  // Whether the main form may close: a changed project asks whether to save it first.
  bool ConfirmClose();

  // ---- autosave ----
  // The timer runs while the options have autosave on, every interval of the
  // options' minutes; each tick writes a changed project that has a file of its own.
  QTimer& AutoSaveTimer() { return autoSaveTimer_; }
  // The length of the minute the interval counts (tests shorten it).
  void SetAutoSaveMinute(std::chrono::milliseconds minute);
  // The timer follows the options: started, stopped or set to a new interval.
  void SyncAutoSave();
  // A tick: never while a dialog, a desk gesture or a command is in progress (then
  // it is tried again shortly). A failure is shown in the desks' status bars, once
  // until an autosave next finds nothing left to write.
  void AutoSaveTick();

  // ---- EditorCommandsUi ----
  void SetMainCaption(const std::string& caption) override;
  std::optional<NewTaskAnswer> NewTaskDialog(const TBCTask& task, const TFloatPoint3D& first,
                                             const TFloatPoint3D& second) override;
  std::optional<std::string> AskOpenFileName() override;
  std::optional<std::string> AskSaveFileName() override;
  bool FileExists(const std::string& fileName) override;
  Canvas* WindowCanvas(int index) override;
  void RepaintWindow(int index) override;
  bool LoadDialogOpen() const override;
  void ShowLoadDialog(const TForceRecord& force) override;
  void CloseLoadDialog() override;
  void EnableLoadDialogButtons(bool enabled) override;
  std::optional<SupportAnswer> SupportDialog(const TFixation& fixation, std::int32_t direction) override;
  std::unique_ptr<TwoBarProgress> OpenProgressBox() override;
  bool CloseProgram() override;
  std::optional<SettingsAnswer> SettingsDialog(const TBCDataEditor& options, const TBCTask& task) override;
  std::optional<TGrid> GridDialog(const TGrid& grid, const TFloatPoint3D& minCorner, const TFloatPoint3D& maxCorner,
                                  Projection projection) override;
  std::optional<std::array<bool, kEditorBarCount>> PanelsDialog(
      const std::array<bool, kEditorBarCount>& visible) override;
  bool ToggleStatusBar(int index) override;
  bool StatusBarVisible(int index) const override;
  void ShowProjectInfo(const ProjectInfo& info) override;
  void ShowDialog(std::string_view action) override;

  // The current window's picture printed whole, through the canvas.
  void PrintCurrentWindow();
  // Cut, copy and paste on the focused text field.
  void Clipboard(const QString& name);

 // ---- DeskEvents ----
  void DeskChanged() override { ApplyState(); }
  void DeskActivated(TMainDesk& desk) override;
  void DeskFailure(const std::string& text) override;

 private:

  void BuildActions();
  void BuildMenus();
  // A command's body: counted as running (autosave waits), a failure shown, then
  // the command set follows the new state.
  void AsCommand(const std::function<void()>& body);
  void RunGuarded(const QString& name);
  QWidget* DialogParent() const;
  // Whether the user is in the middle of something that a save must not cut into.
  bool AutoSaveBlocked() const;
  void ShowAutoSaveNotice(const QString& text);

  TRSForm& main_;
  ModelDialogs& modelDialogs_;
  EditorDialogs& editorDialogs_;
  MessageService& messages_;
  ActionRegistry registry_;
  std::unique_ptr<EditDesks> desks_;
  std::unique_ptr<EditorCommands> commands_;
  std::map<QString, QMenu*> menus_;
  QPointer<TForcesForm> forcesForm_;
  const ImageProvider* images_ = nullptr;
  int commandDepth_ = 0;  // commands running (nested through dialogs)
  QTimer autoSaveTimer_;
  std::chrono::milliseconds autoSaveMinute_{std::chrono::minutes(1)};
  std::chrono::milliseconds autoSaveInterval_{0};  // while on
  bool autoSaveFailureShown_ = false;
};

}  // namespace tavir
