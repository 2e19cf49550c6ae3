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

namespace {
// Stands in for the system's conversion: Latin-1 characters map to themselves, others to "?".
// Records what it was given.
struct Latin1Converter {
  std::u16string seen;
  TWideToAnsi Fn() {
    return [this](std::u16string_view wide) {
      seen = std::u16string(wide);
      std::string out;
      for (char16_t c : wide) out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
      return out;
    };
  }
};

std::string Utf16(std::u16string_view text, bool little) {
  std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t c : text) {
    char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    bytes += little ? std::string{lo, hi} : std::string{hi, lo};
  }
  return bytes;
}
}  // namespace

TEST(SettingsText, Utf8MarkIsDroppedAndTheRestKeptByteForByte) {
  Latin1Converter conv;
  std::string text = SettingsText("\xEF\xBB\xBF[General]\r\nSKU=\xC3\xBC-1\r\n", conv.Fn());
  TIniFile ini(text);
  EXPECT_EQ(ini.ReadString("General", "SKU", "none"), "\xC3\xBC-1");
  EXPECT_TRUE(conv.seen.empty()) << "UTF-8 is not converted";
  // Only the whole three-byte mark counts.
  EXPECT_EQ(SettingsText("\xEF\xBB[G]", conv.Fn()), "\xEF\xBB[G]");
  EXPECT_EQ(SettingsText("\xEF\xBB\xBF", conv.Fn()), "");
}

TEST(SettingsText, Utf16WithEitherMarkIsConvertedToTheCodePage) {
  const std::u16string content = u"[General]\r\nSKU=\u00FC-1\r\nURL=https://x.example/\u65E5?s=\r\n";
  for (bool little : {true, false}) {
    SCOPED_TRACE(little ? "little-endian" : "big-endian");
    Latin1Converter conv;
    TIniFile ini(SettingsText(Utf16(content, little), conv.Fn()));
    EXPECT_EQ(conv.seen, content) << "the mark is not part of the text";
    EXPECT_EQ(ini.ReadString("General", "SKU", ""), "\xFC-1");
    EXPECT_EQ(ini.ReadString("General", "URL", ""), "https://x.example/??s=");
  }
}

TEST(SettingsText, OddAndTruncatedInputs) {
  Latin1Converter conv;
  // A lone last byte of a UTF-16 file is no character.
  EXPECT_EQ(SettingsText(std::string("\xFF\xFE" "A\0B", 5), conv.Fn()), "A");
  EXPECT_EQ(SettingsText("\xFF\xFE", conv.Fn()), "");
  EXPECT_EQ(SettingsText(std::string("\xFE\xFF\0", 3), conv.Fn()), "");
  // Text without a mark goes through untouched, high bytes and all.
  conv.seen = u"untouched";
  EXPECT_EQ(SettingsText("\xFF[General]", conv.Fn()), "\xFF[General]");
  EXPECT_EQ(SettingsText("\xFE", conv.Fn()), "\xFE");
  EXPECT_EQ(SettingsText("", conv.Fn()), "");
  EXPECT_EQ(conv.seen, u"untouched");
}
