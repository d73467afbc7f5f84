#include "editor/qt/dlg_param.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "editor/param_dialog_rules.h"
#include "editor/task_items.h"
#include "platform/numtext.h"
#include "editor/qt/form_parts.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/window_place.h"

namespace tavir {

namespace {

QCheckBox* Check(const char* text, const char* name, QWidget* parent) {
  return Named(new QCheckBox(QString::fromUtf8(text), parent), name);
}

struct SheetCheck {
  const char* Text;
  const char* Name;
  QCheckBox** Box;
};

// A sheet of check boxes one under the other, added to the page control.
QWidget* CheckSheet(QTabWidget* pages, const char* name, const char* title, std::initializer_list<SheetCheck> checks) {
  auto* sheet = Named(new QWidget, name);
  auto* layout = new QVBoxLayout(sheet);
  for (const SheetCheck& c : checks) {
    *c.Box = Check(c.Text, c.Name, sheet);
    layout->addWidget(*c.Box);
  }
  layout->addStretch(1);
  pages->addTab(sheet, QString::fromUtf8(title));
  return sheet;
}

QComboBox* DirBox(const char* name, QWidget* parent) {
  auto* b = Named(new QComboBox(parent), name);
  b->setEditable(true);
  b->setMinimumWidth(260);
  return b;
}

QAction* MenuItem(QMenu* menu, const char* text, const char* name) {
  QAction* a = menu->addAction(QString::fromUtf8(text));
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

void SetCheck(QCheckBox* box, std::uint8_t v) { box->setChecked(v != 0); }
std::uint8_t Flag(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

bool Leaving(QFocusEvent* e, const QWidget* cancel) {
  return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason &&
         QApplication::focusWidget() != cancel;
}

}  // namespace

// ---- one-line input ----

TAddStringDLG::TAddStringDLG(const QString& caption, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AddStringDLG"));
  setWindowTitle(caption);
  auto* top = new QVBoxLayout(this);
  Label1 = Named(new QLabel(caption, this), "Label1");
  Edit1 = Named(new QLineEdit(this), "Edit1");
  Edit1->setMinimumWidth(250);
  top->addWidget(Label1);
  top->addWidget(Edit1);
  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("ОК"), "OKBtn"}, {QStringLiteral("Отменить"), "CancelBtn"}});
  OKBtn = closing[0];
  CancelBtn = closing[1];
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  // "Введите новую единицу измерения:" is longer than the edit is wide.
  FitTitle(*this);
}

std::optional<QString> AskString(const QString& caption, QWidget* parent) {
  TAddStringDLG dlg(caption, parent);
  if (DialogRunner::Run(dlg) != QDialog::Accepted) return std::nullopt;
  return dlg.Edit1->text();
}

// ---- settings ----

TParamForm::TParamForm(MessageService& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName(QStringLiteral("ParamForm"));
  setWindowTitle(QStringLiteral("Параметры"));
  auto* top = new QVBoxLayout(this);
  PCtrl_Params = Named(new QTabWidget(this), "PCtrl_Params");
  top->addWidget(PCtrl_Params);

  // Общие
  TSheet_Common = Named(new QWidget, "TSheet_Common");
  auto* common = new QGridLayout(TSheet_Common);
  EditUserName = Named(new QLineEdit(TSheet_Common), "EditUserName");
  common->addWidget(new QLabel(QStringLiteral("Имя пользователя:"), TSheet_Common), 0, 0);
  common->addWidget(EditUserName, 0, 1, 1, 2);
  ChBox_FileListNumber = Check("Список ранее открывавшихся файлов ", "ChBox_FileListNumber", TSheet_Common);
  common->addWidget(ChBox_FileListNumber, 1, 0, 1, 3);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(new QLabel(QStringLiteral("содержит элементов, не более:"), TSheet_Common));
  FileNum_Edit = Named(new QLineEdit(TSheet_Common), "FileNum_Edit");
  FileNum_Edit->setReadOnly(true);
  FileNum_Edit->setMaximumWidth(50);
  UpDown_FileNum = Named(new UpDown(TSheet_Common), "UpDown_FileNum");
  UpDown_FileNum->SetAssociate(FileNum_Edit);
  UpDown_FileNum->SetRange(0, 10);
  fileRow->addWidget(FileNum_Edit);
  fileRow->addWidget(UpDown_FileNum);
  fileRow->addStretch(1);
  common->addLayout(fileRow, 2, 0, 1, 3);
  ChBox_Reduce = Check("Подтверждать преобразование при открытии файла", "ChBox_Reduce", TSheet_Common);
  common->addWidget(ChBox_Reduce, 3, 0, 1, 3);
  RGroup_User = Named(new RadioGroup(QStringLiteral("Пользователь"), TSheet_Common), "RGroup_User");
  RGroup_User->SetItems({QStringLiteral("Новичок"), QStringLiteral("Профессионал"), QStringLiteral("Эксперт")});
  common->addWidget(RGroup_User, 4, 0, 4, 1);
  common->addWidget(new QLabel(QStringLiteral("Точность ввода данных :"), TSheet_Common), 4, 1);
  EditPrecision = Named(new QLineEdit(TSheet_Common), "EditPrecision");
  common->addWidget(EditPrecision, 4, 2);
  common->addWidget(new QLabel(QStringLiteral("Единицы измерения размеров:"), TSheet_Common), 5, 1);
  CBox_SizeUnits = Named(new QComboBox(TSheet_Common), "CBox_SizeUnits");
  common->addWidget(CBox_SizeUnits, 5, 2);
  common->addWidget(new QLabel(QStringLiteral("Единицы измерения усилий:"), TSheet_Common), 6, 1);
  CBox_ForceUnits = Named(new QComboBox(TSheet_Common), "CBox_ForceUnits");
  common->addWidget(CBox_ForceUnits, 6, 2);
  common->setRowStretch(8, 1);
  PCtrl_Params->addTab(TSheet_Common, QStringLiteral("Общие"));

  // Графика
  auto* view = Named(new QWidget, "TSheet_View");
  auto* viewLayout = new QVBoxLayout(view);
  RGroup_Mode = Named(new RadioGroup(QStringLiteral(" Режим работы "), view), "RGroup_Mode");
  RGroup_Mode->SetItems({QStringLiteral("Быстрый"), QStringLiteral("Обычный"), QStringLiteral("Качественный")});
  ChBox_Contur = Check("Контуры элементов", "ChBox_Contur", view);
  viewLayout->addWidget(RGroup_Mode);
  viewLayout->addWidget(ChBox_Contur);
  viewLayout->addStretch(1);
  PCtrl_Params->addTab(view, QStringLiteral("Графика"));

  // Сохранение
  auto* save = Named(new QWidget, "TSheet_Save");
  auto* saveLayout = new QVBoxLayout(save);
  ChBox_OfferProperty = Check("Предлагать заполнение свойств файла", "ChBox_OfferProperty", save);
  ChBox_SaveBAK = Check("Сохранять резервные копии", "ChBox_SaveBAK", save);
  ChBox_AutoSave = Check("Автосохранение", "ChBox_AutoSave", save);
  auto* timeRow = new QHBoxLayout;
  CBox_Time = Named(new QComboBox(save), "CBox_Time");
  CBox_Time->setEditable(true);
  // The seven intervals are a fixed list: a typed number never joins it, and is
  // never completed to an item ("2" must stay 2, not become "20").
  CBox_Time->setInsertPolicy(QComboBox::NoInsert);
  CBox_Time->setCompleter(nullptr);
  for (const std::string& item : AutoSaveItems()) CBox_Time->addItem(ToQString(item));
  timeRow->addWidget(new QLabel(QStringLiteral("Каждые "), save));
  timeRow->addWidget(CBox_Time);
  timeRow->addWidget(new QLabel(QStringLiteral("мин."), save));
  timeRow->addStretch(1);
  for (QWidget* w : std::initializer_list<QWidget*>{ChBox_OfferProperty, ChBox_SaveBAK, ChBox_AutoSave})
    saveLayout->addWidget(w);
  saveLayout->addLayout(timeRow);
  saveLayout->addStretch(1);
  PCtrl_Params->addTab(save, QStringLiteral("Сохранение"));

  // Расположение
  auto* dirs = Named(new QWidget, "TSheet_Dirs");
  auto* dirsLayout = new QGridLayout(dirs);
  CBox_WorkDir = DirBox("CBox_WorkDir", dirs);
  CBox_AutoLoadDir = DirBox("CBox_AutoLoadDir", dirs);
  CBoxLibraryDir = DirBox("CBoxLibraryDir", dirs);
  const std::array<std::pair<const char*, QComboBox*>, 3> dirRows{
      {{"Рабочий каталог: ", CBox_WorkDir}, {"Каталог автозагрузки:", CBox_AutoLoadDir},
       {"Каталог библиотек:", CBoxLibraryDir}}};
  int r = 0;
  for (const auto& [text, box] : dirRows) {
    dirsLayout->addWidget(new QLabel(QString::fromUtf8(text), dirs), r, 0);
    dirsLayout->addWidget(box, r, 1);
    dirsLayout->addWidget(new QPushButton(QStringLiteral("..."), dirs), r, 2);
    ++r;
  }
  dirsLayout->setRowStretch(r, 1);
  PCtrl_Params->addTab(dirs, QStringLiteral("Расположение"));

  // Печать
  CheckSheet(PCtrl_Params, "TSheet_Print", "Печать",
             {{"Черновик", "ChBox_Draft", &ChBox_Draft},
              {"Печать сведений о проекте", "ChBox_About", &ChBox_About},
              {"Печать имени пользователя", "ChBox_UserName", &ChBox_UserName},
              {"Печать примечаний", "ChBox_Remark", &ChBox_Remark},
              {"Печать полных данных задачи", "ChBox_TaskData", &ChBox_TaskData},
              {"Печать координатной сетки", "ChBox_PrintGrid", &ChBox_PrintGrid}});

  // Задача
  auto* task = Named(new QWidget, "TSheet_Task");
  auto* taskLayout = new QVBoxLayout(task);
  RadioGroup_Evulate = Named(new RadioGroup(QStringLiteral("Вид расчета"), task), "RadioGroup_Evulate");
  RadioGroup_Evulate->SetItems({QStringLiteral("Статический расчет"), QStringLiteral("Динамический расчет")});
  RG_LinearTask = Named(new RadioGroup(QStringLiteral(" Постановка задачи "), task), "RG_LinearTask");
  RG_LinearTask->SetItems({QStringLiteral("Физически и геометрически линейная постановка задачи"),
                           QStringLiteral("Физически линейная, геометрически нелинейная постановка"),
                           QStringLiteral("Физически нелинейная, геометрически линейная постановка"),
                           QStringLiteral("Физически и геометрически нелинейная постановка")});
  RG_TaskDim = Named(new RadioGroup(QStringLiteral("Размерность задачи"), task), "RG_TaskDim");
  RG_TaskDim->SetItems(
      {QStringLiteral("Трехмерная"), QStringLiteral("Двумерная"), QStringLiteral("Пластины (оболочки)")});
  taskLayout->addWidget(RadioGroup_Evulate);
  taskLayout->addWidget(RG_LinearTask);
  taskLayout->addWidget(RG_TaskDim);
  taskLayout->addStretch(1);
  PCtrl_Params->addTab(task, QStringLiteral("Задача"));

  PCtrl_Params->addTab(Named(new QWidget, "TSheet_Version"), QStringLiteral("Совместимость"));

  // Корректирование
  CheckSheet(PCtrl_Params, "TS_Clean", "Корректирование",
             {{"Удаление \"вырожденных\" элементов", "ChBox_Degenerate", &ChBox_Degenerate},
              {"Удаление надоженных элементов (узлов)", "ChBox_PutOn", &ChBox_PutOn},
              {"Удаление пересекающихся элементов", "ChBox_Crossing", &ChBox_Crossing},
              {"Удаление некооректных элементов", "ChBox_Uncorrect", &ChBox_Uncorrect},
              {"Отмечать некорректные элементы", "ChBox_MarkUncorrect", &ChBox_MarkUncorrect},
              {"Контроль корректности узлов", "ChBox_ControlKnots", &ChBox_ControlKnots},
              {"Контроль корректности  элементов", "ChBox_ControlElements", &ChBox_ControlElements},
              {"Предупреждать перед удалением", "ChBox_Notify", &ChBox_Notify}});

  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("ОК"), "Btn_OK"}, {QStringLiteral("Отменить"), "Btn_Cancel"}, {QStringLiteral("Помощь"), "Btn_Help"}});
  Btn_OK = closing[0];
  Btn_Cancel = closing[1];
  Btn_Help = closing[2];

  // Pop-up menus.
  PM_Params = Named(new QMenu(this), "PM_Params");
  connect(MenuItem(PM_Params, "По &умолчанию", "miDefaultSettings"), &QAction::triggered, this,
          &TParamForm::miDefaultSettingsClick);
  connect(MenuItem(PM_Params, "&Отметить все", "miMarkedAll"), &QAction::triggered, this,
          &TParamForm::miMarkedAllClick);
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { PM_Params->popup(mapToGlobal(p)); });
  const auto unitMenu = [this](QComboBox* box, const char* menuName, std::array<const char*, 3> names) {
    QMenu* menu = Named(new QMenu(this), menuName);
    connect(MenuItem(menu, "&Добавить", names[0]), &QAction::triggered, this, [this, box] { NewUnit(box); });
    connect(MenuItem(menu, "&Удалить", names[1]), &QAction::triggered, this, [this, box] { DeleteUnit(box); });
    connect(MenuItem(menu, "Удалить &все", names[2]), &QAction::triggered, this,
            [this, box] { DeleteAllUnits(box); });
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this,
            [menu, box](const QPoint& p) { menu->popup(box->mapToGlobal(p)); });
    return menu;
  };
  PM_ComboBoxSize = unitMenu(CBox_SizeUnits, "PM_ComboBoxSize", {"miNewUnit", "miDeleteUnit", "miDeleteAllUnits"});
  PM_ComboBoxForce =
      unitMenu(CBox_ForceUnits, "PM_ComboBoxForce", {"miNewForceUnit", "miDelForceUnit", "miDelAllForceUnits"});

  connect(Btn_OK, &QPushButton::clicked, this, &TParamForm::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ChBox_FileListNumber, &QCheckBox::toggled, this, [this](bool on) { FileNum_Edit->setEnabled(on); });
  connect(ChBox_FileListNumber, &QCheckBox::toggled, UpDown_FileNum, &QWidget::setEnabled);
  connect(ChBox_AutoSave, &QCheckBox::toggled, this, [this](bool on) {
    CBox_Time->setEnabled(on);
    if (on) CBox_Time->setCurrentIndex(0);
  });
  for (QWidget* w : std::initializer_list<QWidget*>{FileNum_Edit, CBox_Time, EditPrecision}) w->installEventFilter(this);
  Options.SetDefaults();
  Task.SetDefaults();
  // Every sheet's tab in sight.
  setMinimumWidth(PCtrl_Params->tabBar()->sizeHint().width() + 40);
}

std::vector<QCheckBox*> TParamForm::AllChecks() const {
  return {ChBox_Contur,     ChBox_Reduce,       ChBox_FileListNumber, ChBox_OfferProperty, ChBox_SaveBAK,
          ChBox_AutoSave,   ChBox_Draft,        ChBox_About,          ChBox_UserName,      ChBox_Remark,
          ChBox_TaskData,   ChBox_Degenerate,   ChBox_PutOn,          ChBox_Crossing,      ChBox_Uncorrect,
          ChBox_MarkUncorrect, ChBox_ControlKnots, ChBox_ControlElements, ChBox_Notify,     ChBox_PrintGrid};
}

void TParamForm::GetTaskParametrs() {
  EditUserName->setText(ToQString(Options.UserName));
  FileNum_Edit->setText(QString::number(Options.FileListNumber));
  ChBox_FileListNumber->setChecked(Options.FileListNumber != 0);
  if (Options.UserKind <= 2) RGroup_User->SetItemIndex(Options.UserKind);
  if (Options.GraphicsMode <= 2) RGroup_Mode->SetItemIndex(Options.GraphicsMode);
  {
    QSignalBlocker block(ChBox_AutoSave);
    SetCheck(ChBox_AutoSave, Options.AutoSave);
  }
  for (const auto& [box, flag] : FlagBoxes()) SetCheck(box, Options.*flag);
  CBox_Time->setEditText(QString::number(Options.AutoSaveInterval));
  CBox_WorkDir->setEditText(ToQString(Options.WorkDir));
  CBox_AutoLoadDir->setEditText(ToQString(Options.AutoLoadDir));
  CBoxLibraryDir->setEditText(ToQString(Options.LibraryDir));
  if (const int i = EvulKindItem(Task.EvulKind); i >= 0) RadioGroup_Evulate->SetItemIndex(i);
  if (const int i = StatementItem(Task.Statement); i >= 0) RG_LinearTask->SetItemIndex(i);
  if (const int i = DimensionItem(Task.Dimension); i >= 0) RG_TaskDim->SetItemIndex(i);
  EditPrecision->setText(ToQString(FormatGeneral(Task.Precision)));
  for (const bool force : {true, false}) {
    QComboBox* box = force ? CBox_ForceUnits : CBox_SizeUnits;
    box->clear();
    const std::vector<std::string> list = UnitList(Options, force);
    for (const std::string& name : list) box->addItem(ToQString(name));
    box->setCurrentIndex(UnitSelection(list, force ? Options.GetForceUnit() : Options.GetLengthUnit()));
  }
  CBox_Time->setEnabled(ChBox_AutoSave->isChecked());
  FileNum_Edit->setEnabled(ChBox_FileListNumber->isChecked());
  UpDown_FileNum->setEnabled(ChBox_FileListNumber->isChecked());
}

std::vector<std::pair<QCheckBox*, std::uint8_t TBCDataEditor::*>> TParamForm::FlagBoxes() const {
  return {{ChBox_Reduce, &TBCDataEditor::ConfirmReduce},      {ChBox_Contur, &TBCDataEditor::Contur},
          {ChBox_OfferProperty, &TBCDataEditor::OfferProperty}, {ChBox_SaveBAK, &TBCDataEditor::SaveBAK},
          {ChBox_Draft, &TBCDataEditor::Draft},                 {ChBox_About, &TBCDataEditor::PrintAbout},
          {ChBox_UserName, &TBCDataEditor::PrintUserName},      {ChBox_Remark, &TBCDataEditor::PrintRemark},
          {ChBox_TaskData, &TBCDataEditor::PrintTaskData},      {ChBox_PrintGrid, &TBCDataEditor::PrintGrid},
          {ChBox_Degenerate, &TBCDataEditor::DeleteDegenerate}, {ChBox_PutOn, &TBCDataEditor::DeletePutOn},
          {ChBox_Crossing, &TBCDataEditor::DeleteCrossing},     {ChBox_Uncorrect, &TBCDataEditor::DeleteUncorrect},
          {ChBox_MarkUncorrect, &TBCDataEditor::MarkUncorrect}, {ChBox_ControlKnots, &TBCDataEditor::ControlKnots},
          {ChBox_ControlElements, &TBCDataEditor::ControlElements}, {ChBox_Notify, &TBCDataEditor::Notify}};
}

bool TParamForm::ReadFileListNumber(std::int32_t& value) {
  const std::optional<std::int32_t> v = tavir::ReadFileListNumber(FileNum_Edit->text().toStdString());
  value = v.value_or(0);
  if (v) return true;
  QApplication::beep();
  PCtrl_Params->setCurrentWidget(TSheet_Common);
  FileNum_Edit->setFocus();
  return false;
}

bool TParamForm::ReadAutoSaveInterval(std::int32_t& value) {
  const AutoSaveReading r = tavir::ReadAutoSaveInterval(CBox_Time->currentText().toStdString());
  value = r.Minutes;
  if (r.Item >= 0) CBox_Time->setCurrentIndex(r.Item);
  if (r.Converted) return true;
  QApplication::beep();
  CBox_Time->setFocus();
  return false;
}

bool TParamForm::ReadPrecision(Extended& value) {
  const PrecisionReading r = tavir::ReadPrecision(EditPrecision->text().toStdString());
  value = r.Value;
  if (r.Verdict == PrecisionVerdict::Refused) {
    if (r.Message) messages_.Error(*r.Message);
    else QApplication::beep();
    PCtrl_Params->setCurrentWidget(TSheet_Common);
    EditPrecision->setFocus();
    return false;
  }
  // A precision the user has already confirmed is not asked about again (leaving
  // the box for OK would otherwise ask twice).
  if (r.Verdict == PrecisionVerdict::Ask && EditPrecision->text() != confirmedPrecision_) {
    if (messages_.Show(MsgKind::Question, kPrecisionQuestionCaption, kPrecisionQuestion, MsgButtons::OkCancel) ==
        MsgResult::Ok) {
      confirmedPrecision_ = EditPrecision->text();
    } else {
      value = kPrecisionFallback;
      EditPrecision->setText(QString::fromLatin1(kPrecisionFallbackText));
    }
  }
  return true;
}

std::vector<std::string> TParamForm::Units(const QComboBox* box) const {
  std::vector<std::string> list;
  for (int i = 0; i < box->count(); ++i) list.push_back(box->itemText(i).toStdString());
  return list;
}

bool TParamForm::SetTaskParametrs() {
  SettingsReadings pass;
  Options.SetUserName(EditUserName->text().toStdString());
  std::int32_t fileList = 0;
  pass.FileListFailed = !ReadFileListNumber(fileList);
  Options.SetFileListNumber(StoredFileListNumber(ChBox_FileListNumber->isChecked()));
  if (RGroup_User->ItemIndex() >= 0) Options.SetUserKind(static_cast<std::uint8_t>(RGroup_User->ItemIndex()));
  if (RGroup_Mode->ItemIndex() >= 0) Options.SetGraphicsMode(static_cast<std::uint8_t>(RGroup_Mode->ItemIndex()));
  Options.SetAutoSave(Flag(ChBox_AutoSave));
  for (const auto& [box, flag] : FlagBoxes()) Options.*flag = Flag(box);
  std::int32_t minutes = kAutoSaveMin;
  pass.AutoSaveFailed = !ReadAutoSaveInterval(minutes);
  Options.SetAutoSaveInterval(minutes);
  Options.SetWorkDir(CBox_WorkDir->currentText().toStdString());
  Options.SetAutoLoadDir(CBox_AutoLoadDir->currentText().toStdString());
  Options.SetLibraryDir(CBoxLibraryDir->currentText().toStdString());
  StoreUnitList(Options, false, Units(CBox_SizeUnits), CBox_SizeUnits->currentIndex());
  StoreUnitList(Options, true, Units(CBox_ForceUnits), CBox_ForceUnits->currentIndex());
  if (const auto k = EvulKindOfItem(RadioGroup_Evulate->ItemIndex())) Task.SetEvulKind(*k);
  if (const auto s = StatementOfItem(RG_LinearTask->ItemIndex())) Task.SetStatement(*s);
  if (const auto d = DimensionOfItem(RG_TaskDim->ItemIndex())) Task.SetDimension(*d);
  Extended precision = kPrecisionFallback;
  pass.PrecisionFailed = !ReadPrecision(precision);
  if (!pass.PrecisionFailed) Task.SetPrecision(precision);
  // The focus goes to the first box whose reading failed.
  if (pass.FileListFailed) {
    PCtrl_Params->setCurrentWidget(TSheet_Common);
    FileNum_Edit->setFocus();
  } else if (pass.AutoSaveFailed) {
    PCtrl_Params->setCurrentIndex(2);
    CBox_Time->setFocus();
  }
  return pass.Valid();
}

void TParamForm::accept() {
  if (!SetTaskParametrs()) return;
  QDialog::accept();
}

bool TParamForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && isVisible() && Leaving(static_cast<QFocusEvent*>(event), Btn_Cancel)) {
    if (watched == FileNum_Edit) {
      std::int32_t v = 0;
      ReadFileListNumber(v);
    } else if (watched == CBox_Time) {
      std::int32_t v = 0;
      ReadAutoSaveInterval(v);
    } else if (watched == EditPrecision) {
      Extended v = 0;
      ReadPrecision(v);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TParamForm::miDefaultSettingsClick() {
  Options.SetDefaults();
  Task.SetDefaults();
  GetTaskParametrs();
}

void TParamForm::miMarkedAllClick() {
  for (QCheckBox* box : AllChecks()) box->setChecked(true);
}

void TParamForm::NewUnit(QComboBox* box) {
  const std::optional<QString> text = AskString(QString::fromUtf8(kNewUnitCaption), this);
  if (!text) return;
  const std::optional<std::string> name = NewUnitName(text->toStdString());
  if (!name) return;
  box->addItem(ToQString(*name));
  box->setCurrentIndex(box->count() - 1);
}

void TParamForm::DeleteUnit(QComboBox* box) {
  if (box->count() == 0 || box->currentIndex() < 0) return;
  box->removeItem(box->currentIndex());
  box->setCurrentIndex(box->count() > 0 ? 0 : -1);
}

void TParamForm::DeleteAllUnits(QComboBox* box) { box->clear(); }

std::optional<SettingsAnswer> RunSettingsDialog(const TBCDataEditor& options, const TBCTask& task,
                                                MessageService& messages, QWidget* parent) {
  TParamForm form(messages, parent);
  form.Options.Assign(options);
  form.Task.Assign(task);
  form.GetTaskParametrs();
  if (DialogRunner::Run(form) != QDialog::Accepted) return std::nullopt;
  SettingsAnswer a;
  a.Options.Assign(form.Options);
  a.Task.Assign(form.Task);
  return a;
}

}  // namespace tavir
