#include "analysis/band_system.h"

#include <algorithm>
#include <limits>

namespace tavir {

namespace band_detail {

void EquationOutside(std::int64_t equation, std::size_t equations) {
  throw EBandError("Номер уравнения " + std::to_string(equation) + " вне системы из " + std::to_string(equations) +
                   " уравнений: нумерация узлов не соответствует матрице жесткости.");
}

void PairOutsideBand(std::int64_t row, std::int64_t column, std::size_t bandWidth) {
  throw EBandError("Элемент матрицы жесткости (" + std::to_string(row) + ", " + std::to_string(column) +
                   ") вне ленты ширины " + std::to_string(bandWidth) + ".");
}

}  // namespace band_detail

namespace {

// The equation of a degree of freedom of a knot, checked against the system.
std::size_t Equation(std::int64_t knotNumber, int freedom, std::size_t equations) {
  const std::int64_t eq = knotNumber >= 0 && knotNumber < std::numeric_limits<std::int64_t>::max() / 8
                              ? knotNumber * kKnotFreedoms + freedom
                              : -1;
  if (eq < 0 || static_cast<std::uint64_t>(eq) >= equations) band_detail::EquationOutside(eq, equations);
  return static_cast<std::size_t>(eq);
}

}  // namespace

std::int64_t KnotNumberSpan(std::span<const std::int64_t> numbers) {
  if (numbers.empty()) return 0;
  const auto [lo, hi] = std::minmax_element(numbers.begin(), numbers.end());
  return *hi - *lo;
}

std::int32_t BandWidthOfSpan(std::int64_t largestSpan) {
  constexpr std::int64_t kMaxSpan = (std::numeric_limits<std::int32_t>::max() - kKnotFreedoms) / kKnotFreedoms;
  if (largestSpan < 0 || largestSpan > kMaxSpan)
    throw EBandError("Разность номеров узлов элемента " + std::to_string(largestSpan) +
                     " слишком велика для ленточной матрицы жесткости.");
  return static_cast<std::int32_t>(kKnotFreedoms * largestSpan + kKnotFreedoms);
}

void AddConcForce(std::int64_t knotNumber, const TForceRecord& force, std::span<Extended> vector) {
  const Extended c[kKnotFreedoms] = {force.Px, force.Py, force.Pz, force.Mx, force.My};
  const std::size_t base = Equation(knotNumber, 0, vector.size());
  Equation(knotNumber, kKnotFreedoms - 1, vector.size());
  for (int k = 0; k < kKnotFreedoms; ++k) vector[base + static_cast<std::size_t>(k)] += c[k];
}

void AddDispForce(const TElementKnotNumbers& numbers, bool rectangle, Extended a, Extended b,
                  std::uint8_t option1, std::uint8_t option2, const TForceRecord& force,
                  std::span<Extended> vector) {
  // The area is zero for any other shape, and only a rectangle has the edges, so
  // such an element receives nothing.
  if (!rectangle) return;
  std::array<std::size_t, kElementKnots> base{};
  for (std::size_t m = 0; m < numbers.size(); ++m) {
    base[m] = Equation(numbers[m], 0, vector.size());
    Equation(numbers[m], kKnotFreedoms - 1, vector.size());
  }
  const Extended area = a * b;
  const Extended c0 = force.Px * b / 2;
  const Extended c1 = force.Py * a / 2;
  const Extended c2 = force.Pz * area / 4;
  const Extended c3 = force.Mx * area / 4;
  const Extended c4 = force.My * area / 4;
  for (std::size_t m = 0; m < numbers.size(); ++m) {
    // Knot 0 lower left, 1 upper left, 2 upper right, 3 lower right.
    if ((option1 == 0 && (m == 0 || m == 1)) || (option1 == 1 && (m == 2 || m == 3))) vector[base[m] + 0] += c0;
    if ((option2 == 0 && (m == 1 || m == 2)) || (option2 == 1 && (m == 0 || m == 3))) vector[base[m] + 1] += c1;
    vector[base[m] + 2] += c2;
    vector[base[m] + 3] += c3;
    vector[base[m] + 4] += c4;
  }
}

void ApplySupport(std::int64_t knotNumber, const TFixation& fixation, TBandMatrix& matrix,
                  std::span<Extended> vector) {
  if (!matrix.IsAllocated()) return;
  const std::size_t n = matrix.Size();
  const std::size_t bw = matrix.BandWidth();
  Equation(knotNumber, kKnotFreedoms - 1, std::min(n, vector.size()));
  for (int k = 1; k <= kKnotFreedoms; ++k) {
    if (fixation[static_cast<std::size_t>(k - 1)] != 1) continue;
    const std::size_t c = Equation(knotNumber, k - 1, n);
    const std::size_t top = c >= bw - 1 ? c - (bw - 1) : 0;
    for (std::size_t j = c; j-- > top;) matrix(j, c - j) = 0;
    vector[c] = 0;
    Extended* row = matrix.Row(c);
    row[0] = 1;
    std::fill(row + 1, row + bw, Extended(0));
  }
}

std::optional<std::int64_t> KnotNumber(const TKnot* knot) {
  const auto* numbered = dynamic_cast<const TResultKnot*>(knot);
  if (numbered == nullptr) return std::nullopt;
  return numbered->Number;
}

std::optional<TElementKnotNumbers> ElementKnotNumbers(const TFiniteElement& element) {
  if (element.Knots.size() < static_cast<std::size_t>(kElementKnots)) return std::nullopt;
  TElementKnotNumbers numbers{};
  for (std::size_t m = 0; m < numbers.size(); ++m) {
    const auto number = KnotNumber(element.Knots[m]);
    if (!number) return std::nullopt;
    numbers[m] = *number;
  }
  return numbers;
}


std::int32_t BandWidth(const std::vector<std::unique_ptr<TMLEditorElement>>& elements) {
  std::int64_t span = 0;
  for (const auto& element : elements) {
    if (!element || element->ElemKind != ElementKind::Shell) continue;
    if (const auto numbers = ElementKnotNumbers(*element)) span = std::max(span, KnotNumberSpan(*numbers));
  }
  return BandWidthOfSpan(span);
}

void AddToSystem(const TMLResultShell& shell, TBandMatrix& matrix) {
  if (!matrix.IsAllocated()) return;
  const auto numbers = ElementKnotNumbers(shell);
  if (!numbers) return;
  if (shell.Stiffness.Rows() != kElementFreedoms || shell.Stiffness.Cols() != kElementFreedoms)
    throw EBandError("Матрица жесткости элемента не вычислена.");
  AddToSystem(*numbers, shell.Stiffness, matrix);
}

void AddConcForce(const TConcentrateForce& force, std::span<Extended> vector) {
  if (const auto number = KnotNumber(force.Knot)) AddConcForce(*number, force.Force, vector);
}

void AddDispForce(const TEditorDispersionForce& force, std::span<Extended> vector) {
  const TFiniteElement* element = force.Element;
  if (element == nullptr || element->ElemKind != ElementKind::Shell) return;
  const auto numbers = ElementKnotNumbers(*element);
  if (!numbers) return;
  const Extended a = element->Knots[3]->X - element->Knots[0]->X;
  const Extended b = element->Knots[1]->Y - element->Knots[0]->Y;
  AddDispForce(*numbers, element->ElementType == ElementType::Rectangle, a, b, force.Option1, force.Option2, force.Force, vector);
}

void ApplySupport(const TEditorSupport& support, TBandMatrix& matrix, std::span<Extended> vector) {
  if (const auto number = KnotNumber(support.Knot)) ApplySupport(*number, support.Fixation, matrix, vector);
}

}  // namespace tavir
