#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/elements.h"
#include "model/project.h"
#include "platform/recording_canvas.h"

namespace tavir {
namespace {

std::int32_t Int32At(const std::vector<std::uint8_t>& b, std::size_t off) {
  return static_cast<std::int32_t>(std::uint32_t{b[off]} | (std::uint32_t{b[off + 1]} << 8) |
                                   (std::uint32_t{b[off + 2]} << 16) | (std::uint32_t{b[off + 3]} << 24));
}

const std::string kBody = "Тело пластины";

TEST(Elements, NewPlateHasOneDefaultLayer) {
  auto steel = std::make_shared<TPhisPropRodNL>();
  TMLEditorElement e(ElementType::Rectangle, steel, ElementKind::Plate);
  EXPECT_EQ(e.ElementType, ElementType::Rectangle);
  EXPECT_EQ(e.ElemKind, ElementKind::Plate);
  EXPECT_EQ(e.Contur, 1);
  EXPECT_EQ(e.Visible, 0);
  EXPECT_EQ(e.Selected, 0);
  ASSERT_EQ(e.Layers.Count(), 1);
  EXPECT_EQ(e.Layers.LayerName(0), kBody);
  const auto layer = e.Layers.Layer(0);
  EXPECT_EQ(layer->Thickness, 0.05L);
  EXPECT_EQ(layer->Z, 0);
  EXPECT_EQ(layer->TypeLayer, 0);
  EXPECT_EQ(layer->Material(), steel);
  EXPECT_EQ(e.Layers.LayerMaterial(0), steel);
  EXPECT_EQ(layer->Brush, (CanvasBrush{0x8000, BrushStyle::Solid}));
  EXPECT_EQ(e.Layers.Brush, (CanvasBrush{0x808080, BrushStyle::Solid}));
}

TEST(Elements, KnotEntriesByType) {
  const std::pair<std::uint8_t, std::size_t> cases[] = {{0, 3}, {1, 4}, {2, 4}, {3, 0}, {4, 2}, {9, 0}};
  for (const auto& [type, count] : cases) {
    TFiniteElement e(CodeOfByte<ElementType>(type), ElementKind::Plate);
    EXPECT_EQ(e.Knots.size(), count) << int{type};
    for (auto* k : e.Knots) EXPECT_EQ(k, nullptr);
  }
}

TEST(Elements, FactoryByKind) {
  const auto factory = DefaultModelFactory();
  auto plate = factory->MakeElement(ElementKind::Plate, ElementType::Rectangle, nullptr);
  auto shell = factory->MakeElement(ElementKind::Shell, ElementType::Rectangle, nullptr);
  ASSERT_TRUE(plate && shell);
  EXPECT_EQ(dynamic_cast<TMLEditorShell*>(plate.get()), nullptr);
  EXPECT_NE(dynamic_cast<TMLEditorShell*>(shell.get()), nullptr);
  EXPECT_EQ(shell->ElemKind, ElementKind::Shell);
  EXPECT_EQ(plate->RecordKind(), ElementKind::Plate);
  EXPECT_EQ(shell->RecordKind(), ElementKind::Shell);
  EXPECT_EQ(factory->MakeElement(CodeOfByte<ElementKind>(3), ElementType::Rectangle, nullptr), nullptr);
}

class ElementDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const TPoint pts[4] = {{10, 90}, {10, 40}, {60, 40}, {60, 90}};
    for (int i = 0; i < 4; ++i) {
      knots[i].SetScreenPoint(pts[i]);
      knots[i].SetVisible(1);
      quad.Knots[static_cast<std::size_t>(i)] = &knots[i];
    }
    quad.SetVisible(1);
    quad.Layers.Layer(0)->Brush = CanvasBrush{0x8000, BrushStyle::Solid};
    canvas.Pen = CanvasPen{0x123456, 3, PenStyle::Dot, PenMode::NotXor};
    canvas.Brush = CanvasBrush{0x654321, BrushStyle::Cross};
  }
  void ExpectRestored() const {
    EXPECT_EQ(canvas.Pen, (CanvasPen{0x123456, 3, PenStyle::Dot, PenMode::NotXor}));
    EXPECT_EQ(canvas.Brush, (CanvasBrush{0x654321, BrushStyle::Cross}));
  }
  const CanvasCall& OnlyPolygon() const {
    EXPECT_EQ(canvas.Calls.size(), 1u);
    EXPECT_EQ(canvas.Calls.at(0).Op, CanvasOp::Polygon);
    return canvas.Calls.at(0);
  }
  TEditorKnot knots[4];
  TMLEditorElement quad{ElementType::Rectangle, nullptr, ElementKind::Plate};
  RecordingCanvas canvas;
};

TEST_F(ElementDrawTest, FillsWithStackOrLayerBrush) {
  quad.Draw(canvas, -1);
  const CanvasCall& c = OnlyPolygon();
  EXPECT_EQ(c.Points, (std::vector<TPoint>{{10, 90}, {10, 40}, {60, 40}, {60, 90}}));
  EXPECT_EQ(c.Brush, (CanvasBrush{0x808080, BrushStyle::Solid}));
  EXPECT_EQ(c.Pen.Color, 0u);
  EXPECT_EQ(c.Pen.Width, 1);
  EXPECT_EQ(c.Pen.Style, PenStyle::Solid);
  ExpectRestored();

  canvas.Clear();
  quad.Draw(canvas, 0);
  EXPECT_EQ(OnlyPolygon().Brush, (CanvasBrush{0x8000, BrushStyle::Solid}));
  ExpectRestored();

  // A layer brush of another style is taken whole.
  canvas.Clear();
  quad.Layers.Layer(0)->Brush = CanvasBrush{0x0000FF, BrushStyle::DiagCross};
  quad.Draw(canvas, 0);
  EXPECT_EQ(OnlyPolygon().Brush, (CanvasBrush{0x0000FF, BrushStyle::DiagCross}));

  // A layer index the stack does not have falls back to the element's brush.
  canvas.Clear();
  quad.Draw(canvas, 5);
  EXPECT_EQ(OnlyPolygon().Brush, (CanvasBrush{0x808080, BrushStyle::Solid}));
}

TEST_F(ElementDrawTest, SelectedWithoutOutlineShowsOnlyTheSelectionFill) {
  quad.SetContur(0);
  quad.SetSelected(1);
  quad.Draw(canvas, 0);
  const CanvasCall& c = OnlyPolygon();
  EXPECT_EQ(c.Brush, (CanvasBrush{0xF0CAA6, BrushStyle::Solid}));
  EXPECT_EQ(c.Pen.Style, PenStyle::Clear);
  EXPECT_EQ(c.Pen.Color, 0xFF0000u);
  EXPECT_EQ(c.Pen.Width, 1);
  ExpectRestored();

  canvas.Clear();
  quad.SetSelected(0);
  quad.Draw(canvas, -1);
  EXPECT_EQ(OnlyPolygon().Pen.Style, PenStyle::Clear);
  EXPECT_EQ(OnlyPolygon().Pen.Width, 0);
}

TEST_F(ElementDrawTest, NothingWhenInvisibleOrWithoutPolygon) {
  quad.SetVisible(0);
  quad.Draw(canvas, -1);
  quad.DrawErase(canvas, 0xFFFFFF);
  EXPECT_TRUE(canvas.Calls.empty());

  TMLEditorElement rod(ElementType::Rod, nullptr, ElementKind::Plate);
  rod.Knots = {&knots[0], &knots[1]};
  rod.SetVisible(1);
  rod.Draw(canvas, -1);
  EXPECT_TRUE(canvas.Calls.empty());

  TMLEditorElement loose(ElementType::Rectangle, nullptr, ElementKind::Plate);  // knot entries still empty
  loose.SetVisible(1);
  loose.Draw(canvas, -1);
  EXPECT_TRUE(canvas.Calls.empty());
  ExpectRestored();
}

TEST_F(ElementDrawTest, TriangleAndEraser) {
  TMLEditorElement tri(ElementType::Triangle, nullptr, ElementKind::Plate);
  tri.Knots = {&knots[0], &knots[1], &knots[2]};
  tri.SetVisible(1);
  tri.Draw(canvas, -1);
  EXPECT_EQ(OnlyPolygon().Points, (std::vector<TPoint>{{10, 90}, {10, 40}, {60, 40}}));

  canvas.Clear();
  quad.SetContur(0);
  quad.DrawErase(canvas, 0xC0C0C0);
  const CanvasCall& c = OnlyPolygon();
  EXPECT_EQ(c.Pen.Color, 0xFFFFFFu);
  EXPECT_EQ(c.Pen.Width, 1);
  EXPECT_EQ(c.Pen.Style, PenStyle::Solid);
  EXPECT_EQ(c.Brush, (CanvasBrush{0xC0C0C0, BrushStyle::Solid}));
  ExpectRestored();
}

TEST_F(ElementDrawTest, VisibleWhenAnyKnotIs) {
  for (auto& k : knots) k.SetVisible(0);
  quad.UpdateVisible();
  EXPECT_EQ(quad.Visible, 0);
  knots[2].SetVisible(1);
  quad.UpdateVisible();
  EXPECT_EQ(quad.Visible, 1);
  TMLEditorElement none(CodeOfByte<ElementType>(3), nullptr, ElementKind::Plate);
  none.SetVisible(1);
  none.UpdateVisible();
  EXPECT_EQ(none.Visible, 0);
}

TEST(LayerStacks, AssignSharesAndCopyFromCopies) {
  auto steel = std::make_shared<TPhisPropRodNL>();
  TGeometricElement a;
  a.AddLayerByName("one", steel);
  a.AddLayerByName("two", nullptr);
  a.Brush = CanvasBrush{0x112233, BrushStyle::Vertical};

  TGeometricElement shared;
  shared.AddLayerByName("old", nullptr);
  shared.Assign(a);
  ASSERT_EQ(shared.Count(), 2);
  EXPECT_EQ(shared.Layer(0), a.Layer(0));
  EXPECT_EQ(shared.LayerName(1), "two");
  EXPECT_EQ(shared.Brush, a.Brush);
  shared.Layer(0)->SetThickness(0.2L);
  EXPECT_EQ(a.Layer(0)->Thickness, 0.2L);

  TGeometricElement copy;
  copy.CopyFrom(a);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_NE(copy.Layer(0), a.Layer(0));
  EXPECT_EQ(copy.Layer(0)->Thickness, 0.2L);
  EXPECT_EQ(copy.LayerMaterial(0), steel);
  EXPECT_EQ(copy.LayerName(0), "one");
  EXPECT_EQ(copy.Brush, a.Brush);
  copy.Layer(0)->SetThickness(0.7L);
  EXPECT_EQ(a.Layer(0)->Thickness, 0.2L);

  // Self-assignment keeps everything.
  a.Assign(a);
  a.CopyFrom(a);
  EXPECT_EQ(a.Count(), 2);

  // A stack that shared the layers can go first: the layers live on in the other.
  auto layer0 = a.Layer(0);
  {
    TGeometricElement temp;
    temp.Assign(a);
    temp.Clear();
    EXPECT_EQ(temp.Count(), 0);
  }
  EXPECT_EQ(a.Layer(0), layer0);
  EXPECT_EQ(a.Layer(0)->Thickness, 0.2L);
}

TEST(LayerStacks, DeleteLayerHandsTheLayerBack) {
  TGeometricElement s;
  s.AddLayerByName("one", nullptr);
  s.AddLayerByName("two", nullptr);
  const auto second = s.Layer(1);
  const auto removed = s.DeleteLayer(0);
  ASSERT_NE(removed, nullptr);
  removed->SetZ(0.5L);  // still alive
  EXPECT_EQ(s.Count(), 1);
  EXPECT_EQ(s.Layer(0), second);
  EXPECT_EQ(s.DeleteLayer(3), nullptr);
  EXPECT_EQ(s.DeleteLayer(-1), nullptr);
  EXPECT_EQ(s.Layer(1), nullptr);
  EXPECT_EQ(s.LayerName(7), "");
  EXPECT_EQ(s.LayerMaterial(-1), nullptr);
}

TEST(LayerStacks, AssignLayerAndLayerAssign) {
  auto m = std::make_shared<TPhisPropRodNL>();
  TPhisicalElement src(m);
  src.SetThickness(0.3L);
  src.SetZ(-0.1L);
  src.SetTypeLayer(1);
  src.Brush = CanvasBrush{0xABCDEF, BrushStyle::Horizontal};
  TGeometricElement s;
  s.AddLayerByName("x", nullptr);
  s.AssignLayer(0, src);
  s.AssignLayer(4, src);  // out of range: nothing
  const auto l = s.Layer(0);
  EXPECT_EQ(l->Thickness, 0.3L);
  EXPECT_EQ(l->Z, -0.1L);
  EXPECT_EQ(l->TypeLayer, 1);
  EXPECT_EQ(l->Brush, src.Brush);
  EXPECT_EQ(l->Material(), m);
}

TEST(Layers, DeletedMaterialLeavesNoReferenceAndIsWrittenAsMinusOne) {
  auto steel = std::make_shared<TPhisPropRodNL>();
  VectorMaterialIndex materials({steel});
  TPhisicalElement layer(steel);
  materials.Materials.clear();
  steel.reset();
  EXPECT_EQ(layer.Material(), nullptr);
  BinaryWriter w;
  layer.SaveToStream(w, materials);
  ASSERT_EQ(w.Size(), kLayerRecordBytes);
  EXPECT_EQ(Int32At(w.Bytes(), 21), -1);
}

// Four knots of a rectangle, listed.
struct Mesh {
  TEditorKnot k[5];
  VectorKnotIndex index{{&k[0], &k[1], &k[2], &k[3], &k[4]}};
  std::shared_ptr<TPhisPropRodNL> steel = std::make_shared<TPhisPropRodNL>();
  std::shared_ptr<TPhisPropRodNL> wood = std::make_shared<TPhisPropRodNL>();
  VectorMaterialIndex materials{{steel, wood}};
};

TEST(ElementRecords, PlateRecordBytes) {
  Mesh m;
  TMLEditorElement e(ElementType::Rectangle, m.wood, ElementKind::Plate);
  e.Knots = {&m.k[4], &m.k[1], &m.k[2], &m.k[3]};
  e.Layers.Brush = CanvasBrush{0x010203, BrushStyle::BDiagonal};
  auto layer = e.Layers.Layer(0);
  layer->SetThickness(0.125L);
  layer->SetZ(0.5L);
  layer->SetTypeLayer(1);
  layer->Brush = CanvasBrush{0x0A0B0C, BrushStyle::Cross};
  BinaryWriter w;
  e.SaveToStream(w, m.index, m.materials);
  const auto& b = w.Bytes();
  // type 1 + four indices 16 + stack header 9 + name 4 + 13 + layer 30.
  ASSERT_EQ(b.size(), 73u);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(Int32At(b, 1), 4);
  EXPECT_EQ(Int32At(b, 5), 1);
  EXPECT_EQ(Int32At(b, 13), 3);
  EXPECT_EQ(Int32At(b, 17), 1);           // layer count
  EXPECT_EQ(Int32At(b, 21), 0x010203);    // stack brush colour
  EXPECT_EQ(b[25], 5);                    // and style
  EXPECT_EQ(Int32At(b, 26), 13);          // name length in CP1251
  EXPECT_EQ(b[30], 0xD2);                 // "Т"
  EXPECT_EQ(DecodeExtended(b.data() + 43), 0.125L);
  EXPECT_EQ(DecodeExtended(b.data() + 53), 0.5L);
  EXPECT_EQ(b[63], 1);                    // layer type
  EXPECT_EQ(Int32At(b, 64), 1);           // material: wood
  EXPECT_EQ(Int32At(b, 68), 0x0A0B0C);
  EXPECT_EQ(b[72], 6);

  BinaryReader r(b);
  TMLEditorElement back(ElementType::Triangle, nullptr, ElementKind::Plate);
  back.LoadFromStream(r, m.index, m.materials);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(back.ElementType, ElementType::Rectangle);
  EXPECT_EQ(back.Knots, e.Knots);
  ASSERT_EQ(back.Layers.Count(), 1);
  EXPECT_EQ(back.Layers.LayerName(0), kBody);
  EXPECT_EQ(back.Layers.LayerMaterial(0), m.wood);
  EXPECT_EQ(back.Layers.Layer(0)->Brush, layer->Brush);
  EXPECT_EQ(back.Layers.Brush, e.Layers.Brush);
  BinaryWriter again;
  back.SaveToStream(again, m.index, m.materials);
  EXPECT_EQ(again.Bytes(), b);
}

TEST(ElementRecords, ShellCarriesItsCurvatures) {
  Mesh m;
  TMLEditorShell s(ElementType::Quadrangle, m.steel, ElementKind::Shell);
  s.Knots = {&m.k[0], &m.k[1], &m.k[2], &m.k[3]};
  s.SetKx(0.01L);
  s.SetKy(-0.02L);
  s.SetKxy(0.5L);
  s.Layers.AddLayerByName("арматура", nullptr);
  // Written through a reference to the base class, as a list of both kinds does:
  // the shell's record all the same.
  const TMLFiniteElement& asBase = s;
  BinaryWriter w;
  asBase.SaveToStream(w, m.index, m.materials);
  const auto& b = w.Bytes();
  const std::size_t secondLayer = 73;  // 4 + 8 bytes of name, then the record
  ASSERT_EQ(b.size(), secondLayer + 4 + 8 + 30 + 30);
  EXPECT_EQ(Int32At(b, 17), 2);
  EXPECT_EQ(Int32At(b, secondLayer + 12 + 21), -1);  // a layer without material
  EXPECT_EQ(DecodeExtended(b.data() + b.size() - 30), 0.01L);
  EXPECT_EQ(DecodeExtended(b.data() + b.size() - 10), 0.5L);

  std::unique_ptr<TMLFiniteElement> back = DefaultModelFactory()->MakeElement(ElementKind::Shell, ElementType::Triangle, nullptr);
  BinaryReader r(b);
  back->LoadFromStream(r, m.index, m.materials);
  EXPECT_TRUE(r.AtEnd());
  auto* shell = dynamic_cast<TMLEditorShell*>(back.get());
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(shell->ElementType, ElementType::Quadrangle);
  EXPECT_EQ(shell->Knots.size(), 4u);
  EXPECT_EQ(shell->Ky, -0.02L);
  EXPECT_EQ(shell->Kxy, 0.5L);
  EXPECT_EQ(shell->Layers.LayerName(1), "арматура");
  // A stored -1 is no material position: the chooser is asked (here: none).
  EXPECT_EQ(shell->Layers.LayerMaterial(1), nullptr);
}

TEST(ElementRecords, TwoKnotElementCarriesNoKnotIndices) {
  Mesh m;
  TMLEditorElement rod(ElementType::Rod, nullptr, ElementKind::Plate);
  rod.Knots = {&m.k[0], &m.k[1]};
  BinaryWriter w;
  rod.SaveToStream(w, m.index, m.materials);
  EXPECT_EQ(w.Bytes()[0], 4);
  EXPECT_EQ(Int32At(w.Bytes(), 1), 1);  // directly the layer count
  BinaryReader r(w.Bytes());
  TMLEditorElement back(ElementType::Triangle, nullptr, ElementKind::Plate);
  back.LoadFromStream(r, m.index, m.materials);
  EXPECT_EQ(back.ElementType, ElementType::Rod);
  EXPECT_TRUE(back.Knots.empty());
}

std::vector<std::uint8_t> PlateRecord(std::int32_t knot3, std::int32_t layerCount, std::int32_t material) {
  BinaryWriter w;
  w.WriteByte(1);
  for (std::int32_t i : {0, 1, 2}) w.WriteInt32(i);
  w.WriteInt32(knot3);
  w.WriteInt32(layerCount);
  w.WriteUInt32(0x808080);
  w.WriteByte(0);
  w.WriteString("слой");
  w.WriteExtended(0.05L);
  w.WriteExtended(0);
  w.WriteByte(0);
  w.WriteInt32(material);
  w.WriteUInt32(0x8000);
  w.WriteByte(0);
  return w.Take();
}

TEST(ElementRecords, BrokenRecordsAreFormatErrorsAndChangeNothing) {
  Mesh m;
  struct Case {
    std::int32_t knot3, layerCount;
    const char* what;
  };
  const Case cases[] = {
      {5, 1, "knot past the list"},
      {-1, 1, "knot -1"},
      {3, -1, "layer count -1"},
      {3, std::numeric_limits<std::int32_t>::max(), "layer count 2^31-1"},
      {3, 2, "second layer missing"},
  };
  for (const Case& c : cases) {
    const auto bytes = PlateRecord(c.knot3, c.layerCount, 0);
    TMLEditorElement e(ElementType::Triangle, m.steel, ElementKind::Plate);
    e.Knots = {&m.k[0], &m.k[1], &m.k[2]};
    BinaryReader r(bytes);
    EXPECT_THROW(e.LoadFromStream(r, m.index, m.materials), EFormatError) << c.what;
    EXPECT_EQ(e.ElementType, ElementType::Triangle) << c.what;
    EXPECT_EQ(e.Knots.size(), 3u);
    EXPECT_EQ(e.Layers.Count(), 1);
    EXPECT_EQ(e.Layers.LayerName(0), kBody);
  }
  try {
    const auto bytes = PlateRecord(9, 1, 0);
    BinaryReader r(bytes);
    TMLEditorElement e(ElementType::Rectangle, nullptr, ElementKind::Plate);
    e.LoadFromStream(r, m.index, m.materials);
    FAIL() << "no error";
  } catch (const EFormatError& e) {
    EXPECT_STREQ(e.what(), "Файл поврежден: элемент ссылается на несуществующий узел.");
  }
  const auto good = PlateRecord(3, 1, 1);
  BinaryReader r(good);
  TMLEditorElement e(ElementType::Triangle, nullptr, ElementKind::Plate);
  e.LoadFromStream(r, m.index, m.materials);
  EXPECT_EQ(e.Knots[3], &m.k[3]);
  EXPECT_EQ(e.Layers.LayerMaterial(0), m.wood);
}

TEST(ElementRecords, MaterialPositionThatNamesNoneAsksTheChooser) {
  Mesh m;
  std::vector<std::int32_t> asked;
  m.materials.Chooser = [&](std::int32_t i) {
    asked.push_back(i);
    return m.steel;
  };
  const auto bytes = PlateRecord(3, 1, 2);  // position == count of materials
  BinaryReader r(bytes);
  TMLEditorElement e(ElementType::Triangle, nullptr, ElementKind::Plate);
  e.LoadFromStream(r, m.index, m.materials);
  EXPECT_EQ(asked, (std::vector<std::int32_t>{2}));
  EXPECT_EQ(e.Layers.LayerMaterial(0), m.steel);

  // A chooser that cancels the reading leaves the element as it was.
  m.materials.Chooser = [](std::int32_t) -> std::shared_ptr<TPhisPropRodNL> { throw std::runtime_error("cancel"); };
  BinaryReader r2(bytes);
  TMLEditorElement f(ElementType::Triangle, m.wood, ElementKind::Plate);
  EXPECT_THROW(f.LoadFromStream(r2, m.index, m.materials), std::runtime_error);
  EXPECT_EQ(f.ElementType, ElementType::Triangle);
  EXPECT_EQ(f.Layers.LayerMaterial(0), m.wood);
  EXPECT_EQ(f.Layers.LayerName(0), kBody);
}

}  // namespace
}  // namespace tavir
