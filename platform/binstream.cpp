#include "platform/binstream.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/cp1251.h"

namespace tavir {

namespace {
const char* const kShortRead = "Файл поврежден: неожиданный конец данных.";
}

void BinaryReader::Require(std::size_t n) const {
  if (n > size_ - pos_) throw FormatError(kShortRead);
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
  if (n < 0) throw FormatError("Файл поврежден: отрицательное число элементов списка.");
  if (minItemBytes != 0 && static_cast<std::uint64_t>(n) > Remaining() / minItemBytes)
    throw FormatError("Файл поврежден: число элементов списка больше, чем данных в файле.");
  return n;
}

std::string BinaryReader::ReadRawString(std::int32_t length) {
  if (length < 0) throw FormatError("Файл поврежден: отрицательная длина строки.");
  if (static_cast<std::size_t>(length) > Remaining())
    throw FormatError("Файл поврежден: длина строки больше, чем данных в файле.");
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
  if (!bytes) throw FormatError("Текст содержит символы, которые нельзя записать в файл.");
  WriteInt32(static_cast<std::int32_t>(bytes->size()));
  WriteBytes(bytes->data(), bytes->size());
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

// What stands under a file's name when it is not a regular file.
std::string KindText(mode_t mode) { return S_ISDIR(mode) ? ReasonText(EISDIR) : "файл не является обычным файлом"; }

const char* const kReadOnlyFile = "файл доступен только для чтения";

[[noreturn]] void Failed(const std::string& what, const std::string& path, const std::string& reason) {
  throw std::runtime_error(what + " " + path + ": " + reason + ".");
}

[[noreturn]] void CallFailed(const std::string& what, const std::string& path, int error) {
  Failed(what, path, ReasonText(error));
}

// A descriptor closed with its scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  const char* const kCannotOpen = "Не удается открыть файл";
  const char* const kCannotRead = "Не удается прочитать файл";
  auto openReason = [](int error) { return error == ENOENT ? std::string("файл не найден") : ReasonText(error); };
  // Only a regular file is read, and a pipe or a device is not even opened: it
  // would hold the program up or never end (a link to /dev/zero).
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) Failed(kCannotOpen, path, openReason(errno));
  if (!S_ISREG(st.st_mode)) Failed(kCannotOpen, path, KindText(st.st_mode));
  const Descriptor in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (in.Fd() < 0) Failed(kCannotOpen, path, openReason(errno));
  // The name may have been given to something else in between.
  if (::fstat(in.Fd(), &st) != 0) CallFailed(kCannotRead, path, errno);
  if (!S_ISREG(st.st_mode)) Failed(kCannotOpen, path, KindText(st.st_mode));
  if (st.st_size < 0) CallFailed(kCannotRead, path, EIO);
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes) throw FormatError("Файл слишком велик: " + path);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(in.Fd(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) CallFailed(kCannotRead, path, errno);
    if (n == 0) break;  // the file got shorter while it was read
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

namespace {

// The file a save to this path writes: the path itself, or for a symbolic link
// the file it names (through any chain of links), so that the link stays a link.
std::filesystem::path SaveTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p(path);
  for (int hops = 0;; ++hops) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (ec || !fs::is_symlink(st)) return p;
    if (hops == 40) CallFailed("Не удается сохранить файл", path, ELOOP);
    const fs::path next = fs::read_symlink(p, ec);
    if (ec) CallFailed("Не удается прочитать ссылку", p.string(), ec.value());
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
}

// A folder as the user knows it: the current one by its full name.
std::string FolderText(const std::filesystem::path& folder) {
  std::error_code ec;
  if (folder.empty() || folder == ".") {
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (!ec) return here.string();
  }
  return folder.string();
}

// Six letters or digits, fresh for every try.
std::string RandomSuffix(std::mt19937_64& rng) {
  static constexpr char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string s(6, 'x');
  for (char& c : s) c = kChars[rng() % (sizeof(kChars) - 1)];
  return s;
}

// Locks a temporary file just created. False when the cleanup of a concurrent
// save took it for a leftover first (it holds the lock, or has removed the file
// already); a file system without such locks saves unlocked.
bool LockNewTemporary(int fd) {
  int locked = 0;
  do locked = ::flock(fd, LOCK_EX | LOCK_NB);
  while (locked != 0 && errno == EINTR);
  if (locked != 0) return errno != EWOULDBLOCK;
  struct stat st {};
  return ::fstat(fd, &st) != 0 || st.st_nlink > 0;
}

// The temporary file of a save. It stays locked from its creation until it has
// become the target or is removed, so that no other save takes it for the
// leftover of an interrupted one; a failed save removes it.
class TemporaryFile {
 public:
  explicit TemporaryFile(const SaveFileCalls& calls) : calls_(calls) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty() && !done_) ::unlink(path_.c_str());
    if (lock_ >= 0) ::close(lock_);  // only now: the lock goes with the last descriptor
  }
  // Creates the file under a fresh name beside `target`, exclusively and never
  // through a link, so that an entry of its name (a leftover or a planted link)
  // is never written into.
  void Create(const std::filesystem::path& folder, const std::string& targetFileName, unsigned mode,
              const std::string& shownPath) {
    std::random_device rd;
    std::mt19937_64 rng((static_cast<std::uint64_t>(rd()) << 32) ^ rd());
    for (int attempt = 0;; ++attempt) {
      const std::string name =
          (folder / ("." + targetFileName + std::string(kSaveTemporaryMark) + RandomSuffix(rng))).string();
      const int fd = calls_.Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
      if (fd < 0 && errno == EEXIST && attempt < 100) continue;
      // The file itself may be writable: what refuses is its folder.
      if (fd < 0 && (errno == EACCES || errno == EPERM))
        Failed("Не удается создать файл", shownPath, "нет прав на запись в папку " + FolderText(folder));
      if (fd < 0) CallFailed("Не удается создать файл", shownPath, errno);
      if (LockNewTemporary(fd)) {
        // A second descriptor of the same open file keeps the lock after the
        // first one is closed to learn of deferred write errors.
        const int lock = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (lock < 0) {
          const int error = errno;
          ::close(fd);
          ::unlink(name.c_str());
          CallFailed("Не удается создать файл", shownPath, error);
        }
        path_ = name;
        fd_ = fd;
        lock_ = lock;
        return;
      }
      ::close(fd);  // the other save's cleanup removes it
      if (attempt == 100) CallFailed("Не удается создать файл", shownPath, EBUSY);
    }
  }
  int Fd() const { return fd_; }
  const std::string& Path() const { return path_; }
  // Closes the file and reports the deferred write errors that close can return.
  int Close() {
    const int fd = fd_;
    fd_ = -1;  // closed even when close fails: retrying may close another file
    return calls_.Close(fd);
  }
  // The name now belongs to the target.
  void Renamed() { done_ = true; }
  // Left where it is as the complete copy of what the target should hold.
  void Keep() { done_ = true; }
  // Removed now, while still locked.
  void Remove() {
    ::unlink(path_.c_str());
    done_ = true;
  }

 private:
  std::string path_;
  int fd_ = -1;
  int lock_ = -1;
  const SaveFileCalls& calls_;
  bool done_ = false;
};

// Writes n bytes at the descriptor's position: 0, or the errno of the failure.
int WriteAll(int fd, const std::uint8_t* data, std::size_t n, const SaveFileCalls& calls, bool* wrote = nullptr) {
  std::size_t left = n;
  while (left > 0) {
    const long written = calls.Write(fd, data, left);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return EIO;
    if (wrote != nullptr) *wrote = true;
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return 0;
}

// How much of the start of a file written in place is cleared first and written
// last: a project's signature.
constexpr std::size_t kInPlaceHeadBytes = 4;

// Replaces the contents of the file itself, which every hard link of it shares:
// 0, or the errno of the first failure; `changed` tells whether the file may
// have been touched before it. Whatever stops the writing half way leaves the
// head cleared, so the file is never taken for a whole one.
int OverwriteInPlace(const std::string& file, const std::vector<std::uint8_t>& bytes, const SaveFileCalls& calls,
                     bool& changed) {
  changed = false;
  const int fd = calls.Open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0);
  if (fd < 0) return errno;
  // Room for the new contents first where the file system can promise it, so
  // that a full disk is found before the first byte changes.
  if (!bytes.empty() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0 &&
      (errno == ENOSPC || errno == EDQUOT)) {
    const int error = errno;
    calls.Close(fd);
    return error;
  }
  const std::size_t head = std::min(kInPlaceHeadBytes, bytes.size());
  const std::uint8_t cleared[kInPlaceHeadBytes] = {};
  int error = WriteAll(fd, cleared, head, calls, &changed);
  // The cleared head reaches the disk before any other byte changes.
  if (error == 0 && head > 0 && calls.Fsync(fd) != 0) error = errno;
  if (error == 0) error = WriteAll(fd, bytes.data() + head, bytes.size() - head, calls, &changed);
  if (error == 0) {
    changed = true;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = errno;
  }
  if (error == 0 && calls.Fsync(fd) != 0) error = errno;
  if (error == 0 && head > 0) {
    if (::lseek(fd, 0, SEEK_SET) != 0)
      error = errno;
    else
      error = WriteAll(fd, bytes.data(), head, calls);
    if (error == 0 && calls.Fsync(fd) != 0) error = errno;
  }
  if (calls.Close(fd) != 0 && error == 0) error = errno;
  return error;
}

void SaveWhole(const std::string& path, const std::vector<std::uint8_t>& bytes, const SaveFileOptions& options,
               const struct stat* modeOf, const SaveFileCalls& calls);

// A backup that cannot be made stops the save before the file changes.
[[noreturn]] void BackupFailed(const std::runtime_error& why, const std::string& path) {
  throw std::runtime_error(std::string(why.what()) + " Резервная копия не сохранена, файл " + path + " не изменен.");
}

// The previous contents kept as the backup copy, with the previous file's mode
// and owner.
void KeepBackup(const std::string& path, const std::string& targetName, const std::vector<std::uint8_t>& old,
                const struct stat& previous, const SaveFileCalls& calls) {
  try {
    SaveWhole(BackupFileName(targetName), old, SaveFileOptions{}, &previous, calls);
  } catch (const std::runtime_error& e) {
    BackupFailed(e, path);
  }
}

// A save's temporary opened to look at its lock: never through a link, and a pipe
// does not hold the open up; -1 when it cannot be opened.
int OpenToProbe(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0 || errno != EACCES) return fd;
  return ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Removes the temporaries of earlier saves of the file named `targetFileName` in
// `folder` that no running save holds locked: those of saves killed before they
// were done. Anything in doubt stays.
void RemoveLeftovers(const std::filesystem::path& folder, const std::string& targetFileName) {
  namespace fs = std::filesystem;
  const std::string prefix = "." + targetFileName + std::string(kSaveTemporaryMark);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0 || !IsSaveTemporaryName(name))
      continue;
    const std::string full = (folder / name).string();
    const int fd = OpenToProbe(full);
    if (fd < 0) continue;
    const Descriptor file(fd);
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) continue;  // a running save's, or no locks here
    // Still the file that is locked under that name.
    if (::lstat(full.c_str(), &named) != 0 || named.st_dev != held.st_dev || named.st_ino != held.st_ino) continue;
    ::unlink(full.c_str());
  }
}

// The save itself. `modeOf`, when given, is the file whose mode and owner the new
// one takes (a backup takes the saved file's); otherwise the target's own.
void SaveWhole(const std::string& path, const std::vector<std::uint8_t>& bytes, const SaveFileOptions& options,
               const struct stat* modeOf, const SaveFileCalls& calls) {
  namespace fs = std::filesystem;
  const fs::path target = SaveTarget(path);
  const std::string targetName = target.string();
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  struct stat old {};
  const bool hadOld = ::stat(targetName.c_str(), &old) == 0;
  if (!hadOld && errno != ENOENT) CallFailed("Не удается записать файл", path, errno);
  if (hadOld && !S_ISREG(old.st_mode)) Failed("Не удается записать файл", path, KindText(old.st_mode));
  // A write-protected file is the user's "do not change": saved over by no one,
  // not even by an administrator whom the system would let.
  if (hadOld) {
    if ((old.st_mode & 0222) == 0) Failed("Не удается записать файл", path, kReadOnlyFile);
    if (::faccessat(AT_FDCWD, targetName.c_str(), W_OK, AT_EACCESS) != 0)
      Failed("Не удается записать файл", path, errno == EROFS ? ReasonText(EROFS) : kReadOnlyFile);
  }
  // A file with other hard links gets its new contents in place, so that every
  // name of it shows them; a rename would give only this name a new file.
  const bool inPlace = hadOld && old.st_nlink > 1;
  const struct stat* like = modeOf != nullptr ? modeOf : hadOld ? &old : nullptr;

  // What the file held, for the backup and for undoing a failed write in place.
  std::optional<std::vector<std::uint8_t>> previous;
  if (hadOld && (options.KeepBackup || inPlace)) {
    try {
      previous = ReadWholeFile(targetName);
    } catch (const std::runtime_error& e) {
      if (options.KeepBackup) BackupFailed(e, path);
    }
  }

  // New files get the usual permissions (the umask applies); a file that
  // replaces another is private until it has the old one's.
  TemporaryFile temp(calls);
  temp.Create(folder, target.filename().string(), like != nullptr ? 0600u : 0666u, path);
  if (like != nullptr) {
    // Another owner's file (an administrator saving it) stays theirs where allowed.
    if ((like->st_uid != ::geteuid() || like->st_gid != ::getegid()) &&
        ::fchown(temp.Fd(), like->st_uid, like->st_gid) != 0 &&
        ::fchown(temp.Fd(), static_cast<uid_t>(-1), like->st_gid) != 0) {
      // Not permitted: the file becomes the saver's own, as any new file would.
    }
    if (::fchmod(temp.Fd(), like->st_mode & 07777) != 0) CallFailed("Ошибка записи файла", path, errno);
  }

  if (const int error = WriteAll(temp.Fd(), bytes.data(), bytes.size(), calls))
    CallFailed("Ошибка записи файла", path, error);
  // On disk before it can replace anything: a crash after the rename must not
  // leave an empty file under the old name.
  if (calls.Fsync(temp.Fd()) != 0) CallFailed("Ошибка записи файла", path, errno);
  if (temp.Close() != 0) CallFailed("Ошибка записи файла", path, errno);

  if (options.KeepBackup && previous) KeepBackup(path, targetName, *previous, old, calls);

  if (!inPlace) {
    if (calls.Rename(temp.Path().c_str(), targetName.c_str()) != 0) CallFailed("Не удается записать файл", path, errno);
    temp.Renamed();
  } else {
    // The complete new file is on disk beside the target before its contents
    // change: a crash in between leaves at least that copy.
    bool changed = false;
    const int error = OverwriteInPlace(targetName, bytes, calls, changed);
    if (error != 0) {
      // The old contents go back where they can; otherwise the new copy stays.
      bool restored = !changed;
      if (!restored && previous) {
        bool touched = false;
        restored = OverwriteInPlace(targetName, *previous, calls, touched) == 0;
      }
      if (restored) CallFailed("Ошибка записи файла", path, error);
      temp.Keep();
      Failed("Ошибка записи файла", path,
             ReasonText(error) + ". Файл мог быть поврежден; новое содержимое полностью записано в файл " + temp.Path());
    }
    temp.Remove();
  }

  RemoveLeftovers(folder, target.filename().string());

  // The rename itself reaches the disk with the folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) CallFailed("Файл записан, но не сброшен на диск", path, errno);
  const int synced = calls.Fsync(dir);
  const int error = errno;
  ::close(dir);
  // Some file systems cannot flush a folder at all; there is nothing more to do.
  if (synced != 0 && error != EINVAL && error != ENOTSUP) CallFailed("Файл записан, но не сброшен на диск", path, error);
}

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

std::string SaveTemporaryTarget(std::string_view path) {
  if (!IsSaveTemporaryName(path)) return std::string(path);
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t length = path.size() - start - 1 - kSaveTemporaryMark.size() - 6;
  return std::string(path.substr(0, start)) + std::string(path.substr(start + 1, length));
}

bool SaveTemporaryHeld(const std::string& path) {
  const int fd = OpenToProbe(path);
  if (fd < 0) return false;
  const Descriptor file(fd);
  // A running save holds its temporary locked exclusively; the shared lock taken
  // here goes with the descriptor.
  return ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

std::vector<std::string> InterruptedSaveCopies(const std::string& path) {
  namespace fs = std::filesystem;
  struct stat file {};
  if (::stat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode)) return {};
  auto folderOf = [](const fs::path& p) { return p.has_parent_path() ? p.parent_path() : fs::path("."); };
  std::vector<fs::path> folders{folderOf(fs::path(path))};
  try {
    const fs::path named = folderOf(SaveTarget(path));
    struct stat a {};
    struct stat b {};
    if (::stat(named.c_str(), &b) == 0 &&
        (::stat(folders[0].c_str(), &a) != 0 || a.st_dev != b.st_dev || a.st_ino != b.st_ino))
      folders.push_back(named);
  } catch (const std::runtime_error&) {
    // A link that leads nowhere: the folder of the name itself is all there is.
  }

  struct Copy {
    std::string Path;
    struct timespec Modified;
  };
  std::vector<Copy> copies;
  for (const fs::path& folder : folders) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (!IsSaveTemporaryName(name)) continue;
      const fs::path full = folder / name;
      struct stat temp {};
      struct stat target {};
      // Never through a link; and only a save of this very file counts.
      if (::lstat(full.c_str(), &temp) != 0 || !S_ISREG(temp.st_mode)) continue;
      if (::stat((folder / SaveTemporaryTarget(name)).c_str(), &target) != 0 || target.st_dev != file.st_dev ||
          target.st_ino != file.st_ino)
        continue;
      if (SaveTemporaryHeld(full.string())) continue;
      copies.push_back({full.string(), temp.st_mtim});
    }
  }
  std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
    if (a.Modified.tv_sec != b.Modified.tv_sec) return a.Modified.tv_sec > b.Modified.tv_sec;
    if (a.Modified.tv_nsec != b.Modified.tv_nsec) return a.Modified.tv_nsec > b.Modified.tv_nsec;
    return a.Path < b.Path;
  });
  std::vector<std::string> paths;
  paths.reserve(copies.size());
  for (Copy& c : copies) paths.push_back(std::move(c.Path));
  return paths;
}

std::string BackupFileName(const std::string& path) { return path + ".bak"; }

void WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes, const SaveFileCalls& calls) {
  SaveWhole(path, bytes, SaveFileOptions{}, nullptr, calls);
}

void WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes, const SaveFileOptions& options,
                     const SaveFileCalls& calls) {
  SaveWhole(path, bytes, options, nullptr, calls);
}

}  // namespace tavir
