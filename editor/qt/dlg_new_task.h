#pragma once
// "Новая задача": the region box and the task of a new project. The dialog works on
// its own task object and region; the caller reads them after OK. The checks live
// in editor/new_task_dialog_rules.h and run when OK closes the dialog; Cancel
// checks nothing.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>
#include <optional>

#include "editor/editor_commands.h"
#include "model/records.h"
#include "model/settings.h"
#include "platform/qt/radio_group.h"
#include "platform/services.h"

namespace tavir {

class TNewTaskDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TNewTaskDlg(MessageService& messages, QWidget* parent = nullptr);

  TTask Task;
  TFloatPoint3D MinCorner{};
  TFloatPoint3D MaxCorner{};

  // Fills the dialog from the region given and from Task.
  void SetTaskData(Extended xmin, Extended ymin, Extended zmin, Extended xmax, Extended ymax, Extended zmax);
  void EnableZControls(bool enabled);
  // Converts the boxes Xmin, Ymin, Zmin, Xmax, Ymax, Zmax in that order up to
  // number k (1..5; 0 or 6 all six). A box whose text is not a number gets the
  // focus and shows its message, keeps its text, and its value stays; the reading
  // goes on with the next box. The focus ends on the first failed box. Leaving box
  // k runs ReadCoordinates(k). Returns the first failed box's index (0..5), or -1.
  int ReadCoordinates(int k);

  // OK: the coordinates, the precision and the region check; a refusal keeps the
  // dialog open with the user's text and the focus on the box concerned.
  void accept() override;

  QTabWidget* PageCtrlNew = nullptr;
  QWidget* TS_Coordinate = nullptr;
  QWidget* TS_Task = nullptr;
  QWidget* TS_Extended = nullptr;
  std::array<QLineEdit*, 6> Coord{};  // CoordXmin, CoordYmin, CoordZmin, CoordXmax, CoordYmax, CoordZmax
  std::array<QLabel*, 6> Lbl{};       // LblXmin ... LblZmax
  RadioGroup* RG_LinearTask = nullptr;
  RadioGroup* RG_Evulation = nullptr;
  RadioGroup* RG_TaskDim = nullptr;
  QLineEdit* PrecisionEdit = nullptr;
  QLabel* Lbl_TaskPrecision = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PrecisionEditExit();
  // Focus the dialog moves itself: no box it passes counts as left.
  void MoveFocus(QWidget* target);
  Extended& Value(int field);

  MessageService& messages_;
  Extended precision_ = 0;
  bool filling_ = false;
  bool movingFocus_ = false;
};

// The new-project command's dialog: the task copied in, the region shown; the
// user's task and region on OK.
std::optional<NewTaskAnswer> RunNewTaskDialog(const TBCTask& task, const TFloatPoint3D& first,
                                              const TFloatPoint3D& second, MessageService& messages,
                                              QWidget* parent = nullptr);

}  // namespace tavir
