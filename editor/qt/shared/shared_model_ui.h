#pragma once
// The real dialogs behind the model's seams, for both programs: the material
// chooser behind ModelUi, the material properties dialog behind ModelDialogs.
// They answer exactly as the scripted fakes do, so either can be plugged in.
#include <QPointer>
#include <QWidget>

#include "editor/material_dialogs.h"
#include "model/model_ui.h"
#include "model/model_ui_dialogs.h"
#include "platform/services.h"

namespace tavir {

// "Материалы" on the list given. With material dialogs the user may also create,
// edit and delete materials; the list given takes those edits over only on OK.
class MaterialChooser : public ModelUi {
 public:
  MaterialChooser(MessageService& messages, MaterialListContext context, ModelDialogs* dialogs = nullptr,
                  QWidget* parent = nullptr);

  // The in-use test and the material maker change with what the caller edits
  // (the layers of an open dialog hold materials too).
  void SetContext(MaterialListContext context) { context_ = std::move(context); }

  std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries, std::int32_t selected) override;

 private:
  MessageService& messages_;
  MaterialListContext context_;
  ModelDialogs* dialogs_;
  QPointer<QWidget> parent_;
};

// The material properties dialog ("Физические свойства") of both programs. The
// other dialogs of the seam are the editor's own forms, which complete this class.
class SharedModelDialogs : public ModelDialogs {
 public:
  explicit SharedModelDialogs(MessageService& messages, QWidget* parent = nullptr)
      : messages_(messages), parent_(parent) {}

  std::optional<MaterialDialogValues> MaterialProperties(const MaterialDialogValues& start) override;

 protected:
  MessageService& Messages() { return messages_; }
  QWidget* Parent() const { return parent_; }

 private:
  MessageService& messages_;
  QPointer<QWidget> parent_;
};

}  // namespace tavir
