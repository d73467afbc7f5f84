#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "editor/command_set.h"
#include "editor/editor_commands.h"
#include "editor_fixture.h"
#include "model/geometry_ops.h"

namespace tavir {
namespace {

using namespace testing;

const auto& Table() { return EditorCommands::Table(); }

// Every action that carries something out has its row, and nothing else has one:
// an action left out would do nothing without a word.
TEST(EditorCommandTable, EveryHandlerActionHasItsRowAndNoOtherActionHasOne) {
  std::size_t handlerActions = 0;
  for (const ActionInfo& a : EditorActions()) {
    SCOPED_TRACE(std::string(a.Name));
    if (a.Kind == ActionKind::Handler) {
      ++handlerActions;
      EXPECT_TRUE(Table().HasHandler(a.Name));
    } else {
      EXPECT_FALSE(Table().Known(a.Name));
    }
  }
  for (const auto& row : Table().Rows()) {
    const ActionInfo* info = FindEditorAction(row.Name);
    ASSERT_NE(info, nullptr) << row.Name;
    EXPECT_EQ(info->Kind, ActionKind::Handler) << row.Name;
  }
  EXPECT_EQ(Table().Rows().size(), handlerActions);
}

// Each one runs its handler: none falls through (that would be reported as a fault).
TEST(EditorCommandTable, EveryHandlerActionRunsInATask) {
  EditorFixture f;
  f.NewProject();
  SampleModel& m = f.Sample();
  for (const ActionInfo& a : EditorActions()) {
    if (a.Kind != ActionKind::Handler) continue;
    SCOPED_TRACE(std::string(a.Name));
    f.Project.Knots().Select(m.K[0], nullptr);
    f.Messages.Answers = {MsgResult::Cancel};
    bool known = false;
    EXPECT_NO_THROW(known = f.Commands.Run(a.Name));
    EXPECT_TRUE(known);
  }
}

// The rows made from the lists each act on their own entry of the list.
TEST(EditorCommandTable, GridStylesAndUserPresetsActByTheirPlaceInTheList) {
  EditorFixture f;
  f.NewProject();
  for (std::size_t style = 0; style < kGridStyleActions.size(); ++style) {
    SCOPED_TRACE(std::string(kGridStyleActions[style]));
    f.Commands.Run(kGridStyleActions[style]);
    EXPECT_EQ(f.Window().Grid().Style, style);
    for (std::string_view other : kGridStyleActions)
      EXPECT_EQ(f.Commands.State().Checked(other), other == kGridStyleActions[style]) << other;
  }
  for (std::size_t level = 0; level < kUserPresetActions.size(); ++level) {
    SCOPED_TRACE(std::string(kUserPresetActions[level]));
    CommandSetState expected = f.Commands.State();
    expected.ApplyUserPreset(static_cast<int>(level));
    f.Commands.Run(kUserPresetActions[level]);
    for (int bar = 0; bar < kEditorBarCount; ++bar)
      EXPECT_EQ(f.Commands.State().Bar(bar).Visible, expected.Bar(bar).Visible) << bar;
  }
}

TEST(EditorCommandTable, SupportPresetsElementTypesAndBarSwitchesActOnTheirOwnEntry) {
  EditorFixture f;
  f.NewProject();
  for (const SupportPreset& p : SupportPresets()) {
    SCOPED_TRACE(std::string(p.Action));
    f.Supervisor.SetDefFixation(TFixation{1, 0, 1, 0, 1, 0});  // none of the presets
    f.Commands.Run(p.Action);
    EXPECT_TRUE(SameFixation(f.Supervisor.DefFixation, p.Fixation));
    EXPECT_EQ(f.Commands.RestButtonAction(), p.Action);
  }
  int types = 0;
  for (const ActionInfo& a : EditorActions()) {
    const std::optional<ElementType> type = ElementTypeOfAction(a.Name);
    if (!type) continue;
    SCOPED_TRACE(std::string(a.Name));
    ++types;
    f.Commands.Run(a.Name);
    EXPECT_EQ(f.Supervisor.ElementType, *type);
    EXPECT_TRUE(f.Commands.State().Checked(a.Name));
  }
  EXPECT_EQ(types, 10);
  for (int bar = 0; bar < kEditorBarCount; ++bar) {
    const std::string_view name = EditorBars()[static_cast<std::size_t>(bar)].SwitchAction;
    SCOPED_TRACE(std::string(name));
    const CommandSetState before = f.Commands.State();
    f.Commands.Run(name);
    for (int other = 0; other < kEditorBarCount; ++other)
      EXPECT_EQ(f.Commands.State().Bar(other).Visible, before.Bar(other).Visible != (other == bar)) << other;
    EXPECT_EQ(f.Commands.State().Checked(name), !before.Bar(bar).Visible);
  }
}

// The actions that show a check mark: the modes, element types, grid marks,
// analysis kinds, the status bar and the bar switches.
TEST(EditorCommandTable, TheCheckMarksAreThoseOfTheStateCommands) {
  std::set<std::string_view> checkable;
  for (const auto& row : Table().Rows())
    if (row.Rules.Checkable) checkable.insert(row.Name);
  const std::set<std::string_view> expected = {
      "acModeEdit",         "acModeKnot",        "acModeNet",        "acModeFrame",         "acInput_Rest",
      "acForceConcentrate", "acForceDispersion", "acDisplacement",   "acEditor_SetSurface", "AcEdit_SelectFrame",
      "ac2DTriangle",       "ac2DRectangle",     "ac2DQuadrangle",   "ac2dRod",             "ac3DCube",
      "ac3DTetra",          "ac3DRod",           "acPlaneTriangle",  "acPlaneRectangle",    "acPlaneRod",
      "acNetDot",           "acNetCross",        "acNetLine",        "acNetOther",          "acModeShowGrid",
      "acModeSnapGrid",     "acEvulStatic",      "acEvulDinamic",    "acViewStatusBar",     "acPanelMainMenu",
      "acPanelStandart",    "acPanelInputMode",  "acPanelGrid",      "acPanel2dElement",    "acPanel3DElement",
      "acPanelInsert",      "acPanelTemps",      "acPanelScale",     "acPanelData",         "acPanelService"};
  EXPECT_EQ(checkable, expected);
}

}  // namespace
}  // namespace tavir
