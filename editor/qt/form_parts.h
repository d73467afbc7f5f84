#pragma once
// Small pieces every editor form is built from: widgets named by their control
// names and the row of closing buttons under a dialog.
#include <QBoxLayout>
#include <QPushButton>
#include <QString>
#include <initializer_list>
#include <vector>

namespace tavir {

// The widget, named by its control name.
template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

struct ButtonSpec {
  QString Text;
  const char* Name;
};

// The closing buttons, right-aligned in a row at the bottom of `top`, in the order
// given; the first is the default button.
std::vector<QPushButton*> AddButtonRow(QBoxLayout* top, QWidget* parent, std::initializer_list<ButtonSpec> buttons);

}  // namespace tavir
