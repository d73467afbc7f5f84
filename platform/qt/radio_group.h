#pragma once
// A titled box of radio buttons chosen by index, ItemIndex -1 for none (as the
// platform's radio group has it).
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <vector>

namespace tavir {

class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit RadioGroup(const QString& title = QString(), QWidget* parent = nullptr);

  // New items; none is chosen afterwards.
  void SetItems(const QStringList& items);
  QStringList Items() const;
  int Count() const { return static_cast<int>(buttons_.size()); }
  // Items run down the columns, as many rows as needed.
  void SetColumns(int columns);
  int Columns() const { return columns_; }

  int ItemIndex() const;
  // -1 (or an index out of range) chooses none.
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const;

 signals:
  // The chosen index changed, by the user or by code.
  void itemIndexChanged(int index);

 private:
  void Relayout();

  QButtonGroup group_;
  QGridLayout* layout_;
  std::vector<QRadioButton*> buttons_;
  int columns_ = 1;
  int index_ = -1;
};

}  // namespace tavir
