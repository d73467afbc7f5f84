// The editor's open and save commands against what the disk holds: names that
// are not project files, write-protected files, hard links and the backup option.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "editor/project_io.h"
#include "editor_fixture.h"
#include "platform/binstream.h"

namespace tavir::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class DiskCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavir_disk_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // A project named `name` saved through Save As.
  void SavedProject(EditorFixture& f, const std::string& name) {
    f.NewProject();
    f.Sample();
    f.Ui.SaveName = Path(name);
    ASSERT_TRUE(f.Commands.FileSaveAs());
    f.Messages.Shown.clear();
  }
  Bytes Current(EditorFixture& f) { return SaveProjectBytes(f.Supervisor, f.Project, f.Commands.Windows()); }
  fs::path dir_;
};

// A pipe or a link to a device named as the project used to be "не найден".
TEST_F(DiskCommandsTest, OpeningWhatIsNoFileSaysWhatItIs) {
  const std::string fifo = Path("pipe.tps");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string zero = Path("zero.tps");
  fs::create_symlink("/dev/zero", zero);
  EditorFixture f;
  SavedProject(f, "model.tps");
  const Bytes before = Current(f);
  const std::size_t captions = f.Ui.Captions.size();
  for (const std::string& name : {fifo, zero}) {
    SCOPED_TRACE(name);
    f.Messages.Shown.clear();
    f.Ui.OpenName = name;
    EXPECT_FALSE(f.Commands.FileOpen());
    ASSERT_EQ(f.Messages.Shown.size(), 1u);
    EXPECT_EQ(f.Messages.Shown[0].Kind, MsgKind::Error);
    EXPECT_EQ(f.Messages.Shown[0].Text, "Не удается открыть файл " + name + ": файл не является обычным файлом.");
    EXPECT_EQ(Current(f), before);
    EXPECT_EQ(f.Project.FileName(), Path("model.tps"));
    EXPECT_EQ(f.Ui.Captions.size(), captions);
  }
}

// Saving onto a pipe used to say that a folder stood there.
TEST_F(DiskCommandsTest, SavingOntoAPipeSaysWhatItIs) {
  const std::string fifo = Path("pipe.tps");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EditorFixture f;
  f.NewProject();
  f.Ui.SaveName = fifo;  // the save dialog is told it exists and the replacement is confirmed
  f.Ui.ExistingFiles.insert(fifo);
  f.Messages.Answers = {MsgResult::Ok};
  EXPECT_FALSE(f.Commands.FileSaveAs());
  ASSERT_EQ(f.Messages.Shown.size(), 2u);
  EXPECT_EQ(f.Messages.Shown[1].Text, "Не удается записать файл " + fifo + ": файл не является обычным файлом.");
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_EQ(f.Project.FileName(), "NoName.tps");
}

TEST_F(DiskCommandsTest, AWriteProtectedProjectIsRefused) {
  EditorFixture f;
  SavedProject(f, "model.tps");
  const std::string path = Path("model.tps");
  const Bytes old = ReadWholeFile(path);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  f.Project.Materials().AddMaterial("Бетон");
  EXPECT_FALSE(f.Commands.FileSave());
  ASSERT_EQ(f.Messages.Shown.size(), 1u);
  EXPECT_EQ(f.Messages.Shown[0].Text, "Не удается записать файл " + path + ": файл доступен только для чтения.");
  EXPECT_EQ(ReadWholeFile(path), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// `ln old.tps hard.tps`, then a save of old.tps: both names show the new project.
TEST_F(DiskCommandsTest, ASaveReachesEveryHardLink) {
  EditorFixture f;
  SavedProject(f, "old.tps");
  fs::create_hard_link(Path("old.tps"), Path("hard.tps"));
  f.Project.Materials().AddMaterial("Бетон");
  ASSERT_TRUE(f.Commands.FileSave());
  EXPECT_EQ(ReadWholeFile(Path("hard.tps")), Current(f));
  EXPECT_EQ(ReadWholeFile(Path("old.tps")), Current(f));
  EXPECT_EQ(fs::hard_link_count(Path("old.tps")), 2u);
  EditorFixture g;
  g.Ui.OpenName = Path("hard.tps");
  ASSERT_TRUE(g.Commands.FileOpen());
  EXPECT_EQ(g.Project.Materials().Count(), f.Project.Materials().Count());
}

TEST_F(DiskCommandsTest, TheBackupOptionOfTheProgramOptions) {
  EditorFixture f;
  SavedProject(f, "model.tps");
  const std::string bak = Path("model.tps.bak");
  const Bytes first = ReadWholeFile(Path("model.tps"));
  f.Supervisor.Options.SetSaveBAK(1);
  f.Project.Materials().AddMaterial("Бетон");
  ASSERT_TRUE(f.Commands.FileSave());
  EXPECT_EQ(ReadWholeFile(bak), first);
  // Save As over another existing file keeps that one's previous contents.
  const std::string other = Path("other.tps");
  WriteFileAtomic(other, Bytes{7, 7});
  f.Ui.SaveName = other;
  f.Ui.ExistingFiles.insert(other);
  f.Messages.Answers = {MsgResult::Ok};
  ASSERT_TRUE(f.Commands.FileSaveAs());
  EXPECT_EQ(ReadWholeFile(other + ".bak"), (Bytes{7, 7}));
}

}  // namespace
}  // namespace tavir::testing
