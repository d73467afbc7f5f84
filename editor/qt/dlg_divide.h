#pragma once
// "Разбиение области на элементы": steps and counts along X and Y of a region
// drawn by the user, kept consistent by two buttons. The rules live in
// editor/divide_dialog_rules.h.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "model/model_ui_dialogs.h"
#include "platform/qt/float_edit.h"
#include "platform/qt/up_down.h"
#include "platform/services.h"

namespace tavir {

class TDivideForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDivideForm(MessageService& messages, QWidget* parent = nullptr);

  void SetSizeX(Extended v) { sizeX_ = v; }
  void SetSizeY(Extended v) { sizeY_ = v; }
  // The boxes and the region label from the values (sizes included).
  void SetValues(const DivideDialogValues& values);
  // The sizes, the label and what the boxes show.
  DivideDialogValues Values() const;

  // A count typed above the limit is brought back with its message and the dialog
  // stays open, so the user sees the count that will be used.
  void accept() override;

  QLabel* Lbl_RegionSize = nullptr;
  QLabel* Lbl_Region = nullptr;
  QLabel* Lbl_StepX = nullptr;
  TFloatEdit* FloatEdit_StepX = nullptr;
  QLabel* Lbl_StepY = nullptr;
  TFloatEdit* FloatEdit_StepY = nullptr;
  QLabel* Lbl_Nx = nullptr;
  QLineEdit* SpinEdit_Nx = nullptr;
  UpDown* UpDown_Nx = nullptr;
  QLabel* Lbl_Ny = nullptr;
  QLineEdit* SpinEdit_Ny = nullptr;
  UpDown* UpDown_Ny = nullptr;
  QLabel* Lbl_AutoDiv = nullptr;
  QPushButton* Btn_ByStep = nullptr;
  QPushButton* Btn_ByNumStep = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The count box's text as the box takes it; false when the limit's message was shown.
  bool CountExit(QLineEdit* box);
  std::int32_t Count(const QLineEdit* box) const;
  void Btn_ByStepClick();
  void Btn_ByNumStepClick();

  MessageService& messages_;
  Extended sizeX_ = 0;
  Extended sizeY_ = 0;
};

std::optional<DivideDialogValues> RunDivideDialog(const DivideDialogValues& start, MessageService& messages,
                                                  QWidget* parent = nullptr);

}  // namespace tavir
