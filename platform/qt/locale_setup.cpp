#include "platform/qt/locale_setup.h"

#include "platform/numtext.h"

namespace tavir {

char DecimalSeparatorOf(const QLocale& locale) {
  return locale.decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

void ApplyLocaleDecimalSeparator(const QLocale& locale) { SetDecimalSeparator(DecimalSeparatorOf(locale)); }

}  // namespace tavir
