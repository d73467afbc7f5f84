#pragma once
// The rules of the shell surface dialogs without their widgets: the kind
// chooser's items, the data dialog's texts and parameter layout, the surface
// list's rows, and how an edit from the list reaches a surface.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/model_ui_dialogs.h"
#include "platform/geometry.h"

namespace tavir {

class TShellFunctions;
class TBaseShellFuncs;

// "Элиптический параболлоид" (kind 0), "Сфера" (kind 3): the kind chooser's items.
const std::array<std::string, 2>& SurfaceKindItems();
// Item 0 gives kind 0, item 1 kind 3; any other item keeps the kind.
std::int16_t SurfaceKindOfItem(int item, std::int16_t current);

// What the data dialog writes for a kind.
struct ShellFunctionTexts {
  std::string Name;      // "Эллиптический паррабаллоид", "Сфера"
  std::string Function;
  std::string KxFunc, KyFunc, KxyFunc;
  std::vector<std::string> ParamLabels;
};
std::optional<ShellFunctionTexts> FunctionTexts(std::int16_t kind);
// Parameter boxes of a kind: 4 for the paraboloid, 2 for the sphere, none else.
std::optional<std::int32_t> ParamCountOfKind(std::int16_t kind);

// Where run-time label and box i (from 0) sit on the parameter panel: five to a column.
TPoint ParamLabelPos(int i);
TPoint ParamBoxPos(int i);
inline constexpr int kParamBoxWidth = 110;

// The list's headers and the row of surface i: a paraboloid shows its kind's
// name, anchor and spans; a sphere "Сфера", anchor and its side twice; kinds
// 500..1000 only "Пользовательская"; other rows stay empty.
inline constexpr int kShellListColumns = 7;
const std::array<std::string, kShellListColumns>& ShellListHeaders();
std::array<std::string, kShellListColumns> ShellListRow(const TShellFunctions& shells, std::int32_t i);
// The contour colour of row i's colour cell; nothing for a kind without one.
std::optional<RgbColor> ShellListColor(const TShellFunctions& shells, std::int32_t i);

// The data dialog's values for editing surface i: each kind its own parameters
// (paraboloid a, b, f1, f2; sphere a, f); nothing for an index out of range.
std::optional<ShellDataValues> ShellEditStart(const TShellFunctions& shells, std::int32_t i);
// The edited values reach surface i by its own kind's rule, which recomputes its
// curvatures; the anchor stays; the contour colour is taken. False when nothing changed.
bool ApplyShellEdit(TShellFunctions& shells, std::int32_t i, const ShellDataValues& values);

}  // namespace tavir
