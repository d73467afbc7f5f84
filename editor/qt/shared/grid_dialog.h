#pragma once
// "Параметры сетки": the drawing grid of one window, for both programs. The dialog
// works on its own Grid; the caller copies the window's grid in before and back
// after OK. The rules live in editor/grid_dialog_rules.h.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "editor/grid_dialog_rules.h"
#include "model/grid.h"
#include "model/records.h"
#include "platform/qt/radio_group.h"
#include "platform/qt/up_down.h"
#include "platform/services.h"

namespace tavir {

class TGridDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TGridDialog(MessageService& messages, QWidget* parent = nullptr);

  TGrid Grid;

  void SetMinPoint(const TFloatPoint3D& p) { minPoint_ = p; }
  void SetMaxPoint(const TFloatPoint3D& p) { maxPoint_ = p; }
  // 0 X-Y, 1 Y-Z, 2 X-Z; any other value leaves every axis enabled.
  void SetProjection(Projection projection) { projection_ = projection; }

  // The controls from Grid, the axes enabled by the projection, the preview.
  void RefreshControls();
  void DrawPreview();

  // Runs the exit processing of the focused box first: OK stores what it shows,
  // and a box whose text is refused keeps the dialog open.
  void accept() override;

  std::array<QLabel*, 3> Lbl_Axis{};     // Lbl_X, Lbl_Y, Lbl_Z
  std::array<QLabel*, 3> Lbl_Step{};     // Lbl_StepX ...
  std::array<QLineEdit*, 3> StepEdit{};  // StepXEdit ...
  std::array<QLabel*, 3> Lbl_NS{};       // Lbl_NSX ...
  std::array<QLineEdit*, 3> NSEdit{};    // NSXEdit ...
  std::array<UpDown*, 3> NS_UpDown{};    // NSX_UpDown ...
  QLabel* Lbl_Auto = nullptr;
  QPushButton* Btn_ByStep = nullptr;
  QPushButton* Btn_ByNumber = nullptr;
  RadioGroup* RGroup_PlaceGrid = nullptr;
  QPushButton* Btn_ColorGrid = nullptr;
  QComboBox* ComboBox_GridStyle = nullptr;
  QCheckBox* CheckBox_SnapToGrid = nullptr;
  QCheckBox* CheckBox_ShowGrid = nullptr;
  QLabel* Image_PreviewGrid = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

 signals:
  // The help button: the program shows the dialog's help topic.
  void helpRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The exit rules of the step and count boxes: true when the text was taken.
  // A refused text shows its message with the focus back in the box, and the box
  // shows the stored value again.
  bool StepExit(GridAxis axis);
  bool CountExit(GridAxis axis);
  bool ExitOf(QObject* box);
  void Refuse(QLineEdit* box, const std::string& text);
  void Btn_ByStepClick();
  void Btn_ByNumberClick();
  void Btn_ColorGridClick();

  MessageService& messages_;
  TFloatPoint3D minPoint_{};
  TFloatPoint3D maxPoint_{};
  Projection projection_ = Projection::XY;
  bool refreshing_ = false;
};

// The grid dialog as both programs open it: on a copy of the window's grid with
// the window's corners and projection; only OK copies the result back. Returns
// whether the grid was changed.
bool EditGrid(TGrid& grid, const TFloatPoint3D& minPoint, const TFloatPoint3D& maxPoint, Projection projection,
              MessageService& messages, QWidget* parent = nullptr);

}  // namespace tavir
