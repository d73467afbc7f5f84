#include <gtest/gtest.h>

#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "platform/qt/color_picker.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/message_box.h"

namespace tavir {
namespace {

struct SeenBox {
  QString Title;
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons Buttons;
  QMessageBox::StandardButton Default = QMessageBox::NoButton;
};

// Answers every box by clicking `answer` (or nothing: closed without a button).
struct BoxAnswerer {
  std::vector<SeenBox> Seen;
  QMessageBox::StandardButton Answer = QMessageBox::Ok;
  ScopedDialogInterceptor Interceptor{[this](QDialog& d) {
    auto* box = qobject_cast<QMessageBox*>(&d);
    if (box == nullptr) return 0;
    const QMessageBox::StandardButton def =
        box->defaultButton() != nullptr ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    Seen.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(), def});
    if (Answer == QMessageBox::NoButton) {
      box->reject();
      return 0;
    }
    box->button(Answer)->click();
    return box->result();
  }};
};

TEST(QtMessageService, KindsHaveTheirCaptionsIconsAndButtons) {
  QtMessageService messages;
  BoxAnswerer answer;
  messages.Warning("Нет материала");
  messages.Error("Файл испорчен");
  EXPECT_TRUE(messages.Ask("Внимание", "Удалить?"));
  ASSERT_EQ(answer.Seen.size(), 3u);

  EXPECT_EQ(answer.Seen[0].Title, QString("Предупреждение"));
  EXPECT_EQ(answer.Seen[0].Icon, QMessageBox::Warning);
  EXPECT_EQ(answer.Seen[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(answer.Seen[0].Text, QString("Нет материала"));

  EXPECT_EQ(answer.Seen[1].Title, QString("Ошибка"));
  EXPECT_EQ(answer.Seen[1].Icon, QMessageBox::Critical);
  EXPECT_EQ(answer.Seen[1].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

  EXPECT_EQ(answer.Seen[2].Title, QString("Внимание"));
  EXPECT_EQ(answer.Seen[2].Icon, QMessageBox::Question);
  EXPECT_EQ(answer.Seen[2].Buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(answer.Seen[2].Default, QMessageBox::Ok);
}

TEST(QtMessageService, AnswersComeFromTheClickedButton) {
  QtMessageService messages;
  struct Case {
    MsgButtons Buttons;
    QMessageBox::StandardButton Click;
    MsgResult Want;
  };
  const std::vector<Case> cases = {
      {MsgButtons::OkCancel, QMessageBox::Ok, MsgResult::Ok},
      {MsgButtons::OkCancel, QMessageBox::Cancel, MsgResult::Cancel},
      {MsgButtons::OkCancel, QMessageBox::NoButton, MsgResult::Cancel},
      {MsgButtons::YesNo, QMessageBox::Yes, MsgResult::Yes},
      {MsgButtons::YesNo, QMessageBox::No, MsgResult::No},
      {MsgButtons::YesNo, QMessageBox::NoButton, MsgResult::No},
      {MsgButtons::YesNoCancel, QMessageBox::No, MsgResult::No},
      {MsgButtons::YesNoCancel, QMessageBox::Cancel, MsgResult::Cancel},
      {MsgButtons::Ok, QMessageBox::Ok, MsgResult::Ok},
      {MsgButtons::Ok, QMessageBox::NoButton, MsgResult::Ok},
  };
  for (const Case& c : cases) {
    BoxAnswerer answer;
    answer.Answer = c.Click;
    EXPECT_EQ(messages.Show(MsgKind::Question, "Вопрос", "Текст", c.Buttons), c.Want)
        << "buttons " << static_cast<int>(c.Buttons) << " click " << c.Click;
  }
  BoxAnswerer cancel;
  cancel.Answer = QMessageBox::Cancel;
  EXPECT_FALSE(messages.Ask("Внимание", "Удалить?"));
}

TEST(QtMessageService, ALoneCarriageReturnIsShownAsALineBreak) {
  EXPECT_EQ(MessageText("Это окно главное\rУдалить следующее?"), QString("Это окно главное\nУдалить следующее?"));
  EXPECT_EQ(MessageText("a\r\nb"), QString("a\nb"));
  EXPECT_EQ(MessageText("без перевода"), QString("без перевода"));
  QtMessageService messages;
  BoxAnswerer answer;
  messages.Show(MsgKind::Warning, "Предупреждение", "Осталось одно главное окно\rЗакрыть проект?",
                MsgButtons::OkCancel);
  ASSERT_EQ(answer.Seen.size(), 1u);
  EXPECT_EQ(answer.Seen[0].Text, QString("Осталось одно главное окно\nЗакрыть проект?"));
}

TEST(DialogRunner, TheInnermostInterceptorAnswersAlsoNestedDialogs) {
  int outerCalls = 0;
  ScopedDialogInterceptor outer([&](QDialog&) {
    ++outerCalls;
    return 0;
  });
  QtMessageService messages;
  {
    int innerCalls = 0;
    ScopedDialogInterceptor inner([&](QDialog& d) {
      ++innerCalls;
      if (innerCalls == 1) messages.Warning("Проверка не прошла");  // a box shown by the dialog's check
      d.accept();
      return d.result();
    });
    QDialog dialog;
    EXPECT_EQ(DialogRunner::Run(dialog), QDialog::Accepted);
    EXPECT_EQ(innerCalls, 2);
    EXPECT_EQ(inner.Count(), 2);
  }
  QDialog again;
  EXPECT_EQ(DialogRunner::Run(again), 0);
  EXPECT_EQ(outerCalls, 1);
  EXPECT_TRUE(DialogRunner::Intercepted());
}

TEST(ColorPicker, ReturnsTheChosenColourOrNothing) {
  {
    QColor seenInitial;
    ScopedDialogInterceptor pick([&](QDialog& d) {
      auto* dialog = qobject_cast<QColorDialog*>(&d);
      if (dialog == nullptr) return 0;
      seenInitial = dialog->currentColor();
      dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
      dialog->accept();
      return dialog->result();
    });
    const auto chosen = ColorPicker::Pick(nullptr, 0xA6CAF0);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, RGBColor(0x11, 0x22, 0x33));
    EXPECT_EQ(seenInitial, QColor(0xF0, 0xCA, 0xA6)) << "$00BBGGRR shown as its RGB colour";
  }
  {
    ScopedDialogInterceptor cancel([](QDialog& d) {
      d.reject();
      return d.result();
    });
    EXPECT_FALSE(ColorPicker::Pick(nullptr, 0xA6CAF0).has_value());
  }
}

}  // namespace
}  // namespace tavir
