#pragma once
// Texts of the result views that follow from the display state alone: the
// status-bar panel of the isoline quantity. (The metafile export's file name is
// MetafileName of view_export.h.)
#include <cstdint>
#include <optional>
#include <string>

#include "viewer/view_codes.h"

namespace tavir {

// Panel 1 of a view's status bar: the caption of the quantity when the isoline
// flag ($400) is set, empty without it; nullopt (leave the panel) for kind 8 and above.
std::optional<std::string> IsoStatusPanelText(std::int16_t drawFlags, ResultKind isoKind);

}  // namespace tavir
