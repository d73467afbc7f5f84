#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace tavir {

// The selected items of a knot or element list, in the order they were selected
// (not owning). Membership is kept in a set, so that selecting every item of a
// large model stays linear.
template <class T>
class TSelectionList {
 public:
  bool Contains(const T* item) const { return set_.count(item) != 0; }
  bool Add(T* item) {
    if (!set_.insert(item).second) return false;
    order_.push_back(item);
    return true;
  }
  // Takes out every entry the predicate picks, in one pass; the rest keep their order.
  template <class Pred>
  void RemoveIf(Pred pick) {
    std::size_t kept = 0;
    for (T* item : order_) {
      if (pick(item)) {
        set_.erase(item);
      } else {
        order_[kept++] = item;
      }
    }
    order_.resize(kept);
  }
  bool Remove(const T* item) {
    if (set_.erase(item) == 0) return false;
    for (auto it = order_.begin(); it != order_.end(); ++it)
      if (*it == item) {
        order_.erase(it);
        break;
      }
    return true;
  }
  void Clear() {
    order_.clear();
    set_.clear();
  }
  void Swap(TSelectionList& other) {
    order_.swap(other.order_);
    set_.swap(other.set_);
  }
  const std::vector<T*>& Items() const { return order_; }
  std::int32_t Count() const { return static_cast<std::int32_t>(order_.size()); }

 private:
  std::vector<T*> order_;
  std::unordered_set<const T*> set_;
};

}  // namespace tavir
