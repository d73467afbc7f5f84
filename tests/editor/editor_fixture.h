#pragma once
// The editor without a display: supervisor, project and command module, with a
// desk host, forms and dialogs that record what they are asked and answer from
// scripts.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "editor/edit_desk.h"
#include "editor/edit_windows.h"
#include "editor/editor_commands.h"
#include "model/model_ui_dialogs.h"
#include "model/project.h"
#include "model/project_fixture.h"
#include "model/supervisor.h"
#include "platform/recording_canvas.h"
#include "platform/services.h"
#include "fakes/scripted_messages.h"
#include "fakes/scripted_model_dialogs.h"
#include "scratch_folder.h"

namespace tavir::testing {

class RecordingDeskHost : public EditDeskHost {
 public:
  DeskHandle CreateDesk(const TWorkWindow&) override {
    Alive.insert(++last_);
    return last_;
  }
  void DestroyDesk(DeskHandle d) override { Alive.erase(d); }
  void ShowDesk(DeskHandle d) override { Shown.push_back(d); }
  void HideDesk(DeskHandle) override {}
  void SetDeskCaption(DeskHandle, const std::string&) override {}
  void SetDeskCursor(DeskHandle d, DeskCursor c) override { Cursors[d] = c; }

  std::set<DeskHandle> Alive;
  std::vector<DeskHandle> Shown;
  std::map<DeskHandle, DeskCursor> Cursors;

 private:
  DeskHandle last_ = 0;
};

class RecordingProgress : public TwoBarProgress {
 public:
  explicit RecordingProgress(std::vector<std::string>& log) : log_(log) {}
  ~RecordingProgress() override { log_.push_back("close"); }
  void SetCurrentLabel(const std::string& text) override { log_.push_back("current " + text); }
  void SetTotalLabel(const std::string& text) override { log_.push_back("total " + text); }
  void SetRanges(int c, int t) override { log_.push_back("ranges " + std::to_string(c) + " " + std::to_string(t)); }
  void StepCurrent() override { log_.push_back("step current"); }
  void ResetCurrent() override { log_.push_back("reset current"); }
  void StepTotal() override { log_.push_back("step total"); }

 private:
  std::vector<std::string>& log_;
};

// The forms: every canvas asked for must be that of an existing window.
class FakeUi : public EditorCommandsUi {
 public:
  void SetMainCaption(const std::string& c) override { Captions.push_back(c); }
  std::optional<NewTaskAnswer> NewTaskDialog(const TBCTask& task, const TFloatPoint3D& first,
                                             const TFloatPoint3D& second) override {
    ++NewTaskDialogs;
    NewTaskShown = {task, first, second};
    WindowsWhenNewTaskOpened = windows_ != nullptr ? windows_->Count() : -1;
    return NewTaskAnswerScript;
  }
  std::optional<std::string> AskOpenFileName() override {
    ++OpenDialogs;
    return OpenName;
  }
  std::optional<std::string> AskSaveFileName() override {
    ++SaveDialogs;
    return SaveName;
  }
  bool FileExists(const std::string& f) override { return ExistingFiles.count(f) != 0; }
  Canvas* WindowCanvas(int index) override {
    if (windows_ == nullptr || index < 0 || index >= windows_->Count()) {
      ADD_FAILURE() << "canvas of window " << index << " asked with " << (windows_ ? windows_->Count() : -1)
                    << " windows";
      return nullptr;
    }
    return &Canvases[index];
  }
  void RepaintWindow(int index) override { Repaints.push_back(index); }
  bool LoadDialogOpen() const override { return LoadOpen; }
  void ShowLoadDialog(const TForceRecord& f) override {
    LoadOpen = true;
    LoadForces.push_back(f);
  }
  void CloseLoadDialog() override {
    LoadOpen = false;
    ++LoadCloses;
  }
  void EnableLoadDialogButtons(bool enabled) override { LoadButtons = enabled; }
  std::optional<SupportAnswer> SupportDialog(const TFixation&, std::int32_t) override { return SupportScript; }
  std::unique_ptr<TwoBarProgress> OpenProgressBox() override { return std::make_unique<RecordingProgress>(Progress); }
  bool CloseProgram() override {
    ++CloseRequests;
    return CloseAllowed;
  }

  std::optional<SettingsAnswer> SettingsDialog(const TBCDataEditor&, const TBCTask& task) override {
    SettingsShownTask = task;
    return SettingsScript;
  }
  std::optional<TGrid> GridDialog(const TGrid& grid, const TFloatPoint3D&, const TFloatPoint3D&,
                                  Projection projection) override {
    GridShown = grid;
    GridProjection = projection;
    return GridScript;
  }
  std::optional<std::array<bool, kEditorBarCount>> PanelsDialog(const std::array<bool, kEditorBarCount>& v) override {
    PanelsShown = v;
    return PanelsScript;
  }
  bool ToggleStatusBar(int index) override { return StatusBars[index] = !StatusBars[index]; }
  bool StatusBarVisible(int index) const override {
    const auto i = StatusBars.find(index);
    return i != StatusBars.end() && i->second;
  }
  void ShowProjectInfo(const ProjectInfo& info) override { Infos.push_back(info); }
  void ShowDialog(std::string_view action) override { Dialogs.emplace_back(action); }

  void Watch(const TEditWindows& w) { windows_ = &w; }

  TBCTask SettingsShownTask;
  std::optional<SettingsAnswer> SettingsScript;
  TGrid GridShown;
  std::optional<Projection> GridProjection;
  std::optional<TGrid> GridScript;
  std::array<bool, kEditorBarCount> PanelsShown{};
  std::optional<std::array<bool, kEditorBarCount>> PanelsScript;
  std::map<int, bool> StatusBars;
  std::vector<ProjectInfo> Infos;
  std::vector<std::string> Dialogs;

  std::vector<std::string> Captions;
  int NewTaskDialogs = 0;
  NewTaskAnswer NewTaskShown;
  int WindowsWhenNewTaskOpened = -1;
  std::optional<NewTaskAnswer> NewTaskAnswerScript;
  int OpenDialogs = 0, SaveDialogs = 0;
  std::optional<std::string> OpenName, SaveName;
  std::set<std::string> ExistingFiles;
  std::map<int, RecordingCanvas> Canvases;
  std::vector<int> Repaints;
  bool LoadOpen = false;
  std::vector<TForceRecord> LoadForces;
  int LoadCloses = 0;
  std::optional<bool> LoadButtons;
  std::optional<SupportAnswer> SupportScript;
  std::vector<std::string> Progress;
  int CloseRequests = 0;
  bool CloseAllowed = true;

 private:
  const TEditWindows* windows_ = nullptr;
};

class FakeSurface : public DeskSurface {
 public:
  Canvas& PictureCanvas() override { return Picture; }
  DeskScroll Scroll() const override { return State; }
  void SetScroll(int h, int v) override {
    State.H = h;
    State.V = v;
    ScrollCalls.push_back({h, v});
  }
  void RepaintNow() override { ++Repaints; }

  RecordingCanvas Picture;
  DeskScroll State{0, 0, 200, 200, 300};
  std::vector<ScrollPosition> ScrollCalls;
  int Repaints = 0;
};

// A folder of the test's own, removed after it.
class TempFolderTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  ScratchFolder folder_{"tavir-editor"};
  std::filesystem::path dir_ = folder_.Path();
};

inline NewTaskAnswer PlateTask(Extended precision = 0.01L) {
  NewTaskAnswer a;
  a.Task.EvulKind = 0;
  a.Task.Dimension = 2;
  a.Task.Precision = precision;
  a.First = FloatPoint3D(-1, -1, -5);
  a.Second = FloatPoint3D(4, 2, 5);
  return a;
}

// The editor with a new task: window 0 over [-1, 4] x [-1, 2] at 0.01 model units
// per pixel (a 500 x 300 picture on a 100 x 100 screen), static plate task.
struct EditorFixture {
  TEditSupervisor Supervisor;
  TVelEditorProject Project;
  RecordingDeskHost Host;
  FakeUi Ui;
  ScriptedModelDialogs Dialogs;
  ScriptedMessages Messages;
  EditorCommands Commands{Supervisor, Project, Ui, Host, Dialogs, Messages, PixelSize{100, 100}};

  EditorFixture() {
    Supervisor.Task.SetDefaults();
    Supervisor.Options.SetDefaults();
    Ui.Watch(Commands.Windows());
    Commands.NoTask();
  }

  // A new task through acFileNew answered OK.
  void NewProject() {
    Ui.NewTaskAnswerScript = PlateTask();
    Commands.Run("acFileNew");
    Ui.NewTaskAnswerScript.reset();
    Messages.Shown.clear();
  }
  TEditorWindow& Window(int i = 0) { return Commands.Windows().Items(i); }
  // The sample model in the project, its screen points for window 0.
  SampleModel& Sample() {
    if (!sample_) {
      sample_ = std::make_unique<SampleModel>(Project);
      Project.UpdateScreen(Window().View());
    }
    return *sample_;
  }
  TPoint PixelOf(Extended x, Extended y) { return Window().FloatPointToPoint(FloatPoint(x, y)); }

 private:
  std::unique_ptr<SampleModel> sample_;
};

}  // namespace tavir::testing
