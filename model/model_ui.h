#pragma once
// The seam through which the model core asks the user something: the model never
// knows which dialogs exist. The editor implements it with its forms, the analysis
// program with the part it needs, tests with ScriptedModelUi. Every call returns
// the user's answer or "cancelled" (std::nullopt).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavir {

class TPhisPropRodNL;

// One entry of the material list as a chooser shows it: the name and its object.
struct MaterialEntry {
  std::string Name;
  std::shared_ptr<TPhisPropRodNL> Material;
};

class ModelUi {
 public:
  virtual ~ModelUi() = default;

  // The material chooser ("Материалы"). Shows the names of `entries` with item
  // `selected` chosen (none when it is out of range). On OK returns the position of
  // the chosen item, or -1 when no item is chosen; on Cancel returns std::nullopt.
  // The dialog may add, edit and delete entries in `entries`; the caller decides
  // whether the edited list is kept.
  virtual std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries,
                                                     std::int32_t selected) = 0;
};

}  // namespace tavir
