#include "viewer/isolines.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <typeinfo>

#include "platform/numeric.h"
#include "platform/numtext.h"

namespace tavir {

namespace {

constexpr Extended kNudge = 1e-100L;

std::int32_t AddSat(std::int32_t a, std::int32_t b) {
  const std::int64_t r = std::int64_t{a} + b;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(r, INT32_MIN, INT32_MAX));
}

bool Near(Extended a, Extended b) { return std::fabs(a - b) < kNudge; }
// min < L <= max: the edge's sense of being crossed.
bool CrossesLevel(Extended a, Extended b, Extended level) { return std::min(a, b) < level && level <= std::max(a, b); }
bool Between(Extended a, Extended b, Extended level) { return (a <= level && level <= b) || (b <= level && level <= a); }

// Edges 1..4 by their knots.
constexpr std::array<std::array<int, 2>, 4> kEdges{{{0, 1}, {1, 2}, {2, 3}, {0, 3}}};

RgbColor LevelPen(Extended level) {
  if (level == 0) return 0xF0CAA6;
  return level > 0 ? 0x0000FF : 0xFF0000;
}

bool SameEdge(const std::array<const TEditorKnot*, 2>& e, const TEditorKnot* a, const TEditorKnot* b) {
  return (e[0] == a && e[1] == b) || (e[0] == b && e[1] == a);
}

}  // namespace

// ---- lines ----

LineEquation LineCoefficients(Extended x1, Extended y1, Extended x2, Extended y2) {
  LineEquation c;
  if (x1 == x2 && y1 == y2) return c;
  c.A = y2 - y1;
  c.B = x1 - x2;
  c.C = x2 * y1 - x1 * y2;
  return c;
}

void TLine_2D::SetByPoints(const TFloatPoint& p1, const TFloatPoint& p2) {
  const LineEquation c = LineCoefficients(p1.X, p1.Y, p2.X, p2.Y);
  A = c.A;
  B = c.B;
  C = c.C;
}

bool TLine_2D::Crosses(Extended x1, Extended y1, Extended x2, Extended y2) const {
  const Extended a = ValueAt(x1, y1);
  const Extended b = ValueAt(x2, y2);
  return (a <= 0 && b >= 0) || (a >= 0 && b <= 0);
}

void TSectionLine_2D::SetByPoints(const TFloatPoint& p1, const TFloatPoint& p2) {
  TLine_2D::SetByPoints(p1, p2);
  StartModel = p1;
  EndModel = p2;
}

std::pair<TPoint, TPoint> TSectionLine_2D::ScreenPoints(const TGraphWindow& view) const {
  return {view.ModelToScreen(StartModel), view.ModelToScreen(EndModel)};
}

void TSectionLine_2D::Draw(Canvas& canvas, const TGraphWindow& view) const {
  if (!Shown || view.Kind() != Projection::XY) return;
  const auto [a, b] = ScreenPoints(view);
  CanvasStateGuard guard(canvas);
  canvas.Pen.Width = 4;
  canvas.Pen.Style = PenStyle::Solid;
  canvas.Pen.Color = 0x000080;
  canvas.MoveTo(a.X, a.Y);
  canvas.LineTo(b.X, b.Y);
}

// ---- values ----

std::optional<Extended> StoredKnotValue(const TEditorKnot& knot, MaterialKey key) {
  // Read for every knot of every shell at every level: the knots of an analysis
  // are result knots, and testing the exact type first is far cheaper than a cast;
  // one pass finds the key's entry (there is at most one).
  const auto* k = typeid(knot) == typeid(TResultKnot) ? static_cast<const TResultKnot*>(&knot)
                                                      : dynamic_cast<const TResultKnot*>(&knot);
  if (k == nullptr) return std::nullopt;
  for (const TKnotValue& v : k->Values)
    if (v.Key == key) return v.Value;
  return std::nullopt;
}

std::optional<std::array<const TEditorKnot*, 4>> DrawableShellKnots(const TMLResultShell& shell) {
  if (shell.Knots.size() != 4 || shell.Layers.Count() == 0) return std::nullopt;
  std::array<const TEditorKnot*, 4> k{};
  for (std::size_t i = 0; i < 4; ++i) {
    if (shell.Knots[i] == nullptr) return std::nullopt;
    k[i] = shell.Knots[i];
  }
  return k;
}

// ---- one element ----

void DrawTriangleIsoSegment(Canvas& canvas, const std::array<TFloatPoint, 3>& points,
                            const std::array<Extended, 3>& values, Extended level) {
  static constexpr std::array<std::array<int, 2>, 3> kTriangleEdges{{{0, 1}, {1, 2}, {2, 0}}};
  bool first = true;
  for (const auto& e : kTriangleEdges) {
    const Extended a = values[static_cast<std::size_t>(e[0])];
    const Extended b = values[static_cast<std::size_t>(e[1])];
    if (!CrossesLevel(a, b, level)) continue;
    const bool aLow = a < b;
    const Extended vl = aLow ? a : b;
    const Extended vh = aLow ? b : a;
    const TFloatPoint& pl = points[static_cast<std::size_t>(aLow ? e[0] : e[1])];
    const TFloatPoint& ph = points[static_cast<std::size_t>(aLow ? e[1] : e[0])];
    const std::int32_t x = RoundSat((level - vl) * (ph.X - pl.X) / (vh - vl) + pl.X);
    const std::int32_t y = RoundSat((level - vl) * (ph.Y - pl.Y) / (vh - vl) + pl.Y);
    if (first)
      canvas.MoveTo(x, y);
    else
      canvas.LineTo(x, y);
    first = false;
  }
}

bool DrawIsoLine(const TMLResultShell& shell, Canvas& canvas, bool labelled, std::int32_t layerIndex,
                 TIsoLabelData& data, Extended level, const KnotValueReader& values) {
  const auto knots = DrawableShellKnots(shell);
  if (!knots) return false;
  const MaterialKey key = layerIndex >= 0 && layerIndex < shell.Layers.Count() ? shell.LayerMaterial(layerIndex)
                                                                                 : nullptr;
  std::array<TPoint, 4> p{};
  std::array<Extended, 4> v{};
  Extended sum = 0;
  int count = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    p[i] = (*knots)[i]->ScreenPoint;
    if (const auto value = values(*(*knots)[i], key)) {
      v[i] = *value;
      sum += *value;
      ++count;
    }
  }
  if (count == 0) throw std::runtime_error(kNoKnotValueMessage);

  // Equal neighbours are pulled apart so that no level runs along an edge by
  // accident (only values below about 1e-81 in magnitude move).
  if (v[0] == v[1]) v[1] += kNudge;
  if (v[0] == v[3]) v[3] += kNudge;
  if (v[2] == v[1]) v[1] += kNudge;
  if (v[2] == v[3]) v[3] += kNudge;

  if ((Near(v[0], v[1]) && Near(level, v[1])) || (Near(v[1], v[2]) && Near(level, v[1])) ||
      (Near(v[2], v[3]) && Near(level, v[2])) || (Near(v[0], v[3]) && Near(level, v[3])))
    return false;

  const bool crossed = CrossesLevel(v[0], v[1], level) || CrossesLevel(v[1], v[2], level) ||
                       CrossesLevel(v[0], v[3], level) || CrossesLevel(v[2], v[3], level);
  // Most shells miss most levels: the centre and the pen only for those it crosses.
  if (!crossed && !labelled) return false;
  const Extended vc = sum / count;
  const TPoint pc{RoundSat((static_cast<Extended>(p[3].X) + p[0].X) / 2),
                  RoundSat((static_cast<Extended>(p[1].Y) + p[0].Y) / 2)};
  if (crossed) {
    CanvasStateGuard guard(canvas);
    canvas.Brush.Style = BrushStyle::Clear;
    canvas.Pen.Style = PenStyle::Solid;
    canvas.Pen.Color = LevelPen(level);
    canvas.Pen.Width = labelled ? 2 : 1;
    auto fp = [](const TPoint& q) { return FloatPoint(q.X, q.Y); };
    const TFloatPoint c = fp(pc);
    DrawTriangleIsoSegment(canvas, {fp(p[0]), fp(p[1]), c}, {v[0], v[1], vc}, level);
    DrawTriangleIsoSegment(canvas, {fp(p[1]), fp(p[2]), c}, {v[1], v[2], vc}, level);
    DrawTriangleIsoSegment(canvas, {fp(p[2]), fp(p[3]), c}, {v[2], v[3], vc}, level);
    DrawTriangleIsoSegment(canvas, {fp(p[0]), fp(p[3]), c}, {v[0], v[3], vc}, level);
  }

  if (!labelled) return crossed;

  // The label sits where the isoline enters the element: one coordinate
  // interpolated along the entry edge, the other taken from a knot.
  int entry = 0;
  for (int e = 1; e <= 4 && entry == 0; ++e) {
    const auto& k = kEdges[static_cast<std::size_t>(e - 1)];
    if (Between(v[static_cast<std::size_t>(k[0])], v[static_cast<std::size_t>(k[1])], level)) entry = e;
  }
  data.X = 0;
  data.Y = 0;
  if (entry == 0) return crossed;
  auto step = [&](std::size_t from, std::size_t to, std::int32_t span) {
    return RoundSat((level - v[from]) * static_cast<Extended>(span) / (v[to] - v[from]));
  };
  auto span = [](std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{a} - b, INT32_MIN, INT32_MAX));
  };
  switch (entry) {
    case 1: data.X = p[0].X; data.Y = AddSat(p[1].Y, step(1, 0, span(p[0].Y, p[1].Y))); break;
    case 2: data.Y = p[1].Y; data.X = AddSat(p[1].X, step(1, 2, span(p[2].X, p[1].X))); break;
    case 3: data.X = p[3].X; data.Y = AddSat(p[2].Y, step(2, 3, span(p[3].Y, p[2].Y))); break;
    default: data.Y = p[0].Y; data.X = AddSat(p[0].X, step(0, 3, span(p[3].X, p[0].X))); break;
  }

  struct ExitRule {
    int First;
    std::array<int, 3> FirstCandidates;
    int Second;
    std::array<int, 3> SecondCandidates;
  };
  static constexpr std::array<ExitRule, 4> kExit{{
      {0, {4, 3, 2}, 1, {2, 3, 4}},
      {2, {3, 4, 1}, 1, {1, 4, 3}},
      {2, {2, 1, 4}, 3, {4, 1, 2}},
      {0, {1, 2, 3}, 3, {3, 2, 1}},
  }};
  const ExitRule& rule = kExit[static_cast<std::size_t>(entry - 1)];
  auto encloses = [&](int e) {
    const auto& k = kEdges[static_cast<std::size_t>(e - 1)];
    return Between(v[static_cast<std::size_t>(k[0])], v[static_cast<std::size_t>(k[1])], level);
  };
  int exit = entry;
  const std::array<int, 3>* candidates = nullptr;
  if (Between(v[static_cast<std::size_t>(rule.First)], vc, level))
    candidates = &rule.FirstCandidates;
  else if (Between(v[static_cast<std::size_t>(rule.Second)], vc, level))
    candidates = &rule.SecondCandidates;
  if (candidates != nullptr)
    for (int e : *candidates)
      if (encloses(e)) {
        exit = e;
        break;
      }
  auto edgeKnots = [&](int e) {
    const auto& k = kEdges[static_cast<std::size_t>(e - 1)];
    return std::array<const TEditorKnot*, 2>{(*knots)[static_cast<std::size_t>(k[0])],
                                             (*knots)[static_cast<std::size_t>(k[1])]};
  };
  data.EntryEdge = edgeKnots(entry);
  data.ExitEdge = edgeKnots(exit);
  return crossed;
}

// ---- labels ----

bool TIsoLabel::IsElementEdge(const TEditorKnot* k1, const TEditorKnot* k2) const {
  const TMLResultShell* e = Data.Element;
  if (e == nullptr || e->ElementType != ElementType::Rectangle || e->Knots.size() != 4) return false;
  for (const auto& edge : kEdges) {
    const TEditorKnot* a = e->Knots[static_cast<std::size_t>(edge[0])];
    const TEditorKnot* b = e->Knots[static_cast<std::size_t>(edge[1])];
    if (a != nullptr && b != nullptr && SameEdge({a, b}, k1, k2)) return true;
  }
  return false;
}

int TIsoLabelsList::AddLabel(const TIsoLabelData& data) {
  items_.push_back(std::make_unique<TIsoLabel>(data));
  return Count() - 1;
}

void TIsoLabelsList::DrawLabels(Canvas& canvas) {
  while (!items_.empty()) {
    const TIsoLabel& f = *items_.front();
    const Extended v = f.Data.Value;
    for (const auto& start : {f.Data.EntryEdge, f.Data.ExitEdge}) {
      std::array<const TEditorKnot*, 2> edge = start;
      std::size_t i = 1;
      while (i < items_.size()) {
        const TIsoLabel& l = *items_[i];
        const bool sameLevel = v == 0 ? l.Data.Value == 0 : std::fabs(v - l.Data.Value) < std::fabs(v) / 1e9L;
        if (sameLevel && l.IsElementEdge(edge[0], edge[1])) {
          edge = SameEdge(l.Data.ExitEdge, edge[0], edge[1]) ? l.Data.EntryEdge : l.Data.ExitEdge;
          items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
          i = 1;
        } else {
          ++i;
        }
      }
    }
    DrawClearLabel(canvas, *items_.front());
    items_.erase(items_.begin());
  }
}

std::string IsoLabelText(Extended value) {
  // Built piece by piece: g++ 12 warns about `" " + string` here (a false -Wrestrict).
  std::string text = " ";
  text += FormatGeneral(value, 10, 2);
  text += ' ';
  return text;
}

namespace {

// White box, small text in the colour of the level's sign.
void SetLabelStyle(Canvas& canvas, Extended value) {
  canvas.Brush.Color = 0xFFFFFF;
  canvas.Brush.Style = BrushStyle::Solid;
  canvas.Font.Size = 5;
  canvas.Font.Color = value == 0 ? 0x808080 : (value > 0 ? 0x0000FF : 0xFF0000);
}

}  // namespace

void TIsoLabelsList::DrawLabel(Canvas& canvas, const TIsoLabel& label) {
  CanvasStateGuard guard(canvas);
  SetLabelStyle(canvas, label.Data.Value);
  canvas.TextOut(label.Data.X, label.Data.Y, IsoLabelText(label.Data.Value));
}

bool TIsoLabelsList::DrawClearLabel(Canvas& canvas, const TIsoLabel& label) {
  PixelSize size;
  {
    // Measured in the font the label is drawn in.
    CanvasStateGuard guard(canvas);
    SetLabelStyle(canvas, label.Data.Value);
    size = canvas.TextExtent(IsoLabelText(label.Data.Value));
  }
  const LabelBox box{label.Data.X, label.Data.Y, std::int64_t{label.Data.X} + size.Width,
                     std::int64_t{label.Data.Y} + size.Height};
  for (const LabelBox& d : drawn_)
    if (box.Overlaps(d)) return false;
  DrawLabel(canvas, label);
  drawn_.push_back(box);
  return true;
}

void DrawIsoLevel(Canvas& canvas, const std::vector<const TMLResultShell*>& shells, Extended level, bool labelled,
                  std::int32_t layerIndex, TIsoLabelsList& labels, DrawFailures& failures,
                  const KnotValueReader& values) {
  for (const TMLResultShell* shell : shells) {
    if (shell == nullptr || shell->Visible == 0) continue;
    TIsoLabelData data;
    bool crossed = false;
    try {
      crossed = DrawIsoLine(*shell, canvas, labelled, layerIndex, data, level, values);
    } catch (const std::exception& e) {
      failures.Add(e.what());
      continue;
    }
    if (crossed && labelled) {
      data.Element = shell;
      data.Value = level;
      labels.AddLabel(data);
    }
  }
}

}  // namespace tavir
