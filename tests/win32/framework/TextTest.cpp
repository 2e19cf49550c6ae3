// Text conversion through the system's ANSI code page (a single-byte Western page under the test
// prefix): upper-half characters round trip, characters the page lacks become its default
// character, and empty text stays empty rather than failing.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Text.h"

using namespace zelvo;

TEST(Text, ConvertsBothWaysThroughTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 1252u) << "the checks below assume the Western code page";
  const std::string ansi = "Caf\xE9\tNo. 5 \x80";
  const std::wstring wide = AnsiToWide(ansi);
  EXPECT_EQ(wide, L"Caf\u00E9\tNo. 5 \u20AC");
  EXPECT_EQ(WideToAnsi(wide), ansi);
  EXPECT_EQ(WideToAnsi(L"\u4E2D|"), "?|") << "a character the page lacks";
  EXPECT_EQ(WideToAnsi(L""), std::string()) << "empty, not a failure";
  EXPECT_EQ(AnsiToWide(""), L"");
  // Embedded zeros are text like any other.
  EXPECT_EQ(AnsiToWide(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
}
