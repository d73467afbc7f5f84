#pragma once
// What the analysis demands of a shell element before anything is allocated: an
// axis-parallel rectangle of four distinct knots in the order lower-left (0),
// upper-left (1), upper-right (2), lower-right (3), finite curvatures, and at least
// one layer, every layer of positive thickness on a material with finite E > 0 and
// -1 < ν < 0.5.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "analysis/matrix.h"
#include "model/elements.h"
#include "platform/extended.h"

namespace tavir {

// An element the analysis cannot compute; the message is for the user.
class ElementError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The sides of the element's rectangle: a = X3 - X0 along X, b = Y1 - Y0 along Y;
// nullopt when it is not a rectangle the element can be computed on.
struct ShellRectangle {
  Extended a = 0, b = 0;
};
std::optional<ShellRectangle> AnalysisRectangle(const TFiniteElement& element);

// nullopt when the shell can be analysed, else the Russian message naming the
// element by its index in the element list (no number when index < 0).
std::optional<std::string> CheckShellForAnalysis(const TMLEditorShell& shell, std::int64_t index);

// The same checks for one layer's material and size.
std::optional<std::string> CheckLayerForAnalysis(const TPhisicalElement& layer);

// "Элемент <index>" (just "Элемент" when index < 0): how messages name an element.
std::string AnalysisElementName(std::int64_t index);

// A computed element stiffness matrix must hold finite numbers only: the values
// of a model that passes the checks above can still overflow the element's
// arithmetic (a modulus, thickness or curvature near the top of the extended
// range), and such a matrix would only show up later as a singular system.
// nullopt when every entry is finite, else the message naming the element.
std::optional<std::string> CheckElementStiffness(const TFloat2DMatrix& stiffness, std::int64_t index);

}  // namespace tavir
