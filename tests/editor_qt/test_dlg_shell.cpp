#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "editor/qt/dlg_shell.h"
#include "editor/qt/editor_model_dialogs.h"
#include "model/load_ops.h"
#include "model/project.h"
#include "model/shell_surfaces.h"
#include "platform/numtext.h"
#include "platform_qt/dialog_script.h"
#include "shared_dialogs/dialog_test_support.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using testing::Find;

TEST(SurfaceKindDialog, ItemsAndKind) {
  TSurfaceShellForm form;
  form.show();
  EXPECT_EQ(form.windowTitle(), "Функции поверхности пологой оболочки");
  QListWidget* list = Find<QListWidget>(form, "ListBox_Funcs");
  EXPECT_EQ(list->item(0)->text(), "Элиптический параболлоид");
  EXPECT_EQ(list->item(1)->text(), "Сфера");
  EXPECT_EQ(list->currentRow(), 0);
  testing::Grab(form, "dlg_surface_kind");
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QListWidget*>("ListBox_Funcs")->setCurrentRow(1);
    d.findChild<QPushButton*>("OK_Btn")->click();
    return d.result();
  });
  EXPECT_EQ(RunSurfaceKindDialog(), 3);
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QPushButton*>("Cancel_Btn")->click();
    return d.result();
  });
  EXPECT_EQ(RunSurfaceKindDialog(), std::nullopt);
}

TEST(ShellDataDialog, ParameterBoxesByKindAndAReadOnlyAnchor) {
  SetDecimalSeparator('.');
  TShellDataForm form;
  form.SetOrigin(FloatPoint3D(1, 2, 0));
  form.SetKind(0);
  form.SetParams({6, 4, 0.2L, 0.2L});
  form.ShowFunction();
  form.show();
  EXPECT_EQ(form.windowTitle(), "Пологая оболочка: размеры и характеристики");
  EXPECT_EQ(Find<QLabel>(form, "Lbl_FunctionName")->text(), "Эллиптический паррабаллоид");
  ASSERT_EQ(form.ParamEdits.size(), 4u);
  const int tops[] = {34, 67, 100, 133};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(form.ParamEdits[static_cast<std::size_t>(i)]->geometry().top(), tops[i]);
    EXPECT_EQ(form.ParamEdits[static_cast<std::size_t>(i)]->geometry().left(), 90);
  }
  EXPECT_EQ(Find<QLabel>(form, "ParamLabel3")->text(), "Стрела f1");
  EXPECT_EQ(Find<TFloatEdit>(form, "ParamEdit2")->text(), "4");
  EXPECT_TRUE(Find<TFloatEdit>(form, "FloatEdit_X")->isReadOnly());
  EXPECT_EQ(Find<TFloatEdit>(form, "FloatEdit_Y")->text(), "2");
  EXPECT_FALSE(Find<QPushButton>(form, "Btn_Choice")->isEnabled());
  testing::Grab(form, "dlg_shell_data");

  TShellDataForm sphere;
  sphere.SetKind(3);
  sphere.SetParams({4, 1});
  sphere.ShowFunction();
  sphere.show();
  ASSERT_EQ(sphere.ParamEdits.size(), 2u);
  EXPECT_EQ(Find<QLabel>(sphere, "ParamLabel1")->text(), "пролет a=");
  EXPECT_EQ(Find<QLabel>(sphere, "Lbl_Function")->text(), "Z=f*(x^2+y^2)/a^2");
  testing::Grab(sphere, "dlg_shell_data_sphere");
}

class ShellListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    AddShell(project.ShellFuncs(), 0, FloatPoint3D(0, 0, 0), 0, {10, 10, 0.2L, 0.2L}, 255);
    AddShell(project.ShellFuncs(), 3, FloatPoint3D(0, 0, 0), 0, {4, 1}, 0xFF0000);
  }
  TVelEditorProject project;
  ScriptedMessages messages;
};

TEST_F(ShellListTest, RowsEditAndDeleteAtOnce) {
  TShellsFuncsForm form(&project.ShellFuncs());
  form.show();
  QTableWidget* grid = Find<QTableWidget>(form, "StrGrid_ShellsFuncs");
  ASSERT_EQ(grid->rowCount(), 2);
  EXPECT_EQ(grid->item(0, 0)->text(), "Эллиптический параболлоид");
  EXPECT_EQ(grid->item(0, 4)->text(), "10");
  EXPECT_EQ(grid->item(0, 6)->background().color(), QColor(255, 0, 0));
  EXPECT_EQ(grid->columnWidth(3), 90);
  EXPECT_FALSE(Find<QPushButton>(form, "Btn_Add")->isEnabled());
  testing::Grab(form, "dlg_shell_list");

  // Editing the sphere: its own two parameters, its curvatures follow.
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    auto& data = static_cast<TShellDataForm&>(d);
    EXPECT_EQ(data.ParamEdits.size(), 2u);
    data.findChild<TFloatEdit*>("FloatEdit_X")->setText("99");
    data.ParamEdits[0]->setText("8");
    data.ParamEdits[1]->setText("2");
    data.findChild<QPushButton*>("Btn_OK")->click();
    return d.result();
  });
  grid->selectRow(1);
  const Extended anchorX = TShellFunctions::AsSphere(project.ShellFuncs().At(1))->Origin.X;
  QTest::mouseClick(Find<QPushButton>(form, "Btn_Edit"), Qt::LeftButton);
  const TEditorSphere* sp = TShellFunctions::AsSphere(project.ShellFuncs().At(1));
  ASSERT_NE(sp, nullptr);
  EXPECT_EQ(sp->GetA(), 8);
  EXPECT_NEAR(static_cast<double>(sp->Kx), 0.25, 1e-15);
  EXPECT_EQ(sp->Origin.X, anchorX);  // the anchor boxes are not read back

  // Delete removes the selected surface at once: no question is asked.
  grid->selectRow(0);
  QTest::mouseClick(Find<QPushButton>(form, "Btn_Delete"), Qt::LeftButton);
  EXPECT_EQ(project.ShellFuncs().Count(), 1);
  EXPECT_EQ(grid->rowCount(), 1);
  EXPECT_EQ(grid->item(0, 0)->text(), "Сфера");
}

TEST_F(ShellListTest, ParaboloidFromTheSeamEndToEnd) {
  EditorModelDialogs dialogs(messages);
  TShellFunctions& shells = project.ShellFuncs();
  shells.FreeAll();
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QPushButton*>("OK_Btn")->click();
    return d.result();
  });
  script.Dialogs.push_back([](QDialog& d) {
    auto& data = static_cast<TShellDataForm&>(d);
    data.ParamEdits[0]->setText("6");
    data.ParamEdits[1]->setText("4");
    data.findChild<QPushButton*>("Btn_OK")->click();
    return d.result();
  });
  ViewTransform plan;
  plan.Projection = Projection::XY;
  const AddShellResult r = AddByDialog(shells, FloatPoint3D(0, 4, 0), FloatPoint3D(6, 0, 0), 0, plan, dialogs);
  ASSERT_EQ(r.Outcome, AddShellOutcome::Added);
  const TEditorShellEP* ep = TShellFunctions::AsParaboloid(shells.At(0));
  ASSERT_NE(ep, nullptr);
  EXPECT_EQ(ep->GetA(), 6);
  EXPECT_EQ(ep->GetB(), 4);
  EXPECT_EQ(ep->GetF1(), 0.2L);
  script.Dialogs.push_back([](QDialog& d) {
    EXPECT_EQ(d.objectName(), "ShellsFuncsForm");
    d.findChild<QPushButton*>("Btn_Close")->click();
    return d.result();
  });
  dialogs.ShellList(shells);
  EXPECT_EQ(shells.Count(), 1);
}

}  // namespace
}  // namespace tavir
