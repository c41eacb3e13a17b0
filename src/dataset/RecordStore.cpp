#include "dataset/RecordStore.h"

#include <algorithm>

#include "core/Exception.h"

namespace Vdei {

RecordWord TextArena::Add(std::string_view text) {
  if (text.size() > UINT32_MAX) throw EDatabaseError("Value too large for a field");
  const size_t needed = sizeof(uint32_t) + text.size();
  char* p;
  if (needed > kBlockSize / 4) {
    // Large values get a block of their own, placed before the current
    // block so the current one keeps filling.
    auto block = std::make_unique<char[]>(needed);
    p = block.get();
    blocks_.insert(blocks_.empty() ? blocks_.end() : blocks_.end() - 1, std::move(block));
    reserved_ += needed;
  } else {
    if (used_ + needed > kBlockSize) {
      blocks_.push_back(std::make_unique<char[]>(kBlockSize));
      used_ = 0;
      reserved_ += kBlockSize;
    }
    p = blocks_.back().get() + used_;
    used_ += needed;
  }
  const uint32_t length = static_cast<uint32_t>(text.size());
  std::memcpy(p, &length, sizeof length);
  if (!text.empty()) std::memcpy(p + sizeof length, text.data(), text.size());
  return static_cast<RecordWord>(reinterpret_cast<uintptr_t>(p));
}

void TextArena::Clear() {
  blocks_.clear();
  used_ = kBlockSize;
  reserved_ = 0;
}

void RecordLayout::Reset(RecordWord* row) const {
  std::fill(row, row + Width(), RecordWord{0});
  for (int w = 0; w < NullWords; ++w) row[w] = ~RecordWord{0};
}

void RecordStore::Reset(int fieldCount) {
  layout_ = RecordLayout(fieldCount);
  std::vector<RecordWord>().swap(words_);
  std::deque<uint32_t>().swap(order_);
  arena_.Clear();
}

int64_t RecordStore::PositionOf(uint32_t id) const {
  auto it = std::lower_bound(order_.begin(), order_.end(), id);
  if (it == order_.end() || *it != id) return -1;
  return it - order_.begin();
}

uint32_t RecordStore::NextId() const {
  return static_cast<uint32_t>(words_.size() / RowWidth());
}

uint32_t RecordStore::Append() {
  const uint32_t id = NextId();
  if (id == UINT32_MAX) throw EDatabaseError("Too many records");
  words_.resize(words_.size() + RowWidth());
  layout_.Reset(Row(id));
  order_.push_back(id);
  return id;
}

uint32_t RecordStore::Append(const RecordWord* row) {
  const uint32_t id = Append();
  std::copy(row, row + layout_.Width(), Row(id));
  return id;
}

void RecordStore::Overwrite(uint32_t id, const RecordWord* row) {
  std::copy(row, row + layout_.Width(), Row(id));
}

void RecordStore::Erase(size_t position) {
  order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(position));
  if (order_.empty()) Clear();
}

}  // namespace Vdei
