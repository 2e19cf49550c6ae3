// Push, bitmap and speed buttons: the skin draws them whole from the Buttons image and takes
// the mouse over (the keyboard stays native).
#include <algorithm>
#include <string>

#include "framework/StdCtrls.h"
#include "skin/engine/ControlSkins.h"
#include "skin/engine/ControlSkinsDraw.h"
#include "skin/engine/SkinTrace.h"
#include "skin/render/NinePart.h"

namespace zelvo {

namespace {

// The button the mouse hovers over last; a newly hovered button un-hovers it.
TSkinButton* g_hotButton = nullptr;

// The button background: ButtonFace, then the Buttons image's frame over the whole button.
TBitmap32 ButtonBackground(const TSkinObjects& skin, int w, int h, int frame) {
  TBitmap32 bmp(w, h, SkinColourPixel(skin.Colours.ButtonFace));
  TNinePart part = NinePartOf(skin.Buttons, skin.Buttons.Trans != 0);
  if (part.FrameCount < 2) part.FrameCount = 5;
  RenderNinePart(bmp, TRectI{0, 0, w, h}, part, frame);
  return bmp;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TSkinButton

TSkinButton::~TSkinButton() {
  if (g_hotButton == this) g_hotButton = nullptr;
}

int TSkinButton::CurrentFrame() const {
  ControlState st;
  st.Enabled = enabled_;
  st.Pressed = Pressed();
  st.Hot = Hot();
  st.Focused = focused_;
  return ButtonFrame(st);
}

bool TSkinButton::BeforeMessage(TMessage& m) {
  if (PaintWholeControl(*this, m, CanDraw())) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A disabled button takes no click from the mouse, not even from sent messages.
      if (!IsWindowEnabled(handle_)) return false;
      if (GetFocus() != handle_) SetFocus(handle_);
      focused_ = GetFocus() == handle_;
      SetMouse(kPressed, true);
      Redraw();
      m.Result = 0;
      return false;
    case WM_LBUTTONUP: {
      if (!Pressed() || !IsWindowEnabled(handle_)) {
        SetMouse(kPressed, false);
        return false;
      }
      SetMouse(kPressed, false);
      Redraw();
      RECT client{};
      GetClientRect(handle_, &client);
      const POINT pt = MousePoint(m.LParam);
      m.Result = 0;
      // Last: a click may close the window and free this skin.
      if (enabled_ && PtInRect(&client, pt)) Click();
      return false;
    }
    case WM_MOUSEMOVE:
      if (!Hot() && enabled_) {
        if (g_hotButton && g_hotButton != this) g_hotButton->Unhover();
        g_hotButton = this;
        SetMouse(kHot, true);
        TrackMouseLeave(handle_);
        Redraw();
      }
      return true;
    case WM_MOUSELEAVE:
      Unhover();
      return true;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE && enabled_) SetMouse(kPressed, true);
      return true;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) SetMouse(kPressed, false);
      return true;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    // The native button draws some state changes straight to the screen; draw over them.
    case WM_KEYDOWN:
    case WM_KEYUP:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
      ReadState();
      Redraw();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinButton::Unhover() {
  if (g_hotButton == this) g_hotButton = nullptr;
  if (!Hot() && !Pressed()) return;
  SetMouse(kHot, false);
  SetMouse(kPressed, false);
  if (state_ == TSkinControlState::Attached) Redraw();
}

void TSkinButton::Click() {
  ++clicks_;
  SkinTrace("**Skin button click " + text_);
  if (control_) {
    if (auto* b = dynamic_cast<TButtonControl*>(control_)) b->Click();
    return;
  }
  HWND parent = GetParent(handle_);
  if (parent) {
    PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle_), BN_CLICKED),
                 reinterpret_cast<LPARAM>(handle_));
  }
}

void TSkinButton::DrawControl(HDC dc, const RECT& r) {
  const int frame = CurrentFrame();
  TBitmap32 bmp = ButtonBackground(Skin(), r.right, r.bottom, frame);
  BlitComposed(dc, bmp, 0, 0, [&](HDC off) {
    ScopedSelect font(off, ControlFont());
    SetBkMode(off, TRANSPARENT);
    SetTextColor(off, ColorToRGB(PushButtonTextColour(Skin().Buttons, Colours(), frame)));
    RECT tr = r;
    DrawTextA(off, text_.c_str(), static_cast<int>(text_.size()), &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  });
}

// ---------------------------------------------------------------------------------------------
// TSkinBitButton

void TSkinBitButton::DrawControl(HDC dc, const RECT& r) {
  const int frame = CurrentFrame();
  DrawOver(dc, r, ButtonBackground(Skin(), r.right, r.bottom, frame), frame);
}

void TSkinBitButton::DrawOver(HDC dc, const RECT& r, const TBitmap32& bmp, int frame) {
  auto* bb = dynamic_cast<TBitBtn*>(control_);
  const HFONT font = ControlFont();
  const SIZE measured = text_.empty() ? SIZE{0, 0} : TTextMeasure(font).DrawnSize(text_);
  BlitComposed(dc, bmp, 0, 0, [&](HDC off) {
    ScopedSelect fontSel(off, font);
    HBITMAP glyph = bb ? bb->Glyph() : nullptr;
    int numGlyphs = bb ? std::max(1, bb->NumGlyphs()) : 1;
    SIZE gs = glyph ? BitmapSize(glyph) : SIZE{0, 0};
    BitButtonLayoutInput in;
    in.Client = ToRectI(r);
    in.Glyph = {glyph ? gs.cx / numGlyphs : 0, glyph ? gs.cy : 0};
    in.Text = {measured.cx, measured.cy};
    if (bb) {
      in.Layout = static_cast<GlyphLayout>(bb->Layout);
      in.Margin = bb->Margin;
      in.Spacing = bb->Spacing;
    }
    BitButtonLayoutResult place = LayoutBitButton(in);
    ControlState st{enabled_, Pressed(), Hot(), focused_};
    if (glyph && in.Glyph.cx > 0) {
      int cell = BitButtonGlyphCell(st, numGlyphs);
      DrawTransparent(off, place.GlyphPos.x, place.GlyphPos.y, glyph, (cell - 1) * in.Glyph.cx, 0,
                      in.Glyph.cx, in.Glyph.cy, BottomLeftPixel(glyph));
    }
    TColor fontColour = control_ ? control_->EffectiveFont().color : clBtnText;
    SetBkMode(off, TRANSPARENT);
    SetTextColor(off, ColorToRGB(BitButtonTextColour(Skin().Buttons, Colours(), frame, fontColour)));
    UINT align = place.Align == CaptionAlign::Left    ? DT_LEFT
                 : place.Align == CaptionAlign::Right ? DT_RIGHT
                                                      : DT_CENTER;
    RECT tr = ToRect(place.TextRect);
    DrawTextA(off, text_.c_str(), static_cast<int>(text_.size()), &tr, align | DT_VCENTER | DT_SINGLELINE);
  });
}

// ---------------------------------------------------------------------------------------------
// TSkinSpeedButton

bool TSkinSpeedButton::Flat() const {
  int32_t flat = 1;
  if (control_ && control_->GetPropInfo("Flat").exists && control_->GetOrdProp("Flat", flat)) return flat != 0;
  return true;
}

void TSkinSpeedButton::DrawControl(HDC dc, const RECT& r) {
  const int frame = CurrentFrame();
  // A flat button at rest shows no button face of its own, only its contents.
  if (Flat() && frame == 1) {
    DrawOver(dc, r, TBitmap32(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace)), frame);
  } else {
    DrawOver(dc, r, ButtonBackground(Skin(), r.right, r.bottom, frame), frame);
  }
}

}  // namespace zelvo
