// TPopupMenuSkin: a subclassed popup-menu window ("#32768"). It answers SKIN_QUERY and draws a
// 3-pixel border cut from the skin's MenuBackground entry rendered to the whole window size.
// Menu-item drawing finds it by menu handle (ISkinEngine::FindPopupByMenu) to draw items over the
// same background. The skin manager makes one for each popup-menu window it sees created and
// frees it when the window is destroyed.
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "framework/Subclass.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinEngine.h"

namespace zelvo {

class TPopupMenuSkin {
 public:
  // Subclasses the window; throws when it cannot be subclassed.
  TPopupMenuSkin(ISkinEngine& engine, HWND window, TSkinData& data);
  ~TPopupMenuSkin();
  TPopupMenuSkin(const TPopupMenuSkin&) = delete;
  TPopupMenuSkin& operator=(const TPopupMenuSkin&) = delete;

  HWND Handle() const { return window_; }
  TSkinData& SkinData() const { return *data_; }
  // The menu the window shows (asked of the window; nullptr once it is gone).
  HMENU Menu() const;
  // Opened from a skinned menu bar while it was tracking.
  bool BelongsToMenuBar() const { return belongsToMenuBar_; }
  void SetBelongsToMenuBar(bool value) { belongsToMenuBar_ = value; }
  // The MenuBackground entry rendered to the window's current size (made on demand, kept while
  // the size stays); nullptr without a MenuBackground image. Window coordinates.
  HBITMAP Background();
  // Where the client area's origin lies in the background bitmap.
  POINT ClientOrigin() const;
  // Whether the window procedure is still replaced.
  bool Subclassed() const { return subclass_.Attached(); }
  // Restores the window procedure (safe to repeat; other subclasses of the window stay).
  void Unsubclass();
  // The skin changed while the menu is open: the background is rendered anew and the whole
  // window repainted.
  void SkinChanged();

 private:
  LRESULT WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  // Copies the 3-pixel border of the rendered background into dc (window coordinates).
  bool PaintBorder(HDC dc);

  ISkinEngine* engine_;
  HWND window_;
  TSkinData* data_;
  TWindowSubclass subclass_;
  bool belongsToMenuBar_ = false;
  UniqueGdi<HBITMAP> background_;
  SIZE backgroundSize_{0, 0};
};

}  // namespace zelvo
