// The analysis run on its own: its stages on a model read as the analysis
// program reads it, its band system from run to run, and what a refused model
// keeps.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/shell_check.h"
#include "unit_model.h"

namespace tavir {
namespace {

using viewertest::ExampleBytes;
using viewertest::RecordingStatus;
using viewertest::UnitModel;

class EveryExampleRun : public ::testing::TestWithParam<std::string> {};

// The run alone gives, to the last bit, what the analysis project shows.
TEST_P(EveryExampleRun, GivesTheProjectsDisplacementsAndStresses) {
  UnitModel u(GetParam());
  u.Prepare();
  RecordingStatus status;
  u.Run.StaticStages(status);
  // Solved but not yet ended: nothing counts as a result.
  EXPECT_FALSE(u.Run.HasResults());
  u.Run.CalcStresses();
  EXPECT_FALSE(u.Run.HasResults());
  u.Run.MarkSolved();
  ASSERT_TRUE(u.Run.HasResults());
  EXPECT_TRUE(u.Messages.Shown.empty());
  EXPECT_EQ(status.Stages.back(), kStageStresses);

  viewertest::Viewer v;
  v.Open(GetParam());
  RecordingStatus projectStatus;
  ASSERT_TRUE(v.Project.StaticCalculate(projectStatus));
  EXPECT_EQ(u.Run.LoadVector(), v.Project.LoadVector());
  EXPECT_EQ(u.Run.BandWidth(), v.Project.BandWidth());
  EXPECT_EQ(u.Run.EquationCount(), v.Project.EquationCount());
  ASSERT_EQ(u.Model.Elements().Count(), v.Project.Elements().Count());
  for (std::int32_t i = 0; i < u.Model.Elements().Count(); ++i) {
    const TMLResultShell* mine = u.Shell(i);
    const TMLResultShell* theirs = AsResultShell(v.Project.Elements().At(i));
    ASSERT_EQ(mine == nullptr, theirs == nullptr) << i;
    if (mine == nullptr) continue;
    for (int f = 0; f < 3; ++f) EXPECT_TRUE(mine->Stresses[f] == theirs->Stresses[f]) << i << " fibre " << f;
  }
  // The status window saw the same stages and bars.
  EXPECT_EQ(status.Stages, projectStatus.Stages);
  EXPECT_EQ(status.Bars, projectStatus.Bars);
}

INSTANTIATE_TEST_SUITE_P(Examples, EveryExampleRun,
                         ::testing::Values("plate_simply_supported.tps", "plate_clamped.tps", "shell_spherical.tps",
                                           "shell_two_materials.tps"));

// Each iteration of the adaptation starts its load bar from 0 and its system from
// zero: a restarted run solves the same model to the same bits.
TEST(AnalysisRun, ARestartedRunStartsFromAZeroSystemAndItsLoadBarFromZero) {
  UnitModel u("plate_clamped.tps");
  u.Prepare();
  RecordingStatus first;
  u.Run.AssembleAndSolve(first, true);
  const long long loads = u.Run.LoadItemCount();
  EXPECT_EQ(loads, u.Model.ConcForces().Count() + u.Model.DispForces().Count() + u.Model.Supports().Count());
  EXPECT_EQ(first.FirstBarIn(kStageLoads), (RecordingStatus::Bar{kStageLoads, 0, loads}));
  EXPECT_EQ(first.Stages, (std::vector<int>{kStageStiffness, kStageLoads, kStageSolve}));
  const std::vector<Extended> solved = u.Run.LoadVector();
  ASSERT_TRUE(std::any_of(solved.begin(), solved.end(), [](Extended x) { return x != 0; }));

  u.Run.Restart();
  ASSERT_EQ(u.Run.LoadVector().size(), solved.size());
  EXPECT_TRUE(std::all_of(u.Run.LoadVector().begin(), u.Run.LoadVector().end(), [](Extended x) { return x == 0; }));
  const BandMatrix& k = u.Run.Stiffness();
  ASSERT_TRUE(k.IsAllocated());
  EXPECT_TRUE(std::all_of(k.Data(), k.Data() + k.Size() * k.BandWidth(), [](Extended x) { return x == 0; }));

  RecordingStatus second;
  u.Run.AssembleAndSolve(second, true);
  EXPECT_EQ(u.Run.LoadVector(), solved);
  EXPECT_EQ(second.Bars, first.Bars);

  // The static analysis' load bar goes on from the assembly's position instead.
  u.Run.Restart();
  RecordingStatus onward;
  u.Run.AssembleAndSolve(onward, false);
  EXPECT_EQ(onward.FirstBarIn(kStageLoads),
            (RecordingStatus::Bar{kStageLoads, static_cast<long long>(u.Model.Elements().Count()), loads}));
  EXPECT_EQ(u.Run.LoadVector(), solved);
}

// The energy band is assembled from the element matrices of the last assembly: a
// thickness changed after the solve does not reach it, and W is the work of the
// loads on the displacements.
TEST(AnalysisRun, TheEnergyBandKeepsTheElementMatricesOfTheSolve) {
  UnitModel u("plate_simply_supported.tps");
  u.Prepare();
  ProgressObserver quiet;
  u.Run.AssembleAndSolve(quiet, true);
  u.Run.AssembleEnergyBand(quiet);
  const Extended w = u.Run.SolvedEnergy();
  std::vector<Extended> f(u.Run.LoadVector().size(), 0);
  for (const auto& c : u.Model.ConcForces().Items()) AddConcForce(*c, f);
  for (const auto& d : u.Model.DispForces().Items()) AddDispForce(*d, f);
  Extended work = 0;
  for (std::size_t i = 0; i < f.size(); ++i) work += f[i] * u.Run.LoadVector()[i];
  work /= 2;
  ASSERT_GT(w, 0);
  EXPECT_NEAR(w, work, 1e-6L * w);

  for (const auto& e : u.Model.Elements().Items())
    if (TMLResultShell* s = AsResultShell(e.get())) s->Layers.Layer(0)->SetThickness(0.3L);
  u.Run.AssembleEnergyBand(quiet);
  EXPECT_EQ(u.Run.SolvedEnergy(), w);
}

// A model the check refuses says why and keeps the results of the last run; a
// model it takes drops them only when the new system is allocated.
TEST(AnalysisRun, ARefusedModelKeepsTheLastResults) {
  UnitModel u("plate_simply_supported.tps");
  u.Solve();
  ASSERT_TRUE(u.Run.HasResults());
  const std::vector<Extended> solved = u.Run.LoadVector();

  u.Shell(3)->Layers.Layer(0)->SetThickness(0);
  EXPECT_FALSE(u.Run.Check());
  ASSERT_EQ(u.Messages.Shown.size(), 1u);
  EXPECT_EQ(u.Messages.Shown[0].Kind, MsgKind::Error);
  EXPECT_EQ(u.Messages.Shown[0].Text, CheckShellForAnalysis(*u.Shell(3), 3).value_or(""));
  EXPECT_TRUE(u.Run.HasResults());
  EXPECT_EQ(u.Run.LoadVector(), solved);

  u.Shell(3)->Layers.Layer(0)->SetThickness(0.1L);
  ASSERT_TRUE(u.Run.Check());
  EXPECT_TRUE(u.Run.HasResults());
  ASSERT_TRUE(u.Run.Allocate());
  ASSERT_EQ(u.Run.LoadVector().size(), solved.size());
  EXPECT_TRUE(std::all_of(u.Run.LoadVector().begin(), u.Run.LoadVector().end(), [](Extended x) { return x == 0; }));
  EXPECT_FALSE(u.Run.HasResults()) << "a new system is no result";

  // A model without knots: its own message, the run as it was.
  ScriptedMessages messages;
  TVelEditorProject empty(MakeResultModelFactory());
  AnalysisRun none(empty, messages);
  EXPECT_FALSE(none.Check());
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, kNoKnotsText);
  EXPECT_EQ(none.EquationCount(), 0);
}

// Drop keeps the buffers for the next run; Free gives them back.
TEST(AnalysisRun, DropKeepsTheBuffersFreeReleasesThem) {
  UnitModel u("plate_clamped.tps");
  u.Solve();
  u.Run.Drop();
  EXPECT_FALSE(u.Run.HasResults());
  EXPECT_TRUE(u.Run.LoadVector().empty());
  EXPECT_TRUE(u.Run.Stiffness().IsAllocated());
  EXPECT_GT(u.Run.LoadVector().capacity(), 0u);
  u.Run.Free();
  EXPECT_FALSE(u.Run.Stiffness().IsAllocated());
  EXPECT_EQ(u.Run.LoadVector().capacity(), 0u);
  // And the next run allocates again.
  u.Solve();
  EXPECT_TRUE(u.Run.HasResults());
}

}  // namespace
}  // namespace tavir
