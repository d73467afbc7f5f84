#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "editor/qt/shared/grid_dialog.h"
#include "platform/numtext.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_convert.h"
#include "shared_dialogs/dialog_test_support.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using testing::Find;
using testing::Retype;
using testing::ShowActive;

constexpr RgbColor kRed = 0x0000FF;

// A window of 10 x 4 x 0 (no Z range), grid steps 1, 2, 3 with counts 4, 5, 6.
class GridDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    Prepare(255);
  }
  void Prepare(std::uint8_t projection) {
    dialog = std::make_unique<TGridDialog>(messages);
    TGrid g;
    g.SetStepX(1);
    g.SetStepY(2);
    g.SetStepZ(3);
    g.SetNSX(4);
    g.SetNSY(5);
    g.SetNSZ(6);
    g.SetColor(kRed);
    g.SetStyle(2);
    g.SetPlace(0);
    g.SetShowGrid(1);
    dialog->Grid.Assign(g);
    dialog->SetMinPoint(FloatPoint3D(-2, 1, 5));
    dialog->SetMaxPoint(FloatPoint3D(8, 5, 5));
    dialog->SetProjection(CodeOfByte<Projection>(projection));
  }
  QLineEdit* Box(const char* name) { return Find<QLineEdit>(*dialog, name); }
  RgbColor PreviewPixel(int x, int y) {
    return FromQColor(dialog->Image_PreviewGrid->pixmap().toImage().pixelColor(x, y));
  }

  ScriptedMessages messages;
  std::unique_ptr<TGridDialog> dialog;
};

TEST_F(GridDialogTest, ControlsShowTheGrid) {
  ShowActive(*dialog);
  EXPECT_EQ(dialog->windowTitle(), "Параметры сетки");
  EXPECT_EQ(Box("StepXEdit")->text(), "1");
  EXPECT_EQ(Box("StepYEdit")->text(), "2");
  EXPECT_EQ(Box("NSZEdit")->text(), "6");
  EXPECT_EQ(Find<QLabel>(*dialog, "Lbl_Y")->text(), "Ось Y");
  EXPECT_EQ(Find<QLabel>(*dialog, "Lbl_StepZ")->text(), "Шаг");
  EXPECT_EQ(Find<QLabel>(*dialog, "Lbl_NSX")->text(), "Количество шагов");
  EXPECT_EQ(Find<QLabel>(*dialog, "Lbl_Auto")->text(), "Автоматически разбить:");
  EXPECT_EQ(Find<QPushButton>(*dialog, "Btn_ByStep")->text(), "По &шагам");
  EXPECT_EQ(Find<QPushButton>(*dialog, "Btn_ByNumber")->text(), "По &количеству");
  EXPECT_EQ(Find<QPushButton>(*dialog, "Btn_ColorGrid")->text(), "&Цвет сетки");
  EXPECT_EQ(Find<QPushButton>(*dialog, "HelpBtn")->text(), "&Help");
  UpDown* updown = Find<UpDown>(*dialog, "NSY_UpDown");
  EXPECT_EQ(updown->Associate(), Box("NSYEdit"));
  EXPECT_EQ(updown->Max(), 30000);
  RadioGroup* place = Find<RadioGroup>(*dialog, "RGroup_PlaceGrid");
  EXPECT_EQ(place->title(), "Положение сетки");
  EXPECT_EQ(place->Items(), (QStringList{"Впереди", "Позади", "Прозрачная"}));
  EXPECT_EQ(place->ItemIndex(), 0);
  QComboBox* style = Find<QComboBox>(*dialog, "ComboBox_GridStyle");
  EXPECT_EQ(style->currentText(), "Линиями");
  EXPECT_TRUE(Find<QCheckBox>(*dialog, "CheckBox_ShowGrid")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(*dialog, "CheckBox_SnapToGrid")->isChecked());
  EXPECT_EQ(Find<QLabel>(*dialog, "Image_PreviewGrid")->size(), QSize(100, 100));
  Find<QPushButton>(*dialog, "OKBtn");
  Find<QPushButton>(*dialog, "CancelBtn");
  testing::Grab(*dialog, "grid_dialog");
}

TEST_F(GridDialogTest, ProjectionEnablesTheAxisRows) {
  struct Case {
    std::uint8_t projection;
    std::array<bool, 3> enabled;
  };
  for (const Case& c : {Case{0, {true, true, false}}, Case{1, {false, true, true}}, Case{2, {true, false, true}},
                        Case{7, {true, true, true}}}) {
    SCOPED_TRACE(int(c.projection));
    Prepare(c.projection);
    dialog->show();
    for (int a = 0; a < 3; ++a) {
      const std::string l(1, "XYZ"[a]);
      for (const std::string& name : {"Lbl_" + l, "Lbl_Step" + l, "Step" + l + "Edit", "Lbl_NS" + l,
                                      "NS" + l + "Edit", "NS" + l + "_UpDown"}) {
        QWidget* w = Find<QWidget>(*dialog, name.c_str());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->isEnabled(), c.enabled[static_cast<std::size_t>(a)]) << name;
      }
    }
  }
}

TEST_F(GridDialogTest, RefusedTextShowsItsMessageWithTheFocusInTheBox) {
  struct Case {
    const char* box;
    const char* typed;
    const char* message;
    const char* shownAfter;
  };
  const Case cases[] = {
      {"StepXEdit", "abc", "Ошибка в шаге по оси X", "1"},
      {"StepYEdit", "-2", "Ошибка в шаге по оси Y", "2"},
      {"StepZEdit", "", "Ошибка в шаге по оси Z", "3"},
      {"NSXEdit", "x", "Ошибка в  количестве шагов по оси X", "4"},
      {"NSYEdit", "30001", "Ошибка в  количестве шагов по оси Y", "5"},
      {"NSZEdit", "-2147483648", "Ошибка в  количестве шагов по оси Z", "6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    SetUp();
    messages.Shown.clear();
    ShowActive(*dialog);
    QLineEdit* box = Box(c.box);
    Retype(box, QString::fromUtf8(c.typed));
    QTest::keyClick(box, Qt::Key_Tab);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, c.message);
    EXPECT_EQ(messages.Shown[0].Caption, "Ошибка!!!");
    EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Error);
    EXPECT_EQ(messages.Shown[0].Buttons, MsgButtons::Ok);
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(box->text(), QString::fromUtf8(c.shownAfter));
    EXPECT_EQ(dialog->Grid.StepX, 1);
    EXPECT_EQ(dialog->Grid.StepY, 2);
    EXPECT_EQ(dialog->Grid.StepZ, 3);
    EXPECT_EQ(dialog->Grid.NSX, 4);
    EXPECT_EQ(dialog->Grid.NSY, 5);
    EXPECT_EQ(dialog->Grid.NSZ, 6);
  }
}

TEST_F(GridDialogTest, RealMessageBoxComesWithTheFocusAlreadyBack) {
  QtMessageService boxes;
  TGridDialog real(boxes);
  std::vector<QString> seen;
  ShowActive(real);
  ScopedDialogInterceptor intercept([&](QDialog& d) {
    auto* box = qobject_cast<QMessageBox*>(&d);
    EXPECT_NE(box, nullptr);
    if (box == nullptr) return 0;
    seen.push_back(box->windowTitle() + "|" + box->text());
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(QApplication::focusWidget(), real.StepEdit[1]);
    return 0;
  });
  Retype(real.StepEdit[1], "два");
  QTest::keyClick(real.StepEdit[1], Qt::Key_Tab);
  EXPECT_EQ(seen, (std::vector<QString>{"Ошибка!!!|Ошибка в шаге по оси Y"}));
  EXPECT_EQ(QApplication::focusWidget(), real.StepEdit[1]);
}

TEST_F(GridDialogTest, TakenTextIsStoredOnLeaving) {
  ShowActive(*dialog);
  Retype(Box("StepXEdit"), "2,5");
  QTest::keyClick(Box("StepXEdit"), Qt::Key_Tab);
  EXPECT_EQ(dialog->Grid.StepX, 2.5L);
  EXPECT_EQ(QApplication::focusWidget(), Box("NSXEdit"));
  Retype(Box("NSXEdit"), "-5");
  QTest::keyClick(Box("NSXEdit"), Qt::Key_Tab);
  EXPECT_EQ(dialog->Grid.NSX, 5);
  EXPECT_EQ(Box("NSXEdit")->text(), "5");
  EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(GridDialogTest, EnterMovesTheFocusOnAndNeverCloses) {
  ShowActive(*dialog);
  const char* chain[] = {"StepXEdit", "NSXEdit", "StepYEdit", "NSYEdit", "StepZEdit", "NSZEdit"};
  Box("StepXEdit")->setFocus();
  for (std::size_t i = 0; i + 1 < std::size(chain); ++i) {
    SCOPED_TRACE(chain[i]);
    QLineEdit* box = Box(chain[i]);
    ASSERT_EQ(QApplication::focusWidget(), box);
    Retype(box, QString::number(i + 7));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), Box(chain[i + 1]));
  }
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->Grid.StepX, 7);
  EXPECT_EQ(dialog->Grid.NSX, 8);
  EXPECT_EQ(dialog->Grid.StepY, 9);
  EXPECT_EQ(dialog->Grid.NSY, 10);
  EXPECT_EQ(dialog->Grid.StepZ, 11);
  QTest::keyClick(Box("NSZEdit"), Qt::Key_Enter);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), dialog->Btn_ByStep);
}

TEST_F(GridDialogTest, OkStoresTheFocusedBoxOrStaysOpen) {
  // OK pressed without the focus leaving the box (its default-button key or
  // code): the focused box's exit processing runs first.
  ShowActive(*dialog);
  Retype(Box("StepYEdit"), "0.5");
  dialog->OKBtn->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->Grid.StepY, 0.5L);

  Prepare(255);
  ShowActive(*dialog);
  Retype(Box("NSYEdit"), "много");
  dialog->OKBtn->click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Ошибка в  количестве шагов по оси Y");
  EXPECT_EQ(QApplication::focusWidget(), Box("NSYEdit"));
}

TEST_F(GridDialogTest, CancelIsNeverBlockedByARefusedBox) {
  struct Case {
    const char* how;
  };
  for (const char* how : {"click", "escape"}) {
    SCOPED_TRACE(how);
    Prepare(255);
    messages.Shown.clear();
    ShowActive(*dialog);
    Retype(Box("StepXEdit"), "abc");
    if (std::string(how) == "click") {
      QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
    } else {
      QTest::keyClick(Box("StepXEdit"), Qt::Key_Escape);
    }
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
  }
}

TEST_F(GridDialogTest, AutomaticButtonsDivideEveryAxis) {
  // Y-Z window: the X row is disabled, yet both buttons recompute it.
  Prepare(1);
  ShowActive(*dialog);
  dialog->Grid.SetStepX(2.5L);
  dialog->Grid.SetStepY(0);
  dialog->RefreshControls();
  Retype(Box("StepZEdit"), "0.5");  // Z has no range: kept
  QTest::mouseClick(dialog->Btn_ByStep, Qt::LeftButton);
  EXPECT_EQ(dialog->Grid.StepX, 2.5L);
  EXPECT_EQ(dialog->Grid.NSX, 4);
  EXPECT_EQ(dialog->Grid.StepY, 4);
  EXPECT_EQ(dialog->Grid.NSY, 1);
  EXPECT_EQ(dialog->Grid.StepZ, 0.5L);
  EXPECT_EQ(dialog->Grid.NSZ, 6);
  EXPECT_EQ(Box("NSXEdit")->text(), "4");
  EXPECT_EQ(Box("StepYEdit")->text(), "4");
  EXPECT_TRUE(messages.Shown.empty());

  Box("NSXEdit")->setText("0");  // disabled: only code can write it
  Retype(Box("NSYEdit"), "8");
  QTest::mouseClick(dialog->Btn_ByNumber, Qt::LeftButton);
  EXPECT_EQ(dialog->Grid.NSX, 1);
  EXPECT_EQ(dialog->Grid.StepX, 10);
  EXPECT_EQ(dialog->Grid.NSY, 8);
  EXPECT_EQ(dialog->Grid.StepY, 0.5L);
  EXPECT_EQ(dialog->Grid.StepZ, 0.5L);
  EXPECT_EQ(Box("StepYEdit")->text(), "0.5");
  EXPECT_EQ(Box("NSXEdit")->text(), "1");

  // A step that would need more than 30000 steps is refused, with the focus there.
  Box("StepXEdit")->setText("0.0001");
  QTest::mouseClick(dialog->Btn_ByStep, Qt::LeftButton);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Ошибка в шаге по оси X");
  EXPECT_EQ(dialog->Grid.NSX, 1);
}

// 0.3 / 0.12 and 0.9 / 0.6 are halves that round-off moves off the half: each
// rounds to even like an exact half, 2 steps both.
TEST_F(GridDialogTest, ByStepRoundsHalvesAsExactOnesDespiteRoundOff) {
  Prepare(0);
  dialog->SetMinPoint(FloatPoint3D(0, 0, 0));
  dialog->SetMaxPoint(FloatPoint3D(0.3L, 0.9L, 0));
  ShowActive(*dialog);
  Retype(Box("StepXEdit"), "0.12");
  Retype(Box("StepYEdit"), "0.6");
  QTest::mouseClick(dialog->Btn_ByStep, Qt::LeftButton);
  EXPECT_EQ(Box("NSXEdit")->text(), "2");
  EXPECT_EQ(Box("NSYEdit")->text(), "2");
  EXPECT_EQ(dialog->Grid.NSX, 2);
  EXPECT_EQ(dialog->Grid.NSY, 2);
  EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(GridDialogTest, UpDownStoresTheCount) {
  ShowActive(*dialog);
  dialog->NS_UpDown[0]->StepUp();
  EXPECT_EQ(Box("NSXEdit")->text(), "5");
  EXPECT_EQ(dialog->Grid.NSX, 5);
}

TEST_F(GridDialogTest, ChoicesChangeTheGridAndThePreview) {
  ShowActive(*dialog);
  // Lines in front of the model.
  EXPECT_EQ(PreviewPixel(10, 5), kRed);
  EXPECT_EQ(PreviewPixel(20, 5), 0xFFFFFFu);
  EXPECT_EQ(PreviewPixel(40, 40), 0x808000u);  // inside a cell
  EXPECT_EQ(PreviewPixel(50, 40), kRed);       // the line crosses the cells
  // Behind: the cells cover the line.
  dialog->RGroup_PlaceGrid->Button(1)->click();
  EXPECT_EQ(dialog->Grid.Place, 1);
  EXPECT_EQ(PreviewPixel(10, 5), kRed);
  EXPECT_NE(PreviewPixel(50, 40), kRed);
  EXPECT_NE(PreviewPixel(50, 45), kRed);
  // Transparent: the inverting pen.
  dialog->RGroup_PlaceGrid->Button(2)->click();
  EXPECT_EQ(dialog->Grid.Place, 2);
  EXPECT_EQ(PreviewPixel(10, 5), 0x000000u);
  EXPECT_EQ(PreviewPixel(50, 40), 0x00FFFFu);  // the cells' blue border, inverted
  EXPECT_EQ(PreviewPixel(40, 40), 0x808000u);  // no line there
  // Dots.
  dialog->RGroup_PlaceGrid->Button(0)->click();
  dialog->ComboBox_GridStyle->setCurrentIndex(0);
  EXPECT_EQ(dialog->Grid.Style, 0);
  EXPECT_EQ(PreviewPixel(10, 10), kRed);
  EXPECT_EQ(PreviewPixel(10, 5), 0xFFFFFFu);
  EXPECT_EQ(PreviewPixel(11, 10), 0xFFFFFFu);
  // Crosses.
  dialog->ComboBox_GridStyle->setCurrentIndex(1);
  EXPECT_EQ(PreviewPixel(8, 10), kRed);
  EXPECT_EQ(PreviewPixel(12, 10), kRed);
  EXPECT_EQ(PreviewPixel(13, 10), 0xFFFFFFu);
  EXPECT_EQ(PreviewPixel(10, 12), kRed);
  EXPECT_EQ(PreviewPixel(11, 11), 0xFFFFFFu);

  dialog->CheckBox_SnapToGrid->click();
  EXPECT_EQ(dialog->Grid.SnapToGrid, 1);
  dialog->CheckBox_ShowGrid->click();
  EXPECT_EQ(dialog->Grid.ShowGrid, 0);
  testing::Grab(*dialog, "grid_dialog_crosses");
}

TEST_F(GridDialogTest, ColourButtonPicksTheGridColour) {
  ShowActive(*dialog);
  int shown = 0;
  {
    ScopedDialogInterceptor intercept([&](QDialog& d) {
      auto* colours = qobject_cast<QColorDialog*>(&d);
      EXPECT_NE(colours, nullptr);
      if (colours == nullptr) return 0;
      ++shown;
      EXPECT_EQ(FromQColor(colours->currentColor()), kRed);
      colours->setCurrentColor(QColor(0, 128, 0));
      return int(QDialog::Accepted);
    });
    QTest::mouseClick(dialog->Btn_ColorGrid, Qt::LeftButton);
  }
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dialog->Grid.Color, 0x008000u);
  EXPECT_EQ(PreviewPixel(10, 5), 0x008000u);
  {
    ScopedDialogInterceptor intercept([](QDialog&) { return int(QDialog::Rejected); });
    QTest::mouseClick(dialog->Btn_ColorGrid, Qt::LeftButton);
  }
  EXPECT_EQ(dialog->Grid.Color, 0x008000u);
}

TEST(EditGrid, OnlyOkCopiesTheGridBack) {
  SetDecimalSeparator('.');
  ScriptedMessages messages;
  TGrid grid;
  grid.SetStepX(1);
  grid.SetNSX(3);
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    ScopedDialogInterceptor intercept([ok](QDialog& d) {
      auto* g = qobject_cast<TGridDialog*>(&d);
      EXPECT_NE(g, nullptr);
      if (g == nullptr) return 0;
      ShowActive(*g);
      // The X-Z window: Y is disabled, X and Z take the typed values.
      EXPECT_FALSE(g->StepEdit[1]->isEnabled());
      EXPECT_EQ(g->StepEdit[0]->text(), "1");
      Retype(g->NSEdit[0], "4");
      QTest::mouseClick(g->Btn_ByNumber, Qt::LeftButton);
      EXPECT_EQ(g->StepEdit[0]->text(), "5");
      g->CheckBox_SnapToGrid->click();
      QTest::mouseClick(ok ? g->OKBtn : g->CancelBtn, Qt::LeftButton);
      return g->result();
    });
    EXPECT_EQ(EditGrid(grid, FloatPoint3D(0, 0, 0), FloatPoint3D(20, 10, 5), Projection::XZ, messages), ok);
    EXPECT_EQ(intercept.Count(), 1);
    EXPECT_EQ(grid.NSX, ok ? 4 : 3);
    EXPECT_EQ(grid.StepX, ok ? 5 : 1);
    EXPECT_EQ(grid.StepZ, ok ? 5 : 0);  // By number on Z: count 0 became 1
    EXPECT_EQ(grid.SnapToGrid, ok ? 1 : 0);
  }
  EXPECT_TRUE(messages.Shown.empty());
}

}  // namespace
}  // namespace tavir
