// The analysis program's factory: the file's readers and the editing operations
// make its result classes through the one element factory of the model.
#include <gtest/gtest.h>

#include "analysis/result_objects.h"
#include "viewer/viewer_project.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

TEST(ResultModelFactory, MakesResultClassesByKind) {
  const auto factory = MakeResultModelFactory();
  auto shell = factory->MakeElement(ElementKind::Shell, ElementType::Rectangle, nullptr);
  ASSERT_NE(dynamic_cast<TMLResultShell*>(shell.get()), nullptr);
  EXPECT_EQ(shell->ElemKind, ElementKind::Shell);
  EXPECT_EQ(shell->RecordKind(), ElementKind::Shell);
  auto plate = factory->MakeElement(ElementKind::Plate, ElementType::Triangle, nullptr);
  ASSERT_NE(dynamic_cast<TMLResultPlate*>(plate.get()), nullptr);
  EXPECT_EQ(plate->ElemKind, ElementKind::Plate);
  EXPECT_EQ(plate->RecordKind(), ElementKind::Plate);
  EXPECT_EQ(factory->MakeElement(CodeOfByte<ElementKind>(3), ElementType::Rectangle, nullptr), nullptr);
}

TEST(ViewDrawFlags, OneSetOfFlagsWithTheirValues) {
  // The model's flags serve the result views too; the views add their own bits.
  static_assert(kDrawLoads == 0x1 && kDrawKnots == 0x4 && kDrawSupports == 0x8 && kDrawShells == 0x100);
  static_assert(kDrawDesk == 0x10D);
  static_assert(kViewDrawDefault == 0x400C);
  static_assert(kViewDrawLayerZones == 0x200 && kViewDrawIsolines == 0x400 && kViewDrawZoneFills == 0x800);
  ScriptedMessages messages;
  EXPECT_EQ(TViewerProject(messages).DrawFlags(), 0x400C);
}

}  // namespace
}  // namespace tavir
