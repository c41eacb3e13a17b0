// The grid model: properties found by name, default and custom columns,
// selected rows as bookmark texts.
#include "dataset/DBGrid.h"

#include <gtest/gtest.h>

#include "core/Properties.h"
#include "dataset/ClientDataSet.h"

namespace Vdei {
namespace {

struct GridOnTable {
  TComponent Form{nullptr};
  TClientDataSet* Table = new TClientDataSet(&Form);
  TDataSource* Source = new TDataSource(&Form);
  TDBGrid* Grid = new TDBGrid(&Form);

  GridOnTable() {
    Table->FieldDefs()->Add("Name", ftString, 10);
    Table->FieldDefs()->Add("Qty", ftInteger);
    Table->CreateDataSet();
    for (const char* name : {"a", "b", "c", "d"}) {
      Table->Append();
      Table->FieldByName("Name")->SetAsString(name);
      Table->Post();
    }
    Source->SetDataSet(Table);
    Grid->SetDataSource(Source);
  }
};

TEST(DBGrid, PublishedPropertiesAreFoundByName) {
  GridOnTable g;
  const TPropInfo* source = GetPropInfo(*g.Grid, "datasource");
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->Kind, tkClass);
  EXPECT_EQ(GetObjectProp(*g.Grid, "DataSource"), g.Source);
  EXPECT_EQ(GetObjectProp(*g.Source, "DataSet"), g.Table);

  auto* columns = dynamic_cast<TCollection*>(GetObjectProp(*g.Grid, "Columns"));
  ASSERT_NE(columns, nullptr);
  ASSERT_EQ(columns->Count(), 2);  // default columns, one per field
  for (const char* name : {"FieldName", "Alignment", "Color", "Font", "Visible", "Title"})
    EXPECT_NE(GetPropInfo(columns->ItemClass(), name), nullptr) << name;
  TCollectionItem* qty = columns->Items(1);
  EXPECT_EQ(GetPropValue(*qty, "FieldName").AsString(), "Qty");
  EXPECT_EQ(GetPropValue(*qty, "Alignment").AsInteger(), taRightJustify);  // from the field
  TObject* title = GetObjectProp(*qty, "Title");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(GetPropValue(*title, "Caption").AsString(), "Qty");
  SetPropValue(*title, "Caption", Variant("Quantity"));
  EXPECT_EQ(g.Grid->Columns()->Items(1)->Title()->Caption(), "Quantity");
  for (const char* name : {"Alignment", "Font", "Color"})
    EXPECT_NE(GetPropInfo(*title, name), nullptr) << name;
  EXPECT_NE(GetPropInfo(*g.Grid, "TitleFont"), nullptr);
}

TEST(DBGrid, DefaultColumnsFollowTheDatasetCustomOnesStay) {
  GridOnTable g;
  g.Table->Close();
  EXPECT_EQ(g.Grid->Columns()->Count(), 0);
  g.Table->Open();
  EXPECT_EQ(g.Grid->Columns()->Count(), 2);

  TColumn* column = g.Grid->Columns()->Add();
  column->SetFieldName("Qty");
  EXPECT_EQ(g.Grid->Columns()->State(), csCustomized);
  EXPECT_EQ(g.Grid->Columns()->Count(), 1);
  g.Table->Close();
  g.Table->Open();
  ASSERT_EQ(g.Grid->Columns()->Count(), 1);
  EXPECT_EQ(column->Field(), g.Table->FieldByName("Qty"));
  column->SetFieldName("Missing");
  EXPECT_EQ(column->Field(), nullptr);
  EXPECT_EQ(column->Alignment(), taLeftJustify);
}

TEST(DBGrid, SelectedRowsMoveTheDatasetToTheirRecords) {
  GridOnTable g;
  TBookmarkList& selected = g.Grid->SelectedRows();
  g.Table->SetRecNo(3);
  selected.SetCurrentRowSelected(true);
  g.Table->SetRecNo(2);
  selected.SetCurrentRowSelected(true);
  selected.SetCurrentRowSelected(true);  // once only
  ASSERT_EQ(selected.Count(), 2);
  EXPECT_TRUE(selected.CurrentRowSelected());

  std::string visited;
  for (int i = 0; i < selected.Count(); ++i) {
    g.Table->SetBookmark(selected[i]);
    visited += g.Table->FieldByName("Name")->AsString();
  }
  EXPECT_EQ(visited, "cb");  // in the order selected
  selected.SetCurrentRowSelected(false);
  EXPECT_EQ(selected.Count(), 1);

  delete g.Source;  // the grid forgets a destroyed data source
  EXPECT_EQ(g.Grid->DataSource(), nullptr);
  EXPECT_EQ(g.Grid->DataSet(), nullptr);
}

}  // namespace
}  // namespace Vdei
