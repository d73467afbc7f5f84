#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "model/project.h"
#include "model/project_fixture.h"
#include "platform/recording_canvas.h"
#include "fakes/scripted_model_ui.h"

namespace tavir {
namespace {

using testing::PlanWindow;
using testing::SampleModel;

TEST(Project, NewProjectHoldsOnlyTheDefaultSteel) {
  TVelEditorProject p;
  ASSERT_EQ(p.Materials().Count(), 1);
  EXPECT_EQ(p.Materials().Name(0), "Сталь С300");
  const auto steel = p.Materials().Material(0);
  ASSERT_TRUE(steel);
  EXPECT_EQ(steel->E, 2.06e6L);
  EXPECT_EQ(steel->mu, 0.3L);
  EXPECT_EQ(p.FileName(), "NoName.tps");
  EXPECT_EQ(p.Knots().Count(), 0);
  EXPECT_EQ(p.Elements().Count(), 0);
  EXPECT_EQ(p.Supports().Count(), 0);
  EXPECT_EQ(p.ConcForces().Count(), 0);
  EXPECT_EQ(p.DispForces().Count(), 0);
  EXPECT_EQ(p.ShellFuncs().Count(), 0);
  EXPECT_EQ(p.Knots().MinSizeX, 1.0L);
  EXPECT_EQ(p.Knots().MinSizeY, 1.0L);
  // The links of the lists.
  EXPECT_EQ(p.Knots().Elements, &p.Elements());
  EXPECT_EQ(p.Knots().Supports, &p.Supports());
  EXPECT_EQ(p.Knots().ConcForces, &p.ConcForces());
  EXPECT_EQ(p.Elements().Knots, &p.Knots());
  EXPECT_EQ(p.Elements().Materials, &p.Materials());
  EXPECT_EQ(p.Elements().DispForces, &p.DispForces());
  EXPECT_EQ(p.Supports().Knots, &p.Knots());
  EXPECT_EQ(p.DispForces().Elements, &p.Elements());
  EXPECT_EQ(p.Materials().Elements, &p.Elements());
}

TEST(Project, ClearEmptiesTheModelButKeepsTheSmallestSizes) {
  TVelEditorProject p;
  SampleModel m(p);
  p.SetFileName("/tmp/model.tps");
  p.Knots().Select(m.K[1], nullptr);
  p.Elements().Select(m.Plate, nullptr);
  // A shell 0.25 wide and 0.5 high.
  TEditorKnot* a = p.Knots().AddKnot(5, 5, 0);
  TEditorKnot* b = p.Knots().AddKnot(5, 5.5L, 0);
  TEditorKnot* c = p.Knots().AddKnot(5.25L, 5.5L, 0);
  TEditorKnot* d = p.Knots().AddKnot(5.25L, 5, 0);
  auto small = p.Factory()->MakeShell(ElementType::Rectangle, m.Steel);
  small->Knots = {a, b, c, d};
  p.Elements().Add(std::move(small));
  p.Elements().UpdateMinSizes();
  EXPECT_EQ(p.Knots().MinSizeX, 0.25L);
  EXPECT_EQ(p.Knots().MinSizeY, 0.5L);

  p.Clear();
  EXPECT_EQ(p.Knots().Count(), 0);
  EXPECT_EQ(p.Elements().Count(), 0);
  EXPECT_EQ(p.Supports().Count(), 0);
  EXPECT_EQ(p.ConcForces().Count(), 0);
  EXPECT_EQ(p.DispForces().Count(), 0);
  EXPECT_EQ(p.ShellFuncs().Count(), 0);
  EXPECT_TRUE(p.Knots().Selection().empty());
  EXPECT_TRUE(p.Elements().Selection().empty());
  ASSERT_EQ(p.Materials().Count(), 1);
  EXPECT_EQ(p.Materials().Name(0), "Сталь С300");
  EXPECT_NE(p.Materials().Material(0), m.Steel);  // a new object of default properties
  EXPECT_EQ(p.FileName(), "NoName.tps");
  EXPECT_EQ(p.Knots().MinSizeX, 0.25L);
  EXPECT_EQ(p.Knots().MinSizeY, 0.5L);
  // Layers that referred to the old materials see them gone.
  EXPECT_EQ(m.Steel.use_count(), 1);
}

TEST(Project, MinSizesTakeOnlyPositiveFiniteLengths) {
  TFinKnots knots(DefaultModelFactory());
  for (Extended bad : {Extended{0}, Extended{-3}, std::numeric_limits<Extended>::quiet_NaN(),
                       std::numeric_limits<Extended>::infinity(), -std::numeric_limits<Extended>::infinity()}) {
    knots.SetMinSizeX(bad);
    knots.SetMinSizeY(bad);
  }
  EXPECT_EQ(knots.MinSizeX, 1.0L);
  EXPECT_EQ(knots.MinSizeY, 1.0L);
  knots.SetMinSizeX(0.5L);
  knots.SetMinSizeX(0.75L);  // never grows back
  knots.SetMinSizeY(2);
  EXPECT_EQ(knots.MinSizeX, 0.5L);
  EXPECT_EQ(knots.MinSizeY, 1.0L);
}

TEST(Project, UpdateMinSizesCountsOnlyRectangularShells) {
  TVelEditorProject p;
  SampleModel m(p);  // the shell is 2 x 1, the plate is a triangle
  TEditorKnot* a = p.Knots().AddKnot(0, 0, 0);
  TEditorKnot* b = p.Knots().AddKnot(0, 0.1L, 0);
  TEditorKnot* c = p.Knots().AddKnot(0.1L, 0.1L, 0);
  TEditorKnot* d = p.Knots().AddKnot(0.1L, 0, 0);
  auto plate = p.Factory()->MakePlate(ElementType::Rectangle, m.Steel);  // a rectangular plate: not counted
  plate->Knots = {a, b, c, d};
  p.Elements().Add(std::move(plate));
  auto quad = p.Factory()->MakeShell(ElementType::Quadrangle, m.Steel);  // element type 2: not counted
  quad->Knots = {a, b, c, d};
  p.Elements().Add(std::move(quad));
  p.Elements().UpdateMinSizes();
  EXPECT_EQ(p.Knots().MinSizeX, 1.0L);
  EXPECT_EQ(p.Knots().MinSizeY, 1.0L);
}

TEST(Project, LookUpsByPositionAndByItem) {
  TVelEditorProject p;
  SampleModel m(p);
  EXPECT_EQ(p.Knots().KnotByIndex(-1), nullptr);
  EXPECT_EQ(p.Knots().KnotByIndex(p.Knots().Count()), nullptr);
  EXPECT_EQ(p.Knots().KnotByIndex(4), m.K[4]);
  EXPECT_EQ(p.Knots().IndexOfKnot(m.K[2]), 2);
  TEditorKnot stranger;
  EXPECT_EQ(p.Knots().IndexOfKnot(&stranger), -1);
  EXPECT_EQ(p.Knots().IndexOfKnot(nullptr), -1);

  EXPECT_EQ(p.Elements().ElementByIndex(-1), nullptr);
  EXPECT_EQ(p.Elements().ElementByIndex(2), nullptr);
  EXPECT_EQ(p.Elements().ElementByIndex(1), m.Plate);
  EXPECT_EQ(p.Elements().IndexOfElement(m.Shell), 0);
  EXPECT_EQ(p.Elements().ElementAt(1), static_cast<TFiniteElement*>(m.Plate));

  EXPECT_EQ(p.Materials().IndexOfMaterial(m.Concrete.get()), 1);
  TPhisPropRodNL foreign;
  EXPECT_EQ(p.Materials().IndexOfMaterial(&foreign), -1);
  EXPECT_EQ(p.Materials().MaterialName(m.Concrete.get()), "Бетон В25");
  EXPECT_EQ(p.Materials().MaterialName(&foreign), "не определен");

  EXPECT_EQ(p.Supports().IndexOfKnot(m.K[4]), 1);
  EXPECT_EQ(p.Supports().IndexOfKnot(m.K[1]), -1);
  EXPECT_EQ(p.ConcForces().IndexOfKnot(m.K[2]), 0);
  EXPECT_EQ(p.DispForces().IndexOfElement(m.Plate), 0);
  EXPECT_EQ(p.DispForces().IndexOfElement(m.Shell), -1);
}

TEST(Project, ElementListTakesOnlyPlatesAndShellsOfMatchingClass) {
  TVelEditorProject p;
  const auto steel = p.Materials().Material(0);
  EXPECT_EQ(p.Elements().Add(nullptr), nullptr);
  EXPECT_EQ(p.Elements().Add(std::make_unique<TMLEditorElement>(ElementType::Triangle, steel, CodeOfByte<ElementKind>(3))), nullptr);
  EXPECT_EQ(p.Elements().Add(std::make_unique<TMLEditorElement>(ElementType::Triangle, steel, ElementKind::Shell)), nullptr);
  EXPECT_EQ(p.Elements().Add(std::make_unique<TMLEditorShell>(ElementType::Triangle, steel, ElementKind::Plate)), nullptr);
  EXPECT_EQ(p.Elements().Count(), 0);
  EXPECT_NE(p.Elements().Add(std::make_unique<TMLEditorShell>(ElementType::Triangle, steel, ElementKind::Shell)), nullptr);
  EXPECT_NE(p.Elements().Add(std::make_unique<TMLEditorElement>(ElementType::Triangle, steel, ElementKind::Plate)), nullptr);
  EXPECT_EQ(p.Elements().Count(), 2);
}

// A shell over no surface keeps the curvatures typed for it (they used to be
// zeroed, so a save lost them); heights under no surface are 0.
TEST(Project, ApplyShellFuncsWithoutSurfacesZeroesHeightsAndKeepsShellCurvatures) {
  TVelEditorProject p;
  SampleModel m(p);
  p.ShellFuncs().FreeAll();
  for (TEditorKnot* k : m.K) k->SetZ(7);
  m.Shell->SetKx(1);
  m.Shell->SetKy(2);
  m.Shell->SetKxy(3);
  p.ApplyShellFuncs();
  for (TEditorKnot* k : m.K) EXPECT_EQ(k->Z, 0);
  EXPECT_EQ(m.Shell->Kx, 1);
  EXPECT_EQ(m.Shell->Ky, 2);
  EXPECT_EQ(m.Shell->Kxy, 3);
}

TEST(Project, ApplyShellFuncsTakesHeightsAndCurvaturesFromTheFirstSurface) {
  TVelEditorProject p;
  SampleModel m(p);
  // A second paraboloid over the same plan comes later in the list: never used.
  auto later = p.Factory()->MakeParaboloid();
  later->SetParams(2, 1, 5, 5);
  p.ShellFuncs().Add(std::move(later));
  m.Shell->SetKxy(9);
  p.ApplyShellFuncs();
  EXPECT_EQ(m.K[0]->Z, m.Paraboloid->CalcZ(0, 0));
  EXPECT_NEAR(static_cast<double>(m.K[0]->Z), 0, 1e-18);  // a plan corner, up to rounding
  EXPECT_EQ(m.K[4]->Z, 0);  // under no surface
  EXPECT_EQ(m.Shell->Kx, m.Paraboloid->Kx);
  EXPECT_EQ(m.Shell->Ky, m.Paraboloid->Ky);
  EXPECT_NE(m.Shell->Kx, 0);
  EXPECT_EQ(m.Shell->Kxy, 0);
  // The middle of the plan is the lowest point: -(f1 + f2).
  TEditorKnot* mid = p.Knots().AddKnot(1, 0.5L, 0);
  p.ApplyShellFuncs();
  EXPECT_NEAR(static_cast<double>(mid->Z), -0.15, 1e-15);
}

TEST(Project, ShellLookUpsTakeTheFirstSurfaceHoldingThePoint) {
  TShellFunctions shells(DefaultModelFactory());
  EXPECT_EQ(shells.GetZ(0, 0), 0);
  EXPECT_EQ(shells.GetKx(0, 0), 0);
  EXPECT_EQ(shells.GetKy(0, 0), 0);
  auto sphere = std::make_unique<TEditorSphere>();  // a = 10, f = 2 around (0, 0)
  TEditorSphere* s = shells.Add(std::move(sphere));
  s->CalcCurvatures();
  s->SetKy(123);  // a sphere reports its Kx for both
  auto ep = std::make_unique<TEditorShellEP>();  // [0, 10] x [0, 10]
  TEditorShellEP* e = shells.Add(std::move(ep));
  EXPECT_EQ(shells.GetZ(5, 0), 2);
  EXPECT_EQ(shells.GetKx(5, 0), s->Kx);
  EXPECT_EQ(shells.GetKy(5, 0), s->Kx);
  // Outside the sphere's square, inside the paraboloid's plan.
  EXPECT_EQ(shells.GetZ(5, 10), -1);
  EXPECT_EQ(shells.GetKy(5, 10), e->Ky);
  EXPECT_EQ(shells.GetZ(50, 50), 0);
}

TEST(Project, SelectionKeepsOneEntryPerItem) {
  TVelEditorProject p;
  SampleModel m(p);
  TFinKnots& knots = p.Knots();
  EXPECT_FALSE(knots.Select(nullptr, nullptr));
  EXPECT_TRUE(knots.Select(m.K[1], nullptr));
  EXPECT_TRUE(knots.Select(m.K[1], nullptr));
  EXPECT_EQ(knots.Selection().size(), 1u);
  EXPECT_TRUE(knots.IsSelected(m.K[1]));
  EXPECT_FALSE(knots.IsSelected(m.K[0]));
  // The flag alone is not a selection.
  m.K[0]->SetSelected(1);
  EXPECT_FALSE(knots.IsSelected(m.K[0]));
  EXPECT_FALSE(knots.Unselect(m.K[0], nullptr));
  EXPECT_FALSE(knots.Unselect(nullptr, nullptr));
  EXPECT_TRUE(knots.Unselect(m.K[1], nullptr));
  EXPECT_EQ(m.K[1]->Selected, 0);
  EXPECT_TRUE(knots.Selection().empty());

  knots.SelectAll(nullptr);
  ASSERT_EQ(knots.Selection().size(), 5u);
  EXPECT_EQ(knots.Selection()[3], m.K[3]);
  knots.UnselectAll(nullptr);
  EXPECT_TRUE(knots.Selection().empty());
  for (TEditorKnot* k : m.K) EXPECT_EQ(k->Selected, 0);

  TFinElements& elements = p.Elements();
  EXPECT_TRUE(elements.Select(m.Plate, nullptr));
  EXPECT_TRUE(elements.Select(m.Plate, nullptr));
  EXPECT_EQ(elements.Selection().size(), 1u);
  EXPECT_TRUE(elements.IsSelected(m.Plate));
  m.Plate->ElemKind = CodeOfByte<ElementKind>(3);  // only plates and shells count as selected
  EXPECT_FALSE(elements.IsSelected(m.Plate));
  m.Plate->ElemKind = ElementKind::Plate;
  elements.UnselectAll(nullptr);
  EXPECT_FALSE(elements.IsSelected(m.Plate));
  EXPECT_EQ(m.Plate->Selected, 0);
}

TEST(Project, SelectingDrawsOnTheWindowCanvasInSelectionColours) {
  TVelEditorProject p;
  SampleModel m(p);
  p.UpdateScreen(PlanWindow());
  RecordingCanvas canvas;
  p.Knots().Select(m.K[2], &canvas);
  const auto ellipses = canvas.CallsOf(CanvasOp::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].Brush.Color, 0xF0CAA6u);
  canvas.Clear();
  p.Knots().Unselect(m.K[2], &canvas);
  ASSERT_EQ(canvas.CallsOf(CanvasOp::Ellipse).size(), 1u);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Ellipse)[0].Brush.Color, 0x808080u);
  canvas.Clear();
  p.Elements().Select(m.Shell, &canvas);
  const auto polygons = canvas.CallsOf(CanvasOp::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].Brush.Color, 0xF0CAA6u);
  EXPECT_EQ(polygons[0].Points.size(), 4u);
}

TEST(Project, SelectInRectOnlyInAPlanWindow) {
  TVelEditorProject p;
  SampleModel m(p);
  ViewTransform side = PlanWindow();
  side.Projection = Projection::YZ;
  // The whole model lies in the rectangle, but not in a plan window.
  p.Knots().SelectInRect(FloatPoint(-10, 10), FloatPoint(10, -10), side, nullptr);
  p.Elements().SelectInRect(FloatPoint(-10, 10), FloatPoint(10, -10), side, nullptr);
  EXPECT_TRUE(p.Knots().Selection().empty());
  EXPECT_TRUE(p.Elements().Selection().empty());

  // The rectangle x in [0, 2], y in [0, 1]: the shell's four knots (on the edges,
  // within 1e-10) but not knot 4, so the shell and not the plate.
  const ViewTransform plan = PlanWindow();
  p.Knots().SelectInRect(FloatPoint(0, 1), FloatPoint(2 + 1e-11L, 0), plan, nullptr);
  ASSERT_EQ(p.Knots().Selection().size(), 4u);
  EXPECT_FALSE(p.Knots().IsSelected(m.K[4]));
  p.Elements().SelectInRect(FloatPoint(0, 1), FloatPoint(2, 0), plan, nullptr);
  ASSERT_EQ(p.Elements().Selection().size(), 1u);
  EXPECT_EQ(p.Elements().Selection()[0], m.Shell);
  // Slightly too small: knots 2 and 3 are 1e-9 outside.
  p.Knots().UnselectAll(nullptr);
  p.Knots().SelectInRect(FloatPoint(0, 1), FloatPoint(2 - 1e-9L, 0), plan, nullptr);
  EXPECT_EQ(p.Knots().Selection().size(), 2u);
}

TEST(Project, UpdateScreenFollowsTheKnotsAndSkipsItemsWithoutReferences) {
  TVelEditorProject p;
  SampleModel m(p);
  auto orphan = p.Factory()->MakeSupport();
  orphan->Fixation = TFixation{1, 0, 0, 0, 0, 0};
  orphan->Visible = 1;
  TEditorSupport* lost = p.Supports().Add(std::move(orphan));
  auto orphanLoad = p.Factory()->MakeDispForce();
  orphanLoad->Visible = 1;
  TEditorDispersionForce* lostLoad = p.DispForces().Add(std::move(orphanLoad));

  ViewTransform w = PlanWindow();
  w.MaxPoint.X = 2.5L;  // knot 4 at x = 3 is outside
  p.UpdateScreen(w);
  EXPECT_EQ(m.K[0]->ScreenPoint, (TPoint{100, 200}));
  EXPECT_EQ(m.K[2]->ScreenPoint, (TPoint{300, 100}));
  EXPECT_EQ(m.K[4]->Visible, 0);
  EXPECT_EQ(m.K[3]->Visible, 1);
  EXPECT_EQ(m.Shell->Visible, 1);
  EXPECT_EQ(m.Plate->Visible, 1);  // knots 3 and 2 are visible
  EXPECT_EQ(p.Supports().At(0)->Visible, 1);
  EXPECT_EQ(p.Supports().At(1)->Visible, 0);  // on knot 4
  EXPECT_EQ(lost->Visible, 0);
  EXPECT_EQ(p.ConcForces().At(0)->Visible, 1);
  EXPECT_EQ(p.DispForces().At(0)->Visible, 1);
  EXPECT_EQ(lostLoad->Visible, 0);
  EXPECT_EQ(m.Paraboloid->Visible, 1);
  EXPECT_EQ(m.Sphere->Visible, 0);

  // A window that shows nothing of the model.
  ViewTransform far = PlanWindow();
  far.MinPoint = FloatPoint3D(100, 100, -5);
  far.MaxPoint = FloatPoint3D(101, 101, 5);
  p.UpdateScreen(far);
  EXPECT_EQ(m.Shell->Visible, 0);
  EXPECT_EQ(p.Supports().At(0)->Visible, 0);
  EXPECT_EQ(p.DispForces().At(0)->Visible, 0);
}

TEST(Project, DrawFollowsTheFlagsInItsOrder) {
  TVelEditorProject p;
  SampleModel m(p);
  m.Sphere->SetOrigin(FloatPoint3D(2, 1, 0));  // bring the sphere into the window
  auto orphan = p.Factory()->MakeConcForce();
  orphan->SetForce(testing::Force(5, 0, 0, 0, 0, 0));
  p.ConcForces().Add(std::move(orphan));
  p.UpdateScreen(PlanWindow());
  p.ConcForces().At(1)->SetVisible(1);  // without a knot: still never drawn

  RecordingCanvas elementsOnly;
  p.Draw(elementsOnly, 0);
  ASSERT_EQ(elementsOnly.Calls.size(), 2u);
  EXPECT_EQ(elementsOnly.Calls[0].Op, CanvasOp::Polygon);
  EXPECT_EQ(elementsOnly.Calls[0].Brush, (CanvasBrush{0x00FF00, BrushStyle::Cross}));  // the stack's own brush
  EXPECT_EQ(elementsOnly.Calls[1].Op, CanvasOp::Polygon);

  RecordingCanvas all;
  p.Draw(all, kDrawDesk);
  std::vector<CanvasOp> ops;
  for (const CanvasCall& c : all.Calls) ops.push_back(c.Op);
  const std::vector<CanvasOp> expected = {
      CanvasOp::Polygon, CanvasOp::Polygon,                                                      // elements
      CanvasOp::Ellipse, CanvasOp::Ellipse, CanvasOp::Ellipse, CanvasOp::Ellipse, CanvasOp::Ellipse,  // knots
      CanvasOp::Image, CanvasOp::Image, CanvasOp::Image, CanvasOp::Ellipse,                      // support on knot 0
      CanvasOp::Image, CanvasOp::Ellipse,                                                        // support on knot 4
      CanvasOp::Image, CanvasOp::Image,                                                          // the point load
      CanvasOp::Rectangle, CanvasOp::Rectangle};                                                 // the two surfaces
  EXPECT_EQ(ops, expected);
  EXPECT_EQ(all.Calls[13].Text, "IL_Forces");
}

TEST(Project, MaterialChooserOpensForAPositionThatNamesNoMaterial) {
  ScriptedModelUi ui;
  TVelEditorProject p(DefaultModelFactory(), &ui);
  SampleModel m(p);
  TMaterials& mats = p.Materials();
  EXPECT_EQ(mats.MaterialByIndex(1), m.Concrete);
  EXPECT_TRUE(ui.MaterialCalls.empty());

  ui.MaterialAnswers = {1, std::nullopt, -1, 5};
  EXPECT_EQ(mats.MaterialByIndex(mats.Count()), m.Concrete);
  ASSERT_EQ(ui.MaterialCalls.size(), 1u);
  EXPECT_EQ(ui.MaterialCalls[0].Names, (std::vector<std::string>{"Сталь С300", "Бетон В25"}));
  EXPECT_EQ(ui.MaterialCalls[0].Selected, 0);
  EXPECT_EQ(mats.MaterialByIndex(-1), nullptr);  // Cancel
  EXPECT_EQ(mats.MaterialByIndex(-1), nullptr);  // OK with nothing chosen
  EXPECT_EQ(mats.MaterialByIndex(99), nullptr);  // a position the list does not have
  EXPECT_EQ(ui.MaterialCalls.size(), 4u);

  // Without a chooser nothing is chosen.
  TVelEditorProject quiet;
  EXPECT_EQ(quiet.Materials().MaterialByIndex(1), nullptr);

  // An empty list: the chooser opens with nothing selected.
  mats.FreeAll();
  EXPECT_EQ(mats.MaterialByIndex(0), nullptr);
  EXPECT_EQ(ui.MaterialCalls.back().Selected, -1);
}

TEST(Project, ChooseMaterialKeepsTheChoosersListOnlyOnOk) {
  class AddingUi : public ModelUi {
   public:
    bool Ok = true;
    std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries, std::int32_t selected) override {
      SelectedWhenOpened = selected;
      entries.push_back(MaterialEntry{"Алюминий", std::make_shared<TPhisPropRodNL>()});
      return Ok ? std::optional<std::int32_t>(2) : std::nullopt;
    }
    std::int32_t SelectedWhenOpened = -2;
  };
  AddingUi ui;
  TVelEditorProject p(DefaultModelFactory(), &ui);
  SampleModel m(p);
  ui.Ok = false;
  EXPECT_EQ(p.Materials().ChooseMaterial(m.Concrete.get()), 1);
  EXPECT_EQ(ui.SelectedWhenOpened, 1);
  EXPECT_EQ(p.Materials().Count(), 2);
  ui.Ok = true;
  EXPECT_EQ(p.Materials().ChooseMaterial(nullptr), 2);
  EXPECT_EQ(ui.SelectedWhenOpened, 0);
  ASSERT_EQ(p.Materials().Count(), 3);
  EXPECT_EQ(p.Materials().Name(2), "Алюминий");
}

TEST(Project, MaterialByIndexAnswersFromTheChoosersEditedList) {
  // The chooser deletes the first material, adds one and picks a position of the
  // list it shows.
  class EditingUi : public ModelUi {
   public:
    bool Ok = true;
    std::int32_t Pick = 0;
    std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries, std::int32_t) override {
      entries.erase(entries.begin());
      entries.push_back(MaterialEntry{"Алюминий", std::make_shared<TPhisPropRodNL>()});
      return Ok ? std::optional<std::int32_t>(Pick) : std::nullopt;
    }
  };
  EditingUi ui;
  TVelEditorProject p(DefaultModelFactory(), &ui);
  SampleModel m(p);
  ui.Ok = false;
  EXPECT_EQ(p.Materials().MaterialByIndex(5), nullptr);
  EXPECT_EQ(p.Materials().Count(), 2);
  ui.Ok = true;
  EXPECT_EQ(p.Materials().MaterialByIndex(5), m.Concrete);
  ASSERT_EQ(p.Materials().Count(), 2);
  ui.Pick = 1;
  const std::shared_ptr<TPhisPropRodNL> made = p.Materials().MaterialByIndex(5);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(p.Materials().IndexOfMaterial(made.get()), 1);
  EXPECT_EQ(p.Materials().Name(1), "Алюминий");
}

// A result knot and shell of the kind the analysis program derives.
class CountedKnot : public TEditorKnot {
 public:
  std::int32_t Number = -1;
};
class CountedShell : public TMLEditorShell {
 public:
  using TMLEditorShell::TMLEditorShell;
  Extended Result = 42;
};
class CountingFactory : public ModelFactory {
 public:
  std::unique_ptr<TEditorKnot> MakeKnot() const override { return std::make_unique<CountedKnot>(); }
  std::unique_ptr<TMLEditorShell> MakeShell(ElementType type, const std::shared_ptr<TPhisPropRodNL>& material) const override {
    return std::make_unique<CountedShell>(type, material, ElementKind::Shell);
  }
};

TEST(Project, ReadersMakeTheirItemsThroughTheFactory) {
  TVelEditorProject source;
  SampleModel m(source);
  const std::vector<std::uint8_t> bytes = testing::ListBytes(source);

  TVelEditorProject results(std::make_shared<CountingFactory>());
  BinaryReader r(bytes);
  results.LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(results.Knots().Count(), 5);
  for (const auto& k : results.Knots().Items()) EXPECT_NE(dynamic_cast<CountedKnot*>(k.get()), nullptr);
  ASSERT_EQ(results.Elements().Count(), 2);
  EXPECT_NE(dynamic_cast<CountedShell*>(results.Elements().At(0)), nullptr);
  EXPECT_EQ(dynamic_cast<TMLEditorShell*>(results.Elements().At(1)), nullptr);
  // The shell's references point into the result lists.
  EXPECT_EQ(results.Elements().At(0)->Knots[2], results.Knots().At(2));
  EXPECT_EQ(results.Elements().At(0)->Layers.LayerMaterial(1), results.Materials().Material(1));
  EXPECT_EQ(results.DispForces().At(0)->Element, results.Elements().At(1));
  // What was read writes back the same bytes.
  EXPECT_EQ(testing::ListBytes(results), bytes);
}

TEST(Project, ReadingIsAllOrNothing) {
  TVelEditorProject p;
  SampleModel m(p);
  p.SetFileName("/tmp/keep.tps");
  p.Knots().Select(m.K[1], nullptr);
  const std::vector<std::uint8_t> before = testing::ListBytes(p);

  TVelEditorProject other;
  other.Knots().AddKnot(9, 9, 0);
  std::vector<std::uint8_t> broken = testing::ListBytes(other);
  broken.resize(broken.size() - 3);  // the surfaces' count cut short
  BinaryReader r(broken);
  EXPECT_THROW(p.LoadFromStream(r), FormatError);
  EXPECT_EQ(testing::ListBytes(p), before);
  EXPECT_EQ(p.Knots().At(1), m.K[1]);
  EXPECT_TRUE(p.Knots().IsSelected(m.K[1]));
  EXPECT_EQ(p.FileName(), "/tmp/keep.tps");

  // A good read replaces everything but the file name; the selections go.
  std::vector<std::uint8_t> good = testing::ListBytes(other);
  BinaryReader rg(good);
  p.LoadFromStream(rg);
  EXPECT_EQ(p.Knots().Count(), 1);
  EXPECT_TRUE(p.Knots().Selection().empty());
  EXPECT_EQ(p.FileName(), "/tmp/keep.tps");
}

TEST(Project, ReferencesToItemsOutsideTheListsAreWrittenAsNone) {
  TVelEditorProject p;
  SampleModel m(p);
  TEditorKnot stray;
  auto s = p.Factory()->MakeSupport();
  s->Knot = &stray;
  s->Fixation = TFixation{0, 0, 1, 0, 0, 0};
  p.Supports().Add(std::move(s));
  BinaryWriter w;
  const KnotPositionMap positions(p.Knots());
  p.Supports().SaveToStream(w, positions);
  const std::vector<std::uint8_t>& b = w.Bytes();
  ASSERT_EQ(b.size(), 4u + 3 * kSupportRecordBytes);
  auto int32At = [&](std::size_t off) {
    return static_cast<std::int32_t>(std::uint32_t{b[off]} | (std::uint32_t{b[off + 1]} << 8) |
                                     (std::uint32_t{b[off + 2]} << 16) | (std::uint32_t{b[off + 3]} << 24));
  };
  EXPECT_EQ(int32At(4), 0);
  EXPECT_EQ(int32At(4 + 14), 4);
  EXPECT_EQ(int32At(4 + 28), -1);
  EXPECT_EQ(positions.IndexOfKnot(m.K[3]), 3);
  EXPECT_EQ(positions.IndexOfKnot(nullptr), -1);
}

}  // namespace
}  // namespace tavir
