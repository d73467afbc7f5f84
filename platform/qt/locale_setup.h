#pragma once
// Start-up: every number the programs show uses the decimal separator of the
// user's locale, read once here (input accepts both separators anyway).
#include <QLocale>

namespace tavir {

// ',' for a locale whose decimal point is a comma, else '.'.
char DecimalSeparatorOf(const QLocale& locale);
// Sets the number texts' separator from the locale (the system's by default).
void ApplyLocaleDecimalSeparator(const QLocale& locale = QLocale::system());
// Qt's own texts (the buttons of file and colour dialogs and of message boxes) in
// Russian, like everything else the programs show: installs Qt's Russian
// translation into the application. False when the translation is not installed.
bool InstallRussianQtTexts();

}  // namespace tavir
