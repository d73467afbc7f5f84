// Long random runs of the editing operations: after every step each reference in
// the model names an item of its list, the selections hold only listed items, and
// the one-per-knot rules of the setters hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "model/project.h"
#include "model/project_fixture.h"
#include "platform/recording_canvas.h"
#include "fakes/scripted_messages.h"
#include "fakes/scripted_model_dialogs.h"

namespace tavir {
namespace {

// Every broken rule, as text; empty when the model is sound.
std::vector<std::string> Faults(const TVelEditorProject& p) {
  std::vector<std::string> faults;
  std::set<const TEditorKnot*> knots;
  for (const auto& k : p.Knots().Items()) knots.insert(k.get());
  std::set<const TFiniteElement*> elements;
  for (const auto& e : p.Elements().Items()) elements.insert(e.get());
  for (const auto& e : p.Elements().Items())
    for (const TEditorKnot* k : e->Knots)
      if (knots.count(k) == 0) faults.push_back("element on a knot outside the list");
  std::set<const TEditorKnot*> supported, loaded;
  for (const auto& s : p.Supports().Items()) {
    if (knots.count(s->Knot) == 0) faults.push_back("support on a knot outside the list");
    if (!supported.insert(s->Knot).second) faults.push_back("two supports on one knot");
    if (IsAllZero(s->Fixation)) faults.push_back("an all-free support");
  }
  for (const auto& f : p.ConcForces().Items()) {
    if (knots.count(f->Knot) == 0) faults.push_back("load on a knot outside the list");
    if (!loaded.insert(f->Knot).second) faults.push_back("two loads on one knot");
    if (f->Force.IsZero()) faults.push_back("an all-zero load");
  }
  std::set<const TFiniteElement*> pressed;
  for (const auto& f : p.DispForces().Items()) {
    if (elements.count(f->Element) == 0) faults.push_back("distributed load on an element outside the list");
    if (!pressed.insert(f->Element).second) faults.push_back("two distributed loads on one element");
  }
  for (const TEditorKnot* k : p.Knots().Selection())
    if (knots.count(k) == 0) faults.push_back("selected knot outside the list");
  for (const TMLEditorElement* e : p.Elements().Selection())
    if (elements.count(e) == 0) faults.push_back("selected element outside the list");
  if (!(p.Knots().MinSizeX > 0) || !(p.Knots().MinSizeY > 0)) faults.push_back("smallest size not positive");
  return faults;
}

TEST(EditingInvariants, RandomRunsKeepEveryReferenceSound) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    TVelEditorProject p;
    ScriptedMessages msgs;
    ScriptedModelDialogs dialogs;
    RecordingCanvas canvas;
    const ViewTransform plan = testing::GridPlanWindow();
    const auto steel = p.Materials().Material(0);
    std::int32_t mostElements = 0, mostSupports = 0, mostLoads = 0;
    for (int step = 0; step < 300; ++step) {
      const int op = pick(11);
      const std::int32_t nk = p.Knots().Count();
      const std::int32_t ne = p.Elements().Count();
      TEditorKnot* knot = nk > 0 ? p.Knots().At(pick(nk)) : nullptr;
      TMLEditorElement* element = ne > 0 ? p.Elements().At(pick(ne)) : nullptr;
      TForceRecord force;
      force.Pz = pick(3) == 0 ? 0 : -1.0L * pick(5);
      switch (op) {
        case 0:
        case 1:
          AddAtPoint(p.Elements(), 50 + 100 * pick(8), 50 + 100 * pick(8), steel,
                     pick(2) == 0 ? ElementKind::Plate : ElementKind::Shell,
                     pick(3) == 0 ? ElementType::Triangle : ElementType::Rectangle, plan, &canvas, msgs);
          break;
        case 2: {
          const Extended x0 = pick(6), y0 = pick(6);
          dialogs.DivideAnswers.push_back(DivideDialogValues{2, 2, pick(2) == 0 ? 1.0L : 0.5L, 1, 2, 2, ""});
          DivideRegion(p.Elements(), FloatPoint(x0, y0 + 2), FloatPoint(x0 + 2, y0), steel, ElementKind::Shell,
                       ElementType::Rectangle, plan, dialogs, msgs);
          break;
        }
        case 3:
          if (element != nullptr) p.Elements().Select(element, &canvas);
          if (pick(3) == 0) DeleteSelected(p.Elements(), &canvas);
          break;
        case 4: DeleteElement(p.Elements(), element); break;
        case 5: DeleteKnot(p.Knots(), knot); break;
        case 6:
          SetSupport(p.Supports(), knot, pick(3) == 0 ? TFixation{} : TFixation{1, 0, 1, 0, 0, 0}, pick(2));
          break;
        case 7: SetForce(p.ConcForces(), knot, force); break;
        case 8: SetForce(p.DispForces(), element, force); break;
        case 9:
          if (knot != nullptr) p.Knots().Select(knot, &canvas);
          break;
        case 10:
          if (pick(2) == 0)
            SortByX(p.Knots());
          else
            SortByY(p.Knots());
          break;
      }
      mostElements = std::max(mostElements, p.Elements().Count());
      mostSupports = std::max(mostSupports, p.Supports().Count());
      mostLoads = std::max(mostLoads, p.ConcForces().Count() + p.DispForces().Count());
      const std::vector<std::string> faults = Faults(p);
      ASSERT_TRUE(faults.empty()) << "seed " << seed << ", step " << step << ", operation " << op << ": "
                                  << faults.front();
    }
    // The run did build a model to break.
    EXPECT_GT(mostElements, 5) << "seed " << seed;
    EXPECT_GT(mostSupports, 1) << "seed " << seed;
    EXPECT_GT(mostLoads, 1) << "seed " << seed;
  }
}

}  // namespace
}  // namespace tavir
