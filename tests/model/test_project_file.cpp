#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "model/project_file.h"
#include "model/project_file_fixture.h"
#include "platform/cp1251.h"
#include "platform/extended.h"
#include "platform/recording_canvas.h"
#include "fakes/scripted_model_ui.h"
#include "scratch_folder.h"

namespace tavir {
namespace {

using namespace testing;
namespace fs = std::filesystem;

Extended ExtAt(const std::vector<std::uint8_t>& b, std::size_t off) {
  EXPECT_LE(off + kExtendedBytes, b.size());
  return DecodeExtended(b.data() + off);
}

std::vector<std::uint8_t> Encoded(Extended v) {
  std::vector<std::uint8_t> out(kExtendedBytes);
  EncodeExtended(v, out.data());
  return out;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& b, std::size_t off, std::size_t n) {
  return std::vector<std::uint8_t>(b.begin() + static_cast<std::ptrdiff_t>(off),
                                   b.begin() + static_cast<std::ptrdiff_t>(off + n));
}

std::string StringAt(const std::vector<std::uint8_t>& b, std::size_t off) {
  const std::int32_t n = Int32At(b, off);
  return Cp1251ToUtf8(std::string(reinterpret_cast<const char*>(b.data() + off + 4), static_cast<std::size_t>(n)));
}

// A scratch folder of its own for each test.
class ProjectFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  ScratchFolder folder_{"tavir-project-file"};
  fs::path dir_ = folder_.Path();
};

TEST(ProjectFileLayout, EveryFieldSitsAtItsOffset) {
  auto e = SampleEditor();
  const std::vector<std::uint8_t> b = e->Save();
  ASSERT_EQ(b.size(), sample::kSize);

  // Signature and settings block.
  EXPECT_EQ(Int32At(b, 0), 1);
  EXPECT_EQ(b[4], 0xA1);
  EXPECT_EQ(b[5], 0xB2);
  EXPECT_EQ(Int32At(b, 6), 0x01020304);
  EXPECT_EQ(Int32At(b, 10), 1);  // the current window as held
  EXPECT_EQ(b[14], 0);           // the options' placeholder
  EXPECT_EQ(b[15], 1);
  EXPECT_EQ(b[16], 3);
  EXPECT_EQ(b[17], 2);
  EXPECT_EQ(ExtAt(b, 18), 0.001L);
  EXPECT_EQ(ExtAt(b, 28), 0.5L);
  EXPECT_EQ(ExtAt(b, 38), 0.25L);
  EXPECT_EQ(ExtAt(b, 48), 1);
  EXPECT_EQ(Slice(b, 58, 10), (std::vector<std::uint8_t>{3, 0, 0, 0, 4, 0, 0, 0, 5, 0}));
  EXPECT_EQ(Slice(b, 68, 10), (std::vector<std::uint8_t>{4, 0, 0, 0, 5, 0, 0, 0, 0xFF, 0}));
  EXPECT_EQ(Slice(b, 78, 10), (std::vector<std::uint8_t>{5, 0, 0, 0, 0xFF, 0, 0, 0, 2, 1}));
  EXPECT_EQ(Slice(b, 88, 8), (std::vector<std::uint8_t>{0xFF, 0, 0, 0, 2, 1, 1, 0}));
  EXPECT_EQ(ExtAt(b, 96), -1);
  EXPECT_EQ(ExtAt(b, 106), -1);
  EXPECT_EQ(ExtAt(b, 116), -5);
  EXPECT_EQ(ExtAt(b, 126), 4);
  EXPECT_EQ(ExtAt(b, 136), 2);
  EXPECT_EQ(ExtAt(b, 146), 5);
  EXPECT_EQ(b[156], 3);
  EXPECT_EQ(Slice(b, 157, 6), (std::vector<std::uint8_t>{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(b[163], 0);
  EXPECT_EQ(Int32At(b, 164), 1);
  EXPECT_EQ(Slice(b, 168, 4), Slice(Encoded(-7.5L), 0, 4));
  EXPECT_EQ(Slice(b, 172, 4), Slice(Encoded(3.25L), 0, 4));
  EXPECT_EQ(Int32At(b, 176), 0x11223344);
  EXPECT_EQ(Int32At(b, 180), -2);
  EXPECT_EQ(b[184], 0);
  EXPECT_EQ(Int32At(b, 185), 1);
  EXPECT_EQ(b[189], 0);

  // Materials: names in CP1251, then the 92-byte record in file order.
  using namespace sample;
  EXPECT_EQ(Int32At(b, kMaterials), 2);
  EXPECT_EQ(Int32At(b, kFirstMaterialName), 10);
  EXPECT_EQ(StringAt(b, kFirstMaterialName), "Сталь С300");
  EXPECT_EQ(b[kFirstMaterialName + 4], 0xD1);  // 'С' in code page 1251
  EXPECT_EQ(ExtAt(b, kFirstMaterialRecord), 2.06e6L);
  EXPECT_EQ(ExtAt(b, kFirstMaterialRecord + 10), 0.3L);
  EXPECT_EQ(ExtAt(b, kFirstMaterialRecord + 20), 7.8e3L);
  EXPECT_EQ(ExtAt(b, kFirstMaterialRecord + 30), 2.4e5L);
  EXPECT_EQ(ExtAt(b, kFirstMaterialRecord + 50), 2e3L);
  EXPECT_EQ(Int32At(b, kSecondMaterial), 9);
  EXPECT_EQ(StringAt(b, kSecondMaterial), "Бетон В25");
  const std::size_t concrete = kSecondMaterial + 4 + 9;
  EXPECT_EQ(ExtAt(b, concrete), 3.0e6L);
  EXPECT_EQ(ExtAt(b, concrete + 10), 0.2L);
  EXPECT_EQ(ExtAt(b, concrete + 40), 45);  // Fi
  EXPECT_EQ(b[concrete + 60], 1);          // power-law diagram
  EXPECT_EQ(b[concrete + 91], 0);          // the reserved last byte

  // Knots: X, Y, Z; the heights come from the paraboloid at save time.
  EXPECT_EQ(Int32At(b, kKnots), 5);
  EXPECT_EQ(ExtAt(b, kKnots + 4 + 2 * 30), 2);
  EXPECT_EQ(ExtAt(b, kKnots + 4 + 2 * 30 + 10), 1);
  EXPECT_EQ(ExtAt(b, kKnots + 4 + 4 * 30), 3);
  EXPECT_EQ(ExtAt(b, kKnots + 4 + 4 * 30 + 20), 0);

  // Supports: knot, fixation, direction.
  EXPECT_EQ(Int32At(b, kSupports), 2);
  EXPECT_EQ(Int32At(b, kSupports + 4), 0);
  EXPECT_EQ(Slice(b, kSupports + 8, 6), (std::vector<std::uint8_t>{1, 1, 1, 0, 0, 0}));
  EXPECT_EQ(Int32At(b, kSupports + 14), 1);
  EXPECT_EQ(Int32At(b, kSupports + 18), 4);
  EXPECT_EQ(Int32At(b, kSupports + 28), 0);

  // Concentrated load: force record, knot.
  EXPECT_EQ(Int32At(b, kConcForces), 1);
  EXPECT_EQ(ExtAt(b, kConcForces + 4 + 20), -10);
  EXPECT_EQ(ExtAt(b, kConcForces + 4 + 30), 1.5L);
  EXPECT_EQ(Int32At(b, kConcForces + 4 + 60), 2);
  EXPECT_EQ(Int32At(b, kPliants), 0);
  EXPECT_EQ(Int32At(b, kHardlesses), 0);

  // Elements: the shell, then the plate.
  EXPECT_EQ(Int32At(b, kElements), 2);
  EXPECT_EQ(b[kShell], 5);
  EXPECT_EQ(b[kShell + 1], 1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Int32At(b, kShell + 2 + 4 * i), i);
  EXPECT_EQ(Int32At(b, kShellStack), 2);
  EXPECT_EQ(static_cast<std::uint32_t>(Int32At(b, kShellStack + 4)), 0x00FF00u);
  EXPECT_EQ(b[kShellStack + 8], 6);  // cross
  EXPECT_EQ(StringAt(b, kShellLayer0), "Тело пластины");
  EXPECT_EQ(ExtAt(b, kShellLayer0 + 17), 0.05L);
  EXPECT_EQ(Int32At(b, kShellLayer0 + 17 + 21), 0);  // steel
  EXPECT_EQ(static_cast<std::uint32_t>(Int32At(b, kShellLayer0 + 17 + 25)), 0x8000u);
  EXPECT_EQ(StringAt(b, kShellLayer1), "Слой бетона");
  EXPECT_EQ(ExtAt(b, kShellLayer1 + 15), 0.1L);
  EXPECT_EQ(Int32At(b, kShellLayer1 + 15 + 21), 1);  // concrete
  EXPECT_EQ(ExtAt(b, kShellCurvatures), e->Project.ShellFuncs().At(0)->Kx);
  EXPECT_EQ(ExtAt(b, kShellCurvatures + 10), e->Project.ShellFuncs().At(0)->Ky);
  EXPECT_NE(ExtAt(b, kShellCurvatures), 0);
  EXPECT_EQ(ExtAt(b, kShellCurvatures + 20), 0);
  EXPECT_EQ(b[kPlate], 0);
  EXPECT_EQ(b[kPlate + 1], 0);
  EXPECT_EQ(Int32At(b, kPlate + 2), 3);
  EXPECT_EQ(Int32At(b, kPlate + 6), 4);
  EXPECT_EQ(Int32At(b, kPlate + 10), 2);
  EXPECT_EQ(Int32At(b, kPlate + 14), 1);  // one layer
  EXPECT_EQ(Int32At(b, kPlateLayerMaterial), 1);

  // Distributed load: force record, element, the two options.
  EXPECT_EQ(Int32At(b, kDispForces), 1);
  EXPECT_EQ(ExtAt(b, kDispForces + 4 + 20), -2);
  EXPECT_EQ(Int32At(b, kDispForces + 4 + 60), 1);
  EXPECT_EQ(b[kDispForces + 4 + 64], 1);
  EXPECT_EQ(b[kDispForces + 4 + 65], 2);

  // Surfaces: kind, then the kind's record (kind again, flag, parameters, plane,
  // origin, contour colour).
  EXPECT_EQ(Int32At(b, kShells), 2);
  EXPECT_EQ(Int16At(b, kParaboloid), 0);
  EXPECT_EQ(Int16At(b, kParaboloid + 2), 0);
  EXPECT_EQ(b[kParaboloid + 4], 0);
  EXPECT_EQ(Int32At(b, kParaboloidCount), 4);
  EXPECT_EQ(ExtAt(b, kParaboloidCount + 4), 2);
  EXPECT_EQ(ExtAt(b, kParaboloidCount + 4 + 30), 0.05L);
  EXPECT_EQ(b[kParaboloidCount + 44], 0);
  EXPECT_EQ(Int32At(b, kParaboloidCount + 45 + 48), 255);
  EXPECT_EQ(Int16At(b, kSphere), 3);
  EXPECT_EQ(Int16At(b, kSphere + 2), 3);
  EXPECT_EQ(Int32At(b, kSphere + 5), 3);
  EXPECT_EQ(ExtAt(b, kSphere + 9), 4);
  EXPECT_EQ(ExtAt(b, kSphere + 19), 0.5L);
  EXPECT_EQ(ExtAt(b, kSphereOrigin), 10);
  EXPECT_EQ(Slice(b, kSphereOrigin + 10, 6), std::vector<std::uint8_t>(6, 0));  // new points pad with zeros
  EXPECT_EQ(ExtAt(b, kSphereOrigin + 16), 10);

  // Windows: count, then 223-byte records.
  EXPECT_EQ(Int32At(b, kWindows), 2);
  EXPECT_EQ(ExtAt(b, kWindow0 + 68), 4);        // MaxPoint.X
  EXPECT_EQ(ExtAt(b, kWindow0 + 116 + 32), -5);  // MinPoint.Z
  EXPECT_EQ(b[kWindow0 + 196], 0);
  EXPECT_EQ(Int32At(b, kWindow0 + 197), 1024);
  EXPECT_EQ(Int32At(b, kWindow0 + 205), 0);
  EXPECT_EQ(static_cast<std::uint32_t>(Int32At(b, kWindow0 + 209)), 0xFFFFFFu);
  EXPECT_EQ(b[kWindow1 + 196], 2);
  EXPECT_EQ(Int32At(b, kWindow1 + 205), 1);
  EXPECT_EQ(static_cast<std::uint32_t>(Int32At(b, kWindow1 + 209)), 0xC0C0C0u);
  EXPECT_EQ(b[kClosingByte], 0);
}

TEST(ProjectFileLayout, ReopenedSampleSavesTheSameBytes) {
  auto e = SampleEditor();
  std::vector<std::uint8_t> b = e->Save();
  auto back = SampleEditor();
  back->Project.Clear();
  back->Open(b, "/tmp/sample.tps");
  // Opening makes window 0 current; everything else comes back byte for byte.
  PutInt32(b, 10, 0);
  EXPECT_EQ(back->Save(), b);
  EXPECT_EQ(back->Supervisor.CurrentWindow, 0);
  EXPECT_EQ(back->Supervisor.WindowCount, 2);
  EXPECT_EQ(back->Windows.Count(), 2);
  EXPECT_EQ(back->Project.FileName(), "/tmp/sample.tps");
  // Two materials, each with its own name.
  ASSERT_EQ(back->Project.Materials().Count(), 2);
  EXPECT_EQ(back->Project.Materials().Name(0), "Сталь С300");
  EXPECT_EQ(back->Project.Materials().Name(1), "Бетон В25");
  // References are rebuilt into the new lists.
  const TVelEditorProject& p = back->Project;
  EXPECT_EQ(p.Elements().At(0)->Knots[3], p.Knots().At(3));
  EXPECT_EQ(p.Elements().At(1)->Layers.LayerMaterial(0), p.Materials().Material(1));
  EXPECT_EQ(p.Supports().At(1)->Knot, p.Knots().At(4));
  EXPECT_EQ(p.DispForces().At(0)->Element, p.Elements().At(1));
  // The reopened file opens again to the same bytes.
  auto third = SampleEditor();
  third->Open(b);
  EXPECT_EQ(third->Save(), b);
}

TEST(ProjectFileLayout, PaddingAndReservedBytesFromAFileAreKept) {
  auto e = SampleEditor();
  e->Supervisor.SetCurrentWindow(0);
  std::vector<std::uint8_t> b = e->Save();
  using namespace sample;
  auto fill = [&](std::size_t off, std::size_t n, std::uint8_t seed) {
    for (std::size_t i = 0; i < n; ++i) b.at(off + i) = static_cast<std::uint8_t>(seed + i);
  };
  b.at(kFirstMaterialRecord + 91) = 0x5A;  // the material's reserved byte
  b.at(kParaboloid + 4) = 0x77;            // the surface's flag
  fill(kSphereOrigin + 10, 6, 0x10);       // sphere origin X padding
  fill(kSphereOrigin + 42, 6, 0x20);       // sphere origin Z padding
  fill(kParaboloidCount + 45 + 26, 6, 0x30);  // paraboloid origin Y padding
  fill(kWindow0 + 68 + 10, 6, 0x40);       // MaxPoint.X padding
  fill(kWindow0 + 116 + 26, 6, 0x50);      // MinPoint.Y padding
  fill(kWindow1 + 164 + 10, 6, 0x60);      // Scale.X padding
  fill(kWindow1 + 164 + 26, 6, 0x70);      // Scale.Y padding
  fill(kWindow0 + 213, 10, 0x80);          // window reserved bytes
  fill(kWindow1 + 213, 10, 0x90);
  auto back = SampleEditor();
  back->Open(b);
  EXPECT_EQ(back->Save(), b);
  EXPECT_EQ(back->Project.Materials().Material(0)->Reserved, 0x5A);
}

TEST(ProjectFileLayout, ShellSurfaceMadeByTheEditorStoresFourParameters) {
  TVelEditorProject p;
  p.ShellFuncs().Add(std::make_unique<TEditorShellEP>());
  BinaryWriter w;
  p.ShellFuncs().SaveToStream(w);
  const std::vector<std::uint8_t>& b = w.Bytes();
  EXPECT_EQ(Int32At(b, 0), 1);
  EXPECT_EQ(Int16At(b, 4), 0);
  EXPECT_EQ(Int32At(b, 4 + 2 + 2 + 1), 4);
}

TEST(ProjectFileOpen, StoredWindowIndexGivesWayToWindowZero) {
  auto e = SampleEditor();
  e->Supervisor.SetCurrentWindow(7);
  const std::vector<std::uint8_t> b = e->Save();
  EXPECT_EQ(Int32At(b, 10), 7);
  EditorState fresh;
  fresh.Open(b);
  EXPECT_EQ(fresh.Supervisor.CurrentWindow, 0);
  EXPECT_EQ(fresh.Supervisor.WindowCount, 2);
}

TEST(ProjectFileOpen, DefaultLoadsTakeOnlyTheirFirstFourBytesFromTheFile) {
  auto e = SampleEditor();
  const std::vector<std::uint8_t> b = e->Save();
  EditorState other;
  other.Supervisor.SetDefConcForce(Force(100, 200, 300, 400, 500, 600));
  other.Supervisor.SetDefDispForce(Force(-100, 1, 1, 1, 1, 1));
  other.Open(b);
  const TForceRecord c = other.Supervisor.DefConcForce;
  EXPECT_EQ(c.Py, 200);
  EXPECT_EQ(c.Mz, 600);
  // Px: the low 4 bytes of -7.5's significand, the other 6 bytes of 100.
  std::vector<std::uint8_t> px = Encoded(100);
  const std::vector<std::uint8_t> head = Encoded(-7.5L);
  std::memcpy(px.data(), head.data(), 4);
  EXPECT_EQ(Encoded(c.Px), px);
  EXPECT_EQ(other.Supervisor.DefDispForce.Py, 1);
  EXPECT_EQ(other.Supervisor.MaterialIndex, 1);
  EXPECT_EQ(other.Supervisor.Task.Precision, 0.001L);
}

TEST(ProjectFileOpen, MaterialPositionEqualToTheCountOpensTheChooser) {
  auto e = SampleEditor();
  std::vector<std::uint8_t> b = e->Save();
  PutInt32(b, sample::kPlateLayerMaterial, 2);  // two materials: position 2 names none

  ScriptedModelUi ui;
  ui.MaterialAnswers = {0};
  EditorState chosen(&ui);
  chosen.Open(b);
  ASSERT_EQ(ui.MaterialCalls.size(), 1u);
  // The chooser shows the file's materials, not those of the project open before.
  EXPECT_EQ(ui.MaterialCalls[0].Names, (std::vector<std::string>{"Сталь С300", "Бетон В25"}));
  EXPECT_EQ(ui.MaterialCalls[0].Selected, 0);
  EXPECT_EQ(chosen.Project.Elements().At(1)->Layers.LayerMaterial(0), chosen.Project.Materials().Material(0));

  // Cancel: the layer has no material and is written back as -1.
  EditorState cancelled(&ui);
  cancelled.Open(b);
  EXPECT_EQ(ui.MaterialCalls.size(), 2u);
  EXPECT_EQ(cancelled.Project.Elements().At(1)->Layers.LayerMaterial(0), nullptr);
  EXPECT_EQ(Int32At(cancelled.Save(), sample::kPlateLayerMaterial), -1);
}

TEST(ProjectFileOpen, HostileFilesAreRefusedAndTheOpenModelStays) {
  auto valid = SampleEditor();
  const std::vector<std::uint8_t> good = valid->Save();
  for (const HostileFile& h : HostileFiles(good)) {
    SCOPED_TRACE(h.Name);
    auto e = SampleEditor();
    e->Project.SetFileName("/tmp/open.tps");
    const std::vector<std::uint8_t> before = e->Save();
    const std::int32_t current = e->Supervisor.CurrentWindow;
    try {
      e->Open(h.Bytes, "/tmp/hostile.tps");
      ADD_FAILURE() << "accepted";
    } catch (const std::exception& ex) {
      EXPECT_NE(std::string(ex.what()).find(h.Message), std::string::npos) << ex.what();
    }
    EXPECT_EQ(e->Save(), before);
    EXPECT_EQ(e->Project.FileName(), "/tmp/open.tps");
    EXPECT_EQ(e->Supervisor.CurrentWindow, current);
    EXPECT_EQ(e->Windows.Count(), 2);
  }
}

TEST(ProjectFileOpen, OutOfRangeSupportAndLoadReferencesStayNone) {
  auto e = SampleEditor();
  std::vector<std::uint8_t> b = e->Save();
  PutInt32(b, sample::kSupports + 4, 99);            // support on knot 99
  PutInt32(b, sample::kConcForces + 4 + 60, -7);     // load on knot -7
  PutInt32(b, sample::kDispForces + 4 + 60, 2);      // load on element 2 of 2
  EditorState back;
  back.Open(b);
  const TVelEditorProject& p = back.Project;
  EXPECT_EQ(p.Supports().At(0)->Knot, nullptr);
  EXPECT_EQ(p.ConcForces().At(0)->Knot, nullptr);
  EXPECT_EQ(p.DispForces().At(0)->Element, nullptr);
  back.Project.UpdateScreen(PlanWindow());
  RecordingCanvas canvas;
  back.Project.Draw(canvas, kDrawDesk);  // nothing to dereference
  EXPECT_EQ(p.Supports().At(0)->Visible, 0);
  const std::vector<std::uint8_t> again = back.Save();
  EXPECT_EQ(Int32At(again, sample::kSupports + 4), -1);
  EXPECT_EQ(Int32At(again, sample::kConcForces + 4 + 60), -1);
  EXPECT_EQ(Int32At(again, sample::kDispForces + 4 + 60), -1);
}

TEST_F(ProjectFileTest, SaveAndOpenThroughFiles) {
  auto e = SampleEditor();
  const std::string path = Path("модель.tps");
  SaveProject(path, e->Supervisor, e->Project, e->Windows.Records());
  EXPECT_EQ(e->Project.FileName(), "NoName.tps");  // Save As names the project, not the writer
  EditorState back;
  const std::optional<std::vector<std::uint8_t>> bytes = ReadExistingFile(path, back.Messages);
  ASSERT_TRUE(bytes.has_value());
  back.Open(*bytes, path);
  EXPECT_TRUE(back.Messages.Shown.empty());
  EXPECT_EQ(back.Project.FileName(), path);
  EXPECT_EQ(EditorCaption(path), "Программный комплекс \"Тавир\" - редактор [модель.tps]");
  std::vector<std::uint8_t> expected = e->Save();
  PutInt32(expected, 10, 0);
  EXPECT_EQ(back.Save(), expected);
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ProjectFileTest, MissingFileIsReportedAndChangesNothing) {
  auto e = SampleEditor();
  const std::vector<std::uint8_t> before = e->Save();
  const std::string path = Path("нет.tps");
  EXPECT_FALSE(ReadExistingFile(path, e->Messages).has_value());
  ASSERT_EQ(e->Messages.Shown.size(), 1u);
  EXPECT_EQ(e->Messages.Shown[0].Text, "Файл " + path + " не найден!");
  EXPECT_EQ(e->Messages.Shown[0].Kind, MsgKind::Plain);
  EXPECT_EQ(e->Save(), before);

  TVelEditorProject results;
  AnalysisWindowData window;
  window.View.Width = 77;
  EXPECT_FALSE(ReadAnalysisProject(path, results, window, e->Messages));
  EXPECT_EQ(e->Messages.Shown.size(), 2u);
  EXPECT_EQ(window.View.Width, 77);
}

TEST_F(ProjectFileTest, ALeftoverTemporaryOfASaveOpensOnlyWhenItHoldsAWholeProject) {
  // What a save killed before its rename leaves: a whole project under the
  // temporary name, or only a part of one.
  auto e = SampleEditor();
  const std::vector<std::uint8_t> whole = e->Save();
  const std::string temp = Path(".model.tps.tavir-tmp-Q7xk2P");
  WriteFileAtomic(temp, std::vector<std::uint8_t>(whole.begin(), whole.begin() + 1000));
  EditorState back;
  try {
    ReadExistingFile(temp, back.Messages);
    ADD_FAILURE() << "opened";
  } catch (const FormatError& ex) {
    EXPECT_EQ(std::string(ex.what()),
              "Файл " + temp + " - временный файл прерванного сохранения, и проект в нем записан не полностью.");
  }

  TVelEditorProject results;
  AnalysisWindowData window;
  window.View.Width = 77;
  EXPECT_THROW(ReadAnalysisProject(temp, results, window, back.Messages), FormatError);
  EXPECT_EQ(window.View.Width, 77);
  EXPECT_TRUE(back.Messages.Shown.empty());

  // The whole project: read as any file, and named after the file it was saved for.
  WriteFileAtomic(temp, whole);
  EXPECT_EQ(ReadExistingFile(temp, back.Messages), whole);
  EXPECT_TRUE(ReadAnalysisProject(temp, results, window, back.Messages));
  EXPECT_EQ(ProjectNameOf(temp), Path("model.tps"));
  EXPECT_EQ(ProjectNameOf(Path("model.tps")), Path("model.tps"));
}

TEST_F(ProjectFileTest, FailedSaveLeavesTheOldFile) {
  auto e = SampleEditor();
  const std::string path = Path("old.tps");
  SaveProject(path, e->Supervisor, e->Project, e->Windows.Records());
  const std::vector<std::uint8_t> old = ReadWholeFile(path);

  // A name that the file's code page cannot hold fails before the file is touched.
  e->Project.Materials().AddMaterial("材料");
  try {
    SaveProject(path, e->Supervisor, e->Project, e->Windows.Records());
    ADD_FAILURE() << "saved";
  } catch (const std::exception& ex) {
    EXPECT_NE(std::string(ex.what()).find("нельзя записать"), std::string::npos) << ex.what();
  }
  EXPECT_EQ(ReadWholeFile(path), old);

  // A folder that does not exist.
  EXPECT_THROW(SaveProject(Path("нет/new.tps"), e->Supervisor, e->Project, e->Windows.Records()), std::runtime_error);
}

// The analysis program's result classes.
// What is under the name, when it is no project file, is said; "не найден" is
// for a name under which there is nothing at all.
TEST_F(ProjectFileTest, WhatCannotBeOpenedIsNamedForWhatItIs) {
  const std::string fifo = Path("pipe.tps");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string zero = Path("zero.tps");
  fs::create_symlink("/dev/zero", zero);
  const std::string folder = Path("folder.tps");
  fs::create_directories(folder);
  const std::string dangling = Path("dangling.tps");
  fs::create_symlink(Path("gone.tps"), dangling);
  const struct {
    std::string Name;
    std::string Message;  // an error thrown; empty: the plain "not found" message
  } cases[] = {
      {fifo, "Не удается открыть файл " + fifo + ": файл не является обычным файлом."},
      {zero, "Не удается открыть файл " + zero + ": файл не является обычным файлом."},
      {folder, "Не удается открыть файл " + folder + ": на месте файла находится папка."},
      {dangling, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto e = SampleEditor();
    const std::vector<std::uint8_t> before = e->Save();
    TVelEditorProject results;
    AnalysisWindowData window;
    window.View.Width = 77;
    if (c.Message.empty()) {
      EXPECT_FALSE(ReadExistingFile(c.Name, e->Messages).has_value());
      EXPECT_FALSE(ReadAnalysisProject(c.Name, results, window, e->Messages));
      ASSERT_EQ(e->Messages.Shown.size(), 2u);
      EXPECT_EQ(e->Messages.Shown[0].Text, "Файл " + c.Name + " не найден!");
    } else {
      for (int program = 0; program < 2; ++program) {
        try {
          if (program == 0) ReadExistingFile(c.Name, e->Messages);
          else ReadAnalysisProject(c.Name, results, window, e->Messages);
          ADD_FAILURE() << "opened";
        } catch (const std::runtime_error& ex) {
          EXPECT_EQ(std::string(ex.what()), c.Message);
        }
      }
      EXPECT_TRUE(e->Messages.Shown.empty());
    }
    EXPECT_EQ(e->Save(), before);
    EXPECT_EQ(window.View.Width, 77);
  }
}

// With "Сохранять резервные копии" on, a save first keeps the previous file.
TEST_F(ProjectFileTest, TheBackupOptionKeepsThePreviousFile) {
  auto e = SampleEditor();
  const std::string path = Path("model.tps");
  const std::string bak = Path("model.tps.bak");
  SaveProject(path, e->Supervisor, e->Project, e->Windows.Records());
  const std::vector<std::uint8_t> first = ReadWholeFile(path);
  e->Project.Materials().AddMaterial("Сталь 2");
  SaveProject(path, e->Supervisor, e->Project, e->Windows.Records());
  EXPECT_FALSE(fs::exists(bak)) << "off by default";
  const std::vector<std::uint8_t> second = ReadWholeFile(path);
  ASSERT_NE(second, first);

  e->Supervisor.Options.SetSaveBAK(1);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  e->Project.Materials().AddMaterial("Сталь 3");
  SaveProject(path, e->Supervisor, e->Project, e->Windows.Records());
  EXPECT_EQ(ReadWholeFile(bak), second);
  EXPECT_EQ(fs::status(bak).permissions(), fs::perms(0640));
  EXPECT_NE(ReadWholeFile(path), second);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

class ResultKnot : public TEditorKnot {
 public:
  std::int32_t Number = -1;
};
class ResultShell : public TMLEditorShell {
 public:
  using TMLEditorShell::TMLEditorShell;
};
class ResultPlate : public TMLEditorElement {
 public:
  using TMLEditorElement::TMLEditorElement;
};
class ResultFactory : public ModelFactory {
 public:
  std::unique_ptr<TEditorKnot> MakeKnot() const override { return std::make_unique<ResultKnot>(); }
  std::unique_ptr<TMLEditorElement> MakePlate(ElementType type, const std::shared_ptr<TPhisPropRodNL>& m) const override {
    return std::make_unique<ResultPlate>(type, m, ElementKind::Plate);
  }
  std::unique_ptr<TMLEditorShell> MakeShell(ElementType type, const std::shared_ptr<TPhisPropRodNL>& m) const override {
    return std::make_unique<ResultShell>(type, m, ElementKind::Shell);
  }
};

TEST(AnalysisReader, UsesOnlyTheFirstOfThreeWindows) {
  auto e = SampleEditor();
  e->Windows.AddWindow(FloatPoint3D(9, 9, 9), FloatPoint3D(0, 0, 0), Projection::YZ, FloatPoint(0.5L, 0.5L), 0x123456, false);
  e->Windows.Items(0).Grid().SetStepX(0.125L);
  std::vector<std::uint8_t> b = e->Save();

  TVelEditorProject results(std::make_shared<ResultFactory>());
  AnalysisWindowData window;
  const std::vector<TEditorKnot*> order = ReadAnalysisProjectBytes(b, results, window);
  const TWorkWindow& first = e->Windows.Items(0).WorkWindow;
  EXPECT_EQ(window.View.MaxPoint.X, first.MaxPoint.X);
  EXPECT_EQ(window.View.MinPoint.Z, first.MinPoint.Z);
  EXPECT_EQ(window.View.Scale.X, first.Scale.X);
  EXPECT_EQ(window.View.Scale.Y, first.Scale.Y);
  EXPECT_EQ(window.SavedScale.X, first.Scale.X);
  EXPECT_EQ(window.View.Projection, Projection::XY);
  EXPECT_EQ(window.View.Width, first.Width);
  EXPECT_EQ(window.View.Height, first.Height);
  EXPECT_EQ(window.View.Grid.StepX, 0.125L);

  ASSERT_EQ(order.size(), 5u);
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(order[i], results.Knots().At(static_cast<std::int32_t>(i)));
    EXPECT_NE(dynamic_cast<ResultKnot*>(order[i]), nullptr);
  }
  EXPECT_NE(dynamic_cast<ResultShell*>(results.Elements().At(0)), nullptr);
  EXPECT_NE(dynamic_cast<ResultPlate*>(results.Elements().At(1)), nullptr);
  EXPECT_EQ(results.Materials().Name(1), "Бетон В25");

  // Neither the later windows' records past the count check nor the closing byte
  // are read: a file without its closing byte still reads.
  b.pop_back();
  TVelEditorProject again(std::make_shared<ResultFactory>());
  EXPECT_EQ(ReadAnalysisProjectBytes(b, again, window).size(), 5u);
}

TEST(AnalysisReader, HostileFilesLeaveTheResultsAsTheyWere) {
  auto e = SampleEditor();
  const std::vector<std::uint8_t> good = e->Save();
  TVelEditorProject results;
  AnalysisWindowData window;
  ReadAnalysisProjectBytes(good, results, window);
  results.SetFileName("/tmp/calc.tps");
  const std::vector<std::uint8_t> before = ListBytes(results);
  for (const HostileFile& h : HostileFiles(good)) {
    if (h.Name == "no_closing_byte") continue;  // the analysis program does not read it
    SCOPED_TRACE(h.Name);
    AnalysisWindowData w = window;
    w.View.Width = -1;
    EXPECT_ANY_THROW(ReadAnalysisProjectBytes(h.Bytes, results, w));
    EXPECT_EQ(w.View.Width, -1);
    EXPECT_EQ(ListBytes(results), before);
    EXPECT_EQ(results.FileName(), "/tmp/calc.tps");
  }
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

TEST(ProjectFileOpen, AWindowThatShowsNoPlaneIsRefused) {
  using namespace testing;
  auto e = SampleEditor();
  std::vector<std::uint8_t> b = e->Save();
  b.at(sample::kWindow1 + 196) = 3;  // second window's projection
  auto back = SampleEditor();
  const std::vector<std::uint8_t> before = back->Save();
  try {
    back->Open(b, "/tmp/odd.tps");
    ADD_FAILURE() << "accepted";
  } catch (const FormatError& ex) {
    EXPECT_EQ(std::string(ex.what()), "Файл поврежден: окно редактирования 1 с неизвестной проекцией (3).");
  }
  EXPECT_EQ(back->Save(), before);
  EXPECT_EQ(back->Project.FileName(), "NoName.tps");
}

}  // namespace
}  // namespace tavir
