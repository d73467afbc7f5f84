// The programs as the user meets them: the real main forms, headless, driven
// through their commands (open, "Расчет", "Адаптация"), timed beside the same
// work through the library in the same run. Each program benchmark reports
// `ratio`, its time over its library twin's best time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <limits>

#include "bench/program_bench.h"
#include "viewer/qt/dm_main_out.h"
#include "viewer/qt/rs_output.h"
#include "viewer/viewer_project.h"

namespace tavir::bench {

namespace {

// The best library time of each work, for the ratios of the program twins.
std::map<std::string, double>& LibraryBest() {
  static std::map<std::string, double> best;
  return best;
}

void KeepBest(const std::string& key, double seconds) {
  auto [it, added] = LibraryBest().emplace(key, seconds);
  if (!added) it->second = std::min(it->second, seconds);
}

void ReportRatio(benchmark::State& state, const std::string& key, double programBest) {
  const auto it = LibraryBest().find(key);
  if (it == LibraryBest().end() || it->second <= 0) return;
  state.counters["library_s"] = it->second;
  state.counters["ratio"] = programBest / it->second;
}

// The adaptation settings: the thickness only, the view repainted after each
// iteration (the dialog's defaults otherwise).
void ThicknessOnly(TAdaptParams& p) {
  p.SetAdaptFlight(false);
  p.SetAdaptThickness(true);
  p.SetRefreshView(true);
}

class ThicknessDialog : public AdaptParamsDialog {
 public:
  bool Execute(TAdaptParams& params, bool) override {
    ThicknessOnly(params);
    return true;
  }
};

std::string AnalysisKey(int n) { return "analysis/" + std::to_string(n); }
const char* const kAdaptationSample = "shell_two_materials.tps";
const char* const kAdaptationKey = "adaptation";

void BM_AnalysisInLibrary(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  PrintedMessages messages;
  TViewerProject project(messages);
  if (!project.LoadProjectFile(PlateFile(n))) {
    state.SkipWithError("the plate could not be read");
    return;
  }
  double best = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    QuietStatus status;
    bool solved = false;
    const double s = TimeOnce([&] { solved = project.StaticCalculate(status); });
    if (!solved) state.SkipWithError("the analysis failed");
    state.SetIterationTime(s);
    best = std::min(best, s);
  }
  KeepBest(AnalysisKey(n), best);
  state.counters["equations"] = 5.0 * (n + 1) * (n + 1);
}

// Open the plate, then "Расчет" until the command returns (the status window
// closed and the views repainted with the results).
void BM_AnalysisInProgram(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  CalcProgram program;
  if (!program.Open(PlateFile(n))) {
    state.SkipWithError("the plate could not be opened");
    return;
  }
  double best = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    const double s = TimeOnce([&] {
      program.dm.Run("AcSolve_StaticCalculate");
      QApplication::processEvents();
    });
    if (!program.Project().HasResults()) state.SkipWithError("the analysis gave no results");
    state.SetIterationTime(s);
    best = std::min(best, s);
  }
  ReportRatio(state, AnalysisKey(n), best);
  state.counters["messages"] = program.messages.Count;
}

void BM_AdaptationInLibrary(benchmark::State& state) {
  double best = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    PrintedMessages messages;
    TViewerProject project(messages);
    if (!project.LoadProjectFile(ExampleFile(kAdaptationSample))) {
      state.SkipWithError("the sample could not be read");
      return;
    }
    ThicknessDialog dialog;
    QuietStatus status;
    bool adapted = false;
    const double s = TimeOnce([&] { adapted = project.Adaptation(dialog, status); });
    if (!adapted) state.SkipWithError("the adaptation failed");
    state.SetIterationTime(s);
    best = std::min(best, s);
  }
  KeepBest(kAdaptationKey, best);
}

// Open the sample, "Адаптация", then from OK (the thickness only, "Обновлять окно"
// on) until the command returns and the views are painted.
void BM_AdaptationInProgram(benchmark::State& state) {
  double best = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    CalcProgram program;
    if (!program.Open(ExampleFile(kAdaptationSample))) {
      state.SkipWithError("the sample could not be opened");
      return;
    }
    Clock::time_point t0;
    program.answers.Accept("AdaptParsDlg", [&](QDialog&) { t0 = Clock::now(); });
    TAdaptParams params;
    ThicknessOnly(params);
    program.Project().AdaptParams = params;
    program.dm.Run("AcSolv_Adaptation");
    QApplication::processEvents();
    const double s = SecondsSince(t0);
    if (!program.Project().HasResults()) state.SkipWithError("the adaptation gave no results");
    state.SetIterationTime(s);
    best = std::min(best, s);
  }
  ReportRatio(state, kAdaptationKey, best);
}

}  // namespace

BENCHMARK(BM_AnalysisInLibrary)->Arg(100)->Iterations(3)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_AnalysisInProgram)->Arg(100)->Iterations(3)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_AdaptationInLibrary)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdaptationInProgram)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace tavir::bench

int main(int argc, char** argv) {
  // The real forms without a display unless one is asked for.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
