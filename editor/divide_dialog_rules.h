#pragma once
// The rules of the mesh division dialog ("Разбиение области на элементы") without
// its widgets: the two buttons that derive the counts from the steps and the steps
// from the counts, and the range of the count boxes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/model_ui_dialogs.h"
#include "platform/extended.h"

namespace tavir {

// The count boxes take 1..1000000; anything else is brought into that range.
inline constexpr std::int32_t kDivideCountMin = 1;
inline constexpr std::int32_t kDivideCountMax = 1'000'000;

// What a count box makes of a number given to it (typed or computed).
std::int32_t ClampDivideCount(std::int64_t count);

inline constexpr const char* kDivideCountLimitText = "Количество шагов не может быть больше 1000000.";

// A count typed into a box: an integer is brought into 1..1000000; one above the
// limit (also one too long for any integer) says so with kDivideCountLimitText.
// Other text keeps the count the box had.
struct DivideCountReading {
  std::int32_t Count = kDivideCountMin;
  std::optional<std::string> Message;
};
DivideCountReading ReadDivideCount(std::string_view text, std::int32_t current);

// "По количеству": each step := the region's size / its count.
DivideDialogValues DivideStepsFromCounts(const DivideDialogValues& values);

// "По шагам": each count := size / step truncated toward zero (a quotient within
// round-off of a whole number is that number, CleanQuotient), clamped to the
// boxes' range (a step above the size gives 1, so does a negative step). A step
// of 0, or one whose quotient is not a number, keeps the count.
DivideDialogValues DivideCountsFromSteps(const DivideDialogValues& values);

}  // namespace tavir
