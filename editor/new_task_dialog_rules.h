#pragma once
// The rules of the new-task dialog ("Новая задача") without its widgets: reading
// the six region boxes and the precision, and the region check that OK runs.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/extended.h"
#include "model/records.h"

namespace tavir {

inline constexpr const char* kCoordinateErrorCaption = "Ошибка!!!";
inline constexpr const char* kNewTaskPrecisionText = "Точность ввода данных должна быть положительным числом.";

// The six boxes in reading order: Xmin, Ymin, Zmin, Xmax, Ymax, Zmax (index 0..5).
inline constexpr int kRegionFieldCount = 6;
// "Ошибка в координате Xmin" ... "Ошибка в координате Zmax".
std::string CoordinateErrorText(int field);

// A box's text as a coordinate: any finite number; nothing for other text.
std::optional<Extended> ParseCoordinate(std::string_view text);
// The precision box: a finite number above 0 (it becomes a window's scale).
std::optional<Extended> ParseTaskPrecision(std::string_view text);

struct RegionCheck {
  TFloatPoint3D Min, Max;
  // The equal-coordinates warnings shown, in axis order (the box was corrected).
  std::vector<std::string> Warnings;
  // A box of no extent that doubling cannot mend (equal minimum and maximum not
  // above 0): the message, and the axis (0 X, 1 Y, 2 Z) whose maximum box gets
  // the focus. The dialog stays open.
  std::optional<std::string> Refusal;
  int RefusedAxis = -1;
};

// "        Минимальная и максимальная координаты X равны.\rПроизведена коррекция -
// минимальная координата удвоена." (Y, Z).
std::string EqualCoordinatesWarning(int axis);
// The refusal when doubling would leave no extent or turn the box over.
std::string EqualCoordinatesRefusal(int axis);

// On OK: each axis with its minimum above its maximum has the two swapped; then,
// axis by axis, equal values with a positive minimum get maximum := 2 x minimum
// and the warning; equal values not above 0 are refused.
RegionCheck CheckRegion(const TFloatPoint3D& min, const TFloatPoint3D& max);

}  // namespace tavir
