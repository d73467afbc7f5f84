#pragma once
// The sample projects under examples/, built with the editor's own operations
// (knots, the element input, the element, support and load dialogs' apply) and
// written by its own project-file writer: a simply supported square plate, a
// clamped square plate, a shallow spherical shell and a two-material layered shell.
// The committed files are these bytes (ExampleFiles.AreCurrent checks it; set
// TAVIR_WRITE_EXAMPLES=1 to write them again after a deliberate change).
//
// The builders live in example_models.cpp: the editor's mesh operations and the
// analysis' band system both declare a BandWidth of the element list, so one
// source cannot include both.
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

// The layers of shell (ix, iy), edited as in the element dialog; the stack starts
// as the one a new element gets (one layer on the first material).
using LayerFiller = std::function<void(TGeometricElement& layers, int ix, int iy)>;

// Knots added row by row, then the rectangles cell by cell through the editor's
// element input, each given its layers through the element dialog's apply.
ShellGrid BuildGrid(TVelEditorProject& p, int nx, int ny, Extended lx, Extended ly, const LayerFiller& fill);
// The support dialog's Apply on the knot.
void AddSupport(TVelEditorProject& p, TEditorKnot* k, const TFixation& fix);
// The load dialog's Apply on the element: a surface load Pz.
void AddSurfaceLoad(TVelEditorProject& p, TMLEditorShell* shell, Extended pz);
void SetSingleLayer(TGeometricElement& layers, Extended thickness);
// Restraints 1..5: u, v, w, slope along Y, slope along X. A simple support holds
// the membrane, w and the slope along its edge; a clamped edge both slopes.
TFixation EdgeFixation(const ShellGrid& g, int ix, int iy, bool clamped);
void SupportBoundary(TVelEditorProject& p, const ShellGrid& g, bool clamped);
std::vector<std::uint8_t> SaveWithWindow(testing::EditorState& e, Extended lx, Extended ly);

// n x n shells; the sample has 4 x 4.
std::vector<std::uint8_t> SimplySupportedPlate(int n = 4);
std::vector<std::uint8_t> ClampedPlate();
std::vector<std::uint8_t> SphericalShell();
std::vector<std::uint8_t> TwoMaterialShell();

struct ExampleFile {
  std::string Name;
  std::function<std::vector<std::uint8_t>()> Build;
};

inline std::vector<ExampleFile> AllExamples() {
  return {{"plate_simply_supported.tps", [] { return SimplySupportedPlate(); }},
          {"plate_clamped.tps", ClampedPlate},
          {"shell_spherical.tps", SphericalShell},
          {"shell_two_materials.tps", TwoMaterialShell}};
}

inline std::string ExamplesDir() { return std::string(TAVIR_TEST_DATA) + "/../../examples"; }
inline std::string ExamplePath(const std::string& name) { return ExamplesDir() + "/" + name; }

}  // namespace tavir::examples
