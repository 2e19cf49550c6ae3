// Nine-part rendering of skin images onto a portable bitmap, and window regions built from the
// rendered pixels. Portable: the Windows side blits the composed bitmaps and turns the region
// rectangles into a GDI region.
//
// Skin bitmaps are read only through Width, Height, At() and Empty(); destination bitmaps are
// made with the TBitmap32 constructor and written through At().
#pragma once

#include <cstdint>
#include <vector>

#include "skin/file/Bmp.h"
#include "skin/file/SkinObjects.h"
#include "util/Geometry.h"

namespace zelvo {

// How one skin image is cut and drawn.
struct TNinePart {
  const TBitmap32* Image = nullptr;  // null or empty: nothing is drawn
  int32_t LeftWidth = 0;
  int32_t TopHeight = 0;
  int32_t RightWidth = 0;
  int32_t BottomHeight = 0;
  int32_t FrameCount = 1;          // values below 1 count as 1
  bool Stacked = false;            // frames stacked top to bottom instead of side by side
  bool TileMiddle = false;         // middle repeated from its top-left instead of stretched
  bool MagentaTransparent = false; // pixels FF00FF of the image leave the destination as it was
};

// An ordinary skin entry: its own slicing, Tile 1 = tile, frames side by side.
TNinePart NinePartOf(const TDataSkinObject& object, bool magentaTransparent);
// A window-frame side: Left/Right frames side by side with fixed top/bottom heights, Top/Bottom
// frames stacked with fixed left/right widths; the Tile slot holds Stretch (1 stretch, else tile).
TNinePart FrameSidePart(const TDataSkinBorder& side, bool stacked);

// The cell of frame `frame` (1-based, clamped to [1, frameCount]) of an image cut into
// frameCount equal columns, or rows when stacked. Empty for an empty image.
TRectI FrameCell(const TBitmap32& image, int32_t frameCount, int32_t frame, bool stacked);

// Draws frame `frame` of `part` over `dest` (destination coordinates; anything outside the
// bitmap is clipped). Corners are copied, edges stretched, the middle stretched or tiled; a
// destination narrower than left + right zeroes both widths, one lower than top + bottom both
// heights. Stretching samples the nearest source pixel (pixels are dropped or repeated, never
// blended). Hostile slicing, frame numbers and sizes are clamped; nothing is drawn for an empty
// image or destination.
void RenderNinePart(TBitmap32& target, const TRectI& dest, const TNinePart& part, int32_t frame);

// Copies src (a rectangle of `image`) stretched over dest, nearest pixel, clipped to the target.
void StretchCopy(TBitmap32& target, const TRectI& dest, const TBitmap32& image, const TRectI& src,
                 bool magentaTransparent);
// Repeats src over dest starting at dest's top-left, clipped to the target.
void TileCopy(TBitmap32& target, const TRectI& dest, const TBitmap32& image, const TRectI& src,
              bool magentaTransparent);

// A region under construction: a union of rectangles and of the non-magenta pixels of bitmaps,
// limited to [0, width) x [0, height).
class TRegionBuilder {
 public:
  TRegionBuilder(int32_t width, int32_t height);

  void AddRect(const TRectI& rect);
  // Adds the pixels of `area` (bitmap coordinates) of `image` that are not magenta, placed with
  // the area's top-left at `at`.
  void AddOpaque(const TBitmap32& image, const TRectI& area, TPointI at);

  // Non-overlapping rectangles covering the union, top to bottom, left to right; rows with the
  // same spans are merged into one band. Empty list for an empty region.
  std::vector<TRectI> Rects() const;

 private:
  void AddSpan(int32_t y, int32_t left, int32_t right);
  int32_t width_;
  int32_t height_;
  // Per row: sorted, disjoint, non-touching [left, right) spans.
  std::vector<std::vector<std::pair<int32_t, int32_t>>> rows_;
};

// Number of pixels a rectangle list covers (for checks and tests).
int64_t RegionArea(const std::vector<TRectI>& rects);
bool RegionContains(const std::vector<TRectI>& rects, int32_t x, int32_t y);

}  // namespace zelvo
