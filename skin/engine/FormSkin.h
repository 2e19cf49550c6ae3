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
// An MDI frame's skin also subclasses the MDI client: after the client's MDI messages (and the
// scroll-range message it posts itself when a child was sized) it asks whether the active child
// is maximized, keeps the manager's MDI-maximized flag equal to the answer and repaints the frame,
// whose menu bar then shows the MDI buttons (minimize, restore, close the active child). A
// skinned MDI child tells its frame at once when its own system command maximized or restored it.
//
// The arithmetic (nine-part rendering, region rectangles, button placement and visibility, caption
// text placement, hit zones, client rectangle, message-box widening) is portable and lives in the
// core; this unit reads the window, calls the core and blits the result.
//
// Ownership: the manager owns every TFormSkin (it creates, lists, purges and frees them); the
// destructor tells the manager to forget the object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <optional>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "skin/render/FormSkin_core.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinMessages.h"

namespace zelvo {

class TForm;
class TMainMenu;
class TSkinManage;
class TSkinMenuBar;
class TFormSkin;

enum class TFormSkinState { New = 0, Active = 1, Refreshing = 3, Destroying = 4, Sizing = 5, Dead = 6 };

// The skinned system menu's popup and its item tags (glyph index = tag).
inline constexpr int32_t kSkinSystemMenuTag = 33333;
enum TSkinSystemMenuItem : int32_t {
  kSysItemRestore = 0,
  kSysItemMaximize = 1,
  kSysItemMinimize = 2,
  kSysItemClose = 3,
  kSysItemSeparator = 100,
};

// An off-screen drawing surface: a 32-bit top-down DIB section selected into a memory DC. The
// frame is composed here (portable bitmaps copied in, text drawn with GDI) and then copied to the
// window in one blit. Control skins draw through the same canvas.
class TOffscreen {
 public:
  TOffscreen() = default;
  ~TOffscreen();
  TOffscreen(const TOffscreen&) = delete;
  TOffscreen& operator=(const TOffscreen&) = delete;

  // Makes the surface at least width x height (never shrinks; sizes below 1 count as 1).
  // False when the platform refuses the bitmap.
  bool Ensure(int width, int height);
  HDC DC() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Copies a portable bitmap to (x, y), clipped to the surface. With `magentaKey` magenta pixels
  // are left as they are (transparent).
  void Put(const TBitmap32& bitmap, int x, int y, bool magentaKey = false);
  // The same for the part `source` (bitmap coordinates) of the bitmap, placed at (x, y).
  void Put(const TBitmap32& bitmap, const TRectI& source, int x, int y, bool magentaKey);
  // The pixel at (x, y) as 0x00RRGGBB (0 outside the surface); for checks.
  uint32_t PixelRGB(int x, int y) const;
  // Copies the rectangle (x, y, w, h) of the surface to `dc` at (dx, dy).
  void CopyTo(HDC dc, int dx, int dy, int x, int y, int w, int h) const;

 private:
  void Free();
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  uint32_t* bits_ = nullptr;  // 0x00RRGGBB, row 0 at the top
  int width_ = 0, height_ = 0;
};

// A clickable object on the frame: the caption buttons (the menu bar keeps its own buttons).
class TNCObject {
 public:
  enum : uint8_t { kNormal = 1, kPressed = 2, kHot = 3 };

  explicit TNCObject(TFormSkin& owner) : owner_(owner) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseMove();
  virtual void MouseLeave();
  // Draws the object onto the canvas holding the caption strip; `origin` is where window
  // coordinate (0, 0) lies on the canvas.
  virtual void Paint(TOffscreen& canvas, POINT origin) {
    (void)canvas;
    (void)origin;
  }

  TFormSkin& Owner() const { return owner_; }
  RECT Rect{};         // window coordinates
  bool Visible = false;
  uint8_t State = kNormal;

 protected:
  TFormSkin& owner_;
};

// One caption button, drawn from its skin entry.
class TCaptionButton : public TNCObject {
 public:
  TCaptionButton(TFormSkin& owner, const TDataSkinSysButton& skin) : TNCObject(owner), skin_(&skin) {}
  void MouseUp() override;
  void Paint(TOffscreen& canvas, POINT origin) override;
  const TDataSkinSysButton& Skin() const { return *skin_; }
  int32_t Action() const { return skin_->Action; }
  // The frame (1-based) the button shows now: pressed 2, hot 3 (4 for MDI buttons), normal 1;
  // an inactive window with four or more frames shows frame 4.
  int CurrentFrame() const;

 private:
  const TDataSkinSysButton* skin_;
};

// Align of the caption buttons that live in the menu bar (the MDI buttons).
inline constexpr int32_t kMenuBarButtonAlign = 100;

// Number of the hover timer on the window (WM_TIMER with this id belongs to the frame).
inline constexpr UINT_PTR kFrameHoverTimerId = 0x5F3D;
inline constexpr UINT kFrameHoverIntervalMs = 250;

class TFormSkin : public TComponent {
 public:
  // `form` is the framework form whose window `window` is, or nullptr for a foreign window.
  TFormSkin(TSkinManage& manager, HWND window, TSkinData& data, TForm* form);
  ~TFormSkin() override;
  const char* ClassName() const override { return "TFormSkin"; }

  // Attach as a framework form (auto-scroll off, message handler intercepted, colour set) or as a
  // foreign window (subclassed by handle). Either may run once.
  void AttachForm();
  void AttachWindow();
  // AttachForm for a framework form, else AttachWindow.
  void Attach();
  // Gives the window back as it was found: window procedure and handler restored, caption style,
  // menu and colour back, client size kept, region removed. The object may then be freed.
  void Detach();

  HWND Handle() const { return window_; }
  TSkinData& SkinData() const { return *data_; }
  bool Dead() const { return state_ == TFormSkinState::Dead; }
  TForm* Form() const { return form_; }
  TFormSkinState State() const { return state_; }

  // Frees the caption-button objects (before a new skin replaces the old one).
  void DropCaptionButtons();
  // Frame thickness from the skin and caption buttons rebuilt from it.
  void Layout();
  // Skin colours applied again to the form and its controls; frame resized and region rebuilt.
  void Recolor();

  // --- Read access for tests and for the control skins.
  const TFrameThickness& Thickness() const { return thickness_; }
  int MenuBarHeight() const { return menuBarHeight_; }
  TBorderKind BorderKind() const { return borderKind_; }
  TWindowKind WindowKind() const { return windowKind_; }
  TPlacement Placement() const { return placement_; }
  uint32_t ButtonFlags() const { return buttonFlags_; }
  bool IsActiveWindow() const { return active_; }
  bool SkinsFrame() const { return skinsFrame_; }  // xcMainMenu was in the set at attach
  const std::vector<std::unique_ptr<TCaptionButton>>& CaptionButtons() const { return buttons_; }
  TNCObject* HotObject() const { return hot_; }
  const std::string& CaptionText() const { return caption_; }
  const std::string& WindowClass() const { return className_; }
  HMENU SystemMenuPopup() const { return sysMenu_.Get(); }
  // The skinned menu bar that took the window's menu over, or nullptr.
  TSkinMenuBar* MenuBar() const { return menuBar_.get(); }

  // The shared off-screen canvas (frame composition; control skins draw through it too).
  TOffscreen& Canvas() { return canvas_; }
  // Control skins attached to the window's children; their owner adds and removes them here.
  std::vector<std::unique_ptr<TComponent>>& ControlSkins() { return controlSkins_; }
  // Draws the menu glyph for a skinned system-menu item (glyph index = item tag).
  bool DrawMenuGlyph(HDC dc, int x, int y, int tag, bool enabled) const;

  // Repaints the frame now (what SKIN_REPAINTFRAME does); `clip` (screen coordinates) limits it.
  void PaintFrame(HRGN clip = nullptr);
  // Draws the whole frame into `dc` at window coordinates (WM_PRINT with PRF_NONCLIENT).
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
  HWND MdiClient() const { return mdiClient_; }
  bool MdiChildMaximized() const { return mdiChildMaximized_; }
  // Asks the MDI client whether its active child is maximized; on a change sets the manager's
  // MDI-maximized flag and repaints the frame (the menu bar shows the MDI buttons only then).
  // True when the answer changed.
  bool SyncMdiMaximized();

 private:
  friend class TCaptionButton;
  friend class TNCObject;
  struct Hooks;  // window-procedure subclass, form-handler hook token

  LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT FrameMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  void FormMessage(TMessage& m, const TNext& next);

  void ReadWindow();
  void StripCaption();
  void RestoreCaption();
  void HandleInit();
  void ResizeToFrame(bool firstSizing);
  void WidenForCaption();
  void BuildRegion(bool force);
  // Whether the window gets a region at all in its present kind and placement.
  bool RegionApplies() const;
  // Shapes the window for a size it is about to take, without a redraw: the size change that
  // follows repaints and uncovers what the new shape needs. Not for MDI children or a window
  // that is not normally placed (their region follows the size change as before).
  void ShapeAhead(SIZE size);
  void SetRegion(SIZE size, bool redraw);
  void RemoveRegion();
  void BuildSystemMenu();
  void UpdateSystemMenu();
  bool MeasureMenuItem(MEASUREITEMSTRUCT& mis);
  bool DrawMenuItem(const DRAWITEMSTRUCT& dis);
  // The form's main-menu items: owner-drawn while skinned, measured and drawn by the skin.
  void OwnerDrawMainMenu();
  void RestoreMainMenu();
  void RebuildMainMenu();
  bool MainMenuItemMessage(TMessage& m);
  // Lays the frame out for the window's present size (or `forSize`) and state; updates the
  // caption buttons.
  TFrameInput FrameInput(std::optional<SIZE> forSize = std::nullopt);
  TFrameLayout CurrentLayout(TFrameInput& in);
  void RenderToCanvas(int width, int height);
  // The composition buffer at this size, every pixel `fill`: kept between compositions while the
  // size stays (a fresh allocation of the whole window's pixels each time costs more).
  TBitmap32& Composition(int width, int height, TPixel fill);
  void PaintCaptionText(HDC dc, const TFrameLayout& layout);
  bool FramePaintable() const;
  TNCObject* ObjectAt(POINT window) const;
  void SetHot(TNCObject* object);
  void StartHoverTimer();
  void StopHoverTimer();
  void OnHoverTimer();
  LRESULT OnNcDestroy(WPARAM wp, LPARAM lp);
  LRESULT MdiClientMessage(HWND client, UINT msg, WPARAM wp, LPARAM lp);
  void SubclassMdiClient();
  void ReleaseMdiClient();
  // An MDI child was maximized, restored or minimized: its frame's skin re-reads the MDI state,
  // and the child keeps its system caption exactly while it is maximized under the flag.
  void MdiChildSized(bool maximized);
  POINT ScreenToWindow(LPARAM lp) const;
  RECT ClientInWindow() const;
  void AttachControlSkins();
  void DetachControlSkins();
  HFONT CaptionFont();
  void LoadIconBitmap();
  void PostSysCommand(WPARAM command);
  bool Flag(TSkinControlType type) const { return data_->SkinControls().Contains(type); }

  TSkinManage* manager_;
  HWND window_;
  TSkinData* data_;
  TForm* form_;
  std::unique_ptr<Hooks> hooks_;
  TFormSkinState state_ = TFormSkinState::New;
  bool attached_ = false;
  bool skinsFrame_ = false;

  DWORD style_ = 0, exStyle_ = 0;  // as found at attach time
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
  HWND mdiClient_ = nullptr;
  bool mdiChildMaximized_ = false;
  bool mdiSyncing_ = false;
  uint32_t buttonFlags_ = 0;  // buttons::k* flags
  bool active_ = false;
  bool firstSizing_ = true;
  UniqueTimer hoverTimer_;
  bool menuShowing_ = false;

  std::vector<std::unique_ptr<TCaptionButton>> buttons_;
  TNCObject* hot_ = nullptr;
  TNCObject* pressed_ = nullptr;
  std::optional<int32_t> rightmostButtonLeft_;  // from the previous paint (popup caption rule)

  HRGN region_ = nullptr;  // set on the window (the system holds it while set)
  SIZE regionSize_{-1, -1};
  bool shapingAhead_ = false;  // ShapeAhead is setting the region
  TBitmap32 iconBitmap_;
  GdiObject<HFONT> captionFont_;
  GdiObject<HFONT> menuFont_;
  UniqueMenu sysMenu_;
  // The form's main menu while this skin makes its items owner-drawn, and its switch before.
  TMainMenu* ownerDrawnMenu_ = nullptr;
  bool menuOwnerDrawBefore_ = false;
  UINT doubleClickTime_ = 500;
  DWORD lastSysMenuClick_ = 0;
  bool sysMenuClicked_ = false;
  TOffscreen canvas_;
  TBitmap32 composed_;  // see Composition
  // The caption text's extent in the caption font, measured for measuredCaption_.
  bool captionMeasured_ = false;
  std::string measuredCaption_;
  int32_t captionTextWidth_ = 0, captionTextHeight_ = 0;
  // Holds the window's menu while the frame is skinned; given back on detach.
  std::unique_ptr<TSkinMenuBar> menuBar_;
  RECT menuBarRect_{};  // where the buttons were last laid out (window coordinates)
  std::vector<std::unique_ptr<TComponent>> controlSkins_;
};

}  // namespace zelvo
