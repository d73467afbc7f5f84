#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>
#include <algorithm>

#include "platform/qt/dialog_runner.h"
#include "platform/qt/window_place.h"

namespace tavir {
namespace {

QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// The frame where the dialog is when a modal loop would start.
QRect OpenedAt(QDialog& dialog) {
  QRect at;
  ScopedDialogInterceptor take([&at](QDialog& d) {
    at = d.frameGeometry();
    return 0;
  });
  DialogRunner::Run(dialog);
  return at;
}

class WindowPlaceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_GE(Area().height(), 400); }
  // An owner window at a place and size of the screen.
  static void Show(QWidget& owner, const QRect& geometry) {
    owner.setGeometry(geometry);
    owner.show();
    QApplication::processEvents();
  }
};

TEST_F(WindowPlaceTest, ADialogOfAMainWindowOpensCentredOnTheScreen) {
  const QRect area = Area();
  // The strip of tool bars along the top, and a window beside it.
  struct Case {
    const char* name;
    QRect owner;
  };
  const Case cases[] = {
      {"strip", QRect(area.left(), area.top(), area.width(), 90)},
      {"window in a corner", QRect(area.left() + 5, area.top() + 5, 300, 250)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget owner;
    Show(owner, c.owner);
    QDialog dialog(&owner);
    dialog.resize(300, 200);
    const QRect at = OpenedAt(dialog);
    EXPECT_EQ(at.size(), QSize(300, 200));
    EXPECT_LE(std::abs(at.center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(at.center().y() - area.center().y()), 1);
  }
}

TEST_F(WindowPlaceTest, ADialogOpenedFromADialogOpensOverIt) {
  const QRect area = Area();
  QDialog owner;
  Show(owner, QRect(area.left() + 10, area.top() + 20, 500, 380));
  QDialog dialog(&owner);
  dialog.resize(200, 100);
  const QRect at = OpenedAt(dialog);
  EXPECT_LE(std::abs(at.center().x() - owner.frameGeometry().center().x()), 1);
  EXPECT_LE(std::abs(at.center().y() - owner.frameGeometry().center().y()), 1);
}

TEST_F(WindowPlaceTest, APlacedDialogIsOnlyBroughtIntoSight) {
  const QRect area = Area();
  struct Case {
    const char* name;
    QPoint placed;
    QSize size;
    QPoint opened;
  };
  const Case cases[] = {
      {"inside stays", area.topLeft() + QPoint(40, 50), {200, 100}, area.topLeft() + QPoint(40, 50)},
      {"above and left of the screen", area.topLeft() - QPoint(300, 200), {200, 100}, area.topLeft()},
      {"below and right of it", area.bottomRight() + QPoint(10, 10), {200, 100},
       area.bottomRight() + QPoint(1, 1) - QPoint(200, 100)},
      {"taller than the screen: its top in sight", area.topLeft() + QPoint(0, -50), {200, area.height() + 80},
       area.topLeft()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QDialog dialog;
    dialog.resize(c.size);
    dialog.move(c.placed);
    EXPECT_EQ(OpenedAt(dialog).topLeft(), c.opened);
  }
}

TEST_F(WindowPlaceTest, CentreOnScreenSizesAnUnsizedWindowFirst) {
  QDialog dialog;
  dialog.setMinimumSize(260, 140);
  CentreOnScreen(dialog);
  EXPECT_GE(dialog.width(), 260);
  EXPECT_LE(std::abs(dialog.frameGeometry().center().y() - Area().center().y()), 1);
  // Shown, it stays where it was put.
  const QPoint placed = dialog.pos();
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(dialog.pos(), placed);
}

// The frames window managers draw: none, a typical title bar, an odd one.
const QMargins kFrames[] = {QMargins(), QMargins(4, 24, 4, 4), QMargins(1, 20, 1, 5), QMargins(0, 31, 7, 2)};

// As a maximised window stands: the whole frame in the area, touching its top and
// left, as wide as it; the client as high as asked while that fits.
TEST(TopStripRule, TheWholeFrameLiesInsideTheAreaAtItsTopAndFullWidth) {
  for (const QRect area : {QRect(0, 0, 1280, 800), QRect(0, 28, 1920, 1052), QRect(-1280, 40, 1280, 984)}) {
    for (const QMargins frame : kFrames) {
      for (const int height : {87, 145, 5000}) {
        SCOPED_TRACE(QString("area %1,%2 frame %3,%4,%5,%6 height %7")
                         .arg(area.x()).arg(area.y()).arg(frame.left()).arg(frame.top()).arg(frame.right())
                         .arg(frame.bottom()).arg(height).toStdString());
        const QRect client = TopStripGeometry(area, frame, height);
        const QRect outer = client.marginsAdded(frame);
        EXPECT_TRUE(area.contains(outer));
        EXPECT_EQ(outer.topLeft(), area.topLeft());
        EXPECT_EQ(outer.width(), area.width());
        EXPECT_EQ(client.height(), std::min(height, area.height() - frame.top() - frame.bottom()));
      }
    }
  }
}

// A frame that lies partly outside moves in no further than needed; one inside stays.
TEST(FrameInsideRule, AFrameOutsideTheAreaMovesInAsLittleAsNeeded) {
  const QRect area(100, 30, 1000, 700);
  const QMargins frame(4, 24, 4, 4);
  struct Case {
    const char* Name;
    QRect Client;
    QPoint FrameAt;  // where the frame's top-left must come to
  };
  const Case cases[] = {
      {"inside stays", QRect(300, 200, 200, 100), QPoint(296, 176)},
      {"title bar above the area", QRect(300, 30, 200, 100), QPoint(296, 30)},
      {"over the right and bottom edges", QRect(1000, 650, 200, 100), QPoint(1100 - 208, 730 - 128)},
      {"left of it", QRect(50, 200, 200, 100), QPoint(100, 176)},
      {"taller than the area: its title bar in sight", QRect(300, 400, 200, 900), QPoint(296, 30)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const QRect moved = FrameInsideArea(c.Client, frame, area);
    EXPECT_EQ(moved.size(), c.Client.size());
    EXPECT_EQ(moved.marginsAdded(frame).topLeft(), c.FrameAt);
  }
}

// The margins a window manager tells once the window is shown: the window is
// placed again with them, at its next event; a window the user then moves stays
// where it is put, and margins that do not change place nothing.
TEST_F(WindowPlaceTest, APlacementIsMadeAgainWhenTheFrameBecomesKnown) {
  const QRect area = Area();
  struct Case {
    const char* Name;
    FramePlacement::Rule Rule;
  };
  const Case cases[] = {{"strip", StandAsTopStrip}, {"window", KeepFrameInside}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    QWidget window;
    window.setWindowFlag(Qt::Window);
    window.setGeometry(area.right() - 299, area.top(), 300, 120);  // in the top right corner
    QMargins told;  // nothing told before the window is shown
    FramePlacement& placed = FramePlacement::Place(window, c.Rule);
    placed.Margins = [&told](const QWidget&) { return told; };
    placed.Follow();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    told = QMargins(4, 24, 4, 4);
    window.update();  // the paint after the window manager framed it
    ASSERT_TRUE(QTest::qWaitFor([&] { return area.contains(window.geometry().marginsAdded(told)); }))
        << "the frame stays outside";
    const QRect framed = window.geometry();
    EXPECT_EQ(framed.top(), area.top() + 24);
    EXPECT_EQ(framed.right(), area.right() - 4);
    window.setGeometry(framed.translated(30, 60));  // the user drags it
    QApplication::processEvents();
    const QRect moved = window.geometry();
    EXPECT_EQ(moved, framed.translated(30, 60)) << "a move by the user is kept";
    window.update();
    QApplication::processEvents();
    EXPECT_EQ(window.geometry(), moved);
  }
}

TEST_F(WindowPlaceTest, FitTitleMakesRoomForTheWholeTitle) {
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Введите новую единицу измерения: и ещё немного текста"));
  FitTitle(dialog);
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  EXPECT_GT(dialog.minimumWidth(), QFontMetrics(font).horizontalAdvance(dialog.windowTitle()));
  // A window already wider keeps its own minimum.
  QDialog wide;
  wide.setMinimumWidth(2000);
  FitTitle(wide);
  EXPECT_EQ(wide.minimumWidth(), 2000);
}

}  // namespace
}  // namespace tavir
