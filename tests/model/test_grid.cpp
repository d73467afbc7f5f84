#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "model/grid.h"

namespace tavir {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Slice(const Bytes& b, std::size_t at, std::size_t n) { return Bytes(b.begin() + at, b.begin() + at + n); }

TGrid SampleGrid() {
  TGrid g;
  g.SetStepX(1.5L);
  g.SetStepY(-2.25L);
  g.SetStepZ(0.1L);
  g.SetNSX(3);
  g.SetNSY(4);
  g.SetNSZ(5);
  g.SetColor(0xFF);
  g.SetStyle(2);
  g.SetPlace(1);
  g.SetShowGrid(1);
  g.SetSnapToGrid(0);
  return g;
}

Bytes Save(const TGrid& g) {
  BinaryWriter w;
  g.SaveToStream(w);
  return w.Take();
}

void ExpectSameGrid(const TGrid& a, const TGrid& b) {
  EXPECT_EQ(a.StepX, b.StepX);
  EXPECT_EQ(a.StepY, b.StepY);
  EXPECT_EQ(a.StepZ, b.StepZ);
  EXPECT_EQ(a.NSX, b.NSX);
  EXPECT_EQ(a.NSY, b.NSY);
  EXPECT_EQ(a.NSZ, b.NSZ);
  EXPECT_EQ(a.Color, b.Color);
  EXPECT_EQ(a.Style, b.Style);
  EXPECT_EQ(a.Place, b.Place);
  EXPECT_EQ(a.ShowGrid, b.ShowGrid);
  EXPECT_EQ(a.SnapToGrid, b.SnapToGrid);
}

TEST(Grid, RecordLayoutRepeatsTheFieldsAfterEachCount) {
  const Bytes b = Save(SampleGrid());
  ASSERT_EQ(b.size(), kGridRecordBytes);

  std::uint8_t step[kExtendedBytes];
  EncodeExtended(1.5L, step);
  EXPECT_EQ(Slice(b, 0, 10), Bytes(step, step + 10));
  EncodeExtended(-2.25L, step);
  EXPECT_EQ(Slice(b, 10, 10), Bytes(step, step + 10));
  EncodeExtended(0.1L, step);
  EXPECT_EQ(Slice(b, 20, 10), Bytes(step, step + 10));

  EXPECT_EQ(Slice(b, 30, 10), (Bytes{0x03, 0, 0, 0, 0x04, 0, 0, 0, 0x05, 0}));
  EXPECT_EQ(Slice(b, 40, 10), (Bytes{0x04, 0, 0, 0, 0x05, 0, 0, 0, 0xFF, 0}));
  EXPECT_EQ(Slice(b, 50, 10), (Bytes{0x05, 0, 0, 0, 0xFF, 0, 0, 0, 0x02, 0x01}));
  EXPECT_EQ(Slice(b, 60, 8), (Bytes{0xFF, 0, 0, 0, 0x02, 0x01, 0x01, 0x00}));
}

TEST(Grid, ReadingTakesEachFieldFromItsOwnPlace) {
  // Slot bytes after the count disagree with the later fields: the later fields win.
  Bytes b = Save(SampleGrid());
  for (std::size_t i : {34u, 35u, 36u, 37u, 38u, 39u, 44u, 45u, 46u, 47u, 48u, 49u, 54u, 55u, 56u, 57u, 58u, 59u})
    b[i] = 0xEE;
  b[60] = 0x11;
  b[61] = 0x22;
  b[62] = 0x33;
  b[63] = 0x00;
  b[64] = 3;
  b[65] = 2;
  TGrid g;
  BinaryReader r(b);
  g.LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(g.NSX, 3);
  EXPECT_EQ(g.NSY, 4);
  EXPECT_EQ(g.NSZ, 5);
  EXPECT_EQ(g.Color, 0x332211u);
  EXPECT_EQ(g.Style, 3);
  EXPECT_EQ(g.Place, 2);
  EXPECT_EQ(g.ShowGrid, 1);
  EXPECT_EQ(g.SnapToGrid, 0);
}

TEST(Grid, RoundTripKeepsEveryFieldAndEveryByte) {
  TGrid cases[3] = {SampleGrid(), TGrid{}, SampleGrid()};
  cases[2].SetNSX(-1);
  cases[2].SetNSY(0x7FFFFFFF);
  cases[2].SetNSZ(static_cast<std::int32_t>(0x80000000u));
  cases[2].SetColor(0x00ABCDEF);
  cases[2].SetStyle(255);
  cases[2].SetPlace(0);
  cases[2].SetShowGrid(0);
  cases[2].SetSnapToGrid(1);
  for (const TGrid& g : cases) {
    const Bytes b = Save(g);
    TGrid back;
    BinaryReader r(b);
    back.LoadFromStream(r);
    EXPECT_TRUE(r.AtEnd());
    ExpectSameGrid(back, g);
    EXPECT_EQ(Save(back), b);
  }
}

TEST(Grid, ShortRecordIsAFormatError) {
  const Bytes b = Save(SampleGrid());
  for (std::size_t n : {0u, 29u, 59u, 67u}) {
    Bytes cut(b.begin(), b.begin() + n);
    BinaryReader r(cut);
    TGrid g;
    EXPECT_THROW(g.LoadFromStream(r), FormatError) << n;
  }
}

TEST(Grid, AssignCopiesTheBaseAndTheFlagsOnlyFromAGrid) {
  const TGrid src = SampleGrid();
  TGrid full;
  full.Assign(src);
  ExpectSameGrid(full, src);

  TBCGrid base;
  base.AssignBase(src);
  TGrid partial;
  partial.SetShowGrid(0);
  partial.SetSnapToGrid(1);
  partial.Assign(base);
  EXPECT_EQ(partial.StepY, src.StepY);
  EXPECT_EQ(partial.NSZ, 5);
  EXPECT_EQ(partial.Color, 0xFFu);
  EXPECT_EQ(partial.Place, 1);
  EXPECT_EQ(partial.ShowGrid, 0);  // a plain base grid carries no flags
  EXPECT_EQ(partial.SnapToGrid, 1);
}

}  // namespace
}  // namespace tavir
