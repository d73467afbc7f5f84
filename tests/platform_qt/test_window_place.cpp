#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScreen>

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
