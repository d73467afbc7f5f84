#include "analysis/band_system.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "analysis/band_matrix.h"
#include "analysis/band_solver.h"
#include "plate_mesh.h"

namespace tavir {
namespace {

using Ke = std::array<std::array<Extended, kElementFreedoms>, kElementFreedoms>;

Ke RandomSymmetric(unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> u(-50, 50);
  Ke k{};
  for (int i = 0; i < kElementFreedoms; ++i)
    for (int j = i; j < kElementFreedoms; ++j) k[i][j] = k[j][i] = Extended(u(rng)) / 8;
  return k;
}

using Dense = std::vector<std::vector<Extended>>;

// The textbook scatter of a full element matrix into a full system matrix.
void DenseAdd(Dense& d, const TElementKnotNumbers& numbers, const Ke& ke) {
  for (int i = 0; i < kElementFreedoms; ++i)
    for (int j = 0; j < kElementFreedoms; ++j)
      d[numbers[i % 4] * 5 + i / 4][numbers[j % 4] * 5 + j / 4] += ke[i][j];
}

void ExpectBandEquals(const TBandMatrix& k, const Dense& d) {
  for (std::size_t i = 0; i < d.size(); ++i)
    for (std::size_t j = 0; j < d.size(); ++j) ASSERT_EQ(k.At(i, j), d[i][j]) << "(" << i << ", " << j << ")";
}

TEST(BandMatrix, AllocationIsReusedAndChecked) {
  TBandMatrix k(10, 4);
  k(3, 2) = 5;
  const Extended* buffer = k.Data();
  k.Reset();
  EXPECT_EQ(k(3, 2), 0);
  k(9, 3) = 1;
  k.Allocate(8, 5);  // fewer values: same buffer, zeroed
  EXPECT_EQ(k.Data(), buffer);
  EXPECT_EQ(k.Size(), 8u);
  EXPECT_EQ(k.BandWidth(), 5u);
  for (std::size_t i = 0; i < 40; ++i) EXPECT_EQ(k.Data()[i], 0);

  const std::size_t huge = std::numeric_limits<std::size_t>::max() / 4;
  try {
    k.Allocate(huge, 505);
    ADD_FAILURE();
  } catch (const EBandError& e) {
    EXPECT_EQ(std::string(e.what()), "Недостаточно памяти для матрицы жесткости: " + std::to_string(huge) +
                                         " уравнений, ширина ленты 505.");
  }
  EXPECT_FALSE(k.IsAllocated());
}

TEST(BandMatrix, ProductMatchesDenseProduct) {
  for (const std::size_t bw : {std::size_t{1}, std::size_t{3}, std::size_t{9}, std::size_t{14}}) {
    const std::size_t n = 9;
    TBandMatrix k(n, bw);
    std::mt19937 rng(static_cast<unsigned>(bw));
    std::uniform_int_distribution<int> u(-9, 9);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t d = 0; d < bw && i + d < n; ++d) k(i, d) = u(rng);
    std::vector<Extended> v(n), c(n, 99);
    for (auto& x : v) x = u(rng);
    BandMultiply(k, v, c);
    for (std::size_t i = 0; i < n; ++i) {
      Extended s = 0;
      for (std::size_t j = 0; j < n; ++j) s += k.At(i, j) * v[j];
      EXPECT_EQ(c[i], s) << "bw=" << bw << " i=" << i;
    }
    // e_j picks column j of the symmetric matrix: above the diagonal from row j,
    // below from the rows before it.
    std::vector<Extended> e(n, 0);
    e[4] = 1;
    BandMultiply(k, e, c);
    for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(c[i], i <= 4 ? (4 - i < bw ? k(i, 4 - i) : 0) : (i - 4 < bw ? k(4, i - 4) : 0));
  }
}

TEST(BandMatrix, ProductRejectsMismatchedVectors) {
  TBandMatrix k(4, 2);
  std::vector<Extended> v(3, 1), c(4, 7);
  EXPECT_THROW(BandMultiply(k, v, c), EBandError);
  for (const Extended x : c) EXPECT_EQ(x, 7);
}

TEST(BandWidth, FiveTimesTheLargestKnotSpanPlusFive) {
  const std::vector<std::int64_t> a{0, 1, 2, 3}, b{0, 1, 7, 8}, none{};
  EXPECT_EQ(BandWidthOfSpan(KnotNumberSpan(a)), 20);
  EXPECT_EQ(BandWidthOfSpan(KnotNumberSpan(b)), 45);
  EXPECT_EQ(BandWidthOfSpan(KnotNumberSpan(none)), 5);
  EXPECT_THROW(BandWidthOfSpan(std::int64_t{1} << 40), EBandError);
}

TEST(Assembly, ElementsLandWhereTheDenseScatterPutsThem) {
  const TElementKnotNumbers e1{0, 1, 2, 3}, e2{2, 3, 5, 4}, e3{4, 5, 7, 6};
  const Ke k1 = RandomSymmetric(1), k2 = RandomSymmetric(2), k3 = RandomSymmetric(3);
  // One element numbered 0..3: band width 20, all in rows 0..19.
  {
    TBandMatrix k(20, 20);
    AddToSystem(e1, k1, k);
    Dense d(20, std::vector<Extended>(20, 0));
    DenseAdd(d, e1, k1);
    ExpectBandEquals(k, d);
  }
  // Shared knots add up; the local order is dof × 4 + knot.
  TBandMatrix k(40, 20);
  Dense d(40, std::vector<Extended>(40, 0));
  for (const auto& [nums, ke] : {std::pair{e1, k1}, std::pair{e2, k2}, std::pair{e3, k3}}) {
    AddToSystem(nums, ke, k);
    DenseAdd(d, nums, ke);
  }
  ExpectBandEquals(k, d);
  EXPECT_EQ(k(2 * 5 + 2, 0), k1[2 * 4 + 2][2 * 4 + 2] + k2[2 * 4 + 0][2 * 4 + 0]);
}

TEST(Assembly, IndicesOutsideTheSystemOrBandAreRefused) {
  const Ke ke = RandomSymmetric(4);
  TBandMatrix k(40, 20);
  EXPECT_THROW(AddToSystem(TElementKnotNumbers{0, 1, 7, 8}, ke, k), EBandError);  // needs 45
  EXPECT_THROW(AddToSystem(TElementKnotNumbers{5, 6, 7, 8}, ke, k), EBandError);  // knot 8 beyond 40 equations
  EXPECT_THROW(AddToSystem(TElementKnotNumbers{-1, 0, 1, 2}, ke, k), EBandError);
  for (std::size_t i = 0; i < 40 * 20; ++i) ASSERT_EQ(k.Data()[i], 0);
  TBandMatrix none;
  EXPECT_NO_THROW(AddToSystem(TElementKnotNumbers{0, 1, 2, 3}, ke, none));
}

TEST(Loads, ConcentratedLoadGoesToTheKnotsFiveEquations) {
  std::vector<Extended> f(15, 1);
  TForceRecord p;
  p.Px = 2; p.Py = 3; p.Pz = 4; p.Mx = 5; p.My = 6; p.Mz = 7;
  AddConcForce(1, p, f);
  const std::vector<Extended> expected{1, 1, 1, 1, 1, 3, 4, 5, 6, 7, 1, 1, 1, 1, 1};
  EXPECT_EQ(f, expected);  // Mz nowhere
  EXPECT_THROW(AddConcForce(3, p, f), EBandError);
  EXPECT_EQ(f, expected);
}

TEST(Loads, DistributedLoadByOptions) {
  // Rectangle a = 2, b = 3, knots 0..3 numbered 0..3.
  TForceRecord p;
  p.Px = 10; p.Py = 20; p.Pz = 4; p.Mx = 8; p.My = 12; p.Mz = 100;
  struct Case {
    std::uint8_t o1, o2;
    std::array<int, 2> xKnots, yKnots;  // -1: none
  };
  for (const Case c : {Case{0, 0, {0, 1}, {1, 2}}, Case{1, 1, {2, 3}, {0, 3}}, Case{2, 2, {-1, -1}, {-1, -1}},
                       Case{0, 1, {0, 1}, {0, 3}}}) {
    SCOPED_TRACE(::testing::Message() << int(c.o1) << "," << int(c.o2));
    std::vector<Extended> f(20, 0);
    AddDispForce(TElementKnotNumbers{0, 1, 2, 3}, true, 2, 3, c.o1, c.o2, p, f);
    for (int m = 0; m < 4; ++m) {
      const bool x = m == c.xKnots[0] || m == c.xKnots[1];
      const bool y = m == c.yKnots[0] || m == c.yKnots[1];
      EXPECT_EQ(f[m * 5 + 0], x ? Extended(10) * 3 / 2 : 0);
      EXPECT_EQ(f[m * 5 + 1], y ? Extended(20) * 2 / 2 : 0);
      EXPECT_EQ(f[m * 5 + 2], Extended(4) * 6 / 4);
      EXPECT_EQ(f[m * 5 + 3], Extended(8) * 6 / 4);
      EXPECT_EQ(f[m * 5 + 4], Extended(12) * 6 / 4);
    }
  }
  std::vector<Extended> f(20, 0);
  AddDispForce(TElementKnotNumbers{0, 1, 2, 3}, false, 2, 3, 0, 0, p, f);
  for (const Extended v : f) EXPECT_EQ(v, 0);
}

TEST(Supports, FixedFreedomBecomesAUnitEquation) {
  const std::size_t n = 40, bw = 20;
  TBandMatrix k(n, bw);
  for (std::size_t i = 0; i < n * bw; ++i) k.Data()[i] = Extended(i % 13 + 1);
  std::vector<Extended> f(n, 3);
  TFixation fix{0, 0, 1, 0, 0, 0};  // move Z at knot 3: equation 17
  ApplySupport(3, fix, k, f);
  EXPECT_EQ(k(17, 0), 1);
  for (std::size_t d = 1; d < bw; ++d) EXPECT_EQ(k(17, d), 0);
  for (std::size_t j = 0; j < 17; ++j) EXPECT_EQ(k(j, 17 - j), 0) << j;
  EXPECT_EQ(f[17], 0);
  EXPECT_EQ(k(16, 0), Extended((16 * bw) % 13 + 1));  // neighbours untouched
  EXPECT_EQ(f[16], 3);

  // Restraint 6 and bytes other than 1 change nothing.
  TBandMatrix k2(n, bw);
  for (std::size_t i = 0; i < n * bw; ++i) k2.Data()[i] = Extended(i % 11);
  std::vector<Extended> f2(n, 3);
  ApplySupport(2, TFixation{2, 0, 0, 0, 0, 1}, k2, f2);
  for (std::size_t i = 0; i < n * bw; ++i) ASSERT_EQ(k2.Data()[i], Extended(i % 11));
  for (const Extended v : f2) EXPECT_EQ(v, 3);
  EXPECT_THROW(ApplySupport(8, fix, k2, f2), EBandError);
}

TEST(Supports, AllFiveFreedomsOfTheFirstKnotClipTheColumnAtRowZero) {
  TBandMatrix k(10, 7);
  for (std::size_t i = 0; i < 70; ++i) k.Data()[i] = 2;
  std::vector<Extended> f(10, 1);
  ApplySupport(0, TFixation{1, 1, 1, 1, 1, 1}, k, f);
  for (std::size_t c = 0; c < 5; ++c) {
    EXPECT_EQ(f[c], 0);
    for (std::size_t j = 0; j < 10; ++j) EXPECT_EQ(k.At(c, j), c == j ? 1 : 0);
  }
  EXPECT_EQ(k(5, 0), 2);
}

// ---- the analysis classes ----------------------------------------------------------

// Two shells side by side (knots 0..5, a = 2, b = 1) and a plate on knots 6..8
// and knot 5.
struct SmallModel {
  test::PlateModel m;
  TMLResultShell* s1 = nullptr;
  TMLResultShell* s2 = nullptr;
  TMLResultPlate* plate = nullptr;
  SmallModel() {
    m.Material->E = 1000;
    for (int ix = 0; ix < 3; ++ix) {
      m.AddKnot(2 * ix, 0);
      m.AddKnot(2 * ix, 1);
    }
    auto k = [&](int i) { return m.Knots[static_cast<std::size_t>(i)].get(); };
    s1 = m.AddShell(k(0), k(1), k(3), k(2), 0.1L);
    s2 = m.AddShell(k(2), k(3), k(5), k(4), 0.1L);
    for (int i = 0; i < 3; ++i) m.AddKnot(4 + 2 * i, 2);
    auto p = std::make_unique<TMLResultPlate>(ElementType::Rectangle, m.Material);
    p->Knots = {k(5), k(6), k(7), k(8)};
    plate = p.get();
    m.Elements.push_back(std::move(p));
  }
};

TEST(ModelSystem, BandWidthCountsShellsOnly) {
  SmallModel s;
  EXPECT_EQ(BandWidth(s.m.Elements), 5 * 3 + 5);  // both shells span 3
  s.plate->Knots[3] = s.m.Knots[0].get();            // plate from 0 to 7: still not counted
  EXPECT_EQ(BandWidth(s.m.Elements), 20);
  s.s2->Knots[3] = s.m.Knots[8].get();               // shell 2..8
  EXPECT_EQ(BandWidth(s.m.Elements), 5 * 6 + 5);
  std::vector<std::unique_ptr<TMLEditorElement>> none;
  EXPECT_EQ(BandWidth(none), 5);
}

TEST(ModelSystem, ShellGoesInThroughItsKnotNumbers) {
  SmallModel s;
  s.s2->CalcStiffness();
  TBandMatrix viaModel(45, 20), viaCore(45, 20);
  AddToSystem(*s.s2, viaModel);
  AddToSystem(TElementKnotNumbers{2, 3, 5, 4}, s.s2->Stiffness, viaCore);
  EXPECT_TRUE(std::equal(viaModel.Data(), viaModel.Data() + 45 * 20, viaCore.Data()));
  EXPECT_NE(viaModel(10, 0), 0);
  // Renumbered knots move the element.
  s.m.Knots[2]->Number = 6;
  TBandMatrix moved(45, 30);
  AddToSystem(*s.s2, moved);
  EXPECT_EQ(moved(30, 0), s.s2->Stiffness[0][0]);
  // Without its matrix the shell is refused, not added as zeros.
  TMLResultShell raw(ElementType::Rectangle, s.m.Material);
  raw.Knots = s.s1->Knots;
  EXPECT_THROW(AddToSystem(raw, viaModel), EBandError);
}

TEST(ModelSystem, ItemsWithoutKnotOrElementAddNothing) {
  SmallModel s;
  s.s1->CalcStiffness();
  s.s1->Knots[2] = nullptr;
  TBandMatrix k(45, 20);
  std::vector<Extended> f(45, 0);
  AddToSystem(*s.s1, k);
  TEditorConcentrateForce conc;
  conc.Force.Pz = 5;
  AddConcForce(conc, f);
  TEditorDispersionForce onNothing, onPlate, onBrokenShell;
  onNothing.Force.Pz = onPlate.Force.Pz = onBrokenShell.Force.Pz = 3;
  onPlate.Element = s.plate;
  onBrokenShell.Element = s.s1;
  AddDispForce(onNothing, f);
  AddDispForce(onPlate, f);
  AddDispForce(onBrokenShell, f);
  TEditorSupport support;
  support.Fixation = {1, 1, 1, 1, 1, 1};
  ApplySupport(support, k, f);
  // A knot of the editor's own class carries no equation number.
  TEditorKnot plain;
  conc.Knot = &plain;
  AddConcForce(conc, f);
  for (std::size_t i = 0; i < 45 * 20; ++i) ASSERT_EQ(k.Data()[i], 0);
  for (const Extended v : f) EXPECT_EQ(v, 0);
}

TEST(ModelSystem, DistributedLoadUsesTheElementsSides) {
  SmallModel s;
  TEditorDispersionForce load;
  load.Element = s.s2;
  load.Force.Px = 1;
  load.Force.Pz = 8;
  std::vector<Extended> f(45, 0);
  AddDispForce(load, f);
  // a = 2, b = 1: Pz·a·b/4 = 4 on each knot, Px·b/2 = 0.5 on knots 0 and 1 of
  // the element (knots 2 and 3 of the model).
  for (const std::size_t knot : {2u, 3u, 4u, 5u}) EXPECT_EQ(f[knot * 5 + 2], 4);
  EXPECT_EQ(f[2 * 5 + 0], 0.5);
  EXPECT_EQ(f[3 * 5 + 0], 0.5);
  EXPECT_EQ(f[4 * 5 + 0], 0);
}

TEST(ModelSystem, KnotOnlyAPlateUsesMakesTheSystemSingular) {
  SmallModel s;
  TBandMatrix k;
  std::vector<Extended> f;
  s.m.AddSupport(s.m.Knots[0].get(), TFixation{1, 1, 1, 1, 1, 0});
  s.m.AddSupport(s.m.Knots[1].get(), TFixation{1, 1, 1, 1, 1, 0});
  s.m.Build(k, f);
  f[5 * 5 + 2] = 1;
  try {
    SolveBand(k, f);
    ADD_FAILURE();
  } catch (const ESolveError& e) {
    EXPECT_EQ(std::string(e.what()), "Система уравнений вырождена: узел 6, степень свободы 0.");
  }
  // With the plate's own knots held the shells alone carry the load.
  SmallModel held;
  for (int i : {0, 1}) held.m.AddSupport(held.m.Knots[static_cast<std::size_t>(i)].get(), TFixation{1, 1, 1, 1, 1, 0});
  for (int i : {6, 7, 8}) held.m.AddSupport(held.m.Knots[static_cast<std::size_t>(i)].get(), TFixation{1, 1, 1, 1, 1, 0});
  held.m.Build(k, f);
  f[5 * 5 + 2] = 1;
  ASSERT_NO_THROW(SolveBand(k, f));
  EXPECT_GT(f[5 * 5 + 2], 0);
  for (std::size_t i = 30; i < 45; ++i) EXPECT_EQ(f[i], 0);
}

}  // namespace
}  // namespace tavir
