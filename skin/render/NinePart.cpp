#include "skin/render/NinePart.h"

#include <algorithm>
#include <limits>

namespace zelvo {
namespace {

int32_t Clamp32(int64_t v, int32_t lo, int32_t hi) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, lo, hi));
}

// The part of `dest` that lies inside the target bitmap.
TRectI ClipToTarget(const TBitmap32& target, const TRectI& dest) {
  TRectI r{std::max(dest.left, 0), std::max(dest.top, 0), std::min(dest.right, target.Width),
           std::min(dest.bottom, target.Height)};
  return r;
}

// `src` clipped to the image.
TRectI ClipToImage(const TBitmap32& image, const TRectI& src) {
  return TRectI{std::max(src.left, 0), std::max(src.top, 0), std::min(src.right, image.Width),
                std::min(src.bottom, image.Height)};
}

// A copy's source clipped to the image (`s`) and its destination to the target (`clip`); false when
// nothing is left to draw.
bool ClipCopy(const TBitmap32& target, const TRectI& dest, const TBitmap32& image, const TRectI& src, TRectI& s,
              TRectI& clip) {
  if (dest.Empty() || image.Empty()) return false;
  s = ClipToImage(image, src);
  if (s.Empty()) return false;
  clip = ClipToTarget(target, dest);
  return !clip.Empty();
}

// Nearest source index for destination offset d of n destination pixels over m source pixels:
// the source pixel under the destination pixel's centre.
int32_t NearestIndex(int64_t d, int64_t n, int64_t m) {
  return static_cast<int32_t>(((2 * d + 1) * m) / (2 * n));
}

// The slicing every skin picture declares the same way (object or frame side).
template <typename Source>
TNinePart SlicesOf(const Source& source) {
  TNinePart p;
  p.Image = &source.Image;
  p.LeftWidth = source.LeftWidth;
  p.TopHeight = source.TopHeight;
  p.RightWidth = source.RightWidth;
  p.BottomHeight = source.BottomHeight;
  p.FrameCount = source.FrameCount;
  return p;
}
}  // namespace

TNinePart NinePartOf(const TDataSkinObject& object, bool magentaTransparent) {
  TNinePart p = SlicesOf(object);
  p.Stacked = false;
  p.TileMiddle = object.Tile == 1;
  p.MagentaTransparent = magentaTransparent;
  return p;
}

TNinePart FrameSidePart(const TDataSkinBorder& side, bool stacked) {
  TNinePart p = SlicesOf(side);
  p.Stacked = stacked;
  p.TileMiddle = side.Tile != 1;  // the slot holds Stretch for frame sides
  p.MagentaTransparent = false;
  return p;
}

TRectI FrameCell(const TBitmap32& image, int32_t frameCount, int32_t frame, bool stacked) {
  if (image.Empty()) return {};
  const int32_t extent = stacked ? image.Height : image.Width;
  const int32_t count = std::clamp(frameCount, 1, extent);
  const int32_t index = std::clamp(frame, 1, count) - 1;
  const int32_t cell = extent / count;
  if (stacked) return TRectI{0, index * cell, image.Width, (index + 1) * cell};
  return TRectI{index * cell, 0, (index + 1) * cell, image.Height};
}

void StretchCopy(TBitmap32& target, const TRectI& dest, const TBitmap32& image, const TRectI& src,
                 bool magentaTransparent) {
  TRectI s, clip;
  if (!ClipCopy(target, dest, image, src, s, clip)) return;
  const int64_t dw = static_cast<int64_t>(dest.right) - dest.left;
  const int64_t dh = static_cast<int64_t>(dest.bottom) - dest.top;
  const int32_t sw = s.Width();
  const int32_t sh = s.Height();
  // Source columns once for the clipped width.
  std::vector<int32_t> columns(static_cast<size_t>(clip.Width()));
  for (int32_t x = clip.left; x < clip.right; ++x) {
    const int64_t offset = x - static_cast<int64_t>(dest.left);
    columns[static_cast<size_t>(x - clip.left)] = s.left + NearestIndex(offset, dw, sw);
  }
  for (int32_t y = clip.top; y < clip.bottom; ++y) {
    const int32_t sy = s.top + NearestIndex(y - static_cast<int64_t>(dest.top), dh, sh);
    for (int32_t x = clip.left; x < clip.right; ++x) {
      const TPixel p = image.At(columns[static_cast<size_t>(x - clip.left)], sy);
      if (magentaTransparent && p == kMagenta) continue;
      target.At(x, y) = p;
    }
  }
}

void TileCopy(TBitmap32& target, const TRectI& dest, const TBitmap32& image, const TRectI& src,
              bool magentaTransparent) {
  TRectI s, clip;
  if (!ClipCopy(target, dest, image, src, s, clip)) return;
  const int32_t sw = s.Width();
  const int32_t sh = s.Height();
  for (int32_t y = clip.top; y < clip.bottom; ++y) {
    const int32_t sy = s.top + static_cast<int32_t>((static_cast<int64_t>(y) - dest.top) % sh);
    int32_t sx = static_cast<int32_t>((static_cast<int64_t>(clip.left) - dest.left) % sw);
    for (int32_t x = clip.left; x < clip.right; ++x) {
      const TPixel p = image.At(s.left + sx, sy);
      if (!(magentaTransparent && p == kMagenta)) target.At(x, y) = p;
      if (++sx == sw) sx = 0;
    }
  }
}

void RenderNinePart(TBitmap32& target, const TRectI& dest, const TNinePart& part, int32_t frame) {
  if (part.Image == nullptr || part.Image->Empty() || dest.Empty() || target.Empty()) return;
  const TBitmap32& image = *part.Image;
  const TRectI cell = FrameCell(image, part.FrameCount, frame, part.Stacked);
  if (cell.Empty()) return;
  const int64_t dw = static_cast<int64_t>(dest.right) - dest.left;
  const int64_t dh = static_cast<int64_t>(dest.bottom) - dest.top;

  // Negative slices count as 0. Slices that leave no middle in the cell while the destination
  // needs one are dropped (the cell is stretched whole), as are slices the destination cannot hold.
  int32_t l = std::max(part.LeftWidth, 0);
  int32_t r = std::max(part.RightWidth, 0);
  int32_t t = std::max(part.TopHeight, 0);
  int32_t b = std::max(part.BottomHeight, 0);
  const int64_t lr = static_cast<int64_t>(l) + r;
  const int64_t tb = static_cast<int64_t>(t) + b;
  if (lr > cell.Width() || (lr == cell.Width() && dw > lr) || dw < lr) l = r = 0;
  if (tb > cell.Height() || (tb == cell.Height() && dh > tb) || dh < tb) t = b = 0;

  // Column and row boundaries in the cell and in the destination.
  const int32_t sx[4] = {cell.left, cell.left + l, cell.right - r, cell.right};
  const int32_t sy[4] = {cell.top, cell.top + t, cell.bottom - b, cell.bottom};
  const int32_t dx[4] = {dest.left, Clamp32(static_cast<int64_t>(dest.left) + l, dest.left, dest.right),
                         Clamp32(static_cast<int64_t>(dest.right) - r, dest.left, dest.right), dest.right};
  const int32_t dy[4] = {dest.top, Clamp32(static_cast<int64_t>(dest.top) + t, dest.top, dest.bottom),
                         Clamp32(static_cast<int64_t>(dest.bottom) - b, dest.top, dest.bottom), dest.bottom};

  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const TRectI d{dx[col], dy[row], dx[col + 1], dy[row + 1]};
      const TRectI s{sx[col], sy[row], sx[col + 1], sy[row + 1]};
      if (d.Empty() || s.Empty()) continue;
      if (row == 1 && col == 1 && part.TileMiddle) {
        TileCopy(target, d, image, s, part.MagentaTransparent);
      } else {
        // Corners have the same size on both sides, so stretching them is a plain copy.
        StretchCopy(target, d, image, s, part.MagentaTransparent);
      }
    }
  }
}

TRegionBuilder::TRegionBuilder(int32_t width, int32_t height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), rows_(static_cast<size_t>(height_)) {}

void TRegionBuilder::AddSpan(int32_t y, int32_t left, int32_t right) {
  auto& spans = rows_[static_cast<size_t>(y)];
  // Find the first span that ends at or after `left` (touching spans merge).
  auto it = std::lower_bound(spans.begin(), spans.end(), left,
                             [](const std::pair<int32_t, int32_t>& s, int32_t v) { return s.second < v; });
  auto last = it;
  while (last != spans.end() && last->first <= right) {
    left = std::min(left, last->first);
    right = std::max(right, last->second);
    ++last;
  }
  it = spans.erase(it, last);
  spans.insert(it, {left, right});
}

void TRegionBuilder::AddRect(const TRectI& rect) {
  const int32_t l = std::max(rect.left, 0);
  const int32_t r = std::min(rect.right, width_);
  const int32_t t = std::max(rect.top, 0);
  const int32_t b = std::min(rect.bottom, height_);
  if (l >= r || t >= b) return;
  for (int32_t y = t; y < b; ++y) AddSpan(y, l, r);
}

void TRegionBuilder::AddOpaque(const TBitmap32& image, const TRectI& area, TPointI at) {
  const TRectI a = ClipToImage(image, area);
  for (int32_t y = a.top; y < a.bottom; ++y) {
    const int64_t wy = static_cast<int64_t>(at.y) + (y - area.top);
    if (wy < 0 || wy >= height_) continue;
    int32_t x = a.left;
    while (x < a.right) {
      while (x < a.right && image.At(x, y) == kMagenta) ++x;
      const int32_t start = x;
      while (x < a.right && image.At(x, y) != kMagenta) ++x;
      if (x > start) {
        const int64_t wl = static_cast<int64_t>(at.x) + (start - area.left);
        const int64_t wr = static_cast<int64_t>(at.x) + (x - area.left);
        const int32_t l = Clamp32(wl, 0, width_);
        const int32_t r = Clamp32(wr, 0, width_);
        if (l < r) AddSpan(static_cast<int32_t>(wy), l, r);
      }
    }
  }
}

std::vector<TRectI> TRegionBuilder::Rects() const {
  std::vector<TRectI> out;
  int32_t y = 0;
  while (y < height_) {
    const auto& spans = rows_[static_cast<size_t>(y)];
    int32_t end = y + 1;
    while (end < height_ && rows_[static_cast<size_t>(end)] == spans) ++end;
    for (const auto& [l, r] : spans) out.push_back(TRectI{l, y, r, end});
    y = end;
  }
  return out;
}

int64_t RegionArea(const std::vector<TRectI>& rects) {
  int64_t area = 0;
  for (const TRectI& r : rects) {
    if (!r.Empty()) area += static_cast<int64_t>(r.Width()) * r.Height();
  }
  return area;
}

bool RegionContains(const std::vector<TRectI>& rects, int32_t x, int32_t y) {
  return std::any_of(rects.begin(), rects.end(), [&](const TRectI& r) { return r.Contains(x, y); });
}

}  // namespace zelvo
