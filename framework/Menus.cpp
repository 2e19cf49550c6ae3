#include "framework/Menus.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "framework/CallbackGuard.h"
#include "util/Exceptions.h"
#include "util/Util.h"

namespace zelvo {

namespace {

// Command ids of living items. Menu commands arrive as a 16-bit id; the range stays clear of the
// small ids dialogs use (IDOK, IDCANCEL, ...) and of the system's own commands (F000 and up).
constexpr UINT kFirstCommand = 0x1000;
constexpr UINT kLastCommand = 0xEFFF;

std::unordered_map<UINT, TMenuItem*>& Commands() {
  static std::unordered_map<UINT, TMenuItem*> commands;
  return commands;
}

UINT AllocateCommand(TMenuItem* item) {
  static UINT next = kFirstCommand;
  auto& commands = Commands();
  if (commands.size() > kLastCommand - kFirstCommand) throw Exception("Too many menu items");
  while (commands.count(next)) next = next == kLastCommand ? kFirstCommand : next + 1;
  const UINT id = next;
  commands.emplace(id, item);
  next = next == kLastCommand ? kFirstCommand : next + 1;
  return id;
}

// The menu component shown by each window (AttachToWindow), for TTakenMenu.
std::unordered_map<HWND, TMenu*>& AttachedMenus() {
  static std::unordered_map<HWND, TMenu*> menus;
  return menus;
}

SIZE TextSize(HDC dc, const std::string& text) {
  RECT r{0, 0, 0, 0};
  if (!text.empty()) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  }
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// Glyph box: 16 pixels, or the image list's glyph width when it is wider.
int GlyphBoxWidth(HIMAGELIST images) {
  int cx = 0, cy = 0;
  if (images && ImageList_GetIconSize(images, &cx, &cy)) return std::max(cx, 16);
  return 16;
}

constexpr int kSeparatorHeight = 8;
constexpr int kShortCutGap = 16;  // between the caption and the shortcut text
constexpr int kRightMargin = 11;

}  // namespace

// ---- TMenuItem ----------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand(this)) {}

TMenuItem::~TMenuItem() { Commands().erase(command_); }

TMenuItem* TMenuItem::FromCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::Add(const std::string& caption) {
  auto* item = Create<TMenuItem>();
  item->Caption = caption;
  item->parent_ = this;
  items_.push_back(item);
  return item;
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  DestroyComponent(item);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

bool TMenuItem::HasImage() const {
  TMenu* menu = GetParentMenu();
  return menu && menu->Images && ImageIndex >= 0 && ImageIndex < ImageList_GetImageCount(menu->Images);
}

void TMenuItem::Click() {
  if (!OnClick) return;
  TNotifyEvent handler = OnClick;  // the handler may reassign OnClick or rebuild the menu
  try {
    handler(*this);
  } catch (...) {
    if (!ExceptionSink()) throw;
    HandleCurrentException();
  }
}

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
  TMenu* menu = GetParentMenu();
  if (IsLine()) {
    width = 0;
    height = kSeparatorHeight;
  } else {
    const SIZE caption = TextSize(dc, Caption);
    const std::string shortCut = ShortCutText();
    const int glyph = GlyphBoxWidth(menu ? menu->Images : nullptr);
    width = 1 + glyph + 3 + caption.cx + kRightMargin;
    if (!shortCut.empty()) width += kShortCutGap + TextSize(dc, shortCut).cx;
    height = std::max<int>({GetSystemMetrics(SM_CYMENU), static_cast<int>(caption.cy) + 4, glyph + 2});
  }
  if (OnMeasureItem) {
    TMenuMeasureItemEvent handler = OnMeasureItem;
    handler(*this, dc, width, height);
  }
}

void TMenuItem::DrawItem(HDC dc, const RECT& rect, bool selected) {
  if (OnDrawItem) {
    TMenuDrawItemEvent handler = OnDrawItem;
    handler(*this, dc, rect, selected);
  } else {
    DefaultDraw(dc, rect, selected);
  }
}

void TMenuItem::DefaultDraw(HDC dc, const RECT& rect, bool selected) {
  SavedDC saved(dc);
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    RECT line = rect;
    line.top = (rect.top + rect.bottom) / 2 - 1;
    line.bottom = line.top + 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TMenu* menu = GetParentMenu();
  const int glyph = GlyphBoxWidth(menu ? menu->Images : nullptr);
  const int height = rect.bottom - rect.top;
  RECT box{rect.left + 1, rect.top + (height - glyph) / 2, rect.left + 1 + glyph, rect.top + (height - glyph) / 2 + glyph};
  if (HasImage()) {
    ImageList_Draw(menu->Images, ImageIndex, dc, box.left, box.top, Enabled ? ILD_TRANSPARENT : ILD_BLEND50);
  } else if (Checked) {
    DrawFrameControl(dc, &box, DFC_MENU, DFCS_MENUCHECK);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!Enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  UniqueGdi<HFONT> font;
  if (Default) {
    LOGFONTA lf{};
    if (GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf)) {
      lf.lfWeight = FW_BOLD;
      font.Reset(CreateFontIndirectA(&lf));
    }
  }
  ScopedSelect selectFont(dc, font.Get());
  RECT text{box.right + 3, rect.top, rect.right - 1, rect.bottom};
  DrawTextA(dc, Caption.c_str(), static_cast<int>(Caption.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  const std::string shortCut = ShortCutText();
  if (!shortCut.empty()) {
    RECT right{box.right + 3, rect.top, rect.right - kRightMargin, rect.bottom};
    DrawTextA(dc, shortCut.c_str(), static_cast<int>(shortCut.size()), &right, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  }
}

// ---- TMenu --------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(Create<TMenuItem>()) { items_->menu_ = this; }

TMenu::~TMenu() {
  if (window_ && !IsWindow(window_)) {
    // The window was destroyed with the menu on it and took the handle along.
    (void)handle_.Release();
  }
  DetachFromWindow();
}

HMENU TMenu::Handle() {
  if (!handle_) {
    handle_.Reset(CreateHandle());
    if (!handle_) throw Exception("Cannot create a menu");
    Fill(handle_.Get(), *items_, 0);
  }
  return handle_.Get();
}

void TMenu::Rebuild() {
  if (!handle_) {
    Handle();
    return;
  }
  // Deleting an entry also destroys its submenu.
  while (GetMenuItemCount(handle_.Get()) > 0) DeleteMenu(handle_.Get(), 0, MF_BYPOSITION);
  Fill(handle_.Get(), *items_, 0);
}

void TMenu::Fill(HMENU menu, const TMenuItem& parent, int depth) const {
  for (const TMenuItem* item : parent.Items()) {
    if (!item->Visible) continue;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.wID = item->Command();
    info.dwItemData = item->Command();  // an id, not a pointer: a stale entry finds nothing
    std::string text;
    if (item->IsLine()) {
      info.fType = MFT_SEPARATOR;
    } else {
      text = item->Caption;
      if (!item->ShortCutText().empty()) text += "\t" + item->ShortCutText();
      info.fMask |= MIIM_STRING;
      info.dwTypeData = text.data();
    }
    if (OwnerDrawnAt(depth)) info.fType |= MFT_OWNERDRAW;
    if (item->Checked) info.fState |= MFS_CHECKED;
    if (!item->Enabled) info.fState |= MFS_DISABLED;
    if (item->Default) info.fState |= MFS_DEFAULT;
    UniqueMenu submenu;
    if (item->Count() > 0) {
      submenu.Reset(CreatePopupMenu());
      if (!submenu) throw Exception("Cannot create a menu");
      Fill(submenu.Get(), *item, depth + 1);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = submenu.Get();
    }
    if (!InsertMenuItemA(menu, GetMenuItemCount(menu), TRUE, &info)) throw Exception("Cannot add a menu item");
    (void)submenu.Release();  // the parent menu destroys it from now on
  }
}

TMenuItem* TMenu::FindCommand(UINT command) const {
  TMenuItem* item = TMenuItem::FromCommand(command);
  return item && item->GetParentMenu() == this ? item : nullptr;
}

void TMenu::AttachToWindow(HWND window) {
  if (window_ && window_ != window) DetachFromWindow();
  SetMenu(window, Handle());
  window_ = window;
  AttachedMenus()[window] = this;
}

void TMenu::DetachFromWindow() {
  if (!window_) return;
  if (IsWindow(window_) && handle_ && GetMenu(window_) == handle_.Get()) SetMenu(window_, nullptr);
  auto& attached = AttachedMenus();
  if (auto it = attached.find(window_); it != attached.end() && it->second == this) attached.erase(it);
  window_ = nullptr;
}

void TMainMenu::Rebuild() {
  TMenu::Rebuild();
  if (AttachedWindow() && GetMenu(AttachedWindow()) == HandleIfCreated()) DrawMenuBar(AttachedWindow());
}

HWND TPopupMenu::MessageWindow() const {
  for (TComponent* c = Owner(); c; c = c->Owner()) {
    if (auto* control = dynamic_cast<TWinControl*>(c)) {
      if (TWinControl* form = control->ParentFormControl(); form && form->HandleAllocated()) {
        return form->HandleIfCreated();
      }
      if (control->HandleAllocated()) return control->HandleIfCreated();
    }
  }
  return ApplicationHost() ? ApplicationHost()->Handle() : nullptr;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) {
    TNotifyEvent handler = OnPopup;
    handler(*this);
  }
  Rebuild();
  HWND window = MessageWindow();
  if (!window) throw Exception("A popup menu needs a window to report to");
  // The choice comes back as the return value, so the item runs even when the message window
  // does not route menu commands (the application's window).
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, window, nullptr));
  if (TMenuItem* item = command ? FindCommand(command) : nullptr) item->Click();
}

// ---- Message routing ----------------------------------------------------------------------------

bool DispatchMenuMessage(TMenu* windowMenu, TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      // A menu command: no control window and notification code 0.
      if (m.LParam == 0 && HIWORD(m.WParam) == 0) {
        if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(m.WParam))) {
          item->Click();
          m.Result = 0;
          return true;
        }
      }
      return false;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (m.WParam != 0 || !mis || mis->CtlType != ODT_MENU) return false;
      TMenuItem* item = TMenuItem::FromCommand(static_cast<UINT>(mis->itemData));
      if (!item) return false;
      UniqueGdi<HFONT> font = CreateMenuFont();
      TTextMeasure screen(font.Get());
      int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
      item->MeasureItem(screen.DC(), width, height);
      mis->itemWidth = static_cast<UINT>(std::max(width, 0));
      mis->itemHeight = static_cast<UINT>(std::max(height, 0));
      m.Result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (m.WParam != 0 || !dis || dis->CtlType != ODT_MENU) return false;
      TMenuItem* item = TMenuItem::FromCommand(static_cast<UINT>(dis->itemData));
      if (!item) return false;
      item->DrawItem(dis->hDC, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
      m.Result = TRUE;
      return true;
    }
    case WM_MENUCHAR: {
      // A letter typed in an open menu that the system matched to no item: owner-drawn items
      // keep their captions with the framework, so the item that letter marks is found here.
      const auto menu = reinterpret_cast<HMENU>(m.LParam);
      const int key = std::toupper(LOWORD(m.WParam) & 0xFF);
      const int count = menu ? GetMenuItemCount(menu) : 0;
      for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const TMenuItem* item = TMenuItem::FromCommand(static_cast<UINT>(info.dwItemData));
        const auto mark = static_cast<unsigned char>(item ? AcceleratorChar(item->Caption) : 0);
        if (mark != 0 && std::toupper(mark) == key) {
          m.Result = MAKELRESULT(i, MNC_EXECUTE);
          return true;
        }
      }
      return false;
    }
    case WM_DESTROY:
      if (windowMenu) windowMenu->DetachFromWindow();
      return false;
    default:
      return false;
  }
}

// ---- TTakenMenu ---------------------------------------------------------------------------------

TTakenMenu TTakenMenu::Take(HWND window) {
  TTakenMenu taken;
  HMENU menu = window ? GetMenu(window) : nullptr;
  if (!menu) return taken;
  taken.window_ = window;
  taken.menu_ = menu;
  const auto attached = AttachedMenus().find(window);
  if (attached != AttachedMenus().end() && attached->second->HandleIfCreated() == menu) {
    taken.component_ = attached->second;
    taken.component_->DetachFromWindow();
  } else {
    SetMenu(window, nullptr);
    taken.owned_.Reset(menu);
  }
  return taken;
}

TTakenMenu::TTakenMenu(TTakenMenu&& o) noexcept
    : window_(std::exchange(o.window_, nullptr)),
      menu_(std::exchange(o.menu_, nullptr)),
      owned_(std::move(o.owned_)),
      component_(std::exchange(o.component_, nullptr)) {}

TTakenMenu& TTakenMenu::operator=(TTakenMenu&& o) noexcept {
  if (this != &o) {
    GiveBack();
    window_ = std::exchange(o.window_, nullptr);
    menu_ = std::exchange(o.menu_, nullptr);
    owned_ = std::move(o.owned_);
    component_ = std::exchange(o.component_, nullptr);
  }
  return *this;
}

void TTakenMenu::GiveBack() {
  if (!menu_) return;
  if (IsWindow(window_)) {
    if (component_) {
      component_->AttachToWindow(window_);
    } else {
      SetMenu(window_, menu_);
      (void)owned_.Release();  // the window owns it again
    }
  }
  owned_.Reset();  // window gone: nobody else will destroy it
  window_ = nullptr;
  menu_ = nullptr;
  component_ = nullptr;
}

}  // namespace zelvo
