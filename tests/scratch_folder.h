#pragma once
// Folders of a test's own. A scratch folder is new (mkdtemp under the temporary
// directory: never one that an earlier run, a failed test or a neighbouring test
// process left behind) and goes with all it holds when the object goes, also
// when the test failed. WorkIn makes a folder the working folder for a while,
// for what a test writes or looks for under a relative name.
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

namespace tavir {

class ScratchFolder {
 public:
  // `label` begins the folder's name, so that a folder still there says whose it is.
  explicit ScratchFolder(std::string label = "tavir") {
    std::replace(label.begin(), label.end(), '/', '_');
    std::string name = (std::filesystem::temp_directory_path() / (label + "-XXXXXX")).string();
    if (::mkdtemp(name.data()) == nullptr)
      throw std::system_error(errno, std::generic_category(), "mkdtemp " + name);
    path_ = name;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The working folder set to `folder`, and back to what it was when this goes.
class WorkIn {
 public:
  explicit WorkIn(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkIn() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
  }
  WorkIn(const WorkIn&) = delete;
  WorkIn& operator=(const WorkIn&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace tavir
