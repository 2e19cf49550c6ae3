#include "controls/zcdateedit_core.h"

#include <array>
#include <limits>
#include <utility>

namespace zelvo {

namespace {

// The keywords of the control's string table.
constexpr std::string_view kYesterday = "YESTERDAY";
constexpr std::string_view kToday = "TODAY";
constexpr std::string_view kTomorrow = "TOMORROW";
constexpr std::string_view kNext = "NEXT";
constexpr std::string_view kLast = "LAST";
constexpr std::string_view kPrev = "PREV";
constexpr std::array<std::array<std::string_view, 2>, 4> kOrdinals{{
    {"FIRST", "1ST"}, {"SECOND", "2ND"}, {"THIRD", "3RD"}, {"FOURTH", "4TH"}}};
constexpr std::string_view kFinal = "FINAL";
constexpr std::string_view kBom = "BOM";
constexpr std::string_view kBegin = "BEGIN";
constexpr std::string_view kEom = "EOM";
constexpr std::string_view kEnd = "END";

// The parser's messages, as the user reads them.
constexpr std::string_view kInvalidDay = "Invalid day";
constexpr std::string_view kInvalidMonth = "Invalid month";
constexpr std::string_view kInvalidMonthName = "Invalid month name";
constexpr std::string_view kInvalidYear = "Invalid year";
constexpr std::string_view kDayRequired = "Day is required";
constexpr std::string_view kMonthRequired = "Month is required";
constexpr std::string_view kYearRequired = "Year is required";
constexpr std::string_view kInvalidDate = "Invalid date";

bool IsTokenChar(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

// Message followed by a space and the token in double quotes.
std::string WithToken(std::string_view message, std::string_view token) {
  std::string text(message);
  text += " \"";
  text += token;
  text += '"';
  return text;
}

// A token as a decimal integer; the empty token is 0. False for anything else (letters, a value
// beyond the 32-bit range).
bool TokenToInt(std::string_view token, int& value) {
  int64_t v = 0;
  for (char c : token) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > std::numeric_limits<int32_t>::max()) return false;
  }
  value = static_cast<int>(v);
  return true;
}

enum class TFallback : uint8_t { Text, Date, None };

}  // namespace

int TZcControllerCore::Epoch() const {
  int value = epoch_;
  if (OnGetEpoch) OnGetEpoch(value);
  return value;
}

bool TZcControllerCore::SetEpoch(int value) {
  if (value < kMinYear || value > kMaxYear) return false;
  epoch_ = value;
  return true;
}

std::vector<std::string> TokenizeDateText(std::string_view upperText) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < upperText.size()) {
    while (i < upperText.size() && !IsTokenChar(upperText[i])) ++i;
    size_t start = i;
    while (i < upperText.size() && IsTokenChar(upperText[i])) ++i;
    if (i > start) tokens.emplace_back(upperText.substr(start, i - start));
  }
  return tokens;
}

std::string ExpandDateKeywords(const TZcIntlSup& intl, std::string_view text, TStDate today,
                               const std::function<std::string(TStDate)>& format) {
  const std::string upper = intl.UpperCase(text);
  auto has = [&](std::string_view keyword) { return upper.find(keyword) != std::string::npos; };
  auto formatDay = [&](int64_t day) {
    return format(day >= kMinDate && day <= kMaxDate ? static_cast<TStDate>(day) : kBadDate);
  };
  int tDay, tMonth, tYear;
  StDateToDMY(today, tDay, tMonth, tYear);

  // Weekday search: the target is the first weekday (Sunday first) whose name's first three
  // letters appear anywhere in the text.
  auto weekdaySearch = [&](int step, int count, int64_t start, TFallback fallback,
                           int64_t fallbackDay) -> std::string {
    int target = -1;
    for (int wd = 0; wd < 7 && target < 0; ++wd) {
      std::string key = intl.UpperCase(intl.DayName(wd, false)).substr(0, 3);
      if (!key.empty() && upper.find(key) != std::string::npos) target = wd;
    }
    if (target < 0) {
      if (fallback == TFallback::Text) return upper;
      if (fallback == TFallback::Date) return formatDay(fallbackDay);
      target = DayOfWeekAnyDay(today);
    }
    int64_t day = start;
    for (int found = 0; found < count;) {
      day += step;
      if (DayOfWeekAnyDay(day) == target) ++found;
    }
    return formatDay(day);
  };

  const int64_t firstOfMonth = DMYtoStDate(1, tMonth, tYear, 0);
  const int64_t lastOfMonth = DMYtoStDate(DaysInMonth(tMonth, tYear, 0), tMonth, tYear, 0);
  if (has(kYesterday)) return formatDay(int64_t{today} - 1);
  if (has(kToday)) return formatDay(today);
  if (has(kTomorrow)) return formatDay(int64_t{today} + 1);
  if (has(kNext)) return weekdaySearch(+1, 1, today, TFallback::Date, int64_t{today} + 7);
  if (has(kLast) || has(kPrev)) return weekdaySearch(-1, 1, today, TFallback::Date, int64_t{today} - 7);
  for (size_t n = 0; n < kOrdinals.size(); ++n) {
    if (has(kOrdinals[n][0]) || has(kOrdinals[n][1])) {
      return weekdaySearch(+1, static_cast<int>(n) + 1, firstOfMonth - 1, TFallback::None, 0);
    }
  }
  if (has(kFinal)) return weekdaySearch(-1, 1, lastOfMonth + 1, TFallback::None, 0);
  if (has(kBom) || has(kBegin)) return formatDay(firstOfMonth);
  if (has(kEom) || has(kEnd)) return formatDay(lastOfMonth);
  return weekdaySearch(+1, 1, today, TFallback::Text, 0);
}

TZcDateParts ParseDateParts(const TZcIntlSup& intl, std::string_view text, TZcDateOrder order,
                            TZcRequiredDateFields required, int effectiveEpoch, TStDate today) {
  TZcDateParts parts;
  StDateToDMY(today, parts.day, parts.month, parts.year);
  const std::vector<std::string> tokens = TokenizeDateText(intl.UpperCase(text));
  size_t next = 0;  // the first token still in the list

  enum class Piece : uint8_t { Day, Month, Year };
  std::array<Piece, 3> sequence{};
  switch (order) {
    case TZcDateOrder::DayMonthYear:
      sequence = {Piece::Day, Piece::Month, Piece::Year};
      break;
    case TZcDateOrder::YearMonthDay:
      sequence = {Piece::Year, Piece::Month, Piece::Day};
      break;
    default:
      sequence = {Piece::Month, Piece::Day, Piece::Year};
      break;
  }

  for (Piece piece : sequence) {
    const std::string token = next < tokens.size() ? tokens[next] : std::string();
    int value = 0;
    bool hasValue = false;
    bool error = false;
    TZcError code = TZcError::InvalidDay;
    std::string message;
    switch (piece) {
      case Piece::Day:
        if (!TokenToInt(token, value)) {
          value = 0;
          error = true;
          code = TZcError::InvalidDay;
          message = WithToken(kInvalidDay, token);
        }
        hasValue = value >= 1 && value <= 31;
        if (!hasValue && required.day) {
          error = true;
          code = TZcError::DayRequired;
          message = kDayRequired;
        }
        break;
      case Piece::Month:
        if (!token.empty() && token[0] >= 'A' && token[0] <= 'Z') {
          std::string prefix = token.substr(0, 3);
          for (int m = 1; m <= 12 && !hasValue; ++m) {
            std::string name = intl.UpperCase(intl.MonthName(m, true)).substr(0, prefix.size());
            if (name == prefix) {
              value = m;
              hasValue = true;
            }
          }
          if (!hasValue) {
            error = true;
            code = TZcError::InvalidMonthName;
            message = WithToken(kInvalidMonthName, prefix);
          }
        } else {
          if (!TokenToInt(token, value)) {
            value = 0;
            error = true;
            code = TZcError::InvalidMonth;
            message = WithToken(kInvalidMonth, token);
          }
          hasValue = value >= 1 && value <= 12;
        }
        if (!hasValue && required.month) {
          error = true;
          code = TZcError::MonthRequired;
          message = kMonthRequired;
        }
        break;
      case Piece::Year:
        if (!TokenToInt(token, value)) {
          value = 0;
          error = true;
          code = TZcError::InvalidYear;
          message = WithToken(kInvalidYear, token);
        }
        hasValue = !token.empty();
        if (hasValue && value < 100) {
          if (effectiveEpoch <= 0) {
            value += (parts.year / 100) * 100;  // today's century (parts.year is still today's)
          } else {
            int century = (effectiveEpoch / 100) * 100;
            value += (value < effectiveEpoch % 100) ? century + 100 : century;
          }
        }
        if (!hasValue && required.year) {
          error = true;
          code = TZcError::YearRequired;
          message = kYearRequired;
        }
        break;
    }
    if (hasValue) {
      ++next;
      if (piece == Piece::Day) parts.day = value;
      if (piece == Piece::Month) parts.month = value;
      if (piece == Piece::Year) parts.year = value;
    }
    // Without a value and not required the piece keeps today's value.
    if (error) throw EZcException(code, message);
  }
  return parts;
}

TZcDateOrder DateOrderFromPicture(std::string_view picture) {
  std::string upper(picture);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  auto pos = [&](char letter) {
    size_t p = upper.find(letter);
    return p == std::string::npos ? size_t{0} : p + 1;
  };
  size_t y = pos('Y'), m = pos('M'), n = pos('N'), d = pos('D');
  if (y < m || y < n) return TZcDateOrder::YearMonthDay;
  if (d < m || d < n) return TZcDateOrder::DayMonthYear;
  return TZcDateOrder::MonthDayYear;
}

TZcDateEditCore::TZcDateEditCore(const TZcIntlSup& intl, TZcTodayFunc today)
    : todayString(1, intl.DateSeparator()),
      intl_(intl),
      today_(std::move(today)),
      order_(intl.DateOrder()) {}

std::string TZcDateEditCore::Text() const { return edit_ ? edit_->GetText() : text_; }

void TZcDateEditCore::SetText(const std::string& text) {
  if (edit_) {
    edit_->SetText(text);
  } else {
    text_ = text;
  }
}

void TZcDateEditCore::SetModified(bool modified) {
  modified_ = modified;
  if (edit_) edit_->SetModified(modified);
}

bool TZcDateEditCore::SetEpoch(int value) {
  if (value != 0 && (value < kMinYear || value > kMaxYear)) return false;
  epoch_ = value;
  return true;
}

void TZcDateEditCore::SetForceCentury(bool value) {
  if (value == forceCentury_) return;
  forceCentury_ = value;
  if (date_ == 0.0) return;
  // Typed text not yet read stays as typed.
  const bool committed = Text() == shown_;
  shown_ = Format(date_);
  if (committed) SetText(shown_);
}

int TZcDateEditCore::EffectiveEpoch() const {
  if (epoch_ != 0) return epoch_;
  return controller_ ? controller_->Epoch() : 0;
}

std::string TZcDateEditCore::DisplayPicture() {
  std::string picture = intl_.InternationalDate(forceCentury_);
  if (OnGetDateMask) {
    OnGetDateMask(picture);
    order_ = DateOrderFromPicture(picture);
  }
  return picture;
}

std::string TZcDateEditCore::FormatDay(TStDate julian) {
  return intl_.FormatDate(DisplayPicture(), julian);
}

std::string TZcDateEditCore::Format(double value) { return FormatDay(DateTimeToStDate(value)); }

void TZcDateEditCore::SetDate(double value) {
  date_ = value;
  SetModified(true);
  shown_ = value != 0.0 ? Format(value) : std::string();
  SetText(shown_);
  if (OnSetDate) OnSetDate();
}

void TZcDateEditCore::SetDateText(const std::string& typed) {
  std::string text = typed;
  if (OnPreParseDate) OnPreParseDate(text);
  const TStDate today = today_();
  text = ExpandDateKeywords(intl_, text, today, [this](TStDate d) { return FormatDay(d); });
  if (OnGetDate) OnGetDate(text);
  if (text.empty() && !requiredFields.Empty()) {
    SetDate(0.0);
    return;
  }
  if (intl_.UpperCase(text) == intl_.UpperCase(todayString)) {
    SetDate(StDateToDateTime(today));
    return;
  }
  TZcDateParts parts =
      ParseDateParts(intl_, text, order_, requiredFields, EffectiveEpoch(), today);
  TStDate julian = DMYtoStDate(parts.day, parts.month, parts.year, EffectiveEpoch());
  // Emptying the box silently would throw away what the user typed: report it and keep the text.
  // 30 December 1899 is a real day, but its value 0 is the one that means "no date".
  if (!Holdable(julian)) {
    throw EZcException(TZcError::InvalidDate, WithToken(kInvalidDate, typed));
  }
  SetDate(StDateToDateTime(julian));
}

bool TZcDateEditCore::Holdable(TStDate julian) { return julian != kBadDate && StDateToDateTime(julian) != 0.0; }

void TZcDateEditCore::CommitText() {
  if (Text() != shown_) ExitProcessing();
}

bool TZcDateEditCore::KeyPress(char key) {
  if (readOnly || !allowIncDec || (key != '+' && key != '-')) return false;
  if (OnExitProcessing) {
    OnExitProcessing();
  } else {
    ExitProcessing();
  }
  TStDate start = date_ != 0.0 ? DateTimeToStDate(date_) : today_();
  if (start == kBadDate) return true;  // a held value outside 1600-3999: nothing to step from
  int64_t next = int64_t{start} + (key == '+' ? 1 : -1);
  if (next < kMinDate || next > kMaxDate) return true;  // stepping out of 1600-3999: the date stays as it is
  const auto day = static_cast<TStDate>(next);
  if (!Holdable(day)) throw EZcException(TZcError::InvalidDate, WithToken(kInvalidDate, FormatDay(day)));
  SetDate(StDateToDateTime(day));
  return true;
}

TRectI ZcDropDownButtonRect(bool showButton, int scrollArrowWidth, int glyphWidth, bool hasBorder,
                             bool ctl3D, int fieldWidth, int clientHeight) {
  if (!showButton) return {};
  int width = scrollArrowWidth > glyphWidth + 4 ? scrollArrowWidth : glyphWidth + 4;
  TRectI r;
  if (hasBorder) {
    int height = ctl3D ? clientHeight : clientHeight - 2;
    r.left = fieldWidth + (ctl3D ? 0 : 3) - width - 4;
    r.top = ctl3D ? 0 : 1;
    r.right = r.left + width;
    r.bottom = r.top + height;
  } else {
    r.left = fieldWidth - width;
    r.top = 0;
    r.right = fieldWidth;
    r.bottom = clientHeight;
  }
  return r;
}

TPointI ZcPopupPosition(TPointI fieldOrigin, int fieldWidth, int fieldHeight, int popupWidth,
                         int popupHeight, TZcPopupAnchor anchor, bool ctl3D, const TRectI& workArea) {
  TPointI p = anchor == TZcPopupAnchor::paLeft
                   ? TPointI{-3, fieldHeight - 4}
                   : TPointI{fieldWidth - popupWidth - 1, fieldHeight - 2};
  p.x += fieldOrigin.x;
  p.y += fieldOrigin.y;
  if (!ctl3D) {
    p.x += 3;
    p.y += 3;
  }
  if (popupHeight + p.y >= workArea.bottom) p.y -= popupHeight + fieldHeight;
  if (popupWidth + p.x >= workArea.right) p.x = workArea.right - popupWidth - 1;
  if (workArea.left >= p.x) p.x = workArea.left + 1;
  return p;
}

}  // namespace zelvo
