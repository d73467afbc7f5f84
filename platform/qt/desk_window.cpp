#include "platform/qt/desk_window.h"

#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/qt/window_place.h"

namespace tavir {

DeskWindow::DeskWindow(const DeskWindowLayout& layout, const ImageProvider* images, QWidget* parent)
    : QMainWindow(parent, Qt::Window) {
  setObjectName(layout.Name);
  setWindowTitle(layout.Caption);
  if (!layout.MinimumSize.isEmpty()) setMinimumSize(layout.MinimumSize);
  resize(layout.Size);
  CentreOnScreen(*this);
  // Once framed, whole on the screen and clear of the strip.
  FramePlacement::Place(*this, [this](QWidget& window, const QMargins& frame, const QRect& area) {
    KeepFrameInside(window, frame, area);
    KeepClearOfMainForm();
  });
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(layout.ScrollName);
  scroll_->setWidgetResizable(false);
  paintBox_ = new DeskPictureBox(*this, layout.PictureName);
  scroll_->setWidget(paintBox_);
  setCentralWidget(scroll_);
  picture_ = std::make_unique<DeskPicture>(*scroll_, *paintBox_, images, layout.BuiltIn);
  status_ = new QStatusBar(this);
  status_->setObjectName(layout.StatusName);
  status_->setSizeGripEnabled(false);
  for (const int width : layout.PanelWidths) {
    auto* panel = new QLabel(status_);
    panel->setObjectName(QString("%1_Panel%2").arg(layout.StatusName).arg(panels_.size()));
    panel->setFixedWidth(width);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    status_->addWidget(panel);
    panels_.push_back(panel);
  }
  setStatusBar(status_);
}

DeskWindow::~DeskWindow() = default;

QWidget* DeskWindow::PaintBox() const { return paintBox_; }

QImage DeskWindow::Picture() const { return picture_->Image(); }

void DeskWindow::SetPictureCursor(const QCursor& cursor) { paintBox_->setCursor(cursor); }

void DeskWindow::SetStatusText(int panel, const QString& text) {
  if (panel >= 0 && panel < static_cast<int>(panels_.size())) panels_[static_cast<std::size_t>(panel)]->setText(text);
}

QString DeskWindow::StatusText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(panels_.size())) return {};
  return panels_[static_cast<std::size_t>(panel)]->text();
}

void DeskWindow::SetPictureSize(int width, int height) {
  const QSize size(std::max(1, width), std::max(1, height));
  if (paintBox_->size() != size) paintBox_->resize(size);
  picture_->SetStale();
}

void DeskWindow::RepaintInto() {
  ++drawings_;
  picture_->Fit();
  picture_->SetFresh();
  DrawPicture(picture_->Canvas());
}

void DeskWindow::Repaint() {
  if (detached_) return;
  RepaintMessage();
  paintBox_->update();
}

void DeskWindow::AfterEvent(std::function<void()> action) {
  // With the window as its context: dropped when the window goes first.
  QTimer::singleShot(0, this, std::move(action));
}

void DeskWindow::PicturePaint(const QRect& area) {
  if (!detached_ && !picture_->Current()) RepaintStale();
  QPainter painter(paintBox_);
  picture_->Paint(painter, area);
}

Canvas& DeskWindow::PictureCanvas() {
  // A drawing goes into the picture as it stands; a stale picture is made current
  // first, so the drawing is not lost to the next paint.
  if (!detached_ && !picture_->Current()) RepaintInto();
  paintBox_->update();
  return picture_->Canvas();
}

DeskScroll DeskWindow::Scroll() const { return picture_->Scroll(); }

void DeskWindow::SetScroll(int h, int v) { picture_->SetScroll(h, v); }

void DeskWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  picture_->SetStale();
  KeepClearOfMainForm();
}

void DeskWindow::SetMainForm(QWidget* main) {
  if (mainForm_) mainForm_->removeEventFilter(this);
  mainForm_ = main;
  if (mainForm_) mainForm_->installEventFilter(this);
}

bool DeskWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mainForm_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move) && isVisible())
    KeepClearOfMainForm();
  return QMainWindow::eventFilter(watched, event);
}

void DeskWindow::KeepClearOfMainForm() {
  if (detached_ || !mainForm_ || !mainForm_->isVisible()) return;
  // The desk keeps clear of the main window's strip of tool bars, frame and all:
  // it moves below and gives up what lay under the strip, 100 pixels high at the
  // least (and never below its minimum size). A window's position is its frame's.
  const int mainBottom = mainForm_->frameGeometry().bottom() + 1;
  if (y() < mainBottom) {
    const int newHeight = std::max(100, height() - (mainBottom - y()));
    move(x(), mainBottom);
    resize(width(), newHeight);
  }
}

}  // namespace tavir
