#include "util/ErrorText.h"

#include <gtest/gtest.h>

using namespace zelvo;

TEST(ErrorText, AppendsAFullStopOnlyWhenMissing) {
  EXPECT_EQ(ErrorReportText("Disk full", TErrorClass::General, 0, ""), "Disk full.");
  EXPECT_EQ(ErrorReportText("Disk full.", TErrorClass::General, 0, ""), "Disk full.");
  EXPECT_EQ(ErrorReportText("Version 2.1 failed", TErrorClass::General, 0, ""), "Version 2.1 failed.");
  EXPECT_EQ(ErrorReportText("v. 2. done.", TErrorClass::General, 0, ""), "v. 2. done.");
  EXPECT_EQ(ErrorReportText("", TErrorClass::General, 0, ""), "");
  EXPECT_EQ(ErrorReportText("Division by zero", TErrorClass::DivByZero, 0x1234, "%s at %P."), "Division by zero.");
}

TEST(ErrorText, DropsOneTrailingLineBreak) {
  EXPECT_EQ(ErrorReportText("line one\r\nline two\r\n", TErrorClass::General, 0, ""), "line one\r\nline two.");
  EXPECT_EQ(ErrorReportText("done.\r\n", TErrorClass::General, 0, ""), "done.");
  EXPECT_EQ(ErrorReportText("\r\n", TErrorClass::General, 0, ""), "");
  EXPECT_EQ(ErrorReportText("a\n", TErrorClass::General, 0, ""), "a\n.");
}

TEST(ErrorText, RangeAndOverflowNameTheAddress) {
  EXPECT_EQ(ErrorReportText("Range check error", TErrorClass::RangeError, 0x0040ABCD, "%s at %P."),
            "Range check error at 0040ABCD.");
  EXPECT_EQ(ErrorReportText("Integer overflow\r\n", TErrorClass::IntOverflow, 0xFFFFFFFF, "%s at %P."),
            "Integer overflow at FFFFFFFF.");
  EXPECT_EQ(FormatTextAtAddress("100%% %s@%P", "x", 10), "100% x@0000000A");
}
