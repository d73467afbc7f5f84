#include <gtest/gtest.h>

#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "platform/qt/color_picker.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/message_box.h"
#include "platform_qt/dialog_script.h"

namespace tavir {
namespace {

TEST(QtMessageService, KindsHaveTheirCaptionsIconsAndButtons) {
  QtMessageService messages;
  DialogScript answer;
  messages.Warning("Нет материала");
  messages.Error("Файл испорчен");
  EXPECT_TRUE(messages.Ask("Внимание", "Удалить?"));
  ASSERT_EQ(answer.Boxes.size(), 3u);

  EXPECT_EQ(answer.Boxes[0].Title, QString("Предупреждение"));
  EXPECT_EQ(answer.Boxes[0].Icon, QMessageBox::Warning);
  EXPECT_EQ(answer.Boxes[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(answer.Boxes[0].Text, QString("Нет материала"));

  EXPECT_EQ(answer.Boxes[1].Title, QString("Ошибка"));
  EXPECT_EQ(answer.Boxes[1].Icon, QMessageBox::Critical);
  EXPECT_EQ(answer.Boxes[1].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

  EXPECT_EQ(answer.Boxes[2].Title, QString("Внимание"));
  EXPECT_EQ(answer.Boxes[2].Icon, QMessageBox::Question);
  EXPECT_EQ(answer.Boxes[2].Buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(answer.Boxes[2].Default, QMessageBox::Ok);
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
    DialogScript answer;
    answer.Answers = {c.Click};
    EXPECT_EQ(messages.Show(MsgKind::Question, "Вопрос", "Текст", c.Buttons), c.Want)
        << "buttons " << static_cast<int>(c.Buttons) << " click " << c.Click;
  }
  DialogScript cancel;
  cancel.Answers = {QMessageBox::Cancel};
  EXPECT_FALSE(messages.Ask("Внимание", "Удалить?"));
}

TEST(QtMessageService, ALoneCarriageReturnIsShownAsALineBreak) {
  EXPECT_EQ(MessageText("Это окно главное\rУдалить следующее?"), QString("Это окно главное\nУдалить следующее?"));
  EXPECT_EQ(MessageText("a\r\nb"), QString("a\nb"));
  EXPECT_EQ(MessageText("без перевода"), QString("без перевода"));
  QtMessageService messages;
  DialogScript answer;
  messages.Show(MsgKind::Warning, "Предупреждение", "Осталось одно главное окно\rЗакрыть проект?",
                MsgButtons::OkCancel);
  ASSERT_EQ(answer.Boxes.size(), 1u);
  EXPECT_EQ(answer.Boxes[0].Text, QString("Осталось одно главное окно\nЗакрыть проект?"));
}

TEST(DialogScript, AnswersBoxesByScriptAndOtherDialogsByHandler) {
  QtMessageService messages;
  DialogScript script;
  script.Answers = {QMessageBox::Cancel};
  script.Dialogs.push_back([&](QDialog& d) {
    EXPECT_FALSE(messages.Ask("Вопрос", "Сохранить?")) << "the scripted Cancel";
    d.accept();
    return d.result();
  });
  QDialog dialog;
  dialog.setObjectName("TGridDialog");
  EXPECT_EQ(DialogRunner::Run(dialog), QDialog::Accepted);
  EXPECT_TRUE(messages.Ask("Вопрос", "Ещё?")) << "no script left: the default button";
  ASSERT_EQ(script.Boxes.size(), 2u);
  EXPECT_EQ(script.Boxes[0].Clicked, QMessageBox::Cancel);
  EXPECT_EQ(script.Boxes[1].Clicked, QMessageBox::Ok);
  ASSERT_EQ(script.Seen.size(), 3u);
  EXPECT_EQ(script.Seen[0], QString("TGridDialog"));
  EXPECT_EQ(script.Seen[1], QString("MessageBox"));
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
