#include "skin/render/MenuSkin_core.h"

#include <algorithm>

namespace zelvo {

namespace {

// The platform's text-drawing flags the menu items use.
constexpr uint32_t kDtRight = 0x2, kDtSingleLine = 0x20, kDtExpandTabs = 0x40, kDtNoClip = 0x100,
                   kDtCalcRect = 0x400;

TRectI Intersect(const TRectI& a, const TRectI& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

}  // namespace

std::optional<int> MenuItemLeftWidth(const TSkinObjects& skin) {
  if (!skin.MenuItem) return std::nullopt;
  return skin.MenuItem->LeftWidth;
}

int MainMenuItemWidth(int measuredWidth, bool hasImageList, std::optional<int> leftWidth) {
  return measuredWidth + leftWidth.value_or(0) + (hasImageList ? 10 : 35);
}

int PopupMenuItemWidth(int measuredWidth, bool hasImageList, std::optional<int> leftWidth) {
  return measuredWidth + leftWidth.value_or(0) + (hasImageList ? 12 : 35);
}

int MenuGlyphBoxSize(std::optional<int> imageListWidth, bool checked) {
  int size = imageListWidth.value_or(16);
  if (checked && size < 16) size = 16;
  return size;
}

int MenuItemFrame(bool selected) { return selected ? 4 : 1; }

uint32_t MenuTextFlags(MenuTextUse use, bool rightToLeft) {
  switch (use) {
    case MenuTextUse::Measure:
      return kDtCalcRect | kDtNoClip | kDtExpandTabs | kDtSingleLine | (rightToLeft ? kDtRight : 0);
    case MenuTextUse::Caption:
      return kDtExpandTabs | kDtSingleLine | (rightToLeft ? kDtRight : 0);
    case MenuTextUse::Shortcut:
      return rightToLeft ? 0 : kDtRight;
  }
  return 0;
}

std::string MenuMeasureText(std::string_view caption) {
  std::string text(caption);
  if (text.empty() || text == "&") text += ' ';
  return text;
}

TColor MenuItemTextColour(const TSkinColours& colours, bool enabled, bool selected) {
  if (!enabled) {
    return colours.ButtonShadow == colours.MenuText ? SystemColour(syscolour::BtnShadow) : colours.ButtonShadow;
  }
  return selected ? colours.HilightText : colours.MenuText;
}

MenuItemContents LayoutMenuItemContents(const MenuItemContentsInput& in) {
  const int w = in.Width, h = in.Height, fw = in.GlyphBox;
  const int lw = in.LeftWidth.value_or(0);
  MenuItemContents c;
  if (in.Separator) {
    // No glyph box: the text area starts where a box of no width would end.
    c.CaptionArea = in.RightToLeft ? TRectI{1, 0, w - 1, h} : TRectI{3, 0, w - 1, h};
    return c;
  }
  if (in.RightToLeft) {
    const int right = w - 1 - lw;
    c.GlyphBox = {right - fw, 1, right, 1 + fw};
    c.CaptionArea = {1, 0, c.GlyphBox.left - 3, h};
  } else {
    const int left = 1 + lw;
    c.GlyphBox = {left, 1, left + fw, 1 + fw};
    c.CaptionArea = {c.GlyphBox.right + 3, 0, w - 1, h};
  }
  return c;
}

TRectI PlaceMenuCaption(const MenuItemContents& contents, TSizeI measured, bool rightToLeft, int itemHeight) {
  // Integer division truncates toward zero, also when the text is taller than the item.
  const int down = (itemHeight - measured.cy) / 2;
  const TRectI& area = contents.CaptionArea;
  const int left = rightToLeft ? area.right - measured.cx : area.left;
  return {left, area.top + down, left + measured.cx, area.top + down + measured.cy};
}

TRectI MenuShortcutRect(const TRectI& caption, int itemWidth, bool rightToLeft) {
  constexpr int kInset = 11;
  if (rightToLeft) return {kInset, caption.top, caption.left, caption.bottom};
  return {caption.right, caption.top, itemWidth - kInset, caption.bottom};
}

TRectI MenuBackgroundSource(const TRectI& itemRect) {
  return itemRect.Offset(kPopupMenuBorder, kPopupMenuBorder);
}

TRectI MenuEtchedLineRect(const TRectI& itemRect) {
  return {itemRect.left, itemRect.top + 4, itemRect.right, itemRect.bottom};
}

std::vector<SkinBlit> MenuSeparatorBlits(int imageWidth, int imageHeight, int leftWidth, int rightWidth,
                                         int w, int h) {
  std::vector<SkinBlit> blits;
  if (imageWidth <= 0 || imageHeight <= 0 || w <= 0 || h <= 0) return blits;
  const int fw = imageWidth / 5;  // one of the five frames
  if (fw == 0) return blits;      // an image too narrow to hold five frames has no second one
  const int c = fw;               // the second frame
  const int s = h < imageHeight ? imageHeight - h : 0;
  const int ih = imageHeight;
  const TRectI image{0, 0, imageWidth, imageHeight};
  const SkinBlit parts[] = {
      {{c, s, c + leftWidth, ih}, {0, 0, leftWidth, h}},
      {{c + fw - rightWidth, s, c + fw, ih}, {w - rightWidth, 0, w, h}},
      {{c + leftWidth, s, c + fw - rightWidth, ih}, {leftWidth, 0, w - rightWidth, h}},
  };
  for (const SkinBlit& b : parts) {
    // Slicing wider than the frame must not read beyond the image.
    SkinBlit clipped{Intersect(b.Source, image), b.Dest};
    if (clipped.Source.Empty() || clipped.Dest.Empty()) continue;
    blits.push_back(clipped);
  }
  return blits;
}

}  // namespace zelvo
