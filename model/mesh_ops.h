#pragma once
// The operations that change the mesh: finding or adding a knot with the snapping
// tolerances, picking knots and elements under the mouse, adding the elements of a
// grid cell by a click, meshing a rectangular region, creating and deleting
// elements and knots with their dependants, the duplicate test, the element
// properties dialog, and the band width and knot renumbering of the band
// optimisation. Coordinates are model units, pixels those of an editing window's
// picture; "window" is the window's model-to-screen transform.
//
// The lists must be linked as the project links them (TVelEditorProject): the knot
// list to the elements, supports and concentrated loads, the element list to the
// knots, materials and distributed loads.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/elements.h"
#include "model/knots.h"
#include "model/model_ui_dialogs.h"
#include "model/project.h"
#include "model/records.h"
#include "model/view_transform.h"
#include "platform/canvas.h"
#include "platform/services.h"

namespace tavir {

// Smallest snapping tolerance: a step or size of zero or less must still let a
// click find the knot it lies on instead of adding a duplicate.
inline constexpr Extended kMinSnapTolerance = 1e-10L;
// Largest number of elements one region division may make. A million shell
// elements with their knots take about 0.7 GB; several times that no longer fits a
// working machine, and the analysis of such a model would not run at all.
inline constexpr std::int64_t kMaxDivideElements = 1'000'000;

inline constexpr const char* kBadElementCoordinatesText = "Координаты элемента введены не верно!";
inline constexpr const char* kTriangleExistsText = "Элемент уже существует!";
inline constexpr const char* kRectangleExistsText = "Уже есть!";
inline constexpr const char* kKnotCountMismatchText = "Несовпадение количества узлов в массиве элемента!";
inline constexpr const char* kNoElementMaterialText =
    "Нет материала для нового элемента!\rСоздайте материал, затем вводите элементы.";
inline constexpr const char* kBadDivisionText =
    "Неверные параметры разбиения!\rШаг должен быть больше нуля, количество шагов - не меньше 1.";
inline constexpr const char* kDifferentKindsText =
    "Изменения принимаются для элементов разного типа!\r\nНапример: элементы оболочки и элементы "
    "пластины.\r\nВозможно не для всех элементов изменения будут приняты.";

// ---- knots ----

// The snapping tolerances of FindOrAdd for a window: X and Y the smaller of half
// the smallest element size and a fifth of the grid step, Z a tenth of the Z step;
// none below kMinSnapTolerance.
struct SnapTolerances {
  Extended X = kMinSnapTolerance, Y = kMinSnapTolerance, Z = kMinSnapTolerance;
};
SnapTolerances KnotSnapTolerances(const TFinKnots& knots, const TViewTransform& window);

struct FoundKnot {
  TEditorKnot* Knot = nullptr;
  bool Added = false;  // the knot was made by this call
};

// The first knot, in numbering order, strictly within the snap tolerances of
// (x, y, z); otherwise a new knot there (not visible, screen point (0, 0)).
FoundKnot FindOrAdd(TFinKnots& knots, const TViewTransform& window, Extended x, Extended y, Extended z);

// The first knot whose screen point (as last computed) lies within the half-widths
// of the pixel: half a grid step and half the smallest element size, in pixels, and
// at least one pixel (the knot drawn on the pixel itself). nullptr when none.
TEditorKnot* KnotAtPixel(const TFinKnots& knots, int x, int y, const TViewTransform& window);

enum class DeleteOutcome {
  Deleted,
  NotInList,  // nullptr, or not an item of the list
  InUse,      // a knot that an element uses stays
};

// Deletes the knot with every support and concentrated load on it (the lists may
// hold more than one), unless an element uses it.
DeleteOutcome DeleteKnot(TFinKnots& knots, TEditorKnot* knot);

// Renumber the knots in order of X then Y, or of Y then X (not stable: knots at
// the same point come out in no fixed order).
void SortByX(TFinKnots& knots);
void SortByY(TFinKnots& knots);

// ---- elements ----

// Whether some element, of any class, has the knot in its knot array.
bool KnotUsed(const TFinElements& elements, const TEditorKnot* knot);
// Whether some plate or shell element has a layer on the material.
bool MaterialUsed(const TFinElements& elements, const TPhisPropRodNL* material);

// The duplicate test: type 0, an element whose first three knots are a, b and c in
// any order; type 1, an element whose four knots are a, b, c, d in this order; any
// other type never. Elements with fewer knots than the test needs are passed over.
bool ElementExists(const TFinElements& elements, ElementType elementType, const TEditorKnot* a,
                   const TEditorKnot* b, const TEditorKnot* c, const TEditorKnot* d = nullptr);

enum class AddElementOutcome {
  Added,
  TooFewKnots,  // "Несовпадение количества узлов в массиве элемента!" (also a missing knot)
  UnknownKind,  // neither plate (0) nor shell (5): nothing is made, no message
  NoMaterial,   // refused with kNoElementMaterialText
};
struct AddElementResult {
  AddElementOutcome Outcome = AddElementOutcome::Added;
  TMLEditorElement* Element = nullptr;
};

// A plate or shell element of the type on the knots (in order), with one layer on
// the material, appended to the list. A rectangle brings the knot list's smallest
// sizes down to its width and height.
AddElementResult AddElement(TFinElements& elements, MessageService& messages, ElementType elementType,
                            ElementKind elemKind, const std::vector<TEditorKnot*>& knots,
                            const std::shared_ptr<TPhisPropRodNL>& material);

enum class AddAtPointOutcome {
  Done,             // see the counts
  NotPlanWindow,    // the grid cell is only defined in a plan window (projection 0): nothing
  BadCell,          // zero-size or undefined grid cell: warning, nothing added
  BadQuad,          // the knots found do not go round a rectangle: warning, the new knots removed
  UnsupportedType,  // an element type this input does not make: nothing
  NoMaterial,       // no material for the new elements: kNoElementMaterialText, nothing added
};
struct AddAtPointResult {
  AddAtPointOutcome Outcome = AddAtPointOutcome::Done;
  std::vector<TMLEditorElement*> Added;
  int Duplicates = 0;  // elements that existed already (with their message)
  int Refused = 0;     // elements AddElement refused
};

// The elements of the grid cell under the pixel: two triangles (type 0) or one
// rectangle (type 1). A new element is made visible and drawn on the picture, when
// one is given, with its knots. Knots found or added stay when an element exists
// already; knots this call added are removed again when no element came of them.
AddAtPointResult AddAtPoint(TFinElements& elements, int x, int y, const std::shared_ptr<TPhisPropRodNL>& material,
                            ElementKind elemKind, ElementType elementType, const TViewTransform& window,
                            Canvas* picture, MessageService& messages);

// The first rectangle or quadrangle (plate or shell) whose box holds the model point
// of the pixel (within 1e-10); triangles are never found. nullptr when none.
TMLEditorElement* ElementAtPoint(const TFinElements& elements, int x, int y, const TViewTransform& window);

enum class DivideOutcome {
  Done,
  Cancelled,
  BadParameters,    // a step of zero or less, or a count below 1: message, nothing changed
  TooManyElements,  // more than kMaxDivideElements: message, nothing changed
  NoMaterial,       // message, nothing changed
  UnknownKind,      // neither plate nor shell: nothing changed
};
struct DivideResult {
  DivideOutcome Outcome = DivideOutcome::Done;
  std::int64_t ElementsAdded = 0;
  std::int64_t KnotsAdded = 0;
  std::int64_t Duplicates = 0;  // cells that had their rectangle already (skipped silently)
};

// Meshes the region with top-left corner topLeft (smallest X, largest Y) and
// bottom-right corner bottomRight into rectangles by the steps and counts the user
// gives in the mesh division dialog. Only element type 1 makes elements; the
// smallest sizes take the steps in any case. Nothing is drawn.
DivideResult DivideRegion(TFinElements& elements, const TFloatPoint& topLeft, const TFloatPoint& bottomRight,
                          const std::shared_ptr<TPhisPropRodNL>& material, ElementKind elemKind,
                          ElementType elementType, const TViewTransform& window, ModelDialogs& dialogs,
                          MessageService& messages);

// Deletes the element with every distributed load on it, takes it out of the
// selection, and deletes those of its knots that no other element uses.
DeleteOutcome DeleteElement(TFinElements& elements, TMLEditorElement* element);

// Wipes every selected plate or shell element off the picture (when one is given,
// in white), deletes it as DeleteElement does, and empties the selection. Returns
// the number deleted. One pass over each list, however many are selected.
int DeleteSelected(TFinElements& elements, Canvas* picture);

enum class EditOutcome {
  Changed,
  Cancelled,
  NotEditable,  // nullptr, not in the list, or neither plate nor shell
};

// The element dialog on the element's layers (shared) and, for a shell, its
// curvatures; on OK the element takes the dialog's stack and curvatures.
EditOutcome EditProperties(TFinElements& elements, TMLEditorElement* element, ModelDialogs& dialogs);

// Gives the dialog's values to several elements at once, in order: each plate or
// shell gets its own copy of the layers (never layer objects shared with another
// element), a shell also the curvatures. An element whose kind differs from the
// first one's gets the warning kDifferentKindsText. Returns the number changed.
int ApplyPropertiesToElements(const std::vector<TMLEditorElement*>& targets, const ElementDialogValues& values,
                              MessageService& messages);

// The band width of the shell elements: (W + 1) x 5 with W the largest difference
// of knot numbers within one shell element; 0 when W is 0 or there is no shell.
// Named apart from the analysis's BandWidth, which links into the same programs.
std::int64_t MeshBandWidth(const TFinElements& elements);

}  // namespace tavir
