#include "skin/engine/FrameRegion.h"

#include <cstring>

#include "framework/Graphics.h"
#include "framework/Handles.h"

namespace zelvo {

void TFrameRegion::Build(bool force) {
  if (shapingAhead_) return;
  RECT wr{};
  GetWindowRect(window_, &wr);
  const SIZE size{wr.right - wr.left, wr.bottom - wr.top};
  const bool changed = size.cx != size_.cx || size.cy != size_.cy;
  if (force || changed) Set(size, true);
}

void TFrameRegion::ShapeAhead(SIZE size) {
  if (shapingAhead_ || (size.cx == size_.cx && size.cy == size_.cy)) return;
  shapingAhead_ = true;
  const ScopeExit done([this] { shapingAhead_ = false; });
  Set(size, false);
}

void TFrameRegion::Set(SIZE size, bool redraw) {
  if (size.cx <= 0 || size.cy <= 0) return;
  const std::vector<TRectI> rects = shape_(size);
  std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(rects.size());
  header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  header.rcBound = RECT{0, 0, size.cx, size.cy};
  std::memcpy(buffer.data(), &header, sizeof(header));
  for (size_t i = 0; i < rects.size(); ++i) {
    const RECT r = ToRect(rects[i]);
    std::memcpy(buffer.data() + sizeof(header) + i * sizeof(RECT), &r, sizeof(RECT));
  }
  UniqueGdi<HRGN> region(rects.empty() ? CreateRectRgn(0, 0, 0, 0)
                                       : ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()),
                                                         reinterpret_cast<const RGNDATA*>(buffer.data())));
  if (!region) return;
  if (!SetWindowRgn(window_, region.Get(), redraw ? TRUE : FALSE)) return;
  // The system owns the region now.
  static_cast<void>(region.Release());
  set_ = true;
  size_ = size;
}

void TFrameRegion::Remove() {
  if (!set_) return;
  SetWindowRgn(window_, nullptr, TRUE);  // the system frees the old region
  set_ = false;
  size_ = SIZE{-1, -1};
}

}  // namespace zelvo
