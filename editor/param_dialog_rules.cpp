#include "editor/param_dialog_rules.h"

#include <algorithm>
#include <cmath>

#include "platform/numtext.h"

namespace tavir {

std::optional<std::int32_t> ReadFileListNumber(std::string_view text) { return ParseInt(text); }

const std::vector<std::string>& AutoSaveItems() {
  static const std::vector<std::string> items{"5", "10", "20", "30", "40", "50", "60"};
  return items;
}

AutoSaveReading ReadAutoSaveInterval(std::string_view text) {
  AutoSaveReading r;
  const std::optional<int> v = ParseInt(text);
  r.Converted = v.has_value();
  // Text that is not a number stays for the user to mend; it reads as 5.
  if (!r.Converted) return r;
  const int minutes = *v;
  if (minutes > kAutoSaveMax) {
    r.Minutes = kAutoSaveMax;
    r.Item = static_cast<int>(AutoSaveItems().size()) - 1;
  } else if (minutes < kAutoSaveMin) {
    r.Minutes = kAutoSaveMin;
    r.Item = 0;
  } else {
    r.Minutes = minutes;
  }
  return r;
}

PrecisionReading ReadPrecision(std::string_view text) {
  PrecisionReading r;
  const std::optional<Extended> v = ParseFloat(text);
  if (!v) return r;
  if (!(*v > 0) || !std::isfinite(*v)) {
    r.Message = kPrecisionPositiveText;
    return r;
  }
  r.Value = *v;
  r.Verdict = (*v >= 1e-5L && *v <= 1) ? PrecisionVerdict::Taken : PrecisionVerdict::Ask;
  return r;
}

std::vector<std::string> UnitList(const TBCDataEditor& options, bool force) {
  std::vector<std::string> list;
  for (int i = 0; i < TBCDataEditor::kUnitCount; ++i) {
    std::string name = force ? options.GetForceUnitName(i) : options.GetLengthUnitName(i);
    if (!name.empty()) list.push_back(std::move(name));
  }
  return list;
}

int UnitSelection(const std::vector<std::string>& list, const std::string& current) {
  const auto it = std::find(list.begin(), list.end(), current);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void StoreUnitList(TBCDataEditor& options, bool force, const std::vector<std::string>& list, int selected) {
  for (int i = 0; i < TBCDataEditor::kUnitCount; ++i) {
    const std::string name = i < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i)] : std::string();
    if (force) options.SetForceUnitName(i, name);
    else options.SetLengthUnitName(i, name);
  }
  std::string current;
  if (selected >= 0 && selected < static_cast<int>(list.size())) current = list[static_cast<std::size_t>(selected)];
  else if (!list.empty()) current = list.front();
  if (force) options.SetForceUnit(current);
  else options.SetLengthUnit(current);
}

std::optional<std::string> NewUnitName(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  return std::string(text);
}

std::int32_t StoredFileListNumber(bool listOn) { return listOn ? 5 : 0; }

}  // namespace tavir
