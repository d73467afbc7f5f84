// A test fake: ScriptedModelUi (lives with the tests, never in a program).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/model_ui.h"

namespace tavir {

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
