#pragma once
// Texts of the result views that follow from the display state alone: the
// status-bar panel of the isoline quantity and the file name of a metafile export.
#include <cstdint>
#include <optional>
#include <string>

namespace tavir {

// Panel 1 of a view's status bar: the caption of the quantity when the isoline
// flag ($400) is set, empty without it; nullopt (leave the panel) for kind 8 and above.
std::optional<std::string> IsoStatusPanelText(std::int16_t drawFlags, std::uint8_t isoKind);

// The export always writes a ".wmf" file: an existing extension is replaced, a
// missing one appended ("view.bmp" and "view" both give "view.wmf"). A dot in a
// folder name is not an extension.
std::string MetafileExportName(const std::string& fileName);

}  // namespace tavir
