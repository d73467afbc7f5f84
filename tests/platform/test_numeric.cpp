#include <gtest/gtest.h>

#include <limits>

#include "platform/numeric.h"

namespace tavir {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
const Extended kInf = std::numeric_limits<Extended>::infinity();
const Extended kNaN = std::numeric_limits<Extended>::quiet_NaN();

TEST(Numeric, RoundSatHalvesToEvenAndSaturates) {
  const struct {
    Extended v;
    std::int32_t r;
  } cases[] = {
      {0.5L, 0},      {1.5L, 2},        {2.5L, 2},         {-0.5L, 0},          {-1.5L, -2},
      {-2.5L, -2},    {0.49999999L, 0}, {2.5000001L, 3},   {-7.2L, -7},         {1e30L, kMax},
      {-1e30L, kMin}, {kInf, kMax},     {-kInf, kMin},     {kNaN, 0},           {2147483646.5L, 2147483646},
      {2147483647.4L, kMax}, {2147483648.0L, kMax}, {-2147483648.4L, kMin}, {-2147483649.0L, kMin},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundSat(c.v), c.r) << static_cast<double>(c.v);
}

TEST(Numeric, TruncSatCutsTowardZeroAndSaturates) {
  const struct {
    Extended v;
    std::int32_t r;
  } cases[] = {
      {1.9L, 1},       {-1.9L, -1},  {0.999L, 0},   {-0.999L, 0},  {1e30L, kMax},
      {-1e30L, kMin},  {kInf, kMax}, {-kInf, kMin}, {kNaN, 0},     {2147483647.9L, kMax},
      {-2147483648.9L, kMin},
  };
  for (const auto& c : cases) EXPECT_EQ(TruncSat(c.v), c.r) << static_cast<double>(c.v);
}

TEST(Numeric, StrictAndInclusiveSameDifferAtTheBoundary) {
  // A difference of exactly the tolerance: inclusive yes, strict no.
  EXPECT_FALSE(StrictSame(0.0L, kStrictEps));
  EXPECT_TRUE(InclusiveSame(0.0L, kStrictEps, kStrictEps));
  EXPECT_TRUE(StrictSame(0.0L, 0.99e-10L));
  EXPECT_TRUE(StrictSame(5.0L, 5.0L));
  EXPECT_TRUE(InclusiveSame(1.0L, 1.5L, 0.5L));
  EXPECT_FALSE(InclusiveSame(1.0L, 1.5000001L, 0.5L));
  EXPECT_TRUE(InclusiveSame(3.0L, 3.0L, 0.0L));
  // NaN is equal to nothing.
  EXPECT_FALSE(StrictSame(kNaN, kNaN));
  EXPECT_FALSE(InclusiveSame(kNaN, 0.0L, kInf));
}

TEST(Numeric, FinitePositive) {
  EXPECT_TRUE(IsFinitePositive(1e-4000L));
  EXPECT_FALSE(IsFinitePositive(0.0L));
  EXPECT_FALSE(IsFinitePositive(-1.0L));
  EXPECT_FALSE(IsFinitePositive(kInf));
  EXPECT_FALSE(IsFinitePositive(kNaN));
}

}  // namespace
}  // namespace tavir
