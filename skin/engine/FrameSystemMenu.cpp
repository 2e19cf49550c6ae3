#include "skin/engine/FrameSystemMenu.h"

#include <algorithm>

#include "skin/engine/MenuSkin.h"
#include "skin/engine/PopupMenuSkin.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinEngine.h"

namespace zelvo {

namespace {

// Marks the items of the skinned system menu (itemData high word) so that measuring and drawing
// recognise them among the window's other owner-drawn items.
constexpr ULONG_PTR kSysItemMark = 0x5C5D0000u;

struct TSysMenuItemText {
  int32_t Tag;
  UINT Command;
  const char* Text;
  const char* Shortcut;
};
constexpr TSysMenuItemText kSysMenuItems[] = {
    {kSysItemRestore, SC_RESTORE, " Restore ", ""},
    {kSysItemMaximize, SC_MAXIMIZE, " Maximize ", ""},
    {kSysItemMinimize, SC_MINIMIZE, " Minimize ", ""},
    {kSysItemSeparator, 0, "-", ""},
    {kSysItemClose, SC_CLOSE, " Close ", "Shift+F4"},
};

// The item an owner-drawn request is for, when it is one of the system menu's.
const TSysMenuItemText* ItemOf(UINT ctlType, ULONG_PTR itemData) {
  if (ctlType != ODT_MENU || !TFrameSystemMenu::IsSystemMenuItem(itemData)) return nullptr;
  const auto tag = static_cast<int32_t>(itemData & 0xFFFF);
  for (const auto& item : kSysMenuItems)
    if (item.Tag == tag) return &item;
  return nullptr;
}

}  // namespace

TFrameSystemMenu::TFrameSystemMenu(HWND window, TSkinData& data, ISkinEngine& engine)
    : window_(window), data_(&data), engine_(&engine), doubleClickTime_(GetDoubleClickTime()) {}

bool TFrameSystemMenu::IsSystemMenuItem(ULONG_PTR itemData) { return (itemData & 0xFFFF0000u) == kSysItemMark; }

void TFrameSystemMenu::Build(uint32_t buttonFlags) {
  if (popup_) return;
  popup_ = UniqueMenu(CreatePopupMenu());
  if (!popup_) return;
  const HMENU menu = popup_.Get();
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_MENUDATA;
  info.dwMenuData = kSkinSystemMenuTag;
  SetMenuInfo(menu, &info);
  for (const auto& item : kSysMenuItems) {
    if (item.Tag == kSysItemMaximize && !(buttonFlags & buttons::kMaximize)) continue;
    if (item.Tag == kSysItemMinimize && !(buttonFlags & buttons::kMinimize)) continue;
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    mi.fType = MFT_OWNERDRAW | (item.Tag == kSysItemSeparator ? MFT_SEPARATOR : 0);
    mi.wID = item.Command;
    mi.dwItemData = kSysItemMark | static_cast<ULONG_PTR>(item.Tag);
    InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &mi);
  }
}

void TFrameSystemMenu::Enable(HMENU menu, TPlacement placement) const {
  if (!menu) return;
  EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (placement != TPlacement::Normal ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | (placement != TPlacement::Maximized ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (placement != TPlacement::Minimized ? MF_ENABLED : MF_GRAYED));
}

bool TFrameSystemMenu::ClickCloses(bool doubleClickCloses) {
  const DWORD now = GetTickCount();
  if (doubleClickCloses && clicked_ && now - lastClick_ <= doubleClickTime_) {
    clicked_ = false;
    return true;
  }
  clicked_ = doubleClickCloses;
  lastClick_ = now;
  return false;
}

void TFrameSystemMenu::Show(POINT screen, TPlacement placement, bool skinned) {
  Enable(popup_.Get(), placement);
  Enable(GetSystemMenu(window_, FALSE), placement);
  const HMENU menu = skinned && popup_ ? popup_.Get() : GetSystemMenu(window_, FALSE);
  if (!menu) return;
  showing_ = true;
  // A menu tracked for a window that is not in front would not close when clicked beside.
  SetForegroundWindow(window_);
  const auto command = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, window_, nullptr));
  showing_ = false;
  // The chosen item goes the way every menu command goes: WM_COMMAND, turned into a system
  // command by the frame.
  if (command != 0 && IsWindow(window_)) PostMessageA(window_, WM_COMMAND, command, 0);
}

bool TFrameSystemMenu::Measure(MEASUREITEMSTRUCT& mis) const {
  const TSysMenuItemText* item = ItemOf(mis.CtlType, mis.itemData);
  if (!item) return false;
  const TTextMeasure measure(SkinMenuFont());
  const SIZE text = measure.Extent(item->Text);
  SIZE shortcut{};
  if (*item->Shortcut) {
    shortcut = measure.Extent(item->Shortcut);
    shortcut.cx += 16;  // room between caption and shortcut
  }
  TSizeI size = SystemMenuItemSize(text.cx + shortcut.cx, text.cy, item->Tag == kSysItemSeparator,
                                   data_->Skin().MenuItem.get(), false);
  // The width the skinned item needs: the text measured, widened for the glyph list and LeftWidth.
  size.cx = SkinnedPopupItemWidth(*data_, text.cx + shortcut.cx, true);
  mis.itemWidth = static_cast<UINT>(std::max(0, size.cx));
  mis.itemHeight = static_cast<UINT>(std::max(0, size.cy));
  return true;
}

bool TFrameSystemMenu::Draw(const DRAWITEMSTRUCT& dis) const {
  const TSysMenuItemText* item = ItemOf(dis.CtlType, dis.itemData);
  if (!item) return false;
  // The skin's menu-item drawing: MenuItem picture over the popup window's background, the glyph
  // (index = tag), caption and shortcut.
  TSkinMenuItem mi;
  mi.Caption = item->Tag == kSysItemSeparator ? "-" : item->Text;
  mi.Shortcut = item->Shortcut;
  mi.Enabled = (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) == 0;
  mi.Images = data_->MenuGlyphs();
  mi.ImageIndex = item->Tag < kMenuGlyphCount ? item->Tag : -1;
  TMenuItemBackground background;
  if (TPopupMenuSkin* popup = engine_->FindPopupByMenu(popup_.Get())) background.Bitmap = popup->Background();
  DrawSkinnedMenuItem(*data_, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0, mi, background);
  return true;
}

}  // namespace zelvo
