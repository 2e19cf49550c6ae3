#include "skin/file/Bmp.h"

#include <algorithm>
#include <array>
#include <bit>

namespace zelvo {

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;

uint16_t U16(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint16_t>(d[at] | (d[at + 1] << 8));
}
uint32_t U32(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
         (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}
int32_t I32(std::span<const uint8_t> d, size_t at) { return static_cast<int32_t>(U32(d, at)); }

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

[[noreturn]] void Fail(const std::string& what) { throw EBmpError("Bitmap: " + what); }

// One colour channel described by a bit mask: the masked bits, shifted down, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (m != 0) {
      shift = std::countr_zero(m);
      max = m >> shift;
    }
  }
  uint8_t Get(uint32_t value) const {
    if (max == 0) return 0;
    uint64_t v = (value & mask) >> shift;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

struct Header {
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: rows stored top-down
  uint32_t bits = 0;
  uint32_t compression = kBiRgb;
  uint32_t colorsUsed = 0;
  std::array<uint32_t, 3> masks{};  // red, green, blue
  bool hasMasks = false;
  size_t afterHeader = 0;  // where the palette begins
  bool core = false;       // 12-byte header: 3-byte palette entries
};

Header ReadHeader(std::span<const uint8_t> file) {
  Header h;
  if (file.size() < kFileHeaderSize + 4) Fail("file too short for a BMP header");
  if (file[0] != 'B' || file[1] != 'M') Fail("not a BMP file (no \"BM\" signature)");
  h.headerSize = U32(file, kFileHeaderSize);
  switch (h.headerSize) {
    case 12: case 40: case 52: case 56: case 108: case 124: break;
    default: Fail("unsupported header size " + std::to_string(h.headerSize));
  }
  if (file.size() < kFileHeaderSize + h.headerSize) Fail("file ends inside the bitmap header");
  const size_t at = kFileHeaderSize;
  h.afterHeader = at + h.headerSize;
  if (h.headerSize == 12) {
    h.core = true;
    h.width = U16(file, at + 4);
    h.height = U16(file, at + 6);
    h.bits = U16(file, at + 10);
    return h;
  }
  h.width = I32(file, at + 4);
  h.height = I32(file, at + 8);
  h.bits = U16(file, at + 14);
  h.compression = U32(file, at + 16);
  h.colorsUsed = U32(file, at + 32);
  if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    h.hasMasks = true;
    if (h.headerSize >= 52) {
      for (int i = 0; i < 3; ++i) h.masks[i] = U32(file, at + 40 + 4 * i);
    } else {
      // A 40-byte header is followed by the masks (three, or four with alpha).
      size_t maskBytes = h.compression == kBiAlphaBitfields ? 16 : 12;
      if (file.size() < h.afterHeader + maskBytes) Fail("file ends inside the colour masks");
      for (int i = 0; i < 3; ++i) h.masks[i] = U32(file, h.afterHeader + 4 * i);
      h.afterHeader += maskBytes;
    }
  }
  return h;
}

void CheckFormat(const Header& h) {
  const uint32_t b = h.bits;
  switch (h.compression) {
    case kBiRgb:
      if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) {
        Fail("unsupported bit depth " + std::to_string(b));
      }
      break;
    case kBiRle8:
      if (b != 8) Fail("RLE8 compression needs 8 bits per pixel, not " + std::to_string(b));
      break;
    case kBiRle4:
      if (b != 4) Fail("RLE4 compression needs 4 bits per pixel, not " + std::to_string(b));
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (b != 16 && b != 32) Fail("bit-field masks need 16 or 32 bits per pixel, not " + std::to_string(b));
      break;
    case 4: Fail("JPEG-compressed bitmaps are not supported");
    case 5: Fail("PNG-compressed bitmaps are not supported");
    default: Fail("unsupported compression " + std::to_string(h.compression));
  }
  if (h.width <= 0) Fail("width " + std::to_string(h.width) + " is not positive");
  if (h.height == 0) Fail("height is 0");
  const int64_t height = h.height < 0 ? -h.height : h.height;
  if (h.width > kBmpMaxSide || height > kBmpMaxSide || h.width * height > kBmpMaxPixels) {
    Fail("size " + std::to_string(h.width) + " x " + std::to_string(height) + " is too large");
  }
  if (h.height < 0 && (h.compression == kBiRle8 || h.compression == kBiRle4)) {
    Fail("an RLE bitmap cannot be stored top-down");
  }
}

std::vector<TPixel> ReadPalette(std::span<const uint8_t> file, const Header& h, size_t pixelOffset) {
  std::vector<TPixel> palette;
  if (h.bits > 8) return palette;
  const uint32_t full = 1u << h.bits;
  uint32_t count = (h.core || h.colorsUsed == 0) ? full : std::min(h.colorsUsed, full);
  const size_t entry = h.core ? 3 : 4;
  const size_t end = h.afterHeader + count * entry;
  if (end > file.size()) Fail("file ends inside the colour table");
  if (end > pixelOffset) Fail("the colour table overlaps the pixel data");
  palette.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    size_t at = h.afterHeader + i * entry;
    palette.push_back(MakePixel(file[at + 2], file[at + 1], file[at]));
  }
  return palette;
}

// Uncompressed rows of any depth.
void ReadRows(std::span<const uint8_t> file, const Header& h, size_t offset,
              const std::vector<TPixel>& palette, TBitmap32& bmp) {
  const int32_t w = bmp.Width, ht = bmp.Height;
  const uint64_t rowBits = static_cast<uint64_t>(w) * h.bits;
  const uint64_t stride = ((rowBits + 31) / 32) * 4;  // ReadBmp has checked the rows are present
  std::array<uint32_t, 3> masks = h.masks;
  if (!h.hasMasks) {
    if (h.bits == 16) masks = {0x7C00, 0x03E0, 0x001F};
    else masks = {0xFF0000, 0x00FF00, 0x0000FF};
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  const bool topDown = h.height < 0;
  const std::span<TPixel> pixels = bmp.MutablePixels();
  auto index = [&](uint32_t i) { return i < palette.size() ? palette[i] : TPixel{0}; };

  for (int32_t r = 0; r < ht; ++r) {
    const uint8_t* row = file.data() + offset + stride * static_cast<uint64_t>(r);
    TPixel* out = &pixels[static_cast<size_t>(topDown ? r : ht - 1 - r) * w];
    switch (h.bits) {
      case 1:
        for (int32_t x = 0; x < w; ++x) out[x] = index((row[x >> 3] >> (7 - (x & 7))) & 1);
        break;
      case 4:
        for (int32_t x = 0; x < w; ++x) out[x] = index((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
        break;
      case 8:
        for (int32_t x = 0; x < w; ++x) out[x] = index(row[x]);
        break;
      case 16:
        for (int32_t x = 0; x < w; ++x) {
          uint32_t v = static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
          out[x] = MakePixel(red.Get(v), green.Get(v), blue.Get(v));
        }
        break;
      case 24:
        for (int32_t x = 0; x < w; ++x) out[x] = MakePixel(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        break;
      case 32:
        for (int32_t x = 0; x < w; ++x) {
          const uint8_t* p = row + 4 * x;
          uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
          out[x] = MakePixel(red.Get(v), green.Get(v), blue.Get(v));
        }
        break;
      default: break;
    }
  }
}

// RLE8 / RLE4: runs and literal groups, bottom-up. Pixels the stream skips stay black. The stream
// may end at a code boundary without its end-of-bitmap code; ending inside a code is an error.
// Whatever lies beyond the right or top edge is stepped over in one move, so the work is bounded
// by the input's length plus the bitmap's size, however long the runs are.
void ReadRle(std::span<const uint8_t> file, const Header& h, size_t offset,
             const std::vector<TPixel>& palette, TBitmap32& bmp) {
  const bool four = h.compression == kBiRle4;
  const int64_t w = bmp.Width, ht = bmp.Height;
  const std::span<TPixel> pixels = bmp.MutablePixels();
  int64_t x = 0, y = 0;  // y counts rows from the bottom
  auto colour = [&](uint32_t i) { return i < palette.size() ? palette[i] : TPixel{0}; };
  // How many of the next n pixels of the current row lie inside the bitmap.
  auto visible = [&](int64_t n) { return x >= w ? int64_t{0} : std::min(n, w - x); };
  auto row = [&]() { return &pixels[static_cast<size_t>((ht - 1 - y) * w)]; };
  size_t pos = offset;
  const size_t end = file.size();
  while (y < ht) {
    if (end - pos < 2) {
      if (pos == end) break;
      Fail("RLE data ends inside a code");
    }
    const uint8_t count = file[pos], value = file[pos + 1];
    pos += 2;
    if (count > 0) {
      const int64_t n = visible(count);
      if (n > 0) {
        TPixel* out = row() + x;
        if (four) {
          const TPixel hi = colour(value >> 4), lo = colour(value & 15u);
          for (int64_t i = 0; i < n; ++i) out[i] = (i & 1) ? lo : hi;
        } else {
          std::fill_n(out, n, colour(value));
        }
      }
      x += count;
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (end - pos < 2) Fail("RLE data ends inside a position jump");
      x += file[pos];
      y += file[pos + 1];
      pos += 2;
    } else {
      const size_t bytes = four ? (value + 1u) / 2 : value;
      const size_t padded = (bytes + 1) & ~static_cast<size_t>(1);
      if (end - pos < bytes) Fail("RLE data ends inside a literal run");
      const int64_t n = visible(value);
      if (n > 0) {
        TPixel* out = row() + x;
        for (int64_t i = 0; i < n; ++i) {
          const uint8_t b = file[pos + static_cast<size_t>(four ? i / 2 : i)];
          out[i] = colour(four ? ((i & 1) ? (b & 15u) : (b >> 4)) : b);
        }
      }
      x += value;
      pos += std::min(padded, end - pos);
    }
  }
}

}  // namespace

TBitmap32::TBitmap32(int32_t width, int32_t height, TPixel fill)
    : Width(std::max(width, 0)), Height(std::max(height, 0)) {
  if (Width == 0 || Height == 0) {
    Width = Height = 0;
    return;
  }
  pixels_ = std::make_shared_for_overwrite<TPixel[]>(PixelCount());
  std::fill_n(pixels_.get(), PixelCount(), fill);
}

void TBitmap32::Clear() { *this = TBitmap32(); }

void TBitmap32::Unshare() {
  if (!pixels_ || pixels_.use_count() == 1) return;
  std::shared_ptr<TPixel[]> own = std::make_shared_for_overwrite<TPixel[]>(PixelCount());
  std::copy_n(pixels_.get(), PixelCount(), own.get());
  pixels_ = std::move(own);
}

std::span<TPixel> TBitmap32::MutablePixels() {
  Unshare();
  return {pixels_.get(), PixelCount()};
}

bool TBitmap32::operator==(const TBitmap32& other) const {
  if (Width != other.Width || Height != other.Height) return false;
  if (pixels_ == other.pixels_) return true;
  return std::equal(Pixels().begin(), Pixels().end(), other.Pixels().begin());
}

TBitmap32 TBitmap32::Columns(int32_t left, int32_t width) const {
  left = std::clamp(left, 0, Width);
  width = std::clamp(width, 0, Width - left);
  TBitmap32 out(width, width > 0 ? Height : 0);
  const std::span<TPixel> dst = out.MutablePixels();
  for (int32_t y = 0; y < out.Height; ++y) {
    std::copy_n(&pixels_[Index(left, y)], width, &dst[static_cast<size_t>(y) * static_cast<size_t>(width)]);
  }
  out.SourceBits = SourceBits;
  return out;
}

TBitmap32 TBitmap32::Mirrored() const {
  TBitmap32 out(Width, Height);
  const std::span<TPixel> dst = out.MutablePixels();
  for (int32_t y = 0; y < Height; ++y) {
    std::reverse_copy(&pixels_[Index(0, y)], &pixels_[Index(0, y)] + Width, &dst[Index(0, y)]);
  }
  out.SourceBits = SourceBits;
  return out;
}

TBmpSize ReadBmpSize(std::span<const uint8_t> file) {
  const Header h = ReadHeader(file);
  CheckFormat(h);
  return {static_cast<int32_t>(h.width), static_cast<int32_t>(h.height < 0 ? -h.height : h.height),
          static_cast<int32_t>(h.bits)};
}

TBitmap32 ReadBmp(std::span<const uint8_t> file) {
  const Header h = ReadHeader(file);
  CheckFormat(h);
  const uint32_t pixelOffset = U32(file, 10);
  if (pixelOffset < h.afterHeader || pixelOffset > file.size()) {
    Fail("pixel data offset " + std::to_string(pixelOffset) + " lies outside the file's pixel area");
  }
  const std::vector<TPixel> palette = ReadPalette(file, h, pixelOffset);

  const int32_t width = static_cast<int32_t>(h.width);
  const int32_t height = static_cast<int32_t>(h.height < 0 ? -h.height : h.height);
  if (h.compression == kBiRgb || h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    // Check the data is all there before allocating for it; only the last row's padding may be
    // missing.
    const uint64_t rowBits = static_cast<uint64_t>(width) * h.bits;
    const uint64_t needed = ((rowBits + 31) / 32) * 4 * static_cast<uint64_t>(height - 1) + (rowBits + 7) / 8;
    if (pixelOffset + needed > file.size()) {
      Fail("pixel data truncated: " + std::to_string(needed) + " bytes needed, " +
           std::to_string(file.size() - pixelOffset) + " present");
    }
  }
  TBitmap32 bmp(width, height);
  bmp.SourceBits = static_cast<int32_t>(h.bits);
  if (h.compression == kBiRle8 || h.compression == kBiRle4) {
    ReadRle(file, h, pixelOffset, palette, bmp);
  } else {
    ReadRows(file, h, pixelOffset, palette, bmp);
  }
  return bmp;
}

bool TryReadBmp(std::span<const uint8_t> file, TBitmap32& bitmap, std::string& reason) {
  try {
    bitmap = ReadBmp(file);
    reason.clear();
    return true;
  } catch (const EBmpError& e) {
    bitmap.Clear();
    reason = e.Message();
    return false;
  }
}

std::vector<uint8_t> WriteBmp24(const TBitmap32& bitmap) {
  if (bitmap.Empty()) throw EBmpError("Bitmap: cannot write an empty bitmap");
  const uint32_t stride = ((static_cast<uint32_t>(bitmap.Width) * 24 + 31) / 32) * 4;
  const uint32_t imageSize = stride * static_cast<uint32_t>(bitmap.Height);
  const uint32_t offset = kFileHeaderSize + 40;
  std::vector<uint8_t> out;
  out.reserve(offset + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, offset + imageSize);
  PutU32(out, 0);
  PutU32(out, offset);
  PutU32(out, 40);
  PutU32(out, static_cast<uint32_t>(bitmap.Width));
  PutU32(out, static_cast<uint32_t>(bitmap.Height));
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, kBiRgb);
  PutU32(out, imageSize);
  PutU32(out, 2835);  // 72 dpi
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int32_t y = bitmap.Height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < bitmap.Width; ++x) {
      TPixel p = bitmap.At(x, y);
      out.push_back(PixelBlue(p));
      out.push_back(PixelGreen(p));
      out.push_back(PixelRed(p));
    }
    for (uint32_t pad = static_cast<uint32_t>(bitmap.Width) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace zelvo
