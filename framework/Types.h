// Framework types with no platform dependency: colours, modal results, form styles and image-button
// kinds.
// Portable code (settings, dialog layout, the skin's objects) and the Windows layer share these,
// so there is exactly one colour type and one "no colour".
#pragma once

#include <cstdint>

namespace zelvo {

// A colour: red in the low byte, then green, then blue. A system colour is FF000000 plus the
// platform's system-colour index and is resolved only when drawing.
using TColor = uint32_t;

inline constexpr TColor kSystemColorFlag = 0xFF000000u;
// "No colour set": neither an RGB value nor a system colour.
inline constexpr TColor clNone = 0x1FFFFFFFu;

// The platform's system-colour indices (fixed values; the Windows layer checks them against its
// own headers).
namespace syscolour {
inline constexpr int Scrollbar = 0, Menu = 4, Window = 5, MenuText = 7, WindowText = 8, CaptionText = 9,
                     Highlight = 13, HighlightText = 14, BtnFace = 15, BtnShadow = 16, GrayText = 17,
                     BtnText = 18, InactiveCaptionText = 19, BtnHighlight = 20, DkShadow3D = 21;
}

constexpr TColor SystemColour(int index) { return kSystemColorFlag | static_cast<TColor>(index & 0xFF); }
constexpr bool IsSystemColour(TColor c) { return (c & kSystemColorFlag) == kSystemColorFlag; }
constexpr int SystemColourIndex(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr TColor RgbColour(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

inline constexpr TColor clBtnFace = SystemColour(syscolour::BtnFace);
inline constexpr TColor clWindow = SystemColour(syscolour::Window);
inline constexpr TColor clWindowText = SystemColour(syscolour::WindowText);
inline constexpr TColor clBtnText = SystemColour(syscolour::BtnText);
inline constexpr TColor clGrayText = SystemColour(syscolour::GrayText);
inline constexpr TColor clHighlight = SystemColour(syscolour::Highlight);
inline constexpr TColor clHighlightText = SystemColour(syscolour::HighlightText);

// Modal results: what a modal form or message dialog ended with.
enum : int32_t {
  mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
  mrAll = 8, mrNoToAll = 9, mrYesToAll = 10
};

// A form's frame, caption buttons and first position on the screen.
enum class TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TPosition : uint8_t { poDesigned, poScreenCenter, poMainFormCenter };

// Image-button kinds; bkCustom is the plain kind with no standard glyph.
enum class TBitBtnKind : uint8_t { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

}  // namespace zelvo
