// A save of a hard-linked project killed half way through the file itself, met in
// the editor's windows: opening either name says where the complete copy lies;
// that name typed into the open dialog opens the project, which the editor holds
// as unsaved work of the original file until it is saved back there.
#include "editor/project_io.h"
#include "editor_qt/edit_fixture.h"
#include "fakes/cut_save.h"
#include "fakes/dialogs_by_name.h"
#include "platform/binstream.h"

namespace tavir::test {
namespace {

using RecoveryTest = EditorFixture;

TEST_F(RecoveryTest, TheCopyOfAKilledSaveIsOpenedByItsNameAndSavedBack) {
  const std::filesystem::path dir = TempDir("recovery");
  const std::string old = (dir / "old.tps").string();
  const std::string hard = (dir / "hard.tps").string();
  MeshedPlate();
  {
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(old));
    Run("acFileSaveAs");
  }
  std::filesystem::create_hard_link(old, hard);
  Run("acModeEdit");
  Click(0.5, 0.5);
  Run("acEditDelete");
  ASSERT_EQ(Project().Elements().Count(), 23);
  const std::vector<std::uint8_t> now = SaveProjectBytes(Supervisor(), Project(), Commands().Windows());
  ASSERT_TRUE(SaveKilledInPlace(old, now, {2, 1000}));
  const std::string copy = CopyLeftIn(dir);
  ASSERT_FALSE(copy.empty());

  // The program anew, as after the power came back.
  StartProgram();
  {
    DialogScript script;
    script.Dialogs.push_back(TypedFileName(hard));
    Run("acFileOpen");
    ASSERT_EQ(script.Boxes.size(), 1u);
    const std::string text = script.Boxes[0].Text.toStdString();
    EXPECT_NE(text.find("полная копия сохранявшегося проекта лежит рядом, в файле " + copy + "."), std::string::npos)
        << text;
    EXPECT_EQ(Commands().Windows().Count(), 0);
  }
  {
    DialogScript script;
    script.Dialogs.push_back(TypedFileName(copy));
    Run("acFileOpen");
    EXPECT_TRUE(script.Boxes.empty());
  }
  EXPECT_EQ(Project().Elements().Count(), 23);
  EXPECT_EQ(Main().windowTitle(), "Программный комплекс \"Тавир\" - редактор [old.tps]");

  // Exit asks to save it into old.tps; Да mends both names.
  DialogScript script;
  script.Answers.push_back(QMessageBox::Yes);
  Run("acFileExit");
  ASSERT_EQ(script.Boxes.size(), 1u);
  EXPECT_EQ(script.Boxes[0].Text.toStdString(), "Сохранить изменения в проекте «old.tps»?");
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(ReadWholeFile(hard), now);
  EXPECT_EQ(ReadWholeFile(old), now);
  EXPECT_FALSE(std::filesystem::exists(copy));
}

}  // namespace
}  // namespace tavir::test
