#include "platform/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

#include "platform/qt/qt_convert.h"

namespace tavir {

// ---------------------------------------------------------------------------
// Image lists

void ImageLists::Add(const std::string& list, const QImage& strip, int cellWidth) {
  lists_[list] = Strip{strip, cellWidth > 0 ? cellWidth : strip.width()};
}

int ImageLists::Count(std::string_view list) const {
  const auto it = lists_.find(list);
  if (it == lists_.end() || it->second.CellWidth <= 0) return 0;
  return it->second.Pictures.width() / it->second.CellWidth;
}

QImage ImageLists::Image(std::string_view list, int index) const {
  const auto it = lists_.find(list);
  if (it == lists_.end() || index < 0 || index >= Count(list)) return {};
  const Strip& s = it->second;
  return s.Pictures.copy(index * s.CellWidth, 0, s.CellWidth, s.Pictures.height());
}

// ---------------------------------------------------------------------------
// Pixels

namespace {

using Wide = __int128;

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t Argb(RgbColor c) {
  return kOpaque | (std::uint32_t{RedOf(c)} << 16) | (std::uint32_t{GreenOf(c)} << 8) | BlueOf(c);
}

// The pen modes as the platform's binary raster operations on RGB.
std::uint32_t Combine(std::uint32_t dst, std::uint32_t src, PenMode mode) {
  switch (mode) {
    case PenMode::Copy: return src;
    case PenMode::NotXor: return kOpaque | (~(src ^ dst) & 0xFFFFFFu);
    case PenMode::Not: return kOpaque | (~dst & 0xFFFFFFu);
    case PenMode::Xor: return kOpaque | ((src ^ dst) & 0xFFFFFFu);
  }
  return src;
}

// The dash and dot patterns of one-pixel pens, counted in pixels along the line.
bool StyleOn(PenStyle style, long long i) {
  switch (style) {
    case PenStyle::Solid: return true;
    case PenStyle::Dash: return i % 24 < 18;
    case PenStyle::Dot: return i % 6 < 3;
    case PenStyle::Clear: return false;
  }
  return true;
}

// The pixels of the line from a to b without b, each computed on its own from the
// exact slope (so a clipped line has the pixels of the whole one); plot(x, y, i)
// gets the pixels inside the clip, i counted from a.
template <class Plot>
void RasterLine(long long x1, long long y1, long long x2, long long y2, const QRect& clip, Plot&& plot) {
  const long long dx = x2 - x1;
  const long long dy = y2 - y1;
  if (dx == 0 && dy == 0) return;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const long long n = xMajor ? std::llabs(dx) : std::llabs(dy);
  const long long majorStart = xMajor ? x1 : y1;
  const long long minorStart = xMajor ? y1 : x1;
  const long long majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  const long long minorDelta = xMajor ? dy : dx;
  const long long lo = xMajor ? clip.left() : clip.top();
  const long long hi = xMajor ? clip.right() : clip.bottom();
  const long long minorLo = xMajor ? clip.top() : clip.left();
  const long long minorHi = xMajor ? clip.bottom() : clip.right();
  // i such that majorStart + i * majorStep lies in [lo, hi].
  long long iFrom = majorStep > 0 ? lo - majorStart : majorStart - hi;
  long long iTo = majorStep > 0 ? hi - majorStart : majorStart - lo;
  iFrom = std::max(iFrom, 0LL);
  iTo = std::min(iTo, n - 1);
  if (iFrom > iTo) return;
  // minor(i) = minorStart + round(i * minorDelta / n), halves up, kept as a
  // quotient and remainder of (2 i minorDelta + n) / 2n and stepped exactly.
  const long long twoN = 2 * n;
  const Wide start = static_cast<Wide>(2) * iFrom * minorDelta + n;
  Wide q = start / twoN;
  Wide rem = start % twoN;
  if (rem < 0) {
    rem += twoN;
    --q;
  }
  long long quotient = static_cast<long long>(q);
  long long remainder = static_cast<long long>(rem);
  const long long twoDelta = 2 * minorDelta;
  for (long long i = iFrom;; ++i) {
    const long long major = majorStart + i * majorStep;
    const long long minor = minorStart + quotient;
    if (minor >= minorLo && minor <= minorHi) {
      if (xMajor)
        plot(static_cast<int>(major), static_cast<int>(minor), i);
      else
        plot(static_cast<int>(minor), static_cast<int>(major), i);
    }
    if (i == iTo) break;
    remainder += twoDelta;  // |twoDelta| <= twoN: one correction at most
    if (remainder >= twoN) {
      remainder -= twoN;
      ++quotient;
    } else if (remainder < 0) {
      remainder += twoN;
      --quotient;
    }
  }
}

// The brush pattern at a picture pixel; hatches are 8 x 8 tiles anchored at the
// picture's origin.
bool PatternOn(BrushStyle style, long long px, long long py) {
  const bool h = (py & 7) == 0;
  const bool v = (px & 7) == 0;
  const bool f = ((px - py) & 7) == 0;
  const bool b = ((px + py) & 7) == 0;
  switch (style) {
    case BrushStyle::Solid: return true;
    case BrushStyle::Clear: return false;
    case BrushStyle::Horizontal: return h;
    case BrushStyle::Vertical: return v;
    case BrushStyle::FDiagonal: return f;
    case BrushStyle::BDiagonal: return b;
    case BrushStyle::Cross: return h || v;
    case BrushStyle::DiagCross: return f || b;
  }
  return true;
}

int Saturate(long long v) {
  return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The pen and brush of one shape as pixel operations.
struct Ink {
  std::uint32_t PenSrc;
  std::uint32_t BrushSrc;
  bool Pen;
  bool Brush;
  PenMode Mode;
  BrushStyle Style;
  long long OriginX;
  long long OriginY;

  void Outline(std::uint32_t& px) const {
    if (Pen) px = Combine(px, PenSrc, Mode);
  }
  // x, y are image coordinates; the pattern is anchored at the picture's origin.
  void Fill(std::uint32_t& px, int x, int y) const {
    if (Brush && PatternOn(Style, x + OriginX, y + OriginY)) px = Combine(px, BrushSrc, Mode);
  }
  // Pixels [from, to] of an image row.
  void FillSpan(std::uint32_t* line, int from, int to, int y) const {
    if (!Brush || from > to) return;
    if (Style == BrushStyle::Solid && Mode == PenMode::Copy) {
      std::fill(line + from, line + to + 1, BrushSrc);
      return;
    }
    for (int x = from; x <= to; ++x) Fill(line[x], x, y);
  }
  void OutlineSpan(std::uint32_t* line, int from, int to) const {
    if (!Pen || from > to) return;
    if (Mode == PenMode::Copy) {
      std::fill(line + from, line + to + 1, PenSrc);
      return;
    }
    for (int x = from; x <= to; ++x) Outline(line[x]);
  }
};

Ink InkOf(const CanvasPen& pen, const CanvasBrush& brush, TPoint origin) {
  return {Argb(pen.Color),   Argb(brush.Color), pen.Style != PenStyle::Clear, brush.Style != BrushStyle::Clear,
          pen.Mode,          brush.Style,       origin.X,                     origin.Y};
}

// The image pixels [L, R) x [T, B) that a rectangle or ellipse with these corners
// (in any order) covers, and the part of them inside the image.
struct ShapeBox {
  long long L, T, R, B;
  QRect Visible;
};

ShapeBox BoxOf(int x1, int y1, int x2, int y2, TPoint origin, const QRect& image) {
  ShapeBox s{std::min(x1, x2) - static_cast<long long>(origin.X), std::min(y1, y2) - static_cast<long long>(origin.Y),
             std::max(x1, x2) - static_cast<long long>(origin.X), std::max(y1, y2) - static_cast<long long>(origin.Y),
             {}};
  s.Visible = QRect(QPoint(Saturate(s.L), Saturate(s.T)), QPoint(Saturate(s.R - 1), Saturate(s.B - 1))).intersected(image);
  return s;
}

}  // namespace

// Which pixels of an image area a shape's outline or fill covers; a pixel is
// outline or fill, never both, so each is painted once.
class QtCanvas::Coverage {
 public:
  explicit Coverage(QRect area)
      : area_(area.isEmpty() ? QRect() : area),
        left_(area_.left()),
        top_(area_.top()),
        width_(area_.isEmpty() ? 0 : area_.width()),
        height_(area_.isEmpty() ? 0 : area_.height()),
        on_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}
  const QRect& Area() const { return area_; }
  bool Empty() const { return width_ == 0; }
  static constexpr std::uint8_t kOutline = 1;
  static constexpr std::uint8_t kFill = 2;
  void SetOutline(int x, int y) {
    if (Inside(x, y)) on_[Index(x, y)] = kOutline;
  }
  void SetFill(int x, int y) {
    if (Inside(x, y) && on_[Index(x, y)] == 0) on_[Index(x, y)] = kFill;
  }
  const std::uint8_t* Row(int y) const { return on_.data() + static_cast<std::size_t>(y - top_) * width_; }
  // Takes the pixels a QPainter drawing sets (aliased, white on black) as outline.
  template <class Draw>
  void RenderOutline(Draw&& draw) {
    if (Empty()) return;
    QImage mask(area_.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
      QPainter p(&mask);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.translate(-left_, -top_);
      draw(p);
    }
    for (int y = 0; y < height_; ++y) {
      const auto* line = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
      for (int x = 0; x < width_; ++x)
        if ((line[x] & 0xFFFFFFu) != 0) on_[static_cast<std::size_t>(y) * width_ + x] = kOutline;
    }
  }

 private:
  bool Inside(int x, int y) const {
    return static_cast<unsigned>(x - left_) < static_cast<unsigned>(width_) &&
           static_cast<unsigned>(y - top_) < static_cast<unsigned>(height_);
  }
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y - top_) * width_ + (x - left_); }

  QRect area_;
  int left_, top_, width_, height_;
  std::vector<std::uint8_t> on_;
};

// ---------------------------------------------------------------------------
// Canvas

QtCanvas::QtCanvas(QSize size, const ImageProvider* images) : images_(images) { Resize(size); }

QtCanvas::~QtCanvas() = default;

void QtCanvas::Resize(QSize size) {
  image_ = QImage(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
  // The screen's 96 pixels an inch, so that fonts given in points have their
  // screen size.
  image_.setDotsPerMeterX(3780);
  image_.setDotsPerMeterY(3780);
  image_.fill(Qt::white);
}

void QtCanvas::Fill(RgbColor color) { image_.fill(ToQColor(color)); }

RgbColor QtCanvas::PixelAt(int x, int y) const {
  if (!image_.rect().contains(x, y)) return 0;
  return FromQColor(QColor::fromRgb(image_.pixel(x, y)));
}

void QtCanvas::LineTo(int x, int y) {
  const TPoint from = PenPos();
  if (Pen.Width <= 1)
    Line(from, {x, y});
  else
    WideLine(from, {x, y});
  SetPenPos({x, y});
}

void QtCanvas::Polyline(const std::vector<TPoint>& points) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (Pen.Width <= 1)
      Line(points[i - 1], points[i]);
    else
      WideLine(points[i - 1], points[i]);
  }
}

void QtCanvas::Line(TPoint from, TPoint to) {
  if (Pen.Style == PenStyle::Clear || image_.isNull()) return;
  const std::uint32_t src = Argb(Pen.Color);
  const PenMode mode = Pen.Mode;
  const PenStyle style = Pen.Style;
  const long long ox = origin_.X;
  const long long oy = origin_.Y;
  uchar* bits = image_.bits();
  const qsizetype stride = image_.bytesPerLine();
  RasterLine(from.X - ox, from.Y - oy, to.X - ox, to.Y - oy, image_.rect(), [&](int px, int py, long long i) {
    if (!StyleOn(style, i)) return;
    auto* line = reinterpret_cast<std::uint32_t*>(bits + py * stride);
    line[px] = Combine(line[px], src, mode);
  });
}

void QtCanvas::WideLine(TPoint from, TPoint to) {
  if (Pen.Style == PenStyle::Clear || image_.isNull() || from == to) return;
  const long long ox = origin_.X;
  const long long oy = origin_.Y;
  const int w = Pen.Width;
  const QRect box = QRect(QPoint(Saturate(std::min(from.X, to.X) - ox - w), Saturate(std::min(from.Y, to.Y) - oy - w)),
                          QPoint(Saturate(std::max(from.X, to.X) - ox + w), Saturate(std::max(from.Y, to.Y) - oy + w)))
                        .intersected(image_.rect());
  Coverage outline(box);
  outline.RenderOutline([&](QPainter& p) {
    QPen pen(QColor(Qt::white), w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (Pen.Style == PenStyle::Dash) pen.setStyle(Qt::DashLine);
    if (Pen.Style == PenStyle::Dot) pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawLine(QPointF(from.X - ox + 0.5, from.Y - oy + 0.5), QPointF(to.X - ox + 0.5, to.Y - oy + 0.5));
  });
  Paint(outline);
}

void QtCanvas::Paint(const Coverage& shape) {
  const Ink ink = InkOf(Pen, Brush, origin_);
  const QRect area = shape.Area();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    const std::uint8_t* kinds = shape.Row(y) - area.left();
    for (int x = area.left(); x <= area.right(); ++x) {
      if (kinds[x] == Coverage::kOutline)
        ink.Outline(line[x]);
      else if (kinds[x] == Coverage::kFill)
        ink.Fill(line[x], x, y);
    }
  }
}

namespace {

// The corners of a four-point polygon whose edges run along the axes in turn and
// that encloses an area: left, top, right, bottom in picture pixels.
std::optional<std::array<long long, 4>> AxisRectangle(const std::vector<TPoint>& p) {
  if (p.size() != 4) return std::nullopt;
  const bool verticalFirst = p[0].X == p[1].X && p[1].Y == p[2].Y && p[2].X == p[3].X && p[3].Y == p[0].Y;
  const bool horizontalFirst = p[0].Y == p[1].Y && p[1].X == p[2].X && p[2].Y == p[3].Y && p[3].X == p[0].X;
  if (!verticalFirst && !horizontalFirst) return std::nullopt;
  const long long l = std::min(p[0].X, p[2].X), r = std::max(p[0].X, p[2].X);
  const long long t = std::min(p[0].Y, p[2].Y), b = std::max(p[0].Y, p[2].Y);
  if (l == r || t == b) return std::nullopt;
  return std::array<long long, 4>{l, t, r, b};
}

}  // namespace

// A rectangle given as a polygon (the shells of a plan view) has the pixels the
// general path below gives it: its four edges, each without its last pixel, make
// the whole border [l, r] x [t, b]; the centres inside are [l, r) x [t, b). Drawn
// row by row without a coverage mask, since there are thousands of them.
bool QtCanvas::AxisRectanglePolygon(const std::vector<TPoint>& points) {
  if (Pen.Width > 1 || (Pen.Style != PenStyle::Solid && Pen.Style != PenStyle::Clear)) return false;
  const auto corners = AxisRectangle(points);
  if (!corners) return false;
  const Ink ink = InkOf(Pen, Brush, origin_);
  const long long l = (*corners)[0] - origin_.X, t = (*corners)[1] - origin_.Y;
  const long long r = (*corners)[2] - origin_.X, b = (*corners)[3] - origin_.Y;
  const QRect image = image_.rect();
  auto clampX = [&](long long x) { return static_cast<int>(std::clamp<long long>(x, image.left() - 1LL, image.right() + 1LL)); };
  const int top = static_cast<int>(std::max<long long>(t, image.top()));
  const int bottom = static_cast<int>(std::min<long long>(ink.Pen ? b : b - 1, image.bottom()));
  for (int y = top; y <= bottom; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    if (!ink.Pen) {
      ink.FillSpan(line, std::max(clampX(l), image.left()), std::min(clampX(r - 1), image.right()), y);
    } else if (y == t || y == b) {
      ink.OutlineSpan(line, std::max(clampX(l), image.left()), std::min(clampX(r), image.right()));
    } else {
      if (l >= image.left() && l <= image.right()) ink.Outline(line[l]);
      ink.FillSpan(line, std::max(clampX(l + 1), image.left()), std::min(clampX(r - 1), image.right()), y);
      if (r >= image.left() && r <= image.right()) ink.Outline(line[r]);
    }
  }
  return true;
}

void QtCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2 || image_.isNull()) return;
  if (AxisRectanglePolygon(points)) return;
  const long long ox = origin_.X;
  const long long oy = origin_.Y;
  long long minX = points[0].X, maxX = points[0].X, minY = points[0].Y, maxY = points[0].Y;
  for (const TPoint& p : points) {
    minX = std::min<long long>(minX, p.X);
    maxX = std::max<long long>(maxX, p.X);
    minY = std::min<long long>(minY, p.Y);
    maxY = std::max<long long>(maxY, p.Y);
  }
  const int w = std::max(Pen.Width, 1);
  const QRect box =
      QRect(QPoint(Saturate(minX - ox - w), Saturate(minY - oy - w)), QPoint(Saturate(maxX - ox + w), Saturate(maxY - oy + w)))
          .intersected(image_.rect());
  if (box.isEmpty()) return;
  Coverage shape(box);
  if (Pen.Style != PenStyle::Clear) {
    if (Pen.Width <= 1) {
      for (std::size_t i = 0; i < points.size(); ++i) {
        const TPoint a = points[i];
        const TPoint b = points[(i + 1) % points.size()];
        RasterLine(a.X - ox, a.Y - oy, b.X - ox, b.Y - oy, box, [&](int px, int py, long long k) {
          if (StyleOn(Pen.Style, k)) shape.SetOutline(px, py);
        });
      }
    } else {
      shape.RenderOutline([&](QPainter& p) {
        p.setPen(QPen(QColor(Qt::white), Pen.Width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        QPolygonF poly;
        for (const TPoint& pt : points) poly << QPointF(pt.X - ox + 0.5, pt.Y - oy + 0.5);
        p.drawPolygon(poly);
      });
    }
  }
  // The fill takes the pixels whose centres are inside (even-odd rule): the left
  // and top edges in, the right and bottom ones out.
  if (Brush.Style != BrushStyle::Clear) {
    std::vector<long double> crossings;
    for (int y = box.top(); y <= box.bottom(); ++y) {
      const long double yc = y + 0.5L;
      crossings.clear();
      for (std::size_t i = 0; i < points.size(); ++i) {
        const long double ax = points[i].X - ox, ay = points[i].Y - oy;
        const TPoint& nb = points[(i + 1) % points.size()];
        const long double bx = nb.X - ox, by = nb.Y - oy;
        if ((ay <= yc && yc < by) || (by <= yc && yc < ay)) crossings.push_back(ax + (yc - ay) * (bx - ax) / (by - ay));
      }
      std::sort(crossings.begin(), crossings.end());
      for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
        // Pixels x with x + 0.5 in [from, to).
        const int from = static_cast<int>(std::clamp<long double>(std::ceil(crossings[i] - 0.5L), box.left(), box.right() + 1));
        const int to = static_cast<int>(std::clamp<long double>(std::ceil(crossings[i + 1] - 0.5L) - 1, box.left() - 1, box.right()));
        for (int x = from; x <= to; ++x) shape.SetFill(x, y);
      }
    }
  }
  Paint(shape);
}

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2 || image_.isNull()) return;
  const ShapeBox sb = BoxOf(x1, y1, x2, y2, origin_, image_.rect());
  if (sb.Visible.isEmpty()) return;
  const long long l = sb.L, t = sb.T, r = sb.R, b = sb.B;
  const QRect& box = sb.Visible;
  const Ink ink = InkOf(Pen, Brush, origin_);
  // With a pen, a frame of its width inside the covered area; styled pens run
  // along it. Each pixel is either frame or fill, never both.
  const long long w = ink.Pen ? std::max(Pen.Width, 1) : 0;
  const PenStyle style = Pen.Style;
  const int left = box.left();
  const int right = box.right();
  // The frame's columns within the box: [left, leftEnd] and [rightStart, right].
  const int leftEnd = static_cast<int>(std::clamp<long long>(l + w - 1, left - 1LL, right));
  const int rightStart = static_cast<int>(std::clamp<long long>(r - w, left, right + 1LL));
  for (int y = box.top(); y <= box.bottom(); ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    const bool frameRow = y < t + w || y >= b - w;
    if (style != PenStyle::Solid && ink.Pen) {
      for (int x = left; x <= right; ++x) {
        if (frameRow || x <= leftEnd || x >= rightStart) {
          if (StyleOn(style, frameRow ? x - l : y - t)) ink.Outline(line[x]);
        } else {
          ink.Fill(line[x], x, y);
        }
      }
    } else if (frameRow) {
      ink.OutlineSpan(line, left, right);
    } else {
      ink.OutlineSpan(line, left, std::min(leftEnd, right));
      ink.FillSpan(line, std::max(left, leftEnd + 1), std::min(right, rightStart - 1), y);
      ink.OutlineSpan(line, std::max(rightStart, std::max(left, leftEnd + 1)), right);
    }
  }
}

namespace {

// A row of pixels [First, Last]; empty when First > Last.
struct Span {
  long long First = 0;
  long long Last = -1;
};

// The pixels whose centres lie inside the ellipse inscribed in the box whose
// pixels are [l, r) x [t, b), shrunk by k pixels on every side: one span a row.
// The extreme rows and columns of the box always hold pixels, so the shape keeps
// to its box without its right and bottom edges.
Span EllipseRow(long long l, long long t, long long r, long long b, long long k, long long y) {
  l += k;
  t += k;
  r -= k;
  b -= k;
  if (r <= l || b <= t || y < t || y >= b) return {};
  const long double a = (r - l) / 2.0L;
  const long double bb = (b - t) / 2.0L;
  const long double cx = (l + r) / 2.0L - 0.5L;
  const long double cy = (t + b) / 2.0L - 0.5L;
  const long double d = (y - cy) / bb;
  if (d * d > 1) return {};
  const long double h = a * std::sqrt(1 - d * d);
  constexpr long double kEps = 1e-9L;
  Span s{static_cast<long long>(std::ceil(cx - h - kEps)), static_cast<long long>(std::floor(cx + h + kEps))};
  s.First = std::max(s.First, l);
  s.Last = std::min(s.Last, r - 1);
  return s;
}

}  // namespace

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2 || image_.isNull()) return;
  const ShapeBox sb = BoxOf(x1, y1, x2, y2, origin_, image_.rect());
  if (sb.Visible.isEmpty()) return;
  const long long l = sb.L, t = sb.T, r = sb.R, b = sb.B;
  const QRect& box = sb.Visible;
  const bool pen = Pen.Style != PenStyle::Clear;
  // The outline is the shape less the inside of the shape shrunk by the pen width
  // less one; the inside of a row is what its neighbours above and below also hold.
  const long long k = pen ? std::max(Pen.Width, 1) - 1 : 0;
  const Ink ink = InkOf(Pen, Brush, origin_);
  // The shrunk rows above, at and below y, each computed once and handed on to the
  // next row (a knot is an ellipse, and there are thousands); with a pen one pixel
  // wide the shrunk shape is the shape itself.
  Span above = pen ? EllipseRow(l, t, r, b, k, box.top() - 1LL) : Span{};
  Span row = pen ? EllipseRow(l, t, r, b, k, box.top()) : Span{};
  for (int y = box.top(); y <= box.bottom(); ++y) {
    const Span below = pen ? EllipseRow(l, t, r, b, k, y + 1LL) : Span{};
    const Span whole = pen && k == 0 ? row : EllipseRow(l, t, r, b, 0, y);
    Span inside;
    if (!pen) {
      inside = whole;
    } else if (row.First <= row.Last && above.First <= above.Last && below.First <= below.Last) {
      inside.First = std::max({row.First + 1, above.First, below.First});
      inside.Last = std::min({row.Last - 1, above.Last, below.Last});
    }
    above = row;
    row = below;
    if (whole.First > whole.Last) continue;
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    const int from = static_cast<int>(std::max<long long>(whole.First, box.left()));
    const int to = static_cast<int>(std::min<long long>(whole.Last, box.right()));
    for (int x = from; x <= to; ++x) {
      if (x >= inside.First && x <= inside.Last)
        ink.Fill(line[x], x, y);
      else
        ink.Outline(line[x]);
    }
  }
}

void QtCanvas::SetPixel(int x, int y, RgbColor color) {
  const long long lx = x - static_cast<long long>(origin_.X);
  const long long ly = y - static_cast<long long>(origin_.Y);
  if (lx < 0 || ly < 0 || lx >= image_.width() || ly >= image_.height()) return;
  auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(static_cast<int>(ly)));
  line[lx] = Argb(color);
}

QFont QtCanvas::ToQFont(const CanvasFont& font) {
  QFont f(ToQString(font.Name));
  // Points at the screen's 96 pixels an inch, whole pixels as the platform has them.
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * 96.0 / 72.0))));
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

PixelSize QtCanvas::TextExtent(std::string_view utf8) {
  const QFontMetrics metrics(ToQFont(Font), &image_);
  return {metrics.horizontalAdvance(ToQString(utf8)), metrics.height()};
}

void QtCanvas::TextOut(int x, int y, std::string_view utf8) {
  if (image_.isNull() || utf8.empty()) return;
  const QString text = ToQString(utf8);
  const QFont font = ToQFont(Font);
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setFont(font);
  const QFontMetrics metrics(font, &image_);
  const qreal lx = static_cast<qreal>(x) - origin_.X;
  const qreal ly = static_cast<qreal>(y) - origin_.Y;
  // The platform's text position is the top-left corner of the text cell.
  if (Brush.Style != BrushStyle::Clear)
    p.fillRect(QRectF(lx, ly, metrics.horizontalAdvance(text), metrics.height()), ToQColor(Brush.Color));
  p.setPen(ToQColor(Font.Color));
  p.drawText(QPointF(lx, ly + metrics.ascent()), text);
}

void QtCanvas::DrawImage(std::string_view list, int index, int x, int y) {
  if (images_ == nullptr || image_.isNull()) return;
  const QImage picture = images_->Image(list, index);
  if (picture.isNull()) return;
  QPainter p(&image_);
  p.drawImage(QPointF(static_cast<qreal>(x) - origin_.X, static_cast<qreal>(y) - origin_.Y), picture);
}

}  // namespace tavir
