#pragma once
// Start-up: every number the programs show uses the decimal separator of the
// user's locale, read once here (input accepts both separators anyway).
#include <QLocale>

namespace tavir {

// ',' for a locale whose decimal point is a comma, else '.'.
char DecimalSeparatorOf(const QLocale& locale);
// Sets the number texts' separator from the locale (the system's by default).
void ApplyLocaleDecimalSeparator(const QLocale& locale = QLocale::system());

}  // namespace tavir
