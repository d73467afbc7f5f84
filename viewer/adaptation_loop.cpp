#include "viewer/adaptation_loop.h"

#include <cmath>
#include <optional>

#include "analysis/shell_check.h"
#include "platform/numtext.h"
#include "viewer/knot_values.h"

namespace tavir {

bool AdaptationLoop::AskParams(AdaptParamsDialog& dialog) {
  const bool hasSurfaces = model_.ShellFuncs().Count() > 0;
  TAdaptParams edited = params_;
  edited.SetAdaptFlight(hasSurfaces);
  if (!dialog.Execute(edited, hasSurfaces)) return false;
  // A precision of 0 or less would never let the loop end.
  if (const std::string problem = CheckAdaptParams(edited); !problem.empty()) {
    messages_.Error(problem);
    return false;
  }
  params_.Assign(edited);
  return true;
}

// The rise step (the rise adaptation runs first, until its surfaces converge),
// with its cell of the status window. unconverged: the surfaces whose rise has not
// converged. False when a new rise cannot be used: the surfaces are put back as
// they were for this iteration's solve and stopText says why.
bool AdaptationLoop::AdaptRiseStep(std::int32_t iteration, Extended w, Extended v0, ProgressObserver& status,
                                   std::vector<std::int32_t>& unconverged, std::string& stopText) {
  // Without materials there is no target density: the rise coefficient is 1.
  const auto first = model_.Materials().Material(0);
  const Extended u0 = TargetEnergyDensity(first.get());
  const Extended c = RiseCoefficient(w, v0, u0);
  const SurfaceSnapshot before(model_.ShellFuncs());
  const RiseStepResult step =
      tavir::AdaptRiseStep(model_.ShellFuncs(), params_.FlightDirection, params_.Precision, c);
  unconverged = step.Unconverged;
  if (step.Unsound >= 0) {
    before.Restore(model_.ShellFuncs());
    stopText = AdaptUnusableRiseText(SurfaceName(model_.ShellFuncs(), step.Unsound), iteration);
    return false;
  }
  if (step.Converged) params_.SetAdaptFlight(false);
  model_.ApplyShellFuncs();
  status.SetCell(2, kRowCurrent, FormatExponent(EnergyMeasure(w, u0), 7, 0));
  status.Pump();
  return true;
}

// The thickness step, with its cells of the status window. False when it leaves a
// shell that cannot be analysed or a volume change that is no number: the
// thicknesses are put back as they were for this iteration's solve and stopText
// says why.
bool AdaptationLoop::AdaptThicknessStep(std::int32_t iteration, Extended v0, ProgressObserver& status,
                                        std::string& stopText) {
  const ThicknessSnapshot before(model_.Elements());
  UpdateThicknesses(model_.Elements(), run_.LoadVector());
  if (events_.ThicknessesChanged) events_.ThicknessesChanged();
  std::optional<std::string> problem;
  const auto& items = model_.Elements().Items();
  for (std::size_t i = 0; i < items.size() && !problem; ++i)
    if (const TMLResultShell* shell = AsResultShell(items[i].get()))
      problem = CheckShellForAnalysis(*shell, static_cast<std::int64_t>(i));
  const Extended v1 = TotalVolume(model_.Elements());
  const Extended change = VolumeChange(v0, v1);
  if (!problem && !std::isfinite(change))
    problem = "изменение объема не является конечным числом (объем " + FormatGeneral(v0) + " и " + FormatGeneral(v1) + ").";
  if (problem) {
    before.Restore(model_.Elements());
    stopText = AdaptUnusableThicknessText(*problem, iteration);
    return false;
  }
  status.SetCell(1, kRowCurrent, FormatGeneral(v1));
  status.SetCell(2, kRowCurrent, FormatGeneral(change));
  status.Pump();
  if (change < params_.Precision && iteration != 1) params_.SetAdaptThickness(false);
  return true;
}

std::string AdaptationLoop::NotConvergedText(std::int32_t iterations,
                                             const std::vector<std::int32_t>& unconverged) const {
  std::string text = AdaptNotConvergedText(iterations);
  if (params_.AdaptFlight) {
    text += "\r";
    text += kAdaptRiseNotConvergedText;
    for (std::size_t i = 0; i < unconverged.size(); ++i) {
      if (i > 0) text += ", ";
      text += SurfaceName(model_.ShellFuncs(), unconverged[i]);
    }
    text += '.';
  } else if (params_.AdaptThickness) {
    text += "\r";
    text += kAdaptThicknessNotConvergedText;
  }
  return text;
}

void AdaptationLoop::Run(ProgressObserver& status) {
  breakFlag_.store(false);
  std::int32_t iteration = 1;
  status.Pump();
  std::vector<std::int32_t> unconverged;  // the surfaces of the last rise step not converged

  status.SetLabel(kAdaptPrepareLabel);
  PrepareAdaptation(model_.Elements(), &status);
  status.SetLabel("");

  // Why the adaptation ends before it converged (empty: a Break, the end of both
  // adaptations, or the iteration limit).
  std::string stopText;
  for (;;) {
    status.SetCell(1, kRowIteration, std::to_string(iteration));
    run_.AssembleAndSolve(status, true);
    status.Pump();

    const Extended v0 = TotalVolume(model_.Elements());
    status.SetCell(1, kRowPrevious, FormatGeneral(v0));
    status.SetStage(kStageEnergy);

    status.SetLabel(kAdaptRestoreLabel);
    run_.AssembleEnergyBand(status);

    status.SetLabel(kAdaptEnergyLabel);
    const Extended w = run_.SolvedEnergy();
    status.SetLabel("");
    status.Pump();

    status.SetLabel(kAdaptRiseLabel);
    if (params_.AdaptFlight) AdaptRiseStep(iteration, w, v0, status, unconverged, stopText);

    status.SetLabel(kAdaptThicknessLabel);
    if (stopText.empty() && !params_.AdaptFlight && params_.AdaptThickness)
      AdaptThicknessStep(iteration, v0, status, stopText);

    if (params_.RefreshView && events_.RepaintCurrentView) events_.RepaintCurrentView();
    status.Pump();

    const std::string energyText = kPotentialEnergyText + FormatExponent(w, 7, 0);
    const bool converged = !params_.AdaptThickness && !params_.AdaptFlight;
    const bool exhausted = iteration >= limit_;
    const bool stop = breakFlag_.load() || converged || exhausted || !stopText.empty();
    if (stop) {
      messages_.Show(MsgKind::Plain, "", energyText, MsgButtons::Ok);
      if (!stopText.empty()) {
        messages_.Warning(stopText);
      } else if (exhausted && !converged && !breakFlag_.load()) {
        messages_.Warning(NotConvergedText(limit_, unconverged));
      }
      status.SetStage(kStageStresses);
    } else {
      status.SetLabel(energyText);
    }
    status.Pump();
    if (stop) break;
    run_.Restart();
    ++iteration;
  }

  status.Pump();
  if (breakFlag_.load()) messages_.Show(MsgKind::Plain, "", kAdaptBrokenText, MsgButtons::Ok);
}

}  // namespace tavir
