#pragma once
// The result desk: one top-level window per result view. The picture is the view's
// picture size inside a scroll box; only the visible part exists as an image
// (DeskPicture), so a zoomed picture never needs a buffer of its full size.
//
// Repaint() is the repaint message: it paints the whole visible part at once. The
// paint event paints only when the image no longer matches the scroll position or
// size; otherwise it shows the image as it stands, rubber band included. A failure
// of a picture is never shown from inside the paint event: it is shown right after.
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/desk_picture.h"
#include "platform/services.h"
#include "viewer/result_desk.h"

class QLabel;
class QScrollArea;
class QStatusBar;

namespace tavir {


// Messages of a picture, shown after the paint event that produced them.
class DeferredMessages : public MessageService {
 public:
  explicit DeferredMessages(MessageService& target) : target_(target) {}
  MsgResult Show(MsgKind kind, const std::string& caption, const std::string& text, MsgButtons buttons) override;
  // While set, messages wait for Flush().
  void SetDeferring(bool deferring) { deferring_ = deferring; }
  void Flush();
  std::size_t Pending() const { return pending_.size(); }

 private:
  struct Entry {
    MsgKind Kind;
    std::string Caption, Text;
    MsgButtons Buttons;
  };
  MessageService& target_;
  bool deferring_ = false;
  std::vector<Entry> pending_;
};

class TDeskForm : public QMainWindow, private DeskSurface, private DeskPictureEvents {
  Q_OBJECT
 public:
  TDeskForm(TGraphWindows& windows, DeskHandle desk, ResultScene& scene, ResultDeskClient& client,
            MessageService& messages, const ImageProvider* images, QWidget* parent = nullptr);
  ~TDeskForm() override;

  DeskHandle Desk() const { return logic_.Desk(); }
  ResultDesk& Logic() { return logic_; }
  // The repaint message: the visible part of the picture painted now.
  void Repaint();
  // The repaint message while a computation runs: the picture is drawn at the
  // next paint of the window, so that requests between two paints cost one drawing.
  void RepaintLater();
  // How many times the picture has been drawn.
  long long Drawings() const { return drawings_; }
  // Background and grid only; the next paint event paints the whole picture.
  void ShowCleared();
  // The picture as shown (the visible part).
  QImage Picture() const;
  // The picture widget follows the view's picture size.
  void UpdatePictureSize();
  void SetStatusText(int panel, const QString& text);
  QString StatusText(int panel) const;
  QScrollArea* ScrollBox() const { return scroll_; }
  QWidget* PaintBox() const { return paintBox_; }
  // The main window whose strip the desk keeps clear of (resize rule).
  void SetMainForm(QWidget* main) { mainForm_ = main; }
  // The view is gone: the window only waits for its deletion and touches nothing.
  void Detach() { detached_ = true; }
  bool Detached() const { return detached_; }
  // Whether mouse gestures are accepted (not while a computation runs).
  void SetInputEnabled(bool enabled) { inputEnabled_ = enabled; }

 signals:
  void Activated(TDeskForm* desk);
  // The window was closed by the user (it is hidden; the view stays).
  void Closed(TDeskForm* desk);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // DeskSurface
  Canvas& PictureCanvas() override;
  DeskScroll Scroll() const override;
  void SetScroll(int h, int v) override;
  void RepaintNow() override;

  // DeskPictureEvents: the picture widget's events (PaintBox_Desk)
  void PicturePaint(const QRect& area) override;
  void PictureMouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) override;
  void PictureMouseMove(QPoint p, Qt::KeyboardModifiers mods) override;
  void PictureMouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) override;

  void RepaintInto();
  void FlushLater();
  void FormResize();

  DeferredMessages deferred_;
  ResultDesk logic_;
  TGraphWindows& windows_;
  std::unique_ptr<DeskPicture> picture_;
  bool inputEnabled_ = true;
  bool detached_ = false;
  long long drawings_ = 0;
  QScrollArea* scroll_;
  DeskPictureBox* paintBox_;
  QStatusBar* status_;
  std::vector<QLabel*> panels_;
  QPointer<QWidget> mainForm_;
};

}  // namespace tavir
