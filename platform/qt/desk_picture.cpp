#include "platform/qt/desk_picture.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace tavir {

void BuiltInImageCanvas::DrawImage(std::string_view list, int index, int x, int y) {
  if ((images_ != nullptr && !images_->Image(list, index).isNull()) || builtIn_ == nullptr) {
    QtCanvas::DrawImage(list, index, x, y);
    return;
  }
  builtIn_(*this, list, index, x, y);
}

DeskPictureBox::DeskPictureBox(DeskPictureEvents& desk, const QString& objectName, QWidget* parent)
    : QWidget(parent), desk_(desk) {
  setObjectName(objectName);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

void DeskPictureBox::paintEvent(QPaintEvent* event) { desk_.PicturePaint(event->rect()); }

void DeskPictureBox::mousePressEvent(QMouseEvent* event) {
  desk_.PictureMouseDown(event->button(), event->position().toPoint(), event->modifiers());
}

void DeskPictureBox::mouseMoveEvent(QMouseEvent* event) {
  desk_.PictureMouseMove(event->position().toPoint(), event->modifiers());
}

void DeskPictureBox::mouseReleaseEvent(QMouseEvent* event) {
  desk_.PictureMouseUp(event->button(), event->position().toPoint(), event->modifiers());
}

std::vector<QRect> PictureTiles(QSize picture, int side) {
  std::vector<QRect> tiles;
  if (side <= 0) return tiles;
  for (int y = 0; y < picture.height(); y += side)
    for (int x = 0; x < picture.width(); x += side)
      tiles.emplace_back(x, y, std::min(side, picture.width() - x), std::min(side, picture.height() - y));
  return tiles;
}

MouseButton DeskMouseButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::Left;
  }
}

DeskPicture::DeskPicture(QScrollArea& scroll, QWidget& picture, const ImageProvider* images,
                         BuiltInImageDrawer builtIn)
    : scroll_(scroll), picture_(picture), canvas_(QSize(1, 1), images, builtIn) {
  // Scrolling shows another part of the picture: it is painted anew.
  auto scrolled = [this] {
    stale_ = true;
    picture_.update();
  };
  connect(scroll_.horizontalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
  connect(scroll_.verticalScrollBar(), &QScrollBar::valueChanged, this, scrolled);
}

QSize DeskPicture::VisibleSize() const { return scroll_.viewport()->size().boundedTo(picture_.size()); }

TPoint DeskPicture::ScrollOrigin() const {
  return {scroll_.horizontalScrollBar()->value(), scroll_.verticalScrollBar()->value()};
}

bool DeskPicture::Current() const {
  return !stale_ && canvas_.Size() == VisibleSize() && canvas_.Origin() == ScrollOrigin();
}

void DeskPicture::Fit() {
  QSize want = VisibleSize();
  if (want.isEmpty()) want = QSize(1, 1);
  if (canvas_.Size() != want) canvas_.Resize(want);
  canvas_.SetOrigin(ScrollOrigin());
}

void DeskPicture::SettleScrollBars() {
  // The scroll box lays out its bars and viewport in a queued call of its own
  // when their ranges change.
  QCoreApplication::sendPostedEvents(&scroll_, QEvent::MetaCall);
}

void DeskPicture::Paint(QPainter& painter, const QRect& area) const {
  const TPoint o = canvas_.Origin();
  const QRect image(QPoint(o.X, o.Y), canvas_.Image().size());
  // White only where the image does not cover the area.
  for (const QRect& r : QRegion(area).subtracted(QRegion(image))) painter.fillRect(r, Qt::white);
  painter.drawImage(image.topLeft(), canvas_.Image());
}

DeskScroll DeskPicture::Scroll() const {
  DeskScroll s;
  s.H = scroll_.horizontalScrollBar()->value();
  s.V = scroll_.verticalScrollBar()->value();
  s.ClientWidth = scroll_.viewport()->width();
  s.Height = scroll_.height();
  s.HRange = scroll_.horizontalScrollBar()->maximum();
  return s;
}

void DeskPicture::SetScroll(int h, int v) {
  scroll_.horizontalScrollBar()->setValue(h);
  scroll_.verticalScrollBar()->setValue(v);
}

}  // namespace tavir
