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

namespace {
void Install(ProjectContents&& contents, TEditSupervisor& supervisor, TVelEditorProject& project,
             TEditWindows& windows) {
  InstallProject(std::move(contents), supervisor, project,
                 [&windows](WindowBlock&& block) { windows.Adopt(std::move(block)); });
}
}  // namespace

void OpenProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName,
                      TEditSupervisor& supervisor, TVelEditorProject& project, TEditWindows& windows) {
  Install(ReadProjectBytes(bytes, fileName, supervisor, project), supervisor, project, windows);
}

bool OpenProject(const std::string& fileName, TEditSupervisor& supervisor, TVelEditorProject& project,
                 TEditWindows& windows, MessageService& messages) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadExistingFile(fileName, messages);
  if (!bytes) return false;
  Install(ReadNamingCopy(fileName,
                         [&] { return ReadProjectBytes(*bytes, ProjectNameOf(fileName), supervisor, project); }),
          supervisor, project, windows);
  return true;
}

}  // namespace tavir
