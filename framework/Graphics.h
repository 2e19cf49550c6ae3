// Colours, fonts, painting guards and bitmap helpers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "framework/Handles.h"
#include "framework/Types.h"
#include "util/Geometry.h"

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

// The system's non-client metrics (caption, menu and message fonts). The record is read in the
// size every version of the system accepts: 340 bytes, the layout from before the padded-border
// field was added (a larger size is refused by the older systems the program runs on). False
// when the system refuses; `metrics` is then all zeros.
bool ReadNonClientMetrics(NONCLIENTMETRICSA& metrics);
// Fonts made from those metrics; empty when the system refuses.
UniqueGdi<HFONT> CreateMenuFont();
UniqueGdi<HFONT> CreateCaptionFont();
// A font to draw with: `font`, or the stock GUI font when it is null.
HFONT FontOrDefault(HFONT font);

// A screen DC with a font selected, for measuring text before anything is drawn (a null font
// measures in the DC's default font).
class TTextMeasure {
 public:
  explicit TTextMeasure(HFONT font);
  // The text's extent as the text-output calls place it (GetTextExtentPoint32).
  SIZE Extent(std::string_view text) const;
  // The rectangle DrawText would fill: DT_CALCRECT with `format` (single line by default),
  // breaking lines at `maxWidth` when the format has DT_WORDBREAK.
  SIZE DrawnSize(std::string_view text, UINT format = DT_SINGLELINE, int maxWidth = 0) const;
  TEXTMETRICA Metrics() const;
  HDC DC() const { return screen_.Get(); }

 private:
  WindowDC screen_;
  ScopedSelect font_;
};

// A 32-bit top-down DIB section: the bitmap and its pixels, row 0 at the top, each pixel
// 0x00RRGGBB. Empty (no bitmap, no pixels) when the system refuses it.
struct TDib32 {
  UniqueGdi<HBITMAP> bitmap;
  uint32_t* bits = nullptr;
};
TDib32 CreateDib32(int width, int height);
// The description of such a bitmap's pixels (for drawing pixels kept in memory).
BITMAPINFO Dib32Info(int width, int height);

// The platform's rectangle for a portable one and back.
constexpr RECT ToRect(const TRectI& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
constexpr TRectI ToRectI(const RECT& r) { return TRectI{r.left, r.top, r.right, r.bottom}; }

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
