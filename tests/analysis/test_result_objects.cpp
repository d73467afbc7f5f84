#include "analysis/result_objects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "analysis/section_stiffness.h"
#include "analysis/shell_check.h"
#include "analysis/shell_stiffness.h"
#include "analysis/stress_recovery.h"

namespace tavir {
namespace {

constexpr Extended nan = std::numeric_limits<Extended>::quiet_NaN();
constexpr Extended inf = std::numeric_limits<Extended>::infinity();

class ShellFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    material = std::make_shared<TPhisPropRodNL>();
    const Extended xy[4][2] = {{1, 2}, {1, 3.5L}, {3, 3.5L}, {3, 2}};
    for (int k = 0; k < 4; ++k) {
      knots[k].X = xy[k][0];
      knots[k].Y = xy[k][1];
      knots[k].Number = 3 - k;
    }
    shell = std::make_unique<TMLResultShell>(ElementType::Rectangle, material);
    for (int k = 0; k < 4; ++k) shell->Knots[k] = &knots[k];
  }
  std::shared_ptr<TPhisPropRodNL> material;
  TResultKnot knots[4];
  std::unique_ptr<TMLResultShell> shell;
};

TEST(ResultKnot, KnotValues) {
  TResultKnot k;
  TPhisPropRodNL m1, m2;
  EXPECT_EQ(k.ValueCount(), 0);
  k.AddKey(&m1);
  k.AddKey(&m1);
  k.AddKey(&m2);
  EXPECT_EQ(k.ValueCount(), 2);
  EXPECT_EQ(k.KeyAt(0), &m1);
  EXPECT_EQ(k.KeyAt(1), &m2);
  EXPECT_EQ(k.KeyAt(-1), nullptr);
  EXPECT_EQ(k.KeyAt(2), nullptr);
  k.SetValue(&m2, 4.5L);
  k.SetValue(nullptr, 9);  // absent: nothing
  EXPECT_EQ(k.ValueOf(&m2), 4.5L);
  EXPECT_EQ(k.ValueOf(&m1), 0);
  EXPECT_EQ(k.ValueOf(nullptr), 0);
  EXPECT_FALSE(k.HasKey(nullptr));
  k.ClearValues();
  EXPECT_EQ(k.ValueCount(), 0);
  k.SetNumber(12);
  EXPECT_EQ(k.Number, 12);
}

TEST_F(ShellFixture, CalcStiffnessFillsTheFieldsFromThePureComputation) {
  shell->Kx = 0.01L;
  shell->Layers.Layer(0)->Z = 0.01L;
  shell->CalcStiffness();
  ASSERT_EQ(shell->LayerQ.size(), 1u);
  ASSERT_EQ(shell->LayerK.size(), 1u);
  const LayerInput in{0.05L, 0.01L, 0, material->E, material->mu, 0};
  const LayerModuli el = LayerElastic(in);
  EXPECT_EQ(shell->LayerK[0], el.K);
  EXPECT_EQ(shell->LayerQ[0][0][1], el.Q[0][1]);
  TFloat2DMatrix k, t;
  ShellStiffness(2, 1.5L, 0.01L, 0, SectionMatrix(std::span<const LayerInput>(&in, 1)), k, t);
  EXPECT_EQ(shell->Stiffness, k);
  EXPECT_EQ(shell->Transform, t);

  TFloat2DMatrix D;
  shell->SectionMatrix(D);
  EXPECT_EQ(D, SectionMatrix(std::span<const LayerInput>(&in, 1)));
  TFloat3DMatrix L;
  shell->LayerMatrices(L);
  ASSERT_EQ(L.size(), 1u);
  EXPECT_EQ(L[0].Rows(), 5u);
  EXPECT_EQ(L[0][2][2], el.Q[2][2]);
  EXPECT_EQ(L[0][3][3], 0);
}

TEST_F(ShellFixture, TypeTwoRectangleIsComputedLikeARectangle) {
  TMLResultShell quad(ElementType::Quadrangle, material);
  for (int k = 0; k < 4; ++k) quad.Knots[k] = &knots[k];
  EXPECT_EQ(CheckShellForAnalysis(quad, 0), std::nullopt);
  quad.CalcStiffness();
  shell->CalcStiffness();
  EXPECT_EQ(quad.Stiffness, shell->Stiffness);
}

TEST_F(ShellFixture, RefusedShellKeepsItsResults) {
  shell->CalcStiffness();
  const TFloat2DMatrix before = shell->Stiffness;
  material->SetMu(0.5L);
  EXPECT_THROW(shell->CalcStiffness(), ElementError);
  EXPECT_EQ(shell->Stiffness, before);
}

struct BrokenCase {
  const char* what;
  std::function<void(TMLResultShell&, TResultKnot*, TPhisPropRodNL&)> breakIt;
  const char* message;
};

TEST_F(ShellFixture, ValidationNamesTheElementAndTheFault) {
  const char* notRect =
      "Элемент 7: оболочка должна быть прямоугольником из четырёх узлов со сторонами, параллельными осям X и Y";
  const char* order =
      "Элемент 7: узлы оболочки должны идти по часовой стрелке от левого нижнего угла (левый нижний, левый верхний, "
      "правый верхний, правый нижний), размеры оболочки должны быть больше нуля";
  const std::vector<BrokenCase> cases = {
      {"triangle", [](TMLResultShell& s, TResultKnot*, TPhisPropRodNL&) {
         s.ElementType = ElementType::Triangle;
         s.Knots.resize(3);
       }, notRect},
      {"null knot", [](TMLResultShell& s, TResultKnot*, TPhisPropRodNL&) { s.Knots[2] = nullptr; },
       "Элемент 7: не задан узел 2"},
      {"repeated knot", [](TMLResultShell& s, TResultKnot* k, TPhisPropRodNL&) { s.Knots[3] = &k[1]; },
       "Элемент 7: узел 3 совпадает с другим узлом элемента"},
      {"mirrored", [](TMLResultShell& s, TResultKnot* k, TPhisPropRodNL&) {
         s.Knots = {&k[0], &k[3], &k[2], &k[1]};
       }, order},
      {"zero width", [](TMLResultShell&, TResultKnot* k, TPhisPropRodNL&) { k[2].X = k[3].X = 1; }, order},
      {"skewed", [](TMLResultShell&, TResultKnot* k, TPhisPropRodNL&) { k[2].X = 3.2L; }, notRect},
      {"parallelogram", [](TMLResultShell&, TResultKnot* k, TPhisPropRodNL&) { k[2].Y = k[3].Y = 2.5L; }, notRect},
      {"knot not a number", [](TMLResultShell&, TResultKnot* k, TPhisPropRodNL&) { k[1].X = nan; },
       "Элемент 7: координаты узла 1 не являются числами"},
      {"curvature", [](TMLResultShell& s, TResultKnot*, TPhisPropRodNL&) { s.Ky = inf; },
       "Элемент 7: кривизна оболочки не является числом"},
      {"no material", [](TMLResultShell& s, TResultKnot*, TPhisPropRodNL&) { s.Layers.Layer(0)->SetMaterial(nullptr); },
       "Элемент 7, слой 0 \"Тело пластины\": у слоя не задан материал"},
      {"E zero", [](TMLResultShell&, TResultKnot*, TPhisPropRodNL& m) { m.E = 0; },
       "Элемент 7, слой 0 \"Тело пластины\": модуль упругости материала должен быть положительным числом"},
      {"E NaN", [](TMLResultShell&, TResultKnot*, TPhisPropRodNL& m) { m.E = nan; },
       "Элемент 7, слой 0 \"Тело пластины\": модуль упругости материала должен быть положительным числом"},
      {"nu 0.5", [](TMLResultShell&, TResultKnot*, TPhisPropRodNL& m) { m.mu = 0.5L; },
       "Элемент 7, слой 0 \"Тело пластины\": коэффициент Пуассона материала должен быть больше -1 и меньше 0,5"},
      {"nu -1", [](TMLResultShell&, TResultKnot*, TPhisPropRodNL& m) { m.mu = -1; },
       "Элемент 7, слой 0 \"Тело пластины\": коэффициент Пуассона материала должен быть больше -1 и меньше 0,5"},
      {"no layers", [](TMLResultShell& s, TResultKnot*, TPhisPropRodNL&) { s.Layers.Clear(); },
       "Элемент 7: у оболочки нет ни одного слоя (не заданы толщина и материал)"},
      {"thickness 0", [](TMLResultShell& s, TResultKnot*, TPhisPropRodNL&) { s.Layers.Layer(0)->Thickness = 0; },
       "Элемент 7, слой 0 \"Тело пластины\": толщина слоя должна быть больше нуля"},
      {"thickness negative", [](TMLResultShell& s, TResultKnot*, TPhisPropRodNL&) { s.Layers.Layer(0)->Thickness = -1; },
       "Элемент 7, слой 0 \"Тело пластины\": толщина слоя должна быть больше нуля"},
      {"rod angle", [](TMLResultShell& s, TResultKnot*, TPhisPropRodNL& m) {
         s.Layers.Layer(0)->TypeLayer = 1;
         m.Fi = nan;
       }, "Элемент 7, слой 0 \"Тело пластины\": угол армирования материала не является числом"},
  };
  EXPECT_EQ(CheckShellForAnalysis(*shell, 7), std::nullopt);
  for (const BrokenCase& c : cases) {
    SetUp();
    c.breakIt(*shell, knots, *material);
    EXPECT_EQ(CheckShellForAnalysis(*shell, 7).value_or("(passed)"), c.message) << c.what;
    EXPECT_THROW(shell->CalcStiffness(), ElementError) << c.what;
    EXPECT_TRUE(shell->Stiffness.Empty()) << c.what;
  }
  SetUp();
  shell->Layers.Layer(0)->SetMaterial(nullptr);
  EXPECT_EQ(CheckShellForAnalysis(*shell, -1).value_or(""), "Элемент, слой 0 \"Тело пластины\": у слоя не задан материал");
}

TEST_F(ShellFixture, CalcStressesUsesTheKnotNumbers) {
  shell->Layers.Layer(0)->Z = 0.01L;
  shell->CalcStiffness();
  // u = 1e-3 x over the element, knots numbered 3, 2, 1, 0.
  TFloatVector v(20, 0);
  for (int k = 0; k < 4; ++k) v[knots[k].Number * 5 + 0] = 1e-3L * knots[k].X;
  shell->CalcStresses(v);
  for (int f = 0; f < 3; ++f) {
    ASSERT_EQ(shell->Strains[f].Rows(), 1u);
    ASSERT_EQ(shell->Stresses[f].Cols(), 3u);
    EXPECT_NEAR(static_cast<double>(shell->Strains[f][0][0]), 1e-3, 1e-16);
    EXPECT_EQ(shell->Strains[f][0][1], 0);
    EXPECT_NEAR(static_cast<double>(shell->Stresses[f][0][1]), static_cast<double>(shell->LayerQ[0][1][0] * 1e-3L),
                1e-9);
  }
}

TEST_F(ShellFixture, CalcStressesFollowsTheLayerCount) {
  shell->CalcStiffness();
  TFloatVector v(20, 0);
  v[0] = 1e-3L;
  shell->CalcStresses(v);
  ASSERT_EQ(shell->Strains[0].Rows(), 1u);
  shell->Layers.AddLayerByName("Арматура", material)->SetZ(0.02L);
  shell->CalcStresses(v);
  EXPECT_EQ(shell->Strains[1].Rows(), 2u);
  EXPECT_EQ(shell->Stresses[2].Rows(), 2u);
  EXPECT_EQ(shell->LayerQ.size(), 2u);
  shell->Layers.Clear();
  shell->CalcStresses(v);
  EXPECT_EQ(shell->Strains[0].Rows(), 0u);
  EXPECT_TRUE(shell->LayerQ.empty());
}

TEST_F(ShellFixture, CalcStressesWithoutAVectorOrWithAShortOne) {
  shell->CalcStresses({});
  EXPECT_TRUE(shell->Strains[0].Empty());
  shell->CalcStiffness();
  EXPECT_THROW(shell->CalcStresses(TFloatVector(10, 0)), EMatrixError);
  EXPECT_TRUE(shell->Strains[0].Empty());
  TEditorKnot plain;
  shell->Knots[2] = &plain;
  plain.X = 3;
  plain.Y = 3.5L;
  EXPECT_THROW(shell->CalcStresses(TFloatVector(20, 0)), ElementError);
}

TEST(StressRecoveryRange, RoundingOfTheKnotValues) {
  struct Case {
    const char* Name;
    Extended Largest, Other;
    DoubleRounding Expected;
  };
  const Case cases[] = {
      {"zero", 0, 0, DoubleRounding::Kept},
      {"ordinary", 1e-3L, -2e-7L, DoubleRounding::Kept},
      {"largest double", 1.7976931348623157e308L, 1, DoubleRounding::Kept},
      {"beyond the doubles", 1e310L, 1, DoubleRounding::Overflow},
      {"negative beyond", -1e4000L, 1, DoubleRounding::Overflow},
      {"infinite", inf, 0, DoubleRounding::Overflow},
      {"not a number", nan, 0, DoubleRounding::Overflow},
      {"smallest normal double", 2.2250738585072014e-308L, 0, DoubleRounding::Kept},
      {"all subnormal", 1e-310L, 1e-315L, DoubleRounding::Vanish},
      {"all below the doubles", 1e-330L, -1e-4000L, DoubleRounding::Vanish},
      // Tiny values beside a normal one only lose what is negligible against it.
      {"tiny beside normal", 1e-300L, 1e-330L, DoubleRounding::Kept},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::array<Extended, 20> q{};
    q[7] = c.Largest;
    q[15] = c.Other;
    EXPECT_EQ(RoundingToDouble(q), c.Expected);
  }
  EXPECT_TRUE(RecoveredValueUsable(0));
  EXPECT_TRUE(RecoveredValueUsable(-1.7976931348623157e308L));
  EXPECT_FALSE(RecoveredValueUsable(1e309L));
  EXPECT_FALSE(RecoveredValueUsable(inf));
  EXPECT_FALSE(RecoveredValueUsable(nan));
}

// Results that cannot be shown are refused, naming the element and, for a fibre,
// the layer; the element keeps what it held.
TEST_F(ShellFixture, CalcStressesRefusesValuesBeyondTheDoubleRange) {
  shell->CalcStiffness();
  TFloatVector v(20, 0);
  v[0] = 1e-3L;
  shell->CalcStresses(v, 7);
  const TFloat2DMatrix kept = shell->Stresses[1];
  struct Case {
    const char* Name;
    std::function<void(TFloatVector&, TMLResultShell&)> Change;
    const char* Start;
  };
  const std::vector<Case> cases = {
      {"displacement 1e310", [](TFloatVector& x, TMLResultShell&) { x[2] = 1e310L; },
       "Элемент 7: перемещения узлов элемента превышают"},
      {"displacements 1e-330", [](TFloatVector& x, TMLResultShell&) { x[0] = 1e-330L; },
       "Элемент 7: перемещения узлов элемента слишком малы"},
      {"fibre at 1e310", [](TFloatVector&, TMLResultShell& s) { s.Layers.Layer(0)->Thickness = 1e310L; },
       "Элемент 7, слой 0 \"Тело пластины\": деформации или напряжения не являются конечными числами"},
      {"stress beyond the doubles", [](TFloatVector&, TMLResultShell& s) { s.LayerQ[0][0][0] = 1e4000L; },
       "Элемент 7, слой 0 \"Тело пластины\": деформации или напряжения"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SetUp();
    shell->CalcStiffness();
    shell->CalcStresses(v, 7);
    TFloatVector x = v;
    c.Change(x, *shell);
    try {
      shell->CalcStresses(x, 7);
      ADD_FAILURE() << "accepted";
    } catch (const ElementError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.Start, 0), 0u) << e.what();
    }
    EXPECT_EQ(shell->Stresses[1][0][0], kept[0][0]);
  }
}

TEST_F(ShellFixture, ListStiffnessOnThreadsEqualsThePlainLoopAndChecksFirst) {
  // 600 shells over a strip of knots, computed on 4 threads and one by one.
  const std::size_t n = 600;
  std::vector<TResultKnot> strip(2 * (n + 1));
  for (std::size_t i = 0; i <= n; ++i) {
    strip[2 * i].X = strip[2 * i + 1].X = 0.1L * i + 0.001L * (i % 7);
    strip[2 * i + 1].Y = 0.5L;
  }
  std::vector<std::unique_ptr<TMLResultShell>> a, b;
  std::vector<TMLResultShell*> pa, pb;
  for (std::size_t i = 0; i < n; ++i)
    for (auto* list : {&a, &b}) {
      auto s = std::make_unique<TMLResultShell>(ElementType::Rectangle, material);
      s->Knots = {&strip[2 * i], &strip[2 * i + 1], &strip[2 * i + 3], &strip[2 * i + 2]};
      s->Kx = 0.001L * i;
      list->push_back(std::move(s));
    }
  for (std::size_t i = 0; i < n; ++i) {
    pa.push_back(a[i].get());
    pb.push_back(b[i].get());
  }
  CalcShellStiffnesses(pa, 4);
  for (TMLResultShell* s : pb) s->CalcStiffness();
  for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(a[i]->Stiffness, b[i]->Stiffness) << i;

  b[455]->Layers.Layer(0)->Thickness = 0;  // shared with nothing: only b[455] is broken
  for (auto& s : b) s->Stiffness.Clear();
  try {
    CalcShellStiffnesses(pb, 4);
    FAIL() << "no error";
  } catch (const ElementError& e) {
    EXPECT_EQ(std::string(e.what()), "Элемент 455, слой 0 \"Тело пластины\": толщина слоя должна быть больше нуля");
  }
  for (auto& s : b) EXPECT_TRUE(s->Stiffness.Empty());
}

TEST_F(ShellFixture, LayerMaterialIsTheKey) {
  EXPECT_EQ(shell->LayerMaterial(0), material.get());
  EXPECT_EQ(shell->LayerMaterial(1), nullptr);
  EXPECT_EQ(shell->LayerMaterial(-1), nullptr);
}

}  // namespace
}  // namespace tavir
