// TFrameSystemMenu: the skinned system menu of a skinned frame. A popup of owner-drawn items
// (restore, maximize and minimize as the window's buttons allow, a separator, close with its
// shortcut) measured and drawn with the skin's menu-item picture and glyphs. It opens from the
// caption icon, a right click on the caption and Alt+Space; two clicks on the icon within the
// double-click time close the window instead. The chosen item reaches the window as WM_COMMAND,
// which the frame turns into the system command.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Handles.h"
#include "skin/render/FormSkin_core.h"

namespace zelvo {

class ISkinEngine;
class TSkinData;

// The skinned system menu's popup carries this tag (its menu data); the items' glyph index is
// their tag.
inline constexpr int32_t kSkinSystemMenuTag = 33333;
enum TSkinSystemMenuItem : int32_t {
  kSysItemRestore = 0,
  kSysItemMaximize = 1,
  kSysItemMinimize = 2,
  kSysItemClose = 3,
  kSysItemSeparator = 100,
};

class TFrameSystemMenu {
 public:
  TFrameSystemMenu(HWND window, TSkinData& data, ISkinEngine& engine);
  TFrameSystemMenu(const TFrameSystemMenu&) = delete;
  TFrameSystemMenu& operator=(const TFrameSystemMenu&) = delete;

  // Makes the popup once, with the items the window's buttons (buttons::k* flags) allow.
  void Build(uint32_t buttonFlags);
  // Destroys the popup.
  void Destroy() { popup_.Reset(); }
  HMENU Popup() const { return popup_.Get(); }

  // The double-click rule for a click on the caption icon: true when it came within the
  // double-click time of the previous click that could close (the window closes then, and the
  // menu is not shown). With `doubleClickCloses` false the click never closes and starts no pair.
  bool ClickCloses(bool doubleClickCloses);
  // Tracks the menu at a screen point, with the items enabled as `placement` allows: the skinned
  // popup when `skinned`, else the window's own system menu. A chosen item is posted to the window
  // as WM_COMMAND.
  void Show(POINT screen, TPlacement placement, bool skinned);
  // While Show tracks the menu.
  bool Showing() const { return showing_; }

  // WM_MEASUREITEM and WM_DRAWITEM for the popup's items; false for any other item.
  bool Measure(MEASUREITEMSTRUCT& mis) const;
  bool Draw(const DRAWITEMSTRUCT& dis) const;
  // Whether an owner-drawn item's data marks it as one of this menu's items.
  static bool IsSystemMenuItem(ULONG_PTR itemData);

 private:
  void Enable(HMENU menu, TPlacement placement) const;

  HWND window_;
  TSkinData* data_;
  ISkinEngine* engine_;
  UniqueMenu popup_;
  UINT doubleClickTime_;
  DWORD lastClick_ = 0;
  bool clicked_ = false;
  bool showing_ = false;
};

}  // namespace zelvo
