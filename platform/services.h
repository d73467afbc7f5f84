#pragma once
// What the computation and the model ask of the user interface, without knowing
// it: messages, progress with a Break flag. The Qt side implements them; tests
// script them.
#include <atomic>
#include <string>
#include <vector>

namespace tavir {

// Plain shows no icon; Information the information icon.
enum class MsgKind { Question, Warning, Error, Plain, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class MessageService {
 public:
  virtual ~MessageService() = default;
  // The text is shown as given; a lone "\r" becomes a line break only when shown.
  virtual MsgResult Show(MsgKind kind, const std::string& caption, const std::string& text, MsgButtons buttons) = 0;

  void Warning(const std::string& text) { Show(MsgKind::Warning, "Предупреждение", text, MsgButtons::Ok); }
  void Error(const std::string& text) { Show(MsgKind::Error, "Ошибка", text, MsgButtons::Ok); }
  bool Ask(const std::string& caption, const std::string& text) {
    return Show(MsgKind::Question, caption, text, MsgButtons::OkCancel) == MsgResult::Ok;
  }
};

// Progress of a long computation: the status window's stage rows and cells, a
// bar with its caption, a second bar with its caption (the two-bar progress box:
// the first shows the current stage, the second the whole job), and a pump point
// where the GUI may process events (and the user may press Break). The
// computation never knows about Qt.
class ProgressObserver {
 public:
  virtual ~ProgressObserver() = default;
  virtual void SetStage(int row) { (void)row; }
  virtual void SetCell(int col, int row, const std::string& text) { (void)col; (void)row; (void)text; }
  virtual void SetBar(long long position, long long maximum) { (void)position; (void)maximum; }
  virtual void SetLabel(const std::string& text) { (void)text; }
  virtual void SetBar2(long long position, long long maximum) { (void)position; (void)maximum; }
  virtual void SetLabel2(const std::string& text) { (void)text; }
  virtual void Pump() {}
};

using BreakFlag = std::atomic<bool>;

}  // namespace tavir
