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
}

void FitTitle(QWidget& window) {
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  const int text = QFontMetrics(font).horizontalAdvance(window.windowTitle());
  // The window icon and the three title bar buttons, each about a title bar high.
  const int bar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  window.setMinimumWidth(std::max(window.minimumWidth(), text + 4 * bar + 16));
}

}  // namespace tavir
