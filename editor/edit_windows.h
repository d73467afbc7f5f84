#pragma once
// The editing windows of the editor and their collection. Each window is a
// record of the project file (model/window_record.h) with the desk form that shows
// it. The desk is the Qt side's business: the collection reaches it only through
// EditDeskHost, and reaches the supervisor and the command set through
// EditWindowsClient, so that all of this runs without a display.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/grid.h"
#include "model/window_record.h"
#include "platform/binstream.h"
#include "platform/canvas.h"
#include "platform/geometry.h"
#include "platform/services.h"

namespace tavir {

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
int DeskCursorSlot(DeskCursor cursor);
// Resource name of a slot cursor, empty for the others.
std::string CursorResourceName(DeskCursor cursor);
// The cursor for a work mode and input mode (the editor's mode table).
DeskCursor ModeCursor(WorkMode workMode, InputMode inputMode);

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
  virtual tavir::WorkMode WorkMode() const = 0;
  virtual tavir::InputMode InputMode() const = 0;
  // Runs a command of the command set by name ("acModeEdit").
  virtual void RunAction(const std::string& name) = 0;
  // Sets the grid actions of the command set from a window's grid.
  virtual void SyncGridActions(const TGrid& grid) = 0;
  // Closes the main form (the last window's delete question answered OK).
  virtual void CloseProgram() = 0;
};

class TEditorWindow : public TWindowRecord {
 public:
  TEditorWindow() = default;
  explicit TEditorWindow(const TWindowRecord& record) : TWindowRecord(record) {}
  ~TEditorWindow();
  TEditorWindow(const TEditorWindow&) = delete;
  TEditorWindow& operator=(const TEditorWindow&) = delete;

  DeskHandle WorkDesk() const { return desk_; }
  bool HasDesk() const { return desk_ != 0; }
  // Creates the desk through the host (a desk held before is destroyed first).
  void WorkDeskCreate(EditDeskHost& host);
  void WorkDeskDestroy();

  // The whole record. Reading refuses a short record before changing anything; a
  // window that has a desk gets a new one that shows the read fields.
  void LoadFromStream(BinaryReader& r);
  using TWindowRecord::SaveToStream;

 private:
  EditDeskHost* host_ = nullptr;
  DeskHandle desk_ = 0;
};

class TEditWindows {
 public:
  // screen: the size of the primary display in pixels, for the scale fit.
  TEditWindows(EditDeskHost& host, MessageService& messages, EditWindowsClient& client, PixelSize screen);
  ~TEditWindows();
  TEditWindows(const TEditWindows&) = delete;
  TEditWindows& operator=(const TEditWindows&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  // Throws std::out_of_range outside 0..Count-1.
  TEditorWindow& Items(int index);
  const TEditorWindow& Items(int index) const;
  // The window at the index, or nullptr outside 0..Count-1 (an empty collection
  // has no current window: its index is -1).
  TEditorWindow* Find(int index);
  const TEditorWindow* Find(int index) const;
  // The window at the supervisor's current index, or nullptr when there is none.
  TEditorWindow* Current() { return Find(client_.CurrentWindow()); }
  const TEditorWindow* Current() const { return Find(client_.CurrentWindow()); }

  PixelSize ScreenSize() const { return screen_; }
  void SetScreenSize(PixelSize s) { screen_ = s; }

  // Adds a window with the box, projection and scale (fitted so that the picture is
  // at least the screen's size), default grid and desk; returns its index, or -1
  // with nothing added for a projection outside 0..2. Shown:
  // the grid actions are given the new window's grid and its desk comes forward.
  int AddWindow(const TFloatPoint3D& maxCorner, const TFloatPoint3D& minCorner, Projection projection,
                TFloatPoint scale, RgbColor color, bool show);
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
  void SetModeCursor(tavir::WorkMode workMode, tavir::InputMode inputMode);

  // The records in index order, for the project file.
  WindowRecordList Records() const;
  // The window block: Int32 count, then each record in index order.
  void SaveToStream(BinaryWriter& w) const { SaveWindowBlock(w, Records()); }
  // Puts a block read from a file in place of the current windows: desks for the
  // new windows, window 0 current and shown, the count set, edit mode entered, the
  // mode cursor set. An empty block (std::invalid_argument) or one with a window of
  // an unknown projection (FormatError) is refused and nothing changes.
  void Adopt(WindowBlock&& block);

 private:
  void PublishState(std::int32_t current);

  EditDeskHost& host_;
  MessageService& messages_;
  EditWindowsClient& client_;
  PixelSize screen_;
  std::vector<std::unique_ptr<TEditorWindow>> items_;
};

}  // namespace tavir
