// What the control-skin families share when they draw: composing a picture off-screen and
// copying it in one blit, filling and framing in a colour, and hover tracking. For the sources
// of the control-skin families (the base class does not need them).
#pragma once

#include <windows.h>

#include "framework/Graphics.h"
#include "skin/engine/ControlSkins.h"

namespace zelvo {

// No text over a composed picture.
struct TNoText {
  void operator()(HDC) const {}
};

// Puts `bmp` on an off-screen surface, lets `text` draw onto that surface with GDI (the DC it
// receives), then copies the whole picture to (x, y) of `dc`. Nothing is drawn when the surface
// cannot be made.
template <class F = TNoText>
void BlitComposed(HDC dc, const TBitmap32& bmp, int x, int y, F&& text = F{}) {
  TOffscreen off;
  if (!off.Ensure(bmp.Width, bmp.Height)) return;
  off.Put(bmp, 0, 0);
  text(off.DC());
  off.CopyTo(dc, x, y, 0, 0, bmp.Width, bmp.Height);
}

// Fills `r`, or draws its one-pixel outline, in a colour.
void FillColour(HDC dc, const RECT& r, TColor c);
void FrameColour(HDC dc, const RECT& r, TColor c);

// After a WM_PRINT that asked for the non-client area, the skins that draw over the frame
// (edit borders, window scroll bars) draw into the printing DC too.
void PrintNonClient(TSkinControl& skin, const TMessage& m);

// Asks for one WM_MOUSELEAVE when the mouse leaves the window.
void TrackMouseLeave(HWND h);

// The client point a mouse message carries (coordinates may be negative).
inline POINT MousePoint(LPARAM lp) {
  return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

}  // namespace zelvo
