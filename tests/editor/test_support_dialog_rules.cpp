#include <gtest/gtest.h>

#include "editor/support_dialog_rules.h"

namespace tavir {
namespace {

TEST(SupportRules, BoxesFromBytesAndBack) {
  struct Case {
    TFixation bytes;
    std::array<bool, 6> checks;
    TFixation back;
  };
  const Case cases[] = {
      {{1, 1, 1, 0, 0, 0}, {true, true, true, false, false, false}, {1, 1, 1, 0, 0, 0}},
      // A placeholder byte 2 shows unchecked and is written back as 0.
      {{2, 1, 0, 2, 0, 1}, {false, true, false, false, false, true}, {0, 1, 0, 0, 0, 1}},
      {{0, 0, 0, 0, 0, 0}, {}, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RestraintChecks(c.bytes), c.checks);
    EXPECT_EQ(FixationOfChecks(RestraintChecks(c.bytes)), c.back);
  }
  std::array<bool, 6> withRotation = RestraintChecks({1, 1, 1, 0, 0, 0});
  withRotation[3] = true;
  EXPECT_EQ(FixationOfChecks(withRotation), (TFixation{1, 1, 1, 1, 0, 0}));
}

TEST(LoadRules, ApplyCarriesOnlyTheTypedComponents) {
  // The disabled Mz box shows the clicked knot's Mz; it never reaches the selection.
  const TForceRecord f = LoadToApply({1, -2, 3.5L, 4, 5, 99});
  EXPECT_EQ(f.Px, 1);
  EXPECT_EQ(f.Py, -2);
  EXPECT_EQ(f.Pz, 3.5L);
  EXPECT_EQ(f.Mx, 4);
  EXPECT_EQ(f.My, 5);
  EXPECT_EQ(f.Mz, 0);
  EXPECT_TRUE(LoadToApply({0, 0, 0, 0, 0, 7}).IsZero());
}

}  // namespace
}  // namespace tavir
