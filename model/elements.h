#pragma once
// Plate and shell elements and their layer stacks.
//
// Ownership: an element's knots belong to the knot list (plain pointers here; the
// lists keep them sound). Layers are shared objects: a stack holds its layers by
// shared_ptr, so Assign between stacks shares them and CopyFrom copies them, and a
// layer lives as long as some stack (or dialog) still holds it. A layer refers to
// its material weakly: the material list owns the materials, and a layer whose
// material has been deleted simply has none (written as -1).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/codes.h"
#include "model/knots.h"
#include "model/materials.h"
#include "model/references.h"
#include "platform/binstream.h"
#include "platform/canvas.h"

namespace tavir {

class TFiniteElement {
 public:
  // Sizes Knots by the type (0: 3, 1 and 2: 4, 4: 2, other: none), all nullptr.
  TFiniteElement(tavir::ElementType elementType, ElementKind elemKind);
  virtual ~TFiniteElement() = default;
  TFiniteElement(const TFiniteElement&) = delete;
  TFiniteElement& operator=(const TFiniteElement&) = delete;

  tavir::ElementType ElementType = tavir::ElementType::Triangle;
  ElementKind ElemKind = ElementKind::Plate;
  std::vector<TEditorKnot*> Knots;

  // Knot entries an element of this type holds in memory.
  static std::size_t KnotCountOfType(tavir::ElementType elementType);
  // Knot indices its file record carries (0: 3, 1 and 2: 4, other: none).
  static std::size_t RecordKnotCountOfType(tavir::ElementType elementType);

 protected:
  // The type byte, then the knot indices: only the start of an element's record,
  // so only the record's own writers use them. An index that names no knot is a
  // format error: an element never holds a missing knot. On error nothing changes.
  void LoadFromStream(BinaryReader& r, const KnotIndex& knots);
  void SaveToStream(BinaryWriter& w, const KnotIndex& knots) const;

  struct KnotPart {
    tavir::ElementType ElementType = tavir::ElementType::Triangle;
    std::vector<TEditorKnot*> Knots;
  };
  static KnotPart ReadKnotPart(BinaryReader& r, const KnotIndex& knots);
  void ApplyKnotPart(KnotPart&& part);
};

// One layer: thickness, offset from the mid-plane, type, material, fill brush.
class TPhisicalElement {
 public:
  explicit TPhisicalElement(const std::shared_ptr<TPhisPropRodNL>& material = nullptr);
  virtual ~TPhisicalElement() = default;
  TPhisicalElement(const TPhisicalElement&) = default;
  TPhisicalElement& operator=(const TPhisicalElement&) = default;

  Extended Thickness = 0.05L;
  Extended Z = 0;              // distance from the mid-plane
  std::uint8_t TypeLayer = 0;  // 0 monolith, 1 reinforcement layer
  CanvasBrush Brush{0x8000, BrushStyle::Solid};

  // The layer's material; nullptr when it has none or when it has been deleted.
  std::shared_ptr<TPhisPropRodNL> Material() const { return material_.lock(); }
  void SetMaterial(const std::shared_ptr<TPhisPropRodNL>& material) { material_ = material; }

  void SetThickness(Extended v) { Thickness = v; }
  void SetZ(Extended v) { Z = v; }
  void SetTypeLayer(std::uint8_t v) { TypeLayer = v; }

  // Thickness, Z, TypeLayer, the brush and the material reference.
  void Assign(const TPhisicalElement& source);

  // Thickness, Z, type, material index, brush colour, brush style: 30 bytes. The
  // material comes from MaterialByIndex (which may let the user choose, or throw
  // to cancel); on any failure the layer is unchanged.
  void LoadFromStream(BinaryReader& r, MaterialIndex& materials);
  void SaveToStream(BinaryWriter& w, const MaterialIndex& materials) const;

 private:
  std::weak_ptr<TPhisPropRodNL> material_;
};

// The layer stack of an element: named layers in order and the element's brush.
class TGeometricElement {
 public:
  TGeometricElement() = default;
  virtual ~TGeometricElement() = default;
  // Copying would leave open whether layers are shared or copied: say it with
  // Assign (share) or CopyFrom (copy).
  TGeometricElement(const TGeometricElement&) = delete;
  TGeometricElement& operator=(const TGeometricElement&) = delete;
  TGeometricElement(TGeometricElement&&) = default;
  TGeometricElement& operator=(TGeometricElement&&) = default;

  CanvasBrush Brush{0x808080, BrushStyle::Solid};

  std::int32_t Count() const { return static_cast<std::int32_t>(layers_.size()); }

  void AddLayer(std::shared_ptr<TPhisicalElement> layer, const std::string& name);
  // A new layer with the defaults on the material, appended; returns it.
  std::shared_ptr<TPhisicalElement> AddLayerByName(const std::string& name,
                                                   const std::shared_ptr<TPhisPropRodNL>& material);
  // Shares the source's layer objects (and takes its brush).
  void Assign(const TGeometricElement& source);
  // Copies the source's layers into new objects (and takes its brush).
  void CopyFrom(const TGeometricElement& source);
  // Layer i's Assign from the given layer; nothing when i is out of range.
  void AssignLayer(std::int32_t i, const TPhisicalElement& layer);
  // Drops every layer (a layer shared with another holder lives on there).
  void Clear();
  // Removes entry i and hands its layer back (nullptr when i is out of range).
  std::shared_ptr<TPhisicalElement> DeleteLayer(std::int32_t i);

  // Layer i; nullptr when i is out of range.
  std::shared_ptr<TPhisicalElement> Layer(std::int32_t i) const;
  // Name of layer i; empty when i is out of range.
  std::string LayerName(std::int32_t i) const;
  // Layer i's material; nullptr when it has none or i is out of range.
  std::shared_ptr<TPhisPropRodNL> LayerMaterial(std::int32_t i) const;

  // Int32 count, Int32 brush colour, byte brush style, then per layer its name and
  // its layer record. On any failure the stack is unchanged.
  void LoadFromStream(BinaryReader& r, MaterialIndex& materials);
  void SaveToStream(BinaryWriter& w, const MaterialIndex& materials) const;

 private:
  struct Entry {
    std::string Name;
    std::shared_ptr<TPhisicalElement> Layer;
  };
  std::vector<Entry> layers_;
};

// Smallest file size of one layer: an empty name (4) and the layer record (30).
constexpr std::size_t kLayerRecordBytes = 30;
constexpr std::size_t kMinLayerEntryBytes = 4 + kLayerRecordBytes;
constexpr std::size_t kLayerStackHeaderBytes = 9;

class TMLFiniteElement : public TFiniteElement {
 public:
  // One layer, "Тело пластины", on the material with the layer defaults.
  TMLFiniteElement(tavir::ElementType elementType, const std::shared_ptr<TPhisPropRodNL>& material,
                   ElementKind elemKind);

  TGeometricElement Layers;

  // The element's record in the project file, by its class: a shell's carries its
  // curvatures, whatever reference it is written or read through. On any failure
  // nothing changes.
  // Here: the knot part, then the layer stack.
  virtual void LoadFromStream(BinaryReader& r, const KnotIndex& knots, MaterialIndex& materials);
  virtual void SaveToStream(BinaryWriter& w, const KnotIndex& knots, const MaterialIndex& materials) const;
  // The kind byte that goes before the record in the element list: the class's
  // (plate 0, shell 5), so that the file always reads back.
  virtual ElementKind RecordKind() const { return ElementKind::Plate; }
};

class TMLEditorElement : public TMLFiniteElement {
 public:
  // Outline on, invisible, not selected.
  TMLEditorElement(tavir::ElementType elementType, const std::shared_ptr<TPhisPropRodNL>& material,
                   ElementKind elemKind);

  std::uint8_t Visible = 0;
  std::uint8_t Selected = 0;
  std::uint8_t Contur = 1;  // 1: the outline is drawn

  // The polygon through the knots' screen points, filled with the stack's brush
  // (layerIndex < 0) or layer layerIndex's; selection colours when selected.
  void Draw(Canvas& canvas, std::int32_t layerIndex) const;
  // The same polygon, white outline, filled with the colour: wipes the element out.
  void DrawErase(Canvas& canvas, TColor color) const;
  // Visible when at least one of its knots is (the knots' flags must be current).
  void UpdateVisible();

  void SetContur(std::uint8_t v) { Contur = v; }
  void SetSelected(std::uint8_t v) { Selected = v; }
  void SetVisible(std::uint8_t v) { Visible = v; }

 protected:
  // The screen points of the polygon (type 0: three knots, 1 and 2: four); empty
  // when the type has no polygon or a knot is missing.
  std::vector<TPoint> PolygonPoints() const;
};

class TMLEditorShell : public TMLEditorElement {
 public:
  using TMLEditorElement::TMLEditorElement;

  Extended Kx = 0, Ky = 0, Kxy = 0;  // curvatures along X and Y, twist

  void SetKx(Extended v) { Kx = v; }
  void SetKy(Extended v) { Ky = v; }
  void SetKxy(Extended v) { Kxy = v; }

  // The layered element record, then Kx, Ky, Kxy. On any failure nothing changes.
  void LoadFromStream(BinaryReader& r, const KnotIndex& knots, MaterialIndex& materials) override;
  void SaveToStream(BinaryWriter& w, const KnotIndex& knots, const MaterialIndex& materials) const override;
  ElementKind RecordKind() const override { return ElementKind::Shell; }
};

}  // namespace tavir
