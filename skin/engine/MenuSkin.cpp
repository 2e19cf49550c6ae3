#include "skin/engine/MenuSkin.h"

#include <algorithm>
#include <string>

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Menus.h"
#include "skin/engine/Offscreen.h"
#include "skin/engine/PopupMenuSkin.h"
#include "skin/engine/SkinEngine.h"
#include "skin/render/MenuSkin_core.h"
#include "skin/render/NinePart.h"

namespace zelvo {

namespace {

// Draws one text of the item (caption or shortcut) with the skin's text routine.
void ItemText(HDC dc, const std::string& text, RECT& rect, UINT flags) {
  std::wstring wide = AnsiToWide(text);
  SkinDrawText(dc, wide, rect, flags);
}

// The platform's menu check mark, drawn in `colour` where the mark is (its background stays).
void DrawCheckMark(HDC dc, int x, int y, int size, COLORREF colour) {
  const UniqueDC mono = CompatibleDC(dc);
  if (!mono) return;
  const UniqueGdi<HBITMAP> bmp(CreateBitmap(size, size, 1, 1, nullptr));
  const ScopedSelect bitmapSel(mono.Get(), bmp.Get());
  RECT r{0, 0, size, size};
  DrawFrameControl(mono.Get(), &r, DFC_MENU, DFCS_MENUCHECK);
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px)
      if (GetPixel(mono.Get(), px, py) == RGB(0, 0, 0)) SetPixel(dc, x + px, y + py, colour);
}

// The item's image (on a checkerboard when checked) or, without one, the check mark of a checked
// item, in the glyph box.
void DrawGlyph(const TSkinData& data, HDC dc, RECT box, const TSkinMenuItem& item) {
  const int imageCount = item.Images ? ImageList_GetImageCount(item.Images) : 0;
  if (item.Images && item.ImageIndex >= 0 && item.ImageIndex < imageCount) {
    if (item.Checked) {
      // A checkerboard of button face and highlight in a sunken square.
      WORD pattern[8];
      for (int i = 0; i < 8; ++i) pattern[i] = (i % 2) ? 0x55 : 0xAA;
      UniqueGdi<HBITMAP> pb(CreateBitmap(8, 8, 1, 1, pattern));
      UniqueGdi<HBRUSH> brush(CreatePatternBrush(pb.Get()));
      COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
      COLORREF oldBk = SetBkColor(dc, GetSysColor(COLOR_BTNHILIGHT));
      FillRect(dc, &box, brush.Get());
      SetTextColor(dc, oldText);
      SetBkColor(dc, oldBk);
      DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
    }
    if (item.Images == data.MenuGlyphs()) {
      data.DrawMenuGlyph(dc, box.left, box.top, item.ImageIndex, item.Enabled);
    } else {
      ImageList_Draw(item.Images, item.ImageIndex, dc, box.left, box.top,
                     ILD_TRANSPARENT | (item.Enabled ? 0u : static_cast<UINT>(ILD_BLEND50)));
    }
  } else if (item.Checked) {
    int size = std::min<int>(box.right - box.left, GetSystemMetrics(SM_CXMENUCHECK));
    int x = box.left + (box.right - box.left - size) / 2 + 1;
    int y = box.top + (box.bottom - box.top - size) / 2 + 1;
    DrawCheckMark(dc, x, y, size, GetSysColor(COLOR_BTNTEXT));
  }
}

// The caption (bold for the default item) and the shortcut text, placed by the item's layout.
void DrawCaption(const TSkinData& data, HDC dc, const MenuItemContents& c, int w, int h, bool selected,
                 const TSkinMenuItem& item) {
  UniqueGdi<HFONT> bold;
  HFONT font = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
  if (item.Default && font) {
    LOGFONTA lf{};
    GetObjectA(font, sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    bold.Reset(CreateFontIndirectA(&lf));
  }
  ScopedSelect boldSel(dc, bold.Get());
  SetTextColor(dc, ColorToRGB(MenuItemTextColour(data.Colours(), item.Enabled, selected)));
  RECT measured = ToRect(c.CaptionArea);
  ItemText(dc, MenuMeasureText(item.Caption), measured, MenuTextFlags(MenuTextUse::Measure, item.RightToLeft));
  TRectI placed = PlaceMenuCaption(c, TSizeI{measured.right - measured.left, measured.bottom - measured.top},
                                     item.RightToLeft, h);
  RECT caption = ToRect(placed);
  ItemText(dc, item.Caption, caption, MenuTextFlags(MenuTextUse::Caption, item.RightToLeft));
  if (!item.Shortcut.empty()) {
    RECT sc = ToRect(MenuShortcutRect(placed, w, item.RightToLeft));
    ItemText(dc, item.Shortcut, sc, MenuTextFlags(MenuTextUse::Shortcut, item.RightToLeft));
  }
}

// The glyph box, caption and shortcut of an item on its own w x h surface.
void DrawContents(const TSkinData& data, HDC dc, int w, int h, bool selected, const TSkinMenuItem& item) {
  std::optional<int> listWidth;
  if (item.Images) {
    int iw = 0, ih = 0;
    ImageList_GetIconSize(item.Images, &iw, &ih);
    listWidth = iw;
  }
  MenuItemContentsInput in;
  in.Width = w;
  in.Height = h;
  in.GlyphBox = MenuGlyphBoxSize(listWidth, item.Checked);
  in.LeftWidth = MenuItemLeftWidth(data.Skin());
  in.Separator = item.Separator();
  in.RightToLeft = item.RightToLeft;
  const MenuItemContents c = LayoutMenuItemContents(in);

  if (!item.Separator()) DrawGlyph(data, dc, ToRect(c.GlyphBox), item);
  SetBkMode(dc, TRANSPARENT);
  if (item.Separator()) {
    // Only without a MenuItem entry: an etched line 4 pixels below the item's top.
    RECT line = ToRect(MenuEtchedLineRect(TRectI{0, 0, w, h}));
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  DrawCaption(data, dc, c, w, h, selected, item);
}

}  // namespace

int SkinnedPopupItemWidth(const TSkinData& data, int measuredWidth, bool hasImageList) {
  return PopupMenuItemWidth(measuredWidth, hasImageList, MenuItemLeftWidth(data.Skin()));
}

HFONT SkinMenuFont() {
  static const UniqueGdi<HFONT> font = CreateMenuFont();
  return FontOrDefault(font.Get());
}

void DrawSkinnedMenuItem(const TSkinData& data, HDC dc, const RECT& r, bool selected, const TSkinMenuItem& item,
                         TMenuItemBackground background) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TOffscreen off;
  if (!off.Ensure(w, h)) return;
  HDC odc = off.DC();
  ScopedSelect font(odc, SkinMenuFont());
  const TSkinObjects& skin = data.Skin();
  const TDataSkinObject* entry = skin.MenuItem.get();
  const TSkinColours& colours = data.Colours();

  if (!entry || entry->Image.Empty()) {
    RECT all{0, 0, w, h};
    UniqueGdi<HBRUSH> fill(CreateSolidBrush(ColorToRGB(selected ? colours.Hilight : colours.Menu)));
    FillRect(odc, &all, fill.Get());
    DrawContents(data, odc, w, h, selected, item);
    off.CopyTo(dc, r.left, r.top, 0, 0, w, h);
    return;
  }

  // The popup window's background under the item, or the Menu colour.
  bool copied = false;
  if (background.Bitmap) {
    BITMAP bm{};
    if (GetObjectA(background.Bitmap, sizeof(bm), &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
      const UniqueDC src = CompatibleDC(dc);
      const ScopedSelect bitmapSel(src.Get(), background.Bitmap);
      const TRectI from = MenuBackgroundSource(ToRectI(r));
      BitBlt(odc, 0, 0, w, h, src.Get(), from.left, from.top, SRCCOPY);
      copied = true;
    }
  }
  if (!copied) {
    RECT all{0, 0, w, h};
    UniqueGdi<HBRUSH> fill(CreateSolidBrush(ColorToRGB(colours.Menu)));
    FillRect(odc, &all, fill.Get());
  }

  if (!item.Separator()) {
    // The picture goes over the background, magenta left transparent.
    TBitmap32 composed(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t rgb = off.PixelRGB(x, y);  // 0x00RRGGBB
        composed.At(x, y) = MakePixel(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                      static_cast<uint8_t>(rgb));
      }
    TNinePart part = NinePartOf(*entry, true);
    part.FrameCount = 5;
    RenderNinePart(composed, TRectI{0, 0, w, h}, part, MenuItemFrame(selected));
    off.Put(composed, 0, 0);
    DrawContents(data, odc, w, h, selected, item);
    off.CopyTo(dc, r.left, r.top, 0, 0, w, h);
    return;
  }

  // Separator: the background, then the separator picture with magenta transparent.
  TBitmap32 sep(w, h, kMagenta);
  for (const SkinBlit& b : MenuSeparatorBlits(entry->Image.Width, entry->Image.Height, entry->LeftWidth,
                                              entry->RightWidth, w, h)) {
    StretchCopy(sep, b.Dest, entry->Image, b.Source, false);
  }
  off.Put(sep, 0, 0, true);
  off.CopyTo(dc, r.left, r.top, 0, 0, w, h);
}

// ---------------------------------------------------------------------------------------------
// Framework and foreign menu items

TSkinMenuItem SkinMenuItemOf(const TMenuItem& item) {
  TSkinMenuItem mi;
  mi.Caption = item.Caption;
  mi.Shortcut = item.IsLine() ? std::string() : item.ShortCutText();
  mi.Enabled = item.Enabled;
  mi.Checked = item.Checked;
  mi.Default = item.Default;
  if (TMenu* menu = item.GetParentMenu()) mi.Images = menu->Images;
  mi.ImageIndex = item.ImageIndex;
  return mi;
}

TMenuItemBackground MenuItemBackgroundFor(HDC dc, HMENU menu) {
  TMenuItemBackground background;
  ISkinEngine* manager = ISkinEngine::Instance();
  if (!manager) return background;
  TPopupMenuSkin* popup = dc ? manager->FindPopup(WindowFromDC(dc)) : nullptr;
  if (!popup) popup = manager->FindPopupByMenu(menu);
  if (popup) background.Bitmap = popup->Background();
  return background;
}

void MeasureSkinnedMainMenuItem(const TSkinData& data, TMenuItem& item, HDC dc, int& width, int& height) {
  // The item's own handler is off for the framework's measuring and back afterwards, also
  // when the measuring throws.
  TMenuMeasureItemEvent own = std::move(item.OnMeasureItem);
  item.OnMeasureItem = nullptr;
  ScopeExit restore([&] { item.OnMeasureItem = std::move(own); });
  item.MeasureItem(dc, width, height);
  TMenu* menu = item.GetParentMenu();
  width = MainMenuItemWidth(width, menu && menu->Images, MenuItemLeftWidth(data.Skin()));
}

void WidenSkinnedPopupMenuItem(const TSkinData& data, const TMenuItem& item, int& width) {
  TMenu* menu = item.GetParentMenu();
  width = PopupMenuItemWidth(width, menu && menu->Images, MenuItemLeftWidth(data.Skin()));
}

void DrawSkinnedFrameworkItem(const TSkinData& data, const TMenuItem& item, HDC dc, const RECT& r, bool selected,
                              HMENU menu) {
  DrawSkinnedMenuItem(data, dc, r, selected, SkinMenuItemOf(item), MenuItemBackgroundFor(dc, menu));
}

bool DrawSkinnedForeignItem(const TSkinData& data, const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU) return false;
  HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
  if (!IsMenu(menu)) return false;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
  if (!GetMenuItemInfoA(menu, dis.itemID, FALSE, &info)) return false;
  char text[512] = {};
  GetMenuStringA(menu, dis.itemID, text, sizeof text, MF_BYCOMMAND);
  std::string caption = text;
  TSkinMenuItem mi;
  mi.MaySeparate = false;
  if (size_t tab = caption.find('\t'); tab != std::string::npos) {
    mi.Shortcut = caption.substr(tab + 1);
    caption.resize(tab);
  }
  mi.Caption = caption;
  mi.Enabled = (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) == 0 && !(info.fState & MFS_DISABLED);
  mi.Checked = (info.fState & MFS_CHECKED) != 0;
  mi.Default = (info.fState & MFS_DEFAULT) != 0;
  mi.RightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
  DrawSkinnedMenuItem(data, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0, mi,
                      MenuItemBackgroundFor(dis.hDC, menu));
  return true;
}

// ---------------------------------------------------------------------------------------------
// TSkinPopupMenuLink

TSkinPopupMenuLink::TSkinPopupMenuLink(TSkinData& data, TPopupMenu& menu, TForm* form)
    : TComponent(nullptr), data_(&data), menu_(&menu), form_(form) {
  ownerDrawBefore_ = menu.OwnerDraw;
  Link(*menu.Items());
  menu.OwnerDraw = true;
  linked_ = true;
  if (menu.HandleIfCreated()) menu.Rebuild();
}

TSkinPopupMenuLink::~TSkinPopupMenuLink() {
  try {
    Detach();
  } catch (...) {
  }
}

void TSkinPopupMenuLink::Link(TMenuItem& parent) {
  for (TMenuItem* item : parent.Items()) {
    if (!item->OnDrawItem) {
      items_.emplace_back(item, item->OnMeasureItem);
      TSkinData* data = data_;
      item->OnMeasureItem = [data](TMenuItem& sender, HDC, int& width, int&) {
        WidenSkinnedPopupMenuItem(*data, sender, width);
      };
      item->OnDrawItem = [data](TMenuItem& sender, HDC dc, const RECT& rect, bool selected) {
        DrawSkinnedFrameworkItem(*data, sender, dc, rect, selected);
      };
    }
    Link(*item);
  }
}

bool TSkinPopupMenuLink::MenuAlive() const {
  if (!form_) return true;
  for (TComponent* c : form_->Components())
    if (c == menu_) return true;
  return false;
}

void TSkinPopupMenuLink::Detach() {
  if (!linked_) return;
  linked_ = false;
  if (!MenuAlive()) return;  // freed before its form: nothing left to give back
  // Only items still in the menu are touched: one removed meanwhile is gone.
  std::vector<TMenuItem*> living;
  auto collect = [&](auto& self, const TMenuItem& parent) -> void {
    for (TMenuItem* item : parent.Items()) {
      living.push_back(item);
      self(self, *item);
    }
  };
  collect(collect, *menu_->Items());
  for (auto& [item, measure] : items_) {
    if (std::find(living.begin(), living.end(), item) == living.end()) continue;
    item->OnMeasureItem = std::move(measure);
    item->OnDrawItem = nullptr;
  }
  items_.clear();
  menu_->OwnerDraw = ownerDrawBefore_;
  if (menu_->HandleIfCreated()) menu_->Rebuild();
}

}  // namespace zelvo
