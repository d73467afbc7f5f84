#pragma once
// The adaptation driver: the settings asked for, then the iterations of a static
// analysis, its potential energy, the rise step of the shell surfaces and the
// thickness step of the layers (viewer/adaptation.h), until both adaptations have
// converged, the user breaks, a step leaves a model that cannot be analysed
// again, or the iteration limit is reached.
//
// The loop runs on the analysis run it is given (allocated by its caller) and
// leaves the displacements of its last solve there; the stresses and the end of
// the computation are its caller's.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/project.h"
#include "platform/extended.h"
#include "platform/services.h"
#include "viewer/adaptation.h"
#include "viewer/analysis_run.h"

namespace tavir {

// The adaptation settings dialog: edits the copy; true for OK. hasSurfaces says
// whether the rise controls are enabled (the copy's AdaptFlight is set to it first).
class AdaptParamsDialog {
 public:
  virtual ~AdaptParamsDialog() = default;
  virtual bool Execute(TAdaptParams& params, bool hasSurfaces) = 0;
};

// What the loop tells the rest of the program while it runs; either may be empty.
struct AdaptationEvents {
  // The thickness step has changed the layer thicknesses (averages built from the
  // old ones are stale).
  std::function<void()> ThicknessesChanged;
  // After every iteration when the settings ask for it: the current view shows
  // the model as this iteration left it.
  std::function<void()> RepaintCurrentView;
};

// The process labels of the status window during an iteration.
inline constexpr const char* kAdaptPrepareLabel = "Подготовка адаптации";
inline constexpr const char* kAdaptRestoreLabel = "Восстановление матрицы жесткости";
inline constexpr const char* kAdaptEnergyLabel = "Вычисление потенциальной энергии";
inline constexpr const char* kAdaptRiseLabel = "Адаптация стрелы подъема";
inline constexpr const char* kAdaptThicknessLabel = "Адаптация толщины";

// The adaptation stops after this many iterations even when it has not converged
// (a precision too fine for the volumes to settle), with a warning.
inline constexpr std::int32_t kMaxAdaptIterations = 1000;
// The messages that end an adaptation: the energy of its last solve, then what
// stopped it, if anything but convergence.
inline constexpr const char* kPotentialEnergyText = "Потенциальная энергия системы: ";
inline constexpr const char* kAdaptBrokenText = "Процесс адаптации прерван!";
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

class AdaptationLoop {
 public:
  // The settings and the break flag are the project's: the loop edits the
  // settings' switches as the adaptations converge and reads the flag once an
  // iteration.
  AdaptationLoop(TVelEditorProject& model, AnalysisRun& run, TAdaptParams& params, MessageService& messages,
                 BreakFlag& breakFlag, AdaptationEvents events = {})
      : model_(model), run_(run), params_(params), messages_(messages), breakFlag_(breakFlag),
        events_(std::move(events)) {}
  AdaptationLoop(const AdaptationLoop&) = delete;
  AdaptationLoop& operator=(const AdaptationLoop&) = delete;

  // The dialog on a copy of the settings (its rise switch on exactly when the
  // model has surfaces). False for Cancel and for settings that could not end the
  // loop (their message shown); the settings are taken over only when true.
  bool AskParams(AdaptParamsDialog& dialog);

  // The iterations, from a reset break flag. The run must be allocated for the
  // model; throws when a stage fails.
  void Run(ProgressObserver& status);

  // The iteration limit (kMaxAdaptIterations unless set; at least 1).
  std::int32_t IterationLimit() const { return limit_; }
  void SetIterationLimit(std::int32_t v) { limit_ = std::max<std::int32_t>(1, v); }

 private:
  bool AdaptRiseStep(std::int32_t iteration, Extended w, Extended v0, ProgressObserver& status,
                     std::vector<std::int32_t>& unconverged, std::string& stopText);
  bool AdaptThicknessStep(std::int32_t iteration, Extended v0, ProgressObserver& status, std::string& stopText);
  std::string NotConvergedText(std::int32_t iterations, const std::vector<std::int32_t>& unconverged) const;

  TVelEditorProject& model_;
  AnalysisRun& run_;
  TAdaptParams& params_;
  MessageService& messages_;
  BreakFlag& breakFlag_;
  AdaptationEvents events_;
  std::int32_t limit_ = kMaxAdaptIterations;
};

}  // namespace tavir
