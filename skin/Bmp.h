// Windows BMP files <-> a portable 32-bit bitmap.
// The reader takes the depths and compressions BMP files commonly use: 1, 4 and 8 bits with a
// palette (uncompressed, RLE8, RLE4), 16 and 32 bits (uncompressed or bit-field masks) and 24 bits;
// header kinds: the 12-byte core header and the 40/52/56/108/124-byte info headers. Anything else,
// and every damaged file, is refused with an EBmpError that says what is wrong. Sizes are checked
// against the data before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "util/Exceptions.h"

namespace zelvo {

class EBmpError : public Exception {
 public:
  using Exception::Exception;
};

// Pixels in the program's colour layout: red in the low byte, then green, then blue; the top byte
// is always 0 (the skin's transparency is a colour key, magenta, not an alpha channel).
using TPixel = uint32_t;

inline constexpr TPixel MakePixel(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TPixel>(r) | (static_cast<TPixel>(g) << 8) | (static_cast<TPixel>(b) << 16);
}
inline constexpr uint8_t PixelRed(TPixel p) { return static_cast<uint8_t>(p); }
inline constexpr uint8_t PixelGreen(TPixel p) { return static_cast<uint8_t>(p >> 8); }
inline constexpr uint8_t PixelBlue(TPixel p) { return static_cast<uint8_t>(p >> 16); }
inline constexpr TPixel kMagenta = MakePixel(0xFF, 0x00, 0xFF);

// A top-down bitmap: row 0 is the top row.
struct TBitmap32 {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<TPixel> Pixels;  // Width * Height, row by row from the top
  int32_t SourceBits = 0;      // bits per pixel of the file it came from (0 when made in memory)

  TBitmap32() = default;
  TBitmap32(int32_t width, int32_t height, TPixel fill = 0);

  bool Empty() const { return Width <= 0 || Height <= 0; }
  void Clear();
  TPixel At(int32_t x, int32_t y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  TPixel& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }

  // The columns [left, left + width) as a new bitmap (clipped to the image).
  TBitmap32 Columns(int32_t left, int32_t width) const;
  // A copy mirrored left-to-right.
  TBitmap32 Mirrored() const;

  bool operator==(const TBitmap32& other) const {
    return Width == other.Width && Height == other.Height && Pixels == other.Pixels;
  }
};

// Limits of what the reader accepts. A skin bitmap is a few hundred pixels wide; these bounds only
// keep a hostile file from demanding gigabytes.
inline constexpr int32_t kBmpMaxSide = 16384;
inline constexpr int64_t kBmpMaxPixels = 8 * 1024 * 1024;

// Decodes a whole BMP file (starting with "BM"). Raises EBmpError on anything it cannot read.
TBitmap32 ReadBmp(std::span<const uint8_t> file);
// The same, answering False with the reason instead of raising.
bool TryReadBmp(std::span<const uint8_t> file, TBitmap32& bitmap, std::string& reason);

// Encodes a bitmap as an uncompressed 24-bit bottom-up BMP with a 40-byte info header.
std::vector<uint8_t> WriteBmp24(const TBitmap32& bitmap);

}  // namespace zelvo
