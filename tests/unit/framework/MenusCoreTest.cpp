#include <gtest/gtest.h>

#include "framework/Menus_core.h"

using namespace zelvo;

TEST(ShortCutText, ModifiersComeFirstInFixedOrder) {
  struct Case {
    TShortCut shortCut;
    const char* text;
  };
  const Case cases[] = {
      {MakeShortCut(0x73, scShift), "Shift+F4"},
      {MakeShortCut('S', scCtrl), "Ctrl+S"},
      {MakeShortCut(0x2E, scAlt | scCtrl), "Ctrl+Alt+Del"},
      {MakeShortCut(0x70, scAlt | scCtrl | scShift), "Shift+Ctrl+Alt+F1"},
      {MakeShortCut('0'), "0"},
      {MakeShortCut('9'), "9"},
      {MakeShortCut('Z'), "Z"},
      {MakeShortCut(0x87), "F24"},
      {MakeShortCut(0x0D, scCtrl), "Ctrl+Enter"},
      {MakeShortCut(0x08), "BkSp"},
      {MakeShortCut(0x22), "PgDn"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortCutToText(c.shortCut), c.text) << std::hex << c.shortCut;
}

TEST(ShortCutText, NothingToShowGivesEmptyText) {
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(ShortCutToText(scShift | scCtrl), "") << "modifiers alone";
  EXPECT_EQ(ShortCutToText(MakeShortCut('a')), "") << "lower-case letters are not key codes";
  EXPECT_EQ(ShortCutToText(MakeShortCut(0x88)), "") << "one past F24";
  EXPECT_EQ(ShortCutToText(MakeShortCut(0x6F)), "") << "one before F1";
  EXPECT_EQ(ShortCutToText(MakeShortCut(0x2F)), "") << "between Del and 0";
  EXPECT_EQ(ShortCutToText(0x1000 | 'A'), "A") << "bits outside the modifiers are not modifiers";
}

TEST(AcceleratorChar, TheFirstSingleAmpersandMarksIt) {
  EXPECT_EQ(AcceleratorChar("E&xit"), 'X');
  EXPECT_EQ(AcceleratorChar("Fish && &Chips"), 'C') << "a doubled ampersand is shown, not a mark";
  EXPECT_EQ(AcceleratorChar("&a &b"), 'A') << "the first mark counts";
  EXPECT_EQ(AcceleratorChar("No mark&"), 0) << "an ampersand at the end marks nothing";
  EXPECT_EQ(AcceleratorChar("&&"), 0);
  EXPECT_EQ(AcceleratorChar(""), 0);
}
