#pragma once
// The rules of the element dialog ("Свойства элемента") and its layer dialog
// without their widgets: the layer grid's texts, the layer commands on the
// dialog's own copy of the stack, and the layer dialog's check.
//
// The dialog edits a copy of the stack (new layer objects): an edited layer, a new
// or deleted one, the brush and the curvatures reach the element only when the
// caller takes the result after OK; Cancel changes nothing.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/elements.h"
#include "model/model_ui_dialogs.h"

namespace tavir {

class TMaterials;

inline constexpr const char* kNoLayerMaterialText = "Не задан материал слоя!";
inline constexpr const char* kDeleteLayerCaption = "Удаление слоя";
inline constexpr const char* kNoMaterialName = "не определен";
inline constexpr const char* kLayerNameNotStorableText =
    "Название слоя содержит символы, которые нельзя сохранить в файле проекта!";

inline constexpr int kLayerGridColumns = 6;
inline constexpr int kLayerBrushColumn = 4;
const std::array<std::string, kLayerGridColumns>& LayerGridHeaders();

// "монолит" for type 0, "армирование" for type 1; nothing for other types.
std::optional<std::string> LayerTypeText(std::uint8_t type);
// Row texts of layer i: name, thickness, distance (standard float text), type
// (empty when unwritten), no text for the colour, the material's name.
std::array<std::string, kLayerGridColumns> LayerGridRow(const TGeometricElement& stack, std::int32_t i,
                                                       const TMaterials& materials);
// The grid's rows: one header row, then one per layer (one empty row for none).
int LayerGridRowCount(const TGeometricElement& stack);

// The layer dialog's material label: the name, "не определен" without one.
std::string LayerMaterialLabel(const TPhisicalElement& layer, const TMaterials& materials);
// OK in the layer dialog: refused ("Не задан материал слоя!") while the layer has
// no material (also one deleted from the list).
std::optional<std::string> LayerOkRefusal(const TPhisicalElement& layer);
// OK in the layer dialog: refused while the name has a character the project file
// cannot store, so that saving the project never fails on it later.
std::optional<std::string> LayerNameRefusal(std::string_view name);

// What Delete does with grid row r (1 = layer 0).
struct LayerDeletion {
  enum class Kind { Nothing, OnlyLayer, Ask } What = Kind::Nothing;
  std::string Text;  // the message (OnlyLayer) or the question (Ask)
};
LayerDeletion DeleteLayerRule(const TGeometricElement& stack, int row);

// The element dialog's working state: a copy of the stack the caller gave.
class ElementEdit {
 public:
  explicit ElementEdit(const ElementDialogValues& start);

  const TGeometricElement& Layers() const { return values_.Layers; }
  TGeometricElement& Layers() { return values_.Layers; }
  ElementDialogValues& Values() { return values_; }
  const ElementDialogValues& Values() const { return values_; }

  // Grid row r (1 = layer 0) as a layer index; -1 when the row holds no layer.
  int LayerOfRow(int row) const;
  // A new layer with the values of `layer` under `name`, appended.
  void AddLayer(const TPhisicalElement& layer, const std::string& name);
  // Layer of row r takes the values and the name (the copy's object only).
  bool ReplaceLayer(int row, const TPhisicalElement& layer, const std::string& name);
  // Removes the layer of row r.
  bool DeleteLayer(int row);
  // What the caller takes after OK: a further copy, so the dialog keeps nothing
  // shared with the element.
  ElementDialogValues Result() const;

 private:
  ElementDialogValues values_;
};

}  // namespace tavir
