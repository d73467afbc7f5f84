#pragma once
// The screen backend of Canvas: QPainter on a raster QImage the size of the visible
// area (raster operations need a raster device), without antialiasing, so that
// pixels follow the platform's rules: LineTo leaves out its last pixel, rectangles
// and ellipses leave out their right and bottom edges, a degenerate shape draws
// nothing, NOT XOR drawn twice restores the picture.
//
// Drawing coordinates are picture pixels; Origin() is the picture pixel shown at the
// image's top-left corner (the scroll position), so a picture larger than the
// screen is drawn through a window of the screen's size.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>
#include <map>
#include <string>
#include <string_view>

#include "platform/canvas.h"

namespace tavir {

// The pictures of the named image lists ("IL_Rests", "IL_Forces", ...) that
// DrawImage draws. A null image draws nothing.
class ImageProvider {
 public:
  virtual ~ImageProvider() = default;
  virtual QImage Image(std::string_view list, int index) const = 0;
};

// Image lists as strips of equal cells, like the platform's image lists.
class ImageLists : public ImageProvider {
 public:
  // A strip of pictures cellWidth wide (its height is the cell height).
  void Add(const std::string& list, const QImage& strip, int cellWidth);
  int Count(std::string_view list) const;
  QImage Image(std::string_view list, int index) const override;

 private:
  struct Strip {
    QImage Pictures;
    int CellWidth = 0;
  };
  std::map<std::string, Strip, std::less<>> lists_;
};

class QtCanvas : public Canvas {
 public:
  explicit QtCanvas(QSize size, const ImageProvider* images = nullptr);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  // A new size clears the picture to white.
  void Resize(QSize size);
  QSize Size() const { return image_.size(); }
  void SetOrigin(TPoint origin) { origin_ = origin; }
  TPoint Origin() const { return origin_; }
  void SetImages(const ImageProvider* images) { images_ = images; }

  // Fills the whole image (the pen mode does not apply).
  void Fill(RgbColor color);
  // The picture drawn so far.
  const QImage& Image() const { return image_; }
  // The colour of an image pixel (image coordinates, not picture ones).
  RgbColor PixelAt(int x, int y) const;

  void LineTo(int x, int y) override;
  void Polyline(const std::vector<TPoint>& points) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void SetPixel(int x, int y, RgbColor color) override;
  void TextOut(int x, int y, std::string_view utf8) override;
  PixelSize TextExtent(std::string_view utf8) override;
  void DrawImage(std::string_view list, int index, int x, int y) override;

  // The Qt font for a canvas font at the screen's 96 pixels an inch.
  static QFont ToQFont(const CanvasFont& font);

 private:
  class Coverage;
  void Line(TPoint from, TPoint to);
  void WideLine(TPoint from, TPoint to);
  // The polygon when it is a rectangle along the axes with a thin solid or no pen;
  // false when it is not (nothing drawn then).
  bool AxisRectanglePolygon(const std::vector<TPoint>& points);
  // Applies the pen to the outline pixels and the brush to the fill pixels that
  // are not outline, each pixel once, so the raster operations stay exact.
  void Paint(const Coverage& shape);

  QImage image_;
  TPoint origin_{};
  const ImageProvider* images_ = nullptr;
};

}  // namespace tavir
