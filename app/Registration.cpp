#include "app/Registration.h"

#include <cstdio>

#include "util/Util.h"

namespace zelvo {

TRegistrationSettings ReadRegistrationSettings(const TIniFile& ini) {
  TRegistrationSettings s;
  s.sku = ini.ReadString("General", "SKU", "");
  s.pageAddress = ini.ReadString("General", "URL", "");
  s.product = ini.ReadString("General", "Product", "");
  return s;
}

std::string SettingsFilePath(const std::string& programPath) {
  return ProgramDirFile(ChangeFileExt(programPath, ".ini"));
}

bool IsSilentArgument(std::string_view arg) { return LowerAscii(std::string(arg)) == "silent"; }

std::string RegistrationTarget(const std::string& pageAddress, const std::string& sku) {
  return pageAddress + sku;
}

bool HasWebScheme(std::string_view address) {
  size_t colon = address.find(':');
  if (colon == std::string_view::npos) return false;
  std::string scheme = LowerAscii(std::string(address.substr(0, colon)));
  return scheme == "http" || scheme == "https";
}

bool MayOpenAddress(std::string_view address) {
  return address.size() <= kMaxWebAddress && HasWebScheme(address);
}

}  // namespace zelvo
