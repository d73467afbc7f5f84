#include "model/mesh_ops.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "model/geometry_ops.h"
#include "model/load_ops.h"
#include "model/pointer_marks.h"
#include "platform/numeric.h"
#include "platform/numtext.h"

namespace tavir {

namespace {

constexpr Extended kBoxTolerance = 1e-10L;
// The mesh division dialog's count boxes hold 1..1000000.
constexpr std::int32_t kMaxDialogCount = 1'000'000;

Extended FloorTolerance(Extended t) { return t > kMinSnapTolerance ? t : kMinSnapTolerance; }

bool Matches(const TEditorKnot& k, Extended x, Extended y, Extended z, const SnapTolerances& tol) {
  return std::fabs(k.X - x) < tol.X && std::fabs(k.Y - y) < tol.Y && std::fabs(k.Z - z) < tol.Z;
}

void ShowPlain(MessageService& messages, const std::string& text) {
  messages.Show(MsgKind::Plain, "", text, MsgButtons::Ok);
}

// Finds or adds knots like FindOrAdd, but through buckets of the tolerance's size,
// so that meshing a large region does not scan every knot for every corner. The
// answer is the same: the matching knot with the smallest number. The tolerances
// can only shrink while it is used (the smallest sizes only decrease), so a cell
// twice the first tolerances wide is never narrower than the box searched.
class KnotFinder {
 public:
  KnotFinder(TFinKnots& knots, const ViewTransform& window)
      : knots_(knots), window_(window), cell_(CellSizes(KnotSnapTolerances(knots, window))) {
    buckets_.reserve(static_cast<std::size_t>(knots.Count()) * 2 + 16);
    for (std::int32_t i = 0; i < knots.Count(); ++i) Insert(*knots.At(i), i);
  }

  FoundKnot FindOrAdd(Extended x, Extended y, Extended z) {
    const SnapTolerances tol = KnotSnapTolerances(knots_, window_);
    // The cells that the open box of the tolerances around the point touches: at
    // most two along each axis, since a cell is twice the first tolerance.
    Key lo, hi;
    if (!KeyOf(x - tol.X, y - tol.Y, z - tol.Z, lo) || !KeyOf(x + tol.X, y + tol.Y, z + tol.Z, hi))
      return tavir::FindOrAdd(knots_, window_, x, y, z);
    std::int32_t best = -1;
    for (std::int64_t cx = lo.X; cx <= hi.X; ++cx)
      for (std::int64_t cy = lo.Y; cy <= hi.Y; ++cy)
        for (std::int64_t cz = lo.Z; cz <= hi.Z; ++cz) {
          const auto it = buckets_.find(Key{cx, cy, cz});
          if (it == buckets_.end()) continue;
          for (std::int32_t i : it->second)
            if ((best < 0 || i < best) && Matches(*knots_.At(i), x, y, z, tol)) best = i;
        }
    if (best >= 0) return {knots_.At(best), false};
    TEditorKnot* knot = knots_.AddKnot(x, y, z);
    Insert(*knot, knots_.Count() - 1);
    return {knot, true};
  }

 private:
  struct Key {
    std::int64_t X, Y, Z;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    static std::uint64_t Mix(std::uint64_t x) {
      x += 0x9e3779b97f4a7c15ULL;
      x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
      x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
      return x ^ (x >> 31);
    }
    std::size_t operator()(const Key& k) const {
      return static_cast<std::size_t>(Mix(Mix(Mix(static_cast<std::uint64_t>(k.X)) ^ static_cast<std::uint64_t>(k.Y)) ^
                                          static_cast<std::uint64_t>(k.Z)));
    }
  };

  static SnapTolerances CellSizes(SnapTolerances t) {
    t.X *= 2;
    t.Y *= 2;
    t.Z *= 2;
    return t;
  }
  static bool Cell(Extended v, Extended size, std::int64_t& out) {
    const Extended c = std::floor(v / size);
    // Far-off or broken coordinates get no bucket; they are searched the slow way
    // (and such a knot can never match a point that has a bucket).
    if (!std::isfinite(c) || std::fabs(c) > 1e15L) return false;
    out = static_cast<std::int64_t>(c);
    return true;
  }
  bool KeyOf(Extended x, Extended y, Extended z, Key& key) const {
    return Cell(x, cell_.X, key.X) && Cell(y, cell_.Y, key.Y) && Cell(z, cell_.Z, key.Z);
  }
  void Insert(const TEditorKnot& k, std::int32_t i) {
    Key key;
    if (KeyOf(k.X, k.Y, k.Z, key)) buckets_[key].push_back(i);
  }

  TFinKnots& knots_;
  const ViewTransform& window_;
  const SnapTolerances cell_;
  std::unordered_map<Key, std::vector<std::int32_t>, KeyHash> buckets_;
};

// The duplicate test of rectangles (ElementExists of type 1) over a set of the
// elements' first four knots, so that meshing a large region does not scan every
// element for every cell. Kept up to date with the elements added through it.
class RectangleSet {
 public:
  explicit RectangleSet(const TFinElements& elements) {
    set_.reserve(static_cast<std::size_t>(elements.Count()) * 2 + 16);
    for (const auto& e : elements.Items())
      if (e->Knots.size() >= 4) set_.insert(Quad{e->Knots[0], e->Knots[1], e->Knots[2], e->Knots[3]});
  }
  bool Contains(const std::vector<TEditorKnot*>& ks) const { return set_.count(Quad{ks[0], ks[1], ks[2], ks[3]}) != 0; }
  void Add(const std::vector<TEditorKnot*>& ks) { set_.insert(Quad{ks[0], ks[1], ks[2], ks[3]}); }

 private:
  struct Quad {
    const TEditorKnot* K[4];
    bool operator==(const Quad& o) const { return std::equal(K, K + 4, o.K); }
  };
  struct QuadHash {
    std::size_t operator()(const Quad& q) const {
      std::size_t h = 0;
      for (const TEditorKnot* k : q.K) h ^= std::hash<const TEditorKnot*>()(k) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
      return h;
    }
  };
  std::unordered_set<Quad, QuadHash> set_;
};

void ShowNewElement(TMLEditorElement& element, Canvas* picture) {
  element.SetVisible(1);
  if (picture == nullptr) return;
  element.Draw(*picture, -1);
  for (const TEditorKnot* k : element.Knots)
    if (k != nullptr) k->Draw(*picture);
}

void UpdateForWindow(TEditorKnot& knot, const ViewTransform& window) {
  knot.Project(window);
  knot.UpdateVisible(window);
}

std::int32_t InitialCount(Extended size, Extended step) {
  if (!IsFinitePositive(step)) return 1;
  // The count the dialog's "По шагам" would give, so that both agree.
  const std::int32_t n = TruncSat(CleanQuotient(size, step));
  return std::clamp(n, 1, kMaxDialogCount);
}

// The two sizes in the general number format, like every number the user reads.
std::string RegionLabel(Extended sizeX, Extended sizeY) { return FormatGeneral(sizeX) + " x " + FormatGeneral(sizeY); }

}  // namespace

// ---- knots ----

SnapTolerances KnotSnapTolerances(const TFinKnots& knots, const ViewTransform& window) {
  const TGrid& g = window.Grid;
  SnapTolerances t;
  t.X = FloorTolerance(std::min(knots.MinSizeX / 2, g.StepX * 0.2L));
  t.Y = FloorTolerance(std::min(knots.MinSizeY / 2, g.StepY * 0.2L));
  t.Z = FloorTolerance(g.StepZ * 0.1L);
  // A NaN step leaves std::min's first argument; a NaN tolerance never compares
  // greater, so FloorTolerance has already put the floor in its place.
  return t;
}

FoundKnot FindOrAdd(TFinKnots& knots, const ViewTransform& window, Extended x, Extended y, Extended z) {
  const SnapTolerances tol = KnotSnapTolerances(knots, window);
  for (const auto& k : knots.Items())
    if (Matches(*k, x, y, z, tol)) return {k.get(), false};
  return {knots.AddKnot(x, y, z), true};
}

TEditorKnot* KnotAtPixel(const TFinKnots& knots, int x, int y, const ViewTransform& window) {
  const TGrid& g = window.Grid;
  const std::int32_t gx = RoundSat(g.StepX / window.Scale.X);
  const std::int32_t gy = RoundSat(g.StepY / window.Scale.Y);
  const std::int32_t mx = RoundSat(knots.MinSizeX / window.Scale.X);
  const std::int32_t my = RoundSat(knots.MinSizeY / window.Scale.Y);
  // At least the pixel itself: a half-width of 0 would make every knot unpickable.
  const std::int64_t tx = std::max<std::int32_t>(1, std::min(gx / 2, mx / 2));
  const std::int64_t ty = std::max<std::int32_t>(1, std::min(gy / 2, my / 2));
  for (const auto& k : knots.Items()) {
    const std::int64_t dx = static_cast<std::int64_t>(k->ScreenPoint.X) - x;
    const std::int64_t dy = static_cast<std::int64_t>(k->ScreenPoint.Y) - y;
    if ((dx < 0 ? -dx : dx) < tx && (dy < 0 ? -dy : dy) < ty) return k.get();
  }
  return nullptr;
}

DeleteOutcome DeleteKnot(TFinKnots& knots, TEditorKnot* knot) {
  const std::int32_t i = knots.IndexOfKnot(knot);
  if (i < 0) return DeleteOutcome::NotInList;
  if (knots.Elements != nullptr && KnotUsed(*knots.Elements, knot)) return DeleteOutcome::InUse;
  if (knots.Supports != nullptr) DeleteAtKnot(*knots.Supports, knot);
  if (knots.ConcForces != nullptr) DeleteAtKnot(*knots.ConcForces, knot);
  knots.Delete(i);  // also takes it out of the selection
  return DeleteOutcome::Deleted;
}

void SortByX(TFinKnots& knots) { knots.SortItems(CompareKnotsXY); }
void SortByY(TFinKnots& knots) { knots.SortItems(CompareKnotsYX); }

// ---- elements ----

bool KnotUsed(const TFinElements& elements, const TEditorKnot* knot) {
  if (knot == nullptr) return false;
  for (const auto& e : elements.Items())
    for (const TEditorKnot* k : e->Knots)
      if (k == knot) return true;
  return false;
}

bool MaterialUsed(const TFinElements& elements, const TPhisPropRodNL* material) {
  if (material == nullptr) return false;
  for (const auto& e : elements.Items()) {
    if (!TFinElements::IsPlateOrShell(*e)) continue;
    for (std::int32_t i = 0; i < e->Layers.Count(); ++i)
      if (e->Layers.LayerMaterial(i).get() == material) return true;
  }
  return false;
}

bool ElementExists(const TFinElements& elements, ElementType elementType, const TEditorKnot* a,
                   const TEditorKnot* b, const TEditorKnot* c, const TEditorKnot* d) {
  if (elementType == ElementType::Triangle) {
    for (const auto& e : elements.Items()) {
      if (e->Knots.size() < 3) continue;
      const TEditorKnot* k0 = e->Knots[0];
      const TEditorKnot* k1 = e->Knots[1];
      const TEditorKnot* k2 = e->Knots[2];
      if ((k0 == a && k1 == b && k2 == c) || (k0 == a && k1 == c && k2 == b) || (k0 == b && k1 == a && k2 == c) ||
          (k0 == b && k1 == c && k2 == a) || (k0 == c && k1 == a && k2 == b) || (k0 == c && k1 == b && k2 == a))
        return true;
    }
    return false;
  }
  if (elementType == ElementType::Rectangle) {
    for (const auto& e : elements.Items()) {
      if (e->Knots.size() < 4) continue;
      if (e->Knots[0] == a && e->Knots[1] == b && e->Knots[2] == c && e->Knots[3] == d) return true;
    }
  }
  return false;
}

AddElementResult AddElement(TFinElements& elements, MessageService& messages, ElementType elementType,
                            ElementKind elemKind, const std::vector<TEditorKnot*>& knots,
                            const std::shared_ptr<TPhisPropRodNL>& material) {
  std::size_t need = TFiniteElement::KnotCountOfType(elementType);
  if (elementType == ElementType::Triangle) need = 3;
  if (elementType == ElementType::Rectangle || elementType == ElementType::Quadrangle) need = 4;
  bool knotsOk = knots.size() >= need;
  // An element never holds a missing knot.
  for (std::size_t i = 0; knotsOk && i < need; ++i) knotsOk = knots[i] != nullptr;
  if (!knotsOk) {
    ShowPlain(messages, kKnotCountMismatchText);
    return {AddElementOutcome::TooFewKnots, nullptr};
  }
  if (elemKind != ElementKind::Plate && elemKind != ElementKind::Shell) return {AddElementOutcome::UnknownKind, nullptr};
  if (!material) {
    messages.Error(kNoElementMaterialText);
    return {AddElementOutcome::NoMaterial, nullptr};
  }
  std::unique_ptr<TMLEditorElement> made = elements.Factory()->MakeElement(elemKind, elementType, material);
  if (!made) return {AddElementOutcome::UnknownKind, nullptr};
  for (std::size_t i = 0; i < made->Knots.size() && i < knots.size(); ++i) made->Knots[i] = knots[i];
  TMLEditorElement* element = elements.Add(std::move(made));
  if (element == nullptr) return {AddElementOutcome::UnknownKind, nullptr};
  if (elementType == ElementType::Rectangle && elements.Knots != nullptr) {
    elements.Knots->SetMinSizeX(knots[3]->X - knots[0]->X);
    elements.Knots->SetMinSizeY(knots[1]->Y - knots[0]->Y);
  }
  return {AddElementOutcome::Added, element};
}

AddAtPointResult AddAtPoint(TFinElements& elements, int x, int y, const std::shared_ptr<TPhisPropRodNL>& material,
                            ElementKind elemKind, ElementType elementType, const ViewTransform& window,
                            Canvas* picture, MessageService& messages) {
  AddAtPointResult result;
  if (window.Projection != Projection::XY || elements.Knots == nullptr) {
    result.Outcome = AddAtPointOutcome::NotPlanWindow;
    return result;
  }
  TFinKnots& knots = *elements.Knots;
  const TGrid& g = window.Grid;
  const TFloatPoint p = window.PointToFloatPoint(TPoint{x, y});
  const bool stepsOk = IsFinitePositive(g.StepX) && IsFinitePositive(g.StepY);
  Extended x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  if (stepsOk) {
    x0 = std::trunc((p.X - window.MinPoint.X) / g.StepX) * g.StepX + window.MinPoint.X;
    x1 = x0 + g.StepX;
    y0 = std::trunc((p.Y - window.MinPoint.Y) / g.StepY) * g.StepY + window.MinPoint.Y;
    y1 = y0 + g.StepY;
  }
  if (!stepsOk ||
      !BoundingQuad(FloatPoint(x0, y0), FloatPoint(x0, y1), FloatPoint(x1, y1), FloatPoint(x1, y0))) {
    messages.Warning(kBadElementCoordinatesText);
    result.Outcome = AddAtPointOutcome::BadCell;
    return result;
  }

  if (elementType != ElementType::Triangle && elementType != ElementType::Rectangle) {
    result.Outcome = AddAtPointOutcome::UnsupportedType;
    return result;
  }
  // Once for the click, not once for each of its triangles.
  if (!material && (elemKind == ElementKind::Plate || elemKind == ElementKind::Shell)) {
    messages.Error(kNoElementMaterialText);
    result.Outcome = AddAtPointOutcome::NoMaterial;
    return result;
  }

  std::vector<TEditorKnot*> added;  // knots this call made
  auto find = [&](Extended kx, Extended ky) {
    const FoundKnot f = FindOrAdd(knots, window, kx, ky, 0);
    if (f.Added) added.push_back(f.Knot);
    return f.Knot;
  };
  auto removeAdded = [&] {
    for (TEditorKnot* k : added) DeleteKnot(knots, k);  // a knot an element uses stays
    added.clear();
  };
  auto addOne = [&](const std::vector<TEditorKnot*>& ks, const char* existsText) {
    for (TEditorKnot* k : ks) UpdateForWindow(*k, window);
    const bool exists = ks.size() == 3 ? ElementExists(elements, ElementType::Triangle, ks[0], ks[1], ks[2])
                                       : ElementExists(elements, ElementType::Rectangle, ks[0], ks[1], ks[2], ks[3]);
    if (exists) {
      ShowPlain(messages, existsText);
      ++result.Duplicates;
      return;
    }
    const AddElementResult r = AddElement(elements, messages, elementType, elemKind, ks, material);
    if (r.Element == nullptr) {
      ++result.Refused;
      return;
    }
    ShowNewElement(*r.Element, picture);
    result.Added.push_back(r.Element);
  };

  if (elementType == ElementType::Triangle) {
    {
      TEditorKnot* a = find(x0, y0);
      TEditorKnot* b = find(x0, y1);
      TEditorKnot* c = find(x1, y1);
      addOne({a, b, c}, kTriangleExistsText);
    }
    {
      TEditorKnot* a = find(x0, y0);
      TEditorKnot* b = find(x1, y1);
      TEditorKnot* c = find(x1, y0);
      addOne({a, b, c}, kTriangleExistsText);
    }
  } else {
    TEditorKnot* a = find(x0, y0);
    TEditorKnot* b = find(x0, y1);
    TEditorKnot* c = find(x1, y1);
    TEditorKnot* d = find(x1, y0);
    if (!IsValidQuad(FloatPoint(a->X, a->Y), FloatPoint(b->X, b->Y), FloatPoint(c->X, c->Y),
                     FloatPoint(d->X, d->Y))) {
      messages.Warning(kBadElementCoordinatesText);
      removeAdded();
      result.Outcome = AddAtPointOutcome::BadQuad;
      return result;
    }
    addOne({a, b, c, d}, kRectangleExistsText);
  }
  // Knots of an element that was refused would be left over with nothing on them.
  if (result.Refused > 0) removeAdded();
  return result;
}

TMLEditorElement* ElementAtPoint(const TFinElements& elements, int x, int y, const ViewTransform& window) {
  const TFloatPoint p = window.PointToFloatPoint(TPoint{x, y});
  for (const auto& e : elements.Items()) {
    if (e->ElementType != ElementType::Rectangle && e->ElementType != ElementType::Quadrangle) continue;
    if (!TFinElements::IsPlateOrShell(*e) || e->Knots.size() < 4) continue;
    const TEditorKnot* k0 = e->Knots[0];
    const TEditorKnot* k1 = e->Knots[1];
    const TEditorKnot* k3 = e->Knots[3];
    if (k0 == nullptr || k1 == nullptr || k3 == nullptr) continue;
    if (InBox(p.X, p.Y, k0->X, k1->Y, k3->X, k3->Y, kBoxTolerance)) return e.get();
  }
  return nullptr;
}

DivideResult DivideRegion(TFinElements& elements, const TFloatPoint& topLeft, const TFloatPoint& bottomRight,
                          const std::shared_ptr<TPhisPropRodNL>& material, ElementKind elemKind,
                          ElementType elementType, const ViewTransform& window, ModelDialogs& dialogs,
                          MessageService& messages) {
  DivideResult result;
  DivideDialogValues start;
  start.SizeX = bottomRight.X - topLeft.X;
  start.SizeY = topLeft.Y - bottomRight.Y;
  start.StepX = window.Grid.StepX;
  start.StepY = window.Grid.StepY;
  start.Nx = InitialCount(start.SizeX, start.StepX);
  start.Ny = InitialCount(start.SizeY, start.StepY);
  start.RegionLabel = RegionLabel(start.SizeX, start.SizeY);
  const std::optional<DivideDialogValues> answer = dialogs.DivideRegion(start);
  if (!answer) {
    result.Outcome = DivideOutcome::Cancelled;
    return result;
  }
  const Extended sx = answer->StepX;
  const Extended sy = answer->StepY;
  const std::int64_t nx = answer->Nx;
  const std::int64_t ny = answer->Ny;
  if (!IsFinitePositive(sx) || !IsFinitePositive(sy) || nx < 1 || ny < 1) {
    messages.Error(kBadDivisionText);
    result.Outcome = DivideOutcome::BadParameters;
    return result;
  }
  if (elementType == ElementType::Rectangle) {
    if (nx * ny > kMaxDivideElements) {
      messages.Error("Слишком много элементов: " + std::to_string(nx * ny) + ".\rОбласть можно разбить не более чем на " +
                     std::to_string(kMaxDivideElements) + " элементов.");
      result.Outcome = DivideOutcome::TooManyElements;
      return result;
    }
    // Refused before any knot is made, so that a refusal leaves no stray knots.
    if (elemKind != ElementKind::Plate && elemKind != ElementKind::Shell) {
      result.Outcome = DivideOutcome::UnknownKind;
      return result;
    }
    if (!material) {
      messages.Error(kNoElementMaterialText);
      result.Outcome = DivideOutcome::NoMaterial;
      return result;
    }
  }
  if (elements.Knots == nullptr) return result;
  TFinKnots& knots = *elements.Knots;
  knots.SetMinSizeX(sx);
  knots.SetMinSizeY(sy);
  if (elementType != ElementType::Rectangle) return result;

  const std::int32_t knotsBefore = knots.Count();
  KnotFinder finder(knots, window);
  RectangleSet rectangles(elements);
  const Extended left = topLeft.X;
  const Extended bottom = bottomRight.Y;
  // The outer loop runs along the larger count, so that numbers grow across the
  // narrow side first and the band stays narrow.
  const bool outerAlongY = nx < ny;
  const std::int64_t outerCount = outerAlongY ? ny : nx;
  const std::int64_t innerCount = outerAlongY ? nx : ny;
  for (std::int64_t o = 1; o <= outerCount; ++o) {
    for (std::int64_t i = 0; i < innerCount; ++i) {
      const Extended eo0 = static_cast<Extended>(o - 1), eo1 = static_cast<Extended>(o);
      const Extended ei0 = static_cast<Extended>(i), ei1 = static_cast<Extended>(i + 1);
      std::vector<TEditorKnot*> ks(4);
      if (!outerAlongY) {
        ks[0] = finder.FindOrAdd(left + eo0 * sx, bottom + ei0 * sy, 0).Knot;
        ks[1] = finder.FindOrAdd(left + eo0 * sx, bottom + ei1 * sy, 0).Knot;
        ks[2] = finder.FindOrAdd(left + eo1 * sx, bottom + ei1 * sy, 0).Knot;
        ks[3] = finder.FindOrAdd(left + eo1 * sx, bottom + ei0 * sy, 0).Knot;
      } else {
        ks[0] = finder.FindOrAdd(left + ei0 * sx, bottom + eo0 * sy, 0).Knot;
        ks[1] = finder.FindOrAdd(left + ei0 * sx, bottom + eo1 * sy, 0).Knot;
        ks[2] = finder.FindOrAdd(left + ei1 * sx, bottom + eo1 * sy, 0).Knot;
        ks[3] = finder.FindOrAdd(left + ei1 * sx, bottom + eo0 * sy, 0).Knot;
      }
      if (rectangles.Contains(ks)) {
        ++result.Duplicates;
        continue;
      }
      if (AddElement(elements, messages, ElementType::Rectangle, elemKind, ks, material).Element != nullptr) {
        rectangles.Add(ks);
        ++result.ElementsAdded;
      }
    }
  }
  result.KnotsAdded = knots.Count() - knotsBefore;
  return result;
}

DeleteOutcome DeleteElement(TFinElements& elements, TMLEditorElement* element) {
  const std::int32_t i = elements.IndexOfElement(element);
  if (i < 0) return DeleteOutcome::NotInList;
  const std::vector<TEditorKnot*> noted = element->Knots;
  if (elements.DispForces != nullptr) DeleteAtElement(*elements.DispForces, element);
  elements.Delete(i);  // also takes it out of the selection
  if (elements.Knots != nullptr) {
    std::unordered_set<const TEditorKnot*> done;
    for (TEditorKnot* k : noted)
      if (k != nullptr && done.insert(k).second) DeleteKnot(*elements.Knots, k);
  }
  return DeleteOutcome::Deleted;
}

int DeleteSelected(TFinElements& elements, Canvas* picture) {
  // The same as DeleteElement of every selected element in turn, but one pass over
  // each list: deleting element by element scans the lists for every element.
  // A knot of a deleted element goes when no surviving element uses it, which is
  // what the check after each single deletion comes to once all are done.
  constexpr std::uint8_t kGone = 1;                               // elements
  constexpr std::uint8_t kNoted = 1, kKept = 2, kDead = 3;          // their knots
  const std::vector<TMLEditorElement*>& selection = elements.Selection();
  PointerMarks<TFiniteElement> gone(selection.size());  // the selected elements in the list
  PointerMarks<TEditorKnot> knotMarks(selection.size() * 2);
  int deleted = 0;
  for (const auto& e : elements.Items()) {
    if (!elements.IsSelected(e.get())) continue;
    gone.Set(e.get(), kGone);
    ++deleted;
    for (const TEditorKnot* k : e->Knots) knotMarks.Set(k, kNoted);
  }
  // In selection order; every knot of every deleted element is still there.
  if (picture != nullptr)
    for (TMLEditorElement* e : selection)
      if (gone.Get(e) == kGone && TFinElements::IsPlateOrShell(*e)) e->DrawErase(*picture, 0xFFFFFF);

  if (elements.DispForces != nullptr)
    elements.DispForces->RemoveIf([&](const TEditorDispersionForce& f) { return gone.Get(f.Element) == kGone; });
  elements.RemoveElementsIf([&](const TMLEditorElement& e) { return gone.Get(&e) == kGone; });

  if (elements.Knots != nullptr && deleted > 0) {
    TFinKnots& knots = *elements.Knots;
    // Knots a survivor uses stay (the knot list's own element link decides, as in
    // DeleteKnot), and so does whatever is on a knot that is not in the list.
    if (knots.Elements != nullptr)
      for (const auto& e : knots.Elements->Items())
        for (const TEditorKnot* k : e->Knots)
          if (knotMarks.Get(k) == kNoted) knotMarks.Set(k, kKept);
    for (const auto& k : knots.Items())
      if (knotMarks.Get(k.get()) == kNoted) knotMarks.Set(k.get(), kDead);
    auto dead = [&](const TEditorKnot* k) { return knotMarks.Get(k) == kDead; };
    if (knots.Supports != nullptr) knots.Supports->RemoveIf([&](const TEditorSupport& s) { return dead(s.Knot); });
    if (knots.ConcForces != nullptr)
      knots.ConcForces->RemoveIf([&](const TEditorConcentrateForce& f) { return dead(f.Knot); });
    knots.RemoveKnotsIf([&](const TEditorKnot& k) { return dead(&k); });
  }
  elements.UnselectAll(nullptr);
  return deleted;
}

EditOutcome EditProperties(TFinElements& elements, TMLEditorElement* element, ModelDialogs& dialogs) {
  if (element == nullptr || elements.IndexOfElement(element) < 0 || !TFinElements::IsPlateOrShell(*element) ||
      elements.Materials == nullptr)
    return EditOutcome::NotEditable;
  auto* shell = element->ElemKind == ElementKind::Shell ? dynamic_cast<TMLEditorShell*>(element) : nullptr;
  ElementDialogValues start;
  start.Layers.Assign(element->Layers);
  if (shell != nullptr) {
    start.Kx = shell->Kx;
    start.Ky = shell->Ky;
    start.Kxy = shell->Kxy;
  }
  std::optional<ElementDialogValues> answer = dialogs.ElementProperties(*elements.Materials, element->ElemKind, start);
  if (!answer) return EditOutcome::Cancelled;
  element->Layers.Assign(answer->Layers);
  if (shell != nullptr) {
    shell->SetKx(answer->Kx);
    shell->SetKy(answer->Ky);
    shell->SetKxy(answer->Kxy);
  }
  return EditOutcome::Changed;
}

int ApplyPropertiesToElements(const std::vector<TMLEditorElement*>& targets, const ElementDialogValues& values,
                              MessageService& messages) {
  int changed = 0;
  const TMLEditorElement* first = nullptr;
  for (TMLEditorElement* e : targets) {
    if (e == nullptr) continue;
    if (first == nullptr) {
      first = e;
    } else if (e->ElemKind != first->ElemKind) {
      messages.Warning(kDifferentKindsText);
    }
    if (e->ElemKind == ElementKind::Plate) {
      e->Layers.CopyFrom(values.Layers);
      ++changed;
    } else if (e->ElemKind == ElementKind::Shell) {
      e->Layers.CopyFrom(values.Layers);
      if (auto* shell = dynamic_cast<TMLEditorShell*>(e)) {
        shell->SetKx(values.Kx);
        shell->SetKy(values.Ky);
        shell->SetKxy(values.Kxy);
      }
      ++changed;
    }
  }
  return changed;
}

std::int64_t MeshBandWidth(const TFinElements& elements) {
  if (elements.Knots == nullptr) return 0;
  const KnotPositionMap positions(*elements.Knots);
  std::int64_t w = 0;
  for (const auto& e : elements.Items()) {
    if (e->ElemKind != ElementKind::Shell) continue;
    std::int64_t lo = -1, hi = -1;
    for (const TEditorKnot* k : e->Knots) {
      const std::int32_t p = positions.IndexOfKnot(k);
      if (p < 0) continue;
      if (lo < 0 || p < lo) lo = p;
      if (hi < 0 || p > hi) hi = p;
    }
    if (lo >= 0) w = std::max(w, hi - lo);
  }
  return w > 0 ? (w + 1) * 5 : 0;
}

}  // namespace tavir
