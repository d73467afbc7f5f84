#pragma once
// The support and load symbols of the model's drawing as canvas primitives: the
// pictures of the image lists "IL_Rests" (18 x 18, restraints) and "IL_Forces"
// (24 x 24, load arrows), drawn where DrawImage would put them. Both programs'
// screens and the metafile export draw them from here, so every picture of a
// support or load is the same.
#include <string_view>

#include "platform/canvas.h"

namespace tavir {

inline constexpr int kRestSymbolSide = 18;
inline constexpr int kForceSymbolSide = 24;
inline constexpr int kRestSymbolCount = 16;
inline constexpr int kForceSymbolCount = 10;
// Support symbols are dark blue, load symbols red.
inline constexpr RgbColor kRestSymbolColor = 0x800000;
inline constexpr RgbColor kForceSymbolColor = 0x0000FF;

// Whether the list has a picture at the index.
bool HasBuiltInSymbol(std::string_view list, int index);
// The picture, its top-left corner at (x, y); nothing for an unknown list or index.
// The canvas's pen, brush and font are restored.
void DrawBuiltInSymbol(Canvas& canvas, std::string_view list, int index, int x, int y);

}  // namespace tavir
