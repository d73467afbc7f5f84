#pragma once
// The rules of the settings dialog ("Параметры") without its widgets: the typed
// numbers it reads, the unit-name lists, and the user level's preset.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/settings.h"
#include "platform/extended.h"

namespace tavir {

inline constexpr const char* kPrecisionQuestion = "Вы уверены, что заданные параметры точности верны";
inline constexpr const char* kPrecisionQuestionCaption = "Ошибка ввода данных";
inline constexpr const char* kPrecisionPositiveText = "Точность ввода данных должна быть положительным числом.";
inline constexpr Extended kPrecisionFallback = 0.001L;
inline constexpr const char* kPrecisionFallbackText = "0.001";
inline constexpr const char* kNewUnitCaption = "Введите новую единицу измерения:";
inline constexpr int kAutoSaveMin = 5;
inline constexpr int kAutoSaveMax = 60;

// The recent-file list length typed: an integer, nothing for other text.
std::optional<std::int32_t> ReadFileListNumber(std::string_view text);

struct AutoSaveReading {
  bool Converted = false;
  std::int32_t Minutes = kAutoSaveMin;  // 5..60: above 60 gives 60, below 5 gives 5
  // The item of "5" ... "60" to select when a number was brought into range, else -1.
  int Item = -1;
};
// The autosave interval typed. Text that is not an integer reads 5 and selects no
// item, so the box keeps the user's text while the reading has failed.
AutoSaveReading ReadAutoSaveInterval(std::string_view text);
// The interval items "5", "10", "20", "30", "40", "50", "60".
const std::vector<std::string>& AutoSaveItems();

enum class PrecisionVerdict {
  Taken,     // 1e-5 .. 1: taken as it is
  Ask,       // another positive number: taken only when the user confirms
  Refused,   // not a number, or not above 0: the reading failed
};
struct PrecisionReading {
  PrecisionVerdict Verdict = PrecisionVerdict::Refused;
  Extended Value = kPrecisionFallback;
  // The message of a refusal that has one (a number not above 0); text that is
  // not a number only beeps.
  std::optional<std::string> Message;
};
PrecisionReading ReadPrecision(std::string_view text);

// The readings of one OK: the dialog closes only when none of them failed. A
// failure keeps the dialog open and moves the focus to the first failed box;
// leaving a box alone never blocks Cancel.
struct SettingsReadings {
  bool FileListFailed = false;
  bool AutoSaveFailed = false;
  bool PrecisionFailed = false;
  bool Valid() const { return !FileListFailed && !AutoSaveFailed && !PrecisionFailed; }
};

// A unit-name table (length or force) as its list shows it: every non-empty
// entry 0..9 in order.
std::vector<std::string> UnitList(const TBCDataEditor& options, bool force);
// The position of the current unit's name in the list; -1 when it is absent.
int UnitSelection(const std::vector<std::string>& list, const std::string& current);
// Writes the list back into the table: entry i := list entry i below both the
// list's length and 10, and every entry above the list's length is cleared, so a
// deleted name does not come back. The current unit := the selected entry, or the
// first one when nothing is selected (none when the list is empty).
void StoreUnitList(TBCDataEditor& options, bool force, const std::vector<std::string>& list, int selected);
// The one-line input's text as a new unit name: nothing for an empty (or blank) one.
std::optional<std::string> NewUnitName(std::string_view text);

// The recent-file list length stored on OK: 5 when the list is on, else 0.
std::int32_t StoredFileListNumber(bool listOn);

}  // namespace tavir
