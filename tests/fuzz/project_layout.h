#pragma once
// Where the fields of a project file lie, found by walking its layout the way the
// readers do (without checking anything): the structure-aware mutator of the
// analysis fuzz target changes counts, references and extended values in place
// instead of flipping random bits that the reader refuses at once.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace tavir::fuzzing {

enum class FieldKind : std::uint8_t {
  Count,      // Int32 count of a list
  Reference,  // Int32 position in a list
  Extended,   // 10-byte extended value
  Byte,       // a code byte (kinds, types, options, fixation)
};

// What a reference points into.
enum class ListKind : std::uint8_t { None, Materials, Knots, Elements };

struct Field {
  std::size_t Offset = 0;
  FieldKind Kind = FieldKind::Byte;
  ListKind Target = ListKind::None;
};

// An Int32 field's value after an arithmetic change, wrapped at the ends of the
// 32-bit field as a careless writer's would be. Computed in 64 bits: the
// mutator itself must not overflow.
inline std::int32_t WrappedInt32(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

// What the mutator may write over a count: one more or one less, 0, -1, the
// largest Int32 and twice the old count (each off-by-one and doubling wraps).
inline std::array<std::int32_t, 6> CountMutations(std::int32_t old) {
  const std::int64_t v = old;
  return {WrappedInt32(v + 1), WrappedInt32(v - 1), 0, -1, std::numeric_limits<std::int32_t>::max(), WrappedInt32(v * 2)};
}

// A fixed-size record of a list: the mutator may copy it and raise the count.
struct RecordList {
  std::size_t CountOffset = 0;
  std::size_t First = 0;  // offset of the first record
  std::size_t RecordBytes = 0;
  std::int32_t Count = 0;
};

struct FileLayout {
  std::vector<Field> Fields;
  std::vector<RecordList> Lists;  // knots, supports, concentrated and distributed loads
  std::int32_t Materials = 0, Knots = 0, Elements = 0;
  bool Complete = false;  // the walk reached the window block
};

namespace layout_detail {

class Walker {
 public:
  Walker(const std::uint8_t* data, std::size_t size, FileLayout& out) : d_(data), n_(size), out_(out) {}

  bool Has(std::size_t bytes) const { return bytes <= n_ && pos_ <= n_ - bytes; }
  bool Skip(std::size_t bytes) {
    if (!Has(bytes)) return false;
    pos_ += bytes;
    return true;
  }
  bool Int32(std::int32_t& v) {
    if (!Has(4)) return false;
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | d_[pos_ + static_cast<std::size_t>(i)];
    std::memcpy(&v, &u, 4);
    pos_ += 4;
    return true;
  }
  bool Int16(std::int16_t& v) {
    if (!Has(2)) return false;
    const auto u = static_cast<std::uint16_t>(d_[pos_] | (d_[pos_ + 1] << 8));
    std::memcpy(&v, &u, 2);
    pos_ += 2;
    return true;
  }
  bool Byte(std::uint8_t& v, bool field = true) {
    if (!Has(1)) return false;
    if (field) out_.Fields.push_back({pos_, FieldKind::Byte, ListKind::None});
    v = d_[pos_++];
    return true;
  }
  bool Count(std::int32_t& v) {
    out_.Fields.push_back({pos_, FieldKind::Count, ListKind::None});
    return Int32(v) && v >= 0;
  }
  bool Ref(ListKind target) {
    out_.Fields.push_back({pos_, FieldKind::Reference, target});
    return Skip(4);
  }
  bool Ext() {
    out_.Fields.push_back({pos_, FieldKind::Extended, ListKind::None});
    return Skip(10);
  }
  bool Exts(int n) {
    for (int i = 0; i < n; ++i)
      if (!Ext()) return false;
    return true;
  }
  bool String() {
    std::int32_t len = 0;
    return Int32(len) && len >= 0 && Skip(static_cast<std::size_t>(len));
  }
  std::size_t Pos() const { return pos_; }

 private:
  const std::uint8_t* d_;
  std::size_t n_;
  std::size_t pos_ = 0;
  FileLayout& out_;
};

inline bool WalkLists(Walker& w, FileLayout& out) {
  // Records are walked one by one; a count larger than the bytes left ends the walk.
  std::int32_t n = 0;
  if (!w.Skip(4 + 186)) return false;
  if (!w.Count(n)) return false;
  out.Materials = n;
  for (std::int32_t i = 0; i < n; ++i) {
    std::uint8_t b = 0;
    if (!w.String() || !w.Exts(6) || !w.Byte(b) || !w.Exts(3) || !w.Byte(b, false)) return false;
  }
  struct Fixed {
    std::size_t Bytes;
    int Exts;
    std::size_t RefAt;  // offset of the reference in the record (after the extended values)
    ListKind Target;
    int Bytes8;  // code bytes after the reference
  };
  auto fixedList = [&](const Fixed& f, std::int32_t& count) {
    RecordList list;
    list.CountOffset = w.Pos();
    if (!w.Count(count)) return false;
    list.First = w.Pos();
    list.RecordBytes = f.Bytes;
    list.Count = count;
    out.Lists.push_back(list);
    for (std::int32_t i = 0; i < count; ++i) {
      if (f.Target == ListKind::Knots && f.Exts == 0) {  // support: ref, fixation, direction
        std::uint8_t b = 0;
        if (!w.Ref(f.Target)) return false;
        for (int k = 0; k < 6; ++k)
          if (!w.Byte(b)) return false;
        if (!w.Skip(4)) return false;
        continue;
      }
      if (!w.Exts(f.Exts)) return false;
      if (f.Target != ListKind::None && !w.Ref(f.Target)) return false;
      std::uint8_t b = 0;
      for (int k = 0; k < f.Bytes8; ++k)
        if (!w.Byte(b)) return false;
    }
    return true;
  };
  if (!fixedList({30, 3, 0, ListKind::None, 0}, n)) return false;
  out.Knots = n;
  if (!fixedList({14, 0, 0, ListKind::Knots, 0}, n)) return false;
  if (!fixedList({64, 6, 60, ListKind::Knots, 0}, n)) return false;
  if (!w.Count(n) || !w.Count(n)) return false;  // pliants, hardlesses
  if (!w.Count(n)) return false;
  out.Elements = n;
  for (std::int32_t i = 0; i < n; ++i) {
    std::uint8_t kind = 0, type = 0, b = 0;
    if (!w.Byte(kind)) return false;
    if (kind != 0 && kind != 5) return false;
    if (!w.Byte(type)) return false;
    const int refs = type == 0 ? 3 : (type == 1 || type == 2 ? 4 : 0);
    for (int k = 0; k < refs; ++k)
      if (!w.Ref(ListKind::Knots)) return false;
    std::int32_t layers = 0;
    if (!w.Count(layers) || !w.Skip(4) || !w.Byte(b)) return false;
    for (std::int32_t j = 0; j < layers; ++j)
      if (!w.String() || !w.Exts(2) || !w.Byte(b) || !w.Ref(ListKind::Materials) || !w.Skip(4) || !w.Byte(b))
        return false;
    if (kind == 5 && !w.Exts(3)) return false;
  }
  if (!fixedList({66, 6, 60, ListKind::Elements, 2}, n)) return false;
  if (!w.Count(n)) return false;
  for (std::int32_t i = 0; i < n; ++i) {
    std::int16_t kind = 0;
    if (!w.Int16(kind)) return false;
    if (kind != 0 && kind != 3) continue;
    std::int32_t params = 0;
    std::uint8_t b = 0;
    if (!w.Skip(2) || !w.Byte(b, false) || !w.Count(params) || params > 64 || !w.Exts(params) || !w.Byte(b))
      return false;
    for (int k = 0; k < 3; ++k)
      if (!w.Ext() || !w.Skip(6)) return false;
    if (!w.Skip(4)) return false;
  }
  return true;
}

}  // namespace layout_detail

inline FileLayout ScanLayout(const std::uint8_t* data, std::size_t size) {
  FileLayout out;
  layout_detail::Walker w(data, size, out);
  out.Complete = layout_detail::WalkLists(w, out);
  return out;
}

}  // namespace tavir::fuzzing
