// A save of a hard-linked project killed while the file itself was being
// rewritten: the file is refused under both of its names, the refusal names the
// complete copy the save left beside it, and that copy opens as the project that
// was being saved. A copy that is itself incomplete is never offered nor opened.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "fakes/cut_save.h"
#include "model/project_file.h"
#include "model/project_file_fixture.h"
#include "platform/temp_folder.h"

namespace tavir {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class InterruptedSave : public TempFolder {
 protected:
  void SetUp() override {
    TempFolder::SetUp();
    oldBytes = SampleEditor()->Save();
    // What was being saved: a knot moved and one more, so that old and new
    // bytes no longer line up.
    auto e = SampleEditor();
    e->Project.Knots().KnotByIndex(4)->X = 3.5L;
    e->Project.Knots().AddKnot(5, 5, 0);
    e->Supervisor.SetCurrentWindow(0);  // as opening leaves it, so a copy read back saves the same
    newBytes = e->Save();
    original = Path("old.tps");
    link = Path("hard.tps");
    WriteFileAtomic(original, oldBytes);
    fs::create_hard_link(original, link);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // The one temporary file in the folder.
  std::string OnlyCopy() const {
    const std::string copy = test::CopyLeftIn(dir_);
    EXPECT_FALSE(copy.empty());
    return copy;
  }

  // How the analysis program's reader refuses the file ("" when it reads it).
  static std::string AnalysisRefusal(const std::string& name) {
    TVelEditorProject results;
    AnalysisWindowData window;
    ScriptedMessages messages;
    try {
      if (!ReadAnalysisProject(name, results, window, messages)) return "not found";
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  }
  // How the editor's reading (whole file, closing byte) refuses it.
  static std::string EditorRefusal(const std::string& name, EditorState& into) {
    try {
      const std::optional<Bytes> bytes = ReadExistingFile(name, into.Messages);
      if (!bytes) return "not found";
      ProjectContents read = ReadNamingCopy(
          name, [&] { return ReadProjectBytes(*bytes, ProjectNameOf(name), into.Supervisor, into.Project); });
      InstallProject(std::move(read), into.Supervisor, into.Project,
                     [&into](WindowBlock&& block) { into.Windows.Adopt(std::move(block)); });
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  }

  Bytes oldBytes, newBytes;
  std::string original, link;
};

TEST_F(InterruptedSave, TheDamagedFileNamesTheCompleteCopyAndTheCopyOpensAsTheProject) {
  // Cut in the clearing of the head, early, half way and late in the rest.
  const std::vector<test::SaveCut> cuts = {{1, 2}, {2, 0}, {2, 100}, {2, 800}, {2, 1500}, {3, 0}};
  for (const test::SaveCut& cut : cuts) {
    SCOPED_TRACE("write " + std::to_string(cut.Write) + ", " + std::to_string(cut.Keep) + " bytes");
    WriteFileAtomic(original, oldBytes);
    ASSERT_EQ(fs::hard_link_count(original), 2u);
    ASSERT_TRUE(test::SaveKilledInPlace(original, newBytes, cut));
    const std::string copy = OnlyCopy();
    ASSERT_EQ(ReadWholeFile(copy), newBytes);
    ASSERT_NE(ReadWholeFile(link), newBytes) << "the cut left the file whole";

    for (const std::string& name : {original, link}) {
      SCOPED_TRACE(name);
      const std::string told = "Сохранение файла " + name +
                               " было прервано; полная копия сохранявшегося проекта лежит рядом, в файле " + copy +
                               ". Откройте этот файл, чтобы получить проект.";
      const std::string analysis = AnalysisRefusal(name);
      EXPECT_NE(analysis.find(told), std::string::npos) << analysis;
      EXPECT_NE(analysis, told) << "the reason comes first";
      EditorState editor;
      const Bytes before = editor.Save();
      const std::string edit = EditorRefusal(name, editor);
      EXPECT_NE(edit.find(told), std::string::npos) << edit;
      EXPECT_EQ(editor.Save(), before) << "the open project is as it was";
    }

    // The copy, typed as it was named: the project that was being saved, named
    // after the file it belongs to.
    EditorState editor;
    EXPECT_EQ(EditorRefusal(copy, editor), "");
    EXPECT_EQ(editor.Save(), newBytes);
    EXPECT_EQ(editor.Project.FileName(), original);
    TVelEditorProject results;
    AnalysisWindowData window;
    ScriptedMessages messages;
    ASSERT_TRUE(ReadAnalysisProject(copy, results, window, messages));
    ASSERT_EQ(results.Knots().Count(), 6);
    EXPECT_EQ(results.Knots().KnotByIndex(4)->X, 3.5L);
    EXPECT_EQ(ProjectNameOf(copy), original);
    fs::remove(copy);
  }
}

// Only a whole project is offered: a copy cut short (a later save killed while
// it wrote its temporary) is passed over for an older whole one, is not offered
// alone, and is refused when typed; nor is a running save's, nor another file's.
TEST_F(InterruptedSave, OnlyAWholeCopyOfTheSameFileIsOfferedOrOpened) {
  ASSERT_TRUE(test::SaveKilledInPlace(original, newBytes, {2, 300}));
  const std::string whole = OnlyCopy();
  const auto leftover = [&](const std::string& name, const Bytes& bytes, int minutesAgo) {
    const std::string p = Path(name);
    WriteFileAtomic(p, bytes);
    fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
    return p;
  };
  fs::last_write_time(whole, fs::file_time_type::clock::now() - std::chrono::minutes(10));
  Bytes cutShort(newBytes.begin(), newBytes.end() - 1);  // all but the closing byte
  const std::string part = leftover(".old.tps.tavir-tmp-Part01", cutShort, 1);
  Bytes longer = newBytes;
  longer.push_back(0);
  const std::string padded = leftover(".hard.tps.tavir-tmp-Longer", longer, 2);
  WriteFileAtomic(Path("other.tps"), oldBytes);
  const std::string other = leftover(".other.tps.tavir-tmp-Other1", newBytes, 0);
  EXPECT_FALSE(IsWholeProject(cutShort));
  EXPECT_FALSE(IsWholeProject(longer));
  EXPECT_TRUE(IsWholeProject(newBytes));
  // The first window and the closing byte are all the analysis reader skips:
  // a copy cut there reads in it, and is refused all the same.
  const Bytes firstWindowOnly(newBytes.begin(), newBytes.begin() + static_cast<std::ptrdiff_t>(newBytes.size() - 224));
  EXPECT_FALSE(IsWholeProject(firstWindowOnly));
  const std::string firstWindow = leftover(".old.tps.tavir-tmp-First1", firstWindowOnly, 3);

  EXPECT_EQ(CompleteCopyOfInterruptedSave(link), whole);
  EXPECT_EQ(CompleteCopyOfInterruptedSave(Path("other.tps")), other);
  for (const std::string& refused : {part, padded, firstWindow}) {
    SCOPED_TRACE(refused);
    EXPECT_EQ(AnalysisRefusal(refused), SaveTemporaryText(refused));
    EditorState editor;
    EXPECT_EQ(EditorRefusal(refused, editor), SaveTemporaryText(refused));
  }

  // A running save holds the whole one: not offered, not opened.
  const int held = ::open(whole.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  EXPECT_EQ(CompleteCopyOfInterruptedSave(link), std::nullopt);
  const std::string analysis = AnalysisRefusal(link);
  EXPECT_EQ(analysis.find("Сохранение файла"), std::string::npos) << analysis;
  EXPECT_EQ(AnalysisRefusal(whole), RunningSaveText(whole));
  ::close(held);

  // Without a whole copy the refusal is the file's own.
  fs::remove(whole);
  const std::string plain = AnalysisRefusal(link);
  EXPECT_FALSE(plain.empty());
  EXPECT_EQ(plain.find("Сохранение файла"), std::string::npos) << plain;
}

// The next save that succeeds puts the project back under every name and takes
// the copies away.
TEST_F(InterruptedSave, SavingTheOpenedCopyMendsEveryName) {
  ASSERT_TRUE(test::SaveKilledInPlace(original, newBytes, {2, 500}));
  const std::string copy = OnlyCopy();
  EditorState editor;
  ASSERT_EQ(EditorRefusal(copy, editor), "");
  SaveProject(editor.Project.FileName(), editor.Supervisor, editor.Project, editor.Windows.Records());
  EXPECT_EQ(ReadWholeFile(link), newBytes);
  EXPECT_EQ(ReadWholeFile(original), newBytes);
  EXPECT_FALSE(fs::exists(copy));
  EXPECT_EQ(AnalysisRefusal(link), "");
}

}  // namespace
}  // namespace tavir
