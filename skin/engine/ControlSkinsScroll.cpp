#include "skin/engine/ControlSkinsScroll.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "framework/Graphics.h"
#include "skin/engine/ControlSkinsDraw.h"
#include "skin/engine/SkinTrace.h"
#include "skin/render/NinePart.h"

namespace zelvo {

namespace {

// The shortest thumb the skin draws (and hit-tests: both use the same layout).
constexpr int kMinThumb = 8;

// Along-the-bar extent [a, b) as a rectangle of a bar composed `thickness` thick.
TRectI Along(bool horizontal, int a, int b, int thickness) {
  return horizontal ? TRectI{a, 0, b, thickness} : TRectI{0, a, thickness, b};
}

// One bar composed off-screen: Scrollbar colour, shaft between the arrows, the arrows, the thumb.
TBitmap32 ComposeScrollBar(const TSkinObjects& skin, const TScrollBarView& v, int heldArrow, bool dragging) {
  const bool h = v.Horizontal;
  const int len = v.Parts.Length, t = kScrollComposeThickness;
  TBitmap32 bmp(h ? len : t, h ? t : len, SkinColourPixel(skin.Colours.Scrollbar));
  const TDataSkinObject* shaft = h ? skin.HorzScroll.get() : skin.VertScroll.get();
  if (shaft && v.Parts.TrackEnd > v.Parts.TrackStart) {
    TNinePart part = NinePartOf(*shaft, shaft->Trans != 0);
    if (part.FrameCount < 2) part.FrameCount = 4;
    RenderNinePart(bmp, Along(h, v.Parts.TrackStart, v.Parts.TrackEnd, t), part, 1);
  }
  const TBitmap32& arrows = skin.Scrollbar->Image;
  const bool arrowsTrans = skin.Scrollbar->Trans != 0;
  for (int second = 0; second < 2; ++second) {
    TRectI cell = FrameCell(arrows, 23, ScrollArrowFrame(h, second != 0, heldArrow == second + 1), false);
    TRectI at = second ? Along(h, v.Parts.TrackEnd, len, t) : Along(h, 0, v.Parts.ArrowLength, t);
    if (!at.Empty()) StretchCopy(bmp, at, arrows, cell, arrowsTrans);
  }
  const TDataSkinObject* thumb = h ? skin.HorzScrollThumb.get() : skin.VertScrollThumb.get();
  if (thumb && v.Parts.HasThumb) {
    TNinePart part = NinePartOf(*thumb, thumb->Trans != 0);
    RenderNinePart(bmp, Along(h, v.Parts.ThumbStart, v.Parts.ThumbEnd, t), part, dragging ? 2 : 1);
  }
  return bmp;
}

ScrollInfo ReadScrollInfo(HWND h, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ScrollInfo r;
  if (!GetScrollInfo(h, bar, &si)) return r;
  r.Min = si.nMin;
  r.Max = si.nMax;
  r.Page = static_cast<int>(std::min<UINT>(si.nPage, 0x7FFFFFFF));
  r.Pos = si.nPos;
  return r;
}

TScrollBarView MakeView(bool horizontal, const RECT& rect, const ScrollInfo& info, bool enabled) {
  TScrollBarView v;
  v.Horizontal = horizontal;
  v.Rect = rect;
  v.Info = info;
  v.Enabled = enabled;
  const int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
  const int arrow = GetSystemMetrics(horizontal ? SM_CXHSCROLL : SM_CYVSCROLL);
  v.Parts = LayoutScrollBar(length, arrow, kMinThumb, info);
  return v;
}

// The position along the bar of a screen point.
int AlongBar(bool horizontal, const RECT& barScreen, POINT pt) {
  return horizontal ? pt.x - barScreen.left : pt.y - barScreen.top;
}

RECT ToScreen(HWND h, const RECT& windowRelative) {
  RECT wr{};
  GetWindowRect(h, &wr);
  return RECT{windowRelative.left + wr.left, windowRelative.top + wr.top, windowRelative.right + wr.left,
              windowRelative.bottom + wr.top};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TSkinScrollbar

void TSkinScrollbar::Attach(TSkinHost* formSkin, TSkinData& data, TWinControl& control, bool recolour) {
  TSkinControl::Attach(formSkin, data, control, recolour);
  if (handle_) SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSkinScrollbar::AttachHandle(HWND window, TSkinData& data, TSkinHost* formSkin) {
  TSkinControl::AttachHandle(window, data, formSkin);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<TScrollBarView> TSkinScrollbar::Bar(bool horizontal) const {
  if (!handle_ || !IsWindow(handle_)) return std::nullopt;
  const LONG style = GetWindowLongA(handle_, GWL_STYLE);
  if (!(style & (horizontal ? WS_HSCROLL : WS_VSCROLL))) return std::nullopt;
  RECT wr{}, cr{};
  GetWindowRect(handle_, &wr);
  if (wr.right - wr.left >= kScrollPaintLimit || wr.bottom - wr.top >= kScrollPaintLimit) return std::nullopt;
  GetClientRect(handle_, &cr);
  POINT origin{0, 0};
  ClientToScreen(handle_, &origin);
  // Client area in window coordinates.
  const int cl = origin.x - wr.left, ct = origin.y - wr.top, crt = cl + cr.right, cb = ct + cr.bottom;
  RECT bar{};
  if (horizontal) {
    bar = RECT{cl, cb, crt, cb + GetSystemMetrics(SM_CYHSCROLL)};
  } else {
    const int cx = GetSystemMetrics(SM_CXVSCROLL);
    const bool left = (GetWindowLongA(handle_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    bar = left ? RECT{cl - cx, ct, cl, cb} : RECT{crt, ct, crt + cx, cb};
  }
  if (bar.right <= bar.left || bar.bottom <= bar.top) return std::nullopt;
  return MakeView(horizontal, bar, ReadScrollInfo(handle_, horizontal ? SB_HORZ : SB_VERT),
                  IsWindowEnabled(handle_) != FALSE);
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
        m.Result = 0;
        return false;
      }
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      if (!thumbDragging_ || (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) || !CanDraw() || !Skin().Scrollbar)
        return true;
      const bool horizontal = m.WParam == HTHSCROLL;
      std::optional<TScrollBarView> view = Bar(horizontal);
      if (!view) return true;
      const RECT screen = ToScreen(handle_, view->Rect);
      const POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      const ScrollHit hit = ClassifyScrollPoint(view->Parts, AlongBar(horizontal, screen, pt));
      SkinTrace(std::string("Scrollbar NCLButtonDown") + ScrollHitTraceName(hit));
      if (hit != ScrollHit::Thumb) return true;
      m.Result = 0;
      DragThumb(horizontal ? SB_HORZ : SB_VERT, *view, screen, pt);
      return false;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      lastCode_ = LOWORD(m.WParam);
      lastHorizontal_ = m.Msg == WM_HSCROLL;
      return true;
    case WM_NCPAINT:
      return !PaintFrameAroundBars(m);
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

bool TSkinScrollbar::PaintFrameAroundBars(TMessage& m) {
  if (!CanDraw() || !Skin().Scrollbar) return false;
  const std::optional<TScrollBarView> vertical = Bar(false), horizontal = Bar(true);
  if (!vertical && !horizontal) return false;
  RECT wr{};
  GetWindowRect(handle_, &wr);
  // The control paints its frame into the region it is given less the bars (and the corner
  // between them), which the skin draws next: the native bars never show for a moment.
  UniqueGdi<HRGN> clip(CreateRectRgn(wr.left, wr.top, wr.right, wr.bottom));
  if (!clip) return false;
  const auto given = reinterpret_cast<HRGN>(m.WParam);
  if (m.WParam > 1 && CombineRgn(clip.Get(), given, nullptr, RGN_COPY) == ERROR) return false;
  auto cut = [&](RECT r) {
    r = ToScreen(handle_, r);
    UniqueGdi<HRGN> bar(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    if (bar) CombineRgn(clip.Get(), clip.Get(), bar.Get(), RGN_DIFF);
  };
  if (vertical) cut(vertical->Rect);
  if (horizontal) cut(horizontal->Rect);
  if (vertical && horizontal) cut(RECT{vertical->Rect.left, horizontal->Rect.top, vertical->Rect.right, horizontal->Rect.bottom});
  const std::shared_ptr<bool> alive = AliveToken();
  TMessage native = m;
  native.WParam = reinterpret_cast<WPARAM>(clip.Get());
  CallPrevious(native);
  m.Result = native.Result;
  if (*alive) Paint(nullptr);
  return true;
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lastCode_ == SB_ENDSCROLL) lastCode_ = -1;
      Paint(nullptr);
      break;
    case WM_PRINT:
      PrintNonClient(*this, m);
      break;
    // The control redraws its bars itself whenever its content moves (without a WM_NCPAINT):
    // draw over them again.
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_SIZE:
    case WM_SETTEXT:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_ENABLE:
    case EM_LINESCROLL:
    case EM_SCROLL:
    case EM_SCROLLCARET:
    case EM_REPLACESEL:
    case EM_SETSEL:
      Paint(nullptr);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      ReadState();
      Paint(nullptr);
      break;
    default:
      break;
  }
}

void TSkinScrollbar::DrawBar(HDC dc, const TScrollBarView& v) {
  const int held = lastHorizontal_ == v.Horizontal && lastCode_ == SB_LINEUP     ? 1
                   : lastHorizontal_ == v.Horizontal && lastCode_ == SB_LINEDOWN ? 2
                                                                                 : 0;
  TBitmap32 bmp = ComposeScrollBar(Skin(), v, held, dragging_ && dragHorizontal_ == v.Horizontal);
  TOffscreen off;
  if (!off.Ensure(bmp.Width, bmp.Height)) return;
  off.Put(bmp, 0, 0);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, v.Rect.left, v.Rect.top, v.Rect.right - v.Rect.left, v.Rect.bottom - v.Rect.top, off.DC(), 0, 0,
             bmp.Width, bmp.Height, SRCCOPY);
}

void TSkinScrollbar::DrawControl(HDC dc, const RECT&) {
  if (!Skin().Scrollbar) return;
  std::optional<TScrollBarView> vert = Bar(false), horz = Bar(true);
  if (vert) DrawBar(dc, *vert);
  if (horz) DrawBar(dc, *horz);
  if (vert && horz) {
    RECT corner{vert->Rect.left, horz->Rect.top, vert->Rect.right, horz->Rect.bottom};
    FillColour(dc, corner, Colours().ButtonFace);
  }
}

void TSkinScrollbar::DragThumb(int bar, const TScrollBarView& view, const RECT& barScreen, POINT down) {
  // Everything the loop needs after this object may be gone is copied first.
  const HWND h = handle_;
  const std::shared_ptr<bool> alive = AliveToken();
  const bool horizontal = view.Horizontal;
  const UINT notify = horizontal ? WM_HSCROLL : WM_VSCROLL;
  const HWND target = NotifyTarget();
  const LPARAM lp = NotifyLParam();
  const ScrollInfo si = view.Info;
  const int startAlong = AlongBar(horizontal, barScreen, down);
  const int startOffset = view.Parts.ThumbStart - view.Parts.TrackStart;
  const int usable = view.Parts.Usable();
  int pos = si.Pos;

  dragging_ = true;
  dragHorizontal_ = horizontal;
  Paint(nullptr);
  SetCapture(h);
  bool quit = false;
  WPARAM quitCode = 0;
  // Ends on release, and also when the capture goes elsewhere or the window (or this skin) is
  // destroyed: a loop waiting for a button-up that can never come would hang the program.
  while (*alive && IsWindow(h) && GetCapture() == h) {
    MSG msg{};
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      quitCode = msg.wParam;
      break;
    }
    if (got < 0 || msg.message == WM_LBUTTONUP) break;
    if (msg.message == WM_MOUSEMOVE) {
      POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      ClientToScreen(msg.hwnd ? msg.hwnd : h, &pt);
      const std::optional<int> next = ThumbDragPosition(startOffset, AlongBar(horizontal, barScreen, pt) - startAlong,
                                                        usable, si);
      if (next && *next != pos) {
        pos = *next;
        TrackThumb(bar, pos);  // the loop's condition has just seen this object alive
        if (*alive) Paint(nullptr);
      }
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  const bool windowLives = IsWindow(h) != FALSE;
  if (windowLives && GetCapture() == h) ReleaseCapture();
  if (*alive) dragging_ = false;
  if (windowLives) {
    SendMessageA(target, notify, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos)), lp);
    PostMessageA(target, notify, MAKEWPARAM(SB_ENDSCROLL, 0), lp);
    if (*alive) Paint(nullptr);
  }
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

void TSkinScrollbar::TrackThumb(int bar, int pos) {
  SCROLLINFO set{};
  set.cbSize = sizeof(set);
  set.fMask = SIF_POS;
  set.nPos = pos;
  SetScrollInfo(handle_, bar, &set, FALSE);
  SendMessageA(NotifyTarget(), dragHorizontal_ ? WM_HSCROLL : WM_VSCROLL,
               MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos)), NotifyLParam());
}

// ---------------------------------------------------------------------------------------------
// TSkinScControl

std::optional<TScrollBarView> TSkinScControl::ControlBar() const {
  if (!handle_ || !IsWindow(handle_)) return std::nullopt;
  RECT wr{};
  GetWindowRect(handle_, &wr);
  RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  if (r.right <= 0 || r.bottom <= 0 || r.right >= kScrollPaintLimit || r.bottom >= kScrollPaintLimit)
    return std::nullopt;
  const bool horizontal = (GetWindowLongA(handle_, GWL_STYLE) & SBS_VERT) == 0;
  return MakeView(horizontal, r, ReadScrollInfo(handle_, SB_CTL), IsWindowEnabled(handle_) != FALSE);
}

bool TSkinScControl::BeforeMessage(TMessage& m) {
  const bool canDraw = CanDraw() && Skin().Scrollbar != nullptr;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_ERASEBKGND:
      return !PaintWholeControl(*this, m, canDraw);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!thumbDragging_ || !canDraw) return true;
      std::optional<TScrollBarView> view = ControlBar();
      if (!view) return true;
      const RECT screen = ToScreen(handle_, view->Rect);
      POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      ClientToScreen(handle_, &pt);
      const ScrollHit hit = ClassifyScrollPoint(view->Parts, AlongBar(view->Horizontal, screen, pt));
      if (hit != ScrollHit::Thumb) return true;
      m.Result = 0;
      DragThumb(SB_CTL, *view, screen, pt);
      return false;
    }
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinScControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    // The native control draws its new thumb at once on these.
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_SETSCROLLINFO:
    case SBM_ENABLE_ARROWS:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      ReadState();
      Paint(nullptr);
      break;
    default:
      break;
  }
}

void TSkinScControl::DrawControl(HDC dc, const RECT&) {
  if (!Skin().Scrollbar) return;
  if (std::optional<TScrollBarView> v = ControlBar()) DrawBar(dc, *v);
}

// ---------------------------------------------------------------------------------------------
// TSkinProgress

int TSkinProgress::Style() const { return Skin().Progress ? Skin().Progress->Style : 0; }

bool TSkinProgress::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_ERASEBKGND:
      return !PaintWholeControl(*this, m, CanDraw() && Skin().Progress != nullptr);
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinProgress::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT:
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
    case WM_ENABLE:
      Paint(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinProgress::DrawControl(HDC dc, const RECT& r) {
  if (!Skin().Progress) return;
  const TDataSkinBorder& pr = *Skin().Progress;
  const int w = r.right, h = r.bottom;
  const int position = static_cast<int>(SendMessageA(handle_, PBM_GETPOS, 0, 0));
  const int upper = static_cast<int>(SendMessageA(handle_, PBM_GETRANGE, FALSE, 0));
  const bool vertical = (GetWindowLongA(handle_, GWL_STYLE) & PBS_VERTICAL) != 0;
  const TRectI fill = ProgressFillRect(w, h, position, upper, vertical);
  TBitmap32 bmp(w, h, SkinColourPixel(Colours().ButtonFace));
  const TRectI whole{0, 0, w, h};
  if (Style() == 1) {
    TNinePart bar = NinePartOf(pr, true);
    bar.FrameCount = 1;
    RenderNinePart(bmp, whole, bar, 1);
    const TBitmap32& chunk = pr.Image2;
    if (!fill.Empty() && !chunk.Empty()) {
      const TRectI src{0, 0, chunk.Width, chunk.Height};
      if (vertical) {
        // Stacked upwards from BottomHeight above the bottom, centred across the bar.
        const int left = ProgressChunkTop(w, chunk.Width);
        for (int from : ProgressChunkLefts(fill.Height(), chunk.Height, pr.BottomHeight)) {
          const int top = h - from - chunk.Height;
          StretchCopy(bmp, TRectI{left, top, left + chunk.Width, top + chunk.Height}, chunk, src, pr.Trans != 0);
        }
      } else {
        const int top = ProgressChunkTop(h, chunk.Height);
        for (int left : ProgressChunkLefts(fill.Width(), chunk.Width, pr.LeftWidth)) {
          StretchCopy(bmp, TRectI{left, top, left + chunk.Width, top + chunk.Height}, chunk, src, pr.Trans != 0);
        }
      }
    }
  } else {
    TNinePart bar = NinePartOf(pr, pr.Trans != 0);
    if (bar.FrameCount < 2) bar.FrameCount = 2;
    RenderNinePart(bmp, whole, bar, 1);
    if (!fill.Empty()) RenderNinePart(bmp, fill, bar, 2);
  }
  BlitComposed(dc, bmp, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// TSkinUpDown

bool TSkinUpDown::Horizontal() const { return (GetWindowLongA(handle_, GWL_STYLE) & UDS_HORZ) != 0; }

int TSkinUpDown::ButtonAt(LPARAM clientPoint) const {
  RECT cr{};
  GetClientRect(handle_, &cr);
  UpDownGeometry g = LayoutUpDown(cr.right, cr.bottom, Horizontal());
  const int x = GET_X_LPARAM(clientPoint), y = GET_Y_LPARAM(clientPoint);
  auto in = [&](const TRectI& r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
  return in(g.First) ? 1 : in(g.Second) ? 2 : 0;
}

bool TSkinUpDown::BeforeMessage(TMessage& m) {
  const TDataSkinBorder* entry = nullptr;
  if (data_ && handle_) entry = Horizontal() ? Skin().UpDownHorz.get() : Skin().UpDownVert.get();
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_ERASEBKGND:
      return !PaintWholeControl(*this, m, CanDraw() && entry != nullptr);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      held_ = ButtonAt(m.LParam);
      return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      held_ = 0;
      return true;
    case WM_MOUSEMOVE: {
      const int hot = ButtonAt(m.LParam);
      if (hot != hot_) {
        hot_ = hot;
        TrackMouseLeave(handle_);
        Paint(nullptr);
      }
      return true;
    }
    case WM_MOUSELEAVE:
      hot_ = 0;
      Paint(nullptr);
      return true;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinUpDown::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      Paint(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& r) {
  const TDataSkinBorder* entry = Horizontal() ? Skin().UpDownHorz.get() : Skin().UpDownVert.get();
  if (!entry) return;
  TBitmap32 bmp(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace));
  TNinePart part = NinePartOf(*entry, entry->Trans != 0);
  part.FrameCount = 8;
  UpDownGeometry g = LayoutUpDown(r.right, r.bottom, Horizontal());
  const TRectI buttons[2] = {g.First, g.Second};
  for (int i = 0; i < 2; ++i) {
    const TRectI& b = buttons[i];
    const int frame = UpDownFrame(i == 1, enabled_, held_ == i + 1, hot_ == i + 1);
    RenderNinePart(bmp, b, part, frame);
    if (!entry->Image2.Empty()) {
      TRectI cell = FrameCell(entry->Image2, 8, frame, false);
      StretchCopy(bmp, CentreIn(b, cell.Width(), cell.Height()), entry->Image2, cell, true);
    }
  }
  BlitComposed(dc, bmp, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// TSkinSizer

bool TSkinSizer::BeforeMessage(TMessage& m) {
  // Only size grips: a plain scroll bar of a foreign window keeps its own look.
  const bool grip = handle_ && (GetWindowLongA(handle_, GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_ERASEBKGND:
      return !PaintWholeControl(*this, m, CanDraw() && grip);
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinSizer::DrawControl(HDC dc, const RECT& r) {
  const TPixel shadow = SkinColourPixel(Colours().ButtonShadow);
  TBitmap32 bmp(r.right, r.bottom, SkinColourPixel(Colours().ButtonFace));
  // Three diagonal grip lines, two pixels wide, towards the bottom-right corner.
  for (int y = 0; y < bmp.Height; ++y)
    for (int x = 0; x < bmp.Width; ++x) {
      const int d = (bmp.Width - 1 - x) + (bmp.Height - 1 - y);
      if (d >= 2 && d <= 11 && (d % 4 == 2 || d % 4 == 3)) bmp.At(x, y) = shadow;
    }
  BlitComposed(dc, bmp, 0, 0);
}

}  // namespace zelvo
