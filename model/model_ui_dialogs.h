#pragma once
// The editor's dialogs that the editing operations open: material properties,
// element properties (the layer stack), mesh division and the two shell surface
// dialogs. The editor implements them with its forms, tests with ScriptedModelDialogs.
// Every call gets the values to show and returns the user's values, or
// std::nullopt when the user cancelled.
#include <cstdint>
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

// "Свойства элемента". Layers may share its layer objects with the element being
// edited (Assign); the dialog works on its own copy of them, so nothing (a layer
// edited, new or deleted layers, the element brush, the curvatures) reaches the
// element but through the caller after OK.
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
  RgbColor ContourColor = 255;
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

}  // namespace tavir
