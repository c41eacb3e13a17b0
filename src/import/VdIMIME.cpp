#include "import/VdIMIME.h"

#include <array>
#include <cstdint>

#include "core/Exception.h"
#include "core/StrUtils.h"

namespace VdImport {

namespace {

constexpr int8_t kSkip = -2;
constexpr int8_t kInvalid = -1;
constexpr int8_t kFill = 64;

constexpr std::array<int8_t, 256> MakeDecodeTable() {
  std::array<int8_t, 256> table{};
  for (auto& entry : table) entry = kInvalid;
  constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int i = 0; i < 64; ++i) table[static_cast<uint8_t>(kAlphabet[i])] = static_cast<int8_t>(i);
  table[static_cast<uint8_t>('=')] = kFill;
  for (char c : {' ', '\t', '\r', '\n'}) table[static_cast<uint8_t>(c)] = kSkip;
  return table;
}

constexpr std::array<int8_t, 256> kDecodeTable = MakeDecodeTable();

[[noreturn]] void ThrowInvalidBase64(const char* what) {
  throw Vdei::EConvertError(Vdei::Format("Invalid Base64 text: %s", what));
}

// Appends the bytes of one group of four sextets; count is the number of
// sextets read before the fill character (4 when the group has none).
void AppendGroup(const int8_t (&group)[4], int count, std::string& out) {
  if (count == 0) return;  // the group starts with the fill character
  if (count == 1) ThrowInvalidBase64("fill character in the second place of a group");
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits = (bits << 6) | static_cast<uint32_t>(i < count ? group[i] : 0);
  out.push_back(static_cast<char>(bits >> 16));
  if (count >= 3) out.push_back(static_cast<char>((bits >> 8) & 0xFF));
  if (count == 4) out.push_back(static_cast<char>(bits & 0xFF));
}

}  // namespace

std::string DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 3);
  int8_t group[4] = {0, 0, 0, 0};
  int filled = 0;      // characters of the current group read so far
  int dataCount = -1;  // sextets before the first fill character, -1 while none
  for (char c : text) {
    int8_t code = kDecodeTable[static_cast<uint8_t>(c)];
    if (code == kSkip) continue;
    if (code == kInvalid)
      ThrowInvalidBase64(Vdei::Format("character %d", static_cast<uint8_t>(c)).c_str());
    if (code == kFill) {
      if (dataCount < 0) dataCount = filled;
    } else if (dataCount < 0) {
      group[filled] = code;
    }
    if (++filled == 4) {
      AppendGroup(group, dataCount < 0 ? 4 : dataCount, out);
      filled = 0;
      dataCount = -1;
    }
  }
  if (filled == 1 && dataCount < 0) ThrowInvalidBase64("a single character at the end");
  if (filled > 0) AppendGroup(group, dataCount < 0 ? filled : dataCount, out);
  return out;
}

}  // namespace VdImport
