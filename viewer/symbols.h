#pragma once
// Metafile export of the result drawing: the support and load symbols go into the
// file as lines and polygons (the model's built-in pictures), whatever bitmaps the
// screen has.
#include <string_view>

#include "model/symbols.h"
#include "platform/wmf_canvas.h"

namespace tavir {

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
