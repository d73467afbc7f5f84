#include "editor/qt/dlg_support.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "editor/support_dialog_rules.h"
#include "editor/qt/form_parts.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/window_place.h"

namespace tavir {

namespace {

constexpr std::array<const char*, 6> kRestNames{"ChBox_X", "ChBox_Y", "ChBox_Z", "ChBox_dX", "ChBox_dY", "ChBox_dZ"};
constexpr std::array<const char*, 6> kRestCaptions{"Перемещение по X",     "Перемещение по Y",
                                                   "Перемещение по Z",     "Угол поворота отн. Y",
                                                   "Угол поворота отн. X", "Угол поворота отн. Z"};
constexpr std::array<const char*, 6> kForceBoxes{"FloatEdit_Px", "FloatEdit_Py", "FloatEdit_Pz",
                                                 "FloatEdit_Mx", "FloatEdit_My", "FloatEdit_Mz"};
constexpr std::array<const char*, 6> kForceLabelNames{"Lbl_Px", "Lbl_Py", "Lbl_Pz", "Lbl_Mx", "Lbl_My", "Lbl_Mz"};
constexpr std::array<const char*, 6> kForceLabels{"Усилие P&x", "Усилие P&y", "Усилие P&z",
                                                  "Моме&нт Mx", "Момен&т My", "Момент &Mz"};

// Three axes from a corner, as the dialogs show them.
class FrameXYZ : public QWidget {
 public:
  explicit FrameXYZ(QWidget* parent) : QWidget(parent) { setFixedSize(110, 110); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF o(35, 75);
    const auto axis = [&](QPointF end, const QString& name, QColor color) {
      p.setPen(QPen(color, 2));
      p.drawLine(o, end);
      p.drawText(end + QPointF(3, 4), name);
    };
    axis(QPointF(95, 75), QStringLiteral("X"), Qt::red);
    axis(QPointF(35, 12), QStringLiteral("Z"), Qt::blue);
    axis(QPointF(75, 40), QStringLiteral("Y"), QColor(0, 128, 0));
  }
};

}  // namespace

QWidget* MakeFrameXYZ(const char* name, QWidget* parent) {
  auto* f = new FrameXYZ(parent);
  f->setObjectName(QString::fromLatin1(name));
  return f;
}

TSuppForm::TSuppForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SuppForm"));
  setWindowTitle(QStringLiteral("Граничные условия"));
  auto* top = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  top->addLayout(body);
  auto* left = new QVBoxLayout;
  Label_Title = new QLabel(QStringLiteral("Наложить ограничения на:"), this);
  Label_Title->setObjectName(QStringLiteral("Label_Title"));
  left->addWidget(Label_Title);
  for (std::size_t i = 0; i < 6; ++i) {
    Boxes[i] = new QCheckBox(QString::fromUtf8(kRestCaptions[i]), this);
    Boxes[i]->setObjectName(QString::fromLatin1(kRestNames[i]));
    left->addWidget(Boxes[i]);
  }
  Boxes[5]->setEnabled(false);
  body->addLayout(left);
  FrameXYZ_Rest = MakeFrameXYZ("FrameXYZ_Rest", this);
  body->addWidget(FrameXYZ_Rest, 0, Qt::AlignTop);
  Lbl_Direction = new QLabel(QStringLiteral("Направление:"), this);
  Lbl_Direction->setObjectName(QStringLiteral("Lbl_Direction"));
  RGroup_Direction = new RadioGroup(QString(), this);
  RGroup_Direction->setObjectName(QStringLiteral("RGroup_Direction"));
  RGroup_Direction->SetItems({QStringLiteral("вправо (вниз)"), QStringLiteral("влево (вверх)")});
  RGroup_Direction->SetColumns(2);
  top->addWidget(Lbl_Direction);
  top->addWidget(RGroup_Direction);
  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("ОК"), "Btn_OK"}, {QStringLiteral("Отменить"), "Btn_Cancel"}});
  Btn_OK = closing[0];
  Btn_Cancel = closing[1];
  connect(Btn_OK, &QPushButton::clicked, this, [this] {
    SetRests();
    accept();
  });
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  CentreOnScreen(*this);
}

void TSuppForm::SetFixation(const TFixation& fixation) {
  Fixation = fixation;
  GetRests();
}

void TSuppForm::GetRests() {
  const std::array<bool, 6> checks = RestraintChecks(Fixation);
  for (std::size_t i = 0; i < 6; ++i) Boxes[i]->setChecked(checks[i]);
  RGroup_Direction->SetItemIndex(Direction);
}

void TSuppForm::SetRests() {
  std::array<bool, 6> checks{};
  for (std::size_t i = 0; i < 6; ++i) checks[i] = Boxes[i]->isChecked();
  Fixation = FixationOfChecks(checks);
  Direction = RGroup_Direction->ItemIndex();
}

std::optional<SupportAnswer> RunSupportDialog(const TFixation& fixation, std::int32_t direction, QWidget* parent) {
  TSuppForm form(parent);
  form.SetFixation(fixation);
  form.SetDirection(direction);
  form.GetRests();
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return SupportAnswer{form.Fixation, form.Direction};
}

TForcesForm::TForcesForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ForcesForm"));
  setWindowTitle(QStringLiteral("Нагрузка"));
  setModal(false);
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* top = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  top->addLayout(body);
  auto* grid = new QGridLayout;
  for (std::size_t i = 0; i < 6; ++i) {
    Lbl[i] = new QLabel(QString::fromUtf8(kForceLabels[i]), this);
    Lbl[i]->setObjectName(QString::fromLatin1(kForceLabelNames[i]));
    Edits[i] = new TFloatEdit(this);
    Edits[i]->setObjectName(QString::fromLatin1(kForceBoxes[i]));
    Lbl[i]->setBuddy(Edits[i]);
    grid->addWidget(Lbl[i], static_cast<int>(i), 0);
    grid->addWidget(Edits[i], static_cast<int>(i), 1);
  }
  Lbl[5]->setEnabled(false);
  Edits[5]->setEnabled(false);
  body->addLayout(grid);
  FrameXYZ_Forces = MakeFrameXYZ("FrameXYZ_Forces", this);
  body->addWidget(FrameXYZ_Forces, 0, Qt::AlignTop);
  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("&OK"), "Btn_OK"}, {QStringLiteral("От&менить"), "Btn_Cancel"}, {QStringLiteral("П&рименить"), "Btn_Apply"}});
  Btn_OK = closing[0];
  Btn_Cancel = closing[1];
  Btn_Apply = closing[2];
  connect(Btn_Apply, &QPushButton::clicked, this, &TForcesForm::Btn_ApplyClick);
  connect(Btn_OK, &QPushButton::clicked, this, [this] {
    Btn_ApplyClick();
    hide();
  });
  connect(Btn_Cancel, &QPushButton::clicked, this, &QWidget::hide);
  EnableApply(false);
  // Shown without a modal loop, so placed here: centred on the screen, never over
  // the strip of tool bars that owns it.
  CentreOnScreen(*this);
}

void TForcesForm::SetForce(const TForceRecord& force) {
  Force = force;
  for (std::size_t i = 0; i < 6; ++i) Edits[i]->SetValue(force.Component(static_cast<int>(i) + 1));
}

TForceRecord TForcesForm::GetForce() {
  std::array<Extended, 6> shown{};
  for (std::size_t i = 0; i < 6; ++i) shown[i] = Edits[i]->Value();
  Force = LoadToApply(shown);
  return Force;
}

void TForcesForm::EnableApply(bool enabled) {
  Btn_OK->setEnabled(enabled);
  Btn_Apply->setEnabled(enabled);
}

void TForcesForm::Btn_ApplyClick() {
  TFloatEdit::CommitFocused(this);
  const TForceRecord f = GetForce();
  // The disabled Mz box shows what was applied.
  Edits[5]->SetValue(f.Mz);
  if (Apply) Apply(f);
}

}  // namespace tavir
