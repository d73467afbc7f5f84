#include "editor/qt/editor_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "editor/divide_dialog_rules.h"
#include "editor/qt/editor_forms.h"
#include "platform/numtext.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/float_edit.h"
#include "platform/qt/radio_group.h"

namespace tavir {

// ---- window list ----

TWinListDlg::TWinListDlg(TEditorCommands& commands, QWidget* parent) : QDialog(parent), commands_(commands) {
  setObjectName("WinListDlg");
  setWindowTitle("Список окон");
  auto* layout = new QVBoxLayout(this);
  auto* work = new QHBoxLayout;
  WinListBox = new QListWidget;
  WinListBox->setObjectName("WinListBox");
  work->addWidget(WinListBox);
  auto* grid = new QGridLayout;
  const char* captions[6] = {"Xmin=", "Xmax=", "Ymin=", "Ymax=", "Zmin=", "Zmax="};
  const char* names[6] = {"Lbl_WinXmin", "Lbl_WinXmax", "Lbl_WinYmin", "Lbl_WinYmax", "Lbl_WinZmin", "Lbl_WinZmax"};
  QLabel** values[6] = {&Lbl_WinXmin, &Lbl_WinXmax, &Lbl_WinYmin, &Lbl_WinYmax, &Lbl_WinZmin, &Lbl_WinZmax};
  for (int i = 0; i < 6; ++i) {
    grid->addWidget(new QLabel(captions[i]), i, 0);
    *values[i] = new QLabel;
    (*values[i])->setObjectName(names[i]);
    grid->addWidget(*values[i], i, 1);
  }
  work->addLayout(grid);
  layout->addLayout(work);
  const OkCancelRow row = AddOkCancelRow(layout, true);
  OKBtn = row.OK;
  CancelBtn = row.Cancel;

  const TEditWindows& windows = commands_.Windows();
  for (int i = 0; i < windows.Count(); ++i)
    WinListBox->addItem(i == 0 ? QString("Главное окно") : QString("Окно №%1").arg(i));
  if (windows.Count() > 0) {
    WinListBox->setCurrentRow(0);
    ShowWindowBounds();
  }
  connect(WinListBox, &QListWidget::currentRowChanged, this, [this] { ShowWindowBounds(); });
  connect(WinListBox, &QListWidget::itemDoubleClicked, this, [this] {
    ActivateSelected();
    accept();
  });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    ActivateSelected();
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TWinListDlg::ShowWindowBounds() {
  const TEditorWindow* w = commands_.Windows().Find(WinListBox->currentRow());
  if (w == nullptr) return;
  auto text = [](Extended v) { return QString::fromStdString(FormatGeneral(v, 10, 4)); };
  const TWorkWindow& v = w->WorkWindow;
  Lbl_WinXmin->setText(text(v.MinPoint.X));
  Lbl_WinXmax->setText(text(v.MaxPoint.X));
  Lbl_WinYmin->setText(text(v.MinPoint.Y));
  Lbl_WinYmax->setText(text(v.MaxPoint.Y));
  Lbl_WinZmin->setText(text(v.MinPoint.Z));
  Lbl_WinZmax->setText(text(v.MaxPoint.Z));
}

void TWinListDlg::ActivateSelected() {
  const int row = WinListBox->currentRow();
  if (row < 0) return;
  commands_.Supervisor().SetCurrentWindow(row);
  commands_.Windows().ShowWindow(row);
}

// ---- mesh division ----

TDivideForm::TDivideForm(QWidget* parent) : QDialog(parent) {
  setObjectName("DivideForm");
  setWindowTitle("Разбиение области на элементы");
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Размеры области разбиения (Длина х Высота):"), 0, 0);
  Lbl_Region = new QLabel;
  Lbl_Region->setObjectName("Lbl_Region");
  grid->addWidget(Lbl_Region, 0, 1);
  FloatEdit_StepX = new TFloatEdit;
  FloatEdit_StepX->setObjectName("FloatEdit_StepX");
  FloatEdit_StepY = new TFloatEdit;
  FloatEdit_StepY->setObjectName("FloatEdit_StepY");
  SpinEdit_Nx = new QSpinBox;
  SpinEdit_Nx->setObjectName("SpinEdit_Nx");
  SpinEdit_Ny = new QSpinBox;
  SpinEdit_Ny->setObjectName("SpinEdit_Ny");
  for (QSpinBox* s : {SpinEdit_Nx, SpinEdit_Ny}) {
    s->setRange(kDivideCountMin, kDivideCountMax);
    s->setValue(1);
  }
  grid->addWidget(new QLabel("Шаг по оси X:"), 1, 0);
  grid->addWidget(FloatEdit_StepX, 1, 1);
  grid->addWidget(new QLabel("Шаг по оси Y:"), 2, 0);
  grid->addWidget(FloatEdit_StepY, 2, 1);
  grid->addWidget(new QLabel("Шагов по X:"), 3, 0);
  grid->addWidget(SpinEdit_Nx, 3, 1);
  grid->addWidget(new QLabel("Шагов по Y:"), 4, 0);
  grid->addWidget(SpinEdit_Ny, 4, 1);
  layout->addLayout(grid);
  auto* auto_ = new QHBoxLayout;
  auto_->addWidget(new QLabel("Разбиение:"));
  Btn_ByStep = AddDialogButton(auto_, "Btn_ByStep", "По шагам");
  Btn_ByNumStep = AddDialogButton(auto_, "Btn_ByNumStep", "По количеству");
  layout->addLayout(auto_);
  auto* buttons = new QHBoxLayout;
  Button1 = AddDialogButton(buttons, "Button1", "Ра&збить область");
  Button1->setDefault(true);
  Button2 = AddDialogButton(buttons, "Button2", "&Отменить");
  layout->addLayout(buttons);
  connect(Btn_ByStep, &QPushButton::clicked, this, [this] { SetValues(DivideCountsFromSteps(Values())); });
  connect(Btn_ByNumStep, &QPushButton::clicked, this, [this] { SetValues(DivideStepsFromCounts(Values())); });
  connect(Button1, &QPushButton::clicked, this, [this] {
    TFloatEdit::CommitFocused(this);
    accept();
  });
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TDivideForm::SetValues(const DivideDialogValues& v) {
  sizeX_ = v.SizeX;
  sizeY_ = v.SizeY;
  region_ = v.RegionLabel;
  Lbl_Region->setText(QString::fromStdString(v.RegionLabel));
  FloatEdit_StepX->SetValue(v.StepX);
  FloatEdit_StepY->SetValue(v.StepY);
  SpinEdit_Nx->setValue(ClampDivideCount(v.Nx));
  SpinEdit_Ny->setValue(ClampDivideCount(v.Ny));
}

DivideDialogValues TDivideForm::Values() const {
  DivideDialogValues v;
  v.SizeX = sizeX_;
  v.SizeY = sizeY_;
  v.RegionLabel = region_;
  v.StepX = FloatEdit_StepX->Value();
  v.StepY = FloatEdit_StepY->Value();
  v.Nx = SpinEdit_Nx->value();
  v.Ny = SpinEdit_Ny->value();
  return v;
}

// ---- settings ----

TParamForm::TParamForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ParamForm");
  setWindowTitle("Параметры");
  auto* layout = new QVBoxLayout(this);
  RG_UserKind = new RadioGroup("Уровень пользователя");
  RG_UserKind->setObjectName("RG_UserKind");
  RG_UserKind->SetItems({"Новичок", "Профессионал", "Эксперт"});
  layout->addWidget(RG_UserKind);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Точность ввода данных:"));
  FloatEdit_Precision = new TFloatEdit;
  FloatEdit_Precision->setObjectName("FloatEdit_Precision");
  row->addWidget(FloatEdit_Precision);
  layout->addLayout(row);
  const OkCancelRow okCancel = AddOkCancelRow(layout, false);
  OKBtn = okCancel.OK;
  CancelBtn = okCancel.Cancel;
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    TFloatEdit::CommitFocused(this);
    if (RG_UserKind->ItemIndex() >= 0) Options.SetUserKind(static_cast<std::uint8_t>(RG_UserKind->ItemIndex()));
    Task.Precision = FloatEdit_Precision->Value();
    if (RunPreset) RunPreset(Options.UserKind);
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TParamForm::GetTaskParametrs() {
  RG_UserKind->SetItemIndex(Options.UserKind <= 2 ? Options.UserKind : -1);
  FloatEdit_Precision->SetValue(Task.Precision);
}

std::optional<SettingsAnswer> TEditorOwnDialogs::ProgramSettings(const TBCDataEditor& options, const TBCTask& task,
                                                                 const std::function<void(int)>& runPreset) {
  TParamForm form(parent_);
  form.Options.Assign(options);
  form.Task.Assign(task);
  form.RunPreset = runPreset;
  form.GetTaskParametrs();
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  SettingsAnswer answer;
  answer.Options.Assign(form.Options);
  answer.Task.Assign(form.Task);
  return answer;
}

void TEditorOwnDialogs::WindowList(TEditorCommands& commands) {
  TWinListDlg dlg(commands, parent_);
  DialogRunner::Run(dlg);
}

// ---- the model's dialogs ----

void TEditorModelDialogs::NotAvailable(const char* caption) {
  Messages().Show(MsgKind::Warning, "Предупреждение",
                  std::string("Диалог \"") + caption + "\" в этой версии недоступен.", MsgButtons::Ok);
}

std::optional<ElementDialogValues> TEditorModelDialogs::ElementProperties(TMaterials& /*materials*/,
                                                                          ElementKind /*elemKind*/,
                                                                          const ElementDialogValues& /*start*/) {
  NotAvailable("Свойства элемента");
  return std::nullopt;
}

std::optional<DivideDialogValues> TEditorModelDialogs::DivideRegion(const DivideDialogValues& start) {
  TDivideForm form(Parent());
  form.SetValues(start);
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  return form.Values();
}

std::optional<std::int16_t> TEditorModelDialogs::SurfaceKind() {
  NotAvailable("Функции поверхности пологой оболочки");
  return std::nullopt;
}

std::optional<ShellDataValues> TEditorModelDialogs::ShellData(const ShellDataValues& /*start*/) {
  NotAvailable("Пологая оболочка: размеры и характеристики");
  return std::nullopt;
}

void TEditorModelDialogs::ShellList(TShellFunctions& /*shells*/) { NotAvailable("Поверхности оболочек проекта"); }

}  // namespace tavir
