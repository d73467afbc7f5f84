// Knot and element editing: snapping, picking, adding by grid cell, region
// division, deleting with dependants, duplicates, element properties, band width.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <set>
#include <string>

#include "model/geometry_ops.h"
#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "model/project.h"
#include "model/project_fixture.h"
#include "platform/numtext.h"
#include "platform/recording_canvas.h"
#include "fakes/scripted_messages.h"
#include "fakes/scripted_model_dialogs.h"

namespace tavir {
namespace {

ViewTransform Plan(Extended step = 1) { return testing::GridPlanWindow(step); }

int PixelX(Extended x) { return static_cast<int>(x * 100); }
int PixelY(Extended y) { return static_cast<int>(1000 - y * 100); }

struct MeshFixture : ::testing::Test {
  TVelEditorProject p;
  ScriptedMessages msgs;
  ScriptedModelDialogs dialogs;
  ViewTransform plan = Plan();

  std::shared_ptr<TPhisPropRodNL> Steel() { return p.Materials().Material(0); }
  TFinKnots& K() { return p.Knots(); }
  TFinElements& E() { return p.Elements(); }

  AddAtPointResult Click(Extended x, Extended y, ElementType type = ElementType::Rectangle, ElementKind kind = ElementKind::Shell,
                         Canvas* canvas = nullptr) {
    return AddAtPoint(E(), PixelX(x), PixelY(y), Steel(), kind, type, plan, canvas, msgs);
  }
  // A rectangle on four new or found knots, through AddElement.
  TMLEditorElement* Rect(Extended x0, Extended y0, Extended x1, Extended y1, ElementKind kind = ElementKind::Shell) {
    std::vector<TEditorKnot*> ks{FindOrAdd(K(), plan, x0, y0, 0).Knot, FindOrAdd(K(), plan, x0, y1, 0).Knot,
                                 FindOrAdd(K(), plan, x1, y1, 0).Knot, FindOrAdd(K(), plan, x1, y0, 0).Knot};
    return AddElement(E(), msgs, ElementType::Rectangle, kind, ks, Steel()).Element;
  }
  DivideResult Divide(Extended w, Extended h, Extended sx, Extended sy, std::int32_t nx, std::int32_t ny,
                      ElementType type = ElementType::Rectangle) {
    DivideDialogValues v;
    v.StepX = sx;
    v.StepY = sy;
    v.Nx = nx;
    v.Ny = ny;
    dialogs.DivideAnswers.push_back(v);
    return DivideRegion(E(), FloatPoint(0, h), FloatPoint(w, 0), Steel(), ElementKind::Shell, type, plan, dialogs, msgs);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& m : msgs.Shown) t.push_back(m.Text);
    return t;
  }
};

// ---- knots ----

TEST_F(MeshFixture, FindOrAddSnapsStrictlyWithinTheToleranceAndTakesTheFirstKnot) {
  K().MinSizeX = K().MinSizeY = 100;  // the step decides: a fifth of it in X and Y, a tenth in Z
  const SnapTolerances tol = KnotSnapTolerances(K(), plan);
  EXPECT_NEAR(static_cast<double>(tol.X), 0.2, 1e-15);
  EXPECT_NEAR(static_cast<double>(tol.Z), 0.1, 1e-15);
  TEditorKnot* a = FindOrAdd(K(), plan, 0, 0, 0).Knot;
  TEditorKnot* b = K().AddKnot(0.15L, 0, 0);
  struct Case {
    Extended X, Y, Z;
    TEditorKnot* Found;  // nullptr: a new knot
  } cases[] = {
      {0.19L, 0, 0, a},  // both knots match: the first in numbering order wins
      {0, 0.19L, 0, a},
      {0, 0, 0.09L, a},
      {0.3L, 0, 0, b},   // only b matches
      {-tol.X, 0, 0, nullptr},  // exactly the tolerance away: strict, so a new knot
      {0, tol.Y, 0, nullptr},
      {0, 0, tol.Z, nullptr},
  };
  for (const Case& c : cases) {
    const std::int32_t before = K().Count();
    const FoundKnot f = FindOrAdd(K(), plan, c.X, c.Y, c.Z);
    EXPECT_EQ(f.Added, c.Found == nullptr) << c.X << " " << c.Y << " " << c.Z;
    EXPECT_EQ(K().Count(), before + (c.Found == nullptr ? 1 : 0));
    if (c.Found != nullptr) {
      EXPECT_EQ(f.Knot, c.Found);
    }
  }
  // The smallest element size bounds the tolerance too: half of 0.1.
  K().MinSizeX = 0.1L;
  EXPECT_TRUE(FindOrAdd(K(), plan, 0.06L, 0.5L, 0).Added);
  EXPECT_FALSE(FindOrAdd(K(), plan, 0.04L, 0.5L, 0).Added);
}

TEST_F(MeshFixture, ZeroStepsStillFindTheKnotOnThePoint) {
  ViewTransform flat = Plan();
  flat.Grid.StepX = 0;
  flat.Grid.StepZ = 0;  // a region without height gives a Z step of 0
  TEditorKnot* a = FindOrAdd(K(), flat, 2, 3, 0).Knot;
  const FoundKnot again = FindOrAdd(K(), flat, 2, 3, 0);
  EXPECT_FALSE(again.Added);
  EXPECT_EQ(again.Knot, a);
  EXPECT_EQ(K().Count(), 1);
  flat.Grid.StepY = -5;
  EXPECT_EQ(FindOrAdd(K(), flat, 2, 3, 0).Knot, a);
  EXPECT_EQ(KnotSnapTolerances(K(), flat).Y, kMinSnapTolerance);
}

TEST_F(MeshFixture, KnotAtPixelHalfWidths) {
  TEditorKnot* k = K().AddKnot(1, 1, 0);
  k->SetScreenPoint({100, 900});
  // Grid step of 3 pixels: half-width 1, only the knot's own pixel.
  ViewTransform w = Plan(0.03L);
  EXPECT_EQ(KnotAtPixel(K(), 100, 900, w), k);
  EXPECT_EQ(KnotAtPixel(K(), 101, 900, w), nullptr);
  EXPECT_EQ(KnotAtPixel(K(), 100, 899, w), nullptr);
  // Grid step of 1 pixel: half-width 0 by the formula; the knot's pixel still picks it.
  w = Plan(0.01L);
  EXPECT_EQ(KnotAtPixel(K(), 100, 900, w), k);
  // Grid step 100 pixels, smallest size 1.0 = 100 pixels: half-width 50.
  w = Plan(1);
  EXPECT_EQ(KnotAtPixel(K(), 149, 851, w), k);
  EXPECT_EQ(KnotAtPixel(K(), 150, 900, w), nullptr);
  // The smallest element size bounds it too.
  K().MinSizeX = 0.2L;
  EXPECT_EQ(KnotAtPixel(K(), 110, 900, w), nullptr);
  EXPECT_EQ(KnotAtPixel(K(), 109, 900, w), k);
}

// ---- adding by grid cell ----

TEST_F(MeshFixture, SecondClickInTheSameCellIsADuplicate) {
  RecordingCanvas canvas;
  AddAtPointResult r = Click(0.5L, 0.5L, ElementType::Rectangle, ElementKind::Shell, &canvas);
  ASSERT_EQ(r.Added.size(), 1u);
  EXPECT_EQ(r.Outcome, AddAtPointOutcome::Done);
  EXPECT_EQ(r.Added[0]->Visible, 1);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 1u);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Ellipse).size(), 4u);  // its four knots
  r = Click(0.3L, 0.7L);
  EXPECT_TRUE(r.Added.empty());
  EXPECT_EQ(r.Duplicates, 1);
  EXPECT_EQ(E().Count(), 1);
  EXPECT_EQ(K().Count(), 4);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Уже есть!"});
  EXPECT_EQ(msgs.Shown[0].Kind, MsgKind::Plain);

  // Triangles: the second click reports each of the two.
  msgs.Shown.clear();
  r = Click(2.5L, 0.5L, ElementType::Triangle);
  EXPECT_EQ(r.Added.size(), 2u);
  r = Click(2.5L, 0.5L, ElementType::Triangle);
  EXPECT_EQ(r.Duplicates, 2);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Элемент уже существует!", "Элемент уже существует!"}));
  EXPECT_EQ(E().Count(), 3);
}

TEST_F(MeshFixture, ANeighbourCellReusesTheSharedKnots) {
  Click(0.5L, 0.5L);
  const AddAtPointResult r = Click(1.5L, 0.5L);
  ASSERT_EQ(r.Added.size(), 1u);
  EXPECT_EQ(K().Count(), 6);
  const TMLEditorElement* first = E().At(0);
  EXPECT_EQ(r.Added[0]->Knots[0], first->Knots[3]);
  EXPECT_EQ(r.Added[0]->Knots[1], first->Knots[2]);
  // A rectangle brings the smallest sizes down to its own.
  EXPECT_EQ(K().MinSizeX, 1);
}

TEST_F(MeshFixture, ClickRefusals) {
  struct Case {
    const char* Name;
    ViewTransform Window;
    AddAtPointOutcome Outcome;
    bool Warned;
  };
  ViewTransform zeroX = Plan();
  zeroX.Grid.StepX = 0;
  ViewTransform negY = Plan();
  negY.Grid.StepY = -1;
  ViewTransform side = Plan();
  side.Projection = Projection::XZ;
  const Case cases[] = {
      {"zero step", zeroX, AddAtPointOutcome::BadCell, true},
      {"negative step", negY, AddAtPointOutcome::BadCell, true},
      {"side view", side, AddAtPointOutcome::NotPlanWindow, false},
  };
  for (const Case& c : cases) {
    msgs.Shown.clear();
    const AddAtPointResult r = AddAtPoint(E(), 50, 950, Steel(), ElementKind::Shell, ElementType::Rectangle, c.Window, nullptr, msgs);
    EXPECT_EQ(r.Outcome, c.Outcome) << c.Name;
    EXPECT_EQ(K().Count(), 0) << c.Name;
    EXPECT_EQ(E().Count(), 0) << c.Name;
    ASSERT_EQ(msgs.Shown.size(), c.Warned ? 1u : 0u) << c.Name;
    if (c.Warned) {
      EXPECT_EQ(msgs.Shown[0].Text, "Координаты элемента введены не верно!");
      EXPECT_EQ(msgs.Shown[0].Caption, "Предупреждение");
      EXPECT_EQ(msgs.Shown[0].Kind, MsgKind::Warning);
    }
  }
  // Another element type makes nothing.
  EXPECT_EQ(Click(0.5L, 0.5L, ElementType::Rod).Outcome, AddAtPointOutcome::UnsupportedType);
  EXPECT_EQ(E().Count(), 0);
}

TEST_F(MeshFixture, AnInvalidQuadRemovesOnlyTheKnotsThisClickAdded) {
  // A loaded knot near the cell's corner (1, 1), inside the snap tolerance: the
  // four knots found do not go round a rectangle.
  TEditorKnot* near = K().AddKnot(1.1L, 1.05L, 0);
  SetSupport(p.Supports(), near, TFixation{1, 1, 1, 0, 0, 0}, 0);
  TForceRecord f;
  f.Pz = -5;
  SetForce(p.ConcForces(), near, f);
  const AddAtPointResult r = Click(0.5L, 0.5L);
  EXPECT_EQ(r.Outcome, AddAtPointOutcome::BadQuad);
  EXPECT_EQ(Texts(), std::vector<std::string>{"Координаты элемента введены не верно!"});
  EXPECT_EQ(E().Count(), 0);
  ASSERT_EQ(K().Count(), 1);
  EXPECT_EQ(K().At(0), near);
  EXPECT_EQ(p.Supports().Count(), 1);
  EXPECT_EQ(p.ConcForces().Count(), 1);
}

TEST_F(MeshFixture, ARefusedElementIsNotDrawnAndLeavesNoKnots) {
  RecordingCanvas canvas;
  Click(0.5L, 0.5L);  // four knots that stay
  struct Case {
    const char* Name;
    std::uint8_t Kind;
    std::uint8_t Type;
    std::shared_ptr<TPhisPropRodNL> Material;
    AddAtPointOutcome Outcome;
    int Refused;
    std::size_t Messages;
  } cases[] = {
      {"kind 3", 3, 1, Steel(), AddAtPointOutcome::Done, 1, 0},
      {"kind 3 triangles", 3, 0, Steel(), AddAtPointOutcome::Done, 2, 0},
      {"no material", 5, 1, nullptr, AddAtPointOutcome::NoMaterial, 0, 1},
      {"no material, triangles", 0, 0, nullptr, AddAtPointOutcome::NoMaterial, 0, 1},
  };
  for (const Case& c : cases) {
    msgs.Shown.clear();
    canvas.Clear();
    const AddAtPointResult r =
        AddAtPoint(E(), PixelX(1.5L), PixelY(0.5L), c.Material, CodeOfByte<ElementKind>(c.Kind), CodeOfByte<ElementType>(c.Type), plan,
                   &canvas, msgs);
    EXPECT_EQ(r.Outcome, c.Outcome) << c.Name;
    EXPECT_TRUE(r.Added.empty()) << c.Name;
    EXPECT_EQ(r.Refused, c.Refused) << c.Name;
    EXPECT_TRUE(canvas.Calls.empty()) << c.Name;
    EXPECT_EQ(E().Count(), 1) << c.Name;
    EXPECT_EQ(K().Count(), 4) << c.Name;  // the two new corners are gone, the shared two stay
    EXPECT_EQ(msgs.Shown.size(), c.Messages) << c.Name;
    EXPECT_TRUE(E().Selection().empty()) << c.Name;
  }
}

// ---- AddElement and the duplicate test ----

TEST_F(MeshFixture, AddElementRefusals) {
  TEditorKnot* a = K().AddKnot(0, 0, 0);
  TEditorKnot* b = K().AddKnot(0, 1, 0);
  TEditorKnot* c = K().AddKnot(1, 1, 0);
  struct Case {
    const char* Name;
    std::uint8_t Type, Kind;
    std::vector<TEditorKnot*> Knots;
    bool Material;
    AddElementOutcome Outcome;
    const char* Text;
  } cases[] = {
      {"triangle on two knots", 0, 5, {a, b}, true, AddElementOutcome::TooFewKnots,
       "Несовпадение количества узлов в массиве элемента!"},
      {"rectangle on three", 1, 0, {a, b, c}, true, AddElementOutcome::TooFewKnots,
       "Несовпадение количества узлов в массиве элемента!"},
      {"quadrangle on three", 2, 5, {a, b, c}, true, AddElementOutcome::TooFewKnots,
       "Несовпадение количества узлов в массиве элемента!"},
      {"missing knot", 0, 5, {a, nullptr, c}, true, AddElementOutcome::TooFewKnots,
       "Несовпадение количества узлов в массиве элемента!"},
      {"kind 1", 0, 1, {a, b, c}, true, AddElementOutcome::UnknownKind, nullptr},
      {"no material", 0, 0, {a, b, c}, false, AddElementOutcome::NoMaterial, kNoElementMaterialText},
  };
  for (const Case& cs : cases) {
    msgs.Shown.clear();
    const AddElementResult r = AddElement(E(), msgs, CodeOfByte<ElementType>(cs.Type), CodeOfByte<ElementKind>(cs.Kind), cs.Knots, cs.Material ? Steel() : nullptr);
    EXPECT_EQ(r.Outcome, cs.Outcome) << cs.Name;
    EXPECT_EQ(r.Element, nullptr) << cs.Name;
    EXPECT_EQ(E().Count(), 0) << cs.Name;
    ASSERT_EQ(msgs.Shown.size(), cs.Text ? 1u : 0u) << cs.Name;
    if (cs.Text) {
      EXPECT_EQ(msgs.Shown[0].Text, cs.Text) << cs.Name;
    }
  }
  // Plate and shell: the right classes, one layer on the material, the outline on.
  const AddElementResult plate = AddElement(E(), msgs, ElementType::Triangle, ElementKind::Plate, {a, b, c}, Steel());
  ASSERT_NE(plate.Element, nullptr);
  EXPECT_EQ(dynamic_cast<TMLEditorShell*>(plate.Element), nullptr);
  EXPECT_EQ(plate.Element->Contur, 1);
  EXPECT_EQ(plate.Element->Layers.Count(), 1);
  EXPECT_EQ(plate.Element->Layers.LayerMaterial(0), Steel());
  EXPECT_EQ(plate.Element->Knots, (std::vector<TEditorKnot*>{a, b, c}));
  const AddElementResult shell = AddElement(E(), msgs, ElementType::Triangle, ElementKind::Shell, {c, b, a}, Steel());
  EXPECT_NE(dynamic_cast<TMLEditorShell*>(shell.Element), nullptr);
}

TEST_F(MeshFixture, ElementExistsByOrderAndPassesOverShortElements) {
  TEditorKnot* a = K().AddKnot(0, 0, 0);
  TEditorKnot* b = K().AddKnot(0, 1, 0);
  TEditorKnot* c = K().AddKnot(1, 1, 0);
  TEditorKnot* d = K().AddKnot(1, 0, 0);
  AddElement(E(), msgs, ElementType::Triangle, ElementKind::Shell, {a, b, c}, Steel());
  // A two-knot element (type 4) ahead of the rest of the list.
  AddElement(E(), msgs, ElementType::Rod, ElementKind::Plate, {a, b}, Steel());
  // Triangles in any of the six orders; the element's own kind does not matter.
  EXPECT_TRUE(ElementExists(E(), ElementType::Triangle, c, a, b));
  EXPECT_TRUE(ElementExists(E(), ElementType::Triangle, b, c, a));
  EXPECT_FALSE(ElementExists(E(), ElementType::Triangle, a, b, d));
  // Rectangles need four knots in order: the triangle and the rod are passed over.
  EXPECT_FALSE(ElementExists(E(), ElementType::Rectangle, a, b, c, d));
  AddElement(E(), msgs, ElementType::Rectangle, ElementKind::Plate, {a, b, c, d}, Steel());
  EXPECT_TRUE(ElementExists(E(), ElementType::Rectangle, a, b, c, d));
  EXPECT_FALSE(ElementExists(E(), ElementType::Rectangle, b, c, d, a));
  EXPECT_FALSE(ElementExists(E(), ElementType::Quadrangle, a, b, c, d));
}

TEST_F(MeshFixture, ElementAtPointOnASharedEdgeFindsTheEarlierElement) {
  TMLEditorElement* left = Rect(0, 0, 1, 1);
  TMLEditorElement* right = Rect(1, 0, 2, 1);
  AddElement(E(), msgs, ElementType::Triangle, ElementKind::Shell, {K().At(0), K().At(1), K().At(2)}, Steel());  // a triangle over the left one
  EXPECT_EQ(ElementAtPoint(E(), PixelX(1), PixelY(0.5L), plan), left);
  EXPECT_EQ(ElementAtPoint(E(), PixelX(1.5L), PixelY(0.5L), plan), right);
  EXPECT_EQ(ElementAtPoint(E(), PixelX(2.5L), PixelY(0.5L), plan), nullptr);
  ASSERT_EQ(DeleteElement(E(), left), DeleteOutcome::Deleted);
  EXPECT_EQ(ElementAtPoint(E(), PixelX(0.5L), PixelY(0.5L), plan), nullptr);  // triangles are never found
}

// ---- region division ----

TEST_F(MeshFixture, DivideRegionOfTheExample) {
  struct Case {
    Extended W, H;
    std::int32_t Nx, Ny;
    std::int32_t Knots, Elements;
  } cases[] = {
      {10, 2, 10, 2, 33, 20},
      {20, 2, 20, 2, 63, 40},
      {2, 10, 2, 10, 33, 20},
  };
  for (const Case& c : cases) {
    TVelEditorProject fresh;
    p.Swap(fresh);
    plan.MaxPoint = FloatPoint3D(20, 20, 0);
    const DivideResult r = Divide(c.W, c.H, 1, 1, c.Nx, c.Ny);
    EXPECT_EQ(r.Outcome, DivideOutcome::Done);
    EXPECT_EQ(r.ElementsAdded, c.Elements);
    EXPECT_EQ(r.KnotsAdded, c.Knots);
    EXPECT_EQ(K().Count(), c.Knots);
    EXPECT_EQ(E().Count(), c.Elements);
    EXPECT_EQ(MeshBandWidth(E()), 35) << c.W << " x " << c.H;
    // Every element a unit rectangle in the knot order of the input.
    for (const auto& e : E().Items()) {
      EXPECT_TRUE(IsValidQuad(FloatPoint(e->Knots[0]->X, e->Knots[0]->Y), FloatPoint(e->Knots[1]->X, e->Knots[1]->Y),
                              FloatPoint(e->Knots[2]->X, e->Knots[2]->Y), FloatPoint(e->Knots[3]->X, e->Knots[3]->Y)));
      EXPECT_EQ(e->Knots[3]->X - e->Knots[0]->X, 1);
    }
  }
  // The dialog opened with the region and the window's steps.
  ASSERT_EQ(dialogs.DivideCalls.size(), 3u);
  EXPECT_EQ(dialogs.DivideCalls[0].RegionLabel, "10 x 2");
  EXPECT_EQ(dialogs.DivideCalls[0].Nx, 10);
  EXPECT_EQ(dialogs.DivideCalls[0].Ny, 2);
  EXPECT_EQ(dialogs.DivideCalls[0].StepX, 1);
}

TEST_F(MeshFixture, TheRegionLabelUsesTheGeneralNumberFormat) {
  struct Case {
    Extended W, H;
    char Separator;
    const char* Label;
  } cases[] = {
      {10, 2, '.', "10 x 2"},
      {15000000, 0.1L, '.', "15000000 x 0.1"},        // not "1.5e+07"
      {1234567.891L, 2, '.', "1234567.891 x 2"},      // all the digits, not six
      {0.000001L, 3, '.', "1E-6 x 3"},
      {1.5L, 2.25L, ',', "1,5 x 2,25"},                // the user's separator
  };
  for (const Case& c : cases) {
    SetDecimalSeparator(c.Separator);
    dialogs.DivideCalls.clear();
    // No answer scripted: the dialog is cancelled after it was opened.
    EXPECT_EQ(DivideRegion(E(), FloatPoint(0, c.H), FloatPoint(c.W, 0), Steel(), ElementKind::Shell, ElementType::Rectangle, plan, dialogs, msgs).Outcome,
              DivideOutcome::Cancelled);
    ASSERT_EQ(dialogs.DivideCalls.size(), 1u);
    EXPECT_EQ(dialogs.DivideCalls[0].RegionLabel, c.Label);
  }
  SetDecimalSeparator('.');
}

TEST_F(MeshFixture, DividingTheSameRegionAgainAddsNothing) {
  Divide(10, 2, 1, 1, 10, 2);
  const DivideResult again = Divide(10, 2, 1, 1, 10, 2);
  EXPECT_EQ(again.ElementsAdded, 0);
  EXPECT_EQ(again.KnotsAdded, 0);
  EXPECT_EQ(again.Duplicates, 20);
  EXPECT_TRUE(msgs.Shown.empty());  // duplicates are skipped silently
}

TEST_F(MeshFixture, DivisionReusesTheFirstKnotWithinTheTolerance) {
  // Two knots near the corner (3, 1) and one far off: the division takes the first.
  TEditorKnot* first = K().AddKnot(3.05L, 1, 0);
  TEditorKnot* second = K().AddKnot(3, 1.01L, 0);
  K().AddKnot(7.5L, 0.5L, 0);
  const DivideResult r = Divide(10, 2, 1, 1, 10, 2);
  EXPECT_EQ(r.KnotsAdded, 32);
  EXPECT_TRUE(KnotUsed(E(), first));
  EXPECT_FALSE(KnotUsed(E(), second));
  // The knots are those the plain search gives for every grid point.
  for (int i = 0; i <= 10; ++i)
    for (int j = 0; j <= 2; ++j) {
      const FoundKnot f = FindOrAdd(K(), plan, i, j, 0);
      EXPECT_FALSE(f.Added) << i << " " << j;
      EXPECT_TRUE(KnotUsed(E(), f.Knot)) << i << " " << j;
    }
}

TEST_F(MeshFixture, DivideRegionRefusals) {
  struct Case {
    const char* Name;
    Extended Sx, Sy;
    std::int32_t Nx, Ny;
    DivideOutcome Outcome;
  } cases[] = {
      {"zero step X", 0, 1, 10, 2, DivideOutcome::BadParameters},
      {"negative step Y", 1, -1, 10, 2, DivideOutcome::BadParameters},
      {"count 0", 1, 1, 0, 2, DivideOutcome::BadParameters},
      {"too many", 0.001L, 0.001L, 1000000, 1000000, DivideOutcome::TooManyElements},
      {"just too many", 1, 1, 1001, 1000, DivideOutcome::TooManyElements},
  };
  for (const Case& c : cases) {
    msgs.Shown.clear();
    const DivideResult r = Divide(10, 2, c.Sx, c.Sy, c.Nx, c.Ny);
    EXPECT_EQ(r.Outcome, c.Outcome) << c.Name;
    EXPECT_EQ(K().Count(), 0) << c.Name;
    EXPECT_EQ(K().MinSizeX, 1) << c.Name;  // nothing changed
    ASSERT_EQ(msgs.Shown.size(), 1u) << c.Name;
    EXPECT_EQ(msgs.Shown[0].Kind, MsgKind::Error) << c.Name;
    if (c.Outcome == DivideOutcome::TooManyElements) {
      EXPECT_NE(msgs.Shown[0].Text.find("1000000"), std::string::npos) << msgs.Shown[0].Text;
    }
  }
  // Cancel changes nothing.
  EXPECT_EQ(DivideRegion(E(), FloatPoint(0, 2), FloatPoint(10, 0), Steel(), ElementKind::Shell, ElementType::Rectangle, plan, dialogs, msgs).Outcome,
            DivideOutcome::Cancelled);
  // No material: refused before any knot is made.
  dialogs.DivideAnswers.push_back(DivideDialogValues{10, 2, 1, 1, 10, 2, ""});
  EXPECT_EQ(DivideRegion(E(), FloatPoint(0, 2), FloatPoint(10, 0), nullptr, ElementKind::Shell, ElementType::Rectangle, plan, dialogs, msgs).Outcome,
            DivideOutcome::NoMaterial);
  EXPECT_EQ(K().Count(), 0);
  // A window step of zero proposes one step.
  ViewTransform zero = Plan(0);
  DivideRegion(E(), FloatPoint(0, 2), FloatPoint(10, 0), Steel(), ElementKind::Shell, ElementType::Rectangle, zero, dialogs, msgs);
  EXPECT_EQ(dialogs.DivideCalls.back().Nx, 1);
  EXPECT_EQ(dialogs.DivideCalls.back().Ny, 1);
}

// Region 1.2 x 0.8 framed from (0.1, 0.1) to (1.3, 0.9) on a 0.4 grid: the sizes
// carry round-off (0.8 / 0.4 came out as 1.999...), yet the proposal is 3 x 2.
TEST_F(MeshFixture, DivideRegionProposesWholeStepsDespiteRoundOff) {
  const ViewTransform grid = Plan(0.4L);
  const DivideDialogValues region{1.3L - 0.1L, 0.9L - 0.1L, 0.4L, 0.4L, 1, 1, ""};
  ASSERT_LT(region.SizeY / region.StepY, 2);
  DivideRegion(E(), FloatPoint(0.1L, 0.9L), FloatPoint(1.3L, 0.1L), Steel(), ElementKind::Shell, ElementType::Rectangle,
               grid, dialogs, msgs);
  ASSERT_EQ(dialogs.DivideCalls.size(), 1u);
  EXPECT_EQ(dialogs.DivideCalls[0].SizeY, region.SizeY);
  EXPECT_EQ(dialogs.DivideCalls[0].Nx, 3);
  EXPECT_EQ(dialogs.DivideCalls[0].Ny, 2);
}

TEST_F(MeshFixture, DivideRegionOfTrianglesOnlySetsTheSmallestSizes) {
  K().MinSizeX = 0.5L;
  const DivideResult r = Divide(10, 2, 1, 0.25L, 10, 8, ElementType::Triangle);
  EXPECT_EQ(r.Outcome, DivideOutcome::Done);
  EXPECT_EQ(E().Count(), 0);
  EXPECT_EQ(K().Count(), 0);
  EXPECT_EQ(K().MinSizeX, 0.5L);
  EXPECT_EQ(K().MinSizeY, 0.25L);
}

// ---- band width and renumbering ----

TEST_F(MeshFixture, BandOptimisationOfAMeshedRegion) {
  Divide(10, 2, 1, 1, 10, 2);
  EXPECT_EQ(MeshBandWidth(E()), 35);
  SortByX(K());  // columns of three knots: W = 4
  EXPECT_EQ(MeshBandWidth(E()), 25);
  for (std::int32_t i = 1; i < K().Count(); ++i) EXPECT_LT(KnotOrderXY(*K().At(i - 1), *K().At(i)), 0);
  SortByY(K());  // rows of eleven: W = 12
  EXPECT_EQ(MeshBandWidth(E()), 65);

  TVelEditorProject fresh;
  p.Swap(fresh);
  Divide(2, 10, 1, 1, 2, 10);
  SortByY(K());
  EXPECT_EQ(MeshBandWidth(E()), 25);
}

TEST_F(MeshFixture, BandWidthCountsShellsOnly) {
  EXPECT_EQ(MeshBandWidth(E()), 0);
  Rect(0, 0, 1, 1, ElementKind::Plate);
  Rect(1, 0, 2, 1, ElementKind::Plate);
  EXPECT_EQ(MeshBandWidth(E()), 0);
  Rect(2, 0, 3, 1, ElementKind::Shell);  // knots 5, 4, 6, 7: W = 3
  EXPECT_EQ(MeshBandWidth(E()), 20);
}

// ---- deleting ----

TEST_F(MeshFixture, DeletingOneOfTwoRectanglesKeepsTheSharedEdge) {
  TMLEditorElement* left = Rect(0, 0, 1, 1);
  TMLEditorElement* right = Rect(1, 0, 2, 1);
  TEditorKnot* shared0 = right->Knots[0];
  TEditorKnot* shared1 = right->Knots[1];
  E().Select(left, nullptr);
  TForceRecord q;
  q.Pz = 1;
  AddForce(p.DispForces(), left, q);
  AddForce(p.DispForces(), left, q);  // a second load on the same element
  AddForce(p.DispForces(), right, q);
  EXPECT_EQ(DeleteElement(E(), left), DeleteOutcome::Deleted);
  EXPECT_EQ(E().Count(), 1);
  EXPECT_TRUE(E().Selection().empty());
  EXPECT_EQ(K().Count(), 4);
  EXPECT_GE(K().IndexOfKnot(shared0), 0);
  EXPECT_GE(K().IndexOfKnot(shared1), 0);
  ASSERT_EQ(p.DispForces().Count(), 1);
  EXPECT_EQ(p.DispForces().At(0)->Element, right);
  EXPECT_EQ(DeleteElement(E(), left), DeleteOutcome::NotInList);
  EXPECT_EQ(DeleteElement(E(), nullptr), DeleteOutcome::NotInList);
}

TEST_F(MeshFixture, DeletingAKnotRemovesEverySupportAndLoadOnIt) {
  TEditorKnot* k = K().AddKnot(0, 0, 0);
  TEditorKnot* other = K().AddKnot(5, 5, 0);
  TForceRecord f;
  f.Px = 1;
  AddForce(p.ConcForces(), k, f);
  AddForce(p.ConcForces(), other, f);
  AddForce(p.ConcForces(), k, f);
  AddSupport(p.Supports(), k, TFixation{1, 0, 0, 0, 0, 0});
  AddSupport(p.Supports(), k, TFixation{0, 1, 0, 0, 0, 0});
  K().Select(k, nullptr);
  EXPECT_EQ(DeleteKnot(K(), k), DeleteOutcome::Deleted);
  EXPECT_EQ(K().Count(), 1);
  EXPECT_TRUE(K().Selection().empty());
  ASSERT_EQ(p.ConcForces().Count(), 1);
  EXPECT_EQ(p.ConcForces().At(0)->Knot, other);
  EXPECT_EQ(p.Supports().Count(), 0);
  EXPECT_EQ(DeleteKnot(K(), k), DeleteOutcome::NotInList);
  // A knot that an element uses stays, with its loads.
  TMLEditorElement* e = Rect(0, 0, 1, 1);
  AddForce(p.ConcForces(), e->Knots[0], f);
  EXPECT_EQ(DeleteKnot(K(), e->Knots[0]), DeleteOutcome::InUse);
  EXPECT_EQ(p.ConcForces().Count(), 2);
}

TEST_F(MeshFixture, DeleteSelectedErasesAndEmptiesTheSelection) {
  TMLEditorElement* a = Rect(0, 0, 1, 1);
  TMLEditorElement* b = Rect(1, 0, 2, 1);
  Rect(5, 5, 6, 6);
  a->SetVisible(1);
  b->SetVisible(1);
  E().Select(a, nullptr);
  E().Select(b, nullptr);
  RecordingCanvas canvas;
  EXPECT_EQ(DeleteSelected(E(), &canvas), 2);
  EXPECT_EQ(E().Count(), 1);
  EXPECT_EQ(K().Count(), 4);
  EXPECT_TRUE(E().Selection().empty());
  const auto polys = canvas.CallsOf(CanvasOp::Polygon);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0].Pen.Color, 0xFFFFFFu);
  EXPECT_EQ(polys[0].Brush.Color, 0xFFFFFFu);
}

// Removing a knot or an element by itself would leave the supports, loads and
// elements on it dangling: only the safe deletions of the editing operations can.
template <class List>
concept RemovesRaw = requires(List& list) { list.Delete(std::int32_t{0}); } ||
                     requires(List& list) { list.RemoveIf([](const auto&) { return true; }); };

TEST(DeleteSelected, KnotsAndElementsHaveNoRawRemoval) {
  static_assert(!RemovesRaw<TFinKnots>);
  static_assert(!RemovesRaw<TFinElements>);
  static_assert(!RemovesRaw<FactoryList<TEditorKnot>>, "not through the base either");
  static_assert(!RemovesRaw<FactoryList<TMLEditorElement>>);
  // Nothing refers to supports and loads: their lists keep plain removal.
  static_assert(RemovesRaw<TEditorSupports>);
  static_assert(RemovesRaw<TConcForcesList>);
  static_assert(RemovesRaw<TDispForcesList>);
  SUCCEED();
}

// A small model built the same way from a seed: a grid of knots, rectangles and
// pairs of triangles of both kinds, supports and loads (some twice on one item), a
// knot that no element uses, and a selection of knots and elements.
void BuildMixedModel(TVelEditorProject& p, unsigned seed) {
  std::mt19937 rng(seed);
  ScriptedMessages msgs;
  const int side = 6;
  for (int i = 0; i <= side; ++i)
    for (int j = 0; j <= side; ++j) {
      TEditorKnot* k = p.Knots().AddKnot(i, j, 0);
      k->SetScreenPoint(TPoint{i * 10, 100 - j * 10});
      k->SetVisible(1);
    }
  p.Knots().AddKnot(50, 50, 0);  // used by nothing
  auto at = [&](int i, int j) { return p.Knots().At(i * (side + 1) + j); };
  const auto steel = p.Materials().Material(0);
  for (int i = 0; i < side; ++i)
    for (int j = 0; j < side; ++j) {
      const ElementKind kind = rng() % 2 ? ElementKind::Shell : ElementKind::Plate;
      switch (rng() % 3) {
        case 0:
          AddElement(p.Elements(), msgs, ElementType::Rectangle, kind, {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)}, steel);
          break;
        case 1:
          AddElement(p.Elements(), msgs, ElementType::Triangle, kind, {at(i, j), at(i, j + 1), at(i + 1, j + 1)}, steel);
          AddElement(p.Elements(), msgs, ElementType::Triangle, kind, {at(i, j), at(i + 1, j + 1), at(i + 1, j)}, steel);
          break;
        default:
          break;  // a hole
      }
    }
  for (const auto& e : p.Elements().Items()) e->SetVisible(1);
  TForceRecord force{};
  force.Pz = 1;
  TFixation fixed{};
  fixed[2] = 1;
  for (std::int32_t i = 0; i < p.Knots().Count(); ++i) {
    const unsigned r = rng() % 6;
    if (r == 0 || r == 1) AddSupport(p.Supports(), p.Knots().At(i), fixed);
    if (r == 1) AddSupport(p.Supports(), p.Knots().At(i), fixed);  // a second one on the knot
    if (r == 2 || r == 3) AddForce(p.ConcForces(), p.Knots().At(i), force);
    if (r == 3) AddForce(p.ConcForces(), p.Knots().At(i), force);
    if (rng() % 4 == 0) p.Knots().Select(p.Knots().At(i), nullptr);
  }
  for (std::int32_t i = 0; i < p.Elements().Count(); ++i) {
    const unsigned r = rng() % 5;
    if (r == 0 || r == 1) AddForce(p.DispForces(), p.Elements().At(i), force);
    if (r == 1) AddForce(p.DispForces(), p.Elements().At(i), force);
  }
  // Selected in an order of their own, not list order.
  std::vector<std::int32_t> order(static_cast<std::size_t>(p.Elements().Count()));
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), rng);
  const unsigned share = rng() % 4;  // none, a few, most or all of them
  for (std::int32_t i : order)
    if (share == 3 || rng() % 3 < share) p.Elements().Select(p.Elements().At(i), nullptr);
}

// What the selection deletion did before it was made one pass per list: the
// single deletion of each selected element in turn.
int DeleteSelectedOneByOne(TFinElements& elements, Canvas* picture) {
  const std::vector<TMLEditorElement*> selected = elements.Selection();
  int deleted = 0;
  for (TMLEditorElement* e : selected) {
    if (elements.IndexOfElement(e) < 0) continue;
    if (picture != nullptr && TFinElements::IsPlateOrShell(*e)) e->DrawErase(*picture, 0xFFFFFF);
    if (DeleteElement(elements, e) == DeleteOutcome::Deleted) ++deleted;
  }
  elements.UnselectAll(nullptr);
  return deleted;
}

// Everything the deletion can change, positions for pointers.
struct ModelState {
  std::vector<std::uint8_t> Lists;  // the model lists as the file stores them
  std::vector<std::int32_t> KnotSelection;
  std::vector<std::uint8_t> ElementSelected;
  std::int32_t ElementSelection = 0;
  bool operator==(const ModelState&) const = default;
};
ModelState StateOf(TVelEditorProject& p) {
  ModelState s;
  BinaryWriter w;
  p.SaveToStream(w);
  s.Lists = w.Take();
  for (const TEditorKnot* k : p.Knots().Selection()) s.KnotSelection.push_back(p.Knots().IndexOfKnot(k));
  for (const auto& e : p.Elements().Items()) s.ElementSelected.push_back(e->Selected);
  s.ElementSelection = static_cast<std::int32_t>(p.Elements().Selection().size());
  return s;
}

TEST(DeleteSelected, OnePassGivesWhatOneByOneGave) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    TVelEditorProject fast, slow;
    BuildMixedModel(fast, seed);
    BuildMixedModel(slow, seed);
    ASSERT_EQ(StateOf(fast), StateOf(slow));
    RecordingCanvas fastPicture, slowPicture;
    const int expected = DeleteSelectedOneByOne(slow.Elements(), &slowPicture);
    EXPECT_EQ(DeleteSelected(fast.Elements(), &fastPicture), expected);
    EXPECT_EQ(StateOf(fast), StateOf(slow));
    ASSERT_EQ(fastPicture.Calls.size(), slowPicture.Calls.size());
    for (std::size_t i = 0; i < fastPicture.Calls.size(); ++i) {
      EXPECT_EQ(fastPicture.Calls[i].Op, slowPicture.Calls[i].Op);
      EXPECT_EQ(fastPicture.Calls[i].Points, slowPicture.Calls[i].Points);
      EXPECT_EQ(fastPicture.Calls[i].Brush.Color, slowPicture.Calls[i].Brush.Color);
    }
  }
}

TEST(DeleteSelected, KeepsWhatIsOnAKnotOutsideTheList) {
  // An element whose knot is not in the knot list: the support on that knot is
  // not the deletion's business, as with DeleteKnot.
  TVelEditorProject p;
  ScriptedMessages msgs;
  TEditorKnot stray;
  std::vector<TEditorKnot*> ks{p.Knots().AddKnot(0, 0, 0), p.Knots().AddKnot(0, 1, 0), &stray};
  TMLEditorElement* e = AddElement(p.Elements(), msgs, ElementType::Triangle, ElementKind::Plate, ks, p.Materials().Material(0)).Element;
  ASSERT_NE(e, nullptr);
  TFixation fixed{};
  fixed[0] = 1;
  AddSupport(p.Supports(), &stray, fixed);
  p.Elements().Select(e, nullptr);
  EXPECT_EQ(DeleteSelected(p.Elements(), nullptr), 1);
  EXPECT_EQ(p.Knots().Count(), 0);
  EXPECT_EQ(p.Supports().Count(), 1);
  EXPECT_EQ(p.Supports().At(0)->Knot, &stray);
}

// ---- element properties ----

TEST_F(MeshFixture, EditPropertiesSharesTheLayersAndTakesTheDialogsStack) {
  auto* shell = dynamic_cast<TMLEditorShell*>(Rect(0, 0, 1, 1));
  ASSERT_NE(shell, nullptr);
  shell->SetKx(0.5L);
  const std::shared_ptr<TPhisicalElement> body = shell->Layers.Layer(0);
  bool ok = true;
  dialogs.ElementHandler = [&](TMaterials&, ElementKind kind, const ElementDialogValues& start)
      -> std::optional<ElementDialogValues> {
    EXPECT_EQ(kind, ElementKind::Shell);
    EXPECT_EQ(start.Kx, shell->Kx);
    start.Layers.Layer(0)->SetThickness(0.2L);  // edits the element's own layer
    if (!ok) return std::nullopt;
    ElementDialogValues v;
    v.Layers.Assign(start.Layers);
    v.Layers.AddLayerByName("Слой 2", Steel());
    v.Kx = 1;
    v.Ky = 2;
    v.Kxy = 3;
    return v;
  };
  EXPECT_EQ(EditProperties(E(), shell, dialogs), EditOutcome::Changed);
  EXPECT_EQ(shell->Layers.Count(), 2);
  EXPECT_EQ(shell->Layers.Layer(0), body);
  EXPECT_EQ(body->Thickness, 0.2L);
  EXPECT_EQ(shell->Kx, 1);
  EXPECT_EQ(shell->Kxy, 3);

  ok = false;
  body->SetThickness(0.05L);
  EXPECT_EQ(EditProperties(E(), shell, dialogs), EditOutcome::Cancelled);
  EXPECT_EQ(shell->Layers.Count(), 2);
  EXPECT_EQ(body->Thickness, 0.2L);  // a layer edited in the dialog stays edited
  EXPECT_EQ(shell->Kx, 1);

  EXPECT_EQ(EditProperties(E(), nullptr, dialogs), EditOutcome::NotEditable);
  TMLEditorShell stranger(ElementType::Rectangle, Steel(), ElementKind::Shell);
  EXPECT_EQ(EditProperties(E(), &stranger, dialogs), EditOutcome::NotEditable);
  ASSERT_EQ(dialogs.ElementCalls.size(), 2u);
  EXPECT_EQ(dialogs.ElementCalls[0].Kx, 0.5L);
  EXPECT_EQ(dialogs.ElementCalls[0].LayerCount, 1);
}

TEST_F(MeshFixture, ElementsEditedTogetherGetTheirOwnLayers) {
  TMLEditorElement* plate = Rect(0, 0, 1, 1, ElementKind::Plate);
  auto* shell = dynamic_cast<TMLEditorShell*>(Rect(1, 0, 2, 1, ElementKind::Shell));
  TMLEditorElement* shell2 = Rect(2, 0, 3, 1, ElementKind::Shell);
  ElementDialogValues v;
  v.Layers.AddLayerByName("Тело пластины", Steel())->SetThickness(0.1L);
  v.Layers.AddLayerByName("Арматура", Steel());
  v.Kx = 0.25L;
  EXPECT_EQ(ApplyPropertiesToElements({shell, plate, shell2}, v, msgs), 3);
  // The plate's kind differs from the first element's: one warning.
  ASSERT_EQ(msgs.Shown.size(), 1u);
  EXPECT_EQ(msgs.Shown[0].Kind, MsgKind::Warning);
  std::set<const TPhisicalElement*> layers;
  for (TMLEditorElement* e : {plate, static_cast<TMLEditorElement*>(shell), shell2}) {
    ASSERT_EQ(e->Layers.Count(), 2);
    EXPECT_EQ(e->Layers.Layer(0)->Thickness, 0.1L);
    EXPECT_EQ(e->Layers.LayerName(1), "Арматура");
    for (std::int32_t i = 0; i < 2; ++i) layers.insert(e->Layers.Layer(i).get());
  }
  layers.insert(v.Layers.Layer(0).get());
  layers.insert(v.Layers.Layer(1).get());
  EXPECT_EQ(layers.size(), 8u);  // no layer object shared
  plate->Layers.Layer(0)->SetThickness(0.3L);
  EXPECT_EQ(shell->Layers.Layer(0)->Thickness, 0.1L);
  EXPECT_EQ(shell->Kx, 0.25L);
}

TEST_F(MeshFixture, UsageTests) {
  TMLEditorElement* e = Rect(0, 0, 1, 1, ElementKind::Plate);
  EXPECT_TRUE(KnotUsed(E(), e->Knots[2]));
  EXPECT_FALSE(KnotUsed(E(), K().AddKnot(4, 4, 0)));
  EXPECT_TRUE(MaterialUsed(E(), Steel().get()));
  const auto other = p.Materials().AddMaterial("Бетон");
  EXPECT_FALSE(MaterialUsed(E(), other.get()));
  e->Layers.AddLayerByName("Слой", other);
  EXPECT_TRUE(MaterialUsed(E(), other.get()));
}

}  // namespace
}  // namespace tavir
