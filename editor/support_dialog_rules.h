#pragma once
// The rules of the support dialog ("Граничные условия") and the load dialog
// ("Нагрузка") without their widgets.
#include <array>
#include <cstdint>

#include "model/records.h"

namespace tavir {

// The six restraint boxes in byte order: checked exactly when the byte is 1 (a
// byte 2, a placeholder from a file, shows unchecked).
std::array<bool, 6> RestraintChecks(const TFixation& fixation);
// Each byte := 1 for a checked box, else 0.
TFixation FixationOfChecks(const std::array<bool, 6>& checks);

// The load components the dialog lets the user type: Px, Py, Pz, Mx, My (1..5).
// Mz (6) is shown disabled and never typed.
inline constexpr int kLoadComponentsTyped = 5;
// The load that Apply and OK hand on: the typed components; Mz is 0, so the
// value shown in the disabled box (the last knot clicked) never reaches the
// selected knots.
TForceRecord LoadToApply(const std::array<Extended, 6>& shown);

}  // namespace tavir
