#include "framework/StdCtrls.h"

#include <algorithm>

#include "framework/ButtonLayout_core.h"
#include "util/Exceptions.h"

namespace zelvo {

// ---------------------------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetTabStop(true); }

void TButton::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClass = "BUTTON";
  params.style |= (activeDefault_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetActiveDefault(bool active) {
  TButtonControl::SetActiveDefault(active);
  if (HWND h = HandleIfCreated()) SendMessageA(h, BM_SETSTYLE, active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  if (m.Msg == WM_GETDLGCODE) {
    // Enter on a focused button presses it; the form's dialog-key handling does that.
    DefaultHandler(m);
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------------
// TBitBtn

namespace {
struct KindDefaults {
  const char* caption;
  int32_t modalResult;
  bool isDefault;
  bool isCancel;
};
KindDefaults DefaultsFor(TBitBtnKind k) {
  switch (k) {
    case TBitBtnKind::bkOK: return {"OK", 1, true, false};
    case TBitBtnKind::bkCancel: return {"Cancel", 2, false, true};
    case TBitBtnKind::bkHelp: return {"&Help", 0, false, false};
    case TBitBtnKind::bkYes: return {"&Yes", 6, true, false};
    case TBitBtnKind::bkNo: return {"&No", 7, false, true};
    case TBitBtnKind::bkClose: return {"&Close", 0, false, false};
    case TBitBtnKind::bkAbort: return {"Abort", 3, false, true};
    case TBitBtnKind::bkRetry: return {"&Retry", 4, false, false};
    case TBitBtnKind::bkIgnore: return {"&Ignore", 5, false, false};
    case TBitBtnKind::bkAll: return {"&All", 8, true, false};
    default: return {"", 0, false, false};
  }
}
}  // namespace

const char* GlyphResourceName(TBitBtnKind kind) {
  switch (kind) {
    case TBitBtnKind::bkOK: return "BBOK";
    case TBitBtnKind::bkCancel: return "BBCANCEL";
    case TBitBtnKind::bkHelp: return "BBHELP";
    case TBitBtnKind::bkYes: return "BBYES";
    case TBitBtnKind::bkNo: return "BBNO";
    case TBitBtnKind::bkClose: return "BBCLOSE";
    case TBitBtnKind::bkAbort: return "BBABORT";
    case TBitBtnKind::bkRetry: return "BBRETRY";
    case TBitBtnKind::bkIgnore: return "BBIGNORE";
    case TBitBtnKind::bkAll: return "BBALL";
    default: return nullptr;
  }
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
  kind_ = kind;
  if (kind == TBitBtnKind::bkCustom) return;
  KindDefaults d = DefaultsFor(kind);
  SetCaption(d.caption);
  ModalResult = d.modalResult;
  Default = d.isDefault;
  Cancel = d.isCancel;
  LoadGlyph(GlyphResourceName(kind), 2);
}

void TBitBtn::SetGlyph(UniqueGdi<HBITMAP> glyph, int numGlyphs) {
  glyph_ = std::move(glyph);
  numGlyphs_ = std::max(1, numGlyphs);
  Invalidate();
}

void TBitBtn::LoadGlyph(const char* resourceName, int numGlyphs) {
  SetGlyph(LoadBitmapResource(resourceName), numGlyphs);
}

void TBitBtn::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.baseClass = "BUTTON";
  params.style |= BS_OWNERDRAW;
}

void TBitBtn::SetActiveDefault(bool active) {
  TButtonControl::SetActiveDefault(active);
  Invalidate();
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case BM_SETSTYLE:
      // Keep the button drawn by the program whatever style the system asks for.
      m.WParam = BS_OWNERDRAW;
      break;
    case WM_LBUTTONDBLCLK:
      // A double click is two presses, as on a system push button.
      m.Msg = WM_LBUTTONDOWN;
      break;
    case WM_GETDLGCODE:
      m.Result = activeDefault_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
      m.Result |= DLGC_BUTTON;
      return;
    case WM_ENABLE:
    case WM_SETTEXT:
      TButton::WndProc(m);
      Invalidate();
      return;
    default:
      break;
  }
  TButton::WndProc(m);
}

static_assert(static_cast<int>(TButtonLayout::blGlyphRight) == static_cast<int>(GlyphLayout::GlyphRight) &&
              static_cast<int>(TButtonLayout::blGlyphTop) == static_cast<int>(GlyphLayout::GlyphTop) &&
              static_cast<int>(TButtonLayout::blGlyphBottom) == static_cast<int>(GlyphLayout::GlyphBottom));

void TBitBtn::Draw(const DRAWITEMSTRUCT& dis) {
  HDC dc = dis.hDC;
  RECT r = dis.rcItem;
  bool pressed = (dis.itemState & ODS_SELECTED) != 0;
  bool focused = (dis.itemState & ODS_FOCUS) != 0;
  bool disabled = (dis.itemState & ODS_DISABLED) != 0;

  if (activeDefault_ || focused) {
    // The default button carries an outer black frame.
    UniqueGdi<HBRUSH> black(CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME)));
    FrameRect(dc, &r, black.Get());
    InflateRect(&r, -1, -1);
  }
  if (pressed) {
    UniqueGdi<HBRUSH> face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &r, face.Get());
    UniqueGdi<HBRUSH> shadow(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    FrameRect(dc, &r, shadow.Get());
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
  }

  // Glyph and caption go where the bitmap-button rule puts them (the skinned bitmap button uses
  // the same rule); a pressed button shifts them by one pixel.
  ScopedSelect font(dc, FontHandle());
  std::string caption = Caption();
  RECT textRect{0, 0, 0, 0};
  if (!caption.empty()) {
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, DT_CALCRECT | DT_SINGLELINE);
  }
  SIZE gs = BitmapSize(glyph_.Get());
  int glyphW = glyph_ ? gs.cx / numGlyphs_ : 0, glyphH = glyph_ ? gs.cy : 0;
  BitButtonLayoutInput in;
  in.Client = {r.left, r.top, r.right, r.bottom};
  in.Glyph = {glyphW, glyphH};
  in.Text = {textRect.right - textRect.left, textRect.bottom - textRect.top};
  in.Layout = static_cast<GlyphLayout>(Layout);
  in.Margin = Margin;
  in.Spacing = Spacing;
  if (pressed) in.Shift = {1, 1};
  BitButtonLayoutResult place = LayoutBitButton(in);

  if (glyph_) {
    ControlState st;
    st.Enabled = !disabled;
    st.Pressed = pressed;
    int cell = BitButtonGlyphCell(st, numGlyphs_);
    DrawTransparent(dc, place.GlyphPos.x, place.GlyphPos.y, glyph_.Get(), (cell - 1) * glyphW, 0, glyphW, glyphH,
                    BottomLeftPixel(glyph_.Get()));
  }
  RECT tr{place.TextRect.left, place.TextRect.top, place.TextRect.right, place.TextRect.bottom};
  SetBkMode(dc, TRANSPARENT);
  if (disabled) {
    OffsetRect(&tr, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    OffsetRect(&tr, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  }
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);

  if (focused) {
    RECT fr = r;
    InflateRect(&fr, -3, -3);
    DrawFocusRect(dc, &fr);
  }
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl

void TGraphicControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TGraphicControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_NCHITTEST:
      m.Result = HTTRANSPARENT;
      return;
    default:
      TWinControl::WndProc(m);
  }
}

// ---------------------------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {}

UINT TLabel::DrawFlags() const {
  UINT flags = Alignment | DT_EXPANDTABS;
  if (WordWrap) flags |= DT_WORDBREAK;
  else flags |= DT_SINGLELINE;
  if (!ShowAccelChar) flags |= DT_NOPREFIX;
  return flags;
}

SIZE TLabel::MeasureText(int maxWidth) {
  const std::string& text = Caption();
  return TTextMeasure(FontHandle()).DrawnSize(text.empty() ? std::string_view(" ") : text, DrawFlags(), maxWidth);
}

void TLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      ScopedPaint paint(HandleIfCreated());
      HDC dc = paint.Get();
      RECT r = paint.Client();
      if (!Transparent) {
        UniqueGdi<HBRUSH> bg(CreateSolidBrush(ColorToRGB(EffectiveColor())));
        FillRect(dc, &r, bg.Get());
      }
      ScopedSelect font(dc, FontHandle());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, Enabled() ? ColorToRGB(EffectiveFont().color) : GetSysColor(COLOR_GRAYTEXT));
      const std::string& text = Caption();
      DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags());
      return;
    }
    case WM_SETTEXT:
      DefaultHandler(m);
      Invalidate();
      return;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

TPropInfo TLabel::GetPropInfo(std::string_view name) const {
  if (name == "Transparent") return {true, true};
  return {};
}
bool TLabel::GetOrdProp(std::string_view name, int32_t& value) const {
  if (name == "Transparent") {
    value = Transparent ? 1 : 0;
    return true;
  }
  return false;
}
bool TLabel::SetOrdProp(std::string_view name, int32_t value) {
  if (name == "Transparent") {
    Transparent = value != 0;
    Invalidate();
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {}

void TImage::SetBitmap(UniqueGdi<HBITMAP> bmp) {
  bitmap_ = std::move(bmp);
  icon_ = nullptr;
  Invalidate();
}

void TImage::LoadBitmap(const char* resourceName) { SetBitmap(LoadBitmapResource(resourceName)); }

void TImage::SetIcon(HICON icon) {
  bitmap_.Reset();
  icon_ = icon;
  Invalidate();
}

TPictureKind TImage::PictureKind() const {
  if (bitmap_) return TPictureKind::Bitmap;
  if (icon_) return TPictureKind::Icon;
  return TPictureKind::None;
}

void TImage::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      ScopedPaint paint(HandleIfCreated());
      HDC dc = paint.Get();
      const RECT& r = paint.Client();
      if (!Transparent || PictureKind() == TPictureKind::None) {
        UniqueGdi<HBRUSH> bg(CreateSolidBrush(ColorToRGB(EffectiveColor())));
        FillRect(dc, &r, bg.Get());
      }
      if (bitmap_) {
        SIZE s = BitmapSize(bitmap_.Get());
        UniqueDC mem = CompatibleDC(dc);
        ScopedSelect sel(mem.Get(), bitmap_.Get());
        if (Stretch) {
          SetStretchBltMode(dc, HALFTONE);
          StretchBlt(dc, 0, 0, r.right, r.bottom, mem.Get(), 0, 0, s.cx, s.cy, SRCCOPY);
        } else {
          int x = Center ? (r.right - s.cx) / 2 : 0, y = Center ? (r.bottom - s.cy) / 2 : 0;
          BitBlt(dc, x, y, s.cx, s.cy, mem.Get(), 0, 0, SRCCOPY);
        }
      } else if (icon_) {
        int x = Center ? (r.right - 32) / 2 : 0, y = Center ? (r.bottom - 32) / 2 : 0;
        DrawIconEx(dc, x, y, icon_, 32, 32, 0, nullptr, DI_NORMAL);
      }
      return;
    }
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

TPropInfo TImage::GetPropInfo(std::string_view name) const {
  if (name == "Transparent" || name == "Stretch" || name == "Center") return {true, true};
  return {};
}
bool TImage::GetOrdProp(std::string_view name, int32_t& value) const {
  if (name == "Transparent") value = Transparent;
  else if (name == "Stretch") value = Stretch;
  else if (name == "Center") value = Center;
  else return false;
  return true;
}
bool TImage::SetOrdProp(std::string_view name, int32_t value) {
  if (name == "Transparent") Transparent = value != 0;
  else if (name == "Stretch") Stretch = value != 0;
  else if (name == "Center") Center = value != 0;
  else return false;
  Invalidate();
  return true;
}

}  // namespace zelvo
