#include "model/project_file.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace tavir {

namespace {
const char* const kMissingClosingByte = "Файл поврежден: нет завершающего байта проекта.";

// The signature, or the format error when it is missing or wrong.
void ReadSignature(BinaryReader& r) {
  if (r.Remaining() < 4 || r.ReadInt32() != kProjectSignature) throw FormatError(kWrongSignature);
}

// The signature and the settings block, into a new supervisor: over a copy of
// `current`'s settings when given (of the default loads only 4 bytes each are
// stored, the rest stays as `current` holds it).
std::unique_ptr<TEditSupervisor> ReadSignatureAndSettings(BinaryReader& r, const TEditSupervisor* current) {
  ReadSignature(r);
  auto settings = std::make_unique<TEditSupervisor>();
  if (current != nullptr) settings->CopySettingsFrom(*current);
  settings->LoadFromStream(r);
  return settings;
}

// The model lists, into a new project made like `like` (same factory and chooser).
std::unique_ptr<TVelEditorProject> ReadModelLists(BinaryReader& r, const TVelEditorProject& like) {
  auto project = std::make_unique<TVelEditorProject>(like.Factory(), like.Ui());
  // The smallest element sizes never grow, not even through a file.
  project->Knots().MinSizeX = like.Knots().MinSizeX;
  project->Knots().MinSizeY = like.Knots().MinSizeY;
  project->LoadFromStream(r);
  return project;
}

// Nothing at all under that name (a pipe or a folder is there, only not a
// project: ReadWholeFile says what it is).
bool NothingThere(const std::string& fileName) {
  std::error_code ec;
  const std::filesystem::file_status st = std::filesystem::status(std::filesystem::path(fileName), ec);
  return st.type() == std::filesystem::file_type::not_found;
}
}  // namespace

std::string FileNotFoundText(const std::string& fileName) {
  std::string text = kFileNotFoundFormat;
  const std::size_t at = text.find("%s");
  text.replace(at, 2, fileName);
  return text;
}

std::string SaveTemporaryText(const std::string& fileName) {
  return "Файл " + fileName + " - временный файл прерванного сохранения, и проект в нем записан не полностью.";
}

std::string RunningSaveText(const std::string& fileName) {
  return "Файл " + fileName + " - временный файл сохранения, которое еще не закончено.";
}

std::string DamagedWithCopyText(const std::string& reason, const std::string& fileName, const std::string& copy) {
  return reason + " Сохранение файла " + fileName +
         " было прервано; полная копия сохранявшегося проекта лежит рядом, в файле " + copy +
         ". Откройте этот файл, чтобы получить проект.";
}

std::string EditorCaption(const std::string& fileName) {
  const std::string name = std::filesystem::path(fileName).filename().string();
  return "Программный комплекс \"Тавир\" - редактор [" + name + "]";
}

std::optional<std::vector<std::uint8_t>> ReadExistingFile(const std::string& fileName, MessageService& messages) {
  if (NothingThere(fileName)) {
    messages.Show(MsgKind::Plain, "", FileNotFoundText(fileName), MsgButtons::Ok);
    return std::nullopt;
  }
  const bool temporary = IsSaveTemporaryName(fileName);
  // A running save may still write it, or rename it over its target.
  if (temporary && SaveTemporaryHeld(fileName)) throw FormatError(RunningSaveText(fileName));
  std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
  // Part of a project may read as a whole one in the analysis program, which
  // stops after the first window.
  if (temporary && !IsWholeProject(bytes)) throw FormatError(SaveTemporaryText(fileName));
  return bytes;
}

std::string ProjectNameOf(const std::string& fileName) { return SaveTemporaryTarget(fileName); }

std::optional<std::string> CompleteCopyOfInterruptedSave(const std::string& fileName) {
  for (const std::string& copy : InterruptedSaveCopies(fileName)) {
    try {
      if (IsWholeProject(ReadWholeFile(copy))) return copy;
    } catch (const std::runtime_error&) {
      // Unreadable: not a copy to offer.
    }
  }
  return std::nullopt;
}

// ---- the editor ----

std::vector<std::uint8_t> SaveProjectBytes(const TEditSupervisor& supervisor, TVelEditorProject& project,
                                           const WindowRecordList& windows) {
  BinaryWriter w;
  w.WriteInt32(kProjectSignature);
  supervisor.SaveToStream(w);
  project.SaveToStream(w);
  SaveWindowBlock(w, windows);
  w.WriteByte(0);
  return w.Take();
}

void SaveProject(const std::string& fileName, const TEditSupervisor& supervisor, TVelEditorProject& project,
                 const WindowRecordList& windows) {
  // Everything is built first: a fault of the model (a name the code page cannot
  // hold) must not cost the user the file already on disk.
  const std::vector<std::uint8_t> bytes = SaveProjectBytes(supervisor, project, windows);
  WriteFileAtomic(fileName, bytes, SaveFileOptions{.KeepBackup = supervisor.Options.SaveBAK != 0});
}

namespace {
// The whole file as the editor reads it, up to and with the closing byte.
ProjectContents ReadContents(BinaryReader& r, const std::string& fileName, const TEditSupervisor& supervisor,
                             const TVelEditorProject& project) {
  ProjectContents c;
  c.Settings = ReadSignatureAndSettings(r, &supervisor);
  c.Project = ReadModelLists(r, project);
  c.Project->SetFileName(fileName);

  c.Windows = WindowBlock::LoadFromStream(r);
  c.Windows.CheckProjections();
  if (r.Remaining() < 1) throw FormatError(kMissingClosingByte);
  (void)r.ReadByte();
  return c;
}
}  // namespace

ProjectContents ReadProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName,
                                  const TEditSupervisor& supervisor, const TVelEditorProject& project) {
  BinaryReader r(bytes);
  return ReadContents(r, fileName, supervisor, project);
}

bool IsWholeProject(const std::vector<std::uint8_t>& bytes) {
  // Read as the editor reads it, into objects of its own: no chooser opens for a
  // missing material.
  const TEditSupervisor settings;
  const TVelEditorProject like;
  BinaryReader r(bytes);
  try {
    (void)ReadContents(r, "", settings, like);
  } catch (const std::runtime_error&) {
    return false;
  }
  return r.AtEnd();
}

void InstallProject(ProjectContents&& contents, TEditSupervisor& supervisor, TVelEditorProject& project,
                    const std::function<void(WindowBlock&&)>& adoptWindows) {
  TEditSupervisor previous;
  previous.CopySettingsFrom(supervisor);
  supervisor.CopySettingsFrom(*contents.Settings);
  try {
    adoptWindows(std::move(contents.Windows));
  } catch (...) {
    supervisor.CopySettingsFrom(previous);
    throw;
  }
  project.Swap(*contents.Project);
}

// ---- the analysis program ----

std::vector<TEditorKnot*> ReadAnalysisProjectBytes(const std::vector<std::uint8_t>& bytes,
                                                   TVelEditorProject& results, AnalysisWindowData& window) {
  BinaryReader r(bytes);
  // The analysis program keeps nothing of the settings.
  (void)ReadSignatureAndSettings(r, nullptr);
  const std::unique_ptr<TVelEditorProject> fresh = ReadModelLists(r, results);

  // Of the window block only the first record; the count must still be sound.
  (void)ReadWindowCount(r);
  TWindowRecord first;
  first.LoadFromStream(r);
  AnalysisWindowData data;
  const TWorkWindow& w = first.WorkWindow;
  data.View.Grid = w.Grid;
  data.View.MaxPoint = w.MaxPoint;
  data.View.MinPoint = w.MinPoint;
  data.View.Scale = w.Scale;
  data.SavedScale = w.Scale;
  data.View.Projection = w.Projection;
  data.View.Width = w.Width;
  data.View.Height = w.Height;
  data.Color = w.Color;

  fresh->SetFileName(results.FileName());
  results.Swap(*fresh);
  window = data;

  std::vector<TEditorKnot*> order;
  order.reserve(results.Knots().Items().size());
  for (const auto& k : results.Knots().Items()) order.push_back(k.get());
  return order;
}

bool ReadAnalysisProject(const std::string& fileName, TVelEditorProject& results, AnalysisWindowData& window,
                         MessageService& messages, std::vector<TEditorKnot*>* knotOrder) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadExistingFile(fileName, messages);
  if (!bytes) return false;
  std::vector<TEditorKnot*> order =
      ReadNamingCopy(fileName, [&] { return ReadAnalysisProjectBytes(*bytes, results, window); });
  if (knotOrder != nullptr) *knotOrder = std::move(order);
  return true;
}

}  // namespace tavir
