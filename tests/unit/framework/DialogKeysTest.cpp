// A form's dialog keys decided without a window: which key message does what, given the
// focused control's dialog code and kind; and where Tab lands in a tab order.
#include <gtest/gtest.h>

#include "framework/Forms_core.h"

using namespace zelvo;

namespace {
using A = TDialogKeyAction;
using M = TKeyMessage;
constexpr uint32_t kKeyLeft = 0x25, kKeyF4 = 0x73;

struct Mods {
  bool shift = false, ctrl = false, alt = false;
};

TDialogKey Key(M message, uint32_t key, uint32_t dialogCode = 0, bool button = false, Mods mods = {}) {
  TDialogKey k;
  k.message = message;
  k.key = key;
  k.shift = mods.shift;
  k.ctrl = mods.ctrl;
  k.alt = mods.alt;
  k.dialogCode = dialogCode;
  k.focusedIsButton = button;
  return k;
}
}  // namespace

TEST(DialogKeys, EachKeyMessageGetsItsAction) {
  constexpr uint32_t kEditCode = 0x0001 | kWantsChars;  // arrows and characters, as an edit answers
  struct Case {
    TDialogKey key;
    A action;
    const char* what;
  } cases[] = {
      {Key(M::KeyDown, kKeyTab, kEditCode), A::FocusNext, "Tab"},
      {Key(M::KeyDown, kKeyTab, kEditCode, false, {.shift = true}), A::FocusPrevious, "Shift+Tab"},
      {Key(M::KeyDown, kKeyTab, kEditCode, false, {.ctrl = true}), A::PassOn, "Ctrl+Tab belongs to the control"},
      {Key(M::KeyDown, kKeyTab, 0, false, {.alt = true}), A::PassOn, "Alt+Tab"},
      {Key(M::KeyDown, kKeyTab, kWantsTab), A::PassOn, "a control that takes Tab"},
      {Key(M::KeyDown, kKeyTab, 0), A::FocusNext, "Tab with nothing focused"},
      {Key(M::KeyDown, kKeyReturn, kEditCode), A::ClickDefault, "Enter in an edit"},
      {Key(M::KeyDown, kKeyReturn, 0, true), A::ClickFocused, "Enter on a button presses that button"},
      {Key(M::KeyDown, kKeyReturn, kWantsTab, false), A::ClickDefault, "wanting Tab is not wanting Enter"},
      {Key(M::KeyDown, kKeyReturn, kWantsMessage | kWantsChars), A::PassOn, "a memo that takes Enter"},
      {Key(M::KeyDown, kKeyEscape, kEditCode), A::ClickCancel, "Escape"},
      {Key(M::KeyDown, kKeyEscape, 0, true), A::ClickCancel, "Escape on a button still cancels"},
      {Key(M::KeyDown, kKeyEscape, kWantsMessage), A::PassOn, "a control that takes every key"},
      {Key(M::KeyDown, kKeyLeft, kEditCode), A::PassOn, "arrows go to the control"},
      {Key(M::KeyDown, kKeyF4, 0, false, {.alt = true}), A::PassOn, "Alt+F4"},
      {Key(M::Other, kKeyTab), A::PassOn, "a key release or system key"},
      {Key(M::Other, kKeyReturn, 0, true), A::PassOn, "a key release on a button"},
      {Key(M::Char, 'n', 0), A::Accelerator, "a character where no control takes characters"},
      {Key(M::Char, 'n', kEditCode), A::PassOn, "typing into an edit"},
      {Key(M::SysChar, 'n', kEditCode), A::Accelerator, "Alt+letter even in an edit"},
      {Key(M::SysChar, 'n', kWantsMessage), A::PassOn, "unless the control takes every key"},
      {Key(M::Char, '!', 0), A::Accelerator, "the first character above the space"},
      {Key(M::Char, ' ', 0), A::PassOn, "the space is no accelerator"},
      {Key(M::SysChar, '\r', 0), A::PassOn, "nor is a control character"},
  };
  for (const Case& c : cases) EXPECT_EQ(DialogKeyAction(c.key), c.action) << c.what;
}

TEST(DialogKeys, TabWrapsRoundAndStartsAtAnEnd) {
  EXPECT_EQ(TabPosition(4, -1, 1, true), 0) << "nothing focused: the first";
  EXPECT_EQ(TabPosition(4, -1, 1, false), 3) << "backwards from nothing: the last";
  EXPECT_EQ(TabPosition(4, -1, 4, false), 0);
  EXPECT_EQ(TabPosition(4, 3, 1, true), 0);
  EXPECT_EQ(TabPosition(4, 0, 1, false), 3);
  EXPECT_EQ(TabPosition(4, 1, 3, false), 2);
  EXPECT_EQ(TabPosition(4, 1, 4, true), 1) << "a full round comes back";
  EXPECT_EQ(TabPosition(1, 0, 1, false), 0);
}
