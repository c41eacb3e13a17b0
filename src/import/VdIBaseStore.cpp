// TVdImportBaseComponent: one evaluated row into the dataset: the key
// lookup of the key modes, the action the mode chooses for it, and the
// store of that action as one unit of the run's transaction.
#include "core/StrUtils.h"
#include "dataset/DataSet.h"
#include "dataset/Field.h"
#include "import/VdIBase.h"
#include "import/VdIBaseRunState.h"

namespace VdImport {

using Vdei::TDataSet;
using Vdei::Variant;

// --- one row -----------------------------------------------------------------

bool TVdImportBaseComponent::LocateRow() {
  if (!IsKeyMode(mode_) || keyEntries_.empty()) return false;
  std::vector<Variant> values;
  bool nullKey = false;
  for (const TVdIEntry& entry : keyEntries_) {
    nullKey = nullKey || entry.Value.IsNullOrEmpty();
    values.push_back(entry.Value);
  }
  const Variant key = values.size() == 1 ? values[0] : Variant::Array(std::move(values));
  bool exist = true;
  bool executeLocate = true;
  if (OnLocateRecord) OnLocateRecord(this, datasetKeys_, key, exist, executeLocate);
  if (!exist || !executeLocate) return exist;
  if (nullKey) return false;  // a Null key matches no record
  std::string fieldNames;
  for (const TVdIEntry& entry : keyEntries_) {
    fieldNames += (fieldNames.empty() ? "" : ";") + entry.FieldName;
  }
  return dataSet_->Locate(fieldNames, key);
}

TVdIAction TVdImportBaseComponent::ChooseAction(bool exist) const {
  switch (mode_) {
    case imAppend:
    case imCopy:
      return iaAdd;
    case imUpdate:
      return exist ? iaUpdate : iaUnknown;
    case imAppendUpdate:
      return exist ? iaUpdate : iaAdd;
    case imDelete:
      return exist ? iaDelete : iaUnknown;
    case imAppendNewOnly:
      return exist ? iaUnknown : iaAdd;
  }
  return iaUnknown;
}

void TVdImportBaseComponent::StoreRow(TVdIAction action) {
  if (action == iaUnknown) return;
  try {
    dataSet_->BeginRow();
    ApplyAction(action);
    dataSet_->ReleaseRow();
    CountAction(action);
  } catch (...) {
    std::exception_ptr failure = std::current_exception();
    try {
      if (IsChanging(*dataSet_)) dataSet_->Cancel();
      dataSet_->RollbackRow();
    } catch (...) {
      // The record's own error is the one to report.
    }
    try {
      std::rethrow_exception(failure);
    } catch (const EVdIRowError&) {
    } catch (...) {
      failure =
          std::make_exception_ptr(EVdIRowError(MessageOf(failure), SourceRowNumber(), "", ""));
    }
    if (ReportRowError(failure)) throw TStopRun{failure};
  }
}

void TVdImportBaseComponent::ApplyAction(TVdIAction action) {
  switch (action) {
    case iaAdd:
      dataSet_->Append();
      break;
    case iaUpdate:
      dataSet_->Edit();
      break;
    case iaDelete:
      dataSet_->Delete();
      break;
    case iaUnknown:
      return;
  }
  if (!IsChanging(*dataSet_)) return;
  AssignFields();
  dataSet_->Post();
}

void TVdImportBaseComponent::AssignFields() {
  for (const TVdIEntry& entry : mappingEntries_) {
    if (entry.Link < 0) continue;
    const int fieldIndex = importEntries_[entry.Link].Link;
    if (fieldIndex < 0) continue;
    Vdei::TField* field = run_->Fields[fieldIndex];
    Variant changed;
    if (OnBeforeFieldUpdate) {
      changed = entry.Value;
      bool accept = true;
      OnBeforeFieldUpdate(this, field, changed, accept);
      if (!accept) continue;
    }
    const Variant& value = OnBeforeFieldUpdate ? changed : entry.Value;
    try {
      if (IsEmptyText(value)) {
        field->Clear();
      } else {
        field->SetValue(value);
      }
    } catch (const Vdei::Exception& error) {
      const std::string text = value.IsArray() ? std::string() : value.AsString();
      throw EVdIRowError(error.Message(), SourceRowNumber(), field->FieldName(), text);
    }
  }
}

void TVdImportBaseComponent::CountAction(TVdIAction action) {
  TVdIStatistic& s = *statistic_;
  switch (action) {
    case iaAdd:
      s.SetTotalAdded(s.TotalAdded() + 1);
      break;
    case iaUpdate:
      s.SetTotalUpdated(s.TotalUpdated() + 1);
      break;
    case iaDelete:
      s.SetTotalDeleted(s.TotalDeleted() + 1);
      break;
    case iaUnknown:
      break;
  }
}

}  // namespace VdImport
