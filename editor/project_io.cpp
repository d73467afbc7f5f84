#include "editor/project_io.h"

#include <optional>
#include <utility>

namespace tavir {

std::vector<std::uint8_t> SaveProjectBytes(const TEditSupervisor& supervisor, TVelEditorProject& project,
                                           const TEditWindows& windows) {
  return SaveProjectBytes(supervisor, project, windows.Records());
}

void SaveProject(const std::string& fileName, const TEditSupervisor& supervisor, TVelEditorProject& project,
                 const TEditWindows& windows) {
  SaveProject(fileName, supervisor, project, windows.Records());
}

void OpenProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName,
                      TEditSupervisor& supervisor, TVelEditorProject& project, TEditWindows& windows) {
  TProjectContents contents = ReadProjectBytes(bytes, fileName, supervisor, project);
  InstallProject(std::move(contents), supervisor, project,
                 [&windows](TWindowBlock&& block) { windows.Adopt(std::move(block)); });
}

bool OpenProject(const std::string& fileName, TEditSupervisor& supervisor, TVelEditorProject& project,
                 TEditWindows& windows, MessageService& messages) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadExistingFile(fileName, messages);
  if (!bytes) return false;
  OpenProjectBytes(*bytes, fileName, supervisor, project, windows);
  return true;
}

}  // namespace tavir
