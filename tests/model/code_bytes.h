#pragma once
// Checks that each enumerator of a byte code is the byte the file or the program
// stores, both ways.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "model/codes.h"

namespace tavir {

template <ByteCode Code>
struct ByteCase {
  Code Value;
  std::uint8_t Byte;
};

template <ByteCode Code, std::size_t N>
void ExpectBytesRoundTrip(const ByteCase<Code> (&cases)[N]) {
  for (const ByteCase<Code>& c : cases) {
    EXPECT_EQ(CodeByte(c.Value), c.Byte);
    EXPECT_EQ(CodeOfByte<Code>(c.Byte), c.Value) << int{c.Byte};
  }
}

}  // namespace tavir
