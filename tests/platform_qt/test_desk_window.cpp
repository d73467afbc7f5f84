// The desk window both programs derive their desks from, with a desk of its own
// that draws nothing: the rule that keeps a desk clear of the main strip, and the
// actions a desk puts off until after the event it handles.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "platform/qt/desk_window.h"

namespace tavir {
namespace {

class PlainDesk : public DeskWindow {
 public:
  explicit PlainDesk(QSize minimum) : DeskWindow(Layout(minimum), nullptr, nullptr) { SetPictureSize(800, 600); }
  using DeskWindow::AfterEvent;

 private:
  static DeskWindowLayout Layout(QSize minimum) {
    DeskWindowLayout layout;
    layout.Name = "PlainDesk";
    layout.Size = QSize(500, 500);
    layout.MinimumSize = minimum;
    layout.ScrollName = "Scroll";
    layout.PictureName = "Picture";
    layout.StatusName = "Status";
    layout.PanelWidths = {200, 50};
    return layout;
  }
  void DrawPicture(Canvas&) override {}
  void PictureMouseDown(Qt::MouseButton, QPoint, Qt::KeyboardModifiers) override {}
  void PictureMouseMove(QPoint, Qt::KeyboardModifiers) override {}
  void PictureMouseUp(Qt::MouseButton, QPoint, Qt::KeyboardModifiers) override {}
};

// A desk moved up over the strip goes below it, frame and all, and gives up what
// lay under the strip, never below its own minimum nor below 100 pixels.
TEST(DeskWindow, KeepsClearOfTheMainStripNeverSmallerThanItsMinimum) {
  struct Case {
    QSize Minimum;
    int Height;  // the desk's height asked for
    int Floor;   // the height it keeps at the least; 0: it gives up the strip's whole height
  };
  QWidget strip;
  strip.setWindowFlag(Qt::Window);
  strip.setGeometry(0, 0, 700, 300);
  strip.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
  // The strip's title bar and borders are the strip's too.
  const QRect stripFrame = strip.frameGeometry();
  for (const Case c : {Case{QSize(), 520, 0}, Case{QSize(), 350, 100}, Case{QSize(400, 400), 520, 400}}) {
    SCOPED_TRACE(c.Height);
    PlainDesk desk(c.Minimum);
    desk.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desk));
    desk.SetMainForm(&strip);
    desk.move(desk.x(), strip.y());
    desk.resize(desk.width() + 10, c.Height);  // a resize runs the rule
    QApplication::processEvents();
    EXPECT_GE(desk.y(), stripFrame.bottom() + 1);
    EXPECT_EQ(desk.height(), c.Floor > 0 ? c.Floor : c.Height - stripFrame.height());
  }
}

// What a desk puts off (a message of a paint event) runs once the event is over,
// and not at all when the desk is gone by then.
TEST(DeskWindow, AnActionAfterTheEventRunsLaterAndNotForAGoneDesk) {
  auto desk = std::make_unique<PlainDesk>(QSize());
  int ran = 0;
  desk->AfterEvent([&ran] { ++ran; });
  EXPECT_EQ(ran, 0) << "not inside the event that asked for it";
  QApplication::processEvents();
  EXPECT_EQ(ran, 1);
  desk->AfterEvent([&ran] { ++ran; });
  desk.reset();
  QApplication::processEvents();
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace tavir
