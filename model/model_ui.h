#pragma once
// The seam through which the model core asks the user something: the model never
// knows which dialogs exist. The editor implements it with its forms, the analysis
// program with the part it needs, tests with ScriptedModelUi. Every call returns
// the user's answer or "cancelled" (std::nullopt).
#include <cstdint>
#include <deque>
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

// Answers from a script and records every call. An empty script cancels.
class ScriptedModelUi : public ModelUi {
 public:
  struct MaterialCall {
    std::vector<std::string> Names;  // the names shown
    std::int32_t Selected = -1;      // the item chosen when the dialog opened
  };

  std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries, std::int32_t selected) override {
    MaterialCall call;
    call.Selected = selected;
    for (const MaterialEntry& e : entries) call.Names.push_back(e.Name);
    MaterialCalls.push_back(std::move(call));
    if (MaterialAnswers.empty()) return std::nullopt;
    const std::optional<std::int32_t> answer = MaterialAnswers.front();
    MaterialAnswers.pop_front();
    return answer;
  }

  std::vector<MaterialCall> MaterialCalls;
  std::deque<std::optional<std::int32_t>> MaterialAnswers;
};

}  // namespace tavir
