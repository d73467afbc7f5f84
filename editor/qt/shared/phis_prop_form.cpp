#include "editor/qt/shared/phis_prop_form.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPalette>
#include <QVBoxLayout>

#include "editor/material_dialogs.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QWidget* buddy = nullptr) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

TFloatEdit* MakeFloatEdit(QWidget* parent, const char* name) {
  auto* edit = new TFloatEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMinimumWidth(110);
  return edit;
}

// The Greek symbol after a constant's caption, larger than the caption.
QLabel* SymbolLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::RichText);
  QFont f = label->font();
  f.setPixelSize(17);
  label->setFont(f);
  return label;
}

// A page of the tab control with a grid for its rows.
QGridLayout* AddPage(QTabWidget* pages, const char* name, const QString& caption) {
  auto* page = new QWidget(pages);
  page->setObjectName(QString::fromLatin1(name));
  pages->addTab(page, caption);
  return new QGridLayout(page);
}

}  // namespace

TPhisPropForm::TPhisPropForm(MessageService& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName(QStringLiteral("PhisPropForm"));
  setWindowTitle(QStringLiteral("Физические свойства"));

  auto* top = new QVBoxLayout(this);

  LblEdit_Title = new QLineEdit(this);
  LblEdit_Title->setObjectName(QStringLiteral("LblEdit_Title"));
  QLabel* title = MakeLabel(this, "LblEdit_Title_Label", QStringLiteral("На&звание материала"), LblEdit_Title);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  top->addWidget(title);
  top->addWidget(LblEdit_Title);

  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  top->addWidget(PageControl);

  // Page "Свойства": the linear constants.
  QGridLayout* lg = AddPage(PageControl, "TabSheet_Linear", QStringLiteral("С&войства"));
  QWidget* linear = lg->parentWidget();
  FloatEdit_E = MakeFloatEdit(linear, "FloatEdit_E");
  FloatEdit_mu = MakeFloatEdit(linear, "FloatEdit_mu");
  FloatEdit_ro = MakeFloatEdit(linear, "FloatEdit_ro");
  FloatEdit_fi = MakeFloatEdit(linear, "FloatEdit_fi");
  struct Row {
    const char* label;
    QString text;
    const char* symbolName;
    QString symbol;
    TFloatEdit* edit;
  };
  const Row rows[] = {
      {"Lbl_modulE", QStringLiteral("Модуль &упругости"), "Lbl_SymE", QStringLiteral("(Ε)"), FloatEdit_E},
      {"Lbl_mu", QStringLiteral("Коэффициент Пуа&ссона"), "Lbl_SymMu", QStringLiteral("(μ)"), FloatEdit_mu},
      {"Lbl_ro", QStringLiteral("Плотность &материала"), "Lbl_SymRo", QStringLiteral("(ρ)"), FloatEdit_ro},
      {"Lbl_fi", QStringLiteral("Угол &армирования (градусы)"), "Lbl_SymFi", QStringLiteral("(φ)"), FloatEdit_fi},
  };
  int r = 0;
  for (const Row& row : rows) {
    lg->addWidget(MakeLabel(linear, row.label, row.text, row.edit), r, 0);
    lg->addWidget(SymbolLabel(linear, row.symbolName, row.symbol), r, 1);
    lg->addWidget(row.edit, r, 2);
    ++r;
  }
  lg->setRowStretch(r, 1);

  // Page "Дополнительно": yield limit and deformation diagram.
  QGridLayout* ng = AddPage(PageControl, "TabSheet_NonLinear", QStringLiteral("До&полнительно"));
  QWidget* nonlinear = ng->parentWidget();
  FloatEdit_EpsT = MakeFloatEdit(nonlinear, "FloatEdit_EpsT");
  ng->addWidget(MakeLabel(nonlinear, "Lbl_EpsilonT", QStringLiteral("Предел &текучести"), FloatEdit_EpsT), 0, 0);
  ng->addWidget(SymbolLabel(nonlinear, "Lbl_SymEpsT", QStringLiteral("(ε<sub>T</sub>)")), 0, 1);
  ng->addWidget(FloatEdit_EpsT, 0, 2);
  CmbBox_Diagramma = new QComboBox(nonlinear);
  CmbBox_Diagramma->setObjectName(QStringLiteral("CmbBox_Diagramma"));
  CmbBox_Diagramma->addItems({QStringLiteral("Билинейная"), QStringLiteral("Степенная")});
  CmbBox_Diagramma->setCurrentIndex(0);
  ng->addWidget(MakeLabel(nonlinear, "Lbl_Diagramma", QStringLiteral("Диаграмма д&еформирования"), CmbBox_Diagramma),
                1, 0, 1, 2);
  ng->addWidget(CmbBox_Diagramma, 1, 2);
  Memo_Diagramma = new QPlainTextEdit(nonlinear);
  Memo_Diagramma->setObjectName(QStringLiteral("Memo_Diagramma"));
  Memo_Diagramma->setReadOnly(true);
  Memo_Diagramma->setFixedHeight(56);
  QPalette face = Memo_Diagramma->palette();
  face.setColor(QPalette::Base, face.color(QPalette::Button));
  Memo_Diagramma->setPalette(face);
  ng->addWidget(Memo_Diagramma, 2, 0, 1, 3);
  auto* tools = new QHBoxLayout;
  ToolBtn_DiagData = new QToolButton(nonlinear);
  ToolBtn_DiagData->setObjectName(QStringLiteral("ToolBtn_DiagData"));
  ToolBtn_DiagData->setText(QStringLiteral(" Характеристики д&иаграммы "));
  ToolBtn_NewDiag = new QToolButton(nonlinear);
  ToolBtn_NewDiag->setObjectName(QStringLiteral("ToolBtn_NewDiag"));
  ToolBtn_NewDiag->setText(QStringLiteral("Нова&я диаграмма"));
  ToolBtn_NewDiag->setEnabled(false);
  tools->addWidget(ToolBtn_DiagData);
  tools->addWidget(ToolBtn_NewDiag);
  tools->addStretch(1);
  ng->addLayout(tools, 3, 0, 1, 3);
  ng->setRowStretch(4, 1);

  // Page "Адаптация": the limit resistance.
  QGridLayout* ag = AddPage(PageControl, "TabSheet_Adaptation", QStringLiteral("Адаптация"));
  QWidget* adaptation = ag->parentWidget();
  FloatEdit_R = MakeFloatEdit(adaptation, "FloatEdit_R");
  ag->addWidget(MakeLabel(adaptation, "Lbl_Rdop", QStringLiteral("Предельное сопротивление:"), FloatEdit_R), 0, 0);
  ag->addWidget(FloatEdit_R, 0, 1);
  ag->setRowStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  Btn_OK = new QPushButton(QStringLiteral("&ОК"), this);
  Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
  Btn_OK->setDefault(true);
  Btn_Cancel = new QPushButton(QStringLiteral("От&менить"), this);
  Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
  buttons->addWidget(Btn_OK);
  buttons->addWidget(Btn_Cancel);
  top->addLayout(buttons);
  connect(Btn_OK, &QPushButton::clicked, this, &TPhisPropForm::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TPhisPropForm::reject);

  GetProperties();
}

void TPhisPropForm::GetProperties() {
  FloatEdit_E->SetValue(Material.E);
  FloatEdit_mu->SetValue(Material.mu);
  FloatEdit_ro->SetValue(Material.ro);
  FloatEdit_R->SetValue(Material.R);
  FloatEdit_fi->SetValue(Material.Fi);
  FloatEdit_EpsT->SetValue(Material.EpsT);
  ShowDiagram();
  if (Material.Diagramma <= 1) CmbBox_Diagramma->setCurrentIndex(Material.Diagramma);
}

void TPhisPropForm::ShowDiagram() {
  Memo_Diagramma->clear();
  for (const std::string& line : DiagramLines(Material)) Memo_Diagramma->appendPlainText(ToQString(line));
}

void TPhisPropForm::SetProperties() {
  Material.SetE(FloatEdit_E->Value());
  Material.SetMu(FloatEdit_mu->Value());
  Material.SetRo(FloatEdit_ro->Value());
  Material.SetR(FloatEdit_R->Value());
  Material.SetFi(FloatEdit_fi->Value());
  Material.SetEpsT(FloatEdit_EpsT->Value());
  const int kind = CmbBox_Diagramma->currentIndex();
  if (kind == 0 || kind == 1) Material.SetDiagramma(static_cast<std::uint8_t>(kind));
}

void TPhisPropForm::accept() {
  // A number typed and confirmed with Enter has not left its box yet: its exit
  // processing runs first, so the value stored is the one the box then shows.
  TFloatEdit::CommitFocused(this);
  SetProperties();
  const std::string name = ToUtf8(Name());
  if (const std::optional<std::string> refusal = MaterialNameRefusal(name)) {
    if (name.empty()) {
      messages_.Show(MsgKind::Plain, "", *refusal, MsgButtons::Ok);
    } else {
      messages_.Error(*refusal);
    }
    LblEdit_Title->setFocus();
    return;
  }
  QDialog::accept();
}

}  // namespace tavir
