// Reading date and time texts (TryStrToDate and friends of
// DateTimeFormat.h).
#include <string>

#include "core/DateTimeFormat.h"
#include "core/Exception.h"
#include "core/FormatSettings.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

enum TDateOrder { doMDY, doDMY, doYMD };

constexpr int kTwoDigitYearWindow = 50;

// The order of day, month and year in a short date format.
TDateOrder DateOrderOf(std::string_view format) {
  for (char c : format) {
    switch (c) {
      case 'd':
      case 'D':
        return doDMY;
      case 'y':
      case 'Y':
        return doYMD;
      case 'm':
      case 'M':
        return doMDY;
      default:
        break;
    }
  }
  return doMDY;
}

int CurrentYear() {
  int year, month, day;
  DecodeDate(Now(), year, month, day);
  return year;
}

// Places a two-digit year in the 100 years beginning 50 years ago.
int ExpandYear(int year, int digits) {
  if (digits > 2) return year;
  int base = CurrentYear() - kTwoDigitYearWindow;
  year += base / 100 * 100;
  if (year < base) year += 100;
  return year;
}

// A cursor over a text that reads numbers, separators and words.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : s_(text) {}

  bool AtEnd() const { return i_ >= s_.size(); }
  size_t Position() const { return i_; }
  void SetPosition(size_t i) { i_ = i; }
  void SkipBlanks() {
    while (i_ < s_.size() && s_[i_] == ' ') ++i_;
  }
  // Up to four digits; digits gets how many were read (0: none).
  bool Number(int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9' && digits < 4) {
      value = value * 10 + (s_[i_++] - '0');
      ++digits;
    }
    if (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') return false;
    return digits > 0;
  }
  bool Char(char c) {
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view word) {
    if (word.empty() || s_.size() - i_ < word.size() ||
        !SameText(s_.substr(i_, word.size()), word)) {
      return false;
    }
    i_ += word.size();
    return true;
  }

 private:
  std::string_view s_;
  size_t i_ = 0;
};

bool ScanDate(Scanner& scan, TDateTime& result) {
  const TFormatSettings& fs = FormatSettings();
  int n[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int parts = 0;
  if (!scan.Number(n[0], digits[0])) return false;
  parts = 1;
  while (parts < 3 && scan.Char(fs.DateSeparator)) {
    if (!scan.Number(n[parts], digits[parts])) return false;
    ++parts;
  }
  if (parts < 2) return false;
  TDateOrder order = DateOrderOf(fs.ShortDateFormat);
  int year, month, day;
  if (parts == 2) {
    year = CurrentYear();
    bool dayFirst = order == doDMY;
    day = dayFirst ? n[0] : n[1];
    month = dayFirst ? n[1] : n[0];
    return TryEncodeDate(year, month, day, result);
  }
  int yearDigits;
  if (order == doYMD || digits[0] > 2) {
    year = n[0], month = n[1], day = n[2], yearDigits = digits[0];
  } else if (order == doDMY) {
    day = n[0], month = n[1], year = n[2], yearDigits = digits[2];
  } else {
    month = n[0], day = n[1], year = n[2], yearDigits = digits[2];
  }
  return TryEncodeDate(ExpandYear(year, yearDigits), month, day, result);
}

// AM / PM by the settings' designators or the English ones; 0 none, 1 AM,
// 2 PM.
int ScanDesignator(Scanner& scan) {
  const TFormatSettings& fs = FormatSettings();
  if (scan.Word(fs.TimeAMString) || scan.Word("AM")) return 1;
  if (scan.Word(fs.TimePMString) || scan.Word("PM")) return 2;
  return 0;
}

bool ScanTime(Scanner& scan, TDateTime& result) {
  const TFormatSettings& fs = FormatSettings();
  int designator = ScanDesignator(scan);
  if (designator != 0) scan.SkipBlanks();
  int hour = 0, minute = 0, second = 0, msec = 0, digits = 0;
  if (!scan.Number(hour, digits)) return false;
  bool hasMinutes = scan.Char(fs.TimeSeparator);
  if (hasMinutes) {
    if (!scan.Number(minute, digits)) return false;
    if (scan.Char(fs.TimeSeparator)) {
      if (!scan.Number(second, digits)) return false;
      if (scan.Char(fs.DecimalSeparator) || scan.Char('.')) {
        if (!scan.Number(msec, digits)) return false;
        for (; digits < 3; ++digits) msec *= 10;
      }
    }
  }
  if (designator == 0) {
    size_t beforeBlanks = scan.Position();
    scan.SkipBlanks();
    designator = ScanDesignator(scan);
    if (designator == 0) scan.SetPosition(beforeBlanks);
  }
  // A bare number is a time only with a designator ("3 PM").
  if (!hasMinutes && designator == 0) return false;
  if (designator != 0) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (designator == 2 ? 12 : 0);
  }
  return TryEncodeTime(hour, minute, second, msec, result);
}

bool ScanAll(std::string_view text, bool (*scan)(Scanner&, TDateTime&), TDateTime& result) {
  Scanner s(Trim(text));
  TDateTime value = 0;
  if (!scan(s, value) || !s.AtEnd()) return false;
  result = value;
  return true;
}

[[noreturn]] void ThrowInvalid(std::string_view text, const char* what) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

}  // namespace

bool TryStrToDate(std::string_view text, TDateTime& result) {
  return ScanAll(text, ScanDate, result);
}

bool TryStrToTime(std::string_view text, TDateTime& result) {
  return ScanAll(text, ScanTime, result);
}

bool TryStrToDateTime(std::string_view text, TDateTime& result) {
  std::string_view trimmed = Trim(text);
  Scanner scan(trimmed);
  TDateTime date = 0;
  if (!ScanDate(scan, date)) return TryStrToTime(trimmed, result);
  if (scan.AtEnd()) {
    result = date;
    return true;
  }
  size_t beforeBlanks = scan.Position();
  scan.SkipBlanks();
  TDateTime time = 0;
  if (scan.Position() == beforeBlanks || !ScanTime(scan, time) || !scan.AtEnd()) return false;
  result = ComposeDateTime(date, time);
  return true;
}

TDateTime StrToDate(std::string_view text) {
  TDateTime result = 0;
  if (!TryStrToDate(text, result)) ThrowInvalid(text, "date");
  return result;
}

TDateTime StrToTime(std::string_view text) {
  TDateTime result = 0;
  if (!TryStrToTime(text, result)) ThrowInvalid(text, "time");
  return result;
}

TDateTime StrToDateTime(std::string_view text) {
  TDateTime result = 0;
  if (!TryStrToDateTime(text, result)) ThrowInvalid(text, "date and time");
  return result;
}

}  // namespace Vdei
