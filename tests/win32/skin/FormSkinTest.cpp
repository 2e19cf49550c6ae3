// The skinned window frame on real windows under Wine: what the frame makes of a window (region,
// client area, hit zones, painted pixels), what its buttons and the system menu do, message boxes
// widened for a long caption, a detach that gives the window back unchanged, the chain of
// window procedures kept whole whoever subclassed the window after the skin, and paints that fail
// part-way holding on to nothing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "../Win32TestSupport.h"
#include "ProgramSkinTest.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/Menus.h"
#include "framework/Subclass.h"
#include "reginfo/RegInfo.h"
#include "skin/engine/FormSkin.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/SkinMenuBar.h"
#include "util/WinUtil.h"

using namespace zelvo;
using namespace zelvo::test;

// Allocation refused on demand, for the paint that must survive one. Every allocation of this
// test program goes through here; RefuseAllocation(n) makes the n-th one from then on throw
// std::bad_alloc, once.
namespace {
long g_untilRefusal = 0;  // > 0: allocations to go, the last of them refused
void RefuseAllocation(long n) { g_untilRefusal = n; }
// True when the refusal asked for has happened; ends a refusal that has not.
bool RefusalHappened() { return std::exchange(g_untilRefusal, 0) == 0; }
}  // namespace

void* operator new(std::size_t size) {
  if (g_untilRefusal > 0 && --g_untilRefusal == 0) throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr char kClass[] = "ZelvoFormSkinTestWindow";

// What the window procedure under the skin saw (messages it received, in order).
struct Seen {
  std::vector<UINT> messages;
  std::vector<WPARAM> ncButtonDownHit;
  bool swallowNcButtonDown = false;
  int count(UINT msg) const { return static_cast<int>(std::count(messages.begin(), messages.end(), msg)); }
};
Seen* g_seen = nullptr;

LRESULT CALLBACK BaseProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (g_seen) {
    g_seen->messages.push_back(msg);
    if (msg == WM_NCLBUTTONDOWN) {
      g_seen->ncButtonDownHit.push_back(wp);
      if (g_seen->swallowNcButtonDown) return 0;
    }
  }
  return DefWindowProcA(h, msg, wp, lp);
}

void RegisterTestClass() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = BaseProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  done = true;
}

constexpr DWORD kCaptionStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

HWND MakeWindow(const char* caption, DWORD style = kCaptionStyle, HMENU menu = nullptr, int w = 418, int h = 275) {
  RegisterTestClass();
  HWND wnd = CreateWindowExA(0, kClass, caption, style, 60, 60, w, h, nullptr, menu, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(wnd, SW_SHOW);
  SetForegroundWindow(wnd);
  UpdateWindow(wnd);
  return wnd;
}

SIZE ClientSize(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  return SIZE{r.right, r.bottom};
}

// The program's own skin, as the main window stores it.
class FormSkinTest : public ProgramSkinTest {
 protected:
  void SetUp() override {
    ProgramSkinTest::SetUp();
    if (HasFatalFailure()) return;
    g_seen = &seen;
  }
  void TearDown() override {
    g_seen = nullptr;
    skins.clear();
    for (HWND h : windows)
      if (IsWindow(h)) DestroyWindow(h);
    ProgramSkinTest::TearDown();
  }

  // Skins a window as the manager does: attach, then the posted set-up message.
  TFormSkin& Skin(HWND h, TForm* form = nullptr) {
    skins.push_back(std::make_unique<TFormSkin>(*manager, h, *data, form));
    TFormSkin& s = *skins.back();
    s.Attach();
    PostMessageA(h, SKIN_INIT, 0, kSkinInitLParam);
    PumpFor(60);
    return s;
  }
  HWND Window(const char* caption, DWORD style = kCaptionStyle, HMENU menu = nullptr) {
    HWND h = MakeWindow(caption, style, menu);
    windows.push_back(h);
    PumpFor(30);
    return h;
  }
  // Screen coordinates of the centre of a caption button with this action.
  static POINT ButtonCentre(TFormSkin& s, int32_t action) {
    for (const auto& b : s.CaptionButtons())
      if (b->Visible && b->Action() == action) {
        RECT wr{};
        GetWindowRect(s.Handle(), &wr);
        return POINT{wr.left + (b->Rect.left + b->Rect.right) / 2, wr.top + (b->Rect.top + b->Rect.bottom) / 2};
      }
    ADD_FAILURE() << "no visible button with action " << action;
    return POINT{-1, -1};
  }
  static TCaptionButton* Button(TFormSkin& s, int32_t action) {
    for (const auto& b : s.CaptionButtons())
      if (b->Visible && b->Action() == action) return b.get();
    return nullptr;
  }
  static void Click(HWND h, POINT screen, UINT down = WM_NCLBUTTONDOWN) {
    LPARAM lp = MAKELPARAM(screen.x, screen.y);
    WPARAM hit = static_cast<WPARAM>(SendMessageA(h, WM_NCHITTEST, 0, lp));
    SendMessageA(h, down, hit, lp);
    SendMessageA(h, WM_NCLBUTTONUP, hit, lp);
  }

  Seen seen;
  std::vector<std::unique_ptr<TFormSkin>> skins;
  std::vector<HWND> windows;
};

// The window's frame as the frame draws it for WM_PRINT, in window coordinates.
TPrinted CaptureFrame(HWND h) { return PrintWindowPixels(h, WM_PRINT, PRF_NONCLIENT); }

// Number of pixels of frame `frame` of the button's image (magenta skipped) that differ from the
// capture at the button's place, and how many were compared.
std::pair<int, int> CompareButton(const TPrinted& c, const TCaptionButton& b, int frame) {
  const TBitmap32& img = b.Skin().Image;
  int frames = std::max(1, b.Skin().FrameCount);
  int cw = img.Width / frames;
  int differ = 0, compared = 0;
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < cw; ++x) {
      TPixel p = img.At((frame - 1) * cw + x, y);
      if (p == kMagenta) continue;
      int wx = b.Rect.left + x, wy = b.Rect.top + y;
      if (wx < 0 || wy < 0 || wx >= c.width || wy >= c.height) continue;
      ++compared;
      if (c.At(wx, wy) != RGB(PixelRed(p), PixelGreen(p), PixelBlue(p))) ++differ;
    }
  return {differ, compared};
}

}  // namespace

// Attaching strips the system caption and keeps the client area; the region is the one the frame
// arithmetic asks for, in the window's own coordinates.
TEST_F(FormSkinTest, SkinningKeepsClientSizeAndSetsTheComputedRegion) {
  HWND h = Window("Region");
  SIZE before = ClientSize(h);
  TFormSkin& s = Skin(h);
  ASSERT_EQ(s.State(), TFormSkinState::Active);
  EXPECT_EQ(SendMessageA(h, SKIN_QUERY, 0, 0), 1);
  SIZE after = ClientSize(h);
  EXPECT_EQ(after.cx, before.cx);
  EXPECT_EQ(after.cy, before.cy);
  EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & WS_CAPTION, 0) << "an unowned window loses its caption bits";
  // The client area sits inside the skin's frame thickness.
  RECT wr{}, cr{};
  GetWindowRect(h, &wr);
  GetClientRect(h, &cr);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  EXPECT_EQ(origin.x - wr.left, s.Thickness().Left);
  EXPECT_EQ(origin.y - wr.top, s.Thickness().Top);
  EXPECT_EQ(wr.right - wr.left, cr.right + s.Thickness().Left + s.Thickness().Right);
  EXPECT_EQ(wr.bottom - wr.top, cr.bottom + s.Thickness().Top + s.Thickness().Bottom);

  // The region set on the window equals the region built from the frame rectangles.
  HRGN actual = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(h, actual), ERROR);
  // Natively: the frame composed for the active window at this size, its rectangles.
  TFrameInput in;
  in.Width = wr.right - wr.left;
  in.Height = wr.bottom - wr.top;
  in.Style = kCaptionStyle;
  in.HasSystemMenu = true;
  in.CaptionTextWidth = 40;
  in.CaptionTextHeight = 13;
  TFrameLayout layout = LayoutFrame(data->Skin(), in);
  TBitmap32 composed(in.Width, in.Height, 0);
  ComposeFrame(composed, data->Skin(), layout, in);
  std::vector<TRectI> rects = FrameRegion(data->Skin(), layout, in, &composed);
  HRGN expected = CreateRectRgn(0, 0, 0, 0);
  for (const TRectI& r : rects) {
    HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    CombineRgn(expected, expected, part, RGN_OR);
    DeleteObject(part);
  }
  EXPECT_TRUE(EqualRgn(actual, expected));
  // The corners are cut: the skin's frame has magenta corners, so the very corner is outside.
  EXPECT_FALSE(PtInRegion(actual, 0, 0));
  EXPECT_TRUE(PtInRegion(actual, (wr.right - wr.left) / 2, 1));
  DeleteObject(actual);
  DeleteObject(expected);
}

// Resizing a skinned window, larger and smaller: each size change paints the frame once and
// erases the client at most once (the shape for the new size is set before the window takes it, not after with a
// repaint of its own), the region is the one the frame asks for at the new size, and what the
// screen shows along the new bottom and right edges is the frame as it prints.
TEST_F(FormSkinTest, ResizePaintsOnceWithTheNewShape) {
  HWND h = Window("Resized", kCaptionStyle | WS_THICKFRAME);
  TFormSkin& s = Skin(h);
  int ncpaint = 0, erase = 0;
  TWindowSubclass counter(h, [&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    ncpaint += msg == WM_NCPAINT;
    erase += msg == WM_ERASEBKGND;
    return TWindowSubclass::CallNext(w, msg, wp, lp);
  });
  RECT start{};
  GetWindowRect(h, &start);
  for (SIZE change : {SIZE{37, 23}, SIZE{-61, -41}, SIZE{5, 0}}) {
    RECT wr{};
    GetWindowRect(h, &wr);
    const int w = wr.right - wr.left + change.cx, hgt = wr.bottom - wr.top + change.cy;
    ncpaint = erase = 0;
    SetWindowPos(h, nullptr, 0, 0, w, hgt, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(h);
    PumpFor(30);
    EXPECT_EQ(ncpaint, 1) << "frame painted once for " << w << "x" << hgt;
    EXPECT_LE(erase, 1) << "client erased at most once for " << w << "x" << hgt;

    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(h, actual), ERROR);
    HRGN expected = CreateRectRgn(0, 0, 0, 0);
    for (const TRectI& r : s.RegionRects()) {
      HRGN part = CreateRectRgn(r.left, r.top, r.right, r.bottom);
      CombineRgn(expected, expected, part, RGN_OR);
      DeleteObject(part);
    }
    RECT box{};
    GetRgnBox(actual, &box);
    EXPECT_TRUE(EqualRgn(actual, expected)) << "region of " << w << "x" << hgt;
    EXPECT_EQ(box.right, w);
    EXPECT_EQ(box.bottom, hgt);
    DeleteObject(actual);
    DeleteObject(expected);

    TPrinted printed = CaptureFrame(h);
    ASSERT_EQ(printed.width, w);
    HDC wdc = GetWindowDC(h);
    int mismatched = 0, checked = 0;
    for (int x = w / 4; x < w * 3 / 4; x += 3) {
      ++checked;
      mismatched += GetPixel(wdc, x, hgt - 2) != printed.At(x, hgt - 2);
    }
    for (int y = hgt / 4; y < hgt * 3 / 4; y += 3) {
      ++checked;
      mismatched += GetPixel(wdc, w - 2, y) != printed.At(w - 2, y);
    }
    ReleaseDC(h, wdc);
    EXPECT_EQ(mismatched, 0) << "of " << checked << " edge pixels at " << w << "x" << hgt;
  }
}

// Hit zones: the top three rows nowhere, the rest of the strip caption, the client client.
TEST_F(FormSkinTest, HitTestAnswersCaptionBelowTheTopRowsAndClientInside) {
  HWND h = Window("Hit test");
  TFormSkin& s = Skin(h);
  RECT wr{};
  GetWindowRect(h, &wr);
  auto hit = [&](int x, int y) {
    return SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
  };
  int mid = (wr.right - wr.left) / 2;
  EXPECT_EQ(hit(mid, 2), HTNOWHERE);
  EXPECT_EQ(hit(mid, 4), HTCAPTION);
  EXPECT_EQ(hit(mid, s.Thickness().Top - 1), HTCAPTION);
  EXPECT_EQ(hit(mid, s.Thickness().Top + 5), HTCLIENT);
}

// The buttons act: close closes, maximize and restore toggle, minimize minimizes.
TEST_F(FormSkinTest, CaptionButtonsMaximizeRestoreMinimizeAndClose) {
  HWND h = Window("Buttons");
  TFormSkin& s = Skin(h);
  Click(h, ButtonCentre(s, 1));
  PumpFor(80);
  EXPECT_TRUE(IsZoomed(h));
  EXPECT_EQ(s.Placement(), TPlacement::Maximized);
  // The restore button replaces the maximize button while maximized.
  s.PaintFrame();
  TCaptionButton* restore = Button(s, 1);
  ASSERT_NE(restore, nullptr);
  EXPECT_EQ(restore->Skin().Visibility, 1);
  Click(h, ButtonCentre(s, 1));
  PumpFor(80);
  EXPECT_FALSE(IsZoomed(h));
  s.PaintFrame();
  Click(h, ButtonCentre(s, 2));
  PumpFor(80);
  EXPECT_TRUE(IsIconic(h));
  ShowWindow(h, SW_RESTORE);
  SetForegroundWindow(h);
  PumpFor(80);
  s.PaintFrame();
  Click(h, ButtonCentre(s, 0));
  PumpFor(80);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(s.State(), TFormSkinState::Dead);
  EXPECT_EQ(seen.count(WM_CLOSE), 1);
}

// A click that ends over another place than where it began does nothing.
TEST_F(FormSkinTest, ReleasingOutsideThePressedButtonDoesNotAct) {
  HWND h = Window("Drag off");
  TFormSkin& s = Skin(h);
  TCaptionButton* button = Button(s, 0);
  ASSERT_NE(button, nullptr);
  POINT close = ButtonCentre(s, 0);
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(close.x, close.y));
  EXPECT_EQ(button->State, TNCObject::kPressed);
  RECT wr{};
  GetWindowRect(h, &wr);
  SendMessageA(h, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM((wr.left + wr.right) / 2, wr.top + 10));
  PumpFor(60);
  EXPECT_TRUE(IsWindow(h));
  EXPECT_EQ(button->State, TNCObject::kNormal);
}

namespace {
HWND g_menuOwner = nullptr;
POINT g_iconPoint{};
int g_menuTicks = 0;
void CALLBACK CloseMenuAndClickAgain(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ++g_menuTicks;
  // The menu is up: end it and click the icon a second time.
  EndMenu();
  LPARAM lp = MAKELPARAM(g_iconPoint.x, g_iconPoint.y);
  PostMessageA(g_menuOwner, WM_NCLBUTTONDBLCLK, HTCAPTION, lp);
  PostMessageA(g_menuOwner, WM_NCLBUTTONUP, HTCAPTION, lp);
}
void CALLBACK CloseMenuOnly(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ++g_menuTicks;
  EndMenu();
}
}  // namespace

// The icon: one click opens the system menu, a second one within the double-click time closes.
TEST_F(FormSkinTest, DoubleClickOnTheIconClosesSingleClickOnlyOpensTheMenu) {
  HWND h = Window("Icon");
  TFormSkin& s = Skin(h);
  g_menuOwner = h;
  g_iconPoint = ButtonCentre(s, 3);
  g_menuTicks = 0;

  SetTimer(nullptr, 0, 50, CloseMenuOnly);
  Click(h, g_iconPoint);
  EXPECT_EQ(g_menuTicks, 1) << "the menu loop ran the timer";
  PumpFor(GetDoubleClickTime() + 100);
  EXPECT_TRUE(IsWindow(h)) << "a single click only shows the menu";

  g_menuTicks = 0;
  SetTimer(nullptr, 0, 50, CloseMenuAndClickAgain);
  Click(h, g_iconPoint);
  PumpFor(150);
  EXPECT_EQ(g_menuTicks, 1);
  EXPECT_FALSE(IsWindow(h));
}

// The skinned system menu: the items, their tags and the shortcut, and what choosing one does.
TEST_F(FormSkinTest, SystemMenuItemsAndCommands) {
  HWND h = Window("System menu");
  TFormSkin& s = Skin(h);
  HMENU menu = s.SystemMenuPopup();
  ASSERT_NE(menu, nullptr);
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_MENUDATA;
  GetMenuInfo(menu, &info);
  EXPECT_EQ(info.dwMenuData, static_cast<ULONG_PTR>(kSkinSystemMenuTag));
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  const UINT ids[] = {SC_RESTORE, SC_MAXIMIZE, SC_MINIMIZE, 0, SC_CLOSE};
  for (int i = 0; i < 5; ++i) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_FTYPE | MIIM_ID;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mi);
    EXPECT_TRUE(mi.fType & MFT_OWNERDRAW) << i;
    if (ids[i]) {
      EXPECT_EQ(mi.wID, ids[i]) << i;
    } else {
      EXPECT_TRUE(mi.fType & MFT_SEPARATOR);
    }
  }
  // Every item is measured: wider than its text, the separator low.
  MEASUREITEMSTRUCT close{ODT_MENU, 0, SC_CLOSE, 0, 0, 0};
  MENUITEMINFOA mi{};
  mi.cbSize = sizeof(mi);
  mi.fMask = MIIM_DATA;
  GetMenuItemInfoA(menu, 4, TRUE, &mi);
  close.itemData = mi.dwItemData;
  EXPECT_TRUE(SendMessageA(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&close)));
  EXPECT_GT(close.itemWidth, 60u) << "caption, shortcut and glyph room";
  GetMenuItemInfoA(menu, 3, TRUE, &mi);
  MEASUREITEMSTRUCT sep{ODT_MENU, 0, 0, 0, 0, mi.dwItemData};
  EXPECT_TRUE(SendMessageA(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&sep)));
  EXPECT_EQ(sep.itemHeight, 8u);

  // A menu command arrives as WM_COMMAND and becomes a system command.
  SendMessageA(h, WM_COMMAND, SC_MAXIMIZE, 0);
  PumpFor(80);
  EXPECT_TRUE(IsZoomed(h));
  EXPECT_EQ(seen.count(WM_COMMAND), 0) << "the skin takes system-command ids out of WM_COMMAND";
  // Right click on the caption shows the menu at the point (ended by the timer).
  g_menuTicks = 0;
  SetTimer(nullptr, 0, 50, CloseMenuOnly);
  RECT wr{};
  GetWindowRect(h, &wr);
  SendMessageA(h, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM((wr.left + wr.right) / 2, wr.top + 10));
  EXPECT_EQ(g_menuTicks, 1);
}

// Hover shows frame 3 of a caption button, an inactive window frame 4, normal frame 1.
TEST_F(FormSkinTest, HoverAndInactiveFramesArePainted) {
  HWND h = Window("Frames");
  TFormSkin& s = Skin(h);
  SendMessageA(h, WM_NCACTIVATE, TRUE, 0);
  TCaptionButton* close = Button(s, 0);
  ASSERT_NE(close, nullptr);
  ASSERT_GE(close->Skin().FrameCount, 4);

  TPrinted normal = CaptureFrame(h);
  auto [d1, n1] = CompareButton(normal, *close, 1);
  EXPECT_GT(n1, 20);
  EXPECT_EQ(d1, 0) << "normal frame 1";

  POINT centre = ButtonCentre(s, 0);
  SendMessageA(h, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(centre.x, centre.y));
  EXPECT_EQ(s.HotObject(), close);
  TPrinted hot = CaptureFrame(h);
  auto [d3, n3] = CompareButton(hot, *close, 3);
  EXPECT_EQ(d3, 0) << "hover frame 3 of " << n3;
  auto [d3as1, unused] = CompareButton(hot, *close, 1);
  (void)unused;
  EXPECT_GT(d3as1, 0) << "frames 1 and 3 differ, so the check can fail";

  SendMessageA(h, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(s.HotObject(), nullptr) << "deactivation un-hovers";
  TPrinted inactive = CaptureFrame(h);
  auto [d4, n4] = CompareButton(inactive, *close, 4);
  EXPECT_EQ(d4, 0) << "inactive frame 4 of " << n4;

  // What the frame draws on the screen is the same as what it prints.
  SendMessageA(h, WM_NCACTIVATE, TRUE, 0);
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpFor(50);
  TPrinted printed = CaptureFrame(h);
  HDC wdc = GetWindowDC(h);
  int mismatched = 0, checked = 0;
  for (int x = close->Rect.left; x < close->Rect.right; ++x)
    for (int y = close->Rect.top; y < close->Rect.bottom; ++y) {
      ++checked;
      if (GetPixel(wdc, x, y) != printed.At(x, y)) ++mismatched;
    }
  ReleaseDC(h, wdc);
  EXPECT_GT(checked, 0);
  EXPECT_EQ(mismatched, 0);
}

// A maximized window cannot be dragged: the caption press reaches the window as a menu press.
TEST_F(FormSkinTest, MaximizedWindowCaptionPressIsNotADrag) {
  HWND h = Window("Drag");
  TFormSkin& s = Skin(h);
  seen.swallowNcButtonDown = true;  // nothing below may start a real move loop
  RECT wr{};
  GetWindowRect(h, &wr);
  LPARAM mid = MAKELPARAM((wr.left + wr.right) / 2, wr.top + 10);
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, mid);
  ShowWindow(h, SW_MAXIMIZE);
  PumpFor(60);
  ASSERT_EQ(s.Placement(), TPlacement::Maximized);
  GetWindowRect(h, &wr);
  mid = MAKELPARAM((wr.left + wr.right) / 2, wr.top + s.Thickness().Top / 2 + 2);
  SendMessageA(h, WM_NCLBUTTONDOWN, HTCAPTION, mid);
  ASSERT_EQ(seen.ncButtonDownHit.size(), 2u);
  EXPECT_EQ(seen.ncButtonDownHit[0], static_cast<WPARAM>(HTCAPTION)) << "a normal window drags";
  EXPECT_EQ(seen.ncButtonDownHit[1], static_cast<WPARAM>(HTMENU));
}

// Detach gives the window back exactly: client size, caption, styles, menu; no region.
TEST_F(FormSkinTest, DetachRestoresTheWindowExactly) {
  for (bool withMenu : {false, true}) {
    HMENU menu = nullptr;
    if (withMenu) {
      menu = CreateMenu();
      AppendMenuA(menu, MF_STRING, 100, "&File");
    }
    HWND h = Window("Detach me", kCaptionStyle, menu);
    SIZE client = ClientSize(h);
    LONG style = GetWindowLongA(h, GWL_STYLE), ex = GetWindowLongA(h, GWL_EXSTYLE);
    TFormSkin& s = Skin(h);
    ASSERT_TRUE(s.SkinsFrame());
    EXPECT_EQ(s.MenuBar() != nullptr, withMenu) << "the menu moves into the skinned bar";
    EXPECT_EQ(GetMenu(h), nullptr);
    EXPECT_EQ(s.MenuBarHeight(), withMenu ? GetSystemMetrics(SM_CYMENU) : 0);
    EXPECT_EQ(ClientSize(h).cy, client.cy) << withMenu;
    SetWindowTextA(h, "Renamed while skinned");
    s.Detach();
    PumpFor(30);
    SIZE after = ClientSize(h);
    EXPECT_EQ(after.cx, client.cx) << withMenu;
    EXPECT_EQ(after.cy, client.cy) << withMenu;
    EXPECT_EQ(GetWindowLongA(h, GWL_STYLE), style) << withMenu;
    EXPECT_EQ(GetWindowLongA(h, GWL_EXSTYLE), ex) << withMenu;
    EXPECT_EQ(GetMenu(h), menu);
    char text[64] = {};
    GetWindowTextA(h, text, sizeof(text));
    EXPECT_STREQ(text, "Renamed while skinned");
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(h, r), ERROR) << "no window region is left";
    DeleteObject(r);
    EXPECT_EQ(SendMessageA(h, SKIN_QUERY, 0, 0), 0);
  }
}

// A window destroyed while skinned: the skin sees its last message, restores the procedure and
// is Dead; the procedure below still gets WM_NCDESTROY.
TEST_F(FormSkinTest, DestroyedWindowLeavesADeadSkin) {
  HWND h = Window("Going");
  TFormSkin& s = Skin(h);
  DestroyWindow(h);
  EXPECT_EQ(s.State(), TFormSkinState::Dead);
  EXPECT_TRUE(s.Dead());
  EXPECT_EQ(seen.messages.back(), static_cast<UINT>(WM_NCDESTROY));
  s.Detach();  // harmless now
}

namespace {
// Chooses the first item of the submenu the skinned bar opened, from inside the menu loop.
HMENU g_expectedSubmenu = nullptr;
bool g_submenuShown = false;
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR id, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (!popup || !IsWindowVisible(popup)) return;
  KillTimer(nullptr, id);
  g_submenuShown = reinterpret_cast<HMENU>(SendMessageA(popup, kMenuGetMenu, 0, 0)) == g_expectedSubmenu;
  PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);  // the submenu has one item: any selection is it
  PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
}
}  // namespace

// A framework form with a main menu: the bar is drawn from the skin under the caption, a command
// button clicked on the frame runs its item, a submenu button opens its submenu and the chosen
// item runs; detaching hands the menu component its bar back.
TEST_F(FormSkinTest, MainMenuBarDrawnFromTheSkinAndClickable) {
  TForm form(nullptr);
  form.SetCaption("Menu form");
  form.SetBounds(60, 60, 420, 260);
  auto* menu = form.Create<TMainMenu>();
  TMenuItem* file = menu->Items()->Add("&File");
  TMenuItem* open = file->Add("&Open");
  TMenuItem* help = menu->Items()->Add("&Help");
  int opened = 0, helped = 0;
  open->OnClick = [&](TComponent&) { ++opened; };
  help->OnClick = [&](TComponent&) { ++helped; };
  form.Menu = menu;
  form.Show();
  HWND h = form.Handle();
  HMENU bar = GetMenu(h);
  ASSERT_NE(bar, nullptr);
  SetForegroundWindow(h);
  PumpFor(30);
  SIZE client = ClientSize(h);
  TFormSkin& s = Skin(h, &form);
  ASSERT_NE(s.MenuBar(), nullptr);
  EXPECT_EQ(GetMenu(h), nullptr) << "the system draws no bar";
  EXPECT_EQ(ClientSize(h).cy, client.cy);
  const auto& buttons = s.MenuBar()->Buttons();
  ASSERT_EQ(buttons.size(), 2u);
  SendMessageA(h, SKIN_REPAINTFRAME, 0, 0);  // lays the buttons out against the bar

  // The frame printed into a memory DC: the bar past the buttons is the skin's menu-bar picture,
  // and the first button carries text in the MenuBarText colour.
  RECT wr{};
  GetWindowRect(h, &wr);
  const int w = wr.right - wr.left;
  const TPrinted printed = CaptureFrame(h);
  const TFrameThickness& t = s.Thickness();
  const TRectI barRect{t.Left, t.Top, w - t.Right, t.Top + s.MenuBarHeight()};
  TBitmap32 expected(barRect.right - barRect.left, barRect.bottom - barRect.top);
  RenderMenuBarBackground(expected, TRectI{0, 0, expected.Width, expected.Height}, data->Skin().MenuBar.get(),
                          s.IsActiveWindow(), MakePixel(0, 0, 0));
  ASSERT_NE(data->Skin().MenuBar, nullptr) << "the program's skin has a menu-bar picture";
  int compared = 0, differing = 0;
  for (int x = buttons.back().Rect.right + 2; x < barRect.right - 2; x += 7)
    for (int y = barRect.top; y < barRect.bottom; y += 3) {
      const TPixel p = expected.At(x - barRect.left, y - barRect.top);
      ++compared;
      differing += printed.At(x, y) != RGB(PixelRed(p), PixelGreen(p), PixelBlue(p));
    }
  EXPECT_GT(compared, 10);
  EXPECT_EQ(differing, 0);
  const COLORREF text = ColorToRGB(data->Colours().MenuBarText);
  int ink = 0;
  for (int x = buttons[0].Rect.left; x < buttons[0].Rect.right; ++x)
    for (int y = buttons[0].Rect.top; y < buttons[0].Rect.bottom; ++y) ink += printed.At(x, y) == text;
  EXPECT_GT(ink, 5) << "the caption \"File\" is drawn";

  auto click = [&](const TMenuBtn& b) {
    const LPARAM at = MAKELPARAM(wr.left + (b.Rect.left + b.Rect.right) / 2, wr.top + (b.Rect.top + b.Rect.bottom) / 2);
    SendMessageA(h, WM_NCLBUTTONDOWN, HTMENU, at);
    SendMessageA(h, WM_NCLBUTTONUP, HTMENU, at);
    PumpFor(50);
  };
  click(buttons[1]);
  EXPECT_EQ(helped, 1) << "a command button runs its item";
  EXPECT_EQ(opened, 0);

  g_expectedSubmenu = GetSubMenu(bar, 0);
  g_submenuShown = false;
  SetTimer(nullptr, 0, 50, ChooseFirstItem);
  click(buttons[0]);
  EXPECT_TRUE(g_submenuShown) << "the File button opened its own submenu";
  EXPECT_EQ(opened, 1) << "the chosen item runs";
  EXPECT_EQ(helped, 1);
  EXPECT_FALSE(manager->MenuTracking());

  s.Detach();
  EXPECT_EQ(GetMenu(h), bar) << "the component's bar is back on the window";
  EXPECT_EQ(ClientSize(h).cy, client.cy);
  skins.clear();
  form.Hide();
}

namespace {
WNDPROC g_outerPrevious = nullptr;
int g_outerSeen = 0;
LRESULT CALLBACK OuterProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 7) ++g_outerSeen;
  return CallWindowProcA(g_outerPrevious, h, msg, wp, lp);
}
}  // namespace

// Someone subclassed the window after the skin: detaching must not cut them or the original
// procedure off.
TEST_F(FormSkinTest, DetachUnderALaterSubclassKeepsTheChain) {
  HWND h = Window("Chain");
  TFormSkin& s = Skin(h);
  g_outerSeen = 0;
  g_outerPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OuterProc)));
  s.Detach();
  seen.messages.clear();
  SendMessageA(h, WM_USER + 7, 0, 0);
  EXPECT_EQ(g_outerSeen, 1);
  EXPECT_EQ(seen.count(WM_USER + 7), 1) << "the original procedure still gets messages";
  EXPECT_EQ(SendMessageA(h, SKIN_QUERY, 0, 0), 0) << "the skin no longer answers";
  SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_outerPrevious));
}

namespace {
struct ChildPlace {
  HWND h;
  int x;
};
std::vector<ChildPlace> ChildPlaces(HWND parent) {
  std::vector<ChildPlace> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(c, &r);
    POINT p{r.left, r.top};
    ScreenToClient(parent, &p);
    out.push_back({c, p.x});
  }
  return out;
}
}  // namespace

// A system message box with a caption too long for it grows, and its children move right by half
// the growth; a short caption in a box wide enough for it changes nothing; a caption of more than
// a thousand characters grows it no wider than the desktop.
TEST_F(FormSkinTest, MessageBoxWidensForALongCaption) {
  enum Kind { Long, Short, Huge };
  for (Kind kind : {Long, Short, Huge}) {
    // Blanks measure the same in the box's own sizing and in the widening rule, so the rule's
    // margins alone make the box grow, whatever the platform does with a long title.
    std::string caption = kind == Long    ? "Long" + std::string(150, ' ') + "caption"
                          : kind == Short ? "Hi"
                                          : std::string(1500, ' ') + "x";
    // The rule keeps room for the caption buttons (the skin's right clip) beside any caption, so
    // the short caption gets a text that makes the box wide enough for it.
    std::string text = kind == Short ? "A message text long enough to make the box wider than any short title needs"
                                     : "Text";
    int widthUnwidened = 0, widthAfter = 0, clientBefore = 0;
    std::vector<ChildPlace> before, after;
    std::string cls;
    auto onBox = [&](HWND box) {
      before = ChildPlaces(box);
      clientBefore = ClientSize(box).cx;
      TFormSkin& s = Skin(box);
      cls = s.WindowClass();
      RECT wr{};
      GetWindowRect(box, &wr);
      widthAfter = wr.right - wr.left;
      widthUnwidened = clientBefore + s.Thickness().Left + s.Thickness().Right;
      after = ChildPlaces(box);
      skins.clear();  // detach while the box still exists
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    };
    const bool boxSeen = WithSystemDialog([&] { MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK); }, onBox);
    ASSERT_TRUE(boxSeen) << kind;
    EXPECT_EQ(cls, "#32770");
    ASSERT_EQ(before.size(), after.size());
    ASSERT_FALSE(before.empty()) << "a message box has children";
    int growth = widthAfter - widthUnwidened;
    if (kind == Short) {
      EXPECT_EQ(growth, 0);
    } else if (kind == Long) {
      EXPECT_GT(growth, 100) << "the caption does not fit a small box";
    } else {
      EXPECT_LE(widthAfter, std::max(widthUnwidened, GetSystemMetrics(SM_CXVIRTUALSCREEN)));
    }
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i].x - before[i].x, growth / 2) << kind << " " << i;
  }
}

// The program's own message dialog is a framework form: skinned through its handler chain, its
// colour taken from the skin and given back.
TEST_F(FormSkinTest, MessageFormIsSkinnedAndGivenBack) {
  auto dlg = CreateMessageDialog("Something went wrong", TMsgDlgType::mtError, ButtonBit(TMsgDlgBtn::mbOK));
  dlg->SetCaption("Error" + std::string(150, ' ') + "x");
  dlg->Show();
  PumpFor(30);
  HWND h = dlg->Handle();
  TColor colour = dlg->Color;
  int width0 = 0;
  {
    RECT wr{};
    GetWindowRect(h, &wr);
    width0 = wr.right - wr.left;
  }
  SIZE client0 = ClientSize(h);
  TFormSkin& s = Skin(h, dlg.get());
  EXPECT_EQ(s.WindowClass(), "TMessageForm");
  EXPECT_EQ(dlg->Color, data->Colours().ButtonFace);
  EXPECT_EQ(SendMessageA(h, SKIN_QUERY, 0, 0), 1);
  RECT wr{};
  GetWindowRect(h, &wr);
  EXPECT_GT(wr.right - wr.left, width0) << "the long caption widened the dialog";
  // A caption set through the form reaches the frame.
  dlg->SetCaption("Short");
  EXPECT_EQ(s.CaptionText(), "Short");
  SIZE widened = ClientSize(h);
  s.Detach();
  EXPECT_EQ(dlg->Color, colour);
  EXPECT_EQ(ClientSize(h).cx, widened.cx);
  EXPECT_EQ(ClientSize(h).cy, client0.cy);
  skins.clear();
  dlg->Hide();
  dlg.reset();
}

namespace {
BOOL CALLBACK CountWindow(HWND h, LPARAM n) {
  ++*reinterpret_cast<int*>(n);
  EnumChildWindows(h, CountWindow, n);
  return TRUE;
}
// Every window of this thread, children included.
int ThreadWindows() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&n));
  return n;
}
struct TGuiCounts {
  DWORD gdi = 0, user = 0;     // as the system reports them (0 where it does not)
  long ownedGdi = 0, ownedUser = 0;
  int windows = 0;
  static TGuiCounts Now() {
    HANDLE self = GetCurrentProcess();
    return {GetGuiResources(self, GR_GDIOBJECTS), GetGuiResources(self, GR_USEROBJECTS),
            OwnedHandles(THandleResource::Gdi), OwnedHandles(THandleResource::User), ThreadWindows()};
  }
};
}  // namespace

// Opening and closing many skinned dialogs and registration forms leaves the process's GDI and
// USER counts where they were. Where the system reports no counts, the handles the program's
// owners hold and the thread's windows are counted instead.
TEST_F(FormSkinTest, ManySkinnedDialogsLeakNoHandles) {
  // Half of the dialogs are detached first, half close while skinned (the skin dies with them).
  auto cycle = [&](bool detachFirst, bool registrationForm = false) {
    std::unique_ptr<TForm> dlg;
    if (registrationForm) {
      dlg = std::make_unique<TRegisterForm>(nullptr, std::vector<std::string>{"Zelvo Notes"});
    } else {
      dlg = CreateMessageDialog("Message", TMsgDlgType::mtInformation, ButtonBit(TMsgDlgBtn::mbOK));
    }
    dlg->Show();
    HWND h = dlg->Handle();
    auto skin = std::make_unique<TFormSkin>(*manager, h, *data, dlg.get());
    skin->Attach();
    SendMessageA(h, SKIN_INIT, 0, kSkinInitLParam);
    SendMessageA(h, WM_NCACTIVATE, TRUE, 0);
    SendMessageA(h, SKIN_REPAINTFRAME, 0, 0);
    if (detachFirst) skin->Detach();
    dlg->Hide();
    dlg.reset();
    skin.reset();
  };
  cycle(true);  // first use creates the shared fonts and classes
  cycle(false);
  cycle(true, true);
  PumpFor(20);
  const TGuiCounts before = TGuiCounts::Now();
  for (int i = 0; i < 200; ++i) cycle(i % 2 == 0);
  for (int i = 0; i < 10; ++i) cycle(i % 2 == 0, true);
  PumpFor(20);
  const TGuiCounts after = TGuiCounts::Now();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_EQ(after.ownedGdi, before.ownedGdi);
  EXPECT_EQ(after.ownedUser, before.ownedUser);
  EXPECT_EQ(after.windows, before.windows);
}

// A frame paint that fails part-way holds on to nothing, wherever it fails: with each allocation
// of a paint refused in turn (a paint to the screen through a clip region, and a print into a
// memory DC), the process's GDI and USER objects and the handles the program's owners hold stay
// as they were, the canvas keeps its own font, the print's DC comes back unclipped, and the next
// paint draws the same frame.
TEST_F(FormSkinTest, FramePaintFailingAtAnyAllocationLeaksNothing) {
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 100, "&File");
  HWND h = Window("Failing paint", kCaptionStyle, menu);
  TFormSkin& s = Skin(h);
  ASSERT_NE(s.MenuBar(), nullptr) << "the paint covers the menu bar too";
  RECT wr{};
  GetWindowRect(h, &wr);
  const UniqueGdi<HRGN> clip(CreateRectRgn(wr.left, wr.top, wr.right, wr.bottom));
  const UniqueDC print = CompatibleDC(nullptr);
  const UniqueGdi<HBITMAP> page(CreateBitmap(wr.right - wr.left, wr.bottom - wr.top, 1, 32, nullptr));
  const ScopedSelect onPage(print.Get(), page.Get());
  s.PaintFrame(clip.Get());  // the fonts, the canvas and the composition exist from here on
  const TPrinted before = CaptureFrame(h);
  const HGDIOBJ canvasFont = GetCurrentObject(s.Canvas().DC(), OBJ_FONT);
  const TGuiCounts counts = TGuiCounts::Now();

  const std::function<void()> paints[] = {[&] { s.PaintFrame(clip.Get()); }, [&] { s.PaintFrameTo(print.Get()); }};
  for (const auto& paint : paints) {
    int refused = 0;
    for (long n = 1; n < 100000; ++n) {
      RefuseAllocation(n);
      paint();
      if (!RefusalHappened()) break;  // the paint got through with fewer allocations
      ++refused;
      ASSERT_EQ(GetCurrentObject(s.Canvas().DC(), OBJ_FONT), canvasFont) << "allocation " << n;
      const UniqueGdi<HRGN> printClip(CreateRectRgn(0, 0, 0, 0));
      ASSERT_EQ(GetClipRgn(print.Get(), printClip.Get()), 0) << "allocation " << n;
    }
    EXPECT_GT(refused, 5) << "a paint allocates, so the sweep refuses something";
  }

  const TGuiCounts after = TGuiCounts::Now();
  EXPECT_EQ(after.gdi, counts.gdi);
  EXPECT_EQ(after.user, counts.user);
  EXPECT_EQ(after.ownedGdi, counts.ownedGdi);
  EXPECT_EQ(after.ownedUser, counts.ownedUser);
  const TPrinted again = CaptureFrame(h);
  ASSERT_EQ(again.pixels.size(), before.pixels.size());
  EXPECT_TRUE(again.pixels == before.pixels);
}
