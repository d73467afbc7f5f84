#pragma once
// Whether the open project holds work that its file does not.
//
// The project's work is taken down, record by record as the project file writes
// it, when the project is made, opened or saved, and compared with the project as
// it stands when the question arises. So every change that the file would keep
// counts, whichever command, dialog or desk gesture made it, and no editing path
// has to remember to mark anything. The work is the task and the region, the nine
// model lists as the items hold them, and the editing windows; the editing state
// that the settings block also keeps (work and input modes, the current window,
// the defaults new items get) is not the project's content and marks nothing.
#include <cstdint>
#include <vector>

#include "editor/edit_windows.h"
#include "model/project.h"
#include "model/supervisor.h"

namespace tavir {

// The records of the project's work, as they stand.
std::vector<std::uint8_t> ProjectWorkBytes(const TEditSupervisor& supervisor, const TVelEditorProject& project,
                                           const TEditWindows& windows);

class UnsavedChanges {
 public:
  // The project as it stands is its file's (just made, opened or saved).
  void Take(const TEditSupervisor& supervisor, const TVelEditorProject& project, const TEditWindows& windows);
  // The project's file does not hold the project: it counts as changed until the next take.
  void Forget();
  // Whether the project differs from what was taken. Work that cannot even be
  // written down counts as changed.
  bool Changed(const TEditSupervisor& supervisor, const TVelEditorProject& project,
               const TEditWindows& windows) const;

 private:
  std::vector<std::uint8_t> saved_;
  bool taken_ = false;
};

}  // namespace tavir
