// Control skins of the controls that move a value along a bar: the window scroll bars of memos
// and lists, scroll-bar controls, progress bars, up-down buttons and size grips.
//
// Scroll bars are composed off-screen at a fixed thickness and stretched onto the bar; the thumb
// can be dragged by the skin itself (a local message loop that follows the mouse and sends the
// control SB_THUMBTRACK positions). The thumb arithmetic is in skin/render/ControlSkins_core.h.
#pragma once

#include <windows.h>

#include "skin/engine/ControlSkins.h"

namespace zelvo {

// One bar as it is drawn: its rectangle and the scroll information it shows.
struct TScrollBarView {
  bool Horizontal = false;
  RECT Rect{};  // window coordinates (TSkinScrollbar) or client coordinates (TSkinScControl)
  ScrollInfo Info;
  ScrollBarParts Parts;
  bool Enabled = true;
};

// The window scroll bars of a control (memos, rich edits, lists, grids).
class TSkinScrollbar : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinScrollbar"; }
  void Attach(TSkinHost* formSkin, TSkinData& data, TWinControl& control, bool recolour) override;
  void AttachHandle(HWND window, TSkinData& data, TSkinHost* formSkin) override;
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;

  void SetThumbDragging(bool on) { thumbDragging_ = on; }
  bool ThumbDragging() const { return thumbDragging_; }
  bool Dragging() const { return dragging_; }
  // The bar as the skin draws it now; nothing when the control does not show that bar.
  std::optional<TScrollBarView> Bar(bool horizontal) const;

 protected:
  // Follows the mouse until the button is released, capture is lost, the window or this object
  // is destroyed, or the application quits. `bar`: SB_HORZ, SB_VERT or SB_CTL; `barScreen`: the
  // bar in screen coordinates; `down`: where the button went down (screen).
  void DragThumb(int bar, const TScrollBarView& view, const RECT& barScreen, POINT down);
  // Moves the control to `pos` while the thumb is dragged: by default the bar's position is set
  // and the control gets SB_THUMBTRACK with it.
  virtual void TrackThumb(int bar, int pos);
  // Where WM_HSCROLL/WM_VSCROLL go and the lParam they carry.
  virtual HWND NotifyTarget() const { return handle_; }
  virtual LPARAM NotifyLParam() const { return 0; }
  // Draws one bar onto `dc` (coordinates of the view's rectangle).
  void DrawBar(HDC dc, const TScrollBarView& view);
  // WM_NCPAINT: the control paints its frame around the bars, then the skin draws the bars.
  // False when the skin draws no bars here (the message then goes on as usual).
  bool PaintFrameAroundBars(TMessage& m);

  bool thumbDragging_ = false;
  bool dragging_ = false;
  bool dragHorizontal_ = false;
  int lastCode_ = -1;  // the last scroll code seen (held arrows are drawn pressed)
  bool lastHorizontal_ = false;
};

// Scroll-bar controls ("SCROLLBAR" windows that are not size grips): the whole control is the bar.
class TSkinScControl : public TSkinScrollbar {
 public:
  const char* ClassName() const override { return "TSkinScControl"; }
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  std::optional<TScrollBarView> ControlBar() const;

 protected:
  HWND NotifyTarget() const override { return GetParent(handle_); }
  LPARAM NotifyLParam() const override { return reinterpret_cast<LPARAM>(handle_); }
};

// Progress bars: drawn entirely by the skin from the Progress entry.
class TSkinProgress : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinProgress"; }
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;

 protected:
  // The Progress entry's Style: 0 a filled frame, 1 chunks.
  virtual int Style() const;
};

// Up-down buttons: both arrow buttons from UpDown.Vert or UpDown.Horz with their glyphs.
class TSkinUpDown : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinUpDown"; }
  bool BeforeMessage(TMessage& m) override;
  void AfterMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
  // The button held down: 0 none, 1 the first (up or left), 2 the second.
  int HeldButton() const { return held_; }
  int HotButton() const { return hot_; }

 private:
  bool Horizontal() const;
  int ButtonAt(LPARAM clientPoint) const;
  int held_ = 0;
  int hot_ = 0;
};

// Size grips of foreign windows: ButtonFace with diagonal ButtonShadow grip lines.
class TSkinSizer : public TSkinControl {
 public:
  const char* ClassName() const override { return "TSkinSizer"; }
  bool BeforeMessage(TMessage& m) override;
  void DrawControl(HDC dc, const RECT& r) override;
};

}  // namespace zelvo
