#include "controls/zcintl_core.h"

#include <gtest/gtest.h>

#include <map>

#include "DateTestSupport.h"

using namespace zelvo;
using namespace zelvo::testing;

namespace {

TZcIntlSup WithFormats(std::string shortFormat, std::string longFormat = "dddd, MMMM dd, yyyy",
                       char separator = '/') {
  TZcLocaleSettings s;
  s.shortDateFormat = std::move(shortFormat);
  s.longDateFormat = std::move(longFormat);
  s.dateSeparator = separator;
  return TZcIntlSup(s);
}

const TStDate kMar5 = Day(2004, 3, 5);

}  // namespace

TEST(IntlPictures, DefaultsOfAnUnsetSystem) {
  TZcIntlSup intl;
  EXPECT_EQ(intl.DateSeparator(), '/');
  EXPECT_EQ(intl.ShortDatePicture(), "MM/dd/yy");
  EXPECT_EQ(intl.LongDatePicture(), "wwww, nnnn dd, yyyy");
  EXPECT_EQ(intl.DateOrder(), TZcDateOrder::MonthDayYear);
}

TEST(IntlPictures, SeparatorBecomesSlashInTheShortPictureOnly) {
  TZcIntlSup intl(DotLocale());
  EXPECT_EQ(intl.ShortDatePicture(), "dd/MM/yyyy");
  EXPECT_EQ(intl.LongDatePicture(), "wwww, d. nnnn yyyy");
  TZcIntlSup iso(IsoLocale());
  EXPECT_EQ(iso.ShortDatePicture(), "yyyy/MM/dd");
}

TEST(IntlPictures, LiteralsAreLiftedIntoThreeSlots) {
  TZcIntlSup intl = WithFormats("M/d/yyyy", "dddd' de 'd' de 'MMMM' de 'yyyy");
  EXPECT_EQ(intl.LongDatePicture(), "wwwwffffdggggnnnnhhhhyyyy");
  EXPECT_EQ(intl.Slot(0), " de ");
  EXPECT_EQ(intl.Slot(1), " de ");
  EXPECT_EQ(intl.Slot(2), " de ");
}

TEST(IntlPictures, LiteralsLongerThanSixAreCutAndAFourthStaysQuoted) {
  TZcIntlSup intl = WithFormats("M/d/yyyy", "'abcdefghij'yyyy");
  EXPECT_EQ(intl.LongDatePicture(), "ffffffyyyy");
  EXPECT_EQ(intl.Slot(0), "abcdef");

  TZcIntlSup four = WithFormats("M/d/yyyy", "'a''b''c''d'");
  EXPECT_EQ(four.LongDatePicture(), "fgh'd'");
  EXPECT_EQ(four.Slot(2), "c");
}

TEST(IntlPictures, AnUnclosedQuoteIsDeletedAndStopsTheLifting) {
  TZcIntlSup intl = WithFormats("M/d/yyyy", "yyyy 'abc");
  EXPECT_EQ(intl.LongDatePicture(), "yyyy abc");
  EXPECT_EQ(intl.Slot(0), "");
  TZcIntlSup empty = WithFormats("M/d/yyyy", "yyyy''MM");
  EXPECT_EQ(empty.LongDatePicture(), "yyyyMM");
}

TEST(IntlPictures, WeekdayAndMonthNameRuns) {
  EXPECT_EQ(WithFormats("d-MMM-yy").ShortDatePicture(), "d-nnn-yy");
  EXPECT_EQ(WithFormats("d-MMMM-yy").ShortDatePicture(), "d-nnnn-yy");
  EXPECT_EQ(WithFormats("M/d/yy", "dd ddd MMM").LongDatePicture(), "dd www nnn");
  // Only the first "ddd" run, and lower-case "mmm" (minutes in the platform's formats) is not a month.
  EXPECT_EQ(WithFormats("M/d/yy", "ddd dddd mmm").LongDatePicture(), "www dddd mmm");
}

TEST(IntlPictures, SpaceAfterCommaAndPeriodInTheLongPicture) {
  EXPECT_EQ(WithFormats("M/d/yy", "d.M.yyyy").LongDatePicture(), "d. M. yyyy");
  EXPECT_EQ(WithFormats("M/d/yy", "d,M, yyyy").LongDatePicture(), "d, M, yyyy");
  // The rule also holds at the end of the picture.
  EXPECT_EQ(WithFormats("M/d/yy", "yyyy.").LongDatePicture(), "yyyy. ");
  // The short picture keeps its punctuation as it is.
  EXPECT_EQ(WithFormats("d.M.yyyy").ShortDatePicture(), "d.M.yyyy");
}

TEST(IntlPictures, OverlongFormatsAreCut) {
  std::string longShort(40, 'y');
  EXPECT_EQ(WithFormats(longShort).ShortDatePicture().size(), TZcIntlSup::kShortPictureRoom);
  std::string longLong = "d." + std::string(45, 'y');
  std::string picture = WithFormats("M/d/yy", longLong).LongDatePicture();
  EXPECT_EQ(picture.size(), TZcIntlSup::kLongPictureRoom);
  EXPECT_EQ(picture.substr(0, 3), "d. ");
}

TEST(IntlFieldPicture, PictureExamples) {
  EXPECT_EQ(TZcIntlSup(UsLocale()).InternationalDate(false), "MM/DD/yyyy");
  EXPECT_EQ(WithFormats("MM/dd/yyyy").InternationalDate(false), "mm/dd/yyyy");
  EXPECT_EQ(WithFormats("M/d/yy").InternationalDate(false), "MM/DD/yy");
  EXPECT_EQ(WithFormats("M/d/yy").InternationalDate(true), "MM/DD/yyyy");
  EXPECT_EQ(TZcIntlSup(DotLocale()).InternationalDate(false), "dd/mm/yyyy");
  EXPECT_EQ(WithFormats("d-MMM-yy").InternationalDate(false), "DD-nnn-yy");
  EXPECT_EQ(TZcIntlSup(IsoLocale()).InternationalDate(false), "yyyy/mm/dd");
  EXPECT_EQ(TZcIntlSup().InternationalDate(false), "mm/dd/yy");
  EXPECT_EQ(TZcIntlSup().InternationalDate(true), "mm/dd/yyyy");
  // A one-letter year is widened too; a longer run of any letter stays.
  EXPECT_EQ(WithFormats("d/M/y").InternationalDate(false), "DD/MM/yy");
  EXPECT_EQ(WithFormats("ddd/MMMMM/yyyyy").InternationalDate(true), "ddd/nnnnn/yyyyy");
}

TEST(IntlFieldPicture, AdjustingALetter) {
  std::string p = "D/M/y";
  AdjustPictureLetter(p, 'd', 2, true);  // upper-case one letter: widened, case kept
  EXPECT_EQ(p, "DD/M/y");
  p = "DD/M/y";
  AdjustPictureLetter(p, 'd', 2, true);  // two upper-case letters become lower case
  EXPECT_EQ(p, "dd/M/y");
  p = "d/M/yD";
  AdjustPictureLetter(p, 'd', 2, true);  // every lower-case d becomes upper case
  EXPECT_EQ(p, "DD/M/yD");
  p = "M/y";
  AdjustPictureLetter(p, 'd', 2, true);
  EXPECT_EQ(p, "M/y");
}

TEST(IntlFormat, EdgeCases) {
  TZcIntlSup us(UsLocale());
  EXPECT_EQ(us.FormatDate(us.InternationalDate(false), kMar5), " 3/ 5/2004");
  TZcIntlSup plain;
  EXPECT_EQ(plain.FormatDate(plain.InternationalDate(false), kMar5), "03/05/04");
  EXPECT_EQ(plain.FormatDate(plain.InternationalDate(true), kMar5), "03/05/2004");
  TZcIntlSup dot(DotLocale());
  EXPECT_EQ(dot.FormatDate(dot.InternationalDate(false), kMar5), "05.03.2004");
  TZcIntlSup mmm = WithFormats("d-MMM-yy");
  EXPECT_EQ(mmm.FormatDate(mmm.InternationalDate(false), kMar5), " 5-Mar-04");
  TZcIntlSup mmmm = WithFormats("d-MMMM-yy");
  EXPECT_EQ(mmmm.FormatDate(mmmm.InternationalDate(false), kMar5), " 5-Marc-04");
  EXPECT_EQ(us.FormatDate("MM/DD/yyyy", kBadDate), "  /  /    ");
  TZcIntlSup iso(IsoLocale());
  EXPECT_EQ(iso.FormatDate(iso.InternationalDate(false), kMar5), "2004-03-05");
}

TEST(IntlFormat, NumbersNamesAndCapitals) {
  TZcIntlSup intl;
  EXPECT_EQ(intl.FormatDate("yy", kMar5), "04");
  EXPECT_EQ(intl.FormatDate("yyyyyy", kMar5), "002004");
  EXPECT_EQ(intl.FormatDate("YYYYYY", kMar5), "  2004");
  EXPECT_EQ(intl.FormatDate("Mm", kMar5), " 3");  // case per position
  EXPECT_EQ(intl.FormatDate("NNN", kMar5), "MAR");
  EXPECT_EQ(intl.FormatDate("nnnnnnnnn!", kMar5), "March    !");
  EXPECT_EQ(intl.FormatDate("WWWWWW", kMar5), "FRIDAY");
  EXPECT_EQ(intl.FormatDate("www", kMar5), "Fri");
  EXPECT_EQ(intl.FormatDate("Www", kMar5), "Fri");
  EXPECT_EQ(intl.FormatDate("wWw", kMar5), "FRi");
  // Names are cut to their run: the default long picture has four-letter runs.
  EXPECT_EQ(intl.FormatDate(intl.LongDatePicture(), kMar5), "Frid, Marc 05, 2004");
  // Only the first run of each letter is filled.
  EXPECT_EQ(intl.FormatDate("dd dd", kMar5), "05 dd");
  EXPECT_EQ(intl.FormatDate("nnn NNN", kMar5), "Mar NNN");
  // Any day number outside 1600-3999 gives the blank form.
  EXPECT_EQ(intl.FormatDate("mm/dd/yyyy www", kMaxDate + 1), "  /  /        ");
  EXPECT_EQ(intl.FormatDate("mm/dd/yyyy", 0), "01/01/1600");
  EXPECT_EQ(intl.FormatDate("mm/dd/yyyy", kMaxDate), "12/31/3999");
}

TEST(IntlFormat, SlotsFromThePictureNotFromNames) {
  TZcIntlSup intl = WithFormats("M/d/yy", "MMMMMMMM' de 'yyyy'!'");
  EXPECT_EQ(intl.LongDatePicture(), "nnnnnnnnffffyyyyg");
  // "March" holds an "h", which is no placeholder; the slots fill where the picture had them.
  EXPECT_EQ(intl.FormatDate(intl.LongDatePicture(), kMar5), "March    de 2004!");
  EXPECT_EQ(intl.FormatDate(intl.LongDatePicture(), kBadDate), "         de     !");
  TZcLocaleSettings es;
  es.longDateFormat = "dddd' de 'MMMM";
  es.longMonthNames[7] = "agosto";
  es.longDayNames[0] = "domingo";
  TZcIntlSup spanish(es);
  EXPECT_EQ(spanish.FormatDate(spanish.LongDatePicture(), Day(2004, 8, 1)), "domi de agos");
}

TEST(IntlFormat, NamesHoldingPictureLettersLeaveLaterRunsAlone) {
  // Welsh: month names with "w", weekday names with "d" and "y", written before the runs after them.
  TZcLocaleSettings cy;
  cy.longDateFormat = "dd MMMMMMMM yyyy, dddddddddddd";
  cy.longMonthNames = {"Ionawr", "Chwefror", "Mawrth", "Ebrill", "Mai", "Mehefin",
                       "Gorffennaf", "Awst", "Medi", "Hydref", "Tachwedd", "Rhagfyr"};
  cy.longDayNames = {"Dydd Sul", "Dydd Llun", "Dydd Mawrth", "Dydd Mercher",
                     "Dydd Iau", "Dydd Gwener", "Dydd Sadwrn"};
  TZcIntlSup welsh(cy);
  ASSERT_EQ(welsh.LongDatePicture(), "dd nnnnnnnn yyyy, wwwwwwwwwwww");
  EXPECT_EQ(welsh.FormatDate(welsh.LongDatePicture(), Day(2004, 2, 14)), "14 Chwefror 2004, Dydd Sadwrn ");
  EXPECT_EQ(welsh.FormatDate(welsh.LongDatePicture(), Day(2004, 11, 5)), "05 Tachwedd 2004, Dydd Gwener ");
  // Capitals too, and a weekday run before a number run.
  EXPECT_EQ(welsh.FormatDate("NNNNNNNN WWWW mm", Day(2004, 2, 14)), "CHWEFROR DYDD 02");
  EXPECT_EQ(welsh.FormatDate("wwwwwwwwwww yyyy", Day(2004, 3, 2)), "Dydd Mawrth 2004");
}

TEST(IntlFormat, SeparatorInOutput) {
  TZcIntlSup dot(DotLocale());
  EXPECT_EQ(dot.FormatDate("dd/mm/yyyy", kBadDate), "  .  .    ");
}

TEST(IntlNames, UpperCaseAndNames) {
  EXPECT_EQ(UpperCaseAnsi1252("m\xE4rz \xFF\x9A abc"), "M\xC4RZ \x9F\x8A ABC");
  EXPECT_EQ(UpperCaseAnsi1252("\xF7"), "\xF7");
  TZcLocaleSettings s;
  s.upperCase = [](std::string_view t) { return std::string(t.size(), 'Q'); };
  TZcIntlSup intl(s);
  EXPECT_EQ(intl.UpperCase("ab"), "QQ");
  TZcIntlSup plain;
  EXPECT_EQ(plain.MonthName(3, false), "March");
  EXPECT_EQ(plain.MonthName(12, true), "Dec");
  EXPECT_EQ(plain.DayName(0, false), "Sunday");
  EXPECT_EQ(plain.DayName(6, true), "Sat");
  TZcLocaleSettings longName;
  longName.longMonthNames[0] = std::string(60, 'x');
  EXPECT_EQ(TZcIntlSup(longName).MonthName(1, false).size(), TZcIntlSup::kNameRoom);
}

namespace {

class FakeIntlSource : public IZcIntlSource {
 public:
  std::map<std::string, std::string> profile;
  std::optional<std::string> registry;
  std::string ProfileString(const std::string& key, const std::string& def) const override {
    auto it = profile.find(key);
    return it == profile.end() ? def : it->second;
  }
  std::optional<std::string> RegistryShortDate() const override { return registry; }
  std::string MonthName(int month, bool abbreviated) const override {
    return (abbreviated ? "m" : "month") + std::to_string(month);
  }
  std::string DayName(int day, bool abbreviated) const override {
    return (abbreviated ? "d" : "day") + std::to_string(day);
  }
};

}  // namespace

TEST(IntlSettings, ReadFromTheSystemSources) {
  FakeIntlSource source;
  TZcLocaleSettings s = ReadZcLocaleSettings(source);
  EXPECT_EQ(s.dateSeparator, '/');
  EXPECT_EQ(s.shortDateFormat, "MM/dd/yy");
  EXPECT_EQ(s.longDateFormat, "dddd, MMMM dd, yyyy");
  EXPECT_EQ(s.dateOrder, 0);
  EXPECT_EQ(s.longMonthNames[0], "month1");
  EXPECT_EQ(s.shortMonthNames[11], "m12");
  EXPECT_EQ(s.longDayNames[6], "day6");

  source.profile = {{"sDate", ".x"}, {"sShortDate", "dd.MM.yy"}, {"sLongDate", "d MMMM"}, {"iDate", "1"}};
  s = ReadZcLocaleSettings(source);
  EXPECT_EQ(s.dateSeparator, '.');
  EXPECT_EQ(s.shortDateFormat, "dd.MM.yy");
  EXPECT_EQ(s.longDateFormat, "d MMMM");
  EXPECT_EQ(s.dateOrder, 1);

  source.registry = "yyyy-MM-dd";  // the registry's short format wins when it exists
  EXPECT_EQ(ReadZcLocaleSettings(source).shortDateFormat, "yyyy-MM-dd");
  source.registry = "";
  EXPECT_EQ(ReadZcLocaleSettings(source).shortDateFormat, "");
}

TEST(IntlSettings, DateOrderOutsideTheRangeIsMonthDayYear) {
  FakeIntlSource source;
  source.profile = {{"iDate", "7"}};
  TZcIntlSup intl(ReadZcLocaleSettings(source));
  EXPECT_EQ(intl.DateOrder(), TZcDateOrder::MonthDayYear);
  source.profile = {{"iDate", ""}};
  EXPECT_EQ(TZcIntlSup(ReadZcLocaleSettings(source)).DateOrder(), TZcDateOrder::MonthDayYear);
  source.profile = {{"iDate", "2"}};
  EXPECT_EQ(TZcIntlSup(ReadZcLocaleSettings(source)).DateOrder(), TZcDateOrder::YearMonthDay);
  EXPECT_EQ(NormalizeDateOrder(-1), TZcDateOrder::MonthDayYear);
  EXPECT_EQ(NormalizeDateOrder(1), TZcDateOrder::DayMonthYear);
  EXPECT_EQ(NormalizeDateOrder(3), TZcDateOrder::MonthDayYear);
}
