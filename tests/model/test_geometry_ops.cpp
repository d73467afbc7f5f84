#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "model/geometry_ops.h"
#include "model/knots.h"

namespace tavir {
namespace {

TEST(GeometryOps, NormalizeRectCases) {
  struct Case {
    TPoint p1, p2, want1, want2;
  };
  const Case cases[] = {
      {{10, 5}, {2, 5}, {10, 5}, {2, 5}},    // same Y: nothing exchanged
      {{10, 9}, {2, 5}, {2, 5}, {10, 9}},    // both exchanged
      {{2, 9}, {10, 5}, {2, 5}, {10, 9}},    // only Y exchanged
      {{10, 5}, {2, 9}, {2, 5}, {10, 9}},    // only X exchanged
      {{2, 5}, {10, 9}, {2, 5}, {10, 9}},    // already ordered
      {{4, 9}, {4, 1}, {4, 9}, {4, 1}},      // same X: nothing exchanged
  };
  for (const Case& c : cases) {
    TPoint a = c.p1, b = c.p2;
    NormalizeRect(a, b);
    EXPECT_EQ(a, c.want1) << c.p1.X << "," << c.p1.Y << " " << c.p2.X << "," << c.p2.Y;
    EXPECT_EQ(b, c.want2);
  }
}

TEST(GeometryOps, ClampPointsUsesHeightForYAndWidthForX) {
  TPoint a{-5, 310}, b{400, 0};
  ClampPoints(a, b, 300, 400);
  EXPECT_EQ(a, (TPoint{0, 300}));
  EXPECT_EQ(b, (TPoint{400, 0}));
  TPoint c{450, -1}, d{399, 299};
  ClampPoints(c, d, 300, 400);
  EXPECT_EQ(c, (TPoint{400, 0}));
  EXPECT_EQ(d, (TPoint{399, 299}));
}

class ScreenRectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.MinPoint = FloatPoint3D(0, 0, 0);
    w.MaxPoint = FloatPoint3D(10, 10, 10);
    w.Scale = FloatPoint(0.01L, 0.01L);  // 100 pixels per unit
    w.Width = 1000;
    w.Height = 1000;
    w.Grid.StepX = 1;
    w.Grid.StepY = 1;
  }
  ViewTransform w;
  TFloatPoint f1, f2;
};

TEST_F(ScreenRectTest, ConvertsCornersWithoutSnapping) {
  EXPECT_TRUE(ScreenRectToModel({100, 900}, {250, 700}, w, f1, f2));
  EXPECT_NEAR(static_cast<double>(f1.X), 1.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(f1.Y), 1.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(f2.X), 2.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(f2.Y), 3.0, 1e-12);
}

TEST_F(ScreenRectTest, SameGridColumnRefusedOnlyWhenSnapping) {
  // X 1.1 and 1.3 both snap to column 1; Y 1.0 and 3.0 stay apart.
  const TPoint p1{110, 900}, p2{130, 700};
  w.Grid.SnapToGrid = 1;
  EXPECT_FALSE(ScreenRectToModel(p1, p2, w, f1, f2));
  EXPECT_EQ(f1.X, f2.X);  // the snapped values are kept
  EXPECT_NEAR(static_cast<double>(f1.X), 1.0, 1e-12);
  w.Grid.SnapToGrid = 0;
  EXPECT_TRUE(ScreenRectToModel(p1, p2, w, f1, f2));
}

TEST_F(ScreenRectTest, BandWithoutWidthOrHeightRefusedAlsoWithoutSnapping) {
  w.Grid.SnapToGrid = 0;
  EXPECT_FALSE(ScreenRectToModel({100, 900}, {100, 700}, w, f1, f2));  // no width
  EXPECT_FALSE(ScreenRectToModel({100, 900}, {300, 900}, w, f1, f2));  // no height
  EXPECT_FALSE(ScreenRectToModel({100, 900}, {100, 900}, w, f1, f2));  // a point
  EXPECT_TRUE(ScreenRectToModel({100, 900}, {101, 899}, w, f1, f2));   // one pixel each way
  w.Scale = FloatPoint(std::numeric_limits<Extended>::quiet_NaN(), 0.01L);
  EXPECT_FALSE(ScreenRectToModel({100, 900}, {300, 700}, w, f1, f2));
}

TEST(GeometryOps, InBoxNearAndInside) {
  const Extended tol = 0.01L;
  struct Case {
    Extended x, y;
    bool want;
  };
  // Box (0, 1) top-left, (2, 0) bottom-right.
  const Case cases[] = {
      {1, 0.5L, true},             // inside
      {-0.005L, 1.005L, true},     // 0.005 outside a corner, both near
      {-0.02L, 0.5L, false},       // 0.02 outside the left side
      {1, 1.02L, false},           // 0.02 above the top
      {2.01L, 0.5L, true},         // exactly the tolerance: inclusive
      {1, -0.0101L, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InBox(c.x, c.y, 0, 1, 2, 0, tol), c.want) << static_cast<double>(c.x) << "," << static_cast<double>(c.y);
  // A box given the wrong way round: only the near tests succeed.
  EXPECT_FALSE(InBox(1, 0.5L, 2, 0, 0, 1, tol));
  EXPECT_TRUE(InBox(2, 1, 2, 0, 0, 1, tol));
}

TEST(GeometryOps, IsValidQuadNeedsTheOrderRoundTheRectangle) {
  EXPECT_TRUE(IsValidQuad(FloatPoint(0, 0), FloatPoint(0, 1), FloatPoint(2, 1), FloatPoint(2, 0)));
  EXPECT_FALSE(IsValidQuad(FloatPoint(0, 0), FloatPoint(2, 0), FloatPoint(2, 1), FloatPoint(0, 1)));
  EXPECT_TRUE(IsValidQuad(FloatPoint(0, 0), FloatPoint(5e-11L, 1), FloatPoint(2, 1), FloatPoint(2, 0)));
  EXPECT_FALSE(IsValidQuad(FloatPoint(0, 0), FloatPoint(1e-10L, 1), FloatPoint(2, 1), FloatPoint(2, 0)));
}

TEST(GeometryOps, BoundingQuad) {
  EXPECT_FALSE(BoundingQuad(FloatPoint(0, 3), FloatPoint(1, 3), FloatPoint(5, 3), FloatPoint(2, 3)));
  EXPECT_FALSE(BoundingQuad(FloatPoint(4, 0), FloatPoint(4, 1), FloatPoint(4, 2), FloatPoint(4, 3)));
  EXPECT_TRUE(BoundingQuad(FloatPoint(0, 0), FloatPoint(0, 1), FloatPoint(2, 1), FloatPoint(2, 0)));
  // Any order: only the bounding box counts.
  EXPECT_TRUE(BoundingQuad(FloatPoint(0, 0), FloatPoint(2, 1), FloatPoint(0, 1), FloatPoint(2, 0)));
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  EXPECT_FALSE(BoundingQuad(FloatPoint(0, 0), FloatPoint(0, nan), FloatPoint(2, 1), FloatPoint(2, 0)));
}

TEST(GeometryOps, EqualityTests) {
  EXPECT_TRUE(SamePoint({3, 4}, {3, 4}));
  EXPECT_FALSE(SamePoint({3, 4}, {4, 3}));
  EXPECT_TRUE(SameFloatPoint(FloatPoint(1, 1), FloatPoint(1.5L, 0.5L), 0.5L));  // inclusive
  EXPECT_FALSE(SameFloatPoint(FloatPoint(1, 1), FloatPoint(1.5L, 0.49L), 0.5L));
  TFixation a{1, 0, 1, 0, 0, 1};
  TFixation b = a;
  EXPECT_TRUE(SameFixation(a, b));
  b[5] = 0;
  EXPECT_FALSE(SameFixation(a, b));
}

std::unique_ptr<TEditorKnot> K(Extended x, Extended y) {
  auto k = std::make_unique<TEditorKnot>();
  k->X = x;
  k->Y = y;
  return k;
}

std::vector<std::pair<double, double>> Coords(const std::vector<std::unique_ptr<TEditorKnot>>& v) {
  std::vector<std::pair<double, double>> out;
  for (const auto& k : v) out.emplace_back(static_cast<double>(k->X), static_cast<double>(k->Y));
  return out;
}

TEST(GeometryOps, KnotSortsByXThenYAndByYThenX) {
  std::vector<std::unique_ptr<TEditorKnot>> v;
  v.push_back(K(1, 2));
  v.push_back(K(1, 1));
  v.push_back(K(0, 5));
  std::sort(v.begin(), v.end(), CompareKnotsXY);
  EXPECT_EQ(Coords(v), (std::vector<std::pair<double, double>>{{0, 5}, {1, 1}, {1, 2}}));
  std::sort(v.begin(), v.end(), CompareKnotsYX);
  EXPECT_EQ(Coords(v), (std::vector<std::pair<double, double>>{{1, 1}, {1, 2}, {0, 5}}));

  // Raw pointers work as well, and the three-way form gives -1, 0, 1.
  std::vector<TEditorKnot*> raw{v[2].get(), v[0].get()};
  std::sort(raw.begin(), raw.end(), CompareKnotsXY);
  EXPECT_EQ(raw[0]->X, 0);
  EXPECT_EQ(KnotOrderXY(*v[0], *v[1]), -1);
  EXPECT_EQ(KnotOrderXY(*v[1], *v[0]), 1);
  EXPECT_EQ(KnotOrderXY(*v[0], *v[0]), 0);
}

TEST(GeometryOps, KnotOrderStaysTotalWithNaN) {
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  std::vector<std::unique_ptr<TEditorKnot>> v;
  for (int i = 0; i < 40; ++i) v.push_back(K(i % 3 == 0 ? nan : static_cast<Extended>((i * 7) % 11), i % 5 == 0 ? nan : i % 4));
  std::sort(v.begin(), v.end(), CompareKnotsXY);
  // Numbers first in ascending X, NaN last; within equal X, Y ascending with NaN last.
  bool seenNaN = false;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (std::isnan(v[i]->X)) {
      seenNaN = true;
    } else {
      EXPECT_FALSE(seenNaN) << "a number after a NaN X at " << i;
    }
    if (i > 0) {
      EXPECT_LE(KnotOrderXY(*v[i - 1], *v[i]), 0) << i;
    }
  }
  EXPECT_TRUE(seenNaN);
  // Irreflexive and asymmetric on NaN knots.
  TEditorKnot a, b;
  a.X = nan;
  b.X = 1;
  EXPECT_FALSE(CompareKnotsXY(a, a));
  EXPECT_TRUE(CompareKnotsXY(b, a));
  EXPECT_FALSE(CompareKnotsXY(a, b));
  EXPECT_EQ(KnotOrderYX(a, b), 1);  // Y equal (0), then X: NaN after 1
}

}  // namespace
}  // namespace tavir
