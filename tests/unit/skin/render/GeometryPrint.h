// Readable rectangles and points in failure messages.
#pragma once

#include <ostream>

#include "util/Geometry.h"

namespace zelvo {
inline void PrintTo(const TRectI& r, std::ostream* os) {
  *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
inline void PrintTo(const TPointI& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }
}  // namespace zelvo
