#include "viewer/viewer_project.h"

#include <cmath>
#include <exception>
#include <new>
#include <stdexcept>

#include "analysis/band_solver.h"
#include "analysis/band_system.h"
#include "analysis/shell_check.h"
#include "analysis/stress_recovery.h"
#include "platform/numtext.h"

namespace tavir {

std::unique_ptr<TEditorKnot> ResultModelFactory::MakeKnot() const { return std::make_unique<TResultKnot>(); }

std::unique_ptr<TMLEditorElement> ResultModelFactory::MakePlate(ElementType elementType,
                                                                const std::shared_ptr<TPhisPropRodNL>& material) const {
  return std::make_unique<TMLResultPlate>(elementType, material);
}

std::unique_ptr<TMLEditorShell> ResultModelFactory::MakeShell(ElementType elementType,
                                                              const std::shared_ptr<TPhisPropRodNL>& material) const {
  return std::make_unique<TMLResultShell>(elementType, material);
}

std::shared_ptr<const ModelFactory> MakeResultModelFactory() {
  static const std::shared_ptr<const ModelFactory> factory = std::make_shared<ResultModelFactory>();
  return factory;
}

class TViewerProject::BusyGuard {
 public:
  explicit BusyGuard(TViewerProject& p) : p_(p) { p_.busy_ = true; }
  ~BusyGuard() { p_.busy_ = false; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  TViewerProject& p_;
};

namespace {

// A project without any item: the analysis program keeps no default material.
std::unique_ptr<TVelEditorProject> EmptyModel(const std::shared_ptr<const ModelFactory>& factory, ModelUi* ui) {
  auto p = std::make_unique<TVelEditorProject>(factory, ui);
  p->Materials().FreeAll();
  p->SetFileName("");
  return p;
}

void Renumber(TFinKnots& knots) {
  for (std::int32_t i = 0; i < knots.Count(); ++i)
    if (TResultKnot* k = AsResultKnot(knots.At(i))) k->SetNumber(i);
}

}  // namespace

TViewerProject::TViewerProject(MessageService& messages, ViewerHooks* hooks, ModelUi* ui)
    : messages_(messages), hooks_(hooks), ui_(ui), factory_(MakeResultModelFactory()),
      model_(EmptyModel(factory_, ui)) {}

TViewerProject::~TViewerProject() = default;

TResultKnot* TViewerProject::KnotAt(std::int32_t i) const { return AsResultKnot(model_->Knots().At(i)); }

// ---- loading ----

namespace {

[[noreturn]] void ThrowOutOfMemory(const std::string& fileName) {
  throw std::runtime_error(std::string(kOutOfMemoryText) + " для чтения файла " + fileName +
                           ". Открытый проект не изменен.");
}

}  // namespace

bool TViewerProject::LoadProjectFile(const std::string& fileName) {
  if (busy_) return false;
  BusyGuard busy(*this);  // the material chooser may run events while the file is read
  try {
    // Everything is read into a fresh model first; any fault leaves this one untouched.
    auto candidate = EmptyModel(factory_, ui_);
    AnalysisWindowData window;
    if (!ReadAnalysisProject(fileName, *candidate, window, messages_)) return false;
    return AdoptModel(candidate, window, fileName);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(fileName);
  }
}

bool TViewerProject::LoadProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName) {
  if (busy_) return false;
  BusyGuard busy(*this);
  try {
    auto candidate = EmptyModel(factory_, ui_);
    AnalysisWindowData window;
    ReadAnalysisProjectBytes(bytes, *candidate, window);
    return AdoptModel(candidate, window, fileName);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(fileName);
  }
}

bool TViewerProject::AdoptModel(std::unique_ptr<TVelEditorProject>& candidate, const AnalysisWindowData& window,
                                const std::string& fileName) {
  // What may still allocate comes before the first change of this project.
  std::string name = fileName;
  std::optional<AnalysisWindowData> first = window;
  candidate->SetFileName(fileName);
  Renumber(candidate->Knots());

  DropResults();
  isoVisible_ = false;
  model_->Swap(*candidate);
  fileName_.swap(name);
  layer_ = -1;
  firstWindow_.swap(first);
  candidate.reset();  // the previous model's items go now
  if (hooks_) {
    hooks_->ProjectCleared();
    hooks_->RunAction(kViewerModeAction);
    hooks_->WindowLoaded(window);
  }
  return true;
}

bool TViewerProject::LoadResultsFile(const std::string& fileName) {
  (void)fileName;
  return false;
}

void TViewerProject::DropKnotValues() {
  for (const auto& k : model_->Knots().Items())
    if (TResultKnot* rk = AsResultKnot(k.get())) rk->ClearValues();
  preparedKey_.reset();
  levelsKey_.reset();
  dataState_ = kDataNone;
  thickness_.Clear();
}

void TViewerProject::DropResults() {
  // The buffers stay allocated for the next analysis; only the contents go.
  // Whether isolines are shown is the user's choice and outlives a new solve: the
  // dropped knot values are prepared again by the next repaint.
  solved_ = false;
  loadVector_.clear();
  stiffness_.Reset();
  energyStiffness_.Reset();
  DropKnotValues();
}

bool TViewerProject::Clear() {
  if (busy_) return false;
  DropResults();
  isoVisible_ = false;
  stiffness_.Clear();
  energyStiffness_.Clear();
  loadVector_.shrink_to_fit();
  auto empty = EmptyModel(factory_, ui_);
  model_->Swap(*empty);
  empty.reset();
  layer_ = -1;
  if (hooks_) {
    hooks_->ProjectCleared();
    hooks_->RunAction(kViewerModeAction);
  }
  return true;
}

// ---- static analysis ----

bool TViewerProject::CheckModel() {
  std::int32_t shells = 0;
  const auto& items = model_->Elements().Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TMLResultShell* shell = AsResultShell(items[i].get());
    if (shell == nullptr) continue;
    ++shells;
    if (auto problem = CheckShellForAnalysis(*shell, static_cast<std::int64_t>(i))) {
      messages_.Error(*problem);
      return false;
    }
  }
  if (shells == 0) {
    messages_.Error(kNoShellsText);
    return false;
  }
  return true;
}

UnplacedItems FindUnplacedItems(const TVelEditorProject& model) {
  UnplacedItems out;
  const auto& supports = model.Supports().Items();
  for (std::size_t i = 0; i < supports.size(); ++i)
    if (supports[i]->Knot == nullptr)
      out.Supports.push_back({static_cast<std::int32_t>(i), supports[i]->FileReference});
  const auto& conc = model.ConcForces().Items();
  for (std::size_t i = 0; i < conc.size(); ++i)
    if (conc[i]->Knot == nullptr) out.ConcForces.push_back({static_cast<std::int32_t>(i), conc[i]->FileReference});
  const auto& disp = model.DispForces().Items();
  for (std::size_t i = 0; i < disp.size(); ++i)
    if (disp[i]->Element == nullptr)
      out.DispForces.push_back({static_cast<std::int32_t>(i), disp[i]->FileReference});
  return out;
}

namespace {

// "№ 0 (узел 99), 3 (узел не задан)" and at most ten items, then how many more.
std::string PositionList(const std::vector<UnplacedItem>& items, const char* referent) {
  constexpr std::size_t kShown = 10;
  std::string text = "№ ";
  for (std::size_t i = 0; i < items.size() && i < kShown; ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(items[i].Position);
    text += " (";
    text += referent;
    if (items[i].Reference < 0) {
      text += " не задан";
    } else {
      text += ' ';
      text += std::to_string(items[i].Reference);
    }
    text += ')';
  }
  if (items.size() > kShown) text += " и еще " + std::to_string(items.size() - kShown);
  return text;
}

}  // namespace

std::string UnplacedItemsText(const UnplacedItems& items) {
  if (items.Empty()) return "";
  std::string text = "Не учитываются в расчете (" + std::to_string(items.Count()) + "):";
  if (!items.Supports.empty())
    text += "\rзакрепления без узла (" + std::to_string(items.Supports.size()) + "): " + PositionList(items.Supports, "узел");
  if (!items.ConcForces.empty())
    text += "\rсосредоточенные нагрузки без узла (" + std::to_string(items.ConcForces.size()) +
            "): " + PositionList(items.ConcForces, "узел");
  if (!items.DispForces.empty())
    text += "\rраспределенные нагрузки без элемента (" + std::to_string(items.DispForces.size()) +
            "): " + PositionList(items.DispForces, "элемент");
  return text;
}

void TViewerProject::WarnUnplacedItems() {
  const UnplacedItems items = FindUnplacedItems(*model_);
  if (!items.Empty()) messages_.Warning(UnplacedItemsText(items));
}

bool TViewerProject::CheckResults(std::string& message) const {
  // The displacement isolines compare their values in double: every displacement
  // must be one. Knots of shells are covered by the stress recovery already; this
  // also holds the knots no shell uses.
  for (std::size_t i = 0; i < loadVector_.size(); ++i) {
    if (!RecoveredValueUsable(loadVector_[i])) {
      message = "Узел " + std::to_string(i / 5) + ", степень свободы " + std::to_string(i % 5) +
                ": перемещение не является конечным числом или превышает допустимый диапазон.";
      return false;
    }
  }
  return true;
}

bool TViewerProject::AllocateSystem() {
  try {
    stiffness_.Allocate(static_cast<std::size_t>(equationCount_), static_cast<std::size_t>(bandWidth_));
    loadVector_.assign(static_cast<std::size_t>(equationCount_), 0);
  } catch (const BandError& e) {
    DropResults();
    messages_.Error(e.what());
    return false;
  } catch (const std::bad_alloc&) {
    DropResults();
    messages_.Error(BandMemoryMessage(static_cast<std::size_t>(equationCount_), static_cast<std::size_t>(bandWidth_)));
    return false;
  }
  return true;
}

void TViewerProject::Assemble(BandMatrix& matrix, bool recompute, CalcStatus& status) {
  const long long count = model_->Elements().Count();
  status.SetBar(0, count);
  if (recompute) {
    // The element matrices are independent: computed on every core first, then
    // added in list order, so the band is the same as with the plain loop.
    // Checked here first so that a shell the adaptation has spoilt (a thickness
    // gone to 0 or beyond the range) is named by its place in the element list.
    std::vector<TMLResultShell*> shells;
    std::vector<std::int64_t> positions;  // of the shells in the element list
    shells.reserve(static_cast<std::size_t>(count));
    positions.reserve(static_cast<std::size_t>(count));
    const auto& list = model_->Elements().Items();
    for (std::size_t i = 0; i < list.size(); ++i) {
      TMLResultShell* shell = AsResultShell(list[i].get());
      if (shell == nullptr) continue;
      const auto position = static_cast<std::int64_t>(i);
      if (auto problem = CheckShellForAnalysis(*shell, position)) throw ElementError(*problem);
      shells.push_back(shell);
      positions.push_back(position);
    }
    CalcShellStiffnesses(shells);
    // An element matrix that overflowed is named here, before it reaches the band
    // and the solver could only call the system singular.
    for (std::size_t j = 0; j < shells.size(); ++j)
      if (auto problem = CheckElementStiffness(shells[j]->Stiffness, positions[j])) throw ElementError(*problem);
  }
  long long step = 0;
  for (const auto& e : model_->Elements().Items()) {
    if (TMLResultShell* shell = AsResultShell(e.get())) AddToSystem(*shell, matrix);
    status.SetBar(++step, count);
  }
}

long long TViewerProject::LoadItemCount() const {
  return static_cast<long long>(model_->ConcForces().Count()) + model_->DispForces().Count() +
         model_->Supports().Count() + model_->Pliants().Count() + model_->Hardlesses().Count() +
         model_->KnotDisp().Count();
}

void TViewerProject::AddLoadsAndSupports(CalcStatus& status, long long position) {
  const long long maximum = LoadItemCount();
  std::span<Extended> f(loadVector_);
  for (const auto& c : model_->ConcForces().Items()) {
    AddConcForce(*c, f);
    status.SetBar(++position, maximum);
  }
  for (const auto& d : model_->DispForces().Items()) {
    AddDispForce(*d, f);
    status.SetBar(++position, maximum);
  }
  for (const auto& s : model_->Supports().Items()) {
    ApplySupport(*s, stiffness_, f);
    status.SetBar(++position, maximum);
  }
}

void TViewerProject::CalcStresses() {
  const auto& items = model_->Elements().Items();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (TMLResultShell* shell = AsResultShell(items[i].get()))
      shell->CalcStresses(loadVector_, static_cast<std::int64_t>(i));
  std::string problem;
  if (!CheckResults(problem)) throw ElementError(problem);
}

void TViewerProject::Fail(CalcStatus& status, const std::string& message) {
  // Partial results are never shown: the displacements of a failed run are dropped.
  DropResults();
  isoVisible_ = false;
  status.HideStatus();
  messages_.Error(message);
  if (hooks_) hooks_->RepaintAllViews();
}

bool TViewerProject::PrepareSystem() {
  if (model_->Knots().Count() == 0) {
    messages_.Error(kNoKnotsText);
    return false;
  }
  try {
    bandWidth_ = tavir::BandWidth(model_->Elements().Items());
    equationCount_ = 5 * model_->Knots().Count();
    if (!CheckModel()) return false;
    WarnUnplacedItems();
  } catch (const std::bad_alloc&) {
    messages_.Error(std::string(kOutOfMemoryText) + " для проверки модели.");
    return false;
  } catch (const std::exception& e) {
    messages_.Error(e.what());
    return false;
  }
  DropResults();
  return AllocateSystem();
}

namespace {

std::string OutOfMemoryAnalysisText() {
  return std::string(kOutOfMemoryText) + " для расчета. Результаты не сохранены.";
}

}  // namespace

bool TViewerProject::StaticCalculate(CalcStatus& status) {
  if (busy_) return false;
  BusyGuard busy(*this);
  if (!PrepareSystem()) return false;

  status.ShowStatus();
  try {
    status.SetStage(kStageStiffness);
    status.Pump();
    Assemble(stiffness_, true, status);

    status.SetStage(kStageLoads);
    const long long assembled = model_->Elements().Count();
    status.SetBar(assembled, LoadItemCount());  // a new range; the position goes on
    status.Pump();
    AddLoadsAndSupports(status, assembled);

    status.SetStage(kStageSolve);
    status.Pump();
    SolveBand(stiffness_, std::span<Extended>(loadVector_), &status);

    status.SetStage(kStageStresses);  // the potential-energy row is passed over
    status.Pump();
    CalcStresses();
  } catch (const std::bad_alloc&) {
    Fail(status, OutOfMemoryAnalysisText());
    return false;
  } catch (const std::exception& e) {
    Fail(status, e.what());
    return false;
  }
  Finish(status);
  return true;
}

// ---- adaptation ----

// The rise step (the rise adaptation runs first, until its surfaces converge),
// with its cell of the status window. unconverged: the surfaces whose rise has not
// converged. False when a new rise cannot be used: the surfaces are put back as
// they were for this iteration's solve and stopText says why.
bool TViewerProject::AdaptRiseStep(std::int32_t iteration, Extended w, Extended v0, CalcStatus& status,
                                   std::vector<std::int32_t>& unconverged, std::string& stopText) {
  // Without materials there is no target density: the rise coefficient is 1.
  const auto first = model_->Materials().Material(0);
  const Extended u0 = TargetEnergyDensity(first.get());
  const Extended c = RiseCoefficient(w, v0, u0);
  const SurfaceSnapshot before(model_->ShellFuncs());
  const RiseStepResult step =
      tavir::AdaptRiseStep(model_->ShellFuncs(), AdaptParams.FlightDirection, AdaptParams.Precision, c);
  unconverged = step.Unconverged;
  if (step.Unsound >= 0) {
    before.Restore(model_->ShellFuncs());
    stopText = AdaptUnusableRiseText(SurfaceName(model_->ShellFuncs(), step.Unsound), iteration);
    return false;
  }
  if (step.Converged) AdaptParams.SetAdaptFlight(false);
  model_->ApplyShellFuncs();
  status.SetCell(2, kRowCurrent, FormatExponent(EnergyMeasure(w, u0), 7, 0));
  status.Pump();
  return true;
}

// The thickness step, with its cells of the status window. False when it leaves a
// shell that cannot be analysed or a volume change that is no number: the
// thicknesses are put back as they were for this iteration's solve and stopText
// says why.
bool TViewerProject::AdaptThicknessStep(std::int32_t iteration, Extended v0, CalcStatus& status,
                                        std::string& stopText) {
  const ThicknessSnapshot before(model_->Elements());
  UpdateThicknesses(model_->Elements(), loadVector_);
  thickness_.Clear();  // the section views' averages belong to the old thicknesses
  std::optional<std::string> problem;
  const auto& items = model_->Elements().Items();
  for (std::size_t i = 0; i < items.size() && !problem; ++i)
    if (const TMLResultShell* shell = AsResultShell(items[i].get()))
      problem = CheckShellForAnalysis(*shell, static_cast<std::int64_t>(i));
  const Extended v1 = TotalVolume(model_->Elements());
  const Extended change = VolumeChange(v0, v1);
  if (!problem && !std::isfinite(change))
    problem = "изменение объема не является конечным числом (объем " + FormatGeneral(v0) + " и " + FormatGeneral(v1) + ").";
  if (problem) {
    before.Restore(model_->Elements());
    stopText = AdaptUnusableThicknessText(*problem, iteration);
    return false;
  }
  status.SetCell(1, kRowCurrent, FormatGeneral(v1));
  status.SetCell(2, kRowCurrent, FormatGeneral(change));
  status.Pump();
  if (change < AdaptParams.Precision && iteration != 1) AdaptParams.SetAdaptThickness(false);
  return true;
}

std::string TViewerProject::NotConvergedText(std::int32_t iterations,
                                             const std::vector<std::int32_t>& unconverged) const {
  std::string text = AdaptNotConvergedText(iterations);
  if (AdaptParams.AdaptFlight) {
    text += "\r";
    text += kAdaptRiseNotConvergedText;
    for (std::size_t i = 0; i < unconverged.size(); ++i) {
      if (i > 0) text += ", ";
      text += SurfaceName(model_->ShellFuncs(), unconverged[i]);
    }
    text += '.';
  } else if (AdaptParams.AdaptThickness) {
    text += "\r";
    text += kAdaptThicknessNotConvergedText;
  }
  return text;
}

bool TViewerProject::Adaptation(AdaptParamsDialog& dialog, CalcStatus& status) {
  if (busy_) return false;
  BusyGuard busy(*this);
  const bool hasSurfaces = model_->ShellFuncs().Count() > 0;
  TAdaptParams edited = AdaptParams;
  edited.SetAdaptFlight(hasSurfaces);
  if (!dialog.Execute(edited, hasSurfaces)) return false;
  // A precision of 0 or less would never let the loop end.
  if (const std::string problem = CheckAdaptParams(edited); !problem.empty()) {
    messages_.Error(problem);
    return false;
  }
  AdaptParams.Assign(edited);

  if (!PrepareSystem()) return false;

  status.ShowStatus();
  SetBreakFlag(false);
  std::int32_t iteration = 1;
  status.Pump();
  Extended w = 0;
  std::vector<std::int32_t> unconverged;  // the surfaces of the last rise step not converged
  try {
    status.SetLabel(kAdaptPrepareLabel);
    PrepareAdaptation(model_->Elements(), &status);
    status.SetLabel("");

    const std::size_t n = static_cast<std::size_t>(equationCount_);
    const std::size_t bw = static_cast<std::size_t>(bandWidth_);
    // Why the adaptation ends before it converged (empty: a Break, the end of
    // both adaptations, or the iteration limit).
    std::string stopText;
    for (;;) {
      status.SetCell(1, kRowIteration, std::to_string(iteration));
      status.SetStage(kStageStiffness);
      status.Pump();
      Assemble(stiffness_, true, status);
      status.SetStage(kStageLoads);

      status.SetBar(0, LoadItemCount());
      status.Pump();
      AddLoadsAndSupports(status, 0);
      status.SetStage(kStageSolve);
      status.Pump();

      SolveBand(stiffness_, std::span<Extended>(loadVector_), &status);
      status.Pump();

      const Extended v0 = TotalVolume(model_->Elements());
      status.SetCell(1, kRowPrevious, FormatGeneral(v0));
      status.SetStage(kStageEnergy);

      status.SetLabel(kAdaptRestoreLabel);
      energyStiffness_.Allocate(n, bw);
      Assemble(energyStiffness_, false, status);

      status.SetLabel(kAdaptEnergyLabel);
      w = PotentialEnergy(energyStiffness_);
      status.SetLabel("");
      status.Pump();

      status.SetLabel(kAdaptRiseLabel);
      if (AdaptParams.AdaptFlight) AdaptRiseStep(iteration, w, v0, status, unconverged, stopText);

      status.SetLabel(kAdaptThicknessLabel);
      if (stopText.empty() && !AdaptParams.AdaptFlight && AdaptParams.AdaptThickness)
        AdaptThicknessStep(iteration, v0, status, stopText);

      if (AdaptParams.RefreshView && hooks_) hooks_->RepaintCurrentView();
      status.Pump();

      const std::string energyText = kPotentialEnergyText + FormatExponent(w, 7, 0);
      const bool converged = !AdaptParams.AdaptThickness && !AdaptParams.AdaptFlight;
      const bool exhausted = iteration >= adaptIterationLimit_;
      const bool stop = BreakFlag() || converged || exhausted || !stopText.empty();
      if (stop) {
        messages_.Show(MsgKind::Plain, "", energyText, MsgButtons::Ok);
        if (!stopText.empty()) {
          messages_.Warning(stopText);
        } else if (exhausted && !converged && !BreakFlag()) {
          messages_.Warning(NotConvergedText(adaptIterationLimit_, unconverged));
        }
        status.SetStage(kStageStresses);
      } else {
        status.SetLabel(energyText);
      }
      status.Pump();
      if (stop) break;
      stiffness_.Reset();
      std::fill(loadVector_.begin(), loadVector_.end(), 0);
      ++iteration;
    }

    status.Pump();
    if (BreakFlag()) messages_.Show(MsgKind::Plain, "", kAdaptBrokenText, MsgButtons::Ok);
    // The displacements of the last solve, with the thicknesses and surfaces as
    // the last iteration left them.
    CalcStresses();
  } catch (const std::bad_alloc&) {
    Fail(status, OutOfMemoryAnalysisText());
    return false;
  } catch (const std::exception& e) {
    Fail(status, e.what());
    return false;
  }
  Finish(status);
  return true;
}

void TViewerProject::Finish(CalcStatus& status) {
  status.HideStatus();
  DropKnotValues();
  solved_ = true;
  if (hooks_) hooks_->RepaintAllViews();
}

// ---- knot values ----

bool TViewerProject::PrepareKnotValues(ResultKind kind, std::int32_t layer, Fibre fibre,
                                       ProgressObserver* progress) {
  if (!HasResults() || !IsResultQuantity(kind)) return false;
  std::unique_ptr<ProgressObserver> box;
  if (progress == nullptr && boxes_ != nullptr) progress = (box = boxes_->OpenProgressBox()).get();
  if (!tavir::PrepareKnotValues(model_->Knots(), model_->Elements(), loadVector_, kind, layer, fibre, progress))
    return false;
  preparedKey_ = MakeKnotValuesKey(kind, layer, fibre);
  return true;
}

bool TViewerProject::PrepareIsoLines(std::int32_t layer, Fibre fibre, IsoParamsDialog* dialog,
                                     ProgressObserver* progress) {
  if (!HasResults() || !IsResultQuantity(isoKind_)) return false;
  if (IsStressKind(isoKind_)) {
    layer_ = layer;
    stressPos_ = fibre;
  }
  const KnotValuesKey key = MakeKnotValuesKey(isoKind_, layer, fibre);
  if (!preparedKey_ || *preparedKey_ != key) {
    if (!PrepareKnotValues(isoKind_, layer, fibre, progress)) return false;
    if (progress) progress->Pump();
  }
  // The levels keep the user's edits while they belong to these values.
  if (!levelsKey_ || *levelsKey_ != key) {
    const int freedom = FreedomOfKind(isoKind_);
    const ValueBounds range =
        freedom >= 0 ? FreedomValueRange(model_->Knots(), loadVector_, freedom) : KnotValueRange(model_->Knots());
    isoParams_ = DefaultIsoParams(isoKind_, range.Min, range.Max);
    levelsKey_ = key;
    dataState_ = DataStateOfKind(isoKind_);
  }
  if (progress) progress->Pump();
  if (dialog == nullptr) {
    isoVisible_ = true;
  } else {
    TIsoParamsRec edited = isoParams_;
    if (dialog->Execute(edited)) {
      isoParams_ = edited;
      isoVisible_ = true;
    } else {
      isoVisible_ = false;
    }
  }
  drawFlags_ = static_cast<std::int16_t>(drawFlags_ | kViewDrawIsolines);
  return true;
}

bool TViewerProject::EnsureIsoValues(ProgressObserver* progress) {
  if (!isoVisible_ || !HasResults() || !IsResultQuantity(isoKind_)) return false;
  const KnotValuesKey key = MakeKnotValuesKey(isoKind_, layer_, stressPos_);
  if (preparedKey_ && *preparedKey_ == key) return true;
  return PrepareIsoLines(layer_, stressPos_, nullptr, progress);
}

void TViewerProject::AverageKnotThickness(ProgressObserver* progress) {
  if (thickness_.Ready()) return;
  std::unique_ptr<ProgressObserver> box;
  if (progress == nullptr && boxes_ != nullptr) progress = (box = boxes_->OpenProgressBox()).get();
  thickness_.Build(model_->Knots(), model_->Elements(), progress);
}

std::optional<SectionWindowBox> TViewerProject::SectionWindowData(const ViewTransform& view) {
  if (view.Projection != Projection::XY) return std::nullopt;
  AverageKnotThickness();
  Extended lower = 1E4096L;
  Extended upper = -1;
  for (const auto& e : model_->Elements().Items()) {
    const TMLResultShell* shell = AsResultShell(e.get());
    if (shell == nullptr || shell->Visible == 0) continue;
    const Extended t = ShellThickness(*shell);
    for (const TEditorKnot* k : shell->Knots) {
      if (k == nullptr) continue;
      for (const Extended v : {-(k->Z - t / 2), -(k->Z + t / 2)}) {
        lower = std::min(lower, v);
        upper = std::max(upper, v);
      }
    }
  }
  SectionWindowBox d;
  d.MinPoint = view.MinPoint;
  d.MinPoint.Z = lower;
  d.MaxPoint = view.MaxPoint;
  d.MaxPoint.Z = upper;
  d.Scale = FloatPoint(0.01L, 0.01L);
  return d;
}

}  // namespace tavir
