#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "model/factory_list.h"
#include "model/knots.h"
#include "model/records.h"
#include "model/references.h"
#include "model/selection.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"

namespace tavir {

class TFinElements;
// The safe deletions of the editing operations (mesh_ops.h), the only callers of
// the raw removals of knots and elements.
enum class DeleteOutcome;
class TEditorSupports;
class TConcForcesList;

class TFinKnots : public TFactoryList<TEditorKnot>, public KnotIndex {
 public:
  explicit TFinKnots(std::shared_ptr<const ModelFactory> factory);

  TFinElements* Elements = nullptr;     // links, not owned
  TEditorSupports* Supports = nullptr;
  TConcForcesList* ConcForces = nullptr;

  // Smallest element width and height met so far; they only ever decrease.
  Extended MinSizeX = 1.0L;
  Extended MinSizeY = 1.0L;
  // Takes only a positive finite length: a degenerate or broken element must not
  // drive the smallest size to zero or below.
  void SetMinSizeX(Extended x);
  void SetMinSizeY(Extended y);

  // Appends a knot (nullptr is refused); returns it.
  TEditorKnot* Add(std::unique_ptr<TEditorKnot> knot);
  // A new knot at (x, y, z) made by the factory, appended.
  TEditorKnot* AddKnot(Extended x, Extended y, Extended z);
  void FreeAll();

  TEditorKnot* KnotByIndex(std::int32_t i) const { return At(i); }
  std::int32_t IndexOfKnot(const TEditorKnot* knot) const override { return IndexOf(knot); }
  TEditorKnot* KnotAt(std::int32_t i) const override { return At(i); }

  // Every visible knot.
  void Draw(Canvas& canvas) const;
  // Screen points, then visibility, for one window.
  void Project(const TViewTransform& window);
  void UpdateVisible(const TViewTransform& window);

  // Selection. "Draw" is the knot drawn on the window's canvas, when one is given.
  bool Select(TEditorKnot* knot, Canvas* canvas);
  bool Unselect(TEditorKnot* knot, Canvas* canvas);
  bool IsSelected(const TEditorKnot* knot) const;
  void UnselectAll(Canvas* canvas);
  void SelectAll(Canvas* canvas);
  // Every knot in the rectangle of model corners topLeft (smallest X, largest Y) and
  // bottomRight (largest X, smallest Y); only a plan window (projection 0) has any.
  void SelectInRect(const TFloatPoint& topLeft, const TFloatPoint& bottomRight, const TViewTransform& window,
                    Canvas* canvas);
  static bool KnotInRect(const TEditorKnot& knot, const TFloatPoint& topLeft, const TFloatPoint& bottomRight,
                         const TViewTransform& window);
  const std::vector<TEditorKnot*>& Selection() const { return selection_.Items(); }

  // Int32 count, then per knot X, Y, Z. On any error the list is unchanged.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;

  // Items, selection and smallest sizes change places (the links stay).
  void Swap(TFinKnots& other);

 private:
  // Raw removal, which leaves supports, loads and elements on the knot dangling:
  // only the safe deletions reach it (DeleteKnot, DeleteSelected).
  friend DeleteOutcome DeleteKnot(TFinKnots& knots, TEditorKnot* knot);
  friend int DeleteSelected(TFinElements& elements, Canvas* picture);
  // Removes and frees the knot at a position and its selection entry; false when
  // out of range.
  bool Delete(std::int32_t i);
  // Removes and frees the knots the predicate picks and their selection entries, in
  // one pass; the rest keep their order.
  template <class Pred>
  void RemoveKnotsIf(Pred pick) {
    selection_.RemoveIf([&](const TEditorKnot* k) { return pick(*k); });
    RemoveIf(pick);
  }

  TSelectionList<TEditorKnot> selection_;
};

}  // namespace tavir
