#include "viewer/iso_levels.h"

#include <cmath>

namespace tavir {

TIsoParamsRec DefaultIsoParams(ResultKind kind, Extended minValue, Extended maxValue) {
  TIsoParamsRec p;
  p.Kind = kind;
  p.MinValue = minValue;
  p.MaxValue = maxValue;
  p.StepCount = kDefaultIsoStepCount;
  p.Step = (maxValue - minValue) / kDefaultIsoStepCount;
  p.LabelStep = kDefaultIsoLabelStep;
  return p;
}

std::int32_t EffectiveLabelStep(const TIsoParamsRec& params) { return params.LabelStep < 1 ? 1 : params.LabelStep; }

namespace {

// The stepped run by repeated addition, as it is drawn; empty when it would not
// end or would hold more than kMaxIsoLevels levels.
std::vector<Extended> SteppedValues(const TIsoParamsRec& p) {
  std::vector<Extended> out;
  if (!std::isfinite(p.MinValue) || !std::isfinite(p.MaxValue)) return out;
  if (!(p.MinValue < p.MaxValue)) return out;
  if (!std::isfinite(p.Step) || !(p.Step > 0)) return out;
  // The count by division first, so that a huge count is refused before any work.
  const Extended estimate = (p.MaxValue - p.MinValue) / p.Step;
  if (!std::isfinite(estimate) || estimate > static_cast<Extended>(kMaxIsoLevels) + 1) return out;
  Extended v = p.MinValue;
  while (v < p.MaxValue) {
    if (out.size() >= static_cast<std::size_t>(kMaxIsoLevels)) return {};
    out.push_back(v);
    const Extended next = v + p.Step;
    if (!(next > v)) return {};  // the step no longer moves the value
    v = next;
  }
  return out;
}

}  // namespace

bool SteppedLevelsUsable(const TIsoParamsRec& params) {
  if (!std::isfinite(params.MinValue) || !std::isfinite(params.MaxValue)) return false;
  if (!(params.MinValue < params.MaxValue)) return true;  // an empty run is harmless
  return !SteppedValues(params).empty();
}

std::vector<TIsoLevel> IsoLevels(const TIsoParamsRec& params) {
  std::vector<TIsoLevel> out;
  ForEachIsoLevel(params, [&](const TIsoLevel& l) { out.push_back(l); }, {});
  return out;
}

void ForEachIsoLevel(const TIsoParamsRec& params, const std::function<void(const TIsoLevel&)>& level,
                     const std::function<void(TIsoLevelGroup)>& endGroup) {
  const std::int32_t labelStep = EffectiveLabelStep(params);
  const std::vector<Extended> stepped = SteppedValues(params);
  std::int32_t n = 1;
  for (Extended v : stepped) {
    if (level) level(TIsoLevel{v, TIsoLevelGroup::Stepped, n, n % labelStep == 0});
    ++n;
  }
  if (endGroup) endGroup(TIsoLevelGroup::Stepped);
  if (std::isfinite(params.MaxValue) && level) level(TIsoLevel{params.MaxValue, TIsoLevelGroup::Max, 0, true});
  if (endGroup) endGroup(TIsoLevelGroup::Max);
  if (level) level(TIsoLevel{0, TIsoLevelGroup::Zero, 0, true});
  if (endGroup) endGroup(TIsoLevelGroup::Zero);
}

}  // namespace tavir
