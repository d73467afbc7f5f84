#include "editor/qt/dlg_layer.h"

#include "editor/qt/form_parts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/element_dialog_rules.h"
#include "editor/qt/dlg_brush.h"
#include "model/project.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

TLayerForm::TLayerForm(TMaterials& materials, MessageService& messages, QWidget* parent)
    : QDialog(parent), materials_(materials), messages_(messages) {
  setObjectName(QStringLiteral("LayerForm"));
  setWindowTitle(QStringLiteral("Характеристики слоя элемента"));
  auto* top = new QVBoxLayout(this);
  Lbl_LayerTitle = new QLabel(QStringLiteral("Название слоя:"), this);
  LblEdit_LayerTitle = new QLineEdit(this);
  LblEdit_LayerTitle->setObjectName(QStringLiteral("LblEdit_LayerTitle"));
  Lbl_LayerTitle->setBuddy(LblEdit_LayerTitle);
  top->addWidget(Lbl_LayerTitle);
  top->addWidget(LblEdit_LayerTitle);

  auto* grid = new QGridLayout;
  top->addLayout(grid);
  Lbl_T = new QLabel(QStringLiteral("Толщина слоя:"), this);
  Lbl_T->setObjectName(QStringLiteral("Lbl_T"));
  FloatEdit_T = new TFloatEdit(this);
  FloatEdit_T->setObjectName(QStringLiteral("FloatEdit_T"));
  Lbl_Z = new QLabel(QStringLiteral("Расстояние до срединной плоскости:"), this);
  Lbl_Z->setObjectName(QStringLiteral("Lbl_Z"));
  FloatEdit_Z = new TFloatEdit(this);
  FloatEdit_Z->setObjectName(QStringLiteral("FloatEdit_Z"));
  Lbl_TypeLayer = new QLabel(QStringLiteral("Тип слоя:"), this);
  Lbl_TypeLayer->setObjectName(QStringLiteral("Lbl_TypeLayer"));
  CmbBox_TypeLayer = new QComboBox(this);
  CmbBox_TypeLayer->setObjectName(QStringLiteral("CmbBox_TypeLayer"));
  CmbBox_TypeLayer->addItems({QStringLiteral("Монолит"), QStringLiteral("Арматурный слой")});
  Lbl_Brush = new QLabel(QStringLiteral("Штриховка и цвет закраски слоя:"), this);
  Lbl_Brush->setObjectName(QStringLiteral("Lbl_Brush"));
  Shape_BrushDemo = new QLabel(this);
  Shape_BrushDemo->setObjectName(QStringLiteral("Shape_BrushDemo"));
  Shape_BrushDemo->setFixedSize(80, 21);
  Btn_Brush = new QPushButton(QStringLiteral("..."), this);
  Btn_Brush->setObjectName(QStringLiteral("Btn_Brush"));
  Btn_Brush->setFixedWidth(30);
  Lbl_Material = new QLabel(QStringLiteral("Материал слоя:"), this);
  Lbl_Material->setObjectName(QStringLiteral("Lbl_Material"));
  Lbl_TiltleMaterial = new QLabel(QString::fromUtf8(kNoMaterialName), this);
  Lbl_TiltleMaterial->setObjectName(QStringLiteral("Lbl_TiltleMaterial"));
  Lbl_TiltleMaterial->setWordWrap(true);
  Lbl_TiltleMaterial->setMinimumWidth(150);
  Btn_Material = new QPushButton(QStringLiteral("..."), this);
  Btn_Material->setObjectName(QStringLiteral("Btn_Material"));
  Btn_Material->setFixedWidth(30);
  grid->addWidget(Lbl_T, 0, 0);
  grid->addWidget(FloatEdit_T, 0, 1, 1, 2);
  grid->addWidget(Lbl_Z, 1, 0);
  grid->addWidget(FloatEdit_Z, 1, 1, 1, 2);
  grid->addWidget(Lbl_TypeLayer, 2, 0);
  grid->addWidget(CmbBox_TypeLayer, 2, 1, 1, 2);
  grid->addWidget(Lbl_Brush, 3, 0);
  grid->addWidget(Shape_BrushDemo, 3, 1);
  grid->addWidget(Btn_Brush, 3, 2);
  grid->addWidget(Lbl_Material, 4, 0);
  grid->addWidget(Lbl_TiltleMaterial, 4, 1);
  grid->addWidget(Btn_Material, 4, 2);

  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("ОК"), "Btn_OK"}, {QStringLiteral("Отменить"), "Btn_Cancel"}});
  Btn_OK = closing[0];
  Btn_Cancel = closing[1];

  connect(Btn_OK, &QPushButton::clicked, this, &TLayerForm::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_Material, &QPushButton::clicked, this, &TLayerForm::Btn_MaterialClick);
  connect(Btn_Brush, &QPushButton::clicked, this, &TLayerForm::Btn_BrushClick);
  Shape_BrushDemo->setPixmap(BrushPixmap(Layer.Brush, Shape_BrushDemo->size()));
}

void TLayerForm::ShowLayer() {
  FloatEdit_T->SetValue(Layer.Thickness);
  FloatEdit_Z->SetValue(Layer.Z);
  if (Layer.TypeLayer <= 1) CmbBox_TypeLayer->setCurrentIndex(Layer.TypeLayer);
  Shape_BrushDemo->setPixmap(BrushPixmap(Layer.Brush, Shape_BrushDemo->size()));
  ShowMaterial();
}

void TLayerForm::ShowMaterial() { Lbl_TiltleMaterial->setText(ToQString(LayerMaterialLabel(Layer, materials_))); }

void TLayerForm::ReadLayer() {
  Layer.SetThickness(FloatEdit_T->Value());
  Layer.SetZ(FloatEdit_Z->Value());
  const int type = CmbBox_TypeLayer->currentIndex();
  if (type == 0 || type == 1) Layer.SetTypeLayer(static_cast<std::uint8_t>(type));
}

void TLayerForm::Btn_MaterialClick() {
  const std::shared_ptr<TPhisPropRodNL> current = Layer.Material();
  const std::int32_t chosen = materials_.ChooseMaterial(current.get());
  Layer.SetMaterial(chosen < 0 ? nullptr : materials_.Material(chosen));
  ShowMaterial();
}

void TLayerForm::Btn_BrushClick() {
  if (const std::optional<CanvasBrush> b = EditBrush(Layer.Brush, this)) Layer.Brush = *b;
  Shape_BrushDemo->setPixmap(BrushPixmap(Layer.Brush, Shape_BrushDemo->size()));
}

void TLayerForm::accept() {
  TFloatEdit::CommitFocused(this);
  if (const std::optional<std::string> refusal = LayerOkRefusal(Layer)) {
    messages_.Show(MsgKind::Error, "Предупреждение", *refusal, MsgButtons::Ok);
    Btn_Material->setFocus();
    return;
  }
  if (const std::optional<std::string> refusal = LayerNameRefusal(ToUtf8(Title()))) {
    messages_.Error(*refusal);
    LblEdit_LayerTitle->setFocus();
    return;
  }
  QDialog::accept();
}

}  // namespace tavir
