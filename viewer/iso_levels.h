#pragma once
// Isoline levels of a result view: the level record the isoline dialog edits, its
// defaults for a value range, and the sequence of levels a repaint draws.
//
// Levels are MinValue, MinValue + Step, ... while below MaxValue (each by adding
// Step to the previous one), then MaxValue itself, then 0. Every LabelStep-th level
// of the stepped run carries labels; MaxValue and 0 always do. Labels are gathered
// per group (the stepped run, MaxValue, 0) and drawn when the group ends.
//
// A record the dialog accepted may still be unusable: a step that is not positive,
// not finite or too small to move the value, or a range of more than
// kMaxIsoLevels steps would never end or flood the picture. Such a record draws
// only MaxValue and 0. A LabelStep below 1 counts as 1; a level that is not a
// finite number is skipped.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/extended.h"
#include "viewer/view_codes.h"

namespace tavir {

inline constexpr std::int32_t kMaxIsoLevels = 32766;
inline constexpr std::int32_t kDefaultIsoStepCount = 10;
inline constexpr std::int32_t kDefaultIsoLabelStep = 3;

struct TIsoParamsRec {
  ResultKind Kind = ResultKind::Ux;  // the quantity (IsoKind)
  Extended Step = 0;
  std::int32_t StepCount = 0;
  Extended MinValue = 0;
  Extended MaxValue = 0;
  std::int32_t LabelStep = 1;

  bool operator==(const TIsoParamsRec&) const = default;
};

// The defaults for a value range: 10 steps of (max - min) / 10, labels on every
// third level. The kind is kept.
TIsoParamsRec DefaultIsoParams(ResultKind kind, Extended minValue, Extended maxValue);

// Which group of the loop a level belongs to.
enum class TIsoLevelGroup { Stepped, Max, Zero };

struct TIsoLevel {
  Extended Value = 0;
  TIsoLevelGroup Group = TIsoLevelGroup::Stepped;
  std::int32_t Number = 0;  // 1, 2, ... in the stepped run; 0 for MaxValue and 0
  bool Labels = false;      // labels requested for this level
};

// The LabelStep the loop uses (at least 1).
std::int32_t EffectiveLabelStep(const TIsoParamsRec& params);
// Whether the stepped run of the record can be drawn (see above); MaxValue and 0
// are drawn either way.
bool SteppedLevelsUsable(const TIsoParamsRec& params);

// Every level a repaint draws, in drawing order.
std::vector<TIsoLevel> IsoLevels(const TIsoParamsRec& params);

// The loop: `level` for every level in drawing order, `endGroup` after the stepped
// run, after MaxValue and after 0 (where the gathered labels are drawn and the
// label list emptied). Either callback may be empty.
void ForEachIsoLevel(const TIsoParamsRec& params, const std::function<void(const TIsoLevel&)>& level,
                     const std::function<void(TIsoLevelGroup)>& endGroup);

}  // namespace tavir
