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

// The element matrix of an a × b shell of one monolith layer (curvatures Kx, Ky).
inline Matrix20 MonolithElementMatrix(Extended thickness, Extended E, Extended mu, Extended a, Extended b,
                                       Extended kx, Extended ky) {
  LayerInput layer;
  layer.Thickness = thickness;
  layer.E = E;
  layer.Mu = mu;
  const std::array<LayerInput, 1> layers{layer};
  const std::array<LayerModuli, 1> elastic{LayerElastic(layer)};
  SectionArray D{};
  SectionMatrix(layers, elastic, D);
  Matrix20 ke{}, t{};
  ShellStiffness(a, b, kx, ky, D, ke, t);
  return ke;
}

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

  std::vector<ElementKnotNumberArray> Elements() const {
    std::vector<ElementKnotNumberArray> e;
    for (int iy = 0; iy < N; ++iy)
      for (int ix = 0; ix < N; ++ix) e.push_back({Knot(ix, iy), Knot(ix, iy + 1), Knot(ix + 1, iy + 1), Knot(ix + 1, iy)});
    return e;
  }

  std::size_t BandWidth() const {
    std::int64_t span = 0;
    for (const auto& e : Elements()) span = std::max(span, KnotNumberSpan(e));
    return static_cast<std::size_t>(BandWidthOfSpan(span));
  }

  Matrix20 ElementMatrix() const { return MonolithElementMatrix(Thickness, E(), Mu, L / N, L / N, 0, 0); }

  // Assembles, loads and supports the system in K (allocated here) and F.
  void Build(Edge edge, Load load, BandMatrix& K, std::vector<Extended>& F) const {
    K.Allocate(Equations(), BandWidth());
    F.assign(Equations(), 0);
    const Matrix20 ke = ElementMatrix();
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
    BandMatrix K;
    std::vector<Extended> F;
    Build(edge, load, K, F);
    SolveBand(K, F);
    const Extended w = F[static_cast<std::size_t>(Knot(N / 2, N / 2) * kKnotFreedoms + 2)];
    return w * Rigidity() / (load == Load::Uniform ? L * L * L * L : L * L);
  }
};

}  // namespace tavir::test

// ---- the same plate built from the analysis program's model classes -----------------

#include <memory>

#include "analysis/result_objects.h"
#include "model/knots.h"
#include "model/materials.h"

namespace tavir::test {

struct PlateModel {
  std::shared_ptr<TPhisPropRodNL> Material = std::make_shared<TPhisPropRodNL>();
  std::vector<std::unique_ptr<TResultKnot>> Knots;
  std::vector<std::unique_ptr<TMLEditorElement>> Elements;
  std::vector<std::unique_ptr<TEditorSupport>> Supports;
  std::vector<std::unique_ptr<TEditorConcentrateForce>> ConcForces;
  std::vector<std::unique_ptr<TEditorDispersionForce>> DispForces;

  TResultKnot* AddKnot(Extended x, Extended y) {
    auto k = std::make_unique<TResultKnot>();
    k->X = x;
    k->Y = y;
    k->Number = static_cast<std::int32_t>(Knots.size());
    Knots.push_back(std::move(k));
    return Knots.back().get();
  }
  TMLResultShell* AddShell(TResultKnot* k0, TResultKnot* k1, TResultKnot* k2, TResultKnot* k3, Extended t) {
    auto s = std::make_unique<TMLResultShell>(ElementType::Rectangle, Material);
    s->Knots = {k0, k1, k2, k3};
    s->Layers.Layer(0)->SetThickness(t);
    TMLResultShell* p = s.get();
    Elements.push_back(std::move(s));
    return p;
  }
  void AddSupport(TResultKnot* knot, const TFixation& fix) {
    auto s = std::make_unique<TEditorSupport>();
    s->Knot = knot;
    s->Fixation = fix;
    Supports.push_back(std::move(s));
  }

  // Computes the element matrices and builds the system in list order: shells,
  // concentrated loads, distributed loads, supports.
  void Build(BandMatrix& K, std::vector<Extended>& F) const {
    K.Allocate(Knots.size() * kKnotFreedoms, static_cast<std::size_t>(BandWidth(Elements)));
    F.assign(Knots.size() * kKnotFreedoms, 0);
    for (const auto& e : Elements) {
      if (auto* shell = dynamic_cast<TMLResultShell*>(e.get())) {
        shell->CalcStiffness();
        AddToSystem(*shell, K);
      }
    }
    for (const auto& f : ConcForces) AddConcForce(*f, F);
    for (const auto& f : DispForces) AddDispForce(*f, F);
    for (const auto& s : Supports) ApplySupport(*s, K, F);
  }
};

// The plate of PlateMesh as model items: the same numbering, edges and loads.
inline PlateModel MakePlateModel(const PlateMesh& mesh, Edge edge, Load load) {
  PlateModel m;
  m.Material->E = mesh.E();
  m.Material->mu = mesh.Mu;
  const int N = mesh.N;
  const Extended h = mesh.L / N;
  for (int iy = 0; iy <= N; ++iy)
    for (int ix = 0; ix <= N; ++ix) m.AddKnot(ix * h, iy * h);
  auto knot = [&](int ix, int iy) { return m.Knots[static_cast<std::size_t>(mesh.Knot(ix, iy))].get(); };
  for (int iy = 0; iy < N; ++iy) {
    for (int ix = 0; ix < N; ++ix) {
      TMLResultShell* s = m.AddShell(knot(ix, iy), knot(ix, iy + 1), knot(ix + 1, iy + 1), knot(ix + 1, iy), mesh.Thickness);
      if (load == Load::Uniform) {
        auto f = std::make_unique<TEditorDispersionForce>();
        f->Element = s;
        f->Force.Pz = 1;
        f->Option1 = f->Option2 = 2;
        m.DispForces.push_back(std::move(f));
      }
    }
  }
  if (load == Load::CentralPoint) {
    auto f = std::make_unique<TEditorConcentrateForce>();
    f->Knot = knot(N / 2, N / 2);
    f->Force.Pz = 1;
    m.ConcForces.push_back(std::move(f));
  }
  for (int iy = 0; iy <= N; ++iy) {
    for (int ix = 0; ix <= N; ++ix) {
      const bool xEdge = ix == 0 || ix == N;
      const bool yEdge = iy == 0 || iy == N;
      if (!xEdge && !yEdge) continue;
      TFixation fix{1, 1, 1, 0, 0, 0};
      if (edge == Edge::Clamped) {
        fix[3] = fix[4] = 1;
      } else {
        if (xEdge) fix[3] = 1;
        if (yEdge) fix[4] = 1;
      }
      m.AddSupport(knot(ix, iy), fix);
    }
  }
  return m;
}

}  // namespace tavir::test
