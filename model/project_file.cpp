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

// A save's leftover temporary file (a save killed before its rename) holds a
// project of unknown completeness; it is never opened as one.
void RefuseSaveTemporary(const std::string& fileName) {
  if (IsSaveTemporaryName(fileName)) throw FormatError(SaveTemporaryText(fileName));
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
  return "Файл " + fileName + " - временный файл прерванного сохранения, а не проект.";
}

std::string EditorCaption(const std::string& fileName) {
  const std::string name = std::filesystem::path(fileName).filename().string();
  return "Программный комплекс \"Тавир\" - редактор [" + name + "]";
}

std::optional<std::vector<std::uint8_t>> ReadExistingFile(const std::string& fileName, MessageService& messages) {
  RefuseSaveTemporary(fileName);
  if (NothingThere(fileName)) {
    messages.Show(MsgKind::Plain, "", FileNotFoundText(fileName), MsgButtons::Ok);
    return std::nullopt;
  }
  return ReadWholeFile(fileName);
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

ProjectContents ReadProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName,
                                  const TEditSupervisor& supervisor, const TVelEditorProject& project) {
  BinaryReader r(bytes);
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
  std::vector<TEditorKnot*> order = ReadAnalysisProjectBytes(*bytes, results, window);
  if (knotOrder != nullptr) *knotOrder = std::move(order);
  return true;
}

}  // namespace tavir
