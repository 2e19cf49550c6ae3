#include "controls/zcdate.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "DateTestSupport.h"

using namespace zelvo;
using zelvo::testing::Day;

namespace {

// An independent days-from-civil count (proleptic Gregorian), days since 1970-01-01.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

TEST(DayNumber, EdgeCases) {
  EXPECT_EQ(DMYtoStDate(1, 1, 1600, 0), 0);
  EXPECT_EQ(DMYtoStDate(29, 2, 1600, 0), 59);
  EXPECT_EQ(DMYtoStDate(1, 3, 1600, 0), 60);
  EXPECT_EQ(DMYtoStDate(31, 12, 3999, 0), kMaxDate);
  EXPECT_EQ(DMYtoStDate(30, 12, 1899, 0), kPlatformDay0);
}

TEST(DayNumber, EveryDayOfTheRangeRoundTripsAndMatchesAnIndependentCount) {
  const int64_t base = DaysFromCivil(1600, 1, 1);
  TStDate expected = 0;
  for (int y = kMinYear; y <= kMaxYear; ++y) {
    for (int m = 1; m <= 12; ++m) {
      const int days = DaysInMonth(m, y, 0);
      for (int d = 1; d <= days; ++d, ++expected) {
        const TStDate julian = DMYtoStDate(d, m, y, 0);
        ASSERT_EQ(julian, expected) << d << "." << m << "." << y;
        ASSERT_EQ(julian, DaysFromCivil(y, m, d) - base);
        int dd, mm, yy;
        StDateToDMY(julian, dd, mm, yy);
        ASSERT_EQ(dd, d);
        ASSERT_EQ(mm, m);
        ASSERT_EQ(yy, y);
      }
    }
  }
  EXPECT_EQ(expected, kMaxDate + 1);
}

TEST(DayNumber, InvalidInputs) {
  EXPECT_EQ(DMYtoStDate(31, 12, 1599, 0), kBadDate);
  EXPECT_EQ(DMYtoStDate(1, 1, 4000, 0), kBadDate);
  EXPECT_EQ(DMYtoStDate(30, 2, 2004, 0), kBadDate);
  EXPECT_EQ(DMYtoStDate(29, 2, 2003, 0), kBadDate);
  EXPECT_EQ(DMYtoStDate(0, 3, 2004, 0), kBadDate);
  EXPECT_EQ(DMYtoStDate(1, 0, 2004, 0), kBadDate);
  EXPECT_EQ(DMYtoStDate(1, 13, 2004, 0), kBadDate);
  EXPECT_EQ(DMYtoStDate(INT_MAX, INT_MAX, INT_MAX, INT_MAX), kBadDate);
  EXPECT_EQ(DMYtoStDate(INT_MIN, INT_MIN, INT_MIN, INT_MIN), kBadDate);
  // Epoch 0 leaves a two-digit year below 100, which is invalid.
  EXPECT_EQ(DMYtoStDate(5, 3, 4, 0), kBadDate);
  EXPECT_EQ(DMYtoStDate(5, 3, 4, 1980), Day(2004, 3, 5));

  int d = 9, m = 9, y = 9;
  StDateToDMY(kBadDate, d, m, y);
  EXPECT_EQ(d, 0);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(y, 0);
  StDateToDMY(kMaxDate + 1, d, m, y);
  EXPECT_EQ(y, 0);
  StDateToDMY(INT_MIN, d, m, y);
  EXPECT_EQ(y, 0);
}

TEST(DayNumber, FirstTwoMonthsOf1600) {
  int d, m, y;
  StDateToDMY(30, d, m, y);
  EXPECT_EQ(d, 31);
  EXPECT_EQ(m, 1);
  StDateToDMY(31, d, m, y);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(m, 2);
  StDateToDMY(59, d, m, y);
  EXPECT_EQ(d, 29);
  EXPECT_EQ(m, 2);
  EXPECT_EQ(y, 1600);
}

TEST(LeapYear, Rules) {
  EXPECT_TRUE(IsLeapYear(1600));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2004));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2003));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_FALSE(IsLeapYear(4000));  // not divisible by 4000
  EXPECT_FALSE(IsLeapYear(8000));
  EXPECT_TRUE(IsLeapYear(2400));
}

TEST(DaysInMonth, LengthsAndRange) {
  EXPECT_EQ(DaysInMonth(2, 2000, 0), 29);
  EXPECT_EQ(DaysInMonth(2, 1900, 0), 28);
  EXPECT_EQ(DaysInMonth(4, 2004, 0), 30);
  EXPECT_EQ(DaysInMonth(6, 2004, 0), 30);
  EXPECT_EQ(DaysInMonth(9, 2004, 0), 30);
  EXPECT_EQ(DaysInMonth(11, 2004, 0), 30);
  EXPECT_EQ(DaysInMonth(1, 2004, 0), 31);
  EXPECT_EQ(DaysInMonth(12, 2004, 0), 31);
  EXPECT_EQ(DaysInMonth(2, 1599, 0), 0);
  EXPECT_EQ(DaysInMonth(2, 4000, 0), 0);
  EXPECT_EQ(DaysInMonth(0, 2004, 0), 0);
  EXPECT_EQ(DaysInMonth(13, 2004, 0), 0);
  EXPECT_EQ(DaysInMonth(2, 0, 1950), 29);  // year 0 with epoch 1950 is 2000
  EXPECT_EQ(DaysInMonth(2, 0, 0), 0);
}

TEST(ValidDate, Rules) {
  EXPECT_TRUE(ValidDate(29, 2, 2004, 0));
  EXPECT_FALSE(ValidDate(29, 2, 2003, 0));
  EXPECT_FALSE(ValidDate(0, 1, 2003, 0));
  EXPECT_TRUE(ValidDate(31, 12, 3999, 0));
  EXPECT_FALSE(ValidDate(1, 1, 4000, 0));
  EXPECT_TRUE(ValidDate(1, 1, 99, 1950));  // 1999
}

TEST(Epoch, TwoDigitYears) {
  EXPECT_EQ(ResolveEpoch(79, 1980), 2079);
  EXPECT_EQ(ResolveEpoch(80, 1980), 1980);
  EXPECT_EQ(ResolveEpoch(4, 1980), 2004);
  EXPECT_EQ(ResolveEpoch(0, 1980), 2000);
  EXPECT_EQ(ResolveEpoch(20, 1900), 1920);
  EXPECT_EQ(ResolveEpoch(20, 0), 20);
  EXPECT_EQ(ResolveEpoch(150, 1980), 150);
  EXPECT_EQ(ResolveEpoch(2004, 1980), 2004);
  EXPECT_EQ(ResolveEpoch(-5, 1980), -5);
}

TEST(Weekday, Numbering) {
  EXPECT_EQ(DayOfWeek(0), 6);  // 1 January 1600 was a Saturday
  EXPECT_EQ(DayOfWeek(kBadDate), 7);
  EXPECT_EQ(DayOfWeek(Day(2004, 3, 5)), 5);   // Friday
  EXPECT_EQ(DayOfWeek(Day(2004, 6, 15)), 2);  // Tuesday
  EXPECT_EQ(DayOfWeek(Day(2009, 2, 1)), 0);   // Sunday
  EXPECT_EQ(DayOfWeekAnyDay(-1), 5);
  EXPECT_EQ(DayOfWeekAnyDay(-7), 6);
  EXPECT_EQ(DayOfWeekAnyDay(int64_t{kMaxDate} + 1), (DayOfWeek(kMaxDate) + 1) % 7);
}

TEST(IncDateTrunc, EdgeCases) {
  EXPECT_EQ(IncDateTrunc(Day(2004, 3, 31), 1, 0), Day(2004, 4, 30));
  EXPECT_EQ(IncDateTrunc(Day(1600, 3, 31), -1, 0), Day(1600, 2, 29));
  EXPECT_EQ(IncDateTrunc(Day(1600, 1, 15), -1, 0), kBadDate);
  EXPECT_EQ(IncDateTrunc(Day(2003, 1, 31), 1, 0), Day(2003, 2, 28));
  EXPECT_EQ(IncDateTrunc(Day(2004, 1, 31), 1, 0), Day(2004, 2, 29));
  EXPECT_EQ(IncDateTrunc(Day(2004, 2, 29), 0, -1), Day(2003, 2, 28));
  EXPECT_EQ(IncDateTrunc(Day(2004, 2, 29), 0, 4), Day(2008, 2, 29));
}

TEST(IncDateTrunc, CarriesAndBorrows) {
  EXPECT_EQ(IncDateTrunc(Day(2004, 11, 15), 2, 0), Day(2005, 1, 15));
  EXPECT_EQ(IncDateTrunc(Day(2004, 1, 15), -1, 0), Day(2003, 12, 15));
  EXPECT_EQ(IncDateTrunc(Day(2004, 5, 10), 13, 0), Day(2005, 6, 10));
  EXPECT_EQ(IncDateTrunc(Day(2004, 5, 10), -25, 0), Day(2002, 4, 10));
  EXPECT_EQ(IncDateTrunc(Day(2004, 5, 10), 12, -1), Day(2004, 5, 10));
  EXPECT_EQ(IncDateTrunc(Day(2004, 5, 10), 0, 0), Day(2004, 5, 10));
  EXPECT_EQ(IncDateTrunc(Day(3999, 12, 1), 1, 0), kBadDate);
  EXPECT_EQ(IncDateTrunc(kBadDate, 1, 0), kBadDate);
  EXPECT_EQ(IncDateTrunc(Day(2004, 5, 10), INT_MAX, INT_MAX), kBadDate);
  EXPECT_EQ(IncDateTrunc(Day(2004, 5, 10), INT_MIN, INT_MIN), kBadDate);
}

TEST(PlatformDate, Conversions) {
  EXPECT_EQ(DateTimeToStDate(0.0), kPlatformDay0);
  EXPECT_EQ(DateTimeToStDate(38051.0), Day(2004, 3, 5));
  EXPECT_EQ(DateTimeToStDate(38051.75), Day(2004, 3, 5));  // only whole days count
  EXPECT_EQ(DateTimeToStDate(-1.5), Day(1899, 12, 29));    // truncated toward zero
  EXPECT_EQ(DateTimeToStDate(std::nan("")), kBadDate);
  EXPECT_EQ(DateTimeToStDate(std::numeric_limits<double>::infinity()), kBadDate);
  EXPECT_EQ(DateTimeToStDate(1e300), kBadDate);
  EXPECT_EQ(DateTimeToStDate(-1e300), kBadDate);
  EXPECT_EQ(DateTimeToStDate(-static_cast<double>(kPlatformDay0)), 0);
  EXPECT_EQ(DateTimeToStDate(-static_cast<double>(kPlatformDay0) - 1), kBadDate);
  EXPECT_EQ(StDateToDateTime(kBadDate), 0.0);
  EXPECT_EQ(StDateToDateTime(Day(2004, 3, 5)), 38051.0);
  EXPECT_EQ(StDateToDateTime(kMaxDate + 1), 0.0);
  for (TStDate d : {0, 59, 60, kPlatformDay0, kMaxDate}) {
    EXPECT_EQ(DateTimeToStDate(StDateToDateTime(d)), d);
  }
}
