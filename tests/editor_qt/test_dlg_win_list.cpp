#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTest>

#include "editor/qt/dlg_win_list.h"
#include "editor_qt/edit_fixture.h"
#include "platform/numtext.h"
#include "platform_qt/dialog_script.h"
#include "shared_dialogs/dialog_test_support.h"

namespace tavir {
namespace {

using testing::Find;

std::vector<WindowBox> ThreeWindows() {
  return {{FloatPoint3D(0, 0, 0), FloatPoint3D(10, 10, 3)},
          {FloatPoint3D(-5, 1.5L, 0), FloatPoint3D(5, 2.5L, 0)},
          {FloatPoint3D(0, 0, -1), FloatPoint3D(123456789012.0L, 1, 1)}};
}

TEST(WinListDialog, ListsTheWindowsAndShowsTheBoxOfTheSelectedOne) {
  SetDecimalSeparator('.');
  TWinListDlg dlg(ThreeWindows());
  dlg.show();
  EXPECT_EQ(dlg.windowTitle(), "Список окон");
  QListWidget* list = Find<QListWidget>(dlg, "WinListBox");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), "Главное окно");
  EXPECT_EQ(list->item(1)->text(), "Окно №1");
  EXPECT_EQ(list->item(2)->text(), "Окно №2");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(Find<QLabel>(dlg, "Lbl_WinZmax")->text(), "3");
  EXPECT_EQ(Find<QLabel>(dlg, "Lbl_Xmin")->text(), "Xmin=");
  list->setCurrentRow(1);
  EXPECT_EQ(Find<QLabel>(dlg, "Lbl_WinXmin")->text(), "-5");
  EXPECT_EQ(Find<QLabel>(dlg, "Lbl_WinYmax")->text(), "2.5");
  list->setCurrentRow(2);
  EXPECT_EQ(Find<QLabel>(dlg, "Lbl_WinXmax")->text(), "1.23456789E0011");
  testing::Grab(dlg, "dlg_win_list");
  QSplitter* splitter = Find<QSplitter>(dlg, "Splitter");
  EXPECT_FALSE(splitter->childrenCollapsible());
  splitter->setSizes({0, 1000});
  EXPECT_GT(splitter->sizes()[0], 0);
  splitter->setSizes({1000, 0});
  EXPECT_GT(splitter->sizes()[1], 150);
}

TEST(WinListDialog, ChoosingHappensAfterTheDialogReturns) {
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QListWidget*>("WinListBox")->setCurrentRow(2);
    d.findChild<QPushButton*>("CancelBtn")->click();
    return d.result();
  });
  EXPECT_EQ(RunWinListDialog(ThreeWindows()), std::nullopt);
  script.Dialogs.push_back([](QDialog& d) {
    auto* list = d.findChild<QListWidget*>("WinListBox");
    list->setCurrentRow(2);
    emit list->itemDoubleClicked(list->item(2));
    return d.result();
  });
  EXPECT_EQ(RunWinListDialog(ThreeWindows()), 2);
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QListWidget*>("WinListBox")->setCurrentRow(1);
    d.findChild<QPushButton*>("OKBtn")->click();
    return d.result();
  });
  EXPECT_EQ(RunWinListDialog(ThreeWindows()), 1);
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QPushButton*>("OKBtn")->click();
    return d.result();
  });
  EXPECT_EQ(RunWinListDialog({}), std::nullopt);
}

// Through the editor: the list is the way back to a window whose desk was closed.
class WinListInTheEditorTest : public test::EditorFixture {};

TEST_F(WinListInTheEditorTest, DoubleClickOnAHiddenWindowShowsItAndClosesTheList) {
  MeshedPlate();
  Run("acWinNew");
  Drag(0, 0, 3, 2);
  ASSERT_EQ(Commands().Windows().Count(), 2);
  Desk(1)->close();  // closing a desk only hides it
  Run("acWinMain");
  ASSERT_EQ(Supervisor().CurrentWindow, 0);
  ASSERT_FALSE(Desk(1)->isVisible());
  // Cancel changes nothing.
  DialogScript script;
  script.Dialogs.push_back([](QDialog& d) {
    d.findChild<QListWidget*>("WinListBox")->setCurrentRow(1);
    d.findChild<QPushButton*>("CancelBtn")->click();
    return d.result();
  });
  Run("acWinList");
  EXPECT_EQ(Supervisor().CurrentWindow, 0);
  EXPECT_FALSE(Desk(1)->isVisible());
  bool closed = false;
  script.Dialogs.push_back([&closed](QDialog& d) {
    auto* list = d.findChild<QListWidget*>("WinListBox");
    list->setCurrentRow(1);
    emit list->itemDoubleClicked(list->item(1));
    closed = !d.isVisible() || d.result() == QDialog::Accepted;
    return d.result();
  });
  Run("acWinList");
  EXPECT_TRUE(closed);
  EXPECT_EQ(Supervisor().CurrentWindow, 1);
  EXPECT_TRUE(Desk(1)->isVisible());
}

}  // namespace
}  // namespace tavir
