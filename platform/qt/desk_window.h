#pragma once
// The window both programs show a picture in: a top-level window with the picture
// in a scroll box and a status bar of fixed panels below. Only the visible part of
// the picture exists as an image (DeskPicture), so a zoomed picture never needs a
// buffer of its full size.
//
// Repaint() is the repaint message: the visible part painted anew at once. What the
// desk's gestures and commands draw immediately (selection, symbols, the rubber
// bands) goes into that image through the surface's PictureCanvas() and is shown by
// an update of the picture widget; the paint event paints the whole image only when
// it no longer matches the scroll position or the viewport size.
//
// A program's desk derives from it: it draws the picture (DrawPicture), takes the
// picture's mouse gestures, and may wrap the two repaints in its own failure
// handling.
#include <QCursor>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/desk_surface.h"
#include "platform/qt/desk_picture.h"

class QLabel;
class QScrollArea;
class QStatusBar;

namespace tavir {

// How a desk window is laid out: its names (the controls are found by them), its
// first size and the widths of its status panels.
struct DeskWindowLayout {
  QString Name;  // of the window
  QString Caption;
  QSize Size;         // first size; the window is centred on the screen
  QSize MinimumSize;  // none when empty
  QString ScrollName, PictureName, StatusName;
  std::vector<int> PanelWidths;  // the panels are named StatusName + "_Panel" + index
  BuiltInImageDrawer BuiltIn = nullptr;  // the symbols no image list supplies
};

class DeskWindow : public QMainWindow, private DeskSurface, private DeskPictureEvents {
  Q_OBJECT
 public:
  DeskWindow(const DeskWindowLayout& layout, const ImageProvider* images, QWidget* parent);
  ~DeskWindow() override;

  // The repaint message: the visible part of the picture painted now.
  void Repaint();
  // How many times the picture has been drawn.
  long long Drawings() const { return drawings_; }
  // The picture as shown (the visible part).
  QImage Picture() const;
  void SetPictureCursor(const QCursor& cursor);
  QScrollArea* ScrollBox() const { return scroll_; }
  QWidget* PaintBox() const;
  QStatusBar* StatusBar() const { return status_; }
  void SetStatusText(int panel, const QString& text);
  QString StatusText(int panel) const;
  // The main window whose strip of tool bars the desk keeps clear of, also when
  // the strip grows or moves.
  void SetMainForm(QWidget* main);
  // The desk's window or view is gone: the form waits for its deletion and touches
  // nothing.
  void Detach() { detached_ = true; }
  bool Detached() const { return detached_; }

 protected:
  // The whole visible part drawn on the canvas (the program's own picture).
  virtual void DrawPicture(Canvas& canvas) = 0;
  // The drawing of the repaint message and of a paint event that finds the image
  // stale; a desk wraps them in its own failure handling. Both draw by RepaintInto().
  virtual void RepaintMessage() { RepaintInto(); }
  virtual void RepaintStale() { RepaintInto(); }
  // The image fitted to the visible part and drawn (DrawPicture), counted.
  void RepaintInto();
  // The picture widget sized as the whole picture; the image is stale after it.
  void SetPictureSize(int width, int height);
  DeskPicture& VisiblePart() { return *picture_; }
  // What the plain gesture logic draws and scrolls through.
  DeskSurface& Surface() { return *this; }
  // Runs right after the event being handled, while the window exists: a desk
  // never shows a message from inside a paint event.
  void AfterEvent(std::function<void()> action);

  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // DeskSurface
  Canvas& PictureCanvas() override;
  DeskScroll Scroll() const override;
  void SetScroll(int h, int v) override;
  void RepaintNow() override { RepaintInto(); }
  // DeskPictureEvents: the paint event of the picture widget (its mouse events are
  // the program desk's)
  void PicturePaint(const QRect& area) override;

  void KeepClearOfMainForm();

  QScrollArea* scroll_ = nullptr;
  DeskPictureBox* paintBox_ = nullptr;
  QStatusBar* status_ = nullptr;
  std::vector<QLabel*> panels_;
  std::unique_ptr<DeskPicture> picture_;
  QPointer<QWidget> mainForm_;
  bool detached_ = false;
  long long drawings_ = 0;
};

}  // namespace tavir
