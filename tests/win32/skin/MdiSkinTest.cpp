// A skinned MDI frame on real MDI windows under Wine: the frame's skin follows its client window
// (the manager's MDI-maximized flag is true exactly while the active child is maximized, however
// the child got there), draws the MDI buttons in the skinned menu bar and acts on their clicks,
// and lets the client go on detach without cutting a later subclass off.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "../Win32TestSupport.h"
#include "ProgramSkinTest.h"
#include "skin/engine/FormSkin.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/SkinManagerSeam.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

constexpr char kFrameClass[] = "ZelvoMdiTestFrame";
constexpr char kChildClass[] = "ZelvoMdiTestChild";
constexpr DWORD kChildStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

HWND g_client = nullptr;  // the frame procedure hands its messages to this client

LRESULT CALLBACK FrameProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) {
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = GetSubMenu(GetMenu(h), 1);
    ccs.idFirstChild = 50000;
    g_client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 0, 0, h,
                               nullptr, GetModuleHandleA(nullptr), &ccs);
    return g_client ? 0 : -1;
  }
  return DefFrameProcA(h, g_client, msg, wp, lp);
}

LRESULT CALLBACK ChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcA(h, msg, wp, lp); }

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = kFrameClass;
  RegisterClassA(&wc);
  wc.lpfnWndProc = ChildProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kChildClass;
  RegisterClassA(&wc);
  done = true;
}

// A procedure someone puts on the client after the skin; it counts what passes through it.
WNDPROC g_laterPrevious = nullptr;
int g_laterSeen = 0;
LRESULT CALLBACK LaterProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  ++g_laterSeen;
  return CallWindowProcA(g_laterPrevious, h, msg, wp, lp);
}

class MdiSkinTest : public ProgramSkinTest {
 protected:
  void SetUp() override {
    ProgramSkinTest::SetUp();
    if (HasFatalFailure()) return;
    RegisterClasses();
    HMENU menu = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 100, "&Open");
    HMENU window = CreatePopupMenu();
    AppendMenuA(window, MF_STRING, 101, "&Cascade");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(window), "&Window");
    frame = CreateWindowExA(0, kFrameClass, "Frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 520, 380,
                            nullptr, menu, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(frame && g_client);
    client = g_client;
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);
    UpdateWindow(frame);
    first = NewChild("One");
    second = NewChild("Two");
    ASSERT_TRUE(first && second);
    PumpFor(30);
  }
  void TearDown() override {
    skins.clear();
    if (IsWindow(frame)) DestroyWindow(frame);
    g_client = nullptr;
    ProgramSkinTest::TearDown();
  }

  HWND NewChild(const char* title, DWORD style = kChildStyle) {
    MDICREATESTRUCTA mcs{};
    mcs.szClass = kChildClass;
    mcs.szTitle = title;
    mcs.hOwner = GetModuleHandleA(nullptr);
    mcs.x = mcs.y = mcs.cx = mcs.cy = static_cast<int>(CW_USEDEFAULT);
    mcs.style = style;
    return reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  }
  // Skins a window as the manager does: attach, then the posted set-up message.
  TFormSkin& Skin(HWND h) {
    skins.push_back(std::make_unique<TFormSkin>(*manager, h, *data, nullptr));
    TFormSkin& s = *skins.back();
    s.Attach();
    PostMessageA(h, SKIN_INIT, 0, kSkinInitLParam);
    PumpFor(60);
    return s;
  }
  HWND Active() const { return reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)); }
  // The flag agrees with the client: the active child is maximized exactly when it is set.
  void ExpectFlag(bool maximized, const char* when) {
    EXPECT_EQ(manager->MdiMaximized(), maximized) << when;
    HWND active = Active();
    EXPECT_EQ(active != nullptr && IsZoomed(active) != FALSE, maximized) << when;
  }
  static TCaptionButton* VisibleButton(TFormSkin& s, int32_t action) {
    for (const auto& b : s.CaptionButtons())
      if (b->Visible && b->Action() == action) return b.get();
    return nullptr;
  }

  std::vector<std::unique_ptr<TFormSkin>> skins;
  HWND frame = nullptr, client = nullptr, first = nullptr, second = nullptr;
};

constexpr int32_t kMdiClose = 9;  // the MDI close button's action (minimize 7, restore 8)

// Pixels of frame `frame` of the button's image (magenta skipped) that differ from the capture at
// the button's place, and how many were compared.
std::pair<int, int> CompareButton(const TPrinted& c, const TCaptionButton& b, int frame) {
  const TBitmap32& img = b.Skin().Image;
  const int cw = img.Width / std::max(1, b.Skin().FrameCount);
  int differ = 0, compared = 0;
  for (int y = 0; y < img.Height; ++y)
    for (int x = 0; x < cw; ++x) {
      TPixel p = img.At((frame - 1) * cw + x, y);
      if (p == kMagenta) continue;
      ++compared;
      if (c.At(b.Rect.left + x, b.Rect.top + y) != RGB(PixelRed(p), PixelGreen(p), PixelBlue(p))) ++differ;
    }
  return {differ, compared};
}

}  // namespace

// The client's own messages drive the flag: maximize, restore (also a child's own, unskinned), and
// destroying the maximized child
// (its successor is maximized in its place, the last one leaves nothing maximized); a destroyed
// client is forgotten.
TEST_F(MdiSkinTest, FlagFollowsTheClientsMaximizeRestoreAndDestroy) {
  TFormSkin& s = Skin(frame);
  ASSERT_EQ(s.WindowKind(), TWindowKind::MdiFrame);
  ASSERT_EQ(s.MdiClient(), client);
  ExpectFlag(false, "after attach");

  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
  ExpectFlag(true, "WM_MDIMAXIMIZE");
  EXPECT_TRUE(s.MdiChildMaximized());
  SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(second), 0);
  ExpectFlag(false, "WM_MDIRESTORE");
  EXPECT_FALSE(s.MdiChildMaximized());

  // An unskinned child maximized and restored through its own system menu: the client learns it
  // from the message it posts itself after a child was sized.
  SendMessageA(second, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  PumpFor(30);
  ExpectFlag(true, "SC_MAXIMIZE to an unskinned child");
  SendMessageA(second, WM_SYSCOMMAND, SC_RESTORE, 0);
  PumpFor(30);
  ExpectFlag(false, "SC_RESTORE to an unskinned child");

  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
  ExpectFlag(true, "maximized again");
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(second), 0);
  ASSERT_FALSE(IsWindow(second));
  EXPECT_EQ(Active(), first);
  ExpectFlag(IsZoomed(first) != FALSE, "the maximized child destroyed, its sibling active");
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(first), 0);
  ExpectFlag(false, "the last child destroyed");
  EXPECT_FALSE(s.MdiChildMaximized());

  // A client destroyed under a living frame is forgotten at once.
  DestroyWindow(client);
  EXPECT_EQ(s.MdiClient(), nullptr);
  EXPECT_EQ(manager->MdiClient(), nullptr);
}

// Detach takes the skin off the client: its messages no longer move the flag, the object can be
// freed, and a procedure put on the client after the skin still gets every message and still
// reaches the MDI client's own handling.
TEST_F(MdiSkinTest, DetachLetsTheClientGoAndKeepsALaterSubclass) {
  TFormSkin& s = Skin(frame);
  g_laterSeen = 0;
  g_laterPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
  ExpectFlag(true, "under the later procedure, skin attached");
  SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(first), 0);
  ExpectFlag(false, "restored");

  s.Detach();
  EXPECT_EQ(manager->MdiClient(), nullptr);
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
  EXPECT_TRUE(IsZoomed(second));
  EXPECT_FALSE(manager->MdiMaximized()) << "a detached skin does not follow the client";
  SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(second), 0);

  skins.clear();  // the skin object is gone: the client must not call into it any more
  const int seenBefore = g_laterSeen;
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
  EXPECT_TRUE(IsZoomed(second)) << "the chain reaches the MDI client's own procedure";
  EXPECT_GT(g_laterSeen, seenBefore);
  SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(second), 0);
  EXPECT_FALSE(IsZoomed(second));
  SetWindowLongPtrA(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_laterPrevious));
}

// A child maximized or restored through its own system command never tells the client; the
// skinned child tells its frame. A child made while the flag is set keeps its system caption, and
// a restored child loses it again.
TEST_F(MdiSkinTest, ChildsOwnSystemCommandsMoveTheFlag) {
  TFormSkin& s = Skin(frame);
  TFormSkin& one = Skin(first);
  TFormSkin& two = Skin(second);
  ASSERT_EQ(two.WindowKind(), TWindowKind::MdiChild);
  ASSERT_EQ(GetWindowLongA(second, GWL_STYLE) & WS_CAPTION, 0) << "a normal skinned child has no system caption";

  SendMessageA(second, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(IsZoomed(second));
  ExpectFlag(true, "SC_MAXIMIZE to the child");
  EXPECT_TRUE(s.MdiChildMaximized());
  EXPECT_EQ(two.Placement(), TPlacement::Maximized);

  HWND third = NewChild("Three", kChildStyle | WS_MAXIMIZE);
  ASSERT_TRUE(third);
  TFormSkin& three = Skin(third);
  ASSERT_EQ(Active(), third);
  ASSERT_TRUE(IsZoomed(third));
  ExpectFlag(true, "a child made while the flag is set");
  EXPECT_EQ(GetWindowLongA(third, GWL_STYLE) & WS_CAPTION, static_cast<LONG>(WS_CAPTION))
      << "a maximized child under the flag keeps its system caption";

  SendMessageA(third, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(IsZoomed(third));
  ExpectFlag(false, "SC_RESTORE to the child");
  EXPECT_FALSE(s.MdiChildMaximized());
  EXPECT_EQ(three.Placement(), TPlacement::Normal);
  EXPECT_EQ(GetWindowLongA(third, GWL_STYLE) & WS_CAPTION, 0) << "restored, the child is stripped again";
  (void)one;
}

// While the active child is maximized the MDI close button is drawn in the skinned menu bar from
// its own image (hovered: frame 4), and a click on it closes the active child; the frame's end
// clears the flag.
TEST_F(MdiSkinTest, MdiCloseButtonIsDrawnInTheMenuBarAndClosesTheActiveChild) {
  TFormSkin& s = Skin(frame);
  ASSERT_GT(s.MenuBarHeight(), 0) << "the frame's menu moved into the skinned bar";
  SendMessageA(frame, SKIN_REPAINTFRAME, 0, 0);
  EXPECT_EQ(VisibleButton(s, kMdiClose), nullptr) << "no MDI buttons without a maximized child";

  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
  ASSERT_TRUE(s.MdiChildMaximized());
  SendMessageA(frame, WM_NCACTIVATE, TRUE, 0);
  TCaptionButton* close = VisibleButton(s, kMdiClose);
  ASSERT_NE(close, nullptr);
  ASSERT_FALSE(close->Skin().Image.Empty());
  EXPECT_GE(close->Rect.top, s.Thickness().Top);
  EXPECT_LE(close->Rect.bottom, s.Thickness().Top + s.MenuBarHeight());
  auto [d1, n1] = CompareButton(PrintWindowPixels(frame, WM_PRINT, PRF_NONCLIENT), *close, 1);
  EXPECT_GE(n1, 12);
  EXPECT_EQ(d1, 0) << "normal frame 1 on the bar, of " << n1;

  RECT wr{};
  GetWindowRect(frame, &wr);
  const LPARAM at = MAKELPARAM(wr.left + (close->Rect.left + close->Rect.right) / 2,
                               wr.top + (close->Rect.top + close->Rect.bottom) / 2);
  const WPARAM hit = static_cast<WPARAM>(SendMessageA(frame, WM_NCHITTEST, 0, at));
  SendMessageA(frame, WM_NCMOUSEMOVE, hit, at);
  EXPECT_EQ(s.HotObject(), close);
  EXPECT_EQ(close->CurrentFrame(), 4) << "an MDI button hovered shows frame 4";
  // (This skin's frames 1 and 4 of the MDI buttons look alike, so the pixels cannot tell them.)
  auto [d4, n4] = CompareButton(PrintWindowPixels(frame, WM_PRINT, PRF_NONCLIENT), *close, 4);
  EXPECT_EQ(d4, 0) << "hovered, of " << n4;

  SendMessageA(frame, WM_NCLBUTTONDOWN, hit, at);
  SendMessageA(frame, WM_NCLBUTTONUP, hit, at);
  PumpFor(30);
  EXPECT_FALSE(IsWindow(second)) << "the click closed the active child";
  EXPECT_TRUE(IsWindow(first));
  ExpectFlag(IsZoomed(first) != FALSE, "after the close");

  // Destroying the frame takes the client with it: nothing of the flag or the client is left.
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
  ASSERT_TRUE(manager->MdiMaximized());
  DestroyWindow(frame);
  EXPECT_EQ(s.State(), TFormSkinState::Dead);
  EXPECT_FALSE(manager->MdiMaximized()) << "the flag does not outlive the frame";
  EXPECT_EQ(manager->MdiClient(), nullptr);
}
