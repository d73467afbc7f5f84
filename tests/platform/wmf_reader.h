#pragma once
// A strict reader of placeable metafiles for the tests: it checks the headers and
// the checksum, walks the records by their sizes up to META_EOF, and plays the
// object table the way a player does (a created object takes the lowest free slot),
// so that every select and delete of a slot that holds nothing is caught.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tavir::testing_wmf {

struct WmfRecord {
  std::uint16_t Function = 0;
  std::vector<std::uint8_t> Params;  // the bytes after size and function
  int CreatedSlot = -1;              // object records: the slot the object went to

  std::uint16_t Word(std::size_t i) const {
    return static_cast<std::uint16_t>(Params.at(2 * i) | (Params.at(2 * i + 1) << 8));
  }
  std::int16_t Int(std::size_t i) const { return static_cast<std::int16_t>(Word(i)); }
  std::uint32_t DWord(std::size_t i) const { return Word(i) | (static_cast<std::uint32_t>(Word(i + 1)) << 16); }
};

struct WmfFile {
  std::int16_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::uint16_t Inch = 0;
  std::uint16_t Objects = 0;     // from the header
  std::uint32_t MaxRecord = 0;   // from the header
  std::size_t SlotsUsed = 0;     // found by playing the object table
  std::vector<WmfRecord> Records;  // without META_EOF
  std::string Error;             // empty when the file is sound

  std::size_t Count(std::uint16_t function) const {
    std::size_t n = 0;
    for (const auto& r : Records) n += r.Function == function;
    return n;
  }
  std::vector<WmfRecord> Of(std::uint16_t function) const {
    std::vector<WmfRecord> out;
    for (const auto& r : Records)
      if (r.Function == function) out.push_back(r);
    return out;
  }
};

inline WmfFile ReadWmf(const std::vector<std::uint8_t>& b) {
  WmfFile f;
  auto u16 = [&b](std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); };
  auto u32 = [&](std::size_t at) { return u16(at) | (static_cast<std::uint32_t>(u16(at + 2)) << 16); };
  if (b.size() < 40 || b.size() % 2 != 0) {
    f.Error = "file too short or odd";
    return f;
  }
  if (u32(0) != 0x9AC6CDD7u) {
    f.Error = "placeable key";
    return f;
  }
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < 20; i += 2) sum ^= u16(i);
  if (sum != u16(20)) {
    f.Error = "checksum";
    return f;
  }
  f.Left = static_cast<std::int16_t>(u16(6));
  f.Top = static_cast<std::int16_t>(u16(8));
  f.Right = static_cast<std::int16_t>(u16(10));
  f.Bottom = static_cast<std::int16_t>(u16(12));
  f.Inch = u16(14);
  const std::size_t h = 22;
  if (u16(h) != 1 || u16(h + 2) != 9 || u16(h + 4) != 0x0300) {
    f.Error = "metafile header type, size or version";
    return f;
  }
  if (std::size_t{u32(h + 6)} * 2 != b.size() - h) {
    f.Error = "file size in the header";
    return f;
  }
  f.Objects = u16(h + 10);
  f.MaxRecord = u32(h + 12);

  std::vector<bool> objectSlots;
  std::uint32_t maxSeen = 0;
  std::size_t at = h + 18;
  bool eof = false;
  while (at < b.size()) {
    if (b.size() - at < 6) {
      f.Error = "truncated record";
      return f;
    }
    const std::uint32_t words = u32(at);
    const std::uint16_t function = u16(at + 4);
    if (words < 3 || std::size_t{words} * 2 > b.size() - at) {
      f.Error = "record size " + std::to_string(words) + " at " + std::to_string(at);
      return f;
    }
    maxSeen = std::max(maxSeen, words);
    if (function == 0) {
      if (words != 3 || at + 6 != b.size()) {
        f.Error = "META_EOF not last or not 3 words";
        return f;
      }
      eof = true;
      break;
    }
    WmfRecord r;
    r.Function = function;
    r.Params.assign(b.begin() + static_cast<std::ptrdiff_t>(at + 6),
                    b.begin() + static_cast<std::ptrdiff_t>(at + std::size_t{words} * 2));
    // Function numbers carry the parameter count in their high byte for the fixed records.
    const bool creates = function == 0x02FA || function == 0x02FB || function == 0x02FC || function == 0x01F9 ||
                         function == 0x0142 || function == 0x06FF || function == 0x00F7;
    if (creates) {
      std::size_t slot = 0;
      while (slot < objectSlots.size() && objectSlots[slot]) ++slot;
      if (slot == objectSlots.size()) objectSlots.push_back(false);
      objectSlots[slot] = true;
      r.CreatedSlot = static_cast<int>(slot);
      f.SlotsUsed = std::max(f.SlotsUsed, objectSlots.size());
    }
    if (function == 0x012D || function == 0x01F0) {
      const std::size_t slot = r.Word(0);
      if (slot >= objectSlots.size() || !objectSlots[slot]) {
        f.Error = (function == 0x012D ? "select of empty slot " : "delete of empty slot ") + std::to_string(slot);
        return f;
      }
      if (function == 0x01F0) objectSlots[slot] = false;
    }
    f.Records.push_back(std::move(r));
    at += std::size_t{words} * 2;
  }
  if (!eof) {
    f.Error = "no META_EOF";
    return f;
  }
  if (maxSeen != f.MaxRecord) f.Error = "max record size in the header";
  if (f.SlotsUsed > f.Objects) f.Error = "more object objectSlots used than the header declares";
  return f;
}

}  // namespace tavir::testing_wmf
