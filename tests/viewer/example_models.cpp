// The builders of the sample projects (example_models.h).
#include "example_models.h"

#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "fakes/scripted_messages.h"

namespace tavir::examples {

// The layers of shell (ix, iy), edited as in the element dialog; the stack starts
// as the one a new element gets (one layer on the first material).

// The element dialog's OK on one element: its own stack, changed by the filler,
// given back to it.
void EditLayers(TMLEditorShell& shell, const LayerFiller& fill, int ix, int iy) {
  ScriptedMessages messages;
  ElementDialogValues values;
  values.Layers.CopyFrom(shell.Layers);
  values.Kx = shell.Kx;
  values.Ky = shell.Ky;
  values.Kxy = shell.Kxy;
  fill(values.Layers, ix, iy);
  ApplyPropertiesToElements({&shell}, values, messages);
}

// Knots added row by row, then the rectangles cell by cell through the editor's
// element input, each given its layers through the element dialog.
ShellGrid BuildGrid(TVelEditorProject& p, int nx, int ny, Extended lx, Extended ly, const LayerFiller& fill) {
  ShellGrid g;
  g.Nx = nx;
  g.Ny = ny;
  g.Lx = lx;
  g.Ly = ly;
  for (int iy = 0; iy <= ny; ++iy)
    for (int ix = 0; ix <= nx; ++ix) g.Knots.push_back(p.Knots().AddKnot(lx * ix / nx, ly * iy / ny, 0));
  ScriptedMessages messages;
  for (int iy = 0; iy < ny; ++iy) {
    for (int ix = 0; ix < nx; ++ix) {
      const AddElementResult made =
          AddElement(p.Elements(), messages, ElementType::Rectangle, ElementKind::Shell,
                     {g.At(ix, iy), g.At(ix, iy + 1), g.At(ix + 1, iy + 1), g.At(ix + 1, iy)}, p.Materials().Material(0));
      auto* shell = static_cast<TMLEditorShell*>(made.Element);
      EditLayers(*shell, fill, ix, iy);
      g.Shells.push_back(shell);
    }
  }
  return g;
}

// The support dialog's Apply on the knot.
void AddSupport(TVelEditorProject& p, TEditorKnot* k, const TFixation& fix) {
  SetSupport(p.Supports(), k, fix, 0);
}

// The load dialog's Apply on the element: a surface load Pz.
void AddSurfaceLoad(TVelEditorProject& p, TMLEditorShell* shell, Extended pz) {
  TForceRecord f;
  f.Pz = pz;
  SetForce(p.DispForces(), shell, f);
}

void SetSingleLayer(TGeometricElement& layers, Extended thickness) {
  layers.Layer(0)->SetThickness(thickness);
  layers.Layer(0)->SetZ(0);
}

// Restraints 1..5: u, v, w, slope along Y, slope along X. A simple support holds
// the membrane, w and the slope along its edge; a clamped edge both slopes.
TFixation EdgeFixation(const ShellGrid& g, int ix, int iy, bool clamped) {
  TFixation fix{1, 1, 1, 0, 0, 0};
  if (clamped) {
    fix[3] = fix[4] = 1;
  } else {
    if (g.OnEdgeX(ix)) fix[3] = 1;
    if (g.OnEdgeY(iy)) fix[4] = 1;
  }
  return fix;
}

void SupportBoundary(TVelEditorProject& p, const ShellGrid& g, bool clamped) {
  for (int iy = 0; iy <= g.Ny; ++iy)
    for (int ix = 0; ix <= g.Nx; ++ix)
      if (g.OnEdgeX(ix) || g.OnEdgeY(iy)) AddSupport(p, g.At(ix, iy), EdgeFixation(g, ix, iy, clamped));
}

std::vector<std::uint8_t> SaveWithWindow(testing::EditorState& e, Extended lx, Extended ly) {
  e.Windows.AddWindow(FloatPoint3D(lx + 1, ly + 1, 5), FloatPoint3D(-1, -1, -5), Projection::XY, FloatPoint(0.01L, 0.01L),
                      0xFFFFFF, true);
  return e.Save();
}

// n x n shells (4 x 4 the sample) on a 2 x 2 steel plate 0.1 thick, simply
// supported, uniform load -1.
std::vector<std::uint8_t> SimplySupportedPlate(int n) {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  const ShellGrid g = BuildGrid(p, n, n, 2, 2, [](TGeometricElement& l, int, int) { SetSingleLayer(l, 0.1L); });
  SupportBoundary(p, g, false);
  for (TMLEditorShell* s : g.Shells) AddSurfaceLoad(p, s, -1);
  return SaveWithWindow(e, 2, 2);
}

// The same plate clamped on all edges under a central point load -10.
std::vector<std::uint8_t> ClampedPlate() {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  const ShellGrid g = BuildGrid(p, 4, 4, 2, 2, [](TGeometricElement& l, int, int) { SetSingleLayer(l, 0.1L); });
  SupportBoundary(p, g, true);
  TForceRecord f;
  f.Pz = -10;
  SetForce(p.ConcForces(), g.At(2, 2), f);
  return SaveWithWindow(e, 2, 2);
}

// 4 x 4 shells under a shallow sphere over the square [0, 4]² (rise 0.4), hinged
// on the boundary (u, v, w held), uniform load -1. The material's limit
// resistance 150 puts the target energy density near the shell's own, so that its
// adaptation of the rise (then of the thickness) settles within a few iterations.
std::vector<std::uint8_t> SphericalShell() {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  p.Materials().Material(0)->SetR(150);
  const ShellGrid g = BuildGrid(p, 4, 4, 4, 4, [](TGeometricElement& l, int, int) { SetSingleLayer(l, 0.05L); });
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
std::vector<std::uint8_t> TwoMaterialShell() {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  auto steel = p.Materials().Material(0);
  auto concrete = p.Materials().AddMaterial("Бетон В25");
  concrete->SetE(3.0e5L);
  concrete->SetMu(0.2L);
  concrete->SetR(1.45e4L);
  const ShellGrid g = BuildGrid(p, 4, 2, 4, 2, [&](TGeometricElement& layers, int ix, int) {
    const bool left = ix < 2;
    auto l0 = layers.Layer(0);
    l0->SetMaterial(left ? steel : concrete);
    l0->SetThickness(0.04L);
    l0->SetZ(-0.02L);
    auto l1 = layers.AddLayerByName("Второй слой", left ? concrete : steel);
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

}  // namespace tavir::examples
