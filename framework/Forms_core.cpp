#include "framework/Forms_core.h"

namespace zelvo {

TDialogKeyAction DialogKeyAction(const TDialogKey& k) {
  if (k.dialogCode & kWantsMessage) return TDialogKeyAction::PassOn;
  switch (k.message) {
    case TKeyMessage::KeyDown:
      switch (k.key) {
        case kKeyTab:
          if (k.ctrl || k.alt || (k.dialogCode & kWantsTab)) return TDialogKeyAction::PassOn;
          return k.shift ? TDialogKeyAction::FocusPrevious : TDialogKeyAction::FocusNext;
        case kKeyReturn:
          return k.focusedIsButton ? TDialogKeyAction::ClickFocused : TDialogKeyAction::ClickDefault;
        case kKeyEscape:
          return TDialogKeyAction::ClickCancel;
        default:
          return TDialogKeyAction::PassOn;
      }
    case TKeyMessage::Char:
      // A control that takes characters keeps them; with Alt (SysChar) they are accelerators.
      if (k.dialogCode & kWantsChars) return TDialogKeyAction::PassOn;
      [[fallthrough]];
    case TKeyMessage::SysChar:
      return k.key > ' ' ? TDialogKeyAction::Accelerator : TDialogKeyAction::PassOn;
    case TKeyMessage::Other:
      break;
  }
  return TDialogKeyAction::PassOn;
}

int TabPosition(int count, int from, int step, bool forward) {
  if (from < 0) return forward ? step - 1 : count - step;
  return ((from + (forward ? step : -step)) % count + count) % count;
}

}  // namespace zelvo
