#pragma once
// A canvas that draws nothing and records every call with the pen, brush and font
// in force, for tests of the drawing routines.
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace tavir {

enum class CanvasOp { LineTo, Polyline, Polygon, Rectangle, Ellipse, Pixel, Text, Image };

struct CanvasCall {
  CanvasOp Op;
  std::vector<TPoint> Points;  // LineTo: from, to; Rectangle/Ellipse: the two corners; Pixel/Text/Image: the position
  std::string Text;            // Text: the text; Image: the list name
  int Index = 0;               // Image: picture index
  RgbColor Color = 0;            // Pixel: its colour
  CanvasPen Pen;
  CanvasBrush Brush;
  CanvasFont Font;
};

class RecordingCanvas : public Canvas {
 public:
  void LineTo(int x, int y) override;
  void Polyline(const std::vector<TPoint>& points) override;
  void Polygon(const std::vector<TPoint>& points) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void SetPixel(int x, int y, RgbColor color) override;
  void TextOut(int x, int y, std::string_view utf8) override;
  // A fixed-pitch estimate: each character is (Size * 2 / 3 + 1) pixels wide and
  // the line Size * 4 / 3 + 1 high, so that layouts are reproducible in tests.
  PixelSize TextExtent(std::string_view utf8) override;
  void DrawImage(std::string_view list, int index, int x, int y) override;

  std::vector<CanvasCall> Calls;
  std::vector<CanvasCall> CallsOf(CanvasOp op) const;
  void Clear() { Calls.clear(); }

 private:
  CanvasCall Make(CanvasOp op) const;
};

}  // namespace tavir
