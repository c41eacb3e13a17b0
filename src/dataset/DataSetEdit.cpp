// TDataSet: adding, changing and deleting records, and Locate.
#include "core/Exception.h"
#include "core/StrUtils.h"
#include "dataset/DataSet.h"
#include "dataset/Fields.h"

namespace Vdei {

void TDataSet::CheckCanModify() const {
  CheckActive();
  if (!CanModify()) throw EDatabaseError("Cannot modify a read-only dataset");
}

void TDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  DataEvent(deUpdateState);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (state_ != dsEdit && state_ != dsInsert) return;
  modified_ ? Post() : Cancel();
}

void TDataSet::Append() {
  CheckCanModify();
  CheckBrowseMode();
  editRow_.assign(store_.Layout().Width(), 0);
  store_.Layout().Reset(editRow_.data());
  modified_ = false;
  eof_ = true;
  bof_ = false;
  SetState(dsInsert);
}

void TDataSet::Edit() {
  CheckCanModify();
  if (state_ == dsEdit || state_ == dsInsert) return;
  if (store_.Count() == 0) return Append();
  const RecordWord* row = store_.Row(store_.IdAt(cursor_));
  editRow_.assign(row, row + store_.Layout().Width());
  modified_ = false;
  SetState(dsEdit);
}

void TDataSet::FieldChanged(TField* field) {
  modified_ = true;
  DataEvent(deFieldChange, field);
}

void TDataSet::FillAutoIncFields() {
  for (const auto& field : fields_) {
    if (field->DataType() != ftAutoInc || !field->IsNull()) continue;
    store_.Layout().SetSlot(editRow_.data(), field->Index(), store_.NextId() + 1);
    RecordLayout::SetNull(editRow_.data(), field->Index(), false);
  }
}

void TDataSet::CheckRequiredFields() const {
  for (const auto& field : fields_)
    if (field->Required() && field->IsNull())
      throw EDatabaseError(Format("Field '%s' must have a value", field->FieldName().c_str()));
}

void TDataSet::Post() {
  CheckActive();
  if (state_ != dsEdit && state_ != dsInsert)
    throw EDatabaseError("Dataset not in edit or insert mode");
  const bool inserting = state_ == dsInsert;
  if (inserting) FillAutoIncFields();
  CheckRequiredFields();
  if (inserting) {
    store_.Append(editRow_.data());
    cursor_ = store_.Count() - 1;
  } else {
    store_.Overwrite(store_.IdAt(cursor_), editRow_.data());
  }
  eof_ = bof_ = false;
  modified_ = false;
  SetState(dsBrowse);
  DataEvent(inserting ? deDataSetChange : deRecordChange);
}

void TDataSet::Cancel() {
  if (state_ != dsEdit && state_ != dsInsert) return;
  const bool inserting = state_ == dsInsert;
  modified_ = false;
  SetState(dsBrowse);
  if (inserting) {
    eof_ = store_.Count() == 0;
    bof_ = eof_;
  }
  DataEvent(deRecordChange);
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert) return Cancel();
  CheckCanModify();
  if (store_.Count() == 0)
    throw EDatabaseError("Cannot perform this operation on an empty dataset");
  if (state_ == dsEdit) Cancel();
  store_.Erase(cursor_);
  const size_t count = store_.Count();
  if (cursor_ < count) {
    eof_ = false;
  } else {
    cursor_ = count == 0 ? 0 : count - 1;
    eof_ = true;
  }
  bof_ = count == 0 || (bof_ && cursor_ == 0);
  DataEvent(deDataSetChange);
}

// --- Locate -------------------------------------------------------------------

namespace {

bool IsTextField(const TField& field) {
  return field.DataType() == ftString || field.Is<TBinaryField>();
}

// Whether the current value of field equals key exactly.
bool KeyMatches(const TField& field, const Variant& key) {
  if (key.IsNullOrEmpty()) return field.IsNull();
  if (field.IsNull()) return false;
  if (IsTextField(field) && key.IsString()) {
    std::string unused;
    return field.AsStringView(unused) == key.StringRef();
  }
  if (field.Is<TIntegerField>() && key.Type() == varInteger)
    return field.AsInteger() == key.AsInteger();
  if ((field.IsFloatField() || field.IsDateTimeField()) && key.IsNumeric())
    return field.AsFloat() == key.AsFloat();
  return field.Value() == key;
}

}  // namespace

bool TDataSet::Locate(std::string_view keyFields, const Variant& keyValues) {
  CheckBrowseMode();
  const std::vector<TField*> fields = FieldsOf(keyFields);
  std::vector<Variant> keys;
  if (fields.size() == 1 && !(keyValues.IsArray() && keyValues.ElementCount() == 1)) {
    keys.push_back(keyValues);
  } else {
    if (!keyValues.IsArray() || keyValues.ElementCount() != static_cast<int>(fields.size()))
      throw EDatabaseError("One value is needed for each key field");
    for (int i = keyValues.LowBound(); i <= keyValues.HighBound(); ++i)
      keys.push_back(keyValues[i]);
  }
  const size_t saved = cursor_;
  for (size_t position = 0; position < store_.Count(); ++position) {
    cursor_ = position;
    bool match = true;
    for (size_t k = 0; k < fields.size() && match; ++k) match = KeyMatches(*fields[k], keys[k]);
    if (match) {
      MoveTo(position);
      return true;
    }
  }
  cursor_ = saved;
  return false;
}

}  // namespace Vdei
