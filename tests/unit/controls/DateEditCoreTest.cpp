#include "controls/zcdateedit_core.h"

#include <gtest/gtest.h>

#include <memory>

#include "DateTestSupport.h"

using namespace zelvo;
using namespace zelvo::testing;

namespace {

// A date field with a fixed today, set up like the registration form's (Epoch 1980, all parts
// required) unless a test says otherwise.
class DateField {
 public:
  explicit DateField(TZcLocaleSettings locale, TStDate today = Day(2004, 6, 15))
      : intl(std::move(locale)), today_(today), field(intl, [this] { return today_; }) {
    field.SetEpoch(1980);
    field.requiredFields = TZcRequiredDateFields::All();
    field.todayString = "/";
  }
  // Types the text and leaves the field; returns the text shown.
  std::string Enter(const std::string& text) {
    field.SetText(text);
    field.ExitProcessing();
    return field.Text();
  }
  TStDate Value() const { return DateTimeToStDate(field.Date()); }
  void SetToday(TStDate day) { today_ = day; }

  TZcIntlSup intl;
  TStDate today_;
  TZcDateEditCore field;
};

// Expects the parser to fail with this message, keeping the text typed and the date held.
void ExpectError(DateField& f, const std::string& text, TZcError code, const std::string& message) {
  const double before = f.field.Date();
  f.field.SetText(text);
  try {
    f.field.ExitProcessing();
    ADD_FAILURE() << "no error for '" << text << "'";
  } catch (const EZcException& e) {
    EXPECT_EQ(e.Code(), code) << text;
    EXPECT_EQ(e.Message(), message) << text;
  }
  EXPECT_EQ(f.field.Text(), text);
  EXPECT_EQ(f.field.Date(), before);
}

}  // namespace

// --- Month-day-year, 'M/d/yyyy' -------------------------------------------------------------------

TEST(DateParseUs, ShortDatesAndTheirDisplay) {
  DateField f(UsLocale());
  EXPECT_EQ(f.Enter("3/5/04"), " 3/ 5/2004");
  EXPECT_EQ(f.Value(), Day(2004, 3, 5));
  EXPECT_EQ(f.field.Date(), 38051.0);
  EXPECT_EQ(f.Enter("3-5-1904"), " 3/ 5/1904");
  EXPECT_EQ(f.Value(), Day(1904, 3, 5));
  EXPECT_EQ(f.Enter("12/31/1999"), "12/31/1999");
  EXPECT_EQ(f.Enter("3/5/2004 10:30"), " 3/ 5/2004");  // extra tokens ignored
  EXPECT_EQ(f.Enter("3.5.2004"), " 3/ 5/2004");
  EXPECT_EQ(f.Enter("3 5 2004"), " 3/ 5/2004");
  EXPECT_EQ(f.Enter("  03//05 ,, 2004  "), " 3/ 5/2004");
  EXPECT_EQ(f.Enter(" 3/ 5/2004"), " 3/ 5/2004");  // its own display reads back
}

TEST(DateParseUs, MonthNames) {
  DateField f(UsLocale());
  EXPECT_EQ(f.Enter("MAR 5 2004"), " 3/ 5/2004");
  EXPECT_EQ(f.Enter("march 5, 2004"), " 3/ 5/2004");
  EXPECT_EQ(f.Enter("Marzipan 5 2004"), " 3/ 5/2004");  // only three letters count
  EXPECT_EQ(f.Enter("s 5 2004"), " 9/ 5/2004");         // "S" is the start of "Sep"
  ExpectError(f, "5 MAR 2004", TZcError::DayRequired, "Day is required");
}

TEST(DateParseUs, RequiredParts) {
  DateField f(UsLocale());
  ExpectError(f, "3/5", TZcError::YearRequired, "Year is required");
  ExpectError(f, "3", TZcError::DayRequired, "Day is required");
  ExpectError(f, "13/5/2004", TZcError::MonthRequired, "Month is required");
  ExpectError(f, "0/5/2004", TZcError::MonthRequired, "Month is required");
  ExpectError(f, "3/32/2004", TZcError::DayRequired, "Day is required");
  ExpectError(f, "3/0/2004", TZcError::DayRequired, "Day is required");
  ExpectError(f, "xyz 5 2004", TZcError::MonthRequired, "Month is required");
  ExpectError(f, "3A/5/2004", TZcError::MonthRequired, "Month is required");
  ExpectError(f, "3/X7/2004", TZcError::DayRequired, "Day is required");
  ExpectError(f, "3/5/ABC", TZcError::InvalidYear, "Invalid year \"ABC\"");
  ExpectError(f, "3/5/99999999999", TZcError::InvalidYear, "Invalid year \"99999999999\"");
}

TEST(DateParseUs, MessagesThatNameTheirToken) {
  DateField f(UsLocale());
  f.field.requiredFields = TZcRequiredDateFields::None();
  ExpectError(f, "3/X7/2004", TZcError::InvalidDay, "Invalid day \"X7\"");
  ExpectError(f, "3a/5/2004", TZcError::InvalidMonth, "Invalid month \"3A\"");
  ExpectError(f, "xyzw 5 2004", TZcError::InvalidMonthName, "Invalid month name \"XYZ\"");
  ExpectError(f, "3/5/2o04", TZcError::InvalidYear, "Invalid year \"2O04\"");
  ExpectError(f, "3/99999999999/2004", TZcError::InvalidDay, "Invalid day \"99999999999\"");
}

TEST(DateParseUs, PartsNotRequiredTakeToday) {
  DateField f(UsLocale());
  f.field.requiredFields = {};  // the constructor default: month and day
  EXPECT_EQ(f.field.requiredFields, (TZcRequiredDateFields{false, true, true}));
  EXPECT_EQ(f.Enter("3/5"), " 3/ 5/2004");
  f.field.requiredFields = TZcRequiredDateFields::None();
  EXPECT_EQ(f.Enter("3"), " 3/15/2004");
  // No month in "13": it goes on to the day and "5" to the year.
  EXPECT_EQ(f.Enter("13/5/2001"), " 6/13/2005");
  // An empty text with nothing required is today.
  EXPECT_EQ(f.Enter(""), " 6/15/2004");
}

TEST(DateParseUs, ImpossibleDatesAreReported) {
  DateField f(UsLocale());
  f.Enter("3/5/2004");
  ExpectError(f, "2/30/2004", TZcError::InvalidDate, "Invalid date \"2/30/2004\"");
  ExpectError(f, "2/29/2003", TZcError::InvalidDate, "Invalid date \"2/29/2003\"");
  ExpectError(f, "4/31/2004", TZcError::InvalidDate, "Invalid date \"4/31/2004\"");
  ExpectError(f, "3/5/4000", TZcError::InvalidDate, "Invalid date \"3/5/4000\"");
  ExpectError(f, "3/5/1599", TZcError::InvalidDate, "Invalid date \"3/5/1599\"");
  ExpectError(f, "3/5/150", TZcError::InvalidDate, "Invalid date \"3/5/150\"");
  EXPECT_EQ(f.Value(), Day(2004, 3, 5));
  EXPECT_EQ(f.Enter("2/29/2004"), " 2/29/2004");
}

TEST(DateParseUs, EmptyBoxAndToday) {
  DateField f(UsLocale());
  f.Enter("3/5/2004");
  EXPECT_EQ(f.Enter(""), "");
  EXPECT_EQ(f.field.Date(), 0.0);
  EXPECT_EQ(f.Enter("/"), " 6/15/2004");
  EXPECT_EQ(f.Enter("today"), " 6/15/2004");
  EXPECT_EQ(f.Enter("TODAY"), " 6/15/2004");
  f.field.todayString = "t";
  EXPECT_EQ(f.Enter("T"), " 6/15/2004");
}

TEST(DateParseUs, TheDayWhoseValueMeansNoDateIsReported) {
  DateField f(UsLocale());
  EXPECT_EQ(f.Enter("12/31/1899"), "12/31/1899");
  EXPECT_EQ(f.field.Date(), 1.0);
  // 30 December 1899 is value 0, "no date": typed, it is refused like any impossible date.
  ExpectError(f, "12/30/1899", TZcError::InvalidDate, "Invalid date \"12/30/1899\"");
  ExpectError(f, "dec 30 1899", TZcError::InvalidDate, "Invalid date \"dec 30 1899\"");
  EXPECT_EQ(f.Enter("12/29/1899"), "12/29/1899");
  EXPECT_EQ(f.field.Date(), -1.0);
  // Stepping onto it either way is refused too; the held date and its text stay.
  f.Enter("12/31/1899");
  try {
    f.field.KeyPress('-');
    ADD_FAILURE() << "stepped onto value 0";
  } catch (const EZcException& e) {
    EXPECT_EQ(e.Message(), "Invalid date \"12/30/1899\"");
  }
  EXPECT_EQ(f.field.Date(), 1.0);
  EXPECT_EQ(f.field.Text(), "12/31/1899");
  f.Enter("12/29/1899");
  EXPECT_THROW(f.field.KeyPress('+'), EZcException);
  EXPECT_EQ(f.field.Date(), -1.0);
  EXPECT_EQ(f.field.Text(), "12/29/1899");
}

TEST(DateCommit, OnlyTextNotYetReadIsParsed) {
  DateField f(UsLocale());
  f.field.SetDate(StDateToDateTime(Day(2004, 6, 15)));
  EXPECT_FALSE(f.field.TextUncommitted());
  // Typed text is read; a wrong entry throws and stays uncommitted until it is corrected.
  f.field.SetText("next fri");
  EXPECT_TRUE(f.field.TextUncommitted());
  f.field.CommitText();
  EXPECT_EQ(f.Value(), Day(2004, 6, 18));
  EXPECT_FALSE(f.field.TextUncommitted());
  f.field.SetText("2/30/2004");
  EXPECT_THROW(f.field.CommitText(), EZcException);
  EXPECT_TRUE(f.field.TextUncommitted());
  EXPECT_EQ(f.Value(), Day(2004, 6, 18));
  f.field.SetText("");
  f.field.CommitText();
  EXPECT_EQ(f.field.Date(), 0.0);
  EXPECT_FALSE(f.field.TextUncommitted());
}

TEST(DateCommit, ShownTextIsNotReadAgain) {
  // A two-digit year shown for 1950 would be read back as 2050 with the form's epoch.
  TZcLocaleSettings twoDigits = UsLocale();
  twoDigits.shortDateFormat = "M/d/yy";
  DateField f(twoDigits);
  f.field.SetDate(StDateToDateTime(Day(1950, 1, 2)));
  ASSERT_EQ(f.field.Text(), " 1/ 2/50");
  f.field.CommitText();
  EXPECT_EQ(f.Value(), Day(1950, 1, 2));
  f.field.ExitProcessing();  // leaving the field reads it, as it always has
  EXPECT_EQ(f.Value(), Day(2050, 1, 2));
}

TEST(DateCommit, ForceCenturyKeepsTypedText) {
  DateField f(UsLocale());
  f.field.SetDate(StDateToDateTime(Day(2004, 3, 5)));
  f.field.SetText("3/9");
  f.field.SetForceCentury(true);
  EXPECT_EQ(f.field.Text(), "3/9") << "what the user typed is not overwritten";
  EXPECT_TRUE(f.field.TextUncommitted());
}

TEST(DateParseUs, EpochOfFieldAndController) {
  DateField f(UsLocale());
  EXPECT_EQ(f.Enter("5/1/20"), " 5/ 1/2020");
  EXPECT_EQ(f.Enter("1/1/79"), " 1/ 1/2079");
  EXPECT_EQ(f.Enter("1/1/80"), " 1/ 1/1980");
  EXPECT_EQ(f.Enter("1/1/04"), " 1/ 1/2004");
  EXPECT_EQ(f.Enter("1/1/00"), " 1/ 1/2000");
  EXPECT_EQ(f.Enter("1/1/0"), " 1/ 1/2000");

  TZcControllerCore controller(2004);
  EXPECT_EQ(controller.Epoch(), 2000);
  EXPECT_TRUE(controller.SetEpoch(1900));
  EXPECT_FALSE(controller.SetEpoch(1599));
  EXPECT_FALSE(controller.SetEpoch(0));
  EXPECT_EQ(controller.Epoch(), 1900);
  ASSERT_TRUE(f.field.SetEpoch(0));
  f.field.SetController(&controller);
  EXPECT_EQ(f.field.EffectiveEpoch(), 1900);
  EXPECT_EQ(f.Enter("5/1/20"), " 5/ 1/1920");
  controller.OnGetEpoch = [](int& epoch) { epoch = 1950; };
  EXPECT_EQ(f.Enter("5/1/20"), " 5/ 1/2020");
  EXPECT_EQ(f.Enter("5/1/60"), " 5/ 1/1960");
  // Without epoch and controller: today's century.
  f.field.SetController(nullptr);
  EXPECT_EQ(f.field.EffectiveEpoch(), 0);
  EXPECT_EQ(f.Enter("5/1/99"), " 5/ 1/2099");
  f.SetToday(Day(1999, 1, 1));
  EXPECT_EQ(f.Enter("5/1/20"), " 5/ 1/1920");
}

TEST(DateParseUs, EpochPropertyAcceptsOnlyZeroAndTheRange) {
  DateField f(UsLocale());
  EXPECT_FALSE(f.field.SetEpoch(1599));
  EXPECT_FALSE(f.field.SetEpoch(4000));
  EXPECT_FALSE(f.field.SetEpoch(-1));
  EXPECT_EQ(f.field.Epoch(), 1980);
  EXPECT_TRUE(f.field.SetEpoch(1600));
  EXPECT_TRUE(f.field.SetEpoch(3999));
  EXPECT_TRUE(f.field.SetEpoch(0));
  EXPECT_EQ(f.field.Epoch(), 0);
}

// --- Keywords (today Tuesday 15 June 2004) -------------------------------------------------------

TEST(DateKeywords, RelativeDays) {
  DateField f(UsLocale());
  EXPECT_EQ(f.Enter("yesterday"), " 6/14/2004");
  EXPECT_EQ(f.Enter("Tomorrow"), " 6/16/2004");
  EXPECT_EQ(f.Enter("eom"), " 6/30/2004");
  EXPECT_EQ(f.Enter("END"), " 6/30/2004");
  EXPECT_EQ(f.Enter("bom"), " 6/ 1/2004");
  EXPECT_EQ(f.Enter("begin"), " 6/ 1/2004");
  EXPECT_EQ(f.Enter("weekend"), " 6/30/2004");  // "END" inside a word
}

TEST(DateKeywords, WeekdaySearches) {
  DateField f(UsLocale());
  EXPECT_EQ(f.Enter("next fri"), " 6/18/2004");
  EXPECT_EQ(f.Enter("next"), " 6/22/2004");    // no weekday: a week on
  EXPECT_EQ(f.Enter("LAST"), " 6/ 8/2004");    // a week ago
  EXPECT_EQ(f.Enter("prev mon"), " 6/14/2004");
  EXPECT_EQ(f.Enter("last tue"), " 6/ 8/2004");
  EXPECT_EQ(f.Enter("first tue"), " 6/ 1/2004");
  EXPECT_EQ(f.Enter("SECOND TUE"), " 6/ 8/2004");
  EXPECT_EQ(f.Enter("3rd sunday"), " 6/20/2004");
  EXPECT_EQ(f.Enter("fourth wed"), " 6/23/2004");
  EXPECT_EQ(f.Enter("final"), " 6/29/2004");   // the last Tuesday (today's weekday)
  EXPECT_EQ(f.Enter("final fri"), " 6/25/2004");
  EXPECT_EQ(f.Enter("21ST"), " 6/ 1/2004");    // read as "1ST": first Tuesday
  EXPECT_EQ(f.Enter("wed"), " 6/16/2004");     // a bare weekday: the next one after today
  EXPECT_EQ(f.Enter("tue"), " 6/22/2004");
  EXPECT_EQ(f.Enter("MONTH"), " 6/21/2004");   // contains "MON"
}

TEST(DateKeywords, NextFridayOnAFriday) {
  DateField f(UsLocale(), Day(2004, 3, 5));
  EXPECT_EQ(f.Enter("NEXT FRI"), " 3/12/2004");
  EXPECT_EQ(f.Enter("LAST FRI"), " 2/27/2004");
}

TEST(DateKeywords, ExpansionAlone) {
  TZcIntlSup intl(UsLocale());
  auto show = [&](TStDate d) { return intl.FormatDate("yyyy-mm-dd", d); };
  const TStDate today = Day(2004, 6, 15);
  EXPECT_EQ(ExpandDateKeywords(intl, "march 5, 2004", today, show), "MARCH 5, 2004");
  EXPECT_EQ(ExpandDateKeywords(intl, "today", today, show), "2004-06-15");
  // The table's order decides: "1ST" is tested before "SECOND".
  EXPECT_EQ(ExpandDateKeywords(intl, "second 1st", today, show), "2004-06-01");
  EXPECT_EQ(ExpandDateKeywords(intl, "last tomorrow", today, show), "2004-06-16");
  // Searches that leave 1600-3999 give the blank form.
  EXPECT_EQ(ExpandDateKeywords(intl, "yesterday", 0, show), "    -  -  ");
  EXPECT_EQ(ExpandDateKeywords(intl, "next", kMaxDate - 3, show), "    -  -  ");
  EXPECT_EQ(ExpandDateKeywords(intl, "tomorrow", kMaxDate, show), "    -  -  ");
}

TEST(DateKeywords, NearTheEdgesOfTheRangeTheFieldStaysCalm) {
  DateField f(UsLocale(), 0);
  ExpectError(f, "yesterday", TZcError::MonthRequired, "Month is required");
  f.SetToday(kMaxDate);
  ExpectError(f, "tomorrow", TZcError::MonthRequired, "Month is required");
  EXPECT_EQ(f.Enter("today"), "12/31/3999");
}

// --- Day-month-year, 'dd.MM.yyyy' with separator '.' --------------------------------------------

TEST(DateParseDot, ShortDatesAndTheirDisplay) {
  DateField f(DotLocale());
  f.field.todayString = ".";
  EXPECT_EQ(f.field.DateOrder(), TZcDateOrder::DayMonthYear);
  EXPECT_EQ(f.Enter("5.3.2004"), "05.03.2004");
  EXPECT_EQ(f.Value(), Day(2004, 3, 5));
  EXPECT_EQ(f.Enter("05.03.04"), "05.03.2004");
  EXPECT_EQ(f.Enter("5/3/2004"), "05.03.2004");
  EXPECT_EQ(f.Enter("5 march 2004"), "05.03.2004");
  EXPECT_EQ(f.Enter("31.12.1999"), "31.12.1999");
  EXPECT_EQ(f.Enter("."), "15.06.2004");
  EXPECT_EQ(f.Enter("next fri"), "18.06.2004");
  EXPECT_EQ(f.Enter("eom"), "30.06.2004");
  ExpectError(f, "31.4.2004", TZcError::InvalidDate, "Invalid date \"31.4.2004\"");
  ExpectError(f, "march 5 2004", TZcError::DayRequired, "Day is required");
  ExpectError(f, "5.3", TZcError::YearRequired, "Year is required");
  ExpectError(f, "5.13.2004", TZcError::MonthRequired, "Month is required");
}

TEST(DateParseDot, DefaultTodayStringIsTheSeparator) {
  TZcIntlSup intl(DotLocale());
  TZcDateEditCore field(intl, [] { return Day(2004, 6, 15); });
  EXPECT_EQ(field.todayString, ".");
  EXPECT_EQ(field.Epoch(), 0);
  EXPECT_TRUE(field.allowIncDec);
  EXPECT_FALSE(field.ForceCentury());
  EXPECT_FALSE(field.readOnly);
  field.SetDateText(".");
  EXPECT_EQ(field.Text(), "15.06.2004");
}

// --- Year-month-day, 'yyyy-MM-dd' -----------------------------------------------------------------

TEST(DateParseIso, ShortDatesAndTheirDisplay) {
  DateField f(IsoLocale());
  EXPECT_EQ(f.field.DateOrder(), TZcDateOrder::YearMonthDay);
  EXPECT_EQ(f.Enter("2004-03-05"), "2004-03-05");
  EXPECT_EQ(f.Value(), Day(2004, 3, 5));
  EXPECT_EQ(f.Enter("04-3-5"), "2004-03-05");
  EXPECT_EQ(f.Enter("2004 mar 5"), "2004-03-05");
  EXPECT_EQ(f.Enter("1999/12/31"), "1999-12-31");
  EXPECT_EQ(f.Enter("/"), "2004-06-15");
  EXPECT_EQ(f.Enter("tomorrow"), "2004-06-16");
  ExpectError(f, "2004-02-30", TZcError::InvalidDate, "Invalid date \"2004-02-30\"");
  ExpectError(f, "abc-03-05", TZcError::InvalidYear, "Invalid year \"ABC\"");
  ExpectError(f, "2004-03", TZcError::DayRequired, "Day is required");
}

// --- Date order outside 0-2, OnGetDateMask and the other events ----------------------------------

TEST(DateOrder, OutsideTheRangeIsMonthDayYear) {
  TZcLocaleSettings s = DotLocale();
  s.dateOrder = 5;
  DateField f(s);
  EXPECT_EQ(f.field.DateOrder(), TZcDateOrder::MonthDayYear);
  EXPECT_EQ(f.Enter("3.5.2004"), "05.03.2004");
  f.field.SetDateOrder(-3);
  EXPECT_EQ(f.field.DateOrder(), TZcDateOrder::MonthDayYear);
  f.field.SetDateOrder(1);
  EXPECT_EQ(f.field.DateOrder(), TZcDateOrder::DayMonthYear);
}

TEST(DateOrder, FromADisplayPicture) {
  EXPECT_EQ(DateOrderFromPicture("MM/DD/yyyy"), TZcDateOrder::MonthDayYear);
  EXPECT_EQ(DateOrderFromPicture("dd/mm/yyyy"), TZcDateOrder::DayMonthYear);
  EXPECT_EQ(DateOrderFromPicture("yyyy/mm/dd"), TZcDateOrder::YearMonthDay);
  EXPECT_EQ(DateOrderFromPicture("DD-nnn-yy"), TZcDateOrder::DayMonthYear);
  EXPECT_EQ(DateOrderFromPicture("nnn dd yyyy"), TZcDateOrder::MonthDayYear);
  // A missing letter counts as position 0, so a picture without a year reads as year-month-day.
  EXPECT_EQ(DateOrderFromPicture("mm/dd"), TZcDateOrder::YearMonthDay);
}

TEST(DateEvents, GetDateMaskChangesPictureAndOrder) {
  DateField f(UsLocale());
  f.field.OnGetDateMask = [](std::string& picture) { picture = "dd/mm/yyyy"; };
  EXPECT_EQ(f.Enter("3/5/2004"), "05/03/2004");  // parsed month first, then the order follows the mask
  EXPECT_EQ(f.field.DateOrder(), TZcDateOrder::DayMonthYear);
  EXPECT_EQ(f.Enter("3/5/2004"), "03/05/2004");
  EXPECT_EQ(f.Value(), Day(2004, 5, 3));
}

TEST(DateEvents, PreParseGetDateAndSetDate) {
  DateField f(UsLocale());
  int setDates = 0;
  f.field.OnSetDate = [&] { ++setDates; };
  f.field.OnPreParseDate = [](std::string& text) {
    if (text == "xmas") text = "12/25/2004";
  };
  EXPECT_EQ(f.Enter("xmas"), "12/25/2004");
  EXPECT_EQ(setDates, 1);
  f.field.OnPreParseDate = nullptr;
  std::string seen;
  f.field.OnGetDate = [&](std::string& text) {
    seen = text;
    text = "1/2/2003";
  };
  EXPECT_EQ(f.Enter("today"), " 1/ 2/2003");
  EXPECT_EQ(seen, " 6/15/2004");  // after keyword expansion
  EXPECT_EQ(setDates, 2);
}

TEST(DateValue, SetDateWritesTextAndModifiedFlag) {
  DateField f(UsLocale());
  EXPECT_EQ(f.field.Date(), 0.0);
  EXPECT_FALSE(f.field.Modified());
  f.field.SetDate(PlatformDate(2004, 3, 5) + 0.75);
  EXPECT_TRUE(f.field.Modified());
  EXPECT_EQ(f.field.Text(), " 3/ 5/2004");
  f.field.SetDate(0.0);
  EXPECT_EQ(f.field.Text(), "");
  f.field.SetDate(1e12);  // a value outside 1600-3999 shows the blank form
  EXPECT_EQ(f.field.Text(), "  /  /    ");
}

TEST(DateValue, ForceCenturyRedisplays) {
  DateField f(TZcLocaleSettings{});  // 'MM/dd/yy'
  EXPECT_EQ(f.Enter("3/5/04"), "03/05/04");
  f.field.SetForceCentury(true);
  EXPECT_EQ(f.field.Text(), "03/05/2004");
  EXPECT_EQ(f.Enter("3/5/04"), "03/05/2004");
  f.field.SetDate(0.0);
  f.field.SetForceCentury(false);
  EXPECT_EQ(f.field.Text(), "");
}

TEST(DateValue, AnAttachedEditCarriesTheText) {
  struct Edit : IZcEditText {
    std::string text;
    bool modified = false;
    int writes = 0;
    std::string GetText() const override { return text; }
    void SetText(const std::string& t) override {
      text = t;
      ++writes;
    }
    void SetModified(bool m) override { modified = m; }
  } edit;
  DateField f(UsLocale());
  f.field.AttachEdit(&edit);
  edit.text = "3/5/04";
  f.field.ExitProcessing();
  EXPECT_EQ(edit.text, " 3/ 5/2004");
  EXPECT_TRUE(edit.modified);
  EXPECT_EQ(f.field.Text(), " 3/ 5/2004");
  edit.text = "2/30/2004";
  EXPECT_THROW(f.field.ExitProcessing(), EZcException);
  EXPECT_EQ(edit.text, "2/30/2004");
}

TEST(DateTokens, RunsOfDigitsAndLetters) {
  EXPECT_EQ(TokenizeDateText("3/5/2004 10:30"),
            (std::vector<std::string>{"3", "5", "2004", "10", "30"}));
  EXPECT_EQ(TokenizeDateText("MARCH 5, 2004"), (std::vector<std::string>{"MARCH", "5", "2004"}));
  EXPECT_EQ(TokenizeDateText("M\xC4RZ"), (std::vector<std::string>{"M", "RZ"}));
  EXPECT_TRUE(TokenizeDateText(" ,./ ").empty());
  EXPECT_TRUE(TokenizeDateText("").empty());
}

// --- "+" and "-" ------------------------------------------------------------------------------------

TEST(DateStep, PlusAndMinus) {
  DateField f(UsLocale());
  f.Enter("3/1/2004");
  EXPECT_TRUE(f.field.KeyPress('-'));
  EXPECT_EQ(f.field.Text(), " 2/29/2004");
  f.Enter("2/28/2003");
  EXPECT_TRUE(f.field.KeyPress('+'));
  EXPECT_EQ(f.field.Text(), " 3/ 1/2003");
  f.Enter("12/31/2003");
  EXPECT_TRUE(f.field.KeyPress('+'));
  EXPECT_EQ(f.field.Text(), " 1/ 1/2004");
  EXPECT_TRUE(f.field.KeyPress('-'));
  EXPECT_EQ(f.field.Text(), "12/31/2003");
}

TEST(DateStep, EmptyBoxStepsFromToday) {
  DateField f(UsLocale());
  EXPECT_TRUE(f.field.KeyPress('+'));
  EXPECT_EQ(f.field.Text(), " 6/16/2004");
  f.Enter("");
  EXPECT_TRUE(f.field.KeyPress('-'));
  EXPECT_EQ(f.field.Text(), " 6/14/2004");
}

TEST(DateStep, TheTypedTextIsParsedFirst) {
  DateField f(UsLocale());
  f.field.SetText("3/5/04");
  EXPECT_TRUE(f.field.KeyPress('+'));
  EXPECT_EQ(f.field.Text(), " 3/ 6/2004");
  f.field.SetText("3/5");
  EXPECT_THROW(f.field.KeyPress('+'), EZcException);
  EXPECT_EQ(f.field.Text(), "3/5");
  EXPECT_EQ(f.Value(), Day(2004, 3, 6));
  int exits = 0;
  f.field.OnExitProcessing = [&] {
    ++exits;
    f.field.ExitProcessing();
  };
  f.field.SetText("3/7/04");
  EXPECT_TRUE(f.field.KeyPress('-'));
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(f.field.Text(), " 3/ 6/2004");
}

TEST(DateStep, ReadOnlyAndAllowIncDec) {
  DateField f(UsLocale());
  f.Enter("3/5/2004");
  f.field.readOnly = true;
  EXPECT_FALSE(f.field.KeyPress('+'));
  EXPECT_EQ(f.Value(), Day(2004, 3, 5));
  f.field.readOnly = false;
  f.field.allowIncDec = false;
  EXPECT_FALSE(f.field.KeyPress('+'));  // typed as a character by the edit
  EXPECT_EQ(f.Value(), Day(2004, 3, 5));
  f.field.allowIncDec = true;
  EXPECT_FALSE(f.field.KeyPress('x'));
  EXPECT_FALSE(f.field.KeyPress('='));
}

TEST(DateStep, NeverLeavesTheRange) {
  DateField f(UsLocale());
  f.Enter("12/31/3999");
  EXPECT_TRUE(f.field.KeyPress('+'));
  EXPECT_EQ(f.Value(), Day(3999, 12, 31));
  EXPECT_EQ(f.field.Text(), "12/31/3999");
  f.Enter("1/1/1600");
  EXPECT_TRUE(f.field.KeyPress('-'));
  EXPECT_EQ(f.Value(), 0);
  EXPECT_EQ(f.field.Text(), " 1/ 1/1600");
  EXPECT_TRUE(f.field.KeyPress('+'));
  EXPECT_EQ(f.field.Text(), " 1/ 2/1600");
}

// --- Drop-down button and popup placement ---------------------------------------------------------

TEST(DateEditLayout, DropDownButton) {
  EXPECT_EQ(ZcDropDownButtonRect(false, 17, 11, true, true, 100, 17), (TRectI{0, 0, 0, 0}));
  // 3-D border: client height, left = width - button width - 4.
  EXPECT_EQ(ZcDropDownButtonRect(true, 17, 11, true, true, 100, 17), (TRectI{79, 0, 96, 17}));
  // A glyph wider than the scroll arrow sets the width (glyph + 4).
  EXPECT_EQ(ZcDropDownButtonRect(true, 10, 11, true, true, 100, 17), (TRectI{81, 0, 96, 17}));
  // Flat border: 2 less high, 1 down, 3 further right.
  EXPECT_EQ(ZcDropDownButtonRect(true, 17, 11, true, false, 100, 17), (TRectI{82, 1, 99, 16}));
  // No border: flush right, full height.
  EXPECT_EQ(ZcDropDownButtonRect(true, 17, 11, false, true, 100, 17), (TRectI{83, 0, 100, 17}));
}

TEST(DateEditLayout, PopupPosition) {
  const TRectI work{0, 0, 1024, 738};
  // paLeft: (-3, height - 4) from the field's origin, with 3-D look.
  EXPECT_EQ(ZcPopupPosition({100, 200}, 120, 21, 200, 140, TZcPopupAnchor::paLeft, true, work),
            (TPointI{97, 217}));
  // Without 3-D look, 3 more on both.
  EXPECT_EQ(ZcPopupPosition({100, 200}, 120, 21, 200, 140, TZcPopupAnchor::paLeft, false, work),
            (TPointI{100, 220}));
  // paRight: (width - popup width - 1, height - 2).
  EXPECT_EQ(ZcPopupPosition({300, 200}, 120, 21, 200, 140, TZcPopupAnchor::paRight, true, work),
            (TPointI{219, 219}));
  // Too low: it opens above the field.
  EXPECT_EQ(ZcPopupPosition({100, 600}, 120, 21, 200, 140, TZcPopupAnchor::paLeft, true, work),
            (TPointI{97, 617 - 161}));
  // Exactly reaching the bottom counts as too low.
  EXPECT_EQ(ZcPopupPosition({100, 581}, 120, 21, 200, 140, TZcPopupAnchor::paLeft, true, work).y,
            598 - 161);
  // Too far right: right edge - popup width - 1; too far left: left edge + 1.
  EXPECT_EQ(ZcPopupPosition({900, 100}, 120, 21, 200, 140, TZcPopupAnchor::paLeft, true, work).x, 823);
  EXPECT_EQ(ZcPopupPosition({2, 100}, 120, 21, 200, 140, TZcPopupAnchor::paLeft, true, work).x, 1);
  const TRectI second{1024, 0, 2048, 768};
  EXPECT_EQ(ZcPopupPosition({1000, 100}, 120, 21, 200, 140, TZcPopupAnchor::paLeft, true, second).x, 1025);
}
