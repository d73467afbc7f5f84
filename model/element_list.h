#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "model/elements.h"
#include "model/factory_list.h"
#include "model/records.h"
#include "model/references.h"
#include "model/selection.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"

namespace tavir {

class TFinKnots;
class TMaterials;
// The safe deletions of the editing operations (mesh_ops.h), the only callers of
// the raw removals of knots and elements.
enum class DeleteOutcome;
class TDispForcesList;

class TFinElements : public TFactoryList<TMLEditorElement>, public ElementIndex {
 public:
  explicit TFinElements(std::shared_ptr<const ModelFactory> factory);

  TFinKnots* Knots = nullptr;  // links, not owned
  TMaterials* Materials = nullptr;
  TDispForcesList* DispForces = nullptr;

  // A plate or shell element whose class matches its kind (kind 5 a TMLEditorShell,
  // kind 0 not); anything else is refused (nullptr).
  TMLEditorElement* Add(std::unique_ptr<TMLEditorElement> element);
  void FreeAll();

  TMLEditorElement* ElementByIndex(std::int32_t i) const { return At(i); }
  std::int32_t IndexOfElement(const TFiniteElement* element) const override;
  TFiniteElement* ElementAt(std::int32_t i) const override { return At(i); }

  static bool IsPlateOrShell(const TFiniteElement& e) { return IsPlateOrShellKind(e.ElemKind); }

  // Every visible element in its own brush.
  void Draw(Canvas& canvas) const;
  // Plate and shell elements: visible when one of their knots is.
  void UpdateVisible();
  // Shell elements of element type 1 bring the knot list's smallest sizes down to
  // their width and height.
  void UpdateMinSizes();

  bool Select(TMLEditorElement* element, Canvas* canvas);
  bool Unselect(TMLEditorElement* element, Canvas* canvas);
  bool IsSelected(const TMLEditorElement* element) const;
  void UnselectAll(Canvas* canvas);
  void SelectAll(Canvas* canvas);
  // Every element all of whose corner knots lie in the rectangle (see TFinKnots).
  void SelectInRect(const TFloatPoint& topLeft, const TFloatPoint& bottomRight, const TViewTransform& window,
                    Canvas* canvas);
  const std::vector<TMLEditorElement*>& Selection() const { return selection_.Items(); }

  // Int32 count, then per element its kind byte (0 plate, 5 shell; any other kind is
  // a format error) and its record; then UpdateMinSizes. A knot position that names
  // no knot is a format error. On any error the list is unchanged.
  void LoadFromStream(BinaryReader& r, const KnotIndex& knots, MaterialIndex& materials);
  void SaveToStream(BinaryWriter& w, const KnotIndex& knots, const MaterialIndex& materials) const;

  void Swap(TFinElements& other);

 private:
  // Raw removal, which leaves distributed loads on the element dangling and its
  // knots behind: only the safe deletions reach it (DeleteElement, DeleteSelected).
  friend DeleteOutcome DeleteElement(TFinElements& elements, TMLEditorElement* element);
  friend int DeleteSelected(TFinElements& elements, Canvas* picture);
  // Removes and frees the element at a position and its selection entry; false
  // when out of range.
  bool Delete(std::int32_t i);
  // Removes and frees the elements the predicate picks and their selection entries,
  // in one pass; the rest keep their order.
  template <class Pred>
  void RemoveElementsIf(Pred pick) {
    selection_.RemoveIf([&](const TMLEditorElement* e) { return pick(*e); });
    RemoveIf(pick);
  }

  TSelectionList<TMLEditorElement> selection_;
};

}  // namespace tavir
