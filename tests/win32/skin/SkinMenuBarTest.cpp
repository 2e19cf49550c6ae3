// The skinned menu bar on a real window: taking the menu over and giving it back, buttons built
// from the top-level items, accelerators, a command button's click, and submenu switching with
// the keyboard while a submenu is tracked.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "../Win32TestSupport.h"
#include "framework/Forms.h"
#include "skin/engine/SkinManage.h"
#include "skin/engine/SkinMenuBar.h"
#include "skin/engine/SkinMessages.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

LRESULT CALLBACK BarTestProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(h, msg, wp, lp); }

HWND MakeMenuWindow(HMENU menu) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BarTestProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZelvoMenuBarTest";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExA(0, "ZelvoMenuBarTest", "bar", WS_OVERLAPPEDWINDOW, 30, 30, 400, 200, nullptr, menu,
                         GetModuleHandleA(nullptr), nullptr);
}

struct MenuBarFixture : ::testing::Test {
  void SetUp() override {
    DestroySkinManager();
    UseSkinManage();
    data = std::make_unique<TSkinData>(nullptr);
    data->ReadSkinStream(StoredSkinStream("MAINFORM_SKINSTREAM"));
    data->Loaded();
    manager = TSkinManage::Instance();
    ASSERT_NE(manager, nullptr);
    file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 101, "&Open");
    AppendMenuA(file, MF_STRING, 102, "&Close");
    edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 201, "&Copy");
    menu = CreateMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 301, "&Gone");
    AppendMenuA(menu, MF_STRING, 302, "&Help");
    window = MakeMenuWindow(menu);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);  // destroys the menu when it is attached
    if (IsMenu(menu)) DestroyMenu(menu);
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
  }
  std::unique_ptr<TSkinData> data;
  TSkinManage* manager = nullptr;
  HMENU file = nullptr, edit = nullptr, menu = nullptr;
  HWND window = nullptr;
};

TEST_F(MenuBarFixture, TakesTheMenuOverAndGivesTheSameOneBack) {
  TSkinMenuBar bar(*manager, window, *data);
  ASSERT_TRUE(bar.TakeOver());
  EXPECT_EQ(GetMenu(window), nullptr);
  ASSERT_EQ(bar.Buttons().size(), 4u);
  EXPECT_EQ(bar.Buttons()[0].SubMenu, file);
  EXPECT_EQ(bar.Buttons()[1].SubMenu, edit);
  EXPECT_FALSE(bar.Buttons()[2].Enabled);
  EXPECT_EQ(bar.Buttons()[3].CommandId, 302u);
  EXPECT_EQ(bar.Buttons()[3].SubMenu, nullptr);

  bar.Layout(RECT{4, 30, 396, 49});
  EXPECT_EQ(bar.FindAccelerator('H'), &bar.Buttons()[3]);
  EXPECT_EQ(bar.FindAccelerator('x'), nullptr);
  const TMenuBtn& help = bar.Buttons()[3];
  EXPECT_EQ(bar.HitTest(POINT{help.Rect.left + 2, help.Rect.top + 2}), &help);
  EXPECT_EQ(bar.HitTest(POINT{2, 2}), nullptr);

  // Clicking a command button posts its command; nothing is tracked.
  MSG m;
  while (PeekMessageA(&m, window, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
  }
  bar.MouseDown(bar.FindAccelerator('h'));
  ASSERT_TRUE(PeekMessageA(&m, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(LOWORD(m.wParam), 302);
  EXPECT_FALSE(bar.Tracking());

  bar.GiveBack();
  EXPECT_EQ(GetMenu(window), menu);
}

TEST(MenuBtnTest, AcceleratorSkipsLiteralAmpersands) {
  TMenuBtn b;
  b.Caption = "Fish && &Chips";
  EXPECT_EQ(b.Accelerator(), 'c');
  b.Caption = "No mark&";
  EXPECT_EQ(b.Accelerator(), 0);
  b.Caption = "&&";
  EXPECT_EQ(b.Accelerator(), 0);
}

// While File's submenu is open a Right key switches to Edit's; Escape twice ends it.
std::vector<std::string> gOpened;
void CALLBACK DriveMenu(HWND, UINT, UINT_PTR id, DWORD) {
  static int step = 0;
  HWND popup = FindWindowA("#32768", nullptr);
  if (!popup) return;
  HMENU shown = reinterpret_cast<HMENU>(SendMessageA(popup, kMenuGetMenu, 0, 0));
  char text[32] = {};
  GetMenuStringA(shown, 0, text, sizeof text, MF_BYPOSITION);
  if (gOpened.empty() || gOpened.back() != text) gOpened.push_back(text);
  if (++step > 20 || gOpened.size() >= 2) {
    KillTimer(nullptr, id);
    step = 0;
    EndMenu();
    return;
  }
  PostMessageA(popup, WM_KEYDOWN, VK_RIGHT, 0);
}

TEST_F(MenuBarFixture, RightKeySwitchesToTheNextSubmenu) {
  TSkinMenuBar bar(*manager, window, *data);
  ASSERT_TRUE(bar.TakeOver());
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  bar.Layout(RECT{4, 30, 396, 49});
  gOpened.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, &DriveMenu);
  bar.MouseDown(bar.FindAccelerator('f'));
  KillTimer(nullptr, timer);
  EXPECT_EQ(gOpened, (std::vector<std::string>{"&Open", "&Copy"}));
  EXPECT_FALSE(bar.Tracking());
  EXPECT_FALSE(manager->MenuTracking());
  bar.GiveBack();
}

}  // namespace
