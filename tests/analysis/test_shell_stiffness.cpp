#include "analysis/dense_reference.h"
#include "analysis/shell_stiffness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/section_stiffness.h"
#include "analysis/shell_integrand.h"

namespace tavir {
namespace {

TSectionArray SectionOf(const std::vector<TLayerInput>& layers) {
  return ToSectionArray(SectionMatrix(std::span<const TLayerInput>(layers)));
}

TLayerInput Monolith(Extended t, Extended z, Extended E = 2.06e6L, Extended mu = 0.3L) {
  return {t, z, kLayerMonolith, E, mu, 0};
}

Extended MaxAbs(const TMatrix20& m) {
  Extended r = 0;
  for (const auto& row : m)
    for (Extended v : row) r = std::max(r, std::fabs(v));
  return r;
}

std::array<Extended, 20> Apply(const TMatrix20& K, const std::array<Extended, 20>& q) {
  std::array<Extended, 20> f{};
  for (std::size_t i = 0; i < 20; ++i)
    for (std::size_t j = 0; j < 20; ++j) f[i] += K[i][j] * q[j];
  return f;
}

// Knot coordinates relative to the centre, in the element's knot order.
std::array<std::array<Extended, 2>, 4> Corners(Extended a, Extended b) {
  return {{{-a / 2, -b / 2}, {-a / 2, b / 2}, {a / 2, b / 2}, {a / 2, -b / 2}}};
}

TEST(ShellTransform, InvertsTheInterpolationAndHasTheKnownUBlock) {
  TMatrix20 T, C;
  ShellTransform(3, 2, T);
  ShellInterpolation(3, 2, C);
  for (std::size_t i = 0; i < 20; ++i)
    for (std::size_t j = 0; j < 20; ++j) {
      Extended s = 0;
      for (std::size_t k = 0; k < 20; ++k) s += T[i][k] * C[k][j];
      EXPECT_NEAR(static_cast<double>(s), i == j ? 1.0 : 0.0, 1e-15) << i << "," << j;
    }
  const Extended u[4][4] = {{0.25L, 0.25L, 0.25L, 0.25L},
                            {-1 / 6.0L, -1 / 6.0L, 1 / 6.0L, 1 / 6.0L},
                            {-0.25L, 0.25L, 0.25L, -0.25L},
                            {1 / 6.0L, -1 / 6.0L, 1 / 6.0L, -1 / 6.0L}};
  for (std::size_t i = 0; i < 4; ++i)
    for (std::size_t j = 0; j < 4; ++j) {
      EXPECT_NEAR(static_cast<double>(T[i][j]), static_cast<double>(u[i][j]), 1e-18);
      EXPECT_EQ(T[4 + i][4 + j], T[i][j]);
    }
  // Rows α8 and α16 in the closed form.
  const Extended a = 3, b = 2;
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(T[8][8 + k], 0.25L);
    EXPECT_NEAR(static_cast<double>(T[8][12 + k]), static_cast<double>((k == 0 || k == 3 ? 1 : -1) * b / 16), 1e-18);
    EXPECT_NEAR(static_cast<double>(T[8][16 + k]), static_cast<double>((k < 2 ? 1 : -1) * a / 16), 1e-18);
    EXPECT_NEAR(static_cast<double>(T[16][8 + k]), static_cast<double>((k < 2 ? 1 : -1) / (a * a * a)), 1e-18);
    EXPECT_NEAR(static_cast<double>(T[16][16 + k]), static_cast<double>(1 / (2 * a * a)), 1e-18);
  }
}

TEST(ShellTransform, InvertsForOtherProportions) {
  for (auto [a, b] : {std::pair<Extended, Extended>{0.1L, 7.5L}, {250, 0.4L}, {1, 1}}) {
    TMatrix20 T, C;
    ShellTransform(a, b, T);
    ShellInterpolation(a, b, C);
    for (std::size_t i = 0; i < 20; ++i)
      for (std::size_t j = 0; j < 20; ++j) {
        Extended s = 0;
        for (std::size_t k = 0; k < 20; ++k) s += C[i][k] * T[k][j];
        EXPECT_NEAR(static_cast<double>(s), i == j ? 1.0 : 0.0, 1e-12) << a << "x" << b << " " << i << "," << j;
      }
  }
}

struct StiffnessCase {
  Extended a, b, Kx, Ky;
  std::vector<TLayerInput> layers;
};

std::vector<StiffnessCase> Cases() {
  return {
      {3, 2, 0, 0, {Monolith(0.1L, 0)}},
      {1.5L, 4, 0, 0, {Monolith(0.05L, 0.02L), {0.01L, -0.03L, kLayerReinforcement, 2e7L, 0.25L, 35}}},
      {2, 2, 0.01L, 0.02L, {Monolith(0.2L, 0)}},
      {0.5L, 0.25L, -0.1L, 0.05L, {Monolith(0.02L, 0.005L), {0.004L, 0.01L, kLayerReinforcement, 2e7L, 0.3L, -60}}},
  };
}

TEST(ShellStiffness, IsTheFullProductOfTheTransformAndTheGeneralizedMatrix) {
  // The element skips the zero entries of T; the result must be the dense
  // Tᵀ·(K·T) of the plain products, bit for bit.
  for (const StiffnessCase& c : Cases()) {
    const TSectionArray D = SectionOf(c.layers);
    TMatrix20 K, T, Ka;
    ShellStiffness(c.a, c.b, c.Kx, c.Ky, D, K, T);
    ShellGeneralizedStiffness(c.a, c.b, c.Kx, c.Ky, D, Ka);
    const TFloat2DMatrix t = ToMatrix(T), ka = ToMatrix(Ka);
    const TFloat2DMatrix k = DenseProduct(DenseTranspose(t), DenseProduct(ka, t));
    EXPECT_EQ(ToMatrix(K), k);
    for (std::size_t i = 0; i < 20; ++i) {
      EXPECT_EQ(Ka[0][i], 0);
      EXPECT_EQ(Ka[i][4], 0);
    }
  }
}

TEST(ShellStiffness, IsSymmetric) {
  for (const StiffnessCase& c : Cases()) {
    TMatrix20 K, T;
    ShellStiffness(c.a, c.b, c.Kx, c.Ky, SectionOf(c.layers), K, T);
    const Extended scale = MaxAbs(K);
    ASSERT_GT(scale, 0);
    for (std::size_t i = 0; i < 20; ++i)
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_NEAR(static_cast<double>(K[i][j] / scale), static_cast<double>(K[j][i] / scale), 1e-16);
  }
}

TEST(ShellStiffness, FlatSingleCentredLayerDoesNotCoupleMembraneAndBending) {
  TMatrix20 K, T;
  ShellStiffness(3, 2, 0, 0, SectionOf({Monolith(0.1L, 0)}), K, T);
  for (std::size_t i = 0; i < 8; ++i)
    for (std::size_t j = 8; j < 20; ++j) {
      EXPECT_EQ(K[i][j], 0) << i << "," << j;
      EXPECT_EQ(K[j][i], 0) << j << "," << i;
    }
}

// Nodal values of a displacement field given by its value and slopes at the knots.
template <class U, class V, class W, class Wx, class Wy>
std::array<Extended, 20> Nodal(Extended a, Extended b, U u, V v, W w, Wx wx, Wy wy) {
  std::array<Extended, 20> q{};
  const auto k = Corners(a, b);
  for (std::size_t n = 0; n < 4; ++n) {
    const Extended x = k[n][0], y = k[n][1];
    q[0 * 4 + n] = u(x, y);
    q[1 * 4 + n] = v(x, y);
    q[2 * 4 + n] = w(x, y);
    q[3 * 4 + n] = wy(x, y);
    q[4 * 4 + n] = wx(x, y);
  }
  return q;
}

// Force per unit of the largest matrix entry: zero up to rounding for a mode
// without strain energy.
Extended RelativeForce(const TMatrix20& K, const std::array<Extended, 20>& q) {
  const auto f = Apply(K, q);
  Extended m = 0, qm = 0;
  for (std::size_t i = 0; i < 20; ++i) {
    m = std::max(m, std::fabs(f[i]));
    qm = std::max(qm, std::fabs(q[i]));
  }
  return m / (MaxAbs(K) * qm);
}

TEST(ShellStiffness, FlatElementHasSixRigidModes) {
  const Extended a = 1.5L, b = 4;
  const auto zero = [](Extended, Extended) { return 0.0L; };
  const auto one = [](Extended, Extended) { return 1.0L; };
  const std::vector<std::array<Extended, 20>> modes = {
      Nodal(a, b, one, zero, zero, zero, zero),  // u translation
      Nodal(a, b, zero, one, zero, zero, zero),  // v translation
      Nodal(a, b, [](Extended, Extended y) { return -y; }, [](Extended x, Extended) { return x; }, zero, zero,
            zero),                             // rotation in the plane
      Nodal(a, b, zero, zero, one, zero, zero),  // w translation
      // tilt w = x: slope ∂w/∂x = 1 (dof 4)
      Nodal(a, b, zero, zero, [](Extended x, Extended) { return x; }, one, zero),
      // tilt w = y: slope ∂w/∂y = 1 (dof 3)
      Nodal(a, b, zero, zero, [](Extended, Extended y) { return y; }, zero, one),
  };
  for (const StiffnessCase& c : Cases()) {
    if (c.Kx != 0 || c.Ky != 0) continue;
    TMatrix20 K, T;
    ShellStiffness(a, b, 0, 0, SectionOf(c.layers), K, T);
    for (std::size_t m = 0; m < modes.size(); ++m) EXPECT_LT(RelativeForce(K, modes[m]), 1e-15) << "mode " << m;
  }
}

TEST(ShellStiffness, TiltWithWrongSlopeCarriesEnergy) {
  // w = x with the slope put into the ∂w/∂y place is not rigid: the dof order matters.
  const Extended a = 1.5L, b = 4;
  TMatrix20 K, T;
  ShellStiffness(a, b, 0, 0, SectionOf({Monolith(0.1L, 0)}), K, T);
  const auto zero = [](Extended, Extended) { return 0.0L; };
  const auto one = [](Extended, Extended) { return 1.0L; };
  EXPECT_GT(RelativeForce(K, Nodal(a, b, zero, zero, [](Extended x, Extended) { return x; }, zero, one)), 1e-3);
}

TEST(ShellStiffness, CurvedElementRigidModes) {
  // Shallow-shell rigid modes within the element's own field: in-plane
  // translations, and the rotation about the normal; the strain εx = u,x - Kx w
  // vanishes for a lifting w = const only together with u = Kx·w·x, v = Ky·w·y
  // (a bilinear u, v represents it exactly).
  const Extended a = 2, b = 1;
  const Extended Kx = 0.01L, Ky = 0.02L;
  TMatrix20 K, T;
  ShellStiffness(a, b, Kx, Ky, SectionOf({Monolith(0.05L, 0.01L)}), K, T);
  const auto zero = [](Extended, Extended) { return 0.0L; };
  const auto one = [](Extended, Extended) { return 1.0L; };
  EXPECT_LT(RelativeForce(K, Nodal(a, b, one, zero, zero, zero, zero)), 1e-15);
  EXPECT_LT(RelativeForce(K, Nodal(a, b, zero, one, zero, zero, zero)), 1e-15);
  EXPECT_LT(RelativeForce(K, Nodal(a, b, [](Extended, Extended y) { return -y; },
                                   [](Extended x, Extended) { return x; }, zero, zero, zero)),
            1e-15);
  EXPECT_LT(RelativeForce(K, Nodal(a, b, [&](Extended x, Extended) { return Kx * x; },
                                   [&](Extended, Extended y) { return Ky * y; }, one, zero, zero)),
            1e-15);
  // A bare w translation stretches the curved surface and is not free.
  EXPECT_GT(RelativeForce(K, Nodal(a, b, zero, zero, one, zero, zero)), 1e-6);
}

TEST(ShellStiffness, MatchesTheEnergyOfAKnownField) {
  // Pure bending w = x²/2 of a single centred layer: w,xx = 1, energy density
  // D33 / 2 per area, so qᵀKq = D33·a·b.
  const Extended a = 1.5L, b = 4;
  const TSectionArray D = SectionOf({Monolith(0.1L, 0)});
  TMatrix20 K, T;
  ShellStiffness(a, b, 0, 0, D, K, T);
  const auto zero = [](Extended, Extended) { return 0.0L; };
  const auto q = Nodal(a, b, zero, zero, [](Extended x, Extended) { return x * x / 2; },
                       [](Extended x, Extended) { return x; }, zero);
  const auto f = Apply(K, q);
  Extended e = 0;
  for (std::size_t i = 0; i < 20; ++i) e += q[i] * f[i];
  EXPECT_NEAR(static_cast<double>(e / (D[3][3] * a * b)), 1.0, 1e-13);
  // Uniform stretch u = x: εx = 1, energy D00·a·b.
  const auto qu = Nodal(a, b, [](Extended x, Extended) { return x; }, zero, zero, zero, zero);
  const auto fu = Apply(K, qu);
  Extended eu = 0;
  for (std::size_t i = 0; i < 20; ++i) eu += qu[i] * fu[i];
  EXPECT_NEAR(static_cast<double>(eu / (D[0][0] * a * b)), 1.0, 1e-13);
}

TEST(ShellStiffness, MatrixInterfaceGivesTheSameNumbersAndRefusesAWrongD) {
  const StiffnessCase c = Cases()[1];
  TMatrix20 K, T;
  const TSectionArray D = SectionOf(c.layers);
  ShellStiffness(c.a, c.b, c.Kx, c.Ky, D, K, T);
  TFloat2DMatrix km, tm;
  ShellStiffness(c.a, c.b, c.Kx, c.Ky, ToMatrix(D), km, tm);
  EXPECT_EQ(km, ToMatrix(K));
  EXPECT_EQ(tm, ToMatrix(T));
  TFloat2DMatrix wrong(8, 7);
  EXPECT_THROW(ShellStiffness(c.a, c.b, c.Kx, c.Ky, wrong, km, tm), EMatrixError);
  EXPECT_EQ(km, ToMatrix(K));
}

}  // namespace
}  // namespace tavir
