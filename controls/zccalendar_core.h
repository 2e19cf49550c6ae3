// Portable core of the month calendar: the day table, the layout arithmetic (text and
// glyph sizes come in as numbers), every date move (keys, buttons, wheel, mouse cells, month menu)
// with the enabled-date hook and its 999-step search, the colour schemes and what painting needs to
// know (header text, day names, each cell's number and colour). The Windows layer (zccalendar.cpp:
// TZcCustomCalendar) owns the window, the glyph buttons, focus, capture and GDI, and drives this.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "controls/zcdate.h"
#include "controls/zcexception.h"
#include "util/Geometry.h"
#include "controls/zcintl_core.h"

namespace zelvo {

using TZcColor = uint32_t;  // red in the low byte; system colours FF000000 + index

// The platform's named colours.
namespace zccolor {
constexpr TZcColor clBlack = 0x000000;
constexpr TZcColor clMaroon = 0x000080;
constexpr TZcColor clGreen = 0x008000;
constexpr TZcColor clOlive = 0x008080;
constexpr TZcColor clNavy = 0x800000;
constexpr TZcColor clPurple = 0x800080;
constexpr TZcColor clTeal = 0x808000;
constexpr TZcColor clGray = 0x808080;
constexpr TZcColor clSilver = 0xC0C0C0;
constexpr TZcColor clRed = 0x0000FF;
constexpr TZcColor clLime = 0x00FF00;
constexpr TZcColor clYellow = 0x00FFFF;
constexpr TZcColor clBlue = 0xFF0000;
constexpr TZcColor clFuchsia = 0xFF00FF;
constexpr TZcColor clAqua = 0xFFFF00;
constexpr TZcColor clWhite = 0xFFFFFF;
constexpr TZcColor clWindow = 0xFF000000 + 5;      // COLOR_WINDOW
constexpr TZcColor clHighlight = 0xFF000000 + 13;  // COLOR_HIGHLIGHT
}  // namespace zccolor

enum class TZcCalColorScheme : uint8_t { cscalCustom, cscalClassic, cscalWindows, cscalGold, cscalOcean, cscalRose };
enum class TZcCalColorRole : uint8_t { ActiveDay, DayNames, Days, InactiveDays, MonthAndYear, Weekend };

// TZcCalColors: six colour roles and the scheme they came from.
class TZcCalColors {
 public:
  using Set = std::array<TZcColor, 6>;  // in role order
  static Set SchemeColors(TZcCalColorScheme scheme);  // cscalCustom: the cscalWindows set

  TZcCalColors() : colors_(SchemeColors(TZcCalColorScheme::cscalWindows)) {}
  TZcColor Color(TZcCalColorRole role) const { return colors_[static_cast<size_t>(role)]; }
  // Changing a single colour turns the scheme into cscalCustom.
  void SetColor(TZcCalColorRole role, TZcColor color);
  TZcCalColorScheme Scheme() const { return scheme_; }
  // Picks a scheme's set; cscalCustom changes no colour.
  void SetScheme(TZcCalColorScheme scheme);
  std::function<void()> OnChange;  // any change (the calendar repaints)

 private:
  Set colors_;
  TZcCalColorScheme scheme_ = TZcCalColorScheme::cscalCustom;
};

enum class TZcDateFormat : uint8_t { dfShort, dfLong };

struct TZcCalDisplayOptions {
  bool shortNames = true;
  bool showYear = true;
  bool showInactive = true;
  bool showRevert = true;
  bool showToday = true;
  bool showNavBtns = true;
  bool hideActive = false;
  bool operator==(const TZcCalDisplayOptions&) const = default;
};

// The six glyph buttons, with their bitmap resource names (ZcCalButtonResource).
enum class TZcCalButton : uint8_t { PrevYear, PrevMonth, NextMonth, NextYear, Today, Revert };
const char* ZcCalButtonResource(TZcCalButton button);

struct TZcCalLayoutInput {
  int clientWidth = 0;
  int clientHeight = 0;
  int textHeight = 0;                 // height of "Yy" in the calendar's font
  std::array<int, 6> glyphWidths{};   // by TZcCalButton
  bool ctl3D = false;
  bool popup = false;
  TZcCalDisplayOptions options;
};

struct TZcCalLayout {
  std::array<int, 7> columnWidths{};
  std::array<int, 9> rowHeights{};  // header, day names, six weeks, button row
  std::array<std::array<TRectI, 7>, 8> cells{};  // rows 0-7
  std::array<TRectI, 6> buttons{};               // by TZcCalButton
  std::array<bool, 6> buttonVisible{};
  bool flatButtons = false;
  TRectI headerBox;  // left of cell (0,1) to left of cell (0,6), row 0
  int clientWidth = 0;
  int clientHeight = 0;
  const TRectI& Cell(int row, int column) const {
    return cells.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
  }
  const TRectI& Button(TZcCalButton b) const { return buttons[static_cast<size_t>(b)]; }
  bool Visible(TZcCalButton b) const { return buttonVisible[static_cast<size_t>(b)]; }
};

TZcCalLayout ZcCalendarLayout(const TZcCalLayoutInput& input);

enum class TZcCalKey : uint8_t { Left, Right, Up, Down, PageUp, PageDown, Home, End, Back, Escape };
struct TZcShiftState {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool None() const { return !shift && !ctrl && !alt; }
};
enum class TZcMouseButton : uint8_t { Left, Right, Middle };

// Where only some cells need repainting: the old and the new day's cells (1-49); else all.
struct TZcCalRepaint {
  bool all = true;
  int oldCell = 0;
  int newCell = 0;
};

// One day cell as painting needs it.
struct TZcCalCell {
  int day = 0;            // number shown
  TStDate date = kBadDate;
  bool inMonth = false;   // a day of the current month
  bool visible = false;   // drawn at all (neighbouring days only with showInactive)
  bool active = false;    // the current day (button face unless hideActive)
  TZcColor color = 0;     // after OnGetHighlight
};

struct TZcMonthMenuItem {
  int month = 0;
  int year = 0;
  std::string caption;  // the month's full name
};

// One calendar's state and behaviour (TZcCustomCalendar's logic). It keeps a reference to the
// process's TZcIntlSup, which must outlive it.
class TZcCalendarCore {
 public:
  // The date range a calendar can show: months that have a previous and a next month inside
  // 1600-3999 (1 February 1600 to 30 November 3999).
  static TStDate MinShownDate();
  static TStDate MaxShownDate();

  TZcCalendarCore(const TZcIntlSup& intl, TZcTodayFunc today, bool popup = false);
  TZcCalendarCore(const TZcCalendarCore&) = delete;
  TZcCalendarCore& operator=(const TZcCalendarCore&) = delete;

  // Properties.
  TZcDateFormat dateFormat = TZcDateFormat::dfLong;
  bool readOnly = false;
  bool wantDblClicks = true;
  TZcCalColors colors;
  bool Popup() const { return popup_; }
  int DayNameWidth() const { return dayNameWidth_; }
  void SetDayNameWidth(int width);  // 1-3, clamped
  const TZcCalDisplayOptions& Options() const { return options_; }
  void SetOptions(const TZcCalDisplayOptions& options);
  int WeekStarts() const { return weekStarts_; }  // 0 = Sunday ... 6 = Saturday
  void SetWeekStarts(int day);

  // The current date (platform date serial) and its parts.
  double Date() const { return StDateToDateTime(julian_); }
  TStDate Julian() const { return julian_; }
  int Year() const { return year_; }
  int Month() const { return month_; }
  int Day() const { return day_; }
  // Setting the date from outside: refused (false) outside MinShownDate..MaxShownDate. No
  // notification.
  bool SetDate(double date);
  bool SetJulian(TStDate julian);
  // Window creation: a date still 0 becomes today.
  void WindowCreated();
  // Receiving the focus stores the revert date.
  void FocusReceived() { revert_ = julian_; }
  TStDate RevertJulian() const { return revert_; }

  // Day table: cells 1-49.
  int TableDay(int cell) const { return table_.at(static_cast<size_t>(cell - 1)); }
  int FirstCell() const { return first_; }  // f: cell of the 1st (1-7)
  int LastCell() const { return last_; }    // e: cell of the month's last day
  int ActiveCell() const { return first_ + day_ - 1; }
  bool CellInMonth(int cell) const { return cell >= first_ && cell <= last_; }
  TStDate CellDate(int cell) const { return julian_ + (cell - ActiveCell()); }
  TZcCalCell CellInfo(int cell) const;  // cells 1-42 are shown

  // Layout (re-run on size, font, options and 3-D changes, and at window creation).
  void SetLayout(const TZcCalLayout& layout) { layout_ = layout; }
  const TZcCalLayout& Layout() const { return layout_; }
  // The week-row cell (1-42) under a point, 0 for none.
  int CellAt(int x, int y) const;

  // Painting texts.
  // "mmmm yyyy", "mmmm", "mmm yyyy" or "mmm" by DateFormat and showYear; a dfLong text wider than
  // the header box (textWidth) falls back to "mmm yyyy".
  std::string HeaderText(const std::function<int(const std::string&)>& textWidth) const;
  std::string DayNameText(int column) const;  // first DayNameWidth letters of the short name
  int ColumnWeekday(int column) const { return (weekStarts_ + column) % 7; }
  bool WeekendColumn(int column) const;

  // Input. Each returns true when it acted (the Windows layer then swallows the message).
  // Keys (ignored when read-only); a change notifies with the browsing flag.
  bool KeyDown(TZcCalKey key, TZcShiftState shift);
  // Typed characters: Enter and Space notify (not browsing); Ctrl+Z (0x1A) today, "+" and "-" a day,
  // without notification (these three ignored when read-only).
  bool KeyPress(char ch);
  // A glyph button's click acts as its key.
  void ClickButton(TZcCalButton button);
  // 120 = a month, more a year, less a week; positive moves back. 0 does nothing.
  bool MouseWheel(int delta);
  // A press (the Windows layer focuses the calendar first). captured: the calendar holds the mouse
  // capture (a popup always does). Returns true when it acted (a button, or a day cell).
  bool MouseDown(int x, int y, TZcMouseButton button, bool captured);

  // Month menu: whether a right-button release at (x, y) opens it (the caller checks that no
  // context menu is assigned); the seven items; where it opens; choosing item 0-6.
  bool MonthMenuHit(int x, int y) const;
  std::array<TZcMonthMenuItem, 7> MonthMenuItems() const;
  static TPointI MonthMenuPosition(int x, int y, int menuBarHeight);
  void ChooseMonthMenuItem(int index);
  bool MenuActive() const { return menuActive_; }
  void SetMenuActive(bool active) { menuActive_ = active; }

  // True while a change notification from a key, the wheel, a button or a press on a neighbouring
  // month's day is being delivered.
  bool Browsing() const { return browsing_; }

  // Events.
  std::function<void(double date, bool browsing)> OnChange;
  std::function<void(double date, bool& enabled)> OnGetDateEnabled;
  std::function<void(double date, TZcColor& color)> OnGetHighlight;
  std::function<void(const TZcCalRepaint&)> OnInvalidate;

 private:
  bool Enabled(TStDate julian) const;
  // Moves with the enabled-date search; throws EZcException "Value is not a valid date".
  void Move(TStDate base, int step);
  void MoveToTarget(TStDate target, int step);  // base = target - step
  void Notify(bool browsing);
  void Assign(TStDate julian);  // sets the date, rebuilds the table, asks for repaint
  void BuildTable();

  const TZcIntlSup& intl_;
  TZcTodayFunc today_;
  bool popup_;
  int dayNameWidth_ = 3;
  TZcCalDisplayOptions options_;
  int weekStarts_ = 0;
  TStDate julian_ = kPlatformDay0;  // platform date 0
  int year_ = 0, month_ = 0, day_ = 0;
  TStDate revert_ = kPlatformDay0;
  std::array<int, 49> table_{};
  int first_ = 1;
  int last_ = 1;
  TZcCalLayout layout_;
  bool browsing_ = false;
  bool menuActive_ = false;
};

}  // namespace zelvo
