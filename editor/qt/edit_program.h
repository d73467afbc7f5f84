#pragma once
// The editor's composition root, in the order of start-up: the main form (with
// the supervisor, the model and the cursors), the command module (with the window
// collection), the menus, then the strip bound to them. Freed in the reverse
// order: the menus, the command module (its window collection first), the main
// form (the supervisor, then the model). The program's entry and the GUI tests
// build the same program; tests may give their own model dialogs.
#include <memory>

#include "editor/qt/dm_main.h"
#include "editor/qt/editor_dialogs.h"
#include "editor/qt/rs_main.h"
#include "editor/qt/shared/shared_model_ui.h"
#include "model/load_ops.h"
#include "platform/qt/message_box.h"

namespace tavir {

class TEditorProgram {
 public:
  // modelDialogs / editorDialogs: the dialogs to use instead of the editor's forms.
  explicit TEditorProgram(ModelDialogs* modelDialogs = nullptr, EditorDialogs* editorDialogs = nullptr);
  ~TEditorProgram();
  TEditorProgram(const TEditorProgram&) = delete;
  TEditorProgram& operator=(const TEditorProgram&) = delete;

  // FormShow: the strip is shown and the state without a project entered.
  void Show();

  TRSForm& MainForm() { return *rsForm_; }
  TDM_Main& Commands() { return *dmMain_; }
  TDM_Menu& Menus() { return *dmMenu_; }
  QtMessageService& Messages() { return messages_; }

 private:
  QtMessageService messages_;
  std::unique_ptr<TRSForm> rsForm_;
  std::unique_ptr<EditorModelDialogs> ownModelDialogs_;
  std::unique_ptr<TEditorOwnDialogs> ownEditorDialogs_;
  MaterialHolders holders_;
  std::unique_ptr<MaterialChooser> chooser_;
  std::unique_ptr<TDM_Main> dmMain_;
  std::unique_ptr<TDM_Menu> dmMenu_;
};

}  // namespace tavir
