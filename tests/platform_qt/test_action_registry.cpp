#include <gtest/gtest.h>

#include <QMenu>
#include <stdexcept>

#include "platform/qt/action_registry.h"
#include "platform/services.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

TEST(ActionRegistry, ActionsCarryTheirNamesAndAreFoundByThem) {
  ActionRegistry registry;
  QAction* a = registry.Add("acModeEdit", "Р&едактирование");
  registry.Add("acFileSave", "&Сохранить");
  EXPECT_EQ(a->objectName(), QString("acModeEdit"));
  EXPECT_EQ(a->text(), QString("Р&едактирование"));
  EXPECT_EQ(registry.Find("acModeEdit"), a);
  EXPECT_EQ(registry.Find("acNoSuch"), nullptr);
  EXPECT_EQ(&registry.Get("acModeEdit"), a);
  EXPECT_THROW(registry.Get("acNoSuch"), std::out_of_range);
  EXPECT_THROW(registry.Run("acNoSuch"), std::out_of_range);
  EXPECT_THROW(registry.Add("acModeEdit", "x"), std::logic_error);
  ASSERT_EQ(registry.Actions().size(), 2u);
  EXPECT_EQ(registry.Actions()[1]->objectName(), QString("acFileSave"));
  // Found also by Qt's own lookup, as GUI tests do.
  EXPECT_EQ(registry.findChild<QAction*>("acFileSave"), registry.Find("acFileSave"));
}

TEST(ActionRegistry, RunByNameCallsTheHandlerEvenWhenDisabled) {
  ActionRegistry registry;
  int runs = 0;
  registry.Add("acForce_ConcApply", "Применить", [&] { ++runs; });
  registry.SetEnabled("acForce_ConcApply", false);
  EXPECT_FALSE(registry.IsEnabled("acForce_ConcApply"));
  registry.Get("acForce_ConcApply").trigger();
  EXPECT_EQ(runs, 0) << "a disabled action ignores the user";
  registry.Run("acForce_ConcApply");
  EXPECT_EQ(runs, 1);
  registry.SetEnabled("acForce_ConcApply", true);
  registry.Get("acForce_ConcApply").trigger();
  EXPECT_EQ(runs, 2);
}

TEST(ActionRegistry, ActionsWithoutHandlerDoNothing) {
  ActionRegistry registry;
  registry.Add("acHelpAbout", "О программе");
  EXPECT_NO_THROW(registry.Run("acHelpAbout"));
  EXPECT_NO_THROW(registry.Get("acHelpAbout").trigger());
  int runs = 0;
  registry.SetHandler("acHelpAbout", [&] { ++runs; });
  registry.Run("acHelpAbout");
  EXPECT_EQ(runs, 1);
}

TEST(ActionRegistry, CheckMarksAreTheHandlersUnlessAutoCheck) {
  ActionRegistry registry;
  registry.Add("acModeKnot", "Узлы", [&] { registry.SetChecked("acModeKnot", true); }, true);
  registry.Add("AcEdit_SelectFrame", "Выделить рамкой", {}, true, true);
  registry.Add("acViewGrid", "Сетка", [] {}, true);

  registry.Get("acViewGrid").trigger();
  EXPECT_FALSE(registry.IsChecked("acViewGrid")) << "the click does not check what the handler does not";
  registry.Get("acModeKnot").trigger();
  EXPECT_TRUE(registry.IsChecked("acModeKnot"));
  registry.Get("acModeKnot").trigger();
  EXPECT_TRUE(registry.IsChecked("acModeKnot")) << "a second click leaves the handler's mark";

  registry.Get("AcEdit_SelectFrame").trigger();
  EXPECT_TRUE(registry.IsChecked("AcEdit_SelectFrame"));
  registry.Run("AcEdit_SelectFrame");
  EXPECT_FALSE(registry.IsChecked("AcEdit_SelectFrame")) << "run by name toggles like a click";

  registry.SetVisible("acViewGrid", false);
  EXPECT_FALSE(registry.IsVisible("acViewGrid"));
  registry.SetChecked("acViewGrid", true);
  EXPECT_TRUE(registry.IsChecked("acViewGrid"));
}

TEST(ActionRegistry, AUserCommandsFailureIsShownNotThrown) {
  ActionRegistry registry;
  ScriptedMessages messages;
  registry.SetMessages(&messages);
  registry.Add("acFileOpen", "Открыть", [] { throw std::runtime_error("Файл не найден"); });
  EXPECT_NO_THROW(registry.Get("acFileOpen").trigger());
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Caption, "Ошибка");
  EXPECT_EQ(messages.Shown[0].Text, "Файл не найден");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Error);
  // Code that runs the command by name gets the exception itself.
  EXPECT_THROW(registry.Run("acFileOpen"), std::runtime_error);
}

TEST(BusyGuard, DisablesEveryCommandAndPutsBackEachOnesState) {
  ActionRegistry registry;
  registry.Add("acCalc", "Расчет");
  registry.Add("acFileSave", "Сохранить");
  registry.Add("acAdapt", "Адаптация");
  registry.SetEnabled("acAdapt", false);
  try {
    BusyGuard busy(registry);
    for (QAction* a : registry.Actions()) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    throw std::runtime_error("Решение прервано");
  } catch (const std::runtime_error&) {
  }
  EXPECT_TRUE(registry.IsEnabled("acCalc"));
  EXPECT_TRUE(registry.IsEnabled("acFileSave"));
  EXPECT_FALSE(registry.IsEnabled("acAdapt")) << "a command disabled before stays disabled";
}

}  // namespace
}  // namespace tavir
