#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "model/element_list.h"
#include "model/knot_list.h"
#include "model/material_list.h"
#include "model/references.h"

namespace tavir {

// Item-to-position look-ups built once per save, so that writing every reference
// of a large model stays linear.
class KnotPositionMap : public KnotIndex {
 public:
  explicit KnotPositionMap(const TFinKnots& knots);
  TEditorKnot* KnotAt(std::int32_t i) const override { return knots_.At(i); }
  std::int32_t IndexOfKnot(const TEditorKnot* knot) const override;

 private:
  const TFinKnots& knots_;
  std::unordered_map<const TEditorKnot*, std::int32_t> positions_;
};

class ElementPositionMap : public ElementIndex {
 public:
  explicit ElementPositionMap(const TFinElements& elements);
  TFiniteElement* ElementAt(std::int32_t i) const override { return elements_.At(i); }
  std::int32_t IndexOfElement(const TFiniteElement* element) const override;

 private:
  const TFinElements& elements_;
  std::unordered_map<const TFiniteElement*, std::int32_t> positions_;
};

class MaterialPositionMap : public MaterialIndex {
 public:
  explicit MaterialPositionMap(const TMaterials& materials);
  // In range only: writing never asks the user anything.
  std::shared_ptr<TPhisPropRodNL> MaterialByIndex(std::int32_t i) override { return materials_.Material(i); }
  std::int32_t IndexOfMaterial(const TPhisPropRodNL* material) const override;

 private:
  const TMaterials& materials_;
  std::unordered_map<const TPhisPropRodNL*, std::int32_t> positions_;
};

}  // namespace tavir
