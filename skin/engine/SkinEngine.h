// ISkinEngine: the skin manager as the engine's per-window parts see it (the frames, their menu
// bars, the skinned popup-menu windows and the menu-item drawing): the state the thread's skinned
// windows share, and the skinned popup menus to look up.
//
// The parts depend on this face and never on the manager itself, which sits above them: it
// creates the frames (through a factory) and owns every part it made. One manager lives at a
// time; it registers itself here while it exists.
#pragma once

#include <windows.h>

namespace zelvo {

class TComponent;
class TPopupMenuSkin;

class ISkinEngine {
 public:
  // The engine of this process, or nullptr (hook, timer and window callbacks find it here).
  static ISkinEngine* Instance();

  ISkinEngine(const ISkinEngine&) = delete;
  ISkinEngine& operator=(const ISkinEngine&) = delete;

  // Whether windows are skinned now (skinned popup menus draw natively while not).
  virtual bool SkinningEnabled() const = 0;
  // A skinned menu bar has a popup open: popups made meanwhile belong to it, and the frames
  // leave their hover alone.
  virtual bool MenuTracking() const = 0;
  virtual void SetMenuTracking(bool value) = 0;
  // The MDI client of the skinned MDI frame, and whether its active child is maximized (the
  // frame's menu bar then shows the child's buttons; a skinned child keeps its system caption).
  virtual HWND MdiClient() const = 0;
  virtual void SetMdiClient(HWND client) = 0;
  virtual bool MdiMaximized() const = 0;
  virtual void SetMdiMaximized(bool value) = 0;
  // The skinned popup-menu window with this handle, or the one showing this menu; nullptr when
  // there is none.
  virtual TPopupMenuSkin* FindPopup(HWND window) const = 0;
  virtual TPopupMenuSkin* FindPopupByMenu(HMENU menu) const = 0;
  // A frame being destroyed by someone else: the engine forgets it without freeing it. Matched
  // by identity, never by handle.
  virtual void RemoveSkinForm(const TComponent& formSkin) = 0;

 protected:
  ISkinEngine();
  virtual ~ISkinEngine();
};

}  // namespace zelvo
