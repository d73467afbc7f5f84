#include "editor/qt/shared/grid_dialog.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPixmap>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/color_picker.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

namespace {

constexpr std::array<GridAxis, 3> kAxes{GridAxis::X, GridAxis::Y, GridAxis::Z};
constexpr std::array<const char*, 3> kLetters{"X", "Y", "Z"};

QString Named(const char* prefix, int axis, const char* suffix) {
  return QString::fromLatin1(prefix) + QString::fromLatin1(kLetters[static_cast<std::size_t>(axis)]) +
         QString::fromLatin1(suffix);
}

QLabel* BoldLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  return label;
}

// Focus that goes to another window or a pop-up comes back to the same box: the
// user has not left it.
bool Deactivation(Qt::FocusReason reason) {
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

TGridDialog::TGridDialog(MessageService& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName(QStringLiteral("GridDialog"));
  setWindowTitle(QStringLiteral("Параметры сетки"));

  auto* top = new QVBoxLayout(this);
  auto* axes = new QGridLayout;
  top->addLayout(axes);
  for (int a = 0; a < 3; ++a) {
    const std::size_t i = static_cast<std::size_t>(a);
    Lbl_Axis[i] = BoldLabel(QStringLiteral("Ось ") + QString::fromLatin1(kLetters[i]), this);
    Lbl_Axis[i]->setObjectName(Named("Lbl_", a, ""));
    Lbl_Step[i] = new QLabel(QStringLiteral("Шаг"), this);
    Lbl_Step[i]->setObjectName(Named("Lbl_Step", a, ""));
    StepEdit[i] = new QLineEdit(this);
    StepEdit[i]->setObjectName(Named("Step", a, "Edit"));
    Lbl_NS[i] = new QLabel(QStringLiteral("Количество шагов"), this);
    Lbl_NS[i]->setObjectName(Named("Lbl_NS", a, ""));
    NSEdit[i] = new QLineEdit(this);
    NSEdit[i]->setObjectName(Named("NS", a, "Edit"));
    NSEdit[i]->setMaximumWidth(70);
    NS_UpDown[i] = new UpDown(this);
    NS_UpDown[i]->setObjectName(Named("NS", a, "_UpDown"));
    NS_UpDown[i]->SetAssociate(NSEdit[i]);
    NS_UpDown[i]->SetRange(0, kGridCountMax);
    NS_UpDown[i]->SetWrap(false);
    const int row = a * 2;
    axes->addWidget(Lbl_Axis[i], row, 0, 1, 4);
    axes->addWidget(Lbl_Step[i], row + 1, 0);
    axes->addWidget(StepEdit[i], row + 1, 1);
    axes->addWidget(Lbl_NS[i], row + 1, 2);
    auto* count = new QHBoxLayout;
    count->setSpacing(0);
    count->addWidget(NSEdit[i]);
    count->addWidget(NS_UpDown[i]);
    axes->addLayout(count, row + 1, 3);
    StepEdit[i]->installEventFilter(this);
    NSEdit[i]->installEventFilter(this);
    // The arrows write a count that is always in range: store it at once.
    connect(NS_UpDown[i], &UpDown::positionChanged, this, [this, a](int) {
      if (!refreshing_) CountExit(kAxes[static_cast<std::size_t>(a)]);
    });
  }

  auto* autoRow = new QHBoxLayout;
  Lbl_Auto = BoldLabel(QStringLiteral("Автоматически разбить:"), this);
  Lbl_Auto->setObjectName(QStringLiteral("Lbl_Auto"));
  Btn_ByStep = new QPushButton(QStringLiteral("По &шагам"), this);
  Btn_ByStep->setObjectName(QStringLiteral("Btn_ByStep"));
  Btn_ByNumber = new QPushButton(QStringLiteral("По &количеству"), this);
  Btn_ByNumber->setObjectName(QStringLiteral("Btn_ByNumber"));
  autoRow->addWidget(Lbl_Auto);
  autoRow->addWidget(Btn_ByStep);
  autoRow->addWidget(Btn_ByNumber);
  autoRow->addStretch(1);
  top->addLayout(autoRow);

  auto* look = new QHBoxLayout;
  RGroup_PlaceGrid = new RadioGroup(QStringLiteral("Положение сетки"), this);
  RGroup_PlaceGrid->setObjectName(QStringLiteral("RGroup_PlaceGrid"));
  RGroup_PlaceGrid->SetItems({QStringLiteral("Впереди"), QStringLiteral("Позади"), QStringLiteral("Прозрачная")});
  look->addWidget(RGroup_PlaceGrid);
  auto* middle = new QVBoxLayout;
  Btn_ColorGrid = new QPushButton(QStringLiteral("&Цвет сетки"), this);
  Btn_ColorGrid->setObjectName(QStringLiteral("Btn_ColorGrid"));
  ComboBox_GridStyle = new QComboBox(this);
  ComboBox_GridStyle->setObjectName(QStringLiteral("ComboBox_GridStyle"));
  ComboBox_GridStyle->addItems(
      {QStringLiteral("Точками"), QStringLiteral("Крестами"), QStringLiteral("Линиями"), QStringLiteral("Другая")});
  CheckBox_SnapToGrid = new QCheckBox(QStringLiteral("Привязать к сетке"), this);
  CheckBox_SnapToGrid->setObjectName(QStringLiteral("CheckBox_SnapToGrid"));
  CheckBox_ShowGrid = new QCheckBox(QStringLiteral("Показать сетку"), this);
  CheckBox_ShowGrid->setObjectName(QStringLiteral("CheckBox_ShowGrid"));
  middle->addWidget(Btn_ColorGrid);
  middle->addWidget(ComboBox_GridStyle);
  middle->addWidget(CheckBox_SnapToGrid);
  middle->addWidget(CheckBox_ShowGrid);
  middle->addStretch(1);
  look->addLayout(middle);
  Image_PreviewGrid = new QLabel(this);
  Image_PreviewGrid->setObjectName(QStringLiteral("Image_PreviewGrid"));
  Image_PreviewGrid->setFixedSize(kGridPreviewSize, kGridPreviewSize);
  look->addWidget(Image_PreviewGrid, 0, Qt::AlignTop);
  top->addLayout(look);

  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  top->addWidget(bevel);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  HelpBtn = new QPushButton(QStringLiteral("&Help"), this);
  HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);
  top->addLayout(buttons);

  // Tab order: axis by axis, step before count, then the rest as laid out.
  QWidget* order[] = {StepEdit[0],      NSEdit[0],     StepEdit[1],       NSEdit[1],           StepEdit[2],
                      NSEdit[2],        Btn_ByStep,    Btn_ByNumber,      RGroup_PlaceGrid,    Btn_ColorGrid,
                      ComboBox_GridStyle, CheckBox_SnapToGrid, CheckBox_ShowGrid, OKBtn, CancelBtn, HelpBtn};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(Btn_ByStep, &QPushButton::clicked, this, &TGridDialog::Btn_ByStepClick);
  connect(Btn_ByNumber, &QPushButton::clicked, this, &TGridDialog::Btn_ByNumberClick);
  connect(Btn_ColorGrid, &QPushButton::clicked, this, &TGridDialog::Btn_ColorGridClick);
  connect(RGroup_PlaceGrid, &RadioGroup::itemIndexChanged, this, [this](int index) {
    if (refreshing_ || index < 0 || index > 2) return;
    Grid.SetPlace(static_cast<std::uint8_t>(index));
    DrawPreview();
  });
  connect(ComboBox_GridStyle, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (refreshing_) return;
    if (index < 0) {
      ComboBox_GridStyle->setCurrentIndex(0);
      return;
    }
    Grid.SetStyle(static_cast<std::uint8_t>(index));
    DrawPreview();
  });
  connect(CheckBox_ShowGrid, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) Grid.SetShowGrid(on ? 1 : 0);
  });
  connect(CheckBox_SnapToGrid, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) Grid.SetSnapToGrid(on ? 1 : 0);
  });
  connect(OKBtn, &QPushButton::clicked, this, &TGridDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &TGridDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, &TGridDialog::helpRequested);

  RefreshControls();
}

void TGridDialog::RefreshControls() {
  refreshing_ = true;
  if (Grid.Place <= 2) RGroup_PlaceGrid->SetItemIndex(Grid.Place);
  const std::array<bool, 3> enabled = GridAxesEnabled(projection_);
  for (std::size_t i = 0; i < 3; ++i) {
    for (QWidget* w : std::initializer_list<QWidget*>{Lbl_Axis[i], Lbl_Step[i], StepEdit[i], Lbl_NS[i], NSEdit[i],
                                                       NS_UpDown[i]})
      w->setEnabled(enabled[i]);
  }
  if (Grid.Style <= 3) ComboBox_GridStyle->setCurrentIndex(Grid.Style);
  CheckBox_ShowGrid->setChecked(Grid.ShowGrid != 0);
  CheckBox_SnapToGrid->setChecked(Grid.SnapToGrid != 0);
  for (GridAxis axis : kAxes) {
    const std::size_t i = static_cast<std::size_t>(axis);
    const GridAxisValues v = AxisOf(Grid, axis);
    StepEdit[i]->setText(ToQString(GridStepText(v.Step)));
    NSEdit[i]->setText(ToQString(GridCountText(v.Count)));
  }
  refreshing_ = false;
  DrawPreview();
}

void TGridDialog::DrawPreview() {
  QtCanvas canvas(QSize(kGridPreviewSize, kGridPreviewSize));
  DrawGridPreview(canvas, Grid);
  Image_PreviewGrid->setPixmap(QPixmap::fromImage(canvas.Image()));
}

void TGridDialog::Refuse(QLineEdit* box, const std::string& text) {
  box->setFocus(Qt::OtherFocusReason);
  messages_.Show(MsgKind::Error, kGridErrorCaption, text, MsgButtons::Ok);
}

bool TGridDialog::StepExit(GridAxis axis) {
  const std::size_t i = static_cast<std::size_t>(axis);
  const std::optional<Extended> step = ParseGridStep(ToUtf8(StepEdit[i]->text()));
  if (!step) {
    Refuse(StepEdit[i], GridStepErrorText(axis));
    StepEdit[i]->setText(ToQString(GridStepText(AxisOf(Grid, axis).Step)));
    return false;
  }
  GridAxisValues v = AxisOf(Grid, axis);
  v.Step = *step;
  SetAxis(Grid, axis, v);
  return true;
}

bool TGridDialog::CountExit(GridAxis axis) {
  const std::size_t i = static_cast<std::size_t>(axis);
  const std::optional<std::int32_t> count = ParseGridCount(ToUtf8(NSEdit[i]->text()));
  GridAxisValues v = AxisOf(Grid, axis);
  if (!count) {
    Refuse(NSEdit[i], GridCountErrorText(axis));
    NSEdit[i]->setText(ToQString(GridCountText(v.Count)));
    return false;
  }
  v.Count = *count;
  SetAxis(Grid, axis, v);
  const QString shown = ToQString(GridCountText(*count));
  if (NSEdit[i]->text() != shown) NSEdit[i]->setText(shown);  // "-5" shows as "5"
  return true;
}

bool TGridDialog::ExitOf(QObject* box) {
  for (GridAxis axis : kAxes) {
    const std::size_t i = static_cast<std::size_t>(axis);
    if (box == StepEdit[i]) return StepExit(axis);
    if (box == NSEdit[i]) return CountExit(axis);
  }
  return true;
}

bool TGridDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter in a box moves on as Tab would; it never closes the dialog.
      focusNextChild();
      return true;
    }
  } else if (event->type() == QEvent::FocusOut && !refreshing_) {
    const auto* focus = static_cast<QFocusEvent*>(event);
    // Leaving for Cancel never raises an error box: Cancel must close the dialog.
    if (!Deactivation(focus->reason()) && QApplication::focusWidget() != CancelBtn && isVisible())
      ExitOf(watched);
  }
  return QDialog::eventFilter(watched, event);
}

void TGridDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RefreshControls();
}

void TGridDialog::accept() {
  if (!ExitOf(QApplication::focusWidget())) return;
  QDialog::accept();
}

void TGridDialog::Btn_ByNumberClick() {
  for (GridAxis axis : kAxes) CountExit(axis);
  for (GridAxis axis : kAxes)
    SetAxis(Grid, axis, DivideByNumber(AxisRange(minPoint_, maxPoint_, axis), AxisOf(Grid, axis)).Values);
  RefreshControls();
}

void TGridDialog::Btn_ByStepClick() {
  for (GridAxis axis : kAxes) StepExit(axis);
  for (GridAxis axis : kAxes) {
    const GridAutoResult r = DivideByStep(AxisRange(minPoint_, maxPoint_, axis), AxisOf(Grid, axis));
    SetAxis(Grid, axis, r.Values);
    if (r.Outcome == GridAutoOutcome::TooFine)
      Refuse(StepEdit[static_cast<std::size_t>(axis)], GridStepErrorText(axis));
  }
  RefreshControls();
}

void TGridDialog::Btn_ColorGridClick() {
  if (const std::optional<TColor> chosen = ColorPicker::Pick(this, Grid.Color)) Grid.SetColor(*chosen);
  DrawPreview();
}

bool EditGrid(TGrid& grid, const TFloatPoint3D& minPoint, const TFloatPoint3D& maxPoint, Projection projection,
              MessageService& messages, QWidget* parent) {
  TGridDialog dialog(messages, parent);
  dialog.Grid.Assign(grid);
  dialog.SetMinPoint(minPoint);
  dialog.SetMaxPoint(maxPoint);
  dialog.SetProjection(projection);
  dialog.RefreshControls();
  if (DialogRunner::Run(dialog) != QDialog::Accepted) return false;
  grid.Assign(dialog.Grid);
  return true;
}

}  // namespace tavir
