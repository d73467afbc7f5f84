#pragma once
// The editor's command module without widgets: every handler of the command set
// as plain code on the supervisor, the project and the window collection (which it
// owns, as the command module does), with the command-set state it keeps in step.
// The Qt command module runs actions by name here, applies State() to its actions
// and bars afterwards, and implements EditorCommandsUi with its dialogs and desks.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/command_set.h"
#include "editor/edit_windows.h"
#include "editor/unsaved_changes.h"
#include "model/model_ui_dialogs.h"
#include "model/project.h"
#include "model/records.h"
#include "model/settings.h"
#include "model/supervisor.h"
#include "platform/canvas.h"
#include "platform/command_table.h"
#include "platform/services.h"

namespace tavir {

inline constexpr const char* kNoProjectCaption = "Программный комплекс \"Тавир\" - редактор [нет проекта]";
inline constexpr const char* kNewProjectQuestion = "Вы действительно хотите создать новый проект?";
inline constexpr const char* kNewProjectCaption = "Новый проект";
inline constexpr const char* kReplaceFileFormat = "Файл %s уже существует!\r\nЗаменить файл?";
inline constexpr const char* kSaveFileCaption = "Сохранение файла";
inline constexpr const char* kElementPropsCaption = "Свойства элемента";
inline constexpr const char* kNoElementSelectedQuestion =
    "Не выделено ни одного элемента!\r\nСоздать элемент для ввода по умолчанию?";
inline constexpr const char* kManyElementsQuestion =
    "Выделено более одного элемента!\r\nДля редактирования будут приняты свойства\r\nпоследнего выделенного "
    "элемента.Продолжить?";
inline constexpr const char* kApplyToAllQuestion = "Принять изменения для всех выделенных элементов?";
inline constexpr const char* kOptimizeCaption = "Оптимизация";
inline constexpr const char* kSaveChangesFormat = "Сохранить изменения в проекте «%s»?";
inline constexpr const char* kSaveChangesCaption = "Сохранение проекта";
inline constexpr const char* kAutoSaveFailedFormat = "Автосохранение проекта «%s» не выполнено: %s";

// The support presets and the fixation each gives.
struct SupportPreset {
  std::string_view Action;
  TFixation Fixation;
};
const std::vector<SupportPreset>& SupportPresets();

// "Файл <name> уже существует!\r\nЗаменить файл?"
std::string ReplaceFileQuestion(const std::string& fileName);
// "Сохранить изменения в проекте «<name without its folder>»?"
std::string SaveChangesQuestion(const std::string& fileName);
// "Автосохранение проекта «<name without its folder>» не выполнено: <reason>"
std::string AutoSaveFailedText(const std::string& fileName, const std::string& reason);

// What one autosave tick did.
enum class AutoSaveResult {
  Nothing,  // autosave off, no project, no file of its own, or nothing changed
  Saved,    // the project was written to its file
  Failed,   // the write failed; the file is as it was
};

// ---- band optimisation ----

// The two-bar progress box of a long operation.
class TwoBarProgress {
 public:
  virtual ~TwoBarProgress() = default;
  virtual void SetCurrentLabel(const std::string& text) = 0;
  virtual void SetTotalLabel(const std::string& text) = 0;
  // Both bars at 0, step 1, with their maxima.
  virtual void SetRanges(int currentMax, int totalMax) = 0;
  virtual void StepCurrent() = 0;
  virtual void ResetCurrent() = 0;
  virtual void StepTotal() = 0;
};

struct BandOptimisation {
  std::int64_t Before = 0;  // band width before
  std::int64_t ByX = 0;     // after the X sort
  std::int64_t ByY = 0;     // after the Y sort
  std::int64_t After = 0;   // of the order kept
  bool KeptY = false;       // the Y order won (a tie keeps the X order)
};

// Renumbers the knots by X, then by Y, and keeps the order with the narrower
// band (X on a tie), stepping the progress box between the stages.
BandOptimisation OptimiseBand(TVelEditorProject& project, TwoBarProgress* progress);
// "Лента до оптимизации: <before>\r\nЛента после оптимизации: <after>"
std::string BandOptimisationText(const BandOptimisation& result);

// ---- the forms' side ----

struct NewTaskAnswer {
  TBCTask Task;
  TFloatPoint3D First;   // minimum corner of the region
  TFloatPoint3D Second;  // maximum corner
};

// What the project-information box shows.
struct ProjectInfo {
  std::string FileName;  // without its folder
  std::int32_t Knots = 0;
  std::int32_t Elements = 0;
};

struct SettingsAnswer {
  TBCDataEditor Options;
  TBCTask Task;
};

struct SupportAnswer {
  TFixation Fixation;
  std::int32_t Direction = 0;
};

class EditorCommandsUi {
 public:
  virtual ~EditorCommandsUi() = default;
  virtual void SetMainCaption(const std::string& caption) = 0;
  // The new-task dialog given copies of the task and the region; the user's
  // values on OK.
  virtual std::optional<NewTaskAnswer> NewTaskDialog(const TBCTask& task, const TFloatPoint3D& first,
                                                     const TFloatPoint3D& second) = 0;
  virtual std::optional<std::string> AskOpenFileName() = 0;
  virtual std::optional<std::string> AskSaveFileName() = 0;
  virtual bool FileExists(const std::string& fileName) = 0;
  // The canvas of a window's picture (the one its desk offers as
  // DeskSurface::PictureCanvas), nullptr when it has none; selections are drawn on
  // it as they change.
  virtual Canvas* WindowCanvas(int index) = 0;
  // The repaint message to a window's desk.
  virtual void RepaintWindow(int index) = 0;
  // The one modeless load dialog: shown with a force (made when none is open),
  // closed and freed, and whether one is open.
  virtual bool LoadDialogOpen() const = 0;
  virtual void ShowLoadDialog(const TForceRecord& force) = 0;
  virtual void CloseLoadDialog() = 0;
  // Its OK and Apply buttons, enabled together.
  virtual void EnableLoadDialogButtons(bool enabled) = 0;
  virtual std::optional<SupportAnswer> SupportDialog(const TFixation& fixation, std::int32_t direction) = 0;
  // A new two-bar progress box, shown without modality; hidden and freed when the
  // pointer goes. nullptr: none is shown.
  virtual std::unique_ptr<TwoBarProgress> OpenProgressBox() = 0;
  // The main form closes (the program ends); false when it stays (its close was
  // refused: the user kept the changed project).
  virtual bool CloseProgram() = 0;

  // The settings dialog on copies of the options and the task; the user's values
  // on OK (the command then runs the user level's preset).
  virtual std::optional<SettingsAnswer> SettingsDialog(const TBCDataEditor& options, const TBCTask& task) = 0;
  // The grid dialog on a copy of a window's grid with the window's box and
  // projection; the user's grid on OK.
  virtual std::optional<TGrid> GridDialog(const TGrid& grid, const TFloatPoint3D& minCorner,
                                          const TFloatPoint3D& maxCorner, Projection projection) = 0;
  // The panel dialog on the visibility of the eleven bars; the stored states on OK.
  virtual std::optional<std::array<bool, kEditorBarCount>> PanelsDialog(
      const std::array<bool, kEditorBarCount>& visible) = 0;
  // Flips the status bar of a window's desk; its new visibility.
  virtual bool ToggleStatusBar(int index) = 0;
  // Whether a window's desk shows its status bar.
  virtual bool StatusBarVisible(int index) const = 0;
  virtual void ShowProjectInfo(const ProjectInfo& info) = 0;
  // The modal dialogs with nothing to give back: "acWinList", "acHelpAbout", "acFilePrint".
  virtual void ShowDialog(std::string_view action) = 0;
};

class EditorCommands : private EditWindowsClient {
 public:
  EditorCommands(TEditSupervisor& supervisor, TVelEditorProject& project, EditorCommandsUi& ui,
                  EditDeskHost& desks, ModelDialogs& dialogs, MessageService& messages, PixelSize screen);
  ~EditorCommands() override;
  EditorCommands(const EditorCommands&) = delete;
  EditorCommands& operator=(const EditorCommands&) = delete;

  TEditWindows& Windows() { return windows_; }
  const TEditWindows& Windows() const { return windows_; }
  const CommandSetState& State() const { return state_; }
  CommandSetState& State() { return state_; }
  TEditSupervisor& Supervisor() { return supervisor_; }
  TVelEditorProject& Project() { return project_; }
  EditorCommandsUi& Ui() { return ui_; }
  ModelDialogs& Dialogs() { return dialogs_; }
  MessageService& Messages() { return messages_; }
  void SetModeCursor() { windows_.SetModeCursor(supervisor_.WorkMode, supervisor_.InputMode); }
  // The action the support drop-down button of the standard bar carries.
  const std::string& RestButtonAction() const { return restButtonAction_; }

  // Runs an action by name, whatever its enabled state (as code runs it): false
  // for a name the editor does not have. Inert actions do nothing; an action of
  // the Handler kind without its row in Table() is a fault (std::logic_error).
  bool Run(std::string_view name);
  // The handler of every action of the Handler kind, with its check-mark rule.
  static const CommandTable<CommandRow<EditorCommands>>& Table();

  // The current window, nullptr when there is none (no project).
  TEditorWindow* CurrentEditWindow() { return windows_.Current(); }
  // The canvas of the current window's picture, or nullptr.
  Canvas* CurrentCanvas();

  // After supports or point loads changed: new symbols are drawn on the current
  // window's picture at once; when one was removed or replaced, its old symbol must
  // go too, so the window is repainted.
  void ShowChangedSymbols(bool replaced, const std::function<void(Canvas&)>& draw);

  // The material new elements get: the current one (MaterialIndex) while it
  // exists, else the first; with an empty list the material chooser lets the user
  // pick one (nullptr on Cancel).
  std::shared_ptr<TPhisPropRodNL> MaterialForNewElements();

  // ---- project ----
  void FileNew();
  // Open with a name asked; true when a project was opened.
  bool FileOpen();
  // Opens a named file: a missing or bad file is reported and changes nothing
  // (model, windows, caption, command set); success makes it the task.
  bool OpenNamed(const std::string& fileName);
  bool FileSave();
  bool FileSaveAs();
  // Writes the project under the name after the replace question; only a
  // successful save names the project and sets the caption.
  bool SaveAsNamed(const std::string& fileName);
  void NoTask();
  void NewTask();
  void ApplyTaskActions();

  // ---- unsaved work ----
  // Whether a project is open and holds work its file does not.
  bool ProjectChanged() const;
  // Before the open project is replaced or the program ends: true when it may go.
  // A changed project asks "Сохранить изменения в проекте «имя»?" (Да, Нет,
  // Отмена): Да saves it as the Save command does (Save As for an unnamed one) and
  // gives true only when the save succeeded, Нет gives true, Отмена false. No
  // project or an unchanged one asks nothing and gives true.
  bool ConfirmDropProject();
  // One autosave tick: with autosave on, a changed project that has a file of its
  // own is written to it as the Save command writes it; an unnamed one never is.
  // Nothing is shown: a failure's text goes to `failure`.
  AutoSaveResult AutoSave(std::string& failure);

  // ---- modes (the input commands) ----
  void ModeCommand(std::string_view name);
  void ElementTypeCommand(std::string_view name);
  void SelectFrame();
  void InputRest();
  void ForceConcentrate();
  void ForceDispersion();
  void ApplyConcForces();
  void ApplyDispForces();
  void ChoiceRest();
  void RestPreset(std::string_view name);
  // Leaves a load mode: unselects what the mode picked, closes the load dialog,
  // unchecks the load commands (step L of every mode command).
  void LeaveLoadMode();
  // For New and no task: the load dialog closed, both selections emptied, and the
  // editor out of the load and displacement modes.
  void DropLoadMode();

  // The load dialog's Apply (and OK): the force becomes the default load of the
  // load mode, which is then applied to the selection; other modes do nothing.
  void LoadDialogApplied(const TForceRecord& force);

  // ---- dialogs of the forms ----
  void ServiceParam();
  void NetParametr();
  void ViewPanels();
  void ViewStatusBar();
  void FormatShells();
  ProjectInfo ProjectInformation() const;

  // ---- selection, format, service, windows, grid ----
  void EditDelete();
  void SelectAll(bool elements, bool knots);
  void ClearSelection();
  void FormatElement();
  void FormatCharacteristic();
  BandOptimisation ServiceOptimize();
  void WinNew();
  void WinDel();
  void WinDelAll();
  void WinShow(int index);
  // The next window (after the last: the main one) and the previous one (before
  // the main one: the last).
  void WinNext();
  void WinPred();
  void GridStyle(std::uint8_t style);
  void ToggleShowGrid();
  void ToggleSnapGrid();

 private:
  // EditWindowsClient
  void SetWindowState(std::int32_t currentWindow, std::int32_t windowCount) override;
  std::int32_t CurrentWindow() const override { return supervisor_.CurrentWindow; }
  tavir::WorkMode WorkMode() const override { return supervisor_.WorkMode; }
  tavir::InputMode InputMode() const override { return supervisor_.InputMode; }
  void RunAction(const std::string& name) override { Run(name); }
  void SyncGridActions(const TGrid& grid) override { state_.SyncGrid(grid); }
  void CloseProgram() override { ui_.CloseProgram(); }

  tavir::InputMode PickInputMode() const {
    return state_.Checked("AcEdit_SelectFrame") ? tavir::InputMode::FrameSelection : tavir::InputMode::Pick;
  }
  void UnselectKnots();
  void UnselectElements();
  void BringCurrentForward();
  // Brings the current desk forward and repaints it: for what a command changed in
  // the picture.
  void ShowCurrentAnew();
  // The Save command's write of the project to a file (throws when it cannot, the
  // file as it was); the project then counts as saved.
  void WriteProject(const std::string& fileName);
  // The project as it stands is its file's.
  void MarkSaved() { saved_.Take(supervisor_, project_, windows_); }

  TEditSupervisor& supervisor_;
  TVelEditorProject& project_;
  EditorCommandsUi& ui_;
  ModelDialogs& dialogs_;
  MessageService& messages_;
  CommandSetState state_;
  TEditWindows windows_;
  std::string restButtonAction_ = "acRests_ChoiceRest";
  UnsavedChanges saved_;
};

}  // namespace tavir
