#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "editor/grid_dialog_rules.h"
#include "platform/numtext.h"
#include "platform/recording_canvas.h"

namespace tavir {
namespace {

class GridRules : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
};

TEST_F(GridRules, ErrorTextsOfTheSixBoxes) {
  EXPECT_EQ(GridStepErrorText(GridAxis::X), "Ошибка в шаге по оси X");
  EXPECT_EQ(GridStepErrorText(GridAxis::Y), "Ошибка в шаге по оси Y");
  EXPECT_EQ(GridStepErrorText(GridAxis::Z), "Ошибка в шаге по оси Z");
  EXPECT_EQ(GridCountErrorText(GridAxis::X), "Ошибка в  количестве шагов по оси X");
  EXPECT_EQ(GridCountErrorText(GridAxis::Y), "Ошибка в  количестве шагов по оси Y");
  EXPECT_EQ(GridCountErrorText(GridAxis::Z), "Ошибка в  количестве шагов по оси Z");
  EXPECT_STREQ(kGridErrorCaption, "Ошибка!!!");
}

struct StepCase {
  const char* text;
  std::optional<Extended> step;
};

TEST_F(GridRules, StepBoxTakesNumbersNotBelowZero) {
  const StepCase cases[] = {
      {"2.5", 2.5L}, {"2,5", 2.5L}, {" 10 ", 10.0L}, {"0", 0.0L}, {"-0", 0.0L}, {"1E-3", 0.001L},
      {"", std::nullopt}, {"abc", std::nullopt}, {"2.5x", std::nullopt}, {"nan", std::nullopt},
      {"inf", std::nullopt},
      // A negative step used to be kept and gave a negative count.
      {"-2", std::nullopt}, {"-0.001", std::nullopt},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseGridStep(c.text), c.step);
  }
}

struct CountCase {
  const char* text;
  std::optional<std::int32_t> count;
};

TEST_F(GridRules, CountBoxTakesAbsoluteValuesUpToTheUpDownLimit) {
  const CountCase cases[] = {
      {"0", 0}, {"7", 7}, {"-5", 5}, {"+3", 3}, {"30000", 30000}, {"-30000", 30000},
      // Typed counts were not clamped to the up-down's range.
      {"30001", std::nullopt}, {"-30001", std::nullopt}, {"2147483647", std::nullopt},
      // abs() of the smallest Int32 overflows.
      {"-2147483648", std::nullopt},
      {"99999999999", std::nullopt}, {"", std::nullopt}, {"1.5", std::nullopt}, {"x", std::nullopt},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseGridCount(c.text), c.count);
  }
}

TEST_F(GridRules, BoxTexts) {
  EXPECT_EQ(GridStepText(2.5L), "2.5");
  EXPECT_EQ(GridStepText(0), "0");
  EXPECT_EQ(GridStepText(10.0L / 3), "3.333333333");
  EXPECT_EQ(GridStepText(1e20L), "1E0020");
  EXPECT_EQ(GridCountText(5), "5");
  EXPECT_EQ(GridCountText(0), "0");
}

struct AutoCase {
  const char* name;
  Extended range;
  GridAxisValues before;
  GridAxisValues after;
  GridAutoOutcome outcome;
};

template <std::size_t N>
void CheckAll(const AutoCase (&cases)[N], GridAutoResult (*divide)(Extended, GridAxisValues)) {
  for (const AutoCase& c : cases) {
    SCOPED_TRACE(c.name);
    const GridAutoResult r = divide(c.range, c.before);
    EXPECT_EQ(r.Outcome, c.outcome);
    EXPECT_EQ(r.Values.Count, c.after.Count);
    EXPECT_EQ(r.Values.Step, c.after.Step);
  }
}

TEST_F(GridRules, ByStepCountsFromSteps) {
  const AutoCase cases[] = {
      {"2.5 on 10", 10, {2.5L, 0}, {2.5L, 4}, GridAutoOutcome::Divided},
      {"3 on 10", 10, {3, 0}, {3, 3}, GridAutoOutcome::Divided},
      {"4 on 10 rounds half to even", 10, {4, 9}, {4, 2}, GridAutoOutcome::Divided},
      {"step 0 becomes the range", 10, {0, 7}, {10, 1}, GridAutoOutcome::Divided},
      {"step above the range becomes it", 10, {12, 7}, {10, 1}, GridAutoOutcome::Divided},
      {"step equal to the range", 10, {10, 7}, {10, 1}, GridAutoOutcome::Divided},
      {"30000 steps still taken", 30, {0.001L, 0}, {0.001L, 30000}, GridAutoOutcome::Divided},
      // A negative step (from a file) no longer gives a negative count.
      {"negative step counts as 0", 10, {-2, 3}, {10, 1}, GridAutoOutcome::Divided},
      // Range and step both 0 used to divide 0 by 0.
      {"no range, step 0: kept", 0, {0, 6}, {0, 6}, GridAutoOutcome::NoRange},
      {"no range, step set: kept", 0, {2, 6}, {2, 6}, GridAutoOutcome::NoRange},
      {"negative range: kept", -4, {1, 6}, {1, 6}, GridAutoOutcome::NoRange},
      {"too fine a step: kept", 10, {1e-4L, 5}, {1e-4L, 5}, GridAutoOutcome::TooFine},
      // Halves that round-off moved off the half: rounded to even as the exact ones.
      {"0.12 on 0.3 is 2.5: 2", 0.3L, {0.12L, 0}, {0.12L, 2}, GridAutoOutcome::Divided},
      {"0.6 on 0.9 is 1.5: 2", 0.9L, {0.6L, 0}, {0.6L, 2}, GridAutoOutcome::Divided},
      {"0.4 on 0.9 - 0.1 is 2", 0.9L - 0.1L, {0.4L, 0}, {0.4L, 2}, GridAutoOutcome::Divided},
  };
  CheckAll(cases, DivideByStep);
}

TEST_F(GridRules, ByNumberStepsFromCounts) {
  const AutoCase cases[] = {
      {"4 on 10", 10, {7, 4}, {2.5L, 4}, GridAutoOutcome::Divided},
      {"count 0 becomes 1, step the range", 10, {7, 0}, {10, 1}, GridAutoOutcome::Divided},
      {"one step", 6, {0, 1}, {6, 1}, GridAutoOutcome::Divided},
      {"a file's count above the limit is clamped", 30, {1, 40000}, {0.001L, 30000}, GridAutoOutcome::Divided},
      {"no range: kept", 0, {3, 0}, {3, 0}, GridAutoOutcome::NoRange},
  };
  CheckAll(cases, DivideByNumber);
}

TEST_F(GridRules, AxesOfTheGridAndTheirRanges) {
  TBCGrid g;
  SetAxis(g, GridAxis::X, {1.5L, 3});
  SetAxis(g, GridAxis::Y, {2.5L, 4});
  SetAxis(g, GridAxis::Z, {3.5L, 5});
  EXPECT_EQ(g.StepX, 1.5L);
  EXPECT_EQ(g.NSY, 4);
  EXPECT_EQ(g.StepZ, 3.5L);
  EXPECT_EQ(AxisOf(g, GridAxis::Y), (GridAxisValues{2.5L, 4}));
  EXPECT_EQ(AxisOf(g, GridAxis::Z), (GridAxisValues{3.5L, 5}));
  const TFloatPoint3D lo = FloatPoint3D(-1, 2, 3);
  const TFloatPoint3D hi = FloatPoint3D(9, 6, 3);
  EXPECT_EQ(AxisRange(lo, hi, GridAxis::X), 10);
  EXPECT_EQ(AxisRange(lo, hi, GridAxis::Y), 4);
  EXPECT_EQ(AxisRange(lo, hi, GridAxis::Z), 0);
}

TEST_F(GridRules, ProjectionEnablesTwoAxes) {
  using A = std::array<bool, 3>;
  EXPECT_EQ(GridAxesEnabled(Projection::XY), (A{true, true, false}));
  EXPECT_EQ(GridAxesEnabled(Projection::YZ), (A{false, true, true}));
  EXPECT_EQ(GridAxesEnabled(Projection::XZ), (A{true, false, true}));
  EXPECT_EQ(GridAxesEnabled(Projection::Spatial), (A{true, true, true}));
  EXPECT_EQ(GridAxesEnabled(CodeOfByte<Projection>(255)), (A{true, true, true}));
}

// ---- preview ----

TBCGrid PreviewGrid(std::uint8_t style, std::uint8_t place) {
  TBCGrid g;
  g.SetColor(0x0000FF);
  g.SetStyle(style);
  g.SetPlace(place);
  return g;
}

bool IsSampleCell(const CanvasCall& c) {
  return c.Op == CanvasOp::Rectangle && c.Pen.Color == 0xFF0000 && c.Pen.Width == 2 && c.Brush.Color == 0x808000;
}

TEST_F(GridRules, PreviewClearsTheGroundAndRestoresTheCanvas) {
  RecordingCanvas canvas;
  canvas.Pen = {0x123456, 3, PenStyle::Dash, PenMode::Xor};
  canvas.Brush = {0x654321, BrushStyle::Cross};
  const CanvasPen pen = canvas.Pen;
  const CanvasBrush brush = canvas.Brush;
  DrawGridPreview(canvas, PreviewGrid(3, 2));
  EXPECT_EQ(canvas.Pen, pen);
  EXPECT_EQ(canvas.Brush, brush);
  ASSERT_FALSE(canvas.Calls.empty());
  const CanvasCall& ground = canvas.Calls.front();
  EXPECT_EQ(ground.Op, CanvasOp::Rectangle);
  EXPECT_EQ(ground.Points, (std::vector<TPoint>{{0, 0}, {100, 100}}));
  EXPECT_EQ(ground.Pen.Color, 0xFFFFFFu);
  EXPECT_EQ(ground.Brush, (CanvasBrush{0xFFFFFF, BrushStyle::Solid}));
}

TEST_F(GridRules, PreviewStyles) {
  struct Case {
    std::uint8_t style;
    CanvasOp op;
    std::size_t count;
  };
  const Case cases[] = {
      {0, CanvasOp::Pixel, 25}, {1, CanvasOp::LineTo, 50}, {2, CanvasOp::LineTo, 10}, {3, CanvasOp::Ellipse, 25}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.style));
    RecordingCanvas canvas;
    DrawGridPreview(canvas, PreviewGrid(c.style, 0));
    const std::vector<CanvasCall> calls = canvas.CallsOf(c.op);
    ASSERT_EQ(calls.size(), c.count);
    for (const CanvasCall& call : calls) {
      if (c.op == CanvasOp::Pixel) EXPECT_EQ(call.Color, 0x0000FFu);
      else EXPECT_EQ(call.Pen.Color, 0x0000FFu);
      EXPECT_EQ(call.Pen.Width, 1);
    }
  }
  RecordingCanvas crosses;
  DrawGridPreview(crosses, PreviewGrid(1, 0));
  const std::vector<CanvasCall> lines = crosses.CallsOf(CanvasOp::LineTo);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{8, 10}, {13, 10}}));
  EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{10, 8}, {10, 13}}));
  RecordingCanvas full;
  DrawGridPreview(full, PreviewGrid(2, 0));
  const std::vector<CanvasCall> full_lines = full.CallsOf(CanvasOp::LineTo);
  EXPECT_EQ(full_lines[0].Points, (std::vector<TPoint>{{10, 0}, {10, 100}}));
  EXPECT_EQ(full_lines[1].Points, (std::vector<TPoint>{{0, 10}, {100, 10}}));
  RecordingCanvas circles;
  DrawGridPreview(circles, PreviewGrid(3, 0));
  const CanvasCall circle = circles.CallsOf(CanvasOp::Ellipse)[0];
  EXPECT_EQ(circle.Points, (std::vector<TPoint>{{8, 8}, {13, 13}}));
  EXPECT_EQ(circle.Brush.Style, BrushStyle::Clear);
}

TEST_F(GridRules, PreviewPlacementOrdersModelAndGrid) {
  struct Case {
    std::uint8_t place;
    bool modelFirst;
    PenMode gridMode;
  };
  const Case cases[] = {{0, true, PenMode::Copy}, {1, false, PenMode::Copy}, {2, true, PenMode::Not}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.place));
    RecordingCanvas canvas;
    DrawGridPreview(canvas, PreviewGrid(2, c.place));
    std::vector<std::size_t> cells;
    std::vector<std::size_t> lines;
    for (std::size_t i = 0; i < canvas.Calls.size(); ++i) {
      if (IsSampleCell(canvas.Calls[i])) cells.push_back(i);
      if (canvas.Calls[i].Op == CanvasOp::LineTo) {
        lines.push_back(i);
        EXPECT_EQ(canvas.Calls[i].Pen.Mode, c.gridMode);
      }
    }
    ASSERT_EQ(cells.size(), 4u);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(cells.back() < lines.front(), c.modelFirst);
    EXPECT_EQ(lines.back() < cells.front(), !c.modelFirst);
    EXPECT_EQ(canvas.Calls[cells[0]].Points, (std::vector<TPoint>{{31, 31}, {51, 51}}));
    EXPECT_EQ(canvas.Calls[cells[3]].Points, (std::vector<TPoint>{{51, 51}, {71, 71}}));
    for (std::size_t i : cells) EXPECT_EQ(canvas.Calls[i].Pen.Mode, PenMode::Copy);
  }
}

}  // namespace
}  // namespace tavir
