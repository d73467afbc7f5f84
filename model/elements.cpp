#include "model/elements.h"

#include <utility>

namespace tavir {

namespace {
const char* const kMissingKnot = "Файл поврежден: элемент ссылается на несуществующий узел.";
constexpr const char* kFirstLayerName = "Тело пластины";
constexpr TColor kSelectionPen = 0xFF0000;
constexpr TColor kSelectionFill = 0xF0CAA6;
}  // namespace

// ---- TFiniteElement ----

TFiniteElement::TFiniteElement(tavir::ElementType elementType, ElementKind elemKind)
    : ElementType(elementType), ElemKind(elemKind), Knots(KnotCountOfType(elementType), nullptr) {}

std::size_t TFiniteElement::KnotCountOfType(tavir::ElementType elementType) {
  switch (elementType) {
    case tavir::ElementType::Triangle: return 3;
    case tavir::ElementType::Rectangle:
    case tavir::ElementType::Quadrangle: return 4;
    case tavir::ElementType::Rod: return 2;
    default: return 0;
  }
}

std::size_t TFiniteElement::RecordKnotCountOfType(tavir::ElementType elementType) {
  switch (elementType) {
    case tavir::ElementType::Triangle: return 3;
    case tavir::ElementType::Rectangle:
    case tavir::ElementType::Quadrangle: return 4;
    default: return 0;
  }
}

TFiniteElement::KnotPart TFiniteElement::ReadKnotPart(BinaryReader& r, const KnotIndex& knots) {
  KnotPart part;
  // Any type byte is kept as read: the types without knots have no more record.
  part.ElementType = CodeOfByte<tavir::ElementType>(r.ReadByte());
  const std::size_t n = RecordKnotCountOfType(part.ElementType);
  r.Require(n * 4);
  part.Knots.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    TEditorKnot* knot = knots.KnotAt(r.ReadInt32());
    if (knot == nullptr) throw EFormatError(kMissingKnot);
    part.Knots.push_back(knot);
  }
  return part;
}

void TFiniteElement::ApplyKnotPart(KnotPart&& part) {
  ElementType = part.ElementType;
  Knots = std::move(part.Knots);
}

void TFiniteElement::LoadFromStream(BinaryReader& r, const KnotIndex& knots) { ApplyKnotPart(ReadKnotPart(r, knots)); }

void TFiniteElement::SaveToStream(BinaryWriter& w, const KnotIndex& knots) const {
  w.WriteByte(CodeByte(ElementType));
  const std::size_t n = RecordKnotCountOfType(ElementType);
  for (std::size_t i = 0; i < n; ++i) {
    const TEditorKnot* knot = i < Knots.size() ? Knots[i] : nullptr;
    w.WriteInt32(knot != nullptr ? knots.IndexOfKnot(knot) : -1);
  }
}

// ---- TPhisicalElement ----

TPhisicalElement::TPhisicalElement(const std::shared_ptr<TPhisPropRodNL>& material) : material_(material) {}

void TPhisicalElement::Assign(const TPhisicalElement& source) {
  if (&source == this) return;
  Thickness = source.Thickness;
  Z = source.Z;
  TypeLayer = source.TypeLayer;
  Brush = source.Brush;
  material_ = source.material_;
}

void TPhisicalElement::LoadFromStream(BinaryReader& r, MaterialIndex& materials) {
  r.Require(kLayerRecordBytes);
  const Extended thickness = r.ReadExtended();
  const Extended z = r.ReadExtended();
  const std::uint8_t type = r.ReadByte();
  const std::int32_t materialIndex = r.ReadInt32();
  CanvasBrush brush;
  brush.Color = r.ReadUInt32();
  // Kept as stored so that a file saved again is unchanged.
  brush.Style = static_cast<BrushStyle>(r.ReadByte());
  std::shared_ptr<TPhisPropRodNL> material = materials.MaterialByIndex(materialIndex);
  Thickness = thickness;
  Z = z;
  TypeLayer = type;
  Brush = brush;
  material_ = material;
}

void TPhisicalElement::SaveToStream(BinaryWriter& w, const MaterialIndex& materials) const {
  w.WriteExtended(Thickness);
  w.WriteExtended(Z);
  w.WriteByte(TypeLayer);
  const std::shared_ptr<TPhisPropRodNL> material = Material();
  w.WriteInt32(material ? materials.IndexOfMaterial(material.get()) : -1);
  w.WriteUInt32(Brush.Color);
  w.WriteByte(static_cast<std::uint8_t>(Brush.Style));
}

// ---- TGeometricElement ----

void TGeometricElement::AddLayer(std::shared_ptr<TPhisicalElement> layer, const std::string& name) {
  layers_.push_back(Entry{name, std::move(layer)});
}

std::shared_ptr<TPhisicalElement> TGeometricElement::AddLayerByName(const std::string& name,
                                                                    const std::shared_ptr<TPhisPropRodNL>& material) {
  auto layer = std::make_shared<TPhisicalElement>(material);
  AddLayer(layer, name);
  return layer;
}

void TGeometricElement::Assign(const TGeometricElement& source) {
  if (&source == this) return;
  layers_ = source.layers_;
  Brush = source.Brush;
}

void TGeometricElement::CopyFrom(const TGeometricElement& source) {
  if (&source == this) return;
  std::vector<Entry> copies;
  copies.reserve(source.layers_.size());
  for (const Entry& e : source.layers_) {
    auto layer = std::make_shared<TPhisicalElement>(e.Layer ? e.Layer->Material() : nullptr);
    if (e.Layer) layer->Assign(*e.Layer);
    copies.push_back(Entry{e.Name, std::move(layer)});
  }
  layers_ = std::move(copies);
  Brush = source.Brush;
}

void TGeometricElement::AssignLayer(std::int32_t i, const TPhisicalElement& layer) {
  if (auto target = Layer(i)) target->Assign(layer);
}

void TGeometricElement::Clear() { layers_.clear(); }

std::shared_ptr<TPhisicalElement> TGeometricElement::DeleteLayer(std::int32_t i) {
  if (i < 0 || i >= Count()) return nullptr;
  auto it = layers_.begin() + i;
  std::shared_ptr<TPhisicalElement> layer = std::move(it->Layer);
  layers_.erase(it);
  return layer;
}

std::shared_ptr<TPhisicalElement> TGeometricElement::Layer(std::int32_t i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return layers_[static_cast<std::size_t>(i)].Layer;
}

std::string TGeometricElement::LayerName(std::int32_t i) const {
  if (i < 0 || i >= Count()) return {};
  return layers_[static_cast<std::size_t>(i)].Name;
}

std::shared_ptr<TPhisPropRodNL> TGeometricElement::LayerMaterial(std::int32_t i) const {
  auto layer = Layer(i);
  return layer ? layer->Material() : nullptr;
}

void TGeometricElement::LoadFromStream(BinaryReader& r, MaterialIndex& materials) {
  const std::int32_t count = r.ReadCount(kMinLayerEntryBytes);
  CanvasBrush brush;
  brush.Color = r.ReadUInt32();
  brush.Style = static_cast<BrushStyle>(r.ReadByte());
  std::vector<Entry> layers;
  for (std::int32_t i = 0; i < count; ++i) {
    std::string name = r.ReadString();
    auto layer = std::make_shared<TPhisicalElement>(nullptr);
    layer->LoadFromStream(r, materials);
    layers.push_back(Entry{std::move(name), std::move(layer)});
  }
  layers_ = std::move(layers);
  Brush = brush;
}

void TGeometricElement::SaveToStream(BinaryWriter& w, const MaterialIndex& materials) const {
  w.WriteInt32(Count());
  w.WriteUInt32(Brush.Color);
  w.WriteByte(static_cast<std::uint8_t>(Brush.Style));
  for (const Entry& e : layers_) {
    w.WriteString(e.Name);
    if (e.Layer) {
      e.Layer->SaveToStream(w, materials);
    } else {
      TPhisicalElement().SaveToStream(w, materials);
    }
  }
}

// ---- TMLFiniteElement ----

TMLFiniteElement::TMLFiniteElement(tavir::ElementType elementType, const std::shared_ptr<TPhisPropRodNL>& material,
                                   ElementKind elemKind)
    : TFiniteElement(elementType, elemKind) {
  Layers.AddLayerByName(kFirstLayerName, material);
}

void TMLFiniteElement::LoadFromStream(BinaryReader& r, const KnotIndex& knots, MaterialIndex& materials) {
  KnotPart part = ReadKnotPart(r, knots);
  TGeometricElement layers;
  layers.LoadFromStream(r, materials);
  ApplyKnotPart(std::move(part));
  Layers = std::move(layers);
}

void TMLFiniteElement::SaveToStream(BinaryWriter& w, const KnotIndex& knots, const MaterialIndex& materials) const {
  TFiniteElement::SaveToStream(w, knots);
  Layers.SaveToStream(w, materials);
}

// ---- TMLEditorElement ----

TMLEditorElement::TMLEditorElement(tavir::ElementType elementType, const std::shared_ptr<TPhisPropRodNL>& material,
                                   ElementKind elemKind)
    : TMLFiniteElement(elementType, material, elemKind) {}

std::vector<TPoint> TMLEditorElement::PolygonPoints() const {
  const std::size_t n = RecordKnotCountOfType(ElementType);
  std::vector<TPoint> points;
  if (n == 0 || Knots.size() < n) return points;
  points.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (Knots[i] == nullptr) return {};
    points.push_back(Knots[i]->ScreenPoint);
  }
  return points;
}

void TMLEditorElement::Draw(Canvas& canvas, std::int32_t layerIndex) const {
  if (Visible == 0) return;
  CanvasStateGuard guard(canvas);
  canvas.Brush.Style = BrushStyle::Solid;
  canvas.Pen.Color = 0;
  if (Contur == 1) {
    canvas.Pen.Width = 1;
    canvas.Pen.Style = PenStyle::Solid;
  } else {
    canvas.Pen.Width = 0;
    canvas.Pen.Style = PenStyle::Clear;
  }
  if (Selected != 0) {
    canvas.Pen.Width = 1;
    canvas.Pen.Color = kSelectionPen;
    canvas.Brush.Color = kSelectionFill;
  } else if (auto layer = layerIndex >= 0 ? Layers.Layer(layerIndex) : nullptr) {
    canvas.Brush = layer->Brush;
  } else {
    // The element's own brush; also for a layer index the stack does not have.
    canvas.Brush = Layers.Brush;
  }
  const std::vector<TPoint> points = PolygonPoints();
  if (!points.empty()) canvas.Polygon(points);
}

void TMLEditorElement::DrawErase(Canvas& canvas, TColor color) const {
  if (Visible == 0) return;
  CanvasStateGuard guard(canvas);
  canvas.Pen.Color = 0xFFFFFF;
  canvas.Pen.Width = 1;
  canvas.Pen.Style = PenStyle::Solid;
  canvas.Brush.Color = color;
  canvas.Brush.Style = BrushStyle::Solid;
  const std::vector<TPoint> points = PolygonPoints();
  if (!points.empty()) canvas.Polygon(points);
}

void TMLEditorElement::UpdateVisible() {
  Visible = 0;
  for (const TEditorKnot* knot : Knots)
    if (knot != nullptr && knot->Visible != 0) {
      Visible = 1;
      return;
    }
}

// ---- TMLEditorShell ----

void TMLEditorShell::LoadFromStream(BinaryReader& r, const KnotIndex& knots, MaterialIndex& materials) {
  KnotPart part = ReadKnotPart(r, knots);
  TGeometricElement layers;
  layers.LoadFromStream(r, materials);
  r.Require(30);
  const Extended kx = r.ReadExtended();
  const Extended ky = r.ReadExtended();
  const Extended kxy = r.ReadExtended();
  ApplyKnotPart(std::move(part));
  Layers = std::move(layers);
  Kx = kx;
  Ky = ky;
  Kxy = kxy;
}

void TMLEditorShell::SaveToStream(BinaryWriter& w, const KnotIndex& knots, const MaterialIndex& materials) const {
  TMLFiniteElement::SaveToStream(w, knots, materials);
  w.WriteExtended(Kx);
  w.WriteExtended(Ky);
  w.WriteExtended(Kxy);
}

}  // namespace tavir
