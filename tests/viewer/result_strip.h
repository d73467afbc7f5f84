#pragma once
// A small result model for the drawing tests: nx x ny unit shells (type 1) over
// [0, nx] x [0, ny], knots with values of a field, and a scene that draws it the
// way the analysis program does (elements, isolines with labels, sections).
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/result_objects.h"
#include "viewer/graph_windows.h"
#include "viewer/isolines.h"
#include "viewer/result_desk.h"
#include "viewer/sections.h"

namespace tavir::testing_viewer {

struct ResultStrip {
  int Nx = 0, Ny = 0;
  std::shared_ptr<TPhisPropRodNL> Material = std::make_shared<TPhisPropRodNL>();
  std::vector<std::unique_ptr<TResultKnot>> Knots;
  std::vector<std::unique_ptr<TMLResultShell>> Shells;

  ResultStrip(int nx, int ny) : Nx(nx), Ny(ny) {
    for (int iy = 0; iy <= ny; ++iy)
      for (int ix = 0; ix <= nx; ++ix) {
        auto k = std::make_unique<TResultKnot>();
        k->X = ix;
        k->Y = iy;
        k->Number = static_cast<std::int32_t>(Knots.size());
        k->Visible = 1;
        Knots.push_back(std::move(k));
      }
    for (int iy = 0; iy < ny; ++iy)
      for (int ix = 0; ix < nx; ++ix) {
        auto s = std::make_unique<TMLResultShell>(ElementType::Rectangle, Material);
        s->Knots = {At(ix, iy), At(ix, iy + 1), At(ix + 1, iy + 1), At(ix + 1, iy)};
        s->Visible = 1;
        Shells.push_back(std::move(s));
      }
  }

  TResultKnot* At(int ix, int iy) const { return Knots[static_cast<std::size_t>(iy * (Nx + 1) + ix)].get(); }
  TMLResultShell& Shell(int ix, int iy) const { return *Shells[static_cast<std::size_t>(iy * Nx + ix)]; }

  // Every knot gets the field's value under the key.
  void SetField(const std::function<Extended(Extended x, Extended y)>& f, TMaterialKey key = nullptr) {
    for (auto& k : Knots) {
      k->ClearValues();
      k->AddKey(key);
      k->SetValue(key, f(k->X, k->Y));
    }
  }

  // Knot (ix, iy) on screen at (x0 + ix * cell, y0 - iy * cell).
  void PlaceOnScreen(int x0, int y0, int cell) {
    for (int iy = 0; iy <= Ny; ++iy)
      for (int ix = 0; ix <= Nx; ++ix) At(ix, iy)->ScreenPoint = {x0 + ix * cell, y0 - iy * cell};
  }

  std::vector<const TMLResultShell*> ConstShells() const { return ResultShells(Shells); }
  std::vector<TMLResultShell*> MutableShells() const { return MutableResultShells(Shells); }
};

// The picture of a ResultStrip as the analysis program paints it.
class StripScene : public ResultScene {
 public:
  explicit StripScene(ResultStrip& strip) : strip_(strip) {}

  std::vector<Extended> Levels;  // drawn labelled, as one pass
  TSectionLine_2D Line;
  std::map<const TEditorKnot*, Extended> Thickness;
  int UpdateCount = 0, PlanCount = 0, SectionCount = 0;
  const TGraphWindow* LastUpdated = nullptr;

  void UpdateScreen(const TGraphWindow& view) override {
    ++UpdateCount;
    LastUpdated = &view;
    for (auto& k : strip_.Knots) {
      ProjectKnot(*k, view);
      UpdateKnotVisible(*k, view);
    }
    for (auto& s : strip_.Shells) s->UpdateVisible();
  }
  void DrawPlan(Canvas& canvas, TDrawFailures& failures) override {
    ++PlanCount;
    for (auto& s : strip_.Shells) s->Draw(canvas, -1);
    TIsoLabelsList labels;
    for (Extended level : Levels) DrawIsoLevel(canvas, strip_.ConstShells(), level, true, -1, labels, failures);
    labels.DrawLabels(canvas);
  }
  void PrepareSection() override {
    Thickness.clear();
    for (auto& k : strip_.Knots) Thickness[k.get()] = 0.2L;
  }
  void DrawSection(const TGraphWindow& view, Canvas& canvas, TDrawFailures& failures) override {
    ++SectionCount;
    DrawSections(strip_.MutableShells(), Line, view, canvas, failures,
                 [this](const TEditorKnot& k, TMaterialKey key) -> std::optional<Extended> {
                   const auto it = Thickness.find(&k);
                   if (key != nullptr || it == Thickness.end()) return std::nullopt;
                   return it->second;
                 });
  }
  const TSectionLine_2D& SectionLine() const override { return Line; }

 private:
  ResultStrip& strip_;
};

}  // namespace tavir::testing_viewer
