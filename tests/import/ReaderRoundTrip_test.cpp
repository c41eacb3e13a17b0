// Packages and pages written by the real writers, read back by the parse
// steps: every value comes back as the text the writer was given.
#include <gtest/gtest.h>

#include "AllTypesTable.h"
#include "ExportPackage.h"
#include "core/CodePage.h"
#include "core/StrUtils.h"
#include "core/Stream.h"
#include "dataset/Fields.h"
#include "export/VdE2HTML.h"
#include "export/VdE2XML.h"
#include "export/VdETextUtils.h"
#include "export/VdEXMLText.h"
#include "import/VdI2HTMLScan.h"
#include "import/VdI2XMLScan.h"
#include "import/VdIEntities.h"
#include "import/VdIMIME.h"

namespace VdImport {
namespace {

using namespace Vdei;
using VdeiTest::ExportPackage;

// The text a date, time or date-time field of the all-types table is
// written as, by record.
std::string DateText(const TField& field, int record) {
  const bool first = record == 0;
  switch (field.DataType()) {
    case ftDate:
      return first ? "20010315" : "18991230";
    case ftTime:
      return first ? "070509" : "000000";
    default:
      return first ? "20010315T14:30:05123" : "20010315";
  }
}

// The value read back for field from a raw cell, decoded as a field would
// receive it; blobs lose their Base64 (and CDATA) wrapping.
std::optional<std::string> ReadBack(const TField& field, std::optional<std::string_view> raw,
                                    bool utf8) {
  if (!raw) return std::nullopt;
  std::string buffer;
  int replaced = 0;
  std::string text(DecodeCellText(*raw, utf8, buffer, replaced));
  if (!field.IsBlobField()) return text;
  if (text.rfind("[CDATA[", 0) == 0) text = text.substr(7, text.size() - 9);
  return DecodeBase64(text);
}

// Nulls, and empty texts (a package leaves out empty values, a page shows
// them as empty cells), read back as no value.
std::optional<std::string> Expected(const TField& field, int record) {
  if (field.IsNull() || field.AsString().empty()) return std::nullopt;
  if (field.IsDateTimeField()) return DateText(field, record);
  return field.AsString();
}

class ReaderRoundTrip : public ::testing::Test {
 protected:
  ReaderRoundTrip() { SetActiveAnsiCodePage(1252); }

  // Reads every stored row of scan against the table's records.
  void ExpectRecords(const XmlScanResult& scan, const char* layout) {
    ASSERT_EQ(scan.Rows.size(), static_cast<size_t>(table->RecordCount())) << layout;
    std::vector<XmlCell> cells;
    int record = 0;
    for (table->First(); !table->Eof(); table->Next(), ++record) {
      SplitXMLRow(scan.Rows[record], cells);
      size_t hint = 0;
      for (int i = 0; i < table->FieldCount(); ++i) {
        const TField& field = *table->Fields(i);
        const std::string name = VdExport::SanitizeXMLName(field.FieldName());
        const auto raw = FindXMLCell(cells, name, hint);
        EXPECT_EQ(raw, GetXMLValue(name, scan.Rows[record]));
        EXPECT_EQ(ReadBack(field, raw, scan.Utf8), Expected(field, record))
            << layout << " record " << record << " " << name;
      }
    }
  }

  TComponent form{nullptr};
  TClientDataSet* table = VdeiTest::MakeAllTypesTable(&form);
};

TEST_F(ReaderRoundTrip, EveryXMLLayoutReadsBackEveryValue) {
  const std::pair<VdExport::TVdEXMLFormat, const char*> layouts[] = {
      {VdExport::xmlIE, "ie"},
      {VdExport::xmlIECompact, "iecompact"},
      {VdExport::xmlClientDataset, "clientdataset"},
      {VdExport::xmlElement, "element"},
      {VdExport::xmlMSSQL, "mssql"}};
  for (const auto& [format, layout] : layouts) {
    auto* writer = new VdExport::TVdExportToXML(&form);
    writer->SetFormat(format);
    const std::string package = ExportPackage(*writer, table);
    const XmlScanTags tags =
        format == VdExport::xmlClientDataset ? XmlScanTags{"ROWDATA", "", "ROW"} : XmlScanTags{};
    const XmlScanResult scan = ScanXMLText(package, tags);
    ASSERT_EQ(scan.Fields.size(), static_cast<size_t>(table->FieldCount())) << layout;
    for (int i = 0; i < table->FieldCount(); ++i) {
      EXPECT_EQ(scan.Fields[i].Name, VdExport::SanitizeXMLName(table->Fields(i)->FieldName()));
      if (format != VdExport::xmlMSSQL) {
        EXPECT_EQ(scan.Fields[i].Caption, table->Fields(i)->FieldName()) << layout;
      }
    }
    ExpectRecords(scan, layout);
  }
}

TEST_F(ReaderRoundTrip, Utf8PackageIsReadIntoTheActiveCodePage) {
  table->Edit();
  table->FieldByName("Name")->SetAsString("caf\xE9 \x80");
  table->Post();
  auto* writer = new VdExport::TVdExportToXML(&form);
  writer->SetFormat(VdExport::xmlClientDataset);
  std::string package = AnsiToUtf8(ExportPackage(*writer, table));
  package = VdExport::ReplaceAllText(package, "windows-1252", "UTF-8");
  const XmlScanResult scan = ScanXMLText(package, {"ROWDATA", "", "ROW"});
  ASSERT_TRUE(scan.Utf8);
  ExpectRecords(scan, "utf-8");

  // A character the code page lacks becomes '?' and is counted.
  std::string buffer;
  int replaced = 0;
  const std::string_view raw = *GetXMLValue("Name", scan.Rows[0]);
  EXPECT_EQ(DecodeCellText(std::string(raw) + "\xE4\xB8\x96", true, buffer, replaced),
            "caf\xE9 \x80?");
  EXPECT_EQ(replaced, 1);
}

TEST_F(ReaderRoundTrip, HTMLPageReadsBackItsTextsAndNulls) {
  auto* writer = new VdExport::TVdExportToHTML(&form);
  const HtmlScanResult scan = ScanHTMLText(ExportPackage(*writer, table), 1, 2);
  ASSERT_EQ(scan.Columns.size(), static_cast<size_t>(table->FieldCount()));
  ASSERT_EQ(scan.StoredRows(), static_cast<size_t>(table->RecordCount()));
  int record = 0;
  for (table->First(); !table->Eof(); table->Next(), ++record) {
    for (int i = 0; i < table->FieldCount(); ++i) {
      const TField& field = *table->Fields(i);
      EXPECT_EQ(scan.Columns[i].Name, field.FieldName());
      if (field.IsBlobField() || field.IsDateTimeField()) continue;
      const auto raw = GetHTMLCell(scan.Row(record), i + 1);
      EXPECT_EQ(ReadBack(field, raw, false), Expected(field, record))
          << record << " " << field.FieldName();
    }
  }
}

TEST_F(ReaderRoundTrip, NullBooleanOfMaskedTextsReadsBackAsNull) {
  auto* writer = new VdExport::TVdExportToHTML(&form);
  const std::string page =
      ExportPackage(*writer, table, VdExport::OptionBit(VdExport::soFieldMask));
  const HtmlScanResult scan = ScanHTMLText(page, 1, 2);
  const int flag = table->FieldByName("Flag")->Index() + 1;
  EXPECT_EQ(GetHTMLCell(scan.Row(0), flag), std::optional<std::string_view>("True"));
  EXPECT_EQ(GetHTMLCell(scan.Row(1), flag), std::nullopt);
  EXPECT_EQ(GetHTMLCell(scan.Row(2), flag), std::optional<std::string_view>("False"));
}

TEST(EntityRoundTrip, DecodingInvertsTheExportEscapeForEveryByte) {
  SetActiveAnsiCodePage(1252);
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(DecodeEntities(VdExport::EscapeText(all)), all);
  for (int b = 0; b < 256; ++b) {
    const std::string text =
        std::string("&") + static_cast<char>(b) + "lt;&amp;" + static_cast<char>(b);
    EXPECT_EQ(DecodeEntities(VdExport::EscapeText(text)), text) << b;
  }
}

}  // namespace
}  // namespace VdImport
