#include "skin/engine/ControlSkins.h"

#include <algorithm>
#include <memory>
#include <string>

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

// Redraws the whole window, frame included: at once, or (`now` false) only marked for the next
// paint.
void RedrawWhole(HWND h, bool now) {
  if (!h || !IsWindow(h)) return;
  UINT flags = RDW_INVALIDATE | RDW_FRAME | RDW_ERASE;
  if (now) flags |= RDW_UPDATENOW;
  RedrawWindow(h, nullptr, nullptr, flags);
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
  if (state_ != TSkinControlState::Dead) RedrawWhole(handle_, true);
}

void TSkinControl::Dispatch(TMessage& m) {
  if (!BeforeMessage(m)) return;
  // A native paint into a DC the caller hands over may leave its own state behind (the edit
  // control leaves the DC clipped to its text rectangle): the skin then paints with the DC as
  // the caller gave it.
  const bool callerDc = m.WParam != 0 && (m.Msg == WM_PRINT || m.Msg == WM_PRINTCLIENT || m.Msg == WM_PAINT);
  {
    const SavedDC callerState = callerDc ? SavedDC(reinterpret_cast<HDC>(m.WParam)) : SavedDC();
    CallPrevious(m);
  }
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
  return FontOrDefault(reinterpret_cast<HFONT>(SendMessageA(handle_, WM_GETFONT, 0, 0)));
}

void TSkinControl::Paint(HDC dc) {
  if (!CanDraw()) return;
  try {
    GetWindowRect(handle_, &windowRect_);
    RECT r{0, 0, windowRect_.right - windowRect_.left, windowRect_.bottom - windowRect_.top};
    if (r.right <= 0 || r.bottom <= 0) return;
    const WindowDC own = dc ? WindowDC() : WindowDC::Whole(handle_);
    if (!dc) dc = own.Get();
    if (!dc) return;
    // Restored before the window's DC goes back, also when the drawing throws.
    const SavedDC state(dc);
    // Never outside the control, whatever the DC's own clipping is.
    IntersectClipRect(dc, 0, 0, r.right, r.bottom);
    DrawControl(dc, r);
  } catch (...) {
    // A failed drawing leaves the control as the native paint left it.
  }
}

void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::Refresh() {
  if (state_ != TSkinControlState::Attached) return;
  if (recolour_ && control_ && data_) control_->Color = data_->Colours().ButtonFace;
  Redraw();
}

void TSkinControl::Redraw() const {
  // While the skinned window around the control still waits for its set-up (its first sizing and
  // frame paint follow, with the first paint of everything in it), the control is only marked for
  // that paint: drawn now, it would be drawn again there, once for each state change the window's
  // activation brings (focus, default button).
  RedrawWhole(handle_, !formSkin_ || formSkin_->State() != TFormSkinState::New);
}

// ---------------------------------------------------------------------------------------------
// Controls the skin paints whole

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
