#pragma once
// The editor's small forms: the new-task dialog, the modeless load dialog, the
// support dialog, the panel-settings dialog, the project-information box and the
// About box. Each is created for one use (the load dialog for one load mode) and
// read back by its caller.
#include <QDialog>
#include <array>
#include <functional>

#include "editor/editor_commands.h"
#include "model/records.h"
#include "model/settings.h"
#include "platform/extended.h"
#include "platform/services.h"

class QBoxLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace tavir {

class RadioGroup;
class TFloatEdit;

// A push button of a dialog's button row: named, captioned, never the automatic default.
QPushButton* AddDialogButton(QBoxLayout* row, const char* name, const char* caption);
// The "OK" (default), "Cancel" and, when asked, "&Help" row at the right of the
// dialog's bottom: OKBtn, CancelBtn, HelpBtn (which does nothing).
struct OkCancelRow {
  QPushButton* OK = nullptr;
  QPushButton* Cancel = nullptr;
  QPushButton* Help = nullptr;
};
OkCancelRow AddOkCancelRow(QBoxLayout* layout, bool help);

// ---- new task ----

// The region and the task of a new project: the coordinates in order, a box that
// is turned inside out put right, a flat side widened (warnings given by number).
struct NewTaskRegion {
  std::array<Extended, 3> Min{};
  std::array<Extended, 3> Max{};
};
// Swaps a minimum greater than its maximum; then, axis by axis, a maximum equal to
// its minimum becomes twice the minimum and the axis (0 X, 1 Y, 2 Z) is reported.
std::vector<int> CorrectRegion(NewTaskRegion& region);
// "        Минимальная и максимальная координаты X равны.\rПроизведена коррекция - ..."
std::string EqualCoordinatesWarning(int axis);
// Item of RG_LinearTask for a statement code and back (the two orders differ).
int StatementItem(std::uint8_t statement);
std::uint8_t StatementOfItem(int item);
// Item of RG_TaskDim for a dimension code and back.
int DimensionItem(std::uint8_t dimension);
std::uint8_t DimensionOfItem(int item);

class TNewTaskDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TNewTaskDlg(MessageService& messages, QWidget* parent = nullptr);

  TTask Task;
  NewTaskRegion Region;

  void SetTaskData(Extended xmin, Extended ymin, Extended zmin, Extended xmax, Extended ymax, Extended zmax);
  void EnableZControls(bool enabled);
  // Converts the coordinate boxes 1..k (0 or 6: all six); a box that does not
  // convert is reported and keeps its value.
  void ReadCoordinates(int k);
  // FormCloseQuery: read everything back, put the region right.
  void done(int result) override;

  QTabWidget* PageCtrlNew = nullptr;
  std::array<QLineEdit*, 6> Coord{};  // CoordXmin, CoordYmin, CoordZmin, CoordXmax, CoordYmax, CoordZmax
  std::array<QLabel*, 6> CoordLabel{};
  RadioGroup* RG_LinearTask = nullptr;
  RadioGroup* RG_Evulation = nullptr;
  RadioGroup* RG_TaskDim = nullptr;
  QLineEdit* PrecisionEdit = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

 private:
  void ReadPrecision();
  MessageService& messages_;
  Extended precision_ = 0;
  std::uint8_t statement_ = 0, evulKind_ = 0, dimension_ = 0;
  bool closing_ = false;
};

// ---- load dialog ----

// "Нагрузка": modeless, on top; its Apply stores the typed load as the default of
// the current load mode and runs that mode's apply command (given as Apply).
class TForcesForm : public QDialog {
  Q_OBJECT
 public:
  explicit TForcesForm(QWidget* parent = nullptr);

  TForceRecord Force;
  void SetForce(const TForceRecord& force);
  TForceRecord GetForce();
  // Reads the boxes and hands the load to the command module.
  std::function<void(const TForceRecord&)> Apply;

  std::array<TFloatEdit*, 6> Edits{};  // FloatEdit_Px .. FloatEdit_Mz
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;
  QPushButton* Btn_Apply = nullptr;

 private:
  void ApplyClick();
};

// ---- support dialog ----

class TSuppForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSuppForm(QWidget* parent = nullptr);
  TFixation Fixation{};
  std::int32_t Direction = 0;
  void SetFixation(const TFixation& f);
  void SetDirection(std::int32_t d) { Direction = d; }
  void GetRests();
  void SetRests();

  std::array<QCheckBox*, 6> Boxes{};  // ChBox_X, ChBox_Y, ChBox_Z, ChBox_dX, ChBox_dY, ChBox_dZ
  RadioGroup* RGroup_Direction = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;
};

// ---- panels ----

class TPDlg_ToolBox : public QDialog {
  Q_OBJECT
 public:
  // The bars' visibility in index order fills the check list.
  TPDlg_ToolBox(const std::array<bool, kEditorBarCount>& visible, QWidget* parent = nullptr);
  bool GetPanelVisible(int i) const { return panels_.at(static_cast<std::size_t>(i)); }
  void Resurrect();
  void done(int result) override;

  QListWidget* ChLB_Panels = nullptr;
  QPushButton* Btn_Resurrect = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  std::array<bool, kEditorBarCount> panels_{};
};

// ---- information boxes ----

class TInfoForm : public QDialog {
  Q_OBJECT
 public:
  explicit TInfoForm(QWidget* parent = nullptr);
  QLabel* Lbl_ProjFileName = nullptr;
  QLabel* Lbl_NumNodes = nullptr;
  QLabel* Lbl_NumElems = nullptr;
  QLabel* Lbl_ProjTaskMode = nullptr;
  QLabel* Lbl_ProjTaskOptions = nullptr;
  QLabel* Lbl_ProjDimension = nullptr;
  QLabel* Lbl_ProjPrecision = nullptr;
  // The task's rows, in words.
  void ShowTask(const TBCTask& task);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace tavir
