#include "model/knots.h"

#include <cstdint>
#include <limits>

namespace tavir {

namespace {
// A pixel position plus an offset, saturated: screen points of far-away knots sit
// at the ends of the Int32 range and must not overflow.
int Shift(std::int32_t base, std::int64_t delta) {
  const std::int64_t v = std::int64_t{base} + delta;
  if (v > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (v < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<int>(v);
}

constexpr TColor kSelectionPen = 0xFF0000;
constexpr TColor kSelectionFill = 0xF0CAA6;
constexpr TColor kKnotFill = 0x808080;
}  // namespace

void TKnot::LoadFromStream(BinaryReader& r) {
  r.Require(kKnotRecordBytes);
  X = r.ReadExtended();
  Y = r.ReadExtended();
  Z = r.ReadExtended();
}

void TKnot::SaveToStream(BinaryWriter& w) const {
  w.WriteExtended(X);
  w.WriteExtended(Y);
  w.WriteExtended(Z);
}

void TEditorKnot::LoadFromStream(BinaryReader& r) {
  TKnot::LoadFromStream(r);
  Visible = 0;
  ScreenPoint = {0, 0};
}

void TEditorKnot::Project(const TViewTransform& window) {
  switch (window.Projection) {
    case Projection::XY: ScreenPoint = window.FloatPointToPoint(FloatPoint(X, Y)); break;
    case Projection::YZ: ScreenPoint = window.FloatPointToPoint(FloatPoint(Y, Z)); break;
    case Projection::XZ: ScreenPoint = window.FloatPointToPoint(FloatPoint(X, Z)); break;
    default: break;
  }
}

void TEditorKnot::UpdateVisible(const TViewTransform& window) {
  const TFloatPoint3D& mn = window.MinPoint;
  const TFloatPoint3D& mx = window.MaxPoint;
  auto between = [](Extended lo, Extended v, Extended hi) { return lo <= v && v <= hi; };
  switch (window.Projection) {
    case Projection::XY: Visible = between(mn.X, X, mx.X) && between(mn.Y, Y, mx.Y) ? 1 : 0; break;
    case Projection::YZ: Visible = between(mn.Y, Y, mx.Y) && between(mn.Z, Z, mx.Z) ? 1 : 0; break;
    case Projection::XZ: Visible = between(mn.X, X, mx.X) && between(mn.Z, Z, mx.Z) ? 1 : 0; break;
    default: break;
  }
}

void TEditorKnot::Draw(Canvas& canvas) const {
  CanvasStateGuard guard(canvas);
  canvas.Pen.Style = PenStyle::Solid;
  canvas.Pen.Width = 1;
  canvas.Brush.Style = BrushStyle::Solid;
  canvas.Pen.Mode = PenMode::Copy;
  if (Selected != 0) {
    canvas.Pen.Color = kSelectionPen;
    canvas.Brush.Color = kSelectionFill;
  } else {
    canvas.Brush.Color = kKnotFill;
    canvas.Pen.Color = 0;
  }
  if (Visible != 0)
    canvas.Ellipse(Shift(ScreenPoint.X, -2), Shift(ScreenPoint.Y, -2), Shift(ScreenPoint.X, 2),
                   Shift(ScreenPoint.Y, 2));
}

bool TSupport::IsFixed(int i) const {
  if (i < 1 || i > 6) return false;
  return Fixation[static_cast<std::size_t>(i - 1)] == 1;
}

void TEditorSupport::LoadFromStream(BinaryReader& r, const KnotIndex& knots) {
  r.Require(kSupportRecordBytes);
  const std::int32_t index = r.ReadInt32();
  const TFixation fixation = ReadFixation(r);
  const std::int32_t direction = r.ReadInt32();
  Fixation = fixation;
  Direction = direction;
  FileReference = index;
  Knot = knots.KnotAt(index);
}

void TEditorSupport::SaveToStream(BinaryWriter& w, const KnotIndex& knots) const {
  w.WriteInt32(Knot != nullptr ? knots.IndexOfKnot(Knot) : -1);
  WriteFixation(w, Fixation);
  w.WriteInt32(Direction);
}

void TEditorSupport::Draw(Canvas& canvas) const {
  if (Knot == nullptr) return;
  const std::int32_t kx = Knot->ScreenPoint.X;
  const std::int32_t ky = Knot->ScreenPoint.Y;
  const std::int64_t d = Direction;
  const std::int64_t off = -18 * d;  // the symbol's side towards the direction
  auto image = [&](std::int64_t picture, int x, int y) {
    canvas.DrawImage("IL_Rests", Shift(0, picture), x, y);
  };
  {
    CanvasStateGuard guard(canvas);
    if (IsFixed(1) && IsFixed(2) && IsFixed(3) && IsFixed(4) && IsFixed(5)) {
      image(14 + d, Shift(kx, off), Shift(ky, off));
    } else {
      if (IsFixed(1) && IsFixed(4)) image(10 + d, Shift(kx, off), Shift(ky, -9));
      if (IsFixed(1) && !IsFixed(4)) image(0 + d, Shift(kx, off), Shift(ky, -9));
      if (IsFixed(2) && IsFixed(5)) image(12 + d, Shift(kx, -9), Shift(ky, off));
      if (IsFixed(2) && !IsFixed(5)) image(2 + d, Shift(kx, -9), Shift(ky, off));
      if (IsFixed(3)) image(4 + d, Shift(kx, off), Shift(ky, off));
      if (IsFixed(4) && !IsFixed(1)) image(6 + d, Shift(kx, off), Shift(ky, -9));
      if (IsFixed(5) && !IsFixed(2)) image(8 + d, Shift(kx, -9), Shift(ky, off));
    }
  }
  Knot->Draw(canvas);
}

void TGlobalForce::LoadFromStream(BinaryReader& r) {
  r.Require(kForceRecordBytes);
  Force = ReadForceRecord(r);
}

void TGlobalForce::SaveToStream(BinaryWriter& w) const { WriteForceRecord(w, Force); }

void TEditorConcentrateForce::LoadFromStream(BinaryReader& r, const KnotIndex& knots) {
  r.Require(kConcForceRecordBytes);
  const TForceRecord force = ReadForceRecord(r);
  const std::int32_t index = r.ReadInt32();
  Force = force;
  FileReference = index;
  Knot = knots.KnotAt(index);
}

void TEditorConcentrateForce::SaveToStream(BinaryWriter& w, const KnotIndex& knots) const {
  WriteForceRecord(w, Force);
  w.WriteInt32(Knot != nullptr ? knots.IndexOfKnot(Knot) : -1);
}

void TEditorConcentrateForce::Draw(Canvas& canvas) const {
  if (Knot == nullptr) return;
  CanvasStateGuard guard(canvas);
  const std::int32_t kx = Knot->ScreenPoint.X;
  const std::int32_t ky = Knot->ScreenPoint.Y;
  struct Arrow {
    int Positive, PX, PY;  // picture and offsets for a positive component
    int Negative, NX, NY;  // and for a negative one
  };
  // Px, Py, Pz, Mx, My; Mz has no picture.
  static constexpr Arrow kArrows[5] = {
      {0, -24, -12, 1, 0, -12},
      {2, -12, 0, 3, -12, -24},
      {4, -24, -24, 5, 0, 0},
      {6, 0, -12, 7, 0, -12},
      {8, -12, 0, 9, -12, 0},
  };
  for (int i = 0; i < 5; ++i) {
    const Extended c = Force.Component(i + 1);
    const Arrow& a = kArrows[i];
    if (c > 0)
      canvas.DrawImage("IL_Forces", a.Positive, Shift(kx, a.PX), Shift(ky, a.PY));
    else if (c < 0)
      canvas.DrawImage("IL_Forces", a.Negative, Shift(kx, a.NX), Shift(ky, a.NY));
  }
}

void TEditorDispersionForce::LoadFromStream(BinaryReader& r, const ElementIndex& elements) {
  r.Require(kDispForceRecordBytes);
  const TForceRecord force = ReadForceRecord(r);
  const std::int32_t index = r.ReadInt32();
  const std::uint8_t o1 = r.ReadByte();
  const std::uint8_t o2 = r.ReadByte();
  Force = force;
  FileReference = index;
  Element = elements.ElementAt(index);
  Option1 = o1;
  Option2 = o2;
}

void TEditorDispersionForce::SaveToStream(BinaryWriter& w, const ElementIndex& elements) const {
  WriteForceRecord(w, Force);
  w.WriteInt32(Element != nullptr ? elements.IndexOfElement(Element) : -1);
  w.WriteByte(Option1);
  w.WriteByte(Option2);
}

}  // namespace tavir
