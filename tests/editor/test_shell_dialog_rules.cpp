#include <gtest/gtest.h>

#include "editor/shell_dialog_rules.h"
#include "model/load_ops.h"
#include "model/project.h"
#include "model/shell_surfaces.h"
#include "platform/numtext.h"

namespace tavir {
namespace {

class ShellRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    ASSERT_EQ(AddShell(shells(), 0, FloatPoint3D(0, 0, 0), 0, {10, 10, 0.2L, 0.2L}, 255), 0);
    ASSERT_EQ(AddShell(shells(), 3, FloatPoint3D(0, 0, 0), 0, {4, 1}, 0xFF0000), 1);
  }
  TShellFunctions& shells() { return project.ShellFuncs(); }
  TVelEditorProject project;
};

TEST(ShellTexts, KindsKeepTheirSpellings) {
  // Three spellings of the paraboloid, each where it is shown.
  EXPECT_EQ(SurfaceKindItems()[0], "Элиптический параболлоид");
  EXPECT_EQ(FunctionTexts(0)->Name, "Эллиптический паррабаллоид");
  EXPECT_EQ(FunctionTexts(0)->Function, "Z=f*[f1/f*(2*x/a - 1)^2 + f2/f*(2*y/b - 1)^2-1]");
  EXPECT_EQ(FunctionTexts(0)->ParamLabels,
            (std::vector<std::string>{"(по X) a=", "(по Y) b=", "Стрела f1", "Стрела f2"}));
  EXPECT_EQ(FunctionTexts(3)->KyFunc, "Ky=2f/a^2");
  EXPECT_EQ(FunctionTexts(3)->ParamLabels, (std::vector<std::string>{"пролет a=", "Стрела f"}));
  EXPECT_FALSE(FunctionTexts(1));
  EXPECT_EQ(ParamCountOfKind(0), 4);
  EXPECT_EQ(ParamCountOfKind(3), 2);
  EXPECT_EQ(ParamCountOfKind(7), std::nullopt);
  EXPECT_EQ(SurfaceKindOfItem(0, 3), 0);
  EXPECT_EQ(SurfaceKindOfItem(1, 0), 3);
  EXPECT_EQ(SurfaceKindOfItem(-1, 3), 3);
}

TEST(ShellTexts, ParametersFiveToAColumn) {
  struct Case {
    int i;
    TPoint label, box;
  };
  for (const Case& c : {Case{0, {6, 38}, {90, 34}}, Case{1, {6, 71}, {90, 67}}, Case{3, {6, 137}, {90, 133}},
                        Case{5, {214, 38}, {300, 34}}, Case{14, {422, 170}, {510, 166}}}) {
    EXPECT_EQ(ParamLabelPos(c.i), c.label) << c.i;
    EXPECT_EQ(ParamBoxPos(c.i), c.box) << c.i;
  }
}

TEST_F(ShellRulesTest, ListRows) {
  EXPECT_EQ(ShellListRow(shells(), 0),
            (std::array<std::string, kShellListColumns>{"Эллиптический параболлоид", "0", "0", "0", "10", "10", ""}));
  EXPECT_EQ(ShellListColor(shells(), 0), 255u);
  EXPECT_EQ(ShellListRow(shells(), 1)[0], "Сфера");
  EXPECT_EQ(ShellListRow(shells(), 1)[4], "4");
  EXPECT_EQ(ShellListRow(shells(), 5), (std::array<std::string, kShellListColumns>{}));
  EXPECT_EQ(ShellListHeaders()[4], "Размер по X");
}

TEST_F(ShellRulesTest, EachKindIsEditedByItsOwnRule) {
  // Paraboloid: a, b, f1, f2 and its curvatures recomputed.
  std::optional<ShellDataValues> v = ShellEditStart(shells(), 0);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Params, (std::vector<Extended>{10, 10, 0.2L, 0.2L}));
  v->Params = {6, 4, 0.2L, 0.2L};
  v->Origin = FloatPoint3D(7, 7, 7);  // the dialog never changes the anchor
  v->ContourColor = 0x00FF00;
  ASSERT_TRUE(ApplyShellEdit(shells(), 0, *v));
  const TEditorShellEP* ep = TShellFunctions::AsParaboloid(shells().At(0));
  EXPECT_EQ(ep->GetA(), 6);
  EXPECT_EQ(ep->GetB(), 4);
  EXPECT_NEAR(static_cast<double>(ep->Kx), 8 * 0.2 / 36, 1e-15);
  EXPECT_NEAR(static_cast<double>(ep->Ky), 8 * 0.2 / 16, 1e-15);
  EXPECT_EQ(ep->Origin.X, 0);
  EXPECT_EQ(ep->Color, 0x00FF00u);

  // Sphere: its own two parameters, never an empty or a paraboloid set.
  v = ShellEditStart(shells(), 1);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->Kind, 3);
  EXPECT_EQ(v->Params, (std::vector<Extended>{4, 1}));
  v->Params = {8, 2};
  ASSERT_TRUE(ApplyShellEdit(shells(), 1, *v));
  const TEditorSphere* sp = TShellFunctions::AsSphere(shells().At(1));
  EXPECT_EQ(sp->GetA(), 8);
  EXPECT_EQ(sp->GetF(), 2);
  EXPECT_NEAR(static_cast<double>(sp->Kx), 0.25, 1e-15);
  EXPECT_EQ(sp->Ky, sp->Kx);
  EXPECT_EQ(sp->GetParamCount(), 3);

  // A paraboloid set given to a sphere (or too few values) changes nothing.
  ShellDataValues wrong = *ShellEditStart(shells(), 0);
  EXPECT_FALSE(ApplyShellEdit(shells(), 1, wrong));
  wrong.Kind = 3;
  wrong.Params = {};
  EXPECT_FALSE(ApplyShellEdit(shells(), 1, wrong));
  EXPECT_EQ(sp->GetA(), 8);
  EXPECT_FALSE(ShellEditStart(shells(), 2));
}

}  // namespace
}  // namespace tavir
