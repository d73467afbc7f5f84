#include <gtest/gtest.h>

#include <string>

#include "platform/cp1251.h"

namespace tavir {
namespace {

std::string Bytes(std::initializer_list<unsigned char> b) { return std::string(b.begin(), b.end()); }

TEST(Cp1251, EncodesCyrillicToHandComputedBytes) {
  const std::string expected =
      Bytes({0xD2, 0xE5, 0xEB, 0xEE, 0x20, 0xEF, 0xEB, 0xE0, 0xF1, 0xF2, 0xE8, 0xED, 0xFB});
  const auto bytes = Utf8ToCp1251("Тело пластины");
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, expected);
  EXPECT_EQ(Cp1251ToUtf8(expected), "Тело пластины");
  // The letters outside the contiguous block and a few signs.
  EXPECT_EQ(Utf8ToCp1251("ЁёЇїЎў№€«»—"), Bytes({0xA8, 0xB8, 0xAF, 0xBF, 0xA1, 0xA2, 0xB9, 0x88, 0xAB, 0xBB, 0x97}));
  EXPECT_EQ(Utf8ToCp1251("Аа Яя"), Bytes({0xC0, 0xE0, 0x20, 0xDF, 0xFF}));
}

TEST(Cp1251, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1251ToUtf8(all);
  const auto back = Utf8ToCp1251(utf8);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
  EXPECT_TRUE(IsCp1251Encodable(utf8));
}

TEST(Cp1251, UndefinedByteMapsToU0098) {
  EXPECT_EQ(Cp1251ToUtf8(Bytes({0x98})), "\xC2\x98");
  EXPECT_EQ(Utf8ToCp1251("\xC2\x98"), Bytes({0x98}));
}

TEST(Cp1251, RefusesCharactersOutsideTheCodePage) {
  // U+00E4 and U+4E2D are not in the table; U+1F600 needs four UTF-8 bytes.
  for (const char* text : {"ä", "中", "Тело ä", "😀", "\xC2\x81"}) {
    EXPECT_FALSE(Utf8ToCp1251(text).has_value()) << text;
    EXPECT_FALSE(IsCp1251Encodable(text)) << text;
  }
}

TEST(Cp1251, RefusesMalformedUtf8) {
  const std::string bad[] = {
      "\xFF",              // never a UTF-8 byte
      "\x80",              // stray continuation
      "\xD0",              // truncated two-byte form
      "\xE2\x82",          // truncated three-byte form
      "\xD0\x41",          // continuation missing
      "\xC1\x81",          // overlong 'A'
      "\xC0\x80",          // overlong NUL
      "\xE0\x80\xB1",      // overlong '1'
      "\xED\xA0\x80",      // surrogate half
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
  };
  for (const auto& text : bad) EXPECT_FALSE(Utf8ToCp1251(text).has_value()) << testing::PrintToString(text);
}

}  // namespace
}  // namespace tavir
