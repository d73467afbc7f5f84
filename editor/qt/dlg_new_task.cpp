#include "editor/qt/dlg_new_task.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include "editor/new_task_dialog_rules.h"
#include "editor/task_items.h"
#include "platform/numtext.h"
#include "editor/qt/form_parts.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/window_place.h"

namespace tavir {

namespace {

constexpr std::array<const char*, 6> kFieldNames{"Xmin", "Ymin", "Zmin", "Xmax", "Ymax", "Zmax"};
constexpr std::array<const char*, 6> kLabels{
    "Координата Х (минимальная)",  "Координата Y (минимальная)",  "Координата Z (минимальная)",
    "Координата X (максимальная)", "Координата Y (максимальная)", "Координата Z (максимальная)"};
constexpr std::array<const char*, 6> kInitialTexts{"0.0", "0.0", "0.0", "12.00", "12.00", "3.00"};

QString Text(Extended v) { return ToQString(FormatGeneral(v)); }

}  // namespace

TNewTaskDlg::TNewTaskDlg(MessageService& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName(QStringLiteral("NewTaskDlg"));
  setWindowTitle(QStringLiteral("Новая задача"));
  auto* top = new QVBoxLayout(this);
  PageCtrlNew = new QTabWidget(this);
  PageCtrlNew->setObjectName(QStringLiteral("PageCtrlNew"));
  top->addWidget(PageCtrlNew);

  TS_Coordinate = new QWidget;
  TS_Coordinate->setObjectName(QStringLiteral("TS_Coordinate"));
  auto* coords = new QGridLayout(TS_Coordinate);
  for (std::size_t i = 0; i < 6; ++i) {
    Lbl[i] = new QLabel(QString::fromUtf8(kLabels[i]), TS_Coordinate);
    Lbl[i]->setObjectName(QStringLiteral("Lbl") + QString::fromLatin1(kFieldNames[i]));
    Coord[i] = new QLineEdit(QString::fromLatin1(kInitialTexts[i]), TS_Coordinate);
    Coord[i]->setObjectName(QStringLiteral("Coord") + QString::fromLatin1(kFieldNames[i]));
    Coord[i]->installEventFilter(this);
    const int row = static_cast<int>(i % 3) * 2;
    const int col = static_cast<int>(i / 3);
    coords->addWidget(Lbl[i], row, col);
    coords->addWidget(Coord[i], row + 1, col);
  }
  coords->setRowStretch(6, 1);
  PageCtrlNew->addTab(TS_Coordinate, QStringLiteral("Координаты"));

  TS_Task = new QWidget;
  TS_Task->setObjectName(QStringLiteral("TS_Task"));
  auto* task = new QVBoxLayout(TS_Task);
  RG_LinearTask = new RadioGroup(QStringLiteral(" Постановка задачи "), TS_Task);
  RG_LinearTask->setObjectName(QStringLiteral("RG_LinearTask"));
  RG_LinearTask->SetItems({QStringLiteral("Физически и геометрически линейная постановка задачи"),
                           QStringLiteral("Физически линейная, геометрически нелинейная постановка"),
                           QStringLiteral("Физически нелинейная, геометрически линейная постановка"),
                           QStringLiteral("Физически и геометрически нелинейная постановка")});
  task->addWidget(RG_LinearTask);
  auto* lower = new QHBoxLayout;
  RG_Evulation = new RadioGroup(QStringLiteral("  Расчет  "), TS_Task);
  RG_Evulation->setObjectName(QStringLiteral("RG_Evulation"));
  RG_Evulation->SetItems({QStringLiteral("Статический расчет"), QStringLiteral("Динамический расчет")});
  RG_TaskDim = new RadioGroup(QStringLiteral("Размерность задачи"), TS_Task);
  RG_TaskDim->setObjectName(QStringLiteral("RG_TaskDim"));
  RG_TaskDim->SetItems(
      {QStringLiteral("Трехмерная"), QStringLiteral("Двумерная"), QStringLiteral("Пластины (оболочки)")});
  lower->addWidget(RG_Evulation);
  lower->addWidget(RG_TaskDim);
  task->addLayout(lower);
  task->addStretch(1);
  PageCtrlNew->addTab(TS_Task, QStringLiteral("Задача"));

  TS_Extended = new QWidget;
  TS_Extended->setObjectName(QStringLiteral("TS_Extended"));
  auto* ext = new QHBoxLayout(TS_Extended);
  Lbl_TaskPrecision = new QLabel(QStringLiteral("Точность ввода данных:"), TS_Extended);
  Lbl_TaskPrecision->setObjectName(QStringLiteral("Lbl_TaskPrecision"));
  PrecisionEdit = new QLineEdit(TS_Extended);
  PrecisionEdit->setObjectName(QStringLiteral("PrecisionEdit"));
  PrecisionEdit->installEventFilter(this);
  ext->addWidget(Lbl_TaskPrecision, 0, Qt::AlignTop);
  ext->addWidget(PrecisionEdit, 0, Qt::AlignTop);
  ext->addStretch(1);
  PageCtrlNew->addTab(TS_Extended, QStringLiteral("Дополнительно"));

  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("OK"), "OKBtn"}, {QStringLiteral("Cancel"), "CancelBtn"}, {QStringLiteral("&Help"), "HelpBtn"}});
  OKBtn = closing[0];
  CancelBtn = closing[1];
  HelpBtn = closing[2];

  connect(OKBtn, &QPushButton::clicked, this, &TNewTaskDlg::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &TNewTaskDlg::reject);
  connect(RG_LinearTask, &RadioGroup::itemIndexChanged, this, [this](int item) {
    if (const auto code = StatementOfItem(item); code && !filling_) Task.SetStatement(*code);
  });
  connect(RG_Evulation, &RadioGroup::itemIndexChanged, this, [this](int item) {
    if (const auto code = EvulKindOfItem(item); code && !filling_) Task.SetEvulKind(*code);
  });
  connect(RG_TaskDim, &RadioGroup::itemIndexChanged, this, [this](int item) {
    const auto code = DimensionOfItem(item);
    if (!code || filling_) return;
    Task.SetDimension(*code);
    EnableZControls(*code == 1);
  });

  PageCtrlNew->setCurrentWidget(TS_Coordinate);
  setFixedSize(sizeHint());
  CentreOnScreen(*this);
}

Extended& TNewTaskDlg::Value(int field) {
  TFloatPoint3D& p = field < 3 ? MinCorner : MaxCorner;
  const int axis = field % 3;
  return axis == 0 ? p.X : axis == 1 ? p.Y : p.Z;
}

void TNewTaskDlg::SetTaskData(Extended xmin, Extended ymin, Extended zmin, Extended xmax, Extended ymax,
                              Extended zmax) {
  filling_ = true;
  MinCorner = FloatPoint3D(xmin, ymin, zmin);
  MaxCorner = FloatPoint3D(xmax, ymax, zmax);
  precision_ = Task.Precision;
  RG_TaskDim->SetItemIndex(DimensionItem(Task.Dimension));
  EnableZControls(Task.Dimension == 1);
  RG_LinearTask->SetItemIndex(StatementItem(Task.Statement));
  RG_Evulation->SetItemIndex(EvulKindItem(Task.EvulKind));
  PrecisionEdit->setText(Text(precision_));
  for (int i = 0; i < 6; ++i) Coord[static_cast<std::size_t>(i)]->setText(Text(Value(i)));
  filling_ = false;
}

void TNewTaskDlg::EnableZControls(bool enabled) {
  for (std::size_t i : {std::size_t{2}, std::size_t{5}}) {
    Coord[i]->setEnabled(enabled);
    Lbl[i]->setEnabled(enabled);
  }
}

int TNewTaskDlg::ReadCoordinates(int k) {
  // The focus moves below make other boxes lose it: that is not the user leaving them.
  const QScopedValueRollback<bool> reading(movingFocus_, true);
  const int last = (k <= 0 || k >= kRegionFieldCount) ? kRegionFieldCount : k;
  int failed = -1;
  for (int i = 0; i < last; ++i) {
    QLineEdit* box = Coord[static_cast<std::size_t>(i)];
    if (const std::optional<Extended> v = ParseCoordinate(box->text().toStdString())) {
      Value(i) = *v;
      continue;
    }
    if (failed < 0) failed = i;
    PageCtrlNew->setCurrentWidget(TS_Coordinate);
    box->setFocus();
    messages_.Show(MsgKind::Error, kCoordinateErrorCaption, CoordinateErrorText(i), MsgButtons::Ok);
  }
  // The messages came in reading order, so the user mends the first one first; from
  // there Tab leads through the others in the same order.
  if (failed >= 0) Coord[static_cast<std::size_t>(failed)]->setFocus();
  return failed;
}

void TNewTaskDlg::PrecisionEditExit() {
  if (const std::optional<Extended> v = ParseTaskPrecision(PrecisionEdit->text().toStdString())) {
    precision_ = *v;
    return;
  }
  MoveFocus(PrecisionEdit);
}

void TNewTaskDlg::MoveFocus(QWidget* target) {
  const QScopedValueRollback<bool> moving(movingFocus_, true);
  target->setFocus();
}

bool TNewTaskDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !movingFocus_ && isVisible()) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    const QWidget* next = QApplication::focusWidget();
    // Another window or a pop-up is not leaving the box; going to Cancel checks
    // nothing; a press on OK leaves the reading to OK, which reads all six boxes,
    // so that one click reports each bad box once.
    const bool leaving = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                         next != CancelBtn && !(next == OKBtn && reason == Qt::MouseFocusReason);
    if (leaving) {
      if (watched == PrecisionEdit) PrecisionEditExit();
      for (std::size_t i = 0; i < Coord.size(); ++i)
        if (watched == Coord[i]) ReadCoordinates(static_cast<int>(i) + 1);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TNewTaskDlg::accept() {
  if (ReadCoordinates(0) >= 0) return;
  const std::optional<Extended> precision = ParseTaskPrecision(PrecisionEdit->text().toStdString());
  if (!precision) {
    PageCtrlNew->setCurrentWidget(TS_Extended);
    MoveFocus(PrecisionEdit);
    messages_.Error(kNewTaskPrecisionText);
    return;
  }
  precision_ = *precision;
  const RegionCheck check = CheckRegion(MinCorner, MaxCorner);
  if (check.Refusal) {
    PageCtrlNew->setCurrentWidget(TS_Coordinate);
    MoveFocus(Coord[static_cast<std::size_t>(check.RefusedAxis + 3)]);
    messages_.Error(*check.Refusal);
    return;
  }
  for (const std::string& w : check.Warnings) messages_.Warning(w);
  MinCorner = check.Min;
  MaxCorner = check.Max;
  for (int i = 0; i < 6; ++i) Coord[static_cast<std::size_t>(i)]->setText(Text(Value(i)));
  Task.SetPrecision(precision_);
  QDialog::accept();
}

std::optional<NewTaskAnswer> RunNewTaskDialog(const TBCTask& task, const TFloatPoint3D& first,
                                              const TFloatPoint3D& second, MessageService& messages,
                                              QWidget* parent) {
  TNewTaskDlg dlg(messages, parent);
  dlg.Task.Assign(task);
  dlg.SetTaskData(first.X, first.Y, first.Z, second.X, second.Y, second.Z);
  if (DialogRunner::Run(dlg) != QDialog::Accepted) return std::nullopt;
  NewTaskAnswer a;
  a.Task.Assign(dlg.Task);
  a.First = dlg.MinCorner;
  a.Second = dlg.MaxCorner;
  return a;
}

}  // namespace tavir
