#include "export/VdEBitmap.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace VdExport {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;

// Compression values of the info header.
constexpr uint32_t kRGB = 0;
constexpr uint32_t kRLE8 = 1;
constexpr uint32_t kRLE4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

uint32_t ReadLE(std::string_view bytes, size_t offset, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) {
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return value;
}

uint32_t U16(std::string_view bytes, size_t offset) {
  return ReadLE(bytes, offset, 2);
}
uint32_t U32(std::string_view bytes, size_t offset) {
  return ReadLE(bytes, offset, 4);
}
int32_t I32(std::string_view bytes, size_t offset) {
  return static_cast<int32_t>(U32(bytes, offset));
}

bool IsKnownInfoHeaderSize(uint32_t size) {
  switch (size) {
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
      return true;
    default:
      return false;
  }
}

bool IsKnownBitCount(uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// What the headers say, before it is checked against the bytes.
struct Header {
  int64_t width = 0;
  int64_t height = 0;  // absolute value
  uint32_t planes = 0;
  uint32_t bitCount = 0;
  uint32_t compression = kRGB;
};

std::optional<Header> ReadHeader(std::string_view bytes, uint32_t headerSize) {
  Header header;
  if (headerSize == kCoreHeaderSize) {
    header.width = U16(bytes, 18);
    header.height = U16(bytes, 20);
    header.planes = U16(bytes, 22);
    header.bitCount = U16(bytes, 24);
  } else if (IsKnownInfoHeaderSize(headerSize)) {
    header.width = I32(bytes, 18);
    header.height = std::llabs(int64_t{I32(bytes, 22)});
    header.planes = U16(bytes, 26);
    header.bitCount = U16(bytes, 28);
    header.compression = U32(bytes, 30);
  } else {
    return std::nullopt;
  }
  return header;
}

// Whether the pixel data that starts at offset fits the bytes.
bool PixelsFit(const Header& header, size_t offset, size_t size) {
  const uint64_t available = size - offset;
  switch (header.compression) {
    case kRGB:
    case kBitFields:
    case kAlphaBitFields: {
      const uint64_t stride = (static_cast<uint64_t>(header.width) * header.bitCount + 31) / 32 * 4;
      return stride <= available / static_cast<uint64_t>(header.height);
    }
    case kRLE8:
    case kRLE4:
      return available > 0;
    default:
      return false;  // JPEG, PNG and unknown compressions
  }
}

}  // namespace

std::optional<TVdEBitmapSize> ReadBitmapSize(std::string_view bytes) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes.substr(0, 2) != "BM") return std::nullopt;
  const uint32_t headerSize = U32(bytes, kFileHeaderSize);
  if (bytes.size() < kFileHeaderSize + headerSize) return std::nullopt;
  const std::optional<Header> header = ReadHeader(bytes, headerSize);
  if (!header || header->planes != 1 || !IsKnownBitCount(header->bitCount)) return std::nullopt;
  constexpr int64_t kMaxDimension = std::numeric_limits<int>::max();
  if (header->width <= 0 || header->width > kMaxDimension || header->height == 0 ||
      header->height > kMaxDimension) {
    return std::nullopt;
  }
  const uint32_t pixelOffset = U32(bytes, 10);
  if (pixelOffset < kFileHeaderSize + headerSize || pixelOffset > bytes.size()) return std::nullopt;
  if (!PixelsFit(*header, pixelOffset, bytes.size())) return std::nullopt;
  return TVdEBitmapSize{static_cast<int>(header->width), static_cast<int>(header->height)};
}

}  // namespace VdExport
