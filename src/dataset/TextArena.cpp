#include "dataset/TextArena.h"

#include <bit>

#include "core/Exception.h"

namespace Vdei {

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);

// Class capacities: 8, 16, ... 256 (classes 0..31), then per power of two
// 2^k (k = 8..17) eight steps of 2^(k-3): 288, 320, ... 262144.
size_t CapacityOf(size_t sizeClass) {
  if (sizeClass < 32) return (sizeClass + 1) * 8;
  const size_t k = 8 + (sizeClass - 32) / 8;
  const size_t n = (sizeClass - 32) % 8 + 1;
  return (size_t{1} << k) + n * (size_t{1} << (k - 3));
}

// The smallest class whose capacity holds size bytes.
size_t ClassUp(size_t size) {
  if (size <= 256) return size == 0 ? 0 : (size - 1) / 8;
  const int k = std::bit_width(size - 1) - 1;  // 2^k < size <= 2^(k+1)
  const size_t step = size_t{1} << (k - 3);
  const size_t n = (size - (size_t{1} << k) + step - 1) / step;  // 1..8
  return 32 + static_cast<size_t>(k - 8) * 8 + (n - 1);
}

}  // namespace

RecordWord TextArena::Store(std::string_view text, bool compact) {
  if (text.size() > kLengthMask) throw EDatabaseError("Value too large for a field");
  const size_t chunk = kPrefix + text.size();
  char* p;
  uint32_t prefix = static_cast<uint32_t>(text.size());
  if (chunk > kLargeChunk) {
    p = StoreLarge(chunk);
  } else if (compact) {
    p = Allocate(chunk);
    inUse_ += chunk;
    prefix |= kCompactBit;
  } else {
    const size_t sizeClass = ClassUp(chunk);
    p = TakeFree(sizeClass);
    if (p == nullptr) p = Allocate(CapacityOf(sizeClass));
    inUse_ += CapacityOf(sizeClass);
  }
  std::memcpy(p, &prefix, sizeof prefix);
  if (!text.empty()) std::memcpy(p + kPrefix, text.data(), text.size());
  return static_cast<RecordWord>(reinterpret_cast<uintptr_t>(p));
}

char* TextArena::StoreLarge(size_t chunk) {
  auto block = std::make_unique<char[]>(chunk);
  char* p = block.get();
  large_.emplace(p, std::move(block));
  reserved_ += chunk;
  inUse_ += chunk;
  return p;
}

char* TextArena::Allocate(size_t chunk) {
  if (used_ + chunk > kBlockSize) {
    // The rest of the full block is kept as free space.
    if (!blocks_.empty()) PutFree(blocks_.back().get() + used_, kBlockSize - used_);
    blocks_.push_back(std::make_unique<char[]>(kBlockSize));
    used_ = 0;
    reserved_ += kBlockSize;
  }
  char* p = blocks_.back().get() + used_;
  used_ += chunk;
  return p;
}

// A free space of the class, or of the smallest larger class with one,
// split so that the rest stays free.
char* TextArena::TakeFree(size_t sizeClass) {
  size_t found = kClasses;
  for (size_t word = sizeClass / 64; word < 2 && found == kClasses; ++word) {
    uint64_t bits = nonEmpty_[word];
    if (word == sizeClass / 64) bits &= ~((uint64_t{1} << (sizeClass % 64)) - 1);
    if (bits != 0) found = word * 64 + std::countr_zero(bits);
  }
  if (found == kClasses) return nullptr;
  char* p = free_[found].back();
  free_[found].pop_back();
  if (free_[found].empty()) nonEmpty_[found / 64] &= ~(uint64_t{1} << (found % 64));
  if (found != sizeClass)
    PutFree(p + CapacityOf(sizeClass), CapacityOf(found) - CapacityOf(sizeClass));
  return p;
}

// Files free space under the largest class it holds; less than 8 bytes is
// given up.
void TextArena::PutFree(char* p, size_t size) {
  if (size < 8) return;
  size_t sizeClass = ClassUp(size);
  if (CapacityOf(sizeClass) > size) --sizeClass;
  free_[sizeClass].push_back(p);
  nonEmpty_[sizeClass / 64] |= uint64_t{1} << (sizeClass % 64);
}

void TextArena::Release(RecordWord handle) {
  if (handle == 0) return;
  char* p = reinterpret_cast<char*>(static_cast<uintptr_t>(handle));
  uint32_t prefix;
  std::memcpy(&prefix, p, sizeof prefix);
  const size_t chunk = kPrefix + (prefix & kLengthMask);
  if (chunk > kLargeChunk) {
    large_.erase(p);
    reserved_ -= chunk;
    inUse_ -= chunk;
    return;
  }
  const size_t capacity = (prefix & kCompactBit) != 0 ? chunk : CapacityOf(ClassUp(chunk));
  inUse_ -= capacity;
  PutFree(p, capacity);
}

void TextArena::Clear() {
  blocks_.clear();
  large_.clear();
  for (auto& list : free_) std::vector<char*>().swap(list);
  nonEmpty_[0] = nonEmpty_[1] = 0;
  used_ = kBlockSize;
  reserved_ = 0;
  inUse_ = 0;
}

}  // namespace Vdei
