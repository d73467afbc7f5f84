#include "analysis/section_stiffness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/shell_integrand.h"

namespace tavir {
namespace {

constexpr Extended kE = 2.06e6L, kNu = 0.3L;

SectionArray Section(const std::vector<LayerInput>& layers) {
  std::vector<LayerModuli> el;
  for (const auto& l : layers) el.push_back(LayerElastic(l));
  SectionArray D;
  SectionMatrix(layers, el, D);
  return D;
}

void ExpectRel(Extended actual, Extended expected, double tol = 1e-17) {
  const Extended scale = std::max(std::fabs(expected), Extended(1e-300L));
  EXPECT_NEAR(static_cast<double>((actual - expected) / scale), 0.0, tol) << static_cast<double>(actual) << " vs "
                                                                          << static_cast<double>(expected);
}

TEST(LayerElastic, MonolithInClosedForm) {
  const LayerModuli l = LayerElastic({0.1L, 0, kLayerMonolith, kE, kNu, 0});
  ExpectRel(l.K, kE / (3 * (1 - 2 * kNu)));
  ExpectRel(l.G, kE / (2 * (1 + kNu)));
  ExpectRel(l.Q[0][0], kE / (1 - kNu * kNu));
  ExpectRel(l.Q[1][1], kE / (1 - kNu * kNu));
  ExpectRel(l.Q[0][1], kNu * kE / (1 - kNu * kNu));
  ExpectRel(l.Q[1][0], l.Q[0][1], 0);
  ExpectRel(l.Q[2][2], l.G, 0);
  EXPECT_EQ(l.Q[0][2], 0);
  EXPECT_EQ(l.Q[2][1], 0);
}

TEST(LayerElastic, ReinforcementIsARodFieldTurnedByTheAngle) {
  const LayerModuli l0 = LayerElastic({0.01L, 0, kLayerReinforcement, kE, kNu, 0});
  const Extended er = static_cast<double>((9 * l0.K * l0.G) / (3 * l0.K + l0.G));
  EXPECT_EQ(l0.Q[0][0], er);
  ExpectRel(er, kE, 1e-15);
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = 0; j < 3; ++j)
      if (i + j != 0) {
        EXPECT_EQ(l0.Q[i][j], 0) << i << j;
      }

  const LayerModuli l90 = LayerElastic({0.01L, 0, kLayerReinforcement, kE, kNu, 90});
  ExpectRel(l90.Q[1][1], er, 1e-15);
  EXPECT_NE(l90.Q[0][2], 0);  // cos of the rounded angle is tiny, not zero
  EXPECT_LT(std::fabs(l90.Q[0][2]), 1e-9L * er);

  // At 30°: the rod strain is ε·n with n = (c², s², cs): Q = E_r n nᵀ.
  const LayerModuli l30 = LayerElastic({0.01L, 0, kLayerReinforcement, kE, kNu, 30});
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  const double n[3] = {c * c, s * s, c * s};
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = 0; j < 3; ++j) ExpectRel(l30.Q[i][j], er * n[i] * n[j], 1e-14);
}

TEST(LayerElastic, OtherTypesAddNothingButKeepTheirModuli) {
  const LayerModuli l = LayerElastic({0.01L, 0.02L, 2, kE, kNu, 0});
  ExpectRel(l.G, kE / (2 * (1 + kNu)));
  for (const auto& row : l.Q)
    for (Extended v : row) EXPECT_EQ(v, 0);
  const SectionArray D = Section({{0.01L, 0.02L, 2, kE, kNu, 0}});
  for (const auto& row : D)
    for (Extended v : row) EXPECT_EQ(v, 0);
}

TEST(SectionMatrix, SingleCentredLayerInClosedForm) {
  const Extended t = 0.12L;
  const SectionArray D = Section({{t, 0, kLayerMonolith, kE, kNu, 0}});
  const Extended G = kE / (2 * (1 + kNu));
  ExpectRel(D[0][0], kE * t / (1 - kNu * kNu), 1e-16);
  ExpectRel(D[0][1], kNu * kE * t / (1 - kNu * kNu), 1e-16);
  ExpectRel(D[2][2], G * t, 1e-16);
  ExpectRel(D[3][3], kE * t * t * t / (12 * (1 - kNu * kNu)), 1e-15);
  ExpectRel(D[3][4], kNu * kE * t * t * t / (12 * (1 - kNu * kNu)), 1e-15);
  ExpectRel(D[5][5], 4 * G * t * t * t / 12, 1e-15);
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = 3; j < 8; ++j) {
      EXPECT_EQ(D[i][j], 0);
      EXPECT_EQ(D[j][i], 0);
    }
}

// D by integrating the layer strain (ε - z κ) through the thickness numerically
// (Simpson over each layer): the reference for eccentric and mixed stacks.
SectionArray NumericSection(const std::vector<LayerInput>& layers) {
  SectionArray D{};
  for (const auto& l : layers) {
    const LayerQMatrix Q = LayerElastic(l).Q;
    const int n = 200;  // Simpson is exact for the quadratic integrand; n only checks that
    const Extended h = l.Thickness / n;
    for (int k = 0; k <= n; ++k) {
      const Extended z = l.Z - l.Thickness / 2 + k * h;
      const Extended wgt = h / 3 * (k == 0 || k == n ? 1 : (k % 2 ? 4 : 2));
      // Strain rows for the generalized strains: membrane identity, bending -z (1, 1, 2).
      std::array<std::array<Extended, 6>, 3> S{};
      S[0][0] = S[1][1] = S[2][2] = 1;
      S[0][3] = -z;
      S[1][4] = -z;
      S[2][5] = -2 * z;
      for (std::size_t r = 0; r < 6; ++r)
        for (std::size_t c = 0; c < 6; ++c) {
          Extended s = 0;
          for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j) s += S[i][r] * Q[i][j] * S[j][c];
          D[r][c] += wgt * s;
        }
    }
  }
  return D;
}

TEST(SectionMatrix, EccentricMixedStackMatchesThroughThicknessIntegration) {
  const std::vector<LayerInput> stack = {
      {0.08L, 0.03L, kLayerMonolith, 3e6L, 0.2L, 0},
      {0.01L, -0.04L, kLayerReinforcement, 2e7L, 0.3L, 35},
      {0.005L, 0.075L, kLayerReinforcement, 2e7L, 0.3L, -70},
  };
  const SectionArray D = Section(stack), N = NumericSection(stack);
  // Compare each block (membrane, coupling, bending) against its own largest entry.
  auto block = [](std::size_t r, std::size_t c) { return (r < 3 ? 0 : 1) + (c < 3 ? 0 : 1); };
  Extended scale[3] = {0, 0, 0};
  for (std::size_t r = 0; r < 6; ++r)
    for (std::size_t c = 0; c < 6; ++c) scale[block(r, c)] = std::max(scale[block(r, c)], std::fabs(N[r][c]));
  for (std::size_t r = 0; r < 6; ++r)
    for (std::size_t c = 0; c < 6; ++c) {
      EXPECT_NEAR(static_cast<double>(D[r][c] / scale[block(r, c)]), static_cast<double>(N[r][c] / scale[block(r, c)]),
                  1e-14)
          << r << "," << c;
      EXPECT_EQ(D[r][c], D[c][r]);
      EXPECT_NE(D[r][c], 0) << r << "," << c;  // every entry of the 6x6 block takes part
    }
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(D[6][i], 0);
    EXPECT_EQ(D[i][7], 0);
  }
}

TEST(SectionMatrix, SymmetricPairCancelsTheCoupling) {
  const Extended t = 0.02L, e = 0.05L;
  const SectionArray D = Section({{t, e, kLayerMonolith, kE, kNu, 0}, {t, -e, kLayerMonolith, kE, kNu, 0}});
  const LayerQMatrix Q = LayerElastic({t, e, kLayerMonolith, kE, kNu, 0}).Q;
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = 3; j < 6; ++j) EXPECT_EQ(D[i][j], 0) << i << j;
  ExpectRel(D[3][3], 2 * (e * e * t + t * t * t / 12) * Q[0][0], 1e-15);
  ExpectRel(D[5][5], 4 * 2 * (e * e * t + t * t * t / 12) * Q[2][2], 1e-15);
}

TEST(SectionMatrix, NoLayersGiveZero) {
  const TFloat2DMatrix D = SectionMatrix(std::span<const LayerInput>{});
  ASSERT_EQ(D.Rows(), 8u);
  for (std::size_t r = 0; r < 8; ++r)
    for (std::size_t c = 0; c < 8; ++c) EXPECT_EQ(D[r][c], 0);
}

// The integrand against Bᵀ·D·B formed from the full B.
TEST(ShellIntegrand, EqualsBtDBWhereverItWrites) {
  const std::vector<LayerInput> stack = {
      {0.08L, 0.03L, kLayerMonolith, 3e6L, 0.2L, 0},
      {0.01L, -0.04L, kLayerReinforcement, 2e7L, 0.3L, 35},
  };
  SectionArray D = Section(stack);
  D[6][6] = 5;  // the slopes' rows take part too when D has them
  D[6][7] = D[7][6] = -2;
  D[7][7] = 3;
  D[0][6] = D[6][0] = 1.5L;
  const Extended Kx = 0.3L, Ky = -0.2L;
  const IntegrandPoint p = MakeIntegrandPoint(0.37L, -0.61L);
  Matrix20 Ka;
  for (auto& row : Ka) row.fill(-777);
  LocMatRectIntegrand(Ka, D, p, Kx, Ky);
  const auto B = StrainMatrix(p, Kx, Ky);
  auto full = [&](std::size_t r, std::size_t c) {
    Extended s = 0;
    for (std::size_t k = 0; k < 8; ++k)
      for (std::size_t l = 0; l < 8; ++l) s += B[k][r] * D[k][l] * B[l][c];
    return s;
  };
  for (std::size_t r = 0; r < 20; ++r)
    for (std::size_t c = 0; c < 20; ++c) {
      const bool upperRow = (r >= 1 && r <= 3 && c >= r && c != 4) || (r >= 6 && c >= r);
      if (upperRow || (r == 5 && c >= 5)) {
        const Extended f = full(r, c);
        EXPECT_NEAR(static_cast<double>(Ka[r][c]), static_cast<double>(f), 1e-12 * (1 + std::fabs(static_cast<double>(f))))
            << r << "," << c;
      } else if (r == 5) {
        EXPECT_EQ(Ka[5][c], Ka[2][c]);  // the copy of row 2, unwritten cells included
      } else {
        EXPECT_EQ(Ka[r][c], -777) << r << "," << c;
      }
    }
  // B itself: a few entries of the table.
  EXPECT_EQ(B[0][8], -Kx);
  EXPECT_EQ(B[1][9], -Ky * p.x);
  EXPECT_EQ(B[5][18], 3 * p.x2);
  EXPECT_EQ(B[7][19], 3 * (p.x * p.y2));
  EXPECT_EQ(B[2][3], p.x);
}

TEST(ShellIntegrand, WeightedSumEqualsTheIntegrandCells) {
  // Without the slope rows in D (every real stack) and with them: AddIntegrand
  // adds exactly weight x the cells LocMatRectIntegrand writes.
  SectionArray D = Section({{0.08L, 0.03L, kLayerMonolith, 3e6L, 0.2L, 0}, {0.01L, -0.04L, kLayerReinforcement, 2e7L, 0.3L, 35}});
  for (int withSlopes = 0; withSlopes < 2; ++withSlopes) {
    if (withSlopes) D[7][7] = 2;
    const IntegrandPoint p = MakeIntegrandPoint(-0.21L, 0.43L);
    Matrix20 Ka{}, K{};
    LocMatRectIntegrand(Ka, D, p, 0.05L, -0.07L);
    AddIntegrand(K, 0.3L, D, p, 0.05L, -0.07L);
    const auto B = StrainMatrix(p, 0.05L, -0.07L);
    for (std::size_t r = 1; r < 20; ++r) {
      if (r == 4) continue;
      for (std::size_t c = r; c < 20; ++c) {
        if (r <= 3 && c == 4) continue;
        EXPECT_EQ(K[r][c], 0.3L * Ka[r][c]) << r << "," << c;
        Extended f = 0;
        for (std::size_t k = 0; k < 8; ++k)
          for (std::size_t l = 0; l < 8; ++l) f += B[k][r] * D[k][l] * B[l][c];
        EXPECT_NEAR(static_cast<double>(Ka[r][c]), static_cast<double>(f), 1e-12 * (1 + std::fabs(static_cast<double>(f))));
      }
    }
  }
}

TEST(ShellIntegrand, CentreOfAFlatElement) {
  const SectionArray D = Section({{0.1L, 0, kLayerMonolith, kE, kNu, 0}});
  Matrix20 Ka{};
  LocMatRectIntegrand(Ka, D, MakeIntegrandPoint(0, 0), 0, 0);
  EXPECT_EQ(Ka[11][11], D[5][5]);
  EXPECT_EQ(Ka[12][12], 4 * D[3][3]);
  EXPECT_EQ(Ka[13][13], 4 * D[4][4]);
  EXPECT_EQ(Ka[12][13], 4 * D[3][4]);
  EXPECT_EQ(Ka[9][9], 0);
  EXPECT_EQ(Ka[1][1], D[0][0]);
  EXPECT_EQ(Ka[6][6], D[1][1]);
  for (std::size_t r : {1, 2, 3, 5, 6, 7})
    for (std::size_t c = 8; c < 20; ++c) EXPECT_EQ(Ka[r][c], 0) << r << "," << c;
}

TEST(ShellIntegrand, MatrixInterfaceChecksItsOperands) {
  TFloat2DMatrix Ka(20, 19), D(8, 8);
  EXPECT_THROW(LocMatRectIntegrand(Ka, D, 0, 0, 0, 0), EMatrixError);
  TFloat2DMatrix Ka2(20, 20), D2(7, 8);
  EXPECT_THROW(LocMatRectIntegrand(Ka2, D2, 0, 0, 0, 0), EMatrixError);
  D[0][0] = 2;
  LocMatRectIntegrand(Ka2, D, 0.5L, 0, 0, 0);
  EXPECT_EQ(Ka2[1][1], 2);
}

}  // namespace
}  // namespace tavir
