#pragma once
// A save of a file with other hard links killed half way through writing the
// file itself, as a power loss or kill -9 would leave it: the save runs in a child
// process, through the save's fault seam, and the child dies inside a write.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/binstream.h"

namespace tavir::test {

// Where the save dies: in the `write`-th write into the target (from 1), after
// `keep` bytes of it reached the file.
struct SaveCut {
  int Write = 1;
  std::size_t Keep = 0;
};

// Saves `bytes` to `path` and dies at the cut. Fails when the save never reached
// the cut (the target had no other link, or fewer writes).
inline ::testing::AssertionResult SaveKilledInPlace(const std::string& path, const std::vector<std::uint8_t>& bytes,
                                                    SaveCut cut) {
  const std::string target = std::filesystem::canonical(path).string();
  const pid_t child = ::fork();
  if (child < 0) return ::testing::AssertionFailure() << "fork failed";
  if (child == 0) {
    SaveFileCalls calls = SystemSaveFileCalls();
    int writes = 0;
    calls.Write = [&](int fd, const void* data, std::size_t n) -> long {
      std::error_code ec;
      const bool intoTarget =
          std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec).string() == target;
      if (intoTarget && ++writes == cut.Write) {
        if (cut.Keep > 0) (void)::write(fd, data, cut.Keep < n ? cut.Keep : n);
        ::_exit(9);  // the power goes
      }
      return static_cast<long>(::write(fd, data, n));
    };
    try {
      WriteFileAtomic(path, bytes, calls);
    } catch (...) {
    }
    ::_exit(0);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return ::testing::AssertionFailure() << "the save was lost";
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 9)
    return ::testing::AssertionFailure() << "the save did not reach write " << cut.Write << " into " << target;
  return ::testing::AssertionSuccess();
}

// The one save temporary the killed save left in the folder; "" when there is
// none, or more than one.
inline std::string CopyLeftIn(const std::filesystem::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (IsSaveTemporaryName(entry.path().string())) found.push_back(entry.path().string());
  return found.size() == 1 ? found[0] : std::string();
}

}  // namespace tavir::test
