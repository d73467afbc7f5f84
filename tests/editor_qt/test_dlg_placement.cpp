// Where the editor's dialogs open: centred on the screen, never over the strip of
// tool bars that owns them, the title bar in sight; and the two small forms, the
// unit input dialog and the About box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

#include "editor/qt/dlg_param.h"
#include "editor/qt/dlg_support.h"
#include "editor/qt/edit_desk_form.h"
#include "editor_qt/edit_fixture.h"
#include "platform/qt/window_place.h"

namespace tavir::test {
namespace {

class PlacementTest : public EditorFixture {
 protected:
  // Centred on the screen's work area (to the few pixels a layout may still
  // settle by when shown), the frame inside it.
  static void ExpectCentredOnScreen(const QWidget& w, const QString& what) {
    SCOPED_TRACE(what.toStdString());
    const QRect area = WorkArea(w);
    ASSERT_FALSE(area.isEmpty());
    const QRect frame = w.frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - area.center().x()), 3) << frame.x() << "," << frame.y();
    EXPECT_LE(std::abs(frame.center().y() - area.center().y()), 3) << frame.x() << "," << frame.y();
    EXPECT_GE(frame.top(), area.top());
    EXPECT_GE(frame.left(), area.left());
  }
};

TEST_F(PlacementTest, ModalDialogsOpenCentredOnTheScreenClearOfTheStrip) {
  // The strip of tool bars along the top of the screen owns them all.
  ASSERT_TRUE(Main().isVisible());
  ASSERT_LT(Main().frameGeometry().height(), WorkArea(Main()).height() / 2);
  {
    DialogScript script;
    script.Answers.push_back(QMessageBox::Ok);
    script.Dialogs.push_back([this](QDialog& d) {
      EXPECT_EQ(d.objectName(), "NewTaskDlg");
      ExpectCentredOnScreen(d, "Новая задача");
      d.reject();
      return d.result();
    });
    Run("acFileNew");
    EXPECT_TRUE(script.Dialogs.empty());
  }
  NewTask(6, 4);
  struct Case {
    const char* action;
    const char* form;
  };
  for (const Case& c : {Case{"acFormatCharacteristic", "MaterialForm"}, Case{"acRests_ChoiceRest", "SuppForm"},
                        Case{"acServiceParam", "ParamForm"}, Case{"acHelpAbout", "AboutBox"}}) {
    DialogScript script;
    script.Dialogs.push_back([this, &c](QDialog& d) {
      EXPECT_EQ(d.objectName(), c.form);
      ExpectCentredOnScreen(d, QString::fromLatin1(c.form));
      d.reject();
      return d.result();
    });
    Run(c.action);
    EXPECT_TRUE(script.Dialogs.empty()) << c.action;
  }
}

// The one modeless dialog: shown by the load modes, not through a modal loop.
TEST_F(PlacementTest, TheLoadDialogOpensCentredOnTheScreen) {
  NewTask(6, 4);
  Run("acForceConcentrate");
  TForcesForm* form = Dm().ForcesForm();
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(form->isVisible());
  QApplication::processEvents();
  ExpectCentredOnScreen(*form, "Нагрузка");
}

// Параметры › Единицы › Добавить: Russian buttons and a window wide enough for the
// whole title beside the title bar's icon and buttons.
TEST_F(PlacementTest, TheUnitInputDialogAddsAUnitUnderItsWholeTitle) {
  DialogScript script;
  QStringList units;
  int unitDialogs = 0;
  const auto addUnit = [&](QDialog& params, const char* item, const QString& typed, bool ok) {
    script.Dialogs.push_front([&, typed, ok](QDialog& d) {
      ++unitDialogs;
      auto& dlg = static_cast<TAddStringDLG&>(d);
      EXPECT_EQ(dlg.objectName(), "AddStringDLG");
      const QString title = QStringLiteral("Введите новую единицу измерения:");
      EXPECT_EQ(dlg.windowTitle(), title);
      EXPECT_EQ(dlg.Label1->text(), title);
      EXPECT_EQ(dlg.OKBtn->text(), "ОК");
      EXPECT_EQ(dlg.CancelBtn->text(), "Отменить");
      QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
      titleFont.setBold(true);
      const int bar = dlg.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &dlg);
      EXPECT_GE(dlg.width(), QFontMetrics(titleFont).horizontalAdvance(title) + 3 * bar);
      EXPECT_GE(dlg.Label1->width(), dlg.Label1->fontMetrics().horizontalAdvance(title));
      ExpectCentredOnScreen(dlg, "AddStringDLG");
      dlg.Edit1->setText(typed);
      (ok ? dlg.OKBtn : dlg.CancelBtn)->click();
      return dlg.result();
    });
    params.findChild<QAction*>(QString::fromLatin1(item))->trigger();
  };
  script.Dialogs.push_back([&](QDialog& d) {
    auto* sizes = d.findChild<QComboBox*>("CBox_SizeUnits");
    auto* forces = d.findChild<QComboBox*>("CBox_ForceUnits");
    const int sizesBefore = sizes->count();
    const int forcesBefore = forces->count();
    addUnit(d, "miNewUnit", QStringLiteral("дм"), true);
    addUnit(d, "miNewForceUnit", QStringLiteral("МН"), false);
    EXPECT_EQ(sizes->count(), sizesBefore + 1);
    EXPECT_EQ(sizes->currentText(), "дм");
    EXPECT_EQ(forces->count(), forcesBefore);
    for (int i = 0; i < sizes->count(); ++i) units.push_back(sizes->itemText(i));
    d.reject();
    return d.result();
  });
  Run("acServiceParam");
  EXPECT_EQ(unitDialogs, 2);
  EXPECT_TRUE(units.contains("дм"));
  EXPECT_TRUE(script.Dialogs.empty());
}

TEST_F(PlacementTest, TheAboutBoxNamesTheProgramAndClosesWithItsButton) {
  DialogScript script;
  script.Dialogs.push_back([this](QDialog& d) {
    EXPECT_EQ(d.objectName(), "AboutBox");
    ExpectCentredOnScreen(d, "AboutBox");
    EXPECT_EQ(d.windowTitle(), "О программе \"Тавир\"");
    auto* product = d.findChild<QLabel*>("ProductName");
    auto* ok = d.findChild<QPushButton*>("OKButton");
    EXPECT_NE(product, nullptr);
    EXPECT_NE(ok, nullptr);
    if (product == nullptr || ok == nullptr) return d.result();
    EXPECT_EQ(product->text(), "Программный комплекс \"Тавир\"");
    EXPECT_EQ(ok->text(), "ОК");
    EXPECT_TRUE(ok->isDefault());
    ok->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    return d.result();
  });
  Run("acHelpAbout");
  EXPECT_TRUE(script.Dialogs.empty());
  ASSERT_EQ(script.Seen.size(), 1u);
}

}  // namespace
}  // namespace tavir::test
