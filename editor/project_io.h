#pragma once
// The project file seen from the editor: the model reads and writes the file and
// hands the window records up; the editor's window collection takes them in.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/edit_windows.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/supervisor.h"
#include "platform/services.h"

namespace tavir {

std::vector<std::uint8_t> SaveProjectBytes(const TEditSupervisor& supervisor, TVelEditorProject& project,
                                           const TEditWindows& windows);
void SaveProject(const std::string& fileName, const TEditSupervisor& supervisor, TVelEditorProject& project,
                 const TEditWindows& windows);

// Reads a whole file held in memory into the three objects, all or nothing. On
// success: the supervisor's stored settings come from the file, the project holds
// the file's lists and is named fileName, the window collection holds the file's
// windows with window 0 current. Throws on any fault of the file.
void OpenProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName,
                      TEditSupervisor& supervisor, TVelEditorProject& project, TEditWindows& windows);
// OpenProjectBytes of a file, read as by ReadExistingFile and ReadNamingCopy, the
// project named by ProjectNameOf. A missing file shows "Файл %s не найден!" and
// returns false with nothing changed; any fault of the file throws.
bool OpenProject(const std::string& fileName, TEditSupervisor& supervisor, TVelEditorProject& project,
                 TEditWindows& windows, MessageService& messages);

}  // namespace tavir
