// Menu shortcuts: a key with its modifiers in one number, and the text a menu shows for it.
// Portable: the key is the platform's virtual-key code, whose values are fixed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvo {

// Virtual-key code in the low byte; modifier bits above it. 0 is "no shortcut".
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

constexpr TShortCut MakeShortCut(uint8_t key, TShortCut modifiers = 0) {
  return static_cast<TShortCut>(key | (modifiers & (scShift | scCtrl | scAlt)));
}

// The text a menu shows for a shortcut, modifiers first in the order Shift, Ctrl, Alt:
// "Shift+F4", "Ctrl+S", "Ctrl+Alt+Del". Empty for 0 and for keys that have no name here
// (a modifier without a named key shows nothing either).
std::string ShortCutToText(TShortCut shortCut);

// The accelerator a caption marks with "&" (upper case), or 0: the character after the first
// single "&" ("&&" stands for an ampersand shown as such).
char AcceleratorChar(std::string_view caption);

}  // namespace zelvo
