// The status window's timing as the user meets it: a long computation pumps and
// paints a few dozen times a second at most, whatever the number of its steps; a
// short one never shows the window; the bars still end each stage at their
// maximum and Break still stops the static analysis.
#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <map>

#include "calc_fixture.h"
#include "fakes/paint_counter.h"
#include "viewer/example_models.h"

namespace tavir::calctest {
namespace {

class CalcTiming : public CalcFixture {
 protected:
  // A plate of n × n shells written as a file of the editor's.
  std::string Plate(int n) {
    const auto path = TempDir() / ("plate_" + std::to_string(n) + ".tps");
    const auto bytes = examples::SimplySupportedPlate(n);
    WriteBytes(path, std::vector<char>(bytes.begin(), bytes.end()));
    return path.string();
  }
};

using Clock = std::chrono::steady_clock;

// Some 20 000 progress steps (elements, loads, elimination and back substitution
// rows): events are processed at most once per pump interval and the bar painted
// at most twice per pump, not once a step.
TEST_F(CalcTiming, ALongAnalysisPumpsAndPaintsAtMostOncePerInterval) {
  ASSERT_TRUE(Open(Plate(40)));
  dm.StatusSeam().Timing = PumpTiming{kPumpInterval, std::chrono::milliseconds(0)};  // the window from the start
  long long pumps = 0;
  PaintCounter paints;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
    if (pumps == 0) s.Form()->findChild<QProgressBar*>("PrgBar_Main")->installEventFilter(&paints);
    pumps = s.Pumps();
  };
  const auto t0 = Clock::now();
  Static();
  const auto elapsed = Clock::now() - t0;
  ASSERT_TRUE(form.Project().HasResults());
  EXPECT_GE(pumps, 1);
  EXPECT_LE(pumps, 1 + elapsed / kPumpInterval) << "pumps in " << std::chrono::duration<double>(elapsed).count() << " s";
  EXPECT_LE(paints.Count, 2 * pumps + 2);
}

// A computation over before the show delay never shows its window; one that runs
// longer shows it, with what was written before it appeared. The window's clock
// is the test's, moved on a pump interval at every pump: the machine's speed has
// no say.
TEST_F(CalcTiming, TheWindowAppearsOnlyWhenTheComputationLastsLongEnoughToBeSeen) {
  dm.StatusSeam().Timing = PumpTiming{};
  Clock::time_point now = Clock::now();
  dm.StatusSeam().Now = [&now] { return now; };
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));

  // Over just before the delay: the pumps come, the window never.
  const Clock::time_point last = now + kStatusShowDelay - std::chrono::milliseconds(1);
  bool shown = false;
  long long pumps = 0;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
    shown = shown || s.Form() != nullptr;
    pumps = s.Pumps();
    now = std::min(now + kPumpInterval, last);
  };
  Static();
  EXPECT_TRUE(form.Project().HasResults());
  EXPECT_GE(pumps, 3);
  EXPECT_FALSE(shown);

  // Longer: the window appears at the first pump past the delay.
  TStatusForm* seen = nullptr;
  QString rowText;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
    now += kPumpInterval;
    if (seen == nullptr && s.Form() != nullptr) {
      seen = s.Form();
      rowText = seen->Cell(0, kStageSolve);
      EXPECT_TRUE(seen->isVisible());
      EXPECT_EQ(seen->CurrentStage(), s.Stage()) << "the stage entered before the window appeared";
    }
  };
  Static();
  EXPECT_NE(seen, nullptr);
  EXPECT_EQ(rowText, "Решение системы уравнений");
  EXPECT_EQ(VisibleStatusForm(), nullptr);
}

// Each stage ends with its bar at the maximum, as the window shows it.
TEST_F(CalcTiming, EveryStageEndsWithItsBarAtTheMaximum) {
  ASSERT_TRUE(Open(Example("plate_simply_supported.tps")));
  std::map<int, bool> full;  // stage row -> the bar was seen full while it was current
  dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
    if (s.Form() == nullptr) return;
    auto* bar = s.Form()->findChild<QProgressBar*>("PrgBar_Main");
    bool& f = full[s.Form()->CurrentStage()];
    f = f || (bar->maximum() > 0 && bar->value() == bar->maximum());
  };
  Static();
  ASSERT_TRUE(form.Project().HasResults());
  for (int stage : {kStageStiffness, kStageLoads, kStageSolve}) EXPECT_TRUE(full[stage]) << stage;
}

// Break stops the static analysis inside the solve with the default timing too:
// the solve ends early, no displacements are kept.
TEST_F(CalcTiming, BreakStopsTheStaticAnalysisInsideTheSolve) {
  dm.StatusSeam().Timing = PumpTiming{};
  ASSERT_TRUE(Open(Plate(40)));
  long long position = -1, maximum = -1;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
    if (position >= 0 || s.Stage() != kStageSolve) return;
    if (s.Form() != nullptr)
      s.Form()->findChild<QPushButton*>("Btn_Breake")->click();
    else
      form.Project().SetBreakFlag(true);  // as the button does, before the window appeared
    position = s.BarPosition();
    maximum = s.BarMaximum();
  };
  Static();
  ASSERT_GE(position, 0) << "a pump during the solve";
  EXPECT_LT(position, maximum);
  ASSERT_FALSE(msgs.Shown.empty());
  EXPECT_EQ(msgs.Shown.back().Text, kCalcBrokenText);
  EXPECT_FALSE(form.Project().HasResults());
  EXPECT_EQ(VisibleStatusForm(), nullptr);
}

// With "Обновлять окно" each iteration's repaint is drawn at the next pump; with
// the default timing the view is drawn at most once per pump, and once more when
// the adaptation ends. There the window's clock stands still: one pump for all the
// iterations, whatever the machine's speed.
TEST_F(CalcTiming, RefreshedViewsAreDrawnAtTheNextPumpNotAtEveryRequest) {
  ASSERT_TRUE(Open(Example("shell_two_materials.tps")));
  dialogs.Accept("AdaptParsDlg");
  TDeskForm* desk = Desk(0);
  ASSERT_NE(desk, nullptr);
  long long drawnAtPumps = 0, pumps = 0;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
    drawnAtPumps = desk->Drawings();
    pumps = s.Pumps();
  };
  const long long before = desk->Drawings();
  dm.Run("AcSolv_Adaptation");
  ASSERT_TRUE(form.Project().HasResults());
  EXPECT_GT(drawnAtPumps - before, 5) << "every iteration's view was drawn during the run";
  EXPECT_GT(desk->Drawings(), drawnAtPumps) << "and once more with the results";

  // The same adaptation again from the file, with all its iterations (the first
  // ended with the thickness adaptation switched off).
  ASSERT_TRUE(Open(Example("shell_two_materials.tps")));
  dialogs.Accept("AdaptParsDlg",
                 [](QDialog& d) { d.findChild<QCheckBox*>("ChBox_AdaptThickness")->setChecked(true); });
  desk = Desk(0);
  ASSERT_NE(desk, nullptr);
  dm.StatusSeam().Timing = PumpTiming{};
  const auto now = Clock::now();
  dm.StatusSeam().Now = [now] { return now; };
  const long long start = desk->Drawings();
  pumps = 0;
  drawnAtPumps = start;
  dm.Run("AcSolv_Adaptation");
  ASSERT_TRUE(form.Project().HasResults());
  ASSERT_EQ(msgs.Shown.size(), 2u);
  EXPECT_EQ(msgs.Shown[1].Text, msgs.Shown[0].Text) << "the same iterations as the first";
  EXPECT_EQ(pumps, 1);
  EXPECT_LE(desk->Drawings() - start, pumps + 1);
}

// The thickness adaptation writes the iteration, the volumes and their change
// into rows 7, 10 and 11: at the window's default size each is shown in full.
TEST_F(CalcTiming, TheAdaptationsNumbersAreShownInFull) {
  ASSERT_TRUE(Open(Example("plate_simply_supported.tps")));  // no surface: the thickness alone
  dialogs.Accept("AdaptParsDlg");
  std::map<std::pair<int, int>, int> checked;
  std::map<std::pair<int, int>, QString> seen;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
    TStatusForm* f = s.Form();
    if (f == nullptr || !f->isVisible()) return;
    auto* grid = f->findChild<QTableWidget*>("StrGrid_Process");
    ASSERT_NE(grid, nullptr);
    for (int row = 7; row < TStatusForm::kRows; ++row)
      for (int col = 1; col <= 2; ++col) {
        const QString text = f->Cell(col, row);
        if (text.isEmpty() || seen[{row, col}] == text) continue;
        seen[{row, col}] = text;
        EXPECT_TRUE(CellReadable(*grid, row, col));
        ++checked[{row, col}];
      }
    // One iteration shows them all.
    if (checked.count({10, 2}) != 0) f->findChild<QPushButton*>("Btn_Breake")->click();
  };
  dm.Run("AcSolv_Adaptation");
  EXPECT_EQ(Errors(), 0);
  EXPECT_GT(checked[std::make_pair(7, 1)], 0);
  EXPECT_GT(checked[std::make_pair(10, 1)], 0) << "the volume";
  EXPECT_GT(checked[std::make_pair(10, 2)], 0) << "its change";
  EXPECT_GT(checked[std::make_pair(11, 1)], 0) << "the volume before";
}

}  // namespace
}  // namespace tavir::calctest
