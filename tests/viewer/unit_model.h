#pragma once
// A sample model read into result classes as the analysis program opens it
// (no default material, knots numbered by their position), with an analysis run
// on it: the analysis project's units tested without the project.
#include <string>
#include <vector>

#include "viewer/analysis_run.h"
#include "viewer/viewer_project.h"
#include "viewer_fixture.h"
#include "fakes/scripted_messages.h"

namespace tavir::viewertest {

struct UnitModel {
  ScriptedMessages Messages;
  TVelEditorProject Model{MakeResultModelFactory()};
  AnalysisRun Run{Model, Messages};
  AnalysisWindowData Window;

  explicit UnitModel(const std::string& example) : UnitModel(ExampleBytes(example)) {}
  explicit UnitModel(const std::vector<std::uint8_t>& bytes) {
    Model.Materials().FreeAll();
    ReadAnalysisProjectBytes(bytes, Model, Window);
    for (std::int32_t i = 0; i < Model.Knots().Count(); ++i) AsResultKnot(Model.Knots().At(i))->SetNumber(i);
  }

  // The run checked and allocated, as a computation starts.
  void Prepare() {
    ASSERT_TRUE(Run.Check());
    ASSERT_TRUE(Run.Allocate());
  }
  // A whole static analysis, ended well.
  void Solve(ProgressObserver& status) {
    Prepare();
    if (::testing::Test::HasFatalFailure()) return;
    Run.StaticStages(status);
    Run.CalcStresses();
    Run.MarkSolved();
  }
  void Solve() {
    ProgressObserver quiet;
    Solve(quiet);
  }
  TMLResultShell* Shell(std::int32_t i) { return AsResultShell(Model.Elements().At(i)); }
};

}  // namespace tavir::viewertest
