#include "core/DateTimeFormat.h"

#include <charconv>

#include "core/FormatSettings.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool StartsWithText(std::string_view s, size_t at, std::string_view word) {
  return s.size() - at >= word.size() && SameText(s.substr(at, word.size()), word);
}

// Writes one date-time value by format; the date and time are decoded once.
class DateTimeWriter {
 public:
  DateTimeWriter(TDateTime value, const TFormatSettings& settings, std::string& out)
      : value_(value), fs_(settings), out_(out) {
    DecodeDateTime(value, year_, month_, day_, hour_, minute_, second_, msec_);
  }

  void Write(std::string_view format, int depth) {
    if (format.empty()) format = "c";
    char lastLetter = 0;
    size_t i = 0;
    while (i < format.size()) {
      char c = format[i];
      char token = Upper(c);
      size_t count = RunLength(format, i);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastLetter == 'H') token = 'N';
        lastLetter = token;
      }
      switch (token) {
        case 'Y':
          AppendNumber(count <= 2 ? year_ % 100 : year_, count <= 2 ? 2 : 4);
          break;
        case 'M':
          WriteMonth(count);
          break;
        case 'D':
          WriteDay(count, depth);
          break;
        case 'H':
          AppendNumber(TwelveHourAhead(format, i + count) ? Hour12() : hour_, Width(count, 2));
          break;
        case 'N':
          AppendNumber(minute_, Width(count, 2));
          break;
        case 'S':
          AppendNumber(second_, Width(count, 2));
          break;
        case 'Z':
          AppendNumber(msec_, Width(count, 3));
          break;
        case 'T':
          Nested(count == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, depth);
          break;
        case 'C':
          WriteShortDateTime(depth);
          break;
        case 'A':
          count = WriteDesignator(format, i);
          break;
        case '/':
          out_ += fs_.DateSeparator;
          count = 1;
          break;
        case ':':
          out_ += fs_.TimeSeparator;
          count = 1;
          break;
        case '"':
        case '\'':
          count = CopyQuoted(format, i);
          break;
        default:
          out_.append(format.substr(i, count));
          break;
      }
      i += count;
    }
  }

 private:
  static constexpr int kMaxNesting = 2;

  static size_t RunLength(std::string_view format, size_t at) {
    char token = Upper(format[at]);
    size_t end = at + 1;
    while (end < format.size() && Upper(format[end]) == token) ++end;
    return end - at;
  }
  static int Width(size_t count, int max) {
    return count >= static_cast<size_t>(max) ? max : static_cast<int>(count);
  }

  // Whether the hour at this point is written on a 12-hour clock: an
  // am/pm designator follows before the next hour specifier.
  static bool TwelveHourAhead(std::string_view format, size_t from) {
    char quote = 0;
    for (size_t i = from; i < format.size(); ++i) {
      char c = format[i];
      if (quote != 0) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == 'h' || c == 'H') {
        return false;
      } else if (c == 'a' || c == 'A') {
        return StartsWithText(format, i, "am/pm") || StartsWithText(format, i, "a/p") ||
               StartsWithText(format, i, "ampm");
      }
    }
    return false;
  }

  int Hour12() const {
    int h = hour_ % 12;
    return h == 0 ? 12 : h;
  }

  void AppendNumber(int value, int width) {
    char buffer[16];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    (void)ec;
    for (int pad = width - static_cast<int>(end - buffer); pad > 0; --pad) out_ += '0';
    out_.append(buffer, end);
  }

  void WriteMonth(size_t count) {
    if (count <= 2) {
      AppendNumber(month_, static_cast<int>(count));
    } else if (month_ >= 1 && month_ <= 12) {
      out_ += (count == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames)[month_ - 1];
    }
  }

  void WriteDay(size_t count, int depth) {
    int weekday = DayOfWeek(value_) - 1;
    switch (count) {
      case 1:
      case 2:
        AppendNumber(day_, static_cast<int>(count));
        break;
      case 3:
        out_ += fs_.ShortDayNames[weekday];
        break;
      case 4:
        out_ += fs_.LongDayNames[weekday];
        break;
      case 5:
        Nested(fs_.ShortDateFormat, depth);
        break;
      default:
        Nested(fs_.LongDateFormat, depth);
        break;
    }
  }

  void WriteShortDateTime(int depth) {
    Nested(fs_.ShortDateFormat, depth);
    if (hour_ != 0 || minute_ != 0 || second_ != 0 || msec_ != 0) {
      out_ += ' ';
      Nested(fs_.LongTimeFormat, depth);
    }
  }

  void Nested(std::string_view format, int depth) {
    if (depth < kMaxNesting && !format.empty()) Write(format, depth + 1);
  }

  // am/pm, a/p (in the case written) and ampm (the settings' strings);
  // any other 'a' is copied. Returns the characters consumed.
  size_t WriteDesignator(std::string_view format, size_t at) {
    bool pm = hour_ >= 12;
    if (StartsWithText(format, at, "am/pm")) {
      out_.append(format.substr(at + (pm ? 3 : 0), 2));
      return 5;
    }
    if (StartsWithText(format, at, "a/p")) {
      out_ += format[at + (pm ? 2 : 0)];
      return 3;
    }
    if (StartsWithText(format, at, "ampm")) {
      out_ += pm ? fs_.TimePMString : fs_.TimeAMString;
      return 4;
    }
    out_ += format[at];
    return 1;
  }

  // Copies the text between quotes (to the end when unterminated).
  size_t CopyQuoted(std::string_view format, size_t at) {
    size_t close = format.find(format[at], at + 1);
    size_t end = close == std::string_view::npos ? format.size() : close;
    out_.append(format.substr(at + 1, end - at - 1));
    return (close == std::string_view::npos ? end : close + 1) - at;
  }

  TDateTime value_;
  const TFormatSettings& fs_;
  std::string& out_;
  int year_, month_, day_, hour_, minute_, second_, msec_;
};

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value) {
  // Written into a per-thread scratch text that keeps its capacity, so the
  // result is the only allocation.
  thread_local std::string scratch;
  scratch.clear();
  DateTimeWriter(value, FormatSettings(), scratch).Write(format, 0);
  return std::string(scratch);
}

std::string DateToStr(TDateTime value) {
  return FormatDateTime(FormatSettings().ShortDateFormat, value);
}

std::string TimeToStr(TDateTime value) {
  return FormatDateTime(FormatSettings().LongTimeFormat, value);
}

std::string DateTimeToStr(TDateTime value) {
  return FormatDateTime("c", value);
}

}  // namespace Vdei
