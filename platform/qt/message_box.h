#pragma once
// The message service shown as QMessageBox: questions with OK and Cancel and the
// question icon, warnings with OK, the warning icon and "Предупреждение", errors
// with the error icon and "Ошибка". Runs through DialogRunner, so tests can read
// and answer the box.
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "platform/services.h"

namespace tavir {

class QtMessageService : public MessageService {
 public:
  explicit QtMessageService(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  MsgResult Show(MsgKind kind, const std::string& caption, const std::string& text, MsgButtons buttons) override;

 private:
  QPointer<QWidget> parent_;
};

// The text as the box shows it: a lone "\r" (and "\r\n") becomes a line break.
QString MessageText(const std::string& text);
QMessageBox::Icon MessageIcon(MsgKind kind);
QMessageBox::StandardButtons MessageButtons(MsgButtons buttons);

}  // namespace tavir
