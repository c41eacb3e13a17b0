// Code pages: the active ANSI code page of the process (a platform setting,
// default 1252), the OEM code page (437), and conversions between them and
// UTF-8 through iconv.
//
// AnsiToOem and OemToAnsi map byte for byte (the result has the input's
// length); a character the target code page lacks becomes '?'.
// Utf8ToAnsi turns each character the ANSI code page lacks, and each
// invalid UTF-8 sequence (stray, overlong, surrogate or cut short), into
// one '?'. AnsiToUtf8 is exact: the bytes a code page leaves undefined
// (0x81, 0x8D... in 1252) pass as U+0081... and come back unchanged.
// The tables of a code page are built once, through iconv; conversions
// are table look-ups. Code pages are single-byte ones.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Vdei {

int ActiveAnsiCodePage();
// EConvertError "Code page %d is not supported" for one iconv lacks or
// one with multi-byte characters (932, 65001...).
void SetActiveAnsiCodePage(int codePage);
int ActiveOemCodePage();

std::string AnsiToOem(std::string_view text);
std::string OemToAnsi(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);
// The same, adding to replaced the number of '?' written for characters
// the code page lacks or invalid sequences.
std::string Utf8ToAnsi(std::string_view text, int& replaced);
// The active ANSI code page's byte for the character u; '?' when it has none.
char UnicodeToAnsi(char32_t u);
std::string AnsiToUtf8(std::string_view text);
// How many characters Utf8ToAnsi has turned into '?' since the process
// started, in all threads: callers take the difference around a run.
uint64_t ReplacedCharacterCount();

}  // namespace Vdei
