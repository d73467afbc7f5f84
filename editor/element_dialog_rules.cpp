#include "editor/element_dialog_rules.h"

#include "model/project.h"
#include "platform/cp1251.h"
#include "platform/numtext.h"

namespace tavir {

const std::array<std::string, kLayerGridColumns>& LayerGridHeaders() {
  static const std::array<std::string, kLayerGridColumns> headers{"Название слоя", "Толщина", "до н.п.", "Тип",
                                                                  "Цвет",          "Материал"};
  return headers;
}

std::optional<std::string> LayerTypeText(std::uint8_t type) {
  if (type == 0) return std::string("монолит");
  if (type == 1) return std::string("армирование");
  return std::nullopt;
}

std::array<std::string, kLayerGridColumns> LayerGridRow(const TGeometricElement& stack, std::int32_t i,
                                                       const TMaterials& materials) {
  std::array<std::string, kLayerGridColumns> row{};
  const std::shared_ptr<TPhisicalElement> layer = stack.Layer(i);
  if (!layer) return row;
  row[0] = stack.LayerName(i);
  row[1] = FormatGeneral(layer->Thickness);
  row[2] = FormatGeneral(layer->Z);
  row[3] = LayerTypeText(layer->TypeLayer).value_or(std::string());
  row[5] = LayerMaterialLabel(*layer, materials);
  return row;
}

int LayerGridRowCount(const TGeometricElement& stack) { return stack.Count() == 0 ? 2 : stack.Count() + 1; }

std::string LayerMaterialLabel(const TPhisicalElement& layer, const TMaterials& materials) {
  const std::shared_ptr<TPhisPropRodNL> m = layer.Material();
  if (!m) return kNoMaterialName;
  return materials.MaterialName(m.get());
}

std::optional<std::string> LayerOkRefusal(const TPhisicalElement& layer) {
  if (!layer.Material()) return std::string(kNoLayerMaterialText);
  return std::nullopt;
}

std::optional<std::string> LayerNameRefusal(std::string_view name) {
  if (!IsCp1251Encodable(name)) return std::string(kLayerNameNotStorableText);
  return std::nullopt;
}

LayerDeletion DeleteLayerRule(const TGeometricElement& stack, int row) {
  LayerDeletion d;
  if (stack.Count() == 0) return d;
  if (stack.Count() == 1) {
    d.What = LayerDeletion::Kind::OnlyLayer;
    d.Text = "Удалить слой " + stack.LayerName(0) + " нельзя. Можно только изменить!";
    return d;
  }
  if (row < 1 || row > stack.Count()) return d;
  d.What = LayerDeletion::Kind::Ask;
  d.Text = "Удалить слой " + stack.LayerName(row - 1);
  return d;
}

ElementEdit::ElementEdit(const ElementDialogValues& start) {
  values_.Layers.CopyFrom(start.Layers);
  values_.Kx = start.Kx;
  values_.Ky = start.Ky;
  values_.Kxy = start.Kxy;
}

int ElementEdit::LayerOfRow(int row) const { return row >= 1 && row <= values_.Layers.Count() ? row - 1 : -1; }

void ElementEdit::AddLayer(const TPhisicalElement& layer, const std::string& name) {
  values_.Layers.AddLayer(std::make_shared<TPhisicalElement>(layer), name);
}

bool ElementEdit::ReplaceLayer(int row, const TPhisicalElement& layer, const std::string& name) {
  const int i = LayerOfRow(row);
  if (i < 0) return false;
  // Rebuilt in order so the name changes with the values; the objects are the copy's own.
  TGeometricElement rebuilt;
  rebuilt.Brush = values_.Layers.Brush;
  for (int k = 0; k < values_.Layers.Count(); ++k) {
    if (k == i) rebuilt.AddLayer(std::make_shared<TPhisicalElement>(layer), name);
    else rebuilt.AddLayer(values_.Layers.Layer(k), values_.Layers.LayerName(k));
  }
  values_.Layers = std::move(rebuilt);
  return true;
}

bool ElementEdit::DeleteLayer(int row) {
  const int i = LayerOfRow(row);
  if (i < 0) return false;
  return values_.Layers.DeleteLayer(i) != nullptr;
}

ElementDialogValues ElementEdit::Result() const {
  ElementDialogValues r;
  r.Layers.CopyFrom(values_.Layers);
  r.Kx = values_.Kx;
  r.Ky = values_.Ky;
  r.Kxy = values_.Kxy;
  return r;
}

}  // namespace tavir
