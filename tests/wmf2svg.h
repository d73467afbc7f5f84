// Runs the independent metafile reader (wmf2svg of libwmf) on a file. The tool is a
// test dependency: when it is missing, or cannot load its fonts, the test fails
// with the reason instead of passing quietly.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifndef TAVIR_WMF2SVG
#error "the build passes TAVIR_WMF2SVG (empty when the tool was not found)"
#endif

namespace tavir::testing {

// Converts `wmfPath` to SVG next to it; returns the SVG text, or "" after recording a failure.
inline std::string Wmf2Svg(const std::filesystem::path& wmfPath) {
  const std::string tool = TAVIR_WMF2SVG;
  if (tool.empty()) {
    ADD_FAILURE() << "wmf2svg is not installed (Debian package libwmf-bin): run tools/install_deps.sh";
    return {};
  }
  std::filesystem::path svgPath = wmfPath;
  svgPath.replace_extension(".svg");
  const std::string command = "'" + tool + "' -o '" + svgPath.string() + "' '" + wmfPath.string() + "' 2>&1";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  std::array<char, 512> chunk{};
  while (std::fgets(chunk.data(), static_cast<int>(chunk.size()), pipe) != nullptr) output += chunk.data();
  const int rc = pclose(pipe);
  if (rc != 0 || output.find("failed to load") != std::string::npos) {
    ADD_FAILURE() << command << " failed (" << rc << "): " << output
                  << (output.find("font") != std::string::npos ? " — install fonts-urw-base35" : "");
    return {};
  }
  std::ifstream in(svgPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tavir::testing
