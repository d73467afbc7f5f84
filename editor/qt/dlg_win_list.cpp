#include "editor/qt/dlg_win_list.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editor/qt/form_parts.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

namespace {

constexpr std::array<const char*, 6> kBounds{"Xmin", "Xmax", "Ymin", "Ymax", "Zmin", "Zmax"};

}  // namespace

TWinListDlg::TWinListDlg(std::vector<WindowBox> windows, QWidget* parent)
    : QDialog(parent), windows_(std::move(windows)) {
  setObjectName(QStringLiteral("WinListDlg"));
  setWindowTitle(QStringLiteral("Список окон"));
  auto* top = new QVBoxLayout(this);
  WorkPanel = new QWidget(this);
  WorkPanel->setObjectName(QStringLiteral("WorkPanel"));
  auto* work = new QHBoxLayout(WorkPanel);
  work->setContentsMargins(0, 0, 0, 0);
  Splitter = new QSplitter(Qt::Horizontal, WorkPanel);
  Splitter->setObjectName(QStringLiteral("Splitter"));
  // Neither side may collapse to nothing: each keeps more than the minimum size.
  Splitter->setChildrenCollapsible(false);
  WinListBox = new QListWidget(Splitter);
  WinListBox->setObjectName(QStringLiteral("WinListBox"));
  WinListBox->setMinimumWidth(SplitterSize(0) / 2);
  ViewScrollBox = new QScrollArea(Splitter);
  ViewScrollBox->setObjectName(QStringLiteral("ViewScrollBox"));
  ViewScrollBox->setMinimumWidth(SplitterSize(0));
  auto* view = new QWidget;
  auto* grid = new QGridLayout(view);
  for (std::size_t i = 0; i < 6; ++i) {
    auto* caption = new QLabel(QString::fromLatin1(kBounds[i]) + QLatin1Char('='), view);
    caption->setObjectName(QStringLiteral("Lbl_") + QString::fromLatin1(kBounds[i]));
    Lbl_Win[i] = new QLabel(view);
    Lbl_Win[i]->setObjectName(QStringLiteral("Lbl_Win") + QString::fromLatin1(kBounds[i]));
    grid->addWidget(caption, static_cast<int>(i), 0);
    grid->addWidget(Lbl_Win[i], static_cast<int>(i), 1);
  }
  grid->setRowStretch(6, 1);
  ViewScrollBox->setWidget(view);
  ViewScrollBox->setWidgetResizable(true);
  Splitter->addWidget(WinListBox);
  Splitter->addWidget(ViewScrollBox);
  work->addWidget(Splitter);
  top->addWidget(WorkPanel, 1);

  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::HLine);
  bevel->setFrameShadow(QFrame::Sunken);
  top->addWidget(bevel);
  const std::vector<QPushButton*> closing = AddButtonRow(top, this, {{QStringLiteral("OK"), "OKBtn"}, {QStringLiteral("Cancel"), "CancelBtn"}, {QStringLiteral("&Help"), "HelpBtn"}});
  OKBtn = closing[0];
  CancelBtn = closing[1];
  HelpBtn = closing[2];

  for (int i = 0; i < static_cast<int>(windows_.size()); ++i) WinListBox->addItem(ToQString(WindowListLine(i)));
  if (!windows_.empty()) {
    WinListBox->setCurrentRow(0);
    ShowWindowBounds();
  }
  connect(WinListBox, &QListWidget::currentRowChanged, this, [this](int) { ShowWindowBounds(); });
  connect(WinListBox, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { accept(); });
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  resize(460, 260);
  Splitter->setSizes({170, 270});
}

void TWinListDlg::ShowWindowBounds() {
  const std::optional<int> i = Selected();
  if (!i) return;
  const std::array<std::string, 6> texts = WindowBoundTexts(windows_[static_cast<std::size_t>(*i)]);
  for (std::size_t k = 0; k < 6; ++k) Lbl_Win[k]->setText(ToQString(texts[k]));
}

std::optional<int> TWinListDlg::Selected() const {
  const int row = WinListBox->currentRow();
  if (row < 0 || row >= static_cast<int>(windows_.size())) return std::nullopt;
  return row;
}

std::optional<int> RunWinListDialog(std::vector<WindowBox> windows, QWidget* parent) {
  TWinListDlg dlg(std::move(windows), parent);
  if (DialogRunner::Run(dlg) != QDialog::Accepted) return std::nullopt;
  return dlg.Selected();
}

}  // namespace tavir
