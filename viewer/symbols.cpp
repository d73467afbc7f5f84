#include "viewer/symbols.h"

#include <utility>

namespace tavir {

SymbolWmfCanvas::SymbolWmfCanvas(int width, int height, WmfImageProvider images)
    : WmfCanvas(width, height, images), bitmaps_(std::move(images)) {}

void SymbolWmfCanvas::DrawImage(std::string_view list, int index, int x, int y) {
  if (bitmaps_ && bitmaps_(list, index)) {
    WmfCanvas::DrawImage(list, index, x, y);
    return;
  }
  DrawBuiltInSymbol(*this, list, index, x, y);
}

}  // namespace tavir
