#pragma once
// Isolines across one shell element, their value labels and the merging of the
// labels of one connected isoline; the implicit straight line the section line is
// built on. All arithmetic in extended precision; pixels are rounded to nearest,
// halves to even.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "analysis/result_objects.h"
#include "model/records.h"
#include "platform/canvas.h"
#include "viewer/graph_windows.h"

namespace tavir {

// "Узел не имеет типа элемента в списке!": no knot of the element holds a value
// under the key being drawn.
inline constexpr const char* kNoKnotValueMessage = "Узел не имеет типа элемента в списке!";

// ---- straight lines ----

struct LineEquation {
  Extended A = 0, B = 0, C = 0;
};
// Through (X1, Y1) and (X2, Y2): A = Y2 - Y1, B = X1 - X2, C = X2*Y1 - X1*Y2.
LineEquation LineCoefficients(Extended x1, Extended y1, Extended x2, Extended y2);

class TLine_2D {
 public:
  Extended C = 0;
  Extended A = 0;
  Extended B = 0;
  bool Shown = false;

  void SetByPoints(const TFloatPoint& p1, const TFloatPoint& p2);
  Extended ValueAt(Extended x, Extended y) const { return A * x + B * y + C; }
  // The two points lie on opposite sides of the infinite line, or one on it. Decided
  // by the signs, so a product that would underflow or overflow cannot mislead.
  bool Crosses(Extended x1, Extended y1, Extended x2, Extended y2) const;
  void SetFlag(bool value) { Shown = value; }
};

// The section line: kept in model coordinates of the plan (the two points of the
// gesture), projected into every plan view that draws it.
class TSectionLine_2D : public TLine_2D {
 public:
  TFloatPoint StartModel;
  TFloatPoint EndModel;

  // The coefficients and the two points; Shown is not touched.
  void SetByPoints(const TFloatPoint& p1, const TFloatPoint& p2);
  // The pixels of the two points in a plan view.
  std::pair<TPoint, TPoint> ScreenPoints(const TGraphWindow& view) const;
  // Only when Shown and only in a plan view: pen 4 wide, colour $000080.
  void Draw(Canvas& canvas, const TGraphWindow& view) const;
};

// ---- knot values ----

// The value a knot holds under a key (nullptr: the key of displacements and of the
// nodal thickness averages), or none.
using KnotValueReader = std::function<std::optional<Extended>(const TEditorKnot& knot, MaterialKey key)>;
// Reads the values a TResultKnot keeps; other knots hold none.
std::optional<Extended> StoredKnotValue(const TEditorKnot& knot, MaterialKey key);

// The four knots of a shell that the drawing can use: exactly four non-nil knots
// and at least one layer; otherwise none and the element is skipped.
std::optional<std::array<const TEditorKnot*, 4>> DrawableShellKnots(const TMLResultShell& shell);

// ---- one element ----

// Points are pixel positions, Values the values there. One segment or nothing.
void DrawTriangleIsoSegment(Canvas& canvas, const std::array<TFloatPoint, 3>& points,
                            const std::array<Extended, 3>& values, Extended level);

struct TIsoLabelData {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  const TMLResultShell* Element = nullptr;
  std::array<const TEditorKnot*, 2> EntryEdge{};
  std::array<const TEditorKnot*, 2> ExitEdge{};
  Extended Value = 0;
};

// Draws the level across the element; true when it crosses the element's border.
// With labelled, data gets the label pixel and the entry and exit edges. Throws
// std::runtime_error (kNoKnotValueMessage) before drawing anything when no knot
// holds a value under the key. A shell that DrawableShellKnots refuses draws
// nothing and gives false.
bool DrawIsoLine(const TMLResultShell& shell, Canvas& canvas, bool labelled, std::int32_t layerIndex,
                 TIsoLabelData& data, Extended level, const KnotValueReader& values = StoredKnotValue);

// ---- labels ----

class TIsoLabel {
 public:
  explicit TIsoLabel(const TIsoLabelData& data) : Data(data) {}
  TIsoLabelData Data;
  void SetData(const TIsoLabelData& data) { Data = data; }
  // The label's element is a four-knot rectangle (type 1) and K1, K2 are the knots
  // of one of its edges, in either order.
  bool IsElementEdge(const TEditorKnot* k1, const TEditorKnot* k2) const;
};

// The pixels a label's text covers: left and top included, right and bottom not.
struct LabelBox {
  std::int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Overlaps(const LabelBox& o) const {
    return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
  }
};

// A list serves one picture: the labels it has drawn stay known until
// ForgetDrawn, so that no later label covers an earlier one (a white box over a
// label could hide its sign).
class TIsoLabelsList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const TIsoLabel& Items(int i) const { return *items_.at(static_cast<std::size_t>(i)); }
  int AddLabel(const TIsoLabelData& data);
  // The labels waiting to be drawn; the boxes of those drawn stay.
  void FreeAll() { items_.clear(); }
  // One label per chain of labels of one level through shared edges: the first
  // added, left out when it would overlap a label this list drew before. The list
  // is empty afterwards.
  void DrawLabels(Canvas& canvas);
  // Another picture: the labels drawn so far no longer keep new ones out.
  void ForgetDrawn() { drawn_.clear(); }
  const std::vector<LabelBox>& DrawnBoxes() const { return drawn_; }
  // Draws the label whatever lies under it.
  static void DrawLabel(Canvas& canvas, const TIsoLabel& label);

 private:
  // Draws the label unless it would overlap one drawn before; true when drawn.
  bool DrawClearLabel(Canvas& canvas, const TIsoLabel& label);

  std::vector<std::unique_ptr<TIsoLabel>> items_;
  std::vector<LabelBox> drawn_;
};

// The text of a label: " " + the value in general format (10 digits) + " ".
std::string IsoLabelText(Extended value);

// One level across every visible shell: labels requested when labelled, and a
// label (shell, level) added for every shell the level crossed. A shell that fails
// is skipped and its failure collected.
void DrawIsoLevel(Canvas& canvas, const std::vector<const TMLResultShell*>& shells, Extended level, bool labelled,
                  std::int32_t layerIndex, TIsoLabelsList& labels, DrawFailures& failures,
                  const KnotValueReader& values = StoredKnotValue);

// The result shells among the elements of a list (any range of raw or owning
// element pointers; null entries are passed over).
template <class Range>
std::vector<const TMLResultShell*> ResultShells(const Range& elements) {
  std::vector<const TMLResultShell*> out;
  for (const auto& e : elements) {
    const TMLEditorElement* element = nullptr;
    if constexpr (std::is_pointer_v<std::decay_t<decltype(e)>>)
      element = e;
    else
      element = e.get();
    if (const auto* s = dynamic_cast<const TMLResultShell*>(element)) out.push_back(s);
  }
  return out;
}

}  // namespace tavir
