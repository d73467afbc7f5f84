// The editor's open and save commands against what the disk holds: names that
// are not project files, write-protected files, hard links and the backup option.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "editor/project_io.h"
#include "editor_fixture.h"
#include "fakes/cut_save.h"
#include "platform/binstream.h"
#include "platform/ordinary_user.h"
#include "platform/temp_folder.h"

namespace tavir::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class DiskCommandsTest : public TempFolder {
 protected:
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

// A file the user may not read used to give "Не удается открыть файл" and no reason.
TEST_F(DiskCommandsTest, AnUnreadableProjectSaysSo) {
  const std::string secret = Path("secret.tps");
  {
    EditorFixture f;
    SavedProject(f, "secret.tps");
  }
  ASSERT_EQ(::chmod(secret.c_str(), 0200), 0);
  const OrdinaryUserRun run = AsOrdinaryUser([&]() -> std::string {
    EditorFixture f;
    f.Ui.OpenName = secret;
    if (f.Commands.FileOpen()) return "opened";
    if (f.Messages.Shown.size() != 1) return std::to_string(f.Messages.Shown.size()) + " messages";
    const std::string expected = "Не удается открыть файл " + secret + ": нет прав доступа.";
    if (f.Messages.Shown[0].Text != expected) return "message \"" + f.Messages.Shown[0].Text + "\"";
    if (f.Commands.Windows().Count() != 0) return "a window was opened";
    return "";
  });
  if (!run.Ran) {
    // Permissions bind no administrator: without an ordinary user only the
    // file's being left alone can be checked.
    std::cerr << "[ NOTE ] not run as an ordinary user: " << run.Why << '\n';
    RecordProperty("ordinary_user", run.Why);
  }
  EXPECT_EQ(run.Failures, "");
  ::chmod(secret.c_str(), 0600);
  EditorFixture g;
  g.Ui.OpenName = secret;
  EXPECT_TRUE(g.Commands.FileOpen());
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

// The same save killed half way through the file itself: both names are refused
// with the name of the complete copy it left; the copy opens as old.tps, holding
// work that old.tps does not, and saving it mends both names.
TEST_F(DiskCommandsTest, AKilledSaveOfAHardLinkedProjectIsRecoveredFromItsCopy) {
  EditorFixture f;
  SavedProject(f, "old.tps");
  fs::create_hard_link(Path("old.tps"), Path("hard.tps"));
  f.Sample().K[4]->X = 4;
  const Bytes now = Current(f);
  ASSERT_TRUE(test::SaveKilledInPlace(Path("old.tps"), now, {2, 400}));
  const std::string copy = test::CopyLeftIn(dir_);
  ASSERT_FALSE(copy.empty());

  EditorFixture g;
  for (const std::string name : {"hard.tps", "old.tps"}) {
    g.Messages.Shown.clear();
    g.Ui.OpenName = Path(name);
    EXPECT_FALSE(g.Commands.FileOpen());
    ASSERT_EQ(g.Messages.Shown.size(), 1u);
    EXPECT_EQ(g.Messages.Shown[0].Kind, MsgKind::Error);
    EXPECT_NE(g.Messages.Shown[0].Text.find("Сохранение файла " + Path(name) +
                                            " было прервано; полная копия сохранявшегося проекта лежит рядом, в файле " +
                                            copy + "."),
              std::string::npos)
        << g.Messages.Shown[0].Text;
    EXPECT_EQ(g.Commands.Windows().Count(), 0);
  }

  g.Messages.Shown.clear();
  g.Ui.OpenName = copy;
  ASSERT_TRUE(g.Commands.FileOpen());
  EXPECT_TRUE(g.Messages.Shown.empty());
  EXPECT_EQ(Current(g), now);
  EXPECT_EQ(g.Project.FileName(), Path("old.tps"));
  EXPECT_EQ(g.Ui.Captions.back(), "Программный комплекс \"Тавир\" - редактор [old.tps]");
  EXPECT_TRUE(g.Commands.ProjectChanged()) << "old.tps does not hold it";
  ASSERT_TRUE(g.Commands.FileSave());
  EXPECT_FALSE(g.Commands.ProjectChanged());
  EXPECT_EQ(ReadWholeFile(Path("hard.tps")), now);
  EXPECT_EQ(ReadWholeFile(Path("old.tps")), now);
  EXPECT_FALSE(fs::exists(copy));
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
