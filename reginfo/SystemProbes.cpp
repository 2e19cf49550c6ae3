#include "reginfo/SystemProbes.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/Text.h"

namespace zelvo {

namespace {
using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOEXW*);
}  // namespace

std::string TWindowsSystemInfo::ProfileString(const std::string& section, const std::string& key,
                                              const std::string& defaultValue, uint32_t capacity) {
  // One byte more than the call is told of, so the text always ends in a zero.
  std::vector<char> buffer(static_cast<size_t>(capacity) + 1, '\0');
  const DWORD n = GetProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(), capacity);
  return std::string(buffer.data(), std::min<size_t>(n, capacity));
}

OSVersionRecord TWindowsSystemInfo::VersionRecord() {
  OSVersionRecord record;
  // GetVersionEx answers an old program with the version a compatibility layer chose for it;
  // the kernel's own call reports the system that really runs.
  if (HMODULE ntdll = GetModuleHandleA("ntdll.dll")) {
    auto proc = reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion"));
    if (proc) {
      RTL_OSVERSIONINFOEXW info{};
      info.dwOSVersionInfoSize = sizeof info;
      if (reinterpret_cast<RtlGetVersionFn>(proc)(&info) == 0) {
        record.platformId = info.dwPlatformId;
        record.majorVersion = info.dwMajorVersion;
        record.minorVersion = info.dwMinorVersion;
        record.buildNumber = info.dwBuildNumber;
        record.servicePack = WideToAnsi(info.szCSDVersion).value_or(std::string());
        return record;
      }
    }
  }
  // Systems without that call (the Windows 95 family) have no compatibility layer to get round.
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (GetVersionExA(&info)) {
    record.platformId = info.dwPlatformId;
    record.majorVersion = info.dwMajorVersion;
    record.minorVersion = info.dwMinorVersion;
    record.buildNumber = info.dwBuildNumber;
    record.servicePack.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
  } else {
    record.platformId = 0xFFFFFFFFu;  // unknown: described as empty text
  }
  return record;
}

uint64_t TWindowsSystemInfo::TotalPhysicalMemory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (GlobalMemoryStatusEx(&status)) return status.ullTotalPhys;
  // The 32-bit record as the last resort (older systems): saturates at 4 GB.
  MEMORYSTATUS old{};
  old.dwLength = sizeof old;
  GlobalMemoryStatus(&old);
  return old.dwTotalPhys;
}

}  // namespace zelvo
