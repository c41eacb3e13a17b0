#include "dataset/ClientDataSet.h"

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {

const TClassInfo& TClientDataSet::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TClientDataSet, TDataSet>("TClientDataSet")
          .Object<TFieldDefs>("FieldDefs", &TClientDataSet::FieldDefs,
                              [](TClientDataSet& d, TFieldDefs* defs) {
                                if (defs != nullptr) d.FieldDefs()->Assign(*defs);
                              })
          .Build();
  return info;
}

TClientDataSet::TClientDataSet(TComponent* owner) : TDataSet(owner) {}

TClientDataSet::~TClientDataSet() = default;

void TClientDataSet::CreateDataSet() {
  Close();
  auto defs = std::make_unique<TFieldDefs>(nullptr);
  defs->Assign(*FieldDefs());
  tableDefs_ = std::move(defs);
  Store().Reset(tableDefs_->Count());
  Open();
}

void TClientDataSet::InternalOpen() {
  if (!tableDefs_) throw EDatabaseError("Missing data provider or data packet");
  FieldDefs()->Assign(*tableDefs_);
}

void TClientDataSet::EmptyDataSet() {
  CheckActive();
  Cancel();
  Store().Clear();
  RecordsReplaced();
}

}  // namespace Vdei
