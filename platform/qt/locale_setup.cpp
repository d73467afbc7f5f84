#include "platform/qt/locale_setup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/numtext.h"

namespace tavir {

char DecimalSeparatorOf(const QLocale& locale) {
  return locale.decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

void ApplyLocaleDecimalSeparator(const QLocale& locale) { SetDecimalSeparator(DecimalSeparatorOf(locale)); }

bool InstallRussianQtTexts() {
  // Owned by the application, which keeps using it until it ends.
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace tavir
