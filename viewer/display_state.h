#pragma once
// What the result views show of the analysis project: the isolines and their
// quantity, layer and fibre, the draw flags, the mouse mode, the scale of new
// views and the colours of the zone fills. Plain values; the project keeps one.
#include <cstdint>

#include "model/project.h"
#include "platform/extended.h"
#include "viewer/iso_levels.h"
#include "viewer/view_codes.h"

namespace tavir {

// Draw flags of the result views: the model's (kDrawLoads, kDrawKnots,
// kDrawSupports, kDrawShells of TVelEditorProject::Draw) and these.
inline constexpr std::int16_t kViewDrawLayerZones = 0x200;
inline constexpr std::int16_t kViewDrawIsolines = 0x400;
inline constexpr std::int16_t kViewDrawZoneFills = 0x800;
inline constexpr std::int16_t kViewDrawOutlines = 0x4000;
inline constexpr std::int16_t kViewDrawDefault = kDrawKnots | kDrawSupports | kViewDrawOutlines;  // 0x400C

struct ResultDisplayState {
  bool IsoVisible = false;
  TIsoParamsRec IsoParams;
  ResultKind IsoKind = ResultKind::Ux;
  std::int16_t DrawFlags = kViewDrawDefault;
  std::int32_t Layer = -1;  // the layer whose stresses are shown; -1 none
  Fibre StressPos = Fibre::Upper;
  tavir::MouseMode MouseMode = tavir::MouseMode::View;
  Extended DefaultScale = 0.01L;
  std::int32_t ColorCount = 2;

  // The quantity, copied into the isoline levels' record as well.
  void SetIsoKind(ResultKind v) {
    IsoKind = v;
    IsoParams.Kind = v;
  }
};

}  // namespace tavir
