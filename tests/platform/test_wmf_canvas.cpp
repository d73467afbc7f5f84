#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/cp1251.h"
#include "platform/wmf_canvas.h"
#include "tests/platform/wmf_reader.h"

namespace tavir {
namespace {

using testing_wmf::ReadWmf;
using testing_wmf::WmfFile;
using testing_wmf::WmfRecord;

WmfFile Play(WmfCanvas& canvas) {
  canvas.Finish();
  WmfFile f = ReadWmf(canvas.Bytes());
  EXPECT_EQ(f.Error, "");
  return f;
}

std::string Text(const WmfRecord& r) {
  const std::size_t n = static_cast<std::size_t>(r.Int(0));
  return std::string(r.Params.begin() + 2, r.Params.begin() + 2 + static_cast<std::ptrdiff_t>(n));
}

// A plan-view-like drawing: filled polygons, lines, a Cyrillic label, pen changes.
TEST(WmfCanvas, WritesASoundMetafileOfADrawing) {
  WmfCanvas c(400, 300);
  c.Pen = {0x0000FF, 1, PenStyle::Solid, PenMode::Copy};
  c.Brush = {0xF0CAA6, BrushStyle::Solid};
  c.Polygon({{10, 10}, {100, 10}, {100, 100}});
  c.Polygon({{110, 10}, {200, 10}, {200, 100}, {110, 100}});  // same pen and brush: no new objects
  c.Pen.Color = 0xFF0000;
  c.Polygon({{210, 10}, {300, 10}, {300, 100}});
  c.MoveTo(0, 0);
  c.LineTo(50, 50);
  c.LineTo(60, 70);  // continues from the player's position: no second MOVETO
  c.Pen.Style = PenStyle::Dash;
  c.LineTo(80, 70);
  c.Font = {"Arial", 10, 0x00FF00};
  c.TextOut(20, 30, "Тело пластины");
  c.Brush.Style = BrushStyle::Clear;
  c.TextOut(20, 60, "Тело");

  const WmfFile f = Play(c);
  EXPECT_EQ(f.Left, 0);
  EXPECT_EQ(f.Top, 0);
  EXPECT_EQ(f.Right, 400);
  EXPECT_EQ(f.Bottom, 300);
  EXPECT_EQ(f.Inch, 96);

  ASSERT_EQ(f.Count(wmf::kSetWindowOrg), 1u);
  EXPECT_EQ(f.Of(wmf::kSetWindowOrg)[0].Params, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  ASSERT_EQ(f.Count(wmf::kSetWindowExt), 1u);
  EXPECT_EQ(f.Of(wmf::kSetWindowExt)[0].Int(0), 300);  // y first
  EXPECT_EQ(f.Of(wmf::kSetWindowExt)[0].Int(1), 400);

  EXPECT_EQ(f.Count(wmf::kPolygon), 3u);
  EXPECT_EQ(f.Count(wmf::kMoveTo), 1u);
  EXPECT_EQ(f.Count(wmf::kLineTo), 3u);
  EXPECT_EQ(f.Count(wmf::kTextOut), 2u);
  EXPECT_EQ(f.Count(wmf::kCreateBrushIndirect), 1u);
  EXPECT_EQ(f.Count(wmf::kCreateFontIndirect), 1u);

  // Pens: blue, red, red dashed; each replaces the last and reuses the lowest free slot.
  const auto pens = f.Of(wmf::kCreatePenIndirect);
  ASSERT_EQ(pens.size(), 3u);
  EXPECT_EQ(pens[0].CreatedSlot, 0);  // brush goes to 1
  EXPECT_EQ(pens[1].CreatedSlot, 2);  // 0 is still selected while 2 is created
  EXPECT_EQ(pens[2].CreatedSlot, 0);
  EXPECT_EQ(pens[0].DWord(3), 0x0000FFu);
  EXPECT_EQ(pens[1].DWord(3), 0xFF0000u);
  EXPECT_EQ(pens[2].Word(0), 1u);  // PS_DASH
  EXPECT_EQ(f.Objects, 3u);  // pen, brush and the pen swapped in; the font takes the freed slot 2
  EXPECT_EQ(f.Of(wmf::kCreateFontIndirect).at(0).CreatedSlot, 2);
  EXPECT_EQ(f.Count(wmf::kDeleteObject), 2u);

  // The label is CP1251 in the record, padded to a whole word, position last.
  const auto texts = f.Of(wmf::kTextOut);
  EXPECT_EQ(Text(texts[0]), *Utf8ToCp1251("Тело пластины"));
  EXPECT_EQ(texts[0].Params.size(), 2u + 14u + 4u);
  EXPECT_EQ(texts[0].Int(1 + 7), 30);
  EXPECT_EQ(texts[0].Int(1 + 7 + 1), 20);
  EXPECT_EQ(Text(texts[1]), "\xD2\xE5\xEB\xEE");

  const auto font = f.Of(wmf::kCreateFontIndirect)[0];
  EXPECT_EQ(font.Int(0), -13);  // 10 points at 96 pixels an inch
  EXPECT_EQ(font.Int(4), 400);
  EXPECT_EQ(font.Params[13], wmf::kRussianCharset);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(font.Params.data() + 18)), "Arial");
  ASSERT_EQ(f.Count(wmf::kSetTextColor), 1u);
  EXPECT_EQ(f.Of(wmf::kSetTextColor)[0].DWord(0), 0x00FF00u);

  // Opaque text on the brush colour, then transparent text for the clear brush.
  const auto modes = f.Of(wmf::kSetBkMode);
  ASSERT_EQ(modes.size(), 3u);  // transparent for the dashed line, opaque, transparent
  EXPECT_EQ(modes[0].Word(0), 1u);
  EXPECT_EQ(modes[1].Word(0), 2u);
  EXPECT_EQ(modes[2].Word(0), 1u);
  ASSERT_EQ(f.Count(wmf::kSetBkColor), 1u);
  EXPECT_EQ(f.Of(wmf::kSetBkColor)[0].DWord(0), 0xF0CAA6u);
}

TEST(WmfCanvas, Rop2FollowsThePenMode) {
  const struct {
    PenMode mode;
    std::uint16_t rop;
  } cases[] = {{PenMode::Copy, 13}, {PenMode::NotXor, 10}, {PenMode::Not, 6}, {PenMode::Xor, 7}};
  WmfCanvas c(100, 100);
  for (const auto& k : cases) {
    c.Pen.Mode = k.mode;
    c.Rectangle(1, 1, 10, 10);
    c.Rectangle(2, 2, 10, 10);  // unchanged: not written again
  }
  const auto rops = Play(c).Of(wmf::kSetRop2);
  ASSERT_EQ(rops.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(rops[i].Word(0), cases[i].rop);
}

TEST(WmfCanvas, PenAndBrushObjects) {
  const struct {
    PenStyle style;
    std::uint16_t ps;
  } pens[] = {{PenStyle::Solid, 0}, {PenStyle::Dash, 1}, {PenStyle::Dot, 2}, {PenStyle::Clear, 5}};
  const struct {
    BrushStyle style;
    std::uint16_t bs, hatch;
  } brushes[] = {{BrushStyle::Solid, 0, 0},      {BrushStyle::Clear, 1, 0},     {BrushStyle::Horizontal, 2, 0},
                 {BrushStyle::Vertical, 2, 1},   {BrushStyle::FDiagonal, 2, 2}, {BrushStyle::BDiagonal, 2, 3},
                 {BrushStyle::Cross, 2, 4},      {BrushStyle::DiagCross, 2, 5}};
  WmfCanvas c(100, 100);
  for (const auto& p : pens) {
    c.Pen = {0x112233, 3, p.style, PenMode::Copy};
    c.Polyline({{0, 0}, {5, 5}});
  }
  for (const auto& b : brushes) {
    c.Brush = {0x445566, b.style};
    c.Ellipse(0, 0, 20, 10);
  }
  const WmfFile f = Play(c);
  const auto penRecords = f.Of(wmf::kCreatePenIndirect);
  ASSERT_EQ(penRecords.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(penRecords[i].Word(0), pens[i].ps);
    EXPECT_EQ(penRecords[i].Params.size(), 10u);
  }
  EXPECT_EQ(penRecords[0].Int(1), 3);
  EXPECT_EQ(penRecords[0].DWord(3), 0x112233u);
  const auto brushRecords = f.Of(wmf::kCreateBrushIndirect);
  ASSERT_EQ(brushRecords.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(brushRecords[i].Word(0), brushes[i].bs) << i;
    EXPECT_EQ(brushRecords[i].Word(3), brushes[i].hatch) << i;
  }
  EXPECT_EQ(brushRecords[0].DWord(1), 0x445566u);
  // One pen and one brush are alive at a time, plus the one being swapped in.
  EXPECT_EQ(f.Objects, 3u);
  EXPECT_EQ(f.Count(wmf::kEllipse), 8u);
}

TEST(WmfCanvas, CoordinatesSaturateToSixteenBits) {
  WmfCanvas c(32767, -5);  // the largest picture written unscaled; no height is one unit
  c.MoveTo(-100000, 5);
  c.LineTo(100000, -100000);
  c.Rectangle(1, 2, 70000, 4);
  c.SetPixel(40000, -40000, 0xABCDEF);
  const WmfFile f = Play(c);
  EXPECT_EQ(f.Right, 32767);
  EXPECT_EQ(f.Bottom, 1);
  const auto move = f.Of(wmf::kMoveTo).at(0);
  EXPECT_EQ(move.Int(0), 5);
  EXPECT_EQ(move.Int(1), -32768);
  const auto line = f.Of(wmf::kLineTo).at(0);
  EXPECT_EQ(line.Int(0), -32768);
  EXPECT_EQ(line.Int(1), 32767);
  const auto rect = f.Of(wmf::kRectangle).at(0);  // bottom, right, top, left
  EXPECT_EQ(rect.Int(0), 4);
  EXPECT_EQ(rect.Int(1), 32767);
  EXPECT_EQ(rect.Int(2), 2);
  EXPECT_EQ(rect.Int(3), 1);
  const auto pixel = f.Of(wmf::kSetPixel).at(0);
  EXPECT_EQ(pixel.DWord(0), 0xABCDEFu);
  EXPECT_EQ(pixel.Int(2), -32768);
  EXPECT_EQ(pixel.Int(3), 32767);
}

TEST(WmfCanvas, APictureWiderThanSixteenBitsIsScaledWholeAndKeepsItsPaperSize) {
  // 57,600 x 900 pixels at 96 an inch is 600 x 9.375 inches: 54 units an inch
  // (96 x 32767 / 57600, rounded down) give 32,400 x 506 units, the same paper.
  WmfCanvas c(57600, 900, [](std::string_view, int) -> std::optional<WmfImage> {
    return WmfImage{18, 18, std::vector<std::uint8_t>(18 * 18 * 3, 0x40)};
  });
  EXPECT_EQ(c.UnitsPerInch(), 54);
  c.DrawImage("IL_Rests", 0, 57582, 450);
  EXPECT_EQ(c.Scale(), 54.0L / 96);
  c.MoveTo(0, 0);
  c.LineTo(57600, 900);
  c.Pen.Width = 4;
  c.Rectangle(40000, 100, 57599, 800);
  c.Polygon({{0, 0}, {48000, 0}, {48000, 450}});
  c.Font.Size = 12;
  c.TextOut(50000, 800, "конец");
  const WmfFile f = Play(c);
  ASSERT_EQ(f.Error, "");
  EXPECT_EQ(f.Inch, 54);
  EXPECT_EQ(f.Right, 32400);
  EXPECT_EQ(f.Bottom, 506);  // 900 x 0.5625 = 506.25
  EXPECT_EQ(f.Right * 96 / f.Inch, 57600);
  const auto window = f.Of(wmf::kSetWindowExt).at(0);
  EXPECT_EQ(window.Int(0), 506);
  EXPECT_EQ(window.Int(1), 32400);
  const auto line = f.Of(wmf::kLineTo).at(0);  // y, x
  EXPECT_EQ(line.Int(0), 506);
  EXPECT_EQ(line.Int(1), 32400);
  const auto rect = f.Of(wmf::kRectangle).at(0);  // bottom, right, top, left
  EXPECT_EQ(rect.Int(3), 22500);
  EXPECT_EQ(rect.Int(1), 32399);  // 57599 x 0.5625 = 32399.4
  const auto poly = f.Of(wmf::kPolygon).at(0);
  EXPECT_EQ(poly.Int(3), 27000);
  EXPECT_EQ(poly.Int(6), 253);  // 450 x 0.5625 = 253.125
  const auto text = f.Of(wmf::kTextOut).at(0);
  EXPECT_EQ(text.Int(text.Params.size() / 2 - 1), 28125);  // x after the text
  // The pen and the font shrink with the picture.
  const auto pens = f.Of(wmf::kCreatePenIndirect);
  EXPECT_EQ(pens.front().Int(1), 1);
  EXPECT_EQ(pens.back().Int(1), 2);  // 4 x 0.5625
  EXPECT_EQ(f.Of(wmf::kCreateFontIndirect).at(0).Int(0), -9);  // 16 pixels x 0.5625
  // A picture keeps its 18 source pixels and lands on 10 units at the right edge.
  const auto dib = f.Of(wmf::kStretchDib).at(0);
  EXPECT_EQ(dib.Int(3), 18);
  EXPECT_EQ(dib.Int(4), 18);
  EXPECT_EQ(dib.Int(7), 10);
  EXPECT_EQ(dib.Int(8), 10);
  EXPECT_EQ(dib.Int(9), 253);
  EXPECT_EQ(dib.Int(10), 32390);  // 57582 x 0.5625 = 32389.9
}

TEST(WmfCanvas, TheInchFieldFollowsTheLargerSide) {
  struct Case {
    int w, h;
    std::uint16_t inch;
    std::int16_t right, bottom;
  };
  const Case cases[] = {
      {32767, 10, 96, 32767, 10},       // still 16 bits: unscaled
      {32768, 10, 95, 32427, 10},       // 96 x 32767 / 32768 = 95.99
      {100, 65534, 48, 50, 32767},      // the height decides
      {3145632, 1, 1, 32767, 1},        // one unit an inch: 96 times the range
      {6291264, 96, 1, 32767, 1},       // beyond: whole, in proportion, smaller on paper
  };
  for (const Case& k : cases) {
    WmfCanvas c(k.w, k.h);
    const WmfFile f = Play(c);
    ASSERT_EQ(f.Error, "") << k.w;
    EXPECT_EQ(f.Inch, k.inch) << k.w;
    EXPECT_EQ(f.Right, k.right) << k.w;
    EXPECT_EQ(f.Bottom, k.bottom) << k.w;
  }
}

TEST(WmfCanvas, DegenerateShapesWriteNothing) {
  WmfCanvas c(100, 100);
  c.Rectangle(5, 5, 5, 20);
  c.Ellipse(5, 5, 20, 5);
  c.Rectangle(40000, 0, 50000, 10);  // both sides saturate to the same x
  c.Polygon({{1, 1}});
  c.Polyline({});
  c.TextOut(0, 0, "");
  const WmfFile f = Play(c);
  EXPECT_EQ(f.Records.size(), 2u) << "only the window origin and extent";
  EXPECT_EQ(f.Objects, 0u);
}

TEST(WmfCanvas, LongPolylinesAreSplitAndHugePolygonsRefused) {
  std::vector<TPoint> points;
  for (int i = 0; i < 40000; ++i) points.push_back({i % 1000, i / 1000});
  WmfCanvas c(1000, 100);
  c.Polyline(points);
  EXPECT_THROW(c.Polygon(points), std::runtime_error);
  const auto lines = Play(c).Of(wmf::kPolyline);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Int(0), 32767);
  EXPECT_EQ(lines[1].Int(0), 40000 - 32766);
  // The second piece starts where the first ended.
  EXPECT_EQ(lines[1].Int(1), points[32766].X);
  EXPECT_EQ(lines[1].Int(2), points[32766].Y);
}

TEST(WmfCanvas, TextOutsideTheCodePageBecomesQuestionMarks) {
  WmfCanvas c(100, 100);
  c.Font.Name = "Шрифт";
  c.TextOut(1, 2, "a中б\xFFz");
  const WmfFile f = Play(c);
  EXPECT_EQ(Text(f.Of(wmf::kTextOut).at(0)), "a?\xE1?z");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.Of(wmf::kCreateFontIndirect).at(0).Params.data() + 18)),
            "\xD8\xF0\xE8\xF4\xF2");
}

TEST(WmfCanvas, ImagesComeFromTheProvider) {
  int asked = 0;
  WmfImageProvider provider = [&asked](std::string_view list, int index) -> std::optional<WmfImage> {
    ++asked;
    if (list != "IL_Rests") return std::nullopt;
    if (index == 1) return WmfImage{2, 2, {1, 2, 3}};  // too few pixels: left out
    // 2 x 2: red, green / blue, white.
    return WmfImage{2, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}};
  };
  WmfCanvas c(100, 100, provider);
  c.DrawImage("IL_Rests", 0, 30, 40);
  c.DrawImage("IL_Rests", 1, 0, 0);
  c.DrawImage("IL_Forces", 0, 0, 0);
  const WmfFile f = Play(c);
  EXPECT_EQ(asked, 3);
  const auto dibs = f.Of(wmf::kStretchDib);
  ASSERT_EQ(dibs.size(), 1u);
  const WmfRecord& d = dibs[0];
  EXPECT_EQ(d.DWord(0), 0x00CC0020u);  // SRCCOPY
  EXPECT_EQ(d.Word(2), 0u);            // RGB colours
  EXPECT_EQ(d.Int(3), 2);              // source height, width
  EXPECT_EQ(d.Int(4), 2);
  EXPECT_EQ(d.Int(9), 40);  // destination y, x
  EXPECT_EQ(d.Int(10), 30);
  const std::size_t bih = 22;
  EXPECT_EQ(d.DWord(bih / 2), 40u);
  EXPECT_EQ(d.DWord(bih / 2 + 2), 2u);
  EXPECT_EQ(d.DWord(bih / 2 + 4), 2u);
  EXPECT_EQ(d.Word(bih / 2 + 7), 24u);
  EXPECT_EQ(d.DWord(bih / 2 + 10), 16u);  // two rows of 8 bytes
  // Rows from the bottom, blue-green-red, padded to four bytes.
  const std::vector<std::uint8_t> pixels(d.Params.begin() + bih + 40, d.Params.end());
  EXPECT_EQ(pixels, (std::vector<std::uint8_t>{255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0}));

  WmfCanvas none(10, 10);
  none.DrawImage("IL_Rests", 0, 1, 1);
  EXPECT_EQ(Play(none).Count(wmf::kStretchDib), 0u);
}

TEST(WmfCanvas, FinishEndsTheFile) {
  WmfCanvas c(10, 10);
  EXPECT_THROW(c.Bytes(), std::logic_error);
  c.Rectangle(0, 0, 5, 5);
  c.Finish();
  const std::vector<std::uint8_t> bytes = c.Bytes();
  c.Finish();
  EXPECT_EQ(c.Bytes(), bytes);
  EXPECT_THROW(c.LineTo(1, 1), std::logic_error);
  EXPECT_THROW(c.TextOut(1, 1, "x"), std::logic_error);
  // Ends in META_EOF: three words, function 0.
  ASSERT_GE(bytes.size(), 6u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.end() - 6, bytes.end()), (std::vector<std::uint8_t>{3, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ReadWmf(bytes).Error, "");
}

TEST(WmfCanvas, ReaderCatchesBrokenFiles) {
  WmfCanvas c(10, 10);
  c.Rectangle(0, 0, 5, 5);
  c.Finish();
  const std::vector<std::uint8_t> good = c.Bytes();
  auto broken = good;
  broken[10] ^= 1;  // bounding box without a new checksum
  EXPECT_EQ(ReadWmf(broken).Error, "checksum");
  broken = good;
  broken.resize(good.size() - 2);
  EXPECT_NE(ReadWmf(broken).Error, "");
  broken = good;
  broken[22 + 18] = 2;  // first record claims 2 words
  EXPECT_NE(ReadWmf(broken).Error, "");
}

TEST(WmfCanvas, TextExtentGrowsWithSizeAndLength) {
  WmfCanvas c(10, 10);
  c.Font.Size = 8;
  const TSize one = c.TextExtent("Т");
  EXPECT_GT(one.Width, 0);
  EXPECT_EQ(c.TextExtent("ТТТ").Width, 3 * one.Width);
  c.Font.Size = 16;
  EXPECT_GT(c.TextExtent("Т").Height, one.Height);
  EXPECT_EQ(c.TextExtent("").Width, 0);
}

}  // namespace
}  // namespace tavir
