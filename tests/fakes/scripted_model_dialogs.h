// A test fake: ScriptedModelDialogs (lives with the tests, never in a program).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "model/model_ui_dialogs.h"

namespace tavir {

// Records every call and answers from a script; an empty script cancels. The
// element dialog answers through a handler, so that a test can act on the shared
// layers the way the real dialog does.
class ScriptedModelDialogs : public ModelDialogs {
 public:
  std::vector<MaterialDialogValues> MaterialCalls;
  std::deque<std::optional<MaterialDialogValues>> MaterialAnswers;

  struct ElementCall {
    ElementKind ElemKind = ElementKind::Plate;
    std::int32_t LayerCount = 0;
    Extended Kx = 0, Ky = 0, Kxy = 0;
  };
  std::vector<ElementCall> ElementCalls;
  std::function<std::optional<ElementDialogValues>(TMaterials&, ElementKind, const ElementDialogValues&)>
      ElementHandler;

  std::vector<DivideDialogValues> DivideCalls;
  std::deque<std::optional<DivideDialogValues>> DivideAnswers;

  int SurfaceKindCalls = 0;
  std::deque<std::optional<std::int16_t>> SurfaceKindAnswers;

  std::vector<ShellDataValues> ShellDataCalls;
  // Each answer edits the values shown; nullopt cancels.
  std::deque<std::optional<std::function<void(ShellDataValues&)>>> ShellDataAnswers;

  int ShellListCalls = 0;

  std::optional<MaterialDialogValues> MaterialProperties(const MaterialDialogValues& start) override {
    MaterialCalls.push_back(start);
    return Next(MaterialAnswers);
  }
  std::optional<ElementDialogValues> ElementProperties(TMaterials& materials, ElementKind elemKind,
                                                       const ElementDialogValues& start) override {
    ElementCalls.push_back({elemKind, start.Layers.Count(), start.Kx, start.Ky, start.Kxy});
    if (!ElementHandler) return std::nullopt;
    return ElementHandler(materials, elemKind, start);
  }
  std::optional<DivideDialogValues> DivideRegion(const DivideDialogValues& start) override {
    DivideCalls.push_back(start);
    return Next(DivideAnswers);
  }
  std::optional<std::int16_t> SurfaceKind() override {
    ++SurfaceKindCalls;
    return Next(SurfaceKindAnswers);
  }
  std::optional<ShellDataValues> ShellData(const ShellDataValues& start) override {
    ShellDataCalls.push_back(start);
    std::optional<std::function<void(ShellDataValues&)>> answer = Next(ShellDataAnswers);
    if (!answer) return std::nullopt;
    ShellDataValues values = start;
    if (*answer) (*answer)(values);
    return values;
  }
  void ShellList(TShellFunctions& /*shells*/) override { ++ShellListCalls; }

 private:
  template <class T>
  static std::optional<T> Next(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<T> a = std::move(answers.front());
    answers.pop_front();
    return a;
  }
};

}  // namespace tavir
