#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/binstream.h"
#include "platform/cp1251.h"
#include "platform/wmf_reader.h"
#include "viewer/result_strip.h"
#include "viewer/view_export.h"
#include "viewer/viewer_fixture.h"
#include "viewer/viewer_scene.h"
#include "wmf2svg.h"
#include "fakes/scripted_messages.h"
#include "scratch_folder.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;
using testing_viewer::ResultStrip;
using testing_viewer::StripScene;
using testing_wmf::ReadWmf;

bool Contains(const std::vector<std::uint8_t>& bytes, const std::string& what) {
  return std::search(bytes.begin(), bytes.end(), what.begin(), what.end()) != bytes.end();
}

std::size_t Occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

struct TempDir {
  ScratchFolder Folder{"tavir-export"};
  fs::path Path = Folder.Path();
  std::string operator/(const std::string& name) const { return (Path / name).string(); }
};

std::string ReadText(const std::string& path) {
  const auto b = ReadWholeFile(path);
  return std::string(b.begin(), b.end());
}

TEST(ViewExport, MetafileNames) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (const Case& c : {Case{"view.bmp", "view.wmf"}, Case{"view", "view.wmf"}, Case{"view.emf", "view.wmf"},
                        Case{"view.wmf", "view.wmf"}, Case{"dir.v1/view", "dir.v1/view.wmf"},
                        Case{"dir.v1/view.x.png", "dir.v1/view.x.wmf"}, Case{"view.", "view.wmf"},
                        Case{"C:\\dir.x\\pic", "C:\\dir.x\\pic.wmf"}, Case{"v.1.wmf", "v.1.wmf"}})
    EXPECT_EQ(MetafileName(c.in), c.out) << c.in;
}

// A 300 x 300 plan of three shells with a value rising along Y and two labelled levels.
struct Export : ::testing::Test {
  ResultStrip strip{3, 1};
  StripScene scene{strip};
  TGraphWindows windows{{0, 0}};
  ScriptedMessages messages;
  TempDir dir;

  void SetUp() override {
    windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 3, 0));
    windows.Items(0).Grid().ShowGrid = 0;
    strip.SetField([](Extended, Extended y) { return y; });
    scene.Levels = {0.25L, 0.5L};
  }
};

TEST_F(Export, APlanViewIsAValidPlaceableMetafileOfWhatTheScreenShows) {
  DrawFailures failures;
  const auto bytes = RenderViewMetafile(windows.Items(0), scene, failures);
  EXPECT_EQ(failures.Count(), 0);
  const auto wmf = ReadWmf(bytes);
  ASSERT_EQ(wmf.Error, "");
  EXPECT_EQ(wmf.Right - wmf.Left, 300);
  EXPECT_EQ(wmf.Bottom - wmf.Top, 300);
  EXPECT_EQ(wmf.Count(wmf::kPolygon), 3u);    // the shells
  EXPECT_EQ(wmf.Count(wmf::kRectangle), 1u);  // the background
  EXPECT_EQ(wmf.Count(wmf::kTextOut), 2u);    // one merged label per level
  EXPECT_TRUE(Contains(bytes, *Utf8ToCp1251(IsoLabelText(0.25L))));
  EXPECT_TRUE(Contains(bytes, *Utf8ToCp1251(IsoLabelText(0.5L))));
  // The isolines are drawn once: 3 shells x 2 levels x 3 segments (a horizontal
  // level crosses three of the four triangles).
  EXPECT_EQ(scene.PlanCount, 1);
  EXPECT_EQ(wmf.Count(wmf::kLineTo), 18u);
}

TEST_F(Export, TheExportedViewGetsItsOwnScreenPointsFirst) {
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::XY, FloatPoint(0.02L, 0.02L), FloatPoint3D(3, 3, 0));
  TGraphWindow& small = windows.Items(1);
  ASSERT_EQ(small.Width(), 150);
  scene.UpdateScreen(windows.Items(0));  // the screen shows view 0
  scene.Levels.clear();
  DrawFailures failures;
  const auto wmf = ReadWmf(RenderViewMetafile(small, scene, failures));
  ASSERT_EQ(wmf.Error, "");
  EXPECT_EQ(scene.LastUpdated, &small);
  const auto polys = wmf.Of(wmf::kPolygon);
  ASSERT_EQ(polys.size(), 3u);
  // Shell 2: knots (2, 0), (2, 1), (3, 1), (3, 0) at 50 pixels a unit, y from 150.
  const auto& p = polys[2];
  ASSERT_EQ(p.Word(0), 4);
  EXPECT_EQ(p.Int(1), 100);
  EXPECT_EQ(p.Int(2), 150);
  EXPECT_EQ(p.Int(5), 150);
  EXPECT_EQ(p.Int(6), 100);
}

TEST_F(Export, AThreeDimensionalViewExportsItsBackgroundOnly) {
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::Spatial, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 3, 3));
  DrawFailures failures;
  const auto wmf = ReadWmf(RenderViewMetafile(windows.Items(1), scene, failures));
  ASSERT_EQ(wmf.Error, "");
  EXPECT_EQ(wmf.Count(wmf::kRectangle), 1u);
  EXPECT_EQ(wmf.Count(wmf::kPolygon), 0u);
  EXPECT_EQ(wmf.Count(wmf::kLineTo), 0u);
  EXPECT_EQ(wmf.Count(wmf::kTextOut), 0u);
  EXPECT_EQ(scene.PlanCount + scene.SectionCount + scene.UpdateCount, 0);
}

TEST_F(Export, ASectionViewExportsTheDiagramsOfTheCutShells) {
  scene.Line.SetByPoints(FloatPoint(1.5L, 0), FloatPoint(1.5L, 1));
  windows.AddWindow(FloatPoint3D(0, 0, -1), 0xFFFFFF, Projection::XZ, FloatPoint(0.01L, 0.01L), FloatPoint3D(3, 3, 1));
  DrawFailures failures;
  const auto wmf = ReadWmf(RenderViewMetafile(windows.Items(1), scene, failures));
  ASSERT_EQ(wmf.Error, "");
  EXPECT_EQ(wmf.Count(wmf::kPolygon), 1u);
  EXPECT_EQ(scene.PlanCount, 0);
}

TEST_F(Export, WritesUnderTheForcedNameAndAsksBeforeReplacingAnotherFile) {
  const std::string confirmed = dir / "picture.bmp";
  const std::string target = dir / "picture.wmf";
  WriteFileAtomic(target, {'o', 'l', 'd', '!'});
  messages.Answers = {MsgResult::Cancel};
  EXPECT_EQ(ExportCurrentView(confirmed, windows, scene, messages), ExportResult::Cancelled);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Question);
  EXPECT_EQ(messages.Shown[0].Buttons, MsgButtons::OkCancel);
  EXPECT_NE(messages.Shown[0].Text.find(target), std::string::npos);
  EXPECT_EQ(ReadText(target), "old!");
  EXPECT_FALSE(fs::exists(confirmed));

  messages.Answers = {MsgResult::Ok};
  EXPECT_EQ(ExportCurrentView(confirmed, windows, scene, messages), ExportResult::Written);
  EXPECT_EQ(ReadWmf(ReadWholeFile(target)).Error, "");
  EXPECT_FALSE(fs::exists(confirmed));
  // The name the dialog confirmed itself is not asked about again.
  messages.Shown.clear();
  EXPECT_EQ(ExportCurrentView(target, windows, scene, messages), ExportResult::Written);
  EXPECT_TRUE(messages.Shown.empty());
  // A name without an extension gets one; nothing there yet, nothing asked.
  EXPECT_EQ(ExportCurrentView(dir / "fresh", windows, scene, messages), ExportResult::Written);
  EXPECT_TRUE(fs::exists(dir / "fresh.wmf"));
  EXPECT_TRUE(messages.Shown.empty());
  // Only the file itself is left: the temporary file is gone.
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir.Path)) files += e.is_regular_file();
  EXPECT_EQ(files, 2u);
}

TEST_F(Export, TheDialogProposesTheExtensionThatIsWritten) {
  EXPECT_STREQ(kExportDefaultExtension, "wmf");
  EXPECT_STREQ(kExportDialogTitle, "Экспорт в файл");
  // The user typed "picture"; the dialog appended its default extension and asked
  // about the file it found. The export writes exactly that file and asks nothing more.
  const std::string confirmed = dir / (std::string("picture.") + kExportDefaultExtension);
  WriteFileAtomic(confirmed, {'o', 'l', 'd', '!'});
  EXPECT_EQ(MetafileName(confirmed), confirmed);
  EXPECT_EQ(ExportCurrentView(confirmed, windows, scene, messages), ExportResult::Written);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(ReadWmf(ReadWholeFile(confirmed)).Error, "");
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(dir.Path)) files += e.is_regular_file();
  EXPECT_EQ(files, 1u);
}

TEST_F(Export, FailuresAreReportedAndNothingWithoutAView) {
  EXPECT_EQ(ExportCurrentView(dir / "missing/folder/x", windows, scene, messages), ExportResult::Failed);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Error);

  // A failing element: the picture is written without it and the failure told once.
  messages.Shown.clear();
  for (auto* k : strip.Shell(1, 0).Knots) static_cast<TResultKnot*>(k)->ClearValues();
  for (auto* k : strip.Shell(0, 0).Knots) static_cast<TResultKnot*>(k)->ClearValues();
  EXPECT_EQ(ExportCurrentView(dir / "partial", windows, scene, messages), ExportResult::Written);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Узел не имеет типа элемента в списке!");
  EXPECT_EQ(ReadWmf(ReadWholeFile(dir / "partial.wmf")).Error, "");

  TGraphWindows none({0, 0});
  messages.Shown.clear();
  EXPECT_EQ(ExportCurrentView(dir / "nothing", none, scene, messages), ExportResult::NoView);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_FALSE(fs::exists(dir / "nothing.wmf"));
}

TEST_F(Export, AnIndependentReaderRendersTheExportedView) {
  const std::string wmfPath = dir / "view";
  ASSERT_EQ(ExportCurrentView(wmfPath, windows, scene, messages), ExportResult::Written);
  const std::string svg = testing::Wmf2Svg(dir / "view.wmf");
  ASSERT_FALSE(svg.empty());
  EXPECT_EQ(Occurrences(svg, "<polygon"), 3u) << svg;
  EXPECT_EQ(Occurrences(svg, "<text"), 2u);
  // The reader passes the text bytes through: the labels arrive in CP1251.
  EXPECT_EQ(Occurrences(svg, *Utf8ToCp1251(IsoLabelText(0.25L))), 1u) << svg;
  EXPECT_EQ(Occurrences(svg, *Utf8ToCp1251(IsoLabelText(0.5L))), 1u);
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

// The section view of the two-material shell: the section box is 4 wide and a few
// centimetres high, so the fit to a 1024 x 768 screen makes it 57,600 pixels wide.
struct WideSection : ::testing::Test {
  ScriptedMessages messages;
  TViewerProject project{messages};
  TGraphWindows windows{{1024, 768}};
  ViewerScene scene{project, windows};
  TempDir dir;
  int section = -1;

  void SetUp() override {
    ASSERT_TRUE(project.LoadProjectBytes(viewertest::ExampleBytes("shell_two_materials.tps"), "s.tps"));
    windows.LoadFromWindowData(*project.FirstWindow());
    scene.UpdateScreen(windows.Items(0));
    scene.Line.SetByPoints(FloatPoint(0, 0.5L), FloatPoint(4, 0.5L));
    section = scene.CreateSectionWindow(windows.Items(0));
    ASSERT_EQ(section, 1);
  }
};

TEST_F(WideSection, TheWholeViewIsExportedScaledIntoSixteenBits) {
  const TGraphWindow& view = windows.Items(section);
  ASSERT_EQ(view.Width(), 57600);
  DrawFailures failures;
  const auto wmf = ReadWmf(RenderViewMetafile(view, scene, failures));
  ASSERT_EQ(wmf.Error, "");
  EXPECT_EQ(failures.Count(), 0) << failures.First();
  // Same paper size: 57,600 pixels at 96 an inch, now 32,400 units at 54 an inch.
  EXPECT_EQ(wmf.Inch, 54);
  EXPECT_EQ(wmf.Right, 32400);
  EXPECT_EQ(wmf.Right * 96 / wmf.Inch, view.Width());
  EXPECT_EQ((wmf.Bottom * 96 + wmf.Inch / 2) / wmf.Inch, view.Height());
  // The four cut shells, one diagram each, side by side: the box runs from x = -1
  // to 5 at 9,600 pixels (5,400 units) a metre, and the shells past x = 2.4 are
  // where they belong, not squeezed onto the 16-bit edge.
  const auto polys = wmf.Of(wmf::kPolygon);
  ASSERT_EQ(polys.size(), 4u);
  for (std::size_t i = 0; i < polys.size(); ++i) {
    int lo = 32767, hi = -32768;
    for (std::size_t p = 0; p < polys[i].Word(0); ++p) {
      lo = std::min<int>(lo, polys[i].Int(1 + 2 * p));
      hi = std::max<int>(hi, polys[i].Int(1 + 2 * p));
    }
    EXPECT_EQ(lo, static_cast<int>(5400 * (i + 1))) << i;
    EXPECT_EQ(hi, static_cast<int>(5400 * (i + 2))) << i;
  }
}

TEST_F(WideSection, AnIndependentReaderSeesTheWholeSection) {
  windows.SetCurrent(section);
  ASSERT_EQ(ExportCurrentView(dir / "section", windows, scene, messages), ExportResult::Written);
  EXPECT_TRUE(messages.Shown.empty());
  const std::string svg = testing::Wmf2Svg(dir / "section.wmf");
  ASSERT_FALSE(svg.empty());
  EXPECT_EQ(Occurrences(svg, "<polygon"), 4u) << svg.substr(0, 2000);
}

}  // namespace
}  // namespace tavir
