#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <limits>
#include <vector>

#include "platform/recording_canvas.h"
#include "viewer/graph_windows.h"
#include "viewer/viewer_fixture.h"

namespace tavir {
namespace {

// Desks numbered from 100, so a handle is never mistaken for an index.
struct FakeDeskHost : viewertest::RecordingDeskHost {
  FakeDeskHost() : RecordingDeskHost(100) {}
};

TEST(GraphWindows, NewPlanViewIsFittedToTheScreen) {
  TGraphWindows windows({1024, 768});
  const int i = windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::XY, FloatPoint(0.01L, 0.01L),
                                  FloatPoint3D(10, 10, 10));
  ASSERT_EQ(i, 0);
  EXPECT_EQ(windows.Current(), 0);
  const TGraphWindow& w = windows.Items(0);
  // 1000 pixels is not below 768 high: Scale.Y stays; 1000 < 1024 wide: sU = 10/1024.
  EXPECT_EQ(w.View.Scale.X, 10.0L / 1024);
  EXPECT_EQ(w.View.Scale.Y, 10.0L / 1024);
  EXPECT_EQ(w.SavedScale.X, 10.0L / 1024);
  EXPECT_EQ(w.Width(), 1024);
  EXPECT_EQ(w.Height(), 1024);
  // Grid defaults of a new view.
  EXPECT_EQ(w.Grid().ShowGrid, 1);
  EXPECT_EQ(w.Grid().SnapToGrid, 0);
  EXPECT_EQ(w.Grid().StepX, 1.0L);
  EXPECT_EQ(w.Grid().Style, 3);
  EXPECT_EQ(w.Grid().Place, 1);
  EXPECT_EQ(w.Grid().Color, 0x8000u);
  EXPECT_NE(w.WorkDesk, 0u);
}

TEST(GraphWindows, SectionYZKeepsItsAxesApartAndOtherKindsShareTheFinerScale) {
  TGraphWindows windows({1000, 500});
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::YZ, FloatPoint(0.01L, 0.01L), FloatPoint3D(1, 4, 1));
  const TGraphWindow& yz = windows.Items(0);
  EXPECT_EQ(yz.View.Scale.X, 4.0L / 1000);
  EXPECT_EQ(yz.View.Scale.Y, 1.0L / 500);
  EXPECT_EQ(yz.Width(), 1000);
  EXPECT_EQ(yz.Height(), 500);
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XZ, FloatPoint(0.01L, 0.01L), FloatPoint3D(4, 1, 1));
  const TGraphWindow& xz = windows.Items(1);
  EXPECT_EQ(xz.View.Scale.X, 1.0L / 500);
  EXPECT_EQ(xz.Width(), 2000);
  EXPECT_EQ(xz.Height(), 500);
}

TEST(GraphWindows, DegenerateBoxesAndScalesNeverDivideByZero) {
  TGraphWindows windows({1024, 768});
  // No height at all (a flat section box) and a zero scale: the axis keeps the
  // default scale and has no pixels.
  windows.AddWindow(FloatPoint3D(0, 0, 3), 0, Projection::XZ, FloatPoint(0, -1), FloatPoint3D(10, 0, 3));
  const TGraphWindow& w = windows.Items(0);
  EXPECT_TRUE(std::isfinite(w.View.Scale.X) && w.View.Scale.X > 0);
  EXPECT_TRUE(std::isfinite(w.View.Scale.Y) && w.View.Scale.Y > 0);
  EXPECT_EQ(w.Height(), 0);
  EXPECT_GT(w.Width(), 0);
  const TPoint p = w.ModelToScreen(FloatPoint(5, 3));
  EXPECT_EQ(p.Y, 0);
  // A NaN box: nothing is fitted, nothing overflows.
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  windows.AddWindow(FloatPoint3D(nan, 0, 0), 0, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(1, 1, 1));
  EXPECT_EQ(windows.Items(1).View.Scale.X, 1.0L / 768);  // only the sound axis is fitted
  EXPECT_EQ(windows.Items(1).Height(), 768);
  // A 3-D view of a box without extent maps without dividing.
  windows.AddWindow(FloatPoint3D(1, 1, 1), 0, Projection::Spatial, FloatPoint(0.01L, 0.01L), FloatPoint3D(1, 1, 1));
  EXPECT_EQ(windows.Items(2).ModelToScreen(FloatPoint(7, 7)), (TPoint{0, windows.Items(2).Height()}));
}

TEST(GraphWindows, ATinyScaleIsCoarsenedToTheLargestPicture) {
  TGraphWindows windows({0, 0});
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(1e-12L, 1e-12L), FloatPoint3D(10, 10, 0));
  const TGraphWindow& w = windows.Items(0);
  EXPECT_LE(w.Width(), kMaxPictureSide);
  EXPECT_GE(w.Width(), kMaxPictureSide - 1);
  EXPECT_GT(w.View.Scale.X, 1e-12L);
}

TEST(GraphWindows, ZoomActualSizeAndTheCap) {
  TGraphWindows windows({0, 0});
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(10, 5, 0));
  TGraphWindow& w = windows.Items(0);
  EXPECT_EQ(w.Width(), 1000);
  EXPECT_EQ(w.Height(), 1000);  // a new plan view is square
  ASSERT_TRUE(w.Zoom(2));
  EXPECT_EQ(w.View.Scale.X, 0.005L);
  EXPECT_EQ(w.View.Scale.Y, 0.005L);
  EXPECT_EQ(w.Width(), 2000);
  EXPECT_EQ(w.Height(), 1000);  // zoom sizes each axis by its own extent
  EXPECT_EQ(w.SavedScale.X, 0.01L);
  ASSERT_TRUE(w.Zoom(-2));
  ASSERT_TRUE(w.Zoom(-2));
  EXPECT_EQ(w.View.Scale.X, 0.02L);
  ASSERT_TRUE(w.Zoom(0));
  EXPECT_EQ(w.View.Scale.X, 0.02L);
  ASSERT_TRUE(w.ActualSize());
  EXPECT_EQ(w.View.Scale.X, 0.01L);
  EXPECT_EQ(w.Width(), 1000);
  // A zoom that would pass the largest picture is refused, the view unchanged.
  EXPECT_FALSE(w.Zoom(1e9L));
  EXPECT_EQ(w.View.Scale.X, 0.01L);
  EXPECT_EQ(w.Width(), 1000);
  EXPECT_FALSE(w.Zoom(std::numeric_limits<Extended>::infinity()));
  EXPECT_EQ(w.View.Scale.X, 0.01L);
}

TEST(GraphWindows, TransformsOfEveryKind) {
  TGraphWindows windows({0, 0});
  windows.AddWindow(FloatPoint3D(1, 2, 3), 0, Projection::XY, FloatPoint(0.5L, 0.5L), FloatPoint3D(11, 12, 13));
  const TGraphWindow& plan = windows.Items(0);
  ASSERT_EQ(plan.Height(), 20);
  EXPECT_EQ(plan.ModelToScreen(FloatPoint(1, 2)), (TPoint{0, 20}));  // MinY is the bottom row
  EXPECT_EQ(plan.ModelToScreen(FloatPoint(6, 7)), (TPoint{10, 10}));
  const TFloatPoint back = plan.ScreenToModel({10, 10});
  EXPECT_EQ(back.X, 6);
  EXPECT_EQ(back.Y, 7);

  windows.AddWindow(FloatPoint3D(1, 2, 3), 0, Projection::YZ, FloatPoint(0.5L, 0.5L), FloatPoint3D(11, 12, 13));
  const TGraphWindow& yz = windows.Items(1);
  EXPECT_EQ(yz.ModelToScreen(FloatPoint(2, 3)), (TPoint{0, yz.Height()}));
  EXPECT_EQ(yz.ScreenToModel({0, yz.Height()}).X, 2);  // u is Y

  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::Spatial, FloatPoint(0.5L, 0.5L), FloatPoint3D(10, 10, 10));
  TGraphWindow& d3 = windows.Items(2);
  // The default angles and centre project the centre to the plane's origin.
  const TFloatPoint o = d3.Project3D(FloatPoint3D(-10, 4, 4));
  EXPECT_NEAR(static_cast<double>(o.X), 0, 1e-15);
  EXPECT_NEAR(static_cast<double>(o.Y), 0, 1e-15);
  // A 3-D view stretches its box over the picture and has no inverse.
  d3.View.Width = 200;
  d3.View.Height = 100;
  EXPECT_EQ(d3.ModelToScreen(FloatPoint(5, 5)), (TPoint{100, 50}));
  EXPECT_EQ(d3.ScreenToModel({3, 3}).X, 0);
  EXPECT_EQ(plan.ModelToScreen3D(FloatPoint3D(1, 1, 1)), (TPoint{0, 0}));
  // Rotation by (200°, 270°) of a unit offset along X.
  const TFloatPoint3D r = d3.RotatePoint(FloatPoint3D(-9, 4, 4));
  const Extended a1 = 200 * kViewPi / 180;
  EXPECT_NEAR(static_cast<double>(r.X), static_cast<double>(-std::sin(a1)), 1e-15);
  EXPECT_NEAR(static_cast<double>(r.Z), static_cast<double>(-(-1 * std::cos(a1))), 1e-15);
}

TEST(GraphWindows, SnappingFollowsTheGridAndSkipsZeroSteps) {
  TGraphWindows windows({0, 0});
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(10, 10, 0));
  TGraphWindow& w = windows.Items(0);
  w.Grid().StepX = 0.5L;
  w.Grid().StepY = 0;
  const TFloatPoint s = w.SnapToGrid(FloatPoint(1.3L, 1.3L));
  EXPECT_EQ(s.X, 1.5L);
  EXPECT_EQ(s.Y, 1.3L);  // a zero step leaves the axis as it is
  // Pixels to model, snapped only when the grid snaps.
  auto [a, b] = w.ScreenPointsToModel({130, 0}, {0, 0});
  EXPECT_NEAR(static_cast<double>(a.X), 1.3, 1e-12);
  w.Grid().SnapToGrid = 1;
  std::tie(a, b) = w.ScreenPointsToModel({130, 0}, {0, 0});
  EXPECT_EQ(a.X, 1.5L);
}

TEST(GraphWindows, ClearViewPaintsBackgroundThenGrid) {
  TGraphWindows windows({0, 0});
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0x00FF00, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(2, 2, 0));
  TGraphWindow& w = windows.Items(0);
  RecordingCanvas c;
  c.Pen.Color = 0x111111;
  w.ClearView(c);
  ASSERT_FALSE(c.Calls.empty());
  EXPECT_EQ(c.Calls[0].Op, CanvasOp::Rectangle);
  EXPECT_EQ(c.Calls[0].Points[0], (TPoint{-1, -1}));
  EXPECT_EQ(c.Calls[0].Points[1], (TPoint{20, 20}));
  EXPECT_EQ(c.Calls[0].Brush.Color, 0x00FF00u);
  EXPECT_EQ(c.Calls[0].Pen.Style, PenStyle::Clear);
  // Circles at every unit node of [0, 2]²: 3 x 3.
  EXPECT_EQ(c.CallsOf(CanvasOp::Ellipse).size(), 9u);
  EXPECT_EQ(c.Pen.Color, 0x111111u);

  struct Case {
    const char* what;
    Extended step;
    std::uint8_t show;
  };
  for (const Case& k : {Case{"zero step", 0, 1}, Case{"negative step", -1, 1}, Case{"finer than a pixel", 1e-9L, 1},
                        Case{"hidden", 1, 0}}) {
    w.Grid().StepX = w.Grid().StepY = k.step;
    w.Grid().ShowGrid = k.show;
    c.Clear();
    w.ClearView(c);
    EXPECT_EQ(c.Calls.size(), 1u) << k.what;
  }
  // A 3-D view has no grid.
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::Spatial, FloatPoint(0.1L, 0.1L), FloatPoint3D(2, 2, 2));
  c.Clear();
  windows.Items(1).ClearView(c);
  EXPECT_EQ(c.Calls.size(), 1u);
}

TEST(GraphWindows, CollectionDesksCursorsAndNoView) {
  FakeDeskHost host;
  TGraphWindows windows({0, 0}, &host);
  EXPECT_EQ(windows.CurrentWindow(), nullptr);
  EXPECT_FALSE(windows.ZoomCurrent(2));  // no view: the commands do nothing
  EXPECT_FALSE(windows.ActualSizeCurrent());
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  const DeskHandle d0 = windows.Items(0).WorkDesk;
  const DeskHandle d1 = windows.Items(1).WorkDesk;
  EXPECT_NE(d0, d1);
  EXPECT_EQ(windows.IndexOfDesk(d1), 1);
  EXPECT_EQ(windows.IndexOfDesk(999), -1);
  EXPECT_EQ(windows.WindowOfDesk(999), nullptr);
  windows.SetCurrentDesk(d0);
  EXPECT_EQ(windows.Current(), 0);
  EXPECT_FALSE(windows.ShowWindow(5));
  EXPECT_TRUE(host.Shown.empty());
  EXPECT_TRUE(windows.ShowWindow(1));
  EXPECT_EQ(host.Shown, std::vector<DeskHandle>{d1});
  EXPECT_EQ(d0, 100u);
  EXPECT_EQ(windows.Current(), 1);
  EXPECT_TRUE(windows.ZoomCurrent(2));
  EXPECT_EQ(windows.Items(1).View.Scale.X, 0.05L);
  EXPECT_EQ(windows.Items(0).View.Scale.X, 0.1L);
  EXPECT_TRUE(windows.ActualSizeCurrent());
  EXPECT_EQ(windows.Items(1).View.Scale.X, 0.1L);
  windows.SetModeCursor(MouseMode::SectionLine);
  windows.SetModeCursor(MouseMode::NewWindow);
  windows.SetModeCursor(MouseMode::View);
  const std::vector<std::pair<DeskHandle, int>> expected{{d0, 6}, {d1, 6}, {d0, 1}, {d1, 1}, {d0, 0}, {d1, 0}};
  EXPECT_EQ(host.Cursors, expected);
  RecordingCanvas c;
  windows.ClearDesk(999, c);
  EXPECT_TRUE(c.Calls.empty());
  windows.FreeAll();
  EXPECT_EQ(windows.Count(), 0);
  EXPECT_EQ(windows.CurrentWindow(), nullptr);
}

TEST(GraphWindows, EveryViewHasItsDeskFromCreationToFreeing) {
  FakeDeskHost host;
  {
    TGraphWindows windows({1024, 768}, &host);
    windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
    windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(2, 2, 0));
    windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(3, 3, 0));
    // The host is asked once the view has its picture size, and the handle is its own.
    EXPECT_EQ(host.CreatedWidths, (std::vector<std::int32_t>{1024, 1024, 1024}));
    EXPECT_EQ(windows.Items(0).WorkDesk, 100u);
    EXPECT_EQ(windows.Items(2).WorkDesk, 102u);
    EXPECT_EQ(windows.IndexOfDesk(101), 1);
    // Nothing is shown by making a view.
    EXPECT_TRUE(host.Shown.empty());
    EXPECT_TRUE(host.Cleared.empty());

    // Views are freed from the last to the first, each with its desk.
    windows.FreeAll();
    EXPECT_EQ(host.Destroyed, (std::vector<DeskHandle>{102, 101, 100}));
    EXPECT_TRUE(host.Alive.empty());

    // Opening a project replaces the views: the old desks go, view 0 gets a new one.
    windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
    windows.LoadFromWindowData(AnalysisWindowData{});
    EXPECT_EQ(host.Destroyed.back(), 103u);
    EXPECT_EQ(host.Alive, std::vector<DeskHandle>{104});
  }
  // The collection's end frees the last desks too.
  EXPECT_TRUE(host.Alive.empty());
}

TEST(GraphWindows, ShowDeskClearsWithoutChangingTheCurrentViewAndRepaintsGoToTheDesks) {
  FakeDeskHost host;
  TGraphWindows windows({0, 0}, &host);
  EXPECT_FALSE(windows.RepaintCurrent());
  EXPECT_FALSE(windows.ShowDesk(0));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  windows.SetCurrent(1);
  EXPECT_TRUE(windows.ShowDesk(0));
  EXPECT_FALSE(windows.ShowDesk(2));
  EXPECT_FALSE(windows.ShowDesk(-1));
  EXPECT_EQ(host.Cleared, std::vector<DeskHandle>{100});
  EXPECT_TRUE(host.Shown.empty());
  EXPECT_EQ(windows.Current(), 1);
  EXPECT_TRUE(windows.RepaintCurrent());
  EXPECT_TRUE(windows.RepaintView(0));
  EXPECT_FALSE(windows.RepaintView(7));
  windows.RepaintAll();
  EXPECT_EQ(host.Repainted, (std::vector<DeskHandle>{101, 100, 100, 101}));
  EXPECT_TRUE(windows.SetDeskStatusText(101, 1, "x"));
  EXPECT_FALSE(windows.SetDeskStatusText(55, 1, "y"));
  EXPECT_EQ(host.Status, (std::vector<std::pair<DeskHandle, std::string>>{{101, "1:x"}}));
}

// A closed window is hidden, its view kept: it is never the one the commands act
// on. Closing the current one makes the shown view that was current last current.
TEST(GraphWindows, ClosingTheCurrentWindowMakesAShownOneCurrentOrNone) {
  struct Host : FakeDeskHost {
    std::vector<DeskHandle> Hidden;
    bool DeskShown(DeskHandle d) const override { return std::find(Hidden.begin(), Hidden.end(), d) == Hidden.end(); }
    void Close(TGraphWindows& w, DeskHandle d) {
      w.DeskClosed(d);  // told while the window is still up, as the close event does
      Hidden.push_back(d);
    }
  } host;
  TGraphWindows windows({0, 0}, &host);
  for (int i = 0; i < 4; ++i)
    windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  const auto desk = [&](int i) { return windows.Items(i).WorkDesk; };
  windows.SetCurrent(2);
  windows.SetCurrentDesk(desk(1));
  windows.ShowWindow(3);
  // A window that is not current closes without changing the current view.
  host.Close(windows, desk(0));
  EXPECT_EQ(windows.Current(), 3);
  EXPECT_FALSE(windows.Shown(0));
  // The current one: the shown view made current last (1, not 2 or the hidden 0).
  host.Close(windows, desk(3));
  EXPECT_EQ(windows.Current(), 1);
  EXPECT_EQ(windows.CurrentWindow(), &windows.Items(1));
  host.Close(windows, desk(1));
  EXPECT_EQ(windows.Current(), 2);
  host.Close(windows, desk(2));
  EXPECT_EQ(windows.Current(), -1);
  EXPECT_EQ(windows.CurrentWindow(), nullptr);
  host.Repainted.clear();
  EXPECT_FALSE(windows.ZoomCurrent(2));
  EXPECT_FALSE(windows.RepaintCurrent());
  EXPECT_TRUE(host.Repainted.empty());
  EXPECT_EQ(windows.Items(2).View.Scale.X, 0.1L);

  // A current view whose window went without a close (hidden otherwise) is no
  // current window either; showing it again brings it back.
  host.Hidden.clear();
  windows.SetCurrent(2);
  host.Hidden.push_back(desk(2));
  EXPECT_EQ(windows.CurrentWindow(), nullptr);
  EXPECT_FALSE(windows.Shown(7));
  host.Hidden.clear();
  EXPECT_EQ(windows.CurrentWindow(), &windows.Items(2));
}

TEST(GraphWindows, AViewMadeDuringAGestureGetsTheCursorOfTheMouseMode) {
  FakeDeskHost host;
  TGraphWindows windows({0, 0}, &host);
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  EXPECT_TRUE(host.Cursors.empty());  // the default cursor needs no call
  windows.SetModeCursor(MouseMode::SectionLine);
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XZ, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 1));
  const std::vector<std::pair<DeskHandle, int>> expected{{100, 6}, {101, 6}};
  EXPECT_EQ(host.Cursors, expected);
  windows.SetModeCursor(MouseMode::View);
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  EXPECT_EQ(host.Cursors.size(), 4u);
}

TEST(GraphWindows, AHostThatCannotMakeADeskLeavesTheCollectionAsItWas) {
  struct Failing : FakeDeskHost {
    DeskHandle CreateDesk(const TGraphWindow&) override { throw std::runtime_error("нет окна"); }
  } host;
  TGraphWindows windows({0, 0}, &host);
  EXPECT_THROW(
      windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0)),
      std::runtime_error);
  EXPECT_EQ(windows.Count(), 0);
  EXPECT_EQ(windows.CurrentWindow(), nullptr);
}

TEST(GraphWindows, GridActionChecksFollowTheGrid) {
  struct Case {
    std::uint8_t show, snap, style;
    GridActionFlags expected;
  };
  const Case cases[] = {
      {1, 0, 0, {true, false, std::array<bool, 4>{true, false, false, false}}},
      {0, 1, 1, {false, true, std::array<bool, 4>{false, true, false, false}}},
      {1, 1, 2, {true, true, std::array<bool, 4>{false, false, true, false}}},
      {0, 0, 3, {false, false, std::array<bool, 4>{false, false, false, true}}},
      {1, 0, 4, {true, false, std::nullopt}},  // another style changes none of the four
  };
  for (const Case& c : cases) {
    TGrid g;
    g.ShowGrid = c.show;
    g.SnapToGrid = c.snap;
    g.Style = c.style;
    EXPECT_EQ(GridActionChecks(g), c.expected) << int(c.style);
  }
}

TEST(GraphWindows, ViewZeroFromTheStoredWindow) {
  TGraphWindows windows({1024, 768});
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(1, 1, 0));
  AnalysisWindowData data;
  data.View.MinPoint = FloatPoint3D(-1, -2, -3);
  data.View.MaxPoint = FloatPoint3D(4, 5, 6);
  data.View.Scale = FloatPoint(0.02L, 0.03L);
  data.View.Projection = Projection::YZ;
  data.View.Width = 350;
  data.View.Height = 300;
  data.View.Grid.StepX = 0.25L;
  data.Color = 0x00C0C0;
  windows.LoadFromWindowData(data);
  ASSERT_EQ(windows.Count(), 1);
  EXPECT_EQ(windows.Current(), 0);
  const TGraphWindow& w = windows.Items(0);
  EXPECT_EQ(w.Kind(), Projection::YZ);
  EXPECT_EQ(w.View.MinPoint.Y, -2);
  EXPECT_EQ(w.View.MaxPoint.Z, 6);
  EXPECT_EQ(w.View.Scale.Y, 0.03L);
  EXPECT_EQ(w.SavedScale.Y, 0.03L);
  EXPECT_EQ(w.Width(), 350);
  EXPECT_EQ(w.Height(), 300);
  EXPECT_EQ(w.Color, 0x00C0C0u);
  EXPECT_EQ(w.Grid().StepX, 0.25L);

  // A damaged record: scales that cannot divide become the default, sizes stay sane.
  data.View.Scale = FloatPoint(0, -5);
  data.View.Width = -7;
  data.View.Height = 1 << 30;
  windows.LoadFromWindowData(data);
  const TGraphWindow& d = windows.Items(0);
  EXPECT_EQ(d.View.Scale.X, kDefaultViewScale);
  EXPECT_EQ(d.View.Scale.Y, kDefaultViewScale);
  EXPECT_EQ(d.SavedScale.X, kDefaultViewScale);
  EXPECT_EQ(d.Width(), 0);
  EXPECT_EQ(d.Height(), kMaxPictureSide);
}

TEST(GraphWindows, KnotsProjectAndTestVisibilityPerKind) {
  TGraphWindows windows({0, 0});
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.1L, 0.1L), FloatPoint3D(10, 10, 10));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XZ, FloatPoint(0.1L, 0.1L), FloatPoint3D(10, 10, 10));
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::Spatial, FloatPoint(0.1L, 0.1L), FloatPoint3D(10, 10, 10));
  TEditorKnot k;
  k.X = 2;
  k.Y = 11;
  k.Z = 3;
  ProjectKnot(k, windows.Items(0));
  EXPECT_EQ(k.ScreenPoint, windows.Items(0).ModelToScreen(FloatPoint(2, 11)));
  UpdateKnotVisible(k, windows.Items(0));
  EXPECT_EQ(k.Visible, 0);  // Y outside the box
  ProjectKnot(k, windows.Items(1));
  EXPECT_EQ(k.ScreenPoint, windows.Items(1).ModelToScreen(FloatPoint(2, 3)));
  UpdateKnotVisible(k, windows.Items(1));
  EXPECT_EQ(k.Visible, 1);  // X and Z inside
  ProjectKnot(k, windows.Items(2));
  EXPECT_EQ(k.ScreenPoint, windows.Items(2).ModelToScreen3D(FloatPoint3D(2, 11, 3)));
  UpdateKnotVisible(k, windows.Items(2));
  EXPECT_EQ(k.Visible, 0);  // the 3-D view tests X and Y
}

}  // namespace
}  // namespace tavir
