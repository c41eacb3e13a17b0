#include "core/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/Exception.h"
#include "core/FormatSettings.h"

namespace Vdei {
namespace {

TEST(FloatToStr, GeneralFormatAtItsEdges) {
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(1001), "1001");
  EXPECT_EQ(FloatToStr(0.1), "0.1");
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");  // 15 digits hide the binary error
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(9999999999999999.0), "1E16");  // rounds up to 16 digits
  EXPECT_EQ(FloatToStr(1234567890123456789.0), "1.23456789012346E18");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(-2.5e15), "-2.5E15");
  EXPECT_EQ(FloatToStr(0.0001), "0.0001");
  EXPECT_EQ(FloatToStr(0.00012345), "0.00012345");
  EXPECT_EQ(FloatToStr(1e-5), "1E-5");
  EXPECT_EQ(FloatToStr(1.5e-5), "1.5E-5");
  EXPECT_EQ(FloatToStr(0.000099999999999999999), "0.0001");
  EXPECT_EQ(FloatToStr(1e-300), "1E-300");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::max()), "1.79769313486232E308");
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
  EXPECT_EQ(FloatToStr(0.0), "0");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(-1.25), "-1.25");
  EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
  EXPECT_EQ(FloatToStr(INFINITY), "INF");
  EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
}

TEST(FloatToStr, UsesTheDecimalSeparatorOfTheMoment) {
  FormatSettingsGuard guard;
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().ThousandSeparator = '.';
  EXPECT_EQ(FloatToStr(1234.5), "1234,5");
  EXPECT_EQ(FloatToStr(1.5e-5), "1,5E-5");
  EXPECT_EQ(FloatToStr(1.5, '.'), "1.5");
  EXPECT_EQ(CurrToStr(2.5), "2,5");
}

TEST(FloatToStr, CurrencyTextsRoundToFourDecimals) {
  EXPECT_EQ(CurrToStr(1.23456), "1.2346");
  EXPECT_EQ(CurrToStr(-1.00005), "-1.0001");
  EXPECT_EQ(CurrToStr(100), "100");
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
}

TEST(FormatCurrency, DefaultProfileAndTheOtherPlacements) {
  EXPECT_EQ(FormatCurrency(1234.5), "$1,234.50");
  EXPECT_EQ(FormatCurrency(-1234.5), "($1,234.50)");
  EXPECT_EQ(FormatCurrency(0), "$0.00");
  EXPECT_EQ(FormatCurrency(-0.001), "$0.00");  // no "($0.00)" for a value that rounds to 0
  EXPECT_EQ(FormatCurrency(999.995), "$1,000.00");
  EXPECT_EQ(FormatCurrency(1.005), "$1.01");  // as the 15-digit text shows it
  EXPECT_EQ(FormatCurrency(1234567890.12), "$1,234,567,890.12");
  FormatSettingsGuard guard;
  TFormatSettings& fs = FormatSettings();
  fs.CurrencyString = "EUR";
  fs.CurrencyFormat = 3;
  fs.NegCurrFormat = 8;
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  fs.CurrencyDecimals = 0;
  EXPECT_EQ(FormatCurrency(1234.5), "1.235 EUR");
  EXPECT_EQ(FormatCurrency(-1234.4), "-1.234 EUR");
  fs.NegCurrFormat = 1;
  fs.CurrencyString = "$";
  EXPECT_EQ(FormatCurrency(-5), "-$5");
}

TEST(FormatNumber, ThousandsAndDecimals) {
  EXPECT_EQ(FormatNumber(1234567.891, 2), "1,234,567.89");
  EXPECT_EQ(FormatNumber(-1234.5, 0), "-1,235");
  EXPECT_EQ(FormatNumber(0.05, 1), "0.1");
  EXPECT_EQ(FormatNumber(0.004, 2), "0.00");
  EXPECT_EQ(FormatNumber(123, 3), "123.000");
  EXPECT_EQ(FormatNumber(100000, 0), "100,000");
  EXPECT_EQ(FormatNumber(1e20, 0), "100,000,000,000,000,000,000");
}

TEST(StrToInt, AcceptedAndRefusedTexts) {
  EXPECT_EQ(StrToInt64(" 42 "), 42);
  EXPECT_EQ(StrToInt64("+7"), 7);
  EXPECT_EQ(StrToInt64("-0"), 0);
  EXPECT_EQ(StrToInt64("$FF"), 255);
  EXPECT_EQ(StrToInt64("0x1f"), 31);
  EXPECT_EQ(StrToInt64("-$10"), -16);
  EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  int64_t value = 99;
  for (const char* bad : {"", " ", "-", "1.5", "1e3", "12a", "9223372036854775808",
                          "-9223372036854775809", "$", "0x", "1 2", "--1", "$-1"}) {
    EXPECT_FALSE(TryStrToInt64(bad, value)) << bad;
  }
  EXPECT_EQ(value, 99);  // a failed conversion leaves the result alone
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_THROW(StrToInt("2147483648"), EConvertError);
  try {
    StrToInt64("12a");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
  }
}

TEST(StrToFloat, BothSeparatorConventionsAndBadTexts) {
  double value = 0;
  EXPECT_TRUE(TryStrToFloat("1.5", value, '.'));
  EXPECT_EQ(value, 1.5);
  EXPECT_TRUE(TryStrToFloat("1,5", value, ','));
  EXPECT_EQ(value, 1.5);
  EXPECT_FALSE(TryStrToFloat("1,5", value, '.'));
  EXPECT_FALSE(TryStrToFloat("1.5", value, ','));
  EXPECT_FALSE(TryStrToFloat("1,234.5", value, '.'));  // no thousand separators
  EXPECT_TRUE(TryStrToFloat(" -.5E+2 ", value, '.'));
  EXPECT_EQ(value, -50);
  EXPECT_TRUE(TryStrToFloat("5.", value, '.'));
  EXPECT_EQ(value, 5);
  EXPECT_TRUE(TryStrToFloat("1e-400", value, '.'));  // underflow reads as zero
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(TryStrToFloat("0.1e-99999999999999", value, '.'));
  EXPECT_EQ(value, 0);
  EXPECT_TRUE(TryStrToFloat("0.00000000000000000000000001e300", value, '.'));
  EXPECT_DOUBLE_EQ(value, 1e274);
  value = 7;
  for (const char* bad : {"", ".", "-", "e5", "1e", "1e+", "1.2.3", "1..2", "abc", "1.5x", "INF",
                          "NAN", "1e400", "0x10", "1 5"}) {
    EXPECT_FALSE(TryStrToFloat(bad, value, '.')) << bad;
  }
  EXPECT_EQ(value, 7);
  FormatSettingsGuard guard;
  FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(StrToFloat("2,25"), 2.25);
  EXPECT_THROW(StrToFloat("2.25"), EConvertError);
  try {
    StrToFloat("x");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'x' is not a valid floating point value");
  }
}

TEST(FloatToStr, TextsReadBackToTheSameValue) {
  for (double d : {0.1, 1.5e-5, 123456.789, -9.87654321e-100, 1e15, 3.14159265358979}) {
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(d)), d) << d;
  }
}

}  // namespace
}  // namespace Vdei
