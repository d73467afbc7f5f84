#include "analysis/section_stiffness.h"

#include <cmath>
#include <string>

namespace tavir {

namespace {
constexpr Extended kPi = 3.14159265358979324L;
}

LayerModuli LayerElastic(const LayerInput& layer) {
  LayerModuli r;
  const Extended E = layer.E, nu = layer.Mu;
  const Extended K = (E / 3) / (1 - 2 * nu);
  const Extended G = (E / 2) / (nu + 1);
  r.K = K;
  r.G = G;
  if (layer.TypeLayer == kLayerMonolith) {
    const Extended d = 3 * K + 4 * G;
    r.Q[0][0] = r.Q[1][1] = 4 * G * (3 * K + G) / d;
    r.Q[0][1] = r.Q[1][0] = 2 * G * (3 * K - 2 * G) / d;
    r.Q[2][2] = G;
  } else if (layer.TypeLayer == kLayerReinforcement) {
    // The angle's cosine and sine and the rod modulus are kept in double
    // precision, as the values the layer was always computed with.
    const Extended rad = layer.Fi * kPi / 180;
    const double c = static_cast<double>(std::cos(rad));
    const double s = static_cast<double>(std::sin(rad));
    const Extended cl = c, sl = s;
    LayerQMatrix& q = r.Q;
    q[0][0] = (cl * cl) * (cl * cl);
    q[0][1] = (sl * sl) * (cl * cl);
    q[0][2] = (cl * cl) * cl * sl;
    q[1][1] = (sl * sl) * (sl * sl);
    q[1][2] = (sl * sl) * cl * sl;
    q[2][2] = q[0][1];
    q[1][0] = q[0][1];
    q[2][0] = q[0][2];
    q[2][1] = q[1][2];
    const Extended er = static_cast<double>((9 * K * G) / (3 * K + G));
    for (auto& row : q)
      for (auto& v : row) v *= er;
  }
  return r;
}

void SectionMatrix(std::span<const LayerInput> layers, std::span<const LayerModuli> elastic, SectionArray& D) {
  if (layers.size() != elastic.size()) throw EMatrixError("Число слоёв не совпадает с числом матриц слоёв");
  for (auto& row : D) row.fill(0);
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const Extended t = layers[i].Thickness, e = layers[i].Z;
    const LayerQMatrix& Q = elastic[i].Q;
    const Extended zt = t / 2 + e, zb = e - t / 2;
    const Extended I = (zt * zt * zt - zb * zb * zb) / 3;
    if (e != 0) {
      D[0][3] -= Q[0][0] * e * t;
      D[0][4] -= Q[0][1] * e * t;
      D[0][5] -= 2 * Q[0][2] * e * t;
      D[1][3] -= Q[0][1] * e * t;
      D[1][4] -= Q[1][1] * e * t;
      D[1][5] -= 2 * Q[1][2] * e * t;
      D[2][3] -= Q[0][2] * e * t;
      D[2][4] -= Q[1][2] * e * t;
      D[2][5] -= 2 * Q[2][2] * e * t;
    }
    D[0][0] += Q[0][0] * t;
    D[0][1] += Q[0][1] * t;
    D[0][2] += Q[0][2] * t;
    D[1][1] += Q[1][1] * t;
    D[1][2] += Q[1][2] * t;
    D[2][2] += Q[2][2] * t;
    D[3][3] += Q[0][0] * I;
    D[3][4] += Q[0][1] * I;
    D[3][5] += 2 * Q[0][2] * I;
    D[4][4] += Q[1][1] * I;
    D[4][5] += 2 * Q[1][2] * I;
    D[5][5] += 4 * Q[2][2] * I;
  }
  for (std::size_t r = 1; r < 8; ++r)
    for (std::size_t c = 0; c < r; ++c) D[r][c] = D[c][r];
}

TFloat2DMatrix SectionMatrix(std::span<const LayerInput> layers) {
  std::vector<LayerModuli> elastic;
  elastic.reserve(layers.size());
  for (const LayerInput& l : layers) elastic.push_back(LayerElastic(l));
  SectionArray D;
  SectionMatrix(layers, elastic, D);
  return ToMatrix(D);
}

TFloat2DMatrix ToMatrix(const SectionArray& D) {
  TFloat2DMatrix m(8, 8);
  for (std::size_t r = 0; r < 8; ++r)
    for (std::size_t c = 0; c < 8; ++c) m[r][c] = D[r][c];
  return m;
}

SectionArray ToSectionArray(const TFloat2DMatrix& D) {
  if (D.Rows() != 8 || D.Cols() != 8) {
    throw EMatrixError("Некорректно выбрана размерность массивов!\r\nРазмерность массива D: " +
                       std::to_string(D.Rows()) + "x" + std::to_string(D.Cols()));
  }
  SectionArray a;
  for (std::size_t r = 0; r < 8; ++r)
    for (std::size_t c = 0; c < 8; ++c) a[r][c] = D[r][c];
  return a;
}

}  // namespace tavir
