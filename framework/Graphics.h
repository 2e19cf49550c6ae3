// Colours, fonts, painting guards and bitmap helpers.
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "framework/Types.h"

#include <cstdint>
#include <string>
#include <utility>

namespace zelvo {

// The drawing colour of a TColor: system colours resolved now; clNone draws black.
COLORREF ColorToRGB(TColor c);

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFontSpec {
  std::string name = "MS Sans Serif";
  int height = -11;  // pixels; negative = character height (8 point at 96 DPI)
  uint8_t style = 0;
  TColor color = clWindowText;
  bool operator==(const TFontSpec&) const = default;
};
HFONT CreateFontFromSpec(const TFontSpec& font);
// The system's message-box font.
TFontSpec MessageFontSpec();

// Older name of UniqueGdi (deprecated): new code names UniqueGdi.
template <class H>
using GdiObject = UniqueGdi<H>;

// One WM_PAINT's drawing (BeginPaint/EndPaint), with the window's client rectangle as it is
// when painting begins.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND w) : w_(w), dc_(BeginPaint(w, &ps_)) { GetClientRect(w, &client_); }
  ~ScopedPaint() { EndPaint(w_, &ps_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC Get() const { return dc_; }
  const RECT& Client() const { return client_; }
  // The part of the window that needs painting.
  const RECT& Dirty() const { return ps_.rcPaint; }

 private:
  HWND w_;
  PAINTSTRUCT ps_{};
  HDC dc_;
  RECT client_{};
};

// Loads a bitmap resource of this program by name; throws when it is missing.
UniqueGdi<HBITMAP> LoadBitmapResource(const char* name);
SIZE BitmapSize(HBITMAP bmp);
// An icon resource of this program at the system's large-icon size, loaded shared: the system
// keeps it for the life of the process, so it is never destroyed. Null when missing.
HICON LoadSharedIcon(const char* name);
// An icon resource at the system's small-icon size, owned by the caller. Not shared: a shared
// load hands back whichever size of that resource the system cached first.
UniqueIcon LoadSmallIcon(const char* name);
// Draws a bitmap region treating the given colour as transparent.
void DrawTransparent(HDC dc, int x, int y, HBITMAP bmp, int srcX, int srcY, int w, int h,
                     COLORREF transparent);
// Colour of a bitmap's bottom-left pixel (the glyph convention for "transparent").
COLORREF BottomLeftPixel(HBITMAP bmp);

}  // namespace zelvo
