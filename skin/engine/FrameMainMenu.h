// TFrameMainMenu: a skinned framework form's main menu. While the frame is skinned the menu's
// items are owner-drawn: measured by the main-menu rule and drawn by the skin. Owner-drawn items
// of menus the framework did not build are drawn as foreign items; the framework's own popup
// items and the skinned system menu's are left to their handlers.
#pragma once

#include <windows.h>

namespace zelvo {

class TForm;
class TMainMenu;
class TSkinData;
struct TMessage;

class TFrameMainMenu {
 public:
  explicit TFrameMainMenu(TSkinData& data) : data_(&data) {}
  TFrameMainMenu(const TFrameMainMenu&) = delete;
  TFrameMainMenu& operator=(const TFrameMainMenu&) = delete;

  // Makes the form's main menu owner-drawn (once) and refills it. The refilled menu's handle, or
  // nullptr when nothing was refilled: the refill replaces the submenus a skinned bar opens.
  HMENU OwnerDraw(TForm& form);
  // Gives the menu its owner-draw switch back and refills it, when the form still shows it.
  HMENU Restore(TForm& form);
  // Lets the menu go without touching it (its window is being destroyed).
  void Forget() { menu_ = nullptr; }

  // WM_MEASUREITEM and WM_DRAWITEM of the form: true (with the result set) when answered here.
  bool ItemMessage(TMessage& m, TForm* form) const;

 private:
  HMENU Refill();

  TSkinData* data_;
  TMainMenu* menu_ = nullptr;  // the form's main menu while owner-drawn by this object
  bool ownerDrawBefore_ = false;
};

}  // namespace zelvo
