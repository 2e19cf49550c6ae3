// Skinned menu items: measuring and drawing one owner-drawn item with the skin's MenuItem
// picture, the glyph or check mark, the caption and shortcut text, separators and colours.
// The geometry comes from skin/render/MenuSkin_core.h; this unit draws with GDI.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/Controls.h"
#include "framework/Menus.h"
#include "skin/engine/SkinData.h"

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
  // Items rebuilt from a foreign window's menu are never drawn as separators.
  bool MaySeparate = true;
  bool Separator() const { return MaySeparate && Caption == "-"; }
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

class TForm;

// The skin's view of a framework item: caption, shortcut text, states, its menu's image list.
TSkinMenuItem SkinMenuItemOf(const TMenuItem& item);

// The background behind an item drawn into `dc`: the skinned popup-menu window the DC paints, or
// else the one showing `menu`; none when neither is skinned.
TMenuItemBackground MenuItemBackgroundFor(HDC dc, HMENU menu);

// An item of a form's main menu: the framework measures it with the item's own measure handler
// switched off for the call, then the width grows by the main-menu rule; the height stays.
void MeasureSkinnedMainMenuItem(const TSkinData& data, TMenuItem& item, HDC dc, int& width, int& height);
// An item of a popup menu, after the framework measured it: the width grows by the popup rule.
void WidenSkinnedPopupMenuItem(const TSkinData& data, const TMenuItem& item, int& width);
// Draws a framework item (`menu`: the menu that holds it, when known).
void DrawSkinnedFrameworkItem(const TSkinData& data, const TMenuItem& item, HDC dc, const RECT& r, bool selected,
                              HMENU menu = nullptr);
// Draws an owner-drawn item of a menu the framework did not build, rebuilt from that menu:
// caption and shortcut (the text after a tab), state, right-to-left order. False when the
// request is not for a menu item.
bool DrawSkinnedForeignItem(const TSkinData& data, const DRAWITEMSTRUCT& dis);

// A framework popup menu skinned with its form: while linked the menu is owner-drawn and every
// item it had at link time, recursively, measures and draws through the skin, except items that
// draw themselves already (they keep their handler). Detach, or the end of this object, makes
// the menu as it was. The menu belongs to `form` (the link checks it is still there before
// touching it).
class TSkinPopupMenuLink : public TComponent {
 public:
  TSkinPopupMenuLink(TSkinData& data, TPopupMenu& menu, TForm* form);
  ~TSkinPopupMenuLink() override;
  const char* ClassName() const override { return "TSkinPopupMenuLink"; }
  void Detach();
  TPopupMenu* Menu() const { return menu_; }
  bool Linked() const { return linked_; }

 private:
  void Link(TMenuItem& parent);
  bool MenuAlive() const;

  TSkinData* data_;
  TPopupMenu* menu_;
  TForm* form_;
  bool ownerDrawBefore_ = false;
  bool linked_ = false;
  // The items given the skin's handlers, with the measure handler each had before.
  std::vector<std::pair<TMenuItem*, TMenuMeasureItemEvent>> items_;
};

}  // namespace zelvo
