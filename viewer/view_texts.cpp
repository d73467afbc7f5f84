#include "viewer/view_texts.h"

#include "viewer/knot_values.h"

namespace tavir {

std::optional<std::string> IsoStatusPanelText(std::int16_t drawFlags, std::uint8_t isoKind) {
  if ((drawFlags & 0x400) == 0) return std::string();
  if (isoKind >= kIsoNone) return std::nullopt;
  return StatusCaption(isoKind);
}

std::string MetafileExportName(const std::string& fileName) {
  // The name part begins after the last folder separator of either kind.
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = fileName.find_last_of('.');
  if (dot != std::string::npos && dot >= nameStart) return fileName.substr(0, dot) + ".wmf";
  return fileName + ".wmf";
}

}  // namespace tavir
