#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/materials.h"
#include "model/model_factory.h"
#include "model/model_ui.h"
#include "model/references.h"
#include "platform/binstream.h"

namespace tavir {

class TFinElements;

// Material names with their objects.
class TMaterials : public MaterialIndex {
 public:
  explicit TMaterials(std::shared_ptr<const ModelFactory> factory);
  TMaterials(const TMaterials&) = delete;
  TMaterials& operator=(const TMaterials&) = delete;

  TFinElements* Elements = nullptr;  // link, not owned

  // The dialogs the list opens (the material chooser); none: nothing is chosen.
  void SetUi(ModelUi* ui) { ui_ = ui; }

  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
  const std::vector<MaterialEntry>& Entries() const { return entries_; }
  // Name and object at a position (empty / nullptr out of range).
  std::string Name(std::int32_t i) const;
  std::shared_ptr<TPhisPropRodNL> Material(std::int32_t i) const;

  // A new material with default properties under the name; returns it.
  std::shared_ptr<TPhisPropRodNL> AddMaterial(const std::string& name);
  // The name of a material; "не определен" when it is not in the list.
  std::string MaterialName(const TPhisPropRodNL* material) const;

  // The material at a position. A position that names none opens the material
  // chooser on the list with its first item selected; the result is the material
  // the user picks, nullptr on Cancel (or without a chooser). On OK the list takes
  // the chooser's edits over.
  std::shared_ptr<TPhisPropRodNL> MaterialByIndex(std::int32_t index) override;
  std::int32_t IndexOfMaterial(const TPhisPropRodNL* material) const override;
  // The chooser on the material's position; on OK the list takes the chooser's
  // entries and the result is the chosen position, after Cancel the old position.
  std::int32_t ChooseMaterial(const TPhisPropRodNL* material);
  // The same chooser for a caller that keeps its own position: nothing after
  // Cancel (or without a chooser), so that a cancelled choice changes nothing.
  std::optional<std::int32_t> PickMaterial(const TPhisPropRodNL* material);

  void FreeAll() { entries_.clear(); }
  // Renames the material at a position; false when out of range.
  bool SetName(std::int32_t i, const std::string& name) {
    if (i < 0 || i >= Count()) return false;
    entries_[static_cast<std::size_t>(i)].Name = name;
    return true;
  }
  // Removes the material at a position from the list; false when out of range.
  bool Delete(std::int32_t i) {
    if (i < 0 || i >= Count()) return false;
    entries_.erase(entries_.begin() + i);
    return true;
  }

  // Int32 count, then per material its name and its 92-byte record. On any error
  // the list is unchanged.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;

  void Swap(TMaterials& other) { entries_.swap(other.entries_); }

  // The factory the list makes its items with.
  const std::shared_ptr<const ModelFactory>& Factory() const { return factory_; }

 private:
  std::shared_ptr<const ModelFactory> factory_;
  ModelUi* ui_ = nullptr;
  std::vector<MaterialEntry> entries_;
};

}  // namespace tavir
