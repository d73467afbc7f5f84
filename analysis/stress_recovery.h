#pragma once
// Strains and stresses of the layers of a rectangular shell element from its 20
// knot values (local index = dof x 4 + knot), taken at the element's centre.
//
// The membrane strains, the curvature term -K·w and the bending terms are those
// of the element's own displacement field evaluated exactly at the centre; the
// strain of a fibre at height z is Membrane + z·Bending, component by component
// (εx, εy, γxy). The geometry, the knot values and the fibre heights are rounded
// to double before use, as the results have always been computed.
#include <array>
#include <cstdint>

#include "analysis/matrix.h"
#include "analysis/section_stiffness.h"
#include "platform/extended.h"

namespace tavir {

struct TShellStrainField {
  std::array<Extended, 3> Membrane{};  // (εx, εy, γxy) at z = 0, curvature terms included
  std::array<Extended, 3> Bending{};   // their change per unit of z
  Extended CentreDeflection = 0;
};

// a = X(knot 3) - X(knot 0), b = Y(knot 1) - Y(knot 0).
TShellStrainField ShellStrainField(Extended a, Extended b, Extended Kx, Extended Ky, const std::array<Extended, 20>& q);

// Fibres of a layer, in this order: 0 at Z - t/2 (the "upper" fibre of the
// results), 1 at Z, 2 at Z + t/2 (the "lower" fibre).
constexpr int kFibreCount = 3;

struct TFibreResult {
  std::array<Extended, 3> Strain{};  // εx, εy, γxy
  std::array<Extended, 3> Stress{};  // σx, σy, τxy = Q · strain
};

std::array<TFibreResult, kFibreCount> LayerFibres(const TShellStrainField& field, Extended thickness, Extended z,
                                                  const TLayerQ& Q);

// What rounding the element's 20 values to double leaves of them.
enum class DoubleRounding {
  Kept,      // every value within the double range, the largest one a normal double
  Overflow,  // a value beyond the largest double (or not a number): it becomes infinite
  Vanish,    // not all zero, yet the largest magnitude is below the smallest normal
             // double: the values vanish or keep no precision, the strains would be 0
};
DoubleRounding RoundingToDouble(const std::array<Extended, 20>& q);

// Whether a recovered strain or stress may be kept: a finite number within the
// double range. The knot averages and the isoline levels add and subtract these
// values, which stays finite only for values of that size.
bool RecoveredValueUsable(Extended value);

// The element's 20 values from the displacement vector: equation = knotNumbers[n] x 5
// + dof goes to local index dof x 4 + n. Throws EMatrixError (q unchanged) when
// an equation lies outside the vector.
void GatherShellValues(const TFloatVector& vector, const std::array<std::int32_t, 4>& knotNumbers,
                       std::array<Extended, 20>& q);

}  // namespace tavir
