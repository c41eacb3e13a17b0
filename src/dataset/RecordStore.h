// RecordStore: the compact in-memory storage behind every dataset of this
// layer (query results and in-memory tables alike). Used by TDataSet and
// the SQL backends; other code reaches records through TDataSet and TField.
//
// A record is a row of 64-bit words: first the null bits (one per field,
// ceil(fields / 64) words), then one slot per field. A slot holds the value
// itself for integer, Boolean (0 / 1), float, currency and date-time
// fields (int64 or double bits), and a handle into the store's text arena
// (TextArena.h) for the text fields (SetTextFields): string, BCD, bytes
// and blob fields. A null value's slot is 0.
//
// Texts are owned by the records that hold them. Overwrite releases the
// texts it replaces, Erase those of the erased record, so a store that is
// updated again and again stays within the peak of what it held at once.
// The rule for views of texts (TField::AsStringView): a view stays valid
// until its record is overwritten or erased, or the store is cleared; a
// walk over records that nobody changes (an export) may keep every view
// it took.
//
// Records have ids in the order they were added; ids are never reused
// until Reset, also not after Clear, so an id names one record for the
// store's whole life. Dataset order is ascending id order (RecordOrder.h):
// appending, erasing anywhere, finding the neighbours of an id and reading
// a row by id are O(1) (amortised); an id from a position and a position
// from an id are O(log n). Rows of erased records are reused by later
// appends.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "dataset/FieldType.h"
#include "dataset/RecordOrder.h"
#include "dataset/TextArena.h"

namespace Vdei {

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

// Whether a field of the type keeps its value in the text arena.
bool StoresText(TFieldType type);

class RecordStore {
 public:
  static constexpr uint32_t kNoRecord = RecordOrder::kNone;

  // Forgets every record and text, takes a new record width (no text
  // fields) and numbers ids from 0 again.
  void Reset(int fieldCount);
  // Forgets every record and text; ids go on from where they were.
  void Clear();
  // The fields whose slots hold text handles.
  void SetTextFields(std::vector<int> fields) { textFields_ = std::move(fields); }
  const std::vector<int>& TextFields() const { return textFields_; }

  const RecordLayout& Layout() const { return layout_; }
  TextArena& Arena() { return arena_; }
  const TextArena& Arena() const { return arena_; }

  size_t Count() const { return order_.Count(); }
  // The live ids in dataset order: First, After, At, PositionOf...
  const RecordOrder& Order() const { return order_; }
  // Precondition: id is live.
  const RecordWord* Row(uint32_t id) const { return words_.data() + RowOffset(id); }
  RecordWord* Row(uint32_t id) { return words_.data() + RowOffset(id); }

  // Appends a record (all null) and returns its id; the row is writable
  // until the next Append.
  uint32_t Append();
  // Appends a copy of row (Width() words); the record owns its texts.
  uint32_t Append(const RecordWord* row);
  // Copies row over the record, releasing the texts it no longer holds.
  void Overwrite(uint32_t id, const RecordWord* row);
  // Removes a live record and releases its texts; the store is cleared
  // when the last record goes.
  void Erase(uint32_t id);
  // Releases the texts of row that original (nullptr: no record) does not
  // hold: for a row being edited that is abandoned.
  void ReleaseNewTexts(const RecordWord* row, const RecordWord* original);

  // The next id Append will give.
  uint32_t NextId() const { return order_.NextId(); }
  // Bytes held for rows, ids and texts (for memory figures).
  size_t BytesReserved() const;

 private:
  // Rows of a store without fields still take one word.
  size_t RowWidth() const { return layout_.Width() > 0 ? layout_.Width() : 1; }
  size_t RowOffset(uint32_t id) const { return size_t{rowOf_[id - firstId_]} * RowWidth(); }
  void ReleaseAll();

  RecordLayout layout_;
  std::vector<int> textFields_;
  RecordOrder order_;
  uint32_t firstId_ = 0;         // the id of rowOf_[0]
  std::vector<uint32_t> rowOf_;  // row number of each id since firstId_
  std::vector<uint32_t> freeRows_;
  std::vector<RecordWord> words_;
  TextArena arena_;
};

}  // namespace Vdei
