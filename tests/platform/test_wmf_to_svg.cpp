// Our metafiles read by an independent program (wmf2svg of libwmf).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/binstream.h"
#include "platform/cp1251.h"
#include "platform/wmf_canvas.h"
#include "scratch_folder.h"
#include "wmf2svg.h"

namespace tavir {
namespace {

namespace fs = std::filesystem;

std::size_t Occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

TEST(WmfToSvg, PolygonsLinesAndTextSurviveConversion) {
  WmfCanvas c(400, 300);
  c.Brush = {0xF0CAA6, BrushStyle::Solid};
  c.Polygon({{10, 10}, {100, 10}, {100, 100}});
  c.Pen.Color = 0x0000FF;
  c.Polygon({{110, 10}, {200, 10}, {200, 100}, {110, 100}});
  c.Brush.Style = BrushStyle::Cross;
  c.Polygon({{210, 10}, {300, 10}, {300, 100}});
  c.MoveTo(0, 0);
  c.LineTo(50, 50);
  c.Pen.Style = PenStyle::Dash;
  c.LineTo(80, 70);
  c.Font = {"Arial", 10, 0x00FF00};
  c.TextOut(20, 150, "Тело пластины");
  c.Brush.Style = BrushStyle::Clear;
  c.TextOut(20, 200, "Plate 1");
  c.Finish();

  const ScratchFolder scratch("tavir-wmf2svg");
  const fs::path wmfPath = scratch.Path() / "picture.wmf";
  WriteFileAtomic(wmfPath.string(), c.Bytes());
  const std::string svg = testing::Wmf2Svg(wmfPath);
  ASSERT_FALSE(svg.empty());
  EXPECT_EQ(Occurrences(svg, "<polygon"), 3u) << svg;
  EXPECT_EQ(Occurrences(svg, "<line"), 2u) << svg;
  // The pen change reaches the reader: one black outline, then red for two polygons and two lines.
  EXPECT_EQ(Occurrences(svg, "stroke:black"), 1u);
  EXPECT_EQ(Occurrences(svg, "stroke:red"), 4u);
  EXPECT_EQ(Occurrences(svg, "<text"), 2u);
  // The reader passes the text bytes through: the Cyrillic label arrives in CP1251.
  EXPECT_EQ(Occurrences(svg, *Utf8ToCp1251("Тело пластины")), 1u);
  EXPECT_EQ(Occurrences(svg, "Plate 1"), 1u);
}

}  // namespace
}  // namespace tavir
