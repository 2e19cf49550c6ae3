#include "reginfo/SystemProbes_core.h"

#include "util/Util.h"

namespace zelvo {

namespace {

std::string UpToFirstZero(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string VersionNumber(const OSVersionRecord& v) {
  return std::to_string(v.majorVersion) + "." + std::to_string(v.minorVersion);
}

std::string NTName(const OSVersionRecord& v) {
  const uint32_t major = v.majorVersion, minor = v.minorVersion;
  if (major < 5) return "Windows NT " + VersionNumber(v);
  if (major == 5 && minor == 0) return "Windows 2000";
  if (major == 5 && minor == 1) return "Windows XP";
  if (major == 5 && minor == 2) return "Windows Server 2003";
  if (major == 6 && minor == 0) return "Windows Vista";
  if (major == 6 && minor == 1) return "Windows 7";
  if (major == 6 && minor == 2) return "Windows 8";
  if (major == 6 && minor == 3) return "Windows 8.1";
  // Windows 11 still reports 10.0; its first release is build 22000.
  if (major == 10 && minor == 0) return v.buildNumber < 22000 ? "Windows 10" : "Windows 11";
  // A version this program does not know by name is still described truthfully.
  return "Windows NT " + VersionNumber(v);
}

}  // namespace

std::string ProfileBufferText(const std::string& buffer, uint32_t capacity) {
  std::string text = UpToFirstZero(buffer);
  const size_t room = capacity > 0 ? capacity - 1 : 0;
  if (text.size() > room) text.resize(room);
  return text;
}

std::string SystemCountry(SystemInfoSource& source) {
  // A 256-byte buffer of which the call is told 255.
  constexpr uint32_t kCapacity = 255;
  return ProfileBufferText(source.ProfileString("Intl", "scountry", "USA", kCapacity), kCapacity);
}

std::string OSName(const OSVersionRecord& v) {
  switch (v.platformId) {
    case kPlatformWin32s:
      return "Win32s";
    case kPlatformWin95:
      return std::string("Windows ") + (v.minorVersion == 0 ? "95" : v.minorVersion == 10 ? "98" : "Me");
    case kPlatformWinNT:
      return NTName(v);
    default:
      return "";
  }
}

std::string OSDescription(const OSVersionRecord& v) {
  std::string text = OSName(v);
  const std::string servicePack = UpToFirstZero(v.servicePack);
  if (!servicePack.empty()) {
    if (!text.empty()) text += ' ';
    text += servicePack;
  }
  return text;
}

std::string OSDescription(SystemInfoSource& source) { return OSDescription(source.VersionRecord()); }

std::string MemorySizeText(uint64_t totalBytes) {
  const int32_t megabytes = RoundOff(static_cast<long double>(totalBytes) / 1048576.0L);
  return std::to_string(megabytes) + " MB";
}

std::string MemorySizeText(SystemInfoSource& source) { return MemorySizeText(source.TotalPhysicalMemory()); }

}  // namespace zelvo
