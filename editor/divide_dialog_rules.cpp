#include "editor/divide_dialog_rules.h"

#include <algorithm>
#include <cmath>

#include "platform/numeric.h"

namespace tavir {

namespace {

std::int32_t CountFromStep(Extended size, Extended step, std::int32_t current) {
  if (step == 0) return current;
  const Extended quotient = size / step;
  if (std::isnan(quotient)) return current;
  // TruncSat keeps an infinite or huge quotient inside Int32 before the clamp.
  return ClampDivideCount(TruncSat(quotient));
}

}  // namespace

std::int32_t ClampDivideCount(std::int64_t count) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(count, kDivideCountMin, kDivideCountMax));
}

DivideDialogValues DivideStepsFromCounts(const DivideDialogValues& values) {
  DivideDialogValues v = values;
  v.Nx = ClampDivideCount(v.Nx);
  v.Ny = ClampDivideCount(v.Ny);
  v.StepX = v.SizeX / v.Nx;
  v.StepY = v.SizeY / v.Ny;
  return v;
}

DivideDialogValues DivideCountsFromSteps(const DivideDialogValues& values) {
  DivideDialogValues v = values;
  v.Nx = CountFromStep(v.SizeX, v.StepX, ClampDivideCount(v.Nx));
  v.Ny = CountFromStep(v.SizeY, v.StepY, ClampDivideCount(v.Ny));
  return v;
}

}  // namespace tavir
