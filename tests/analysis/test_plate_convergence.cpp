// Square plates (ν = 0.3) against the series solutions as the mesh is refined.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdio>

#include "plate_mesh.h"

namespace tavir {
namespace {

using test::Edge;
using test::Load;
using test::PlateMesh;

struct Case {
  const char* name;
  Edge edge;
  Load load;
  double exact;
};

class PlateConvergence : public ::testing::TestWithParam<Case> {};

TEST_P(PlateConvergence, CentreDeflectionConvergesToTheSeriesSolution) {
  const Case c = GetParam();
  double previousError = 1e300;
  for (const int n : {8, 16, 32}) {
    PlateMesh mesh;
    mesh.N = n;
    // Through the model classes: knots, shells with their one-layer stack,
    // loads and supports as the analysis program holds them.
    const test::PlateModel model = test::MakePlateModel(mesh, c.edge, c.load);
    BandMatrix K;
    std::vector<Extended> F;
    model.Build(K, F);
    SolveBand(K, F);
    const Extended w = F[static_cast<std::size_t>(mesh.Knot(n / 2, n / 2) * kKnotFreedoms + 2)];
    const double value =
        static_cast<double>(w * mesh.Rigidity() / (c.load == Load::Uniform ? mesh.L * mesh.L * mesh.L * mesh.L : mesh.L * mesh.L));
    const double error = std::fabs(value - c.exact) / c.exact;
    std::printf("  %s N=%d: %.7f (exact %.7f, error %.4f %%)\n", c.name, n, value, c.exact, 100 * error);
    EXPECT_LT(error, previousError) << "N=" << n << ": no closer than the coarser mesh";
    previousError = error;
    if (n == 32) {
      EXPECT_LT(error, 0.003) << value;
    }
  }
}

TEST(PlateSystem, ModelClassesBuildTheSameSystemAsThePlainData) {
  PlateMesh mesh;
  mesh.N = 6;
  for (const Load load : {Load::Uniform, Load::CentralPoint}) {
    BandMatrix k1, k2;
    std::vector<Extended> f1, f2;
    mesh.Build(Edge::Simple, load, k1, f1);
    test::MakePlateModel(mesh, Edge::Simple, load).Build(k2, f2);
    ASSERT_EQ(k1.Size(), k2.Size());
    ASSERT_EQ(k1.BandWidth(), k2.BandWidth());
    // The model's element sides come from knot coordinates (ix·h), so they may
    // differ from h in the last bits.
    Extended scale = 0;
    for (std::size_t i = 0; i < k1.Size() * k1.BandWidth(); ++i) scale = std::max(scale, std::fabs(k1.Data()[i]));
    for (std::size_t i = 0; i < k1.Size() * k1.BandWidth(); ++i)
      ASSERT_LE(std::fabs(k1.Data()[i] - k2.Data()[i]), 1e-15L * scale) << i;
    for (std::size_t i = 0; i < f1.size(); ++i) EXPECT_NEAR(static_cast<double>(f1[i]), static_cast<double>(f2[i]), 1e-17);
  }
}

TEST(PlateSystem, UniformLoadSumsToTheTotalLoad) {
  // q·L² split over the knots: a quarter of each element's share to each corner.
  PlateMesh mesh;
  mesh.N = 5;
  mesh.L = 3;
  test::PlateModel model = test::MakePlateModel(mesh, Edge::Simple, Load::Uniform);
  model.Supports.clear();
  BandMatrix K;
  std::vector<Extended> F;
  model.Build(K, F);
  Extended total = 0;
  for (std::size_t i = 2; i < F.size(); i += 5) total += F[i];
  EXPECT_NEAR(static_cast<double>(total), 9.0, 1e-15);
  const Extended h = mesh.L / mesh.N;
  EXPECT_EQ(F[2], h * h / 4);  // corner knot: one element
  const std::size_t inner = static_cast<std::size_t>(mesh.Knot(2, 2) * 5 + 2);
  EXPECT_EQ(F[inner], h * h / 4 + h * h / 4 + h * h / 4 + h * h / 4);  // inner knot: four
  for (std::size_t i = 0; i < F.size(); ++i) {
    if (i % 5 != 2) {
      EXPECT_EQ(F[i], 0) << i;
    }
  }
}

TEST(MembranePatch, NonUniformMeshUnderEdgeTractionsHasConstantStress) {
  // Rectangles of unequal sides; tension p along X on the edge x = 2, q along Y
  // on the edge y = 1.8; u held on x = 0, v on y = 0, the bending freedoms held
  // everywhere. Every element must show the same plane stress state.
  const std::vector<Extended> xs{0, 0.3L, 1.1L, 1.25L, 2.0L}, ys{0, 0.7L, 1.0L, 1.8L};
  const Extended t = 0.2L, E = 2.1e5L, nu = 0.3L, p = 3, q = -1.5L;
  test::PlateModel m;
  m.Material->E = E;
  m.Material->mu = nu;
  const int nx = static_cast<int>(xs.size()), ny = static_cast<int>(ys.size());
  for (int iy = 0; iy < ny; ++iy)
    for (int ix = 0; ix < nx; ++ix) m.AddKnot(xs[static_cast<std::size_t>(ix)], ys[static_cast<std::size_t>(iy)]);
  auto knot = [&](int ix, int iy) { return m.Knots[static_cast<std::size_t>(iy * nx + ix)].get(); };
  std::vector<TMLResultShell*> shells;
  for (int iy = 0; iy + 1 < ny; ++iy) {
    for (int ix = 0; ix + 1 < nx; ++ix) {
      TMLResultShell* s = m.AddShell(knot(ix, iy), knot(ix, iy + 1), knot(ix + 1, iy + 1), knot(ix + 1, iy), t);
      shells.push_back(s);
      const bool right = ix + 2 == nx, top = iy + 2 == ny;
      if (!right && !top) continue;
      auto f = std::make_unique<TEditorDispersionForce>();
      f->Element = s;
      f->Force.Px = right ? p : 0;
      f->Force.Py = top ? q : 0;
      f->Option1 = right ? 1 : 2;  // 1: the edge X = X0 + a
      f->Option2 = top ? 0 : 2;    // 0: the edge Y = Y0 + b
      m.DispForces.push_back(std::move(f));
    }
  }
  for (int iy = 0; iy < ny; ++iy) {
    for (int ix = 0; ix < nx; ++ix) {
      TFixation fix{0, 0, 1, 1, 1, 0};
      if (ix == 0) fix[0] = 1;
      if (iy == 0) fix[1] = 1;
      m.AddSupport(knot(ix, iy), fix);
    }
  }
  BandMatrix K;
  std::vector<Extended> F;
  m.Build(K, F);
  SolveBand(K, F);
  // Nx = p, Ny = q per unit length: εx = (p − ν q)/(E t), εy = (q − ν p)/(E t).
  const Extended ex = (p - nu * q) / (E * t), ey = (q - nu * p) / (E * t);
  for (TMLResultShell* s : shells) {
    s->CalcStresses(F);
    for (int fibre = 0; fibre < 3; ++fibre) {
      EXPECT_NEAR(static_cast<double>(s->Strains[fibre][0][0] / ex), 1.0, 1e-12);
      EXPECT_NEAR(static_cast<double>(s->Strains[fibre][0][1] / ey), 1.0, 1e-12);
      EXPECT_NEAR(static_cast<double>(s->Strains[fibre][0][2]), 0.0, 1e-12 * static_cast<double>(ex));
      EXPECT_NEAR(static_cast<double>(s->Stresses[fibre][0][0] * t / p), 1.0, 1e-12);
      EXPECT_NEAR(static_cast<double>(s->Stresses[fibre][0][1] * t / q), 1.0, 1e-12);
      EXPECT_NEAR(static_cast<double>(s->Stresses[fibre][0][2]), 0.0, 1e-12 * static_cast<double>(p / t));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Textbook, PlateConvergence,
    ::testing::Values(Case{"simply supported, uniform load", Edge::Simple, Load::Uniform, 0.00406235},
                      Case{"clamped, uniform load", Edge::Clamped, Load::Uniform, 0.00126532},
                      Case{"simply supported, central load", Edge::Simple, Load::CentralPoint, 0.0116008}),
    [](const auto& info) {
      return std::string(info.param.edge == Edge::Simple ? "Simple" : "Clamped") +
             (info.param.load == Load::Uniform ? "Uniform" : "Point");
    });

}  // namespace
}  // namespace tavir
