#pragma once
// The plain logic of an editing desk: its repaint and what the mouse does in each
// work mode and input mode. Every mode is a small state object with press, move,
// release and cancel on plain events; the modes that frame a region share a
// rubber band drawn through the desk's picture canvas with a NOT-XOR pen, so
// that drawing it twice removes it. The Qt desk form forwards its paint and mouse
// events to EditDesk and offers its picture and scroll box through DeskSurface.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "editor/edit_windows.h"
#include "editor/editor_commands.h"
#include "platform/canvas.h"
#include "platform/desk_surface.h"
#include "platform/geometry.h"

namespace tavir {

struct DeskMouse {
  MouseButton Button = MouseButton::Left;
  int X = 0;
  int Y = 0;
  bool Ctrl = false;
};

// The rubber band of the frame modes.
class RubberBand {
 public:
  bool Visible() const { return visible_; }
  bool Tracking() const { return tracking_ != 0; }
  TPoint Origin() const { return origin_; }
  TPoint Corner() const { return corner_; }

  // Origin and corner at the point, tracking; nothing drawn yet.
  void Begin(int x, int y);
  // Moves the corner: the old rectangle removed, the new one drawn. Nothing while
  // not tracking or when the corner stays.
  void Track(Canvas& canvas, int x, int y);
  // Stops tracking and removes the rectangle.
  void End(Canvas& canvas);
  // Draws (toggles) the current rectangle.
  void Draw(Canvas& canvas) const;

 private:
  bool visible_ = false;
  TPoint origin_{};
  TPoint corner_{};
  std::int32_t tracking_ = 0;  // -1 while a band is dragged
};

class EditDesk;

// What one work mode does with the mouse.
class DeskMode {
 public:
  virtual ~DeskMode() = default;
  virtual void Press(EditDesk& desk, const DeskMouse& e) = 0;
  virtual void Move(EditDesk& desk, const DeskMouse& e);
  virtual void Release(EditDesk& desk, const DeskMouse& e) { (void)desk, (void)e; }
  // The press is undone: a band is removed and nothing is done.
  virtual void Cancel(EditDesk& desk) { (void)desk; }
  // Whether the gesture goes on until the release (a band is dragged).
  virtual bool Busy() const { return false; }
};

// The mode object of a work mode and input mode; nullptr where the mouse does
// nothing.
std::unique_ptr<DeskMode> MakeDeskMode(WorkMode workMode, InputMode inputMode);

class EditDesk {
 public:
  EditDesk(EditorCommands& commands, DeskHandle desk, DeskSurface& surface);
  ~EditDesk();

  DeskHandle Desk() const { return desk_; }
  EditorCommands& Commands() { return commands_; }
  DeskSurface& Surface() { return surface_; }
  RubberBand& Band() { return band_; }
  const RubberBand& Band() const { return band_; }
  // The mode of the gesture in progress, nullptr between gestures.
  const DeskMode* ActiveMode() const { return active_.get(); }

  // Index of this desk's window (IndexOfDesk).
  int WindowIndex() const;
  // The current window of the collection, nullptr when there is none.
  TEditorWindow* CurrentWindow() { return commands_.Windows().Current(); }

  // The repaint message: background and grid under the model, the model, the grid
  // over it; the cached screen points then go back to the current window. A
  // failure is given back to be shown after the paint (the picture goes on).
  std::optional<std::string> Repaint(Canvas& canvas);
  // The form became active: its window becomes current, the status-bar mark
  // follows the form's status bar, the grid marks and the cursors follow, and the
  // current desk is repainted.
  void Activate(bool statusBarVisible);
  // The form lost the focus: the cursors are set again.
  void Deactivate();
  // Whether the form may close (it is then hidden): always, but for the main
  // window, whose close asks whether to end the program (and ends it on OK); it
  // stays when the program does.
  bool CloseQuery();

  // Only the left button presses; the mode is chosen by the supervisor's modes.
  void MouseDown(const DeskMouse& e);
  // Scrolls while a band is dragged; gives the status text of the (clamped)
  // pointer when the desk is the active form, else none.
  std::optional<std::string> MouseMove(const DeskMouse& e, bool deskActive);
  void MouseUp(const DeskMouse& e);
  // The gesture is abandoned (focus lost, Escape): a band is removed.
  void CancelGesture();

  // Scrolls the picture when the pointer has left its visible part, moving the
  // band with it.
  void ScrollToPointer(int x, int y);
  // The canvas on which selections and new items are drawn: this picture's.
  Canvas& Picture() { return surface_.PictureCanvas(); }
  // The load dialog filled with a force, its buttons enabled when the selection
  // of the mode is not empty.
  void FillLoadDialog(const TForceRecord& force, bool anySelected);

 private:
  EditorCommands& commands_;
  DeskHandle desk_;
  DeskSurface& surface_;
  RubberBand band_;
  std::shared_ptr<DeskMode> active_;  // shared: a handler keeps its own mode alive
};

}  // namespace tavir
