// The calendar as an ordinary control on a form: keys, wheel, glyph buttons, the change
// notification's browsing flag, revert on focus, painting; and the locale sources on Windows.
#include <gtest/gtest.h>

#include <vector>

#include "DateControlsTestSupport.h"

using namespace zelvo;
using namespace zelvo::test;

namespace {

struct CalendarForm {
  CalendarForm() : intl(UsLocale()), form(nullptr) {
    form.BorderStyle = TFormBorderStyle::bsSingle;
    form.SetBounds(250, 250, 0, 0);
    form.SetClientSize(260, 200);
    cal = form.Create<TZcCalendar>();
    cal->Name = "Calendar";
    cal->SetParent(&form);
    cal->SetBounds(10, 10, 200, 140);
    cal->OnChange = [this](TZcCustomCalendar& c, double date) { changes.push_back({date, c.Browsing()}); };
    form.Show();
    Pump(50);
  }
  ~CalendarForm() { form.Hide(); }
  struct Change {
    double date;
    bool browsing;
  };
  TZcIntlOverride intl;
  TForm form;
  TZcCalendar* cal = nullptr;
  std::vector<Change> changes;
};

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

TEST(Calendar, PlainControlStartsAtTodayAndBrowsesWithKeysWheelAndButtons) {
  CalendarForm f;
  TZcCalendar& c = *f.cal;
  HWND h = c.HandleIfCreated();
  const TStDate today = ZcToday();
  EXPECT_EQ(c.Core().Julian(), today) << "a calendar without a date starts at today";
  EXPECT_EQ(GetWindowLongA(h, GWL_STYLE) & WS_CHILD, WS_CHILD);
  EXPECT_EQ(SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);

  c.SetFocus();
  Pump(20);
  PostKey(h, VK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return c.Core().Julian() == today + 1; }));
  ASSERT_EQ(f.changes.size(), 1u);
  EXPECT_TRUE(f.changes[0].browsing) << "a key move notifies as browsing";
  EXPECT_EQ(f.changes[0].date, Serial(today + 1));

  PostKey(h, VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return c.Core().Julian() == today; })) << "back to the date it had on focus";

  // Wheel: a notch towards the user is the next month, a larger turn away a year back.
  POINT screen{20, 20};
  ClientToScreen(h, &screen);
  PostMessageA(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(screen.x, screen.y));
  ASSERT_TRUE(PumpUntil([&] { return c.Core().Julian() == IncDateTrunc(today, 1, 0); }));
  PostMessageA(h, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MAKELPARAM(screen.x, screen.y));
  ASSERT_TRUE(PumpUntil([&] { return c.Core().Julian() == IncDateTrunc(IncDateTrunc(today, 1, 0), 0, -1); }));

  // Glyph buttons of a plain calendar act on release over them.
  const TStDate before = c.Core().Julian();
  POINT p = Centre(c.ButtonRect(TZcCalButton::NextYear));
  PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  Pump(50);
  EXPECT_EQ(c.Core().Julian(), before) << "nothing on the press";
  PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  ASSERT_TRUE(PumpUntil([&] { return c.Core().Julian() == IncDateTrunc(before, 0, 1); }));
  p = Centre(c.ButtonRect(TZcCalButton::Today));
  PostClick(h, p.x, p.y);
  ASSERT_TRUE(PumpUntil([&] { return c.Core().Julian() == today; }));
  EXPECT_TRUE(f.changes.back().browsing);

  // A press that leaves the button first does nothing.
  p = Centre(c.ButtonRect(TZcCalButton::PrevMonth));
  PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 100));
  PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
  Pump(80);
  EXPECT_EQ(c.Core().Julian(), today);

  // Enter notifies without the browsing flag.
  f.changes.clear();
  PostChars(h, "\r");
  ASSERT_TRUE(PumpUntil([&] { return !f.changes.empty(); }));
  EXPECT_FALSE(f.changes[0].browsing);

  // Read-only: keys and clicks change nothing.
  c.SetReadOnly(true);
  PostKey(h, VK_RIGHT);
  PostChars(h, "+");
  Pump(80);
  EXPECT_EQ(c.Core().Julian(), today);
}

TEST(Calendar, PaintsTheMonthWithItsColours) {
  CalendarForm f;
  TZcCalendar& c = *f.cal;
  ASSERT_TRUE(c.SetDate(Serial(Day(2004, 3, 5))));
  RECT client;
  GetClientRect(c.HandleIfCreated(), &client);
  auto render = [&] {
    WindowDC screen(nullptr);
    UniqueDC mem = CompatibleDC(screen.Get());
    UniqueGdi<HBITMAP> bmp(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    ScopedSelect sel(mem.Get(), bmp.Get());
    c.PaintTo(mem.Get());
    // Which colours each cell of the first week row shows.
    std::vector<std::vector<COLORREF>> cells;
    for (int cell = 1; cell <= 42; ++cell) {
      RECT r = c.CellRect(cell);
      std::vector<COLORREF> seen;
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) seen.push_back(GetPixel(mem.Get(), x, y));
      cells.push_back(seen);
    }
    return cells;
  };
  auto has = [](const std::vector<COLORREF>& v, COLORREF colour) { return std::find(v.begin(), v.end(), colour) != v.end(); };

  // March 2004 with Sunday first: cell 1 is 29 February (grey), the 5th (a Friday) in cell 6 is
  // the current day (red on a button face), Sunday 7 March in cell 8 a weekend day (red).
  auto cells = render();
  EXPECT_EQ(c.Core().FirstCell(), 2);
  EXPECT_TRUE(has(cells[0], RGB(0x80, 0x80, 0x80)));
  EXPECT_TRUE(has(cells[5], RGB(255, 0, 0)));
  EXPECT_TRUE(has(cells[7], RGB(255, 0, 0)));
  EXPECT_TRUE(has(cells[8], RGB(0, 0, 0))) << "Monday 8 March in black";
  EXPECT_FALSE(has(cells[8], RGB(255, 0, 0)));

  // Without cdoShowInactive the neighbouring months' days are not drawn.
  TZcCalDisplayOptions o = c.Options();
  o.showInactive = false;
  c.SetOptions(o);
  cells = render();
  EXPECT_FALSE(has(cells[0], RGB(0x80, 0x80, 0x80)));
  EXPECT_FALSE(has(cells[41], RGB(0x80, 0x80, 0x80)));

  // A colour change turns the scheme custom and shows at once.
  c.Colors().SetScheme(TZcCalColorScheme::cscalOcean);
  cells = render();
  EXPECT_TRUE(has(cells[8], RGB(0, 255, 255))) << "Ocean days in aqua";
  c.Colors().SetColor(TZcCalColorRole::Days, zccolor::clGreen);
  EXPECT_EQ(c.Colors().Scheme(), TZcCalColorScheme::cscalCustom);
  cells = render();
  EXPECT_TRUE(has(cells[8], RGB(0, 0x80, 0)));
}

namespace {
// Answers the month menu from a timer: Down selects the first item, Enter chooses it.
int g_menuTicks = 0;
HWND g_menuOwner = nullptr;
void CALLBACK AnswerMenu(HWND, UINT, UINT_PTR id, DWORD) {
  ++g_menuTicks;
  if (g_menuTicks == 3) PostKey(g_menuOwner, VK_DOWN);
  if (g_menuTicks == 5) PostKey(g_menuOwner, VK_RETURN);
  if (g_menuTicks > 40) {
    EndMenu();
    KillTimer(nullptr, id);
  }
}
}  // namespace

TEST(Calendar, RightClickInTheHeaderOpensTheMonthMenu) {
  CalendarForm f;
  TZcCalendar& c = *f.cal;
  HWND h = c.HandleIfCreated();
  const auto items = c.Core().MonthMenuItems();
  EXPECT_EQ(items[3].month, c.Core().Month()) << "the current month in the middle";
  int y, m, d;
  Parts(c.Core().Julian(), y, m, d);
  const int lastDay = DaysInMonth(items[0].month, items[0].year, 0);
  const TStDate expected = Day(items[0].year, items[0].month, std::min(d, lastDay));

  const TRectI& header = c.Core().Layout().headerBox;
  const int x = (header.left + header.right) / 2, yy = (header.top + header.bottom) / 2;
  g_menuTicks = 0;
  g_menuOwner = h;
  UniqueTimer timer = UniqueTimer::Set(nullptr, 0, 60, AnswerMenu);
  PostMessageA(h, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, yy));
  PostMessageA(h, WM_RBUTTONUP, 0, MAKELPARAM(x, yy));
  ASSERT_TRUE(PumpUntil([&] { return c.Core().Julian() == expected; }));
  timer.Reset();
  ASSERT_FALSE(f.changes.empty());
  EXPECT_FALSE(f.changes.back().browsing) << "a month chosen from the menu is a choice";
  EXPECT_FALSE(c.Core().MenuActive());
}

TEST(ZcIntlWin, LocaleNamesComeInSundayFirstOrder) {
  TZcWinIntlSource english(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
  EXPECT_EQ(english.DayName(0, false), "Sunday");
  EXPECT_EQ(english.DayName(1, true), "Mon");
  EXPECT_EQ(english.DayName(6, false), "Saturday");
  EXPECT_EQ(english.MonthName(1, false), "January");
  EXPECT_EQ(english.MonthName(12, true), "Dec");
  EXPECT_EQ(english.MonthName(13, false), "");
  EXPECT_EQ(english.ProfileString("sNoSuchKeyForZelvo", "fallback"), "fallback");

  // The process's settings: read once, pictures made from them.
  const TZcIntlSup& system = ZcIntlSup();
  EXPECT_EQ(&system, &ZcIntlSup());
  EXPECT_FALSE(system.ShortDatePicture().empty());
  EXPECT_EQ(system.UpperCase("next fri"), "NEXT FRI");
}
