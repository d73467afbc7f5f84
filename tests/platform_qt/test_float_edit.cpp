#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <vector>

#include "platform/numtext.h"
#include "platform/qt/float_edit.h"
#include "platform/qt/locale_setup.h"

namespace tavir {
namespace {

// A window with two boxes that really has the focus, so leaving one for the other
// goes through the focus events as a Tab would.
class FloatEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    auto* layout = new QVBoxLayout(&window);
    // Takes the focus when the window comes up, so each test enters the boxes itself.
    auto* start = new QLineEdit(&window);
    layout->addWidget(start);
    first = new TFloatEdit(&window);
    second = new TFloatEdit(&window);
    first->setObjectName("Edit_First");
    second->setObjectName("Edit_Second");
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    start->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(start->hasFocus());
  }
  void TearDown() override { SetDecimalSeparator('.'); }

  void Focus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(w->hasFocus());
  }
  static void Send(QWidget* w, QEvent::Type type, Qt::FocusReason reason) {
    QFocusEvent e(type, reason);
    QApplication::sendEvent(w, &e);
  }

  QWidget window;
  TFloatEdit* first = nullptr;
  TFloatEdit* second = nullptr;
};

TEST_F(FloatEditTest, ValueIsTheTextAsANumberOrZero) {
  EXPECT_EQ(first->text(), QString("0")) << "a new box shows 0";
  const std::vector<std::pair<const char*, Extended>> cases = {
      {"2.5", 2.5L},   {"2,5", 2.5L}, {"-1E3", -1000.0L}, {" 7 ", 7.0L}, {"1e-2", 0.01L},
      {"abc", 0.0L},   {"", 0.0L},    {"2.5x", 0.0L},     {"1,2.3", 0.0L}, {"nan", 0.0L},
  };
  for (const auto& [text, value] : cases) {
    first->setText(QString::fromUtf8(text));
    EXPECT_EQ(first->Value(), value) << text;
  }
  first->SetValue(0.1L);
  EXPECT_EQ(first->text(), QString("0.1"));
  first->SetValue(1e20L);
  EXPECT_EQ(first->text(), QString("1E20"));
}

TEST_F(FloatEditTest, NumbersShowTheLocaleSeparatorAndInputTakesBoth) {
  ApplyLocaleDecimalSeparator(QLocale(QLocale::Russian, QLocale::Russia));
  EXPECT_EQ(DecimalSeparator(), ',');
  first->SetValue(2.5L);
  EXPECT_EQ(first->text(), QString("2,5"));
  EXPECT_EQ(first->Value(), 2.5L);
  first->setText("3.25");
  EXPECT_EQ(first->Value(), 3.25L) << "the other separator is a number too";
  Focus(first);
  Focus(second);
  EXPECT_EQ(first->text(), QString("3.25")) << "a number is not reformatted on leaving";

  ApplyLocaleDecimalSeparator(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(DecimalSeparator(), '.');
  EXPECT_EQ(DecimalSeparatorOf(QLocale(QLocale::German, QLocale::Germany)), ',');
  EXPECT_EQ(DecimalSeparatorOf(QLocale::c()), '.');
  ApplyLocaleDecimalSeparator();  // the start-up call: the user's own locale
  EXPECT_EQ(DecimalSeparator(), DecimalSeparatorOf(QLocale::system()));
}

TEST_F(FloatEditTest, LeavingWithTextThatIsNotANumberPutsBackTheEnteredNumber) {
  first->SetValue(2.5L);
  Focus(first);
  EXPECT_EQ(first->EnterValue(), 2.5L);
  first->selectAll();
  QTest::keyClicks(first, "abc");
  EXPECT_EQ(first->text(), QString("abc"));
  EXPECT_EQ(first->Value(), 0.0L);
  Focus(second);
  EXPECT_EQ(first->text(), QString("2.5"));

  // An empty box reads 0 and gets its number back too.
  Focus(first);
  first->clear();
  EXPECT_EQ(first->Value(), 0.0L);
  Focus(second);
  EXPECT_EQ(first->text(), QString("2.5"));

  // A number typed in stays as typed.
  Focus(first);
  first->setText("7.50");
  Focus(second);
  EXPECT_EQ(first->text(), QString("7.50"));
}

TEST_F(FloatEditTest, EnteringABoxWithBadTextRemembersZero) {
  first->setText("xyz");
  Focus(first);
  EXPECT_EQ(first->EnterValue(), 0.0L);
  Focus(second);
  EXPECT_EQ(first->text(), QString("0"));
}

// The owner's exit handler reads what the box will show: the restored number, not
// the 0 of the text that was typed.
TEST_F(FloatEditTest, TheExitHandlerReadsTheRestoredNumber) {
  first->SetValue(2.5L);
  std::vector<Extended> seen;
  std::vector<QString> shown;
  QObject::connect(first, &TFloatEdit::exited, [&] {
    seen.push_back(first->Value());
    shown.push_back(first->text());
  });
  Focus(first);
  first->setText("abc");
  Focus(second);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], 2.5L);
  EXPECT_EQ(shown[0], QString("2.5"));
  EXPECT_EQ(first->Value(), seen[0]) << "what the handler stored is what the box shows";
}

TEST_F(FloatEditTest, FocusLostToAnotherWindowOrAPopupIsNotLeaving) {
  for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
    first->SetValue(2.5L);
    Focus(first);
    QSignalSpy exits(first, &TFloatEdit::exited);
    first->setText("ab");
    Send(first, QEvent::FocusOut, reason);
    EXPECT_EQ(first->text(), QString("ab")) << "reason " << reason << ": the user is still typing";
    EXPECT_EQ(exits.count(), 0);
    // Coming back is not entering: the remembered number stays 2.5, not the 0 of "ab".
    Send(first, QEvent::FocusIn, reason);
    EXPECT_EQ(first->EnterValue(), 2.5L);
    Focus(second);
    EXPECT_EQ(first->text(), QString("2.5")) << "reason " << reason;
    EXPECT_EQ(exits.count(), 1);
  }
}

TEST_F(FloatEditTest, ANumberWrittenWhileInAnotherWindowIsTheOneLeavingPutsBack) {
  first->SetValue(2.5L);
  Focus(first);
  Send(first, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  first->SetValue(7);  // a modeless dialog's owner shows another item's value
  Send(first, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  EXPECT_EQ(first->EnterValue(), 7);
  first->setText("ab");
  Focus(second);
  EXPECT_EQ(first->text(), QString("7"));
  // A pop-up menu (the box's own, pasting a number) is not another window: the
  // number held on entering stays the one to put back.
  Focus(first);
  Send(first, QEvent::FocusOut, Qt::PopupFocusReason);
  first->setText("9");
  Send(first, QEvent::FocusIn, Qt::PopupFocusReason);
  EXPECT_EQ(first->EnterValue(), 7);
}

TEST_F(FloatEditTest, CommitExitRunsTheExitProcessingOfTheFocusedBox) {
  first->SetValue(4.0L);
  Focus(first);
  QSignalSpy exits(first, &TFloatEdit::exited);
  first->setText("4..");
  TFloatEdit::CommitFocused(&window);  // what OK does before it reads the boxes
  EXPECT_EQ(first->text(), QString("4"));
  EXPECT_EQ(exits.count(), 1);
  EXPECT_TRUE(first->hasFocus());
  // Still in the box: it counts as entered again with the number it shows.
  first->setText("5");
  EXPECT_EQ(first->EnterValue(), 4.0L);
  first->CommitExit();
  EXPECT_EQ(first->EnterValue(), 5.0L);
  // A box never entered is left alone.
  QSignalSpy secondExits(second, &TFloatEdit::exited);
  second->setText("q");
  second->CommitExit();
  EXPECT_EQ(second->text(), QString("q"));
  EXPECT_EQ(secondExits.count(), 0);
}

}  // namespace
}  // namespace tavir
