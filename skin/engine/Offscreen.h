// TOffscreen: an off-screen drawing surface, a 32-bit top-down DIB section selected into a memory
// DC. The frame is composed here (portable bitmaps copied in, text drawn with GDI) and then
// copied to the window in one blit; the control and menu skins compose the same way.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/Types.h"
#include "skin/file/Bmp.h"
#include "util/Geometry.h"

namespace zelvo {

class TOffscreen {
 public:
  TOffscreen() = default;
  TOffscreen(const TOffscreen&) = delete;
  TOffscreen& operator=(const TOffscreen&) = delete;

  // Makes the surface at least width x height (never shrinks; sizes below 1 count as 1).
  // False when the platform refuses the bitmap or the DC.
  bool Ensure(int width, int height);
  HDC DC() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Copies a portable bitmap to (x, y), clipped to the surface. With `magentaKey` magenta pixels
  // are left as they are (transparent).
  void Put(const TBitmap32& bitmap, int x, int y, bool magentaKey = false);
  // The same for the part `source` (bitmap coordinates) of the bitmap, placed at (x, y).
  void Put(const TBitmap32& bitmap, const TRectI& source, int x, int y, bool magentaKey);
  // The pixel at (x, y) as 0x00RRGGBB (0 outside the surface); for checks.
  uint32_t PixelRGB(int x, int y) const;
  // Copies the rectangle (x, y, w, h) of the surface to `dc` at (dx, dy).
  void CopyTo(HDC dc, int dx, int dy, int x, int y, int w, int h) const;

 private:
  void Free();

  // Destroyed from the last up: the bitmap leaves the DC, then goes, then the DC goes.
  UniqueDC dc_;
  TDib32 dib_;
  ScopedSelect selection_;
  int width_ = 0, height_ = 0;
};

// Copies a portable bitmap straight to `dc` at (x, y), for a picture no GDI drawing goes onto: no
// surface is made for it. `scratch` holds the pixels in the platform's order (kept by the caller
// so that repeated copies reuse it).
void DrawBitmap(HDC dc, const TBitmap32& bitmap, int x, int y, std::vector<uint32_t>& scratch);

// The portable pixel of a skin colour (system colours resolved now).
TPixel PixelOf(TColor colour);

}  // namespace zelvo
