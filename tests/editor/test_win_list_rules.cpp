#include <gtest/gtest.h>

#include "editor/win_list_rules.h"
#include "platform/numtext.h"

namespace tavir {
namespace {

TEST(WinListRules, LinesBoundsAndSplitter) {
  SetDecimalSeparator('.');
  EXPECT_EQ(WindowListLine(0), "Главное окно");
  EXPECT_EQ(WindowListLine(1), "Окно №1");
  EXPECT_EQ(WindowListLine(12), "Окно №12");
  const WindowBox box{FloatPoint3D(-1.5L, 0, 1e20L), FloatPoint3D(12, 3.14159265358979L, 2e20L)};
  const std::array<std::string, 6> t = WindowBoundTexts(box);
  EXPECT_EQ(t[0], "-1.5");
  EXPECT_EQ(t[1], "12");
  EXPECT_EQ(t[2], "0");
  EXPECT_EQ(t[3], "3.141592654");
  EXPECT_EQ(t[4], "1E0020");
  EXPECT_EQ(t[5], "2E0020");
  struct Case {
    int requested, kept;
  };
  for (const Case c : {Case{0, 151}, Case{150, 151}, Case{151, 151}, Case{400, 400}, Case{-20, 151}})
    EXPECT_EQ(SplitterSize(c.requested), c.kept) << c.requested;
}

}  // namespace
}  // namespace tavir
