// Menu components on real windows: the system menu built from the items, owner-drawn popups whose
// measure and draw requests reach the items, menu commands reaching OnClick, and a form's menu
// bar taken off the window and given back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../Win32TestSupport.h"
#include "framework/Menus.h"

using namespace zelvo;

namespace {

std::string MenuString(HMENU menu, int pos) {
  char text[128] = {};
  GetMenuStringA(menu, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
  return text;
}

struct MenuForm {
  TForm form{nullptr};
  MenuForm() {
    form.BorderStyle = TFormBorderStyle::bsSingle;
    form.SetClientSize(200, 120);
  }
};

// Answers an open popup menu from a timer: two Down keys pass the separator to the third entry,
// Enter chooses it. Ends the menu if it is still open after a while, so a fault cannot hang.
int g_ticks = 0;
HWND g_owner = nullptr;
void CALLBACK AnswerPopup(HWND, UINT, UINT_PTR id, DWORD) {
  ++g_ticks;
  auto key = [](WORD vk) {
    PostMessageA(g_owner, WM_KEYDOWN, vk, 1);
    PostMessageA(g_owner, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  };
  if (g_ticks == 3 || g_ticks == 4) key(VK_DOWN);
  if (g_ticks == 6) key(VK_RETURN);
  if (g_ticks > 60) {
    EndMenu();
    KillTimer(nullptr, id);
  }
}

}  // namespace

TEST(Menus, SystemMenuFollowsTheItems) {
  MenuForm f;
  auto* menu = f.form.Create<TMainMenu>();
  TMenuItem* file = menu->Items()->Add("&File");
  TMenuItem* open = file->Add("&Open");
  open->ShortCut = MakeShortCut('O', scCtrl);
  file->Add("-");
  TMenuItem* close = file->Add("&Close");
  close->ShortCut = MakeShortCut(VK_F4, scShift);
  close->Default = true;
  TMenuItem* hidden = file->Add("Hidden");
  hidden->Visible = false;
  f.form.Menu = menu;
  HWND h = f.form.Handle();

  HMENU bar = GetMenu(h);
  ASSERT_EQ(bar, menu->HandleIfCreated());
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  HMENU sub = GetSubMenu(bar, 0);
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(GetMenuItemCount(sub), 3) << "the invisible item is left out";
  EXPECT_EQ(MenuString(sub, 0), "&Open\tCtrl+O");
  EXPECT_NE(GetMenuState(sub, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
  EXPECT_EQ(MenuString(sub, 2), "&Close\tShift+F4");
  EXPECT_EQ(GetMenuItemID(sub, 2), close->Command());
  EXPECT_EQ(GetMenuDefaultItem(sub, FALSE, 0), close->Command());

  // A rebuild shows changed states in the same menu handle.
  open->Enabled = false;
  close->Checked = true;
  hidden->Visible = true;
  menu->Rebuild();
  EXPECT_EQ(GetMenu(h), bar);
  sub = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(sub), 4);
  EXPECT_NE(GetMenuState(sub, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  EXPECT_NE(GetMenuState(sub, 2, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_EQ(MenuString(sub, 3), "Hidden");
}

TEST(Menus, MenuCommandsReachTheItemAndOnlyMenuCommands) {
  MenuForm f;
  auto* menu = f.form.Create<TMainMenu>();
  TMenuItem* item = menu->Items()->Add("&Go");
  TMenuItem* gone = menu->Items()->Add("Gone");
  const UINT goneCommand = gone->Command();
  int clicks = 0, goneClicks = 0;
  item->OnClick = [&](TComponent& sender) {
    EXPECT_EQ(&sender, item);
    ++clicks;
  };
  gone->OnClick = [&](TComponent&) { ++goneClicks; };
  f.form.Menu = menu;
  HWND h = f.form.Handle();

  SendMessageA(h, WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  EXPECT_EQ(clicks, 1);
  // The same id from a control (a window in lParam) or an accelerator is not the menu item's.
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(item->Command(), BN_CLICKED), reinterpret_cast<LPARAM>(h));
  EXPECT_EQ(clicks, 1);
  // A removed item's id finds nothing.
  menu->Items()->Remove(gone);
  menu->Rebuild();
  SendMessageA(h, WM_COMMAND, MAKEWPARAM(goneCommand, 0), 0);
  EXPECT_EQ(goneClicks, 0);
  EXPECT_EQ(TMenuItem::FromCommand(goneCommand), nullptr);
}

TEST(Menus, OwnerDrawnPopupMeasuresAndDrawsThroughTheItems) {
  MenuForm f;
  auto* popup = f.form.Create<TPopupMenu>();
  popup->OwnerDraw = true;
  TMenuItem* open = popup->Items()->Add("&Open");
  TMenuItem* line = popup->Items()->Add("-");
  TMenuItem* close = popup->Items()->Add("&Close");
  close->ShortCut = MakeShortCut(VK_F4, scShift);

  std::vector<std::string> events;
  int framedCloseWidth = 0, openDrawnHeight = 0;
  bool closeDrawnSelected = false;
  int openClicks = 0, closeClicks = 0, popups = 0;
  for (TMenuItem* item : {open, line, close}) {
    item->OnMeasureItem = [&, item](TMenuItem& sender, HDC dc, int& w, int& h) {
      EXPECT_EQ(&sender, item);
      EXPECT_NE(dc, nullptr);
      events.push_back("measure " + sender.Caption);
      if (&sender == close) framedCloseWidth = w;
      if (&sender == open) h = 23;  // what the handler says is what the system uses
    };
    item->OnDrawItem = [&](TMenuItem& sender, HDC dc, const RECT& r, bool selected) {
      EXPECT_NE(dc, nullptr);
      events.push_back("draw " + sender.Caption);
      if (&sender == open) openDrawnHeight = r.bottom - r.top;
      if (&sender == close && selected) closeDrawnSelected = true;
    };
  }
  open->OnClick = [&](TComponent&) { ++openClicks; };
  close->OnClick = [&](TComponent&) { ++closeClicks; };
  popup->OnPopup = [&](TComponent&) { ++popups; };

  f.form.Show();
  HWND h = f.form.Handle();
  EXPECT_EQ(popup->MessageWindow(), h);
  RECT wr;
  GetWindowRect(h, &wr);
  g_ticks = 0;
  g_owner = h;
  UniqueTimer timer = UniqueTimer::Set(nullptr, 0, 50, AnswerPopup);
  popup->Popup(wr.left + 20, wr.top + 20);
  timer.Reset();

  EXPECT_EQ(popups, 1);
  EXPECT_EQ(closeClicks, 1);
  EXPECT_EQ(openClicks, 0);
  ASSERT_GE(events.size(), 6u);
  EXPECT_EQ(events[0], "measure &Open");
  EXPECT_EQ(events[1], "measure -");
  EXPECT_EQ(events[2], "measure &Close");
  EXPECT_EQ(events[3].rfind("draw ", 0), 0u) << "drawing follows measuring";
  EXPECT_EQ(openDrawnHeight, 23);
  EXPECT_TRUE(closeDrawnSelected);
  // The framework's own width makes room for the shortcut text.
  WindowDC screen(nullptr);
  SIZE shortCut{};
  GetTextExtentPoint32A(screen.Get(), "Shift+F4", 8, &shortCut);
  EXPECT_GT(framedCloseWidth, shortCut.cx);
  f.form.Hide();
}

TEST(Menus, FormMenuTakenOffTheWindowAndGivenBack) {
  MenuForm f;
  auto* menu = f.form.Create<TMainMenu>();
  menu->Items()->Add("&File");
  f.form.Menu = menu;
  HWND h = f.form.Handle();
  HMENU handle = menu->HandleIfCreated();
  ASSERT_EQ(GetMenu(h), handle);
  {
    TTakenMenu taken = TTakenMenu::Take(h);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken.Get(), handle);
    EXPECT_EQ(taken.Component(), menu) << "the form's menu component keeps owning the handle";
    EXPECT_EQ(GetMenu(h), nullptr);
    TTakenMenu moved = std::move(taken);
    EXPECT_FALSE(taken);
    EXPECT_EQ(GetMenu(h), nullptr) << "moving is not giving back";
  }
  EXPECT_EQ(GetMenu(h), handle);
  EXPECT_FALSE(TTakenMenu::Take(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, h, nullptr, nullptr, nullptr)))
      << "a window without a menu gives nothing";
}

TEST(Menus, ForeignMenuIsOwnedWhileTaken) {
  auto foreignWindow = [](HMENU menu) {
    return CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, menu, nullptr, nullptr);
  };
  // Given back to a live window: the window owns it again and destroys it with itself.
  HMENU first = CreateMenu();
  AppendMenuA(first, MF_STRING, 1, "One");
  HWND w1 = foreignWindow(first);
  ASSERT_EQ(GetMenu(w1), first);
  {
    TTakenMenu taken = TTakenMenu::Take(w1);
    EXPECT_EQ(taken.Component(), nullptr);
    EXPECT_EQ(GetMenu(w1), nullptr);
    taken.GiveBack();
    EXPECT_EQ(GetMenu(w1), first);
  }
  EXPECT_TRUE(IsMenu(first));
  DestroyWindow(w1);
  EXPECT_FALSE(IsMenu(first));

  // The window destroyed while its menu is taken: the taker destroys the menu, once.
  HMENU second = CreateMenu();
  AppendMenuA(second, MF_STRING, 1, "Two");
  HWND w2 = foreignWindow(second);
  {
    TTakenMenu taken = TTakenMenu::Take(w2);
    DestroyWindow(w2);
    EXPECT_TRUE(IsMenu(second)) << "a menu off the window is not destroyed with it";
  }
  EXPECT_FALSE(IsMenu(second));
}

TEST(Menus, DestroyingTheFormWindowLeavesTheMenuToItsComponent) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* menu = form->Create<TMainMenu>();
  menu->Items()->Add("&File")->Add("&Open");
  form->Menu = menu;
  HWND h = form->Handle();
  HMENU handle = menu->HandleIfCreated();
  DestroyWindow(h);
  EXPECT_TRUE(IsMenu(handle)) << "the window must not take the component's menu with it";
  form.reset();
  EXPECT_FALSE(IsMenu(handle));
}
