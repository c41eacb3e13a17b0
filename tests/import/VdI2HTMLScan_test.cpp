#include "import/VdI2HTMLScan.h"

#include <gtest/gtest.h>

namespace VdImport {
namespace {

using Cell = std::optional<std::string_view>;

std::vector<std::string> ColumnNames(const HtmlScanResult& scan) {
  std::vector<std::string> names;
  for (const HtmlColumn& column : scan.Columns) names.push_back(column.Name);
  return names;
}

TEST(HTMLScan, WriterTableWithHeaderRowAndEmptyCells) {
  const std::string page =
      "<html><body><p>Report</p>\n<table border=\"1\">\n<tr>\n"
      "  <td width=\"160\"><font size=2><b>Id</b></font></td>\n"
      "  <td><b>Note &amp; more</b></td>\n  <td><b>Pic</b></td>\n</tr>\n<tr>\n"
      "  <td align=\"right\"><font size=2>17</font></td>\n"
      "  <td><font size=2>  Hello <b>big</b> world </font></td>\n"
      "  <td><img src=\"img1.bmp\"></td>\n</tr>\n<tr>\n"
      "  <td><font size=2>&nbsp</font></td>\n  <td> &nbsp; </td>\n  <td></td>\n</tr>\n"
      "</table></body></html>";
  const HtmlScanResult scan = ScanHTMLText(page, 1, 2);
  ASSERT_EQ(scan.Columns.size(), 3u);
  EXPECT_EQ(scan.Columns[1].Key, "Field2");
  EXPECT_EQ(ColumnNames(scan), (std::vector<std::string>{"Id", "Note & more", "Pic"}));
  EXPECT_EQ(scan.RowCount, 3);
  ASSERT_EQ(scan.StoredRows(), 2u);
  EXPECT_EQ(GetHTMLCell(scan.Row(0), 1), Cell("17"));
  // Blanks around inline tags stay; leading blanks of a cell go.
  EXPECT_EQ(GetHTMLCell(scan.Row(0), 2), Cell("Hello big world "));
  // Only an image, only blanks or non-breaking spaces, nothing: no value.
  EXPECT_EQ(GetHTMLCell(scan.Row(0), 3), std::nullopt);
  for (int n : {1, 2, 3, 4}) EXPECT_EQ(GetHTMLCell(scan.Row(1), n), std::nullopt) << n;

  // With RowFirst 1 the header row is a record too; without a header row
  // the columns are named by their keys.
  EXPECT_EQ(ScanHTMLText(page, 1, 1).StoredRows(), 3u);
  const HtmlScanResult bare = ScanHTMLText(page, 0, 1);
  EXPECT_EQ(ColumnNames(bare), (std::vector<std::string>{"Field1", "Field2", "Field3"}));
  EXPECT_TRUE(bare.HeaderRow.empty());
}

TEST(HTMLScan, TablesAsOtherToolsWriteThem) {
  const std::string page =
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>t</title></head><body>\n"
      "<TABLE class=\"grid\">\n<thead><tr><th scope=col>Name</th><th></th><th>name</th>"
      "<th>&lt;b&gt;</TH></tr></thead>\n<tbody>\n"
      "<tr><td\n class=x>one<!-- note -->two<td>2\n<td>a < b<td>last</tr>\n"
      "<tr><td><table><tr><td>in1</td><td>in2</td></tr></table> after</td><td>x</td></tr>\n"
      "<tr><td>unclosed\n</table>\n<table><tr><td>second table</td></tr></table>";
  const HtmlScanResult scan = ScanHTMLText(page, 1, 2);
  EXPECT_TRUE(scan.Utf8);
  EXPECT_EQ(scan.Charset, "utf-8");
  // Header texts decoded; empty and repeated names numbered.
  EXPECT_EQ(ColumnNames(scan), (std::vector<std::string>{"Name", "Field2", "name_1", "<b>"}));
  ASSERT_EQ(scan.StoredRows(), 4u);
  std::vector<std::string_view> cells;
  GetHTMLCells(scan.Row(0), cells);
  EXPECT_EQ(cells, (std::vector<std::string_view>{"onetwo", "2\n", "a < b", "last"}));
  // A nested table stays in its cell and ends neither the cell nor the row.
  GetHTMLCells(scan.Row(1), cells);
  EXPECT_EQ(cells, (std::vector<std::string_view>{"in1 in2 after", "x"}));
  EXPECT_EQ(GetHTMLCell(scan.Row(2), 1), Cell("unclosed\n"));
  // Rows of a second table continue the count; columns stay the first's.
  EXPECT_EQ(GetHTMLCell(scan.Row(3), 1), Cell("second table"));
  EXPECT_EQ(scan.RowCount, 5);
  EXPECT_EQ(GetHTMLCell(scan.Row(3), 2), std::nullopt);
}

TEST(HTMLScan, PagesWithoutTablesAndBrokenMarkupEndQuietly) {
  for (const std::string_view text :
       {"", "<html>no table</html>", "<table><tr><td>open", "<table><tr><td><!-- open", "<",
        "<table><tr><td>x</td><td a=\"1"}) {
    const HtmlScanResult scan = ScanHTMLText(text);
    for (size_t i = 0; i < scan.StoredRows(); ++i) (void)GetHTMLCell(scan.Row(i), 1);
  }
  EXPECT_TRUE(ScanHTMLText("<p>x</p>").Columns.empty());
  EXPECT_EQ(GetHTMLCell(ScanHTMLText("<table><tr><td>open", 0).Row(0), 1), Cell("open"));

  size_t pos = 0;
  const std::string_view tags = "text <TD\nclass=\"a>b\">cell</td >";
  EXPECT_EQ(ReadNextHTMLTag(tags, pos), "<TD");
  EXPECT_EQ(tags.substr(pos, 4), "cell");
  EXPECT_EQ(ReadNextHTMLTag(tags, pos), "</td");
  EXPECT_EQ(ReadNextHTMLTag(tags, pos), "");
}

}  // namespace
}  // namespace VdImport
