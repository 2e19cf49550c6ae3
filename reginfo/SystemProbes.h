// The system probes' values from the running Windows system.
#pragma once

#include "reginfo/SystemProbes_core.h"

namespace zelvo {

// Profile strings from WIN.INI, the version record as the system itself reports it (not as a
// compatibility layer presents it to an old program) and the full 64-bit physical memory size.
class TWindowsSystemInfo : public SystemInfoSource {
 public:
  std::string ProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                            uint32_t capacity) override;
  OSVersionRecord VersionRecord() override;
  uint64_t TotalPhysicalMemory() override;
};

}  // namespace zelvo
