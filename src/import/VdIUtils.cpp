#include "import/VdIUtils.h"

#include <array>

#include "core/Exception.h"
#include "core/FormatSettings.h"
#include "core/StrUtils.h"

namespace VdImport {

using Vdei::TDateTime;

namespace {

std::string SeparatorText(char separator) {
  return separator == '\0' ? std::string() : std::string(1, separator);
}

std::string DatePartMask(char letter, bool fourDigitYear) {
  return std::string(letter == 'Y' && fourDigitYear ? 4 : 2, letter);
}

// The letters of the date parts for each TVdIDateOrder, in order.
constexpr std::array<const char*, 6> kDateOrderLetters = {"MDY", "DMY", "YMD", "YDM", "DYM", "MYD"};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

class TDelimiters {
 public:
  TDelimiters(char dateSeparator, char timeSeparator) {
    for (char c : {' ', '/', ':', dateSeparator, timeSeparator})
      set_[static_cast<uint8_t>(c)] = true;
  }
  bool operator()(char c) const { return set_[static_cast<uint8_t>(c)]; }

 private:
  std::array<bool, 256> set_{};
};

// The texts read for each part of a date-time.
struct TDateTimeParts {
  std::string Day, Month, Year, Hour, Minute, Second, MSec;

  // Appends c to the part of the mask letter; placeholders drop it.
  void Append(char letter, char c) {
    std::string* part = nullptr;
    switch (letter) {
      case 'D':
        part = &Day;
        break;
      case 'M':
        part = &Month;
        break;
      case 'Y':
        part = &Year;
        break;
      case 'H':
        part = &Hour;
        break;
      case 'N':
        part = &Minute;
        break;
      case 'S':
        part = &Second;
        break;
      case 'Z':
        part = &MSec;
        break;
      default:
        return;
    }
    part->push_back(c);
  }
};

bool IsPartLetter(char letter) {
  return letter == 'D' || letter == 'M' || letter == 'Y' || letter == 'H' || letter == 'N' ||
         letter == 'S' || letter == 'Z';
}

// Lines the mask up with the text (see the header) and collects the text
// characters under each part letter.
TDateTimeParts CollectParts(std::string_view text, std::string_view mask,
                            const TDelimiters& isDelimiter) {
  TDateTimeParts parts;
  size_t i = 0, j = 0;
  char previous = '\0';      // the last character of the aligned mask
  bool inMonthName = false;  // the last text character was a letter under M
  while (i < text.size() && j < mask.size()) {
    const char t = text[i], m = mask[j];
    const bool maskDelimiter = isDelimiter(m);
    if (isDelimiter(t)) {
      if (maskDelimiter) {
        previous = m;
        ++j;
      } else if (m == previous) {
        ++j;  // the part was written with fewer characters than the mask has
        continue;
      } else {
        previous = t;  // the text's delimiter is taken into the mask here
      }
      ++i;
      inMonthName = false;
      continue;
    }
    if (inMonthName && IsLetter(t) && m != 'M') {
      parts.Month.push_back(t);  // a month name longer than its M letters
      ++i;
      continue;
    }
    if (maskDelimiter || (!IsPartLetter(m) && IsDigit(t))) {
      ++j;
      continue;
    }
    parts.Append(m, t);
    inMonthName = m == 'M' && IsLetter(t);
    previous = m;
    ++i;
    ++j;
  }
  return parts;
}

// Finds word in text (any letter case) where it is not part of a longer
// word; npos when absent.
size_t FindWord(std::string_view text, std::string_view word) {
  if (word.empty()) return std::string::npos;
  for (size_t at = Vdei::PosText(word, text); at != std::string::npos;) {
    const size_t end = at + word.size();
    if ((at == 0 || !IsLetter(text[at - 1])) && (end == text.size() || !IsLetter(text[end])))
      return at;
    const size_t next = Vdei::PosText(word, text.substr(at + 1));
    at = next == std::string::npos ? next : at + 1 + next;
  }
  return std::string::npos;
}

enum class TDayHalf { None, AM, PM };

// Removes an AM / PM designator from the text and tells which it was.
TDayHalf TakeDayHalf(std::string& text) {
  const Vdei::TFormatSettings& settings = Vdei::FormatSettings();
  const std::string pm = settings.TimePMString.empty() ? "PM" : settings.TimePMString;
  const std::string am = settings.TimeAMString.empty() ? "AM" : settings.TimeAMString;
  for (auto [designator, half] : {std::pair{&pm, TDayHalf::PM}, std::pair{&am, TDayHalf::AM}}) {
    const size_t at = FindWord(text, *designator);
    if (at != std::string::npos) {
      text.erase(at, designator->size());
      return half;
    }
  }
  return TDayHalf::None;
}

// A part text of decimal digits; anything else is no number.
int ReadNumber(const std::string& part) {
  if (part.empty() || part.size() > 9) {
    throw Vdei::EConvertError(Vdei::Format("'%s' is not a valid integer value", part.c_str()));
  }
  int value = 0;
  for (char c : part) {
    if (!IsDigit(c)) {
      throw Vdei::EConvertError(Vdei::Format("'%s' is not a valid integer value", part.c_str()));
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

constexpr std::array<const char*, 12> kEnglishShortMonths = {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr std::array<const char*, 12> kEnglishLongMonths = {
    "JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
    "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};

// The month 1..12 a name stands for, 0 when it names none.
int MonthByName(std::string_view name) {
  const Vdei::TFormatSettings& settings = Vdei::FormatSettings();
  for (int k = 0; k < 12; ++k) {
    if (Vdei::SameText(name, kEnglishShortMonths[k]) ||
        Vdei::SameText(name, kEnglishLongMonths[k]) ||
        Vdei::SameText(name, settings.ShortMonthNames[k]) ||
        Vdei::SameText(name, settings.LongMonthNames[k])) {
      return k + 1;
    }
  }
  return 0;
}

int ReadMonth(const std::string& part) {
  return part.size() < 3 ? ReadNumber(part) : MonthByName(part);
}

// Places a year below 100 in the hundred years that begin 50 years before
// the current year.
int WindowYear(int year) {
  if (year >= 100) return year;
  int currentYear, month, day;
  Vdei::DecodeDate(Vdei::Now(), currentYear, month, day);
  const int pivot = currentYear - 50;
  year += pivot / 100 * 100;
  if (year < pivot) year += 100;
  return year;
}

[[noreturn]] void ThrowInvalid(std::string_view text, const char* what) {
  throw Vdei::EConvertError(
      Vdei::Format("'%.*s' is not a valid %s", static_cast<int>(text.size()), text.data(), what));
}

TDateTime DatePart(const TDateTimeParts& parts, std::string_view text) {
  if (parts.Day.empty() || parts.Month.empty() || parts.Year.empty()) return 0;
  const int day = ReadNumber(parts.Day);
  const int month = ReadMonth(parts.Month);
  const int year = WindowYear(ReadNumber(parts.Year));
  TDateTime date;
  if (!Vdei::TryEncodeDate(year, month, day, date)) ThrowInvalid(text, "date");
  return date;
}

TDateTime TimePart(const TDateTimeParts& parts, TDayHalf half, std::string_view text) {
  if (parts.Hour.empty() || parts.Minute.empty()) return 0;
  int hour = ReadNumber(parts.Hour);
  const int minute = ReadNumber(parts.Minute);
  const int second = parts.Second.empty() ? 0 : ReadNumber(parts.Second);
  const int msec = parts.MSec.empty() ? 0 : ReadNumber(parts.MSec);
  if (half == TDayHalf::PM && hour >= 1 && hour <= 11) hour += 12;
  if (half == TDayHalf::AM && hour == 12) hour = 0;
  TDateTime time;
  if (!Vdei::TryEncodeTime(hour, minute, second, msec, time)) ThrowInvalid(text, "time");
  return time;
}

}  // namespace

std::string GetTimeMask(const TVdIDataFormats& formats, int importKind) {
  const std::string separator = SeparatorText(formats.TimeSeparator());
  return std::string(importKind == kImportKindXML ? "T" : "") + "HH" + separator + "NN" +
         separator + "SS";
}

std::string GetDateTimeMask(const TVdIDataFormats& formats, int importKind) {
  if (!formats.CustomDateTimeFormat().empty())
    return Vdei::UpperCase(formats.CustomDateTimeFormat());
  const std::string separator = SeparatorText(formats.DateSeparator());
  std::string mask;
  for (const char* letter = kDateOrderLetters[formats.DateOrder()]; *letter != '\0'; ++letter) {
    if (!mask.empty()) mask += separator;
    mask += DatePartMask(*letter, formats.FourDigitYear());
  }
  return mask + " " + GetTimeMask(formats, importKind);
}

namespace {

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The parts of a text that stands exactly under its mask: as long as the
// mask, a digit under every part letter, the mask's own character under
// every delimiter and placeholder, and no two placeholders side by side
// (so no AM / PM word can hide in the text). Lining up would change
// nothing there, so the parts are those CollectParts finds. False for any
// other text.
bool CollectAlignedParts(std::string_view text, std::string_view mask, TDateTimeParts& parts) {
  if (text.size() != mask.size()) return false;
  bool previousPlaceholder = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char m = Upper(mask[i]);
    const bool part = IsPartLetter(m);
    if (part != IsDigit(text[i])) return false;
    if (part) {
      parts.Append(m, text[i]);
      previousPlaceholder = false;
      continue;
    }
    const bool placeholder = IsLetter(m);
    if (Upper(text[i]) != m || (placeholder && previousPlaceholder)) return false;
    previousPlaceholder = placeholder;
  }
  return true;
}

}  // namespace

TDateTime ParseDateTime(std::string_view text, std::string_view mask, char dateSeparator,
                        char timeSeparator) {
  TDateTimeParts aligned;
  if (CollectAlignedParts(text, mask, aligned)) {
    return DatePart(aligned, text) + TimePart(aligned, TDayHalf::None, text);
  }
  std::string plain(text);
  const TDayHalf half = TakeDayHalf(plain);
  const TDateTimeParts parts =
      CollectParts(plain, Vdei::UpperCase(mask), TDelimiters(dateSeparator, timeSeparator));
  return DatePart(parts, text) + TimePart(parts, half, text);
}

bool IsNumeric(std::string_view text) {
  return IsNumeric(text, Vdei::FormatSettings().DecimalSeparator);
}

bool IsNumeric(std::string_view text, char decimalSeparator) {
  size_t i = 0;
  const size_t n = text.size();
  auto skipDigits = [&] {
    const size_t start = i;
    while (i < n && IsDigit(text[i])) ++i;
    return i - start;
  };
  auto skipSign = [&] {
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  };
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  skipSign();
  size_t digits = skipDigits();
  if (i < n && text[i] == decimalSeparator) {
    ++i;
    digits += skipDigits();
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    skipSign();
    if (skipDigits() == 0) return false;
  }
  return i == n;
}

}  // namespace VdImport
