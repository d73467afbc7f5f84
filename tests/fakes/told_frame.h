#pragma once
// What a window manager tells a window once it has framed it, played to the
// window's placement offscreen, where no window manager tells anything: the frame
// margins, then the paint that follows the framing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMargins>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "platform/qt/window_place.h"

namespace tavir::test {

// A title bar 24 pixels high and borders of 4, as a window manager might draw them.
inline const QMargins kToldFrame(4, 24, 4, 4);

// Tells the window's placement the margins; false when the window has none.
inline bool TellFrame(QWidget& window, const QMargins& margins = kToldFrame) {
  FramePlacement* placement = FramePlacement::Of(window);
  if (placement == nullptr) return false;
  placement->Margins = [margins](const QWidget&) { return margins; };
  window.update();
  QApplication::processEvents();
  return true;
}

// Whether the window, with the told margins, stands as a maximised window at the
// top of its screen's work area: the whole frame inside it, at its top, full width.
inline ::testing::AssertionResult StandsAsTopStrip(const QWidget& window, const QMargins& margins = kToldFrame) {
  const QRect area = window.screen()->availableGeometry();
  const QRect frame = window.geometry().marginsAdded(margins);
  if (area.contains(frame) && frame.topLeft() == area.topLeft() && frame.width() == area.width())
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "frame at " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                       << frame.height() << " in the area " << area.x() << "," << area.y() << " "
                                       << area.width() << "x" << area.height();
}

}  // namespace tavir::test
