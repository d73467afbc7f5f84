#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/supervisor.h"
#include "model/supervisor_fill.h"

namespace tavir {
namespace {

std::int32_t Int32At(const std::vector<std::uint8_t>& b, std::size_t off) {
  return static_cast<std::int32_t>(std::uint32_t{b[off]} | (std::uint32_t{b[off + 1]} << 8) |
                                   (std::uint32_t{b[off + 2]} << 16) | (std::uint32_t{b[off + 3]} << 24));
}

std::vector<std::uint8_t> Bytes10(Extended v) {
  std::vector<std::uint8_t> b(kExtendedBytes);
  EncodeExtended(v, b.data());
  return b;
}

using testing::Force;

// A supervisor with a distinct value in every stored field (the defaults of
// StoredSettings) and in some that are not stored.
void Fill(TEditSupervisor& s) {
  testing::SetStoredSettings(s, {});
  s.SetCurrentWindow(3);
  // Not stored:
  s.SetWorkMode(WorkMode::DistributedLoad);
  s.SetWindowCount(6);
  s.SetSpareString(1, "запас");
  s.Options.SetDefaults();
}

// The settings block behind a 4-byte signature, so that offsets read as in the file.
std::vector<std::uint8_t> FileHead(const TEditSupervisor& s) {
  BinaryWriter w;
  w.WriteInt32(1);
  s.SaveToStream(w);
  return w.Take();
}

TEST(Supervisor, NewSupervisorState) {
  TEditSupervisor s;
  EXPECT_EQ(s.CurrentWindow, -1);
  EXPECT_EQ(s.WindowCount, 0);
  EXPECT_EQ(s.ElementType, ElementType::Rectangle);
  EXPECT_EQ(s.ElemKind, ElementKind::Shell);
  EXPECT_EQ(s.MaterialIndex, 0);
  EXPECT_EQ(s.WorkMode, WorkMode::Edit);
  EXPECT_EQ(s.InputMode, InputMode::Pick);
  EXPECT_EQ(s.DefDirection, 0);
  EXPECT_EQ(s.DefFixation, (TFixation{0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(s.DefConcForce.IsZero());
  EXPECT_TRUE(s.DefDispForce.IsZero());
  EXPECT_EQ(s.RegionX1, 0);
  EXPECT_EQ(s.RegionZ2, 0);
  EXPECT_EQ(s.ReservedA, 0);
  EXPECT_EQ(s.ReservedC, 0);
  EXPECT_EQ(s.ReservedE, 0);
  EXPECT_EQ(s.DefLayers.Count(), 0);
  EXPECT_EQ(s.Task.Precision, 0);
  EXPECT_EQ(s.Grid.StepX, 0);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(s.GetSpareString(i), "");
}

TEST(Supervisor, SpareStringsOnlyOneToTen) {
  TEditSupervisor s;
  s.SetSpareString(1, "первая");
  s.SetSpareString(10, "десятая");
  s.SetSpareString(0, "нет");
  s.SetSpareString(11, "нет");
  EXPECT_EQ(s.GetSpareString(1), "первая");
  EXPECT_EQ(s.GetSpareString(10), "десятая");
  EXPECT_EQ(s.GetSpareString(0), "");
  EXPECT_EQ(s.GetSpareString(11), "");
  for (int i = 2; i <= 9; ++i) EXPECT_EQ(s.GetSpareString(i), "");
}

TEST(Supervisor, AssignCopiesTheBasePartOnly) {
  TEditSupervisor a;
  Fill(a);
  for (int i = 1; i <= 10; ++i) a.SetSpareString(i, "строка " + std::to_string(i));
  TEditSupervisor b;
  EXPECT_NO_THROW(b.Assign(a));
  EXPECT_EQ(b.ReservedA, 0xA1);
  EXPECT_EQ(b.ReservedB, 0xB2);
  EXPECT_EQ(b.ReservedC, -123456);
  EXPECT_EQ(b.WindowCount, 6);
  EXPECT_EQ(b.CurrentWindow, 3);
  EXPECT_EQ(b.WorkMode, WorkMode::DistributedLoad);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(b.GetSpareString(i), "строка " + std::to_string(i));
  // The editor's own fields are not the base's business.
  EXPECT_EQ(b.InputMode, InputMode::Pick);
  EXPECT_EQ(b.ElementType, ElementType::Rectangle);
  EXPECT_EQ(b.RegionX2, 0);
  EXPECT_EQ(b.Task.Dimension, 0);
  EXPECT_NO_THROW(b.Assign(b));
  EXPECT_EQ(b.CurrentWindow, 3);
}

TEST(Supervisor, TaskActionsInOrder) {
  struct Case {
    std::uint8_t kind, dimension;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {0, 2, {"acModeEdit", "acEvulStatic", "acPlaneRectangle", "acDimension_Planes"}},
      {1, 0, {"acModeEdit", "acEvulDinamic", "ac2DTriangle", "acDimension_2D"}},
      {0, 1, {"acModeEdit", "acEvulStatic", "ac3DCube", "acDimension_3D"}},
      {2, 2, {"acModeEdit", "acPlaneRectangle", "acDimension_Planes"}},
      {1, 3, {"acModeEdit", "acEvulDinamic"}},
      {9, 9, {"acModeEdit"}},
  };
  for (const Case& c : cases) {
    TEditSupervisor s;
    s.Task.SetEvulKind(c.kind);
    s.Task.SetDimension(c.dimension);
    EXPECT_EQ(s.ApplyTaskActions(), c.want) << int(c.kind) << "/" << int(c.dimension);
  }
}

TEST(Supervisor, SettingsBlockLayoutAsInTheFile) {
  TEditSupervisor s;
  Fill(s);
  const std::vector<std::uint8_t> b = FileHead(s);
  ASSERT_EQ(b.size(), 4 + kSettingsBlockBytes);  // offsets 4..189
  EXPECT_EQ(b[4], 0xA1);
  EXPECT_EQ(b[5], 0xB2);
  EXPECT_EQ(Int32At(b, 6), -123456);
  EXPECT_EQ(Int32At(b, 10), 3);
  EXPECT_EQ(b[14], 0);  // the options' placeholder, whatever the options hold
  EXPECT_EQ(b[15], 1);
  EXPECT_EQ(b[16], 3);
  EXPECT_EQ(b[17], 2);
  EXPECT_EQ(DecodeExtended(b.data() + 18), 0.005L);
  EXPECT_EQ(DecodeExtended(b.data() + 28), 0.5L);  // grid: StepX, StepY, StepZ
  EXPECT_EQ(DecodeExtended(b.data() + 38), 0.25L);
  EXPECT_EQ(DecodeExtended(b.data() + 48), 2);
  EXPECT_EQ(Int32At(b, 58), 7);                     // NSX slot
  EXPECT_EQ(Int32At(b, 88), 0x00FF00);              // grid colour at 28 + 60
  EXPECT_EQ(b[92], 2);                              // style
  EXPECT_EQ(b[95], 1);                              // snap
  const Extended region[] = {-1, -2, -3, 10, 20, 30};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(DecodeExtended(b.data() + 96 + 10 * i), region[i]) << i;
  EXPECT_EQ(b[156], 5);
  EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 157, b.begin() + 163), (std::vector<std::uint8_t>{1, 0, 1, 0, 0, 1}));
  EXPECT_EQ(b[163], 0);
  EXPECT_EQ(Int32At(b, 164), 4);
  const auto conc = Bytes10(s.DefConcForce.Px);
  const auto disp = Bytes10(s.DefDispForce.Px);
  EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 168, b.begin() + 172), std::vector<std::uint8_t>(conc.begin(), conc.begin() + 4));
  EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 172, b.begin() + 176), std::vector<std::uint8_t>(disp.begin(), disp.begin() + 4));
  EXPECT_EQ(Int32At(b, 176), 0x11223344);
  EXPECT_EQ(Int32At(b, 180), -2);
  EXPECT_EQ(b[184], 0);
  EXPECT_EQ(Int32At(b, 185), 1);
  EXPECT_EQ(b[189], 0);
}

TEST(Supervisor, RoundTripRestoresTheStoredFieldsAndFourBytesOfEachLoad) {
  TEditSupervisor source;
  Fill(source);
  std::vector<std::uint8_t> b = FileHead(source);
  b[14] = 0x77;  // placeholders are ignored on reading
  b[189] = 0x99;

  TEditSupervisor target;
  target.SetWorkMode(WorkMode::Supports);
  target.SetWindowCount(1);
  target.SetSpareString(1, "своя");
  const TForceRecord ownConc = Force(1000.5L);
  const TForceRecord ownDisp = Force(-2000.25L);
  target.SetDefConcForce(ownConc);
  target.SetDefDispForce(ownDisp);

  BinaryReader r(b);
  r.ReadInt32();
  target.LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());

  EXPECT_EQ(target.ReservedA, 0xA1);
  EXPECT_EQ(target.ReservedB, 0xB2);
  EXPECT_EQ(target.ReservedC, -123456);
  EXPECT_EQ(target.CurrentWindow, 3);
  EXPECT_EQ(target.Task.EvulKind, 1);
  EXPECT_EQ(target.Task.Statement, 3);
  EXPECT_EQ(target.Task.Dimension, 2);
  EXPECT_EQ(target.Task.Precision, 0.005L);
  EXPECT_EQ(target.Grid.StepY, 0.25L);
  EXPECT_EQ(target.Grid.NSZ, 9);
  EXPECT_EQ(target.Grid.Color, 0x00FF00u);
  EXPECT_EQ(target.Grid.Style, 2);
  EXPECT_EQ(target.Grid.Place, 0);
  EXPECT_EQ(target.Grid.ShowGrid, 1);
  EXPECT_EQ(target.Grid.SnapToGrid, 1);
  EXPECT_EQ(target.RegionX1, -1);
  EXPECT_EQ(target.RegionY1, -2);
  EXPECT_EQ(target.RegionZ1, -3);
  EXPECT_EQ(target.RegionX2, 10);
  EXPECT_EQ(target.RegionY2, 20);
  EXPECT_EQ(target.RegionZ2, 30);
  EXPECT_EQ(target.InputMode, InputMode::FrameSelection);
  EXPECT_EQ(target.DefFixation, (TFixation{1, 0, 1, 0, 0, 1}));
  EXPECT_EQ(target.ElementType, ElementType::Triangle);
  EXPECT_EQ(target.MaterialIndex, 4);
  EXPECT_EQ(target.ReservedD, 0x11223344);
  EXPECT_EQ(target.ReservedE, -2);
  EXPECT_EQ(target.ElemKind, ElementKind::Plate);
  EXPECT_EQ(target.DefDirection, 1);
  // Not stored: kept.
  EXPECT_EQ(target.WorkMode, WorkMode::Supports);
  EXPECT_EQ(target.WindowCount, 1);
  EXPECT_EQ(target.GetSpareString(1), "своя");

  // Of each default load the first 4 bytes come from the file, the other 56 stay.
  auto check = [](const TForceRecord& got, const TForceRecord& own, const TForceRecord& stored, const char* what) {
    const auto g = Bytes10(got.Px), o = Bytes10(own.Px), s = Bytes10(stored.Px);
    EXPECT_EQ(std::vector<std::uint8_t>(g.begin(), g.begin() + 4), std::vector<std::uint8_t>(s.begin(), s.begin() + 4)) << what;
    EXPECT_EQ(std::vector<std::uint8_t>(g.begin() + 4, g.end()), std::vector<std::uint8_t>(o.begin() + 4, o.end())) << what;
    EXPECT_NE(got.Px, own.Px) << what;  // the test values differ in those bytes
    for (int i = 2; i <= 6; ++i) EXPECT_EQ(got.Component(i), own.Component(i)) << what << " " << i;
  };
  check(target.DefConcForce, ownConc, source.DefConcForce, "concentrated");
  check(target.DefDispForce, ownDisp, source.DefDispForce, "distributed");

  // Saved again: the same block, with the placeholders written as 0.
  std::vector<std::uint8_t> again = FileHead(target);
  b[14] = 0;
  b[189] = 0;
  EXPECT_EQ(again, b);
}

TEST(Supervisor, ShortBlockIsAFormatErrorAndChangesNothing) {
  TEditSupervisor source;
  Fill(source);
  std::vector<std::uint8_t> b = FileHead(source);
  b.erase(b.begin(), b.begin() + 4);
  b.pop_back();
  TEditSupervisor target;
  BinaryReader r(b);
  EXPECT_THROW(target.LoadFromStream(r), FormatError);
  EXPECT_EQ(r.Position(), 0u);
  EXPECT_EQ(target.ReservedA, 0);
  EXPECT_EQ(target.CurrentWindow, -1);
  EXPECT_EQ(target.Task.EvulKind, 0);
  EXPECT_EQ(target.Grid.StepX, 0);
  EXPECT_EQ(target.ElementType, ElementType::Rectangle);
  EXPECT_TRUE(target.DefConcForce.IsZero());
}

TEST(Supervisor, CopySettingsFromCarriesEveryStoredField) {
  // Opening reads into a copy and copies back: the result equals reading in place.
  TEditSupervisor source;
  Fill(source);
  const std::vector<std::uint8_t> b = FileHead(source);

  TEditSupervisor open;
  open.SetDefConcForce(Force(7));
  open.SetWorkMode(WorkMode::NewWindow);
  TEditSupervisor copy;
  copy.CopySettingsFrom(open);
  BinaryReader r(b);
  r.ReadInt32();
  copy.LoadFromStream(r);
  open.CopySettingsFrom(copy);

  TEditSupervisor direct;
  direct.SetDefConcForce(Force(7));
  BinaryReader r2(b);
  r2.ReadInt32();
  direct.LoadFromStream(r2);

  EXPECT_EQ(FileHead(open), FileHead(direct));
  EXPECT_EQ(open.DefConcForce.Py, 9);  // the unstored bytes of the open supervisor's load
  EXPECT_EQ(open.WorkMode, WorkMode::NewWindow);         // not a stored field
}

}  // namespace
}  // namespace tavir
