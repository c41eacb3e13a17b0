// TPackageStream: the memory stream a package is exported into and sent
// from.
//
// It behaves as TMemoryStream does (read, write and seek anywhere; writing
// past the end extends the stream and a gap reads as zeros; SetSize cuts or
// extends), but it never moves what it holds: it grows by blocks, the
// first ones small (a small package stays small), then 2 MiB ones that are
// offered to the system as huge pages. A package of hundreds of megabytes
// thus costs no re-copying while it is written and a few hundred page
// faults instead of tens of thousands.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Stream.h"

namespace Vdei {

class TPackageStream : public TStream {
 public:
  VDEI_CLASS(TPackageStream)
  TPackageStream() = default;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(size_); }
  void SetSize(int64_t size) override;

  // The whole content in one string.
  std::string Content() const;
  // Bytes the blocks can hold.
  size_t Capacity() const { return capacity_; }

 private:
  // Blocks are mapped memory of their own: given back whole when freed.
  struct UnmapBlock {
    size_t Capacity;
    void operator()(char* block) const;
  };
  struct Block {
    std::unique_ptr<char, UnmapBlock> Data;
    size_t Start;
    size_t Capacity;
  };

  // Adds blocks until the stream can hold end bytes.
  void Reserve(size_t end);
  // The block that holds position (which is below capacity_).
  size_t BlockAt(size_t position) const;
  // Zeros [from, to); both within the capacity.
  void Zero(size_t from, size_t to);
  // Calls visit(block address, length) for the pieces of [from, from + count).
  template <class Visit>
  void ForEachPiece(size_t from, size_t count, Visit visit) const;
  // Points tail_ at byte size_ (after a change of size_ or of the blocks).
  void FindTail();

  std::vector<Block> blocks_;
  size_t size_ = 0;
  size_t position_ = 0;
  size_t capacity_ = 0;
  // Where the next byte at the end goes, and the room left in its block:
  // an export appends small pieces, most of which go there directly.
  char* tail_ = nullptr;
  size_t tailRoom_ = 0;
};

}  // namespace Vdei
