#include <gtest/gtest.h>

#include <map>
#include <string>

#include "reginfo/SystemProbes_core.h"

using namespace zelvo;

namespace {

OSVersionRecord NT(uint32_t major, uint32_t minor, uint32_t build = 0, std::string sp = "") {
  return OSVersionRecord{kPlatformWinNT, major, minor, build, std::move(sp)};
}

TEST(OSDescription, NamesEveryWindowsVersion) {
  struct Case {
    OSVersionRecord v;
    const char* text;
  } cases[] = {
      {{kPlatformWin32s, 3, 11, 0, ""}, "Win32s"},
      {{kPlatformWin95, 4, 0, 950, ""}, "Windows 95"},
      {{kPlatformWin95, 4, 10, 1998, ""}, "Windows 98"},
      {{kPlatformWin95, 4, 90, 3000, ""}, "Windows Me"},
      {NT(3, 51), "Windows NT 3.51"},
      {NT(4, 0), "Windows NT 4.0"},
      {NT(5, 0), "Windows 2000"},
      {NT(5, 1), "Windows XP"},
      {NT(5, 2), "Windows Server 2003"},
      {NT(6, 0), "Windows Vista"},
      {NT(6, 1), "Windows 7"},
      {NT(6, 2), "Windows 8"},
      {NT(6, 3), "Windows 8.1"},
      {NT(10, 0, 19045), "Windows 10"},
      {NT(10, 0, 21999), "Windows 10"},
      {NT(10, 0, 22000), "Windows 11"},
      {NT(10, 0, 26100), "Windows 11"},
      {NT(6, 4), "Windows NT 6.4"},  // versions without a name are still told truthfully
      {NT(11, 0), "Windows NT 11.0"},
      {{3, 10, 0, 0, ""}, ""},  // an unknown platform
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OSDescription(c.v), c.text) << c.v.platformId << " " << c.v.majorVersion << "." << c.v.minorVersion;
  }
}

TEST(OSDescription, ServicePackFollowsAfterOneBlank) {
  EXPECT_EQ(OSDescription(NT(5, 0, 2195, "Service Pack 4")), "Windows 2000 Service Pack 4");
  EXPECT_EQ(OSDescription(NT(5, 1, 2600, std::string("Service Pack 3\0junk", 19))), "Windows XP Service Pack 3");
  EXPECT_EQ(OSDescription(NT(6, 1, 7601, std::string("\0Service Pack 1", 15))), "Windows 7");
  EXPECT_EQ(OSDescription({kPlatformWin95, 4, 10, 2222, " A "}), "Windows 98  A ");  // kept as the system says
  EXPECT_EQ(OSDescription({7, 1, 0, 0, "Service Pack 1"}), "Service Pack 1");    // no name: no leading blank
}

TEST(MemorySizeText, WholeMegabytesHalvesUp) {
  EXPECT_EQ(MemorySizeText(536346624ull), "512 MB");  // 511.5 MB
  EXPECT_EQ(MemorySizeText(535822336ull), "511 MB");  // 511.0 MB
  EXPECT_EQ(MemorySizeText(0), "0 MB");
  EXPECT_EQ(MemorySizeText(524287ull), "0 MB");   // just under half a megabyte
  EXPECT_EQ(MemorySizeText(524288ull), "1 MB");   // exactly half
}

TEST(MemorySizeText, MemoryAbove4GiBShowsItsRealSize) {
  EXPECT_EQ(MemorySizeText(4294967296ull), "4096 MB");
  EXPECT_EQ(MemorySizeText(17179869184ull), "16384 MB");
  EXPECT_EQ(MemorySizeText(34359738368ull - 1048576ull), "32767 MB");
  EXPECT_EQ(MemorySizeText(2199023255552ull), "2097152 MB");  // 2 TiB
}

class FakeSource : public SystemInfoSource {
 public:
  std::map<std::string, std::string> winIni;  // "section/key" -> value
  std::string asked;
  std::string ProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                            uint32_t capacity) override {
    asked = section + "/" + key + " default " + defaultValue + " size " + std::to_string(capacity);
    auto it = winIni.find(section + "/" + key);
    std::string buffer = it == winIni.end() ? defaultValue : it->second;
    return buffer + std::string(8, '\0') + "garbage after the zero";
  }
  OSVersionRecord VersionRecord() override { return NT(10, 0, 22631, ""); }
  uint64_t TotalPhysicalMemory() override { return 8589934592ull; }
};

TEST(SystemProbes, CountryComesFromTheRegionalSettingsWithUSAWhenAbsent) {
  FakeSource source;
  EXPECT_EQ(SystemCountry(source), "USA");
  EXPECT_EQ(source.asked, "Intl/scountry default USA size 255");
  source.winIni["Intl/scountry"] = "Deutschland";
  EXPECT_EQ(SystemCountry(source), "Deutschland");
  source.winIni["Intl/scountry"] = "";
  EXPECT_EQ(SystemCountry(source), "");  // present but empty is not absent
  EXPECT_EQ(ProfileBufferText(std::string(300, 'x'), 255), std::string(254, 'x'));
}

TEST(SystemProbes, ReadThroughTheSource) {
  FakeSource source;
  EXPECT_EQ(OSDescription(source), "Windows 11");
  EXPECT_EQ(MemorySizeText(source), "8192 MB");
}

}  // namespace
