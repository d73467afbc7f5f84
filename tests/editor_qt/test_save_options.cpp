// Saving from the editor's window with the "Сохранение" sheet's backup option,
// and the refusals a save meets on the disk, as the user sees them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTabWidget>

#include <sys/stat.h>

#include "editor_qt/edit_fixture.h"

namespace tavir::test {
namespace {

namespace fs = std::filesystem;

class SaveOptionsTest : public EditorFixture {
 protected:
  // Saves under a name through the save dialog.
  void SaveAs(const std::string& path) {
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(path));
    Run("acFileSaveAs");
  }
  // The settings dialog with its backup box set, closed with OK.
  void SetBackups(bool on) {
    DialogScript script;
    script.Dialogs.push_back([on](QDialog& d) {
      auto* pages = d.findChild<QTabWidget*>("PCtrl_Params");
      EXPECT_NE(pages, nullptr);
      QCheckBox* box = d.findChild<QCheckBox*>("ChBox_SaveBAK");
      EXPECT_NE(box, nullptr);
      if (pages != nullptr && box != nullptr) {
        QWidget* sheet = d.findChild<QWidget*>("TSheet_Save");
        EXPECT_NE(sheet, nullptr);
        EXPECT_TRUE(sheet != nullptr && sheet->isAncestorOf(box));
        if (sheet != nullptr) pages->setCurrentWidget(sheet);
        box->setChecked(on);
      }
      d.findChild<QPushButton*>("Btn_OK")->click();
      return d.result();
    });
    Run("acServiceParam");
  }
};

TEST_F(SaveOptionsTest, WithBackupsOnEachSaveKeepsThePreviousFile) {
  NewTask(4, 4);
  const fs::path dir = TempDir("backups");
  const fs::path path = dir / "model.tps";
  const fs::path bak = dir / "model.tps.bak";
  SaveAs(path.string());
  Run("acFileSave");
  EXPECT_FALSE(fs::exists(bak)) << "the option is off by default";

  SetBackups(true);
  EXPECT_EQ(Supervisor().Options.SaveBAK, 1);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const std::vector<char> before = FileBytes(path);
  Project().Materials().AddMaterial("Бетон");
  Run("acFileSave");
  ASSERT_TRUE(fs::exists(bak));
  EXPECT_EQ(FileBytes(bak), before);
  EXPECT_NE(FileBytes(path), before);
  EXPECT_EQ(fs::status(bak).permissions(), fs::perms(0640));

  // Off again: the backup stays as the last save with the option left it.
  SetBackups(false);
  const std::vector<char> kept = FileBytes(bak);
  Project().Materials().AddMaterial("Сталь");
  Run("acFileSave");
  EXPECT_EQ(FileBytes(bak), kept);
}

TEST_F(SaveOptionsTest, AWriteProtectedProjectIsNotSavedOver) {
  NewTask(4, 4);
  const fs::path dir = TempDir("readonly");
  const fs::path path = dir / "model.tps";
  SaveAs(path.string());
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const std::vector<char> before = FileBytes(path);
  Project().Materials().AddMaterial("Бетон");
  DialogScript script;  // the error box
  Run("acFileSave");
  ASSERT_EQ(script.Boxes.size(), 1u);
  EXPECT_EQ(script.Boxes[0].Title.toStdString(), "Ошибка");
  EXPECT_EQ(script.Boxes[0].Text.toStdString(),
            "Не удается записать файл " + path.string() + ": файл доступен только для чтения.");
  EXPECT_EQ(FileBytes(path), before);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
}

}  // namespace
}  // namespace tavir::test
