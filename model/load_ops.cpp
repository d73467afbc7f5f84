#include "model/load_ops.h"

#include <algorithm>

#include "model/mesh_ops.h"
#include "platform/cp1251.h"

namespace tavir {

namespace {

// Deletes every item after the first that the predicate picks.
template <class List, class Pred>
void DeleteLaterDuplicates(List& list, std::int32_t first, Pred pick) {
  for (std::int32_t i = list.Count() - 1; i > first; --i)
    if (pick(*list.At(i))) list.Delete(i);
}

bool StackUses(const TGeometricElement& stack, const TPhisPropRodNL* material) {
  for (std::int32_t i = 0; i < stack.Count(); ++i)
    if (stack.LayerMaterial(i).get() == material) return true;
  return false;
}

}  // namespace

bool IsAllZero(const TFixation& f) {
  return std::all_of(f.begin(), f.end(), [](std::uint8_t b) { return b == 0; });
}

bool IsAllZero(const TForceRecord& f) { return f.IsZero(); }

// ---- supports ----

TEditorSupport* AddSupport(TEditorSupports& supports, TEditorKnot* knot, const TFixation& fixation) {
  if (knot == nullptr || IsAllZero(fixation)) return nullptr;
  std::unique_ptr<TEditorSupport> s = supports.Factory()->MakeSupport();
  s->Knot = knot;
  s->Fixation = fixation;
  s->Direction = 0;
  s->Visible = 0;
  return supports.Add(std::move(s));
}

SetOutcome SetSupport(TEditorSupports& supports, TEditorKnot* knot, const TFixation& fixation,
                      std::int32_t direction) {
  if (knot == nullptr) return SetOutcome::Nothing;
  const std::int32_t i = supports.IndexOfKnot(knot);
  if (IsAllZero(fixation)) return DeleteAtKnot(supports, knot) > 0 ? SetOutcome::Deleted : SetOutcome::Nothing;
  if (i < 0) {
    std::unique_ptr<TEditorSupport> s = supports.Factory()->MakeSupport();
    s->Knot = knot;
    s->Fixation = fixation;
    s->Direction = direction;
    s->Visible = knot->Visible;
    supports.Add(std::move(s));
    return SetOutcome::Added;
  }
  TEditorSupport* s = supports.At(i);
  s->Fixation = fixation;
  s->Direction = direction;
  DeleteLaterDuplicates(supports, i, [knot](const TEditorSupport& x) { return x.Knot == knot; });
  return SetOutcome::Changed;
}

int DeleteAtKnot(TEditorSupports& supports, const TEditorKnot* knot) {
  if (knot == nullptr) return 0;
  return supports.RemoveIf([knot](const TEditorSupport& s) { return s.Knot == knot; });
}

// ---- concentrated loads ----

std::int32_t AddForce(TConcForcesList& forces, TEditorKnot* knot, const TForceRecord& force) {
  if (knot == nullptr || IsAllZero(force)) return -1;
  std::unique_ptr<TEditorConcentrateForce> f = forces.Factory()->MakeConcForce();
  f->Knot = knot;
  f->SetForce(force);
  f->Visible = 0;
  forces.Add(std::move(f));
  return forces.Count() - 1;
}

SetOutcome SetForce(TConcForcesList& forces, TEditorKnot* knot, const TForceRecord& force) {
  if (knot == nullptr) return SetOutcome::Nothing;
  if (IsAllZero(force)) return DeleteAtKnot(forces, knot) > 0 ? SetOutcome::Deleted : SetOutcome::Nothing;
  const std::int32_t i = forces.IndexOfKnot(knot);
  if (i < 0) return AddForce(forces, knot, force) >= 0 ? SetOutcome::Added : SetOutcome::Nothing;
  forces.At(i)->SetForce(force);
  DeleteLaterDuplicates(forces, i, [knot](const TEditorConcentrateForce& x) { return x.Knot == knot; });
  return SetOutcome::Changed;
}

TForceRecord GetForce(const TConcForcesList& forces, const TEditorKnot* knot) {
  const std::int32_t i = forces.IndexOfKnot(knot);
  return i >= 0 ? forces.At(i)->Force : TForceRecord{};
}

int DeleteAtKnot(TConcForcesList& forces, const TEditorKnot* knot) {
  if (knot == nullptr) return 0;
  return forces.RemoveIf([knot](const TEditorConcentrateForce& f) { return f.Knot == knot; });
}

// ---- distributed loads ----

std::int32_t AddForce(TDispForcesList& forces, TFiniteElement* element, const TForceRecord& force) {
  if (element == nullptr || IsAllZero(force)) return -1;
  std::unique_ptr<TEditorDispersionForce> f = forces.Factory()->MakeDispForce();
  f->Element = element;
  f->SetForce(force);
  f->Visible = 0;
  f->Option1 = 0;
  f->Option2 = 0;
  forces.Add(std::move(f));
  return forces.Count() - 1;
}

SetOutcome SetForce(TDispForcesList& forces, TFiniteElement* element, const TForceRecord& force) {
  if (element == nullptr) return SetOutcome::Nothing;
  if (IsAllZero(force)) return DeleteAtElement(forces, element) > 0 ? SetOutcome::Deleted : SetOutcome::Nothing;
  const std::int32_t i = forces.IndexOfElement(element);
  if (i < 0) return AddForce(forces, element, force) >= 0 ? SetOutcome::Added : SetOutcome::Nothing;
  forces.At(i)->SetForce(force);
  DeleteLaterDuplicates(forces, i, [element](const TEditorDispersionForce& x) { return x.Element == element; });
  return SetOutcome::Changed;
}

TForceRecord GetForce(const TDispForcesList& forces, const TFiniteElement* element) {
  const std::int32_t i = forces.IndexOfElement(element);
  return i >= 0 ? forces.At(i)->Force : TForceRecord{};
}

int DeleteAtElement(TDispForcesList& forces, const TFiniteElement* element) {
  if (element == nullptr) return 0;
  return forces.RemoveIf([element](const TEditorDispersionForce& f) { return f.Element == element; });
}

// ---- materials ----

std::shared_ptr<TPhisPropRodNL> NewMaterial(TMaterials& materials, ModelDialogs& dialogs, MessageService& messages) {
  MaterialDialogValues start;
  start.Material.Assign(*materials.Factory()->MakeMaterial());
  std::optional<MaterialDialogValues> answer = dialogs.MaterialProperties(start);
  if (!answer) return nullptr;
  if (!IsCp1251Encodable(answer->Name)) {
    messages.Error(kMaterialNameNotStorableText);
    return nullptr;
  }
  std::shared_ptr<TPhisPropRodNL> material = materials.AddMaterial(answer->Name);
  material->Assign(answer->Material);
  return material;
}

MaterialOutcome EditMaterial(TMaterials& materials, const TPhisPropRodNL* material, ModelDialogs& dialogs,
                             MessageService& messages) {
  const std::int32_t i = materials.IndexOfMaterial(material);
  if (i < 0) {
    messages.Show(MsgKind::Plain, "", kMaterialNotFoundText, MsgButtons::Ok);
    return MaterialOutcome::NotFound;
  }
  MaterialDialogValues start;
  start.Material.Assign(*material);
  start.Name = materials.Name(i);
  std::optional<MaterialDialogValues> answer = dialogs.MaterialProperties(start);
  if (!answer) return MaterialOutcome::Cancelled;
  if (!IsCp1251Encodable(answer->Name)) {
    messages.Error(kMaterialNameNotStorableText);
    return MaterialOutcome::BadName;
  }
  materials.Material(i)->Assign(answer->Material);
  materials.SetName(i, answer->Name);
  return MaterialOutcome::Changed;
}

bool MaterialInUse(const TMaterials& materials, const TPhisPropRodNL* material, const MaterialHolders& holders) {
  if (material == nullptr) return false;
  if (materials.Elements != nullptr && MaterialUsed(*materials.Elements, material)) return true;
  for (const TGeometricElement* s : holders.Stacks)
    if (s != nullptr && StackUses(*s, material)) return true;
  for (const TPhisicalElement* l : holders.Layers)
    if (l != nullptr && l->Material().get() == material) return true;
  return false;
}

MaterialOutcome DeleteMaterial(TMaterials& materials, const TPhisPropRodNL* material, MessageService& messages,
                               const MaterialHolders& holders) {
  if (MaterialInUse(materials, material, holders)) {
    messages.Show(MsgKind::Error, "Ошибка", kMaterialInUseText, MsgButtons::Ok);
    return MaterialOutcome::InUse;
  }
  const std::int32_t i = materials.IndexOfMaterial(material);
  if (i < 0) return MaterialOutcome::NotFound;
  materials.Delete(i);
  return MaterialOutcome::Deleted;
}

// ---- shell surfaces ----

std::int32_t AddShell(TShellFunctions& shells, std::int16_t kind, const TFloatPoint3D& origin, std::uint8_t plane,
                      const std::vector<Extended>& params, TColor color) {
  if (kind == kShellParaboloid) {
    std::unique_ptr<TEditorShellEP> p = shells.Factory()->MakeParaboloid();
    p->SetOrigin(origin);
    p->SetPlane(plane);
    p->SetKind(kind);
    p->SetColor(color);
    if (params.size() == 4) p->SetParams(params[0], params[1], params[2], params[3]);
    if (shells.Add(std::move(p)) == nullptr) return -1;
    return shells.Count() - 1;
  }
  if (kind == kShellSphere) {
    std::unique_ptr<TEditorSphere> s = shells.Factory()->MakeSphere();
    if (params.size() == 2) s->SetParams(params[0], params[1]);
    // The centre of the plan square, by the side the sphere has now: without
    // parameters it keeps its own.
    const Extended a = s->GetA();
    TFloatPoint3D centre = origin;
    centre.X = origin.X + a / 2;
    centre.Y = origin.Y + a / 2;
    s->SetOrigin(centre);
    s->SetPlane(plane);
    s->SetKind(kind);
    s->SetColor(color);
    if (shells.Add(std::move(s)) == nullptr) return -1;
    return shells.Count() - 1;
  }
  return -1;
}

AddShellResult AddByDialog(TShellFunctions& shells, const TFloatPoint3D& p1, const TFloatPoint3D& p2,
                           std::uint8_t plane, const TViewTransform& window, ModelDialogs& dialogs) {
  AddShellResult result;
  // A frame drawn in a side view holds no plan coordinates: it frames nothing.
  if (window.Projection != Projection::XY) {
    result.Outcome = AddShellOutcome::EmptyFrame;
    return result;
  }
  const std::optional<std::int16_t> kind = dialogs.SurfaceKind();
  if (!kind || (*kind != kShellParaboloid && *kind != kShellSphere)) return result;
  ShellDataValues start;
  start.Kind = *kind;
  start.Origin = FloatPoint3D(p1.X, p2.Y, p1.Z);
  start.ChoiceEnabled = false;
  start.ContourColor = 255;
  const Extended w = p2.X - p1.X;
  const Extended h = p1.Y - p2.Y;
  if (*kind == kShellParaboloid) {
    start.Params = {w, h, 0.2L, 0.2L};
  } else {
    start.Params = {std::max(w, h), 0.2L};
  }
  const std::optional<ShellDataValues> answer = dialogs.ShellData(start);
  if (!answer) return result;
  const std::int32_t pos = AddShell(shells, answer->Kind, answer->Origin, plane, answer->Params, answer->ContourColor);
  if (pos < 0) return result;
  result.Outcome = AddShellOutcome::Added;
  result.Position = pos;
  return result;
}

void ShowList(TShellFunctions& shells, ModelDialogs& dialogs) { dialogs.ShellList(shells); }

}  // namespace tavir
