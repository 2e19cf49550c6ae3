// Shared fixtures of the date tests: three locales (month-day-year, day-month-year, year-month-day), with English names.
#pragma once

#include "controls/zcdate.h"
#include "controls/zcintl_core.h"

namespace zelvo::testing {

// Month-day-year, 'M/d/yyyy', separator '/'.
inline TZcLocaleSettings UsLocale() {
  TZcLocaleSettings s;
  s.shortDateFormat = "M/d/yyyy";
  s.dateOrder = 0;
  return s;
}

// Day-month-year, 'dd.MM.yyyy', separator '.'.
inline TZcLocaleSettings DotLocale() {
  TZcLocaleSettings s;
  s.dateSeparator = '.';
  s.shortDateFormat = "dd.MM.yyyy";
  s.longDateFormat = "dddd, d. MMMM yyyy";
  s.dateOrder = 1;
  return s;
}

// Year-month-day, 'yyyy-MM-dd', separator '-'.
inline TZcLocaleSettings IsoLocale() {
  TZcLocaleSettings s;
  s.dateSeparator = '-';
  s.shortDateFormat = "yyyy-MM-dd";
  s.longDateFormat = "dddd, MMMM d, yyyy";
  s.dateOrder = 2;
  return s;
}

inline TStDate Day(int year, int month, int day) { return DMYtoStDate(day, month, year, 0); }
inline double PlatformDate(int year, int month, int day) {
  return StDateToDateTime(Day(year, month, day));
}

}  // namespace zelvo::testing
