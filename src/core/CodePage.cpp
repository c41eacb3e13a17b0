#include "core/CodePage.h"

#include <iconv.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "core/Exception.h"
#include "core/StrUtils.h"

namespace Vdei {

namespace {

constexpr int kDefaultAnsiCodePage = 1252;
constexpr int kOemCodePage = 437;
constexpr char32_t kNoChar = 0xFFFFFFFF;

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const std::string& to, const std::string& from) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  return IconvHandle(cd);
}

std::string IconvName(int codePage) {
  return Format("CP%d", codePage);
}

// One single-byte code page: the Unicode character of each byte and the
// byte of each character of the Basic Multilingual Plane ('?' for none).
// Bytes the code page leaves undefined stand for U+0080 + (byte - 0x80) so
// that text passes through UTF-8 and back unchanged.
struct CodePageTable {
  int CodePage = 0;
  std::array<char32_t, 256> ToUnicode{};
  std::array<char, 0x10000> FromUnicode{};
};

constexpr char32_t kLeadByte = 0xFFFFFFFE;  // begins a multi-byte character

char32_t DecodeByte(iconv_t cd, unsigned char byte) {
  char in = static_cast<char>(byte);
  char32_t out = 0;
  char* inPtr = &in;
  size_t inLeft = 1;
  char* outPtr = reinterpret_cast<char*>(&out);
  size_t outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
    return errno == EINVAL ? kLeadByte : kNoChar;
  }
  return outLeft == 0 ? out : kNoChar;
}

// nullptr for a code page iconv lacks or one with multi-byte characters.
std::unique_ptr<CodePageTable> BuildTable(int codePage) {
  IconvHandle cd = OpenIconv("UTF-32LE", IconvName(codePage));
  if (!cd) return nullptr;
  auto table = std::make_unique<CodePageTable>();
  table->CodePage = codePage;
  table->FromUnicode.fill('?');
  for (int b = 255; b >= 0; --b) {
    char32_t u = DecodeByte(static_cast<iconv_t>(cd.get()), static_cast<unsigned char>(b));
    if (u == kLeadByte) return nullptr;
    if (u == kNoChar) u = b < 0x80 ? kNoChar : static_cast<char32_t>(b);
    table->ToUnicode[static_cast<size_t>(b)] = u;
    // Filled from the top so that the lowest byte wins a shared character.
    if (u < 0x10000) table->FromUnicode[u] = static_cast<char>(b);
  }
  return table;
}

// Tables are built once per code page and kept for the life of the process.
const CodePageTable* TableFor(int codePage) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<CodePageTable>> tables;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = tables.find(codePage);
  if (it == tables.end()) it = tables.emplace(codePage, BuildTable(codePage)).first;
  return it->second.get();
}

std::atomic<const CodePageTable*>& ActiveTable() {
  static std::atomic<const CodePageTable*> active{TableFor(kDefaultAnsiCodePage)};
  return active;
}

std::atomic<uint64_t>& ReplacedCharacters() {
  static std::atomic<uint64_t> count{0};
  return count;
}

const CodePageTable& OemTable() {
  static const CodePageTable* oem = TableFor(kOemCodePage);
  return *oem;
}

// A byte-for-byte map from one code page to another.
using ByteMap = std::array<char, 256>;

ByteMap BuildByteMap(const CodePageTable& from, const CodePageTable& to) {
  ByteMap map{};
  for (size_t b = 0; b < 256; ++b) {
    char32_t u = from.ToUnicode[b];
    map[b] = u < 0x10000 ? to.FromUnicode[u] : '?';
  }
  return map;
}

struct ByteMaps {
  int AnsiCodePage;
  ByteMap AnsiToOem;
  ByteMap OemToAnsi;
};

// The two maps of the active ANSI code page, rebuilt when it changes.
const ByteMaps& CurrentByteMaps() {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<ByteMaps>> cache;
  const CodePageTable& ansi = *ActiveTable().load();
  thread_local const ByteMaps* last = nullptr;
  if (last != nullptr && last->AnsiCodePage == ansi.CodePage) return *last;
  std::lock_guard<std::mutex> lock(mutex);
  auto& maps = cache[ansi.CodePage];
  if (!maps) {
    maps = std::make_unique<ByteMaps>(
        ByteMaps{ansi.CodePage, BuildByteMap(ansi, OemTable()), BuildByteMap(OemTable(), ansi)});
  }
  last = maps.get();
  return *last;
}

std::string MapBytes(std::string_view text, const ByteMap& map) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = map[static_cast<unsigned char>(text[i])];
  return out;
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

bool InRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

// Decodes one UTF-8 character at text[i] and advances i. A malformed
// sequence yields kNoChar and advances over its longest valid beginning
// (at least one byte), so each malformed sequence counts once.
char32_t NextUtf8(std::string_view text, size_t& i) {
  unsigned char lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int length;
  char32_t u;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (InRange(lead, 0xC2, 0xDF)) {
    length = 2, u = lead & 0x1F;
  } else if (InRange(lead, 0xE0, 0xEF)) {
    length = 3, u = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (InRange(lead, 0xF0, 0xF4)) {
    length = 4, u = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return kNoChar;
  }
  for (int k = 1; k < length; ++k) {
    if (i >= text.size()) return kNoChar;
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!InRange(c, k == 1 ? low : 0x80, k == 1 ? high : 0xBF)) return kNoChar;
    u = (u << 6) | (c & 0x3F);
    ++i;
  }
  return u;
}

}  // namespace

int ActiveAnsiCodePage() {
  return ActiveTable().load()->CodePage;
}

void SetActiveAnsiCodePage(int codePage) {
  const CodePageTable* table = TableFor(codePage);
  if (table == nullptr) throw EConvertError(Format("Code page %d is not supported", codePage));
  ActiveTable().store(table);
}

int ActiveOemCodePage() {
  return kOemCodePage;
}

std::string AnsiToOem(std::string_view text) {
  return MapBytes(text, CurrentByteMaps().AnsiToOem);
}

std::string OemToAnsi(std::string_view text) {
  return MapBytes(text, CurrentByteMaps().OemToAnsi);
}

std::string Utf8ToAnsi(std::string_view text, int& replaced) {
  const CodePageTable& ansi = *ActiveTable().load();
  std::string out;
  out.reserve(text.size());
  int count = 0;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80 && ansi.ToUnicode[c] == c) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    char32_t u = NextUtf8(text, i);
    const char b = u < 0x10000 ? ansi.FromUnicode[u] : '?';
    if (b == '?' && u != U'?') ++count;
    out += b;
  }
  if (count != 0) {
    replaced += count;
    ReplacedCharacters().fetch_add(static_cast<uint64_t>(count), std::memory_order_relaxed);
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view text) {
  int replaced = 0;
  return Utf8ToAnsi(text, replaced);
}

char UnicodeToAnsi(char32_t u) {
  return u < 0x10000 ? ActiveTable().load()->FromUnicode[u] : '?';
}

uint64_t ReplacedCharacterCount() {
  return ReplacedCharacters().load(std::memory_order_relaxed);
}

std::string AnsiToUtf8(std::string_view text) {
  const CodePageTable& ansi = *ActiveTable().load();
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char ch : text) {
    char32_t u = ansi.ToUnicode[static_cast<unsigned char>(ch)];
    AppendUtf8(out, u == kNoChar ? U'?' : u);
  }
  return out;
}

}  // namespace Vdei
