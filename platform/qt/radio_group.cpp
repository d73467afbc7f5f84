#include "platform/qt/radio_group.h"

namespace tavir {

RadioGroup::RadioGroup(const QString& title, QWidget* parent) : QGroupBox(title, parent), layout_(new QGridLayout(this)) {
  group_.setExclusive(true);
  connect(&group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (!checked || id == index_) return;
    index_ = id;
    emit itemIndexChanged(index_);
  });
}

void RadioGroup::SetItems(const QStringList& items) {
  SetItemIndex(-1);
  for (QRadioButton* b : buttons_) {
    group_.removeButton(b);
    delete b;
  }
  buttons_.clear();
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    b->setObjectName(QStringLiteral("%1_%2").arg(objectName().isEmpty() ? QStringLiteral("Item") : objectName()).arg(i));
    group_.addButton(b, i);
    buttons_.push_back(b);
  }
  Relayout();
}

QStringList RadioGroup::Items() const {
  QStringList out;
  for (const QRadioButton* b : buttons_) out << b->text();
  return out;
}

void RadioGroup::SetColumns(int columns) {
  columns_ = std::max(1, columns);
  Relayout();
}

void RadioGroup::Relayout() {
  for (QRadioButton* b : buttons_) layout_->removeWidget(b);
  const int count = Count();
  const int rows = (count + columns_ - 1) / columns_;
  for (int i = 0; i < count; ++i) layout_->addWidget(buttons_[static_cast<std::size_t>(i)], i % std::max(rows, 1), i / std::max(rows, 1));
}

int RadioGroup::ItemIndex() const { return index_; }

void RadioGroup::SetItemIndex(int index) {
  if (index < 0 || index >= Count()) index = -1;
  if (index == index_) return;
  if (index < 0) {
    // An exclusive group cannot uncheck its last button.
    group_.setExclusive(false);
    for (QRadioButton* b : buttons_) b->setChecked(false);
    group_.setExclusive(true);
    index_ = -1;
    emit itemIndexChanged(-1);
    return;
  }
  buttons_[static_cast<std::size_t>(index)]->setChecked(true);  // signals through the group
}

QRadioButton* RadioGroup::Button(int index) const {
  return index >= 0 && index < Count() ? buttons_[static_cast<std::size_t>(index)] : nullptr;
}

}  // namespace tavir
