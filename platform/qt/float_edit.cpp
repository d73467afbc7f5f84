#include "platform/qt/float_edit.h"

#include <QApplication>
#include <QFocusEvent>

#include "platform/numtext.h"
#include "platform/qt/qt_convert.h"

namespace tavir {
namespace {
// Focus that goes to another window or a pop-up comes back to the same box: the
// user has not left it.
bool Deactivation(Qt::FocusReason reason) {
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}
}  // namespace

TFloatEdit::TFloatEdit(QWidget* parent) : QLineEdit(parent) { SetValue(0); }

Extended TFloatEdit::Value() const { return ParseFloat(ToUtf8(text())).value_or(Extended{0}); }

void TFloatEdit::SetValue(Extended value) { setText(ToQString(FormatGeneral(value))); }

void TFloatEdit::Enter() {
  enterValue_ = Value();
  inside_ = true;
  emit entered();
}

void TFloatEdit::Leave() {
  inside_ = false;
  // The restore comes first, so that exit handlers read what the box shows.
  if (!ParseFloat(ToUtf8(text()))) SetValue(enterValue_);
  emit exited();
}

void TFloatEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (Deactivation(event->reason()) && inside_) {
    // Back from another window: the box holds what it shows now (a modeless
    // dialog's box may have been written meanwhile), unless the user left it
    // half typed, which keeps the number it had. A pop-up menu is no other window.
    if (event->reason() == Qt::ActiveWindowFocusReason)
      if (const std::optional<Extended> shown = ParseFloat(ToUtf8(text()))) enterValue_ = *shown;
    return;
  }
  Enter();
}

void TFloatEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (Deactivation(event->reason()) || !inside_) return;
  Leave();
}

void TFloatEdit::CommitExit() {
  if (!inside_) return;  // never entered: there is nothing to leave
  const bool focused = hasFocus();
  Leave();
  if (focused) Enter();
}

void TFloatEdit::CommitFocused(QWidget* window) {
  QWidget* focus = window != nullptr ? window->focusWidget() : QApplication::focusWidget();
  if (auto* edit = qobject_cast<TFloatEdit*>(focus)) edit->CommitExit();
}

}  // namespace tavir
