#include "model/project.h"

#include <cmath>
#include <string>
#include <utility>

#include "model/geometry_ops.h"
#include "platform/numeric.h"

namespace tavir {

namespace {
const char* const kUnknownMaterial = "не определен";
const char* const kUnknownElementKind = "Файл поврежден: неизвестный вид конечного элемента (";
const char* const kUnknownShellKind = "Файл поврежден: неизвестный вид поверхности оболочки (";

// Smallest file sizes of one list item, so that a count is checked against the
// bytes left before anything is made.
constexpr std::size_t kMinMaterialEntryBytes = 4 + kMaterialRecordBytes;
// Kind byte, type byte, an empty layer stack.
constexpr std::size_t kMinElementEntryBytes = 2 + kLayerStackHeaderBytes;
// Int16 kind of a surface whose record follows: at least its own header.
constexpr std::size_t kMinShellEntryBytes = 2;

constexpr Extended kRectTolerance = 1e-10L;

// The force given to a load made by a reader before its record is read.
TForceRecord PlaceholderForce() {
  TForceRecord f;
  for (int i = 1; i <= 6; ++i) f.SetComponent(i, 1.0L);
  return f;
}
}  // namespace

// ---- factory ----

std::unique_ptr<TEditorKnot> ModelFactory::MakeKnot() const { return std::make_unique<TEditorKnot>(); }

std::unique_ptr<TMLEditorElement> ModelFactory::MakePlate(std::uint8_t elementType,
                                                          const std::shared_ptr<TPhisPropRodNL>& material) const {
  return std::make_unique<TMLEditorElement>(elementType, material, kElemKindPlate);
}

std::unique_ptr<TMLEditorShell> ModelFactory::MakeShell(std::uint8_t elementType,
                                                        const std::shared_ptr<TPhisPropRodNL>& material) const {
  return std::make_unique<TMLEditorShell>(elementType, material, kElemKindShell);
}

std::unique_ptr<TEditorSupport> ModelFactory::MakeSupport() const { return std::make_unique<TEditorSupport>(); }

std::unique_ptr<TEditorConcentrateForce> ModelFactory::MakeConcForce() const {
  return std::make_unique<TEditorConcentrateForce>();
}

std::unique_ptr<TEditorDispersionForce> ModelFactory::MakeDispForce() const {
  return std::make_unique<TEditorDispersionForce>();
}

std::shared_ptr<TPhisPropRodNL> ModelFactory::MakeMaterial() const { return std::make_shared<TPhisPropRodNL>(); }

std::unique_ptr<TEditorShellEP> ModelFactory::MakeParaboloid() const { return std::make_unique<TEditorShellEP>(); }

std::unique_ptr<TEditorSphere> ModelFactory::MakeSphere() const { return std::make_unique<TEditorSphere>(); }

std::unique_ptr<TMLEditorElement> ModelFactory::MakeElement(std::uint8_t elemKind, std::uint8_t elementType,
                                                            const std::shared_ptr<TPhisPropRodNL>& material) const {
  switch (elemKind) {
    case kElemKindPlate: return MakePlate(elementType, material);
    case kElemKindShell: return MakeShell(elementType, material);
    default: return nullptr;
  }
}

std::shared_ptr<const ModelFactory> DefaultModelFactory() {
  static const std::shared_ptr<const ModelFactory> factory = std::make_shared<const ModelFactory>();
  return factory;
}

// ---- materials ----

TMaterials::TMaterials(std::shared_ptr<const ModelFactory> factory) : factory_(std::move(factory)) {}

std::string TMaterials::Name(std::int32_t i) const {
  if (i < 0 || i >= Count()) return {};
  return entries_[static_cast<std::size_t>(i)].Name;
}

std::shared_ptr<TPhisPropRodNL> TMaterials::Material(std::int32_t i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return entries_[static_cast<std::size_t>(i)].Material;
}

std::shared_ptr<TPhisPropRodNL> TMaterials::AddMaterial(const std::string& name) {
  std::shared_ptr<TPhisPropRodNL> material = factory_->MakeMaterial();
  entries_.push_back(MaterialEntry{name, material});
  return material;
}

std::string TMaterials::MaterialName(const TPhisPropRodNL* material) const {
  const std::int32_t i = IndexOfMaterial(material);
  return i >= 0 ? entries_[static_cast<std::size_t>(i)].Name : std::string(kUnknownMaterial);
}

std::int32_t TMaterials::IndexOfMaterial(const TPhisPropRodNL* material) const {
  if (material == nullptr) return -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Material.get() == material) return static_cast<std::int32_t>(i);
  return -1;
}

std::shared_ptr<TPhisPropRodNL> TMaterials::MaterialByIndex(std::int32_t index) {
  if (index >= 0 && index < Count()) return entries_[static_cast<std::size_t>(index)].Material;
  if (ui_ == nullptr) return nullptr;
  // The chooser works on a copy that the list takes over on OK, as in
  // ChooseMaterial: the position it answers is a position of the edited list, and
  // a material made there must be held by the list, or the layer loses it.
  std::vector<MaterialEntry> shown = entries_;
  const std::optional<std::int32_t> chosen = ui_->ChooseMaterial(shown, shown.empty() ? -1 : 0);
  if (!chosen) return nullptr;
  entries_ = std::move(shown);
  return Material(*chosen);
}

std::int32_t TMaterials::ChooseMaterial(const TPhisPropRodNL* material) {
  const std::int32_t p = IndexOfMaterial(material);
  if (ui_ == nullptr) return p;
  std::vector<MaterialEntry> shown = entries_;
  std::int32_t selected = -1;
  if (!shown.empty()) selected = p >= 0 && p < static_cast<std::int32_t>(shown.size()) ? p : 0;
  const std::optional<std::int32_t> chosen = ui_->ChooseMaterial(shown, selected);
  if (!chosen) return p;
  entries_ = std::move(shown);
  return *chosen;
}

void TMaterials::LoadFromStream(BinaryReader& r) {
  const std::int32_t count = r.ReadCount(kMinMaterialEntryBytes);
  std::vector<MaterialEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    MaterialEntry e;
    e.Name = r.ReadString();
    e.Material = factory_->MakeMaterial();
    e.Material->LoadFromStream(r);
    entries.push_back(std::move(e));
  }
  entries_ = std::move(entries);
}

void TMaterials::SaveToStream(BinaryWriter& w) const {
  w.WriteInt32(Count());
  for (const MaterialEntry& e : entries_) {
    w.WriteString(e.Name);
    if (e.Material) {
      e.Material->SaveToStream(w);
    } else {
      TPhisPropRodNL().SaveToStream(w);
    }
  }
}

// ---- knots ----

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
  if (window.Projection != 0) return false;
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

// ---- elements ----

TFinElements::TFinElements(std::shared_ptr<const ModelFactory> factory) : TFactoryList(std::move(factory)) {}

TMLEditorElement* TFinElements::Add(std::unique_ptr<TMLEditorElement> element) {
  if (!element) return nullptr;
  const bool isShell = dynamic_cast<TMLEditorShell*>(element.get()) != nullptr;
  // The file tells plates from shells by the kind byte and reads the curvatures
  // only for shells: class and kind must agree, or the file would not read back.
  if (element->ElemKind == kElemKindShell ? !isShell : (element->ElemKind != kElemKindPlate || isShell))
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
    if (e->ElemKind != kElemKindShell || e->ElementType != 1 || e->Knots.size() < 4) continue;
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
    if (e->ElementType == 0) corners = 3;
    else if (e->ElementType == 1 || e->ElementType == 2) corners = 4;
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
    const std::uint8_t kind = r.ReadByte();
    // Only plates and shells are ever written; any other kind has a record of unknown
    // length, so nothing after it could be read.
    if (kind == kElemKindPlate) {
      std::unique_ptr<TMLEditorElement> plate = factory_->MakePlate(0, nullptr);
      plate->TMLFiniteElement::LoadFromStream(r, knots, materials);
      elements.push_back(std::move(plate));
    } else if (kind == kElemKindShell) {
      std::unique_ptr<TMLEditorShell> shell = factory_->MakeShell(0, nullptr);
      shell->TMLEditorShell::LoadFromStream(r, knots, materials);
      elements.push_back(std::move(shell));
    } else {
      throw EFormatError(std::string(kUnknownElementKind) + std::to_string(kind) + ").");
    }
  }
  selection_.Clear();
  items_ = std::move(elements);
  UpdateMinSizes();
}

void TFinElements::SaveToStream(BinaryWriter& w, const KnotIndex& knots, const MaterialIndex& materials) const {
  w.WriteInt32(Count());
  for (const auto& e : items_) {
    // The record by the class, so that the file always reads back.
    if (const auto* shell = dynamic_cast<const TMLEditorShell*>(e.get())) {
      w.WriteByte(kElemKindShell);
      shell->TMLEditorShell::SaveToStream(w, knots, materials);
    } else {
      w.WriteByte(kElemKindPlate);
      e->TMLFiniteElement::SaveToStream(w, knots, materials);
    }
  }
}

void TFinElements::Swap(TFinElements& other) {
  items_.swap(other.items_);
  selection_.Swap(other.selection_);
}

// ---- supports ----

TEditorSupport* TEditorSupports::Add(std::unique_ptr<TEditorSupport> support) { return Append(std::move(support)); }

std::int32_t TEditorSupports::IndexOfKnot(const TEditorKnot* knot) const {
  return IndexOfRef(&TEditorSupport::Knot, knot);
}

void TEditorSupports::Draw(Canvas& canvas) const {
  for (const auto& s : items_)
    if (s->Visible != 0 && s->Knot != nullptr) s->Draw(canvas);
}

void TEditorSupports::UpdateVisible() {
  for (const auto& s : items_) s->SetVisible(s->Knot != nullptr ? s->Knot->Visible : 0);
}

void TEditorSupports::LoadFromStream(BinaryReader& r, const KnotIndex& knots) {
  const std::int32_t count = r.ReadCount(kSupportRecordBytes);
  std::vector<std::unique_ptr<TEditorSupport>> supports;
  supports.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TEditorSupport> support = factory_->MakeSupport();
    support->Fixation = TFixation{2, 2, 2, 2, 2, 2};
    support->Knot = nullptr;
    support->LoadFromStream(r, knots);
    supports.push_back(std::move(support));
  }
  items_ = std::move(supports);
}

void TEditorSupports::SaveToStream(BinaryWriter& w, const KnotIndex& knots) const {
  w.WriteInt32(Count());
  for (const auto& s : items_) s->SaveToStream(w, knots);
}

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

// ---- lists without items ----

void TPliantsList::LoadFromStream(BinaryReader& r) { (void)r.ReadCount(0); }

// ---- shell surfaces ----

TEditorShellEP* TShellFunctions::Add(std::unique_ptr<TEditorShellEP> shell) { return Append(std::move(shell)); }

TEditorSphere* TShellFunctions::Add(std::unique_ptr<TEditorSphere> shell) { return Append(std::move(shell)); }


TBaseShellFuncs* TShellFunctions::FirstContaining(Extended x, Extended y) const {
  for (const auto& s : items_) {
    if (const TEditorShellEP* p = AsParaboloid(s.get())) {
      if (p->Contains(x, y)) return s.get();
    } else if (const TEditorSphere* sp = AsSphere(s.get())) {
      if (sp->Contains(x, y)) return s.get();
    }
  }
  return nullptr;
}

Extended TShellFunctions::GetZ(Extended x, Extended y) {
  TBaseShellFuncs* s = FirstContaining(x, y);
  if (s == nullptr) return 0;
  if (TEditorShellEP* p = AsParaboloid(s)) return p->GetZ(x, y);
  return AsSphere(s)->GetZ(x, y);
}

Extended TShellFunctions::GetKx(Extended x, Extended y) const {
  const TBaseShellFuncs* s = FirstContaining(x, y);
  return s != nullptr ? s->Kx : 0;
}

Extended TShellFunctions::GetKy(Extended x, Extended y) const {
  TBaseShellFuncs* s = FirstContaining(x, y);
  if (s == nullptr) return 0;
  // A sphere's two curvatures are one.
  return AsSphere(s) != nullptr ? s->Kx : s->Ky;
}

void TShellFunctions::Draw(Canvas& canvas) const {
  for (const auto& s : items_) {
    if (const TEditorShellEP* p = AsParaboloid(s.get())) {
      if (p->Visible != 0) p->Draw(canvas);
    } else if (const TEditorSphere* sp = AsSphere(s.get())) {
      if (sp->Visible != 0) sp->Draw(canvas);
    }
  }
}

void TShellFunctions::CalcScreenRects(const TViewTransform& window) {
  for (const auto& s : items_) {
    if (TEditorShellEP* p = AsParaboloid(s.get())) p->CalcScreenRect(window);
    else if (TEditorSphere* sp = AsSphere(s.get())) sp->CalcScreenRect(window);
  }
}

void TShellFunctions::UpdateVisible(const TViewTransform& window) {
  for (const auto& s : items_) {
    if (TEditorShellEP* p = AsParaboloid(s.get())) p->CheckVisible(window);
    else if (TEditorSphere* sp = AsSphere(s.get())) sp->CheckVisible(window);
  }
}

void TShellFunctions::LoadFromStream(BinaryReader& r) {
  const std::int32_t count = r.ReadCount(kMinShellEntryBytes);
  std::vector<std::unique_ptr<TBaseShellFuncs>> shells;
  shells.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int16_t kind = r.ReadInt16();
    if (kind == kShellParaboloid) {
      std::unique_ptr<TEditorShellEP> p = factory_->MakeParaboloid();
      p->SetOrigin(FloatPoint3D(0, 0, 0));
      p->SetPlane(kShellPlaneXY);
      p->SetParams(0, 0, 0, 0);
      p->SetColor(255);
      p->LoadFromStream(r);
      shells.push_back(std::move(p));
    } else if (kind == kShellSphere) {
      std::unique_ptr<TEditorSphere> s = factory_->MakeSphere();
      s->SetOrigin(FloatPoint3D(0, 0, 0));
      s->SetPlane(kShellPlaneXY);
      s->SetParams(0, 0);
      s->SetColor(255);
      s->LoadFromStream(r);
      shells.push_back(std::move(s));
    } else {
      // The editor writes no other kind; what a file holds after one is unknown.
      throw EFormatError(std::string(kUnknownShellKind) + std::to_string(kind) + ").");
    }
  }
  items_ = std::move(shells);
}

void TShellFunctions::SaveToStream(BinaryWriter& w) const {
  // Only paraboloids and spheres are ever held (Add takes nothing else).
  std::int32_t count = 0;
  for (const auto& s : items_)
    if (AsParaboloid(s.get()) != nullptr || AsSphere(s.get()) != nullptr) ++count;
  w.WriteInt32(count);
  for (const auto& s : items_) {
    if (const TEditorShellEP* p = AsParaboloid(s.get())) {
      w.WriteInt16(kShellParaboloid);
      p->SaveToStream(w);
    } else if (const TEditorSphere* sp = AsSphere(s.get())) {
      w.WriteInt16(kShellSphere);
      sp->SaveToStream(w);
    }
  }
}

// ---- positions for writing ----

KnotPositionMap::KnotPositionMap(const TFinKnots& knots) : knots_(knots) {
  positions_.reserve(knots.Items().size());
  std::int32_t i = 0;
  // The first position wins, as in a linear search.
  for (const auto& k : knots.Items()) positions_.emplace(k.get(), i++);
}

std::int32_t KnotPositionMap::IndexOfKnot(const TEditorKnot* knot) const {
  const auto it = positions_.find(knot);
  return it != positions_.end() ? it->second : -1;
}

ElementPositionMap::ElementPositionMap(const TFinElements& elements) : elements_(elements) {
  positions_.reserve(elements.Items().size());
  std::int32_t i = 0;
  for (const auto& e : elements.Items()) positions_.emplace(static_cast<const TFiniteElement*>(e.get()), i++);
}

std::int32_t ElementPositionMap::IndexOfElement(const TFiniteElement* element) const {
  const auto it = positions_.find(element);
  return it != positions_.end() ? it->second : -1;
}

MaterialPositionMap::MaterialPositionMap(const TMaterials& materials) : materials_(materials) {
  positions_.reserve(materials.Entries().size());
  std::int32_t i = 0;
  for (const MaterialEntry& e : materials.Entries()) {
    if (e.Material) positions_.emplace(e.Material.get(), i);
    ++i;
  }
}

std::int32_t MaterialPositionMap::IndexOfMaterial(const TPhisPropRodNL* material) const {
  const auto it = positions_.find(material);
  return it != positions_.end() ? it->second : -1;
}

// ---- the project ----

TVelEditorProject::TVelEditorProject(std::shared_ptr<const ModelFactory> factory, ModelUi* ui)
    : factory_(factory ? std::move(factory) : DefaultModelFactory()), ui_(ui) {
  materials_ = std::make_unique<TMaterials>(factory_);
  elements_ = std::make_unique<TFinElements>(factory_);
  knots_ = std::make_unique<TFinKnots>(factory_);
  supports_ = std::make_unique<TEditorSupports>(factory_);
  concForces_ = std::make_unique<TConcForcesList>(factory_);
  dispForces_ = std::make_unique<TDispForcesList>(factory_);
  pliants_ = std::make_unique<TPliantsList>();
  hardlesses_ = std::make_unique<THardlessList>();
  shellFuncs_ = std::make_unique<TShellFunctions>(factory_);

  knots_->Elements = elements_.get();
  knots_->Supports = supports_.get();
  knots_->ConcForces = concForces_.get();
  elements_->Knots = knots_.get();
  elements_->Materials = materials_.get();
  elements_->DispForces = dispForces_.get();
  supports_->Knots = knots_.get();
  concForces_->Knots = knots_.get();
  dispForces_->Elements = elements_.get();
  pliants_->Knots = knots_.get();
  hardlesses_->Knots = knots_.get();
  materials_->Elements = elements_.get();
  materials_->SetUi(ui_);

  knotDisp_ = std::make_unique<TDisplacementsList>();
  materials_->AddMaterial(kDefaultMaterialName);
  SetFileName(kNoNameFile);
}

TVelEditorProject::~TVelEditorProject() {
  // Dependants go before what they refer to.
  knots_->FreeAll();
  elements_->FreeAll();
  supports_->FreeAll();
  materials_->FreeAll();
  concForces_->FreeAll();
  dispForces_->FreeAll();
  pliants_->FreeAll();
  hardlesses_->FreeAll();
  knotDisp_->FreeAll();
  shellFuncs_->FreeAll();
}

void TVelEditorProject::SetUi(ModelUi* ui) {
  ui_ = ui;
  materials_->SetUi(ui);
}

void TVelEditorProject::Clear() {
  materials_->FreeAll();
  supports_->FreeAll();
  concForces_->FreeAll();
  dispForces_->FreeAll();
  pliants_->FreeAll();
  hardlesses_->FreeAll();
  shellFuncs_->FreeAll();
  knots_->FreeAll();
  elements_->FreeAll();
  materials_->AddMaterial(kDefaultMaterialName);
  SetFileName(kNoNameFile);
}

void TVelEditorProject::ApplyShellFuncs() {
  for (const auto& k : knots_->Items()) k->SetZ(shellFuncs_->GetZ(k->X, k->Y));
  for (const auto& e : elements_->Items()) {
    if (e->ElemKind != kElemKindShell) continue;
    auto* shell = dynamic_cast<TMLEditorShell*>(e.get());
    if (shell == nullptr || shell->Knots.empty() || shell->Knots[0] == nullptr) continue;
    const TEditorKnot& k0 = *shell->Knots[0];
    shell->SetKx(shellFuncs_->GetKx(k0.X, k0.Y));
    shell->SetKy(shellFuncs_->GetKy(k0.X, k0.Y));
    shell->SetKxy(0);
  }
}

void TVelEditorProject::Draw(Canvas& canvas, std::uint32_t flags) const {
  elements_->Draw(canvas);
  if ((flags & kDrawKnots) != 0) knots_->Draw(canvas);
  if ((flags & kDrawSupports) != 0) supports_->Draw(canvas);
  if ((flags & kDrawLoads) != 0) {
    concForces_->Draw(canvas);
    dispForces_->Draw(canvas);
  }
  if ((flags & kDrawShells) != 0) shellFuncs_->Draw(canvas);
}

void TVelEditorProject::UpdateScreen(const TViewTransform& window) {
  knots_->Project(window);
  knots_->UpdateVisible(window);
  shellFuncs_->CalcScreenRects(window);
  shellFuncs_->UpdateVisible(window);
  elements_->UpdateVisible();
  supports_->UpdateVisible();
  concForces_->UpdateVisible();
  dispForces_->UpdateVisible();
}

void TVelEditorProject::ReadLists(BinaryReader& r) {
  materials_->LoadFromStream(r);
  knots_->LoadFromStream(r);
  supports_->LoadFromStream(r, *knots_);
  concForces_->LoadFromStream(r, *knots_);
  pliants_->LoadFromStream(r);
  hardlesses_->LoadFromStream(r);
  elements_->LoadFromStream(r, *knots_, *materials_);
  dispForces_->LoadFromStream(r, *elements_);
  shellFuncs_->LoadFromStream(r);
}

void TVelEditorProject::LoadFromStream(BinaryReader& r) {
  TVelEditorProject fresh(factory_, ui_);
  // The smallest sizes never grow, not even through a file.
  fresh.knots_->MinSizeX = knots_->MinSizeX;
  fresh.knots_->MinSizeY = knots_->MinSizeY;
  fresh.ReadLists(r);
  SwapLists(fresh);
}

void TVelEditorProject::SaveToStream(BinaryWriter& w) {
  ApplyShellFuncs();
  const KnotPositionMap knots(*knots_);
  const ElementPositionMap elements(*elements_);
  const MaterialPositionMap materials(*materials_);
  materials_->SaveToStream(w);
  knots_->SaveToStream(w);
  supports_->SaveToStream(w, knots);
  concForces_->SaveToStream(w, knots);
  pliants_->SaveToStream(w);
  hardlesses_->SaveToStream(w);
  elements_->SaveToStream(w, knots, materials);
  dispForces_->SaveToStream(w, elements);
  shellFuncs_->SaveToStream(w);
}

void TVelEditorProject::SwapLists(TVelEditorProject& other) {
  materials_->Swap(*other.materials_);
  elements_->Swap(*other.elements_);
  knots_->Swap(*other.knots_);
  supports_->Swap(*other.supports_);
  concForces_->Swap(*other.concForces_);
  dispForces_->Swap(*other.dispForces_);
  shellFuncs_->Swap(*other.shellFuncs_);
}

void TVelEditorProject::Swap(TVelEditorProject& other) {
  SwapLists(other);
  fileName_.swap(other.fileName_);
}

}  // namespace tavir
