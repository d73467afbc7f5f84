#pragma once
// Pure helpers of plan geometry shared by the editing desk and the editing
// operations: corner ordering and clamping, rubber-band conversion, tolerant box
// test, rectangle tests, equality tests and the two knot orderings. None keeps
// state or allocates.
#include <cstdint>

#include "model/records.h"
#include "model/view_transform.h"
#include "platform/geometry.h"

namespace tavir {

class TKnot;

bool SameFixation(const TFixation& a, const TFixation& b);

// Orders two corners so that P1 is top-left and P2 bottom-right; corners that
// share an X or a Y are left as they are.
void NormalizeRect(TPoint& p1, TPoint& p2);

// X into [0, width], Y into [0, height], for both points.
void ClampPoints(TPoint& p1, TPoint& p2, std::int32_t height, std::int32_t width);

// Model points of a rubber band's two corners (F1 of P1, F2 of P2), snapped to the
// grid when the window's grid snaps. False when the band has (almost) no width or
// no height, snapped or not: such a band selects or creates nothing sensible.
bool ScreenRectToModel(TPoint p1, TPoint p2, const ViewTransform& window, TFloatPoint& f1, TFloatPoint& f2);

// Each coordinate must lie strictly between its two sides or within tol of one.
bool InBox(Extended px, Extended py, Extended left, Extended top, Extended right, Extended bottom, Extended tol);

// P1..P4 go round an axis-parallel rectangle, P1-P2 and P3-P4 parallel to Y.
bool IsValidQuad(const TFloatPoint& p1, const TFloatPoint& p2, const TFloatPoint& p3, const TFloatPoint& p4);

// False when the bounding box of the four points is thinner than 1e-10 either way
// (or a coordinate is not finite).
bool BoundingQuad(TFloatPoint p1, TFloatPoint p2, TFloatPoint p3, TFloatPoint p4);

bool SamePoint(const TPoint& a, const TPoint& b);
bool SameFloatPoint(const TFloatPoint& a, const TFloatPoint& b, Extended tol);

// Three-way knot orderings: -1, 0, 1. Exact comparisons; a NaN coordinate sorts
// after every number and equal to another NaN, so the order stays total.
int KnotOrderXY(const TKnot& a, const TKnot& b);
int KnotOrderYX(const TKnot& a, const TKnot& b);

// "Less than" comparers for std::sort over knots, knot pointers or smart pointers
// to knots: a strict weak order also with NaN coordinates.
struct KnotLessXY {
  bool operator()(const TKnot& a, const TKnot& b) const { return KnotOrderXY(a, b) < 0; }
  template <class P>
    requires requires(const P& p) { *p; }
  bool operator()(const P& a, const P& b) const { return KnotOrderXY(*a, *b) < 0; }
};
struct KnotLessYX {
  bool operator()(const TKnot& a, const TKnot& b) const { return KnotOrderYX(a, b) < 0; }
  template <class P>
    requires requires(const P& p) { *p; }
  bool operator()(const P& a, const P& b) const { return KnotOrderYX(*a, *b) < 0; }
};
inline constexpr KnotLessXY CompareKnotsXY{};
inline constexpr KnotLessYX CompareKnotsYX{};

}  // namespace tavir
