#include "platform/qt/window_place.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace tavir {

namespace {

void SizeIfUnsized(QWidget& window) {
  if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
}

// The top-left corner that puts a rectangle of this size inside the area; the
// top edge wins over the bottom one when the window is taller than the area.
QPoint InsideArea(QPoint topLeft, QSize size, const QRect& area) {
  const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width()));
  const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height()));
  return {x, y};
}

QPoint CentredIn(const QRect& area, QSize size) {
  return {area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2};
}

}  // namespace

QRect WorkArea(const QWidget& window) {
  const QWidget* owner = window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr;
  const QScreen* screen = owner != nullptr ? owner->screen() : window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

void CentreOnScreen(QWidget& window) {
  SizeIfUnsized(window);
  const QRect area = WorkArea(window);
  if (area.isEmpty()) return;
  window.move(InsideArea(CentredIn(area, window.frameGeometry().size()), window.frameGeometry().size(), area));
  FramePlacement::Place(window, KeepFrameInside);
}

void PlaceOnOpening(QWidget& window) {
  const QRect area = WorkArea(window);
  if (area.isEmpty()) return;
  SizeIfUnsized(window);
  const QSize size = window.frameGeometry().size();
  QPoint topLeft = window.pos();
  if (!window.testAttribute(Qt::WA_Moved)) {
    const QWidget* owner = window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr;
    const bool overOwner = qobject_cast<const QDialog*>(owner) != nullptr && owner->isVisible();
    topLeft = CentredIn(overOwner ? owner->frameGeometry() : area, size);
  }
  const QPoint inside = InsideArea(topLeft, size, area);
  if (inside != window.pos() || !window.testAttribute(Qt::WA_Moved)) window.move(inside);
  FramePlacement::Place(window, KeepFrameInside);
}

void FitTitle(QWidget& window) {
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  const int text = QFontMetrics(font).horizontalAdvance(window.windowTitle());
  // The window icon and the three title bar buttons, each about a title bar high.
  const int bar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  window.setMinimumWidth(std::max(window.minimumWidth(), text + 4 * bar + 16));
}

QMargins FrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

QRect TopStripGeometry(const QRect& area, const QMargins& frame, int clientHeight) {
  const int width = std::max(1, area.width() - frame.left() - frame.right());
  const int room = std::max(1, area.height() - frame.top() - frame.bottom());
  return {area.left() + frame.left(), area.top() + frame.top(), width, std::clamp(clientHeight, 1, room)};
}

QRect FrameInsideArea(const QRect& client, const QMargins& frame, const QRect& area) {
  const QRect outer = client.marginsAdded(frame);
  const QPoint topLeft = InsideArea(outer.topLeft(), outer.size(), area);
  return client.translated(topLeft - outer.topLeft());
}

// ---- placement kept through the window manager's framing ----

FramePlacement::FramePlacement(QWidget& window, Rule rule) : QObject(&window), window_(window), rule_(std::move(rule)) {
  window.installEventFilter(this);
}

FramePlacement& FramePlacement::Place(QWidget& window, Rule rule) {
  FramePlacement* kept = Of(window);
  if (kept == nullptr)
    kept = new FramePlacement(window, std::move(rule));
  else
    kept->rule_ = std::move(rule);
  kept->Run();
  return *kept;
}

FramePlacement* FramePlacement::Of(const QWidget& window) {
  for (QObject* child : window.children())
    if (auto* kept = dynamic_cast<FramePlacement*>(child)) return kept;
  return nullptr;
}

void FramePlacement::Run() {
  const QRect area = WorkArea(window_);
  if (area.isEmpty() || running_) return;
  running_ = true;  // the rule's own move and resize events come back here
  frame_ = Margins(window_);
  area_ = area;
  rule_(window_, frame_, area_);
  running_ = false;
}

void FramePlacement::Follow() {
  if (!running_ && (Margins(window_) != frame_ || WorkArea(window_) != area_)) Run();
}

bool FramePlacement::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_) {
    switch (event->type()) {
      case QEvent::Show:
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Paint:  // the first paint comes once the window manager has framed the window
      case QEvent::WindowActivate: Follow(); break;
      default: break;
    }
  }
  return QObject::eventFilter(watched, event);
}

void KeepFrameInside(QWidget& window, const QMargins& frame, const QRect& area) {
  const QRect inside = FrameInsideArea(window.geometry(), frame, area);
  if (inside != window.geometry()) window.setGeometry(inside);
}

void StandAsTopStrip(QWidget& window, const QMargins& frame, const QRect& area) {
  const QRect strip = TopStripGeometry(area, frame, window.height());
  if (strip != window.geometry()) window.setGeometry(strip);
}

}  // namespace tavir
