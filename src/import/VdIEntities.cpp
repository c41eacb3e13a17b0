#include "import/VdIEntities.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/CodePage.h"

namespace VdImport {

namespace {

struct NamedEntity {
  std::string_view Name;  // without '&' and ';'
  std::string_view Text;
};

// The inverse of the export's escape table, plus the non-breaking space.
constexpr std::array<NamedEntity, 14> kNamedEntities{{
    {"car", "\n"},
    {"ret", "\r"},
    {"quot", "\""},
    {"amp", "&"},
    {"apos", "'"},
    {"lt", "<"},
    {"gt", ">"},
    {"brvbar", "|"},
    {"trade", "\x99"},
    {"copy", "\xA9"},
    {"deg", "\xB0"},
    {"plusmn", "\xB1"},
    {"para", "\xB6"},
    {"nbsp", ""},
}};

constexpr size_t kLongestName = 6;

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// The end of the entity's text: after its ';', or the end of the text.
// npos when neither follows at end.
size_t EntityEnd(std::string_view text, size_t end) {
  if (end == text.size()) return end;
  return text[end] == ';' ? end + 1 : std::string_view::npos;
}

// A numeric reference at text[at] ("&#..."): its byte and the length taken,
// or 0 when it is none.
size_t DecodeNumeric(std::string_view text, size_t at, char& byte) {
  size_t i = at + 2;
  int base = 10;
  if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) base = 16, ++i;
  const size_t digitsStart = i;
  uint32_t code = 0;
  for (int d; i < text.size() && (d = DigitValue(text[i], base)) >= 0; ++i) {
    if (code > 0x10FFFF) return 0;
    code = code * base + d;
  }
  const size_t end = EntityEnd(text, i);
  if (i == digitsStart || end == std::string_view::npos || code == 0 || code > 0x10FFFF) return 0;
  byte = Vdei::UnicodeToAnsi(code);
  return end - at;
}

// A named entity at text[at]: its replacement and the length taken, or 0.
size_t DecodeNamed(std::string_view text, size_t at, std::string_view& replacement) {
  size_t i = at + 1;
  while (i < text.size() && i - at - 1 < kLongestName && IsNameChar(text[i])) ++i;
  const std::string_view name = text.substr(at + 1, i - at - 1);
  if (name.empty()) return 0;
  // "&nbsp" is written without its ';' before other text too.
  if (name.substr(0, 4) == "nbsp" && (i == text.size() || text[i] != ';')) {
    replacement = {};
    return 5;
  }
  const size_t end = EntityEnd(text, i);
  if (end == std::string_view::npos) return 0;
  for (const NamedEntity& entity : kNamedEntities) {
    if (entity.Name == name) {
      replacement = entity.Text;
      return end - at;
    }
  }
  return 0;
}

}  // namespace

std::string_view DecodeEntities(std::string_view text, std::string& buffer) {
  size_t at = text.find('&');
  if (at == std::string_view::npos) return text;
  buffer.clear();
  buffer.reserve(text.size());
  size_t copied = 0;  // text before this position is in buffer
  while (at != std::string_view::npos) {
    size_t length = 0;
    char byte = 0;
    std::string_view replacement;
    if (at + 1 < text.size() && text[at + 1] == '#') {
      length = DecodeNumeric(text, at, byte);
      replacement = std::string_view(&byte, 1);
    } else {
      length = DecodeNamed(text, at, replacement);
    }
    if (length == 0) {
      at = text.find('&', at + 1);
      continue;
    }
    buffer.append(text.data() + copied, at - copied);
    buffer.append(replacement);
    copied = at + length;
    at = text.find('&', copied);
  }
  buffer.append(text.data() + copied, text.size() - copied);
  return buffer;
}

std::string DecodeEntities(std::string_view text) {
  std::string buffer;
  return std::string(DecodeEntities(text, buffer));
}

bool IsUtf8Encoding(std::string_view name) {
  std::string lower;
  for (char c : name) {
    if (c != '-' && c != '_') lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  return lower == "utf8";
}

std::string_view DecodeCellText(std::string_view raw, bool fromUtf8, std::string& buffer,
                                int& replaced) {
  const bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return (c & 0x80) == 0; });
  if (!fromUtf8 || ascii) return DecodeEntities(raw, buffer);
  std::string converted = Vdei::Utf8ToAnsi(raw, replaced);
  if (converted.find('&') == std::string::npos) {
    buffer = std::move(converted);
    return buffer;
  }
  return DecodeEntities(converted, buffer);
}

}  // namespace VdImport
