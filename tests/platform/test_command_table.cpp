#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/command_table.h"

namespace tavir {
namespace {

// A target that records which handler ran, and with which name.
struct Target {
  std::vector<std::string> Log;
  void Open() { Log.emplace_back("Open"); }
  void Zoom() { Log.emplace_back("Zoom"); }
};

void Group(Target& t, std::string_view name) { t.Log.push_back("Group " + std::string(name)); }

using Row = CommandRow<Target>;
constexpr Row kRows[] = {
    {"open", &Target::Open},
    {"zoom", &Target::Zoom, {.NeedsView = true}},
    {"first", &Group},
    {"second", [](Target& t, std::string_view name) { Group(t, name); }},
    {"mode", &Target::Open, {.WhileBusy = true}},
    {"mark", nullptr, {.Checkable = true}},
    {"inert", {}},
};
constexpr CommandTable<Row> kTable{kRows};

// The look-ups are constant expressions: a table of constant rows is checked as it compiles.
static_assert(kTable.Known("open") && !kTable.Known("Open") && !kTable.Known(""));
static_assert(kTable.HasHandler("second") && !kTable.HasHandler("mark") && !kTable.HasHandler("nothing"));
static_assert(kTable.Find("mark")->Rules.Checkable && !kTable.Find("open")->Rules.Checkable);
static_assert(kTable.Rows().size() == 7);

TEST(CommandTable, RunsTheHandlerOfTheName) {
  struct Case {
    std::string_view Name;
    std::vector<std::string> Log;
  };
  const Case cases[] = {
      {"open", {"Open"}},
      {"zoom", {"Zoom"}},
      {"first", {"Group first"}},   // a group's function is told which of its commands ran
      {"second", {"Group second"}},
      {"mode", {"Open"}},
      {"mark", {}},                 // laid out: known, carries out nothing
      {"inert", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Name));
    Target t;
    EXPECT_TRUE(kTable.Run(t, c.Name));
    EXPECT_EQ(t.Log, c.Log);
  }
  Target t;
  EXPECT_FALSE(kTable.Run(t, "nothing"));
  EXPECT_FALSE(kTable.Run(t, "OPEN"));
  EXPECT_TRUE(t.Log.empty());
}

TEST(CommandTable, EnabledByTheRulesOfTheRow) {
  struct Case {
    std::string_view Name;
    bool Idle, IdleWithView, Busy, BusyWithView;
  };
  const Case cases[] = {
      {"open", true, true, false, false},
      {"zoom", false, true, false, false},   // needs a view
      {"mode", true, true, true, true},      // the program's own: also while it computes
      {"mark", true, true, true, true},      // no handler: nothing to refuse
      {"nothing", true, true, true, true},   // unknown: nothing to refuse
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Name));
    EXPECT_EQ(kTable.Enabled(c.Name, {false, false}), c.Idle);
    EXPECT_EQ(kTable.Enabled(c.Name, {true, false}), c.IdleWithView);
    EXPECT_EQ(kTable.Enabled(c.Name, {false, true}), c.Busy);
    EXPECT_EQ(kTable.Enabled(c.Name, {true, true}), c.BusyWithView);
  }
}

TEST(CommandTable, TwoRowsOfOneNameAreRefused) {
  const std::vector<Row> rows = {{"open", &Target::Open}, {"zoom", &Target::Zoom}, {"open", &Target::Zoom}};
  EXPECT_THROW(CommandTable<Row>{rows}, std::logic_error);
  const std::vector<Row> distinct(rows.begin(), rows.begin() + 2);
  EXPECT_NO_THROW(CommandTable<Row>{distinct});
}

// A program's rows may carry more than the name, the handler and the rules.
struct CaptionedRow {
  std::string_view Name;
  std::string_view Caption;
  CommandHandler<Target> Handler;
  CommandRules Rules;
};

TEST(CommandTable, RowsMayCarryTheirOwnFields) {
  static constexpr CaptionedRow rows[] = {{"open", "&Открыть", &Target::Open, {}},
                                          {"zoom", "Пр&иблизить", &Target::Zoom, {.NeedsView = true}}};
  constexpr CommandTable<CaptionedRow> table{rows};
  EXPECT_EQ(table.Find("zoom")->Caption, "Пр&иблизить");
  Target t;
  EXPECT_TRUE(table.Run(t, "zoom"));
  EXPECT_EQ(t.Log, std::vector<std::string>{"Zoom"});
  EXPECT_FALSE(table.Enabled("zoom", {false, false}));
}

}  // namespace
}  // namespace tavir
