#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/pointer_marks.h"

namespace tavir {
namespace {

TEST(PointerMarks, MarksSurviveGrowthAndUnmarkedObjectsReadZero) {
  std::vector<std::unique_ptr<int>> objects;
  for (int i = 0; i < 5000; ++i) objects.push_back(std::make_unique<int>(i));
  PointerMarks<int> marks(3);  // far too small: it grows on the way
  for (int i = 0; i < 5000; i += 2) marks.Set(objects[static_cast<std::size_t>(i)].get(), static_cast<std::uint8_t>(1 + i % 3));
  for (int i = 0; i < 5000; ++i) {
    const std::uint8_t expected = i % 2 == 0 ? static_cast<std::uint8_t>(1 + i % 3) : 0;
    ASSERT_EQ(marks.Get(objects[static_cast<std::size_t>(i)].get()), expected) << i;
  }
  // A new mark replaces the old one.
  marks.Set(objects[0].get(), 7);
  EXPECT_EQ(marks.Get(objects[0].get()), 7);
  marks.Set(nullptr, 5);
  EXPECT_EQ(marks.Get(nullptr), 0);
}

}  // namespace
}  // namespace tavir
