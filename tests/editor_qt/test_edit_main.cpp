// The editor's main strip, its command set states and the new task, driven by
// action and widget names.
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include <functional>
#include <set>

#include "editor/new_task_dialog_rules.h"
#include "editor/task_items.h"
#include "editor_qt/edit_fixture.h"
#include "fakes/told_frame.h"
#include "platform/qt/radio_group.h"

namespace tavir::test {

namespace {

const char* const kMenuButtons[] = {"ToolBtn_MenuFile",   "ToolBtn_MenuEdit",    "ToolBtn_MenuView",
                                    "ToolBtn_MenuInput",  "ToolBtn_MenuInsert",  "ToolBtn_MenuFormat",
                                    "ToolBtn_MenuService", "ToolBtn_MenuWindow", "ToolBtn_MenuHelp"};

}  // namespace

TEST_F(EditorFixture, StartLeavesOnlyFileAndHelpWorking) {
  EXPECT_EQ(Main().windowTitle(), "Программный комплекс \"Тавир\" - редактор");
  for (const char* name : kMenuButtons) {
    QToolButton* b = Main().MenuButton(name);
    ASSERT_NE(b, nullptr) << name;
    const bool works = std::string(name) == "ToolBtn_MenuFile" || std::string(name) == "ToolBtn_MenuHelp";
    EXPECT_EQ(b->isEnabled(), works) << name;
  }
  // The task bars are hidden, the panels menu does not open, the task commands are off.
  for (int i : {kBarInputMode, kBarGrid, kBar2DElements, kBar3DElements, kBarInsert, kBarTemps, kBarScale,
                kBarService})
    EXPECT_TRUE(Main().Bar(i)->isHidden()) << i;
  EXPECT_FALSE(Main().Bar(kBarMainMenu)->isHidden());
  EXPECT_FALSE(Main().Bar(kBarStandart)->isHidden());
  EXPECT_EQ(Main().PanelsMenu(), nullptr);
  for (const char* name : {"acFileSave", "acFileSaveAs", "acFilePrint", "acEditDelete", "acInput_Rest"})
    EXPECT_FALSE(Action(name)->isEnabled()) << name;
  EXPECT_TRUE(Action("acFileNew")->isEnabled());
  EXPECT_TRUE(Action("acFileOpen")->isEnabled());
  // No editing window yet.
  EXPECT_EQ(Commands().Windows().Count(), 0);
}

TEST_F(EditorFixture, MainFormIsAStripAsHighAsItsBars) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  // The frame, not the client area, spans the screen and starts at its top.
  EXPECT_EQ(Main().frameGeometry().width(), screen.width());
  EXPECT_EQ(Main().frameGeometry().topLeft(), screen.topLeft());
  int bottom = 0;
  for (int i = 0; i < kEditorBarCount; ++i)
    if (!Main().Bar(i)->isHidden()) bottom = std::max(bottom, Main().Bar(i)->geometry().bottom() + 1);
  EXPECT_GT(bottom, 0);
  EXPECT_EQ(Main().height(), bottom);
  const QPixmap strip = Main().grab();
  QDir().mkpath(TAVIR_PICTURES);
  EXPECT_TRUE(strip.save(QString(TAVIR_PICTURES) + "/editor_main_strip.png"));
}

// Told the frame a window manager draws (it tells it only once the window is
// shown), the main strip stands as a maximised window: its title bar, which
// names the open project, and its borders on the screen; it stays so when the
// strip grows with a project's bars, and a desk opened then is whole on it too.
TEST_F(EditorFixture, TheMainStripShowsItsWholeFrameOnceTheFrameIsTold) {
  ASSERT_TRUE(TellFrame(Main()));
  EXPECT_TRUE(StandsAsTopStrip(Main()));
  const int before = Main().height();
  NewTask(6, 4);
  EXPECT_GT(Main().height(), before);
  EXPECT_TRUE(StandsAsTopStrip(Main()));
  TMainDesk* desk = Desk(0);
  ASSERT_NE(desk, nullptr);
  // Put where only its client area fits the screen's corner, it comes whole
  // onto the screen once its frame is told.
  const QRect area = desk->screen()->availableGeometry();
  desk->setGeometry(QRect(area.bottomRight() - QPoint(desk->width() - 1, desk->height() - 1), desk->size()));
  ASSERT_TRUE(TellFrame(*desk));
  EXPECT_TRUE(area.contains(desk->geometry().marginsAdded(kToldFrame)));
}

TEST_F(EditorFixture, EveryActionIsLaidOutWithItsCaptionAndInertOnesDoNothing) {
  int inert = 0;
  for (const ActionInfo& info : EditorActions()) {
    QAction* a = Action(std::string(info.Name).c_str());
    ASSERT_NE(a, nullptr) << info.Name;
    EXPECT_EQ(a->text().toStdString(), std::string(info.Caption)) << info.Name;
    if (info.Kind != ActionKind::Handler) ++inert;
  }
  // The toolkit's clipboard actions count among the commands without a handler.
  EXPECT_EQ(inert, 44);
  NewTask(6, 4);
  const std::size_t before = Project().Elements().Count();
  for (const ActionInfo& info : EditorActions())
    if (info.Kind == ActionKind::Inert) Run(std::string(info.Name).c_str());
  EXPECT_EQ(Project().Elements().Count(), before);
  // Every inert action stands in a menu or a bar.
  std::set<QString> placed;
  for (QWidget* w : Main().findChildren<QToolBar*>())
    for (QAction* a : w->actions()) placed.insert(a->objectName());
  std::function<void(QMenu*)> walk = [&](QMenu* m) {
    for (QAction* a : m->actions()) {
      placed.insert(a->objectName());
      if (a->menu() != nullptr) walk(a->menu());
    }
  };
  for (const char* m : {"PupMenu_File", "PupMenu_Edit", "PupMenu_View", "PupMenu_Input", "PupMenu_Insert",
                        "PupMenu_Format", "PupMenu_Service", "PupMenu_Window", "PupMenu_Help"})
    walk(program->Menus().Menu(m));
  for (const ActionInfo& info : EditorActions())
    if (info.Kind == ActionKind::Inert && info.Name != "acWinParams") {
      EXPECT_TRUE(placed.count(QString::fromUtf8(info.Name.data(), static_cast<int>(info.Name.size()))))
          << info.Name;
    }
}

TEST_F(EditorFixture, NewTaskMakesTheMainWindowWithCaptionAndGrid) {
  NewTask(6, 4);
  EXPECT_EQ(Main().windowTitle(), "Программный комплекс \"Тавир\" - редактор [NoName.tps]");
  ASSERT_EQ(Commands().Windows().Count(), 1);
  TMainDesk* desk = Desk(0);
  ASSERT_NE(desk, nullptr);
  EXPECT_TRUE(desk->isVisible());
  EXPECT_TRUE(desk->windowTitle().startsWith("Главное окно") || !desk->windowTitle().isEmpty());
  const TEditorWindow& w = Commands().Windows().Items(0);
  EXPECT_EQ(static_cast<double>(w.WorkWindow.MaxPoint.X), 6.0);
  EXPECT_EQ(static_cast<double>(w.WorkWindow.MaxPoint.Y), 4.0);
  for (const char* name : kMenuButtons) EXPECT_TRUE(Main().MenuButton(name)->isEnabled()) << name;
  EXPECT_NE(Main().PanelsMenu(), nullptr);
  EXPECT_TRUE(Action("acFileSave")->isEnabled());
  // The task's commands: plate dimension, edit mode.
  EXPECT_TRUE(Action("acModeEdit")->isChecked());
  EXPECT_FALSE(Action("ac2DTriangle")->isEnabled());
  EXPECT_TRUE(Action("acPlaneRectangle")->isEnabled());
  // The grid is drawn on the white picture: some pixels are not white.
  desk->Repaint();
  const QImage picture = desk->Picture();
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(NonWhitePixels(picture), 10);
}

TEST_F(EditorFixture, CancelledNewTaskLeavesNoProject) {
  DialogScript script;
  script.Answers.push_back(QMessageBox::Ok);
  script.Dialogs.push_back([](QDialog& d) {
    d.reject();
    return d.result();
  });
  Run("acFileNew");
  EXPECT_EQ(Commands().Windows().Count(), 0);
  EXPECT_FALSE(Main().MenuButton("ToolBtn_MenuEdit")->isEnabled());
  ASSERT_EQ(script.Boxes.size(), 1u);
  EXPECT_EQ(script.Boxes[0].Title, "Новый проект");
}

TEST(NewTaskRules, RegionPutRightAxisByAxis) {
  const RegionCheck r = CheckRegion(FloatPoint3D(8, 5, 1), FloatPoint3D(2, 5, 4));
  EXPECT_EQ(r.Min.X, 2);
  EXPECT_EQ(r.Max.X, 8);
  EXPECT_EQ(r.Max.Y, 10);
  ASSERT_EQ(r.Warnings.size(), 1u);
  EXPECT_EQ(r.Warnings[0], EqualCoordinatesWarning(1));
  EXPECT_EQ(EqualCoordinatesWarning(1),
            "        Минимальная и максимальная координаты Y равны.\rПроизведена коррекция - минимальная "
            "координата удвоена.");
  for (std::uint8_t code = 0; code < 4; ++code) EXPECT_EQ(StatementOfItem(StatementItem(code)), code);
  for (std::uint8_t code = 0; code < 3; ++code) EXPECT_EQ(DimensionOfItem(DimensionItem(code)), code);
}

TEST_F(EditorFixture, NewTaskDialogReportsABadCoordinateAndKeepsItsValue) {
  DialogScript script;
  TNewTaskDlg dlg(program->Messages());
  dlg.SetTaskData(0, 0, 0, 10, 10, 10);
  EXPECT_EQ(dlg.Coord[3]->text(), "10");
  dlg.Coord[4]->setText("abc");
  dlg.ReadCoordinates(5);
  ASSERT_EQ(script.Boxes.size(), 1u);
  EXPECT_EQ(script.Boxes[0].Text, "Ошибка в координате Ymax");
  EXPECT_EQ(script.Boxes[0].Title, "Ошибка!!!");
  EXPECT_EQ(static_cast<double>(dlg.MaxCorner.Y), 10.0);
  // Two-dimensional and plate tasks have no Z.
  dlg.RG_TaskDim->SetItemIndex(1);
  EXPECT_FALSE(dlg.Coord[2]->isEnabled());
  dlg.RG_TaskDim->SetItemIndex(0);
  EXPECT_TRUE(dlg.Coord[5]->isEnabled());
}

TEST_F(EditorFixture, PanelSwitchAndPanelsDialog) {
  NewTask(6, 4);
  const bool before = !Main().Bar(kBarGrid)->isHidden();
  Run("acPanelGrid");
  EXPECT_EQ(!Main().Bar(kBarGrid)->isHidden(), !before);
  EXPECT_EQ(Action("acPanelGrid")->isChecked(), !before);
  Run("acPanelGrid");
  EXPECT_EQ(!Main().Bar(kBarGrid)->isHidden(), before);
  // "Восстановить" then OK shows exactly bars 0..5; then Cancel changes nothing.
  {
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<TPDlg_ToolBox&>(d);
      dlg.Btn_Resurrect->click();
      dlg.OKBtn->click();
      return dlg.result();
    });
    Run("acViewPanels");
  }
  for (int i = 0; i < kEditorBarCount; ++i) EXPECT_EQ(!Main().Bar(i)->isHidden(), i <= 5) << i;
  {
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      auto& dlg = static_cast<TPDlg_ToolBox&>(d);
      for (int i = 0; i < kEditorBarCount; ++i) dlg.ChLB_Panels->item(i)->setCheckState(Qt::Checked);
      dlg.CancelBtn->click();
      return dlg.result();
    });
    Run("acViewPanels");
  }
  for (int i = 0; i < kEditorBarCount; ++i) EXPECT_EQ(!Main().Bar(i)->isHidden(), i <= 5) << i;
  // The strip still ends where its visible bars end, each row within its width.
  int bottom = 0;
  for (int i = 0; i < kEditorBarCount; ++i) {
    if (Main().Bar(i)->isHidden()) continue;
    bottom = std::max(bottom, Main().Bar(i)->geometry().bottom() + 1);
    EXPECT_LE(Main().Bar(i)->geometry().right(), Main().width()) << i;
  }
  EXPECT_EQ(Main().height(), bottom);
}

// The panel dialog stands in the middle of the screen, not over the thin strip at
// its top that owns it.
TEST_F(EditorFixture, PanelsDialogIsCentredOnTheScreen) {
  std::array<bool, kEditorBarCount> visible{};
  visible.fill(true);
  TPDlg_ToolBox dlg(visible, &Main());
  dlg.show();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint centre = dlg.frameGeometry().center();
  EXPECT_LE(std::abs(centre.x() - screen.center().x()), 2);
  EXPECT_LE(std::abs(centre.y() - screen.center().y()), 2);
}

TEST_F(EditorFixture, ExpertLevelShowsOnlyTheBasicBars) {
  Supervisor().Options.SetUserKind(2);
  NewTask(6, 4);
  for (int i = 0; i < kEditorBarCount; ++i)
    EXPECT_EQ(!Main().Bar(i)->isHidden(), i == kBarMainMenu || i == kBarStandart || i == kBarInputMode ||
                                              i == kBarGrid)
        << i;
}

TEST_F(EditorFixture, InfoAndAboutBoxes) {
  NewTask(6, 4);
  DialogScript script;
  QString file, nodes;
  script.Dialogs.push_back([&](QDialog& d) {
    auto& f = static_cast<TInfoForm&>(d);
    EXPECT_EQ(f.windowTitle(), "Информация о проекте");
    file = f.Lbl_ProjFileName->text();
    nodes = f.Lbl_NumNodes->text();
    // Any key closes the box.
    QTest::keyClick(&f, Qt::Key_A);
    return f.result();
  });
  script.Dialogs.push_back([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "О программе \"Тавир\"");
    d.accept();
    return d.result();
  });
  Run("acHelpProjectInfo");
  Run("acHelpAbout");
  EXPECT_EQ(file, "NoName.tps");
  EXPECT_EQ(nodes, "0");
  EXPECT_EQ(script.Seen.size(), 2u);
}

TEST_F(EditorFixture, ExitEndsTheProgram) {
  Run("acFileExit");
  EXPECT_EQ(exits, 1);
  EXPECT_FALSE(Main().isVisible());
}

}  // namespace tavir::test
