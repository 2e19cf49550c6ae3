// TFormSkin: the skinned frame of one top-level window.
//
// The skin manager creates one TFormSkin per window it skins and posts SKIN_INIT to it. The object
// subclasses the window (for a framework form it also puts itself in front of the form's message
// handler), strips the caption style so the system draws no caption, and answers the non-client
// messages itself: frame thickness, the shaped window region, the off-screen frame paint, caption
// text and caption buttons, the menu bar that takes the window's menu over (TSkinMenuBar), hit
// testing, the client rectangle, the mouse on the frame and the skinned system menu. Detach gives
// the window back exactly as it was found, its menu included.
//
// The object keeps the attach/detach life cycle and the message dispatch; each concern lives in
// a part of its own: the region (TFrameRegion), the system menu (TFrameSystemMenu), the MDI
// client (TFrameMdiLink), the form's main menu (TFrameMainMenu), the caption buttons and text
// (TCaptionButtons, TCaptionText) and the off-screen canvas (TOffscreen). A skinned MDI child
// tells its frame at once when its own system command maximized or restored it.
//
// The arithmetic (nine-part rendering, region rectangles, button placement and visibility, caption
// text placement, hit zones, client rectangle, message-box widening) is portable and lives in the
// core; this unit reads the window, calls the core and blits the result.
//
// Ownership: the manager owns every TFormSkin (it creates, lists, purges and frees them); the
// destructor tells the manager to forget the object.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "skin/engine/FrameCaption.h"
#include "skin/engine/FrameMainMenu.h"
#include "skin/engine/FrameMdiLink.h"
#include "skin/engine/FrameRegion.h"
#include "skin/engine/FrameReveal.h"
#include "skin/engine/FrameSystemMenu.h"
#include "skin/engine/Offscreen.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinHost.h"
#include "skin/engine/SkinMessages.h"
#include "skin/render/FormSkin_core.h"

namespace zelvo {

class ISkinEngine;
class TForm;
class TSkinMenuBar;

// Number of the hover timer on the window (WM_TIMER with this id belongs to the frame).
inline constexpr UINT_PTR kFrameHoverTimerId = 0x5F3D;
inline constexpr UINT kFrameHoverIntervalMs = 250;

class TFormSkin : public TSkinHost, private ICaptionHost {
 public:
  // `form` is the framework form whose window `window` is, or nullptr for a foreign window.
  TFormSkin(ISkinEngine& engine, HWND window, TSkinData& data, TForm* form);
  ~TFormSkin() override;
  const char* ClassName() const override { return "TFormSkin"; }

  // Attach as a framework form (auto-scroll off, message handler intercepted, colour set) or as a
  // foreign window (subclassed by handle). Either may run once.
  void AttachForm();
  void AttachWindow();
  // AttachForm for a framework form, else AttachWindow.
  void Attach();
  // Attached while hidden, the window is about to be shown by `showing`: the frame is set up now
  // (caption style stripped at attach, the size the frame needs written into `showing`, the shape
  // set ahead), so that the window appears finished, and where the platform needs it the window
  // stays off the screen until its first paint is complete.
  void PrepareShow(WINDOWPOS& showing);
  // Gives the window back as it was found: window procedure and handler restored, caption style,
  // menu and colour back, client size kept, region removed. The object may then be freed.
  void Detach();

  // TSkinHost: what the control skins see.
  HWND Handle() const override { return window_; }
  TSkinData& SkinData() const override { return *data_; }
  TForm* Form() const override { return form_; }
  TFormSkinState State() const override { return state_; }
  std::vector<std::unique_ptr<TComponent>>& ControlSkins() override { return controlSkins_; }
  bool Dead() const { return state_ == TFormSkinState::Dead; }

  // Frees the caption-button objects (before a new skin replaces the old one).
  void DropCaptionButtons();
  // Frame thickness from the skin and caption buttons rebuilt from it.
  void Layout();
  // Skin colours applied again to the form and its controls; frame resized and region rebuilt.
  void Recolor();

  // --- Read access for tests.
  const TFrameThickness& Thickness() const { return thickness_; }
  int MenuBarHeight() const { return menuBarHeight_; }
  TBorderKind BorderKind() const { return borderKind_; }
  TWindowKind WindowKind() const { return windowKind_; }
  TPlacement Placement() const { return placement_; }
  uint32_t ButtonFlags() const { return buttonFlags_; }
  bool IsActiveWindow() const override { return active_; }
  bool SkinsFrame() const { return skinsFrame_; }  // xcMainMenu was in the set at attach
  const std::vector<std::unique_ptr<TCaptionButton>>& CaptionButtons() const { return buttons_.All(); }
  TNCObject* HotObject() const { return buttons_.Hot(); }
  const std::string& CaptionText() const { return caption_; }
  const std::string& WindowClass() const { return className_; }
  HMENU SystemMenuPopup() const { return sysMenu_.Popup(); }
  // The skinned menu bar that took the window's menu over, or nullptr.
  TSkinMenuBar* MenuBar() const { return menuBar_.get(); }
  // The off-screen canvas the frame is composed on.
  TOffscreen& Canvas() { return canvas_; }
  // Draws the menu glyph for a skinned system-menu item (glyph index = item tag).
  bool DrawMenuGlyph(HDC dc, int x, int y, int tag, bool enabled) const;

  // Repaints the frame now (what SKIN_REPAINTFRAME does); `clip` (screen coordinates) limits it.
  // A paint that fails ends quietly and holds nothing: the next paint tries again.
  void PaintFrame(HRGN clip = nullptr);
  // Draws the whole frame into `dc` at window coordinates (WM_PRINT with PRF_NONCLIENT); the
  // DC's state is as it was afterwards.
  void PaintFrameTo(HDC dc);
  // The region rectangles the frame asks for at the window's present size, or at `size` when
  // given (window coordinates).
  std::vector<TRectI> RegionRects(std::optional<SIZE> size = std::nullopt);
  // Shows the system menu at a screen point (the caption icon's click), following the
  // double-click rule: a second click within the double-click time closes the window.
  void ShowSystemMenu(POINT screen, bool doubleClickCloses = true);
  // Runs a caption-button action.
  void DoAction(int32_t action);

  // MDI frames: the MDI client this skin subclasses (nullptr for other windows or once it is gone),
  // and whether its active child was maximized when last asked.
  HWND MdiClient() const { return mdi_.Client(); }
  bool MdiChildMaximized() const { return mdi_.ChildMaximized(); }
  // Asks the MDI client whether its active child is maximized; on a change sets the manager's
  // MDI-maximized flag and repaints the frame (the menu bar shows the MDI buttons only then).
  // True when the answer changed.
  bool SyncMdiMaximized() { return mdi_.Sync(); }

 private:
  // A handler's answer: a result, or nothing when the message goes on to the window's own
  // procedure.
  using TAnswer = std::optional<LRESULT>;

  // ICaptionHost
  void RepaintFrame() override { PaintFrame(); }
  void RunAction(int32_t action) override { DoAction(action); }
  const TBitmap32* CaptionIcon() const override { return iconBitmap_.Empty() ? nullptr : &iconBitmap_; }

  // Attaching and giving back.
  void ReadWindow();
  void ReadCaption();
  void StripCaption();
  void RestoreCaption();
  void HandleInit();
  // The hidden window is about to be shown by `showing` (see PrepareShow).
  void BeforeShow(WINDOWPOS& showing);
  // The set-up after attach (what SKIN_INIT runs): size, shape, state Active, frame painted. With
  // `showing` the window is hidden and that position change is about to show it: the size goes
  // into it and the shape is set ahead; nothing is painted before the window is visible.
  void SetUp(WINDOWPOS* showing);
  // The window size at which the client keeps its size under the skinned frame: on first sizing
  // the client it had under the system frame when attached (or that `showing` gives it), later
  // the one it has now.
  SIZE SkinnedSize(bool firstSizing, const WINDOWPOS* showing) const;
  // Gives the window that size now, or in `showing` when given.
  void Resize(SIZE size, WINDOWPOS* showing);
  // Has the frame measured again: now, or by `showing` when given.
  void FrameChanged(WINDOWPOS* showing);
  void ResizeToFrame(bool firstSizing);
  // The width a message box needs for its caption at this size (at least its width); its
  // children are moved right by half of the growth.
  int WidenForCaption(SIZE size);
  // Puts the window's size, frame and style back as they were (Detach of a live window).
  void GiveSizeBack();
  void AttachControlSkins();
  void DetachControlSkins();
  void MainMenuRefilled(HMENU menu);

  // The region, when one applies to the window in its present kind and placement.
  bool RegionApplies() const;
  void BuildRegion(bool force);
  // Shapes the window for a size it is about to take; not for MDI children or a window that is
  // not normally placed (their region follows the size change as before).
  void ShapeAhead(SIZE size);

  // Composition and painting.
  // Lays the frame out for the window's present size (or `forSize`) and state.
  TFrameInput FrameInput(std::optional<SIZE> forSize = std::nullopt);
  // The layout for `in`, with the caption buttons placed by it.
  TFrameLayout CurrentLayout(TFrameInput& in);
  // Composes the frame of a window of this size: the top strip on the canvas with the caption
  // text and the menu bar drawn over it, the other sides in their strips.
  void RenderToCanvas(int width, int height);
  // Composes the frame and copies it into `dc` (window coordinates) around the client area,
  // within `clip` (screen coordinates, nullptr: everywhere); the DC's state is restored after.
  void DrawFrame(HDC dc, const RECT& window, HRGN clip);
  bool FramePaintable() const;
  RECT ClientInWindow() const;
  POINT ScreenToWindow(LPARAM lp) const;

  // Hover, actions and the MDI child's side.
  void StartHoverTimer();
  void StopHoverTimer();
  void OnHoverTimer();
  void PostSysCommand(WPARAM command);
  // Closes the window (a close button or a double click on the icon).
  void CloseWindow();
  // The MDI client says the active child's maximized state changed.
  void MdiStateChanged();
  // An MDI child was maximized, restored or minimized: its frame's skin re-reads the MDI state,
  // and the child keeps its system caption exactly while it is maximized under the flag.
  void MdiChildSized(bool maximized);
  bool Flag(TSkinControlType type) const { return data_->SkinControls().Contains(type); }

  // Message dispatch: the window's subclass, the form's handler chain, and the frame's messages.
  LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp);
  void FormMessage(TMessage& m, const TNext& next);
  // Messages answered whether the frame is skinned or not.
  TAnswer SkinMessage(UINT msg, WPARAM wp, LPARAM lp);
  TAnswer FrameMessage(UINT msg, WPARAM wp, LPARAM lp);

  // The handlers.
  LRESULT OnNcDestroy(WPARAM wp, LPARAM lp);
  void OnRepaintFrame();
  void OnCaptionChanged();
  TAnswer OnEraseBackground(HDC dc);
  TAnswer OnCtlColor(UINT msg, WPARAM wp, LPARAM lp);
  void OnStyleChanged(WPARAM which, const STYLESTRUCT& styles);
  LRESULT OnSize(WPARAM kind, LPARAM lp);
  LRESULT OnGetMinMaxInfo(WPARAM wp, MINMAXINFO* info);
  LRESULT OnWindowPosChanging(WPARAM wp, WINDOWPOS* pos);
  LRESULT OnWindowPosChanged(WPARAM wp, LPARAM lp);
  TAnswer OnSetText(WPARAM wp, LPARAM lp);
  TAnswer OnNcActivate(bool active);
  TAnswer OnNcPaint(HRGN update);
  LRESULT OnPaint(WPARAM wp, LPARAM lp);
  TAnswer OnPrint(HDC dc, LPARAM what);
  TAnswer OnTimer(UINT_PTR id);
  LRESULT OnNcHitTest(WPARAM wp, LPARAM screen);
  TAnswer OnNcCalcSize(bool validRects, LPARAM lp);
  TAnswer OnNcMouseMove(POINT window);
  TAnswer OnNcLButtonDown(UINT msg, WPARAM hit, LPARAM screen);
  TAnswer OnNcLButtonUp(POINT window);
  TAnswer OnNcRButtonDown(WPARAM hit, LPARAM screen);
  TAnswer OnCommand(WPARAM wp, LPARAM lp);
  TAnswer OnSysCommand(WPARAM wp, LPARAM lp);
  // F10, a bare Alt, Alt+letter and Alt+Space on the skinned frame.
  TAnswer OnKeyMenu(LPARAM key);
  // The skinned system menu's items (menu requests only: wParam 0).
  TAnswer OnMeasureItem(WPARAM wp, MEASUREITEMSTRUCT* mis);
  TAnswer OnDrawItem(WPARAM wp, const DRAWITEMSTRUCT* dis);

  ISkinEngine* engine_;
  HWND window_;
  TSkinData* data_;
  TForm* form_;
  TWindowSubclass subclass_;
  THookToken formHook_;
  TFormSkinState state_ = TFormSkinState::New;
  bool attached_ = false;
  bool skinsFrame_ = false;

  // The window as found at attach time.
  DWORD style_ = 0, exStyle_ = 0;
  std::string caption_;
  std::string className_;
  HWND ownerWindow_ = nullptr;
  TColor savedColour_ = 0;
  bool colourSaved_ = false;
  RECT clientAtAttach_{};
  SIZE systemFrame_{0, 0};  // window size minus client size under the system frame

  TFrameThickness thickness_;
  int menuBarHeight_ = 0;
  TBorderKind borderKind_ = TBorderKind::Single;
  TWindowKind windowKind_ = TWindowKind::Other;
  TPlacement placement_ = TPlacement::Normal;
  uint32_t buttonFlags_ = 0;  // buttons::k* flags
  bool active_ = false;
  std::optional<bool> paintedActive_;  // the active look of the frame painted last
  bool firstSizing_ = true;
  UniqueTimer hoverTimer_;
  std::optional<int32_t> rightmostButtonLeft_;  // from the previous paint (popup caption rule)
  TBitmap32 iconBitmap_;

  TCaptionText captionText_;
  TCaptionButtons buttons_;
  TFrameRegion region_;
  TFrameReveal reveal_;
  TFrameSystemMenu sysMenu_;
  TFrameMdiLink mdi_;
  TFrameMainMenu mainMenu_;
  // The frame's sides around the client area, composed each on its own (a bitmap of the whole
  // window would cost the whole window's pixels at a first paint): the top strip (the full width
  // above the client area, caption and menu bar; the whole window when the client area is not
  // inside it), which goes onto the canvas (rows 0 on), then the bottom, left and right strips,
  // which go to the window as they are. A strip's bitmap is kept while its size stays.
  struct TFrameStrip {
    TRectI Rect;  // window coordinates
    TBitmap32 Pixels;
  };
  std::array<TFrameStrip, 4> strips_;
  std::vector<uint32_t> stripScratch_;  // see DrawBitmap
  TOffscreen canvas_;
  // Holds the window's menu while the frame is skinned; given back on detach.
  std::unique_ptr<TSkinMenuBar> menuBar_;
  RECT menuBarRect_{};  // where the buttons were last laid out (window coordinates)
  std::vector<std::unique_ptr<TComponent>> controlSkins_;
};

}  // namespace zelvo
