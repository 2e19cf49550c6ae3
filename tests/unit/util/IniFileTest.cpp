#include "util/IniFile.h"

#include <gtest/gtest.h>

using namespace zelvo;

TEST(IniFile, ReadsTrimmedValuesCaseInsensitively) {
  TIniFile ini("[general]\r\n  sku =  AB-12 \r\nurl= https://x.example/reg?sku= \r\nProduct=Zelvo  Notes\t\r\n");
  EXPECT_EQ(ini.ReadString("General", "SKU", "d"), "AB-12");
  EXPECT_EQ(ini.ReadString("GENERAL", "URL", "d"), "https://x.example/reg?sku=");
  EXPECT_EQ(ini.ReadString("General", "Product", "d"), "Zelvo  Notes");
  EXPECT_EQ(ini.ReadString("General", "Missing", "d"), "d");
  EXPECT_EQ(ini.ReadString("Other", "SKU", ""), "");
}

TEST(IniFile, KeepsEverythingAfterTheFirstEquals) {
  TIniFile ini("[General]\nURL=http://h/p?a=1&b=\n");
  EXPECT_EQ(ini.ReadString("General", "URL", ""), "http://h/p?a=1&b=");
}

TEST(IniFile, IgnoresCommentsLinesBeforeSectionsAndLinesWithoutEquals) {
  TIniFile ini("SKU=early\n;SKU=comment\n[General]\n;URL=no\njunk line\n\n   \nSKU=late\n");
  EXPECT_EQ(ini.ReadString("General", "SKU", ""), "late");
  EXPECT_EQ(ini.ReadString("General", "URL", "none"), "none");
  EXPECT_EQ(ini.ReadSection("General"), std::vector<std::string>{"SKU"});
}

TEST(IniFile, SectionHeadersAndLineEnds) {
  TIniFile ini("[ General ]\rA=1\r[Second]\nA=2\r\n[General]\nA=3\nB=4");
  EXPECT_EQ(ini.ReadString("General", "A", ""), "1");   // first section of that name wins
  EXPECT_EQ(ini.ReadString("Second", "a", ""), "2");
  EXPECT_FALSE(ini.ValueExists("General", "B"));
  EXPECT_TRUE(ini.SectionExists("second"));
  TIniFile empty("");
  EXPECT_FALSE(empty.SectionExists("General"));
  TIniFile brackets("[]\nA=1\n[\nB=2");
  EXPECT_EQ(brackets.ReadString("", "A", ""), "1");
  EXPECT_EQ(brackets.ReadString("", "B", ""), "2");  // "[" alone is no header
}

TEST(IniFile, TrimsControlCharacters) {
  EXPECT_EQ(TrimText("\t\x01 a b \x1f"), "a b");
  EXPECT_EQ(TrimText("   "), "");
  EXPECT_TRUE(SameTextAscii("General", "gENERAL"));
  EXPECT_FALSE(SameTextAscii("General", "Generals"));
}
