// The analysis program's factory: the file's readers and the editing operations
// make its result classes through the one element factory of the model.
#include <gtest/gtest.h>

#include "analysis/result_objects.h"
#include "viewer/viewer_project.h"

namespace tavir {
namespace {

TEST(ResultModelFactory, MakesResultClassesByKind) {
  const auto factory = MakeResultModelFactory();
  auto shell = factory->MakeElement(kElemKindShell, 1, nullptr);
  ASSERT_NE(dynamic_cast<TMLResultShell*>(shell.get()), nullptr);
  EXPECT_EQ(shell->ElemKind, kElemKindShell);
  EXPECT_EQ(shell->RecordKind(), kElemKindShell);
  auto plate = factory->MakeElement(kElemKindPlate, 0, nullptr);
  ASSERT_NE(dynamic_cast<TMLResultPlate*>(plate.get()), nullptr);
  EXPECT_EQ(plate->ElemKind, kElemKindPlate);
  EXPECT_EQ(plate->RecordKind(), kElemKindPlate);
  EXPECT_EQ(factory->MakeElement(3, 1, nullptr), nullptr);
}

}  // namespace
}  // namespace tavir
