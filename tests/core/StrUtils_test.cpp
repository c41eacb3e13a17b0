#include "core/StrUtils.h"

#include <gtest/gtest.h>

namespace Vdei {
namespace {

TEST(StrUtils, FormatGrowsPastItsStackBuffer) {
  EXPECT_EQ(Format("%s has %d rows", "Orders", 12), "Orders has 12 rows");
  std::string longText(1000, 'x');
  EXPECT_EQ(Format("[%s]", longText.c_str()), "[" + longText + "]");
  EXPECT_EQ(Format("%s", ""), "");
}

TEST(StrUtils, CaseAndComparisonTouchOnlyAsciiLetters) {
  EXPECT_EQ(UpperCase("abc\xe9z1"), "ABC\xe9Z1");
  EXPECT_EQ(LowerCase("ABC\xc9"), "abc\xc9");
  EXPECT_TRUE(SameText("Field", "fIELD"));
  EXPECT_FALSE(SameText("Field", "Fields"));
  EXPECT_FALSE(SameText("\xe9", "\xc9"));
  EXPECT_LT(CompareText("apple", "Banana"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_LT(CompareText("ab", "ABC"), 0);
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_GT(CompareText("\xe9", "z"), 0);  // bytes above 127 after the letters
}

TEST(StrUtils, TrimPosAndSplit) {
  EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Pos("lo", "hello"), 3u);
  EXPECT_EQ(Pos("x", "hello"), std::string::npos);
  EXPECT_EQ(PosText("LO", "hello"), 3u);
  EXPECT_EQ(PosText("", "hello"), 0u);
  EXPECT_EQ(PosText("lox", "hello"), std::string::npos);
  EXPECT_EQ(Split("a;b;;c", ';'), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(Split("", ';'), std::vector<std::string>{""});
  EXPECT_EQ(Split("a;", ';'), (std::vector<std::string>{"a", ""}));
}

TEST(StrUtils, PathParts) {
  EXPECT_EQ(ExtractFilePath("/tmp/out/data.xml"), "/tmp/out/");
  EXPECT_EQ(ExtractFilePath("data.xml"), "");
  EXPECT_EQ(ExtractFileName("/tmp/out/data.xml"), "data.xml");
  EXPECT_EQ(ExtractFileName("C:\\Data\\x.htm"), "x.htm");
  EXPECT_EQ(ExtractFileExt("/tmp/out/data.xml"), ".xml");
  EXPECT_EQ(ExtractFileExt("/tmp/my.dir/data"), "");
  EXPECT_EQ(ChangeFileExt("/tmp/a.b/data.xml", ".xsl"), "/tmp/a.b/data.xsl");
  EXPECT_EQ(ChangeFileExt("/tmp/a.b/data", ".xsl"), "/tmp/a.b/data.xsl");
}

}  // namespace
}  // namespace Vdei
