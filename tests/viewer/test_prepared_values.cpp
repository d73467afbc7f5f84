// The prepared knot values on their own: what they are prepared from, what the
// display state gives and takes, the progress boxes they open, and the section
// box of the visible shells.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "unit_model.h"
#include "viewer/prepared_values.h"

namespace tavir {
namespace {

using viewertest::RecordingStatus;
using viewertest::UnitModel;

struct Prepared {
  UnitModel U;
  ResultDisplayState Display;
  PreparedValues Values{U.Model, U.Run, Display};
  explicit Prepared(const std::string& example) : U(example) {}
};

// How many preparations an observer was given.
int Preparations(const RecordingStatus& progress) {
  return static_cast<int>(std::count(progress.Labels.begin(), progress.Labels.end(), kPrepareKnotsLabel));
}

// Opens counted boxes and tells whether one is open.
class CountingBoxes : public ProgressBoxOpener {
 public:
  class Box : public RecordingStatus {
   public:
    explicit Box(CountingBoxes& owner) : owner_(owner) { ++owner_.Open; }
    ~Box() override {
      --owner_.Open;
      owner_.Preparations += tavir::Preparations(*this);
    }

   private:
    CountingBoxes& owner_;
  };
  std::unique_ptr<ProgressObserver> OpenProgressBox() override {
    ++Opened;
    return std::make_unique<Box>(*this);
  }
  int Opened = 0, Open = 0, Preparations = 0;
};

// A vector that holds loads, zeros or a partial solve is no result: nothing is
// prepared from it and the display is left as it was.
TEST(PreparedValues, NothingComesFromAVectorThatIsNoResult) {
  Prepared p("plate_clamped.tps");
  p.Display.SetIsoKind(ResultKind::Sx);
  const ResultDisplayState shown = p.Display;
  auto nothing = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_FALSE(p.Values.PrepareKnotValues(ResultKind::Wz, -1, Fibre::Upper));
    EXPECT_FALSE(p.Values.PrepareIsoLines(0, Fibre::Lower, nullptr));
    EXPECT_EQ(p.Display.Layer, shown.Layer);
    EXPECT_EQ(p.Display.StressPos, shown.StressPos);
    p.Display.IsoVisible = true;
    EXPECT_FALSE(p.Values.EnsureIsoValues());
    p.Display.IsoVisible = false;
    EXPECT_FALSE(p.Values.PreparedKey().has_value());
    EXPECT_EQ(p.Values.DataState(), kDataNone);
    EXPECT_EQ(p.Display.IsoParams, shown.IsoParams);
    EXPECT_EQ(p.Display.DrawFlags, shown.DrawFlags);
    for (const auto& k : p.U.Model.Knots().Items()) ASSERT_EQ(AsResultKnot(k.get())->ValueCount(), 0);
  };
  nothing("no run");
  p.U.Prepare();
  nothing("allocated");
  ProgressObserver quiet;
  p.U.Run.StaticStages(quiet);
  p.U.Run.CalcStresses();
  nothing("solved, not ended");
  p.U.Run.MarkSolved();
  EXPECT_TRUE(p.Values.PrepareIsoLines(0, Fibre::Lower, nullptr));
  EXPECT_EQ(p.Display.Layer, 0);
  EXPECT_TRUE(p.Display.IsoVisible);
  EXPECT_NE(p.Display.DrawFlags & kViewDrawIsolines, 0);
}

// A stress quantity makes its layer and fibre the shown ones; a displacement
// leaves them, and its key carries no layer.
TEST(PreparedValues, OnlyAStressQuantityTakesOverTheLayerAndFibre) {
  Prepared p("shell_two_materials.tps");
  p.U.Solve();
  p.Display.Layer = 1;
  p.Display.StressPos = Fibre::Middle;
  p.Display.SetIsoKind(ResultKind::Wz);
  ASSERT_TRUE(p.Values.PrepareIsoLines(0, Fibre::Lower, nullptr));
  EXPECT_EQ(p.Display.Layer, 1);
  EXPECT_EQ(p.Display.StressPos, Fibre::Middle);
  EXPECT_EQ(*p.Values.PreparedKey(), (KnotValuesKey{ResultKind::Wz, -1, Fibre::Upper}));
  EXPECT_EQ(p.Display.IsoParams.Kind, ResultKind::Wz);

  p.Display.SetIsoKind(ResultKind::Txy);
  ASSERT_TRUE(p.Values.PrepareIsoLines(0, Fibre::Lower, nullptr));
  EXPECT_EQ(p.Display.Layer, 0);
  EXPECT_EQ(p.Display.StressPos, Fibre::Lower);
  EXPECT_EQ(*p.Values.PreparedKey(), (KnotValuesKey{ResultKind::Txy, 0, Fibre::Lower}));
  EXPECT_EQ(p.Values.DataState(), DataStateOfKind(ResultKind::Txy));
  EXPECT_EQ(p.Display.IsoParams.Kind, ResultKind::Txy);
  // So a repaint finds them prepared.
  RecordingStatus progress;
  EXPECT_TRUE(p.Values.EnsureIsoValues(&progress));
  EXPECT_EQ(Preparations(progress), 0);
}

// Dropped values take their levels with them: the user's levels belong to the
// values they were set for, and new results have new ranges.
TEST(PreparedValues, DropTakesTheValuesAndTheLevelsWithThem) {
  Prepared p("plate_clamped.tps");
  p.U.Solve();
  p.Display.SetIsoKind(ResultKind::Wz);
  ASSERT_TRUE(p.Values.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  const TIsoParamsRec defaults = p.Display.IsoParams;
  p.Display.IsoParams.LabelStep = 7;
  p.Values.AverageKnotThickness();
  ASSERT_TRUE(p.Values.KnotThickness().Ready());

  p.Values.Drop();
  EXPECT_FALSE(p.Values.PreparedKey().has_value());
  EXPECT_EQ(p.Values.DataState(), kDataNone);
  EXPECT_FALSE(p.Values.KnotThickness().Ready());
  for (const auto& k : p.U.Model.Knots().Items()) ASSERT_EQ(AsResultKnot(k.get())->ValueCount(), 0);
  EXPECT_TRUE(p.Display.IsoVisible) << "whether isolines are shown is the user's";
  EXPECT_EQ(p.Display.IsoParams.LabelStep, 7);

  ASSERT_TRUE(p.Values.EnsureIsoValues());
  EXPECT_EQ(p.Display.IsoParams, defaults);
}

// Only a preparation given no observer opens a box, one for its whole run; the
// thickness averages are built once until the thicknesses change, and their
// rebuilding leaves the isoline values.
TEST(PreparedValues, BoxesOpenOnlyForPreparationsWithoutAnObserver) {
  Prepared p("plate_simply_supported.tps");
  p.U.Solve();
  CountingBoxes boxes;
  p.Values.SetProgressBoxes(&boxes);

  ASSERT_TRUE(p.Values.PrepareKnotValues(ResultKind::Vy, -1, Fibre::Upper));
  EXPECT_EQ(boxes.Opened, 1);
  EXPECT_EQ(boxes.Open, 0);
  EXPECT_EQ(boxes.Preparations, 1);
  RecordingStatus own;
  ASSERT_TRUE(p.Values.PrepareKnotValues(ResultKind::Wz, -1, Fibre::Upper, &own));
  EXPECT_EQ(boxes.Opened, 1);
  EXPECT_EQ(Preparations(own), 1);
  // The isoline command prepares through the same box.
  p.Display.SetIsoKind(ResultKind::RotY);
  ASSERT_TRUE(p.Values.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  EXPECT_EQ(boxes.Opened, 2);

  p.Values.AverageKnotThickness();
  EXPECT_EQ(boxes.Opened, 3);
  p.Values.AverageKnotThickness();
  EXPECT_EQ(boxes.Opened, 3);
  p.Values.ThicknessesChanged();
  EXPECT_FALSE(p.Values.KnotThickness().Ready());
  EXPECT_EQ(*p.Values.PreparedKey(), (KnotValuesKey{ResultKind::RotY, -1, Fibre::Upper}));
  p.Values.AverageKnotThickness();
  EXPECT_EQ(boxes.Opened, 4);
  EXPECT_EQ(boxes.Open, 0);
  p.Values.ThicknessesChanged();
  p.Values.AverageKnotThickness(&own);
  EXPECT_EQ(boxes.Opened, 4);
  EXPECT_TRUE(p.Values.KnotThickness().Ready());

  p.Values.SetProgressBoxes(nullptr);
  ASSERT_TRUE(p.Values.PrepareKnotValues(ResultKind::Ux, -1, Fibre::Upper));
  EXPECT_EQ(boxes.Opened, 4);
}

// The section box runs over the shells the view shows: a thick shell hidden from
// the view does not widen it.
TEST(PreparedValues, TheSectionBoxSpansTheVisibleShellsOnly) {
  Prepared p("plate_clamped.tps");
  ViewTransform plan = p.U.Window.View;
  p.U.Model.UpdateScreen(plan);
  TMLResultShell* thick = p.U.Shell(5);
  thick->Layers.Layer(0)->SetThickness(1);
  ASSERT_NE(thick->Visible, 0);
  auto box = p.Values.SectionWindowData(plan);
  ASSERT_TRUE(box.has_value());
  EXPECT_NEAR(box->MinPoint.Z, -0.5L, 1e-18L);
  EXPECT_NEAR(box->MaxPoint.Z, 0.5L, 1e-18L);

  thick->Visible = 0;
  box = p.Values.SectionWindowData(plan);
  ASSERT_TRUE(box.has_value());
  EXPECT_NEAR(box->MinPoint.Z, -0.05L, 1e-15L);
  EXPECT_NEAR(box->MaxPoint.Z, 0.05L, 1e-15L);
  EXPECT_EQ(box->Kind, Projection::XZ);
  EXPECT_EQ(box->Scale.X, 0.01L);
  // Averages need no results.
  EXPECT_TRUE(p.Values.KnotThickness().Ready());
  EXPECT_FALSE(p.U.Run.HasResults());
}

}  // namespace
}  // namespace tavir
