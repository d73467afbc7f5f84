#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "platform/numtext.h"

namespace tavir {
namespace {

// Every test starts and ends with the '.' separator, whatever it changes.
class NumText : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
  void TearDown() override { SetDecimalSeparator('.'); }
};

struct GeneralCase {
  Extended value;
  int precision;
  int expDigits;
  const char* text;
};

TEST_F(NumText, GeneralFormat) {
  const GeneralCase cases[] = {
      {0.0L, 15, 0, "0"},
      {-0.0L, 15, 0, "0"},
      {1.0L, 15, 0, "1"},
      {1.5L, 15, 0, "1.5"},
      {-2.25L, 15, 0, "-2.25"},
      {100.0L, 15, 0, "100"},
      {0.1L, 15, 0, "0.1"},
      {1.0L / 3.0L, 15, 0, "0.333333333333333"},
      {2.0L / 3.0L, 15, 0, "0.666666666666667"},
      {3.14159265358979324L, 15, 0, "3.14159265358979"},
      {1e20L, 15, 0, "1E20"},
      {123456789012345678.0L, 15, 0, "1.23456789012346E17"},
      {-1.5e-7L, 15, 0, "-1.5E-7"},
      // Fifteen digits before the point still fit; sixteen do not.
      {999999999999999.0L, 15, 0, "999999999999999"},
      {1e14L, 15, 0, "100000000000000"},
      {1e15L, 15, 0, "1E15"},
      // Rounding decides the notation: these round up to a power of ten.
      {0.99999999999999999L, 15, 0, "1"},
      {999999999999999.9L, 15, 0, "1E15"},
      {9.9999999999999999e-6L, 15, 0, "0.00001"},
      // The smallest fixed value and the largest scientific one below it.
      {0.00001L, 15, 0, "0.00001"},
      {0.000012345L, 15, 0, "0.000012345"},
      {0.000009L, 15, 0, "9E-6"},
      {1e4000L, 15, 0, "1E4000"},
      {-1e-4000L, 15, 0, "-1E-4000"},
      {std::numeric_limits<Extended>::max(), 15, 0, "1.18973149535723E4932"},
      // Eight and ten digits with four exponent digits.
      {1e-7L, 8, 4, "1E-0007"},
      {12345678.0L, 8, 4, "12345678"},
      {123456789.0L, 8, 4, "1.2345679E0008"},
      {0.000123456789L, 8, 4, "0.00012345679"},
      {1.5e300L, 10, 4, "1.5E0300"},
      {-1234567890.6L, 10, 4, "-1234567891"},
      // An exact decimal tie goes to the even digit, as every correct rounding here does.
      {0.125L, 2, 0, "0.12"},
      {0.375L, 2, 0, "0.38"},
      {12345678901.0L, 10, 4, "1.23456789E0010"},
      {2.5e-12L, 10, 4, "2.5E-0012"},
      // The exponent is never cut to expDigits, only padded.
      {1e4000L, 8, 2, "1E4000"},
      // Long double holds more than 15 digits; 18 are reproduced.
      {123456789012345678.0L, 18, 0, "123456789012345678"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatGeneral(c.value, c.precision, c.expDigits), c.text)
        << "precision " << c.precision << " expDigits " << c.expDigits << " expected " << c.text;
}

TEST_F(NumText, ExponentFormat) {
  const GeneralCase cases[] = {
      {0.2L, 7, 0, "2.000000E-1"},
      {0.0L, 7, 0, "0.000000E+0"},
      {1.0L, 1, 0, "1E+0"},
      {-1234.5678L, 5, 2, "-1.2346E+03"},
      {1e300L, 3, 4, "1.00E+0300"},
      {9.9999L, 3, 0, "1.00E+1"},
      {1.5e-7L, 4, 3, "1.500E-007"},
      {-1e-4000L, 2, 0, "-1.0E-4000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatExponent(c.value, c.precision, c.expDigits), c.text) << c.text;
}

TEST_F(NumText, NonFiniteValuesHaveFixedTexts) {
  const Extended inf = std::numeric_limits<Extended>::infinity();
  const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
  EXPECT_EQ(FormatGeneral(nan), "NAN");
  EXPECT_EQ(FormatGeneral(inf), "INF");
  EXPECT_EQ(FormatGeneral(-inf), "-INF");
  EXPECT_EQ(FormatExponent(nan, 7, 0), "NAN");
  EXPECT_EQ(FormatExponent(-inf, 7, 0), "-INF");
}

TEST_F(NumText, SeparatorSettingChangesOutputOnly) {
  SetDecimalSeparator(',');
  EXPECT_EQ(DecimalSeparator(), ',');
  EXPECT_EQ(FormatGeneral(1.5L), "1,5");
  EXPECT_EQ(FormatGeneral(-1.5e-7L), "-1,5E-7");
  EXPECT_EQ(FormatGeneral(0.00001L), "0,00001");
  EXPECT_EQ(FormatExponent(0.2L, 7, 0), "2,000000E-1");
  // Input still takes both separators.
  EXPECT_EQ(ParseFloat("1.5"), 1.5L);
  EXPECT_EQ(ParseFloat("1,5"), 1.5L);
  SetDecimalSeparator('.');
  EXPECT_EQ(FormatGeneral(1.5L), "1.5");
  EXPECT_EQ(ParseFloat("1,5"), 1.5L);
}

TEST_F(NumText, ParsesWholeNumberTexts) {
  const struct {
    const char* text;
    Extended value;
  } cases[] = {
      {"0", 0.0L},
      {"-0", -0.0L},
      {"1.5", 1.5L},
      {"1,5", 1.5L},
      {" -2.5e3 ", -2500.0L},
      {"\t7\t", 7.0L},
      {"+.5", 0.5L},
      {",25", 0.25L},
      {"5.", 5.0L},
      {"00012", 12.0L},
      {"1E+2", 100.0L},
      {"1e-2", 0.01L},
      {"0.1", 0.1L},
      {"2,5E-0007", 2.5e-7L},
      {"3.14159265358979323846", 3.14159265358979323846L},
      {"1.18e4932", 1.18e4932L},
      {"0e99999", 0.0L},
      {"1e-4930", 1e-4930L},
  };
  for (const auto& c : cases) {
    const auto v = ParseFloat(c.text);
    ASSERT_TRUE(v.has_value()) << "'" << c.text << "'";
    EXPECT_EQ(*v, c.value) << "'" << c.text << "'";
  }
  EXPECT_TRUE(std::signbit(*ParseFloat("-0")));
}

TEST_F(NumText, RefusesPartialOrNonFiniteTexts) {
  const char* bad[] = {"",     " ",    "+",     "-",      ".",      ",",     "e5",    "1e",
                       "1e+",  "1E-",  "1.2.3", "1,2,3",  "1.2,3",  "nan",   "NaN",   "inf",
                       "-inf", "INF",  "0x10",  "0x1p3",  "1 2",    "1.5x",  "x1.5",  "--1",
                       "+-1",  "1e2.5", "1e5000", "-1e5000", "1e99999999999999999999", "1.5 e3",
                       // Beyond the normal range at either end: refused, never clipped to 0 or the maximum.
                       "1.19e4932", "1e-5000", "1e-4940",
                       "1_000", "١"};
  for (const char* text : bad) EXPECT_FALSE(ParseFloat(text).has_value()) << "'" << text << "'";
  // Embedded NUL: the whole view counts, not a C string prefix.
  EXPECT_FALSE(ParseFloat(std::string_view("1\0" "2", 3)).has_value());
}

TEST_F(NumText, FormattedTextsParseBack) {
  const Extended values[] = {0.1L, -1.5e-7L, 1e20L, 123456789012345678.0L, 2.0L / 3.0L, 1e-4000L, 0.00001L};
  for (const Extended v : values) {
    for (const char sep : {'.', ','}) {
      SetDecimalSeparator(sep);
      const auto back = ParseFloat(FormatGeneral(v, 18, 0));
      ASSERT_TRUE(back.has_value()) << FormatGeneral(v, 18, 0);
      EXPECT_LE(std::fabs(*back - v), std::fabs(v) * 1e-17L) << FormatGeneral(v, 18, 0);
    }
  }
}

// The C locale's decimal point must not leak into our texts either way. Runs only
// where a locale with a decimal comma is installed.
TEST_F(NumText, IgnoresTheCLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const char* names[] = {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"};
  const char* found = nullptr;
  for (const char* n : names)
    if (std::setlocale(LC_ALL, n)) {
      found = n;
      break;
    }
  ASSERT_NE(found, nullptr) << "no locale with a decimal comma installed: run tools/install_deps.sh";
  const bool comma = *std::localeconv()->decimal_point == ',';
  const auto v = ParseFloat("1.25");
  const auto w = ParseFloat("1,25");
  const std::string t = FormatGeneral(1.25L);
  const std::string e = FormatExponent(0.2L, 7, 0);
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_TRUE(comma) << found;
  EXPECT_EQ(v, 1.25L);
  EXPECT_EQ(w, 1.25L);
  EXPECT_EQ(t, "1.25");
  EXPECT_EQ(e, "2.000000E-1");
}

TEST_F(NumText, ParsesInt32Texts) {
  EXPECT_EQ(ParseInt("0"), 0);
  EXPECT_EQ(ParseInt(" +12 "), 12);
  EXPECT_EQ(ParseInt("-7"), -7);
  EXPECT_EQ(ParseInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt("-2147483648"), std::numeric_limits<int>::min());
  EXPECT_EQ(ParseInt("000000000000000000000042"), 42);
  const char* bad[] = {"", " ", "+", "-", "2147483648", "-2147483649", "99999999999999999999", "1.0", "1,0",
                       "12a", "0x10", "1e3", "1 2", "--1"};
  for (const char* text : bad) EXPECT_FALSE(ParseInt(text).has_value()) << "'" << text << "'";
}

}  // namespace
}  // namespace tavir
