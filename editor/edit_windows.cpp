#include "editor/edit_windows.h"

#include <stdexcept>
#include <utility>

namespace tavir {

namespace {

constexpr const char* kMainWindowQuestion = "Это окно главное\rУдалить следующее?";
constexpr const char* kLastWindowQuestion = "Осталось одно главное окно\rЗакрыть проект?";
constexpr const char* kQuestionCaption = "Предупреждение";

}  // namespace

// ---- cursors ----

int DeskCursorSlot(DeskCursor cursor) {
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

DeskCursor ModeCursor(WorkMode workMode, InputMode inputMode) {
  const bool pickOrFrame = inputMode == InputMode::Pick || inputMode == InputMode::FrameSelection;
  switch (workMode) {
    case WorkMode::Edit:
      if (inputMode == InputMode::Pick) return DeskCursor::Arrow;
      if (inputMode == InputMode::FrameSelection) return DeskCursor::Cross;
      return DeskCursor::Unchanged;
    case WorkMode::ElementInput:
      if (inputMode == InputMode::Pick || inputMode == InputMode::ByGrid) return DeskCursor::Arrow;
      if (inputMode == InputMode::ByKnots || inputMode == InputMode::ByFrame) return DeskCursor::Cross;
      return DeskCursor::Unchanged;
    case WorkMode::Supports: return DeskCursor::SetRest;
    case WorkMode::NewWindow: return DeskCursor::NewWindow;
    case WorkMode::DistributedLoad: return pickOrFrame ? DeskCursor::SetDispForce : DeskCursor::Unchanged;
    case WorkMode::ConcentratedLoad: return pickOrFrame ? DeskCursor::SetForce : DeskCursor::Unchanged;
    case WorkMode::ShellSurface: return DeskCursor::SetSurface;
    default: return DeskCursor::Arrow;
  }
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

void TEditorWindow::LoadFromStream(BinaryReader& r) {
  r.Require(kWindowRecordBytes);  // nothing changes for a short record
  EditDeskHost* host = desk_ != 0 ? host_ : nullptr;
  WorkDeskDestroy();
  TWindowRecord::LoadFromStream(r);
  if (host != nullptr) WorkDeskCreate(*host);
}

// ---- the collection ----

TEditWindows::TEditWindows(EditDeskHost& host, MessageService& messages, EditWindowsClient& client, PixelSize screen)
    : host_(host), messages_(messages), client_(client), screen_(screen) {}

TEditWindows::~TEditWindows() = default;

TEditorWindow& TEditWindows::Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }

const TEditorWindow& TEditWindows::Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

TEditorWindow* TEditWindows::Find(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

const TEditorWindow* TEditWindows::Find(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<std::size_t>(index)].get();
}

void TEditWindows::PublishState(std::int32_t current) { client_.SetWindowState(current, Count()); }

int TEditWindows::AddWindow(const TFloatPoint3D& maxCorner, const TFloatPoint3D& minCorner, Projection projection,
                            TFloatPoint scale, RgbColor color, bool show) {
  // A window must show a plane: an unknown projection would have no picture and no
  // corners to frame a new window in.
  if (!IsPlaneProjection(projection)) return -1;
  auto win = std::make_unique<TEditorWindow>(NewWindowRecord(maxCorner, minCorner, projection, scale, color, screen_));
  win->WorkWindow.SetNumber(Count());
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
  TEditorWindow* win = Find(index);
  if (win == nullptr) return false;
  if (!win->HasDesk()) win->WorkDeskCreate(host_);
  host_.ShowDesk(win->WorkDesk());
  return true;
}

int TEditWindows::IndexOfDesk(DeskHandle desk) const {
  if (desk == 0) return 0;
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)]->WorkDesk() == desk) return i;
  return 0;
}

void TEditWindows::ClearWindow(int index, Canvas& canvas) const {
  const TEditorWindow* win = Find(index);
  if (win == nullptr) return;
  {
    CanvasStateGuard guard(canvas);
    canvas.Pen.Style = PenStyle::Clear;
    canvas.Brush.Style = BrushStyle::Solid;
    canvas.Brush.Color = win->WorkWindow.Color;
    canvas.Rectangle(0, 0, win->WorkWindow.Width, win->WorkWindow.Height);
  }
  if (win->Grid().ShowGrid != 0 && win->Grid().Place == 1) win->DrawGrid(canvas);
}

void TEditWindows::DrawGridOver(int index, Canvas& canvas) const {
  const TEditorWindow* win = Find(index);
  if (win == nullptr) return;
  if (win->Grid().ShowGrid != 0 && (win->Grid().Place == 0 || win->Grid().Place == 2)) win->DrawGrid(canvas);
}

void TEditWindows::Renumber() {
  for (int i = 0; i < Count(); ++i) {
    TEditorWindow& win = *items_[static_cast<std::size_t>(i)];
    win.WorkWindow.SetNumber(i);
    if (win.HasDesk()) host_.SetDeskCaption(win.WorkDesk(), win.WorkWindow.Caption);
  }
}

void TEditWindows::SetModeCursor(WorkMode workMode, InputMode inputMode) {
  const DeskCursor cursor = ModeCursor(workMode, inputMode);
  if (cursor == DeskCursor::Unchanged) return;
  for (const auto& win : items_)
    if (win->HasDesk()) host_.SetDeskCursor(win->WorkDesk(), cursor);
}

WindowRecordList TEditWindows::Records() const {
  WindowRecordList out;
  out.reserve(items_.size());
  for (const auto& win : items_) out.push_back(win.get());
  return out;
}

void TEditWindows::Adopt(WindowBlock&& block) {
  if (block.Windows.empty()) throw std::invalid_argument("Нет окон редактирования.");
  block.CheckProjections();
  std::vector<std::unique_ptr<TEditorWindow>> fresh;
  fresh.reserve(block.Windows.size());
  // The new desks first: should the host fail, the current windows stay as they are.
  for (const TWindowRecord& rec : block.Windows) {
    auto win = std::make_unique<TEditorWindow>(rec);
    win->WorkWindow.MendScale();
    win->WorkDeskCreate(host_);
    fresh.push_back(std::move(win));
  }
  block.Windows.clear();
  items_.swap(fresh);
  fresh.clear();  // the old windows and their desks
  PublishState(0);
  ShowWindow(0);
  client_.RunAction("acModeEdit");
  SetModeCursor(client_.WorkMode(), client_.InputMode());
}

}  // namespace tavir
