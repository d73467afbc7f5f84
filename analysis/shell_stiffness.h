#pragma once
// Stiffness of the rectangular layered shallow-shell element: 20 knot values
// (local index = degree of freedom x 4 + knot; dofs u, v, w, ∂w/∂y, ∂w/∂x; knot 0
// lower-left, 1 upper-left, 2 upper-right, 3 lower-right), side a along X and b
// along Y, curvatures Kx and Ky, section matrix D.
//
// The matrix in the generalized coordinates is integrated over the rectangle by
// the 4x4 Gauss rule, scaled by the Jacobian and carried over to the knot values
// by the closed-form transformation T = C⁻¹ (α = T·q): K_q = Tᵀ·K_α·T.
#include <array>

#include "analysis/matrix.h"
#include "analysis/section_stiffness.h"
#include "analysis/shell_integrand.h"
#include "platform/extended.h"

namespace tavir {

extern const std::array<Extended, 4> GaussAbscissae;
extern const std::array<Extended, 4> GaussWeights;

// T = C⁻¹ for the rectangle a x b (a, b > 0; the shell check guarantees them).
void ShellTransform(Extended a, Extended b, Matrix20& T);

// C: row dof*4+knot holds the value of that dof's field at the knot as
// coefficients of α (the interpolation that T inverts).
void ShellInterpolation(Extended a, Extended b, Matrix20& C);

// The matrix in the generalized coordinates α: the Gauss sum of the integrand,
// scaled by a·b/4 and mirrored; rows and columns 0 and 4 are zero.
void ShellGeneralizedStiffness(Extended a, Extended b, Extended Kx, Extended Ky, const SectionArray& D, Matrix20& K);

// The element matrix in the knot values, Tᵀ·K_α·T, and T. No allocation.
void ShellStiffness(Extended a, Extended b, Extended Kx, Extended Ky, const SectionArray& D, Matrix20& stiffness,
                    Matrix20& transform);

// The same at the matrix interface: Stiffness and Transform become 20x20. D must
// be 8x8 (EMatrixError otherwise, outputs unchanged).
void ShellStiffness(Extended a, Extended b, Extended Kx, Extended Ky, const TFloat2DMatrix& D,
                    TFloat2DMatrix& stiffness, TFloat2DMatrix& transform);

TFloat2DMatrix ToMatrix(const Matrix20& m);
// out := m; out keeps its storage when it is already 20x20.
void CopyInto(const Matrix20& m, TFloat2DMatrix& out);

}  // namespace tavir
