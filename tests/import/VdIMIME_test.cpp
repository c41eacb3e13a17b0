#include "import/VdIMIME.h"

#include <gtest/gtest.h>

#include "core/Exception.h"

namespace VdImport {
namespace {

// A plain encoder, to feed the decoder every byte value.
std::string Encode(const std::string& bytes) {
  static const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t bits = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) bits |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) bits |= static_cast<uint8_t>(bytes[i + 2]);
    for (size_t k = 0; k < 4; ++k) {
      out += i + k <= bytes.size() ? kAlphabet[(bits >> (18 - 6 * k)) & 63] : '=';
    }
  }
  return out;
}

TEST(DecodeBase64Test, DecodesGroupsWithAndWithoutFill) {
  EXPECT_EQ(DecodeBase64("QUJD"), "ABC");
  EXPECT_EQ(DecodeBase64("QUI="), "AB");
  EXPECT_EQ(DecodeBase64("QQ=="), "A");
  EXPECT_EQ(DecodeBase64("===="), "");
  EXPECT_EQ(DecodeBase64("QQ==QUJD"), "AABC");  // groups are read one by one
  EXPECT_EQ(DecodeBase64("QUI"), "AB");         // unpadded tail
  EXPECT_EQ(DecodeBase64(""), "");

  std::string every;
  for (int c = 0; c < 256; ++c) every.push_back(static_cast<char>(c));
  for (size_t length : {size_t{0}, size_t{1}, size_t{2}, size_t{255}, size_t{256}}) {
    EXPECT_EQ(DecodeBase64(Encode(every.substr(0, length))), every.substr(0, length));
  }
}

TEST(DecodeBase64Test, SkipsLineBreaksAndBlanksButRejectsOtherCharacters) {
  EXPECT_EQ(DecodeBase64(" QU\tJD\r\nRE\nVG "), "ABCDEF");
  EXPECT_THROW(DecodeBase64("QU*D"), Vdei::EConvertError);
  EXPECT_THROW(DecodeBase64("QUJD]"), Vdei::EConvertError);  // a CDATA end left behind
  EXPECT_THROW(DecodeBase64("QUJDR"), Vdei::EConvertError);  // one character cannot be a byte
  EXPECT_THROW(DecodeBase64("Q=AA"), Vdei::EConvertError);
}

}  // namespace
}  // namespace VdImport
