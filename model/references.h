#pragma once
// The look-ups that entity records need to turn list positions in a project file
// into object references and back. The model lists implement them; the simple
// vector-backed versions below serve tests and small tools.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tavir {

class TEditorKnot;
class TFiniteElement;
class TPhisPropRodNL;

class KnotIndex {
 public:
  virtual ~KnotIndex() = default;
  // The knot at a list position; nullptr when the position is negative or not below the count.
  virtual TEditorKnot* KnotAt(std::int32_t index) const = 0;
  // The knot's position; -1 when it is not in the list (or is nullptr).
  virtual std::int32_t IndexOfKnot(const TEditorKnot* knot) const = 0;
};

class ElementIndex {
 public:
  virtual ~ElementIndex() = default;
  virtual TFiniteElement* ElementAt(std::int32_t index) const = 0;
  virtual std::int32_t IndexOfElement(const TFiniteElement* element) const = 0;
};

class MaterialIndex {
 public:
  virtual ~MaterialIndex() = default;
  // The material at a list position. When the position names none, the real list
  // lets the user choose one (nullptr when nothing is chosen); it may also throw to
  // cancel the whole reading.
  virtual std::shared_ptr<TPhisPropRodNL> MaterialByIndex(std::int32_t index) = 0;
  virtual std::int32_t IndexOfMaterial(const TPhisPropRodNL* material) const = 0;
};

namespace detail {
template <class T>
T* Raw(T* p) { return p; }
template <class T>
T* Raw(const std::shared_ptr<T>& p) { return p.get(); }
template <class T, class P>
T* AtOrNull(const std::vector<P>& items, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return nullptr;
  return Raw(items[static_cast<std::size_t>(index)]);
}
template <class T, class P>
std::int32_t FirstIndexOf(const std::vector<P>& items, const T* item) {
  if (item == nullptr) return -1;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (Raw(items[i]) == item) return static_cast<std::int32_t>(i);
  return -1;
}
}  // namespace detail

class VectorKnotIndex : public KnotIndex {
 public:
  std::vector<TEditorKnot*> Knots;
  VectorKnotIndex() = default;
  explicit VectorKnotIndex(std::vector<TEditorKnot*> knots) : Knots(std::move(knots)) {}
  TEditorKnot* KnotAt(std::int32_t index) const override { return detail::AtOrNull<TEditorKnot>(Knots, index); }
  std::int32_t IndexOfKnot(const TEditorKnot* knot) const override { return detail::FirstIndexOf(Knots, knot); }
};

class VectorElementIndex : public ElementIndex {
 public:
  std::vector<TFiniteElement*> Elements;
  VectorElementIndex() = default;
  explicit VectorElementIndex(std::vector<TFiniteElement*> elements) : Elements(std::move(elements)) {}
  TFiniteElement* ElementAt(std::int32_t index) const override {
    return detail::AtOrNull<TFiniteElement>(Elements, index);
  }
  std::int32_t IndexOfElement(const TFiniteElement* element) const override {
    return detail::FirstIndexOf(Elements, element);
  }
};

// Materials by position; a position that names none goes to Chooser (nullptr
// when there is no chooser), standing in for the user's choice.
class VectorMaterialIndex : public MaterialIndex {
 public:
  std::vector<std::shared_ptr<TPhisPropRodNL>> Materials;
  std::function<std::shared_ptr<TPhisPropRodNL>(std::int32_t)> Chooser;
  VectorMaterialIndex() = default;
  explicit VectorMaterialIndex(std::vector<std::shared_ptr<TPhisPropRodNL>> materials)
      : Materials(std::move(materials)) {}
  std::shared_ptr<TPhisPropRodNL> MaterialByIndex(std::int32_t index) override {
    if (index >= 0 && static_cast<std::size_t>(index) < Materials.size())
      return Materials[static_cast<std::size_t>(index)];
    return Chooser ? Chooser(index) : nullptr;
  }
  std::int32_t IndexOfMaterial(const TPhisPropRodNL* material) const override {
    return detail::FirstIndexOf(Materials, material);
  }
};

}  // namespace tavir
