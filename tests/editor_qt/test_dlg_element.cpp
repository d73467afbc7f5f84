#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "editor/qt/dlg_brush.h"
#include "editor/qt/dlg_element.h"
#include "editor/qt/dlg_layer.h"
#include "editor/qt/editor_model_dialogs.h"
#include "editor/qt/shared/shared_model_ui.h"
#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "model/project.h"
#include "platform/numtext.h"
#include "platform_qt/dialog_script.h"
#include "shared_dialogs/dialog_test_support.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

using testing::Find;
using testing::Retype;
using testing::ShowActive;

// A shell element of three layers on steel.
class ElementDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    steel = project.Materials().Material(0);
    stack.AddLayerByName("Верх", steel)->SetThickness(0.02L);
    stack.AddLayerByName("Середина", steel)->SetTypeLayer(1);
    stack.AddLayerByName("Низ", steel);
    start.Layers.Assign(stack);
    start.Kx = 0.25L;
    start.Ky = 0.5L;
    start.Kxy = 0;
  }
  std::unique_ptr<TMLElemForm> Form(ElementKind kind) {
    auto f = std::make_unique<TMLElemForm>(project.Materials(), messages, start);
    f->SetElemKind(kind);
    f->RefreshLayers();
    return f;
  }
  TVelEditorProject project;
  std::shared_ptr<TPhisPropRodNL> steel;
  TGeometricElement stack;
  ElementDialogValues start;
  ScriptedMessages messages;
};

TEST_F(ElementDialogTest, ShowsTheStackAndTheShellPanelByKind) {
  auto form = Form(ElementKind::Shell);
  ShowActive(*form);
  EXPECT_EQ(form->windowTitle(), "Свойства элемента");
  QTableWidget* grid = Find<QTableWidget>(*form, "StrGrid_Layers");
  EXPECT_EQ(grid->rowCount(), 3);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Название слоя");
  EXPECT_EQ(grid->item(0, 0)->text(), "Верх");
  EXPECT_EQ(grid->item(0, 1)->text(), "0.02");
  EXPECT_EQ(grid->item(1, 3)->text(), "армирование");
  EXPECT_EQ(grid->item(2, 5)->text(), QString::fromStdString(project.Materials().Name(0)));
  EXPECT_EQ(grid->columnWidth(0), 177);
  // A laid-out width too narrow for this font's text is widened: nothing is clipped.
  EXPECT_GT(grid->columnWidth(3), grid->fontMetrics().horizontalAdvance(QStringLiteral("армирование")));
  EXPECT_EQ(Find<QLabel>(*form, "Lbl_NumLayers")->text(), "3");
  EXPECT_TRUE(Find<QWidget>(*form, "Panel_Shell")->isVisible());
  EXPECT_EQ(Find<TFloatEdit>(*form, "FloatEdit_Ky")->text(), "0.5");
  EXPECT_FALSE(Find<QPushButton>(*form, "Btn_AutoZ")->isEnabled());
  // Rows keep the stack's order: they cannot be dragged.
  EXPECT_EQ(grid->dragDropMode(), QAbstractItemView::NoDragDrop);
  EXPECT_FALSE(grid->dragEnabled());
  testing::Grab(*form, "dlg_element_shell");
  auto plate = Form(ElementKind::Plate);
  plate->show();
  EXPECT_FALSE(Find<QWidget>(*plate, "Panel_Shell")->isVisible());
  testing::Grab(*plate, "dlg_element_plate");
}

TEST_F(ElementDialogTest, AnEditedLayerChangesNothingUntilOk) {
  DialogScript script;
  auto editLayer = [](QDialog& d) {
    EXPECT_EQ(d.objectName(), "LayerForm");
    EXPECT_EQ(d.findChild<QLineEdit*>("LblEdit_LayerTitle")->text(), "Середина");
    d.findChild<TFloatEdit*>("FloatEdit_T")->setText("0.3");
    d.findChild<QPushButton*>("Btn_OK")->click();
    return d.result();
  };
  auto form = Form(ElementKind::Plate);
  ShowActive(*form);
  QTableWidget* grid = Find<QTableWidget>(*form, "StrGrid_Layers");
  grid->selectRow(1);
  script.Dialogs.push_back(editLayer);
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_EditLayer"), Qt::LeftButton);
  EXPECT_EQ(grid->item(1, 1)->text(), "0.3");
  // The element's own layer is untouched while the dialog is open, and after Cancel.
  EXPECT_EQ(stack.Layer(1)->Thickness, 0.05L);
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_Cancel"), Qt::LeftButton);
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_EQ(stack.Layer(1)->Thickness, 0.05L);

  // Through the seam: Cancel leaves the element, OK hands the edit back.
  auto element = project.Factory()->MakePlate(ElementType::Triangle, steel);
  TMLEditorElement* e = project.Elements().Add(std::move(element));
  EditorModelDialogs dialogs(messages);
  script.Dialogs.push_back([&](QDialog& d) {
    auto* g = d.findChild<QTableWidget*>("StrGrid_Layers");
    g->selectRow(0);
    script.Dialogs.push_front([](QDialog& layer) {
      layer.findChild<TFloatEdit*>("FloatEdit_T")->setText("0.7");
      layer.findChild<QPushButton*>("Btn_OK")->click();
      return layer.result();
    });
    d.findChild<QPushButton*>("Btn_EditLayer")->click();
    d.findChild<QPushButton*>("Btn_Cancel")->click();
    return d.result();
  });
  EXPECT_EQ(EditProperties(project.Elements(), e, dialogs), EditOutcome::Cancelled);
  EXPECT_EQ(e->Layers.Layer(0)->Thickness, 0.05L);
  script.Dialogs.push_back([&](QDialog& d) {
    d.findChild<QTableWidget*>("StrGrid_Layers")->selectRow(0);
    script.Dialogs.push_front([](QDialog& layer) {
      layer.findChild<TFloatEdit*>("FloatEdit_T")->setText("0.7");
      layer.findChild<QPushButton*>("Btn_OK")->click();
      return layer.result();
    });
    d.findChild<QPushButton*>("Btn_EditLayer")->click();
    d.findChild<QPushButton*>("Btn_OK")->click();
    return d.result();
  });
  EXPECT_EQ(EditProperties(project.Elements(), e, dialogs), EditOutcome::Changed);
  EXPECT_EQ(e->Layers.Layer(0)->Thickness, 0.7L);
}

TEST_F(ElementDialogTest, CurvatureTypedAsLettersKeepsTheNumberShown) {
  auto form = Form(ElementKind::Shell);
  ShowActive(*form);
  TFloatEdit* kx = Find<TFloatEdit>(*form, "FloatEdit_Kx");
  Retype(kx, "abc");
  // OK straight from the box: its exit runs first and puts back 0.25.
  QTest::keyClick(kx, Qt::Key_Return);
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(form->Result().Kx, 0.25L);
  EXPECT_EQ(kx->text(), "0.25");

  auto second = Form(ElementKind::Shell);
  ShowActive(*second);
  TFloatEdit* ky = Find<TFloatEdit>(*second, "FloatEdit_Ky");
  Retype(ky, "1.5");
  QTest::keyClick(ky, Qt::Key_Tab);
  Retype(Find<TFloatEdit>(*second, "FloatEdit_Kxy"), "zz");
  QTest::keyClick(Find<TFloatEdit>(*second, "FloatEdit_Kxy"), Qt::Key_Tab);
  QTest::mouseClick(Find<QPushButton>(*second, "Btn_OK"), Qt::LeftButton);
  EXPECT_EQ(second->Result().Ky, 1.5L);
  EXPECT_EQ(second->Result().Kxy, 0);
}

TEST_F(ElementDialogTest, DeletingLayers) {
  DialogScript script;
  auto form = Form(ElementKind::Plate);
  ShowActive(*form);
  QTableWidget* grid = Find<QTableWidget>(*form, "StrGrid_Layers");
  grid->selectRow(2);
  messages.Answers = {MsgResult::Cancel, MsgResult::Ok};
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_DelLayer"), Qt::LeftButton);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Удалить слой Низ");
  EXPECT_EQ(messages.Shown[0].Caption, "Удаление слоя");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Question);
  EXPECT_EQ(grid->rowCount(), 3);
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_DelLayer"), Qt::LeftButton);
  EXPECT_EQ(grid->rowCount(), 2);
  grid->selectRow(0);
  messages.Answers = {MsgResult::Ok};
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_DelLayer"), Qt::LeftButton);
  EXPECT_EQ(Find<QLabel>(*form, "Lbl_NumLayers")->text(), "1");
  QTest::mouseClick(Find<QPushButton>(*form, "Btn_DelLayer"), Qt::LeftButton);
  EXPECT_EQ(messages.Shown.back().Text, "Удалить слой Середина нельзя. Можно только изменить!");
  EXPECT_EQ(messages.Shown.back().Kind, MsgKind::Error);
  EXPECT_EQ(Find<QLabel>(*form, "Lbl_NumLayers")->text(), "1");
  EXPECT_EQ(stack.Count(), 3);
}

TEST_F(ElementDialogTest, LayerFormRefusesOkWithoutAMaterial) {
  TLayerForm form(project.Materials(), messages);
  ShowActive(form);
  EXPECT_EQ(form.windowTitle(), "Характеристики слоя элемента");
  EXPECT_EQ(Find<QLabel>(form, "Lbl_TiltleMaterial")->text(), "не определен");
  form.Layer.SetThickness(0.12L);
  form.Layer.SetTypeLayer(1);
  form.ShowLayer();
  EXPECT_EQ(Find<TFloatEdit>(form, "FloatEdit_T")->text(), "0.12");
  EXPECT_EQ(Find<QComboBox>(form, "CmbBox_TypeLayer")->currentText(), "Арматурный слой");
  testing::Grab(form, "dlg_layer");
  QTest::mouseClick(Find<QPushButton>(form, "Btn_OK"), Qt::LeftButton);
  EXPECT_NE(form.result(), QDialog::Accepted);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Не задан материал слоя!");
  EXPECT_EQ(messages.Shown[0].Caption, "Предупреждение");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Error);
  EXPECT_EQ(QApplication::focusWidget(), Find<QPushButton>(form, "Btn_Material"));
  form.Layer.SetMaterial(steel);
  QTest::mouseClick(Find<QPushButton>(form, "Btn_OK"), Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

// While the element dialog is open its copy of the stack holds materials: the
// chooser opened from a layer dialog inside it refuses to delete a material only
// that copy uses, and still deletes one nobody uses.
TEST_F(ElementDialogTest, TheChooserCountsTheLayersOfTheOpenElementDialog) {
  TMaterials& materials = project.Materials();
  const std::shared_ptr<TPhisPropRodNL> concrete = materials.AddMaterial("Бетон");
  const std::shared_ptr<TPhisPropRodNL> copper = materials.AddMaterial("Медь");
  TMLEditorElement* e = project.Elements().Add(project.Factory()->MakePlate(ElementType::Triangle, steel));
  const std::int32_t layers = e->Layers.Count();
  ASSERT_GT(layers, 0);
  ASSERT_FALSE(MaterialInUse(materials, concrete.get()));

  MaterialHolders holders;
  EditorModelDialogs dialogs(messages);
  dialogs.SetMaterialHolders(&holders);
  MaterialChooser chooser(messages, ListContext(materials, holders), &dialogs);
  project.SetUi(&chooser);
  DialogScript script;
  // A layer dialog that opens the chooser with `choose` and then presses OK.
  const auto layerChoosing = [&script](DialogScript::Handler choose) {
    return [&script, choose](QDialog& layer) {
      script.Dialogs.push_front(choose);
      layer.findChild<QPushButton*>("Btn_Material")->click();
      layer.findChild<QPushButton*>("Btn_OK")->click();
      return layer.result();
    };
  };
  const auto pick = [](const char* name) {
    return [name](QDialog& d) {
      auto* list = d.findChild<QListWidget*>("ListBox_Materials");
      list->setCurrentItem(list->findItems(QString::fromUtf8(name), Qt::MatchExactly).value(0));
      d.findChild<QPushButton*>("Btn_OK")->click();
      return d.result();
    };
  };
  std::vector<QString> namesAfterRefusal, namesAfterDelete;
  const auto deleting = [&](QDialog& d) {
    auto* list = d.findChild<QListWidget*>("ListBox_Materials");
    QPushButton* del = d.findChild<QPushButton*>("Btn_Delete");
    list->setCurrentItem(list->findItems(QStringLiteral("Бетон"), Qt::MatchExactly).value(0));
    messages.Shown.clear();
    del->click();
    EXPECT_EQ(messages.Shown.size(), 2u);  // the question, then the refusal
    if (!messages.Shown.empty()) {
      EXPECT_EQ(messages.Shown.back().Text, kMaterialInUseText);
      EXPECT_EQ(messages.Shown.back().Caption, "Ошибка");
      EXPECT_EQ(messages.Shown.back().Kind, MsgKind::Error);
    }
    for (int i = 0; i < list->count(); ++i) namesAfterRefusal.push_back(list->item(i)->text());
    list->setCurrentItem(list->findItems(QStringLiteral("Медь"), Qt::MatchExactly).value(0));
    del->click();
    for (int i = 0; i < list->count(); ++i) namesAfterDelete.push_back(list->item(i)->text());
    return pick("Бетон")(d);
  };
  script.Dialogs.push_back([&](QDialog& elem) {
    EXPECT_EQ(holders.Stacks.size(), 1u);
    auto* grid = elem.findChild<QTableWidget*>("StrGrid_Layers");
    // The copy's first layer takes the concrete, which no element uses.
    grid->selectRow(0);
    script.Dialogs.push_front(layerChoosing(pick("Бетон")));
    elem.findChild<QPushButton*>("Btn_EditLayer")->click();
    EXPECT_EQ(grid->item(0, 5)->text(), "Бетон");
    // A new layer's chooser: the concrete stays, the copper goes.
    script.Dialogs.push_front(layerChoosing(deleting));
    elem.findChild<QPushButton*>("Btn_NewLayer")->click();
    EXPECT_EQ(grid->rowCount(), layers + 1);
    elem.findChild<QPushButton*>("Btn_Cancel")->click();
    return elem.result();
  });
  EXPECT_EQ(EditProperties(project.Elements(), e, dialogs), EditOutcome::Cancelled);
  EXPECT_TRUE(script.Dialogs.empty());
  const QString steelName = QString::fromStdString(materials.Name(0));
  EXPECT_EQ(namesAfterRefusal, (std::vector<QString>{steelName, "Бетон", "Медь"}));
  EXPECT_EQ(namesAfterDelete, (std::vector<QString>{steelName, "Бетон"}));
  // The chooser's OK took the deletion over; the element is as it was.
  EXPECT_GE(materials.IndexOfMaterial(concrete.get()), 0);
  EXPECT_EQ(materials.IndexOfMaterial(copper.get()), -1);
  ASSERT_EQ(e->Layers.Count(), layers);
  for (std::int32_t i = 0; i < layers; ++i) EXPECT_EQ(e->Layers.LayerMaterial(i), steel) << i;
  // Closed, the dialog's copy no longer holds anything.
  EXPECT_TRUE(holders.Stacks.empty());
  EXPECT_FALSE(MaterialInUse(materials, concrete.get(), holders));
}

TEST_F(ElementDialogTest, LayerFormRefusesANameTheFileCannotStore) {
  TLayerForm form(project.Materials(), messages);
  ShowActive(form);
  form.Layer.SetMaterial(steel);
  form.ShowLayer();
  form.SetTitle(QStringLiteral("Слой ★"));
  QTest::mouseClick(Find<QPushButton>(form, "Btn_OK"), Qt::LeftButton);
  EXPECT_NE(form.result(), QDialog::Accepted);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Название слоя содержит символы, которые нельзя сохранить в файле проекта!");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Error);
  EXPECT_EQ(QApplication::focusWidget(), Find<QLineEdit>(form, "LblEdit_LayerTitle"));
  form.SetTitle(QStringLiteral("Слой 1"));
  QTest::mouseClick(Find<QPushButton>(form, "Btn_OK"), Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(BrushForm, StylesAndColours) {
  TBrushForm form;
  form.Brush = {0x0000FF, BrushStyle::Cross};
  form.ShowBrush();
  form.show();
  EXPECT_EQ(form.windowTitle(), "Штриховка и цвет");
  EXPECT_TRUE(Find<QToolButton>(form, "ToolBtn_Cross")->isChecked());
  EXPECT_EQ(Find<QComboBox>(form, "ColorBox")->currentText(), "Красный");
  Find<QToolButton>(form, "ToolBtn_FDiag")->click();
  EXPECT_EQ(form.Brush.Style, BrushStyle::FDiagonal);
  Find<QComboBox>(form, "ColorBox")->setCurrentIndex(2);
  EXPECT_EQ(form.Brush.Color, 0x008000u);
  testing::Grab(form, "dlg_brush");
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QToolButton*>("ToolBtn_Vert")->click();
    d.findChild<QPushButton*>("Btn_Cancel")->click();
    return d.result();
  });
  EXPECT_FALSE(EditBrush({0, BrushStyle::Solid}));
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QToolButton*>("ToolBtn_Vert")->click();
    d.findChild<QPushButton*>("Btn_OK")->click();
    return d.result();
  });
  const std::optional<CanvasBrush> b = EditBrush({0x123456, BrushStyle::Solid});
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Style, BrushStyle::Vertical);
  EXPECT_EQ(b->Color, 0x123456u);
}

}  // namespace
}  // namespace tavir
