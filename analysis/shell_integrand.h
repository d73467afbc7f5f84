#pragma once
// The integrand Bᵀ·D·B of the rectangular shallow-shell element at one point, in
// the twenty generalized coordinates α0..α19 of its displacement field:
//   u = α0 + α1 x + α2 y + α3 xy,  v = α4 + α5 x + α6 y + α7 xy,
//   w = α8 + α9 x + α10 y + α11 xy + α12 x² + α13 y² + α14 x²y + α15 xy²
//       + α16 x³ + α17 y³ + α18 x³y + α19 xy³,
// B turning them into the strains (εx = u,x - Kx w, εy = v,y - Ky w, γxy, w,xx,
// w,yy, w,xy, w,x, w,y) and D the section matrix (section_stiffness.h).
#include <array>

#include "analysis/matrix.h"
#include "analysis/section_stiffness.h"
#include "platform/extended.h"

namespace tavir {

using Matrix20 = std::array<std::array<Extended, 20>, 20>;

// The powers of the point that B needs, formed once per point.
struct IntegrandPoint {
  Extended x = 0, x2 = 0, x3 = 0;
  Extended y = 0, y2 = 0, y3 = 0;
  Extended xy = 0;
};

IntegrandPoint MakeIntegrandPoint(Extended x, Extended y);

// Writes (Bᵀ·D·B)[r][c] into the cells the element stiffness reads: rows 1-3
// from the diagonal on (column 4 left out) and rows 6-19 from the diagonal on;
// then row 5 becomes a copy of row 2 (α2 and α5 enter only through γxy, so B's
// columns 2 and 5 are equal). Every other cell keeps what it held.
void LocMatRectIntegrand(Matrix20& Ka, const SectionArray& D, const IntegrandPoint& p, Extended Kx, Extended Ky);

// K[r][c] += weight · (Bᵀ·D·B)[r][c] for exactly the cells that the element
// stiffness sums (the upper triangle of rows 1-3 and 5-19, column 4 left out):
// the same values as LocMatRectIntegrand followed by the weighted sum, without
// the intermediate matrix.
void AddIntegrand(Matrix20& K, Extended weight, const SectionArray& D, const IntegrandPoint& p, Extended Kx,
                  Extended Ky);

// The same at the matrix interface; Ka must be 20x20 and D 8x8 (EMatrixError
// otherwise, Ka unchanged).
void LocMatRectIntegrand(TFloat2DMatrix& Ka, const TFloat2DMatrix& D, Extended x, Extended y, Extended Kx,
                         Extended Ky);

// B itself (8x20) at the point: for checks and for the strains of a field.
std::array<std::array<Extended, 20>, 8> StrainMatrix(const IntegrandPoint& p, Extended Kx, Extended Ky);

}  // namespace tavir
