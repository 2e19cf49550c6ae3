// TSkinMenuBar: the skinned menu bar of one top-level window, drawn under the caption strip.
//
// For the form skin: this is the whole interface you call.
//   - TakeOver(window) when attaching: keeps the window's menu, builds one TMenuBtn per top-level
//     item and removes the menu from the window (so the system draws no bar); GiveBack() when
//     detaching puts the very same menu back.
//   - Rebuild(menu) when the framework reports a menu change and MenuUpdate is True.
//   - Layout(bar) with the bar rectangle in window coordinates, after every size change.
//   - Paint(dc, bar, active) draws the background and the buttons into any DC (the window DC or
//     your off-screen canvas) with the bar at `bar`.
//   - HitTest(point) → the visible button under a window-coordinate point, or nullptr.
//   - MouseMove(button) / MouseLeave() for hot tracking; MouseDown(button) opens the button's
//     submenu (tracked with the WH_MSGFILTER switching) or posts its command; it returns after
//     the menu has closed.
//   - FindAccelerator(ch) → the button whose caption has "&ch".
//   - KeyboardMode() for F10 or a bare Alt, OpenAccelerator(ch) for Alt+letter: the bar takes
//     the keyboard as the system's menu bar does (a highlighted button; Left/Right move with
//     wrap-around, Down, Up or Enter open, a letter opens its button, Esc, Alt, F10 or a click
//     elsewhere leave; Esc in an open submenu comes back to the bar). They return when the
//     keyboard is given back.
// Buttons keep the state values of the frame's clickable objects (1 normal, 2 pressed, 3 hot).
// The arithmetic (button places, background) is the portable menu-bar layout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/Menus.h"
#include "skin/engine/SkinData.h"

namespace zelvo {

class ISkinEngine;

class TMenuBtn {
 public:
  enum : uint8_t { kNormal = 1, kPressed = 2, kHot = 3 };
  static constexpr size_t kMaxCaption = 80;

  std::string Caption;  // as in the menu, with its "&" accelerator mark
  bool Enabled = true;
  HMENU SubMenu = nullptr;
  UINT CommandId = 0;
  int Index = 0;
  RECT Rect{};  // window coordinates
  bool Visible = false;
  uint8_t State = kNormal;
  // The accelerator character (lower case), or 0.
  char Accelerator() const;
};

class TSkinMenuBar {
 public:
  TSkinMenuBar(ISkinEngine& engine, HWND window, TSkinData& data);
  ~TSkinMenuBar();
  TSkinMenuBar(const TSkinMenuBar&) = delete;
  TSkinMenuBar& operator=(const TSkinMenuBar&) = delete;

  // Takes the window's menu over (false when it has none).
  bool TakeOver();
  // Puts the saved menu back on the window (a framework form's menu component takes it back
  // the framework's way). The bar gives it back when it ends, too; when the window is gone by
  // then a menu nobody else owns is destroyed.
  void GiveBack();
  void Rebuild(HMENU menu);
  HMENU Menu() const { return menu_; }

  void Layout(const RECT& bar);
  void Paint(HDC dc, const RECT& bar, bool active);
  TMenuBtn* HitTest(POINT window);
  TMenuBtn* FindAccelerator(char ch);
  void MouseMove(TMenuBtn* button);
  void MouseLeave();
  void MouseDown(TMenuBtn* button);
  // Keyboard mode with the first visible button highlighted.
  void KeyboardMode();
  // Alt+letter: the button with that accelerator opens in keyboard mode (a button without a
  // submenu runs its command). False, with nothing done, when no button has it.
  bool OpenAccelerator(char ch);

  const std::vector<TMenuBtn>& Buttons() const { return buttons_; }
  // A submenu is open or the bar has the keyboard.
  bool Tracking() const { return tracking_ || keyboard_; }

 private:
  // What a message does to keyboard mode.
  enum class TKeyStep { Stay, Open, Leave, Dispatch };

  static LRESULT CALLBACK FilterProc(int code, WPARAM wp, LPARAM lp);
  bool OnFilter(const MSG& msg);
  // Tracks the button's submenu and those the user switches to; true when the last one was
  // closed with Escape (the bar keeps the keyboard then).
  bool Track(size_t index);
  // The next visible button after (or before) `from`, wrapping around; with `withSubmenu` only
  // enabled buttons with a submenu count.
  size_t Neighbour(size_t from, int step, bool withSubmenu) const;
  void SwitchTo(size_t index);
  // Left and Right swapped for a right-to-left window.
  WPARAM VisualKey(WPARAM key) const;
  void RunKeyboardMode(size_t index, bool openAtOnce);
  TKeyStep KeyboardStep(MSG& msg, size_t& index);
  // A button chosen in keyboard mode: Open for an enabled submenu, else its command is posted.
  TKeyStep Choose(size_t index);
  void Highlight(size_t index);
  // Window coordinates of a captured mouse message.
  POINT MousePoint(const MSG& msg) const;

  ISkinEngine* engine_;
  HWND window_;
  TSkinData* data_;
  HMENU menu_ = nullptr;
  TTakenMenu taken_;
  std::vector<TMenuBtn> buttons_;
  RECT bar_{};
  // While a submenu is tracked.
  bool tracking_ = false;
  size_t current_ = 0;
  size_t switchTo_ = SIZE_MAX;
  bool firstFiltered_ = false;
  bool escaped_ = false;
  UniqueHook filter_;
  // While the bar has the keyboard.
  bool keyboard_ = false;
  // False once this object is gone: the modal loops dispatch messages that may free it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zelvo
