#pragma once
// "Штриховка и цвет": a fill brush's hatch style and colour. The dialog works on
// its own Brush; the caller copies it in before and back after OK.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <array>
#include <optional>

#include "platform/canvas.h"

namespace tavir {

// A sample of the brush as the canvas fills with it (hatch lines on white).
QPixmap BrushPixmap(const CanvasBrush& brush, QSize size);

class TBrushForm : public QDialog {
  Q_OBJECT
 public:
  explicit TBrushForm(QWidget* parent = nullptr);

  CanvasBrush Brush;

  // The style's button pressed, the sample and the colour list from Brush.
  void ShowBrush();

  QLabel* Lbl_Style = nullptr;
  QWidget* ToolBar_Brushes = nullptr;
  // By style number: 0 ToolBtn_Solid, 1 ToolBtn_Clear, 2 ToolBtn_Horizont, 3
  // ToolBtn_Vert, 4 ToolBtn_FDiag, 5 ToolBtn_BDiag, 6 ToolBtn_Cross, 7 ToolBtn_DCross.
  std::array<QToolButton*, 8> StyleButton{};
  QLabel* Lbl_Color = nullptr;
  QComboBox* ColorBox = nullptr;
  QPushButton* Btn_OtherColor = nullptr;
  QLabel* Example = nullptr;
  QLabel* Lbl_Example = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;

 private:
  void ChangeBrushStyle(int style);
  void SelectColor(RgbColor color);
  void RefreshExample();

  bool showing_ = false;
};

// The brush dialog on a copy of the brush; the user's brush on OK.
std::optional<CanvasBrush> EditBrush(const CanvasBrush& brush, QWidget* parent = nullptr);

}  // namespace tavir
