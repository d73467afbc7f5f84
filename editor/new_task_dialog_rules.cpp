#include "editor/new_task_dialog_rules.h"

#include <cmath>
#include <utility>

#include "platform/numtext.h"

namespace tavir {

namespace {

constexpr std::array<const char*, kRegionFieldCount> kFieldNames{"Xmin", "Ymin", "Zmin", "Xmax", "Ymax", "Zmax"};
constexpr std::array<const char*, 3> kAxisLetters{"X", "Y", "Z"};

Extended& Axis(TFloatPoint3D& p, int axis) { return axis == 0 ? p.X : axis == 1 ? p.Y : p.Z; }

}  // namespace

std::string CoordinateErrorText(int field) {
  if (field < 0 || field >= kRegionFieldCount) return {};
  return std::string("Ошибка в координате ") + kFieldNames[static_cast<std::size_t>(field)];
}

std::optional<Extended> ParseCoordinate(std::string_view text) { return ParseFloat(text); }

std::optional<Extended> ParseTaskPrecision(std::string_view text) {
  const std::optional<Extended> v = ParseFloat(text);
  if (!v || !(*v > 0) || !std::isfinite(*v)) return std::nullopt;
  return v;
}

std::string EqualCoordinatesWarning(int axis) {
  const char* a = kAxisLetters[static_cast<std::size_t>(axis)];
  return std::string("        Минимальная и максимальная координаты ") + a +
         " равны.\rПроизведена коррекция - минимальная координата удвоена.";
}

std::string EqualCoordinatesRefusal(int axis) {
  const char* a = kAxisLetters[static_cast<std::size_t>(axis)];
  return std::string("Минимальная и максимальная координаты ") + a +
         " равны.\rОбласть не имеет размера по этой оси: задайте разные координаты.";
}

RegionCheck CheckRegion(const TFloatPoint3D& min, const TFloatPoint3D& max) {
  RegionCheck r;
  r.Min = min;
  r.Max = max;
  for (int axis = 0; axis < 3; ++axis) {
    Extended& lo = Axis(r.Min, axis);
    Extended& hi = Axis(r.Max, axis);
    if (lo > hi) std::swap(lo, hi);
  }
  for (int axis = 0; axis < 3; ++axis) {
    Extended& lo = Axis(r.Min, axis);
    Extended& hi = Axis(r.Max, axis);
    if (lo != hi) continue;
    // Doubling mends only a positive value: 0 stays flat, a negative one turns over.
    if (!(lo > 0) || !std::isfinite(2 * lo)) {
      r.Refusal = EqualCoordinatesRefusal(axis);
      r.RefusedAxis = axis;
      return r;
    }
    hi = 2 * lo;
    r.Warnings.push_back(EqualCoordinatesWarning(axis));
  }
  return r;
}

}  // namespace tavir
