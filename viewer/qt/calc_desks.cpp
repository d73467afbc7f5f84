#include "viewer/qt/calc_desks.h"

#include <stdexcept>

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

DeskHandle CalcDesks::CreateDesk(const TGraphWindow& view) {
  (void)view;
  if (windows_ == nullptr) throw std::logic_error("Окна результатов не подключены.");
  const DeskHandle handle = next_++;
  auto form = std::make_unique<TDeskForm>(*windows_, handle, *scene_, *client_, messages_, images_);
  form->SetMainForm(mainForm_);
  form->SetInputEnabled(inputEnabled_);
  connect(form.get(), &TDeskForm::Activated, this, &CalcDesks::DeskActivated);
  connect(form.get(), &TDeskForm::Closed, this, &CalcDesks::DeskClosed);
  desks_.emplace(handle, std::move(form));
  return handle;
}

void CalcDesks::DestroyDesk(DeskHandle desk) {
  auto it = desks_.find(desk);
  if (it == desks_.end()) return;
  // Events already queued for the window may still arrive: it goes when they are done.
  it->second->Detach();
  it->second->hide();
  it->second.release()->deleteLater();
  desks_.erase(it);
}

void CalcDesks::ShowDesk(DeskHandle desk) {
  TDeskForm* d = Find(desk);
  if (d == nullptr) return;
  d->UpdatePictureSize();
  d->show();
  d->raise();
  d->activateWindow();
}

bool CalcDesks::DeskShown(DeskHandle desk) const {
  const TDeskForm* d = Find(desk);
  return d != nullptr && d->isVisible();
}

void CalcDesks::ShowDeskCleared(DeskHandle desk) {
  TDeskForm* d = Find(desk);
  if (d == nullptr) return;
  ShowDesk(desk);
  d->ShowCleared();
}

void CalcDesks::RepaintDesk(DeskHandle desk) {
  TDeskForm* d = Find(desk);
  if (d == nullptr) return;
  if (!repaintsDeferred_) {
    d->Repaint();
    return;
  }
  repaintsAsked_.insert(desk);
  d->RepaintLater();
}

void CalcDesks::SetRepaintsDeferred(bool deferred) {
  repaintsDeferred_ = deferred;
  if (deferred) return;
  std::set<DeskHandle> asked;
  asked.swap(repaintsAsked_);
  for (DeskHandle desk : asked)
    if (TDeskForm* d = Find(desk)) d->Repaint();
}

void CalcDesks::SetDeskCursor(DeskHandle desk, int slot) {
  if (TDeskForm* d = Find(desk)) d->SetPictureCursor(cursors_ ? cursors_(slot) : QCursor(Qt::ArrowCursor));
}

void CalcDesks::SetDeskStatusText(DeskHandle desk, int panel, const std::string& text) {
  if (TDeskForm* d = Find(desk)) d->SetStatusText(panel, QString::fromStdString(text));
}

TDeskForm* CalcDesks::DeskOfView(int index) const {
  if (windows_ == nullptr || index < 0 || index >= windows_->Count()) return nullptr;
  return Find(windows_->Items(index).WorkDesk);
}

void CalcDesks::SetInputEnabled(bool enabled) {
  inputEnabled_ = enabled;
  for (auto& [handle, desk] : desks_) desk->SetInputEnabled(enabled);
}

void CalcDesks::HideAll() {
  for (auto& [handle, desk] : desks_) desk->hide();
}

}  // namespace tavir
