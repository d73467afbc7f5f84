#include "analysis/shell_check.h"

#include <algorithm>
#include <cmath>

#include "platform/numeric.h"

namespace tavir {

std::string AnalysisElementName(std::int64_t index) {
  return index < 0 ? std::string("Элемент") : "Элемент " + std::to_string(index);
}

namespace {

const char* const kNotRectangle =
    ": оболочка должна быть прямоугольником из четырёх узлов со сторонами, параллельными осям X и Y";
const char* const kWrongOrder =
    ": узлы оболочки должны идти по часовой стрелке от левого нижнего угла (левый нижний, левый верхний, "
    "правый верхний, правый нижний), размеры оболочки должны быть больше нуля";

enum class ShapeFault { None, NotQuadrilateral, MissingKnot, RepeatedKnot, NotFinite, WrongOrder, NotAxisParallel };

ShapeFault CheckShape(const TFiniteElement& element, ShellRectangle& out, int& knot) {
  if ((element.ElementType != ElementType::Rectangle && element.ElementType != ElementType::Quadrangle) || element.Knots.size() != 4)
    return ShapeFault::NotQuadrilateral;
  for (int k = 0; k < 4; ++k) {
    knot = k;
    const TEditorKnot* p = element.Knots[k];
    if (p == nullptr) return ShapeFault::MissingKnot;
    for (int j = 0; j < k; ++j)
      if (element.Knots[j] == p) return ShapeFault::RepeatedKnot;
    if (!std::isfinite(p->X) || !std::isfinite(p->Y)) return ShapeFault::NotFinite;
  }
  const TEditorKnot& k0 = *element.Knots[0];
  const TEditorKnot& k1 = *element.Knots[1];
  const TEditorKnot& k2 = *element.Knots[2];
  const TEditorKnot& k3 = *element.Knots[3];
  const Extended a = k3.X - k0.X, b = k1.Y - k0.Y;
  if (!(a > 0) || !(b > 0) || !std::isfinite(a) || !std::isfinite(b)) return ShapeFault::WrongOrder;
  // The same tolerance as the model's rectangle tests, and never more than a
  // tiny part of the element's own size.
  const Extended tol = std::min(kStrictEps, 1e-9L * std::min(a, b));
  auto same = [tol](Extended p, Extended q) { return p == q || std::fabs(p - q) < tol; };
  if (!same(k1.X, k0.X) || !same(k2.X, k3.X) || !same(k2.Y, k1.Y) || !same(k3.Y, k0.Y))
    return ShapeFault::NotAxisParallel;
  out = {a, b};
  return ShapeFault::None;
}

}  // namespace

std::optional<ShellRectangle> AnalysisRectangle(const TFiniteElement& element) {
  ShellRectangle r;
  int knot = 0;
  if (CheckShape(element, r, knot) != ShapeFault::None) return std::nullopt;
  return r;
}

std::optional<std::string> CheckLayerForAnalysis(const TPhisicalElement& layer) {
  if (!std::isfinite(layer.Thickness) || !(layer.Thickness > 0)) return std::string("толщина слоя должна быть больше нуля");
  if (!std::isfinite(layer.Z)) return std::string("смещение слоя от срединной поверхности не является числом");
  const auto material = layer.Material();
  if (!material) return std::string("у слоя не задан материал");
  if (!std::isfinite(material->E) || !(material->E > 0))
    return std::string("модуль упругости материала должен быть положительным числом");
  if (!std::isfinite(material->mu) || !(material->mu > -1) || !(material->mu < 0.5L))
    return std::string("коэффициент Пуассона материала должен быть больше -1 и меньше 0,5");
  if (layer.TypeLayer == 1 && !std::isfinite(material->Fi))
    return std::string("угол армирования материала не является числом");
  return std::nullopt;
}

std::optional<std::string> CheckShellForAnalysis(const TMLEditorShell& shell, std::int64_t index) {
  const std::string name = AnalysisElementName(index);
  ShellRectangle r;
  int knot = 0;
  switch (CheckShape(shell, r, knot)) {
    case ShapeFault::None:
      break;
    case ShapeFault::NotQuadrilateral:
    case ShapeFault::NotAxisParallel:
      return name + kNotRectangle;
    case ShapeFault::MissingKnot:
      return name + ": не задан узел " + std::to_string(knot);
    case ShapeFault::RepeatedKnot:
      return name + ": узел " + std::to_string(knot) + " совпадает с другим узлом элемента";
    case ShapeFault::NotFinite:
      return name + ": координаты узла " + std::to_string(knot) + " не являются числами";
    case ShapeFault::WrongOrder:
      return name + kWrongOrder;
  }
  if (!std::isfinite(shell.Kx) || !std::isfinite(shell.Ky)) return name + ": кривизна оболочки не является числом";
  // Without a layer the element has no stiffness at all; the solver could only
  // call the whole system singular at some knot of it.
  if (shell.Layers.Count() == 0) return name + ": у оболочки нет ни одного слоя (не заданы толщина и материал)";
  for (std::int32_t i = 0; i < shell.Layers.Count(); ++i) {
    const auto layer = shell.Layers.Layer(i);
    if (!layer) return name + ", слой " + std::to_string(i) + ": слой отсутствует";
    if (auto problem = CheckLayerForAnalysis(*layer))
      return name + ", слой " + std::to_string(i) + " \"" + shell.Layers.LayerName(i) + "\": " + *problem;
  }
  return std::nullopt;
}

std::optional<std::string> CheckElementStiffness(const TFloat2DMatrix& stiffness, std::int64_t index) {
  for (std::size_t r = 0; r < stiffness.Rows(); ++r)
    for (std::size_t c = 0; c < stiffness.Cols(); ++c)
      if (!std::isfinite(stiffness[r][c]))
        return AnalysisElementName(index) +
               ": матрица жесткости элемента не является конечным числом (переполнение при вычислении). "
               "Проверьте модуль упругости материала, толщину слоёв и кривизну оболочки.";
  return std::nullopt;
}

}  // namespace tavir
