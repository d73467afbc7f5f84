#pragma once
// The result views of the analysis program and their collection. A view's box,
// kind, scale, picture size and grid are its ViewTransform (View): plan (0),
// section Y-Z (1) and section X-Z (2) go through it unchanged; the 3-D view (3)
// projects through the rotation below and stretches the box over the picture.
// The desk form that shows a view is the Qt side's; the collection names it by a
// DeskHandle, has it made and destroyed with the view and reaches it only through
// GraphDeskHost.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/window_record.h"
#include "viewer/view_codes.h"
#include "model/knots.h"
#include "model/project_file.h"
#include "model/records.h"
#include "model/shell_surfaces.h"
#include "model/view_transform.h"
#include "platform/canvas.h"
#include "platform/geometry.h"
#include "platform/services.h"

namespace tavir {

class TMLEditorElement;

inline constexpr Extended kViewPi = 3.1415926535897932385L;
// Model units per pixel of a new view and of a view whose stored scale is unusable.
inline constexpr Extended kDefaultViewScale = 0.01L;
// The largest picture side a view gets (the largest widget side of the screen
// toolkit). Zooming stops before it, so no size or pixel sum overflows.
inline constexpr std::int32_t kMaxPictureSide = 16777215;

// Collects the failures of one picture: the picture goes on without the failing
// item, and the user hears of it once.
class DrawFailures {
 public:
  void Add(const std::string& message);
  int Count() const { return count_; }
  const std::string& First() const { return first_; }
  void Clear() {
    count_ = 0;
    first_.clear();
  }

 private:
  int count_ = 0;
  std::string first_;
};

class TGraphWindow {
 public:
  TGraphWindow();

  ViewTransform View;  // Projection holds the view kind
  RgbColor Color = 0xFFFFFF;
  Extended Distance1 = 6.5L;  // kept with the view; nothing reads them
  Extended Distance2 = -6.5L;
  Extended ViewAngle1 = 0;  // radians
  Extended ViewAngle2 = 0;
  TFloatPoint3D ViewCentre;
  TFloatPoint SavedScale;
  DeskHandle WorkDesk = 0;  // given by the collection

  TGrid& Grid() { return View.Grid; }
  const TGrid& Grid() const { return View.Grid; }
  Projection Kind() const { return View.Projection; }
  std::int32_t Width() const { return View.Width; }
  std::int32_t Height() const { return View.Height; }

  void SetColor(RgbColor c) { Color = c; }
  // Also the saved scale.
  void SetScale(const TFloatPoint& s) {
    View.Scale = s;
    SavedScale = s;
  }
  void SetMinPoint(const TFloatPoint3D& p) { View.MinPoint = p; }
  void SetMaxPoint(const TFloatPoint3D& p) { View.MaxPoint = p; }
  void SetKind(Projection k) { View.Projection = k; }
  void SetViewAngle1(Extended degrees) { ViewAngle1 = degrees * kViewPi / 180; }
  void SetViewAngle2(Extended degrees) { ViewAngle2 = degrees * kViewPi / 180; }

  // The picture-plane point of a model point in this view's kind ((0, 0) for a 3-D
  // view: it projects through Project3D).
  TFloatPoint PlanePoint(const TFloatPoint3D& p) const;
  TPoint ModelToScreen(const TFloatPoint& p) const;
  TPoint ModelToScreen3D(const TFloatPoint3D& p) const;
  TFloatPoint3D RotatePoint(const TFloatPoint3D& p) const;
  TFloatPoint Project3D(const TFloatPoint3D& p) const;
  TFloatPoint ScreenToModel(const TPoint& pixel) const;
  // Snapped when the grid snaps.
  std::pair<TFloatPoint, TFloatPoint> ScreenPointsToModel(const TPoint& a, const TPoint& b) const;
  // The point itself where the kind has no grid or an axis has no usable step.
  TFloatPoint SnapToGrid(const TFloatPoint& p) const;

  // f > 0 zooms in by f, f < 0 out by |f|, 0 keeps the scale. A zoom that would
  // make the picture larger than kMaxPictureSide, or a scale that is no positive
  // number, is refused: false, nothing changes.
  bool Zoom(Extended f);
  // Back to the saved scale (same limits).
  bool ActualSize();
  // The picture size of the scale (not for the 3-D view, which keeps its size).
  void UpdatePictureSize();

  // Background, then the grid.
  void ClearView(Canvas& canvas) const;
  // Nothing unless shown; nothing in a 3-D view; the editor's grid drawing.
  void DrawGrid(Canvas& canvas) const;

 private:
  bool ApplyScale(Extended sx, Extended sy);
};

// Screen points and visibility of the model entities in a view.
void ProjectKnot(TEditorKnot& knot, const TGraphWindow& view);
void UpdateKnotVisible(TEditorKnot& knot, const TGraphWindow& view);
// Surfaces are placed and tested in plan views only; other kinds leave them.
void ProjectSurface(TEditorShellEP& surface, const TGraphWindow& view);
void ProjectSurface(TEditorSphere& surface, const TGraphWindow& view);

// The desk forms of the views. The collection owns the views; the host owns the
// forms: it makes one (hidden) when a view is created and destroys it when the view
// is freed, so a form never outlives its view and no view is left without its form.
// Handles are the host's and never 0. A host outlives the views it made desks for
// (the collection frees its views, and so asks for their desks' end, when it ends).
class GraphDeskHost {
 public:
  virtual ~GraphDeskHost() = default;
  // A new, hidden desk for the view, whose picture is the view's Width x Height.
  virtual DeskHandle CreateDesk(const TGraphWindow& view) = 0;
  // The view is being freed (the form goes with it).
  virtual void DestroyDesk(DeskHandle desk) = 0;
  // Makes the desk visible and brings it to the foreground.
  virtual void ShowDesk(DeskHandle desk) = 0;
  // Whether the desk is on screen (a closed desk is hidden, not freed).
  virtual bool DeskShown(DeskHandle desk) const {
    (void)desk;
    return true;
  }
  // Makes the desk visible with its picture cleared to background and grid
  // (TGraphWindows::ClearDesk on the desk's picture canvas).
  virtual void ShowDeskCleared(DeskHandle desk) { ShowDesk(desk); }
  // The repaint message: the desk repaints its picture now (ResultDesk::Repaint).
  virtual void RepaintDesk(DeskHandle desk) { (void)desk; }
  // slot: 0 the default cursor, 1 "NEWWINCURSOR", 6 "NEWSECTION".
  virtual void SetDeskCursor(DeskHandle desk, int slot) = 0;
  // A panel of the desk's status bar (panel 1: the isoline quantity).
  virtual void SetDeskStatusText(DeskHandle desk, int panel, const std::string& text) {
    (void)desk;
    (void)panel;
    (void)text;
  }
};

// Check states of the grid commands for a grid: AcGrid_Show and AcGrid_SnapToGrid
// follow its flags; styles 0..3 check exactly one of AcGrid_Dot, AcGrid_Cross,
// AcGrid_Line, AcGrid_Other, another style leaves all four as they are (nullopt).
struct GridActionFlags {
  bool Show = false;
  bool Snap = false;
  std::optional<std::array<bool, 4>> Styles;  // Dot, Cross, Line, Other
  friend bool operator==(const GridActionFlags&, const GridActionFlags&) = default;
};
GridActionFlags GridActionChecks(const TGrid& grid);

class TGraphWindows {
 public:
  // screen: the display size in pixels, for the scale fit of new views. Without a
  // host the views get handles of their own and nothing is shown.
  explicit TGraphWindows(PixelSize screen, GraphDeskHost* host = nullptr);
  // Frees every view (and has its desk destroyed).
  ~TGraphWindows();
  TGraphWindows(const TGraphWindows&) = delete;
  TGraphWindows& operator=(const TGraphWindows&) = delete;

  // The host for the views made from now on (the views made before keep their desks).
  void SetHost(GraphDeskHost* host) { host_ = host; }
  GraphDeskHost* Host() const { return host_; }

  int Count() const { return static_cast<int>(items_.size()); }
  // Throws std::out_of_range outside 0..Count-1.
  TGraphWindow& Items(int i);
  const TGraphWindow& Items(int i) const;
  int Current() const { return current_; }
  // The current view while its desk is shown; nullptr otherwise (no view open, or
  // its window closed): every view command and the export then do nothing.
  TGraphWindow* CurrentWindow();
  const TGraphWindow* CurrentWindow() const;
  // Whether the desk of view i is shown (false out of range).
  bool Shown(int i) const;

  PixelSize ScreenSize() const { return screen_; }
  void SetScreenSize(PixelSize s) { screen_ = s; }

  // The zoom and actual-size commands on the current view; false (nothing done)
  // without one or when the view refuses.
  bool ZoomCurrent(Extended f);
  bool ActualSizeCurrent();

  // Frees every view from the last to the first; the host destroys each desk.
  void FreeAll();
  // The new view becomes current; the host makes its (hidden) desk, with the cursor
  // of the last mouse mode. Returns its index.
  int AddWindow(const TFloatPoint3D& minPoint, RgbColor color, Projection kind, TFloatPoint scale,
                const TFloatPoint3D& maxPoint);
  int IndexOfDesk(DeskHandle desk) const;
  TGraphWindow* WindowOfDesk(DeskHandle desk);
  // Out of range: nothing.
  void SetCurrent(int i);
  void SetCurrentDesk(DeskHandle desk);
  // The desk's window was closed (hidden): when its view was current, the shown
  // view that was current most recently becomes current, or none.
  void DeskClosed(DeskHandle desk);
  // Visible and in the foreground; the view becomes current. Out of range: false.
  bool ShowWindow(int i);
  // Visible with a cleared picture (background and grid); the current view stays.
  // Out of range: false.
  bool ShowDesk(int i);
  void ClearDesk(DeskHandle desk, Canvas& canvas) const;
  // The repaint message to a view's desk; out of range: false.
  bool RepaintView(int i);
  // The repaint message to the current view's desk; false without one.
  bool RepaintCurrent() { return CurrentWindow() != nullptr && RepaintView(current_); }
  // The repaint message to every desk.
  void RepaintAll();
  // A panel of a desk's status bar; false for a desk of no view.
  bool SetDeskStatusText(DeskHandle desk, int panel, const std::string& text);
  // Mouse mode 3 shows cursor 6, 4 cursor 1, any other the default.
  void SetModeCursor(MouseMode mouseMode);
  // Every view is replaced by view 0 from the first stored window.
  void LoadFromWindowData(const AnalysisWindowData& data);

 private:
  void MakeCurrent(int i);
  PixelSize screen_;
  GraphDeskHost* host_;
  std::vector<std::unique_ptr<TGraphWindow>> items_;
  std::vector<GraphDeskHost*> deskHosts_;  // the host that made each view's desk
  std::vector<std::uint64_t> madeCurrent_;  // when each view last became current
  std::uint64_t currentCount_ = 0;
  int current_ = -1;
  int cursorSlot_ = 0;
  DeskHandle nextDesk_ = 1;
};

}  // namespace tavir
