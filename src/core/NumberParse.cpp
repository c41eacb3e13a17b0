// Reading integer and float texts (the TryStrTo... functions of
// NumberFormat.h) with std::from_chars, never through the C locale.
#include <charconv>
#include <limits>
#include <string>

#include "core/Exception.h"
#include "core/FormatSettings.h"
#include "core/NumberFormat.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool ParseUnsigned(std::string_view digits, int base, uint64_t& value) {
  if (digits.empty()) return false;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  return ec == std::errc() && end == digits.data() + digits.size();
}

bool HasHexPrefix(std::string_view s) {
  return s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
}

}  // namespace

bool TryStrToInt64(std::string_view text, int64_t& result) {
  std::string_view s = Trim(text);
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s[0] == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (HasHexPrefix(s)) {
    base = 16;
    s.remove_prefix(2);
  }
  uint64_t magnitude = 0;
  if (!ParseUnsigned(s, base, magnitude)) return false;
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (negative) {
    if (magnitude > kMax + 1) return false;
    result = magnitude == kMax + 1 ? std::numeric_limits<int64_t>::min()
                                   : -static_cast<int64_t>(magnitude);
  } else {
    if (magnitude > kMax) return false;
    result = static_cast<int64_t>(magnitude);
  }
  return true;
}

int64_t StrToInt64(std::string_view text) {
  int64_t result = 0;
  if (!TryStrToInt64(text, result)) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  }
  return result;
}

int StrToInt(std::string_view text) {
  int64_t result = StrToInt64(text);
  if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max()) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  }
  return static_cast<int>(result);
}

bool TryStrToFloat(std::string_view text, double& result) {
  return TryStrToFloat(text, result, FormatSettings().DecimalSeparator);
}

bool TryStrToFloat(std::string_view text, double& result, char decimalSeparator) {
  std::string_view s = Trim(text);
  // The text is checked here and copied in the form from_chars reads: no
  // '+', '.' as the decimal point.
  std::string normal;
  normal.reserve(s.size());
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') normal += '-';
    ++i;
  }
  int mantissaDigits = 0;
  int leadingWholeDigits = 0;  // significant digits before the separator
  bool seenSeparator = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (IsDigit(c)) {
      ++mantissaDigits;
      if (!seenSeparator && (leadingWholeDigits > 0 || c != '0')) ++leadingWholeDigits;
      normal += c;
    } else if (c == decimalSeparator && !seenSeparator) {
      seenSeparator = true;
      normal += '.';
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  int exponent = 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    normal += 'e';
    ++i;
    size_t exponentStart = normal.size();
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      if (s[i] == '-') normal += '-';
      ++i;
    }
    size_t digitsStart = i;
    while (i < s.size() && IsDigit(s[i])) normal += s[i++];
    if (i == digitsStart) return false;
    auto parsed =
        std::from_chars(normal.data() + exponentStart, normal.data() + normal.size(), exponent);
    if (parsed.ec == std::errc::result_out_of_range) {
      exponent = normal[exponentStart] == '-' ? std::numeric_limits<int>::min() / 2
                                              : std::numeric_limits<int>::max() / 2;
    }
  }
  if (i != s.size()) return false;
  double value = 0;
  auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small a magnitude reads as zero; too large fails.
    if (leadingWholeDigits + exponent > 0) return false;
    value = normal[0] == '-' ? -0.0 : 0.0;
  } else if (ec != std::errc() || end != normal.data() + normal.size()) {
    return false;
  }
  result = value;
  return true;
}

double StrToFloat(std::string_view text) {
  double result = 0;
  if (!TryStrToFloat(text, result)) {
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  }
  return result;
}

}  // namespace Vdei
