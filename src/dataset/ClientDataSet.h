// TClientDataSet: an in-memory table built at run time from its field
// definitions.
//
//   auto* table = new TClientDataSet(form);
//   table->FieldDefs()->Add("Name", ftString, 30);
//   table->CreateDataSet();          // empty table, open
//   table->Append(); table->FieldByName("Name")->SetAsString("x"); table->Post();
//
// CreateDataSet makes an empty table from FieldDefs (replacing any earlier
// table) and opens it; the fields come in definition order. Close keeps the
// records, so a later Open shows them again; Open of a table never created
// raises EDatabaseError "Missing data provider or data packet". Appending n
// records and deleting n records from anywhere are both O(n) overall (see
// DataSet.h for the other costs). EmptyDataSet removes every record and
// keeps the structure.
// ftAutoInc fields left null get the next number (1, 2, ...) at Post.
#pragma once

#include <memory>

#include "dataset/DataSet.h"

namespace Vdei {

class TClientDataSet : public TDataSet {
 public:
  VDEI_CLASS(TClientDataSet)
  explicit TClientDataSet(TComponent* owner);
  ~TClientDataSet() override;

  void CreateDataSet();
  void EmptyDataSet();

 protected:
  void InternalOpen() override;
  bool KeepsRecordsWhenClosed() const override { return true; }

 private:
  // The structure of the created table; Open restores FieldDefs from it.
  std::unique_ptr<TFieldDefs> tableDefs_;
};

}  // namespace Vdei
