#include "editor/qt/edit_desk_form.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "model/symbols.h"

namespace tavir {

// ---- the desk ----

TMainDesk::TMainDesk(EditorCommands& commands, DeskHandle desk, const TWorkWindow& window, DeskEvents& events,
                     const ImageProvider* images, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      commands_(commands),
      events_(events),
      logic_(commands, desk, *this) {
  setObjectName("MainDesk");
  setWindowTitle(QString::fromStdString(window.Caption.empty() ? std::string("Область") : window.Caption));
  setMinimumSize(400, 400);
  resize(640, 520);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect r = screen->availableGeometry();
    move(r.center() - QPoint(320, 260));
  }
  ScrollBox_Win = new QScrollArea(this);
  ScrollBox_Win->setObjectName("ScrollBox_Win");
  ScrollBox_Win->setWidgetResizable(false);
  Image_Win = new DeskPictureBox(*this, "Image_Win");
  Image_Win->resize(std::max(1, window.Width), std::max(1, window.Height));
  ScrollBox_Win->setWidget(Image_Win);
  setCentralWidget(ScrollBox_Win);
  picture_ = std::make_unique<DeskPicture>(*ScrollBox_Win, *Image_Win, images, &DrawBuiltInSymbol);
  StBar_Win = new QStatusBar(this);
  StBar_Win->setObjectName("StBar_Win");
  StBar_Win->setSizeGripEnabled(false);
  const int widths[2] = {200, 50};
  for (int i = 0; i < 2; ++i) {
    panels_[i] = new QLabel(StBar_Win);
    panels_[i]->setObjectName(QString("StBar_Win_Panel%1").arg(i));
    panels_[i]->setFixedWidth(widths[i]);
    panels_[i]->setFrameShape(QFrame::Panel);
    panels_[i]->setFrameShadow(QFrame::Sunken);
    StBar_Win->addWidget(panels_[i]);
  }
  notice_ = new QLabel(StBar_Win);
  notice_->setObjectName("StBar_Win_Notice");
  notice_->hide();
  StBar_Win->addWidget(notice_, 1);
  setStatusBar(StBar_Win);
}

TMainDesk::~TMainDesk() = default;

QWidget* TMainDesk::PaintBox() const { return Image_Win; }

QString TMainDesk::StatusText(int panel) const {
  if (panel < 0 || panel > 1) return {};
  return panels_[panel]->text();
}

void TMainDesk::SetNotice(const QString& text) {
  notice_->setText(text);
  notice_->setToolTip(text);
  notice_->setVisible(!text.isEmpty());
}

QString TMainDesk::Notice() const { return notice_->text(); }

void TMainDesk::SetPictureCursor(const QCursor& cursor) { Image_Win->setCursor(cursor); }

void TMainDesk::RepaintInto() {
  picture_->Fit();
  picture_->SetFresh();
  if (const std::optional<std::string> failure = logic_.Repaint(picture_->Canvas())) {
    // Never shown from inside a paint event: right after it.
    QTimer::singleShot(0, this, [self = QPointer<TMainDesk>(this), text = *failure] {
      if (self && !self->detached_) self->events_.DeskFailure(text);
    });
  }
}

void TMainDesk::Repaint() {
  if (detached_) return;
  RepaintInto();
  Image_Win->update();
}

QImage TMainDesk::Picture() const { return picture_->Image(); }

void TMainDesk::PicturePaint(const QRect& area) {
  if (!detached_ && !picture_->Current()) RepaintInto();
  QPainter painter(Image_Win);
  picture_->Paint(painter, area);
}

Canvas& TMainDesk::PictureCanvas() {
  // A drawing goes into the picture as it stands; a stale picture is made current
  // first, so the drawing is not lost to the next paint.
  if (!detached_ && !picture_->Current()) RepaintInto();
  Image_Win->update();
  return picture_->Canvas();
}

DeskScroll TMainDesk::Scroll() const { return picture_->Scroll(); }

void TMainDesk::SetScroll(int h, int v) { picture_->SetScroll(h, v); }

void TMainDesk::RepaintNow() { RepaintInto(); }

void TMainDesk::Guarded(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    events_.DeskFailure(e.what());
  }
  if (!detached_) Image_Win->update();
  events_.DeskChanged();
}

void TMainDesk::MouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) {
  if (detached_) return;
  QPointer<TMainDesk> self(this);
  Guarded([&] {
    // A press acts on its own window: the window becomes current first.
    if (logic_.WindowIndex() != commands_.Supervisor().CurrentWindow) {
      logic_.Activate(!StBar_Win->isHidden());
      if (!self || detached_) return;
    }
    logic_.MouseDown(DeskMouse{DeskMouseButton(button), p.x(), p.y(), (mods & Qt::ControlModifier) != 0});
  });
}

void TMainDesk::MouseMove(QPoint p, Qt::KeyboardModifiers mods) {
  if (detached_) return;
  try {
    const std::optional<std::string> text =
        logic_.MouseMove(DeskMouse{MouseButton::Left, p.x(), p.y(), (mods & Qt::ControlModifier) != 0},
                         isActiveWindow());
    if (text) panels_[0]->setText(QString::fromStdString(*text));
  } catch (const std::exception& e) {
    events_.DeskFailure(e.what());
  }
  Image_Win->update();
}

void TMainDesk::MouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) {
  if (detached_) return;
  Guarded([&] { logic_.MouseUp(DeskMouse{DeskMouseButton(button), p.x(), p.y(), (mods & Qt::ControlModifier) != 0}); });
}

bool TMainDesk::event(QEvent* event) {
  if (!detached_) {
    if (event->type() == QEvent::WindowActivate) {
      Guarded([&] { logic_.Activate(!StBar_Win->isHidden()); });
      if (!detached_) events_.DeskActivated(*this);
    } else if (event->type() == QEvent::WindowDeactivate) {
      logic_.CancelGesture();
      Guarded([&] { logic_.Deactivate(); });
    }
  }
  return QMainWindow::event(event);
}

void TMainDesk::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !detached_) {
    logic_.CancelGesture();
    Image_Win->update();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void TMainDesk::closeEvent(QCloseEvent* event) {
  // The program clears its windows without close events; this is the user's
  // close: the desk is hidden, and the main window's asks to end the program.
  bool allowed = true;
  if (!detached_) {
    try {
      allowed = logic_.CloseQuery();
    } catch (const std::exception& e) {
      events_.DeskFailure(e.what());
    }
  }
  if (!allowed) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TMainDesk::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  picture_->SetStale();
  if (detached_ || !mainForm_ || !mainForm_->isVisible()) return;
  // The desk keeps clear of the main window's strip of tool bars.
  const int mainBottom = mainForm_->y() + mainForm_->height();
  if (y() < mainBottom) {
    const int newHeight = std::max(minimumHeight(), height() - mainForm_->height());
    move(x(), mainBottom);
    resize(width(), newHeight);
  }
}

}  // namespace tavir
