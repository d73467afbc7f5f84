#include "editor/qt/dlg_element.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/qt/dlg_brush.h"
#include "editor/qt/dlg_layer.h"
#include "model/elements.h"
#include "model/project.h"
#include "editor/qt/form_parts.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

namespace {

constexpr std::array<int, kLayerGridColumns> kColumnWidths{177, 71, 68, 61, 47, 126};

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QString::fromLatin1(name));
  return b;
}

}  // namespace

TMLElemForm::TMLElemForm(TMaterials& materials, MessageService& messages, const ElementDialogValues& start,
                         MaterialHolders* holders, QWidget* parent)
    : QDialog(parent), materials_(materials), messages_(messages), edit_(start), held_(holders, edit_.Layers()) {
  setObjectName(QStringLiteral("MLElemForm"));
  setWindowTitle(QStringLiteral("Свойства элемента"));
  setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowTitleHint);
  auto* top = new QVBoxLayout(this);

  auto* head = new QHBoxLayout;
  Label1 = Named(new QLabel(QStringLiteral("Слои"), this), "Label1");
  Lbl_NumLayersCaption = Named(new QLabel(QStringLiteral("Всего слоев:"), this), "Lbl_NumLayersCaption");
  Lbl_NumLayers = Named(new QLabel(this), "Lbl_NumLayers");
  head->addWidget(Label1);
  head->addStretch(1);
  head->addWidget(Lbl_NumLayersCaption);
  head->addWidget(Lbl_NumLayers);
  top->addLayout(head);

  auto* middle = new QHBoxLayout;
  StrGrid_Layers = new QTableWidget(this);
  StrGrid_Layers->setObjectName(QStringLiteral("StrGrid_Layers"));
  StrGrid_Layers->setColumnCount(kLayerGridColumns);
  QStringList headers;
  for (const std::string& h : LayerGridHeaders()) headers << ToQString(h);
  StrGrid_Layers->setHorizontalHeaderLabels(headers);
  int gridWidth = 4;
  for (int c = 0; c < kLayerGridColumns; ++c) {
    StrGrid_Layers->setColumnWidth(c, kColumnWidths[static_cast<std::size_t>(c)]);
    gridWidth += kColumnWidths[static_cast<std::size_t>(c)];
  }
  StrGrid_Layers->verticalHeader()->hide();
  StrGrid_Layers->verticalHeader()->setDefaultSectionSize(20);
  StrGrid_Layers->verticalHeader()->setSectionsMovable(false);
  StrGrid_Layers->setSelectionBehavior(QAbstractItemView::SelectRows);
  StrGrid_Layers->setSelectionMode(QAbstractItemView::ContiguousSelection);
  StrGrid_Layers->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Edit and Delete address a layer by its row: rows keep the stack's order.
  StrGrid_Layers->setDragDropMode(QAbstractItemView::NoDragDrop);
  StrGrid_Layers->setDragEnabled(false);
  StrGrid_Layers->setMinimumWidth(gridWidth + 30);
  StrGrid_Layers->setMinimumHeight(130);
  middle->addWidget(StrGrid_Layers, 1);
  auto* layerButtons = new QVBoxLayout;
  Btn_NewLayer = Button(QStringLiteral("&Новый"), "Btn_NewLayer", this);
  Btn_EditLayer = Button(QStringLiteral("&Изменить"), "Btn_EditLayer", this);
  Btn_DelLayer = Button(QStringLiteral("&Удалить"), "Btn_DelLayer", this);
  Btn_AutoZ = Button(QStringLiteral("Авто"), "Btn_AutoZ", this);
  Btn_AutoZ->setEnabled(false);
  for (QPushButton* b : {Btn_NewLayer, Btn_EditLayer, Btn_DelLayer, Btn_AutoZ}) layerButtons->addWidget(b);
  layerButtons->addStretch(1);
  middle->addLayout(layerButtons);
  top->addLayout(middle);

  auto* brushRow = new QHBoxLayout;
  Shape_ElemBrush = Named(new QLabel(this), "Shape_ElemBrush");
  Shape_ElemBrush->setFixedSize(60, 23);
  Btn_ElemBrush = Button(QStringLiteral("&Заливка"), "Btn_ElemBrush", this);
  brushRow->addWidget(Shape_ElemBrush);
  brushRow->addWidget(Btn_ElemBrush);
  brushRow->addStretch(1);
  top->addLayout(brushRow);

  Panel_Shell = new QWidget(this);
  Panel_Shell->setObjectName(QStringLiteral("Panel_Shell"));
  auto* shell = new QGridLayout(Panel_Shell);
  shell->setContentsMargins(0, 0, 0, 0);
  Lbl_ShellCurvTitle =
      Named(new QLabel(QStringLiteral("Кривизна поверхности пологой оболочки:"), Panel_Shell), "Lbl_ShellCurvTitle");
  Lbl_Kx = Named(new QLabel(QStringLiteral("Кривизна по оси &X"), Panel_Shell), "Lbl_Kx");
  Lbl_Ky = Named(new QLabel(QStringLiteral("Кривизна по оси &Y"), Panel_Shell), "Lbl_Ky");
  Lbl_Kxy = Named(new QLabel(QStringLiteral("Кривизна &кручения"), Panel_Shell), "Lbl_Kxy");
  FloatEdit_Kx = new TFloatEdit(Panel_Shell);
  FloatEdit_Kx->setObjectName(QStringLiteral("FloatEdit_Kx"));
  FloatEdit_Ky = new TFloatEdit(Panel_Shell);
  FloatEdit_Ky->setObjectName(QStringLiteral("FloatEdit_Ky"));
  FloatEdit_Kxy = new TFloatEdit(Panel_Shell);
  FloatEdit_Kxy->setObjectName(QStringLiteral("FloatEdit_Kxy"));
  Lbl_Kx->setBuddy(FloatEdit_Kx);
  Lbl_Ky->setBuddy(FloatEdit_Ky);
  Lbl_Kxy->setBuddy(FloatEdit_Kxy);
  shell->addWidget(Lbl_ShellCurvTitle, 0, 0, 1, 3);
  shell->addWidget(Lbl_Kx, 1, 0);
  shell->addWidget(Lbl_Ky, 1, 1);
  shell->addWidget(Lbl_Kxy, 1, 2);
  shell->addWidget(FloatEdit_Kx, 2, 0);
  shell->addWidget(FloatEdit_Ky, 2, 1);
  shell->addWidget(FloatEdit_Kxy, 2, 2);
  top->addWidget(Panel_Shell);

  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("ОК"), "Btn_OK"}, {QStringLiteral("Отменить"), "Btn_Cancel"}, {QStringLiteral("Применить"), "Btn_Apply"}});
  Btn_OK = closing[0];
  Btn_Cancel = closing[1];
  Btn_Apply = closing[2];

  connect(Btn_OK, &QPushButton::clicked, this, &TMLElemForm::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_NewLayer, &QPushButton::clicked, this, &TMLElemForm::Btn_NewLayerClick);
  connect(Btn_EditLayer, &QPushButton::clicked, this, &TMLElemForm::Btn_EditLayerClick);
  connect(Btn_DelLayer, &QPushButton::clicked, this, &TMLElemForm::Btn_DelLayerClick);
  connect(Btn_ElemBrush, &QPushButton::clicked, this, &TMLElemForm::Btn_ElemBrushClick);
  // exited() comes after the box has put back a number for text that is not one,
  // so a curvature typed as letters keeps the number the box shows.
  connect(FloatEdit_Kx, &TFloatEdit::exited, this, [this] { edit_.Values().Kx = FloatEdit_Kx->Value(); });
  connect(FloatEdit_Ky, &TFloatEdit::exited, this, [this] { edit_.Values().Ky = FloatEdit_Ky->Value(); });
  connect(FloatEdit_Kxy, &TFloatEdit::exited, this, [this] { edit_.Values().Kxy = FloatEdit_Kxy->Value(); });
  RefreshLayers();
}

void TMLElemForm::SetElemKind(ElementKind kind) {
  elemKind_ = kind;
  if (kind == ElementKind::Plate) Panel_Shell->setVisible(false);
  else if (kind == ElementKind::Shell) Panel_Shell->setVisible(true);
}

void TMLElemForm::RefreshLayers() {
  const TGeometricElement& stack = edit_.Layers();
  StrGrid_Layers->clearContents();
  StrGrid_Layers->setRowCount(LayerGridRowCount(stack) - 1);
  for (int i = 0; i < stack.Count(); ++i) {
    const auto row = LayerGridRow(stack, i, materials_);
    for (int c = 0; c < kLayerGridColumns; ++c) {
      auto* item = new QTableWidgetItem(ToQString(row[static_cast<std::size_t>(c)]));
      if (c == kLayerBrushColumn) {
        const std::shared_ptr<TPhisicalElement> layer = stack.Layer(i);
        item->setBackground(QBrush(BrushPixmap(layer->Brush, QSize(kColumnWidths[kLayerBrushColumn], 20))));
      }
      StrGrid_Layers->setItem(i, c, item);
    }
  }
  // The laid-out widths, widened where this font needs more room for a text.
  for (int c = 0; c < kLayerGridColumns; ++c) {
    StrGrid_Layers->resizeColumnToContents(c);
    StrGrid_Layers->setColumnWidth(
        c, std::max(kColumnWidths[static_cast<std::size_t>(c)], StrGrid_Layers->columnWidth(c)));
  }
  Lbl_NumLayers->setText(QString::number(stack.Count()));
  Shape_ElemBrush->setPixmap(BrushPixmap(stack.Brush, Shape_ElemBrush->size()));
  FloatEdit_Kx->SetValue(edit_.Values().Kx);
  FloatEdit_Ky->SetValue(edit_.Values().Ky);
  FloatEdit_Kxy->SetValue(edit_.Values().Kxy);
}

int TMLElemForm::FirstSelectedRow() const {
  const QList<QTableWidgetSelectionRange> ranges = StrGrid_Layers->selectedRanges();
  int first = -1;
  for (const QTableWidgetSelectionRange& r : ranges)
    if (first < 0 || r.topRow() < first) first = r.topRow();
  if (first < 0) first = StrGrid_Layers->currentRow();
  // Grid rows count from the header row, as the layer commands address them.
  return first < 0 ? -1 : first + 1;
}

void TMLElemForm::Btn_NewLayerClick() {
  TLayerForm form(materials_, messages_, this);
  form.Layer.Assign(TPhisicalElement());
  form.SetTitle(QString());
  form.ShowLayer();
  if (DialogRunner::Run(form) == QDialog::Accepted) {
    form.ReadLayer();
    edit_.AddLayer(form.Layer, form.Title().toStdString());
  }
  RefreshLayers();
}

void TMLElemForm::Btn_EditLayerClick() {
  const int row = FirstSelectedRow();
  const int i = edit_.LayerOfRow(row);
  if (i < 0) return;
  TLayerForm form(materials_, messages_, this);
  form.Layer.Assign(*edit_.Layers().Layer(i));
  form.SetTitle(ToQString(edit_.Layers().LayerName(i)));
  form.ShowLayer();
  if (DialogRunner::Run(form) == QDialog::Accepted) {
    form.ReadLayer();
    edit_.ReplaceLayer(row, form.Layer, form.Title().toStdString());
  }
  RefreshLayers();
}

void TMLElemForm::Btn_DelLayerClick() {
  const LayerDeletion d = DeleteLayerRule(edit_.Layers(), FirstSelectedRow());
  switch (d.What) {
    case LayerDeletion::Kind::Nothing: return;
    case LayerDeletion::Kind::OnlyLayer:
      messages_.Show(MsgKind::Error, kDeleteLayerCaption, d.Text, MsgButtons::Ok);
      return;
    case LayerDeletion::Kind::Ask:
      if (messages_.Show(MsgKind::Question, kDeleteLayerCaption, d.Text, MsgButtons::OkCancel) == MsgResult::Cancel)
        return;
      edit_.DeleteLayer(FirstSelectedRow());
      RefreshLayers();
      return;
  }
}

void TMLElemForm::Btn_ElemBrushClick() {
  if (const std::optional<CanvasBrush> b = EditBrush(edit_.Layers().Brush, this)) edit_.Layers().Brush = *b;
  RefreshLayers();
}

void TMLElemForm::accept() {
  TFloatEdit::CommitFocused(this);
  QDialog::accept();
}

std::optional<ElementDialogValues> RunElementDialog(TMaterials& materials, ElementKind elemKind,
                                                    const ElementDialogValues& start, MessageService& messages,
                                                    MaterialHolders* holders, QWidget* parent) {
  TMLElemForm form(materials, messages, start, holders, parent);
  form.SetElemKind(elemKind);
  form.RefreshLayers();
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return form.Result();
}

}  // namespace tavir
