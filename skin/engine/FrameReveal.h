// TFrameReveal: keeps a skinned top-level window off the screen from the moment it is shown until
// its first paint (frame, client and every child) is complete, then puts it on the screen whole.
//
// Where the display receives each window's paint as soon as that paint ends (under Wine every
// finished paint goes to the X server at once), a window with children would otherwise appear
// piece by piece: its frame over a black client, then one child after the other. Such a window
// is made layered as it is shown: a layered window the system has no attributes for is not
// displayed, yet it paints as any other. Once painted it gets full opacity, which displays it.
// It stays layered while it is shown (taking the bit off again costs as much as the rest of the
// reveal) and becomes an ordinary window again when it is hidden or given back. Where the system
// composes a window's picture itself (Windows) nothing is held back: the window paints as any
// other.
//
// Only a window that is not layered already is held back; the bit this object sets is the only
// one it clears.
#pragma once

#include <windows.h>

#include "framework/Handles.h"

namespace zelvo {

// Number of the timer that shows a held-back window whose paint never came (WM_TIMER with this id
// belongs to the reveal), and how long it waits.
inline constexpr UINT_PTR kFrameRevealTimerId = 0x5F3E;
inline constexpr UINT kFrameRevealLimitMs = 1000;

class TFrameReveal {
 public:
  explicit TFrameReveal(HWND window) : window_(window) {}
  TFrameReveal(const TFrameReveal&) = delete;
  TFrameReveal& operator=(const TFrameReveal&) = delete;

  // Whether shown windows are held back on this system (decided once per process).
  static bool Needed();

  // The window, hidden until now, is about to be shown: it stays off the screen.
  void HoldBack();
  // The window has been shown while held back: all of it, children included, is marked for
  // painting (a show that displays nothing marks nothing). Should its paint never come, the
  // reveal timer shows it after a while as it is.
  void Shown();
  // The window's own paint has ended: its children are painted now, not later from the message
  // loop, and the window is put on the screen.
  void Painted();
  // Makes the window an ordinary one again (it is being hidden or given back); a window still
  // held back is put on the screen as it is.
  void Release();
  // The window is being destroyed: nothing is left to give back.
  void Forget() {
    holding_ = layered_ = false;
    limit_.Reset();
  }
  // Shown and kept off the screen until painted.
  bool Holding() const { return holding_; }
  // The window carries the layered bit this object set.
  bool Layered() const { return layered_; }

 private:
  void Reveal(bool painted);

  HWND window_;
  bool holding_ = false;
  bool layered_ = false;
  UniqueTimer limit_;
};

}  // namespace zelvo
