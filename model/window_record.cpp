#include "model/window_record.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

#include "platform/numeric.h"
#include "platform/numtext.h"

namespace tavir {

namespace {

std::string CaptionNumber(Extended v) { return FormatGeneral(v, 8, 4); }

std::string Range(const char* axis, Extended min, Extended max) {
  return std::string(axis) + "=[" + CaptionNumber(min) + "," + CaptionNumber(max) + "]";
}

// The grid steps of the two shown axes (u in X, v in Y).
TFloatPoint ShownSteps(const ViewTransform& view) {
  const TGrid& g = view.Grid;
  switch (view.Projection) {
    case Projection::XY: return FloatPoint(g.StepX, g.StepY);
    case Projection::YZ: return FloatPoint(g.StepY, g.StepZ);
    case Projection::XZ: return FloatPoint(g.StepX, g.StepZ);
    default: return FloatPoint(0, 0);
  }
}

bool SoundBounds(Extended min, Extended max) { return std::isfinite(min) && std::isfinite(max) && min <= max; }

// Nodes min + k * step (k from 0) that do not pass max, or 0 when the axis cannot be
// drawn: an unusable step, scale or box, a grid finer than a pixel, or more nodes
// than the picture has pixels along the axis (plus one). So the loops always end
// after at most pixels + 1 nodes.
std::int64_t AxisNodeCount(Extended min, Extended max, Extended step, Extended scale, std::int32_t pixels) {
  if (!IsFinitePositive(step) || !IsFinitePositive(scale) || !SoundBounds(min, max) || pixels < 0) return 0;
  if (step < scale) return 0;
  const Extended ratio = (max - min) / step;
  if (!std::isfinite(ratio) || std::floor(ratio) > static_cast<Extended>(pixels)) return 0;
  std::int64_t n = static_cast<std::int64_t>(std::floor(ratio)) + 1;
  // The quotient may round a node count one short or one long of what the
  // additions give; the nodes themselves decide.
  if (n <= pixels && min + static_cast<Extended>(n) * step <= max) ++n;
  while (n > 0 && min + static_cast<Extended>(n - 1) * step > max) --n;
  return n;
}

int SatAdd(std::int32_t v, int d) {
  const std::int64_t r = std::int64_t{v} + d;
  if (r > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (r < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<int>(r);
}

}  // namespace

// ---- work window ----

void TBCWorkWindow::LoadFromStream(BinaryReader& r) {
  r.Require(2 * kFloatPoint3DBytes);
  MaxPoint = ReadFloatPoint3D(r);
  MinPoint = ReadFloatPoint3D(r);
}

void TBCWorkWindow::SaveToStream(BinaryWriter& w) const {
  WriteFloatPoint3D(w, MaxPoint);
  WriteFloatPoint3D(w, MinPoint);
}

void TWorkWindow::UpdateCaption() {
  std::string box;
  switch (Projection) {
    case Projection::XY:
      box = "Область редактирования: " + Range("X", MinPoint.X, MaxPoint.X) + "; " + Range("Y", MinPoint.Y, MaxPoint.Y);
      break;
    case Projection::YZ:
      box = "Область редактирования: " + Range("Y", MinPoint.Y, MaxPoint.Y) + "; " + Range("Z", MinPoint.Z, MaxPoint.Z);
      break;
    case Projection::XZ:
      box = "Область редактирования: " + Range("X", MinPoint.X, MaxPoint.X) + "; " + Range("Z", MinPoint.Z, MaxPoint.Z);
      break;
    default: break;
  }
  if (Number == 0)
    Caption = "Главное окно проекта. " + box;
  else
    Caption = "Окно №" + std::to_string(Number) + ".  " + box;
}

bool TWorkWindow::MendScale() {
  const TFloatPoint mn = MinUV();
  const TFloatPoint mx = MaxUV();
  auto mend = [](Extended& s, Extended extent, std::int32_t pixels) {
    if (IsFinitePositive(s)) return false;
    const Extended derived = pixels > 0 ? extent / static_cast<Extended>(pixels) : 0;
    s = IsFinitePositive(derived) ? derived : kFallbackScale;
    return true;
  };
  const bool u = mend(Scale.X, mx.X - mn.X, Width);
  const bool v = mend(Scale.Y, mx.Y - mn.Y, Height);
  return u || v;
}

void TWorkWindow::LoadFromStream(BinaryReader& r) {
  r.Require(kWorkWindowBytes);
  TBCWorkWindow::LoadFromStream(r);
  Scale = ReadFloatPoint(r);
  Projection = CodeOfByte<tavir::Projection>(r.ReadByte());  // kept as read; the editor checks it
  Width = r.ReadInt32();
  Height = r.ReadInt32();
  Number = r.ReadInt32();
  Color = r.ReadUInt32();
  r.ReadBytes(Reserved.data(), Reserved.size());
  UpdateCaption();
}

void TWorkWindow::SaveToStream(BinaryWriter& w) const {
  TBCWorkWindow::SaveToStream(w);
  WriteFloatPoint(w, Scale);
  w.WriteByte(CodeByte(Projection));
  w.WriteInt32(Width);
  w.WriteInt32(Height);
  w.WriteInt32(Number);
  w.WriteUInt32(Color);
  w.WriteBytes(Reserved.data(), Reserved.size());
}

// ---- the record ----

std::optional<std::string> WriteCoordinates(const ViewTransform& view, int x, int y) {
  TFloatPoint p = view.PointToFloatPoint({x, y});
  if (view.Grid.SnapToGrid != 0) {
    TFloatPoint snapped = p;
    if (view.SnapToGrid(p, snapped)) p = snapped;
  }
  if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return std::nullopt;
  return "X=" + FormatGeneral(p.X, 10, 4) + ", Y=" + FormatGeneral(p.Y, 10, 4);
}

std::optional<std::string> TWindowRecord::WriteCoordinates(int x, int y) const {
  return tavir::WriteCoordinates(View(), x, y);
}

void DrawGrid(const ViewTransform& view, Canvas& canvas) {
  if (!view.HasValidProjection()) return;
  const TGrid& g = view.Grid;
  if (g.Style > 3) return;
  const TFloatPoint mn = view.MinUV();
  const TFloatPoint mx = view.MaxUV();
  const TFloatPoint step = ShownSteps(view);
  const std::int64_t nu = AxisNodeCount(mn.X, mx.X, step.X, view.Scale.X, view.Width);
  const std::int64_t nv = AxisNodeCount(mn.Y, mx.Y, step.Y, view.Scale.Y, view.Height);
  auto u = [&](std::int64_t i) { return mn.X + static_cast<Extended>(i) * step.X; };
  auto v = [&](std::int64_t j) { return mn.Y + static_cast<Extended>(j) * step.Y; };

  CanvasStateGuard guard(canvas);
  canvas.Pen.Style = PenStyle::Solid;
  canvas.Pen.Color = g.Color;
  canvas.Pen.Mode = g.Place == 2 ? PenMode::Not : PenMode::Copy;

  if (g.Style == 2) {
    if (SoundBounds(mn.Y, mx.Y)) {
      for (std::int64_t i = 0; i < nu; ++i) {
        const TPoint a = view.FloatPointToPoint(FloatPoint(u(i), mn.Y));
        const TPoint b = view.FloatPointToPoint(FloatPoint(u(i), mx.Y));
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(b.X, b.Y);
      }
    }
    if (SoundBounds(mn.X, mx.X)) {
      for (std::int64_t j = 0; j < nv; ++j) {
        const TPoint a = view.FloatPointToPoint(FloatPoint(mn.X, v(j)));
        const TPoint b = view.FloatPointToPoint(FloatPoint(mx.X, v(j)));
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(b.X, b.Y);
      }
    }
    return;
  }

  if (g.Style == 3) canvas.Brush.Style = BrushStyle::Clear;
  for (std::int64_t i = 0; i < nu; ++i) {
    for (std::int64_t j = 0; j < nv; ++j) {
      const TPoint p = view.FloatPointToPoint(FloatPoint(u(i), v(j)));
      switch (g.Style) {
        case 0: canvas.SetPixel(p.X, p.Y, g.Color); break;
        case 1:
          canvas.MoveTo(SatAdd(p.X, -2), p.Y);
          canvas.LineTo(SatAdd(p.X, 3), p.Y);
          canvas.MoveTo(p.X, SatAdd(p.Y, -2));
          canvas.LineTo(p.X, SatAdd(p.Y, 3));
          break;
        default:
          canvas.Ellipse(SatAdd(p.X, -2), SatAdd(p.Y, -2), SatAdd(p.X, 3), SatAdd(p.Y, 3));
          break;
      }
    }
  }
}

void TWindowRecord::DrawGrid(Canvas& canvas) const { tavir::DrawGrid(View(), canvas); }

void TWindowRecord::LoadFromStream(BinaryReader& r) {
  r.Require(kWindowRecordBytes);  // nothing changes for a short record
  Grid().LoadFromStream(r);
  WorkWindow.LoadFromStream(r);
}

void TWindowRecord::SaveToStream(BinaryWriter& w) const {
  Grid().SaveToStream(w);
  WorkWindow.SaveToStream(w);
}

TWindowRecord NewWindowRecord(const TFloatPoint3D& maxCorner, const TFloatPoint3D& minCorner,
                              Projection projection, TFloatPoint scale, RgbColor color, PixelSize screen) {
  TWindowRecord rec;
  TWorkWindow& w = rec.WorkWindow;
  w.MaxPoint = maxCorner;
  w.MinPoint = minCorner;
  w.Scale = scale;
  w.Projection = projection;

  if (w.HasValidProjection()) {
    // A scale that cannot divide an extent (a task precision of 0 read from a file)
    // falls back; an axis without a usable extent keeps its scale and gets no pixels.
    if (!IsFinitePositive(w.Scale.X)) w.Scale.X = kFallbackScale;
    if (!IsFinitePositive(w.Scale.Y)) w.Scale.Y = kFallbackScale;
    const TFloatPoint mn = w.MinUV();
    const TFloatPoint mx = w.MaxUV();
    const Extended eu = mx.X - mn.X;
    const Extended ev = mx.Y - mn.Y;
    // In a direction where the box would not fill the screen at the given scale,
    // the scale is made finer until it fills exactly the screen.
    auto fit = [](Extended& s, Extended extent, std::int32_t screenPixels) {
      if (!IsFinitePositive(extent) || screenPixels <= 0) return;
      if (RoundSat(extent / s) < screenPixels) {
        const Extended finer = extent / static_cast<Extended>(screenPixels);
        if (IsFinitePositive(finer)) s = finer;
      }
    };
    fit(w.Scale.Y, ev, screen.Height);
    fit(w.Scale.X, eu, screen.Width);
    auto pixels = [](Extended extent, Extended s) { return IsFinitePositive(extent) ? RoundSat(extent / s) : 0; };
    w.Height = pixels(ev, w.Scale.Y);
    w.Width = pixels(eu, w.Scale.X);
  } else {
    w.Width = 0;
    w.Height = 0;
  }
  w.Color = color;

  TGrid& g = rec.Grid();
  g.NSX = g.NSY = g.NSZ = 10;
  g.StepX = (maxCorner.X - minCorner.X) / 10;
  g.StepY = (maxCorner.Y - minCorner.Y) / 10;
  g.StepZ = (maxCorner.Z - minCorner.Z) / 10;
  g.ShowGrid = 1;
  g.SnapToGrid = 1;
  g.Style = 0;
  g.Place = 1;
  g.Color = 0x0000FF;
  w.UpdateCaption();
  return rec;
}

bool FramedWindowBox(const ViewTransform& view, const TFloatPoint& a, const TFloatPoint& b,
                     TFloatPoint3D& minCorner, TFloatPoint3D& maxCorner) {
  const Extended u0 = std::min(a.X, b.X), u1 = std::max(a.X, b.X);
  const Extended v0 = std::min(a.Y, b.Y), v1 = std::max(a.Y, b.Y);
  const TFloatPoint3D& mn = view.MinPoint;
  const TFloatPoint3D& mx = view.MaxPoint;
  switch (view.Projection) {
    case Projection::XY:
      minCorner = FloatPoint3D(u0, v0, mn.Z);
      maxCorner = FloatPoint3D(u1, v1, mx.Z);
      return true;
    case Projection::YZ:
      minCorner = FloatPoint3D(mn.X, u0, v0);
      maxCorner = FloatPoint3D(mx.X, u1, v1);
      return true;
    case Projection::XZ:
      minCorner = FloatPoint3D(u0, mn.Y, v0);
      maxCorner = FloatPoint3D(u1, mx.Y, v1);
      return true;
    default:
      return false;
  }
}

// ---- the block ----

std::int32_t ReadWindowCount(BinaryReader& r) {
  const std::int32_t count = r.ReadInt32();
  if (count < 1 || static_cast<std::uint64_t>(count) > r.Remaining() / kWindowRecordBytes)
    throw FormatError("Файл поврежден: неверное число окон редактирования (" + std::to_string(count) + ").");
  return count;
}

void SaveWindowBlock(BinaryWriter& w, const WindowRecordList& windows) {
  w.WriteInt32(static_cast<std::int32_t>(windows.size()));
  for (const TWindowRecord* win : windows) win->SaveToStream(w);
}

WindowRecordList WindowBlock::Records() const {
  WindowRecordList out;
  out.reserve(Windows.size());
  for (const TWindowRecord& win : Windows) out.push_back(&win);
  return out;
}

void WindowBlock::CheckProjections() const {
  for (std::size_t i = 0; i < Windows.size(); ++i) {
    const Projection p = Windows[i].WorkWindow.Projection;
    if (!IsPlaneProjection(p))
      throw FormatError("Файл поврежден: окно редактирования " + std::to_string(i) + " с неизвестной проекцией (" +
                         std::to_string(CodeByte(p)) + ").");
  }
}

WindowBlock WindowBlock::LoadFromStream(BinaryReader& r) {
  const std::int32_t count = ReadWindowCount(r);
  WindowBlock block;
  block.Windows.resize(static_cast<std::size_t>(count));
  for (TWindowRecord& win : block.Windows) win.LoadFromStream(r);
  return block;
}

}  // namespace tavir
