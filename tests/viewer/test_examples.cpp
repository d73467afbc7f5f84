// The committed sample projects are what the model code writes today.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "viewer_fixture.h"

namespace tavir {
namespace {

TEST(ExampleFiles, AreCurrent) {
  const char* write = std::getenv("TAVIR_WRITE_EXAMPLES");
  for (const auto& ex : examples::AllExamples()) {
    const std::vector<std::uint8_t> built = ex.Build();
    if (write != nullptr && std::string(write) == "1") {
      std::ofstream out(examples::ExamplePath(ex.Name), std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(built.data()), static_cast<std::streamsize>(built.size()));
      ASSERT_TRUE(out.good()) << ex.Name;
    }
    EXPECT_EQ(viewertest::ReadBytes(examples::ExamplePath(ex.Name)), built) << ex.Name;
  }
}

// The samples hold only what the editor can make: its load dialog creates a
// distributed load with both option bytes 0.
TEST(ExampleFiles, DistributedLoadsCarryTheEditorsOptionBytes) {
  int loads = 0;
  for (const auto& ex : examples::AllExamples()) {
    TVelEditorProject p;
    TAnalysisWindowData window;
    ReadAnalysisProjectBytes(viewertest::ReadBytes(examples::ExamplePath(ex.Name)), p, window);
    for (const auto& d : p.DispForces().Items()) {
      EXPECT_EQ(d->Option1, 0) << ex.Name;
      EXPECT_EQ(d->Option2, 0) << ex.Name;
      ++loads;
    }
  }
  EXPECT_EQ(loads, 16 + 16 + 8);
}

}  // namespace
}  // namespace tavir
