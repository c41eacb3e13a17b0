// Text routines shared by every library: printf-style formatting of
// message texts, case-insensitive comparison (ASCII letters only, as texts
// are single-byte code-page strings), trimming and splitting.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Vdei {

// printf-style formatting into a std::string ("%s" takes a const char*).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A message text with its first "%s" replaced by argument and each "%%" by
// "%"; every other character, other '%' sequences included, stays as it
// is, so a text replaced by a translation can never read a missing
// argument.
std::string FormatMessageText(std::string_view text, std::string_view argument);

std::string UpperCase(std::string_view s);  // ASCII letters only
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);    // case-insensitive equality
int CompareText(std::string_view a, std::string_view b);  // case-insensitive, <0 / 0 / >0

// Hash and equality without regard to case, transparent, so that maps keyed
// by std::string can be searched with a std::string_view without building a
// key: std::unordered_map<std::string, T, TextHash, TextEqual>.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept;
};
struct TextEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept { return SameText(a, b); }
};

// Trim removes bytes <= ' ' (blanks and control characters) from both ends.
std::string_view Trim(std::string_view s);
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);

// Position of needle in s, 0-based, std::string::npos when absent.
size_t Pos(std::string_view needle, std::string_view s);
size_t PosText(std::string_view needle, std::string_view s);  // case-insensitive

// Splits s at every separator; an empty s gives one empty piece.
std::vector<std::string> Split(std::string_view s, char separator);

// Path helpers: the directory part with its trailing '/', the name without
// directory, and the extension (with its dot, empty when none) of a path.
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view extension);

}  // namespace Vdei
