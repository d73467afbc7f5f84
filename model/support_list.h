#pragma once
#include <cstdint>
#include <memory>

#include "model/factory_list.h"
#include "model/knots.h"
#include "model/references.h"
#include "platform/binstream.h"
#include "platform/canvas.h"

namespace tavir {

class TFinKnots;

class TEditorSupports : public TFactoryList<TEditorSupport> {
 public:
  using TFactoryList::TFactoryList;
  using TFactoryList::Delete;
  using TFactoryList::RemoveIf;

  TFinKnots* Knots = nullptr;  // link, not owned

  TEditorSupport* Add(std::unique_ptr<TEditorSupport> support);
  // Position of the first support on the knot; -1 when none (or for nullptr).
  std::int32_t IndexOfKnot(const TEditorKnot* knot) const;

  // Every visible support that has a knot.
  void Draw(Canvas& canvas) const;
  // Each support takes its knot's visibility; one without a knot is not visible.
  void UpdateVisible();

  // Int32 count, then the 14-byte records; a knot position that names no knot
  // leaves the support without one. On any error the list is unchanged.
  void LoadFromStream(BinaryReader& r, const KnotIndex& knots);
  void SaveToStream(BinaryWriter& w, const KnotIndex& knots) const;


};

}  // namespace tavir
