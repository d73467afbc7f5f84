#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/recording_canvas.h"

namespace tavir {
namespace {

TEST(CanvasStateGuard, RestoresPenBrushAndFont) {
  RecordingCanvas canvas;
  canvas.Pen = {0x0000FF, 2, PenStyle::Dash, PenMode::Copy};
  canvas.Brush = {0x00FF00, BrushStyle::Cross};
  canvas.Font = {"Courier New", 10, 0x123456};
  const CanvasPen pen = canvas.Pen;
  const CanvasBrush brush = canvas.Brush;
  const CanvasFont font = canvas.Font;
  {
    CanvasStateGuard guard(canvas);
    canvas.Pen = {0xFF0000, 0, PenStyle::Clear, PenMode::NotXor};
    canvas.Brush = {0xF0CAA6, BrushStyle::Clear};
    canvas.Font = {"Arial", 8, 0};
  }
  EXPECT_EQ(canvas.Pen, pen);
  EXPECT_EQ(canvas.Brush, brush);
  EXPECT_EQ(canvas.Font, font);

  // Also when the drawing routine leaves by an exception.
  try {
    CanvasStateGuard guard(canvas);
    canvas.Pen.Mode = PenMode::Xor;
    canvas.Font.Size = 30;
    throw std::runtime_error("drawing failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(canvas.Pen, pen);
  EXPECT_EQ(canvas.Font, font);
}

TEST(RecordingCanvas, LineToStartsAtTheCurrentPosition) {
  RecordingCanvas canvas;
  canvas.MoveTo(1, 2);
  canvas.LineTo(5, 6);
  canvas.Pen.Color = 0xFF0000;
  canvas.LineTo(7, -8);
  ASSERT_EQ(canvas.Calls.size(), 2u);
  EXPECT_EQ(canvas.Calls[0].Points, (std::vector<TPoint>{{1, 2}, {5, 6}}));
  EXPECT_EQ(canvas.Calls[1].Points, (std::vector<TPoint>{{5, 6}, {7, -8}}));
  EXPECT_EQ(canvas.Calls[0].Pen.Color, 0u);
  EXPECT_EQ(canvas.Calls[1].Pen.Color, 0xFF0000u) << "each call records the pen in force";
  EXPECT_EQ(canvas.PenPos(), (TPoint{7, -8}));
  // Shapes and text leave the position alone.
  canvas.Rectangle(0, 0, 3, 3);
  canvas.TextOut(10, 10, "x");
  EXPECT_EQ(canvas.PenPos(), (TPoint{7, -8}));
  EXPECT_EQ(canvas.CallsOf(CanvasOp::LineTo).size(), 2u);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Text).at(0).Text, "x");
}

TEST(RecordingCanvas, TextExtentCountsCodePoints) {
  RecordingCanvas canvas;
  canvas.Font.Size = 9;  // 7 pixels a character, 13 high
  EXPECT_EQ(canvas.TextExtent("Тело"), (PixelSize{28, 13}));
  EXPECT_EQ(canvas.TextExtent(""), (PixelSize{0, 13}));
  EXPECT_EQ(Utf8Length("Тело 1"), 6u);
}

}  // namespace
}  // namespace tavir
