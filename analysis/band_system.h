#pragma once
// The static system K·q = F: the half-bandwidth of the knot numbering, shell
// element matrices added into the band, concentrated and distributed loads into
// the load vector, supports imposed on both.
//
// The analysis project allocates the band (BandWidth of its element list) and the
// vector, then adds all shells, the concentrated loads, the distributed loads and
// last the supports (a support discards a load already at its freedom).
//
// Equation = knot Number × 5 + degree of freedom (0 u, 1 v, 2 w, 3 slope of w
// along Y, 4 slope of w along X). An element matrix is indexed by degree of
// freedom × 4 + local knot.
//
// The core works on plain data (knot numbers, a 20×20 matrix, a force record, a
// fixation). Indices are checked: an equation outside the system or a pair
// outside the band (a band width that does not match the numbering) is an
// EBandError, never a write out of bounds. The overloads on the analysis classes
// take the knots' Number and add nothing for an item whose knot or element is
// missing (or whose knot carries no equation number).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include <memory>
#include <optional>
#include <vector>

#include "analysis/band_matrix.h"
#include "analysis/result_objects.h"
#include "model/knots.h"
#include "model/project.h"
#include "model/records.h"
#include "platform/extended.h"

namespace tavir {

constexpr int kKnotFreedoms = 5;
constexpr int kElementKnots = 4;
constexpr int kElementFreedoms = kKnotFreedoms * kElementKnots;  // 20

using TElementKnotNumbers = std::array<std::int64_t, kElementKnots>;

// Greatest minus smallest of the numbers (0 for none).
std::int64_t KnotNumberSpan(std::span<const std::int64_t> numbers);
// BW = 5 × D + 5 for the largest span D over the shells (D = 0 without shells).
// Throws EBandError when it does not fit an Int32.
std::int32_t BandWidthOfSpan(std::int64_t largestSpan);

namespace band_detail {
[[noreturn]] void EquationOutside(std::int64_t equation, std::size_t equations);
[[noreturn]] void PairOutsideBand(std::int64_t row, std::int64_t column, std::size_t bandWidth);
}  // namespace band_detail

// Adds the element matrix Ke (20×20, Ke[i][j] with i = dof × 4 + local knot) of
// the element with these knot numbers into the band: K(g(i), g(j)) += Ke[i][j]
// for every pair with g(j) >= g(i); the pairs below the diagonal are the mirror
// ones. Nothing when the band is not allocated. All indices are checked before
// anything is added.
template <class ElementMatrix>
void AddToSystem(const TElementKnotNumbers& numbers, const ElementMatrix& ke, TBandMatrix& matrix) {
  if (!matrix.IsAllocated()) return;
  const std::size_t n = matrix.Size();
  const std::int64_t bw = static_cast<std::int64_t>(matrix.BandWidth());
  std::array<std::int64_t, kElementFreedoms> g{};
  for (int r = 0; r < kKnotFreedoms; ++r) {
    for (int m = 0; m < kElementKnots; ++m) {
      const std::int64_t number = numbers[static_cast<std::size_t>(m)];
      // Guard the product: a knot number this large is outside any system anyway.
      const std::int64_t eq = number >= 0 && number < (INT64_MAX / 8) ? number * kKnotFreedoms + r : -1;
      if (eq < 0 || static_cast<std::uint64_t>(eq) >= n) band_detail::EquationOutside(eq, n);
      g[static_cast<std::size_t>(r * kElementKnots + m)] = eq;
    }
  }
  const std::int64_t span = KnotNumberSpan(numbers);
  if (span * kKnotFreedoms + kKnotFreedoms > bw) band_detail::PairOutsideBand(0, span * kKnotFreedoms + 4, matrix.BandWidth());
  for (std::size_t i = 0; i < g.size(); ++i) {
    for (std::size_t j = 0; j < g.size(); ++j) {
      if (g[j] >= g[i]) matrix(static_cast<std::size_t>(g[i]), static_cast<std::size_t>(g[j] - g[i])) += ke[i][j];
    }
  }
}

// F[N × 5 + k] += component k for Px, Py, Pz, Mx, My (Mz takes no part).
void AddConcForce(std::int64_t knotNumber, const TForceRecord& force, std::span<Extended> vector);

// A distributed load on a shell element with these knot numbers, a = X(knot 3) −
// X(knot 0), b = Y(knot 1) − Y(knot 0). Only a rectangle (shape code 1) has an
// area and edges: Px × b / 2 on the two knots of the edge X = X0 (option 0) or
// X = X0 + a (option 1), Py × a / 2 on the edge Y = Y0 + b (option 0) or Y = Y0
// (option 1), and Pz, Mx, My × a·b / 4 on every knot. Any other shape gets
// nothing. Mz takes no part.
void AddDispForce(const TElementKnotNumbers& numbers, bool rectangle, Extended a, Extended b,
                  std::uint8_t option1, std::uint8_t option2, const TForceRecord& force, std::span<Extended> vector);

// Imposes a zero value for every restraint 1..5 that is fixed (byte 1): the
// equation's column above the diagonal and its row become those of the unit
// matrix and its load 0. Restraint 6 (rotation about Z) takes no part.
void ApplySupport(std::int64_t knotNumber, const TFixation& fixation, TBandMatrix& matrix,
                  std::span<Extended> vector);

// ---- the analysis classes --------------------------------------------------------

// The knot's Number; nullopt for a missing knot or one that carries no number
// (not a result knot).
std::optional<std::int64_t> KnotNumber(const TKnot* knot);
// The Numbers of the element's four knots; nullopt unless it has four numbered knots.
std::optional<TElementKnotNumbers> ElementKnotNumbers(const TFiniteElement& element);

// The half-bandwidth over the shell elements (kind 5) of the list's items; plates
// and elements without four numbered knots do not count. 5 without shells. (The
// list itself is not taken: the editor's mesh operations have a BandWidth of the
// element list of their own, and both meet in one program.)
std::int32_t BandWidth(const std::vector<std::unique_ptr<TMLEditorElement>>& elements);

// The shell's Stiffness into the band. Nothing when the band is not allocated or
// a knot is missing; EBandError when Stiffness has not been computed (not 20×20).
void AddToSystem(const TMLResultShell& shell, TBandMatrix& matrix);
void AddConcForce(const TConcentrateForce& force, std::span<Extended> vector);
// Only on a shell element with four numbered knots; its shape code (element type)
// 1 is the rectangle.
void AddDispForce(const TEditorDispersionForce& force, std::span<Extended> vector);
void ApplySupport(const TEditorSupport& support, TBandMatrix& matrix, std::span<Extended> vector);

}  // namespace tavir
