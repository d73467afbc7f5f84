#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "editor/qt/dlg_divide.h"
#include "editor/qt/editor_model_dialogs.h"
#include "platform/numtext.h"
#include "platform_qt/dialog_script.h"
#include "shared_dialogs/dialog_test_support.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using testing::Find;
using testing::Retype;
using testing::ShowActive;

class DivideFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    form = std::make_unique<TDivideForm>(messages);
    DivideDialogValues v;
    v.SizeX = 10;
    v.SizeY = 4;
    v.StepX = 1;
    v.StepY = 1;
    v.Nx = 4;
    v.Ny = 2;
    v.RegionLabel = "10 x 4";
    form->SetValues(v);
  }
  TFloatEdit* Step(const char* name) { return Find<TFloatEdit>(*form, name); }
  QLineEdit* Count(const char* name) { return Find<QLineEdit>(*form, name); }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(*form, name), Qt::LeftButton); }

  ScriptedMessages messages;
  std::unique_ptr<TDivideForm> form;
};

TEST_F(DivideFormTest, ShowsTheRegionAndDerivesStepsAndCounts) {
  form->show();
  EXPECT_EQ(form->windowTitle(), "Разбиение области на элементы");
  EXPECT_EQ(Find<QLabel>(*form, "Lbl_Region")->text(), "10 x 4");
  EXPECT_EQ(Find<QLabel>(*form, "Lbl_RegionSize")->text(), "Размеры области разбиения (Длина х Высота):");
  EXPECT_EQ(Find<QPushButton>(*form, "Button1")->text(), "Ра&збить область");
  EXPECT_TRUE(Find<QPushButton>(*form, "Button1")->isDefault());
  testing::Grab(*form, "dlg_divide");
  Click("Btn_ByNumStep");
  EXPECT_EQ(Step("FloatEdit_StepX")->text(), "2.5");
  EXPECT_EQ(Step("FloatEdit_StepY")->text(), "2");
  struct Case {
    const char* step;
    const char* count;
  };
  // 10 / 3 truncated; a step above the size gives 1, so does a negative one; a
  // step of 0 (also letters) keeps the count.
  for (const Case c : {Case{"3", "3"}, Case{"20", "1"}, Case{"-2", "1"}, Case{"0", "1"}, Case{"0.5", "20"},
                       Case{"0", "20"}, Case{"abc", "20"}, Case{"1e-300", "1000000"}}) {
    Step("FloatEdit_StepX")->setText(QString::fromLatin1(c.step));
    Click("Btn_ByStep");
    EXPECT_EQ(Count("SpinEdit_Nx")->text(), c.count) << c.step;
  }
}

// Region 1.2 x 0.8 whose sizes carry round-off (framed from 0.1 to 1.3 and 0.9):
// step 0.4 gives 3 and 2 steps, not 2 and 1.
TEST_F(DivideFormTest, ByStepCountsWholeStepsDespiteRoundOff) {
  DivideDialogValues v;
  v.SizeX = 1.3L - 0.1L;
  v.SizeY = 0.9L - 0.1L;
  v.StepX = 1;
  v.StepY = 1;
  v.RegionLabel = "1.2 x 0.8";
  form->SetValues(v);
  ShowActive(*form);
  Retype(Step("FloatEdit_StepX"), "0.4");
  Retype(Step("FloatEdit_StepY"), "0.4");
  Click("Btn_ByStep");
  EXPECT_EQ(Count("SpinEdit_Nx")->text(), "3");
  EXPECT_EQ(Count("SpinEdit_Ny")->text(), "2");
  // The steps By number gives, shown with 15 digits, lead back to the counts.
  // 0.8 / 3 is shown as 0.266666666666667, a little more than a third of 0.8.
  Retype(Count("SpinEdit_Ny"), "3");
  Click("Btn_ByNumStep");
  EXPECT_EQ(Step("FloatEdit_StepY")->text(), "0.266666666666667");
  Click("Btn_ByStep");
  EXPECT_EQ(Count("SpinEdit_Ny")->text(), "3");
  Click("Button1");
  EXPECT_EQ(form->Values().Nx, 3);
  EXPECT_EQ(form->Values().Ny, 3);
}

TEST_F(DivideFormTest, CountsAboveTheLimitAreBroughtBackWithTheMessage) {
  ShowActive(*form);
  Retype(Count("SpinEdit_Nx"), "2000000");
  QTest::keyClick(Count("SpinEdit_Nx"), Qt::Key_Tab);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Количество шагов не может быть больше 1000000.");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Warning);
  EXPECT_EQ(Count("SpinEdit_Nx")->text(), "1000000");
  EXPECT_EQ(QApplication::focusWidget(), Count("SpinEdit_Nx"));
  // OK straight from a box with a count above the limit: the message, and the
  // dialog stays open with the count brought back.
  Retype(Count("SpinEdit_Ny"), "3000000");
  form->setResult(-1);
  form->accept();
  EXPECT_EQ(form->result(), -1);
  ASSERT_EQ(messages.Shown.size(), 2u);
  EXPECT_EQ(Count("SpinEdit_Ny")->text(), "1000000");
  Click("Button1");
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(messages.Shown.size(), 2u);
  EXPECT_EQ(form->Values().Nx, 1000000);
  EXPECT_EQ(form->Values().Ny, 1000000);
}

TEST_F(DivideFormTest, CancelChecksNothing) {
  ShowActive(*form);
  Retype(Count("SpinEdit_Ny"), "99999999");
  Click("Button2");
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_TRUE(messages.Shown.empty());
}

TEST(DivideSeam, TheRealDialogAnswersLikeTheScriptedOne) {
  SetDecimalSeparator('.');
  ScriptedMessages messages;
  EditorModelDialogs dialogs(messages);
  DialogScript script;
  DivideDialogValues start;
  start.SizeX = 10;
  start.SizeY = 4;
  start.StepX = 2;
  start.StepY = 2;
  start.Nx = 5;
  start.Ny = 2;
  start.RegionLabel = "10 x 4";
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<TFloatEdit*>("FloatEdit_StepX")->setText("2.5");
    d.findChild<QPushButton*>("Btn_ByStep")->click();
    d.findChild<QPushButton*>("Button1")->click();
    return d.result();
  });
  const std::optional<DivideDialogValues> a = dialogs.DivideRegion(start);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->StepX, 2.5L);
  EXPECT_EQ(a->Nx, 4);
  EXPECT_EQ(a->Ny, 2);
  EXPECT_EQ(a->SizeX, 10);
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QPushButton*>("Button2")->click();
    return d.result();
  });
  EXPECT_FALSE(dialogs.DivideRegion(start));
}

}  // namespace
}  // namespace tavir
