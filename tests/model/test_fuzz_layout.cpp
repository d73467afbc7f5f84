// The analysis fuzz target's mutator changes counts by arithmetic: at the ends of
// Int32 the changes wrap as the file's 32-bit field would, with no overflow in the
// mutator itself (this runs under UndefinedBehaviorSanitizer too).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

#include "fuzz/project_layout.h"

namespace tavir::fuzzing {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(FuzzMutator, CountChangesWrapAtTheEndsOfInt32) {
  struct Case {
    std::int32_t old;
    std::array<std::int32_t, 6> changed;
  };
  const Case cases[] = {
      {5, {6, 4, 0, -1, kMax, 10}},
      {0, {1, -1, 0, -1, kMax, 0}},
      {kMax, {kMin, kMax - 1, 0, -1, kMax, -2}},
      {kMin, {kMin + 1, kMax, 0, -1, kMax, 0}},
      {kMin / 2 - 1, {kMin / 2, kMin / 2 - 2, 0, -1, kMax, kMax - 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.old);
    EXPECT_EQ(CountMutations(c.old), c.changed);
  }
  EXPECT_EQ(WrappedInt32(std::int64_t{kMax} + 1), kMin);
  EXPECT_EQ(WrappedInt32(std::int64_t{kMin} - 1), kMax);
}

}  // namespace
}  // namespace tavir::fuzzing
