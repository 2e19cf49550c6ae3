#include "framework/Graphics.h"

#include <cstring>

#include "util/Exceptions.h"

namespace zelvo {

static_assert(syscolour::Scrollbar == COLOR_SCROLLBAR && syscolour::Menu == COLOR_MENU &&
              syscolour::Window == COLOR_WINDOW && syscolour::MenuText == COLOR_MENUTEXT &&
              syscolour::WindowText == COLOR_WINDOWTEXT && syscolour::CaptionText == COLOR_CAPTIONTEXT &&
              syscolour::Highlight == COLOR_HIGHLIGHT && syscolour::HighlightText == COLOR_HIGHLIGHTTEXT &&
              syscolour::BtnFace == COLOR_BTNFACE && syscolour::BtnShadow == COLOR_BTNSHADOW &&
              syscolour::GrayText == COLOR_GRAYTEXT && syscolour::BtnText == COLOR_BTNTEXT &&
              syscolour::InactiveCaptionText == COLOR_INACTIVECAPTIONTEXT &&
              syscolour::BtnHighlight == COLOR_BTNHIGHLIGHT && syscolour::DkShadow3D == COLOR_3DDKSHADOW);

COLORREF ColorToRGB(TColor c) {
  if (c == clNone) return RGB(0, 0, 0);
  if (IsSystemColour(c)) return GetSysColor(SystemColourIndex(c));
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

bool ReadNonClientMetrics(NONCLIENTMETRICSA& metrics) {
  constexpr UINT kSize = 340;
  static_assert(sizeof(NONCLIENTMETRICSA) >= kSize);
  std::memset(&metrics, 0, sizeof metrics);
  metrics.cbSize = kSize;
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kSize, &metrics, 0)) return true;
  std::memset(&metrics, 0, sizeof metrics);
  return false;
}

UniqueGdi<HFONT> CreateMenuFont() {
  NONCLIENTMETRICSA ncm;
  return UniqueGdi<HFONT>(ReadNonClientMetrics(ncm) ? CreateFontIndirectA(&ncm.lfMenuFont) : nullptr);
}

UniqueGdi<HFONT> CreateCaptionFont() {
  NONCLIENTMETRICSA ncm;
  return UniqueGdi<HFONT>(ReadNonClientMetrics(ncm) ? CreateFontIndirectA(&ncm.lfCaptionFont) : nullptr);
}

HFONT FontOrDefault(HFONT font) { return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

TTextMeasure::TTextMeasure(HFONT font) : screen_(nullptr), font_(screen_.Get(), font) {}

SIZE TTextMeasure::Extent(std::string_view text) const {
  SIZE size{0, 0};
  if (!GetTextExtentPoint32A(screen_.Get(), text.data(), static_cast<int>(text.size()), &size)) size = SIZE{0, 0};
  return size;
}

SIZE TTextMeasure::DrawnSize(std::string_view text, UINT format, int maxWidth) const {
  RECT r{0, 0, maxWidth, 0};
  DrawTextA(screen_.Get(), text.data(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

TEXTMETRICA TTextMeasure::Metrics() const {
  TEXTMETRICA tm{};
  GetTextMetricsA(screen_.Get(), &tm);
  return tm;
}

BITMAPINFO Dib32Info(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TDib32 CreateDib32(int width, int height) {
  const BITMAPINFO info = Dib32Info(width, height);
  void* bits = nullptr;
  TDib32 dib;
  dib.bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.bitmap || !bits) return {};
  dib.bits = static_cast<uint32_t*>(bits);
  return dib;
}

TFontSpec MessageFontSpec() {
  NONCLIENTMETRICSA ncm;
  TFontSpec font;
  if (ReadNonClientMetrics(ncm)) {
    font.name = ncm.lfMessageFont.lfFaceName;
    font.height = ncm.lfMessageFont.lfHeight;
    if (ncm.lfMessageFont.lfWeight >= FW_BOLD) font.style |= fsBold;
    if (ncm.lfMessageFont.lfItalic) font.style |= fsItalic;
  }
  return font;
}

UniqueGdi<HBITMAP> LoadBitmapResource(const char* name) {
  auto bmp = static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bmp) throw Exception(std::string("Bitmap resource ") + name + " not found");
  return UniqueGdi<HBITMAP>(bmp);
}

HICON LoadSharedIcon(const char* name) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                       GetSystemMetrics(SM_CYICON), LR_SHARED));
}

UniqueIcon LoadSmallIcon(const char* name) {
  return UniqueIcon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
}

SIZE BitmapSize(HBITMAP bmp) {
  BITMAP bm{};
  if (!bmp || !GetObjectA(bmp, sizeof bm, &bm)) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight};
}

COLORREF BottomLeftPixel(HBITMAP bmp) {
  SIZE s = BitmapSize(bmp);
  if (s.cx <= 0 || s.cy <= 0) return RGB(0, 0, 0);
  WindowDC screen(nullptr);
  UniqueDC mem = CompatibleDC(screen.Get());
  ScopedSelect sel(mem.Get(), bmp);
  return GetPixel(mem.Get(), 0, s.cy - 1);
}

void DrawTransparent(HDC dc, int x, int y, HBITMAP bmp, int srcX, int srcY, int w, int h,
                     COLORREF transparent) {
  UniqueDC mem = CompatibleDC(dc);
  ScopedSelect sel(mem.Get(), bmp);
  TransparentBlt(dc, x, y, w, h, mem.Get(), srcX, srcY, w, h, transparent);
}

}  // namespace zelvo
