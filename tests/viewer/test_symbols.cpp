#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/recording_canvas.h"
#include "platform/wmf_reader.h"
#include "viewer/symbols.h"
#include "wmf2svg.h"

namespace tavir {
namespace {

using testing_wmf::ReadWmf;

struct ListCase {
  const char* List;
  int Count;
  int Side;
};
constexpr ListCase kLists[] = {{"IL_Rests", kRestSymbolCount, kRestSymbolSide},
                               {"IL_Forces", kForceSymbolCount, kForceSymbolSide}};

// Every point a call touches.
std::vector<TPoint> Points(const RecordingCanvas& c) {
  std::vector<TPoint> out;
  for (const auto& call : c.Calls) out.insert(out.end(), call.Points.begin(), call.Points.end());
  return out;
}

TEST(Symbols, EveryPictureIsDrawnInsideItsBoxAndNoTwoAreAlike) {
  for (const ListCase& l : kLists) {
    std::set<std::vector<std::pair<int, int>>> pictures;
    for (int i = 0; i < l.Count; ++i) {
      ASSERT_TRUE(HasBuiltInSymbol(l.List, i));
      RecordingCanvas c;
      c.Pen.Color = 0x123456;
      c.Brush.Style = BrushStyle::Cross;
      c.Font.Size = 17;
      DrawBuiltInSymbol(c, l.List, i, 100, 200);
      ASSERT_FALSE(c.Calls.empty()) << l.List << " " << i;
      EXPECT_FALSE(c.CallsOf(CanvasOp::LineTo).empty()) << l.List << " " << i;
      std::vector<std::pair<int, int>> shape;
      for (const TPoint& p : Points(c)) {
        EXPECT_GE(p.X, 100) << l.List << " " << i;
        EXPECT_LE(p.X, 100 + l.Side) << l.List << " " << i;
        EXPECT_GE(p.Y, 200) << l.List << " " << i;
        EXPECT_LE(p.Y, 200 + l.Side) << l.List << " " << i;
        shape.emplace_back(p.X, p.Y);
      }
      EXPECT_TRUE(pictures.insert(shape).second) << l.List << " " << i << " looks like another";
      // Drawn in the symbol colour, and the canvas is left as it was.
      for (const auto& call : c.Calls)
        EXPECT_EQ(call.Pen.Color, std::string(l.List) == "IL_Rests" ? kRestSymbolColor : kForceSymbolColor);
      EXPECT_EQ(c.Pen.Color, 0x123456u);
      EXPECT_EQ(c.Brush.Style, BrushStyle::Cross);
      EXPECT_EQ(c.Font.Size, 17);
    }
  }
}

TEST(Symbols, LoadArrowsPointAtTheKnot) {
  // The knot sits where the drawing of the loads puts it relative to the picture:
  // +Px at the right middle, -Px at the left middle, +Py at the top middle (up).
  struct Case {
    int index;
    TPoint knot;
  };
  for (const Case& k : {Case{0, {24, 12}}, Case{1, {0, 12}}, Case{2, {12, 0}}, Case{3, {12, 24}},
                        Case{4, {24, 24}}, Case{5, {0, 0}}}) {
    RecordingCanvas c;
    DrawBuiltInSymbol(c, "IL_Forces", k.index, 0, 0);
    const auto heads = c.CallsOf(CanvasOp::Polygon);
    ASSERT_EQ(heads.size(), 1u) << k.index;
    const TPoint tip = heads[0].Points[0];
    EXPECT_LE(std::abs(tip.X - k.knot.X) + std::abs(tip.Y - k.knot.Y), 2) << k.index;
  }
  // Moments carry two heads.
  for (int i = 6; i < 10; ++i) {
    RecordingCanvas c;
    DrawBuiltInSymbol(c, "IL_Forces", i, 0, 0);
    EXPECT_EQ(c.CallsOf(CanvasOp::Polygon).size(), 2u) << i;
  }
}

TEST(Symbols, UnknownPicturesDrawNothing) {
  for (const auto& [list, index] : std::vector<std::pair<const char*, int>>{
           {"IL_Rests", -1}, {"IL_Rests", 16}, {"IL_Forces", 10}, {"IL_MAIN", 0}, {"", 0}}) {
    EXPECT_FALSE(HasBuiltInSymbol(list, index));
    RecordingCanvas c;
    DrawBuiltInSymbol(c, list, index, 0, 0);
    EXPECT_TRUE(c.Calls.empty()) << list << " " << index;
  }
}

TEST(Symbols, TheMetafileCanvasWritesThemAsPrimitivesAndABitmapWhenOneIsGiven) {
  SymbolWmfCanvas c(200, 100);
  c.DrawImage("IL_Forces", 0, 100, 50);
  c.DrawImage("IL_Rests", 14, 10, 10);
  c.DrawImage("IL_MAIN", 3, 0, 0);
  c.Finish();
  const auto f = ReadWmf(c.Bytes());
  ASSERT_EQ(f.Error, "");
  EXPECT_EQ(f.Count(wmf::kStretchDib), 0u);
  const auto polys = f.Of(wmf::kPolygon);
  ASSERT_EQ(polys.size(), 2u);  // the arrow head, the clamp's block
  for (std::size_t p = 0; p < polys[0].Word(0); ++p) {
    EXPECT_GE(polys[0].Int(1 + 2 * p), 100);
    EXPECT_LE(polys[0].Int(1 + 2 * p), 124);
    EXPECT_GE(polys[0].Int(2 + 2 * p), 50);
    EXPECT_LE(polys[0].Int(2 + 2 * p), 74);
  }
  EXPECT_GE(f.Count(wmf::kLineTo), 2u);

  // A bitmap from the provider is written as it is; the rest stay primitives.
  SymbolWmfCanvas b(200, 100, [](std::string_view list, int index) -> std::optional<WmfImage> {
    if (list != "IL_Rests" || index != 14) return std::nullopt;
    return WmfImage{2, 2, std::vector<std::uint8_t>(12, 0x80)};
  });
  b.DrawImage("IL_Forces", 0, 100, 50);
  b.DrawImage("IL_Rests", 14, 10, 10);
  b.Finish();
  const auto g = ReadWmf(b.Bytes());
  ASSERT_EQ(g.Error, "");
  EXPECT_EQ(g.Count(wmf::kStretchDib), 1u);
  EXPECT_EQ(g.Count(wmf::kPolygon), 1u);
}

TEST(Symbols, AnIndependentReaderDrawsEverySymbol) {
  SymbolWmfCanvas c(400, 100);
  int x = 0;
  for (int i = 0; i < kRestSymbolCount; ++i, x += 20) DrawBuiltInSymbol(c, "IL_Rests", i, x, 10);
  x = 0;
  for (int i = 0; i < kForceSymbolCount; ++i, x += 30) DrawBuiltInSymbol(c, "IL_Forces", i, x, 50);
  c.Finish();
  std::random_device rd;
  const auto dir = std::filesystem::temp_directory_path() / ("tavir-symbols-" + std::to_string(rd()));
  std::filesystem::create_directories(dir);
  const auto path = dir / "symbols.wmf";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(c.Bytes().data()), static_cast<std::streamsize>(c.Bytes().size()));
  }
  const auto f = ReadWmf(c.Bytes());
  ASSERT_EQ(f.Error, "");
  const std::string svg = testing::Wmf2Svg(path);
  ASSERT_FALSE(svg.empty());
  std::size_t polygons = 0, lines = 0;
  for (std::size_t at = svg.find("<polygon"); at != std::string::npos; at = svg.find("<polygon", at + 1)) ++polygons;
  for (std::size_t at = svg.find("<line"); at != std::string::npos; at = svg.find("<line", at + 1)) ++lines;
  EXPECT_EQ(polygons, f.Count(wmf::kPolygon));
  EXPECT_EQ(lines, f.Count(wmf::kLineTo));
  // Drawn in the symbol colours (blue supports, red loads).
  EXPECT_NE(svg.find("stroke:navy"), std::string::npos) << svg.substr(0, 1500);
  EXPECT_NE(svg.find("stroke:red"), std::string::npos);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

}  // namespace
}  // namespace tavir
