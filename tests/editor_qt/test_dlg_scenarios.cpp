// The dialogs in the editor as its entry builds it, with the real model dialogs:
// each scenario ends with a saved file that reopens to the same bytes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>

#include "platform/qt/float_edit.h"
#include "platform/qt/radio_group.h"
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>

#include "editor/qt/dlg_element.h"
#include "editor/qt/dlg_shell.h"
#include "editor_qt/edit_fixture.h"
#include "shared_dialogs/dialog_test_support.h"
#include "model/shell_surfaces.h"
#include "platform/numtext.h"

namespace tavir::test {
namespace {

class RealDialogsTest : public EditorFixture {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    program = std::make_unique<TEditorProgram>();  // the editor's own model dialogs
    exits = 0;
    program->Commands().ExitProgram = [this] { ++exits; };
    program->Show();
  }

  // A new 4 x 4 task with one plate element at the origin, selected.
  TMLEditorElement* OneSelectedElement() {
    NewTask(4, 4);
    Run("acPlaneRectangle");
    Run("acModeNet");
    Click(0.5, 0.5);
    Run("acModeEdit");
    Click(0.5, 0.5);
    const std::vector<TMLEditorElement*> picked = Project().Elements().Selection();
    EXPECT_EQ(Project().Elements().Count(), 1);
    return picked.size() == 1 ? picked.front() : nullptr;
  }

  // A file command ("acFileSaveAs", "acFileOpen") with its file dialog answered.
  void FileCommand(const char* action, const std::string& path) {
    DialogScript script;
    script.Dialogs.push_back(FileAnswer(path));
    Run(action);
  }

  // Saves under a name, opens it again, saves under another: the same bytes.
  void SaveReopenSave(const std::string& name) {
    const std::filesystem::path dir = TempDir(name);
    const std::string first = (dir / "a.tps").string();
    const std::string second = (dir / "b.tps").string();
    FileCommand("acFileSaveAs", first);
    FileCommand("acFileOpen", first);
    FileCommand("acFileSaveAs", second);
    ASSERT_TRUE(std::filesystem::exists(second));
    EXPECT_EQ(FileBytes(first), FileBytes(second));
  }

  // A surface framed from (x1, y1) to (x2, y2) through the kind and data dialogs.
  void FrameParaboloid(double x1, double y1, double x2, double y2) {
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      EXPECT_EQ(d.objectName(), "SurfaceShellForm");
      d.findChild<QListWidget*>("ListBox_Funcs")->setCurrentRow(0);
      d.findChild<QPushButton*>("OK_Btn")->click();
      return d.result();
    });
    script.Dialogs.push_back([](QDialog& d) {
      auto& data = static_cast<TShellDataForm&>(d);
      EXPECT_EQ(data.ParamEdits.size(), 4u);
      data.findChild<QPushButton*>("Btn_OK")->click();
      return d.result();
    });
    Run("acEditor_SetSurface");
    Drag(x1, y1, x2, y2);
  }
};

TEST_F(RealDialogsTest, SurfacesListEditAndDeleteAtOnce) {
  NewTask(12, 10);
  FrameParaboloid(0, 0, 6, 4);
  FrameParaboloid(6, 4, 12, 10);
  TShellFunctions& shells = Project().ShellFuncs();
  ASSERT_EQ(shells.Count(), 2);
  const TEditorShellEP* ep = TShellFunctions::AsParaboloid(shells.At(0));
  ASSERT_NE(ep, nullptr);
  EXPECT_EQ(ep->GetA(), 6);
  EXPECT_EQ(ep->GetB(), 4);
  EXPECT_EQ(ep->GetF1(), 0.2L);
  EXPECT_EQ(ep->GetF2(), 0.2L);

  DialogScript script;
  script.Dialogs.push_back([&script](QDialog& d) {
    EXPECT_EQ(d.objectName(), "ShellsFuncsForm");
    auto* grid = d.findChild<QTableWidget*>("StrGrid_ShellsFuncs");
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 4)->text(), "6");
    grid->selectRow(0);
    script.Dialogs.push_front([](QDialog& data) {
      auto& form = static_cast<TShellDataForm&>(data);
      form.ParamEdits[2]->setText("0.3");
      form.findChild<QPushButton*>("Btn_OK")->click();
      return data.result();
    });
    d.findChild<QPushButton*>("Btn_Edit")->click();
    grid->selectRow(1);
    d.findChild<QPushButton*>("Btn_Delete")->click();  // deleted without a question
    EXPECT_EQ(grid->rowCount(), 1);
    d.findChild<QPushButton*>("Btn_Close")->click();
    return d.result();
  });
  Run("AcFormat_Shells");
  EXPECT_TRUE(script.Boxes.empty());
  ASSERT_EQ(shells.Count(), 1);
  ep = TShellFunctions::AsParaboloid(shells.At(0));
  EXPECT_EQ(ep->GetF1(), 0.3L);
  EXPECT_NEAR(static_cast<double>(ep->Kx), 8 * 0.3 / 36, 1e-15);
  SaveReopenSave("surfaces");
  EXPECT_EQ(Project().ShellFuncs().Count(), 1);
}

TEST_F(RealDialogsTest, MeshSupportsLoadsAndLayersThroughTheRealDialogs) {
  NewTask(6, 4);
  Run("acPlaneRectangle");
  Run("acModeFrame");
  {
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      EXPECT_EQ(d.objectName(), "DivideForm");
      d.findChild<TFloatEdit*>("FloatEdit_StepX")->setText("1");
      d.findChild<TFloatEdit*>("FloatEdit_StepY")->setText("1");
      d.findChild<QPushButton*>("Btn_ByStep")->click();
      d.findChild<QPushButton*>("Button1")->click();
      return d.result();
    });
    Drag(0, 0, 6, 4);
  }
  ASSERT_EQ(Project().Elements().Count(), 24);

  // The support chosen in its dialog, then placed along the left edge.
  {
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      for (const char* name : {"ChBox_X", "ChBox_Y", "ChBox_Z"}) d.findChild<QCheckBox*>(name)->setChecked(true);
      d.findChild<QPushButton*>("Btn_OK")->click();
      return d.result();
    });
    Run("acRests_ChoiceRest");
  }
  EXPECT_EQ(Supervisor().DefFixation, (TFixation{1, 1, 1, 0, 0, 0}));
  Run("acInput_Rest");
  for (int y = 0; y <= 4; ++y) Click(0, y);
  EXPECT_EQ(Project().Supports().Count(), 5);

  // Both load modes through the one modeless dialog.
  Run("acForceConcentrate");
  TForcesForm* form = Dm().ForcesForm();
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(form->isModal());
  Click(6, 4);
  form->Edits[2]->SetValue(-500);
  form->Btn_Apply->click();
  EXPECT_EQ(Project().ConcForces().Count(), 1);
  Run("acForceDispersion");
  form = Dm().ForcesForm();
  ASSERT_NE(form, nullptr);
  Click(5.5, 3.5);
  EXPECT_TRUE(form->Btn_Apply->isEnabled());
  form->Edits[2]->SetValue(-2);
  form->Btn_OK->click();
  EXPECT_EQ(Project().DispForces().Count(), 1);
  EXPECT_FALSE(form->isVisible());
  Run("acModeEdit");

  // A layer edited in the element dialog: Cancel keeps it, OK takes it.
  Click(0.5, 0.5);
  ASSERT_EQ(Project().Elements().Selection().size(), 1u);
  TMLEditorElement* element = Project().Elements().Selection().front();
  const Extended before = element->Layers.Layer(0)->Thickness;
  for (const bool ok : {false, true}) {
    DialogScript script;
    script.Dialogs.push_back([&script, ok](QDialog& d) {
      EXPECT_EQ(d.objectName(), "MLElemForm");
      d.findChild<QTableWidget*>("StrGrid_Layers")->selectRow(0);
      script.Dialogs.push_front([](QDialog& layer) {
        layer.findChild<TFloatEdit*>("FloatEdit_T")->setText("0.12");
        layer.findChild<QPushButton*>("Btn_OK")->click();
        return layer.result();
      });
      d.findChild<QPushButton*>("Btn_EditLayer")->click();
      d.findChild<QPushButton*>(ok ? "Btn_OK" : "Btn_Cancel")->click();
      return d.result();
    });
    Run("acFormatElement");
    EXPECT_EQ(element->Layers.Layer(0)->Thickness, ok ? 0.12L : before);
  }
  SaveReopenSave("loads");
  EXPECT_EQ(Project().Supports().Count(), 5);
  EXPECT_EQ(Project().ConcForces().Count(), 1);
  EXPECT_EQ(Project().DispForces().Count(), 1);
}


TEST_F(RealDialogsTest, AMaterialMadeFromTheLayerDialog) {
  TMLEditorElement* element = OneSelectedElement();
  ASSERT_NE(element, nullptr);
  const std::int32_t materialsBefore = Project().Materials().Count();
  DialogScript script;
  // Element dialog -> new layer -> material chooser -> new material.
  script.Dialogs.push_back([&script](QDialog& d) {
    EXPECT_EQ(d.objectName(), "MLElemForm");
    script.Dialogs.push_front([&script](QDialog& layer) {
      EXPECT_EQ(layer.objectName(), "LayerForm");
      layer.findChild<QLineEdit*>("LblEdit_LayerTitle")->setText(QStringLiteral("Бетон сверху"));
      layer.findChild<TFloatEdit*>("FloatEdit_T")->setText("0.08");
      script.Dialogs.push_front([&script](QDialog& chooser) {
        EXPECT_EQ(chooser.objectName(), "MaterialForm");
        script.Dialogs.push_front([](QDialog& props) {
          EXPECT_EQ(props.objectName(), "PhisPropForm");
          props.findChild<QLineEdit*>("LblEdit_Title")->setText(QStringLiteral("Бетон В30"));
          props.findChild<TFloatEdit*>("FloatEdit_E")->setText("3.25e6");
          props.findChild<QPushButton*>("Btn_OK")->click();
          return props.result();
        });
        chooser.findChild<QPushButton*>("Btn_New")->click();
        auto* list = chooser.findChild<QListWidget*>("ListBox_Materials");
        EXPECT_EQ(list->item(list->count() - 1)->text(), "Бетон В30");
        list->setCurrentRow(list->count() - 1);
        chooser.findChild<QPushButton*>("Btn_OK")->click();
        return chooser.result();
      });
      layer.findChild<QPushButton*>("Btn_Material")->click();
      EXPECT_EQ(layer.findChild<QLabel*>("Lbl_TiltleMaterial")->text(), "Бетон В30");
      layer.findChild<QPushButton*>("Btn_OK")->click();
      return layer.result();
    });
    d.findChild<QPushButton*>("Btn_NewLayer")->click();
    auto* grid = d.findChild<QTableWidget*>("StrGrid_Layers");
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 5)->text(), "Бетон В30");
    d.findChild<QPushButton*>("Btn_OK")->click();
    return d.result();
  });
  Run("acFormatElement");
  EXPECT_TRUE(script.Dialogs.empty());
  ASSERT_EQ(Project().Materials().Count(), materialsBefore + 1);
  ASSERT_EQ(element->Layers.Count(), 2);
  EXPECT_EQ(element->Layers.LayerName(1), "Бетон сверху");
  EXPECT_EQ(element->Layers.Layer(1)->Thickness, 0.08L);
  EXPECT_EQ(Project().Materials().MaterialName(element->Layers.LayerMaterial(1).get()), "Бетон В30");
  SaveReopenSave("materials");
  EXPECT_EQ(Project().Materials().Count(), materialsBefore + 1);
}

// A material only a layer of the open element dialog uses stays while the dialog
// is open; once the dialog is gone nobody uses it and it can be deleted.
TEST_F(RealDialogsTest, AMaterialOfTheOpenElementDialogCannotBeDeleted) {
  TMLEditorElement* element = OneSelectedElement();
  ASSERT_NE(element, nullptr);
  const std::int32_t layersBefore = element->Layers.Count();
  const std::int32_t materialsBefore = Project().Materials().Count();
  const auto rowOf = [](QDialog& chooser, const QString& name) {
    auto* list = chooser.findChild<QListWidget*>("ListBox_Materials");
    list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
    return list;
  };
  DialogScript script;
  QStringList namesAfterRefusal;
  script.Dialogs.push_back([&](QDialog& d) {
    // A new layer of the copy on a new material.
    script.Dialogs.push_front([&](QDialog& layer) {
      script.Dialogs.push_front([&](QDialog& chooser) {
        script.Dialogs.push_front([](QDialog& props) {
          props.findChild<QLineEdit*>("LblEdit_Title")->setText(QStringLiteral("Бетон В30"));
          props.findChild<QPushButton*>("Btn_OK")->click();
          return props.result();
        });
        chooser.findChild<QPushButton*>("Btn_New")->click();
        rowOf(chooser, QStringLiteral("Бетон В30"));
        chooser.findChild<QPushButton*>("Btn_OK")->click();
        return chooser.result();
      });
      layer.findChild<QPushButton*>("Btn_Material")->click();
      layer.findChild<QPushButton*>("Btn_OK")->click();
      return layer.result();
    });
    d.findChild<QPushButton*>("Btn_NewLayer")->click();
    // The first layer's chooser: the new material is in use by the copy.
    d.findChild<QTableWidget*>("StrGrid_Layers")->selectRow(0);
    script.Dialogs.push_front([&](QDialog& layer) {
      script.Dialogs.push_front([&](QDialog& chooser) {
        QListWidget* list = rowOf(chooser, QStringLiteral("Бетон В30"));
        chooser.findChild<QPushButton*>("Btn_Delete")->click();
        for (int i = 0; i < list->count(); ++i) namesAfterRefusal.push_back(list->item(i)->text());
        chooser.findChild<QPushButton*>("Btn_Cancel")->click();
        return chooser.result();
      });
      layer.findChild<QPushButton*>("Btn_Material")->click();
      layer.findChild<QPushButton*>("Btn_Cancel")->click();
      return layer.result();
    });
    d.findChild<QPushButton*>("Btn_EditLayer")->click();
    d.findChild<QPushButton*>("Btn_Cancel")->click();
    return d.result();
  });
  Run("acFormatElement");
  EXPECT_TRUE(script.Dialogs.empty());
  ASSERT_EQ(script.Boxes.size(), 2u);
  EXPECT_EQ(script.Boxes[0].Text, "Удалить материал: Бетон В30?");
  EXPECT_EQ(script.Boxes[1].Title, "Ошибка");
  EXPECT_EQ(script.Boxes[1].Icon, QMessageBox::Critical);
  EXPECT_EQ(script.Boxes[1].Text,
            "Материал используется элементами!\nИзмените свойства элементов, затем\nудаляйте материал");
  EXPECT_EQ(namesAfterRefusal.size(), materialsBefore + 1);
  EXPECT_TRUE(namesAfterRefusal.contains(QStringLiteral("Бетон В30")));
  // The element is as it was; the material made in the chooser stays in the list.
  EXPECT_EQ(element->Layers.Count(), layersBefore);
  ASSERT_EQ(Project().Materials().Count(), materialsBefore + 1);

  // With the dialog closed nobody uses it: the chooser deletes it.
  script.Boxes.clear();
  script.Dialogs.push_back([&](QDialog& chooser) {
    rowOf(chooser, QStringLiteral("Бетон В30"));
    chooser.findChild<QPushButton*>("Btn_Delete")->click();
    chooser.findChild<QPushButton*>("Btn_OK")->click();
    return chooser.result();
  });
  Run("acFormatCharacteristic");
  ASSERT_EQ(script.Boxes.size(), 1u);
  EXPECT_EQ(script.Boxes[0].Text, "Удалить материал: Бетон В30?");
  EXPECT_EQ(Project().Materials().Count(), materialsBefore);
}

// A shell over no surface: the curvatures typed in "Свойства элемента" are saved
// and come back when the file is opened (the save used to zero them).
TEST_F(RealDialogsTest, TypedCurvaturesOfAShellOverNoSurfaceSurviveTheSave) {
  TMLEditorElement* element = OneSelectedElement();
  ASSERT_NE(element, nullptr);
  ASSERT_EQ(element->ElemKind, ElementKind::Shell);
  ASSERT_EQ(Project().ShellFuncs().Count(), 0);
  {
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      testing::ShowActive(d);
      for (const auto& [name, text] : {std::pair{"FloatEdit_Kx", "0.05"}, std::pair{"FloatEdit_Ky", "0.02"},
                                       std::pair{"FloatEdit_Kxy", "0.01"}}) {
        auto* box = d.findChild<TFloatEdit*>(name);
        testing::Retype(box, QString::fromLatin1(text));
        QTest::keyClick(box, Qt::Key_Tab);
      }
      QTest::mouseClick(d.findChild<QPushButton*>("Btn_OK"), Qt::LeftButton);
      return d.result();
    });
    Run("acFormatElement");
    EXPECT_TRUE(script.Dialogs.empty());
  }
  const auto* shell = dynamic_cast<const TMLEditorShell*>(element);
  ASSERT_NE(shell, nullptr);
  ASSERT_EQ(shell->Kx, 0.05L);
  const std::filesystem::path dir = TempDir("typed_curvatures");
  const std::string file = (dir / "shell.tps").string();
  FileCommand("acFileSaveAs", file);
  FileCommand("acFileOpen", file);
  ASSERT_EQ(Project().Elements().Count(), 1);
  const auto* reopened = dynamic_cast<const TMLEditorShell*>(Project().Elements().Items().front().get());
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->Kx, 0.05L);
  EXPECT_EQ(reopened->Ky, 0.02L);
  EXPECT_EQ(reopened->Kxy, 0.01L);
}

// Looking at the list, making a material and deleting it again, then "Отменить":
// the project is saved to the very same bytes, the current material included.
TEST_F(RealDialogsTest, CancelInTheMaterialChooserLeavesTheSavedFileAsItWas) {
  NewTask(4, 4);
  const std::filesystem::path dir = TempDir("chooser_cancel");
  const std::string before = (dir / "before.tps").string();
  const std::string after = (dir / "after.tps").string();
  FileCommand("acFileSaveAs", before);
  const std::int32_t indexBefore = Supervisor().MaterialIndex;
  ASSERT_EQ(indexBefore, 0);
  {
    DialogScript script;
    script.Answers.push_back(QMessageBox::Ok);  // "Удалить материал: ...?"
    script.Dialogs.push_back([&script](QDialog& chooser) {
      script.Dialogs.push_front([](QDialog& props) {
        props.findChild<QLineEdit*>("LblEdit_Title")->setText(QStringLiteral("Временный"));
        props.findChild<QPushButton*>("Btn_OK")->click();
        return props.result();
      });
      chooser.findChild<QPushButton*>("Btn_New")->click();
      auto* list = chooser.findChild<QListWidget*>("ListBox_Materials");
      EXPECT_EQ(list->count(), 2);
      list->setCurrentRow(1);
      chooser.findChild<QPushButton*>("Btn_Delete")->click();
      EXPECT_EQ(list->count(), 1);
      chooser.findChild<QPushButton*>("Btn_Cancel")->click();
      return chooser.result();
    });
    Run("acFormatCharacteristic");
    EXPECT_TRUE(script.Dialogs.empty());
    ASSERT_EQ(script.Boxes.size(), 1u);
  }
  EXPECT_EQ(Supervisor().MaterialIndex, indexBefore);
  EXPECT_EQ(Project().Materials().Count(), 1);
  EXPECT_FALSE(Commands().ProjectChanged());
  FileCommand("acFileSaveAs", after);
  ASSERT_TRUE(std::filesystem::exists(after));
  EXPECT_EQ(FileBytes(before), FileBytes(after));
}

TEST_F(RealDialogsTest, ThePresetFollowsTheSettingsOkNeverACancelledDialog) {
  NewTask(4, 4);
  Run("AcUserNoviceSettings");
  const auto bars = [this] {
    std::vector<bool> v;
    for (int i = 0; i < kEditorBarCount; ++i) v.push_back(Commands().State().Bar(i).Visible);
    return v;
  };
  const std::vector<bool> novice = bars();
  const std::uint8_t kindBefore = Supervisor().Options.UserKind;
  ASSERT_NE(kindBefore, 2);
  {
    // Expert chosen, OK refused by a bad interval, then Cancel.
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      d.findChild<RadioGroup*>("RGroup_User")->SetItemIndex(2);
      d.findChild<QCheckBox*>("ChBox_AutoSave")->setChecked(true);
      d.findChild<QComboBox*>("CBox_Time")->setEditText("abc");
      d.setResult(-1);
      d.findChild<QPushButton*>("Btn_OK")->click();
      EXPECT_EQ(d.result(), -1);
      d.findChild<QPushButton*>("Btn_Cancel")->click();
      return d.result();
    });
    Run("acServiceParam");
  }
  EXPECT_EQ(bars(), novice);
  EXPECT_EQ(Supervisor().Options.UserKind, kindBefore);
  {
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      d.findChild<RadioGroup*>("RGroup_User")->SetItemIndex(2);
      d.findChild<QPushButton*>("Btn_OK")->click();
      return d.result();
    });
    Run("acServiceParam");
  }
  EXPECT_EQ(Supervisor().Options.UserKind, 2);
  EXPECT_NE(bars(), novice);
  Run("AcUserExpertSettings");
  const std::vector<bool> expert = bars();
  Run("AcUserNoviceSettings");
  {
    DialogScript script;
    script.Dialogs.push_back([](QDialog& d) {
      d.findChild<QPushButton*>("Btn_OK")->click();
      return d.result();
    });
    Run("acServiceParam");
  }
  EXPECT_EQ(bars(), expert);
}

}  // namespace
}  // namespace tavir::test
