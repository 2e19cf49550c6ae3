// Skinned menu items: measuring and drawing one owner-drawn item with the skin's MenuItem
// picture, the glyph or check mark, the caption and shortcut text, separators and colours.
// The geometry comes from skin/MenuSkin_core.h; this unit draws with GDI.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "skin/SkinData.h"

namespace zelvo {

// One menu item as the skin draws it.
struct TSkinMenuItem {
  std::string Caption;   // exactly "-" for a separator
  std::string Shortcut;  // shortcut text ("Shift+F4"); empty for none
  bool Enabled = true;
  bool Checked = false;
  bool Default = false;
  bool RightToLeft = false;
  // The image list of the item's menu (none for a menu without images) and the item's image.
  HIMAGELIST Images = nullptr;
  int ImageIndex = -1;
  bool Separator() const { return Caption == "-"; }
};

// The background behind the item: the popup-menu window's rendered background (window
// coordinates), or none.
struct TMenuItemBackground {
  HBITMAP Bitmap = nullptr;
};

// Width of a popup-menu or system-menu item the framework measured as `measuredWidth`.
int SkinnedPopupItemWidth(const TSkinData& data, int measuredWidth, bool hasImageList);

// The system menu font (created once, kept for the process).
HFONT SkinMenuFont();

// Draws the item into `dc` at `r`.
void DrawSkinnedMenuItem(const TSkinData& data, HDC dc, const RECT& r, bool selected, const TSkinMenuItem& item,
                         TMenuItemBackground background = {});

}  // namespace zelvo
