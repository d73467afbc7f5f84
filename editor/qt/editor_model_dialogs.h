#pragma once
// The editor's real dialogs behind the model's dialog seam: the shared material
// dialog plus the element, mesh division and shell surface dialogs. They answer as
// ScriptedModelDialogs does, so either can be plugged into the editing operations.
#include "editor/qt/shared/shared_model_ui.h"

namespace tavir {

class EditorModelDialogs : public SharedModelDialogs {
 public:
  using SharedModelDialogs::SharedModelDialogs;

  // The holders the material chooser reads (ListContext): the element dialog's copy
  // of the stack joins them while the dialog is open. None: the copy is not counted.
  void SetMaterialHolders(MaterialHolders* holders) { holders_ = holders; }

  // On a copy of the stack: Cancel leaves the element's layers as they were.
  std::optional<ElementDialogValues> ElementProperties(TMaterials& materials, ElementKind elemKind,
                                                       const ElementDialogValues& start) override;
  std::optional<DivideDialogValues> DivideRegion(const DivideDialogValues& start) override;
  std::optional<std::int16_t> SurfaceKind() override;
  std::optional<ShellDataValues> ShellData(const ShellDataValues& start) override;
  void ShellList(TShellFunctions& shells) override;

 private:
  MaterialHolders* holders_ = nullptr;
};

}  // namespace tavir
