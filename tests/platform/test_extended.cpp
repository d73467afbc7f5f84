#include <gtest/gtest.h>

#include <cmath>

#include "platform/binstream.h"
#include "platform/extended.h"

namespace tavir {
namespace {

TEST(Extended, EncodesHandComputedBytes) {
  struct Case {
    Extended value;
    std::uint8_t bytes[10];
  };
  const Case cases[] = {
      {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {-2.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
      {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {0.5L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F}},
      {3.0L, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x40}},
  };
  for (const auto& c : cases) {
    std::uint8_t out[10];
    EncodeExtended(c.value, out);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], c.bytes[i]) << "value " << static_cast<double>(c.value) << " byte " << i;
    EXPECT_EQ(DecodeExtended(c.bytes), c.value);
  }
}

TEST(Extended, KeepsAllSixtyFourMantissaBits) {
  const Extended v = 1.0L + std::ldexp(1.0L, -63);
  std::uint8_t b[10];
  EncodeExtended(v, b);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(DecodeExtended(b), v);
}

}  // namespace
}  // namespace tavir
