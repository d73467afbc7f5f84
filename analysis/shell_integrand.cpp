#include "analysis/shell_integrand.h"

#include <cstdint>
#include <string>
#include <utility>

namespace tavir {

namespace {

// The strains each column of B can reach (its nonzero rows), in increasing order.
// Columns 0 and 4 are rigid in-plane translations and reach none.
struct ColumnPattern {
  std::uint8_t Count;
  std::array<std::uint8_t, 6> Rows;
};

constexpr std::array<ColumnPattern, 20> kPattern = {{
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
using ColumnValueTable = std::array<std::array<Extended, 6>, 20>;

void ColumnValues(const IntegrandPoint& p, Extended Kx, Extended Ky, ColumnValueTable& v) {
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

// The kernel, unrolled at compile time so that the cells are straight-line sums
// over B's nonzero entries only. Slopes = false leaves out the strains w,x and
// w,y, for a D whose rows and columns 6 and 7 are zero (every layer stack): the
// terms dropped are then exact zeros and every cell gets the same value.
template <bool Slopes>
struct Kernel {
  static constexpr std::size_t Strains = Slopes ? 8 : 6;

  // B's nonzero rows of column C that take part; rows 6 and 7 always come last.
  static constexpr std::size_t Count(std::size_t c) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < kPattern[c].Count; ++i)
      if (Slopes || kPattern[c].Rows[i] < 6) ++n;
    return n;
  }

  using DB = std::array<std::array<Extended, 20>, Strains>;

  template <std::size_t C, std::size_t K, std::size_t... N>
  static Extended DBEntry(const SectionArray& D, const ColumnValueTable& v, std::index_sequence<N...>) {
    Extended sum = 0;
    ((sum += D[K][kPattern[C].Rows[N]] * v[C][N]), ...);
    return sum;
  }

  template <std::size_t C, std::size_t... K>
  static void DBColumn(DB& db, const SectionArray& D, const ColumnValueTable& v, std::index_sequence<K...>) {
    ((db[K][C] = DBEntry<C, K>(D, v, std::make_index_sequence<Count(C)>{})), ...);
  }

  template <std::size_t... C>
  static void DBAll(DB& db, const SectionArray& D, const ColumnValueTable& v, std::index_sequence<C...>) {
    (DBColumn<C>(db, D, v, std::make_index_sequence<Strains>{}), ...);
  }

  template <std::size_t R, std::size_t... N>
  static Extended Cell(const DB& db, const ColumnValueTable& v, std::size_t c, std::index_sequence<N...>) {
    Extended sum = 0;
    ((sum += v[R][N] * db[kPattern[R].Rows[N]][c]), ...);
    return sum;
  }

  // Row R, columns R..19 (4 left out in rows 1-3), handed to the sink.
  template <std::size_t R, class Sink>
  static void Row(const DB& db, const ColumnValueTable& v, Sink&& sink) {
    for (std::size_t c = R; c < 20; ++c) {
      if (R <= 3 && c == 4) continue;
      sink(R, c, Cell<R>(db, v, c, std::make_index_sequence<Count(R)>{}));
    }
  }

  template <class Sink, std::size_t... R>
  static void Rows(const DB& db, const ColumnValueTable& v, Sink&& sink, std::index_sequence<R...>) {
    (Row<R + 6>(db, v, sink), ...);
  }

  template <class Sink>
  static void Run(const SectionArray& D, const IntegrandPoint& p, Extended Kx, Extended Ky, Sink&& sink) {
    ColumnValueTable v;
    ColumnValues(p, Kx, Ky, v);
    DB db;
    DBAll(db, D, v, std::make_index_sequence<20>{});
    Row<1>(db, v, sink);
    Row<2>(db, v, sink);
    Row<3>(db, v, sink);
    Rows(db, v, sink, std::make_index_sequence<14>{});
  }
};

bool SlopesTakePart(const SectionArray& D) {
  for (std::size_t i = 0; i < 8; ++i)
    if (D[6][i] != 0 || D[7][i] != 0 || D[i][6] != 0 || D[i][7] != 0) return true;
  return false;
}

template <class Sink>
void RunKernel(const SectionArray& D, const IntegrandPoint& p, Extended Kx, Extended Ky, Sink&& sink) {
  if (SlopesTakePart(D))
    Kernel<true>::Run(D, p, Kx, Ky, sink);
  else
    Kernel<false>::Run(D, p, Kx, Ky, sink);
}

}  // namespace

IntegrandPoint MakeIntegrandPoint(Extended x, Extended y) {
  IntegrandPoint p;
  p.x = x;
  p.x2 = x * x;
  p.x3 = p.x2 * x;
  p.y = y;
  p.y2 = y * y;
  p.y3 = p.y2 * y;
  p.xy = x * y;
  return p;
}

void LocMatRectIntegrand(Matrix20& Ka, const SectionArray& D, const IntegrandPoint& p, Extended Kx, Extended Ky) {
  RunKernel(D, p, Kx, Ky, [&Ka](std::size_t r, std::size_t c, Extended value) { Ka[r][c] = value; });
  Ka[5] = Ka[2];
}

void AddIntegrand(Matrix20& K, Extended weight, const SectionArray& D, const IntegrandPoint& p, Extended Kx,
                  Extended Ky) {
  RunKernel(D, p, Kx, Ky, [&K, weight](std::size_t r, std::size_t c, Extended value) {
    K[r][c] += weight * value;
    if (r == 2 && c >= 5) K[5][c] += weight * value;  // row 5 of the integrand is row 2
  });
}

void LocMatRectIntegrand(TFloat2DMatrix& Ka, const TFloat2DMatrix& D, Extended x, Extended y, Extended Kx,
                         Extended Ky) {
  if (Ka.Rows() != 20 || Ka.Cols() != 20) {
    throw EMatrixError("Некорректно выбрана размерность массивов!\r\nРазмерность массива Ka: " +
                       std::to_string(Ka.Rows()) + "x" + std::to_string(Ka.Cols()));
  }
  const SectionArray d = ToSectionArray(D);
  Matrix20 ka;
  for (std::size_t r = 0; r < 20; ++r)
    for (std::size_t c = 0; c < 20; ++c) ka[r][c] = Ka[r][c];
  LocMatRectIntegrand(ka, d, MakeIntegrandPoint(x, y), Kx, Ky);
  for (std::size_t r = 0; r < 20; ++r)
    for (std::size_t c = 0; c < 20; ++c) Ka[r][c] = ka[r][c];
}

std::array<std::array<Extended, 20>, 8> StrainMatrix(const IntegrandPoint& p, Extended Kx, Extended Ky) {
  ColumnValueTable v;
  ColumnValues(p, Kx, Ky, v);
  std::array<std::array<Extended, 20>, 8> B{};
  for (std::size_t c = 0; c < 20; ++c)
    for (std::size_t n = 0; n < kPattern[c].Count; ++n) B[kPattern[c].Rows[n]][c] = v[c][n];
  return B;
}

}  // namespace tavir
