#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/qt/desk_picture.h"

namespace tavir {
namespace {

// A built-in picture: a 4 x 4 red square at (x, y); what it was asked for is kept.
std::vector<std::string> g_drawn;
void RedSquare(Canvas& c, std::string_view list, int index, int x, int y) {
  g_drawn.push_back(std::string(list) + "/" + std::to_string(index));
  c.Pen.Color = 0x0000FF;
  c.Brush.Color = 0x0000FF;
  c.Brush.Style = BrushStyle::Solid;
  c.Rectangle(x, y, x + 4, y + 4);
}

// Image lists with one green picture in "IL_Rests" at index 0.
class OneGreen : public ImageProvider {
 public:
  QImage Image(std::string_view list, int index) const override {
    if (list != "IL_Rests" || index != 0) return {};
    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(QColor(0, 255, 0));
    return green;
  }
};

TEST(DeskPicture, TheImageListsWinAndTheBuiltInDrawerFillsTheRest) {
  const OneGreen lists;
  struct Case {
    const ImageProvider* Images;
    const char* List;
    int Index;
    RgbColor Want;  // at (11, 11)
  };
  const Case cases[] = {
      {&lists, "IL_Rests", 0, 0x00FF00},    // the lists have it
      {&lists, "IL_Rests", 1, 0x0000FF},    // they do not: built in
      {nullptr, "IL_Forces", 3, 0x0000FF},  // no lists at all
  };
  for (const Case& c : cases) {
    g_drawn.clear();
    BuiltInImageCanvas canvas(QSize(20, 20), c.Images, &RedSquare);
    canvas.Fill(0xFFFFFF);
    canvas.DrawImage(c.List, c.Index, 10, 10);
    EXPECT_EQ(canvas.PixelAt(11, 11), c.Want) << c.List << c.Index;
    EXPECT_EQ(g_drawn.size(), c.Want == 0x0000FFu ? 1u : 0u) << c.List << c.Index;
  }
  // Without a drawer an unknown picture draws nothing.
  BuiltInImageCanvas bare(QSize(20, 20), &lists, nullptr);
  bare.Fill(0xFFFFFF);
  bare.DrawImage("IL_Rests", 1, 10, 10);
  EXPECT_EQ(bare.PixelAt(11, 11), 0xFFFFFFu);
}

TEST(DeskPicture, OnlyTheVisiblePartIsAnImageAndScrollingMakesItStale) {
  QScrollArea scroll;
  scroll.resize(200, 150);
  auto* picture = new QWidget;
  picture->resize(5000, 4000);  // a zoomed picture, far larger than the screen
  scroll.setWidget(picture);
  scroll.show();
  QApplication::processEvents();
  DeskPicture desk(scroll, *picture, nullptr, &RedSquare);
  EXPECT_FALSE(desk.Current());
  desk.Fit();
  desk.SetFresh();
  const QSize viewport = scroll.viewport()->size();
  EXPECT_EQ(desk.Image().size(), viewport);
  EXPECT_TRUE(desk.Current());
  EXPECT_EQ(desk.Canvas().Origin(), (TPoint{0, 0}));

  // Scrolling: stale until fitted again, then from the new position.
  desk.SetScroll(300, 120);
  EXPECT_FALSE(desk.Current());
  EXPECT_EQ(desk.Scroll().H, 300);
  EXPECT_EQ(desk.Scroll().V, 120);
  desk.Fit();
  desk.SetFresh();
  EXPECT_TRUE(desk.Current());
  EXPECT_EQ(desk.Canvas().Origin(), (TPoint{300, 120}));
  EXPECT_EQ(desk.Image().size(), viewport);
  EXPECT_EQ(desk.Scroll().ClientWidth, viewport.width());
  EXPECT_EQ(desk.Scroll().HRange, scroll.horizontalScrollBar()->maximum());

  // A picture smaller than the viewport: the image is no larger than the picture.
  picture->resize(50, 40);
  EXPECT_FALSE(desk.Current());
  desk.Fit();
  EXPECT_EQ(desk.Image().size(), QSize(50, 40));

  // A stale mark holds whatever the geometry.
  desk.SetFresh();
  EXPECT_TRUE(desk.Current());
  desk.SetStale();
  EXPECT_FALSE(desk.Current());
}

TEST(DeskPicture, TilesCoverAPictureExactlyOnceAndStaySmall) {
  struct Case {
    QSize Picture;
    int Side;
    std::size_t Count;
  };
  for (const Case& c : {Case{{1, 1}, 1024, 1}, Case{{1024, 1024}, 1024, 1}, Case{{1025, 1024}, 1024, 2},
                        Case{{5000, 3000}, 1024, 15}, Case{{7, 5}, 3, 6}, Case{{0, 10}, 4, 0}, Case{{10, 10}, 0, 0}}) {
    const std::vector<QRect> tiles = PictureTiles(c.Picture, c.Side);
    EXPECT_EQ(tiles.size(), c.Count) << c.Picture.width() << "x" << c.Picture.height();
    long long area = 0;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      const QRect& t = tiles[i];
      EXPECT_FALSE(t.isEmpty());
      EXPECT_LE(t.width(), c.Side);
      EXPECT_LE(t.height(), c.Side);
      EXPECT_TRUE(QRect(QPoint(0, 0), c.Picture).contains(t));
      for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(tiles[j].intersects(t)) << i << " " << j;
      area += static_cast<long long>(t.width()) * t.height();
    }
    if (c.Side > 0) {
      EXPECT_EQ(area, static_cast<long long>(c.Picture.width()) * c.Picture.height());
    }
  }
}

}  // namespace
}  // namespace tavir
