#include "editor/qt/dlg_brush.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "editor/qt/form_parts.h"
#include "platform/qt/color_picker.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

namespace {

Qt::BrushStyle QtStyle(BrushStyle s) {
  switch (s) {
    case BrushStyle::Solid: return Qt::SolidPattern;
    case BrushStyle::Clear: return Qt::NoBrush;
    case BrushStyle::Horizontal: return Qt::HorPattern;
    case BrushStyle::Vertical: return Qt::VerPattern;
    case BrushStyle::FDiagonal: return Qt::BDiagPattern;  // rising to the right, as the platform's "/"
    case BrushStyle::BDiagonal: return Qt::FDiagPattern;
    case BrushStyle::Cross: return Qt::CrossPattern;
    case BrushStyle::DiagCross: return Qt::DiagCrossPattern;
  }
  return Qt::NoBrush;
}

// The platform's sixteen named colours, as the colour list offers them.
struct NamedColor {
  RgbColor Color;
  const char* Name;
};
constexpr std::array<NamedColor, 16> kColors{{{0x000000, "Черный"},    {0x000080, "Темно-красный"},
                                              {0x008000, "Зеленый"},   {0x008080, "Оливковый"},
                                              {0x800000, "Темно-синий"}, {0x800080, "Пурпурный"},
                                              {0x808000, "Сине-зеленый"}, {0x808080, "Серый"},
                                              {0xC0C0C0, "Серебристый"}, {0x0000FF, "Красный"},
                                              {0x00FF00, "Ярко-зеленый"}, {0x00FFFF, "Желтый"},
                                              {0xFF0000, "Синий"},     {0xFF00FF, "Фуксия"},
                                              {0xFFFF00, "Голубой"},   {0xFFFFFF, "Белый"}}};

constexpr std::array<const char*, 8> kButtonNames{"ToolBtn_Solid", "ToolBtn_Clear", "ToolBtn_Horizont",
                                                  "ToolBtn_Vert",  "ToolBtn_FDiag", "ToolBtn_BDiag",
                                                  "ToolBtn_Cross", "ToolBtn_DCross"};
// Four rows of two, as laid out.
constexpr std::array<int, 8> kLayout{1, 2, 5, 6, 0, 3, 4, 7};

QIcon Swatch(RgbColor color) {
  QPixmap p(16, 16);
  p.fill(ToQColor(color));
  return QIcon(p);
}

}  // namespace

QPixmap BrushPixmap(const CanvasBrush& brush, QSize size) {
  QPixmap p(size);
  p.fill(Qt::white);
  QPainter painter(&p);
  painter.setPen(QPen(Qt::black));
  painter.setBrush(QBrush(ToQColor(brush.Color), QtStyle(brush.Style)));
  painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
  return p;
}

TBrushForm::TBrushForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("BrushForm"));
  setWindowTitle(QStringLiteral("Штриховка и цвет"));
  auto* top = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  top->addLayout(body);
  auto* left = new QVBoxLayout;
  Lbl_Style = new QLabel(QStringLiteral("Штриховка"), this);
  Lbl_Style->setObjectName(QStringLiteral("Lbl_Style"));
  ToolBar_Brushes = new QWidget(this);
  ToolBar_Brushes->setObjectName(QStringLiteral("ToolBar_Brushes"));
  auto* grid = new QGridLayout(ToolBar_Brushes);
  grid->setSpacing(2);
  auto* group = new QButtonGroup(this);
  group->setExclusive(true);
  for (int k = 0; k < 8; ++k) {
    const int style = kLayout[static_cast<std::size_t>(k)];
    auto* b = new QToolButton(ToolBar_Brushes);
    b->setObjectName(QString::fromLatin1(kButtonNames[static_cast<std::size_t>(style)]));
    b->setCheckable(true);
    b->setIcon(QIcon(BrushPixmap({0, static_cast<BrushStyle>(style)}, QSize(24, 24))));
    b->setIconSize(QSize(24, 24));
    group->addButton(b, style);
    grid->addWidget(b, k / 2, k % 2);
    StyleButton[static_cast<std::size_t>(style)] = b;
  }
  connect(group, &QButtonGroup::idClicked, this, &TBrushForm::ChangeBrushStyle);
  left->addWidget(Lbl_Style);
  left->addWidget(ToolBar_Brushes);
  left->addStretch(1);
  body->addLayout(left);

  auto* right = new QVBoxLayout;
  Lbl_Color = new QLabel(QStringLiteral("&Цвет"), this);
  Lbl_Color->setObjectName(QStringLiteral("Lbl_Color"));
  ColorBox = new QComboBox(this);
  ColorBox->setObjectName(QStringLiteral("ColorBox"));
  Lbl_Color->setBuddy(ColorBox);
  for (const NamedColor& c : kColors) ColorBox->addItem(Swatch(c.Color), QString::fromUtf8(c.Name), c.Color);
  Btn_OtherColor = new QPushButton(QStringLiteral("Д&ругой"), this);
  Btn_OtherColor->setObjectName(QStringLiteral("Btn_OtherColor"));
  Lbl_Example = new QLabel(QStringLiteral("Пример закраски"), this);
  Lbl_Example->setObjectName(QStringLiteral("Lbl_Example"));
  Example = new QLabel(this);
  Example->setObjectName(QStringLiteral("Example"));
  Example->setFixedSize(120, 60);
  right->addWidget(Lbl_Color);
  auto* colorRow = new QHBoxLayout;
  colorRow->addWidget(ColorBox, 1);
  colorRow->addWidget(Btn_OtherColor);
  right->addLayout(colorRow);
  right->addWidget(Lbl_Example);
  right->addWidget(Example);
  right->addStretch(1);
  body->addLayout(right);

  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("ОК"), "Btn_OK"}, {QStringLiteral("Отменить"), "Btn_Cancel"}});
  Btn_OK = closing[0];
  Btn_Cancel = closing[1];

  connect(Btn_OK, &QPushButton::clicked, this, &QDialog::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ColorBox, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (showing_ || index < 0) return;
    Brush.Color = ColorBox->itemData(index).toUInt();
    RefreshExample();
  });
  connect(Btn_OtherColor, &QPushButton::clicked, this, [this] {
    if (const std::optional<RgbColor> c = ColorPicker::Pick(this, Brush.Color)) {
      Brush.Color = *c;
      SelectColor(*c);
    }
    RefreshExample();
  });
  ShowBrush();
}

void TBrushForm::SelectColor(RgbColor color) {
  showing_ = true;
  int index = ColorBox->findData(color);
  if (index < 0) {
    ColorBox->addItem(Swatch(color), QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper(), color);
    index = ColorBox->count() - 1;
  }
  ColorBox->setCurrentIndex(index);
  showing_ = false;
}

void TBrushForm::ShowBrush() {
  const auto style = static_cast<std::size_t>(Brush.Style);
  if (style < StyleButton.size()) StyleButton[style]->setChecked(true);
  SelectColor(Brush.Color);
  RefreshExample();
}

void TBrushForm::ChangeBrushStyle(int style) {
  if (style < 0 || style > 7) return;
  Brush.Style = static_cast<BrushStyle>(style);
  RefreshExample();
}

void TBrushForm::RefreshExample() { Example->setPixmap(BrushPixmap(Brush, Example->size())); }

std::optional<CanvasBrush> EditBrush(const CanvasBrush& brush, QWidget* parent) {
  TBrushForm form(parent);
  form.Brush = brush;
  form.ShowBrush();
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return form.Brush;
}

}  // namespace tavir
