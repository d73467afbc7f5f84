#pragma once
// For GUI tests: answers every modal dialog without a modal loop. Message boxes
// are recorded and answered by a script of buttons (none left: the default
// button); other dialogs go to scripted handlers in order, which fill and click
// them and return the result. A dialog with no handler left fails the test and
// is rejected.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <deque>
#include <functional>
#include <vector>

#include "platform/qt/dialog_runner.h"

namespace tavir {

class DialogScript {
 public:
  struct Box {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::StandardButton Default = QMessageBox::NoButton;
    QMessageBox::StandardButton Clicked = QMessageBox::NoButton;
  };
  using Handler = std::function<int(QDialog&)>;

  // Message boxes, in the order shown.
  std::vector<Box> Boxes;
  // The buttons to click, in order; NoButton closes a box without one.
  std::deque<QMessageBox::StandardButton> Answers;
  // Handlers for the other dialogs, in order.
  std::deque<Handler> Dialogs;
  // The object names of all dialogs run, message boxes included.
  std::vector<QString> Seen;

 private:
  int Handle(QDialog& dialog) {
    Seen.push_back(dialog.objectName());
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) return Answer(*box);
    if (Dialogs.empty()) {
      ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString() << " \""
                    << dialog.windowTitle().toStdString() << "\"";
      dialog.reject();
      return dialog.result();
    }
    const Handler handler = std::move(Dialogs.front());
    Dialogs.pop_front();
    return handler(dialog);
  }

  int Answer(QMessageBox& box) {
    Box seen{box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
             box.defaultButton() != nullptr ? box.standardButton(box.defaultButton()) : QMessageBox::NoButton};
    QMessageBox::StandardButton click = seen.Default;
    if (!Answers.empty()) {
      click = Answers.front();
      Answers.pop_front();
    }
    seen.Clicked = click;
    Boxes.push_back(seen);
    if (click == QMessageBox::NoButton || box.button(click) == nullptr) {
      EXPECT_TRUE(click == QMessageBox::NoButton) << "the box has no button " << click;
      box.reject();
      return box.result();
    }
    box.button(click)->click();
    return box.result();
  }

  ScopedDialogInterceptor interceptor_{[this](QDialog& d) { return Handle(d); }};
};

}  // namespace tavir
