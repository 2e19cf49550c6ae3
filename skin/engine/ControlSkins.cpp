#include "skin/engine/ControlSkins.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "framework/EditCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinTrace.h"
#include "skin/render/NinePart.h"

namespace zelvo {

namespace {

std::string ReadText(HWND h) {
  int n = GetWindowTextLengthA(h);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = GetWindowTextA(h, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(0, got)));
  return s;
}


void FillColour(HDC dc, const RECT& r, TColor c) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(c)));
  FillRect(dc, &r, brush.Get());
}

void FrameColour(HDC dc, const RECT& r, TColor c) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(c)));
  FrameRect(dc, &r, brush.Get());
}

// Redraws the whole window, frame included, at once. While the skinned window around it still
// waits for its set-up (its first sizing and frame paint follow, with the first paint of
// everything in it), the control is only marked for that paint: drawn now, it would be drawn again
// there, once for each state change the window's activation brings (focus, default button).
void Repaint(HWND h, const TSkinHost* around = nullptr) {
  if (!h || !IsWindow(h)) return;
  UINT flags = RDW_INVALIDATE | RDW_FRAME | RDW_ERASE;
  if (!around || around->State() != TFormSkinState::New) flags |= RDW_UPDATENOW;
  RedrawWindow(h, nullptr, nullptr, flags);
}

// The button the mouse hovers over last; a newly hovered button un-hovers it.
TSkinButton* g_hotButton = nullptr;

// Composes a bitmap of `w` x `h` on an off-screen surface and copies it to `dc`; `after` draws
// text onto the surface before the copy.
template <class F>
void BlitComposed(HDC dc, const TBitmap32& bmp, int x, int y, F&& after) {
  TOffscreen off;
  if (!off.Ensure(bmp.Width, bmp.Height)) return;
  off.Put(bmp, 0, 0);
  after(off.DC());
  off.CopyTo(dc, x, y, 0, 0, bmp.Width, bmp.Height);
}

}  // namespace

TPixel SkinColourPixel(TColor c) {
  COLORREF rgb = ColorToRGB(c);
  return MakePixel(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// ---------------------------------------------------------------------------------------------
// TSkinControl

TSkinControl::TSkinControl() : TComponent(nullptr), alive_(std::make_shared<bool>(true)) {}

TSkinControl::~TSkinControl() {
  *alive_ = false;
  if (g_hotButton == this) g_hotButton = nullptr;
  try {
    Detach();
  } catch (...) {
  }
}

void TSkinControl::Attach(TSkinHost* formSkin, TSkinData& data, TWinControl& control, bool recolour) {
  if (attached_) return;
  formSkin_ = formSkin;
  data_ = &data;
  control_ = &control;
  handle_ = control.Handle();
  recolour_ = recolour;
  std::shared_ptr<bool> alive = alive_;
  hook_ = control.HookWindowProc([this, alive](TMessage& m, const TNext& next) {
    const TNext* saved = next_;
    next_ = &next;
    Dispatch(m);
    if (*alive) next_ = saved;
  });
  attached_ = true;
  state_ = TSkinControlState::Attached;
  ReadState();
  if (recolour_) {
    savedColour_ = control.Color;
    control.Color = data.Colours().ButtonFace;
  }
  Refresh();
}

void TSkinControl::AttachHandle(HWND window, TSkinData& data, TSkinHost* formSkin) {
  if (attached_) return;
  formSkin_ = formSkin;
  data_ = &data;
  handle_ = window;
  control_ = nullptr;
  subclass_ = TWindowSubclass(window, [this](HWND, UINT msg, WPARAM wp, LPARAM lp) {
    TMessage m{msg, wp, lp, 0};
    Dispatch(m);
    return m.Result;
  });
  attached_ = true;
  state_ = TSkinControlState::Attached;
  ReadState();
  enabled_ = true;
  if (!IsWindowEnabled(window)) enabled_ = false;
  Refresh();
}

void TSkinControl::Detach() {
  if (!attached_) return;
  attached_ = false;
  hook_.Reset();
  subclass_.Reset();
  if (recolour_ && control_ && state_ != TSkinControlState::Dead) {
    control_->Color = savedColour_;
    control_->Invalidate();
  }
  if (state_ != TSkinControlState::Dead) Repaint(handle_, nullptr);
}

void TSkinControl::Dispatch(TMessage& m) {
  if (!BeforeMessage(m)) return;
  // A native paint into a DC the caller hands over may leave its own state behind (the edit
  // control leaves the DC clipped to its text rectangle): the skin then paints with the DC as
  // the caller gave it.
  const bool callerDc = m.WParam != 0 && (m.Msg == WM_PRINT || m.Msg == WM_PRINTCLIENT || m.Msg == WM_PAINT);
  const HDC dc = callerDc ? reinterpret_cast<HDC>(m.WParam) : nullptr;
  const int saved = dc ? SaveDC(dc) : 0;
  CallPrevious(m);
  if (saved != 0) RestoreDC(dc, saved);
  if (!Dead()) AfterMessage(m);
}

void TSkinControl::CallPrevious(TMessage& m) {
  if (next_) {
    (*next_)(m);
  } else {
    m.Result = TWindowSubclass::CallNext(handle_, m.Msg, m.WParam, m.LParam);
  }
}

bool TSkinControl::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_NCDESTROY) {
    CallPrevious(m);
    state_ = TSkinControlState::Dead;
    Detach();
    return false;
  }
  return true;
}

void TSkinControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      ReadState();
      Refresh();
      break;
    case WM_SETTEXT:
      text_ = ReadText(handle_);
      Refresh();
      break;
    case WM_PAINT:
      Paint(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_PRINTCLIENT:
      if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam));
      break;
    default:
      break;
  }
}

bool TSkinControl::CanDraw() const {
  return attached_ && state_ == TSkinControlState::Attached && handle_ && IsWindow(handle_) && data_ &&
         !data_->SkinEmpty();
}

void TSkinControl::ReadState() {
  if (!handle_ || !IsWindow(handle_)) return;
  focused_ = GetFocus() == handle_;
  enabled_ = IsWindowEnabled(handle_) != FALSE;
  text_ = ReadText(handle_);
  if (!enabled_) mouse_ = 0;
}

void TSkinControl::SetMouse(uint8_t bit, bool on) {
  mouse_ = on ? static_cast<uint8_t>(mouse_ | bit) : static_cast<uint8_t>(mouse_ & ~bit);
}

HFONT TSkinControl::ControlFont() const {
  auto f = reinterpret_cast<HFONT>(SendMessageA(handle_, WM_GETFONT, 0, 0));
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TSkinControl::Paint(HDC dc) {
  if (!CanDraw()) return;
  try {
    GetWindowRect(handle_, &windowRect_);
    RECT r{0, 0, windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top};
    if (r.right <= 0 || r.bottom <= 0) return;
    bool own = dc == nullptr;
    if (own) dc = GetWindowDC(handle_);
    if (!dc) return;
    int saved = SaveDC(dc);
    // Never outside the control, whatever the DC's own clipping is.
    IntersectClipRect(dc, 0, 0, r.right, r.bottom);
    try {
      DrawControl(dc, r);
    } catch (...) {
      // A failed drawing leaves the control as the native paint left it.
    }
    RestoreDC(dc, saved);
    if (own) ReleaseDC(handle_, dc);
  } catch (...) {
  }
}

void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::Refresh() {
  if (state_ != TSkinControlState::Attached) return;
  if (recolour_ && control_ && data_) control_->Color = data_->Colours().ButtonFace;
  Repaint(handle_, formSkin_);
}

// ---------------------------------------------------------------------------------------------
// TSkinButton

int TSkinButton::CurrentFrame() const {
  ControlState st;
  st.Enabled = enabled_;
  st.Pressed = Pressed();
  st.Hot = Hot();
  st.Focused = focused_;
  return ButtonFrame(st);
}

bool TSkinButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!CanDraw()) return true;
      if (m.WParam) {
        Paint(reinterpret_cast<HDC>(m.WParam));
      } else {
        ScopedPaint p(handle_);
        Paint(p.Get());
      }
      m.Result = 0;
      return false;
    case WM_PRINTCLIENT:
      if (!CanDraw() || !m.WParam) return true;
      Paint(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      if (!CanDraw()) return true;
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A disabled button takes no click from the mouse, not even from sent messages.
      if (!IsWindowEnabled(handle_)) return false;
      if (GetFocus() != handle_) SetFocus(handle_);
      focused_ = GetFocus() == handle_;
      SetMouse(kPressed, true);
      Repaint(handle_, formSkin_);
      m.Result = 0;
      return false;
    case WM_LBUTTONUP: {
      if (!Pressed() || !IsWindowEnabled(handle_)) {
        SetMouse(kPressed, false);
        return false;
      }
      SetMouse(kPressed, false);
      Repaint(handle_, formSkin_);
      RECT client{};
      GetClientRect(handle_, &client);
      POINT pt{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
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
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&tme);
        Repaint(handle_, formSkin_);
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
      Repaint(handle_, formSkin_);
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
  if (state_ == TSkinControlState::Attached) Repaint(handle_, formSkin_);
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

namespace {
// The button background: ButtonFace, then the Buttons image's frame over the whole button.
TBitmap32 ButtonBackground(const TSkinObjects& skin, int w, int h, int frame) {
  TBitmap32 bmp(w, h, SkinColourPixel(skin.Colours.ButtonFace));
  TNinePart part = NinePartOf(skin.Buttons, skin.Buttons.Trans != 0);
  if (part.FrameCount < 2) part.FrameCount = 5;
  RenderNinePart(bmp, TRectI{0, 0, w, h}, part, frame);
  return bmp;
}
}  // namespace

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
  BlitComposed(dc, bmp, 0, 0, [&](HDC off) {
    ScopedSelect font(off, ControlFont());
    RECT measured{0, 0, 0, 0};
    if (!text_.empty()) {
      DrawTextA(off, text_.c_str(), static_cast<int>(text_.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
    }
    HBITMAP glyph = bb ? bb->Glyph() : nullptr;
    int numGlyphs = bb ? std::max(1, bb->NumGlyphs()) : 1;
    SIZE gs = glyph ? BitmapSize(glyph) : SIZE{0, 0};
    BitButtonLayoutInput in;
    in.Client = {r.left, r.top, r.right, r.bottom};
    in.Glyph = {glyph ? gs.cx / numGlyphs : 0, glyph ? gs.cy : 0};
    in.Text = {measured.right - measured.left, measured.bottom - measured.top};
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

// ---------------------------------------------------------------------------------------------
// TSkinBox

bool TSkinBox::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_ERASEBKGND && m.WParam && CanDraw()) {
    RECT cr{};
    GetClientRect(handle_, &cr);
    FillColour(reinterpret_cast<HDC>(m.WParam), cr, Colours().ButtonFace);
    m.Result = 1;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

// ---------------------------------------------------------------------------------------------
// TSkinCheckBox, TSkinRadioButton

bool TSkinCheckBox::BeforeMessage(TMessage& m) { return TSkinControl::BeforeMessage(m); }

void TSkinCheckBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    // The native control redraws its box on these without a WM_PAINT: draw the skin's box again.
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_CLICK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
      ReadState();
      Paint(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

CheckState TSkinCheckBox::CurrentCheck() const {
  if (control_) {
    TPropInfo info = control_->GetPropInfo("Checked");
    int32_t value = 0;
    if (info.exists && control_->GetOrdProp("Checked", value)) {
      return CheckedFromPropertyText(value ? "True" : "False") ? CheckState::Checked : CheckState::Unchecked;
    }
  }
  LRESULT s = SendMessageA(handle_, BM_GETCHECK, 0, 0);
  if (s == BST_INDETERMINATE) return CheckState::Indeterminate;
  return s == BST_CHECKED ? CheckState::Checked : CheckState::Unchecked;
}

const TBitmap32& TSkinCheckBox::BoxImage() const { return Skin().Buttons.CheckImage; }
int TSkinCheckBox::BoxFrames() const { return Skin().Buttons.CheckButtonFrame; }
const TBitmap32& TSkinRadioButton::BoxImage() const { return Skin().Buttons.RadioImage; }
int TSkinRadioButton::BoxFrames() const { return Skin().Buttons.RadioButtonFrame; }

void TSkinCheckBox::DrawControl(HDC dc, const RECT& r) {
  const TBitmap32& image = BoxImage();
  if (image.Empty()) return;
  int frames = BoxFrames() > 0 ? BoxFrames() : 4;
  TRectI cell = FrameCell(image, frames, CurrentFrame(), false);
  bool right = (GetWindowLongA(handle_, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
  CheckBoxGeometry g = LayoutCheckBox(r.right, r.bottom, GetSystemMetrics(SM_CXMENUCHECK),
                                      TSizeI{cell.Width(), cell.Height()}, right);
  // One composed piece covering the strip and the image, clipped to the control.
  int left = std::max(0, std::min(g.Strip.left, g.Image.left));
  int top = std::max(0, std::min(g.Strip.top, g.Image.top));
  int rgt = std::min<int>(r.right, std::max(g.Strip.right, g.Image.right));
  int bot = std::min<int>(r.bottom, std::max(g.Strip.bottom, g.Image.bottom));
  if (rgt <= left || bot <= top) return;
  TBitmap32 bmp(rgt - left, bot - top, SkinColourPixel(Colours().ButtonFace));
  StretchCopy(bmp, TRectI{g.Image.left - left, g.Image.top - top, g.Image.right - left, g.Image.bottom - top}, image,
              cell, Skin().Buttons.Trans != 0);
  BlitComposed(dc, bmp, left, top, [](HDC) {});
}

// ---------------------------------------------------------------------------------------------
// TSkinEdit

bool TSkinEdit::BorderDrawn() const {
  RECT wr{}, cr{};
  GetWindowRect(handle_, &wr);
  GetClientRect(handle_, &cr);
  return EditBorderDrawn(wr.right - wr.left, wr.bottom - wr.top, cr.right, cr.bottom);
}

void TSkinEdit::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      Paint(nullptr);
      break;
    case WM_PRINT:
      if (m.WParam && (m.LParam & PRF_NONCLIENT)) Paint(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      break;  // the border is not in the client area
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& r) {
  if (!BorderDrawn()) return;
  FrameColour(dc, r, Colours().ButtonShadow);
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameColour(dc, inner, 0x00FFFFFF);
}

// ---------------------------------------------------------------------------------------------
// TSkinGroupBox

void TSkinGroupBox::DrawControl(HDC dc, const RECT& r) {
  ScopedSelect font(dc, ControlFont());
  SIZE zero{0, 0};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  RECT measured{0, 0, 0, 0};
  std::string caption = text_;
  if (!caption.empty()) {
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
  }
  GroupBoxGeometry g = LayoutGroupBox(r.right, r.bottom, zero.cy,
                                      TSizeI{measured.right - measured.left, measured.bottom - measured.top});
  FrameColour(dc, ToRect(g.Wipe1), Colours().ButtonFace);
  FrameColour(dc, ToRect(g.Wipe2), Colours().ButtonFace);
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ColorToRGB(Colours().ButtonShadow)));
  ScopedSelect penSel(dc, pen.Get());
  ScopedSelect brushSel(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, g.Frame.left, g.Frame.top, g.Frame.right, g.Frame.bottom, kGroupBoxCorner, kGroupBoxCorner);
  if (!g.Caption.Empty()) {
    RECT cr = ToRect(g.Caption);
    FillColour(dc, cr, Colours().ButtonFace);
    SetBkMode(dc, TRANSPARENT);
    TColor textColour = control_ ? control_->EffectiveFont().color : clBtnText;
    SetTextColor(dc, ColorToRGB(enabled_ ? textColour : Colours().ButtonShadow));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &cr, DT_LEFT | DT_SINGLELINE);
  }
}

// ---------------------------------------------------------------------------------------------
// TSkinComBox

bool TSkinComBox::BeforeMessage(TMessage& m) { return TSkinControl::BeforeMessage(m); }

void TSkinComBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case CB_SHOWDROPDOWN:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CB_SETCURSEL:
      ReadState();
      if (m.Msg == WM_MOUSEMOVE && !Hot()) {
        SetMouse(kHot, true);
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&tme);
      } else if (m.Msg == WM_MOUSELEAVE) {
        SetMouse(kHot, false);
      } else if (m.Msg == WM_MOUSEMOVE) {
        break;
      }
      Paint(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

ComboGeometry TSkinComBox::Geometry() const {
  RECT wr{};
  GetWindowRect(handle_, &wr);
  const TDataSkinBorder* button = Skin().ComboButton.get();
  ComboInput in;
  in.Width = wr.right - wr.left;
  in.Height = wr.bottom - wr.top;
  in.Flat = button && button->Style == 1;
  in.ButtonWidth = GetSystemMetrics(in.Flat ? SM_CYVTHUMB : SM_CXHSCROLL);
  in.LeftScrollBar = (GetWindowLongA(handle_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  return LayoutCombo(in);
}

void TSkinComBox::DrawControl(HDC dc, const RECT& r) {
  const TSkinObjects& skin = Skin();
  ComboGeometry g = Geometry();
  ControlState st{enabled_, SendMessageA(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0, Hot(), focused_};
  const int frame = ButtonFrame(st);
  TBitmap32 bmp(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace));
  if (skin.SunkEdge) {
    RenderNinePart(bmp, TRectI{0, 0, r.right, r.bottom}, NinePartOf(*skin.SunkEdge, skin.SunkEdge->Trans != 0), 1);
  }
  TRectI button{g.Button.left, g.Button.top, g.Button.right, g.Button.bottom};
  if (skin.ComboButton) {
    TNinePart part = NinePartOf(*skin.ComboButton, skin.ComboButton->Trans != 0);
    if (g.Mirrored && !skin.ComboButton->Image2.Empty()) part.Image = &skin.ComboButton->Image2;
    if (part.FrameCount < 2) part.FrameCount = 4;
    RenderNinePart(bmp, button, part, frame);
  }
  if (skin.ExtraImages && !skin.ExtraImages->Image.Empty()) {
    TRectI cell = FrameCell(skin.ExtraImages->Image, 5, frame, false);
    TRectI at = CentreIn(g.Button, cell.Width(), cell.Height());
    StretchCopy(bmp, TRectI{at.left, at.top, at.right, at.bottom}, skin.ExtraImages->Image, cell, true);
  }
  if (!g.OuterFrame.Empty()) {
    TPixel shadow = SkinColourPixel(Colours().ButtonShadow), face = SkinColourPixel(Colours().ButtonFace);
    for (int x = 0; x < bmp.Width; ++x)
      for (int y = 0; y < bmp.Height; ++y) {
        bool outer = x == 0 || y == 0 || x == bmp.Width - 1 || y == bmp.Height - 1;
        bool inset = !outer && (x == 1 || y == 1 || x == bmp.Width - 2 || y == bmp.Height - 2);
        bool inButton = button.Contains(x, y);
        if (outer) bmp.At(x, y) = shadow;
        else if (inset && !inButton) bmp.At(x, y) = face;
      }
  }
  // The text area stays the native control's.
  ExcludeClipRect(dc, g.Text.left, g.Text.top, g.Text.right, g.Text.bottom);
  BlitComposed(dc, bmp, 0, 0, [](HDC) {});
}

// ---------------------------------------------------------------------------------------------
// Choosing and attaching

// The whole control painted by the skin: WM_PAINT and WM_PRINTCLIENT are answered here and
// the background is never erased natively. False when the skin cannot draw now (the native
// control paints as usual then).
bool PaintWholeControl(TSkinControl& skin, TMessage& m, bool canDraw) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!canDraw) return false;
      if (m.WParam) {
        skin.Paint(reinterpret_cast<HDC>(m.WParam));
      } else {
        ScopedPaint p(skin.Handle());
        skin.Paint(p.Get());
      }
      m.Result = 0;
      return true;
    case WM_PRINTCLIENT:
      if (!canDraw || !m.WParam) return false;
      skin.Paint(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      return true;
    case WM_ERASEBKGND:
      if (!canDraw) return false;
      m.Result = 1;
      return true;
    default:
      return false;
  }
}

}  // namespace zelvo
