// Plain pixel geometry for every portable layout: rectangles, points and sizes with no platform
// types, so the same arithmetic runs in the native tests, the tools and the Windows program.
#pragma once

#include <cstdint>

namespace zelvo {

// Half-open: [left, right) x [top, bottom), as the platform's RECT.
struct TRectI {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr int32_t Width() const { return right - left; }
  constexpr int32_t Height() const { return bottom - top; }
  constexpr bool Empty() const { return right <= left || bottom <= top; }
  constexpr bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
  constexpr TRectI Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  constexpr bool operator==(const TRectI&) const = default;
};

struct TPointI {
  int32_t x = 0;
  int32_t y = 0;
  constexpr bool operator==(const TPointI&) const = default;
};

struct TSizeI {
  int32_t cx = 0;
  int32_t cy = 0;
  constexpr bool operator==(const TSizeI&) const = default;
};

}  // namespace zelvo
