// A save of a hard-linked project killed half way through the file itself, met in
// the analysis program's windows: the damaged file is refused with the name of the
// complete copy; that name typed into the open dialog opens the project, which
// then solves.
#include "calc_fixture.h"
#include "fakes/cut_save.h"
#include "platform/binstream.h"

namespace tavir::calctest {
namespace {

class CalcRecovery : public CalcFixture {
 protected:
  // The open dialog with the name typed into its name field.
  bool OpenTyped(const std::string& path) {
    dialogs.Handlers["OpenDialog"] = TypedFileName(path);
    return dm.Run("acFileOpen");
  }
};

TEST_F(CalcRecovery, TheCopyOfAKilledSaveIsOpenedByItsName) {
  const auto dir = TempDir();
  const std::string old = (dir / "old.tps").string();
  const std::string hard = (dir / "hard.tps").string();
  const std::vector<char> before = FileBytes(Example("plate_clamped.tps"));
  WriteBytes(old, before);
  std::filesystem::create_hard_link(old, hard);
  const std::vector<std::uint8_t> now = ReadWholeFile(Example("plate_simply_supported.tps"));
  ASSERT_TRUE(test::SaveKilledInPlace(old, now, {2, 700}));
  const std::string copy = test::CopyLeftIn(dir);
  ASSERT_FALSE(copy.empty());

  OpenTyped(hard);
  ASSERT_EQ(Errors(), 1);
  EXPECT_NE(msgs.Shown.back().Text.find("полная копия сохранявшегося проекта лежит рядом, в файле " + copy + "."),
            std::string::npos)
      << msgs.Shown.back().Text;
  EXPECT_EQ(form.Project().Knots().Count(), 0);

  msgs.Shown.clear();
  OpenTyped(copy);
  EXPECT_TRUE(msgs.Shown.empty()) << msgs.Shown.front().Text;
  EXPECT_EQ(form.windowTitle().toStdString(), std::string(kCalcMainCaption) + " [old.tps]");
  ASSERT_GT(form.Project().Knots().Count(), 0);
  Static();
  EXPECT_EQ(Errors(), 0);
  EXPECT_TRUE(form.Project().HasResults());
}

}  // namespace
}  // namespace tavir::calctest
