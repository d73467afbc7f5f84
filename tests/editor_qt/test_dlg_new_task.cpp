#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QTest>
#include <algorithm>
#include <array>
#include <vector>

#include "editor/qt/dlg_new_task.h"
#include "platform/numtext.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/message_box.h"
#include "platform_qt/dialog_script.h"
#include "shared_dialogs/dialog_test_support.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using testing::Find;
using testing::Retype;
using testing::ShowActive;

class NewTaskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    dlg = std::make_unique<TNewTaskDlg>(messages);
    dlg->Task.SetDimension(1);
    dlg->Task.SetStatement(1);
    dlg->Task.SetEvulKind(0);
    dlg->Task.SetPrecision(0.01L);
    dlg->SetTaskData(0, 0, 0, 10, 10, 10);
  }
  QLineEdit* Box(const char* name) { return Find<QLineEdit>(*dlg, name); }
  void ClickOk() { QTest::mouseClick(Find<QPushButton>(*dlg, "OKBtn"), Qt::LeftButton); }

  ScriptedMessages messages;
  std::unique_ptr<TNewTaskDlg> dlg;
};

TEST_F(NewTaskTest, ShowsTheRegionAndTheTask) {
  ShowActive(*dlg);
  EXPECT_EQ(dlg->windowTitle(), "Новая задача");
  for (const char* name : {"CoordXmin", "CoordYmin", "CoordZmin"}) EXPECT_EQ(Box(name)->text(), "0") << name;
  for (const char* name : {"CoordXmax", "CoordYmax", "CoordZmax"}) EXPECT_EQ(Box(name)->text(), "10") << name;
  EXPECT_EQ(Box("PrecisionEdit")->text(), "0.01");
  EXPECT_EQ(Find<QLabel>(*dlg, "LblXmin")->text(), "Координата Х (минимальная)");
  EXPECT_EQ(Find<QLabel>(*dlg, "LblZmax")->text(), "Координата Z (максимальная)");
  // Statement 1 shows the third item; dimension 1 "Трехмерная" with Z enabled.
  EXPECT_EQ(Find<RadioGroup>(*dlg, "RG_LinearTask")->ItemIndex(), 2);
  EXPECT_EQ(Find<RadioGroup>(*dlg, "RG_TaskDim")->ItemIndex(), 0);
  EXPECT_EQ(Find<RadioGroup>(*dlg, "RG_Evulation")->ItemIndex(), 0);
  EXPECT_TRUE(Box("CoordZmin")->isEnabled());
  EXPECT_EQ(Find<QTabWidget>(*dlg, "PageCtrlNew")->currentWidget()->objectName(), "TS_Coordinate");
  EXPECT_EQ(Find<QPushButton>(*dlg, "HelpBtn")->text(), "&Help");
  testing::Grab(*dlg, "dlg_new_task");
  Find<QTabWidget>(*dlg, "PageCtrlNew")->setCurrentIndex(1);
  testing::Grab(*dlg, "dlg_new_task_task");
}

TEST_F(NewTaskTest, DimensionChoiceEnablesZ) {
  RadioGroup* dim = Find<RadioGroup>(*dlg, "RG_TaskDim");
  struct Case {
    int item;
    bool z;
    std::uint8_t code;
  };
  for (const Case c : {Case{1, false, 0}, Case{2, false, 2}, Case{0, true, 1}}) {
    dim->Button(c.item)->click();
    for (const char* name : {"CoordZmin", "CoordZmax", "LblZmin", "LblZmax"})
      EXPECT_EQ(Find<QWidget>(*dlg, name)->isEnabled(), c.z) << name << " " << c.item;
    EXPECT_EQ(dlg->Task.Dimension, c.code);
  }
  Find<RadioGroup>(*dlg, "RG_LinearTask")->Button(1)->click();
  EXPECT_EQ(dlg->Task.Statement, 2);
}

TEST_F(NewTaskTest, OkSwapsAndDoublesWithTheWarning) {
  ShowActive(*dlg);
  Retype(Box("CoordXmin"), "8");
  Retype(Box("CoordXmax"), "2");
  Retype(Box("CoordYmin"), "5");
  Retype(Box("CoordYmax"), "5");
  ClickOk();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(dlg->MinCorner.X, 2);
  EXPECT_EQ(dlg->MaxCorner.X, 8);
  EXPECT_EQ(dlg->MaxCorner.Y, 10);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Caption, "Предупреждение");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Warning);
  EXPECT_EQ(messages.Shown[0].Text,
            "        Минимальная и максимальная координаты Y равны.\rПроизведена коррекция - минимальная координата "
            "удвоена.");
}

TEST_F(NewTaskTest, RefusalsKeepTheDialogOpenWithTheUsersText) {
  struct Case {
    const char* box;
    const char* typed;
    const char* message;
    const char* focus;
  };
  const Case cases[] = {
      {"CoordYmax", "abc", "Ошибка в координате Ymax", "CoordYmax"},
      {"CoordXmin", "1..2", "Ошибка в координате Xmin", "CoordXmin"},
      // Doubling 0 gives no extent: refused on the axis's maximum.
      {"CoordZmax", "0", "Минимальная и максимальная координаты Z равны.\rОбласть не имеет размера по этой оси: "
                         "задайте разные координаты.", "CoordZmax"},
      {"PrecisionEdit", "0", "Точность ввода данных должна быть положительным числом.", "PrecisionEdit"},
      {"PrecisionEdit", "-1", "Точность ввода данных должна быть положительным числом.", "PrecisionEdit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    SetUp();
    ShowActive(*dlg);
    if (std::string(c.box) == "PrecisionEdit") Find<QTabWidget>(*dlg, "PageCtrlNew")->setCurrentIndex(2);
    Retype(Box(c.box), c.typed);
    messages.Shown.clear();
    dlg->setResult(-1);
    dlg->accept();
    EXPECT_EQ(dlg->result(), -1);
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_FALSE(messages.Shown.empty());
    EXPECT_EQ(messages.Shown.back().Text, c.message);
    EXPECT_EQ(QApplication::focusWidget(), Box(c.focus));
    EXPECT_EQ(Box(c.box)->text(), c.typed);
  }
}

TEST_F(NewTaskTest, LeavingABadCoordinateReportsItAndKeepsTheValue) {
  ShowActive(*dlg);
  Retype(Box("CoordYmax"), "abc");
  QTest::keyClick(Box("CoordYmax"), Qt::Key_Tab);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Caption, "Ошибка!!!");
  EXPECT_EQ(messages.Shown[0].Text, "Ошибка в координате Ymax");
  EXPECT_EQ(dlg->MaxCorner.Y, 10);
}

// Leaving box k reads boxes 1..k: each bad one is reported once, in reading order,
// keeps its text and its value; the good ones are taken; later boxes are not read.
TEST_F(NewTaskTest, LeavingABoxReadsTheBoxesUpToItOnceEach) {
  struct Case {
    const char* leave;
    std::vector<const char*> bad;
    std::vector<std::string> reported;
    const char* focus;  // where the focus ends
  };
  const Case cases[] = {
      {"CoordXmax", {"CoordXmin", "CoordYmin"}, {"Ошибка в координате Xmin", "Ошибка в координате Ymin"},
       "CoordXmin"},
      {"CoordXmin", {"CoordYmax"}, {}, "CoordYmin"},
      {"CoordZmax", {"CoordZmax", "CoordYmin"}, {"Ошибка в координате Ymin", "Ошибка в координате Zmax"},
       "CoordYmin"},
      {"CoordYmax", {"CoordYmax"}, {"Ошибка в координате Ymax"}, "CoordYmax"},
  };
  const std::array<const char*, 6> names{"CoordXmin", "CoordYmin", "CoordZmin",
                                         "CoordXmax", "CoordYmax", "CoordZmax"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.leave);
    SetUp();
    ShowActive(*dlg);
    Box(c.leave)->setFocus();
    // Good boxes show 1..6; typed without leaving any box.
    for (std::size_t i = 0; i < names.size(); ++i) Box(names[i])->setText(QString::number(i + 1));
    for (const char* b : c.bad) Box(b)->setText("x" + QString::fromLatin1(b));
    messages.Shown.clear();
    QTest::keyClick(Box(c.leave), Qt::Key_Tab);

    std::vector<std::string> reported;
    for (const ScriptedMessages::Entry& e : messages.Shown) {
      EXPECT_EQ(e.Caption, "Ошибка!!!");
      EXPECT_EQ(e.Kind, MsgKind::Error);
      EXPECT_EQ(e.Buttons, MsgButtons::Ok);
      reported.push_back(e.Text);
    }
    EXPECT_EQ(reported, c.reported);
    EXPECT_EQ(QApplication::focusWidget(), Box(c.focus));
    const auto read = static_cast<std::size_t>(std::find(names.begin(), names.end(), std::string(c.leave)) -
                                               names.begin()) + 1;
    for (std::size_t i = 0; i < names.size(); ++i) {
      const char* name = names[i];
      const bool isBad = std::find_if(c.bad.begin(), c.bad.end(),
                                      [&](const char* b) { return std::string(b) == name; }) != c.bad.end();
      const TFloatPoint3D& corner = i < 3 ? dlg->MinCorner : dlg->MaxCorner;
      const Extended value = i % 3 == 0 ? corner.X : i % 3 == 1 ? corner.Y : corner.Z;
      const Extended before = i < 3 ? 0 : 10;
      EXPECT_EQ(value, (isBad || i >= read) ? before : static_cast<Extended>(i + 1)) << name;
      if (isBad) {
        EXPECT_EQ(Box(name)->text(), "x" + QString::fromLatin1(name));
      }
    }
  }
}

// The message box of a real service takes the focus and gives it back: neither
// counts as leaving a box, so each bad box is still reported once.
TEST(NewTaskFocus, MessageBoxesTakingTheFocusReportEachBadBoxOnce) {
  SetDecimalSeparator('.');
  QtMessageService messages;
  TNewTaskDlg dlg(messages);
  dlg.SetTaskData(0, 0, 0, 10, 10, 10);
  ShowActive(dlg);
  std::vector<QString> shown;
  ScopedDialogInterceptor boxes([&](QDialog& d) {
    auto* box = qobject_cast<QMessageBox*>(&d);
    EXPECT_NE(box, nullptr);
    if (box == nullptr) return 0;
    shown.push_back(box->text());
    ShowActive(*box);
    box->button(QMessageBox::Ok)->click();
    ShowActive(dlg);
    return static_cast<int>(QMessageBox::Ok);
  });
  QLineEdit* xmax = Find<QLineEdit>(dlg, "CoordXmax");
  xmax->setFocus();
  Find<QLineEdit>(dlg, "CoordXmin")->setText("abc");
  Find<QLineEdit>(dlg, "CoordYmin")->setText("1,,5");
  xmax->setText("7");
  QTest::keyClick(xmax, Qt::Key_Tab);
  EXPECT_EQ(shown, (std::vector<QString>{"Ошибка в координате Xmin", "Ошибка в координате Ymin"}));
  EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>(dlg, "CoordXmin"));
  EXPECT_EQ(dlg.MaxCorner.X, 7);
  EXPECT_EQ(dlg.MinCorner.X, 0);
}

// A click on OK from a bad box: OK reads all six boxes, and the box is reported
// once for the click, not once for leaving and again for OK.
TEST_F(NewTaskTest, OkClickedFromABadBoxReportsItOnce) {
  ShowActive(*dlg);
  Retype(Box("CoordYmin"), "abc");
  messages.Shown.clear();
  ClickOk();
  EXPECT_NE(dlg->result(), QDialog::Accepted);
  EXPECT_TRUE(dlg->isVisible());
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Ошибка в координате Ymin");
  EXPECT_EQ(QApplication::focusWidget(), Box("CoordYmin"));
}

TEST_F(NewTaskTest, CancelChecksNothing) {
  ShowActive(*dlg);
  Retype(Box("CoordXmax"), "abc");
  QTest::mouseClick(Find<QPushButton>(*dlg, "CancelBtn"), Qt::LeftButton);
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_TRUE(messages.Shown.empty());
}

TEST(NewTaskRun, TheCommandsDialogShowsZeroToTenAndAnswersOnOk) {
  SetDecimalSeparator('.');
  ScriptedMessages messages;
  DialogScript script;
  TBCTask task;
  task.Dimension = 2;
  task.Precision = 0.01L;
  script.Dialogs.push_back([](QDialog& d) {
    EXPECT_EQ(d.findChild<QLineEdit*>("CoordYmax")->text(), "10");
    EXPECT_EQ(d.findChild<QLineEdit*>("CoordXmin")->text(), "0");
    EXPECT_FALSE(d.findChild<QLineEdit*>("CoordZmax")->isEnabled());
    d.findChild<QLineEdit*>("CoordXmax")->setText("12");
    d.findChild<QPushButton*>("OKBtn")->click();
    return d.result();
  });
  const std::optional<NewTaskAnswer> a =
      RunNewTaskDialog(task, FloatPoint3D(0, 0, 0), FloatPoint3D(10, 10, 10), messages);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Second.X, 12);
  EXPECT_EQ(a->Task.Dimension, 2);
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QPushButton*>("CancelBtn")->click();
    return d.result();
  });
  EXPECT_FALSE(RunNewTaskDialog(task, FloatPoint3D(0, 0, 0), FloatPoint3D(10, 10, 10), messages));
}

}  // namespace
}  // namespace tavir
