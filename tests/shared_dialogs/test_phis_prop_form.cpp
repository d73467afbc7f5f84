#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "editor/material_dialogs.h"
#include "editor/qt/shared/phis_prop_form.h"
#include "model/load_ops.h"
#include "platform/numtext.h"
#include "platform/qt/float_edit.h"
#include "shared_dialogs/dialog_test_support.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using testing::Find;
using testing::Retype;
using testing::ShowActive;

class PhisPropFormTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
  ScriptedMessages messages;
};

TEST_F(PhisPropFormTest, NewMaterialOpensWithTheDefaults) {
  TPhisPropForm form(messages);
  EXPECT_EQ(form.windowTitle(), "Физические свойства");
  struct Box {
    const char* name;
    const char* text;
  };
  for (const Box& b : {Box{"FloatEdit_E", "2060000"}, Box{"FloatEdit_mu", "0.3"}, Box{"FloatEdit_ro", "7800"},
                       Box{"FloatEdit_R", "240000"}, Box{"FloatEdit_fi", "0"}, Box{"FloatEdit_EpsT", "2000"}}) {
    SCOPED_TRACE(b.name);
    TFloatEdit* edit = Find<TFloatEdit>(form, b.name);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QString::fromUtf8(b.text));
  }
  EXPECT_EQ(Find<QLineEdit>(form, "LblEdit_Title")->text(), "");
  QComboBox* diagram = Find<QComboBox>(form, "CmbBox_Diagramma");
  EXPECT_EQ(diagram->currentText(), "Билинейная");
  EXPECT_EQ(diagram->count(), 2);
  EXPECT_EQ(diagram->itemText(1), "Степенная");
  QPlainTextEdit* memo = Find<QPlainTextEdit>(form, "Memo_Diagramma");
  EXPECT_EQ(memo->toPlainText(), "E1 = 0.0000000E+00");
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_FALSE(Find<QToolButton>(form, "ToolBtn_NewDiag")->isEnabled());
  EXPECT_TRUE(Find<QToolButton>(form, "ToolBtn_DiagData")->isEnabled());
  QTabWidget* pages = Find<QTabWidget>(form, "PageControl");
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->widget(0)->objectName(), "TabSheet_Linear");
  EXPECT_EQ(pages->tabText(0), "С&войства");
  EXPECT_EQ(pages->widget(1)->objectName(), "TabSheet_NonLinear");
  EXPECT_EQ(pages->tabText(1), "До&полнительно");
  EXPECT_EQ(pages->widget(2)->objectName(), "TabSheet_Adaptation");
  EXPECT_EQ(pages->tabText(2), "Адаптация");
  EXPECT_EQ(Find<QLabel>(form, "Lbl_SymMu")->text(), "(μ)");
  EXPECT_EQ(Find<QLabel>(form, "Lbl_SymRo")->text(), "(ρ)");
  EXPECT_EQ(Find<QLabel>(form, "Lbl_SymFi")->text(), "(φ)");
  EXPECT_EQ(Find<QLabel>(form, "Lbl_modulE")->text(), "Модуль &упругости");
  EXPECT_EQ(Find<QPushButton>(form, "Btn_OK")->text(), "&ОК");
  EXPECT_TRUE(Find<QPushButton>(form, "Btn_OK")->isDefault());
  EXPECT_EQ(Find<QPushButton>(form, "Btn_Cancel")->text(), "От&менить");
}

TEST_F(PhisPropFormTest, GetPropertiesShowsAMaterialAndItsPowerLaw) {
  TPhisPropForm form(messages);
  form.Material.SetE(3.5e6L);
  form.Material.SetFi(45);
  form.Material.SetDiagramma(1);
  form.Material.SetA(12.5L);
  form.Material.SetK(-0.5L);
  form.GetProperties();
  EXPECT_EQ(form.FloatEdit_E->text(), "3500000");
  EXPECT_EQ(form.FloatEdit_fi->text(), "45");
  EXPECT_EQ(form.CmbBox_Diagramma->currentIndex(), 1);
  EXPECT_EQ(form.Memo_Diagramma->toPlainText(), "A = 1.2500000E+01\nk = -5.0000000E-01");
  // Switching the diagram does not rewrite the memo before OK.
  form.CmbBox_Diagramma->setCurrentIndex(0);
  EXPECT_EQ(form.Memo_Diagramma->toPlainText(), "A = 1.2500000E+01\nk = -5.0000000E-01");
  // A kind the combo box does not offer leaves its item.
  form.Material.SetDiagramma(5);
  form.GetProperties();
  EXPECT_EQ(form.CmbBox_Diagramma->currentIndex(), 0);
  EXPECT_EQ(form.Memo_Diagramma->toPlainText(), "");
}

TEST_F(PhisPropFormTest, OkStoresTheBoxesIntoTheMaterial) {
  TPhisPropForm form(messages);
  ShowActive(form);
  form.SetName("Бетон В25");
  Retype(form.FloatEdit_E, "3e6");
  Retype(form.FloatEdit_mu, "0,2");
  Retype(form.FloatEdit_EpsT, "abc");  // not a number: restored on leaving
  form.CmbBox_Diagramma->setCurrentIndex(1);
  QTest::mouseClick(form.Btn_OK, Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.Material.E, 3e6L);
  EXPECT_EQ(form.Material.mu, 0.2L);
  EXPECT_EQ(form.Material.EpsT, 2e3L);
  EXPECT_EQ(form.Material.Diagramma, 1);
  EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(PhisPropFormTest, EnterStoresTheValueTheFocusedBoxThenShows) {
  struct Case {
    const char* typed;
    Extended stored;
  };
  // Invalid text confirmed with Enter used to be read as 0 before the box put
  // the old number back.
  for (const Case c : {Case{"1.5e6", 1.5e6L}, Case{"1.5e", 2.06e6L}, Case{"", 2.06e6L}}) {
    SCOPED_TRACE(c.typed);
    TPhisPropForm form(messages);
    form.SetName("Сталь");
    ShowActive(form);
    Retype(form.FloatEdit_E, QString::fromUtf8(c.typed));
    QTest::keyClick(form.FloatEdit_E, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Material.E, c.stored);
    EXPECT_EQ(form.FloatEdit_E->Value(), c.stored);
  }
}

TEST_F(PhisPropFormTest, EmptyOrUnstorableNameKeepsTheDialogOpen) {
  struct Case {
    const char* name;
    MsgKind kind;
    const char* text;
  };
  const Case cases[] = {{"", MsgKind::Plain, "Название материала должно быть задано!"},
                        {"Сталь ✓", MsgKind::Error, kMaterialNameNotStorableText}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages.Shown.clear();
    TPhisPropForm form(messages);
    ShowActive(form);
    form.SetName(QString::fromUtf8(c.name));
    Retype(form.FloatEdit_mu, "0.25");
    QTest::mouseClick(form.Btn_OK, Qt::LeftButton);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Kind, c.kind);
    EXPECT_EQ(messages.Shown[0].Text, c.text);
    EXPECT_TRUE(form.isVisible());
    EXPECT_NE(form.result(), QDialog::Accepted);
    EXPECT_EQ(QApplication::focusWidget(), form.LblEdit_Title);
    // The values already reached the copy.
    EXPECT_EQ(form.Material.mu, 0.25L);
    // Cancel is never blocked.
    QTest::mouseClick(form.Btn_Cancel, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(messages.Shown.size(), 1u);
  }
}

TEST_F(PhisPropFormTest, Picture) {
  TPhisPropForm form(messages);
  form.SetName("Сталь С300");
  form.show();
  testing::Grab(form, "phis_prop_form");
  form.PageControl->setCurrentIndex(1);
  testing::Grab(form, "phis_prop_form_nonlinear");
  form.PageControl->setCurrentIndex(2);
  testing::Grab(form, "phis_prop_form_adaptation");
}

}  // namespace
}  // namespace tavir
