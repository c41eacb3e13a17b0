#include "import/VdI2XMLScan.h"

#include <gtest/gtest.h>

namespace VdImport {
namespace {

using Cell = std::optional<std::string_view>;

std::vector<std::string> FieldNames(const XmlScanResult& scan) {
  std::vector<std::string> names;
  for (const XmlField& field : scan.Fields) names.push_back(field.Name);
  return names;
}

constexpr std::string_view kClientDataset =
    R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>)"
    R"(<FIELD attrname="Id" fieldtype="i4"/><FIELD fieldname="Unit Price" attrname="Unit_Price")"
    R"( fieldtype="r8"/><FIELD attrname="Note" fieldtype="string" WIDTH="30"/></FIELDS>)"
    R"(<PARAMS LCID="1033"/></METADATA><ROWDATA><ROW Id="1" Unit_Price="1.5" Note="a &amp; b"/>)"
    R"(<ROW Id="2"/><ROW Id="3" Note=""/><ROW Id="4"/><ROW Id="5"/></ROWDATA></DATAPACKET>)";

XmlScanTags ClientDatasetTags() {
  return {"ROWDATA", "", "ROW"};
}

TEST(XMLScan, ClientDatasetPackageGivesFieldsRowsAndRawCells) {
  const XmlScanResult scan = ScanXMLText(kClientDataset, ClientDatasetTags());
  ASSERT_EQ(FieldNames(scan), (std::vector<std::string>{"Id", "Unit_Price", "Note"}));
  EXPECT_EQ(scan.Fields[0].DataType, itInteger);
  EXPECT_EQ(scan.Fields[1].Caption, "Unit Price");
  EXPECT_EQ(scan.Fields[1].DataType, itFloat);
  EXPECT_EQ(scan.Fields[2].Width, 30);
  EXPECT_TRUE(scan.Fields[2].FromFieldList);
  EXPECT_EQ(scan.Encoding, "encoding");  // a declaration without the attribute
  EXPECT_FALSE(scan.Utf8);
  ASSERT_EQ(scan.Rows.size(), 5u);
  EXPECT_EQ(scan.RowCount, 5);
  EXPECT_EQ(GetXMLValue("note", scan.Rows[0]), Cell("a &amp; b"));
  EXPECT_EQ(GetXMLValue("Unit_Price", scan.Rows[0]), Cell("1.5"));
  // A missing attribute is no value; an empty one is an empty text.
  EXPECT_EQ(GetXMLValue("Note", scan.Rows[1]), std::nullopt);
  EXPECT_EQ(GetXMLValue("Note", scan.Rows[2]), Cell(""));

  // Rows 2 to 3 of 5 are stored; all five are counted.
  const XmlScanResult part = ScanXMLText(kClientDataset, ClientDatasetTags(), {}, 2, 3);
  ASSERT_EQ(part.Rows.size(), 2u);
  EXPECT_EQ(GetXMLValue("Id", part.Rows[0]), Cell("2"));
  EXPECT_EQ(GetXMLValue("Id", part.Rows[1]), Cell("3"));
  EXPECT_EQ(part.RowCount, 5);

  // The default tags open no records section here: columns but no rows.
  const XmlScanResult defaults = ScanXMLText(kClientDataset, XmlScanTags{});
  EXPECT_EQ(defaults.Fields.size(), 3u);
  EXPECT_TRUE(defaults.Rows.empty());
}

TEST(XMLScan, PrettyPrintedPackagesOfOtherToolsKeepTheirRows) {
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- made elsewhere -->\n  <ROWDATA>\n"
      "  <ROW\n    Id=\"1\"\tName = 'x &gt; y'\r\n  />\n"
      "  <ROW\tId=\"2\" Name=\"two\"></ROW>\n"
      "  <!-- a note --> \n  <ROW Note=\"set id=\" Id=\"7\" Quote=\"a>b\"/>\n</ROWDATA>\n";
  const XmlScanResult scan = ScanXMLText(text, ClientDatasetTags());
  EXPECT_EQ(scan.Encoding, "UTF-8");
  EXPECT_TRUE(scan.Utf8);
  ASSERT_EQ(scan.Rows.size(), 3u);
  EXPECT_EQ(GetXMLValue("Name", scan.Rows[0]), Cell("x &gt; y"));
  EXPECT_EQ(GetXMLValue("Id", scan.Rows[1]), Cell("2"));
  // Attributes are walked in order: a quoted value is never taken for a name.
  EXPECT_EQ(GetXMLValue("Id", scan.Rows[2]), Cell("7"));
  EXPECT_EQ(GetXMLValue("Quote", scan.Rows[2]), Cell("a>b"));
  // Without a FIELDS list the columns are the cell names of the rows.
  EXPECT_EQ(FieldNames(scan), (std::vector<std::string>{"Id", "Name", "Note", "Quote"}));
}

TEST(XMLScan, ElementRowsEndAtTheirOwnCloseAndEmptyRecordsAreEmptyRows) {
  const XmlScanResult rows = ScanXMLText(
      "<ROWDATA><ROW><A>1</A></ROW><ROW><A>2</A><B/></ROW></ROWDATA>", ClientDatasetTags());
  ASSERT_EQ(rows.Rows.size(), 2u);
  EXPECT_EQ(FieldNames(rows), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(GetXMLValue("A", rows.Rows[1]), Cell("2"));
  EXPECT_EQ(GetXMLValue("B", rows.Rows[1]), Cell(""));
  EXPECT_EQ(GetXMLValue("B", rows.Rows[0]), std::nullopt);

  // Element layout: quotes inside elements are dropped once; a Null value
  // has no element, so a later record may bring a column the first lacks.
  const std::string element =
      "<RECORDS>\r\n<RECORD/>\r\n<RECORD></RECORD>\r\n<RECORD>\r\n      <Id>\"1\"</Id>\r\n"
      "</RECORD>\r\n<RECORD>\r\n\t<id>\"2\"</id>\r\n\t<Name>\"&quot;q&quot;\"</Name>"
      "\r\n</RECORD>\r\n</RECORDS>";
  const XmlScanResult scan = ScanXMLText(element, XmlScanTags{});
  ASSERT_EQ(scan.Rows.size(), 4u);
  EXPECT_EQ(scan.Rows[0], "");
  EXPECT_EQ(scan.Rows[1], "");
  EXPECT_EQ(GetXMLValue("ID", scan.Rows[2]), Cell("1"));
  EXPECT_EQ(GetXMLValue("Name", scan.Rows[3]), Cell("&quot;q&quot;"));
  EXPECT_EQ(FieldNames(scan), (std::vector<std::string>{"Id", "Name"}));

  // A record element whose child is a row element: the row is the row
  // element (the IE layout); a table name names record elements too.
  const XmlScanResult ie = ScanXMLText(
      "<RECORDS><RECORD>\r\n    <ROW\r\n      Id=\"4\"\r\n    />\r\n  </RECORD>"
      "<RECORD><ROW Id=\"5\"/></RECORD></RECORDS><CUSTOMER><Id>6</Id></CUSTOMER>",
      XmlScanTags{}, "customer");
  ASSERT_EQ(ie.Rows.size(), 3u);
  EXPECT_EQ(GetXMLValue("Id", ie.Rows[0]), Cell("4"));
  EXPECT_EQ(GetXMLValue("Id", ie.Rows[1]), Cell("5"));
  EXPECT_EQ(GetXMLValue("Id", ie.Rows[2]), Cell("6"));
}

TEST(XMLScan, SplitRowsFindCellsInAnyOrder) {
  std::vector<XmlCell> cells;
  SplitXMLRow(R"( A="1" B="2" C="3"/>)", cells);
  ASSERT_EQ(cells.size(), 3u);
  size_t hint = 0;
  EXPECT_EQ(FindXMLCell(cells, "a", hint), Cell("1"));
  EXPECT_EQ(FindXMLCell(cells, "C", hint), Cell("3"));
  EXPECT_EQ(FindXMLCell(cells, "B", hint), Cell("2"));  // wraps around
  EXPECT_EQ(FindXMLCell(cells, "D", hint), std::nullopt);
  SplitXMLRow("", cells);
  EXPECT_EQ(FindXMLCell(cells, "A", hint), std::nullopt);
}

TEST(XMLScan, TokenisingAndFieldTypes) {
  const std::string_view text = "  <!-- c --> \r\n <td\n class=x>v</td><br/><ROW/>";
  size_t pos = 0;
  EXPECT_EQ(ReadNextTag(text, pos), "<td");
  EXPECT_EQ(ReadTagRest(text, pos), "\n class=x>");
  EXPECT_EQ(ReadNextTag(text, pos), "</td");
  EXPECT_EQ(ReadNextTag(text, pos), "<br");
  EXPECT_EQ(ReadNextTag(text, pos), "<ROW");
  EXPECT_EQ(ReadTagRest(text, pos), "/>");
  EXPECT_EQ(ReadNextTag(text, pos), "");
  EXPECT_EQ(pos, text.size());

  EXPECT_EQ(XMLFieldType("i2"), itInteger);
  EXPECT_EQ(XMLFieldType("ui2"), itInteger);
  EXPECT_EQ(XMLFieldType("I4"), itString);  // case-sensitive
  EXPECT_EQ(XMLFieldType("boolean"), itBoolean);
  EXPECT_EQ(XMLFieldType("date"), itDate);
  EXPECT_EQ(XMLFieldType("time"), itTime);
  EXPECT_EQ(XMLFieldType("datetime"), itDateTime);
  EXPECT_EQ(XMLFieldType("blob", "Text"), itMemo);
  EXPECT_EQ(XMLFieldType("bin.hex", "Graphics"), itBlob);
  EXPECT_EQ(XMLFieldType(""), itString);
}

TEST(XMLScan, BrokenTextEndsTheScanWithoutReadingPastIt) {
  for (const std::string_view text :
       {"<ROWDATA><ROW A=\"1", "<ROWDATA><ROW><A>1", "<ROWDATA><!-- open", "<", "<ROWDATA><ROW",
        "<?xml encoding=\"", "<FIELDS><FIELD attrname=\"A\""}) {
    const XmlScanResult scan = ScanXMLText(text, ClientDatasetTags());
    for (std::string_view row : scan.Rows) {
      EXPECT_GE(row.data(), text.data());
      EXPECT_LE(row.data() + row.size(), text.data() + text.size());
      (void)GetXMLValue("A", row);
    }
  }
}

}  // namespace
}  // namespace VdImport
