#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "model/symbols.h"
#include "platform/recording_canvas.h"

namespace tavir {
namespace {

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

}  // namespace
}  // namespace tavir
