#pragma once
// A byte mark per object, found by the object's address: one pass of an editing
// operation over a large model marks what it deletes and what stays. Open
// addressing in two flat arrays, so that a million marks cost no million
// allocations, as a node-based set would.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavir {

template <class T>
class PointerMarks {
 public:
  // Room for `expected` marks before the arrays grow.
  explicit PointerMarks(std::size_t expected = 0) { Allocate(expected); }

  // The mark of the object; 0 when it has none (and for nullptr).
  std::uint8_t Get(const T* item) const {
    if (item == nullptr) return 0;
    for (std::size_t i = Slot(item);; i = (i + 1) & mask_) {
      if (keys_[i] == item) return marks_[i];
      if (keys_[i] == nullptr) return 0;
    }
  }
  // Gives the object the mark (0 takes it away in effect); nullptr is ignored.
  void Set(const T* item, std::uint8_t mark) {
    if (item == nullptr) return;
    if ((count_ + 1) * 2 > keys_.size()) Grow();
    for (std::size_t i = Slot(item);; i = (i + 1) & mask_) {
      if (keys_[i] == item) {
        marks_[i] = mark;
        return;
      }
      if (keys_[i] == nullptr) {
        keys_[i] = item;
        marks_[i] = mark;
        ++count_;
        return;
      }
    }
  }

 private:
  void Allocate(std::size_t expected) {
    std::size_t size = 16;
    while (size < expected * 2) size *= 2;
    keys_.assign(size, nullptr);
    marks_.assign(size, 0);
    mask_ = size - 1;
    count_ = 0;
  }
  void Grow() {
    std::vector<const T*> keys;
    std::vector<std::uint8_t> marks;
    keys.swap(keys_);
    marks.swap(marks_);
    Allocate(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
      if (keys[i] != nullptr) Set(keys[i], marks[i]);
  }
  std::size_t Slot(const T* item) const {
    // Addresses share their low bits (alignment) and their high bits (one heap):
    // mix them all.
    auto x = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(item));
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return static_cast<std::size_t>(x) & mask_;
  }

  std::vector<const T*> keys_;
  std::vector<std::uint8_t> marks_;
  std::size_t mask_ = 0;
  std::size_t count_ = 0;
};

}  // namespace tavir
