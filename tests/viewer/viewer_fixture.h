#pragma once
// Scripted stand-ins for the status window, the adaptation dialog and the result
// windows, and an independent solve of a project file for comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "analysis/band_solver.h"
#include "analysis/band_system.h"
#include "analysis/section_stiffness.h"
#include "analysis/shell_stiffness.h"
#include "example_models.h"
#include "model/project_file.h"
#include "platform/recording_canvas.h"
#include "viewer/graph_windows.h"
#include "viewer/result_desk.h"
#include "viewer/viewer_project.h"
#include "fakes/scripted_messages.h"

namespace tavir::viewertest {

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::vector<std::uint8_t> ExampleBytes(const std::string& name) {
  auto b = ReadBytes(examples::ExamplePath(name));
  EXPECT_FALSE(b.empty()) << name;
  return b;
}

// Records what a computation shows; `OnPump` runs at every pump point.
class RecordingStatus : public CalcStatus {
 public:
  void ShowStatus() override {
    ++Shown;
    Visible = true;
  }
  void HideStatus() override {
    ++Hidden;
    Visible = false;
  }
  void SetStage(int row) override { Stages.push_back(row); }
  void SetCell(int col, int row, const std::string& text) override { Cells.push_back({col, row, text}); }
  void SetLabel(const std::string& text) override { Labels.push_back(text); }
  void SetBar(long long position, long long maximum) override {
    Bars.push_back({Stages.empty() ? 0 : Stages.back(), position, maximum});
  }
  void Pump() override {
    ++Pumps;
    if (OnPump) OnPump();
  }

  struct Cell {
    int Col, Row;
    std::string Text;
  };
  struct Bar {
    int Stage;  // the stage row selected when the bar was set
    long long Position, Maximum;
    bool operator==(const Bar&) const = default;
  };
  int Shown = 0, Hidden = 0, Pumps = 0;
  bool Visible = false;
  std::vector<int> Stages;
  std::vector<Cell> Cells;
  std::vector<std::string> Labels;
  std::vector<Bar> Bars;
  std::function<void()> OnPump;

  // The first bar set in stage row `stage`, if any.
  std::optional<Bar> FirstBarIn(int stage) const {
    for (const auto& b : Bars)
      if (b.Stage == stage) return b;
    return std::nullopt;
  }

  std::vector<std::string> CellTexts(int col, int row) const {
    std::vector<std::string> out;
    for (const auto& c : Cells)
      if (c.Col == col && c.Row == row) out.push_back(c.Text);
    return out;
  }
};

class RecordingHooks : public ViewerHooks {
 public:
  void RunAction(const std::string& name) override { Actions.push_back(name); }
  void WindowLoaded(const AnalysisWindowData& w) override { Windows.push_back(w); }
  void ProjectCleared() override { ++Cleared; }
  void RepaintCurrentView() override { ++CurrentRepaints; }
  void RepaintAllViews() override { ++AllRepaints; }
  std::vector<std::string> Actions;
  std::vector<AnalysisWindowData> Windows;
  int Cleared = 0, CurrentRepaints = 0, AllRepaints = 0;
};

// Makes desks numbered from `Next` and records what is asked of them, both per
// request and in one log ("create 1", "cleared 1", "status 1 1 text", ...).
class RecordingDeskHost : public GraphDeskHost {
 public:
  explicit RecordingDeskHost(DeskHandle first = 1) : Next(first) {}
  DeskHandle CreateDesk(const TGraphWindow& view) override {
    CreatedWidths.push_back(view.Width());
    Alive.push_back(Next);
    Note("create", Next);
    return Next++;
  }
  void DestroyDesk(DeskHandle d) override {
    Destroyed.push_back(d);
    Alive.erase(std::find(Alive.begin(), Alive.end(), d));
    Note("destroy", d);
  }
  void ShowDesk(DeskHandle d) override {
    Shown.push_back(d);
    Note("show", d);
  }
  void ShowDeskCleared(DeskHandle d) override {
    Cleared.push_back(d);
    Note("cleared", d);
  }
  void RepaintDesk(DeskHandle d) override {
    Repainted.push_back(d);
    Note("repaint", d);
  }
  void SetDeskCursor(DeskHandle d, int slot) override {
    Cursors.emplace_back(d, slot);
    Note("cursor", d, std::to_string(slot));
  }
  void SetDeskStatusText(DeskHandle d, int panel, const std::string& text) override {
    Status.emplace_back(d, std::to_string(panel) + ":" + text);
    Note("status", d, std::to_string(panel) + " " + text);
  }

  DeskHandle Next;
  std::vector<DeskHandle> Alive, Destroyed, Shown, Cleared, Repainted;
  std::vector<std::pair<DeskHandle, int>> Cursors;
  std::vector<std::pair<DeskHandle, std::string>> Status;
  std::vector<std::int32_t> CreatedWidths;
  std::vector<std::string> Log;

 private:
  void Note(const char* what, DeskHandle d, const std::string& more = {}) {
    Log.push_back(std::string(what) + " " + std::to_string(d) + (more.empty() ? "" : " " + more));
  }
};

// A desk surface that records the rubber bands and never scrolls.
struct NoSurface : DeskSurface {
  RecordingCanvas Picture;
  Canvas& PictureCanvas() override { return Picture; }
  DeskScroll Scroll() const override { return {0, 0, 100000, 100000, 0}; }
  void SetScroll(int, int) override {}
  void RepaintNow() override {}
};

// An analysis project with recording messages and hooks.
struct Viewer {
  ScriptedMessages Messages;
  RecordingHooks Hooks;
  TViewerProject Project{Messages, &Hooks};

  void Open(const std::string& name) { ASSERT_TRUE(Project.LoadProjectBytes(ExampleBytes(name), name)); }
};

// Sets the switches it was given and answers OK (or Cancel).
class ScriptedAdaptDialog : public AdaptParamsDialog {
 public:
  bool Execute(TAdaptParams& params, bool hasSurfaces) override {
    SawSurfaces = hasSurfaces;
    SawFlight = params.AdaptFlight;
    if (Edit) Edit(params);
    return Ok;
  }
  bool Ok = true;
  bool SawSurfaces = false, SawFlight = false;
  std::function<void(TAdaptParams&)> Edit;
};

// The displacements of a project file, assembled and solved here from the stored
// model with the analysis core's plain functions (editor classes, knot i numbered
// i), independently of the analysis project.
inline std::vector<Extended> DirectSolve(const std::vector<std::uint8_t>& bytes) {
  TVelEditorProject p;
  AnalysisWindowData window;
  const std::vector<TEditorKnot*> order = ReadAnalysisProjectBytes(bytes, p, window);
  auto number = [&](const TEditorKnot* k) {
    return static_cast<std::int64_t>(std::find(order.begin(), order.end(), k) - order.begin());
  };
  auto numbers = [&](const TFiniteElement& e) {
    ElementKnotNumberArray n{};
    for (int m = 0; m < 4; ++m) n[static_cast<std::size_t>(m)] = number(e.Knots[static_cast<std::size_t>(m)]);
    return n;
  };
  std::int64_t span = 0;
  for (const auto& e : p.Elements().Items())
    if (e->ElemKind == ElementKind::Shell) span = std::max(span, KnotNumberSpan(numbers(*e)));
  const std::size_t n = order.size() * 5;
  BandMatrix K(n, static_cast<std::size_t>(BandWidthOfSpan(span)));
  std::vector<Extended> F(n, 0);
  for (const auto& e : p.Elements().Items()) {
    if (e->ElemKind != ElementKind::Shell) continue;
    const auto& shell = static_cast<const TMLEditorShell&>(*e);
    std::vector<LayerInput> layers;
    for (std::int32_t j = 0; j < shell.Layers.Count(); ++j) {
      const auto l = shell.Layers.Layer(j);
      LayerInput in;
      in.Thickness = l->Thickness;
      in.Z = l->Z;
      in.TypeLayer = l->TypeLayer;
      in.E = l->Material()->E;
      in.Mu = l->Material()->mu;
      in.Fi = l->Material()->Fi;
      layers.push_back(in);
    }
    std::vector<LayerModuli> el;
    for (const auto& l : layers) el.push_back(LayerElastic(l));
    SectionArray D{};
    SectionMatrix(layers, el, D);
    const Extended a = shell.Knots[3]->X - shell.Knots[0]->X;
    const Extended b = shell.Knots[1]->Y - shell.Knots[0]->Y;
    Matrix20 ke{}, t{};
    ShellStiffness(a, b, shell.Kx, shell.Ky, D, ke, t);
    AddToSystem(numbers(shell), ke, K);
  }
  for (const auto& c : p.ConcForces().Items()) AddConcForce(number(c->Knot), c->Force, F);
  for (const auto& d : p.DispForces().Items()) {
    const TFiniteElement& e = *d->Element;
    const Extended a = e.Knots[3]->X - e.Knots[0]->X;
    const Extended b = e.Knots[1]->Y - e.Knots[0]->Y;
    AddDispForce(numbers(e), e.ElementType == ElementType::Rectangle, a, b, d->Option1, d->Option2, d->Force, F);
  }
  for (const auto& s : p.Supports().Items()) ApplySupport(number(s->Knot), s->Fixation, K, F);
  SolveBandPlain(K, F);
  return F;
}

inline Extended MaxAbs(const std::vector<Extended>& v) {
  Extended m = 0;
  for (Extended x : v) m = std::max(m, std::fabs(x));
  return m;
}

}  // namespace tavir::viewertest
