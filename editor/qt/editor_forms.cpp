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

namespace tavir {

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }
QString Number(Extended v) { return Text(FormatGeneral(v)); }

constexpr const char* kAxisNames[3] = {"X", "Y", "Z"};

}  // namespace

QPushButton* AddDialogButton(QBoxLayout* row, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption));
  b->setObjectName(name);
  b->setAutoDefault(false);
  row->addWidget(b);
  return b;
}

OkCancelRow AddOkCancelRow(QBoxLayout* layout, bool help) {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  OkCancelRow row;
  row.OK = AddDialogButton(buttons, "OKBtn", "OK");
  row.OK->setDefault(true);
  row.Cancel = AddDialogButton(buttons, "CancelBtn", "Cancel");
  if (help) row.Help = AddDialogButton(buttons, "HelpBtn", "&Help");
  layout->addLayout(buttons);
  return row;
}

// ---- new task ----

std::vector<int> CorrectRegion(NewTaskRegion& region) {
  for (int a = 0; a < 3; ++a)
    if (region.Min[a] > region.Max[a]) std::swap(region.Min[a], region.Max[a]);
  std::vector<int> widened;
  for (int a = 0; a < 3; ++a) {
    if (region.Min[a] == region.Max[a]) {
      region.Max[a] = 2 * region.Min[a];
      widened.push_back(a);
    }
  }
  return widened;
}

std::string EqualCoordinatesWarning(int axis) {
  return std::string("        Минимальная и максимальная координаты ") + kAxisNames[axis] +
         " равны.\rПроизведена коррекция - минимальная координата удвоена.";
}

int StatementItem(std::uint8_t statement) {
  switch (statement) {
    case 0: return 0;
    case 1: return 2;
    case 2: return 1;
    case 3: return 3;
    default: return -1;
  }
}

std::uint8_t StatementOfItem(int item) {
  switch (item) {
    case 1: return 2;
    case 2: return 1;
    case 3: return 3;
    default: return 0;
  }
}

int DimensionItem(std::uint8_t dimension) {
  switch (dimension) {
    case 0: return 1;
    case 1: return 0;
    case 2: return 2;
    default: return -1;
  }
}

std::uint8_t DimensionOfItem(int item) {
  switch (item) {
    case 0: return 1;
    case 2: return 2;
    default: return 0;
  }
}

TNewTaskDlg::TNewTaskDlg(MessageService& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName("NewTaskDlg");
  setWindowTitle("Новая задача");
  auto* layout = new QVBoxLayout(this);
  PageCtrlNew = new QTabWidget(this);
  PageCtrlNew->setObjectName("PageCtrlNew");
  layout->addWidget(PageCtrlNew);

  auto* coords = new QWidget;
  coords->setObjectName("TS_Coordinate");
  auto* grid = new QGridLayout(coords);
  const char* names[6] = {"CoordXmin", "CoordYmin", "CoordZmin", "CoordXmax", "CoordYmax", "CoordZmax"};
  const char* labels[6] = {"LblXmin", "LblYmin", "LblZmin", "LblXmax", "LblYmax", "LblZmax"};
  const char* captions[6] = {"Координата Х (минимальная)",  "Координата Y (минимальная)",
                             "Координата Z (минимальная)",  "Координата X (максимальная)",
                             "Координата Y (максимальная)", "Координата Z (максимальная)"};
  const char* initial[6] = {"0.0", "0.0", "0.0", "12.00", "12.00", "3.00"};
  for (int i = 0; i < 6; ++i) {
    CoordLabel[i] = new QLabel(QString::fromUtf8(captions[i]));
    CoordLabel[i]->setObjectName(labels[i]);
    Coord[i] = new QLineEdit(QString::fromUtf8(initial[i]));
    Coord[i]->setObjectName(names[i]);
    grid->addWidget(CoordLabel[i], i, 0);
    grid->addWidget(Coord[i], i, 1);
    connect(Coord[i], &QLineEdit::editingFinished, this, [this, i] {
      if (!closing_) ReadCoordinates(i + 1);
    });
  }
  PageCtrlNew->addTab(coords, "Координаты");

  auto* task = new QWidget;
  task->setObjectName("TS_Task");
  auto* taskLayout = new QVBoxLayout(task);
  RG_LinearTask = new RadioGroup(" Постановка задачи ");
  RG_LinearTask->setObjectName("RG_LinearTask");
  RG_LinearTask->SetItems({"Физически и геометрически линейная постановка задачи",
                           "Физически линейная, геометрически нелинейная постановка",
                           "Физически нелинейная, геометрически линейная постановка",
                           "Физически и геометрически нелинейная постановка"});
  RG_Evulation = new RadioGroup("  Расчет  ");
  RG_Evulation->setObjectName("RG_Evulation");
  RG_Evulation->SetItems({"Статический расчет", "Динамический расчет"});
  RG_TaskDim = new RadioGroup("Размерность задачи");
  RG_TaskDim->setObjectName("RG_TaskDim");
  RG_TaskDim->SetItems({"Трехмерная", "Двумерная", "Пластины (оболочки)"});
  taskLayout->addWidget(RG_LinearTask);
  taskLayout->addWidget(RG_Evulation);
  taskLayout->addWidget(RG_TaskDim);
  PageCtrlNew->addTab(task, "Задача");
  connect(RG_LinearTask, &RadioGroup::itemIndexChanged, this,
          [this](int i) { statement_ = StatementOfItem(i); });
  connect(RG_Evulation, &RadioGroup::itemIndexChanged, this,
          [this](int i) { evulKind_ = static_cast<std::uint8_t>(i == 1 ? 1 : 0); });
  connect(RG_TaskDim, &RadioGroup::itemIndexChanged, this, [this](int i) {
    dimension_ = DimensionOfItem(i);
    EnableZControls(dimension_ == 1);
  });

  auto* extra = new QWidget;
  extra->setObjectName("TS_Extended");
  auto* extraLayout = new QHBoxLayout(extra);
  auto* precisionLabel = new QLabel("Точность ввода данных:");
  precisionLabel->setObjectName("Lbl_TaskPrecision");
  PrecisionEdit = new QLineEdit;
  PrecisionEdit->setObjectName("PrecisionEdit");
  extraLayout->addWidget(precisionLabel);
  extraLayout->addWidget(PrecisionEdit);
  PageCtrlNew->addTab(extra, "Дополнительно");
  connect(PrecisionEdit, &QLineEdit::editingFinished, this, [this] {
    if (!closing_) ReadPrecision();
  });

  const OkCancelRow row = AddOkCancelRow(layout, true);
  OKBtn = row.OK;
  CancelBtn = row.Cancel;
  HelpBtn = row.Help;
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(sizeHint());
  PageCtrlNew->setCurrentIndex(0);
}

void TNewTaskDlg::SetTaskData(Extended xmin, Extended ymin, Extended zmin, Extended xmax, Extended ymax,
                              Extended zmax) {
  Region.Min = {xmin, ymin, zmin};
  Region.Max = {xmax, ymax, zmax};
  statement_ = Task.Statement;
  evulKind_ = Task.EvulKind;
  dimension_ = Task.Dimension;
  precision_ = Task.Precision;
  RG_TaskDim->SetItemIndex(DimensionItem(dimension_));
  EnableZControls(dimension_ == 1);
  RG_LinearTask->SetItemIndex(StatementItem(statement_));
  RG_Evulation->SetItemIndex(evulKind_ <= 1 ? evulKind_ : -1);
  // Setting the groups reports the items back: the codes stay as the task has them.
  statement_ = Task.Statement;
  evulKind_ = Task.EvulKind;
  dimension_ = Task.Dimension;
  PrecisionEdit->setText(Number(precision_));
  for (int i = 0; i < 3; ++i) {
    Coord[i]->setText(Number(Region.Min[i]));
    Coord[i + 3]->setText(Number(Region.Max[i]));
  }
}

void TNewTaskDlg::EnableZControls(bool enabled) {
  for (int i : {2, 5}) {
    Coord[i]->setEnabled(enabled);
    CoordLabel[i]->setEnabled(enabled);
  }
}

void TNewTaskDlg::ReadCoordinates(int k) {
  const int last = (k <= 0 || k > 6) ? 6 : k;
  const char* names[6] = {"Xmin", "Ymin", "Zmin", "Xmax", "Ymax", "Zmax"};
  for (int i = 0; i < last; ++i) {
    const std::optional<Extended> v = ParseFloat(Coord[i]->text().toStdString());
    Extended& slot = i < 3 ? Region.Min[i] : Region.Max[i - 3];
    if (v) {
      slot = *v;
      continue;
    }
    Coord[i]->setFocus();
    messages_.Show(MsgKind::Plain, "Ошибка!!!", std::string("Ошибка в координате ") + names[i], MsgButtons::Ok);
  }
}

void TNewTaskDlg::ReadPrecision() {
  if (const std::optional<Extended> v = ParseFloat(PrecisionEdit->text().toStdString()))
    precision_ = *v;
  else
    PrecisionEdit->setFocus();
}

void TNewTaskDlg::done(int result) {
  closing_ = true;
  ReadCoordinates(0);
  ReadPrecision();
  Task.SetEvulKind(evulKind_);
  Task.SetStatement(statement_);
  Task.SetDimension(dimension_);
  Task.SetPrecision(precision_);
  for (int axis : CorrectRegion(Region))
    messages_.Show(MsgKind::Warning, "Предупреждение", EqualCoordinatesWarning(axis), MsgButtons::Ok);
  closing_ = false;
  QDialog::done(result);
}

// ---- load dialog ----

TForcesForm::TForcesForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
  setObjectName("ForcesForm");
  setWindowTitle("Нагрузка");
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  const char* names[6] = {"FloatEdit_Px", "FloatEdit_Py", "FloatEdit_Pz",
                          "FloatEdit_Mx", "FloatEdit_My", "FloatEdit_Mz"};
  const char* captions[6] = {"Усилие P&x", "Усилие P&y", "Усилие P&z", "Моме&нт Mx", "Момен&т My", "Момент &Mz"};
  for (int i = 0; i < 6; ++i) {
    auto* label = new QLabel(QString::fromUtf8(captions[i]));
    Edits[i] = new TFloatEdit;
    Edits[i]->setObjectName(names[i]);
    label->setBuddy(Edits[i]);
    grid->addWidget(label, i, 0);
    grid->addWidget(Edits[i], i, 1);
    if (i == 5) {
      label->setEnabled(false);
      Edits[i]->setEnabled(false);
    }
  }
  layout->addLayout(grid);
  auto* buttons = new QHBoxLayout;
  Btn_OK = AddDialogButton(buttons, "Btn_OK", "&OK");
  Btn_OK->setDefault(true);
  Btn_Cancel = AddDialogButton(buttons, "Btn_Cancel", "От&менить");
  Btn_Apply = AddDialogButton(buttons, "Btn_Apply", "П&рименить");
  layout->addLayout(buttons);
  connect(Btn_Apply, &QPushButton::clicked, this, &TForcesForm::ApplyClick);
  connect(Btn_OK, &QPushButton::clicked, this, [this] {
    ApplyClick();
    hide();
  });
  connect(Btn_Cancel, &QPushButton::clicked, this, &QWidget::hide);
}

void TForcesForm::SetForce(const TForceRecord& force) {
  Force = force;
  for (int i = 0; i < 6; ++i) Edits[i]->SetValue(Force.Component(i + 1));
}

TForceRecord TForcesForm::GetForce() {
  TFloatEdit::CommitFocused(this);
  for (int i = 0; i < 6; ++i) Force.SetComponent(i + 1, Edits[i]->Value());
  return Force;
}

void TForcesForm::ApplyClick() {
  const TForceRecord force = GetForce();
  if (Apply) Apply(force);
}

// ---- support dialog ----

TSuppForm::TSuppForm(QWidget* parent) : QDialog(parent) {
  setObjectName("SuppForm");
  setWindowTitle("Граничные условия");
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel("Наложить ограничения на:");
  title->setObjectName("Label_Title");
  layout->addWidget(title);
  const char* names[6] = {"ChBox_X", "ChBox_Y", "ChBox_Z", "ChBox_dX", "ChBox_dY", "ChBox_dZ"};
  const char* captions[6] = {"Перемещение по X",     "Перемещение по Y",     "Перемещение по Z",
                             "Угол поворота отн. Y", "Угол поворота отн. X", "Угол поворота отн. Z"};
  for (int i = 0; i < 6; ++i) {
    Boxes[i] = new QCheckBox(QString::fromUtf8(captions[i]));
    Boxes[i]->setObjectName(names[i]);
    layout->addWidget(Boxes[i]);
  }
  Boxes[5]->setEnabled(false);
  auto* dirLabel = new QLabel("Направление:");
  dirLabel->setObjectName("Lbl_Direction");
  layout->addWidget(dirLabel);
  RGroup_Direction = new RadioGroup;
  RGroup_Direction->setObjectName("RGroup_Direction");
  RGroup_Direction->SetItems({"вправо (вниз)", "влево (вверх)"});
  RGroup_Direction->SetColumns(2);
  layout->addWidget(RGroup_Direction);
  auto* buttons = new QHBoxLayout;
  Btn_OK = AddDialogButton(buttons, "Btn_OK", "ОК");
  Btn_OK->setDefault(true);
  Btn_Cancel = AddDialogButton(buttons, "Btn_Cancel", "Отменить");
  layout->addLayout(buttons);
  connect(Btn_OK, &QPushButton::clicked, this, [this] {
    SetRests();
    accept();
  });
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TSuppForm::SetFixation(const TFixation& f) {
  Fixation = f;
  GetRests();
}

void TSuppForm::GetRests() {
  for (int i = 0; i < 6; ++i) Boxes[i]->setChecked(Fixation[static_cast<std::size_t>(i)] == 1);
  RGroup_Direction->SetItemIndex(Direction);
}

void TSuppForm::SetRests() {
  for (int i = 0; i < 6; ++i) Fixation[static_cast<std::size_t>(i)] = Boxes[i]->isChecked() ? 1 : 0;
  Direction = RGroup_Direction->ItemIndex();
}

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
  Btn_Resurrect = AddDialogButton(resurrectRow, "Btn_Resurrect", "Восстановить");
  panelsLayout->addLayout(resurrectRow);
  pages->addTab(panelsPage, "Панели");
  pages->addTab(new QWidget, "Команды");
  pages->addTab(new QWidget, "Настройка");
  layout->addWidget(pages);
  const OkCancelRow row = AddOkCancelRow(layout, true);
  OKBtn = row.OK;
  CancelBtn = row.Cancel;
  connect(Btn_Resurrect, &QPushButton::clicked, this, &TPDlg_ToolBox::Resurrect);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
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
  QPushButton* ok = AddDialogButton(row, "OKButton", "OK");
  ok->setDefault(true);
  layout->addLayout(row);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tavir
