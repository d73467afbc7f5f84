#pragma once
// The shell surface dialogs: the kind chooser ("Функции поверхности пологой
// оболочки"), the data dialog ("Пологая оболочка: размеры и характеристики") and
// the project's surface list ("Поверхности оболочек проекта"). Rules in
// editor/shell_dialog_rules.h.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <optional>
#include <vector>

#include "model/model_ui_dialogs.h"
#include "platform/qt/float_edit.h"

namespace tavir {

class TShellFunctions;

class TSurfaceShellForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSurfaceShellForm(QWidget* parent = nullptr);

  std::int16_t Kind = 0;
  void SetKind(std::int16_t kind) { Kind = kind; }

  QListWidget* ListBox_Funcs = nullptr;
  QLabel* DemoImage = nullptr;
  QPlainTextEdit* InfoMemo = nullptr;
  QPushButton* OK_Btn = nullptr;
  QPushButton* Cancel_Btn = nullptr;
  QPushButton* NewFunc_Btn = nullptr;
};

class TShellDataForm : public QDialog {
  Q_OBJECT
 public:
  explicit TShellDataForm(QWidget* parent = nullptr);

  std::int16_t Kind = 0;
  bool ChoiceEnabled = false;
  TFloatPoint3D Origin{};
  RgbColor ContourColor = 255;
  std::int32_t ParamCount = 0;
  std::vector<Extended> Params;

  // The kind, its parameter count and boxes, and its texts.
  void SetKind(std::int16_t kind);
  void LayoutParams();
  // The sample line, the kind's texts and the parameter boxes from Params.
  void ShowFunction();
  void SetChoiceEnabled(bool enabled);
  // The anchor and its boxes; the boxes are read-only: the anchor is the frame's.
  void SetOrigin(const TFloatPoint3D& origin);
  void SetContourColor(RgbColor color) { ContourColor = color; }
  void SetParamCount(std::int32_t n);
  void SetParams(const std::vector<Extended>& values);
  // The parameter boxes into Params (OK runs it).
  void ReadParams();
  // The values as the caller takes them after OK.
  ShellDataValues Values() const;

  void accept() override;

  QLabel* Lbl_Coordinates = nullptr;
  TFloatEdit* FloatEdit_X = nullptr;
  TFloatEdit* FloatEdit_Y = nullptr;
  TFloatEdit* FloatEdit_Z = nullptr;
  QPushButton* Btn_Choice = nullptr;
  QLabel* Lbl_Surface = nullptr;
  QLabel* Lbl_FunctionName = nullptr;
  QLabel* Lbl_Function = nullptr;
  QLabel* Lbl_KxFunc = nullptr;
  QLabel* Lbl_KyFunc = nullptr;
  QLabel* Lbl_KxyFunc = nullptr;
  QLabel* Lbl_Color = nullptr;
  QLabel* PaintBox_Line = nullptr;
  QPushButton* BitBtn_Color = nullptr;
  QWidget* ParamsPanel = nullptr;
  std::vector<QLabel*> ParamLabels;
  std::vector<TFloatEdit*> ParamEdits;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;
};

class TShellsFuncsForm : public QDialog {
  Q_OBJECT
 public:
  explicit TShellsFuncsForm(TShellFunctions* shells, QWidget* parent = nullptr);

  // Rows from the list (run when the form is shown and after each change).
  void RefreshList();

  QTableWidget* StrGrid_ShellsFuncs = nullptr;
  QPushButton* Btn_Add = nullptr;
  QPushButton* Btn_Edit = nullptr;
  QPushButton* Btn_Delete = nullptr;
  QPushButton* Btn_Close = nullptr;
  QPushButton* Btn_Choice = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int FirstSelectedRow() const;
  void Btn_EditClick();
  void Btn_DeleteClick();

  TShellFunctions* shells_;
};

std::optional<std::int16_t> RunSurfaceKindDialog(QWidget* parent = nullptr);
std::optional<ShellDataValues> RunShellDataDialog(const ShellDataValues& start, QWidget* parent = nullptr);
void RunShellListDialog(TShellFunctions& shells, QWidget* parent = nullptr);

}  // namespace tavir
