// What a form's keyboard handling decides without a window: what a key message aimed at the
// form does (Tab, Enter, Escape, accelerators), given what the focused control asks to receive
// itself, and where Tab lands in the tab order. The form carries the decision out.
// Portable: key codes and dialog codes are the platform's values, which are fixed (the Windows
// layer checks them against its own headers).
#pragma once

#include <cstdint>

namespace zelvo {

enum class TKeyMessage : uint8_t { KeyDown, Char, SysChar, Other };

// Keys the decision looks at (virtual-key codes).
inline constexpr uint32_t kKeyTab = 0x09, kKeyReturn = 0x0D, kKeyEscape = 0x1B;
// What the focused control answers to the dialog-code query. "Wants the message" and "wants all
// keys" are one bit.
inline constexpr uint32_t kWantsTab = 0x0002, kWantsMessage = 0x0004, kWantsChars = 0x0080;

struct TDialogKey {
  TKeyMessage message = TKeyMessage::Other;
  uint32_t key = 0;         // virtual-key code (KeyDown) or character code (Char, SysChar)
  bool shift = false, ctrl = false, alt = false;
  uint32_t dialogCode = 0;  // the focused control's answer; 0 when no window has the focus
  bool focusedIsButton = false;
};

enum class TDialogKeyAction : uint8_t {
  PassOn,         // no dialog key: the message goes to the focused control
  FocusNext,      // Tab
  FocusPrevious,  // Shift+Tab
  ClickFocused,   // Enter on a focused button
  ClickDefault,   // Enter elsewhere: the default button, when the form has one
  ClickCancel,    // Escape: the cancel button, when the form has one
  Accelerator,    // a character that may be a control's accelerator, when one has it
};

TDialogKeyAction DialogKeyAction(const TDialogKey& key);

// The position in a tab order of `count` controls that the `step`th move (1, 2, ...) from
// position `from` reaches, wrapping round. With no start (`from` -1) the first move lands on the
// first control, or going backwards on the last.
int TabPosition(int count, int from, int step, bool forward);

}  // namespace zelvo
