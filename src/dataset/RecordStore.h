// RecordStore: the compact in-memory storage behind every dataset of this
// layer (query results and in-memory tables alike). Used by TDataSet and
// the SQL backends; other code reaches records through TDataSet and TField.
//
// A record is a row of 64-bit words: first the null bits (one per field,
// ceil(fields / 64) words), then one slot per field. A slot holds the value
// itself for integer, Boolean (0 / 1), float, currency and date-time
// fields (int64 or double bits), and a pointer into the store's text arena
// for string, BCD, bytes and blob fields. Arena texts never move, so views
// of them stay valid until Clear; edits add new texts and leave the old
// ones in place.
//
// Records have ids in the order they were added (0, 1, 2, ...); the store
// keeps the ids of the live records in dataset order, which is ascending id
// order since records are only appended. Deleting the first or last record
// is O(1); an id is found from its position in O(1) and a position from its
// id in O(log n).
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace Vdei {

using RecordWord = uint64_t;

// Length-prefixed texts in fixed blocks that never move.
class TextArena {
 public:
  // Stores a copy of text and returns its handle (for a record slot).
  RecordWord Add(std::string_view text);
  static std::string_view Read(RecordWord handle) {
    const char* p = reinterpret_cast<const char*>(static_cast<uintptr_t>(handle));
    uint32_t length;
    std::memcpy(&length, p, sizeof length);
    return {p + sizeof length, length};
  }
  void Clear();
  size_t BytesReserved() const { return reserved_; }

 private:
  static constexpr size_t kBlockSize = 1 << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = kBlockSize;  // bytes used in the last block
  size_t reserved_ = 0;
};

// Reading and writing the words of one record.
struct RecordLayout {
  int FieldCount = 0;
  int NullWords = 0;
  int Width() const { return NullWords + FieldCount; }

  explicit RecordLayout(int fieldCount = 0)
      : FieldCount(fieldCount), NullWords((fieldCount + 63) / 64) {}
  static bool IsNull(const RecordWord* row, int field) {
    return (row[field >> 6] >> (field & 63) & 1) != 0;
  }
  static void SetNull(RecordWord* row, int field, bool isNull) {
    RecordWord bit = RecordWord{1} << (field & 63);
    row[field >> 6] = isNull ? row[field >> 6] | bit : row[field >> 6] & ~bit;
  }
  RecordWord Slot(const RecordWord* row, int field) const { return row[NullWords + field]; }
  void SetSlot(RecordWord* row, int field, RecordWord value) const {
    row[NullWords + field] = value;
  }
  // All fields null, all slots 0.
  void Reset(RecordWord* row) const;
};

inline RecordWord DoubleBits(double value) {
  RecordWord bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
inline double BitsDouble(RecordWord bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

class RecordStore {
 public:
  // Forgets every record and text and takes a new record width.
  void Reset(int fieldCount);
  void Clear() { Reset(layout_.FieldCount); }

  const RecordLayout& Layout() const { return layout_; }
  TextArena& Arena() { return arena_; }

  size_t Count() const { return order_.size(); }
  uint32_t IdAt(size_t position) const { return order_[position]; }
  // Position of a live record id, or -1.
  int64_t PositionOf(uint32_t id) const;
  const RecordWord* Row(uint32_t id) const { return words_.data() + RowOffset(id); }
  RecordWord* Row(uint32_t id) { return words_.data() + RowOffset(id); }

  // Appends a record (all null) and returns its id; the row is writable
  // until the next Append.
  uint32_t Append();
  // Appends a copy of row (Width() words).
  uint32_t Append(const RecordWord* row);
  void Overwrite(uint32_t id, const RecordWord* row);
  // Removes the record at a position from the order (its words stay until
  // Clear; the whole store is released when the last record goes).
  void Erase(size_t position);

  // The next id Append will give.
  uint32_t NextId() const;

 private:
  // Rows of a store without fields still take one word, so ids count.
  size_t RowWidth() const { return layout_.Width() > 0 ? layout_.Width() : 1; }
  size_t RowOffset(uint32_t id) const { return size_t(id) * RowWidth(); }

  RecordLayout layout_;
  std::vector<RecordWord> words_;
  std::deque<uint32_t> order_;
  TextArena arena_;
};

}  // namespace Vdei
