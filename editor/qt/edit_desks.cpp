#include "editor/qt/edit_desks.h"

#include <stdexcept>

#include "editor/editor_commands.h"

namespace tavir {

EditDesks::EditDesks(DeskEvents& events, const ImageProvider* images, CursorOf cursors)
    : events_(events), images_(images), cursors_(std::move(cursors)) {}

EditDesks::~EditDesks() {
  for (auto& [handle, desk] : desks_) {
    if (!desk) continue;
    desk->Detach();
    delete desk.data();
  }
}

TMainDesk* EditDesks::Desk(DeskHandle handle) const {
  const auto it = desks_.find(handle);
  return it == desks_.end() ? nullptr : it->second.data();
}

std::vector<TMainDesk*> EditDesks::All() const {
  std::vector<TMainDesk*> all;
  for (const auto& [handle, desk] : desks_)
    if (desk) all.push_back(desk.data());
  return all;
}

void EditDesks::HideAll() {
  for (TMainDesk* d : All()) d->hide();
}

DeskHandle EditDesks::CreateDesk(const TWorkWindow& window) {
  if (commands_ == nullptr) throw std::logic_error("desks made before the command module");
  const DeskHandle handle = next_++;
  auto* desk = new TMainDesk(*commands_, handle, window, events_, images_);
  desk->SetMainForm(mainForm_);
  desks_[handle] = desk;
  return handle;
}

void EditDesks::DestroyDesk(DeskHandle handle) {
  const auto it = desks_.find(handle);
  if (it == desks_.end()) return;
  if (TMainDesk* desk = it->second.data()) {
    desk->Detach();
    desk->hide();
    desk->deleteLater();
  }
  desks_.erase(it);
}

void EditDesks::ShowDesk(DeskHandle handle) {
  if (TMainDesk* desk = Desk(handle)) {
    desk->show();
    desk->raise();
    desk->activateWindow();
  }
}

void EditDesks::HideDesk(DeskHandle handle) {
  if (TMainDesk* desk = Desk(handle)) desk->hide();
}

void EditDesks::SetDeskCaption(DeskHandle handle, const std::string& caption) {
  if (TMainDesk* desk = Desk(handle)) desk->setWindowTitle(QString::fromStdString(caption));
}

void EditDesks::SetDeskCursor(DeskHandle handle, DeskCursor cursor) {
  TMainDesk* desk = Desk(handle);
  if (desk == nullptr) return;
  switch (cursor) {
    case DeskCursor::Unchanged: return;
    case DeskCursor::Arrow: desk->SetPictureCursor(Qt::ArrowCursor); return;
    case DeskCursor::Cross: desk->SetPictureCursor(Qt::CrossCursor); return;
    default: desk->SetPictureCursor(cursors_ ? cursors_(DeskCursorSlot(cursor)) : QCursor(Qt::ArrowCursor)); return;
  }
}

}  // namespace tavir
