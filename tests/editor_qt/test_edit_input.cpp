// The input commands, the window and grid commands and the dialogs they open,
// shown on the actions and driven through the real forms.
#include <QCheckBox>
#include <QClipboard>
#include <QListWidget>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>

#include "editor/qt/dlg_param.h"
#include "editor/qt/dlg_win_list.h"
#include "editor/qt/editor_dialogs.h"
#include "editor/qt/shared/grid_dialog.h"
#include "editor_qt/edit_fixture.h"
#include "platform/qt/float_edit.h"
#include "platform/qt/radio_group.h"

namespace tavir::test {

class EditorInputTest : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    MeshedPlate();
    ASSERT_EQ(Project().Elements().Count(), 24);
  }
};

TEST_F(EditorInputTest, ElementTypesAndDimensionsOnTheActions) {
  Run("acPlaneTriangle");
  EXPECT_TRUE(Action("acPlaneTriangle")->isChecked());
  EXPECT_FALSE(Action("acPlaneRectangle")->isChecked());
  EXPECT_EQ(Supervisor().ElementType, ElementType::Triangle);
  Run("acDimension_3D");
  EXPECT_TRUE(Action("ac3DCube")->isEnabled());
  EXPECT_FALSE(Action("acPlaneRod")->isEnabled());
  Run("acDimension_Planes");
  for (const char* on : {"acPlaneTriangle", "acPlaneRectangle", "acPlaneRod"})
    EXPECT_TRUE(Action(on)->isEnabled()) << on;
  for (const char* off : {"ac3DCube", "ac3DTetra", "ac3DRod", "ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle",
                          "ac2dRod"})
    EXPECT_FALSE(Action(off)->isEnabled()) << off;
  Run("acEvulDinamic");
  EXPECT_TRUE(Action("acEvulDinamic")->isChecked());
  EXPECT_FALSE(Action("acEvulStatic")->isChecked());
  EXPECT_EQ(Supervisor().Task.EvulKind, 1);
}

TEST_F(EditorInputTest, ExactlyOneModeIsCheckedAfterEachModeCommand) {
  for (const char* mode : {"acModeKnot", "acModeNet", "acModeFrame", "acInput_Rest", "acForceConcentrate",
                           "acForceDispersion", "acDisplacement", "acModeEdit"}) {
    Run(mode);
    int checked = 0;
    for (std::string_view m : kModeActions)
      if (Action(std::string(m).c_str())->isChecked()) ++checked;
    EXPECT_EQ(checked, 1) << mode;
    EXPECT_TRUE(Action(mode)->isChecked()) << mode;
  }
  Run("acEditor_SetSurface");
  for (std::string_view m : kModeActions) EXPECT_FALSE(Action(std::string(m).c_str())->isChecked()) << m;
}

TEST_F(EditorInputTest, SupportDialogSetsTheDefaultSupport) {
  Run("AcRests_RestXYZ");
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    auto& f = static_cast<TSuppForm&>(d);
    EXPECT_EQ(f.windowTitle(), "Граничные условия");
    EXPECT_TRUE(f.Boxes[0]->isChecked());
    EXPECT_TRUE(f.Boxes[2]->isChecked());
    EXPECT_FALSE(f.Boxes[3]->isChecked());
    EXPECT_FALSE(f.Boxes[5]->isEnabled());
    f.Boxes[3]->setChecked(true);
    f.RGroup_Direction->SetItemIndex(1);
    f.Btn_OK->click();
    return f.result();
  });
  Run("acRests_ChoiceRest");
  EXPECT_EQ(Supervisor().DefFixation, (TFixation{1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(Supervisor().DefDirection, 1);
  EXPECT_EQ(Main().RestButton()->defaultAction(), Action("acRests_ChoiceRest"));
  // Cancel changes nothing.
  script.Dialogs.push_back([](QDialog& d) {
    auto& f = static_cast<TSuppForm&>(d);
    f.Boxes[0]->setChecked(false);
    f.Btn_Cancel->click();
    return f.result();
  });
  Run("acRests_ChoiceRest");
  EXPECT_EQ(Supervisor().DefFixation, (TFixation{1, 1, 1, 1, 0, 0}));
}

TEST_F(EditorInputTest, TheLoadDialogLivesForTheLoadModes) {
  Run("acForceConcentrate");
  QPointer<TForcesForm> form = Dm().ForcesForm();
  ASSERT_FALSE(form.isNull());
  EXPECT_EQ(form->windowTitle(), "Нагрузка");
  EXPECT_FALSE(form->Edits[5]->isEnabled());  // Mz
  Click(3, 4);
  EXPECT_EQ(Project().Knots().Selection().size(), 1u);
  // Switching to distributed loads keeps the dialog and drops the picked knots.
  Run("acForceDispersion");
  EXPECT_EQ(Dm().ForcesForm(), form.data());
  EXPECT_TRUE(Project().Knots().Selection().empty());
  // A click on an element fills the dialog and enables its buttons; Apply loads it.
  Click(0.5, 3.5);
  ASSERT_EQ(Project().Elements().Selection().size(), 1u);
  EXPECT_TRUE(form->Btn_Apply->isEnabled());
  form->Edits[2]->SetValue(-5);
  form->Btn_Apply->click();
  EXPECT_EQ(Project().DispForces().Count(), 1);
  EXPECT_EQ(static_cast<double>(Supervisor().DefDispForce.Pz), -5.0);
  // Another mode frees it.
  Run("acModeFrame");
  EXPECT_EQ(Dm().ForcesForm(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form.isNull());
}

TEST_F(EditorInputTest, FrameSelectionSelectsElementsInTheBand) {
  Run("acModeEdit");
  Run("AcEdit_SelectFrame");
  EXPECT_TRUE(Action("AcEdit_SelectFrame")->isChecked());
  EXPECT_EQ(Supervisor().InputMode, InputMode::FrameSelection);
  Drag(0.1, 3.9, 2.9, 2.1);  // over the top two rows of the first three columns
  EXPECT_EQ(Project().Elements().Selection().size(), 6u);
  EXPECT_TRUE(Action("AcEdit_SelectFrame")->isChecked());  // the mode stays
  Run("AcEdit_SelectFrame");
  EXPECT_EQ(Supervisor().InputMode, InputMode::Pick);
  Run("AcEdit_ClearSelection");
  EXPECT_TRUE(Project().Elements().Selection().empty());
  Run("AcEdit_SelectAll");
  EXPECT_EQ(Project().Elements().Selection().size(), 24u);
  EXPECT_EQ(Project().Knots().Selection().size(), 35u);
}

TEST_F(EditorInputTest, SupportsFromTheSelectedKnots) {
  Run("acModeEdit");
  for (double y : {0.0, 1.0, 2.0}) Click(6, y, Qt::ControlModifier);
  ASSERT_EQ(Project().Knots().Selection().size(), 3u);
  Run("AcRests_RestZ");
  Run("acInput_Rest");
  EXPECT_EQ(Project().Supports().Count(), 3);
  EXPECT_TRUE(Project().Knots().Selection().empty());
  // With Ctrl held a click in the supports mode does nothing.
  Click(0, 0, Qt::ControlModifier);
  EXPECT_EQ(Project().Supports().Count(), 3);
  Click(0, 0);
  EXPECT_EQ(Project().Supports().Count(), 4);
}

// The supports that the command gives the selected knots are drawn at once, as a
// click in the supports mode draws its support.
TEST_F(EditorInputTest, SupportsFromTheSelectedKnotsAreDrawnAtOnce) {
  Run("acModeEdit");
  Desk()->Repaint();
  auto supportPixels = [this] { return PixelsOf(Desk()->Picture(), qRgb(0, 0, 128)); };
  const int before = supportPixels();
  for (double x : {1.0, 2.0, 3.0}) Click(x, 3, Qt::ControlModifier);
  Run("AcRests_RestFixed");
  Run("acInput_Rest");
  ASSERT_EQ(Project().Supports().Count(), 3);
  EXPECT_GT(supportPixels(), before + 3 * 10);
}

TEST_F(EditorInputTest, WindowsListNextPreviousAndDeleteAll) {
  Run("acWinNew");
  Drag(0, 0, 3, 2);
  ASSERT_EQ(Commands().Windows().Count(), 2);
  EXPECT_EQ(Supervisor().CurrentWindow, 1);
  EXPECT_TRUE(Action("acModeEdit")->isChecked());
  Run("acWinNext");
  EXPECT_EQ(Supervisor().CurrentWindow, 0);
  Run("acWinPred");
  EXPECT_EQ(Supervisor().CurrentWindow, 1);
  // The window list names the windows and shows the chosen one's box.
  DialogScript script;
  QStringList lines;
  QString xmax;
  script.Dialogs.push_back([&](QDialog& d) {
    auto& dlg = static_cast<TWinListDlg&>(d);
    EXPECT_EQ(dlg.windowTitle(), "Список окон");
    for (int i = 0; i < dlg.WinListBox->count(); ++i) lines << dlg.WinListBox->item(i)->text();
    dlg.WinListBox->setCurrentRow(1);
    xmax = dlg.Lbl_Win[1]->text();  // Lbl_WinXmax
    dlg.WinListBox->setCurrentRow(0);
    dlg.OKBtn->click();
    return dlg.result();
  });
  Run("acWinList");
  EXPECT_EQ(lines, (QStringList{"Главное окно", "Окно №1"}));
  EXPECT_EQ(xmax, "3");
  EXPECT_EQ(Supervisor().CurrentWindow, 0);
  Run("acWinDelAll");
  EXPECT_EQ(Commands().Windows().Count(), 1);
  EXPECT_FALSE(Action("acWinDel")->isEnabled());
  EXPECT_FALSE(Action("acWinDelAll")->isEnabled());
}

TEST_F(EditorInputTest, GridCommandsAndTheGridDialog) {
  Run("acNetLine");
  EXPECT_TRUE(Action("acNetLine")->isChecked());
  EXPECT_FALSE(Action("acNetDot")->isChecked());
  EXPECT_EQ(Commands().Windows().Items(0).Grid().Style, 2);
  const bool shown = Action("acModeShowGrid")->isChecked();
  Run("acModeShowGrid");
  EXPECT_EQ(Action("acModeShowGrid")->isChecked(), !shown);
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    auto& g = static_cast<TGridDialog&>(d);
    g.ComboBox_GridStyle->setCurrentIndex(1);
    g.CheckBox_SnapToGrid->setChecked(true);
    g.accept();
    return g.result();
  });
  Run("acNetParametr");
  EXPECT_EQ(Commands().Windows().Items(0).Grid().Style, 1);
  EXPECT_TRUE(Action("acNetCross")->isChecked());
  EXPECT_TRUE(Action("acModeSnapGrid")->isChecked());
}

// The grid commands show their change on the current window whether or not its
// desk was already the active window (bringing it forward then repaints nothing).
TEST_F(EditorFixture, GridCommandsShowTheirChangeAtOnce) {
  NewTask(6, 4);
  Desk()->activateWindow();
  QApplication::processEvents();
  Desk()->Repaint();
  auto gridPixels = [this] { return PixelsOf(Desk()->Picture(), qRgb(255, 0, 0)); };
  const int dots = gridPixels();
  ASSERT_GT(dots, 0);
  Run("acModeShowGrid");
  EXPECT_EQ(gridPixels(), 0);
  Run("acModeShowGrid");
  EXPECT_EQ(gridPixels(), dots);
  Run("acNetLine");
  EXPECT_GT(gridPixels(), 10 * dots);
  Run("acNetDot");
  EXPECT_EQ(gridPixels(), dots);
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    auto& g = static_cast<TGridDialog&>(d);
    g.ComboBox_GridStyle->setCurrentIndex(2);
    g.accept();
    return g.result();
  });
  Run("acNetParametr");
  EXPECT_GT(gridPixels(), 10 * dots);
}

TEST_F(EditorInputTest, StatusBarCommandFollowsTheDesk) {
  TMainDesk* desk = Desk();
  ASSERT_FALSE(desk->StatusBar()->isHidden());
  Run("acViewStatusBar");
  EXPECT_TRUE(desk->StatusBar()->isHidden());
  EXPECT_FALSE(Action("acViewStatusBar")->isChecked());
  Run("acViewStatusBar");
  EXPECT_FALSE(desk->StatusBar()->isHidden());
  EXPECT_TRUE(Action("acViewStatusBar")->isChecked());
}

TEST_F(EditorInputTest, SettingsOkRunsTheChosenLevelsPreset) {
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    auto& f = static_cast<TParamForm&>(d);
    f.RGroup_User->SetItemIndex(2);
    f.Btn_OK->click();
    return f.result();
  });
  Run("acServiceParam");
  EXPECT_EQ(Supervisor().Options.UserKind, 2);
  EXPECT_TRUE(Main().Bar(kBarService)->isHidden());
  EXPECT_TRUE(Main().Bar(kBarScale)->isHidden());
  EXPECT_FALSE(Main().Bar(kBarGrid)->isHidden());
}

TEST_F(EditorInputTest, ClipboardCommandsActOnTheFocusedTextField) {
  QLineEdit edit;
  edit.setText("12.5");
  edit.show();
  edit.activateWindow();
  edit.setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));
  edit.selectAll();
  Run("acEditCopy");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "12.5");
  Run("acEditCut");
  EXPECT_TRUE(edit.text().isEmpty());
  Run("acEditPaste");
  EXPECT_EQ(edit.text(), "12.5");
}

}  // namespace tavir::test

namespace tavir::test {

TEST_F(EditorInputTest, ElementPropertiesGoThroughTheModelDialogs) {
  // No element selected: the question, then the dialog on the default layers.
  {
    DialogScript script;
    script.Answers.push_back(QMessageBox::Ok);
    Run("acFormatElement");
    ASSERT_EQ(script.Boxes.size(), 1u);
    EXPECT_EQ(script.Boxes[0].Title, "Свойства элемента");
    EXPECT_EQ(modelDialogs.ElementCalls.size(), 1u);
  }
  // One element selected: its own properties, no question.
  Run("acModeEdit");
  Click(0.5, 3.5);
  ASSERT_EQ(Project().Elements().Selection().size(), 1u);
  {
    DialogScript script;
    Run("acFormatElement");
    EXPECT_TRUE(script.Boxes.empty());
    EXPECT_EQ(modelDialogs.ElementCalls.size(), 2u);
  }
  // Several selected: the question first; Cancel opens nothing.
  Click(1.5, 3.5);
  {
    DialogScript script;
    script.Answers.push_back(QMessageBox::Cancel);
    Run("acFormatElement");
    ASSERT_EQ(script.Boxes.size(), 1u);
    EXPECT_TRUE(script.Boxes[0].Text.startsWith("Выделено более одного элемента!"));
    EXPECT_EQ(modelDialogs.ElementCalls.size(), 2u);
  }
}

TEST_F(EditorInputTest, HintsAndApplicationWideShortcuts) {
  QAction* fileNew = Action("acFileNew");
  EXPECT_EQ(fileNew->toolTip(), "Новый");
  EXPECT_EQ(fileNew->statusTip(), "Создать новый файл");
  EXPECT_EQ(fileNew->shortcut(), QKeySequence("Ctrl+N"));
  for (const char* name : {"acFileNew", "acFileOpen", "acFileSave", "acEditDelete", "AcEdit_SelectAll", "acWinList"})
    EXPECT_EQ(Action(name)->shortcutContext(), Qt::ApplicationShortcut) << name;
  for (const ActionInfo& info : EditorActions()) {
    QAction* a = Action(std::string(info.Name).c_str());
    if (!info.Caption.empty()) {
      EXPECT_FALSE(a->statusTip().isEmpty()) << info.Name;
    }
  }
}

TEST_F(EditorFixture, NewTaskDialogOpensOnTheUnitBoxOfTen) {
  DialogScript script;
  script.Answers.push_back(QMessageBox::Ok);
  QStringList shown;
  script.Dialogs.push_back([&shown](QDialog& d) {
    auto& dlg = static_cast<TNewTaskDlg&>(d);
    for (QLineEdit* e : dlg.Coord) shown << e->text();
    EXPECT_EQ(dlg.RG_TaskDim->ItemIndex(), 2);  // plates and shells by default
    EXPECT_FALSE(dlg.Coord[2]->isEnabled());
    // Xmin = Xmax = 5: widened with its warning.
    dlg.Coord[0]->setText("5");
    dlg.Coord[3]->setText("5");
    dlg.accept();
    return dlg.result();
  });
  Run("acFileNew");
  EXPECT_EQ(shown, (QStringList{"0", "0", "0", "10", "10", "10"}));
  ASSERT_EQ(script.Boxes.size(), 2u);
  EXPECT_EQ(script.Boxes[1].Title, "Предупреждение");
  const TEditorWindow& w = Commands().Windows().Items(0);
  EXPECT_EQ(static_cast<double>(w.WorkWindow.MinPoint.X), 5.0);
  EXPECT_EQ(static_cast<double>(w.WorkWindow.MaxPoint.X), 10.0);
}

}  // namespace tavir::test

namespace tavir::test {

TEST_F(EditorInputTest, AClickOnALoadedKnotShowsItsLoad) {
  Run("acForceConcentrate");
  TForcesForm* form = Dm().ForcesForm();
  ASSERT_NE(form, nullptr);
  Click(6, 4);
  form->Edits[0]->SetValue(250);
  form->Btn_Apply->click();
  ASSERT_EQ(Project().ConcForces().Count(), 1);
  // A click elsewhere shows zeros, a click on the loaded knot its load.
  Click(0, 0);
  EXPECT_EQ(static_cast<double>(form->Edits[0]->Value()), 0.0);
  Click(6, 4);
  EXPECT_EQ(static_cast<double>(form->Edits[0]->Value()), 250.0);
  // Del in the point-load mode removes the load of the picked knot.
  Run("acEditDelete");
  EXPECT_EQ(Project().ConcForces().Count(), 0);
  EXPECT_EQ(Project().Elements().Count(), 24);
}

TEST_F(EditorInputTest, TheStatusBarShowsTheModelPointUnderThePointer) {
  TMainDesk* desk = Desk();
  desk->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(desk));
  desk->MouseMove(Pixel(2, 3), Qt::NoModifier);
  const QString text = desk->StatusText(0);
  EXPECT_FALSE(text.isEmpty());
  EXPECT_TRUE(text.contains('2') && text.contains('3')) << text.toStdString();
}

TEST_F(EditorInputTest, MaterialsOpenTheMaterialChooser) {
  DialogScript script;
  QString title;
  script.Dialogs.push_back([&title](QDialog& d) {
    title = d.windowTitle();
    d.reject();
    return d.result();
  });
  Run("acFormatCharacteristic");
  EXPECT_EQ(title, "Материалы");
  EXPECT_EQ(Project().Materials().Count(), 1);
}

}  // namespace tavir::test
