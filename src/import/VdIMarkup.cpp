#include "import/VdIMarkup.h"

#include <cstring>

#include "core/StrUtils.h"

namespace VdImport {

namespace {

bool StartsAt(std::string_view text, size_t pos, std::string_view prefix) {
  return text.substr(pos, prefix.size()) == prefix;
}

size_t SkipPast(std::string_view text, size_t pos, std::string_view end) {
  const size_t at = text.find(end, pos);
  return at == std::string_view::npos ? text.size() : at + end.size();
}

}  // namespace

bool SkipCommentOrCData(std::string_view text, size_t& pos) {
  if (pos + 1 >= text.size() || text[pos + 1] != '!') return false;
  if (StartsAt(text, pos, "<!--")) {
    pos = SkipPast(text, pos + 4, "-->");
    return true;
  }
  if (StartsAt(text, pos, "<![CDATA[")) {
    pos = SkipPast(text, pos + 9, "]]>");
    return true;
  }
  return false;
}

size_t TagClose(std::string_view text, size_t pos) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  for (const char* p = begin + pos; p < end; ++p) {
    const char c = *p;
    if (c == '>') return static_cast<size_t>(p - begin);
    if (c != '"' && c != '\'') continue;
    // A quote opens a value only after "=" (blanks between allowed).
    size_t before = static_cast<size_t>(p - begin);
    while (before > 0 && IsBlank(begin[before - 1])) --before;
    if (before == 0 || begin[before - 1] != '=') continue;
    p = static_cast<const char*>(std::memchr(p + 1, c, static_cast<size_t>(end - p - 1)));
    if (p == nullptr) return std::string_view::npos;
  }
  return std::string_view::npos;
}

size_t TagNameEnd(std::string_view text, size_t pos) {
  size_t end = pos + 1;
  if (end < text.size() && text[end] == '/') ++end;
  while (end < text.size() && !IsBlank(text[end]) && text[end] != '>' && text[end] != '/' &&
         text[end] != '<') {
    ++end;
  }
  return end;
}

bool IsTag(std::string_view head, std::string_view name) {
  return head.size() == name.size() + 1 && head[0] == '<' && Vdei::SameText(head.substr(1), name);
}

bool IsClosingTag(std::string_view head, std::string_view name) {
  return head.size() == name.size() + 2 && head.substr(0, 2) == "</" &&
         Vdei::SameText(head.substr(2), name);
}

size_t ElementEnd(std::string_view text, size_t pos, size_t& contentEnd) {
  int depth = 1;
  while (true) {
    pos = text.find('<', pos);
    if (pos == std::string_view::npos) break;
    if (SkipCommentOrCData(text, pos)) continue;
    const size_t start = pos;
    const size_t close = TagClose(text, pos + 1);
    if (close == std::string_view::npos) break;
    pos = close + 1;
    const char kind = start + 1 < text.size() ? text[start + 1] : 0;
    if (kind == '/') {
      if (--depth == 0) {
        contentEnd = start;
        return pos;
      }
    } else if (kind != '?' && kind != '!' && text[close - 1] != '/') {
      ++depth;
    }
  }
  contentEnd = text.size();
  return text.size();
}

}  // namespace VdImport
