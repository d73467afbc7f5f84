#pragma once
// A scratch folder of its own for each test, removed afterwards.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace tavir {

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("tavir-platform-" + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  static std::size_t EntriesIn(const std::filesystem::path& p) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(p), std::filesystem::directory_iterator()));
  }
  std::filesystem::path dir_;
};

}  // namespace tavir
