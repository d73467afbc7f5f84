#pragma once
// The result desk: one top-level window per result view, the desk window
// (DeskWindow) of the view's picture size. The paint event draws the picture only
// when the image no longer matches the scroll position or size; otherwise it shows
// the image as it stands, rubber band included. A failure of a picture is never
// shown from inside the paint event: it is shown right after.
#include <string>
#include <vector>

#include "platform/qt/desk_window.h"
#include "platform/services.h"
#include "viewer/result_desk.h"

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

class TDeskForm : public DeskWindow {
  Q_OBJECT
 public:
  TDeskForm(TGraphWindows& windows, DeskHandle desk, ResultScene& scene, ResultDeskClient& client,
            MessageService& messages, const ImageProvider* images, QWidget* parent = nullptr);
  ~TDeskForm() override;

  DeskHandle Desk() const { return logic_.Desk(); }
  ResultDesk& Logic() { return logic_; }
  // The repaint message while a computation runs: the picture is drawn at the
  // next paint of the window, so that requests between two paints cost one drawing.
  void RepaintLater();
  // Background and grid only; the next paint event paints the whole picture.
  void ShowCleared();
  // The picture widget follows the view's picture size.
  void UpdatePictureSize();
  // Whether mouse gestures are accepted (not while a computation runs).
  void SetInputEnabled(bool enabled) { inputEnabled_ = enabled; }

 signals:
  void Activated(TDeskForm* desk);
  // The window was closed by the user (it is hidden; the view stays).
  void Closed(TDeskForm* desk);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The view's picture. Its failures go to the deferred messages: the repaint
  // message shows them at once, a paint event right after itself.
  void DrawPicture(Canvas& canvas) override { logic_.Repaint(canvas); }
  void RepaintMessage() override;
  void RepaintStale() override;
  // The picture widget's gestures (PaintBox_Desk)
  void PictureMouseDown(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) override;
  void PictureMouseMove(QPoint p, Qt::KeyboardModifiers mods) override;
  void PictureMouseUp(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers mods) override;

  void FlushLater();

  DeferredMessages deferred_;
  ResultDesk logic_;
  TGraphWindows& windows_;
  bool inputEnabled_ = true;
};

}  // namespace tavir
