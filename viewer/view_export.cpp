#include "viewer/view_export.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "platform/binstream.h"
#include "viewer/symbols.h"
#include "viewer/view_texts.h"

namespace tavir {

namespace {

// The whole picture: the metafile canvas scales one past 16 bits into its range.
int MetafileSide(std::int32_t pixels) { return std::max<std::int32_t>(pixels, 1); }

}  // namespace

std::string MetafileName(const std::string& fileName) {
  // Only the last component has an extension: dots in folder names stay.
  const std::size_t slash = fileName.find_last_of("/\\");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = fileName.find_last_of('.');
  std::string base = dot != std::string::npos && dot >= nameStart ? fileName.substr(0, dot) : fileName;
  return base + ".wmf";
}

std::vector<std::uint8_t> RenderViewMetafile(const TGraphWindow& view, ResultScene& scene, TDrawFailures& failures,
                                             const WmfImageProvider& images) {
  SymbolWmfCanvas canvas(MetafileSide(view.Width()), MetafileSide(view.Height()), images);
  PaintResultView(view, scene, canvas, failures);
  canvas.Finish();
  return canvas.Bytes();
}

ExportResult ExportViewToMetafile(const std::string& confirmedName, const TGraphWindow& view, ResultScene& scene,
                                  MessageService& messages, const WmfImageProvider& images) {
  const std::string name = MetafileName(confirmedName);
  std::error_code ec;
  if (name != confirmedName && std::filesystem::exists(name, ec) &&
      !messages.Ask(kExportDialogTitle, "Файл " + name + " уже существует.\rЗаменить его?"))
    return ExportResult::Cancelled;

  TDrawFailures failures;
  std::vector<std::uint8_t> bytes;
  try {
    bytes = RenderViewMetafile(view, scene, failures, images);
    WriteFileAtomic(name, bytes);
  } catch (const std::exception& e) {
    messages.Error(e.what());
    return ExportResult::Failed;
  }
  if (failures.Count() > 0) messages.Error(failures.First());
  return ExportResult::Written;
}

ExportResult ExportCurrentView(const std::string& confirmedName, const TGraphWindows& windows, ResultScene& scene,
                               MessageService& messages, const WmfImageProvider& images) {
  const TGraphWindow* view = windows.CurrentWindow();
  if (view == nullptr) return ExportResult::NoView;
  return ExportViewToMetafile(confirmedName, *view, scene, messages, images);
}

}  // namespace tavir
