#include <gtest/gtest.h>

#include "editor/param_dialog_rules.h"
#include "platform/numtext.h"

namespace tavir {
namespace {

TEST(ParamRules, AutoSaveIntervalIsBroughtIntoRange) {
  struct Case {
    const char* text;
    bool converted;
    int minutes, item;
  };
  for (const Case c : {Case{"90", true, 60, 6}, Case{"2", true, 5, 0}, Case{"30", true, 30, -1},
                       Case{"60", true, 60, -1}, Case{"5", true, 5, -1}, Case{"abc", false, 5, -1},
                       Case{"", false, 5, -1}}) {
    const AutoSaveReading r = ReadAutoSaveInterval(c.text);
    EXPECT_EQ(r.Converted, c.converted) << c.text;
    EXPECT_EQ(r.Minutes, c.minutes) << c.text;
    EXPECT_EQ(r.Item, c.item) << c.text;
  }
  EXPECT_EQ(AutoSaveItems().front(), "5");
  EXPECT_EQ(AutoSaveItems().back(), "60");
}

TEST(ParamRules, PrecisionTakenAskedOrRefused) {
  SetDecimalSeparator('.');
  struct Case {
    const char* text;
    PrecisionVerdict verdict;
    Extended value;
    bool message;
  };
  const Case cases[] = {
      {"1", PrecisionVerdict::Taken, 1, false},
      {"0.00001", PrecisionVerdict::Taken, 1e-5L, false},
      {"1.5", PrecisionVerdict::Ask, 1.5L, false},
      {"0.000001", PrecisionVerdict::Ask, 1e-6L, false},
      // Not a number: a beep only; the value stays the fallback.
      {"abc", PrecisionVerdict::Refused, kPrecisionFallback, false},
      // A precision becomes a window's scale: 0 and negative values are refused with a message.
      {"0", PrecisionVerdict::Refused, kPrecisionFallback, true},
      {"-0.5", PrecisionVerdict::Refused, kPrecisionFallback, true},
      {"nan", PrecisionVerdict::Refused, kPrecisionFallback, false},
      {"inf", PrecisionVerdict::Refused, kPrecisionFallback, false},
  };
  for (const Case& c : cases) {
    const PrecisionReading r = ReadPrecision(c.text);
    EXPECT_EQ(r.Verdict, c.verdict) << c.text;
    EXPECT_EQ(r.Value, c.value) << c.text;
    EXPECT_EQ(r.Message.has_value(), c.message) << c.text;
  }
}

TEST(ParamRules, OkIsBlockedOnlyByAFailureOfItsOwnPass) {
  // A later good reading never hides an earlier bad one.
  SettingsReadings pass;
  pass.FileListFailed = true;
  EXPECT_FALSE(pass.Valid());
  SettingsReadings later;
  later.PrecisionFailed = true;
  EXPECT_FALSE(later.Valid());
  EXPECT_TRUE(SettingsReadings{}.Valid());
  EXPECT_EQ(ReadFileListNumber("7"), 7);
  EXPECT_EQ(ReadFileListNumber("7x"), std::nullopt);
  EXPECT_EQ(StoredFileListNumber(true), 5);
  EXPECT_EQ(StoredFileListNumber(false), 0);
}

TEST(ParamRules, UnitListsWriteBackWithoutResurrectingDeletedNames) {
  TBCDataEditor o;
  o.SetLengthUnitName(0, "м");
  o.SetLengthUnitName(2, "см");
  o.SetLengthUnitName(3, "мм");
  o.SetLengthUnit("см");
  o.SetForceUnitName(0, "кН");
  o.SetForceUnit("тс");
  const std::vector<std::string> lengths = UnitList(o, false);
  EXPECT_EQ(lengths, (std::vector<std::string>{"м", "см", "мм"}));
  EXPECT_EQ(UnitSelection(lengths, o.GetLengthUnit()), 1);
  EXPECT_EQ(UnitSelection(UnitList(o, true), o.GetForceUnit()), -1);

  // "мм" deleted: the list is shorter, and the table keeps no trace of it.
  StoreUnitList(o, false, {"м", "см"}, 1);
  EXPECT_EQ(UnitList(o, false), (std::vector<std::string>{"м", "см"}));
  for (int i = 2; i < TBCDataEditor::kUnitCount; ++i) EXPECT_EQ(o.GetLengthUnitName(i), "") << i;
  EXPECT_EQ(o.GetLengthUnit(), "см");
  // Nothing selected: the first entry; an empty list: none.
  StoreUnitList(o, true, {"кН", "тс"}, -1);
  EXPECT_EQ(o.GetForceUnit(), "кН");
  StoreUnitList(o, true, {}, -1);
  EXPECT_EQ(o.GetForceUnit(), "");
  EXPECT_TRUE(UnitList(o, true).empty());
  // More than ten names: only ten are kept.
  std::vector<std::string> many;
  for (int i = 0; i < 12; ++i) many.push_back("u" + std::to_string(i));
  StoreUnitList(o, false, many, 11);
  EXPECT_EQ(UnitList(o, false).size(), 10u);
  EXPECT_EQ(o.GetLengthUnit(), "u11");
}

TEST(ParamRules, EmptyUnitNamesAreIgnored) {
  EXPECT_EQ(NewUnitName(""), std::nullopt);
  EXPECT_EQ(NewUnitName("   "), std::nullopt);
  EXPECT_EQ(NewUnitName("кгс"), "кгс");
}

}  // namespace
}  // namespace tavir
