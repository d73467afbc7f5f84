// The user's work in the editor's windows: the question before a changed project
// is dropped (Exit, closing the main window, New, Open) and the autosave, through
// the real main form and its message boxes.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>

#include "editor_qt/edit_fixture.h"
#include "model/project_file.h"
#include "scratch_folder.h"

namespace tavir::test {
namespace {

using namespace std::chrono_literals;

enum class Route { Exit, CloseMain, New, Open };
constexpr Route kEveryRoute[] = {Route::Exit, Route::CloseMain, Route::New, Route::Open};

const char* RouteName(Route r) {
  switch (r) {
    case Route::Exit: return "Exit";
    case Route::CloseMain: return "close";
    case Route::New: return "New";
    case Route::Open: return "Open";
  }
  return "";
}

class UnsavedTest : public EditorFixture {
 protected:
  // The 6 x 4 plate (24 elements) saved as <dir>/plate.tps.
  void SavedPlate(const std::string& dirName) {
    dir = TempDir(dirName);
    path = dir / "plate.tps";
    MeshedPlate();
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(path.string()));
    Run("acFileSaveAs");
    ASSERT_EQ(ElementsInFile(), 24);
  }

  // The program anew with the saved plate, one element then deleted.
  void FreshChangedPlate(const std::string& dirName) {
    StartProgram();
    SavedPlate(dirName);
    DeleteElementAt(0.5, 0.5);
  }

  // Elements of the project in the file, -1 when there is none.
  int ElementsInFile() const {
    if (!std::filesystem::exists(path)) return -1;
    const std::vector<char> raw = FileBytes(path);
    const std::vector<std::uint8_t> bytes(raw.begin(), raw.end());
    ProjectContents c = ReadProjectBytes(bytes, path.string(), program->MainForm().Supervisor(),
                                         program->MainForm().Project());
    return c.Project->Elements().Count();
  }

  // A click selects the element at (x, y); Del deletes it.
  void DeleteElementAt(double x, double y) {
    Run("acModeEdit");
    const int before = Project().Elements().Count();
    Click(x, y);
    Run("acEditDelete");
    ASSERT_EQ(Project().Elements().Count(), before - 1);
  }

  // Leaves the project one way; the answers of the questions it meets are in the
  // script (New's own question first). Whether the program went on: ended, or the
  // new-task or open dialog came up (and was cancelled).
  bool Leave(Route route, DialogScript& script) {
    const int exitsBefore = exits;
    auto cancelDialog = [](QDialog& d) {
      d.reject();
      return d.result();
    };
    switch (route) {
      case Route::Exit: Run("acFileExit"); return exits == exitsBefore + 1;
      case Route::CloseMain: Main().close(); return exits == exitsBefore + 1;
      case Route::New:
        script.Dialogs.push_back(cancelDialog);
        Run("acFileNew");
        break;
      case Route::Open:
        script.Dialogs.push_back(cancelDialog);
        Run("acFileOpen");
        break;
    }
    const QString wanted = route == Route::New ? "NewTaskDlg" : "OpenDialog";
    const bool shown = std::count(script.Seen.begin(), script.Seen.end(), wanted) > 0;
    if (!shown) script.Dialogs.clear();
    return shown;
  }

  // The answers to the questions on the way out: New's own question OK first.
  static void Answer(DialogScript& script, Route how, std::initializer_list<QMessageBox::StandardButton> answers) {
    if (how == Route::New) script.Answers.push_back(QMessageBox::Ok);
    script.Answers.insert(script.Answers.end(), answers.begin(), answers.end());
  }

  static std::vector<const DialogScript::Box*> SaveQuestions(const DialogScript& script) {
    std::vector<const DialogScript::Box*> found;
    for (const DialogScript::Box& b : script.Boxes)
      if (b.Title == kSaveChangesCaption) found.push_back(&b);
    return found;
  }

  // Turns the autosave on or off through the settings dialog's "Сохранение" sheet,
  // every interval of five minutes.
  void SetAutoSave(bool on) {
    DialogScript script;
    script.Dialogs.push_back([on](QDialog& d) {
      auto* box = d.findChild<QCheckBox*>("ChBox_AutoSave");
      if (box->isChecked() != on) box->click();
      d.findChild<QComboBox*>("CBox_Time")->setCurrentText("5");
      d.findChild<QPushButton*>("Btn_OK")->click();
      return d.result();
    });
    Run("acServiceParam");
    ASSERT_EQ(Supervisor().Options.AutoSave != 0, on);
  }

  // Waits (the event loop running) until the condition holds or the time is up.
  static bool WaitUntil(const std::function<bool()>& condition, int ms = 5000) {
    for (int waited = 0; waited < ms; waited += 5) {
      if (condition()) return true;
      QTest::qWait(5);
    }
    return condition();
  }

  // Counts the autosave timer's ticks from now on. Connected after the program's
  // own handler, so that when the count says n, the handler has run n times.
  void CountTicks() {
    QObject::disconnect(tickCounter);
    ticks = 0;
    tickCounter = QObject::connect(&Dm().AutoSaveTimer(), &QTimer::timeout, &Dm(), [this] { ++ticks; });
  }
  // Runs the event loop until the timer has ticked `n` times more: a busy machine
  // makes the wait longer, never the check emptier.
  bool WaitForTicks(int n) {
    const int until = ticks + n;
    return WaitUntil([&] { return ticks >= until; }, 60000);
  }

  std::filesystem::path dir;
  std::filesystem::path path;
  int ticks = 0;
  QMetaObject::Connection tickCounter;
};

// ---- the question ----

struct LeaveCase {
  Route How;
  QMessageBox::StandardButton Answer;
};

class LeaveChangedProject : public UnsavedTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeaveChangedProject, AsksWhetherToSaveFirst) {
  const LeaveCase c = GetParam();
  SavedPlate(std::string("leave_") + RouteName(c.How));
  DeleteElementAt(0.5, 0.5);
  DialogScript script;
  Answer(script, c.How, {c.Answer});
  const bool wentOn = Leave(c.How, script);

  const std::vector<const DialogScript::Box*> asked = SaveQuestions(script);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0]->Text, "Сохранить изменения в проекте «plate.tps»?");
  EXPECT_EQ(asked[0]->Icon, QMessageBox::Question);
  EXPECT_EQ(asked[0]->Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (c.How == Route::New) {
    // The program's own question stays, before this one.
    ASSERT_GE(script.Boxes.size(), 2u);
    EXPECT_EQ(script.Boxes[0].Text, kNewProjectQuestion);
    EXPECT_EQ(script.Boxes[1].Title, kSaveChangesCaption);
  }
  EXPECT_EQ(wentOn, c.Answer != QMessageBox::Cancel);
  EXPECT_EQ(ElementsInFile(), c.Answer == QMessageBox::Yes ? 23 : 24);
  // Nothing of the open project is lost (New and Open were cancelled after).
  EXPECT_EQ(Project().Elements().Count(), 23);
  if (c.Answer == QMessageBox::Cancel) {
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(Commands().ProjectChanged());
  }
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, LeaveChangedProject,
                         ::testing::Values(LeaveCase{Route::Exit, QMessageBox::Yes},
                                           LeaveCase{Route::Exit, QMessageBox::No},
                                           LeaveCase{Route::Exit, QMessageBox::Cancel},
                                           LeaveCase{Route::CloseMain, QMessageBox::Yes},
                                           LeaveCase{Route::CloseMain, QMessageBox::No},
                                           LeaveCase{Route::CloseMain, QMessageBox::Cancel},
                                           LeaveCase{Route::New, QMessageBox::Yes},
                                           LeaveCase{Route::New, QMessageBox::No},
                                           LeaveCase{Route::New, QMessageBox::Cancel},
                                           LeaveCase{Route::Open, QMessageBox::Yes},
                                           LeaveCase{Route::Open, QMessageBox::No},
                                           LeaveCase{Route::Open, QMessageBox::Cancel}),
                         [](const ::testing::TestParamInfo<LeaveCase>& info) {
                           const char* answer = info.param.Answer == QMessageBox::Yes  ? "Yes"
                                                : info.param.Answer == QMessageBox::No ? "No"
                                                                                       : "Cancel";
                           return std::string(RouteName(info.param.How)) + "_" + answer;
                         });

// Once saved, the project asks nothing; nor does looking at it (modes, a selection).
TEST_F(UnsavedTest, ASavedProjectAsksNothing) {
  for (Route how : kEveryRoute) {
    SCOPED_TRACE(RouteName(how));
    FreshChangedPlate("saved");
    {
      DialogScript script;
      Answer(script, how, {QMessageBox::Cancel});
      EXPECT_FALSE(Leave(how, script));
      EXPECT_EQ(SaveQuestions(script).size(), 1u);
    }
    Run("acFileSave");
    EXPECT_EQ(ElementsInFile(), 23);
    Run("acModeKnot");
    Run("AcEdit_SelectAll");
    Run("AcEdit_ClearSelection");
    DialogScript script;
    Answer(script, how, {});
    EXPECT_TRUE(Leave(how, script));
    EXPECT_TRUE(SaveQuestions(script).empty());
  }
}

TEST_F(UnsavedTest, AnUnnamedProjectIsSavedUnderANameAsked) {
  MeshedPlate();
  dir = TempDir("unnamed");
  path = dir / "asked.tps";
  {
    // The name dialog cancelled: nothing is written and the program stays.
    DialogScript script;
    script.Answers = {QMessageBox::Yes};
    script.Dialogs.push_back([](QDialog& d) {
      EXPECT_EQ(d.objectName(), "SaveDialog");
      d.reject();
      return d.result();
    });
    EXPECT_FALSE(Leave(Route::Exit, script));
    ASSERT_EQ(SaveQuestions(script).size(), 1u);
    EXPECT_EQ(SaveQuestions(script)[0]->Text, "Сохранить изменения в проекте «NoName.tps»?");
    EXPECT_EQ(ElementsInFile(), -1);
    EXPECT_EQ(Project().Elements().Count(), 24);
  }
  DialogScript script;
  script.Answers = {QMessageBox::Yes};
  script.Dialogs.push_back(FileAnswer(path.string()));
  EXPECT_TRUE(Leave(Route::Exit, script));
  EXPECT_EQ(ElementsInFile(), 24);
}

// Да, and the save fails (its folder is gone): the error is shown and the program
// goes on with the project as it was; the next try asks again.
TEST_F(UnsavedTest, YesWithASaveThatFailsGoesNowhere) {
  for (Route how : kEveryRoute) {
    SCOPED_TRACE(RouteName(how));
    FreshChangedPlate("failing");
    std::filesystem::remove_all(dir);
    DialogScript script;
    Answer(script, how, {QMessageBox::Yes});
    EXPECT_FALSE(Leave(how, script));
    ASSERT_FALSE(script.Boxes.empty());
    EXPECT_EQ(script.Boxes.back().Title, "Ошибка");
    EXPECT_EQ(script.Boxes.back().Icon, QMessageBox::Critical);
    EXPECT_EQ(Project().Elements().Count(), 23);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(Main().isVisible());
    EXPECT_TRUE(Commands().ProjectChanged());
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

// Closing the main editing window: the program's own question, then this one;
// Отмена keeps the window and the program.
TEST_F(UnsavedTest, ClosingTheMainEditingWindowKeepsItOnCancel) {
  SavedPlate("desk_close");
  DeleteElementAt(0.5, 0.5);
  TMainDesk* desk = Desk(0);
  DialogScript script;
  script.Answers = {QMessageBox::Ok, QMessageBox::Cancel};
  desk->close();
  ASSERT_EQ(script.Boxes.size(), 2u);
  EXPECT_EQ(script.Boxes[0].Text, "Вы хотите прекратить работу?");
  EXPECT_EQ(script.Boxes[1].Title, kSaveChangesCaption);
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(desk->isVisible());
  EXPECT_TRUE(Main().isVisible());
  script.Answers = {QMessageBox::Ok, QMessageBox::Yes};
  desk->close();
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(ElementsInFile(), 23);
}

// ---- autosave ----

// Ten milliseconds a minute: the five minutes chosen are 50 ms.
constexpr auto kTestMinute = 10ms;

TEST_F(UnsavedTest, AutoSaveWritesAChangedNamedProjectAfterTheInterval) {
  SavedPlate("autosave");
  Dm().SetAutoSaveMinute(kTestMinute);
  EXPECT_FALSE(Dm().AutoSaveTimer().isActive());  // off by default
  DeleteElementAt(0.5, 0.5);
  SetAutoSave(true);
  EXPECT_TRUE(Dm().AutoSaveTimer().isActive());
  EXPECT_EQ(Dm().AutoSaveTimer().intervalAsDuration(), 5 * kTestMinute);
  EXPECT_EQ(ElementsInFile(), 24);  // not before the interval
  EXPECT_TRUE(WaitUntil([this] { return ElementsInFile() == 23; }));
  EXPECT_FALSE(Commands().ProjectChanged());
  EXPECT_EQ(Project().FileName(), path.string());
  // A later change is written at a later tick.
  DeleteElementAt(1.5, 0.5);
  EXPECT_TRUE(WaitUntil([this] { return ElementsInFile() == 22; }));
  // Saved: Exit asks nothing.
  DialogScript script;
  EXPECT_TRUE(Leave(Route::Exit, script));
  EXPECT_TRUE(script.Boxes.empty());
}

TEST_F(UnsavedTest, AutoSaveOffWritesNothing) {
  SavedPlate("autosave_off");
  Dm().SetAutoSaveMinute(kTestMinute);
  SetAutoSave(true);
  SetAutoSave(false);
  EXPECT_FALSE(Dm().AutoSaveTimer().isActive());
  DeleteElementAt(0.5, 0.5);
  // No timer, so no ticks to wait for: the tick itself, run by hand, writes nothing
  // and starts nothing.
  for (int i = 0; i < 3; ++i) Dm().AutoSaveTick();
  EXPECT_FALSE(Dm().AutoSaveTimer().isActive());
  EXPECT_EQ(ElementsInFile(), 24);
  EXPECT_TRUE(Commands().ProjectChanged());
  SetAutoSave(true);
  EXPECT_TRUE(WaitUntil([this] { return ElementsInFile() == 23; }));
}

TEST_F(UnsavedTest, AutoSaveNeverWritesAnUnnamedProject) {
  dir = TempDir("autosave_unnamed");
  const std::filesystem::path here = dir;
  {
    // "NoName.tps" would be written in the working folder: this test's own.
    const WorkIn working(here);
    MeshedPlate();
    Dm().SetAutoSaveMinute(kTestMinute);
    SetAutoSave(true);
    CountTicks();
    // Several ticks: no file, no name asked (a dialog would fail the test), no box.
    ASSERT_TRUE(WaitForTicks(5));
    EXPECT_TRUE(std::filesystem::is_empty(here));
    EXPECT_TRUE(Commands().ProjectChanged());
  }
  // Named, the same project is written at the next tick.
  path = here / "named.tps";
  {
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(path.string()));
    Run("acFileSaveAs");
  }
  DeleteElementAt(0.5, 0.5);
  EXPECT_TRUE(WaitUntil([this] { return ElementsInFile() == 23; }));
}

TEST_F(UnsavedTest, AutoSaveWaitsForAnOpenDialogAndADeskGesture) {
  SavedPlate("autosave_busy");
  Dm().SetAutoSaveMinute(kTestMinute);
  DeleteElementAt(0.5, 0.5);
  SetAutoSave(true);
  CountTicks();
  {
    // A modal dialog open for several ticks: nothing is written meanwhile.
    DialogScript script;
    int whileOpen = 0;
    script.Dialogs.push_back([this, &whileOpen](QDialog& d) {
      EXPECT_TRUE(WaitForTicks(5));
      whileOpen = ElementsInFile();
      d.accept();
      return d.result();
    });
    Run("acHelpAbout");
    EXPECT_EQ(whileOpen, 24);
  }
  EXPECT_TRUE(WaitUntil([this] { return ElementsInFile() == 23; }));

  // A band being dragged on a desk: nothing until it is let go.
  DeleteElementAt(1.5, 0.5);
  Run("AcEdit_SelectFrame");
  TMainDesk* desk = Desk();
  const QPoint a = Pixel(0.1, 0.1), b = Pixel(2.9, 1.9);
  desk->MouseDown(Qt::LeftButton, a, Qt::NoModifier);
  ASSERT_NE(desk->Logic().ActiveMode(), nullptr);
  desk->MouseMove(b, Qt::NoModifier);
  ASSERT_TRUE(WaitForTicks(5));
  EXPECT_EQ(ElementsInFile(), 23);
  desk->MouseUp(Qt::LeftButton, b, Qt::NoModifier);
  EXPECT_TRUE(WaitUntil([this] { return ElementsInFile() == 22; }));
}

// A failing autosave says so once in the status bar, not in a box at every tick
// (any box would fail the test); once it works again, a new failure is told again.
TEST_F(UnsavedTest, AFailingAutoSaveIsShownOnceInTheStatusBar) {
  SavedPlate("autosave_failing");
  Dm().SetAutoSaveMinute(kTestMinute);
  DeleteElementAt(0.5, 0.5);
  std::filesystem::remove_all(dir);
  SetAutoSave(true);
  TMainDesk* desk = Desk(0);
  const QString told = "Автосохранение проекта «plate.tps» не выполнено: ";
  ASSERT_TRUE(WaitUntil([&] { return !desk->Notice().isEmpty(); }));
  EXPECT_TRUE(desk->Notice().startsWith(told)) << desk->Notice().toStdString();
  QLabel* notice = desk->StatusBar()->findChild<QLabel*>("StBar_Win_Notice");
  ASSERT_NE(notice, nullptr);
  EXPECT_FALSE(notice->isHidden());
  // Shown once: cleared, it stays clear through several failing ticks.
  desk->SetNotice(QString());
  CountTicks();
  ASSERT_TRUE(WaitForTicks(5));
  EXPECT_TRUE(desk->Notice().isEmpty());
  EXPECT_TRUE(Commands().ProjectChanged());
  EXPECT_EQ(Project().Elements().Count(), 23);
  // The folder back: the next tick writes the project.
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(WaitUntil([this] { return ElementsInFile() == 23; }));
  // A new failure is told again.
  DeleteElementAt(1.5, 0.5);
  std::filesystem::remove_all(dir);
  EXPECT_TRUE(WaitUntil([&] { return desk->Notice().startsWith(told); }));
}

}  // namespace
}  // namespace tavir::test
