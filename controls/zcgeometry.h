// Plain pixel geometry for the date controls' layout arithmetic (no platform types).
#pragma once

namespace zelvo {

struct TZcPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TZcPoint&) const = default;
};

// Left and top inclusive, right and bottom exclusive, as the platform's RECT.
struct TZcRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const TZcRect&) const = default;
};

}  // namespace zelvo
