#include <gtest/gtest.h>

#include <QColorDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "platform/qt/color_box.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/radio_group.h"
#include "platform/qt/up_down.h"

namespace tavir {
namespace {

TEST(RadioGroup, ItemIndexChoosesOneOrNone) {
  RadioGroup group("Проекция");
  group.setObjectName("RG_Projection");
  EXPECT_EQ(group.ItemIndex(), -1);
  group.SetItems({"XY", "XZ", "YZ"});
  EXPECT_EQ(group.title(), QString("Проекция"));
  EXPECT_EQ(group.Count(), 3);
  EXPECT_EQ(group.ItemIndex(), -1) << "new items: none chosen";
  EXPECT_EQ(group.Button(1)->objectName(), QString("RG_Projection_1"));

  QSignalSpy changes(&group, &RadioGroup::itemIndexChanged);
  group.SetItemIndex(2);
  EXPECT_EQ(group.ItemIndex(), 2);
  EXPECT_TRUE(group.Button(2)->isChecked());
  group.Button(0)->click();  // the user
  EXPECT_EQ(group.ItemIndex(), 0);
  EXPECT_FALSE(group.Button(2)->isChecked());
  group.SetItemIndex(-1);
  EXPECT_EQ(group.ItemIndex(), -1);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(group.Button(i)->isChecked()) << i;
  group.SetItemIndex(7);
  EXPECT_EQ(group.ItemIndex(), -1) << "out of range chooses none";
  ASSERT_EQ(changes.count(), 3);
  EXPECT_EQ(changes[0][0].toInt(), 2);
  EXPECT_EQ(changes[1][0].toInt(), 0);
  EXPECT_EQ(changes[2][0].toInt(), -1);

  group.SetItemIndex(1);
  group.SetItems({"a", "b"});
  EXPECT_EQ(group.ItemIndex(), -1);
  EXPECT_EQ(group.Items(), QStringList({"a", "b"}));
  group.SetColumns(2);
  EXPECT_EQ(group.Columns(), 2);
}

TEST(UpDown, StepsWithinItsBoundsAndWritesTheAssociatedBox) {
  QLineEdit edit;
  UpDown updown;
  updown.SetRange(1, 5);
  updown.SetAssociate(&edit);
  EXPECT_EQ(edit.text(), QString("1")) << "the position, kept within the bounds";
  updown.StepUp();
  EXPECT_EQ(updown.Position(), 2);
  EXPECT_EQ(edit.text(), QString("2"));
  updown.UpButton()->click();
  EXPECT_EQ(edit.text(), QString("3"));
  // The box's own number is where stepping starts.
  edit.setText("5");
  EXPECT_EQ(updown.Position(), 5);
  updown.StepUp();
  EXPECT_EQ(edit.text(), QString("5")) << "no step past the maximum";
  updown.DownButton()->click();
  EXPECT_EQ(edit.text(), QString("4"));
  // Text that is not a number: the last position counts.
  edit.setText("x");
  EXPECT_EQ(updown.Position(), 4);
  updown.StepDown();
  EXPECT_EQ(edit.text(), QString("3"));
  edit.setText("99");
  EXPECT_EQ(updown.Position(), 5) << "within the bounds";
  updown.SetPosition(-3);
  EXPECT_EQ(updown.Position(), 1);
  EXPECT_EQ(edit.text(), QString("1"));
  // Arrow keys in the box.
  QTest::keyClick(&edit, Qt::Key_Up);
  EXPECT_EQ(edit.text(), QString("2"));
  QTest::keyClick(&edit, Qt::Key_Down);
  QTest::keyClick(&edit, Qt::Key_Down);
  EXPECT_EQ(edit.text(), QString("1"));
  // Wrapping and larger increments.
  updown.SetWrap(true);
  updown.StepDown();
  EXPECT_EQ(updown.Position(), 5);
  updown.SetWrap(false);
  updown.SetRange(0, 100);
  updown.SetIncrement(10);
  updown.SetPosition(95);
  updown.StepUp();
  EXPECT_EQ(updown.Position(), 100);
}

TEST(ColorBox, ShowsAColourAndPicksAnother) {
  ColorBox box;
  box.SetColor(0x00FF00);
  EXPECT_EQ(box.Color(), 0x00FF00u);
  QSignalSpy changes(&box, &ColorBox::colorChanged);
  {
    ScopedDialogInterceptor pick([](QDialog& d) {
      auto* dialog = qobject_cast<QColorDialog*>(&d);
      if (dialog == nullptr) return 0;
      dialog->setCurrentColor(QColor(255, 0, 0));
      dialog->accept();
      return dialog->result();
    });
    box.click();
    EXPECT_EQ(pick.Count(), 1);
  }
  EXPECT_EQ(box.Color(), 0x0000FFu) << "red is $0000FF";
  EXPECT_EQ(changes.count(), 1);
  {
    ScopedDialogInterceptor cancel([](QDialog& d) {
      d.reject();
      return d.result();
    });
    EXPECT_FALSE(box.Pick());
  }
  EXPECT_EQ(box.Color(), 0x0000FFu) << "cancel keeps the colour";
  EXPECT_EQ(changes.count(), 1);
  // The colour is what the box paints.
  box.resize(40, 21);
  const QImage shot = box.grab().toImage();
  EXPECT_EQ(shot.pixelColor(20, 10), QColor(255, 0, 0));
}

}  // namespace
}  // namespace tavir
