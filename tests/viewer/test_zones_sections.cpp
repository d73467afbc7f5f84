#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/numtext.h"
#include "platform/recording_canvas.h"
#include "viewer/result_strip.h"
#include "viewer/sections.h"
#include "viewer/zones.h"

namespace tavir {
namespace {

using testing_viewer::ResultStrip;

TColor FillOf(const RecordingCanvas& c, std::size_t i) { return c.CallsOf(CanvasOp::Polygon).at(i).Brush.Color; }

struct Zones : ::testing::Test {
  ResultStrip strip{3, 1};
  RecordingCanvas canvas;
  void SetUp() override { strip.PlaceOnScreen(0, 100, 100); }
  void Thickness(int ix, Extended t) { strip.Shell(ix, 0).Layers.Layer(0)->Thickness = t; }
  void Initial(int ix, Extended t) { strip.Shell(ix, 0).InitialThicknesses = {t}; }
};

TEST_F(Zones, OneColourGrowsWithTheVolume) {
  Thickness(0, 0.2L);
  Thickness(1, 0.1L);  // half the largest volume: 255 - Round(127.5) = 127 (tie to even 128)
  Thickness(2, 0);
  DrawZones(canvas, strip.ConstShells(), 1);
  ASSERT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 3u);
  EXPECT_EQ(FillOf(canvas, 0), RGBColor(255, 0, 0));
  EXPECT_EQ(FillOf(canvas, 1), RGBColor(255, 127, 127));
  EXPECT_EQ(FillOf(canvas, 2), RGBColor(255, 255, 255));
  for (const auto& p : canvas.CallsOf(CanvasOp::Polygon)) {
    EXPECT_EQ(p.Pen.Style, PenStyle::Clear);
    EXPECT_EQ(p.Brush.Style, BrushStyle::Solid);
    EXPECT_EQ(p.Points.size(), 4u);
  }
}

TEST_F(Zones, FillByValueRefusesWhatIsOutOfRange) {
  FillByValue(strip.Shell(0, 0), canvas, 2, 1);  // |Value| > |Max|
  FillByValue(strip.Shell(0, 0), canvas, std::numeric_limits<Extended>::quiet_NaN(), 1);
  EXPECT_TRUE(canvas.Calls.empty());
  FillByValue(strip.Shell(0, 0), canvas, 0, 0);  // Max 0: white
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(FillOf(canvas, 0), RGBColor(255, 255, 255));
  FillByValue(strip.Shell(0, 0), canvas, -0.5L, 1);  // magnitudes
  EXPECT_EQ(FillOf(canvas, 1), RGBColor(255, 127, 127));
}

TEST_F(Zones, TwoColoursAroundTheInitialThickness) {
  Thickness(0, 0.1L);
  Initial(0, 0.1L);  // unchanged: white
  Thickness(1, 0.3L);
  Initial(1, 0.1L);  // the thickest, thickened: pure red
  Thickness(2, 0.05L);
  Initial(2, 0.1L);  // the thinnest, thinned: pure blue
  DrawZones(canvas, strip.ConstShells(), 2);
  ASSERT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 3u);
  EXPECT_EQ(FillOf(canvas, 0), RGBColor(255, 255, 255));
  EXPECT_EQ(FillOf(canvas, 1), RGBColor(255, 0, 0));
  EXPECT_EQ(FillOf(canvas, 2), RGBColor(0, 0, 255));
}

TEST_F(Zones, TwoColoursBeforeTheAdaptationIsPrepared) {
  // Initial thicknesses are all 0: drawn (red) only when the smallest thickness is not near 0.
  Thickness(0, 0.1L);
  Thickness(1, 0.2L);
  Thickness(2, 0.4L);
  DrawZones(canvas, strip.ConstShells(), 2);
  ASSERT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 3u);
  EXPECT_EQ(FillOf(canvas, 2), RGBColor(255, 0, 0));
  EXPECT_EQ(FillOf(canvas, 1), RGBColor(255, 255 - 128, 255 - 128));  // 0.2/0.4 * 255 = 127.5 -> 128
  canvas.Clear();
  Thickness(0, 0);
  DrawZones(canvas, strip.ConstShells(), 2);
  EXPECT_TRUE(canvas.Calls.empty());
  DrawZones(canvas, strip.ConstShells(), 3);  // no such colour count
  EXPECT_TRUE(canvas.Calls.empty());
}

TEST_F(Zones, LayerZoneOfARectangleIsItsFirstLayersThicknessAsText) {
  SetDecimalSeparator('.');
  Thickness(0, 0.2L);
  strip.Shell(0, 0).Layers.Brush = {0x00FFFF, BrushStyle::Solid};
  DrawZone(strip.Shell(0, 0), canvas, -1);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Op, CanvasOp::Text);
  EXPECT_EQ(canvas.Calls[0].Text, "2.000000E-1");
  EXPECT_EQ(canvas.Calls[0].Points[0], (TPoint{50, 50}));
  EXPECT_EQ(canvas.Calls[0].Brush.Color, 0x00FFFFu);
  // Type 2 is filled and outlined with the stack's brush; selection has its colours.
  strip.Shell(1, 0).ElementType = ElementType::Quadrangle;
  strip.Shell(1, 0).Selected = 1;
  canvas.Clear();
  DrawZone(strip.Shell(1, 0), canvas, -1);
  ASSERT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Brush.Color, 0xF0CAA6u);
  EXPECT_EQ(canvas.Calls[0].Pen.Color, 0xFF0000u);
}

TEST_F(Zones, UnusableShellsAreSkippedByEveryPicture) {
  TMLResultShell& noLayers = strip.Shell(0, 0);
  noLayers.Layers.Clear();
  TMLResultShell& holed = strip.Shell(1, 0);
  holed.Knots[2] = nullptr;
  TMLResultShell& unknownType = strip.Shell(2, 0);
  unknownType.ElementType = ElementType::Rod;
  unknownType.Knots.resize(2);
  DrawZones(canvas, strip.ConstShells(), 1);
  DrawZones(canvas, strip.ConstShells(), 2);
  DrawLayerZones(canvas, strip.ConstShells());
  for (auto* s : strip.ConstShells()) FillByScale(*s, canvas, 1, 0.5L, 0, 2);
  EXPECT_TRUE(canvas.Calls.empty());
  ResultStrip other(1, 1);
  other.Shell(0, 0).Visible = 0;
  FillByValue(other.Shell(0, 0), canvas, 1, 1);
  DrawZone(other.Shell(0, 0), canvas, 0);
  EXPECT_TRUE(canvas.Calls.empty());
}

// ---- sections ----

TEST(Sections, TheUnboundedLineCutsWhatItPassesOrTouches) {
  ResultStrip strip(3, 1);
  TLine_2D line;
  // The line y = x crosses shell 0 diagonally, touches shell 1 at its corner (1, 1)
  // and misses shell 2.
  line.SetByPoints(FloatPoint(0, 0), FloatPoint(0.5L, 0.5L));
  EXPECT_TRUE(CutBySection(strip.Shell(0, 0), line));
  EXPECT_TRUE(CutBySection(strip.Shell(1, 0), line));
  EXPECT_FALSE(CutBySection(strip.Shell(2, 0), line));
  TMLResultShell holed(ElementType::Rectangle, strip.Material);
  holed.Knots = {strip.At(0, 0), nullptr, strip.At(1, 1), strip.At(1, 0)};
  EXPECT_FALSE(CutBySection(holed, line));
}

struct Section : ::testing::Test {
  ResultStrip strip{3, 1};
  TGraphWindows windows{{0, 0}};
  RecordingCanvas canvas;
  TDrawFailures failures;
  std::map<const TEditorKnot*, Extended> thickness;
  KnotValueReader reader = [this](const TEditorKnot& k, TMaterialKey key) -> std::optional<Extended> {
    const auto it = thickness.find(&k);
    if (key != nullptr || it == thickness.end()) return std::nullopt;
    return it->second;
  };
  void SetUp() override {
    windows.AddWindow(FloatPoint3D(0, 0, -1), 0, Projection::XZ, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 1, 1));
    for (auto& k : strip.Knots) thickness[k.get()] = 0.2L;
    strip.At(1, 0)->Z = 0.1L;
    strip.At(1, 1)->Z = 0.1L;
  }
  const TGraphWindow& view() { return windows.Items(0); }
};

TEST_F(Section, DiagramIsTheBandAlongKnotsZeroAndThree) {
  ASSERT_EQ(view().Height(), 200);
  strip.Shell(0, 0).Layers.Brush = {0x0000AA, BrushStyle::Solid};
  DrawSection(strip.Shell(0, 0), view(), canvas, reader);
  const auto polys = canvas.CallsOf(CanvasOp::Polygon);
  ASSERT_EQ(polys.size(), 1u);
  // Knot 0 at X 0, Z 0, t 0.2: v from -(0 - 0.1) = 0.1 to -(0 + 0.1) = -0.1;
  // knot 3 at X 1, Z 0.1: v from -0.2 to 0. Pixels: x = X / 0.01, y = 200 - (v + 1) / 0.01.
  const std::vector<TPoint> expected{{0, 90}, {0, 110}, {100, 120}, {100, 100}};
  EXPECT_EQ(polys[0].Points, expected);
  EXPECT_EQ(polys[0].Brush.Color, 0x0000AAu);
  EXPECT_EQ(polys[0].Pen.Width, 1);
  EXPECT_EQ(polys[0].Pen.Style, PenStyle::Solid);
  strip.Shell(0, 0).Contur = 0;
  canvas.Clear();
  DrawSection(strip.Shell(0, 0), view(), canvas, reader);
  EXPECT_EQ(canvas.Calls.at(0).Pen.Style, PenStyle::Clear);
}

TEST_F(Section, CutShellsAreShownAndAFailingOneIsSkipped) {
  TLine_2D line;
  line.SetByPoints(FloatPoint(1.5L, -5), FloatPoint(1.5L, 5));  // through shell 1 only
  DrawSections(strip.MutableShells(), line, view(), canvas, failures, reader);
  EXPECT_EQ(strip.Shell(0, 0).Visible, 0);
  EXPECT_EQ(strip.Shell(1, 0).Visible, 1);
  EXPECT_EQ(strip.Shell(2, 0).Visible, 0);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 1u);
  EXPECT_EQ(failures.Count(), 0);

  // A line along X cuts all three; shell 1 has no averages at any knot.
  line.SetByPoints(FloatPoint(0, 0.5L), FloatPoint(1, 0.5L));
  for (auto* k : strip.Shell(1, 0).Knots) thickness.erase(k);
  canvas.Clear();
  DrawSections(strip.MutableShells(), line, view(), canvas, failures, reader);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 2u);
  EXPECT_EQ(failures.Count(), 1);
  EXPECT_EQ(failures.First(), "Узел не имеет типа элемента в списке!");
  EXPECT_THROW(DrawSection(strip.Shell(1, 0), view(), canvas, reader), std::runtime_error);
}

TEST_F(Section, WindowOnlyFromAPlanViewWithShells) {
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 1, 0));
  const TGraphWindow& plan = windows.Items(1);
  TSectionWindowData box;
  box.MinPoint = FloatPoint3D(0, 0, -0.2L);
  box.MaxPoint = FloatPoint3D(3, 1, 0.1L);
  box.Scale = FloatPoint(0.01L, 0.01L);
  TLine_2D line;
  line.SetByPoints(FloatPoint(2.5L, 0), FloatPoint(2.5L, 1));
  EXPECT_EQ(CreateSectionWindow(windows, view(), box, strip.MutableShells(), line), -1) << "not a plan view";
  // No shells in the plan: the box is inverted (1E4096 .. -1).
  TSectionWindowData empty = box;
  empty.MinPoint.Z = 1E4096L;
  empty.MaxPoint.Z = -1;
  EXPECT_EQ(CreateSectionWindow(windows, plan, empty, strip.MutableShells(), line), -1);
  EXPECT_EQ(windows.Count(), 2);
  EXPECT_EQ(strip.Shell(0, 0).Visible, 1);

  const int i = CreateSectionWindow(windows, plan, box, strip.MutableShells(), line);
  ASSERT_EQ(i, 2);
  EXPECT_EQ(windows.Current(), 2);
  EXPECT_EQ(windows.Items(2).Kind(), Projection::XZ);
  EXPECT_EQ(windows.Items(2).Color, 0xFFFFFFu);
  EXPECT_EQ(windows.Items(2).View.MinPoint.Z, -0.2L);
  EXPECT_EQ(strip.Shell(0, 0).Visible, 0);
  EXPECT_EQ(strip.Shell(2, 0).Visible, 1);
}

}  // namespace
}  // namespace tavir
