// Replays the corpus of the analysis fuzz target (and the reader's corpus, and the
// examples) through opening, the static analysis and the isolines of every
// quantity, with the fuzz target's own rules. Under the sanitizer build this is
// where a fault of the analysis on a hostile file shows up first.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/analysis_run.h"
#include "viewer_fixture.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

void Replay(const std::vector<fs::path>& files, int& analysed) {
  fuzzing::FirstMaterialChooser ui;
  ScriptedMessages messages;
  // One project for the whole run, as in the fuzz target: each file opens over the
  // previous one.
  TViewerProject project(messages, nullptr, &ui);
  for (const fs::path& path : files) {
    SCOPED_TRACE(path.filename().string());
    const std::vector<std::uint8_t> bytes = viewertest::ReadBytes(path.string());
    EXPECT_EQ(fuzzing::RunAnalysis(project, messages, bytes), "");
    if (project.FileName() == "fuzz.tps" && project.HasResults()) ++analysed;
  }
}

TEST(AnalysisCorpus, EveryFileIsRefusedWithAMessageOrAnalysedToFiniteResults) {
  const std::vector<fs::path> files = FilesIn(fs::path(TAVIR_TEST_DATA) / "analysis_corpus");
  ASSERT_GE(files.size(), 10u);
  int analysed = 0;
  Replay(files, analysed);
  // The corpus reaches the analysis, not only the reader.
  EXPECT_GE(analysed, 3);
}

TEST(AnalysisCorpus, ReaderCorpusAndExamplesToo) {
  std::vector<fs::path> files = FilesIn(fs::path(TAVIR_TEST_DATA) / "fuzz_corpus");
  for (const auto& ex : examples::AllExamples()) files.push_back(examples::ExamplePath(ex.Name));
  int analysed = 0;
  Replay(files, analysed);
  EXPECT_GE(analysed, 4);
}

}  // namespace
}  // namespace tavir
