#include "dataset/KeyIndex.h"

#include <bit>
#include <functional>
#include <string_view>

#include "core/NumberFormat.h"

namespace Vdei {

namespace {

// How a column's values are compared by Locate, and so hashed.
enum class KeyKind { Text, Integer, Double, Decimal, Boolean };

KeyKind KindOf(TFieldType type) {
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return KeyKind::Integer;
    case ftFloat:
    case ftCurrency:
    case ftDate:
    case ftTime:
    case ftDateTime:
      return KeyKind::Double;
    case ftBCD:
      return KeyKind::Decimal;
    case ftBoolean:
      return KeyKind::Boolean;
    default:
      return KeyKind::Text;
  }
}

uint64_t Mix(uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

constexpr uint64_t kNullHash = 0x9E3779B97F4A7C15ull;

uint64_t HashNumber(double value) {
  if (value == 0) value = 0;  // -0 and 0 are equal
  return Mix(DoubleBits(value) ^ 0x5851F42D4C957F2Dull);
}

uint64_t HashText(std::string_view text) {
  return Mix(std::hash<std::string_view>{}(text));
}

uint64_t HashBoolean(bool value) {
  return Mix(value ? 0x3Bull : 0x5Dull);
}

uint64_t Combine(uint64_t hash, uint64_t part) {
  return Mix(hash ^ (part + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2)));
}

// A BCD field's value as its Value() gives it: a whole number when the text
// is one, else the float.
double DecimalValue(std::string_view text) {
  int64_t whole;
  if (TryStrToInt64(text, whole)) return static_cast<double>(whole);
  double value = 0;
  TryStrToFloat(text, value, '.');
  return value;
}

uint64_t HashSlot(KeyKind kind, RecordWord slot) {
  switch (kind) {
    case KeyKind::Integer:
      return HashNumber(static_cast<double>(static_cast<int64_t>(slot)));
    case KeyKind::Double:
      return HashNumber(BitsDouble(slot));
    case KeyKind::Decimal:
      return HashNumber(DecimalValue(TextArena::Read(slot)));
    case KeyKind::Boolean:
      return HashBoolean(slot != 0);
    case KeyKind::Text:
      return HashText(TextArena::Read(slot));
  }
  return 0;
}

bool HashKey(KeyKind kind, const Variant& key, uint64_t& hash) {
  if (key.IsNullOrEmpty()) {
    hash = kNullHash;
    return true;
  }
  switch (kind) {
    case KeyKind::Text:
      if (!key.IsString()) return false;
      hash = HashText(key.StringRef());
      return true;
    case KeyKind::Boolean:
      if (key.Type() != varBoolean) return false;
      hash = HashBoolean(key.AsBoolean());
      return true;
    default:
      if (!key.IsNumeric()) return false;
      hash = HashNumber(key.AsFloat());
      return true;
  }
}

uint64_t NonZero(uint64_t hash) {
  return hash != 0 ? hash : 1;
}

}  // namespace

bool KeyIndex::HashKeys(const std::vector<KeyColumn>& columns, const std::vector<Variant>& keys,
                        uint64_t& hash) {
  uint64_t combined = 0;
  for (size_t i = 0; i < columns.size(); ++i) {
    uint64_t part;
    if (!HashKey(KindOf(columns[i].Type), keys[i], part)) return false;
    combined = Combine(combined, part);
  }
  hash = NonZero(combined);
  return true;
}

uint64_t KeyIndex::HashRow(const RecordLayout& layout, const RecordWord* row) const {
  uint64_t combined = 0;
  for (const KeyColumn& column : columns_) {
    const uint64_t part = RecordLayout::IsNull(row, column.Field)
                              ? kNullHash
                              : HashSlot(KindOf(column.Type), layout.Slot(row, column.Field));
    combined = Combine(combined, part);
  }
  return NonZero(combined);
}

void KeyIndex::Build(const RecordStore& store) {
  Grow(std::bit_ceil(store.Count() * 4 / 3 + 16));
  const RecordOrder& order = store.Order();
  for (uint32_t id = order.First(); id != RecordOrder::kNone; id = order.After(id))
    Add(id, HashRow(store.Layout(), store.Row(id)));
}

void KeyIndex::Add(uint32_t id, uint64_t hash) {
  const size_t slot = Find(hash);
  if (slot == kNoSlot) return Insert(Entry{hash, id, false});
  Entry& entry = table_[slot];
  if (entry.IsGroup) {
    groups_[entry.Value].insert(id);
  } else {
    entry.Value = NewGroup(entry.Value, id);
    entry.IsGroup = true;
  }
}

void KeyIndex::Remove(uint32_t id, uint64_t hash) {
  const size_t slot = Find(hash);
  if (slot == kNoSlot) return;
  Entry& entry = table_[slot];
  if (!entry.IsGroup) {
    if (entry.Value == id) EraseSlot(slot);
    return;
  }
  std::set<uint32_t>& group = groups_[entry.Value];
  group.erase(id);
  if (group.size() > 1) return;
  const uint32_t last = *group.begin();
  group.clear();
  freeGroups_.push_back(entry.Value);
  entry.Value = last;
  entry.IsGroup = false;
}

uint32_t KeyIndex::NewGroup(uint32_t first, uint32_t second) {
  uint32_t group;
  if (!freeGroups_.empty()) {
    group = freeGroups_.back();
    freeGroups_.pop_back();
  } else {
    group = static_cast<uint32_t>(groups_.size());
    groups_.emplace_back();
  }
  groups_[group] = {first, second};
  return group;
}

// --- the open-addressing table ------------------------------------------------

size_t KeyIndex::Find(uint64_t hash) const {
  if (table_.empty()) return kNoSlot;
  const size_t mask = table_.size() - 1;
  for (size_t i = hash & mask; table_[i].Hash != 0; i = (i + 1) & mask)
    if (table_[i].Hash == hash) return i;
  return kNoSlot;
}

void KeyIndex::Insert(const Entry& entry) {
  if ((used_ + 1) * 4 > table_.size() * 3) Grow(std::max<size_t>(16, table_.size() * 2));
  const size_t mask = table_.size() - 1;
  size_t i = entry.Hash & mask;
  while (table_[i].Hash != 0) i = (i + 1) & mask;
  table_[i] = entry;
  ++used_;
}

void KeyIndex::Grow(size_t capacity) {
  std::vector<Entry> old = std::move(table_);
  table_.assign(capacity, Entry{});
  used_ = 0;
  for (const Entry& entry : old)
    if (entry.Hash != 0) Insert(entry);
}

// Backward-shift deletion: entries after the hole that may live in it move
// up, so lookups never need tombstones.
void KeyIndex::EraseSlot(size_t slot) {
  const size_t mask = table_.size() - 1;
  size_t hole = slot;
  for (size_t j = (hole + 1) & mask; table_[j].Hash != 0; j = (j + 1) & mask) {
    const size_t home = table_[j].Hash & mask;
    const bool stays = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
    if (stays) continue;
    table_[hole] = table_[j];
    hole = j;
  }
  table_[hole] = Entry{};
  --used_;
}

}  // namespace Vdei
