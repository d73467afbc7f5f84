#include "editor/task_items.h"

#include <array>

namespace tavir {

namespace {

template <std::size_t N>
int ItemOf(const std::array<int, N>& items, std::uint8_t code) {
  return code < N ? items[code] : -1;
}

template <std::size_t N>
std::optional<std::uint8_t> CodeOf(const std::array<int, N>& items, int item) {
  for (std::size_t code = 0; code < N; ++code)
    if (items[code] == item) return static_cast<std::uint8_t>(code);
  return std::nullopt;
}

constexpr std::array<int, 4> kStatementItems{0, 2, 1, 3};
constexpr std::array<int, 3> kDimensionItems{1, 0, 2};
constexpr std::array<int, 2> kEvulKindItems{0, 1};

}  // namespace

int StatementItem(std::uint8_t statement) { return ItemOf(kStatementItems, statement); }
std::optional<std::uint8_t> StatementOfItem(int item) { return CodeOf(kStatementItems, item); }
int DimensionItem(std::uint8_t dimension) { return ItemOf(kDimensionItems, dimension); }
std::optional<std::uint8_t> DimensionOfItem(int item) { return CodeOf(kDimensionItems, item); }
int EvulKindItem(std::uint8_t kind) { return ItemOf(kEvulKindItems, kind); }
std::optional<std::uint8_t> EvulKindOfItem(int item) { return CodeOf(kEvulKindItems, item); }

}  // namespace tavir
