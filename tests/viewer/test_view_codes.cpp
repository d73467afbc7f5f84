#include <gtest/gtest.h>

#include <cstdint>
#include <type_traits>

#include "model/code_bytes.h"
#include "viewer/graph_windows.h"
#include "viewer/knot_values.h"
#include "viewer/view_codes.h"
#include "viewer/viewer_project.h"

namespace tavir {
namespace {

// The fibre and the quantity stand side by side in the stress average: a swap no
// longer compiles, and neither do bare bytes.
static_assert(std::is_invocable_v<decltype(&KnotStressAverage), const TEditorKnot&, TMaterialKey, Fibre, ResultKind,
                                  std::int32_t, const TFinElements&>);
static_assert(!std::is_invocable_v<decltype(&KnotStressAverage), const TEditorKnot&, TMaterialKey, ResultKind, Fibre,
                                   std::int32_t, const TFinElements&>);
static_assert(!std::is_invocable_v<decltype(&KnotStressAverage), const TEditorKnot&, TMaterialKey, std::uint8_t,
                                   std::uint8_t, std::int32_t, const TFinElements&>);
static_assert(!std::is_invocable_v<decltype(&MakeKnotValuesKey), Fibre, std::int32_t, ResultKind>);
static_assert(!std::is_invocable_v<decltype(&TGraphWindows::SetModeCursor), TGraphWindows&, std::uint8_t>);

TEST(ViewCodes, ResultKindFibreAndMouseModeAreTheirBytes) {
  const ByteCase<ResultKind> kinds[] = {
      {ResultKind::Ux, 0}, {ResultKind::Vy, 1},  {ResultKind::Wz, 2},   {ResultKind::Sx, 3},   {ResultKind::Sy, 4},
      {ResultKind::Txy, 5}, {ResultKind::RotY, 6}, {ResultKind::RotX, 7}, {ResultKind::None, 8},
  };
  ExpectBytesRoundTrip(kinds);
  const ByteCase<Fibre> fibres[] = {{Fibre::Upper, 0}, {Fibre::Middle, 1}, {Fibre::Lower, 2}};
  ExpectBytesRoundTrip(fibres);
  const ByteCase<MouseMode> modes[] = {{MouseMode::View, 0}, {MouseMode::SectionLine, 3}, {MouseMode::NewWindow, 4}};
  ExpectBytesRoundTrip(modes);
}

// A quantity byte of 8 or above shows nothing, as before: no caption, no data state.
TEST(ViewCodes, KindBytesFromEightUpShowNothing) {
  for (int b = 0; b < 256; ++b) {
    const ResultKind kind = CodeOfByte<ResultKind>(static_cast<std::uint8_t>(b));
    EXPECT_EQ(IsResultQuantity(kind), b < 8) << b;
    if (b >= 8) {
      EXPECT_EQ(StatusCaption(kind), "") << b;
      EXPECT_EQ(DataStateOfKind(kind), kDataNone) << b;
      EXPECT_EQ(FreedomOfKind(kind), -1) << b;
    }
  }
}

}  // namespace
}  // namespace tavir
