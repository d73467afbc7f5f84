// The analysis on models at the edges of the number ranges and with broken parts:
// every such run ends with one message that says what is wrong and keeps no
// results; nothing is called a success that cannot be shown.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "analysis/shell_check.h"
#include "scratch_folder.h"
#include "viewer_fixture.h"

namespace tavir {
namespace {

using viewertest::ExampleBytes;
using viewertest::RecordingStatus;
using viewertest::Viewer;

// A 2 x 2 simply supported steel plate (1 x 1, 0.1 thick) under a uniform load -1;
// `change` alters it before it is saved.
std::vector<std::uint8_t> SmallPlate(const std::function<void(TVelEditorProject&, examples::ShellGrid&)>& change) {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  examples::ShellGrid g =
      examples::BuildGrid(p, 2, 2, 1, 1, [](TGeometricElement& l, int, int) { examples::SetSingleLayer(l, 0.1L); });
  examples::SupportBoundary(p, g, false);
  for (TMLEditorShell* s : g.Shells) examples::AddSurfaceLoad(p, s, -1);
  if (change) change(p, g);
  return examples::SaveWithWindow(e, 1, 1);
}

// The one message of an analysis of the changed plate that must fail: an error,
// and no results kept.
std::string RefusedAnalysis(const std::function<void(TVelEditorProject&, examples::ShellGrid&)>& change) {
  Viewer v;
  EXPECT_TRUE(v.Project.LoadProjectBytes(SmallPlate(change), "plate.tps"));
  RecordingStatus status;
  EXPECT_FALSE(v.Project.StaticCalculate(status));
  EXPECT_FALSE(v.Project.HasResults());
  EXPECT_FALSE(status.Visible);
  v.Project.SetIsoKind(ResultKind::Wz);
  EXPECT_FALSE(v.Project.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  if (v.Messages.Shown.size() != 1) {
    ADD_FAILURE() << v.Messages.Shown.size() << " messages";
    return "";
  }
  EXPECT_EQ(v.Messages.Shown[0].Kind, MsgKind::Error);
  return v.Messages.Shown[0].Text;
}

void SetAllThicknesses(examples::ShellGrid& g, Extended t) {
  for (TMLEditorShell* s : g.Shells) s->Layers.Layer(0)->SetThickness(t);
}

TEST(AnalysisFaults, SmallPlateIsSound) {
  Viewer v;
  ASSERT_TRUE(v.Project.LoadProjectBytes(SmallPlate(nullptr), "plate.tps"));
  RecordingStatus status;
  ASSERT_TRUE(v.Project.StaticCalculate(status));
  EXPECT_TRUE(v.Messages.Shown.empty());
}

// Values beyond the double range in the model: the recovered strains would be
// infinite, NaN or all zero. Each is a failure naming the element, no results.
TEST(AnalysisFaults, ValuesBeyondTheDoubleRangeFailNamingTheElement) {
  struct Case {
    const char* Name;
    std::function<void(TVelEditorProject&, examples::ShellGrid&)> Change;
    const char* Expected;  // part of the message
  };
  const std::vector<Case> cases = {
      {"thickness 1e310", [](TVelEditorProject&, examples::ShellGrid& g) { SetAllThicknesses(g, 1e310L); },
       "слишком малы"},
      {"thickness 1e-120", [](TVelEditorProject&, examples::ShellGrid& g) { SetAllThicknesses(g, 1e-120L); },
       "превышают допустимый диапазон"},
      {"E 1e-320", [](TVelEditorProject& p, examples::ShellGrid&) { p.Materials().Material(0)->SetE(1e-320L); },
       "превышают допустимый диапазон"},
      {"E 1e330", [](TVelEditorProject& p, examples::ShellGrid&) { p.Materials().Material(0)->SetE(1e330L); },
       "слишком малы"},
      {"load 1e310",
       [](TVelEditorProject& p, examples::ShellGrid&) {
         for (const auto& d : p.DispForces().Items()) d->Force.Pz = -1e310L;
       },
       "деформации или напряжения не являются конечными числами"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::string text = RefusedAnalysis(c.Change);
    EXPECT_EQ(text.rfind("Элемент ", 0), 0u) << text;
    EXPECT_NE(text.find(c.Expected), std::string::npos) << text;
  }
}

// A stiffness that overflows the extended range is named as such, not as a
// singular system.
TEST(AnalysisFaults, OverflowingElementStiffnessIsNamedBeforeTheSolve) {
  struct Case {
    const char* Name;
    std::function<void(TVelEditorProject&, examples::ShellGrid&)> Change;
    std::function<void(TViewerProject&)> AfterLoad;  // saving takes the curvatures from the surfaces
    const char* Element;
  };
  const std::vector<Case> cases = {
      {"E 1e4000", [](TVelEditorProject& p, examples::ShellGrid&) { p.Materials().Material(0)->SetE(1e4000L); },
       nullptr, "Элемент 0:"},
      {"thickness 1e4000",
       [](TVelEditorProject&, examples::ShellGrid& g) { g.Shells[2]->Layers.Layer(0)->SetThickness(1e4000L); },
       nullptr, "Элемент 2:"},
      {"curvature 1e4000", nullptr,
       [](TViewerProject& p) { AsResultShell(p.Elements().Items()[3].get())->Kx = 1e4000L; }, "Элемент 3:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Viewer v;
    ASSERT_TRUE(v.Project.LoadProjectBytes(SmallPlate(c.Change), "plate.tps"));
    if (c.AfterLoad) c.AfterLoad(v.Project);
    RecordingStatus status;
    EXPECT_FALSE(v.Project.StaticCalculate(status));
    ASSERT_EQ(v.Messages.Shown.size(), 1u);
    const std::string& text = v.Messages.Shown[0].Text;
    EXPECT_EQ(text.find("вырождена"), std::string::npos) << text;
    EXPECT_NE(text.find("матрица жесткости элемента не является конечным числом"), std::string::npos) << text;
    EXPECT_EQ(text.rfind(c.Element, 0), 0u) << text;
    EXPECT_FALSE(v.Project.HasResults());
  }
}

// A shell without a layer has no stiffness: the analysis names it instead of
// calling the system singular at one of its knots.
TEST(AnalysisFaults, ShellsWithoutLayersAreNamed) {
  struct Case {
    const char* Name;
    std::function<void(TVelEditorProject&, examples::ShellGrid&)> Change;
    const char* Expected;
  };
  const std::vector<Case> cases = {
      {"every shell", [](TVelEditorProject&, examples::ShellGrid& g) {
         for (TMLEditorShell* s : g.Shells) s->Layers.Clear();
       }, "Элемент 0: у оболочки нет ни одного слоя (не заданы толщина и материал)"},
      {"the third shell", [](TVelEditorProject&, examples::ShellGrid& g) { g.Shells[2]->Layers.Clear(); },
       "Элемент 2: у оболочки нет ни одного слоя (не заданы толщина и материал)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(RefusedAnalysis(c.Change), c.Expected);
  }
}

TEST(AnalysisFaults, ElementStiffnessCheck) {
  TFloat2DMatrix k(20, 20);
  EXPECT_FALSE(CheckElementStiffness(k, 4).has_value());
  for (const Extended bad : {std::numeric_limits<Extended>::infinity(), -std::numeric_limits<Extended>::infinity(),
                             std::numeric_limits<Extended>::quiet_NaN()}) {
    k[19][7] = bad;
    const auto m = CheckElementStiffness(k, 4);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->rfind("Элемент 4: матрица жесткости", 0), 0u) << *m;
  }
}

TEST(AnalysisFaults, ModelWithoutKnotsSaysWhy) {
  Viewer v;
  RecordingStatus status;
  EXPECT_FALSE(v.Project.StaticCalculate(status));
  ASSERT_EQ(v.Messages.Shown.size(), 1u);
  EXPECT_EQ(v.Messages.Shown[0].Kind, MsgKind::Error);
  EXPECT_EQ(v.Messages.Shown[0].Text, kNoKnotsText);
  EXPECT_EQ(status.Shown, 0);

  // The adaptation takes the settings over and says the same.
  Viewer a;
  viewertest::ScriptedAdaptDialog dialog;
  dialog.Edit = [](TAdaptParams& p) { p.SetPrecision(5); };
  EXPECT_FALSE(a.Project.Adaptation(dialog, status));
  EXPECT_EQ(a.Project.AdaptParams.Precision, 5);
  ASSERT_EQ(a.Messages.Shown.size(), 1u);
  EXPECT_EQ(a.Messages.Shown[0].Text, kNoKnotsText);
}

// Supports and loads whose knot or element the file does not name stay in the
// model and the file, and the analysis says once, before solving, which it leaves
// out; the model is solved without them.
TEST(AnalysisFaults, SupportsAndLoadsWithoutTheirItemAreReportedOnceBeforeTheSolve) {
  const auto bytes = SmallPlate([](TVelEditorProject& p, examples::ShellGrid& g) {
    auto s = p.Factory()->MakeSupport();
    s->Fixation = TFixation{1, 1, 1, 1, 1, 0};
    p.Supports().Add(std::move(s));  // no knot: written as -1
    for (int i = 0; i < 2; ++i) {
      auto cf = p.Factory()->MakeConcForce();
      TForceRecord f;
      f.Pz = -100;
      cf->SetForce(f);
      p.ConcForces().Add(std::move(cf));
    }
    auto df = p.Factory()->MakeDispForce();
    TForceRecord f;
    f.Pz = -50;
    df->SetForce(f);
    p.DispForces().Add(std::move(df));
    (void)g;
  });
  const auto sound = SmallPlate(nullptr);

  Viewer v;
  ASSERT_TRUE(v.Project.LoadProjectBytes(bytes, "plate.tps"));
  const std::int32_t supports = v.Project.Supports().Count();
  RecordingStatus status;
  status.OnPump = [&] { EXPECT_EQ(v.Messages.Shown.size(), 1u) << "the warning comes before the computation"; };
  ASSERT_TRUE(v.Project.StaticCalculate(status));
  ASSERT_EQ(v.Messages.Shown.size(), 1u);
  EXPECT_EQ(v.Messages.Shown[0].Kind, MsgKind::Warning);
  EXPECT_EQ(v.Messages.Shown[0].Caption, "Предупреждение");
  const std::string expected = "Не учитываются в расчете (4):\rзакрепления без узла (1): № " +
                               std::to_string(supports - 1) +
                               " (узел не задан)"
                               "\rсосредоточенные нагрузки без узла (2): № 0 (узел не задан), 1 (узел не задан)"
                               "\rраспределенные нагрузки без элемента (1): № 4 (элемент не задан)";
  EXPECT_EQ(v.Messages.Shown[0].Text, expected);
  // The items stay in the model, and the results are those without them.
  EXPECT_EQ(v.Project.ConcForces().Count(), 2);
  EXPECT_EQ(v.Project.DispForces().Count(), 5);
  Viewer plain;
  ASSERT_TRUE(plain.Project.LoadProjectBytes(sound, "plate.tps"));
  RecordingStatus s2;
  ASSERT_TRUE(plain.Project.StaticCalculate(s2));
  EXPECT_EQ(v.Project.LoadVector(), plain.Project.LoadVector());
  EXPECT_TRUE(plain.Messages.Shown.empty());
}

TEST(AnalysisFaults, UnplacedItemsTextListsAtMostTenPositions) {
  UnplacedItems items;
  for (std::int32_t i = 0; i < 12; ++i) items.DispForces.push_back({i, 100 + i});
  EXPECT_EQ(UnplacedItemsText(items),
            "Не учитываются в расчете (12):\rраспределенные нагрузки без элемента (12): "
            "№ 0 (элемент 100), 1 (элемент 101), 2 (элемент 102), 3 (элемент 103), 4 (элемент 104), "
            "5 (элемент 105), 6 (элемент 106), 7 (элемент 107), 8 (элемент 108), 9 (элемент 109) и еще 2");
  EXPECT_EQ(UnplacedItemsText(UnplacedItems{}), "");
}

// The warning names the knot or element number the file gave, which the reader
// keeps although it cannot resolve it (and writes back as -1).
TEST(AnalysisFaults, UnplacedItemsNameTheFilesReference) {
  TVelEditorProject model;
  auto s = model.Factory()->MakeSupport();
  s->Fixation = TFixation{1, 1, 1, 1, 1, 0};
  s->FileReference = 99;
  model.Supports().Add(std::move(s));
  const UnplacedItems items = FindUnplacedItems(model);
  ASSERT_EQ(items.Supports.size(), 1u);
  EXPECT_EQ(items.Supports[0], (UnplacedItem{0, 99}));
  EXPECT_EQ(UnplacedItemsText(items), "Не учитываются в расчете (1):\rзакрепления без узла (1): № 0 (узел 99)");
}

// The simply supported plate solved, with the deflection isolines shown.
void SolveAndShowDeflectionIsolines(Viewer& v) {
  ASSERT_TRUE(v.Project.LoadProjectBytes(ExampleBytes("plate_simply_supported.tps"), "p.tps"));
  RecordingStatus status;
  ASSERT_TRUE(v.Project.StaticCalculate(status));
  v.Project.SetIsoKind(ResultKind::Wz);
  ASSERT_TRUE(v.Project.PrepareIsoLines(-1, Fibre::Upper, nullptr));
}

// A new solve keeps the isolines the user chose: only the values go, and the next
// repaint prepares them again.
TEST(AnalysisFaults, NewResultsKeepTheIsolinesShown) {
  Viewer v;
  SolveAndShowDeflectionIsolines(v);
  ASSERT_TRUE(v.Project.IsoVisible());

  RecordingStatus again;
  ASSERT_TRUE(v.Project.StaticCalculate(again));
  EXPECT_TRUE(v.Project.IsoVisible());
  EXPECT_EQ(v.Project.DataState(), kDataNone);
  EXPECT_FALSE(v.Project.PreparedKey().has_value());
  EXPECT_TRUE(v.Project.EnsureIsoValues());
  EXPECT_TRUE(v.Project.PreparedKey().has_value());

  viewertest::ScriptedAdaptDialog dialog;
  dialog.Edit = [](TAdaptParams& p) {
    p.SetAdaptThickness(false);
    p.SetAdaptFlight(false);
  };
  RecordingStatus adapt;
  ASSERT_TRUE(v.Project.Adaptation(dialog, adapt));
  EXPECT_TRUE(v.Project.IsoVisible());
  EXPECT_EQ(v.Project.DataState(), kDataNone);
  EXPECT_TRUE(v.Project.EnsureIsoValues());

  // Opening a file still hides them.
  ASSERT_TRUE(v.Project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "c.tps"));
  EXPECT_FALSE(v.Project.IsoVisible());
}

// While a computation runs the vector holds loads or a partial solve: a repaint
// in one of its pumps finds no results and prepares no isoline values from it.
TEST(AnalysisFaults, NoResultsAreShownWhileAComputationRuns) {
  Viewer v;
  SolveAndShowDeflectionIsolines(v);

  int seen = 0;
  auto repaint = [&] {
    ++seen;
    EXPECT_FALSE(v.Project.HasResults()) << "pump " << seen;
    EXPECT_FALSE(v.Project.EnsureIsoValues()) << "pump " << seen;
    EXPECT_FALSE(v.Project.PreparedKey().has_value()) << "pump " << seen;
  };
  RecordingStatus again;
  again.OnPump = repaint;
  ASSERT_TRUE(v.Project.StaticCalculate(again));
  EXPECT_GT(seen, 0);
  EXPECT_TRUE(v.Project.HasResults());
  EXPECT_TRUE(v.Project.EnsureIsoValues());

  seen = 0;
  viewertest::ScriptedAdaptDialog dialog;
  RecordingStatus adapt;
  adapt.OnPump = repaint;
  ASSERT_TRUE(v.Project.Adaptation(dialog, adapt));
  EXPECT_GT(seen, 0);
  EXPECT_TRUE(v.Project.HasResults());
  EXPECT_TRUE(v.Project.EnsureIsoValues());
}

TEST(AnalysisFaults, AdaptationRefusesAPrecisionThatCannotEnd) {
  struct Case {
    Extended Precision;
    bool Accepted;
  };
  const Case cases[] = {{1, true},
                        {1e-6L, true},
                        {0, false},
                        {-1, false},
                        {std::numeric_limits<Extended>::quiet_NaN(), false},
                        {std::numeric_limits<Extended>::infinity(), false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.Precision));
    TAdaptParams p;
    p.SetPrecision(c.Precision);
    EXPECT_EQ(CheckAdaptParams(p).empty(), c.Accepted);
    if (!c.Accepted) {
      EXPECT_EQ(CheckAdaptParams(p), kBadAdaptPrecisionText);
    }
  }

  Viewer v;
  ASSERT_TRUE(v.Project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "c.tps"));
  const TAdaptParams before = v.Project.AdaptParams;
  viewertest::ScriptedAdaptDialog dialog;
  dialog.Edit = [](TAdaptParams& p) { p.SetPrecision(0); };
  RecordingStatus status;
  EXPECT_FALSE(v.Project.Adaptation(dialog, status));
  EXPECT_EQ(status.Shown, 0);
  ASSERT_EQ(v.Messages.Shown.size(), 1u);
  EXPECT_EQ(v.Messages.Shown[0].Text, kBadAdaptPrecisionText);
  EXPECT_EQ(v.Project.AdaptParams, before);
}

// One reader path for files: the editor's size limit holds here too, checked
// before anything is read.
TEST(AnalysisFaults, OversizedFileIsRefusedBeforeItIsRead) {
  namespace fs = std::filesystem;
  const ScratchFolder scratch("tavir-oversized");
  const fs::path path = scratch.Path() / "oversized.tps";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write("\1\0\0\0", 4);
  }
  fs::resize_file(path, (std::uintmax_t{1} << 30) + 1);  // sparse: no disk space taken
  Viewer v;
  ASSERT_TRUE(v.Project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "c.tps"));
  try {
    v.Project.LoadProjectFile(path.string());
    ADD_FAILURE() << "accepted";
  } catch (const FormatError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Файл слишком велик", 0), 0u) << e.what();
  }
  EXPECT_EQ(v.Project.FileName(), "c.tps");
  EXPECT_EQ(v.Project.Knots().Count(), 25);
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

// A precision finer than the volumes can settle to: the loop stops at the cap
// with a warning, and the results of the last iteration are kept.
TEST(AnalysisFaults, AdaptationStopsAtTheIterationCap) {
  Viewer v;
  ASSERT_TRUE(v.Project.LoadProjectBytes(SmallPlate(nullptr), "plate.tps"));
  viewertest::ScriptedAdaptDialog dialog;
  dialog.Edit = [](TAdaptParams& p) {
    p.SetAdaptFlight(false);
    p.SetAdaptThickness(true);
    p.SetPrecision(1e-4000L);
    p.SetRefreshView(false);
  };
  // This model settles after some 50 iterations; the limit cuts it short.
  EXPECT_EQ(v.Project.AdaptIterationLimit(), kMaxAdaptIterations);
  v.Project.SetAdaptIterationLimit(5);
  RecordingStatus status;
  ASSERT_TRUE(v.Project.Adaptation(dialog, status));
  const auto iterations = status.CellTexts(1, kRowIteration);
  ASSERT_FALSE(iterations.empty());
  EXPECT_EQ(iterations.back(), "5");
  ASSERT_EQ(v.Messages.Shown.size(), 2u);
  EXPECT_EQ(v.Messages.Shown[0].Text.rfind(kPotentialEnergyText, 0), 0u);
  EXPECT_EQ(v.Messages.Shown[1].Kind, MsgKind::Warning);
  EXPECT_EQ(v.Messages.Shown[1].Text, AdaptNotConvergedText(5) + "\r" + kAdaptThicknessNotConvergedText);
  EXPECT_TRUE(v.Project.HasResults());
}

}  // namespace
}  // namespace tavir
