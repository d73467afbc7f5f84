#include "viewer/graph_windows.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/numeric.h"

namespace tavir {

namespace {

std::int32_t ClampInt(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

// The extents of the picture's two axes (u across, v up) for a kind's fit.
void FitExtents(const ViewTransform& v, Extended& du, Extended& dv) {
  const TFloatPoint3D& mn = v.MinPoint;
  const TFloatPoint3D& mx = v.MaxPoint;
  switch (v.Projection) {
    case Projection::XY: du = mx.X - mn.X; dv = mx.Y - mn.Y; break;
    case Projection::YZ: du = mx.Y - mn.Y; dv = mx.Z - mn.Z; break;
    default: du = mx.X - mn.X; dv = mx.Z - mn.Z; break;
  }
}

// Pixels of an extent; an extent that is zero, negative or not a number has none.
std::int64_t Pixels(Extended extent, Extended scale) {
  if (!IsFinitePositive(extent) || !IsFinitePositive(scale)) return 0;
  const Extended q = std::nearbyint(extent / scale);
  if (!(q < static_cast<Extended>(INT64_MAX / 4))) return INT64_MAX / 4;
  return static_cast<std::int64_t>(q);
}

Extended Mended(Extended s) { return IsFinitePositive(s) ? s : kDefaultViewScale; }

// W * (u - min) / (max - min) rounded; no offset when the box has no extent.
std::int32_t Stretch(std::int32_t pixels, Extended u, Extended min, Extended max) {
  const Extended extent = max - min;
  if (!std::isfinite(extent) || extent == 0) return 0;
  return RoundSat(static_cast<Extended>(pixels) * (u - min) / extent);
}

}  // namespace

void DrawFailures::Add(const std::string& message) {
  if (count_ == 0) first_ = message;
  ++count_;
}

// ---- one view ----

TGraphWindow::TGraphWindow() {
  SetViewAngle1(200);
  SetViewAngle2(270);
  ViewCentre = FloatPoint3D(-10, 4, 4);
  View.Scale = FloatPoint(kDefaultViewScale, kDefaultViewScale);
  SavedScale = View.Scale;
}

TFloatPoint TGraphWindow::PlanePoint(const TFloatPoint3D& p) const {
  if (Kind() == Projection::Spatial) return FloatPoint(0, 0);
  return View.PlanePoint(p.X, p.Y, p.Z);
}

TPoint TGraphWindow::ModelToScreen(const TFloatPoint& p) const {
  if (IsPlaneProjection(Kind())) return View.FloatPointToPoint(p);
  if (Kind() != Projection::Spatial) return {0, 0};
  const TFloatPoint3D& mn = View.MinPoint;
  const TFloatPoint3D& mx = View.MaxPoint;
  const std::int32_t x = Stretch(View.Width, p.X, mn.X, mx.X);
  const std::int32_t y = ClampInt(std::int64_t{View.Height} - Stretch(View.Height, p.Y, mn.Y, mx.Y));
  return {x, y};
}

TFloatPoint3D TGraphWindow::RotatePoint(const TFloatPoint3D& p) const {
  const Extended dx = p.X - ViewCentre.X;
  const Extended dy = p.Y - ViewCentre.Y;
  const Extended dz = p.Z - ViewCentre.Z;
  const Extended c1 = std::cos(ViewAngle1), s1 = std::sin(ViewAngle1);
  const Extended c2 = std::cos(ViewAngle2), s2 = std::sin(ViewAngle2);
  const Extended r = c1 * dx + s1 * dy;
  return FloatPoint3D(c1 * dy - s1 * dx, c2 * r + s2 * dz, -(s2 * r + c2 * dz));
}

TFloatPoint TGraphWindow::Project3D(const TFloatPoint3D& p) const {
  const TFloatPoint3D r = RotatePoint(p);
  return FloatPoint(r.X, r.Y);
}

TPoint TGraphWindow::ModelToScreen3D(const TFloatPoint3D& p) const {
  if (Kind() != Projection::Spatial) return {0, 0};
  return ModelToScreen(Project3D(p));
}

TFloatPoint TGraphWindow::ScreenToModel(const TPoint& pixel) const {
  if (!IsPlaneProjection(Kind())) return FloatPoint(0, 0);
  return View.PointToFloatPoint(pixel);
}

TFloatPoint TGraphWindow::SnapToGrid(const TFloatPoint& p) const {
  TFloatPoint out = p;
  if (IsPlaneProjection(Kind())) View.SnapToGrid(p, out);
  return out;
}

std::pair<TFloatPoint, TFloatPoint> TGraphWindow::ScreenPointsToModel(const TPoint& a, const TPoint& b) const {
  TFloatPoint qa = ScreenToModel(a);
  TFloatPoint qb = ScreenToModel(b);
  if (Grid().SnapToGrid != 0) {
    qa = SnapToGrid(qa);
    qb = SnapToGrid(qb);
  }
  return {qa, qb};
}

bool TGraphWindow::ApplyScale(Extended sx, Extended sy) {
  if (!IsFinitePositive(sx) || !IsFinitePositive(sy)) return false;
  if (IsPlaneProjection(Kind())) {
    ViewTransform probe = View;
    probe.Scale = FloatPoint(sx, sy);
    Extended du = 0, dv = 0;
    FitExtents(probe, du, dv);
    if (Pixels(du, sx) > kMaxPictureSide || Pixels(dv, sy) > kMaxPictureSide) return false;
  }
  View.Scale = FloatPoint(sx, sy);
  UpdatePictureSize();
  return true;
}

bool TGraphWindow::Zoom(Extended f) {
  const Extended s = View.Scale.X;
  Extended next = s;
  if (f > 0)
    next = s / std::fabs(f);
  else if (f < 0)
    next = std::fabs(f) * s;
  return ApplyScale(next, next);
}

bool TGraphWindow::ActualSize() {
  if (!ApplyScale(SavedScale.X, SavedScale.Y)) return false;
  SavedScale = View.Scale;
  return true;
}

void TGraphWindow::UpdatePictureSize() {
  if (!IsPlaneProjection(Kind())) return;
  Extended du = 0, dv = 0;
  FitExtents(View, du, dv);
  View.Width = static_cast<std::int32_t>(std::min<std::int64_t>(Pixels(du, View.Scale.X), kMaxPictureSide));
  View.Height = static_cast<std::int32_t>(std::min<std::int64_t>(Pixels(dv, View.Scale.Y), kMaxPictureSide));
}

void TGraphWindow::ClearView(Canvas& canvas) const {
  {
    CanvasStateGuard guard(canvas);
    canvas.Pen.Style = PenStyle::Clear;
    canvas.Brush.Style = BrushStyle::Solid;
    canvas.Brush.Color = Color;
    canvas.Rectangle(-1, -1, View.Width, View.Height);
  }
  DrawGrid(canvas);
}

void TGraphWindow::DrawGrid(Canvas& canvas) const {
  if (Grid().ShowGrid == 0 || !IsPlaneProjection(Kind())) return;
  tavir::DrawGrid(View, canvas);
}

// ---- entities in a view ----

void ProjectKnot(TEditorKnot& knot, const TGraphWindow& view) {
  if (view.Kind() == Projection::Spatial)
    knot.ScreenPoint = view.ModelToScreen3D(FloatPoint3D(knot.X, knot.Y, knot.Z));
  else
    knot.Project(view.View);
}

void UpdateKnotVisible(TEditorKnot& knot, const TGraphWindow& view) {
  if (view.Kind() == Projection::Spatial) {
    // The 3-D view tests the plan coordinates.
    ViewTransform plan = view.View;
    plan.Projection = Projection::XY;
    knot.UpdateVisible(plan);
  } else {
    knot.UpdateVisible(view.View);
  }
}

void ProjectSurface(TEditorShellEP& surface, const TGraphWindow& view) {
  if (view.Kind() != Projection::XY) return;
  surface.CalcScreenRect(view.View);
  surface.CheckVisible(view.View);
}

void ProjectSurface(TEditorSphere& surface, const TGraphWindow& view) {
  if (view.Kind() != Projection::XY) return;
  surface.CalcScreenRect(view.View);
  surface.CheckVisible(view.View);
}

// ---- the collection ----

GridActionFlags GridActionChecks(const TGrid& grid) {
  GridActionFlags c;
  c.Show = grid.ShowGrid != 0;
  c.Snap = grid.SnapToGrid != 0;
  if (grid.Style <= 3) {
    std::array<bool, 4> styles{};
    styles[grid.Style] = true;
    c.Styles = styles;
  }
  return c;
}

TGraphWindows::TGraphWindows(PixelSize screen, GraphDeskHost* host) : screen_(screen), host_(host) {}

TGraphWindows::~TGraphWindows() { FreeAll(); }

TGraphWindow& TGraphWindows::Items(int i) { return *items_.at(static_cast<std::size_t>(i)); }
const TGraphWindow& TGraphWindows::Items(int i) const { return *items_.at(static_cast<std::size_t>(i)); }

TGraphWindow* TGraphWindows::CurrentWindow() {
  return Shown(current_) ? items_[static_cast<std::size_t>(current_)].get() : nullptr;
}
const TGraphWindow* TGraphWindows::CurrentWindow() const {
  return Shown(current_) ? items_[static_cast<std::size_t>(current_)].get() : nullptr;
}

bool TGraphWindows::Shown(int i) const {
  if (i < 0 || i >= Count()) return false;
  const auto at = static_cast<std::size_t>(i);
  return deskHosts_[at] == nullptr || deskHosts_[at]->DeskShown(items_[at]->WorkDesk);
}

void TGraphWindows::MakeCurrent(int i) {
  current_ = i;
  if (i >= 0 && i < Count()) madeCurrent_[static_cast<std::size_t>(i)] = ++currentCount_;
}

void TGraphWindows::SetCurrentDesk(DeskHandle desk) { MakeCurrent(IndexOfDesk(desk)); }

void TGraphWindows::DeskClosed(DeskHandle desk) {
  const int closed = IndexOfDesk(desk);
  if (closed < 0 || closed != current_) return;
  int next = -1;
  for (int i = 0; i < Count(); ++i) {
    if (i == closed || !Shown(i)) continue;
    if (next < 0 || madeCurrent_[static_cast<std::size_t>(i)] > madeCurrent_[static_cast<std::size_t>(next)]) next = i;
  }
  if (next < 0)
    current_ = -1;
  else
    MakeCurrent(next);
}

bool TGraphWindows::ZoomCurrent(Extended f) {
  TGraphWindow* w = CurrentWindow();
  return w != nullptr && w->Zoom(f);
}

bool TGraphWindows::ActualSizeCurrent() {
  TGraphWindow* w = CurrentWindow();
  return w != nullptr && w->ActualSize();
}

void TGraphWindows::FreeAll() {
  // The current index goes first: a host that looks at the collection while a desk
  // is destroyed finds no view freed under it.
  current_ = -1;
  while (!items_.empty()) {
    const DeskHandle desk = items_.back()->WorkDesk;
    GraphDeskHost* host = deskHosts_.back();
    items_.pop_back();
    deskHosts_.pop_back();
    madeCurrent_.pop_back();
    if (host != nullptr) host->DestroyDesk(desk);
  }
}

int TGraphWindows::AddWindow(const TFloatPoint3D& minPoint, RgbColor color, Projection kind, TFloatPoint scale,
                             const TFloatPoint3D& maxPoint) {
  auto win = std::make_unique<TGraphWindow>();
  TGraphWindow& w = *win;
  w.SetMaxPoint(maxPoint);
  w.SetMinPoint(minPoint);
  w.SetScale(FloatPoint(Mended(scale.X), Mended(scale.Y)));
  w.SetKind(kind);

  Extended du = 0, dv = 0;
  FitExtents(w.View, du, dv);
  // A picture smaller than the screen is enlarged until one axis fills it; an
  // axis without a usable extent keeps its scale.
  auto fit = [](Extended scale, Extended extent, std::int32_t screen) {
    if (!IsFinitePositive(extent) || screen <= 0) return scale;
    if (Pixels(extent, scale) >= screen) return scale;
    const Extended finer = extent / static_cast<Extended>(screen);
    return IsFinitePositive(finer) ? finer : scale;
  };
  const Extended sv = fit(w.View.Scale.Y, dv, screen_.Height);
  const Extended su = fit(w.View.Scale.X, du, screen_.Width);
  TFloatPoint s = kind == Projection::YZ ? FloatPoint(su, sv) : FloatPoint(std::min(su, sv), std::min(su, sv));
  // A scale so fine that the picture would pass the largest side is coarsened to it.
  const std::int64_t largest = std::max(Pixels(du, s.X), Pixels(dv, s.Y));
  if (largest > kMaxPictureSide) {
    const Extended f = static_cast<Extended>(largest) / kMaxPictureSide;
    s = FloatPoint(s.X * f, s.Y * f);
  }
  w.SetScale(s);

  const auto h = static_cast<std::int32_t>(std::min<std::int64_t>(Pixels(dv, s.Y), kMaxPictureSide));
  const auto wd = static_cast<std::int32_t>(std::min<std::int64_t>(Pixels(du, s.X), kMaxPictureSide));
  if (kind == Projection::XY) {
    w.View.Height = w.View.Width = std::max(h, wd);
  } else {
    w.View.Height = h;
    w.View.Width = wd;
  }
  w.SetColor(color);

  TGrid& g = w.Grid();
  g.ShowGrid = 1;
  g.SnapToGrid = 0;
  g.StepX = g.StepY = g.StepZ = 1.0L;
  g.NSX = g.NSY = g.NSZ = 10;
  g.Style = 3;
  g.Place = 1;
  g.Color = 0x8000;

  // The desk is made first: a host that cannot make one leaves the collection as it was.
  items_.reserve(items_.size() + 1);
  deskHosts_.reserve(deskHosts_.size() + 1);
  madeCurrent_.reserve(madeCurrent_.size() + 1);
  w.WorkDesk = host_ != nullptr ? host_->CreateDesk(w) : nextDesk_++;
  items_.push_back(std::move(win));
  deskHosts_.push_back(host_);
  madeCurrent_.push_back(0);
  MakeCurrent(Count() - 1);
  if (host_ != nullptr && cursorSlot_ != 0) host_->SetDeskCursor(w.WorkDesk, cursorSlot_);
  return current_;
}

int TGraphWindows::IndexOfDesk(DeskHandle desk) const {
  if (desk == 0) return -1;
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)]->WorkDesk == desk) return i;
  return -1;
}

TGraphWindow* TGraphWindows::WindowOfDesk(DeskHandle desk) {
  const int i = IndexOfDesk(desk);
  return i < 0 ? nullptr : items_[static_cast<std::size_t>(i)].get();
}

void TGraphWindows::SetCurrent(int i) {
  if (i >= 0 && i < Count()) MakeCurrent(i);
}

bool TGraphWindows::ShowWindow(int i) {
  if (i < 0 || i >= Count()) return false;
  const auto at = static_cast<std::size_t>(i);
  if (deskHosts_[at] != nullptr) deskHosts_[at]->ShowDesk(items_[at]->WorkDesk);
  MakeCurrent(i);
  return true;
}

bool TGraphWindows::ShowDesk(int i) {
  if (i < 0 || i >= Count()) return false;
  const auto at = static_cast<std::size_t>(i);
  if (deskHosts_[at] != nullptr) deskHosts_[at]->ShowDeskCleared(items_[at]->WorkDesk);
  return true;
}

bool TGraphWindows::RepaintView(int i) {
  if (i < 0 || i >= Count()) return false;
  const auto at = static_cast<std::size_t>(i);
  if (deskHosts_[at] != nullptr) deskHosts_[at]->RepaintDesk(items_[at]->WorkDesk);
  return true;
}

bool TGraphWindows::SetDeskStatusText(DeskHandle desk, int panel, const std::string& text) {
  const int i = IndexOfDesk(desk);
  if (i < 0) return false;
  if (GraphDeskHost* host = deskHosts_[static_cast<std::size_t>(i)]) host->SetDeskStatusText(desk, panel, text);
  return true;
}

void TGraphWindows::RepaintAll() {
  for (int i = 0; i < Count(); ++i) RepaintView(i);
}

void TGraphWindows::ClearDesk(DeskHandle desk, Canvas& canvas) const {
  const int i = IndexOfDesk(desk);
  if (i >= 0) items_[static_cast<std::size_t>(i)]->ClearView(canvas);
}

void TGraphWindows::SetModeCursor(MouseMode mouseMode) {
  cursorSlot_ = mouseMode == MouseMode::SectionLine ? 6 : (mouseMode == MouseMode::NewWindow ? 1 : 0);
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (deskHosts_[i] != nullptr) deskHosts_[i]->SetDeskCursor(items_[i]->WorkDesk, cursorSlot_);
}

void TGraphWindows::LoadFromWindowData(const AnalysisWindowData& data) {
  FreeAll();
  AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::XY, FloatPoint(kDefaultViewScale, kDefaultViewScale),
            FloatPoint3D(10, 10, 10));
  TGraphWindow& w = *items_.front();
  w.View.Grid = data.View.Grid;
  w.View.MaxPoint = data.View.MaxPoint;
  w.View.MinPoint = data.View.MinPoint;
  // A scale that cannot divide (only a damaged file holds one) becomes the default.
  w.SetScale(FloatPoint(Mended(data.View.Scale.X), Mended(data.View.Scale.Y)));
  w.View.Projection = data.View.Projection;
  w.View.Width = std::clamp(data.View.Width, 0, kMaxPictureSide);
  w.View.Height = std::clamp(data.View.Height, 0, kMaxPictureSide);
  w.Color = data.Color;
}

}  // namespace tavir
