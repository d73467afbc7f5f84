#pragma once
// The drawing grid of a window (and of the supervisor's settings).
#include <cstdint>

#include "platform/binstream.h"
#include "platform/extended.h"
#include "platform/geometry.h"

namespace tavir {

class TBCGrid {
 public:
  Extended StepX = 0, StepY = 0, StepZ = 0;
  std::int32_t NSX = 0, NSY = 0, NSZ = 0;
  RgbColor Color = 0;
  std::uint8_t Style = 0;  // 0 dots, 1 crosses, 2 lines, 3 circles
  std::uint8_t Place = 0;  // 0 over the model, 1 under it, 2 over it inverting

  void SetStepX(Extended v) { StepX = v; }
  void SetStepY(Extended v) { StepY = v; }
  void SetStepZ(Extended v) { StepZ = v; }
  void SetNSX(std::int32_t v) { NSX = v; }
  void SetNSY(std::int32_t v) { NSY = v; }
  void SetNSZ(std::int32_t v) { NSZ = v; }
  void SetColor(RgbColor v) { Color = v; }
  void SetStyle(std::uint8_t v) { Style = v; }
  void SetPlace(std::uint8_t v) { Place = v; }

  void AssignBase(const TBCGrid& source);
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

class TGrid : public TBCGrid {
 public:
  std::uint8_t ShowGrid = 0;
  std::uint8_t SnapToGrid = 0;

  void SetShowGrid(std::uint8_t v) { ShowGrid = v; }
  void SetSnapToGrid(std::uint8_t v) { SnapToGrid = v; }

  void Assign(const TBCGrid& source) { AssignBase(source); }
  void Assign(const TGrid& source);
  // 68 bytes: the base record, then the two flags.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

constexpr std::size_t kGridRecordBytes = 68;

}  // namespace tavir
