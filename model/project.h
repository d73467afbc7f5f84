#pragma once
// The model root of the editor: one list per kind of model entity, the links
// between the lists, drawing on an editing window's canvas, the screen update for
// one window, and the model part of the project file.
//
// Ownership: the project owns its ten lists; each list owns its items
// (unique_ptr; materials by shared_ptr, since layers refer to them weakly).
// References between items are plain pointers in memory and list positions in the
// file. The lists keep the references sound: a support, load or element never
// refers to an item that is gone (a reference read from a file that names no item
// is "none" and such an item is skipped wherever its reference is needed).
//
// The analysis program derives result classes from the editor's entities and reads
// the same file into them: every reader creates its items through a ModelFactory,
// which the analysis program replaces.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/elements.h"
#include "model/knots.h"
#include "model/materials.h"
#include "model/model_ui.h"
#include "model/records.h"
#include "model/references.h"
#include "model/shell_surfaces.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"

namespace tavir {

// Makes the items that the list readers fill. The default makes the editor's
// classes; the analysis program derives its result classes and its own factory.
class ModelFactory {
 public:
  virtual ~ModelFactory() = default;
  virtual std::unique_ptr<TEditorKnot> MakeKnot() const;
  // A plate (kind 0) and a shell (kind 5) element with one default layer on the material.
  virtual std::unique_ptr<TMLEditorElement> MakePlate(std::uint8_t elementType,
                                                      const std::shared_ptr<TPhisPropRodNL>& material) const;
  virtual std::unique_ptr<TMLEditorShell> MakeShell(std::uint8_t elementType,
                                                    const std::shared_ptr<TPhisPropRodNL>& material) const;
  virtual std::unique_ptr<TEditorSupport> MakeSupport() const;
  virtual std::unique_ptr<TEditorConcentrateForce> MakeConcForce() const;
  virtual std::unique_ptr<TEditorDispersionForce> MakeDispForce() const;
  // A material with default properties.
  virtual std::shared_ptr<TPhisPropRodNL> MakeMaterial() const;
  virtual std::unique_ptr<TEditorShellEP> MakeParaboloid() const;
  virtual std::unique_ptr<TEditorSphere> MakeSphere() const;

  // MakePlate or MakeShell by kind; nullptr for any other kind.
  std::unique_ptr<TMLEditorElement> MakeElement(std::uint8_t elemKind, std::uint8_t elementType,
                                                const std::shared_ptr<TPhisPropRodNL>& material) const;
};

// The factory of the editor's classes (one shared instance).
std::shared_ptr<const ModelFactory> DefaultModelFactory();

// A list that owns its items. Positions count from 0; a position out of range
// gives nullptr, an item not in the list gives -1. Searches are linear and the
// first hit wins.
template <class T>
class TOwningList {
 public:
  TOwningList() = default;
  TOwningList(const TOwningList&) = delete;
  TOwningList& operator=(const TOwningList&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  T* At(std::int32_t i) const {
    if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) return nullptr;
    return items_[static_cast<std::size_t>(i)].get();
  }
  std::int32_t IndexOf(const T* item) const {
    if (item == nullptr) return -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return static_cast<std::int32_t>(i);
    return -1;
  }
  const std::vector<std::unique_ptr<T>>& Items() const { return items_; }
  // Puts the items in the order of a "less" comparer (not stable); a position is an
  // item's number, so this renumbers them.
  template <class Less>
  void SortItems(Less less) {
    std::sort(items_.begin(), items_.end(), less);
  }

 protected:
  std::vector<std::unique_ptr<T>> items_;
};

// The selected items of a knot or element list, in the order they were selected
// (not owning). Membership is kept in a set, so that selecting every item of a
// large model stays linear.
template <class T>
class TSelectionList {
 public:
  bool Contains(const T* item) const { return set_.count(item) != 0; }
  bool Add(T* item) {
    if (!set_.insert(item).second) return false;
    order_.push_back(item);
    return true;
  }
  bool Remove(const T* item) {
    if (set_.erase(item) == 0) return false;
    for (auto it = order_.begin(); it != order_.end(); ++it)
      if (*it == item) {
        order_.erase(it);
        break;
      }
    return true;
  }
  void Clear() {
    order_.clear();
    set_.clear();
  }
  void Swap(TSelectionList& other) {
    order_.swap(other.order_);
    set_.swap(other.set_);
  }
  const std::vector<T*>& Items() const { return order_; }
  std::int32_t Count() const { return static_cast<std::int32_t>(order_.size()); }

 private:
  std::vector<T*> order_;
  std::unordered_set<const T*> set_;
};

// An owning list whose readers make their items through a factory.
template <class T>
class TFactoryList : public TOwningList<T> {
 public:
  explicit TFactoryList(std::shared_ptr<const ModelFactory> factory) : factory_(std::move(factory)) {}

  // Removes and frees item i; false when there is none.
  bool Delete(std::int32_t i) {
    if (i < 0 || static_cast<std::size_t>(i) >= this->items_.size()) return false;
    this->items_.erase(this->items_.begin() + i);
    return true;
  }
  void FreeAll() { this->items_.clear(); }
  void Swap(TFactoryList& other) { this->items_.swap(other.items_); }

  // The factory the list makes its items with.
  const std::shared_ptr<const ModelFactory>& Factory() const { return factory_; }

 protected:
  // Appends an item (of T or a class derived from it); nullptr gives nullptr.
  template <class U>
  U* Append(std::unique_ptr<U> item) {
    if (!item) return nullptr;
    U* p = item.get();
    this->items_.push_back(std::move(item));
    return p;
  }
  // Position of the first item whose reference (member pointer) is the given object.
  template <class C, class Ref>
  std::int32_t IndexOfRef(Ref* C::*member, const void* target) const {
    if (target == nullptr) return -1;
    for (std::size_t i = 0; i < this->items_.size(); ++i)
      if (static_cast<const void*>(this->items_[i].get()->*member) == target) return static_cast<std::int32_t>(i);
    return -1;
  }

  std::shared_ptr<const ModelFactory> factory_;
};

class TFinKnots;
class TFinElements;
class TMaterials;
class TEditorSupports;
class TConcForcesList;
class TDispForcesList;

// ---- materials ----

// Material names with their objects.
class TMaterials : public MaterialIndex {
 public:
  explicit TMaterials(std::shared_ptr<const ModelFactory> factory);
  TMaterials(const TMaterials&) = delete;
  TMaterials& operator=(const TMaterials&) = delete;

  TFinElements* Elements = nullptr;  // link, not owned

  // The dialogs the list opens (the material chooser); none: nothing is chosen.
  void SetUi(ModelUi* ui) { ui_ = ui; }

  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
  const std::vector<MaterialEntry>& Entries() const { return entries_; }
  // Name and object at a position (empty / nullptr out of range).
  std::string Name(std::int32_t i) const;
  std::shared_ptr<TPhisPropRodNL> Material(std::int32_t i) const;

  // A new material with default properties under the name; returns it.
  std::shared_ptr<TPhisPropRodNL> AddMaterial(const std::string& name);
  // The name of a material; "не определен" when it is not in the list.
  std::string MaterialName(const TPhisPropRodNL* material) const;

  // The material at a position. A position that names none opens the material
  // chooser on the list with its first item selected; the result is the material
  // the user picks, nullptr on Cancel (or without a chooser). On OK the list takes
  // the chooser's edits over.
  std::shared_ptr<TPhisPropRodNL> MaterialByIndex(std::int32_t index) override;
  std::int32_t IndexOfMaterial(const TPhisPropRodNL* material) const override;
  // The chooser on the material's position; on OK the list takes the chooser's
  // entries and the result is the chosen position, after Cancel the old position.
  std::int32_t ChooseMaterial(const TPhisPropRodNL* material);

  void FreeAll() { entries_.clear(); }
  // Renames the material at a position; false when out of range.
  bool SetName(std::int32_t i, const std::string& name) {
    if (i < 0 || i >= Count()) return false;
    entries_[static_cast<std::size_t>(i)].Name = name;
    return true;
  }
  // Removes the material at a position from the list; false when out of range.
  bool Delete(std::int32_t i) {
    if (i < 0 || i >= Count()) return false;
    entries_.erase(entries_.begin() + i);
    return true;
  }

  // Int32 count, then per material its name and its 92-byte record. On any error
  // the list is unchanged.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;

  void Swap(TMaterials& other) { entries_.swap(other.entries_); }

  // The factory the list makes its items with.
  const std::shared_ptr<const ModelFactory>& Factory() const { return factory_; }

 private:
  std::shared_ptr<const ModelFactory> factory_;
  ModelUi* ui_ = nullptr;
  std::vector<MaterialEntry> entries_;
};

// ---- knots ----

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
  // Removes and frees the knot at a position (and its selection entry); false when
  // out of range. The caller deletes its dependants and keeps elements off it first.
  bool Delete(std::int32_t i);
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
  TSelectionList<TEditorKnot> selection_;
};

// ---- elements ----

class TFinElements : public TFactoryList<TMLEditorElement>, public ElementIndex {
 public:
  explicit TFinElements(std::shared_ptr<const ModelFactory> factory);

  TFinKnots* Knots = nullptr;  // links, not owned
  TMaterials* Materials = nullptr;
  TDispForcesList* DispForces = nullptr;

  // A plate or shell element whose class matches its kind (kind 5 a TMLEditorShell,
  // kind 0 not); anything else is refused (nullptr).
  TMLEditorElement* Add(std::unique_ptr<TMLEditorElement> element);
  // Removes and frees the element at a position (and its selection entry); false
  // when out of range. The caller deletes its distributed load first.
  bool Delete(std::int32_t i);
  void FreeAll();

  TMLEditorElement* ElementByIndex(std::int32_t i) const { return At(i); }
  std::int32_t IndexOfElement(const TFiniteElement* element) const override;
  TFiniteElement* ElementAt(std::int32_t i) const override { return At(i); }

  static bool IsPlateOrShell(const TFiniteElement& e) { return e.ElemKind == kElemKindPlate || e.ElemKind == kElemKindShell; }

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
  TSelectionList<TMLEditorElement> selection_;
};

// ---- supports and loads ----

class TEditorSupports : public TFactoryList<TEditorSupport> {
 public:
  using TFactoryList::TFactoryList;

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

class TConcForcesList : public TFactoryList<TEditorConcentrateForce> {
 public:
  using TFactoryList::TFactoryList;

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

// Lists that never hold items: only a count of 0 is stored (nothing for KnotDisp).
class TPliantsList {
 public:
  TFinKnots* Knots = nullptr;  // link, not owned
  std::int32_t Count() const { return 0; }
  void FreeAll() {}
  // Reads the count (a negative one is a format error); no items follow.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const { w.WriteInt32(0); }
};

class THardlessList : public TPliantsList {};

class TDisplacementsList {
 public:
  std::int32_t Count() const { return 0; }
  void FreeAll() {}
};

// ---- shell surfaces ----

// Paraboloids (kind 0) and spheres (kind 3); an item's kind is its class.
class TShellFunctions : public TFactoryList<TBaseShellFuncs> {
 public:
  using TFactoryList::TFactoryList;

  TEditorShellEP* Add(std::unique_ptr<TEditorShellEP> shell);
  TEditorSphere* Add(std::unique_ptr<TEditorSphere> shell);

  static TEditorShellEP* AsParaboloid(TBaseShellFuncs* s) { return dynamic_cast<TEditorShellEP*>(s); }
  static TEditorSphere* AsSphere(TBaseShellFuncs* s) { return dynamic_cast<TEditorSphere*>(s); }

  // Z, Kx and Ky of the first surface, in list order, whose plan holds (x, y); 0
  // when none does. A sphere gives its Kx for Ky.
  Extended GetZ(Extended x, Extended y);
  Extended GetKx(Extended x, Extended y) const;
  Extended GetKy(Extended x, Extended y) const;

  void Draw(Canvas& canvas) const;
  void CalcScreenRects(const TViewTransform& window);
  void UpdateVisible(const TViewTransform& window);

  // Int32 count; per surface Int16 kind, then the kind's editor record. Any kind
  // but 0 and 3 is a format error; a record of the wrong kind or with a parameter
  // count the kind cannot use raises ShellException. On any error the list is
  // unchanged.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;


 private:
  TBaseShellFuncs* FirstContaining(Extended x, Extended y) const;
};

// ---- positions for writing ----

// Item-to-position look-ups built once per save, so that writing every reference
// of a large model stays linear.
class KnotPositionMap : public KnotIndex {
 public:
  explicit KnotPositionMap(const TFinKnots& knots);
  TEditorKnot* KnotAt(std::int32_t i) const override { return knots_.At(i); }
  std::int32_t IndexOfKnot(const TEditorKnot* knot) const override;

 private:
  const TFinKnots& knots_;
  std::unordered_map<const TEditorKnot*, std::int32_t> positions_;
};

class ElementPositionMap : public ElementIndex {
 public:
  explicit ElementPositionMap(const TFinElements& elements);
  TFiniteElement* ElementAt(std::int32_t i) const override { return elements_.At(i); }
  std::int32_t IndexOfElement(const TFiniteElement* element) const override;

 private:
  const TFinElements& elements_;
  std::unordered_map<const TFiniteElement*, std::int32_t> positions_;
};

class MaterialPositionMap : public MaterialIndex {
 public:
  explicit MaterialPositionMap(const TMaterials& materials);
  // In range only: writing never asks the user anything.
  std::shared_ptr<TPhisPropRodNL> MaterialByIndex(std::int32_t i) override { return materials_.Material(i); }
  std::int32_t IndexOfMaterial(const TPhisPropRodNL* material) const override;

 private:
  const TMaterials& materials_;
  std::unordered_map<const TPhisPropRodNL*, std::int32_t> positions_;
};

// ---- the project ----

// Flags of TVelEditorProject::Draw.
inline constexpr std::uint32_t kDrawLoads = 0x1;
inline constexpr std::uint32_t kDrawKnots = 0x4;
inline constexpr std::uint32_t kDrawSupports = 0x8;
inline constexpr std::uint32_t kDrawShells = 0x100;
inline constexpr std::uint32_t kDrawDesk = 0x10D;  // what the editing desk draws

inline constexpr const char* kDefaultMaterialName = "Сталь С300";
inline constexpr const char* kNoNameFile = "NoName.tps";

class TVelEditorProject {
 public:
  // Creates the lists, links them, adds the material "Сталь С300" with default
  // properties; the file name is "NoName.tps". The chooser opened while a file is
  // read goes through ui (none: a layer whose material is missing gets none).
  explicit TVelEditorProject(std::shared_ptr<const ModelFactory> factory = DefaultModelFactory(),
                             ModelUi* ui = nullptr);
  ~TVelEditorProject();
  TVelEditorProject(const TVelEditorProject&) = delete;
  TVelEditorProject& operator=(const TVelEditorProject&) = delete;

  TMaterials& Materials() { return *materials_; }
  TFinElements& Elements() { return *elements_; }
  TFinKnots& Knots() { return *knots_; }
  TEditorSupports& Supports() { return *supports_; }
  TConcForcesList& ConcForces() { return *concForces_; }
  TDispForcesList& DispForces() { return *dispForces_; }
  TPliantsList& Pliants() { return *pliants_; }
  THardlessList& Hardlesses() { return *hardlesses_; }
  TDisplacementsList& KnotDisp() { return *knotDisp_; }
  TShellFunctions& ShellFuncs() { return *shellFuncs_; }
  const TMaterials& Materials() const { return *materials_; }
  const TFinElements& Elements() const { return *elements_; }
  const TFinKnots& Knots() const { return *knots_; }
  const TEditorSupports& Supports() const { return *supports_; }
  const TConcForcesList& ConcForces() const { return *concForces_; }
  const TDispForcesList& DispForces() const { return *dispForces_; }
  const TShellFunctions& ShellFuncs() const { return *shellFuncs_; }

  const std::shared_ptr<const ModelFactory>& Factory() const { return factory_; }
  ModelUi* Ui() const { return ui_; }
  void SetUi(ModelUi* ui);

  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }

  // Empties every list but KnotDisp and the selections, adds "Сталь С300" again and
  // names the project "NoName.tps". The smallest element sizes are kept.
  void Clear();

  // Every knot's Z from the surfaces, every shell element's Kx and Ky from the
  // surfaces at its first knot (Kxy := 0). Plate elements are not touched.
  void ApplyShellFuncs();

  // Visible elements; with kDrawKnots the knots, kDrawSupports the supports,
  // kDrawLoads the loads, kDrawShells the surfaces.
  void Draw(Canvas& canvas, std::uint32_t flags) const;
  // Screen points and visibility of every item for one window.
  void UpdateScreen(const TViewTransform& window);

  // The model lists of the project file. Reading is all or nothing: the lists are
  // read into a fresh project and take its items only when every list was read;
  // on any error (EFormatError, ShellException, or whatever the chooser throws)
  // this project is unchanged. The file name is not touched.
  void LoadFromStream(BinaryReader& r);
  // ApplyShellFuncs, then the nine stored lists.
  void SaveToStream(BinaryWriter& w);

  // The lists' items, the selections, the smallest sizes and the file name change
  // places with the other project's (the lists themselves and their links stay).
  void Swap(TVelEditorProject& other);

 private:
  void ReadLists(BinaryReader& r);
  void SwapLists(TVelEditorProject& other);

  std::shared_ptr<const ModelFactory> factory_;
  ModelUi* ui_ = nullptr;
  std::unique_ptr<TMaterials> materials_;
  std::unique_ptr<TFinElements> elements_;
  std::unique_ptr<TFinKnots> knots_;
  std::unique_ptr<TEditorSupports> supports_;
  std::unique_ptr<TConcForcesList> concForces_;
  std::unique_ptr<TDispForcesList> dispForces_;
  std::unique_ptr<TPliantsList> pliants_;
  std::unique_ptr<THardlessList> hardlesses_;
  std::unique_ptr<TDisplacementsList> knotDisp_;
  std::unique_ptr<TShellFunctions> shellFuncs_;
  std::string fileName_;
};

}  // namespace tavir
