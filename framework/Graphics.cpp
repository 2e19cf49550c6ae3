#include "framework/Graphics.h"

#include "util/Exceptions.h"

namespace zelvo {

COLORREF ColorToRGB(TColor c) {
  if (c & kSystemColor) return GetSysColor(static_cast<int>(c & 0xFF));
  return static_cast<COLORREF>(c & 0x00FFFFFF);
}

HFONT CreateFontFromSpec(const TFontSpec& font) {
  LOGFONTA lf{};
  lf.lfHeight = font.height;
  lf.lfWeight = (font.style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.style & fsItalic) ? 1 : 0;
  lf.lfUnderline = (font.style & fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = (font.style & fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

TFontSpec MessageFontSpec() {
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  TFontSpec font;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    font.name = ncm.lfMessageFont.lfFaceName;
    font.height = ncm.lfMessageFont.lfHeight;
    if (ncm.lfMessageFont.lfWeight >= FW_BOLD) font.style |= fsBold;
    if (ncm.lfMessageFont.lfItalic) font.style |= fsItalic;
  }
  return font;
}

GdiObject<HBITMAP> LoadBitmapResource(const char* name) {
  auto bmp = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bmp) throw Exception(std::string("Bitmap resource ") + name + " not found");
  return GdiObject<HBITMAP>(bmp);
}

SIZE BitmapSize(HBITMAP bmp) {
  BITMAP bm{};
  if (!bmp || !GetObjectA(bmp, sizeof bm, &bm)) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight};
}

COLORREF BottomLeftPixel(HBITMAP bmp) {
  SIZE s = BitmapSize(bmp);
  if (s.cx <= 0 || s.cy <= 0) return RGB(0, 0, 0);
  ScopedGetDC screen(nullptr);
  MemoryDC mem(screen.Get());
  ScopedSelect sel(mem.Get(), bmp);
  return GetPixel(mem.Get(), 0, s.cy - 1);
}

void DrawTransparent(HDC dc, int x, int y, HBITMAP bmp, int srcX, int srcY, int w, int h,
                     COLORREF transparent) {
  MemoryDC mem(dc);
  ScopedSelect sel(mem.Get(), bmp);
  TransparentBlt(dc, x, y, w, h, mem.Get(), srcX, srcY, w, h, transparent);
}

}  // namespace zelvo
