#pragma once
// The analysis project as the result views see it: screen points for a view, the
// plan picture by the draw flags (elements, knots, supports, loads, surfaces,
// layer zones, zone fills, isolines), the section diagrams, the section line and
// the gestures' requests. One object serves every desk and the export.
#include <cstdint>
#include <functional>

#include "viewer/graph_windows.h"
#include "viewer/isolines.h"
#include "viewer/result_desk.h"
#include "viewer/viewer_project.h"

namespace tavir {

// The plan picture of a model in the order the draw flags are tested: every
// visible element (shells with layer `layer`'s brush, their own for -1; plates as
// in the editor), then bit 4 knots, 8 supports, 1 concentrated loads (distributed
// loads draw nothing), $100 surfaces, $200 layer zones, $800 zone fills by colour
// count. Isolines are the caller's (they need the prepared values).
void DrawPlanItems(const TVelEditorProject& model, Canvas& canvas, std::int16_t flags, std::int32_t layer,
                   std::int32_t colorCount);

// The level loop of the isolines: every level of the record across the visible
// shells, the labels of each group merged and drawn when the group ends.
void DrawIsoLines(Canvas& canvas, const std::vector<const TMLResultShell*>& shells, const TIsoParamsRec& params,
                  std::int32_t layerIndex, TDrawFailures& failures, const KnotValueReader& values = StoredKnotValue);

class TViewerScene : public ResultScene, public ResultDeskClient {
 public:
  // viewMode runs the view-mode command ("AcVMode_Viewer"); without one the
  // scene sets mouse mode 0 and the default cursors itself.
  TViewerScene(TViewerProject& project, TGraphWindows& windows, std::function<void()> viewMode = {});

  TSectionLine_2D Line;  // the project's section line

  // The project was cleared: the section line is no longer shown.
  void ProjectCleared() { Line.SetFlag(false); }

  // ResultScene
  void UpdateScreen(const TGraphWindow& view) override;
  void DrawPlan(Canvas& canvas, TDrawFailures& failures) override;
  void PrepareSection() override;
  void DrawSection(const TGraphWindow& view, Canvas& canvas, TDrawFailures& failures) override;
  const TSectionLine_2D& SectionLine() const override { return Line; }

  // ResultDeskClient
  tavir::MouseMode MouseMode() const override { return project_.MouseMode(); }
  void EnterViewMode() override;
  Extended DefaultScale() const override { return project_.DefaultScale(); }
  TSectionLine_2D& SectionLine() override { return Line; }
  int CreateSectionWindow(const TGraphWindow& plan) override;
  // Panel 1 of the view's status bar shows the isoline quantity (emptied without
  // the isoline flag, left alone for kind 8) and the grid commands follow the
  // view's grid (through the project's hooks).
  void ViewActivated(const TGraphWindow& view) override;
  // The status caption alone (after the isoline quantity changed).
  void UpdateStatusCaption(const TGraphWindow& view);

 private:
  KnotValueReader ThicknessReader() const;

  TViewerProject& project_;
  TGraphWindows& windows_;
  std::function<void()> viewMode_;
};

}  // namespace tavir
