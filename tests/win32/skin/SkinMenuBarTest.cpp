// The skinned menu bar on a real window: taking the menu over and giving it back, buttons built
// from the top-level items, accelerators, a command button's click, submenu switching with the
// keyboard while a submenu is tracked, and the keyboard reaching the bar (Alt+letter, F10, a bare
// Alt, the arrows, Enter, Escape) just as it reaches the system's bar.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../Win32TestSupport.h"
#include "ProgramSkinTest.h"
#include "framework/EditCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/engine/FormSkin.h"
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

// ---------------------------------------------------------------------------------------------
// The keyboard on a framework form's menu bar, pressed as a user presses it. The same keys go
// to the form first with the system's bar, then skinned; after each key the test notes which
// bar entry is highlighted and which submenu is open with which item selected, and both runs
// must go through the same sequence.

namespace {

std::string Plain(const std::string& caption) {
  std::string s;
  for (char c : caption.substr(0, caption.find('\t'))) {
    if (c != '&') s += c;
  }
  return s;
}

struct KeysForm {
  TForm form{nullptr};
  TMainMenu* menu = nullptr;
  TEdit* edit = nullptr;
  int exits = 0, copies = 0, helps = 0;

  KeysForm() {
    form.SetCaption("Keys");
    form.BorderIcons = 0;  // the system's bar would pass through the system menu when wrapping
    form.SetBounds(80, 80, 420, 240);
    menu = form.Create<TMainMenu>();
    TMenuItem* file = menu->Items()->Add("&File");
    file->Add("&Open");
    file->Add("E&xit")->OnClick = [this](TComponent&) { ++exits; };
    menu->Items()->Add("&Edit")->Add("&Copy")->OnClick = [this](TComponent&) { ++copies; };
    menu->Items()->Add("&Help")->OnClick = [this](TComponent&) { ++helps; };
    form.Menu = menu;
    edit = form.Create<TEdit>();
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 200, 21);
    SetCursorPos(5, 5);  // off the window: the bars follow the mouse too
    form.Show();
    SetForegroundWindow(form.Handle());
    edit->SetFocus();
    Pump(100);
  }
  // A left click at a point of the client area, through the system's input.
  void Click(POINT client) {
    ClientToScreen(form.Handle(), &client);
    INPUT in[2]{};
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    for (INPUT& i : in) {
      i.type = INPUT_MOUSE;
      i.mi.dx = static_cast<LONG>((client.x * 65535LL + w / 2) / (w - 1));
      i.mi.dy = static_cast<LONG>((client.y * 65535LL + h / 2) / (h - 1));
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
  }
  ~KeysForm() { form.Hide(); }

  // "File*" for a highlighted bar entry, "| File: Open" for an open submenu and its selected
  // item ("| another menu" for any other), "-" for none of these. `bar` is the skinned bar, or
  // nullptr for the system's.
  std::string State(const TSkinMenuBar* bar) const {
    std::string s;
    const HMENU top = menu->HandleIfCreated();
    const auto& entries = menu->Items()->Items();
    for (size_t i = 0; i < entries.size(); ++i) {
      const bool lit = bar ? bar->Buttons()[i].State != TMenuBtn::kNormal
                           : (GetMenuState(top, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0;
      if (lit) s += Plain(entries[i]->Caption) + "*";
    }
    for (HWND popup = FindWindowExA(nullptr, nullptr, "#32768", nullptr); popup;
         popup = FindWindowExA(nullptr, popup, "#32768", nullptr)) {
      if (!IsWindowVisible(popup)) continue;
      const auto shown = reinterpret_cast<HMENU>(SendMessageA(popup, kMenuGetMenu, 0, 0));
      bool ours = false;
      for (size_t i = 0; i < entries.size(); ++i) {
        if (GetSubMenu(top, static_cast<int>(i)) != shown) continue;
        ours = true;
        s += " | " + Plain(entries[i]->Caption) + ":";
        for (int k = 0; k < GetMenuItemCount(shown); ++k) {
          if (!(GetMenuState(shown, static_cast<UINT>(k), MF_BYPOSITION) & MF_HILITE)) continue;
          char text[40] = {};
          GetMenuStringA(shown, static_cast<UINT>(k), text, sizeof text, MF_BYPOSITION);
          s += " " + Plain(text);
        }
      }
      if (!ours) s += " | another menu";
    }
    return s.empty() ? "-" : s;
  }
};

bool SystemMenuLoop() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> in;
  for (const auto& [vk, up] : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
void Press(WORD vk) { SendKeys({{vk, false}, {vk, true}}); }
void AltPlus(WORD vk) { SendKeys({{VK_MENU, false}, {vk, false}, {vk, true}, {VK_MENU, true}}); }

// Keys pressed one step per timer tick (the menus run loops of their own, which dispatch it);
// each step's outcome is noted on the next tick as "key: state". A timer's turn comes only when
// no input or posted message waits, so the key before has been handled by then.
struct KeyScript {
  std::vector<std::pair<std::string, std::function<void()>>> steps;
  std::function<std::string()> state;
  std::function<bool()> busy;  // a menu still open or the bar still holding the keyboard
  std::vector<std::string> seen;
  size_t next = 0;
  int spareEscapes = 6;
  bool done = false;
};
KeyScript* g_script = nullptr;

void CALLBACK ScriptTick(HWND, UINT, UINT_PTR id, DWORD) {
  KeyScript& s = *g_script;
  if (s.next > 0 && s.next <= s.steps.size()) s.seen.push_back(s.steps[s.next - 1].first + ": " + s.state());
  if (s.next < s.steps.size()) {
    s.steps[s.next++].second();
    return;
  }
  s.next = s.steps.size() + 1;
  // A failing run must not leave the test inside a menu loop.
  if (s.busy() && s.spareEscapes-- > 0) {
    Press(VK_ESCAPE);
    return;
  }
  KillTimer(nullptr, id);
  s.done = true;
}

std::vector<std::string> RunKeys(KeyScript script) {
  g_script = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 150, &ScriptTick);
  const DWORD end = GetTickCount() + 20000;
  while (!script.done && static_cast<int>(end - GetTickCount()) > 0) Pump(20);
  KillTimer(nullptr, timer);
  g_script = nullptr;
  return script.seen;
}

class MenuBarKeysTest : public ProgramSkinTest {
 protected:
  // Runs the keys on the system's bar, then on the skinned bar; both must see `expected`.
  void ExpectOnBothBars(const std::vector<std::pair<std::string, std::function<void()>>>& keys,
                        const std::vector<std::string>& expected) {
    KeyScript script;
    script.steps = keys;
    script.state = [this] { return keys_.State(nullptr); };
    script.busy = [this] { return SystemMenuLoop() || keys_.State(nullptr) != "-"; };
    EXPECT_EQ(RunKeys(script), expected) << "the system's bar";

    TFormSkin skin(*manager, keys_.form.Handle(), *data, &keys_.form);
    skin.Attach();
    PostMessageA(keys_.form.Handle(), SKIN_INIT, 0, kSkinInitLParam);
    Pump(100);
    ASSERT_NE(skin.MenuBar(), nullptr);
    ASSERT_EQ(skin.MenuBar()->Buttons().size(), 3u);
    EXPECT_EQ(GetMenu(keys_.form.Handle()), nullptr);
    SetForegroundWindow(keys_.form.Handle());
    keys_.edit->SetFocus();
    script.state = [&] { return keys_.State(skin.MenuBar()); };
    script.busy = [&] { return skin.MenuBar()->Tracking() || keys_.State(skin.MenuBar()) != "-"; };
    EXPECT_EQ(RunKeys(script), expected) << "the skinned bar";
    EXPECT_FALSE(skin.MenuBar()->Tracking());
    EXPECT_FALSE(manager->MenuTracking());
    EXPECT_EQ(GetCapture(), nullptr) << "the bar gives the mouse back";
    skin.Detach();
    EXPECT_EQ(keys_.edit->Text(), "") << "no key of the bar's reached the focused control";
  }
  KeysForm keys_;
};

}  // namespace

TEST_F(MenuBarKeysTest, AltLetterOpensItsEntryAndTheArrowsWalkTheBar) {
  ExpectOnBothBars(
      {
          {"Alt+F", [] { AltPlus('F'); }},
          {"Right", [] { Press(VK_RIGHT); }},
          {"Esc", [] { Press(VK_ESCAPE); }},
          {"Right", [] { Press(VK_RIGHT); }},
          {"Right", [] { Press(VK_RIGHT); }},
          {"Left", [] { Press(VK_LEFT); }},
          {"Esc", [] { Press(VK_ESCAPE); }},
          {"Alt+Z", [] { AltPlus('Z'); }},
          {"Alt+E", [] { AltPlus('E'); }},
          {"Enter", [] { Press(VK_RETURN); }},
      },
      {
          "Alt+F: File* | File: Open",
          "Right: Edit* | Edit: Copy",
          "Esc: Edit*",
          "Right: Help*",
          "Right: File*",
          "Left: Help*",
          "Esc: -",
          "Alt+Z: -",
          "Alt+E: Edit* | Edit: Copy",
          "Enter: -",
      });
  EXPECT_EQ(keys_.copies, 2) << "Enter chose Copy on either bar";
  EXPECT_EQ(keys_.exits + keys_.helps, 0);
}

TEST_F(MenuBarKeysTest, F10AndABareAltGiveTheBarTheKeyboard) {
  ExpectOnBothBars(
      {
          {"F10", [] { Press(VK_F10); }},
          {"Down", [] { Press(VK_DOWN); }},
          {"X", [] { Press('X'); }},
          {"Alt", [] { Press(VK_MENU); }},
          {"Alt", [] { Press(VK_MENU); }},
          {"Alt", [] { Press(VK_MENU); }},
          {"Enter", [] { Press(VK_RETURN); }},
          {"Esc", [] { Press(VK_ESCAPE); }},
          {"Click", [this] { keys_.Click(POINT{300, 150}); }},
          {"F10", [] { Press(VK_F10); }},
          {"Left", [] { Press(VK_LEFT); }},
          {"Enter", [] { Press(VK_RETURN); }},
      },
      {
          "F10: File*",
          "Down: File* | File: Open",
          "X: -",
          "Alt: File*",
          "Alt: -",
          "Alt: File*",
          "Enter: File* | File: Open",
          "Esc: File*",
          "Click: -",
          "F10: File*",
          "Left: Help*",
          "Enter: -",
      });
  EXPECT_EQ(keys_.exits, 2) << "the letter chose Exit in the open menu";
  EXPECT_EQ(keys_.helps, 2) << "Enter on a bar entry without a menu runs it";
  EXPECT_EQ(keys_.copies, 0);

  // Where the system leaves the letters of owner-drawn items to the window, the form answers
  // with the item the letter marks ("E&xit", second in File), and with nothing for a letter
  // no item has.
  const auto file = reinterpret_cast<LPARAM>(GetSubMenu(keys_.menu->Handle(), 0));
  EXPECT_EQ(SendMessageA(keys_.form.Handle(), WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), file), MAKELRESULT(1, MNC_EXECUTE));
  EXPECT_EQ(SendMessageA(keys_.form.Handle(), WM_MENUCHAR, MAKEWPARAM('q', MF_POPUP), file), 0);
}
