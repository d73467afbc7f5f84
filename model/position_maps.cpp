#include "model/position_maps.h"

namespace tavir {

KnotPositionMap::KnotPositionMap(const TFinKnots& knots) : knots_(knots) {
  positions_.reserve(knots.Items().size());
  std::int32_t i = 0;
  // The first position wins, as in a linear search.
  for (const auto& k : knots.Items()) positions_.emplace(k.get(), i++);
}

std::int32_t KnotPositionMap::IndexOfKnot(const TEditorKnot* knot) const {
  const auto it = positions_.find(knot);
  return it != positions_.end() ? it->second : -1;
}

ElementPositionMap::ElementPositionMap(const TFinElements& elements) : elements_(elements) {
  positions_.reserve(elements.Items().size());
  std::int32_t i = 0;
  for (const auto& e : elements.Items()) positions_.emplace(static_cast<const TFiniteElement*>(e.get()), i++);
}

std::int32_t ElementPositionMap::IndexOfElement(const TFiniteElement* element) const {
  const auto it = positions_.find(element);
  return it != positions_.end() ? it->second : -1;
}

MaterialPositionMap::MaterialPositionMap(const TMaterials& materials) : materials_(materials) {
  positions_.reserve(materials.Entries().size());
  std::int32_t i = 0;
  for (const MaterialEntry& e : materials.Entries()) {
    if (e.Material) positions_.emplace(e.Material.get(), i);
    ++i;
  }
}

std::int32_t MaterialPositionMap::IndexOfMaterial(const TPhisPropRodNL* material) const {
  const auto it = positions_.find(material);
  return it != positions_.end() ? it->second : -1;
}

}  // namespace tavir
