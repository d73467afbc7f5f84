#pragma once
// The dialogs the editor's commands open, behind the seams so that scripted ones
// can take their place: the window list and the program settings (EditorDialogs,
// on the forms of dlg_win_list.h and dlg_param.h); the model's dialogs are
// EditorModelDialogs (editor_model_dialogs.h).
#include <QPointer>

#include "editor/qt/dm_main.h"
#include "editor/qt/editor_model_dialogs.h"
#include "platform/services.h"

namespace tavir {

class TEditorOwnDialogs : public EditorDialogs {
 public:
  explicit TEditorOwnDialogs(MessageService& messages, QWidget* parent = nullptr)
      : messages_(messages), parent_(parent) {}
  // The settings on copies; after OK only, the preset of the level chosen runs.
  std::optional<SettingsAnswer> ProgramSettings(const TBCDataEditor& options, const TBCTask& task,
                                                const std::function<void(int userLevel)>& runPreset) override;
  // The list only chooses; the chosen window is shown after the dialog has returned.
  void WindowList(EditorCommands& commands) override;

 private:
  MessageService& messages_;
  QPointer<QWidget> parent_;
};

}  // namespace tavir
