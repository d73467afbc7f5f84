#include "platform/binstream.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

int SysOpen(const char* path, int flags, unsigned mode) { return ::open(path, flags, static_cast<mode_t>(mode)); }
long SysWrite(int fd, const void* data, std::size_t n) { return static_cast<long>(::write(fd, data, n)); }
int SysFsync(int fd) { return ::fsync(fd); }
int SysClose(int fd) { return ::close(fd); }
int SysRename(const char* from, const char* to) { return ::rename(from, to); }

// The reason of a failed call in words the user reads.
std::string ReasonText(int error) {
  switch (error) {
    case ENOSPC: return "нет места на диске";
    case EDQUOT: return "превышена дисковая квота";
    case EACCES:
    case EPERM: return "нет прав доступа";
    case EROFS: return "диск доступен только для чтения";
    case EIO: return "ошибка ввода-вывода";
    case ENOENT: return "папка не найдена";
    case ENOTDIR: return "путь не является папкой";
    case EISDIR: return "на месте файла находится папка";
    case ENAMETOOLONG: return "слишком длинное имя";
    case ELOOP: return "слишком много символьных ссылок";
    case EXDEV: return "файл и временный файл на разных дисках";
    case EBUSY: return "файл занят";
    default: return "системная ошибка " + std::to_string(error);
  }
}

[[noreturn]] void SaveFailed(const std::string& what, const std::string& path, int error) {
  throw std::runtime_error(what + " " + path + ": " + ReasonText(error) + ".");
}

// The file a save to this path writes: the path itself, or for a symbolic link
// the file it names (through any chain of links), so that the link stays a link.
std::filesystem::path SaveTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p(path);
  for (int hops = 0;; ++hops) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (ec || !fs::is_symlink(st)) return p;
    if (hops == 40) SaveFailed("Не удается сохранить файл", path, ELOOP);
    const fs::path next = fs::read_symlink(p, ec);
    if (ec) SaveFailed("Не удается прочитать ссылку", p.string(), ec.value());
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
}

// Six letters or digits, fresh for every try.
std::string RandomSuffix(std::mt19937_64& rng) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string s(6, 'x');
  for (char& c : s) c = kChars[rng() % (sizeof(kChars) - 1)];
  return s;
}

// Closes the temporary file, if still open, and removes it: a failed save leaves
// nothing of itself.
class TemporaryFile {
 public:
  TemporaryFile(std::string path, int fd, const SaveFileCalls& calls)
      : path_(std::move(path)), fd_(fd), calls_(calls) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }
  int Fd() const { return fd_; }
  const std::string& Path() const { return path_; }
  // Closes the file and reports the deferred write errors that close can return.
  int Close() {
    const int fd = fd_;
    fd_ = -1;  // closed even when close fails: retrying may close another file
    return calls_.Close(fd);
  }
  void Renamed() { renamed_ = true; }

 private:
  std::string path_;
  int fd_;
  const SaveFileCalls& calls_;
  bool renamed_ = false;
};

}  // namespace

const SaveFileCalls& SystemSaveFileCalls() {
  static const SaveFileCalls calls{SysOpen, SysWrite, SysFsync, SysClose, SysRename};
  return calls;
}

bool IsSaveTemporaryName(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (name.size() < 1 + kSaveTemporaryMark.size() + 6 || name.front() != '.') return false;
  const std::size_t mark = name.size() - 6 - kSaveTemporaryMark.size();
  if (name.substr(mark, kSaveTemporaryMark.size()) != kSaveTemporaryMark) return false;
  for (char c : name.substr(name.size() - 6))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

void WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes, const SaveFileCalls& calls) {
  namespace fs = std::filesystem;
  const fs::path target = SaveTarget(path);
  const std::string targetName = target.string();
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  // The old file's permissions and owner go to the new one.
  struct stat old {};
  const bool hadOld = ::stat(targetName.c_str(), &old) == 0;
  if (!hadOld && errno != ENOENT) SaveFailed("Не удается записать файл", path, errno);
  if (hadOld && !S_ISREG(old.st_mode)) SaveFailed("Не удается записать файл", path, EISDIR);

  // The temporary file is created exclusively and never through a link, so that
  // an entry of its name (a leftover or a planted link) is never written into.
  std::random_device rd;
  std::mt19937_64 rng((static_cast<std::uint64_t>(rd()) << 32) ^ rd());
  int fd = -1;
  std::string tempName;
  for (int attempt = 0; fd < 0; ++attempt) {
    tempName = (folder / ("." + target.filename().string() + std::string(kSaveTemporaryMark) + RandomSuffix(rng)))
                   .string();
    // New files get the usual permissions (the umask applies); a file that
    // replaces another is private until it has the old one's.
    fd = calls.Open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, hadOld ? 0600u : 0666u);
    if (fd < 0 && (errno != EEXIST || attempt == 100)) SaveFailed("Не удается создать файл", path, errno);
  }
  TemporaryFile temp(tempName, fd, calls);

  if (hadOld) {
    // Another owner's file (an administrator saving it) stays theirs where allowed.
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::fchown(temp.Fd(), old.st_uid, old.st_gid) != 0 &&
        ::fchown(temp.Fd(), static_cast<uid_t>(-1), old.st_gid) != 0) {
      // Not permitted: the file becomes the saver's own, as any new file would.
    }
    if (::fchmod(temp.Fd(), old.st_mode & 07777) != 0) SaveFailed("Ошибка записи файла", path, errno);
  }

  const std::uint8_t* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const long n = calls.Write(temp.Fd(), data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) SaveFailed("Ошибка записи файла", path, errno);
    if (n == 0) SaveFailed("Ошибка записи файла", path, EIO);
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  // On disk before it can replace anything: a crash after the rename must not
  // leave an empty file under the old name.
  if (calls.Fsync(temp.Fd()) != 0) SaveFailed("Ошибка записи файла", path, errno);
  if (temp.Close() != 0) SaveFailed("Ошибка записи файла", path, errno);
  if (calls.Rename(temp.Path().c_str(), targetName.c_str()) != 0) SaveFailed("Не удается записать файл", path, errno);
  temp.Renamed();

  // The rename itself reaches the disk with the folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) SaveFailed("Файл записан, но не сброшен на диск", path, errno);
  const int synced = calls.Fsync(dir);
  const int error = errno;
  ::close(dir);
  // Some file systems cannot flush a folder at all; there is nothing more to do.
  if (synced != 0 && error != EINVAL && error != ENOTSUP) SaveFailed("Файл записан, но не сброшен на диск", path, error);
}

}  // namespace tavir
