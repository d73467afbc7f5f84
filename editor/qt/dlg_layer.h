#pragma once
// "Характеристики слоя элемента": one layer of an element's stack. The dialog
// works on its own Layer; the caller copies a layer in and reads it back
// (ReadLayer) after OK.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/elements.h"
#include "platform/qt/float_edit.h"
#include "platform/services.h"

namespace tavir {

class TMaterials;

class TLayerForm : public QDialog {
  Q_OBJECT
 public:
  TLayerForm(TMaterials& materials, MessageService& messages, QWidget* parent = nullptr);

  TPhisicalElement Layer;

  // Boxes, type, brush sample and material label from Layer.
  void ShowLayer();
  // Thickness, distance and type from the boxes into Layer.
  void ReadLayer();
  QString Title() const { return LblEdit_LayerTitle->text(); }
  void SetTitle(const QString& title) { LblEdit_LayerTitle->setText(title); }

  // Refused while the layer has no material (the message, then the focus on
  // Btn_Material) or while its name cannot be stored in a project file.
  void accept() override;

  QLabel* Lbl_LayerTitle = nullptr;
  QLineEdit* LblEdit_LayerTitle = nullptr;
  QLabel* Lbl_T = nullptr;
  TFloatEdit* FloatEdit_T = nullptr;
  QLabel* Lbl_Z = nullptr;
  TFloatEdit* FloatEdit_Z = nullptr;
  QLabel* Lbl_TypeLayer = nullptr;
  QComboBox* CmbBox_TypeLayer = nullptr;
  QLabel* Lbl_Brush = nullptr;
  QLabel* Shape_BrushDemo = nullptr;
  QPushButton* Btn_Brush = nullptr;
  QLabel* Lbl_Material = nullptr;
  QLabel* Lbl_TiltleMaterial = nullptr;
  QPushButton* Btn_Material = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;

 private:
  void Btn_MaterialClick();
  void Btn_BrushClick();
  void ShowMaterial();

  TMaterials& materials_;
  MessageService& messages_;
};

}  // namespace tavir
