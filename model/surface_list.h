#pragma once
#include <memory>

#include "model/factory_list.h"
#include "model/shell_surfaces.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"
#include "platform/extended.h"

namespace tavir {

// Paraboloids (kind 0) and spheres (kind 3); an item's kind is its class.
class TShellFunctions : public FactoryList<TBaseShellFuncs> {
 public:
  using FactoryList::FactoryList;
  using FactoryList::Delete;
  using FactoryList::RemoveIf;

  TEditorShellEP* Add(std::unique_ptr<TEditorShellEP> shell);
  TEditorSphere* Add(std::unique_ptr<TEditorSphere> shell);

  static TEditorShellEP* AsParaboloid(TBaseShellFuncs* s) { return dynamic_cast<TEditorShellEP*>(s); }
  static TEditorSphere* AsSphere(TBaseShellFuncs* s) { return dynamic_cast<TEditorSphere*>(s); }

  // Z, Kx and Ky of the first surface, in list order, whose plan holds (x, y); 0
  // when none does. A sphere gives its Kx for Ky.
  Extended GetZ(Extended x, Extended y);
  Extended GetKx(Extended x, Extended y) const;
  Extended GetKy(Extended x, Extended y) const;
  // Whether some surface's plan holds (x, y).
  bool Covers(Extended x, Extended y) const { return FirstContaining(x, y) != nullptr; }

  void Draw(Canvas& canvas) const;
  void CalcScreenRects(const ViewTransform& window);
  void UpdateVisible(const ViewTransform& window);

  // Int32 count; per surface Int16 kind, then the kind's editor record. Any kind
  // but 0 and 3 is a format error; a record of the wrong kind or with a parameter
  // count the kind cannot use raises ShellException. On any error the list is
  // unchanged.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;


 private:
  TBaseShellFuncs* FirstContaining(Extended x, Extended y) const;
};

}  // namespace tavir
