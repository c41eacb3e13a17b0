#include "core/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "core/FormatSettings.h"

namespace Vdei {

namespace {

constexpr int kGeneralPrecision = 15;

// A finite double as its decimal digits rounded to 15 significant digits:
// value = 0.Digits * 10^Exponent, without trailing zeros (Count 0 for zero).
struct DecimalDigits {
  char Digits[kGeneralPrecision + 1];
  int Count = 0;
  int Exponent = 0;
  bool Negative = false;
};

DecimalDigits ToDecimalDigits(double value) {
  DecimalDigits d;
  d.Negative = std::signbit(value);
  if (value == 0) return d;
  char buffer[32];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                 std::chars_format::scientific, kGeneralPrecision - 1);
  (void)ec;  // 32 bytes always hold "d.ddddddddddddddde-ddd"
  const char* p = buffer;
  d.Digits[d.Count++] = *p++;
  if (*p == '.') ++p;
  while (*p != 'e') d.Digits[d.Count++] = *p++;
  ++p;  // 'e'
  int exponent = 0;
  std::from_chars(*p == '+' ? p + 1 : p, end, exponent);
  d.Exponent = exponent + 1;
  while (d.Count > 0 && d.Digits[d.Count - 1] == '0') --d.Count;
  return d;
}

// A text built on the stack, so that a result costs one allocation at
// most (none when it fits the string's inline buffer).
class ShortText {
 public:
  void Append(char c) { buffer_[size_++] = c; }
  void Append(const char* text, size_t count) {
    std::copy_n(text, count, buffer_ + size_);
    size_ += count;
  }
  void AppendZeros(int count) {
    for (; count > 0; --count) Append('0');
  }
  void AppendInt(int64_t value) {
    auto [end, ec] = std::to_chars(buffer_ + size_, buffer_ + sizeof buffer_, value);
    (void)ec;
    size_ = static_cast<size_t>(end - buffer_);
  }
  std::string Str() const { return std::string(buffer_, size_); }

 private:
  // Long enough for a sign, 15 digits, 14 zeros, a separator and an exponent.
  char buffer_[64];
  size_t size_ = 0;
};

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

void AppendPlain(ShortText& out, const DecimalDigits& d, char decimalSeparator) {
  if (d.Exponent <= 0) {
    out.Append('0');
    out.Append(decimalSeparator);
    out.AppendZeros(-d.Exponent);
    out.Append(d.Digits, static_cast<size_t>(d.Count));
    return;
  }
  int whole = std::min(d.Count, d.Exponent);
  out.Append(d.Digits, static_cast<size_t>(whole));
  out.AppendZeros(d.Exponent - d.Count);
  if (d.Count > d.Exponent) {
    out.Append(decimalSeparator);
    out.Append(d.Digits + d.Exponent, static_cast<size_t>(d.Count - d.Exponent));
  }
}

void AppendScientific(ShortText& out, const DecimalDigits& d, char decimalSeparator) {
  out.Append(d.Digits[0]);
  if (d.Count > 1) {
    out.Append(decimalSeparator);
    out.Append(d.Digits + 1, static_cast<size_t>(d.Count - 1));
  }
  out.Append('E');
  out.AppendInt(d.Exponent - 1);
}

// Rounds the digits half away from zero so that at most `decimals` digits
// follow the decimal point.
void RoundToDecimals(DecimalDigits& d, int decimals) {
  int keep = d.Exponent + decimals;
  if (keep >= d.Count) return;
  if (keep < 0) {
    d.Count = 0;
    return;
  }
  bool roundUp = d.Digits[keep] >= '5';
  d.Count = keep;
  if (roundUp) {
    int i = keep - 1;
    while (i >= 0 && d.Digits[i] == '9') --i;
    if (i < 0) {
      d.Digits[0] = '1';
      d.Count = 1;
      ++d.Exponent;
      return;
    }
    ++d.Digits[i];
    d.Count = i + 1;
  }
  while (d.Count > 0 && d.Digits[d.Count - 1] == '0') --d.Count;
}

// Fixed notation of |value| with thousand separators and exactly
// `decimals` decimals; the sign is the caller's business.
std::string FixedWithThousands(const DecimalDigits& d, int decimals, const TFormatSettings& fs) {
  std::string out;
  int wholeDigits = std::max(d.Exponent, 1);
  out.reserve(static_cast<size_t>(wholeDigits + wholeDigits / 3 + decimals + 2));
  for (int i = 0; i < wholeDigits; ++i) {
    int digitIndex = d.Exponent <= 0 ? -1 : i;
    out += (digitIndex >= 0 && digitIndex < d.Count) ? d.Digits[digitIndex] : '0';
    int remaining = wholeDigits - 1 - i;
    if (remaining > 0 && remaining % 3 == 0) out += fs.ThousandSeparator;
  }
  if (decimals > 0) {
    out += fs.DecimalSeparator;
    for (int i = 0; i < decimals; ++i) {
      int digitIndex = d.Exponent + i;
      out += (digitIndex >= 0 && digitIndex < d.Count) ? d.Digits[digitIndex] : '0';
    }
  }
  return out;
}

DecimalDigits RoundedDigits(double value, int decimals) {
  DecimalDigits d = ToDecimalDigits(value);
  RoundToDecimals(d, decimals);
  if (d.Count == 0) d.Negative = false;
  return d;
}

// Places the currency string and the sign of one of the Windows currency
// formats around the number text.
std::string PlaceCurrency(const std::string& number, bool negative, const TFormatSettings& fs) {
  const std::string& c = fs.CurrencyString;
  if (!negative) {
    switch (fs.CurrencyFormat) {
      case 1:
        return number + c;
      case 2:
        return c + " " + number;
      case 3:
        return number + " " + c;
      default:
        return c + number;
    }
  }
  switch (fs.NegCurrFormat) {
    case 1:
      return "-" + c + number;
    case 2:
      return c + "-" + number;
    case 3:
      return c + number + "-";
    case 4:
      return "(" + number + c + ")";
    case 5:
      return "-" + number + c;
    case 6:
      return number + "-" + c;
    case 7:
      return number + c + "-";
    case 8:
      return "-" + number + " " + c;
    case 9:
      return "-" + c + " " + number;
    case 10:
      return number + " " + c + "-";
    case 11:
      return c + " " + number + "-";
    case 12:
      return c + " -" + number;
    case 13:
      return number + "- " + c;
    case 14:
      return "(" + c + " " + number + ")";
    case 15:
      return "(" + number + " " + c + ")";
    default:
      return "(" + c + number + ")";
  }
}

}  // namespace

std::string IntToStr(int64_t value) {
  ShortText out;
  out.AppendInt(value);
  return out.Str();
}

std::string FloatToStr(double value) {
  return FloatToStr(value, FormatSettings().DecimalSeparator);
}

std::string FloatToStr(double value, char decimalSeparator) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  DecimalDigits d = ToDecimalDigits(value);
  if (d.Count == 0) return "0";
  ShortText out;
  if (d.Negative) out.Append('-');
  int exponent = d.Exponent - 1;
  if (exponent < -4 || exponent >= kGeneralPrecision) {
    AppendScientific(out, d, decimalSeparator);
  } else {
    AppendPlain(out, d, decimalSeparator);
  }
  return out.Str();
}

std::string CurrToStr(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  return FloatToStr(std::round(value * 10000.0) / 10000.0);
}

std::string FormatNumber(double value, int decimals) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  decimals = std::clamp(decimals, 0, 18);
  DecimalDigits d = RoundedDigits(value, decimals);
  std::string number = FixedWithThousands(d, decimals, FormatSettings());
  return d.Negative ? "-" + number : number;
}

std::string FormatCurrency(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const TFormatSettings& fs = FormatSettings();
  int decimals = std::clamp(fs.CurrencyDecimals, 0, 18);
  DecimalDigits d = RoundedDigits(value, decimals);
  return PlaceCurrency(FixedWithThousands(d, decimals, fs), d.Negative, fs);
}

}  // namespace Vdei
