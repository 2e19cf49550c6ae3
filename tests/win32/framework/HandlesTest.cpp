// Handle owners and scope guards against the real system: each test checks with the system that a
// handle is closed exactly when its owner says, and never twice.
#include <gtest/gtest.h>

#include "framework/Handles.h"

using namespace zelvo;

namespace {
bool IsLiveGdiObject(HGDIOBJ h) { return GetObjectType(h) != 0; }
bool IsLiveKernelHandle(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != 0;
}
}  // namespace

TEST(Handles, ResetWithTheHandleHeldKeepsItOpen) {
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
  const HBRUSH h = brush.Get();
  brush.Reset(brush.Get());
  EXPECT_EQ(brush.Get(), h);
  EXPECT_TRUE(IsLiveGdiObject(h)) << "the handle kept must not have been deleted";
  brush.Reset();
  EXPECT_FALSE(IsLiveGdiObject(h));
  EXPECT_FALSE(brush);
}

// The owned-handle counts follow along: a move hands a handle over without counting it twice, a
// release gives it up.
TEST(Handles, MovesCloseEachHandleOnceAtTheRightOwner) {
  const HPEN first = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  const HPEN second = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
  const long gdi0 = OwnedHandles(THandleResource::Gdi), user0 = OwnedHandles(THandleResource::User);
  {
    UniqueGdi<HPEN> a(first);
    UniqueGdi<HPEN> b(second);
    EXPECT_EQ(OwnedHandles(THandleResource::Gdi), gdi0 + 2);
    b = std::move(a);  // b's own pen goes now; a's pen lives on in b
    EXPECT_FALSE(IsLiveGdiObject(second));
    EXPECT_TRUE(IsLiveGdiObject(first));
    EXPECT_FALSE(a);
    EXPECT_EQ(OwnedHandles(THandleResource::Gdi), gdi0 + 1);
    UniqueGdi<HPEN> c(std::move(b));
    EXPECT_EQ(c.Get(), first);
    EXPECT_FALSE(b);
    UniqueMenu menu(CreatePopupMenu());
    UniqueDC dc = CompatibleDC(nullptr);
    EXPECT_EQ(OwnedHandles(THandleResource::Gdi), gdi0 + 2);
    EXPECT_EQ(OwnedHandles(THandleResource::User), user0 + 1);
    HPEN released = c.Release();
    EXPECT_EQ(released, first);
    EXPECT_EQ(OwnedHandles(THandleResource::Gdi), gdi0 + 1);
  }
  EXPECT_EQ(OwnedHandles(THandleResource::Gdi), gdi0);
  EXPECT_EQ(OwnedHandles(THandleResource::User), user0);
  EXPECT_TRUE(IsLiveGdiObject(first)) << "a released handle is the caller's";
  DeleteObject(first);
}

TEST(Handles, KernelHandleTreatsBothFailureValuesAsEmpty) {
  UniqueKernelHandle invalid(INVALID_HANDLE_VALUE);
  UniqueKernelHandle null;
  EXPECT_FALSE(invalid);
  EXPECT_FALSE(null);

  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  {
    UniqueKernelHandle owner(event);
    EXPECT_TRUE(owner);
    EXPECT_TRUE(IsLiveKernelHandle(event));
  }
  EXPECT_FALSE(IsLiveKernelHandle(event));

  // A file that cannot be opened leaves the owner empty (and nothing is closed).
  UniqueFileHandle missing(CreateFileA("Z:\\no\\such\\dir\\file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_FALSE(missing);
}

TEST(Handles, AddrFillsAnEmptyOwner) {
  UniqueRegKey key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.Addr()), ERROR_SUCCESS);
  EXPECT_TRUE(key);
  HKEY first = key.Get();
  // Asking for the out-parameter again closes the key held first (checked before anything can
  // reuse the handle value) and hands out an empty slot.
  HKEY* slot = key.Addr();
  EXPECT_EQ(*slot, nullptr);
  EXPECT_NE(RegQueryInfoKeyA(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, slot), ERROR_SUCCESS);
  EXPECT_TRUE(key);
}

TEST(Handles, MenuIconAndImageListAreDestroyed) {
  HMENU menu = CreatePopupMenu();
  HICON icon = CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  {
    UniqueMenu m(menu);
    UniqueIcon i(icon);
    UniqueImageList l(list);
    EXPECT_TRUE(IsMenu(menu));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
  }
  EXPECT_FALSE(IsMenu(menu));
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(icon, &info));
}

namespace {
int g_hookCalls = 0;
LRESULT CALLBACK CountingHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && reinterpret_cast<CWPSTRUCT*>(lp)->message == WM_USER + 7) ++g_hookCalls;
  return CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace

TEST(Handles, HookStopsSeeingMessagesWhenItsOwnerEnds) {
  HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  g_hookCalls = 0;
  {
    UniqueHook hook(SetWindowsHookExA(WH_CALLWNDPROC, CountingHook, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(hook);
    SendMessageA(w, WM_USER + 7, 0, 0);
    EXPECT_EQ(g_hookCalls, 1);
  }
  SendMessageA(w, WM_USER + 7, 0, 0);
  EXPECT_EQ(g_hookCalls, 1);
  DestroyWindow(w);
}

TEST(Handles, TimerIsKilledWithItsOwnerAndNotBefore) {
  HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  {
    UniqueTimer timer = UniqueTimer::Set(w, 42, 10);
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer.Get(), 42u);
    EXPECT_EQ(timer.Window(), w);
    UniqueTimer moved = std::move(timer);
    Sleep(30);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE)) << "the move must not kill the timer";
  }
  MSG msg;
  while (PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
  Sleep(30);
  EXPECT_FALSE(PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_FALSE(KillTimer(w, 42)) << "already killed by its owner";

  UniqueTimer thread = UniqueTimer::Set(nullptr, 0, 1000);
  EXPECT_TRUE(thread) << "a thread timer owns the id the system chose";
  DestroyWindow(w);
}

TEST(Handles, SavedDCRestoresItsOwnLevelEvenAfterUnbalancedSaves) {
  UniqueDC dc = CompatibleDC(nullptr);
  ASSERT_TRUE(dc);
  UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 3, RGB(255, 0, 0)));
  const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_PEN);
  {
    SavedDC saved(dc.Get());
    SelectObject(dc.Get(), pen.Get());
    SaveDC(dc.Get());  // a nested save nobody restores
    SetTextColor(dc.Get(), RGB(9, 9, 9));
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), original);
  EXPECT_NE(GetTextColor(dc.Get()), RGB(9, 9, 9));
}

TEST(Handles, ScopedSelectPutsBackThePreviousObject) {
  UniqueDC dc = CompatibleDC(nullptr);
  UniqueGdi<HBRUSH> brush(CreateSolidBrush(RGB(4, 5, 6)));
  const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  {
    ScopedSelect sel(dc.Get(), brush.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
    ScopedSelect nothing(dc.Get(), nullptr);
    EXPECT_FALSE(nothing);
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
}

TEST(Handles, WindowDCBelongsToItsWindow) {
  HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  {
    WindowDC client(w);
    WindowDC whole = WindowDC::Whole(w);
    ASSERT_TRUE(client);
    ASSERT_TRUE(whole);
    EXPECT_EQ(client.Window(), w);
    EXPECT_EQ(WindowFromDC(client.Get()), w);
    WindowDC moved = std::move(client);
    EXPECT_EQ(moved.Window(), w);
    EXPECT_FALSE(client);
  }
  DestroyWindow(w);
}

TEST(Handles, ScopeExitRunsOnceUnlessDismissed) {
  int runs = 0;
  {
    ScopeExit a([&] { ++runs; });
    ScopeExit b(std::move(a));  // the duty moves; a must not run as well
  }
  EXPECT_EQ(runs, 1);
  {
    ScopeExit c([&] { ++runs; });
    c.Dismiss();
  }
  EXPECT_EQ(runs, 1);
  try {
    ScopeExit d([&] { ++runs; });
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(runs, 2) << "runs when the scope is left by an exception";
}
