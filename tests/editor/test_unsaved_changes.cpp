// Whether the project holds unsaved work, the question before it is dropped, and
// the autosave tick, on the editor without a display.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/project_io.h"
#include "editor_fixture.h"
#include "model/load_ops.h"

namespace tavir {
namespace {

using namespace testing;
namespace fs = std::filesystem;

class UnsavedWorkTest : public TempFolderTest {
 protected:
  // A new project with the sample model, saved as plate.tps.
  void SavedSample(EditorFixture& f) {
    f.NewProject();
    f.Sample();
    f.Ui.SaveName = Path("plate.tps");
    ASSERT_TRUE(f.Commands.FileSave());
    f.Messages.Shown.clear();
  }
  // The settings dialog answered OK with the supervisor's options and task as
  // `change` leaves them.
  static void SettingsOk(EditorFixture& f, const std::function<void(SettingsAnswer&)>& change) {
    SettingsAnswer a;
    a.Options.Assign(f.Supervisor.Options);
    a.Task.Assign(f.Supervisor.Task);
    change(a);
    f.Ui.SettingsScript = a;
    f.Commands.Run("acServiceParam");
  }
};

// Every kind of change the file keeps counts, whatever made it; the editing state
// (modes, selection, defaults of new items, the shown window) does not.
TEST_F(UnsavedWorkTest, WhatCountsAsAChange) {
  struct Case {
    const char* Name;
    std::function<void(EditorFixture&)> Do;
    bool Changes;
  };
  const std::vector<Case> cases = {
      {"element deleted",
       [](EditorFixture& f) {
         f.Commands.Run("acModeEdit");
         f.Project.Elements().Select(f.Sample().Plate, nullptr);
         f.Commands.Run("acEditDelete");
       },
       true},
      {"support set on a knot",
       [](EditorFixture& f) {
         f.Project.Knots().Select(f.Sample().K[1], nullptr);
         f.Commands.Run("AcRests_RestXYZ");
         f.Commands.Run("acInput_Rest");
       },
       true},
      {"point load applied",
       [](EditorFixture& f) {
         f.Commands.Run("acForceConcentrate");
         f.Project.Knots().Select(f.Sample().K[3], nullptr);
         f.Commands.LoadDialogApplied(Force(0, 0, -3, 0, 0, 0));
       },
       true},
      {"knot moved", [](EditorFixture& f) { f.Sample().K[4]->X = 3.5L; }, true},
      {"layer thickness", [](EditorFixture& f) { f.Sample().Shell->Layers.Layer(0)->SetThickness(0.2L); }, true},
      {"material property", [](EditorFixture& f) { f.Sample().Concrete->SetE(3.1e6L); }, true},
      {"material renamed", [](EditorFixture& f) {
         f.Sample();
         f.Project.Materials().SetName(1, "Бетон В30");
       },
       true},
      {"shell curvature", [](EditorFixture& f) { f.Sample().Shell->SetKx(0.05L); }, true},
      {"task precision in the settings",
       [](EditorFixture& f) { SettingsOk(f, [](SettingsAnswer& a) { a.Task.Precision = 0.5L; }); }, true},
      {"dynamic analysis", [](EditorFixture& f) { f.Commands.Run("acEvulDinamic"); }, true},
      {"window grid in the grid dialog",
       [](EditorFixture& f) {
         TGrid g;
         g.Assign(f.Window().Grid());
         g.StepX = 0.25L;
         f.Ui.GridScript = g;
         f.Commands.Run("acNetParametr");
       },
       true},
      {"grid style", [](EditorFixture& f) { f.Commands.Run("acNetCross"); }, true},
      {"settings: only the options",
       [](EditorFixture& f) { SettingsOk(f, [](SettingsAnswer& a) { a.Options.SetUserKind(2); }); }, false},
      {"grid dialog cancelled", [](EditorFixture& f) { f.Commands.Run("acNetParametr"); }, false},
      {"modes and element types",
       [](EditorFixture& f) {
         f.Commands.Run("acModeKnot");
         f.Commands.Run("ac2DTriangle");
         f.Commands.Run("acModeEdit");
       },
       false},
      {"selection", [](EditorFixture& f) { f.Commands.Run("AcEdit_SelectAll"); }, false},
      {"support preset", [](EditorFixture& f) { f.Commands.Run("AcRests_RestX"); }, false},
      {"status bar and the main window", [](EditorFixture& f) {
         f.Commands.Run("acViewStatusBar");
         f.Commands.Run("acWinMain");
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EditorFixture f;
    SavedSample(f);
    ASSERT_FALSE(f.Commands.ProjectChanged());
    c.Do(f);
    EXPECT_EQ(f.Commands.ProjectChanged(), c.Changes);
  }
}

// Each part of what the file keeps, changed alone and straight in the data (no
// command that might mark anything), is unsaved work; saving it makes the project
// unchanged again, and the file then holds the change.
TEST_F(UnsavedWorkTest, EachPartOfTheSavedProjectChangedAloneCounts) {
  struct Case {
    const char* Part;
    std::function<void(EditorFixture&)> Change;
  };
  const std::vector<Case> cases = {
      {"task: analysis kind", [](EditorFixture& f) { f.Supervisor.Task.EvulKind = 1; }},
      {"task: problem statement", [](EditorFixture& f) { f.Supervisor.Task.Statement = 2; }},
      {"task: dimension", [](EditorFixture& f) { f.Supervisor.Task.Dimension = 1; }},
      {"task: precision", [](EditorFixture& f) { f.Supervisor.Task.Precision = 0.25L; }},
      {"region: minimum X", [](EditorFixture& f) { f.Supervisor.SetRegionX1(f.Supervisor.RegionX1 - 1); }},
      {"region: minimum Y", [](EditorFixture& f) { f.Supervisor.SetRegionY1(f.Supervisor.RegionY1 - 1); }},
      {"region: minimum Z", [](EditorFixture& f) { f.Supervisor.SetRegionZ1(f.Supervisor.RegionZ1 - 1); }},
      {"region: maximum X", [](EditorFixture& f) { f.Supervisor.SetRegionX2(f.Supervisor.RegionX2 + 1); }},
      {"region: maximum Y", [](EditorFixture& f) { f.Supervisor.SetRegionY2(f.Supervisor.RegionY2 + 1); }},
      {"region: maximum Z", [](EditorFixture& f) { f.Supervisor.SetRegionZ2(f.Supervisor.RegionZ2 + 1); }},
      {"materials", [](EditorFixture& f) { f.Sample().Concrete->SetMu(0.25L); }},
      {"knots", [](EditorFixture& f) { f.Sample().K[2]->Y = 1.25L; }},
      {"supports", [](EditorFixture& f) { f.Project.Supports().At(0)->Fixation = TFixation{0, 1, 1, 0, 0, 0}; }},
      {"concentrated loads", [](EditorFixture& f) { f.Project.ConcForces().At(0)->SetForce(Force(0, 0, -11, 0, 0, 0)); }},
      {"distributed loads", [](EditorFixture& f) { f.Project.DispForces().At(0)->SetForce(Force(0, 0, -3, 0, 0, 0)); }},
      {"elements", [](EditorFixture& f) { f.Sample().Plate->Layers.Layer(0)->SetThickness(0.3L); }},
      {"shell surfaces", [](EditorFixture& f) { f.Sample().Paraboloid->SetParams(2, 1, 0.2L, 0.05L); }},
      {"window: background", [](EditorFixture& f) { f.Window().WorkWindow.SetColor(0x00FF00); }},
      {"window: grid", [](EditorFixture& f) { f.Window().Grid().StepY = 0.75L; }},
      {"window: scale", [](EditorFixture& f) { f.Window().WorkWindow.SetScale(FloatPoint(0.02L, 0.02L)); }},
      {"window: corner",
       [](EditorFixture& f) { f.Window().WorkWindow.SetMaxPoint(FloatPoint3D(5, 3, 5)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Part);
    EditorFixture f;
    SavedSample(f);
    ASSERT_FALSE(f.Commands.ProjectChanged());
    const std::vector<std::uint8_t> before = ReadWholeFile(Path("plate.tps"));
    c.Change(f);
    EXPECT_TRUE(f.Commands.ProjectChanged());
    ASSERT_TRUE(f.Commands.FileSave());
    EXPECT_FALSE(f.Commands.ProjectChanged());
    EXPECT_NE(ReadWholeFile(Path("plate.tps")), before) << "the change is in the file";
  }
}

TEST_F(UnsavedWorkTest, NewOpenAndSaveLeaveTheProjectUnchanged) {
  EditorFixture f;
  EXPECT_FALSE(f.Commands.ProjectChanged());  // no project at all
  f.NewProject();
  EXPECT_FALSE(f.Commands.ProjectChanged());
  f.Sample();
  EXPECT_TRUE(f.Commands.ProjectChanged());
  f.Ui.SaveName = Path("a.tps");
  ASSERT_TRUE(f.Commands.FileSave());
  EXPECT_FALSE(f.Commands.ProjectChanged());
  f.Sample().K[1]->Y = 1.5L;
  EXPECT_TRUE(f.Commands.ProjectChanged());
  ASSERT_TRUE(f.Commands.FileSave());
  EXPECT_FALSE(f.Commands.ProjectChanged());

  EditorFixture g;
  g.Ui.OpenName = Path("a.tps");
  ASSERT_TRUE(g.Commands.FileOpen());
  EXPECT_FALSE(g.Commands.ProjectChanged());
  EXPECT_TRUE(g.Messages.Shown.empty());
  // A failed save leaves it changed.
  g.Project.Knots().KnotByIndex(0)->X = -0.5L;
  fs::remove_all(dir_);
  EXPECT_FALSE(g.Commands.FileSave());
  EXPECT_TRUE(g.Commands.ProjectChanged());
}

TEST_F(UnsavedWorkTest, TheQuestionBeforeTheProjectGoes) {
  struct Case {
    const char* Name;
    bool Named;
    MsgResult Answer;
    std::optional<std::string> SaveAsName;  // for an unnamed project
    bool GoesOn;
    bool Saved;
  };
  const std::vector<Case> cases = {
      {"named, Да", true, MsgResult::Yes, std::nullopt, true, true},
      {"named, Нет", true, MsgResult::No, std::nullopt, true, false},
      {"named, Отмена", true, MsgResult::Cancel, std::nullopt, false, false},
      {"unnamed, Да, a name given", false, MsgResult::Yes, "new.tps", true, true},
      {"unnamed, Да, the name dialog cancelled", false, MsgResult::Yes, std::nullopt, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove(Path("new.tps"));
    EditorFixture f;
    if (c.Named) {
      SavedSample(f);
    } else {
      f.NewProject();
      f.Sample();
    }
    const std::vector<std::uint8_t> onDisk = c.Named ? ReadWholeFile(Path("plate.tps")) : std::vector<std::uint8_t>{};
    f.Sample().K[4]->X = 4;
    f.Ui.SaveName = c.SaveAsName ? std::optional<std::string>(Path(*c.SaveAsName)) : std::nullopt;
    f.Messages.Answers = {c.Answer};
    EXPECT_EQ(f.Commands.ConfirmDropProject(), c.GoesOn);
    ASSERT_EQ(f.Messages.Shown.size(), 1u);
    const ScriptedMessages::Entry& q = f.Messages.Shown[0];
    EXPECT_EQ(q.Kind, MsgKind::Question);
    EXPECT_EQ(q.Buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(q.Caption, kSaveChangesCaption);
    EXPECT_EQ(q.Text, std::string("Сохранить изменения в проекте «") + (c.Named ? "plate.tps" : "NoName.tps") + "»?");
    EXPECT_EQ(f.Commands.ProjectChanged(), !c.Saved);
    EXPECT_EQ(f.Project.Knots().KnotByIndex(4)->X, 4);  // nothing of the model is lost
    const std::string target = c.Named ? Path("plate.tps") : Path("new.tps");
    if (c.Saved) {
      EXPECT_EQ(ReadWholeFile(target), SaveProjectBytes(f.Supervisor, f.Project, f.Commands.Windows()));
    } else if (c.Named) {
      EXPECT_EQ(ReadWholeFile(target), onDisk);
    } else {
      EXPECT_FALSE(fs::exists(target));
    }
  }
  // Unchanged, or no project: nothing is asked.
  EditorFixture f;
  EXPECT_TRUE(f.Commands.ConfirmDropProject());
  SavedSample(f);
  EXPECT_TRUE(f.Commands.ConfirmDropProject());
  EXPECT_TRUE(f.Messages.Shown.empty());
}

// Да with a save that fails: the error is shown, the project stays and stays changed.
TEST_F(UnsavedWorkTest, ASaveThatFailsKeepsTheProject) {
  EditorFixture f;
  SavedSample(f);
  f.Sample().K[4]->X = 4;
  fs::remove_all(dir_);
  f.Messages.Answers = {MsgResult::Yes};
  EXPECT_FALSE(f.Commands.ConfirmDropProject());
  ASSERT_EQ(f.Messages.Shown.size(), 2u);
  EXPECT_EQ(f.Messages.Shown[1].Caption, "Ошибка");
  EXPECT_TRUE(f.Commands.ProjectChanged());
  EXPECT_EQ(f.Project.Knots().KnotByIndex(4)->X, 4);
  // New and Open do not go on either.
  f.Messages.Answers = {MsgResult::Ok, MsgResult::Yes};
  f.Ui.NewTaskAnswerScript = PlateTask();
  f.Commands.Run("acFileNew");
  EXPECT_EQ(f.Ui.NewTaskDialogs, 1);  // the first new project only
  EXPECT_EQ(f.Project.Knots().Count(), 5);
  f.Messages.Answers = {MsgResult::Yes};
  EXPECT_FALSE(f.Commands.FileOpen());
  EXPECT_EQ(f.Ui.OpenDialogs, 0);
}

TEST_F(UnsavedWorkTest, AutoSaveWritesOnlyAChangedNamedProject) {
  EditorFixture f;
  std::string failure;
  f.NewProject();
  f.Sample();
  f.Supervisor.Options.SetAutoSave(1);
  {
    // Unnamed: never, and no name is asked. "NoName.tps" would go to the working
    // folder: this test's own, empty.
    const WorkIn working(dir_);
    EXPECT_EQ(f.Commands.AutoSave(failure), AutoSaveResult::Nothing);
    EXPECT_EQ(f.Ui.SaveDialogs, 0);
    EXPECT_TRUE(fs::is_empty(dir_));
  }
  f.Ui.SaveName = Path("plate.tps");
  ASSERT_TRUE(f.Commands.FileSave());
  // Unchanged: nothing to write.
  const auto written = fs::last_write_time(Path("plate.tps"));
  EXPECT_EQ(f.Commands.AutoSave(failure), AutoSaveResult::Nothing);
  // Off: nothing, changed or not.
  f.Sample().K[4]->X = 4;
  f.Supervisor.Options.SetAutoSave(0);
  EXPECT_EQ(f.Commands.AutoSave(failure), AutoSaveResult::Nothing);
  EXPECT_EQ(fs::last_write_time(Path("plate.tps")), written);
  // On and changed: written as the Save command writes it.
  f.Supervisor.Options.SetAutoSave(1);
  EXPECT_EQ(f.Commands.AutoSave(failure), AutoSaveResult::Saved);
  EXPECT_EQ(ReadWholeFile(Path("plate.tps")), SaveProjectBytes(f.Supervisor, f.Project, f.Commands.Windows()));
  EXPECT_FALSE(f.Commands.ProjectChanged());
  EXPECT_EQ(f.Project.FileName(), Path("plate.tps"));
  // A write that fails: its reason, nothing shown, the project still changed.
  f.Sample().K[4]->X = 5;
  fs::remove_all(dir_);
  EXPECT_EQ(f.Commands.AutoSave(failure), AutoSaveResult::Failed);
  EXPECT_EQ(failure.rfind("Автосохранение проекта «plate.tps» не выполнено: ", 0), 0u) << failure;
  EXPECT_GT(failure.size(), std::string("Автосохранение проекта «plate.tps» не выполнено: ").size());
  EXPECT_TRUE(f.Messages.Shown.empty());
  EXPECT_TRUE(f.Commands.ProjectChanged());
  EXPECT_EQ(f.Ui.SaveDialogs, 1);  // the first save only
}

}  // namespace
}  // namespace tavir
