#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "editor/project_io.h"
#include "editor_fixture.h"
#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "platform/binstream.h"

namespace tavir {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// ---- new task ----

TEST(NewProject, CancelledQuestionChangesNothing) {
  EditorFixture f;
  f.NewProject();
  f.Sample();
  f.Messages.Answers = {MsgResult::Cancel};
  const int captions = static_cast<int>(f.Ui.Captions.size());
  f.Commands.Run("acFileNew");
  EXPECT_EQ(f.Commands.Windows().Count(), 1);
  EXPECT_EQ(f.Project.Knots().Count(), 5);
  EXPECT_EQ(f.Ui.NewTaskDialogs, 1);  // only the first project's
  EXPECT_EQ(static_cast<int>(f.Ui.Captions.size()), captions);
}

TEST(NewProject, OkMakesWindowZeroFromTheRegionAndTheTask) {
  EditorFixture f;
  f.NewProject();
  ASSERT_EQ(f.Commands.Windows().Count(), 1);
  EXPECT_EQ(f.Ui.NewTaskShown.First.X, 0);  // the dialog is offered the 10 x 10 x 10 box
  EXPECT_EQ(f.Ui.NewTaskShown.Second.Z, 10);
  const TWorkWindow& w = f.Window().WorkWindow;
  EXPECT_EQ(w.MinPoint.X, -1);
  EXPECT_EQ(w.MaxPoint.Y, 2);
  EXPECT_EQ(w.Scale.X, 0.01L);
  EXPECT_EQ(w.Width, 500);
  EXPECT_EQ(w.Height, 300);
  EXPECT_EQ(f.Supervisor.CurrentWindow, 0);
  EXPECT_EQ(f.Supervisor.WindowCount, 1);
  EXPECT_EQ(f.Supervisor.RegionX1, -1);
  EXPECT_EQ(f.Supervisor.RegionZ2, 5);
  EXPECT_EQ(f.Supervisor.Task.Dimension, 2);
  EXPECT_EQ(f.Project.FileName(), "NoName.tps");
  EXPECT_EQ(f.Ui.Captions.back(), "Программный комплекс \"Тавир\" - редактор [NoName.tps]");
  EXPECT_EQ(f.Ui.Repaints.back(), 0);
  // The task's actions: edit mode, static, plate rectangle, plates and shells.
  const CommandSetState& s = f.Commands.State();
  EXPECT_TRUE(s.Checked("acModeEdit"));
  EXPECT_TRUE(s.Checked("acEvulStatic"));
  EXPECT_TRUE(s.Checked("acPlaneRectangle"));
  EXPECT_FALSE(s.Enabled("ac3DCube"));
  EXPECT_TRUE(s.Enabled("acPlaneRod"));
  EXPECT_TRUE(s.Enabled("acFileSave"));
  EXPECT_TRUE(s.MenuButtonEnabled("ToolBtn_MenuInput"));
  EXPECT_EQ(f.Supervisor.ElementType, ElementType::Rectangle);
}

// A cancelled new-task dialog used to leave the editor without its project: the
// windows were cleared before the dialog opened.
TEST(NewProject, CancelledDialogKeepsTheOpenProject) {
  EditorFixture f;
  f.NewProject();
  f.Sample();
  const std::vector<std::uint8_t> before = SaveProjectBytes(f.Supervisor, f.Project, f.Commands.Windows());
  const std::size_t captions = f.Ui.Captions.size();
  f.Messages.Answers = {MsgResult::Ok, MsgResult::No};  // new project: yes; save the changed one: no
  f.Commands.Run("acFileNew");  // the dialog answers Cancel
  EXPECT_EQ(f.Ui.WindowsWhenNewTaskOpened, 1);
  EXPECT_EQ(f.Commands.Windows().Count(), 1);
  EXPECT_EQ(SaveProjectBytes(f.Supervisor, f.Project, f.Commands.Windows()), before);
  EXPECT_EQ(f.Ui.Captions.size(), captions);
  EXPECT_TRUE(f.Commands.State().Enabled("acFileSave"));
}

TEST(NewProject, CancelledDialogWithoutAProjectStaysWithoutOne) {
  EditorFixture f;
  f.Commands.Run("acFileNew");
  EXPECT_EQ(f.Commands.Windows().Count(), 0);
  EXPECT_EQ(f.Ui.Captions, std::vector<std::string>{"Программный комплекс \"Тавир\" - редактор [нет проекта]"});
  EXPECT_EQ(f.Supervisor.CurrentWindow, -1);
  EXPECT_FALSE(f.Commands.State().Enabled("acFileSave"));
  EXPECT_FALSE(f.Commands.State().MenuButtonEnabled("ToolBtn_MenuEdit"));
  EXPECT_FALSE(f.Commands.State().Bar(kBarInputMode).Visible);
}

// New in a load mode used to run the mode's first step on a window that no longer
// existed, and left the load dialog open.
TEST(NewProject, NewInALoadModeLeavesItFirst) {
  for (const char* mode : {"acForceConcentrate", "acForceDispersion"}) {
    SCOPED_TRACE(mode);
    EditorFixture f;
    f.NewProject();
    SampleModel& m = f.Sample();
    f.Commands.Run(mode);
    ASSERT_TRUE(f.Ui.LoadOpen);
    f.Project.Knots().Select(m.K[0], nullptr);
    f.Project.Elements().Select(m.Shell, nullptr);
    f.Ui.NewTaskAnswerScript = PlateTask();
    f.Messages.Answers = {MsgResult::Ok, MsgResult::No};  // new project: yes; save the changed one: no
    f.Commands.Run("acFileNew");  // FakeUi fails the test on a canvas of a window that is not there
    EXPECT_FALSE(f.Ui.LoadOpen);
    EXPECT_TRUE(f.Project.Knots().Selection().empty());
    EXPECT_TRUE(f.Project.Elements().Selection().empty());
    EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::Edit);
    EXPECT_FALSE(f.Commands.State().Checked("acForceConcentrate"));
    EXPECT_FALSE(f.Commands.State().Checked("acForceDispersion"));
    EXPECT_TRUE(f.Commands.State().Checked("acModeEdit"));
    EXPECT_EQ(f.Commands.Windows().Count(), 1);
  }
}

TEST(NewProject, NoTaskLeavesALoadModeAndAnEmptyCollectionHasNoCurrentWindow) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Commands.Run("acForceConcentrate");
  f.Project.Knots().Select(m.K[1], nullptr);
  f.Commands.Windows().Clear();
  EXPECT_EQ(f.Supervisor.CurrentWindow, -1);
  EXPECT_EQ(f.Commands.CurrentEditWindow(), nullptr);
  EXPECT_EQ(f.Commands.CurrentCanvas(), nullptr);
  f.Commands.Run("acNoTask");
  EXPECT_FALSE(f.Ui.LoadOpen);
  EXPECT_TRUE(f.Project.Knots().Selection().empty());
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::Edit);
}

// ---- open and save ----

using FileCommandsTest = TempFolderTest;

// A file that could not be opened used to switch the command set to the task
// state all the same.
TEST_F(FileCommandsTest, AFailedOpenChangesNothing) {
  EditorFixture f;
  const std::string bad = Path("bad.tps");
  WriteFileAtomic(bad, std::vector<std::uint8_t>{2, 0, 0, 0, 1, 2, 3});
  for (const std::string& name : {Path("missing.tps"), bad}) {
    SCOPED_TRACE(name);
    f.Messages.Shown.clear();
    f.Ui.OpenName = name;
    EXPECT_FALSE(f.Commands.FileOpen());
    ASSERT_EQ(f.Messages.Shown.size(), 1u);
    EXPECT_FALSE(f.Commands.State().Enabled("acFileSave"));  // still no project
    EXPECT_FALSE(f.Commands.State().MenuButtonEnabled("ToolBtn_MenuEdit"));
    EXPECT_EQ(f.Commands.Windows().Count(), 0);
    EXPECT_TRUE(f.Ui.Captions.empty());
  }
  EXPECT_EQ(f.Messages.Shown.back().Kind, MsgKind::Error);
  EXPECT_EQ(f.Messages.Shown.back().Text, "Формат файла не соответствует проекту!");

  // With a project open, a bad file leaves it, its windows and its caption.
  f.NewProject();
  f.Sample();
  f.Commands.Run("acModeKnot");
  const std::vector<std::uint8_t> before = SaveProjectBytes(f.Supervisor, f.Project, f.Commands.Windows());
  const std::size_t captions = f.Ui.Captions.size();
  f.Ui.OpenName = bad;
  f.Messages.Answers = {MsgResult::No};  // the changed project need not be saved first
  const int openDialogs = f.Ui.OpenDialogs;
  EXPECT_FALSE(f.Commands.FileOpen());
  EXPECT_EQ(f.Ui.OpenDialogs, openDialogs + 1);  // the bad file was tried
  EXPECT_EQ(SaveProjectBytes(f.Supervisor, f.Project, f.Commands.Windows()), before);
  EXPECT_EQ(f.Ui.Captions.size(), captions);
  EXPECT_TRUE(f.Commands.State().Checked("acModeKnot"));  // ApplyTaskActions did not run
}

TEST_F(FileCommandsTest, OpenSaveAndSaveAs) {
  EditorFixture f;
  f.NewProject();
  f.Sample();
  // Save right after a new task asks for a name.
  const std::string path = Path("модель.tps");
  f.Ui.SaveName = path;
  EXPECT_TRUE(f.Commands.FileSave());
  EXPECT_EQ(f.Ui.SaveDialogs, 1);
  EXPECT_EQ(f.Project.FileName(), path);
  EXPECT_EQ(f.Ui.Captions.back(), "Программный комплекс \"Тавир\" - редактор [модель.tps]");
  // Afterwards it saves without a dialog.
  EXPECT_TRUE(f.Commands.FileSave());
  EXPECT_EQ(f.Ui.SaveDialogs, 1);

  EditorFixture g;
  g.Ui.OpenName = path;
  ASSERT_TRUE(g.Commands.FileOpen());
  EXPECT_EQ(g.Project.Knots().Count(), 5);
  EXPECT_EQ(g.Commands.Windows().Count(), 1);
  EXPECT_EQ(g.Ui.Captions.back(), "Программный комплекс \"Тавир\" - редактор [модель.tps]");
  EXPECT_TRUE(g.Commands.State().Enabled("acFileSave"));
  EXPECT_TRUE(g.Commands.State().Checked("acModeEdit"));
  EXPECT_TRUE(g.Commands.State().Checked("acPlaneRectangle"));
}

// Save As used to name the project and set the caption before saving, so a
// failed save left the project under a name it was never saved as.
TEST_F(FileCommandsTest, SaveAsNamesTheProjectOnlyAfterASave) {
  EditorFixture f;
  f.NewProject();
  const std::size_t captions = f.Ui.Captions.size();
  f.Ui.SaveName = Path("нет/new.tps");
  EXPECT_FALSE(f.Commands.FileSaveAs());
  EXPECT_EQ(f.Project.FileName(), "NoName.tps");
  EXPECT_EQ(f.Ui.Captions.size(), captions);
  ASSERT_EQ(f.Messages.Shown.size(), 1u);
  EXPECT_EQ(f.Messages.Shown[0].Caption, "Ошибка");

  // An existing file: the question names it; Cancel writes nothing.
  const std::string old = Path("old.tps");
  WriteFileAtomic(old, std::vector<std::uint8_t>{7});
  f.Ui.ExistingFiles.insert(old);
  f.Ui.SaveName = old;
  f.Messages.Answers = {MsgResult::Cancel};
  EXPECT_FALSE(f.Commands.FileSaveAs());
  EXPECT_EQ(f.Messages.Shown.back().Text, "Файл " + old + " уже существует!\r\nЗаменить файл?");
  EXPECT_EQ(f.Messages.Shown.back().Caption, "Сохранение файла");
  EXPECT_EQ(ReadWholeFile(old), std::vector<std::uint8_t>{7});
  EXPECT_EQ(f.Project.FileName(), "NoName.tps");
  EXPECT_TRUE(f.Commands.FileSaveAs());  // OK this time
  EXPECT_EQ(f.Project.FileName(), old);
  EXPECT_GT(ReadWholeFile(old).size(), 1u);
}

// ---- modes ----

TEST(ModeCommands, LeavingAPointLoadModeDropsItsPicksAndTheDialog) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Supervisor.SetDefConcForce(Force(1, 2, 3, 4, 5, 6));
  f.Commands.Run("acForceConcentrate");
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::ConcentratedLoad);
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::Pick);
  ASSERT_EQ(f.Ui.LoadForces.size(), 1u);
  EXPECT_EQ(f.Ui.LoadForces[0].Mz, 6);
  f.Project.Knots().Select(m.K[2], nullptr);
  f.Commands.Run("acModeFrame");
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::ElementInput);
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::ByFrame);
  EXPECT_TRUE(f.Project.Knots().Selection().empty());
  EXPECT_FALSE(f.Ui.LoadOpen);
  for (auto a : kModeActions) EXPECT_EQ(f.Commands.State().Checked(a), a == "acModeFrame") << a;
  // The element-input commands leave the cursors as they were.
  EXPECT_EQ(f.Host.Cursors.at(f.Window().WorkDesk()), DeskCursor::SetForce);

  // Point to distributed keeps the dialog and gives it the other load.
  f.Commands.Run("acForceConcentrate");
  f.Supervisor.SetDefDispForce(Force(9, 0, 0, 0, 0, 0));
  f.Commands.Run("acForceDispersion");
  EXPECT_TRUE(f.Ui.LoadOpen);
  EXPECT_EQ(f.Ui.LoadForces.back().Px, 9);
  EXPECT_EQ(f.Host.Cursors.at(f.Window().WorkDesk()), DeskCursor::SetDispForce);
}

TEST(ModeCommands, SupportsGoToEverySelectedKnot) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Commands.Run("AcRests_RestXYZ");
  EXPECT_EQ(f.Commands.RestButtonAction(), "AcRests_RestXYZ");
  for (int i : {1, 2, 3}) f.Project.Knots().Select(m.K[i], nullptr);
  f.Commands.Run("acInput_Rest");
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::Supports);
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::Supports);
  for (int i : {1, 2, 3}) {
    const std::int32_t at = f.Project.Supports().IndexOfKnot(m.K[i]);
    ASSERT_GE(at, 0) << i;
    EXPECT_EQ(f.Project.Supports().At(at)->Fixation, (TFixation{1, 1, 1, 0, 0, 0}));
  }
  EXPECT_TRUE(f.Project.Knots().Selection().empty());
  // None selected: only the modes.
  const std::int32_t supports = f.Project.Supports().Count();
  f.Commands.Run("acInput_Rest");
  EXPECT_EQ(f.Project.Supports().Count(), supports);
}

TEST(ModeCommands, FrameSelectionDecidesTheInputMode) {
  EditorFixture f;
  f.NewProject();
  f.Commands.Run("AcEdit_SelectFrame");
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::FrameSelection);
  f.Commands.Run("acModeEdit");
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::FrameSelection);
  EXPECT_EQ(f.Host.Cursors.at(f.Window().WorkDesk()), DeskCursor::Cross);
  f.Commands.Run("AcEdit_SelectFrame");
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::Pick);
  f.Commands.Run("acModeNet");
  f.Commands.Run("AcEdit_SelectFrame");
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::ByGrid);  // element input keeps its input mode
  f.Commands.Run("acEditor_SetSurface");
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::ShellSurface);
  for (auto a : kModeActions) EXPECT_FALSE(f.Commands.State().Checked(a)) << a;
}

// The input commands used to assume a current window.
TEST(ModeCommands, EveryCommandRunsWithoutAWindow) {
  EditorFixture f;
  SampleModel m(f.Project);
  f.Project.Knots().Select(m.K[0], nullptr);
  f.Project.Elements().Select(m.Plate, nullptr);
  for (const ActionInfo& a : EditorActions()) {
    const std::string name(a.Name);
    if (name == "acFileNew" || name == "acFileOpen" || name == "acFileSave" || name == "acFileSaveAs" ||
        name == "acFileExit")
      continue;  // dialogs of their own
    SCOPED_TRACE(name);
    f.Messages.Answers = {MsgResult::Cancel};
    EXPECT_TRUE(f.Commands.Run(name));
    EXPECT_EQ(f.Commands.Windows().Count(), 0);
  }
  EXPECT_FALSE(f.Commands.Run("acNoSuchThing"));
}

TEST(ModeCommands, LoadsApplyToTheSelection) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Supervisor.SetDefConcForce(Force(0, 0, -5, 0, 0, 0));
  f.Project.Knots().Select(m.K[0], nullptr);
  f.Project.Knots().Select(m.K[1], nullptr);
  f.Commands.Run("acForce_ConcApply");
  EXPECT_EQ(GetForce(f.Project.ConcForces(), m.K[0]).Pz, -5);
  EXPECT_EQ(GetForce(f.Project.ConcForces(), m.K[1]).Pz, -5);
  EXPECT_TRUE(f.Project.Knots().Selection().empty());
  f.Supervisor.SetDefDispForce(Force(0, 0, 0, 0, 0, 0));
  f.Project.Elements().Select(m.Plate, nullptr);
  f.Commands.Run("AcForce_DispApply");  // a zero load removes the plate's
  EXPECT_EQ(GetForce(f.Project.DispForces(), m.Plate).Pz, 0);
  EXPECT_EQ(f.Project.DispForces().Count(), 0);
}

// ---- windows and grid ----

// The grid marks set after a new window was added used to run the style commands,
// which set the style of the window that was current before.
TEST(WindowCommands, AddingAShownWindowSetsTheGridMarksOnly) {
  EditorFixture f;
  f.NewProject();
  f.Commands.Run("acNetLine");
  ASSERT_EQ(f.Window(0).Grid().Style, 2);
  f.Window(0).Grid().SetSnapToGrid(0);
  const int added =
      f.Commands.Windows().AddWindow(FloatPoint3D(1, 1, 1), FloatPoint3D(0, 0, 0), Projection::XY, FloatPoint(0.01L, 0.01L), 0xFFFFFF, true);
  EXPECT_EQ(added, 1);
  EXPECT_EQ(f.Window(0).Grid().Style, 2);
  EXPECT_EQ(f.Window(0).Grid().SnapToGrid, 0);
  EXPECT_TRUE(f.Commands.State().Checked("acNetDot"));  // the new window's dots
  EXPECT_FALSE(f.Commands.State().Checked("acNetLine"));
  EXPECT_TRUE(f.Commands.State().Checked("acModeSnapGrid"));
}

TEST(WindowCommands, NextAndPreviousWrapAndDeleteAllKeepsTheMain) {
  EditorFixture f;
  f.NewProject();
  for (int i = 0; i < 2; ++i)
    f.Commands.Windows().AddWindow(FloatPoint3D(1, 1, 1), FloatPoint3D(0, 0, 0), Projection::YZ, FloatPoint(0.01L, 0.01L), 0, false);
  f.Commands.Run("acWinPred");
  EXPECT_EQ(f.Supervisor.CurrentWindow, 2);
  f.Commands.Run("acWinNext");
  EXPECT_EQ(f.Supervisor.CurrentWindow, 0);
  f.Commands.Run("acWinDelAll");
  EXPECT_EQ(f.Commands.Windows().Count(), 1);
  EXPECT_EQ(f.Supervisor.WindowCount, 1);
  EXPECT_EQ(f.Supervisor.CurrentWindow, 0);
  EXPECT_FALSE(f.Commands.State().Enabled("acWinDel"));
  f.Commands.Run("acWinNew");
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::NewWindow);
  EXPECT_TRUE(f.Commands.State().Enabled("acWinDelAll"));
}

// A desk that comes forward sets the cursors and grid marks when it becomes the
// active window; one that was active already (or that the window system does not
// let become active) must not be left with the old ones.
TEST(WindowCommands, ShownWindowsAndTheNewWindowModeSetMarksAndCursorsThemselves) {
  EditorFixture f;
  f.NewProject();
  const int other = f.Commands.Windows().AddWindow(FloatPoint3D(1, 1, 1), FloatPoint3D(0, 0, 0), Projection::YZ,
                                                   FloatPoint(0.01L, 0.01L), 0, false);
  f.Commands.Windows().Items(other).Grid().SetStyle(2);
  f.Commands.Windows().Items(other).Grid().SetShowGrid(0);
  // The main window's status bar shown, the other's hidden.
  f.Ui.StatusBars[0] = true;
  f.Ui.StatusBars[other] = false;
  f.Commands.Run("acWinNext");
  ASSERT_EQ(f.Supervisor.CurrentWindow, other);
  EXPECT_FALSE(f.Commands.State().Checked("acViewStatusBar"));
  EXPECT_TRUE(f.Commands.State().Checked("acNetLine"));
  EXPECT_FALSE(f.Commands.State().Checked("acNetDot"));
  EXPECT_FALSE(f.Commands.State().Checked("acModeShowGrid"));
  f.Commands.Run("acWinMain");
  EXPECT_TRUE(f.Commands.State().Checked("acViewStatusBar"));
  EXPECT_TRUE(f.Commands.State().Checked("acNetDot"));
  EXPECT_TRUE(f.Commands.State().Checked("acModeShowGrid"));
  f.Commands.Run("acWinPred");
  ASSERT_TRUE(f.Commands.State().Checked("acNetLine"));
  EXPECT_FALSE(f.Commands.State().Checked("acViewStatusBar"));
  f.Commands.Run("acWinDelAll");
  EXPECT_EQ(f.Supervisor.CurrentWindow, 0);
  EXPECT_TRUE(f.Commands.State().Checked("acNetDot"));
  EXPECT_TRUE(f.Commands.State().Checked("acModeShowGrid"));

  f.Commands.Run("acWinNew");
  for (int i = 0; i < f.Commands.Windows().Count(); ++i)
    EXPECT_EQ(f.Host.Cursors[f.Commands.Windows().Items(i).WorkDesk()], DeskCursor::NewWindow) << i;
}

// The surface list may add, change or delete surfaces: the current window shows
// the list as it is left, not only once its desk is activated again.
TEST(WindowCommands, TheSurfaceListRepaintsTheCurrentWindow) {
  EditorFixture f;
  f.NewProject();
  f.Ui.Repaints.clear();
  f.Commands.Run("AcFormat_Shells");
  EXPECT_EQ(f.Dialogs.ShellListCalls, 1);
  EXPECT_EQ(f.Ui.Repaints, std::vector<int>{0});
}

TEST(WindowCommands, GridCommandsActOnTheCurrentWindow) {
  EditorFixture f;
  f.NewProject();
  f.Commands.Run("acNetCross");
  EXPECT_EQ(f.Window().Grid().Style, 1);
  EXPECT_TRUE(f.Commands.State().Checked("acNetCross"));
  f.Commands.Run("acModeShowGrid");
  EXPECT_EQ(f.Window().Grid().ShowGrid, 0);
  EXPECT_FALSE(f.Commands.State().Checked("acModeShowGrid"));
  f.Commands.Run("acModeSnapGrid");
  EXPECT_EQ(f.Window().Grid().SnapToGrid, 0);
}

// ---- selection, delete, format, service ----

TEST(EditCommands, DeleteByWorkMode) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Commands.Run("acInput_Rest");
  f.Project.Elements().Select(m.Plate, nullptr);
  f.Commands.Run("acEditDelete");  // supports mode: nothing
  EXPECT_EQ(f.Project.Elements().Count(), 2);
  f.Commands.Run("acForceConcentrate");
  f.Project.Knots().Select(m.K[2], nullptr);
  f.Commands.Run("acEditDelete");
  EXPECT_EQ(f.Project.ConcForces().Count(), 0);
  EXPECT_TRUE(f.Project.Knots().Selection().empty());
  f.Commands.Run("acModeEdit");
  f.Project.Elements().Select(m.Plate, nullptr);
  f.Commands.Run("acEditDelete");
  EXPECT_EQ(f.Project.Elements().Count(), 1);
  f.Commands.Run("AcEdit_SelectAll");
  EXPECT_EQ(f.Project.Elements().Selection().size(), 1u);
  EXPECT_EQ(f.Project.Knots().Selection().size(), 4u);  // the plate's own knot went with it
  f.Commands.Run("AcEdit_ClearSelection");
  EXPECT_TRUE(f.Project.Knots().Selection().empty());
}

TEST(FormatCommands, SeveralElementsEachGetTheirOwnLayers) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Project.Elements().Select(m.Plate, nullptr);
  f.Project.Elements().Select(m.Shell, nullptr);
  f.Dialogs.ElementHandler = [](TMaterials& mats, ElementKind, const ElementDialogValues& start) {
    ElementDialogValues v;
    v.Layers.CopyFrom(start.Layers);
    v.Layers.AddLayerByName("Новый", mats.Material(0))->SetThickness(0.02L);
    v.Kx = 0.5L;
    v.Ky = 0.25L;
    v.Kxy = 0.125L;
    return std::optional<ElementDialogValues>(std::move(v));
  };
  f.Ui.Repaints.clear();
  f.Commands.Run("acFormatElement");
  EXPECT_EQ(f.Ui.Repaints, std::vector<int>{0});  // the elements shown in their new brush
  // The questions, then the warning once, for the shell.
  ASSERT_EQ(f.Messages.Shown.size(), 3u);
  EXPECT_EQ(f.Messages.Shown[0].Text, kManyElementsQuestion);
  EXPECT_EQ(f.Messages.Shown[1].Text, kApplyToAllQuestion);
  EXPECT_EQ(f.Messages.Shown[2].Text, kDifferentKindsText);
  ASSERT_EQ(f.Dialogs.ElementCalls.size(), 1u);
  EXPECT_EQ(f.Dialogs.ElementCalls[0].ElemKind, ElementKind::Shell);  // the last selected
  EXPECT_EQ(m.Shell->Kx, 0.5L);
  EXPECT_EQ(m.Shell->Kxy, 0.125L);
  ASSERT_EQ(m.Plate->Layers.Count(), 3);
  ASSERT_EQ(m.Shell->Layers.Count(), 3);
  for (std::int32_t i = 0; i < 3; ++i) EXPECT_NE(m.Plate->Layers.Layer(i), m.Shell->Layers.Layer(i)) << i;
  m.Plate->Layers.Layer(2)->SetThickness(1);
  EXPECT_EQ(m.Shell->Layers.Layer(2)->Thickness, 0.02L);
}

// One element's properties: the window shows the element anew after OK only.
TEST(FormatCommands, OneElementIsShownAnewAfterOk) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Project.Elements().Select(m.Plate, nullptr);
  const std::int32_t layers = m.Plate->Layers.Count();
  f.Ui.Repaints.clear();
  f.Commands.Run("acFormatElement");  // no handler: the dialog is cancelled
  EXPECT_TRUE(f.Ui.Repaints.empty());
  f.Dialogs.ElementHandler = [](TMaterials& mats, ElementKind, const ElementDialogValues& start) {
    ElementDialogValues v;
    v.Layers.CopyFrom(start.Layers);
    v.Layers.AddLayerByName("Новый", mats.Material(0));
    return std::optional<ElementDialogValues>(std::move(v));
  };
  f.Commands.Run("acFormatElement");
  EXPECT_EQ(m.Plate->Layers.Count(), layers + 1);
  EXPECT_EQ(f.Ui.Repaints, std::vector<int>{0});
}

TEST(FormatCommands, NoSelectionEditsTheDefaultLayers) {
  EditorFixture f;
  f.NewProject();
  f.Dialogs.ElementHandler = [](TMaterials& mats, ElementKind kind, const ElementDialogValues& start) {
    EXPECT_EQ(kind, ElementKind::Shell);
    ElementDialogValues v;
    v.Layers.CopyFrom(start.Layers);
    v.Layers.AddLayerByName("Тело", mats.Material(0));
    return std::optional<ElementDialogValues>(std::move(v));
  };
  f.Commands.Run("acFormatElement");
  EXPECT_EQ(f.Messages.Shown[0].Text, kNoElementSelectedQuestion);
  EXPECT_EQ(f.Supervisor.DefLayers.Count(), 1);
}

TEST(ServiceCommands, BandOptimisationReportsBeforeAndAfter) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  // Shell knots 0..3 numbered with knot 4 between them: band (4 + 1) x 5.
  f.Project.Knots().SortItems([&](const auto& a, const auto& b) {
    auto rank = [&](const TEditorKnot* k) { return k == m.K[4] ? 1 : k == m.K[0] ? 0 : 2; };
    return rank(a.get()) < rank(b.get());
  });
  const BandOptimisation r = f.Commands.ServiceOptimize();
  EXPECT_EQ(r.Before, 25);
  EXPECT_EQ(r.ByX, 20);  // X order: 0, 1, 3, 2, 4
  EXPECT_EQ(r.ByY, 25);  // Y order: 0, 3, 4, 1, 2
  EXPECT_FALSE(r.KeptY);
  EXPECT_EQ(r.After, 20);
  EXPECT_EQ(f.Project.Knots().At(1), m.K[1]);
  EXPECT_EQ(f.Project.Knots().At(4), m.K[4]);
  ASSERT_EQ(f.Messages.Shown.size(), 1u);
  EXPECT_EQ(f.Messages.Shown[0].Caption, "Оптимизация");
  EXPECT_EQ(f.Messages.Shown[0].Kind, MsgKind::Information);
  EXPECT_EQ(f.Messages.Shown[0].Buttons, MsgButtons::Ok);
  EXPECT_EQ(f.Messages.Shown[0].Text, "Лента до оптимизации: 25\r\nЛента после оптимизации: 20");
  EXPECT_EQ(f.Ui.Progress.front(), "ranges 2 4");
  EXPECT_EQ(f.Ui.Progress.back(), "close");
  EXPECT_EQ(std::count(f.Ui.Progress.begin(), f.Ui.Progress.end(), "step total"), 4);
}

TEST(ServiceCommands, EqualBandsKeepTheXOrder) {
  TVelEditorProject p;
  TEditorKnot* k0 = p.Knots().AddKnot(0, 0, 0);
  TEditorKnot* k2 = p.Knots().AddKnot(2, 1, 0);
  TEditorKnot* k1 = p.Knots().AddKnot(0, 1, 0);
  TEditorKnot* k3 = p.Knots().AddKnot(2, 0, 0);
  auto shell = p.Factory()->MakeShell(ElementType::Rectangle, p.Materials().Material(0));
  shell->Knots = {k0, k1, k2, k3};
  p.Elements().Add(std::move(shell));
  const BandOptimisation r = OptimiseBand(p, nullptr);
  EXPECT_EQ(r.ByX, 20);
  EXPECT_EQ(r.ByY, 20);
  EXPECT_FALSE(r.KeptY);
  // X order: (0, 0), (0, 1), (2, 0), (2, 1).
  EXPECT_EQ(p.Knots().At(1), k1);
  EXPECT_EQ(p.Knots().At(2), k3);
  EXPECT_EQ(BandOptimisationText(r), "Лента до оптимизации: 20\r\nЛента после оптимизации: 20");
}

TEST(Materials, NewElementsTakeTheCurrentMaterialWhileItExists) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Supervisor.SetMaterialIndex(1);
  EXPECT_EQ(f.Commands.MaterialForNewElements(), m.Concrete);
  f.Supervisor.SetMaterialIndex(7);
  EXPECT_EQ(f.Commands.MaterialForNewElements(), m.Steel);
  f.Supervisor.SetMaterialIndex(-1);
  EXPECT_EQ(f.Commands.MaterialForNewElements(), m.Steel);
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

using namespace testing;

// The supervisor's modes, the checked mode command and the cursor after each mode
// command (with frame selection off and on).
TEST(ModeCommands, ModesChecksAndCursorsOfEveryModeCommand) {
  struct Case {
    const char* action;
    bool selectFrame;
    std::uint8_t work, input;
    const char* checked;  // nullptr: none of the eight
    DeskCursor cursor;
  };
  const Case cases[] = {
      {"acModeEdit", false, 0, 0, "acModeEdit", DeskCursor::Arrow},
      {"acModeEdit", true, 0, 5, "acModeEdit", DeskCursor::Cross},
      {"acModeKnot", false, 1, 1, "acModeKnot", DeskCursor::Arrow},  // cursor left as it was
      {"acModeNet", false, 1, 2, "acModeNet", DeskCursor::Arrow},
      {"acModeFrame", false, 1, 3, "acModeFrame", DeskCursor::Arrow},
      {"acInput_Rest", false, 2, 4, "acInput_Rest", DeskCursor::SetRest},
      {"acForceConcentrate", false, 5, 0, "acForceConcentrate", DeskCursor::SetForce},
      {"acForceConcentrate", true, 5, 5, "acForceConcentrate", DeskCursor::SetForce},
      {"acForceDispersion", false, 4, 0, "acForceDispersion", DeskCursor::SetDispForce},
      {"acForceDispersion", true, 4, 5, "acForceDispersion", DeskCursor::SetDispForce},
      {"acDisplacement", false, 6, 0, "acDisplacement", DeskCursor::Arrow},
      {"acEditor_SetSurface", false, 11, 0, nullptr, DeskCursor::SetSurface},
      {"acWinNew", false, 3, 0, "acModeEdit", DeskCursor::NewWindow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.action) + (c.selectFrame ? " with frame" : ""));
    EditorFixture f;
    f.NewProject();
    if (c.selectFrame) f.Commands.Run("AcEdit_SelectFrame");
    f.Commands.Run("acModeEdit");
    f.Commands.Run(c.action);
    EXPECT_EQ(CodeByte(f.Supervisor.WorkMode), c.work);
    EXPECT_EQ(CodeByte(f.Supervisor.InputMode), c.input);
    for (auto a : kModeActions) EXPECT_EQ(f.Commands.State().Checked(a), c.checked != nullptr && a == c.checked) << a;
    EXPECT_EQ(f.Host.Cursors.at(f.Window().WorkDesk()), c.cursor);
    EXPECT_EQ(f.Ui.LoadOpen, c.work == 4 || c.work == 5);
  }
}

TEST(ModeCommands, TheLoadDialogsApplyGoesByTheWorkMode) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  f.Commands.Run("acForceConcentrate");
  f.Project.Knots().Select(m.K[1], nullptr);
  f.Commands.LoadDialogApplied(Force(0, 0, -3, 0, 0, 0));
  EXPECT_EQ(f.Supervisor.DefConcForce.Pz, -3);
  EXPECT_EQ(GetForce(f.Project.ConcForces(), m.K[1]).Pz, -3);
  f.Commands.Run("acForceDispersion");
  f.Project.Elements().Select(m.Shell, nullptr);
  f.Commands.LoadDialogApplied(Force(0, 0, -4, 0, 0, 0));
  EXPECT_EQ(f.Supervisor.DefDispForce.Pz, -4);
  EXPECT_EQ(GetForce(f.Project.DispForces(), m.Shell).Pz, -4);
  f.Commands.Run("acModeEdit");
  f.Commands.LoadDialogApplied(Force(1, 1, 1, 1, 1, 1));
  EXPECT_EQ(f.Supervisor.DefConcForce.Pz, -3);
  EXPECT_EQ(f.Supervisor.DefDispForce.Pz, -4);
}

// An applied point load is drawn into the window at once (its arrow pictures),
// not only at the next repaint.
TEST(ModeCommands, AnAppliedPointLoadIsDrawnAtOnce) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  RecordingCanvas& canvas = f.Ui.Canvases[0];
  f.Commands.Run("acForceConcentrate");
  f.Project.Knots().Select(m.K[1], nullptr);
  canvas.Calls.clear();
  f.Commands.LoadDialogApplied(Force(0, 0, -3, 0, 0, 0));
  EXPECT_FALSE(canvas.CallsOf(CanvasOp::Image).empty()) << "no arrow drawn";
}

// Apply hands on only what the dialog shows: a knot's own Mz (from a file) stays.
TEST(ModeCommands, ApplyKeepsEachKnotsOwnMz) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  SetForce(f.Project.ConcForces(), m.K[1], Force(0, 0, 0, 0, 0, 7));
  f.Commands.Run("acForceConcentrate");
  f.Project.Knots().Select(m.K[1], nullptr);
  f.Project.Knots().Select(m.K[2], nullptr);
  f.Commands.LoadDialogApplied(Force(0, 0, -3, 0, 0, 0));
  EXPECT_EQ(GetForce(f.Project.ConcForces(), m.K[1]).Mz, 7);
  EXPECT_EQ(GetForce(f.Project.ConcForces(), m.K[1]).Pz, -3);
  EXPECT_EQ(GetForce(f.Project.ConcForces(), m.K[2]).Mz, 0);
  EXPECT_EQ(GetForce(f.Project.ConcForces(), m.K[2]).Pz, -3);
}

TEST(DialogCommands, GridSettingsPanelsAndInformation) {
  EditorFixture f;
  f.NewProject();
  f.Sample();
  // Grid dialog: the window's grid in, the answer back with its marks.
  TGrid g;
  g.Style = 3;
  g.ShowGrid = 0;
  g.SnapToGrid = 1;
  g.StepX = 0.25L;
  f.Ui.GridScript = g;
  f.Commands.Run("acNetParametr");
  EXPECT_EQ(f.Ui.GridShown.StepX, 0.5L);
  EXPECT_EQ(f.Ui.GridProjection, Projection::XY);
  EXPECT_EQ(f.Window().Grid().StepX, 0.25L);
  EXPECT_TRUE(f.Commands.State().Checked("acNetOther"));
  EXPECT_FALSE(f.Commands.State().Checked("acModeShowGrid"));
  f.Ui.GridScript.reset();
  f.Commands.Run("acNetParametr");  // Cancel
  EXPECT_EQ(f.Window().Grid().StepX, 0.25L);

  // Settings: copies in, back only on OK.
  SettingsAnswer a;
  a.Options.Assign(f.Supervisor.Options);
  a.Options.UserKind = 2;
  a.Task.Assign(f.Supervisor.Task);
  a.Task.Precision = 0.5L;
  f.Ui.SettingsScript = a;
  f.Commands.Run("acServiceParam");
  EXPECT_EQ(f.Supervisor.Options.UserKind, 2);
  EXPECT_EQ(f.Supervisor.Task.Precision, 0.5L);

  // Panels: the stored states on OK.
  std::array<bool, kEditorBarCount> bars{};
  bars[kBarMainMenu] = bars[kBarGrid] = true;
  f.Ui.PanelsScript = bars;
  const bool tempsShown = f.Commands.State().Bar(kBarTemps).Visible;
  f.Commands.Run("acViewPanels");
  EXPECT_EQ(f.Ui.PanelsShown[kBarTemps], tempsShown);
  EXPECT_TRUE(f.Ui.PanelsShown[kBarStandart]);
  EXPECT_FALSE(f.Commands.State().Bar(kBarStandart).Visible);
  EXPECT_FALSE(f.Commands.State().Checked("acPanelStandart"));
  EXPECT_TRUE(f.Commands.State().Bar(kBarGrid).Visible);
  f.Commands.Run("acPanelStandart");  // a switch flips its bar
  EXPECT_TRUE(f.Commands.State().Bar(kBarStandart).Visible);
  EXPECT_TRUE(f.Commands.State().Checked("acPanelStandart"));

  f.Commands.Run("acViewStatusBar");
  EXPECT_TRUE(f.Commands.State().Checked("acViewStatusBar"));
  f.Commands.Run("acViewStatusBar");
  EXPECT_FALSE(f.Commands.State().Checked("acViewStatusBar"));

  f.Project.SetFileName("/tmp/папка/модель.tps");
  f.Commands.Run("acHelpProjectInfo");
  ASSERT_EQ(f.Ui.Infos.size(), 1u);
  EXPECT_EQ(f.Ui.Infos[0].FileName, "модель.tps");
  EXPECT_EQ(f.Ui.Infos[0].Knots, 5);
  EXPECT_EQ(f.Ui.Infos[0].Elements, 2);
  f.Commands.Run("acWinList");
  f.Commands.Run("AcFormat_Shells");
  EXPECT_EQ(f.Ui.Dialogs, std::vector<std::string>{"acWinList"});
  EXPECT_EQ(f.Dialogs.ShellListCalls, 1);
}

}  // namespace
}  // namespace tavir
