// Reading the size of a bitmap held as the bytes of a BMP file, so that a
// writer can tell a picture it can save from bytes that are none.
//
// ReadBitmapSize accepts a BMP file image: the "BM" file header, an info
// header of a known size (12: the core header with 16-bit dimensions; 40,
// 52, 56, 64, 108 or 124: the info header and its later versions with
// 32-bit dimensions), one plane, a bit count of 1, 4, 8, 16, 24 or 32, a
// width above 0, a height other than 0, and pixel data that starts inside
// the bytes and, for uncompressed rows, fits them. The height of a
// top-down bitmap is negative in the header; Height is its absolute value.
// Anything else, however short, long or malformed, gives no size; the
// bytes are only read, never past their end.
#pragma once

#include <optional>
#include <string_view>

namespace VdExport {

struct TVdEBitmapSize {
  int Width;
  int Height;
};

std::optional<TVdEBitmapSize> ReadBitmapSize(std::string_view bytes);

}  // namespace VdExport
