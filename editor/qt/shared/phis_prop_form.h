#pragma once
// "Физические свойства": one material's name, elastic constants, density,
// reinforcement angle, yield limit with its deformation diagram, and the limit
// resistance of the adaptation. Works on its own copy, Material; the caller
// copies it back after OK.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include "model/materials.h"
#include "platform/qt/float_edit.h"
#include "platform/services.h"

namespace tavir {

class TPhisPropForm : public QDialog {
  Q_OBJECT
 public:
  explicit TPhisPropForm(MessageService& messages, QWidget* parent = nullptr);

  // The copy edited, with the default properties until the caller fills it.
  TPhisPropRodNL Material;

  // The boxes from Material, then the memo, then the diagram item (kind 0 or 1).
  void GetProperties();
  // The memo from Material's diagram (read-only for the user).
  void ShowDiagram();
  // Material from the boxes and the diagram item.
  void SetProperties();

  QString Name() const { return LblEdit_Title->text(); }
  void SetName(const QString& name) { LblEdit_Title->setText(name); }

  void accept() override;

  QLineEdit* LblEdit_Title = nullptr;
  QTabWidget* PageControl = nullptr;
  TFloatEdit* FloatEdit_E = nullptr;
  TFloatEdit* FloatEdit_mu = nullptr;
  TFloatEdit* FloatEdit_ro = nullptr;
  TFloatEdit* FloatEdit_fi = nullptr;
  TFloatEdit* FloatEdit_EpsT = nullptr;
  QComboBox* CmbBox_Diagramma = nullptr;
  QPlainTextEdit* Memo_Diagramma = nullptr;
  QToolButton* ToolBtn_DiagData = nullptr;
  QToolButton* ToolBtn_NewDiag = nullptr;
  TFloatEdit* FloatEdit_R = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;

 private:
  MessageService& messages_;
};

}  // namespace tavir
