#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/cut_save.h"
#include "platform/binstream.h"
#include "platform/recording_canvas.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_fixture.h"
#include "viewer/viewer_links.h"
#include "viewer/viewer_scene.h"
#include "fakes/scripted_messages.h"
#include "scratch_folder.h"

namespace tavir {
namespace {

using viewertest::ExampleBytes;
using viewertest::RecordingStatus;

using DeskLog = viewertest::RecordingDeskHost;

// Edits the levels it is shown and answers OK.
struct EditingIsoDialog : IsoParamsDialog {
  int Calls = 0;
  bool Ok = true;
  bool Execute(TIsoParamsRec& p) override {
    ++Calls;
    p.StepCount = 4;
    p.Step = (p.MaxValue - p.MinValue) / 4;
    p.LabelStep = 2;
    return Ok;
  }
};

struct ScriptedStressDialog : StressPosDialog {
  std::optional<StressPosChoice> Answer;
  std::int32_t SawLayers = -1;
  std::optional<Fibre> SawPos;
  std::optional<StressPosChoice> Execute(std::int32_t layerCount, Fibre stressPos) override {
    SawLayers = layerCount;
    SawPos = stressPos;
    return Answer;
  }
};

struct CountingBoxes : ProgressBoxOpener {
  int Opened = 0;
  std::unique_ptr<ProgressObserver> OpenProgressBox() override {
    ++Opened;
    return std::make_unique<ProgressObserver>();
  }
};

// The two-material shell (two layers on every shell) solved, its window as view 0.
struct SolvedShell : ::testing::Test {
  ScriptedMessages messages;
  TViewerProject project{messages};
  DeskLog desks;
  TGraphWindows windows{{1024, 768}, &desks};
  ViewerScene scene{project, windows};
  CountingBoxes boxes;
  EditingIsoDialog isoDialog;
  ScriptedStressDialog stressDialog;

  void SetUp() override {
    ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("shell_two_materials.tps"), "shell.tps"));
    windows.LoadFromWindowData(*project.FirstWindow());
    windows.Items(0).Grid().ShowGrid = 0;
    RecordingStatus status;
    ASSERT_TRUE(project.StaticCalculate(status));
    project.SetProgressBoxes(&boxes);
  }
  void Repaint(const TGraphWindow& view) {
    RecordingCanvas canvas;
    DrawFailures failures;
    PaintResultView(view, scene, canvas, failures);
    EXPECT_EQ(failures.Count(), 0) << failures.First();
  }
};

TEST_F(SolvedShell, StressCommandLeavesValuesTheRepaintUsesAndKeepsTheUsersLevels) {
  stressDialog.Answer = StressPosChoice{Fibre::Lower, 1};
  ASSERT_TRUE(IsoLinesCommand(project, windows, ResultKind::Sx, isoDialog, stressDialog));
  EXPECT_EQ(stressDialog.SawLayers, 2);
  EXPECT_EQ(stressDialog.SawPos, Fibre::Upper);
  EXPECT_EQ(project.Layer(), 1);
  EXPECT_EQ(project.StressPos(), Fibre::Lower);
  EXPECT_EQ(boxes.Opened, 1);
  const TIsoParamsRec edited = project.IsoParams();
  EXPECT_EQ(edited.StepCount, 4);
  EXPECT_EQ(desks.Repainted, std::vector<DeskHandle>{windows.Items(0).WorkDesk});

  Repaint(windows.Items(0));
  Repaint(windows.Items(0));
  EXPECT_EQ(boxes.Opened, 1);  // nothing prepared again
  EXPECT_EQ(project.IsoParams(), edited);
  EXPECT_TRUE(project.IsoVisible());
}

TEST_F(SolvedShell, PreparingStressesForALayerMakesItTheProjectsLayerAndFibre) {
  // The layer and fibre of the preparation are the ones the repaint asks for.
  project.SetIsoKind(ResultKind::Sy);
  ASSERT_TRUE(project.PrepareIsoLines(1, Fibre::Lower, &isoDialog));
  EXPECT_EQ(project.Layer(), 1);
  EXPECT_EQ(project.StressPos(), Fibre::Lower);
  const TIsoParamsRec edited = project.IsoParams();
  Repaint(windows.Items(0));
  EXPECT_EQ(boxes.Opened, 1);
  EXPECT_EQ(project.IsoParams(), edited);
}

TEST_F(SolvedShell, DisplacementIsolinesKeepTheFibreForTheNextStressDialog) {
  project.SetStressPos(Fibre::Lower);
  project.SetLayer(1);
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(1, 1, 0));
  ASSERT_EQ(windows.Current(), 1);
  ASSERT_TRUE(IsoLinesCommand(project, windows, ResultKind::Wz, isoDialog, stressDialog));
  EXPECT_EQ(project.Layer(), -1);
  EXPECT_EQ(project.StressPos(), Fibre::Lower);
  EXPECT_EQ(stressDialog.SawLayers, -1);  // no stress dialog
  // View 0 is repainted, whichever view is current.
  EXPECT_EQ(desks.Repainted, std::vector<DeskHandle>{windows.Items(0).WorkDesk});
  Repaint(windows.Items(0));
  EXPECT_EQ(boxes.Opened, 1);
}

TEST_F(SolvedShell, CancellingTheStressDialogLeavesNoIsolinesAndNoRepaint) {
  project.SetLayer(1);
  stressDialog.Answer.reset();
  EXPECT_FALSE(IsoLinesCommand(project, windows, ResultKind::Txy, isoDialog, stressDialog));
  EXPECT_EQ(project.IsoKind(), ResultKind::None);
  EXPECT_EQ(project.IsoParams().Kind, ResultKind::None);
  EXPECT_EQ(project.Layer(), -1);
  EXPECT_EQ(isoDialog.Calls, 0);
  EXPECT_TRUE(desks.Repainted.empty());
  EXPECT_EQ(boxes.Opened, 0);
}

TEST(ViewerCommands, IsoKindsOfTheActions) {
  const std::pair<const char*, int> table[] = {{"Ac_IsoLineUx", 0}, {"Ac_IsoLineVy", 1}, {"Ac_IsoLineWz", 2},
                                               {"Ac_IsoLineSx", 3}, {"Ac_IsoLineSy", 4}, {"Ac_IsoLineTxy", 5},
                                               {"Ac_IsoLineRx", 6}, {"Ac_IsoLineRy", 7}};
  for (const auto& [name, kind] : table)
    EXPECT_EQ(IsoKindOfAction(name), CodeOfByte<ResultKind>(static_cast<std::uint8_t>(kind))) << name;
  EXPECT_EQ(IsoKindOfAction("Ac_IsoLineParams"), std::nullopt);
}

// ---- draw modes ----

TEST(DrawModes, BoxesFollowTheirBits) {
  const DrawModesState s = DrawModesFromFlags(0x400C, 2);
  std::vector<std::string_view> checked;
  for (std::size_t i = 0; i < kDrawModeBoxes.size(); ++i)
    if (s.Checked[i]) checked.push_back(kDrawModeBoxes[i].Name);
  EXPECT_EQ(checked, (std::vector<std::string_view>{"ChBox_Knots", "ChBox_FrameElems", "ChBox_Rests"}));
  EXPECT_EQ(s.OtherBits, 0);
  EXPECT_EQ(DrawFlagsFromModes(s), 0x400C);
  DrawModesState none = s;
  none.Checked.fill(false);
  EXPECT_EQ(DrawFlagsFromModes(none), 0);
  DrawModesState all = s;
  all.Checked.fill(true);
  EXPECT_EQ(static_cast<std::uint16_t>(DrawFlagsFromModes(all)), 0x7D0Du);
}

TEST(DrawModes, BitsWithoutABoxSurviveTheDialog) {
  // The layer zones ($200) and two bits nothing draws yet have no box.
  for (const std::uint16_t flags : {0x420Cu, 0x0200u, 0xC612u, 0xFFFFu}) {
    const DrawModesState s = DrawModesFromFlags(static_cast<std::int16_t>(flags), 1);
    EXPECT_EQ(static_cast<std::uint16_t>(DrawFlagsFromModes(s)), flags) << std::hex << flags;
    DrawModesState cleared = s;
    cleared.Checked.fill(false);
    EXPECT_EQ(static_cast<std::uint16_t>(DrawFlagsFromModes(cleared)), flags & ~0x7D0Du) << std::hex << flags;
  }
}

TEST(DrawModes, ColourCountIsShownInItsRange) {
  EXPECT_EQ(DrawModesFromFlags(0, 0).ColorCount, 1);
  EXPECT_EQ(DrawModesFromFlags(0, 1).ColorCount, 1);
  EXPECT_EQ(DrawModesFromFlags(0, 2).ColorCount, 2);
  EXPECT_EQ(DrawModesFromFlags(0, 7).ColorCount, 2);
}

struct ScriptedDrawModes : DrawModesDialog {
  std::function<void(DrawModesState&)> Edit;
  bool Ok = true;
  DrawModesState Seen;
  bool Execute(DrawModesState& s) override {
    Seen = s;
    if (Edit) Edit(s);
    return Ok;
  }
};

TEST_F(SolvedShell, DrawModesCommandSetsOutlinesFlagsAndColoursAndRepaintsEitherWay) {
  project.SetDrawFlags(0x420C);
  ScriptedDrawModes dialog;
  dialog.Edit = [](DrawModesState& s) {
    s.Checked[1] = false;  // no element outlines
    s.ColorCount = 1;
  };
  EXPECT_TRUE(DrawModesCommand(project, windows, dialog));
  EXPECT_EQ(dialog.Seen.OtherBits, 0x200);
  EXPECT_EQ(project.DrawFlags(), 0x020C);
  EXPECT_EQ(project.ColorCount(), 1);
  for (const auto& e : project.Elements().Items()) EXPECT_EQ(e->Contur, 0);
  EXPECT_EQ(desks.Repainted.size(), 1u);

  dialog.Ok = false;
  dialog.Edit = [](DrawModesState& s) { s.Checked.fill(true); };
  EXPECT_FALSE(DrawModesCommand(project, windows, dialog));
  EXPECT_EQ(project.DrawFlags(), 0x020C);
  for (const auto& e : project.Elements().Items()) EXPECT_EQ(e->Contur, 0);
  EXPECT_EQ(desks.Repainted.size(), 2u);
}

// ---- enabled states ----

TEST(ViewerCommands, ViewCommandsNeedAViewAndNothingStartsWhileBusy) {
  const ViewerCommandStatus none{false, false}, view{true, false}, busy{true, true};
  for (const std::string_view name : kViewCommands) {
    EXPECT_FALSE(ViewerCommandEnabled(name, none)) << name;
    EXPECT_TRUE(ViewerCommandEnabled(name, view)) << name;
    EXPECT_FALSE(ViewerCommandEnabled(name, busy)) << name;
  }
  for (const char* name : {"acFileOpen", "AcSolve_StaticCalculate", "Ac_IsoLineWz", "AcService_Create3D"}) {
    EXPECT_TRUE(ViewerCommandEnabled(name, none)) << name;
    EXPECT_FALSE(ViewerCommandEnabled(name, busy)) << name;
  }
  // The view-mode command is the project's own; commands without a handler do nothing anyway.
  EXPECT_TRUE(ViewerCommandEnabled("AcVMode_Viewer", busy));
  EXPECT_TRUE(ViewerCommandEnabled("acFileSave", busy));
}

TEST(ViewerCommands, StateFollowsTheViewsAndTheComputation) {
  ScriptedMessages messages;
  TViewerProject project{messages};
  TGraphWindows windows{{0, 0}};
  EXPECT_FALSE(ViewerCommandState(project, windows).HasView);
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  EXPECT_TRUE(ViewerCommandState(project, windows).HasView);
  EXPECT_FALSE(ViewerCommandState(project, windows).Busy);
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "p.tps"));
  RecordingStatus status;
  bool sawBusy = false;
  status.OnPump = [&] { sawBusy = sawBusy || ViewerCommandState(project, windows).Busy; };
  ASSERT_TRUE(project.StaticCalculate(status));
  EXPECT_TRUE(sawBusy);
}

// ---- view commands ----

TEST(ViewerCommands, GridZoomAndScaleDoNothingWithoutAView) {
  DeskLog desks;
  TGraphWindows windows{{0, 0}, &desks};
  EXPECT_FALSE(GridStyleCommand(windows, 1));
  EXPECT_FALSE(GridShowCommand(windows, true));
  EXPECT_FALSE(GridSnapCommand(windows, true));
  EXPECT_FALSE(ZoomCommand(windows, 2));
  EXPECT_FALSE(ActualSizeCommand(windows));
  EXPECT_EQ(Create3DViewCommand(windows), -1);
  EXPECT_EQ(windows.Count(), 0);
  EXPECT_TRUE(desks.Repainted.empty());
}

TEST(ViewerCommands, GridAndZoomActOnTheCurrentView) {
  DeskLog desks;
  TGraphWindows windows{{0, 0}, &desks};
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  const DeskHandle d1 = windows.Items(1).WorkDesk;
  EXPECT_TRUE(GridStyleCommand(windows, 1));
  EXPECT_EQ(windows.Items(1).Grid().Style, 1);
  EXPECT_EQ(windows.Items(0).Grid().Style, 3);
  EXPECT_TRUE(GridShowCommand(windows, false));
  EXPECT_EQ(windows.Items(1).Grid().ShowGrid, 0);
  EXPECT_TRUE(GridSnapCommand(windows, true));
  EXPECT_EQ(windows.Items(1).Grid().SnapToGrid, 1);
  // Each to the foreground; snapping repaints nothing.
  EXPECT_EQ(desks.Shown, (std::vector<DeskHandle>{d1, d1, d1}));
  EXPECT_EQ(desks.Repainted, (std::vector<DeskHandle>{d1, d1}));
  EXPECT_TRUE(ZoomCommand(windows, 2));
  EXPECT_EQ(windows.Items(1).View.Scale.X, 0.05L);
  EXPECT_TRUE(ZoomCommand(windows, -2));
  EXPECT_TRUE(ZoomCommand(windows, -2));
  EXPECT_EQ(windows.Items(1).View.Scale.X, 0.2L);
  EXPECT_TRUE(ActualSizeCommand(windows));
  EXPECT_EQ(windows.Items(1).View.Scale.X, 0.1L);
  EXPECT_EQ(desks.Repainted.size(), 6u);
}

struct ScriptedScale : ScaleDialog {
  std::optional<Extended> Answer;
  int Calls = 0;
  std::optional<Extended> Execute() override {
    ++Calls;
    return Answer;
  }
};

struct ScriptedGrid : GridParamsDialog {
  bool Ok = true;
  std::optional<Projection> SawProjection;
  TFloatPoint3D SawMax;
  int Calls = 0;
  bool Execute(TGrid& grid, const TFloatPoint3D&, const TFloatPoint3D& maxPoint, Projection projection) override {
    ++Calls;
    SawProjection = projection;
    SawMax = maxPoint;
    grid.StepX = 0.5L;
    grid.Style = 0;
    return Ok;
  }
};

TEST(ViewerCommands, ScaleAndGridDialogsNeedAViewAndActOnTheCurrentOne) {
  DeskLog desks;
  TGraphWindows windows{{0, 0}, &desks};
  ScriptedScale scale;
  ScriptedGrid grid;
  EXPECT_FALSE(ScaleCommand(windows, scale));
  EXPECT_FALSE(GridParamsCommand(windows, grid));
  EXPECT_EQ(scale.Calls + grid.Calls, 0);  // no dialog without a view

  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XZ, FloatPoint(0.1L, 0.1L), FloatPoint3D(4, 1, 2));
  const DeskHandle d = windows.Items(0).WorkDesk;
  scale.Answer = -2;
  const Extended before = windows.Items(0).View.Scale.X;
  EXPECT_TRUE(ScaleCommand(windows, scale));
  EXPECT_EQ(windows.Items(0).View.Scale.X, 2 * before);
  scale.Answer.reset();
  EXPECT_FALSE(ScaleCommand(windows, scale));
  EXPECT_EQ(windows.Items(0).View.Scale.X, 2 * before);
  EXPECT_EQ(desks.Repainted, std::vector<DeskHandle>{d});

  EXPECT_TRUE(GridParamsCommand(windows, grid));
  EXPECT_EQ(grid.SawProjection, Projection::XZ);
  EXPECT_EQ(grid.SawMax.Z, 2);
  EXPECT_EQ(windows.Items(0).Grid().StepX, 0.5L);
  EXPECT_EQ(windows.Items(0).Grid().Style, 0);
  windows.Items(0).Grid().Style = 3;
  grid.Ok = false;
  EXPECT_FALSE(GridParamsCommand(windows, grid));
  EXPECT_EQ(windows.Items(0).Grid().Style, 3);  // Cancel changes nothing
  EXPECT_EQ(desks.Shown, (std::vector<DeskHandle>{d, d}));
  EXPECT_EQ(desks.Repainted.size(), 3u);
}

TEST(ViewerCommands, Create3DMakesAWhiteViewOfViewZerosBoxShownAndRepainted) {
  DeskLog desks;
  TGraphWindows windows{{800, 600}, &desks};
  windows.AddWindow(FloatPoint3D(-1, -2, -3), 0x00C0C0, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(4, 5, 6));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.5L, 0.5L), FloatPoint3D(1, 1, 0));
  const TFloatPoint scale0 = windows.Items(0).View.Scale;
  const int i = Create3DViewCommand(windows);
  ASSERT_EQ(i, 2);
  EXPECT_EQ(windows.Current(), 2);
  const TGraphWindow& v = windows.Items(2);
  EXPECT_EQ(v.Kind(), Projection::Spatial);
  EXPECT_EQ(v.Color, 0xFFFFFFu);
  EXPECT_EQ(v.View.MinPoint.X, -1);
  EXPECT_EQ(v.View.MaxPoint.Z, 6);
  // AddWindow fits the scale to the screen from view 0's scale, as for any new view.
  TGraphWindows probe{{800, 600}};
  probe.AddWindow(FloatPoint3D(-1, -2, -3), 0xFFFFFF, Projection::Spatial, scale0, FloatPoint3D(4, 5, 6));
  EXPECT_EQ(v.View.Scale.X, probe.Items(0).View.Scale.X);
  EXPECT_EQ(desks.Cleared, std::vector<DeskHandle>{v.WorkDesk});
  EXPECT_EQ(desks.Repainted, std::vector<DeskHandle>{v.WorkDesk});
}

TEST(ViewerCommands, MouseModesSetTheCursorsOfEveryView) {
  ScriptedMessages messages;
  TViewerProject project{messages};
  DeskLog desks;
  TGraphWindows windows{{0, 0}, &desks};
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  project.SetIsoVisible(true);
  MouseModeCommand(project, windows, MouseMode::NewWindow);
  EXPECT_EQ(project.MouseMode(), MouseMode::NewWindow);
  EXPECT_TRUE(project.IsoVisible());
  EXPECT_EQ(desks.Repainted.size(), 1u);
  MouseModeCommand(project, windows, MouseMode::SectionLine);
  EXPECT_EQ(project.MouseMode(), MouseMode::SectionLine);
  EXPECT_FALSE(project.IsoVisible());
  MouseModeCommand(project, windows, MouseMode::View);
  const std::vector<std::pair<DeskHandle, int>> expected{{1, 1}, {1, 6}, {1, 0}};
  EXPECT_EQ(desks.Cursors, expected);
  EXPECT_EQ(desks.Repainted.size(), 1u);
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

// ---- opening, caption, shell information ----

struct TempFolder {
  ScratchFolder Folder{"tavir-open"};
  std::filesystem::path Path = Folder.Path();
  std::string Copy(const std::string& name) const {
    const auto to = Path / name;
    std::filesystem::copy_file(examples::ExamplePath("plate_clamped.tps"), to);
    return to.string();
  }
};

TEST(OpenCommand, TheExtensionWithItsCaseChoosesTheLoader) {
  TempFolder dir;
  ScriptedMessages messages;
  TViewerProject project{messages};
  EXPECT_EQ(MainFormCaption(project.FileName()), "Программный комплекс \"Тавир\" - расчетный модуль []");

  const std::string upper = dir.Copy("PLATE.TPS");
  EXPECT_EQ(OpenCommand(project, upper, messages), OpenOutcome::UnknownFormat);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Не определен формат файла!");
  EXPECT_EQ(messages.Shown[0].Caption, "Ошибка");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Error);
  EXPECT_EQ(project.Knots().Count(), 0);

  const std::string good = dir.Copy("plate.v2.tps");
  messages.Shown.clear();
  EXPECT_EQ(OpenCommand(project, good, messages), OpenOutcome::Project);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_GT(project.Knots().Count(), 0);
  EXPECT_EQ(MainFormCaption(project.FileName()), "Программный комплекс \"Тавир\" - расчетный модуль [plate.v2.tps]");

  // The results type reads nothing; a name without an extension (a dot only in the
  // folder) is refused; the open project stays.
  const std::int32_t knots = project.Knots().Count();
  EXPECT_EQ(OpenCommand(project, (dir.Path / "r.tpc").string(), messages), OpenOutcome::Results);
  EXPECT_EQ(OpenCommand(project, "/some.dir/plate", messages), OpenOutcome::UnknownFormat);
  EXPECT_EQ(project.Knots().Count(), knots);
  EXPECT_EQ(project.FileName(), good);
  // A missing project file: its own message, nothing opened.
  messages.Shown.clear();
  EXPECT_EQ(OpenCommand(project, (dir.Path / "missing.tps").string(), messages), OpenOutcome::NotOpened);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_NE(messages.Shown[0].Text.find("не найден"), std::string::npos);
}

// A save of a hard-linked project killed half way through the file: the
// refusal names the complete copy it left, and the copy, typed as named, opens as
// the project that was being saved.
TEST(OpenCommand, TheCopyAKilledSaveLeftOpensAsItsProject) {
  TempFolder dir;
  const std::string old = dir.Copy("old.tps");
  const std::string hard = (dir.Path / "hard.tps").string();
  std::filesystem::create_hard_link(old, hard);
  const std::vector<std::uint8_t> now = ReadWholeFile(examples::ExamplePath("plate_simply_supported.tps"));
  ASSERT_TRUE(test::SaveKilledInPlace(old, now, {2, 600}));
  const std::string copy = test::CopyLeftIn(dir.Path);
  ASSERT_FALSE(copy.empty());

  ScriptedMessages messages;
  TViewerProject project{messages};
  try {
    OpenCommand(project, hard, messages);
    ADD_FAILURE() << "the damaged file opened";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("полная копия сохранявшегося проекта лежит рядом, в файле " + copy + "."),
              std::string::npos)
        << e.what();
  }
  EXPECT_EQ(project.Knots().Count(), 0);

  EXPECT_EQ(OpenCommand(project, copy, messages), OpenOutcome::Project);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(project.FileName(), old);
  EXPECT_EQ(MainFormCaption(project.FileName()), "Программный комплекс \"Тавир\" - расчетный модуль [old.tps]");
  ScriptedMessages fresh;
  TViewerProject sample{fresh};
  ASSERT_TRUE(sample.LoadProjectFile(examples::ExamplePath("plate_simply_supported.tps")));
  EXPECT_EQ(project.Knots().Count(), sample.Knots().Count());
}

TEST(ShellInfo, RisesOfTheFirstSurface) {
  TShellFunctions none(DefaultModelFactory());
  EXPECT_EQ(ShellInfoText(none), std::nullopt);

  TShellFunctions spheres(DefaultModelFactory());
  auto sphere = std::make_unique<TEditorSphere>();
  sphere->SetParams(10, 2);
  spheres.Add(std::move(sphere));
  spheres.Add(std::make_unique<TEditorShellEP>());
  EXPECT_EQ(ShellInfoText(spheres), std::optional<std::string>("Стрела подъема f=2\r\nПролет а=10"));

  TShellFunctions paraboloids(DefaultModelFactory());
  auto ep = std::make_unique<TEditorShellEP>();
  ep->SetParams(10, 8, 1.5L, 0.25L);
  paraboloids.Add(std::move(ep));
  EXPECT_EQ(ShellInfoText(paraboloids),
            std::optional<std::string>("Стрела подъема f1=1.5\r\nСтрела подъема f2=0.25\r\nСтрела подъема f=1.75"));
}

}  // namespace
}  // namespace tavir
