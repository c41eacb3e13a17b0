// Row evaluation: sources as expressions, missing cells, LOOKUP,
// SUBSTITUTE, load conditions, empty rows, the cell event, OEM texts; and
// the mappings a run makes.
#include <gtest/gtest.h>

#include "ImportTestReader.h"
#include "RecordingPlatform.h"
#include "core/CodePage.h"
#include "dataset/Fields.h"
#include "import/VdIBase.h"
#include "platform/Application.h"

namespace VdImport {
namespace {

using Vdei::Variant;

struct RowEvaluation : ::testing::Test {
  Vdei::PlatformScope platform;
  Vdei::TComponent form{nullptr};
  Vdei::TClientDataSet* table = MakeTable(&form, {});
  TTestReader* reader = new TTestReader(&form);

  RowEvaluation() {
    reader->SetDataSet(table);
    reader->columns = {"ID", "NAME", "STATE"};
  }
  // Runs the given mappings over the rows (imCopy) and returns the table.
  std::string Import(const std::string& mappings, std::vector<TTestRow> rows) {
    reader->SetMode(imCopy);
    reader->Mappings()->SetText(mappings);
    reader->rows = std::move(rows);
    reader->Execute();
    EXPECT_EQ(reader->Statistic()->Result(), irExecuted) << reader->ErrorText();
    return Contents(*table);
  }
};

TEST_F(RowEvaluation, SourcesAreExpressionsOverTheCells) {
  EXPECT_EQ(Import("Id=ID * 10 + 1\nName=NAME + '/' + STATE\nAmount=ID / 4",
                   {{"1", "a", "CA"}, {"2", "b", "NY"}}),
            "11:a/CA:0.25 21:b/NY:0.5");
  // Unknown names are their own text; bracketed and quoted names are cells.
  reader->columns = {"ID", "Full Name"};
  EXPECT_EQ(Import("Name=[Full Name]\nAmount=ID", {{"3", "x y"}}), "-:x y:3");
  EXPECT_EQ(Import("Name=\"Full Name\" + Unknown", {{"3", "x y"}}), "-:x yUnknown:-");
  // A bare PI is the user function; in brackets it is the cell.
  reader->columns = {"PI", "NAME"};
  EXPECT_EQ(Import("Amount=PI\nName=[PI]", {{"7", "n"}}), "-:7:3.14");
}

TEST_F(RowEvaluation, MissingCellsAreNullWhateverTheFieldType) {
  reader->SetOptions(reader->Options() & ~(1 << soSkipEmptyRow));
  EXPECT_EQ(Import("Id=ID\nName=NAME\nAmount=ID", {{std::nullopt, std::nullopt, "CA"}}), "-:-:-");
  // Blanks in numeric fields are 0 by the conversion, empty texts Null.
  EXPECT_EQ(Import("Id=ID\nName=NAME", {{"  ", ""}}), "0:-:-");
  reader->SetTrimSpaces(tsTrimLeftRight);
  EXPECT_EQ(Import("Id=ID\nName=NAME", {{"  ", "  pad  "}}), "-:pad:-");
}

TEST_F(RowEvaluation, EmptyRowsAreSkippedByTheirCellsBeforeConversion) {
  EXPECT_EQ(Import("Id=ID\nName=NAME\nAmount=ID",
                   {{"1", "a"}, {" ", "  "}, {std::nullopt, ""}, {std::nullopt, "b"}}),
            "1:a:1 -:b:-");
  EXPECT_EQ(reader->Statistic()->TotalImported(), 4);
  EXPECT_EQ(reader->Statistic()->TotalAdded(), 2);
  EXPECT_EQ(reader->Statistic()->TotalErrors(), 0);
}

TEST_F(RowEvaluation, LoadConditionsChooseRows) {
  std::vector<TTestRow> rows = {{"1", "a", "CA"}, {"2", "b", "NY"}, {"3", "c", "CA"}};
  reader->LoadCondition()->SetLoadWhen("STATE = 'CA'");
  EXPECT_EQ(Import("Id=ID", rows), "1:-:- 3:-:-");
  reader->LoadCondition()->SetLoadWhen("");
  reader->LoadCondition()->SetSkipIf("ID - 2");  // a number: skipped when not 0
  EXPECT_EQ(Import("Id=ID", rows), "2:-:-");
  reader->LoadCondition()->SetSkipIf("NAME");  // a text that is no Boolean: a row error
  Import("Id=ID", rows);
  EXPECT_EQ(reader->Statistic()->TotalErrors(), 3);
}

TEST_F(RowEvaluation, LookupAndSubstitute) {
  auto* customers = new Vdei::TClientDataSet(&form);
  customers->SetName("Customers");
  customers->FieldDefs()->Add("CUSTNO", Vdei::ftInteger);
  customers->FieldDefs()->Add("COMPANY", Vdei::ftString, 20);
  customers->CreateDataSet();
  customers->Append();
  customers->Fields(0)->SetAsInteger(2);
  customers->Fields(1)->SetAsString("Acme");
  customers->Post();

  EXPECT_EQ(Import("Id=ID\nName=LOOKUP('Customers', 'CUSTNO', ID, 'COMPANY')",
                   {{"2", "", ""}, {"5", "", ""}}),
            "2:Acme:- 5:-:-");
  EXPECT_EQ(Import("Name=SUBSTITUTE(STATE, 'CA;NY;TX', 'California;New York')",
                   {{"1", "", "CA"}, {"1", "", "NY"}, {"1", "", "WA"}, {"1", "", "TX"}}),
            "-:California:- -:New York:- -:-:- -:-:-");
  // A dataset on another form is named through the application object.
  std::unique_ptr<Vdei::TComponent> other(new Vdei::TComponent(&Vdei::Application()));
  other->SetName("frmOther");
  auto* remote = new Vdei::TClientDataSet(other.get());
  remote->SetName("Remote");
  remote->FieldDefs()->Add("CUSTNO", Vdei::ftInteger);
  remote->FieldDefs()->Add("COMPANY", Vdei::ftString, 20);
  remote->CreateDataSet();
  remote->Append();
  remote->Fields(0)->SetAsInteger(5);
  remote->Fields(1)->SetAsString("Far");
  remote->Post();
  EXPECT_EQ(Import("Name=LOOKUP('frmOther.Remote', 'CUSTNO', ID, 'COMPANY')", {{"5", "", ""}}),
            "-:Far:-");
  // Too few arguments: the name is a cell (here no cell, so its own text).
  EXPECT_EQ(Import("Name=SUBSTITUTE(STATE)", {{"1", "", "CA"}}), "-:SUBSTITUTE:-");
  std::string rest = "a b \t;c";
  EXPECT_EQ(ExtractToken(';', rest), "a b");
  EXPECT_EQ(rest, "c");
}

TEST_F(RowEvaluation, CellEventAndOemTexts) {
  std::vector<std::string> seen;
  reader->OnGetCellParams = [&](Vdei::TObject*, Vdei::TField* field, Variant& value) {
    seen.push_back((field ? field->FieldName() : "-") + "=" + value.AsString());
    if (field != nullptr && value.AsString() == "drop") value = Variant::Null();
  };
  reader->SetCharacterSet(csiASCII_MSDOS);
  const std::string oemE = Vdei::AnsiToOem("\xE9");  // e acute in the OEM code page
  EXPECT_EQ(Import("Name=NAME\nAmount=ID\nOther=STATE", {{"2", oemE, "drop"}, {"3", "drop", ""}}),
            "-:\xE9:2 -:-:3");
  EXPECT_EQ(seen, (std::vector<std::string>{"Name=\xE9", "Amount=2", "-=drop", "Name=drop",
                                            "Amount=3", "-="}));
}

TEST(ImportMappings, DefaultMappingsByNameLabelOrPosition) {
  Vdei::TComponent form(nullptr);
  Vdei::TClientDataSet* table = MakeTable(&form, {});
  table->FieldByName("Amount")->SetDisplayLabel("Total Amount");
  TVdIColumns columns(nullptr);
  for (const char* name : {"NAME", "Total Amount", "E-Mail"}) columns.Add()->SetFieldName(name);
  Vdei::TStringList lines;
  MakeDefaultMappings(columns, *table, false, lines);
  EXPECT_EQ(lines.CommaText(), "Name=NAME");
  MakeDefaultMappings(columns, *table, true, lines);
  EXPECT_EQ(lines.CommaText(), "Name=NAME,\"Amount=[Total Amount]\"");
  columns.Clear();
  for (const char* name : {"2ndPhone", "Count", "PI", "LOOKUP", "a]b"}) {
    columns.Add()->SetFieldName(name);
  }
  MakeDefaultMappings(columns, *table, false, lines);
  EXPECT_EQ(lines.CommaText(), "Id=[2ndPhone],Name=[Count],Amount=[PI]") << "by position";
  EXPECT_EQ(SourceOfName("LOOKUP"), "[LOOKUP]");
  EXPECT_EQ(SourceOfName("a]b"), "\"a]b\"");
  EXPECT_EQ(SourceOfName("Company_2"), "Company_2");
}

TEST(ImportMappings, EntryListsFromLinesAndKeys) {
  Vdei::TComponent form(nullptr);
  Vdei::TClientDataSet* table = MakeTable(&form, {});
  Vdei::TStringList lines;
  lines.SetText(" name = A = B \nId=X\nNAME=Y\nAmount=\nNoField=Z\nnoequals\n");
  const TVdIEntries mapping = MakeMappingEntries(lines, false);
  std::string text;
  for (const TVdIEntry& e : mapping) text += e.FieldName + "<" + e.Source + "> ";
  EXPECT_EQ(text, "NAME<A = B> ID<X> NAME<A = B> NOFIELD<Z> ");
  std::vector<std::string> missing;
  const TVdIEntries keys = MakeKeyEntries(lines, "Id; Name;Amount;", false, &missing);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].FieldName, "ID");
  EXPECT_EQ(missing, (std::vector<std::string>{" NAME", "AMOUNT"}));
  TVdIEntries import = MakeImportEntries(mapping, keys, table);
  EXPECT_EQ(import.size(), 4u) << "the key has a mapping entry";
  EXPECT_EQ(import[1].Link, 0);
  EXPECT_EQ(import[3].Link, -1) << "no field of that name";
  TVdIEntries linked = keys;
  LinkToImportEntries(linked, import);
  EXPECT_EQ(linked[0].Link, 1);
}

}  // namespace
}  // namespace VdImport
