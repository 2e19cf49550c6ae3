// The system probes on the Wine machine, each checked against a second source: the regional
// settings in the registry, the version keys of the registry, and Linux's own memory count.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>

#include "framework/Handles.h"
#include "reginfo/SystemProbes.h"

using namespace zelvo;

namespace {
std::string RegistryText(HKEY root, const char* path, const char* value) {
  UniqueRegKey key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, key.Addr()) != ERROR_SUCCESS) return {};
  char buffer[256] = {};
  DWORD size = sizeof buffer - 1, type = 0;
  LONG rc = RegQueryValueExA(key.Get(), value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  return rc == ERROR_SUCCESS && type == REG_SZ ? std::string(buffer) : std::string();
}
}  // namespace

TEST(SystemProbes, CountryComesFromTheRegionalSettings) {
  TWindowsSystemInfo system;
  // WIN.INI's [Intl] section is the user's regional settings in the registry.
  std::string expected = RegistryText(HKEY_CURRENT_USER, "Control Panel\\International", "sCountry");
  if (expected.empty()) expected = "USA";
  EXPECT_EQ(SystemCountry(system), expected);
  EXPECT_EQ(system.ProfileString("Intl", "zelvoNoSuchKey", "USA", 255), "USA") << "the default";
  EXPECT_EQ(system.ProfileString("Intl", "zelvoNoSuchKey", std::string(300, 'x'), 255), std::string(254, 'x'))
      << "no more than the buffer holds";
}

TEST(SystemProbes, OperatingSystemIsTheOneThePrefixRuns) {
  TWindowsSystemInfo system;
  const char* kVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  const std::string version = RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, "CurrentVersion");
  const std::string build = RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, "CurrentBuildNumber");
  const std::string servicePack = RegistryText(HKEY_LOCAL_MACHINE, kVersionKey, "CSDVersion");
  ASSERT_FALSE(version.empty());
  // Windows 10 and 11 keep "6.3" in CurrentVersion for old programs; their build tells them apart.
  const std::map<std::string, std::string> names = {
      {"5.1", "Windows XP"}, {"5.2", "Windows Server 2003"}, {"6.0", "Windows Vista"},
      {"6.1", "Windows 7"},  {"6.2", "Windows 8"},           {"6.3", "Windows 8.1"}};
  std::string expected = names.at(version);
  if (version == "6.3" && std::stoi(build) >= 10240) expected = std::stoi(build) < 22000 ? "Windows 10" : "Windows 11";
  if (!servicePack.empty()) expected += " " + servicePack;
  EXPECT_EQ(OSDescription(system), expected);
  const OSVersionRecord record = system.VersionRecord();
  EXPECT_EQ(record.platformId, static_cast<uint32_t>(kPlatformWinNT));
  EXPECT_EQ(std::to_string(record.buildNumber), build);
}

TEST(SystemProbes, MemoryIsTheMachinesWholeMemory) {
  TWindowsSystemInfo system;
  // Linux's count of the same memory, in kB, through Wine's view of the root file system.
  std::ifstream meminfo("Z:\\proc\\meminfo");
  ASSERT_TRUE(meminfo.good());
  std::string key;
  long long kb = 0;
  while (meminfo >> key) {
    if (key == "MemTotal:") {
      meminfo >> kb;
      break;
    }
    meminfo.ignore(4096, '\n');
  }
  ASSERT_GT(kb, 0);
  const long long expectedMb = std::llround(static_cast<double>(kb) / 1024.0);
  const std::string text = MemorySizeText(system);
  ASSERT_GE(text.size(), 4u);
  EXPECT_EQ(text.substr(text.size() - 3), " MB");
  const long long shownMb = std::stoll(text.substr(0, text.size() - 3));
  // Wine may hold back a page or so of the kernel's count.
  EXPECT_NEAR(static_cast<double>(shownMb), static_cast<double>(expectedMb), 1.0) << text;
  if (expectedMb > 4096) {
    EXPECT_GT(system.TotalPhysicalMemory(), 0xFFFFFFFFull) << "more than a 32-bit count holds";
  }
}
