#include "viewer/prepared_values.h"

#include <algorithm>

#include "viewer/adaptation.h"

namespace tavir {

void PreparedValues::Drop() {
  for (const auto& k : model_.Knots().Items())
    if (TResultKnot* rk = AsResultKnot(k.get())) rk->ClearValues();
  preparedKey_.reset();
  levelsKey_.reset();
  dataState_ = kDataNone;
  thickness_.Clear();
}

bool PreparedValues::PrepareKnotValues(ResultKind kind, std::int32_t layer, Fibre fibre, ProgressObserver* progress) {
  if (!run_.HasResults() || !IsResultQuantity(kind)) return false;
  std::unique_ptr<ProgressObserver> box;
  if (progress == nullptr && boxes_ != nullptr) progress = (box = boxes_->OpenProgressBox()).get();
  if (!tavir::PrepareKnotValues(model_.Knots(), model_.Elements(), run_.LoadVector(), kind, layer, fibre, progress))
    return false;
  preparedKey_ = MakeKnotValuesKey(kind, layer, fibre);
  return true;
}

bool PreparedValues::PrepareIsoLines(std::int32_t layer, Fibre fibre, IsoParamsDialog* dialog,
                                     ProgressObserver* progress) {
  const ResultKind kind = display_.IsoKind;
  if (!run_.HasResults() || !IsResultQuantity(kind)) return false;
  if (IsStressKind(kind)) {
    display_.Layer = layer;
    display_.StressPos = fibre;
  }
  const KnotValuesKey key = MakeKnotValuesKey(kind, layer, fibre);
  if (!preparedKey_ || *preparedKey_ != key) {
    if (!PrepareKnotValues(kind, layer, fibre, progress)) return false;
    if (progress) progress->Pump();
  }
  // The levels keep the user's edits while they belong to these values.
  if (!levelsKey_ || *levelsKey_ != key) {
    const int freedom = FreedomOfKind(kind);
    const ValueBounds range = freedom >= 0 ? FreedomValueRange(model_.Knots(), run_.LoadVector(), freedom)
                                           : KnotValueRange(model_.Knots());
    display_.IsoParams = DefaultIsoParams(kind, range.Min, range.Max);
    levelsKey_ = key;
    dataState_ = DataStateOfKind(kind);
  }
  if (progress) progress->Pump();
  if (dialog == nullptr) {
    display_.IsoVisible = true;
  } else {
    TIsoParamsRec edited = display_.IsoParams;
    if (dialog->Execute(edited)) {
      display_.IsoParams = edited;
      display_.IsoVisible = true;
    } else {
      display_.IsoVisible = false;
    }
  }
  display_.DrawFlags = static_cast<std::int16_t>(display_.DrawFlags | kViewDrawIsolines);
  return true;
}

bool PreparedValues::EnsureIsoValues(ProgressObserver* progress) {
  if (!display_.IsoVisible || !run_.HasResults() || !IsResultQuantity(display_.IsoKind)) return false;
  const KnotValuesKey key = MakeKnotValuesKey(display_.IsoKind, display_.Layer, display_.StressPos);
  if (preparedKey_ && *preparedKey_ == key) return true;
  return PrepareIsoLines(display_.Layer, display_.StressPos, nullptr, progress);
}

void PreparedValues::AverageKnotThickness(ProgressObserver* progress) {
  if (thickness_.Ready()) return;
  std::unique_ptr<ProgressObserver> box;
  if (progress == nullptr && boxes_ != nullptr) progress = (box = boxes_->OpenProgressBox()).get();
  thickness_.Build(model_.Knots(), model_.Elements(), progress);
}

std::optional<SectionWindowBox> PreparedValues::SectionWindowData(const ViewTransform& view) {
  if (view.Projection != Projection::XY) return std::nullopt;
  AverageKnotThickness();
  Extended lower = 1E4096L;
  Extended upper = -1;
  for (const auto& e : model_.Elements().Items()) {
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
