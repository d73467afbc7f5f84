#pragma once
// TMainDesk: the form of one editing window, a top-level window of its own (never
// a child of the main strip). Its picture is the window's Width x Height pixels
// inside a scroll box; only the visible part exists as an image (DeskPicture).
//
// Repaint() is the repaint message: the visible part painted anew at once. What
// the commands draw immediately (selection, new elements, supports, loads, the
// rubber band) goes into that image through PictureCanvas() and is then shown by
// update(); the paint event repaints the whole image only when it no longer
// matches the scroll position or the viewport size.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "editor/edit_desk.h"
#include "platform/desk_surface.h"
#include "platform/qt/desk_picture.h"

class QLabel;
class QScrollArea;
class QStatusBar;

namespace tavir {

class TMainDesk;

// What a desk tells the command module: after every gesture and activation the
// command set's state is shown again; a failure is shown to the user.
class DeskEvents {
 public:
  virtual ~DeskEvents() = default;
  virtual void DeskChanged() = 0;
  virtual void DeskActivated(TMainDesk& desk) = 0;
  virtual void DeskFailure(const std::string& text) = 0;
};

class TMainDesk : public QMainWindow, private DeskSurface, private DeskPictureEvents {
  Q_OBJECT
 public:
  TMainDesk(EditorCommands& commands, DeskHandle desk, const TWorkWindow& window, DeskEvents& events,
            const ImageProvider* images, QWidget* parent = nullptr);
  ~TMainDesk() override;

  DeskHandle Desk() const { return logic_.Desk(); }
  EditDesk& Logic() { return logic_; }
  // The repaint message.
  void Repaint();
  // The visible part of the picture as it stands.
  QImage Picture() const;
  // The canvas of the picture for immediate drawing; the widget shows it after.
  Canvas& DrawingCanvas() { return PictureCanvas(); }
  void SetPictureCursor(const QCursor& cursor);
  QStatusBar* StatusBar() const { return StBar_Win; }
  QScrollArea* ScrollBox() const { return ScrollBox_Win; }
  QWidget* PaintBox() const;
  QString StatusText(int panel) const;
  // A notice of the program beside the two panels (an autosave that failed);
  // empty hides it.
  void SetNotice(const QString& text);
  QString Notice() const;
  // The main strip the desk keeps clear of.
  void SetMainForm(QWidget* main) { mainForm_ = main; }
  // The window is gone: the form waits for its deletion and touches nothing.
  void Detach() { detached_ = true; }
  bool Detached() const { return detached_; }

  // The gestures as the picture gets them, in picture coordinates (tests drive
  // these with QTest on PaintBox()).
  void MouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods);
  void MouseMove(QPoint p, Qt::KeyboardModifiers mods);
  void MouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // DeskSurface
  Canvas& PictureCanvas() override;
  DeskScroll Scroll() const override;
  void SetScroll(int h, int v) override;
  void RepaintNow() override;
  // DeskPictureEvents: the picture widget's events (Image_Win)
  void PicturePaint(const QRect& area) override;
  void PictureMouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) override {
    MouseDown(button, p, mods);
  }
  void PictureMouseMove(QPoint p, Qt::KeyboardModifiers mods) override { MouseMove(p, mods); }
  void PictureMouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) override {
    MouseUp(button, p, mods);
  }

  void RepaintInto();
  void Guarded(const std::function<void()>& f);

  EditorCommands& commands_;
  DeskEvents& events_;
  EditDesk logic_;
  std::unique_ptr<DeskPicture> picture_;
  bool detached_ = false;
  QScrollArea* ScrollBox_Win = nullptr;
  DeskPictureBox* Image_Win = nullptr;
  QStatusBar* StBar_Win = nullptr;
  QLabel* panels_[2] = {nullptr, nullptr};
  QLabel* notice_ = nullptr;
  QPointer<QWidget> mainForm_;
};

}  // namespace tavir
