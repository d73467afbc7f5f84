#include "platform/extended.h"

#include <cstring>

namespace tavir {

// On x86-64 the first 10 bytes of a long double in memory are the value itself,
// little-endian; the 6 bytes after them are padding that we never write.
void EncodeExtended(Extended value, std::uint8_t out[kExtendedBytes]) {
  std::uint8_t raw[sizeof(Extended)] = {};
  std::memcpy(raw, &value, sizeof(Extended));
  std::memcpy(out, raw, kExtendedBytes);
}

Extended DecodeExtended(const std::uint8_t in[kExtendedBytes]) {
  std::uint8_t raw[sizeof(Extended)] = {};
  std::memcpy(raw, in, kExtendedBytes);
  Extended value;
  std::memcpy(&value, raw, sizeof(Extended));
  return value;
}

}  // namespace tavir
