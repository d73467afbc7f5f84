#pragma once
// The analysis program's model items: knots with their equation number and the
// values drawn at them, and the shell and plate elements with their stiffness,
// layer constants and recovered strains and stresses.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "analysis/matrix.h"
#include "analysis/section_stiffness.h"
#include "model/elements.h"
#include "model/knots.h"
#include "model/materials.h"
#include "platform/extended.h"

namespace tavir {

// Identity of a layer material: the key of the values kept at a knot (nullptr
// for none). Only compared, never dereferenced.
using TMaterialKey = const TPhisPropRodNL*;

struct TKnotValue {
  TMaterialKey Key = nullptr;
  Extended Value = 0;
};

class TResultKnot : public TEditorKnot {
 public:
  std::int32_t Number = 0;  // equation base: equation = Number x 5 + degree of freedom
  std::vector<TKnotValue> Values;  // at most one entry per key, in the order the keys came

  std::int32_t ValueCount() const { return static_cast<std::int32_t>(Values.size()); }
  // Appends (key, 0) when the key is not there yet.
  void AddKey(TMaterialKey key);
  // Sets the value of the key's entry; an absent key changes nothing.
  void SetValue(TMaterialKey key, Extended value);
  // 0 when the key is absent.
  Extended ValueOf(TMaterialKey key) const;
  bool HasKey(TMaterialKey key) const;
  // nullptr when the index is out of range.
  TMaterialKey KeyAt(std::int32_t index) const;
  void ClearValues() { Values.clear(); }
  void SetNumber(std::int32_t value) { Number = value; }
};

class TMLResultShell : public TMLEditorShell {
 public:
  explicit TMLResultShell(tavir::ElementType elementType, const std::shared_ptr<TPhisPropRodNL>& material = nullptr);

  TFloat2DMatrix Stiffness;    // 20x20 in the local order dof x 4 + knot
  Extended LastStrainEnergy = 0;  // from the last strain-energy evaluation
  TFloat2DMatrix Transform;    // 20x20: α = Transform · q
  TFloat3DMatrix LayerQ;       // [layer] 3x3
  TFloatVector LayerK, LayerG;
  TFloatVector TargetDensity;       // per layer, for the thickness adaptation
  TFloatVector InitialThicknesses;  // per layer, when the adaptation started
  // [fibre] (0 upper, 1 middle, 2 lower) of [layer][3]: (εx, εy, γxy) and (σx, σy, τxy).
  std::array<TFloat2DMatrix, 3> Strains;
  std::array<TFloat2DMatrix, 3> Stresses;

  // Layer i's material as the key of the knot values; nullptr out of range.
  TMaterialKey LayerMaterial(std::int32_t index) const;

  // LayerK, LayerG, LayerQ for the current layers. Throws EElementError for a
  // layer without a material (nothing changed then).
  void LayerElasticity();
  // L := [layer][5][5] with each layer's Q in the upper-left block.
  void LayerMatrices(TFloat3DMatrix& L) const;
  // D := the 8x8 section matrix (LayerElasticity must have run for these layers).
  void SectionMatrix(TFloat2DMatrix& D) const;
  // Transform for the element's rectangle. Throws EElementError when it is not one.
  void BuildTransform();
  // Stiffness, Transform, LayerK, LayerG, LayerQ. Throws EElementError, with all
  // of them unchanged, when the shell fails the analysis check.
  void CalcStiffness();
  // The strains and stresses of every layer from the displacement vector; nothing
  // when the vector is empty. The arrays are reallocated when the layer count
  // changed. Throws (nothing changed) when the shell is not a rectangle of result
  // knots or an equation lies outside the vector, and EElementError naming the
  // element by `index` (its position in the element list; none when < 0) when
  // the results cannot be trusted: the knot values go beyond the double range or
  // vanish in it, or a strain or stress is not a finite double.
  void CalcStresses(const TFloatVector& vector, std::int64_t index = -1);

 private:
  std::vector<TLayerInput> LayerInputs() const;
};

class TMLResultPlate : public TMLEditorElement {
 public:
  explicit TMLResultPlate(tavir::ElementType elementType, const std::shared_ptr<TPhisPropRodNL>& material = nullptr)
      : TMLEditorElement(elementType, material, ElementKind::Plate) {}
};

// CalcStiffness of every shell, on up to `threads` threads (0: the hardware's
// count; the elements are independent, so the results are those of the plain
// loop). Every shell is checked first: the first one that fails throws
// EElementError naming its index in the span, and no element is changed.
void CalcShellStiffnesses(std::span<TMLResultShell* const> shells, unsigned threads = 0);

}  // namespace tavir
