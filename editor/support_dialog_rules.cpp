#include "editor/support_dialog_rules.h"

namespace tavir {

std::array<bool, 6> RestraintChecks(const TFixation& fixation) {
  std::array<bool, 6> checks{};
  for (std::size_t i = 0; i < checks.size(); ++i) checks[i] = fixation[i] == 1;
  return checks;
}

TFixation FixationOfChecks(const std::array<bool, 6>& checks) {
  TFixation f{};
  for (std::size_t i = 0; i < checks.size(); ++i) f[i] = checks[i] ? 1 : 0;
  return f;
}

TForceRecord LoadToApply(const std::array<Extended, 6>& shown) {
  TForceRecord f;
  for (int i = 1; i <= kLoadComponentsTyped; ++i) f.SetComponent(i, shown[static_cast<std::size_t>(i - 1)]);
  f.Mz = 0;
  return f;
}

}  // namespace tavir
