#pragma once
// The editing windows of the editor and their collection. A window's geometry
// (box, scale, projection, picture size, grid) is its TViewTransform: the model
// draws and hit-tests through View() and never sees the window. The desk form that
// shows a window is the editor's business; the collection reaches it only through
// EditDeskHost, and reaches the supervisor and the command set through
// EditWindowsClient, so that all of this runs without a display.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/grid.h"
#include "model/records.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"
#include "platform/geometry.h"
#include "platform/services.h"

namespace tavir {

// Bytes of one window record in the project file: grid 68, MaxPoint 48, MinPoint 48,
// Scale 32, Projection 1, Width, Height, Number, Color 4 each, Reserved 10.
constexpr std::size_t kWindowRecordBytes = 223;
constexpr std::size_t kWorkWindowBytes = kWindowRecordBytes - kGridRecordBytes;  // 155
constexpr std::size_t kReservedWindowBytes = 10;
// The scale a window falls back on when its own cannot be used (the placeholder
// scale of a window read from a file).
inline constexpr Extended kFallbackScale = 0.01L;

// The cursor a desk picture shows in a work mode. The five resource cursors are
// loaded into slots 1..5 by name at start-up.
enum class DeskCursor : std::uint8_t {
  Unchanged,     // keep whatever the picture shows
  Arrow,         // the default arrow
  Cross,
  NewWindow,     // slot 1 "NEWWINCURSOR"
  SetForce,      // slot 2 "SETFORCECURSOR"
  SetDispForce,  // slot 3 "SETDISPFORCECURSOR"
  SetRest,       // slot 4 "SETRESTCURSOR"
  SetSurface,    // slot 5 "SETSURFACE"
};

// Slot 1..5 of a resource cursor, 0 for the others.
int CursorSlot(DeskCursor cursor);
// Resource name of a slot cursor, empty for the others.
std::string CursorResourceName(DeskCursor cursor);
// The cursor for a work mode and input mode (the editor's mode table).
DeskCursor ModeCursor(std::uint8_t workMode, std::uint8_t inputMode);

// The two corners of the editing box; their share of the record is 96 bytes.
class TBCWorkWindow : public TViewTransform {
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
  TColor Color = 0;         // background of the picture
  std::string Caption;      // rebuilt from the fields, never stored
  std::array<std::uint8_t, kReservedWindowBytes> Reserved{};  // kept as read

  void SetScale(const TFloatPoint& s) { Scale = s; }
  void SetProjection(std::uint8_t p) {
    Projection = p;
    UpdateCaption();
  }
  void SetWidth(std::int32_t v) { Width = v; }
  void SetHeight(std::int32_t v) { Height = v; }
  void SetNumber(std::int32_t v) {
    Number = v;
    UpdateCaption();
  }
  void SetColor(TColor v) { Color = v; }
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

// Opaque identity of a desk form; 0 is no desk.
using DeskHandle = std::uint64_t;

// The editor's side of the desk forms.
class EditDeskHost {
 public:
  virtual ~EditDeskHost() = default;
  // A new, hidden desk for the window: its picture is Width x Height pixels, the
  // picture's brush colour Color and the form caption Caption. Never returns 0.
  virtual DeskHandle CreateDesk(const TWorkWindow& window) = 0;
  virtual void DestroyDesk(DeskHandle desk) = 0;
  // Makes the desk visible and brings it to the foreground.
  virtual void ShowDesk(DeskHandle desk) = 0;
  virtual void HideDesk(DeskHandle desk) = 0;
  virtual void SetDeskCaption(DeskHandle desk, const std::string& caption) = 0;
  // Never called with DeskCursor::Unchanged.
  virtual void SetDeskCursor(DeskHandle desk, DeskCursor cursor) = 0;
};

// What the collection needs of the supervisor and the command set.
class EditWindowsClient {
 public:
  virtual ~EditWindowsClient() = default;
  // The supervisor's current window and window count, always set together.
  virtual void SetWindowState(std::int32_t currentWindow, std::int32_t windowCount) = 0;
  virtual std::int32_t CurrentWindow() const = 0;
  virtual std::uint8_t WorkMode() const = 0;
  virtual std::uint8_t InputMode() const = 0;
  // Runs a command of the command set by name ("acModeEdit").
  virtual void RunAction(const std::string& name) = 0;
  // Sets the grid actions of the command set from a window's grid.
  virtual void SyncGridActions(const TGrid& grid) = 0;
  // Closes the main form (the last window's delete question answered OK).
  virtual void CloseProgram() = 0;
};

class TEditorWindow {
 public:
  TEditorWindow() = default;
  ~TEditorWindow();
  TEditorWindow(const TEditorWindow&) = delete;
  TEditorWindow& operator=(const TEditorWindow&) = delete;

  TWorkWindow WorkWindow;

  TGrid& Grid() { return WorkWindow.Grid; }
  const TGrid& Grid() const { return WorkWindow.Grid; }
  const TViewTransform& View() const { return WorkWindow; }

  DeskHandle WorkDesk() const { return desk_; }
  bool HasDesk() const { return desk_ != 0; }
  // Creates the desk through the host (a desk held before is destroyed first).
  void WorkDeskCreate(EditDeskHost& host);
  void WorkDeskDestroy();

  TPoint FloatPointToPoint(const TFloatPoint& p) const { return WorkWindow.FloatPointToPoint(p); }
  TFloatPoint PointToFloatPoint(const TPoint& pixel) const { return WorkWindow.PointToFloatPoint(pixel); }
  bool SnapToGrid(const TFloatPoint& p, TFloatPoint& out) const { return WorkWindow.SnapToGrid(p, out); }
  // The status bar text for a pixel; none when the coordinates are not numbers.
  std::optional<std::string> WriteCoordinates(int x, int y) const;
  void DrawGrid(Canvas& canvas) const;

  // The whole 223-byte record. Reading refuses a short record before changing
  // anything; a window that has a desk gets a new one that shows the read fields.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;

 private:
  EditDeskHost* host_ = nullptr;
  DeskHandle desk_ = 0;
};

// "X=" u ", Y=" v of a pixel (10 significant digits, snapped when the grid snaps);
// none when a coordinate is not a finite number.
std::optional<std::string> WriteCoordinates(const TViewTransform& view, int x, int y);

// The grid of a view: dots, crosses, lines or circles at min + k * step on the two
// shown axes, in the grid colour (NOT pen for placement 2). An axis whose step is
// not a finite positive number, whose box is not finite, or that would have more
// nodes than the picture has pixels along it (plus one) is not drawn; dots,
// crosses and circles need both axes, lines draw the axes that can be drawn.
void DrawGrid(const TViewTransform& view, Canvas& canvas);

// A window block read from a file, not yet in use (no desks).
struct TWindowBlock {
  std::vector<std::unique_ptr<TEditorWindow>> Windows;
  void SaveToStream(BinaryWriter& w) const;
};

class TEditWindows {
 public:
  // screen: the size of the primary display in pixels, for the scale fit.
  TEditWindows(EditDeskHost& host, MessageService& messages, EditWindowsClient& client, TSize screen);
  ~TEditWindows();
  TEditWindows(const TEditWindows&) = delete;
  TEditWindows& operator=(const TEditWindows&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  // Throws std::out_of_range outside 0..Count-1.
  TEditorWindow& Items(int index);
  const TEditorWindow& Items(int index) const;

  TSize ScreenSize() const { return screen_; }
  void SetScreenSize(TSize s) { screen_ = s; }

  // Adds a window with the box, projection and scale (fitted so that the picture is
  // at least the screen's size), default grid and desk; returns its index.
  int AddWindow(const TFloatPoint3D& maxCorner, const TFloatPoint3D& minCorner, std::uint8_t projection,
                TFloatPoint scale, TColor color, bool show);
  // Deletes a window after the questions; returns the index to show next (-1 for
  // none). A deletion leaves the supervisor with that window current and the new
  // count.
  int DeleteWindow(int index);
  // Every window and desk goes; the supervisor gets current -1 and count 0.
  void Clear();
  bool ShowWindow(int index);
  // Position of the window that the desk shows; 0 when no window does.
  int IndexOfDesk(DeskHandle desk) const;
  // The background, then the grid when it lies under the model.
  void ClearWindow(int index, Canvas& canvas) const;
  // The grid when it lies over the model.
  void DrawGridOver(int index, Canvas& canvas) const;
  void Renumber();
  void SetModeCursor(std::uint8_t workMode, std::uint8_t inputMode);

  // The window block: Int32 count, then each record in index order.
  void SaveToStream(BinaryWriter& w) const;
  // Reads a window block into new windows and touches nothing else. A count below
  // 1 or more records than bytes left is a format error.
  static TWindowBlock LoadFromStream(BinaryReader& r);
  // Puts a block read by LoadFromStream in place of the current windows: desks for
  // the new windows, window 0 current and shown, the count set, edit mode entered,
  // the mode cursor set. An empty block is refused (std::invalid_argument) and
  // nothing changes.
  void Adopt(TWindowBlock&& block);

 private:
  void PublishState(std::int32_t current);

  EditDeskHost& host_;
  MessageService& messages_;
  EditWindowsClient& client_;
  TSize screen_;
  std::vector<std::unique_ptr<TEditorWindow>> items_;
};

}  // namespace tavir
