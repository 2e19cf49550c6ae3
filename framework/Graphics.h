// Colours, fonts and move-only owners of GDI handles.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

namespace zelvo {

// A colour: red in the low byte, then green, then blue; a system colour is FF000000 plus the
// platform's system-colour index.
using TColor = uint32_t;
constexpr TColor kSystemColor = 0xFF000000u;
constexpr TColor clBtnFace = kSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = kSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = kSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBtnText = kSystemColor | COLOR_BTNTEXT;
constexpr TColor clGrayText = kSystemColor | COLOR_GRAYTEXT;
constexpr TColor clHighlight = kSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = kSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clNone = 0x1FFFFFFFu;
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

// Move-only owner of a GDI object (pen, brush, font, bitmap, region).
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  H Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }
  H Release() { return std::exchange(h_, nullptr); }

 private:
  H h_ = nullptr;
};

// Selects an object into a DC for the lifetime of the guard.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  ~ScopedSelect() {
    if (old_) SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's DC (GetDC/ReleaseDC).
class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND w) : w_(w), dc_(GetDC(w)) {}
  ~ScopedGetDC() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

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

// A memory DC (CreateCompatibleDC/DeleteDC).
class MemoryDC {
 public:
  explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Loads a bitmap resource of this program by name; throws when it is missing.
GdiObject<HBITMAP> LoadBitmapResource(const char* name);
SIZE BitmapSize(HBITMAP bmp);
// Draws a bitmap region treating the given colour as transparent.
void DrawTransparent(HDC dc, int x, int y, HBITMAP bmp, int srcX, int srcY, int w, int h,
                     COLORREF transparent);
// Colour of a bitmap's bottom-left pixel (the glyph convention for "transparent").
COLORREF BottomLeftPixel(HBITMAP bmp);

}  // namespace zelvo
