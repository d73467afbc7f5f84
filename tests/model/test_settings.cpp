#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "model/settings.h"

namespace tavir {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Flag = std::uint8_t TBCDataEditor::*;

struct FlagCase {
  const char* Name;
  Flag Field;
  std::uint8_t Default;
};

const FlagCase kFlags[] = {
    {"ConfirmReduce", &TBCDataEditor::ConfirmReduce, 1},     {"UserKind", &TBCDataEditor::UserKind, 1},
    {"GraphicsMode", &TBCDataEditor::GraphicsMode, 1},       {"Contur", &TBCDataEditor::Contur, 1},
    {"OfferProperty", &TBCDataEditor::OfferProperty, 1},     {"SaveBAK", &TBCDataEditor::SaveBAK, 0},
    {"AutoSave", &TBCDataEditor::AutoSave, 0},               {"Draft", &TBCDataEditor::Draft, 0},
    {"PrintAbout", &TBCDataEditor::PrintAbout, 0},           {"PrintUserName", &TBCDataEditor::PrintUserName, 1},
    {"PrintRemark", &TBCDataEditor::PrintRemark, 1},         {"PrintGrid", &TBCDataEditor::PrintGrid, 0},
    {"PrintTaskData", &TBCDataEditor::PrintTaskData, 0},     {"DeleteDegenerate", &TBCDataEditor::DeleteDegenerate, 1},
    {"DeletePutOn", &TBCDataEditor::DeletePutOn, 1},         {"DeleteCrossing", &TBCDataEditor::DeleteCrossing, 1},
    {"DeleteUncorrect", &TBCDataEditor::DeleteUncorrect, 1}, {"MarkUncorrect", &TBCDataEditor::MarkUncorrect, 1},
    {"ControlKnots", &TBCDataEditor::ControlKnots, 1},       {"ControlElements", &TBCDataEditor::ControlElements, 1},
    {"Notify", &TBCDataEditor::Notify, 1},
};

TBCDataEditor Defaults() {
  TBCDataEditor o;
  o.SetDefaults();
  return o;
}

TEST(Options, NewOptionsAreEmptyUntilDefaultsAreSet) {
  TBCDataEditor o;
  EXPECT_EQ(o.UserName, "");
  EXPECT_EQ(o.FileListNumber, 0);
  for (const FlagCase& c : kFlags) EXPECT_EQ(o.*(c.Field), 0) << c.Name;
  for (const std::string& s : o.UnitNames) EXPECT_EQ(s, "");
}

TEST(Options, DefaultsOfEveryField) {
  const TBCDataEditor o = Defaults();
  EXPECT_EQ(o.UserName, "NoNameUser");
  EXPECT_EQ(o.FileListNumber, 4);
  EXPECT_EQ(o.AutoSaveInterval, 10);
  EXPECT_EQ(o.WorkDir, "");
  EXPECT_EQ(o.AutoLoadDir, "");
  EXPECT_EQ(o.LibraryDir, "");
  for (const FlagCase& c : kFlags) EXPECT_EQ(o.*(c.Field), c.Default) << c.Name;

  const char* length[10] = {"см", "м", "мм", "", "", "", "", "", "", ""};
  const char* force[10] = {"кН", "МН", "Н", "кг", "т", "", "", "", "", ""};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(o.GetLengthUnitName(i), length[i]) << i;
    EXPECT_EQ(o.GetForceUnitName(i), force[i]) << i;
  }
  EXPECT_EQ(o.GetLengthUnitName(3), "");
  EXPECT_EQ(o.GetForceUnitName(4), "т");
  EXPECT_EQ(o.GetLengthUnit(), "м");
  EXPECT_EQ(o.GetForceUnit(), "кН");
}

TEST(Options, SetDefaultsRestoresTablesChangedBefore) {
  TBCDataEditor o = Defaults();
  o.SetLengthUnitName(0, "дм");
  o.SetForceUnitName(9, "тс");
  o.SetDefaults();
  EXPECT_EQ(o.GetLengthUnitName(0), "см");
  EXPECT_EQ(o.GetForceUnitName(9), "");
}

TEST(Options, UnitIndexOutsideTheTableIsIgnored) {
  TBCDataEditor o = Defaults();
  const auto before = o.UnitNames;
  for (int i : {-1, 10, 11, 12, 20, 21, 1000, INT_MIN, INT_MAX}) {
    EXPECT_EQ(o.GetLengthUnitName(i), "") << i;
    EXPECT_EQ(o.GetForceUnitName(i), "") << i;
    o.SetLengthUnitName(i, "x");
    o.SetForceUnitName(i, "y");
  }
  EXPECT_EQ(o.UnitNames, before);  // neither the other table nor the current units moved

  o.SetLengthUnitName(9, "км");
  o.SetForceUnitName(0, "кгс");
  EXPECT_EQ(o.GetLengthUnitName(9), "км");
  EXPECT_EQ(o.GetForceUnitName(0), "кгс");
  EXPECT_EQ(o.GetForceUnitName(9), "");  // length entry 9 is not force entry 0's neighbour
  EXPECT_EQ(o.GetLengthUnit(), "м");
}

TEST(Options, AssignCopiesEveryField) {
  TBCDataEditor src = Defaults();
  src.SetUserName("Иванов");
  src.SetFileListNumber(7);
  src.SetAutoSaveInterval(25);
  src.SetWorkDir("/w");
  src.SetAutoLoadDir("/a");
  src.SetLibraryDir("/l");
  for (const FlagCase& c : kFlags) src.*(c.Field) = static_cast<std::uint8_t>(c.Default == 1 ? 0 : 2);
  src.SetMarkUncorrect(0);
  for (int i = 0; i < 10; ++i) {
    src.SetLengthUnitName(i, "L" + std::to_string(i));
    src.SetForceUnitName(i, "F" + std::to_string(i));
  }
  src.SetLengthUnit("L7");
  src.SetForceUnit("F3");

  TBCDataEditor dst = Defaults();
  dst.Assign(src);
  EXPECT_EQ(dst.UserName, "Иванов");
  EXPECT_EQ(dst.FileListNumber, 7);
  EXPECT_EQ(dst.AutoSaveInterval, 25);
  EXPECT_EQ(dst.WorkDir, "/w");
  EXPECT_EQ(dst.AutoLoadDir, "/a");
  EXPECT_EQ(dst.LibraryDir, "/l");
  for (const FlagCase& c : kFlags) EXPECT_EQ(dst.*(c.Field), src.*(c.Field)) << c.Name;
  EXPECT_EQ(dst.MarkUncorrect, 0);
  EXPECT_EQ(dst.UnitNames, src.UnitNames);

  dst.Assign(dst);
  EXPECT_EQ(dst.UnitNames, src.UnitNames);
}

TEST(Options, StreamIsOnePlaceholderByte) {
  TBCDataEditor changed = Defaults();
  changed.SetUserName("Петров");
  changed.SetNotify(0);
  for (const TBCDataEditor& o : {TBCDataEditor{}, Defaults(), changed}) {
    BinaryWriter w;
    o.SaveToStream(w);
    EXPECT_EQ(w.Bytes(), Bytes{0});
  }

  const Bytes file = {0xA5, 0x42};
  BinaryReader r(file);
  TBCDataEditor o = changed;
  o.LoadFromStream(r);
  EXPECT_EQ(r.Position(), 1u);
  EXPECT_EQ(o.UserName, "Петров");
  EXPECT_EQ(o.Notify, 0);

  BinaryReader empty(nullptr, 0);
  EXPECT_THROW(o.LoadFromStream(empty), FormatError);
}

TEST(Task, DefaultsAreAStaticLinearPlateTask) {
  TTask t;
  EXPECT_EQ(t.Dimension, 0);
  EXPECT_EQ(t.Precision, 0);
  t.SetEvulKind(1);
  t.SetStatement(3);
  t.SetDefaults();
  EXPECT_EQ(t.EvulKind, 0);
  EXPECT_EQ(t.Statement, 0);
  EXPECT_EQ(t.Dimension, 2);
  EXPECT_EQ(t.Precision, 0.01L);
  EXPECT_EQ(DefaultPrecision, 0.01L);
}

TEST(Task, AssignCopiesAllFourFields) {
  TTask src;
  src.SetEvulKind(1);
  src.SetStatement(2);
  src.SetDimension(1);
  src.SetPrecision(-3.5L);
  TTask dst;
  dst.SetDefaults();
  dst.Assign(src);
  EXPECT_EQ(dst.EvulKind, 1);
  EXPECT_EQ(dst.Statement, 2);
  EXPECT_EQ(dst.Dimension, 1);
  EXPECT_EQ(dst.Precision, -3.5L);

  TBCTask base;
  base.Assign(src);
  EXPECT_EQ(base.Precision, -3.5L);
}

TEST(Task, RecordIsThreeBytesAndTheExtendedPrecision) {
  TTask t;
  t.SetEvulKind(1);
  t.SetStatement(3);
  t.SetDimension(2);
  t.SetPrecision(0.01L);
  BinaryWriter w;
  t.SaveToStream(w);
  // 0.01 = 0xA3D70A3D70A3D70A * 2^(0x3FF8 - 16383 - 63), rounded down.
  const Bytes expected = {0x01, 0x03, 0x02, 0x0A, 0xD7, 0xA3, 0x70, 0x3D, 0x0A, 0xD7, 0xA3, 0xF8, 0x3F};
  EXPECT_EQ(w.Bytes(), expected);
  ASSERT_EQ(w.Size(), kTaskRecordBytes);

  TTask back;
  BinaryReader r(w.Bytes());
  back.LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(back.EvulKind, 1);
  EXPECT_EQ(back.Statement, 3);
  EXPECT_EQ(back.Dimension, 2);
  EXPECT_EQ(back.Precision, 0.01L);
}

TEST(Task, ShortRecordChangesNothing) {
  TTask target;
  target.SetDefaults();
  for (std::size_t n : {0u, 1u, 3u, 12u}) {
    const Bytes cut(n, 0x07);  // would show in any field read before the end was found
    BinaryReader r(cut);
    EXPECT_THROW(target.LoadFromStream(r), FormatError) << n;
    EXPECT_EQ(target.EvulKind, 0) << n;
    EXPECT_EQ(target.Statement, 0) << n;
    EXPECT_EQ(target.Dimension, 2) << n;
    EXPECT_EQ(target.Precision, 0.01L) << n;
  }
}

}  // namespace
}  // namespace tavir
