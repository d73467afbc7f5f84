#pragma once
// The editor's dialogs that the editing operations open: material properties,
// element properties (the layer stack), mesh division and the two shell surface
// dialogs. The editor implements them with its forms, tests with ScriptedModelDialogs.
// Every call gets the values to show and returns the user's values, or
// std::nullopt when the user cancelled.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/elements.h"
#include "model/materials.h"
#include "model/records.h"
#include "platform/extended.h"
#include "platform/geometry.h"

namespace tavir {

class TMaterials;
class TShellFunctions;

// "Физические свойства": the material's values and its name.
struct MaterialDialogValues {
  TPhisPropRodNL Material;
  std::string Name;
};

// "Свойства элемента". Layers shares its layer objects with the element being
// edited (Assign), so a layer edited in the dialog changes at once, also when the
// dialog is then cancelled; new and deleted layers, the element brush and the
// curvatures reach the element only through the caller after OK.
struct ElementDialogValues {
  TGeometricElement Layers;
  Extended Kx = 0, Ky = 0, Kxy = 0;  // shown and edited for shells only
};

// "Разбиение области на элементы": region size, steps and counts along X and Y.
struct DivideDialogValues {
  Extended SizeX = 0, SizeY = 0;
  Extended StepX = 0, StepY = 0;
  std::int32_t Nx = 1, Ny = 1;
  std::string RegionLabel;  // "<SizeX> x <SizeY>", each in the general number format
};

// "Пологая оболочка: размеры и характеристики".
struct ShellDataValues {
  std::int16_t Kind = 0;  // 0 elliptic paraboloid, 3 sphere
  TFloatPoint3D Origin;
  bool ChoiceEnabled = false;
  TColor ContourColor = 255;
  std::vector<Extended> Params;  // paraboloid a, b, f1, f2; sphere a, f
};

class ModelDialogs {
 public:
  virtual ~ModelDialogs() = default;

  virtual std::optional<MaterialDialogValues> MaterialProperties(const MaterialDialogValues& start) = 0;
  // The layer dialogs it opens may choose materials from (and add them to) the list.
  virtual std::optional<ElementDialogValues> ElementProperties(TMaterials& materials, ElementKind elemKind,
                                                               const ElementDialogValues& start) = 0;
  virtual std::optional<DivideDialogValues> DivideRegion(const DivideDialogValues& start) = 0;
  // "Функции поверхности пологой оболочки": the chosen kind (-1 when none is chosen).
  virtual std::optional<std::int16_t> SurfaceKind() = 0;
  virtual std::optional<ShellDataValues> ShellData(const ShellDataValues& start) = 0;
  // "Поверхности оболочек проекта": the project's surfaces, shown modally.
  virtual void ShellList(TShellFunctions& shells) = 0;
};

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
