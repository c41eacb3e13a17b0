#include "core/CodePage.h"

#include <gtest/gtest.h>

#include "core/Exception.h"

namespace Vdei {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(CodePage, DefaultsAreWindowsLatinAndDosUs) {
  EXPECT_EQ(ActiveAnsiCodePage(), 1252);
  EXPECT_EQ(ActiveOemCodePage(), 437);
}

TEST(CodePage, AnsiToOemAndBack) {
  // e acute and A umlaut exist in both code pages at other positions.
  EXPECT_EQ(AnsiToOem("Caf\xe9 \xc4"), "Caf\x82 \x8e");
  EXPECT_EQ(OemToAnsi("Caf\x82 \x8e"), "Caf\xe9 \xc4");
  // The euro sign and the Icelandic thorn have no place in 437.
  EXPECT_EQ(AnsiToOem("\x80\xde"), "??");
  // Box drawing characters have none in 1252.
  EXPECT_EQ(OemToAnsi("\xc9\xcd\xbb"), "???");
  std::string ansi = AllBytes();
  std::string oem = AnsiToOem(ansi);
  ASSERT_EQ(oem.size(), 256u);
  std::string back = OemToAnsi(oem);
  for (int b = 0; b < 256; ++b) {
    if (oem[static_cast<size_t>(b)] != '?') {
      EXPECT_EQ(back[static_cast<size_t>(b)], ansi[static_cast<size_t>(b)]) << b;
    }
  }
  EXPECT_EQ(AnsiToOem(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CodePage, Utf8AndAnsi) {
  EXPECT_EQ(AnsiToUtf8("Caf\xe9 \x80"), "Caf\xc3\xa9 \xe2\x82\xac");
  EXPECT_EQ(Utf8ToAnsi("Caf\xc3\xa9 \xe2\x82\xac"), "Caf\xe9 \x80");
  // CJK, an emoji (four bytes) and a Greek letter are not in 1252.
  EXPECT_EQ(Utf8ToAnsi("a\xe4\xb8\xad"
                       "b\xf0\x9f\x98\x80"
                       "c\xce\xb1"),
            "a?b?c?");
  // Every byte survives the trip through UTF-8, undefined ones included.
  std::string ansi = AllBytes();
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(ansi)), ansi);
}

TEST(CodePage, InvalidUtf8BecomesOneQuestionMarkPerSequence) {
  EXPECT_EQ(Utf8ToAnsi("a\xff"
                       "b"),
            "a?b");  // a byte never used
  EXPECT_EQ(Utf8ToAnsi("a\x80"
                       "b"),
            "a?b");                      // a stray continuation
  EXPECT_EQ(Utf8ToAnsi("a\xc3"), "a?");  // cut at the end
  EXPECT_EQ(Utf8ToAnsi("a\xe2\x82"
                       "b"),
            "a?b");                                    // cut before an ASCII byte
  EXPECT_EQ(Utf8ToAnsi("\xc0\xaf"), "??");             // an overlong '/'
  EXPECT_EQ(Utf8ToAnsi("\xed\xa0\x80"), "???");        // a surrogate
  EXPECT_EQ(Utf8ToAnsi("\xf4\x90\x80\x80"), "????");   // above U+10FFFF
  EXPECT_EQ(Utf8ToAnsi("\xe2\x82\xc3\xa9"), "?\xe9");  // the next character survives
}

TEST(CodePage, OtherAnsiCodePages) {
  SetActiveAnsiCodePage(1251);
  EXPECT_EQ(ActiveAnsiCodePage(), 1251);
  EXPECT_EQ(Utf8ToAnsi("\xd0\x96"), "\xc6");  // Cyrillic Zhe
  EXPECT_EQ(AnsiToUtf8("\xc6"), "\xd0\x96");
  EXPECT_EQ(AnsiToOem("\xc6"), "?");
  EXPECT_THROW(SetActiveAnsiCodePage(99999), EConvertError);
  EXPECT_THROW(SetActiveAnsiCodePage(932), EConvertError);  // Shift-JIS is multi-byte
  EXPECT_EQ(ActiveAnsiCodePage(), 1251);
  SetActiveAnsiCodePage(1252);
  EXPECT_EQ(Utf8ToAnsi("\xd0\x96"), "?");
}

}  // namespace
}  // namespace Vdei
