#pragma once
// The result views of the analysis program and their collection. A view's box,
// kind, scale, picture size and grid are its TViewTransform (View): plan (0),
// section Y-Z (1) and section X-Z (2) go through it unchanged; the 3-D view (3)
// projects through the rotation below and stretches the box over the picture.
// The desk form that shows a view is the Qt side's; the collection names it by a
// DeskHandle and reaches it only through GraphDeskHost.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/window_record.h"
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

enum : std::uint8_t { kViewPlan = 0, kViewSectionYZ = 1, kViewSectionXZ = 2, kView3D = 3 };

// Collects the failures of one picture: the picture goes on without the failing
// item, and the user hears of it once.
class TDrawFailures {
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

  TViewTransform View;  // Projection holds the view kind
  TColor Color = 0xFFFFFF;
  Extended Distance1 = 6.5L;  // kept with the view; nothing reads them
  Extended Distance2 = -6.5L;
  Extended ViewAngle1 = 0;  // radians
  Extended ViewAngle2 = 0;
  TFloatPoint3D ViewCentre;
  TFloatPoint SavedScale;
  DeskHandle WorkDesk = 0;  // given by the collection

  TGrid& Grid() { return View.Grid; }
  const TGrid& Grid() const { return View.Grid; }
  std::uint8_t Kind() const { return View.Projection; }
  std::int32_t Width() const { return View.Width; }
  std::int32_t Height() const { return View.Height; }

  void SetColor(TColor c) { Color = c; }
  // Also the saved scale.
  void SetScale(const TFloatPoint& s) {
    View.Scale = s;
    SavedScale = s;
  }
  void SetMinPoint(const TFloatPoint3D& p) { View.MinPoint = p; }
  void SetMaxPoint(const TFloatPoint3D& p) { View.MaxPoint = p; }
  void SetKind(std::uint8_t k) { View.Projection = k; }
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

// What the collection asks of the desks.
class GraphDeskHost {
 public:
  virtual ~GraphDeskHost() = default;
  virtual void ShowDesk(DeskHandle desk) = 0;
  // slot: 0 the default cursor, 1 "NEWWINCURSOR", 6 "NEWSECTION".
  virtual void SetDeskCursor(DeskHandle desk, int slot) = 0;
};

class TGraphWindows {
 public:
  // screen: the display size in pixels, for the scale fit of new views.
  explicit TGraphWindows(TSize screen, GraphDeskHost* host = nullptr);

  int Count() const { return static_cast<int>(items_.size()); }
  // Throws std::out_of_range outside 0..Count-1.
  TGraphWindow& Items(int i);
  const TGraphWindow& Items(int i) const;
  int Current() const { return current_; }
  // nullptr when no view is open: every view command then does nothing.
  TGraphWindow* CurrentWindow();
  const TGraphWindow* CurrentWindow() const;

  TSize ScreenSize() const { return screen_; }
  void SetScreenSize(TSize s) { screen_ = s; }

  // The zoom and actual-size commands on the current view; false (nothing done)
  // without one or when the view refuses.
  bool ZoomCurrent(Extended f);
  bool ActualSizeCurrent();

  void FreeAll();
  // The new view becomes current; returns its index.
  int AddWindow(const TFloatPoint3D& minPoint, TColor color, std::uint8_t kind, TFloatPoint scale,
                const TFloatPoint3D& maxPoint);
  int IndexOfDesk(DeskHandle desk) const;
  TGraphWindow* WindowOfDesk(DeskHandle desk);
  // Out of range: nothing.
  void SetCurrent(int i);
  void SetCurrentDesk(DeskHandle desk) { current_ = IndexOfDesk(desk); }
  bool ShowWindow(int i);
  void ClearDesk(DeskHandle desk, Canvas& canvas) const;
  // Mouse mode 3 shows cursor 6, 4 cursor 1, any other the default.
  void SetModeCursor(std::uint8_t mouseMode);
  // Every view is replaced by view 0 from the first stored window.
  void LoadFromWindowData(const TAnalysisWindowData& data);

 private:
  TSize screen_;
  GraphDeskHost* host_;
  std::vector<std::unique_ptr<TGraphWindow>> items_;
  int current_ = -1;
  DeskHandle nextDesk_ = 1;
};

}  // namespace tavir
