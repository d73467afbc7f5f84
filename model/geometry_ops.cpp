#include "model/geometry_ops.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/knots.h"
#include "platform/numeric.h"

namespace tavir {

bool SameFixation(const TFixation& a, const TFixation& b) { return a == b; }

void NormalizeRect(TPoint& p1, TPoint& p2) {
  if (p1.X > p2.X && p1.Y > p2.Y) {
    std::swap(p1, p2);
  } else if (p1.X < p2.X && p1.Y > p2.Y) {
    std::swap(p1.Y, p2.Y);
  } else if (p2.X < p1.X && p1.Y < p2.Y) {
    std::swap(p1.X, p2.X);
  }
}

namespace {
std::int32_t Clamp(std::int32_t v, std::int32_t bound) {
  if (v < 0) return 0;
  if (v > bound) return bound;
  return v;
}

// Strictly thinner than 1e-10, or not a number at all.
bool Thin(Extended a, Extended b) { return !std::isfinite(a) || !std::isfinite(b) || StrictSame(a, b); }

int CompareCoord(Extended a, Extended b) {
  const bool na = std::isnan(a);
  const bool nb = std::isnan(b);
  if (na || nb) return na == nb ? 0 : (na ? 1 : -1);
  if (a < b) return -1;
  if (a > b) return 1;
  return 0;
}
}  // namespace

void ClampPoints(TPoint& p1, TPoint& p2, std::int32_t height, std::int32_t width) {
  p1.X = Clamp(p1.X, width);
  p1.Y = Clamp(p1.Y, height);
  p2.X = Clamp(p2.X, width);
  p2.Y = Clamp(p2.Y, height);
}

bool ScreenRectToModel(TPoint p1, TPoint p2, const ViewTransform& window, TFloatPoint& f1, TFloatPoint& f2) {
  f2 = window.PointToFloatPoint(p2);
  f1 = window.PointToFloatPoint(p1);
  if (window.Grid.SnapToGrid != 0) {
    TFloatPoint s2 = f2;
    TFloatPoint s1 = f1;
    window.SnapToGrid(f2, s2);
    window.SnapToGrid(f1, s1);
    f2 = s2;
    f1 = s1;
    if (SameFloatPoint(f2, f1, kStrictEps)) return false;
  }
  return !(Thin(f1.X, f2.X) || Thin(f1.Y, f2.Y));
}

bool InBox(Extended px, Extended py, Extended left, Extended top, Extended right, Extended bottom, Extended tol) {
  const bool insideX = left < px && px < right;
  const bool nearX = std::fabs(px - left) <= tol || std::fabs(px - right) <= tol;
  const bool insideY = bottom < py && py < top;
  const bool nearY = std::fabs(py - bottom) <= tol || std::fabs(py - top) <= tol;
  return (insideX || nearX) && (insideY || nearY);
}

bool IsValidQuad(const TFloatPoint& p1, const TFloatPoint& p2, const TFloatPoint& p3, const TFloatPoint& p4) {
  return StrictSame(p1.X, p2.X) && StrictSame(p4.X, p3.X) && StrictSame(p2.Y, p3.Y) && StrictSame(p4.Y, p1.Y);
}

bool BoundingQuad(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3, TFloatPoint p4) {
  const Extended xs[4] = {p1.X, p2.X, p3.X, p4.X};
  const Extended ys[4] = {p1.Y, p2.Y, p3.Y, p4.Y};
  for (int i = 0; i < 4; ++i)
    if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) return false;
  const auto [minX, maxX] = std::minmax_element(xs, xs + 4);
  const auto [minY, maxY] = std::minmax_element(ys, ys + 4);
  return !(StrictSame(*maxX, *minX) || StrictSame(*maxY, *minY));
}

bool SamePoint(const TPoint& a, const TPoint& b) { return a.X == b.X && a.Y == b.Y; }

bool SameFloatPoint(const TFloatPoint& a, const TFloatPoint& b, Extended tol) {
  return InclusiveSame(a.X, b.X, tol) && InclusiveSame(a.Y, b.Y, tol);
}

int KnotOrderXY(const TKnot& a, const TKnot& b) {
  const int c = CompareCoord(a.X, b.X);
  return c != 0 ? c : CompareCoord(a.Y, b.Y);
}

int KnotOrderYX(const TKnot& a, const TKnot& b) {
  const int c = CompareCoord(a.Y, b.Y);
  return c != 0 ? c : CompareCoord(a.X, b.X);
}

}  // namespace tavir
