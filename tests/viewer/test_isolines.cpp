#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "platform/recording_canvas.h"
#include "viewer/isolines.h"
#include "viewer/result_strip.h"

namespace tavir {
namespace {

using testing_viewer::ResultStrip;

// Endpoints of every drawn segment, in drawing order.
std::vector<std::pair<TPoint, TPoint>> Segments(const RecordingCanvas& c) {
  std::vector<std::pair<TPoint, TPoint>> out;
  for (const auto& call : c.CallsOf(CanvasOp::LineTo)) out.emplace_back(call.Points[0], call.Points[1]);
  return out;
}

// One element on screen: knot 0 (0, 100), 1 (0, 0), 2 (100, 0), 3 (100, 100).
struct OneElement : ::testing::Test {
  ResultStrip strip{1, 1};
  RecordingCanvas canvas;
  TIsoLabelData data;
  void SetUp() override { strip.PlaceOnScreen(0, 100, 100); }
  TMLResultShell& shell() { return strip.Shell(0, 0); }
  void Values(Extended v0, Extended v1, Extended v2, Extended v3) {
    const std::array<Extended, 4> v{v0, v1, v2, v3};
    for (std::size_t i = 0; i < 4; ++i) {
      auto* k = static_cast<TResultKnot*>(shell().Knots[i]);
      k->ClearValues();
      k->AddKey(nullptr);
      k->SetValue(nullptr, v[i]);
    }
  }
};

TEST(Line2D, CoefficientsSidesAndDegenerateLine) {
  const LineEquation c = LineCoefficients(1, 2, 4, 6);
  EXPECT_EQ(c.A, 4);
  EXPECT_EQ(c.B, -3);
  EXPECT_EQ(c.C, 2);  // X2*Y1 - X1*Y2 = 8 - 6
  TLine_2D line;
  EXPECT_FALSE(line.Shown);
  line.SetByPoints(FloatPoint(0, 0), FloatPoint(1, 1));
  EXPECT_TRUE(line.Crosses(0, 1, 1, 0));   // opposite sides
  EXPECT_TRUE(line.Crosses(2, 2, 5, 0));   // one point on the line
  EXPECT_FALSE(line.Crosses(0, 1, 0, 2));  // same side
  EXPECT_FALSE(line.Shown);                // SetByPoints leaves the flag
  // Values whose product would underflow to 0 still have their signs.
  line.SetByPoints(FloatPoint(0, 0), FloatPoint(1, 0));
  EXPECT_FALSE(line.Crosses(0, 1e-3000L, 1, 1e-3000L));
  TLine_2D degenerate;
  degenerate.SetByPoints(FloatPoint(3, 3), FloatPoint(3, 3));
  EXPECT_EQ(degenerate.A, 0);
  EXPECT_EQ(degenerate.B, 0);
  EXPECT_EQ(degenerate.C, 0);
  EXPECT_TRUE(degenerate.Crosses(10, 10, 20, 20));
}

TEST_F(OneElement, LinearFieldCrossesEdgesAtRoundedInterpolatedPixels) {
  // Values grow with screen x from 0 to 1 over 100 pixels; 0.125 and 0.375 fall on
  // half pixels (12.5 and 37.5), which go to the even neighbour.
  Values(0, 0, 1, 1);
  struct Case {
    Extended level;
    int x;
  };
  for (const Case& c : {Case{0.125L, 12}, Case{0.375L, 38}, Case{0.3L, 30}, Case{0.75L, 75}}) {
    canvas.Clear();
    ASSERT_TRUE(DrawIsoLine(shell(), canvas, false, -1, data, c.level)) << double(c.level);
    const auto segs = Segments(canvas);
    ASSERT_FALSE(segs.empty());
    bool top = false, bottom = false;
    for (const auto& [a, b] : segs) {
      // The centre is (50, 50) with value 0.5: an isoline of this field stays a
      // vertical line; the diagonals' crossings round independently.
      for (const TPoint& p : {a, b}) {
        if (p.Y == 0) top = top || p.X == c.x;
        if (p.Y == 100) bottom = bottom || p.X == c.x;
      }
    }
    EXPECT_TRUE(top) << double(c.level);
    EXPECT_TRUE(bottom) << double(c.level);
  }
}

TEST_F(OneElement, ExactSegmentsOfOneLevel) {
  // Value along screen y: 0 at the bottom (y 100), 1 at the top. Level 0.25 runs
  // at y = 75. Triangles in order (0,1,c), (1,2,c), (2,3,c), (0,3,c).
  Values(0, 1, 1, 0);
  ASSERT_TRUE(DrawIsoLine(shell(), canvas, false, -1, data, 0.25L));
  const auto segs = Segments(canvas);
  ASSERT_EQ(segs.size(), 3u);
  // (0,1,c): edge 0-1 from (0,100) up to (0,0): y = 100 - 25; edge c-0 from (0,100) to (50,50).
  EXPECT_EQ(segs[0].first, (TPoint{0, 75}));
  EXPECT_EQ(segs[0].second, (TPoint{25, 75}));
  // (2,3,c): edge 2-3 at (100, 75); edge 3-c from (100,100) toward the centre.
  EXPECT_EQ(segs[1].first, (TPoint{100, 75}));
  EXPECT_EQ(segs[1].second, (TPoint{75, 75}));
  // (0,3,c): edges 3-c and c-0.
  EXPECT_EQ(segs[2].first, (TPoint{75, 75}));
  EXPECT_EQ(segs[2].second, (TPoint{25, 75}));
}

TEST_F(OneElement, PensBySignAndLabelWidthCanvasRestored) {
  Values(-1, -1, 1, 1);
  canvas.Pen = {0x123456, 3, PenStyle::Dot, PenMode::Copy};
  canvas.Brush = {0x654321, BrushStyle::Solid};
  struct Case {
    Extended level;
    bool labelled;
    RgbColor colour;
    int width;
  };
  for (const Case& c : {Case{0, false, 0xF0CAA6, 1}, Case{0.5L, true, 0x0000FF, 2}, Case{-0.5L, false, 0xFF0000, 1}}) {
    canvas.Clear();
    ASSERT_TRUE(DrawIsoLine(shell(), canvas, c.labelled, -1, data, c.level));
    const auto lines = canvas.CallsOf(CanvasOp::LineTo);
    ASSERT_FALSE(lines.empty());
    for (const auto& l : lines) {
      EXPECT_EQ(l.Pen.Color, c.colour);
      EXPECT_EQ(l.Pen.Width, c.width);
      EXPECT_EQ(l.Brush.Style, BrushStyle::Clear);
    }
    EXPECT_EQ(canvas.Pen, (CanvasPen{0x123456, 3, PenStyle::Dot, PenMode::Copy}));
    EXPECT_EQ(canvas.Brush, (CanvasBrush{0x654321, BrushStyle::Solid}));
  }
}

TEST_F(OneElement, CornerLevelsEdgeLevelsAndZeros) {
  // A level equal to a corner value is crossed where that corner is the high end.
  Values(0, 1, 2, 1);
  EXPECT_TRUE(DrawIsoLine(shell(), canvas, false, -1, data, 2));
  EXPECT_FALSE(DrawIsoLine(shell(), canvas, false, -1, data, 0)) << "0 is only a low end";
  // A level running exactly along an edge leaves the element undrawn.
  Values(0, 0.5L, 0.5L, 1);  // edge 2 (knots 1, 2) at 0.5
  canvas.Clear();
  EXPECT_FALSE(DrawIsoLine(shell(), canvas, true, -1, data, 0.5L));
  EXPECT_TRUE(canvas.Calls.empty());
  // Two exact zeros become 0 and 1e-100: level 0 no longer runs along the edge.
  // Without the nudge edge 1 would be (0, 0) and the element skipped for level 0;
  // now the level is crossed where 1e-100 is the high end (edge 2 down to -1).
  Values(0, 0, -1, -1);
  canvas.Clear();
  EXPECT_TRUE(DrawIsoLine(shell(), canvas, false, -1, data, 0));
  EXPECT_FALSE(canvas.CallsOf(CanvasOp::LineTo).empty());
}

TEST_F(OneElement, MissingValuesAndUnusableShellsDrawNothing) {
  for (auto& k : strip.Knots) k->ClearValues();
  try {
    DrawIsoLine(shell(), canvas, true, -1, data, 0.5L);
    ADD_FAILURE() << "no value under the key must be refused";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Узел не имеет типа элемента в списке!");
  }
  EXPECT_TRUE(canvas.Calls.empty());

  Values(0, 0, 1, 1);
  // A shell without four knots, with a nil knot or without layers is skipped.
  TMLResultShell triangle(ElementType::Triangle, strip.Material);
  triangle.Knots = {strip.At(0, 0), strip.At(0, 1), strip.At(1, 1)};
  EXPECT_FALSE(DrawIsoLine(triangle, canvas, true, -1, data, 0.5L));
  TMLResultShell holed(ElementType::Rectangle, strip.Material);
  holed.Knots = {strip.At(0, 0), nullptr, strip.At(1, 1), strip.At(1, 0)};
  EXPECT_FALSE(DrawIsoLine(holed, canvas, true, -1, data, 0.5L));
  TMLResultShell noKnots(CodeOfByte<ElementType>(3), strip.Material);
  EXPECT_FALSE(DrawIsoLine(noKnots, canvas, true, -1, data, 0.5L));
  TMLResultShell bare(ElementType::Rectangle, strip.Material);
  bare.Knots = shell().Knots;
  bare.Layers.Clear();
  EXPECT_FALSE(DrawIsoLine(bare, canvas, true, -1, data, 0.5L));
  EXPECT_TRUE(canvas.Calls.empty());
}

TEST_F(OneElement, LayerKeySelectsTheLayersMaterialValues) {
  auto other = std::make_shared<TPhisPropRodNL>();
  shell().Layers.AddLayerByName("Второй", other);
  for (auto* k : shell().Knots) {
    auto* rk = static_cast<TResultKnot*>(k);
    rk->ClearValues();
    rk->AddKey(other.get());
    rk->SetValue(other.get(), rk->X);  // 0 on the left, 1 on the right
  }
  EXPECT_TRUE(DrawIsoLine(shell(), canvas, false, 1, data, 0.5L));
  // Layer 0's material has no values at all.
  EXPECT_THROW(DrawIsoLine(shell(), canvas, false, 0, data, 0.5L), std::runtime_error);
}

TEST_F(OneElement, LabelSitsOnTheEntryEdgeAndNamesTheExitEdge) {
  Values(0, 1, 1, 0);  // rises upward: enters through edge 1 (left), leaves through edge 3 (right)
  ASSERT_TRUE(DrawIsoLine(shell(), canvas, true, -1, data, 0.3L));
  EXPECT_EQ(data.X, 0);
  EXPECT_EQ(data.Y, 70);  // p1.Y + Round((0.3 - 1) * (100 - 0) / (0 - 1))
  EXPECT_EQ(data.EntryEdge[0], shell().Knots[0]);
  EXPECT_EQ(data.EntryEdge[1], shell().Knots[1]);
  EXPECT_EQ(data.ExitEdge[0], shell().Knots[2]);
  EXPECT_EQ(data.ExitEdge[1], shell().Knots[3]);
  // Rising to the right: enters through edge 2 (top), at x = Round(0.3 * 100).
  Values(0, 0, 1, 1);
  ASSERT_TRUE(DrawIsoLine(shell(), canvas, true, -1, data, 0.3L));
  EXPECT_EQ(data.Y, 0);
  EXPECT_EQ(data.X, 30);
  EXPECT_EQ(data.EntryEdge[0], shell().Knots[1]);
  EXPECT_EQ(data.ExitEdge[0], shell().Knots[0]);  // edge 4 (knots 0 and 3)
  EXPECT_EQ(data.ExitEdge[1], shell().Knots[3]);
}

// A strip of five elements along X with a value rising along Y: every labelled
// level crosses all five.
struct Strip : ::testing::Test {
  ResultStrip strip{5, 1};
  RecordingCanvas canvas;
  TIsoLabelsList labels;
  DrawFailures failures;
  void SetUp() override {
    strip.PlaceOnScreen(10, 110, 100);
    strip.SetField([](Extended, Extended y) { return y; });
  }
};

TEST_F(Strip, LabelsOfOneIsolineMergeIntoOneAtTheFirstEntry) {
  DrawIsoLevel(canvas, strip.ConstShells(), 0.3L, true, -1, labels, failures);
  EXPECT_EQ(labels.Count(), 5);
  EXPECT_EQ(failures.Count(), 0);
  labels.DrawLabels(canvas);
  EXPECT_EQ(labels.Count(), 0);
  const auto texts = canvas.CallsOf(CanvasOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, " 0.3 ");
  EXPECT_EQ(texts[0].Points[0], (TPoint{10, 80}));  // the left edge of the first element
  EXPECT_EQ(texts[0].Font.Size, 5);
  EXPECT_EQ(texts[0].Font.Color, 0x0000FFu);
  EXPECT_EQ(texts[0].Brush, (CanvasBrush{0xFFFFFF, BrushStyle::Solid}));
}

TEST_F(Strip, LevelsMergeOnlyWithTheirOwnLevel) {
  // Two levels on the same elements: two labels. Values within 1e-9 relative merge.
  DrawIsoLevel(canvas, strip.ConstShells(), 0.3L, true, -1, labels, failures);
  DrawIsoLevel(canvas, strip.ConstShells(), 0.6L, true, -1, labels, failures);
  labels.DrawLabels(canvas);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Text).size(), 2u);

  canvas.Clear();
  strip.SetField([](Extended, Extended y) { return y * 2; });
  TIsoLabelData a, b;
  ASSERT_TRUE(DrawIsoLine(strip.Shell(0, 0), canvas, true, -1, a, 1.0L));
  ASSERT_TRUE(DrawIsoLine(strip.Shell(1, 0), canvas, true, -1, b, 1.0000000005L));
  a.Element = &strip.Shell(0, 0);
  a.Value = 1.0L;
  b.Element = &strip.Shell(1, 0);
  b.Value = 1.0000000005L;
  labels.AddLabel(a);
  labels.AddLabel(b);
  canvas.Clear();
  labels.ForgetDrawn();  // another picture
  labels.DrawLabels(canvas);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Text).size(), 1u);

  // Zero merges with exact zeros only, and is grey.
  strip.SetField([](Extended, Extended y) { return y - 0.5L; });
  TIsoLabelData z0, z1;
  ASSERT_TRUE(DrawIsoLine(strip.Shell(0, 0), canvas, true, -1, z0, 0));
  ASSERT_TRUE(DrawIsoLine(strip.Shell(1, 0), canvas, true, -1, z1, 0));
  z0.Element = &strip.Shell(0, 0);
  z1.Element = &strip.Shell(1, 0);
  z0.Value = 0;
  z1.Value = 1e-20L;
  labels.AddLabel(z0);
  labels.AddLabel(z1);
  canvas.Clear();
  labels.ForgetDrawn();
  labels.DrawLabels(canvas);
  const auto texts = canvas.CallsOf(CanvasOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Font.Color, 0x808080u);
  EXPECT_EQ(texts[1].Font.Color, 0x0000FFu);
}

// Two levels a few pixels apart put their labels on the same edge: the white box
// of the second would cover the first (and its sign), so it is left out; labels
// that only touch are both drawn, and the drawn ones keep out the labels of a
// later DrawLabels of the same picture.
TEST_F(Strip, NoLabelCoversAnotherOfThePicture) {
  DrawIsoLevel(canvas, strip.ConstShells(), 0.3L, true, -1, labels, failures);
  DrawIsoLevel(canvas, strip.ConstShells(), 0.32L, true, -1, labels, failures);  // 2 pixels higher
  labels.DrawLabels(canvas);
  auto texts = canvas.CallsOf(CanvasOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, " 0.3 ");
  ASSERT_EQ(labels.DrawnBoxes().size(), 1u);
  const LabelBox first = labels.DrawnBoxes()[0];
  EXPECT_EQ(first.Left, 10);
  EXPECT_EQ(first.Top, 80);

  // A level whose label starts right below the first box: drawn.
  const Extended below = 0.3L - static_cast<Extended>(first.Bottom - first.Top) / 100;
  DrawIsoLevel(canvas, strip.ConstShells(), below, true, -1, labels, failures);
  labels.DrawLabels(canvas);
  texts = canvas.CallsOf(CanvasOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].Points[0], (TPoint{10, static_cast<std::int32_t>(first.Bottom)}));

  // The same level again in a later group of the pass: kept out by the first.
  DrawIsoLevel(canvas, strip.ConstShells(), 0.3L, true, -1, labels, failures);
  labels.DrawLabels(canvas);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Text).size(), 2u);

  // A new picture starts free.
  labels.ForgetDrawn();
  DrawIsoLevel(canvas, strip.ConstShells(), 0.3L, true, -1, labels, failures);
  labels.DrawLabels(canvas);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Text).size(), 3u);
}

TEST(LabelBoxes, OverlapNeedsACommonPixel) {
  const LabelBox a{0, 0, 10, 5};
  EXPECT_TRUE(a.Overlaps(LabelBox{9, 4, 20, 9}));
  EXPECT_TRUE(a.Overlaps(LabelBox{2, 1, 3, 2}));  // inside
  EXPECT_FALSE(a.Overlaps(LabelBox{10, 0, 20, 5}));  // touching on the right
  EXPECT_FALSE(a.Overlaps(LabelBox{0, 5, 10, 10}));  // touching below
  EXPECT_FALSE(a.Overlaps(LabelBox{-10, -5, 0, 0}));
}

TEST_F(Strip, AFailingElementIsSkippedAndTheOthersDrawn) {
  // Element 2 loses every value (its neighbours keep two knots with values each).
  for (auto* k : strip.Shell(2, 0).Knots) static_cast<TResultKnot*>(k)->ClearValues();
  DrawIsoLevel(canvas, strip.ConstShells(), 0.3L, true, -1, labels, failures);
  EXPECT_EQ(failures.Count(), 1);
  EXPECT_EQ(failures.First(), "Узел не имеет типа элемента в списке!");
  ASSERT_GE(labels.Count(), 2);
  for (int i = 0; i < labels.Count(); ++i) EXPECT_NE(labels.Items(i).Data.Element, &strip.Shell(2, 0));
  EXPECT_EQ(labels.Items(0).Data.Element, &strip.Shell(0, 0));
  EXPECT_EQ(labels.Items(labels.Count() - 1).Data.Element, &strip.Shell(4, 0));
}

TEST_F(Strip, InvisibleShellsAreNotDrawn) {
  for (auto& s : strip.Shells) s->Visible = 0;
  DrawIsoLevel(canvas, strip.ConstShells(), 0.3L, true, -1, labels, failures);
  EXPECT_TRUE(canvas.Calls.empty());
  EXPECT_EQ(labels.Count(), 0);
}

TEST(IsoLabel, EdgesOfRectanglesOnly) {
  ResultStrip strip(1, 1);
  TIsoLabelData d;
  d.Element = &strip.Shell(0, 0);
  TIsoLabel label(d);
  const auto& k = strip.Shell(0, 0).Knots;
  EXPECT_TRUE(label.IsElementEdge(k[1], k[0]));
  EXPECT_TRUE(label.IsElementEdge(k[0], k[3]));
  EXPECT_FALSE(label.IsElementEdge(k[0], k[2]));  // a diagonal
  TMLResultShell quad(ElementType::Quadrangle, strip.Material);
  quad.Knots = k;
  d.Element = &quad;
  label.SetData(d);
  EXPECT_FALSE(label.IsElementEdge(k[0], k[1]));
}

TEST(IsoLabel, TextInGeneralFormat) {
  EXPECT_EQ(IsoLabelText(0.3L), " 0.3 ");
  EXPECT_EQ(IsoLabelText(-12.5L), " -12.5 ");
  EXPECT_EQ(IsoLabelText(1.5e-7L), " 1.5E-07 ");
}

}  // namespace
}  // namespace tavir
