#include "model/load_lists.h"

#include <utility>

#include "model/element_list.h"

namespace tavir {

namespace {
// The force given to a load made by a reader before its record is read.
TForceRecord PlaceholderForce() {
  TForceRecord f;
  for (int i = 1; i <= 6; ++i) f.SetComponent(i, 1.0L);
  return f;
}
}  // namespace

// ---- concentrated loads ----

TEditorConcentrateForce* TConcForcesList::Add(std::unique_ptr<TEditorConcentrateForce> force) { return Append(std::move(force)); }

std::int32_t TConcForcesList::IndexOfKnot(const TEditorKnot* knot) const {
  return IndexOfRef(&TEditorConcentrateForce::Knot, knot);
}

void TConcForcesList::Draw(Canvas& canvas) const {
  for (const auto& f : items_)
    if (f->Visible != 0 && f->Knot != nullptr) f->Draw(canvas);
}

void TConcForcesList::UpdateVisible() {
  for (const auto& f : items_) f->SetVisible(f->Knot != nullptr ? f->Knot->Visible : 0);
}

void TConcForcesList::LoadFromStream(BinaryReader& r, const KnotIndex& knots) {
  const std::int32_t count = r.ReadCount(kConcForceRecordBytes);
  std::vector<std::unique_ptr<TEditorConcentrateForce>> forces;
  forces.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TEditorConcentrateForce> force = factory_->MakeConcForce();
    force->SetForce(PlaceholderForce());
    force->LoadFromStream(r, knots);
    forces.push_back(std::move(force));
  }
  items_ = std::move(forces);
}

void TConcForcesList::SaveToStream(BinaryWriter& w, const KnotIndex& knots) const {
  w.WriteInt32(Count());
  for (const auto& f : items_) f->SaveToStream(w, knots);
}

// ---- distributed loads ----

TEditorDispersionForce* TDispForcesList::Add(std::unique_ptr<TEditorDispersionForce> force) { return Append(std::move(force)); }

std::int32_t TDispForcesList::IndexOfElement(const TFiniteElement* element) const {
  return IndexOfRef(&TEditorDispersionForce::Element, element);
}

void TDispForcesList::Draw(Canvas& canvas) const {
  for (const auto& f : items_)
    if (f->Visible != 0 && f->Element != nullptr) f->Draw(canvas);
}

void TDispForcesList::UpdateVisible() {
  for (const auto& f : items_) {
    if (f->Element == nullptr) {
      f->SetVisible(0);
      continue;
    }
    if (!TFinElements::IsPlateOrShell(*f->Element)) continue;
    if (const auto* e = dynamic_cast<const TMLEditorElement*>(f->Element)) f->SetVisible(e->Visible);
  }
}

void TDispForcesList::LoadFromStream(BinaryReader& r, const ElementIndex& elements) {
  const std::int32_t count = r.ReadCount(kDispForceRecordBytes);
  std::vector<std::unique_ptr<TEditorDispersionForce>> forces;
  forces.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TEditorDispersionForce> force = factory_->MakeDispForce();
    force->SetForce(PlaceholderForce());
    force->LoadFromStream(r, elements);
    forces.push_back(std::move(force));
  }
  items_ = std::move(forces);
}

void TDispForcesList::SaveToStream(BinaryWriter& w, const ElementIndex& elements) const {
  w.WriteInt32(Count());
  for (const auto& f : items_) f->SaveToStream(w, elements);
}

}  // namespace tavir
