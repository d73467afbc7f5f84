#include "viewer/sections.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>


namespace tavir {

bool CutBySection(const TMLResultShell& shell, const TLine_2D& line) {
  if (shell.Knots.size() != 4) return false;
  for (const auto* k : shell.Knots)
    if (k == nullptr) return false;
  auto crosses = [&](std::size_t a, std::size_t b) {
    const TEditorKnot& p = *shell.Knots[a];
    const TEditorKnot& q = *shell.Knots[b];
    return line.Crosses(p.X, p.Y, q.X, q.Y);
  };
  return crosses(0, 1) || crosses(0, 3) || crosses(1, 2) || crosses(2, 3);
}

void DrawSection(const TMLResultShell& shell, const TGraphWindow& view, Canvas& canvas,
                 const KnotValueReader& values) {
  if (shell.Visible == 0) return;
  const auto knots = DrawableShellKnots(shell);
  if (!knots) return;
  std::array<Extended, 4> t{};
  int count = 0;
  for (std::size_t i = 0; i < 4; ++i)
    if (const auto v = values(*(*knots)[i], nullptr)) {
      t[i] = *v;
      ++count;
    }
  if (count == 0) throw std::runtime_error(kNoKnotValueMessage);

  CanvasStateGuard guard(canvas);
  canvas.Pen.Color = 0;
  canvas.Pen.Style = PenStyle::Solid;
  canvas.Brush.Style = BrushStyle::Solid;
  if (shell.Contur == 1) {
    canvas.Pen.Width = 1;
  } else {
    canvas.Pen.Width = 0;
    canvas.Pen.Style = PenStyle::Clear;
  }
  canvas.Brush = shell.Layers.Brush;
  const TEditorKnot& k0 = *(*knots)[0];
  const TEditorKnot& k3 = *(*knots)[3];
  canvas.Polygon({view.ModelToScreen(FloatPoint(k0.X, -(k0.Z - t[0] / 2))),
                  view.ModelToScreen(FloatPoint(k0.X, -(k0.Z + t[0] / 2))),
                  view.ModelToScreen(FloatPoint(k3.X, -(k3.Z + t[3] / 2))),
                  view.ModelToScreen(FloatPoint(k3.X, -(k3.Z - t[3] / 2)))});
}

void DrawSections(const std::vector<TMLResultShell*>& shells, const TLine_2D& line, const TGraphWindow& view,
                  Canvas& canvas, TDrawFailures& failures, const KnotValueReader& values) {
  for (TMLResultShell* s : shells)
    if (s != nullptr) s->Visible = CutBySection(*s, line) ? 1 : 0;
  for (const TMLResultShell* s : shells) {
    if (s == nullptr || s->Visible == 0) continue;
    try {
      DrawSection(*s, view, canvas, values);
    } catch (const std::exception& e) {
      failures.Add(e.what());
    }
  }
}

int CreateSectionWindow(TGraphWindows& windows, const TGraphWindow& plan, const TSectionWindowData& box,
                        const std::vector<TMLResultShell*>& shells, const TLine_2D& line) {
  if (plan.Kind() != Projection::XY) return -1;
  const Extended lower = box.MinPoint.Z;
  const Extended upper = box.MaxPoint.Z;
  if (!std::isfinite(lower) || !std::isfinite(upper) || !(lower <= upper))
    return -1;
  const int index = windows.AddWindow(box.MinPoint, box.Color, box.Kind, box.Scale, box.MaxPoint);
  for (TMLResultShell* s : shells)
    if (s != nullptr) s->Visible = CutBySection(*s, line) ? 1 : 0;
  return index;
}

}  // namespace tavir
