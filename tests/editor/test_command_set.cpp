#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/command_set.h"
#include "model/grid.h"

namespace tavir {
namespace {

std::vector<std::string> NamesOf(ActionKind kind) {
  std::vector<std::string> out;
  for (const ActionInfo& a : EditorActions())
    if (a.Kind == kind) out.emplace_back(a.Name);
  return out;
}

TEST(EditorActions, EveryNameOnceAndFortyFourWithoutAHandler) {
  std::set<std::string_view> seen;
  for (const ActionInfo& a : EditorActions()) EXPECT_TRUE(seen.insert(a.Name).second) << a.Name;
  const std::set<std::string> inert = [] {
    std::vector<std::string> v = NamesOf(ActionKind::Inert);
    return std::set<std::string>(v.begin(), v.end());
  }();
  const std::set<std::string> expected = {
      "acFilePreview", "acFileExport", "acFileImport", "acEditUndo", "acEditRedo", "acEditSpecPaste",
      "acEditChange", "acEditFind", "acEditGoTo", "acViewColontitul", "acViewZoomIn", "acViewZoomOut",
      "acViewActual", "acViewScale", "acViewDetails", "acViewElements", "acViewForce", "acViewRest",
      "acServiceFill", "acServiceClear", "acServiceCondence", "acFormatTask", "acFormatDinamics",
      "acFormatDiagram", "acInsertBookmark", "acInsertRegion", "acInsertPicture", "acInsertPattern",
      "acInsertLine", "acWinParams", "acEditorCreate", "acEditorEdit", "acEditorSnap", "acTempLine",
      "acTempTriangle", "acTempCircle", "acTempPie", "acTempEllipse", "acTempRectangle", "acTempSin",
      "acTempCos"};
  EXPECT_EQ(inert, expected);
  EXPECT_EQ(NamesOf(ActionKind::Clipboard), (std::vector<std::string>{"acEditCut", "acEditCopy", "acEditPaste"}));
  EXPECT_EQ(inert.size() + NamesOf(ActionKind::Clipboard).size(), 44u);
}

TEST(EditorActions, EveryActionTheCommandsAndBarsNameIsListed) {
  std::vector<std::string_view> named = {"acNoTask", "AcNewTask", "acDimension_2D", "acDimension_3D",
                                         "acDimension_Planes", "acForce_ConcApply", "AcForce_DispApply",
                                         "acEvulStatic", "acEvulDinamic", "acRests_ChoiceRest"};
  for (auto n : kTaskActions) named.push_back(n);
  for (auto n : kModeActions) named.push_back(n);
  for (auto n : kUserPresetActions) named.push_back(n);
  for (const EditorBarInfo& b : EditorBars()) named.push_back(b.SwitchAction);
  for (std::string_view n : named) EXPECT_NE(FindEditorAction(n), nullptr) << n;
  EXPECT_EQ(FindEditorAction("acNoSuchThing"), nullptr);
  EXPECT_EQ(FindEditorAction("acFileNew")->Caption, "Созд&ать");
  EXPECT_EQ(FindEditorAction("acFileNew")->Shortcut, "Ctrl+N");
  EXPECT_EQ(FindEditorAction("acWinList")->Shortcut, "Alt+0");
  EXPECT_EQ(FindEditorAction("acPlaneRod")->Caption, "&Ребро жесткости");
}

// ---- the two states ----

TEST(CommandSetState, NoProjectAndTask) {
  TCommandSetState s;
  s.EnterNoTask();
  for (auto b : kTaskMenuButtons) EXPECT_FALSE(s.MenuButtonEnabled(b)) << b;
  EXPECT_TRUE(s.MenuButtonEnabled("ToolBtn_MenuFile"));
  EXPECT_TRUE(s.MenuButtonEnabled("ToolBtn_MenuHelp"));
  for (auto a : kTaskActions) EXPECT_FALSE(s.Enabled(a)) << a;
  EXPECT_TRUE(s.Enabled("acFileNew"));
  EXPECT_TRUE(s.Enabled("acFileOpen"));
  EXPECT_FALSE(s.PanelsMenuOpens());
  struct BarCase {
    int bar;
    bool visible, enabled;
  };
  const BarCase noTask[] = {{kBarMainMenu, true, true}, {kBarStandart, true, true}, {kBarInputMode, false, false},
                            {kBarGrid, false, true},    {kBar2DElements, false, false}, {kBar3DElements, false, false},
                            {kBarInsert, false, false}, {kBarTemps, false, false},    {kBarScale, false, false},
                            {kBarData, true, true},     {kBarService, false, false}};
  for (const BarCase& c : noTask) {
    EXPECT_EQ(s.Bar(c.bar).Visible, c.visible) << c.bar;
    EXPECT_EQ(s.Bar(c.bar).Enabled, c.enabled) << c.bar;
    EXPECT_EQ(s.Checked(EditorBars()[static_cast<std::size_t>(c.bar)].SwitchAction), c.visible) << c.bar;
  }

  s.EnterTask(0);
  for (auto b : kTaskMenuButtons) EXPECT_TRUE(s.MenuButtonEnabled(b)) << b;
  for (auto a : kTaskActions) EXPECT_TRUE(s.Enabled(a)) << a;
  EXPECT_TRUE(s.PanelsMenuOpens());
  EXPECT_TRUE(s.PanelMainMenuChecked());
  for (int b = 0; b < kEditorBarCount; ++b) {
    EXPECT_TRUE(s.Bar(b).Visible) << b;  // the novice sees every bar
    EXPECT_TRUE(s.Bar(b).Enabled) << b;
  }
}

TEST(CommandSetState, UserLevelPresetsChooseTheBars) {
  // Visible bars by level, in bar order.
  struct Case {
    int level;
    std::vector<bool> visible;
  };
  const Case cases[] = {
      {0, {true, true, true, true, true, true, true, true, true, true, true}},
      {1, {true, true, true, true, true, true, false, false, false, false, true}},
      {2, {true, true, true, true, false, false, false, false, false, false, false}},
  };
  for (const Case& c : cases) {
    TCommandSetState s;
    s.EnterNoTask();
    s.EnterTask(c.level);
    for (int b = 0; b < kEditorBarCount; ++b) {
      EXPECT_EQ(s.Bar(b).Visible, c.visible[static_cast<std::size_t>(b)]) << "level " << c.level << " bar " << b;
      EXPECT_EQ(s.Checked(EditorBars()[static_cast<std::size_t>(b)].SwitchAction), c.visible[static_cast<std::size_t>(b)]);
    }
  }
  // Another level applies no preset: the bars stay as no project left them.
  TCommandSetState s;
  s.EnterNoTask();
  s.EnterTask(7);
  EXPECT_FALSE(s.Bar(kBarInputMode).Visible);
  EXPECT_TRUE(s.Bar(kBarInputMode).Enabled);
  EXPECT_TRUE(s.MenuButtonEnabled("ToolBtn_MenuEdit"));
  EXPECT_EQ(UserPresetAction(2), "AcUserExpertSettings");
  EXPECT_TRUE(UserPresetAction(3).empty());
}

// ---- element types and dimensions ----

TEST(CommandSetState, DimensionsEnableTheirElementCommandsOnly) {
  struct Case {
    const char* dimension;
    std::vector<std::string_view> enabled;
  };
  const std::vector<std::string_view> all = {"ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod",
                                             "ac3DCube",     "ac3DTetra",     "ac3DRod",        "acPlaneTriangle",
                                             "acPlaneRectangle", "acPlaneRod"};
  const Case cases[] = {
      {"acDimension_2D", {"ac2DTriangle", "ac2DRectangle", "ac2DQuadrangle", "ac2dRod"}},
      {"acDimension_3D", {"ac3DCube", "ac3DTetra", "ac3DRod", "acPlaneTriangle", "acPlaneRectangle"}},
      {"acDimension_Planes", {"acPlaneTriangle", "acPlaneRectangle", "acPlaneRod"}},
  };
  for (const Case& c : cases) {
    TCommandSetState s;
    for (auto a : all) s.SetChecked(a, true);
    s.ApplyDimension(c.dimension);
    for (auto a : all) {
      const bool on = std::find(c.enabled.begin(), c.enabled.end(), a) != c.enabled.end();
      EXPECT_EQ(s.Enabled(a), on) << c.dimension << " " << a;
      EXPECT_EQ(s.Checked(a), on) << c.dimension << " " << a;  // enabled ones keep their mark
    }
  }
}

TEST(CommandSetState, ElementTypeCommandsUncheckTheirGroupOnly) {
  TCommandSetState s;
  s.CheckElementType("acPlaneRod");
  s.CheckElementType("ac3DCube");
  EXPECT_TRUE(s.Checked("ac3DCube"));
  EXPECT_TRUE(s.Checked("acPlaneRod"));  // not in the cube's group
  s.CheckElementType("acPlaneRectangle");
  EXPECT_FALSE(s.Checked("ac3DCube"));
  EXPECT_FALSE(s.Checked("acPlaneRod"));
  EXPECT_TRUE(s.Checked("acPlaneRectangle"));
  struct Case {
    const char* name;
    std::optional<ElementType> type;
  };
  const Case types[] = {{"ac2DTriangle", ElementType::Triangle},
                        {"ac2DRectangle", ElementType::Rectangle},
                        {"ac2DQuadrangle", ElementType::QuadrangleInput},
                        {"ac2dRod", ElementType::Rod},
                        {"ac3DCube", ElementType::Parallelepiped},
                        {"ac3DTetra", ElementType::Tetrahedron},
                        {"ac3DRod", ElementType::SolidRod},
                        {"acPlaneTriangle", ElementType::Triangle},
                        {"acPlaneRectangle", ElementType::Rectangle},
                        {"acPlaneRod", ElementType::Rod},
                        {"acModeEdit", std::nullopt}};
  for (const Case& c : types) EXPECT_EQ(ElementTypeOfAction(c.name), c.type) << c.name;
}

TEST(CommandSetState, ExactlyOneModeIsChecked) {
  TCommandSetState s;
  for (auto m : kModeActions) {
    s.CheckMode(m);
    for (auto other : kModeActions) EXPECT_EQ(s.Checked(other), other == m) << m << " " << other;
  }
  s.CheckMode("acEditor_SetSurface");
  for (auto m : kModeActions) EXPECT_FALSE(s.Checked(m)) << m;
  EXPECT_FALSE(s.Checked("acEditor_SetSurface"));
}

TEST(CommandSetState, GridMarksFollowAGridAndChangeNothingElse) {
  TCommandSetState s;
  TGrid g;
  g.Style = 2;
  g.ShowGrid = 1;
  g.SnapToGrid = 0;
  const TGrid before = g;
  s.SyncGrid(g);
  EXPECT_FALSE(s.Checked("acNetDot"));
  EXPECT_FALSE(s.Checked("acNetCross"));
  EXPECT_TRUE(s.Checked("acNetLine"));
  EXPECT_FALSE(s.Checked("acNetOther"));
  EXPECT_TRUE(s.Checked("acModeShowGrid"));
  EXPECT_FALSE(s.Checked("acModeSnapGrid"));
  EXPECT_EQ(g.Style, before.Style);
  s.CheckEvulKind(1);
  EXPECT_TRUE(s.Checked("acEvulDinamic"));
  EXPECT_FALSE(s.Checked("acEvulStatic"));
  EXPECT_THROW(s.Checked("acNoSuchThing"), std::out_of_range);
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

TEST(CommandSetState, RestoredPanelsShowTheFirstSixBars) {
  TCommandSetState s;
  s.ApplyUserPreset(2);
  const std::array<bool, kEditorBarCount> restored = RestoredBarChecks();
  for (int b = 0; b < kEditorBarCount; ++b) s.SetBarVisible(b, restored[static_cast<std::size_t>(b)]);
  const std::vector<int> shown = {kBarMainMenu, kBarStandart, kBarInputMode, kBarGrid, kBar2DElements, kBar3DElements};
  for (int b = 0; b < kEditorBarCount; ++b) {
    const bool want = std::find(shown.begin(), shown.end(), b) != shown.end();
    EXPECT_EQ(s.Bar(b).Visible, want) << b;
    EXPECT_EQ(s.Checked(EditorBars()[static_cast<std::size_t>(b)].SwitchAction), want) << b;
  }
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

bool IsMarker(std::string_view item) {
  return item == "-" || item == "<" || item.front() == '>' || item == "ToolBtn_Rest_Set";
}

TEST(EditorMenus, EveryItemIsAnActionAndEveryActionOnAMenuIsReachable) {
  std::set<std::string_view> placed;
  for (const EditorMenuInfo& m : EditorMenus()) {
    int depth = 0;
    for (std::string_view item : m.Items) {
      if (item.front() == '>') ++depth;
      if (item == "<") --depth;
      EXPECT_GE(depth, 0) << m.Name;
      if (IsMarker(item)) continue;
      EXPECT_NE(FindEditorAction(item), nullptr) << m.Name << " " << item;
      placed.insert(item);
    }
    EXPECT_EQ(depth, 0) << m.Name;
  }
  for (int b = 0; b < kEditorBarCount; ++b)
    for (std::string_view item : EditorBarButtons(b)) {
      if (IsMarker(item)) continue;
      EXPECT_NE(FindEditorAction(item), nullptr) << b << " " << item;
      placed.insert(item);
    }
  // The actions on no menu and no bar are run by other code.
  std::set<std::string_view> unplaced;
  for (const ActionInfo& a : EditorActions())
    if (placed.count(a.Name) == 0) unplaced.insert(a.Name);
  const std::set<std::string_view> expected = {
      "acForce_ConcApply", "AcForce_DispApply", "acEvulStatic", "acEvulDinamic", "AcRests_RestXY", "acWinParams",
      "acNoTask", "AcNewTask", "acDimension_2D", "acDimension_3D", "acDimension_Planes", "AcUserNoviceSettings",
      "AcUserProfessionalSettings", "AcUserExpertSettings"};
  EXPECT_EQ(unplaced, expected);
  EXPECT_EQ(EditorMenus()[1].Button, "ToolBtn_MenuEdit");
  EXPECT_EQ(EditorMenus()[1].Caption, "Правка");
}

}  // namespace
}  // namespace tavir
