// Any text typed into a date field: the parser (keywords, tokens, date order, epoch, required
// parts) and the display format must neither crash, hang, nor trip a sanitizer; every failure is an
// EZcException. The first bytes choose the locale, the field's settings and today's date; a mode
// also feeds the text to the picture builder as a locale format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "controls/zcdate.h"
#include "controls/zcdateedit_core.h"
#include "controls/zcexception.h"
#include "controls/zcintl_core.h"

using namespace zelvo;

namespace {

TZcLocaleSettings Locale(int which) {
  TZcLocaleSettings s;
  switch (which) {
    case 0:
      s.shortDateFormat = "M/d/yyyy";
      break;
    case 1:
      s.dateSeparator = '.';
      s.shortDateFormat = "dd.MM.yyyy";
      s.longDateFormat = "dddd, d. MMMM yyyy";
      s.dateOrder = 1;
      break;
    case 2:
      s.dateSeparator = '-';
      s.shortDateFormat = "yyyy-MM-dd";
      s.longDateFormat = "yyyy'年'M'月'd'日'";
      s.dateOrder = 2;
      break;
    default:
      s.shortDateFormat = "d-MMM-yy";
      s.longDateFormat = "dddd' de 'd' de 'MMMM' de 'yyyy";
      s.dateOrder = 7;  // out of range: month-day-year
      s.longMonthNames[2] = "M\xE4rz";
      s.shortMonthNames[2] = "M\xE4r";
      s.shortMonthNames[4] = "";  // an empty name must never match
      s.longDayNames[0] = "";
      break;
  }
  return s;
}

void Parse(const TZcIntlSup& intl, uint8_t flags, uint16_t todayOffset, const std::string& text) {
  // Today anywhere in 1600-3999, including the range's edges.
  TStDate today = static_cast<TStDate>((int64_t{todayOffset} * 13 + (flags & 1 ? kMaxDate : 0)) % (kMaxDate + 1));
  TZcDateEditCore field(intl, [today] { return today; });
  field.requiredFields = {(flags & 2) != 0, (flags & 4) != 0, (flags & 8) != 0};
  field.SetForceCentury((flags & 16) != 0);
  field.SetEpoch((flags & 32) ? 1980 : 0);
  TZcControllerCore controller(1900);
  if (flags & 64) field.SetController(&controller);
  if (flags & 128) field.OnGetDateMask = [](std::string& picture) { picture = "yyyy/nnn/dd ww"; };
  try {
    field.SetDateText(text);
  } catch (const EZcException&) {
  }
  field.SetText(text);
  try {
    (void)field.KeyPress((flags & 1) ? '+' : '-');
  } catch (const EZcException&) {
  }
  (void)field.Format(field.Date());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TZcIntlSup locales[4] = {TZcIntlSup(Locale(0)), TZcIntlSup(Locale(1)),
                                        TZcIntlSup(Locale(2)), TZcIntlSup(Locale(3))};
  if (size < 4 || size > 4096) return 0;
  const uint8_t mode = data[0];
  const uint8_t flags = data[1];
  const uint16_t todayOffset = static_cast<uint16_t>(data[2] | (data[3] << 8));
  std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
  if ((mode & 0x80) == 0) {
    Parse(locales[mode & 3], flags, todayOffset, text);
  } else {
    // The text as the locale's formats: the pictures, the field's picture and both date forms.
    TZcLocaleSettings s = Locale(mode & 3);
    s.shortDateFormat = text;
    s.longDateFormat = text;
    if (!text.empty()) s.dateSeparator = text[0];
    TZcIntlSup intl(s);
    TStDate day = static_cast<TStDate>(todayOffset) * 13;
    (void)intl.FormatDate(intl.InternationalDate((flags & 16) != 0), day);
    (void)intl.FormatDate(intl.LongDatePicture(), day);
    (void)intl.FormatDate(intl.LongDatePicture(), kBadDate);
    Parse(intl, flags, todayOffset, text);
  }
  return 0;
}
