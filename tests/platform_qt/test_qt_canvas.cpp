#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/qt_canvas.h"
#include "platform/recording_canvas.h"

namespace tavir {
namespace {

constexpr RgbColor kWhite = 0xFFFFFF;
constexpr RgbColor kBlack = 0x000000;
constexpr RgbColor kRed = 0x0000FF;
constexpr RgbColor kBlue = 0xFF0000;

using Pixels = std::set<std::pair<int, int>>;

// The pixels that differ from a white background.
Pixels Changed(const QtCanvas& c) {
  Pixels out;
  for (int y = 0; y < c.Size().height(); ++y)
    for (int x = 0; x < c.Size().width(); ++x)
      if (c.PixelAt(x, y) != kWhite) out.insert({x, y});
  return out;
}

// A picture with something on it, so raster operations have varied pixels to work on.
void Background(QtCanvas& c) {
  for (int y = 0; y < c.Size().height(); ++y)
    for (int x = 0; x < c.Size().width(); ++x)
      c.SetPixel(x, y, RGBColor(static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
                                static_cast<std::uint8_t>((x ^ y) * 3)));
}

struct LineCase {
  TPoint From, To;
};

TEST(QtCanvas, LineToLeavesOutTheLastPixelAndDrawsEveryOtherStep) {
  const std::vector<LineCase> cases = {
      {{2, 5}, {12, 5}},  {{12, 5}, {2, 5}},  {{5, 1}, {5, 15}}, {{5, 15}, {5, 1}}, {{1, 1}, {11, 11}},
      {{11, 1}, {1, 11}}, {{0, 3}, {17, 9}},  {{3, 0}, {9, 17}}, {{17, 9}, {0, 3}}, {{2, 2}, {3, 2}},
      {{4, 4}, {5, 5}},   {{0, 0}, {19, 1}},
  };
  for (const LineCase& lc : cases) {
    QtCanvas c(QSize(20, 20));
    c.Pen = {kBlack, 1, PenStyle::Solid, PenMode::Copy};
    c.MoveTo(lc.From.X, lc.From.Y);
    c.LineTo(lc.To.X, lc.To.Y);
    EXPECT_EQ(c.PenPos(), lc.To);
    const Pixels got = Changed(c);
    const int n = std::max(std::abs(lc.To.X - lc.From.X), std::abs(lc.To.Y - lc.From.Y));
    const std::string what = std::to_string(lc.From.X) + "," + std::to_string(lc.From.Y) + " -> " +
                             std::to_string(lc.To.X) + "," + std::to_string(lc.To.Y);
    EXPECT_EQ(static_cast<int>(got.size()), n) << what << ": one pixel a step, the last one left out";
    EXPECT_TRUE(got.count({lc.From.X, lc.From.Y})) << what << ": the first pixel is drawn";
    EXPECT_FALSE(got.count({lc.To.X, lc.To.Y})) << what << ": the last pixel is left out";
    // Every pixel lies within half a pixel of the true line (minor axis).
    for (const auto& [x, y] : got) {
      const double dx = lc.To.X - lc.From.X;
      const double dy = lc.To.Y - lc.From.Y;
      if (std::abs(dx) >= std::abs(dy)) {
        const double yTrue = lc.From.Y + (x - lc.From.X) * dy / dx;
        EXPECT_LE(std::abs(y - yTrue), 0.5) << what << " at " << x << "," << y;
      } else {
        const double xTrue = lc.From.X + (y - lc.From.Y) * dx / dy;
        EXPECT_LE(std::abs(x - xTrue), 0.5) << what << " at " << x << "," << y;
      }
    }
  }
}

TEST(QtCanvas, PenWidthZeroDrawsOnePixelLikeWidthOne) {
  QtCanvas zero(QSize(20, 20));
  QtCanvas one(QSize(20, 20));
  zero.Pen.Width = 0;
  one.Pen.Width = 1;
  for (QtCanvas* c : {&zero, &one}) {
    c->MoveTo(1, 2);
    c->LineTo(18, 9);
    c->Rectangle(3, 11, 15, 18);
  }
  EXPECT_EQ(zero.Image(), one.Image());
  EXPECT_FALSE(Changed(zero).empty());
}

TEST(QtCanvas, PolylineJoinsSegmentsWithoutTheLastPixelAndKeepsThePosition) {
  QtCanvas c(QSize(20, 20));
  c.MoveTo(7, 7);
  c.Polyline({{1, 1}, {10, 1}, {10, 10}});
  const Pixels got = Changed(c);
  Pixels want;
  for (int x = 1; x < 10; ++x) want.insert({x, 1});
  for (int y = 1; y < 10; ++y) want.insert({10, y});
  EXPECT_EQ(got, want);
  EXPECT_EQ(c.PenPos(), (TPoint{7, 7}));
}

TEST(QtCanvas, RectangleLeavesOutItsRightAndBottomEdges) {
  struct Case {
    int X1, Y1, X2, Y2;
  };
  // Corners in any order cover the same pixels.
  for (const Case& r : std::vector<Case>{{2, 3, 9, 8}, {9, 8, 2, 3}, {2, 8, 9, 3}, {4, 4, 6, 6}, {4, 4, 5, 5}}) {
    QtCanvas c(QSize(12, 12));
    c.Pen = {kRed, 1, PenStyle::Solid, PenMode::Copy};
    c.Brush = {kBlue, BrushStyle::Solid};
    c.Rectangle(r.X1, r.Y1, r.X2, r.Y2);
    const int l = std::min(r.X1, r.X2), rt = std::max(r.X1, r.X2);
    const int t = std::min(r.Y1, r.Y2), b = std::max(r.Y1, r.Y2);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool inside = x >= l && x < rt && y >= t && y < b;
        const bool frame = inside && (x == l || x == rt - 1 || y == t || y == b - 1);
        const RgbColor want = !inside ? kWhite : frame ? kRed : kBlue;
        EXPECT_EQ(c.PixelAt(x, y), want) << "rect " << r.X1 << "," << r.Y1 << "," << r.X2 << "," << r.Y2 << " at "
                                         << x << "," << y;
      }
  }
}

TEST(QtCanvas, ClearPenRectangleFillsTheSameArea) {
  QtCanvas c(QSize(12, 12));
  c.Pen.Style = PenStyle::Clear;
  c.Brush = {kBlue, BrushStyle::Solid};
  c.Rectangle(2, 3, 9, 8);
  Pixels want;
  for (int y = 3; y < 8; ++y)
    for (int x = 2; x < 9; ++x) want.insert({x, y});
  EXPECT_EQ(Changed(c), want);
}

TEST(QtCanvas, PolygonFillsPixelCentresInsideAndOutlinesEveryVertex) {
  // Without a pen: the pixels whose centres are inside, right and bottom edges out.
  QtCanvas bare(QSize(12, 12));
  bare.Pen.Style = PenStyle::Clear;
  bare.Brush = {kBlue, BrushStyle::Solid};
  bare.Polygon({{1, 1}, {10, 1}, {10, 10}, {1, 10}});
  Pixels square;
  for (int y = 1; y < 10; ++y)
    for (int x = 1; x < 10; ++x) square.insert({x, y});
  EXPECT_EQ(Changed(bare), square);

  // With a pen: the closed outline through every vertex, the fill inside it.
  QtCanvas framed(QSize(12, 12));
  framed.Pen.Color = kRed;
  framed.Brush = {kBlue, BrushStyle::Solid};
  framed.Polygon({{1, 1}, {10, 1}, {10, 10}, {1, 10}});
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 1 && x <= 10 && y >= 1 && y <= 10;
      const bool edge = inside && (x == 1 || x == 10 || y == 1 || y == 10);
      EXPECT_EQ(framed.PixelAt(x, y), !inside ? kWhite : edge ? kRed : kBlue) << x << "," << y;
    }

  // A triangle: the fill stays within the outline on every row.
  QtCanvas tri(QSize(30, 30));
  tri.Pen.Color = kRed;
  tri.Brush = {kBlue, BrushStyle::Solid};
  tri.Polygon({{2, 2}, {27, 9}, {8, 26}});
  for (int y = 0; y < 30; ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < 30; ++x)
      if (tri.PixelAt(x, y) != kWhite) {
        if (first < 0) first = x;
        last = x;
      }
    if (first < 0) continue;
    EXPECT_EQ(tri.PixelAt(first, y), kRed) << "row " << y;
    EXPECT_EQ(tri.PixelAt(last, y), kRed) << "row " << y;
  }
}

// Rectangles along the axes are drawn by a path of their own; they must give the
// pixels of the same rectangle with one more vertex in the middle of an edge,
// which the general polygon path draws: under every pen, brush and mode, partly
// outside the image, with the picture's origin moved, in either turning sense.
TEST(QtCanvas, AxisRectanglePolygonsHaveThePixelsOfTheGeneralPath) {
  struct Ink {
    CanvasPen Pen;
    CanvasBrush Brush;
  };
  const std::vector<Ink> inks = {
      {{kRed, 1, PenStyle::Solid, PenMode::Copy}, {kBlue, BrushStyle::Solid}},
      {{kRed, 0, PenStyle::Solid, PenMode::Copy}, {kBlue, BrushStyle::Clear}},
      {{kRed, 1, PenStyle::Clear, PenMode::Copy}, {kBlue, BrushStyle::Solid}},
      {{kRed, 1, PenStyle::Solid, PenMode::NotXor}, {kBlue, BrushStyle::DiagCross}},
      {{kBlack, 1, PenStyle::Solid, PenMode::Xor}, {0x00FF00, BrushStyle::Horizontal}},
      {{kBlack, 1, PenStyle::Clear, PenMode::Not}, {0x00FF00, BrushStyle::BDiagonal}},
      {{kBlack, 1, PenStyle::Solid, PenMode::Not}, {kRed, BrushStyle::Vertical}},
  };
  struct Box {
    int L, T, R, B;
  };
  const std::vector<Box> boxes = {{3, 4, 17, 12}, {-5, -6, 9, 7}, {20, 15, 40, 33}, {-10, 5, 40, 6},
                                  {5, -10, 6, 40},  {0, 0, 1, 1},   {-3, -3, -1, 30}, {29, 0, 31, 29}};
  for (const TPoint origin : {TPoint{0, 0}, TPoint{7, -4}}) {
    for (const Box& b : boxes) {
      for (const bool clockwise : {true, false}) {
        std::vector<TPoint> four = {{b.L, b.B}, {b.L, b.T}, {b.R, b.T}, {b.R, b.B}};
        if (!clockwise) four = {{b.L, b.B}, {b.R, b.B}, {b.R, b.T}, {b.L, b.T}};
        std::vector<TPoint> five = four;
        five.insert(five.begin() + 1, TPoint{(four[0].X + four[1].X) / 2, (four[0].Y + four[1].Y) / 2});
        for (std::size_t i = 0; i < inks.size(); ++i) {
          QtCanvas fast(QSize(30, 30)), general(QSize(30, 30));
          for (QtCanvas* c : {&fast, &general}) {
            Background(*c);
            c->SetOrigin(origin);
            c->Pen = inks[i].Pen;
            c->Brush = inks[i].Brush;
          }
          fast.Polygon(four);
          general.Polygon(five);
          EXPECT_EQ(fast.Image(), general.Image())
              << "box " << b.L << "," << b.T << "-" << b.R << "," << b.B << " ink " << i << " origin " << origin.X
              << (clockwise ? " clockwise" : " anticlockwise");
        }
      }
    }
  }
}

TEST(QtCanvas, EllipseStaysInsideItsBoxWithoutRightAndBottomEdges) {
  struct Case {
    int X1, Y1, X2, Y2;
  };
  for (const Case& e : std::vector<Case>{{2, 3, 30, 20}, {30, 20, 2, 3}, {5, 5, 9, 9}, {1, 1, 4, 25}, {3, 3, 5, 5}}) {
    for (const BrushStyle brush : {BrushStyle::Clear, BrushStyle::Solid}) {
      QtCanvas c(QSize(34, 30));
      c.Pen = {kRed, 1, PenStyle::Solid, PenMode::Copy};
      c.Brush = {kBlue, brush};
      c.Ellipse(e.X1, e.Y1, e.X2, e.Y2);
      const Pixels got = Changed(c);
      ASSERT_FALSE(got.empty());
      int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
      for (const auto& [x, y] : got) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
      const std::string what = "ellipse " + std::to_string(e.X1) + "," + std::to_string(e.Y1) + "," +
                               std::to_string(e.X2) + "," + std::to_string(e.Y2);
      EXPECT_EQ(minX, std::min(e.X1, e.X2)) << what;
      EXPECT_EQ(maxX, std::max(e.X1, e.X2) - 1) << what;
      EXPECT_EQ(minY, std::min(e.Y1, e.Y2)) << what;
      EXPECT_EQ(maxY, std::max(e.Y1, e.Y2) - 1) << what;
      // The fill never reaches past the outline: every row's outer pixels are pen.
      for (int y = minY; y <= maxY; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < 34; ++x)
          if (got.count({x, y})) {
            if (first < 0) first = x;
            last = x;
          }
        if (first < 0) continue;
        EXPECT_EQ(c.PixelAt(first, y), kRed) << what << " row " << y;
        EXPECT_EQ(c.PixelAt(last, y), kRed) << what << " row " << y;
      }
    }
  }
}

TEST(QtCanvas, DegenerateShapesDrawNothing) {
  const std::vector<std::pair<const char*, std::function<void(QtCanvas&)>>> draws = {
      {"rectangle of no width", [](QtCanvas& c) { c.Rectangle(5, 2, 5, 9); }},
      {"rectangle of no height", [](QtCanvas& c) { c.Rectangle(2, 5, 9, 5); }},
      {"ellipse of no width", [](QtCanvas& c) { c.Ellipse(5, 2, 5, 9); }},
      {"ellipse of no height", [](QtCanvas& c) { c.Ellipse(2, 5, 9, 5); }},
      {"line to its own start", [](QtCanvas& c) {
         c.MoveTo(4, 4);
         c.LineTo(4, 4);
       }},
      {"polyline of one point", [](QtCanvas& c) { c.Polyline({{3, 3}}); }},
      {"polygon of one point", [](QtCanvas& c) { c.Polygon({{3, 3}}); }},
      {"wide line to its own start", [](QtCanvas& c) {
         c.Pen.Width = 3;
         c.MoveTo(4, 4);
         c.LineTo(4, 4);
       }},
      {"clear pen and brush", [](QtCanvas& c) {
         c.Pen.Style = PenStyle::Clear;
         c.Brush.Style = BrushStyle::Clear;
         c.Rectangle(1, 1, 9, 9);
         c.Ellipse(1, 1, 9, 9);
         c.Polygon({{1, 1}, {9, 1}, {5, 9}});
         c.MoveTo(0, 0);
         c.LineTo(9, 9);
       }},
  };
  for (const auto& [name, draw] : draws) {
    QtCanvas c(QSize(12, 12));
    c.Pen.Color = kRed;
    c.Brush = {kBlue, BrushStyle::Solid};
    draw(c);
    EXPECT_TRUE(Changed(c).empty()) << name;
  }
}

// Drawn twice, every shape in NOT XOR (and XOR, NOT) gives back the picture: the
// rubber bands rely on it, so no pixel may be touched twice by one shape.
TEST(QtCanvas, RasterModesDrawnTwiceRestoreThePicture) {
  const std::vector<std::pair<const char*, std::function<void(QtCanvas&)>>> shapes = {
      {"line", [](QtCanvas& c) {
         c.MoveTo(1, 2);
         c.LineTo(37, 21);
       }},
      {"dashed line", [](QtCanvas& c) {
         c.Pen.Style = PenStyle::Dash;
         c.MoveTo(0, 30);
         c.LineTo(39, 1);
       }},
      {"wide line", [](QtCanvas& c) {
         c.Pen.Width = 3;
         c.MoveTo(3, 3);
         c.LineTo(30, 25);
       }},
      {"polyline", [](QtCanvas& c) { c.Polyline({{2, 2}, {30, 2}, {30, 30}, {2, 30}, {2, 2}}); }},
      {"rectangle", [](QtCanvas& c) { c.Rectangle(3, 4, 35, 28); }},
      {"hatched rectangle", [](QtCanvas& c) {
         c.Brush.Style = BrushStyle::DiagCross;
         c.Rectangle(3, 4, 35, 28);
       }},
      {"frame rectangle", [](QtCanvas& c) {
         c.Brush.Style = BrushStyle::Clear;
         c.Rectangle(3, 4, 35, 28);
       }},
      {"ellipse", [](QtCanvas& c) { c.Ellipse(2, 3, 38, 29); }},
      {"hatched ellipse", [](QtCanvas& c) {
         c.Brush.Style = BrushStyle::Cross;
         c.Ellipse(2, 3, 38, 29);
       }},
      {"polygon", [](QtCanvas& c) { c.Polygon({{2, 2}, {35, 8}, {20, 30}, {4, 20}}); }},
      {"wide polygon", [](QtCanvas& c) {
         c.Pen.Width = 2;
         c.Polygon({{2, 2}, {35, 8}, {20, 30}});
       }},
  };
  for (const PenMode mode : {PenMode::NotXor, PenMode::Xor, PenMode::Not}) {
    for (const auto& [name, draw] : shapes) {
      QtCanvas c(QSize(40, 32));
      Background(c);
      const QImage before = c.Image().copy();
      c.Pen = {kBlue, 1, PenStyle::Solid, mode};
      c.Brush = {0xF0CAA6, BrushStyle::Solid};
      draw(c);
      EXPECT_NE(c.Image(), before) << name << " draws something";
      c.Pen = {kBlue, 1, PenStyle::Solid, mode};
      c.Brush = {0xF0CAA6, BrushStyle::Solid};
      draw(c);
      EXPECT_EQ(c.Image(), before) << name << " in mode " << static_cast<int>(mode);
    }
  }
}

TEST(QtCanvas, PenModesCombineWithThePicture) {
  QtCanvas c(QSize(4, 1));
  c.SetPixel(0, 0, 0x123456);
  c.SetPixel(1, 0, 0x123456);
  c.SetPixel(2, 0, 0x123456);
  c.SetPixel(3, 0, 0x123456);
  const std::vector<std::pair<PenMode, RgbColor>> modes = {
      {PenMode::Copy, 0x0F0F0F},
      {PenMode::NotXor, ~(0x0F0F0Fu ^ 0x123456u) & 0xFFFFFFu},
      {PenMode::Not, ~0x123456u & 0xFFFFFFu},
      {PenMode::Xor, 0x0F0F0Fu ^ 0x123456u},
  };
  for (std::size_t i = 0; i < modes.size(); ++i) {
    c.Pen = {0x0F0F0F, 1, PenStyle::Solid, modes[i].first};
    c.MoveTo(static_cast<int>(i), 0);
    c.LineTo(static_cast<int>(i) + 1, 0);
    EXPECT_EQ(c.PixelAt(static_cast<int>(i), 0), modes[i].second) << "mode " << i;
  }
}

// The eight layer brushes: 8 x 8 tiles anchored at the picture's origin, the gaps
// left as they were.
TEST(QtCanvas, BrushHatchesAreEightPixelTiles) {
  struct Case {
    BrushStyle Style;
    std::vector<std::string> Tile;  // '#' brush colour, '.' untouched
  };
  const std::vector<Case> cases = {
      {BrushStyle::Solid, std::vector<std::string>(8, "########")},
      {BrushStyle::Clear, std::vector<std::string>(8, "........")},
      {BrushStyle::Horizontal,
       {"########", "........", "........", "........", "........", "........", "........", "........"}},
      {BrushStyle::Vertical,
       {"#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#......."}},
      {BrushStyle::FDiagonal,
       {"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.", ".......#"}},
      {BrushStyle::BDiagonal,
       {"#.......", ".......#", "......#.", ".....#..", "....#...", "...#....", "..#.....", ".#......"}},
      {BrushStyle::Cross,
       {"########", "#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#......."}},
      {BrushStyle::DiagCross,
       {"#.......", ".#.....#", "..#...#.", "...#.#..", "....#...", "...#.#..", "..#...#.", ".#.....#"}},
  };
  for (const Case& k : cases) {
    for (const TPoint origin : {TPoint{0, 0}, TPoint{3, 5}, TPoint{-11, 21}}) {
      QtCanvas c(QSize(24, 24));
      c.SetOrigin(origin);
      c.Pen.Style = PenStyle::Clear;
      c.Brush = {kRed, k.Style};
      c.Rectangle(origin.X, origin.Y, origin.X + 24, origin.Y + 24);
      for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
          const int px = ((x + origin.X) % 8 + 8) % 8;
          const int py = ((y + origin.Y) % 8 + 8) % 8;
          const RgbColor want = k.Tile[static_cast<std::size_t>(py)][static_cast<std::size_t>(px)] == '#' ? kRed : kWhite;
          ASSERT_EQ(c.PixelAt(x, y), want) << "style " << static_cast<int>(k.Style) << " origin " << origin.X << ","
                                           << origin.Y << " at " << x << "," << y;
        }
    }
  }
}

TEST(QtCanvas, OriginShiftsThePictureIntoTheImage) {
  QtCanvas c(QSize(10, 10));
  c.SetOrigin({100, 200});
  c.Pen.Color = kRed;
  c.Brush = {kBlue, BrushStyle::Solid};
  c.Rectangle(102, 203, 105, 206);
  c.SetPixel(109, 209, kBlack);
  c.SetPixel(99, 200, kBlack);  // left of the image: nothing
  EXPECT_EQ(c.PixelAt(2, 3), kRed);
  EXPECT_EQ(c.PixelAt(3, 4), kBlue);
  EXPECT_EQ(c.PixelAt(4, 5), kRed);
  EXPECT_EQ(c.PixelAt(5, 6), kWhite);
  EXPECT_EQ(c.PixelAt(9, 9), kBlack);
  EXPECT_EQ(Changed(c).size(), 9u + 1u);
}

TEST(QtCanvas, FarAwayShapesAreClippedExactly) {
  // A line from far outside crosses the image where the whole line would.
  QtCanvas c(QSize(20, 20));
  c.MoveTo(-2000000000, 10);
  c.LineTo(2000000000, 10);
  Pixels want;
  for (int x = 0; x < 20; ++x) want.insert({x, 10});
  EXPECT_EQ(Changed(c), want);

  QtCanvas d(QSize(20, 20));
  d.MoveTo(-100000, -100000);
  d.LineTo(100000, 100000);
  Pixels diag;
  for (int i = 0; i < 20; ++i) diag.insert({i, i});
  EXPECT_EQ(Changed(d), diag);

  // A rectangle larger than the image fills it all, its frame out of sight.
  QtCanvas e(QSize(20, 20));
  e.Pen.Color = kRed;
  e.Brush = {kBlue, BrushStyle::Solid};
  e.Rectangle(-1000000, -1000000, 1000000, 1000000);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(e.PixelAt(x, y), kBlue);

  // So do an ellipse and a polygon far larger than the image.
  QtCanvas f(QSize(20, 20));
  f.Pen.Color = kRed;
  f.Brush = {kBlue, BrushStyle::Solid};
  f.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_EQ(f.PixelAt(0, 0), kBlue);
  EXPECT_EQ(f.PixelAt(19, 19), kBlue);
  QtCanvas g(QSize(20, 20));
  g.Pen.Color = kRed;
  g.Brush = {kBlue, BrushStyle::Solid};
  g.Polygon({{-2000000000, -2000000000}, {2000000000, -2000000000}, {2000000000, 2000000000}, {-2000000000, 2000000000}});
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(g.PixelAt(x, y), kBlue);
}

TEST(QtCanvas, TextHasAnOpaqueOrClearBackground) {
  QtCanvas opaque(QSize(120, 40));
  opaque.Brush = {kBlue, BrushStyle::Solid};
  opaque.Font = {"DejaVu Sans", 10, kBlack};
  const PixelSize size = opaque.TextExtent("Тело 1");
  ASSERT_GT(size.Width, 20);
  ASSERT_GT(size.Height, 8);
  opaque.TextOut(5, 6, "Тело 1");
  int brushPixels = 0, textPixels = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const bool inCell = x >= 5 && x < 5 + size.Width && y >= 6 && y < 6 + size.Height;
      const RgbColor p = opaque.PixelAt(x, y);
      if (!inCell) {
        ASSERT_EQ(p, kWhite) << "outside the text cell at " << x << "," << y;
        continue;
      }
      if (p == kBlue) ++brushPixels;
      if (p == kBlack) ++textPixels;
      ASSERT_TRUE(p == kBlue || p == kBlack) << "no antialiased pixels";
    }
  EXPECT_GT(brushPixels, textPixels);
  EXPECT_GT(textPixels, 10);

  QtCanvas clear(QSize(120, 40));
  clear.Brush = {kBlue, BrushStyle::Clear};
  clear.Font = {"DejaVu Sans", 10, kBlack};
  clear.TextOut(5, 6, "Тело 1");
  int black = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const RgbColor p = clear.PixelAt(x, y);
      ASSERT_TRUE(p == kWhite || p == kBlack);
      black += p == kBlack;
    }
  EXPECT_EQ(black, textPixels) << "the same glyphs, no background";
}

TEST(QtCanvas, ImagesComeFromTheImageListsByNameAndIndex) {
  QImage strip(36, 18, QImage::Format_RGB32);
  strip.fill(QColor(0, 255, 0));
  for (int y = 0; y < 18; ++y)
    for (int x = 18; x < 36; ++x) strip.setPixelColor(x, y, QColor(255, 0, 0));
  ImageLists lists;
  lists.Add("IL_Rests", strip, 18);
  EXPECT_EQ(lists.Count("IL_Rests"), 2);
  EXPECT_EQ(lists.Count("IL_Forces"), 0);

  QtCanvas c(QSize(60, 30), &lists);
  c.DrawImage("IL_Rests", 1, 10, 5);
  c.DrawImage("IL_Rests", 2, 30, 5);   // no such picture
  c.DrawImage("IL_Forces", 0, 30, 5);  // no such list
  Pixels want;
  for (int y = 5; y < 23; ++y)
    for (int x = 10; x < 28; ++x) want.insert({x, y});
  EXPECT_EQ(Changed(c), want);
  EXPECT_EQ(c.PixelAt(10, 5), kRed);
}

// A drawing routine as the model draws: it changes pen, brush and font under a
// guard and leaves the canvas as it found it.
void DrawElementWithLabel(Canvas& c) {
  CanvasStateGuard guard(c);
  c.Pen = {0xFF0000, 1, PenStyle::Solid, PenMode::Copy};
  c.Brush = {0xF0CAA6, BrushStyle::FDiagonal};
  c.Polygon({{4, 4}, {44, 4}, {44, 30}, {4, 30}});
  c.Pen = {0x00FF00, 0, PenStyle::Dot, PenMode::NotXor};
  c.Rectangle(2, 2, 47, 33);
  c.Ellipse(20, 10, 30, 20);
  c.MoveTo(0, 39);
  c.LineTo(49, 34);
  c.Polyline({{0, 0}, {10, 5}, {3, 12}});
  c.SetPixel(48, 1, 0x123456);
  c.Brush.Style = BrushStyle::Clear;
  c.Font = {"DejaVu Sans", 7, 0x800000};
  c.TextOut(8, 12, "Эл 7");
  c.DrawImage("IL_Rests", 0, 30, 22);
}

// Replays what a recording canvas took down, call by call with the state it
// recorded.
void Replay(const std::vector<CanvasCall>& calls, Canvas& c) {
  for (const CanvasCall& call : calls) {
    c.Pen = call.Pen;
    c.Brush = call.Brush;
    c.Font = call.Font;
    switch (call.Op) {
      case CanvasOp::LineTo:
        c.MoveTo(call.Points[0].X, call.Points[0].Y);
        c.LineTo(call.Points[1].X, call.Points[1].Y);
        break;
      case CanvasOp::Polyline: c.Polyline(call.Points); break;
      case CanvasOp::Polygon: c.Polygon(call.Points); break;
      case CanvasOp::Rectangle: c.Rectangle(call.Points[0].X, call.Points[0].Y, call.Points[1].X, call.Points[1].Y); break;
      case CanvasOp::Ellipse: c.Ellipse(call.Points[0].X, call.Points[0].Y, call.Points[1].X, call.Points[1].Y); break;
      case CanvasOp::Pixel: c.SetPixel(call.Points[0].X, call.Points[0].Y, call.Color); break;
      case CanvasOp::Text: c.TextOut(call.Points[0].X, call.Points[0].Y, call.Text); break;
      case CanvasOp::Image: c.DrawImage(call.Text, call.Index, call.Points[0].X, call.Points[0].Y); break;
    }
  }
}

TEST(QtCanvas, DrawsWhatTheRecordingCanvasRecordsAndKeepsItsState) {
  QImage symbol(18, 18, QImage::Format_RGB32);
  symbol.fill(QColor(0, 0, 128));
  ImageLists lists;
  lists.Add("IL_Rests", symbol, 18);

  QtCanvas direct(QSize(50, 40), &lists);
  Background(direct);
  direct.Pen = {kBlue, 3, PenStyle::Dash, PenMode::Xor};
  direct.Brush = {kRed, BrushStyle::Cross};
  direct.Font = {"Courier", 12, kRed};
  const CanvasPen pen = direct.Pen;
  const CanvasBrush brush = direct.Brush;
  const CanvasFont font = direct.Font;
  DrawElementWithLabel(direct);
  EXPECT_EQ(direct.Pen, pen);
  EXPECT_EQ(direct.Brush, brush);
  EXPECT_EQ(direct.Font, font);

  RecordingCanvas recording;
  DrawElementWithLabel(recording);
  ASSERT_EQ(recording.Calls.size(), 8u);
  QtCanvas replayed(QSize(50, 40), &lists);
  Background(replayed);
  Replay(recording.Calls, replayed);
  EXPECT_EQ(replayed.Image(), direct.Image()) << "the calls and the state each call records make the picture";
  EXPECT_EQ(direct.PixelAt(48, 1), 0x123456u);
  EXPECT_EQ(direct.PixelAt(35, 27), 0x800000u) << "the symbol";
}

}  // namespace
}  // namespace tavir
