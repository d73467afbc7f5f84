#include "viewer/qt/desk_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

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

TDeskForm::TDeskForm(TGraphWindows& windows, DeskHandle desk, ResultScene& scene, ResultDeskClient& client,
                     MessageService& messages, const ImageProvider* images, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      deferred_(messages),
      logic_(windows, desk, scene, client, *this, deferred_),
      windows_(windows) {
  setObjectName("DeskForm");
  setWindowTitle("Окно");
  resize(600, 500);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect r = screen->availableGeometry();
    move(r.center() - QPoint(300, 250));
  }
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName("ScrollBox_Desk");
  scroll_->setWidgetResizable(false);
  paintBox_ = new DeskPictureBox(*this, "PaintBox_Desk");
  scroll_->setWidget(paintBox_);
  setCentralWidget(scroll_);
  // Support and load symbols are the built-in pictures unless the image lists
  // supply bitmaps.
  picture_ = std::make_unique<DeskPicture>(*scroll_, *paintBox_, images, &DrawBuiltInSymbol);
  status_ = new QStatusBar(this);
  status_->setObjectName("StatusBar_Desk");
  status_->setSizeGripEnabled(false);
  for (const int w : {200, 280, 50}) {
    auto* panel = new QLabel(status_);
    panel->setFixedWidth(w);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    status_->addWidget(panel);
    panels_.push_back(panel);
  }
  setStatusBar(status_);
  UpdatePictureSize();
}

TDeskForm::~TDeskForm() = default;

void TDeskForm::UpdatePictureSize() {
  const TGraphWindow* view = windows_.WindowOfDesk(Desk());
  const int w = view ? std::max(1, view->Width()) : 1;
  const int h = view ? std::max(1, view->Height()) : 1;
  if (paintBox_->size() != QSize(w, h)) paintBox_->resize(w, h);
  picture_->SetStale();
}

void TDeskForm::SetStatusText(int panel, const QString& text) {
  if (panel >= 0 && panel < static_cast<int>(panels_.size())) panels_[static_cast<std::size_t>(panel)]->setText(text);
}

QString TDeskForm::StatusText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(panels_.size())) return {};
  return panels_[static_cast<std::size_t>(panel)]->text();
}

void TDeskForm::RepaintInto() {
  ++drawings_;
  picture_->Fit();
  picture_->SetFresh();
  logic_.Repaint(picture_->Canvas());
}

void TDeskForm::Repaint() {
  if (detached_) return;
  DeskGuard(deferred_, [this] {
    UpdatePictureSize();
    picture_->SettleScrollBars();
    RepaintInto();
  });
  paintBox_->update();
}

void TDeskForm::RepaintLater() {
  if (detached_) return;
  UpdatePictureSize();  // also marks the picture stale: the next paint draws it
  paintBox_->update();
}

void TDeskForm::ShowCleared() {
  if (detached_) return;
  UpdatePictureSize();
  picture_->Fit();
  windows_.ClearDesk(Desk(), picture_->Canvas());
  picture_->SetStale();
  paintBox_->update();
}

QImage TDeskForm::Picture() const { return picture_->Image(); }

void TDeskForm::FlushLater() {
  if (deferred_.Pending() == 0) return;
  QTimer::singleShot(0, this, [self = QPointer<TDeskForm>(this)] {
    if (self) self->deferred_.Flush();
  });
}

void TDeskForm::PicturePaint(const QRect& area) {
  if (!detached_ && !picture_->Current()) {
    deferred_.SetDeferring(true);
    DeskGuard(deferred_, [this] { RepaintInto(); });
    deferred_.SetDeferring(false);
    FlushLater();
  }
  QPainter painter(paintBox_);
  picture_->Paint(painter, area);
}

Canvas& TDeskForm::PictureCanvas() {
  paintBox_->update();
  return picture_->Canvas();
}

DeskScroll TDeskForm::Scroll() const { return picture_->Scroll(); }

void TDeskForm::SetScroll(int h, int v) { picture_->SetScroll(h, v); }

void TDeskForm::RepaintNow() { RepaintInto(); }

void TDeskForm::PictureMouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers /*mods*/) {
  if (!inputEnabled_ || detached_) return;
  DeskGuard(deferred_, [&] { logic_.MouseDown(DeskMouseButton(button), p.x(), p.y()); });
}

void TDeskForm::PictureMouseMove(QPoint p, Qt::KeyboardModifiers /*mods*/) {
  if (detached_ || !logic_.Tracking()) return;
  DeskGuard(deferred_, [&] { logic_.MouseMove(p.x(), p.y()); });
  paintBox_->update();
}

void TDeskForm::PictureMouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers /*mods*/) {
  if (!inputEnabled_ || detached_) return;
  // Ending a gesture can open views and run commands.
  DeskGuard(deferred_, [&] { logic_.MouseUp(DeskMouseButton(button), p.x(), p.y()); });
  paintBox_->update();
}

bool TDeskForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !detached_) {
    DeskGuard(deferred_, [this] { logic_.Activate(); });
    emit Activated(this);
  }
  return QMainWindow::event(event);
}

void TDeskForm::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (!event->isAccepted() || detached_) return;
  // No command may act on a window that is no longer on screen.
  DeskGuard(deferred_, [this] { logic_.Closed(); });
  emit Closed(this);
}

void TDeskForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
  picture_->SetStale();
}

void TDeskForm::FormResize() {
  if (detached_) return;
  // The desk keeps clear of the main window's strip of tool bars.
  if (!mainForm_ || !mainForm_->isVisible()) return;
  const int mainBottom = mainForm_->y() + mainForm_->height();
  if (y() < mainBottom) {
    const int newHeight = std::max(100, height() - mainForm_->height());
    setGeometry(x(), mainBottom + (geometry().y() - y()), width(), newHeight);
  }
}

}  // namespace tavir
