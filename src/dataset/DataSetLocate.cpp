// TDataSet: Locate, and the key indexes that let it find records without
// a scan.
#include "core/Exception.h"
#include "dataset/DataSet.h"
#include "dataset/Fields.h"
#include "dataset/KeyIndex.h"

namespace Vdei {

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

std::vector<Variant> KeyValuesFor(size_t fieldCount, const Variant& keyValues) {
  std::vector<Variant> keys;
  if (fieldCount == 1 && !(keyValues.IsArray() && keyValues.ElementCount() == 1)) {
    keys.push_back(keyValues);
    return keys;
  }
  if (!keyValues.IsArray() || keyValues.ElementCount() != static_cast<int>(fieldCount))
    throw EDatabaseError("One value is needed for each key field");
  for (int i = keyValues.LowBound(); i <= keyValues.HighBound(); ++i) keys.push_back(keyValues[i]);
  return keys;
}

std::vector<KeyColumn> KeyColumnsOf(const std::vector<TField*>& fields) {
  std::vector<KeyColumn> columns;
  for (const TField* field : fields) columns.push_back({field->Index(), field->DataType()});
  return columns;
}

}  // namespace

bool TDataSet::Locate(std::string_view keyFields, const Variant& keyValues) {
  CheckBrowseMode();
  CheckBidirectional();
  const std::vector<TField*> fields = FieldsOf(keyFields);
  const uint32_t id = FindKey(fields, KeyValuesFor(fields.size(), keyValues));
  if (id == RecordStore::kNoRecord) return false;
  MoveToRecord(id, -1);
  return true;
}

uint32_t TDataSet::FindKey(const std::vector<TField*>& fields, const std::vector<Variant>& keys) {
  const std::vector<KeyColumn> columns = KeyColumnsOf(fields);
  const auto matches = [&](uint32_t id) { return RecordMatches(id, fields, keys); };
  uint64_t hash;
  if (KeyIndex::HashKeys(columns, keys, hash)) return IndexFor(columns).FindFirst(hash, matches);
  const RecordOrder& order = store_.Order();
  for (uint32_t id = order.First(); id != RecordStore::kNoRecord; id = order.After(id))
    if (matches(id)) return id;
  return RecordStore::kNoRecord;
}

// The key fields read the record through the peek row, so the match rules
// are the fields' own.
bool TDataSet::RecordMatches(uint32_t id, const std::vector<TField*>& fields,
                             const std::vector<Variant>& keys) {
  struct PeekRestorer {
    const RecordWord*& peek;
    ~PeekRestorer() { peek = nullptr; }
  } restorer{peekRow_};
  peekRow_ = store_.Row(id);
  for (size_t k = 0; k < fields.size(); ++k)
    if (!KeyMatches(*fields[k], keys[k])) return false;
  return true;
}

// --- keeping the indexes current ----------------------------------------------

KeyIndex& TDataSet::IndexFor(const std::vector<KeyColumn>& columns) {
  for (const auto& index : indexes_)
    if (index->Columns() == columns) return *index;
  auto index = std::make_unique<KeyIndex>(columns);
  index->Build(store_);
  indexes_.push_back(std::move(index));
  return *indexes_.back();
}

void TDataSet::IndexAdded(uint32_t id) {
  for (const auto& index : indexes_) index->Add(id, index->HashRow(Layout(), store_.Row(id)));
}

void TDataSet::IndexChanging(uint32_t id, const RecordWord* newRow) {
  for (const auto& index : indexes_) {
    const uint64_t before = index->HashRow(Layout(), store_.Row(id));
    const uint64_t after = index->HashRow(Layout(), newRow);
    if (before == after) continue;
    index->Remove(id, before);
    index->Add(id, after);
  }
}

void TDataSet::IndexRemoving(uint32_t id) {
  for (const auto& index : indexes_) index->Remove(id, index->HashRow(Layout(), store_.Row(id)));
}

void TDataSet::DropIndexes() {
  indexes_.clear();
}

}  // namespace Vdei
