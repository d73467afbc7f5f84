// Isoline levels: defaults, the drawing order with labels, and the guards that
// keep the loop finite.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "viewer/iso_levels.h"

namespace tavir {
namespace {

TIsoParamsRec Params(Extended minValue, Extended maxValue, Extended step, std::int32_t labelStep) {
  TIsoParamsRec p;
  p.MinValue = minValue;
  p.MaxValue = maxValue;
  p.Step = step;
  p.LabelStep = labelStep;
  return p;
}

std::vector<Extended> Values(const std::vector<IsoLevel>& levels) {
  std::vector<Extended> v;
  for (const auto& l : levels) v.push_back(l.Value);
  return v;
}

TEST(IsoLevels, DefaultsSplitTheRangeInTenWithLabelsOnEveryThird) {
  const TIsoParamsRec p = DefaultIsoParams(ResultKind::Wz, -5, 15);
  EXPECT_EQ(p.Kind, ResultKind::Wz);
  EXPECT_EQ(p.StepCount, 10);
  EXPECT_EQ(p.Step, 2);
  EXPECT_EQ(p.LabelStep, 3);
  const auto levels = IsoLevels(p);
  EXPECT_EQ(Values(levels), (std::vector<Extended>{-5, -3, -1, 1, 3, 5, 7, 9, 11, 13, 15, 0}));
  std::vector<std::int32_t> labelled;
  for (const auto& l : levels)
    if (l.Group == IsoLevelGroup::Stepped && l.Labels) labelled.push_back(l.Number);
  EXPECT_EQ(labelled, (std::vector<std::int32_t>{3, 6, 9}));
  EXPECT_EQ(levels[10].Group, IsoLevelGroup::Max);
  EXPECT_TRUE(levels[10].Labels);
  EXPECT_EQ(levels[11].Group, IsoLevelGroup::Zero);
  EXPECT_TRUE(levels[11].Labels);
}

TEST(IsoLevels, EqualValuesGiveStepZeroAndOnlyMaxAndZero) {
  const TIsoParamsRec p = DefaultIsoParams(ResultKind::Wz, 0.25L, 0.25L);
  EXPECT_EQ(p.Step, 0);
  EXPECT_EQ(Values(IsoLevels(p)), (std::vector<Extended>{0.25L, 0}));
}

TEST(IsoLevels, LabelsAreDrawnWhenEachGroupEnds) {
  std::vector<std::string> events;
  ForEachIsoLevel(
      Params(0, 2, 1, 1), [&](const IsoLevel& l) { events.push_back("L" + std::to_string(static_cast<int>(l.Value))); },
      [&](IsoLevelGroup g) { events.push_back(g == IsoLevelGroup::Stepped ? "S" : g == IsoLevelGroup::Max ? "M" : "Z"); });
  // The run starts at 0, which the zero level draws (once).
  EXPECT_EQ(events, (std::vector<std::string>{"L1", "S", "L2", "M", "L0", "Z"}));
}

// Records that would never end, flood the picture or hold non-numbers draw only
// MaxValue and 0 (or 0 alone when MaxValue is not a number).
TEST(IsoLevels, UnusableRecordsDrawOnlyTheFixedLevels) {
  const Extended inf = std::numeric_limits<Extended>::infinity();
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  const Extended tiny = std::ldexp(1.0L, -64);  // 1 + 2^-64 rounds back to 1
  struct Case {
    const char* Name;
    TIsoParamsRec P;
    std::vector<Extended> Expected;
  };
  const std::vector<Case> cases = {
      {"step 0", Params(0, 1, 0, 3), {1, 0}},
      {"negative step", Params(0, 1, -0.1L, 3), {1, 0}},
      {"NaN step", Params(0, 1, nan, 3), {1, 0}},
      {"infinite step", Params(0, 1, inf, 3), {1, 0}},
      {"step far too small", Params(0, 1, 1e-30L, 3), {1, 0}},
      {"step that does not move the value", Params(1, 1 + std::ldexp(1.0L, -60), tiny, 3), {1 + std::ldexp(1.0L, -60), 0}},
      {"32767 levels", Params(0, 32767, 1, 3), {32767, 0}},
      {"NaN maximum", Params(0, nan, 1, 3), {0}},
      {"infinite minimum", Params(-inf, 2, 1, 3), {2, 0}},
      {"min above max", Params(3, 2, 1, 3), {2, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(Values(IsoLevels(c.P)), c.Expected) << c.Name;
  EXPECT_FALSE(SteppedLevelsUsable(Params(0, 1, 0, 3)));
  EXPECT_TRUE(SteppedLevelsUsable(Params(0, 1, 0.5L, 3)));
}

// A level within round-off of zero is drawn as 0, and no level twice: -1 + 5 x 0.2
// by repeated addition is -2.7e-20, not 0; a maximum of 0 is the zero level itself.
TEST(IsoLevels, RoundOffZeroIsZeroAndNoLevelIsDrawnTwice) {
  struct Case {
    const char* Name;
    TIsoParamsRec P;
    std::vector<Extended> Expected;
  };
  const std::vector<Case> cases = {
      {"symmetric range", DefaultIsoParams(ResultKind::RotX, -1, 1),
       {-1, -0.8L, -0.6L, -0.4L, -0.2L, 0.2L, 0.4L, 0.6L, 0.8L, 1, 0}},
      {"maximum 0", DefaultIsoParams(ResultKind::Wz, -1, 0), {-1, -0.9L, -0.8L, -0.7L, -0.6L, -0.5L, -0.4L, -0.3L,
                                                               -0.2L, -0.1L, 0}},
      {"maximum within round-off of 0", DefaultIsoParams(ResultKind::Wz, -1, 1e-13L),
       {-1, -0.9L, -0.8L, -0.7L, -0.6L, -0.5L, -0.4L, -0.3L, -0.2L, -0.1L, 0}},
      {"minimum within round-off of 0", Params(-1e-13L, 1, 0.5L, 3), {0.5L, 1, 0}},
      {"all values 0", DefaultIsoParams(ResultKind::Wz, 0, 0), {0}},
  };
  for (const auto& c : cases) {
    const auto levels = IsoLevels(c.P);
    const std::vector<Extended> got = Values(levels);
    ASSERT_EQ(got.size(), c.Expected.size()) << c.Name;
    for (std::size_t i = 0; i < got.size(); ++i) {
      // The stepped levels are sums, equal to the decimal values within round-off;
      // zero is exactly 0.
      if (c.Expected[i] == 0) {
        EXPECT_EQ(got[i], 0) << c.Name << " level " << i;
      } else {
        EXPECT_NEAR(static_cast<double>(got[i]), static_cast<double>(c.Expected[i]), 1e-12) << c.Name << " " << i;
      }
    }
    // The zero level carries labels wherever it comes from.
    for (const auto& l : levels) {
      if (l.Value == 0) {
        EXPECT_TRUE(l.Labels) << c.Name;
      }
    }
  }
  // The tolerance is relative to the range: a small range keeps its small levels.
  const Extended u = std::ldexp(1.0L, -70);
  EXPECT_EQ(Values(IsoLevels(Params(-4 * u, 4 * u, 2 * u, 3))), (std::vector<Extended>{-4 * u, -2 * u, 2 * u, 4 * u, 0}));
  EXPECT_EQ(SnappedIsoLevel(Params(-1, 1, 0.2L, 3), 1e-12L), 0);
  EXPECT_EQ(SnappedIsoLevel(Params(-1, 1, 0.2L, 3), 2e-12L), 2e-12L);
}

TEST(IsoLevels, AtMost32766SteppedLevels) {
  const auto levels = IsoLevels(Params(1, 32767, 1, 100));
  ASSERT_EQ(levels.size(), 32766u + 2);
  EXPECT_EQ(levels[32765].Value, 32766);
  EXPECT_EQ(levels[32765].Number, 32766);
}

TEST(IsoLevels, LabelStepBelowOneCountsAsOne) {
  for (std::int32_t labelStep : {0, -7}) {
    const auto levels = IsoLevels(Params(1, 4, 1, labelStep));
    ASSERT_EQ(levels.size(), 5u);
    for (const auto& l : levels) EXPECT_TRUE(l.Labels) << labelStep;
  }
}

}  // namespace
}  // namespace tavir
