#include "controls/zccalendar_core.h"

#include <gtest/gtest.h>

#include <vector>

#include "DateTestSupport.h"

using namespace zelvo;
using namespace zelvo::testing;

namespace {

struct Change {
  TStDate date;
  bool browsing;
};

// A popup calendar laid out at 200 x 140 with a 13-pixel font, today Tuesday 15 June 2004.
class Calendar {
 public:
  explicit Calendar(TStDate date = Day(2004, 3, 5)) : cal(intl, [this] { return today; }, true) {
    TZcCalLayoutInput in;
    in.clientWidth = 200;
    in.clientHeight = 140;
    in.textHeight = 13;
    in.glyphWidths = {16, 16, 16, 16, 16, 16};
    in.popup = true;
    cal.SetLayout(ZcCalendarLayout(in));
    cal.SetJulian(date);
    cal.FocusReceived();
    cal.OnChange = [this](double d, bool browsing) {
      EXPECT_EQ(cal.Browsing(), browsing);
      changes.push_back({DateTimeToStDate(d), browsing});
    };
  }
  bool Key(TZcCalKey key, bool ctrl = false, bool alt = false, bool shift = false) {
    TZcShiftState s;
    s.ctrl = ctrl;
    s.alt = alt;
    s.shift = shift;
    return cal.KeyDown(key, s);
  }
  // The centre of a day cell (1-42).
  TPointI CellPoint(int cell) const {
    const TRectI& r = cal.Layout().Cell((cell - 1) / 7 + 2, (cell - 1) % 7);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  bool Press(int cell, TZcMouseButton button = TZcMouseButton::Left) {
    TPointI p = CellPoint(cell);
    return cal.MouseDown(p.x, p.y, button, true);
  }

  TZcIntlSup intl;
  TStDate today = Day(2004, 6, 15);
  TZcCalendarCore cal;
  std::vector<Change> changes;
};

}  // namespace

// --- Day table -------------------------------------------------------------------------------------

TEST(CalendarTable, March2004FromSunday) {
  Calendar c;
  EXPECT_EQ(c.cal.FirstCell(), 2);  // the 1st, a Monday, in column 2
  EXPECT_EQ(c.cal.LastCell(), 32);
  EXPECT_EQ(c.cal.TableDay(1), 29);  // February 2004 has 29 days
  for (int cell = 2; cell <= 32; ++cell) EXPECT_EQ(c.cal.TableDay(cell), cell - 1);
  for (int cell = 33; cell <= 42; ++cell) EXPECT_EQ(c.cal.TableDay(cell), cell - 32);
  EXPECT_EQ(c.cal.TableDay(49), 17);
  EXPECT_EQ(c.cal.ActiveCell(), 6);
  EXPECT_EQ(c.cal.CellDate(1), Day(2004, 2, 29));
  EXPECT_EQ(c.cal.CellDate(33), Day(2004, 4, 1));
  TZcCalCell april1 = c.cal.CellInfo(33);
  EXPECT_FALSE(april1.inMonth);
  EXPECT_TRUE(april1.visible);
  EXPECT_EQ(april1.color, zccolor::clGray);
  EXPECT_EQ(c.cal.CellInfo(6).color, zccolor::clBlack);  // Friday
  EXPECT_TRUE(c.cal.CellInfo(6).active);
  EXPECT_EQ(c.cal.CellInfo(7).color, zccolor::clRed);    // Saturday
  EXPECT_EQ(c.cal.CellInfo(8).color, zccolor::clRed);    // Sunday
  TZcCalDisplayOptions o;
  o.showInactive = false;
  c.cal.SetOptions(o);
  EXPECT_FALSE(c.cal.CellInfo(33).visible);
  EXPECT_FALSE(c.cal.CellInfo(1).visible);
}

TEST(CalendarTable, AMonthStartingOnTheFirstColumn) {
  Calendar c(Day(2009, 2, 10));  // 1 February 2009 was a Sunday, 28 days
  EXPECT_EQ(c.cal.FirstCell(), 1);
  EXPECT_EQ(c.cal.LastCell(), 28);
  for (int cell = 29; cell <= 42; ++cell) EXPECT_EQ(c.cal.TableDay(cell), cell - 28);
  c.cal.SetWeekStarts(1);  // Monday: the Sunday 1st moves to the last column
  EXPECT_EQ(c.cal.FirstCell(), 7);
  EXPECT_EQ(c.cal.TableDay(1), 26);  // 26-31 January
  EXPECT_EQ(c.cal.TableDay(6), 31);
  EXPECT_EQ(c.cal.TableDay(7), 1);
  c.cal.SetWeekStarts(0);
  c.cal.SetJulian(Day(2004, 6, 15));
  c.cal.SetWeekStarts(2);  // Tuesday, the weekday of 1 June 2004
  EXPECT_EQ(c.cal.FirstCell(), 1);
}

TEST(CalendarTable, HighlightHook) {
  Calendar c;
  c.cal.OnGetHighlight = [](double date, TZcColor& color) {
    if (DateTimeToStDate(date) == Day(2004, 3, 17)) color = zccolor::clLime;
  };
  EXPECT_EQ(c.cal.CellInfo(18).color, zccolor::clLime);
  EXPECT_EQ(c.cal.CellInfo(19).color, zccolor::clBlack);
}

// --- Layout ----------------------------------------------------------------------------------------

TEST(CalendarLayout, TwoHundredByOneForty) {
  Calendar c;
  const TZcCalLayout& l = c.cal.Layout();
  EXPECT_EQ(l.columnWidths, (std::array<int, 7>{28, 28, 28, 27, 27, 27, 27}));
  EXPECT_EQ(l.rowHeights, (std::array<int, 9>{20, 21, 13, 13, 13, 13, 13, 13, 13}));
  EXPECT_EQ(l.Cell(0, 0), (TRectI{4, 4, 32, 24}));
  EXPECT_EQ(l.Cell(1, 0), (TRectI{4, 24, 32, 45}));
  EXPECT_EQ(l.Cell(2, 3), (TRectI{88, 45, 115, 58}));
  EXPECT_EQ(l.Cell(7, 6), (TRectI{169, 110, 196, 123}));
  EXPECT_EQ(l.Button(TZcCalButton::PrevYear), (TRectI{4, 4, 27, 20}));
  EXPECT_EQ(l.Button(TZcCalButton::PrevMonth), (TRectI{27, 4, 50, 20}));
  EXPECT_EQ(l.Button(TZcCalButton::NextMonth), (TRectI{150, 4, 173, 20}));
  EXPECT_EQ(l.Button(TZcCalButton::NextYear), (TRectI{173, 4, 196, 20}));
  EXPECT_EQ(l.Button(TZcCalButton::Today), (TRectI{146, 124, 196, 137}));
  EXPECT_EQ(l.Button(TZcCalButton::Revert), (TRectI{92, 124, 142, 137}));
  EXPECT_EQ(l.headerBox, (TRectI{32, 4, 169, 24}));
  EXPECT_FALSE(l.flatButtons);  // a popup
  for (bool v : l.buttonVisible) EXPECT_TRUE(v);
}

TEST(CalendarLayout, RoundingGlyphsOptionsAndFlatness) {
  TZcCalLayoutInput in;
  in.clientWidth = 200;
  in.clientHeight = 140;
  in.textHeight = 11;  // 15.4 -> 15, 16.5 -> 16 (halves to even, as the platform rounds)
  in.glyphWidths = {30, 16, 16, 16, 16, 16};
  in.options.showNavBtns = false;
  in.options.showToday = false;
  TZcCalLayout l = ZcCalendarLayout(in);
  EXPECT_EQ(l.rowHeights[0], 17);
  EXPECT_EQ(l.rowHeights[1], 17);
  EXPECT_EQ(l.rowHeights[2], 14);
  EXPECT_EQ(l.Button(TZcCalButton::PrevYear), (TRectI{4, 4, 37, 17}));  // glyph 30 + 3
  EXPECT_EQ(l.Button(TZcCalButton::PrevMonth).left, 37);
  EXPECT_FALSE(l.Visible(TZcCalButton::PrevYear));
  EXPECT_FALSE(l.Visible(TZcCalButton::Today));
  EXPECT_TRUE(l.Visible(TZcCalButton::Revert));
  EXPECT_TRUE(l.flatButtons);
  in.ctl3D = true;
  EXPECT_FALSE(ZcCalendarLayout(in).flatButtons);
  // A size too small for anything must still compute.
  in.clientWidth = 3;
  in.clientHeight = 2;
  (void)ZcCalendarLayout(in);
}

TEST(CalendarLayout, CellUnderThePointer) {
  Calendar c;
  EXPECT_EQ(c.cal.CellAt(4, 45), 1);
  EXPECT_EQ(c.cal.CellAt(195, 122), 42);
  EXPECT_EQ(c.cal.CellAt(10, 30), 0);    // day-name row
  EXPECT_EQ(c.cal.CellAt(10, 130), 0);   // button row
  EXPECT_EQ(c.cal.CellAt(196, 50), 0);   // right margin
}

// --- Painting texts and colours --------------------------------------------------------------------

TEST(CalendarTexts, HeaderAndDayNames) {
  Calendar c;
  EXPECT_EQ(c.cal.HeaderText(nullptr), "March 2004");
  auto wide = [](const std::string& t) { return static_cast<int>(t.size()) * 20; };
  EXPECT_EQ(c.cal.HeaderText(wide), "Mar 2004");  // 200 > 137: the short form
  c.cal.dateFormat = TZcDateFormat::dfShort;
  EXPECT_EQ(c.cal.HeaderText(nullptr), "Mar 2004");
  TZcCalDisplayOptions o;
  o.showYear = false;
  c.cal.SetOptions(o);
  EXPECT_EQ(c.cal.HeaderText(nullptr), "Mar");
  c.cal.dateFormat = TZcDateFormat::dfLong;
  EXPECT_EQ(c.cal.HeaderText(nullptr), "March");
  EXPECT_EQ(c.cal.HeaderText(wide), "March");  // 100 fits in 137
  auto wider = [](const std::string& t) { return static_cast<int>(t.size()) * 30; };
  EXPECT_EQ(c.cal.HeaderText(wider), "Mar 2004");  // the fallback always shows the year

  EXPECT_EQ(c.cal.DayNameText(0), "Sun");
  EXPECT_TRUE(c.cal.WeekendColumn(0));
  EXPECT_TRUE(c.cal.WeekendColumn(6));
  EXPECT_FALSE(c.cal.WeekendColumn(3));
  c.cal.SetDayNameWidth(1);
  EXPECT_EQ(c.cal.DayNameText(1), "M");
  c.cal.SetDayNameWidth(9);
  EXPECT_EQ(c.cal.DayNameWidth(), 3);
  c.cal.SetWeekStarts(1);
  EXPECT_EQ(c.cal.DayNameText(0), "Mon");
  EXPECT_TRUE(c.cal.WeekendColumn(5));
  EXPECT_TRUE(c.cal.WeekendColumn(6));
  EXPECT_FALSE(c.cal.WeekendColumn(0));
  EXPECT_EQ(c.cal.CellInfo(6).color, zccolor::clRed);  // Saturday 6 March in column 5
}

TEST(CalendarColors, Schemes) {
  TZcCalColors colors;
  EXPECT_EQ(colors.Scheme(), TZcCalColorScheme::cscalCustom);
  EXPECT_EQ(colors.Color(TZcCalColorRole::ActiveDay), zccolor::clRed);
  EXPECT_EQ(colors.Color(TZcCalColorRole::DayNames), zccolor::clMaroon);
  EXPECT_EQ(colors.Color(TZcCalColorRole::Days), zccolor::clBlack);
  EXPECT_EQ(colors.Color(TZcCalColorRole::InactiveDays), zccolor::clGray);
  EXPECT_EQ(colors.Color(TZcCalColorRole::MonthAndYear), zccolor::clBlue);
  EXPECT_EQ(colors.Color(TZcCalColorRole::Weekend), zccolor::clRed);
  int changes = 0;
  colors.OnChange = [&] { ++changes; };
  colors.SetScheme(TZcCalColorScheme::cscalGold);
  EXPECT_EQ(colors.Scheme(), TZcCalColorScheme::cscalGold);
  EXPECT_EQ(colors.Color(TZcCalColorRole::Days), zccolor::clYellow);
  EXPECT_EQ(colors.Color(TZcCalColorRole::Weekend), zccolor::clTeal);
  colors.SetScheme(TZcCalColorScheme::cscalCustom);  // keeps the colours
  EXPECT_EQ(colors.Color(TZcCalColorRole::Days), zccolor::clYellow);
  colors.SetScheme(TZcCalColorScheme::cscalOcean);
  colors.SetColor(TZcCalColorRole::Days, zccolor::clWhite);
  EXPECT_EQ(colors.Scheme(), TZcCalColorScheme::cscalCustom);
  EXPECT_EQ(colors.Color(TZcCalColorRole::Weekend), zccolor::clNavy);
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(TZcCalColors::SchemeColors(TZcCalColorScheme::cscalClassic),
            (TZcCalColors::Set{0xFF00000D, 0xFF000005, 0xFF000005, 0xFF000005, 0xFF000005, 0xFF000005}));
  EXPECT_EQ(TZcCalColors::SchemeColors(TZcCalColorScheme::cscalRose),
            (TZcCalColors::Set{zccolor::clRed, zccolor::clRed, zccolor::clFuchsia, zccolor::clGray,
                               zccolor::clBlue, zccolor::clTeal}));
  EXPECT_EQ(zccolor::clRed, 0x0000FFu);
  EXPECT_EQ(zccolor::clBlue, 0xFF0000u);
}

TEST(CalendarButtons, ResourceNames) {
  EXPECT_STREQ(ZcCalButtonResource(TZcCalButton::PrevYear), "ZCLEFTARROWS");
  EXPECT_STREQ(ZcCalButtonResource(TZcCalButton::PrevMonth), "ZCLEFTARROW");
  EXPECT_STREQ(ZcCalButtonResource(TZcCalButton::NextMonth), "ZCRIGHTARROW");
  EXPECT_STREQ(ZcCalButtonResource(TZcCalButton::NextYear), "ZCRIGHTARROWS");
  EXPECT_STREQ(ZcCalButtonResource(TZcCalButton::Today), "ZCTODAY");
  EXPECT_STREQ(ZcCalButtonResource(TZcCalButton::Revert), "ZCREVERT");
}

// --- Keys ------------------------------------------------------------------------------------------

TEST(CalendarKeys, MovesAndBrowsingNotifications) {
  Calendar c;
  EXPECT_TRUE(c.Key(TZcCalKey::Right));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 6));
  EXPECT_TRUE(c.Key(TZcCalKey::Left));
  EXPECT_TRUE(c.Key(TZcCalKey::Down));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 12));
  EXPECT_TRUE(c.Key(TZcCalKey::Up));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_TRUE(c.Key(TZcCalKey::End));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 31));
  EXPECT_TRUE(c.Key(TZcCalKey::Home));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 1));
  EXPECT_TRUE(c.Key(TZcCalKey::End, true));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 12, 31));
  EXPECT_TRUE(c.Key(TZcCalKey::Home, true));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 1, 1));
  EXPECT_TRUE(c.Key(TZcCalKey::Back, false, true));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 6, 15));
  ASSERT_EQ(c.changes.size(), 9u);
  for (const Change& ch : c.changes) EXPECT_TRUE(ch.browsing);
  EXPECT_EQ(c.changes.back().date, Day(2004, 6, 15));
  // A key that lands on the same date tells nothing.
  EXPECT_TRUE(c.Key(TZcCalKey::Back, false, true));
  EXPECT_EQ(c.changes.size(), 9u);
}

TEST(CalendarKeys, MonthsAndYearsClipTheDay) {
  Calendar c(Day(2003, 1, 31));
  c.Key(TZcCalKey::PageDown);
  EXPECT_EQ(c.cal.Julian(), Day(2003, 2, 28));
  c.cal.SetJulian(Day(2004, 2, 29));
  c.Key(TZcCalKey::PageUp, true);
  EXPECT_EQ(c.cal.Julian(), Day(2003, 2, 28));
  c.Key(TZcCalKey::PageDown, true);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 2, 28));
  c.Key(TZcCalKey::PageUp);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 1, 28));
}

TEST(CalendarKeys, Modifiers) {
  Calendar c;
  EXPECT_FALSE(c.Key(TZcCalKey::PageUp, false, false, true));  // Shift+Page Up: nothing
  EXPECT_FALSE(c.Key(TZcCalKey::Left, true));
  EXPECT_FALSE(c.Key(TZcCalKey::Escape, false, false, true));
  EXPECT_FALSE(c.Key(TZcCalKey::Back));
  EXPECT_FALSE(c.Key(TZcCalKey::PageUp, false, true));  // Alt alone is no Ctrl form
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_TRUE(c.Key(TZcCalKey::PageUp, true, false, true));  // Ctrl forms take any other modifier
  EXPECT_EQ(c.cal.Julian(), Day(2003, 3, 5));
  EXPECT_TRUE(c.Key(TZcCalKey::Back, true, true, true));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 6, 15));
  EXPECT_TRUE(c.Key(TZcCalKey::Home, true, true));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 1, 1));
}

TEST(CalendarKeys, EscapeRevertsToTheDateAtFocus) {
  Calendar c;
  c.Key(TZcCalKey::PageDown);
  c.Key(TZcCalKey::PageDown);
  c.Key(TZcCalKey::Right);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 5, 6));
  EXPECT_TRUE(c.Key(TZcCalKey::Escape));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_TRUE(c.changes.back().browsing);
  c.cal.FocusReceived();
  c.Key(TZcCalKey::Right);
  c.Key(TZcCalKey::Escape);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
}

TEST(CalendarKeys, ReadOnlyIgnoresThem) {
  Calendar c;
  c.cal.readOnly = true;
  EXPECT_FALSE(c.Key(TZcCalKey::Right));
  EXPECT_FALSE(c.cal.KeyPress('+'));
  EXPECT_FALSE(c.cal.KeyPress('\x1A'));
  EXPECT_FALSE(c.cal.MouseWheel(120));
  EXPECT_FALSE(c.Press(20));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_TRUE(c.changes.empty());
  EXPECT_TRUE(c.cal.KeyPress('\r'));  // handing the shown date over changes nothing
  EXPECT_EQ(c.changes.size(), 1u);
}

TEST(CalendarKeys, TypedCharacters) {
  Calendar c;
  EXPECT_TRUE(c.cal.KeyPress('+'));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 6));
  EXPECT_TRUE(c.cal.KeyPress('-'));
  EXPECT_TRUE(c.cal.KeyPress('-'));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 4));
  EXPECT_TRUE(c.cal.KeyPress('\x1A'));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 6, 15));
  EXPECT_TRUE(c.changes.empty());  // none of these tells the field
  EXPECT_TRUE(c.cal.KeyPress('\r'));
  ASSERT_EQ(c.changes.size(), 1u);
  EXPECT_FALSE(c.changes[0].browsing);
  EXPECT_EQ(c.changes[0].date, Day(2004, 6, 15));
  EXPECT_TRUE(c.cal.KeyPress(' '));
  EXPECT_EQ(c.changes.size(), 2u);
  EXPECT_FALSE(c.cal.KeyPress('x'));
  EXPECT_FALSE(c.cal.Browsing());
}

TEST(CalendarKeys, TheEdgesOfTheRange) {
  Calendar c(Day(1600, 2, 1));
  EXPECT_TRUE(c.Key(TZcCalKey::Left));
  EXPECT_TRUE(c.Key(TZcCalKey::PageUp));
  EXPECT_TRUE(c.Key(TZcCalKey::Home, true));
  EXPECT_EQ(c.cal.Julian(), Day(1600, 2, 1));
  c.cal.SetJulian(Day(3999, 11, 30));
  EXPECT_TRUE(c.Key(TZcCalKey::Right));
  EXPECT_TRUE(c.Key(TZcCalKey::End, true));
  EXPECT_EQ(c.cal.Julian(), Day(3999, 11, 30));
  EXPECT_EQ(c.changes.size(), 0u);
}

// --- The enabled-date hook -------------------------------------------------------------------------

TEST(CalendarEnabled, SearchAlternatesAroundTheBase) {
  Calendar c;  // Friday 5 March 2004
  c.cal.OnGetDateEnabled = [](double date, bool& enabled) {
    int wd = DayOfWeek(DateTimeToStDate(date));
    enabled = wd != 0 && wd != 6;
  };
  c.Key(TZcCalKey::Right);  // Saturday refused: base + 1 no, base - 1 = Thursday
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 4));
  c.cal.SetJulian(Day(2004, 5, 14));
  c.Key(TZcCalKey::Home);  // 1 May 2004, a Saturday: base = 30 April; 1 May no, 29 April yes
  EXPECT_EQ(c.cal.Julian(), Day(2004, 4, 29));
  c.cal.SetJulian(Day(2004, 7, 14));
  c.Key(TZcCalKey::End);  // 31 July 2004, a Saturday: base = 1 August, step -1; 31 July no, 2 August yes
  EXPECT_EQ(c.cal.Julian(), Day(2004, 8, 2));
}

TEST(CalendarEnabled, NothingEnabledFails) {
  Calendar c;
  int asked = 0;
  c.cal.OnGetDateEnabled = [&](double, bool& enabled) {
    ++asked;
    enabled = false;
  };
  try {
    c.Key(TZcCalKey::Right);
    ADD_FAILURE();
  } catch (const EZcException& e) {
    EXPECT_EQ(e.Code(), TZcError::NoEnabledDate);
    EXPECT_EQ(e.Message(), "Value is not a valid date");
  }
  EXPECT_EQ(asked, 2 * 999);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_FALSE(c.Press(20));  // a refused day cannot be clicked
  EXPECT_TRUE(c.changes.empty());
}

// --- Buttons, wheel, mouse -------------------------------------------------------------------------

TEST(CalendarButtons, ActAsKeys) {
  Calendar c;
  c.cal.ClickButton(TZcCalButton::NextMonth);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 4, 5));
  c.cal.ClickButton(TZcCalButton::PrevYear);
  EXPECT_EQ(c.cal.Julian(), Day(2003, 4, 5));
  c.cal.ClickButton(TZcCalButton::NextYear);
  c.cal.ClickButton(TZcCalButton::PrevMonth);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  c.cal.ClickButton(TZcCalButton::Today);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 6, 15));
  c.cal.ClickButton(TZcCalButton::Revert);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_EQ(c.changes.size(), 6u);
  for (const Change& ch : c.changes) EXPECT_TRUE(ch.browsing);
  // A captured press on a visible button clicks it.
  const TRectI& next = c.cal.Layout().Button(TZcCalButton::NextMonth);
  EXPECT_TRUE(c.cal.MouseDown(next.left + 2, next.top + 2, TZcMouseButton::Left, true));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 4, 5));
  EXPECT_FALSE(c.cal.MouseDown(next.left + 2, next.top + 2, TZcMouseButton::Left, false));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 4, 5));
}

TEST(CalendarWheel, Turns) {
  Calendar c;
  c.cal.MouseWheel(120);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 2, 5));
  c.cal.MouseWheel(-120);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  c.cal.MouseWheel(240);
  EXPECT_EQ(c.cal.Julian(), Day(2003, 3, 5));
  c.cal.MouseWheel(-360);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  c.cal.MouseWheel(60);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 2, 27));
  c.cal.MouseWheel(-1);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_FALSE(c.cal.MouseWheel(0));
  EXPECT_EQ(c.changes.size(), 6u);
  for (const Change& ch : c.changes) EXPECT_TRUE(ch.browsing);
}

TEST(CalendarMouse, PressingDays) {
  Calendar c;
  // A day of the month shown: chosen, not browsing (the popup closes).
  EXPECT_TRUE(c.Press(18));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 17));
  ASSERT_EQ(c.changes.size(), 1u);
  EXPECT_FALSE(c.changes[0].browsing);
  // The current day itself: handed over again.
  EXPECT_TRUE(c.Press(18));
  EXPECT_EQ(c.changes.size(), 2u);
  // A grey day of the next month: the calendar moves there and keeps browsing.
  EXPECT_TRUE(c.Press(33));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 4, 1));
  EXPECT_TRUE(c.changes.back().browsing);
  // A grey day of the previous month (April 2004 starts on Thursday, column 5).
  EXPECT_EQ(c.cal.FirstCell(), 5);
  EXPECT_TRUE(c.Press(1));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 28));
  EXPECT_TRUE(c.changes.back().browsing);
  // The right button moves without telling.
  size_t told = c.changes.size();
  EXPECT_TRUE(c.Press(10, TZcMouseButton::Right));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 9));
  EXPECT_EQ(c.changes.size(), told);
  // Outside the week rows nothing happens.
  EXPECT_FALSE(c.cal.MouseDown(100, 30, TZcMouseButton::Left, true));
  // While the month menu is open presses are ignored.
  c.cal.SetMenuActive(true);
  EXPECT_FALSE(c.Press(12));
  c.cal.SetMenuActive(false);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 9));
}

TEST(CalendarMouse, InactiveDaysHiddenCannotBeClicked) {
  Calendar c;
  TZcCalDisplayOptions o;
  o.showInactive = false;
  c.cal.SetOptions(o);
  EXPECT_FALSE(c.Press(33));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_TRUE(c.changes.empty());
}

// --- Month menu ------------------------------------------------------------------------------------

TEST(CalendarMonthMenu, SevenMonthsAroundTheCurrentOne) {
  Calendar c;  // March 2004
  auto items = c.cal.MonthMenuItems();
  const int months[7] = {12, 1, 2, 3, 4, 5, 6};
  const int years[7] = {2003, 2004, 2004, 2004, 2004, 2004, 2004};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(items[static_cast<size_t>(i)].month, months[i]);
    EXPECT_EQ(items[static_cast<size_t>(i)].year, years[i]);
  }
  EXPECT_EQ(items[0].caption, "December");
  c.cal.SetJulian(Day(2004, 11, 30));
  items = c.cal.MonthMenuItems();
  EXPECT_EQ(items[6].month, 2);
  EXPECT_EQ(items[6].year, 2005);
  EXPECT_EQ(items[5].month, 1);
  EXPECT_EQ(items[5].year, 2005);
  EXPECT_EQ(items[4].year, 2004);
  // Choosing keeps the day, clipped: 30 November -> February 2005 gives the 28th.
  c.cal.ChooseMonthMenuItem(6);
  EXPECT_EQ(c.cal.Julian(), Day(2005, 2, 28));
  ASSERT_EQ(c.changes.size(), 1u);
  EXPECT_FALSE(c.changes[0].browsing);
  c.cal.ChooseMonthMenuItem(0);
  EXPECT_EQ(c.cal.Julian(), Day(2004, 11, 28));
}

TEST(CalendarMonthMenu, WhereItOpens) {
  Calendar c;
  EXPECT_FALSE(c.cal.MonthMenuHit(27, 10));  // not beyond previous-year left + next-year width
  EXPECT_TRUE(c.cal.MonthMenuHit(28, 10));
  EXPECT_TRUE(c.cal.MonthMenuHit(172, 23));
  EXPECT_FALSE(c.cal.MonthMenuHit(173, 10));
  EXPECT_FALSE(c.cal.MonthMenuHit(100, 24));  // the day-name row
  EXPECT_EQ(TZcCalendarCore::MonthMenuPosition(100, 12, 19), (TPointI{80, 12 - 66}));
}

// --- Setting the date, creation, repaint ----------------------------------------------------------

TEST(CalendarDate, SettingFromOutside) {
  Calendar c;
  EXPECT_FALSE(c.cal.SetJulian(Day(1600, 1, 31)));
  EXPECT_FALSE(c.cal.SetJulian(Day(3999, 12, 1)));
  EXPECT_FALSE(c.cal.SetJulian(kBadDate));
  EXPECT_FALSE(c.cal.SetDate(1e9));
  EXPECT_EQ(c.cal.Julian(), Day(2004, 3, 5));
  EXPECT_TRUE(c.cal.SetJulian(Day(1600, 2, 1)));
  EXPECT_EQ(c.cal.TableDay(c.cal.FirstCell() - 1), 31);  // January 1600 before it
  EXPECT_TRUE(c.cal.SetJulian(Day(3999, 11, 30)));
  EXPECT_TRUE(c.cal.SetDate(PlatformDate(2004, 3, 5) + 0.5));
  EXPECT_EQ(c.cal.Date(), PlatformDate(2004, 3, 5));
  EXPECT_EQ(c.cal.Year(), 2004);
  EXPECT_EQ(c.cal.Month(), 3);
  EXPECT_EQ(c.cal.Day(), 5);
  EXPECT_TRUE(c.changes.empty());
}

TEST(CalendarDate, WindowCreationGivesTodayToADateOfZero) {
  TZcIntlSup intl;
  TZcCalendarCore cal(intl, [] { return Day(2004, 6, 15); });
  EXPECT_EQ(cal.Date(), 0.0);
  EXPECT_FALSE(cal.Popup());
  cal.WindowCreated();
  EXPECT_EQ(cal.Julian(), Day(2004, 6, 15));
  cal.SetJulian(Day(2004, 1, 1));
  cal.WindowCreated();
  EXPECT_EQ(cal.Julian(), Day(2004, 1, 1));
}

TEST(CalendarDate, RepaintOnlyTheTwoCellsWithinAMonth) {
  Calendar c;
  std::vector<TZcCalRepaint> repaints;
  c.cal.OnInvalidate = [&](const TZcCalRepaint& r) { repaints.push_back(r); };
  c.Key(TZcCalKey::Right);
  ASSERT_EQ(repaints.size(), 1u);
  EXPECT_FALSE(repaints[0].all);
  EXPECT_EQ(repaints[0].oldCell, 6);
  EXPECT_EQ(repaints[0].newCell, 7);
  c.Key(TZcCalKey::PageDown);
  EXPECT_TRUE(repaints.back().all);
  c.cal.colors.SetScheme(TZcCalColorScheme::cscalRose);  // colours: the Windows layer repaints all
}
