#pragma once
// The record of an editing window as the project file holds it: its geometry (box,
// scale, projection, picture size, grid) is a ViewTransform, so the model draws
// and hit-tests through View() and never sees a window. The editor's window
// collection (editor/edit_windows.h) is made of these records with a desk each;
// the file reader hands the records it read up to it as a WindowBlock.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/grid.h"
#include "model/records.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"
#include "platform/geometry.h"

namespace tavir {

// Bytes of one window record in the project file: grid 68, MaxPoint 48, MinPoint 48,
// Scale 32, Projection 1, Width, Height, Number, Color 4 each, Reserved 10.
constexpr std::size_t kWindowRecordBytes = 223;
constexpr std::size_t kWorkWindowBytes = kWindowRecordBytes - kGridRecordBytes;  // 155
constexpr std::size_t kReservedWindowBytes = 10;
// The scale a window falls back on when its own cannot be used (the placeholder
// scale of a window read from a file).
inline constexpr Extended kFallbackScale = 0.01L;

// The two corners of the editing box; their share of the record is 96 bytes.
class TBCWorkWindow : public ViewTransform {
 public:
  void SetMaxPoint(const TFloatPoint3D& p) { MaxPoint = p; }
  void SetMinPoint(const TFloatPoint3D& p) { MinPoint = p; }

  // MaxPoint, then MinPoint, each the full 48-byte point with its padding.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

class TWorkWindow : public TBCWorkWindow {
 public:
  std::int32_t Number = 0;  // 0 is the main window of the project
  RgbColor Color = 0;         // background of the picture
  std::string Caption;      // rebuilt from the fields, never stored
  std::array<std::uint8_t, kReservedWindowBytes> Reserved{};  // kept as read

  void SetScale(const TFloatPoint& s) { Scale = s; }
  void SetProjection(tavir::Projection p) {
    Projection = p;
    UpdateCaption();
  }
  void SetWidth(std::int32_t v) { Width = v; }
  void SetHeight(std::int32_t v) { Height = v; }
  void SetNumber(std::int32_t v) {
    Number = v;
    UpdateCaption();
  }
  void SetColor(RgbColor v) { Color = v; }
  void SetCaption(const std::string& v) { Caption = v; }

  // "Главное окно проекта. " or "Окно №<n>.  ", then the box of the shown axes.
  void UpdateCaption();

  // A scale axis that is zero, negative or not finite (only a damaged file holds
  // one) is replaced: by extent / picture size when both are sound, else by
  // kFallbackScale. The padding bytes stay. Returns true when anything changed.
  bool MendScale();

  // The window part of the record (155 bytes): corners, Scale, Projection, Width,
  // Height, Number, Color, Reserved. A short record changes nothing; reading ends
  // with UpdateCaption.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

// Opaque identity of the form that shows a window; 0 is no form.
using DeskHandle = std::uint64_t;

// One editing window's record: the grid, then the window part (223 bytes).
class TWindowRecord {
 public:
  TWorkWindow WorkWindow;

  TGrid& Grid() { return WorkWindow.Grid; }
  const TGrid& Grid() const { return WorkWindow.Grid; }
  const ViewTransform& View() const { return WorkWindow; }

  TPoint FloatPointToPoint(const TFloatPoint& p) const { return WorkWindow.FloatPointToPoint(p); }
  TFloatPoint PointToFloatPoint(const TPoint& pixel) const { return WorkWindow.PointToFloatPoint(pixel); }
  bool SnapToGrid(const TFloatPoint& p, TFloatPoint& out) const { return WorkWindow.SnapToGrid(p, out); }
  // The status bar text for a pixel; none when the coordinates are not numbers.
  std::optional<std::string> WriteCoordinates(int x, int y) const;
  void DrawGrid(Canvas& canvas) const;

  // The whole record. Reading refuses a short record before changing anything.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

// The record of a new window: the box, projection and scale, the scale fitted so
// that the picture is at least the screen's size along each shown axis, the
// picture size from it, the colour and the default grid (10 steps per axis, dots,
// shown, snapping, under the model, red). A projection outside 0..2 keeps its
// scale and gets no pixels; an unusable scale falls back on kFallbackScale. The
// number is left to the collection.
TWindowRecord NewWindowRecord(const TFloatPoint3D& maxCorner, const TFloatPoint3D& minCorner,
                              Projection projection, TFloatPoint scale, RgbColor color, PixelSize screen);

// The box of a new window framed in a view: the frame's picture-plane corners a
// and b (any order) on the view's two shown axes, the view's own limits on the
// axis it does not show. False, with nothing written, for a projection outside
// 0..2: such a view has no plane to frame in.
bool FramedWindowBox(const ViewTransform& view, const TFloatPoint& a, const TFloatPoint& b,
                     TFloatPoint3D& minCorner, TFloatPoint3D& maxCorner);

// "X=" u ", Y=" v of a pixel (10 significant digits, snapped when the grid snaps);
// none when a coordinate is not a finite number.
std::optional<std::string> WriteCoordinates(const ViewTransform& view, int x, int y);

// The grid of a view: dots, crosses, lines or circles at min + k * step on the two
// shown axes, in the grid colour (NOT pen for placement 2). An axis whose step is
// not a finite positive number, whose box is not finite, or that would have more
// nodes than the picture has pixels along it (plus one) is not drawn; dots,
// crosses and circles need both axes, lines draw the axes that can be drawn.
void DrawGrid(const ViewTransform& view, Canvas& canvas);

// The records of the windows of an open project, in index order.
using WindowRecordList = std::vector<const TWindowRecord*>;

// The editing-window block: Int32 count, then each record in order.
void SaveWindowBlock(BinaryWriter& w, const WindowRecordList& windows);

// The block's count of records; a count below 1 or more records than bytes left
// is a format error.
std::int32_t ReadWindowCount(BinaryReader& r);

// A window block read from a file, not yet in use.
struct WindowBlock {
  std::vector<TWindowRecord> Windows;

  WindowRecordList Records() const;
  void SaveToStream(BinaryWriter& w) const { SaveWindowBlock(w, Records()); }
  // Reads a window block and touches nothing else. A count below 1 or more records
  // than bytes left is a format error.
  static WindowBlock LoadFromStream(BinaryReader& r);
  // Every window shows a plane (projection 0..2); otherwise a format error naming
  // the first window that does not. The editor cannot show or frame in such a
  // window, so it never takes one in.
  void CheckProjections() const;
};

}  // namespace tavir
