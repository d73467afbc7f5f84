// Square plates (ν = 0.3) against the series solutions as the mesh is refined.
#include <gtest/gtest.h>

#include <cmath>
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
    const double value = static_cast<double>(mesh.CentreCoefficient(c.edge, c.load));
    const double error = std::fabs(value - c.exact) / c.exact;
    std::printf("  %s N=%d: %.7f (exact %.7f, error %.4f %%)\n", c.name, n, value, c.exact, 100 * error);
    EXPECT_LT(error, previousError) << "N=" << n << ": no closer than the coarser mesh";
    previousError = error;
    if (n == 32) {
      EXPECT_LT(error, 0.003) << value;
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
