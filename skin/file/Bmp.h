// Windows BMP files <-> a portable 32-bit bitmap.
// The reader takes the depths and compressions BMP files commonly use: 1, 4 and 8 bits with a
// palette (uncompressed, RLE8, RLE4), 16 and 32 bits (uncompressed or bit-field masks) and 24 bits;
// header kinds: the 12-byte core header and the 40/52/56/108/124-byte info headers. Anything else,
// and every damaged file, is refused with an EBmpError that says what is wrong. Sizes are checked
// against the data before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

// A top-down bitmap: row 0 is the top row. Copies share one block of pixels until one of them is
// written to (copy on write), so every skin piece that names the same bitmap file holds the same
// pixels. Reading never copies: At() on a non-const bitmap gives a reference object that reads in
// place and unshares only when assigned to.
class TBitmap32 {
 public:
  class PixelRef;

  int32_t Width = 0;
  int32_t Height = 0;
  int32_t SourceBits = 0;  // bits per pixel of the file it came from (0 when made in memory)

  TBitmap32() = default;
  // Raises std::bad_alloc like any allocation; the readers turn that into their own errors.
  TBitmap32(int32_t width, int32_t height, TPixel fill = 0);

  bool Empty() const { return Width <= 0 || Height <= 0; }
  void Clear();
  TPixel At(int32_t x, int32_t y) const { return pixels_[Index(x, y)]; }
  PixelRef At(int32_t x, int32_t y);

  // All pixels, row by row from the top (Width * Height of them).
  std::span<const TPixel> Pixels() const { return {pixels_.get(), PixelCount()}; }
  // The same for writing; unshares first.
  std::span<TPixel> MutablePixels();
  size_t PixelCount() const { return static_cast<size_t>(Width) * static_cast<size_t>(Height); }
  // Bytes of pixel storage, counted once however many bitmaps share it.
  size_t PixelBytes() const { return PixelCount() * sizeof(TPixel); }
  bool SharesPixelsWith(const TBitmap32& other) const {
    return pixels_ != nullptr && pixels_ == other.pixels_;
  }

  // The columns [left, left + width) as a new bitmap (clipped to the image).
  TBitmap32 Columns(int32_t left, int32_t width) const;
  // A copy mirrored left-to-right.
  TBitmap32 Mirrored() const;

  bool operator==(const TBitmap32& other) const;

 private:
  size_t Index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x); }
  void Unshare();

  std::shared_ptr<TPixel[]> pixels_;
};

// What a non-const At() returns: reads like a TPixel, and writing through it gives the bitmap its
// own pixels first.
class TBitmap32::PixelRef {
 public:
  operator TPixel() const { return bitmap_.pixels_[index_]; }
  PixelRef& operator=(TPixel value) {
    if (bitmap_.pixels_.use_count() > 1) bitmap_.Unshare();
    bitmap_.pixels_[index_] = value;
    return *this;
  }
  PixelRef& operator=(const PixelRef& other) { return *this = static_cast<TPixel>(other); }

 private:
  friend class TBitmap32;
  PixelRef(TBitmap32& bitmap, size_t index) : bitmap_(bitmap), index_(index) {}
  TBitmap32& bitmap_;
  size_t index_;
};

inline TBitmap32::PixelRef TBitmap32::At(int32_t x, int32_t y) { return PixelRef(*this, Index(x, y)); }

// Limits of what the reader accepts. A skin bitmap is a few hundred pixels wide; these bounds only
// keep a hostile file from demanding gigabytes.
inline constexpr int32_t kBmpMaxSide = 16384;
inline constexpr int64_t kBmpMaxPixels = 8 * 1024 * 1024;

// What a BMP file's headers say, checked as ReadBmp checks them, without reading any pixel.
struct TBmpSize {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Bits = 0;
  size_t PixelBytes() const { return static_cast<size_t>(Width) * static_cast<size_t>(Height) * sizeof(TPixel); }
};
// Raises EBmpError where ReadBmp would refuse the headers (its pixel data may still be damaged).
TBmpSize ReadBmpSize(std::span<const uint8_t> file);

// Decodes a whole BMP file (starting with "BM"). Raises EBmpError on anything it cannot read, and
// std::bad_alloc when memory for the pixels cannot be had.
TBitmap32 ReadBmp(std::span<const uint8_t> file);
// The same, answering False with the reason instead of raising.
bool TryReadBmp(std::span<const uint8_t> file, TBitmap32& bitmap, std::string& reason);

// Encodes a bitmap as an uncompressed 24-bit bottom-up BMP with a 40-byte info header.
std::vector<uint8_t> WriteBmp24(const TBitmap32& bitmap);

}  // namespace zelvo
