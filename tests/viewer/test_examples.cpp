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

}  // namespace
}  // namespace tavir
