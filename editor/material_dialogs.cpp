#include "editor/material_dialogs.h"

#include <algorithm>
#include <iterator>

#include "model/load_ops.h"
#include "model/project.h"
#include "platform/cp1251.h"
#include "platform/numtext.h"

namespace tavir {

std::string DeleteMaterialQuestion(std::string_view name) {
  return "Удалить материал: " + std::string(name) + "?";
}

std::vector<std::string> DiagramLines(const TPhisPropNL& material) {
  const auto number = [](Extended v) { return FormatExponent(v, 8, 2); };
  switch (material.Diagramma) {
    case 0: return {"E1 = " + number(material.E1)};
    case 1: return {"A = " + number(material.A), "k = " + number(material.k)};
    default: return {};
  }
}

std::optional<std::string> MaterialNameRefusal(std::string_view name) {
  if (name.empty()) return std::string(kMaterialNameRequiredText);
  if (!IsCp1251Encodable(name)) return std::string(kMaterialNameNotStorableText);
  return std::nullopt;
}

MaterialListContext ListContext(const TMaterials& materials, const MaterialHolders& holders) {
  return {[&materials] { return materials.Factory()->MakeMaterial(); },
          [&materials, &holders](const TPhisPropRodNL* m) { return MaterialInUse(materials, m, holders); }};
}

HeldStack::HeldStack(MaterialHolders* holders, const TGeometricElement& stack) : holders_(holders), stack_(&stack) {
  if (holders_ != nullptr) holders_->Stacks.push_back(stack_);
}

HeldStack::~HeldStack() {
  if (holders_ == nullptr) return;
  std::vector<const TGeometricElement*>& stacks = holders_->Stacks;
  const auto held = std::find(stacks.rbegin(), stacks.rend(), stack_);
  if (held != stacks.rend()) stacks.erase(std::next(held).base());
}

MaterialListEdit::MaterialListEdit(const std::vector<MaterialEntry>& entries, std::int32_t selected,
                                   MaterialListContext context)
    : context_(std::move(context)) {
  items_.reserve(entries.size());
  for (const MaterialEntry& e : entries) {
    Item item{e.Name, TPhisPropRodNL{}, e.Material};
    if (e.Material) item.Values = *e.Material;
    items_.push_back(std::move(item));
  }
  Select(selected);
}

MaterialListEdit::Outcome MaterialListEdit::New(ModelDialogs& dialogs, MessageService& messages) {
  MaterialDialogValues start;
  if (context_.MakeMaterial) {
    if (const std::shared_ptr<TPhisPropRodNL> defaults = context_.MakeMaterial()) start.Material.Assign(*defaults);
  }
  const std::optional<MaterialDialogValues> answer = dialogs.MaterialProperties(start);
  if (!answer) return Outcome::Cancelled;
  if (!IsCp1251Encodable(answer->Name)) {
    messages.Error(kMaterialNameNotStorableText);
    return Outcome::Refused;
  }
  Item item{answer->Name, start.Material, nullptr};
  item.Values.Assign(answer->Material);
  items_.push_back(std::move(item));
  return Outcome::Changed;
}

MaterialListEdit::Outcome MaterialListEdit::EditSelected(ModelDialogs& dialogs, MessageService& messages) {
  if (selected_ < 0) {
    messages.Show(MsgKind::Plain, "", kMaterialNotFoundText, MsgButtons::Ok);
    return Outcome::Refused;
  }
  Item& item = items_[static_cast<std::size_t>(selected_)];
  MaterialDialogValues start{item.Values, item.Name};
  const std::optional<MaterialDialogValues> answer = dialogs.MaterialProperties(start);
  if (!answer) return Outcome::Cancelled;
  if (!IsCp1251Encodable(answer->Name)) {
    messages.Error(kMaterialNameNotStorableText);
    return Outcome::Refused;
  }
  item.Values.Assign(answer->Material);
  item.Name = answer->Name;
  return Outcome::Changed;
}

MaterialListEdit::Outcome MaterialListEdit::DeleteSelected(MessageService& messages) {
  if (items_.empty()) return Outcome::Nothing;
  if (selected_ < 0) {
    messages.Show(MsgKind::Plain, "", kNoMaterialToDeleteText, MsgButtons::Ok);
    return Outcome::Refused;
  }
  const Item& item = items_[static_cast<std::size_t>(selected_)];
  if (!messages.Ask(kDeleteMaterialCaption, DeleteMaterialQuestion(item.Name))) return Outcome::Cancelled;
  // A material made in this chooser has no layer yet.
  if (item.Original && context_.InUse && context_.InUse(item.Original.get())) {
    messages.Error(kMaterialInUseText);
    return Outcome::Refused;
  }
  items_.erase(items_.begin() + selected_);
  selected_ = items_.empty() ? -1 : 0;
  deleteEnabled_ = !items_.empty();
  return Outcome::Changed;
}

std::int32_t MaterialListEdit::CommitTo(std::vector<MaterialEntry>& entries) const {
  std::vector<MaterialEntry> result;
  result.reserve(items_.size());
  for (const Item& item : items_) {
    std::shared_ptr<TPhisPropRodNL> material = item.Original;
    if (!material) {
      material = context_.MakeMaterial ? context_.MakeMaterial() : nullptr;
      if (!material) material = std::make_shared<TPhisPropRodNL>();
    }
    material->Assign(item.Values);
    result.push_back({item.Name, std::move(material)});
  }
  entries = std::move(result);
  return selected_;
}

}  // namespace tavir
