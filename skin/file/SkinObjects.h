// The in-memory skin: the pieces a skin description and its bitmaps turn into, the colour table,
// and the built-in class-name mapping for foreign controls. Portable: images are TBitmap32; the
// Windows skin component turns them into GDI bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Types.h"
#include "skin/file/Bmp.h"

namespace zelvo {

// Colour string: decimal red, green and blue separated by anything that is not a digit, e.g.
// "10 20 30". A number still open at the end counts only as the third component; missing
// components are 0; each component keeps its low 8 bits.
TColor ParseColourString(std::string_view text);

// One piece of a skin: an image cut nine ways (fixed edges, stretched or tiled middle) holding
// FrameCount state frames, with optional per-state text colours.
class TDataSkinObject {
 public:
  TDataSkinObject() = default;
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = default;
  TDataSkinObject& operator=(const TDataSkinObject&) = default;
  TDataSkinObject(TDataSkinObject&&) noexcept = default;
  TDataSkinObject& operator=(TDataSkinObject&&) noexcept = default;

  int32_t LeftWidth = 0;
  int32_t TopHeight = 0;
  int32_t RightWidth = 0;
  int32_t BottomHeight = 0;
  TBitmap32 Image;
  int32_t Trans = 0;   // nonzero: magenta pixels are transparent
  int32_t Tile = 0;    // 1 tile the middle, 0 stretch; frame sides: 1 stretch, other values tile
  std::string Name;    // section or key it came from
  int32_t FrameCount = 0;
  int32_t Style = 0;
  int32_t NormalColour = -1;
  int32_t MouseOverColour = -1;
  int32_t PressedColour = -1;
  TColor NormalColour2 = SystemColour(syscolour::BtnText);
  TColor MouseOverColour2 = SystemColour(syscolour::BtnText);
  TColor PressedColour2 = SystemColour(syscolour::BtnText);
};

// A piece with a second image: window-frame sides, tab page border, progress chunk, up-down
// glyphs, the mirrored combo button.
class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap32 Image2;
};

// Push buttons, plus the check-box and radio-button images.
class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap32 CheckImage;
  TBitmap32 RadioImage;
  int32_t RadioButtonFrame = 0;
  int32_t CheckButtonFrame = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

// Caption text settings. Three of them live in the base's slicing slots and the text background
// image in its Image; the accessors give them their own names.
class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t& TextShift() { return LeftWidth; }
  int32_t TextShift() const { return LeftWidth; }
  int32_t& TextShiftVert() { return TopHeight; }
  int32_t TextShiftVert() const { return TopHeight; }
  int32_t& TextRightClip() { return RightWidth; }
  int32_t TextRightClip() const { return RightWidth; }
  TBitmap32& TextBack() { return Image; }
  const TBitmap32& TextBack() const { return Image; }

  int32_t TextAlignment = 0;  // 0 left, 1 centred, 2 right
  int32_t Textbackground = 0;
  int32_t FontHeight = 14;
  int32_t TXTBackleft = 0;
  int32_t TXTBackRight = 0;
  TColor ActiveTextColour = clNone;
  TColor InactiveTextColour = clNone;
};

// One caption (title-bar) button.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t Action = 0;
  int32_t Align = 0;
  int32_t Xcoord = 0;
  int32_t Ycoord = 0;
  int32_t CombineOp = -1;
  int32_t Visibility = 0;
  int32_t Visibility1 = 0;
};

// Group-box caption piece.
class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  int32_t BackgroundLeftShift = 0;
  int32_t BackgroundRightShift = 0;
  int32_t BackgroundAlignment = 0;
};

// The [Colours] table.
struct TSkinColours {
  TColor WindowText = SystemColour(syscolour::WindowText);
  TColor ButtonFace = SystemColour(syscolour::BtnFace);
  TColor Scrollbar = SystemColour(syscolour::Scrollbar);
  TColor HilightText = SystemColour(syscolour::HighlightText);
  TColor Hilight = SystemColour(syscolour::Highlight);
  TColor Menubar = SystemColour(syscolour::BtnFace);
  TColor Menu = SystemColour(syscolour::Menu);
  TColor MenuText = SystemColour(syscolour::MenuText);
  TColor ButtonText = SystemColour(syscolour::BtnText);
  TColor ButtonHilight = SystemColour(syscolour::BtnHighlight);
  TColor Buttonlight = SystemColour(syscolour::BtnHighlight);
  TColor ButtonShadow = SystemColour(syscolour::BtnShadow);
  TColor ButtonDkShadow = SystemColour(syscolour::DkShadow3D);
  TColor MenuBarText = SystemColour(syscolour::MenuText);
  TColor TitleTextActive = SystemColour(syscolour::CaptionText);
  TColor TitleTextNoActive = SystemColour(syscolour::InactiveCaptionText);
};

// A bitmap the description names but that could not be used (for the inspect tool and tests).
struct TSkinImageProblem {
  std::string Section;
  std::string Key;
  std::string Value;   // as written in the description
  std::string Reason;
};

// Everything one skin consists of. Entries held by pointer are absent when their section lacks
// its image key; the frame sides, Title and Buttons always exist.
class TSkinObjects {
 public:
  TSkinObjects();
  TSkinObjects(TSkinObjects&&) noexcept = default;
  TSkinObjects& operator=(TSkinObjects&&) noexcept = default;

  std::string SkinName;
  TDataSkinBorder Left{"Left"}, Right{"Right"}, Top{"Top"}, Bottom{"Bottom"};
  TDataSkinTitle Title{"Title"};
  TDataSkinButton Buttons{"Buttons"};
  std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;

  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinObject> Toolbars;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft,
      TrackbarThumbRight, TrackbarThumbUp, TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;
  std::unique_ptr<TDataSkinBorder> UpDownVert;

  TSkinColours Colours;
  std::vector<TColor> ExtraColours;

  // Named bitmaps the description refers to that are missing, badly named or unreadable.
  std::vector<TSkinImageProblem> ImageProblems;
  // Other things worth telling a skin author (sections ignored beyond the limits).
  std::vector<std::string> Warnings;
  // Name of the description entry the skin was parsed from.
  std::string DescriptionName;
  // Bytes of pixel storage the skin's images hold, each shared bitmap counted once.
  size_t ImageBytes = 0;

  // Each optional entry with its description-file section name, in loading order (absent ones
  // give a null pointer). For tools and tests that walk the whole skin.
  struct TEntryRef {
    const char* Section;
    const TDataSkinObject* Object;
  };
  std::vector<TEntryRef> OptionalEntries() const;
};

// The built-in list of foreign control classes and their skinning kinds ("class=kind", 80 lines),
// and the 95-line list the main window stores in place of it.
const std::vector<std::string>& BuiltinSkin3rd();
const std::vector<std::string>& MainFormSkin3rd();

}  // namespace zelvo
