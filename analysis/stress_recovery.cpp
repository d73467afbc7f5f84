#include "analysis/stress_recovery.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

namespace tavir {

TShellStrainField ShellStrainField(Extended a, Extended b, Extended Kx, Extended Ky,
                                   const std::array<Extended, 20>& values) {
  const double da = static_cast<double>(a);
  const double de = static_cast<double>(b / da);
  const double db = da * de;
  std::array<double, 20> q;
  for (std::size_t i = 0; i < 20; ++i) q[i] = static_cast<double>(values[i]);
  const Extended ea = da, eb = db;
  const Extended u0 = q[0], u1 = q[1], u2 = q[2], u3 = q[3];
  const Extended v0 = q[4], v1 = q[5], v2 = q[6], v3 = q[7];
  const Extended w0 = q[8], w1 = q[9], w2 = q[10], w3 = q[11];
  const Extended t0 = q[12], t1 = q[13], t2 = q[14], t3 = q[15];  // ∂w/∂y
  const Extended p0 = q[16], p1 = q[17], p2 = q[18], p3 = q[19];  // ∂w/∂x

  TShellStrainField f;
  const Extended wc = (w0 + w1 + w2 + w3) / 4 + eb * (t0 - t1 - t2 + t3) / 16 + ea * (p0 + p1 - p2 - p3) / 16;
  f.CentreDeflection = wc;
  f.Membrane[0] = (u2 + u3 - u0 - u1) / (2 * ea) - Kx * wc;
  f.Bending[0] = (p0 + p1 - p2 - p3) / (2 * ea);
  f.Membrane[1] = (v1 + v2 - v0 - v3) / (2 * eb) - Ky * wc;
  f.Bending[1] = (t0 - t1 - t2 + t3) / (2 * eb);
  f.Membrane[2] = (u1 + u2 - u0 - u3) / (2 * eb) + (v2 + v3 - v0 - v1) / (2 * ea);
  f.Bending[2] = 4 * (w1 + w3 - w0 - w2) / (ea * eb) + (t2 + t3 - t0 - t1) / (2 * ea) + (p1 + p2 - p0 - p3) / (2 * eb);
  return f;
}

std::array<TFibreResult, kFibreCount> LayerFibres(const TShellStrainField& field, Extended thickness, Extended z,
                                                  const TLayerQ& Q) {
  const std::array<double, kFibreCount> heights = {static_cast<double>(z - thickness / 2), static_cast<double>(z),
                                                   static_cast<double>(z + thickness / 2)};
  std::array<TFibreResult, kFibreCount> out;
  for (int f = 0; f < kFibreCount; ++f) {
    const Extended h = heights[f];
    TFibreResult& r = out[f];
    for (std::size_t i = 0; i < 3; ++i) r.Strain[i] = field.Membrane[i] + h * field.Bending[i];
    for (std::size_t i = 0; i < 3; ++i) r.Stress[i] = Q[i][0] * r.Strain[0] + Q[i][1] * r.Strain[1] + Q[i][2] * r.Strain[2];
  }
  return out;
}

DoubleRounding RoundingToDouble(const std::array<Extended, 20>& q) {
  Extended largest = 0;
  for (const Extended v : q) {
    if (!std::isfinite(v) || std::fabs(v) > static_cast<Extended>(DBL_MAX)) return DoubleRounding::Overflow;
    largest = std::max(largest, std::fabs(v));
  }
  if (largest > 0 && largest < static_cast<Extended>(DBL_MIN)) return DoubleRounding::Vanish;
  return DoubleRounding::Kept;
}

bool RecoveredValueUsable(Extended value) {
  return std::isfinite(value) && std::fabs(value) <= static_cast<Extended>(DBL_MAX);
}

void GatherShellValues(const TFloatVector& vector, const std::array<std::int32_t, 4>& knotNumbers,
                       std::array<Extended, 20>& q) {
  for (std::int32_t number : knotNumbers) {
    if (number < 0 || static_cast<std::size_t>(number) * 5 + 4 >= vector.size()) {
      throw EMatrixError("Номер узла " + std::to_string(number) + " не соответствует размерности вектора " +
                         "перемещений: " + std::to_string(vector.size()));
    }
  }
  for (std::size_t n = 0; n < 4; ++n)
    for (std::size_t dof = 0; dof < 5; ++dof)
      q[dof * 4 + n] = vector[static_cast<std::size_t>(knotNumbers[n]) * 5 + dof];
}

}  // namespace tavir
