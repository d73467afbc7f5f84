#pragma once
// A square flat plate of N × N shell elements built on plain data: knots numbered
// row by row (number = iy × (N + 1) + ix), one monolith layer, the element matrix
// of the shell, supports along the edges, a uniform or a central point load.
#include <array>
#include <cstdint>
#include <vector>

#include "analysis/band_matrix.h"
#include "analysis/band_solver.h"
#include "analysis/band_system.h"
#include "analysis/section_stiffness.h"
#include "analysis/shell_stiffness.h"

namespace tavir::test {

enum class Edge { Simple, Clamped };
enum class Load { Uniform, CentralPoint };

struct PlateMesh {
  int N = 0;
  Extended L = 1;
  Extended Thickness = 0.1L;
  Extended Mu = 0.3L;
  // E chosen so that the flexural rigidity E t³ / (12 (1 - ν²)) is 1.
  Extended E() const { return 12 * (1 - Mu * Mu) / (Thickness * Thickness * Thickness); }
  Extended Rigidity() const { return E() * Thickness * Thickness * Thickness / (12 * (1 - Mu * Mu)); }

  std::int64_t Knot(int ix, int iy) const { return static_cast<std::int64_t>(iy) * (N + 1) + ix; }
  std::size_t Equations() const { return static_cast<std::size_t>((N + 1) * (N + 1) * kKnotFreedoms); }

  std::vector<TElementKnotNumbers> Elements() const {
    std::vector<TElementKnotNumbers> e;
    for (int iy = 0; iy < N; ++iy)
      for (int ix = 0; ix < N; ++ix) e.push_back({Knot(ix, iy), Knot(ix, iy + 1), Knot(ix + 1, iy + 1), Knot(ix + 1, iy)});
    return e;
  }

  std::size_t BandWidth() const {
    std::int64_t span = 0;
    for (const auto& e : Elements()) span = std::max(span, KnotNumberSpan(e));
    return static_cast<std::size_t>(BandWidthOfSpan(span));
  }

  TMatrix20 ElementMatrix() const {
    TLayerInput layer;
    layer.Thickness = Thickness;
    layer.E = E();
    layer.Mu = Mu;
    const std::array<TLayerInput, 1> layers{layer};
    const std::array<TLayerElastic, 1> elastic{LayerElastic(layer)};
    TSectionArray D{};
    SectionMatrix(layers, elastic, D);
    TMatrix20 ke{}, t{};
    const Extended h = L / N;
    ShellStiffness(h, h, 0, 0, D, ke, t);
    return ke;
  }

  // Assembles, loads and supports the system in K (allocated here) and F.
  void Build(Edge edge, Load load, TBandMatrix& K, std::vector<Extended>& F) const {
    K.Allocate(Equations(), BandWidth());
    F.assign(Equations(), 0);
    const TMatrix20 ke = ElementMatrix();
    const Extended h = L / N;
    for (const auto& e : Elements()) AddToSystem(e, ke, K);
    if (load == Load::Uniform) {
      TForceRecord q;
      q.Pz = 1;
      for (const auto& e : Elements()) AddDispForce(e, true, h, h, 2, 2, q, F);
    } else {
      TForceRecord p;
      p.Pz = 1;
      AddConcForce(Knot(N / 2, N / 2), p, F);
    }
    // Restraints 1..5 are u, v, w, the slope along Y and the slope along X. The
    // membrane is held on the whole boundary (it does not couple with bending in
    // a flat plate). A simple support holds w and the slope along the edge, a
    // clamped edge both slopes.
    for (int iy = 0; iy <= N; ++iy) {
      for (int ix = 0; ix <= N; ++ix) {
        const bool xEdge = ix == 0 || ix == N;  // edge along Y
        const bool yEdge = iy == 0 || iy == N;  // edge along X
        if (!xEdge && !yEdge) continue;
        TFixation fix{1, 1, 1, 0, 0, 0};
        if (edge == Edge::Clamped) {
          fix[3] = fix[4] = 1;
        } else {
          if (xEdge) fix[3] = 1;  // ∂w/∂y along x = const
          if (yEdge) fix[4] = 1;  // ∂w/∂x along y = const
        }
        ApplySupport(Knot(ix, iy), fix, K, F);
      }
    }
  }

  // w at the centre, scaled: w·D/(q·L⁴) for the uniform load, w·D/(P·L²) for the
  // point load.
  Extended CentreCoefficient(Edge edge, Load load) const {
    TBandMatrix K;
    std::vector<Extended> F;
    Build(edge, load, K, F);
    SolveBand(K, F);
    const Extended w = F[static_cast<std::size_t>(Knot(N / 2, N / 2) * kKnotFreedoms + 2)];
    return w * Rigidity() / (load == Load::Uniform ? L * L * L * L : L * L);
  }
};

}  // namespace tavir::test
