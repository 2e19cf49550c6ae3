// A skin drawn at a window's DPI. Skin art is drawn at 96 dpi (and may carry 200 % art beside it);
// a window at 120, 144 or 192 dpi gets a copy of the skin whose bitmaps are re-drawn at that DPI
// and whose lengths (slicing, caption-button positions, text offsets, menu-bar ends) are scaled,
// so that the frame, control and menu code draws it exactly as it draws a 96-dpi skin.
//
// Bitmaps are never blended: every pixel of a scaled bitmap is a pixel of the art it is drawn
// from, so magenta stays magenta (the window region still follows it) and edges stay sharp. Each
// frame cell is scaled piece by piece along its nine-part slicing: a fixed edge L pixels wide
// becomes ScaleLength(L) pixels, exactly the scaled slicing value, and the middle takes what is
// left of the scaled cell, so corners keep their pixels and the parts still meet.
//
// Which art a DPI is drawn from (the rule skin authors rely on):
//   - 96 dpi: the 96-dpi art as it is;
//   - whole scales (192, 288, 384 ...): each art pixel becomes a square block; the 200 % art is
//     used when the scale is even (as it is at 192 dpi), the 96-dpi art when it is odd;
//   - any other scale: the 200 % art when the bitmap has one (reduced below 192 dpi by dropping
//     rows and columns, enlarged above), else the 96-dpi art, each art pixel becoming a block of
//     the scale's whole part or one more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "skin/file/SkinObjects.h"

namespace zelvo {

// The highest DPI a skin is drawn for (1000 %). DPIs are held to [96, kMaxSkinDpi].
inline constexpr int32_t kMaxSkinDpi = 960;
int32_t SkinDpi(int32_t dpi);

// Pixel memory one scaled skin may take. A skin that would need more at a DPI (only a skin of
// huge bitmaps at a large DPI does) is drawn at 96 dpi there, with a warning saying so.
inline constexpr size_t kScaledSkinBudget = 64u * 1024u * 1024u;

// How a bitmap is cut: Frames equal cells side by side (or stacked), each with fixed edges.
struct TArtGrid {
  int32_t Frames = 1;
  bool Stacked = false;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

enum class TArtSource : uint8_t { Art96, Art2x };
// The art a bitmap is drawn from at `dpi` (see the rule above).
TArtSource ArtSourceFor(int32_t dpi, bool has2x);

// The size `art` cut by `grid` has at `dpi`: each frame cell scaled (columns or rows beyond the
// last whole cell dropped).
TSizeI ScaledArtSize(const TBitmap32& art, const TArtGrid& grid, int32_t dpi);
// `art` (96-dpi) drawn at `dpi` from the art the rule picks; `art2x`, when given, is exactly
// twice its size.
TBitmap32 ScaleArt(const TBitmap32& art, const TBitmap32* art2x, const TArtGrid& grid, int32_t dpi);

// The skin at `dpi` (held to [96, kMaxSkinDpi]): every bitmap re-drawn by its piece's grid, every
// length scaled, Dpi set. At 96 dpi, for a skin that is already scaled, or when the scaled
// bitmaps would pass kScaledSkinBudget or memory runs out, a copy of the skin as it is (sharing
// its pixels; with a warning in the last two cases). Never raises for what a skin holds.
TSkinObjects ScaleSkin(const TSkinObjects& skin, int32_t dpi);

// The skins a process draws, one per DPI its windows are on: At(96) is the loaded skin itself,
// other DPIs are scaled on first use and kept. A returned skin stays valid until Reset or until
// more than kMaxDpis other DPIs have been asked for since; use it at once rather than keeping it.
class TScaledSkins {
 public:
  static constexpr size_t kMaxDpis = 4;

  explicit TScaledSkins(const TSkinObjects& skin) : skin_(skin) {}
  TScaledSkins(const TScaledSkins&) = delete;
  TScaledSkins& operator=(const TScaledSkins&) = delete;

  const TSkinObjects& At(int32_t dpi);
  // Drops every scaled skin (call it when the loaded skin changes).
  void Reset() { scaled_.clear(); }

 private:
  const TSkinObjects& skin_;
  std::vector<std::pair<int32_t, std::unique_ptr<TSkinObjects>>> scaled_;  // oldest first
};

}  // namespace zelvo
