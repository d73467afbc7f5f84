#pragma once
// The base lists of the model: a list that owns its items, and one whose readers
// make their items through a ModelFactory.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "model/model_factory.h"

namespace tavir {

// A list that owns its items. Positions count from 0; a position out of range
// gives nullptr, an item not in the list gives -1. Searches are linear and the
// first hit wins.
template <class T>
class TOwningList {
 public:
  TOwningList() = default;
  TOwningList(const TOwningList&) = delete;
  TOwningList& operator=(const TOwningList&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  T* At(std::int32_t i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) return nullptr;
    return items_[static_cast<std::size_t>(i)].get();
  }
  std::int32_t IndexOf(const T* item) const {
    if (item == nullptr) return -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return static_cast<std::int32_t>(i);
    return -1;
  }
  const std::vector<std::unique_ptr<T>>& Items() const { return items_; }
  // Puts the items in the order of a "less" comparer (not stable); a position is an
  // item's number, so this renumbers them.
  template <class Less>
  void SortItems(Less less) {
    std::sort(items_.begin(), items_.end(), less);
  }

 protected:
  std::vector<std::unique_ptr<T>> items_;
};

// An owning list whose readers make their items through a factory.
template <class T>
class TFactoryList : public TOwningList<T> {
 public:
  explicit TFactoryList(std::shared_ptr<const ModelFactory> factory) : factory_(std::move(factory)) {}

  void FreeAll() { this->items_.clear(); }
  void Swap(TFactoryList& other) { this->items_.swap(other.items_); }

  // The factory the list makes its items with.
  const std::shared_ptr<const ModelFactory>& Factory() const { return factory_; }

 protected:
  // Removal of single items leaves whatever refers to them dangling; a list whose
  // items nothing refers to makes these public, the knots and elements keep them
  // for their safe deletions.
  // Removes and frees item i; false when there is none.
  bool Delete(std::int32_t i) {
    if (i < 0 || static_cast<std::size_t>(i) >= this->items_.size()) return false;
    this->items_.erase(this->items_.begin() + i);
    return true;
  }
  // Removes and frees every item the predicate picks, in one pass; the rest keep
  // their order. Returns how many.
  template <class Pred>
  std::int32_t RemoveIf(Pred pick) {
    const auto end = std::remove_if(this->items_.begin(), this->items_.end(),
                                    [&](const std::unique_ptr<T>& item) { return pick(*item); });
    const auto removed = static_cast<std::int32_t>(this->items_.end() - end);
    this->items_.erase(end, this->items_.end());
    return removed;
  }
  // Appends an item (of T or a class derived from it); nullptr gives nullptr.
  template <class U>
  U* Append(std::unique_ptr<U> item) {
    if (!item) return nullptr;
    U* p = item.get();
    this->items_.push_back(std::move(item));
    return p;
  }
  // Position of the first item whose reference (member pointer) is the given object.
  template <class C, class Ref>
  std::int32_t IndexOfRef(Ref* C::*member, const void* target) const {
    if (target == nullptr) return -1;
    for (std::size_t i = 0; i < this->items_.size(); ++i)
      if (static_cast<const void*>(this->items_[i].get()->*member) == target) return static_cast<std::int32_t>(i);
    return -1;
  }

  std::shared_ptr<const ModelFactory> factory_;
};

}  // namespace tavir
