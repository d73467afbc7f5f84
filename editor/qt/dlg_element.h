#pragma once
// "Свойства элемента": an element's layer stack, its brush and, for shells, the
// three curvatures. The dialog edits its own copy of the stack (ElementEdit): the
// layer, brush and curvature edits reach the element only through the caller
// after OK, and Cancel changes nothing.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <optional>

#include "editor/element_dialog_rules.h"
#include "editor/material_dialogs.h"
#include "platform/qt/float_edit.h"
#include "platform/services.h"

namespace tavir {

class TMaterials;

class TMLElemForm : public QDialog {
  Q_OBJECT
 public:
  // holders: where the material chooser looks for layers in use; the dialog's copy
  // of the stack counts among them while the dialog exists (none: not counted).
  TMLElemForm(TMaterials& materials, MessageService& messages, const ElementDialogValues& start,
              MaterialHolders* holders = nullptr, QWidget* parent = nullptr);

  // 0 hides the shell panel, 5 shows it; other kinds change no visibility.
  void SetElemKind(ElementKind kind);
  ElementKind ElemKind() const { return elemKind_; }
  Extended Kx() const { return edit_.Values().Kx; }
  Extended Ky() const { return edit_.Values().Ky; }
  Extended Kxy() const { return edit_.Values().Kxy; }
  const TGeometricElement& GeomElement() const { return edit_.Layers(); }
  // The grid, the layer count, the brush sample and the curvature boxes.
  void RefreshLayers();
  // What the caller takes after OK.
  ElementDialogValues Result() const { return edit_.Result(); }

  // The focused curvature box's exit runs first, so OK stores what it shows.
  void accept() override;

  QTableWidget* StrGrid_Layers = nullptr;
  QLabel* Lbl_NumLayersCaption = nullptr;
  QLabel* Lbl_NumLayers = nullptr;
  QLabel* Label1 = nullptr;
  QPushButton* Btn_NewLayer = nullptr;
  QPushButton* Btn_EditLayer = nullptr;
  QPushButton* Btn_DelLayer = nullptr;
  QPushButton* Btn_AutoZ = nullptr;
  QLabel* Shape_ElemBrush = nullptr;
  QPushButton* Btn_ElemBrush = nullptr;
  QWidget* Panel_Shell = nullptr;
  QLabel* Lbl_ShellCurvTitle = nullptr;
  QLabel* Lbl_Kx = nullptr;
  QLabel* Lbl_Ky = nullptr;
  QLabel* Lbl_Kxy = nullptr;
  TFloatEdit* FloatEdit_Kx = nullptr;
  TFloatEdit* FloatEdit_Ky = nullptr;
  TFloatEdit* FloatEdit_Kxy = nullptr;
  QPushButton* Btn_OK = nullptr;
  QPushButton* Btn_Cancel = nullptr;
  QPushButton* Btn_Apply = nullptr;

 private:
  void Btn_NewLayerClick();
  void Btn_EditLayerClick();
  void Btn_DelLayerClick();
  void Btn_ElemBrushClick();
  int FirstSelectedRow() const;

  TMaterials& materials_;
  MessageService& messages_;
  ElementEdit edit_;
  HeldStack held_;
  ElementKind elemKind_ = ElementKind::Plate;
};

// The element dialog as the editing operations open it: on a copy of the stack
// given, counted among the holders while open; the user's stack and curvatures on OK.
std::optional<ElementDialogValues> RunElementDialog(TMaterials& materials, ElementKind elemKind,
                                                    const ElementDialogValues& start, MessageService& messages,
                                                    MaterialHolders* holders = nullptr, QWidget* parent = nullptr);

}  // namespace tavir
