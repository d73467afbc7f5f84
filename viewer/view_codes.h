#pragma once
// Codes of the analysis program that travel as one byte. Each enumerator's value is
// the byte (see model/codes.h for CodeByte and CodeOfByte).
#include <cstdint>

#include "model/codes.h"

namespace tavir {

// The quantity the isolines show (IsoKind); None and any byte above it show none.
enum class ResultKind : std::uint8_t {
  Ux = 0,    // displacement along X
  Vy = 1,    // along Y
  Wz = 2,    // along Z
  Sx = 3,    // normal stress along X
  Sy = 4,    // normal stress along Y
  Txy = 5,   // shear stress
  RotY = 6,  // rotation about Y
  RotX = 7,  // rotation about X
  None = 8,
};

constexpr bool IsResultQuantity(ResultKind kind) { return CodeByte(kind) < CodeByte(ResultKind::None); }

// The fibre of a layer a stress is taken at (StressPos).
enum class Fibre : std::uint8_t { Upper = 0, Middle = 1, Lower = 2 };

// What a drag in a result view does.
enum class MouseMode : std::uint8_t { View = 0, SectionLine = 3, NewWindow = 4 };

}  // namespace tavir
