#include "editor/qt/shared/shared_model_ui.h"

#include "editor/qt/shared/material_form.h"
#include "editor/qt/shared/phis_prop_form.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

MaterialChooser::MaterialChooser(MessageService& messages, MaterialListContext context, ModelDialogs* dialogs,
                                 QWidget* parent)
    : messages_(messages), context_(std::move(context)), dialogs_(dialogs), parent_(parent) {}

std::optional<std::int32_t> MaterialChooser::ChooseMaterial(std::vector<MaterialEntry>& entries,
                                                            std::int32_t selected) {
  TMaterialForm form(entries, selected, context_, dialogs_, messages_, parent_);
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return form.CommitTo(entries);
}

std::optional<MaterialDialogValues> SharedModelDialogs::MaterialProperties(const MaterialDialogValues& start) {
  TPhisPropForm form(messages_, parent_);
  form.Material = start.Material;
  form.SetName(ToQString(start.Name));
  form.GetProperties();
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return MaterialDialogValues{form.Material, ToUtf8(form.Name())};
}

}  // namespace tavir
