#include "platform/qt/message_box.h"

#include <QAbstractButton>

#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

QString MessageText(const std::string& text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QMessageBox::Icon MessageIcon(MsgKind kind) {
  switch (kind) {
    case MsgKind::Question: return QMessageBox::Question;
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Information: return QMessageBox::Information;
    case MsgKind::Plain: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons MessageButtons(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return QMessageBox::Ok;
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

namespace {

MsgResult ResultOf(QMessageBox::StandardButton b) {
  switch (b) {
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return MsgResult::Ok;
  }
}

// Closing the box without a button (Escape, the title bar) answers like its
// cancelling button.
MsgResult Dismissed(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::YesNo: return MsgResult::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel: break;
  }
  return MsgResult::Cancel;
}

}  // namespace

MsgResult QtMessageService::Show(MsgKind kind, const std::string& caption, const std::string& text,
                                 MsgButtons buttons) {
  QMessageBox box(MessageIcon(kind), ToQString(caption), MessageText(text), MessageButtons(buttons), parent_);
  box.setTextFormat(Qt::PlainText);
  box.setObjectName(QStringLiteral("MessageBox"));
  const QMessageBox::StandardButton first =
      (buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel) ? QMessageBox::Ok : QMessageBox::Yes;
  box.setDefaultButton(first);
  DialogRunner::Run(box);
  if (QAbstractButton* clicked = box.clickedButton()) {
    const QMessageBox::StandardButton b = box.standardButton(clicked);
    if (b != QMessageBox::NoButton) return ResultOf(b);
  }
  return Dismissed(buttons);
}

}  // namespace tavir
