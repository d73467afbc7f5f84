#pragma once
// "Материалы": the material chooser. It shows a working copy of a material list
// (MaterialListEdit): New, Edit and Delete change only the copy, and the list given
// takes it over when the user presses OK; Cancel changes nothing.
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <memory>
#include <vector>

#include "editor/material_dialogs.h"
#include "model/model_ui_dialogs.h"
#include "platform/services.h"

namespace tavir {

class TMaterialForm : public QDialog {
  Q_OBJECT
 public:
  // Without material dialogs (the analysis program) New, Edit and Delete are
  // disabled: the chooser only picks.
  TMaterialForm(const std::vector<MaterialEntry>& entries, std::int32_t selected, MaterialListContext context,
                ModelDialogs* dialogs, MessageService& messages, QWidget* parent = nullptr);

  const MaterialListEdit& List() const { return list_; }
  // After OK: the list given takes the edited one over; the chosen position (-1 for none).
  std::int32_t CommitTo(std::vector<MaterialEntry>& entries) const { return list_.CommitTo(entries); }

  QListWidget* ListBox_Materials = nullptr;
  QPushButton* Btn_New = nullptr;
  QPushButton* Btn_Edit = nullptr;
  QPushButton* Btn_Delete = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;

 private:
  void Btn_NewClick();
  void Btn_EditClick();
  void Btn_DeleteClick();
  // The list box from the working copy: names, selection, Delete's state.
  void ShowList();

  MaterialListEdit list_;
  ModelDialogs* dialogs_;
  MessageService& messages_;
};

}  // namespace tavir
