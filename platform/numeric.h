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
  // rint rounds as nearbyint does in the default mode, halves to even, in one
  // instruction: nearbyint saves and restores the whole floating-point state on
  // every call, and every knot of every repaint comes through here.
  const Extended r = std::rint(v);
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

// How far, relative, a quotient of two lengths may stray by round-off alone: the
// lengths come from number texts of 15 significant digits and from differences of
// coordinates, each off by a few units in its last place.
constexpr Extended kQuotientRoundOff = 1e-12L;

// a / b, where a result within round-off of a whole or half number is that number:
// 0.8 / 0.4 with a region height of 0.9 - 0.1 is 2, not 1.999..., so truncating it
// gives 2, and 1 / 0.4 is exactly 2.5, so rounding it to even gives 2. NaN and
// infinities pass through.
inline Extended CleanQuotient(Extended a, Extended b) {
  const Extended q = a / b;
  if (!std::isfinite(q)) return q;
  const Extended halves = std::nearbyint(2 * q) / 2;
  if (!std::isfinite(halves)) return q;  // 2 * q beyond the range: no fraction to clean anyway
  return std::fabs(q - halves) <= kQuotientRoundOff * std::fabs(halves) ? halves : q;
}

}  // namespace tavir
