// libFuzzer target for the project reader, the editor's and the analysis
// program's. Whatever the bytes, a reader either refuses them with one of its
// Russian messages, leaving the open model exactly as it was, or takes them; what
// it takes must save to a file that reads back to itself. Anything else aborts.
//
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTAVIR_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_project_reader
//   build-fuzz/tests/fuzz/fuzz_project_reader -max_len=4096 tests/data/fuzz_corpus
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "../model/project_file_fixture.h"

namespace {

using namespace tavir;
using namespace tavir::testing;

// Picks the first material whenever a layer names none, and remembers nothing.
class FirstMaterialUi : public ModelUi {
 public:
  std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries, std::int32_t) override {
    return entries.empty() ? std::nullopt : std::optional<std::int32_t>(0);
  }
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_project_reader: %s\n", what);
  std::abort();
}

void CheckRefusal(const std::exception& ex) {
  if (!IsReaderMessage(ex.what())) {
    std::fprintf(stderr, "unexpected message: %s\n", ex.what());
    Fail("a refusal without a reader message");
  }
}

void FuzzEditorReader(EditorState& e, const std::vector<std::uint8_t>& bytes) {
  const std::vector<std::uint8_t> before = e.Save();
  try {
    e.Open(bytes);
  } catch (const std::exception& ex) {
    CheckRefusal(ex);
    if (e.Save() != before) Fail("a refused file changed the open model");
    return;
  }
  const std::vector<std::uint8_t> once = e.Save();
  try {
    e.Open(once);
  } catch (const std::exception& ex) {
    std::fprintf(stderr, "%s\n", ex.what());
    Fail("a saved file does not read back");
  }
  if (e.Save() != once) Fail("a saved file reads back to other bytes");
}

void FuzzAnalysisReader(TVelEditorProject& results, TAnalysisWindowData& window,
                        const std::vector<std::uint8_t>& bytes) {
  const std::vector<std::uint8_t> before = ListBytes(results);
  try {
    const std::vector<TEditorKnot*> order = ReadAnalysisProjectBytes(bytes, results, window);
    if (order.size() != results.Knots().Items().size()) Fail("the knot order misses knots");
  } catch (const std::exception& ex) {
    CheckRefusal(ex);
    if (ListBytes(results) != before) Fail("a refused file changed the results");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FirstMaterialUi ui;
  static std::unique_ptr<EditorState> editor = SampleEditor(&ui);
  static TVelEditorProject results(DefaultModelFactory(), &ui);
  static TAnalysisWindowData window;

  const std::vector<std::uint8_t> bytes(data, data + size);
  FuzzEditorReader(*editor, bytes);
  FuzzAnalysisReader(results, window, bytes);
  // What the fakes record must not pile up over millions of runs.
  editor->Messages.Shown.clear();
  return 0;
}
