#include "skin/engine/FrameReveal.h"

#include <vector>

#include "skin/engine/WindowFacts.h"

namespace zelvo {

namespace {

// The window and its descendants that wait for no paint of their client area.
std::vector<HWND> PaintedWindows(HWND top) {
  std::vector<HWND> painted;
  const auto keep = [&painted](HWND w) {
    if (!GetUpdateRect(w, nullptr, FALSE)) painted.push_back(w);
  };
  keep(top);
  for (HWND w : Descendants(top)) keep(w);
  return painted;
}

}  // namespace

bool TFrameReveal::Needed() {
  // Wine's display driver sends every finished paint to the display at once; Wine's system
  // library names its version.
  static const bool needed = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return needed;
}

void TFrameReveal::HoldBack() {
  if (holding_ || layered_ || !Needed()) return;
  if ((GetWindowLongA(window_, GWL_STYLE) & WS_CHILD) != 0) return;
  const LONG exStyle = GetWindowLongA(window_, GWL_EXSTYLE);
  if ((exStyle & WS_EX_LAYERED) != 0) return;
  holding_ = layered_ = true;
  SetWindowLongA(window_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
}

void TFrameReveal::Shown() {
  if (!holding_) return;
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  limit_ = UniqueTimer::Set(window_, kFrameRevealTimerId, kFrameRevealLimitMs);
}

void TFrameReveal::Painted() {
  if (!holding_) return;
  RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Reveal(true);
}

void TFrameReveal::Release() {
  if (holding_) Reveal(false);
  if (!layered_) return;
  layered_ = false;
  SetWindowLongA(window_, GWL_EXSTYLE, GetWindowLongA(window_, GWL_EXSTYLE) & ~WS_EX_LAYERED);
}

void TFrameReveal::Reveal(bool painted) {
  holding_ = false;
  limit_.Reset();
  std::vector<HWND> clean;
  if (painted) {
    clean = PaintedWindows(window_);
    // Reading a pixel of the screen returns once the display has done the drawing sent to it so
    // far: the window's picture is there before the window is displayed. (Without it the display
    // may receive the last child's paint after the window, and show that child alone first.)
    const WindowDC screen(nullptr);
    if (screen) GetPixel(screen.Get(), 0, 0);
  }
  SetLayeredWindowAttributes(window_, 0, 255, LWA_ALPHA);
  // Displaying it marks the window for painting again; what that marks is on the screen already.
  for (HWND w : clean) {
    RedrawWindow(w, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOERASE | RDW_NOINTERNALPAINT | RDW_NOCHILDREN);
  }
}

}  // namespace zelvo
