#include "skin/engine/SkinMenuBar.h"

#include <algorithm>
#include <cctype>

#include "skin/engine/MenuSkin.h"
#include "skin/engine/Offscreen.h"
#include "skin/engine/SkinEngine.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/WindowFacts.h"
#include "skin/render/FormSkin_core.h"
#include "skin/render/NinePart.h"
#include "util/Util.h"

namespace zelvo {

namespace {

// The menu bar whose submenu is being tracked (one at a time on the thread).
TSkinMenuBar* gTracking = nullptr;

// How long the keyboard mode's loop waits for a message before it looks again whether the
// window still has the mouse and the activation.
constexpr DWORD kKeyboardIdleCheckMs = 250;

struct PopupList {
  std::vector<HWND> windows;
};
BOOL CALLBACK CollectPopups(HWND h, LPARAM lp) {
  if (IsWindowVisible(h) && WindowClassName(h) == "#32768") reinterpret_cast<PopupList*>(lp)->windows.push_back(h);
  return TRUE;
}

// A screen point in the window's own coordinates (the frame's, where the buttons lie).
POINT ScreenToWindowPoint(HWND window, POINT screen) {
  RECT wr{};
  GetWindowRect(window, &wr);
  return POINT{screen.x - wr.left, screen.y - wr.top};
}

}  // namespace

char TMenuBtn::Accelerator() const {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(AcceleratorChar(Caption))));
}

TSkinMenuBar::TSkinMenuBar(ISkinEngine& engine, HWND window, TSkinData& data)
    : engine_(&engine), window_(window), data_(&data) {}

TSkinMenuBar::~TSkinMenuBar() {
  *alive_ = false;
  if (keyboard_ && GetCapture() == window_) ReleaseCapture();
  // Freed from inside its own loop (the window went): the other frames get their hover back.
  if (keyboard_ || tracking_) engine_->SetMenuTracking(false);
  filter_.Reset();
  if (gTracking == this) gTracking = nullptr;
}

bool TSkinMenuBar::TakeOver() {
  TTakenMenu taken = TTakenMenu::Take(window_);
  if (!taken) return false;
  Rebuild(taken.Get());
  taken_ = std::move(taken);
  return true;
}

void TSkinMenuBar::GiveBack() { taken_.GiveBack(); }

void TSkinMenuBar::Rebuild(HMENU menu) {
  menu_ = menu;
  buttons_.clear();
  const int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    char text[TMenuBtn::kMaxCaption + 1] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (state & MF_SEPARATOR) continue;
    TMenuBtn b;
    b.Caption = text;
    b.Enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
    b.SubMenu = GetSubMenu(menu, i);
    b.CommandId = b.SubMenu ? 0 : GetMenuItemID(menu, i);
    b.Index = i;
    buttons_.push_back(std::move(b));
  }
  if (bar_.right > bar_.left) Layout(bar_);
}

void TSkinMenuBar::Layout(const RECT& bar) {
  bar_ = bar;
  TMenuBarInput in;
  in.BarWidth = bar.right - bar.left;
  in.BarHeight = bar.bottom - bar.top;
  in.Entry = data_->Skin().MenuBar.get();
  const TTextMeasure measure(SkinMenuFont());
  for (const TMenuBtn& b : buttons_) in.TextWidths.push_back(measure.DrawnSize(b.Caption).cx);
  const std::vector<TMenuButtonPlace> places = LayoutMenuBar(in);
  for (size_t i = 0; i < buttons_.size() && i < places.size(); ++i) {
    const TRectI& r = places[i].Rect;
    buttons_[i].Rect = RECT{bar.left + r.left, bar.top + r.top, bar.left + r.right, bar.top + r.bottom};
    buttons_[i].Visible = places[i].Visible;
  }
}

void TSkinMenuBar::Paint(HDC dc, const RECT& bar, bool active) {
  const int w = bar.right - bar.left, h = bar.bottom - bar.top;
  if (w <= 0 || h <= 0 || !dc) return;
  const TSkinColours& colours = data_->Colours();
  TBitmap32 background(w, h);
  RenderMenuBarBackground(background, TRectI{0, 0, w, h}, data_->Skin().MenuBar.get(), active,
                          PixelOf(colours.Menubar));
  const UniqueGdi<HBITMAP> bmp = CreateGdiBitmap(background);
  if (const UniqueDC mem = CompatibleDC(dc)) {
    const ScopedSelect select(mem.Get(), bmp.Get());
    BitBlt(dc, bar.left, bar.top, w, h, mem.Get(), 0, 0, SRCCOPY);
  }
  // Mode, font and colour go back as they were when the bar is drawn.
  const SavedDC saved(dc);
  SetBkMode(dc, TRANSPARENT);
  const ScopedSelect font(dc, SkinMenuFont());
  const UniqueGdi<HBRUSH> frame(CreateSolidBrush(ColorToRGB(colours.ButtonHilight)));
  // Buttons are laid out against the bar given to Layout; painting may place the bar elsewhere
  // (an off-screen canvas), so they move with it.
  const int dx = bar.left - bar_.left, dy = bar.top - bar_.top;
  for (const TMenuBtn& b : buttons_) {
    if (!b.Visible) continue;
    RECT r{b.Rect.left + dx, b.Rect.top + dy, b.Rect.right + dx, b.Rect.bottom + dy};
    SetTextColor(dc, ColorToRGB(b.Enabled ? colours.MenuBarText : colours.ButtonShadow));
    DrawTextA(dc, b.Caption.c_str(), static_cast<int>(b.Caption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (b.State == TMenuBtn::kHot || b.State == TMenuBtn::kPressed) FrameRect(dc, &r, frame.Get());
  }
}

TMenuBtn* TSkinMenuBar::HitTest(POINT window) {
  for (TMenuBtn& b : buttons_) {
    if (b.Visible && PtInRect(&b.Rect, window)) return &b;
  }
  return nullptr;
}

TMenuBtn* TSkinMenuBar::FindAccelerator(char ch) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  for (TMenuBtn& b : buttons_) {
    if (b.Visible && b.Accelerator() == lower) return &b;
  }
  return nullptr;
}

void TSkinMenuBar::MouseMove(TMenuBtn* button) {
  bool changed = false;
  for (TMenuBtn& b : buttons_) {
    const uint8_t want = (&b == button) ? (b.State == TMenuBtn::kPressed ? TMenuBtn::kPressed : TMenuBtn::kHot)
                                        : TMenuBtn::kNormal;
    changed = changed || b.State != want;
    b.State = want;
  }
  if (changed) PostMessageA(window_, SKIN_REPAINTFRAME, 0, 0);
}

void TSkinMenuBar::MouseLeave() { MouseMove(nullptr); }

void TSkinMenuBar::MouseDown(TMenuBtn* button) {
  if (!button || tracking_) return;
  const size_t index = static_cast<size_t>(button - buttons_.data());
  if (index >= buttons_.size()) return;
  if (!button->SubMenu) {
    if (button->Enabled) PostMessageA(window_, WM_COMMAND, button->CommandId, 0);
    return;
  }
  (void)Track(index);
}

size_t TSkinMenuBar::Neighbour(size_t from, int step, bool withSubmenu) const {
  const int n = static_cast<int>(buttons_.size());
  for (int k = 1; k <= n; ++k) {
    int i = (static_cast<int>(from) + step * k) % n;
    if (i < 0) i += n;
    const TMenuBtn& b = buttons_[static_cast<size_t>(i)];
    if (b.Visible && (!withSubmenu || (b.SubMenu && b.Enabled))) return static_cast<size_t>(i);
  }
  return from;
}

WPARAM TSkinMenuBar::VisualKey(WPARAM key) const {
  if (!(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) return key;
  return key == VK_LEFT ? VK_RIGHT : key == VK_RIGHT ? VK_LEFT : key;
}

void TSkinMenuBar::SwitchTo(size_t index) {
  if (index == current_) return;
  switchTo_ = index;
  EndMenu();
}

bool TSkinMenuBar::Track(size_t index) {
  // Switching to a neighbour closes the open submenu and opens the other one in this loop.
  const std::shared_ptr<bool> alive = alive_;
  tracking_ = true;
  escaped_ = false;
  for (size_t i = index; i < buttons_.size();) {
    TMenuBtn& b = buttons_[i];
    current_ = i;
    switchTo_ = SIZE_MAX;
    firstFiltered_ = true;
    for (TMenuBtn& o : buttons_) o.State = TMenuBtn::kNormal;
    b.State = TMenuBtn::kPressed;
    SendMessageA(window_, SKIN_REPAINTFRAME, 0, 0);
    if (b.Enabled && b.SubMenu) {
      engine_->SetMenuTracking(true);
      gTracking = this;
      filter_ = UniqueHook(SetWindowsHookExA(WH_MSGFILTER, &TSkinMenuBar::FilterProc, nullptr, GetCurrentThreadId()));
      POINT p{b.Rect.left, b.Rect.bottom};
      RECT wr{};
      GetWindowRect(window_, &wr);
      p.x += wr.left;
      p.y += wr.top;
      const UINT cmd = static_cast<UINT>(TrackPopupMenu(
          b.SubMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_RETURNCMD, p.x, p.y, 0,
          window_, nullptr));
      if (!*alive) return false;
      filter_.Reset();
      gTracking = nullptr;
      engine_->SetMenuTracking(false);
      if (cmd != 0) PostMessageA(window_, WM_COMMAND, cmd, 0);
    }
    if (i >= buttons_.size()) break;
    buttons_[i].State = TMenuBtn::kNormal;
    if (switchTo_ == SIZE_MAX || switchTo_ >= buttons_.size()) break;
    i = switchTo_;
  }
  tracking_ = false;
  SendMessageA(window_, SKIN_REPAINTFRAME, 0, 0);
  return escaped_;
}

void TSkinMenuBar::KeyboardMode() {
  if (buttons_.empty()) return;
  const size_t first = Neighbour(buttons_.size() - 1, 1, false);
  if (buttons_[first].Visible) RunKeyboardMode(first, false);
}

bool TSkinMenuBar::OpenAccelerator(char ch) {
  TMenuBtn* button = FindAccelerator(ch);
  if (!button) return false;
  if (button->SubMenu) {
    RunKeyboardMode(static_cast<size_t>(button - buttons_.data()), true);
  } else {
    MouseDown(button);
  }
  return true;
}

void TSkinMenuBar::RunKeyboardMode(size_t index, bool openAtOnce) {
  if (tracking_ || keyboard_) return;
  // The system's menu bar runs a loop of its own while it has the keyboard, and so does this
  // one: keys and clicks go to the bar, everything else is dispatched as usual.
  const std::shared_ptr<bool> alive = alive_;
  keyboard_ = true;
  engine_->SetMenuTracking(true);
  SetCapture(window_);
  Highlight(index);
  TKeyStep step = openAtOnce ? TKeyStep::Open : TKeyStep::Stay;
  MSG msg{};
  while (step != TKeyStep::Leave) {
    if (step == TKeyStep::Open) {
      const bool escaped = Track(index);
      if (!*alive) return;
      if (!escaped) break;
      // Escape closed the submenu: the bar keeps the keyboard on the button last open.
      index = current_;
      engine_->SetMenuTracking(true);
      SetCapture(window_);
      Highlight(index);
      step = TKeyStep::Stay;
    }
    // Another window took the mouse or the activation (the mode ends without a message for it).
    if (index >= buttons_.size() || GetCapture() != window_ || GetActiveWindow() != window_) break;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kKeyboardIdleCheckMs, QS_ALLINPUT);
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the loop outside ends too
      break;
    }
    step = KeyboardStep(msg, index);
    if (step == TKeyStep::Dispatch) {
      DispatchMessageA(&msg);
      if (!*alive) return;
    }
  }
  keyboard_ = false;
  if (GetCapture() == window_) ReleaseCapture();
  engine_->SetMenuTracking(false);
  for (TMenuBtn& b : buttons_) b.State = TMenuBtn::kNormal;
  SendMessageA(window_, SKIN_REPAINTFRAME, 0, 0);
}

TSkinMenuBar::TKeyStep TSkinMenuBar::KeyboardStep(MSG& msg, size_t& index) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      switch (VisualKey(msg.wParam)) {
        case VK_LEFT:
        case VK_RIGHT:
          index = Neighbour(index, VisualKey(msg.wParam) == VK_RIGHT ? 1 : -1, false);
          Highlight(index);
          return TKeyStep::Stay;
        case VK_DOWN:
        case VK_UP:
          return buttons_[index].SubMenu && buttons_[index].Enabled ? TKeyStep::Open : TKeyStep::Stay;
        case VK_RETURN:
          return Choose(index);
        case VK_ESCAPE:
          return TKeyStep::Leave;
        case VK_MENU:
        case VK_F10:
          // A held Alt repeats; a new press leaves, as on the system's bar.
          return (msg.lParam & (1L << 30)) ? TKeyStep::Stay : TKeyStep::Leave;
        default:
          TranslateMessage(&msg);  // letters come back as characters
          return TKeyStep::Stay;
      }
    case WM_CHAR:
    case WM_SYSCHAR: {
      if (msg.wParam <= ' ') return TKeyStep::Stay;
      TMenuBtn* button = FindAccelerator(static_cast<char>(msg.wParam));
      if (!button) {
        MessageBeep(0);  // as the system's bar answers a letter it has no item for
        return TKeyStep::Stay;
      }
      index = static_cast<size_t>(button - buttons_.data());
      Highlight(index);
      return Choose(index);
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return TKeyStep::Stay;
    case WM_MOUSEMOVE:
      if (TMenuBtn* over = HitTest(MousePoint(msg))) {
        const size_t i = static_cast<size_t>(over - buttons_.data());
        if (i != index) Highlight(index = i);
      }
      return TKeyStep::Stay;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      // A click on a button chooses it; anywhere else it ends the mode and goes no further.
      if (TMenuBtn* over = HitTest(MousePoint(msg))) {
        index = static_cast<size_t>(over - buttons_.data());
        Highlight(index);
        return Choose(index);
      }
      return TKeyStep::Leave;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return TKeyStep::Stay;
    default:
      return TKeyStep::Dispatch;
  }
}

TSkinMenuBar::TKeyStep TSkinMenuBar::Choose(size_t index) {
  const TMenuBtn& b = buttons_[index];
  if (b.SubMenu) return b.Enabled ? TKeyStep::Open : TKeyStep::Stay;
  if (b.Enabled) PostMessageA(window_, WM_COMMAND, b.CommandId, 0);
  return TKeyStep::Leave;
}

void TSkinMenuBar::Highlight(size_t index) {
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i].State = i == index ? TMenuBtn::kHot : TMenuBtn::kNormal;
  SendMessageA(window_, SKIN_REPAINTFRAME, 0, 0);
}

POINT TSkinMenuBar::MousePoint(const MSG& msg) const {
  POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
  ClientToScreen(msg.hwnd, &p);
  return ScreenToWindowPoint(window_, p);
}

LRESULT CALLBACK TSkinMenuBar::FilterProc(int code, WPARAM wp, LPARAM lp) {
  TSkinMenuBar* bar = gTracking;
  if (bar && code == MSGF_MENU && lp) {
    bool swallow = false;
    try {
      swallow = bar->OnFilter(*reinterpret_cast<const MSG*>(lp));
    } catch (...) {
      swallow = false;  // switching is a convenience; the menu goes on as the system runs it
    }
    if (swallow) return 1;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

bool TSkinMenuBar::OnFilter(const MSG& msg) {
  if (firstFiltered_) {
    // Selects the first item, as a keyboard-opened menu would.
    firstFiltered_ = false;
    PostMessageA(msg.hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  switch (msg.message) {
    case WM_KEYDOWN: {
      PopupList popups;
      EnumThreadWindows(GetCurrentThreadId(), &CollectPopups, reinterpret_cast<LPARAM>(&popups));
      const WPARAM key = VisualKey(msg.wParam);
      if (key == VK_ESCAPE && popups.windows.size() <= 1) {
        escaped_ = true;  // the submenu closes; the bar keeps the keyboard when it had it
        return false;
      }
      if (key == VK_LEFT && popups.windows.size() <= 1) {
        SwitchTo(Neighbour(current_, -1, true));
        return true;
      }
      if (key == VK_RIGHT) {
        // Only when the selected item of the innermost submenu opens nothing itself.
        bool selectedHasSubmenu = false;
        if (!popups.windows.empty()) {
          HMENU inner = reinterpret_cast<HMENU>(SendMessageA(popups.windows.front(), kMenuGetMenu, 0, 0));
          const int n = inner ? GetMenuItemCount(inner) : 0;
          for (int i = 0; i < n; ++i) {
            if (GetMenuState(inner, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) {
              selectedHasSubmenu = GetSubMenu(inner, i) != nullptr;
            }
          }
        }
        if (!selectedHasSubmenu) {
          SwitchTo(Neighbour(current_, 1, true));
          return true;
        }
      }
      return false;
    }
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_MENU) {
        EndMenu();
        return true;
      }
      return false;
    case WM_MOUSEMOVE: {
      TMenuBtn* over = HitTest(ScreenToWindowPoint(window_, msg.pt));
      if (over && over->SubMenu && over->Enabled) {
        const size_t i = static_cast<size_t>(over - buttons_.data());
        if (i != current_) {
          SwitchTo(i);
          return true;
        }
      }
      return false;
    }
    default:
      return false;
  }
}

}  // namespace zelvo
