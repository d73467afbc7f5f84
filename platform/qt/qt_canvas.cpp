#include "platform/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
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

std::uint32_t Argb(TColor c) {
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

// floor(num / den) rounded half up, den > 0.
long long RoundDiv(Wide num, Wide den) {
  Wide twice = 2 * num + den;
  Wide q = twice / (2 * den);
  if (twice % (2 * den) != 0 && twice < 0) --q;
  return static_cast<long long>(q);
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
  for (long long i = iFrom; i <= iTo; ++i) {
    const long long major = majorStart + i * majorStep;
    const long long minor = minorStart + RoundDiv(static_cast<Wide>(i) * minorDelta, n);
    if (minor < minorLo || minor > minorHi) continue;
    if (xMajor)
      plot(static_cast<int>(major), static_cast<int>(minor), i);
    else
      plot(static_cast<int>(minor), static_cast<int>(major), i);
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

}  // namespace

// Which pixels of an image area a shape's outline or fill covers.
class QtCanvas::Coverage {
 public:
  explicit Coverage(QRect area) : area_(area), on_(Count(area), 0) {}
  const QRect& Area() const { return area_; }
  bool Empty() const { return area_.isEmpty(); }
  void Set(int x, int y) {
    if (area_.contains(x, y)) on_[Index(x, y)] = 1;
  }
  bool On(int x, int y) const { return area_.contains(x, y) && on_[Index(x, y)] != 0; }
  // Takes the pixels a QPainter drawing sets (aliased, white on black).
  template <class Draw>
  void Render(Draw&& draw) {
    if (area_.isEmpty()) return;
    QImage mask(area_.size(), QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
      QPainter p(&mask);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.translate(-area_.left(), -area_.top());
      draw(p);
    }
    for (int y = 0; y < mask.height(); ++y) {
      const auto* line = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
      for (int x = 0; x < mask.width(); ++x)
        if ((line[x] & 0xFFFFFFu) != 0) on_[static_cast<std::size_t>(y) * area_.width() + x] = 1;
    }
  }

 private:
  static std::size_t Count(const QRect& r) {
    return r.isEmpty() ? 0 : static_cast<std::size_t>(r.width()) * static_cast<std::size_t>(r.height());
  }
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y - area_.top()) * area_.width() + (x - area_.left());
  }
  QRect area_;
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

void QtCanvas::Fill(TColor color) { image_.fill(ToQColor(color)); }

TColor QtCanvas::PixelAt(int x, int y) const {
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
  RasterLine(from.X - ox, from.Y - oy, to.X - ox, to.Y - oy, image_.rect(), [&](int px, int py, long long i) {
    if (!StyleOn(style, i)) return;
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(py));
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
  Coverage none(QRect{});
  outline.Render([&](QPainter& p) {
    QPen pen(QColor(Qt::white), w, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (Pen.Style == PenStyle::Dash) pen.setStyle(Qt::DashLine);
    if (Pen.Style == PenStyle::Dot) pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawLine(QPointF(from.X - ox + 0.5, from.Y - oy + 0.5), QPointF(to.X - ox + 0.5, to.Y - oy + 0.5));
  });
  Paint(outline, none);
}

void QtCanvas::Paint(const Coverage& outline, const Coverage& fill) {
  const std::uint32_t penSrc = Argb(Pen.Color);
  const std::uint32_t brushSrc = Argb(Brush.Color);
  const bool pen = Pen.Style != PenStyle::Clear;
  const bool brush = Brush.Style != BrushStyle::Clear;
  const QRect area = outline.Area().united(fill.Area()).intersected(image_.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    for (int x = area.left(); x <= area.right(); ++x) {
      if (outline.On(x, y)) {
        if (pen) line[x] = Combine(line[x], penSrc, Pen.Mode);
      } else if (brush && fill.On(x, y) &&
                 PatternOn(Brush.Style, static_cast<long long>(x) + origin_.X, static_cast<long long>(y) + origin_.Y)) {
        line[x] = Combine(line[x], brushSrc, Pen.Mode);
      }
    }
  }
}

void QtCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2 || image_.isNull()) return;
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
  Coverage outline(box);
  if (Pen.Style != PenStyle::Clear) {
    if (Pen.Width <= 1) {
      for (std::size_t i = 0; i < points.size(); ++i) {
        const TPoint a = points[i];
        const TPoint b = points[(i + 1) % points.size()];
        RasterLine(a.X - ox, a.Y - oy, b.X - ox, b.Y - oy, box, [&](int px, int py, long long k) {
          if (StyleOn(Pen.Style, k)) outline.Set(px, py);
        });
      }
    } else {
      outline.Render([&](QPainter& p) {
        p.setPen(QPen(QColor(Qt::white), Pen.Width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        QPolygonF poly;
        for (const TPoint& pt : points) poly << QPointF(pt.X - ox + 0.5, pt.Y - oy + 0.5);
        p.drawPolygon(poly);
      });
    }
  }
  Coverage fill(Brush.Style == BrushStyle::Clear ? QRect{} : box);
  fill.Render([&](QPainter& p) {
    // Aliased fills take the pixels whose centres are inside: the left and top
    // edges in, the right and bottom ones out.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPolygon poly;
    for (const TPoint& pt : points) poly << QPoint(Saturate(pt.X - ox), Saturate(pt.Y - oy));
    p.drawPolygon(poly, Qt::OddEvenFill);
  });
  Paint(outline, fill);
}

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x1 == x2 || y1 == y2 || image_.isNull()) return;
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  // Image coordinates of the covered pixels: [l, r) x [t, b).
  const long long l = x1 - static_cast<long long>(origin_.X);
  const long long r = x2 - static_cast<long long>(origin_.X);
  const long long t = y1 - static_cast<long long>(origin_.Y);
  const long long b = y2 - static_cast<long long>(origin_.Y);
  const QRect box = QRect(QPoint(Saturate(l), Saturate(t)), QPoint(Saturate(r - 1), Saturate(b - 1))).intersected(image_.rect());
  if (box.isEmpty()) return;
  Coverage outline(Pen.Style == PenStyle::Clear ? QRect{} : box);
  if (Pen.Style != PenStyle::Clear) {
    const long long w = std::max(Pen.Width, 1);
    // A frame of the pen's width inside the covered area; styled pens run along it.
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x) {
        const bool edge = x < l + w || x >= r - w || y < t + w || y >= b - w;
        if (!edge) continue;
        if (Pen.Style != PenStyle::Solid) {
          const long long along = (y < t + w || y >= b - w) ? x - l : y - t;
          if (!StyleOn(Pen.Style, along)) continue;
        }
        outline.Set(x, y);
      }
  }
  Coverage fill(Brush.Style == BrushStyle::Clear ? QRect{} : box);
  if (Brush.Style != BrushStyle::Clear)
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x) fill.Set(x, y);
  Paint(outline, fill);
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
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const long long l = x1 - static_cast<long long>(origin_.X);
  const long long r = x2 - static_cast<long long>(origin_.X);
  const long long t = y1 - static_cast<long long>(origin_.Y);
  const long long b = y2 - static_cast<long long>(origin_.Y);
  const QRect box = QRect(QPoint(Saturate(l), Saturate(t)), QPoint(Saturate(r - 1), Saturate(b - 1))).intersected(image_.rect());
  if (box.isEmpty()) return;
  const bool pen = Pen.Style != PenStyle::Clear;
  // The outline is the shape less the inside of the shape shrunk by the pen width
  // less one; the inside of a row is what its neighbours above and below also hold.
  const long long k = pen ? std::max(Pen.Width, 1) - 1 : 0;
  Coverage outline(pen ? box : QRect{});
  Coverage fill(Brush.Style == BrushStyle::Clear ? QRect{} : box);
  for (int y = box.top(); y <= box.bottom(); ++y) {
    const Span whole = EllipseRow(l, t, r, b, 0, y);
    if (whole.First > whole.Last) continue;
    Span inside;
    if (!pen) {
      inside = whole;
    } else {
      const Span row = EllipseRow(l, t, r, b, k, y);
      const Span above = EllipseRow(l, t, r, b, k, y - 1);
      const Span below = EllipseRow(l, t, r, b, k, y + 1);
      if (row.First <= row.Last && above.First <= above.Last && below.First <= below.Last) {
        inside.First = std::max({row.First + 1, above.First, below.First});
        inside.Last = std::min({row.Last - 1, above.Last, below.Last});
      }
    }
    const long long from = std::max<long long>(whole.First, box.left());
    const long long to = std::min<long long>(whole.Last, box.right());
    for (long long x = from; x <= to; ++x) {
      if (x >= inside.First && x <= inside.Last)
        fill.Set(static_cast<int>(x), y);
      else
        outline.Set(static_cast<int>(x), y);
    }
  }
  Paint(outline, fill);
}

void QtCanvas::SetPixel(int x, int y, TColor color) {
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

TSize QtCanvas::TextExtent(std::string_view utf8) {
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
