#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/binstream.h"
#include "platform/numtext.h"
#include "platform/recording_canvas.h"
#include "platform/wmf_reader.h"
#include "viewer/symbols.h"
#include "viewer/view_export.h"
#include "wmf2svg.h"
#include "viewer/viewer_fixture.h"
#include "viewer/viewer_scene.h"
#include "fakes/scripted_messages.h"
#include "scratch_folder.h"

namespace tavir {
namespace {

using viewertest::ExampleBytes;
using viewertest::RecordingStatus;

using viewertest::NoSurface;

// The simply supported plate (4 x 4 shells on [0, 2]²) solved, its first window as view 0.
struct SolvedPlate : ::testing::Test {
  ScriptedMessages messages;
  TViewerProject project{messages};
  TGraphWindows windows{{1024, 768}};
  ViewerScene scene{project, windows};
  RecordingCanvas canvas;

  void SetUp() override {
    ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("plate_simply_supported.tps"), "plate.tps"));
    ASSERT_TRUE(project.FirstWindow().has_value());
    windows.LoadFromWindowData(*project.FirstWindow());
    windows.Items(0).Grid().ShowGrid = 0;
    RecordingStatus status;
    ASSERT_TRUE(project.StaticCalculate(status));
    project.SetIsoKind(ResultKind::Wz);
    ASSERT_TRUE(project.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  }
  const TGraphWindow& plan() { return windows.Items(0); }
  std::size_t PenLines(RgbColor colour) {
    std::size_t n = 0;
    for (const auto& c : canvas.CallsOf(CanvasOp::LineTo)) n += c.Pen.Color == colour;
    return n;
  }
};

TEST_F(SolvedPlate, PlanViewShowsShellsAndLabelledIsolinesOfTheDeflection) {
  DrawFailures failures;
  PaintResultView(plan(), scene, canvas, failures);
  EXPECT_EQ(failures.Count(), 0) << failures.First();
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 16u);
  // Downward deflection: negative levels in blue; no positive ones.
  EXPECT_GT(PenLines(0xFF0000), 0u);
  EXPECT_EQ(PenLines(0x0000FF), 0u);
  EXPECT_FALSE(canvas.CallsOf(CanvasOp::Text).empty());
  // The knot discs (bit 4) and no section line yet.
  EXPECT_FALSE(canvas.CallsOf(CanvasOp::Ellipse).empty());
}

TEST_F(SolvedPlate, DisplacementIsolinesIgnoreALayerChosenForStresses) {
  project.SetLayer(0);  // what a stress command leaves behind
  DrawFailures failures;
  PaintResultView(plan(), scene, canvas, failures);
  EXPECT_EQ(failures.Count(), 0) << failures.First();
  EXPECT_GT(PenLines(0xFF0000), 0u);
}

TEST_F(SolvedPlate, ZonesAndLayerZonesByTheDrawFlags) {
  project.SetDrawFlags(static_cast<std::int16_t>(0x800 | 0x200));
  project.SetColorCount(1);
  DrawFailures failures;
  PaintResultView(plan(), scene, canvas, failures);
  // Elements (outline flag only, no knots), then layer zones (rectangles: text),
  // then the fills: every shell has the largest volume, so all are pure red.
  const auto polys = canvas.CallsOf(CanvasOp::Polygon);
  ASSERT_EQ(polys.size(), 32u);
  for (std::size_t i = 16; i < 32; ++i) EXPECT_EQ(polys[i].Brush.Color, RGBColor(255, 0, 0));
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Text).size(), 16u);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Text)[0].Text, FormatExponent(0.1L, 7, 0));
}

TEST_F(SolvedPlate, SectionGestureMakesAShownSectionViewOfTheCutRow) {
  NoSurface surface;
  ResultDesk desk(windows, plan().WorkDesk, scene, scene, surface, messages);
  // Paint once so that the visibility of the shells is that of the plan.
  desk.Repaint(canvas);
  const TPoint a = plan().ModelToScreen(FloatPoint(-0.5L, 0.75L));
  const TPoint b = plan().ModelToScreen(FloatPoint(2.5L, 0.75L));
  project.SetMouseMode(MouseMode::SectionLine);
  desk.MouseDown(MouseButton::Left, a.X, a.Y);
  desk.MouseMove(b.X, b.Y);
  desk.MouseUp(MouseButton::Left, b.X, b.Y);
  EXPECT_EQ(project.MouseMode(), MouseMode::View);
  ASSERT_EQ(windows.Count(), 2);
  EXPECT_EQ(windows.Current(), 1);
  EXPECT_TRUE(scene.Line.Shown);
  const TGraphWindow& section = windows.Items(1);
  EXPECT_EQ(section.Kind(), Projection::XZ);
  EXPECT_EQ(section.View.MinPoint.Z, -0.05L);  // -(0 + 0.1 / 2)
  EXPECT_EQ(section.View.MaxPoint.Z, 0.05L);

  ResultDesk sectionDesk(windows, section.WorkDesk, scene, scene, surface, messages);
  canvas.Clear();
  sectionDesk.Repaint(canvas);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 4u);  // the row y in [0.5, 1]

  // Back in the plan the line is drawn and every shell is visible again.
  canvas.Clear();
  desk.Repaint(canvas);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 16u);
  bool line = false;
  for (const auto& c : canvas.CallsOf(CanvasOp::LineTo)) line = line || (c.Pen.Width == 4 && c.Pen.Color == 0x80);
  EXPECT_TRUE(line);
}

TEST_F(SolvedPlate, ExportOfThePlanIsAValidMetafile) {
  const ScratchFolder scratch("tavir-scene");
  const std::filesystem::path& dir = scratch.Path();
  const std::string name = (dir / "plate.emf").string();
  ASSERT_EQ(ExportCurrentView(name, windows, scene, messages), ExportResult::Written);
  const auto bytes = ReadWholeFile((dir / "plate.wmf").string());
  const auto wmf = testing_wmf::ReadWmf(bytes);
  EXPECT_EQ(wmf.Error, "");
  // The shells, and the support symbols drawn as primitives: every picture the
  // screen takes from the image list adds the built-in symbol's polygons.
  DrawFailures failures;
  PaintResultView(plan(), scene, canvas, failures);
  std::size_t symbolPolygons = 0;
  const auto images = canvas.CallsOf(CanvasOp::Image);
  ASSERT_FALSE(images.empty());
  for (const auto& c : images) {
    RecordingCanvas symbol;
    DrawBuiltInSymbol(symbol, c.Text, c.Index, c.Points[0].X, c.Points[0].Y);
    symbolPolygons += symbol.CallsOf(CanvasOp::Polygon).size();
  }
  EXPECT_EQ(wmf.Count(wmf::kPolygon), 16u + symbolPolygons);
  EXPECT_GT(wmf.Count(wmf::kTextOut), 0u);
  const std::string text = testing::Wmf2Svg(dir / "plate.wmf");
  std::size_t polygons = 0;
  for (std::size_t at = text.find("<polygon"); at != std::string::npos; at = text.find("<polygon", at + 1)) ++polygons;
  EXPECT_EQ(polygons, 16u + symbolPolygons);
}

// The boxes of the drawn isoline labels (white boxes, font size 5).
std::vector<LabelBox> IsoLabelBoxes(RecordingCanvas& canvas) {
  std::vector<LabelBox> boxes;
  for (const auto& c : canvas.CallsOf(CanvasOp::Text)) {
    if (c.Font.Size != 5) continue;
    const CanvasFont font = canvas.Font;
    canvas.Font = c.Font;
    const PixelSize size = canvas.TextExtent(c.Text);
    canvas.Font = font;
    const TPoint p = c.Points[0];
    boxes.push_back(LabelBox{p.X, p.Y, std::int64_t{p.X} + size.Width, std::int64_t{p.Y} + size.Height});
  }
  return boxes;
}

std::size_t OverlappingPairs(const std::vector<LabelBox>& boxes) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < boxes.size(); ++i)
    for (std::size_t j = i + 1; j < boxes.size(); ++j) n += boxes[i].Overlaps(boxes[j]) ? 1 : 0;
  return n;
}

// Rotations of the symmetric plate are exactly 0 along edges; the sum of steps
// that should reach 0 gives about 1e-19, and Txy's about 1e-13. Such a level is 0:
// drawn in the zero pen and labelled " 0 " once, and no label covers another.
TEST_F(SolvedPlate, RoundOffLevelsAreZeroAndLabelsNeverOverlap) {
  struct Case {
    ResultKind Kind;
    std::int32_t Layer;
  };
  for (const Case c : {Case{ResultKind::RotX, -1}, Case{ResultKind::RotY, -1}, Case{ResultKind::Txy, 0}}) {
    SCOPED_TRACE(static_cast<int>(c.Kind));
    project.SetIsoKind(c.Kind);
    project.SetLayer(c.Layer);
    ASSERT_TRUE(project.PrepareIsoLines(c.Layer, Fibre::Upper, nullptr));
    const TIsoParamsRec& params = project.IsoParams();
    const Extended roundOff = 1e-12L * std::max(std::fabs(params.MinValue), std::fabs(params.MaxValue));
    ASSERT_GT(roundOff, 0);
    canvas.Clear();
    DrawFailures failures;
    PaintResultView(plan(), scene, canvas, failures);
    EXPECT_EQ(failures.Count(), 0) << failures.First();
    int zeros = 0;
    for (const auto& t : canvas.CallsOf(CanvasOp::Text)) {
      if (t.Font.Size != 5) continue;
      const std::optional<Extended> v = ParseFloat(t.Text);
      ASSERT_TRUE(v.has_value()) << t.Text;
      EXPECT_TRUE(*v == 0 || std::fabs(*v) > roundOff) << "a label of round-off:" << t.Text;
      if (*v == 0) {
        ++zeros;
        EXPECT_EQ(t.Font.Color, 0x808080u) << t.Text;
      }
    }
    EXPECT_GT(zeros, 0) << "the zero level is labelled";
    EXPECT_GT(PenLines(0xF0CAA6), 0u) << "the zero level is drawn";
    EXPECT_EQ(OverlappingPairs(IsoLabelBoxes(canvas)), 0u);
  }
}

// The sphere's deflection has several levels crossing one knot row: their labels
// would stack on each other's white boxes.
TEST(SolvedSphere, DeflectionLabelsNeverOverlap) {
  ScriptedMessages messages;
  TViewerProject project{messages};
  TGraphWindows windows{{1024, 768}};
  ViewerScene scene{project, windows};
  ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("shell_spherical.tps"), "sphere.tps"));
  windows.LoadFromWindowData(*project.FirstWindow());
  RecordingStatus status;
  ASSERT_TRUE(project.StaticCalculate(status));
  project.SetIsoKind(ResultKind::Wz);
  ASSERT_TRUE(project.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  RecordingCanvas canvas;
  DrawFailures failures;
  PaintResultView(windows.Items(0), scene, canvas, failures);
  EXPECT_EQ(failures.Count(), 0) << failures.First();
  const std::vector<LabelBox> boxes = IsoLabelBoxes(canvas);
  EXPECT_GE(boxes.size(), 3u);
  EXPECT_EQ(OverlappingPairs(boxes), 0u);
}

}  // namespace
}  // namespace tavir
