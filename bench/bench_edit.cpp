// Editing operations on large meshes: deleting the selected elements of a square
// region of side × side shell rectangles, with a support and a concentrated load on
// every tenth knot and a distributed load on every tenth element. Two selections:
// every element, and a checkerboard (half the elements, every knot still used by a
// survivor). Only the deletion is timed; building the model is not.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "model/model_ui_dialogs.h"
#include "model/project.h"
#include "platform/services.h"
#include "fakes/scripted_messages.h"
#include "fakes/scripted_model_dialogs.h"

namespace tavir {
namespace {

std::unique_ptr<TVelEditorProject> SquareModel(std::int32_t side) {
  auto p = std::make_unique<TVelEditorProject>();
  ViewTransform window;
  window.Projection = Projection::XY;
  window.Grid.StepX = window.Grid.StepY = window.Grid.StepZ = 1;
  ScriptedModelDialogs dialogs;
  DivideDialogValues answer;
  answer.StepX = answer.StepY = 1;
  answer.Nx = answer.Ny = side;
  dialogs.DivideAnswers.push_back(answer);
  ScriptedMessages messages;
  const auto s = static_cast<Extended>(side);
  DivideRegion(p->Elements(), FloatPoint(0, s), FloatPoint(s, 0), p->Materials().Material(0), ElementKind::Shell,
               ElementType::Rectangle, window, dialogs, messages);
  TForceRecord force{};
  force.Pz = -1;
  TFixation fixed{};
  fixed[2] = 1;
  for (std::int32_t i = 0; i < p->Knots().Count(); i += 10) {
    AddSupport(p->Supports(), p->Knots().At(i), fixed);
    AddForce(p->ConcForces(), p->Knots().At(i), force);
  }
  for (std::int32_t i = 0; i < p->Elements().Count(); i += 10)
    AddForce(p->DispForces(), p->Elements().At(i), force);
  return p;
}

void Delete(benchmark::State& state, bool checkerboard) {
  const auto side = static_cast<std::int32_t>(state.range(0));
  std::int64_t deleted = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TVelEditorProject> p = SquareModel(side);
    TFinElements& elements = p->Elements();
    for (std::int32_t i = 0; i < elements.Count(); ++i) {
      // Rectangles come column by column, side of them each.
      const bool pick = !checkerboard || ((i / side + i % side) % 2 == 0);
      if (pick) elements.Select(elements.At(i), nullptr);
    }
    state.ResumeTiming();
    deleted = DeleteSelected(elements, nullptr);
    benchmark::DoNotOptimize(deleted);
    state.PauseTiming();
    p.reset();  // freeing the rest is not the deletion's cost
    state.ResumeTiming();
  }
  state.counters["deleted"] = static_cast<double>(deleted);
}

void BM_DeleteSelectedAll(benchmark::State& state) { Delete(state, false); }
void BM_DeleteSelectedCheckerboard(benchmark::State& state) { Delete(state, true); }

// 10 000, 40 000 and 1 000 000 elements.
BENCHMARK(BM_DeleteSelectedAll)->Arg(100)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DeleteSelectedCheckerboard)->Arg(100)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tavir

BENCHMARK_MAIN();
