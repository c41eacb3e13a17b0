#include "import/VdIEntities.h"

#include <gtest/gtest.h>

#include "core/CodePage.h"

namespace VdImport {
namespace {

TEST(Entities, OnePassLeftToRightKeepingUnknownEntities) {
  Vdei::SetActiveAnsiCodePage(1252);
  EXPECT_EQ(DecodeEntities("&amp;lt;"), "&lt;");
  EXPECT_EQ(DecodeEntities("a&amp;b&lt;c"), "a&b<c");
  EXPECT_EQ(DecodeEntities("A &foo; B &lt;x&gt; & C &AMP;"), "A &foo; B <x> & C &AMP;");
  EXPECT_EQ(DecodeEntities("x&nbsp;y&nbspz&nbsp"), "xyz");
  EXPECT_EQ(DecodeEntities("end&gt"), "end>");
  EXPECT_EQ(DecodeEntities("&ltx &lt"), "&ltx <");
  EXPECT_EQ(DecodeEntities("&car;&ret;&deg;&plusmn;&copy;&trade;&para;&brvbar;&apos;&quot;"),
            "\n\r\xB0\xB1\xA9\x99\xB6|'\"");
  // Numeric references give the code page's byte, '?' when it has none.
  EXPECT_EQ(DecodeEntities("&#10;&#x0A;&#X41;&#8364;&#19990;&#233"), "\n\nA\x80?\xE9");
  EXPECT_EQ(DecodeEntities("&#;&#x;&#0;&#99999999999;&#12a;"), "&#;&#x;&#0;&#99999999999;&#12a;");

  // Without an ampersand the text itself comes back, not a copy.
  std::string buffer;
  const std::string_view plain = "no entities here";
  EXPECT_EQ(DecodeEntities(plain, buffer).data(), plain.data());
}

TEST(Entities, Utf8CellsAreConvertedAndTheirLossesCounted) {
  Vdei::SetActiveAnsiCodePage(1252);
  std::string buffer;
  int replaced = 0;
  EXPECT_EQ(DecodeCellText("caf\xC3\xA9 \xE4\xB8\x96 &amp; \xE2\x82\xAC?", true, buffer, replaced),
            "caf\xE9 ? & \x80?");
  EXPECT_EQ(replaced, 1);
  // The same bytes from a 1252 package are taken as they are.
  EXPECT_EQ(DecodeCellText("caf\xE9", false, buffer, replaced), "caf\xE9");
  const std::string_view ascii = "plain";
  EXPECT_EQ(DecodeCellText(ascii, true, buffer, replaced).data(), ascii.data());
  EXPECT_EQ(replaced, 1);
  EXPECT_TRUE(IsUtf8Encoding("UTF-8"));
  EXPECT_TRUE(IsUtf8Encoding("utf8"));
  EXPECT_FALSE(IsUtf8Encoding("windows-1252"));
}

}  // namespace
}  // namespace VdImport
