#include "editor/qt/editor_model_dialogs.h"

#include "editor/qt/dlg_divide.h"
#include "editor/qt/dlg_element.h"
#include "editor/qt/dlg_shell.h"

namespace tavir {

std::optional<ElementDialogValues> EditorModelDialogs::ElementProperties(TMaterials& materials,
                                                                         ElementKind elemKind,
                                                                         const ElementDialogValues& start) {
  return RunElementDialog(materials, elemKind, start, Messages(), holders_, Parent());
}

std::optional<DivideDialogValues> EditorModelDialogs::DivideRegion(const DivideDialogValues& start) {
  return RunDivideDialog(start, Messages(), Parent());
}

std::optional<std::int16_t> EditorModelDialogs::SurfaceKind() { return RunSurfaceKindDialog(Parent()); }

std::optional<ShellDataValues> EditorModelDialogs::ShellData(const ShellDataValues& start) {
  return RunShellDataDialog(start, Parent());
}

void EditorModelDialogs::ShellList(TShellFunctions& shells) { RunShellListDialog(shells, Parent()); }

}  // namespace tavir
