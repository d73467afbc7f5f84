#pragma once
// "Граничные условия" (the restraints of the support the next clicks place) and
// "Нагрузка", the editor's one modeless dialog: the load of the knot or element
// clicked, applied to the selection by Apply and OK.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <functional>
#include <optional>

#include "editor/editor_commands.h"
#include "model/records.h"
#include "platform/qt/float_edit.h"
#include "platform/qt/radio_group.h"

namespace tavir {

// The axes picture both dialogs show.
QWidget* MakeFrameXYZ(const char* name, QWidget* parent);

class TSuppForm : public QDialog {
  Q_OBJECT
 public:
  explicit TSuppForm(QWidget* parent = nullptr);

  TFixation Fixation{};
  std::int32_t Direction = 0;

  void SetFixation(const TFixation& fixation);
  void SetDirection(std::int32_t direction) { Direction = direction; }
  // The boxes and the direction from the fields.
  void GetRests();
  // The fields from the boxes (OK runs it).
  void SetRests();

  QLabel* Label_Title = nullptr;
  // ChBox_X, ChBox_Y, ChBox_Z, ChBox_dX, ChBox_dY, ChBox_dZ in byte order.
  std::array<QCheckBox*, 6> Boxes{};
  QLabel* Lbl_Direction = nullptr;
  RadioGroup* RGroup_Direction = nullptr;
  QWidget* FrameXYZ_Rest = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;
};

// The support command's dialog: the user's restraints and direction on OK.
std::optional<SupportAnswer> RunSupportDialog(const TFixation& fixation, std::int32_t direction,
                                              QWidget* parent = nullptr);

class TForcesForm : public QDialog {
  Q_OBJECT
 public:
  explicit TForcesForm(QWidget* parent = nullptr);

  TForceRecord Force;
  // Gets the load of Apply and OK (the command module's apply of the load mode).
  std::function<void(const TForceRecord&)> Apply;

  // The record into the six boxes.
  void SetForce(const TForceRecord& force);
  // The five typed boxes into Force (Mz 0: the dialog applies only what the user
  // types), copied out.
  TForceRecord GetForce();
  // OK and Apply together: only while the load frame has a selection.
  void EnableApply(bool enabled);

  // Px, Py, Pz, Mx, My, Mz boxes and their labels.
  std::array<TFloatEdit*, 6> Edits{};
  std::array<QLabel*, 6> Lbl{};
  QWidget* FrameXYZ_Forces = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;
  QPushButton* Btn_Apply = nullptr;

 private:
  void Btn_ApplyClick();
};

}  // namespace tavir
