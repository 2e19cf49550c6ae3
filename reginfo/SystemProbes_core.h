// What the registration form learns from the system: the country, the operating system and the
// installed memory. The text rules are portable; the values come through SystemInfoSource, which
// the Windows layer implements with the platform calls (tests use a fake).
#pragma once

#include <cstdint>
#include <string>

namespace zelvo {

// Platform ids of the version record.
enum : uint32_t { kPlatformWin32s = 0, kPlatformWin95 = 1, kPlatformWinNT = 2 };

// The operating system's version record, as the system reports it (not as a compatibility layer
// would present it to an old program).
struct OSVersionRecord {
  uint32_t platformId = 0;
  uint32_t majorVersion = 0;
  uint32_t minorVersion = 0;
  uint32_t buildNumber = 0;
  std::string servicePack;  // e.g. "Service Pack 3"; empty when none; read up to its first zero
};

class SystemInfoSource {
 public:
  virtual ~SystemInfoSource() = default;
  // The platform's profile-string call on WIN.INI: the value of key in section, or defaultValue
  // when absent, as it lands in a buffer of `capacity` bytes (at most capacity - 1 characters
  // followed by a zero). Returns the buffer's bytes; anything from the first zero on is ignored.
  virtual std::string ProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, uint32_t capacity) = 0;
  virtual OSVersionRecord VersionRecord() = 0;
  // Total physical memory in bytes, full 64-bit count.
  virtual uint64_t TotalPhysicalMemory() = 0;
};

// Country from the regional settings: "scountry" of section "Intl", "USA" when absent.
std::string SystemCountry(SystemInfoSource& source);
// Text of a profile-string buffer: up to its first zero byte and no longer than capacity - 1.
std::string ProfileBufferText(const std::string& buffer, uint32_t capacity);

// One-line description of the operating system followed by its service pack, one blank between.
std::string OSDescription(const OSVersionRecord& version);
std::string OSDescription(SystemInfoSource& source);
// The name alone, without the service pack; empty for an unknown platform.
std::string OSName(const OSVersionRecord& version);

// Installed memory as whole megabytes (halves rounded away from zero) followed by " MB".
std::string MemorySizeText(uint64_t totalBytes);
std::string MemorySizeText(SystemInfoSource& source);

}  // namespace zelvo
