#include "viewer/knot_values.h"

#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "viewer/adaptation.h"

namespace tavir {

bool IsStressKind(ResultKind kind) { return kind == ResultKind::Sx || kind == ResultKind::Sy || kind == ResultKind::Txy; }
bool IsFreedomKind(ResultKind kind) { return FreedomOfKind(kind) >= 0; }

int FreedomOfKind(ResultKind kind) {
  switch (kind) {
    case ResultKind::Ux: return 0;
    case ResultKind::Vy: return 1;
    case ResultKind::Wz: return 2;
    case ResultKind::RotY: return 3;
    case ResultKind::RotX: return 4;
    default: return -1;
  }
}

std::uint8_t DataStateOfKind(ResultKind kind) {
  static constexpr std::array<std::uint8_t, 8> kStates{1, 2, 3, 6, 7, 8, 4, 5};
  const std::uint8_t k = CodeByte(kind);
  return k < kStates.size() ? kStates[k] : kDataNone;
}

namespace {

// The two captions of a quantity, by its code: the progress box's and a view's
// status bar's.
struct KindCaptions {
  const char* Progress;
  const char* Status;
};

const KindCaptions* CaptionsOf(ResultKind kind) {
  static constexpr std::array<KindCaptions, 8> kCaptions{{
      {"Перемещения вдоль оси X", "Изолинии перемещений вдоль оси X"},
      {"Перемещения вдоль оси Y", "Изолинии перемещений вдоль оси Y"},
      {"Перемещения вдоль оси Z", "Изолинии перемещений вдоль оси Z"},
      {"Нормальные напряжения по оси X (Sx)", "Изолинии нормальных напряжений Sx"},
      {"Нормальные напряжения по оси X (Sy)", "Изолинии нормальных напряжений Sy"},
      {"Касательные напряжения (Txy)", "Изолинии касательных напряжений Txy"},
      {"Угол поворота отн. оси Y", "Изолинии углов поворота отн. оси Y"},
      {"Угол поворота отн. оси X", "Изолинии углов поворота отн. оси X"},
  }};
  const std::uint8_t k = CodeByte(kind);
  return k < kCaptions.size() ? &kCaptions[k] : nullptr;
}

}  // namespace

std::string ProgressCaption(ResultKind kind) {
  const KindCaptions* c = CaptionsOf(kind);
  return c != nullptr ? c->Progress : std::string();
}

std::string StatusCaption(ResultKind kind) {
  const KindCaptions* c = CaptionsOf(kind);
  return c != nullptr ? c->Status : std::string();
}

KnotValuesKey MakeKnotValuesKey(ResultKind kind, std::int32_t layer, Fibre fibre) {
  if (IsStressKind(kind)) return KnotValuesKey{kind, layer, fibre};
  return KnotValuesKey{kind, -1, Fibre::Upper};
}

TResultKnot* AsResultKnot(TEditorKnot* knot) { return dynamic_cast<TResultKnot*>(knot); }
const TResultKnot* AsResultKnot(const TEditorKnot* knot) { return dynamic_cast<const TResultKnot*>(knot); }
TMLResultShell* AsResultShell(TMLEditorElement* element) { return dynamic_cast<TMLResultShell*>(element); }
const TMLResultShell* AsResultShell(const TMLEditorElement* element) {
  return dynamic_cast<const TMLResultShell*>(element);
}

void PrepareKnotKeys(TFinKnots& knots, const TFinElements& elements, std::int32_t layer,
                     ProgressObserver* progress) {
  for (const auto& k : knots.Items())
    if (TResultKnot* rk = AsResultKnot(k.get())) rk->ClearValues();
  const long long count = elements.Count();
  if (progress) progress->SetBar(0, count);
  long long step = 0;
  for (const auto& e : elements.Items()) {
    if (const TMLResultShell* shell = AsResultShell(e.get())) {
      const MaterialKey key = shell->LayerMaterial(layer);
      for (TEditorKnot* k : shell->Knots)
        if (TResultKnot* rk = AsResultKnot(k)) rk->AddKey(key);
    }
    if (progress) progress->SetBar(++step, count);
  }
}

namespace {

// Component kind - 3 of the layer's stress at the fibre; nullopt when the shell
// has no such stress.
std::optional<Extended> LayerStress(const TMLResultShell& shell, std::int32_t layer, Fibre fibre,
                                    ResultKind kind) {
  if (!IsStressKind(kind) || CodeByte(fibre) > CodeByte(Fibre::Lower) || layer < 0) return std::nullopt;
  const TFloat2DMatrix& s = shell.Stresses[CodeByte(fibre)];
  const std::size_t c = static_cast<std::size_t>(CodeByte(kind) - CodeByte(ResultKind::Sx));
  if (static_cast<std::size_t>(layer) >= s.Rows() || c >= s.Cols()) return std::nullopt;
  return s[static_cast<std::size_t>(layer)][c];
}

bool QualifiesFor(const TMLResultShell& shell, std::int32_t layer, MaterialKey key) {
  return layer >= 0 && layer < shell.Layers.Count() && shell.LayerMaterial(layer) == key;
}

struct Sum {
  Extended Total = 0;
  std::int64_t Count = 0;
};

// Whether the shell's knot m stands earlier in its list too: a knot listed twice
// in one element counts once in a mean over the elements.
bool ListedEarlier(const TMLResultShell& shell, std::size_t m) {
  for (std::size_t j = 0; j < m; ++j)
    if (shell.Knots[j] == shell.Knots[m]) return true;
  return false;
}

}  // namespace

Extended KnotStressAverage(const TEditorKnot& knot, MaterialKey key, Fibre fibre, ResultKind kind,
                           std::int32_t layer, const TFinElements& elements) {
  if (!IsStressKind(kind)) return 0;
  Sum sum;
  for (const auto& e : elements.Items()) {
    const TMLResultShell* shell = AsResultShell(e.get());
    if (shell == nullptr || !QualifiesFor(*shell, layer, key)) continue;
    bool contains = false;
    for (const TEditorKnot* k : shell->Knots) contains = contains || k == &knot;
    if (!contains) continue;
    if (auto v = LayerStress(*shell, layer, fibre, kind)) {
      sum.Total += *v;
      ++sum.Count;
    }
  }
  return sum.Count == 0 ? 0 : sum.Total / static_cast<Extended>(sum.Count);
}

bool PrepareKnotValues(TFinKnots& knots, const TFinElements& elements, const std::vector<Extended>& loadVector,
                       ResultKind kind, std::int32_t layer, Fibre fibre, ProgressObserver* progress) {
  if (loadVector.empty() || !IsResultQuantity(kind)) return false;
  // Two bars: the lower one goes to half over the keys and to the end over the
  // values; the upper one runs over the elements, then over the knots.
  if (progress) {
    progress->SetBar2(0, 100);
    progress->SetLabel2(ProgressCaption(kind));
    progress->SetBar(0, 100);
    progress->SetLabel(kPrepareKnotsLabel);
    progress->Pump();
  }
  const int freedom = FreedomOfKind(kind);
  PrepareKnotKeys(knots, elements, freedom >= 0 ? -1 : layer, progress);
  if (progress) {
    progress->SetBar2(50, 100);
    progress->Pump();
    progress->SetLabel(kPrepareDataLabel);
    progress->Pump();
  }

  // Stress sums per knot and material in one pass over the elements (list order,
  // so every mean adds its shells in the same order as a per-knot search would).
  std::unordered_map<const TEditorKnot*, std::vector<std::pair<MaterialKey, Sum>>> sums;
  if (freedom < 0) {
    for (const auto& e : elements.Items()) {
      const TMLResultShell* shell = AsResultShell(e.get());
      if (shell == nullptr || layer < 0 || layer >= shell->Layers.Count()) continue;
      const auto v = LayerStress(*shell, layer, fibre, kind);
      if (!v) continue;
      const MaterialKey key = shell->LayerMaterial(layer);
      for (std::size_t m = 0; m < shell->Knots.size(); ++m) {
        const TEditorKnot* k = shell->Knots[m];
        if (k == nullptr || ListedEarlier(*shell, m)) continue;
        auto& list = sums[k];
        auto it = list.begin();
        while (it != list.end() && it->first != key) ++it;
        if (it == list.end()) it = list.insert(list.end(), {key, Sum{}});
        it->second.Total += *v;
        ++it->second.Count;
      }
    }
  }

  const long long count = knots.Count();
  if (progress) progress->SetBar(0, count);
  long long step = 0;
  for (const auto& kp : knots.Items()) {
    TResultKnot* rk = AsResultKnot(kp.get());
    if (rk != nullptr && rk->ValueCount() > 0) {
      if (freedom >= 0) {
        const std::int64_t eq = static_cast<std::int64_t>(rk->Number) * 5 + freedom;
        const Extended v = eq >= 0 && static_cast<std::uint64_t>(eq) < loadVector.size()
                               ? loadVector[static_cast<std::size_t>(eq)]
                               : 0;
        rk->SetValue(nullptr, v);
      } else {
        const auto found = sums.find(rk);
        for (const TKnotValue& entry : std::vector<TKnotValue>(rk->Values)) {
          Extended mean = 0;
          if (found != sums.end())
            for (const auto& [key, s] : found->second)
              if (key == entry.Key && s.Count > 0) mean = s.Total / static_cast<Extended>(s.Count);
          rk->SetValue(entry.Key, mean);
        }
      }
    }
    if (progress) progress->SetBar(++step, count);
  }
  if (progress) progress->SetBar2(100, 100);
  return true;
}

ValueBounds KnotValueRange(const TFinKnots& knots) {
  ValueBounds r{1E4096L, -1E4000L};
  for (const auto& kp : knots.Items()) {
    const TResultKnot* rk = AsResultKnot(kp.get());
    if (rk == nullptr) continue;
    for (const TKnotValue& v : rk->Values) {
      if (v.Value < r.Min) r.Min = v.Value;
      if (v.Value > r.Max) r.Max = v.Value;
    }
  }
  return r;
}

ValueBounds FreedomValueRange(const TFinKnots& knots, const std::vector<Extended>& loadVector, int freedom) {
  bool any = false;
  double lo = 0, hi = 0;
  for (std::int32_t i = 0; i < knots.Count(); ++i) {
    const std::size_t eq = static_cast<std::size_t>(i) * 5 + static_cast<std::size_t>(freedom);
    if (freedom < 0 || eq >= loadVector.size()) continue;
    const double v = static_cast<double>(loadVector[eq]);
    if (!any) {
      lo = hi = v;
      any = true;
    } else {
      if (v < lo) lo = v;
      if (v > hi) hi = v;
    }
  }
  return ValueBounds{lo, hi};
}

std::int32_t MaxLayerCount(const TFinElements& elements) {
  std::int32_t best = 0;
  for (const auto& e : elements.Items())
    if (const TMLResultShell* s = AsResultShell(e.get())) best = std::max(best, s->Layers.Count());
  return best;
}

void KnotThicknessStore::Clear() {
  ready_ = false;
  values_.clear();
}

void KnotThicknessStore::Build(const TFinKnots& knots, const TFinElements& elements, ProgressObserver* progress) {
  // The upper bar runs over the elements (the sums), then over the knots (the means).
  std::unordered_map<const TEditorKnot*, Sum> sums;
  const long long elementCount = elements.Count();
  if (progress) progress->SetBar(0, elementCount);
  long long elementStep = 0;
  for (const auto& e : elements.Items()) {
    if (progress) progress->SetBar(++elementStep, elementCount);
    const TMLResultShell* shell = AsResultShell(e.get());
    if (shell == nullptr) continue;
    const Extended t = ShellThickness(*shell);
    for (std::size_t m = 0; m < shell->Knots.size(); ++m) {
      const TEditorKnot* k = shell->Knots[m];
      if (k == nullptr || ListedEarlier(*shell, m)) continue;
      Sum& s = sums[k];
      s.Total += t;
      ++s.Count;
    }
  }
  std::unordered_map<const TEditorKnot*, Extended> values;
  const long long count = knots.Count();
  if (progress) progress->SetBar(0, count);
  long long step = 0;
  for (const auto& kp : knots.Items()) {
    const auto it = sums.find(kp.get());
    if (it != sums.end()) values[kp.get()] = it->second.Total / static_cast<Extended>(it->second.Count);
    if (progress) progress->SetBar(++step, count);
  }
  values_ = std::move(values);
  ready_ = true;
}

Extended KnotThicknessStore::At(const TEditorKnot* knot) const {
  const auto it = values_.find(knot);
  return it == values_.end() ? 0 : it->second;
}

}  // namespace tavir
