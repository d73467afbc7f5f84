#pragma once
// The project root of the analysis program: the model read from a project file
// into result classes, and the units that work on it, each owned here: the
// analysis run (the band matrix and load vector, allocated there and reused; the
// analysis only fills and reads them), the adaptation driver with its settings,
// the prepared knot values and the state of the result display. The project
// opens and clears the model and frames every computation; the rest it forwards.
//
// Opening is all or nothing: the file is read into fresh lists, which take the
// place of the open ones only when the whole file was read; a refused file leaves
// the open model, its results and the file name as they were.
//
// A computation reports through a CalcStatus (the status window) and lets the
// interface run between its stages (Pump). While it runs the project is busy: no
// other computation, no open and no Clear may start (they return false), so an
// event handled inside a pump can never free the lists under the running loop.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/band_matrix.h"
#include "analysis/result_objects.h"
#include "model/grid.h"
#include "model/project.h"
#include "model/project_file.h"
#include "platform/services.h"
#include "viewer/adaptation.h"
#include "viewer/adaptation_loop.h"
#include "viewer/analysis_run.h"
#include "viewer/iso_levels.h"
#include "viewer/knot_values.h"
#include "viewer/prepared_values.h"

namespace tavir {

// Result knots, result plates (kind 0) and result shells (kind 5).
class ResultModelFactory : public ModelFactory {
 public:
  std::unique_ptr<TEditorKnot> MakeKnot() const override;
  std::unique_ptr<TMLEditorElement> MakePlate(ElementType elementType,
                                              const std::shared_ptr<TPhisPropRodNL>& material) const override;
  std::unique_ptr<TMLEditorShell> MakeShell(ElementType elementType,
                                            const std::shared_ptr<TPhisPropRodNL>& material) const override;
};
std::shared_ptr<const ModelFactory> MakeResultModelFactory();

inline constexpr const char* kViewerModeAction = "AcVMode_Viewer";

// What the project asks of the rest of the program (the result windows, the
// command set). Every member does nothing by default; ResultViewsHooks
// (viewer_links.h) carries out the views' part, the GUI adds the command set's.
class ViewerHooks {
 public:
  virtual ~ViewerHooks() = default;
  // Runs a command by name: the view-mode command "AcVMode_Viewer" after every
  // Clear, which an open also does.
  virtual void RunAction(const std::string& name) { (void)name; }
  // A file was opened: the result views are replaced by view 0 of its first
  // window, and view 0's desk is shown with a cleared picture.
  virtual void WindowLoaded(const AnalysisWindowData& window) { (void)window; }
  // The model and its results were freed: the section line is no longer shown.
  virtual void ProjectCleared() {}
  virtual void RepaintCurrentView() {}
  virtual void RepaintAllViews() {}
  // A view became the current one: the grid commands' check marks follow its grid
  // (GridActionChecks in graph_windows.h).
  virtual void SyncGridActions(const TGrid& grid) { (void)grid; }
};

class TViewerProject {
 public:
  explicit TViewerProject(MessageService& messages, ViewerHooks* hooks = nullptr, ModelUi* ui = nullptr);
  ~TViewerProject();
  TViewerProject(const TViewerProject&) = delete;
  TViewerProject& operator=(const TViewerProject&) = delete;

  void SetHooks(ViewerHooks* hooks) { hooks_ = hooks; }
  ViewerHooks* Hooks() const { return hooks_; }
  // The two-bar box of the preparations that are given no observer of their own
  // (those a repaint starts); none: they run without one.
  void SetProgressBoxes(ProgressBoxOpener* boxes) { values_.SetProgressBoxes(boxes); }

  // ---- the model ----
  TVelEditorProject& Model() { return *model_; }
  const TVelEditorProject& Model() const { return *model_; }
  TMaterials& Materials() { return model_->Materials(); }
  TFinElements& Elements() { return model_->Elements(); }
  TFinKnots& Knots() { return model_->Knots(); }
  TEditorSupports& Supports() { return model_->Supports(); }
  TConcForcesList& ConcForces() { return model_->ConcForces(); }
  TDispForcesList& DispForces() { return model_->DispForces(); }
  TShellFunctions& ShellsFuncs() { return model_->ShellFuncs(); }
  const TFinElements& Elements() const { return model_->Elements(); }
  const TFinKnots& Knots() const { return model_->Knots(); }
  // Knot i of the list as a result knot (nullptr out of range).
  TResultKnot* KnotAt(std::int32_t i) const;

  TAdaptParams AdaptParams;

  // ---- commands (each false when refused: busy, no file, no model, a failure) ----
  // A missing file shows "Файл %s не найден!"; a damaged one throws (FormatError,
  // ShellException, std::runtime_error) with everything unchanged. The file is
  // read through the model's analysis reader, with the editor's size limit. An
  // allocation failure throws std::runtime_error with a text that starts with
  // kOutOfMemoryText, everything unchanged. The complete copy an interrupted save
  // left is opened as the project it was saving (ProjectNameOf).
  bool LoadProjectFile(const std::string& fileName);
  bool LoadProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName);
  // The results file type: nothing is read.
  bool LoadResultsFile(const std::string& fileName);
  bool Clear();
  bool StaticCalculate(CalcStatus& status);
  bool Adaptation(AdaptParamsDialog& dialog, CalcStatus& status);

  bool IsBusy() const { return busy_; }
  // The adaptation's iteration limit (kMaxAdaptIterations unless set; at least 1).
  std::int32_t AdaptIterationLimit() const { return adaptation_.IterationLimit(); }
  void SetAdaptIterationLimit(std::int32_t v) { adaptation_.SetIterationLimit(v); }

  // The first stored window of the file opened last (none before the first open).
  const std::optional<AnalysisWindowData>& FirstWindow() const { return firstWindow_; }

  // ---- results ----
  // Whether displacements of the current model exist (a successful solve). Not
  // while a computation runs: the vector then holds loads or a partial solve, and
  // a repaint in one of its pumps must not draw them.
  bool HasResults() const { return run_.HasResults(); }
  const std::vector<Extended>& LoadVector() const { return run_.LoadVector(); }
  const BandMatrix& Stiffness() const { return run_.Stiffness(); }
  std::int32_t BandWidth() const { return run_.BandWidth(); }
  std::int32_t EquationCount() const { return run_.EquationCount(); }
  // Every knot's Z and every shell's curvatures from the surfaces.
  void ApplyShellFuncs() { model_->ApplyShellFuncs(); }
  // W = F · (K F) / 2 with the displacements.
  Extended PotentialEnergy(const BandMatrix& matrix) const { return run_.PotentialEnergy(matrix); }

  // ---- knot values and isolines ----
  // Values of the quantity at the knots; false without results or for kind 8.
  bool PrepareKnotValues(ResultKind kind, std::int32_t layer, Fibre fibre, ProgressObserver* progress = nullptr) {
    return values_.PrepareKnotValues(kind, layer, fibre, progress);
  }
  // What the knots' values hold now (none after a load, a solve or Clear).
  const std::optional<KnotValuesKey>& PreparedKey() const { return values_.PreparedKey(); }
  // The isoline command: values for IsoKind at the layer and fibre when they are
  // not the prepared ones (then IsoParams take the defaults of their range);
  // silent: IsoVisible := true, else the dialog decides. Sets the isoline draw
  // flag. For a stress quantity the layer and fibre become the project's Layer and
  // StressPos, so the repaint finds the values it draws already prepared and keeps
  // the levels the user set. False when nothing was done (no results, kind 8).
  bool PrepareIsoLines(std::int32_t layer, Fibre fibre, IsoParamsDialog* dialog, ProgressObserver* progress = nullptr) {
    return values_.PrepareIsoLines(layer, fibre, dialog, progress);
  }
  // Before isolines are drawn: prepares silently when the prepared values are not
  // those of IsoKind, Layer and StressPos. True when values for them are ready.
  bool EnsureIsoValues(ProgressObserver* progress = nullptr) { return values_.EnsureIsoValues(progress); }
  ValueBounds ValueRange() const { return KnotValueRange(Knots()); }
  std::int32_t MaxLayerCount() const { return tavir::MaxLayerCount(Elements()); }

  // Nodal thickness averages of the section views, in their own store.
  void AverageKnotThickness(ProgressObserver* progress = nullptr) { values_.AverageKnotThickness(progress); }
  const KnotThicknessStore& KnotThickness() const { return values_.KnotThickness(); }
  // The box of a section view for a plan view (nullopt for another kind); builds
  // the thickness averages first. The range runs over the visible shells, so the
  // view's screen update must have run.
  std::optional<SectionWindowBox> SectionWindowData(const ViewTransform& view) {
    return values_.SectionWindowData(view);
  }

  // ---- display state ----
  bool IsoVisible() const { return display_.IsoVisible; }
  void SetIsoVisible(bool v) { display_.IsoVisible = v; }
  const TIsoParamsRec& IsoParams() const { return display_.IsoParams; }
  void SetIsoParams(const TIsoParamsRec& p) { display_.IsoParams = p; }
  ResultKind IsoKind() const { return display_.IsoKind; }
  void SetIsoKind(ResultKind v) { display_.SetIsoKind(v); }
  bool BreakFlag() const { return breakFlag_.load(); }
  void SetBreakFlag(bool v) { breakFlag_.store(v); }
  std::int16_t DrawFlags() const { return display_.DrawFlags; }
  void SetDrawFlags(std::int16_t v) { display_.DrawFlags = v; }
  const std::string& FileName() const { return fileName_; }
  std::int32_t Layer() const { return display_.Layer; }
  void SetLayer(std::int32_t v) { display_.Layer = v; }
  Fibre StressPos() const { return display_.StressPos; }
  void SetStressPos(Fibre v) { display_.StressPos = v; }
  tavir::MouseMode MouseMode() const { return display_.MouseMode; }
  void SetMouseMode(tavir::MouseMode v) { display_.MouseMode = v; }
  Extended DefaultScale() const { return display_.DefaultScale; }
  void SetDefaultScale(Extended v) { display_.DefaultScale = v; }
  // The quantity code of the prepared isoline values (0 none).
  std::uint8_t DataState() const { return values_.DataState(); }
  std::int32_t ColorCount() const { return display_.ColorCount; }
  void SetColorCount(std::int32_t v) { display_.ColorCount = v; }

 private:
  class BusyGuard;
  bool AdoptModel(std::unique_ptr<TVelEditorProject>& candidate, const AnalysisWindowData& window,
                  const std::string& fileName);
  void DropResults();
  bool PrepareSystem();
  template <class Stages>
  bool Compute(CalcStatus& status, Stages&& stages);
  void Fail(CalcStatus& status, const std::string& message);
  void Finish(CalcStatus& status);

  MessageService& messages_;
  ViewerHooks* hooks_ = nullptr;
  ModelUi* ui_ = nullptr;
  std::shared_ptr<const ModelFactory> factory_;
  std::unique_ptr<TVelEditorProject> model_;  // swapped with a read model, never replaced
  std::optional<AnalysisWindowData> firstWindow_;
  std::string fileName_;
  bool busy_ = false;
  std::atomic<bool> breakFlag_{false};
  ResultDisplayState display_;

  AnalysisRun run_;
  PreparedValues values_;
  AdaptationLoop adaptation_;
};

}  // namespace tavir
