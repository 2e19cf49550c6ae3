#include "controls/zccalendar_core.h"

#include <cmath>
#include <utility>

namespace zelvo {

namespace {

constexpr int kMaxSearchSteps = 999;
constexpr const char* kNoEnabledDate = "Value is not a valid date";

// Proleptic Gregorian month length, also for the months just outside 1600-3999.
int AnyDaysInMonth(int month, int year) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) return 29;
  return kDays[(month - 1 + 12) % 12];
}

// Rounds to the nearest integer, halves to even like the platform's Round.
int RoundNearest(double x) { return static_cast<int>(std::nearbyint(x)); }

}  // namespace

TZcCalColors::Set TZcCalColors::SchemeColors(TZcCalColorScheme scheme) {
  using namespace zccolor;
  switch (scheme) {
    case TZcCalColorScheme::cscalClassic:
      return {clHighlight, clWindow, clWindow, clWindow, clWindow, clWindow};
    case TZcCalColorScheme::cscalGold:
      return {clBlack, clBlack, clYellow, clGray, clBlack, clTeal};
    case TZcCalColorScheme::cscalOcean:
      return {clBlack, clBlack, clAqua, clGray, clBlack, clNavy};
    case TZcCalColorScheme::cscalRose:
      return {clRed, clRed, clFuchsia, clGray, clBlue, clTeal};
    case TZcCalColorScheme::cscalWindows:
    case TZcCalColorScheme::cscalCustom:
    default:
      return {clRed, clMaroon, clBlack, clGray, clBlue, clRed};
  }
}

void TZcCalColors::SetColor(TZcCalColorRole role, TZcColor color) {
  colors_[static_cast<size_t>(role)] = color;
  scheme_ = TZcCalColorScheme::cscalCustom;
  if (OnChange) OnChange();
}

void TZcCalColors::SetScheme(TZcCalColorScheme scheme) {
  scheme_ = scheme;
  if (scheme != TZcCalColorScheme::cscalCustom) colors_ = SchemeColors(scheme);
  if (OnChange) OnChange();
}

const char* ZcCalButtonResource(TZcCalButton button) {
  switch (button) {
    case TZcCalButton::PrevYear:
      return "ZCLEFTARROWS";
    case TZcCalButton::PrevMonth:
      return "ZCLEFTARROW";
    case TZcCalButton::NextMonth:
      return "ZCRIGHTARROW";
    case TZcCalButton::NextYear:
      return "ZCRIGHTARROWS";
    case TZcCalButton::Today:
      return "ZCTODAY";
    case TZcCalButton::Revert:
    default:
      return "ZCREVERT";
  }
}

TZcCalLayout ZcCalendarLayout(const TZcCalLayoutInput& in) {
  TZcCalLayout out;
  out.clientWidth = in.clientWidth;
  out.clientHeight = in.clientHeight;
  const int contentWidth = in.clientWidth - 8;
  const int baseColumn = contentWidth / 7;
  const int extra = contentWidth % 7;
  for (int k = 0; k < 7; ++k) out.columnWidths[static_cast<size_t>(k)] = baseColumn + (k < extra ? 1 : 0);

  int header = RoundNearest(1.4 * in.textHeight);
  int dayNames = RoundNearest(1.5 * in.textHeight);
  const int row = (in.clientHeight - header - dayNames - 8) / 7;
  const int leftover = in.clientHeight - 8 - (header + dayNames + 7 * row);
  header += leftover - leftover / 2;
  dayNames += leftover / 2;
  out.rowHeights[0] = header;
  out.rowHeights[1] = dayNames;
  for (size_t r = 2; r < 9; ++r) out.rowHeights[r] = row;

  int top = 4;
  for (size_t r = 0; r < 8; ++r) {
    int left = 4;
    for (size_t k = 0; k < 7; ++k) {
      out.cells[r][k] = {left, top, left + out.columnWidths[k], top + out.rowHeights[r]};
      left += out.columnWidths[k];
    }
    top += out.rowHeights[r];
  }

  auto navWidth = [&](TZcCalButton b) {
    int glyph = in.glyphWidths[static_cast<size_t>(b)] + 3;
    return baseColumn - 4 > glyph ? baseColumn - 4 : glyph;
  };
  const int navHeight = header - 4;
  auto place = [&](TZcCalButton b, int left, int width, int btop, int height) {
    out.buttons[static_cast<size_t>(b)] = {left, btop, left + width, btop + height};
  };
  int w = navWidth(TZcCalButton::PrevYear);
  place(TZcCalButton::PrevYear, 4, w, 4, navHeight);
  int prevMonthLeft = 4 + w;
  place(TZcCalButton::PrevMonth, prevMonthLeft, navWidth(TZcCalButton::PrevMonth), 4, navHeight);
  w = navWidth(TZcCalButton::NextYear);
  int nextYearLeft = in.clientWidth - 4 - w;
  place(TZcCalButton::NextYear, nextYearLeft, w, 4, navHeight);
  w = navWidth(TZcCalButton::NextMonth);
  place(TZcCalButton::NextMonth, nextYearLeft - w, w, 4, navHeight);

  const int buttonHeight = out.rowHeights[8];
  const int buttonWidth = out.columnWidths[5] + out.columnWidths[6] - 4;
  const int buttonTop = in.clientHeight - buttonHeight - 3;
  const int todayLeft = in.clientWidth - 4 - buttonWidth;
  place(TZcCalButton::Today, todayLeft, buttonWidth, buttonTop, buttonHeight);
  place(TZcCalButton::Revert, todayLeft - 4 - buttonWidth, buttonWidth, buttonTop, buttonHeight);

  for (auto b : {TZcCalButton::PrevYear, TZcCalButton::PrevMonth, TZcCalButton::NextMonth,
                 TZcCalButton::NextYear}) {
    out.buttonVisible[static_cast<size_t>(b)] = in.options.showNavBtns;
  }
  out.buttonVisible[static_cast<size_t>(TZcCalButton::Today)] = in.options.showToday;
  out.buttonVisible[static_cast<size_t>(TZcCalButton::Revert)] = in.options.showRevert;
  out.flatButtons = !(in.ctl3D || in.popup);

  const TRectI& c1 = out.cells[0][1];
  out.headerBox = {c1.left, c1.top, out.cells[0][6].left, c1.bottom};
  return out;
}

TStDate TZcCalendarCore::MinShownDate() { return DMYtoStDate(1, 2, kMinYear, 0); }
TStDate TZcCalendarCore::MaxShownDate() { return DMYtoStDate(30, 11, kMaxYear, 0); }

TZcCalendarCore::TZcCalendarCore(const TZcIntlSup& intl, TZcTodayFunc today, bool popup)
    : intl_(intl), today_(std::move(today)), popup_(popup) {
  StDateToDMY(julian_, day_, month_, year_);
  BuildTable();
}

void TZcCalendarCore::SetDayNameWidth(int width) {
  dayNameWidth_ = width < 1 ? 1 : (width > 3 ? 3 : width);
  if (OnInvalidate) OnInvalidate({});
}

void TZcCalendarCore::SetOptions(const TZcCalDisplayOptions& options) {
  options_ = options;
  if (OnInvalidate) OnInvalidate({});
}

void TZcCalendarCore::SetWeekStarts(int day) {
  weekStarts_ = ((day % 7) + 7) % 7;
  BuildTable();
  if (OnInvalidate) OnInvalidate({});
}

bool TZcCalendarCore::SetDate(double date) { return SetJulian(DateTimeToStDate(date)); }

bool TZcCalendarCore::SetJulian(TStDate julian) {
  if (julian < MinShownDate() || julian > MaxShownDate()) return false;
  Assign(julian);
  return true;
}

void TZcCalendarCore::WindowCreated() {
  if (julian_ == kPlatformDay0) SetJulian(today_());
}

void TZcCalendarCore::Assign(TStDate julian) {
  const int oldCell = ActiveCell();
  const int oldMonth = month_, oldYear = year_;
  julian_ = julian;
  StDateToDMY(julian_, day_, month_, year_);
  BuildTable();
  if (OnInvalidate) {
    TZcCalRepaint repaint;
    if (month_ == oldMonth && year_ == oldYear) repaint = {false, oldCell, ActiveCell()};
    OnInvalidate(repaint);
  }
}

void TZcCalendarCore::BuildTable() {
  const int w = DayOfWeek(DMYtoStDate(1, month_, year_, 0)) + 1;  // 1 = Sunday ... 7 = Saturday
  first_ = w - weekStarts_;
  if (w - 1 - weekStarts_ < 0) first_ += 7;
  const int days = AnyDaysInMonth(month_, year_);
  last_ = days + first_ - 1;
  const int prevDays = AnyDaysInMonth(month_ == 1 ? 12 : month_ - 1, month_ == 1 ? year_ - 1 : year_);
  for (int cell = 1; cell <= 49; ++cell) {
    int value;
    if (cell < first_) {
      value = prevDays - (first_ - 1 - cell);
    } else if (cell <= last_) {
      value = cell - first_ + 1;
    } else {
      value = cell - last_;
    }
    table_[static_cast<size_t>(cell - 1)] = value;
  }
}

TZcCalCell TZcCalendarCore::CellInfo(int cell) const {
  TZcCalCell info;
  info.day = TableDay(cell);
  info.date = CellDate(cell);
  info.inMonth = CellInMonth(cell);
  info.visible = info.inMonth || options_.showInactive;
  info.active = cell == ActiveCell();
  const int column = (cell - 1) % 7;
  TZcCalColorRole role = WeekendColumn(column) ? TZcCalColorRole::Weekend : TZcCalColorRole::Days;
  if (!info.inMonth) role = TZcCalColorRole::InactiveDays;
  info.color = colors.Color(role);
  if (OnGetHighlight) OnGetHighlight(StDateToDateTime(info.date), info.color);
  return info;
}

int TZcCalendarCore::CellAt(int x, int y) const {
  for (int r = 2; r <= 7; ++r) {
    for (int k = 0; k < 7; ++k) {
      if (layout_.Cell(r, k).Contains(x, y)) return (r - 2) * 7 + k + 1;
    }
  }
  return 0;
}

std::string TZcCalendarCore::HeaderText(const std::function<int(const std::string&)>& textWidth) const {
  const std::string year = std::to_string(year_);
  auto make = [&](bool longName, bool withYear) {
    std::string text = intl_.MonthName(month_, !longName);
    if (withYear) text += " " + year;
    return text;
  };
  if (dateFormat == TZcDateFormat::dfLong) {
    std::string text = make(true, options_.showYear);
    if (textWidth && textWidth(text) > layout_.headerBox.Width()) text = make(false, true);
    return text;
  }
  return make(false, options_.showYear);
}

std::string TZcCalendarCore::DayNameText(int column) const {
  return intl_.DayName(ColumnWeekday(column), true).substr(0, static_cast<size_t>(dayNameWidth_));
}

bool TZcCalendarCore::WeekendColumn(int column) const {
  const int wd = ColumnWeekday(column);
  return wd == 0 || wd == 6;
}

bool TZcCalendarCore::Enabled(TStDate julian) const {
  if (julian < MinShownDate() || julian > MaxShownDate()) return false;
  bool enabled = true;
  if (OnGetDateEnabled) OnGetDateEnabled(StDateToDateTime(julian), enabled);
  return enabled;
}

void TZcCalendarCore::Move(TStDate base, int step) {
  for (int64_t i = 1; i <= kMaxSearchSteps; ++i) {
    for (int sign : {+1, -1}) {
      const int64_t candidate = int64_t{base} + sign * i * step;
      if (candidate < MinShownDate() || candidate > MaxShownDate()) continue;
      if (Enabled(static_cast<TStDate>(candidate))) {
        if (candidate != julian_) Assign(static_cast<TStDate>(candidate));
        return;
      }
    }
  }
  throw EZcException(TZcError::NoEnabledDate, kNoEnabledDate);
}

void TZcCalendarCore::MoveToTarget(TStDate target, int step) {
  // A target outside the shown range (the edges of 1600-3999) is no move at all.
  if (target < MinShownDate() || target > MaxShownDate()) return;
  Move(target - step, step);
}

void TZcCalendarCore::Notify(bool browsing) {
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{browsing_};
  browsing_ = browsing;
  if (OnChange) OnChange(Date(), browsing);
}

bool TZcCalendarCore::KeyDown(TZcCalKey key, TZcShiftState shift) {
  if (readOnly) return false;
  const TStDate before = julian_;
  const bool plain = shift.None();
  bool acted = true;
  switch (key) {
    case TZcCalKey::Left:
    case TZcCalKey::Right:
    case TZcCalKey::Up:
    case TZcCalKey::Down: {
      if (!plain) return false;
      const int step = key == TZcCalKey::Left ? -1 : key == TZcCalKey::Right ? 1 : key == TZcCalKey::Up ? -7 : 7;
      MoveToTarget(julian_ + step, step);
      break;
    }
    case TZcCalKey::PageUp:
    case TZcCalKey::PageDown: {
      const int delta = key == TZcCalKey::PageUp ? -1 : 1;
      if (shift.ctrl) {
        MoveToTarget(IncDateTrunc(julian_, 0, delta), 1);
      } else if (plain) {
        MoveToTarget(IncDateTrunc(julian_, delta, 0), 1);
      } else {
        return false;
      }
      break;
    }
    case TZcCalKey::Home:
      if (shift.ctrl) {
        MoveToTarget(DMYtoStDate(1, 1, year_, 0), 1);
      } else if (plain) {
        MoveToTarget(DMYtoStDate(1, month_, year_, 0), 1);
      } else {
        return false;
      }
      break;
    case TZcCalKey::End:
      if (shift.ctrl) {
        MoveToTarget(DMYtoStDate(31, 12, year_, 0), -1);
      } else if (plain) {
        MoveToTarget(DMYtoStDate(DaysInMonth(month_, year_, 0), month_, year_, 0), -1);
      } else {
        return false;
      }
      break;
    case TZcCalKey::Back:
      if (!shift.alt) return false;
      MoveToTarget(today_(), 1);
      break;
    case TZcCalKey::Escape:
      if (!plain) return false;
      MoveToTarget(revert_, 1);
      break;
    default:
      acted = false;
      break;
  }
  if (acted && julian_ != before) Notify(true);
  return acted;
}

bool TZcCalendarCore::KeyPress(char ch) {
  switch (ch) {
    case '\r':
    case ' ':
      Notify(false);
      return true;
    case '\x1A':  // Ctrl+Z
      if (readOnly) return false;
      MoveToTarget(today_(), 1);
      return true;
    case '+':
    case '-': {
      if (readOnly) return false;
      const int step = ch == '+' ? 1 : -1;
      MoveToTarget(julian_ + step, step);
      return true;
    }
    default:
      return false;
  }
}

void TZcCalendarCore::ClickButton(TZcCalButton button) {
  TZcShiftState none;
  TZcShiftState ctrl;
  ctrl.ctrl = true;
  TZcShiftState alt;
  alt.alt = true;
  switch (button) {
    case TZcCalButton::PrevMonth:
      KeyDown(TZcCalKey::PageUp, none);
      break;
    case TZcCalButton::NextMonth:
      KeyDown(TZcCalKey::PageDown, none);
      break;
    case TZcCalButton::PrevYear:
      KeyDown(TZcCalKey::PageUp, ctrl);
      break;
    case TZcCalButton::NextYear:
      KeyDown(TZcCalKey::PageDown, ctrl);
      break;
    case TZcCalButton::Revert:
      KeyDown(TZcCalKey::Escape, none);
      break;
    case TZcCalButton::Today:
      KeyDown(TZcCalKey::Back, alt);
      break;
  }
}

bool TZcCalendarCore::MouseWheel(int delta) {
  if (delta == 0) return false;
  const bool back = delta > 0;
  const int64_t turn = delta > 0 ? int64_t{delta} : -int64_t{delta};
  TZcShiftState none;
  TZcShiftState ctrl;
  ctrl.ctrl = true;
  if (turn == 120) return KeyDown(back ? TZcCalKey::PageUp : TZcCalKey::PageDown, none);
  if (turn > 120) return KeyDown(back ? TZcCalKey::PageUp : TZcCalKey::PageDown, ctrl);
  return KeyDown(back ? TZcCalKey::Up : TZcCalKey::Down, none);
}

bool TZcCalendarCore::MouseDown(int x, int y, TZcMouseButton button, bool captured) {
  if (menuActive_ || readOnly) return false;
  if (captured) {
    for (auto b : {TZcCalButton::PrevYear, TZcCalButton::PrevMonth, TZcCalButton::NextMonth,
                   TZcCalButton::NextYear, TZcCalButton::Today, TZcCalButton::Revert}) {
      if (layout_.Visible(b) && layout_.Button(b).Contains(x, y)) {
        ClickButton(b);
        return true;
      }
    }
  }
  const int cell = CellAt(x, y);
  if (cell == 0) return false;
  const bool inShownMonth = CellInMonth(cell);
  if (cell != ActiveCell()) {
    const TStDate target = CellDate(cell);
    if (!Enabled(target)) return false;
    if (!inShownMonth && !options_.showInactive) return false;
    Assign(target);
  }
  if (button == TZcMouseButton::Left) Notify(!inShownMonth);
  return true;
}

bool TZcCalendarCore::MonthMenuHit(int x, int y) const {
  const TRectI& prevYear = layout_.Button(TZcCalButton::PrevYear);
  const TRectI& nextYear = layout_.Button(TZcCalButton::NextYear);
  return y < layout_.Cell(1, 0).top && x > prevYear.left + nextYear.Width() && x < nextYear.left;
}

std::array<TZcMonthMenuItem, 7> TZcCalendarCore::MonthMenuItems() const {
  std::array<TZcMonthMenuItem, 7> items;
  for (int i = 0; i < 7; ++i) {
    int month = month_ + i - 3;
    int year = year_;
    if (month < 1) month += 12;
    if (month > 12) month -= 12;
    // A month listed before the current one with a higher number lies in the previous year, one
    // listed after it with a lower number in the next.
    if (i < 3 && month > month_) --year;
    if (i > 3 && month < month_) ++year;
    items[static_cast<size_t>(i)] = {month, year, intl_.MonthName(month, false)};
  }
  return items;
}

TPointI TZcCalendarCore::MonthMenuPosition(int x, int y, int menuBarHeight) {
  return {x - 20, y - 7 * menuBarHeight / 2};
}

void TZcCalendarCore::ChooseMonthMenuItem(int index) {
  if (readOnly || index < 0 || index > 6) return;
  const TZcMonthMenuItem item = MonthMenuItems()[static_cast<size_t>(index)];
  const int last = AnyDaysInMonth(item.month, item.year);
  MoveToTarget(DMYtoStDate(day_ < last ? day_ : last, item.month, item.year, 0), 1);
  Notify(false);
}

}  // namespace zelvo
