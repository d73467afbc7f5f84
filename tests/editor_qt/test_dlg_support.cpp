#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "editor/qt/dlg_support.h"
#include "platform/numtext.h"
#include "platform_qt/dialog_script.h"
#include "shared_dialogs/dialog_test_support.h"

namespace tavir {
namespace {

using testing::Find;
using testing::Retype;
using testing::ShowActive;

TEST(SupportDialog, ShowsTheRestraintsAndGivesThemBackOnOk) {
  TSuppForm form;
  form.SetDirection(1);
  form.SetFixation({1, 1, 1, 0, 0, 2});
  form.show();
  EXPECT_EQ(form.windowTitle(), "Граничные условия");
  const char* names[] = {"ChBox_X", "ChBox_Y", "ChBox_Z", "ChBox_dX", "ChBox_dY", "ChBox_dZ"};
  const bool checked[] = {true, true, true, false, false, false};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Find<QCheckBox>(form, names[i])->isChecked(), checked[i]) << names[i];
  EXPECT_EQ(Find<QCheckBox>(form, "ChBox_dX")->text(), "Угол поворота отн. Y");
  EXPECT_FALSE(Find<QCheckBox>(form, "ChBox_dZ")->isEnabled());
  EXPECT_EQ(Find<RadioGroup>(form, "RGroup_Direction")->ItemIndex(), 1);
  EXPECT_EQ(Find<RadioGroup>(form, "RGroup_Direction")->Columns(), 2);
  Find<QWidget>(form, "FrameXYZ_Rest");
  testing::Grab(form, "dlg_support");

  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QCheckBox*>("ChBox_dX")->setChecked(true);
    d.findChild<RadioGroup*>("RGroup_Direction")->SetItemIndex(0);
    d.findChild<QPushButton*>("Btn_OK")->click();
    return d.result();
  });
  const std::optional<SupportAnswer> a = RunSupportDialog({1, 1, 1, 0, 0, 2}, 1);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Fixation, (TFixation{1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(a->Direction, 0);
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QCheckBox*>("ChBox_X")->setChecked(false);
    d.findChild<QPushButton*>("Btn_Cancel")->click();
    return d.result();
  });
  EXPECT_FALSE(RunSupportDialog({1, 1, 1, 0, 0, 0}, 0));
}

class LoadDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    form = std::make_unique<TForcesForm>();
    form->Apply = [this](const TForceRecord& f) { applied.push_back(f); };
  }
  std::vector<TForceRecord> applied;
  std::unique_ptr<TForcesForm> form;
};

TEST_F(LoadDialogTest, ModelessOnTopAndEnabledByTheSelection) {
  TForceRecord f;
  f.Px = 1;
  f.Pz = -2.5L;
  f.Mz = 9;
  form->SetForce(f);
  form->show();
  EXPECT_EQ(form->windowTitle(), "Нагрузка");
  EXPECT_FALSE(form->isModal());
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(Find<TFloatEdit>(*form, "FloatEdit_Pz")->text(), "-2.5");
  EXPECT_EQ(Find<QLabel>(*form, "Lbl_Mx")->text(), "Моме&нт Mx");
  EXPECT_FALSE(Find<TFloatEdit>(*form, "FloatEdit_Mz")->isEnabled());
  EXPECT_EQ(Find<TFloatEdit>(*form, "FloatEdit_Mz")->text(), "9");
  EXPECT_FALSE(Find<QPushButton>(*form, "Btn_OK")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>(*form, "Btn_Apply")->isEnabled());
  form->EnableApply(true);
  EXPECT_TRUE(Find<QPushButton>(*form, "Btn_OK")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(*form, "Btn_Apply")->isEnabled());
  testing::Grab(*form, "dlg_load");
}

TEST_F(LoadDialogTest, ApplyHandsOnWhatTheUserTypedAndNeverTheHiddenMz) {
  TForceRecord f;
  f.Mz = 9;
  form->SetForce(f);
  form->EnableApply(true);
  ShowActive(*form);
  Retype(Find<TFloatEdit>(*form, "FloatEdit_Py"), "3");
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_Apply"), Qt::LeftButton);
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].Py, 3);
  EXPECT_EQ(applied[0].Mz, 0);
  EXPECT_EQ(Find<TFloatEdit>(*form, "FloatEdit_Mz")->text(), "0");
  EXPECT_TRUE(form->isVisible());
  // Letters in a box: its exit puts back the number, which is what is applied.
  Retype(Find<TFloatEdit>(*form, "FloatEdit_Px"), "x");
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_OK"), Qt::LeftButton);
  ASSERT_EQ(applied.size(), 2u);
  EXPECT_EQ(applied[1].Px, 0);
  EXPECT_EQ(applied[1].Py, 3);
  EXPECT_FALSE(form->isVisible());
  form->show();
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_Cancel"), Qt::LeftButton);
  EXPECT_EQ(applied.size(), 2u);
  EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace tavir
