// Saving a whole file: what a failure at each step leaves, the temporary file's
// name and creation, permissions and symbolic links.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/binstream.h"
#include "platform/temp_folder.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class SaveFolder : public TempFolder {
 protected:
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static unsigned Mode(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0);
    return st.st_mode & 07777;
  }
  // The path of an open descriptor, as the system names it.
  static std::string PathOf(int fd) { return fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).string(); }
};

// The message of a refused save: Russian, naming the file and the reason.
std::string SaveError(const std::string& path, const Bytes& bytes, const SaveFileCalls& calls) {
  try {
    WriteFileAtomic(path, bytes, calls);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST_F(SaveFolder, EveryFailingStepLeavesTheOldFileAndNoTemporary) {
  struct Case {
    const char* step;
    std::function<void(SaveFileCalls&)> breakIt;
    const char* message;  // the start of the text the user reads
  };
  const std::vector<Case> cases = {
      {"write",
       [](SaveFileCalls& c) {
         c.Write = [](int, const void*, std::size_t) -> long {
           errno = ENOSPC;
           return -1;
         };
       },
       "Ошибка записи файла"},
      {"write after a part",  // the first call takes a few bytes, the next one fails
       [](SaveFileCalls& c) {
         c.Write = [calls = 0](int fd, const void* data, std::size_t n) mutable -> long {
           if (calls++ == 0) return static_cast<long>(::write(fd, data, n < 3 ? n : 3));
           errno = ENOSPC;
           return -1;
         };
       },
       "Ошибка записи файла"},
      {"fsync of the file",
       [](SaveFileCalls& c) {
         c.Fsync = [](int) {
           errno = EIO;
           return -1;
         };
       },
       "Ошибка записи файла"},
      // A write error the file system reports only at close (NFS, a full disk
      // with delayed allocation): the file is closed all the same.
      {"close",
       [](SaveFileCalls& c) {
         c.Close = [](int fd) {
           ::close(fd);
           errno = EDQUOT;
           return -1;
         };
       },
       "Ошибка записи файла"},
      {"rename",
       [](SaveFileCalls& c) {
         c.Rename = [](const char*, const char*) {
           errno = EACCES;
           return -1;
         };
       },
       "Не удается записать файл"},
  };
  const fs::path target = dir_ / "model.tps";
  const Bytes old = {'o', 'l', 'd'};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    WriteFileAtomic(target.string(), old);
    ::chmod(target.c_str(), 0640);
    SaveFileCalls calls = SystemSaveFileCalls();
    c.breakIt(calls);
    const std::string message = SaveError(target.string(), Bytes(1000, 7), calls);
    EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
    EXPECT_NE(message.find(target.string()), std::string::npos) << message;
    EXPECT_EQ(ReadWholeFile(target.string()), old);
    EXPECT_EQ(Mode(target), 0640u);
    EXPECT_EQ(Names(), std::vector<std::string>{"model.tps"}) << "the temporary file is removed";
  }
}

TEST_F(SaveFolder, FailureReasonsAreInWords) {
  const std::string target = (dir_ / "model.tps").string();
  const std::vector<std::pair<int, std::string>> reasons = {
      {ENOSPC, "нет места на диске"}, {EDQUOT, "превышена дисковая квота"}, {EIO, "ошибка ввода-вывода"},
      {EROFS, "диск доступен только для чтения"}, {EACCES, "нет прав доступа"}, {12345, "системная ошибка 12345"}};
  for (const auto& [error, words] : reasons) {
    SaveFileCalls calls = SystemSaveFileCalls();
    calls.Fsync = [error = error](int) {
      errno = error;
      return -1;
    };
    EXPECT_EQ(SaveError(target, {1}, calls), "Ошибка записи файла " + target + ": " + words + ".");
  }
}

TEST_F(SaveFolder, FlushesTheFileBeforeTheRenameAndTheFolderAfter) {
  const std::string target = (dir_ / "model.tps").string();
  WriteFileAtomic(target, {1});
  std::vector<std::string> steps;
  SaveFileCalls calls = SystemSaveFileCalls();
  calls.Fsync = [&](int fd) {
    steps.push_back(fs::is_directory(PathOf(fd)) ? "fsync folder" : "fsync file");
    return ::fsync(fd);
  };
  calls.Close = [&](int fd) {
    steps.push_back("close");
    return ::close(fd);
  };
  calls.Rename = [&](const char* from, const char* to) {
    steps.push_back("rename");
    return ::rename(from, to);
  };
  WriteFileAtomic(target, {1, 2}, calls);
  EXPECT_EQ(steps, (std::vector<std::string>{"fsync file", "close", "rename", "fsync folder"}));
  EXPECT_EQ(ReadWholeFile(target), (Bytes{1, 2}));
}

TEST_F(SaveFolder, AFolderThatCannotBeFlushedIsReported) {
  const std::string target = (dir_ / "model.tps").string();
  SaveFileCalls calls = SystemSaveFileCalls();
  calls.Fsync = [](int fd) {
    if (fs::is_directory(PathOf(fd))) {
      errno = EIO;
      return -1;
    }
    return ::fsync(fd);
  };
  EXPECT_EQ(SaveError(target, {1}, calls), "Файл записан, но не сброшен на диск " + target + ": ошибка ввода-вывода.");
}

TEST_F(SaveFolder, TheTemporaryFileIsHiddenAndRecognisable) {
  const fs::path target = dir_ / "model.tps";
  std::string temp;
  SaveFileCalls calls = SystemSaveFileCalls();
  calls.Write = [&](int fd, const void* data, std::size_t n) -> long {
    temp = PathOf(fd);
    return static_cast<long>(::write(fd, data, n));
  };
  WriteFileAtomic(target.string(), {1, 2, 3}, calls);
  const std::string name = fs::path(temp).filename().string();
  EXPECT_EQ(fs::path(temp).parent_path(), fs::canonical(dir_)) << "in the target's folder, for the rename";
  EXPECT_EQ(name.rfind(".model.tps.tavir-tmp-", 0), 0u) << name;
  EXPECT_EQ(name.size(), std::string(".model.tps.tavir-tmp-").size() + 6) << name;
  EXPECT_TRUE(IsSaveTemporaryName(temp));
  EXPECT_FALSE(IsSaveTemporaryName(target.string()));
}

TEST(SaveTemporaryName, Recognised) {
  const std::vector<std::pair<std::string, bool>> names = {
      {".model.tps.tavir-tmp-Ab3xY9", true},
      {"/home/u/.model.tps.tavir-tmp-000000", true},
      {"C:\\work\\.m.tps.tavir-tmp-zzzzzz", true},
      {".tavir-tmp-abcdef", false},  // no name before the mark
      {"model.tps.tavir-tmp-Ab3xY9", false},   // not hidden
      {".model.tps.tavir-tmp-Ab3xY", false},   // five characters
      {".model.tps.tavir-tmp-Ab3xY9.tps", false},
      {".model.tps.tavir-tmp-Ab3-Y9", false},
      {"model.tps", false},
      {".model.tps", false},
      {"/tmp/.x.tavir-tmp-Ab3xY9/model.tps", false},  // only the last component counts
      {"", false},
  };
  for (const auto& [name, temporary] : names) EXPECT_EQ(IsSaveTemporaryName(name), temporary) << name;
}

TEST_F(SaveFolder, AnEntryOfTheTemporaryNameIsNeverWrittenThrough) {
  // A link planted under the name the save picks (a leftover, or another user in a
  // shared folder) must not make the save write into the file it points to.
  const fs::path victim = dir_ / "victim.txt";
  WriteFileAtomic(victim.string(), {'v'});
  const fs::path target = dir_ / "model.tps";
  int opens = 0;
  SaveFileCalls calls = SystemSaveFileCalls();
  calls.Open = [&](const char* path, int flags, unsigned mode) {
    if (opens++ == 0) fs::create_symlink(victim, path);
    return ::open(path, flags, static_cast<mode_t>(mode));
  };
  WriteFileAtomic(target.string(), {1, 2, 3}, calls);
  EXPECT_EQ(opens, 2) << "the taken name is passed over for a fresh one";
  EXPECT_EQ(ReadWholeFile(victim.string()), Bytes{'v'});
  EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{1, 2, 3}));
  // The planted link is not the save's to remove.
  EXPECT_EQ(Names().size(), 3u);
}

TEST_F(SaveFolder, TheOldFilesPermissionsAreKept) {
  const fs::path target = dir_ / "model.tps";
  for (unsigned mode : {0600u, 0640u, 0644u, 0660u, 0755u, 0400u}) {
    WriteFileAtomic(target.string(), {1});
    ASSERT_EQ(::chmod(target.c_str(), mode), 0);
    WriteFileAtomic(target.string(), {2});
    EXPECT_EQ(Mode(target), mode) << std::oct << mode;
    EXPECT_EQ(ReadWholeFile(target.string()), Bytes{2});
    ::chmod(target.c_str(), 0600);
  }
}

TEST_F(SaveFolder, ANewFileGetsTheUsualPermissions) {
  const mode_t mask = ::umask(022);
  const fs::path target = dir_ / "new.tps";
  WriteFileAtomic(target.string(), {1});
  ::umask(mask);
  EXPECT_EQ(Mode(target), 0644u);
}

TEST_F(SaveFolder, SavingThroughALinkWritesTheFileItNames) {
  const fs::path real = dir_ / "projects" / "model.tps";
  fs::create_directories(real.parent_path());
  WriteFileAtomic(real.string(), {'o', 'l', 'd'});
  ::chmod(real.c_str(), 0600);
  // A relative link, reached through a second link.
  const fs::path link = dir_ / "link.tps";
  const fs::path link2 = dir_ / "link2.tps";
  fs::create_symlink(fs::path("projects") / "model.tps", link);
  fs::create_symlink("link.tps", link2);

  WriteFileAtomic(link2.string(), {'n', 'e', 'w'});
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_symlink(link2));
  EXPECT_EQ(fs::read_symlink(link), fs::path("projects") / "model.tps");
  EXPECT_EQ(ReadWholeFile(real.string()), (Bytes{'n', 'e', 'w'}));
  EXPECT_EQ(Mode(real), 0600u);
  EXPECT_EQ(EntriesIn(real.parent_path()), 1u);

  // A link whose file does not exist yet: the file is made where it points.
  const fs::path dangling = dir_ / "dangling.tps";
  fs::create_symlink(dir_ / "projects" / "later.tps", dangling);
  WriteFileAtomic(dangling.string(), {5});
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(ReadWholeFile((dir_ / "projects" / "later.tps").string()), Bytes{5});
}

TEST_F(SaveFolder, RefusalsNameTheFileTheUserChose) {
  const std::string inMissingFolder = (dir_ / "нет" / "model.tps").string();
  EXPECT_EQ(SaveError(inMissingFolder, {1}, SystemSaveFileCalls()),
            "Не удается создать файл " + inMissingFolder + ": папка не найдена.");
  fs::create_directories(dir_ / "folder.tps");
  const std::string folder = (dir_ / "folder.tps").string();
  EXPECT_EQ(SaveError(folder, {1}, SystemSaveFileCalls()),
            "Не удается записать файл " + folder + ": на месте файла находится папка.");
  EXPECT_EQ(Names(), std::vector<std::string>{"folder.tps"});
}

TEST_F(SaveFolder, ALinkLoopIsRefused) {
  const fs::path a = dir_ / "a.tps";
  const fs::path b = dir_ / "b.tps";
  fs::create_symlink(b, a);
  fs::create_symlink(a, b);
  EXPECT_EQ(SaveError(a.string(), {1}, SystemSaveFileCalls()),
            "Не удается сохранить файл " + a.string() + ": слишком много символьных ссылок.");
  EXPECT_TRUE(fs::is_symlink(a));
  EXPECT_TRUE(fs::is_symlink(b));
}

}  // namespace
}  // namespace tavir
