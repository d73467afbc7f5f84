#include "editor/qt/form_parts.h"

namespace tavir {

std::vector<QPushButton*> AddButtonRow(QBoxLayout* top, QWidget* parent, std::initializer_list<ButtonSpec> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  std::vector<QPushButton*> made;
  for (const ButtonSpec& b : buttons) {
    QPushButton* button = Named(new QPushButton(b.Text, parent), b.Name);
    row->addWidget(button);
    made.push_back(button);
  }
  if (!made.empty()) made.front()->setDefault(true);
  top->addLayout(row);
  return made;
}

}  // namespace tavir
