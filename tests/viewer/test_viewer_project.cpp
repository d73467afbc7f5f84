// The analysis project: opening files, the static analysis and its failures.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include <sys/stat.h>

#include "scratch_folder.h"
#include "viewer_fixture.h"

namespace tavir {
namespace {

using viewertest::ExampleBytes;
using viewertest::RecordingStatus;
using viewertest::Viewer;

class EveryExample : public ::testing::TestWithParam<std::string> {};

TEST_P(EveryExample, StaticCalculateMatchesADirectSolveAndRepeats) {
  Viewer v;
  v.Open(GetParam());
  RecordingStatus status;
  ASSERT_TRUE(v.Project.StaticCalculate(status)) << (v.Messages.Shown.empty() ? "" : v.Messages.Shown[0].Text);
  EXPECT_TRUE(v.Messages.Shown.empty());
  EXPECT_EQ(status.Stages, (std::vector<int>{kStageStiffness, kStageLoads, kStageSolve, kStageStresses}));
  EXPECT_EQ(status.Shown, 1);
  EXPECT_EQ(status.Hidden, 1);
  EXPECT_GE(status.Pumps, 4);
  EXPECT_EQ(v.Hooks.AllRepaints, 1);
  // The bar runs over the elements, then from there over the loads and supports.
  const long long elements = v.Project.Elements().Count();
  const long long loads = v.Project.ConcForces().Count() + v.Project.DispForces().Count() + v.Project.Supports().Count();
  EXPECT_EQ(status.FirstBarIn(kStageStiffness), (RecordingStatus::Bar{kStageStiffness, 0, elements}));
  EXPECT_EQ(status.FirstBarIn(kStageLoads), (RecordingStatus::Bar{kStageLoads, elements, loads}));

  const std::vector<Extended> direct = viewertest::DirectSolve(ExampleBytes(GetParam()));
  const std::vector<Extended> first = v.Project.LoadVector();
  ASSERT_EQ(first.size(), direct.size());
  const Extended scale = viewertest::MaxAbs(direct);
  ASSERT_GT(scale, 0);
  for (std::size_t i = 0; i < direct.size(); ++i) EXPECT_NEAR(first[i], direct[i], 1e-12L * scale) << i;

  // A second run starts from a zero system: nothing accumulates.
  RecordingStatus again;
  ASSERT_TRUE(v.Project.StaticCalculate(again));
  EXPECT_EQ(v.Project.LoadVector(), first);
}

INSTANTIATE_TEST_SUITE_P(Examples, EveryExample,
                         ::testing::Values("plate_simply_supported.tps", "plate_clamped.tps", "shell_spherical.tps",
                                           "shell_two_materials.tps"));

TEST(ViewerProjectLoad, KnotsNumberedInFileOrderAndFirstWindowHandedOver) {
  Viewer v;
  v.Project.SetLayer(2);
  v.Open("plate_clamped.tps");
  ASSERT_EQ(v.Project.Knots().Count(), 25);
  for (std::int32_t i = 0; i < 25; ++i) EXPECT_EQ(v.Project.KnotAt(i)->Number, i);
  EXPECT_EQ(v.Project.Layer(), -1);
  EXPECT_EQ(v.Project.FileName(), "plate_clamped.tps");
  EXPECT_EQ(v.Project.Materials().Count(), 1);
  ASSERT_TRUE(v.Project.FirstWindow().has_value());
  EXPECT_EQ(v.Project.FirstWindow()->View.MaxPoint.X, 3);
  ASSERT_EQ(v.Hooks.Windows.size(), 1u);
  EXPECT_EQ(v.Hooks.Actions, std::vector<std::string>{kViewerModeAction});
  for (const auto& e : v.Project.Elements().Items()) EXPECT_NE(AsResultShell(e.get()), nullptr);
  EXPECT_FALSE(v.Project.HasResults());
}

TEST(ViewerProjectLoad, MissingFileShowsMessageAndKeepsTheModel) {
  Viewer v;
  v.Open("plate_clamped.tps");
  EXPECT_FALSE(v.Project.LoadProjectFile("/nonexistent/dir/none.tps"));
  ASSERT_EQ(v.Messages.Shown.size(), 1u);
  EXPECT_EQ(v.Messages.Shown[0].Text, "Файл /nonexistent/dir/none.tps не найден!");
  EXPECT_EQ(v.Project.FileName(), "plate_clamped.tps");
  EXPECT_EQ(v.Project.Knots().Count(), 25);
}

// A pipe or a link to a device named as the project: said for what it is (it
// used to be "не найден"), and the open model stays.
TEST(ViewerProjectLoad, WhatIsNoFileIsNamedAndKeepsTheModel) {
  namespace fs = std::filesystem;
  const ScratchFolder scratch("tavir-viewer-odd");
  const fs::path& dir = scratch.Path();
  const std::string fifo = (dir / "pipe.tps").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string zero = (dir / "zero.tps").string();
  fs::create_symlink("/dev/zero", zero);
  for (const std::string& name : {fifo, zero}) {
    SCOPED_TRACE(name);
    Viewer v;
    v.Open("plate_clamped.tps");
    try {
      v.Project.LoadProjectFile(name);
      ADD_FAILURE() << "opened";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), "Не удается открыть файл " + name + ": файл не является обычным файлом.");
    }
    EXPECT_TRUE(v.Messages.Shown.empty());
    EXPECT_EQ(v.Project.FileName(), "plate_clamped.tps");
    EXPECT_EQ(v.Project.Knots().Count(), 25);
  }
}

TEST(ViewerProjectLoad, FromDiskReadsTheExample) {
  Viewer v;
  const std::string path = examples::ExamplePath("shell_spherical.tps");
  ASSERT_TRUE(v.Project.LoadProjectFile(path));
  EXPECT_EQ(v.Project.FileName(), path);
  EXPECT_EQ(v.Project.ShellsFuncs().Count(), 1);
}

// Damaged and truncated files leave the open model, its results and its name.
TEST(ViewerProjectLoad, HostileAndTruncatedFilesLeaveTheOpenProjectAndResults) {
  Viewer v;
  v.Open("plate_simply_supported.tps");
  RecordingStatus status;
  ASSERT_TRUE(v.Project.StaticCalculate(status));
  v.Project.SetIsoKind(ResultKind::Wz);
  ASSERT_TRUE(v.Project.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  const std::vector<Extended> results = v.Project.LoadVector();
  const TIsoParamsRec iso = v.Project.IsoParams();
  const Extended knotValue = v.Project.KnotAt(12)->ValueOf(nullptr);
  ASSERT_NE(knotValue, 0);

  const std::vector<std::uint8_t> good = ExampleBytes("shell_two_materials.tps");
  std::vector<std::vector<std::uint8_t>> bad;
  for (std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{100}, std::size_t{200}, good.size() / 2,
                          good.size() - 300, good.size() - 2})
    bad.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
  {
    auto sig = good;
    testing::PutInt32(sig, 0, 2);
    bad.push_back(sig);
  }
  {
    // An element of an unknown kind is outside the format. In the simply
    // supported plate the first element's kind byte follows the settings (190),
    // one material (4 + 4 + 10 + 92), 25 knots (4 + 25 x 30), 16 supports
    // (4 + 16 x 14), no point load, the two empty lists and the element count.
    auto b = ExampleBytes("plate_simply_supported.tps");
    const std::size_t kindAt = 190 + 110 + 754 + 228 + 4 + 4 + 4 + 4;
    ASSERT_EQ(b.at(kindAt), CodeByte(ElementKind::Shell));
    b[kindAt] = 7;
    bad.push_back(b);
  }
  for (const auto& bytes : bad) {
    EXPECT_ANY_THROW(v.Project.LoadProjectBytes(bytes, "/tmp/damaged.tps"));
    EXPECT_EQ(v.Project.FileName(), "plate_simply_supported.tps");
    EXPECT_EQ(v.Project.Knots().Count(), 25);
    EXPECT_EQ(v.Project.LoadVector(), results);
    EXPECT_EQ(v.Project.IsoParams(), iso);
    EXPECT_EQ(v.Project.KnotAt(12)->ValueOf(nullptr), knotValue);
    EXPECT_TRUE(v.Project.IsoVisible());
  }
  EXPECT_EQ(v.Hooks.Windows.size(), 1u);
}

TEST(ViewerProjectLoad, RefusedFilesSayWhy) {
  Viewer v;
  auto sig = ExampleBytes("plate_clamped.tps");
  testing::PutInt32(sig, 0, 2);
  try {
    v.Project.LoadProjectBytes(sig, "x.tps");
    ADD_FAILURE() << "accepted";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Формат файла не соответствует проекту!");
  }
  auto kind = ExampleBytes("plate_simply_supported.tps");
  kind.at(190 + 110 + 754 + 228 + 4 + 4 + 4 + 4) = 7;
  try {
    v.Project.LoadProjectBytes(kind, "x.tps");
    ADD_FAILURE() << "accepted";
  } catch (const FormatError& e) {
    EXPECT_NE(std::string(e.what()).find("7"), std::string::npos) << e.what();
  }
  EXPECT_EQ(v.Project.FileName(), "");
  EXPECT_TRUE(v.Hooks.Windows.empty());
  EXPECT_FALSE(v.Project.FirstWindow().has_value());
}

// The knot values of a quantity at knot (ix, iy) of a 4 x 4 grid (row by row).
Extended GridValue(const TViewerProject& p, int ix, int iy) { return p.KnotAt(iy * 5 + ix)->ValueOf(nullptr); }

TEST(ViewerProjectStatic, SymmetricPlateGivesSymmetricKnotValues) {
  Viewer v;
  v.Open("plate_simply_supported.tps");
  RecordingStatus status;
  ASSERT_TRUE(v.Project.StaticCalculate(status));
  v.Project.SetIsoKind(ResultKind::Wz);
  ASSERT_TRUE(v.Project.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  const Extended centre = GridValue(v.Project, 2, 2);
  // Navier's series gives w = 0.00406 q L⁴ / D at the centre; the 4 x 4 mesh is close.
  const Extended d = 2.06e6L * 0.001L / (12 * (1 - 0.09L));
  EXPECT_NEAR(centre, -0.00406L * 16 / d, 0.1L * 0.00406L * 16 / d);
  for (int iy = 0; iy <= 4; ++iy) {
    for (int ix = 0; ix <= 4; ++ix) {
      const Extended w = GridValue(v.Project, ix, iy);
      const Extended tol = 1e-9L * std::fabs(centre);
      EXPECT_NEAR(w, GridValue(v.Project, 4 - ix, iy), tol);
      EXPECT_NEAR(w, GridValue(v.Project, ix, 4 - iy), tol);
      EXPECT_NEAR(w, GridValue(v.Project, iy, ix), tol);
    }
  }
  EXPECT_EQ(GridValue(v.Project, 0, 3), 0);  // supported edge
}

TEST(ViewerProjectStatic, FailedSolveReportsTheKnotAndLeavesNoResults) {
  Viewer v;
  v.Open("plate_simply_supported.tps");
  RecordingStatus first;
  ASSERT_TRUE(v.Project.StaticCalculate(first));
  v.Project.SetIsoKind(ResultKind::Wz);
  ASSERT_TRUE(v.Project.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  ASSERT_TRUE(v.Project.IsoVisible());

  // Without supports the plate is a mechanism.
  while (v.Project.Supports().Count() > 0) v.Project.Supports().Delete(0);
  RecordingStatus status;
  EXPECT_FALSE(v.Project.StaticCalculate(status));
  EXPECT_EQ(status.Shown, 1);
  EXPECT_EQ(status.Hidden, 1);
  EXPECT_FALSE(status.Visible);
  ASSERT_EQ(v.Messages.Shown.size(), 1u);
  EXPECT_EQ(v.Messages.Shown[0].Kind, MsgKind::Error);
  EXPECT_EQ(v.Messages.Shown[0].Caption, "Ошибка");
  // The free plate's rigid membrane motion shows at the last pivots.
  EXPECT_EQ(v.Messages.Shown[0].Text, "Система уравнений вырождена: узел 23, степень свободы 1.");
  EXPECT_FALSE(v.Project.HasResults());
  EXPECT_FALSE(v.Project.IsoVisible());
  EXPECT_FALSE(v.Project.PreparedKey().has_value());
  EXPECT_FALSE(v.Project.PrepareIsoLines(-1, Fibre::Upper, nullptr));
  EXPECT_FALSE(v.Project.EnsureIsoValues());
  for (const auto& k : v.Project.Knots().Items()) EXPECT_EQ(AsResultKnot(k.get())->ValueCount(), 0);
  EXPECT_EQ(v.Hooks.AllRepaints, 2);
}

TEST(ViewerProjectStatic, ModelsTheAnalysisRefusesGetAMessageBeforeAnything) {
  struct Case {
    const char* Name;
    std::function<void(TVelEditorProject&)> Build;
    std::string Message;
  };
  const std::vector<Case> cases = {
      {"plates only",
       [](TVelEditorProject& p) {
         auto* a = p.Knots().AddKnot(0, 0, 0);
         auto* b = p.Knots().AddKnot(1, 0, 0);
         auto* c = p.Knots().AddKnot(0, 1, 0);
         auto plate = p.Factory()->MakePlate(ElementType::Triangle, p.Materials().Material(0));
         plate->Knots = {a, b, c};
         p.Elements().Add(std::move(plate));
       },
       kNoShellsText},
      {"knots only", [](TVelEditorProject& p) { p.Knots().AddKnot(0, 0, 0); }, kNoShellsText},
      {"shell of zero thickness",
       [](TVelEditorProject& p) {
         examples::BuildGrid(p, 1, 1, 1, 1, [](TGeometricElement& l, int, int) { l.Layer(0)->SetThickness(0); });
       },
       ""},
  };
  for (const auto& c : cases) {
    testing::EditorState e;
    c.Build(e.Project);
    const auto bytes = examples::SaveWithWindow(e, 1, 1);
    Viewer v;
    ASSERT_TRUE(v.Project.LoadProjectBytes(bytes, "x.tps")) << c.Name;
    RecordingStatus status;
    EXPECT_FALSE(v.Project.StaticCalculate(status)) << c.Name;
    EXPECT_EQ(status.Shown, 0) << c.Name;
    ASSERT_EQ(v.Messages.Shown.size(), 1u) << c.Name;
    EXPECT_EQ(v.Messages.Shown[0].Caption, "Ошибка") << c.Name;
    if (!c.Message.empty()) {
      EXPECT_EQ(v.Messages.Shown[0].Text, c.Message) << c.Name;
    }
    EXPECT_FALSE(v.Messages.Shown[0].Text.empty());
    EXPECT_FALSE(v.Project.HasResults());
  }
}

// While a computation pumps events no command may start another one, open a file
// or free the model.
TEST(ViewerProjectStatic, BusyProjectRefusesCommandsFromInsideAPump) {
  Viewer v;
  v.Open("plate_clamped.tps");
  const auto other = ExampleBytes("shell_spherical.tps");
  RecordingStatus status;
  int tried = 0;
  status.OnPump = [&] {
    EXPECT_TRUE(v.Project.IsBusy());
    RecordingStatus inner;
    viewertest::ScriptedAdaptDialog dialog;
    EXPECT_FALSE(v.Project.LoadProjectBytes(other, "other.tps"));
    EXPECT_FALSE(v.Project.LoadProjectFile(examples::ExamplePath("shell_spherical.tps")));
    EXPECT_FALSE(v.Project.Clear());
    EXPECT_FALSE(v.Project.StaticCalculate(inner));
    EXPECT_FALSE(v.Project.Adaptation(dialog, inner));
    EXPECT_EQ(inner.Shown, 0);
    ++tried;
  };
  ASSERT_TRUE(v.Project.StaticCalculate(status));
  EXPECT_GE(tried, 4);
  EXPECT_FALSE(v.Project.IsBusy());
  EXPECT_EQ(v.Project.FileName(), "plate_clamped.tps");
  EXPECT_TRUE(v.Project.HasResults());
  EXPECT_TRUE(v.Project.Clear());
}

TEST(ViewerProjectStatic, ClearEmptiesModelAndResults) {
  Viewer v;
  v.Open("shell_two_materials.tps");
  RecordingStatus status;
  ASSERT_TRUE(v.Project.StaticCalculate(status));
  v.Project.SetLayer(1);
  ASSERT_TRUE(v.Project.Clear());
  EXPECT_EQ(v.Project.Knots().Count(), 0);
  EXPECT_EQ(v.Project.Elements().Count(), 0);
  EXPECT_EQ(v.Project.Materials().Count(), 0);
  EXPECT_EQ(v.Project.Supports().Count(), 0);
  EXPECT_FALSE(v.Project.HasResults());
  EXPECT_EQ(v.Project.Layer(), -1);
  EXPECT_EQ(v.Project.DataState(), kDataNone);
  EXPECT_EQ(v.Hooks.Actions.back(), kViewerModeAction);
  EXPECT_EQ(v.Hooks.Cleared, 2);  // the open and the Clear
}

}  // namespace
}  // namespace tavir
