#pragma once
#include <cstdint>

#include "platform/binstream.h"

namespace tavir {

class TFinKnots;

// Lists that never hold items: only a count of 0 is stored (nothing for KnotDisp).
class TPliantsList {
 public:
  TFinKnots* Knots = nullptr;  // link, not owned
  std::int32_t Count() const { return 0; }
  void FreeAll() {}
  // Reads the count (a negative one is a format error); no items follow.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const { w.WriteInt32(0); }
};

class THardlessList : public TPliantsList {};

class TDisplacementsList {
 public:
  std::int32_t Count() const { return 0; }
  void FreeAll() {}
};

}  // namespace tavir
