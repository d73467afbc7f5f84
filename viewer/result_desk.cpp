#include "viewer/result_desk.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

#include "model/geometry_ops.h"

namespace tavir {

namespace {

constexpr const char* kUnknownDrawError = "Неизвестная ошибка при рисовании.";

template <class F>
void Guarded(DrawFailures& failures, F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    failures.Add(e.what());
  } catch (...) {
    failures.Add(kUnknownDrawError);
  }
}

}  // namespace

void PaintResultView(const TGraphWindow& view, ResultScene& scene, Canvas& canvas, DrawFailures& failures) {
  Guarded(failures, [&] { view.ClearView(canvas); });
  switch (view.Kind()) {
    case Projection::YZ:
    case Projection::XZ:
      Guarded(failures, [&] {
        scene.PrepareSection();
        scene.DrawSection(view, canvas, failures);
      });
      break;
    case Projection::XY:
      Guarded(failures, [&] {
        scene.UpdateScreen(view);
        scene.DrawPlan(canvas, failures);
      });
      Guarded(failures, [&] { scene.SectionLine().Draw(canvas, view); });
      break;
    default:
      break;  // a 3-D view shows its background and nothing else
  }
}

ResultDesk::ResultDesk(TGraphWindows& windows, DeskHandle desk, ResultScene& scene, ResultDeskClient& client,
                         DeskSurface& surface, MessageService& messages)
    : windows_(windows), desk_(desk), scene_(scene), client_(client), surface_(surface), messages_(messages) {}

void ResultDesk::Repaint(Canvas& canvas) {
  const TGraphWindow* view = View();
  if (view == nullptr) return;
  DrawFailures failures;
  PaintResultView(*view, scene_, canvas, failures);
  if (failures.Count() == 0) {
    reported_.clear();
    return;
  }
  // A message box repaints the desk under it: the same failure is not shown again
  // until a picture succeeds.
  if (failures.First() == reported_) return;
  reported_ = failures.First();
  messages_.Error(reported_);
}

void ResultDesk::Activate() {
  windows_.SetCurrentDesk(desk_);
  if (const TGraphWindow* view = View()) client_.ViewActivated(*view);
}

void ResultDesk::Closed() {
  const bool wasCurrent = windows_.Current() == windows_.IndexOfDesk(desk_);
  windows_.DeskClosed(desk_);
  if (!wasCurrent) return;
  if (const TGraphWindow* view = windows_.CurrentWindow()) client_.ViewActivated(*view);
}

void ResultDesk::Begin(DeskGesture g, int x, int y) {
  anchor_ = current_ = {x, y};
  gesture_ = g;
}

void ResultDesk::MouseDown(MouseButton button, int x, int y) {
  (void)button;
  if (gesture_ != DeskGesture::Idle) return;
  const TGraphWindow* view = View();
  if (view == nullptr) return;
  switch (client_.MouseMode()) {
    case tavir::MouseMode::SectionLine:
      // A section line is drawn in plan: other views have no plan to cut.
      if (view->Kind() == Projection::XY) Begin(DeskGesture::SectionLine, x, y);
      break;
    case tavir::MouseMode::NewWindow:
      if (IsPlaneProjection(view->Kind())) Begin(DeskGesture::NewWindow, x, y);
      break;
    default:
      break;
  }
}

void ResultDesk::MouseMove(int x, int y) {
  const tavir::MouseMode mode = client_.MouseMode();
  if ((mode == tavir::MouseMode::SectionLine || mode == tavir::MouseMode::NewWindow) && gesture_ != DeskGesture::Idle) ScrollToPointer(x, y);
}

void ResultDesk::ScrollToPointer(int x, int y) {
  if (const std::optional<ScrollPosition> p = ScrollStep(surface_.Scroll(), x, y)) {
    DrawRubberBand();  // erased before the picture moves
    surface_.SetScroll(p->H, p->V);
    surface_.RepaintNow();
    DrawRubberBand();
  }
  if (gesture_ != DeskGesture::Idle) TrackRubberBand(x, y);
}

void ResultDesk::TrackRubberBand(int x, int y) {
  if (gesture_ == DeskGesture::Idle || (TPoint{x, y} == current_)) return;
  DrawShape(current_);
  DrawShape({x, y});
  current_ = {x, y};
}

void ResultDesk::DrawShape(const TPoint& to) {
  // A shape of no size draws nothing, so erasing it needs nothing either.
  if (gesture_ == DeskGesture::Idle || to == anchor_) return;
  Canvas& c = surface_.PictureCanvas();
  CanvasStateGuard guard(c);
  c.Pen.Mode = PenMode::NotXor;
  c.Brush.Style = BrushStyle::Clear;
  if (gesture_ == DeskGesture::NewWindow) {
    c.Pen.Color = 0;
    c.Pen.Style = PenStyle::Dash;
    c.Pen.Width = 1;
    c.Rectangle(anchor_.X, anchor_.Y, to.X, to.Y);
  } else {
    c.Pen.Color = 0x0000FF;
    c.Pen.Style = PenStyle::Solid;
    c.Pen.Width = 2;
    c.MoveTo(anchor_.X, anchor_.Y);
    c.LineTo(to.X, to.Y);
  }
}

void ResultDesk::EndGesture() {
  DrawRubberBand();  // the last band is erased
  gesture_ = DeskGesture::Idle;
}

void ResultDesk::MouseUp(MouseButton button, int x, int y) {
  (void)button;
  const tavir::MouseMode mode = client_.MouseMode();
  if (mode != tavir::MouseMode::SectionLine && mode != tavir::MouseMode::NewWindow) return;
  const DeskGesture g = gesture_;
  if (g != DeskGesture::Idle) EndGesture();
  if (g == DeskGesture::SectionLine && mode == tavir::MouseMode::SectionLine) FinishSectionLine(x, y);
  if (g == DeskGesture::NewWindow && mode == tavir::MouseMode::NewWindow) FinishNewWindow(x, y);
  client_.EnterViewMode();
}

void ResultDesk::FinishSectionLine(int x, int y) {
  TGraphWindow* view = View();
  if (view == nullptr || view->Kind() != Projection::XY) return;
  TPoint a = anchor_, b{x, y};
  ClampPoints(a, b, view->Height(), view->Width());
  if (a == b) return;
  const auto [qa, qb] = view->ScreenPointsToModel(a, b);
  if (SameFloatPoint(qa, qb, 1e-10L)) return;
  TSectionLine_2D& line = client_.SectionLine();
  const TSectionLine_2D previous = line;
  line.SetByPoints(qa, qb);
  const int index = client_.CreateSectionWindow(*view);
  if (index < 0) {
    line = previous;  // no section view: the old line stays as it was
    return;
  }
  line.SetFlag(true);
  windows_.ShowWindow(index);
}

void ResultDesk::FinishNewWindow(int x, int y) {
  TGraphWindow* view = View();
  if (view == nullptr || !IsPlaneProjection(view->Kind())) return;
  TPoint a = anchor_, b{x, y};
  NormalizeRect(a, b);
  ClampPoints(a, b, view->Height(), view->Width());
  if (a == b) return;
  const auto [qa, qb] = view->ScreenPointsToModel(a, b);
  if (!(std::fabs(qa.X - qb.X) >= 1e-10L) || !(std::fabs(qa.Y - qb.Y) >= 1e-10L)) return;
  TFloatPoint3D lo, hi;
  if (!FramedWindowBox(view->View, qa, qb, lo, hi)) return;
  const Extended s = client_.DefaultScale();
  const Projection kind = view->Kind();
  const int index = windows_.AddWindow(lo, 0xFFFFFF, kind, FloatPoint(s, s), hi);
  windows_.ShowWindow(index);
}

}  // namespace tavir
