#include "export/VdE2HTML.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "RunTestSupport.h"
#include "TestDatabases.h"
#include "core/CodePage.h"
#include "core/Properties.h"
#include "export/VdEBitmap.h"
#include "export/VdEHTMLText.h"

namespace VdExport {
namespace {

using namespace Vdei;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// A 24-bit uncompressed BMP file image with an info header of headerSize
// bytes (12: the core header, with 16-bit dimensions).
std::string MakeBitmap(int width, int height, uint32_t headerSize = 40) {
  const uint32_t pixels = (width * 24 + 31) / 32 * 4 * static_cast<uint32_t>(std::abs(height));
  std::string bmp = "BM";
  auto put = [&bmp](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  const int dimension = headerSize == 12 ? 2 : 4;
  put(14 + headerSize + pixels, 4), put(0, 4), put(14 + headerSize, 4), put(headerSize, 4);
  put(width, dimension), put(static_cast<uint32_t>(height), dimension), put(1, 2), put(24, 2);
  bmp.resize(14 + headerSize, '\0');
  return bmp.append(pixels, '\x7f');
}

TEST(HTMLText, ColorsSizesAndFontMarkup) {
  EXPECT_EQ(HTMLColor(clRed, true), "bgcolor=\"#FF0000\"");
  EXPECT_EQ(HTMLColor(0x00102030, false), "color=\"#302010\"") << "red is the low byte";
  EXPECT_EQ(HTMLColor(cl3DLight, true), "bgcolor=\"#E3E3E3\"");
  EXPECT_EQ(HTMLColor(clBlack, true), "");
  const std::vector<std::pair<int, std::string_view>> sizes = {
      {5, "-1"}, {6, "1"},  {7, "1"},  {8, "2"},  {9, "2"},  {10, "-1"}, {13, "-1"},
      {14, "4"}, {17, "4"}, {18, "5"}, {23, "5"}, {24, "6"}, {35, "6"},  {36, "-1"}};
  for (const auto& [points, size] : sizes) EXPECT_EQ(HTMLFontSize(points), size) << points;

  TFont font;
  EXPECT_EQ(FontMarkup("text", &font, true), "<font size=2>text</font>");
  font.SetSize(12);
  EXPECT_EQ(FontMarkup("t", &font, true), "<font >t</font>") << "no size, no colour";
  font.SetName("Arial");
  font.SetColor(clRed);
  font.SetStyle(FontStyleBit(fsBold) | FontStyleBit(fsItalic) | FontStyleBit(fsUnderline));
  EXPECT_EQ(FontMarkup("t", &font, true),
            "<font face=\"Arial\"  color=\"#FF0000\"><b><i><u>t</u></i></b></font>");
}

TEST(Bitmap, SizeComesFromEitherHeaderAndNothingMalformedIsRead) {
  const std::string bitmap = MakeBitmap(3, -2);
  ASSERT_TRUE(ReadBitmapSize(bitmap) && ReadBitmapSize(MakeBitmap(5, 4, 12)));
  EXPECT_EQ(ReadBitmapSize(bitmap)->Height, 2) << "a top-down bitmap";
  EXPECT_EQ(ReadBitmapSize(MakeBitmap(5, 4, 12))->Width, 5);
  for (size_t length = 0; length < bitmap.size(); ++length) {
    EXPECT_FALSE(ReadBitmapSize(std::string_view(bitmap).substr(0, length))) << length;
  }
  std::string noMagic = bitmap, noPlanes = bitmap, hugeHeight = bitmap;
  noMagic[0] = 'X';
  noPlanes[26] = 0;
  hugeHeight.replace(22, 4, "\x00\x00\x00\x80", 4);  // INT32_MIN rows
  for (const std::string& bad : {noMagic, noPlanes, hugeHeight, MakeBitmap(3, 2, 44)}) {
    EXPECT_FALSE(ReadBitmapSize(bad));
  }
}

struct HTMLFixture : ::testing::Test {
  PlatformScope platform;
  TComponent form{nullptr};
  TVdExportToHTML* html = new TVdExportToHTML(&form);
  TClientDataSet* table = new TClientDataSet(&form);
  TMemoryStream stream;

  HTMLFixture() {
    html->SetAnimatedStatus(false);
    html->SetColumnSource(csDataSet);
    html->SetDataSet(table);
  }
  void AddRecord(const std::vector<Variant>& values) {
    table->Append();
    for (size_t i = 0; i < values.size(); ++i)
      table->Fields(static_cast<int>(i))->SetValue(values[i]);
    table->Post();
  }
  std::string Export() {
    stream.Clear();
    html->ExportToStream(&stream);
    return std::string(stream.View());
  }
  // Compares with the golden page; a different page is left in the build
  // folder for a look.
  void ExpectGolden(const std::string& page, const std::string& name) {
    const std::string golden = ReadFile(std::string(VDEI_TEST_DATA_DIR) + "/export/html/" + name);
    if (page == golden) return;
    std::ofstream(std::string(VDEI_BINARY_DIR) + "/" + name, std::ios::binary) << page;
    ADD_FAILURE() << name << " differs; the page written is in " << VDEI_BINARY_DIR;
  }
  // CustNo, Company, Note, Amount, Since, Paid, Memo: one record of
  // values markup must escape, one of nulls and empty texts.
  void FillMixedTable() {
    table->FieldDefs()->Add("CustNo", ftInteger);
    table->FieldDefs()->Add("Company", ftString, 10);
    table->FieldDefs()->Add("Note", ftString, 40);
    table->FieldDefs()->Add("Amount", ftFloat);
    table->FieldDefs()->Add("Since", ftDate);
    table->FieldDefs()->Add("Paid", ftBoolean);
    table->FieldDefs()->Add("Memo", ftMemo);
    table->CreateDataSet();
    table->Fields(0)->SetDisplayWidth(10);
    AddRecord({Variant(17), Variant("A&B <Co>"),
               Variant("say \"hi\" 'x' | \r\n\x99\xA9\xB0\xB1\xB6"), Variant(1.5),
               Variant::DateTime(36526), Variant(true), Variant("one\r\ntwo")});
    AddRecord({Variant::Null(), Variant(""), Variant::Null(), Variant::Null(), Variant::Null(),
               Variant(false), Variant::Null()});
    table->First();
  }
};

TEST_F(HTMLFixture, DefaultsAndTheDefaultPageFollowTheActiveCodePage) {
  EXPECT_TRUE(html->AddTitle());
  EXPECT_EQ(ExtractFileName(html->FileName()), "VdExport.HTM");
  EXPECT_TRUE(IsPublishedProp(*html, "HTMLPattern") && IsPublishedProp(*html, "ExportStyle"));
  EXPECT_FALSE(IsPublishedProp(*html, "RowsPerFile") || IsPublishedProp(*html, "Layout"));

  SetActiveAnsiCodePage(1251);
  TVdExportToHTML cyrillic(nullptr);
  SetActiveAnsiCodePage(1252);
  EXPECT_EQ(cyrillic.HTMLPattern()->Text(),
            "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\"\r\n"
            "content=\"text/html; charset=windows-1251\">\r\n"
            "<meta name=\"GENERATOR\" content=\"VdExport 4.64\">\r\n"
            "<title>Data exported by VdExport generator</title>\r\n</head>\r\n\r\n"
            "<body bgcolor=\"#FFFFFF\">\r\n</body>\r\n</html>\r\n")
      << "one item, with the line breaks inside it";
  EXPECT_EQ(cyrillic.HTMLPattern()->Count(), 1);
}

TEST_F(HTMLFixture, DefaultDocumentEscapesTextsAndWritesWidths) {
  FillMixedTable();
  const std::string page = Export();
  ExpectGolden(page, "default.htm");
  EXPECT_NE(page.find("\r\n  <td width=\"160\">Company</td>\r\n"), std::string::npos);
  EXPECT_NE(page.find("\r\n  <td width=\"160\" align=\"right\">17</td>\r\n"), std::string::npos);
}

TEST_F(HTMLFixture, ColoursFontsStylesAndLinesAsParagraphs) {
  FillMixedTable();
  html->SetOptions(OptionBit(soColorsFonts) | OptionBit(soBlankRowAfterCaptions));
  html->ExportStyle()->SetStyle(esBrick);
  html->Header()->SetText("Report\nfor <you>");
  html->Footer()->Add("End");
  html->OnGetCellParams = [](TObject*, TField* field, std::string&, TFont* font, TAlignment&,
                             TColor& background, TCellType&) {
    if (field == nullptr) return;
    if (field->FieldName() == "CustNo") background = clBlack;
    if (field->FieldName() == "Company") {
      font->SetName("Arial");
      font->SetSize(18);
      font->SetColor(clRed);
      font->AddStyle(fsItalic);
    }
  };
  ExpectGolden(Export(), "colors.htm");

  html->SetOptions(0);
  html->ExportStyle()->SetStyle(esNormal);
  const std::string plain = Export();
  EXPECT_NE(plain.find("<p >Report</p>\r\n<p >for &lt;you&gt;</p>\r\n<table border=\"0\">\r\n"),
            std::string::npos);
  EXPECT_NE(plain.find("</table>\r\n\r\n<p >End</p>\r\n</body>"), std::string::npos);
}

TEST_F(HTMLFixture, BodyEndIsFoundInAnyCaseAndNoPatternTextIsLost) {
  table->FieldDefs()->Add("A", ftString, 5);
  table->CreateDataSet();
  AddRecord({Variant("x<y")});
  html->SetAddTitle(false);
  const std::string table =
      "<table border=\"1\">\r\n<tr>\r\n  <td width=\"80\">x&lt;y</td>\r\n"
      "</tr>\r\n</table>\r\n\r\n";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"<html><body>", "a</Body>b", "c</BODY>d"},
       "<html><body>\r\na\r\n" + table + "</Body>b\r\nc</BODY>d\r\n"},
      {{"no marker"}, "no marker\r\n" + table},
      {{}, table},
  };
  for (const auto& [items, expected] : cases) {
    html->HTMLPattern()->Clear();
    for (const std::string& item : items) html->HTMLPattern()->Add(item);
    EXPECT_EQ(Export(), expected);
  }

  html->SetHeaderFooterWithHTML(true);
  html->Header()->Add("<h1>Top</h1>");
  html->HTMLPattern()->Clear();
  EXPECT_EQ(Export(),
            "<h1>Top</h1>\r\n<table border=\"1\">\r\n<tr>\r\n  <td width=\"80\">x<y</td>\r\n"
            "</tr>\r\n</table>\r\n\r\n");
}

TEST_F(HTMLFixture, EventsSeeTheCellsOwnColumnAndNoneForLines) {
  table->FieldDefs()->Add("Hidden", ftString, 5);
  table->FieldDefs()->Add("Shown", ftString, 5);
  table->CreateDataSet();
  AddRecord({Variant("h"), Variant("")});
  table->Fields(0)->SetVisible(false);
  html->Header()->Add("Head");
  html->OnGetExtHTMLTableParamsEvent = [](TObject*, std::string& text) { text += " id=\"t\""; };
  std::vector<std::string> seen;
  html->OnGetExtHTMLCellParamsEvent = [&seen](TObject*, TVdEColumn* column, std::string& text) {
    seen.push_back(column != nullptr ? column->FieldName() : "-");
    text = "class=\"c\"";
  };
  const std::string page = Export();
  EXPECT_EQ(seen, (std::vector<std::string>{"-", "Shown", "Shown"}));
  EXPECT_NE(page.find("<p class=\"c\">Head</p>\r\n<table border=\"1\" id=\"t\">\r\n<tr>\r\n"
                      "  <td class=\"c\">Shown</td>\r\n</tr>\r\n<tr>\r\n"
                      "  <td class=\"c\">&nbsp</td>\r\n</tr>\r\n"),
            std::string::npos);
}

TEST_F(HTMLFixture, GraphicFieldsBecomeImageFilesBesideThePage) {
  VdeiTest::TempDir dir;
  table->FieldDefs()->Add("Pic", ftGraphic);
  table->CreateDataSet();
  const std::string first = MakeBitmap(3, -2);
  const std::string second = MakeBitmap(7, 5, 12);
  for (const Variant& value :
       {Variant(first), Variant("BM not a bitmap"), Variant::Null(), Variant(second)}) {
    AddRecord({value});
  }
  html->SetAddTitle(false);
  html->HTMLPattern()->Clear();
  html->SetFileName(dir.File("page.htm"));
  auto td = [](const std::string& body) {
    return "<tr>\r\n  <td width=\"160\">" + body + "</td>\r\n</tr>\r\n";
  };
  const std::string expected =
      "<table border=\"1\">\r\n" +
      td("<img src=\"" + dir.File("img1.bmp") + "\" width=\"3\" height=\"2\">") + td("&nbsp") +
      td("&nbsp") + td("<img src=\"" + dir.File("img2.bmp") + "\" width=\"7\" height=\"5\">") +
      "</table>\r\n\r\n";
  EXPECT_EQ(Export(), expected);
  EXPECT_EQ(ReadFile(dir.File("img1.bmp")), first);
  EXPECT_EQ(ReadFile(dir.File("img2.bmp")), second);

  // Numbered pages of one run go on numbering their images.
  html->SetRowsPerFile(2);
  html->Execute();
  EXPECT_NE(ReadFile(dir.File("page.htm")).find("img1.bmp"), std::string::npos);
  EXPECT_NE(ReadFile(dir.File("page001.htm")).find("img2.bmp"), std::string::npos);

  html->SetFileName(dir.File("missing/page.htm"));
  EXPECT_THROW(Export(), EFOpenError);
}

}  // namespace
}  // namespace VdExport
