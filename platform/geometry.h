#pragma once
// Colours ($00BBGGRR everywhere) and integer screen points.
#include <cstdint>

namespace tavir {

using RgbColor = std::uint32_t;

constexpr RgbColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return RgbColor{r} | (RgbColor{g} << 8) | (RgbColor{b} << 16);
}
constexpr std::uint8_t RedOf(RgbColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(RgbColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(RgbColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

struct TPoint {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct PixelSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

}  // namespace tavir
