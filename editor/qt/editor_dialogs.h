#pragma once
// The dialogs the editor's commands open, behind the seams so that the complete
// forms plug in: the window list and the program settings (EditorDialogs), the
// mesh division and the other model dialogs (ModelDialogs, completing the shared
// material dialog).
#include <QDialog>
#include <QPointer>

#include "editor/qt/dm_main.h"
#include "editor/qt/shared/shared_model_ui.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace tavir {

class RadioGroup;
class TFloatEdit;

// "Список окон".
class TWinListDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TWinListDlg(TEditorCommands& commands, QWidget* parent = nullptr);
  void ShowWindowBounds();
  void ActivateSelected();

  QListWidget* WinListBox = nullptr;
  QLabel* Lbl_WinXmin = nullptr;
  QLabel* Lbl_WinXmax = nullptr;
  QLabel* Lbl_WinYmin = nullptr;
  QLabel* Lbl_WinYmax = nullptr;
  QLabel* Lbl_WinZmin = nullptr;
  QLabel* Lbl_WinZmax = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  TEditorCommands& commands_;
};

// "Разбиение области на элементы".
class TDivideForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDivideForm(QWidget* parent = nullptr);
  void SetValues(const DivideDialogValues& values);
  DivideDialogValues Values() const;

  QLabel* Lbl_Region = nullptr;
  TFloatEdit* FloatEdit_StepX = nullptr;
  TFloatEdit* FloatEdit_StepY = nullptr;
  QSpinBox* SpinEdit_Nx = nullptr;
  QSpinBox* SpinEdit_Ny = nullptr;
  QPushButton* Btn_ByStep = nullptr;
  QPushButton* Btn_ByNumStep = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  Extended sizeX_ = 0, sizeY_ = 0;
  std::string region_;
};

// The program settings as far as the editor's windows need them until the full
// settings dialog takes this place: the user level and the input precision.
class TParamForm : public QDialog {
  Q_OBJECT
 public:
  explicit TParamForm(QWidget* parent = nullptr);
  TBCDataEditor Options;
  TBCTask Task;
  void GetTaskParametrs();
  // OK takes the controls back and runs the preset of the chosen level.
  std::function<void(int)> RunPreset;

  RadioGroup* RG_UserKind = nullptr;
  TFloatEdit* FloatEdit_Precision = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

class TEditorOwnDialogs : public EditorDialogs {
 public:
  explicit TEditorOwnDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  std::optional<SettingsAnswer> ProgramSettings(const TBCDataEditor& options, const TBCTask& task,
                                                const std::function<void(int userLevel)>& runPreset) override;
  void WindowList(TEditorCommands& commands) override;

 private:
  QPointer<QWidget> parent_;
};

// The model's dialogs for the editor: the material dialog is the shared one, the
// mesh division is TDivideForm. The element, layer and surface forms are not
// built yet: until they are, those dialogs answer "cancelled" and say so.
class TEditorModelDialogs : public SharedModelDialogs {
 public:
  using SharedModelDialogs::SharedModelDialogs;
  std::optional<ElementDialogValues> ElementProperties(TMaterials& materials, ElementKind elemKind,
                                                       const ElementDialogValues& start) override;
  std::optional<DivideDialogValues> DivideRegion(const DivideDialogValues& start) override;
  std::optional<std::int16_t> SurfaceKind() override;
  std::optional<ShellDataValues> ShellData(const ShellDataValues& start) override;
  void ShellList(TShellFunctions& shells) override;

 private:
  void NotAvailable(const char* caption);
};

}  // namespace tavir
