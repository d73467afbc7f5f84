#include "model/symbols.h"

#include <cmath>
#include <vector>

#include "platform/numeric.h"

namespace tavir {

namespace {

// A point of a symbol: the picture's top-left corner plus an offset.
struct Sketch {
  Canvas& C;
  int X0, Y0;
  TPoint P(Extended x, Extended y) const { return {X0 + RoundSat(x), Y0 + RoundSat(y)}; }
  void Line(Extended x1, Extended y1, Extended x2, Extended y2) const {
    const TPoint a = P(x1, y1), b = P(x2, y2);
    C.MoveTo(a.X, a.Y);
    C.LineTo(b.X, b.Y);
  }
  void Fill(std::vector<TPoint> points) const { C.Polygon(points); }
};

struct Vec {
  Extended X, Y;
};

// A rod from the knot along u to a wall across it at length `length`: a wall with
// hatching behind it for a held move, a filled block for a held rotation, both for
// a move and rotation held together (a clamp).
void Restraint(const Sketch& p, Vec knot, Vec u, Extended length, bool move, bool rotation) {
  const Vec n{-u.Y, u.X};  // across the rod
  const Vec end{knot.X + u.X * length, knot.Y + u.Y * length};
  const Extended half = 6;
  p.Line(knot.X, knot.Y, end.X, end.Y);
  if (rotation) {
    // A small block at the end of the rod.
    const Extended b = 2.5L;
    const Vec c{end.X - u.X * b, end.Y - u.Y * b};
    p.Fill({p.P(c.X - n.X * b - u.X * b, c.Y - n.Y * b - u.Y * b), p.P(c.X + n.X * b - u.X * b, c.Y + n.Y * b - u.Y * b),
            p.P(c.X + n.X * b + u.X * b, c.Y + n.Y * b + u.Y * b), p.P(c.X - n.X * b + u.X * b, c.Y - n.Y * b + u.Y * b)});
  }
  if (move) {
    p.Line(end.X - n.X * half, end.Y - n.Y * half, end.X + n.X * half, end.Y + n.Y * half);
    // Three hatches behind the wall.
    for (int k = -1; k <= 1; ++k) {
      const Vec a{end.X + n.X * (4 * k + 1), end.Y + n.Y * (4 * k + 1)};
      p.Line(a.X, a.Y, a.X + u.X * 3 - n.X * 3, a.Y + u.Y * 3 - n.Y * 3);
    }
  }
}

void RestSymbol(const Sketch& p, int index) {
  const int d = index % 2;  // the side of the knot the symbol lies on
  const int kind = index / 2;
  const Extended s = kRestSymbolSide;
  // Where the knot lies in the picture and which way the rod leaves it.
  Vec knot{}, u{};
  switch (kind) {
    case 0:  // move along X
    case 3:  // rotation about Y
    case 5:  // both
      knot = {d == 0 ? 0 : s, s / 2};
      u = {d == 0 ? 1.0L : -1.0L, 0};
      break;
    case 1:  // move along Y
    case 4:  // rotation about X
    case 6:  // both
      knot = {s / 2, d == 0 ? 0 : s};
      u = {0, d == 0 ? 1.0L : -1.0L};
      break;
    default: {  // move along Z, the full clamp: across the corner
      const Extended r = 1 / std::sqrt(2.0L);
      knot = {d == 0 ? 0 : s, d == 0 ? 0 : s};
      u = {d == 0 ? r : -r, d == 0 ? r : -r};
      break;
    }
  }
  const bool move = kind != 3 && kind != 4;
  const bool rotation = kind >= 3 && kind != 2;
  Restraint(p, knot, u, kind == 2 || kind == 7 ? 12 : 11, move, rotation);
}

// An arrow head with its tip at `tip`, pointing along u.
void Head(const Sketch& p, Vec tip, Vec u) {
  const Vec n{-u.Y, u.X};
  const Extended len = 6, half = 3;
  p.Fill({p.P(tip.X, tip.Y), p.P(tip.X - u.X * len + n.X * half, tip.Y - u.Y * len + n.Y * half),
          p.P(tip.X - u.X * len - n.X * half, tip.Y - u.Y * len - n.Y * half)});
}

void ForceSymbol(const Sketch& p, int index) {
  const Extended s = kForceSymbolSide;
  // Forces point at the knot; moments are double-headed vectors from it.
  struct Arrow {
    Vec Tail, Tip;
    bool Moment;
  };
  Arrow a{};
  switch (index) {
    case 0: a = {{1, s / 2}, {s - 1, s / 2}, false}; break;           // +Px, knot on the right
    case 1: a = {{s - 1, s / 2}, {1, s / 2}, false}; break;           // -Px, knot on the left
    case 2: a = {{s / 2, s - 1}, {s / 2, 1}, false}; break;           // +Py (up), knot on top
    case 3: a = {{s / 2, 1}, {s / 2, s - 1}, false}; break;           // -Py, knot below
    case 4: a = {{2, 2}, {s - 1, s - 1}, false}; break;               // +Pz, knot bottom right
    case 5: a = {{s - 2, s - 2}, {1, 1}, false}; break;               // -Pz, knot top left
    case 6: a = {{1, s / 2}, {s - 1, s / 2}, true}; break;            // +Mx, from the knot to the right
    case 7: a = {{s - 1, s / 2}, {1, s / 2}, true}; break;            // -Mx
    case 8: a = {{s / 2, s - 1}, {s / 2, 1}, true}; break;            // +My (up), from the knot below
    default: a = {{s / 2, 1}, {s / 2, s - 1}, true}; break;           // -My
  }
  Vec u{a.Tip.X - a.Tail.X, a.Tip.Y - a.Tail.Y};
  const Extended len = std::sqrt(u.X * u.X + u.Y * u.Y);
  u = {u.X / len, u.Y / len};
  p.Line(a.Tail.X, a.Tail.Y, a.Tip.X, a.Tip.Y);
  Head(p, a.Tip, u);
  if (a.Moment) Head(p, {a.Tip.X - u.X * 6, a.Tip.Y - u.Y * 6}, u);
}

}  // namespace

bool HasBuiltInSymbol(std::string_view list, int index) {
  if (list == "IL_Rests") return index >= 0 && index < kRestSymbolCount;
  if (list == "IL_Forces") return index >= 0 && index < kForceSymbolCount;
  return false;
}

void DrawBuiltInSymbol(Canvas& canvas, std::string_view list, int index, int x, int y) {
  if (!HasBuiltInSymbol(list, index)) return;
  CanvasStateGuard guard(canvas);
  const bool rest = list == "IL_Rests";
  const RgbColor colour = rest ? kRestSymbolColor : kForceSymbolColor;
  canvas.Pen.Color = colour;
  canvas.Pen.Width = rest ? 1 : 2;
  canvas.Pen.Style = PenStyle::Solid;
  canvas.Pen.Mode = PenMode::Copy;
  canvas.Brush.Color = colour;
  canvas.Brush.Style = BrushStyle::Solid;
  const Sketch p{canvas, x, y};
  if (rest)
    RestSymbol(p, index);
  else
    ForceSymbol(p, index);
}

}  // namespace tavir
