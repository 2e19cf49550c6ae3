// The arithmetic of a skinned window frame, with no platform calls: frame thickness, border and
// window kinds, caption-style stripping, caption text and caption-button placement and
// visibility, hit testing, the client rectangle, the sizing rules, the menu-bar layout, and the
// composition of the whole frame onto a portable bitmap with its window region. The Windows form
// skin measures text, reads styles and placement, then calls these and only blits the result and
// draws the caption text; the skin preview tool draws the same frame from the same code.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "skin/file/Bmp.h"
#include "skin/render/NinePart.h"
#include "skin/file/SkinObjects.h"

namespace zelvo {

// The few window style bits the frame rules read (the platform's values).
namespace wstyle {
inline constexpr uint32_t kPopup = 0x80000000u;
inline constexpr uint32_t kChild = 0x40000000u;
inline constexpr uint32_t kMinimize = 0x20000000u;
inline constexpr uint32_t kMaximize = 0x01000000u;
inline constexpr uint32_t kCaption = 0x00C00000u;  // border + dialog frame
inline constexpr uint32_t kSysMenu = 0x00080000u;
inline constexpr uint32_t kThickFrame = 0x00040000u;
inline constexpr uint32_t kMinimizeBox = 0x00020000u;
inline constexpr uint32_t kMaximizeBox = 0x00010000u;
inline constexpr uint32_t kModalFrame = 0x00000080u;  // dialog modal frame
// Extended styles.
inline constexpr uint32_t kExMdiChild = 0x00000040u;
inline constexpr uint32_t kExLeftScrollBar = 0x00004000u;  // right-to-left reading windows
}  // namespace wstyle

// Hit-test answers (the platform's values).
namespace hittest {
inline constexpr int32_t kNowhere = 0;
inline constexpr int32_t kClient = 1;
inline constexpr int32_t kCaption = 2;
inline constexpr int32_t kSysMenu = 3;
inline constexpr int32_t kMenu = 5;
}  // namespace hittest

// Frame thickness of a skinned window.
struct TFrameThickness {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const TFrameThickness&) const = default;
};

enum class TBorderKind : int32_t {
  Sizeable = 0,           // WS_THICKFRAME
  Single = 1,             // anything else
  CaptionlessPopup = 2,   // WS_POPUP without both caption bits: no skinned frame at all
  DialogFrame = 3,        // modal dialog frame
};
TBorderKind BorderKindOf(uint32_t style);

enum class TWindowKind : int32_t { Other = 0, MdiFrame = 1, MdiChild = 2 };
TWindowKind WindowKindOf(bool hasMdiClientChild, uint32_t exStyle);

enum class TPlacement : int32_t { Normal = 0, Maximized = 1, Minimized = 2 };

// Thickest a frame side is drawn at 96 dpi (scaled with the skin's DPI). A bitmap may be
// thousands of pixels across: a window sized around such a frame would need more memory to
// compose than any screen shows, and every caption button is drawn over the whole caption strip
// at each paint.
inline constexpr int32_t kMaxFrameThickness = 256;
int32_t MaxFrameThickness(int32_t dpi);

// Left/Right thickness = image width / FrameCount, Top/Bottom = image height / FrameCount, at
// most MaxFrameThickness(skin.Dpi); a side without an image is 0; a captionless popup has all
// four 0. FrameCount below 1 counts as 1.
TFrameThickness FrameThicknessOf(const TSkinObjects& skin, TBorderKind border);

// Available-buttons flags.
namespace buttons {
inline constexpr uint32_t kMaximize = 1;
inline constexpr uint32_t kMinimize = 2;
inline constexpr uint32_t kSystemMenu = 8;
inline constexpr uint32_t kCaptionStripped = 16;  // the caption bits were removed; restore them
}  // namespace buttons
uint32_t AvailableButtonsOf(uint32_t style, bool hasSystemMenuHandle);

// Stripping the caption: an owned window loses WS_SYSMENU and the two boxes; an unowned one loses
// the caption bits and kCaptionStripped is added to the flags.
struct TStrippedStyle {
  uint32_t Style = 0;
  uint32_t Flags = 0;
};
TStrippedStyle StripCaptionStyle(uint32_t style, uint32_t flags, bool owned);
// Sets WS_SYSMENU, the boxes and the caption bits again as the flags record.
uint32_t RestoreCaptionStyle(uint32_t style, uint32_t flags);

// ---- Caption text ---------------------------------------------------------------------------

struct TCaptionTextInput {
  int32_t WindowWidth = 0;   // the caption strip spans the window: x = 0 .. WindowWidth
  int32_t StripHeight = 0;   // top thickness
  int32_t TextWidth = 0;     // measured width of "  " + caption + " " in the caption font
  int32_t TextHeight = 0;    // measured height of one line in the caption font
  bool RightToLeft = false;  // WS_EX_LEFTSCROLLBAR: always right-aligned
  bool Popup = false;        // WS_POPUP
  // Popup windows: left edge of the right-aligned (Align 1) caption button furthest right, as
  // placed in the previous paint; none when there was none.
  std::optional<int32_t> RightmostButtonLeft;
  int32_t Dpi = kDesignDpi;  // of the window: the gap before that button scales with it
};

struct TCaptionTextLayout {
  TRectI Box;      // text plus the TextBack margins; the TextBack plate is drawn over it
  TRectI TextRect; // Box narrowed by TXTBackleft and TXTBackRight: where the text is drawn
  bool RightAligned = false;  // draw the text right-aligned (right-to-left windows)
};
// Box is one text line high, vertically centred in the strip plus half of TextShiftVert.
TCaptionTextLayout PlaceCaptionText(const TDataSkinTitle& title, const TCaptionTextInput& in);

// Draws the TextBack plate over layout.Box (frame 1 active, 2 inactive, stacked; left and right
// fixed widths TXTBackleft / TXTBackRight). Nothing without a TextBack image.
void RenderTextBack(TBitmap32& target, const TDataSkinTitle& title, const TCaptionTextLayout& layout,
                    bool active);

// ---- Caption buttons ------------------------------------------------------------------------

// What the visibility rules need to know about the window.
struct TButtonWindowFacts {
  bool Maximized = false;
  bool Active = true;
  bool HasSystemMenu = false;
  bool HasMaximizeBox = false;
  bool HasMinimizeBox = false;
  bool DialogFrame = false;  // border kind 3
  // An MDI frame whose active child is maximized, with a skinned menu bar.
  bool MdiMaximizedChildWithMenuBar = false;
};
bool CaptionButtonVisible(const TDataSkinSysButton& button, const TButtonWindowFacts& facts);

// The image a button draws from: its own, or the window icon for Action 3 and 11 buttons whose
// image is empty (one frame).
struct TButtonImage {
  const TBitmap32* Image = nullptr;
  int32_t FrameCount = 1;
};
TButtonImage CaptionButtonImage(const TDataSkinSysButton& button, const TBitmap32* windowIcon);
TSizeI CaptionButtonSize(const TButtonImage& image);

struct TButtonPlaceInput {
  int32_t WindowWidth = 0;
  TFrameThickness Thickness;
  TRectI Text;                   // the caption text box (Align 2/8 and 3/9 are placed beside it)
  TRectI MenuBar;                // window coordinates; Align 100 buttons are centred in it
  int32_t MenuBarLeftWidth = 0;  // the menu-bar entry's LeftWidth (0 without the entry)
  bool RightToLeft = false;
};
// Window coordinates of the button's rectangle.
TRectI PlaceCaptionButton(const TDataSkinSysButton& button, TSizeI size, const TButtonPlaceInput& in);

enum class TButtonState : int32_t { Normal = 1, Pressed = 2, Hot = 3 };
// The 1-based frame a caption button shows; clamped to its frame count.
int32_t CaptionButtonFrame(const TDataSkinSysButton& button, int32_t frameCount, TButtonState state,
                           bool windowActive);

// ---- Hit testing, client area, sizing -------------------------------------------------------

// previousAnswer is what the window's own procedure answered; only "nowhere" is converted.
// clientPoint is the point in client coordinates. In frame coordinates rows 0..3 stay "nowhere"
// (y > 3 is caption; at another DPI the 3 rows are scaled), rows from the top height down are
// the menu bar.
int32_t SkinHitTest(int32_t previousAnswer, TPointI clientPoint, const TFrameThickness& thickness,
                    int32_t menuBarHeight, bool minimized, int32_t dpi = kDesignDpi);

// The client rectangle for a window rectangle (both in the same coordinates), never inverted.
TRectI SkinClientRect(const TRectI& window, const TFrameThickness& thickness, int32_t menuBarHeight);

// Outer size that keeps `client` under the skinned frame.
TSizeI SkinnedWindowSize(TSizeI client, const TFrameThickness& thickness, int32_t menuBarHeight);
// A framework form's client height on its first sizing, when the system frame is still there.
int32_t FirstSizingClientHeight(int32_t windowHeight, int32_t menuHeight, int32_t cyFrame,
                                int32_t cyCaption);
// Outer size after detaching: current − skin frame − menu bar + the system frame's total size.
TSizeI DetachedWindowSize(TSizeI current, const TFrameThickness& thickness, int32_t menuBarHeight,
                          TSizeI systemFrame);

// Message boxes and the program's message dialogs grow when the caption would not fit.
struct TMessageBoxWidening {
  int32_t Width = 0;       // new outer width (unchanged when it fits)
  int32_t ChildShift = 0;  // how far to move every child to the right
};
TMessageBoxWidening WidenMessageBox(int32_t windowWidth, int32_t captionLength, int32_t blankWidth,
                                    const TFrameThickness& thickness, const TDataSkinTitle& title);

// ---- Menu bar and menus ---------------------------------------------------------------------

struct TMenuBarInput {
  int32_t BarWidth = 0;
  int32_t BarHeight = 0;
  const TDataSkinObject* Entry = nullptr;  // the skin's menu-bar entry, null when absent
  bool RightToLeft = false;
  std::vector<int32_t> TextWidths;  // one per top-level item, in menu order
  int32_t Dpi = kDesignDpi;         // of the window: the margins below scale with it
};
struct TMenuButtonPlace {
  TRectI Rect;           // bar coordinates
  bool Visible = false;  // false for buttons that do not fit in the single row
};
// At 96 dpi buttons are text width + 10 wide and bar height − 1 high. Left to right they start at
// TileLeftMenu + 4 (5 without an entry); right to left they run leftwards from TileRightMenu + 8
// from the right, TileRightMenu + 12 when the bar is narrower than the buttons together, 6
// without an entry. One row, no wrapping: a button that would cross the bar's far end is hidden,
// and so are all after it (the bar keeps the one-line height the client area was computed with).
std::vector<TMenuButtonPlace> LayoutMenuBar(const TMenuBarInput& in);
// Menu-bar background: frame 1 active, 2 inactive (stacked); tiled when TileMenu is 1, else
// stretched between TileLeftMenu and TileRightMenu. Without an entry, filled with `fill`.
void RenderMenuBarBackground(TBitmap32& target, const TRectI& bar, const TDataSkinObject* entry,
                             bool active, TPixel fill);

// An owner-drawn system-menu item's size: text + 26 (+ the MenuItem entry's LeftWidth) wide,
// text + 4 high (separators 8), + 4 wider on Windows 9x; the margins scale with the DPI.
TSizeI SystemMenuItemSize(int32_t textWidth, int32_t textHeight, bool separator,
                          const TDataSkinObject* menuItem, bool windows9x, int32_t dpi = kDesignDpi);

// The four border strips of a popup menu window (top, bottom, left, right), 3 pixels thick at 96
// dpi, clipped to the window; copied from the rendered MenuBackground.
std::array<TRectI, 4> PopupMenuBorderRects(int32_t width, int32_t height, int32_t dpi = kDesignDpi);

// ---- The whole frame ------------------------------------------------------------------------
//
// A window at another DPI than 96 is laid out and drawn with the skin scaled to its DPI
// (TScaledSkins::At): every size below is then in the window's own pixels (the caption text
// measured in the caption font of that DPI, the menu-bar height and the icon of that DPI).

struct TFrameInput {
  int32_t Width = 0;   // window size
  int32_t Height = 0;
  uint32_t Style = 0;      // as found at attach time (before the caption was stripped)
  uint32_t ExStyle = 0;
  bool HasSystemMenu = false;  // a system menu exists (WS_SYSMENU or a menu handle)
  bool Active = true;
  TPlacement Placement = TPlacement::Normal;
  TWindowKind Kind = TWindowKind::Other;
  int32_t MenuBarHeight = 0;    // 0 without a skinned menu bar
  bool MdiMaximizedChild = false;
  int32_t CaptionTextWidth = 0;   // measured "  caption " in the caption font
  int32_t CaptionTextHeight = 0;
  const TBitmap32* Icon = nullptr;  // small icon, magenta background (Action 3/11 buttons)
  // Caption-button index (into skin.CaptionButtons) that is hot or pressed; -1 for none.
  int32_t HotButton = -1;
  int32_t PressedButton = -1;
  // Popup windows: see TCaptionTextInput::RightmostButtonLeft; when unset the positions of this
  // layout are used.
  std::optional<int32_t> PreviousRightmostButtonLeft;
};

struct TPlacedButton {
  int32_t Index = 0;      // into skin.CaptionButtons
  TRectI Rect;            // window coordinates
  bool Visible = false;
  bool InMenuBar = false; // Align 100: painted by the menu bar
  int32_t Frame = 1;
  TButtonImage Image;
};

struct TFrameLayout {
  TBorderKind Border = TBorderKind::Single;
  TFrameThickness Thickness;
  TRectI CaptionStrip;  // (0, 0, width, top)
  TRectI MenuBar;       // empty without a menu bar
  TCaptionTextLayout Text;
  std::vector<TPlacedButton> Buttons;
  // Left edge of the visible Align 1 button furthest right (for the next paint of a popup).
  std::optional<int32_t> RightmostButtonLeft;
};
TFrameLayout LayoutFrame(const TSkinObjects& skin, const TFrameInput& in);

// Draws the caption strip (Top side between the left and right widths, TextBack, the visible
// caption buttons except those in the menu bar, magenta transparent) over `target`, which holds
// the window's pixels at window coordinates; nothing is drawn below the strip. The caption text
// itself is not drawn.
void ComposeCaptionStrip(TBitmap32& target, const TSkinObjects& skin, const TFrameLayout& layout,
                         const TFrameInput& in);
// The whole non-client area in window coordinates: Left, Right, Bottom, the caption strip, the
// menu-bar background (with `menuFill` without a menu-bar entry) and its Align 100 buttons. The
// client area is left as it was. Side frames: 1 when active or single-framed, else 2. Nothing
// for a captionless popup.
void ComposeFrame(TBitmap32& target, const TSkinObjects& skin, const TFrameLayout& layout,
                  const TFrameInput& in, TPixel menuFill = MakePixel(0xF0, 0xF0, 0xF0));
// The same for the part of the window that `target` holds, whose pixel (0, 0) is the window's
// pixel `origin`: a frame composed side by side costs the area of its sides, not the window's.
void ComposeFrame(TBitmap32& target, TPointI origin, const TSkinObjects& skin, const TFrameLayout& layout,
                  const TFrameInput& in, TPixel menuFill = MakePixel(0xF0, 0xF0, 0xF0));

// The window region as rectangles: the whole window when no side has Trans 1; otherwise the
// interior plus, per side, its rendered (active-frame) pixels without magenta or its plain
// rectangle, by the Trans/height rules. `captionStrip`, when given, is the composed window
// bitmap whose top strip gives the Top side's shape. A captionless popup gives the whole window.
std::vector<TRectI> FrameRegion(const TSkinObjects& skin, const TFrameLayout& layout,
                                const TFrameInput& in, const TBitmap32* composed = nullptr);

}  // namespace zelvo
