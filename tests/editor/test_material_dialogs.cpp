#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/material_dialogs.h"
#include "model/load_ops.h"
#include "model/project.h"
#include "platform/numtext.h"
#include "fakes/scripted_messages.h"
#include "fakes/scripted_model_dialogs.h"

namespace tavir {
namespace {

MaterialDialogValues Answer(const std::string& name, Extended e) {
  MaterialDialogValues v;
  v.Name = name;
  v.Material.SetE(e);
  return v;
}

// The project's list with steel (used by an element layer) and concrete (free),
// and a chooser's working copy of it.
class MaterialListEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    steel = project.Materials().Material(0);
    concrete = project.Materials().AddMaterial("Бетон В25");
    concrete->SetE(3.0e6L);
    concrete->Reserved = 7;
    auto plate = project.Factory()->MakePlate(ElementType::Triangle, steel);
    project.Elements().Add(std::move(plate));
    entries = project.Materials().Entries();
  }

  MaterialListContext Context() { return ListContext(project.Materials(), holders); }

  std::vector<std::string> Names(const MaterialListEdit& edit) {
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < edit.Count(); ++i) names.push_back(edit.Name(i));
    return names;
  }

  TVelEditorProject project;
  std::shared_ptr<TPhisPropRodNL> steel, concrete;
  std::vector<MaterialEntry> entries;
  MaterialHolders holders;
  ScriptedModelDialogs dialogs;
  ScriptedMessages messages;
};

TEST(MaterialNames, RefusedNamesAndTheirMessages) {
  EXPECT_EQ(MaterialNameRefusal(""), std::optional<std::string>("Название материала должно быть задано!"));
  EXPECT_EQ(MaterialNameRefusal("Сталь №3"), std::nullopt);
  EXPECT_EQ(MaterialNameRefusal("Steel"), std::nullopt);
  EXPECT_EQ(MaterialNameRefusal("Сталь ✓"), std::optional<std::string>(kMaterialNameNotStorableText));
  EXPECT_EQ(MaterialNameRefusal("Ἀλουμίνιο"), std::optional<std::string>(kMaterialNameNotStorableText));
  EXPECT_EQ(DeleteMaterialQuestion("Бетон В25"), "Удалить материал: Бетон В25?");
}

TEST(MaterialDiagram, MemoLinesByKind) {
  SetDecimalSeparator('.');
  TPhisPropNL m;
  m.SetE1(1.5e5L);
  m.SetA(-2.25L);
  m.SetK(0.001L);
  EXPECT_EQ(DiagramLines(m), (std::vector<std::string>{"E1 = 1.5000000E+05"}));
  m.SetDiagramma(1);
  EXPECT_EQ(DiagramLines(m), (std::vector<std::string>{"A = -2.2500000E+00", "k = 1.0000000E-03"}));
  m.SetDiagramma(2);
  EXPECT_TRUE(DiagramLines(m).empty());
  TPhisPropNL zero;
  EXPECT_EQ(DiagramLines(zero), (std::vector<std::string>{"E1 = 0.0000000E+00"}));
  SetDecimalSeparator(',');
  EXPECT_EQ(DiagramLines(zero), (std::vector<std::string>{"E1 = 0,0000000E+00"}));
  SetDecimalSeparator('.');
}

TEST_F(MaterialListEditTest, WorkingCopyShowsTheListAndItsSelection) {
  struct Case {
    std::int32_t selected, expected;
  };
  for (const Case c : {Case{0, 0}, Case{1, 1}, Case{2, -1}, Case{-1, -1}, Case{-7, -1}}) {
    MaterialListEdit edit(entries, c.selected, Context());
    EXPECT_EQ(edit.Selected(), c.expected);
    EXPECT_EQ(Names(edit), (std::vector<std::string>{"Сталь С300", "Бетон В25"}));
    EXPECT_EQ(edit.Values(1).E, 3.0e6L);
    EXPECT_TRUE(edit.DeleteEnabled());
  }
}

TEST_F(MaterialListEditTest, NewOpensTheDialogOnDefaultsAndAppendsOnlyToTheCopy) {
  MaterialListEdit edit(entries, 1, Context());
  dialogs.MaterialAnswers = {Answer("Алюминий", 7.1e5L), std::nullopt};
  EXPECT_EQ(edit.New(dialogs, messages), MaterialListEdit::Outcome::Changed);
  ASSERT_EQ(dialogs.MaterialCalls.size(), 1u);
  const MaterialDialogValues& shown = dialogs.MaterialCalls[0];
  EXPECT_EQ(shown.Name, "");
  EXPECT_EQ(shown.Material.E, 2.06e6L);
  EXPECT_EQ(shown.Material.mu, 0.3L);
  EXPECT_EQ(shown.Material.EpsT, 2e3L);
  EXPECT_EQ(Names(edit), (std::vector<std::string>{"Сталь С300", "Бетон В25", "Алюминий"}));
  EXPECT_EQ(edit.Values(2).E, 7.1e5L);
  EXPECT_FALSE(edit.IsOriginal(2));
  EXPECT_EQ(edit.Selected(), 1);
  EXPECT_EQ(edit.New(dialogs, messages), MaterialListEdit::Outcome::Cancelled);
  EXPECT_EQ(edit.Count(), 3);
  // Nothing reached the project.
  EXPECT_EQ(project.Materials().Count(), 2);
}

TEST_F(MaterialListEditTest, NameAFileCannotStoreIsRefused) {
  MaterialListEdit edit(entries, 1, Context());
  dialogs.MaterialAnswers = {Answer("Сталь ✓", 1), Answer("Бетон ✓", 1)};
  EXPECT_EQ(edit.New(dialogs, messages), MaterialListEdit::Outcome::Refused);
  EXPECT_EQ(edit.EditSelected(dialogs, messages), MaterialListEdit::Outcome::Refused);
  EXPECT_EQ(Names(edit), (std::vector<std::string>{"Сталь С300", "Бетон В25"}));
  EXPECT_EQ(edit.Values(1).E, 3.0e6L);
  ASSERT_EQ(messages.Shown.size(), 2u);
  EXPECT_EQ(messages.Shown[0].Text, kMaterialNameNotStorableText);
  EXPECT_EQ(messages.Shown[0].Caption, "Ошибка");
}

TEST_F(MaterialListEditTest, EditShowsTheChosenItemAndTheRename) {
  MaterialListEdit edit(entries, 1, Context());
  dialogs.MaterialAnswers = {Answer("Бетон В30", 3.3e6L)};
  EXPECT_EQ(edit.EditSelected(dialogs, messages), MaterialListEdit::Outcome::Changed);
  ASSERT_EQ(dialogs.MaterialCalls.size(), 1u);
  EXPECT_EQ(dialogs.MaterialCalls[0].Name, "Бетон В25");
  EXPECT_EQ(dialogs.MaterialCalls[0].Material.E, 3.0e6L);
  EXPECT_EQ(edit.Name(1), "Бетон В30");
  EXPECT_EQ(edit.Values(1).E, 3.3e6L);
  // The project's material is untouched until OK.
  EXPECT_EQ(concrete->E, 3.0e6L);
  EXPECT_EQ(project.Materials().Name(1), "Бетон В25");

  edit.Select(-1);
  EXPECT_EQ(edit.EditSelected(dialogs, messages), MaterialListEdit::Outcome::Refused);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Материал не найден!");
}

TEST_F(MaterialListEditTest, DeleteAsksRefusesInUseAndNoSelection) {
  MaterialListEdit edit(entries, -1, Context());
  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Refused);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Не выбран материал для удаления!");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Plain);

  // Steel is used by the plate's layer.
  edit.Select(0);
  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Refused);
  ASSERT_EQ(messages.Shown.size(), 3u);
  EXPECT_EQ(messages.Shown[1].Kind, MsgKind::Question);
  EXPECT_EQ(messages.Shown[1].Caption, "Удаление");
  EXPECT_EQ(messages.Shown[1].Text, "Удалить материал: Сталь С300?");
  EXPECT_EQ(messages.Shown[1].Buttons, MsgButtons::OkCancel);
  EXPECT_EQ(messages.Shown[2].Kind, MsgKind::Error);
  EXPECT_EQ(messages.Shown[2].Text, kMaterialInUseText);
  EXPECT_EQ(edit.Count(), 2);

  // The question answered with Cancel.
  edit.Select(1);
  messages.Answers = {MsgResult::Cancel};
  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Cancelled);
  EXPECT_EQ(edit.Count(), 2);

  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Changed);
  EXPECT_EQ(Names(edit), (std::vector<std::string>{"Сталь С300"}));
  EXPECT_EQ(edit.Selected(), 0);
  EXPECT_EQ(project.Materials().Count(), 2);  // only the copy changed
}

TEST_F(MaterialListEditTest, DeletingTheLastMaterialDisablesDeleteForGood) {
  std::vector<MaterialEntry> one{entries[1]};
  MaterialListEdit edit(one, 0, Context());
  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Changed);
  EXPECT_EQ(edit.Count(), 0);
  EXPECT_EQ(edit.Selected(), -1);
  EXPECT_FALSE(edit.DeleteEnabled());
  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Nothing);
  dialogs.MaterialAnswers = {Answer("Алюминий", 7.1e5L)};
  EXPECT_EQ(edit.New(dialogs, messages), MaterialListEdit::Outcome::Changed);
  EXPECT_EQ(edit.Count(), 1);
  EXPECT_FALSE(edit.DeleteEnabled());
}

TEST_F(MaterialListEditTest, HoldersOutsideTheElementListKeepTheirMaterials) {
  // The layer of an open layer dialog holds the concrete.
  const TPhisicalElement layer(concrete);
  holders.Layers.push_back(&layer);
  MaterialListEdit edit(entries, 1, Context());
  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Refused);
  EXPECT_EQ(messages.Shown.back().Text, kMaterialInUseText);
  EXPECT_EQ(edit.Count(), 2);
}

TEST_F(MaterialListEditTest, AStackHeldByAnOpenDialogKeepsItsMaterialsUntilItCloses) {
  // The context is made before any dialog opens, as the program makes it.
  const MaterialListContext context = Context();
  TGeometricElement outer;
  outer.AddLayerByName("Слой", concrete);
  TGeometricElement inner;
  inner.AddLayerByName("Слой", steel);
  ASSERT_FALSE(context.InUse(concrete.get()));
  {
    const HeldStack heldOuter(&holders, outer);
    EXPECT_TRUE(context.InUse(concrete.get()));
    MaterialListEdit edit(entries, 1, context);
    EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Refused);
    EXPECT_EQ(messages.Shown.back().Text, kMaterialInUseText);
    EXPECT_EQ(messages.Shown.back().Caption, "Ошибка");
    EXPECT_EQ(edit.Count(), 2);
    {
      const HeldStack heldInner(&holders, inner);
      EXPECT_EQ(holders.Stacks.size(), 2u);
    }
    // Closing the inner dialog leaves the outer one's copy held.
    EXPECT_EQ(holders.Stacks, std::vector<const TGeometricElement*>{&outer});
    EXPECT_TRUE(context.InUse(concrete.get()));
  }
  EXPECT_TRUE(holders.Stacks.empty());
  EXPECT_FALSE(context.InUse(concrete.get()));
  // Without holders nothing is held.
  const HeldStack none(nullptr, outer);
  EXPECT_FALSE(context.InUse(concrete.get()));
  MaterialListEdit edit(entries, 1, context);
  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Changed);
}

TEST_F(MaterialListEditTest, MaterialMadeInTheChooserIsNeverInUse) {
  MaterialListEdit edit(entries, 0, Context());
  dialogs.MaterialAnswers = {Answer("Алюминий", 7.1e5L)};
  edit.New(dialogs, messages);
  edit.Select(2);
  EXPECT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Changed);
  EXPECT_EQ(edit.Count(), 2);
}

TEST_F(MaterialListEditTest, OkTakesTheWholeEditedListOver) {
  MaterialListEdit edit(entries, 1, Context());
  dialogs.MaterialAnswers = {Answer("Бетон В30", 3.3e6L), Answer("Алюминий", 7.1e5L)};
  edit.EditSelected(dialogs, messages);
  edit.New(dialogs, messages);
  edit.Select(2);
  std::vector<MaterialEntry> shown = entries;
  EXPECT_EQ(edit.CommitTo(shown), 2);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Material, steel);
  // The edited material is the same object, so the layers that use it keep it.
  EXPECT_EQ(shown[1].Material, concrete);
  EXPECT_EQ(shown[1].Name, "Бетон В30");
  EXPECT_EQ(concrete->E, 3.3e6L);
  EXPECT_EQ(concrete->Reserved, 7);  // kept as read
  EXPECT_EQ(shown[2].Name, "Алюминий");
  ASSERT_NE(shown[2].Material, nullptr);
  EXPECT_EQ(shown[2].Material->E, 7.1e5L);
}

TEST_F(MaterialListEditTest, DeletedMaterialReadsAsNoneOnlyAfterOk) {
  // A layer that no in-use check knows of holds its material weakly; the list
  // holds the only strong reference.
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    std::vector<MaterialEntry> list{{"Алюминий", std::make_shared<TPhisPropRodNL>()}, entries[0]};
    const TPhisicalElement layer(list[0].Material);
    {
      MaterialListEdit edit(list, 0, Context());
      ASSERT_EQ(edit.DeleteSelected(messages), MaterialListEdit::Outcome::Changed);
      if (ok) {
        EXPECT_EQ(edit.CommitTo(list), 0);
      }
    }
    EXPECT_EQ(list.size(), ok ? 1u : 2u);
    EXPECT_EQ(list.back().Material, steel);
    EXPECT_EQ(layer.Material() == nullptr, ok);
  }
}

}  // namespace
}  // namespace tavir
