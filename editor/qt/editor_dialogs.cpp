#include "editor/qt/editor_dialogs.h"

#include "editor/qt/dlg_param.h"
#include "editor/qt/dlg_win_list.h"

namespace tavir {

std::optional<SettingsAnswer> TEditorOwnDialogs::ProgramSettings(const TBCDataEditor& options, const TBCTask& task,
                                                                 const std::function<void(int)>& runPreset) {
  std::optional<SettingsAnswer> a = RunSettingsDialog(options, task, messages_, parent_);
  if (a && runPreset) runPreset(a->Options.UserKind);
  return a;
}

void TEditorOwnDialogs::WindowList(EditorCommands& commands) {
  std::vector<WindowBox> boxes;
  for (int i = 0; i < commands.Windows().Count(); ++i) {
    const TWorkWindow& w = commands.Windows().Items(i).WorkWindow;
    boxes.push_back({w.MinPoint, w.MaxPoint});
  }
  if (const std::optional<int> chosen = RunWinListDialog(std::move(boxes), parent_)) commands.WinShow(*chosen);
}

}  // namespace tavir
