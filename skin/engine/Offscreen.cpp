#include "skin/engine/Offscreen.h"

#include <algorithm>
#include <span>
#include <utility>

namespace zelvo {

namespace {
// Portable pixel (red low) to DIB pixel (blue low).
inline uint32_t ToDib(TPixel p) { return (PixelRed(p) << 16) | (PixelGreen(p) << 8) | PixelBlue(p); }
}  // namespace

TPixel PixelOf(TColor colour) {
  const COLORREF rgb = ColorToRGB(colour);
  return MakePixel(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void TOffscreen::Free() {
  selection_.Reset();
  dib_ = TDib32{};
  dc_.Reset();
  width_ = height_ = 0;
}

bool TOffscreen::Ensure(int width, int height) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (dib_.bits && width <= width_ && height <= height_) return true;
  const int w = std::max(width, width_), h = std::max(height, height_);
  Free();
  TDib32 dib = CreateDib32(w, h);
  UniqueDC dc = CompatibleDC(nullptr);
  if (!dib.bitmap || !dc) return false;
  dc_ = std::move(dc);
  dib_ = std::move(dib);
  selection_ = ScopedSelect(dc_.Get(), dib_.bitmap.Get());
  width_ = w;
  height_ = h;
  return true;
}

void TOffscreen::Put(const TBitmap32& bitmap, int x, int y, bool magentaKey) {
  Put(bitmap, TRectI{0, 0, bitmap.Width, bitmap.Height}, x, y, magentaKey);
}

void TOffscreen::Put(const TBitmap32& bitmap, const TRectI& source, int x, int y, bool magentaKey) {
  if (!dib_.bits || bitmap.Empty()) return;
  GdiFlush();  // GDI may still be writing to the section
  const int sl = std::max(0, source.left), st = std::max(0, source.top);
  const int sr = std::min(bitmap.Width, source.right), sb = std::min(bitmap.Height, source.bottom);
  for (int sy = st; sy < sb; ++sy) {
    const int dy = y + (sy - source.top);
    if (dy < 0 || dy >= height_) continue;
    uint32_t* row = dib_.bits + static_cast<size_t>(dy) * width_;
    for (int sx = sl; sx < sr; ++sx) {
      const int dx = x + (sx - source.left);
      if (dx < 0 || dx >= width_) continue;
      const TPixel p = bitmap.At(sx, sy);
      if (magentaKey && p == kMagenta) continue;
      row[dx] = ToDib(p);
    }
  }
}

void DrawBitmap(HDC dc, const TBitmap32& bitmap, int x, int y, std::vector<uint32_t>& scratch) {
  if (bitmap.Empty()) return;
  const std::span<const TPixel> pixels = bitmap.Pixels();
  scratch.resize(pixels.size());
  std::transform(pixels.begin(), pixels.end(), scratch.begin(), ToDib);
  const BITMAPINFO info = Dib32Info(bitmap.Width, bitmap.Height);
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(bitmap.Width), static_cast<DWORD>(bitmap.Height), 0, 0, 0,
                    static_cast<UINT>(bitmap.Height), scratch.data(), &info, DIB_RGB_COLORS);
}

uint32_t TOffscreen::PixelRGB(int x, int y) const {
  if (!dib_.bits || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  GdiFlush();
  return dib_.bits[static_cast<size_t>(y) * width_ + x] & 0xFFFFFFu;
}

void TOffscreen::CopyTo(HDC dc, int dx, int dy, int x, int y, int w, int h) const {
  if (!dc_ || w <= 0 || h <= 0) return;
  BitBlt(dc, dx, dy, w, h, dc_.Get(), x, y, SRCCOPY);
}

}  // namespace zelvo
