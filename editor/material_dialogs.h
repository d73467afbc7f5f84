#pragma once
// The material dialogs' rules as plain code: the name check and the diagram memo
// of the properties dialog, and the chooser's list.
//
// The chooser's list: The chooser edits a working copy of
// the material list as a whole: new, edited and deleted materials stay in the
// copy, and the list given to the chooser takes them over only when the user
// presses OK. Cancel leaves the list, its objects and every layer as they were.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/materials.h"
#include "model/model_ui.h"
#include "model/model_ui_dialogs.h"
#include "platform/services.h"

namespace tavir {

inline constexpr const char* kMaterialNameRequiredText = "Название материала должно быть задано!";
inline constexpr const char* kNoMaterialToDeleteText = "Не выбран материал для удаления!";
inline constexpr const char* kDeleteMaterialCaption = "Удаление";

// "Удалить материал: " + name + "?"
std::string DeleteMaterialQuestion(std::string_view name);

// The memo lines of the deformation diagram: "E1 = " + E1 for the bilinear one
// (kind 0), "A = " + A and "k = " + k for the power law (kind 1), nothing for any
// other kind; numbers in exponent format, 8 significant digits, an exponent of at
// least 2 digits.
std::vector<std::string> DiagramLines(const TPhisPropNL& material);

// Why the material dialog refuses to close with this name: empty (the name must
// be given) or with a character a project file cannot store. Nothing when the
// name is fine.
std::optional<std::string> MaterialNameRefusal(std::string_view name);

// What the chooser needs besides the list: how a new material is made (with the
// default properties, by the project's factory) and whether a material is in use
// by a layer (the element list and the holders the caller knows of).
struct MaterialListContext {
  std::function<std::shared_ptr<TPhisPropRodNL>()> MakeMaterial;
  std::function<bool(const TPhisPropRodNL*)> InUse;
};

class TMaterials;
class TGeometricElement;
struct MaterialHolders;

// The context of a project's list: new materials by its factory, in use when an
// element layer or one of the holders uses the material. The holders are read at
// each test, so a dialog that opens later can add its layers (HeldStack); the list
// and the holders must outlive the context.
MaterialListContext ListContext(const TMaterials& materials, const MaterialHolders& holders);
MaterialListContext ListContext(const TMaterials& materials, MaterialHolders&& holders) = delete;

// Counts a dialog's working copy of a layer stack among the holders for as long as
// it lives: while the dialog is open the chooser must not delete a material those
// layers use, or OK would hand the element a material the list no longer has.
// Without holders (nullptr) it holds nothing.
class HeldStack {
 public:
  HeldStack(MaterialHolders* holders, const TGeometricElement& stack);
  ~HeldStack();
  HeldStack(const HeldStack&) = delete;
  HeldStack& operator=(const HeldStack&) = delete;

 private:
  MaterialHolders* holders_;
  const TGeometricElement* stack_;
};

class MaterialListEdit {
 public:
  // A working copy of `entries` with item `selected` chosen (none when out of range).
  MaterialListEdit(const std::vector<MaterialEntry>& entries, std::int32_t selected, MaterialListContext context);

  std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
  const std::string& Name(std::int32_t i) const { return items_.at(static_cast<std::size_t>(i)).Name; }
  const TPhisPropRodNL& Values(std::int32_t i) const { return items_.at(static_cast<std::size_t>(i)).Values; }
  // Whether the item stands for a material of the list given (not one made here).
  bool IsOriginal(std::int32_t i) const { return items_.at(static_cast<std::size_t>(i)).Original != nullptr; }

  std::int32_t Selected() const { return selected_; }
  // Any position; out of range means none.
  void Select(std::int32_t i) { selected_ = i >= 0 && i < Count() ? i : -1; }

  // Delete is offered only while the list was never emptied by a delete: once the
  // last material is gone, a new one does not bring the button back.
  bool DeleteEnabled() const { return deleteEnabled_; }

  enum class Outcome {
    Changed,
    Cancelled,  // the user cancelled a dialog or the question
    Nothing,    // empty list (delete), nothing to act on
    Refused,    // with a message: no item chosen, in use, a name a file cannot store
  };

  // The material dialog on the default properties and an empty name; on OK the
  // material joins the end of the list. The selection stays.
  Outcome New(ModelDialogs& dialogs, MessageService& messages);
  // The material dialog on the chosen item; on OK it takes the values and the name.
  Outcome EditSelected(ModelDialogs& dialogs, MessageService& messages);
  // Asks "Удалить материал: <name>?" and removes the chosen item unless a layer
  // uses its material; afterwards item 0 is chosen.
  Outcome DeleteSelected(MessageService& messages);

  // OK: `entries` becomes the working list in its order. A material of the list
  // given takes the edited values in place (the layers that use it keep it), a new
  // one is made; a deleted one is no longer held here, so once the caller drops
  // its old list no layer reads it. Returns the chosen position, -1 for none.
  std::int32_t CommitTo(std::vector<MaterialEntry>& entries) const;

 private:
  struct Item {
    std::string Name;
    TPhisPropRodNL Values;
    std::shared_ptr<TPhisPropRodNL> Original;  // nullptr: made in this chooser
  };

  MaterialListContext context_;
  std::vector<Item> items_;
  std::int32_t selected_ = -1;
  bool deleteEnabled_ = true;
};

}  // namespace tavir
