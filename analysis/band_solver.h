#pragma once
// Gauss elimination without pivoting of the symmetric band system K·q = F, in
// place: the band is destroyed and F becomes the displacement vector.
//
// Every pivot is tested before it is used. A pivot that is not finite, not
// positive, or negligible against the original diagonal of its equation (the
// stiffness of that degree of freedom lost to round-off: a mechanism, a free knot,
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

// A pivot p of equation i is accepted when p > PivotTolerance(n) × K(i, i), K(i, i)
// being the diagonal before elimination (itself finite and positive).
//
// For a symmetric positive definite band p / K(i, i) >= 1 / cond(K) in exact
// arithmetic; for an equation that is singular in exact arithmetic (a mechanism)
// the computed pivot is round-off, which grows with the size of the system:
// measured on unsupported and one-edge-hinged flat plates of 1 700 to 51 000
// equations it reached 2.2e3 × n × eps (eps = 2^-63 ≈ 1.08e-19), e.g. 1.2e-11 at
// n = 51 005. The tolerance is ten times that, 2e4 × n × eps (1.1e-10 at
// n = 51 005), and never below 1e-14. Sound models stay far above it: square
// plates have p / K(i, i) >= 0.47, a clamped strip of 1 000 elements 7.5e-10
// (tolerance there 2.2e-11), a hinged shallow shell 2e-5; a system refused as
// singular would have a scaled condition number above ~1e10.
inline constexpr Extended kPivotToleranceFloor = 1e-14L;
inline constexpr Extended kPivotNoisePerEquation = 2e4L * 1.0842021724855044340e-19L;
Extended PivotTolerance(std::size_t equations);

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
void SolveBand(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress = nullptr);

// The reference elimination: row by row, each pivot row updating the rows below.
void SolveBandPlain(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress = nullptr);

// The blocked elimination on `threads` threads (the calling one included, at
// least 1) with pivot panels of `blockSize` rows (0: chosen from the band width
// and the thread count). Bit-identical to SolveBandPlain, same failures.
void SolveBandBlocked(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress,
                      unsigned threads, std::size_t blockSize = 0);

// Whether SolveBand uses the blocked elimination for this size, and on how many
// threads.
bool UsesBlockedSolve(std::size_t equations, std::size_t bandWidth);
unsigned BlockedSolveThreads(std::size_t bandWidth);

}  // namespace tavir
