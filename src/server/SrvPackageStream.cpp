#include "server/SrvPackageStream.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "core/Exception.h"
#include "core/Properties.h"

namespace Vdei {

namespace {

// Blocks of 64 KiB, 128 KiB, ... 1 MiB, then 2 MiB each.
constexpr size_t kFirstBlock = 64 * 1024;
constexpr size_t kSmallBlocks = 5;
constexpr size_t kLargeBlock = kFirstBlock << kSmallBlocks;
constexpr size_t kSmallCapacity = kFirstBlock * ((size_t{1} << kSmallBlocks) - 1);
static_assert(kLargeBlock == 2 * 1024 * 1024);

size_t BlockCapacity(size_t index) {
  return index < kSmallBlocks ? kFirstBlock << index : kLargeBlock;
}

// The pages are mapped at once (MAP_POPULATE), which is much cheaper than
// one page fault per page as the export writes.
char* AllocateBlock(size_t capacity) {
  void* block = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  return static_cast<char*>(block);
}

}  // namespace

const TClassInfo& TPackageStream::StaticClassInfo() {
  static const TClassInfo info =
      ClassInfoBuilder<TPackageStream, TStream>("TPackageStream").Build();
  return info;
}

void TPackageStream::Reserve(size_t end) {
  while (capacity_ < end) {
    const size_t capacity = BlockCapacity(blocks_.size());
    blocks_.push_back(
        Block{std::unique_ptr<char, UnmapBlock>(AllocateBlock(capacity), UnmapBlock{capacity}),
              capacity_, capacity});
    capacity_ += capacity;
  }
}

size_t TPackageStream::BlockAt(size_t position) const {
  if (position >= kSmallCapacity) return kSmallBlocks + (position - kSmallCapacity) / kLargeBlock;
  // Small block i covers [kFirstBlock * (2^i - 1), kFirstBlock * (2^(i+1) - 1)).
  return static_cast<size_t>(std::bit_width(position / kFirstBlock + 1)) - 1;
}

template <class Visit>
void TPackageStream::ForEachPiece(size_t from, size_t count, Visit visit) const {
  if (count == 0) return;
  for (size_t index = BlockAt(from); count > 0; ++index) {
    const Block& block = blocks_[index];
    const size_t offset = from - block.Start;
    const size_t length = std::min(count, block.Capacity - offset);
    visit(block.Data.get() + offset, length);
    from += length;
    count -= length;
  }
}

void TPackageStream::Zero(size_t from, size_t to) {
  ForEachPiece(from, to - from, [](char* piece, size_t length) { std::memset(piece, 0, length); });
}

int64_t TPackageStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const size_t n = std::min(static_cast<size_t>(count), size_ - position_);
  char* out = static_cast<char*>(buffer);
  ForEachPiece(position_, n, [&out](const char* piece, size_t length) {
    std::memcpy(out, piece, length);
    out += length;
  });
  position_ += n;
  return static_cast<int64_t>(n);
}

void TPackageStream::UnmapBlock::operator()(char* block) const {
  ::munmap(block, Capacity);
}

void TPackageStream::FindTail() {
  if (size_ >= capacity_) {
    tail_ = nullptr;
    tailRoom_ = 0;
    return;
  }
  const Block& block = blocks_[BlockAt(size_)];
  tail_ = block.Data.get() + (size_ - block.Start);
  tailRoom_ = block.Start + block.Capacity - size_;
}

int64_t TPackageStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position_ == size_ && static_cast<size_t>(count) <= tailRoom_) {
    std::memcpy(tail_, buffer, static_cast<size_t>(count));
    tail_ += count;
    tailRoom_ -= static_cast<size_t>(count);
    size_ += static_cast<size_t>(count);
    position_ = size_;
    return count;
  }
  const size_t end = position_ + static_cast<size_t>(count);
  Reserve(end);
  if (position_ > size_) Zero(size_, position_);  // a gap after the end reads as zeros
  const char* in = static_cast<const char*>(buffer);
  ForEachPiece(position_, static_cast<size_t>(count), [&in](char* piece, size_t length) {
    std::memcpy(piece, in, length);
    in += length;
  });
  position_ = end;
  if (end > size_) {
    size_ = end;
    FindTail();
  }
  return count;
}

int64_t TPackageStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0
                       : origin == soCurrent ? static_cast<int64_t>(position_)
                                             : static_cast<int64_t>(size_);
  const int64_t target = base + offset;
  if (target < 0) throw EStreamError("Stream seek error");
  position_ = static_cast<size_t>(target);
  return target;
}

void TPackageStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Stream write error");
  const size_t end = static_cast<size_t>(size);
  if (end > size_) {
    Reserve(end);
    Zero(size_, end);
  }
  size_ = end;
  position_ = std::min(position_, size_);
  FindTail();
}

std::string TPackageStream::Content() const {
  std::string content;
  content.reserve(size_);
  ForEachPiece(0, size_,
               [&content](const char* piece, size_t length) { content.append(piece, length); });
  return content;
}

}  // namespace Vdei
