#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/binstream.h"
#include "platform/temp_folder.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Int32Bytes(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8), static_cast<std::uint8_t>(u >> 16),
          static_cast<std::uint8_t>(u >> 24)};
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(BinaryReader, EveryReadRefusesEveryShortBuffer) {
  const struct {
    const char* name;
    std::size_t size;
    std::function<void(BinaryReader&)> read;
  } reads[] = {
      {"byte", 1, [](BinaryReader& r) { r.ReadByte(); }},
      {"int16", 2, [](BinaryReader& r) { r.ReadInt16(); }},
      {"int32", 4, [](BinaryReader& r) { r.ReadInt32(); }},
      {"uint32", 4, [](BinaryReader& r) { r.ReadUInt32(); }},
      {"extended", 10, [](BinaryReader& r) { r.ReadExtended(); }},
      {"bytes7", 7, [](BinaryReader& r) { std::uint8_t b[7]; r.ReadBytes(b, 7); }},
  };
  const Bytes data(16, 0x5A);
  for (const auto& read : reads) {
    for (std::size_t n = 0; n < read.size; ++n) {
      BinaryReader r(data.data(), n);
      EXPECT_THROW(read.read(r), EFormatError) << read.name << " from " << n << " bytes";
      EXPECT_EQ(r.Position(), 0u) << read.name << ": a refused read moves nothing";
    }
    BinaryReader exact(data.data(), read.size);
    EXPECT_NO_THROW(read.read(exact)) << read.name;
    EXPECT_TRUE(exact.AtEnd()) << read.name;
  }
}

TEST(BinaryReader, ReadsLittleEndianValues) {
  const Bytes data = {0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x80};
  BinaryReader r(data);
  EXPECT_EQ(r.ReadInt16(), -2);
  EXPECT_EQ(r.ReadInt32(), 0x12345678);
  EXPECT_EQ(r.ReadUInt32(), 0xFFFFFFFFu);
  EXPECT_EQ(r.ReadInt16(), std::numeric_limits<std::int16_t>::min());
  EXPECT_TRUE(r.AtEnd());
}

TEST(BinaryReader, CountsAreCheckedAgainstTheBytesLeft) {
  const Bytes tail(24, 0);  // room for exactly 3 items of 8 bytes
  const struct {
    std::int32_t count;
    bool accepted;
  } cases[] = {
      {0, true}, {3, true}, {4, false}, {-1, false}, {std::numeric_limits<std::int32_t>::min(), false},
      {std::numeric_limits<std::int32_t>::max(), false},
  };
  for (const auto& c : cases) {
    const Bytes data = Concat(Int32Bytes(c.count), tail);
    BinaryReader r(data);
    if (c.accepted)
      EXPECT_EQ(r.ReadCount(8), c.count);
    else
      EXPECT_THROW(r.ReadCount(8), EFormatError) << c.count;
  }
  // One-byte items: the count may use every byte left, not one more.
  const Bytes ok = Concat(Int32Bytes(24), tail);
  BinaryReader r1(ok);
  EXPECT_EQ(r1.ReadCount(1), 24);
  const Bytes over = Concat(Int32Bytes(25), tail);
  BinaryReader r2(over);
  EXPECT_THROW(r2.ReadCount(1), EFormatError);
}

TEST(BinaryReader, StringLengthsAreChecked) {
  const Bytes text = {0xD2, 0xE5, 0xEB, 0xEE};  // "Тело"
  const Bytes goodData = Concat(Int32Bytes(4), text);
  BinaryReader good(goodData);
  EXPECT_EQ(good.ReadString(), "Тело");
  EXPECT_TRUE(good.AtEnd());

  const Bytes emptyData = Int32Bytes(0);
  BinaryReader empty(emptyData);
  EXPECT_EQ(empty.ReadString(), "");

  for (const std::int32_t length : {5, -1, std::numeric_limits<std::int32_t>::max(),
                                    std::numeric_limits<std::int32_t>::min()}) {
    const Bytes data = Concat(Int32Bytes(length), text);
    BinaryReader r(data);
    EXPECT_THROW(r.ReadString(), EFormatError) << length;
  }
  const Bytes raw = {'a', 'b', 'c'};
  BinaryReader r(raw);
  EXPECT_THROW(r.ReadRawString(4), EFormatError);
  EXPECT_EQ(r.ReadRawString(3), "abc");
}

TEST(BinaryWriter, WritesHandComputedLittleEndianBytes) {
  BinaryWriter w;
  w.WriteByte(0x7F);
  w.WriteInt16(-2);
  w.WriteInt32(0x12345678);
  w.WriteInt32(-1);
  w.WriteUInt32(0x80000001u);
  w.WriteExtended(1.0L);
  w.WriteString("Тело");
  w.WriteString("");
  const Bytes expected = {
      0x7F,                                                  // byte
      0xFE, 0xFF,                                            // int16 -2
      0x78, 0x56, 0x34, 0x12,                                // int32
      0xFF, 0xFF, 0xFF, 0xFF,                                // int32 -1
      0x01, 0x00, 0x00, 0x80,                                // uint32
      0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F,                 // extended 1.0
      0x04, 0x00, 0x00, 0x00, 0xD2, 0xE5, 0xEB, 0xEE,        // "Тело"
      0x00, 0x00, 0x00, 0x00,                                // ""
  };
  EXPECT_EQ(w.Bytes(), expected);

  BinaryReader r(w.Bytes());
  EXPECT_EQ(r.ReadByte(), 0x7F);
  EXPECT_EQ(r.ReadInt16(), -2);
  EXPECT_EQ(r.ReadInt32(), 0x12345678);
  EXPECT_EQ(r.ReadInt32(), -1);
  EXPECT_EQ(r.ReadUInt32(), 0x80000001u);
  EXPECT_EQ(r.ReadExtended(), 1.0L);
  EXPECT_EQ(r.ReadString(), "Тело");
  EXPECT_EQ(r.ReadString(), "");
  EXPECT_TRUE(r.AtEnd());
}

TEST(BinaryWriter, RefusesTextTheCodePageLacks) {
  BinaryWriter w;
  EXPECT_THROW(w.WriteString("中"), EFormatError);
  EXPECT_EQ(w.Size(), 0u) << "nothing of a refused string is written";
}

TEST_F(TempFolder, WriteFileAtomicReplacesTheTarget) {
  const std::string path = (dir_ / "model.tps").string();
  WriteFileAtomic(path, {1, 2, 3, 4, 5});
  EXPECT_EQ(ReadWholeFile(path), (Bytes{1, 2, 3, 4, 5}));
  WriteFileAtomic(path, {9});
  EXPECT_EQ(ReadWholeFile(path), (Bytes{9}));
  WriteFileAtomic(path, {});
  EXPECT_EQ(ReadWholeFile(path), Bytes{});
  EXPECT_EQ(EntriesIn(dir_), 1u) << "no temporary file is left behind";
}

TEST_F(TempFolder, WriteFileAtomicFailureLeavesNothing) {
  const fs::path missing = dir_ / "no-such-folder";
  EXPECT_THROW(WriteFileAtomic((missing / "model.tps").string(), {1, 2, 3}), std::runtime_error);
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_EQ(EntriesIn(dir_), 0u);

  // A folder in the way of the target: the rename fails, the temporary goes.
  const fs::path blocked = dir_ / "blocked";
  fs::create_directories(blocked / "inside");
  EXPECT_THROW(WriteFileAtomic(blocked.string(), {1}), std::runtime_error);
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_EQ(EntriesIn(dir_), 1u);
}

TEST_F(TempFolder, ReadWholeFileRefusesMissingAndOversizedFiles) {
  const std::string path = (dir_ / "data.bin").string();
  EXPECT_THROW(ReadWholeFile(path), std::runtime_error);
  WriteFileAtomic(path, Bytes(100, 7));
  EXPECT_EQ(ReadWholeFile(path, 100).size(), 100u);
  EXPECT_THROW(ReadWholeFile(path, 99), EFormatError);
}

}  // namespace
}  // namespace tavir
