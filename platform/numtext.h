#pragma once
// Number texts: the one place where reals become text and text becomes reals.
//
// General format (FormatGeneral): the value rounded to `precision` significant
// digits, written in fixed notation when it has at most `precision` digits before
// the point and |v| >= 0.00001 (or is 0), else in scientific notation; trailing
// zeros of the fraction are dropped, the point too when nothing follows it. The
// scientific form is mantissa, 'E', '-' for a negative exponent (no '+'), the
// exponent with at least `expDigits` digits: 1E20, 1.5E-7.
// Exponent format (FormatExponent): one digit, the separator, precision-1 digits,
// 'E', the exponent's sign always, at least `expDigits` exponent digits:
// 0.2 with (7, 0) gives 2.000000E-1.
// Non-finite values are written "NAN", "INF", "-INF".
#include <optional>
#include <string>
#include <string_view>

#include "platform/extended.h"

namespace tavir {

// The decimal separator used for output ('.' or ','); input accepts both.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

std::string FormatGeneral(Extended value, int precision = 15, int expDigits = 0);
std::string FormatExponent(Extended value, int precision, int expDigits);

// Takes the whole text (leading and trailing blanks allowed) or nothing: an optional
// sign, digits with one optional separator ('.' or ','), an optional exponent
// (E or e, optional sign, digits). No "nan", "inf", hex or partial text; the
// result is finite.
std::optional<Extended> ParseFloat(std::string_view text);
// Whole-text decimal integer in Int32 range.
std::optional<int> ParseInt(std::string_view text);

}  // namespace tavir
