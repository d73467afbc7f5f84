#include "viewer/qt/view_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "platform/qt/dialog_runner.h"
#include "platform/qt/float_edit.h"
#include "platform/qt/radio_group.h"
#include "platform/qt/up_down.h"

namespace tavir {

namespace {

QPushButton* Button(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(QString::fromUtf8(text), parent);
  b->setObjectName(name);
  return b;
}

QLabel* Label(QWidget* parent, const char* name, const char* text) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  return l;
}

// OK (default, accepts) and Cancel (rejects) in a row under the dialog.
QHBoxLayout* OkCancel(QDialog* d, const char* okName, const char* okText, const char* cancelText) {
  auto* ok = Button(d, okName, okText);
  auto* cancel = Button(d, "Btn_Cancel", cancelText);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, d, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, d, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

QSpinBox* Spin(QWidget* parent, const char* name, int lo, int hi) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(name);
  s->setRange(lo, hi);
  return s;
}

}  // namespace

// ---- isoline parameters ----

const char* IsoTitleText(ResultKind kind) {
  switch (kind) {
    case ResultKind::Vy: return "Изолинии: перемещения вдоль оси Y";
    case ResultKind::Wz: return "Изолинии: перемещения вдоль оси Z";
    case ResultKind::Sx: return "Изолинии: нормальные напряжения Sx";
    case ResultKind::Sy: return "Изолинии: нормальные напряжения Sy";
    case ResultKind::Txy: return "Изолинии: касательные напряжения Txy";
    case ResultKind::RotY: return "Изолинии: угол поворота отн. оси Y";
    case ResultKind::RotX: return "Изолинии: угол поворота отн. оси X";
    default: return "Изолинии: перемещения вдоль оси X";
  }
}

int ClampUpDown(std::int32_t value) { return value < 1 ? 1 : (value > kMaxIsoLevels ? kMaxIsoLevels : value); }

TIsoParams_Form::TIsoParams_Form(QWidget* parent) : QDialog(parent) {
  setObjectName("IsoParams_Form");
  setWindowTitle("Параметры изолиний");
  // The title twice for a relief: the lower one in the window colour, the upper one
  // transparent in the text colour one pixel right and down.
  auto* titleArea = new QWidget(this);
  titleArea->setFixedHeight(34);
  titleArea->setMinimumWidth(440);
  QFont font("Times New Roman");
  font.setPixelSize(20);
  font.setBold(true);
  font.setItalic(true);
  titleBottom_ = new QLabel(titleArea);
  titleBottom_->setObjectName("Lbl_IsoTitleBottom");
  titleBottom_->setFont(font);
  QPalette pb = titleBottom_->palette();
  pb.setColor(QPalette::WindowText, palette().color(QPalette::Window).lighter(130));
  titleBottom_->setPalette(pb);
  titleBottom_->move(9, 4);
  titleTop_ = new QLabel(titleArea);
  titleTop_->setObjectName("Lbl_IsoTitleTop");
  titleTop_->setFont(font);
  titleTop_->setAttribute(Qt::WA_TranslucentBackground);
  titleTop_->move(10, 5);
  titleBottom_->setText(QString::fromUtf8(IsoTitleText(ResultKind::Ux)));
  titleTop_->setText(QString::fromUtf8(IsoTitleText(ResultKind::Ux)) + " ");
  titleBottom_->resize(440, 26);
  titleTop_->resize(440, 26);

  min_ = new TFloatEdit(this);
  min_->setObjectName("FloatEdit_Min");
  max_ = new TFloatEdit(this);
  max_->setObjectName("FloatEdit_Max");
  step_ = new TFloatEdit(this);
  step_->setObjectName("FloatEdit_Step");
  // A count box with its up-down pair.
  auto counter = [this](const char* editName, const char* upDownName, QLineEdit*& edit, UpDown*& upDown) {
    // The up-down first: children go in the order they were made, and its event
    // filter must not see its box being destroyed.
    upDown = new UpDown(this);
    upDown->setObjectName(upDownName);
    edit = new QLineEdit(this);
    edit->setObjectName(editName);
    upDown->SetAssociate(edit);
    upDown->SetRange(1, kMaxIsoLevels);
    upDown->SetPosition(1);
    upDown->setFixedHeight(edit->sizeHint().height());
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit, 1);
    row->addWidget(upDown);
    return row;
  };
  QHBoxLayout* stepsRow = counter("Edit_NumSteps", "UpDown_NSteps", numStepsEdit_, numSteps_);
  QHBoxLayout* labelsRow = counter("Edit_ThickLine", "UpDown_ThickLine", thickLineEdit_, thickLine_);

  auto* grid = new QGridLayout;
  grid->addWidget(Label(this, "Lbl_Min", "Минимальное значение"), 0, 0);
  grid->addWidget(min_, 0, 1);
  grid->addWidget(Label(this, "Lbl_Max", "Максимальное значение"), 1, 0);
  grid->addWidget(max_, 1, 1);
  grid->addWidget(Label(this, "Lbl_step", "Шаг изолиний"), 2, 0);
  grid->addWidget(step_, 2, 1);
  grid->addWidget(Label(this, "Lbl_NSteps", "Количество шагов"), 3, 0);
  grid->addLayout(stepsRow, 3, 1);
  grid->addWidget(Label(this, "Lbl_UnderScipt", "Шаг подписи"), 4, 0);
  grid->addLayout(labelsRow, 4, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(titleArea);
  layout->addLayout(grid);
  layout->addLayout(OkCancel(this, "Btn_OK", "OK", "Отменить"));
  connect(numStepsEdit_, &QLineEdit::textChanged, this, [this] { Edit_NumStepsChange(); });
}

void TIsoParams_Form::GetIsoParams(const TIsoParamsRec& params) {
  params_ = params;
  titleBottom_->setText(QString::fromUtf8(IsoTitleText(params.Kind)));
  titleTop_->setText(QString::fromUtf8(IsoTitleText(params.Kind)) + " ");
  max_->SetValue(params.MaxValue);
  min_->SetValue(params.MinValue);
  step_->SetValue(params.Step);
  const QSignalBlocker block(numStepsEdit_);  // the stored step is shown as stored
  numSteps_->SetPosition(ClampUpDown(params.StepCount));
  thickLine_->SetPosition(ClampUpDown(params.LabelStep));
}

TIsoParamsRec TIsoParams_Form::SetIsoParams() const {
  TIsoParamsRec r = params_;
  r.MaxValue = max_->Value();
  r.MinValue = min_->Value();
  r.Step = step_->Value();
  r.StepCount = numSteps_->Position();
  r.LabelStep = thickLine_->Position();
  return r;
}

void TIsoParams_Form::Edit_NumStepsChange() {
  const Extended candidate = (max_->Value() - min_->Value()) / numSteps_->Position();
  if (!(std::fabs(candidate - step_->Value()) < 1e-10L)) step_->SetValue(candidate);
}

bool IsoParamsByDialog::Execute(TIsoParamsRec& params) {
  TIsoParams_Form form(parent_);
  form.GetIsoParams(params);
  if (DialogRunner::Run(form) != QDialog::Accepted) return false;
  params = form.SetIsoParams();
  return true;
}

// ---- draw modes ----

TDrawModesForm::TDrawModesForm(QWidget* parent) : QDialog(parent) {
  setObjectName("DrawModesForm");
  setWindowTitle("Прорисовка проекта");
  auto* layout = new QVBoxLayout(this);
  for (const TDrawModeBox& b : kDrawModeBoxes) {
    auto* c = new QCheckBox(QString::fromUtf8(b.Caption.data(), static_cast<int>(b.Caption.size())), this);
    c->setObjectName(QString::fromUtf8(b.Name.data(), static_cast<int>(b.Name.size())));
    layout->addWidget(c);
    boxes_.push_back(c);
  }
  numCol_ = Spin(this, "SpinEdit_NumCol", 1, 2);
  auto* row = new QHBoxLayout;
  row->addWidget(Label(this, "Lbl_NumCol", "Количество цветов изозон"));
  row->addWidget(numCol_);
  layout->addLayout(row);
  layout->addLayout(OkCancel(this, "Btn_OK", "OK", "Cancel"));
}

void TDrawModesForm::SetState(const TDrawModesState& state) {
  state_ = state;
  for (std::size_t i = 0; i < boxes_.size(); ++i) boxes_[i]->setChecked(state.Checked[i]);
  numCol_->setValue(state.ColorCount);
}

void TDrawModesForm::done(int r) {
  if (r == QDialog::Accepted) {
    for (std::size_t i = 0; i < boxes_.size(); ++i) state_.Checked[i] = boxes_[i]->isChecked();
    state_.ColorCount = numCol_->value();
  }
  QDialog::done(r);
}

bool DrawModesByDialog::Execute(TDrawModesState& state) {
  TDrawModesForm form(parent_);
  form.SetState(state);
  if (DialogRunner::Run(form) != QDialog::Accepted) return false;
  state = form.State();
  return true;
}

// ---- stress position ----

TStressPosForm::TStressPosForm(QWidget* parent) : QDialog(parent) {
  setObjectName("StressPosForm");
  setWindowTitle("Напряжения в элементе");
  group_ = new RadioGroup("Напряжения", this);
  group_->setObjectName("RadioGrp_StressPos");
  group_->SetItems({"В верхнем волокне слоя", "В середине слоя", "В нижнем волокне слоя"});
  layer_ = Spin(this, "SpinEdit_NL", 0, 0);
  auto* row = new QHBoxLayout;
  row->addWidget(Label(this, "Lbl_NL", "Номер слоя:"));
  row->addWidget(layer_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group_);
  layout->addLayout(row);
  layout->addLayout(OkCancel(this, "Btn_OK", "ОК", "Отменить"));
}

void TStressPosForm::SetLayerCount(std::int32_t n) {
  layerCount_ = n;
  // Without shells there is no layer to choose: the box stays at 0, disabled.
  layer_->setRange(0, std::max(0, n - 1));
  const bool one = n <= 1;
  layer_->setEnabled(!one);
  layer_->setSingleStep(one ? 0 : 1);
  layer_->setValue(0);
}

void TStressPosForm::GetStressPos(std::uint8_t pos) {
  stressPos_ = pos;
  group_->SetItemIndex(pos <= 2 ? pos : -1);
}

std::int32_t TStressPosForm::LayerNumber() const { return layer_->value(); }

void TStressPosForm::done(int r) {
  if (r == QDialog::Accepted) {
    const int id = group_->ItemIndex();
    stressPos_ = id == 0 ? 0 : (id == 2 ? 2 : 1);
  }
  QDialog::done(r);
}

std::optional<TStressPosChoice> StressPosByDialog::Execute(std::int32_t layerCount, Fibre stressPos) {
  TStressPosForm form(parent_);
  form.SetLayerCount(layerCount);
  form.GetStressPos(CodeByte(stressPos));
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return TStressPosChoice{CodeOfByte<Fibre>(form.StressPos()), form.LayerNumber()};
}

// ---- scale ----

TScaleForm::TScaleForm(MessageService& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName("ScaleForm");
  setWindowTitle("Масштаб");
  auto* label = Label(this, "Lbl_Scale", "Масштаб:");
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  scale_ = new TFloatEdit(this);
  scale_->setObjectName("FloatEdit_Scale");
  scale_->SetValue(1);
  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(scale_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addLayout(OkCancel(this, "Btn_Ok", "OK", "Отменить"));
}

Extended TScaleForm::Value() const { return scale_->Value(); }

void TScaleForm::done(int r) {
  if (r == QDialog::Accepted && scale_->Value() == 0) {
    messages_.Show(MsgKind::Plain, "", kZeroScaleText, MsgButtons::Ok);
    scale_->setFocus();
    return;
  }
  QDialog::done(r);
}

// ---- adaptation parameters ----

TAdaptParsDlg::TAdaptParsDlg(MessageService& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName("AdaptParsDlg");
  setWindowTitle("Параметры Адаптации");
  thickness_ = new QCheckBox("Адаптация толщины", this);
  thickness_->setObjectName("ChBox_AdaptThickness");
  flight_ = new QCheckBox("Адаптация стрелы подъема оболочки", this);
  flight_->setObjectName("ChBox_AdaptFlight");
  deleteElements_ = new QCheckBox("Удалять элементы с толщиной менее:", this);
  deleteElements_->setObjectName("ChBox_DeleteElements");
  deleteElements_->setEnabled(false);
  minThickness_ = new TFloatEdit(this);
  minThickness_->setObjectName("FloatEdit_T");
  minThickness_->setEnabled(false);
  flightCount_ = Spin(this, "SpinEdit_FligthCount", 1, 4);
  flightCount_->setValue(1);
  refresh_ = new QCheckBox("Обновлять окно после каждой итерации", this);
  refresh_->setObjectName("ChBox_Refresh");
  precision_ = new TFloatEdit(this);
  precision_->setObjectName("FloatEdit_Prec");

  auto* del = new QHBoxLayout;
  del->addWidget(deleteElements_);
  del->addWidget(minThickness_);
  auto* fl = new QHBoxLayout;
  fl->addWidget(Label(this, "Lbl_FlightCount", "Стрела подъема (по X-1, по Y-2, по X и Y - 3)"));
  fl->addWidget(flightCount_);
  auto* pr = new QHBoxLayout;
  pr->addWidget(Label(this, "Label1", "Процент точности (%):"));
  pr->addWidget(precision_);
  auto* buttons = OkCancel(this, "Btn_OK", "OK", "Cancel");
  buttons->addWidget(Button(this, "Btn_Help", "&Help"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(thickness_);
  layout->addWidget(flight_);
  layout->addLayout(del);
  layout->addLayout(fl);
  layout->addWidget(refresh_);
  layout->addLayout(pr);
  layout->addLayout(buttons);
}

void TAdaptParsDlg::GetAdaptParams() {
  thickness_->setChecked(AdaptParams.AdaptThickness);
  flight_->setChecked(AdaptParams.AdaptFlight);
  deleteElements_->setChecked(AdaptParams.DeleteElements);
  precision_->SetValue(AdaptParams.Precision);
  minThickness_->SetValue(AdaptParams.MinThickness);
  flightCount_->setValue(AdaptParams.FlightDirection);
  refresh_->setChecked(AdaptParams.RefreshView);
}

void TAdaptParsDlg::SetHasSurfaces(bool surfaces) {
  flightCount_->setEnabled(surfaces);
  flight_->setChecked(surfaces);
  flight_->setEnabled(surfaces);
}

void TAdaptParsDlg::SetAdaptParams() {
  AdaptParams.SetAdaptThickness(thickness_->isChecked());
  AdaptParams.SetAdaptFlight(flight_->isChecked());
  AdaptParams.SetDeleteElements(deleteElements_->isChecked());
  AdaptParams.SetPrecision(precision_->Value());
  AdaptParams.SetMinThickness(minThickness_->Value());
  AdaptParams.SetFlightDirection(flightCount_->value());
  AdaptParams.SetRefreshView(refresh_->isChecked());
}

void TAdaptParsDlg::done(int r) {
  if (r == QDialog::Accepted) {
    // A precision of 0 or less would never be reached: the loop would not end.
    if (!(precision_->Value() > 0)) {
      messages_.Error(kBadPrecisionText);
      precision_->setFocus();
      return;
    }
    SetAdaptParams();
  }
  QDialog::done(r);
}

bool AdaptParamsByDialog::Execute(TAdaptParams& params, bool hasSurfaces) {
  TAdaptParsDlg dlg(messages_, parent_);
  dlg.AdaptParams.Assign(params);
  dlg.GetAdaptParams();
  dlg.SetHasSurfaces(hasSurfaces);
  if (DialogRunner::Run(dlg) != QDialog::Accepted) return false;
  params.Assign(dlg.AdaptParams);
  return true;
}

}  // namespace tavir
