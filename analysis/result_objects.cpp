#include "analysis/result_objects.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

#include "analysis/shell_check.h"
#include "analysis/shell_stiffness.h"
#include "analysis/stress_recovery.h"

namespace tavir {

void TResultKnot::AddKey(TMaterialKey key) {
  if (!HasKey(key)) Values.push_back({key, 0});
}

void TResultKnot::SetValue(TMaterialKey key, Extended value) {
  for (TKnotValue& v : Values)
    if (v.Key == key) {
      v.Value = value;
      return;
    }
}

Extended TResultKnot::ValueOf(TMaterialKey key) const {
  for (const TKnotValue& v : Values)
    if (v.Key == key) return v.Value;
  return 0;
}

bool TResultKnot::HasKey(TMaterialKey key) const {
  return std::any_of(Values.begin(), Values.end(), [key](const TKnotValue& v) { return v.Key == key; });
}

TMaterialKey TResultKnot::KeyAt(std::int32_t index) const {
  if (index < 0 || index >= ValueCount()) return nullptr;
  return Values[static_cast<std::size_t>(index)].Key;
}

TMLResultShell::TMLResultShell(tavir::ElementType elementType, const std::shared_ptr<TPhisPropRodNL>& material)
    : TMLEditorShell(elementType, material, ElementKind::Shell) {}

TMaterialKey TMLResultShell::LayerMaterial(std::int32_t index) const {
  return Layers.LayerMaterial(index).get();
}

std::vector<TLayerInput> TMLResultShell::LayerInputs() const {
  std::vector<TLayerInput> inputs;
  inputs.reserve(static_cast<std::size_t>(Layers.Count()));
  for (std::int32_t i = 0; i < Layers.Count(); ++i) {
    const auto layer = Layers.Layer(i);
    const auto material = layer ? layer->Material() : nullptr;
    if (!material) throw EElementError("Элемент, слой " + std::to_string(i) + ": у слоя не задан материал");
    inputs.push_back({layer->Thickness, layer->Z, layer->TypeLayer, material->E, material->mu, material->Fi});
  }
  return inputs;
}

void TMLResultShell::LayerElasticity() {
  const std::vector<TLayerInput> inputs = LayerInputs();
  TFloatVector k(inputs.size()), g(inputs.size());
  TFloat3DMatrix q(inputs.size(), TFloat2DMatrix(3, 3));
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const TLayerElastic el = LayerElastic(inputs[i]);
    k[i] = el.K;
    g[i] = el.G;
    for (std::size_t r = 0; r < 3; ++r)
      for (std::size_t c = 0; c < 3; ++c) q[i][r][c] = el.Q[r][c];
  }
  LayerK = std::move(k);
  LayerG = std::move(g);
  LayerQ = std::move(q);
}

void TMLResultShell::LayerMatrices(TFloat3DMatrix& L) const {
  L.assign(LayerQ.size(), TFloat2DMatrix(5, 5));
  for (std::size_t i = 0; i < LayerQ.size(); ++i)
    for (std::size_t r = 0; r < 3; ++r)
      for (std::size_t c = 0; c < 3; ++c) L[i][r][c] = LayerQ[i][r][c];
}

void TMLResultShell::SectionMatrix(TFloat2DMatrix& D) const {
  const std::vector<TLayerInput> inputs = LayerInputs();
  if (inputs.size() != LayerQ.size())
    throw EElementError("Элемент: характеристики слоёв не вычислены для текущего набора слоёв");
  std::vector<TLayerElastic> el(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    el[i].K = LayerK[i];
    el[i].G = LayerG[i];
    for (std::size_t r = 0; r < 3; ++r)
      for (std::size_t c = 0; c < 3; ++c) el[i].Q[r][c] = LayerQ[i][r][c];
  }
  TSectionArray d;
  tavir::SectionMatrix(inputs, el, d);
  D = ToMatrix(d);
}

void TMLResultShell::BuildTransform() {
  const auto rect = AnalysisRectangle(*this);
  if (!rect) {
    throw EElementError(CheckShellForAnalysis(*this, -1).value_or("Элемент: оболочка не является прямоугольником"));
  }
  TMatrix20 t;
  ShellTransform(rect->a, rect->b, t);
  Transform = ToMatrix(t);
}

void TMLResultShell::CalcStiffness() {
  if (auto problem = CheckShellForAnalysis(*this, -1)) throw EElementError(*problem);
  const TShellRectangle rect = *AnalysisRectangle(*this);
  const std::vector<TLayerInput> inputs = LayerInputs();

  std::vector<TLayerElastic> el(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) el[i] = LayerElastic(inputs[i]);
  TSectionArray D;
  tavir::SectionMatrix(inputs, el, D);
  TMatrix20 k, t;
  ShellStiffness(rect.a, rect.b, Kx, Ky, D, k, t);

  // Everything is computed: only now are the element's fields replaced, in the
  // storage they already have when the layer count is the same.
  LayerK.resize(inputs.size());
  LayerG.resize(inputs.size());
  LayerQ.resize(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    LayerK[i] = el[i].K;
    LayerG[i] = el[i].G;
    if (LayerQ[i].Rows() != 3 || LayerQ[i].Cols() != 3) LayerQ[i].Resize(3, 3);
    for (std::size_t r = 0; r < 3; ++r)
      for (std::size_t c = 0; c < 3; ++c) LayerQ[i][r][c] = el[i].Q[r][c];
  }
  CopyInto(k, Stiffness);
  CopyInto(t, Transform);
}

void TMLResultShell::CalcStresses(const TFloatVector& vector, std::int64_t index) {
  if (vector.empty()) return;
  const std::string name = AnalysisElementName(index);
  const auto rect = AnalysisRectangle(*this);
  if (!rect) {
    throw EElementError(CheckShellForAnalysis(*this, index).value_or(name + ": оболочка не является прямоугольником"));
  }
  std::array<std::int32_t, 4> numbers{};
  for (std::size_t n = 0; n < 4; ++n) {
    const auto* knot = dynamic_cast<const TResultKnot*>(Knots[n]);
    if (knot == nullptr) throw EElementError(name + ": узел " + std::to_string(n) + " не является узлом расчёта");
    numbers[n] = knot->Number;
  }
  std::array<Extended, 20> q;
  GatherShellValues(vector, numbers, q);
  // The recovery works on the values rounded to double: values that do not
  // survive that rounding give infinite or all-zero strains, never results.
  switch (RoundingToDouble(q)) {
    case DoubleRounding::Kept:
      break;
    case DoubleRounding::Overflow:
      throw EElementError(name + ": перемещения узлов элемента превышают допустимый диапазон (больше 1,8E308), "
                                 "напряжения не могут быть вычислены. Проверьте нагрузки, жесткость и закрепления.");
    case DoubleRounding::Vanish:
      throw EElementError(name + ": перемещения узлов элемента слишком малы (меньше 2,2E-308), "
                                 "напряжения не могут быть вычислены. Проверьте модуль упругости и нагрузки.");
  }
  // The layer constants belong to the current layers; recompute them when the
  // stack has changed since the stiffness was computed.
  if (LayerQ.size() != static_cast<std::size_t>(Layers.Count())) LayerElasticity();

  const TShellStrainField field = ShellStrainField(rect->a, rect->b, Kx, Ky, q);
  const std::size_t layers = LayerQ.size();
  std::vector<std::array<TFibreResult, kFibreCount>> results(layers);
  for (std::size_t j = 0; j < layers; ++j) {
    const auto layer = Layers.Layer(static_cast<std::int32_t>(j));
    TLayerQ Q;
    for (std::size_t r = 0; r < 3; ++r)
      for (std::size_t c = 0; c < 3; ++c) Q[r][c] = LayerQ[j][r][c];
    results[j] = LayerFibres(field, layer->Thickness, layer->Z, Q);
    for (const TFibreResult& fibre : results[j]) {
      for (std::size_t i = 0; i < 3; ++i) {
        if (!RecoveredValueUsable(fibre.Strain[i]) || !RecoveredValueUsable(fibre.Stress[i])) {
          throw EElementError(name + ", слой " + std::to_string(j) + " \"" +
                              Layers.LayerName(static_cast<std::int32_t>(j)) +
                              "\": деформации или напряжения не являются конечными числами (выход за пределы "
                              "диапазона). Проверьте толщину слоя, модуль упругости и нагрузки.");
        }
      }
    }
  }
  // Every value is usable: only now are the element's arrays replaced.
  for (int f = 0; f < kFibreCount; ++f) {
    if (Strains[f].Rows() != layers || Strains[f].Cols() != 3) Strains[f].Resize(layers, 3);
    if (Stresses[f].Rows() != layers || Stresses[f].Cols() != 3) Stresses[f].Resize(layers, 3);
  }
  for (std::size_t j = 0; j < layers; ++j)
    for (int f = 0; f < kFibreCount; ++f)
      for (std::size_t i = 0; i < 3; ++i) {
        Strains[f][j][i] = results[j][f].Strain[i];
        Stresses[f][j][i] = results[j][f].Stress[i];
      }
}

void CalcShellStiffnesses(std::span<TMLResultShell* const> shells, unsigned threads) {
  for (std::size_t i = 0; i < shells.size(); ++i) {
    if (shells[i] == nullptr) throw EElementError("Элемент " + std::to_string(i) + ": элемент отсутствует");
    if (auto problem = CheckShellForAnalysis(*shells[i], static_cast<std::int64_t>(i))) throw EElementError(*problem);
  }
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  // Small lists are not worth a thread.
  const std::size_t perThread = 256;
  threads = static_cast<unsigned>(std::min<std::size_t>(threads, (shells.size() + perThread - 1) / perThread));
  if (threads <= 1) {
    for (TMLResultShell* s : shells) s->CalcStiffness();
    return;
  }
  std::atomic<std::size_t> next{0};
  std::exception_ptr failure;
  std::mutex failureLock;
  auto work = [&] {
    const std::size_t chunk = 64;
    for (;;) {
      const std::size_t begin = next.fetch_add(chunk);
      if (begin >= shells.size()) return;
      const std::size_t end = std::min(shells.size(), begin + chunk);
      try {
        for (std::size_t i = begin; i < end; ++i) shells[i]->CalcStiffness();
      } catch (...) {
        std::lock_guard<std::mutex> lock(failureLock);
        if (!failure) failure = std::current_exception();
      }
    }
  };
  std::vector<std::thread> pool;
  pool.reserve(threads - 1);
  try {
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
  } catch (...) {
    // No more threads to be had: the ones started and this one do the work.
  }
  work();
  for (std::thread& t : pool) t.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace tavir
