#include <gtest/gtest.h>

#include <limits>

#include "editor/divide_dialog_rules.h"

namespace tavir {
namespace {

DivideDialogValues Region(Extended sx, Extended sy, Extended stepX, Extended stepY, std::int32_t nx, std::int32_t ny) {
  DivideDialogValues v;
  v.SizeX = sx;
  v.SizeY = sy;
  v.StepX = stepX;
  v.StepY = stepY;
  v.Nx = nx;
  v.Ny = ny;
  v.RegionLabel = "10 x 4";
  return v;
}

TEST(DivideRules, CountBoxesKeepTheirRange) {
  struct Case {
    std::int64_t given;
    std::int32_t kept;
  };
  for (const Case c : {Case{1, 1}, Case{0, 1}, Case{-7, 1}, Case{500, 500}, Case{1'000'000, 1'000'000},
                       Case{1'000'001, 1'000'000}, Case{std::numeric_limits<std::int64_t>::max(), 1'000'000},
                       Case{std::numeric_limits<std::int64_t>::min(), 1}}) {
    EXPECT_EQ(ClampDivideCount(c.given), c.kept) << c.given;
  }
}

TEST(DivideRules, ByNumberStepsFromCounts) {
  struct Case {
    const char* name;
    DivideDialogValues before;
    Extended stepX, stepY;
    std::int32_t nx, ny;
  };
  const Case cases[] = {
      {"10 x 4 in 4 and 2", Region(10, 4, 1, 1, 4, 2), 2.5L, 2, 4, 2},
      {"one step each", Region(10, 4, 7, 7, 1, 1), 10, 4, 1, 1},
      {"a count below the range counts as 1", Region(10, 4, 7, 7, 0, -3), 10, 4, 1, 1},
      {"no size", Region(0, 4, 7, 7, 5, 4), 0, 1, 5, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DivideDialogValues v = DivideStepsFromCounts(c.before);
    EXPECT_EQ(v.StepX, c.stepX);
    EXPECT_EQ(v.StepY, c.stepY);
    EXPECT_EQ(v.Nx, c.nx);
    EXPECT_EQ(v.Ny, c.ny);
    EXPECT_EQ(v.SizeX, c.before.SizeX);
    EXPECT_EQ(v.RegionLabel, "10 x 4");
  }
}

TEST(DivideRules, ByStepCountsFromSteps) {
  struct Case {
    const char* name;
    DivideDialogValues before;
    std::int32_t nx, ny;
  };
  const Extended inf = std::numeric_limits<Extended>::infinity();
  const Case cases[] = {
      {"10 / 3 truncates to 3", Region(10, 4, 3, 1.5L, 9, 9), 3, 2},
      {"step above the size gives 1", Region(10, 4, 20, 5, 9, 9), 1, 1},
      {"negative step gives 1", Region(10, 4, -2, -0.5L, 9, 9), 1, 1},
      {"step 0 keeps the count", Region(10, 4, 0, 0, 6, 7), 6, 7},
      {"far more steps than the boxes take", Region(10, 4, 1e-7L, 1e-300L, 9, 9), 1'000'000, 1'000'000},
      {"an infinite step gives 1", Region(10, 4, inf, inf, 9, 9), 1, 1},
      {"size 0 gives 1", Region(0, 0, 2, 2, 9, 9), 1, 1},
      {"steps that divide exactly", Region(10, 4, 2.5L, 2, 1, 1), 4, 2},
      // Region 1.2 x 0.8 framed from (0.1, 0.1) to (1.3, 0.9): both sizes carry
      // round-off, and 0.8 / 0.4 came out as 1.999... truncated to 1.
      {"sizes within round-off of whole steps", Region(1.3L - 0.1L, 0.9L - 0.1L, 0.4L, 0.4L, 9, 9), 3, 2},
      {"a step of 15 digits from By number", Region(2, 1, 0.666666666666667L, 1, 9, 9), 3, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DivideDialogValues v = DivideCountsFromSteps(c.before);
    EXPECT_EQ(v.Nx, c.nx);
    EXPECT_EQ(v.Ny, c.ny);
    EXPECT_EQ(v.StepX, c.before.StepX);
    EXPECT_EQ(v.StepY, c.before.StepY);
  }
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

TEST(DivideRules, TypedCountsAreClampedAndTheLimitSaysSo) {
  struct Case {
    const char* text;
    std::int32_t current;
    std::int32_t count;
    bool message;
  };
  for (const Case& c : {Case{"4", 1, 4, false}, Case{" 12 ", 1, 12, false}, Case{"1000000", 1, 1000000, false},
                        Case{"1000001", 1, 1000000, true}, Case{"99999999999999999999", 3, 1000000, true},
                        Case{"0", 5, 1, false}, Case{"-3", 5, 1, false}, Case{"-99999999999999", 5, 1, false},
                        Case{"abc", 5, 5, false}, Case{"", 7, 7, false}}) {
    const DivideCountReading r = ReadDivideCount(c.text, c.current);
    EXPECT_EQ(r.Count, c.count) << c.text;
    EXPECT_EQ(r.Message.has_value(), c.message) << c.text;
    if (r.Message) {
      EXPECT_EQ(*r.Message, "Количество шагов не может быть больше 1000000.");
    }
  }
}

}  // namespace
}  // namespace tavir
