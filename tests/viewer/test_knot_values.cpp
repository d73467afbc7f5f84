// Knot values of the result quantities, their preparation key, the section
// thickness store, and the view texts.
#include <gtest/gtest.h>

#include "viewer/view_texts.h"
#include "viewer_fixture.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using viewertest::ExampleBytes;
using viewertest::RecordingStatus;

struct Solved {
  ScriptedMessages Messages;
  TViewerProject Project{Messages};
  explicit Solved(const std::string& name) {
    EXPECT_TRUE(Project.LoadProjectBytes(ExampleBytes(name), name));
    RecordingStatus status;
    EXPECT_TRUE(Project.StaticCalculate(status));
  }
  // Knot (ix, iy) of a grid nx wide.
  TResultKnot* Knot(int ix, int iy, int nx) const { return Project.KnotAt(iy * (nx + 1) + ix); }
};

// The mean of stress component c of layer j at the fibre over the shells at the
// knot whose layer j is of the material.
Extended MeanOver(const TViewerProject& p, const TEditorKnot* knot, MaterialKey material, int layer, Fibre fibre,
                  int component) {
  Extended sum = 0;
  int n = 0;
  for (const auto& e : p.Elements().Items()) {
    const TMLResultShell* s = AsResultShell(e.get());
    if (s == nullptr || s->LayerMaterial(layer) != material) continue;
    if (std::find(s->Knots.begin(), s->Knots.end(), knot) == s->Knots.end()) continue;
    sum += s->Stresses[CodeByte(fibre)][static_cast<std::size_t>(layer)][component];
    ++n;
  }
  return n == 0 ? 0 : sum / n;
}

TEST(KnotValues, KnotBetweenTwoMaterialsCarriesOneStressPerMaterial) {
  Solved s("shell_two_materials.tps");
  TViewerProject& p = s.Project;
  const MaterialKey steel = p.Materials().Material(0).get();
  const MaterialKey concrete = p.Materials().Material(1).get();
  for (std::int32_t layer : {0, 1}) {
    for (Fibre fibre : {Fibre::Upper, Fibre::Lower}) {
      ASSERT_TRUE(p.PrepareKnotValues(ResultKind::Sx, layer, fibre));
      const TResultKnot* joint = s.Knot(2, 1, 4);
      ASSERT_EQ(joint->ValueCount(), 2);
      // Layer 0 is steel on the left, where the keys are met first.
      EXPECT_EQ(joint->KeyAt(0), layer == 0 ? steel : concrete);
      for (MaterialKey key : {steel, concrete}) {
        const Extended expected = MeanOver(p, joint, key, layer, fibre, 0);
        EXPECT_NE(expected, 0);
        EXPECT_DOUBLE_EQ(static_cast<double>(joint->ValueOf(key)), static_cast<double>(expected));
        EXPECT_EQ(joint->ValueOf(key), KnotStressAverage(*joint, key, fibre, ResultKind::Sx, layer, p.Elements()));
      }
      EXPECT_NE(joint->ValueOf(steel), joint->ValueOf(concrete));
      const TResultKnot* left = s.Knot(1, 1, 4);
      ASSERT_EQ(left->ValueCount(), 1);
      EXPECT_EQ(left->KeyAt(0), layer == 0 ? steel : concrete);
    }
  }
  // Displacements: one value without a material at every knot.
  ASSERT_TRUE(p.PrepareKnotValues(ResultKind::Wz, 1, Fibre::Lower));
  EXPECT_EQ(s.Knot(2, 1, 4)->ValueCount(), 1);
  EXPECT_TRUE(s.Knot(2, 1, 4)->HasKey(nullptr));
  EXPECT_EQ(s.Knot(2, 1, 4)->ValueOf(nullptr), p.LoadVector()[7 * 5 + 2]);
  EXPECT_EQ(KnotStressAverage(*s.Knot(2, 1, 4), steel, Fibre::Upper, ResultKind::Wz, 0, p.Elements()), 0);
}

// The values follow the layer and the fibre, not the quantity alone.
TEST(KnotValues, ChangingLayerOrFibrePreparesAgainAndNeverShowsStaleValues) {
  Solved s("shell_two_materials.tps");
  TViewerProject& p = s.Project;
  p.SetIsoKind(ResultKind::Sx);
  p.SetLayer(0);
  p.SetStressPos(Fibre::Upper);
  ASSERT_TRUE(p.PrepareIsoLines(0, Fibre::Upper, nullptr));
  ASSERT_TRUE(p.EnsureIsoValues());
  const TResultKnot* left = s.Knot(1, 1, 4);
  const MaterialKey steel = p.Materials().Material(0).get();
  const MaterialKey concrete = p.Materials().Material(1).get();
  const Extended layer0 = left->ValueOf(steel);

  p.SetLayer(1);  // concrete on the left
  ASSERT_TRUE(p.EnsureIsoValues());
  EXPECT_EQ(*p.PreparedKey(), (KnotValuesKey{ResultKind::Sx, 1, Fibre::Upper}));
  EXPECT_FALSE(left->HasKey(steel));
  EXPECT_EQ(left->ValueOf(concrete), MeanOver(p, left, concrete, 1, Fibre::Upper, 0));
  EXPECT_NE(left->ValueOf(concrete), layer0);

  p.SetStressPos(Fibre::Lower);
  ASSERT_TRUE(p.EnsureIsoValues());
  EXPECT_EQ(*p.PreparedKey(), (KnotValuesKey{ResultKind::Sx, 1, Fibre::Lower}));
  EXPECT_EQ(left->ValueOf(concrete), MeanOver(p, left, concrete, 1, Fibre::Lower, 0));
  EXPECT_EQ(p.DataState(), 6);
}

class CountingProgress : public ProgressObserver {
 public:
  void SetLabel(const std::string& text) override {
    if (text == kPrepareKnotsLabel) ++Preparations;
  }
  int Preparations = 0;
};

class EditingIsoDialog : public IsoParamsDialog {
 public:
  bool Execute(TIsoParamsRec& params) override {
    Seen.push_back(params);
    params.Step = params.Step / 2;
    params.LabelStep = 5;
    return Ok;
  }
  bool Ok = true;
  std::vector<TIsoParamsRec> Seen;
};

TEST(KnotValues, SameQuantityTwicePreparesOnceAndKeepsTheEditedLevels) {
  Solved s("plate_clamped.tps");
  TViewerProject& p = s.Project;
  p.SetIsoKind(ResultKind::Wz);
  CountingProgress progress;
  EditingIsoDialog dialog;
  ASSERT_TRUE(p.PrepareIsoLines(-1, Fibre::Upper, &dialog, &progress));
  EXPECT_EQ(progress.Preparations, 1);
  ASSERT_EQ(dialog.Seen.size(), 1u);
  // Defaults from the range of w over the knots.
  Extended lo = 0, hi = 0;
  for (std::int32_t i = 0; i < p.Knots().Count(); ++i) {
    lo = std::min(lo, p.LoadVector()[static_cast<std::size_t>(i) * 5 + 2]);
    hi = std::max(hi, p.LoadVector()[static_cast<std::size_t>(i) * 5 + 2]);
  }
  EXPECT_EQ(dialog.Seen[0], DefaultIsoParams(ResultKind::Wz, static_cast<double>(lo), static_cast<double>(hi)));
  EXPECT_TRUE(p.IsoVisible());
  EXPECT_NE(p.DrawFlags() & kViewDrawIsolines, 0);
  const TIsoParamsRec edited = p.IsoParams();
  EXPECT_EQ(edited.LabelStep, 5);

  ASSERT_TRUE(p.PrepareIsoLines(-1, Fibre::Upper, &dialog, &progress));
  EXPECT_EQ(progress.Preparations, 1);
  EXPECT_EQ(dialog.Seen[1], edited);  // the edits are shown again, not the defaults
  const TIsoParamsRec kept = p.IsoParams();

  // A section view builds its thickness averages apart from the isoline values.
  ViewTransform plan = p.FirstWindow()->View;
  p.Model().UpdateScreen(plan);
  const auto section = p.SectionWindowData(plan);
  ASSERT_TRUE(section.has_value());
  EXPECT_EQ(section->Kind, Projection::XZ);
  EXPECT_EQ(section->Color, 0xFFFFFFu);
  EXPECT_NEAR(section->MinPoint.Z, -0.05L, 1e-15L);
  EXPECT_NEAR(section->MaxPoint.Z, 0.05L, 1e-15L);
  EXPECT_EQ(section->MinPoint.X, plan.MinPoint.X);
  EXPECT_EQ(section->MaxPoint.Y, plan.MaxPoint.Y);
  EXPECT_TRUE(p.KnotThickness().Ready());
  EXPECT_NEAR(p.KnotThickness().At(p.KnotAt(12)), 0.1L, 1e-18L);
  EXPECT_EQ(*p.PreparedKey(), (KnotValuesKey{ResultKind::Wz, -1, Fibre::Upper}));
  EXPECT_EQ(p.IsoParams(), kept);
  EXPECT_TRUE(p.EnsureIsoValues(&progress));
  EXPECT_EQ(progress.Preparations, 1);
  EXPECT_EQ(p.KnotAt(12)->ValueOf(nullptr), p.LoadVector()[12 * 5 + 2]);

  plan.Projection = Projection::XZ;
  EXPECT_FALSE(p.SectionWindowData(plan).has_value());

  // Cancel hides the isolines.
  dialog.Ok = false;
  ASSERT_TRUE(p.PrepareIsoLines(-1, Fibre::Upper, &dialog, &progress));
  EXPECT_FALSE(p.IsoVisible());
}

// Values prepared for another quantity in between are prepared again, and the
// levels the user edited for this quantity stay.
TEST(KnotValues, OtherValuesInBetweenKeepTheEditedLevels) {
  Solved s("plate_clamped.tps");
  TViewerProject& p = s.Project;
  p.SetIsoKind(ResultKind::Wz);
  EditingIsoDialog dialog;
  ASSERT_TRUE(p.PrepareIsoLines(-1, Fibre::Upper, &dialog));
  const TIsoParamsRec edited = p.IsoParams();
  ASSERT_TRUE(p.PrepareKnotValues(ResultKind::RotX, -1, Fibre::Upper));
  ASSERT_TRUE(p.EnsureIsoValues());
  EXPECT_EQ(*p.PreparedKey(), (KnotValuesKey{ResultKind::Wz, -1, Fibre::Upper}));
  EXPECT_EQ(p.KnotAt(12)->ValueOf(nullptr), p.LoadVector()[12 * 5 + 2]);
  EXPECT_EQ(p.IsoParams(), edited);
  // A new quantity takes the defaults of its own range.
  p.SetIsoKind(ResultKind::RotX);
  ASSERT_TRUE(p.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  EXPECT_EQ(p.IsoParams().StepCount, 10);
  EXPECT_EQ(p.IsoParams().LabelStep, 3);
  EXPECT_EQ(p.IsoParams().Kind, ResultKind::RotX);
  EXPECT_EQ(p.DataState(), 5);
}

TEST(KnotValues, KnotOfPlatesOnlyHasNoValue) {
  testing::EditorState e;
  TVelEditorProject& m = e.Project;
  const auto g = examples::BuildGrid(m, 1, 1, 1, 1, [](TGeometricElement& l, int, int) { l.Layer(0)->SetThickness(0.1L); });
  TEditorKnot* lone = m.Knots().AddKnot(2, 0, 0);
  auto plate = m.Factory()->MakePlate(ElementType::Triangle, m.Materials().Material(0));
  plate->Knots = {g.At(1, 0), lone, g.At(1, 1)};
  m.Elements().Add(std::move(plate));
  for (TEditorKnot* k : {g.At(0, 0), g.At(0, 1), lone}) examples::AddSupport(m, k, TFixation{1, 1, 1, 1, 1, 0});
  auto cf = m.Factory()->MakeConcForce();
  cf->Knot = g.At(1, 1);
  TForceRecord f;
  f.Pz = -1;
  cf->SetForce(f);
  m.ConcForces().Add(std::move(cf));
  const auto bytes = examples::SaveWithWindow(e, 2, 1);

  ScriptedMessages messages;
  TViewerProject p(messages);
  ASSERT_TRUE(p.LoadProjectBytes(bytes, "plates.tps"));
  RecordingStatus status;
  ASSERT_TRUE(p.StaticCalculate(status)) << messages.Shown.at(0).Text;
  EXPECT_EQ(tavir::BandWidth(p.Elements().Items()), 20);  // the plate does not count
  for (ResultKind kind : {ResultKind::Ux, ResultKind::Wz, ResultKind::Sx, ResultKind::Txy, ResultKind::RotX}) {
    ASSERT_TRUE(p.PrepareKnotValues(kind, 0, Fibre::Middle));
    EXPECT_EQ(p.KnotAt(4)->ValueCount(), 0) << int(kind);
    EXPECT_EQ(p.KnotAt(3)->ValueCount(), 1) << int(kind);
  }
  EXPECT_FALSE(p.PrepareKnotValues(ResultKind::None, 0, Fibre::Middle));
  p.AverageKnotThickness();
  EXPECT_FALSE(p.KnotThickness().Has(p.KnotAt(4)));
  EXPECT_EQ(p.KnotThickness().At(p.KnotAt(4)), 0);
}

// A shell that lists one knot twice (a quadrangle drawn with a corner repeated)
// meets that knot once: the stress and thickness means there count it once.
TEST(KnotValues, KnotListedTwiceInOneShellCountsOnce) {
  TVelEditorProject m(MakeResultModelFactory());
  const std::shared_ptr<TPhisPropRodNL> material = m.Materials().Material(0);
  std::vector<TEditorKnot*> k;
  for (const auto& [x, y] : {std::pair{0, 0}, {0, 1}, {1, 1}, {1, 0}, {2, 1}})
    k.push_back(m.Knots().AddKnot(x, y, 0));
  struct Shell {
    std::vector<int> knots;
    Extended sx, thickness;
  };
  // The second shell lists knot 3 first and last.
  for (const Shell& s : {Shell{{0, 1, 2, 3}, 10, 0.1L}, Shell{{3, 2, 4, 3}, 40, 0.4L}}) {
    auto shell = m.Factory()->MakeShell(ElementType::Rectangle, material);
    shell->Knots.clear();
    for (const int i : s.knots) shell->Knots.push_back(k[static_cast<std::size_t>(i)]);
    shell->Layers.Layer(0)->SetThickness(s.thickness);
    for (TFloat2DMatrix& fibre : AsResultShell(shell.get())->Stresses) {
      fibre.Resize(1, 3);
      fibre[0][0] = s.sx;
    }
    m.Elements().Add(std::move(shell));
  }
  const std::vector<Extended> solved(k.size() * 5, 0);
  ASSERT_TRUE(PrepareKnotValues(m.Knots(), m.Elements(), solved, ResultKind::Sx, 0, Fibre::Upper));
  const TResultKnot* twice = AsResultKnot(k[3]);
  ASSERT_EQ(twice->ValueCount(), 1);
  EXPECT_EQ(twice->ValueOf(material.get()), 25);  // (10 + 40) / 2, not (10 + 2 x 40) / 3
  EXPECT_EQ(twice->ValueOf(material.get()),
            KnotStressAverage(*k[3], material.get(), Fibre::Upper, ResultKind::Sx, 0, m.Elements()));
  EXPECT_EQ(AsResultKnot(k[2])->ValueOf(material.get()), 25);
  EXPECT_EQ(AsResultKnot(k[4])->ValueOf(material.get()), 40);

  KnotThicknessStore thickness;
  thickness.Build(m.Knots(), m.Elements());
  EXPECT_EQ(thickness.At(k[3]), (0.1L + 0.4L) / 2);
  EXPECT_EQ(thickness.At(k[4]), 0.4L);
}

TEST(KnotValues, RangesAndLayerCount) {
  TFinKnots knots(MakeResultModelFactory());
  const ValueBounds none = KnotValueRange(knots);
  EXPECT_EQ(none.Min, 1E4096L);
  EXPECT_EQ(none.Max, -1E4000L);
  Solved s("shell_two_materials.tps");
  EXPECT_EQ(s.Project.MaxLayerCount(), 2);
  ASSERT_TRUE(s.Project.PrepareKnotValues(ResultKind::Sy, 0, Fibre::Upper));
  const ValueBounds r = s.Project.ValueRange();
  EXPECT_LT(r.Min, r.Max);
}

TEST(KnotValues, NoValuesWithoutASolve) {
  ScriptedMessages messages;
  TViewerProject p(messages);
  ASSERT_TRUE(p.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "a.tps"));
  p.SetIsoKind(ResultKind::Wz);
  EXPECT_FALSE(p.PrepareKnotValues(ResultKind::Wz, -1, Fibre::Upper));
  EXPECT_FALSE(p.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  EXPECT_FALSE(p.IsoVisible());
}

TEST(ViewTexts, CaptionsOfTheQuantities) {
  EXPECT_EQ(ProgressCaption(ResultKind::Sy), "Нормальные напряжения по оси X (Sy)");
  EXPECT_EQ(ProgressCaption(ResultKind::RotY), "Угол поворота отн. оси Y");
  EXPECT_EQ(StatusCaption(ResultKind::Wz), "Изолинии перемещений вдоль оси Z");
  EXPECT_EQ(StatusCaption(ResultKind::RotX), "Изолинии углов поворота отн. оси X");
  EXPECT_EQ(ProgressCaption(ResultKind::None), "");
  EXPECT_EQ(IsoStatusPanelText(0x440C, ResultKind::Txy), std::optional<std::string>("Изолинии касательных напряжений Txy"));
  EXPECT_EQ(IsoStatusPanelText(0x000C, ResultKind::Txy), std::optional<std::string>(""));
  EXPECT_EQ(IsoStatusPanelText(0x0400, ResultKind::None), std::nullopt);
  const std::vector<std::pair<std::uint8_t, std::uint8_t>> states = {{0, 1}, {1, 2}, {2, 3}, {3, 6},
                                                                    {4, 7}, {5, 8}, {6, 4}, {7, 5}, {8, 0}};
  for (auto [kind, state] : states) EXPECT_EQ(DataStateOfKind(CodeOfByte<ResultKind>(kind)), state) << int(kind);
}

}  // namespace
}  // namespace tavir
