#include "editor/qt/editor_forms.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

#include "platform/numtext.h"
#include "platform/qt/float_edit.h"
#include "platform/qt/radio_group.h"
#include "platform/qt/window_place.h"

namespace tavir {

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }
QString Number(Extended v) { return Text(FormatGeneral(v)); }

QPushButton* AddButton(QBoxLayout* row, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption));
  b->setObjectName(name);
  b->setAutoDefault(false);
  row->addWidget(b);
  return b;
}

constexpr const char* kAxisNames[3] = {"X", "Y", "Z"};

}  // namespace

// ---- panels ----

TPDlg_ToolBox::TPDlg_ToolBox(const std::array<bool, kEditorBarCount>& visible, QWidget* parent)
    : QDialog(parent), panels_(visible) {
  setObjectName("PDlg_ToolBox");
  setWindowTitle("Настройка панелей");
  auto* layout = new QVBoxLayout(this);
  auto* pages = new QTabWidget;
  auto* panelsPage = new QWidget;
  auto* panelsLayout = new QVBoxLayout(panelsPage);
  ChLB_Panels = new QListWidget;
  ChLB_Panels->setObjectName("ChLB_Panels");
  for (int i = 0; i < kEditorBarCount; ++i) {
    auto* item = new QListWidgetItem(Text(std::string(EditorBars()[static_cast<std::size_t>(i)].Caption)));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(panels_[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    ChLB_Panels->addItem(item);
  }
  panelsLayout->addWidget(ChLB_Panels);
  auto* resurrectRow = new QHBoxLayout;
  Btn_Resurrect = AddButton(resurrectRow, "Btn_Resurrect", "Восстановить");
  panelsLayout->addLayout(resurrectRow);
  pages->addTab(panelsPage, "Панели");
  pages->addTab(new QWidget, "Команды");
  pages->addTab(new QWidget, "Настройка");
  layout->addWidget(pages);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  OKBtn = AddButton(buttons, "OKBtn", "OK");
  OKBtn->setDefault(true);
  CancelBtn = AddButton(buttons, "CancelBtn", "Cancel");
  AddButton(buttons, "HelpBtn", "&Help");
  layout->addLayout(buttons);
  connect(Btn_Resurrect, &QPushButton::clicked, this, &TPDlg_ToolBox::Resurrect);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  // Centred on the screen, not over its owner, the strip along the screen's top.
  adjustSize();
  CentreOnScreen(*this);
}

void TPDlg_ToolBox::Resurrect() {
  const std::array<bool, kEditorBarCount> on = RestoredBarChecks();
  for (int i = 0; i < kEditorBarCount; ++i)
    ChLB_Panels->item(i)->setCheckState(on[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
}

void TPDlg_ToolBox::done(int result) {
  for (int i = 0; i < kEditorBarCount; ++i)
    panels_[static_cast<std::size_t>(i)] = ChLB_Panels->item(i)->checkState() == Qt::Checked;
  QDialog::done(result);
}

// ---- information boxes ----

TInfoForm::TInfoForm(QWidget* parent) : QDialog(parent) {
  setObjectName("InfoForm");
  setWindowTitle("Информация о проекте");
  setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  auto* grid = new QGridLayout(this);
  const std::pair<const char*, QLabel**> rows[] = {
      {"Имя файла проекта:", &Lbl_ProjFileName}, {"Количество узлов", &Lbl_NumNodes},
      {"Количество элементов", &Lbl_NumElems},   {"Расчет", &Lbl_ProjTaskMode},
      {"Тип расчета", &Lbl_ProjTaskOptions},     {"Размерность", &Lbl_ProjDimension},
      {"Точность ввода", &Lbl_ProjPrecision}};
  const char* names[] = {"Lbl_ProjFileName",    "Lbl_NumNodes",      "Lbl_NumElems",     "Lbl_ProjTaskMode",
                         "Lbl_ProjTaskOptions", "Lbl_ProjDimension", "Lbl_ProjPrecision"};
  int r = 0;
  for (const auto& [caption, label] : rows) {
    grid->addWidget(new QLabel(QString::fromUtf8(caption)), r, 0);
    *label = new QLabel;
    (*label)->setObjectName(names[r]);
    grid->addWidget(*label, r, 1);
    ++r;
  }
}

void TInfoForm::ShowTask(const TBCTask& task) {
  Lbl_ProjTaskMode->setText(task.EvulKind == 1 ? "Динамический" : "Статический");
  const char* statements[4] = {"Физически и геометрически линейная", "Физически нелинейная",
                               "Геометрически нелинейная", "Физически и геометрически нелинейная"};
  Lbl_ProjTaskOptions->setText(task.Statement < 4 ? QString::fromUtf8(statements[task.Statement]) : QString());
  const char* dims[3] = {"Двумерная", "Трехмерная", "Пластины (оболочки)"};
  Lbl_ProjDimension->setText(task.Dimension < 3 ? QString::fromUtf8(dims[task.Dimension]) : QString());
  Lbl_ProjPrecision->setText(Number(task.Precision));
}

void TInfoForm::keyPressEvent(QKeyEvent* /*event*/) { reject(); }

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("О программе \"Тавир\"");
  auto* layout = new QVBoxLayout(this);
  auto* product = new QLabel("Программный комплекс \"Тавир\"");
  product->setObjectName("ProductName");
  layout->addWidget(product);
  auto* comments = new QLabel("Редактор расчетных моделей пологих оболочек и пластин");
  comments->setObjectName("Comments");
  layout->addWidget(comments);
  auto* row = new QHBoxLayout;
  row->addStretch();
  QPushButton* ok = AddButton(row, "OKButton", "ОК");
  ok->setDefault(true);
  layout->addLayout(row);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tavir
