#pragma once
// Pixel rounding and the two kinds of equality with a tolerance.
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/extended.h"

namespace tavir {

// Round to nearest, halves to even, saturated into Int32. NaN gives 0: it must
// never reach an integer conversion.
inline std::int32_t RoundSat(Extended v) {
  if (std::isnan(v)) return 0;
  const Extended r = std::nearbyint(v);
  if (r >= static_cast<Extended>(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
  if (r <= static_cast<Extended>(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(r);
}

// Truncation toward zero, saturated likewise.
inline std::int32_t TruncSat(Extended v) {
  if (std::isnan(v)) return 0;
  const Extended t = std::trunc(v);
  if (t >= static_cast<Extended>(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
  if (t <= static_cast<Extended>(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(t);
}

constexpr Extended kStrictEps = 1e-10L;

// Strict kind: equal when they differ by less than 1e-10.
inline bool StrictSame(Extended a, Extended b) { return std::fabs(a - b) < kStrictEps; }
// Inclusive kind: equal when they differ by at most the tolerance.
inline bool InclusiveSame(Extended a, Extended b, Extended tol) { return std::fabs(a - b) <= tol; }

inline bool IsFinitePositive(Extended v) { return std::isfinite(v) && v > 0; }

}  // namespace tavir
