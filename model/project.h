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
//
// Each list family has its own header (model_factory.h, factory_list.h,
// selection.h, material_list.h, knot_list.h, element_list.h, support_list.h,
// load_lists.h, itemless_lists.h, surface_list.h, position_maps.h); this one
// includes them all.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/element_list.h"
#include "model/elements.h"
#include "model/factory_list.h"
#include "model/itemless_lists.h"
#include "model/knot_list.h"
#include "model/knots.h"
#include "model/load_lists.h"
#include "model/material_list.h"
#include "model/materials.h"
#include "model/model_factory.h"
#include "model/model_ui.h"
#include "model/position_maps.h"
#include "model/records.h"
#include "model/references.h"
#include "model/selection.h"
#include "model/shell_surfaces.h"
#include "model/support_list.h"
#include "model/surface_list.h"
#include "model/view_transform.h"
#include "platform/binstream.h"
#include "platform/canvas.h"

namespace tavir {

// Flags of TVelEditorProject::Draw.
inline constexpr std::uint32_t kDrawLoads = 0x1;
inline constexpr std::uint32_t kDrawKnots = 0x4;
inline constexpr std::uint32_t kDrawSupports = 0x8;
inline constexpr std::uint32_t kDrawShells = 0x100;
inline constexpr std::uint32_t kDrawDesk = kDrawLoads | kDrawKnots | kDrawSupports | kDrawShells;  // 0x10D, the editing desk

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

  // Every knot's Z from the surfaces (0 under none), every shell element's Kx and
  // Ky from the surface at its first knot (Kxy := 0); a shell whose first knot
  // lies under no surface keeps its own curvatures. Plate elements are not touched.
  void ApplyShellFuncs();

  // Visible elements; with kDrawKnots the knots, kDrawSupports the supports,
  // kDrawLoads the loads, kDrawShells the surfaces.
  void Draw(Canvas& canvas, std::uint32_t flags) const;
  // Screen points and visibility of every item for one window.
  void UpdateScreen(const ViewTransform& window);

  // The model lists of the project file. Reading is all or nothing: the lists are
  // read into a fresh project and take its items only when every list was read;
  // on any error (FormatError, ShellException, or whatever the chooser throws)
  // this project is unchanged. The file name is not touched.
  void LoadFromStream(BinaryReader& r);
  // ApplyShellFuncs, then the nine stored lists.
  void SaveToStream(BinaryWriter& w);
  // The nine stored lists as they stand, heights and curvatures as the items hold
  // them (no ApplyShellFuncs).
  void SaveListsToStream(BinaryWriter& w) const;

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
