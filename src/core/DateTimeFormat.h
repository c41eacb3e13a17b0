// Texts of dates and times under the process regional settings
// (FormatSettings()).
//
// FormatDateTime format letters, case-insensitive unless stated:
//   yyyy four-digit year; yy two-digit year
//   m / mm month (1 / 01), mmm short month name, mmmm long month name;
//     "m" right after an hour specifier (h, hh) means minutes, as "n" does
//   d / dd day, ddd short day name, dddd long day name
//   h / hh hour, n / nn minute, s / ss second, z / zzz millisecond
//   am/pm  "am" or "pm" in the case written; a/p likewise; ampm the
//     TimeAMString / TimePMString; any of these makes h a 12-hour clock
//   /  the DateSeparator, :  the TimeSeparator
//   "text" or 'text' copied as it stands; any other character is copied.
// An empty format formats as "c": the short date, then a blank and the long
// time unless the time of day is exactly 0.
#pragma once

#include <string>
#include <string_view>

#include "core/DateTime.h"

namespace Vdei {

std::string FormatDateTime(std::string_view format, TDateTime value);

std::string DateToStr(TDateTime value);      // ShortDateFormat
std::string TimeToStr(TDateTime value);      // LongTimeFormat
std::string DateTimeToStr(TDateTime value);  // date, and " " + time unless time is 0

// Reading texts written in the short date format's order (M/D/Y for the
// default profile) with the DateSeparator; two numbers are month and day
// (in that order) of the current year; a first number of three or four
// digits is the year (2001/3/15). A year of one or two digits is placed in
// the 100 years that begin 50 years before the current year (Now()).
// Times are h:n[:s[.z]] with an optional AM/PM designator (the settings'
// or the English ones) before or after; a bare hour needs the designator
// ("3 PM"). A date-time is a date, blanks and a time, or either alone.
// Blanks around the text are ignored, anything else left over fails.
// Failures raise EConvertError "'%s' is not a valid date" / "... time" /
// "... date and time".
bool TryStrToDate(std::string_view text, TDateTime& result);
bool TryStrToTime(std::string_view text, TDateTime& result);
bool TryStrToDateTime(std::string_view text, TDateTime& result);
TDateTime StrToDate(std::string_view text);
TDateTime StrToTime(std::string_view text);
TDateTime StrToDateTime(std::string_view text);

}  // namespace Vdei
