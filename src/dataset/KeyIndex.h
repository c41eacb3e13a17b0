// KeyIndex: a hash index of a dataset's records by the values of a list
// of key fields, so that Locate finds a record without a table scan.
// Internal to the dataset layer (TDataSet builds one per key-field list on
// first use and keeps it current on Post and Delete).
//
// The hash of a record and the hash of Locate's key values agree whenever
// Locate's match rules call them equal: texts (string, bytes, memo and
// blob fields) by their bytes; numbers (integer, float, currency, BCD and
// date-time fields) by their value as a double, so 6, 6.0 and a
// currency 6 hash alike (-0 as 0); Booleans by truth; a null field like a
// Null or Empty key. A key value of another kind (a string for a number
// field...) has no hash here: HashKeys says so and the caller scans.
//
// The index maps a hash to the ids having it, in ascending id order
// (dataset order). Candidates are confirmed by the caller's match
// function, so collisions cost time, never a wrong answer. Adding,
// removing and finding are O(1) on average for distinct keys and
// O(log d) among d records sharing one key.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "core/Variant.h"
#include "dataset/FieldType.h"
#include "dataset/RecordStore.h"

namespace Vdei {

struct KeyColumn {
  int Field;  // index of the field in the record
  TFieldType Type;
  bool operator==(const KeyColumn&) const = default;
};

class KeyIndex {
 public:
  explicit KeyIndex(std::vector<KeyColumn> columns) : columns_(std::move(columns)) {}

  const std::vector<KeyColumn>& Columns() const { return columns_; }

  // The hash of Locate's key values (one per column), or false when one of
  // them cannot be matched through an index.
  static bool HashKeys(const std::vector<KeyColumn>& columns, const std::vector<Variant>& keys,
                       uint64_t& hash);
  uint64_t HashRow(const RecordLayout& layout, const RecordWord* row) const;

  // Indexes every live record of the store.
  void Build(const RecordStore& store);
  void Add(uint32_t id, uint64_t hash);
  // Precondition: the id was added with this hash.
  void Remove(uint32_t id, uint64_t hash);

  // The smallest id with this hash for which match(id) is true, or
  // RecordStore::kNoRecord.
  template <class Match>
  uint32_t FindFirst(uint64_t hash, const Match& match) const {
    const size_t slot = Find(hash);
    if (slot == kNoSlot) return RecordStore::kNoRecord;
    const Entry& entry = table_[slot];
    if (!entry.IsGroup) return match(entry.Value) ? entry.Value : RecordStore::kNoRecord;
    for (uint32_t id : groups_[entry.Value])
      if (match(id)) return id;
    return RecordStore::kNoRecord;
  }

 private:
  static constexpr size_t kNoSlot = SIZE_MAX;
  // Hash 0 marks a free slot (hashes are never 0). Value is the id, or
  // the group of ids when several share the hash.
  struct Entry {
    uint64_t Hash = 0;
    uint32_t Value = 0;
    bool IsGroup = false;
  };

  size_t Find(uint64_t hash) const;
  void Insert(const Entry& entry);
  void EraseSlot(size_t slot);
  void Grow(size_t capacity);
  uint32_t NewGroup(uint32_t first, uint32_t second);

  std::vector<KeyColumn> columns_;
  std::vector<Entry> table_;  // open addressing, linear probing
  size_t used_ = 0;
  std::vector<std::set<uint32_t>> groups_;
  std::vector<uint32_t> freeGroups_;
};

}  // namespace Vdei
