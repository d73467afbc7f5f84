#include "editor/qt/dlg_shell.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/shell_dialog_rules.h"
#include "model/project.h"
#include "editor/qt/form_parts.h"
#include "platform/qt/color_picker.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

// ---- kind chooser ----

TSurfaceShellForm::TSurfaceShellForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SurfaceShellForm"));
  setWindowTitle(QStringLiteral("Функции поверхности пологой оболочки"));
  auto* top = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  top->addLayout(body);
  ListBox_Funcs = Named(new QListWidget(this), "ListBox_Funcs");
  for (const std::string& item : SurfaceKindItems()) ListBox_Funcs->addItem(ToQString(item));
  ListBox_Funcs->setCurrentRow(0);
  ListBox_Funcs->setFixedWidth(200);
  body->addWidget(ListBox_Funcs);
  auto* right = new QVBoxLayout;
  DemoImage = Named(new QLabel(this), "DemoImage");
  DemoImage->setFixedSize(160, 100);
  DemoImage->setFrameShape(QFrame::Box);
  InfoMemo = Named(new QPlainTextEdit(this), "InfoMemo");
  InfoMemo->setReadOnly(true);
  InfoMemo->setFixedHeight(60);
  right->addWidget(DemoImage);
  right->addWidget(InfoMemo);
  body->addLayout(right);
  auto* buttons = new QHBoxLayout;
  NewFunc_Btn = Named(new QPushButton(QStringLiteral("&Добавить"), this), "NewFunc_Btn");
  buttons->addWidget(NewFunc_Btn);
  buttons->addStretch(1);
  OK_Btn = Named(new QPushButton(QStringLiteral("&Выбрать"), this), "OK_Btn");
  OK_Btn->setDefault(true);
  Cancel_Btn = Named(new QPushButton(QStringLiteral("&Отменить"), this), "Cancel_Btn");
  buttons->addWidget(OK_Btn);
  buttons->addWidget(Cancel_Btn);
  top->addLayout(buttons);
  connect(OK_Btn, &QPushButton::clicked, this, [this] {
    Kind = SurfaceKindOfItem(ListBox_Funcs->currentRow(), Kind);
    accept();
  });
  connect(Cancel_Btn, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::int16_t> RunSurfaceKindDialog(QWidget* parent) {
  TSurfaceShellForm form(parent);
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return form.Kind;
}

// ---- data dialog ----

TShellDataForm::TShellDataForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ShellDataForm"));
  setWindowTitle(QStringLiteral("Пологая оболочка: размеры и характеристики"));
  auto* top = new QVBoxLayout(this);
  auto* upper = new QHBoxLayout;
  top->addLayout(upper);
  auto* anchor = new QGridLayout;
  Lbl_Coordinates = Named(new QLabel(QStringLiteral("Координаты точки привязки:"), this), "Lbl_Coordinates");
  anchor->addWidget(Lbl_Coordinates, 0, 0, 1, 2);
  const std::array<const char*, 3> labels{"Lbl_X", "Lbl_Y", "Lbl_Z"};
  const std::array<const char*, 3> texts{"X:", "Y:", "Z:"};
  const std::array<const char*, 3> boxes{"FloatEdit_X", "FloatEdit_Y", "FloatEdit_Z"};
  std::array<TFloatEdit*, 3> edits{};
  for (std::size_t i = 0; i < 3; ++i) {
    anchor->addWidget(Named(new QLabel(QString::fromLatin1(texts[i]), this), labels[i]), static_cast<int>(i) + 1, 0);
    edits[i] = Named(new TFloatEdit(this), boxes[i]);
    // The anchor is where the frame was drawn: shown, not edited here.
    edits[i]->setReadOnly(true);
    anchor->addWidget(edits[i], static_cast<int>(i) + 1, 1);
  }
  FloatEdit_X = edits[0];
  FloatEdit_Y = edits[1];
  FloatEdit_Z = edits[2];
  Btn_Choice = Named(new QPushButton(QStringLiteral("Выбрать функцию"), this), "Btn_Choice");
  anchor->addWidget(Btn_Choice, 4, 0, 1, 2);
  upper->addLayout(anchor);

  auto* surface = new QVBoxLayout;
  Lbl_Surface = Named(new QLabel(QStringLiteral("Функция поверхности оболочки:"), this), "Lbl_Surface");
  Lbl_FunctionName = Named(new QLabel(this), "Lbl_FunctionName");
  QFont bold = Lbl_FunctionName->font();
  bold.setBold(true);
  Lbl_FunctionName->setFont(bold);
  Lbl_Function = Named(new QLabel(this), "Lbl_Function");
  Lbl_KxFunc = Named(new QLabel(this), "Lbl_KxFunc");
  Lbl_KyFunc = Named(new QLabel(this), "Lbl_KyFunc");
  Lbl_KxyFunc = Named(new QLabel(this), "Lbl_KxyFunc");
  for (QLabel* l : {Lbl_Surface, Lbl_FunctionName, Lbl_Function, Lbl_KxFunc, Lbl_KyFunc, Lbl_KxyFunc})
    surface->addWidget(l);
  auto* color = new QHBoxLayout;
  Lbl_Color = Named(new QLabel(QStringLiteral("Цвет контура:"), this), "Lbl_Color");
  PaintBox_Line = Named(new QLabel(this), "PaintBox_Line");
  PaintBox_Line->setFixedSize(121, 16);
  BitBtn_Color = Named(new QPushButton(QStringLiteral("Цвет контура"), this), "BitBtn_Color");
  color->addWidget(Lbl_Color);
  color->addWidget(PaintBox_Line);
  color->addWidget(BitBtn_Color);
  surface->addLayout(color);
  surface->addStretch(1);
  upper->addLayout(surface, 1);

  ParamsPanel = Named(new QFrame(this), "ParamsPanel");
  static_cast<QFrame*>(ParamsPanel)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  ParamsPanel->setMinimumSize(430, 205);
  auto* head = new QLabel(QStringLiteral("Параметры функции:"), ParamsPanel);
  head->setObjectName(QStringLiteral("Lbl_Params"));
  head->setAlignment(Qt::AlignHCenter);
  head->setGeometry(0, 8, 430, 20);
  top->addWidget(ParamsPanel);

  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("&ОК"), "Btn_OK"}, {QStringLiteral("&Отменить"), "Btn_Cancel"}});
  Btn_OK = closing[0];
  Btn_Cancel = closing[1];

  connect(Btn_OK, &QPushButton::clicked, this, &TShellDataForm::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(BitBtn_Color, &QPushButton::clicked, this, [this] {
    if (const std::optional<RgbColor> c = ColorPicker::Pick(this, ContourColor)) ContourColor = *c;
    ShowFunction();
  });
  connect(Btn_Choice, &QPushButton::clicked, this, [this] {
    // The kind chosen there is not applied to this dialog.
    TSurfaceShellForm chooser(this);
    DialogRunner::Run(chooser);
  });
  SetChoiceEnabled(false);
}

void TShellDataForm::SetKind(std::int16_t kind) {
  Kind = kind;
  Params.clear();
  if (const std::optional<std::int32_t> n = ParamCountOfKind(kind)) {
    ParamCount = *n;
    Params.assign(static_cast<std::size_t>(*n), 0);
  }
  LayoutParams();
  ShowFunction();
}

void TShellDataForm::LayoutParams() {
  for (QLabel* l : ParamLabels) delete l;
  for (TFloatEdit* e : ParamEdits) delete e;
  ParamLabels.clear();
  ParamEdits.clear();
  const int n = std::min<std::int32_t>(ParamCount, 15);
  for (int i = 0; i < n; ++i) {
    auto* label = new QLabel(ParamsPanel);
    label->setObjectName(QStringLiteral("ParamLabel%1").arg(i + 1));
    const TPoint lp = ParamLabelPos(i);
    label->move(lp.X, lp.Y);
    auto* box = new TFloatEdit(ParamsPanel);
    box->setObjectName(QStringLiteral("ParamEdit%1").arg(i + 1));
    const TPoint bp = ParamBoxPos(i);
    box->setGeometry(bp.X, bp.Y, kParamBoxWidth, box->sizeHint().height());
    label->show();
    box->show();
    ParamLabels.push_back(label);
    ParamEdits.push_back(box);
  }
}

void TShellDataForm::ShowFunction() {
  QPixmap line(PaintBox_Line->size());
  line.fill(palette().color(QPalette::Window));
  {
    QPainter p(&line);
    p.setPen(QPen(ToQColor(ContourColor), 3));
    p.drawLine(0, line.height() / 2, line.width(), line.height() / 2);
  }
  PaintBox_Line->setPixmap(line);
  const std::optional<ShellFunctionTexts> t = FunctionTexts(Kind);
  if (!t) return;
  Lbl_FunctionName->setText(ToQString(t->Name));
  Lbl_Function->setText(ToQString(t->Function));
  Lbl_KxFunc->setText(ToQString(t->KxFunc));
  Lbl_KyFunc->setText(ToQString(t->KyFunc));
  Lbl_KxyFunc->setText(ToQString(t->KxyFunc));
  for (std::size_t i = 0; i < ParamLabels.size() && i < t->ParamLabels.size(); ++i) {
    ParamLabels[i]->setText(ToQString(t->ParamLabels[i]));
    ParamLabels[i]->adjustSize();
  }
  for (std::size_t i = 0; i < ParamEdits.size() && i < Params.size(); ++i) ParamEdits[i]->SetValue(Params[i]);
}

void TShellDataForm::SetChoiceEnabled(bool enabled) {
  ChoiceEnabled = enabled;
  Btn_Choice->setEnabled(enabled);
}

void TShellDataForm::SetOrigin(const TFloatPoint3D& origin) {
  Origin = origin;
  FloatEdit_X->SetValue(origin.X);
  FloatEdit_Y->SetValue(origin.Y);
  FloatEdit_Z->SetValue(origin.Z);
}

void TShellDataForm::SetParamCount(std::int32_t n) {
  ParamCount = n;
  if (!ParamCountOfKind(Kind)) Params.assign(static_cast<std::size_t>(std::max(n, 0)), 0);
}

void TShellDataForm::SetParams(const std::vector<Extended>& values) {
  if (Params.empty() || values.size() != Params.size()) return;
  const std::size_t n = Kind == 0 ? 4 : Kind == 3 ? 2 : 0;
  for (std::size_t i = 0; i < n && i < Params.size(); ++i) Params[i] = values[i];
}

void TShellDataForm::ReadParams() {
  if (Params.empty()) return;
  for (std::size_t i = 0; i < Params.size() && i < ParamEdits.size(); ++i) Params[i] = ParamEdits[i]->Value();
}

ShellDataValues TShellDataForm::Values() const {
  ShellDataValues v;
  v.Kind = Kind;
  v.Origin = Origin;
  v.ChoiceEnabled = ChoiceEnabled;
  v.ContourColor = ContourColor;
  v.Params = Params;
  return v;
}

void TShellDataForm::accept() {
  TFloatEdit::CommitFocused(this);
  ReadParams();
  QDialog::accept();
}

std::optional<ShellDataValues> RunShellDataDialog(const ShellDataValues& start, QWidget* parent) {
  TShellDataForm form(parent);
  form.SetOrigin(start.Origin);
  form.SetKind(start.Kind);
  form.SetChoiceEnabled(start.ChoiceEnabled);
  form.SetContourColor(start.ContourColor);
  form.SetParams(start.Params);
  form.ShowFunction();
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return form.Values();
}

// ---- surface list ----

TShellsFuncsForm::TShellsFuncsForm(TShellFunctions* shells, QWidget* parent) : QDialog(parent), shells_(shells) {
  setObjectName(QStringLiteral("ShellsFuncsForm"));
  setWindowTitle(QStringLiteral("Поверхности оболочек проекта"));
  auto* top = new QVBoxLayout(this);
  StrGrid_ShellsFuncs = Named(new QTableWidget(this), "StrGrid_ShellsFuncs");
  StrGrid_ShellsFuncs->setColumnCount(kShellListColumns);
  QStringList headers;
  for (const std::string& h : ShellListHeaders()) headers << ToQString(h);
  StrGrid_ShellsFuncs->setHorizontalHeaderLabels(headers);
  StrGrid_ShellsFuncs->setColumnWidth(0, 190);
  for (int c = 1; c < kShellListColumns; ++c) StrGrid_ShellsFuncs->setColumnWidth(c, 90);
  StrGrid_ShellsFuncs->verticalHeader()->hide();
  StrGrid_ShellsFuncs->setSelectionBehavior(QAbstractItemView::SelectRows);
  StrGrid_ShellsFuncs->setSelectionMode(QAbstractItemView::ContiguousSelection);
  StrGrid_ShellsFuncs->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StrGrid_ShellsFuncs->setWordWrap(false);
  StrGrid_ShellsFuncs->setMinimumSize(230 + 6 * 90 + 4, 150);
  top->addWidget(StrGrid_ShellsFuncs);
  auto* buttons = new QHBoxLayout;
  Btn_Add = Named(new QPushButton(QStringLiteral("Добавить"), this), "Btn_Add");
  Btn_Add->setEnabled(false);
  Btn_Edit = Named(new QPushButton(QStringLiteral("Изменить"), this), "Btn_Edit");
  Btn_Delete = Named(new QPushButton(QStringLiteral("Удалить"), this), "Btn_Delete");
  Btn_Close = Named(new QPushButton(QStringLiteral("Закрыть"), this), "Btn_Close");
  Btn_Choice = Named(new QPushButton(QStringLiteral("Выбрать"), this), "Btn_Choice");
  Btn_Choice->setDefault(true);
  for (QPushButton* b : {Btn_Add, Btn_Edit, Btn_Delete}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(Btn_Choice);
  buttons->addWidget(Btn_Close);
  top->addLayout(buttons);
  connect(Btn_Close, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_Choice, &QPushButton::clicked, this, &QDialog::accept);
  connect(Btn_Edit, &QPushButton::clicked, this, &TShellsFuncsForm::Btn_EditClick);
  connect(Btn_Delete, &QPushButton::clicked, this, &TShellsFuncsForm::Btn_DeleteClick);
  RefreshList();
}

void TShellsFuncsForm::showEvent(QShowEvent* event) {
  if (shells_ == nullptr)
    for (QWidget* w : std::initializer_list<QWidget*>{StrGrid_ShellsFuncs, Btn_Add, Btn_Edit, Btn_Delete})
      w->setEnabled(false);
  RefreshList();
  QDialog::showEvent(event);
}

void TShellsFuncsForm::RefreshList() {
  StrGrid_ShellsFuncs->clearContents();
  const int count = shells_ == nullptr ? 0 : shells_->Count();
  StrGrid_ShellsFuncs->setRowCount(count == 0 ? 1 : count);
  for (int i = 0; i < count; ++i) {
    const auto row = ShellListRow(*shells_, i);
    for (int c = 0; c < kShellListColumns; ++c) {
      auto* item = new QTableWidgetItem(ToQString(row[static_cast<std::size_t>(c)]));
      if (c == kShellListColumns - 1)
        if (const std::optional<RgbColor> color = ShellListColor(*shells_, i)) item->setBackground(ToQColor(*color));
      StrGrid_ShellsFuncs->setItem(i, c, item);
    }
  }
  StrGrid_ShellsFuncs->resizeColumnToContents(0);
  StrGrid_ShellsFuncs->setColumnWidth(0, std::max(190, StrGrid_ShellsFuncs->columnWidth(0)));
}

int TShellsFuncsForm::FirstSelectedRow() const {
  int first = -1;
  for (const QTableWidgetSelectionRange& r : StrGrid_ShellsFuncs->selectedRanges())
    if (first < 0 || r.topRow() < first) first = r.topRow();
  if (first < 0) first = StrGrid_ShellsFuncs->currentRow();
  return first;
}

void TShellsFuncsForm::Btn_EditClick() {
  if (shells_ == nullptr) return;
  const int i = FirstSelectedRow();
  const std::optional<ShellDataValues> start = ShellEditStart(*shells_, i);
  if (!start) return;
  if (const std::optional<ShellDataValues> done = RunShellDataDialog(*start, this))
    ApplyShellEdit(*shells_, i, *done);
  RefreshList();
}

void TShellsFuncsForm::Btn_DeleteClick() {
  if (shells_ == nullptr) return;
  const int i = FirstSelectedRow();
  if (i < 0 || i >= shells_->Count()) return;
  // The list deletes at once, without a question.
  shells_->Delete(i);
  RefreshList();
}

void RunShellListDialog(TShellFunctions& shells, QWidget* parent) {
  TShellsFuncsForm form(&shells, parent);
  DialogRunner::Run(form);
}

}  // namespace tavir
