#pragma once
// The project file ("*.tps"), the only link between the editor and the analysis
// program: signature 1, the editor settings block (offsets 4..189), the model
// lists, the editing-window block and a closing byte 0.
//
// Opening is all or nothing: the file is read into fresh objects (a new project,
// a copy of the supervisor's settings, a new window block) and they take the place
// of the open ones only when the whole file has been read. On any error nothing of
// the open project changes and the error reaches the caller with a Russian message
// (FormatError, ShellException or std::runtime_error). Saving builds the whole
// file in memory and then replaces the target atomically, so a failed save leaves
// the old file as it was.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"
#include "model/records.h"
#include "model/supervisor.h"
#include "model/view_transform.h"
#include "model/window_record.h"
#include "platform/services.h"

namespace tavir {

inline constexpr std::int32_t kProjectSignature = 1;
inline constexpr std::size_t kSettingsBlockOffset = 4;
inline constexpr std::size_t kModelListsOffset = kSettingsBlockOffset + kSettingsBlockBytes;  // 190

inline constexpr const char* kFileNotFoundFormat = "Файл %s не найден!";
inline constexpr const char* kWrongSignature = "Формат файла не соответствует проекту!";

// "Файл <name> не найден!"
std::string FileNotFoundText(const std::string& fileName);
// Why a save's temporary file (IsSaveTemporaryName) is not opened: it does not
// hold a whole project, or a save that is still running holds it.
std::string SaveTemporaryText(const std::string& fileName);
std::string RunningSaveText(const std::string& fileName);
// The editor's main form caption for an opened file (the name without its folder).
std::string EditorCaption(const std::string& fileName);

// Shows "Файл %s не найден!" and gives nothing when nothing of that name exists;
// otherwise its bytes. Whatever cannot be read throws, saying why: not a regular
// file (a pipe, a device, a folder), no permission. A save's temporary file is
// read only when it holds a whole project and no running save holds it: it is
// then the complete copy an interrupted save left of what it was saving.
std::optional<std::vector<std::uint8_t>> ReadExistingFile(const std::string& fileName, MessageService& messages);

// The name of the project read from a file: the file's own, and for the complete
// copy an interrupted save left, the file that save was for (a save then puts the
// project back where it belongs).
std::string ProjectNameOf(const std::string& fileName);

// Whether the bytes are a whole project file, every record read to the last byte.
bool IsWholeProject(const std::vector<std::uint8_t>& bytes);

// The newest complete copy of the project in `fileName` that an interrupted save
// of that file left beside it (InterruptedSaveCopies), if there is one.
std::optional<std::string> CompleteCopyOfInterruptedSave(const std::string& fileName);

// The message for a file refused as damaged (`reason`) when such a copy lies beside it.
std::string DamagedWithCopyText(const std::string& reason, const std::string& fileName, const std::string& copy);

// Runs `read` on what was read of `fileName`; when the file is refused as damaged
// and an interrupted save of it left a complete copy beside it, the refusal says
// so and names the copy.
template <class Read>
auto ReadNamingCopy(const std::string& fileName, Read&& read) -> decltype(read()) {
  try {
    return read();
  } catch (const std::runtime_error& e) {
    const std::optional<std::string> copy = CompleteCopyOfInterruptedSave(fileName);
    if (!copy) throw;
    throw FormatError(DamagedWithCopyText(e.what(), fileName, *copy));
  }
}

// ---- the editor ----

// The whole file. Runs ApplyShellFuncs on the project first (the saved heights and
// curvatures are those of the surfaces).
std::vector<std::uint8_t> SaveProjectBytes(const TEditSupervisor& supervisor, TVelEditorProject& project,
                                           const WindowRecordList& windows);
// Writes the file through WriteFileAtomic; throws std::runtime_error (Russian)
// when it cannot, the old file intact. With the program option "Сохранять
// резервные копии" (supervisor.Options.SaveBAK) on, the previous file is first
// kept as its backup copy (BackupFileName). The project's file name is not
// changed (the Save As command sets it).
void SaveProject(const std::string& fileName, const TEditSupervisor& supervisor, TVelEditorProject& project,
                 const WindowRecordList& windows);

// A whole project file read into fresh objects, not yet in use.
struct ProjectContents {
  std::unique_ptr<TEditSupervisor> Settings;  // the current settings with the stored ones read over them
  std::unique_ptr<TVelEditorProject> Project;  // the file's lists, named by the file
  WindowBlock Windows;
};

// Reads a whole file held in memory, touching nothing of the open project: the
// settings over a copy of `supervisor`'s, the lists into a project made like
// `project` (same factory, chooser and smallest sizes), the window records. Throws
// on any fault of the file.
ProjectContents ReadProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName,
                                  const TEditSupervisor& supervisor, const TVelEditorProject& project);

// Puts what was read in place of the open project: the settings first (the window
// owner makes window 0 current through the supervisor), then `adoptWindows` with
// the window block, then the lists. Should adoptWindows throw, the settings come
// back and the lists stay; the exception goes on.
void InstallProject(ProjectContents&& contents, TEditSupervisor& supervisor, TVelEditorProject& project,
                    const std::function<void(WindowBlock&&)>& adoptWindows);

// ---- the analysis program ----

// What the analysis program keeps of the first stored window: its view (grid,
// corners, scale, projection as the view kind, width and height) and the scale as
// saved.
struct AnalysisWindowData {
  ViewTransform View;
  TFloatPoint SavedScale;
  RgbColor Color = 0xFFFFFF;  // the window's background
};

// Reads a file held in memory the analysis program's way, all or nothing: the
// settings block into a throwaway supervisor, the lists into `results` through its
// factory, of the window block the count (at least 1) and the first record into
// `window`. Later windows and the closing byte are not read. Returns the knots in
// list order: knot i of the result is the knot numbered i.
std::vector<TEditorKnot*> ReadAnalysisProjectBytes(const std::vector<std::uint8_t>& bytes,
                                                   TVelEditorProject& results, AnalysisWindowData& window);
// The same of a file, read as by ReadExistingFile and ReadNamingCopy. A missing
// file shows "Файл %s не найден!" and returns false with nothing changed.
// knotOrder, when given, receives the knot order.
bool ReadAnalysisProject(const std::string& fileName, TVelEditorProject& results, AnalysisWindowData& window,
                         MessageService& messages, std::vector<TEditorKnot*>* knotOrder = nullptr);

}  // namespace tavir
