// Locale date support: the user's date settings, turned into display pictures in the
// control family's picture letters, and dates merged into such pictures. Portable: the settings and
// the locale's names come in as a TZcLocaleSettings (the Windows layer fills one from the system
// through IZcIntlSource); nothing here reads the platform.
//
// Picture letters (either case): m month number (lower: leading zeros, upper: leading spaces),
// d day, y year, n month name (upper: capitals), w weekday name (upper: capitals), / the date
// separator, f g h the long-date picture's literal slots 1-3. Every other character stands for
// itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "controls/zcdate.h"

namespace zelvo {

// Order of the pieces of a typed date; the settings' "iDate" value.
enum class TZcDateOrder : uint8_t { MonthDayYear = 0, DayMonthYear = 1, YearMonthDay = 2 };

// A date order outside 0-2 is treated as month-day-year, so that such a setting still reads dates
// instead of reading no piece at all and leaving every entry empty.
TZcDateOrder NormalizeDateOrder(int value);

// Everything the date controls need from the locale. The defaults are what an unset system gives:
// separator "/", short format "MM/dd/yy", long format "dddd, MMMM dd, yyyy", month-day-year, and
// English month and day names.
struct TZcLocaleSettings {
  char dateSeparator = '/';
  std::string shortDateFormat = "MM/dd/yy";
  std::string longDateFormat = "dddd, MMMM dd, yyyy";
  int dateOrder = 0;  // as read: 0 month-day-year, 1 day-month-year, 2 year-month-day
  std::array<std::string, 12> longMonthNames{"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};  // Sunday first
  std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  // Upper-cases text in the locale's rules (on Windows: CharUpperBuffA). Unset: Windows-1252 rules.
  std::function<std::string(std::string_view)> upperCase;
};

// The platform's settings readers, behind a narrow interface (the Windows layer implements it with
// the profile-string calls, the registry and the locale's names; tests with a fake).
class IZcIntlSource {
 public:
  virtual ~IZcIntlSource() = default;
  // WIN.INI section "intl": the key's value, or defaultValue when the key is missing.
  virtual std::string ProfileString(const std::string& key, const std::string& defaultValue) const = 0;
  // The string value "sShortDate" of "Control Panel\International" under the current user, when
  // it exists.
  virtual std::optional<std::string> RegistryShortDate() const = 0;
  virtual std::string MonthName(int month, bool abbreviated) const = 0;  // month 1-12
  virtual std::string DayName(int weekday, bool abbreviated) const = 0;  // 0 = Sunday ... 6
};

// Reads the user's date settings: "sDate" (first
// character, "/" when empty), "sShortDate" from the registry or else WIN.INI (default "MM/dd/yy"),
// "sLongDate" (default "dddd, MMMM dd, yyyy"), "iDate" (first character minus "0", default "0").
TZcLocaleSettings ReadZcLocaleSettings(const IZcIntlSource& source);

// Windows-1252 upper-casing (letters a-z and the accented lower-case letters of that code page).
std::string UpperCaseAnsi1252(std::string_view text);

class TZcIntlSup {
 public:
  static constexpr size_t kShortPictureRoom = 29;
  static constexpr size_t kLongPictureRoom = 39;
  static constexpr size_t kSlotRoom = 6;
  static constexpr size_t kNameRoom = 40;
  static constexpr size_t kNumberField = 40;

  explicit TZcIntlSup(TZcLocaleSettings settings = {});

  const TZcLocaleSettings& Settings() const { return settings_; }
  char DateSeparator() const { return settings_.dateSeparator; }
  TZcDateOrder DateOrder() const { return NormalizeDateOrder(settings_.dateOrder); }

  // The pictures made from the locale's formats (separator to "/", literals lifted, name runs,
  // spaces after punctuation).
  const std::string& ShortDatePicture() const { return shortPicture_; }
  const std::string& LongDatePicture() const { return longPicture_; }
  // Literal slots f, g, h (index 0-2) lifted out of the long date format.
  const std::string& Slot(int index) const { return slots_.at(static_cast<size_t>(index)); }

  // The date field's display picture: the short-date picture with d and m widened to 2 and y to 2,
  // or 4 when forcing the century ('M/d/yyyy' -> 'MM/DD/yyyy', 'dd.MM.yyyy' -> 'dd/mm/yyyy').
  std::string InternationalDate(bool forceCentury) const;

  // Merges a day number into a picture; an invalid day number (kBadDate, or anything outside
  // 1600-3999) gives the blank form.
  std::string FormatDate(std::string_view picture, TStDate julian) const;

  // Locale names: month 1-12, weekday 0 = Sunday ... 6 = Saturday (cut to 40 characters).
  const std::string& MonthName(int month, bool abbreviated) const;
  const std::string& DayName(int weekday, bool abbreviated) const;

  // Upper-cases in the locale's rules.
  std::string UpperCase(std::string_view text) const;
  char UpperChar(char ch) const;

 private:
  TZcLocaleSettings settings_;
  std::string shortPicture_;
  std::string longPicture_;
  std::array<std::string, 3> slots_;
};

// One step of InternationalDate, exposed for tests: widens the first run of a letter (lower case
// first, else upper case) to minWidth, and for d and m swaps the case of a one-letter lower-case or
// two-letter upper-case run throughout the picture.
void AdjustPictureLetter(std::string& picture, char lowerLetter, size_t minWidth, bool changeCase);

}  // namespace zelvo
