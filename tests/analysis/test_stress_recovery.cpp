#include "analysis/stress_recovery.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "analysis/section_stiffness.h"
#include "analysis/shell_integrand.h"
#include "analysis/shell_stiffness.h"

namespace tavir {
namespace {

struct Field {
  // u = u0 + ex x + g1 y, v = v0 + g2 x + ey y, w = w0 + sx x + sy y + kx x²/2 + ky y²/2 + kxy x y
  Extended u0 = 0, ex = 0, g1 = 0, v0 = 0, g2 = 0, ey = 0;
  Extended w0 = 0, sx = 0, sy = 0, kx = 0, ky = 0, kxy = 0;
};

// Knot values of the field for a rectangle a x b centred at (cx, cy).
std::array<Extended, 20> Nodal(const Field& f, Extended a, Extended b, Extended cx = 0, Extended cy = 0) {
  const Extended xs[4] = {-a / 2, -a / 2, a / 2, a / 2}, ys[4] = {-b / 2, b / 2, b / 2, -b / 2};
  std::array<Extended, 20> q{};
  for (std::size_t n = 0; n < 4; ++n) {
    const Extended x = cx + xs[n], y = cy + ys[n];
    q[n] = f.u0 + f.ex * x + f.g1 * y;
    q[4 + n] = f.v0 + f.g2 * x + f.ey * y;
    q[8 + n] = f.w0 + f.sx * x + f.sy * y + f.kx * x * x / 2 + f.ky * y * y / 2 + f.kxy * x * y;
    q[12 + n] = f.sy + f.ky * y + f.kxy * x;  // ∂w/∂y
    q[16 + n] = f.sx + f.kx * x + f.kxy * y;  // ∂w/∂x
  }
  return q;
}

void ExpectNear(Extended actual, Extended expected, double tol) {
  EXPECT_NEAR(static_cast<double>(actual), static_cast<double>(expected), tol);
}

TEST(StressRecovery, RigidTranslationGivesNoStrain) {
  Field f;
  f.u0 = 0.3L;
  f.v0 = -1.2L;
  const ShellStrains s = ShellStrainField(2, 3, 0, 0, Nodal(f, 2, 3));
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(s.Membrane[i], 0);
    EXPECT_EQ(s.Bending[i], 0);
  }
}

TEST(StressRecovery, LinearFieldsAreReproducedExactly) {
  Field f;
  f.u0 = 0.1L;
  f.ex = 1e-3L;
  f.g1 = 4e-4L;
  f.v0 = -0.2L;
  f.g2 = -1e-4L;
  f.ey = -3e-4L;
  f.w0 = 0.05L;
  f.sx = 0.01L;
  f.sy = -0.02L;
  f.kx = 2e-3L;
  f.ky = -1e-3L;
  f.kxy = 5e-4L;
  const Extended Kx = 0.02L, Ky = 0.01L;
  // The element centred at (1, -2): the field seen from its centre.
  const Extended a = 1.5L, b = 0.75L, cx = 1, cy = -2;
  const ShellStrains s = ShellStrainField(a, b, Kx, Ky, Nodal(f, a, b, cx, cy));
  const Extended wc = f.w0 + f.sx * cx + f.sy * cy + f.kx * cx * cx / 2 + f.ky * cy * cy / 2 + f.kxy * cx * cy;
  const double tol = 1e-15;  // the values pass through double
  ExpectNear(s.CentreDeflection, wc, tol);
  ExpectNear(s.Membrane[0], f.ex - Kx * wc, tol);
  ExpectNear(s.Membrane[1], f.ey - Ky * wc, tol);
  ExpectNear(s.Membrane[2], f.g1 + f.g2, tol);
  ExpectNear(s.Bending[0], -f.kx, 1e-14);
  ExpectNear(s.Bending[1], -f.ky, 1e-14);
  ExpectNear(s.Bending[2], -2 * f.kxy, 1e-14);
}

TEST(StressRecovery, AgreesWithTheElementFieldAtTheCentreForAnyValues) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> d(-1, 1);
  const Extended a = 2.5L, b = 1.25L, Kx = 0.3L, Ky = -0.1L;
  Matrix20 T;
  ShellTransform(a, b, T);
  const auto B = StrainMatrix(MakeIntegrandPoint(0, 0), Kx, Ky);
  for (int trial = 0; trial < 5; ++trial) {
    std::array<Extended, 20> q;
    for (Extended& v : q) v = static_cast<double>(d(rng));
    std::array<Extended, 20> alpha{};
    for (std::size_t i = 0; i < 20; ++i)
      for (std::size_t j = 0; j < 20; ++j) alpha[i] += T[i][j] * q[j];
    std::array<Extended, 8> eps{};
    for (std::size_t k = 0; k < 8; ++k)
      for (std::size_t j = 0; j < 20; ++j) eps[k] += B[k][j] * alpha[j];
    const ShellStrains s = ShellStrainField(a, b, Kx, Ky, q);
    for (std::size_t i = 0; i < 3; ++i) ExpectNear(s.Membrane[i], eps[i], 1e-14);
    ExpectNear(s.Bending[0], -eps[3], 1e-14);
    ExpectNear(s.Bending[1], -eps[4], 1e-14);
    ExpectNear(s.Bending[2], -2 * eps[5], 1e-14);
  }
}

TEST(StressRecovery, FibresOfALayer) {
  ShellStrains s;
  s.Membrane = {1e-3L, -2e-4L, 5e-4L};
  s.Bending = {0.1L, 0.2L, -0.3L};
  const LayerQMatrix Q = LayerElastic({0.1L, 0.02L, kLayerMonolith, 2e6L, 0.25L, 0}).Q;
  const auto f = LayerFibres(s, 0.1L, 0.02L, Q);
  const double z[3] = {0.02 - 0.05, 0.02, 0.02 + 0.05};
  for (int k = 0; k < 3; ++k) {
    for (std::size_t i = 0; i < 3; ++i) ExpectNear(f[k].Strain[i], s.Membrane[i] + z[k] * s.Bending[i], 1e-16);
    for (std::size_t i = 0; i < 3; ++i)
      ExpectNear(f[k].Stress[i], Q[i][0] * f[k].Strain[0] + Q[i][1] * f[k].Strain[1] + Q[i][2] * f[k].Strain[2], 1e-9);
  }
  // A centred layer's middle fibre carries the membrane strain only.
  const auto m = LayerFibres(s, 0.1L, 0, Q);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(m[1].Strain[i], s.Membrane[i]);
}

TEST(StressRecovery, GatherMapsEquationsToLocalValues) {
  TFloatVector v(30);
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<Extended>(i);
  std::array<Extended, 20> q{};
  GatherShellValues(v, {5, 0, 2, 3}, q);
  for (std::size_t dof = 0; dof < 5; ++dof) {
    EXPECT_EQ(q[dof * 4 + 0], 25 + dof);
    EXPECT_EQ(q[dof * 4 + 1], 0 + dof);
    EXPECT_EQ(q[dof * 4 + 2], 10 + dof);
  }
  const auto before = q;
  EXPECT_THROW(GatherShellValues(v, {6, 0, 2, 3}, q), EMatrixError);
  EXPECT_THROW(GatherShellValues(v, {0, -1, 2, 3}, q), EMatrixError);
  EXPECT_EQ(q, before);
}

// Membrane patch test on two flat elements of different widths sharing an edge:
// the nodal forces of a constant stress state, the rigid modes held, a dense
// solve; every element must then show the constant strain exactly.
TEST(StressRecovery, MembranePatchOnTwoUnequalElements) {
  const std::vector<LayerInput> layers = {{0.1L, 0, kLayerMonolith, 2.06e6L, 0.3L, 0}};
  const SectionArray D = ToSectionArray(SectionMatrix(std::span<const LayerInput>(layers)));
  // Knots: 0 (0,0) 1 (0,2) 2 (1,2) 3 (1,0) 4 (3.5,2) 5 (3.5,0).
  const Extended X[6] = {0, 0, 1, 1, 3.5L, 3.5L}, Y[6] = {0, 2, 2, 0, 2, 0};
  const std::array<std::array<int, 4>, 2> elems = {{{0, 1, 2, 3}, {3, 2, 4, 5}}};
  const std::size_t n = 30;
  std::vector<std::vector<Extended>> K(n, std::vector<Extended>(n, 0));
  for (const auto& e : elems) {
    Matrix20 ke, te;
    ShellStiffness(X[e[3]] - X[e[0]], Y[e[1]] - Y[e[0]], 0, 0, D, ke, te);
    for (std::size_t i = 0; i < 20; ++i)
      for (std::size_t j = 0; j < 20; ++j) K[e[i % 4] * 5 + i / 4][e[j % 4] * 5 + j / 4] += ke[i][j];
  }
  const Extended ex = 1e-3L, ey = -4e-4L, gxy = 6e-4L;
  const Extended Nx = D[0][0] * ex + D[0][1] * ey, Ny = D[1][0] * ex + D[1][1] * ey, Nxy = D[2][2] * gxy;
  std::vector<Extended> F(n, 0);
  auto edge = [&](int k1, int k2, Extended tx, Extended ty) {
    const Extended L = std::hypot(X[k2] - X[k1], Y[k2] - Y[k1]);
    for (int k : {k1, k2}) {
      F[k * 5 + 0] += tx * L / 2;
      F[k * 5 + 1] += ty * L / 2;
    }
  };
  edge(0, 1, -Nx, -Nxy);  // left
  edge(5, 4, Nx, Nxy);    // right
  edge(1, 2, Nxy, Ny);    // top
  edge(2, 4, Nxy, Ny);
  edge(0, 3, -Nxy, -Ny);  // bottom
  edge(3, 5, -Nxy, -Ny);
  std::vector<bool> fixed(n, false);
  for (int k = 0; k < 6; ++k)
    for (int dof = 2; dof < 5; ++dof) fixed[k * 5 + dof] = true;  // bending is unloaded and uncoupled
  fixed[0] = fixed[1] = true;                                       // knot 0: u, v
  fixed[5 * 5 + 1] = true;                                          // knot 5: v (rotation)
  std::vector<std::size_t> freeDofs;
  for (std::size_t i = 0; i < n; ++i)
    if (!fixed[i]) freeDofs.push_back(i);
  const std::size_t m = freeDofs.size();
  std::vector<std::vector<Extended>> A(m, std::vector<Extended>(m + 1));
  for (std::size_t i = 0; i < m; ++i) {
    for (std::size_t j = 0; j < m; ++j) A[i][j] = K[freeDofs[i]][freeDofs[j]];
    A[i][m] = F[freeDofs[i]];
  }
  for (std::size_t c = 0; c < m; ++c) {
    std::size_t p = c;
    for (std::size_t r = c + 1; r < m; ++r)
      if (std::fabs(A[r][c]) > std::fabs(A[p][c])) p = r;
    std::swap(A[c], A[p]);
    for (std::size_t r = c + 1; r < m; ++r) {
      const Extended f = A[r][c] / A[c][c];
      for (std::size_t j = c; j <= m; ++j) A[r][j] -= f * A[c][j];
    }
  }
  std::vector<Extended> x(m);
  for (std::size_t c = m; c-- > 0;) {
    Extended s = A[c][m];
    for (std::size_t j = c + 1; j < m; ++j) s -= A[c][j] * x[j];
    x[c] = s / A[c][c];
  }
  TFloatVector U(n, 0);
  for (std::size_t i = 0; i < m; ++i) U[freeDofs[i]] = x[i];
  for (const auto& e : elems) {
    std::array<Extended, 20> q;
    GatherShellValues(U, {e[0], e[1], e[2], e[3]}, q);
    const ShellStrains s = ShellStrainField(X[e[3]] - X[e[0]], Y[e[1]] - Y[e[0]], 0, 0, q);
    ExpectNear(s.Membrane[0], ex, 1e-15);
    ExpectNear(s.Membrane[1], ey, 1e-15);
    ExpectNear(s.Membrane[2], gxy, 1e-15);
    for (Extended b : s.Bending) EXPECT_EQ(b, 0);
  }
}

}  // namespace
}  // namespace tavir
