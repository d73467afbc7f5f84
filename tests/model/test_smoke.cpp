#include <gtest/gtest.h>

#include "model/view_transform.h"

namespace tavir {
namespace {

TEST(ViewTransform, MinAndMaxCornersMapToPictureCorners) {
  ViewTransform t;
  t.MinPoint = FloatPoint3D(0, 0, 0);
  t.MaxPoint = FloatPoint3D(10, 10, 0);
  t.Scale = FloatPoint(10.0L / 1024, 0.01L);
  t.Width = 1024;
  t.Height = 1000;
  EXPECT_EQ(t.FloatPointToPoint(FloatPoint(0, 0)), (TPoint{0, 1000}));
  EXPECT_EQ(t.FloatPointToPoint(FloatPoint(10, 10)), (TPoint{1024, 0}));
  const TPoint px{333, 517};
  EXPECT_EQ(t.FloatPointToPoint(t.PointToFloatPoint(px)), px);
}

}  // namespace
}  // namespace tavir
