#include "platform/numtext.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace tavir {
namespace {

std::atomic<char> gSeparator{'.'};

// Long double carries a little over 19 significant decimal digits; more asked for
// would only show binary noise.
constexpr int kMaxPrecision = 18;
// No exponent of an extended value has more than 4 digits; wider padding is refused
// rather than building silly texts.
constexpr int kMaxExpDigits = 8;

// The value's decimal digits rounded to `precision` significant digits and the
// decimal exponent of the first one (d.ddd x 10^exponent). Uses to_chars, which
// rounds correctly and ignores the C locale.
struct Decimal {
  std::string digits;  // exactly `precision` digits, the first non-zero unless the value is 0
  int exponent = 0;
};

Decimal ToDecimal(Extended magnitude, int precision) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
  Decimal d;
  const char* p = buf;
  for (; p != res.ptr && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d.digits += *p;
  if (p != res.ptr) {
    ++p;  // 'e'
    bool negative = false;
    if (p != res.ptr && (*p == '+' || *p == '-')) negative = *p++ == '-';
    int e = 0;
    for (; p != res.ptr; ++p) e = e * 10 + (*p - '0');
    d.exponent = negative ? -e : e;
  }
  return d;
}

std::string ExponentText(int exponent, bool alwaysSign, int expDigits) {
  std::string out;
  if (exponent < 0)
    out += '-';
  else if (alwaysSign)
    out += '+';
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (static_cast<int>(digits.size()) < expDigits) digits.insert(0, static_cast<std::size_t>(expDigits) - digits.size(), '0');
  return out + digits;
}

const char* NonFinite(Extended v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

char DecimalSeparator() { return gSeparator.load(std::memory_order_relaxed); }

void SetDecimalSeparator(char separator) {
  gSeparator.store(separator == ',' ? ',' : '.', std::memory_order_relaxed);
}

std::string FormatGeneral(Extended value, int precision, int expDigits) {
  if (!std::isfinite(value)) return NonFinite(value);
  precision = std::clamp(precision, 1, kMaxPrecision);
  expDigits = std::clamp(expDigits, 0, kMaxExpDigits);
  if (value == 0) return "0";

  const bool negative = value < 0;
  Decimal d = ToDecimal(std::fabs(value), precision);
  // Trailing zeros of the fraction go in both notations.
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  const int nd = static_cast<int>(d.digits.size());
  const char sep = DecimalSeparator();

  std::string out = negative ? "-" : "";
  const int before = d.exponent + 1;  // digits before the point in fixed notation
  if (before <= precision && d.exponent >= -5) {
    if (before <= 0) {
      out += '0';
      out += sep;
      out.append(static_cast<std::size_t>(-before), '0');
      out += d.digits;
    } else if (nd <= before) {
      out += d.digits;
      out.append(static_cast<std::size_t>(before - nd), '0');
    } else {
      out.append(d.digits, 0, static_cast<std::size_t>(before));
      out += sep;
      out.append(d.digits, static_cast<std::size_t>(before));
    }
    return out;
  }
  out += d.digits[0];
  if (nd > 1) {
    out += sep;
    out.append(d.digits, 1);
  }
  out += 'E';
  out += ExponentText(d.exponent, false, expDigits);
  return out;
}

std::string FormatExponent(Extended value, int precision, int expDigits) {
  if (!std::isfinite(value)) return NonFinite(value);
  precision = std::clamp(precision, 1, kMaxPrecision);
  expDigits = std::clamp(expDigits, 0, kMaxExpDigits);
  const bool negative = std::signbit(value) && value != 0;
  const Decimal d = ToDecimal(std::fabs(value), precision);
  std::string out = negative ? "-" : "";
  out += d.digits[0];
  if (precision > 1) {
    out += DecimalSeparator();
    out.append(d.digits, 1);
  }
  out += 'E';
  out += ExponentText(d.exponent, true, expDigits);
  return out;
}

std::optional<Extended> ParseFloat(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';

  // Normalised copy for the conversion: no sign, '.' as the separator.
  std::string norm;
  norm.reserve(s.size());
  int mantissaDigits = 0;
  bool seenSeparator = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (IsDigit(c)) {
      norm += c;
      ++mantissaDigits;
    } else if ((c == '.' || c == ',') && !seenSeparator) {
      seenSeparator = true;
      norm += '.';
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    norm += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) norm += s[i++];
    int expDigits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++expDigits) norm += s[i];
    if (expDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;

  Extended value = 0;
  const char* first = norm.data();
  const char* last = norm.data() + norm.size();
  const auto res = std::from_chars(first, last, value, std::chars_format::general);
  // Out of range (overflow, or a value too small to hold) is refused, never clipped.
  if (res.ec != std::errc{} || res.ptr != last || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<int> ParseInt(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  // The magnitude is gathered in 64 bits and checked against the Int32 limits at
  // every digit, so no length of text can overflow it.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    if (!IsDigit(s[i])) return std::nullopt;
    magnitude = magnitude * 10 + (s[i] - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace tavir
