// Supports, loads, materials and shell surfaces: the "all zero means none" rule,
// the material dialogs and the in-use test, adding surfaces by parameters and by
// the two dialogs.
#include <gtest/gtest.h>

#include <string>

#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "model/project.h"
#include "model/project_fixture.h"
#include "fakes/scripted_messages.h"
#include "fakes/scripted_model_ui.h"
#include "fakes/scripted_model_dialogs.h"

namespace tavir {
namespace {

ViewTransform Plan() { return testing::GridPlanWindow(); }

TForceRecord Force(int component, Extended v) {
  TForceRecord f;
  f.SetComponent(component, v);
  return f;
}

struct LoadFixture : ::testing::Test {
  ScriptedModelUi ui;
  TVelEditorProject p{DefaultModelFactory(), &ui};
  ScriptedMessages msgs;
  ScriptedModelDialogs dialogs;
  TEditorKnot* k1 = p.Knots().AddKnot(0, 0, 0);
  TEditorKnot* k2 = p.Knots().AddKnot(1, 0, 0);

  std::shared_ptr<TPhisPropRodNL> Steel() { return p.Materials().Material(0); }
  TMLEditorElement* Plate() {
    std::vector<TEditorKnot*> ks{k1, p.Knots().AddKnot(0, 1, 0), k2};
    return AddElement(p.Elements(), msgs, ElementType::Triangle, ElementKind::Plate, ks, Steel()).Element;
  }
};

// ---- supports ----

TEST_F(LoadFixture, SetSupportFollowsAllZeroMeansNone) {
  const TFixation none{0, 0, 0, 0, 0, 0};
  TEditorSupports& s = p.Supports();
  EXPECT_EQ(SetSupport(s, k1, none, 1), SetOutcome::Nothing);
  EXPECT_EQ(s.Count(), 0);

  k1->SetVisible(1);
  EXPECT_EQ(SetSupport(s, k1, TFixation{1, 1, 1, 0, 0, 0}, 0), SetOutcome::Added);
  EXPECT_EQ(SetSupport(s, k2, TFixation{0, 0, 1, 0, 0, 0}, 1), SetOutcome::Added);
  ASSERT_EQ(s.Count(), 2);
  EXPECT_EQ(s.At(0)->Visible, 1);  // as its knot
  EXPECT_EQ(s.At(1)->Visible, 0);

  // A new fixation changes the one support, with its direction.
  EXPECT_EQ(SetSupport(s, k1, TFixation{0, 1, 0, 0, 0, 1}, 1), SetOutcome::Changed);
  ASSERT_EQ(s.Count(), 2);
  EXPECT_EQ(s.At(0)->Fixation, (TFixation{0, 1, 0, 0, 0, 1}));
  EXPECT_EQ(s.At(0)->Direction, 1);

  // All free deletes it; the other support keeps its direction.
  EXPECT_EQ(SetSupport(s, k1, none, 0), SetOutcome::Deleted);
  ASSERT_EQ(s.Count(), 1);
  EXPECT_EQ(s.At(0)->Knot, k2);
  EXPECT_EQ(s.At(0)->Direction, 1);
  EXPECT_EQ(SetSupport(s, nullptr, TFixation{1, 0, 0, 0, 0, 0}, 0), SetOutcome::Nothing);
}

TEST_F(LoadFixture, AddSupportAppendsAndSetSupportKeepsOne) {
  TEditorSupports& s = p.Supports();
  EXPECT_EQ(AddSupport(s, k1, TFixation{0, 0, 0, 0, 0, 0}), nullptr);
  EXPECT_EQ(AddSupport(s, nullptr, TFixation{1, 0, 0, 0, 0, 0}), nullptr);
  TEditorSupport* a = AddSupport(s, k1, TFixation{2, 2, 2, 2, 2, 2});  // the reader's placeholder
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Direction, 0);
  EXPECT_EQ(a->Visible, 0);
  AddSupport(s, k2, TFixation{1, 0, 0, 0, 0, 0});
  AddSupport(s, k1, TFixation{0, 1, 0, 0, 0, 0});
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(SetSupport(s, k1, TFixation{0, 0, 1, 0, 0, 0}, 0), SetOutcome::Changed);
  ASSERT_EQ(s.Count(), 2);
  EXPECT_EQ(s.At(0), a);
  EXPECT_EQ(a->Fixation, (TFixation{0, 0, 1, 0, 0, 0}));
  AddSupport(s, k1, TFixation{0, 1, 0, 0, 0, 0});
  EXPECT_EQ(DeleteAtKnot(s, k1), 2);
  EXPECT_EQ(DeleteAtKnot(s, k1), 0);
  EXPECT_EQ(s.Count(), 1);
}

// ---- loads ----

TEST_F(LoadFixture, ConcentratedLoadsFollowAllZeroMeansNone) {
  TConcForcesList& f = p.ConcForces();
  EXPECT_EQ(SetForce(f, k1, TForceRecord{}), SetOutcome::Nothing);
  EXPECT_EQ(SetForce(f, k1, Force(6, 7)), SetOutcome::Added);  // Mz alone is a load
  ASSERT_EQ(f.Count(), 1);
  EXPECT_EQ(f.At(0)->Visible, 0);
  EXPECT_EQ(GetForce(f, k1).Mz, 7);
  EXPECT_EQ(SetForce(f, k1, Force(1, -3)), SetOutcome::Changed);
  EXPECT_EQ(GetForce(f, k1).Px, -3);
  EXPECT_EQ(GetForce(f, k1).Mz, 0);
  EXPECT_EQ(SetForce(f, k1, TForceRecord{}), SetOutcome::Deleted);
  EXPECT_EQ(f.Count(), 0);
  EXPECT_TRUE(GetForce(f, k1).IsZero());

  // AddForce appends; SetForce brings it back to one; zeros delete every one.
  EXPECT_EQ(AddForce(f, k1, TForceRecord{}), -1);
  EXPECT_EQ(AddForce(f, nullptr, Force(1, 1)), -1);
  EXPECT_EQ(AddForce(f, k1, Force(1, 1)), 0);
  EXPECT_EQ(AddForce(f, k2, Force(2, 2)), 1);
  EXPECT_EQ(AddForce(f, k1, Force(3, 3)), 2);
  EXPECT_EQ(GetForce(f, k1).Px, 1);  // the first one counts
  EXPECT_EQ(SetForce(f, k1, Force(4, 4)), SetOutcome::Changed);
  EXPECT_EQ(f.Count(), 2);
  AddForce(f, k1, Force(3, 3));
  EXPECT_EQ(SetForce(f, k1, TForceRecord{}), SetOutcome::Deleted);
  ASSERT_EQ(f.Count(), 1);
  EXPECT_EQ(f.At(0)->Knot, k2);
}

TEST_F(LoadFixture, DistributedLoadsFollowAllZeroMeansNone) {
  TMLEditorElement* e = Plate();
  ASSERT_NE(e, nullptr);
  TDispForcesList& f = p.DispForces();
  EXPECT_EQ(SetForce(f, e, Force(3, -10)), SetOutcome::Added);
  ASSERT_EQ(f.Count(), 1);
  EXPECT_EQ(f.At(0)->Option1, 0);
  EXPECT_EQ(f.At(0)->Option2, 0);
  EXPECT_EQ(GetForce(f, e).Pz, -10);
  AddForce(f, e, Force(3, -1));
  EXPECT_EQ(SetForce(f, e, Force(3, -20)), SetOutcome::Changed);
  EXPECT_EQ(f.Count(), 1);
  EXPECT_EQ(SetForce(f, e, TForceRecord{}), SetOutcome::Deleted);
  EXPECT_TRUE(GetForce(f, e).IsZero());
  EXPECT_EQ(SetForce(f, nullptr, Force(1, 1)), SetOutcome::Nothing);
  EXPECT_EQ(DeleteAtElement(f, e), 0);
}

// ---- materials ----

TEST_F(LoadFixture, NewMaterialThroughTheDialog) {
  dialogs.MaterialAnswers.push_back(std::nullopt);
  EXPECT_EQ(NewMaterial(p.Materials(), dialogs, msgs), nullptr);
  EXPECT_EQ(p.Materials().Count(), 1);
  ASSERT_EQ(dialogs.MaterialCalls.size(), 1u);
  EXPECT_EQ(dialogs.MaterialCalls[0].Material.E, 2.06e6L);  // opens on the defaults, no name
  EXPECT_EQ(dialogs.MaterialCalls[0].Name, "");

  MaterialDialogValues v;
  v.Name = "Бетон В25";
  v.Material.SetE(3e6L);
  v.Material.SetFi(45);
  dialogs.MaterialAnswers.push_back(v);
  const std::shared_ptr<TPhisPropRodNL> m = NewMaterial(p.Materials(), dialogs, msgs);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(p.Materials().Count(), 2);
  EXPECT_EQ(p.Materials().MaterialName(m.get()), "Бетон В25");
  EXPECT_EQ(m->E, 3e6L);
  EXPECT_EQ(m->Fi, 45);

  // A name a project file cannot store is refused.
  v.Name = "Сталь \u263A";
  dialogs.MaterialAnswers.push_back(v);
  EXPECT_EQ(NewMaterial(p.Materials(), dialogs, msgs), nullptr);
  EXPECT_EQ(p.Materials().Count(), 2);
  EXPECT_EQ(msgs.Shown.size(), 1u);
}

TEST_F(LoadFixture, EditMaterial) {
  TPhisPropRodNL stranger;
  EXPECT_EQ(EditMaterial(p.Materials(), &stranger, dialogs, msgs), MaterialOutcome::NotFound);
  ASSERT_EQ(msgs.Shown.size(), 1u);
  EXPECT_EQ(msgs.Shown[0].Text, "Материал не найден!");
  EXPECT_TRUE(dialogs.MaterialCalls.empty());

  Steel()->SetMu(0.25L);
  EXPECT_EQ(EditMaterial(p.Materials(), Steel().get(), dialogs, msgs), MaterialOutcome::Cancelled);
  ASSERT_EQ(dialogs.MaterialCalls.size(), 1u);
  EXPECT_EQ(dialogs.MaterialCalls[0].Name, "Сталь С300");
  EXPECT_EQ(dialogs.MaterialCalls[0].Material.mu, 0.25L);

  MaterialDialogValues v;
  v.Name = "Сталь С345";
  v.Material.SetR(3.45e5L);
  dialogs.MaterialAnswers.push_back(v);
  const TPhisPropRodNL* before = Steel().get();
  EXPECT_EQ(EditMaterial(p.Materials(), before, dialogs, msgs), MaterialOutcome::Changed);
  EXPECT_EQ(Steel().get(), before);  // the same object, so the layers keep it
  EXPECT_EQ(p.Materials().Name(0), "Сталь С345");
  EXPECT_EQ(Steel()->R, 3.45e5L);
  EXPECT_EQ(Steel()->mu, 0.3L);
}

TEST_F(LoadFixture, AMaterialInUseIsNotDeleted) {
  TMaterials& m = p.Materials();
  const auto concrete = m.AddMaterial("Бетон");
  const auto rebar = m.AddMaterial("Арматура");
  const auto spare = m.AddMaterial("Запас");
  TMLEditorElement* e = Plate();
  e->Layers.AddLayerByName("Слой 2", concrete);
  TGeometricElement defLayers;  // the supervisor's default stack
  defLayers.AddLayerByName("Тело пластины", rebar);
  TPhisicalElement edited(spare);  // a layer open in the layer dialog
  const MaterialHolders holders{{&defLayers}, {&edited}};

  struct Case {
    const char* Name;
    std::shared_ptr<TPhisPropRodNL> Material;
    MaterialOutcome Outcome;
  } cases[] = {
      {"element layer", concrete, MaterialOutcome::InUse},
      {"default stack", rebar, MaterialOutcome::InUse},
      {"layer being edited", spare, MaterialOutcome::InUse},
  };
  for (const Case& c : cases) {
    msgs.Shown.clear();
    EXPECT_EQ(DeleteMaterial(m, c.Material.get(), msgs, holders), c.Outcome) << c.Name;
    EXPECT_EQ(m.Count(), 4) << c.Name;
    ASSERT_EQ(msgs.Shown.size(), 1u) << c.Name;
    EXPECT_EQ(msgs.Shown[0].Kind, MsgKind::Error);
    EXPECT_EQ(msgs.Shown[0].Caption, "Ошибка");
    EXPECT_EQ(msgs.Shown[0].Text,
              "Материал используется элементами!\rИзмените свойства элементов, затем\rудаляйте материал");
  }
  // Without the holders only the elements count.
  msgs.Shown.clear();
  EXPECT_EQ(DeleteMaterial(m, spare.get(), msgs), MaterialOutcome::Deleted);
  EXPECT_EQ(edited.Material(), spare);  // held here, so not dangling either
  EXPECT_EQ(m.Count(), 3);
  EXPECT_EQ(DeleteMaterial(m, spare.get(), msgs), MaterialOutcome::NotFound);
  EXPECT_TRUE(msgs.Shown.empty());
}

TEST_F(LoadFixture, DeletingTheLastMaterialLeavesElementsWithoutOne) {
  EXPECT_EQ(DeleteMaterial(p.Materials(), Steel().get(), msgs), MaterialOutcome::Deleted);
  EXPECT_EQ(p.Materials().Count(), 0);
  // The next MaterialByIndex(0) opens the chooser; cancelled, there is no material,
  // and no element can be made.
  const std::shared_ptr<TPhisPropRodNL> m = p.Materials().MaterialByIndex(0);
  EXPECT_EQ(ui.MaterialCalls.size(), 1u);
  EXPECT_EQ(m, nullptr);
  msgs.Shown.clear();
  const AddAtPointResult r = AddAtPoint(p.Elements(), 50, 950, m, ElementKind::Shell, ElementType::Rectangle, Plan(), nullptr, msgs);
  EXPECT_TRUE(r.Added.empty());
  EXPECT_EQ(p.Elements().Count(), 0);
  EXPECT_EQ(p.Knots().Count(), 2);  // the fixture's two; the click's new knots are gone
  ASSERT_EQ(msgs.Shown.size(), 1u);
  EXPECT_EQ(msgs.Shown[0].Text, kNoElementMaterialText);
}

// ---- shell surfaces ----

TEST_F(LoadFixture, AddShellByKindAndParameters) {
  TShellFunctions& s = p.ShellFuncs();
  const TFloatPoint3D o = FloatPoint3D(1, 2, 0);
  EXPECT_EQ(AddShell(s, 1, o, 0, {}, 255), -1);
  EXPECT_EQ(s.Count(), 0);

  EXPECT_EQ(AddShell(s, 0, o, 0, {6, 4, 0.5L, 0.25L}, 0xFF00), 0);
  const TEditorShellEP* ep = TShellFunctions::AsParaboloid(s.At(0));
  ASSERT_NE(ep, nullptr);
  EXPECT_EQ(ep->Origin.X, 1);
  EXPECT_EQ(ep->GetA(), 6);
  EXPECT_EQ(ep->GetF2(), 0.25L);
  EXPECT_EQ(ep->Color, 0xFF00u);
  EXPECT_NEAR(static_cast<double>(ep->Kx), 8 * 0.5 / 36, 1e-15);
  // Three parameters: the paraboloid keeps its own.
  AddShell(s, 0, o, 0, {6, 4, 0.5L}, 255);
  EXPECT_EQ(TShellFunctions::AsParaboloid(s.At(1))->GetA(), 10);

  struct Case {
    std::vector<Extended> Params;
    Extended A, CentreX, CentreY;
  } spheres[] = {
      {{10, 2}, 10, 5, 5},
      {{4, 1}, 4, 2, 2},
      {{}, 10, 5, 5},      // no parameters: its own side, parameter 0 is never read
      {{8}, 10, 5, 5},     // one parameter: not a parameter set, the sphere keeps its own
      {{4, 1, 9}, 10, 5, 5},
  };
  for (const Case& c : spheres) {
    const std::int32_t pos = AddShell(s, 3, FloatPoint3D(0, 0, 0), 0, c.Params, 255);
    ASSERT_GE(pos, 0);
    const TEditorSphere* sp = TShellFunctions::AsSphere(s.At(pos));
    ASSERT_NE(sp, nullptr);
    EXPECT_EQ(sp->GetA(), c.A) << c.Params.size();
    EXPECT_EQ(sp->Origin.X, c.CentreX) << c.Params.size();
    EXPECT_EQ(sp->Origin.Y, c.CentreY) << c.Params.size();
    EXPECT_EQ(sp->Origin.Z, 0);
  }
}

TEST_F(LoadFixture, AddByDialogProposesTheFrame) {
  TShellFunctions& s = p.ShellFuncs();
  const TFloatPoint3D p1 = FloatPoint3D(2, 7, 0);  // smallest X, largest Y
  const TFloatPoint3D p2 = FloatPoint3D(8, 3, 0);  // a frame 6 wide and 4 high
  const ViewTransform plan = Plan();

  dialogs.SurfaceKindAnswers = {std::int16_t{0}, std::int16_t{3}};
  dialogs.ShellDataAnswers.push_back(std::function<void(ShellDataValues&)>{});
  dialogs.ShellDataAnswers.push_back(std::function<void(ShellDataValues&)>([](ShellDataValues& v) {
    v.Params[1] = 0.5L;
    v.ContourColor = 0xFF;
  }));
  AddShellResult r = AddByDialog(s, p1, p2, 0, plan, dialogs);
  EXPECT_EQ(r.Outcome, AddShellOutcome::Added);
  EXPECT_EQ(r.Position, 0);
  r = AddByDialog(s, p1, p2, 0, plan, dialogs);
  EXPECT_EQ(r.Position, 1);
  ASSERT_EQ(dialogs.ShellDataCalls.size(), 2u);
  const ShellDataValues& ep = dialogs.ShellDataCalls[0];
  EXPECT_EQ(ep.Kind, 0);
  EXPECT_EQ(ep.Params, (std::vector<Extended>{6, 4, 0.2L, 0.2L}));
  EXPECT_EQ(ep.Origin.X, 2);
  EXPECT_EQ(ep.Origin.Y, 3);
  EXPECT_FALSE(ep.ChoiceEnabled);
  EXPECT_EQ(ep.ContourColor, 255u);
  EXPECT_EQ(dialogs.ShellDataCalls[1].Params, (std::vector<Extended>{6, 0.2L}));
  // The paraboloid lies on the frame, the sphere centred on the square of side 6.
  EXPECT_EQ(TShellFunctions::AsParaboloid(s.At(0))->Origin.Y, 3);
  const TEditorSphere* sp = TShellFunctions::AsSphere(s.At(1));
  ASSERT_NE(sp, nullptr);
  EXPECT_EQ(sp->Origin.X, 5);
  EXPECT_EQ(sp->Origin.Y, 6);
  EXPECT_EQ(sp->GetF(), 0.5L);

  // Cancel at either dialog, or no kind chosen: nothing.
  dialogs.SurfaceKindAnswers = {std::nullopt, std::int16_t{-1}, std::int16_t{0}};
  dialogs.ShellDataAnswers.push_back(std::nullopt);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(AddByDialog(s, p1, p2, 0, plan, dialogs).Outcome, AddShellOutcome::Cancelled);
  EXPECT_EQ(s.Count(), 2);

  // A frame drawn in a side view frames nothing: no dialog opens.
  ViewTransform side = plan;
  side.Projection = Projection::YZ;
  const int kindCalls = dialogs.SurfaceKindCalls;
  EXPECT_EQ(AddByDialog(s, p1, p2, 0, side, dialogs).Outcome, AddShellOutcome::EmptyFrame);
  EXPECT_EQ(dialogs.SurfaceKindCalls, kindCalls);
  EXPECT_EQ(s.Count(), 2);

  ShowList(s, dialogs);
  EXPECT_EQ(dialogs.ShellListCalls, 1);
}

}  // namespace
}  // namespace tavir
