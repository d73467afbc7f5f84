// Replays the fuzz corpus of the project reader and every truncation of the valid
// files. Under the sanitizer build this is where a reader fault shows up first.
//
// The corpus is written by the project's own code: after a change of the file
// layout, run this test program once with TAVIR_WRITE_CORPUS=1 to write it again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/project_file_fixture.h"

namespace tavir {
namespace {

using namespace testing;
namespace fs = std::filesystem;

fs::path CorpusDir() { return fs::path(TAVIR_TEST_DATA) / "fuzz_corpus"; }

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// Opens bytes over a previously opened model; a refusal must carry a reader
// message and leave every byte of the model as it was.
void ExpectRefused(EditorState& e, const std::vector<std::uint8_t>& bytes, const std::string& what) {
  const std::vector<std::uint8_t> before = e.Save();
  const std::string name = e.Project.FileName();
  try {
    e.Open(bytes, "/tmp/refused.tps");
    ADD_FAILURE() << what << ": accepted";
  } catch (const std::exception& ex) {
    EXPECT_TRUE(IsReaderMessage(ex.what())) << what << ": " << ex.what();
  }
  EXPECT_EQ(e.Save(), before) << what;
  EXPECT_EQ(e.Project.FileName(), name) << what;
}

TEST(FuzzCorpus, FilesAreThoseTheWriterMakes) {
  const bool write = std::getenv("TAVIR_WRITE_CORPUS") != nullptr;
  if (write) fs::create_directories(CorpusDir());
  for (const CorpusFile& f : CorpusFiles()) {
    SCOPED_TRACE(f.Name);
    const fs::path path = CorpusDir() / f.Name;
    if (write) {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(f.Bytes.data()), static_cast<std::streamsize>(f.Bytes.size()));
      ASSERT_TRUE(out.good());
    }
    ASSERT_TRUE(fs::exists(path)) << "run once with TAVIR_WRITE_CORPUS=1";
    EXPECT_EQ(ReadWholeFile(path.string()), f.Bytes);
  }
}

TEST(FuzzCorpus, EveryFileOpensCleanlyOrIsRefusedWithTheModelIntact) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(CorpusDir()))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 3u);
  for (const fs::path& path : files) {
    const std::string name = path.filename().string();
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path.string());
    auto e = SampleEditor();
    if (StartsWith(name, "hostile_")) {
      ExpectRefused(*e, bytes, name);
      continue;
    }
    const std::vector<std::uint8_t> before = e->Save();
    bool opened = false;
    try {
      e->Open(bytes);
      opened = true;
    } catch (const std::exception& ex) {
      EXPECT_TRUE(IsReaderMessage(ex.what())) << ex.what();
      EXPECT_EQ(e->Save(), before);
    }
    if (StartsWith(name, "valid_")) {
      ASSERT_TRUE(opened);
      // Files written with window 0 current come back byte for byte.
      EXPECT_EQ(e->Save(), bytes);
    } else if (opened) {
      // Anything else the reader takes must save to a file that reads back to itself.
      const std::vector<std::uint8_t> once = e->Save();
      e->Open(once);
      EXPECT_EQ(e->Save(), once);
    }
  }
}

TEST(FuzzCorpus, EveryTruncationOfAValidFileIsRefused) {
  for (const CorpusFile& f : ValidCorpusFiles()) {
    SCOPED_TRACE(f.Name);
    auto e = SampleEditor();
    for (std::size_t n = 0; n < f.Bytes.size(); ++n) {
      const std::vector<std::uint8_t> cut(f.Bytes.begin(), f.Bytes.begin() + static_cast<std::ptrdiff_t>(n));
      ExpectRefused(*e, cut, f.Name + " cut to " + std::to_string(n));
      if (::testing::Test::HasFailure()) return;  // one broken length is enough to read
    }
  }
}

TEST(FuzzCorpus, AnalysisReaderRefusesEveryTruncationBeforeTheClosingByte) {
  for (const CorpusFile& f : ValidCorpusFiles()) {
    SCOPED_TRACE(f.Name);
    TVelEditorProject results;
    AnalysisWindowData window;
    ReadAnalysisProjectBytes(f.Bytes, results, window);
    const std::vector<std::uint8_t> before = ListBytes(results);
    const std::int32_t width = window.View.Width;
    for (std::size_t n = 0; n + 1 < f.Bytes.size(); ++n) {
      const std::vector<std::uint8_t> cut(f.Bytes.begin(), f.Bytes.begin() + static_cast<std::ptrdiff_t>(n));
      try {
        ReadAnalysisProjectBytes(cut, results, window);
        ADD_FAILURE() << "accepted a file cut to " << n;
      } catch (const std::exception& ex) {
        EXPECT_TRUE(IsReaderMessage(ex.what())) << n << ": " << ex.what();
      }
      EXPECT_EQ(window.View.Width, width);
      EXPECT_EQ(ListBytes(results), before);
      if (::testing::Test::HasFailure()) return;
    }
  }
}

}  // namespace
}  // namespace tavir
