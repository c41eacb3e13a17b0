// TextArena: the texts of a record store (strings, decimals, bytes, blobs),
// each a length-prefixed run of bytes addressed by a handle that fits a
// record slot. Internal to the dataset layer (RecordStore.h).
//
// Texts never move. A handle stays readable until it is released or the
// arena is cleared; released space is reused by later texts. Add rounds a
// text's space up to its size class (8-byte steps up to 256 bytes, then
// eighths of a power of two), so the space of a released text serves any
// later text of its class, and a larger free space is split when no space
// of the class is free: an arena whose texts are replaced again and again
// stays near the peak of what was live at once. AddCompact takes exactly
// the space needed, for texts that are seldom replaced (query results);
// released, it is reused too. Texts above a quarter block get an
// allocation of their own, returned to the system on release. Handle 0 is
// never given out: slots of null values hold 0. A text has at most
// 2^31 - 1 bytes.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Vdei {

using RecordWord = uint64_t;

class TextArena {
 public:
  // Stores a copy of text and returns its handle (for a record slot).
  RecordWord Add(std::string_view text) { return Store(text, false); }
  RecordWord AddCompact(std::string_view text) { return Store(text, true); }
  static std::string_view Read(RecordWord handle) {
    const char* p = reinterpret_cast<const char*>(static_cast<uintptr_t>(handle));
    uint32_t prefix;
    std::memcpy(&prefix, p, sizeof prefix);
    return {p + sizeof prefix, prefix & kLengthMask};
  }
  // Gives the text's space back for reuse; the handle must not be read
  // again. 0 is ignored.
  void Release(RecordWord handle);
  void Clear();
  // Bytes taken from the system, and bytes of the texts currently stored
  // (with their length prefixes and size-class rounding).
  size_t BytesReserved() const { return reserved_; }
  size_t BytesInUse() const { return inUse_; }

 private:
  static constexpr size_t kBlockSize = 1 << 20;
  static constexpr size_t kLargeChunk = kBlockSize / 4;
  static constexpr uint32_t kCompactBit = 0x80000000u;
  static constexpr uint32_t kLengthMask = ~kCompactBit;
  static constexpr size_t kClasses = 112;

  RecordWord Store(std::string_view text, bool compact);
  char* StoreLarge(size_t chunk);
  char* Allocate(size_t chunk);  // from the current block
  char* TakeFree(size_t sizeClass);
  void PutFree(char* p, size_t size);

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::unordered_map<const char*, std::unique_ptr<char[]>> large_;
  std::vector<char*> free_[kClasses];  // free spaces by size class
  uint64_t nonEmpty_[2] = {0, 0};      // the classes with free spaces
  size_t used_ = kBlockSize;           // bytes used in the last block
  size_t reserved_ = 0;
  size_t inUse_ = 0;
};

}  // namespace Vdei
