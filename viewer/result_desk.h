#pragma once
// The plain logic of a result desk: the repaint by view kind and the two mouse
// gestures (section line, new-view rectangle) as a state machine. The Qt form
// forwards its paint and mouse events here and offers its picture canvas and
// scroll box through DeskSurface.
#include <cstdint>
#include <string>

#include "platform/canvas.h"
#include "platform/desk_surface.h"
#include "platform/services.h"
#include "viewer/graph_windows.h"
#include "viewer/isolines.h"

namespace tavir {

// What a picture needs of the analysis project.
class ResultScene {
 public:
  virtual ~ResultScene() = default;
  // Screen points and visibility of every entity for a plan view.
  virtual void UpdateScreen(const TGraphWindow& view) = 0;
  // The model as the draw flags say, the isolines included (once) when shown.
  // Items that fail are skipped and collected.
  virtual void DrawPlan(Canvas& canvas, DrawFailures& failures) = 0;
  // The nodal thickness averages of the section views, when not ready yet.
  virtual void PrepareSection() = 0;
  // The diagrams of the shells the section line cuts.
  virtual void DrawSection(const TGraphWindow& view, Canvas& canvas, DrawFailures& failures) = 0;
  virtual const TSectionLine_2D& SectionLine() const = 0;
};

// Paints a view: background and grid; then the model and the section line in a
// plan view, the section diagram in a section view, nothing more in a 3-D view.
// No exception leaves it: what fails is collected and the picture goes on.
void PaintResultView(const TGraphWindow& view, ResultScene& scene, Canvas& canvas, DrawFailures& failures);

// What the desk asks of the project and the command set.
class ResultDeskClient {
 public:
  virtual ~ResultDeskClient() = default;
  // 0 view, 3 section line, 4 new window.
  virtual tavir::MouseMode MouseMode() const = 0;
  // Runs "AcVMode_Viewer": mouse mode 0 and the default cursors.
  virtual void EnterViewMode() = 0;
  virtual Extended DefaultScale() const = 0;
  virtual TSectionLine_2D& SectionLine() = 0;
  // Prepares the nodal averages and makes the section view of the plan view from
  // the section line; its index, or -1 when none was made.
  virtual int CreateSectionWindow(const TGraphWindow& plan) = 0;
  // The view's desk became active: status caption and grid commands follow it.
  virtual void ViewActivated(const TGraphWindow& view) { (void)view; }
};

enum class DeskGesture : std::uint8_t { Idle, NewWindow, SectionLine };

class ResultDesk {
 public:
  ResultDesk(TGraphWindows& windows, DeskHandle desk, ResultScene& scene, ResultDeskClient& client,
              DeskSurface& surface, MessageService& messages);

  DeskHandle Desk() const { return desk_; }
  DeskGesture Gesture() const { return gesture_; }
  bool Tracking() const { return gesture_ != DeskGesture::Idle; }
  TPoint Anchor() const { return anchor_; }
  TPoint CurrentPoint() const { return current_; }

  // The repaint message: the picture of this desk's view. A failure is reported
  // once (not again on the following repaints while it stays the same).
  void Repaint(Canvas& canvas);
  // The form became active: its view becomes the current one.
  void Activate();
  // The form was closed (it is hidden, the view stays): when its view was current,
  // another shown view becomes current, with its caption and grid marks, or none.
  void Closed();

  // Any button starts a gesture: mode 3 a section line (plan views only), mode 4 a
  // new-view rectangle.
  void MouseDown(MouseButton button, int x, int y);
  void MouseMove(int x, int y);
  // Any button ends the gesture; in modes 3 and 4 it always ends in view mode.
  void MouseUp(MouseButton button, int x, int y);

 private:
  TGraphWindow* View() const { return windows_.WindowOfDesk(desk_); }
  void Begin(DeskGesture g, int x, int y);
  void ScrollToPointer(int x, int y);
  void TrackRubberBand(int x, int y);
  void DrawShape(const TPoint& to);
  void DrawRubberBand() { DrawShape(current_); }
  void EndGesture();
  void FinishSectionLine(int x, int y);
  void FinishNewWindow(int x, int y);

  TGraphWindows& windows_;
  DeskHandle desk_;
  ResultScene& scene_;
  ResultDeskClient& client_;
  DeskSurface& surface_;
  MessageService& messages_;
  DeskGesture gesture_ = DeskGesture::Idle;
  TPoint anchor_{};
  TPoint current_{};
  std::string reported_;
};

}  // namespace tavir
