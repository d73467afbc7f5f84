#include "editor/divide_dialog_rules.h"

#include <algorithm>
#include <cmath>

#include "platform/numeric.h"
#include "platform/numtext.h"

namespace tavir {

namespace {

std::int32_t CountFromStep(Extended size, Extended step, std::int32_t current) {
  if (step == 0) return current;
  const Extended quotient = CleanQuotient(size, step);
  if (std::isnan(quotient)) return current;
  // TruncSat keeps an infinite or huge quotient inside Int32 before the clamp.
  return ClampDivideCount(TruncSat(quotient));
}

}  // namespace

std::int32_t ClampDivideCount(std::int64_t count) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(count, kDivideCountMin, kDivideCountMax));
}

DivideCountReading ReadDivideCount(std::string_view text, std::int32_t current) {
  DivideCountReading r;
  r.Count = ClampDivideCount(current);
  std::string_view t = text;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  if (const std::optional<int> v = ParseInt(t)) {
    r.Count = ClampDivideCount(*v);
    if (*v > kDivideCountMax) r.Message = kDivideCountLimitText;
    return r;
  }
  // Digits beyond any integer: a count far above the limit.
  std::string_view digits = t;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  const bool allDigits = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
  if (allDigits) {
    r.Count = kDivideCountMax;
    r.Message = kDivideCountLimitText;
  } else if (t.size() > 1 && t.front() == '-' &&
             t.substr(1).find_first_not_of("0123456789") == std::string_view::npos) {
    r.Count = kDivideCountMin;
  }
  return r;
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
