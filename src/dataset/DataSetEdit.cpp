// TDataSet: adding, changing and deleting records.
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
  const RecordWord* row = store_.Row(cursorId_);
  editRow_.assign(row, row + store_.Layout().Width());
  modified_ = false;
  SetState(dsEdit);
}

void TDataSet::WriteField(TField* field, RecordWord slot, bool isNull) {
  RecordWord* row = editRow_.data();
  const int index = field->Index();
  const RecordWord old = store_.Layout().Slot(row, index);
  // A text written earlier in this change and replaced now is the edit's
  // own: the stored record still holds its original.
  if (old != 0 && StoresText(field->DataType()) &&
      (state_ == dsInsert || old != store_.Layout().Slot(store_.Row(cursorId_), index)))
    store_.Arena().Release(old);
  store_.Layout().SetSlot(row, index, slot);
  RecordLayout::SetNull(row, index, isNull);
  modified_ = true;
  DataEvent(deFieldChange, field);
}

void TDataSet::AbandonEditRow() {
  if (state_ == dsInsert) store_.ReleaseNewTexts(editRow_.data(), nullptr);
  if (state_ == dsEdit) store_.ReleaseNewTexts(editRow_.data(), store_.Row(cursorId_));
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
  InternalPost(inserting ? nullptr : store_.Row(cursorId_), editRow_.data());
  if (inserting) {
    SetCursor(store_.Append(editRow_.data()), static_cast<int64_t>(store_.Count()) - 1);
    IndexAdded(cursorId_);
  } else {
    IndexChanging(cursorId_, editRow_.data());
    store_.Overwrite(cursorId_, editRow_.data());
  }
  eof_ = bof_ = false;
  modified_ = false;
  SetState(dsBrowse);
  DataEvent(inserting ? deDataSetChange : deRecordChange);
}

void TDataSet::Cancel() {
  if (state_ != dsEdit && state_ != dsInsert) return;
  const bool inserting = state_ == dsInsert;
  AbandonEditRow();
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
  const uint32_t deleted = cursorId_;
  InternalDelete(store_.Row(deleted));
  const uint32_t next = store_.Order().After(deleted);
  IndexRemoving(deleted);
  store_.Erase(deleted);
  if (next != RecordStore::kNoRecord) {
    cursorId_ = next;  // the following record takes the deleted one's position
    eof_ = false;
  } else {
    SetCursor(store_.Order().Before(deleted),
              cursorPosition_ < 0 ? -1 : std::max<int64_t>(cursorPosition_ - 1, 0));
    eof_ = true;
  }
  bof_ = bof_ || store_.Count() == 0;
  DataEvent(deDataSetChange);
}

}  // namespace Vdei
