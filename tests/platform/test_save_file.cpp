// Saving a whole file: what a failure at each step leaves, the temporary file's
// name and creation, permissions and symbolic links.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/cut_save.h"
#include "platform/binstream.h"
#include "platform/ordinary_user.h"
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
  static ino_t Inode(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0);
    return st.st_ino;
  }
  // The temporary files of saves in the folder.
  std::vector<std::string> Temporaries() const {
    std::vector<std::string> names;
    for (const std::string& n : Names())
      if (IsSaveTemporaryName(n)) names.push_back(n);
    return names;
  }
  // Whether some open file holds a lock on the file at p.
  static bool Locked(const fs::path& p) {
    const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_GE(fd, 0) << p;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
  }
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
std::string SaveError(const std::string& path, const Bytes& bytes, bool backup,
                      const SaveFileCalls& calls = SystemSaveFileCalls()) {
  try {
    WriteFileAtomic(path, bytes, SaveFileOptions{.KeepBackup = backup}, calls);
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

TEST(SaveTemporaryName, NamesTheFileItWasSavedFor) {
  const std::vector<std::pair<std::string, std::string>> names = {
      {".model.tps.tavir-tmp-Ab3xY9", "model.tps"},
      {"/home/u/.model.tps.tavir-tmp-000000", "/home/u/model.tps"},
      {"C:\\work\\.m.tps.tavir-tmp-zzzzzz", "C:\\work\\m.tps"},
      {"/d/..x.tavir-tmp-abcdef", "/d/.x"},
      {"/d/model.tps", "/d/model.tps"},  // not a temporary: itself
      {"/d/.model.tps.tavir-tmp-Ab3xY", "/d/.model.tps.tavir-tmp-Ab3xY"},
  };
  for (const auto& [name, target] : names) EXPECT_EQ(SaveTemporaryTarget(name), target) << name;
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
  for (unsigned mode : {0600u, 0640u, 0644u, 0660u, 0755u, 0200u}) {
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

// ---- hard links ----

TEST_F(SaveFolder, EveryHardLinkShowsTheNewContents) {
  const fs::path target = dir_ / "old.tps";
  const fs::path other = dir_ / "hard.tps";
  WriteFileAtomic(target.string(), {'o', 'l', 'd', '!', '!'});
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  fs::create_hard_link(target, other);
  const ino_t inode = Inode(target);
  for (const Bytes& now : {Bytes{'n', 'e', 'w'}, Bytes(5000, 'x'), Bytes{}}) {
    WriteFileAtomic(target.string(), now);
    EXPECT_EQ(ReadWholeFile(target.string()), now);
    EXPECT_EQ(ReadWholeFile(other.string()), now) << "the other link keeps the old project";
    EXPECT_EQ(Inode(target), inode);
    EXPECT_EQ(fs::hard_link_count(target), 2u);
    EXPECT_EQ(Mode(target), 0640u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"hard.tps", "old.tps"}));
  }
  // Saved through the other name, or through a symbolic link to it, the same.
  WriteFileAtomic(other.string(), {1});
  EXPECT_EQ(ReadWholeFile(target.string()), Bytes{1});
  fs::create_symlink("old.tps", dir_ / "link.tps");
  WriteFileAtomic((dir_ / "link.tps").string(), {2});
  EXPECT_EQ(ReadWholeFile(other.string()), Bytes{2});
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.tps"));
}

// What a save of a linked file does, step by step, seen through the fault seam:
// the complete new file is flushed and closed before the target is opened.
struct InPlaceSteps {
  std::vector<std::string> Steps;
  std::string Target;  // the target's own path, as the system names it
  SaveFileCalls Calls = SystemSaveFileCalls();
  std::function<long(int, const void*, std::size_t)> TargetWrite;  // replaces writes into the target

  explicit InPlaceSteps(std::string target) : Target(std::move(target)) {
    Calls.Open = [this](const char* path, int flags, unsigned mode) {
      const int fd = ::open(path, flags, static_cast<mode_t>(mode));
      Steps.push_back(std::string(IsSaveTemporaryName(path) ? "open temporary" : "open target"));
      return fd;
    };
    Calls.Write = [this](int fd, const void* data, std::size_t n) -> long {
      const bool intoTarget = PathOf(fd) == Target;
      Steps.push_back(intoTarget ? "write target" : "write temporary");
      if (intoTarget && TargetWrite) return TargetWrite(fd, data, n);
      return static_cast<long>(::write(fd, data, n));
    };
    Calls.Fsync = [this](int fd) {
      const std::string p = PathOf(fd);
      Steps.push_back(fs::is_directory(p) ? "fsync folder" : p == Target ? "fsync target" : "fsync temporary");
      return ::fsync(fd);
    };
    Calls.Close = [this](int fd) {
      Steps.push_back(PathOf(fd) == Target ? "close target" : "close temporary");
      return ::close(fd);
    };
    Calls.Rename = [this](const char* from, const char* to) {
      Steps.push_back("rename");
      return ::rename(from, to);
    };
  }
  static std::string PathOf(int fd) { return fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).string(); }
};

TEST_F(SaveFolder, ALinkedFileChangesOnlyAfterTheNewFileIsOnDisk) {
  const fs::path target = dir_ / "old.tps";
  WriteFileAtomic(target.string(), {'o', 'l', 'd'});
  fs::create_hard_link(target, dir_ / "hard.tps");
  InPlaceSteps s(fs::canonical(target).string());
  const Bytes now = {'n', 'e', 'w', ' ', 'p', 'r', 'o', 'j', 'e', 'c', 't'};
  WriteFileAtomic(target.string(), now, s.Calls);
  // In the target: its head cleared, then the rest, then the head, each on disk
  // before the next.
  EXPECT_EQ(s.Steps, (std::vector<std::string>{"open temporary", "write temporary", "fsync temporary",
                                                "close temporary", "open target", "write target", "fsync target",
                                                "write target", "fsync target", "write target", "fsync target",
                                                "close target", "fsync folder"}));
  EXPECT_EQ(ReadWholeFile((dir_ / "hard.tps").string()), now);
}

// Wherever a write in place is cut, the file is either whole or starts with its
// head cleared: a project's signature is then wrong, so no reader takes the
// mixture of new and old bytes for a project.
TEST_F(SaveFolder, ALinkedFileCutAnywhereIsWholeOrHasItsHeadCleared) {
  const fs::path target = dir_ / "old.tps";
  Bytes old(3000, 'o');
  old[0] = 1;
  Bytes now(5000, 'n');
  now[0] = 1;
  now[1] = now[2] = now[3] = 0;
  const std::vector<test::SaveCut> cuts = {{1, 0}, {1, 2}, {2, 0}, {2, 1}, {2, 2500}, {2, 4995}, {3, 0}, {3, 1}};
  for (const test::SaveCut& cut : cuts) {
    SCOPED_TRACE("write " + std::to_string(cut.Write) + ", " + std::to_string(cut.Keep) + " bytes");
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    WriteFileAtomic(target.string(), old);
    fs::create_hard_link(target, dir_ / "hard.tps");
    ASSERT_TRUE(test::SaveKilledInPlace(target.string(), now, cut));
    const Bytes left = ReadWholeFile((dir_ / "hard.tps").string());
    ASSERT_FALSE(left.empty());
    EXPECT_TRUE(left == now || left == old || left[0] == 0) << "a torn file starts with " << int{left[0]};
    // The complete new file lies beside it.
    const std::vector<std::string> temps = Temporaries();
    ASSERT_EQ(temps.size(), 1u);
    EXPECT_EQ(ReadWholeFile((dir_ / temps[0]).string()), now);
  }
}

TEST_F(SaveFolder, AFailedWriteIntoALinkedFilePutsTheOldContentsBack) {
  const fs::path target = dir_ / "old.tps";
  const Bytes old(300, 'o');
  WriteFileAtomic(target.string(), old);
  fs::create_hard_link(target, dir_ / "hard.tps");
  InPlaceSteps s(fs::canonical(target).string());
  // The first write into the target takes a part and the disk is full; the old
  // contents fit again.
  s.TargetWrite = [calls = 0](int fd, const void* data, std::size_t n) mutable -> long {
    if (++calls > 2) return static_cast<long>(::write(fd, data, n));
    if (calls == 1) return static_cast<long>(::write(fd, data, n < 10 ? n : 10));
    errno = ENOSPC;
    return -1;
  };
  const std::string message = SaveError(target.string(), Bytes(1000, 'n'), s.Calls);
  EXPECT_EQ(message, "Ошибка записи файла " + target.string() + ": нет места на диске.");
  EXPECT_EQ(ReadWholeFile(target.string()), old);
  EXPECT_EQ(ReadWholeFile((dir_ / "hard.tps").string()), old);
  EXPECT_EQ(Names(), (std::vector<std::string>{"hard.tps", "old.tps"}));
}

TEST_F(SaveFolder, ALinkedFileThatCannotBeRepairedLeavesTheCompleteNewCopyBesideIt) {
  const fs::path target = dir_ / "old.tps";
  WriteFileAtomic(target.string(), Bytes(300, 'o'));
  fs::create_hard_link(target, dir_ / "hard.tps");
  InPlaceSteps s(fs::canonical(target).string());
  s.TargetWrite = [calls = 0](int fd, const void* data, std::size_t n) mutable -> long {
    if (calls++ == 0) return static_cast<long>(::write(fd, data, n < 10 ? n : 10));
    errno = EIO;
    return -1;
  };
  const Bytes now(1000, 'n');
  const std::string message = SaveError(target.string(), now, s.Calls);
  const std::vector<std::string> temps = Temporaries();
  ASSERT_EQ(temps.size(), 1u) << message;
  const std::string copy = (dir_ / temps[0]).string();
  EXPECT_EQ(ReadWholeFile(copy), now);
  EXPECT_EQ(message, "Ошибка записи файла " + target.string() +
                         ": ошибка ввода-вывода. Файл мог быть поврежден; новое содержимое полностью записано в файл " +
                         copy + ".");
  // The next save that succeeds takes the copy away.
  WriteFileAtomic(target.string(), now);
  EXPECT_EQ(ReadWholeFile((dir_ / "hard.tps").string()), now);
  EXPECT_TRUE(Temporaries().empty());
}

// A crash while the linked file is being written: the complete new file is there.
TEST_F(SaveFolder, ACrashInTheMiddleOfALinkedFileLeavesTheCompleteNewCopy) {
  const fs::path target = dir_ / "old.tps";
  WriteFileAtomic(target.string(), Bytes(300, 'o'));
  fs::create_hard_link(target, dir_ / "hard.tps");
  const Bytes now(4000, 'n');
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InPlaceSteps s(fs::canonical(target).string());
    s.TargetWrite = [](int fd, const void* data, std::size_t n) -> long {
      (void)::write(fd, data, n / 2);
      ::_exit(9);  // the power goes
    };
    try {
      WriteFileAtomic(target.string(), now, s.Calls);
    } catch (...) {
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 9) << "the save did not reach the linked file";
  const std::vector<std::string> temps = Temporaries();
  ASSERT_EQ(temps.size(), 1u);
  EXPECT_EQ(ReadWholeFile((dir_ / temps[0]).string()), now);
}

// ---- write-protected and odd targets ----

TEST_F(SaveFolder, AWriteProtectedFileIsRefusedAndKept) {
  const fs::path target = dir_ / "model.tps";
  fs::create_symlink("model.tps", dir_ / "link.tps");
  const Bytes old = {'o', 'l', 'd'};
  struct Case {
    unsigned Mode;
    bool Linked;  // with a second hard link
    const char* Through;
  };
  for (const Case& c : {Case{0444, false, "model.tps"}, Case{0400, false, "model.tps"}, Case{0555, false, "model.tps"},
                        Case{0000, false, "model.tps"}, Case{0444, true, "model.tps"}, Case{0444, false, "link.tps"}}) {
    SCOPED_TRACE(std::to_string(c.Mode) + (c.Linked ? " linked " : " ") + c.Through);
    fs::remove(dir_ / "hard.tps");
    ::chmod(target.c_str(), 0600);
    WriteFileAtomic(target.string(), old);
    if (c.Linked) fs::create_hard_link(target, dir_ / "hard.tps");
    ASSERT_EQ(::chmod(target.c_str(), c.Mode), 0);
    const std::string path = (dir_ / c.Through).string();
    for (bool backup : {false, true})
      EXPECT_EQ(SaveError(path, Bytes(100, 'n'), backup),
                "Не удается записать файл " + path + ": файл доступен только для чтения.");
    EXPECT_EQ(Mode(target), c.Mode);
    ::chmod(target.c_str(), 0600);
    EXPECT_EQ(ReadWholeFile(target.string()), old);
    EXPECT_TRUE(Temporaries().empty());
    EXPECT_FALSE(fs::exists(dir_ / "model.tps.bak"));
  }
}

// Permissions of an ordinary user: no write permission for the file, though the
// folder is writable, is a refusal too; a file of their own saves as ever.
TEST_F(SaveFolder, AUserWithoutWritePermissionIsRefused) {
  const fs::path target = dir_ / "model.tps";
  const fs::path own = dir_ / "own.tps";
  const fs::path unreadable = dir_ / "secret.tps";
  WriteFileAtomic(target.string(), {'o', 'l', 'd'});
  ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
  WriteFileAtomic(unreadable.string(), {'s'});
  ASSERT_EQ(::chmod(unreadable.c_str(), 0200), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);  // anyone may make files here
  const bool asRoot = ::geteuid() == 0;
  const OrdinaryUserRun run = AsOrdinaryUser([&]() -> std::string {
    std::string failures;
    const std::string refused = SaveError(target.string(), {'n', 'e', 'w'}, false);
    // As root the file is another user's; as an ordinary user it is one's own,
    // and its permission bits allow the write.
    if (asRoot && refused != "Не удается записать файл " + target.string() + ": файл доступен только для чтения.")
      failures += "refusal: \"" + refused + "\"; ";
    WriteFileAtomic(own.string(), {1});
    WriteFileAtomic(own.string(), {2});
    if (ReadWholeFile(own.string()) != Bytes{2}) failures += "own file not saved; ";
    // A backup of a file one may write but not read cannot be made: no save.
    ::chmod(own.c_str(), 0200);
    const std::string noBackup = SaveError(own.string(), {3}, true);
    if (noBackup != "Не удается открыть файл " + own.string() + ": нет прав доступа. Резервная копия не сохранена, файл " +
                        own.string() + " не изменен.")
      failures += "backup of an unreadable file: \"" + noBackup + "\"; ";
    ::chmod(own.c_str(), 0600);
    if (ReadWholeFile(own.string()) != Bytes{2}) failures += "own file changed without its backup; ";
    // One's own project made read-only: the case a plain write refuses and a
    // rename in a writable folder would not.
    ::chmod(own.c_str(), 0444);
    const std::string own444 = SaveError(own.string(), {4}, false);
    if (own444 != "Не удается записать файл " + own.string() + ": файл доступен только для чтения.")
      failures += "own 0444 file: \"" + own444 + "\"; ";
    if (ReadWholeFile(own.string()) != Bytes{2}) failures += "own 0444 file changed; ";
    try {
      ReadWholeFile(unreadable.string());
      failures += "an unreadable file was read; ";
    } catch (const std::runtime_error& e) {
      if (std::string(e.what()) != "Не удается открыть файл " + unreadable.string() + ": нет прав доступа.")
        failures += "unreadable: \"" + std::string(e.what()) + "\"; ";
    }
    return failures;
  });
  ::chmod(dir_.c_str(), 0755);
  if (!run.Ran) {
    // No ordinary user to be had: what root can check, the mode bits, is
    // checked above; say so rather than pass in silence.
    std::cerr << "[ NOTE ] not run as an ordinary user: " << run.Why << '\n';
    RecordProperty("ordinary_user", run.Why);
    EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{'o', 'l', 'd'}));
    return;
  }
  EXPECT_EQ(run.Failures, "");
  if (asRoot) {
    EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{'o', 'l', 'd'}));
  }
  EXPECT_TRUE(Temporaries().empty());
}

// A file anyone may write, in a folder the user may not write: the folder is
// why it cannot be saved.
TEST_F(SaveFolder, AFolderWithoutWritePermissionIsNamedAsTheReason) {
  const fs::path folder = dir_ / "locked";
  fs::create_directories(folder);
  const fs::path target = folder / "shared.tps";
  WriteFileAtomic(target.string(), {'o', 'l', 'd'});
  ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
  const OrdinaryUserRun run = AsOrdinaryUser([&]() -> std::string {
    const std::string refused = SaveError(target.string(), {'n', 'e', 'w'}, false);
    const std::string wanted =
        "Не удается создать файл " + target.string() + ": нет прав на запись в папку " + folder.string() + ".";
    return refused == wanted ? "" : "refusal: \"" + refused + "\"";
  });
  ::chmod(folder.c_str(), 0755);
  if (!run.Ran) {
    std::cerr << "[ NOTE ] not run as an ordinary user: " << run.Why << '\n';
    RecordProperty("ordinary_user", run.Why);
    return;
  }
  EXPECT_EQ(run.Failures, "");
  EXPECT_EQ(ReadWholeFile(target.string()), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(EntriesIn(folder), 1u);
}

TEST_F(SaveFolder, WhatIsNotAFileIsNamedForWhatItIs) {
  const fs::path fifo = dir_ / "pipe.tps";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const fs::path zero = dir_ / "zero.tps";
  fs::create_symlink("/dev/zero", zero);
  fs::create_directories(dir_ / "folder.tps");
  const struct {
    fs::path Path;
    const char* Reason;
  } cases[] = {{fifo, "файл не является обычным файлом"},
               {zero, "файл не является обычным файлом"},
               {dir_ / "folder.tps", "на месте файла находится папка"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path.string());
    const std::string path = c.Path.string();
    EXPECT_EQ(SaveError(path, {1}, SystemSaveFileCalls()), "Не удается записать файл " + path + ": " + c.Reason + ".");
    try {
      ReadWholeFile(path);  // returns at once: neither the pipe nor the device is read
      ADD_FAILURE() << "read";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), "Не удается открыть файл " + path + ": " + c.Reason + ".");
    }
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_symlink(zero));
  EXPECT_TRUE(Temporaries().empty());
  const std::string missing = (dir_ / "none.tps").string();
  EXPECT_THROW(
      {
        try {
          ReadWholeFile(missing);
        } catch (const std::runtime_error& e) {
          EXPECT_EQ(std::string(e.what()), "Не удается открыть файл " + missing + ": файл не найден.");
          throw;
        }
      },
      std::runtime_error);
}

// ---- temporaries of interrupted saves ----

TEST_F(SaveFolder, ASaveHoldsItsTemporaryLockedUntilItIsDone) {
  const fs::path target = dir_ / "model.tps";
  WriteFileAtomic(target.string(), {1});
  std::vector<std::string> seen;
  SaveFileCalls calls = SystemSaveFileCalls();
  calls.Write = [&](int fd, const void* data, std::size_t n) -> long {
    seen.push_back(std::string("write ") + (Locked(PathOf(fd)) ? "locked" : "free"));
    return static_cast<long>(::write(fd, data, n));
  };
  calls.Rename = [&](const char* from, const char* to) {
    // The temporary is closed by now; the lock stays.
    seen.push_back(std::string("rename ") + (Locked(from) ? "locked" : "free"));
    return ::rename(from, to);
  };
  WriteFileAtomic(target.string(), {2}, calls);
  EXPECT_EQ(seen, (std::vector<std::string>{"write locked", "rename locked"}));
}

TEST_F(SaveFolder, ASaveRemovesTheLeftoversOfItsTargetThatNoSaveHolds) {
  const fs::path target = dir_ / "model.tps";
  WriteFileAtomic(target.string(), {1});
  const auto leftover = [&](const std::string& name) {
    const fs::path p = dir_ / name;
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::write(fd, "half", 4), 4);
    ::close(fd);
    return p;
  };
  const fs::path killed = leftover(".model.tps.tavir-tmp-Kill9x");
  const fs::path killed2 = leftover(".model.tps.tavir-tmp-000000");
  const fs::path running = leftover(".model.tps.tavir-tmp-Runnin");  // a save in another program
  const fs::path otherTarget = leftover(".other.tps.tavir-tmp-Kill9x");
  const fs::path notOne = leftover(".model.tps.tavir-tmp-Kill9");  // five characters: not a temporary
  fs::create_symlink(target, dir_ / ".model.tps.tavir-tmp-LinkAB");
  const int held = ::open(running.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  WriteFileAtomic(target.string(), {2});
  EXPECT_FALSE(fs::exists(killed));
  EXPECT_FALSE(fs::exists(killed2));
  EXPECT_TRUE(fs::exists(running)) << "a running save's temporary is left alone";
  EXPECT_TRUE(fs::exists(otherTarget)) << "another file's temporaries are its own saves' business";
  EXPECT_TRUE(fs::exists(notOne));
  EXPECT_TRUE(fs::is_symlink(dir_ / ".model.tps.tavir-tmp-LinkAB")) << "a link is never followed or removed";
  EXPECT_EQ(ReadWholeFile(target.string()), Bytes{2});

  // A failed save removes nothing of them.
  ::close(held);  // that save has been killed too
  SaveFileCalls failing = SystemSaveFileCalls();
  failing.Rename = [](const char*, const char*) {
    errno = EIO;
    return -1;
  };
  EXPECT_NE(SaveError(target.string(), {3}, failing), "");
  EXPECT_TRUE(fs::exists(running));
  WriteFileAtomic(target.string(), {4});
  EXPECT_FALSE(fs::exists(running));
  EXPECT_TRUE(fs::exists(otherTarget));
}

// What interrupted saves left of a file: its own temporaries under any of its
// names beside it or beside the file a link names, newest first; not another
// file's, not a running save's, never a link.
TEST_F(SaveFolder, TheCopiesOfInterruptedSavesOfAFileAreFoundUnderEveryNameOfIt) {
  const fs::path target = dir_ / "old.tps";
  WriteFileAtomic(target.string(), {'o'});
  fs::create_hard_link(target, dir_ / "hard.tps");
  fs::create_directories(dir_ / "elsewhere");
  fs::create_symlink(target, dir_ / "elsewhere" / "link.tps");
  WriteFileAtomic((dir_ / "other.tps").string(), {'x'});
  const auto leftover = [&](const std::string& name, int age) {
    const fs::path p = dir_ / name;
    WriteFileAtomic(p.string(), {'c'});
    fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::minutes(age));
    return p.string();
  };
  const std::string older = leftover(".old.tps.tavir-tmp-Older1", 10);
  const std::string newer = leftover(".hard.tps.tavir-tmp-Newer1", 5);
  (void)leftover(".other.tps.tavir-tmp-Other1", 1);  // another file's
  const std::string running = leftover(".old.tps.tavir-tmp-Runnin", 1);
  fs::create_symlink(target, dir_ / ".old.tps.tavir-tmp-LinkAB");
  const int held = ::open(running.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  EXPECT_TRUE(SaveTemporaryHeld(running));
  EXPECT_FALSE(SaveTemporaryHeld(older));

  const std::vector<std::string> both = {newer, older};
  for (const fs::path& name : {target, dir_ / "hard.tps", dir_ / "elsewhere" / "link.tps"}) {
    SCOPED_TRACE(name.string());
    std::vector<std::string> found = InterruptedSaveCopies(name.string());
    for (std::string& f : found) f = fs::canonical(f).string();
    std::vector<std::string> wanted = both;
    for (std::string& f : wanted) f = fs::canonical(f).string();
    EXPECT_EQ(found, wanted);
  }
  EXPECT_TRUE(InterruptedSaveCopies((dir_ / "missing.tps").string()).empty());
  ::close(held);
  EXPECT_EQ(InterruptedSaveCopies(target.string()).size(), 3u) << "its save was killed: a copy like the others";
}

// A save killed with its temporary half written: that temporary stays behind,
// no longer held, and the next save takes it away.
TEST_F(SaveFolder, TheTemporaryOfAKilledSaveGoesWithTheNextSave) {
  const fs::path target = dir_ / "big.tps";
  const Bytes old(1000, 'o');
  WriteFileAtomic(target.string(), old);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(ready[0]);
    SaveFileCalls calls = SystemSaveFileCalls();
    calls.Write = [&](int fd, const void* data, std::size_t n) -> long {
      (void)::write(fd, data, n / 2);
      (void)::write(ready[1], "w", 1);
      for (;;) ::pause();  // killed here
    };
    try {
      WriteFileAtomic(target.string(), Bytes(100000, 'n'), calls);
    } catch (...) {
    }
    ::_exit(0);
  }
  ::close(ready[1]);
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ::close(ready[0]);
  std::vector<std::string> temps = Temporaries();
  ASSERT_EQ(temps.size(), 1u);
  const fs::path temp = dir_ / temps[0];
  EXPECT_TRUE(Locked(temp)) << "held while the save runs";
  // Meanwhile a save in this program leaves it alone.
  WriteFileAtomic(target.string(), old);
  EXPECT_TRUE(fs::exists(temp));
  ::kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(fs::exists(temp));
  EXPECT_FALSE(Locked(temp));
  EXPECT_EQ(ReadWholeFile(target.string()), old);
  WriteFileAtomic(target.string(), {'n'});
  EXPECT_TRUE(Temporaries().empty());
  EXPECT_EQ(Names(), std::vector<std::string>{"big.tps"});
}

// ---- backups ----

TEST_F(SaveFolder, ABackupKeepsThePreviousFileWithItsMode) {
  const fs::path target = dir_ / "model.tps";
  const fs::path bak = dir_ / "model.tps.bak";
  EXPECT_EQ(BackupFileName(target.string()), bak.string());
  const SaveFileOptions backup{.KeepBackup = true};
  WriteFileAtomic(target.string(), {1}, backup);
  EXPECT_FALSE(fs::exists(bak)) << "nothing to keep before the first save";
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  WriteFileAtomic(target.string(), {2}, backup);
  EXPECT_EQ(ReadWholeFile(bak.string()), Bytes{1});
  EXPECT_EQ(Mode(bak), 0640u);
  EXPECT_EQ(ReadWholeFile(target.string()), Bytes{2});
  ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
  WriteFileAtomic(target.string(), {3}, backup);
  EXPECT_EQ(ReadWholeFile(bak.string()), Bytes{2});
  EXPECT_EQ(Mode(bak), 0604u) << "the mode of the file it keeps, not of the older backup";
  // Without the option the backup stays as it was.
  WriteFileAtomic(target.string(), {4});
  EXPECT_EQ(ReadWholeFile(bak.string()), Bytes{2});
  EXPECT_EQ(Names(), (std::vector<std::string>{"model.tps", "model.tps.bak"}));

  // A linked file: the backup has the old contents, every link the new ones.
  fs::create_hard_link(target, dir_ / "hard.tps");
  WriteFileAtomic(target.string(), {5}, backup);
  EXPECT_EQ(ReadWholeFile(bak.string()), Bytes{4});
  EXPECT_EQ(ReadWholeFile((dir_ / "hard.tps").string()), Bytes{5});
  EXPECT_EQ(fs::hard_link_count(bak), 1u);
}

TEST_F(SaveFolder, ABackupGoesBesideTheFileALinkNames) {
  fs::create_directories(dir_ / "projects");
  const fs::path real = dir_ / "projects" / "model.tps";
  WriteFileAtomic(real.string(), {1});
  fs::create_symlink(real, dir_ / "link.tps");
  WriteFileAtomic((dir_ / "link.tps").string(), {2}, SaveFileOptions{.KeepBackup = true});
  EXPECT_EQ(ReadWholeFile((dir_ / "projects" / "model.tps.bak").string()), Bytes{1});
  EXPECT_FALSE(fs::exists(dir_ / "link.tps.bak"));
}

TEST_F(SaveFolder, ABackupThatCannotBeMadeStopsTheSave) {
  const fs::path target = dir_ / "model.tps";
  WriteFileAtomic(target.string(), {1});
  fs::create_directories(dir_ / "model.tps.bak");  // a folder in the backup's way
  const std::string message = SaveError(target.string(), {2}, true);
  EXPECT_EQ(message, "Не удается записать файл " + (dir_ / "model.tps.bak").string() +
                         ": на месте файла находится папка. Резервная копия не сохранена, файл " + target.string() +
                         " не изменен.");
  EXPECT_EQ(ReadWholeFile(target.string()), Bytes{1});
  EXPECT_TRUE(Temporaries().empty());
  // A failing step of the backup's own write, through the seam: the same.
  fs::remove(dir_ / "model.tps.bak");
  SaveFileCalls calls = SystemSaveFileCalls();
  calls.Rename = [](const char* from, const char* to) {
    if (std::string(to).ends_with(".bak")) {
      errno = ENOSPC;
      return -1;
    }
    return ::rename(from, to);
  };
  EXPECT_NE(SaveError(target.string(), {2}, true, calls).find("Резервная копия не сохранена"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(target.string()), Bytes{1});
  EXPECT_EQ(Names(), std::vector<std::string>{"model.tps"});
}

}  // namespace
}  // namespace tavir
