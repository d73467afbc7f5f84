#pragma once
// "Параметры": the program options and the task on eight sheets, and the one-line
// input dialog its unit lists use. The dialog works on its own copies; the caller
// assigns them back after OK and then runs the user level's preset. The rules live
// in editor/param_dialog_rules.h.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <optional>
#include <utility>
#include <vector>

#include "editor/editor_commands.h"
#include "model/settings.h"
#include "platform/qt/radio_group.h"
#include "platform/qt/up_down.h"
#include "platform/services.h"

namespace tavir {

// The one-line input dialog: a caption and the edit Edit1.
class TAddStringDLG : public QDialog {
  Q_OBJECT
 public:
  explicit TAddStringDLG(const QString& caption, QWidget* parent = nullptr);
  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

// The text typed on OK; nothing after Cancel.
std::optional<QString> AskString(const QString& caption, QWidget* parent = nullptr);

class TParamForm : public QDialog {
  Q_OBJECT
 public:
  explicit TParamForm(MessageService& messages, QWidget* parent = nullptr);

  TBCDataEditor Options;
  TTask Task;

  void GetTaskParametrs();
  // The controls into Options and Task; false when a reading of this pass failed
  // (the focus is then on the first box concerned).
  bool SetTaskParametrs();

  // OK closes only when every reading of its pass succeeded; Cancel always closes.
  void accept() override;

  QTabWidget* PCtrl_Params = nullptr;
  QWidget* TSheet_Common = nullptr;
  QLineEdit* EditUserName = nullptr;
  QCheckBox* ChBox_FileListNumber = nullptr;
  QLineEdit* FileNum_Edit = nullptr;
  UpDown* UpDown_FileNum = nullptr;
  QCheckBox* ChBox_Reduce = nullptr;
  RadioGroup* RGroup_User = nullptr;
  QLineEdit* EditPrecision = nullptr;
  QComboBox* CBox_SizeUnits = nullptr;
  QComboBox* CBox_ForceUnits = nullptr;
  RadioGroup* RGroup_Mode = nullptr;
  QCheckBox* ChBox_Contur = nullptr;
  QCheckBox* ChBox_OfferProperty = nullptr;
  QCheckBox* ChBox_SaveBAK = nullptr;
  QCheckBox* ChBox_AutoSave = nullptr;
  QComboBox* CBox_Time = nullptr;
  QComboBox* CBox_WorkDir = nullptr;
  QComboBox* CBox_AutoLoadDir = nullptr;
  QComboBox* CBoxLibraryDir = nullptr;
  QCheckBox* ChBox_Draft = nullptr;
  QCheckBox* ChBox_About = nullptr;
  QCheckBox* ChBox_UserName = nullptr;
  QCheckBox* ChBox_Remark = nullptr;
  QCheckBox* ChBox_TaskData = nullptr;
  QCheckBox* ChBox_PrintGrid = nullptr;
  RadioGroup* RadioGroup_Evulate = nullptr;
  RadioGroup* RG_LinearTask = nullptr;
  RadioGroup* RG_TaskDim = nullptr;
  QCheckBox* ChBox_Degenerate = nullptr;
  QCheckBox* ChBox_PutOn = nullptr;
  QCheckBox* ChBox_Crossing = nullptr;
  QCheckBox* ChBox_Uncorrect = nullptr;
  QCheckBox* ChBox_MarkUncorrect = nullptr;
  QCheckBox* ChBox_ControlKnots = nullptr;
  QCheckBox* ChBox_ControlElements = nullptr;
  QCheckBox* ChBox_Notify = nullptr;
  QMenu* PM_Params = nullptr;
  QMenu* PM_ComboBoxSize = nullptr;
  QMenu* PM_ComboBoxForce = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;
  QPushButton* Btn_Help = nullptr;

  // The pop-up menu commands.
  void miDefaultSettingsClick();
  void miMarkedAllClick();
  void NewUnit(QComboBox* box);
  void DeleteUnit(QComboBox* box);
  void DeleteAllUnits(QComboBox* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The readings, each false when its text did not convert (a beep and the focus).
  bool ReadFileListNumber(std::int32_t& value);
  bool ReadAutoSaveInterval(std::int32_t& value);
  bool ReadPrecision(Extended& value);
  std::vector<QCheckBox*> AllChecks() const;
  // The check boxes that show one option flag each (the two with companions aside).
  std::vector<std::pair<QCheckBox*, std::uint8_t TBCDataEditor::*>> FlagBoxes() const;
  std::vector<std::string> Units(const QComboBox* box) const;

  MessageService& messages_;
  // The precision text last confirmed in the question.
  QString confirmedPrecision_;
};

// The settings command's dialog on copies; the user's options and task on OK.
std::optional<SettingsAnswer> RunSettingsDialog(const TBCDataEditor& options, const TBCTask& task,
                                                MessageService& messages, QWidget* parent = nullptr);

}  // namespace tavir
