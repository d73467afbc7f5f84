#pragma once
// The editor's model side without a display: supervisor, project and the window
// records of the project file.
// Shared by the project-file tests and the fuzz target (hence the relative include).
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/project.h"
#include "model/project_file.h"
#include "model/supervisor.h"
#include "model/window_record.h"
#include "platform/services.h"
#include "project_fixture.h"
#include "supervisor_fill.h"
#include "fakes/scripted_messages.h"

namespace tavir::testing {

// The window records of an open project, made as the editor makes new windows
// (on a 1024 x 768 screen); the supervisor follows them as it follows the editor's
// windows: the first window becomes current, the count is kept.
class WindowRecords {
 public:
  explicit WindowRecords(TEditSupervisor& s) : s_(s) {}
  int AddWindow(const TFloatPoint3D& maxCorner, const TFloatPoint3D& minCorner, Projection projection,
                TFloatPoint scale, RgbColor color, bool /*show*/) {
    Block.Windows.push_back(NewWindowRecord(maxCorner, minCorner, projection, scale, color, PixelSize{1024, 768}));
    const int index = Count() - 1;
    Block.Windows.back().WorkWindow.SetNumber(index);
    if (s_.CurrentWindow < 0 || s_.CurrentWindow >= Count()) s_.SetCurrentWindow(index);
    s_.SetWindowCount(Count());
    return index;
  }
  int Count() const { return static_cast<int>(Block.Windows.size()); }
  TWindowRecord& Items(int i) { return Block.Windows.at(static_cast<std::size_t>(i)); }
  WindowRecordList Records() const { return Block.Records(); }
  // A block read from a file takes the place of the records: window 0 current.
  void Adopt(WindowBlock&& block) {
    Block = std::move(block);
    s_.SetCurrentWindow(0);
    s_.SetWindowCount(Count());
  }

  WindowBlock Block;

 private:
  TEditSupervisor& s_;
};

struct EditorState {
  TEditSupervisor Supervisor;
  ScriptedMessages Messages;
  TVelEditorProject Project;
  WindowRecords Windows{Supervisor};

  explicit EditorState(ModelUi* ui = nullptr) : Project(DefaultModelFactory(), ui) {
    Supervisor.Task.SetDefaults();
    Supervisor.Options.SetDefaults();
  }

  std::vector<std::uint8_t> Save() { return SaveProjectBytes(Supervisor, Project, Windows.Records()); }
  void Open(const std::vector<std::uint8_t>& bytes, const std::string& name = "/tmp/opened.tps") {
    ProjectContents contents = ReadProjectBytes(bytes, name, Supervisor, Project);
    InstallProject(std::move(contents), Supervisor, Project,
                   [this](WindowBlock&& block) { Windows.Adopt(std::move(block)); });
  }
};

// The sample model with settings that are not the defaults and two windows.
inline std::unique_ptr<EditorState> SampleEditor(ModelUi* ui = nullptr) {
  auto e = std::make_unique<EditorState>(ui);
  TEditSupervisor& s = e->Supervisor;
  SetStoredSettings(s, {.ReservedC = 0x01020304,
                        .Task = {.Precision = 0.001L},
                        .Grid = {.StepZ = 1, .NSX = 3, .NSY = 4, .NSZ = 5, .Color = 0xFF, .Place = 1, .SnapToGrid = 0},
                        .Region = {-1, -1, -5, 4, 2, 5},
                        .New = {.Input = InputMode::ByFrame,
                                .Fixation = {1, 0, 1, 0, 1, 0},
                                .MaterialIndex = 1,
                                .ConcForce = Force(-7.5L, 1, 2, 3, 4, 5),
                                .DispForce = Force(3.25L, 0, 0, 0, 0, 6)}});

  SampleModel model(e->Project);
  e->Windows.AddWindow(FloatPoint3D(4, 2, 5), FloatPoint3D(-1, -1, -5), Projection::XY, FloatPoint(0.01L, 0.01L), 0xFFFFFF, true);
  e->Windows.AddWindow(FloatPoint3D(4, 2, 5), FloatPoint3D(-1, -1, -5), Projection::XZ, FloatPoint(0.02L, 0.05L), 0xC0C0C0, false);
  s.SetCurrentWindow(1);
  return e;
}

}  // namespace tavir::testing

namespace tavir::testing {

// Offsets in the file of SampleEditor (layout worked out by hand from the record sizes).
namespace sample {
inline constexpr std::size_t kMaterials = 190;
inline constexpr std::size_t kFirstMaterialName = kMaterials + 4;     // Int32 10, "Сталь С300"
inline constexpr std::size_t kFirstMaterialRecord = kFirstMaterialName + 4 + 10;
inline constexpr std::size_t kSecondMaterial = kFirstMaterialRecord + 92;  // Int32 9, "Бетон В25"
inline constexpr std::size_t kKnots = kSecondMaterial + 4 + 9 + 92;        // 405
inline constexpr std::size_t kSupports = kKnots + 4 + 5 * 30;             // 559
inline constexpr std::size_t kConcForces = kSupports + 4 + 2 * 14;        // 591
inline constexpr std::size_t kPliants = kConcForces + 4 + 64;             // 659
inline constexpr std::size_t kHardlesses = kPliants + 4;                  // 663
inline constexpr std::size_t kElements = kHardlesses + 4;                 // 667
inline constexpr std::size_t kShell = kElements + 4;                      // kind byte
inline constexpr std::size_t kShellStack = kShell + 2 + 4 * 4;            // layer count
inline constexpr std::size_t kShellLayer0 = kShellStack + 9;              // "Тело пластины"
inline constexpr std::size_t kShellLayer1 = kShellLayer0 + 4 + 13 + 30;   // "Слой бетона"
inline constexpr std::size_t kShellCurvatures = kShellLayer1 + 4 + 11 + 30;
inline constexpr std::size_t kPlate = kShellCurvatures + 30;              // 820
inline constexpr std::size_t kPlateLayer0 = kPlate + 2 + 3 * 4 + 9;
inline constexpr std::size_t kPlateLayerMaterial = kPlateLayer0 + 4 + 13 + 21;
inline constexpr std::size_t kDispForces = kPlateLayer0 + 4 + 13 + 30;     // 890
inline constexpr std::size_t kShells = kDispForces + 4 + 66;               // 960
inline constexpr std::size_t kParaboloid = kShells + 4;                    // outer Int16 kind
inline constexpr std::size_t kParaboloidCount = kParaboloid + 2 + 2 + 1;   // Int32 n
inline constexpr std::size_t kSphere = kParaboloid + 2 + 100;              // 1066
inline constexpr std::size_t kSphereOrigin = kSphere + 2 + 2 + 1 + 4 + 30 + 1;
inline constexpr std::size_t kWindows = kSphere + 2 + 90;                  // 1158
inline constexpr std::size_t kWindow0 = kWindows + 4;
inline constexpr std::size_t kWindow1 = kWindow0 + 223;
inline constexpr std::size_t kClosingByte = kWindow1 + 223;                // 1608
inline constexpr std::size_t kSize = kClosingByte + 1;
}  // namespace sample

inline void PutInt32(std::vector<std::uint8_t>& b, std::size_t off, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) b.at(off + i) = static_cast<std::uint8_t>(u >> (8 * i));
}
inline void PutInt16(std::vector<std::uint8_t>& b, std::size_t off, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  b.at(off) = static_cast<std::uint8_t>(u & 0xFF);
  b.at(off + 1) = static_cast<std::uint8_t>(u >> 8);
}
inline std::int32_t Int32At(const std::vector<std::uint8_t>& b, std::size_t off) {
  return static_cast<std::int32_t>(std::uint32_t{b.at(off)} | (std::uint32_t{b.at(off + 1)} << 8) |
                                   (std::uint32_t{b.at(off + 2)} << 16) | (std::uint32_t{b.at(off + 3)} << 24));
}
inline std::int16_t Int16At(const std::vector<std::uint8_t>& b, std::size_t off) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(b.at(off) | (b.at(off + 1) << 8)));
}

// A damaged file and a piece of the message that must refuse it.
struct HostileFile {
  std::string Name;
  std::vector<std::uint8_t> Bytes;
  std::string Message;
};

// Damaged variants of the sample file (its bytes given).
inline std::vector<HostileFile> HostileFiles(const std::vector<std::uint8_t>& valid) {
  using namespace sample;
  std::vector<HostileFile> out;
  auto poke32 = [&](std::string name, std::size_t off, std::int32_t v, std::string message) {
    std::vector<std::uint8_t> b = valid;
    PutInt32(b, off, v);
    out.push_back({std::move(name), std::move(b), std::move(message)});
  };
  auto poke16 = [&](std::string name, std::size_t off, std::int16_t v, std::string message) {
    std::vector<std::uint8_t> b = valid;
    PutInt16(b, off, v);
    out.push_back({std::move(name), std::move(b), std::move(message)});
  };
  const std::int32_t maxInt = 2147483647;
  poke32("signature_2", 0, 2, "Формат файла не соответствует проекту!");
  out.push_back({"empty", {}, "Формат файла не соответствует проекту!"});
  poke32("materials_count_minus_1", kMaterials, -1, "отрицательное число");
  poke32("materials_count_max", kMaterials, maxInt, "больше, чем данных");
  poke32("material_name_past_end", kFirstMaterialName, 100000, "длина строки");
  poke32("material_name_negative", kFirstMaterialName, -5, "отрицательная длина");
  poke32("knots_count_minus_1", kKnots, -1, "отрицательное число");
  poke32("knots_count_max", kKnots, maxInt, "больше, чем данных");
  poke32("supports_count_max", kSupports, maxInt, "больше, чем данных");
  poke32("pliants_count_minus_1", kPliants, -1, "отрицательное число");
  poke32("elements_count_max", kElements, maxInt, "больше, чем данных");
  {
    std::vector<std::uint8_t> b = valid;
    b.at(kShell) = 7;
    out.push_back({"element_kind_7", std::move(b), "неизвестный вид конечного элемента (7)"});
  }
  poke32("element_knot_99", kShell + 2, 99, "несуществующий узел");
  poke32("element_knot_minus_1", kShell + 2 + 4, -1, "несуществующий узел");
  poke32("layer_count_max", kShellStack, maxInt, "больше, чем данных");
  poke32("layer_name_past_end", kShellLayer0, 1 << 30, "длина строки");
  poke32("disp_count_minus_1", kDispForces, -1, "отрицательное число");
  poke32("shells_count_max", kShells, maxInt, "больше, чем данных");
  poke16("shell_kind_1", kParaboloid, 1, "неизвестный вид поверхности оболочки (1)");
  poke16("shell_record_of_sphere", kParaboloid + 2, 3, "Функция не эллиптический параболлоид!");
  poke32("shell_params_1", kParaboloidCount, 1, "Неверное число параметров оболочки");
  poke32("shell_params_1e9", kParaboloidCount, 1000000000, "Неверное число параметров оболочки");
  poke32("shell_params_minus_1", kParaboloidCount, -1, "Неверное число параметров оболочки");
  poke32("windows_none", kWindows, 0, "неверное число окон");
  poke32("windows_minus_1", kWindows, -1, "неверное число окон");
  poke32("windows_too_many", kWindows, 3, "неверное число окон");
  {
    std::vector<std::uint8_t> b(valid.begin(), valid.end() - 1);
    out.push_back({"no_closing_byte", std::move(b), "завершающего байта"});
  }
  return out;
}

}  // namespace tavir::testing

namespace tavir::testing {

struct CorpusFile {
  std::string Name;
  std::vector<std::uint8_t> Bytes;
};

// The valid files of the fuzz corpus, written by the project's own code: the
// sample, a new project with its one window, the sample with a third window.
inline std::vector<CorpusFile> ValidCorpusFiles() {
  std::vector<CorpusFile> out;
  {
    auto e = SampleEditor();
    e->Supervisor.SetCurrentWindow(0);
    out.push_back({"valid_sample.tps", e->Save()});
  }
  {
    EditorState e;
    e.Windows.AddWindow(FloatPoint3D(10, 10, 10), FloatPoint3D(0, 0, 0), Projection::XY, FloatPoint(0.01L, 0.01L), 0xFFFFFF, true);
    out.push_back({"valid_new.tps", e.Save()});
  }
  {
    auto e = SampleEditor();
    e->Windows.AddWindow(FloatPoint3D(9, 9, 9), FloatPoint3D(0, 0, 0), Projection::YZ, FloatPoint(0.5L, 0.5L), 0x123456, false);
    e->Supervisor.SetCurrentWindow(0);
    out.push_back({"valid_three_windows.tps", e->Save()});
  }
  return out;
}

// The whole corpus: the valid files, then the damaged variants of the sample.
inline std::vector<CorpusFile> CorpusFiles() {
  std::vector<CorpusFile> out = ValidCorpusFiles();
  for (HostileFile& h : HostileFiles(out.front().Bytes)) out.push_back({"hostile_" + h.Name + ".tps", std::move(h.Bytes)});
  return out;
}

// Whether a refusal's text is one of the reader's own Russian messages.
inline bool IsReaderMessage(const std::string& text) {
  for (const char* start : {"Файл поврежден", "Формат файла не соответствует проекту!", "Ошибка загрузки!"})
    if (text.rfind(start, 0) == 0) return true;
  return false;
}

}  // namespace tavir::testing
