#pragma once
// The project root of the analysis program: the model read from a project file
// into result classes, the band matrix and load vector of the analysis (allocated
// here and reused; the analysis only fills and reads them), the adaptation
// settings and the state of the isoline display.
//
// Opening is all or nothing: the file is read into fresh lists, which take the
// place of the open ones only when the whole file was read; a refused file leaves
// the open model, its results and the file name as they were.
//
// A computation reports through a CalcStatus (the status window) and lets the
// interface run between its stages (Pump). While it runs the project is busy: no
// other computation, no open and no Clear may start (they return false), so an
// event handled inside a pump can never free the lists under the running loop.
#include <algorithm>
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
#include "viewer/iso_levels.h"
#include "viewer/knot_values.h"

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

// The status window of a computation: shown at the start, hidden at the end
// (also when it fails), stage rows 1..11 and cells of columns 1 and 2.
class CalcStatus : public ProgressObserver {
 public:
  virtual void ShowStatus() {}
  virtual void HideStatus() {}
};

// Stage rows of the status window.
inline constexpr int kStageStiffness = 1;     // "Формирование матрицы жесткости"
inline constexpr int kStageLoads = 2;         // "Формирование вектора нагрузки"
inline constexpr int kStageSolve = 3;         // "Решение системы уравнений"
inline constexpr int kStageEnergy = 4;        // "Вычисление потенциальной энергии"
inline constexpr int kStageStresses = 5;      // "Вычисление напряжений"
inline constexpr int kRowIteration = 7;       // "Итерация:"
inline constexpr int kRowCurrent = 10;        // "На текущей итерации:"
inline constexpr int kRowPrevious = 11;       // "На предыдущей итерации:"

inline constexpr const char* kAdaptPrepareLabel = "Подготовка адаптации";
inline constexpr const char* kAdaptRestoreLabel = "Восстановление матрицы жесткости";
inline constexpr const char* kAdaptEnergyLabel = "Вычисление потенциальной энергии";
inline constexpr const char* kAdaptRiseLabel = "Адаптация стрелы подъема";
inline constexpr const char* kAdaptThicknessLabel = "Адаптация толщины";
inline constexpr const char* kPotentialEnergyText = "Потенциальная энергия системы: ";
inline constexpr const char* kAdaptBrokenText = "Процесс адаптации прерван!";
inline constexpr const char* kNoShellsText = "В модели нет оболочечных элементов: расчет невозможен!";
inline constexpr const char* kNoKnotsText = "В модели нет узлов: расчет невозможен!";
// Every allocation failure of loading and analysis starts with this text.
inline constexpr const char* kOutOfMemoryText = "Недостаточно памяти";
// The adaptation stops after this many iterations even when it has not converged
// (a precision too fine for the volumes to settle), with a warning.
inline constexpr std::int32_t kMaxAdaptIterations = 1000;
inline std::string AdaptNotConvergedText(std::int32_t iterations = kMaxAdaptIterations) {
  return "Адаптация не сошлась за " + std::to_string(iterations) + " итераций: процесс остановлен.";
}
// What ends an adaptation that has not converged, told after the energy message;
// the results shown are those of the last iteration whose model could be analysed.
inline constexpr const char* kAdaptRiseNotConvergedText = "Не сошлась стрела подъема: ";
inline constexpr const char* kAdaptThicknessNotConvergedText = "Не сошлась адаптация толщины.";
inline std::string AdaptUnusableRiseText(const std::string& surface, std::int32_t iteration) {
  return "Стрела подъема (" + surface + ") стала равной нулю, слишком малой или не конечной на итерации " +
         std::to_string(iteration) + ": адаптация остановлена, стрела подъема оставлена прежней.";
}
inline std::string AdaptUnusableThicknessText(const std::string& problem, std::int32_t iteration) {
  return "Адаптация толщины остановлена на итерации " + std::to_string(iteration) +
         ", толщины оставлены прежними: " + problem;
}
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

// Opens the two-bar progress box for one preparation of knot values or thickness
// averages: the box is shown while the returned observer lives.
class ProgressBoxOpener {
 public:
  virtual ~ProgressBoxOpener() = default;
  virtual std::unique_ptr<ProgressObserver> OpenProgressBox() = 0;
};

// The adaptation settings dialog: edits the copy; true for OK. hasSurfaces says
// whether the rise controls are enabled (the copy's AdaptFlight is set to it first).
class AdaptParamsDialog {
 public:
  virtual ~AdaptParamsDialog() = default;
  virtual bool Execute(TAdaptParams& params, bool hasSurfaces) = 0;
};

// The isoline dialog: edits the record; true for OK.
class IsoParamsDialog {
 public:
  virtual ~IsoParamsDialog() = default;
  virtual bool Execute(TIsoParamsRec& params) = 0;
};

// Draw flags of the result views: the model's (kDrawLoads, kDrawKnots,
// kDrawSupports, kDrawShells of TVelEditorProject::Draw) and these.
// The supports and loads that the analysis cannot place: a support or a
// concentrated load without its knot, a distributed load without its element (the
// file named none, or a position outside the list). They stay in the model and
// the file; the warning names each by its position in its list and the knot or
// element number the file gave, and counts them. Empty when every item is placed.
struct UnplacedItem {
  std::int32_t Position = 0;    // in its own list
  std::int32_t Reference = -1;  // the knot or element position the file named
  bool operator==(const UnplacedItem&) const = default;
};
struct UnplacedItems {
  std::vector<UnplacedItem> Supports, ConcForces, DispForces;
  bool Empty() const { return Supports.empty() && ConcForces.empty() && DispForces.empty(); }
  std::size_t Count() const { return Supports.size() + ConcForces.size() + DispForces.size(); }
};
UnplacedItems FindUnplacedItems(const TVelEditorProject& model);
std::string UnplacedItemsText(const UnplacedItems& items);

inline constexpr std::int16_t kViewDrawLayerZones = 0x200;
inline constexpr std::int16_t kViewDrawIsolines = 0x400;
inline constexpr std::int16_t kViewDrawZoneFills = 0x800;
inline constexpr std::int16_t kViewDrawOutlines = 0x4000;
inline constexpr std::int16_t kViewDrawDefault = kDrawKnots | kDrawSupports | kViewDrawOutlines;  // 0x400C

// The box of a new section view (kind 2, white, scale 0.01).
struct SectionWindowBox {
  TFloatPoint3D MinPoint;
  TFloatPoint3D MaxPoint;
  RgbColor Color = 0xFFFFFF;
  Projection Kind = Projection::XZ;
  TFloatPoint Scale;
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
  void SetProgressBoxes(ProgressBoxOpener* boxes) { boxes_ = boxes; }

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
  // kOutOfMemoryText, everything unchanged.
  bool LoadProjectFile(const std::string& fileName);
  bool LoadProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName);
  // The results file type: nothing is read.
  bool LoadResultsFile(const std::string& fileName);
  bool Clear();
  bool StaticCalculate(CalcStatus& status);
  bool Adaptation(AdaptParamsDialog& dialog, CalcStatus& status);

  bool IsBusy() const { return busy_; }
  // The adaptation's iteration limit (kMaxAdaptIterations unless set; at least 1).
  std::int32_t AdaptIterationLimit() const { return adaptIterationLimit_; }
  void SetAdaptIterationLimit(std::int32_t v) { adaptIterationLimit_ = std::max<std::int32_t>(1, v); }

  // The first stored window of the file opened last (none before the first open).
  const std::optional<AnalysisWindowData>& FirstWindow() const { return firstWindow_; }

  // ---- results ----
  // Whether displacements of the current model exist (a successful solve). Not
  // while a computation runs: the vector then holds loads or a partial solve, and
  // a repaint in one of its pumps must not draw them.
  bool HasResults() const { return solved_ && !loadVector_.empty(); }
  const std::vector<Extended>& LoadVector() const { return loadVector_; }
  const BandMatrix& Stiffness() const { return stiffness_; }
  std::int32_t BandWidth() const { return bandWidth_; }
  std::int32_t EquationCount() const { return equationCount_; }
  // Every knot's Z and every shell's curvatures from the surfaces.
  void ApplyShellFuncs() { model_->ApplyShellFuncs(); }
  // W = F · (K F) / 2 with the displacements.
  Extended PotentialEnergy(const BandMatrix& matrix) const { return tavir::PotentialEnergy(matrix, loadVector_); }

  // ---- knot values and isolines ----
  // Values of the quantity at the knots; false without results or for kind 8.
  bool PrepareKnotValues(ResultKind kind, std::int32_t layer, Fibre fibre,
                         ProgressObserver* progress = nullptr);
  // What the knots' values hold now (none after a load, a solve or Clear).
  const std::optional<KnotValuesKey>& PreparedKey() const { return preparedKey_; }
  // The isoline command: values for IsoKind at the layer and fibre when they are
  // not the prepared ones (then IsoParams take the defaults of their range);
  // silent: IsoVisible := true, else the dialog decides. Sets the isoline draw
  // flag. For a stress quantity the layer and fibre become the project's Layer and
  // StressPos, so the repaint finds the values it draws already prepared and keeps
  // the levels the user set. False when nothing was done (no results, kind 8).
  bool PrepareIsoLines(std::int32_t layer, Fibre fibre, IsoParamsDialog* dialog, ProgressObserver* progress = nullptr);
  // Before isolines are drawn: prepares silently when the prepared values are not
  // those of IsoKind, Layer and StressPos. True when values for them are ready.
  bool EnsureIsoValues(ProgressObserver* progress = nullptr);
  ValueBounds ValueRange() const { return KnotValueRange(Knots()); }
  std::int32_t MaxLayerCount() const { return tavir::MaxLayerCount(Elements()); }

  // Nodal thickness averages of the section views, in their own store.
  void AverageKnotThickness(ProgressObserver* progress = nullptr);
  const KnotThicknessStore& KnotThickness() const { return thickness_; }
  // The box of a section view for a plan view (nullopt for another kind); builds
  // the thickness averages first. The range runs over the visible shells, so the
  // view's screen update must have run.
  std::optional<SectionWindowBox> SectionWindowData(const ViewTransform& view);

  // ---- display state ----
  bool IsoVisible() const { return isoVisible_; }
  void SetIsoVisible(bool v) { isoVisible_ = v; }
  const TIsoParamsRec& IsoParams() const { return isoParams_; }
  void SetIsoParams(const TIsoParamsRec& p) { isoParams_ = p; }
  ResultKind IsoKind() const { return isoKind_; }
  void SetIsoKind(ResultKind v) {
    isoKind_ = v;
    isoParams_.Kind = v;
  }
  bool BreakFlag() const { return breakFlag_.load(); }
  void SetBreakFlag(bool v) { breakFlag_.store(v); }
  std::int16_t DrawFlags() const { return drawFlags_; }
  void SetDrawFlags(std::int16_t v) { drawFlags_ = v; }
  const std::string& FileName() const { return fileName_; }
  std::int32_t Layer() const { return layer_; }
  void SetLayer(std::int32_t v) { layer_ = v; }
  Fibre StressPos() const { return stressPos_; }
  void SetStressPos(Fibre v) { stressPos_ = v; }
  tavir::MouseMode MouseMode() const { return mouseMode_; }
  void SetMouseMode(tavir::MouseMode v) { mouseMode_ = v; }
  Extended DefaultScale() const { return defaultScale_; }
  void SetDefaultScale(Extended v) { defaultScale_ = v; }
  // The quantity code of the prepared isoline values (0 none).
  std::uint8_t DataState() const { return dataState_; }
  std::int32_t ColorCount() const { return colorCount_; }
  void SetColorCount(std::int32_t v) { colorCount_ = v; }

 private:
  class BusyGuard;
  bool AdoptModel(std::unique_ptr<TVelEditorProject>& candidate, const AnalysisWindowData& window,
                  const std::string& fileName);
  void DropResults();
  void DropKnotValues();
  bool CheckModel();
  bool PrepareSystem();
  bool CheckResults(std::string& message) const;
  void WarnUnplacedItems();
  bool AllocateSystem();
  void Assemble(BandMatrix& matrix, bool recompute, CalcStatus& status);
  void AddLoadsAndSupports(CalcStatus& status, long long startPosition);
  void CalcStresses();
  long long LoadItemCount() const;
  void Fail(CalcStatus& status, const std::string& message);
  void Finish(CalcStatus& status);
  bool AdaptRiseStep(std::int32_t iteration, Extended w, Extended v0, CalcStatus& status,
                     std::vector<std::int32_t>& unconverged, std::string& stopText);
  bool AdaptThicknessStep(std::int32_t iteration, Extended v0, CalcStatus& status, std::string& stopText);
  std::string NotConvergedText(std::int32_t iterations, const std::vector<std::int32_t>& unconverged) const;

  MessageService& messages_;
  ViewerHooks* hooks_ = nullptr;
  ProgressBoxOpener* boxes_ = nullptr;
  ModelUi* ui_ = nullptr;
  std::shared_ptr<const ModelFactory> factory_;
  std::unique_ptr<TVelEditorProject> model_;
  std::optional<AnalysisWindowData> firstWindow_;

  BandMatrix stiffness_;
  BandMatrix energyStiffness_;  // the adaptation's second band (the solver destroys the first)
  std::vector<Extended> loadVector_;
  bool solved_ = false;  // loadVector_ holds the displacements of a finished computation
  std::int32_t bandWidth_ = 0;
  std::int32_t equationCount_ = 0;

  bool busy_ = false;
  std::int32_t adaptIterationLimit_ = kMaxAdaptIterations;
  std::atomic<bool> breakFlag_{false};
  bool isoVisible_ = false;
  TIsoParamsRec isoParams_;
  ResultKind isoKind_ = ResultKind::Ux;
  std::int16_t drawFlags_ = kViewDrawDefault;
  std::string fileName_;
  std::int32_t layer_ = -1;
  Fibre stressPos_ = Fibre::Upper;
  tavir::MouseMode mouseMode_ = tavir::MouseMode::View;
  Extended defaultScale_ = 0.01L;
  std::uint8_t dataState_ = kDataNone;
  std::int32_t colorCount_ = 2;
  std::optional<KnotValuesKey> preparedKey_;  // what the knots' values hold
  std::optional<KnotValuesKey> levelsKey_;    // what IsoParams were defaulted for
  KnotThicknessStore thickness_;
};

}  // namespace tavir
