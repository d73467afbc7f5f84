#include <gtest/gtest.h>

#include "editor/command_set.h"
#include "editor_fixture.h"

namespace tavir::testing {
namespace {

std::array<bool, kEditorBarCount> Bars(const CommandSetState& s) {
  std::array<bool, kEditorBarCount> v{};
  for (int i = 0; i < kEditorBarCount; ++i) v[static_cast<std::size_t>(i)] = s.Bar(i).Visible;
  return v;
}

// The user level's preset follows the settings dialog's OK, never a dialog that
// is cancelled.
TEST(SettingsPreset, RunsAfterOkOnly) {
  EditorFixture f;
  f.NewProject();
  f.Commands.Run("AcUserNoviceSettings");
  const std::array<bool, kEditorBarCount> novice = Bars(f.Commands.State());
  f.Commands.Run("AcUserExpertSettings");
  const std::array<bool, kEditorBarCount> expert = Bars(f.Commands.State());
  ASSERT_NE(novice, expert);
  f.Commands.Run("AcUserNoviceSettings");

  f.Ui.SettingsScript.reset();  // Cancel
  f.Commands.Run("acServiceParam");
  EXPECT_EQ(Bars(f.Commands.State()), novice);

  SettingsAnswer a;
  a.Options.Assign(f.Supervisor.Options);
  a.Options.UserKind = 2;
  a.Task.Assign(f.Supervisor.Task);
  f.Ui.SettingsScript = a;
  f.Commands.Run("acServiceParam");
  EXPECT_EQ(f.Supervisor.Options.UserKind, 2);
  EXPECT_EQ(Bars(f.Commands.State()), expert);
}

}  // namespace
}  // namespace tavir::testing
