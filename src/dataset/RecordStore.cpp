#include "dataset/RecordStore.h"

#include <algorithm>

#include "core/Exception.h"

namespace Vdei {

bool StoresText(TFieldType type) {
  switch (type) {
    case ftString:
    case ftBCD:
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return true;
    default:
      return false;
  }
}

void RecordLayout::Reset(RecordWord* row) const {
  std::fill(row, row + Width(), RecordWord{0});
  for (int w = 0; w < NullWords; ++w) row[w] = ~RecordWord{0};
}

void RecordStore::ReleaseAll() {
  std::vector<uint32_t>().swap(rowOf_);
  std::vector<uint32_t>().swap(freeRows_);
  std::vector<RecordWord>().swap(words_);
  arena_.Clear();
}

void RecordStore::Reset(int fieldCount) {
  layout_ = RecordLayout(fieldCount);
  textFields_.clear();
  firstId_ = 0;
  order_.Reset(0);
  ReleaseAll();
}

void RecordStore::Clear() {
  firstId_ = order_.NextId();
  order_.Reset(firstId_);
  ReleaseAll();
}

uint32_t RecordStore::Append() {
  if (NextId() >= kNoRecord - 1) throw EDatabaseError("Too many records");
  uint32_t row;
  if (!freeRows_.empty()) {
    row = freeRows_.back();
    freeRows_.pop_back();
  } else {
    row = static_cast<uint32_t>(words_.size() / RowWidth());
    words_.resize(words_.size() + RowWidth());
  }
  rowOf_.push_back(row);
  const uint32_t id = order_.Add();
  layout_.Reset(Row(id));
  return id;
}

uint32_t RecordStore::Append(const RecordWord* row) {
  const uint32_t id = Append();
  std::copy(row, row + layout_.Width(), Row(id));
  return id;
}

void RecordStore::Overwrite(uint32_t id, const RecordWord* row) {
  RecordWord* target = Row(id);
  for (int field : textFields_) {
    const RecordWord old = layout_.Slot(target, field);
    if (old != layout_.Slot(row, field)) arena_.Release(old);
  }
  std::copy(row, row + layout_.Width(), target);
}

void RecordStore::ReleaseNewTexts(const RecordWord* row, const RecordWord* original) {
  for (int field : textFields_) {
    const RecordWord handle = layout_.Slot(row, field);
    if (original == nullptr || handle != layout_.Slot(original, field)) arena_.Release(handle);
  }
}

void RecordStore::Erase(uint32_t id) {
  for (int field : textFields_) arena_.Release(layout_.Slot(Row(id), field));
  freeRows_.push_back(rowOf_[id - firstId_]);
  order_.Remove(id);
  if (order_.Count() == 0) Clear();
}

size_t RecordStore::BytesReserved() const {
  return (rowOf_.capacity() + freeRows_.capacity()) * sizeof(uint32_t) +
         words_.capacity() * sizeof(RecordWord) + order_.BytesReserved() + arena_.BytesReserved();
}

}  // namespace Vdei
