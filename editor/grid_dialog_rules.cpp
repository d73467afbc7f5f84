#include "editor/grid_dialog_rules.h"

#include <cmath>
#include <cstdlib>

#include "platform/numeric.h"
#include "platform/numtext.h"

namespace tavir {

namespace {

const char* AxisLetter(GridAxis axis) {
  switch (axis) {
    case GridAxis::X: return "X";
    case GridAxis::Y: return "Y";
    case GridAxis::Z: return "Z";
  }
  return "X";
}

// The sample model over which the preview shows the grid: four cells with a
// thick border, its own pen and brush, the caller's put back afterwards.
void DrawSampleModel(Canvas& canvas) {
  CanvasStateGuard guard(canvas);
  canvas.Pen = CanvasPen{0xFF0000, 2, PenStyle::Solid, PenMode::Copy};
  canvas.Brush = CanvasBrush{0x808000, BrushStyle::Solid};
  canvas.Rectangle(31, 31, 51, 51);
  canvas.Rectangle(51, 31, 71, 51);
  canvas.Rectangle(31, 51, 51, 71);
  canvas.Rectangle(51, 51, 71, 71);
}

constexpr std::array<int, 5> kPreviewPoints{10, 30, 50, 70, 90};

void DrawPreviewGrid(Canvas& canvas, const TBCGrid& grid) {
  switch (grid.Style) {
    case 0:
      for (int x : kPreviewPoints)
        for (int y : kPreviewPoints) canvas.SetPixel(x, y, grid.Color);
      break;
    case 1:
      for (int x : kPreviewPoints)
        for (int y : kPreviewPoints) {
          canvas.MoveTo(x - 2, y);
          canvas.LineTo(x + 3, y);
          canvas.MoveTo(x, y - 2);
          canvas.LineTo(x, y + 3);
        }
      break;
    case 2:
      for (int v : kPreviewPoints) {
        canvas.MoveTo(v, 0);
        canvas.LineTo(v, kGridPreviewSize);
        canvas.MoveTo(0, v);
        canvas.LineTo(kGridPreviewSize, v);
      }
      break;
    case 3:
      canvas.Brush.Style = BrushStyle::Clear;
      for (int x : kPreviewPoints)
        for (int y : kPreviewPoints) canvas.Ellipse(x - 2, y - 2, x + 3, y + 3);
      break;
    default:
      break;
  }
}

}  // namespace

std::string GridStepErrorText(GridAxis axis) { return std::string("Ошибка в шаге по оси ") + AxisLetter(axis); }

std::string GridCountErrorText(GridAxis axis) {
  return std::string("Ошибка в  количестве шагов по оси ") + AxisLetter(axis);
}

std::optional<Extended> ParseGridStep(std::string_view text) {
  const std::optional<Extended> v = ParseFloat(text);
  // A negative step would give a negative count and a grid drawn backwards.
  if (!v || *v < 0) return std::nullopt;
  return *v == 0 ? 0 : *v;  // "-0" is 0
}

std::optional<std::int32_t> ParseGridCount(std::string_view text) {
  const std::optional<int> v = ParseInt(text);
  if (!v) return std::nullopt;
  // In 64 bits: the absolute value of the smallest Int32 does not fit in 32.
  const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(*v));
  if (magnitude > kGridCountMax) return std::nullopt;
  return static_cast<std::int32_t>(magnitude);
}

std::string GridStepText(Extended step) { return FormatGeneral(step, 10, 4); }

std::string GridCountText(std::int32_t count) { return std::to_string(count); }

GridAutoResult DivideByNumber(Extended range, GridAxisValues axis) {
  if (!IsFinitePositive(range)) return {axis, GridAutoOutcome::NoRange};
  if (axis.Count <= 0) axis.Count = 1;
  if (axis.Count > kGridCountMax) axis.Count = kGridCountMax;
  axis.Step = range / axis.Count;
  return {axis, GridAutoOutcome::Divided};
}

GridAutoResult DivideByStep(Extended range, GridAxisValues axis) {
  if (!IsFinitePositive(range)) return {axis, GridAutoOutcome::NoRange};
  Extended step = axis.Step;
  if (!(step > 0) || step > range) step = range;
  // 0 < step <= range, so the quotient is at least 1 and finite.
  const Extended steps = std::nearbyint(CleanQuotient(range, step));
  if (steps > kGridCountMax) return {axis, GridAutoOutcome::TooFine};
  return {{step, static_cast<std::int32_t>(steps)}, GridAutoOutcome::Divided};
}

GridAxisValues AxisOf(const TBCGrid& grid, GridAxis axis) {
  switch (axis) {
    case GridAxis::X: return {grid.StepX, grid.NSX};
    case GridAxis::Y: return {grid.StepY, grid.NSY};
    case GridAxis::Z: return {grid.StepZ, grid.NSZ};
  }
  return {};
}

void SetAxis(TBCGrid& grid, GridAxis axis, const GridAxisValues& values) {
  switch (axis) {
    case GridAxis::X:
      grid.SetStepX(values.Step);
      grid.SetNSX(values.Count);
      break;
    case GridAxis::Y:
      grid.SetStepY(values.Step);
      grid.SetNSY(values.Count);
      break;
    case GridAxis::Z:
      grid.SetStepZ(values.Step);
      grid.SetNSZ(values.Count);
      break;
  }
}

Extended AxisRange(const TFloatPoint3D& minPoint, const TFloatPoint3D& maxPoint, GridAxis axis) {
  switch (axis) {
    case GridAxis::X: return maxPoint.X - minPoint.X;
    case GridAxis::Y: return maxPoint.Y - minPoint.Y;
    case GridAxis::Z: return maxPoint.Z - minPoint.Z;
  }
  return 0;
}

std::array<bool, 3> GridAxesEnabled(Projection projection) {
  switch (projection) {
    case Projection::XY: return {true, true, false};
    case Projection::YZ: return {false, true, true};
    case Projection::XZ: return {true, false, true};
    default: return {true, true, true};
  }
}

void DrawGridPreview(Canvas& canvas, const TBCGrid& grid) {
  CanvasStateGuard guard(canvas);
  canvas.Pen = CanvasPen{0xFFFFFF, 1, PenStyle::Solid, PenMode::Copy};
  canvas.Brush = CanvasBrush{0xFFFFFF, BrushStyle::Solid};
  canvas.Rectangle(0, 0, kGridPreviewSize, kGridPreviewSize);
  canvas.Pen.Mode = grid.Place == 2 ? PenMode::Not : PenMode::Copy;
  if (grid.Place != 1) DrawSampleModel(canvas);
  canvas.Pen.Color = grid.Color;
  canvas.Pen.Style = PenStyle::Solid;
  canvas.Pen.Width = 1;
  DrawPreviewGrid(canvas, grid);
  if (grid.Place == 1) DrawSampleModel(canvas);
}

}  // namespace tavir
