// The adaptation driver on its own: its settings dialog, its iteration limit,
// the break flag it reads and resets, and what it tells the program between its
// iterations.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "unit_model.h"
#include "viewer/adaptation_loop.h"

namespace tavir {
namespace {

using viewertest::RecordingStatus;
using viewertest::ScriptedAdaptDialog;
using viewertest::UnitModel;

// A run prepared for the loop, as the project prepares it, with counted events.
struct Driver {
  UnitModel U;
  TAdaptParams Params;
  std::atomic<bool> Broken{false};
  int ThicknessChanges = 0, Repaints = 0;
  AdaptationLoop Loop{U.Model, U.Run, Params, U.Messages, Broken,
                      AdaptationEvents{[this] { ++ThicknessChanges; }, [this] { ++Repaints; }}};

  explicit Driver(const std::string& example) : U(example) {}
  // Thickness adaptation only, with a precision the volumes never reach.
  void NeverConverging() {
    Params.SetAdaptFlight(false);
    Params.SetAdaptThickness(true);
    Params.SetPrecision(1e-4000L);
  }
  void Run(RecordingStatus& status) {
    U.Prepare();
    if (::testing::Test::HasFatalFailure()) return;
    Loop.Run(status);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& m : U.Messages.Shown) t.push_back(m.Text);
    return t;
  }
};

TEST(AdaptationDriver, StopsAtItsIterationLimitOfAtLeastOne) {
  struct Case {
    std::int32_t Set, Limit;
  };
  for (const Case c : {Case{3, 3}, Case{1, 1}, Case{0, 1}, Case{-5, 1}}) {
    SCOPED_TRACE(c.Set);
    Driver d("plate_simply_supported.tps");
    EXPECT_EQ(d.Loop.IterationLimit(), kMaxAdaptIterations);
    d.NeverConverging();
    d.Loop.SetIterationLimit(c.Set);
    EXPECT_EQ(d.Loop.IterationLimit(), c.Limit);
    RecordingStatus status;
    d.Run(status);
    std::vector<std::string> expected;
    for (int i = 1; i <= c.Limit; ++i) expected.push_back(std::to_string(i));
    EXPECT_EQ(status.CellTexts(1, kRowIteration), expected);
    const auto texts = d.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind(kPotentialEnergyText, 0), 0u);
    EXPECT_EQ(texts[1], AdaptNotConvergedText(c.Limit) + "\r" + kAdaptThicknessNotConvergedText);
    EXPECT_TRUE(d.Params.AdaptThickness);
    // The displacements of the last solve stay for the stresses; the stress row is
    // selected once, at the end.
    EXPECT_FALSE(d.U.Run.HasResults());
    EXPECT_NE(viewertest::MaxAbs(d.U.Run.LoadVector()), 0);
    EXPECT_EQ(std::count(status.Stages.begin(), status.Stages.end(), kStageStresses), 1);
    EXPECT_EQ(status.Stages.back(), kStageStresses);
  }
}

// A break left over from an earlier computation does not end this one: the flag
// is reset at the start and read only after a whole iteration.
TEST(AdaptationDriver, ABreakFromBeforeTheRunIsForgotten) {
  Driver d("plate_simply_supported.tps");
  d.NeverConverging();
  d.Loop.SetIterationLimit(3);
  d.Broken = true;
  RecordingStatus status;
  d.Run(status);
  EXPECT_EQ(status.CellTexts(1, kRowIteration).size(), 3u);
  EXPECT_FALSE(d.Broken.load());
  for (const auto& t : d.Texts()) EXPECT_NE(t, kAdaptBrokenText);
}

// A break at the last allowed iteration is a break: the energy and the break
// message, no warning that the limit was reached.
TEST(AdaptationDriver, ABreakAtTheLimitIsToldAsABreak) {
  for (const std::int32_t limit : {2, 5}) {
    SCOPED_TRACE(limit);
    Driver d("plate_simply_supported.tps");
    d.NeverConverging();
    d.Loop.SetIterationLimit(limit);
    RecordingStatus status;
    status.OnPump = [&] {
      if (status.CellTexts(1, kRowIteration).size() == 2) d.Broken = true;
    };
    d.Run(status);
    EXPECT_EQ(status.CellTexts(1, kRowIteration), (std::vector<std::string>{"1", "2"}));
    const auto texts = d.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind(kPotentialEnergyText, 0), 0u);
    EXPECT_EQ(texts[1], kAdaptBrokenText);
    EXPECT_EQ(d.U.Messages.Shown[1].Kind, MsgKind::Plain);
  }
}

// The thickness step tells that the thicknesses changed; the rise step does not.
// The current view is repainted after every iteration only when the settings ask.
TEST(AdaptationDriver, EventsFollowTheStepsAndTheSettings) {
  for (const bool refresh : {true, false}) {
    SCOPED_TRACE(refresh);
    Driver d("plate_simply_supported.tps");
    d.NeverConverging();
    d.Params.SetRefreshView(refresh);
    d.Loop.SetIterationLimit(3);
    RecordingStatus status;
    d.Run(status);
    EXPECT_EQ(d.ThicknessChanges, 3);
    EXPECT_EQ(d.Repaints, refresh ? 3 : 0);
  }
  {
    Driver d("shell_spherical.tps");
    d.U.Model.Materials().Material(0)->SetR(1e5L);  // the rise keeps halving: never converges
    d.Params.SetAdaptFlight(true);
    d.Loop.SetIterationLimit(2);
    const auto* sphere = TShellFunctions::AsSphere(d.U.Model.ShellFuncs().At(0));
    const Extended f0 = sphere->GetF();
    RecordingStatus status;
    d.Run(status);
    EXPECT_EQ(d.ThicknessChanges, 0);
    EXPECT_EQ(d.Repaints, 2);
    EXPECT_LT(sphere->GetF(), f0);
    EXPECT_TRUE(d.Params.AdaptFlight);
    ASSERT_EQ(d.Texts().size(), 2u);
    EXPECT_EQ(d.Texts()[1],
              AdaptNotConvergedText(2) + "\r" + kAdaptRiseNotConvergedText + "поверхность № 1 (сфера).");
  }
}

// The dialog gets a copy whose rise switch says whether the model has surfaces;
// the settings change only on an OK with a usable precision.
TEST(AdaptationDriver, AskParamsTakesOverOnlyWhatTheDialogAccepted) {
  struct Case {
    const char* Example;
    bool FlightBefore;
    bool Ok;
    Extended Precision;
    bool Taken;
  };
  const Case cases[] = {
      {"plate_simply_supported.tps", true, true, 2, true},
      {"shell_spherical.tps", false, true, 2, true},
      {"shell_spherical.tps", false, false, 2, false},
      {"plate_clamped.tps", false, true, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Example) + (c.Ok ? " ok " : " cancel ") + std::to_string(static_cast<double>(c.Precision)));
    Driver d(c.Example);
    d.Params.SetAdaptFlight(c.FlightBefore);
    const TAdaptParams before = d.Params;
    const bool surfaces = d.U.Model.ShellFuncs().Count() > 0;
    ScriptedAdaptDialog dialog;
    dialog.Ok = c.Ok;
    dialog.Edit = [&](TAdaptParams& p) { p.SetPrecision(c.Precision); };
    EXPECT_EQ(d.Loop.AskParams(dialog), c.Taken);
    EXPECT_EQ(dialog.SawSurfaces, surfaces);
    EXPECT_EQ(dialog.SawFlight, surfaces);
    if (c.Taken) {
      EXPECT_EQ(d.Params.Precision, c.Precision);
      EXPECT_EQ(d.Params.AdaptFlight, surfaces);
      EXPECT_TRUE(d.Texts().empty());
    } else {
      EXPECT_EQ(d.Params, before);
    }
    if (c.Ok && !c.Taken) {
      EXPECT_EQ(d.Texts(), std::vector<std::string>{kBadAdaptPrecisionText});
    }
  }
}

}  // namespace
}  // namespace tavir
