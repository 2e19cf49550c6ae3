#include "skin/engine/FrameMainMenu.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/engine/FrameSystemMenu.h"
#include "skin/engine/MenuSkin.h"

namespace zelvo {

HMENU TFrameMainMenu::OwnerDraw(TForm& form) {
  if (!form.Menu || menu_) return nullptr;
  menu_ = form.Menu;
  ownerDrawBefore_ = menu_->OwnerDraw;
  menu_->OwnerDraw = true;
  return Refill();
}

HMENU TFrameMainMenu::Restore(TForm& form) {
  if (!menu_ || form.Menu != menu_) return nullptr;
  menu_->OwnerDraw = ownerDrawBefore_;
  return Refill();
}

HMENU TFrameMainMenu::Refill() {
  if (!menu_ || !menu_->HandleIfCreated()) return nullptr;
  menu_->Rebuild();
  return menu_->HandleIfCreated();
}

bool TFrameMainMenu::ItemMessage(TMessage& m, TForm* form) const {
  if (m.WParam != 0 || !m.LParam) return false;
  TMainMenu* menu = form ? form->Menu : nullptr;
  if (m.Msg == WM_MEASUREITEM) {
    auto& mis = *reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (mis.CtlType != ODT_MENU || !menu) return false;
    TMenuItem* item = menu->FindCommand(static_cast<UINT>(mis.itemData));
    if (!item) return false;
    const TTextMeasure screen(SkinMenuFont());
    int width = static_cast<int>(mis.itemWidth), height = static_cast<int>(mis.itemHeight);
    MeasureSkinnedMainMenuItem(*data_, *item, screen.DC(), width, height);
    mis.itemWidth = static_cast<UINT>(std::max(width, 0));
    mis.itemHeight = static_cast<UINT>(std::max(height, 0));
    m.Result = TRUE;
    return true;
  }
  const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
  if (dis.CtlType != ODT_MENU) return false;
  if (TMenuItem* item = menu ? menu->FindCommand(static_cast<UINT>(dis.itemData)) : nullptr) {
    DrawSkinnedFrameworkItem(*data_, *item, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0,
                             reinterpret_cast<HMENU>(dis.hwndItem));
    m.Result = TRUE;
    return true;
  }
  if (TMenuItem::FromCommand(static_cast<UINT>(dis.itemData))) return false;
  if (TFrameSystemMenu::IsSystemMenuItem(dis.itemData)) return false;
  if (!DrawSkinnedForeignItem(*data_, dis)) return false;
  m.Result = TRUE;
  return true;
}

}  // namespace zelvo
