#include "dataset/RecordOrder.h"

#include <algorithm>
#include <bit>

namespace Vdei {

namespace {

constexpr size_t WordOf(size_t index) {
  return index >> 6;
}
constexpr uint64_t BitOf(size_t index) {
  return uint64_t{1} << (index & 63);
}
constexpr size_t LowBit(size_t i) {
  return i & (~i + 1);
}

// The index of the n-th (from 0) set bit of word; precondition: it has more.
int SelectBit(uint64_t word, size_t n) {
  for (; n > 0; --n) word &= word - 1;
  return std::countr_zero(word);
}

}  // namespace

void RecordOrder::Reset(uint32_t firstId) {
  base_ = firstId;
  span_ = count_ = 0;
  std::vector<uint64_t>().swap(bits_);
  firstWord_ = lastWord_ = 0;
  std::vector<uint32_t>().swap(tree_);
  built_ = 0;
  std::vector<std::pair<uint32_t, int32_t>>().swap(pending_);
}

bool RecordOrder::Contains(uint32_t id) const {
  if (id < base_ || id - base_ >= span_) return false;
  const size_t index = id - base_;
  return (bits_[WordOf(index)] & BitOf(index)) != 0;
}

uint32_t RecordOrder::Add() {
  const size_t index = span_++;
  const size_t word = WordOf(index);
  if (word == bits_.size()) bits_.push_back(0);
  bits_[word] |= BitOf(index);
  ++count_;
  lastWord_ = word;
  NoteChange(word, +1);
  return base_ + static_cast<uint32_t>(index);
}

void RecordOrder::Remove(uint32_t id) {
  const size_t index = id - base_;
  bits_[WordOf(index)] &= ~BitOf(index);
  --count_;
  NoteChange(WordOf(index), -1);
}

void RecordOrder::NoteChange(size_t word, int delta) {
  if (word >= built_) return;  // read afresh when the tree grows to it
  if (pending_.size() >= built_) {
    // More changes than words: a rebuild is cheaper than replaying them.
    tree_.clear();
    pending_.clear();
    built_ = 0;
    return;
  }
  pending_.emplace_back(static_cast<uint32_t>(word), delta);
}

uint32_t RecordOrder::First() const {
  if (count_ == 0) return kNone;
  while (bits_[firstWord_] == 0) ++firstWord_;
  return base_ + static_cast<uint32_t>(firstWord_ * 64 + std::countr_zero(bits_[firstWord_]));
}

uint32_t RecordOrder::Last() const {
  if (count_ == 0) return kNone;
  while (bits_[lastWord_] == 0) --lastWord_;
  return base_ + static_cast<uint32_t>(lastWord_ * 64 + 63 - std::countl_zero(bits_[lastWord_]));
}

uint32_t RecordOrder::After(uint32_t id) const {
  const size_t start = id < base_ ? 0 : size_t{id - base_} + 1;
  if (count_ == 0 || start >= span_) return kNone;
  size_t word = WordOf(start);
  uint64_t bits = bits_[word] & ~(BitOf(start) - 1);
  while (bits == 0) {
    if (++word > lastWord_) {
      lastWord_ = std::min(lastWord_, WordOf(start));  // nothing lives after start
      return kNone;
    }
    bits = bits_[word];
  }
  return base_ + static_cast<uint32_t>(word * 64 + std::countr_zero(bits));
}

uint32_t RecordOrder::Before(uint32_t id) const {
  if (count_ == 0 || id <= base_) return kNone;
  const size_t end = std::min<size_t>(id - base_, span_);  // exclusive
  size_t word = WordOf(end - 1);
  uint64_t bits = bits_[word] & (BitOf(end - 1) | (BitOf(end - 1) - 1));
  while (bits == 0) {
    if (word <= firstWord_) {
      firstWord_ = std::max(firstWord_, WordOf(end - 1));  // nothing lives before end
      return kNone;
    }
    bits = bits_[--word];
  }
  return base_ + static_cast<uint32_t>(word * 64 + 63 - std::countl_zero(bits));
}

// --- positions ----------------------------------------------------------------

void RecordOrder::RebuildTree() const {
  const size_t words = bits_.size();
  tree_.assign(words + 1, 0);
  for (size_t i = 1; i <= words; ++i) {
    tree_[i] += static_cast<uint32_t>(std::popcount(bits_[i - 1]));
    if (i + LowBit(i) <= words) tree_[i + LowBit(i)] += tree_[i];
  }
  built_ = words;
  pending_.clear();
}

void RecordOrder::AddToTree(size_t word, int delta) const {
  for (size_t i = word + 1; i <= built_; i += LowBit(i)) tree_[i] += delta;
}

size_t RecordOrder::CountBefore(size_t word) const {
  size_t sum = 0;
  for (size_t i = word; i > 0; i -= LowBit(i)) sum += tree_[i];
  return sum;
}

void RecordOrder::SyncTree() const {
  const size_t words = bits_.size();
  const size_t steps = static_cast<size_t>(std::bit_width(words)) + 1;
  if ((pending_.size() + words - built_) * steps >= words) return RebuildTree();
  for (const auto& [word, delta] : pending_) AddToTree(word, delta);
  pending_.clear();
  if (tree_.empty()) tree_.push_back(0);
  for (; built_ < words; ++built_) {
    const size_t i = built_ + 1;
    const size_t own = static_cast<size_t>(std::popcount(bits_[built_]));
    tree_.push_back(static_cast<uint32_t>(own + CountBefore(i - 1) - CountBefore(i - LowBit(i))));
  }
}

uint32_t RecordOrder::At(size_t position) const {
  if (Dense()) return base_ + static_cast<uint32_t>(position);
  SyncTree();
  size_t word = 0;  // words before the one holding the position
  size_t rest = position;
  for (size_t step = std::bit_floor(built_); step > 0; step >>= 1) {
    if (word + step <= built_ && tree_[word + step] <= rest) {
      word += step;
      rest -= tree_[word];
    }
  }
  return base_ + static_cast<uint32_t>(word * 64 + SelectBit(bits_[word], rest));
}

size_t RecordOrder::PositionOf(uint32_t id) const {
  if (Dense()) return id - base_;
  SyncTree();
  const size_t index = id - base_;
  const uint64_t before = bits_[WordOf(index)] & (BitOf(index) - 1);
  return CountBefore(WordOf(index)) + static_cast<size_t>(std::popcount(before));
}

size_t RecordOrder::BytesReserved() const {
  return bits_.capacity() * sizeof(uint64_t) + tree_.capacity() * sizeof(uint32_t) +
         pending_.capacity() * sizeof(pending_[0]);
}

}  // namespace Vdei
