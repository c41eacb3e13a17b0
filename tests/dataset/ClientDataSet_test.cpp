// TClientDataSet: the dataset operations the import relies on.
#include "dataset/ClientDataSet.h"

#include <gtest/gtest.h>

#include "ExceptionText.h"
#include "core/Exception.h"
#include "dataset/DataSource.h"
#include "dataset/Fields.h"

namespace Vdei {
namespace {

// A table Id (required integer), Name (string 10), Amount (float) holding
// the given names with ids 1, 2, 3, ...
std::unique_ptr<TClientDataSet> MakeTable(std::initializer_list<const char*> names) {
  auto table = std::make_unique<TClientDataSet>(nullptr);
  table->FieldDefs()->Add("Id", ftInteger, 0, true);
  table->FieldDefs()->Add("Name", ftString, 10);
  table->FieldDefs()->Add("Amount", ftFloat);
  table->CreateDataSet();
  int id = 0;
  for (const char* name : names) {
    table->Append();
    table->FieldByName("Id")->SetAsInteger(++id);
    table->FieldByName("Name")->SetAsString(name);
    table->FieldByName("Amount")->SetAsFloat(id * 1.5);
    table->Post();
  }
  table->First();
  return table;
}

std::string Names(TDataSet& table) {
  std::string result;
  for (table.First(); !table.Eof(); table.Next()) result += table.FieldByName("Name")->AsString();
  return result;
}

using VdeiTest::MessageOf;

TEST(ClientDataSet, CursorRulesAndEditing) {
  auto empty = MakeTable({});
  EXPECT_TRUE(empty->Eof());
  empty->First();
  EXPECT_TRUE(empty->Eof());
  EXPECT_EQ(empty->RecordCount(), 0);
  EXPECT_TRUE(empty->FieldByName("Name")->IsNull());

  auto table = MakeTable({"a", "b", "c"});
  EXPECT_FALSE(table->Eof());
  table->Next();
  table->Next();
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");
  EXPECT_FALSE(table->Eof());
  table->Next();  // past the last record: Eof, and the cursor stays
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");

  table->First();
  table->Next();
  table->Edit();
  EXPECT_EQ(table->State(), dsEdit);
  table->FieldByName("Name")->SetAsString("changed");
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "changed");
  table->Cancel();
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "b");
  table->Edit();
  table->FieldByName("Name")->SetAsString("B2");
  table->Post();
  EXPECT_EQ(table->State(), dsBrowse);

  table->Append();
  EXPECT_EQ(table->State(), dsInsert);
  table->FieldByName("Id")->SetAsInteger(9);
  table->Cancel();
  EXPECT_EQ(table->RecordCount(), 3);
  EXPECT_EQ(Names(*table), "aB2c");

  // A move posts a changed record.
  table->Append();
  table->FieldByName("Id")->SetAsInteger(4);
  table->FieldByName("Name")->SetAsString("d");
  table->First();
  EXPECT_EQ(table->RecordCount(), 4);
  EXPECT_EQ(Names(*table), "aB2cd");
}

TEST(ClientDataSet, FailuresCarryTheirTexts) {
  auto table = MakeTable({"a"});
  TField* id = table->FieldByName("Id");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { table->Post(); }),
            "Dataset not in edit or insert mode");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { id->SetAsInteger(5); }),
            "Dataset not in edit or insert mode");
  table->Append();
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { table->Post(); }), "Field 'Id' must have a value");
  EXPECT_EQ(MessageOf<EConvertError>([&] { id->SetAsString("abc"); }),
            "'abc' is not a valid integer value for field 'Id'");
  EXPECT_EQ(MessageOf<EConvertError>([&] { table->FieldByName("Amount")->SetAsString("1,5x"); }),
            "'1,5x' is not a valid floating point value for field 'Amount'");
  EXPECT_EQ(MessageOf<EConvertError>([&] { id->SetAsInteger(int64_t{1} << 40); }),
            "1.09951e+12 is not a valid value for field 'Id'. The allowed range is -2.14748e+09 "
            "to 2.14748e+09");
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { table->FieldByName("Nope"); }),
            "Field 'Nope' not found");
  table->Cancel();
  table->Close();
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { table->Next(); }),
            "Cannot perform this operation on a closed dataset");

  TClientDataSet never(nullptr);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { never.Open(); }),
            "Missing data provider or data packet");
  never.FieldDefs()->Add("a", ftString, 5);
  EXPECT_EQ(MessageOf<EDatabaseError>([&] { never.FieldDefs()->Add("A", ftInteger); }),
            "Duplicate field name 'A'");
}

TEST(ClientDataSet, DeleteMovesToTheFollowingRecord) {
  auto table = MakeTable({"a", "b", "c", "d"});
  table->Next();
  table->Delete();  // middle
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");
  EXPECT_FALSE(table->Eof());
  table->Last();
  table->Delete();  // last: Eof, on the new last record
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");
  table->First();
  table->Delete();  // first
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");
  table->Delete();
  EXPECT_TRUE(table->Eof());
  EXPECT_EQ(table->RecordCount(), 0);
  EXPECT_THROW(table->Delete(), EDatabaseError);

  // Deleting all from the first, as an import of mode copy does.
  auto many = MakeTable({"a", "b", "c", "d", "e", "f"});
  int deleted = 0;
  for (many->First(); !many->Eof(); ++deleted) many->Delete();
  EXPECT_EQ(deleted, 6);
  many->Append();  // the emptied table takes records again
  many->FieldByName("Id")->SetAsInteger(1);
  many->Post();
  EXPECT_EQ(many->RecordCount(), 1);
}

TEST(ClientDataSet, LocateFieldValuesAndFindField) {
  auto table = MakeTable({"a", "b", "b", "c"});
  EXPECT_TRUE(table->Locate("Name", Variant("b")));
  EXPECT_EQ(table->FieldByName("Id")->AsInteger(), 2);  // the first match
  EXPECT_TRUE(table->Locate("name;ID", Variant::Array({Variant("b"), Variant(3)})));
  EXPECT_EQ(table->RecNo(), 3);
  EXPECT_FALSE(table->Locate("Name", Variant("B")));  // case-sensitive
  EXPECT_EQ(table->RecNo(), 3);                       // no match: the cursor stays
  EXPECT_TRUE(table->Locate("Amount", Variant(6)));   // an integer key finds 6.0
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");
  EXPECT_FALSE(table->Locate("Name", Variant::Null()));
  EXPECT_THROW(table->Locate("Name;Id", Variant("b")), EDatabaseError);

  const Variant pair = table->FieldValues("Name;Id");
  ASSERT_TRUE(pair.IsArray());
  ASSERT_EQ(pair.ElementCount(), 2);
  EXPECT_EQ(pair[pair.LowBound()].AsString(), "c");
  EXPECT_EQ(pair[pair.LowBound() + 1].AsInteger(), 4);
  EXPECT_EQ(table->FieldValues("amount").AsFloat(), 6.0);

  EXPECT_EQ(table->FindField("nAmE"), table->Fields(1));
  EXPECT_EQ(table->FindField("Other"), nullptr);
  EXPECT_EQ(table->Fields(2)->Index(), 2);
}

TEST(ClientDataSet, PeekReadsARecordWithoutMovingTheCursor) {
  auto table = MakeTable({"a", "b", "c"});
  table->Next();
  {
    TRecordPeek peek(*table, 2);
    EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");
    EXPECT_EQ(table->FieldByName("Id")->Value().AsInteger(), 3);
  }
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "b");
  EXPECT_EQ(table->RecNo(), 2);
  EXPECT_THROW(TRecordPeek(*table, 3), EListError);
  table->Edit();
  EXPECT_THROW(TRecordPeek(*table, 0), EDatabaseError);
}

TEST(ClientDataSet, BookmarksSurviveChangesOfOtherRecords) {
  auto table = MakeTable({"a", "b", "c"});
  table->Next();
  table->Next();
  const TBookmark bookmark = table->GetBookmark();
  const TBookmarkStr text = table->Bookmark();
  table->First();
  table->Edit();
  table->FieldByName("Name")->SetAsString("A");
  table->Post();
  table->Delete();
  table->GotoBookmark(bookmark);
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");
  table->First();
  table->SetBookmark(text);
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "c");
  table->Delete();
  EXPECT_FALSE(table->BookmarkValid(bookmark));
  EXPECT_THROW(table->GotoBookmark(bookmark), EDatabaseError);

  table->First();
  const TBookmark beforeEmpty = table->GetBookmark();
  table->EmptyDataSet();
  EXPECT_TRUE(table->GetBookmark().IsNull());
  table->GotoBookmark(TBookmark());  // a null bookmark is ignored
  table->Append();
  table->FieldByName("Id")->SetAsInteger(1);
  table->Post();
  EXPECT_THROW(table->GotoBookmark(beforeEmpty), EDatabaseError);
}

// Counts what a control hears of its dataset.
class CountingLink : public TDataLink {
 public:
  int Changed = 0, Scrolled = 0, Records = 0, Active = 0;

 protected:
  void ActiveChanged() override { ++Active; }
  void DataSetChanged() override { ++Changed; }
  void DataSetScrolled() override { ++Scrolled; }
  void RecordChanged(TField*) override { ++Records; }
};

TEST(ClientDataSet, DisableControlsNestsAndTheLastEnableRefreshesOnce) {
  auto table = MakeTable({"a", "b", "c"});
  TDataSource source(nullptr);
  source.SetDataSet(table.get());
  CountingLink link;
  link.SetDataSource(&source);
  link.Changed = link.Scrolled = link.Records = link.Active = 0;
  table->Next();
  EXPECT_EQ(link.Scrolled, 1);

  table->DisableControls();
  table->DisableControls();
  table->Next();
  table->Edit();
  table->FieldByName("Name")->SetAsString("x");
  table->Post();
  table->EnableControls();
  EXPECT_EQ(link.Scrolled + link.Changed + link.Records, 1);  // only the scroll before
  table->EnableControls();
  EXPECT_EQ(link.Changed, 1);
  EXPECT_EQ(link.Scrolled, 1);
  EXPECT_EQ(link.Records, 0);

  table->Close();
  EXPECT_EQ(link.Active, 1);
  table.reset();  // the source forgets a destroyed dataset
  EXPECT_EQ(source.DataSet(), nullptr);
}

TEST(ClientDataSet, RecordNumbersPriorAndSourceEvents) {
  auto table = MakeTable({"a", "b", "c"});
  TDataSource source(nullptr);
  std::vector<TDataSetState> states;
  int changes = 0;
  source.OnStateChange = [&](TObject*) { states.push_back(source.State()); };
  source.OnDataChange = [&](TObject*, TField*) { ++changes; };
  source.SetDataSet(table.get());
  table->SetRecNo(99);
  EXPECT_EQ(table->RecNo(), 3);
  table->Prior();
  table->Prior();
  EXPECT_FALSE(table->Bof());
  table->Prior();  // before the first record: Bof, and the cursor stays
  EXPECT_TRUE(table->Bof());
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "a");
  table->Edit();
  table->SetFieldValues("Name;Amount", Variant::Array({Variant("z"), Variant("2.5")}));
  EXPECT_EQ(table->FieldByName("Amount")->AsFloat(), 2.5);
  EXPECT_THROW(table->SetFieldValues("Name;Amount", Variant("z")), EDatabaseError);
  table->Post();
  EXPECT_EQ(states, (std::vector<TDataSetState>{dsBrowse, dsEdit, dsBrowse}));
  EXPECT_GE(changes, 5);
  table->Append();
  EXPECT_EQ(table->RecNo(), 0);
  table->Cancel();
  EXPECT_EQ(table->RecNo(), 1);
}

TEST(ClientDataSet, StructureSurvivesCloseAndAutoIncNumbersRecords) {
  TClientDataSet table(nullptr);
  table.FieldDefs()->Add("No", ftAutoInc);
  table.FieldDefs()->Add("Text", ftMemo);
  table.CreateDataSet();
  for (const char* text : {"one", "two"}) {
    table.Append();
    table.FieldByName("Text")->SetAsString(text);
    table.Post();
  }
  EXPECT_EQ(table.FieldByName("No")->AsInteger(), 2);
  table.Close();
  table.FieldDefs()->Clear();
  table.Open();
  ASSERT_EQ(table.FieldCount(), 2);
  EXPECT_EQ(table.Fields(0)->FieldName(), "No");
  EXPECT_TRUE(table.Fields(1)->Is<TMemoField>());
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(table.FieldByName("Text")->AsString(), "one");
}

}  // namespace
}  // namespace Vdei
