#pragma once
// Gauss elimination without pivoting of the symmetric band system K·q = F, in
// place: the band is destroyed and F becomes the displacement vector.
//
// A system found singular (see kPivotTolerance below: a mechanism, a free knot,
// a knot that no shell stiffens) stops the solve with SolveError naming the knot
// and the degree of freedom. After a failure F (and K) hold partial results and
// must be discarded by the caller; no non-finite number is ever reported as a
// displacement.
//
// Two eliminations give bit-identical results: the plain loop (the reference) and
// a blocked, multi-threaded one in which every entry receives the same operations
// in the same order. SolveBand picks the blocked one for large systems.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "analysis/band_matrix.h"
#include "platform/extended.h"
#include "platform/services.h"

namespace tavir {

// When a system counts as singular. Two tests, neither growing with the size of
// the system:
//
// 1. During the elimination a pivot p of equation i must be finite and
//    p > kPivotTolerance × K(i, i), K(i, i) being the diagonal before elimination
//    (itself finite and positive). This stops at once at a knot that nothing
//    stiffens (p = 0), at a negative or NaN pivot, and at a pivot so small that
//    the displacements could not keep four digits (a scaled condition number
//    above 1e15 with eps = 2^-63 ≈ 1.08e-19).
//
// 2. After the solve, the elimination must reproduce a known solution. Before
//    the elimination the load b = K·y of a fixed probe y is formed from the
//    original band (y_i = v_i × 2^e_i, v_i in [1, 2), 2^e_i ≈ 1/sqrt(K(i, i)), so
//    that the units of a freedom do not matter); b rides through the elimination
//    and the back substitution beside F, and every v_i must come back to within
//    kProbeTolerance × max v (2). A mechanism (a freedom that no element and no
//    support holds: a plate turning about a hinged edge, a shell hanging on one
//    knot) leaves its pivot as round-off of either sign, whose size grows with
//    the system: on a plate hinged along one edge 1.3e-15, 5.3e-13 and 8.4e-11 ×
//    K(i, i) at 605, 8 405 and 51 005 equations, more than the sound pivots of a
//    slender model (a clamped strip one element wide has p / K(i, i) = 7.5e-13 at
//    10 000 elements, falling as N^-3). No pivot threshold separates the two; the
//    probe does: b holds no information along the mechanism, so that component
//    of y comes back as a ratio of round-off terms. Measured (tests/analysis/
//    solver_families.h, bench/solver_families.cpp), probe errors of sound
//    models: clamped strips 4e-8, 1.2e-5, 4.3e-4, 7.3e-3 at 1 000, 4 000,
//    10 000, 20 000 elements; a strip on two hinges of 10 000 elements 4.3e-5;
//    plates and hinged shallow shells up to 99 405 equations below 2e-12. Of
//    mechanisms: strips hinged at one end 0.23 .. 92; the plate hinged along one
//    edge 1.9, 0.39 and 0.039 at 605, 8 405 and 51 005 equations (at 99 405 its
//    pivot came out negative). Unsupported plates, shells hanging on one knot
//    and knots without a shell were all stopped by the pivot test (p / K(i, i)
//    of 5e-18 .. 3e-16, negative, or NaN). The tolerance 5e-3 lies a factor 10
//    above the strip of 10 000 elements and 8 below the hinged plate of 51 005
//    equations; that plate's probe error falls with its size, so a hinged plate
//    much larger than 100 × 100 elements whose round-off pivot comes out
//    positive may pass. A clamped strip of 20 000 elements is refused. The knot reported is that of the smallest
//    pivot ratio among the equations the probe misses.
//
// The probe costs one product of the band with a vector before the elimination
// (on all threads), a second right-hand side in the elimination and a second
// back substitution (beside the first), a few per cent of the solve; it needs
// no copy of the band.
inline constexpr Extended kPivotTolerance = 1e-15L;
inline constexpr Extended kProbeTolerance = 5e-3L;

// What the tests saw (for measurements and tests): the smallest p / K(i, i) and
// its equation (the refused pivot when the pivot test stopped the solve), the
// largest probe error relative to max v and its equation (-1: no probe test).
struct SolveDiagnostics {
  Extended SmallestPivotRatio = 0;
  std::int64_t SmallestPivotEquation = -1;
  Extended ProbeError = 0;
  std::int64_t ProbeErrorEquation = -1;
};

enum class SolveFailure {
  Singular,     // zero, negative, negligible or non-finite pivot
  BadLoad,      // a load that is not a finite number
  NonFinite,    // a displacement overflowed
  Dimensions,   // the vector does not match the matrix
};

class SolveError : public std::runtime_error {
 public:
  SolveError(SolveFailure kind, std::int64_t equation, const std::string& message)
      : std::runtime_error(message), Kind(kind), Equation(equation) {}
  SolveFailure Kind;
  std::int64_t Equation;  // -1 when no equation is concerned
  // The knot's Number (from 0, equation div 5) and the degree of freedom
  // (equation mod 5: u, v, w, slope along Y, slope along X); -1 without an equation.
  std::int64_t Knot() const { return Equation < 0 ? -1 : Equation / 5; }
  int Freedom() const { return Equation < 0 ? -1 : static_cast<int>(Equation % 5); }
};

// Solves in place, choosing the elimination by the size of the system. The
// progress bar runs 0 .. n - 1 through the elimination, then 0 .. n through the
// back substitution. An unallocated matrix with an empty vector is an empty
// system and does nothing. Throws SolveError (see above) or BandError when the
// work array of n values cannot be allocated.
void SolveBand(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress = nullptr,
               SolveDiagnostics* diagnostics = nullptr);

// The reference elimination: row by row, each pivot row updating the rows below.
void SolveBandPlain(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress = nullptr,
                    SolveDiagnostics* diagnostics = nullptr);

// The blocked elimination on `threads` threads (the calling one included, at
// least 1) with pivot panels of `blockSize` rows (0: chosen from the band width
// and the thread count). Bit-identical to SolveBandPlain, same failures.
void SolveBandBlocked(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress,
                      unsigned threads, std::size_t blockSize = 0, SolveDiagnostics* diagnostics = nullptr);

// Whether SolveBand uses the blocked elimination for this size, and on how many
// threads: the available cores (at most 16), 1 for narrow bands.
bool UsesBlockedSolve(std::size_t equations, std::size_t bandWidth);
unsigned BlockedSolveThreads(std::size_t bandWidth);
// The cores this process may run on (its affinity mask), at least 1.
unsigned AvailableCores();

}  // namespace tavir
