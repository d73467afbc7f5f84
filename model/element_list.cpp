#include "model/element_list.h"

#include <optional>
#include <string>
#include <utility>

#include "model/knot_list.h"

namespace tavir {

namespace {
const char* const kUnknownElementKind = "Файл поврежден: неизвестный вид конечного элемента (";

// Smallest file size of one element, so that a count is checked against the
// bytes left before anything is made.
// Kind byte, type byte, an empty layer stack.
constexpr std::size_t kMinElementEntryBytes = 2 + kLayerStackHeaderBytes;
}  // namespace

TFinElements::TFinElements(std::shared_ptr<const ModelFactory> factory) : TFactoryList(std::move(factory)) {}

TMLEditorElement* TFinElements::Add(std::unique_ptr<TMLEditorElement> element) {
  if (!element) return nullptr;
  const bool isShell = dynamic_cast<TMLEditorShell*>(element.get()) != nullptr;
  // The file tells plates from shells by the kind byte and reads the curvatures
  // only for shells: class and kind must agree, or the file would not read back.
  if (element->ElemKind == ElementKind::Shell ? !isShell : (element->ElemKind != ElementKind::Plate || isShell))
    return nullptr;
  items_.push_back(std::move(element));
  return items_.back().get();
}

bool TFinElements::Delete(std::int32_t i) {
  TMLEditorElement* element = At(i);
  if (element == nullptr) return false;
  selection_.Remove(element);
  return TFactoryList::Delete(i);
}

void TFinElements::FreeAll() {
  selection_.Clear();
  items_.clear();
}

std::int32_t TFinElements::IndexOfElement(const TFiniteElement* element) const {
  if (element == nullptr) return -1;
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (static_cast<const TFiniteElement*>(items_[i].get()) == element) return static_cast<std::int32_t>(i);
  return -1;
}

void TFinElements::Draw(Canvas& canvas) const {
  for (const auto& e : items_)
    if (e->Visible != 0) e->Draw(canvas, -1);
}

void TFinElements::UpdateVisible() {
  for (const auto& e : items_)
    if (IsPlateOrShell(*e)) e->UpdateVisible();
}

void TFinElements::UpdateMinSizes() {
  if (Knots == nullptr) return;
  for (const auto& e : items_) {
    if (e->ElemKind != ElementKind::Shell || e->ElementType != ElementType::Rectangle || e->Knots.size() < 4) continue;
    const TEditorKnot* k0 = e->Knots[0];
    const TEditorKnot* k1 = e->Knots[1];
    const TEditorKnot* k3 = e->Knots[3];
    if (k0 == nullptr || k1 == nullptr || k3 == nullptr) continue;
    Knots->SetMinSizeX(k3->X - k0->X);
    Knots->SetMinSizeY(k1->Y - k0->Y);
  }
}

bool TFinElements::Select(TMLEditorElement* element, Canvas* canvas) {
  if (element == nullptr) return false;
  element->SetSelected(1);
  if (canvas != nullptr) element->Draw(*canvas, -1);
  selection_.Add(element);
  return true;
}

bool TFinElements::Unselect(TMLEditorElement* element, Canvas* canvas) {
  if (element == nullptr || !selection_.Contains(element)) return false;
  element->SetSelected(0);
  if (canvas != nullptr) element->Draw(*canvas, -1);
  selection_.Remove(element);
  return true;
}

bool TFinElements::IsSelected(const TMLEditorElement* element) const {
  return element != nullptr && selection_.Contains(element) && element->Selected != 0 && IsPlateOrShell(*element);
}

void TFinElements::UnselectAll(Canvas* canvas) {
  const std::vector<TMLEditorElement*> selected = selection_.Items();
  for (TMLEditorElement* element : selected) {
    element->SetSelected(0);
    if (canvas != nullptr) element->Draw(*canvas, -1);
  }
  selection_.Clear();
}

void TFinElements::SelectAll(Canvas* canvas) {
  for (const auto& e : items_) Select(e.get(), canvas);
}

void TFinElements::SelectInRect(const TFloatPoint& topLeft, const TFloatPoint& bottomRight,
                                const TViewTransform& window, Canvas* canvas) {
  for (const auto& e : items_) {
    std::size_t corners = 0;
    if (e->ElementType == ElementType::Triangle) corners = 3;
    else if (e->ElementType == ElementType::Rectangle || e->ElementType == ElementType::Quadrangle) corners = 4;
    if (corners == 0 || e->Knots.size() < corners) continue;
    bool inside = true;
    for (std::size_t i = 0; i < corners && inside; ++i)
      inside = e->Knots[i] != nullptr && TFinKnots::KnotInRect(*e->Knots[i], topLeft, bottomRight, window);
    if (inside) Select(e.get(), canvas);
  }
}

void TFinElements::LoadFromStream(BinaryReader& r, const KnotIndex& knots, MaterialIndex& materials) {
  const std::int32_t count = r.ReadCount(kMinElementEntryBytes);
  std::vector<std::unique_ptr<TMLEditorElement>> elements;
  elements.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint8_t kindByte = r.ReadByte();
    // Only plates and shells are ever written; any other kind has a record of unknown
    // length, so nothing after it could be read.
    // The record that follows sets the type.
    const std::optional<ElementKind> kind = ElementKindOfByte(kindByte);
    std::unique_ptr<TMLEditorElement> element =
        kind ? factory_->MakeElement(*kind, ElementType::Triangle, nullptr) : nullptr;
    if (!element) throw EFormatError(std::string(kUnknownElementKind) + std::to_string(kindByte) + ").");
    element->LoadFromStream(r, knots, materials);
    elements.push_back(std::move(element));
  }
  selection_.Clear();
  items_ = std::move(elements);
  UpdateMinSizes();
}

void TFinElements::SaveToStream(BinaryWriter& w, const KnotIndex& knots, const MaterialIndex& materials) const {
  w.WriteInt32(Count());
  for (const auto& e : items_) {
    w.WriteByte(CodeByte(e->RecordKind()));
    e->SaveToStream(w, knots, materials);
  }
}

void TFinElements::Swap(TFinElements& other) {
  items_.swap(other.items_);
  selection_.Swap(other.selection_);
}

}  // namespace tavir
