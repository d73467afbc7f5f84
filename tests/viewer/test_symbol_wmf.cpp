#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/wmf_reader.h"
#include "scratch_folder.h"
#include "viewer/symbols.h"
#include "wmf2svg.h"

namespace tavir {
namespace {

using testing_wmf::ReadWmf;

TEST(SymbolWmf, TheMetafileCanvasWritesThemAsPrimitivesAndABitmapWhenOneIsGiven) {
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

TEST(SymbolWmf, AnIndependentReaderDrawsEverySymbol) {
  SymbolWmfCanvas c(400, 100);
  int x = 0;
  for (int i = 0; i < kRestSymbolCount; ++i, x += 20) DrawBuiltInSymbol(c, "IL_Rests", i, x, 10);
  x = 0;
  for (int i = 0; i < kForceSymbolCount; ++i, x += 30) DrawBuiltInSymbol(c, "IL_Forces", i, x, 50);
  c.Finish();
  const ScratchFolder scratch("tavir-symbols");
  const auto path = scratch.Path() / "symbols.wmf";
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
}

}  // namespace
}  // namespace tavir
