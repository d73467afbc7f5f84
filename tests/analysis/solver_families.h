#pragma once
// Model families on which the singular-system criterion of the band solver is
// measured and tested: sound models that are close to singular (long clamped
// strips one element wide, plates, a supported shallow shell) and mechanisms
// (a strip or a plate hinged along one line, free plates, a shell hanging on one
// knot, a knot that no shell reaches), and a strip whose system is not positive
// definite although its diagonal is.
//
// A grid of Nx × Ny rectangular shell elements of Hx × Hy, one monolith layer,
// knots numbered across the grid first (number = ix × (Ny + 1) + iy), so a long
// strip one element wide has the half-bandwidth 20.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/band_matrix.h"
#include "analysis/band_system.h"
#include "analysis/section_stiffness.h"
#include "analysis/shell_stiffness.h"
#include "plate_mesh.h"

namespace tavir::test {

struct GridShell {
  int Nx = 1;
  int Ny = 1;
  Extended Hx = 1;
  Extended Hy = 1;
  Extended E = 2.06e6L;
  Extended Mu = 0.3L;
  Extended Thickness = 0.02L;
  Extended Kx = 0;  // curvatures of a shallow shell
  Extended Ky = 0;
  int ExtraKnots = 0;  // knots after the grid's that no shell uses

  std::int64_t Knot(int ix, int iy) const { return static_cast<std::int64_t>(ix) * (Ny + 1) + iy; }
  std::size_t Knots() const { return static_cast<std::size_t>((Nx + 1) * (Ny + 1) + ExtraKnots); }
  std::size_t Equations() const { return Knots() * kKnotFreedoms; }
  std::size_t BandWidth() const { return static_cast<std::size_t>(BandWidthOfSpan(Ny + 2)); }

  Matrix20 ElementMatrix() const { return MonolithElementMatrix(Thickness, E, Mu, Hx, Hy, Kx, Ky); }

  // The assembled band (no loads, no supports) and a zero load vector.
  void Assemble(BandMatrix& K, std::vector<Extended>& F) const {
    K.Allocate(Equations(), BandWidth());
    F.assign(Equations(), 0);
    const Matrix20 ke = ElementMatrix();
    for (int ix = 0; ix < Nx; ++ix)
      for (int iy = 0; iy < Ny; ++iy)
        AddToSystem(ElementKnotNumberArray{Knot(ix, iy), Knot(ix, iy + 1), Knot(ix + 1, iy + 1), Knot(ix + 1, iy)}, ke, K);
  }

  std::size_t Equation(std::int64_t knot, int freedom) const {
    return static_cast<std::size_t>(knot * kKnotFreedoms + freedom);
  }

  // A uniform pressure 1 on every element.
  void AddPressure(std::vector<Extended>& F) const {
    TForceRecord q;
    q.Pz = 1;
    for (int ix = 0; ix < Nx; ++ix)
      for (int iy = 0; iy < Ny; ++iy)
        AddDispForce({Knot(ix, iy), Knot(ix, iy + 1), Knot(ix + 1, iy + 1), Knot(ix + 1, iy)}, true, Hx, Hy, 2, 2, q, F);
  }
};

inline constexpr TFixation kHeld{1, 1, 1, 1, 1, 0};
inline constexpr TFixation kHinge{1, 1, 1, 0, 0, 0};

struct Family {
  std::string Name;
  bool Sound = true;
  GridShell Grid;
  // Assembles and supports the system and puts the loads.
  std::function<void(const GridShell&, BandMatrix&, std::vector<Extended>&)> Build;
};

// A strip of `elements` square elements of side 1, one element wide, clamped at
// x = 0, a tip load P = 1 shared by the two tip knots.
inline Family Cantilever(int elements) {
  Family f{"clamped strip " + std::to_string(elements), true, GridShell{}, nullptr};
  f.Grid.Nx = elements;
  f.Grid.Ny = 1;
  f.Build = [](const GridShell& g, BandMatrix& K, std::vector<Extended>& F) {
    g.Assemble(K, F);
    for (int iy = 0; iy <= 1; ++iy) {
      F[g.Equation(g.Knot(g.Nx, iy), 2)] += Extended(0.5L);
      ApplySupport(g.Knot(0, iy), kHeld, K, F);
    }
  };
  return f;
}

// Beam theory for the tip deflection: P L³ / (3 E I), I = b t³ / 12.
inline Extended CantileverTipDeflection(const GridShell& g) {
  const Extended L = g.Nx * g.Hx;
  const Extended I = g.Ny * g.Hy * g.Thickness * g.Thickness * g.Thickness / 12;
  return L * L * L / (3 * g.E * I);
}

// The same strip held in u, v and w only at x = 0: it turns about that line.
inline Family HingedStrip(int elements) {
  Family f = Cantilever(elements);
  f.Name = "hinged strip " + std::to_string(elements);
  f.Sound = false;
  f.Build = [](const GridShell& g, BandMatrix& K, std::vector<Extended>& F) {
    g.Assemble(K, F);
    for (int iy = 0; iy <= 1; ++iy) {
      F[g.Equation(g.Knot(g.Nx, iy), 2)] += Extended(0.5L);
      ApplySupport(g.Knot(0, iy), kHinge, K, F);
    }
  };
  return f;
}

// The clamped strip with a spring of negative stiffness under each tip knot,
// each as stiff as the whole strip at its tip (1 / CantileverTipDeflection).
// Every diagonal entry stays positive, but the system is not positive definite:
// a pivot of the tip turns negative during the elimination.
inline Family StripOnNegativeSprings(int elements) {
  Family f = Cantilever(elements);
  f.Name = "clamped strip on negative springs " + std::to_string(elements);
  f.Sound = false;
  f.Build = [clamped = f.Build](const GridShell& g, BandMatrix& K, std::vector<Extended>& F) {
    clamped(g, K, F);
    const Extended spring = 1 / CantileverTipDeflection(g);
    for (int iy = 0; iy <= 1; ++iy) K(g.Equation(g.Knot(g.Nx, iy), 2), 0) -= spring;
  };
  return f;
}

// A strip held in u, v, w at both ends: a sound, slender beam.
inline Family SupportedStrip(int elements) {
  Family f = Cantilever(elements);
  f.Name = "strip on two hinges " + std::to_string(elements);
  f.Build = [](const GridShell& g, BandMatrix& K, std::vector<Extended>& F) {
    g.Assemble(K, F);
    F[g.Equation(g.Knot(g.Nx / 2, 0), 2)] += 1;
    for (int iy = 0; iy <= 1; ++iy) {
      ApplySupport(g.Knot(0, iy), kHinge, K, F);
      ApplySupport(g.Knot(g.Nx, iy), kHinge, K, F);
    }
  };
  return f;
}

// A square plate of n × n elements, side 1, t = 0.02.
inline GridShell SquarePlate(int n) {
  GridShell g;
  g.Nx = g.Ny = n;
  g.Hx = g.Hy = Extended(1) / n;
  return g;
}

// Held on the whole boundary (clamped or in u, v, w only), uniform pressure.
inline Family SupportedPlate(int n, bool clamped, Extended curvature = 0) {
  Family f{std::string(curvature != 0 ? "shell" : "plate") + (clamped ? " clamped " : " hinged all round ") +
               std::to_string(n),
           true, SquarePlate(n), nullptr};
  f.Grid.Kx = f.Grid.Ky = curvature;
  f.Build = [clamped](const GridShell& g, BandMatrix& K, std::vector<Extended>& F) {
    g.Assemble(K, F);
    g.AddPressure(F);
    for (int ix = 0; ix <= g.Nx; ++ix)
      for (int iy = 0; iy <= g.Ny; ++iy)
        if (ix == 0 || iy == 0 || ix == g.Nx || iy == g.Ny) ApplySupport(g.Knot(ix, iy), clamped ? kHeld : kHinge, K, F);
  };
  return f;
}

// Held in u, v, w along x = 0 only: the plate turns about that edge.
inline Family HingedPlate(int n) {
  Family f{"plate hinged along one edge " + std::to_string(n), false, SquarePlate(n), nullptr};
  f.Build = [](const GridShell& g, BandMatrix& K, std::vector<Extended>& F) {
    g.Assemble(K, F);
    F[g.Equation(g.Knot(g.Nx, g.Ny), 2)] = 1;
    for (int iy = 0; iy <= g.Ny; ++iy) ApplySupport(g.Knot(0, iy), kHinge, K, F);
  };
  return f;
}

// No support at all, a point load at the middle.
inline Family FreePlate(int n) {
  Family f{"unsupported plate " + std::to_string(n), false, SquarePlate(n), nullptr};
  f.Build = [](const GridShell& g, BandMatrix& K, std::vector<Extended>& F) {
    g.Assemble(K, F);
    F[g.Equation(g.Knot(g.Nx / 2, g.Ny / 2), 2)] = 1;
  };
  return f;
}

// A shallow shell held in all five freedoms at one corner knot, under uniform
// pressure: it can still turn about the normal through that knot (no freedom
// carries the rotation about Z), a mechanism the load does not excite.
inline Family ShellOnOneKnot(int n) {
  Family f = SupportedPlate(n, true, 0.5L);
  f.Name = "shell hanging on one knot " + std::to_string(n);
  f.Sound = false;
  f.Build = [](const GridShell& g, BandMatrix& K, std::vector<Extended>& F) {
    g.Assemble(K, F);
    g.AddPressure(F);
    ApplySupport(g.Knot(0, 0), kHeld, K, F);
  };
  return f;
}

// A clamped plate and one more knot that no shell uses.
inline Family UnconnectedKnot(int n) {
  Family f = SupportedPlate(n, true);
  f.Name = "plate and an unconnected knot " + std::to_string(n);
  f.Sound = false;
  f.Grid.ExtraKnots = 1;
  return f;
}

}  // namespace tavir::test
