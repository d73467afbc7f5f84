#include "platform/recording_canvas.h"

namespace tavir {

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

CanvasCall RecordingCanvas::Make(CanvasOp op) const {
  CanvasCall c{op, {}, {}, 0, 0, Pen, Brush, Font};
  return c;
}

void RecordingCanvas::LineTo(int x, int y) {
  auto c = Make(CanvasOp::LineTo);
  c.Points = {PenPos(), TPoint{x, y}};
  Calls.push_back(std::move(c));
  SetPenPos({x, y});
}

void RecordingCanvas::Polyline(const std::vector<TPoint>& points) {
  auto c = Make(CanvasOp::Polyline);
  c.Points = points;
  Calls.push_back(std::move(c));
}

void RecordingCanvas::Polygon(const std::vector<TPoint>& points) {
  auto c = Make(CanvasOp::Polygon);
  c.Points = points;
  Calls.push_back(std::move(c));
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  auto c = Make(CanvasOp::Rectangle);
  c.Points = {TPoint{x1, y1}, TPoint{x2, y2}};
  Calls.push_back(std::move(c));
}

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  auto c = Make(CanvasOp::Ellipse);
  c.Points = {TPoint{x1, y1}, TPoint{x2, y2}};
  Calls.push_back(std::move(c));
}

void RecordingCanvas::SetPixel(int x, int y, RgbColor color) {
  auto c = Make(CanvasOp::Pixel);
  c.Points = {TPoint{x, y}};
  c.Color = color;
  Calls.push_back(std::move(c));
}

void RecordingCanvas::TextOut(int x, int y, std::string_view utf8) {
  auto c = Make(CanvasOp::Text);
  c.Points = {TPoint{x, y}};
  c.Text = std::string(utf8);
  Calls.push_back(std::move(c));
}

PixelSize RecordingCanvas::TextExtent(std::string_view utf8) {
  const int perChar = Font.Size * 2 / 3 + 1;
  return {static_cast<std::int32_t>(Utf8Length(utf8)) * perChar, Font.Size * 4 / 3 + 1};
}

void RecordingCanvas::DrawImage(std::string_view list, int index, int x, int y) {
  auto c = Make(CanvasOp::Image);
  c.Points = {TPoint{x, y}};
  c.Text = std::string(list);
  c.Index = index;
  Calls.push_back(std::move(c));
}

std::vector<CanvasCall> RecordingCanvas::CallsOf(CanvasOp op) const {
  std::vector<CanvasCall> out;
  for (const auto& c : Calls)
    if (c.Op == op) out.push_back(c);
  return out;
}

}  // namespace tavir
