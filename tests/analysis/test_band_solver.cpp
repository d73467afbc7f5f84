#include "analysis/band_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <vector>

#include "analysis/band_matrix.h"
#include "plate_mesh.h"
#include "solver_families.h"

namespace tavir {
namespace {

using Dense = std::vector<std::vector<Extended>>;

// A symmetric positive definite band: random off-diagonal entries, a dominant
// diagonal.
BandMatrix RandomSpdBand(std::size_t n, std::size_t bw, unsigned seed) {
  BandMatrix k(n, bw);
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<Extended> rowSum(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t d = 1; d < bw && i + d < n; ++d) {
      const Extended v = u(rng);
      k(i, d) = v;
      rowSum[i] += std::fabs(v);
      rowSum[i + d] += std::fabs(v);
    }
  }
  for (std::size_t i = 0; i < n; ++i) k(i, 0) = rowSum[i] + 1 + std::fabs(Extended(u(rng)));
  return k;
}

std::vector<Extended> RandomVector(std::size_t n, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  std::vector<Extended> f(n);
  for (auto& v : f) v = u(rng);
  return f;
}

Dense ToDense(const BandMatrix& k) {
  const std::size_t n = k.Size();
  Dense a(n, std::vector<Extended>(n, 0));
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) a[i][j] = k.At(i, j);
  return a;
}

// Textbook Gauss elimination with partial pivoting on the full matrix.
std::vector<Extended> DenseSolve(Dense a, std::vector<Extended> b) {
  const std::size_t n = b.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t p = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[p][c])) p = r;
    std::swap(a[c], a[p]);
    std::swap(b[c], b[p]);
    for (std::size_t r = c + 1; r < n; ++r) {
      const Extended g = a[r][c] / a[c][c];
      for (std::size_t j = c; j < n; ++j) a[r][j] -= g * a[c][j];
      b[r] -= g * b[c];
    }
  }
  std::vector<Extended> x(n);
  for (std::size_t i = n; i-- > 0;) {
    Extended s = b[i];
    for (std::size_t j = i + 1; j < n; ++j) s -= a[i][j] * x[j];
    x[i] = s / a[i][i];
  }
  return x;
}

bool SameBits(Extended a, Extended b) { return a == b && std::signbit(a) == std::signbit(b); }

void ExpectBitIdentical(const BandMatrix& a, const std::vector<Extended>& fa, const BandMatrix& b,
                        const std::vector<Extended>& fb) {
  ASSERT_EQ(fa.size(), fb.size());
  std::size_t diffs = 0;
  for (std::size_t i = 0; i < fa.size(); ++i)
    if (!SameBits(fa[i], fb[i])) ++diffs;
  EXPECT_EQ(diffs, 0u) << "solution entries differ";
  diffs = 0;
  for (std::size_t i = 0; i < a.Size() * a.BandWidth(); ++i)
    if (!SameBits(a.Data()[i], b.Data()[i])) ++diffs;
  EXPECT_EQ(diffs, 0u) << "eliminated band entries differ";
}

BandMatrix Copy(const BandMatrix& k) {
  BandMatrix c(k.Size(), k.BandWidth());
  std::copy(k.Data(), k.Data() + k.Size() * k.BandWidth(), c.Data());
  return c;
}

enum class Solver { Plain, Blocked1, Blocked3, Auto };

void RunSolver(Solver s, BandMatrix& k, std::vector<Extended>& f, ProgressObserver* p = nullptr) {
  switch (s) {
    case Solver::Plain: SolveBandPlain(k, f, p); break;
    case Solver::Blocked1: SolveBandBlocked(k, f, p, 1, 5); break;
    case Solver::Blocked3: SolveBandBlocked(k, f, p, 3, 4); break;
    case Solver::Auto: SolveBand(k, f, p); break;
  }
}

class SolverKinds : public ::testing::TestWithParam<Solver> {};

TEST_P(SolverKinds, MatchesDenseEliminationForAnyBandShape) {
  struct Case { std::size_t n, bw; };
  // n = 1, a diagonal system, a band as wide as the matrix, ordinary bands.
  for (const Case c : {Case{1, 1}, Case{1, 3}, Case{7, 1}, Case{9, 9}, Case{23, 5}, Case{40, 12}, Case{61, 20}}) {
    SCOPED_TRACE(::testing::Message() << "n=" << c.n << " bw=" << c.bw);
    BandMatrix k = RandomSpdBand(c.n, c.bw, static_cast<unsigned>(c.n * 31 + c.bw));
    std::vector<Extended> f = RandomVector(c.n, static_cast<unsigned>(c.n));
    const std::vector<Extended> expected = DenseSolve(ToDense(k), f);
    RunSolver(GetParam(), k, f);
    for (std::size_t i = 0; i < c.n; ++i) EXPECT_NEAR(static_cast<double>(f[i]), static_cast<double>(expected[i]), 1e-14);
  }
}

TEST_P(SolverKinds, DiagonalAndSingleEquation) {
  BandMatrix one(1, 1);
  one(0, 0) = 4;
  std::vector<Extended> f1{10};
  RunSolver(GetParam(), one, f1);
  EXPECT_EQ(f1[0], Extended(10) / 4);

  BandMatrix diag(5, 1);
  std::vector<Extended> f(5);
  for (std::size_t i = 0; i < 5; ++i) {
    diag(i, 0) = Extended(i + 3);
    f[i] = Extended(7 * i + 1);
  }
  RunSolver(GetParam(), diag, f);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(f[i], Extended(7 * i + 1) / Extended(i + 3));
}

TEST_P(SolverKinds, UnitRowOfASupportKeepsZero) {
  BandMatrix k = RandomSpdBand(30, 8, 5);
  const std::size_t c = 13;
  for (std::size_t j = (c >= 7 ? c - 7 : 0); j < c; ++j) k(j, c - j) = 0;
  k(c, 0) = 1;
  for (std::size_t d = 1; d < 8; ++d) k(c, d) = 0;
  std::vector<Extended> f = RandomVector(30, 9);
  f[c] = 0;
  RunSolver(GetParam(), k, f);
  EXPECT_EQ(f[c], 0);
}

TEST_P(SolverKinds, SingularSystemsNameTheKnotAndFreedom) {
  struct Case {
    const char* what;
    std::size_t eq;
    Extended diagonal;
  };
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  for (const Case c : {Case{"zero diagonal", 17, 0}, Case{"negative diagonal", 0, -2}, Case{"NaN diagonal", 33, nan},
                       Case{"last equation zero", 34, 0}}) {
    SCOPED_TRACE(c.what);
    BandMatrix k = RandomSpdBand(35, 10, 3);
    for (std::size_t j = (c.eq >= 9 ? c.eq - 9 : 0); j < c.eq; ++j) k(j, c.eq - j) = 0;
    for (std::size_t d = 1; d < 10 && c.eq + d < 35; ++d) k(c.eq, d) = 0;
    k(c.eq, 0) = c.diagonal;
    std::vector<Extended> f = RandomVector(35, 4);
    try {
      RunSolver(GetParam(), k, f);
      ADD_FAILURE() << "no failure reported";
    } catch (const SolveError& e) {
      EXPECT_EQ(e.Kind, SolveFailure::Singular);
      EXPECT_EQ(e.Equation, static_cast<std::int64_t>(c.eq));
      EXPECT_EQ(e.Knot(), static_cast<std::int64_t>(c.eq / 5));
      EXPECT_EQ(e.Freedom(), static_cast<int>(c.eq % 5));
      EXPECT_EQ(std::string(e.what()), "Система уравнений вырождена: узел " + std::to_string(c.eq / 5) +
                                           ", степень свободы " + std::to_string(c.eq % 5) + ".");
    }
  }
}

TEST_P(SolverKinds, MechanismIsFoundByItsNegligiblePivot) {
  // A chain of springs 0-1-2-...: stiff and positive semidefinite, the rigid
  // translation left free. The last pivot is round-off.
  const std::size_t n = 40;
  BandMatrix k(n, 2);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const Extended s = 1e6L * Extended(1 + (i % 7));
    k(i, 0) += s;
    k(i + 1, 0) += s;
    k(i, 1) -= s;
  }
  std::vector<Extended> f(n, 0);
  f[n - 1] = 1;
  try {
    RunSolver(GetParam(), k, f);
    ADD_FAILURE() << "no failure reported";
  } catch (const SolveError& e) {
    EXPECT_EQ(e.Kind, SolveFailure::Singular);
    EXPECT_EQ(e.Equation, static_cast<std::int64_t>(n - 1));
    EXPECT_EQ(std::string(e.what()), "Система уравнений вырождена: узел 7, степень свободы 4.");
  }
}

TEST_P(SolverKinds, BadLoadsAndDimensions) {
  BandMatrix k = RandomSpdBand(12, 4, 1);
  std::vector<Extended> f = RandomVector(12, 2);
  f[6] = std::numeric_limits<Extended>::infinity();
  try {
    RunSolver(GetParam(), k, f);
    ADD_FAILURE();
  } catch (const SolveError& e) {
    EXPECT_EQ(e.Kind, SolveFailure::BadLoad);
    EXPECT_EQ(std::string(e.what()), "Нагрузка не является конечным числом: узел 1, степень свободы 1.");
  }
  std::vector<Extended> shortVector(11, 1);
  EXPECT_THROW(RunSolver(GetParam(), k, shortVector), SolveError);
  // An empty system is no error.
  BandMatrix none;
  std::vector<Extended> empty;
  EXPECT_NO_THROW(RunSolver(GetParam(), none, empty));
}

class RecordingProgress : public ProgressObserver {
 public:
  void SetBar(long long position, long long maximum) override { Calls.push_back({position, maximum}); }
  std::vector<std::pair<long long, long long>> Calls;
};

TEST_P(SolverKinds, ProgressRunsThroughBothPasses) {
  BandMatrix k = RandomSpdBand(50, 6, 8);
  std::vector<Extended> f = RandomVector(50, 8);
  RecordingProgress p;
  RunSolver(GetParam(), k, f, &p);
  ASSERT_FALSE(p.Calls.empty());
  EXPECT_EQ(p.Calls.front(), (std::pair<long long, long long>{0, 49}));
  EXPECT_EQ(p.Calls.back(), (std::pair<long long, long long>{50, 50}));
  bool sawEndOfElimination = false;
  for (const auto& c : p.Calls) {
    EXPECT_LE(c.first, c.second);
    if (c == std::pair<long long, long long>{49, 49}) sawEndOfElimination = true;
  }
  EXPECT_TRUE(sawEndOfElimination);
}

INSTANTIATE_TEST_SUITE_P(All, SolverKinds,
                         ::testing::Values(Solver::Plain, Solver::Blocked1, Solver::Blocked3, Solver::Auto));

// The plain loop's result on a system, and the blocked eliminations compared
// with it.
struct PlainResult {
  PlainResult(const BandMatrix& k0, const std::vector<Extended>& f0) : K0(k0), F0(f0), K(Copy(k0)), F(f0) {
    SolveBandPlain(K, F);
  }
  void ExpectBlockedMatches(unsigned threads, std::size_t block) const {
    SCOPED_TRACE(::testing::Message() << "threads=" << threads << " block=" << block);
    BandMatrix b = Copy(K0);
    std::vector<Extended> fb = F0;
    SolveBandBlocked(b, fb, nullptr, threads, block);
    ExpectBitIdentical(K, F, b, fb);
  }
  const BandMatrix& K0;
  const std::vector<Extended>& F0;
  BandMatrix K;
  std::vector<Extended> F;
};

TEST(BlockedSolve, BitIdenticalToPlainLoopOnRandomBands) {
  struct Case { std::size_t n, bw; };
  // n chosen to be no multiple of any block size used; a band as wide as the
  // matrix, narrower and wider than the panels, a diagonal one.
  for (const Case c : {Case{1009, 37}, Case{523, 130}, Case{211, 211}, Case{97, 3}, Case{40, 1}, Case{301, 2}}) {
    SCOPED_TRACE(::testing::Message() << "n=" << c.n << " bw=" << c.bw);
    const BandMatrix k0 = RandomSpdBand(c.n, c.bw, static_cast<unsigned>(c.n + c.bw));
    const std::vector<Extended> f0 = RandomVector(c.n, 77);
    const PlainResult plain(k0, f0);
    for (unsigned threads = 1; threads <= 8; ++threads) {
      for (const std::size_t block : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{16},
                                      std::size_t{50}}) {
        plain.ExpectBlockedMatches(threads, block);
      }
    }
  }
}

TEST(BlockedSolve, BitIdenticalOutsideTheDoubleRangeAndWithSignedZeros) {
  // Entries scaled far beyond what a double holds (2^±2000 and 2^±5000) keep
  // their 80-bit values through every path; signed zeros in the band and the
  // load (a zero entry subtracted from -0 and the reverse) keep their signs.
  const std::size_t n = 307, bw = 41;
  BandMatrix k0 = RandomSpdBand(n, bw, 19);
  std::vector<Extended> f0 = RandomVector(n, 20);
  for (std::size_t i = 0; i < n; ++i) {
    // A diagonal scaling D·K·D keeps the band positive definite.
    const Extended si = std::ldexp(Extended(1), static_cast<int>((i % 7) * 700) - 2100);
    for (std::size_t d = 0; d < bw && i + d < n; ++d) {
      const Extended sj = std::ldexp(Extended(1), static_cast<int>(((i + d) % 7) * 700) - 2100);
      k0(i, d) = k0(i, d) * si * sj;
    }
    f0[i] = f0[i] * si;
  }
  // Whole zero rows and columns outside the diagonal (their entries -0 or +0).
  for (const std::size_t c : {std::size_t{50}, std::size_t{51}, std::size_t{200}}) {
    for (std::size_t j = c - (bw - 1); j < c; ++j) k0(j, c - j) = (j % 2 == 0) ? -0.0L : 0.0L;
    for (std::size_t d = 1; d < bw; ++d) k0(c, d) = (d % 3 == 0) ? -0.0L : 0.0L;
  }
  f0[50] = -0.0L;
  f0[51] = 0.0L;
  for (std::size_t i = 120; i < 130; ++i) f0[i] = -0.0L;
  std::size_t extreme = 0;
  for (std::size_t i = 0; i < n * bw; ++i) {
    const Extended v = std::fabs(k0.Data()[i]);
    if (v != 0 && (v > 1e308L || v < 1e-308L)) ++extreme;
  }
  ASSERT_GT(extreme, n);
  const PlainResult plain(k0, f0);
  for (unsigned threads = 1; threads <= 8; ++threads)
    for (const std::size_t block : {std::size_t{0}, std::size_t{3}, std::size_t{8}, std::size_t{40}})
      plain.ExpectBlockedMatches(threads, block);
  // The scaled system still solves (the probe and the pivots see relative sizes).
  BandMatrix k = Copy(k0);
  std::vector<Extended> f = f0;
  EXPECT_NO_THROW(SolveBand(k, f));
  EXPECT_EQ(f[50], 0);
}

TEST(BlockedSolve, BitIdenticalWhenOnlySomePanelsLeaveTheDoubleRange) {
  // Stretches of rows scaled to the edges of the double range and beyond
  // (2^-1060 .. 2^1060, where an entry's low bits fall below what a double
  // holds or its value above it) between stretches of ordinary rows: in one
  // solve some panels are used through double pairs and some not, for every
  // panel size and thread count.
  const std::size_t n = 401, bw = 57;
  BandMatrix k0 = RandomSpdBand(n, bw, 23);
  std::vector<Extended> f0 = RandomVector(n, 24);
  const auto scale = [](std::size_t i) {
    if (i >= 90 && i < 110) return static_cast<int>(i % 5) * 20 - 1060;  // tiny
    if (i >= 250 && i < 262) return 1020 + static_cast<int>(i % 3) * 20;  // huge
    return 0;
  };
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t d = 0; d < bw && i + d < n; ++d) k0(i, d) = std::ldexp(k0(i, d), scale(i) + scale(i + d));
    f0[i] = std::ldexp(f0[i], scale(i));
  }
  for (std::size_t j = 300 - (bw - 1); j < 300; ++j) k0(j, 300 - j) = (j % 2 == 0) ? -0.0L : 0.0L;
  const PlainResult plain(k0, f0);
  for (unsigned threads = 1; threads <= 8; ++threads)
    for (const std::size_t block : {std::size_t{0}, std::size_t{4}, std::size_t{13}, std::size_t{32}, std::size_t{64}})
      plain.ExpectBlockedMatches(threads, block);
}

TEST(BlockedSolve, BitIdenticalToPlainLoopOnAShellPlateBand) {
  // 13 x 13 elements: 980 equations, band width 80; neither is a multiple of a
  // block size used.
  test::PlateMesh mesh;
  mesh.N = 13;
  BandMatrix k0;
  std::vector<Extended> f0;
  mesh.Build(test::Edge::Simple, test::Load::Uniform, k0, f0);
  ASSERT_EQ(k0.Size(), 980u);
  ASSERT_EQ(k0.BandWidth(), 80u);
  const PlainResult plain(k0, f0);
  for (unsigned threads = 1; threads <= 8; ++threads)
    for (const std::size_t block : {std::size_t{0}, std::size_t{6}, std::size_t{23}, std::size_t{80}})
      plain.ExpectBlockedMatches(threads, block);
}

TEST(SingularModels, UnsupportedOrPartlySupportedPlateIsAMechanism) {
  test::PlateMesh mesh;
  mesh.N = 6;
  const std::size_t n = mesh.Equations();
  struct Case { const char* what; std::vector<TFixation> supports; };
  // No supports; w held along one edge only (the plate turns about it); the
  // membrane held but w free everywhere.
  const TFixation w{0, 0, 1, 0, 0, 0}, uv{1, 1, 0, 0, 0, 0}, uvw{1, 1, 1, 0, 0, 0};
  for (const Case& c : {Case{"none", {}}, Case{"one edge", std::vector<TFixation>(7, w)},
                        Case{"membrane only", std::vector<TFixation>(7, uv)},
                        Case{"hinged along one edge", std::vector<TFixation>(7, uvw)}}) {
    for (const Solver s : {Solver::Plain, Solver::Blocked3}) {
      SCOPED_TRACE(c.what);
      BandMatrix k(n, mesh.BandWidth());
      std::vector<Extended> f(n, 0);
      const Matrix20 ke = mesh.ElementMatrix();
      for (const auto& e : mesh.Elements()) AddToSystem(e, ke, k);
      f[n / 2] = 1;
      for (std::size_t i = 0; i < c.supports.size(); ++i) ApplySupport(mesh.Knot(0, static_cast<int>(i)), c.supports[i], k, f);
      try {
        RunSolver(s, k, f);
        ADD_FAILURE() << "no failure reported";
      } catch (const SolveError& e) {
        EXPECT_EQ(e.Kind, SolveFailure::Singular);
        EXPECT_GE(e.Knot(), 0);
        EXPECT_LT(e.Knot(), 49);
      }
    }
  }
}

TEST(SingularModels, HingedPlateOfThousandsOfEquationsIsStillAMechanism) {
  // Held in u, v and w along x = 0 only, the plate turns about that edge. The
  // last pivot is round-off well above eps.
  test::PlateMesh mesh;
  mesh.N = 30;
  const std::size_t n = mesh.Equations();
  BandMatrix k(n, mesh.BandWidth());
  std::vector<Extended> f(n, 0);
  const Matrix20 ke = mesh.ElementMatrix();
  for (const auto& e : mesh.Elements()) AddToSystem(e, ke, k);
  for (int i = 0; i <= mesh.N; ++i) ApplySupport(mesh.Knot(0, i), TFixation{1, 1, 1, 0, 0, 0}, k, f);
  f[n - 3] = 1;
  try {
    SolveBand(k, f);
    ADD_FAILURE() << "no failure reported";
  } catch (const SolveError& e) {
    EXPECT_EQ(e.Kind, SolveFailure::Singular);
    EXPECT_EQ(e.Knot(), mesh.Knot(mesh.N, mesh.N));
  }
}

// ---- the criterion on model families (tests/analysis/solver_families.h) ----------

std::string SingularText(std::int64_t equation) {
  return "Система уравнений вырождена: узел " + std::to_string(equation / 5) + ", степень свободы " +
         std::to_string(equation % 5) + ".";
}

TEST(SingularModels, SlenderClampedStripsSolveToBeamTheory) {
  // Their smallest pivot ratio falls as N^-3 (7.5e-13 × K(i, i) at 10 000
  // elements), below the round-off pivots of large mechanisms; they are sound.
  for (const int elements : {100, 1000, 4000, 10000}) {
    SCOPED_TRACE(elements);
    const test::Family f = test::Cantilever(elements);
    BandMatrix k;
    std::vector<Extended> q;
    f.Build(f.Grid, k, q);
    SolveDiagnostics d;
    ASSERT_NO_THROW(SolveBand(k, q, nullptr, &d));
    EXPECT_LT(d.SmallestPivotRatio, 1e-6L);
    EXPECT_LT(d.ProbeError, kProbeTolerance);
    for (int iy = 0; iy <= 1; ++iy) {
      const Extended w = q[f.Grid.Equation(f.Grid.Knot(elements, iy), 2)];
      EXPECT_NEAR(static_cast<double>(w / test::CantileverTipDeflection(f.Grid)), 1.0, 0.005);
    }
  }
}

TEST(SingularModels, SoundFamiliesSolveOnEveryElimination) {
  for (const test::Family& f : {test::SupportedStrip(3000), test::SupportedPlate(12, true),
                                test::SupportedPlate(12, false), test::SupportedPlate(12, false, 0.5L)}) {
    for (const Solver s : {Solver::Plain, Solver::Blocked3, Solver::Auto}) {
      SCOPED_TRACE(f.Name);
      BandMatrix k;
      std::vector<Extended> q;
      f.Build(f.Grid, k, q);
      EXPECT_NO_THROW(RunSolver(s, k, q));
    }
  }
}

// Every mechanism family is refused with its knot and freedom, whether the pivot
// test or the probe finds it, by every elimination. `lastKnots` > 0: the knot
// reported is one of the last ones (where the elimination closes the mechanism).
TEST(SingularModels, MechanismFamiliesNameTheKnotAndFreedom) {
  struct Case {
    test::Family family;
    std::int64_t lastKnots;
  };
  const std::vector<Case> cases = {
      {test::HingedStrip(100), 2},      {test::HingedStrip(1000), 2},   {test::HingedStrip(10000), 2},
      {test::HingedPlate(10), 1},       {test::HingedPlate(24), 1},     {test::FreePlate(10), 0},
      {test::FreePlate(24), 0},         {test::ShellOnOneKnot(10), 0},  {test::ShellOnOneKnot(24), 0},
      {test::UnconnectedKnot(8), 1},
      {test::StripOnNegativeSprings(10), 2},  // no mechanism: a pivot turns negative
  };
  for (const Case& c : cases) {
    for (const Solver s : {Solver::Plain, Solver::Blocked3, Solver::Auto}) {
      SCOPED_TRACE(c.family.Name);
      BandMatrix k;
      std::vector<Extended> q;
      c.family.Build(c.family.Grid, k, q);
      try {
        RunSolver(s, k, q);
        ADD_FAILURE() << "no failure reported";
      } catch (const SolveError& e) {
        EXPECT_EQ(e.Kind, SolveFailure::Singular);
        ASSERT_GE(e.Equation, 0);
        const auto knots = static_cast<std::int64_t>(c.family.Grid.Knots());
        EXPECT_LT(e.Knot(), knots);
        if (c.lastKnots > 0) {
          EXPECT_GE(e.Knot(), knots - c.lastKnots);
        }
        EXPECT_EQ(std::string(e.what()), SingularText(e.Equation));
      }
    }
  }
}

TEST(SingularModels, ProbeFindsAMechanismThatTheLoadDoesNotExcite) {
  // The strip turning about its hinged end, unloaded: F = 0 solves to q = 0 and
  // its round-off pivot (2.5e-13 × K(i, i)) passes the pivot test; the probe
  // still finds the mechanism.
  for (const Solver s : {Solver::Plain, Solver::Blocked3}) {
    const test::Family f = test::HingedStrip(1000);
    BandMatrix k;
    std::vector<Extended> q;
    f.Build(f.Grid, k, q);
    std::fill(q.begin(), q.end(), Extended(0));
    SolveDiagnostics d;
    try {
      if (s == Solver::Plain)
        SolveBandPlain(k, q, nullptr, &d);
      else
        SolveBandBlocked(k, q, nullptr, 3, 4, &d);
      ADD_FAILURE();
    } catch (const SolveError& e) {
      EXPECT_EQ(e.Kind, SolveFailure::Singular);
      EXPECT_GE(e.Knot(), 2000);
      EXPECT_GT(d.SmallestPivotRatio, kPivotTolerance);
      EXPECT_GT(d.ProbeError, kProbeTolerance);
    }
  }
}

TEST(SingularModels, ToleranceIsIndependentOfTheSize) {
  // A sound system's pivots far below the old n-dependent limit are accepted:
  // the clamped strip of 4 000 elements (40 010 equations) was refused by
  // 2e4 × n × eps = 8.7e-11 with its smallest pivot ratio 1.2e-11.
  EXPECT_LT(kPivotTolerance, 1e-13L);
  const test::Family f = test::Cantilever(4000);
  BandMatrix k;
  std::vector<Extended> q;
  f.Build(f.Grid, k, q);
  SolveDiagnostics d;
  ASSERT_NO_THROW(SolveBandBlocked(k, q, nullptr, 2, 7, &d));
  EXPECT_LT(d.SmallestPivotRatio, 2e-11L);
  EXPECT_GT(d.SmallestPivotRatio, kPivotTolerance);
}

TEST(SingularModels, KnotWithoutShellIsNamed) {
  // The plate's knots and one more (number 49) that no shell uses, as a knot of
  // a plate element or a knot left over after editing would be.
  test::PlateMesh mesh;
  mesh.N = 6;
  BandMatrix k0;
  std::vector<Extended> f0;
  mesh.Build(test::Edge::Clamped, test::Load::Uniform, k0, f0);
  BandMatrix k(k0.Size() + 5, k0.BandWidth());
  std::copy(k0.Data(), k0.Data() + k0.Size() * k0.BandWidth(), k.Data());
  std::vector<Extended> f = f0;
  f.resize(k.Size(), 0);
  try {
    SolveBand(k, f);
    ADD_FAILURE();
  } catch (const SolveError& e) {
    EXPECT_EQ(std::string(e.what()), "Система уравнений вырождена: узел 49, степень свободы 0.");
  }
  // Held in every freedom it is harmless.
  BandMatrix k2(k0.Size() + 5, k0.BandWidth());
  std::copy(k0.Data(), k0.Data() + k0.Size() * k0.BandWidth(), k2.Data());
  std::vector<Extended> f2 = f;
  ApplySupport(49, TFixation{1, 1, 1, 1, 1, 0}, k2, f2);
  EXPECT_NO_THROW(SolveBand(k2, f2));
  for (std::size_t i = 245; i < 250; ++i) EXPECT_EQ(f2[i], 0);
}

TEST(BlockedSolve, ReportsTheSameFirstFailureAsThePlainLoop) {
  BandMatrix a = RandomSpdBand(400, 60, 12);
  // Two singular equations: the first in elimination order is reported.
  for (const std::size_t eq : {std::size_t{233}, std::size_t{351}}) {
    for (std::size_t j = eq - 59; j < eq; ++j) a(j, eq - j) = 0;
    for (std::size_t d = 0; d < 60; ++d) a(eq, d) = 0;
  }
  for (const unsigned threads : {1u, 4u}) {
    BandMatrix b = Copy(a);
    std::vector<Extended> f = RandomVector(400, 1);
    try {
      SolveBandBlocked(b, f, nullptr, threads, 9);
      ADD_FAILURE();
    } catch (const SolveError& e) {
      EXPECT_EQ(e.Equation, 233);
    }
  }
}

class ThrowingProgress : public ProgressObserver {
 public:
  void SetBar(long long position, long long) override {
    if (position > 100) throw std::runtime_error("stop");
  }
};

TEST(BlockedSolve, ObserverExceptionEndsTheWorkersAndPropagates) {
  BandMatrix k = RandomSpdBand(600, 80, 2);
  std::vector<Extended> f = RandomVector(600, 2);
  ThrowingProgress p;
  EXPECT_THROW(SolveBandBlocked(k, f, &p, 4, 10), std::runtime_error);
}

TEST(BlockedSolve, SelectedForLargeSystemsOnly) {
  EXPECT_FALSE(UsesBlockedSolve(100, 10));
  EXPECT_FALSE(UsesBlockedSolve(1000000, 5));
  EXPECT_TRUE(UsesBlockedSolve(51005, 505));
  EXPECT_EQ(BlockedSolveThreads(20), 1u);
  EXPECT_GE(BlockedSolveThreads(505), 1u);
  EXPECT_LE(BlockedSolveThreads(505), 8u);
}

}  // namespace
}  // namespace tavir
