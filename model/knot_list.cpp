#include "model/knot_list.h"

#include <utility>

#include "model/geometry_ops.h"
#include "platform/numeric.h"

namespace tavir {

namespace {
constexpr Extended kRectTolerance = 1e-10L;
}  // namespace

TFinKnots::TFinKnots(std::shared_ptr<const ModelFactory> factory) : TFactoryList(std::move(factory)) {}

void TFinKnots::SetMinSizeX(Extended x) {
  if (IsFinitePositive(x) && x < MinSizeX) MinSizeX = x;
}

void TFinKnots::SetMinSizeY(Extended y) {
  if (IsFinitePositive(y) && y < MinSizeY) MinSizeY = y;
}

TEditorKnot* TFinKnots::Add(std::unique_ptr<TEditorKnot> knot) {
  if (!knot) return nullptr;
  items_.push_back(std::move(knot));
  return items_.back().get();
}

TEditorKnot* TFinKnots::AddKnot(Extended x, Extended y, Extended z) {
  std::unique_ptr<TEditorKnot> knot = factory_->MakeKnot();
  knot->X = x;
  knot->Y = y;
  knot->Z = z;
  return Add(std::move(knot));
}

bool TFinKnots::Delete(std::int32_t i) {
  TEditorKnot* knot = At(i);
  if (knot == nullptr) return false;
  selection_.Remove(knot);
  return TFactoryList::Delete(i);
}

void TFinKnots::FreeAll() {
  selection_.Clear();
  items_.clear();
}

void TFinKnots::Draw(Canvas& canvas) const {
  for (const auto& k : items_)
    if (k->Visible != 0) k->Draw(canvas);
}

void TFinKnots::Project(const TViewTransform& window) {
  for (const auto& k : items_) k->Project(window);
}

void TFinKnots::UpdateVisible(const TViewTransform& window) {
  for (const auto& k : items_) k->UpdateVisible(window);
}

bool TFinKnots::Select(TEditorKnot* knot, Canvas* canvas) {
  if (knot == nullptr) return false;
  knot->SetSelected(1);
  if (canvas != nullptr) knot->Draw(*canvas);
  selection_.Add(knot);
  return true;
}

bool TFinKnots::Unselect(TEditorKnot* knot, Canvas* canvas) {
  if (knot == nullptr || !selection_.Contains(knot)) return false;
  knot->SetSelected(0);
  if (canvas != nullptr) knot->Draw(*canvas);
  selection_.Remove(knot);
  return true;
}

bool TFinKnots::IsSelected(const TEditorKnot* knot) const {
  return knot != nullptr && selection_.Contains(knot) && knot->Selected != 0;
}

void TFinKnots::UnselectAll(Canvas* canvas) {
  // In selection order, as one Unselect after another of the first entry would.
  const std::vector<TEditorKnot*> selected = selection_.Items();
  for (TEditorKnot* knot : selected) {
    knot->SetSelected(0);
    if (canvas != nullptr) knot->Draw(*canvas);
  }
  selection_.Clear();
}

void TFinKnots::SelectAll(Canvas* canvas) {
  for (const auto& k : items_) Select(k.get(), canvas);
}

bool TFinKnots::KnotInRect(const TEditorKnot& knot, const TFloatPoint& topLeft, const TFloatPoint& bottomRight,
                           const TViewTransform& window) {
  if (window.Projection != Projection::XY) return false;
  return InBox(knot.X, knot.Y, topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y, kRectTolerance);
}

void TFinKnots::SelectInRect(const TFloatPoint& topLeft, const TFloatPoint& bottomRight,
                             const TViewTransform& window, Canvas* canvas) {
  for (const auto& k : items_)
    if (KnotInRect(*k, topLeft, bottomRight, window)) Select(k.get(), canvas);
}

void TFinKnots::LoadFromStream(BinaryReader& r) {
  const std::int32_t count = r.ReadCount(kKnotRecordBytes);
  std::vector<std::unique_ptr<TEditorKnot>> knots;
  knots.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TEditorKnot> knot = factory_->MakeKnot();
    knot->LoadFromStream(r);
    knots.push_back(std::move(knot));
  }
  selection_.Clear();
  items_ = std::move(knots);
}

void TFinKnots::SaveToStream(BinaryWriter& w) const {
  w.WriteInt32(Count());
  for (const auto& k : items_) k->SaveToStream(w);
}

void TFinKnots::Swap(TFinKnots& other) {
  items_.swap(other.items_);
  selection_.Swap(other.selection_);
  std::swap(MinSizeX, other.MinSizeX);
  std::swap(MinSizeY, other.MinSizeY);
}

}  // namespace tavir
