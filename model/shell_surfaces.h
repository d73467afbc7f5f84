#pragma once
// The analytic surfaces under a shallow shell: the elliptic paraboloid over a
// rectangle (kind 0) and the shallow sphere over a square (kind 3). A surface gives
// knots their height and elements their curvatures. The kinds are told apart by
// Kind, not by virtual methods: whoever holds a TBaseShellFuncs looks at Kind and
// calls the kind's own operations. The editor classes add the placement of the
// surface in the model and what an editing window needs to draw its contour.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/records.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"
#include "platform/extended.h"
#include "platform/geometry.h"

namespace tavir {

class ShellException : public std::runtime_error {
 public:
  explicit ShellException(const std::string& message) : std::runtime_error(message) {}
};

inline constexpr std::int16_t kShellParaboloid = 0;
inline constexpr std::int16_t kShellSphere = 3;

// Planes of an editor surface.
inline constexpr std::uint8_t kShellPlaneXY = 0;
inline constexpr std::uint8_t kShellPlaneYZ = 1;
inline constexpr std::uint8_t kShellPlaneXZ = 2;
inline constexpr std::uint8_t kShellPlaneNone = 3;

class TBaseShellFuncs {
 public:
  std::int16_t Kind = kShellParaboloid;
  Extended Kx = 0, Ky = 0, Kxy = 0;
  std::uint8_t Flag = 0;  // kept as read from a file; 0 for surfaces made here
  Extended LastZ = 0;
  std::vector<Extended> Params;

  TBaseShellFuncs() : TBaseShellFuncs(kShellParaboloid, 4) {}
  virtual ~TBaseShellFuncs() = default;
  TBaseShellFuncs(const TBaseShellFuncs&) = default;
  TBaseShellFuncs& operator=(const TBaseShellFuncs&) = default;

  std::int32_t GetParamCount() const { return static_cast<std::int32_t>(Params.size()); }
  // Params re-created with n entries, all 0 (a negative n gives none).
  void SetParamCount(std::int32_t n);
  // An empty Params first takes as many entries as there are values; then the
  // common leading entries are copied. Surplus values are ignored, surplus entries
  // keep their values.
  void SetParamsArray(const std::vector<Extended>& values);
  // Entry i, or 0 when Params is shorter.
  Extended GetParam(std::size_t i) const { return i < Params.size() ? Params[i] : 0; }

  void SetKind(std::int16_t v) { Kind = v; }
  void SetKx(Extended v) { Kx = v; }
  void SetKy(Extended v) { Ky = v; }
  void SetKxy(Extended v) { Kxy = v; }

  // The base record: Int16 Kind, byte Flag, Int32 n, n extended parameters. A
  // negative n or one beyond the bytes left raises ShellException and changes
  // nothing.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;

 protected:
  TBaseShellFuncs(std::int16_t kind, std::size_t paramCount) : Kind(kind), Params(paramCount, 0) {}

  struct BaseRecord {
    std::int16_t Kind = 0;
    std::uint8_t Flag = 0;
    std::vector<Extended> Params;
  };
  static BaseRecord ReadBaseRecord(BinaryReader& r);
  // Reads a base record of the given kind that has at least minParams parameters.
  static BaseRecord ReadKindRecord(BinaryReader& r, std::int16_t kind, std::size_t minParams, const char* wrongKindMessage);
  void ApplyBaseRecord(BaseRecord&& rec);
  // Writes entry i, first growing Params to at least minCount entries (zeros).
  void SetParam(std::size_t i, Extended v, std::size_t minCount);
  void RequireParams() const;
};

// Params = [a, b, f1, f2]: spans along X and Y, rises along X and Y.
class TElipticParabolloid : public TBaseShellFuncs {
 public:
  static constexpr std::size_t kParamCount = 4;

  // The local point last given to CalcZ, after clamping.
  Extended LastLocalY = 0;
  Extended LastLocalX = 0;

  TElipticParabolloid() : TBaseShellFuncs(kShellParaboloid, kParamCount) {}

  Extended GetA() const { return GetParam(0); }
  Extended GetB() const { return GetParam(1); }
  Extended GetF() const { return GetF1() + GetF2(); }  // the total rise
  Extended GetF1() const { return GetParam(2); }
  Extended GetF2() const { return GetParam(3); }
  // The spans alone: curvatures untouched.
  void SetA(Extended a) { SetParam(0, a, kParamCount); }
  void SetB(Extended b) { SetParam(1, b, kParamCount); }
  // A rise and its curvature: Kx = 8 f1 / a^2, Ky = 8 f2 / b^2 (0 for an unusable span).
  void SetF1(Extended f1);
  void SetF2(Extended f2);
  void SetParams(Extended a, Extended b, Extended f1, Extended f2);
  void SetParamsArray(const std::vector<Extended>& values);
  // Raises ShellException when the surface has no parameters at all.
  void CalcCurvatures();

  // Height at a local point from the plan corner (clamped into the plan).
  Extended CalcZ(Extended x, Extended y);
  Extended GetZAtLocal(Extended x, Extended y);

  // Kind 0 only, at least four parameters; ShellException otherwise, with the
  // surface unchanged.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const { TBaseShellFuncs::SaveToStream(w); }

 protected:
  static BaseRecord ReadRecord(BinaryReader& r);
  void ApplyRecord(BaseRecord&& rec);

 private:
  void UpdateKx();
  void UpdateKy();
};

// Params = [a, f, R]: side of the square plan, rise, and the radius derived from them.
class TSphere : public TBaseShellFuncs {
 public:
  static constexpr std::size_t kParamCount = 3;

  Extended LastLocalY = 0;
  Extended LastLocalX = 0;

  TSphere() : TBaseShellFuncs(kShellSphere, kParamCount) {}

  Extended GetA() const { return GetParam(0); }
  Extended GetF() const { return GetParam(1); }
  Extended GetR() const { return GetParam(2); }
  // Every change of a or f also sets Kx = Ky = 2 f / (a/2)^2 (0 for an unusable
  // side) and Kxy = 0, so that the curvatures never lag behind the shape.
  void SetA(Extended a);
  // f, and R = (a/2)^2 / 2 / f (0 when f = 0).
  void SetF(Extended f);
  // a and f; R recomputed when f is not 0, kept otherwise.
  void SetParams(Extended a, Extended f);
  void SetParamsArray(const std::vector<Extended>& values);
  // Raises ShellException when the surface has no parameters at all.
  void CalcCurvatures();

  // Height at a local point from the plan centre (clamped into the plan).
  Extended CalcZ(Extended x, Extended y);
  Extended GetZAtLocal(Extended x, Extended y);

  // Kind 3 only, at least three parameters; ShellException otherwise, with the
  // surface unchanged.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const { TBaseShellFuncs::SaveToStream(w); }

 protected:
  static BaseRecord ReadRecord(BinaryReader& r);
  void ApplyRecord(BaseRecord&& rec);

 private:
  void UpdateCurvatures();
};

// What the editor adds to a surface of either kind: its placement in the model
// (Origin: for the paraboloid the plan corner with the smallest coordinates, for
// the sphere the centre of the plan square), its contour colour and the pixels of
// the contour in the current window.
template <class Kind>
class EditorSurface : public Kind {
 public:
  TFloatPoint3D Origin;
  std::uint8_t Plane = kShellPlaneXY;
  TPoint BottomRight;  // pixel of the plan corner (largest X, smallest Y)
  TPoint TopLeft;      // pixel of the plan corner (smallest X, largest Y)
  std::uint8_t Visible = 0;
  RgbColor Color = 255;  // contour colour

  void SetOrigin(const TFloatPoint3D& v) { Origin = v; }
  void SetPlane(std::uint8_t v) { Plane = v; }
  void SetColor(RgbColor v) { Color = v; }
  void SetVisible(std::uint8_t v) { Visible = v; }
  void SetTopLeft(const TPoint& v) { TopLeft = v; }
  void SetBottomRight(const TPoint& v) { BottomRight = v; }

  // Whether the plan, in the surface's plane, holds the point (bounds inclusive).
  bool Contains(Extended x, Extended y) const;
  // Height over a model point of the plan (0 for plane 3, 0 off the X-Y plane).
  Extended GetZ(Extended x, Extended y);
  // The contour's pixels in a plan window (projection 0, plane 0), clipped to its box.
  void CalcScreenRect(const ViewTransform& window);
  // Visible = 1 when a plan corner lies in the window's box; a surface seen in any
  // other projection, or not lying in the X-Y plane, is not visible.
  void CheckVisible(const ViewTransform& window);
  // The contour rectangle from TopLeft to BottomRight, pen width 3.
  void Draw(Canvas& canvas) const;

  // The kind's record, then Plane, Origin (48 bytes as held) and Color.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

extern template class EditorSurface<TElipticParabolloid>;
extern template class EditorSurface<TSphere>;

// The editor's paraboloid.
class TEditorShellEP : public EditorSurface<TElipticParabolloid> {
 public:
  // a = b = 10, f1 = f2 = 1 (so Kx = Ky = 0.08), at the origin, red contour.
  TEditorShellEP();
};

// The editor's sphere.
class TEditorSphere : public EditorSurface<TSphere> {
 public:
  // a = 10, f = 2 (so R = 6.25 and Kx = Ky = 0.16), centred at the origin, red contour.
  TEditorSphere();
};

}  // namespace tavir
