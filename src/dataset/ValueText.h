// Texts of values as databases store them, shared by the fields and the
// SQL backends: exact decimal texts, ISO 8601 dates, and the conversion
// error that names a field.
#pragma once

#include <string>
#include <string_view>

#include "core/DateTime.h"

namespace Vdei {

// The canonical text of a plain decimal: optional '-', digits without
// leading zeros, a fraction without trailing zeros ("0.5", "-12",
// "1234.5"). The decimal point is '.' or `separator`. False when the text
// is no plain decimal (no digits, an exponent, other characters).
bool CanonicalDecimal(std::string_view text, char separator, std::string& result);

// "2001-03-15", "2001-03-15 14:30:05.123" (or with 'T'), "14:30:05[.fff]";
// a trailing time zone ("+02", "Z") is ignored. hasDate / hasTime tell
// which parts the text had. False when it is none of these or names an
// impossible date or time.
bool TryParseIsoDateTime(std::string_view text, TDateTime& result, bool& hasDate, bool& hasTime);

// "2001-03-15", "14:30:05", "2001-03-15 14:30:05", with ".123" after the
// seconds when the milliseconds are not 0: texts TryParseIsoDateTime reads.
std::string IsoDateTimeText(TDateTime value, bool withDate, bool withTime);

// EConvertError "'%s' is not a valid <what> value for field '%s'".
[[noreturn]] void ThrowInvalidFieldText(std::string_view text, const char* what,
                                        std::string_view fieldName);

// Whether every byte is below 0x80 (ASCII reads the same in UTF-8 and in
// every ANSI code page).
bool IsAscii(std::string_view text);

// Database text (UTF-8) in the ANSI code page; ASCII passes unchanged
// without a conversion call.
std::string DatabaseTextToAnsi(std::string_view utf8);
// ANSI text as database text (UTF-8).
std::string AnsiToDatabaseText(std::string_view ansi);

}  // namespace Vdei
