#pragma once
// The drawing surface every picture of the system is drawn on. Backends: the
// recording canvas (tests), the QPainter canvas (screen) and the metafile canvas
// (export). The platform's conventions hold in every backend: LineTo leaves out
// its last pixel, Rectangle and Ellipse leave out their right and bottom edges,
// a degenerate shape draws nothing. Text is drawn on an opaque background of the
// brush colour unless the brush style is Clear.
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace tavir {

enum class PenStyle : std::uint8_t { Solid = 0, Dash = 1, Dot = 2, Clear = 3 };
enum class PenMode : std::uint8_t { Copy = 0, NotXor = 1, Not = 2, Xor = 3 };
// Numbered as stored in project files.
enum class BrushStyle : std::uint8_t {
  Solid = 0, Clear = 1, Horizontal = 2, Vertical = 3, FDiagonal = 4, BDiagonal = 5, Cross = 6, DiagCross = 7
};

struct CanvasPen {
  RgbColor Color = 0;
  int Width = 1;  // 0 draws one pixel wide
  PenStyle Style = PenStyle::Solid;
  PenMode Mode = PenMode::Copy;
  friend bool operator==(const CanvasPen&, const CanvasPen&) = default;
};

struct CanvasBrush {
  RgbColor Color = 0xFFFFFF;
  BrushStyle Style = BrushStyle::Solid;
  friend bool operator==(const CanvasBrush&, const CanvasBrush&) = default;
};

struct CanvasFont {
  std::string Name = "Arial";
  int Size = 8;  // points
  RgbColor Color = 0;
  friend bool operator==(const CanvasFont&, const CanvasFont&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  CanvasPen Pen;
  CanvasBrush Brush;
  CanvasFont Font;

  TPoint PenPos() const { return penPos_; }
  virtual void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // Draws from the current position to (x, y), then moves there.
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(const std::vector<TPoint>& points) = 0;
  virtual void Polygon(const std::vector<TPoint>& points) = 0;
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void SetPixel(int x, int y, RgbColor color) = 0;
  virtual void TextOut(int x, int y, std::string_view utf8) = 0;
  virtual PixelSize TextExtent(std::string_view utf8) = 0;
  // A picture of a named image list ("IL_Rests", "IL_Forces", ...), top-left at (x, y).
  virtual void DrawImage(std::string_view list, int index, int x, int y) = 0;

 protected:
  void SetPenPos(TPoint p) { penPos_ = p; }

 private:
  TPoint penPos_{};
};

// Saves the pen, brush and font of a canvas and puts them back when it goes out of
// scope: every drawing routine holds one, so no routine leaks its settings.
class CanvasStateGuard {
 public:
  explicit CanvasStateGuard(Canvas& canvas)
      : canvas_(canvas), pen_(canvas.Pen), brush_(canvas.Brush), font_(canvas.Font) {}
  ~CanvasStateGuard() {
    canvas_.Pen = pen_;
    canvas_.Brush = brush_;
    canvas_.Font = font_;
  }
  CanvasStateGuard(const CanvasStateGuard&) = delete;
  CanvasStateGuard& operator=(const CanvasStateGuard&) = delete;

 private:
  Canvas& canvas_;
  CanvasPen pen_;
  CanvasBrush brush_;
  CanvasFont font_;
};

// Counts the code points of a UTF-8 text (text measuring in the plain backends).
std::size_t Utf8Length(std::string_view utf8);

}  // namespace tavir
