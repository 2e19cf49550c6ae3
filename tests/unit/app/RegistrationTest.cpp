#include "app/Registration.h"

#include <gtest/gtest.h>

#include "util/Util.h"

using namespace zelvo;

TEST(Registration, SettingsFileSitsBesideTheProgram) {
  std::string saved = ProgramDir;
  ProgramDir = "C:\\Apps\\Reg";
  EXPECT_EQ(SettingsFilePath("C:\\Apps\\Reg\\register.exe"), "C:\\Apps\\Reg\\register.ini");
  EXPECT_EQ(SettingsFilePath("C:\\Apps\\Reg\\REGISTER"), "C:\\Apps\\Reg\\REGISTER.ini");
  ProgramDir = "C:\\";
  EXPECT_EQ(SettingsFilePath("C:\\register.exe"), "C:\\register.ini");
  ProgramDir = saved;
}

TEST(Registration, SettingsFromTheGeneralSection) {
  TRegistrationSettings s = ReadRegistrationSettings(TIniFile("[general]\nsku = Z-1\nurl=http://a/r?k=\n"));
  EXPECT_EQ(s.sku, "Z-1");
  EXPECT_EQ(s.pageAddress, "http://a/r?k=");
  EXPECT_EQ(s.product, "");
  TRegistrationSettings none = ReadRegistrationSettings(TIniFile(""));
  EXPECT_TRUE(none.sku.empty() && none.pageAddress.empty() && none.product.empty());
}

TEST(Registration, SilentArgument) {
  EXPECT_TRUE(IsSilentArgument("silent"));
  EXPECT_TRUE(IsSilentArgument("SiLeNT"));
  EXPECT_FALSE(IsSilentArgument("silent "));
  EXPECT_FALSE(IsSilentArgument("/silent"));
  EXPECT_FALSE(IsSilentArgument(""));
}

TEST(Registration, TargetIsPageFollowedBySku) {
  EXPECT_EQ(RegistrationTarget(kDefaultRegistrationPage, ""), kDefaultRegistrationPage);
  EXPECT_EQ(RegistrationTarget(kDefaultRegistrationPage, "ZN-7"), std::string(kDefaultRegistrationPage) + "ZN-7");
  EXPECT_EQ(RegistrationTarget("http://h/r.asp?sku=", "A B"), "http://h/r.asp?sku=A B");
  EXPECT_TRUE(std::string(kDefaultRegistrationPage).ends_with("/register.asp"));
}

TEST(Registration, OnlyWebAddressesGoToTheShell) {
  EXPECT_TRUE(HasWebScheme("http://x"));
  EXPECT_TRUE(HasWebScheme("HTTPS://x"));
  EXPECT_TRUE(HasWebScheme("HtTp://x"));
  EXPECT_FALSE(HasWebScheme("file:///c:/windows/system32/calc.exe"));
  EXPECT_FALSE(HasWebScheme("C:\\Windows\\notepad.exe"));
  EXPECT_FALSE(HasWebScheme("calc.exe"));
  EXPECT_FALSE(HasWebScheme("httpx://x"));
  EXPECT_FALSE(HasWebScheme(" http://x"));
  EXPECT_FALSE(HasWebScheme(""));
  EXPECT_FALSE(ShellSucceeded(32));
  EXPECT_TRUE(ShellSucceeded(33));
  EXPECT_FALSE(ShellSucceeded(0));
}

TEST(Registration, AddressesLongerThanBrowsersAcceptAreRefused) {
  auto address = [](size_t length) {
    std::string a = "https://www.example.com/register.asp?sku=";
    a.resize(length, 'x');
    return a;
  };
  EXPECT_TRUE(MayOpenAddress(address(2083)));
  EXPECT_FALSE(MayOpenAddress(address(2084)));
  EXPECT_FALSE(MayOpenAddress(address(100000)));
  // The length counts the SKU too: a page that fits can be pushed over by it.
  EXPECT_FALSE(MayOpenAddress(RegistrationTarget(address(2080), "ZN-1")));
  EXPECT_TRUE(MayOpenAddress(RegistrationTarget(address(2079), "ZN-1")));
  EXPECT_FALSE(MayOpenAddress("calc.exe")) << "short but no web address";
}

TEST(Registration, OpenCommandsTakeTheAddressWhereTheirPlaceholderIs) {
  const std::wstring url = L"https://e.com/r.asp?a=1&sku=X";
  EXPECT_EQ(ExpandOpenCommand(L"\"C:\\B\\b.exe\" -osint -url \"%1\"", url),
            L"\"C:\\B\\b.exe\" -osint -url \"" + url + L"\"");
  EXPECT_EQ(ExpandOpenCommand(L"b.exe --single-argument %1", url), L"b.exe --single-argument " + url);
  EXPECT_EQ(ExpandOpenCommand(L"b.exe %L %* %2 100%%", url), L"b.exe " + url + L"   100%");
  // No placeholder: the address goes last; an unquoted place quotes what needs it.
  EXPECT_EQ(ExpandOpenCommand(L"b.exe", url), L"b.exe " + url);
  EXPECT_EQ(ExpandOpenCommand(L"b.exe %1", L"a b\\\"c\\"), L"b.exe \"a b\\\\\\\"c\\\\\"");
  EXPECT_EQ(ExpandOpenCommand(L"", url), L"");
  // A lone percent sign at the end is kept as it stands.
  EXPECT_EQ(ExpandOpenCommand(L"b.exe %1 %", url), L"b.exe " + url + L" %");
}
