// VdIUtils: reading dates and numbers from the texts of source cells.
//
// A mask is a string of upper-case letters and delimiters: D day, M month,
// Y year, H hour, N minute, S second, Z millisecond; any other letter (such
// as T) stands for one character that is ignored. The delimiters are the
// blank, "/", ":" and the date and time separators given.
//
// ParseDateTime(Text, Mask, DateSeparator, TimeSeparator) lines the mask up
// with the text and reads each part from the text characters under its
// letters:
//   - where the text has a delimiter and the mask a letter, the letter is
//     dropped when it repeats the letter before it (a part written with
//     fewer digits: 1/5/2001 against MM/DD/YYYY reads as M/D/YYYY), else
//     the text's delimiter is taken into the mask there (14:30 against
//     HHNN);
//   - where the mask has a delimiter and the text none, the mask's
//     delimiter is dropped (19880113 against YYYY/MM/DD);
//   - a placeholder letter that meets a digit is dropped (070509 against
//     THH:NN:SS; 03/15/2001 14:30:00 against MM/DD/YYYY THH:NN:SS);
//   - a month name longer than its M letters takes the following letters
//     too (MARCH against MMM).
// An AM or PM designator (the regional settings' texts, "AM" / "PM" when
// they are empty; any letter case) standing as a word of its own is no part
// of any number: with PM the hours 1 to 11 gain 12, with AM the hour 12 is
// 0. A month of three or more characters is read by name (English short or
// long names, or the regional settings' names, any letter case). A year
// below 100 is placed in the hundred years that begin 50 years before the
// current year of Vdei::Now() (in 2026: 76..99 give 1976..1999, 00..75 give
// 2000..2075).
// The result is the date (when day, month and year were all found) plus the
// time (when hour and minute were found; second and millisecond default to
// 0), and 0 when neither was found. A part that is not a number, a month
// name that matches no month, or a date or time that does not exist
// (31 February, 25:00) raises EConvertError.
#pragma once

#include <string>
#include <string_view>

#include "core/DateTime.h"
#include "import/VdIDataFormats.h"

namespace VdImport {

// The format kind of the XML reader: its time mask starts with "T".
constexpr int kImportKindXML = 7;

// HH, time separator, NN, time separator, SS; with importKind 7 (the XML
// reader) with "T" in front. A NUL separator gives no separator.
std::string GetTimeMask(const TVdIDataFormats& formats, int importKind);
// The upper-case CustomDateTimeFormat when it is set; otherwise the date
// parts in DateOrder (DD, MM, YY or YYYY with FourDigitYear) joined by the
// date separator, a blank and GetTimeMask: MM/DD/YYYY HH:NN:SS for doMDY.
std::string GetDateTimeMask(const TVdIDataFormats& formats, int importKind);

Vdei::TDateTime ParseDateTime(std::string_view text, std::string_view mask, char dateSeparator,
                              char timeSeparator);

// True when the whole text is a decimal number: optional leading blanks, a
// sign, digits with at most one decimal separator, an optional exponent
// (E, optional sign, digits), nothing after it. The first form takes the
// process regional settings' decimal separator.
bool IsNumeric(std::string_view text);
bool IsNumeric(std::string_view text, char decimalSeparator);

}  // namespace VdImport
