#include "dataset/ValueText.h"

#include <cstdio>

#include "core/CodePage.h"
#include "core/Exception.h"
#include "core/StrUtils.h"

namespace Vdei {

bool CanonicalDecimal(std::string_view text, char separator, std::string& result) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  std::string whole, fraction;
  bool inFraction = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      (inFraction ? fraction : whole) += c;
    } else if ((c == '.' || c == separator) && !inFraction) {
      inFraction = true;
    } else {
      return false;
    }
  }
  if (whole.empty() && fraction.empty()) return false;
  const size_t firstDigit = whole.find_first_not_of('0');
  whole = firstDigit == std::string::npos ? "0" : whole.substr(firstDigit);
  const size_t lastDigit = fraction.find_last_not_of('0');
  fraction = lastDigit == std::string::npos ? "" : fraction.substr(0, lastDigit + 1);
  const bool zero = whole == "0" && fraction.empty();
  result = (negative && !zero ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
  return true;
}

namespace {

// Reads exactly `digits` decimal digits at pos.
bool ReadDigits(std::string_view text, size_t& pos, int digits, int& value) {
  if (pos + digits > text.size()) return false;
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += digits;
  return true;
}

bool ReadTime(std::string_view text, size_t& pos, TDateTime& time) {
  int hour, minute, second = 0, msec = 0;
  if (!ReadDigits(text, pos, 2, hour) || pos >= text.size() || text[pos++] != ':' ||
      !ReadDigits(text, pos, 2, minute))
    return false;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    if (!ReadDigits(text, pos, 2, second)) return false;
    if (pos < text.size() && text[pos] == '.') {
      ++pos;
      int scale = 100;
      for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, scale /= 10)
        msec += (text[pos] - '0') * scale;
    }
  }
  return TryEncodeTime(hour, minute, second, msec, time);
}

bool IsTimeZone(std::string_view rest) {
  rest = Trim(rest);
  if (rest.empty() || rest == "Z") return true;
  if (rest[0] != '+' && rest[0] != '-') return false;
  for (char c : rest.substr(1))
    if ((c < '0' || c > '9') && c != ':') return false;
  return true;
}

}  // namespace

bool TryParseIsoDateTime(std::string_view text, TDateTime& result, bool& hasDate, bool& hasTime) {
  text = Trim(text);
  size_t pos = 0;
  TDateTime date = 0, time = 0;
  hasDate = hasTime = false;
  if (text.size() >= 10 && text[4] == '-') {
    int year, month, day;
    if (!ReadDigits(text, pos, 4, year) || text[pos++] != '-' || !ReadDigits(text, pos, 2, month) ||
        text[pos++] != '-' || !ReadDigits(text, pos, 2, day) ||
        !TryEncodeDate(year, month, day, date))
      return false;
    hasDate = true;
    if (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T')) ++pos;
  }
  if (pos < text.size() && (pos + 2 < text.size() && text[pos + 2] == ':')) {
    if (!ReadTime(text, pos, time)) return false;
    hasTime = true;
  }
  if ((!hasDate && !hasTime) || !IsTimeZone(text.substr(pos))) return false;
  result = date < 0 ? date - time : date + time;
  return true;
}

void ThrowInvalidFieldText(std::string_view text, const char* what, std::string_view fieldName) {
  throw EConvertError(Format("'%s' is not a valid %s value for field '%s'",
                             std::string(text).c_str(), what, std::string(fieldName).c_str()));
}

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::string DatabaseTextToAnsi(std::string_view utf8) {
  return IsAscii(utf8) ? std::string(utf8) : Utf8ToAnsi(utf8);
}

std::string AnsiToDatabaseText(std::string_view ansi) {
  return IsAscii(ansi) ? std::string(ansi) : AnsiToUtf8(ansi);
}

std::string IsoDateTimeText(TDateTime value, bool withDate, bool withTime) {
  int year, month, day, hour, minute, second, msec;
  DecodeDateTime(value, year, month, day, hour, minute, second, msec);
  char text[40];
  int length = 0;
  if (withDate) length = std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  if (withTime) {
    length += std::snprintf(text + length, sizeof text - length, "%s%02d:%02d:%02d",
                            withDate ? " " : "", hour, minute, second);
    if (msec != 0) length += std::snprintf(text + length, sizeof text - length, ".%03d", msec);
  }
  return std::string(text, length);
}

}  // namespace Vdei
