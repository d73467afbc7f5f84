#pragma once
// The element matrix the band benchmarks assemble. Until the shell element is in
// the tree this is a fixed symmetric positive definite 20×20 matrix (Bᵀ·B + I of
// a seeded random B): the same band pattern and the same work for the solver.
#include <array>
#include <random>

#include "platform/extended.h"

namespace tavir {

using TBenchElementMatrix = std::array<std::array<Extended, 20>, 20>;

inline TBenchElementMatrix BenchElementMatrix(Extended a, Extended b) {
  std::mt19937 rng(20);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::array<std::array<Extended, 20>, 20> m{};
  for (auto& row : m)
    for (auto& v : row) v = u(rng) * a * b;
  TBenchElementMatrix k{};
  for (int i = 0; i < 20; ++i)
    for (int j = 0; j < 20; ++j) {
      Extended s = i == j ? a * b : 0;
      for (int l = 0; l < 20; ++l) s += m[l][i] * m[l][j];
      k[i][j] = s;
    }
  return k;
}

}  // namespace tavir
