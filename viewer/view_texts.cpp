#include "viewer/view_texts.h"

#include "viewer/knot_values.h"
#include "viewer/viewer_project.h"

namespace tavir {

std::optional<std::string> IsoStatusPanelText(std::int16_t drawFlags, ResultKind isoKind) {
  if ((drawFlags & kViewDrawIsolines) == 0) return std::string();
  if (!IsResultQuantity(isoKind)) return std::nullopt;
  return StatusCaption(isoKind);
}

}  // namespace tavir
