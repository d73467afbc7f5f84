#include "viewer/qt/status_form.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/qt/progress_bar.h"
#include "platform/numtext.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

namespace {

const char* const kStageTexts[TStatusForm::kRows] = {
    "Текущий процесс",
    "Формирование матрицы жесткости",
    "Формирование вектора нагрузки",
    "Решение системы уравнений",
    "Вычисление потенциальной энергии",
    "Вычисление напряжений",
    "",
    "Итерация:",
    "Время итерации:",
    "Время расчета:",
    "На текущей итерации:",
    "На предыдущей итерации:",
};

// The fixed row and column: cream, $00BBGGRR.
constexpr RgbColor kCream = 0xF0FBFF;

QTableWidget* MakeGrid(QWidget* parent, const char* name, int rows, int columns) {
  auto* g = new QTableWidget(rows, columns, parent);
  g->setObjectName(name);
  g->horizontalHeader()->hide();
  g->verticalHeader()->hide();
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setFocusPolicy(Qt::NoFocus);
  g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) g->setItem(r, c, new QTableWidgetItem());
  return g;
}

}  // namespace

TStatusForm::TStatusForm(std::function<void()> onBreak, QWidget* parent)
    : QWidget(parent, Qt::Window), onBreak_(std::move(onBreak)) {
  setObjectName("StatusForm");
  setWindowTitle("Выполнение расчета");
  resize(480, 400);

  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageCtrl_Main");
  auto* processPage = new QWidget;
  processPage->setObjectName("TabSheet_Processes");
  auto* infoPage = new QWidget;
  infoPage->setObjectName("TabSheet_Info");
  pages_->addTab(processPage, "Ход решения");
  pages_->addTab(infoPage, "Информация");

  process_ = MakeGrid(processPage, "StrGrid_Process", kRows, kColumns);
  process_->setSelectionBehavior(QAbstractItemView::SelectItems);
  process_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  // The fixed row and column, cream as in the layout.
  for (int c = 0; c < kColumns; ++c) process_->item(0, c)->setBackground(ToQColor(kCream));
  for (int r = 0; r < kRows; ++r) process_->item(r, 0)->setBackground(ToQColor(kCream));
  auto* pl = new QVBoxLayout(processPage);
  pl->setContentsMargins(0, 0, 0, 0);
  pl->addWidget(process_);

  info_ = MakeGrid(infoPage, "StringGrid_Info", kRows, 2);
  info_->verticalHeader()->setDefaultSectionSize(24);
  auto* il = new QVBoxLayout(infoPage);
  il->setContentsMargins(0, 0, 0, 0);
  il->addWidget(info_);

  bar_ = new ProgressBar(this);
  bar_->setObjectName("PrgBar_Main");
  bar_->SetRange(0, 100);
  bar_->SetPosition(0);
  bar_->setTextVisible(false);

  auto* panel = new QWidget(this);
  panel->setObjectName("PanelBtn");
  processLabel_ = new QLabel(panel);
  processLabel_->setObjectName("Lbl_Process");
  breakButton_ = new QPushButton("Прервать", panel);
  breakButton_->setObjectName("Btn_Breake");
  auto* bl = new QHBoxLayout(panel);
  bl->addWidget(processLabel_, 1);
  bl->addWidget(breakButton_);
  connect(breakButton_, &QPushButton::clicked, this, [this] { Btn_BreakeClick(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_, 1);
  layout->addWidget(bar_);
  layout->addWidget(panel);
  FitGrids();
}

TStatusForm::TextRoom TStatusForm::NeededRoom() const {
  // A cell shows its text in full when the text fits between the item view's
  // text margins; the cell's width includes one grid line.
  const int line = process_->showGrid() ? 1 : 0;
  const int margin = process_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, process_) + 1;
  const QFontMetricsF fm(process_->font());
  auto widest = [&](const QStringList& texts) {
    qreal w = 0;
    for (const QString& t : texts) w = std::max(w, fm.horizontalAdvance(t));
    // The text is laid out in fractions of a pixel: a pixel to spare on each side.
    return static_cast<int>(std::ceil(w)) + 2 * (margin + 1) + line;
  };
  QStringList stages;
  for (const char* t : kStageTexts) stages << QString::fromUtf8(t);
  // The widest texts of the value columns: the general number format (15 digits)
  // at its longest in fixed and in scientific form, and the energy's exponent form.
  const QStringList values = {QString::fromStdString(FormatGeneral(-0.0000123456789012345L)),
                              QString::fromStdString(FormatGeneral(-1.23456789012345E-4931L)),
                              QString::fromStdString(FormatExponent(-1.234567E-4931L, 7, 0)),
                              "Время", "Выполнение"};
  return TextRoom{widest(stages), widest(values), static_cast<int>(std::ceil(fm.height())) + line};
}

void TStatusForm::FitGrids() {
  // Columns 1 and 2 a fifth of the width each, column 0 three times that; rows share
  // the height (integer divisions, one grid line subtracted). Where that leaves
  // the numbers too little room, columns 1 and 2 get what their widest text needs
  // and column 0 the rest (no less than its own texts need).
  const int line = process_->showGrid() ? 1 : 0;
  const int w = process_->viewport()->width();
  const int h = process_->viewport()->height();
  const TextRoom need = NeededRoom();
  int c1 = std::max(1, w / 5 - line);
  int c0 = std::max(1, 3 * c1 - line);
  if (c1 < need.Value) {
    c1 = need.Value;
    c0 = std::max(need.Stage, w - 2 * c1);
  }
  process_->setColumnWidth(1, c1);
  process_->setColumnWidth(2, c1);
  process_->setColumnWidth(0, c0);
  process_->verticalHeader()->setDefaultSectionSize(std::max(1, h / kRows - line));
  const int iw = info_->viewport()->width();
  info_->setColumnWidth(0, std::max(1, iw / 2 - line));
  info_->setColumnWidth(1, std::max(1, iw / 2 - line));
}

void TStatusForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitGrids();
}

void TStatusForm::showEvent(QShowEvent* event) {
  for (int r = 0; r < kRows; ++r) process_->item(r, 0)->setText(QString::fromUtf8(kStageTexts[r]));
  process_->item(0, 1)->setText("Время");
  process_->item(0, 2)->setText("Выполнение");
  // The window opens large enough for every text it will write (the layout's size
  // cuts the numbers of the adaptation short).
  const TextRoom need = NeededRoom();
  const int wider = need.Stage + 2 * need.Value - process_->viewport()->width();
  const int line = process_->showGrid() ? 1 : 0;
  const int taller = kRows * (need.Row + line) - process_->viewport()->height();
  if (wider > 0 || taller > 0) resize(width() + std::max(0, wider), height() + std::max(0, taller));
  FitGrids();
  Highlight();
  QWidget::showEvent(event);
}

void TStatusForm::FirstStage() { SelectStage(1); }

void TStatusForm::NextStage() { SelectStage(currentStage_ >= 11 ? 1 : currentStage_ + 1); }

void TStatusForm::SelectStage(int row) {
  currentStage_ = row;
  Highlight();
}

void TStatusForm::Highlight() {
  process_->clearSelection();
  if (currentStage_ < 1 || currentStage_ >= kRows) return;
  process_->setRangeSelected(QTableWidgetSelectionRange(currentStage_, 1, currentStage_, 2), true);
}

void TStatusForm::SetCell(int col, int row, const QString& text) {
  if (col < 0 || col >= kColumns || row < 0 || row >= kRows) return;
  process_->item(row, col)->setText(text);
}

QString TStatusForm::Cell(int col, int row) const {
  if (col < 0 || col >= kColumns || row < 0 || row >= kRows) return {};
  return process_->item(row, col)->text();
}

void TStatusForm::SetBar(long long position, long long maximum) {
  // The bar counts in ints: large counts are scaled down to a per-mille range.
  if (maximum <= 0) {
    bar_->SetRange(0, 1);
    bar_->SetPosition(0);
    return;
  }
  const long long p = std::clamp(position, 0LL, maximum);
  if (maximum <= 1000000) {
    bar_->SetRange(0, static_cast<int>(maximum));
    bar_->SetPosition(static_cast<int>(p));
  } else {
    bar_->SetRange(0, 1000);
    bar_->SetPosition(static_cast<int>(p * 1000 / maximum));
  }
}

void TStatusForm::SetProcessText(const QString& text) { processLabel_->setText(text); }

void TStatusForm::Btn_BreakeClick() {
  if (onBreak_) onBreak_();
}

void TStatusForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    Btn_BreakeClick();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TStatusForm::closeEvent(QCloseEvent* event) {
  // The window belongs to the running computation: closing it is a Break.
  Btn_BreakeClick();
  event->ignore();
}

}  // namespace tavir
