#include "viewer/qt/desk_form.h"

#include <QCloseEvent>
#include <QWidget>

#include "model/symbols.h"

namespace tavir {

// ---- deferred messages ----

MsgResult DeferredMessages::Show(MsgKind kind, const std::string& caption, const std::string& text,
                                 MsgButtons buttons) {
  if (!deferring_) return target_.Show(kind, caption, text, buttons);
  pending_.push_back({kind, caption, text, buttons});
  return MsgResult::Ok;
}

void DeferredMessages::Flush() {
  std::vector<Entry> pending;
  pending.swap(pending_);
  for (const Entry& e : pending) target_.Show(e.Kind, e.Caption, e.Text, e.Buttons);
}

// Runs a desk entry from the event loop: a failure is shown after the event, never
// thrown through the loop.
template <class F>
void DeskGuard(DeferredMessages& messages, F&& body) {
  std::string failure;
  try {
    body();
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = "Неизвестная ошибка.";
  }
  if (!failure.empty()) messages.Show(MsgKind::Error, "Ошибка", failure, MsgButtons::Ok);
}

// ---- desk ----

namespace {

DeskWindowLayout ResultDeskLayout() {
  DeskWindowLayout layout;
  layout.Name = "DeskForm";
  layout.Caption = "Окно";
  layout.Size = QSize(600, 500);
  layout.ScrollName = "ScrollBox_Desk";
  layout.PictureName = "PaintBox_Desk";
  layout.StatusName = "StatusBar_Desk";
  layout.PanelWidths = {200, 280, 50};
  // Support and load symbols are the built-in pictures unless the image lists
  // supply bitmaps.
  layout.BuiltIn = &DrawBuiltInSymbol;
  return layout;
}

}  // namespace

TDeskForm::TDeskForm(TGraphWindows& windows, DeskHandle desk, ResultScene& scene, ResultDeskClient& client,
                     MessageService& messages, const ImageProvider* images, QWidget* parent)
    : DeskWindow(ResultDeskLayout(), images, parent),
      deferred_(messages),
      logic_(windows, desk, scene, client, Surface(), deferred_),
      windows_(windows) {
  UpdatePictureSize();
}

TDeskForm::~TDeskForm() = default;

void TDeskForm::UpdatePictureSize() {
  const TGraphWindow* view = windows_.WindowOfDesk(Desk());
  SetPictureSize(view ? view->Width() : 1, view ? view->Height() : 1);
}

void TDeskForm::RepaintMessage() {
  DeskGuard(deferred_, [this] {
    UpdatePictureSize();
    VisiblePart().SettleScrollBars();
    RepaintInto();
  });
}

void TDeskForm::RepaintLater() {
  if (Detached()) return;
  UpdatePictureSize();  // also marks the picture stale: the next paint draws it
  PaintBox()->update();
}

void TDeskForm::ShowCleared() {
  if (Detached()) return;
  UpdatePictureSize();
  VisiblePart().Fit();
  windows_.ClearDesk(Desk(), VisiblePart().Canvas());
  VisiblePart().SetStale();
  PaintBox()->update();
}

void TDeskForm::FlushLater() {
  if (deferred_.Pending() == 0) return;
  AfterEvent([this] { deferred_.Flush(); });
}

void TDeskForm::RepaintStale() {
  deferred_.SetDeferring(true);
  DeskGuard(deferred_, [this] { RepaintInto(); });
  deferred_.SetDeferring(false);
  FlushLater();
}

void TDeskForm::PictureMouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers /*mods*/) {
  if (!inputEnabled_ || Detached()) return;
  DeskGuard(deferred_, [&] { logic_.MouseDown(DeskMouseButton(button), p.x(), p.y()); });
}

void TDeskForm::PictureMouseMove(QPoint p, Qt::KeyboardModifiers /*mods*/) {
  if (Detached() || !logic_.Tracking()) return;
  DeskGuard(deferred_, [&] { logic_.MouseMove(p.x(), p.y()); });
  PaintBox()->update();
}

void TDeskForm::PictureMouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers /*mods*/) {
  if (!inputEnabled_ || Detached()) return;
  // Ending a gesture can open views and run commands.
  DeskGuard(deferred_, [&] { logic_.MouseUp(DeskMouseButton(button), p.x(), p.y()); });
  PaintBox()->update();
}

bool TDeskForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !Detached()) {
    DeskGuard(deferred_, [this] { logic_.Activate(); });
    emit Activated(this);
  }
  return DeskWindow::event(event);
}

void TDeskForm::closeEvent(QCloseEvent* event) {
  DeskWindow::closeEvent(event);
  if (!event->isAccepted() || Detached()) return;
  // No command may act on a window that is no longer on screen.
  DeskGuard(deferred_, [this] { logic_.Closed(); });
  emit Closed(this);
}

}  // namespace tavir
