#pragma once
// The point entities of the model: knots, supports and loads. Each comes as a
// plain model class and an editor class that adds the screen state of the current
// editing window, drawing and the project-file record with its references.
// References to knots and elements are not owned: the lists own the items and
// delete a knot's or element's dependants first.
#include <cstddef>
#include <cstdint>

#include "model/records.h"
#include "model/references.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"

namespace tavir {

class TFiniteElement;

class TKnot {
 public:
  TKnot() = default;
  virtual ~TKnot() = default;
  TKnot(const TKnot&) = default;
  TKnot& operator=(const TKnot&) = default;

  Extended X = 0, Y = 0, Z = 0;

  void SetX(Extended v) { X = v; }
  void SetY(Extended v) { Y = v; }
  void SetZ(Extended v) { Z = v; }

  // X, Y, Z: 30 bytes.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

class TEditorKnot : public TKnot {
 public:
  TPoint ScreenPoint{};        // pixel in the current editing window
  std::uint8_t Visible = 0;
  std::uint8_t Selected = 0;

  // The knot record; the knot is then invisible at (0, 0) until projected.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const { TKnot::SaveToStream(w); }

  // ScreenPoint of the window's projection plane point (unknown projection: unchanged).
  void Project(const TViewTransform& window);
  // Visible when inside the window's box on the projection's two axes, bounds
  // inclusive (unknown projection: unchanged).
  void UpdateVisible(const TViewTransform& window);

  void SetScreenPoint(TPoint p) { ScreenPoint = p; }
  void SetVisible(std::uint8_t v) { Visible = v; }
  void SetSelected(std::uint8_t v) { Selected = v; }

  // A small disc at the screen point, in the selection colours when selected;
  // nothing when invisible.
  void Draw(Canvas& canvas) const;
};

class TSupport {
 public:
  TSupport() = default;
  virtual ~TSupport() = default;
  TSupport(const TSupport&) = default;
  TSupport& operator=(const TSupport&) = default;

  TFixation Fixation{};

  // Restraint i, 1..6, is fixed when its byte is 1; anything else counts as free.
  bool IsFixed(int i) const;
};

class TEditorSupport : public TSupport {
 public:
  TEditorKnot* Knot = nullptr;
  std::uint8_t Visible = 0;
  std::int32_t Direction = 0;  // 0 or 1: picks the symbol variant and its offset
  // The knot position the file named (-1 for none or an item made in memory): kept
  // so that the analysis can name what it leaves out; never written back.
  std::int32_t FileReference = -1;

  // Knot index, fixation, direction: 14 bytes. A position that names no knot
  // leaves the support without a knot; such a support is kept but not drawn.
  void LoadFromStream(BinaryReader& r, const KnotIndex& knots);
  void SaveToStream(BinaryWriter& w, const KnotIndex& knots) const;

  void SetDirection(std::int32_t v) { Direction = v; }
  void SetVisible(std::uint8_t v) { Visible = v; }

  // The restraint symbols of "IL_Rests" around the knot, then the knot itself.
  // Nothing without a knot.
  void Draw(Canvas& canvas) const;
};

class TGlobalForce {
 public:
  TGlobalForce() = default;
  virtual ~TGlobalForce() = default;
  TGlobalForce(const TGlobalForce&) = default;
  TGlobalForce& operator=(const TGlobalForce&) = default;

  TForceRecord Force;

  void GetForce(TForceRecord& out) const { out = Force; }
  void SetForce(const TForceRecord& f) { Force = f; }
  // Component i, 1..6 (0 outside that range).
  Extended GetComponent(int i) const { return Force.Component(i); }

  // The 60 bytes of the force record.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

class TConcentrateForce : public TGlobalForce {
 public:
  TEditorKnot* Knot = nullptr;
};

class TEditorConcentrateForce : public TConcentrateForce {
 public:
  std::uint8_t Visible = 0;
  std::int32_t FileReference = -1;  // the knot position the file named, as for supports

  // Force record, then the knot index: 64 bytes. A position that names no knot
  // leaves the load without a knot (kept, written back as -1, never drawn).
  void LoadFromStream(BinaryReader& r, const KnotIndex& knots);
  void SaveToStream(BinaryWriter& w, const KnotIndex& knots) const;

  void SetVisible(std::uint8_t v) { Visible = v; }

  // The "IL_Forces" arrow of each non-zero component but Mz. Nothing without a knot.
  void Draw(Canvas& canvas) const;
};

class TDispersionForce : public TGlobalForce {
 public:
  TFiniteElement* Element = nullptr;
};

class TEditorDispersionForce : public TDispersionForce {
 public:
  std::uint8_t Visible = 0;
  std::uint8_t Option1 = 0;  // stored and read back; nothing else sets them
  std::uint8_t Option2 = 0;
  std::int32_t FileReference = -1;  // the element position the file named, as for supports

  // Force record, element index, Option1, Option2: 66 bytes.
  void LoadFromStream(BinaryReader& r, const ElementIndex& elements);
  void SaveToStream(BinaryWriter& w, const ElementIndex& elements) const;

  void SetVisible(std::uint8_t v) { Visible = v; }
  void SetOption1(std::uint8_t v) { Option1 = v; }
  void SetOption2(std::uint8_t v) { Option2 = v; }

  // A distributed load has no picture of its own.
  void Draw(Canvas& /*canvas*/) const {}
};

constexpr std::size_t kKnotRecordBytes = 30;
constexpr std::size_t kSupportRecordBytes = 14;
constexpr std::size_t kConcForceRecordBytes = 64;
constexpr std::size_t kDispForceRecordBytes = 66;

}  // namespace tavir
