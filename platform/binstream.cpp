#include "platform/binstream.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/cp1251.h"

namespace tavir {

namespace {
const char* const kShortRead = "Файл поврежден: неожиданный конец данных.";
}

void BinaryReader::Require(std::size_t n) const {
  if (n > size_ - pos_) throw EFormatError(kShortRead);
}

void BinaryReader::ReadBytes(void* out, std::size_t n) {
  Require(n);
  if (n != 0) std::memcpy(out, data_ + pos_, n);
  pos_ += n;
}

std::uint8_t BinaryReader::ReadByte() {
  Require(1);
  return data_[pos_++];
}

std::int16_t BinaryReader::ReadInt16() {
  std::uint8_t b[2];
  ReadBytes(b, 2);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
}

std::uint32_t BinaryReader::ReadUInt32() {
  std::uint8_t b[4];
  ReadBytes(b, 4);
  return std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
}

std::int32_t BinaryReader::ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }

Extended BinaryReader::ReadExtended() {
  std::uint8_t b[kExtendedBytes];
  ReadBytes(b, kExtendedBytes);
  return DecodeExtended(b);
}

std::int32_t BinaryReader::ReadCount(std::size_t minItemBytes) {
  const std::int32_t n = ReadInt32();
  if (n < 0) throw EFormatError("Файл поврежден: отрицательное число элементов списка.");
  if (minItemBytes != 0 && static_cast<std::uint64_t>(n) > Remaining() / minItemBytes)
    throw EFormatError("Файл поврежден: число элементов списка больше, чем данных в файле.");
  return n;
}

std::string BinaryReader::ReadRawString(std::int32_t length) {
  if (length < 0) throw EFormatError("Файл поврежден: отрицательная длина строки.");
  if (static_cast<std::size_t>(length) > Remaining())
    throw EFormatError("Файл поврежден: длина строки больше, чем данных в файле.");
  std::string s(reinterpret_cast<const char*>(data_ + pos_), static_cast<std::size_t>(length));
  pos_ += static_cast<std::size_t>(length);
  return s;
}

std::string BinaryReader::ReadString() { return Cp1251ToUtf8(ReadRawString(ReadInt32())); }

void BinaryWriter::WriteBytes(const void* data, std::size_t n) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + n);
}

void BinaryWriter::WriteInt16(std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  WriteByte(static_cast<std::uint8_t>(u & 0xFF));
  WriteByte(static_cast<std::uint8_t>(u >> 8));
}

void BinaryWriter::WriteUInt32(std::uint32_t u) {
  for (int i = 0; i < 4; ++i) WriteByte(static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF));
}

void BinaryWriter::WriteInt32(std::int32_t v) { WriteUInt32(static_cast<std::uint32_t>(v)); }

void BinaryWriter::WriteExtended(Extended v) {
  std::uint8_t b[kExtendedBytes];
  EncodeExtended(v, b);
  WriteBytes(b, kExtendedBytes);
}

void BinaryWriter::WriteString(std::string_view utf8) {
  const auto bytes = Utf8ToCp1251(utf8);
  if (!bytes) throw EFormatError("Текст содержит символы, которые нельзя записать в файл.");
  WriteInt32(static_cast<std::int32_t>(bytes->size()));
  WriteBytes(bytes->data(), bytes->size());
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) throw std::runtime_error("Не удается открыть файл " + path);
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw std::runtime_error("Не удается прочитать файл " + path);
  if (static_cast<std::uint64_t>(size) > maxBytes) throw EFormatError("Файл слишком велик: " + path);
  in.seekg(0, std::ios::beg);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    throw std::runtime_error("Не удается прочитать файл " + path);
  return bytes;
}

void WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  std::random_device rd;
  const fs::path temp = target.parent_path() /
                        (target.filename().string() + ".tmp" + std::to_string(rd() % 1000000u));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("Не удается создать файл " + temp.string());
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      fs::remove(temp, ec);
      throw std::runtime_error("Ошибка записи файла " + path);
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw std::runtime_error("Не удается записать файл " + path);
  }
}

}  // namespace tavir
