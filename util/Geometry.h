// Plain pixel geometry for every portable layout: rectangles, points and sizes with no platform
// types, so the same arithmetic runs in the native tests, the tools and the Windows program.
#pragma once

#include <cstdint>
#include <limits>

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

// ---- Scaling a 96-dpi design to a window's DPI -------------------------------------------
//
// Layouts and skin art are designed at 96 pixels per inch; a window shown at another DPI (120 at
// 125 %, 144 at 150 %, 192 at 200 %) gets every length L of the design as L x dpi / 96, rounded
// half away from zero. Parts that must fill what is left (a nine-part middle, a client area) take
// the remainder instead, so that neighbouring parts still meet exactly.

inline constexpr int kDesignDpi = 96;

// L x dpi / 96 rounded half away from zero, computed in 64 bits and held to the int range, so
// no length a skin or a layout can give overflows at any DPI.
constexpr int ScaleLength(int length, int dpi) {
  const int64_t product = static_cast<int64_t>(length) * dpi;
  const int64_t magnitude = ((product < 0 ? -product : product) + kDesignDpi / 2) / kDesignDpi;
  const int64_t scaled = product < 0 ? -magnitude : magnitude;
  constexpr int64_t lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  return static_cast<int>(scaled < lo ? lo : scaled > hi ? hi : scaled);
}

constexpr TSizeI ScaleSize(TSizeI size, int dpi) { return {ScaleLength(size.cx, dpi), ScaleLength(size.cy, dpi)}; }
constexpr TPointI ScalePoint(TPointI point, int dpi) { return {ScaleLength(point.x, dpi), ScaleLength(point.y, dpi)}; }
// Each edge is scaled as a coordinate, so rectangles that share an edge at 96 dpi still share it.
constexpr TRectI ScaleRect(const TRectI& rect, int dpi) {
  return {ScaleLength(rect.left, dpi), ScaleLength(rect.top, dpi), ScaleLength(rect.right, dpi),
          ScaleLength(rect.bottom, dpi)};
}

}  // namespace zelvo
