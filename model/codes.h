#pragma once
// Codes the project file and the program state keep as one byte. Each enumerator's
// value is the byte itself, so writing a code writes CodeByte(code) and files stay as
// they were. An enum with a fixed underlying type holds any byte, named or not: where
// a reader keeps an unknown byte as read (so that saving again changes nothing), the
// code holds that raw byte (CodeOfByte); where a reader refuses an unknown byte, it
// goes through the checked conversion of that code (ElementKindOfByte).
#include <concepts>
#include <cstdint>
#include <optional>
#include <type_traits>

namespace tavir {

template <class Code>
concept ByteCode = std::is_enum_v<Code> && std::same_as<std::underlying_type_t<Code>, std::uint8_t>;

// The byte a code is stored as.
template <ByteCode Code>
constexpr std::uint8_t CodeByte(Code code) {
  return static_cast<std::uint8_t>(code);
}

// A byte kept as read: the code holds it whether or not it names an enumerator.
template <ByteCode Code>
constexpr Code CodeOfByte(std::uint8_t byte) {
  return static_cast<Code>(byte);
}

// The type of a finite element (element records, the supervisor's type of new
// elements). Only 0, 1 and 2 carry knots in a record; the others are the input
// commands' types, and an element record keeps whatever byte it holds.
enum class ElementType : std::uint8_t {
  Triangle = 0,
  Rectangle = 1,
  Quadrangle = 2,      // a quadrilateral element record
  Rod = 4,             // a two-knot element (rod or stiffening rib)
  QuadrangleInput = 5, // what the quadrangle input command sets
  Parallelepiped = 6,
  Tetrahedron = 7,
  SolidRod = 8,
};

// The kind of a finite element. The element list refuses a record of any other
// kind (its length would be unknown); the supervisor keeps its byte as read.
enum class ElementKind : std::uint8_t { Plate = 0, Shell = 5 };

constexpr bool IsPlateOrShellKind(ElementKind kind) { return kind == ElementKind::Plate || kind == ElementKind::Shell; }

constexpr std::optional<ElementKind> ElementKindOfByte(std::uint8_t byte) {
  const auto kind = static_cast<ElementKind>(byte);
  if (IsPlateOrShellKind(kind)) return kind;
  return std::nullopt;
}

// The plane a window shows (u across, v up): X-Y, Y-Z, X-Z. The analysis program
// keeps its view kind in the same byte, with 3 its spatial view. Windows keep any
// other byte as read; the editor's reader refuses a window of a non-plane projection.
enum class Projection : std::uint8_t { XY = 0, YZ = 1, XZ = 2, Spatial = 3 };

constexpr bool IsPlaneProjection(Projection p) {
  return p == Projection::XY || p == Projection::YZ || p == Projection::XZ;
}

// What a click in an editing window does (never stored in a file).
enum class WorkMode : std::uint8_t {
  Edit = 0,
  ElementInput = 1,
  Supports = 2,
  NewWindow = 3,
  DistributedLoad = 4,
  ConcentratedLoad = 5,
  SupportDisplacement = 6,
  ShellSurface = 11,
};

// How a work mode takes its input. The settings block stores it and keeps any
// byte as read.
enum class InputMode : std::uint8_t {
  Pick = 0,
  ByKnots = 1,
  ByGrid = 2,
  ByFrame = 3,
  Supports = 4,
  FrameSelection = 5,
};

}  // namespace tavir
