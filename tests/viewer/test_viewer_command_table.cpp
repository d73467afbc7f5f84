#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/viewer_commands.h"

namespace tavir {
namespace {

// Each handler says whose it is.
class RecordingHandlers : public ViewerCommandHandlers {
 public:
  std::vector<std::string> Log;
  void acFileOpenExecute() override { Log.emplace_back("acFileOpen"); }
  void acFileExportExecute() override { Log.emplace_back("acFileExport"); }
  void AcSolve_StaticCalculateExecute() override { Log.emplace_back("AcSolve_StaticCalculate"); }
  void AcSolv_AdaptationExecute() override { Log.emplace_back("AcSolv_Adaptation"); }
  void Ac_IsoLineUxExecute() override { Log.emplace_back("Ac_IsoLineUx"); }
  void Ac_IsoLineVyExecute() override { Log.emplace_back("Ac_IsoLineVy"); }
  void Ac_IsoLineWzExecute() override { Log.emplace_back("Ac_IsoLineWz"); }
  void Ac_IsoLineRxExecute() override { Log.emplace_back("Ac_IsoLineRx"); }
  void Ac_IsoLineRyExecute() override { Log.emplace_back("Ac_IsoLineRy"); }
  void Ac_IsoLineSxExecute() override { Log.emplace_back("Ac_IsoLineSx"); }
  void Ac_IsoLineSyExecute() override { Log.emplace_back("Ac_IsoLineSy"); }
  void Ac_IsoLineTxyExecute() override { Log.emplace_back("Ac_IsoLineTxy"); }
  void AcService_DrawModesExecute() override { Log.emplace_back("AcService_DrawModes"); }
  void AcService_SectionExecute() override { Log.emplace_back("AcService_Section"); }
  void acWinNewExecute() override { Log.emplace_back("acWinNew"); }
  void AcVMode_ViewerExecute() override { Log.emplace_back("AcVMode_Viewer"); }
  void AcService_Create3DExecute() override { Log.emplace_back("AcService_Create3D"); }
  void AcService_InfoShellExecute() override { Log.emplace_back("AcService_InfoShell"); }
  void AcGrid_ParamsExecute() override { Log.emplace_back("AcGrid_Params"); }
  void AcGrid_DotExecute() override { Log.emplace_back("AcGrid_Dot"); }
  void AcGrid_CrossExecute() override { Log.emplace_back("AcGrid_Cross"); }
  void AcGrid_LineExecute() override { Log.emplace_back("AcGrid_Line"); }
  void AcGrid_OtherExecute() override { Log.emplace_back("AcGrid_Other"); }
  void AcGrid_ShowExecute() override { Log.emplace_back("AcGrid_Show"); }
  void AcGrid_SnapToGridExecute() override { Log.emplace_back("AcGrid_SnapToGrid"); }
  void acViewZoomInExecute() override { Log.emplace_back("acViewZoomIn"); }
  void acViewZoomOutExecute() override { Log.emplace_back("acViewZoomOut"); }
  void acViewScaleExecute() override { Log.emplace_back("acViewScale"); }
  void acViewActualExecute() override { Log.emplace_back("acViewActual"); }
};

// Every handler of the interface is bound, each to the command of its own name; the
// other 44 commands carry out nothing.
TEST(ViewerCommandTable, EachCommandRunsTheHandlerOfItsOwnName) {
  std::set<std::string> ran;
  int laidOut = 0;
  for (const ViewerCommand& c : kViewerCommands.Rows()) {
    SCOPED_TRACE(std::string(c.Name));
    RecordingHandlers h;
    EXPECT_TRUE(kViewerCommands.Run(h, c.Name));
    if (c.Handler) {
      EXPECT_EQ(h.Log, std::vector<std::string>{std::string(c.Name)});
      ran.insert(std::string(c.Name));
    } else {
      EXPECT_TRUE(h.Log.empty());
      ++laidOut;
    }
  }
  EXPECT_EQ(ran.size(), 29u);
  EXPECT_EQ(laidOut, 44);
  RecordingHandlers h;
  EXPECT_FALSE(kViewerCommands.Run(h, "acNoSuchThing"));
  EXPECT_TRUE(h.Log.empty());
}

TEST(ViewerCommandTable, RulesOfTheViewCommandsTheGridMarksAndTheViewMode) {
  std::set<std::string_view> onView, checkable, whileBusy;
  for (const ViewerCommand& c : kViewerCommands.Rows()) {
    if (c.Rules.NeedsView) onView.insert(c.Name);
    if (c.Rules.Checkable) checkable.insert(c.Name);
    if (c.Rules.WhileBusy) whileBusy.insert(c.Name);
  }
  EXPECT_EQ(onView, (std::set<std::string_view>{"AcGrid_Dot", "AcGrid_Cross", "AcGrid_Line", "AcGrid_Other",
                                                "AcGrid_Show", "AcGrid_SnapToGrid", "AcGrid_Params", "acViewZoomIn",
                                                "acViewZoomOut", "acViewScale", "acViewActual", "acFileExport"}));
  EXPECT_EQ(std::set<std::string_view>(kViewCommands.begin(), kViewCommands.end()), onView);
  EXPECT_EQ(checkable, (std::set<std::string_view>{"AcGrid_Dot", "AcGrid_Cross", "AcGrid_Line", "AcGrid_Other",
                                                   "AcGrid_Show", "AcGrid_SnapToGrid", "AcEdit_SelectFrame"}));
  EXPECT_EQ(whileBusy, std::set<std::string_view>{kViewerModeAction});
}

TEST(ViewerCommandTable, ShortButtonTextsWhereTheCaptionIsLong) {
  struct Case {
    std::string_view Name, IconText;
  };
  const Case cases[] = {
      {"Ac_IsoLineUx", "Ux"},           {"Ac_IsoLineVy", "Vy"},         {"Ac_IsoLineWz", "Wz"},
      {"Ac_IsoLineRx", "Rx"},           {"Ac_IsoLineRy", "Ry"},         {"Ac_IsoLineSx", "Sx"},
      {"Ac_IsoLineSy", "Sy"},           {"Ac_IsoLineTxy", "Txy"},       {"AcService_Section", "Сечение"},
      {"AcService_Create3D", "3-D"},    {"acViewZoomIn", "+"},          {"acViewZoomOut", "-"},
      {"acViewActual", "1:1"},          {"acViewScale", "Масштаб"},     {"AcSolve_StaticCalculate", "Расчет"},
      {"AcSolv_Adaptation", "Адаптация"}};
  for (const Case& c : cases) EXPECT_EQ(kViewerCommands.Find(c.Name)->IconText, c.IconText) << c.Name;
  int withText = 0;
  for (const ViewerCommand& c : kViewerCommands.Rows()) withText += c.IconText.empty() ? 0 : 1;
  EXPECT_EQ(withText, static_cast<int>(std::size(cases)));
}

}  // namespace
}  // namespace tavir
