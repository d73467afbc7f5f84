#include "model/view_transform.h"

#include <cmath>

#include "platform/numeric.h"

namespace tavir {

namespace {
void Axes(const TViewTransform& t, const TFloatPoint3D& p, Extended& u, Extended& v) {
  switch (t.Projection) {
    case Projection::XY: u = p.X; v = p.Y; break;
    case Projection::YZ: u = p.Y; v = p.Z; break;
    case Projection::XZ: u = p.X; v = p.Z; break;
    default: u = 0; v = 0; break;
  }
}

Extended Steps(const TViewTransform& t, int axis) {  // axis 0 = u, 1 = v
  switch (t.Projection) {
    case Projection::XY: return axis == 0 ? t.Grid.StepX : t.Grid.StepY;
    case Projection::YZ: return axis == 0 ? t.Grid.StepY : t.Grid.StepZ;
    case Projection::XZ: return axis == 0 ? t.Grid.StepX : t.Grid.StepZ;
    default: return 0;
  }
}

std::int32_t ToPixel(Extended delta, Extended scale) {
  if (!std::isfinite(scale) || scale == 0) return 0;
  return RoundSat(delta / scale);
}
}  // namespace

TFloatPoint TViewTransform::MinUV() const {
  TFloatPoint r;
  Axes(*this, MinPoint, r.X, r.Y);
  return r;
}

TFloatPoint TViewTransform::MaxUV() const {
  TFloatPoint r;
  Axes(*this, MaxPoint, r.X, r.Y);
  return r;
}

TFloatPoint TViewTransform::PlanePoint(Extended x, Extended y, Extended z) const {
  switch (Projection) {
    case Projection::XY: return FloatPoint(x, y);
    case Projection::YZ: return FloatPoint(y, z);
    case Projection::XZ: return FloatPoint(x, z);
    default: return FloatPoint(0, 0);
  }
}

TPoint TViewTransform::FloatPointToPoint(const TFloatPoint& p) const {
  if (!HasValidProjection()) return {0, 0};
  const TFloatPoint mn = MinUV();
  const std::int32_t px = ToPixel(p.X - mn.X, Scale.X);
  const std::int64_t py = std::int64_t{Height} - ToPixel(p.Y - mn.Y, Scale.Y);
  const std::int32_t pyClamped = py > INT32_MAX ? INT32_MAX : (py < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(py));
  return {px, pyClamped};
}

TFloatPoint TViewTransform::PointToFloatPoint(const TPoint& pixel) const {
  if (!HasValidProjection()) return FloatPoint(0, 0);
  const TFloatPoint mn = MinUV();
  return FloatPoint(static_cast<Extended>(pixel.X) * Scale.X + mn.X,
                    static_cast<Extended>(std::int64_t{Height} - pixel.Y) * Scale.Y + mn.Y);
}

bool TViewTransform::SnapToGrid(const TFloatPoint& p, TFloatPoint& out) const {
  if (!HasValidProjection()) return false;
  const TFloatPoint mn = MinUV();
  auto snap = [](Extended value, Extended min, Extended step) {
    if (!IsFinitePositive(step) || !std::isfinite(value)) return value;
    return std::nearbyint((value - min) / step) * step + min;
  };
  TFloatPoint r = p;
  r.X = snap(p.X, mn.X, Steps(*this, 0));
  r.Y = snap(p.Y, mn.Y, Steps(*this, 1));
  out = r;
  return true;
}

}  // namespace tavir
