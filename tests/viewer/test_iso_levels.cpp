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

std::vector<Extended> Values(const std::vector<TIsoLevel>& levels) {
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
    if (l.Group == TIsoLevelGroup::Stepped && l.Labels) labelled.push_back(l.Number);
  EXPECT_EQ(labelled, (std::vector<std::int32_t>{3, 6, 9}));
  EXPECT_EQ(levels[10].Group, TIsoLevelGroup::Max);
  EXPECT_TRUE(levels[10].Labels);
  EXPECT_EQ(levels[11].Group, TIsoLevelGroup::Zero);
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
      Params(0, 2, 1, 1), [&](const TIsoLevel& l) { events.push_back("L" + std::to_string(static_cast<int>(l.Value))); },
      [&](TIsoLevelGroup g) { events.push_back(g == TIsoLevelGroup::Stepped ? "S" : g == TIsoLevelGroup::Max ? "M" : "Z"); });
  EXPECT_EQ(events, (std::vector<std::string>{"L0", "L1", "S", "L2", "M", "L0", "Z"}));
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

TEST(IsoLevels, AtMost32766SteppedLevels) {
  const auto levels = IsoLevels(Params(0, 32766, 1, 100));
  ASSERT_EQ(levels.size(), 32766u + 2);
  EXPECT_EQ(levels[32765].Value, 32765);
  EXPECT_EQ(levels[32765].Number, 32766);
}

TEST(IsoLevels, LabelStepBelowOneCountsAsOne) {
  for (std::int32_t labelStep : {0, -7}) {
    const auto levels = IsoLevels(Params(0, 3, 1, labelStep));
    ASSERT_EQ(levels.size(), 5u);
    for (const auto& l : levels) EXPECT_TRUE(l.Labels) << labelStep;
  }
}

}  // namespace
}  // namespace tavir
