// The rules behind the skinned controls, free of any window code: which control skin a component
// or a foreign child window gets, and the geometry and state arithmetic the control skins draw
// with (frames by state, text colours, the bitmap-button layout, check boxes, combo boxes, edits,
// group boxes, progress bars and scroll bars). The Windows control skins ask these functions and
// then only draw text and copy bitmaps.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ButtonLayout_core.h"
#include "skin/file/SkinControlTypes.h"
#include "skin/file/SkinObjects.h"

namespace zelvo {

// a * b / c rounded to the nearest integer, halves away from zero, computed in 64 bits; -1 when c
// is 0 (the platform's MulDiv).
int SkinMulDiv(int a, int b, int c);

// ---------------------------------------------------------------------------------------------
// Geometry


// ---------------------------------------------------------------------------------------------
// Which kinds of control the skin draws. The same members, in the same order, as the skin
// component's SkinControls set, so the component's bit set converts directly (FromBits).
// ---------------------------------------------------------------------------------------------
// The control skins.
enum class ControlSkinClass : uint8_t {
  None,
  TSkinButton, TSkinBitButton, TSkinSpeedButton, TSkinCheckBox, TSkinRadioButton, TSkinComBox,
  TSkinEdit, TSkinUpDown, TSkinGroupBox, TSkinBox, TSkinStatusBar, TSkinTab, TSkinTab31,
  TSkinProgress, TSkinTrackBar, TSkinHeader, TSkinScrollbar, TSkinScControl, TSkinListView,
  TSkinSizer
};
const char* ControlSkinClassName(ControlSkinClass c);

// What a component is, by inheritance (a memo is also an edit, a bitmap button also a push
// button, and so on: the caller sets every kind the component's class derives from).
enum class ComponentKind : uint32_t {
  WinControl = 1u << 0,    // a windowed control (it has or can get a window handle)
  Edit = 1u << 1,
  Memo = 1u << 2,
  ComboBox = 1u << 3,
  RadioGroup = 1u << 4,
  GroupBox = 1u << 5,
  RadioButton = 1u << 6,
  CheckBox = 1u << 7,
  PushButton = 1u << 8,
  BitButton = 1u << 9,
  SpeedButton = 1u << 10,
  EmbeddedForm = 1u << 11,
  PopupMenu = 1u << 12,
};
constexpr uint32_t operator|(ComponentKind a, ComponentKind b) {
  return static_cast<uint32_t>(a) | static_cast<uint32_t>(b);
}
constexpr uint32_t operator|(uint32_t a, ComponentKind b) { return a | static_cast<uint32_t>(b); }

// One component of a framework form, as the choice sees it.
struct ComponentDescription {
  std::string ClassName;  // any case; compared upper-cased
  uint32_t Kinds = 0;     // ComponentKind bits
  int32_t Tag = 0;
  bool HasHandle = false;  // the window handle exists already
  bool GetsHandle = true;  // creating the missing handle succeeds (see NeedsHandleCreation)
  bool DateTimeKindTime = false;  // a date-time picker showing a time
  bool Has(ComponentKind k) const { return (Kinds & static_cast<uint32_t>(k)) != 0; }
};

// The form being walked and the skin settings.
struct ControlChoiceSettings {
  TSkinControlTypes SkinControls = kDefaultSkinControls;
  int32_t DisableTag = 99;
  const std::vector<std::string>* Skin3rd = nullptr;  // none: no mapping
  bool SkinHasTabs = false;                           // the skin's Tabs entry exists
  std::string FormName;
  std::string FormClassName;
};

// What the walk knows about the component besides its description.
struct ControlChoiceState {
  bool AlreadyCovered = false;     // a control skin of this form has the component or its handle
  bool HandlerSuppliedSkin = false;  // OnSkinControl is assigned and returned a control-skin object
};

enum class ControlChoiceAction : uint8_t {
  Skip,           // exempt by Tag, already covered, or no window handle: nothing at all
  UseSupplied,    // attach the object the OnSkinControl handler returned, nothing else
  WalkChildren,   // only the component's children are walked
  WalkPages,      // the tabbed notebook's pages are walked
  Skin,           // attach the control skin (see the fields of the choice)
  OwnerDrawMenu,  // a popup menu: owner-drawn, its items get the skin's menu handlers
  Native,         // the choice ended without a skin
};

// Which rule decided (for traces and tests).
enum class ControlChoiceRule : uint8_t {
  DisabledTag, Covered, NoHandle, Handler, ChildrenOnly, Skin3rd, TabSet, Builtin, PopupMenu, NoRule
};

struct ControlSkinChoice {
  ControlChoiceAction Action = ControlChoiceAction::Native;
  ControlChoiceRule Rule = ControlChoiceRule::NoRule;
  ControlSkinClass Skin = ControlSkinClass::None;
  bool Recolour = false;       // the control's colour becomes ButtonFace while skinned
  bool ByHandle = false;       // attach by window handle instead of the handler chain
  bool ThumbDragging = false;  // scroll-bar skins: the skin drags the thumb itself
  // Each child control of the component gets this skin before the component gets its own.
  ControlSkinClass ChildSkin = ControlSkinClass::None;
  // The component's children are walked after it got its skin (group boxes, embedded forms).
  bool WalkChildrenAfter = false;
  // A published property to set to "True" before attaching (only when the component has it and
  // it is of an enumeration type): "Flat" or "Transparent"; empty for none.
  std::string SetTrueProperty;
  // The Skin3rd kind that matched (lower-cased, at most 50 characters).
  std::string Skin3rdKind;
};

// Whether the walk must create the component's window handle before asking ChooseControlSkin:
// a windowed control without one that is not exempt by its Tag, not covered, and not on a preview
// form (where such a control counts as covered).
bool NeedsHandleCreation(const ComponentDescription& c, const ControlChoiceSettings& s,
                         const ControlChoiceState& state);

// The skin for one component of a framework form; the first rule that applies decides. Besides
// the classes the skin knows by name and kind, a plain check box of the framework gets
// TSkinCheckBox (tried right after radio buttons, which derive from check boxes). Popup menus
// are owner-drawn only when both menu switches are on.
ControlSkinChoice ChooseControlSkin(const ComponentDescription& c, const ControlChoiceSettings& s,
                                    const ControlChoiceState& state);

// The kind the Skin3rd lines give a class ("class=kind"; the first line beginning with the
// lower-cased class name and "=" wins; the kind is lower-cased and cut to 50 characters), or
// nothing when no line names the class.
std::optional<std::string> Skin3rdKind(const std::vector<std::string>& lines, std::string_view className);

// Whether a form's controls without a window handle count as covered (print-preview forms).
bool IsPreviewForm(std::string_view formName, std::string_view formClassName);

// A child window of a foreign window.
struct ForeignChildDescription {
  std::string WindowClass;  // any case; compared lower-cased
  uint32_t Style = 0;
};
enum class ForeignChildAction : uint8_t {
  Leave,         // native
  Skin,          // the window gets `Skin` by handle
  SkinFirstChild // the window's first child window gets `Skin` by handle
};
struct ForeignChildChoice {
  ForeignChildAction Action = ForeignChildAction::Leave;
  ControlSkinClass Skin = ControlSkinClass::None;
  constexpr bool operator==(const ForeignChildChoice&) const = default;
};
ForeignChildChoice ChooseForeignChildSkin(const ForeignChildDescription& w);

// Window classes of the up-down companion an edit skin hands a TSkinUpDown (any case).
bool IsUpDownCompanionClass(std::string_view windowClass);

// ---------------------------------------------------------------------------------------------
// Push buttons and bitmap buttons

// Frame of a five-frame button image (also the combo button's state): 1 normal, 2 pressed,
// 3 disabled, 4 focused or hot. Disabled wins over everything, pressed over focus and hover.
int ButtonFrame(const ControlState& st);

// Caption colour of a skinned push button for a frame: NormalColour2 / PressedColour2 /
// MouseOverColour2 for frames 1 / 2 / 4, the skin's ButtonShadow when disabled.
TColor PushButtonTextColour(const TDataSkinButton& buttons, const TSkinColours& colours, int frame);
// Caption colour of a skinned bitmap button: the button's own font colour unless the skin defines
// the colour of that state; the skin's ButtonShadow when disabled.
TColor BitButtonTextColour(const TDataSkinButton& buttons, const TSkinColours& colours, int frame,
                           TColor fontColour);


// ---------------------------------------------------------------------------------------------
// Check boxes and radio buttons

enum class CheckState : uint8_t { Unchecked, Checked, Indeterminate };
// 1 unchecked, 2 checked, 3 unchecked and disabled, 4 checked and disabled, or indeterminate.
int CheckBoxFrame(CheckState state, bool enabled);
// The "Checked" property's text means checked when it is "true" in any case.
bool CheckedFromPropertyText(std::string_view text);

struct CheckBoxGeometry {
  TRectI Strip;  // filled with ButtonFace
  TRectI Image;  // where the frame of the check or radio image goes
};
// The box of a check box or radio button of size w x h: a strip menu-check width + 3 wide at the
// left (at the right for a right-button style); the image of one frame is vertically centred in
// it, and one narrower than 15 pixels is centred in a 14-pixel cell at that edge.
CheckBoxGeometry LayoutCheckBox(int w, int h, int menuCheckWidth, TSizeI cell, bool rightButton);

// ---------------------------------------------------------------------------------------------
// Combo boxes

struct ComboInput {
  int Width = 0, Height = 0;   // window size
  int Edge = 2;                // the sunken edge's thickness
  int ButtonWidth = 0;         // SM_CXHSCROLL (standard style) or SM_CYVTHUMB (flat style)
  bool LeftScrollBar = false;  // WS_EX_LEFTSCROLLBAR: the button at the left, mirrored image
  bool Flat = false;           // the ComboButton entry's Style 1
};
struct ComboGeometry {
  TRectI Text;         // left to the control (not painted by the skin)
  TRectI Button;       // the ComboButton frame goes here
  bool Mirrored = false; // use the mirrored ComboButton image
  // Flat style: a one-pixel ButtonShadow frame around the whole control, the ring inside it
  // wiped with ButtonFace; empty for the standard style.
  TRectI OuterFrame;
  TRectI InsetFrame;
};
ComboGeometry LayoutCombo(const ComboInput& in);

// ---------------------------------------------------------------------------------------------
// Edits and group boxes

// An edit's two-pixel border is drawn only over a real border: the window at least 2 pixels
// wider and higher than its client area.
bool EditBorderDrawn(int windowW, int windowH, int clientW, int clientH);

struct GroupBoxGeometry {
  TRectI Wipe1, Wipe2;  // the native frame, wiped with two ButtonFace frame lines
  TRectI Frame;         // the rounded rectangle (corner 5 x 5), one-pixel ButtonShadow pen
  TRectI Caption;       // caption on a ButtonFace background; empty without caption
};
inline constexpr int kGroupBoxCorner = 5;
inline constexpr int kGroupBoxCaptionLeft = 9;
// zeroHeight: height of the text "0" in the control's font; caption: the measured caption.
GroupBoxGeometry LayoutGroupBox(int w, int h, int zeroHeight, TSizeI caption);

// ---------------------------------------------------------------------------------------------
// Progress bars

// Filled width: position x bar width / upper limit, within the bar; 0 unless both are positive.
int ProgressFillWidth(int position, int upperLimit, int barWidth);
// Style 1: left edges of the chunks covering the filled width (one more than fits), from
// LeftWidth; none when nothing is filled or the chunk has no width.
std::vector<int> ProgressChunkLefts(int fillWidth, int chunkWidth, int leftWidth);
// The chunks' top: vertically centred in the bar.
int ProgressChunkTop(int barHeight, int chunkHeight);
// The filled part of a bar of w x h: from the left, or from the bottom for a vertical bar (the
// fill arithmetic then runs along the height). Empty when nothing is filled.
TRectI ProgressFillRect(int w, int h, int position, int upperLimit, bool vertical);

// ---------------------------------------------------------------------------------------------
// Up-down buttons

struct UpDownGeometry {
  TRectI First;   // up (vertical) or left (horizontal)
  TRectI Second;  // down or right
};
// The two halves of the control; the second takes the odd pixel.
UpDownGeometry LayoutUpDown(int w, int h, bool horizontal);
// Frame of the eight-frame up-down image: the first button's normal, pressed, hot and disabled
// looks (1 to 4), then the second's (5 to 8). Disabled wins, then pressed, then hot.
int UpDownFrame(bool second, bool enabled, bool pressed, bool hot);

// ---------------------------------------------------------------------------------------------
// Scroll bars

inline constexpr int kScrollComposeThickness = 16;  // bars are composed this thick, then stretched
inline constexpr int kScrollPaintLimit = 10000;     // larger controls are left unpainted

struct ScrollInfo {
  int Min = 0, Max = 0;  // inclusive range
  int Page = 0;          // 0: no page size
  int Pos = 0;
};

// The parts of one bar along its length (offsets from the bar's start).
struct ScrollBarParts {
  int Length = 0;
  int ArrowLength = 0;             // each arrow button
  int TrackStart = 0, TrackEnd = 0;  // between the arrows
  bool HasThumb = false;
  int ThumbStart = 0, ThumbEnd = 0;  // equal to TrackStart without a thumb
  int Usable() const { return (TrackEnd - TrackStart) - (ThumbEnd - ThumbStart); }
  constexpr bool operator==(const ScrollBarParts&) const = default;
};
// arrowLength: SM_CXHSCROLL (halved when the bar is shorter than two arrows); minThumb: the
// shortest thumb. A thumb exists when the page is smaller than the range and it fits the track.
ScrollBarParts LayoutScrollBar(int length, int arrowLength, int minThumb, const ScrollInfo& si);

enum class ScrollHit : uint8_t { LineUp, PageUp, Thumb, PageDown, LineDown };
// Where a point `along` the bar lies (without a thumb the whole track is page down).
ScrollHit ClassifyScrollPoint(const ScrollBarParts& parts, int along);
const char* ScrollHitTraceName(ScrollHit hit);  // " SB_LINEUp", ...

// Frames of the 23-frame arrow image: left 1, right 5, up 9, down 13, each one more while held.
int ScrollArrowFrame(bool horizontal, bool second, bool held);

// The position a thumb dragged to `offset` (start offset + cursor movement) stands for:
// minimum + offset x (maximum - minimum) / usable length, clamped to [minimum, maximum - page + 1]
// with a page size, else [minimum, maximum]. Nothing when the usable length or the range is 0.
std::optional<int> ThumbDragPosition(int startOffset, int cursorDelta, int usableLength, const ScrollInfo& si);

}  // namespace zelvo
