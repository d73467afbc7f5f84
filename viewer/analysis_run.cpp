#include "viewer/analysis_run.h"

#include <algorithm>
#include <exception>
#include <new>
#include <span>

#include "analysis/band_solver.h"
#include "analysis/band_system.h"
#include "analysis/shell_check.h"
#include "analysis/stress_recovery.h"
#include "viewer/adaptation.h"
#include "viewer/knot_values.h"

namespace tavir {

std::string OutOfMemoryAnalysisText() {
  return std::string(kOutOfMemoryText) + " для расчета. Результаты не сохранены.";
}

// ---- the model check ----

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

void AnalysisRun::WarnUnplacedItems() {
  const UnplacedItems items = FindUnplacedItems(model_);
  if (!items.Empty()) messages_.Warning(UnplacedItemsText(items));
}

bool AnalysisRun::CheckShells() {
  std::int32_t shells = 0;
  const auto& items = model_.Elements().Items();
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

bool AnalysisRun::Check() {
  if (model_.Knots().Count() == 0) {
    messages_.Error(kNoKnotsText);
    return false;
  }
  try {
    bandWidth_ = tavir::BandWidth(model_.Elements().Items());
    equationCount_ = 5 * model_.Knots().Count();
    if (!CheckShells()) return false;
    WarnUnplacedItems();
  } catch (const std::bad_alloc&) {
    messages_.Error(std::string(kOutOfMemoryText) + " для проверки модели.");
    return false;
  } catch (const std::exception& e) {
    messages_.Error(e.what());
    return false;
  }
  return true;
}

// ---- the band system ----

bool AnalysisRun::Allocate() {
  solved_ = false;  // the zeros are no result
  try {
    stiffness_.Allocate(static_cast<std::size_t>(equationCount_), static_cast<std::size_t>(bandWidth_));
    loadVector_.assign(static_cast<std::size_t>(equationCount_), 0);
  } catch (const BandError& e) {
    Drop();
    messages_.Error(e.what());
    return false;
  } catch (const std::bad_alloc&) {
    Drop();
    messages_.Error(BandMemoryMessage(static_cast<std::size_t>(equationCount_), static_cast<std::size_t>(bandWidth_)));
    return false;
  }
  return true;
}

void AnalysisRun::Drop() {
  solved_ = false;
  loadVector_.clear();
  stiffness_.Reset();
  energyStiffness_.Reset();
}

void AnalysisRun::Free() {
  Drop();
  stiffness_.Clear();
  energyStiffness_.Clear();
  loadVector_.shrink_to_fit();
}

void AnalysisRun::Restart() {
  stiffness_.Reset();
  std::fill(loadVector_.begin(), loadVector_.end(), 0);
}

long long AnalysisRun::LoadItemCount() const {
  return static_cast<long long>(model_.ConcForces().Count()) + model_.DispForces().Count() +
         model_.Supports().Count() + model_.Pliants().Count() + model_.Hardlesses().Count() +
         model_.KnotDisp().Count();
}

void AnalysisRun::Assemble(BandMatrix& matrix, bool recompute, ProgressObserver& status) {
  const long long count = model_.Elements().Count();
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
    const auto& list = model_.Elements().Items();
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
  for (const auto& e : model_.Elements().Items()) {
    if (TMLResultShell* shell = AsResultShell(e.get())) AddToSystem(*shell, matrix);
    status.SetBar(++step, count);
  }
}

void AnalysisRun::AddLoadsAndSupports(ProgressObserver& status, long long position) {
  const long long maximum = LoadItemCount();
  std::span<Extended> f(loadVector_);
  for (const auto& c : model_.ConcForces().Items()) {
    AddConcForce(*c, f);
    status.SetBar(++position, maximum);
  }
  for (const auto& d : model_.DispForces().Items()) {
    AddDispForce(*d, f);
    status.SetBar(++position, maximum);
  }
  for (const auto& s : model_.Supports().Items()) {
    ApplySupport(*s, stiffness_, f);
    status.SetBar(++position, maximum);
  }
}

// ---- the stages ----

void AnalysisRun::AssembleAndSolve(ProgressObserver& status, bool restartLoadBar) {
  status.SetStage(kStageStiffness);
  status.Pump();
  Assemble(stiffness_, true, status);

  status.SetStage(kStageLoads);
  const long long start = restartLoadBar ? 0 : static_cast<long long>(model_.Elements().Count());
  status.SetBar(start, LoadItemCount());  // a new range; the position goes on or starts again
  status.Pump();
  AddLoadsAndSupports(status, start);

  status.SetStage(kStageSolve);
  status.Pump();
  SolveBand(stiffness_, std::span<Extended>(loadVector_), &status);
}

void AnalysisRun::StaticStages(ProgressObserver& status) {
  AssembleAndSolve(status, false);
  status.SetStage(kStageStresses);  // the potential-energy row is passed over
  status.Pump();
}

void AnalysisRun::AssembleEnergyBand(ProgressObserver& status) {
  energyStiffness_.Allocate(static_cast<std::size_t>(equationCount_), static_cast<std::size_t>(bandWidth_));
  Assemble(energyStiffness_, false, status);
}

Extended AnalysisRun::PotentialEnergy(const BandMatrix& matrix) const {
  return tavir::PotentialEnergy(matrix, loadVector_);
}

bool AnalysisRun::CheckResults(std::string& message) const {
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

void AnalysisRun::CalcStresses() {
  const auto& items = model_.Elements().Items();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (TMLResultShell* shell = AsResultShell(items[i].get()))
      shell->CalcStresses(loadVector_, static_cast<std::int64_t>(i));
  std::string problem;
  if (!CheckResults(problem)) throw ElementError(problem);
}

}  // namespace tavir
