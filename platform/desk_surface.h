#pragma once
// What a desk form (a picture in a scroll box) offers to the plain logic of its
// mouse gestures, and the scroll step both programs take while a rubber band is
// dragged past the visible part of the picture.
#include <optional>

#include "platform/canvas.h"

namespace tavir {

enum class MouseButton : std::uint8_t { Left, Right, Middle };

struct TDeskScroll {
  int H = 0;            // horizontal scroll position
  int V = 0;            // vertical scroll position
  int ClientWidth = 0;  // of the scroll box
  int Height = 0;       // outer height of the scroll box
  int HRange = 0;       // range of the horizontal bar
};

class DeskSurface {
 public:
  virtual ~DeskSurface() = default;
  // The canvas of the picture as shown (for the rubber bands).
  virtual Canvas& PictureCanvas() = 0;
  virtual TDeskScroll Scroll() const = 0;
  virtual void SetScroll(int h, int v) = 0;
  // A full repaint now (the paint handler).
  virtual void RepaintNow() = 0;
};

struct TScrollPosition {
  int H = 0;
  int V = 0;
};

// The new scroll position for a pointer at (x, y) of the picture, or none while the
// pointer is inside the visible part. Right of it (5 pixels short of the client
// width) the position goes 10 on, up to the range; left of it 10 back, to 0 at the
// least; below it 10 down; above it 10 up, to 0 at the least.
inline std::optional<TScrollPosition> ScrollStep(const TDeskScroll& s, int x, int y) {
  const bool right = x > s.H + s.ClientWidth - 5;
  const bool left = x < s.H;
  const bool down = y > s.V + s.Height;
  const bool up = y < s.V;
  if (!(right || left || down || up)) return std::nullopt;
  TScrollPosition p{s.H, s.V};
  if (right)
    p.H = s.H < s.HRange ? s.H + 10 : s.HRange;
  else if (left)
    p.H = s.H > 10 ? s.H - 10 : 0;
  if (down)
    p.V = s.V + 10;
  else if (up)
    p.V = s.V > 10 ? s.V - 10 : 0;
  return p;
}

}  // namespace tavir
