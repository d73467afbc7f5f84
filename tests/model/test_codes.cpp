#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "model/code_bytes.h"
#include "model/codes.h"
#include "model/mesh_ops.h"
#include "model/model_factory.h"
#include "model/supervisor.h"
#include "model/window_record.h"

namespace tavir {
namespace {

// ---- Element type and kind can no longer be swapped, nor passed as bare bytes ----

using Knots = const std::vector<TEditorKnot*>&;
using Material = const std::shared_ptr<TPhisPropRodNL>&;

static_assert(std::is_invocable_v<decltype(&AddElement), TFinElements&, MessageService&, ElementType, ElementKind, Knots,
                                  Material>);
static_assert(!std::is_invocable_v<decltype(&AddElement), TFinElements&, MessageService&, ElementKind, ElementType,
                                   Knots, Material>);
static_assert(!std::is_invocable_v<decltype(&AddElement), TFinElements&, MessageService&, std::uint8_t, std::uint8_t,
                                   Knots, Material>);

static_assert(std::is_invocable_v<decltype(&AddAtPoint), TFinElements&, int, int, Material, ElementKind, ElementType,
                                  const TViewTransform&, Canvas*, MessageService&>);
static_assert(!std::is_invocable_v<decltype(&AddAtPoint), TFinElements&, int, int, Material, ElementType, ElementKind,
                                   const TViewTransform&, Canvas*, MessageService&>);

static_assert(std::is_invocable_v<decltype(&DivideRegion), TFinElements&, const TFloatPoint&, const TFloatPoint&,
                                  Material, ElementKind, ElementType, const TViewTransform&, ModelDialogs&,
                                  MessageService&>);
static_assert(!std::is_invocable_v<decltype(&DivideRegion), TFinElements&, const TFloatPoint&, const TFloatPoint&,
                                   Material, ElementType, ElementKind, const TViewTransform&, ModelDialogs&,
                                   MessageService&>);

static_assert(std::is_constructible_v<TFiniteElement, ElementType, ElementKind>);
static_assert(!std::is_constructible_v<TFiniteElement, ElementKind, ElementType>);
static_assert(!std::is_constructible_v<TFiniteElement, std::uint8_t, std::uint8_t>);
static_assert(std::is_constructible_v<TMLEditorElement, ElementType, std::nullptr_t, ElementKind>);
static_assert(!std::is_constructible_v<TMLEditorElement, ElementKind, std::nullptr_t, ElementType>);

template <class Kind, class Type>
constexpr bool kMakeElementTakes = requires(const ModelFactory& f, Kind kind, Type type) {
  f.MakeElement(kind, type, nullptr);
};
static_assert(kMakeElementTakes<ElementKind, ElementType>);
static_assert(!kMakeElementTakes<ElementType, ElementKind>);
static_assert(!kMakeElementTakes<std::uint8_t, std::uint8_t>);

// ---- Each code is its byte ----

TEST(Codes, ElementTypeAndKindAreTheirBytes) {
  const ByteCase<ElementType> types[] = {
      {ElementType::Triangle, 0},       {ElementType::Rectangle, 1},       {ElementType::Quadrangle, 2},
      {ElementType::Rod, 4},            {ElementType::QuadrangleInput, 5}, {ElementType::Parallelepiped, 6},
      {ElementType::Tetrahedron, 7},    {ElementType::SolidRod, 8},
  };
  ExpectBytesRoundTrip(types);
  const ByteCase<ElementKind> kinds[] = {{ElementKind::Plate, 0}, {ElementKind::Shell, 5}};
  ExpectBytesRoundTrip(kinds);
}

TEST(Codes, ProjectionIsItsByte) {
  const ByteCase<Projection> projections[] = {
      {Projection::XY, 0}, {Projection::YZ, 1}, {Projection::XZ, 2}, {Projection::Spatial, 3}};
  ExpectBytesRoundTrip(projections);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(IsPlaneProjection(CodeOfByte<Projection>(static_cast<std::uint8_t>(b))), b <= 2) << b;
}

TEST(Codes, WorkAndInputModesAreTheirBytes) {
  const ByteCase<WorkMode> work[] = {
      {WorkMode::Edit, 0},           {WorkMode::ElementInput, 1},     {WorkMode::Supports, 2},
      {WorkMode::NewWindow, 3},      {WorkMode::DistributedLoad, 4},  {WorkMode::ConcentratedLoad, 5},
      {WorkMode::SupportDisplacement, 6}, {WorkMode::ShellSurface, 11},
  };
  ExpectBytesRoundTrip(work);
  const ByteCase<InputMode> input[] = {
      {InputMode::Pick, 0},    {InputMode::ByKnots, 1},  {InputMode::ByGrid, 2},
      {InputMode::ByFrame, 3}, {InputMode::Supports, 4}, {InputMode::FrameSelection, 5},
  };
  ExpectBytesRoundTrip(input);
}

TEST(Codes, OnlyPlateAndShellKindBytesPassTheCheck) {
  for (int b = 0; b < 256; ++b) {
    const std::optional<ElementKind> kind = ElementKindOfByte(static_cast<std::uint8_t>(b));
    if (b == 0) EXPECT_EQ(kind, ElementKind::Plate);
    else if (b == 5) EXPECT_EQ(kind, ElementKind::Shell);
    else EXPECT_EQ(kind, std::nullopt) << b;
  }
}

// Bytes the settings block keeps as read, whatever they are; offsets within the block.
struct KeptByte {
  const char* Name;
  std::size_t Offset;
};
constexpr KeptByte kKeptSettingsBytes[] = {{"input mode", 152}, {"element type", 159}, {"element kind", 180}};

TEST(Codes, SettingsBlockKeepsUnnamedCodeBytesAsRead) {
  TEditSupervisor source;
  BinaryWriter w;
  source.SaveToStream(w);
  std::vector<std::uint8_t> bytes = w.Take();
  ASSERT_EQ(bytes.size(), kSettingsBlockBytes);
  for (const std::uint8_t odd : {std::uint8_t{3}, std::uint8_t{9}, std::uint8_t{255}}) {
    for (const KeptByte& k : kKeptSettingsBytes) bytes[k.Offset] = odd;
    TEditSupervisor read;
    BinaryReader r(bytes);
    read.LoadFromStream(r);
    EXPECT_EQ(CodeByte(read.ElementType), odd);
    EXPECT_EQ(CodeByte(read.ElemKind), odd);
    EXPECT_EQ(CodeByte(read.InputMode), odd);
    BinaryWriter again;
    read.SaveToStream(again);
    EXPECT_EQ(again.Bytes(), bytes) << int{odd};
  }
}

// A window record keeps its projection byte as read (the analysis program reads
// view kinds through it); only the editor's window block refuses a non-plane one.
TEST(Codes, WindowRecordKeepsItsProjectionByte) {
  constexpr std::size_t kProjectionAt = 196;
  const TWindowRecord made =
      NewWindowRecord(FloatPoint3D(1, 1, 1), FloatPoint3D(0, 0, 0), Projection::XZ, FloatPoint(0.01L, 0.01L), 0, {1024, 768});
  BinaryWriter w;
  made.SaveToStream(w);
  std::vector<std::uint8_t> bytes = w.Take();
  ASSERT_EQ(bytes.at(kProjectionAt), 2);
  for (const std::uint8_t b : {std::uint8_t{0}, std::uint8_t{3}, std::uint8_t{200}}) {
    bytes[kProjectionAt] = b;
    TWindowRecord read;
    BinaryReader r(bytes);
    read.LoadFromStream(r);
    EXPECT_EQ(CodeByte(read.WorkWindow.Projection), b);
    BinaryWriter again;
    read.SaveToStream(again);
    EXPECT_EQ(again.Bytes(), bytes) << int{b};
    TWindowBlock block;
    block.Windows.push_back(std::move(read));
    if (b <= 2) EXPECT_NO_THROW(block.CheckProjections());
    else EXPECT_THROW(block.CheckProjections(), EFormatError) << int{b};
  }
}

}  // namespace
}  // namespace tavir
