#include "viewer/iso_levels.h"

#include <algorithm>
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

namespace {

// Two levels closer than this are one level (the round-off of the step sums).
Extended IsoRoundOff(const TIsoParamsRec& params) {
  Extended scale = 0;
  for (const Extended bound : {params.MinValue, params.MaxValue})
    if (std::isfinite(bound)) scale = std::max(scale, std::fabs(bound));
  return kIsoZeroTolerance * scale;
}

}  // namespace

Extended SnappedIsoLevel(const TIsoParamsRec& params, Extended level) {
  return std::fabs(level) <= IsoRoundOff(params) ? Extended{0} : level;
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

std::vector<IsoLevel> IsoLevels(const TIsoParamsRec& params) {
  std::vector<IsoLevel> out;
  ForEachIsoLevel(params, [&](const IsoLevel& l) { out.push_back(l); }, {});
  return out;
}

void ForEachIsoLevel(const TIsoParamsRec& params, const std::function<void(const IsoLevel&)>& level,
                     const std::function<void(IsoLevelGroup)>& endGroup) {
  const std::int32_t labelStep = EffectiveLabelStep(params);
  const std::vector<Extended> stepped = SteppedValues(params);
  const Extended roundOff = IsoRoundOff(params);
  std::int32_t n = 1;
  for (std::size_t i = 0; i < stepped.size(); ++i, ++n) {
    // The run only grows, so a level of it can repeat another only as 0, which the
    // zero level draws, or as its last level falling short of MaxValue by round-off,
    // which the maximum draws; both always carry labels.
    const Extended drawn = SnappedIsoLevel(params, stepped[i]);
    if (drawn == 0) continue;
    if (i + 1 == stepped.size() && std::isfinite(params.MaxValue) && params.MaxValue - drawn <= roundOff) continue;
    if (level) level(IsoLevel{drawn, IsoLevelGroup::Stepped, n, n % labelStep == 0});
  }
  if (endGroup) endGroup(IsoLevelGroup::Stepped);
  const bool maxDrawn = std::isfinite(params.MaxValue);
  const Extended maxLevel = maxDrawn ? SnappedIsoLevel(params, params.MaxValue) : Extended{0};
  if (maxDrawn && level) level(IsoLevel{maxLevel, IsoLevelGroup::Max, 0, true});
  if (endGroup) endGroup(IsoLevelGroup::Max);
  if (!(maxDrawn && maxLevel == 0) && level) level(IsoLevel{0, IsoLevelGroup::Zero, 0, true});
  if (endGroup) endGroup(IsoLevelGroup::Zero);
}

}  // namespace tavir
