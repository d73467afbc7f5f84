#include "editor/qt/shared/material_form.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/qt_convert.h"

namespace tavir {

TMaterialForm::TMaterialForm(const std::vector<MaterialEntry>& entries, std::int32_t selected,
                             MaterialListContext context, ModelDialogs* dialogs, MessageService& messages,
                             QWidget* parent)
    : QDialog(parent), list_(entries, selected, std::move(context)), dialogs_(dialogs), messages_(messages) {
  setObjectName(QStringLiteral("MaterialForm"));
  setWindowTitle(QStringLiteral("Материалы"));

  auto* top = new QHBoxLayout(this);
  ListBox_Materials = new QListWidget(this);
  ListBox_Materials->setObjectName(QStringLiteral("ListBox_Materials"));
  ListBox_Materials->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox_Materials->setMinimumWidth(220);
  top->addWidget(ListBox_Materials, 1);

  auto* column = new QVBoxLayout;
  const auto button = [this, column](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    column->addWidget(b);
    return b;
  };
  Btn_New = button("Btn_New", QStringLiteral("Новый"));
  Btn_Edit = button("Btn_Edit", QStringLiteral("Изменить"));
  Btn_Delete = button("Btn_Delete", QStringLiteral("Удалить"));
  column->addStretch(1);
  Btn_OK = button("Btn_OK", QStringLiteral("ОК"));
  Btn_OK->setDefault(true);
  Btn_Cancel = button("Btn_Cancel", QStringLiteral("Отменить"));
  top->addLayout(column);

  connect(Btn_New, &QPushButton::clicked, this, &TMaterialForm::Btn_NewClick);
  connect(Btn_Edit, &QPushButton::clicked, this, &TMaterialForm::Btn_EditClick);
  connect(Btn_Delete, &QPushButton::clicked, this, &TMaterialForm::Btn_DeleteClick);
  connect(Btn_OK, &QPushButton::clicked, this, &TMaterialForm::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TMaterialForm::reject);
  connect(ListBox_Materials, &QListWidget::currentRowChanged, this, [this](int row) { list_.Select(row); });

  const bool editable = dialogs_ != nullptr;
  Btn_New->setEnabled(editable);
  Btn_Edit->setEnabled(editable);
  Btn_Delete->setEnabled(editable);
  ShowList();
}

void TMaterialForm::ShowList() {
  const QSignalBlocker block(ListBox_Materials);
  ListBox_Materials->clear();
  for (std::int32_t i = 0; i < list_.Count(); ++i) ListBox_Materials->addItem(ToQString(list_.Name(i)));
  ListBox_Materials->setCurrentRow(list_.Selected());
  if (list_.Selected() < 0) ListBox_Materials->clearSelection();
  Btn_Delete->setEnabled(dialogs_ != nullptr && list_.DeleteEnabled());
}

void TMaterialForm::Btn_NewClick() {
  if (dialogs_ == nullptr) return;
  if (list_.New(*dialogs_, messages_) == MaterialListEdit::Outcome::Changed) ShowList();
}

void TMaterialForm::Btn_EditClick() {
  if (dialogs_ == nullptr) return;
  if (list_.EditSelected(*dialogs_, messages_) == MaterialListEdit::Outcome::Changed) ShowList();
}

void TMaterialForm::Btn_DeleteClick() {
  if (dialogs_ == nullptr) return;
  if (list_.DeleteSelected(messages_) == MaterialListEdit::Outcome::Changed) ShowList();
}

}  // namespace tavir
