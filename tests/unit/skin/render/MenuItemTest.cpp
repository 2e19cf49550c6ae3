#include <gtest/gtest.h>

#include "tests/unit/skin/render/GeometryPrint.h"

#include <memory>
#include <vector>

#include "skin/render/MenuSkin_core.h"

using namespace zelvo;

namespace {

TEST(MenuMeasure, WidthsWithAndWithoutImagesAndMenuItemEntry) {
  TSkinObjects skin;
  EXPECT_EQ(MenuItemLeftWidth(skin), std::nullopt);
  skin.MenuItem = std::make_unique<TDataSkinObject>("MenuItem");
  skin.MenuItem->LeftWidth = 6;
  const std::optional<int> lw = MenuItemLeftWidth(skin);
  EXPECT_EQ(lw, 6);

  EXPECT_EQ(PopupMenuItemWidth(80, true, std::nullopt), 92);
  EXPECT_EQ(PopupMenuItemWidth(80, false, std::nullopt), 115);
  EXPECT_EQ(PopupMenuItemWidth(80, true, lw), 98);
  EXPECT_EQ(PopupMenuItemWidth(80, false, lw), 121);
  EXPECT_EQ(MainMenuItemWidth(40, true, std::nullopt), 50);
  EXPECT_EQ(MainMenuItemWidth(40, false, lw), 81);
  // An entry with no left width still counts as present.
  EXPECT_EQ(PopupMenuItemWidth(80, true, 0), 92);
}

TEST(MenuMeasure, GlyphBoxSize) {
  EXPECT_EQ(MenuGlyphBoxSize(std::nullopt, false), 16);
  EXPECT_EQ(MenuGlyphBoxSize(std::nullopt, true), 16);
  EXPECT_EQ(MenuGlyphBoxSize(12, false), 12);
  EXPECT_EQ(MenuGlyphBoxSize(12, true), 16);  // room for the check mark
  EXPECT_EQ(MenuGlyphBoxSize(24, true), 24);
}

TEST(MenuText, FlagsMeasureTextAndFrame) {
  EXPECT_EQ(MenuTextFlags(MenuTextUse::Measure, false), 0x560u);
  EXPECT_EQ(MenuTextFlags(MenuTextUse::Measure, true), 0x562u);
  EXPECT_EQ(MenuTextFlags(MenuTextUse::Caption, false), 0x60u);
  EXPECT_EQ(MenuTextFlags(MenuTextUse::Caption, true), 0x62u);
  EXPECT_EQ(MenuTextFlags(MenuTextUse::Shortcut, false), 0x2u);
  EXPECT_EQ(MenuTextFlags(MenuTextUse::Shortcut, true), 0x0u);

  EXPECT_EQ(MenuMeasureText(""), " ");
  EXPECT_EQ(MenuMeasureText("&"), "& ");
  EXPECT_EQ(MenuMeasureText("&&"), "&&");
  EXPECT_EQ(MenuMeasureText(" Close "), " Close ");

  EXPECT_EQ(MenuItemFrame(true), 4);
  EXPECT_EQ(MenuItemFrame(false), 1);
}

TEST(MenuText, ColoursAndTheDisabledFallback) {
  TSkinColours c;
  c.HilightText = 0x0000FF;
  c.MenuText = 0x000000;
  c.ButtonShadow = 0x808080;
  EXPECT_EQ(MenuItemTextColour(c, true, true), 0x0000FFu);
  EXPECT_EQ(MenuItemTextColour(c, true, false), 0x000000u);
  EXPECT_EQ(MenuItemTextColour(c, false, false), 0x808080u);
  EXPECT_EQ(MenuItemTextColour(c, false, true), 0x808080u);  // selection does not matter when disabled
  // A skin whose ButtonShadow is its MenuText would make disabled items look enabled.
  c.ButtonShadow = c.MenuText;
  EXPECT_EQ(MenuItemTextColour(c, false, false), SystemColour(syscolour::BtnShadow));
  EXPECT_EQ(MenuItemTextColour(c, true, false), 0x000000u);
}

TEST(MenuContents, LeftToRightGeometry) {
  MenuItemContents c = LayoutMenuItemContents({120, 22, 16, std::nullopt, false, false});
  EXPECT_EQ(c.GlyphBox, (TRectI{1, 1, 17, 17}));
  EXPECT_EQ(c.CaptionArea, (TRectI{20, 0, 119, 22}));
  // Caption 40 x 13 in 22 rows: moved down (22 - 13) / 2 = 4.
  TRectI caption = PlaceMenuCaption(c, {40, 13}, false, 22);
  EXPECT_EQ(caption, (TRectI{20, 4, 60, 17}));
  EXPECT_EQ(MenuShortcutRect(caption, 120, false), (TRectI{60, 4, 109, 17}));

  // The MenuItem entry's LeftWidth moves the glyph box and everything after it.
  c = LayoutMenuItemContents({120, 22, 16, 6, false, false});
  EXPECT_EQ(c.GlyphBox, (TRectI{7, 1, 23, 17}));
  EXPECT_EQ(c.CaptionArea.left, 26);
  // A wider glyph box from an image list.
  EXPECT_EQ(LayoutMenuItemContents({120, 26, 24, std::nullopt, false, false}).CaptionArea.left, 28);
}

TEST(MenuContents, SpareHeightRoundsTowardZero) {
  MenuItemContents c = LayoutMenuItemContents({120, 21, 16, std::nullopt, false, false});
  EXPECT_EQ(PlaceMenuCaption(c, {40, 14}, false, 21).top, 3);   // 3.5
  EXPECT_EQ(PlaceMenuCaption(c, {40, 13}, false, 10).top, -1);  // -1.5: up by one, not two
  EXPECT_EQ(PlaceMenuCaption(c, {40, 21}, false, 21).top, 0);
}

TEST(MenuContents, RightToLeftMirror) {
  MenuItemContents c = LayoutMenuItemContents({120, 22, 16, 6, false, true});
  EXPECT_EQ(c.GlyphBox, (TRectI{97, 1, 113, 17}));
  EXPECT_EQ(c.CaptionArea, (TRectI{1, 0, 94, 22}));
  TRectI caption = PlaceMenuCaption(c, {40, 13}, true, 22);
  EXPECT_EQ(caption, (TRectI{54, 4, 94, 17}));  // ends 3 pixels left of the glyph box
  EXPECT_EQ(MenuShortcutRect(caption, 120, true), (TRectI{11, 4, 54, 17}));
  EXPECT_EQ(LayoutMenuItemContents({120, 22, 16, std::nullopt, false, true}).GlyphBox.right, 119);
}

TEST(MenuContents, SeparatorHasNoGlyphBox) {
  MenuItemContents c = LayoutMenuItemContents({120, 8, 16, 6, true, false});
  EXPECT_EQ(c.GlyphBox.left, 0);
  EXPECT_EQ(c.GlyphBox.right, 0);
  EXPECT_EQ(c.CaptionArea.left, 3);
  EXPECT_EQ(MenuEtchedLineRect({0, 30, 120, 38}), (TRectI{0, 34, 120, 38}));
}

TEST(MenuBackground, ItemPartOfThePopupWindowPastItsBorder) {
  EXPECT_EQ(MenuBackgroundSource({0, 0, 120, 22}), (TRectI{3, 3, 123, 25}));
  EXPECT_EQ(MenuBackgroundSource({0, 44, 120, 52}), (TRectI{3, 47, 123, 55}));
}

TEST(MenuSeparator, PartsOfTheSecondFrame) {
  // Image 100 x 12: frames 20 wide, the second starting at 20; an 8-row item takes rows 4..12.
  std::vector<SkinBlit> b = MenuSeparatorBlits(100, 12, 4, 5, 150, 8);
  ASSERT_EQ(b.size(), 3u);
  EXPECT_EQ(b[0], (SkinBlit{{20, 4, 24, 12}, {0, 0, 4, 8}}));
  EXPECT_EQ(b[1], (SkinBlit{{35, 4, 40, 12}, {145, 0, 150, 8}}));
  EXPECT_EQ(b[2], (SkinBlit{{24, 4, 35, 12}, {4, 0, 145, 8}}));
  // A taller item stretches the whole frame height.
  b = MenuSeparatorBlits(100, 12, 4, 5, 150, 20);
  EXPECT_EQ(b[0], (SkinBlit{{20, 0, 24, 12}, {0, 0, 4, 20}}));
  // Without slicing there is only the middle.
  b = MenuSeparatorBlits(100, 12, 0, 0, 150, 8);
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(b[0], (SkinBlit{{20, 4, 40, 12}, {0, 0, 150, 8}}));
}

TEST(MenuSeparator, HostileSizesNeverReadOutsideTheImage) {
  EXPECT_TRUE(MenuSeparatorBlits(4, 12, 1, 1, 150, 8).empty());  // no second frame
  EXPECT_TRUE(MenuSeparatorBlits(100, 0, 1, 1, 150, 8).empty());
  EXPECT_TRUE(MenuSeparatorBlits(100, 12, 1, 1, 0, 8).empty());
  for (const SkinBlit& b : MenuSeparatorBlits(100, 12, 90, -40, 60, 8)) {
    EXPECT_GE(b.Source.left, 0);
    EXPECT_LE(b.Source.right, 100);
    EXPECT_FALSE(b.Source.Empty());
    EXPECT_FALSE(b.Dest.Empty());
  }
}

}  // namespace
