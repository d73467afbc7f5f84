#include "analysis/shell_stiffness.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace tavir {

const std::array<Extended, 4> GaussAbscissae = {-0.861136311594053L, -0.339981043584856L, 0.339981043584856L,
                                                0.861136311594053L};
const std::array<Extended, 4> GaussWeights = {0.347854845137454L, 0.652145154862546L, 0.652145154862546L,
                                              0.347854845137454L};

void ShellTransform(Extended a, Extended b, Matrix20& T) {
  for (auto& row : T) row.fill(0);
  // Every entry is a dyadic constant times a power product of a and b; the
  // products are written in a and the side ratio e (b = a e) as divisions.
  const Extended e = b / a;
  const Extended bb = a * e;
  const Extended ie = 1 / e;
  const Extended ia = 1 / a;
  const Extended ib = 1 / a / e;
  const Extended iab = 1 / a / a / e;
  const Extended ia2 = 1 / a / a;
  const Extended ib2 = 1 / a / a / e / e;
  const Extended ia3 = 1 / a / a / a;
  const Extended ib3 = 1 / a / a / a / e / e / e;
  const Extended ia2b = 1 / a / a / a / e;
  const Extended iab2 = 1 / a / a / a / e / e;
  const Extended ia3b = 1 / a / a / a / a / e;
  const Extended iab3 = 1 / a / a / a / a / e / e / e;

  // u (rows 0-3) and v (rows 4-7): bilinear in the four corner values.
  for (std::size_t off : {std::size_t{0}, std::size_t{4}}) {
    for (std::size_t k = 0; k < 4; ++k) T[off + 0][off + k] = 0.25L;
    T[off + 1][off + 0] = -0.5L * ia;
    T[off + 1][off + 1] = -0.5L * ia;
    T[off + 1][off + 2] = 0.5L * ia;
    T[off + 1][off + 3] = 0.5L * ia;
    T[off + 2][off + 0] = -0.5L * ib;
    T[off + 2][off + 1] = 0.5L * ib;
    T[off + 2][off + 2] = 0.5L * ib;
    T[off + 2][off + 3] = -0.5L * ib;
    T[off + 3][off + 0] = iab;
    T[off + 3][off + 1] = -iab;
    T[off + 3][off + 2] = iab;
    T[off + 3][off + 3] = -iab;
  }

  // w (rows and columns 8-19): the inverse of the Hermite-type interpolation of w
  // and its two slopes at the corners.
  T[8][8] = 0.25L;
  T[8][9] = 0.25L;
  T[8][10] = 0.25L;
  T[8][11] = 0.25L;
  T[8][12] = 0.0625L * bb;
  T[8][13] = -0.0625L * bb;
  T[8][14] = -0.0625L * bb;
  T[8][15] = 0.0625L * bb;
  T[8][16] = 0.0625L * a;
  T[8][17] = 0.0625L * a;
  T[8][18] = -0.0625L * a;
  T[8][19] = -0.0625L * a;
  T[9][8] = -0.75L * ia;
  T[9][9] = -0.75L * ia;
  T[9][10] = 0.75L * ia;
  T[9][11] = 0.75L * ia;
  T[9][12] = -0.125L * e;
  T[9][13] = 0.125L * e;
  T[9][14] = -0.125L * e;
  T[9][15] = 0.125L * e;
  T[9][16] = -0.125L;
  T[9][17] = -0.125L;
  T[9][18] = -0.125L;
  T[9][19] = -0.125L;
  T[10][8] = -0.75L * ib;
  T[10][9] = 0.75L * ib;
  T[10][10] = 0.75L * ib;
  T[10][11] = -0.75L * ib;
  T[10][12] = -0.125L;
  T[10][13] = -0.125L;
  T[10][14] = -0.125L;
  T[10][15] = -0.125L;
  T[10][16] = -0.125L * ie;
  T[10][17] = 0.125L * ie;
  T[10][18] = -0.125L * ie;
  T[10][19] = 0.125L * ie;
  T[11][8] = 2.0L * iab;
  T[11][9] = -2.0L * iab;
  T[11][10] = 2.0L * iab;
  T[11][11] = -2.0L * iab;
  T[11][12] = 0.25L * ia;
  T[11][13] = 0.25L * ia;
  T[11][14] = -0.25L * ia;
  T[11][15] = -0.25L * ia;
  T[11][16] = 0.25L * ib;
  T[11][17] = -0.25L * ib;
  T[11][18] = -0.25L * ib;
  T[11][19] = 0.25L * ib;
  T[12][16] = -0.25L * ia;
  T[12][17] = -0.25L * ia;
  T[12][18] = 0.25L * ia;
  T[12][19] = 0.25L * ia;
  T[13][12] = -0.25L * ib;
  T[13][13] = 0.25L * ib;
  T[13][14] = 0.25L * ib;
  T[13][15] = -0.25L * ib;
  T[14][16] = 0.5L * iab;
  T[14][17] = -0.5L * iab;
  T[14][18] = 0.5L * iab;
  T[14][19] = -0.5L * iab;
  T[15][12] = 0.5L * iab;
  T[15][13] = -0.5L * iab;
  T[15][14] = 0.5L * iab;
  T[15][15] = -0.5L * iab;
  T[16][8] = ia3;
  T[16][9] = ia3;
  T[16][10] = -ia3;
  T[16][11] = -ia3;
  T[16][16] = 0.5L * ia2;
  T[16][17] = 0.5L * ia2;
  T[16][18] = 0.5L * ia2;
  T[16][19] = 0.5L * ia2;
  T[17][8] = ib3;
  T[17][9] = -ib3;
  T[17][10] = -ib3;
  T[17][11] = ib3;
  T[17][12] = 0.5L * ib2;
  T[17][13] = 0.5L * ib2;
  T[17][14] = 0.5L * ib2;
  T[17][15] = 0.5L * ib2;
  T[18][8] = -2.0L * ia3b;
  T[18][9] = 2.0L * ia3b;
  T[18][10] = -2.0L * ia3b;
  T[18][11] = 2.0L * ia3b;
  T[18][16] = -ia2b;
  T[18][17] = ia2b;
  T[18][18] = ia2b;
  T[18][19] = -ia2b;
  T[19][8] = -2.0L * iab3;
  T[19][9] = 2.0L * iab3;
  T[19][10] = -2.0L * iab3;
  T[19][11] = 2.0L * iab3;
  T[19][12] = -iab2;
  T[19][13] = -iab2;
  T[19][14] = iab2;
  T[19][15] = iab2;
}

void ShellInterpolation(Extended a, Extended b, Matrix20& C) {
  for (auto& row : C) row.fill(0);
  const Extended e = b / a;
  const std::array<Extended, 4> kx = {-a / 2, -a / 2, a / 2, a / 2};
  const std::array<Extended, 4> ky = {-a * e / 2, a * e / 2, a * e / 2, -a * e / 2};
  for (std::size_t k = 0; k < 4; ++k) {
    const Extended x = kx[k], y = ky[k];
    const std::array<Extended, 4> bil = {1, x, y, x * y};
    for (std::size_t j = 0; j < 4; ++j) {
      C[k][j] = bil[j];
      C[4 + k][4 + j] = bil[j];
    }
    const std::array<Extended, 12> w = {1, x, y, x * y, x * x, y * y, x * x * y, x * y * y, x * x * x, y * y * y,
                                        x * x * x * y, x * y * y * y};
    const std::array<Extended, 12> wy = {0, 0, 1, x, 0, 2 * y, x * x, 2 * x * y, 0, 3 * y * y, x * x * x, 3 * x * y * y};
    const std::array<Extended, 12> wx = {0, 1, 0, y, 2 * x, 0, 2 * x * y, y * y, 3 * x * x, 0, 3 * x * x * y, y * y * y};
    for (std::size_t j = 0; j < 12; ++j) {
      C[8 + k][8 + j] = w[j];
      C[12 + k][8 + j] = wy[j];
      C[16 + k][8 + j] = wx[j];
    }
  }
}

namespace {

// The rows k where column j of T can be nonzero, in increasing order. T is block
// diagonal (u: 0-3, v: 4-7, w: 8-19) and every column of its w block has eight
// nonzero entries. The products below take only these terms: the ones left out
// are exact zeros, so every entry is the sum the full product would form, term
// for term in the same order.
struct ColumnRows {
  std::uint8_t Count;
  std::array<std::uint8_t, 8> Rows;
};

constexpr std::array<ColumnRows, 20> MakeTransformPattern() {
  std::array<ColumnRows, 20> p{};
  for (std::size_t j = 0; j < 8; ++j) {
    const std::uint8_t b = j < 4 ? 0 : 4;
    p[j] = {4, {b, static_cast<std::uint8_t>(b + 1), static_cast<std::uint8_t>(b + 2), static_cast<std::uint8_t>(b + 3)}};
  }
  for (std::size_t j = 8; j < 20; ++j) {
    if (j < 12) p[j] = {8, {8, 9, 10, 11, 16, 17, 18, 19}};
    else if (j < 16) p[j] = {8, {8, 9, 10, 11, 13, 15, 17, 19}};
    else p[j] = {8, {8, 9, 10, 11, 12, 14, 16, 18}};
  }
  return p;
}

constexpr std::array<ColumnRows, 20> kTransformPattern = MakeTransformPattern();

}  // namespace

void ShellGeneralizedStiffness(Extended a, Extended b, Extended Kx, Extended Ky, const SectionArray& D, Matrix20& K) {
  const Extended e = b / a;
  for (auto& row : K) row.fill(0);
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = 0; j < 4; ++j) {
      const Extended x = GaussAbscissae[i] * a / 2;
      const Extended y = GaussAbscissae[j] * a * e / 2;
      const Extended w = GaussWeights[i] * GaussWeights[j];
      AddIntegrand(K, w, D, MakeIntegrandPoint(x, y), Kx, Ky);
    }
  }
  const Extended s = a * a * e / 4;
  for (std::size_t r = 1; r < 20; ++r) {
    if (r == 4) continue;
    for (std::size_t c = r; c < 20; ++c) K[r][c] *= s;
  }
  for (std::size_t r = 19; r >= 1; --r)
    for (std::size_t c = r; c-- > 0;) K[r][c] = K[c][r];
}

void ShellStiffness(Extended a, Extended b, Extended Kx, Extended Ky, const SectionArray& D, Matrix20& stiffness,
                    Matrix20& transform) {
  ShellTransform(a, b, transform);
  Matrix20 K;
  ShellGeneralizedStiffness(a, b, Kx, Ky, D, K);

  // P = K·T, then Tᵀ·P.
  const Matrix20& T = transform;
  Matrix20 P;
  for (std::size_t i = 0; i < 20; ++i) {
    for (std::size_t j = 0; j < 20; ++j) {
      Extended sum = 0;
      const ColumnRows& rows = kTransformPattern[j];
      for (std::size_t n = 0; n < rows.Count; ++n) sum += K[i][rows.Rows[n]] * T[rows.Rows[n]][j];
      P[i][j] = sum;
    }
  }
  for (std::size_t i = 0; i < 20; ++i) {
    for (std::size_t j = 0; j < 20; ++j) {
      Extended sum = 0;
      const ColumnRows& rows = kTransformPattern[i];
      for (std::size_t n = 0; n < rows.Count; ++n) sum += T[rows.Rows[n]][i] * P[rows.Rows[n]][j];
      stiffness[i][j] = sum;
    }
  }
}

void CopyInto(const Matrix20& m, TFloat2DMatrix& out) {
  if (out.Rows() != 20 || out.Cols() != 20) out.Resize(20, 20);
  // A byte copy: the values are moved as they are, without passing through the FPU.
  for (std::size_t i = 0; i < 20; ++i) std::memcpy(out[i], m[i].data(), sizeof(Extended) * 20);
}

TFloat2DMatrix ToMatrix(const Matrix20& m) {
  TFloat2DMatrix r;
  CopyInto(m, r);
  return r;
}

void ShellStiffness(Extended a, Extended b, Extended Kx, Extended Ky, const TFloat2DMatrix& D,
                    TFloat2DMatrix& stiffness, TFloat2DMatrix& transform) {
  const SectionArray d = ToSectionArray(D);
  Matrix20 k, t;
  ShellStiffness(a, b, Kx, Ky, d, k, t);
  CopyInto(k, stiffness);
  CopyInto(t, transform);
}

}  // namespace tavir
