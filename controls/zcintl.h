// The date controls' locale sources on Windows: the "intl" profile strings, the user's short date
// format in the registry and the locale's month and day names, read once per process; and today's
// date from the system clock.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "controls/zcdate.h"
#include "controls/zcintl_core.h"

namespace zelvo {

// IZcIntlSource over the Win32 calls: GetProfileStringA on the "intl" section, the value
// "sShortDate" of HKEY_CURRENT_USER\Control Panel\International, GetLocaleInfoA for the names.
class TZcWinIntlSource : public IZcIntlSource {
 public:
  explicit TZcWinIntlSource(LCID locale = LOCALE_USER_DEFAULT) : locale_(locale) {}
  std::string ProfileString(const std::string& key, const std::string& defaultValue) const override;
  std::optional<std::string> RegistryShortDate() const override;
  std::string MonthName(int month, bool abbreviated) const override;
  std::string DayName(int weekday, bool abbreviated) const override;

 private:
  std::string LocaleText(LCTYPE type) const;
  LCID locale_;
};

// The system's settings as the date controls use them (upper-casing through CharUpperBuffA).
TZcLocaleSettings ReadSystemZcLocaleSettings();

// The process's locale support: read from the system on first use, kept until the program ends.
// Controls take it when they are constructed.
const TZcIntlSup& ZcIntlSup();

// While one lives, controls constructed take this locale support instead of the system's (tests of
// other locales). Restores the previous one when it ends; it must outlive the controls made under it.
class TZcIntlOverride {
 public:
  explicit TZcIntlOverride(TZcLocaleSettings settings);
  ~TZcIntlOverride();
  TZcIntlOverride(const TZcIntlOverride&) = delete;
  TZcIntlOverride& operator=(const TZcIntlOverride&) = delete;
  const TZcIntlSup& Intl() const { return *intl_; }

 private:
  std::unique_ptr<TZcIntlSup> intl_;
  const TZcIntlSup* previous_;
};

// Today's date (the local clock's day) as a day number.
TStDate ZcToday();

}  // namespace zelvo
