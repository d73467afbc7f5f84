#pragma once
// The support and load symbols of the result drawing as canvas primitives: the
// pictures of the image lists "IL_Rests" (18 x 18, restraints) and "IL_Forces"
// (24 x 24, load arrows), drawn where DrawImage would put them. Metafile export
// draws them this way, so the file holds them as lines and polygons whatever
// bitmaps the screen has.
#include <string_view>

#include "platform/canvas.h"
#include "platform/wmf_canvas.h"

namespace tavir {

inline constexpr int kRestSymbolSide = 18;
inline constexpr int kForceSymbolSide = 24;
inline constexpr int kRestSymbolCount = 16;
inline constexpr int kForceSymbolCount = 10;
// Support symbols are dark blue, load symbols red.
inline constexpr TColor kRestSymbolColor = 0x800000;
inline constexpr TColor kForceSymbolColor = 0x0000FF;

// Whether the list has a picture at the index.
bool HasBuiltInSymbol(std::string_view list, int index);
// The picture, its top-left corner at (x, y); nothing for an unknown list or index.
// The canvas's pen, brush and font are restored.
void DrawBuiltInSymbol(Canvas& canvas, std::string_view list, int index, int x, int y);

// A metafile canvas whose images are the built-in symbols; a picture the provider
// supplies is written as a bitmap instead.
class SymbolWmfCanvas : public WmfCanvas {
 public:
  SymbolWmfCanvas(int width, int height, WmfImageProvider images = {});
  void DrawImage(std::string_view list, int index, int x, int y) override;

 private:
  WmfImageProvider bitmaps_;
};

}  // namespace tavir
