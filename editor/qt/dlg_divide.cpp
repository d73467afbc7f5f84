#include "editor/qt/dlg_divide.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/divide_dialog_rules.h"
#include "editor/qt/form_parts.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

namespace {

QLabel* Label(const QString& text, const char* name, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

}  // namespace

TDivideForm::TDivideForm(MessageService& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName(QStringLiteral("DivideForm"));
  setWindowTitle(QStringLiteral("Разбиение области на элементы"));
  auto* top = new QVBoxLayout(this);
  Lbl_RegionSize = Label(QStringLiteral("Размеры области разбиения (Длина х Высота):"), "Lbl_RegionSize", this);
  Lbl_Region = Label(QString(), "Lbl_Region", this);
  top->addWidget(Lbl_RegionSize);
  top->addWidget(Lbl_Region);

  auto* grid = new QGridLayout;
  top->addLayout(grid);
  Lbl_StepX = Label(QStringLiteral("Шаг по оси X:"), "Lbl_StepX", this);
  FloatEdit_StepX = new TFloatEdit(this);
  FloatEdit_StepX->setObjectName(QStringLiteral("FloatEdit_StepX"));
  Lbl_StepY = Label(QStringLiteral("Шаг по оси Y:"), "Lbl_StepY", this);
  FloatEdit_StepY = new TFloatEdit(this);
  FloatEdit_StepY->setObjectName(QStringLiteral("FloatEdit_StepY"));
  Lbl_Nx = Label(QStringLiteral("Шагов по X:"), "Lbl_Nx", this);
  SpinEdit_Nx = new QLineEdit(QStringLiteral("1"), this);
  SpinEdit_Nx->setObjectName(QStringLiteral("SpinEdit_Nx"));
  UpDown_Nx = new UpDown(this);
  UpDown_Nx->setObjectName(QStringLiteral("UpDown_Nx"));
  Lbl_Ny = Label(QStringLiteral("Шагов по Y:"), "Lbl_Ny", this);
  SpinEdit_Ny = new QLineEdit(QStringLiteral("1"), this);
  SpinEdit_Ny->setObjectName(QStringLiteral("SpinEdit_Ny"));
  UpDown_Ny = new UpDown(this);
  UpDown_Ny->setObjectName(QStringLiteral("UpDown_Ny"));
  for (auto [box, arrows] : {std::pair{SpinEdit_Nx, UpDown_Nx}, std::pair{SpinEdit_Ny, UpDown_Ny}}) {
    arrows->SetAssociate(box);
    arrows->SetRange(kDivideCountMin, kDivideCountMax);
    arrows->SetPosition(1);
    box->installEventFilter(this);
  }
  grid->addWidget(Lbl_StepX, 0, 0);
  grid->addWidget(FloatEdit_StepX, 0, 1);
  grid->addWidget(Lbl_Nx, 0, 2);
  grid->addWidget(SpinEdit_Nx, 0, 3);
  grid->addWidget(UpDown_Nx, 0, 4);
  grid->addWidget(Lbl_StepY, 1, 0);
  grid->addWidget(FloatEdit_StepY, 1, 1);
  grid->addWidget(Lbl_Ny, 1, 2);
  grid->addWidget(SpinEdit_Ny, 1, 3);
  grid->addWidget(UpDown_Ny, 1, 4);

  auto* autoRow = new QHBoxLayout;
  Lbl_AutoDiv = Label(QStringLiteral("Разбиение:"), "Lbl_AutoDiv", this);
  Btn_ByStep = new QPushButton(QStringLiteral("По шагам"), this);
  Btn_ByStep->setObjectName(QStringLiteral("Btn_ByStep"));
  Btn_ByNumStep = new QPushButton(QStringLiteral("По количеству"), this);
  Btn_ByNumStep->setObjectName(QStringLiteral("Btn_ByNumStep"));
  autoRow->addWidget(Lbl_AutoDiv);
  autoRow->addWidget(Btn_ByStep);
  autoRow->addWidget(Btn_ByNumStep);
  autoRow->addStretch(1);
  top->addLayout(autoRow);

  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("Ра&збить область"), "Button1"}, {QStringLiteral("&Отменить"), "Button2"}});
  Button1 = closing[0];
  Button2 = closing[1];

  connect(Button1, &QPushButton::clicked, this, &TDivideForm::accept);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_ByStep, &QPushButton::clicked, this, &TDivideForm::Btn_ByStepClick);
  connect(Btn_ByNumStep, &QPushButton::clicked, this, &TDivideForm::Btn_ByNumStepClick);
}

void TDivideForm::SetValues(const DivideDialogValues& values) {
  sizeX_ = values.SizeX;
  sizeY_ = values.SizeY;
  Lbl_Region->setText(ToQString(values.RegionLabel));
  FloatEdit_StepX->SetValue(values.StepX);
  FloatEdit_StepY->SetValue(values.StepY);
  UpDown_Nx->SetPosition(ClampDivideCount(values.Nx));
  UpDown_Ny->SetPosition(ClampDivideCount(values.Ny));
}

std::int32_t TDivideForm::Count(const QLineEdit* box) const {
  const UpDown* arrows = box == SpinEdit_Nx ? UpDown_Nx : UpDown_Ny;
  return ReadDivideCount(box->text().toStdString(), arrows->Position()).Count;
}

DivideDialogValues TDivideForm::Values() const {
  DivideDialogValues v;
  v.SizeX = sizeX_;
  v.SizeY = sizeY_;
  v.RegionLabel = Lbl_Region->text().toStdString();
  v.StepX = FloatEdit_StepX->Value();
  v.StepY = FloatEdit_StepY->Value();
  v.Nx = Count(SpinEdit_Nx);
  v.Ny = Count(SpinEdit_Ny);
  return v;
}

bool TDivideForm::CountExit(QLineEdit* box) {
  UpDown* arrows = box == SpinEdit_Nx ? UpDown_Nx : UpDown_Ny;
  const DivideCountReading r = ReadDivideCount(box->text().toStdString(), arrows->Position());
  arrows->SetPosition(r.Count);
  if (r.Message) {
    messages_.Show(MsgKind::Warning, "Предупреждение", *r.Message, MsgButtons::Ok);
    box->setFocus();
    return false;
  }
  return true;
}

bool TDivideForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && (watched == SpinEdit_Nx || watched == SpinEdit_Ny)) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Going to Cancel checks nothing.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
        QApplication::focusWidget() != Button2 && isVisible())
      CountExit(static_cast<QLineEdit*>(watched));
  }
  return QDialog::eventFilter(watched, event);
}

void TDivideForm::Btn_ByStepClick() {
  TFloatEdit::CommitFocused(this);
  const DivideDialogValues v = DivideCountsFromSteps(Values());
  UpDown_Nx->SetPosition(v.Nx);
  UpDown_Ny->SetPosition(v.Ny);
}

void TDivideForm::Btn_ByNumStepClick() {
  TFloatEdit::CommitFocused(this);
  const DivideDialogValues v = DivideStepsFromCounts(Values());
  FloatEdit_StepX->SetValue(v.StepX);
  FloatEdit_StepY->SetValue(v.StepY);
}

void TDivideForm::accept() {
  TFloatEdit::CommitFocused(this);
  const bool nx = CountExit(SpinEdit_Nx);
  if (!nx) return;
  if (!CountExit(SpinEdit_Ny)) return;
  QDialog::accept();
}

std::optional<DivideDialogValues> RunDivideDialog(const DivideDialogValues& start, MessageService& messages,
                                                  QWidget* parent) {
  TDivideForm form(messages, parent);
  form.SetValues(start);
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return form.Values();
}

}  // namespace tavir
