#pragma once
// TMainDesk: the form of one editing window, a top-level window of its own (never
// a child of the main strip): the desk window (DeskWindow) of the window's Width x
// Height pixels, whose picture is drawn by the model and whose gestures are the
// editor's mouse modes. What the commands draw immediately goes into the picture
// through DrawingCanvas().
#include <QPointer>
#include <functional>
#include <string>

#include "editor/edit_desk.h"
#include "platform/qt/desk_window.h"

class QLabel;

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

class TMainDesk : public DeskWindow {
  Q_OBJECT
 public:
  TMainDesk(EditorCommands& commands, DeskHandle desk, const TWorkWindow& window, DeskEvents& events,
            const ImageProvider* images, QWidget* parent = nullptr);
  ~TMainDesk() override;

  DeskHandle Desk() const { return logic_.Desk(); }
  EditDesk& Logic() { return logic_; }
  // The canvas of the picture for immediate drawing; the widget shows it after.
  Canvas& DrawingCanvas() { return Surface().PictureCanvas(); }
  // A notice of the program beside the two panels (an autosave that failed);
  // empty hides it.
  void SetNotice(const QString& text);
  QString Notice() const;

  // The gestures as the picture gets them, in picture coordinates (tests drive
  // these with QTest on PaintBox()).
  void MouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods);
  void MouseMove(QPoint p, Qt::KeyboardModifiers mods);
  void MouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The model's picture; a failure is shown right after the event that drew it.
  void DrawPicture(Canvas& canvas) override;
  // The picture widget's gestures (Image_Win)
  void PictureMouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) override {
    MouseDown(button, p, mods);
  }
  void PictureMouseMove(QPoint p, Qt::KeyboardModifiers mods) override { MouseMove(p, mods); }
  void PictureMouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) override {
    MouseUp(button, p, mods);
  }

  void Guarded(const std::function<void()>& f);

  EditorCommands& commands_;
  DeskEvents& events_;
  EditDesk logic_;
  QLabel* notice_ = nullptr;
};

}  // namespace tavir
