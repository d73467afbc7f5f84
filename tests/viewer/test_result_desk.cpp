#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "platform/recording_canvas.h"
#include "viewer/result_desk.h"
#include "viewer/result_strip.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using testing_viewer::ResultStrip;
using testing_viewer::StripScene;

struct FakeClient : ResultDeskClient {
  TGraphWindows* Windows = nullptr;
  tavir::MouseMode Mode = tavir::MouseMode::View;
  int ViewModeRuns = 0;
  bool RefuseSection = false;
  std::vector<const TGraphWindow*> SectionRequests;
  TSectionLine_2D* Line = nullptr;
  int Activated = 0;

  tavir::MouseMode MouseMode() const override { return Mode; }
  void EnterViewMode() override {
    ++ViewModeRuns;
    Mode = tavir::MouseMode::View;
  }
  Extended DefaultScale() const override { return 0.01L; }
  TSectionLine_2D& SectionLine() override { return *Line; }
  int CreateSectionWindow(const TGraphWindow& plan) override {
    SectionRequests.push_back(&plan);
    if (RefuseSection) return -1;
    return Windows->AddWindow(FloatPoint3D(0, 0, -1), 0xFFFFFF, Projection::XZ, FloatPoint(0.01L, 0.01L),
                              FloatPoint3D(3, 1, 1));
  }
  void ViewActivated(const TGraphWindow&) override { ++Activated; }
};

struct FakeSurface : DeskSurface {
  RecordingCanvas Picture;
  DeskScroll State{0, 0, 200, 200, 100};
  std::vector<std::pair<int, int>> Scrolls;
  int Repaints = 0;
  Canvas& PictureCanvas() override { return Picture; }
  DeskScroll Scroll() const override { return State; }
  void SetScroll(int h, int v) override {
    Scrolls.emplace_back(h, v);
    State.H = h;
    State.V = v;
  }
  void RepaintNow() override {
    ++Repaints;
    Picture.Clear();  // a repaint paints the whole picture afresh
  }
};

// The rubber shapes that are on the picture: NOT XOR shapes drawn an odd number of times.
int VisibleBands(const RecordingCanvas& c) {
  std::map<std::tuple<int, int, int, int, int>, int> n;
  for (const auto& call : c.Calls) {
    if (call.Pen.Mode != PenMode::NotXor) continue;
    if (call.Op != CanvasOp::Rectangle && call.Op != CanvasOp::LineTo) continue;
    ++n[{static_cast<int>(call.Op), call.Points[0].X, call.Points[0].Y, call.Points[1].X, call.Points[1].Y}];
  }
  int visible = 0;
  for (const auto& [key, count] : n) visible += count % 2;
  return visible;
}

struct Desk : ::testing::Test {
  ResultStrip strip{3, 1};
  StripScene scene{strip};
  TGraphWindows windows{{0, 0}};
  FakeClient client;
  FakeSurface surface;
  ScriptedMessages messages;
  std::unique_ptr<ResultDesk> desk;
  RecordingCanvas canvas;

  void SetUp() override {
    // A 300 x 300 plan of [0, 3] x [0, 3]: model (x, y) at pixel (100 x, 300 - 100 y).
    windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 3, 0));
    windows.Items(0).Grid().ShowGrid = 0;
    client.Windows = &windows;
    client.Line = &scene.Line;
    desk = std::make_unique<ResultDesk>(windows, windows.Items(0).WorkDesk, scene, client, surface, messages);
  }
  void Drag(MouseMode mode, TPoint from, TPoint to) {
    client.Mode = mode;
    desk->MouseDown(MouseButton::Left, from.X, from.Y);
    desk->MouseMove((from.X + to.X) / 2, (from.Y + to.Y) / 2);
    desk->MouseMove(to.X, to.Y);
    desk->MouseUp(MouseButton::Left, to.X, to.Y);
  }
};

TEST_F(Desk, RepaintByViewKind) {
  scene.Line.SetByPoints(FloatPoint(0.5L, 0.5L), FloatPoint(2.5L, 0.5L));
  scene.Line.SetFlag(true);
  // Plan: background, the model (three shells) and the section line.
  desk->Repaint(canvas);
  EXPECT_EQ(canvas.Calls.front().Op, CanvasOp::Rectangle);
  EXPECT_EQ(scene.UpdateCount, 1);
  EXPECT_EQ(scene.LastUpdated, &windows.Items(0));
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 3u);
  const auto lines = canvas.CallsOf(CanvasOp::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen.Width, 4);
  EXPECT_EQ(lines[0].Pen.Color, 0x000080u);
  EXPECT_EQ(lines[0].Points[0], (TPoint{50, 250}));
  EXPECT_EQ(lines[0].Points[1], (TPoint{250, 250}));

  // Section view: the diagrams of the shells the line cuts, nothing of the plan.
  windows.AddWindow(FloatPoint3D(0, 0, -1), 0xFFFFFF, Projection::XZ, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 3, 1));
  ResultDesk sectionDesk(windows, windows.Items(1).WorkDesk, scene, client, surface, messages);
  canvas.Clear();
  sectionDesk.Repaint(canvas);
  EXPECT_EQ(scene.UpdateCount, 1);
  EXPECT_EQ(scene.SectionCount, 1);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 3u);  // y = 0.5 cuts all three
  EXPECT_TRUE(canvas.CallsOf(CanvasOp::LineTo).empty());

  // 3-D view: the background alone.
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0x0000FF, Projection::Spatial, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 3, 1));
  ResultDesk desk3d(windows, windows.Items(2).WorkDesk, scene, client, surface, messages);
  canvas.Clear();
  desk3d.Repaint(canvas);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Op, CanvasOp::Rectangle);
  EXPECT_EQ(canvas.Calls[0].Brush.Color, 0x0000FFu);
  EXPECT_EQ(scene.UpdateCount + scene.SectionCount, 2);
  EXPECT_TRUE(messages.Shown.empty());
}

struct ThrowingScene : StripScene {
  using StripScene::StripScene;
  bool Throw = true;
  void DrawPlan(Canvas& canvas, DrawFailures& failures) override {
    if (Throw) throw std::runtime_error("Сбой рисования");
    StripScene::DrawPlan(canvas, failures);
  }
};

TEST_F(Desk, AFailureNeverLeavesTheRepaintAndIsReportedOnce) {
  ThrowingScene bad(strip);
  bad.Line.SetByPoints(FloatPoint(0, 1), FloatPoint(3, 1));
  bad.Line.SetFlag(true);
  ResultDesk d(windows, windows.Items(0).WorkDesk, bad, client, surface, messages);
  canvas.Pen.Color = 0x123;
  EXPECT_NO_THROW(d.Repaint(canvas));
  EXPECT_EQ(canvas.CallsOf(CanvasOp::LineTo).size(), 1u) << "the picture is finished";
  EXPECT_EQ(canvas.Pen.Color, 0x123u);
  d.Repaint(canvas);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Сбой рисования");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Error);
  bad.Throw = false;
  d.Repaint(canvas);
  bad.Throw = true;
  d.Repaint(canvas);
  EXPECT_EQ(messages.Shown.size(), 2u) << "a new failure after a good picture is reported";
}

TEST_F(Desk, ElementFailuresInsideThePlanAreCollected) {
  scene.Levels = {1.5L};
  strip.SetField([](Extended x, Extended) { return x; });
  for (auto* k : strip.Shell(1, 0).Knots) static_cast<TResultKnot*>(k)->ClearValues();
  desk->Repaint(canvas);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Узел не имеет типа элемента в списке!");
}

TEST_F(Desk, ClickWithoutDragMakesNoViewAndReturnsToViewMode) {
  Drag(MouseMode::NewWindow, {100, 100}, {100, 100});
  EXPECT_EQ(windows.Count(), 1);
  EXPECT_EQ(client.ViewModeRuns, 1);
  EXPECT_EQ(client.Mode, MouseMode::View);
  EXPECT_EQ(desk->Gesture(), DeskGesture::Idle);
}

TEST_F(Desk, NewViewRectangleInEitherDirection) {
  Drag(MouseMode::NewWindow, {250, 250}, {50, 50});
  ASSERT_EQ(windows.Count(), 2);
  Drag(MouseMode::NewWindow, {50, 50}, {250, 250});
  ASSERT_EQ(windows.Count(), 3);
  for (int i : {1, 2}) {
    const TGraphWindow& w = windows.Items(i);
    EXPECT_EQ(w.Kind(), Projection::XY);
    EXPECT_NEAR(static_cast<double>(w.View.MinPoint.X), 0.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(w.View.MaxPoint.X), 2.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(w.View.MinPoint.Y), 0.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(w.View.MaxPoint.Y), 2.5, 1e-12);
    EXPECT_EQ(w.View.MinPoint.Z, 0);
  }
  EXPECT_EQ(windows.Current(), 2);
  EXPECT_EQ(client.ViewModeRuns, 2);
  // A release outside the picture is clamped to its border.
  Drag(MouseMode::NewWindow, {150, 150}, {900, -40});
  ASSERT_EQ(windows.Count(), 4);
  EXPECT_NEAR(static_cast<double>(windows.Items(3).View.MaxPoint.X), 3, 1e-12);
  EXPECT_NEAR(static_cast<double>(windows.Items(3).View.MaxPoint.Y), 3, 1e-12);
}

TEST_F(Desk, SectionLineThroughTheDraggedPointsOfThisDesksView) {
  // Another view is current; the gesture still works in this desk's own view.
  windows.AddWindow(FloatPoint3D(-50, -50, 0), 0, Projection::XY, FloatPoint(1, 1), FloatPoint3D(50, 50, 0));
  ASSERT_EQ(windows.Current(), 1);
  Drag(MouseMode::SectionLine, {50, 250}, {250, 150});
  ASSERT_EQ(client.SectionRequests.size(), 1u);
  EXPECT_EQ(client.SectionRequests[0], &windows.Items(0));
  EXPECT_NEAR(static_cast<double>(scene.Line.StartModel.X), 0.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(scene.Line.StartModel.Y), 0.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(scene.Line.EndModel.X), 2.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(scene.Line.EndModel.Y), 1.5, 1e-12);
  EXPECT_TRUE(scene.Line.Shown);
  EXPECT_NEAR(static_cast<double>(scene.Line.ValueAt(1.5L, 1.0L)), 0, 1e-12);
  EXPECT_EQ(windows.Count(), 3);
  EXPECT_EQ(windows.Current(), 2);
  EXPECT_EQ(client.ViewModeRuns, 1);

  // Kept in model coordinates: a zoomed plan draws it at its own pixels.
  ASSERT_TRUE(windows.Items(0).Zoom(2));
  canvas.Clear();
  desk->Repaint(canvas);
  const auto lines = canvas.CallsOf(CanvasOp::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Points[0], windows.Items(0).ModelToScreen(FloatPoint(0.5L, 0.5L)));
  EXPECT_EQ(lines[0].Points[0], (TPoint{100, 500}));
}

TEST_F(Desk, SectionGestureOnlyInPlanViewsAndOnlyWhenAViewIsMade) {
  windows.AddWindow(FloatPoint3D(0, 0, -1), 0, Projection::XZ, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 3, 1));
  ResultDesk sectionDesk(windows, windows.Items(1).WorkDesk, scene, client, surface, messages);
  client.Mode = MouseMode::SectionLine;
  sectionDesk.MouseDown(MouseButton::Right, 10, 10);
  EXPECT_EQ(sectionDesk.Gesture(), DeskGesture::Idle);
  sectionDesk.MouseMove(100, 100);
  sectionDesk.MouseUp(MouseButton::Right, 100, 100);
  EXPECT_TRUE(client.SectionRequests.empty());
  EXPECT_EQ(client.ViewModeRuns, 1);
  EXPECT_TRUE(surface.Picture.Calls.empty());

  scene.Line.SetByPoints(FloatPoint(0, 0), FloatPoint(1, 0));
  client.RefuseSection = true;
  Drag(MouseMode::SectionLine, {50, 250}, {250, 150});
  EXPECT_EQ(client.SectionRequests.size(), 1u);
  EXPECT_FALSE(scene.Line.Shown);
  EXPECT_EQ(scene.Line.EndModel.X, 1) << "a refused section keeps the old line";
  EXPECT_EQ(scene.Line.B, -1);
  // A line too short to mean anything asks for nothing.
  client.RefuseSection = false;
  Drag(MouseMode::SectionLine, {50, 250}, {50, 250});
  EXPECT_EQ(client.SectionRequests.size(), 1u);
  EXPECT_EQ(client.ViewModeRuns, 3);
}

TEST_F(Desk, RubberBandsAreDrawnOnceAndErasedAtTheEnd) {
  client.Mode = MouseMode::NewWindow;
  desk->MouseMove(10, 10);  // idle: nothing
  EXPECT_TRUE(surface.Picture.Calls.empty());
  desk->MouseDown(MouseButton::Left, 20, 20);
  EXPECT_TRUE(desk->Tracking());
  EXPECT_TRUE(surface.Picture.Calls.empty()) << "nothing is drawn at the press";
  desk->MouseMove(60, 70);
  desk->MouseMove(60, 70);  // no movement: nothing
  desk->MouseMove(90, 80);
  EXPECT_EQ(VisibleBands(surface.Picture), 1);
  const auto rects = surface.Picture.CallsOf(CanvasOp::Rectangle);
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects.back().Pen.Style, PenStyle::Dash);
  EXPECT_EQ(rects.back().Brush.Style, BrushStyle::Clear);
  EXPECT_EQ(surface.Picture.Pen.Mode, PenMode::Copy);
  desk->MouseUp(MouseButton::Left, 90, 80);
  EXPECT_EQ(VisibleBands(surface.Picture), 0);

  surface.Picture.Clear();
  client.Mode = MouseMode::SectionLine;
  desk->MouseDown(MouseButton::Left, 20, 20);
  desk->MouseMove(60, 70);
  const auto lines = surface.Picture.CallsOf(CanvasOp::LineTo);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen.Color, 0x0000FFu);
  EXPECT_EQ(lines[0].Pen.Width, 2);
  EXPECT_EQ(lines[0].Pen.Mode, PenMode::NotXor);
}

TEST_F(Desk, DraggingPastTheRightEdgeScrollsAndKeepsOneBand) {
  client.Mode = MouseMode::NewWindow;
  desk->MouseDown(MouseButton::Left, 20, 20);
  desk->MouseMove(100, 100);
  for (int i = 0; i < 3; ++i) desk->MouseMove(198 + 10 * i, 100);  // past H + ClientWidth - 5
  const std::vector<std::pair<int, int>> expected{{10, 0}, {20, 0}, {30, 0}};
  EXPECT_EQ(surface.Scrolls, expected);
  EXPECT_EQ(surface.Repaints, 3);
  EXPECT_EQ(VisibleBands(surface.Picture), 1);
  EXPECT_EQ(desk->CurrentPoint(), (TPoint{218, 100}));
  // At the end of the bar's range the position stays there.
  surface.State.H = 100;
  desk->MouseMove(400, 100);
  EXPECT_EQ(surface.Scrolls.back(), (std::pair<int, int>{100, 0}));
  EXPECT_EQ(VisibleBands(surface.Picture), 1);
  // Left of the view: back by 10, not below 0.
  surface.State.H = 5;
  desk->MouseMove(2, 100);
  EXPECT_EQ(surface.Scrolls.back(), (std::pair<int, int>{0, 0}));
}

TEST_F(Desk, ActivationMakesTheViewCurrent) {
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(1, 1, 0));
  ASSERT_EQ(windows.Current(), 1);
  desk->Activate();
  EXPECT_EQ(windows.Current(), 0);
  EXPECT_EQ(client.Activated, 1);
  // A desk whose view is gone does nothing.
  windows.FreeAll();
  EXPECT_NO_THROW(desk->Repaint(canvas));
  EXPECT_TRUE(canvas.Calls.empty());
  client.Mode = MouseMode::NewWindow;
  desk->MouseDown(MouseButton::Left, 1, 1);
  EXPECT_EQ(desk->Gesture(), DeskGesture::Idle);
}

}  // namespace
}  // namespace tavir
