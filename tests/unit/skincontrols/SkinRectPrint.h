// Readable rectangles and points in failure messages.
#pragma once

#include <ostream>

#include "skin/ControlSkins_core.h"

namespace zelvo {
inline void PrintTo(const SkinRect& r, std::ostream* os) {
  *os << "(" << r.Left << "," << r.Top << ")-(" << r.Right << "," << r.Bottom << ")";
}
inline void PrintTo(const SkinPoint& p, std::ostream* os) { *os << "(" << p.X << "," << p.Y << ")"; }
}  // namespace zelvo
