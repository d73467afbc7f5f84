#pragma once
// The editor's small forms: the panel-settings dialog, the project-information box
// and the About box (the new-task, load and support dialogs are in their own
// files, included here for the command module). Each is created for one use (the load dialog for one load mode) and
// read back by its caller.
#include <QDialog>
#include <array>
#include <functional>

#include "editor/editor_commands.h"
#include "editor/qt/dlg_new_task.h"
#include "editor/qt/dlg_support.h"
#include "model/records.h"
#include "model/settings.h"
#include "platform/extended.h"
#include "platform/services.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace tavir {

class RadioGroup;
class TFloatEdit;

// ---- panels ----

class TPDlg_ToolBox : public QDialog {
  Q_OBJECT
 public:
  // The bars' visibility in index order fills the check list.
  TPDlg_ToolBox(const std::array<bool, kEditorBarCount>& visible, QWidget* parent = nullptr);
  bool GetPanelVisible(int i) const { return panels_.at(static_cast<std::size_t>(i)); }
  void Resurrect();
  void done(int result) override;

  QListWidget* ChLB_Panels = nullptr;
  QPushButton* Btn_Resurrect = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 private:
  std::array<bool, kEditorBarCount> panels_{};
};

// ---- information boxes ----

class TInfoForm : public QDialog {
  Q_OBJECT
 public:
  explicit TInfoForm(QWidget* parent = nullptr);
  QLabel* Lbl_ProjFileName = nullptr;
  QLabel* Lbl_NumNodes = nullptr;
  QLabel* Lbl_NumElems = nullptr;
  QLabel* Lbl_ProjTaskMode = nullptr;
  QLabel* Lbl_ProjTaskOptions = nullptr;
  QLabel* Lbl_ProjDimension = nullptr;
  QLabel* Lbl_ProjPrecision = nullptr;
  // The task's rows, in words.
  void ShowTask(const TBCTask& task);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace tavir
