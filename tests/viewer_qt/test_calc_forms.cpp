// The main form's layout and commands, the status window, the result view
// dialogs and the adaptation dialog.
#include <QActionGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QRadioButton>

#include "calc_fixture.h"
#include "platform/qt/float_edit.h"
#include "platform/qt/up_down.h"
#include "viewer/qt/calc_pump.h"
#include "platform/numtext.h"

namespace tavir::calctest {
namespace {

using Forms = CalcFixture;

TEST_F(Forms, EveryCommandIsAnActionNamedAsTheCommand) {
  const QStringList names = dm.ActionNames();
  EXPECT_EQ(names.size(), 73);
  int handled = 0;
  for (const QString& n : names) {
    QAction* a = dm.Action(n);
    ASSERT_NE(a, nullptr) << n.toStdString();
    EXPECT_EQ(a->objectName(), n);
    handled += dm.HasHandler(n) ? 1 : 0;
  }
  EXPECT_EQ(handled, 29);
  EXPECT_EQ(dm.Action("acFileOpen")->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(dm.Action("acFileOpen")->text(), "&Открыть");
  EXPECT_EQ(dm.Action("acViewZoomIn")->text(), "Пр&иблизть");
  // The four grid styles share one group that may have none checked; the switches
  // and the frame selection are check marks of their own.
  const QActionGroup* styles = dm.Action("AcGrid_Dot")->actionGroup();
  ASSERT_NE(styles, nullptr);
  EXPECT_EQ(styles->exclusionPolicy(), QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (const char* n : {"AcGrid_Dot", "AcGrid_Cross", "AcGrid_Line", "AcGrid_Other"}) {
    EXPECT_TRUE(dm.Action(n)->isCheckable()) << n;
    EXPECT_EQ(dm.Action(n)->actionGroup(), styles) << n;
  }
  for (const char* n : {"AcGrid_Show", "AcGrid_SnapToGrid", "AcEdit_SelectFrame"}) {
    EXPECT_TRUE(dm.Action(n)->isCheckable()) << n;
    EXPECT_EQ(dm.Action(n)->actionGroup(), nullptr) << n;
  }
}

TEST_F(Forms, MainFormHasSixToolBarsAndSevenMenus) {
  EXPECT_EQ(form.windowTitle().toStdString(), kCalcMainCaption);
  struct Bar {
    const char* Name;
    const char* Caption;
    int Actions;
  };
  const Bar bars[] = {{"ToolBar_Standard", "Стандартная", 9}, {"ToolBar_MainMenu", "Главное меню", 7},
                      {"ToolBar_Solving", "Расчет проекта", 2}, {"ToolBar_Grid", "Сетка", 7},
                      {"ToolBar_IsoLines", "Изолинии", 9},      {"ToolBar_Scaling", "Масштабирование", 4}};
  for (const Bar& b : bars) {
    auto* bar = form.findChild<QToolBar*>(b.Name);
    ASSERT_NE(bar, nullptr) << b.Name;
    EXPECT_EQ(bar->windowTitle().toStdString(), b.Caption);
    EXPECT_EQ(bar->actions().size(), b.Actions) << b.Name;
  }
  auto* iso = form.findChild<QToolBar*>("ToolBar_IsoLines");
  EXPECT_EQ(iso->actions()[2]->objectName(), "Ac_IsoLineWz");
  for (const char* m : {"PupMenu_File", "PupMenu_Edit", "PupMenu_View", "PupMenu_Calculate", "PupMenu_Service",
                        "PupMenu_Window", "PupMenu_Help"})
    EXPECT_NE(dm.PopupMenu(m), nullptr) << m;
  // The file menu binds acFileSaveAs twice.
  int saveAs = 0;
  for (QAction* a : dm.PopupMenu("PupMenu_File")->actions()) saveAs += a->objectName() == "acFileSaveAs" ? 1 : 0;
  EXPECT_EQ(saveAs, 2);
  auto buttons = form.findChildren<QToolButton*>();
  int dropDowns = 0;
  for (QToolButton* b : buttons) dropDowns += b->menu() != nullptr ? 1 : 0;
  EXPECT_EQ(dropDowns, 7);
}

TEST_F(Forms, SixCursorsLoadWithoutWarnings) {
  for (const auto& m : msgs.Shown) EXPECT_NE(m.Caption, "Предупреждение") << m.Text;
  EXPECT_NE(dm.Cursor(6).shape(), Qt::ArrowCursor);
  EXPECT_NE(dm.Cursor(1).shape(), Qt::ArrowCursor);
}

TEST_F(Forms, GridAndViewModeCommandsFollowTheCurrentView) {
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  TGraphWindow& view = form.Windows().Items(0);
  view.Grid().SetStyle(3);
  dm.SyncGridActions(view.Grid());
  EXPECT_TRUE(dm.Action("AcGrid_Other")->isChecked());
  dm.Run("AcGrid_Dot");
  EXPECT_EQ(view.Grid().Style, 0);
  // One style is down at a time; choosing the one that is down raises it.
  EXPECT_TRUE(dm.Action("AcGrid_Dot")->isChecked());
  EXPECT_FALSE(dm.Action("AcGrid_Other")->isChecked());
  dm.Run("AcGrid_Dot");
  EXPECT_FALSE(dm.Action("AcGrid_Dot")->isChecked());
  // The same from the tool bar's buttons.
  auto* gridBar = form.findChild<QToolBar*>("ToolBar_Grid");
  ASSERT_NE(gridBar, nullptr);
  auto* cross = qobject_cast<QToolButton*>(gridBar->widgetForAction(dm.Action("AcGrid_Cross")));
  auto* line = qobject_cast<QToolButton*>(gridBar->widgetForAction(dm.Action("AcGrid_Line")));
  ASSERT_NE(cross, nullptr);
  ASSERT_NE(line, nullptr);
  cross->click();
  line->click();
  EXPECT_EQ(view.Grid().Style, 2);
  EXPECT_TRUE(line->isChecked());
  EXPECT_FALSE(cross->isChecked());
  const std::uint8_t snap = view.Grid().SnapToGrid;
  dm.Run("AcGrid_SnapToGrid");
  EXPECT_NE(view.Grid().SnapToGrid, snap);
  dm.Run("AcService_Section");
  EXPECT_EQ(form.Project().MouseMode(), MouseMode::SectionLine);
  EXPECT_EQ(Desk(0)->PaintBox()->cursor().shape(), dm.Cursor(6).shape());
  dm.Run("AcVMode_Viewer");
  EXPECT_EQ(form.Project().MouseMode(), MouseMode::View);
  // A grid of another style, on activation, moves the check marks.
  view.Grid().SetStyle(2);
  dm.SyncGridActions(view.Grid());
  EXPECT_TRUE(dm.Action("AcGrid_Line")->isChecked());
  EXPECT_FALSE(dm.Action("AcGrid_Dot")->isChecked());
}

TEST_F(Forms, ZoomScaleAndThreeDViews) {
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  TGraphWindow& view = form.Windows().Items(0);
  const Extended s = view.View.Scale.X;
  dm.Run("acViewZoomIn");
  EXPECT_EQ(view.View.Scale.X, s / 2);
  EXPECT_EQ(Desk(0)->PaintBox()->width(), view.Width());
  dialogs.Accept("ScaleForm", [](QDialog& d) { d.findChild<TFloatEdit*>("FloatEdit_Scale")->setText("-2"); });
  dm.Run("acViewScale");
  EXPECT_EQ(view.View.Scale.X, s);
  dm.Run("AcService_Create3D");
  ASSERT_EQ(form.Windows().Count(), 2);
  EXPECT_EQ(form.Windows().Items(1).Kind(), Projection::Spatial);
  ASSERT_NE(Desk(1), nullptr);
  EXPECT_TRUE(Desk(1)->isVisible());
}

TEST_F(Forms, ScaleDialogRefusesZero) {
  for (const char* text : {"0", "", "abc"}) {
    const std::size_t before = msgs.Shown.size();
    TScaleForm f(msgs);
    f.findChild<TFloatEdit*>("FloatEdit_Scale")->setText(text);
    f.accept();
    EXPECT_EQ(f.result(), QDialog::Rejected) << text;
    ASSERT_EQ(msgs.Shown.size(), before + 1);
    EXPECT_EQ(msgs.Shown.back().Text, kZeroScaleText);
  }
  TScaleForm f(msgs);
  EXPECT_EQ(f.Value(), 1);
}

TEST_F(Forms, IsoParamsDialogShowsAndReadsTheRecord) {
  TIsoParams_Form f;
  TIsoParamsRec r;
  r.Kind = ResultKind::Wz;
  r.MinValue = 0;
  r.MaxValue = 10;
  r.Step = 1;
  r.StepCount = 40000;
  r.LabelStep = -3;
  f.GetIsoParams(r);
  EXPECT_EQ(f.windowTitle(), "Параметры изолиний");
  EXPECT_EQ(f.findChild<QLabel*>("Lbl_IsoTitleBottom")->text(), "Изолинии: перемещения вдоль оси Z");
  EXPECT_EQ(f.findChild<QLabel*>("Lbl_IsoTitleTop")->text(), "Изолинии: перемещения вдоль оси Z ");
  auto* steps = f.findChild<QLineEdit*>("Edit_NumSteps");
  EXPECT_EQ(steps->text(), "32766");
  EXPECT_EQ(f.findChild<QLineEdit*>("Edit_ThickLine")->text(), "1");
  EXPECT_EQ(f.findChild<TFloatEdit*>("FloatEdit_Step")->Value(), 1) << "shown as stored";
  steps->setText("4");
  EXPECT_EQ(f.findChild<TFloatEdit*>("FloatEdit_Step")->Value(), 2.5L);
  f.findChild<UpDown*>("UpDown_NSteps")->SetPosition(10);
  EXPECT_EQ(f.findChild<TFloatEdit*>("FloatEdit_Step")->Value(), 1);
  const TIsoParamsRec out = f.SetIsoParams();
  EXPECT_EQ(out.Kind, ResultKind::Wz);
  EXPECT_EQ(out.StepCount, 10);
  EXPECT_EQ(out.MaxValue, 10);
}

TEST_F(Forms, DrawModesDialogBoxesAndFlags) {
  TDrawModesForm f;
  f.SetState(DrawModesFromFlags(0x400C, 2));
  EXPECT_TRUE(f.findChild<QCheckBox*>("ChBox_Knots")->isChecked());
  EXPECT_TRUE(f.findChild<QCheckBox*>("ChBox_Rests")->isChecked());
  EXPECT_TRUE(f.findChild<QCheckBox*>("ChBox_FrameElems")->isChecked());
  EXPECT_FALSE(f.findChild<QCheckBox*>("ChBox_IsoLines")->isChecked());
  for (QCheckBox* c : f.findChildren<QCheckBox*>()) c->setChecked(false);
  f.accept();
  EXPECT_EQ(DrawFlagsFromModes(f.State()), 0);
}

TEST_F(Forms, StressPositionDialog) {
  TStressPosForm f;
  f.SetLayerCount(1);
  f.GetStressPos(7);  // no item
  auto* layer = f.findChild<QSpinBox*>("SpinEdit_NL");
  EXPECT_FALSE(layer->isEnabled());
  EXPECT_EQ(f.LayerNumber(), 0);
  f.accept();
  EXPECT_EQ(f.StressPos(), 1) << "no item chosen reads as the middle";
  TStressPosForm g;
  g.SetLayerCount(3);
  g.GetStressPos(2);
  EXPECT_TRUE(g.findChild<QSpinBox*>("SpinEdit_NL")->isEnabled());
  g.findChild<QSpinBox*>("SpinEdit_NL")->setValue(2);
  g.accept();
  EXPECT_EQ(g.StressPos(), 2);
  EXPECT_EQ(g.LayerNumber(), 2);
}

TEST_F(Forms, CancelledStressDialogLeavesNoIsolines) {
  ASSERT_TRUE(Open(Example("shell_two_materials.tps")));
  Static();
  dm.Run("Ac_IsoLineSx");  // cancelled
  EXPECT_EQ(dialogs.Count("StressPosForm"), 1);
  EXPECT_EQ(form.Project().IsoKind(), ResultKind::None);
  EXPECT_EQ(form.Project().Layer(), -1);
  EXPECT_EQ(dialogs.Count("IsoParams_Form"), 0);
}

TEST_F(Forms, AdaptationDialogFollowsTheSurfaces) {
  TAdaptParsDlg d(msgs);
  d.AdaptParams.AdaptFlight = true;
  d.GetAdaptParams();
  d.SetHasSurfaces(false);
  auto* flight = d.findChild<QCheckBox*>("ChBox_AdaptFlight");
  EXPECT_FALSE(flight->isChecked());
  EXPECT_FALSE(flight->isEnabled());
  EXPECT_FALSE(d.findChild<QSpinBox*>("SpinEdit_FligthCount")->isEnabled());
  EXPECT_FALSE(d.findChild<QCheckBox*>("ChBox_DeleteElements")->isEnabled());
  d.SetHasSurfaces(true);
  EXPECT_TRUE(flight->isChecked());
  EXPECT_TRUE(flight->isEnabled());
}

TEST_F(Forms, AdaptationDialogRefusesAPrecisionThatCannotBeReached) {
  for (const char* text : {"0", "-1", "x"}) {
    TAdaptParsDlg d(msgs);
    d.GetAdaptParams();
    d.findChild<TFloatEdit*>("FloatEdit_Prec")->setText(text);
    const std::size_t before = msgs.Shown.size();
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Rejected) << text;
    ASSERT_EQ(msgs.Shown.size(), before + 1);
    EXPECT_EQ(msgs.Shown.back().Text, kBadPrecisionText);
    EXPECT_EQ(msgs.Shown.back().Caption, "Ошибка");
  }
}

TEST_F(Forms, CancelledAdaptationKeepsTheSettings) {
  ASSERT_TRUE(Open(Example("shell_spherical.tps")));
  const TAdaptParams before = form.Project().AdaptParams;
  dm.Run("AcSolv_Adaptation");  // the dialog is cancelled
  EXPECT_EQ(dialogs.Count("AdaptParsDlg"), 1);
  EXPECT_EQ(form.Project().AdaptParams, before);
  EXPECT_FALSE(form.Project().HasResults());
}

// ---- status window ----

TEST(StatusForm, StagesCycleThroughElevenRows) {
  TStatusForm f({});
  f.show();
  EXPECT_EQ(f.windowTitle(), "Выполнение расчета");
  EXPECT_EQ(f.CurrentStage(), 0);
  f.FirstStage();
  std::vector<int> rows;
  for (int i = 0; i < 11; ++i) {
    f.NextStage();
    rows.push_back(f.CurrentStage());
  }
  EXPECT_EQ(rows, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1}));
  EXPECT_EQ(f.Cell(0, 7), "Итерация:");
  EXPECT_EQ(f.Cell(1, 0), "Время");
  EXPECT_EQ(f.Cell(2, 0), "Выполнение");
  // The fixed row and column are cream (red FF, green FB, blue F0); the other cells are not.
  auto* grid = f.findChild<QTableWidget*>("StrGrid_Process");
  ASSERT_NE(grid, nullptr);
  const QColor cream(0xFF, 0xFB, 0xF0);
  for (const auto& [row, col] : {std::pair{0, 0}, std::pair{0, 2}, std::pair{7, 0}})
    EXPECT_EQ(grid->item(row, col)->background().color(), cream) << row << "," << col;
  EXPECT_NE(grid->item(3, 1)->background().color(), cream);
}

// Every text the window writes is readable in full at its default size: the
// stage names, and in columns 1 and 2 of rows 7..11 the iteration number and the
// widest numbers the adaptation's formats give (general with 15 digits, the
// energy in exponent form with 7).
TEST(StatusForm, EveryWrittenTextIsReadableAtTheDefaultSize) {
  for (const char separator : {'.', ','}) {
    SetDecimalSeparator(separator);
    const std::vector<std::string> numbers = {
        "1000",
        FormatGeneral(-0.0000123456789012345L),
        FormatGeneral(-1.23456789012345E-4931L),
        FormatGeneral(-123456789012345.0L),
        FormatExponent(-1.234567E-4931L, 7, 0),
    };
    TStatusForm f({});
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    auto* grid = f.findChild<QTableWidget*>("StrGrid_Process");
    ASSERT_NE(grid, nullptr);
    for (const std::string& n : numbers) {
      for (int row = 7; row <= 11; ++row)
        for (int col = 1; col <= 2; ++col) f.SetCell(col, row, QString::fromStdString(n));
      for (int row = 7; row <= 11; ++row)
        for (int col = 1; col <= 2; ++col) EXPECT_TRUE(CellReadable(*grid, row, col)) << separator;
    }
    for (int row = 0; row < TStatusForm::kRows; ++row) EXPECT_TRUE(CellReadable(*grid, row, 0));
    EXPECT_TRUE(CellReadable(*grid, 0, 1));
    EXPECT_TRUE(CellReadable(*grid, 0, 2));
    // The layout's proportions where they leave the numbers room: the two value
    // columns equal, the stage column the widest.
    EXPECT_EQ(grid->columnWidth(1), grid->columnWidth(2));
    EXPECT_GT(grid->columnWidth(0), grid->columnWidth(1));
  }
  SetDecimalSeparator('.');
}

TEST(StatusForm, BreakEscapeAndClosingAllAskToStop) {
  int breaks = 0;
  TStatusForm f([&] { ++breaks; });
  f.show();
  f.findChild<QPushButton*>("Btn_Breake")->click();
  QTest::keyClick(&f, Qt::Key_Escape);
  EXPECT_FALSE(f.close());
  EXPECT_EQ(breaks, 3);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.findChild<QPushButton*>("Btn_Breake")->text(), "Прервать");
}

TEST(StatusPump, ProgressPumpsAFewTimesASecond) {
  PumpThrottle t;
  const auto t0 = PumpThrottle::Clock::time_point{} + std::chrono::seconds(100);
  EXPECT_TRUE(t.Due(t0));
  t.Pumped(t0);
  EXPECT_FALSE(t.Due(t0 + kPumpInterval - std::chrono::milliseconds(1)));
  EXPECT_TRUE(t.Due(t0 + kPumpInterval));
}

// The static analysis stops at the next progress point or stage point after a
// Break; the adaptation's window never stops it (the adaptation reads the flag
// after each iteration itself), whatever stage the Break lands in.
TEST(StatusPump, BreakStopsTheStaticAnalysisAnywhereAndNeverInterruptsAnAdaptationIteration) {
  for (const BreakMode mode : {BreakMode::Anywhere, BreakMode::AfterIteration}) {
    ScriptedMessages messages;
    TViewerProject project(messages);
    CalcStatusWindow status(project, mode);
    status.ShowStatus();
    for (int stage = 1; stage <= 5; ++stage) {
      status.SetStage(stage);
      project.SetBreakFlag(false);
      EXPECT_NO_THROW(status.SetBar(1, 10));
      EXPECT_NO_THROW(status.Pump());
      project.SetBreakFlag(true);
      if (mode == BreakMode::Anywhere) {
        EXPECT_THROW(status.SetBar(2, 10), ECalcBroken) << stage;
        EXPECT_THROW(status.Pump(), ECalcBroken) << stage;
      } else {
        EXPECT_NO_THROW(status.SetBar(2, 10)) << stage;
        EXPECT_NO_THROW(status.Pump()) << stage;
      }
    }
    status.HideStatus();
  }
}

}  // namespace
}  // namespace tavir::calctest

namespace tavir::calctest {
namespace {

TEST_F(Forms, CtrlOOpensTheOpenDialogAlsoFromAResultWindow) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QApplication::setActiveWindow(&form);
  QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs.Count("OpenDialog"), 1);
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  TDeskForm* desk = Desk(0);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(desk));
  QApplication::setActiveWindow(desk);
  QTest::keyClick(desk, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(dialogs.Count("OpenDialog"), 3);
}

}  // namespace
}  // namespace tavir::calctest

namespace tavir::calctest {
namespace {

TEST_F(Forms, OpenAndExportDialogsProposeTheirTypes) {
  QStringList filters;
  QString selected, suffix;
  dialogs.Handlers["OpenDialog"] = [&](QDialog& d) {
    auto& f = static_cast<QFileDialog&>(d);
    filters = f.nameFilters();
    selected = f.selectedNameFilter();
    suffix = f.defaultSuffix();
    return static_cast<int>(QDialog::Rejected);
  };
  dm.Run("acFileOpen");
  EXPECT_EQ(filters, (QStringList{"All Files (*.*)", "Файл проекта \"Тавир\" (*.tps)",
                                  "Файл результатов \"Тавир\" (*.tpc)"}));
  EXPECT_EQ(selected, "Файл проекта \"Тавир\" (*.tps)");
  EXPECT_EQ(suffix, "tps");
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  QString title;
  dialogs.Handlers["ExportDialog"] = [&](QDialog& d) {
    auto& f = static_cast<QFileDialog&>(d);
    title = f.windowTitle();
    suffix = f.defaultSuffix();
    return static_cast<int>(QDialog::Rejected);
  };
  dm.Run("acFileExport");
  EXPECT_EQ(title, "Экспорт в файл");
  EXPECT_EQ(suffix, "wmf");
}

}  // namespace
}  // namespace tavir::calctest

namespace tavir::calctest {
namespace {

TEST(StatusForm, TheBarFollowsCountsBeyondItsIntegerRange) {
  TStatusForm f({});
  auto* bar = f.findChild<QProgressBar*>("PrgBar_Main");
  ASSERT_NE(bar, nullptr);
  f.SetBar(3, 12);
  EXPECT_EQ(bar->maximum(), 12);
  EXPECT_EQ(bar->value(), 3);
  f.SetBar(5'000'000'000LL, 10'000'000'000LL);
  EXPECT_EQ(bar->maximum(), 1000);
  EXPECT_EQ(bar->value(), 500);
  f.SetBar(1, 0);
  EXPECT_EQ(bar->value(), 0);
}

}  // namespace
}  // namespace tavir::calctest

namespace tavir::calctest {
namespace {

TEST_F(Forms, NoCommandStartsWhileADialogWaitsForItsAnswer) {
  QDialog modal;
  modal.setModal(true);
  modal.show();
  ASSERT_EQ(QApplication::activeModalWidget(), &modal);
  dm.Run("acFileOpen");
  EXPECT_EQ(dialogs.Count("OpenDialog"), 0);
  modal.hide();
  dm.Run("acFileOpen");
  EXPECT_EQ(dialogs.Count("OpenDialog"), 1);
}

}  // namespace
}  // namespace tavir::calctest
