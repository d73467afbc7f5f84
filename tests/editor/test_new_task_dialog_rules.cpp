#include <gtest/gtest.h>

#include "editor/new_task_dialog_rules.h"
#include "editor/task_items.h"
#include "platform/numtext.h"

namespace tavir {
namespace {

TEST(TaskItems, CodesAndItemsBothWays) {
  struct Case {
    int code, statement, dimension, evul;
  };
  for (const Case c : {Case{0, 0, 1, 0}, Case{1, 2, 0, 1}, Case{2, 1, 2, -1}, Case{3, 3, -1, -1}, Case{9, -1, -1, -1}}) {
    const auto code = static_cast<std::uint8_t>(c.code);
    EXPECT_EQ(StatementItem(code), c.statement) << c.code;
    EXPECT_EQ(DimensionItem(code), c.dimension) << c.code;
    EXPECT_EQ(EvulKindItem(code), c.evul) << c.code;
    if (c.statement >= 0) {
      EXPECT_EQ(StatementOfItem(c.statement), code);
    }
    if (c.dimension >= 0) {
      EXPECT_EQ(DimensionOfItem(c.dimension), code);
    }
    if (c.evul >= 0) {
      EXPECT_EQ(EvulKindOfItem(c.evul), code);
    }
  }
  EXPECT_EQ(StatementOfItem(-1), std::nullopt);
  EXPECT_EQ(DimensionOfItem(3), std::nullopt);
  EXPECT_EQ(EvulKindOfItem(2), std::nullopt);
}

TEST(NewTaskRules, CoordinateTextsAndMessages) {
  SetDecimalSeparator('.');
  EXPECT_EQ(CoordinateErrorText(0), "Ошибка в координате Xmin");
  EXPECT_EQ(CoordinateErrorText(4), "Ошибка в координате Ymax");
  EXPECT_EQ(CoordinateErrorText(5), "Ошибка в координате Zmax");
  EXPECT_EQ(CoordinateErrorText(6), "");
  EXPECT_EQ(ParseCoordinate("-2,5"), -2.5L);
  EXPECT_EQ(ParseCoordinate("abc"), std::nullopt);
  EXPECT_EQ(ParseCoordinate(""), std::nullopt);
}

TEST(NewTaskRules, PrecisionMustBeAPositiveFiniteNumber) {
  struct Case {
    const char* text;
    bool taken;
  };
  for (const Case c : {Case{"0.01", true}, Case{"1e-7", true}, Case{"5", true}, Case{"0", false},
                       Case{"-0.01", false}, Case{"nan", false}, Case{"inf", false}, Case{"1e99999", false},
                       Case{"x", false}}) {
    EXPECT_EQ(ParseTaskPrecision(c.text).has_value(), c.taken) << c.text;
  }
}

TEST(NewTaskRules, RegionSwapsDoublesAndRefusesWhatDoublingCannotMend) {
  struct Case {
    const char* name;
    TFloatPoint3D min, max;
    TFloatPoint3D wantMin, wantMax;
    int warnings;
    int refusedAxis;  // -1: accepted
  };
  const Case cases[] = {
      {"kept", FloatPoint3D(0, 0, 0), FloatPoint3D(10, 10, 10), FloatPoint3D(0, 0, 0), FloatPoint3D(10, 10, 10), 0, -1},
      {"X swapped", FloatPoint3D(8, 0, 0), FloatPoint3D(2, 1, 1), FloatPoint3D(2, 0, 0), FloatPoint3D(8, 1, 1), 0, -1},
      {"Z swapped alone", FloatPoint3D(0, 0, 7), FloatPoint3D(1, 1, -3), FloatPoint3D(0, 0, -3), FloatPoint3D(1, 1, 7),
       0, -1},
      {"X doubled", FloatPoint3D(5, 0, 0), FloatPoint3D(5, 1, 1), FloatPoint3D(5, 0, 0), FloatPoint3D(10, 1, 1), 1, -1},
      {"Y and Z doubled", FloatPoint3D(0, 2, 3), FloatPoint3D(1, 2, 3), FloatPoint3D(0, 2, 3), FloatPoint3D(1, 4, 6), 2,
       -1},
      // Doubling 0 leaves no extent, doubling a negative value turns the box over.
      {"zero refused", FloatPoint3D(0, 0, 0), FloatPoint3D(1, 0, 1), {}, {}, 0, 1},
      {"negative refused", FloatPoint3D(-4, 0, 0), FloatPoint3D(-4, 1, 1), {}, {}, 0, 0},
      {"Z zero refused after X doubled", FloatPoint3D(3, 0, 0), FloatPoint3D(3, 1, 0), {}, {}, 1, 2},
  };
  for (const Case& c : cases) {
    const RegionCheck r = CheckRegion(c.min, c.max);
    EXPECT_EQ(r.RefusedAxis, c.refusedAxis) << c.name;
    EXPECT_EQ(static_cast<int>(r.Warnings.size()), c.warnings) << c.name;
    if (c.refusedAxis >= 0) {
      EXPECT_EQ(r.Refusal, EqualCoordinatesRefusal(c.refusedAxis)) << c.name;
      continue;
    }
    EXPECT_FALSE(r.Refusal) << c.name;
    EXPECT_EQ(r.Min.X, c.wantMin.X) << c.name;
    EXPECT_EQ(r.Min.Y, c.wantMin.Y) << c.name;
    EXPECT_EQ(r.Min.Z, c.wantMin.Z) << c.name;
    EXPECT_EQ(r.Max.X, c.wantMax.X) << c.name;
    EXPECT_EQ(r.Max.Y, c.wantMax.Y) << c.name;
    EXPECT_EQ(r.Max.Z, c.wantMax.Z) << c.name;
  }
  EXPECT_EQ(CheckRegion(FloatPoint3D(5, 0, 0), FloatPoint3D(5, 1, 1)).Warnings.front(),
            "        Минимальная и максимальная координаты X равны.\rПроизведена коррекция - минимальная координата "
            "удвоена.");
}

}  // namespace
}  // namespace tavir
