#pragma once
// The model-to-screen transform of one window: its box, projection, scale,
// picture size and grid. Editing windows and result views each own one; the model
// projects, draws and hit-tests through it and never reaches for a window object.
//
// Projections: 0 shows X (right) and Y (up), 1 shows Y and Z, 2 shows X and Z. A
// picture-plane point holds the horizontal coordinate u in X and the vertical v in Y.
#include <cstdint>

#include "model/codes.h"
#include "model/grid.h"
#include "model/records.h"

namespace tavir {

struct TViewTransform {
  TFloatPoint3D MinPoint;
  TFloatPoint3D MaxPoint;
  TFloatPoint Scale;          // model units per pixel, horizontal (X) and vertical (Y)
  tavir::Projection Projection = tavir::Projection::XY;
  std::int32_t Width = 0;     // picture size in pixels
  std::int32_t Height = 0;
  TGrid Grid;

  bool HasValidProjection() const { return IsPlaneProjection(Projection); }
  // The (u, v) minimum and maximum of the box in the picture plane.
  TFloatPoint MinUV() const;
  TFloatPoint MaxUV() const;
  // The picture-plane point of a model point by the projection ((0, 0) for an unknown one).
  TFloatPoint PlanePoint(Extended x, Extended y, Extended z) const;

  // Pixel of a picture-plane point: X = Round((u - MinU) / Scale.X),
  // Y = Height - Round((v - MinV) / Scale.Y). A scale that is zero or not finite
  // gives pixel 0 on that axis (rounding saturates, NaN never reaches an integer).
  TPoint FloatPointToPoint(const TFloatPoint& p) const;
  TFloatPoint PointToFloatPoint(const TPoint& pixel) const;
  // Nearest grid node of the projection's two axes. Returns false (out untouched)
  // for an unknown projection; an axis whose step is zero, negative or not finite
  // is left as it is.
  bool SnapToGrid(const TFloatPoint& p, TFloatPoint& out) const;
};

}  // namespace tavir
