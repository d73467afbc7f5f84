#pragma once
// Colours ($00BBGGRR everywhere) and integer screen points.
#include <cstdint>

namespace tavir {

using TColor = std::uint32_t;

constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor{r} | (TColor{g} << 8) | (TColor{b} << 16);
}
constexpr std::uint8_t RedOf(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

}  // namespace tavir
