#include "viewer/zones.h"

#include <algorithm>
#include <cmath>

#include "platform/numeric.h"
#include "platform/numtext.h"

namespace tavir {

namespace {

constexpr TColor kSelectionPen = 0xFF0000;
constexpr TColor kSelectionFill = 0xF0CAA6;

bool NearZoneValue(Extended a, Extended b) { return std::fabs(a - b) < 1e-300L; }

void FillPolygon(const TMLResultShell& shell, Canvas& canvas, TColor colour) {
  const std::vector<TPoint> points = ElementScreenPolygon(shell);
  if (points.empty()) return;
  CanvasStateGuard guard(canvas);
  canvas.Brush.Style = BrushStyle::Solid;
  canvas.Brush.Color = colour;
  canvas.Pen.Style = PenStyle::Clear;
  canvas.Polygon(points);
}

std::uint8_t Intensity(Extended ratio) {
  const std::int32_t d = RoundSat(std::fabs(ratio) * 255);
  return static_cast<std::uint8_t>(std::clamp(d, 0, 255));
}

bool Drawable(const TMLResultShell& shell) { return shell.Visible != 0 && shell.Layers.Count() > 0; }

}  // namespace

std::vector<TPoint> ElementScreenPolygon(const TMLEditorElement& element) {
  std::size_t n = 0;
  // Type 3 has no name but is drawn with four corners, as it always was.
  const std::uint8_t type = CodeByte(element.ElementType);
  if (element.ElementType == ElementType::Triangle)
    n = 3;
  else if (type >= 1 && type <= 3)
    n = 4;
  std::vector<TPoint> points;
  if (n == 0 || element.Knots.size() < n) return points;
  for (std::size_t i = 0; i < n; ++i) {
    if (element.Knots[i] == nullptr) return {};
    points.push_back(element.Knots[i]->ScreenPoint);
  }
  return points;
}

void DrawZone(const TMLResultShell& shell, Canvas& canvas, std::int32_t layerIndex) {
  if (!Drawable(shell)) return;
  const std::vector<TPoint> points = ElementScreenPolygon(shell);
  if (points.empty()) return;
  CanvasStateGuard guard(canvas);
  canvas.Pen.Color = 0;
  canvas.Pen.Width = 1;
  canvas.Pen.Style = PenStyle::Solid;
  canvas.Brush.Style = BrushStyle::Solid;
  if (shell.Selected != 0) {
    canvas.Pen.Width = 1;
    canvas.Pen.Color = kSelectionPen;
    canvas.Brush.Color = kSelectionFill;
  } else if (const auto layer = layerIndex >= 0 ? shell.Layers.Layer(layerIndex) : nullptr) {
    canvas.Brush = layer->Brush;
  } else {
    canvas.Brush = shell.Layers.Brush;
  }
  if (shell.ElementType == ElementType::Rectangle) {
    const auto first = shell.Layers.Layer(0);
    if (!first) return;
    const TPoint& k0 = points[0];
    const TPoint& k1 = points[1];
    const TPoint& k3 = points[3];
    // div rounds toward zero; in 64 bits so that no sum overflows.
    const std::int64_t x = std::int64_t{k0.X} + (std::int64_t{k3.X} - k0.X) / 2;
    const std::int64_t y = std::int64_t{k1.Y} + (std::int64_t{k0.Y} - k1.Y) / 2;
    canvas.TextOut(static_cast<int>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX)),
                   static_cast<int>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX)),
                   FormatExponent(first->Thickness, 7, 0));
    return;
  }
  canvas.Polygon(points);
}

void FillByValue(const TMLResultShell& shell, Canvas& canvas, Extended value, Extended max) {
  if (!Drawable(shell)) return;
  if (!std::isfinite(value) || !std::isfinite(max) || std::fabs(value) > std::fabs(max)) return;
  const std::uint8_t d = max != 0 ? Intensity(value / max) : 0;
  FillPolygon(shell, canvas, RGBColor(255, static_cast<std::uint8_t>(255 - d), static_cast<std::uint8_t>(255 - d)));
}

void FillByScale(const TMLResultShell& shell, Canvas& canvas, Extended current, Extended initial, Extended min,
                 Extended max) {
  if (!Drawable(shell)) return;
  if (!(max >= current) || NearZoneValue(initial, max) || NearZoneValue(initial, min) || !(min <= current) ||
      !(min <= max) || !std::isfinite(initial))
    return;
  TColor colour = 0;
  if (initial <= current) {
    const std::uint8_t e = Intensity((current - initial) / (max - initial));
    colour = RGBColor(255, static_cast<std::uint8_t>(255 - e), static_cast<std::uint8_t>(255 - e));
  } else {
    const std::uint8_t e = Intensity((initial - current) / (initial - min));
    colour = RGBColor(static_cast<std::uint8_t>(255 - e), static_cast<std::uint8_t>(255 - e), 255);
  }
  FillPolygon(shell, canvas, colour);
}

void DrawLayerZones(Canvas& canvas, const std::vector<const TMLResultShell*>& shells) {
  for (const TMLResultShell* s : shells)
    if (s != nullptr) DrawZone(*s, canvas, -1);
}

void DrawZones(Canvas& canvas, const std::vector<const TMLResultShell*>& shells, std::int32_t colorCount) {
  if (colorCount == 1) {
    Extended largest = 0;
    bool any = false;
    for (const TMLResultShell* s : shells)
      if (s != nullptr) {
        const Extended v = ShellVolume(*s);
        largest = any ? std::max(largest, v) : v;
        any = true;
      }
    for (const TMLResultShell* s : shells)
      if (s != nullptr) FillByValue(*s, canvas, ShellVolume(*s), largest);
  } else if (colorCount == 2) {
    Extended smallest = 0, largest = 0;
    bool any = false;
    for (const TMLResultShell* s : shells)
      if (s != nullptr) {
        const Extended t = ShellThickness(*s);
        smallest = any ? std::min(smallest, t) : t;
        largest = any ? std::max(largest, t) : t;
        any = true;
      }
    for (const TMLResultShell* s : shells)
      if (s != nullptr) FillByScale(*s, canvas, ShellThickness(*s), ShellInitialThickness(*s), smallest, largest);
  }
}

}  // namespace tavir
