#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/recording_canvas.h"
#include "viewer/result_desk.h"
#include "viewer/viewer_fixture.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_links.h"
#include "viewer/viewer_scene.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using viewertest::ExampleBytes;
using viewertest::RecordingStatus;

using DeskLog = viewertest::RecordingDeskHost;
using viewertest::NoSurface;

// The GUI's part: the command set by name and the grid commands' check marks.
struct GuiHooks : ResultViewsHooks {
  using ResultViewsHooks::ResultViewsHooks;
  std::vector<std::string> Actions;
  std::vector<GridActionFlags> Grids;
  void RunAction(const std::string& name) override { Actions.push_back(name); }
  void SyncGridActions(const TGrid& grid) override { Grids.push_back(GridActionChecks(grid)); }
};

struct Linked : ::testing::Test {
  ScriptedMessages messages;
  TViewerProject project{messages};
  DeskLog desks;
  TGraphWindows windows{{1024, 768}, &desks};
  ViewerScene scene{project, windows};
  GuiHooks hooks{windows, scene};
  void SetUp() override { project.SetHooks(&hooks); }
};

TEST_F(Linked, OpeningReplacesTheViewsAndShowsViewZeroClearedAfterTheViewMode) {
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  desks.Log.clear();
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "p.tps"));
  EXPECT_EQ(hooks.Actions, std::vector<std::string>{kViewerModeAction});
  EXPECT_EQ(desks.Log, (std::vector<std::string>{"destroy 2", "destroy 1", "create 3", "cleared 3"}));
  ASSERT_EQ(windows.Count(), 1);
  EXPECT_EQ(windows.Current(), 0);
  const AnalysisWindowData& stored = *project.FirstWindow();
  EXPECT_EQ(windows.Items(0).View.MaxPoint.X, stored.View.MaxPoint.X);
  EXPECT_EQ(windows.Items(0).Color, stored.Color);
}

TEST_F(Linked, ClearHidesTheSectionLineAndRunsTheViewMode) {
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "p.tps"));
  scene.Line.SetByPoints(FloatPoint(0, 0), FloatPoint(1, 1));
  scene.Line.SetFlag(true);
  hooks.Actions.clear();
  ASSERT_TRUE(project.Clear());
  EXPECT_FALSE(scene.Line.Shown);
  EXPECT_EQ(hooks.Actions, std::vector<std::string>{kViewerModeAction});
}

TEST_F(Linked, ComputationsRepaintEveryDesk) {
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "p.tps"));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::Spatial, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 1));
  desks.Log.clear();
  RecordingStatus status;
  ASSERT_TRUE(project.StaticCalculate(status));
  EXPECT_EQ(desks.Log, (std::vector<std::string>{"repaint 1", "repaint 2"}));
}

TEST_F(Linked, ActivatingADeskSetsItsStatusCaptionAndTheGridChecks) {
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "p.tps"));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  windows.Items(0).Grid().Style = 2;
  windows.Items(0).Grid().SnapToGrid = 1;
  NoSurface surface;
  ResultDesk desk0(windows, windows.Items(0).WorkDesk, scene, scene, surface, messages);
  ResultDesk desk1(windows, windows.Items(1).WorkDesk, scene, scene, surface, messages);

  project.SetIsoKind(ResultKind::Wz);
  project.SetDrawFlags(static_cast<std::int16_t>(kViewDrawDefault | kViewDrawIsolines));
  desks.Log.clear();
  desk0.Activate();
  EXPECT_EQ(windows.Current(), 0);
  const std::string d0 = std::to_string(windows.Items(0).WorkDesk);
  const std::string d1 = std::to_string(windows.Items(1).WorkDesk);
  EXPECT_EQ(desks.Log, std::vector<std::string>{"status " + d0 + " 1 Изолинии перемещений вдоль оси Z"});
  ASSERT_EQ(hooks.Grids.size(), 1u);
  EXPECT_EQ(hooks.Grids[0], (GridActionFlags{true, true, std::array<bool, 4>{false, false, true, false}}));

  // Without the isoline flag the panel is emptied; quantity 8 leaves it alone.
  project.SetDrawFlags(kViewDrawDefault);
  desks.Log.clear();
  desk1.Activate();
  EXPECT_EQ(windows.Current(), 1);
  EXPECT_EQ(desks.Log, std::vector<std::string>{"status " + d1 + " 1 "});
  EXPECT_EQ(hooks.Grids.back(), (GridActionFlags{true, false, std::array<bool, 4>{false, false, false, true}}));
  project.SetDrawFlags(static_cast<std::int16_t>(kViewDrawDefault | kViewDrawIsolines));
  project.SetIsoKind(ResultKind::None);
  desks.Log.clear();
  desk0.Activate();
  EXPECT_TRUE(desks.Log.empty());
  EXPECT_EQ(hooks.Grids.size(), 3u);
}

TEST_F(Linked, ASectionGestureMakesAViewWhoseDeskIsMadeAndShownThenViewMode) {
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("shell_two_materials.tps"), "s.tps"));
  RecordingStatus status;
  ASSERT_TRUE(project.StaticCalculate(status));
  NoSurface surface;
  ResultDesk desk(windows, windows.Items(0).WorkDesk, scene, scene, surface, messages);
  RecordingCanvas canvas;
  desk.Repaint(canvas);  // screen points of the plan
  MouseModeCommand(project, windows, MouseMode::SectionLine);
  desks.Log.clear();
  const TGraphWindow& plan = windows.Items(0);
  const TPoint a = plan.ModelToScreen(FloatPoint(0, 0.5L));
  const TPoint b = plan.ModelToScreen(FloatPoint(4, 0.5L));
  desk.MouseDown(MouseButton::Left, a.X, a.Y);
  desk.MouseMove(b.X, b.Y);
  desk.MouseUp(MouseButton::Left, b.X, b.Y);
  ASSERT_EQ(windows.Count(), 2);
  EXPECT_EQ(windows.Items(1).Kind(), Projection::XZ);
  const std::string d0 = std::to_string(windows.Items(0).WorkDesk);
  const std::string d1 = std::to_string(windows.Items(1).WorkDesk);
  // Made with the section cursor of the mode, shown, then every view back to the default cursor.
  const std::vector<std::string> expected{"create " + d1, "cursor " + d1 + " 6", "show " + d1, "cursor " + d0 + " 0",
                                          "cursor " + d1 + " 0"};
  EXPECT_EQ(desks.Log, expected);
  EXPECT_EQ(project.MouseMode(), MouseMode::View);
  EXPECT_TRUE(scene.Line.Shown);
}

// ---- the two-bar progress box ----

struct BarLog : ProgressObserver {
  std::vector<std::string> Events;
  void SetBar(long long p, long long m) override { Bar.emplace_back(p, m); }
  void SetBar2(long long p, long long m) override {
    Events.push_back("bar2 " + std::to_string(p) + "/" + std::to_string(m));
  }
  void SetLabel(const std::string& t) override { Events.push_back("label " + t); }
  void SetLabel2(const std::string& t) override { Events.push_back("label2 " + t); }
  void Pump() override { Events.push_back("pump"); }
  std::vector<std::pair<long long, long long>> Bar;
};

// Each box writes into a log of its own, which outlives the box.
struct Boxes : ProgressBoxOpener {
  struct Box : ProgressObserver {
    explicit Box(BarLog& log) : Log(log) {}
    BarLog& Log;
    void SetBar(long long p, long long m) override { Log.SetBar(p, m); }
    void SetBar2(long long p, long long m) override { Log.SetBar2(p, m); }
    void SetLabel(const std::string& t) override { Log.SetLabel(t); }
    void SetLabel2(const std::string& t) override { Log.SetLabel2(t); }
    void Pump() override { Log.Pump(); }
  };
  std::deque<BarLog> Logs;
  int Opened = 0;
  std::unique_ptr<ProgressObserver> OpenProgressBox() override {
    ++Opened;
    return std::make_unique<Box>(Logs.emplace_back());
  }
  const BarLog& Last() const { return Logs.back(); }
};

TEST_F(Linked, KnotValuesRunBothBarsOfTheBox) {
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("shell_two_materials.tps"), "s.tps"));
  RecordingStatus status;
  ASSERT_TRUE(project.StaticCalculate(status));
  BarLog log;
  ASSERT_TRUE(project.PrepareKnotValues(ResultKind::Sx, 0, Fibre::Upper, &log));
  const std::vector<std::string> expected{"bar2 0/100",
                                          "label2 Нормальные напряжения по оси X (Sx)",
                                          "label Подготовка узлов для отрисовки изолиний",
                                          "pump",
                                          "bar2 50/100",
                                          "pump",
                                          "label Подготовка данных для отрисовки изолиний",
                                          "pump",
                                          "bar2 100/100"};
  EXPECT_EQ(log.Events, expected);
  // The upper bar: 0..100, then over the 8 elements, then over the 15 knots.
  const long long elements = project.Elements().Count();
  const long long knots = project.Knots().Count();
  ASSERT_EQ(log.Bar.size(), static_cast<std::size_t>(1 + 1 + elements + 1 + knots));
  EXPECT_EQ(log.Bar.front(), (std::pair<long long, long long>{0, 100}));
  EXPECT_EQ(log.Bar[1], (std::pair<long long, long long>{0, elements}));
  EXPECT_EQ(log.Bar[static_cast<std::size_t>(1 + elements)], (std::pair<long long, long long>{elements, elements}));
  EXPECT_EQ(log.Bar.back(), (std::pair<long long, long long>{knots, knots}));
}

TEST_F(Linked, ARepaintThatPreparesOpensTheBoxOnceAndOnlyThen) {
  Boxes boxes;
  project.SetProgressBoxes(&boxes);
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("shell_two_materials.tps"), "s.tps"));
  RecordingStatus status;
  ASSERT_TRUE(project.StaticCalculate(status));
  project.SetIsoKind(ResultKind::Wz);
  project.SetIsoVisible(true);
  project.SetDrawFlags(static_cast<std::int16_t>(kViewDrawDefault | kViewDrawIsolines));
  RecordingCanvas canvas;
  DrawFailures failures;
  PaintResultView(windows.Items(0), scene, canvas, failures);
  EXPECT_EQ(failures.Count(), 0) << failures.First();
  ASSERT_EQ(boxes.Opened, 1);
  EXPECT_EQ(boxes.Last().Events.front(), "bar2 0/100");
  EXPECT_EQ(boxes.Last().Events.back(), "bar2 100/100");
  PaintResultView(windows.Items(0), scene, canvas, failures);
  EXPECT_EQ(boxes.Opened, 1);

  // The thickness averages of a section view: one box over elements and knots.
  windows.AddWindow(FloatPoint3D(0, 0, -1), 0xFFFFFF, Projection::XZ, FloatPoint(0.01L, 0.01L), FloatPoint3D(4, 2, 1));
  PaintResultView(windows.Items(1), scene, canvas, failures);
  ASSERT_EQ(boxes.Opened, 2);
  const auto& bar = boxes.Last().Bar;
  const long long elements = project.Elements().Count();
  const long long knots = project.Knots().Count();
  ASSERT_EQ(bar.size(), static_cast<std::size_t>(1 + elements + 1 + knots));
  EXPECT_EQ(bar[static_cast<std::size_t>(elements)], (std::pair<long long, long long>{elements, elements}));
  EXPECT_EQ(bar.back(), (std::pair<long long, long long>{knots, knots}));
  PaintResultView(windows.Items(1), scene, canvas, failures);
  EXPECT_EQ(boxes.Opened, 2);
}

}  // namespace
}  // namespace tavir
