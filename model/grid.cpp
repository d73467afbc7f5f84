#include "model/grid.h"

#include <cstring>

namespace tavir {

namespace {
// The counts, colour, style and place lie packed one after another (18 bytes);
// each count's 10-byte slot in the file is the 10 bytes starting at the count.
void PackTail(const TBCGrid& g, std::uint8_t out[18]) {
  auto put32 = [&](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
  };
  put32(0, static_cast<std::uint32_t>(g.NSX));
  put32(4, static_cast<std::uint32_t>(g.NSY));
  put32(8, static_cast<std::uint32_t>(g.NSZ));
  put32(12, g.Color);
  out[16] = g.Style;
  out[17] = g.Place;
}
}  // namespace

void TBCGrid::AssignBase(const TBCGrid& s) {
  StepX = s.StepX;
  StepY = s.StepY;
  StepZ = s.StepZ;
  NSX = s.NSX;
  NSY = s.NSY;
  NSZ = s.NSZ;
  Color = s.Color;
  Style = s.Style;
  Place = s.Place;
}

void TBCGrid::SaveToStream(BinaryWriter& w) const {
  w.WriteExtended(StepX);
  w.WriteExtended(StepY);
  w.WriteExtended(StepZ);
  std::uint8_t tail[18];
  PackTail(*this, tail);
  w.WriteBytes(tail + 0, 10);
  w.WriteBytes(tail + 4, 10);
  w.WriteBytes(tail + 8, 10);
  w.WriteUInt32(Color);
  w.WriteByte(Style);
  w.WriteByte(Place);
}

void TBCGrid::LoadFromStream(BinaryReader& r) {
  r.Require(kGridRecordBytes - 2);  // a short record must leave the grid as it was
  StepX = r.ReadExtended();
  StepY = r.ReadExtended();
  StepZ = r.ReadExtended();
  std::uint8_t slot[10];
  r.ReadBytes(slot, 10);
  NSX = static_cast<std::int32_t>(slot[0] | (slot[1] << 8) | (slot[2] << 16) | (std::uint32_t{slot[3]} << 24));
  r.ReadBytes(slot, 10);
  NSY = static_cast<std::int32_t>(slot[0] | (slot[1] << 8) | (slot[2] << 16) | (std::uint32_t{slot[3]} << 24));
  r.ReadBytes(slot, 10);
  NSZ = static_cast<std::int32_t>(slot[0] | (slot[1] << 8) | (slot[2] << 16) | (std::uint32_t{slot[3]} << 24));
  Color = r.ReadUInt32();
  Style = r.ReadByte();
  Place = r.ReadByte();
}

void TGrid::Assign(const TGrid& s) {
  AssignBase(s);
  ShowGrid = s.ShowGrid;
  SnapToGrid = s.SnapToGrid;
}

void TGrid::SaveToStream(BinaryWriter& w) const {
  TBCGrid::SaveToStream(w);
  w.WriteByte(ShowGrid);
  w.WriteByte(SnapToGrid);
}

void TGrid::LoadFromStream(BinaryReader& r) {
  r.Require(kGridRecordBytes);
  TBCGrid::LoadFromStream(r);
  ShowGrid = r.ReadByte();
  SnapToGrid = r.ReadByte();
}

}  // namespace tavir
