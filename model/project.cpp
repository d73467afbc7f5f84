#include "model/project.h"

#include <string>
#include <utility>

namespace tavir {

TVelEditorProject::TVelEditorProject(std::shared_ptr<const ModelFactory> factory, ModelUi* ui)
    : factory_(factory ? std::move(factory) : DefaultModelFactory()), ui_(ui) {
  materials_ = std::make_unique<TMaterials>(factory_);
  elements_ = std::make_unique<TFinElements>(factory_);
  knots_ = std::make_unique<TFinKnots>(factory_);
  supports_ = std::make_unique<TEditorSupports>(factory_);
  concForces_ = std::make_unique<TConcForcesList>(factory_);
  dispForces_ = std::make_unique<TDispForcesList>(factory_);
  pliants_ = std::make_unique<TPliantsList>();
  hardlesses_ = std::make_unique<THardlessList>();
  shellFuncs_ = std::make_unique<TShellFunctions>(factory_);

  knots_->Elements = elements_.get();
  knots_->Supports = supports_.get();
  knots_->ConcForces = concForces_.get();
  elements_->Knots = knots_.get();
  elements_->Materials = materials_.get();
  elements_->DispForces = dispForces_.get();
  supports_->Knots = knots_.get();
  concForces_->Knots = knots_.get();
  dispForces_->Elements = elements_.get();
  pliants_->Knots = knots_.get();
  hardlesses_->Knots = knots_.get();
  materials_->Elements = elements_.get();
  materials_->SetUi(ui_);

  knotDisp_ = std::make_unique<TDisplacementsList>();
  materials_->AddMaterial(kDefaultMaterialName);
  SetFileName(kNoNameFile);
}

TVelEditorProject::~TVelEditorProject() {
  // Dependants go before what they refer to.
  knots_->FreeAll();
  elements_->FreeAll();
  supports_->FreeAll();
  materials_->FreeAll();
  concForces_->FreeAll();
  dispForces_->FreeAll();
  pliants_->FreeAll();
  hardlesses_->FreeAll();
  knotDisp_->FreeAll();
  shellFuncs_->FreeAll();
}

void TVelEditorProject::SetUi(ModelUi* ui) {
  ui_ = ui;
  materials_->SetUi(ui);
}

void TVelEditorProject::Clear() {
  materials_->FreeAll();
  supports_->FreeAll();
  concForces_->FreeAll();
  dispForces_->FreeAll();
  pliants_->FreeAll();
  hardlesses_->FreeAll();
  shellFuncs_->FreeAll();
  knots_->FreeAll();
  elements_->FreeAll();
  materials_->AddMaterial(kDefaultMaterialName);
  SetFileName(kNoNameFile);
}

void TVelEditorProject::ApplyShellFuncs() {
  for (const auto& k : knots_->Items()) k->SetZ(shellFuncs_->GetZ(k->X, k->Y));
  for (const auto& e : elements_->Items()) {
    if (e->ElemKind != ElementKind::Shell) continue;
    auto* shell = dynamic_cast<TMLEditorShell*>(e.get());
    if (shell == nullptr || shell->Knots.empty() || shell->Knots[0] == nullptr) continue;
    const TEditorKnot& k0 = *shell->Knots[0];
    // A shell over no surface keeps the curvatures the user gave it: there is
    // nothing to take them from, and zeros would silently flatten it.
    if (!shellFuncs_->Covers(k0.X, k0.Y)) continue;
    shell->SetKx(shellFuncs_->GetKx(k0.X, k0.Y));
    shell->SetKy(shellFuncs_->GetKy(k0.X, k0.Y));
    shell->SetKxy(0);
  }
}

void TVelEditorProject::Draw(Canvas& canvas, std::uint32_t flags) const {
  elements_->Draw(canvas);
  if ((flags & kDrawKnots) != 0) knots_->Draw(canvas);
  if ((flags & kDrawSupports) != 0) supports_->Draw(canvas);
  if ((flags & kDrawLoads) != 0) {
    concForces_->Draw(canvas);
    dispForces_->Draw(canvas);
  }
  if ((flags & kDrawShells) != 0) shellFuncs_->Draw(canvas);
}

void TVelEditorProject::UpdateScreen(const ViewTransform& window) {
  knots_->Project(window);
  knots_->UpdateVisible(window);
  shellFuncs_->CalcScreenRects(window);
  shellFuncs_->UpdateVisible(window);
  elements_->UpdateVisible();
  supports_->UpdateVisible();
  concForces_->UpdateVisible();
  dispForces_->UpdateVisible();
}

void TVelEditorProject::ReadLists(BinaryReader& r) {
  materials_->LoadFromStream(r);
  knots_->LoadFromStream(r);
  supports_->LoadFromStream(r, *knots_);
  concForces_->LoadFromStream(r, *knots_);
  pliants_->LoadFromStream(r);
  hardlesses_->LoadFromStream(r);
  elements_->LoadFromStream(r, *knots_, *materials_);
  dispForces_->LoadFromStream(r, *elements_);
  shellFuncs_->LoadFromStream(r);
}

void TVelEditorProject::LoadFromStream(BinaryReader& r) {
  TVelEditorProject fresh(factory_, ui_);
  // The smallest sizes never grow, not even through a file.
  fresh.knots_->MinSizeX = knots_->MinSizeX;
  fresh.knots_->MinSizeY = knots_->MinSizeY;
  fresh.ReadLists(r);
  SwapLists(fresh);
}

void TVelEditorProject::SaveToStream(BinaryWriter& w) {
  ApplyShellFuncs();
  SaveListsToStream(w);
}

void TVelEditorProject::SaveListsToStream(BinaryWriter& w) const {
  const KnotPositionMap knots(*knots_);
  const ElementPositionMap elements(*elements_);
  const MaterialPositionMap materials(*materials_);
  materials_->SaveToStream(w);
  knots_->SaveToStream(w);
  supports_->SaveToStream(w, knots);
  concForces_->SaveToStream(w, knots);
  pliants_->SaveToStream(w);
  hardlesses_->SaveToStream(w);
  elements_->SaveToStream(w, knots, materials);
  dispForces_->SaveToStream(w, elements);
  shellFuncs_->SaveToStream(w);
}

void TVelEditorProject::SwapLists(TVelEditorProject& other) {
  materials_->Swap(*other.materials_);
  elements_->Swap(*other.elements_);
  knots_->Swap(*other.knots_);
  supports_->Swap(*other.supports_);
  concForces_->Swap(*other.concForces_);
  dispForces_->Swap(*other.dispForces_);
  shellFuncs_->Swap(*other.shellFuncs_);
}

void TVelEditorProject::Swap(TVelEditorProject& other) {
  SwapLists(other);
  fileName_.swap(other.fileName_);
}

}  // namespace tavir
