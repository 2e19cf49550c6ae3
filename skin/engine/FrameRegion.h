// TFrameRegion: the window region that gives a skinned frame its shape (its corners cut where
// the skin's frame pictures are magenta).
//
// The region follows the window's size: set after a size change, or shaped ahead for a size the
// window is about to take (then without a redraw: the size change that follows repaints and
// uncovers what the new shape needs). The frame decides when a region applies; this object builds
// it from the rectangles the frame asks for and keeps track of what is set. A region handed to the
// window belongs to the system from then on: it frees it when it is replaced, taken off, or the
// window goes.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "util/Geometry.h"

namespace zelvo {

class TFrameRegion {
 public:
  // The region's rectangles for a window of this size (window coordinates).
  using TShape = std::function<std::vector<TRectI>(SIZE size)>;

  TFrameRegion(HWND window, TShape shape) : window_(window), shape_(std::move(shape)) {}
  TFrameRegion(const TFrameRegion&) = delete;
  TFrameRegion& operator=(const TFrameRegion&) = delete;

  // Sets the region for the window's present size, with a redraw, when the region set is for
  // another size; with `force` whatever the size. Nothing while a shape ahead is being set: the
  // window still has its old size then, and the shape set is already the right one.
  void Build(bool force);
  // Sets the region for `size` without a redraw, unless it is set for that size already.
  void ShapeAhead(SIZE size);
  // Takes the region off the window (with a redraw).
  void Remove();
  // The window is being destroyed: the system frees its region with it.
  void Forget() { set_ = false; }
  // The next Build sets the region whatever the size (the frame's thickness changed).
  void Invalidate() { size_ = SIZE{-1, -1}; }

 private:
  void Set(SIZE size, bool redraw);

  HWND window_;
  TShape shape_;
  bool set_ = false;
  SIZE size_{-1, -1};
  bool shapingAhead_ = false;
};

}  // namespace zelvo
