#include "model/shell_surfaces.h"

#include <cmath>
#include <utility>

#include "model/geometry_ops.h"
#include "model/settings.h"

namespace tavir {

namespace {
const char* const kNotParaboloid = "Ошибка загрузки! Функция не эллиптический параболлоид!";
const char* const kNotSphere = "Ошибка загрузки! Функция не является функцией сферы!";
const char* const kNoParams = "Ошибка! Сначала задайте параметры оболочки.";
const char* const kBadParamCount = "Ошибка загрузки! Неверное число параметров оболочки.";

// What a span (or its square) must be to be divided by. A zero, infinite or
// undefined span, or a square that underflows or overflows, makes the height and
// the matching curvature 0.
bool Usable(Extended d) { return std::isfinite(d) && d != 0; }

// The plan in the surface's own plane: offsets from the origin's two coordinates.
struct PlanExtent {
  Extended Lo1, Hi1, Lo2, Hi2;
};

// The origin's coordinates along the two axes of a plane; false for plane 3 and
// unknown planes.
bool PlaneOrigin(const TFloatPoint3D& o, std::uint8_t plane, Extended& o1, Extended& o2) {
  switch (plane) {
    case kShellPlaneXY: o1 = o.X; o2 = o.Y; return true;
    case kShellPlaneYZ: o1 = o.Y; o2 = o.Z; return true;
    case kShellPlaneXZ: o1 = o.X; o2 = o.Z; return true;
    default: return false;
  }
}

bool PlanContains(const TFloatPoint3D& origin, std::uint8_t plane, const PlanExtent& e, Extended x, Extended y) {
  Extended o1 = 0, o2 = 0;
  if (!PlaneOrigin(origin, plane, o1, o2)) return false;
  return o1 + e.Lo1 <= x && x <= o1 + e.Hi1 && o2 + e.Lo2 <= y && y <= o2 + e.Hi2;
}

// The local coordinate of a model coordinate, held to the plan.
Extended ToLocal(Extended v, Extended o, Extended lo, Extended hi) {
  if (v < o + lo) return lo;
  if (v > o + hi) return hi;
  return v - o;
}

Extended Greater(Extended a, Extended b) { return a > b ? a : b; }
Extended Smaller(Extended a, Extended b) { return a < b ? a : b; }

void PlanScreenRect(const TViewTransform& w, const TFloatPoint3D& o, std::uint8_t plane, const PlanExtent& e,
                    TPoint& topLeft, TPoint& bottomRight) {
  if (w.Projection != Projection::XY || plane != kShellPlaneXY) return;
  const Extended lowX = Greater(o.X + e.Lo1, w.MinPoint.X);
  const Extended lowY = Greater(o.Y + e.Lo2, w.MinPoint.Y);
  const Extended highX = Smaller(o.X + e.Hi1, w.MaxPoint.X);
  const Extended highY = Smaller(o.Y + e.Hi2, w.MaxPoint.Y);
  topLeft = w.FloatPointToPoint(FloatPoint(lowX, highY));
  bottomRight = w.FloatPointToPoint(FloatPoint(highX, lowY));
}

std::uint8_t PlanVisible(const TViewTransform& w, const TFloatPoint3D& o, std::uint8_t plane, const PlanExtent& e) {
  // The contour is a plan rectangle: it means nothing in the other projections.
  if (w.Projection != Projection::XY || plane != kShellPlaneXY) return 0;
  const Extended xs[2] = {o.X + e.Lo1, o.X + e.Hi1};
  const Extended ys[2] = {o.Y + e.Lo2, o.Y + e.Hi2};
  for (Extended x : xs)
    for (Extended y : ys)
      if (InBox(x, y, w.MinPoint.X, w.MaxPoint.Y, w.MaxPoint.X, w.MinPoint.Y, DefaultPrecision)) return 1;
  return 0;
}

void DrawContour(Canvas& c, TColor color, const TPoint& topLeft, const TPoint& bottomRight) {
  CanvasStateGuard guard(c);
  c.Brush.Style = BrushStyle::Clear;
  c.Pen.Mode = PenMode::Copy;
  c.Pen.Color = color;
  c.Pen.Style = PenStyle::Solid;
  c.Pen.Width = 3;
  c.Rectangle(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
}

struct EditorTail {
  std::uint8_t Plane = 0;
  TFloatPoint3D Origin;
  TColor Color = 0;
};

EditorTail ReadEditorTail(BinaryReader& r) {
  EditorTail t;
  t.Plane = r.ReadByte();
  t.Origin = ReadFloatPoint3D(r);
  t.Color = r.ReadUInt32();
  return t;
}

void WriteEditorTail(BinaryWriter& w, std::uint8_t plane, const TFloatPoint3D& origin, TColor color) {
  w.WriteByte(plane);
  WriteFloatPoint3D(w, origin);
  w.WriteUInt32(color);
}
}  // namespace

// ---- TBaseShellFuncs ----

void TBaseShellFuncs::SetParamCount(std::int32_t n) { Params.assign(n > 0 ? static_cast<std::size_t>(n) : 0, 0); }

void TBaseShellFuncs::SetParamsArray(const std::vector<Extended>& values) {
  if (Params.empty()) Params.assign(values.size(), 0);
  const std::size_t n = Params.size() < values.size() ? Params.size() : values.size();
  for (std::size_t i = 0; i < n; ++i) Params[i] = values[i];
}

void TBaseShellFuncs::SetParam(std::size_t i, Extended v, std::size_t minCount) {
  if (Params.size() <= i) Params.resize(minCount > i ? minCount : i + 1, 0);
  Params[i] = v;
}

void TBaseShellFuncs::RequireParams() const {
  if (Params.empty()) throw ShellException(kNoParams);
}

namespace {
// Flag, count and parameters of a base record whose kind has been read. The count
// is checked before anything is allocated.
void ReadRecordBody(BinaryReader& r, std::size_t minParams, std::uint8_t& flag, std::vector<Extended>& params) {
  flag = r.ReadByte();
  const std::int32_t n = r.ReadInt32();
  if (n < 0 || static_cast<std::size_t>(n) < minParams ||
      static_cast<std::uint64_t>(n) > r.Remaining() / kExtendedBytes)
    throw ShellException(kBadParamCount);
  params.resize(static_cast<std::size_t>(n));
  for (Extended& p : params) p = r.ReadExtended();
}
}  // namespace

TBaseShellFuncs::BaseRecord TBaseShellFuncs::ReadBaseRecord(BinaryReader& r) {
  BaseRecord rec;
  rec.Kind = r.ReadInt16();
  ReadRecordBody(r, 0, rec.Flag, rec.Params);
  return rec;
}

TBaseShellFuncs::BaseRecord TBaseShellFuncs::ReadKindRecord(BinaryReader& r, std::int16_t kind, std::size_t minParams,
                                                             const char* wrongKindMessage) {
  BaseRecord rec;
  rec.Kind = r.ReadInt16();
  // The kind first: a record of another kind is reported as such, whatever its count.
  if (rec.Kind != kind) throw ShellException(wrongKindMessage);
  ReadRecordBody(r, minParams, rec.Flag, rec.Params);
  return rec;
}

void TBaseShellFuncs::ApplyBaseRecord(BaseRecord&& rec) {
  Kind = rec.Kind;
  Flag = rec.Flag;
  Params = std::move(rec.Params);
}

void TBaseShellFuncs::LoadFromStream(BinaryReader& r) { ApplyBaseRecord(ReadBaseRecord(r)); }

void TBaseShellFuncs::SaveToStream(BinaryWriter& w) const {
  w.WriteInt16(Kind);
  w.WriteByte(Flag);
  w.WriteInt32(static_cast<std::int32_t>(Params.size()));
  for (Extended p : Params) w.WriteExtended(p);
}

// ---- TElipticParabolloid ----

void TElipticParabolloid::UpdateKx() {
  const Extended a = GetA();
  Kx = Usable(a) && Usable(a * a) ? 8 * GetF1() / (a * a) : 0;
  Kxy = 0;
}

void TElipticParabolloid::UpdateKy() {
  const Extended b = GetB();
  Ky = Usable(b) && Usable(b * b) ? 8 * GetF2() / (b * b) : 0;
  Kxy = 0;
}

void TElipticParabolloid::SetF1(Extended f1) {
  SetParam(2, f1, kParamCount);
  UpdateKx();
}

void TElipticParabolloid::SetF2(Extended f2) {
  SetParam(3, f2, kParamCount);
  UpdateKy();
}

void TElipticParabolloid::SetParams(Extended a, Extended b, Extended f1, Extended f2) {
  SetA(a);
  SetB(b);
  SetF1(f1);
  SetF2(f2);
}

void TElipticParabolloid::SetParamsArray(const std::vector<Extended>& values) {
  TBaseShellFuncs::SetParamsArray(values);
  UpdateKx();
  UpdateKy();
}

void TElipticParabolloid::CalcCurvatures() {
  RequireParams();
  UpdateKx();
  UpdateKy();
}

Extended TElipticParabolloid::CalcZ(Extended x, Extended y) {
  const Extended a = GetA();
  const Extended b = GetB();
  if (!Usable(a) || !Usable(b)) return 0;
  const Extended f1 = GetF1();
  const Extended f2 = GetF2();
  const Extended f = f1 + f2;
  LastLocalX = x;
  LastLocalY = y;
  if (LastLocalX < 0) LastLocalX = 0;
  if (LastLocalX > a) LastLocalX = a;
  if (LastLocalY < 0) LastLocalY = 0;
  if (LastLocalY > b) LastLocalY = b;
  const Extended u = 2 * LastLocalX / a - 1;
  const Extended v = 2 * LastLocalY / b - 1;
  // Rises that cancel out (f = 0) leave the scaled form undefined; its expanded
  // form is the same surface and holds for them too.
  if (f == 0) return f1 * (u * u) + f2 * (v * v) - (f1 + f2);
  return f * (u * u * f1 / f + v * v * f2 / f - 1);
}

Extended TElipticParabolloid::GetZAtLocal(Extended x, Extended y) {
  LastZ = CalcZ(x, y);
  return LastZ;
}

TBaseShellFuncs::BaseRecord TElipticParabolloid::ReadRecord(BinaryReader& r) {
  return ReadKindRecord(r, kShellParaboloid, kParamCount, kNotParaboloid);
}

void TElipticParabolloid::ApplyRecord(BaseRecord&& rec) {
  ApplyBaseRecord(std::move(rec));
  CalcCurvatures();
}

void TElipticParabolloid::LoadFromStream(BinaryReader& r) { ApplyRecord(ReadRecord(r)); }

// ---- TSphere ----

void TSphere::UpdateCurvatures() {
  const Extended a = GetA();
  const Extended h = a / 2;
  Kx = Usable(a) && Usable(h * h) ? 2 * GetF() / (h * h) : 0;
  Ky = Kx;
  Kxy = 0;
}

void TSphere::SetA(Extended a) {
  SetParam(0, a, kParamCount);
  UpdateCurvatures();
}

void TSphere::SetF(Extended f) {
  SetParam(1, f, kParamCount);
  const Extended h = GetA() / 2;
  SetParam(2, f != 0 ? h * h / 2 / f : 0, kParamCount);
  UpdateCurvatures();
}

void TSphere::SetParams(Extended a, Extended f) {
  SetParam(0, a, kParamCount);
  SetParam(1, f, kParamCount);
  if (f != 0) SetParam(2, (a / 2) * (a / 2) / 2 / f, kParamCount);
  UpdateCurvatures();
}

void TSphere::SetParamsArray(const std::vector<Extended>& values) {
  TBaseShellFuncs::SetParamsArray(values);
  UpdateCurvatures();
}

void TSphere::CalcCurvatures() {
  RequireParams();
  UpdateCurvatures();
}

Extended TSphere::CalcZ(Extended x, Extended y) {
  LastLocalX = x;
  LastLocalY = y;
  const Extended a = GetA();
  const Extended h = a / 2;
  if (!Usable(a) || !Usable(h * h)) return 0;
  if (LastLocalX < -h) LastLocalX = -h;
  if (LastLocalX > h) LastLocalX = h;
  if (LastLocalY < -h) LastLocalY = -h;
  if (LastLocalY > h) LastLocalY = h;
  return GetF() * (LastLocalX * LastLocalX + LastLocalY * LastLocalY) / (h * h);
}

Extended TSphere::GetZAtLocal(Extended x, Extended y) {
  LastZ = CalcZ(x, y);
  return LastZ;
}

TBaseShellFuncs::BaseRecord TSphere::ReadRecord(BinaryReader& r) {
  return ReadKindRecord(r, kShellSphere, kParamCount, kNotSphere);
}

void TSphere::ApplyRecord(BaseRecord&& rec) {
  ApplyBaseRecord(std::move(rec));
  CalcCurvatures();
}

void TSphere::LoadFromStream(BinaryReader& r) { ApplyRecord(ReadRecord(r)); }

// ---- editor surfaces ----

namespace {
PlanExtent ExtentOf(const TElipticParabolloid& s) { return {0, s.GetA(), 0, s.GetB()}; }
PlanExtent ExtentOf(const TSphere& s) {
  const Extended h = s.GetA() / 2;
  return {-h, h, -h, h};
}
}  // namespace

template <class Kind>
bool TEditorSurface<Kind>::Contains(Extended x, Extended y) const {
  return PlanContains(Origin, Plane, ExtentOf(*this), x, y);
}

template <class Kind>
Extended TEditorSurface<Kind>::GetZ(Extended x, Extended y) {
  if (Plane == kShellPlaneNone) return 0;
  Extended lx = 0, ly = 0;
  if (Plane == kShellPlaneXY) {
    const PlanExtent e = ExtentOf(*this);
    lx = ToLocal(x, Origin.X, e.Lo1, e.Hi1);
    ly = ToLocal(y, Origin.Y, e.Lo2, e.Hi2);
  }
  return this->GetZAtLocal(lx, ly);
}

template <class Kind>
void TEditorSurface<Kind>::CalcScreenRect(const TViewTransform& window) {
  PlanScreenRect(window, Origin, Plane, ExtentOf(*this), TopLeft, BottomRight);
}

template <class Kind>
void TEditorSurface<Kind>::CheckVisible(const TViewTransform& window) {
  Visible = PlanVisible(window, Origin, Plane, ExtentOf(*this));
}

template <class Kind>
void TEditorSurface<Kind>::Draw(Canvas& canvas) const {
  DrawContour(canvas, Color, TopLeft, BottomRight);
}

template <class Kind>
void TEditorSurface<Kind>::LoadFromStream(BinaryReader& r) {
  // The whole record is read before anything changes.
  TBaseShellFuncs::BaseRecord rec = Kind::ReadRecord(r);
  const EditorTail tail = ReadEditorTail(r);
  this->ApplyRecord(std::move(rec));
  Plane = tail.Plane;
  Origin = tail.Origin;
  Color = tail.Color;
}

template <class Kind>
void TEditorSurface<Kind>::SaveToStream(BinaryWriter& w) const {
  Kind::SaveToStream(w);
  WriteEditorTail(w, Plane, Origin, Color);
}

template class TEditorSurface<TElipticParabolloid>;
template class TEditorSurface<TSphere>;

TEditorShellEP::TEditorShellEP() {
  SetA(10);
  SetB(10);
  SetF1(1);
  SetF2(1);
}

TEditorSphere::TEditorSphere() {
  SetA(10);
  SetF(2);
}

}  // namespace tavir
