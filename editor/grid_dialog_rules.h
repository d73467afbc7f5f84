#pragma once
// The rules of the drawing-grid dialog ("Параметры сетки") without its widgets:
// reading the step and count boxes, the two automatic divisions, which axes a
// projection lets the user edit, and the preview picture.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/codes.h"
#include "model/grid.h"
#include "platform/canvas.h"
#include "platform/extended.h"
#include "model/records.h"
#include "platform/geometry.h"

namespace tavir {

enum class GridAxis { X = 0, Y = 1, Z = 2 };

inline constexpr const char* kGridErrorCaption = "Ошибка!!!";
// The count boxes' up-down range; a typed count must lie in it too.
inline constexpr std::int32_t kGridCountMax = 30000;

// "Ошибка в шаге по оси X" (Y, Z).
std::string GridStepErrorText(GridAxis axis);
// "Ошибка в  количестве шагов по оси X" (Y, Z; two blanks after "в").
std::string GridCountErrorText(GridAxis axis);

// The step box's text as a step: a number not below 0. Empty optional for any
// other text: the dialog then shows GridStepErrorText and keeps the old step.
std::optional<Extended> ParseGridStep(std::string_view text);

// The count box's text as a count: a decimal integer whose absolute value lies in
// 0..kGridCountMax ("-5" gives 5, and the box is rewritten with "5"). Empty
// optional for any other text (also "-2147483648"): GridCountErrorText, the old
// count stays.
std::optional<std::int32_t> ParseGridCount(std::string_view text);

// What the boxes show: the step in general format with 10 significant digits
// (exponent of at least 4 digits), the count as a decimal integer.
std::string GridStepText(Extended step);
std::string GridCountText(std::int32_t count);

// One axis of the grid as the automatic divisions see it.
struct GridAxisValues {
  Extended Step = 0;
  std::int32_t Count = 0;
  friend bool operator==(const GridAxisValues&, const GridAxisValues&) = default;
};

enum class GridAutoOutcome {
  Divided,
  NoRange,  // the axis's range is not a positive number: step and count kept
  TooFine,  // by step: more than kGridCountMax steps; step and count kept, GridStepErrorText
};

struct GridAutoResult {
  GridAxisValues Values;
  GridAutoOutcome Outcome = GridAutoOutcome::Divided;
};

// "По количеству": count 0 becomes 1, step := range / count.
GridAutoResult DivideByNumber(Extended range, GridAxisValues axis);
// "По шагам": a step of 0 or above the range becomes the range; count := range /
// step rounded to the nearest integer (halves to even; a quotient within round-off
// of a whole or half number is that number, CleanQuotient). A negative step (only
// from a file: the box refuses one) counts as 0.
GridAutoResult DivideByStep(Extended range, GridAxisValues axis);

GridAxisValues AxisOf(const TBCGrid& grid, GridAxis axis);
void SetAxis(TBCGrid& grid, GridAxis axis, const GridAxisValues& values);
// The range of an axis between the window's corners: max - min.
Extended AxisRange(const TFloatPoint3D& minPoint, const TFloatPoint3D& maxPoint, GridAxis axis);

// Which axes the user edits in a window of the projection: 0 (X-Y) X and Y, 1
// (Y-Z) Y and Z, 2 (X-Z) X and Z; any other value all three.
std::array<bool, 3> GridAxesEnabled(Projection projection);

// The 100 x 100 preview: white ground, the sample model of four cells and the 25
// grid points at 10, 30, 50, 70, 90 in the grid's style, colour and placement.
inline constexpr int kGridPreviewSize = 100;
void DrawGridPreview(Canvas& canvas, const TBCGrid& grid);

}  // namespace tavir
