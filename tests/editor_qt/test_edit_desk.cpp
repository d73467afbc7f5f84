// Editing windows driven by the mouse and the commands: elements, the mesh, the
// band optimisation, supports and loads, save and open, the analysis program's
// loader, printing, and the faults the forms must not bring back.
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "editor_qt/edit_fixture.h"
#include "model/mesh_ops.h"
#include "model/symbols.h"
#include "platform/qt/float_edit.h"
#include "viewer/viewer_project.h"

namespace tavir::test {

namespace {

class NoStatus : public CalcStatus {
 public:
  void SetBar(long long, long long) override {}
  void SetLabel(const std::string&) override {}
  void SetBar2(long long, long long) override {}
  void SetLabel2(const std::string&) override {}
  void Pump() override {}
};

}  // namespace

using EditorDeskTest = EditorFixture;

TEST_F(EditorDeskTest, ClickedRectanglesAndTheDuplicateMessage) {
  NewTask(6, 4);
  Run("acPlaneRectangle");
  Run("acModeNet");
  EXPECT_TRUE(Action("acModeNet")->isChecked());
  Click(0.5, 0.5);
  EXPECT_EQ(Project().Elements().Count(), 1);
  Click(1.5, 0.5);
  EXPECT_EQ(Project().Elements().Count(), 2);
  DialogScript script;
  Click(0.5, 0.5);
  EXPECT_EQ(Project().Elements().Count(), 2);
  ASSERT_EQ(script.Boxes.size(), 1u);
  EXPECT_EQ(script.Boxes[0].Text, kRectangleExistsText);
  // The new elements are drawn into the picture at once.
  TMainDesk* desk = Desk();
  Click(0.5, 3.5);  // in the visible top of the picture
  const QImage picture = desk->Picture();
  const QPoint centre = Pixel(0.5, 3.5) - QPoint(desk->ScrollBox()->horizontalScrollBar()->value(),
                                                  desk->ScrollBox()->verticalScrollBar()->value());
  ASSERT_TRUE(picture.rect().contains(centre));
  EXPECT_GT(NonWhitePixels(picture), 50);
}

TEST_F(EditorDeskTest, FrameOpensTheMeshDialogAndMeshes) {
  MeshedPlate();
  ASSERT_EQ(modelDialogs.DivideCalls.size(), 1u);
  EXPECT_EQ(Project().Elements().Count(), 24);
  EXPECT_EQ(Project().Knots().Count(), 35);
  // The frame returns to the edit mode.
  EXPECT_TRUE(Action("acModeEdit")->isChecked());
  EXPECT_FALSE(Action("acModeFrame")->isChecked());
}

// The surface dialogs of a framed region take the activation from the desk, whose
// deactivation abandons the gesture while the release is still running.
TEST_F(EditorDeskTest, ADeskDeactivatedByTheDialogOfItsReleaseGoesOn) {
  NewTask(6, 4);
  Run("acEditor_SetSurface");
  modelDialogs.SurfaceKindAnswers.push_back(std::int16_t{0});
  modelDialogs.ShellDataAnswers.push_back(std::function<void(ShellDataValues&)>([this](ShellDataValues&) {
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(Desk(), &deactivate);
  }));
  Drag(1, 1, 4, 3);
  EXPECT_EQ(Project().ShellFuncs().Count(), 1);
  EXPECT_TRUE(Action("acModeEdit")->isChecked());
  EXPECT_EQ(Desk()->Logic().ActiveMode(), nullptr);
}

TEST_F(EditorDeskTest, OptimisationShowsTheBandBeforeAndAfter) {
  MeshedPlate();
  const std::int64_t before = MeshBandWidth(Project().Elements());
  DialogScript script;
  Run("acServiceOptimize");
  ASSERT_EQ(script.Boxes.size(), 1u);
  EXPECT_EQ(script.Boxes[0].Title, "Оптимизация");
  EXPECT_EQ(script.Boxes[0].Icon, QMessageBox::Information);
  EXPECT_EQ(script.Boxes[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  const std::int64_t after = MeshBandWidth(Project().Elements());
  EXPECT_EQ(script.Boxes[0].Text.toStdString(), "Лента до оптимизации: " + std::to_string(before) +
                                                     "\nЛента после оптимизации: " + std::to_string(after));
  EXPECT_LE(after, before);
}

TEST_F(EditorDeskTest, SupportsPointLoadSaveReopenAndSolve) {
  MeshedPlate();
  // Supports along the left edge, fixed.
  Run("AcRests_RestFixed");
  EXPECT_EQ(program->MainForm().RestButton()->defaultAction(), Action("AcRests_RestFixed"));
  Run("acInput_Rest");
  EXPECT_TRUE(Action("acInput_Rest")->isChecked());
  for (int y = 0; y <= 4; ++y) Click(0, y);
  EXPECT_EQ(Project().Supports().Count(), 5);
  // The support pictures are drawn at the knots at once.
  auto count = [this](QRgb colour) { return PixelsOf(Desk()->Picture(), colour); };
  EXPECT_GT(count(qRgb(0, 0, 128)), 20);
  // A point load at the middle of the free-standing top edge through the load dialog.
  Run("acForceConcentrate");
  TForcesForm* form = Dm().ForcesForm();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  Click(3, 4);
  EXPECT_TRUE(form->Btn_OK->isEnabled());
  EXPECT_TRUE(form->Btn_Apply->isEnabled());
  form->Edits[2]->SetValue(-1000);
  form->Btn_Apply->click();
  EXPECT_EQ(Project().ConcForces().Count(), 1);
  EXPECT_EQ(static_cast<double>(Supervisor().DefConcForce.Pz), -1000.0);
  // Leaving the mode frees the dialog.
  Run("acModeEdit");
  EXPECT_EQ(Dm().ForcesForm(), nullptr);

  // The picture of the window with its mesh, supports and load.
  Desk()->Repaint();
  EXPECT_GT(count(qRgb(255, 0, 0)), 10);  // the load's arrow
  QDir().mkpath(TAVIR_PICTURES);
  EXPECT_TRUE(Desk()->grab().save(QString(TAVIR_PICTURES) + "/editor_window_mesh_supports_loads.png"));

  const std::filesystem::path dir = TempDir("save");
  const std::string first = (dir / "plate.tps").string();
  const std::string second = (dir / "plate2.tps").string();
  {
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(first));
    Run("acFileSave");  // NoName: asks for a name
    EXPECT_EQ(script.Seen, std::vector<QString>{"SaveDialog"});
  }
  EXPECT_EQ(Main().windowTitle(), "Программный комплекс \"Тавир\" - редактор [plate.tps]");
  ASSERT_TRUE(std::filesystem::exists(first));
  {
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(first));
    Run("acFileOpen");
  }
  EXPECT_EQ(Project().Elements().Count(), 24);
  EXPECT_EQ(Commands().Windows().Count(), 1);
  {
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(second));
    Run("acFileSaveAs");
  }
  EXPECT_EQ(FileBytes(first), FileBytes(second));
  {
    // Saving over an existing file names it in the question; Cancel keeps it.
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(first));
    script.Answers.push_back(QMessageBox::Cancel);
    Run("acFileSaveAs");
    ASSERT_EQ(script.Boxes.size(), 1u);
    EXPECT_EQ(script.Boxes[0].Title, "Сохранение файла");
    EXPECT_TRUE(script.Boxes[0].Text.contains(QString::fromStdString(first)));
  }

  // The analysis program's loader reads the file and solves it.
  QtMessageService messages;
  TViewerProject viewer(messages);
  ASSERT_TRUE(viewer.LoadProjectFile(second));
  EXPECT_EQ(viewer.Elements().Count(), 24);
  NoStatus status;
  ASSERT_TRUE(viewer.StaticCalculate(status));
  EXPECT_TRUE(viewer.HasResults());
  // The loaded corner moves down, the supported edge stays.
  bool moved = false;
  for (const Extended v : viewer.LoadVector())
    if (v != 0) moved = true;
  EXPECT_TRUE(moved);
}

TEST_F(EditorDeskTest, NewFromALoadModeThenCancelThenApplyDoesNotCrash) {
  MeshedPlate();
  Run("acForceConcentrate");
  QPointer<TForcesForm> form = Dm().ForcesForm();
  ASSERT_FALSE(form.isNull());
  Click(6, 4);
  DialogScript script;
  script.Answers = {QMessageBox::Ok, QMessageBox::No};  // new project: yes; save the changed one: no
  script.Dialogs.push_back([](QDialog& d) {
    d.reject();
    return d.result();
  });
  Run("acFileNew");
  EXPECT_EQ(Dm().ForcesForm(), nullptr);
  if (form) form->Btn_Apply->click();  // a click still queued for the closed dialog
  Run("acForce_ConcApply");
  Run("AcForce_DispApply");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(Project().ConcForces().Count(), 0);
  // The project stays and the editor is back in the edit mode.
  EXPECT_EQ(Project().Elements().Count(), 24);
  EXPECT_TRUE(Action("acModeEdit")->isChecked());
  // Only the new-project question and the one whether to save the changed project
  // were asked: no window asked to end the program.
  ASSERT_EQ(script.Boxes.size(), 2u);
  EXPECT_EQ(script.Boxes[0].Title, "Новый проект");
  EXPECT_EQ(script.Boxes[1].Title, kSaveChangesCaption);
}

TEST_F(EditorDeskTest, ANewTaskClearsTheWindowsWithoutAskingToEnd) {
  MeshedPlate();
  Run("acWinNew");
  Drag(0, 0, 3, 2);
  ASSERT_EQ(Commands().Windows().Count(), 2);
  QPointer<TMainDesk> old0 = Desk(0), old1 = Desk(1);
  DialogScript script;
  NewTask(6, 4, 10, &script, QMessageBox::No);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(old0.isNull());
  EXPECT_TRUE(old1.isNull());
  EXPECT_EQ(Commands().Windows().Count(), 1);
  for (const DialogScript::Box& b : script.Boxes) EXPECT_NE(b.Title, "Закрытие программы");
  EXPECT_EQ(exits, 0);
}

TEST_F(EditorDeskTest, DelPressedOnADeskDeletesTheSelection) {
  MeshedPlate();
  TMainDesk* desk = Desk();
  desk->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(desk));
  Run("acModeEdit");
  Click(0.5, 0.5);
  Click(1.5, 0.5);
  EXPECT_EQ(Project().Elements().Selection().size(), 2u);
  QTest::keyClick(desk->PaintBox(), Qt::Key_Delete);
  EXPECT_EQ(Project().Elements().Count(), 22);
  EXPECT_TRUE(Project().Elements().Selection().empty());
  // Wiping an element takes the edges it shares with its neighbours and the grid
  // under it off the picture: the desk, the active window already, then shows
  // what a repaint of the model shows.
  Click(2.5, 2.5);
  QTest::keyClick(desk->PaintBox(), Qt::Key_Delete);
  ASSERT_EQ(Project().Elements().Count(), 21);
  const QImage shown = desk->Picture();
  desk->Repaint();
  EXPECT_EQ(shown, desk->Picture());
}

// A support or point load that is removed or replaced leaves no stale symbol on the
// picture: after each change the desk shows what a repaint of the model shows.
TEST_F(EditorDeskTest, RemovedAndReplacedSymbolsLeaveThePicture) {
  MeshedPlate();
  TMainDesk* desk = Desk();
  auto showsTheModel = [desk] {
    const QImage shown = desk->Picture();
    desk->Repaint();
    return shown == desk->Picture();
  };
  // A click in the supports mode: a support, then none on the same knot.
  Run("AcRests_RestFixed");
  Run("acInput_Rest");
  Click(2, 2);
  ASSERT_EQ(Project().Supports().Count(), 1);
  EXPECT_TRUE(showsTheModel());
  Run("AcRests_NoRest");
  Click(2, 2);
  ASSERT_EQ(Project().Supports().Count(), 0);
  EXPECT_TRUE(showsTheModel());
  // The supports command on selected knots that have supports.
  Run("AcRests_RestFixed");
  Click(1, 2);
  Click(3, 2);
  Run("acModeEdit");
  Click(1, 2, Qt::ControlModifier);
  Click(3, 2, Qt::ControlModifier);
  Run("AcRests_NoRest");
  Run("acInput_Rest");
  ASSERT_EQ(Project().Supports().Count(), 0);
  EXPECT_TRUE(showsTheModel());
  // A point load, then a zero load, which removes it.
  Run("acForceConcentrate");
  Click(2, 2);
  TForceRecord down{};
  down.Pz = -5;
  Commands().LoadDialogApplied(down);
  ASSERT_EQ(Project().ConcForces().Count(), 1);
  EXPECT_TRUE(showsTheModel());
  Click(2, 2);
  Commands().LoadDialogApplied(TForceRecord{});
  ASSERT_EQ(Project().ConcForces().Count(), 0);
  EXPECT_TRUE(showsTheModel());
}

TEST_F(EditorDeskTest, APressMakesItsWindowCurrent) {
  MeshedPlate();
  Run("acWinNew");
  Drag(0, 0, 3, 2);
  ASSERT_EQ(Commands().Windows().Count(), 2);
  EXPECT_EQ(Supervisor().CurrentWindow, 1);
  Run("acModeEdit");
  TMainDesk* desk0 = Desk(0);
  const QPoint p = Pixel(4.5, 3.5, 0);
  desk0->MouseDown(Qt::LeftButton, p, Qt::NoModifier);
  desk0->MouseUp(Qt::LeftButton, p, Qt::NoModifier);
  EXPECT_EQ(Supervisor().CurrentWindow, 0);
  ASSERT_EQ(Project().Elements().Selection().size(), 1u);
}

TEST_F(EditorDeskTest, ClosingTheMainWindowAsksToEndTheProgram) {
  MeshedPlate();
  Run("acWinNew");
  Drag(0, 0, 3, 2);
  TMainDesk* second = Desk(1);
  second->close();
  EXPECT_FALSE(second->isVisible());
  EXPECT_EQ(exits, 0);
  DialogScript script;
  // Then the changed project is not to be saved.
  script.Answers = {QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::No};
  Desk(0)->close();
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(Desk(0)->isVisible());
  Desk(0)->close();
  EXPECT_EQ(exits, 1);
  ASSERT_EQ(script.Boxes.size(), 3u);
  EXPECT_EQ(script.Boxes[2].Title, kSaveChangesCaption);
  EXPECT_EQ(script.Boxes[0].Title, "Закрытие программы");
  EXPECT_EQ(script.Boxes[0].Text, "Вы хотите прекратить работу?");
}

TEST_F(EditorDeskTest, PrintPrintsTheWindowPictureToPdf) {
  MeshedPlate();
  const std::filesystem::path pdf = TempDir("print") / "window.pdf";
  DialogScript script;
  script.Dialogs.push_back([&pdf](QDialog& d) {
    auto& dlg = static_cast<QPrintDialog&>(d);
    EXPECT_EQ(dlg.objectName(), "PrintDialogMain");
    dlg.printer()->setOutputFormat(QPrinter::PdfFormat);
    dlg.printer()->setOutputFileName(QString::fromStdString(pdf.string()));
    return static_cast<int>(QDialog::Accepted);
  });
  Run("acFilePrint");
  ASSERT_TRUE(std::filesystem::exists(pdf));
  const std::vector<char> bytes = FileBytes(pdf);
  ASSERT_GT(bytes.size(), 1000u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "%PDF");
  // A cancelled print dialog prints nothing.
  std::filesystem::remove(pdf);
  script.Dialogs.push_back([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
  Run("acFilePrint");
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace tavir::test

namespace tavir::test {

// A page of either scroll bar shows the part it scrolls to exactly as the model
// draws itself onto a fresh canvas of the visible part, and so does the repaint
// message after it: the quicker drawing paths lose no pixel.
TEST_F(EditorDeskTest, PagesAndTheRepaintShowTheModelAsItDrawsItself) {
  NewTask(60, 40);
  Run("acPlaneRectangle");
  Run("acModeFrame");
  modelDialogs.DivideAnswers.push_back(UnitMesh(60, 40));
  Drag(0, 0, 60, 40);
  Run("acModeEdit");
  ASSERT_EQ(Project().Elements().Count(), 2400);
  TMainDesk* desk = Desk();
  ASSERT_NE(desk, nullptr);
  desk->show();
  desk->resize(desk->minimumSize());
  QApplication::processEvents();
  QScrollBar* down = desk->ScrollBox()->verticalScrollBar();
  QScrollBar* right = desk->ScrollBox()->horizontalScrollBar();
  ASSERT_GT(down->maximum(), 0);
  ASSERT_GT(right->maximum(), 0);
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"page down", [&] { down->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
      {"page right", [&] { right->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
      {"repaint", [&] { desk->Repaint(); }},
      {"page up", [&] { down->triggerAction(QAbstractSlider::SliderPageStepSub); }},
  };
  for (const auto& [name, step] : steps) {
    const QImage before = desk->Picture();
    step();
    QApplication::processEvents();
    const QImage shown = desk->Picture();
    BuiltInImageCanvas library(shown.size(), nullptr, &DrawBuiltInSymbol);
    library.SetOrigin({right->value(), down->value()});
    const TEditWindows& windows = Commands().Windows();
    windows.ClearWindow(0, library);
    Project().UpdateScreen(windows.Items(0).View());
    Project().Draw(library, kDrawDesk);
    windows.DrawGridOver(0, library);
    EXPECT_EQ(shown, library.Image()) << name;
    if (std::string(name) != "repaint") {
      EXPECT_NE(shown, before) << name << ": the picture moved";
    }
  }
}

}  // namespace tavir::test
