#pragma once
// The task codes as the settings and new-task dialogs show them: each radio group
// lists its items in its own order, so a code and its item differ.
#include <cstdint>
#include <optional>

namespace tavir {

// Statement 0, 1, 2, 3 -> "Постановка задачи" item 0, 2, 1, 3 (and back).
int StatementItem(std::uint8_t statement);
std::optional<std::uint8_t> StatementOfItem(int item);
// Dimension 0 (two-dimensional), 1 (three-dimensional), 2 (plates) -> "Размерность
// задачи" item 1, 0, 2 (the group lists "Трехмерная" first).
int DimensionItem(std::uint8_t dimension);
std::optional<std::uint8_t> DimensionOfItem(int item);
// Analysis kind 0 static, 1 dynamic -> item 0, 1.
int EvulKindItem(std::uint8_t kind);
std::optional<std::uint8_t> EvulKindOfItem(int item);

// Every item above is -1 for a code outside the group: the group keeps its choice.

}  // namespace tavir
