#include "controls/zcdate.h"

#include <cmath>

namespace zelvo {

namespace {

// Day numbers 0-59 are January and February 1600, which the month-from-March count cannot reach.
constexpr TStDate kFirst2Months = 59;

}  // namespace

bool IsLeapYear(int year) {
  return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0) && (year % 4000 != 0);
}

int ResolveEpoch(int year, int epoch) {
  if (year >= 0 && year < 100) {
    int epochYear = epoch % 100;
    int epochCentury = (epoch / 100) * 100;
    year += (year < epochYear) ? epochCentury + 100 : epochCentury;
  }
  return year;
}

int DaysInMonth(int month, int year, int epoch) {
  year = ResolveEpoch(year, epoch);
  if (year < kMinYear || year > kMaxYear || month < 1 || month > 12) return 0;
  switch (month) {
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

bool ValidDate(int day, int month, int year, int epoch) {
  year = ResolveEpoch(year, epoch);
  if (day < 1 || month < 1 || month > 12 || year < kMinYear || year > kMaxYear) return false;
  return day <= DaysInMonth(month, year, 0);
}

TStDate DMYtoStDate(int day, int month, int year, int epoch) {
  year = ResolveEpoch(year, epoch);
  if (!ValidDate(day, month, year, 0)) return kBadDate;
  if (year == kMinYear && month < 3) return month == 1 ? day - 1 : day + 30;
  int m, y;
  if (month > 2) {
    m = month - 3;
    y = year - kMinYear;
  } else {
    m = month + 9;
    y = year - (kMinYear + 1);
  }
  return (y / 100) * 146097 / 4 + (y % 100) * 1461 / 4 + (153 * m + 2) / 5 + day + 59;
}

void StDateToDMY(TStDate julian, int& day, int& month, int& year) {
  if (julian < kMinDate || julian > kMaxDate) {
    day = month = year = 0;
    return;
  }
  if (julian <= kFirst2Months) {
    year = kMinYear;
    if (julian <= 30) {
      month = 1;
      day = julian + 1;
    } else {
      month = 2;
      day = julian - 30;
    }
    return;
  }
  // The inverse of the month-from-March count of DMYtoStDate.
  int32_t i = 4 * (julian - kFirst2Months) - 1;
  int32_t j = 4 * ((i % 146097) / 4) + 3;
  year = 100 * (i / 146097) + j / 1461;
  i = 5 * (((j % 1461) + 4) / 4) - 3;
  day = ((i % 153) + 5) / 5;
  month = i / 153;
  if (month < 10) {
    month += 3;
  } else {
    month -= 9;
    ++year;
  }
  year += kMinYear;
}

int DayOfWeek(TStDate julian) {
  if (julian < 0) return 7;
  return (julian + 6) % 7;
}

int DayOfWeekAnyDay(int64_t julian) {
  int64_t w = (julian + 6) % 7;
  return static_cast<int>(w < 0 ? w + 7 : w);
}

TStDate IncDateTrunc(TStDate julian, int months, int years) {
  int day, month, year;
  StDateToDMY(julian, day, month, year);
  if (year == 0) return kBadDate;
  int startDay = day;
  // Work in 64 bits: any int may come in as a count of months or years.
  int64_t y = int64_t{year} + years + months / 12;
  int64_t m = int64_t{month} + months % 12;
  if (m < 1) {
    m += 12;
    --y;
  } else if (m > 12) {
    m -= 12;
    ++y;
  }
  if (y < kMinYear || y > kMaxYear) return kBadDate;
  // Day 28 exists in every month; a later starting day is clipped to the new month's length.
  int last = DaysInMonth(static_cast<int>(m), static_cast<int>(y), 0);
  return DMYtoStDate(startDay < last ? startDay : last, static_cast<int>(m), static_cast<int>(y), 0);
}

TStDate DateTimeToStDate(double dateTime) {
  if (!std::isfinite(dateTime)) return kBadDate;
  double whole = std::trunc(dateTime);
  // Anything beyond the day-number range is invalid; checked before converting to an integer.
  if (whole < -static_cast<double>(kPlatformDay0) || whole > static_cast<double>(kMaxDate - kPlatformDay0)) return kBadDate;
  return static_cast<TStDate>(whole) + kPlatformDay0;
}

double StDateToDateTime(TStDate julian) {
  if (julian < kMinDate || julian > kMaxDate) return 0.0;
  return static_cast<double>(julian - kPlatformDay0);
}

}  // namespace zelvo
