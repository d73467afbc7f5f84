#include "model/material_list.h"

#include <optional>
#include <string>
#include <utility>

namespace tavir {

namespace {
const char* const kUnknownMaterial = "не определен";

// Smallest file size of one material, so that a count is checked against the
// bytes left before anything is made.
constexpr std::size_t kMinMaterialEntryBytes = 4 + kMaterialRecordBytes;
}  // namespace

TMaterials::TMaterials(std::shared_ptr<const ModelFactory> factory) : factory_(std::move(factory)) {}

std::string TMaterials::Name(std::int32_t i) const {
  if (i < 0 || i >= Count()) return {};
  return entries_[static_cast<std::size_t>(i)].Name;
}

std::shared_ptr<TPhisPropRodNL> TMaterials::Material(std::int32_t i) const {
  if (i < 0 || i >= Count()) return nullptr;
  return entries_[static_cast<std::size_t>(i)].Material;
}

std::shared_ptr<TPhisPropRodNL> TMaterials::AddMaterial(const std::string& name) {
  std::shared_ptr<TPhisPropRodNL> material = factory_->MakeMaterial();
  entries_.push_back(MaterialEntry{name, material});
  return material;
}

std::string TMaterials::MaterialName(const TPhisPropRodNL* material) const {
  const std::int32_t i = IndexOfMaterial(material);
  return i >= 0 ? entries_[static_cast<std::size_t>(i)].Name : std::string(kUnknownMaterial);
}

std::int32_t TMaterials::IndexOfMaterial(const TPhisPropRodNL* material) const {
  if (material == nullptr) return -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Material.get() == material) return static_cast<std::int32_t>(i);
  return -1;
}

std::shared_ptr<TPhisPropRodNL> TMaterials::MaterialByIndex(std::int32_t index) {
  if (index >= 0 && index < Count()) return entries_[static_cast<std::size_t>(index)].Material;
  if (ui_ == nullptr) return nullptr;
  // The chooser works on a copy that the list takes over on OK, as in
  // ChooseMaterial: the position it answers is a position of the edited list, and
  // a material made there must be held by the list, or the layer loses it.
  std::vector<MaterialEntry> shown = entries_;
  const std::optional<std::int32_t> chosen = ui_->ChooseMaterial(shown, shown.empty() ? -1 : 0);
  if (!chosen) return nullptr;
  entries_ = std::move(shown);
  return Material(*chosen);
}

std::int32_t TMaterials::ChooseMaterial(const TPhisPropRodNL* material) {
  return PickMaterial(material).value_or(IndexOfMaterial(material));
}

std::optional<std::int32_t> TMaterials::PickMaterial(const TPhisPropRodNL* material) {
  if (ui_ == nullptr) return std::nullopt;
  const std::int32_t p = IndexOfMaterial(material);
  std::vector<MaterialEntry> shown = entries_;
  std::int32_t selected = -1;
  if (!shown.empty()) selected = p >= 0 && p < static_cast<std::int32_t>(shown.size()) ? p : 0;
  const std::optional<std::int32_t> chosen = ui_->ChooseMaterial(shown, selected);
  if (!chosen) return std::nullopt;
  entries_ = std::move(shown);
  return *chosen;
}

void TMaterials::LoadFromStream(BinaryReader& r) {
  const std::int32_t count = r.ReadCount(kMinMaterialEntryBytes);
  std::vector<MaterialEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    MaterialEntry e;
    e.Name = r.ReadString();
    e.Material = factory_->MakeMaterial();
    e.Material->LoadFromStream(r);
    entries.push_back(std::move(e));
  }
  entries_ = std::move(entries);
}

void TMaterials::SaveToStream(BinaryWriter& w) const {
  w.WriteInt32(Count());
  for (const MaterialEntry& e : entries_) {
    w.WriteString(e.Name);
    if (e.Material) {
      e.Material->SaveToStream(w);
    } else {
      TPhisPropRodNL().SaveToStream(w);
    }
  }
}

}  // namespace tavir
