#pragma once
// Helpers of the shared dialogs' headless tests: finding widgets by their names,
// showing a dialog so that focus moves as on a screen, and saving its picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>

namespace tavir::testing {

template <class W>
W* Find(QWidget& parent, const char* name) {
  W* w = parent.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// Shows the window and makes it the active one, so focus changes are real.
inline void ShowActive(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Saves the window's picture as TAVIR_PICTURES/<name>.png.
inline void Grab(QWidget& window, const char* name) {
  QDir().mkpath(QStringLiteral(TAVIR_PICTURES));
  const QString path = QStringLiteral(TAVIR_PICTURES) + QLatin1Char('/') + QString::fromLatin1(name) +
                       QStringLiteral(".png");
  EXPECT_TRUE(window.grab().save(path)) << path.toStdString();
}

// Replaces the text of a box as typing would.
inline void Retype(QWidget* box, const QString& text) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Delete);
  // QTest types only Latin-1 keys; other text is inserted as an input method would.
  bool latin = true;
  for (QChar c : text) latin = latin && c.unicode() < 0x80;
  if (latin) {
    QTest::keyClicks(box, text);
  } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
    line->insert(text);
  }
}

}  // namespace tavir::testing
