#pragma once
// The operations on supports, loads, materials and shell surfaces that the
// commands, the editing desk and the dialogs use. A support or load whose value is
// all zero does not exist: setting such a value deletes the item, adding one makes
// nothing. A knot has at most one support and one concentrated load, an element at
// most one distributed load, as far as the setters go; deleting removes every item
// on the knot or element, since the lists may hold more (AddSupport and AddForce
// append).
//
// The lists that the project already gives (AddMaterial, MaterialByIndex,
// ChooseMaterial, MaterialName, IndexOfMaterial, the Delete of each list at a
// position) are used as they are.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/elements.h"
#include "model/knots.h"
#include "model/model_ui_dialogs.h"
#include "model/project.h"
#include "model/records.h"
#include "model/view_transform.h"
#include "platform/services.h"

namespace tavir {

inline constexpr const char* kMaterialNotFoundText = "Материал не найден!";
inline constexpr const char* kMaterialInUseText =
    "Материал используется элементами!\rИзмените свойства элементов, затем\rудаляйте материал";
inline constexpr const char* kMaterialNameNotStorableText =
    "Название материала содержит символы, которые нельзя сохранить в файле проекта!";

bool IsAllZero(const TFixation& f);
bool IsAllZero(const TForceRecord& f);

enum class SetOutcome {
  Added,
  Changed,
  Deleted,  // an all-zero value removed the item(s)
  Nothing,  // an all-zero value and no item, or no knot / element
};

// ---- supports ----

// A new support on the knot (direction 0, not visible); nothing for an all-zero
// fixation or no knot.
TEditorSupport* AddSupport(TEditorSupports& supports, TEditorKnot* knot, const TFixation& fixation);
// Gives the knot the support, or takes it away when the fixation is all free. A
// new support is visible when its knot is. Afterwards the knot has at most one.
SetOutcome SetSupport(TEditorSupports& supports, TEditorKnot* knot, const TFixation& fixation,
                      std::int32_t direction);
// Deletes every support on the knot; returns how many (0 when it had none).
int DeleteAtKnot(TEditorSupports& supports, const TEditorKnot* knot);

// ---- concentrated loads ----

// Appends a load on the knot (not visible) and returns its position; -1 and
// nothing for no knot or an all-zero force.
std::int32_t AddForce(TConcForcesList& forces, TEditorKnot* knot, const TForceRecord& force);
SetOutcome SetForce(TConcForcesList& forces, TEditorKnot* knot, const TForceRecord& force);
// The load of the knot; six zeros when it has none.
TForceRecord GetForce(const TConcForcesList& forces, const TEditorKnot* knot);
int DeleteAtKnot(TConcForcesList& forces, const TEditorKnot* knot);

// ---- distributed loads ----

std::int32_t AddForce(TDispForcesList& forces, TFiniteElement* element, const TForceRecord& force);
SetOutcome SetForce(TDispForcesList& forces, TFiniteElement* element, const TForceRecord& force);
TForceRecord GetForce(const TDispForcesList& forces, const TFiniteElement* element);
int DeleteAtElement(TDispForcesList& forces, const TFiniteElement* element);

// ---- materials ----

// The material dialog on a new material with default properties; on OK it is
// appended under the name typed. nullptr on Cancel (or a name a project file
// cannot store, with a message).
std::shared_ptr<TPhisPropRodNL> NewMaterial(TMaterials& materials, ModelDialogs& dialogs, MessageService& messages);

enum class MaterialOutcome {
  Changed,
  Deleted,
  Cancelled,
  NotFound,    // not in the list ("Материал не найден!" when editing)
  InUse,       // a layer uses it: the error message, the material stays
  BadName,     // the name cannot be stored in a project file: message, nothing changed
};

// The material dialog on a copy of the material and its name; on OK the material
// takes the values and the name.
MaterialOutcome EditMaterial(TMaterials& materials, const TPhisPropRodNL* material, ModelDialogs& dialogs,
                             MessageService& messages);

// Layers outside the element list that also hold materials: the default layer
// stack of the supervisor, and the layers of a dialog being edited.
struct MaterialHolders {
  std::vector<const TGeometricElement*> Stacks;
  std::vector<const TPhisicalElement*> Layers;
};

// Whether a layer of an element, or one of the holders, uses the material.
bool MaterialInUse(const TMaterials& materials, const TPhisPropRodNL* material, const MaterialHolders& holders = {});

// Removes the material from the list unless it is in use (MaterialInUse): then the
// error box "Материал используется элементами!...", caption "Ошибка".
MaterialOutcome DeleteMaterial(TMaterials& materials, const TPhisPropRodNL* material, MessageService& messages,
                               const MaterialHolders& holders = {});

// ---- shell surfaces ----

// A paraboloid (kind 0) at the origin, or a sphere (kind 3) centred on the plan
// square whose lower-left corner is the origin; four (two) parameters set a, b,
// f1, f2 (a, f), any other count keeps the surface's own. Returns the position of
// the new surface; -1 for any other kind.
std::int32_t AddShell(TShellFunctions& shells, std::int16_t kind, const TFloatPoint3D& origin, std::uint8_t plane,
                      const std::vector<Extended>& params, TColor color);

enum class AddShellOutcome {
  Added,
  Cancelled,   // either dialog, or no kind chosen
  EmptyFrame,  // the frame's corners are not plan points (a window other than the plan)
};
struct AddShellResult {
  AddShellOutcome Outcome = AddShellOutcome::Cancelled;
  std::int32_t Position = -1;
};

// The surface-kind dialog, then the data dialog on the frame p1 (smallest X,
// largest Y) to p2 (largest X, smallest Y): origin (p1.X, p2.Y, p1.Z), red contour,
// paraboloid a, b = the frame's width and height, f1 = f2 = 0.2; sphere a = the
// larger of the two, f = 0.2. On OK the surface is added in the given plane.
AddShellResult AddByDialog(TShellFunctions& shells, const TFloatPoint3D& p1, const TFloatPoint3D& p2,
                           std::uint8_t plane, const TViewTransform& window, ModelDialogs& dialogs);

// The project surfaces dialog on the list.
void ShowList(TShellFunctions& shells, ModelDialogs& dialogs);

}  // namespace tavir
