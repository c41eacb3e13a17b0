#include "export/VdEEngDB.h"

#include <gtest/gtest.h>

#include "EngineTestTable.h"
#include "dataset/DataSource.h"

namespace VdExport {
namespace {

using namespace Vdei;

TEST(VdEDatasetDataEngine, FillsOneColumnPerFieldInEitherOrder) {
  TComponent form(nullptr);
  TClientDataSet* table = MakeEngineTable(&form);
  table->FieldByName("Company")->SetVisible(false);
  table->FieldByName("Amount")->SetDisplayLabel("Sum");
  auto* engine = new TVdEDatasetDataEngine(&form);
  engine->SetDataset(table);
  TVdEColumns columns(nullptr);
  engine->OnFillColumns = [&](TObject*) { columns.Add()->SetFieldName("handler"); };

  engine->FillColumns(columns, false);
  ASSERT_EQ(FieldNames(columns), "handler;CustNo;Company;Amount;");
  EXPECT_EQ(Describe(*columns[1]), "CustNo a1 w11 p0 t1 cFFFFFF f8 | CustNo a1 cC0C0C0 f8 bold");
  EXPECT_EQ(Describe(*columns[2]),
            "Company a0 w20 p0 t3 hidden cFFFFFF f8 | Company a0 cC0C0C0 f8 bold");
  EXPECT_EQ(Describe(*columns[3]), "Amount a1 w10 p4 t2 cFFFFFF f8 | Sum a1 cC0C0C0 f8 bold");

  engine->FillColumns(columns, true);
  ASSERT_EQ(FieldNames(columns), "handler;Amount;Company;CustNo;");
  EXPECT_EQ(Describe(*columns[1]), "Amount a1 w10 p4 t2 cFFFFFF f8 | Sum a1 cC0C0C0 f8 bold");
  EXPECT_FALSE(columns[2]->Visible());
}

TEST(VdEDatasetDataEngine, WalksTheRecordsAndReturnsToTheCurrentOne) {
  TComponent form(nullptr);
  TClientDataSet* table = MakeEngineTable(&form);
  table->FieldByName("CustNo")->SetRequired(true);
  table->FieldByName("Company")->SetReadOnly(true);
  TVdEDatasetDataEngine engine(nullptr);
  engine.SetDataset(table);
  TVdEColumns columns(nullptr);
  TVdEColumn& custNo = *columns.Add();
  custNo.SetFieldName("custno");  // names match without regard to case
  TVdEColumn& company = *columns.Add();
  company.SetFieldName("Company");
  TVdEColumn& ghost = *columns.Add();
  ghost.SetFieldName("Ghost");

  table->SetRecNo(2);
  engine.DisableSourceControls();
  EXPECT_TRUE(table->ControlsDisabled());
  engine.SavePosition();
  EXPECT_EQ(Walk(engine, custNo), "123");
  EXPECT_TRUE(engine.GetValue(ghost).IsNull());
  EXPECT_EQ(engine.GetRecordCount(), 3);
  engine.RestorePosition();
  engine.EnableSourceControls();
  EXPECT_FALSE(table->ControlsDisabled());
  EXPECT_EQ(table->RecNo(), 2);
  EXPECT_TRUE(engine.Bookmark().IsNull());
  EXPECT_EQ(engine.GetValue(company).AsString(), "Beta");

  EXPECT_TRUE(engine.IsColumnRequired(custNo));
  EXPECT_FALSE(engine.IsColumnRequired(company));
  EXPECT_TRUE(engine.IsColumnReadOnly(company));
  EXPECT_FALSE(engine.IsColumnReadOnly(ghost));
  EXPECT_FALSE(engine.IsColumnRequired(ghost));

  // The remembered record deleted during the run: the cursor stays.
  engine.SavePosition();
  table->Delete();
  EXPECT_NO_THROW(engine.RestorePosition());
  EXPECT_EQ(table->FieldByName("CustNo")->AsInteger(), 3);

  // Fields are made anew when the dataset reopens, and a column renamed
  // between lookups names another field: lookups never keep a stale one.
  table->Close();
  EXPECT_EQ(engine.FindColumnField(custNo), nullptr);
  table->Open();
  EXPECT_EQ(engine.FindColumnField(custNo), table->FieldByName("CustNo"));
  custNo.SetFieldName("Amount");
  EXPECT_EQ(engine.FindColumnField(custNo), table->FieldByName("Amount"));
}

TEST(VdEDatasetDataEngine, EmptyAndDestroyedDatasets) {
  TComponent form(nullptr);
  TVdEDatasetDataEngine engine(nullptr);
  TVdEColumns columns(nullptr);
  TVdEColumn& custNo = *columns.Add();
  custNo.SetFieldName("CustNo");

  engine.SetDataset(MakeEngineTable(&form, 0));
  engine.SavePosition();
  EXPECT_TRUE(engine.Bookmark().IsNull());
  EXPECT_EQ(Walk(engine, custNo), "");
  EXPECT_EQ(engine.GetRecordCount(), 0);
  EXPECT_NO_THROW(engine.RestorePosition());

  TClientDataSet* table = MakeEngineTable(&form);
  engine.SetDataset(table);
  engine.SavePosition();
  delete table;
  EXPECT_EQ(engine.Dataset(), nullptr);
  EXPECT_TRUE(engine.IsEof());
  EXPECT_EQ(engine.GetRecordCount(), 0);
  EXPECT_TRUE(engine.GetValue(custNo).IsNull());
  EXPECT_NO_THROW(engine.RestorePosition());
  engine.FillColumns(columns, false);
  EXPECT_EQ(columns.Count(), 0);
}

// A grid over the engine table with its own columns.
struct GridFixture {
  TComponent form{nullptr};
  TClientDataSet* table = MakeEngineTable(&form);
  TDataSource* source = new TDataSource(&form);
  TDBGrid* grid = new TDBGrid(&form);
  TVdEDBGridDataEngine* engine = new TVdEDBGridDataEngine(&form);

  GridFixture() {
    source->SetDataSet(table);
    grid->SetDataSource(source);
    engine->SetDBGrid(grid);
  }
  TColumn* AddColumn(const char* fieldName) {
    TColumn* column = grid->Columns()->Add();
    column->SetFieldName(fieldName);
    return column;
  }
  void Select(int recNo) {
    table->SetRecNo(recNo);
    grid->SelectedRows().SetCurrentRowSelected(true);
  }
};

TEST(VdEDBGridDataEngine, FillsOneColumnPerGridColumn) {
  GridFixture f;
  f.table->FieldByName("Company")->SetVisible(false);
  TColumn* amount = f.AddColumn("Amount");
  amount->SetColor(clRed);
  amount->Font()->SetSize(12);
  amount->Title()->SetCaption("Sum");
  amount->Title()->SetColor(clBlue);
  amount->Title()->SetAlignment(taCenter);
  f.AddColumn("Ghost");
  f.AddColumn("Company");
  f.AddColumn("CustNo")->SetVisible(false);
  TVdEColumns columns(nullptr);

  f.engine->FillColumns(columns, false);
  ASSERT_EQ(FieldNames(columns), "Amount;Ghost;Company;CustNo;");
  EXPECT_EQ(Describe(*columns[0]), "Amount a1 w10 p4 t2 cFF f12 | Sum a2 cFF0000 f8");
  EXPECT_EQ(Describe(*columns[1]), "Ghost a0 w10 p0 t3 c80000005 f8 | Ghost a0 c8000000F f8");
  EXPECT_TRUE(f.engine->GetValue(*columns[1]).IsNull());
  EXPECT_FALSE(columns[2]->Visible());  // hidden field
  EXPECT_FALSE(columns[3]->Visible());  // hidden grid column

  f.engine->FillColumns(columns, true);
  EXPECT_EQ(FieldNames(columns), "CustNo;Company;Ghost;Amount;");
  EXPECT_EQ(columns[3]->Title()->Caption(), "Sum");
  f.engine->SetDBGrid(nullptr);
  f.engine->FillColumns(columns, false);
  EXPECT_EQ(columns.Count(), 0);
}

TEST(VdEDBGridDataEngine, SelectedOnlyWalksTheGridsSelectionInItsOrder) {
  GridFixture f;
  f.engine->SetSelectedOnly(true);
  TVdEColumns columns(nullptr);
  TVdEColumn& custNo = *columns.Add();
  custNo.SetFieldName("CustNo");
  EXPECT_EQ(f.engine->GetRecordCount(), 0);
  EXPECT_EQ(Walk(*f.engine, custNo), "");

  f.Select(3);
  f.Select(1);
  f.table->SetRecNo(2);
  f.engine->SavePosition();
  EXPECT_EQ(f.engine->GetRecordCount(), 2);
  EXPECT_EQ(Walk(*f.engine, custNo), "31");
  f.engine->RestorePosition();
  EXPECT_EQ(f.table->RecNo(), 2);

  f.engine->SetSelectedOnly(false);
  EXPECT_EQ(f.engine->GetRecordCount(), 3);
  EXPECT_EQ(Walk(*f.engine, custNo), "123");

  delete f.grid;
  EXPECT_EQ(f.engine->DBGrid(), nullptr);
  EXPECT_EQ(f.engine->GetDataset(), nullptr);
  f.engine->SetSelectedOnly(true);
  EXPECT_EQ(Walk(*f.engine, custNo), "");
}

}  // namespace
}  // namespace VdExport
