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
//
// A level within round-off of zero (|level| <= kIsoZeroTolerance times the larger
// of |MinValue| and |MaxValue|) is exactly 0: the sum of steps that should reach
// zero would otherwise draw a stray positive or negative line along every edge
// whose values are exactly 0. Every level is drawn once: a stepped level that is
// 0 is left to the zero level, a last stepped level short of MaxValue by no more
// than that round-off is left to MaxValue (both always carry labels), and the
// zero level is left out when MaxValue is 0.
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/extended.h"
#include "viewer/view_codes.h"

namespace tavir {

inline constexpr std::int32_t kMaxIsoLevels = 32766;
inline constexpr std::int32_t kDefaultIsoStepCount = 10;
inline constexpr std::int32_t kDefaultIsoLabelStep = 3;
// Relative to the larger of |MinValue| and |MaxValue|: levels this close to zero are 0.
inline constexpr Extended kIsoZeroTolerance = 1e-12L;

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
enum class IsoLevelGroup { Stepped, Max, Zero };

struct IsoLevel {
  Extended Value = 0;
  IsoLevelGroup Group = IsoLevelGroup::Stepped;
  std::int32_t Number = 0;  // 1, 2, ... in the stepped run; 0 for MaxValue and 0
  bool Labels = false;      // labels requested for this level
};

// The level as it is drawn: 0 when within round-off of zero for the record's range.
Extended SnappedIsoLevel(const TIsoParamsRec& params, Extended level);

// The LabelStep the loop uses (at least 1).
std::int32_t EffectiveLabelStep(const TIsoParamsRec& params);
// Whether the stepped run of the record can be drawn (see above); MaxValue and 0
// are drawn either way.
bool SteppedLevelsUsable(const TIsoParamsRec& params);

// Every level a repaint draws, in drawing order.
std::vector<IsoLevel> IsoLevels(const TIsoParamsRec& params);

// The loop: `level` for every level in drawing order, `endGroup` after the stepped
// run, after MaxValue and after 0 (where the gathered labels are drawn and the
// label list emptied). Either callback may be empty.
void ForEachIsoLevel(const TIsoParamsRec& params, const std::function<void(const IsoLevel&)>& level,
                     const std::function<void(IsoLevelGroup)>& endGroup);

}  // namespace tavir
