#include <gtest/gtest.h>

#include <vector>

#include "platform/progress.h"

namespace tavir {
namespace {

TEST(ProgressBarState, UnsetBoundsRunFromZeroToHundredInStepsOfTen) {
  ProgressBarState bar;
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Step(), 10);
  EXPECT_EQ(bar.Position(), 0);
  for (int i = 1; i <= 10; ++i) {
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 10 * i);
  }
}

TEST(ProgressBarState, StepsPastTheMaximumStartOverFromTheMinimum) {
  struct Case {
    int Min, Max, Step, From, Want;
  };
  const std::vector<Case> cases = {
      {0, 100, 10, 100, 10},   // full bar: the next step starts over
      {0, 100, 10, 95, 5},     // the overshoot is kept
      {0, 100, 10, 90, 100},   // reaching the maximum is not past it
      {0, 100, 250, 0, 50},    // a step longer than the range
      {5, 15, 4, 14, 8},       // a range not starting at 0
      {0, 100, -10, 5, 95},    // a negative step wraps below the minimum
      {7, 7, 3, 7, 7},         // an empty range stays put
      {-20, -10, 6, -12, -16},
  };
  for (const Case& c : cases) {
    ProgressBarState bar;
    bar.SetRange(c.Min, c.Max);
    bar.SetStep(c.Step);
    bar.SetPosition(c.From);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), c.Want) << c.Min << ".." << c.Max << " step " << c.Step << " from " << c.From;
  }
}

TEST(ProgressBarState, PositionsStayWithinTheBounds) {
  ProgressBarState bar;
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  bar.SetPosition(-5);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(60);
  bar.SetRange(0, 40);
  EXPECT_EQ(bar.Position(), 40) << "new bounds pull the position in";
  bar.SetRange(10, 5);
  EXPECT_EQ(bar.Max(), 10) << "a maximum below the minimum";
  EXPECT_EQ(bar.Position(), 10);
}

}  // namespace
}  // namespace tavir
