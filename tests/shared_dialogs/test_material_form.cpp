#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/qt/shared/material_form.h"
#include "editor/qt/shared/phis_prop_form.h"
#include "editor/qt/shared/shared_model_ui.h"
#include "model/load_ops.h"
#include "model/project.h"
#include "platform/numtext.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/message_box.h"
#include "platform_qt/dialog_script.h"
#include "shared_dialogs/dialog_test_support.h"

namespace tavir {
namespace {

using testing::Find;

// The shared material dialog completed the way the editor completes it; the
// other dialogs are not opened by these tests.
class TestDialogs : public SharedModelDialogs {
 public:
  using SharedModelDialogs::SharedModelDialogs;
  std::optional<ElementDialogValues> ElementProperties(TMaterials&, ElementKind, const ElementDialogValues&) override {
    ADD_FAILURE() << "element dialog opened";
    return std::nullopt;
  }
  std::optional<DivideDialogValues> DivideRegion(const DivideDialogValues&) override {
    ADD_FAILURE() << "division dialog opened";
    return std::nullopt;
  }
  std::optional<std::int16_t> SurfaceKind() override {
    ADD_FAILURE() << "surface dialog opened";
    return std::nullopt;
  }
  std::optional<ShellDataValues> ShellData(const ShellDataValues&) override {
    ADD_FAILURE() << "shell dialog opened";
    return std::nullopt;
  }
  void ShellList(TShellFunctions&) override { ADD_FAILURE() << "shell list opened"; }
};

// A dialog handler for one form class; another dialog fails the test.
template <class Form>
DialogScript::Handler As(std::function<int(Form&)> act) {
  return [act = std::move(act)](QDialog& d) {
    auto* form = qobject_cast<Form*>(&d);
    EXPECT_NE(form, nullptr) << "unexpected dialog " << d.objectName().toStdString();
    if (form == nullptr) return int(QDialog::Rejected);
    return act(*form);
  };
}
using ChooserStep = std::function<int(TMaterialForm&)>;
using PropertiesStep = std::function<int(TPhisPropForm&)>;

std::vector<QString> Texts(const DialogScript& script) {
  std::vector<QString> texts;
  for (const DialogScript::Box& b : script.Boxes) texts.push_back(b.Text);
  return texts;
}

int Click(QDialog& dialog, QPushButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
  return dialog.result();
}

// The properties dialog answered with a name and a modulus.
DialogScript::Handler Fill(const QString& name, const QString& e) {
  return As<TPhisPropForm>([name, e](TPhisPropForm& f) {
    f.LblEdit_Title->setText(name);
    f.FloatEdit_E->setText(e);
    return Click(f, f.Btn_OK);
  });
}

QStringList Items(const QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

// Steel (used by the plate), concrete and wood; the editor's chooser set up on them.
class ChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    steel = project.Materials().Material(0);
    concrete = project.Materials().AddMaterial("Бетон В25");
    concrete->SetE(3e6L);
    wood = project.Materials().AddMaterial("Дерево");
    project.Elements().Add(project.Factory()->MakePlate(ElementType::Triangle, steel));
    project.SetUi(&chooser);
  }
  std::vector<std::string> ProjectNames() const {
    std::vector<std::string> names;
    for (const MaterialEntry& e : project.Materials().Entries()) names.push_back(e.Name);
    return names;
  }

  QtMessageService messages;
  TestDialogs dialogs{messages};
  MaterialHolders holders;
  TVelEditorProject project;
  MaterialChooser chooser{messages, ListContext(project.Materials(), holders), &dialogs};
  std::shared_ptr<TPhisPropRodNL> steel, concrete, wood;
};

TEST_F(ChooserTest, ShowsTheListWithTheMaterialChosen) {
  DialogScript script;
  script.Dialogs.push_back(As<TMaterialForm>([](TMaterialForm& f) {
    EXPECT_EQ(f.windowTitle(), "Материалы");
    QListWidget* list = Find<QListWidget>(f, "ListBox_Materials");
    EXPECT_EQ(Items(list), (QStringList{"Сталь С300", "Бетон В25", "Дерево"}));
    EXPECT_EQ(list->currentRow(), 1);
    for (const char* name : {"Btn_New", "Btn_Edit", "Btn_Delete", "Btn_OK", "Btn_Cancel"})
      EXPECT_TRUE(Find<QPushButton>(f, name)->isEnabled()) << name;
    EXPECT_EQ(f.Btn_New->text(), "Новый");
    EXPECT_EQ(f.Btn_Edit->text(), "Изменить");
    EXPECT_EQ(f.Btn_Delete->text(), "Удалить");
    EXPECT_EQ(f.Btn_OK->text(), "ОК");
    EXPECT_EQ(f.Btn_Cancel->text(), "Отменить");
    f.show();
    testing::Grab(f, "material_form");
    list->setCurrentRow(2);
    return Click(f, f.Btn_OK);
  }));
  EXPECT_EQ(project.Materials().ChooseMaterial(concrete.get()), 2);
  EXPECT_EQ(script.Seen, (std::vector<QString>{"MaterialForm"}));
}

TEST_F(ChooserTest, NewOpensTheDefaultsAndCancelAfterNewAndDeleteChangesNothing) {
  DialogScript script;
  script.Dialogs.push_back(As<TMaterialForm>([&](TMaterialForm& f) {
    QListWidget* list = f.ListBox_Materials;
    Click(f, f.Btn_New);
    EXPECT_EQ(Items(list), (QStringList{"Сталь С300", "Бетон В25", "Дерево", "Медь"}));
    EXPECT_EQ(list->currentRow(), 2);  // the selection stays
    list->setCurrentRow(1);
    Click(f, f.Btn_Delete);
    EXPECT_EQ(Texts(script), (std::vector<QString>{"Удалить материал: Бетон В25?"}));
    EXPECT_EQ(Items(list), (QStringList{"Сталь С300", "Дерево", "Медь"}));
    EXPECT_EQ(list->currentRow(), 0);
    // The project is untouched while the chooser is open.
    EXPECT_EQ(project.Materials().Count(), 3);
    EXPECT_EQ(project.Materials().IndexOfMaterial(concrete.get()), 1);
    return Click(f, f.Btn_Cancel);
  }));
  script.Dialogs.push_back(As<TPhisPropForm>([](TPhisPropForm& f) {
    EXPECT_EQ(f.LblEdit_Title->text(), "");
    EXPECT_EQ(f.FloatEdit_E->text(), "2060000");
    EXPECT_EQ(f.FloatEdit_mu->text(), "0.3");
    EXPECT_EQ(f.FloatEdit_EpsT->text(), "2000");
    EXPECT_EQ(f.Memo_Diagramma->toPlainText(), "E1 = 0.0000000E+00");
    f.LblEdit_Title->setText("Медь");
    return Click(f, f.Btn_OK);
  }));
  // The chooser opened on wood: Cancel answers wood's position, which is still 2.
  EXPECT_EQ(project.Materials().ChooseMaterial(wood.get()), 2);
  EXPECT_EQ(ProjectNames(), (std::vector<std::string>{"Сталь С300", "Бетон В25", "Дерево"}));
  EXPECT_EQ(project.Materials().Material(1), concrete);
  ASSERT_EQ(script.Boxes.size(), 1u);
  EXPECT_EQ(script.Boxes[0].Title, "Удаление");
  EXPECT_EQ(script.Boxes[0].Icon, QMessageBox::Question);
  EXPECT_EQ(script.Boxes[0].Buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

TEST_F(ChooserTest, OkTakesTheEditedListOverAndTheDeletedMaterialIsGone) {
  // A layer no in-use check knows of holds the concrete.
  auto loose = std::make_unique<TPhisicalElement>(concrete);
  {
    DialogScript script;
    script.Dialogs.push_back(As<TMaterialForm>([](TMaterialForm& f) {
      Click(f, f.Btn_New);
      f.ListBox_Materials->setCurrentRow(1);
      Click(f, f.Btn_Delete);
      f.ListBox_Materials->setCurrentRow(2);
      return Click(f, f.Btn_OK);
    }));
    script.Dialogs.push_back(Fill("Медь", "1.1e6"));
    EXPECT_EQ(project.Materials().ChooseMaterial(wood.get()), 2);
  }
  EXPECT_EQ(ProjectNames(), (std::vector<std::string>{"Сталь С300", "Дерево", "Медь"}));
  EXPECT_EQ(project.Materials().Material(0), steel);
  EXPECT_EQ(project.Materials().Material(1), wood);
  EXPECT_EQ(project.Materials().Material(2)->E, 1.1e6L);
  concrete.reset();
  EXPECT_EQ(loose->Material(), nullptr);
}

TEST_F(ChooserTest, CancelAnswersMinusOneForAMaterialNotInTheList) {
  DialogScript script;
  script.Dialogs.push_back(As<TMaterialForm>([](TMaterialForm& f) {
    EXPECT_EQ(f.ListBox_Materials->currentRow(), 0);
    return Click(f, f.Btn_Cancel);
  }));
  const auto stranger = std::make_shared<TPhisPropRodNL>();
  EXPECT_EQ(project.Materials().ChooseMaterial(stranger.get()), -1);
}

TEST_F(ChooserTest, RenameIsShownAndReachesTheProjectOnlyOnOk) {
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    DialogScript script;
    script.Dialogs.push_back(As<TMaterialForm>([ok](TMaterialForm& f) {
      Click(f, f.Btn_Edit);
      EXPECT_EQ(f.ListBox_Materials->item(1)->text(), "Бетон В30");
      EXPECT_EQ(f.ListBox_Materials->currentRow(), 1);
      return Click(f, ok ? f.Btn_OK : f.Btn_Cancel);
    }));
    script.Dialogs.push_back(As<TPhisPropForm>([](TPhisPropForm& f) {
      EXPECT_EQ(f.LblEdit_Title->text(), "Бетон В25");
      EXPECT_EQ(f.FloatEdit_E->text(), "3000000");
      f.LblEdit_Title->setText("Бетон В30");
      f.FloatEdit_E->setText("3.3e6");
      return Click(f, f.Btn_OK);
    }));
    EXPECT_EQ(project.Materials().ChooseMaterial(concrete.get()), 1);
    EXPECT_EQ(project.Materials().Name(1), ok ? "Бетон В30" : "Бетон В25");
    EXPECT_EQ(concrete->E, ok ? 3.3e6L : 3e6L);
    EXPECT_EQ(project.Materials().Material(1), concrete);
  }
}

TEST_F(ChooserTest, MaterialInUseIsRefusedAndStays) {
  const TPhisicalElement edited(wood);  // the layer of an open layer dialog
  holders.Layers.push_back(&edited);
  chooser.SetContext(ListContext(project.Materials(), holders));
  DialogScript script;
  script.Dialogs.push_back(As<TMaterialForm>([&](TMaterialForm& f) {
    f.ListBox_Materials->setCurrentRow(0);
    Click(f, f.Btn_Delete);
    f.ListBox_Materials->setCurrentRow(2);
    Click(f, f.Btn_Delete);
    EXPECT_EQ(Items(f.ListBox_Materials), (QStringList{"Сталь С300", "Бетон В25", "Дерево"}));
    const QString inUse = "Материал используется элементами!\nИзмените свойства элементов, затем\nудаляйте материал";
    EXPECT_EQ(Texts(script), (std::vector<QString>{"Удалить материал: Сталь С300?", inUse,
                                                   "Удалить материал: Дерево?", inUse}));
    EXPECT_EQ(script.Boxes[1].Title, "Ошибка");
    EXPECT_EQ(script.Boxes[1].Icon, QMessageBox::Critical);
    return Click(f, f.Btn_OK);
  }));
  EXPECT_EQ(project.Materials().ChooseMaterial(steel.get()), 2);
  EXPECT_EQ(project.Materials().Count(), 3);
}

TEST_F(ChooserTest, EmptyNameIsRefusedInsideTheNewMaterialDialog) {
  DialogScript script;
  script.Dialogs.push_back(As<TMaterialForm>([](TMaterialForm& f) {
    Click(f, f.Btn_New);
    EXPECT_EQ(f.ListBox_Materials->count(), 3);
    return Click(f, f.Btn_Cancel);
  }));
  script.Dialogs.push_back(As<TPhisPropForm>([&](TPhisPropForm& f) {
    Click(f, f.Btn_OK);
    EXPECT_EQ(Texts(script), (std::vector<QString>{"Название материала должно быть задано!"}));
    EXPECT_EQ(script.Boxes[0].Icon, QMessageBox::NoIcon);
    EXPECT_NE(f.result(), QDialog::Accepted);
    return Click(f, f.Btn_Cancel);
  }));
  project.Materials().ChooseMaterial(steel.get());
  EXPECT_TRUE(script.Dialogs.empty());
}

TEST_F(ChooserTest, DeletingTheLastMaterialDisablesDelete) {
  DialogScript script;
  script.Dialogs.push_back(As<TMaterialForm>([](TMaterialForm& f) {
    f.ListBox_Materials->setCurrentRow(0);
    Click(f, f.Btn_Delete);
    EXPECT_TRUE(f.Btn_Delete->isEnabled());
    Click(f, f.Btn_Delete);
    EXPECT_EQ(f.ListBox_Materials->count(), 0);
    EXPECT_FALSE(f.Btn_Delete->isEnabled());
    Click(f, f.Btn_New);
    EXPECT_EQ(Items(f.ListBox_Materials), QStringList{"Медь"});
    EXPECT_FALSE(f.Btn_Delete->isEnabled());
    return Click(f, f.Btn_OK);
  }));
  script.Dialogs.push_back(Fill("Медь", "1e6"));
  std::vector<MaterialEntry> two{project.Materials().Entries()[1], project.Materials().Entries()[2]};
  EXPECT_EQ(chooser.ChooseMaterial(two, 0), -1);
  ASSERT_EQ(two.size(), 1u);
  EXPECT_EQ(two[0].Name, "Медь");
}

TEST_F(ChooserTest, FileReaderChooserPicksFromTheEditedList) {
  DialogScript script;
  script.Dialogs.push_back(As<TMaterialForm>([](TMaterialForm& f) {
    EXPECT_EQ(f.ListBox_Materials->currentRow(), 0);
    Click(f, f.Btn_New);
    f.ListBox_Materials->setCurrentRow(3);
    return Click(f, f.Btn_OK);
  }));
  script.Dialogs.push_back(Fill("Медь", "1e6"));
  const std::shared_ptr<TPhisPropRodNL> chosen = project.Materials().MaterialByIndex(7);
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->E, 1e6L);
  EXPECT_EQ(project.Materials().IndexOfMaterial(chosen.get()), 3);
}

TEST_F(ChooserTest, EditorMaterialOperationsRunTheRealDialog) {
  // The model's own operations, with the real dialog where tests plug the fake.
  DialogScript script;
  script.Dialogs.push_back(Fill("Медь", "1.2e6"));
  const std::shared_ptr<TPhisPropRodNL> copper = NewMaterial(project.Materials(), dialogs, messages);
  ASSERT_NE(copper, nullptr);
  EXPECT_EQ(copper->E, 1.2e6L);
  EXPECT_EQ(project.Materials().Name(3), "Медь");
  // A name a project file cannot store is refused in the dialog itself; the user
  // then cancels.
  script.Dialogs.push_back(As<TPhisPropForm>([&](TPhisPropForm& f) {
    EXPECT_EQ(f.LblEdit_Title->text(), "Дерево");
    f.LblEdit_Title->setText("Дерево ✓");
    Click(f, f.Btn_OK);
    EXPECT_EQ(Texts(script), (std::vector<QString>{QString::fromUtf8(kMaterialNameNotStorableText)}));
    return Click(f, f.Btn_Cancel);
  }));
  EXPECT_EQ(EditMaterial(project.Materials(), wood.get(), dialogs, messages), MaterialOutcome::Cancelled);
  EXPECT_EQ(project.Materials().Name(2), "Дерево");
}

TEST(AnalysisChooser, OnlyPicks) {
  QtMessageService messages;
  TMaterials materials(DefaultModelFactory());
  materials.AddMaterial("Сталь С300");
  materials.AddMaterial("Бетон В25");
  const MaterialHolders none;
  MaterialChooser chooser(messages, ListContext(materials, none), nullptr);
  materials.SetUi(&chooser);
  DialogScript script;
  script.Dialogs.push_back(As<TMaterialForm>([](TMaterialForm& f) {
    for (const char* name : {"Btn_New", "Btn_Edit", "Btn_Delete"})
      EXPECT_FALSE(Find<QPushButton>(f, name)->isEnabled()) << name;
    EXPECT_TRUE(f.Btn_OK->isEnabled());
    f.ListBox_Materials->setCurrentRow(1);
    return Click(f, f.Btn_OK);
  }));
  EXPECT_EQ(materials.MaterialByIndex(5), materials.Material(1));
  EXPECT_EQ(materials.Count(), 2);
}

}  // namespace
}  // namespace tavir
