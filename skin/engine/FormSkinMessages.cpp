// The skinned frame's answers to its window's messages: the dispatch from the window's subclass
// and the form's handler chain into named handlers, one per message.
#include <windows.h>

#include <optional>

#include "framework/Forms.h"
#include "framework/Subclass.h"
#include "skin/engine/FormSkin.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinMenuBar.h"
#include "skin/engine/SkinTrace.h"

namespace zelvo {

namespace {

bool IsSystemCommandId(UINT id) {
  switch (id & 0xFFF0) {
    case SC_SIZE: case SC_MOVE: case SC_MINIMIZE: case SC_MAXIMIZE: case SC_NEXTWINDOW:
    case SC_PREVWINDOW: case SC_CLOSE: case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

POINT PointOf(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

}  // namespace

POINT TFormSkin::ScreenToWindow(LPARAM lp) const {
  RECT wr{};
  GetWindowRect(window_, &wr);
  const POINT p = PointOf(lp);
  return POINT{p.x - wr.left, p.y - wr.top};
}

// ---------------------------------------------------------------------------------------------
// Message dispatch

LRESULT TFormSkin::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) {
  return TWindowSubclass::CallNext(window_, msg, wp, lp);
}

LRESULT TFormSkin::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == SKIN_QUERY) return 1;
  if (msg == WM_NCDESTROY) return OnNcDestroy(wp, lp);
  if (!attached_ || state_ == TFormSkinState::Dead) return CallPrevious(msg, wp, lp);
  if (const TAnswer answer = SkinMessage(msg, wp, lp)) return *answer;
  if (skinsFrame_) {
    if (const TAnswer answer = FrameMessage(msg, wp, lp)) return *answer;
  }
  return CallPrevious(msg, wp, lp);
}

void TFormSkin::FormMessage(TMessage& m, const TNext& next) {
  switch (m.Msg) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (attached_ && state_ != TFormSkinState::Dead && mainMenu_.ItemMessage(m, form_)) return;
      next(m);
      return;
    case WM_SETTEXT:
      next(m);
      OnCaptionChanged();
      return;
    case SKIN_RECOLOR:
      Recolor();
      m.Result = 0;
      return;
    case CM_DIALOGCHAR:
      // Alt+letter that no control of the form claimed goes to the skinned bar, which beeps at
      // a letter none of its buttons has, as the system's bar does. Alt+- stays the system's
      // (an MDI child's system menu).
      if (attached_ && state_ != TFormSkinState::Dead && menuBar_ && m.WParam != '-') {
        if (!menuBar_->OpenAccelerator(static_cast<char>(m.WParam))) MessageBeep(0);
        m.Result = 1;
        return;
      }
      next(m);
      return;
    default:
      next(m);
      return;
  }
}

TFormSkin::TAnswer TFormSkin::SkinMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case SKIN_INIT:
      HandleInit();
      return 0;
    case SKIN_REPAINTFRAME:
      OnRepaintFrame();
      return 0;
    case SKIN_RECOLOR:
      // The framework form's own handler chain takes it when it is hooked.
      if (formHook_.Linked()) return std::nullopt;
      Recolor();
      return 0;
    case WM_DESTROY:
      // The window's menu goes back before the window's own WM_DESTROY handling, which takes a
      // framework form's menu off as it does without a skin; a foreign window's menu is then
      // destroyed with the window, as the system would have done.
      if (menuBar_) menuBar_->GiveBack();
      return std::nullopt;
    case WM_ERASEBKGND:
      return OnEraseBackground(reinterpret_cast<HDC>(wp));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(msg, wp, lp);
    case WM_STYLECHANGED:
      if (lp) OnStyleChanged(wp, *reinterpret_cast<const STYLESTRUCT*>(lp));
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

TFormSkin::TAnswer TFormSkin::FrameMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: return OnSize(wp, lp);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(wp, reinterpret_cast<MINMAXINFO*>(lp));
    case WM_WINDOWPOSCHANGING: return OnWindowPosChanging(wp, reinterpret_cast<const WINDOWPOS*>(lp));
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(wp, lp);
    case WM_SETTEXT: return OnSetText(wp, lp);
    case WM_ACTIVATE:
      active_ = LOWORD(wp) != WA_INACTIVE;
      return std::nullopt;
    case WM_NCACTIVATE: return OnNcActivate(wp != 0);
    case WM_NCPAINT: return OnNcPaint(reinterpret_cast<HRGN>(wp));
    case WM_PRINT: return OnPrint(reinterpret_cast<HDC>(wp), lp);
    case WM_TIMER: return OnTimer(wp);
    case WM_NCHITTEST: return OnNcHitTest(wp, lp);
    case WM_NCCALCSIZE: return OnNcCalcSize(wp != 0, lp);
    case WM_NCMOUSEMOVE: return OnNcMouseMove(ScreenToWindow(lp));
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: return OnNcLButtonDown(msg, wp, lp);
    case WM_NCLBUTTONUP: return OnNcLButtonUp(ScreenToWindow(lp));
    case WM_NCRBUTTONDOWN: return OnNcRButtonDown(wp, lp);
    case WM_COMMAND: return OnCommand(wp, lp);
    case WM_SYSCOMMAND: return OnSysCommand(wp, lp);
    case WM_MEASUREITEM: return OnMeasureItem(wp, reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    case WM_DRAWITEM: return OnDrawItem(wp, reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    default: return std::nullopt;
  }
}

// ---------------------------------------------------------------------------------------------
// Handlers of the messages answered whether the frame is skinned or not

LRESULT TFormSkin::OnNcDestroy(WPARAM wp, LPARAM lp) {
  state_ = TFormSkinState::Destroying;
  SkinTrace("WM_NCDESTROY " + caption_);
  StopHoverTimer();
  DetachControlSkins();
  formHook_.Reset();
  // The system frees the window region with the window.
  region_.Forget();
  const LRESULT result = CallPrevious(WM_NCDESTROY, wp, lp);
  subclass_.Reset();
  // The client went before its frame (children first); this only forgets it.
  mdi_.Release();
  attached_ = false;
  state_ = TFormSkinState::Dead;
  return result;
}

void TFormSkin::OnRepaintFrame() {
  // A skinned MDI child sends it to its frame after it was maximized or restored through its
  // own caption or system menu, which the MDI client is not told of.
  if (!mdi_.Sync()) PaintFrame();
}

void TFormSkin::OnCaptionChanged() {
  ReadCaption();
  PaintFrame();
}

TFormSkin::TAnswer TFormSkin::OnEraseBackground(HDC dc) {
  if (form_) return std::nullopt;
  RECT r{};
  GetClientRect(window_, &r);
  FillRect(dc, &r, data_->ButtonFaceBrush() ? data_->ButtonFaceBrush() : GetSysColorBrush(COLOR_BTNFACE));
  return 1;
}

TFormSkin::TAnswer TFormSkin::OnCtlColor(UINT msg, WPARAM wp, LPARAM lp) {
  if (form_) return std::nullopt;
  const auto dc = reinterpret_cast<HDC>(wp);
  SetBkMode(dc, TRANSPARENT);
  if (msg == WM_CTLCOLORBTN) return CallPrevious(msg, wp, lp);
  return reinterpret_cast<LRESULT>(data_->ButtonFaceBrush() ? data_->ButtonFaceBrush()
                                                            : GetSysColorBrush(COLOR_BTNFACE));
}

void TFormSkin::OnStyleChanged(WPARAM which, const STYLESTRUCT& styles) {
  if (which == static_cast<WPARAM>(GWL_STYLE)) {
    // Keep what the frame rules read; the caption bits this skin removed stay counted as present.
    constexpr DWORD kCaptionBits = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    style_ = (styles.styleNew & ~kCaptionBits) | (style_ & kCaptionBits) | (styles.styleNew & kCaptionBits);
  } else if (which == static_cast<WPARAM>(GWL_EXSTYLE)) {
    exStyle_ = styles.styleNew;
  }
}

// ---------------------------------------------------------------------------------------------
// Handlers of the skinned frame's messages

LRESULT TFormSkin::OnSize(WPARAM kind, LPARAM lp) {
  placement_ = kind == SIZE_MAXIMIZED ? TPlacement::Maximized
               : kind == SIZE_MINIMIZED ? TPlacement::Minimized
                                        : TPlacement::Normal;
  const LRESULT r = CallPrevious(WM_SIZE, kind, lp);
  if (state_ == TFormSkinState::Active || state_ == TFormSkinState::Refreshing) BuildRegion(false);
  if (windowKind_ == TWindowKind::MdiChild && kind <= SIZE_MAXIMIZED) MdiChildSized(kind == SIZE_MAXIMIZED);
  return r;
}

LRESULT TFormSkin::OnGetMinMaxInfo(WPARAM wp, MINMAXINFO* info) {
  if (placement_ == TPlacement::Minimized)
    RestoreCaption();
  else
    StripCaption();
  const LRESULT r = CallPrevious(WM_GETMINMAXINFO, wp, reinterpret_cast<LPARAM>(info));
  if (borderKind_ == TBorderKind::Sizeable) {
    info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  }
  return r;
}

LRESULT TFormSkin::OnWindowPosChanging(WPARAM wp, const WINDOWPOS* pos) {
  const LRESULT r = CallPrevious(WM_WINDOWPOSCHANGING, wp, reinterpret_cast<LPARAM>(pos));
  // A new size of a shown, normally placed window: its shape for that size goes on first, so
  // that the size change repaints and uncovers with the new shape, once. (Set after the change,
  // with a redraw of its own, the window and its controls would be erased and the frame painted
  // a second time.)
  if (pos && !(pos->flags & SWP_NOSIZE) && state_ == TFormSkinState::Active && !IsIconic(window_) &&
      !IsZoomed(window_)) {
    ShapeAhead(SIZE{pos->cx, pos->cy});
  }
  return r;
}

LRESULT TFormSkin::OnWindowPosChanged(WPARAM wp, LPARAM lp) {
  placement_ = IsIconic(window_) ? TPlacement::Minimized
               : IsZoomed(window_) ? TPlacement::Maximized
                                   : TPlacement::Normal;
  return CallPrevious(WM_WINDOWPOSCHANGED, wp, lp);
}

TFormSkin::TAnswer TFormSkin::OnSetText(WPARAM wp, LPARAM lp) {
  // A hooked framework form reports it through its handler chain (FormMessage).
  if (formHook_.Linked()) return std::nullopt;
  const LRESULT r = CallPrevious(WM_SETTEXT, wp, lp);
  OnCaptionChanged();
  return r;
}

TFormSkin::TAnswer TFormSkin::OnNcActivate(bool active) {
  if (borderKind_ == TBorderKind::CaptionlessPopup) return std::nullopt;
  active_ = active;
  if (active_) {
    if (state_ == TFormSkinState::Active) StartHoverTimer();
  } else {
    StopHoverTimer();
    buttons_.SetHot(nullptr);
  }
  PaintFrame();
  return TRUE;
}

TFormSkin::TAnswer TFormSkin::OnNcPaint(HRGN update) {
  if (borderKind_ == TBorderKind::CaptionlessPopup) return std::nullopt;
  if (windowKind_ == TWindowKind::MdiChild && placement_ != TPlacement::Normal) return std::nullopt;
  // Before the set-up has run the frame is left unpainted rather than drawn by the system
  // (which would flash its own caption); the set-up paints it once the size is right.
  PaintFrame(update);
  return 0;
}

TFormSkin::TAnswer TFormSkin::OnPrint(HDC dc, LPARAM what) {
  if (!(what & PRF_NONCLIENT) || !FramePaintable()) return std::nullopt;
  PaintFrameTo(dc);
  const LPARAM rest = what & ~PRF_NONCLIENT;
  return rest ? CallPrevious(WM_PRINT, reinterpret_cast<WPARAM>(dc), rest) : 0;
}

TFormSkin::TAnswer TFormSkin::OnTimer(UINT_PTR id) {
  if (id != kFrameHoverTimerId) return std::nullopt;
  OnHoverTimer();
  return 0;
}

LRESULT TFormSkin::OnNcHitTest(WPARAM wp, LPARAM screen) {
  const LRESULT previous = CallPrevious(WM_NCHITTEST, wp, screen);
  if (borderKind_ == TBorderKind::CaptionlessPopup) return previous;
  POINT p = PointOf(screen);
  ScreenToClient(window_, &p);
  return SkinHitTest(static_cast<int32_t>(previous), TPointI{p.x, p.y}, thickness_, menuBarHeight_,
                     placement_ == TPlacement::Minimized);
}

TFormSkin::TAnswer TFormSkin::OnNcCalcSize(bool validRects, LPARAM lp) {
  if (borderKind_ == TBorderKind::CaptionlessPopup ||
      (windowKind_ == TWindowKind::MdiChild && placement_ != TPlacement::Normal)) {
    return std::nullopt;
  }
  if (validRects) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
    const TRectI client = SkinClientRect(ToRectI(params->rgrc[0]), thickness_, menuBarHeight_);
    params->rgrc[0] = params->rgrc[1] = params->rgrc[2] = ToRect(client);
    return WVR_VALIDRECTS;
  }
  auto* r = reinterpret_cast<RECT*>(lp);
  *r = ToRect(SkinClientRect(ToRectI(*r), thickness_, menuBarHeight_));
  return 0;
}

TFormSkin::TAnswer TFormSkin::OnNcMouseMove(POINT window) {
  if (!active_) return std::nullopt;
  if (TNCObject* object = buttons_.At(window)) {
    if (menuBar_) menuBar_->MouseLeave();
    buttons_.SetHot(object);
    return 0;
  }
  buttons_.SetHot(nullptr);
  if (TMenuBtn* button = menuBar_ ? menuBar_->HitTest(window) : nullptr) {
    menuBar_->MouseMove(button);
    return 0;
  }
  if (menuBar_) menuBar_->MouseLeave();
  return std::nullopt;
}

TFormSkin::TAnswer TFormSkin::OnNcLButtonDown(UINT msg, WPARAM hit, LPARAM screen) {
  const POINT p = ScreenToWindow(screen);
  if (TNCObject* object = buttons_.At(p)) {
    if (!active_) SetForegroundWindow(window_);
    buttons_.Press(object);
    return 0;
  }
  if (TMenuBtn* button = menuBar_ ? menuBar_->HitTest(p) : nullptr) {
    if (!active_) SetForegroundWindow(window_);
    // Opens the button's submenu (or posts its command); returns once the menu has closed.
    menuBar_->MouseDown(button);
    return 0;
  }
  if (msg == WM_NCLBUTTONDBLCLK) {
    if (hit != HTCAPTION) return std::nullopt;
    if (placement_ != TPlacement::Normal)
      PostSysCommand(SC_RESTORE);
    else if (buttonFlags_ & buttons::kMaximize)
      PostSysCommand(SC_MAXIMIZE);
    return 0;
  }
  // A maximized window cannot be dragged by its caption.
  if (hit == HTCAPTION && placement_ == TPlacement::Maximized && active_) return CallPrevious(msg, HTMENU, screen);
  return std::nullopt;
}

TFormSkin::TAnswer TFormSkin::OnNcLButtonUp(POINT window) {
  if (buttons_.Release(buttons_.At(window))) return 0;
  return std::nullopt;
}

TFormSkin::TAnswer TFormSkin::OnNcRButtonDown(WPARAM hit, LPARAM screen) {
  if (windowKind_ == TWindowKind::MdiChild || hit != HTCAPTION) return std::nullopt;
  ShowSystemMenu(PointOf(screen), false);
  return 0;
}

TFormSkin::TAnswer TFormSkin::OnCommand(WPARAM wp, LPARAM lp) {
  if (lp != 0 || HIWORD(wp) != 0 || !IsSystemCommandId(LOWORD(wp))) return std::nullopt;
  PostSysCommand(LOWORD(wp));
  return 0;
}

TFormSkin::TAnswer TFormSkin::OnSysCommand(WPARAM wp, LPARAM lp) {
  const auto command = static_cast<UINT>(wp & 0xFFF0);
  if (command == SC_KEYMENU && !sysMenu_.Showing() && !engine_->MenuTracking() && GetCapture() == nullptr) {
    if (const TAnswer answer = OnKeyMenu(lp)) return answer;
  }
  if (command == SC_MINIMIZE) {
    placement_ = TPlacement::Minimized;
    if (windowKind_ == TWindowKind::MdiChild) RestoreCaption();
  } else if (command == SC_MAXIMIZE) {
    placement_ = TPlacement::Maximized;
  } else if (command == SC_RESTORE) {
    placement_ = TPlacement::Normal;
    if (windowKind_ == TWindowKind::MdiChild) StripCaption();
  }
  return std::nullopt;
}

TFormSkin::TAnswer TFormSkin::OnKeyMenu(LPARAM key) {
  if (key == 0) {
    // F10 or a bare Alt: the skinned bar takes the keyboard. A window without one keeps it (the
    // system would track a menu bar nobody sees).
    if (menuBar_) menuBar_->KeyboardMode();
    return 0;
  }
  // Alt+letter opens the bar's button with that accelerator.
  if (menuBar_ && menuBar_->OpenAccelerator(static_cast<char>(key))) return 0;
  if (key != ' ') return std::nullopt;
  // Alt+Space: the skinned system menu under the caption's left end.
  RECT wr{};
  GetWindowRect(window_, &wr);
  ShowSystemMenu(POINT{wr.left + thickness_.Left, wr.top + thickness_.Top}, false);
  return 0;
}

TFormSkin::TAnswer TFormSkin::OnMeasureItem(WPARAM wp, MEASUREITEMSTRUCT* mis) {
  if (wp != 0 || !mis || !sysMenu_.Measure(*mis)) return std::nullopt;
  return TRUE;
}

TFormSkin::TAnswer TFormSkin::OnDrawItem(WPARAM wp, const DRAWITEMSTRUCT* dis) {
  if (wp != 0 || !dis || !sysMenu_.Draw(*dis)) return std::nullopt;
  return TRUE;
}

}  // namespace zelvo
