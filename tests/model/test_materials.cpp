#include <gtest/gtest.h>

#include <vector>

#include "model/materials.h"
#include "platform/binstream.h"

namespace tavir {
namespace {

TEST(Materials, NewMaterialHasTheDefaults) {
  const TPhisPropRodNL m;
  EXPECT_EQ(m.E, 2.06e6L);
  EXPECT_EQ(m.mu, 0.3L);
  EXPECT_EQ(m.ro, 7.8e3L);
  EXPECT_EQ(m.R, 2.4e5L);
  EXPECT_EQ(m.EpsT, 2e3L);
  EXPECT_EQ(m.E1, 0);
  EXPECT_EQ(m.A, 0);
  EXPECT_EQ(m.k, 0);
  EXPECT_EQ(m.Diagramma, 0);
  EXPECT_EQ(m.Fi, 0);
  EXPECT_EQ(m.Reserved, 0);
}

TPhisPropRodNL Sample() {
  TPhisPropRodNL m;
  m.SetE(1.5e5L);
  m.SetMu(0.25L);
  m.SetRo(2.5e3L);
  m.SetR(1.1e4L);
  m.SetFi(45);
  m.SetEpsT(3.5e3L);
  m.SetDiagramma(1);
  m.SetE1(7);
  m.SetA(8);
  m.SetK(9);
  m.Reserved = 0xAB;
  return m;
}

TEST(Materials, AssignCopiesByTheSourceClass) {
  const TPhisPropRodNL src = Sample();
  TPhisPropRodNL dst;
  dst.Assign(src);
  EXPECT_EQ(dst.E, src.E);
  EXPECT_EQ(dst.mu, src.mu);
  EXPECT_EQ(dst.ro, src.ro);
  EXPECT_EQ(dst.R, src.R);
  EXPECT_EQ(dst.EpsT, src.EpsT);
  EXPECT_EQ(dst.E1, 7);
  EXPECT_EQ(dst.A, 8);
  EXPECT_EQ(dst.k, 9);
  EXPECT_EQ(dst.Diagramma, 1);
  EXPECT_EQ(dst.Fi, 45);
  EXPECT_EQ(dst.Reserved, 0);  // not copied

  // A TPhisPropNL source leaves Fi alone.
  TPhisPropNL nl;
  nl.SetE(99);
  TPhisPropRodNL dst2;
  dst2.SetFi(30);
  dst2.Assign(nl);
  EXPECT_EQ(dst2.E, 99);
  EXPECT_EQ(dst2.Fi, 30);

  // A plain linear source changes nothing.
  TPhisicalCharsLinear lin;
  lin.SetE(5);
  TPhisPropRodNL dst3;
  dst3.Assign(lin);
  EXPECT_EQ(dst3.E, 2.06e6L);
}

TEST(Materials, RecordIsInFileOrderAndRoundTrips) {
  const TPhisPropRodNL src = Sample();
  BinaryWriter w;
  src.SaveToStream(w);
  ASSERT_EQ(w.Size(), kMaterialRecordBytes);
  const auto& b = w.Bytes();
  auto ext = [&](std::size_t off) { return DecodeExtended(b.data() + off); };
  EXPECT_EQ(ext(0), src.E);
  EXPECT_EQ(ext(10), src.mu);
  EXPECT_EQ(ext(20), src.ro);
  EXPECT_EQ(ext(30), src.R);
  EXPECT_EQ(ext(40), src.Fi);
  EXPECT_EQ(ext(50), src.EpsT);
  EXPECT_EQ(b[60], 1);  // diagram kind
  EXPECT_EQ(ext(61), 7);
  EXPECT_EQ(ext(71), 8);
  EXPECT_EQ(ext(81), 9);
  EXPECT_EQ(b[91], 0xAB);

  BinaryReader r(w.Bytes());
  TPhisPropRodNL back;
  back.LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());
  BinaryWriter again;
  back.SaveToStream(again);
  EXPECT_EQ(again.Bytes(), w.Bytes());
  EXPECT_EQ(back.Reserved, 0xAB);
  EXPECT_EQ(back.E1, 7);
}

TEST(Materials, ShortRecordIsAFormatErrorAndChangesNothing) {
  BinaryWriter w;
  Sample().SaveToStream(w);
  std::vector<std::uint8_t> bytes = w.Bytes();
  bytes.pop_back();
  BinaryReader r(bytes);
  TPhisPropRodNL m;
  EXPECT_THROW(m.LoadFromStream(r), FormatError);
  EXPECT_EQ(m.E, 2.06e6L);
  EXPECT_EQ(r.Position(), 0u);
}

}  // namespace
}  // namespace tavir
