#pragma once
// The one-line edit box for every real number the dialogs take. Value is derived
// from the text (text that is not a number reads 0); leaving the box with text that
// is not a number puts back the number it held when it got the focus.
//
// Owners bind their exit handling to exited(), which comes after that restore, so
// a handler reads the number the box then shows (never 0 for a box that shows the
// old number). Focus lost to another window or to a pop-up is not leaving.
#include <QLineEdit>

#include "platform/extended.h"

namespace tavir {

class TFloatEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TFloatEdit(QWidget* parent = nullptr);

  // The text as a number (both separators, an optional exponent); 0 when it is not one.
  Extended Value() const;
  // Writes the number in the general format with the locale's separator.
  void SetValue(Extended value);
  // The number the box held when it last got the focus.
  Extended EnterValue() const { return enterValue_; }

  // The exit processing now (restore, then exited()), as leaving would run it: OK
  // and Apply run it for the focused box before they read the boxes. A box that
  // keeps the focus counts as entered again afterwards; a box not entered is left alone.
  void CommitExit();
  // Runs CommitExit for the focused widget of the window when it is a TFloatEdit.
  static void CommitFocused(QWidget* window);

 signals:
  void entered();
  void exited();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Enter();
  void Leave();

  Extended enterValue_ = 0;
  bool inside_ = false;
};

}  // namespace tavir
