#include "export/VdEXMLText.h"

#include <algorithm>
#include <cstdint>

namespace VdExport {

namespace {

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

uint32_t Byte(std::string_view s, size_t i) {
  return static_cast<unsigned char>(s[i]);
}

}  // namespace

std::string SanitizeXMLName(std::string_view s) {
  std::string name(s);
  std::replace_if(
      name.begin(), name.end(), [](char c) { return c == ' ' || c == '%' || c == '(' || c == ')'; },
      '_');
  return name;
}

void AppendPadNumber(std::string& out, long long n, int width) {
  char digits[24];
  int count = 0;
  // Digits from the lowest up, without overflow for the lowest value.
  unsigned long long magnitude = n < 0 ? 0ull - static_cast<unsigned long long>(n) : n;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  const int length = count + (n < 0 ? 1 : 0);
  if (n < 0) out += '-';
  if (width > length) out.append(static_cast<size_t>(width - length), '0');
  while (count > 0) out += digits[--count];
}

std::string PadNumber(long long n, int width) {
  std::string out;
  AppendPadNumber(out, n, width);
  return out;
}

void AppendBase64(std::string& out, std::string_view s) {
  const size_t start = out.size();
  out.resize(start + (s.size() + 2) / 3 * 4);
  char* p = out.data() + start;
  size_t i = 0;
  for (; i + 3 <= s.size(); i += 3) {
    const uint32_t triple = Byte(s, i) << 16 | Byte(s, i + 1) << 8 | Byte(s, i + 2);
    *p++ = kBase64Alphabet[triple >> 18];
    *p++ = kBase64Alphabet[triple >> 12 & 63];
    *p++ = kBase64Alphabet[triple >> 6 & 63];
    *p++ = kBase64Alphabet[triple & 63];
  }
  const size_t left = s.size() - i;
  if (left == 0) return;
  const uint32_t triple = Byte(s, i) << 16 | (left == 2 ? Byte(s, i + 1) << 8 : 0);
  *p++ = kBase64Alphabet[triple >> 18];
  *p++ = kBase64Alphabet[triple >> 12 & 63];
  *p++ = left == 2 ? kBase64Alphabet[triple >> 6 & 63] : '=';
  *p = '=';
}

std::string Base64Encode(std::string_view s) {
  std::string out;
  AppendBase64(out, s);
  return out;
}

std::string ReplaceAllText(std::string_view s, std::string_view oldText, std::string_view newText) {
  if (oldText.empty() || oldText == newText) return std::string(s);
  std::string result;
  result.reserve(s.size());
  size_t from = 0;
  for (size_t at = s.find(oldText); at != std::string_view::npos; at = s.find(oldText, from)) {
    result.append(s.substr(from, at - from));
    result.append(newText);
    from = at + oldText.size();
  }
  result.append(s.substr(from));
  return result;
}

}  // namespace VdExport
