#include "controls/zcintl.h"

#include <algorithm>
#include <vector>

#include "framework/Handles.h"

namespace zelvo {

namespace {
const TZcIntlSup* g_override = nullptr;
}  // namespace

std::string TZcWinIntlSource::ProfileString(const std::string& key, const std::string& defaultValue) const {
  // The answer is cut to the buffer; the pictures have room for far less.
  char buffer[256] = {};
  DWORD n = GetProfileStringA("intl", key.c_str(), defaultValue.c_str(), buffer, sizeof buffer);
  return std::string(buffer, std::min<DWORD>(n, sizeof buffer - 1));
}

std::optional<std::string> TZcWinIntlSource::RegistryShortDate() const {
  UniqueRegKey owner;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_QUERY_VALUE, owner.Addr()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  HKEY key = owner.Get();
  std::optional<std::string> result;
  DWORD type = 0;
  char buffer[256] = {};
  DWORD size = sizeof buffer - 1;
  if (RegQueryValueExA(key, "sShortDate", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
          ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::string value(buffer, std::min<DWORD>(size, sizeof buffer - 1));
    // A stored string may or may not carry its terminating zero.
    if (auto zero = value.find('\0'); zero != std::string::npos) value.resize(zero);
    result = value;
  }
  return result;
}

std::string TZcWinIntlSource::LocaleText(LCTYPE type) const {
  char buffer[128] = {};
  int n = GetLocaleInfoA(locale_, type, buffer, sizeof buffer);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n - 1));
}

std::string TZcWinIntlSource::MonthName(int month, bool abbreviated) const {
  if (month < 1 || month > 12) return {};
  LCTYPE first = abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1;
  return LocaleText(first + static_cast<LCTYPE>(month - 1));
}

std::string TZcWinIntlSource::DayName(int weekday, bool abbreviated) const {
  if (weekday < 0 || weekday > 6) return {};
  // The locale numbers its day names from Monday (1) to Sunday (7).
  LCTYPE first = abbreviated ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1;
  return LocaleText(first + static_cast<LCTYPE>((weekday + 6) % 7));
}

TZcLocaleSettings ReadSystemZcLocaleSettings() {
  TZcLocaleSettings settings = ReadZcLocaleSettings(TZcWinIntlSource());
  settings.upperCase = [](std::string_view text) {
    std::string upper(text);
    if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
  };
  return settings;
}

const TZcIntlSup& ZcIntlSup() {
  if (g_override) return *g_override;
  static const TZcIntlSup system(ReadSystemZcLocaleSettings());
  return system;
}

TZcIntlOverride::TZcIntlOverride(TZcLocaleSettings settings)
    : intl_(std::make_unique<TZcIntlSup>(std::move(settings))), previous_(g_override) {
  g_override = intl_.get();
}

TZcIntlOverride::~TZcIntlOverride() { g_override = previous_; }

TStDate ZcToday() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return DMYtoStDate(now.wDay, now.wMonth, now.wYear, 0);
}

}  // namespace zelvo
