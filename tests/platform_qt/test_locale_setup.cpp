#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>

#include "platform/qt/locale_setup.h"

namespace tavir {
namespace {

// The programs show Qt's own buttons in Russian: the translation must be installed
// (a missing package fails here, not silently in the programs).
TEST(LocaleSetup, QtsOwnButtonsSpeakRussian) {
  ASSERT_TRUE(InstallRussianQtTexts()) << "qtbase_ru.qm not found: install qt6-translations-l10n";
  QDialogButtonBox box(QDialogButtonBox::Cancel);
  EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().toStdString(), "Отмена");
  // Leave the other tests with Qt's own texts.
  for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
}

}  // namespace
}  // namespace tavir
