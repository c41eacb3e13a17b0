// TDataSet: opening and closing, fields, navigation, bookmarks and the
// notification of data sources. Changing records: DataSetEdit.cpp.
#include "dataset/DataSet.h"

#include <charconv>

#include "core/Exception.h"
#include "core/Properties.h"
#include "core/StrUtils.h"
#include "dataset/DataSource.h"
#include "dataset/Fields.h"
#include "dataset/KeyIndex.h"

namespace Vdei {

namespace {

// Generations are unique in the process, so a (dataset, generation) pair
// never names two different openings or field lists.
uint32_t NextGeneration() {
  static uint32_t last = 0;
  return ++last;
}

}  // namespace

const TClassInfo& TDataSet::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TDataSet, TComponent>("TDataSet")
          .Boolean("Active", &TDataSet::Active, &TDataSet::SetActive, Variant(false))
          .Build();
  return info;
}

TDataSet::TDataSet(TComponent* owner)
    : TComponent(owner), fieldDefs_(std::make_unique<TFieldDefs>(this)) {}

TDataSet::~TDataSet() {
  const std::vector<TDataSource*> sources = std::move(dataSources_);
  for (TDataSource* source : sources) {
    source->dataSet_ = nullptr;
    source->DataEvent(deLayoutChange, nullptr);
  }
}

void TDataSet::Open() {
  if (Active()) return;
  try {
    InternalOpen();
    CreateFields();
  } catch (...) {
    DestroyFields();
    store_.Reset(0);
    throw;
  }
  generation_ = NextGeneration();
  DropIndexes();
  SetCursor(store_.Order().First(), 0);
  bof_ = true;
  eof_ = store_.Count() == 0;
  recordsPassed_ = 0;
  movedOn_ = false;
  modified_ = false;
  state_ = dsBrowse;
  DataEvent(deLayoutChange);
}

void TDataSet::Close() {
  if (!Active()) return;
  AbandonEditRow();
  state_ = dsInactive;
  modified_ = false;
  std::vector<RecordWord>().swap(editRow_);
  DropIndexes();
  DestroyFields();
  if (!KeepsRecordsWhenClosed()) store_.Reset(0);
  InternalClose();
  eof_ = bof_ = true;
  DataEvent(deLayoutChange);
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CreateFields() {
  DestroyFields();
  if (store_.Layout().FieldCount < fieldDefs_->Count())
    throw EDatabaseError("Field definitions do not match the records");
  std::vector<int> textFields;
  for (int i = 0; i < fieldDefs_->Count(); ++i) {
    const TFieldDef* def = fieldDefs_->Items(i);
    if (StoresText(def->DataType())) textFields.push_back(i);
    std::unique_ptr<TField> field = CreateField(def->DataType());
    field->fieldName_ = def->Name();
    field->size_ = def->Size();
    field->required_ = def->Required();
    field->dataSet_ = this;
    field->index_ = i;
    if (!fieldsByName_.emplace(def->Name(), field.get()).second)
      throw EDatabaseError(Format("Duplicate field name '%s'", def->Name().c_str()));
    fields_.push_back(std::move(field));
  }
  store_.SetTextFields(std::move(textFields));
  fieldsGeneration_ = NextGeneration();
}

void TDataSet::DestroyFields() {
  fieldsByName_.clear();
  fields_.clear();
  fieldsGeneration_ = NextGeneration();
}

void TDataSet::RenameField(TField* field, const std::string& name) {
  auto found = fieldsByName_.find(name);
  if (found != fieldsByName_.end() && found->second != field)
    throw EDatabaseError(Format("Duplicate field name '%s'", name.c_str()));
  fieldsByName_.erase(field->FieldName());
  fieldsByName_.emplace(name, field);
  fieldsGeneration_ = NextGeneration();
}

TField* TDataSet::Fields(int index) const {
  if (index < 0 || index >= FieldCount()) ThrowListIndexError(index);
  return fields_[index].get();
}

TField* TDataSet::FindField(std::string_view name) const {
  auto found = fieldsByName_.find(name);
  return found == fieldsByName_.end() ? nullptr : found->second;
}

TField* TDataSet::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (field == nullptr)
    throw EDatabaseError(Format("Field '%s' not found", std::string(name).c_str()));
  return field;
}

std::vector<TField*> TDataSet::FieldsOf(std::string_view fieldNames) const {
  std::vector<TField*> fields;
  for (const std::string& name : Split(fieldNames, ';')) fields.push_back(FieldByName(Trim(name)));
  return fields;
}

Variant TDataSet::FieldValues(std::string_view fieldNames) const {
  std::vector<TField*> fields = FieldsOf(fieldNames);
  if (fields.size() == 1) return fields[0]->Value();
  std::vector<Variant> values;
  values.reserve(fields.size());
  for (TField* field : fields) values.push_back(field->Value());
  return Variant::Array(std::move(values));
}

void TDataSet::SetFieldValues(std::string_view fieldNames, const Variant& value) {
  std::vector<TField*> fields = FieldsOf(fieldNames);
  if (fields.size() == 1) return fields[0]->SetValue(value);
  if (!value.IsArray() || value.ElementCount() != static_cast<int>(fields.size()))
    throw EDatabaseError("One value is needed for each field");
  for (size_t i = 0; i < fields.size(); ++i)
    fields[i]->SetValue(value[value.LowBound() + static_cast<int>(i)]);
}

const RecordWord* TDataSet::CurrentRow() const {
  if (peekRow_ != nullptr) return peekRow_;
  if (state_ == dsEdit || state_ == dsInsert) return editRow_.data();
  if (state_ == dsInactive || store_.Count() == 0) return nullptr;
  return store_.Row(cursorId_);
}

// --- navigation -------------------------------------------------------------

int TDataSet::RecordCount() const {
  CheckActive();
  if (IsUniDirectional() && !eof_) return -1;
  return static_cast<int>(recordsPassed_ + static_cast<int64_t>(store_.Count()));
}

bool TDataSet::IsEmpty() const {
  CheckActive();
  return recordsPassed_ == 0 && store_.Count() == 0;
}

// A closed dataset answers as any closed one does.
void TDataSet::CheckBidirectional() const {
  if (Active() && IsUniDirectional())
    throw EDatabaseError("Operation not allowed on a unidirectional dataset");
}

void TDataSet::TakeRecords(RecordStore&& records) {
  std::vector<int> textFields = store_.TextFields();
  store_ = std::move(records);
  store_.SetTextFields(std::move(textFields));
}

bool TDataSet::MoveToNextRecords() {
  if (!IsUniDirectional()) return false;
  const int64_t held = static_cast<int64_t>(store_.Count());
  if (!FetchNextRecords()) return false;
  recordsPassed_ += held;
  SetCursor(store_.Order().First(), 0);
  return true;
}

void TDataSet::SetCursor(uint32_t id, int64_t position) {
  cursorId_ = id;
  cursorPosition_ = position;
}

size_t TDataSet::CursorPosition() const {
  if (cursorPosition_ < 0)
    cursorPosition_ = static_cast<int64_t>(store_.Order().PositionOf(cursorId_));
  return static_cast<size_t>(cursorPosition_);
}

void TDataSet::First() {
  CheckBrowseMode();
  if (movedOn_) CheckBidirectional();
  SetCursor(store_.Order().First(), 0);
  bof_ = true;
  eof_ = store_.Count() == 0;
  DataEvent(deDataSetScroll);
}

void TDataSet::Last() {
  CheckBrowseMode();
  CheckBidirectional();
  const size_t count = store_.Count();
  SetCursor(store_.Order().Last(), count == 0 ? 0 : static_cast<int64_t>(count) - 1);
  bof_ = count == 0;
  eof_ = true;
  DataEvent(deDataSetScroll);
}

void TDataSet::Next() {
  CheckBrowseMode();
  if (eof_) return;
  const uint32_t next = store_.Order().After(cursorId_);
  if (next != RecordStore::kNoRecord) {
    SetCursor(next, cursorPosition_ < 0 ? -1 : cursorPosition_ + 1);
    bof_ = false;
    movedOn_ = true;
  } else if (MoveToNextRecords()) {
    bof_ = false;
    movedOn_ = true;
  } else {
    eof_ = true;
  }
  DataEvent(deDataSetScroll);
}

void TDataSet::Prior() {
  CheckBrowseMode();
  CheckBidirectional();
  if (bof_) return;
  const uint32_t prior =
      store_.Count() == 0 ? RecordStore::kNoRecord : store_.Order().Before(cursorId_);
  if (prior != RecordStore::kNoRecord) {
    SetCursor(prior, cursorPosition_ < 0 ? -1 : cursorPosition_ - 1);
    eof_ = false;
  } else {
    bof_ = true;
  }
  DataEvent(deDataSetScroll);
}

int TDataSet::RecNo() const {
  CheckActive();
  if (state_ == dsInsert || store_.Count() == 0) return 0;
  return static_cast<int>(recordsPassed_ + static_cast<int64_t>(CursorPosition())) + 1;
}

void TDataSet::SetRecNo(int recNo) {
  CheckBrowseMode();
  CheckBidirectional();
  if (store_.Count() == 0) return;
  const size_t count = store_.Count();
  const size_t position = recNo < 1 ? 0 : std::min<size_t>(static_cast<size_t>(recNo), count) - 1;
  MoveToRecord(store_.Order().At(position), static_cast<int64_t>(position));
}

void TDataSet::MoveToRecord(uint32_t id, int64_t position) {
  SetCursor(id, position);
  bof_ = eof_ = false;
  DataEvent(deDataSetScroll);
}

// --- bookmarks --------------------------------------------------------------

uint64_t TDataSet::BookmarkValue(uint32_t id) const {
  return (uint64_t{generation_} << 32) | (uint64_t{id} + 1);
}

uint32_t TDataSet::RecordOfBookmark(const TBookmark& bookmark) const {
  if (bookmark.IsNull() || !Active() || IsUniDirectional() ||
      (bookmark.value_ >> 32) != generation_)
    return RecordStore::kNoRecord;
  const auto id = static_cast<uint32_t>((bookmark.value_ & 0xFFFFFFFFu) - 1);
  return store_.Order().Contains(id) ? id : RecordStore::kNoRecord;
}

TBookmark TDataSet::GetBookmark() const {
  CheckBidirectional();
  TBookmark bookmark;
  if (Active() && state_ != dsInsert && store_.Count() > 0)
    bookmark.value_ = BookmarkValue(cursorId_);
  return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  CheckBidirectional();
  if (bookmark.IsNull()) return;
  CheckBrowseMode();
  const uint32_t id = RecordOfBookmark(bookmark);
  if (id == RecordStore::kNoRecord) throw EDatabaseError("Record not found");
  MoveToRecord(id, -1);
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
  return RecordOfBookmark(bookmark) != RecordStore::kNoRecord;
}

TBookmarkStr TDataSet::Bookmark() const {
  const TBookmark bookmark = GetBookmark();
  return bookmark.IsNull() ? TBookmarkStr() : std::to_string(bookmark.value_);
}

void TDataSet::SetBookmark(std::string_view text) {
  CheckBidirectional();
  if (text.empty()) return;
  TBookmark bookmark;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bookmark.value_);
  if (error != std::errc() || end != text.data() + text.size() || bookmark.IsNull())
    throw EDatabaseError("Record not found");
  GotoBookmark(bookmark);
}

// --- controls ---------------------------------------------------------------

void TDataSet::DisableControls() {
  ++disableCount_;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  if (layoutChangedWhileDisabled_) {
    layoutChangedWhileDisabled_ = false;
    DataEvent(deLayoutChange);
  }
  DataEvent(deDataSetChange);
}

void TDataSet::DataEvent(TDataEvent event, TField* field) {
  if (disableCount_ > 0) {
    if (event == deLayoutChange) layoutChangedWhileDisabled_ = true;
    return;
  }
  const std::vector<TDataSource*> sources = dataSources_;
  for (TDataSource* source : sources) source->DataEvent(event, field);
}

void TDataSet::RecordsReplaced() {
  generation_ = NextGeneration();
  DropIndexes();
  SetCursor(store_.Order().First(), 0);
  bof_ = true;
  eof_ = store_.Count() == 0;
  DataEvent(deDataSetChange);
}

// --- reading a record without moving ----------------------------------------

TRecordPeek::TRecordPeek(const TDataSet& dataSet, int position)
    : dataSet_(const_cast<TDataSet&>(dataSet)) {
  if (dataSet_.state_ != dsBrowse) {
    throw EDatabaseError("A record can be read without moving only in browse state");
  }
  dataSet_.CheckBidirectional();
  if (position < 0 || static_cast<size_t>(position) >= dataSet_.store_.Count()) {
    ThrowListIndexError(position);
  }
  dataSet_.peekRow_ = dataSet_.store_.Row(dataSet_.store_.Order().At(position));
}

TRecordPeek::~TRecordPeek() {
  dataSet_.peekRow_ = nullptr;
}

}  // namespace Vdei
