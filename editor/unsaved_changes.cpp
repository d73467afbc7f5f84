#include "editor/unsaved_changes.h"

#include <exception>

#include "platform/binstream.h"

namespace tavir {

std::vector<std::uint8_t> ProjectWorkBytes(const TEditSupervisor& supervisor, const TVelEditorProject& project,
                                           const TEditWindows& windows) {
  BinaryWriter w;
  supervisor.Task.SaveToStream(w);
  for (const Extended v : {supervisor.RegionX1, supervisor.RegionY1, supervisor.RegionZ1, supervisor.RegionX2,
                           supervisor.RegionY2, supervisor.RegionZ2})
    w.WriteExtended(v);
  project.SaveListsToStream(w);
  windows.SaveToStream(w);
  return w.Take();
}

void UnsavedChanges::Take(const TEditSupervisor& supervisor, const TVelEditorProject& project,
                          const TEditWindows& windows) {
  try {
    saved_ = ProjectWorkBytes(supervisor, project, windows);
    taken_ = true;
  } catch (const std::exception&) {
    // Nothing to compare with.
    Forget();
  }
}

void UnsavedChanges::Forget() {
  saved_.clear();
  taken_ = false;
}

bool UnsavedChanges::Changed(const TEditSupervisor& supervisor, const TVelEditorProject& project,
                             const TEditWindows& windows) const {
  if (!taken_) return true;
  try {
    return ProjectWorkBytes(supervisor, project, windows) != saved_;
  } catch (const std::exception&) {
    return true;
  }
}

}  // namespace tavir
