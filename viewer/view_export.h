#pragma once
// Export of a result view as a placeable Windows metafile: the same picture the
// desk shows for that view, drawn through the metafile canvas and written through
// a temporary file.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/services.h"
#include "platform/wmf_canvas.h"
#include "viewer/graph_windows.h"
#include "viewer/result_desk.h"

namespace tavir {

// What the export dialog proposes: the extension of the file it writes, and its title.
inline constexpr const char* kExportDefaultExtension = "wmf";
inline constexpr const char* kExportDialogTitle = "Экспорт в файл";

// The name with the extension ".wmf": an existing extension is replaced, a
// missing one appended ("view.bmp" and "view" both give "view.wmf").
std::string MetafileName(const std::string& fileName);

// The metafile of a view (picture size width x height), failures collected. The
// support and load symbols are the built-in ones unless `images` has a bitmap.
std::vector<std::uint8_t> RenderViewMetafile(const TGraphWindow& view, ResultScene& scene, TDrawFailures& failures,
                                             const WmfImageProvider& images = {});

enum class ExportResult : std::uint8_t { Written, Cancelled, NoView, Failed };

// Writes the view under MetafileName(confirmedName). When that name is not the one
// the user confirmed in the dialog and a file of that name exists, asks first
// (Cancel writes nothing). A drawing failure is reported once and the picture is
// written without the failing item; a write failure is reported and leaves any
// old file intact.
ExportResult ExportViewToMetafile(const std::string& confirmedName, const TGraphWindow& view, ResultScene& scene,
                                  MessageService& messages, const WmfImageProvider& images = {});
// The same for the current view; nothing without one.
ExportResult ExportCurrentView(const std::string& confirmedName, const TGraphWindows& windows, ResultScene& scene,
                               MessageService& messages, const WmfImageProvider& images = {});

}  // namespace tavir
