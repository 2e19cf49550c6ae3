// The rules behind skinned menu items, free of any window code: how much wider an owner-drawn
// item is measured, where its glyph box, caption and shortcut go (left-to-right and mirrored),
// the separator picture cut from the MenuItem image, the background copied from the popup-menu
// window behind the item, the text colours and the text-drawing flags.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/render/ControlSkins_core.h"
#include "skin/file/SkinObjects.h"

namespace zelvo {

// The MenuItem entry's LeftWidth, or nothing when the skin has no MenuItem entry.
std::optional<int> MenuItemLeftWidth(const TSkinObjects& skin);

// Width of an item of a form's main menu after the framework measured it: + LeftWidth (with a
// MenuItem entry), + 10 with an image list, + 35 without.
int MainMenuItemWidth(int measuredWidth, bool hasImageList, std::optional<int> leftWidth);
// Width of a popup-menu or system-menu item: + LeftWidth, + 12 with an image list, + 35 without.
int PopupMenuItemWidth(int measuredWidth, bool hasImageList, std::optional<int> leftWidth);

// Side of the square glyph box: 16, or the image list's glyph width; at least 16 for a checked item.
int MenuGlyphBoxSize(std::optional<int> imageListWidth, bool checked);

// 4 for a selected item, 1 otherwise (of the MenuItem image's five frames).
int MenuItemFrame(bool selected);

// Text-drawing flags (the platform's DrawText values).
enum class MenuTextUse : uint8_t { Measure, Caption, Shortcut };
uint32_t MenuTextFlags(MenuTextUse use, bool rightToLeft);
// The text measured for a caption: an empty text or "&" gets a blank so it measures one line high.
std::string MenuMeasureText(std::string_view caption);

// Text colour of an item: HilightText when enabled and selected, MenuText when enabled, and when
// disabled ButtonShadow, or the system button-shadow colour when the skin's ButtonShadow equals
// its MenuText (the item would look enabled otherwise).
TColor MenuItemTextColour(const TSkinColours& colours, bool enabled, bool selected);

// Where the parts of an item's contents go in its own w x h bitmap.
struct MenuItemContentsInput {
  int Width = 0, Height = 0;
  int GlyphBox = 16;                  // MenuGlyphBoxSize
  std::optional<int> LeftWidth;       // MenuItemLeftWidth
  bool Separator = false;
  bool RightToLeft = false;
};
struct MenuItemContents {
  TRectI GlyphBox;     // left = right = 0 for a separator
  TRectI CaptionArea;  // what the caption is measured in
};
MenuItemContents LayoutMenuItemContents(const MenuItemContentsInput& in);

// The caption as drawn: the measured size placed in the caption area (at its left, or against its
// right for right-to-left menus) and moved down by half the spare height, rounded toward zero.
TRectI PlaceMenuCaption(const MenuItemContents& contents, TSizeI measured, bool rightToLeft, int itemHeight);
// The shortcut text's rectangle: from the caption's right edge to w - 11 (right-to-left menus:
// from 11 to the caption's left edge), at the caption's height.
TRectI MenuShortcutRect(const TRectI& caption, int itemWidth, bool rightToLeft);

// The part of the popup-menu window's background under an item: the item rectangle moved past
// the window's 3-pixel border.
inline constexpr int kPopupMenuBorder = 3;
TRectI MenuBackgroundSource(const TRectI& itemRect);

// The etched line of a separator drawn without a MenuItem entry: along the top of this rectangle.
TRectI MenuEtchedLineRect(const TRectI& itemRect);

// One stretched copy of the separator picture.
struct SkinBlit {
  TRectI Source;
  TRectI Dest;
  constexpr bool operator==(const SkinBlit&) const = default;
};
// The separator picture of a w x h item from the MenuItem image (iw x ih, five frames side by side):
// the left, right and middle parts of the second frame's bottom h rows (the whole frame stretched
// when the item is taller), in that order. Parts without area are left out.
std::vector<SkinBlit> MenuSeparatorBlits(int imageWidth, int imageHeight, int leftWidth, int rightWidth,
                                         int w, int h);

}  // namespace zelvo
