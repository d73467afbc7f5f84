#include "analysis/shell_integrand.h"

#include <cstdint>
#include <string>

namespace tavir {

namespace {

// The strains each column of B can reach (its nonzero rows), in increasing order.
// Columns 0 and 4 are rigid in-plane translations and reach none.
struct TColumnPattern {
  std::uint8_t Count;
  std::array<std::uint8_t, 6> Rows;
};

constexpr std::array<TColumnPattern, 20> kPattern = {{
    {0, {}},                  // 0: 1 (u)
    {1, {0}},                 // 1: x (u)
    {1, {2}},                 // 2: y (u)
    {2, {0, 2}},              // 3: xy (u)
    {0, {}},                  // 4: 1 (v)
    {1, {2}},                 // 5: x (v)
    {1, {1}},                 // 6: y (v)
    {2, {1, 2}},              // 7: xy (v)
    {2, {0, 1}},              // 8: 1 (w)
    {3, {0, 1, 6}},           // 9: x
    {3, {0, 1, 7}},           // 10: y
    {5, {0, 1, 5, 6, 7}},     // 11: xy
    {4, {0, 1, 3, 6}},        // 12: x²
    {4, {0, 1, 4, 7}},        // 13: y²
    {6, {0, 1, 3, 5, 6, 7}},  // 14: x²y
    {6, {0, 1, 4, 5, 6, 7}},  // 15: xy²
    {4, {0, 1, 3, 6}},        // 16: x³
    {4, {0, 1, 4, 7}},        // 17: y³
    {6, {0, 1, 3, 5, 6, 7}},  // 18: x³y
    {6, {0, 1, 4, 5, 6, 7}},  // 19: xy³
}};

// The values of B's nonzero entries, column by column in the order of kPattern.
using TColumnValues = std::array<std::array<Extended, 6>, 20>;

void ColumnValues(const TIntegrandPoint& p, Extended Kx, Extended Ky, TColumnValues& v) {
  const Extended x = p.x, x2 = p.x2, x3 = p.x3, y = p.y, y2 = p.y2, y3 = p.y3, xy = p.xy;
  v[1] = {1};
  v[2] = {1};
  v[3] = {y, x};
  v[5] = {1};
  v[6] = {1};
  v[7] = {x, y};
  // The w terms: the monomial m gives -Kx m and -Ky m in εx and εy.
  const Extended x2y = x2 * y, xy2 = x * y2, x3y = x3 * y, xy3 = x * y3;
  v[8] = {-Kx, -Ky};
  v[9] = {-Kx * x, -Ky * x, 1};
  v[10] = {-Kx * y, -Ky * y, 1};
  v[11] = {-Kx * xy, -Ky * xy, 1, y, x};
  v[12] = {-Kx * x2, -Ky * x2, 2, 2 * x};
  v[13] = {-Kx * y2, -Ky * y2, 2, 2 * y};
  v[14] = {-Kx * x2y, -Ky * x2y, 2 * y, 2 * x, 2 * xy, x2};
  v[15] = {-Kx * xy2, -Ky * xy2, 2 * x, 2 * y, y2, 2 * xy};
  v[16] = {-Kx * x3, -Ky * x3, 6 * x, 3 * x2};
  v[17] = {-Kx * y3, -Ky * y3, 6 * y, 3 * y2};
  v[18] = {-Kx * x3y, -Ky * x3y, 6 * xy, 3 * x2, 3 * x2y, x3};
  v[19] = {-Kx * xy3, -Ky * xy3, 6 * xy, 3 * y2, y3, 3 * xy2};
}

}  // namespace

TIntegrandPoint MakeIntegrandPoint(Extended x, Extended y) {
  TIntegrandPoint p;
  p.x = x;
  p.x2 = x * x;
  p.x3 = p.x2 * x;
  p.y = y;
  p.y2 = y * y;
  p.y3 = p.y2 * y;
  p.xy = x * y;
  return p;
}

void LocMatRectIntegrand(TMatrix20& Ka, const TSectionArray& D, const TIntegrandPoint& p, Extended Kx, Extended Ky) {
  TColumnValues v;
  ColumnValues(p, Kx, Ky, v);

  // DB = D·B, column by column over B's nonzero rows only.
  std::array<std::array<Extended, 20>, 8> DB;
  for (std::size_t c = 0; c < 20; ++c) {
    const TColumnPattern& pc = kPattern[c];
    for (std::size_t k = 0; k < 8; ++k) {
      Extended sum = 0;
      for (std::size_t n = 0; n < pc.Count; ++n) sum += D[k][pc.Rows[n]] * v[c][n];
      DB[k][c] = sum;
    }
  }

  // (Bᵀ·DB)[r][c] over row r's nonzero strains.
  auto cell = [&](std::size_t r, std::size_t c) {
    const TColumnPattern& pr = kPattern[r];
    Extended sum = 0;
    for (std::size_t n = 0; n < pr.Count; ++n) sum += v[r][n] * DB[pr.Rows[n]][c];
    return sum;
  };
  for (std::size_t r = 1; r <= 3; ++r)
    for (std::size_t c = r; c < 20; ++c)
      if (c != 4) Ka[r][c] = cell(r, c);
  for (std::size_t r = 6; r < 20; ++r)
    for (std::size_t c = r; c < 20; ++c) Ka[r][c] = cell(r, c);
  Ka[5] = Ka[2];
}

void LocMatRectIntegrand(TFloat2DMatrix& Ka, const TFloat2DMatrix& D, Extended x, Extended y, Extended Kx,
                         Extended Ky) {
  if (Ka.Rows() != 20 || Ka.Cols() != 20) {
    throw EMatrixError("Некорректно выбрана размерность массивов!\r\nРазмерность массива Ka: " +
                       std::to_string(Ka.Rows()) + "x" + std::to_string(Ka.Cols()));
  }
  const TSectionArray d = ToSectionArray(D);
  TMatrix20 ka;
  for (std::size_t r = 0; r < 20; ++r)
    for (std::size_t c = 0; c < 20; ++c) ka[r][c] = Ka[r][c];
  LocMatRectIntegrand(ka, d, MakeIntegrandPoint(x, y), Kx, Ky);
  for (std::size_t r = 0; r < 20; ++r)
    for (std::size_t c = 0; c < 20; ++c) Ka[r][c] = ka[r][c];
}

std::array<std::array<Extended, 20>, 8> StrainMatrix(const TIntegrandPoint& p, Extended Kx, Extended Ky) {
  TColumnValues v;
  ColumnValues(p, Kx, Ky, v);
  std::array<std::array<Extended, 20>, 8> B{};
  for (std::size_t c = 0; c < 20; ++c)
    for (std::size_t n = 0; n < kPattern[c].Count; ++n) B[kPattern[c].Rows[n]][c] = v[c][n];
  return B;
}

}  // namespace tavir
