// Day-number arithmetic: days counted from 1 January 1600 (day 0) to 31 December 3999,
// -1 for an invalid date; weekdays 0 = Sunday ... 6 = Saturday. Also the conversion to and from
// the platform's date serial (day 0 = 30 December 1899). Portable: no platform calls.
#pragma once

#include <cstdint>
#include <functional>

namespace zelvo {

using TStDate = int32_t;  // day number

// Today's date, supplied by the caller (the platform's clock on Windows, a fixed day in tests).
using TZcTodayFunc = std::function<TStDate()>;

constexpr TStDate kBadDate = -1;
constexpr int kMinYear = 1600;
constexpr int kMaxYear = 3999;
constexpr TStDate kMinDate = 0;        // 1 January 1600
constexpr TStDate kMaxDate = 876581;   // 31 December 3999
constexpr TStDate kPlatformDay0 = 109571;  // 30 December 1899 = platform date serial 0

// Divisible by 4, and not by 100 unless by 400, and not by 4000.
bool IsLeapYear(int year);

// Resolves a two-digit year (0-99) through an epoch: the epoch's century, plus 100 when the year is
// smaller than epoch mod 100. Epoch 0 leaves the year as it is (and so invalid). Other years pass.
int ResolveEpoch(int year, int epoch);

// 0 for a year outside 1600-3999 (after epoch resolution) or a month outside 1-12.
int DaysInMonth(int month, int year, int epoch);

// day >= 1, month 1-12, year 1600-3999, day <= days in month (after epoch resolution).
bool ValidDate(int day, int month, int year, int epoch);

// Day, month, year -> day number, or kBadDate unless valid.
TStDate DMYtoStDate(int day, int month, int year, int epoch);

// Day number -> day, month, year; kBadDate (and any value outside 0..kMaxDate) gives 0, 0, 0.
void StDateToDMY(TStDate julian, int& day, int& month, int& year);

// (day number + 6) mod 7, so 1 January 1600 is a Saturday (6); kBadDate (any negative) gives 7.
int DayOfWeek(TStDate julian);

// Weekday of any day count, also outside 1600-3999 (proleptic, never 7); for searches that may
// step past the range.
int DayOfWeekAnyDay(int64_t julian);

// Adds months and years; the day is kept, or clipped to the new month's last day. kBadDate when the
// result (or the input) lies outside 1600-3999. 31 January + 1 month = last day of February.
TStDate IncDateTrunc(TStDate julian, int months, int years);

// Platform date serial -> day number (only whole days count, truncated toward zero like the
// platform's decoder); kBadDate outside 1600-3999 and for non-finite values.
TStDate DateTimeToStDate(double dateTime);

// Day number -> platform date serial; 0 for kBadDate and for any value outside 0..kMaxDate.
double StDateToDateTime(TStDate julian);

}  // namespace zelvo
