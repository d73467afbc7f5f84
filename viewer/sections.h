#pragma once
// Section diagrams: the shells that the section line cuts, drawn as their
// thickness band along knots 0 and 3 in an X-Z section view, and the making of
// such a view from a plan view.
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "analysis/result_objects.h"
#include "platform/canvas.h"
#include "viewer/graph_windows.h"
#include "viewer/isolines.h"
#include "viewer/viewer_project.h"

namespace tavir {

// The section line (unbounded) passes through or touches one of the element's
// edges 0-1, 0-3, 1-2, 2-3 in plan. False for a shell without four knots.
bool CutBySection(const TMLResultShell& shell, const TLine_2D& line);

// The band of the shell along knots 0 and 3, between -(Z - t/2) and -(Z + t/2)
// with t the knot's nodal average thickness (the value under the empty key).
// Nothing for an invisible shell or one that DrawableShellKnots refuses. Throws
// std::runtime_error (kNoKnotValueMessage) when no knot holds an average.
void DrawSection(const TMLResultShell& shell, const TGraphWindow& view, Canvas& canvas,
                 const KnotValueReader& values = StoredKnotValue);

// Every shell's visible flag := cut by the line; then the diagrams of the cut
// ones. A failing shell is skipped and its failure collected.
void DrawSections(const std::vector<TMLResultShell*>& shells, const TLine_2D& line, const TGraphWindow& view,
                  Canvas& canvas, DrawFailures& failures, const KnotValueReader& values = StoredKnotValue);

// A new current X-Z view of the section box (from TViewerProject::
// SectionWindowData), the shells marked by the cut; its index. Only from a plan
// view and for a box that has a height: a model without shells in the view gives
// an inverted box, and then no view is made (-1, nothing changed).
int CreateSectionWindow(TGraphWindows& windows, const TGraphWindow& plan, const SectionWindowBox& box,
                        const std::vector<TMLResultShell*>& shells, const TLine_2D& line);

// The mutable result shells of a list (any range of raw or owning pointers).
template <class Range>
std::vector<TMLResultShell*> MutableResultShells(const Range& elements) {
  std::vector<TMLResultShell*> out;
  for (const auto& e : elements) {
    TMLEditorElement* element = nullptr;
    if constexpr (std::is_pointer_v<std::decay_t<decltype(e)>>)
      element = e;
    else
      element = e.get();
    if (auto* s = dynamic_cast<TMLResultShell*>(element)) out.push_back(s);
  }
  return out;
}

}  // namespace tavir
