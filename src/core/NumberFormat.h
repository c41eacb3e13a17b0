// Texts of numbers under the process regional settings (FormatSettings()).
//
// FloatToStr writes the general format with 15 significant digits: plain
// notation when 1E-4 <= |x| < 1E15 after rounding to 15 digits (1.5,
// 1001, 0.1, 0.0001, 999999999999999), else
// scientific with no '+' and no leading zeros in the exponent (1E20, 1.5E-5,
// -2.5E15); the decimal separator is the process DecimalSeparator, there are
// never thousand separators; NaN and infinities give "NAN", "INF", "-INF".
// CurrToStr is FloatToStr of the value rounded to 4 decimals.
// FormatCurrency writes the currency format of the settings: thousand
// separators, CurrencyDecimals decimals, CurrencyString placed by
// CurrencyFormat / NegCurrFormat ($1,234.50 and ($1,234.50) by default).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Vdei {

std::string IntToStr(int64_t value);
std::string FloatToStr(double value);
std::string FloatToStr(double value, char decimalSeparator);
std::string CurrToStr(double value);
std::string FormatCurrency(double value);
// Fixed notation with thousand separators and the given decimals ("%n").
// FormatNumber and FormatCurrency round half away from zero at the digits
// FloatToStr shows (so 1.005 gives 1.01), and never write "-0.00".
std::string FormatNumber(double value, int decimals);

// Integer texts: optional blanks around, optional sign, decimal digits, or
// '$' / "0x" followed by hex digits. Out of the int64 range fails.
bool TryStrToInt64(std::string_view text, int64_t& result);
// EConvertError "'%s' is not a valid integer value".
int64_t StrToInt64(std::string_view text);
int StrToInt(std::string_view text);  // also fails outside the int range

// Float texts: optional blanks around, sign, digits with at most one
// decimal separator (the given one, or the process DecimalSeparator),
// optional exponent E[+-]digits. Thousand separators are not accepted.
bool TryStrToFloat(std::string_view text, double& result);
bool TryStrToFloat(std::string_view text, double& result, char decimalSeparator);
// EConvertError "'%s' is not a valid floating point value".
double StrToFloat(std::string_view text);

}  // namespace Vdei
