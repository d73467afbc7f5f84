#include "viewer/viewer_scene.h"

#include "viewer/iso_levels.h"
#include "viewer/knot_values.h"
#include "viewer/sections.h"
#include "viewer/view_texts.h"
#include "viewer/viewer_commands.h"
#include "viewer/zones.h"

namespace tavir {

void DrawPlanItems(const TVelEditorProject& model, Canvas& canvas, std::int16_t flags, std::int32_t layer,
                   std::int32_t colorCount) {
  const auto bits = static_cast<std::uint16_t>(flags);
  for (const auto& e : model.Elements().Items()) {
    if (e == nullptr || e->Visible == 0) continue;
    e->Draw(canvas, AsResultShell(e.get()) != nullptr ? layer : -1);
  }
  if ((bits & kDrawKnots) != 0) model.Knots().Draw(canvas);
  if ((bits & kDrawSupports) != 0) model.Supports().Draw(canvas);
  if ((bits & kDrawLoads) != 0) model.ConcForces().Draw(canvas);  // distributed loads have no picture here
  if ((bits & kDrawShells) != 0) model.ShellFuncs().Draw(canvas);
  const std::vector<const TMLResultShell*> shells = ResultShells(model.Elements().Items());
  if ((bits & kViewDrawLayerZones) != 0) DrawLayerZones(canvas, shells);
  if ((bits & kViewDrawZoneFills) != 0) DrawZones(canvas, shells, colorCount);
}

void DrawIsoLines(Canvas& canvas, const std::vector<const TMLResultShell*>& shells, const TIsoParamsRec& params,
                  std::int32_t layerIndex, TDrawFailures& failures, const KnotValueReader& values) {
  TIsoLabelsList labels;
  ForEachIsoLevel(
      params,
      [&](const TIsoLevel& level) {
        DrawIsoLevel(canvas, shells, level.Value, level.Labels, layerIndex, labels, failures, values);
      },
      [&](TIsoLevelGroup) { labels.DrawLabels(canvas); });
  labels.FreeAll();
}

TViewerScene::TViewerScene(TViewerProject& project, TGraphWindows& windows, std::function<void()> viewMode)
    : project_(project), windows_(windows), viewMode_(std::move(viewMode)) {}

void TViewerScene::UpdateScreen(const TGraphWindow& view) {
  TVelEditorProject& model = project_.Model();
  if (IsPlaneProjection(view.Kind())) {
    model.UpdateScreen(view.View);
    return;
  }
  for (const auto& k : model.Knots().Items()) {
    ProjectKnot(*k, view);
    UpdateKnotVisible(*k, view);
  }
  model.Elements().UpdateVisible();
  model.Supports().UpdateVisible();
  model.ConcForces().UpdateVisible();
  model.DispForces().UpdateVisible();
}

void TViewerScene::DrawPlan(Canvas& canvas, TDrawFailures& failures) {
  const std::int16_t flags = project_.DrawFlags();
  DrawPlanItems(project_.Model(), canvas, flags, project_.Layer(), project_.ColorCount());
  if ((flags & kViewDrawIsolines) == 0 || !project_.IsoVisible()) return;
  if (!project_.EnsureIsoValues()) return;
  // Displacements and slopes are kept under no material whatever layer the
  // stress commands chose last; only stresses are drawn by the layer's material.
  const std::int32_t layer = IsStressKind(project_.IsoKind()) ? project_.Layer() : -1;
  DrawIsoLines(canvas, ResultShells(project_.Elements().Items()), project_.IsoParams(), layer, failures);
}

void TViewerScene::PrepareSection() { project_.AverageKnotThickness(); }

KnotValueReader TViewerScene::ThicknessReader() const {
  const TKnotThicknessStore& store = project_.KnotThickness();
  return [&store](const TEditorKnot& k, TMaterialKey key) -> std::optional<Extended> {
    if (key != nullptr || !store.Has(&k)) return std::nullopt;
    return store.At(&k);
  };
}

void TViewerScene::DrawSection(const TGraphWindow& view, Canvas& canvas, TDrawFailures& failures) {
  DrawSections(MutableResultShells(project_.Elements().Items()), Line, view, canvas, failures, ThicknessReader());
}

void TViewerScene::EnterViewMode() {
  if (viewMode_) {
    viewMode_();
    return;
  }
  MouseModeCommand(project_, windows_, MouseMode::View);
}

void TViewerScene::UpdateStatusCaption(const TGraphWindow& view) {
  if (const auto text = IsoStatusPanelText(project_.DrawFlags(), project_.IsoKind()))
    windows_.SetDeskStatusText(view.WorkDesk, 1, *text);
}

void TViewerScene::ViewActivated(const TGraphWindow& view) {
  UpdateStatusCaption(view);
  if (ViewerHooks* hooks = project_.Hooks()) hooks->SyncGridActions(view.Grid());
}

int TViewerScene::CreateSectionWindow(const TGraphWindow& plan) {
  const auto box = project_.SectionWindowData(plan.View);
  if (!box) return -1;
  return tavir::CreateSectionWindow(windows_, plan, *box, MutableResultShells(project_.Elements().Items()), Line);
}

}  // namespace tavir
