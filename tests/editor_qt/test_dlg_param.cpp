#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "editor/qt/dlg_param.h"
#include "editor/param_dialog_rules.h"
#include "platform/numtext.h"
#include "platform_qt/dialog_script.h"
#include "shared_dialogs/dialog_test_support.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using testing::Find;
using testing::Retype;
using testing::ShowActive;

class ParamFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    form = std::make_unique<TParamForm>(messages);
    form->Options.SetDefaults();
    form->Options.SetFileListNumber(4);
    form->Options.SetAutoSave(1);
    form->Options.SetAutoSaveInterval(20);
    form->Options.SetLengthUnitName(0, "м");
    form->Options.SetLengthUnitName(1, "см");
    form->Options.SetLengthUnitName(2, "мм");
    form->Options.SetLengthUnit("см");
    form->Task.SetDefaults();
    form->Task.SetStatement(1);
    form->Task.SetDimension(0);
    form->Task.SetPrecision(0.01L);
    form->GetTaskParametrs();
  }
  QComboBox* Combo(const char* name) { return Find<QComboBox>(*form, name); }
  void Ok() {
    form->setResult(-1);
    QTest::mouseClick(Find<QPushButton>(*form, "Btn_OK"), Qt::LeftButton);
  }

  ScriptedMessages messages;
  std::unique_ptr<TParamForm> form;
};

TEST_F(ParamFormTest, ShowsTheOptionsAndTheTask) {
  ShowActive(*form);
  EXPECT_EQ(form->windowTitle(), "Параметры");
  EXPECT_EQ(Find<QTabWidget>(*form, "PCtrl_Params")->count(), 8);
  EXPECT_TRUE(Find<QCheckBox>(*form, "ChBox_FileListNumber")->isChecked());
  EXPECT_EQ(Find<QLineEdit>(*form, "FileNum_Edit")->text(), "4");
  EXPECT_EQ(Combo("CBox_Time")->currentText(), "20");
  EXPECT_EQ(Combo("CBox_SizeUnits")->count(), 3);
  EXPECT_EQ(Combo("CBox_SizeUnits")->currentText(), "см");
  EXPECT_EQ(Find<RadioGroup>(*form, "RG_LinearTask")->ItemIndex(), 2);
  EXPECT_EQ(Find<RadioGroup>(*form, "RG_TaskDim")->ItemIndex(), 1);
  EXPECT_EQ(Find<QLineEdit>(*form, "EditPrecision")->text(), "0.01");
  EXPECT_EQ(Find<QCheckBox>(*form, "ChBox_Degenerate")->text(), "Удаление \"вырожденных\" элементов");
  Find<QAction>(*form, "miDefaultSettings");
  Find<QAction>(*form, "miDelAllForceUnits");
  testing::Grab(*form, "dlg_param");
  Find<QTabWidget>(*form, "PCtrl_Params")->setCurrentIndex(5);
  testing::Grab(*form, "dlg_param_task");
  Find<QTabWidget>(*form, "PCtrl_Params")->setCurrentIndex(7);
  testing::Grab(*form, "dlg_param_clean");
}

TEST_F(ParamFormTest, CancelIsNeverRefused) {
  ShowActive(*form);
  Retype(Find<QLineEdit>(*form, "EditPrecision"), "abc");
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_Cancel"), Qt::LeftButton);
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ParamFormTest, AGoodValueDoesNotHideABadOne) {
  ShowActive(*form);
  // The interval fails, the precision after it converts: OK still stays.
  Retype(Combo("CBox_Time")->lineEdit(), "abc");
  Find<QTabWidget>(*form, "PCtrl_Params")->setCurrentIndex(0);
  Retype(Find<QLineEdit>(*form, "EditPrecision"), "0.5");
  Ok();
  EXPECT_EQ(form->result(), -1);
  EXPECT_EQ(Combo("CBox_Time")->currentText(), "abc");  // the user's text stays
  const QWidget* focus = QApplication::focusWidget();
  EXPECT_TRUE(focus == Combo("CBox_Time") || focus == Combo("CBox_Time")->lineEdit());
  // Mended: the next OK goes through.
  Retype(Combo("CBox_Time")->lineEdit(), "90");
  Ok();
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(form->Options.AutoSaveInterval, 60);
  EXPECT_EQ(form->Task.Precision, 0.5L);
}

TEST_F(ParamFormTest, LeavingTheIntervalBringsItIntoRange) {
  ShowActive(*form);
  Find<QTabWidget>(*form, "PCtrl_Params")->setCurrentIndex(2);
  QComboBox* time = Combo("CBox_Time");
  struct Case {
    const char* typed;
    const char* shown;
  };
  for (const Case& c : {Case{"90", "60"}, Case{"2", "5"}, Case{"40", "40"}}) {
    SCOPED_TRACE(c.typed);
    Retype(time->lineEdit(), QString::fromLatin1(c.typed));
    Find<QCheckBox>(*form, "ChBox_SaveBAK")->setFocus();  // leaving the box
    EXPECT_EQ(time->currentText(), c.shown);
  }
  EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(ParamFormTest, EnterInTheIntervalAddsNoItemToTheFixedList) {
  ShowActive(*form);
  Find<QTabWidget>(*form, "PCtrl_Params")->setCurrentIndex(2);
  QComboBox* time = Combo("CBox_Time");
  Retype(time->lineEdit(), QStringLiteral("90"));
  form->setResult(-1);
  QTest::keyClick(time->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(form->result(), QDialog::Accepted);  // Enter is the default button's
  EXPECT_EQ(form->Options.AutoSaveInterval, 60);
  ASSERT_EQ(time->count(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(time->itemText(i).toStdString(), AutoSaveItems()[static_cast<std::size_t>(i)]);
}

TEST_F(ParamFormTest, PrecisionQuestionAndRefusal) {
  ShowActive(*form);
  struct Case {
    const char* typed;
    MsgResult answer;
    bool accepted;
    Extended stored;
    const char* shown;
  };
  const Case cases[] = {
      {"1", MsgResult::Ok, true, 1, "1"},
      {"1.5", MsgResult::Ok, true, 1.5L, "1.5"},
      {"0.000001", MsgResult::Cancel, true, 0.001L, "0.001"},
      {"0", MsgResult::Ok, false, 0, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SetUp();
    ShowActive(*form);
    messages.Shown.clear();
    messages.Answers = {c.answer};
    Find<QLineEdit>(*form, "EditPrecision")->setText(QString::fromLatin1(c.typed));
    Ok();
    EXPECT_EQ(form->result() == QDialog::Accepted, c.accepted);
    if (c.accepted) {
      EXPECT_EQ(form->Task.Precision, c.stored);
    }
    EXPECT_EQ(Find<QLineEdit>(*form, "EditPrecision")->text(), c.shown);
  }
  ASSERT_FALSE(messages.Shown.empty());
  EXPECT_EQ(messages.Shown.back().Text, "Точность ввода данных должна быть положительным числом.");
  EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>(*form, "EditPrecision"));
}

TEST_F(ParamFormTest, PrecisionConfirmedOnLeavingIsNotAskedAgainOnOk) {
  ShowActive(*form);
  QLineEdit* precision = Find<QLineEdit>(*form, "EditPrecision");
  Retype(precision, "1.5");
  messages.Answers = {MsgResult::Ok};
  Find<QLineEdit>(*form, "EditUserName")->setFocus();  // leaving the box asks
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Caption, "Ошибка ввода данных");
  EXPECT_EQ(messages.Shown[0].Text, "Вы уверены, что заданные параметры точности верны");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Question);
  Ok();
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(form->Task.Precision, 1.5L);
  // Another value out of range is asked about again.
  ShowActive(*form);
  Retype(precision, "2");
  messages.Answers = {MsgResult::Cancel};
  Ok();
  EXPECT_EQ(messages.Shown.size(), 2u);
  EXPECT_EQ(form->Task.Precision, 0.001L);
}

TEST_F(ParamFormTest, UnitListsAddDeleteAndStore) {
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Введите новую единицу измерения:");
    d.findChild<QLineEdit*>("Edit1")->setText("   ");
    d.findChild<QPushButton*>("OKBtn")->click();
    return d.result();
  });
  form->NewUnit(Combo("CBox_SizeUnits"));
  EXPECT_EQ(Combo("CBox_SizeUnits")->count(), 3);  // an empty name adds nothing
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QLineEdit*>("Edit1")->setText("дм");
    d.findChild<QPushButton*>("OKBtn")->click();
    return d.result();
  });
  form->NewUnit(Combo("CBox_SizeUnits"));
  EXPECT_EQ(Combo("CBox_SizeUnits")->currentText(), "дм");
  Combo("CBox_SizeUnits")->setCurrentIndex(2);  // "мм"
  form->DeleteUnit(Combo("CBox_SizeUnits"));
  EXPECT_EQ(Combo("CBox_SizeUnits")->currentIndex(), 0);
  form->DeleteUnit(Combo("CBox_SizeUnits"));  // "м"
  Ok();
  ASSERT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(form->Options.GetLengthUnitName(0), "см");
  EXPECT_EQ(form->Options.GetLengthUnitName(1), "дм");
  // The deleted names do not come back.
  EXPECT_EQ(form->Options.GetLengthUnitName(2), "");
  EXPECT_EQ(form->Options.GetLengthUnitName(3), "");
  form->DeleteAllUnits(Combo("CBox_SizeUnits"));
  EXPECT_EQ(Combo("CBox_SizeUnits")->count(), 0);
}

TEST_F(ParamFormTest, CompanionsAndMarkAll) {
  ShowActive(*form);
  QCheckBox* list = Find<QCheckBox>(*form, "ChBox_FileListNumber");
  list->click();
  EXPECT_FALSE(Find<QLineEdit>(*form, "FileNum_Edit")->isEnabled());
  QCheckBox* autosave = Find<QCheckBox>(*form, "ChBox_AutoSave");
  autosave->click();
  EXPECT_FALSE(Combo("CBox_Time")->isEnabled());
  form->miMarkedAllClick();
  EXPECT_TRUE(Find<QLineEdit>(*form, "FileNum_Edit")->isEnabled());
  EXPECT_TRUE(Combo("CBox_Time")->isEnabled());
  EXPECT_EQ(Combo("CBox_Time")->currentText(), "5");
  EXPECT_TRUE(Find<QCheckBox>(*form, "ChBox_Notify")->isChecked());
  Ok();
  EXPECT_EQ(form->Options.FileListNumber, 5);
  EXPECT_EQ(form->Options.AutoSaveInterval, 5);
}

TEST_F(ParamFormTest, FlagsBothWays) {
  form->Options.SetPrintRemark(1);
  form->Options.SetDeleteCrossing(1);
  form->Options.SetNotify(0);
  form->GetTaskParametrs();
  EXPECT_TRUE(Find<QCheckBox>(*form, "ChBox_Remark")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>(*form, "ChBox_Crossing")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(*form, "ChBox_Notify")->isChecked());
  Find<QCheckBox>(*form, "ChBox_Remark")->setChecked(false);
  Find<QCheckBox>(*form, "ChBox_Notify")->setChecked(true);
  Ok();
  ASSERT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(form->Options.PrintRemark, 0);
  EXPECT_EQ(form->Options.DeleteCrossing, 1);
  EXPECT_EQ(form->Options.Notify, 1);
}

TEST(ParamRun, CopiesInAndBackOnlyOnOk) {
  SetDecimalSeparator('.');
  ScriptedMessages messages;
  DialogScript script;
  TBCDataEditor options;
  options.SetDefaults();
  TBCTask task;
  task.Precision = 0.01L;
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<RadioGroup*>("RGroup_User")->SetItemIndex(2);
    d.findChild<QPushButton*>("Btn_OK")->click();
    return d.result();
  });
  const std::optional<SettingsAnswer> a = RunSettingsDialog(options, task, messages);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Options.UserKind, 2);
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QPushButton*>("Btn_Cancel")->click();
    return d.result();
  });
  EXPECT_FALSE(RunSettingsDialog(options, task, messages));
}

}  // namespace
}  // namespace tavir
