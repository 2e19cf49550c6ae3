// Menus: items with their captions, shortcuts, images and states, the menu components that build a
// system menu from them (a form's menu bar, popup menus), and the routing of menu messages back to
// the items. A skin that draws its own menu bar takes a window's menu off the window and gives it
// back later (TTakenMenu).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "framework/Menus_core.h"

namespace zelvo {

class TMenu;
class TMenuItem;

// Measure handler: width and height arrive as the framework measured them and may be changed.
using TMenuMeasureItemEvent = std::function<void(TMenuItem& sender, HDC dc, int& width, int& height)>;
// Draw handler: draws the whole item into `rect` of `dc`; `selected` is the highlighted state.
using TMenuDrawItemEvent = std::function<void(TMenuItem& sender, HDC dc, const RECT& rect, bool selected)>;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  const char* ClassName() const override { return "TMenuItem"; }

  // A caption of exactly "-" makes the item a separator. "&" marks the accelerator.
  std::string Caption;
  TShortCut ShortCut = 0;
  int ImageIndex = -1;  // into the menu's image list; -1 for none
  bool Checked = false;
  bool Enabled = true;
  bool Default = false;
  bool Visible = true;

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;

  // The command id the system reports for this item; unique in the process while the item lives.
  UINT Command() const { return command_; }
  bool IsLine() const { return Caption == "-"; }
  std::string ShortCutText() const { return ShortCutToText(ShortCut); }

  // Submenu items, in order. A new item is owned by this one.
  TMenuItem* Add(const std::string& caption = {});
  void Remove(TMenuItem* item);  // frees it
  const std::vector<TMenuItem*>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Parent() const { return parent_; }
  // The menu component this item belongs to (null for an item outside any menu).
  TMenu* GetParentMenu() const;
  // Whether this item shows an image: its menu has an image list and the index is inside it.
  bool HasImage() const;

  // Runs OnClick (through the application's exception dispatch when there is one).
  virtual void Click();
  // The framework's measuring: caption, shortcut text and glyph box in the menu font; then
  // OnMeasureItem when assigned.
  void MeasureItem(HDC dc, int& width, int& height);
  // OnDrawItem when assigned, else the framework's drawing of background, image or check mark,
  // caption and shortcut text.
  void DrawItem(HDC dc, const RECT& rect, bool selected);

  // The living item with this command id, or null.
  static TMenuItem* FromCommand(UINT command);

 private:
  friend class TMenu;
  void DefaultDraw(HDC dc, const RECT& rect, bool selected);
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu component
  std::vector<TMenuItem*> items_;
  UINT command_ = 0;
};

// Base of menu components: a tree of items below `Items()` and the system menu built from it.
class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  // The root item; its children are the menu's entries.
  TMenuItem* Items() const { return items_; }
  // Image list for the items' ImageIndex (not owned).
  HIMAGELIST Images = nullptr;
  // Owner-drawn items: the system asks the window for their size and drawing (WM_MEASUREITEM,
  // WM_DRAWITEM), which reach the items' handlers. Takes effect at the next Rebuild.
  bool OwnerDraw = false;
  // Whether the items `depth` levels below the root (0: the menu's own entries) are owner-drawn.
  virtual bool OwnerDrawnAt(int depth) const {
    (void)depth;
    return OwnerDraw;
  }

  // The system menu, built from the items on first use.
  HMENU Handle();
  HMENU HandleIfCreated() const { return handle_.Get(); }
  // Builds the system menu again from the items, keeping the same menu handle.
  virtual void Rebuild();
  // The item with this command id in this menu, or null.
  TMenuItem* FindCommand(UINT command) const;

  // A window shows this menu (as its menu bar); the menu comes off the window before either
  // is destroyed, so that the window does not destroy the menu's handle with itself.
  void AttachToWindow(HWND window);
  void DetachFromWindow();
  HWND AttachedWindow() const { return window_; }

 protected:
  virtual HMENU CreateHandle() const = 0;

 private:
  void Fill(HMENU menu, const TMenuItem& parent, int depth) const;
  TMenuItem* items_;
  UniqueMenu handle_;
  HWND window_ = nullptr;
};

// A form's menu bar.
class TMainMenu : public TMenu {
 public:
  using TMenu::TMenu;
  const char* ClassName() const override { return "TMainMenu"; }
  // Also redraws the bar of the window that shows the menu.
  void Rebuild() override;
  // With OwnerDraw the entries of the bar itself stay drawn by the system (or by a skin's own
  // menu bar) unless OwnerDrawBar is set too; the items of their submenus are owner-drawn.
  bool OwnerDrawBar = false;
  bool OwnerDrawnAt(int depth) const override { return OwnerDraw && (depth > 0 || OwnerDrawBar); }

 protected:
  HMENU CreateHandle() const override { return CreateMenu(); }
};

class TPopupMenu : public TMenu {
 public:
  using TMenu::TMenu;
  const char* ClassName() const override { return "TPopupMenu"; }
  TNotifyEvent OnPopup;
  // Shows the menu at a screen point and waits for the user's choice; the chosen item's OnClick
  // runs before this returns. Measure and draw messages go to the owning form's window (or to the
  // application's when the owner is not a control with a window).
  void Popup(int x, int y);
  // The window that receives the menu's messages while it is open.
  HWND MessageWindow() const;

 protected:
  HMENU CreateHandle() const override { return CreatePopupMenu(); }
};

// Menu messages arriving at a form's window: menu commands go to the item's OnClick, measure and
// draw requests of owner-drawn menu items to the item, a letter typed in an open menu to the item
// whose caption marks it, and on WM_DESTROY `windowMenu` (the form's menu bar, may be null) comes
// off the window. Returns true when the message was handled.
bool DispatchMenuMessage(TMenu* windowMenu, TMessage& m);

// A window's menu bar taken off the window, for a skin that draws the bar itself. While taken,
// the window shows no menu and this object owns the handle, unless the menu component attached
// to the window (TMenu::AttachToWindow) owns it (Component()). GiveBack, or the end of this object, puts the menu back on the
// window; when the window is gone by then, an owned handle is destroyed.
class TTakenMenu {
 public:
  TTakenMenu() = default;
  // Takes the window's menu; empty when the window has none.
  static TTakenMenu Take(HWND window);
  ~TTakenMenu() { GiveBack(); }
  TTakenMenu(TTakenMenu&& o) noexcept;
  TTakenMenu& operator=(TTakenMenu&& o) noexcept;
  TTakenMenu(const TTakenMenu&) = delete;
  TTakenMenu& operator=(const TTakenMenu&) = delete;

  HMENU Get() const { return menu_; }
  explicit operator bool() const { return menu_ != nullptr; }
  HWND Window() const { return window_; }
  TMenu* Component() const { return component_; }
  void GiveBack();

 private:
  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  UniqueMenu owned_;
  TMenu* component_ = nullptr;
};

}  // namespace zelvo
