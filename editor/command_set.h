#pragma once
// The editor's command set as data: every action with its caption and whether it
// has a handler, and the state of the actions, tool bars and menu buttons that the
// commands change (enabled, checked, visible). The Qt command module applies a
// CommandSetState to its QActions and bars after each command; nothing here
// knows about widgets.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/codes.h"
#include "model/grid.h"

namespace tavir {

enum class ActionKind : std::uint8_t {
  Handler,    // carried out by the command module
  Inert,      // laid out in menus and tool bars, carries out nothing
  Clipboard,  // the toolkit's standard cut, copy and paste on the focused text field
};

struct ActionInfo {
  std::string_view Name;
  std::string_view Caption;   // & marks the accelerator; empty for actions on no menu
  std::string_view Shortcut;  // "Ctrl+N", empty for none
  ActionKind Kind = ActionKind::Handler;
};

// Every action of the editor's command module and tool-bar switches, in a fixed order.
const std::vector<ActionInfo>& EditorActions();
// The entry of a name; nullptr for a name the editor does not have.
const ActionInfo* FindEditorAction(std::string_view name);

// The eleven tool bars in the order of the panel dialog and the presets.
inline constexpr int kEditorBarCount = 11;
enum EditorBar : int {
  kBarMainMenu = 0, kBarStandart, kBarInputMode, kBarGrid, kBar2DElements, kBar3DElements,
  kBarInsert, kBarTemps, kBarScale, kBarData, kBarService
};
struct EditorBarInfo {
  std::string_view Name;          // "TBar_Grid"
  std::string_view Caption;       // "Сетка координат"
  std::string_view SwitchAction;  // "acPanelGrid"
};
const std::array<EditorBarInfo, kEditorBarCount>& EditorBars();

// The drop-down menus and tool-bar buttons as the forms lay them out. Items are
// action names in order; "-" is a separator, ">Caption" opens a sub-menu whose
// items follow up to its closing "<", and "ToolBtn_Rest_Set" is the standard bar's
// support drop-down button (it drops "PupMenu_Rests").
struct EditorMenuInfo {
  std::string_view Name;     // "PupMenu_File"
  std::string_view Button;   // its text button on the main-menu bar ("ToolBtn_MenuFile"), empty for none
  std::string_view Caption;  // the button's text
  std::vector<std::string_view> Items;
};
const std::vector<EditorMenuInfo>& EditorMenus();
// The buttons of bar i (1..10; the main-menu bar carries the menu buttons).
const std::vector<std::string_view>& EditorBarButtons(int bar);

// The check list of the panel dialog after "Восстановить": the main menu,
// standard, input, grid, plane-element and solid-element bars on, the rest off.
std::array<bool, kEditorBarCount> RestoredBarChecks();

// The menu buttons of the main-menu bar that the two states enable and disable.
inline constexpr std::array<std::string_view, 7> kTaskMenuButtons = {
    "ToolBtn_MenuEdit", "ToolBtn_MenuView",    "ToolBtn_MenuInput", "ToolBtn_MenuInsert",
    "ToolBtn_MenuFormat", "ToolBtn_MenuService", "ToolBtn_MenuWindow"};

// The actions that only a task enables (no project disables them).
inline constexpr std::array<std::string_view, 10> kTaskActions = {
    "acFilePrint", "acFilePreview", "acFileExport", "acFileSave", "acFileSaveAs",
    "acInput_Rest", "acForceConcentrate", "acForceDispersion", "acDisplacement", "acEditDelete"};

// The eight mode commands of which exactly one is checked after any of them ran.
inline constexpr std::array<std::string_view, 8> kModeActions = {
    "acModeEdit", "acModeKnot", "acModeNet", "acModeFrame",
    "acInput_Rest", "acForceConcentrate", "acForceDispersion", "acDisplacement"};

// The three user-level presets by level (0 novice, 1 professional, 2 expert).
inline constexpr std::array<std::string_view, 3> kUserPresetActions = {
    "AcUserNoviceSettings", "AcUserProfessionalSettings", "AcUserExpertSettings"};

// The grid-style commands by style (0 dots, 1 crosses, 2 lines, 3 other).
inline constexpr std::array<std::string_view, 4> kGridStyleActions = {"acNetDot", "acNetCross", "acNetLine",
                                                                       "acNetOther"};

struct ActionState {
  bool Enabled = true;
  bool Checked = false;
  friend bool operator==(const ActionState&, const ActionState&) = default;
};

struct BarState {
  bool Visible = true;
  bool Enabled = true;
  friend bool operator==(const BarState&, const BarState&) = default;
};

// The element type of an element-type command; -1 for any other name.
std::optional<ElementType> ElementTypeOfAction(std::string_view name);
// The preset action of a user level; empty for a level without one.
std::string_view UserPresetAction(int userLevel);

class CommandSetState {
 public:
  // Every action enabled and unchecked but the bar switches, which are checked
  // (every bar visible and enabled); every menu button enabled.
  CommandSetState();

  // Unknown names throw std::out_of_range.
  const ActionState& Action(std::string_view name) const;
  bool Enabled(std::string_view name) const { return Action(name).Enabled; }
  bool Checked(std::string_view name) const { return Action(name).Checked; }
  void SetEnabled(std::string_view name, bool enabled);
  void SetChecked(std::string_view name, bool checked);
  const std::map<std::string, ActionState, std::less<>>& Actions() const { return actions_; }

  const BarState& Bar(int index) const { return bars_.at(static_cast<std::size_t>(index)); }
  // The bar and the check mark of its switch action.
  void SetBarVisible(int index, bool visible);
  void SetBarEnabled(int index, bool enabled) { bars_.at(static_cast<std::size_t>(index)).Enabled = enabled; }
  bool MenuButtonEnabled(std::string_view name) const;
  // Whether the control bar's right-click menu opens, and its main-menu item's mark.
  bool PanelsMenuOpens() const { return panelsMenuOpens_; }
  bool PanelMainMenuChecked() const { return panelMainMenuChecked_; }

  // No project: the task menus and actions disabled, the task bars hidden (the
  // grid bar only hidden), the panels menu closed.
  void EnterNoTask();
  // A task: everything of EnterNoTask enabled again and the preset of the user
  // level applied (none for another level).
  void EnterTask(int userLevel);
  // The bar visibility of a user level's preset (0, 1, 2; others change nothing).
  void ApplyUserPreset(int userLevel);

  // An element-type command: checks it and unchecks its group.
  void CheckElementType(std::string_view name);
  // "acDimension_2D", "acDimension_3D", "acDimension_Planes": enables the
  // dimension's element commands, disables and unchecks the others (checked marks
  // of the enabled ones stay).
  void ApplyDimension(std::string_view name);
  // A mode command: checks it and unchecks the other seven; "acEditor_SetSurface"
  // (or any name outside the eight) unchecks all eight.
  void CheckMode(std::string_view name);
  // The analysis kind: 0 checks acEvulStatic, 1 acEvulDinamic, the other unchecked.
  void CheckEvulKind(int kind);
  // The grid actions from a window's grid: the style's action checked (the other
  // three not), snap and show marks from its flags. Marks only: no grid changes.
  void SyncGrid(const TGrid& grid);

 private:
  ActionState& Mutable(std::string_view name);
  std::map<std::string, ActionState, std::less<>> actions_;
  std::array<BarState, kEditorBarCount> bars_{};
  std::map<std::string, bool, std::less<>> menuButtons_;
  bool panelsMenuOpens_ = true;
  bool panelMainMenuChecked_ = false;
};

}  // namespace tavir
