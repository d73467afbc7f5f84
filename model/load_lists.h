#pragma once
// The concentrated loads on knots and the distributed loads on elements.
#include <cstdint>
#include <memory>

#include "model/elements.h"
#include "model/factory_list.h"
#include "model/knots.h"
#include "model/references.h"
#include "platform/binstream.h"
#include "platform/canvas.h"

namespace tavir {

class TFinKnots;
class TFinElements;

class TConcForcesList : public TFactoryList<TEditorConcentrateForce> {
 public:
  using TFactoryList::TFactoryList;
  using TFactoryList::Delete;
  using TFactoryList::RemoveIf;

  TFinKnots* Knots = nullptr;  // link, not owned

  TEditorConcentrateForce* Add(std::unique_ptr<TEditorConcentrateForce> force);
  std::int32_t IndexOfKnot(const TEditorKnot* knot) const;

  void Draw(Canvas& canvas) const;
  void UpdateVisible();

  void LoadFromStream(BinaryReader& r, const KnotIndex& knots);
  void SaveToStream(BinaryWriter& w, const KnotIndex& knots) const;


};

class TDispForcesList : public TFactoryList<TEditorDispersionForce> {
 public:
  using TFactoryList::TFactoryList;
  using TFactoryList::Delete;
  using TFactoryList::RemoveIf;

  TFinElements* Elements = nullptr;  // link, not owned

  TEditorDispersionForce* Add(std::unique_ptr<TEditorDispersionForce> force);
  std::int32_t IndexOfElement(const TFiniteElement* element) const;

  // The item drawing, which draws nothing.
  void Draw(Canvas& canvas) const;
  // Each load on a plate or shell element takes its visibility; one without an
  // element is not visible.
  void UpdateVisible();

  void LoadFromStream(BinaryReader& r, const ElementIndex& elements);
  void SaveToStream(BinaryWriter& w, const ElementIndex& elements) const;


};

}  // namespace tavir
