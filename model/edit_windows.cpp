#include "model/edit_windows.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

#include "platform/numeric.h"
#include "platform/numtext.h"

namespace tavir {

namespace {

constexpr const char* kMainWindowQuestion = "Это окно главное\rУдалить следующее?";
constexpr const char* kLastWindowQuestion = "Осталось одно главное окно\rЗакрыть проект?";
constexpr const char* kQuestionCaption = "Предупреждение";

std::string CaptionNumber(Extended v) { return FormatGeneral(v, 8, 4); }

std::string Range(const char* axis, Extended min, Extended max) {
  return std::string(axis) + "=[" + CaptionNumber(min) + "," + CaptionNumber(max) + "]";
}

// The grid steps of the two shown axes (u in X, v in Y).
TFloatPoint ShownSteps(const TViewTransform& view) {
  const TGrid& g = view.Grid;
  switch (view.Projection) {
    case 0: return FloatPoint(g.StepX, g.StepY);
    case 1: return FloatPoint(g.StepY, g.StepZ);
    case 2: return FloatPoint(g.StepX, g.StepZ);
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

// ---- cursors ----

int CursorSlot(DeskCursor cursor) {
  switch (cursor) {
    case DeskCursor::NewWindow: return 1;
    case DeskCursor::SetForce: return 2;
    case DeskCursor::SetDispForce: return 3;
    case DeskCursor::SetRest: return 4;
    case DeskCursor::SetSurface: return 5;
    default: return 0;
  }
}

std::string CursorResourceName(DeskCursor cursor) {
  switch (cursor) {
    case DeskCursor::NewWindow: return "NEWWINCURSOR";
    case DeskCursor::SetForce: return "SETFORCECURSOR";
    case DeskCursor::SetDispForce: return "SETDISPFORCECURSOR";
    case DeskCursor::SetRest: return "SETRESTCURSOR";
    case DeskCursor::SetSurface: return "SETSURFACE";
    default: return {};
  }
}

DeskCursor ModeCursor(std::uint8_t workMode, std::uint8_t inputMode) {
  switch (workMode) {
    case 0:  // edit
      if (inputMode == 0) return DeskCursor::Arrow;
      if (inputMode == 5) return DeskCursor::Cross;
      return DeskCursor::Unchanged;
    case 1:  // element input
      if (inputMode == 0 || inputMode == 2) return DeskCursor::Arrow;
      if (inputMode == 1 || inputMode == 3) return DeskCursor::Cross;
      return DeskCursor::Unchanged;
    case 2: return DeskCursor::SetRest;
    case 3: return DeskCursor::NewWindow;
    case 4: return (inputMode == 0 || inputMode == 5) ? DeskCursor::SetDispForce : DeskCursor::Unchanged;
    case 5: return (inputMode == 0 || inputMode == 5) ? DeskCursor::SetForce : DeskCursor::Unchanged;
    case 11: return DeskCursor::SetSurface;
    default: return DeskCursor::Arrow;
  }
}

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
    case 0:
      box = "Область редактирования: " + Range("X", MinPoint.X, MaxPoint.X) + "; " + Range("Y", MinPoint.Y, MaxPoint.Y);
      break;
    case 1:
      box = "Область редактирования: " + Range("Y", MinPoint.Y, MaxPoint.Y) + "; " + Range("Z", MinPoint.Z, MaxPoint.Z);
      break;
    case 2:
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
  Projection = r.ReadByte();
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
  w.WriteByte(Projection);
  w.WriteInt32(Width);
  w.WriteInt32(Height);
  w.WriteInt32(Number);
  w.WriteUInt32(Color);
  w.WriteBytes(Reserved.data(), Reserved.size());
}

// ---- one window ----

TEditorWindow::~TEditorWindow() { WorkDeskDestroy(); }

void TEditorWindow::WorkDeskCreate(EditDeskHost& host) {
  WorkDeskDestroy();
  desk_ = host.CreateDesk(WorkWindow);
  host_ = &host;
}

void TEditorWindow::WorkDeskDestroy() {
  if (desk_ != 0 && host_ != nullptr) host_->DestroyDesk(desk_);
  desk_ = 0;
}

std::optional<std::string> WriteCoordinates(const TViewTransform& view, int x, int y) {
  TFloatPoint p = view.PointToFloatPoint({x, y});
  if (view.Grid.SnapToGrid != 0) {
    TFloatPoint snapped = p;
    if (view.SnapToGrid(p, snapped)) p = snapped;
  }
  if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return std::nullopt;
  return "X=" + FormatGeneral(p.X, 10, 4) + ", Y=" + FormatGeneral(p.Y, 10, 4);
}

std::optional<std::string> TEditorWindow::WriteCoordinates(int x, int y) const {
  return tavir::WriteCoordinates(View(), x, y);
}

void DrawGrid(const TViewTransform& view, Canvas& canvas) {
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

void TEditorWindow::DrawGrid(Canvas& canvas) const { tavir::DrawGrid(View(), canvas); }

void TEditorWindow::LoadFromStream(BinaryReader& r) {
  r.Require(kWindowRecordBytes);  // nothing changes for a short record
  Grid().LoadFromStream(r);
  EditDeskHost* host = desk_ != 0 ? host_ : nullptr;
  WorkDeskDestroy();
  WorkWindow.LoadFromStream(r);
  if (host != nullptr) WorkDeskCreate(*host);
}

void TEditorWindow::SaveToStream(BinaryWriter& w) const {
  Grid().SaveToStream(w);
  WorkWindow.SaveToStream(w);
}

void TWindowBlock::SaveToStream(BinaryWriter& w) const {
  w.WriteInt32(static_cast<std::int32_t>(Windows.size()));
  for (const auto& win : Windows) win->SaveToStream(w);
}

// ---- the collection ----

TEditWindows::TEditWindows(EditDeskHost& host, MessageService& messages, EditWindowsClient& client, TSize screen)
    : host_(host), messages_(messages), client_(client), screen_(screen) {}

TEditWindows::~TEditWindows() = default;

TEditorWindow& TEditWindows::Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }

const TEditorWindow& TEditWindows::Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

void TEditWindows::PublishState(std::int32_t current) { client_.SetWindowState(current, Count()); }

int TEditWindows::AddWindow(const TFloatPoint3D& maxCorner, const TFloatPoint3D& minCorner, std::uint8_t projection,
                            TFloatPoint scale, TColor color, bool show) {
  auto win = std::make_unique<TEditorWindow>();
  TWorkWindow& w = win->WorkWindow;
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
    auto fit = [](Extended& s, Extended extent, std::int32_t screen) {
      if (!IsFinitePositive(extent) || screen <= 0) return;
      if (RoundSat(extent / s) < screen) {
        const Extended finer = extent / static_cast<Extended>(screen);
        if (IsFinitePositive(finer)) s = finer;
      }
    };
    fit(w.Scale.Y, ev, screen_.Height);
    fit(w.Scale.X, eu, screen_.Width);
    auto pixels = [](Extended extent, Extended s) { return IsFinitePositive(extent) ? RoundSat(extent / s) : 0; };
    w.Height = pixels(ev, w.Scale.Y);
    w.Width = pixels(eu, w.Scale.X);
  } else {
    w.Width = 0;
    w.Height = 0;
  }
  w.Color = color;

  TGrid& g = win->Grid();
  g.NSX = g.NSY = g.NSZ = 10;
  g.StepX = (maxCorner.X - minCorner.X) / 10;
  g.StepY = (maxCorner.Y - minCorner.Y) / 10;
  g.StepZ = (maxCorner.Z - minCorner.Z) / 10;
  g.ShowGrid = 1;
  g.SnapToGrid = 1;
  g.Style = 0;
  g.Place = 1;
  g.Color = 0x0000FF;

  w.SetNumber(Count());
  win->WorkDeskCreate(host_);
  items_.push_back(std::move(win));
  const int index = Count() - 1;
  Renumber();

  std::int32_t current = client_.CurrentWindow();
  if (current < 0 || current >= Count()) current = index;
  PublishState(current);

  if (show) {
    client_.SyncGridActions(items_.back()->Grid());
    host_.ShowDesk(items_.back()->WorkDesk());
  }
  return index;
}

int TEditWindows::DeleteWindow(int index) {
  if (index < 0 || index >= Count()) return -1;
  if (Count() > 1) {
    if (index == 0) {
      if (messages_.Show(MsgKind::Warning, kQuestionCaption, kMainWindowQuestion, MsgButtons::OkCancel) != MsgResult::Ok)
        return -1;
      index = 1;
    }
    TEditorWindow& win = *items_[static_cast<std::size_t>(index)];
    if (win.HasDesk()) host_.HideDesk(win.WorkDesk());
    items_.erase(items_.begin() + index);  // frees the window and its desk
    Renumber();
    PublishState(index - 1);
    return index - 1;
  }
  if (messages_.Show(MsgKind::Warning, kQuestionCaption, kLastWindowQuestion, MsgButtons::OkCancel) == MsgResult::Ok)
    client_.CloseProgram();
  return index - 1;
}

void TEditWindows::Clear() {
  items_.clear();
  PublishState(-1);
}

bool TEditWindows::ShowWindow(int index) {
  if (index < 0 || index >= Count()) return false;
  TEditorWindow& win = *items_[static_cast<std::size_t>(index)];
  if (!win.HasDesk()) win.WorkDeskCreate(host_);
  host_.ShowDesk(win.WorkDesk());
  return true;
}

int TEditWindows::IndexOfDesk(DeskHandle desk) const {
  if (desk == 0) return 0;
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)]->WorkDesk() == desk) return i;
  return 0;
}

void TEditWindows::ClearWindow(int index, Canvas& canvas) const {
  if (index < 0 || index >= Count()) return;
  const TEditorWindow& win = *items_[static_cast<std::size_t>(index)];
  {
    CanvasStateGuard guard(canvas);
    canvas.Pen.Style = PenStyle::Clear;
    canvas.Brush.Style = BrushStyle::Solid;
    canvas.Brush.Color = win.WorkWindow.Color;
    canvas.Rectangle(0, 0, win.WorkWindow.Width, win.WorkWindow.Height);
  }
  if (win.Grid().ShowGrid != 0 && win.Grid().Place == 1) win.DrawGrid(canvas);
}

void TEditWindows::DrawGridOver(int index, Canvas& canvas) const {
  if (index < 0 || index >= Count()) return;
  const TEditorWindow& win = *items_[static_cast<std::size_t>(index)];
  if (win.Grid().ShowGrid != 0 && (win.Grid().Place == 0 || win.Grid().Place == 2)) win.DrawGrid(canvas);
}

void TEditWindows::Renumber() {
  for (int i = 0; i < Count(); ++i) {
    TEditorWindow& win = *items_[static_cast<std::size_t>(i)];
    win.WorkWindow.SetNumber(i);
    if (win.HasDesk()) host_.SetDeskCaption(win.WorkDesk(), win.WorkWindow.Caption);
  }
}

void TEditWindows::SetModeCursor(std::uint8_t workMode, std::uint8_t inputMode) {
  const DeskCursor cursor = ModeCursor(workMode, inputMode);
  if (cursor == DeskCursor::Unchanged) return;
  for (const auto& win : items_)
    if (win->HasDesk()) host_.SetDeskCursor(win->WorkDesk(), cursor);
}

void TEditWindows::SaveToStream(BinaryWriter& w) const {
  w.WriteInt32(Count());
  for (const auto& win : items_) win->SaveToStream(w);
}

TWindowBlock TEditWindows::LoadFromStream(BinaryReader& r) {
  const std::int32_t count = r.ReadInt32();
  if (count < 1 || static_cast<std::uint64_t>(count) > r.Remaining() / kWindowRecordBytes)
    throw EFormatError("Файл поврежден: неверное число окон редактирования (" + std::to_string(count) + ").");
  TWindowBlock block;
  block.Windows.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    auto win = std::make_unique<TEditorWindow>();
    win->LoadFromStream(r);
    block.Windows.push_back(std::move(win));
  }
  return block;
}

void TEditWindows::Adopt(TWindowBlock&& block) {
  if (block.Windows.empty()) throw std::invalid_argument("Нет окон редактирования.");
  for (const auto& win : block.Windows)
    if (!win) throw std::invalid_argument("Нет окна редактирования.");
  // The new desks first: should the host fail, the current windows stay as they are.
  for (auto& win : block.Windows) {
    win->WorkWindow.MendScale();
    win->WorkDeskCreate(host_);
  }
  items_.swap(block.Windows);
  block.Windows.clear();  // the old windows and their desks
  PublishState(0);
  ShowWindow(0);
  client_.RunAction("acModeEdit");
  SetModeCursor(client_.WorkMode(), client_.InputMode());
}

}  // namespace tavir
