#include "core/StrUtils.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace Vdei {

namespace {

char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsTrimmed(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

size_t LastPathSeparator(std::string_view path) {
  return path.find_last_of("/\\");
}

}  // namespace

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string result;
  if (length < 0) {
    va_end(copy);
    return result;
  }
  if (static_cast<size_t>(length) < sizeof small) {
    result.assign(small, static_cast<size_t>(length));
  } else {
    result.resize(static_cast<size_t>(length));
    std::vsnprintf(result.data(), result.size() + 1, format, copy);
  }
  va_end(copy);
  return result;
}

std::string UpperCase(std::string_view s) {
  std::string result(s);
  for (char& c : result) c = AsciiUpper(c);
  return result;
}

std::string LowerCase(std::string_view s) {
  std::string result(s);
  for (char& c : result) c = AsciiLower(c);
  return result;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

size_t TextHash::operator()(std::string_view s) const noexcept {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (char c : s) {
    hash ^= static_cast<unsigned char>(AsciiUpper(c));
    hash *= 1099511628211ull;
  }
  return static_cast<size_t>(hash);
}

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(AsciiUpper(a[i]));
    unsigned char y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string_view TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsTrimmed(s[i])) ++i;
  return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsTrimmed(s[n - 1])) --n;
  return s.substr(0, n);
}

std::string_view Trim(std::string_view s) {
  return TrimRight(TrimLeft(s));
}

size_t Pos(std::string_view needle, std::string_view s) {
  return s.find(needle);
}

size_t PosText(std::string_view needle, std::string_view s) {
  auto it = std::search(s.begin(), s.end(), needle.begin(), needle.end(),
                        [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
  if (it == s.end() && !needle.empty()) return std::string::npos;
  return static_cast<size_t>(it - s.begin());
}

std::vector<std::string> Split(std::string_view s, char separator) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    size_t end = s.find(separator, start);
    if (end == std::string_view::npos) {
      pieces.emplace_back(s.substr(start));
      return pieces;
    }
    pieces.emplace_back(s.substr(start, end - start));
    start = end + 1;
  }
}

std::string ExtractFilePath(std::string_view path) {
  size_t slash = LastPathSeparator(path);
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileName(std::string_view path) {
  size_t slash = LastPathSeparator(path);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFileExt(std::string_view path) {
  size_t dot = path.find_last_of('.');
  size_t slash = LastPathSeparator(path);
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view extension) {
  std::string ext = ExtractFileExt(path);
  std::string result(path.substr(0, path.size() - ext.size()));
  result += extension;
  return result;
}

std::string FormatMessageText(std::string_view text, std::string_view argument) {
  std::string result;
  result.reserve(text.size() + argument.size());
  bool argumentUsed = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool directive = text[i] == '%' && i + 1 < text.size();
    if (directive && text[i + 1] == '%') {
      result += '%';
      ++i;
    } else if (directive && text[i + 1] == 's' && !argumentUsed) {
      result += argument;
      argumentUsed = true;
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

}  // namespace Vdei
