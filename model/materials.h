#pragma once
// The material of an element layer, in three levels: linear constants, the
// nonlinear deformation diagram and the reinforcement angle. The model only ever
// creates TPhisPropRodNL; the material list owns them (by shared_ptr) under their
// names, the names live in the list, not here.
#include <cstddef>
#include <cstdint>

#include "platform/binstream.h"
#include "platform/extended.h"

namespace tavir {

class TPhisicalCharsLinear {
 public:
  TPhisicalCharsLinear() = default;
  virtual ~TPhisicalCharsLinear() = default;
  TPhisicalCharsLinear(const TPhisicalCharsLinear&) = default;
  TPhisicalCharsLinear& operator=(const TPhisicalCharsLinear&) = default;

  Extended E = 2.06e6L;   // modulus of elasticity
  Extended ro = 7.8e3L;   // density
  Extended mu = 0.3L;     // Poisson's ratio
  Extended R = 2.4e5L;    // limit resistance

  void SetE(Extended v) { E = v; }
  void SetRo(Extended v) { ro = v; }
  void SetMu(Extended v) { mu = v; }
  void SetR(Extended v) { R = v; }
};

class TPhisPropNL : public TPhisicalCharsLinear {
 public:
  Extended EpsT = 2e3L;    // yield limit
  Extended E1 = 0;         // bilinear diagram
  Extended A = 0;          // power-law diagram
  Extended k = 0;
  std::uint8_t Diagramma = 0;  // 0 bilinear, 1 power law

  void SetEpsT(Extended v) { EpsT = v; }
  void SetE1(Extended v) { E1 = v; }
  void SetA(Extended v) { A = v; }
  void SetK(Extended v) { k = v; }
  void SetDiagramma(std::uint8_t v) { Diagramma = v; }

  // From a TPhisPropNL (or derived): E, mu, ro, R, E1, A, k, EpsT, Diagramma.
  // A source of any other class changes nothing.
  void Assign(const TPhisicalCharsLinear& source);
};

class TPhisPropRodNL : public TPhisPropNL {
 public:
  Extended Fi = 0;            // reinforcement angle, degrees
  std::uint8_t Reserved = 0;  // kept as read from a file, never set otherwise

  void SetFi(Extended v) { Fi = v; }

  // The inherited assignment, then Fi when the source is a TPhisPropRodNL.
  // Reserved is not copied.
  void Assign(const TPhisicalCharsLinear& source);

  // The material record of the project file: E, mu, ro, R, Fi, EpsT, Diagramma,
  // E1, A, k, Reserved. On a format error the material is unchanged.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

constexpr std::size_t kMaterialRecordBytes = 92;

}  // namespace tavir
