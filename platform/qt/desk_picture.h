#pragma once
// The visible part of a desk's picture. A desk shows its picture (as large as the
// window's picture, which a zoom can make huge) in a scroll box; only the part in
// the viewport exists as an image: a canvas of the viewport's size whose origin
// follows the scroll position. Scrolling or resizing makes the image stale; the
// desk repaints it when it next needs it. Immediate drawings go into the same
// image and are shown by an update of the picture widget.
#include <QImage>
#include <QObject>
#include <QRect>
#include <QWidget>
#include <string_view>
#include <vector>

#include "platform/desk_surface.h"
#include "platform/qt/qt_canvas.h"

class QPainter;
class QScrollArea;

namespace tavir {

// The pictures no image list supplies (the support and load symbols) drawn as
// canvas primitives.
using BuiltInImageDrawer = void (*)(Canvas& canvas, std::string_view list, int index, int x, int y);

// A screen canvas whose images come from the image lists when they have the
// picture and from the built-in drawer otherwise.
class BuiltInImageCanvas : public QtCanvas {
 public:
  BuiltInImageCanvas(QSize size, const ImageProvider* images, BuiltInImageDrawer builtIn)
      : QtCanvas(size, images), images_(images), builtIn_(builtIn) {}
  void DrawImage(std::string_view list, int index, int x, int y) override;

 private:
  const ImageProvider* images_;
  BuiltInImageDrawer builtIn_;
};

// What the picture widget hands to its desk: its paint events and the mouse
// gestures in picture coordinates.
class DeskPictureEvents {
 public:
  virtual void PicturePaint(const QRect& area) = 0;
  virtual void PictureMouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) = 0;
  virtual void PictureMouseMove(QPoint p, Qt::KeyboardModifiers mods) = 0;
  virtual void PictureMouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) = 0;

 protected:
  ~DeskPictureEvents() = default;
};

// The picture widget inside a desk's scroll box, sized as the whole picture (it
// holds no image of its own: the desk paints the visible part into it).
class DeskPictureBox : public QWidget {
  Q_OBJECT
 public:
  DeskPictureBox(DeskPictureEvents& desk, const QString& objectName, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  DeskPictureEvents& desk_;
};

// Squares of at most side x side pixels, row by row, that cover a picture of the
// given size exactly once: a whole picture (printing) is drawn tile by tile,
// never into one buffer of its size.
std::vector<QRect> PictureTiles(QSize picture, int side);

// The button of a gesture as the plain desk logic knows it.
MouseButton DeskMouseButton(Qt::MouseButton button);

class DeskPicture : public QObject {
 public:
  // scroll shows picture, the widget sized as the whole picture.
  DeskPicture(QScrollArea& scroll, QWidget& picture, const ImageProvider* images, BuiltInImageDrawer builtIn);

  BuiltInImageCanvas& Canvas() { return canvas_; }
  // The visible part as it stands.
  const QImage& Image() const { return canvas_.Image(); }
  // Whether the image shows the visible part: not stale, of the viewport's size
  // and from the scroll position.
  bool Current() const;
  // The image resized to the visible part and placed at the scroll position; its
  // contents are the caller's to paint.
  void Fit();
  // The scroll box shows or hides its scroll bars for a new picture size now, not
  // when the event loop next runs: a picture painted after this is painted for the
  // visible part it keeps. Not from inside a paint event.
  void SettleScrollBars();
  void SetStale() { stale_ = true; }
  void SetFresh() { stale_ = false; }
  // The image onto the picture widget; the rest of `area` white.
  void Paint(QPainter& painter, const QRect& area) const;

  DeskScroll Scroll() const;
  void SetScroll(int h, int v);

 private:
  QSize VisibleSize() const;
  TPoint ScrollOrigin() const;

  QScrollArea& scroll_;
  QWidget& picture_;
  BuiltInImageCanvas canvas_;
  bool stale_ = true;
};

}  // namespace tavir
