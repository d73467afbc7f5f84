#pragma once
// A scratch folder of its own for each test, removed afterwards.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <iterator>

#include "scratch_folder.h"

namespace tavir {

class TempFolder : public ::testing::Test {
 protected:
  static std::size_t EntriesIn(const std::filesystem::path& p) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(p), std::filesystem::directory_iterator()));
  }
  ScratchFolder folder_{"tavir-platform"};
  std::filesystem::path dir_ = folder_.Path();
};

}  // namespace tavir
