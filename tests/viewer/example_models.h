#pragma once
// The sample projects under examples/, built with the editor's own model code and
// written by its own project-file writer: a simply supported square plate, a
// clamped square plate, a shallow spherical shell and a two-material layered shell.
// The committed files are these bytes (ExampleFiles.AreCurrent checks it; set
// TAVIR_WRITE_EXAMPLES=1 to write them again after a deliberate change).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/project_file_fixture.h"

namespace tavir::examples {

// Grid of shells on [0, Lx] x [0, Ly] with nx x ny elements; knots row by row.
struct ShellGrid {
  int Nx = 0, Ny = 0;
  Extended Lx = 0, Ly = 0;
  std::vector<TEditorKnot*> Knots;  // (ix, iy) at iy * (Nx + 1) + ix
  std::vector<TMLEditorShell*> Shells;

  TEditorKnot* At(int ix, int iy) const { return Knots[static_cast<std::size_t>(iy * (Nx + 1) + ix)]; }
  bool OnEdgeX(int ix) const { return ix == 0 || ix == Nx; }
  bool OnEdgeY(int iy) const { return iy == 0 || iy == Ny; }
};

// The layers of shell (ix, iy); the default is one steel layer of the thickness.
using LayerFiller = std::function<void(TMLEditorShell&, int ix, int iy)>;

inline ShellGrid BuildGrid(TVelEditorProject& p, int nx, int ny, Extended lx, Extended ly, const LayerFiller& fill) {
  ShellGrid g;
  g.Nx = nx;
  g.Ny = ny;
  g.Lx = lx;
  g.Ly = ly;
  for (int iy = 0; iy <= ny; ++iy)
    for (int ix = 0; ix <= nx; ++ix) g.Knots.push_back(p.Knots().AddKnot(lx * ix / nx, ly * iy / ny, 0));
  for (int iy = 0; iy < ny; ++iy) {
    for (int ix = 0; ix < nx; ++ix) {
      auto shell = p.Factory()->MakeShell(1, p.Materials().Material(0));
      shell->Knots = {g.At(ix, iy), g.At(ix, iy + 1), g.At(ix + 1, iy + 1), g.At(ix + 1, iy)};
      fill(*shell, ix, iy);
      g.Shells.push_back(static_cast<TMLEditorShell*>(p.Elements().Add(std::move(shell))));
    }
  }
  return g;
}

inline void AddSupport(TVelEditorProject& p, TEditorKnot* k, const TFixation& fix) {
  auto s = p.Factory()->MakeSupport();
  s->Knot = k;
  s->Fixation = fix;
  p.Supports().Add(std::move(s));
}

inline void AddSurfaceLoad(TVelEditorProject& p, TMLEditorShell* shell, Extended pz) {
  auto df = p.Factory()->MakeDispForce();
  df->Element = shell;
  TForceRecord f;
  f.Pz = pz;
  df->SetForce(f);
  df->SetOption1(2);
  df->SetOption2(2);
  p.DispForces().Add(std::move(df));
}

inline void SetSingleLayer(TMLEditorShell& s, Extended thickness) {
  s.Layers.Layer(0)->SetThickness(thickness);
  s.Layers.Layer(0)->SetZ(0);
}

// Restraints 1..5: u, v, w, slope along Y, slope along X. A simple support holds
// the membrane, w and the slope along its edge; a clamped edge both slopes.
inline TFixation EdgeFixation(const ShellGrid& g, int ix, int iy, bool clamped) {
  TFixation fix{1, 1, 1, 0, 0, 0};
  if (clamped) {
    fix[3] = fix[4] = 1;
  } else {
    if (g.OnEdgeX(ix)) fix[3] = 1;
    if (g.OnEdgeY(iy)) fix[4] = 1;
  }
  return fix;
}

inline void SupportBoundary(TVelEditorProject& p, const ShellGrid& g, bool clamped) {
  for (int iy = 0; iy <= g.Ny; ++iy)
    for (int ix = 0; ix <= g.Nx; ++ix)
      if (g.OnEdgeX(ix) || g.OnEdgeY(iy)) AddSupport(p, g.At(ix, iy), EdgeFixation(g, ix, iy, clamped));
}

inline std::vector<std::uint8_t> SaveWithWindow(testing::EditorState& e, Extended lx, Extended ly) {
  e.Windows.AddWindow(FloatPoint3D(lx + 1, ly + 1, 5), FloatPoint3D(-1, -1, -5), 0, FloatPoint(0.01L, 0.01L),
                      0xFFFFFF, true);
  return e.Save();
}

// 4 x 4 shells on a 2 x 2 steel plate 0.1 thick, simply supported, uniform load -1.
inline std::vector<std::uint8_t> SimplySupportedPlate() {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  const ShellGrid g = BuildGrid(p, 4, 4, 2, 2, [](TMLEditorShell& s, int, int) { SetSingleLayer(s, 0.1L); });
  SupportBoundary(p, g, false);
  for (TMLEditorShell* s : g.Shells) AddSurfaceLoad(p, s, -1);
  return SaveWithWindow(e, 2, 2);
}

// The same plate clamped on all edges under a central point load -10.
inline std::vector<std::uint8_t> ClampedPlate() {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  const ShellGrid g = BuildGrid(p, 4, 4, 2, 2, [](TMLEditorShell& s, int, int) { SetSingleLayer(s, 0.1L); });
  SupportBoundary(p, g, true);
  auto cf = p.Factory()->MakeConcForce();
  cf->Knot = g.At(2, 2);
  TForceRecord f;
  f.Pz = -10;
  cf->SetForce(f);
  p.ConcForces().Add(std::move(cf));
  return SaveWithWindow(e, 2, 2);
}

// 4 x 4 shells under a shallow sphere over the square [0, 4]² (rise 0.4), hinged
// on the boundary (u, v, w held), uniform load -1.
inline std::vector<std::uint8_t> SphericalShell() {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  const ShellGrid g = BuildGrid(p, 4, 4, 4, 4, [](TMLEditorShell& s, int, int) { SetSingleLayer(s, 0.05L); });
  for (int iy = 0; iy <= g.Ny; ++iy)
    for (int ix = 0; ix <= g.Nx; ++ix)
      if (g.OnEdgeX(ix) || g.OnEdgeY(iy)) AddSupport(p, g.At(ix, iy), TFixation{1, 1, 1, 0, 0, 0});
  for (TMLEditorShell* s : g.Shells) AddSurfaceLoad(p, s, -1);
  auto sp = p.Factory()->MakeSphere();
  sp->SetOrigin(FloatPoint3D(2, 2, 0));
  sp->SetParams(4, 0.4L);
  p.ShellFuncs().Add(std::move(sp));
  return SaveWithWindow(e, 4, 4);
}

// 4 x 2 shells on [0, 4] x [0, 2], each of two layers 0.04 thick (at Z = -0.02 and
// +0.02): steel under concrete on the left half (x < 2), concrete under steel on
// the right half, so the knots on x = 2 join both materials in either layer.
// Clamped at x = 0 and x = 4, uniform load -1.
inline std::vector<std::uint8_t> TwoMaterialShell() {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  auto steel = p.Materials().Material(0);
  auto concrete = p.Materials().AddMaterial("Бетон В25");
  concrete->SetE(3.0e5L);
  concrete->SetMu(0.2L);
  concrete->SetR(1.45e4L);
  const ShellGrid g = BuildGrid(p, 4, 2, 4, 2, [&](TMLEditorShell& s, int ix, int) {
    const bool left = ix < 2;
    auto l0 = s.Layers.Layer(0);
    l0->SetMaterial(left ? steel : concrete);
    l0->SetThickness(0.04L);
    l0->SetZ(-0.02L);
    auto l1 = s.Layers.AddLayerByName("Второй слой", left ? concrete : steel);
    l1->SetThickness(0.04L);
    l1->SetZ(0.02L);
  });
  for (int iy = 0; iy <= g.Ny; ++iy) {
    AddSupport(p, g.At(0, iy), TFixation{1, 1, 1, 1, 1, 0});
    AddSupport(p, g.At(g.Nx, iy), TFixation{1, 1, 1, 1, 1, 0});
  }
  for (TMLEditorShell* s : g.Shells) AddSurfaceLoad(p, s, -1);
  return SaveWithWindow(e, 4, 2);
}

struct ExampleFile {
  std::string Name;
  std::function<std::vector<std::uint8_t>()> Build;
};

inline std::vector<ExampleFile> AllExamples() {
  return {{"plate_simply_supported.tps", SimplySupportedPlate},
          {"plate_clamped.tps", ClampedPlate},
          {"shell_spherical.tps", SphericalShell},
          {"shell_two_materials.tps", TwoMaterialShell}};
}

inline std::string ExamplesDir() { return std::string(TAVIR_TEST_DATA) + "/../../examples"; }
inline std::string ExamplePath(const std::string& name) { return ExamplesDir() + "/" + name; }

}  // namespace tavir::examples
