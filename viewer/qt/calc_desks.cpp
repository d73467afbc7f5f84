#include "viewer/qt/calc_desks.h"

namespace tavir {

CalcDesks::CalcDesks(MessageService& messages, const ImageProvider* images, CursorOfSlot cursors)
    : messages_(messages), images_(images), cursors_(std::move(cursors)) {}

CalcDesks::~CalcDesks() = default;

void CalcDesks::Attach(TGraphWindows& windows, ResultScene& scene, ResultDeskClient& client) {
  windows_ = &windows;
  scene_ = &scene;
  client_ = &client;
}

TDeskForm* CalcDesks::Find(DeskHandle desk) const {
  auto it = desks_.find(desk);
  return it == desks_.end() ? nullptr : it->second.get();
}

TDeskForm* CalcDesks::Make(DeskHandle desk) {
  if (TDeskForm* d = Find(desk)) return d;
  if (windows_ == nullptr || windows_->IndexOfDesk(desk) < 0) return nullptr;
  auto form = std::make_unique<TDeskForm>(*windows_, desk, *scene_, *client_, messages_, images_);
  form->SetMainForm(mainForm_);
  form->SetInputEnabled(inputEnabled_);
  connect(form.get(), &TDeskForm::Activated, this, &CalcDesks::DeskActivated);
  TDeskForm* raw = form.get();
  desks_.emplace(desk, std::move(form));
  return raw;
}

void CalcDesks::ShowDesk(DeskHandle desk) {
  Sync();
  TDeskForm* d = Make(desk);
  if (d == nullptr) return;
  d->UpdatePictureSize();
  d->show();
  d->raise();
  d->activateWindow();
}

void CalcDesks::SetDeskCursor(DeskHandle desk, int slot) {
  TDeskForm* d = Make(desk);
  if (d == nullptr) return;
  d->PaintBox()->setCursor(cursors_ ? cursors_(slot) : QCursor(Qt::ArrowCursor));
}

TDeskForm* CalcDesks::DeskOfView(int index) {
  if (windows_ == nullptr || index < 0 || index >= windows_->Count()) return nullptr;
  return Make(windows_->Items(index).WorkDesk);
}

void CalcDesks::Sync() {
  if (windows_ == nullptr) return;
  for (auto it = desks_.begin(); it != desks_.end();) {
    if (windows_->IndexOfDesk(it->first) < 0) {
      // Its view is gone; events already queued for it may still arrive.
      it->second->hide();
      it->second.release()->deleteLater();
      it = desks_.erase(it);
    } else {
      ++it;
    }
  }
}

void CalcDesks::RepaintView(int index) {
  Sync();
  if (TDeskForm* d = DeskOfView(index)) d->Repaint();
}

void CalcDesks::RepaintAll() {
  Sync();
  for (auto& [handle, desk] : desks_) desk->Repaint();
}

void CalcDesks::SetInputEnabled(bool enabled) {
  inputEnabled_ = enabled;
  for (auto& [handle, desk] : desks_) desk->SetInputEnabled(enabled);
}

}  // namespace tavir
