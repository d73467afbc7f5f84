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
    TBandMatrix K;
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
    TBandMatrix k1, k2;
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
  TBandMatrix K;
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
