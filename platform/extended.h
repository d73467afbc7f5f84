#pragma once
// The 80-bit extended real that every coordinate, constant and result uses,
// and its 10-byte little-endian file form.
#include <cstdint>
#include <limits>

namespace tavir {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the x87 80-bit type with a 64-bit mantissa");
static_assert(std::numeric_limits<Extended>::max_exponent == 16384, "Extended must have a 15-bit exponent");

constexpr int kExtendedBytes = 10;

// Writes the 10 value bytes (64-bit significand, then sign and exponent).
void EncodeExtended(Extended value, std::uint8_t out[kExtendedBytes]);
// Reads 10 bytes; any bit pattern is accepted (a file may hold NaN).
Extended DecodeExtended(const std::uint8_t in[kExtendedBytes]);

}  // namespace tavir
