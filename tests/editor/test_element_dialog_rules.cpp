#include <gtest/gtest.h>

#include "editor/element_dialog_rules.h"
#include "model/mesh_ops.h"
#include "model/project.h"
#include "platform/numtext.h"
#include "fakes/scripted_model_dialogs.h"

namespace tavir {
namespace {

// A plate of three layers on steel; the last layer's type is one the grid does not name.
class ElementRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    steel = project.Materials().Material(0);
    stack.AddLayerByName("Верх", steel)->SetThickness(0.02L);
    auto mid = stack.AddLayerByName("Арматура", steel);
    mid->SetTypeLayer(1);
    mid->SetZ(-0.015L);
    stack.AddLayerByName("Низ", nullptr)->SetTypeLayer(7);
  }
  TVelEditorProject project;
  std::shared_ptr<TPhisPropRodNL> steel;
  TGeometricElement stack;
};

TEST_F(ElementRulesTest, GridRowsAndCounts) {
  EXPECT_EQ(LayerGridRowCount(stack), 4);
  EXPECT_EQ(LayerGridRowCount(TGeometricElement()), 2);
  const std::string steelName = project.Materials().Name(0);
  struct Case {
    int layer;
    std::array<std::string, kLayerGridColumns> row;
  };
  const Case cases[] = {
      {0, {"Верх", "0.02", "0", "монолит", "", steelName}},
      {1, {"Арматура", "0.05", "-0.015", "армирование", "", steelName}},
      {2, {"Низ", "0.05", "0", "", "", "не определен"}},
      {3, {"", "", "", "", "", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(LayerGridRow(stack, c.layer, project.Materials()), c.row) << c.layer;
  EXPECT_EQ(LayerGridHeaders()[2], "до н.п.");
}

TEST_F(ElementRulesTest, LayerOkNeedsAMaterialThatStillExists) {
  TPhisicalElement layer(steel);
  EXPECT_EQ(LayerOkRefusal(layer), std::nullopt);
  EXPECT_EQ(LayerMaterialLabel(layer, project.Materials()), project.Materials().Name(0));
  auto gone = std::make_shared<TPhisPropRodNL>();
  layer.SetMaterial(gone);
  gone.reset();  // deleted from the list and freed
  EXPECT_EQ(LayerOkRefusal(layer), std::optional<std::string>("Не задан материал слоя!"));
  EXPECT_EQ(LayerMaterialLabel(layer, project.Materials()), "не определен");
}

TEST(LayerNames, OnlyNamesTheProjectFileCanStoreAreTaken) {
  for (const char* name : {"", "Верх", "Слой №2 (армирование)"}) EXPECT_EQ(LayerNameRefusal(name), std::nullopt) << name;
  for (const char* name : {"Слой ★", "層"})
    EXPECT_EQ(LayerNameRefusal(name),
              std::optional<std::string>("Название слоя содержит символы, которые нельзя сохранить в файле проекта!"))
        << name;
}

TEST_F(ElementRulesTest, DeletionRules) {
  struct Case {
    int row;
    LayerDeletion::Kind kind;
    std::string text;
  };
  for (const Case& c : {Case{2, LayerDeletion::Kind::Ask, "Удалить слой Арматура"},
                        Case{0, LayerDeletion::Kind::Nothing, ""}, Case{4, LayerDeletion::Kind::Nothing, ""}}) {
    const LayerDeletion d = DeleteLayerRule(stack, c.row);
    EXPECT_EQ(d.What, c.kind) << c.row;
    EXPECT_EQ(d.Text, c.text) << c.row;
  }
  TGeometricElement one;
  one.AddLayerByName("Тело пластины", steel);
  const LayerDeletion only = DeleteLayerRule(one, 1);
  EXPECT_EQ(only.What, LayerDeletion::Kind::OnlyLayer);
  EXPECT_EQ(only.Text, "Удалить слой Тело пластины нельзя. Можно только изменить!");
  EXPECT_EQ(DeleteLayerRule(TGeometricElement(), 1).What, LayerDeletion::Kind::Nothing);
}

TEST_F(ElementRulesTest, TheDialogEditsACopyAndTheElementChangesOnlyThroughTheCaller) {
  ElementDialogValues start;
  start.Layers.Assign(stack);  // as the editing operation hands the stack over
  start.Kx = 0.1L;
  ElementEdit edit(start);
  TPhisicalElement changed(steel);
  changed.SetThickness(0.3L);
  ASSERT_TRUE(edit.ReplaceLayer(1, changed, "Новый верх"));
  ASSERT_TRUE(edit.DeleteLayer(3));
  edit.AddLayer(changed, "Добавлен");
  edit.Values().Kx = 0.5L;
  // The element's own layers: untouched, whatever the dialog does before OK.
  EXPECT_EQ(stack.Layer(0)->Thickness, 0.02L);
  EXPECT_EQ(stack.LayerName(0), "Верх");
  EXPECT_EQ(stack.Count(), 3);
  // What OK hands back.
  const ElementDialogValues r = edit.Result();
  ASSERT_EQ(r.Layers.Count(), 3);
  EXPECT_EQ(r.Layers.LayerName(0), "Новый верх");
  EXPECT_EQ(r.Layers.Layer(0)->Thickness, 0.3L);
  EXPECT_EQ(r.Layers.LayerName(1), "Арматура");
  EXPECT_EQ(r.Layers.LayerName(2), "Добавлен");
  EXPECT_EQ(r.Kx, 0.5L);
  EXPECT_NE(r.Layers.Layer(1).get(), stack.Layer(1).get());
  EXPECT_EQ(edit.LayerOfRow(0), -1);
  EXPECT_FALSE(edit.ReplaceLayer(9, changed, "x"));
}

TEST_F(ElementRulesTest, CancelThroughTheSeamLeavesTheElementAsItWas) {
  auto plate = project.Factory()->MakePlate(ElementType::Triangle, steel);
  TMLEditorElement* e = project.Elements().Add(std::move(plate));
  const Extended before = e->Layers.Layer(0)->Thickness;
  ScriptedModelDialogs dialogs;
  // A dialog that edits a layer as the real one does, then is cancelled.
  dialogs.ElementHandler = [&](TMaterials&, ElementKind, const ElementDialogValues& start)
      -> std::optional<ElementDialogValues> {
    ElementEdit edit(start);
    TPhisicalElement thick(steel);
    thick.SetThickness(before * 4);
    edit.ReplaceLayer(1, thick, "Толстый");
    return std::nullopt;
  };
  EXPECT_EQ(EditProperties(project.Elements(), e, dialogs), EditOutcome::Cancelled);
  EXPECT_EQ(e->Layers.Layer(0)->Thickness, before);
}

}  // namespace
}  // namespace tavir
