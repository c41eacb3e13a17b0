#include "export/VdE2XML.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestDatabases.h"
#include "XmlCheck.h"
#include "core/CodePage.h"
#include "core/DateTime.h"
#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Fields.h"
#include "dataset/Query.h"
#include "export/VdEXMLText.h"
#include "export/VdEXSL.h"

namespace VdExport {
namespace {

using namespace Vdei;
using VdeiTest::XmlProblem;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string GoldenPath(const std::string& name) {
  return std::string(VDEI_TEST_DATA_DIR) + "/export/xml/" + name;
}

// Compares package with the golden file; with VDEI_UPDATE_GOLDEN set the
// file is written instead (and must then be read through by hand).
void ExpectGolden(const std::string& package, const std::string& name) {
  const std::string path = GoldenPath(name);
  if (std::getenv("VDEI_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << package;
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  EXPECT_EQ(package, ReadFile(path)) << name;
}

class XMLExport : public ::testing::Test {
 protected:
  XMLExport() {
    xml->SetColumnSource(csDataSet);
    xml->SetAnimatedStatus(false);
    xml->SetOptions(OptionBit(soDisableControls) | OptionBit(soColLines) | OptionBit(soRowLines));
    xml->SetAddTitle(true);
  }

  std::string Export() {
    TMemoryStream stream;
    xml->ExportToStream(&stream);
    return std::string(stream.View());
  }

  // Fields of every kind the writer treats differently: three records, the
  // first with markup, line breaks and the bytes EscapeText names, the
  // second null throughout (the name an empty text), the third zeros and
  // a date-time at midnight.
  TClientDataSet* MakeAllTypesTable() {
    auto* table = new TClientDataSet(&form);
    TFieldDefs& defs = *table->FieldDefs();
    defs.Add("Name", ftString, 40, true);
    defs.Add("Small", ftSmallint);
    defs.Add("Int", ftInteger);
    defs.Add("Word", ftWord);
    defs.Add("Flag", ftBoolean);
    defs.Add("Unit Price (%)", ftFloat);
    defs.Add("Money", ftCurrency);
    defs.Add("Exact", ftBCD);
    defs.Add("Day", ftDate);
    defs.Add("Clock", ftTime);
    defs.Add("Stamp", ftDateTime);
    defs.Add("Id", ftAutoInc);
    defs.Add("Bytes", ftBlob);
    defs.Add("Note", ftMemo);
    defs.Add("Picture", ftGraphic);
    table->CreateDataSet();
    auto set = [table](const char* name, std::string_view text) {
      table->FieldByName(name)->SetAsString(text);
    };
    table->Append();
    set("Name", "A & B <\"q\"> 'x' |\r\n\x99\xA9\xB0\xB1\xB6");
    set("Small", "-5");
    set("Int", "17");
    set("Word", "65535");
    table->FieldByName("Flag")->SetAsBoolean(true);
    table->FieldByName("Unit Price (%)")->SetAsFloat(1.5);
    table->FieldByName("Money")->SetAsFloat(1234.5);
    set("Exact", "12345678901234567890.25");
    table->FieldByName("Day")->SetAsDateTime(EncodeDate(2001, 3, 15));
    table->FieldByName("Clock")->SetAsDateTime(EncodeTime(7, 5, 9, 0));
    table->FieldByName("Stamp")->SetAsDateTime(EncodeDate(2001, 3, 15) +
                                               EncodeTime(14, 30, 5, 123));
    set("Bytes", std::string_view("\0\x01\x02"
                                  "BM\xFF",
                                  6));
    set("Note", "two\r\nlines & more");
    set("Picture", "GIF89a");
    table->Post();
    table->Append();
    set("Name", "");
    table->Post();
    table->Append();
    set("Name", "Z");
    for (const char* name : {"Small", "Int", "Word", "Unit Price (%)", "Money", "Exact"}) {
      set(name, "0");
    }
    table->FieldByName("Flag")->SetAsBoolean(false);
    table->FieldByName("Day")->SetAsDateTime(0);
    table->FieldByName("Clock")->SetAsDateTime(0);
    table->FieldByName("Stamp")->SetAsDateTime(EncodeDate(2001, 3, 15));
    table->Post();
    table->FieldByName("Id")->SetReadOnly(true);
    table->First();
    return table;
  }

  TComponent form{nullptr};
  TVdExportToXML* xml = new TVdExportToXML(&form);
};

TEST_F(XMLExport, ClientDatasetExampleComesOutExactly) {
  SetActiveAnsiCodePage(1252);
  auto* table = new TClientDataSet(&form);
  table->FieldDefs()->Add("Code", ftFloat);
  table->FieldDefs()->Add("Company", ftString, 30);
  table->CreateDataSet();
  table->Append();
  table->Fields(0)->SetAsFloat(17);
  table->Fields(1)->SetAsString("A & B");
  table->Post();
  xml->SetDataSet(table);
  xml->SetFormat(xmlClientDataset);

  EXPECT_EQ(Export(),
            R"(<?xml version="1.0" encoding="windows-1252" standalone="yes"?>  <DATAPACKET )"
            R"(Version="2.0"><METADATA><FIELDS><FIELD attrname="Code" fieldtype="r8"/><FIELD )"
            R"(attrname="Company" fieldtype="string" WIDTH="30"/></FIELDS><PARAMS )"
            R"(DEFAULT_ORDER="1" PRIMARY_KEY="1" LCID="1033"/></METADATA><ROWDATA><ROW )"
            R"(Code="17" Company="A &amp; B"/></ROWDATA></DATAPACKET>)");

  // Header and footer lines are rows of their own around the records,
  // escaped like values; without the title there is no column list.
  xml->SetAddTitle(false);
  xml->Header()->Add("Q&A <1>");
  xml->Footer()->Add("\"end\"");
  EXPECT_EQ(Export(),
            R"(<?xml version="1.0" encoding="windows-1252" standalone="yes"?>  <DATAPACKET )"
            R"(Version="2.0"><ROWDATA><ROW LINE0="Q&amp;A &lt;1&gt;"/><ROW Code="17" )"
            R"(Company="A &amp; B"/><ROW LINE3="&quot;end&quot;"/></ROWDATA></DATAPACKET>)");

  // The declared encoding follows the active code page.
  SetActiveAnsiCodePage(1251);
  EXPECT_EQ(Export().substr(0, 44), R"(<?xml version="1.0" encoding="windows-1251" )");
  SetActiveAnsiCodePage(1252);
}

TEST_F(XMLExport, EveryLayoutOverEveryFieldKindMatchesItsGoldenPackage) {
  xml->SetDataSet(MakeAllTypesTable());
  xml->Header()->Add("Header & <one>");
  xml->Footer()->Add("Footer 'two'");
  const std::pair<TVdEXMLFormat, const char*> layouts[] = {
      {xmlIE, "alltypes_ie.xml"},
      {xmlIECompact, "alltypes_iecompact.xml"},
      {xmlClientDataset, "alltypes_clientdataset.xml"},
      {xmlElement, "alltypes_element.xml"},
      {xmlMSSQL, "alltypes_mssql.xml"}};
  for (const auto& [format, golden] : layouts) {
    xml->SetFormat(format);
    const std::string package = Export();
    ExpectGolden(package, golden);
    EXPECT_EQ(package.find("Generated by VdExport 4.64") != std::string::npos,
              format != xmlClientDataset)
        << golden;
  }
}

TEST_F(XMLExport, BlankIfZeroAndBlankValuesNeverWriteABrokenAttribute) {
  xml->SetDataSet(MakeAllTypesTable());
  xml->SetFormat(xmlClientDataset);
  xml->SetAddTitle(false);
  xml->SetBlankIfZero(true);
  std::string package = Export();
  EXPECT_EQ(package.find("\"\""), std::string::npos) << "no quotes inside the quotes";
  // Null and zero values are left out: nothing of record 2 but its number;
  // of record 3 the name, the Boolean (not null) and the midnight stamp.
  EXPECT_NE(package.find(R"(<ROW Id="2"/>)"), std::string::npos) << package;
  EXPECT_NE(package.find(R"(<ROW Name="Z" Flag="False" Stamp="20010315" Id="3"/>)"),
            std::string::npos)
      << "no False, no 18991230, no 000000 under BlankIfZero";

  xml->SetOptions(xml->Options() | OptionBit(soExportBlankValues));
  package = Export();
  EXPECT_NE(package.find(R"(<ROW Name="" Small="" Int="" Word="" Flag="" Unit_Price____="" )"
                         R"(Money="" Exact="" Day="" Clock="" Stamp="" Id="2" Bytes="" Note="" )"
                         R"(Picture=""/>)"),
            std::string::npos)
      << package;

  // Without BlankIfZero a null Boolean counts as False and zeros are kept.
  xml->SetBlankIfZero(false);
  xml->SetOptions(OptionBit(soDisableControls));
  package = Export();
  EXPECT_NE(package.find(R"(<ROW Flag="False" Id="2"/>)"), std::string::npos) << package;
  EXPECT_NE(package.find(R"(Day="18991230" Clock="000000" Stamp="20010315")"), std::string::npos);

  // The Boolean words come from DataFormats; no quoting with QuoteTerm 0.
  xml->DataFormats()->SetBooleanFalse("no");
  xml->SetQuoteTerm('\0');
  package = Export();
  EXPECT_NE(package.find(R"(<ROW Flag=no Id=2/>)"), std::string::npos) << package;
}

TEST_F(XMLExport, ElementLayoutsQuoteInsideTheElementAndNameCellsWithoutAField) {
  auto* table = new TClientDataSet(&form);
  table->FieldDefs()->Add("A", ftInteger);
  table->FieldDefs()->Add("B", ftString, 5);
  table->CreateDataSet();
  table->Append();
  table->Fields(0)->SetAsInteger(1);
  table->Fields(1)->SetAsString("x");
  table->Post();
  table->First();
  xml->SetDataSet(table);
  xml->SetFormat(xmlElement);
  xml->SetAddTitle(false);
  // A hidden column, and a column that no field of the table backs: its
  // cell carries the engine's (empty) value under the column's name.
  TVdEColumn* hidden = xml->Columns()->Add();
  hidden->SetFieldName("A");
  hidden->SetVisible(false);
  xml->Columns()->Add()->SetFieldName("B");
  TVdEColumn* loose = xml->Columns()->Add();
  loose->SetFieldName("Not There");
  loose->Title()->SetCaption("Caption");
  xml->SetOptions(OptionBit(soExportBlankValues));
  EXPECT_EQ(Export(),
            "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?><!-- Generated "
            "by VdExport 4.64-->  \r\n<RECORDS>\r\n<RECORD>\r\n      <B>\"x\"</B>\r\n      "
            "<Not_There>\"\"</Not_There>\r\n</RECORD>\r\n</RECORDS>");
  xml->SetOptions(OptionBit(soExportBlankValues) | OptionBit(soUseFieldNameAsCaption));
  xml->SetQuoteTerm('\0');
  xml->SetFormat(xmlMSSQL);
  EXPECT_NE(
      Export().find("\r\n\t<RECORD>\r\n\t\t<B>x</B>\r\n\t\t<Caption></Caption>\r\n\t</RECORD>"),
      std::string::npos);
}

// An engine that reports a field type of its own for each column, with
// column "R" required and "W" read-only, so that every row of the type
// tables is reached.
class TTypedEngine : public TVdECustomDataEngine {
 public:
  using TVdECustomDataEngine::TVdECustomDataEngine;
  TFieldType GetColumnFieldType(const TVdEColumn& column) override {
    return static_cast<TFieldType>(column.Precision());
  }
  bool IsColumnRequired(const TVdEColumn& column) override { return column.FieldName() == "R"; }
  bool IsColumnReadOnly(const TVdEColumn& column) override { return column.FieldName() == "W"; }
};

TEST_F(XMLExport, ColumnListNamesTypesAndFlagsEveryColumn) {
  auto* engine = new TTypedEngine(&form);
  xml->SetColumnSource(csDataEngine);
  xml->SetDataEngine(engine);
  const std::pair<const char*, TFieldType> columns[] = {
      {"S", ftString},  {"i2", ftSmallint},      {"R", ftInteger},   {"W", ftWord},
      {"b", ftBoolean}, {"f", ftFloat},          {"c", ftCurrency},  {"bcd", ftBCD},
      {"d", ftDate},    {"t", ftTime},           {"dt", ftDateTime}, {"ai", ftAutoInc},
      {"m", ftMemo},    {"Q&A \"1\"", ftGraphic}};
  for (const auto& [name, type] : columns) {
    TVdEColumn* column = xml->Columns()->Add();
    column->SetFieldName(name);
    column->SetPrecision(type);
    column->SetWidth(7);
  }
  xml->Columns()->Items(1)->SetVisible(false);
  xml->SetFormat(xmlIECompact);
  EXPECT_EQ(Export(),
            "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?><!-- Generated "
            "by VdExport 4.64-->  <RECORDS><METADATA><FIELDS>"
            R"(<FIELD attrname="S" fieldtype="string" WIDTH="7"/>)"
            R"(<FIELD attrname="R" fieldtype="i4" required="true"/>)"
            R"(<FIELD attrname="W" fieldtype="ui2" readonly="true"/>)"
            R"(<FIELD attrname="b" fieldtype="boolean"/><FIELD attrname="f" fieldtype="r8"/>)"
            R"(<FIELD attrname="c" fieldtype="r8" SUBTYPE="Money"/>)"
            R"(<FIELD attrname="bcd" fieldtype="r8"/><FIELD attrname="d" fieldtype="date"/>)"
            R"(<FIELD attrname="t" fieldtype="time"/><FIELD attrname="dt" fieldtype="datetime"/>)"
            R"(<FIELD attrname="ai" fieldtype="i4" SUBTYPE="Autoinc"/>)"
            R"(<FIELD attrname="m" fieldtype="blob" SUBTYPE="Text"/>)"
            R"(<FIELD fieldname="Q&amp;A &quot;1&quot;" attrname="Q&A_"1"" fieldtype="string" )"
            R"(WIDTH="7"/>)"
            R"(</FIELDS><PARAMS DEFAULT_ORDER="1" PRIMARY_KEY="1" LCID="1033"/></METADATA>)"
            "</RECORDS>");

  xml->Columns()->Items(13)->SetFieldName("pic");
  xml->SetFormat(xmlMSSQL);
  const std::string schema = Export();
  const auto block = [](const std::string& length) {
    return "minOccurs=\"0\">\r\n\t\t\t\t\t\t\t\t\t<xsd:simpleType>\r\n\t\t\t\t\t\t\t\t\t\t"
           "<xsd:restriction base=\"xsd:string\">\r\n\t\t\t\t\t\t\t\t\t\t\t<xsd:maxLength "
           "value=\"" +
           length +
           "\"/>\r\n\t\t\t\t\t\t\t\t\t\t</xsd:restriction>\r\n\t\t\t\t\t\t\t\t\t"
           "</xsd:simpleType>\r\n\t\t\t\t\t\t\t\t</xsd:element>\r\n";
  };
  const std::string entry = "\t\t\t\t\t\t\t\t<xsd:element name=\"";
  EXPECT_NE(schema.find(entry + "S\" " + block("7") + entry + "R\" type=\"xsd:int\" "),
            std::string::npos)
      << schema;
  EXPECT_NE(schema.find(entry + "m\" " + block("2147483647") + entry + "pic\" " +
                        block("2147483647") + "\t\t\t\t\t\t\t</xsd:sequence>"),
            std::string::npos)
      << "memo and picture columns are unbounded strings";
  for (const char* type : {"boolean", "r8", "money", "date", "time", "datetime", "autoinc"}) {
    EXPECT_NE(schema.find(std::string("type=\"xsd:") + type + "\" minOccurs=\"0\"/>\r\n"),
              std::string::npos)
        << type;
  }
}

TEST_F(XMLExport, StylesheetLandsBesideTheFileWithTheTagsPutIn) {
  VdeiTest::TempDir dir;
  xml->SetDataSet(MakeAllTypesTable());
  xml->SetFileName(dir.File("out.XML"));
  xml->SetGenerateXSL(true);
  xml->SetFormat(xmlClientDataset);
  const std::string package = Export();
  EXPECT_EQ(package.rfind("<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?>\r\n"
                          "<?xml-stylesheet type=\"text/xsl\" href=\"out.xsl\"?>  <DATAPACKET",
                          0),
            0u);
  const std::string stylesheet = ReadFile(dir.File("out.xsl"));
  EXPECT_EQ(stylesheet, StylesheetText(xmlClientDataset, TVdEXMLTags()));
  EXPECT_EQ(std::count(stylesheet.begin(), stylesheet.end(), '\n'), 36);
  EXPECT_NE(stylesheet.find("\r\n  <xsl:template match=\"ROWDATA/ROW\">\r\n"), std::string::npos);
  EXPECT_EQ(stylesheet.substr(stylesheet.size() - 19), "</xsl:stylesheet>\r\n");

  TVdEXMLTags tags;
  tags.SetRecordsTag("ITEMS");
  tags.SetRecordTag("ITEM");
  tags.SetRowTag("R");
  xml->SetXMLTags(&tags);
  xml->SetFormat(xmlElement);
  const std::string elements = Export();
  EXPECT_NE(elements.find("<ITEMS>\r\n<METADATA>"), std::string::npos);
  EXPECT_NE(elements.find("</METADATA>\r\n<ITEM>\r\n      <Name>"), std::string::npos);
  const std::string text = ReadFile(dir.File("out.xsl"));
  EXPECT_NE(text.find("  <xsl:template match=\"ITEMS\">\r\n"), std::string::npos);
  EXPECT_NE(text.find("    <xsl:apply-templates select=\"ITEM\"/>\r\n"), std::string::npos);
  EXPECT_NE(text.find("    <xsl:for-each>\r\n"), std::string::npos);
  EXPECT_EQ(text.find("ROW"), std::string::npos);

  // No stylesheet for the schema layout; one that cannot be written fails
  // the run.
  std::filesystem::remove(dir.File("out.xsl"));
  xml->SetFormat(xmlMSSQL);
  EXPECT_EQ(Export().find("xml-stylesheet"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.xsl")));
  xml->SetFormat(xmlIE);
  xml->SetFileName(dir.File("missing/out.XML"));
  EXPECT_THROW(Export(), EFOpenError);
  EXPECT_EQ(xml->Statistic()->Result(), erFailed);
}

TEST_F(XMLExport, EveryClientDatasetPackageOfTheSampleDatabaseIsWellFormed) {
  auto* query = new TQuery(&form);
  query->SetDatabaseName("DBDEMOS");
  query->SQL()->SetText("SELECT *\nFROM CUSTOMER\nORDER BY COMPANY");
  query->Open();
  xml->SetDataSet(query);
  xml->SetFormat(xmlClientDataset);
  xml->Header()->Add("Customers & <prospects>");
  xml->Footer()->Add("\"That's all\"");
  struct Variation {
    const char* Name;
    std::function<void()> Apply;
  };
  const Variation variations[] = {
      {"defaults", [] {}},
      {"blank values", [&] { xml->SetOptions(OptionBit(soExportBlankValues)); }},
      {"blank if zero", [&] { xml->SetBlankIfZero(true); }},
      {"field mask", [&] { xml->SetOptions(OptionBit(soFieldMask)); }},
      {"no title", [&] { xml->SetAddTitle(false); }},
      {"apostrophes", [&] { xml->SetQuoteTerm('\''); }},
  };
  for (const Variation& variation : variations) {
    variation.Apply();
    int rows = 0;
    EXPECT_EQ(XmlProblem(Export(), "ROW", &rows), "") << variation.Name;
    EXPECT_EQ(rows, query->RecordCount() + 2) << variation.Name;
  }
}

TEST(XMLText, SanitizePadBase64AndReplace) {
  EXPECT_EQ(SanitizeXMLName("Unit Price (%)"), "Unit_Price____");
  EXPECT_EQ(SanitizeXMLName("a&b<c>\"d\""), "a&b<c>\"d\"") << "only the four characters";
  EXPECT_EQ(PadNumber(7, 2), "07");
  EXPECT_EQ(PadNumber(123, 2), "123");
  EXPECT_EQ(PadNumber(0, 3), "000");
  EXPECT_EQ(PadNumber(-7, 3), "-07");

  const std::pair<std::string, std::string> vectors[] = {{"", ""},
                                                         {"f", "Zg=="},
                                                         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},
                                                         {"foob", "Zm9vYg=="},
                                                         {"foobar", "Zm9vYmFy"},
                                                         {std::string("\0\xFF\xFE", 3), "AP/+"}};
  for (const auto& [bytes, encoded] : vectors) EXPECT_EQ(Base64Encode(bytes), encoded);
  EXPECT_EQ(Base64Encode(std::string(100, 'x')).find('\n'), std::string::npos);

  EXPECT_EQ(ReplaceAllText("aaa", "a", "aa"), "aaaaaa") << "inserted text is not scanned again";
  EXPECT_EQ(ReplaceAllText("RECORDS RECORD", "RECORD", "ITEM"), "ITEMS ITEM");
  EXPECT_EQ(ReplaceAllText("Row ROW", "ROW", "R"), "Row R") << "case-sensitive";
  EXPECT_EQ(ReplaceAllText("abc", "b", "b"), "abc");
  EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
}

TEST(XMLComponent, DefaultsPublishedPropertiesAndTags) {
  TComponent form(nullptr);
  auto* xml = new TVdExportToXML(&form);
  EXPECT_EQ(xml->TableType(), ttXML);
  EXPECT_EQ(ExtractFileName(xml->FileName()), "VdExport.XML");
  EXPECT_EQ(xml->DataFormats()->DateOrder(), doYMD);
  EXPECT_TRUE(xml->DataFormats()->LeadingZerosInDate());
  EXPECT_EQ(xml->DataFormats()->CustomDateTimeFormat(), "yyyymmddThhnnsszzz");
  EXPECT_FALSE(xml->AddTitle());
  EXPECT_EQ(GetEnumProp(*xml, "Format"), "xmlIE");
  EXPECT_EQ(GetPropValue(*xml, "QuoteTerm").AsString(), "\"");
  SetPropValue(*xml, "Format", Variant(int(xmlMSSQL)));
  SetPropValue(*xml, "QuoteTerm", Variant(""));
  SetPropValue(*xml, "RowsPerFile", Variant(3));
  EXPECT_EQ(xml->Format(), xmlMSSQL);
  EXPECT_EQ(xml->QuoteTerm(), '\0');
  EXPECT_EQ(xml->RowsPerFile(), 3);

  auto* tags = static_cast<TVdEXMLTags*>(GetObjectProp(*xml, "XMLTags"));
  EXPECT_EQ(tags->RecordsTag() + tags->RecordTag() + tags->RowTag(), "RECORDSRECORDROW");
  TVdEXMLTags other;
  other.SetRowTag("R");
  xml->SetXMLTags(&other);
  EXPECT_EQ(xml->XMLTags()->RowTag(), "R");
  EXPECT_NE(xml->XMLTags(), &other) << "assigning copies";
  EXPECT_THROW(tags->Assign(*xml->DataFormats()), Exception);

  auto* copy = new TVdExportToXML(&form);
  copy->Assign(*xml);
  EXPECT_EQ(copy->Format(), xmlMSSQL);
  EXPECT_EQ(copy->QuoteTerm(), '\0');
  EXPECT_EQ(copy->XMLTags()->RowTag(), "R");
}

}  // namespace
}  // namespace VdExport
