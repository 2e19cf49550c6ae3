// TFormSkin: the skinned frame of one top-level window.
//
// The skin manager creates one TFormSkin per window it skins and posts SKIN_INIT to it. The object
// subclasses the window (for a framework form it also puts itself in front of the form's message
// handler), strips the caption style so the system draws no caption, and answers the non-client
// messages itself: frame thickness, the shaped window region, the off-screen frame paint, caption
// text and caption buttons, hit testing, the client rectangle, the mouse on the frame and the
// skinned system menu. Detach gives the window back exactly as it was found.
//
// The arithmetic (nine-part rendering, region rectangles, button placement and visibility, caption
// text placement, hit zones, client rectangle, message-box widening) is portable and lives in the
// core; this unit reads the window, calls the core and blits the result.
//
// Ownership: the manager owns every TFormSkin (it creates, lists, purges and frees them). The
// object never removes itself from the manager's list; the manager takes it out before freeing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "skin/SkinData.h"

#if __has_include("skin/SkinMessages.h")
#include "skin/SkinMessages.h"
#else
namespace zelvo {
// The skin engine's private window messages (fixed numbers).
inline constexpr UINT SKIN_QUERY = 0x3504;
inline constexpr UINT SKIN_INIT = 0x3503;
inline constexpr UINT SKIN_REPAINTFRAME = 0x3502;
inline constexpr UINT SKIN_RECOLOR = 0x3401;
}  // namespace zelvo
#endif

namespace zelvo {

class TForm;
class TSkinManage;
class TFormSkin;

enum class TFormSkinState { New = 0, Active = 1, Refreshing = 3, Destroying = 4, Sizing = 5, Dead = 6 };

// Placement as the frame sees it.
enum class TFramePlacement : uint8_t { Normal = 0, Maximized = 1, Minimized = 2 };

// Border kind, from the style found at attach time.
enum class TFrameBorderKind : uint8_t { Sizeable = 0, Other = 1, CaptionlessPopup = 2, DialogFrame = 3 };

// Window kind: MDI frame (has an "MDIClient" child), MDI child, or anything else.
enum class TFrameWindowKind : uint8_t { Other = 0, MdiFrame = 1, MdiChild = 2 };

// Available-buttons flags.
enum TFrameButtonFlag : uint8_t {
  kFrameHasMaximize = 1,
  kFrameHasMinimize = 2,
  kFrameHasSysMenu = 8,
  kFrameCaptionStripped = 16,
};

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

// A clickable object on the frame: caption buttons now, menu-bar buttons later.
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
  // Gives the window back as it was found: window procedure and handler restored, caption style,
  // menu and colour back, client size kept, region removed. The object may then be freed.
  void Detach();

  HWND Handle() const { return window_; }
  TSkinData& SkinData() const { return *data_; }
  TForm* Form() const { return form_; }
  TFormSkinState State() const { return state_; }

  // Frees the caption-button objects (before a new skin replaces the old one).
  void DropCaptionButtons();
  // Frame thickness from the skin and caption buttons rebuilt from it.
  void Layout();
  // Skin colours applied again to the form and its controls; frame resized and region rebuilt.
  void Recolor();

  // --- Read access for tests and for the control skins.
  struct TThickness {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
  };
  const TThickness& Thickness() const { return thickness_; }
  int MenuBarHeight() const { return menuBarHeight_; }
  TFrameBorderKind BorderKind() const { return borderKind_; }
  TFrameWindowKind WindowKind() const { return windowKind_; }
  TFramePlacement Placement() const { return placement_; }
  uint8_t ButtonFlags() const { return buttonFlags_; }
  bool IsActiveWindow() const { return active_; }
  bool SkinsFrame() const { return skinsFrame_; }  // xcMainMenu was in the set at attach
  const std::vector<std::unique_ptr<TCaptionButton>>& CaptionButtons() const { return buttons_; }
  TNCObject* HotObject() const { return hot_; }
  const std::string& CaptionText() const { return caption_; }
  const std::string& WindowClass() const { return className_; }
  HMENU SystemMenuPopup() const { return sysMenu_; }

  // The shared off-screen canvas (frame composition; control skins draw through it too).
  TOffscreen& Canvas() { return canvas_; }
  // Control skins attached to the window's children; their owner adds and removes them here.
  std::vector<std::unique_ptr<TComponent>>& ControlSkins() { return controlSkins_; }
  // Draws the menu glyph for a skinned system-menu item (glyph index = item tag).
  bool DrawMenuGlyph(HDC dc, int x, int y, int tag, bool enabled) const;

  // Repaints the frame now (what SKIN_REPAINTFRAME does).
  void PaintFrame(HRGN clip = nullptr);
  // Shows the system menu at a screen point (the caption icon's click), following the
  // double-click rule: a second click within the double-click time closes the window.
  void ShowSystemMenu(POINT screen);
  // Runs a caption-button action.
  void DoAction(int32_t action);

 private:
  friend class TCaptionButton;
  friend class TNCObject;
  struct Hooks;  // window-procedure subclass, form-handler hook token, timer

  // Message handling. Returns true when the message was answered (result in `result`).
  bool BeforeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp);
  void FormMessage(TMessage& m);

  void ReadWindow();
  void StripCaption();
  void RestoreCaption();
  void HandleInit();
  void ResizeToFrame(bool firstSizing);
  void WidenMessageBox();
  void BuildRegion(bool force);
  void RemoveRegion();
  void BuildSystemMenu();
  void UpdateSystemMenu();
  void ComposeCaption(TOffscreen& canvas, int width);
  void PaintCaptionText(TOffscreen& canvas, int stripWidth);
  void PlaceButtons(int windowWidth, int textLeft, int textRight);
  TNCObject* ObjectAt(POINT window) const;
  void SetHot(TNCObject* object);
  void StartHoverTimer();
  void StopHoverTimer();
  void OnHoverTimer();
  void OnNcDestroy();
  POINT ScreenToWindow(POINT screen) const;
  void AttachControlSkins();
  void DetachControlSkins();
  void MakeFormMenuOwnerDrawn(bool on);
  HFONT CaptionFont();
  void LoadIconBitmap();
  void PostSysCommand(WPARAM command);

  TSkinManage* manager_;
  HWND window_;
  TSkinData* data_;
  TForm* form_;
  std::unique_ptr<Hooks> hooks_;
  TFormSkinState state_ = TFormSkinState::New;
  bool attached_ = false;
  bool skinsFrame_ = false;

  DWORD style_ = 0, exStyle_ = 0;
  std::string caption_;
  std::string className_;
  HWND ownerWindow_ = nullptr;
  TColor savedColour_ = 0;
  bool colourSaved_ = false;
  bool savedAutoScroll_ = false;
  RECT clientAtAttach_{};

  TThickness thickness_;
  int menuBarHeight_ = 0;
  TFrameBorderKind borderKind_ = TFrameBorderKind::Other;
  TFrameWindowKind windowKind_ = TFrameWindowKind::Other;
  TFramePlacement placement_ = TFramePlacement::Normal;
  uint8_t buttonFlags_ = 0;
  bool active_ = false;
  bool firstSizing_ = true;

  std::vector<std::unique_ptr<TCaptionButton>> buttons_;
  TNCObject* hot_ = nullptr;
  TNCObject* pressed_ = nullptr;
  int rightmostRightButton_ = -1;  // from the previous paint (popup caption text rule)

  HRGN region_ = nullptr;  // owned while set on the window
  SIZE regionSize_{-1, -1};
  TBitmap32 iconBitmap_;
  GdiObject<HFONT> captionFont_;
  HMENU sysMenu_ = nullptr;  // owned
  UINT doubleClickTime_ = 500;
  DWORD lastSysMenuClick_ = 0;
  bool sysMenuClicked_ = false;
  TOffscreen canvas_;
  std::vector<std::unique_ptr<TComponent>> controlSkins_;
};

}  // namespace zelvo
