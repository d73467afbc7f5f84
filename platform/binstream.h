#pragma once
// Checked binary streams for the project file. The reader never reads past the
// end: every read, count and length is checked against the bytes left first,
// and a failure raises FormatError with a Russian message for the user.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/extended.h"

namespace tavir {

class FormatError : public std::runtime_error {
 public:
  explicit FormatError(const std::string& message) : std::runtime_error(message) {}
};

class BinaryReader {
 public:
  BinaryReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  explicit BinaryReader(const std::vector<std::uint8_t>& bytes) : BinaryReader(bytes.data(), bytes.size()) {}
  // The reader does not own its bytes: a temporary vector would leave it dangling.
  explicit BinaryReader(std::vector<std::uint8_t>&&) = delete;

  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ == size_; }

  void ReadBytes(void* out, std::size_t n);
  std::uint8_t ReadByte();
  std::int16_t ReadInt16();
  std::int32_t ReadInt32();
  std::uint32_t ReadUInt32();
  Extended ReadExtended();

  // A count of items that take at least minItemBytes each in the file: refused when
  // negative or when that many items could not fit in what is left.
  std::int32_t ReadCount(std::size_t minItemBytes);
  // Int32 length, then that many CP1251 bytes; returned as UTF-8.
  std::string ReadString();
  // Raw bytes of a checked length (no conversion).
  std::string ReadRawString(std::int32_t length);

  // Throws the short-read error unless n bytes are left.
  void Require(std::size_t n) const;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

class BinaryWriter {
 public:
  void WriteBytes(const void* data, std::size_t n);
  void WriteByte(std::uint8_t v) { bytes_.push_back(v); }
  void WriteInt16(std::int16_t v);
  void WriteInt32(std::int32_t v);
  void WriteUInt32(std::uint32_t v);
  void WriteExtended(Extended v);
  // Int32 length, then the text in CP1251. Characters the code page lacks raise
  // FormatError (fields that go into a file refuse them on input already).
  void WriteString(std::string_view utf8);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }
  std::size_t Size() const { return bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Whole-file helpers. ReadWholeFile reads regular files only (a pipe or a device
// is refused without being opened) and refuses files larger than maxBytes; the
// messages say why a file cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes = std::size_t{1} << 30);

// The system calls a save goes through. Tests replace some of them to make a save
// fail at a chosen step; the program always uses the defaults. Each returns what
// the POSIX call returns and sets errno the same way.
struct SaveFileCalls {
  // The temporary file; for a target written in place, then the target itself.
  std::function<int(const char* path, int flags, unsigned mode)> Open;
  std::function<long(int fd, const void* data, std::size_t n)> Write;
  std::function<int(int fd)> Fsync;  // the temporary file (and a target written in place), then the folder
  std::function<int(int fd)> Close;
  std::function<int(const char* from, const char* to)> Rename;
};
// The real calls.
const SaveFileCalls& SystemSaveFileCalls();

// How a save treats the file it replaces.
struct SaveFileOptions {
  // The file as it was before the save is first kept as its backup copy
  // (BackupFileName), with its mode and owner.
  bool KeepBackup = false;
};

// Saves a whole file so that a failure at any step leaves the old file as it was:
// the bytes go to a new hidden temporary file in the target's folder (created
// exclusively, never through a link, named as below, locked until the save is
// done with it), which is flushed to disk, closed, given the old file's
// permissions and renamed over the target; then the folder is flushed.
// A target with other hard links keeps its inode instead: once the complete new
// file is on disk beside it, the new contents are written into the target itself
// (a failure puts the old contents back, or else leaves the new file beside it
// and says so). The first bytes of a file written in place are cleared before the
// rest changes and written last, so that a file cut off in between (a crash, a
// kill) never passes for a whole one: a project's signature is then wrong. A path that is a symbolic link saves to the file the link names,
// and the link stays. Refused, with nothing changed: a target that is not a
// regular file and a write-protected one (no write permission bit, or none for
// the saver). After a successful save, the temporary files of earlier saves of
// the same target that no running save holds are removed. Throws
// std::runtime_error with a Russian message on any failure; the temporary file is
// removed then.
void WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes,
                     const SaveFileCalls& calls = SystemSaveFileCalls());
void WriteFileAtomic(const std::string& path, const std::vector<std::uint8_t>& bytes, const SaveFileOptions& options,
                     const SaveFileCalls& calls = SystemSaveFileCalls());

// The backup copy of a file: "<name>.bak" beside it (beside the file a symbolic
// link names, for a save through the link).
std::string BackupFileName(const std::string& path);

// A temporary file of a save to "<folder>/<name>" is "<folder>/.<name>.tavir-tmp-"
// followed by six letters or digits. A save killed before its rename leaves one
// behind; such a file is never a project to open.
inline constexpr std::string_view kSaveTemporaryMark = ".tavir-tmp-";
// Whether the last component of a path is such a temporary file.
bool IsSaveTemporaryName(std::string_view path);
// The file whose save made that temporary file: "<folder>/<name>" (the path as
// it is when it is not a temporary's).
std::string SaveTemporaryTarget(std::string_view path);
// Whether a save still running (in any program) holds that temporary file.
bool SaveTemporaryHeld(const std::string& path);
// The temporary files of interrupted saves of the file at `path`: beside it, and
// beside the file a symbolic link names, left by saves of that same file under
// any of its hard-linked names there, that no running save holds; the newest
// first. Such a file may hold all of what was being saved, or only a part.
std::vector<std::string> InterruptedSaveCopies(const std::string& path);

}  // namespace tavir
