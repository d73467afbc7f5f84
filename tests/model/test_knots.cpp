#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "model/elements.h"
#include "model/knots.h"
#include "platform/recording_canvas.h"

namespace tavir {
namespace {

std::int32_t Int32At(const std::vector<std::uint8_t>& b, std::size_t off) {
  return static_cast<std::int32_t>(std::uint32_t{b[off]} | (std::uint32_t{b[off + 1]} << 8) |
                                   (std::uint32_t{b[off + 2]} << 16) | (std::uint32_t{b[off + 3]} << 24));
}

TViewTransform Window(std::uint8_t projection) {
  TViewTransform w;
  w.MinPoint = FloatPoint3D(0, 0, 0);
  w.MaxPoint = FloatPoint3D(10, 20, 30);
  w.Scale = FloatPoint(0.1L, 0.1L);
  w.Width = 100;
  w.Height = 300;
  w.Projection = CodeOfByte<Projection>(projection);
  return w;
}

TEditorKnot KnotAt(Extended x, Extended y, Extended z) {
  TEditorKnot k;
  k.SetX(x);
  k.SetY(y);
  k.SetZ(z);
  return k;
}

TEST(Knots, RecordIsThirtyBytesAndReadingResetsScreenState) {
  TEditorKnot k = KnotAt(1.5L, -2, 3.25L);
  BinaryWriter w;
  k.SaveToStream(w);
  ASSERT_EQ(w.Size(), kKnotRecordBytes);
  EXPECT_EQ(DecodeExtended(w.Bytes().data()), 1.5L);
  EXPECT_EQ(DecodeExtended(w.Bytes().data() + 10), -2);
  EXPECT_EQ(DecodeExtended(w.Bytes().data() + 20), 3.25L);

  TEditorKnot back;
  back.SetVisible(1);
  back.SetScreenPoint({7, 8});
  BinaryReader r(w.Bytes());
  back.LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(back.X, 1.5L);
  EXPECT_EQ(back.Y, -2);
  EXPECT_EQ(back.Z, 3.25L);
  EXPECT_EQ(back.Visible, 0);
  EXPECT_EQ(back.ScreenPoint, (TPoint{0, 0}));

  std::vector<std::uint8_t> shortRecord(w.Bytes().begin(), w.Bytes().end() - 1);
  BinaryReader rs(shortRecord);
  TEditorKnot untouched = KnotAt(9, 9, 9);
  EXPECT_THROW(untouched.LoadFromStream(rs), EFormatError);
  EXPECT_EQ(untouched.X, 9);
}

TEST(Knots, ProjectTakesTheProjectionsAxes) {
  TEditorKnot k = KnotAt(1, 2, 3);
  k.Project(Window(0));
  EXPECT_EQ(k.ScreenPoint, (TPoint{10, 280}));
  k.Project(Window(1));
  EXPECT_EQ(k.ScreenPoint, (TPoint{20, 270}));
  k.Project(Window(2));
  EXPECT_EQ(k.ScreenPoint, (TPoint{10, 270}));
  k.Project(Window(3));  // unknown projection: unchanged
  EXPECT_EQ(k.ScreenPoint, (TPoint{10, 270}));
}

TEST(Knots, VisibilityByProjectionBoundsInclusive) {
  struct Case {
    std::uint8_t projection;
    Extended x, y, z;
    std::uint8_t want;
  };
  const Case cases[] = {
      {0, 10, 5, 100, 1},   // on maximum X; Z does not count
      {2, 10, 100, 30, 1},  // on maximum X and Z; Y does not count
      {0, 10.0001L, 5, 0, 0},
      {0, 0, 0, 0, 1},      // on the minimum corner
      {1, -50, 20, 15, 1},  // X outside the window's X limits: no matter in projection 1
      {1, 5, 20.5L, 15, 0},
      {2, 5, 5, -0.1L, 0},
  };
  for (const Case& c : cases) {
    TEditorKnot k = KnotAt(c.x, c.y, c.z);
    k.SetVisible(1 - c.want);
    k.UpdateVisible(Window(c.projection));
    EXPECT_EQ(k.Visible, c.want) << int{c.projection} << " " << static_cast<double>(c.x);
  }
  TEditorKnot k = KnotAt(-100, -100, -100);
  k.SetVisible(1);
  k.UpdateVisible(Window(7));
  EXPECT_EQ(k.Visible, 1);
}

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    knot.SetScreenPoint({100, 50});
    knot.SetVisible(1);
    canvas.Pen = CanvasPen{0x123456, 3, PenStyle::Dot, PenMode::NotXor};
    canvas.Brush = CanvasBrush{0x654321, BrushStyle::Cross};
  }
  void ExpectRestored() const {
    EXPECT_EQ(canvas.Pen, (CanvasPen{0x123456, 3, PenStyle::Dot, PenMode::NotXor}));
    EXPECT_EQ(canvas.Brush, (CanvasBrush{0x654321, BrushStyle::Cross}));
  }
  struct Image {
    int Index, X, Y;
    friend bool operator==(const Image&, const Image&) = default;
  };
  std::vector<Image> Images(const char* list) const {
    std::vector<Image> out;
    for (const auto& c : canvas.CallsOf(CanvasOp::Image)) {
      EXPECT_EQ(c.Text, list);
      out.push_back({c.Index, c.Points[0].X, c.Points[0].Y});
    }
    return out;
  }
  TEditorKnot knot;
  RecordingCanvas canvas;
};

TEST_F(DrawTest, KnotIsASmallDiscInItsColours) {
  knot.Draw(canvas);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  const CanvasCall& c = canvas.Calls[0];
  EXPECT_EQ(c.Op, CanvasOp::Ellipse);
  EXPECT_EQ(c.Points, (std::vector<TPoint>{{98, 48}, {102, 52}}));
  EXPECT_EQ(c.Pen, (CanvasPen{0, 1, PenStyle::Solid, PenMode::Copy}));
  EXPECT_EQ(c.Brush, (CanvasBrush{0x808080, BrushStyle::Solid}));
  ExpectRestored();

  canvas.Clear();
  knot.SetSelected(1);
  knot.Draw(canvas);
  ASSERT_EQ(canvas.Calls.size(), 1u);
  EXPECT_EQ(canvas.Calls[0].Pen.Color, 0xFF0000u);
  EXPECT_EQ(canvas.Calls[0].Brush.Color, 0xF0CAA6u);
  ExpectRestored();

  canvas.Clear();
  knot.SetVisible(0);
  knot.Draw(canvas);
  EXPECT_TRUE(canvas.Calls.empty());
  ExpectRestored();
}

TEST_F(DrawTest, SupportSymbolsByRestraints) {
  struct Case {
    TFixation fixation;
    std::int32_t d;
    std::vector<Image> want;
  };
  const std::vector<Case> cases = {
      {{1, 1, 1, 1, 1, 0}, 1, {{15, 82, 32}}},                     // all five: that picture alone
      {{1, 1, 1, 1, 1, 1}, 0, {{14, 100, 50}}},
      {{0, 0, 0, 0, 0, 1}, 0, {}},                                 // restraint 6 has no picture
      {{1, 0, 0, 1, 0, 0}, 0, {{10, 100, 41}}},
      {{1, 0, 0, 0, 0, 0}, 1, {{1, 82, 41}}},
      {{0, 1, 0, 0, 1, 0}, 0, {{12, 91, 50}}},
      {{0, 1, 0, 0, 0, 0}, 1, {{3, 91, 32}}},
      {{0, 0, 1, 0, 0, 0}, 0, {{4, 100, 50}}},
      {{0, 0, 0, 1, 0, 0}, 1, {{7, 82, 41}}},
      {{0, 0, 0, 0, 1, 0}, 0, {{8, 91, 50}}},
      {{1, 1, 1, 0, 0, 0}, 0, {{0, 100, 41}, {2, 91, 50}, {4, 100, 50}}},
      {{1, 1, 1, 1, 0, 0}, 1, {{11, 82, 41}, {3, 91, 32}, {5, 82, 32}}},
      {{2, 2, 2, 2, 2, 2}, 0, {}},                                 // a byte other than 1 is free
  };
  for (const Case& c : cases) {
    canvas.Clear();
    TEditorSupport s;
    s.Fixation = c.fixation;
    s.SetDirection(c.d);
    s.Knot = &knot;
    s.Draw(canvas);
    EXPECT_EQ(Images("IL_Rests"), c.want) << int{c.fixation[0]} << int{c.fixation[1]} << int{c.fixation[2]}
                                          << int{c.fixation[3]} << int{c.fixation[4]} << " d=" << c.d;
    ASSERT_FALSE(canvas.Calls.empty());
    EXPECT_EQ(canvas.Calls.back().Op, CanvasOp::Ellipse);  // the knot over the pictures
    ExpectRestored();
  }
}

TEST_F(DrawTest, SupportOrLoadWithoutKnotDrawsNothing) {
  TEditorSupport s;
  s.Fixation = {1, 1, 1, 1, 1, 1};
  s.Draw(canvas);
  TEditorConcentrateForce f;
  f.Force.Px = 1;
  f.Draw(canvas);
  EXPECT_TRUE(canvas.Calls.empty());
}

TEST_F(DrawTest, SymbolsAtTheEdgeOfThePixelRangeSaturate) {
  knot.SetScreenPoint({std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()});
  TEditorSupport s;
  s.Fixation = {1, 1, 1, 1, 1, 0};
  s.SetDirection(1);
  s.Knot = &knot;
  s.Draw(canvas);
  const auto images = Images("IL_Rests");
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].X, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(images[0].Y, std::numeric_limits<std::int32_t>::max() - 18);
}

TEST_F(DrawTest, ConcentratedLoadArrows) {
  TEditorConcentrateForce f;
  f.Knot = &knot;
  f.Force.Px = -3;
  f.Force.Mz = 7;
  f.Draw(canvas);
  EXPECT_EQ(Images("IL_Forces"), (std::vector<Image>{{1, 100, 38}}));
  EXPECT_TRUE(canvas.CallsOf(CanvasOp::Ellipse).empty());  // the knot is not drawn
  ExpectRestored();

  struct Case {
    int component;
    Image positive, negative;
  };
  const Case cases[] = {
      {1, {0, 76, 38}, {1, 100, 38}},  {2, {2, 88, 50}, {3, 88, 26}},  {3, {4, 76, 26}, {5, 100, 50}},
      {4, {6, 100, 38}, {7, 100, 38}}, {5, {8, 88, 50}, {9, 88, 50}},
  };
  for (const Case& c : cases) {
    for (int sign : {1, -1}) {
      canvas.Clear();
      TEditorConcentrateForce g;
      g.Knot = &knot;
      g.Force.SetComponent(c.component, sign * 2.5L);
      g.Draw(canvas);
      EXPECT_EQ(Images("IL_Forces"), (std::vector<Image>{sign > 0 ? c.positive : c.negative}))
          << c.component << " " << sign;
    }
  }
  canvas.Clear();
  TEditorConcentrateForce all;
  all.Knot = &knot;
  all.Force = TForceRecord{1, 1, 1, 1, 1, 1};
  all.Draw(canvas);
  EXPECT_EQ(Images("IL_Forces").size(), 5u);
}

TEST(Supports, RecordAndKnotReferences) {
  TEditorKnot k0, k1;
  VectorKnotIndex knots({&k0, &k1});
  TEditorSupport s;
  s.Knot = &k1;
  s.Fixation = {1, 0, 1, 0, 1, 0};
  s.SetDirection(1);
  BinaryWriter w;
  s.SaveToStream(w, knots);
  const auto& b = w.Bytes();
  ASSERT_EQ(b.size(), kSupportRecordBytes);
  EXPECT_EQ(Int32At(b, 0), 1);
  EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 4, b.begin() + 10), (std::vector<std::uint8_t>{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(Int32At(b, 10), 1);

  BinaryReader r(b);
  TEditorSupport back;
  back.LoadFromStream(r, knots);
  EXPECT_EQ(back.Knot, &k1);
  EXPECT_EQ(back.Fixation, s.Fixation);
  EXPECT_EQ(back.Direction, 1);
  EXPECT_TRUE(back.IsFixed(1));
  EXPECT_FALSE(back.IsFixed(2));
  EXPECT_FALSE(back.IsFixed(0));
  EXPECT_FALSE(back.IsFixed(7));

  // A position that names no knot: kept without a knot, written back as -1.
  for (std::int32_t bad : {2, -1, std::numeric_limits<std::int32_t>::max()}) {
    BinaryWriter bw;
    bw.WriteInt32(bad);
    WriteFixation(bw, TFixation{1, 1, 1, 1, 1, 1});
    bw.WriteInt32(0);
    BinaryReader br(bw.Bytes());
    TEditorSupport orphan;
    orphan.LoadFromStream(br, knots);
    EXPECT_EQ(orphan.Knot, nullptr);
    EXPECT_EQ(orphan.FileReference, bad);  // for the analysis program's warning
    BinaryWriter again;
    orphan.SaveToStream(again, knots);
    EXPECT_EQ(Int32At(again.Bytes(), 0), -1);
  }

  // A knot that is no longer in the list is written as -1.
  TEditorKnot stray;
  s.Knot = &stray;
  BinaryWriter w2;
  s.SaveToStream(w2, knots);
  EXPECT_EQ(Int32At(w2.Bytes(), 0), -1);
}

TEST(Loads, ConcentratedRecordAndComponents) {
  TEditorKnot k0;
  VectorKnotIndex knots({&k0});
  TEditorConcentrateForce f;
  f.Knot = &k0;
  f.SetForce(TForceRecord{1, 2, 3, 4, 5, 6});
  EXPECT_EQ(f.GetComponent(4), 4);
  EXPECT_EQ(f.GetComponent(0), 0);
  TForceRecord out;
  f.GetForce(out);
  EXPECT_EQ(out.Mz, 6);
  BinaryWriter w;
  f.SaveToStream(w, knots);
  ASSERT_EQ(w.Size(), kConcForceRecordBytes);
  EXPECT_EQ(DecodeExtended(w.Bytes().data() + 50), 6);  // Mz is the last of the six
  EXPECT_EQ(Int32At(w.Bytes(), 60), 0);

  BinaryReader r(w.Bytes());
  TEditorConcentrateForce back;
  back.LoadFromStream(r, knots);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(back.Knot, &k0);
  EXPECT_EQ(back.Force.Py, 2);

  std::vector<std::uint8_t> shortRecord(w.Bytes().begin(), w.Bytes().end() - 2);
  BinaryReader rs(shortRecord);
  TEditorConcentrateForce untouched;
  EXPECT_THROW(untouched.LoadFromStream(rs, knots), EFormatError);
  EXPECT_TRUE(untouched.Force.IsZero());
}

TEST(Loads, DistributedRecordKeepsTheOptionBytes) {
  TMLEditorElement e0(ElementType::Rectangle, nullptr, ElementKind::Plate), e1(ElementType::Rectangle, nullptr, ElementKind::Shell);
  VectorElementIndex elements({&e0, &e1});
  TEditorDispersionForce f;
  EXPECT_EQ(f.Option1, 0);
  EXPECT_EQ(f.Option2, 0);
  f.Element = &e1;
  f.Force.Pz = -10;
  f.SetOption1(3);
  f.SetOption2(200);
  BinaryWriter w;
  f.SaveToStream(w, elements);
  const auto& b = w.Bytes();
  ASSERT_EQ(b.size(), kDispForceRecordBytes);
  EXPECT_EQ(Int32At(b, 60), 1);
  EXPECT_EQ(b[64], 3);
  EXPECT_EQ(b[65], 200);

  BinaryReader r(b);
  TEditorDispersionForce back;
  back.LoadFromStream(r, elements);
  EXPECT_EQ(back.Element, &e1);
  EXPECT_EQ(back.Force.Pz, -10);
  EXPECT_EQ(back.Option1, 3);
  EXPECT_EQ(back.Option2, 200);

  VectorElementIndex none;
  BinaryReader r2(b);
  TEditorDispersionForce orphan;
  orphan.LoadFromStream(r2, none);
  EXPECT_EQ(orphan.Element, nullptr);
  BinaryWriter again;
  orphan.SaveToStream(again, elements);
  EXPECT_EQ(Int32At(again.Bytes(), 60), -1);

  RecordingCanvas canvas;
  back.Draw(canvas);
  EXPECT_TRUE(canvas.Calls.empty());
}

}  // namespace
}  // namespace tavir
