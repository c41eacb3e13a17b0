// The XML and HTML import components with the client's structure builder:
// packages and pages of the real writers and of other tools into an
// in-memory table, compared field by field.
#include <gtest/gtest.h>

#include <cmath>

#include "AllTypesTable.h"
#include "ExportPackage.h"
#include "TestDatabases.h"
#include "core/CodePage.h"
#include "core/NumberFormat.h"
#include "core/Properties.h"
#include "core/Stream.h"
#include "dataset/ClientDataSet.h"
#include "dataset/Field.h"
#include "export/VdE2HTML.h"
#include "export/VdE2XML.h"
#include "export/VdEXMLText.h"
#include "import/VdI2HTML.h"
#include "import/VdI2XML.h"
#include "import/VdIStructure.h"

namespace VdImport {
namespace {

using namespace Vdei;
using VdeiTest::ExportPackage;

// A table that publishes a TableName, as a database table does.
class TNamedTable : public TClientDataSet {
 public:
  VDEI_CLASS(TNamedTable)
  using TClientDataSet::TClientDataSet;
  const std::string& TableName() const { return tableName_; }
  void SetTableName(std::string value) { tableName_ = std::move(value); }

 private:
  std::string tableName_;
};

const TClassInfo& TNamedTable::StaticClassInfo() {
  using T = TNamedTable;
  static const TClassInfo info =
      ClassInfoBuilder<T, TClientDataSet>("TNamedTable")
          .String("TableName", &T::TableName, [](T& t, std::string v) { t.SetTableName(v); })
          .Build();
  return info;
}

class ImportComponents : public ::testing::Test {
 protected:
  ImportComponents() {
    SetActiveAnsiCodePage(1252);
    for (TVdImportBaseComponent* reader :
         std::initializer_list<TVdImportBaseComponent*>{xml, html}) {
      SetClientReaderSettings(*reader);
      reader->SetAnimatedStatus(false);
      reader->SetOptions(kAllImportOptions & ~(1 << soShowMessage));
      builder.Attach(*reader);
    }
  }

  void Import(TVdImportBaseComponent& reader, std::string_view text) {
    TMemoryStream stream;
    stream.WriteString(text);
    stream.SetPosition(0);
    reader.ImportFromStream(&stream);
    ASSERT_EQ(reader.Statistic()->Result(), irExecuted) << reader.ErrorText();
  }

  // How the target holds the source's values: typed by the package's
  // column list; as the page shows them; as untyped package texts (no
  // column list: numbers are compared by their text, dates skipped).
  enum Holding { kTyped, kShown, kUntyped };

  // The value of each field of every source record equals the imported
  // record's (empty texts and Nulls read back as Null).
  void ExpectSameRecords(TDataSet& source, Holding holding) {
    ASSERT_EQ(target->RecordCount(), source.RecordCount());
    target->First();
    for (source.First(); !source.Eof(); source.Next(), target->Next()) {
      for (int i = 0; i < source.FieldCount(); ++i) {
        const TField& from = *source.Fields(i);
        if (from.DataType() == ftGraphic) continue;  // written as a string column
        const TField& to = *target->Fields(i);
        const std::string where = from.FieldName() + " of record " + std::to_string(source.RecNo());
        if (from.IsNull() || from.AsString().empty()) {
          EXPECT_TRUE(to.IsNull()) << where << ": " << to.AsString();
        } else if (from.IsNumericField()) {
          const double value = holding == kTyped ? to.AsFloat() : StrToFloat(to.AsString());
          EXPECT_DOUBLE_EQ(value, from.AsFloat()) << where;
        } else if (from.IsDateTimeField() && holding == kTyped) {
          EXPECT_NEAR(to.AsDateTime(), from.AsDateTime(), 1e-9) << where;
        } else if (!from.IsDateTimeField() || holding == kShown) {
          EXPECT_EQ(to.AsString(), holding == kShown ? from.DisplayText() : from.AsString())
              << where;
        }
      }
    }
  }

  TComponent form{nullptr};
  TClientDataSet* source = VdeiTest::MakeAllTypesTable(&form);
  TClientDataSet* target = new TClientDataSet(&form);
  TVdImportFromXML* xml = new TVdImportFromXML(&form);
  TVdImportFromHTML* html = new TVdImportFromHTML(&form);
  TVdIStructureBuilder builder{*target};
};

TEST_F(ImportComponents, EveryXMLLayoutFillsTheClientTableWithTheSourceValues) {
  for (VdExport::TVdEXMLFormat format :
       {VdExport::xmlClientDataset, VdExport::xmlIE, VdExport::xmlIECompact, VdExport::xmlElement,
        VdExport::xmlMSSQL}) {
    SCOPED_TRACE(format);
    auto* writer = new VdExport::TVdExportToXML(&form);
    writer->SetFormat(format);
    const std::string package = ExportPackage(*writer, source);
    xml->Mappings()->Clear();
    Import(*xml, package);
    ASSERT_EQ(target->FieldCount(), source->FieldCount());
    const Holding holding = format == VdExport::xmlMSSQL ? kUntyped : kTyped;
    ExpectSameRecords(*source, holding);
    EXPECT_EQ(xml->Statistic()->TotalAdded(), 3);
    if (holding == kTyped) {  // memo and blob contents are decoded
      EXPECT_EQ(target->FieldByName("Note")->DataType(), ftMemo);
      EXPECT_EQ(target->FieldByName("Int")->DataType(), ftInteger);
      EXPECT_EQ(target->FieldByName("Stamp")->DataType(), ftDateTime);
    }
    // A second package keeps the structure and replaces the records.
    const TField* note = target->FieldByName("Note");
    Import(*xml, package);
    EXPECT_EQ(target->FieldByName("Note"), note);
    EXPECT_EQ(xml->Statistic()->TotalDeleted(), 3);
    ExpectSameRecords(*source, holding);
  }
}

TEST_F(ImportComponents, HTMLPageFillsTheClientTableWithTheTextsItShows) {
  auto* writer = new VdExport::TVdExportToHTML(&form);
  Import(*html, ExportPackage(*writer, source));
  ASSERT_EQ(target->FieldCount(), source->FieldCount());
  for (int i = 0; i < source->FieldCount(); ++i) {
    EXPECT_EQ(target->Fields(i)->FieldName(), source->Fields(i)->FieldName());
    EXPECT_EQ(html->Mappings()->Strings(i),
              source->Fields(i)->FieldName() + "=Field" + std::to_string(i + 1));
  }
  ExpectSameRecords(*source, kShown);
}

TEST_F(ImportComponents, StringFieldsHoldTheLongestCellWhateverTheDeclaredWidth) {
  const std::string longText(70000, 'x');
  Import(*xml,
         "<DATAPACKET><METADATA><FIELDS>"
         "<FIELD attrname=\"A\" fieldtype=\"string\" WIDTH=\"2\"/>"
         "<FIELD attrname=\"B\" fieldtype=\"string\"/>"
         "<FIELD attrname=\"C\" fieldtype=\"string\" WIDTH=\"40\"/>"
         "</FIELDS></METADATA><ROWDATA><ROW A=\"&lt;&amp;&gt;\" B=\"" +
             longText + "\"/><ROW A=\"a\"/></ROWDATA></DATAPACKET>");
  EXPECT_EQ(target->FieldByName("A")->Size(), 3);
  EXPECT_EQ(target->FieldByName("B")->Size(), 70000);
  EXPECT_EQ(target->FieldByName("C")->Size(), 40);
  target->First();
  EXPECT_EQ(target->FieldByName("A")->AsString(), "<&>");
  EXPECT_EQ(target->FieldByName("B")->AsString(), longText);
  target->Next();
  EXPECT_TRUE(target->FieldByName("B")->IsNull());

  // Columns that no row fills get the default size.
  Import(*html, "<table><tr><th>Empty</th></tr><tr><td>&nbsp;</td></tr></table>");
  EXPECT_EQ(target->FieldByName("Empty")->Size(), kDefaultStringSize);
  EXPECT_TRUE(target->FieldByName("Empty")->IsNull());
}

TEST_F(ImportComponents, PackagesOfOtherToolsAndTheirOddities) {
  // Pretty printed, UTF-8, element rows, a comment before the rows, an
  // empty record (dropped as an empty row), a value missing from a row.
  Import(*xml,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- dump -->\n  <ROWDATA>\n"
         "  <RECORD>\n    <Id>1</Id>\n    <Name>caf\xC3\xA9 \xE4\xB8\x96</Name>\n  </RECORD>\n"
         "  <RECORD/>\n"
         "  <RECORD>\n    <Id>3</Id>\n  </RECORD>\n</ROWDATA>\n");
  EXPECT_EQ(xml->Encoding(), "UTF-8");
  ASSERT_EQ(target->RecordCount(), 2);
  EXPECT_EQ(xml->Statistic()->TotalImported(), 3);
  EXPECT_EQ(xml->ReplacedCharacters(), 1);
  target->First();
  EXPECT_EQ(target->FieldByName("Name")->AsString(), "caf\xE9 ?");
  target->Next();
  EXPECT_EQ(target->FieldByName("Id")->AsString(), "3");
  EXPECT_TRUE(target->FieldByName("Name")->IsNull());
}

TEST_F(ImportComponents, TableNameNamesRecordsOnlyWhenTheTagsFindNone) {
  auto* named = new TNamedTable(&form);
  TVdIStructureBuilder namedBuilder(*named);
  namedBuilder.Attach(*xml);
  auto* writer = new VdExport::TVdExportToXML(&form);
  writer->SetFormat(VdExport::xmlClientDataset);
  const std::string package = ExportPackage(*writer, source);
  for (const char* tag : {"ROW", "ROWDATA", "FIELDS", "DATAPACKET", "METADATA"}) {
    named->SetTableName(tag);
    xml->Mappings()->Clear();
    Import(*xml, package);
    EXPECT_EQ(named->RecordCount(), 3) << tag;
    EXPECT_EQ(named->FieldByName("Name")->AsString(), source->FieldByName("Name")->AsString());
  }
  // Records named after the table, as some tools write them.
  named->SetTableName("customer.dbf");
  xml->Mappings()->Clear();
  Import(*xml, "<VFPData><customer><id>1</id></customer><customer><id>2</id></customer></VFPData>");
  EXPECT_EQ(named->RecordCount(), 2);
}

TEST_F(ImportComponents, HTMLTablesAsOtherToolsWriteThem) {
  Import(*html,
         "<html><head><meta charset=\"utf-8\"></head><body><table class=t>\n"
         "<thead><tr><th scope=col>Name</th><th>City</th><th>City</th></tr></thead>\n"
         "<tbody><tr><td\n class=a>Hello <b>big</b> world<td>K\xC3\xB6ln<td>&nbsp;\n"
         "<tr><td><img src=x.png></td><td>A &amp; B</td><td>x</td></tr></tbody></table>");
  ASSERT_EQ(target->FieldCount(), 3);
  EXPECT_EQ(target->Fields(2)->FieldName(), "City_1");
  target->First();
  EXPECT_EQ(target->FieldByName("Name")->AsString(), "Hello big world");
  EXPECT_EQ(target->FieldByName("City")->AsString(), "K\xF6ln");
  EXPECT_TRUE(target->FieldByName("City_1")->IsNull());
  target->Next();
  EXPECT_TRUE(target->FieldByName("Name")->IsNull());
  EXPECT_EQ(target->FieldByName("City")->AsString(), "A & B");
}

TEST_F(ImportComponents, SwitchingReadersRebuildsTheTableForEach) {
  auto* xmlWriter = new VdExport::TVdExportToXML(&form);
  xmlWriter->SetFormat(VdExport::xmlClientDataset);
  const std::string package = ExportPackage(*xmlWriter, source);
  auto* htmlWriter = new VdExport::TVdExportToHTML(&form);
  const std::string page = ExportPackage(*htmlWriter, source);
  Import(*xml, package);
  Import(*html, page);
  EXPECT_EQ(xml->Mappings()->Count(), 0);
  EXPECT_EQ(target->FieldByName("Int")->DataType(), ftString);
  Import(*xml, package);
  EXPECT_EQ(html->Mappings()->Count(), 0);
  EXPECT_EQ(target->FieldByName("Int")->DataType(), ftInteger);
  ExpectSameRecords(*source, kTyped);
}

TEST_F(ImportComponents, CellFilterTurnsNoValueAnswersIntoNull) {
  target->FieldDefs()->Add("Name", ftString, 10);
  target->FieldDefs()->Add("Code", ftString, 10);
  target->CreateDataSet();
  const auto filtered = [&](int field, Variant value) {
    FilterCellValue(field < 0 ? nullptr : target->Fields(field), value);
    return value.IsNull() ? std::string("<null>") : value.AsString();
  };
  EXPECT_EQ(filtered(0, Variant("Name")), "<null>");
  EXPECT_EQ(filtered(1, Variant("Field2")), "<null>");
  EXPECT_EQ(filtered(1, Variant("Field1")), "Field1");
  EXPECT_EQ(filtered(0, Variant("name")), "name");  // case matters
  EXPECT_EQ(filtered(-1, Variant("Name")), "Name");
}

TEST_F(ImportComponents, LargePackageFileReadsBackWhileItsPagesGoBack) {
  // Large enough for the reader to give pages back during the run.
  const VdeiTest::TempDir dir;
  const std::string path = dir.File("large.xml");
  const int rows = 90000;
  {
    TFileStream file(path, fmCreate);
    file.WriteString("<ROWDATA>");
    for (int i = 1; i <= rows; ++i) {
      file.WriteString("<ROW Id=\"" + std::to_string(i) + "\" Text=\"" +
                       std::string(380, static_cast<char>('a' + i % 26)) + "\"/>");
    }
    file.WriteString("</ROWDATA>");
  }
  xml->SetSourceFileName(path);
  xml->Execute();
  ASSERT_EQ(xml->Statistic()->Result(), irExecuted) << xml->ErrorText();
  ASSERT_EQ(target->RecordCount(), rows);
  int i = 0;
  for (target->First(); !target->Eof(); target->Next()) {
    ++i;
    ASSERT_EQ(target->Fields(0)->AsString(), std::to_string(i));
    ASSERT_EQ(target->Fields(1)->AsString(), std::string(380, static_cast<char>('a' + i % 26)));
  }
}

TEST_F(ImportComponents, SourceProblemsLeaveExecuteBeforeTheRun) {
  xml->SetSourceFileName("/nonexistent/package.xml");
  EXPECT_THROW(xml->Execute(), EFOpenError);
  EXPECT_EQ(xml->Statistic()->Result(), irUnknown);
  html->SetSourceFileName("");
  TMemoryStream stream;
  try {
    html->ImportFromStream(&stream);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Property SourceFileName wasn't specified.");
  }
}

}  // namespace
}  // namespace VdImport
