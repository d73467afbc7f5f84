#pragma once
// Small value records shared by the whole model and both programs.
#include <array>
#include <cstdint>

#include "platform/binstream.h"
#include "platform/extended.h"
#include "platform/geometry.h"

namespace tavir {

// A coordinate in its 16-byte file slot: the 10 value bytes and 6 bytes that
// nothing reads. The 6 bytes are kept as read so that a file saved again is
// unchanged; points made in code carry zeros.
using SlotPadding = std::array<std::uint8_t, 6>;

struct TFloatPoint {
  Extended X = 0;
  Extended Y = 0;
  SlotPadding PadX{};
  SlotPadding PadY{};
};

struct TFloatPoint3D {
  Extended X = 0;
  Extended Y = 0;
  Extended Z = 0;
  SlotPadding PadX{};
  SlotPadding PadY{};
  SlotPadding PadZ{};
};

// One byte per restraint, 0 free and 1 fixed: moves along X, Y, Z, then the
// rotations captioned "relative to Y", "relative to X", "relative to Z".
using TFixation = std::array<std::uint8_t, 6>;

// Px, Py, Pz, Mx, My, Mz: 60 bytes in a file.
struct TForceRecord {
  Extended Px = 0, Py = 0, Pz = 0, Mx = 0, My = 0, Mz = 0;
  // Component i, 1..6 (0 outside that range).
  Extended Component(int i) const;
  void SetComponent(int i, Extended v);
  bool IsZero() const;
};

TFloatPoint FloatPoint(Extended x, Extended y);
TFloatPoint3D FloatPoint3D(Extended x, Extended y, Extended z);

// File forms. A point slot is the 10 value bytes followed by the 6 held bytes.
void ReadSlot(BinaryReader& r, Extended& v, SlotPadding& pad);
void WriteSlot(BinaryWriter& w, Extended v, const SlotPadding& pad);
TFloatPoint ReadFloatPoint(BinaryReader& r);
void WriteFloatPoint(BinaryWriter& w, const TFloatPoint& p);
TFloatPoint3D ReadFloatPoint3D(BinaryReader& r);
void WriteFloatPoint3D(BinaryWriter& w, const TFloatPoint3D& p);
TFixation ReadFixation(BinaryReader& r);
void WriteFixation(BinaryWriter& w, const TFixation& f);
TForceRecord ReadForceRecord(BinaryReader& r);
void WriteForceRecord(BinaryWriter& w, const TForceRecord& f);

constexpr std::size_t kFloatPointBytes = 32;
constexpr std::size_t kFloatPoint3DBytes = 48;
constexpr std::size_t kForceRecordBytes = 60;

}  // namespace tavir
