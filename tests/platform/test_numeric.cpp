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

TEST(Numeric, AQuotientWithinRoundOffOfAWholeOrHalfNumberIsThatNumber) {
  // Lengths as the editor meets them: differences of coordinates read from texts.
  const Extended height = 0.9L - 0.1L;  // 0.8 less a unit in its last place
  ASSERT_LT(height / 0.4L, 2);
  struct Case {
    const char* name;
    Extended a, b, q;
  };
  const Case cases[] = {
      {"0.8 as 0.9 - 0.1 over 0.4", height, 0.4L, 2},
      {"1.2 as 1.3 - 0.1 over 0.4", 1.3L - 0.1L, 0.4L, 3},
      {"0.3 over 0.12 is a half", 0.3L, 0.12L, 2.5L},
      {"0.8 over 0.6 is 0.4 over 0.3", 0.9L - 0.1L, 0.6L, (0.9L - 0.1L) / 0.6L},
      {"10 over 3 stays", 10, 3, 10.0L / 3},
      {"a step typed with 10 digits is no round-off", 1, 0.3333333333L, 1 / 0.3333333333L},
      {"exact quotients stay", 10, 4, 2.5L},
      {"a tiny quotient stays", 1e-300L, 1, 1e-300L},
      {"the largest quotient stays finite", std::numeric_limits<Extended>::max(), 1,
       std::numeric_limits<Extended>::max()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CleanQuotient(c.a, c.b), c.q);
  }
  EXPECT_EQ(CleanQuotient(1, 0), kInf);
  EXPECT_TRUE(std::isnan(CleanQuotient(0, 0)));
}

}  // namespace
}  // namespace tavir
