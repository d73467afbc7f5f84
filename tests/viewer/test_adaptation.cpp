// Thickness and rise adaptation: the per-shell and per-surface steps with their
// guards, and the adaptation loop of the analysis project.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "platform/numtext.h"
#include "viewer_fixture.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using viewertest::ExampleBytes;
using viewertest::RecordingHooks;
using viewertest::RecordingStatus;
using viewertest::ScriptedAdaptDialog;

// One shell on the unit square with result knots numbered 0..3 and a diagonal
// element matrix k I, so that U = k |q|² / 2.
struct OneShell {
  std::vector<std::unique_ptr<TResultKnot>> Knots;
  std::shared_ptr<TPhisPropRodNL> Material = std::make_shared<TPhisPropRodNL>();
  TMLResultShell Shell{ElementType::Rectangle, Material};

  explicit OneShell(Extended k, Extended thickness = 1) {
    const Extended xy[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (int i = 0; i < 4; ++i) {
      auto kn = std::make_unique<TResultKnot>();
      kn->X = xy[i][0];
      kn->Y = xy[i][1];
      kn->Number = i;
      Shell.Knots[static_cast<std::size_t>(i)] = kn.get();
      Knots.push_back(std::move(kn));
    }
    Shell.Layers.Layer(0)->SetThickness(thickness);
    Shell.Stiffness.Resize(20, 20);
    for (std::size_t i = 0; i < 20; ++i) Shell.Stiffness[i][i] = k;
    // Target density (0.4 × 2.5)² / (2 × 1) = 0.5.
    Material->SetE(1);
    Material->SetR(2.5L);
  }
  // Strain energy u with one unit displacement and k = 2u.
  void Energize(const std::vector<Extended>& q) { StrainEnergy(Shell, q); }
};

std::vector<Extended> UnitDisplacement() {
  std::vector<Extended> q(20, 0);
  q[2] = 1;  // w of knot 0
  return q;
}

TEST(AdaptationSteps, ThicknessStepByEnergyRatio) {
  // Volume 1, target 0.5: U = 0.5 keeps the layer, U = 4 (r = 8) gives 1.5 t,
  // U = 0 halves it, a negative round-off energy counts as 0.
  const std::vector<std::pair<Extended, Extended>> cases = {{1, 1}, {8, 1.5L}, {0, 0.5L}, {-1e-18L, 0.5L}};
  for (auto [k, factor] : cases) {
    OneShell s(k);
    PrepareAdaptation(s.Shell);
    ASSERT_EQ(s.Shell.TargetDensity.size(), 1u);
    EXPECT_EQ(s.Shell.TargetDensity[0], 0.5L);
    EXPECT_EQ(ShellInitialThickness(s.Shell), 1);
    s.Energize(UnitDisplacement());
    EXPECT_EQ(s.Shell.LastStrainEnergy, k / 2);
    AdaptLayerThickness(s.Shell);
    const Extended t = s.Shell.Layers.Layer(0)->Thickness;
    EXPECT_TRUE(std::isfinite(t));
    EXPECT_NEAR(t, factor, 1e-18L) << k;
  }
}

TEST(AdaptationSteps, SecondLayerSeesTheFirstLayersNewThickness) {
  OneShell s(8);
  s.Shell.Layers.AddLayerByName("второй", s.Material)->SetThickness(1);
  PrepareAdaptation(s.Shell);
  s.Energize(UnitDisplacement());  // U = 4, V = 2: r = 4
  AdaptLayerThickness(s.Shell);
  const Extended t0 = (1 + std::cbrt(4.0L)) / 2;
  EXPECT_NEAR(s.Shell.Layers.Layer(0)->Thickness, t0, 1e-18L);
  const Extended r1 = 4 / (t0 + 1) / 0.5L;
  EXPECT_NEAR(s.Shell.Layers.Layer(1)->Thickness, (1 + std::cbrt(r1)) / 2, 1e-18L);
}

// Undefined ratios keep the thickness instead of dividing by zero.
TEST(AdaptationSteps, NoTargetOrNoVolumeKeepsTheThickness) {
  {
    OneShell s(8);
    s.Material->SetE(0);
    PrepareAdaptation(s.Shell);
    EXPECT_EQ(s.Shell.TargetDensity[0], 0);
    s.Energize(UnitDisplacement());
    AdaptLayerThickness(s.Shell);
    EXPECT_EQ(s.Shell.Layers.Layer(0)->Thickness, 1);
  }
  {
    OneShell s(8);
    s.Shell.Layers.Layer(0)->SetMaterial(nullptr);
    PrepareAdaptation(s.Shell);
    s.Energize(UnitDisplacement());
    AdaptLayerThickness(s.Shell);
    EXPECT_EQ(s.Shell.Layers.Layer(0)->Thickness, 1);
  }
  {
    OneShell s(8, 0);  // zero volume
    PrepareAdaptation(s.Shell);
    s.Energize(UnitDisplacement());
    EXPECT_EQ(EnergyDensity(s.Shell), 0);
    AdaptLayerThickness(s.Shell);
    EXPECT_EQ(s.Shell.Layers.Layer(0)->Thickness, 0);
  }
  {
    OneShell s(8);
    s.Shell.ElementType = ElementType::Quadrangle;  // not a rectangle: no area
    EXPECT_EQ(ShellArea(s.Shell), 0);
    PrepareAdaptation(s.Shell);
    s.Energize(UnitDisplacement());
    AdaptLayerThickness(s.Shell);
    EXPECT_EQ(s.Shell.Layers.Layer(0)->Thickness, 1);
  }
  OneShell idle(8);
  EXPECT_EQ(StrainEnergy(idle.Shell, {}), 0);
}

TEST(AdaptationSteps, RiseCoefficientsAndChangesAreNeverNaN) {
  EXPECT_NEAR(RiseCoefficient(8, 1, 1), 2, 1e-18L);
  EXPECT_EQ(RiseCoefficient(8, 0, 1), 1);      // zero volume
  EXPECT_EQ(RiseCoefficient(8, 1, 0), 1);      // no target density (no material, E = 0)
  EXPECT_EQ(RiseCoefficient(-1e-20L, 1, 1), 0);  // negative round-off
  EXPECT_EQ(EnergyMeasure(8, 0), 0);
  EXPECT_NEAR(EnergyMeasure(27, 1), 3, 1e-18L);
  EXPECT_EQ(VolumeChange(2, 2), 0);
  EXPECT_EQ(VolumeChange(0, 0), 0);
  EXPECT_TRUE(std::isinf(VolumeChange(0, 1)));
  EXPECT_NEAR(VolumeChange(2, 2.1L), 5, 1e-15L);
  EXPECT_TRUE(RiseConverged(0, 0, 1));  // a zero rise does not change
  EXPECT_TRUE(RiseConverged(2, 2, 0));
  EXPECT_FALSE(RiseConverged(1, 1.02L, 1));
  EXPECT_TRUE(RiseConverged(1, 1.005L, 1));
  EXPECT_EQ(TargetEnergyDensity(nullptr), 0);
}

TEST(AdaptationSteps, ParaboloidBothDirectionsConvergeOnlyTogether) {
  TEditorShellEP ep;
  ep.SetParams(10, 10, 1, 1);
  // C = 1.01 moves each rise by 0.5 %: converged at 1 %.
  EXPECT_TRUE(AdaptParaboloidRise(ep, 3, 1, 1.01L));
  // f1 by 0.5 %, f2 by 5 %: call with direction 1 and 2 separately to set them up.
  TEditorShellEP a;
  a.SetParams(10, 10, 1, 1);
  EXPECT_TRUE(AdaptParaboloidRise(a, 1, 1, 1.01L));
  EXPECT_FALSE(AdaptParaboloidRise(a, 2, 1, 1.1L));
  EXPECT_NEAR(a.GetF1(), 1.005L, 1e-18L);
  EXPECT_NEAR(a.GetF2(), 1.05L, 1e-18L);
  EXPECT_NEAR(a.Ky, 8 * 1.05L / 100, 1e-18L);
  TEditorShellEP b;
  b.SetParams(10, 10, 1, 1);
  EXPECT_FALSE(AdaptParaboloidRise(b, 3, 1, 1.1L));
  TEditorShellEP zero;
  zero.SetParams(10, 10, 0, 0);
  EXPECT_TRUE(AdaptParaboloidRise(zero, 3, 1, 3));
}

TEST(AdaptationSteps, SphereRiseRecomputesItsCurvatures) {
  TShellFunctions list(DefaultModelFactory());
  auto sp = std::make_unique<TEditorSphere>();
  sp->SetParams(4, 0.4L);
  TEditorSphere* s = list.Add(std::move(sp));
  const Extended kx = s->Kx;
  EXPECT_FALSE(AdaptRise(list, 2, 1, 2));
  EXPECT_NEAR(s->GetF(), 0.6L, 1e-18L);
  EXPECT_NEAR(s->Kx, kx * 1.5L, 1e-15L);
  EXPECT_TRUE(AdaptRise(list, 2, 1, 1));
  TShellFunctions empty(DefaultModelFactory());
  EXPECT_TRUE(AdaptRise(empty, 2, 1, 5));
}

TEST(AdaptationSteps, ParamsAssignAndDefaults) {
  TAdaptParams d;
  EXPECT_FALSE(d.AdaptFlight);
  EXPECT_TRUE(d.AdaptThickness);
  EXPECT_EQ(d.Precision, 1);
  EXPECT_EQ(d.FlightDirection, 2);
  EXPECT_TRUE(d.RefreshView);
  TAdaptParams s;
  s.SetAdaptFlight(true);
  s.SetAdaptThickness(false);
  s.SetPrecision(0.25L);
  s.SetFlightDirection(4);
  s.SetRefreshView(false);
  s.SetMinThickness(0.01L);
  s.SetDeleteElements(true);
  d.Assign(s);
  EXPECT_EQ(d, s);
  TFinElements none(MakeResultModelFactory());
  EXPECT_EQ(MinThickness(none), 1E4096L);
  EXPECT_EQ(MaxThickness(none), 0);
  EXPECT_EQ(MaxVolume(none), 0);
}

// ---- the loop ----

struct Viewer {
  ScriptedMessages Messages;
  RecordingHooks Hooks;
  TViewerProject Project{Messages, &Hooks};
  explicit Viewer(const std::string& name) { EXPECT_TRUE(Project.LoadProjectBytes(ExampleBytes(name), name)); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& m : Messages.Shown) t.push_back(m.Text);
    return t;
  }
};

// W = F · q / 2 with the loads before the supports (the reactions do no work).
Extended LoadWork(TViewerProject& p) {
  std::vector<Extended> f(p.LoadVector().size(), 0);
  for (const auto& c : p.ConcForces().Items()) AddConcForce(*c, f);
  for (const auto& d : p.DispForces().Items()) AddDispForce(*d, f);
  Extended w = 0;
  for (std::size_t i = 0; i < f.size(); ++i) w += f[i] * p.LoadVector()[i];
  return w / 2;
}

Extended EnergyOfMessage(const std::string& text) {
  const std::string prefix = kPotentialEnergyText;
  EXPECT_EQ(text.substr(0, prefix.size()), prefix);
  return ParseFloat(text.substr(prefix.size())).value_or(-1);
}

TEST(AdaptationLoop, BothSwitchesOffRunsOneIteration) {
  Viewer v("plate_simply_supported.tps");
  ScriptedAdaptDialog dialog;
  dialog.Edit = [](TAdaptParams& p) {
    p.SetAdaptThickness(false);
    p.SetAdaptFlight(false);
  };
  RecordingStatus status;
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  EXPECT_FALSE(dialog.SawSurfaces);
  EXPECT_EQ(status.CellTexts(1, kRowIteration), std::vector<std::string>{"1"});
  EXPECT_EQ(status.Stages, (std::vector<int>{1, 2, 3, 4, 5}));
  // Each iteration's loads start the bar again from 0.
  const long long loads = v.Project.ConcForces().Count() + v.Project.DispForces().Count() + v.Project.Supports().Count();
  EXPECT_EQ(status.FirstBarIn(kStageLoads), (RecordingStatus::Bar{kStageLoads, 0, loads}));
  ASSERT_EQ(v.Messages.Shown.size(), 1u);
  EXPECT_EQ(v.Messages.Shown[0].Kind, MsgKind::Plain);
  const Extended w = EnergyOfMessage(v.Messages.Shown[0].Text);
  EXPECT_GT(w, 0);
  EXPECT_NEAR(w, LoadWork(v.Project), 1e-6L * w);
  EXPECT_EQ(status.Hidden, 1);
  EXPECT_TRUE(v.Project.HasResults());
  // The displacements are the static ones, the stresses computed.
  EXPECT_EQ(v.Project.LoadVector(), viewertest::DirectSolve(ExampleBytes("plate_simply_supported.tps")));
  EXPECT_EQ(AsResultShell(v.Project.Elements().At(0))->Stresses[0].Rows(), 1u);
  EXPECT_EQ(v.Hooks.CurrentRepaints, 1);
  EXPECT_EQ(v.Hooks.AllRepaints, 1);
}

TEST(AdaptationLoop, ThicknessAdaptationConverges) {
  Viewer v("plate_simply_supported.tps");
  ScriptedAdaptDialog dialog;
  dialog.Edit = [](TAdaptParams& p) { p.SetRefreshView(false); };
  RecordingStatus status;
  int iterations = 0;
  status.OnPump = [&] {
    iterations = static_cast<int>(status.CellTexts(1, kRowIteration).size());
    ASSERT_LT(iterations, 200) << "no convergence";
  };
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  EXPECT_GE(iterations, 2);
  EXPECT_FALSE(v.Project.AdaptParams.AdaptThickness);
  EXPECT_FALSE(v.Project.AdaptParams.AdaptFlight);
  const auto changes = status.CellTexts(2, kRowCurrent);
  ASSERT_EQ(static_cast<int>(changes.size()), iterations);
  EXPECT_LT(*ParseFloat(changes.back()), 1);
  EXPECT_GE(*ParseFloat(changes.front()), 1);
  ASSERT_EQ(v.Messages.Shown.size(), 1u);
  EXPECT_GT(EnergyOfMessage(v.Messages.Shown[0].Text), 0);
  // The thickness moved, the initial thickness is kept.
  const auto* shell = AsResultShell(v.Project.Elements().At(5));
  EXPECT_NE(ShellThickness(*shell), 0.1L);
  EXPECT_EQ(ShellInitialThickness(*shell), 0.1L);
  EXPECT_EQ(v.Hooks.CurrentRepaints, 0);
  EXPECT_EQ(v.Hooks.AllRepaints, 1);
}

TEST(AdaptationLoop, BreakStopsAfterTheIterationWithBothMessagesThenStresses) {
  Viewer v("plate_simply_supported.tps");
  ScriptedAdaptDialog dialog;
  RecordingStatus status;
  status.OnPump = [&] {
    if (status.CellTexts(1, kRowIteration).size() == 2) v.Project.SetBreakFlag(true);
  };
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  EXPECT_EQ(status.CellTexts(1, kRowIteration), (std::vector<std::string>{"1", "2"}));
  const auto texts = v.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_GT(EnergyOfMessage(texts[0]), 0);
  EXPECT_EQ(texts[1], kAdaptBrokenText);
  EXPECT_TRUE(v.Project.AdaptParams.AdaptThickness);  // as the break left it
  EXPECT_TRUE(v.Project.HasResults());
  // Stresses of the last solve with the last thicknesses.
  auto* shell = AsResultShell(v.Project.Elements().At(5));
  const Extended sx = shell->Stresses[0][0][0];
  shell->CalcStresses(v.Project.LoadVector());
  EXPECT_EQ(shell->Stresses[0][0][0], sx);
  EXPECT_NE(sx, 0);
  EXPECT_EQ(v.Hooks.CurrentRepaints, 2);
}

TEST(AdaptationLoop, RiseAdaptationChangesTheStructure) {
  Viewer v("shell_spherical.tps");
  ScriptedAdaptDialog dialog;
  RecordingStatus status;
  std::vector<std::vector<Extended>> solutions;
  status.OnPump = [&] {
    if (status.CellTexts(1, kRowIteration).size() == 3) v.Project.SetBreakFlag(true);
  };
  auto* sphere = TShellFunctions::AsSphere(v.Project.ShellsFuncs().At(0));
  ASSERT_NE(sphere, nullptr);
  const Extended f0 = sphere->GetF();
  const Extended kx0 = AsResultShell(v.Project.Elements().At(0))->Kx;
  const Extended z0 = v.Project.KnotAt(6)->Z;
  ASSERT_NE(z0, 0);
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  EXPECT_TRUE(dialog.SawSurfaces);
  EXPECT_TRUE(dialog.SawFlight);
  EXPECT_NE(sphere->GetF(), f0);
  const Extended kx = AsResultShell(v.Project.Elements().At(0))->Kx;
  EXPECT_NE(kx, kx0);
  EXPECT_NEAR(kx / kx0, sphere->GetF() / f0, 1e-12L);
  EXPECT_NE(v.Project.KnotAt(6)->Z, z0);  // the knot heights follow the surface
  // The rise cell shows (W / u*0)^(1/3) in exponent format.
  EXPECT_EQ(status.CellTexts(2, kRowCurrent).size(), 3u);
  EXPECT_EQ(v.Texts().back(), kAdaptBrokenText);
}

// The sample sphere, with the dialog's defaults: the rise settles, then the
// thickness, well within the iteration limit.
TEST(AdaptationLoop, TheSampleSphereConvergesInAFewIterations) {
  Viewer v("shell_spherical.tps");
  ScriptedAdaptDialog dialog;
  RecordingStatus status;
  const Extended f0 = TShellFunctions::AsSphere(v.Project.ShellsFuncs().At(0))->GetF();
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  const auto iterations = status.CellTexts(1, kRowIteration);
  ASSERT_FALSE(iterations.empty());
  EXPECT_LE(std::stoi(iterations.back()), 40);
  EXPECT_GE(std::stoi(iterations.back()), 3);
  ASSERT_EQ(v.Messages.Shown.size(), 1u) << v.Messages.Shown.back().Text;
  EXPECT_EQ(v.Messages.Shown[0].Text.rfind(kPotentialEnergyText, 0), 0u);
  EXPECT_FALSE(v.Project.AdaptParams.AdaptFlight);
  EXPECT_FALSE(v.Project.AdaptParams.AdaptThickness);
  const Extended f = TShellFunctions::AsSphere(v.Project.ShellsFuncs().At(0))->GetF();
  EXPECT_GT(f, f0 / 4) << "a shell, not a plate";
}

// A rise step that leaves no usable number (zero, subnormal, not finite, or a
// derived radius that overflows) is named, and the surface keeps its rise.
TEST(AdaptationSteps, RiseStepReportsAnUnusableRise) {
  struct Case {
    Extended F;  // the sphere's rise before the step
    Extended C;
    bool Usable;
  };
  const Extended inf = std::numeric_limits<Extended>::infinity();
  const Case cases[] = {
      {0.4L, 0.9L, true},    {0.4L, -1, false},  // f' = 0
      {0.4L, inf, false},    {0.4L, std::numeric_limits<Extended>::quiet_NaN(), false},
      {5e-4932L, 0.1L, false},  // f' subnormal
      {1e-4900L, 0.5L, true},
  };
  for (const Case& c : cases) {
    TVelEditorProject model;
    TShellFunctions& surfaces = model.ShellFuncs();
    auto sphere = model.Factory()->MakeSphere();
    sphere->SetParams(4, c.F);
    surfaces.Add(std::move(sphere));
    const RiseStepResult r = AdaptRiseStep(surfaces, 2, 1, c.C);
    EXPECT_EQ(r.Unsound < 0, c.Usable) << static_cast<double>(c.C) << " " << static_cast<long double>(c.F);
    EXPECT_EQ(r.Converged, r.Unconverged.empty());
  }
  // A paraboloid: only the rise that the direction updates counts.
  TVelEditorProject model;
  TShellFunctions& surfaces = model.ShellFuncs();
  auto p = model.Factory()->MakeParaboloid();
  p->SetParams(4, 4, 0, 0.3L);
  surfaces.Add(std::move(p));
  EXPECT_LT(AdaptRiseStep(surfaces, 2, 1, 0.9L).Unsound, 0) << "f1 = 0 is not updated along Y";
  EXPECT_EQ(AdaptRiseStep(surfaces, 3, 1, 0.9L).Unsound, 0);
  EXPECT_EQ(SurfaceName(surfaces, 0), "поверхность № 1 (эллиптический параболоид)");
}

// An adaptation whose rise becomes unusable ends as a Break does: the energy
// message, then the warning naming the surface, and the results of the last
// solve with the rise that solve had.
TEST(AdaptationLoop, AnUnusableRiseEndsWithTheLastSoundIterationsResults) {
  Viewer v("shell_spherical.tps");
  auto* sphere = TShellFunctions::AsSphere(v.Project.ShellsFuncs().At(0));
  sphere->SetF(5e-4932L);  // one more halving and it is subnormal
  v.Project.Materials().Material(0)->SetR(1e10L);  // a coefficient near 0: the rise halves
  v.Project.ApplyShellFuncs();
  const Extended f0 = sphere->GetF();
  ScriptedAdaptDialog dialog;
  RecordingStatus status;
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  ASSERT_EQ(v.Messages.Shown.size(), 2u);
  EXPECT_EQ(v.Messages.Shown[0].Text.rfind(kPotentialEnergyText, 0), 0u);
  EXPECT_EQ(v.Messages.Shown[1].Kind, MsgKind::Warning);
  EXPECT_EQ(v.Messages.Shown[1].Text, AdaptUnusableRiseText("поверхность № 1 (сфера)", 1));
  EXPECT_EQ(sphere->GetF(), f0);
  ASSERT_TRUE(v.Project.HasResults());
  const std::vector<Extended> adapted = v.Project.LoadVector();
  const auto* shell = AsResultShell(v.Project.Elements().At(5));
  const auto stresses = shell->Stresses;
  EXPECT_NE(stresses[0][0][0], 0);
  // The same model solved again: the same displacements and stresses.
  ASSERT_TRUE(v.Project.StaticCalculate(status));
  EXPECT_TRUE(v.Project.LoadVector() == adapted);
  EXPECT_TRUE(shell->Stresses == stresses);
}

TEST(AdaptationLoop, TheIterationLimitNamesTheSurfaceWhoseRiseHasNotConverged) {
  Viewer v("shell_spherical.tps");
  v.Project.Materials().Material(0)->SetR(1e5L);  // the rise keeps halving
  v.Project.SetAdaptIterationLimit(4);
  ScriptedAdaptDialog dialog;
  RecordingStatus status;
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  ASSERT_EQ(v.Messages.Shown.size(), 2u);
  EXPECT_EQ(v.Messages.Shown[1].Text, AdaptNotConvergedText(4) + "\r" + kAdaptRiseNotConvergedText +
                                          "поверхность № 1 (сфера).");
  EXPECT_TRUE(v.Project.HasResults());
  EXPECT_TRUE(v.Project.AdaptParams.AdaptFlight);
}

// The repaint after each iteration shows a section view with the thicknesses that
// iteration left, not with the averages an earlier repaint built.
TEST(AdaptationLoop, EachIterationsRepaintSeesItsOwnThicknessAverages) {
  Viewer v("plate_simply_supported.tps");
  struct SectionRepaints : RecordingHooks {
    std::function<void()> OnRepaint;
    void RepaintCurrentView() override {
      RecordingHooks::RepaintCurrentView();
      if (OnRepaint) OnRepaint();
    }
  } hooks;
  v.Project.SetHooks(&hooks);
  // The mean thickness of the shells at the knot of the plate's centre.
  const TEditorKnot* centre = v.Project.KnotAt(12);
  auto meanAtCentre = [&] {
    Extended sum = 0;
    int count = 0;
    for (const auto& e : v.Project.Elements().Items()) {
      const auto* shell = AsResultShell(e.get());
      if (shell == nullptr || std::find(shell->Knots.begin(), shell->Knots.end(), centre) == shell->Knots.end())
        continue;
      sum += ShellThickness(*shell);
      ++count;
    }
    return sum / count;
  };
  std::vector<Extended> shown, expected;
  hooks.OnRepaint = [&] {
    v.Project.AverageKnotThickness();
    shown.push_back(v.Project.KnotThickness().At(centre));
    expected.push_back(meanAtCentre());
  };
  ScriptedAdaptDialog dialog;
  RecordingStatus status;
  status.OnPump = [&] {
    if (status.CellTexts(1, kRowIteration).size() == 3) v.Project.SetBreakFlag(true);
  };
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_NE(expected[0], expected[2]);
  EXPECT_EQ(shown, expected);
}

TEST(AdaptationLoop, CancelChangesNothing) {
  Viewer v("shell_spherical.tps");
  ScriptedAdaptDialog dialog;
  dialog.Ok = false;
  dialog.Edit = [](TAdaptParams& p) { p.SetPrecision(7); };
  RecordingStatus status;
  const TAdaptParams before = v.Project.AdaptParams;
  EXPECT_FALSE(v.Project.Adaptation(dialog, status));
  EXPECT_EQ(v.Project.AdaptParams, before);
  EXPECT_EQ(status.Shown, 0);
  EXPECT_FALSE(v.Project.HasResults());
}

TEST(AdaptationLoop, FailedSolveInsideTheLoopStopsWithAnError) {
  Viewer v("plate_simply_supported.tps");
  while (v.Project.Supports().Count() > 0) v.Project.Supports().Delete(0);
  ScriptedAdaptDialog dialog;
  RecordingStatus status;
  EXPECT_FALSE(v.Project.Adaptation(dialog, status));
  EXPECT_EQ(status.Shown, 1);
  EXPECT_EQ(status.Hidden, 1);
  ASSERT_EQ(v.Messages.Shown.size(), 1u);
  EXPECT_EQ(v.Messages.Shown[0].Caption, "Ошибка");
  EXPECT_NE(v.Messages.Shown[0].Text.find("степень свободы"), std::string::npos);
  EXPECT_FALSE(v.Project.HasResults());
  EXPECT_EQ(v.Hooks.AllRepaints, 1);
}

}  // namespace
}  // namespace tavir
